#pragma once
#include "TFrSearch.h"

// The units of one product that serve any of the chosen uses.
class TFrSearchUnit : public TFrSearch
{
    Q_OBJECT
public:
    explicit TFrSearchUnit(QWidget *parent = nullptr);

    qint64 ProductId = 0;
    bool PurcFlag = false;
    bool SaleFlag = false;
    bool StockUnitFlag = false;
    bool SmallUnitFlag = false;

protected:
    QHash<QString, QString> englishTexts() const override;
    void FormShow() override;
    void prepareSearch() override;
};
