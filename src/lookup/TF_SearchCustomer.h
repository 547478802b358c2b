#pragma once
#include "TFrSearch.h"

class TCodeLookupEdit;
class TFaGetMisc;
class TFaSelectCustomerAttr;

// Unblocked customers that have a province and a salesman, by Thai or English
// name, code, phone, fax, salesman, province and attribute ranges. Returns the
// code (ReturnValue) and the Thai name (ReturnName).
class TF_SearchCustomer : public TFrSearch
{
    Q_OBJECT
public:
    explicit TF_SearchCustomer(QWidget *parent = nullptr);

    QLineEdit *EdName = nullptr, *EdNameEng = nullptr, *EdCusCode = nullptr, *EdPhone = nullptr, *EdFax = nullptr;
    TCodeLookupEdit *EdSalesman = nullptr;
    TFaGetMisc *FaProvince = nullptr;
    TFaSelectCustomerAttr *FaAttr = nullptr;
    bool IncludeBlocked = false;
    QString ReturnName;

    // The Misc group of the provinces a customer refers to.
    static QString provinceGroup() { return QStringLiteral("PROVINCE"); }

    void done(int r) override;

protected:
    QHash<QString, QString> englishTexts() const override;
    void FormShow() override;
    void prepareSearch() override;

private:
    void titleClicked(int column);
    void applyLanguage();
    QString m_order = QStringLiteral("C.Code");
};
