#pragma once
#include "TFaGet.h"
#include <QSqlRecord>
#include <memory>

class Connection;
class TF_SearchCustomerPos;

// The customer selector frame. With the company setting UseCustomerLinkHead "Y"
// the search runs on the head office when it can be reached, and the chosen
// customer is copied into the company database before it is used.
class TFaGetCustomer : public TFaGetBase
{
    Q_OBJECT
public:
    explicit TFaGetCustomer(QWidget *parent = nullptr);
    ~TFaGetCustomer() override;

    // The customer read on leaving the code box, with its salesman's code and
    // department and its tax row (TaxId, CodeTax, TaxRate); empty when none.
    QSqlRecord CustomerRow;

    static QString blockedMessage() { return QStringLiteral("รหัสลูกค้าถูกระงับการใช้งาน !"); }

    bool openLookup() override;
    // The head-office search, once created (null before the first head-office search).
    TF_SearchCustomerPos *headSearch() const { return m_headSearch.get(); }

    // Whether the head-office database answers. SQLite has no server: the database
    // file must exist. A server engine: a TCP connection to the server (host, or
    // the configured one when blank) within a second, up to the given attempts.
    static bool headOfficeReachable(const QString &host, const QString &database, int attempts);
    // Copies (inserts or updates by code) the head-office customer into the company
    // database; the customer group, salesman, province and tax are matched by code.
    // False when the head office has no such customer.
    static bool copyCustomerFromHead(Connection &head, Connection &company, const QString &code);

protected:
    TFrSearch *createLookup() override;
    bool checkOnExit(qint64 id) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool linkHead() const;
    void readCustomer(const QString &code);
    std::unique_ptr<Connection> m_head;
    std::unique_ptr<TF_SearchCustomerPos> m_headSearch;
};
