#pragma once
#include <QSqlRecord>
#include <QString>

// Product look-ups shared by several modules: each operation runs one
// parameterised query on the company connection, answers whether the row was
// found and keeps that row readable until the next call of the same operation.
// Different operations keep their rows apart.
class TDmProduct
{
public:
    TDmProduct();
    ~TDmProduct();
    static TDmProduct *instance();

    // Unit kinds for ExistsProductUnit, combined as a bit set.
    static constexpr int KindSale = 1;
    static constexpr int KindPurchase = 2;
    static constexpr int KindStock = 4;
    static constexpr int KindSmall = 8;
    static constexpr int KindAny = KindSale | KindPurchase | KindStock | KindSmall;

    // A usable product (not blocked, not a master, with a valid tax code) of this
    // code. With the company's CheckUserWarehouseFlag "Y" the default warehouse's
    // columns are empty unless it is one of the signed-in user's warehouses;
    // otherwise the default warehouse must exist.
    bool ExistsProduct(const QString &code);
    // The product has a unit of this name of one of the kinds.
    bool ExistsProductUnit(int productId, const QString &unitName, int kinds);
    bool ExistsProdAttrCode(int attrGroupId, const QString &code);
    // The vendor has a part source for this unit. Found or not, the unit's
    // default PurcPrice and LabourCost are left in PartSourceUnitRow().
    bool ExistsPartSource(int unitId, int vendorId);

    // The rows of the last call of each operation; empty when nothing was found.
    const QSqlRecord &ProductRow() const { return m_product; }
    const QSqlRecord &ProductUnitRow() const { return m_unit; }
    const QSqlRecord &ProdAttrCodeRow() const { return m_attrCode; }
    const QSqlRecord &PartSourceRow() const { return m_partSource; }
    const QSqlRecord &PartSourceUnitRow() const { return m_partSourceUnit; }

private:
    QSqlRecord m_product;
    QSqlRecord m_unit;
    QSqlRecord m_attrCode;
    QSqlRecord m_partSource;
    QSqlRecord m_partSourceUnit;
};
