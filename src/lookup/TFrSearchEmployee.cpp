#include "TFrSearchEmployee.h"
#include <QLabel>
#include <QLineEdit>

TFrSearchEmployee::TFrSearchEmployee(QWidget *parent) : TFrSearch(parent)
{
    setWindowTitle(QStringLiteral("ค้นหารายชื่อพนักงาน"));
    LbCode->setText(QStringLiteral("ชื่อพนักงาน"));
    setFilterUpperCase(false);
    SQL = {QStringLiteral("Select Id, code, Name From Employee"), QStringLiteral("Where Status = 'Y'"), QStringLiteral("Order By code")};
    setGridColumns({{QStringLiteral("code"), QStringLiteral("รหัส")}, {QStringLiteral("Name"), QStringLiteral("ชื่อพนักงาน")}});
    setSearchOnShow(true);
}

void TFrSearchEmployee::FormShow() { KeyFieldName = QStringLiteral("CODE"); }

void TFrSearchEmployee::prepareSearch()
{
    Conditions.clear();
    const QString t = Code->text().trimmed();
    if (!t.isEmpty())
        Conditions.add(QStringLiteral("Name Like ?"), {QLatin1Char('%') + t + QLatin1Char('%')});
}

QHash<QString, QString> TFrSearchEmployee::englishTexts() const
{
    return {
        {QStringLiteral("ค้นหารายชื่อพนักงาน"), QStringLiteral("Search Employee")},
        {QStringLiteral("ชื่อพนักงาน"), QStringLiteral("Employee Name")},
        {QStringLiteral("รหัส"), QStringLiteral("Code")},
    };
}
