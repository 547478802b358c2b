#include "TF_SearchCustomerPos.h"
#include "TCodeLookupEdit.h"
#include "TFaGet.h"
#include "TFaSelectAttr.h"
#include "services/TDM.h"

TF_SearchCustomerPos::TF_SearchCustomerPos(QWidget *parent) : TF_SearchCustomer(parent)
{
    setWindowTitle(offlineTitle());
}

void TF_SearchCustomerPos::setHeadConnection(Connection *head)
{
    m_head = head;
    setWindowTitle(head ? onlineTitle() : offlineTitle());
    // The salesman, province and attribute filters name head-office rows when online.
    EdSalesman->setConnection(head);
    FaProvince->EdCode->setConnection(head);
    FaAttr->DataConnection = head;
}

Connection &TF_SearchCustomerPos::connection() { return m_head ? *m_head : TDM::instance()->DMDATA(); }
