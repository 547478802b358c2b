#include "TFrSearchProject.h"
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

TFrSearchProject::TFrSearchProject(QWidget *parent) : TFrSearch(parent)
{
    setWindowTitle(QStringLiteral("ค้นหา หน่วยงานโครงการ"));
    LbCode->setText(QStringLiteral("ชื่อโครงการ"));
    setFilterUpperCase(false);

    auto *row = new QHBoxLayout;
    auto *lbPrj = new QLabel(QStringLiteral("รหัสโครงการ"), this);
    EdProjectCode = new QLineEdit(this);
    EdProjectCode->setObjectName(QStringLiteral("EdProjectCode"));
    makeUpperCase(EdProjectCode);
    lbPrj->setBuddy(EdProjectCode);
    auto *lbCus = new QLabel(QStringLiteral("ชื่อลูกค้า"), this);
    EdCusName = new QLineEdit(this);
    EdCusName->setObjectName(QStringLiteral("EdCusName"));
    lbCus->setBuddy(EdCusName);
    row->addWidget(lbPrj);
    row->addWidget(EdProjectCode);
    row->addWidget(lbCus);
    row->addWidget(EdCusName, 1);
    FilterArea->addLayout(row);

    auto *status = new QHBoxLayout;
    RbAll = new QRadioButton(QStringLiteral("ทั้งหมด"), this);
    RbClosed = new QRadioButton(QStringLiteral("เฉพาะปิด"), this);
    RbOpen = new QRadioButton(QStringLiteral("เฉพาะไม่ปิด"), this);
    RbBlocked = new QRadioButton(QStringLiteral("เฉพาะระงับ"), this);
    RbAll->setObjectName(QStringLiteral("RbAll"));
    RbClosed->setObjectName(QStringLiteral("RbClosed"));
    RbOpen->setObjectName(QStringLiteral("RbOpen"));
    RbBlocked->setObjectName(QStringLiteral("RbBlocked"));
    for (QRadioButton *r : {RbAll, RbClosed, RbOpen, RbBlocked})
        status->addWidget(r);
    status->addStretch(1);
    FilterArea->addLayout(status);
    RbAll->setChecked(true);
    // Project code box first, then the name and the customer.
    setTabOrder(EdProjectCode, Code);
    setTabOrder(Code, EdCusName);

    SQL = {QStringLiteral("Select J.id, J.code, J.description, J.Blocked, J.Closed, J.InputDate, C.Code As CucCode, C.Name As CusName"),
           QStringLiteral("From project J Left Join Customer C On C.Id = J.Customer"), QStringLiteral("Where 1 = 1"),
           QStringLiteral("Order By J.InputDate Desc, J.code Desc")};
    setGridColumns({{QStringLiteral("Closed"), QStringLiteral("ปิด?")},
                    {QStringLiteral("code"), QStringLiteral("รหัสโครงการ")},
                    {QStringLiteral("description"), QStringLiteral("รายละเอียด")},
                    {QStringLiteral("InputDate"), QStringLiteral("วันที่")},
                    {QStringLiteral("CusName"), QStringLiteral("ชื่อลูกค้า")}});
    setSearchOnShow(true);
}

void TFrSearchProject::FormShow()
{
    KeyFieldName = QStringLiteral("CODE");
    const QString preset = ClosedStatus.trimmed().toUpper();
    if (preset == QLatin1String("Y"))
        RbClosed->setChecked(true);
    else if (preset == QLatin1String("N"))
        RbOpen->setChecked(true);
    else
        RbAll->setChecked(true);
    RbBlocked->setVisible(!HideBlocked);
    if (!HideBlocked)
        RbBlocked->setChecked(true);
}

void TFrSearchProject::prepareSearch()
{
    Conditions.clear();
    const QString code = EdProjectCode->text().trimmed();
    if (!code.isEmpty())
        Conditions.add(QStringLiteral("J.code Like ?"), {code + QLatin1Char('%')});
    const QString name = Code->text().trimmed();
    if (!name.isEmpty())
        Conditions.add(QStringLiteral("J.description Like ?"), {QLatin1Char('%') + name + QLatin1Char('%')});
    const QString cus = EdCusName->text().trimmed();
    if (!cus.isEmpty())
        Conditions.add(QStringLiteral("Coalesce(C.Name, '') Like ?"), {QLatin1Char('%') + cus + QLatin1Char('%')});
    if (RbClosed->isChecked())
        Conditions.add(QStringLiteral("J.Closed = 'Y'"));
    else if (RbOpen->isChecked())
        Conditions.add(QStringLiteral("J.Closed = 'N'"));
    else if (RbBlocked->isChecked())
        Conditions.add(QStringLiteral("J.Blocked = 'Y'"));
}
