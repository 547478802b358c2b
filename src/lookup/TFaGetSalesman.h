#pragma once
#include "TFaGet.h"
#include <QDate>
#include <QPointer>

class TF_SearchSalesman;

// The required salesman of a document; only active salesmen.
class TFaGetSalesman : public TFaGetBase
{
    Q_OBJECT
public:
    explicit TFaGetSalesman(QWidget *parent = nullptr);
    ~TFaGetSalesman() override;

    // The salesman last accepted, for the module.
    struct SalesmanRow
    {
        qint64 Id = 0;
        QString Code, Name, Surname;
        qint64 Department = 0;
        QString Status;
        QDate StartDate, StopDate;
        QString Address1, Address2, Address3;
        qint64 Province = 0;
        QString ZipCode, Phone, Fax, EMail;
    };
    SalesmanRow Salesman;
    // The look-up, created on first use and kept.
    TF_SearchSalesman *searchDialog() const;

protected:
    TFrSearch *createLookup() override;
    bool keepsLookup() const override { return true; }
    bool checkOnExit(qint64 id) override;

private:
    QPointer<TF_SearchSalesman> m_search;
};
