#pragma once
#include "TFrCodeGrid.h"

class CodeCellDelegate;
class ValueMapDelegate;

// The employees of the company: code, name, address, telephone, department,
// position, the user's login code and whether the employee still works here.
class TFrEmployee : public TFrCodeGrid
{
    Q_OBJECT
public:
    explicit TFrEmployee(QWidget *parent = nullptr);
    static constexpr const char *Version = "1.05.08.17";

    CodeComboDelegate *DepartmentCell = nullptr;
    ValueMapDelegate *PositionCell = nullptr;
    ValueMapDelegate *StatusCell = nullptr;
    CodeCellDelegate *UserCell = nullptr;

    // Leaving the department cell with a typed code; leaving the user cell.
    void resolveDepartment(int row, const QString &code);
    QString resolveUser(int row, const QString &code);

protected:
    void FormShow() override;
    void AcNewExecute() override;
    void AcSaveExecute() override;
    void AcDelExecute() override;
    bool gridKey(int key, Qt::KeyboardModifiers mods) override;
    void closeEvent(QCloseEvent *e) override;

private:
    void applyRights();
    void loadLists();
    CachedGridModel::Statements statements() const;
    bool m_shown = false;
};
