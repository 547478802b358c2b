#pragma once
#include "TFrSearch.h"

class DateEdit;
class QPlainTextEdit;
class TFaGetCustomer;

// Service matters of one matter type by number, customer, subject, reporter and
// date range; deleted matters are listed (red) but cannot be chosen.
class TFrSearchJobTran : public TFrSearch
{
    Q_OBJECT
public:
    explicit TFrSearchJobTran(QWidget *parent = nullptr);

    // The matter type searched ("A", "B" or "C").
    QString JobType;

    TFaGetCustomer *FaCustomer = nullptr;
    QLineEdit *EdTitle = nullptr, *EdAttn = nullptr;
    DateEdit *EdDate1 = nullptr, *EdDate2 = nullptr;
    QPlainTextEdit *MmJobDetail = nullptr, *MmFixDetail = nullptr;

protected:
    void FormShow() override;
    void prepareSearch() override;

private:
    void showMemos();
};
