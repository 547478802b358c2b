#include "TDmProduct.h"
#include "TDM.h"
#include "session/TDMConfig.h"

namespace {
TDmProduct *g_product = nullptr;

Connection &company()
{
    TDM *dm = TDM::instance();
    if (!dm)
        throw DbError(QStringLiteral("ไม่มีการเชื่อมต่อฐานข้อมูลบริษัท"));
    return dm->DMDATA();
}

// The first row of q, or an empty record when there is none.
QSqlRecord firstRow(QSqlQuery q)
{
    return q.next() ? q.record() : QSqlRecord();
}

// "Y%" for a kind in the set, "X%" (which no flag holds) for one outside it.
QString kindPattern(int kinds, int kind)
{
    return (kinds & kind) ? QStringLiteral("Y%") : QStringLiteral("X%");
}

void defaultWhenEmpty(QSqlRecord &r, const char *field, const QVariant &value)
{
    const QString name = QLatin1String(field);
    if (r.contains(name) && dbText(r.value(name)).trimmed().isEmpty())
        r.setValue(name, value);
}
} // namespace

TDmProduct::TDmProduct() { g_product = this; }

TDmProduct::~TDmProduct()
{
    if (g_product == this)
        g_product = nullptr;
}

TDmProduct *TDmProduct::instance() { return g_product; }

bool TDmProduct::ExistsProduct(const QString &code)
{
    m_product = QSqlRecord();
    Connection &c = company();
    const bool userWarehouses = dbText(TDM::instance()->config(QStringLiteral("CheckUserWarehouseFlag"))) == QLatin1String("Y");
    Params p{{QStringLiteral("code"), code}};
    QString warehouseJoin;
    if (userWarehouses) {
        // The product is found either way; the warehouse columns stay empty
        // unless the default warehouse is one the user may work in.
        warehouseJoin = QStringLiteral("LEFT JOIN Warehouse W ON (W.Id = P.DefaultWh) "
                                       "AND W.Id IN (SELECT Warehouse FROM UserWarehouse WHERE UserName = :userId) ");
        const TDMConfig *cfg = TDMConfig::instance();
        p.insert(QStringLiteral("userId"), cfg ? cfg->UserId : 0);
    } else {
        warehouseJoin = QStringLiteral("INNER JOIN Warehouse W ON W.Id = P.DefaultWh ");
    }
    const QString sql = QStringLiteral(
        "SELECT P.Id, P.Code, P.ThaiName, P.EngName, P.PosName, P.ProductType, P.PriceIE, P.PrintFrac, P.UseSerial, "
        "P.LotControl, P.TaxCode, P.DefaultWh, P.PriceByVolumn, P.Discount, W.flagin, W.flagout, P.VolumnUnit, "
        "T.Rate AS TaxRate, W.Code AS WhCode, W.Name AS WhName, P.Blocked, P.Negative, P.ProductFree, P.Size_W, P.Size_L, "
        "P.Size_H, P.CartonsUnits, P.Cartons, P.NetWeight, P.GrossWeight, P.ProductDesc, P.CheckSerialPurc, "
        "P.CheckSerialSale, P.CheckSerialStock, P.CheckSerialOnhand, P.PerDiscountOver "
        "FROM Product P INNER JOIN Tax T ON T.Code = P.TaxCode ")
        + warehouseJoin
        + QStringLiteral("WHERE P.Code = :code AND COALESCE(P.Blocked, 'N') <> 'Y' AND COALESCE(P.MasterCode, 'N') <> 'Y' "
                         "ORDER BY P.Id");
    QSqlRecord r = firstRow(c.exec(sql, p));
    if (r.isEmpty())
        return false;
    for (const char *flag : {"ProductFree", "CheckSerialPurc", "CheckSerialSale", "CheckSerialStock", "CheckSerialOnhand"})
        defaultWhenEmpty(r, flag, QStringLiteral("N"));
    defaultWhenEmpty(r, "PerDiscountOver", 0);
    m_product = r;
    return true;
}

bool TDmProduct::ExistsProductUnit(int productId, const QString &unitName, int kinds)
{
    m_unit = QSqlRecord();
    m_unit = firstRow(company().exec(
        QStringLiteral("SELECT Id, UnitName, Fraction, VolumnFraction, BarCode, PurcPrice, LabourCost FROM ProductUnits "
                       "WHERE Product = :product AND UnitName = :unitName AND (SaleFlag LIKE :sale OR PurcFlag LIKE :purc "
                       "OR StockUnitFlag LIKE :stock OR SmallUnitFlag LIKE :small) ORDER BY Id"),
        {{QStringLiteral("product"), productId},
         {QStringLiteral("unitName"), unitName},
         {QStringLiteral("sale"), kindPattern(kinds, KindSale)},
         {QStringLiteral("purc"), kindPattern(kinds, KindPurchase)},
         {QStringLiteral("stock"), kindPattern(kinds, KindStock)},
         {QStringLiteral("small"), kindPattern(kinds, KindSmall)}}));
    return !m_unit.isEmpty();
}

bool TDmProduct::ExistsProdAttrCode(int attrGroupId, const QString &code)
{
    m_attrCode = QSqlRecord();
    m_attrCode = firstRow(company().exec(
        QStringLiteral("SELECT Id, ProdAttrGroup, Code, Description FROM ProdAttrCode "
                       "WHERE ProdAttrGroup = :attrGroup AND Code = :code ORDER BY Id"),
        {{QStringLiteral("attrGroup"), attrGroupId}, {QStringLiteral("code"), code}}));
    return !m_attrCode.isEmpty();
}

bool TDmProduct::ExistsPartSource(int unitId, int vendorId)
{
    m_partSourceUnit = QSqlRecord();
    m_partSource = QSqlRecord();
    Connection &c = company();
    m_partSourceUnit = firstRow(c.exec(QStringLiteral("SELECT PurcPrice, LabourCost FROM ProductUnits WHERE Id = :unit"),
                                       {{QStringLiteral("unit"), unitId}}));
    m_partSource = firstRow(c.exec(
        QStringLiteral("SELECT Id, Price, PurchaseCode, PurchaseName, DiscountStr, lastprice, lastdoccode, lastdocno, lastdate "
                       "FROM PartSource WHERE ProductUnits = :unit AND Vendor = :vendor ORDER BY Id"),
        {{QStringLiteral("unit"), unitId}, {QStringLiteral("vendor"), vendorId}}));
    return !m_partSource.isEmpty();
}
