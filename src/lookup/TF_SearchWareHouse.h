#pragma once
#include "TFrSearch.h"

// Warehouses and storage locations by code or name; with the active-only input and
// the company's user-warehouse check only the warehouses granted to the user.
class TF_SearchWareHouse : public TFrSearch
{
    Q_OBJECT
public:
    explicit TF_SearchWareHouse(QWidget *parent = nullptr);

    bool ActiveOnly = false;
    // 0 all, 1 warehouses, 2 storage locations.
    int LocationFilter = 0;

protected:
    QHash<QString, QString> englishTexts() const override;
    void FormShow() override;
    void prepareSearch() override;
};
