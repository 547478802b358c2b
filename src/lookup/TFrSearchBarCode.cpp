#include "TFrSearchBarCode.h"
#include "PagedQueryModel.h"
#include "core/Decimal.h"
#include "core/FormatFloat.h"
#include "services/TDM.h"
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLabel>
#include <QLineEdit>
#include <QSqlRecord>
#include <QTableView>

namespace {
// Shows the two quantity columns as texts with the smallest unit's name.
class FigureColumns : public QIdentityProxyModel
{
public:
    explicit FigureColumns(PagedQueryModel *source, QObject *parent) : QIdentityProxyModel(parent), m_source(source)
    {
        setSourceModel(source);
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (index.isValid()) {
            const QString name = m_source->record().fieldName(index.column());
            const bool figure = name.compare(QLatin1String("OnHand"), Qt::CaseInsensitive) == 0
                || name.compare(QLatin1String("BackOrder"), Qt::CaseInsensitive) == 0;
            if (figure && role == Qt::DisplayRole)
                return TFrSearchBarCode::figureText(m_source->value(index.row(), index.column()),
                                                    dbText(m_source->value(index.row(), QStringLiteral("SmallUnit"))).trimmed());
            if (figure && role == Qt::TextAlignmentRole)
                return int(Qt::AlignRight | Qt::AlignVCenter);
        }
        return QIdentityProxyModel::data(index, role);
    }

private:
    PagedQueryModel *m_source;
};

// Open sales-order lines: not cleared and not of a point-of-sale order.
const char *openSoLine = "Coalesce(D.Clear,'N') <> 'Y' And D.SoHd Not In (Select H.SoHd From PosHeader H Where H.SoHd Is Not Null)";
} // namespace

QString TFrSearchBarCode::figureText(const QVariant &quantity, const QString &unit)
{
    bool ok = false;
    Decimal d = Decimal::fromString(quantity.toString().trimmed(), &ok);
    if (!ok)
        d = Decimal::fromDouble(quantity.toDouble(), 6);
    return formatFloat("#,##0.00", d) + QStringLiteral("  ") + unit;
}

TFrSearchBarCode::TFrSearchBarCode(QWidget *parent) : TFrSearch(parent)
{
    setWindowTitle(QStringLiteral("ค้นหา Barcode สินค้า"));
    setMinimumWidth(700);
    resize(760, height());
    LbCode->setText(QStringLiteral("Barcode"));
    setFilterUpperCase(false);
    auto *row = new QHBoxLayout;
    auto *lbName = new QLabel(QStringLiteral("ชื่อสินค้า"), this);
    EdName = new QLineEdit(this);
    EdName->setObjectName(QStringLiteral("EdName"));
    lbName->setBuddy(EdName);
    CbMethod = new QComboBox(this);
    CbMethod->setObjectName(QStringLiteral("CbMethod"));
    CbMethod->addItems({QStringLiteral("ขึ้นต้นด้วย"), QStringLiteral("ประกอบด้วย")});
    row->addWidget(lbName);
    row->addWidget(EdName, 1);
    row->addWidget(CbMethod);
    FilterArea->addLayout(row);
    setTabOrder(Code, EdName);
    setTabOrder(EdName, CbMethod);
    DgSearch->setModel(new FigureColumns(result(), this));

    const QString open = QString::fromLatin1(openSoLine);
    SQL = {QStringLiteral("Select U.Id, U.BarCode, U.Product, U.UnitName, P.Code, P.ThaiName,"),
           QStringLiteral("(Select Coalesce(Sum(O.Quantity), 0) From ProductOnHand O Where O.Product = P.Id And O.BalanceYear = :BalanceYear) OnHand,"),
           QStringLiteral("(Coalesce((Select Sum(D.Quantity * D.Fraction) From SoDt D Where D.Product = P.Id And ") + open + QStringLiteral("), 0)"),
           QStringLiteral(" - Coalesce((Select Sum(I.Quantity * I.Fraction) From IvDt I Where I.Product = P.Id And I.SoDt In (Select D.Id From SoDt D Where ")
               + open + QStringLiteral(")), 0)"),
           QStringLiteral(" + Coalesce((Select Sum(I.Quantity * I.Fraction) From IvDt I Inner Join IvHd V On V.Id = I.IvHd Where I.Product = P.Id"
                          " And V.NotCutStock = 'Y' And Coalesce(V.IvType,' ') <> 'B' And Coalesce(I.IvdtB,0) = 0), 0)"),
           QStringLiteral(" - Coalesce((Select Sum(I.Quantity * I.Fraction) From IvDt I Inner Join IvHd V On V.Id = I.IvHd Where I.Product = P.Id"
                          " And V.NotCutStock = 'N' And V.IvType = 'B' And Coalesce(I.IvdtB,0) <> 0), 0)) BackOrder,"),
           QStringLiteral("(Select Min(X.UnitName) From ProductUnits X Where X.Product = P.Id"
                          " And X.Fraction = (Select Min(Y.Fraction) From ProductUnits Y Where Y.Product = P.Id)) SmallUnit"),
           QStringLiteral("From ProductUnits U Inner Join Product P On P.Id = U.Product"),
           QStringLiteral("Where (U.BarCode Is Not Null) And (U.BarCode <> '')"),
           QStringLiteral("Order By U.BarCode")};
    setGridColumns({{QStringLiteral("BarCode"), QStringLiteral("รหัส")}, {QStringLiteral("UnitName"), QStringLiteral("หน่วยนับ")},
                    {QStringLiteral("Code"), QStringLiteral("รหัสสินค้า")}, {QStringLiteral("ThaiName"), QStringLiteral("ชื่อสินค้า")},
                    {QStringLiteral("OnHand"), QStringLiteral("คงเหลือ")}, {QStringLiteral("BackOrder"), QStringLiteral("ค้างส่ง")}});

    DgSearch->horizontalHeader()->disconnect(SIGNAL(sectionClicked(int)), this);
    connect(DgSearch->horizontalHeader(), &QHeaderView::sectionClicked, this, &TFrSearchBarCode::titleClicked);
}

