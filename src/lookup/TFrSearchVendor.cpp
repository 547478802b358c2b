#include "TFrSearchVendor.h"
#include "TFaSelectAttr.h"
#include "services/TDM.h"
#include "session/TDMConfig.h"
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

TFrSearchVendor::TFrSearchVendor(QWidget *parent) : TFrSearch(parent)
{
    setWindowTitle(QStringLiteral("ค้นหารหัสเจ้าหนี้"));
    resize(760, 520);
    auto *row = new QHBoxLayout;
    auto *lbName = new QLabel(QStringLiteral("ชื่อ"), this);
    EdName = new QLineEdit(this);
    EdName->setObjectName(QStringLiteral("EdName"));
    lbName->setBuddy(EdName);
    row->addWidget(lbName);
    row->addWidget(EdName, 1);
    FilterArea->addLayout(row);
    FaVendorAttr = new TFaSelectVendorAttr(this);
    FaVendorAttr->setObjectName(QStringLiteral("FaVendorAttr"));
    FaVendorAttr->KeyExpression = QStringLiteral("V.Id");
    FaVendorAttr->setMaximumHeight(120);
    FilterArea->addWidget(FaVendorAttr);
    setTabOrder(Code, EdName);

    SQL = {QStringLiteral("Select V.Id, V.Code, V.Name, V.DueDays, V.Remark, V.PhoneNo, V.FaxNo,"),
           QStringLiteral("  (Select VC.ContactName From vendorcontact VC Where VC.Id = (Select Min(VM.Id) From vendorcontact VM Where VM.Vendor = V.Id)) As Attention"),
           QStringLiteral("From Vendor V"), QStringLiteral("Where 1 = 1"), QStringLiteral("Order By V.Code")};
    setGridColumns({{QStringLiteral("Code"), QStringLiteral("รหัส")},
                    {QStringLiteral("Name"), QStringLiteral("ชื่อ")},
                    {QStringLiteral("DueDays"), QStringLiteral("เครดิต(วัน)")},
                    {QStringLiteral("Remark"), QStringLiteral("หมายเหตุ")},
                    {QStringLiteral("PhoneNo"), QStringLiteral("โทรศัพท์")},
                    {QStringLiteral("FaxNo"), QStringLiteral("Fax")},
                    {QStringLiteral("Attention"), QStringLiteral("ผู้ติดต่อ")}});
}

bool TFrSearchVendor::codeFixedToZ(const QString &companyDb, const QString &userCode)
{
    if (companyDb.trimmed().compare(QLatin1String("WQN"), Qt::CaseInsensitive) != 0)
        return false;
    const QString u = userCode.trimmed().toUpper();
    return u.startsWith(QLatin1String("AMS")) || u.startsWith(QLatin1String("STD"));
}

void TFrSearchVendor::FormShow()
{
    KeyFieldName = QStringLiteral("CODE");
    TDM *dm = TDM::instance();
    const bool showLast = dbText(dm->config(QStringLiteral("ShowLastSearch"))).trimmed() == QLatin1String("Y");
    EdName->setText(showLast ? dm->LastVendorName : QString());
    const TDMConfig *cfg = TDMConfig::instance();
    const bool fixed = codeFixedToZ(dm->CompanyDbName, cfg ? cfg->UserCode : QString());
    if (fixed)
        Code->setText(QStringLiteral("Z"));
    Code->setEnabled(!fixed);
    if (fixed)
        EdName->setFocus();
    FaVendorAttr->open();
}

bool TFrSearchVendor::canSortBy(const QString &column) const
{
    return column.compare(QLatin1String("Code"), Qt::CaseInsensitive) == 0 || column.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0;
}

void TFrSearchVendor::prepareSearch()
{
    Conditions.clear();
    const QString code = Code->text().trimmed();
    if (!code.isEmpty())
        Conditions.add(QStringLiteral("V.Code Like ?"), {code + QLatin1Char('%')});
    const QString name = EdName->text().trimmed();
    TDM::instance()->LastVendorName = EdName->text();
    if (!name.isEmpty())
        Conditions.add(QStringLiteral("V.Name Like ?"), {QLatin1Char('%') + name + QLatin1Char('%')});
    if (!IncludeBlocked)
        Conditions.add(QStringLiteral("Coalesce(V.Blocked, 'N') <> 'Y'"));
    const TDMConfig *cfg = TDMConfig::instance();
    if (!cfg || !cfg->UserSeeImport)
        Conditions.add(QStringLiteral("Coalesce(V.VendorImport, 'N') <> 'Y'"));
    FaVendorAttr->addConditions(Conditions);
}

QHash<QString, QString> TFrSearchVendor::englishTexts() const
{
    return {
        {QStringLiteral("ค้นหารหัสเจ้าหนี้"), QStringLiteral("Search Vendor Code")},
        {QStringLiteral("รหัส"), QStringLiteral("Code")},
        {QStringLiteral("ชื่อ"), QStringLiteral("Name")},
        {QStringLiteral("เครดิต(วัน)"), QStringLiteral("Credit (Days)")},
        {QStringLiteral("หมายเหตุ"), QStringLiteral("Remark")},
        {QStringLiteral("โทรศัพท์"), QStringLiteral("Phone")},
        {QStringLiteral("ผู้ติดต่อ"), QStringLiteral("Contact")},
        {QStringLiteral("คุณสมบัติ"), QStringLiteral("Vendor Attribute")},
        {QStringLiteral("เริ่มต้น"), QStringLiteral("From Code")},
        {QStringLiteral("สิ้นสุด"), QStringLiteral("To Code")},
    };
}
