#pragma once
#include "TFrSearch.h"

class QRadioButton;

// Projects with their customer, newest first, by code, name, customer name and status.
class TFrSearchProject : public TFrSearch
{
    Q_OBJECT
public:
    explicit TFrSearchProject(QWidget *parent = nullptr);

    // "" all, "Y" closed only, "N" open only.
    QString ClosedStatus;
    // Callers set it; without it the blocked-only choice is preset.
    bool HideBlocked = false;

    QLineEdit *EdProjectCode = nullptr;
    QLineEdit *EdCusName = nullptr;
    QRadioButton *RbAll = nullptr, *RbClosed = nullptr, *RbOpen = nullptr, *RbBlocked = nullptr;

protected:
    void FormShow() override;
    void prepareSearch() override;
};
