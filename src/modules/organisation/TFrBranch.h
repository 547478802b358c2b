#pragma once
#include "TFrCodeGrid.h"

// The company's branches with the database each branch works in.
class TFrBranch : public TFrCodeGrid
{
    Q_OBJECT
public:
    explicit TFrBranch(QWidget *parent = nullptr);

protected:
    void FormShow() override;
    void AcNewExecute() override;
    void AcSaveExecute() override;
    void AcDelExecute() override;

private:
    void applyRights();
};
