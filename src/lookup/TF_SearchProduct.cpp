#include "TF_SearchProduct.h"
#include "PagedQueryModel.h"
#include "TFaSelectAttr.h"
#include "services/TDM.h"
#include "session/UserDialogs.h"
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSqlRecord>
#include <QTableView>

QString TF_SearchProduct::blankMessage() { return QStringLiteral("กรุณาป้อนรหัส หรือ ชื่อบางส่วน เพื่อค้นหา"); }

TF_SearchProduct::TF_SearchProduct(QWidget *parent) : TFrSearch(parent)
{
    setWindowTitle(QStringLiteral("ค้นหา สินค้า"));
    LbCode->setText(QStringLiteral("รหัสสินค้า"));
    auto *row = new QHBoxLayout;
    auto *lbName = new QLabel(QStringLiteral("ชื่อสินค้า"), this);
    EdName = new QLineEdit(this);
    EdName->setObjectName(QStringLiteral("EdName"));
    lbName->setBuddy(EdName);
    CbMethod = new QComboBox(this);
    CbMethod->setObjectName(QStringLiteral("CbMethod"));
    CbMethod->addItems({QStringLiteral("ขึ้นต้นด้วย"), QStringLiteral("ประกอบด้วย")});
    CbMethod->setCurrentIndex(1);
    row->addWidget(lbName);
    row->addWidget(EdName, 1);
    row->addWidget(CbMethod);
    FilterArea->addLayout(row);
    FaAttr = new TFaSelectProdAttr(this);
    FaAttr->setMaximumHeight(110);
    FilterArea->addWidget(FaAttr);
    setTabOrder(Code, EdName);
    setTabOrder(EdName, CbMethod);

    SQL = {QStringLiteral("Select Id, Code, ThaiName From Product"),
           QStringLiteral("Where (Coalesce(Blocked,'N') <> 'Y') And (Coalesce(MasterCode,'N') <> 'Y')"),
           QStringLiteral("Order By Code")};
    setGridColumns({{QStringLiteral("Code"), QStringLiteral("รหัส")}, {QStringLiteral("ThaiName"), QStringLiteral("ชื่อสินค้า")}});

    // This look-up orders by code or by name only; the base's positional sort is not used.
    DgSearch->horizontalHeader()->disconnect(SIGNAL(sectionClicked(int)), this);
    connect(DgSearch->horizontalHeader(), &QHeaderView::sectionClicked, this, &TF_SearchProduct::titleClicked);
}

void TF_SearchProduct::FormShow()
{
    KeyFieldName = QStringLiteral("Code");
    TDM *dm = TDM::instance();
    const bool remember = dm && dm->config(QStringLiteral("ShowLastSearch")).toString().trimmed() == QLatin1String("Y");
    EdName->setText(remember ? dm->LastProductName : QString());
    FaAttr->open();
    EdName->setFocus();
}

bool TF_SearchProduct::canSearch()
{
    if (Code->text().trimmed().isEmpty() && EdName->text().trimmed().isEmpty()) {
        ShowMessage(blankMessage());
        return false;
    }
    return true;
}

void TF_SearchProduct::prepareSearch()
{
    if (TDM *dm = TDM::instance())
        dm->LastProductName = EdName->text();
    Conditions.clear();
    const QString code = Code->text().trimmed(), name = EdName->text().trimmed();
    if (!code.isEmpty())
        Conditions.add(QStringLiteral("Code Like ?"), {code + QLatin1Char('%')});
    if (!name.isEmpty())
        Conditions.add(nameLike(QStringLiteral("ThaiName")), {(CbMethod->currentIndex() == 1 ? QStringLiteral("%") : QString()) + name + QLatin1Char('%')});
    FaAttr->addConditions(Conditions);
}

void TF_SearchProduct::titleClicked(int column)
{
    if (column < 0 || column >= result()->columnCount())
        return;
    const bool byCode = result()->record().fieldName(column).compare(QLatin1String("Code"), Qt::CaseInsensitive) == 0;
    SQL.last() = byCode ? QStringLiteral("Order By Code") : QStringLiteral("Order By ThaiName");
    Search();
}

QHash<QString, QString> TF_SearchProduct::englishTexts() const
{
    return {
        {QStringLiteral("ค้นหา สินค้า"), QStringLiteral("Search Product")},
        {QStringLiteral("รหัสสินค้า"), QStringLiteral("Product Code")},
        {QStringLiteral("ชื่อสินค้า"), QStringLiteral("Product Name")},
        {QStringLiteral("รหัส"), QStringLiteral("Code")},
        {QStringLiteral("ขึ้นต้นด้วย"), QStringLiteral("Start With")},
        {QStringLiteral("ประกอบด้วย"), QStringLiteral("Consist Of")},
        {QStringLiteral("คุณสมบัติสินค้า"), QStringLiteral("Product Attribute")},
        {QStringLiteral("เริ่มต้น"), QStringLiteral("From Code")},
        {QStringLiteral("สิ้นสุด"), QStringLiteral("To Code")},
    };
}
