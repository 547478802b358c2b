#pragma once
#include "TFrSearch.h"

// Service contracts with the contract each one renews, newest number first.
// Cancelled contracts (red) may be chosen; contracts not continued show olive.
// A left click with Ctrl, Shift and Alt on a cancelled contract purges it with
// its lines, after two confirmations.
class TFrSearchContract : public TFrSearch
{
    Q_OBJECT
public:
    explicit TFrSearchContract(QWidget *parent = nullptr);

    // Inputs: the customer code preset (prefix) and the contract type (prefix, "%" any).
    QString CustomerCode;
    QString ContractType = QStringLiteral("%");

    QLineEdit *EdCustomerCode = nullptr, *EdContractType = nullptr, *EdInstallSite = nullptr;

    // The tip of the clicked row, as the grid shows it.
    QString rowTip(int row) const;
    // Removes the cancelled contract of the current row with its lines (after the questions).
    void purgeContract();
    void showCancelRemark();
    void showNotContinueRemark();

protected:
    void FormShow() override;
    void prepareSearch() override;
    bool acceptCurrentRow() override { return true; }
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool rowFlag(int row, const QString &column) const;
};
