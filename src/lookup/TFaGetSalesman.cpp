#include "TFaGetSalesman.h"
#include "TCodeLookupEdit.h"
#include "TF_SearchSalesman.h"
#include "services/TDM.h"
#include "session/UserDialogs.h"
#include <QLabel>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QToolButton>

TFaGetSalesman::TFaGetSalesman(QWidget *parent) : TFaGetBase(parent)
{
    setCaption(QStringLiteral("รหัสพนักงานขาย"));
    setRequired(true);
    BtSearch->setToolTip(QStringLiteral("ค้นหารหัสพนักงานขาย"));
    EdCode->K_LookupTableName = QStringLiteral("Salesman");
    EdCode->K_LookupIDField = QStringLiteral("Id");
    EdCode->K_LookupEditField = QStringLiteral("Code");
    EdCode->K_DescriptionField = QStringLiteral("Name");
    EdCode->K_Filter = QStringLiteral("Status = 'Y'");
    EdCode->K_AllowNull = false;
}

TFaGetSalesman::~TFaGetSalesman() { delete m_search.data(); }

TF_SearchSalesman *TFaGetSalesman::searchDialog() const { return m_search; }

TFrSearch *TFaGetSalesman::createLookup()
{
    if (!m_search)
        m_search = new TF_SearchSalesman(window());
    return m_search;
}

bool TFaGetSalesman::checkOnExit(qint64 id)
{
    Salesman = {};
    QSqlQuery q = TDM::instance()->DMDATA().exec(
        QStringLiteral("Select Id, Code, Name, Surname, Department, Status, StartDate, StopDate, Address1, Address2, Address3, "
                       "Province, ZipCode, Phone, Fax, EMail From Salesman Where Id = :id"),
        {{QStringLiteral("id"), id}});
    if (!q.next())
        return false;
    auto t = [&q](const char *c) { return dbText(q.value(QLatin1String(c))); };
    Salesman.Id = q.value(QStringLiteral("Id")).toLongLong();
    Salesman.Code = t("Code").trimmed();
    Salesman.Name = t("Name");
    Salesman.Surname = t("Surname");
    Salesman.Department = q.value(QStringLiteral("Department")).toLongLong();
    Salesman.Status = t("Status").trimmed();
    Salesman.StartDate = q.value(QStringLiteral("StartDate")).toDate();
    Salesman.StopDate = q.value(QStringLiteral("StopDate")).toDate();
    Salesman.Address1 = t("Address1");
    Salesman.Address2 = t("Address2");
    Salesman.Address3 = t("Address3");
    Salesman.Province = q.value(QStringLiteral("Province")).toLongLong();
    Salesman.ZipCode = t("ZipCode");
    Salesman.Phone = t("Phone");
    Salesman.Fax = t("Fax");
    Salesman.EMail = t("EMail");
    // With its own filter the code box already refuses inactive salesmen.
    if (EdCode->K_Filter.trimmed().isEmpty() && Salesman.Status == QLatin1String("N")) {
        ShowMessage(QStringLiteral("พนักงานขาย ถูกระงับไปแล้ว  !"));
        Salesman = {};
        LbName->setText(QStringLiteral("-"));
        return false;
    }
    return true;
}
