#pragma once
#include "TFrSearch.h"

class TFaSelectVendorAttr;

// Vendors by code, name and attribute ranges, with their first contact.
class TFrSearchVendor : public TFrSearch
{
    Q_OBJECT
public:
    explicit TFrSearchVendor(QWidget *parent = nullptr);

    bool IncludeBlocked = false;
    QLineEdit *EdName = nullptr;
    TFaSelectVendorAttr *FaVendorAttr = nullptr;

    // Users of one company who may only pick vendors of the "Z" series.
    static bool codeFixedToZ(const QString &companyDb, const QString &userCode);

protected:
    QHash<QString, QString> englishTexts() const override;
    void FormShow() override;
    void prepareSearch() override;
    bool canSortBy(const QString &column) const override;
};
