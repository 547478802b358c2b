#pragma once
#include "TFrSearch.h"

// Warehouses by code; leaving the code box searches.
class TFrSearchWareHouse : public TFrSearch
{
    Q_OBJECT
public:
    explicit TFrSearchWareHouse(QWidget *parent = nullptr);

protected:
    QHash<QString, QString> englishTexts() const override;
    void FormShow() override;
    void prepareSearch() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
};
