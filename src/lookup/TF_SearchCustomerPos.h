#pragma once
#include "TF_SearchCustomer.h"

// The customer search run against the head-office database when it can be
// reached (online), otherwise against the company's (offline).
class TF_SearchCustomerPos : public TF_SearchCustomer
{
    Q_OBJECT
public:
    explicit TF_SearchCustomerPos(QWidget *parent = nullptr);
    // Null searches the company database.
    void setHeadConnection(Connection *head);
    bool isOnline() const { return m_head != nullptr; }

    static QString onlineTitle() { return QStringLiteral("ค้าหา รายชื่อลูกค้า/สมาชิก (Online สำนักงานใหญ่)"); }
    static QString offlineTitle() { return QStringLiteral("ค้าหา รายชื่อลูกค้า/สมาชิก (Offline)"); }

protected:
    Connection &connection() override;

private:
    Connection *m_head = nullptr;
};
