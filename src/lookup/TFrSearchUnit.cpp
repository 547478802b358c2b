#include "TFrSearchUnit.h"
#include <QLabel>
#include <QLineEdit>

TFrSearchUnit::TFrSearchUnit(QWidget *parent) : TFrSearch(parent)
{
    // No text filter: the product and the uses decide the list.
    LbCode->hide();
    Code->hide();
    SQL = {QStringLiteral("Select U.Id, U.UnitName, U.Fraction, U.Barcode From ProductUnits U"), QStringLiteral("Where U.Product = :Product"),
           QStringLiteral("And ((U.PurcFlag Like :Purc) Or (U.SaleFlag Like :Sale) Or (U.StockUnitFlag Like :Stock) Or (U.SmallUnitFlag Like :Small))"),
           QStringLiteral("Order By U.Fraction")};
    setGridColumns({{QStringLiteral("UnitName"), QStringLiteral("หน่วยนับ")},
                    {QStringLiteral("Fraction"), QStringLiteral("อัตราส่วนหน่วยย่อย")},
                    {QStringLiteral("Barcode"), QStringLiteral("Barcode")}});
    setSearchOnShow(true);
}

void TFrSearchUnit::FormShow()
{
    setWindowTitle(isThai() ? QStringLiteral("ค้นหาหน่วยนับ") : QStringLiteral("Search Product Unit"));
    KeyFieldName = QStringLiteral("UNITNAME");
}

void TFrSearchUnit::prepareSearch()
{
    // An unchosen use is matched with a pattern no flag has.
    auto pattern = [](bool on) { return on ? QStringLiteral("Y%") : QStringLiteral("X%"); };
    Parameters = {{QStringLiteral("Product"), ProductId},
                  {QStringLiteral("Purc"), pattern(PurcFlag)},
                  {QStringLiteral("Sale"), pattern(SaleFlag)},
                  {QStringLiteral("Stock"), pattern(StockUnitFlag)},
                  {QStringLiteral("Small"), pattern(SmallUnitFlag)}};
    Conditions.clear();
}

QHash<QString, QString> TFrSearchUnit::englishTexts() const
{
    return {
        {QStringLiteral("หน่วยนับ"), QStringLiteral("Unit")},
        {QStringLiteral("อัตราส่วนหน่วยย่อย"), QStringLiteral("Fraction")},
    };
}
