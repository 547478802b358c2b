#include "TFrSearchAcNoDetail.h"
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

TFrSearchAcNoDetail::TFrSearchAcNoDetail(QWidget *parent) : TFrSearch(parent)
{
    setWindowTitle(QStringLiteral("ค้นหารหัสบัญชี"));
    LbCode->setText(QStringLiteral("รหัสบัญชี"));
    auto *row = new QHBoxLayout;
    auto *lbThai = new QLabel(QStringLiteral("ชื่อไทย"), this);
    EdNameThai = new QLineEdit(this);
    EdNameThai->setObjectName(QStringLiteral("EdNameThai"));
    auto *lbEng = new QLabel(QStringLiteral("ชื่ออังกฤษ"), this);
    EdNameEng = new QLineEdit(this);
    EdNameEng->setObjectName(QStringLiteral("EdNameEng"));
    makeUpperCase(EdNameThai);
    makeUpperCase(EdNameEng);
    lbThai->setBuddy(EdNameThai);
    lbEng->setBuddy(EdNameEng);
    row->addWidget(lbThai);
    row->addWidget(EdNameThai, 1);
    row->addWidget(lbEng);
    row->addWidget(EdNameEng, 1);
    FilterArea->addLayout(row);
    setTabOrder(Code, EdNameThai);
    setTabOrder(EdNameThai, EdNameEng);

    SQL = {QStringLiteral("Select Id, Code, NameThai, NameEng, AcType, AcGroup From AccountChart"), QStringLiteral("Where 1 = 1"),
           QStringLiteral("Order By AcGroup, Code")};
    setGridColumns({{QStringLiteral("Code"), QStringLiteral("รหัสบัญชี")},
                    {QStringLiteral("NameThai"), QStringLiteral("ชื่อไทย")},
                    {QStringLiteral("NameEng"), QStringLiteral("ชื่ออังกฤษ")}});
}

void TFrSearchAcNoDetail::FormShow() { KeyFieldName = QStringLiteral("Code"); }

void TFrSearchAcNoDetail::prepareSearch()
{
    Conditions.clear();
    const QString type = AcType.isEmpty() ? QStringLiteral(" ") : AcType.left(1).toUpper();
    if (type == QLatin1String("D"))
        Conditions.add(QStringLiteral("AcType <> 'G'"));
    else if (type == QLatin1String("G"))
        Conditions.add(QStringLiteral("AcType <> 'D'"));
    else
        Conditions.add(QStringLiteral("AcType <> ' '"));
    const QString code = Code->text().trimmed();
    if (!code.isEmpty())
        Conditions.add(QStringLiteral("Code >= ?"), {code});
    const QString thai = EdNameThai->text().trimmed();
    if (!thai.isEmpty())
        Conditions.add(QStringLiteral("NameThai Like ?"), {QLatin1Char('%') + thai + QLatin1Char('%')});
    const QString eng = EdNameEng->text().trimmed();
    if (!eng.isEmpty())
        Conditions.add(QStringLiteral("NameEng Like ?"), {QLatin1Char('%') + eng + QLatin1Char('%')});
}

QHash<QString, QString> TFrSearchAcNoDetail::englishTexts() const
{
    return {
        {QStringLiteral("ค้นหารหัสบัญชี"), QStringLiteral("Search Account Code")},
        {QStringLiteral("รหัสบัญชี"), QStringLiteral("Account Code")},
        {QStringLiteral("ชื่อไทย"), QStringLiteral("Thai Name")},
        {QStringLiteral("ชื่ออังกฤษ"), QStringLiteral("English Name")},
    };
}
