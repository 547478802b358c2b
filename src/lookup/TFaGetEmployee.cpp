#include "TFaGetEmployee.h"
#include "TCodeLookupEdit.h"
#include "TFrSearchEmployee.h"
#include "services/TDM.h"
#include <QLabel>
#include <QSqlQuery>
#include <QToolButton>

TFaGetEmployee::TFaGetEmployee(QWidget *parent) : TFaGetBase(parent)
{
    setCaption(QStringLiteral("รหัสพนักงาน"));
    BtSearch->setToolTip(QStringLiteral("ค้นหารหัสพนักงาน"));
    EdCode->K_LookupTableName = QStringLiteral("Employee");
    EdCode->K_LookupIDField = QStringLiteral("Id");
    EdCode->K_LookupEditField = QStringLiteral("CODE");
    EdCode->K_DescriptionField = QStringLiteral("Name");
    EdCode->K_AllowNull = false;
}

TFrSearch *TFaGetEmployee::createLookup() { return new TFrSearchEmployee(window()); }

bool TFaGetEmployee::checkOnExit(qint64 id)
{
    Q_UNUSED(id);
    EmployeeId = 0;
    EmployeeCode.clear();
    EmployeeName.clear();
    QSqlQuery q = TDM::instance()->DMDATA().exec(QStringLiteral("Select Id,Code,Name From Employee Where Code = :c"),
                                                 {{QStringLiteral("c"), code()}});
    if (!q.next()) {
        LbName->setText(QStringLiteral("-"));
        return false;
    }
    EmployeeId = q.value(0).toLongLong();
    EmployeeCode = dbText(q.value(1)).trimmed();
    EmployeeName = dbText(q.value(2));
    return true;
}