void TFrSearchBarCode::FormShow()
{
    KeyFieldName = QStringLiteral("BarCode");
    SQL.last() = QStringLiteral("Order By U.BarCode");
    TDM *dm = TDM::instance();
    CbMethod->setCurrentIndex(dm && dm->config(QStringLiteral("SearchProductMethod")).toInt() == 1 ? 1 : 0);
    const bool remember = dm && dm->config(QStringLiteral("ShowLastSearch")).toString().trimmed() == QLatin1String("Y");
    EdName->setText(remember ? dm->LastProductName : QString());
}

void TFrSearchBarCode::prepareSearch()
{
    TDM *dm = TDM::instance();
    if (dm)
        dm->LastProductName = EdName->text();
    // The stock year is the server's, not the workstation's.
    Parameters = {{QStringLiteral("BalanceYear"), dm ? dm->GetServerTime().date().year() : QDate::currentDate().year()}};
    Conditions.clear();
    const QString code = Code->text().trimmed(), name = EdName->text().trimmed();
    if (!code.isEmpty())
        Conditions.add(QStringLiteral("U.BarCode Like ?"), {code + QLatin1Char('%')});
    if (!name.isEmpty())
        Conditions.add(nameLike(QStringLiteral("P.ThaiName")), {(CbMethod->currentIndex() == 1 ? QStringLiteral("%") : QString()) + name + QLatin1Char('%')});
    if (!IncludeBlocked)
        Conditions.add(QStringLiteral("Coalesce(P.Blocked,'N') <> 'Y'"));
}

void TFrSearchBarCode::titleClicked(int column)
{
    if (column < 0 || column >= result()->columnCount())
        return;
    const QString name = result()->record().fieldName(column);
    if (name.compare(QLatin1String("BarCode"), Qt::CaseInsensitive) == 0)
        SQL.last() = QStringLiteral("Order By U.BarCode");
    else if (name.compare(QLatin1String("Code"), Qt::CaseInsensitive) == 0)
        SQL.last() = QStringLiteral("Order By P.Code");
    else if (name.compare(QLatin1String("ThaiName"), Qt::CaseInsensitive) == 0)
        SQL.last() = QStringLiteral("Order By P.ThaiName");
    else
        return;
    Search();
}

QHash<QString, QString> TFrSearchBarCode::englishTexts() const
{
    return {
        {QStringLiteral("ค้นหา Barcode สินค้า"), QStringLiteral("Search Product Barcode")},
        {QStringLiteral("ชื่อสินค้า"), QStringLiteral("Product Name")},
        {QStringLiteral("ขึ้นต้นด้วย"), QStringLiteral("Start With")},
        {QStringLiteral("ประกอบด้วย"), QStringLiteral("Consist Of")},
        {QStringLiteral("รหัส"), QStringLiteral("Barcode")},
        {QStringLiteral("หน่วยนับ"), QStringLiteral("Unit")},
        {QStringLiteral("รหัสสินค้า"), QStringLiteral("Product Code")},
        {QStringLiteral("คงเหลือ"), QStringLiteral("On Hand")},
        {QStringLiteral("ค้างส่ง"), QStringLiteral("To Deliver")},
    };
}
