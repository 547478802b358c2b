#pragma once
#include "TFrCodeGrid.h"

class CheckCellDelegate;

// The departments (codes of the company's code table) with whether they belong
// to manufacturing, their cost centre and their expense account.
class TFrDepartment : public TFrCodeGrid
{
    Q_OBJECT
public:
    explicit TFrDepartment(QWidget *parent = nullptr);

    CodeComboDelegate *CostCell = nullptr;
    ResolvingCodeCell *AccountCell = nullptr;
    CheckCellDelegate *MfgCell = nullptr;

    void resolveCostCentre(int row, const QString &code);
    QString resolveAccount(int row, const QString &code);

protected:
    void FormShow() override;
    void AcNewExecute() override;
    void AcSaveExecute() override;
    void AcDelExecute() override;
    void currentCellChanged(const QModelIndex &now) override;

private:
    void load();
    void writeLinks(Connection &c);
    bool m_shown = false;
};
