#pragma once
#include "TFrSearch.h"

// The open work orders of one product with what was ordered, finished and is still
// to be made, and their totals. Opened from the product and service look-up.
class TFrPreviewDetailMfg : public TFrSearch
{
    Q_OBJECT
public:
    explicit TFrPreviewDetailMfg(QWidget *parent = nullptr);

    // Input: the product's code.
    QString ProductCode;

    QLabel *LbProduct = nullptr;
    QLabel *LbTotalWork = nullptr, *LbTotalFinished = nullptr, *LbTotalRemain = nullptr;

protected:
    void FormShow() override;
    void prepareSearch() override;
    QHash<QString, QString> englishTexts() const override;

private:
    void showTotals();
};
