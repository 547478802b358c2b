#pragma once
#include "TDmProduct.h"
#include "core/Decimal.h"
#include "db/Connection.h"
#include <QColor>
#include <QDateTime>
#include <QPointer>
#include <QSqlRecord>
#include <QVector>
#include <QWidget>
#include <memory>

// The company data module: the company connection and the services every module
// window shares (confirmation, document numbers, action log, server time).
class TDM
{
public:
    TDM();
    ~TDM();
    static TDM *instance();

    // Action codes passed to the action log.
    static constexpr int LogNew = 1;
    static constexpr int LogModify = 2;
    static constexpr int LogDelete = 3;
    static constexpr int LogPrint = 5;
    static constexpr int LogPreview = 10;

    Connection &DMDATA() { return *m_data; }

    QString CompanyDbName;
    int MainCurrencyId = 0;
    QString MainCurrencyName;
    bool AutoRunFlag = false;
    QColor DialogColor;
    // Remembered search texts of the look-up dialogs.
    QString LastProductName;
    QString LastProductSearch;
    QString LastCustomerName;
    QString LastVendorName;

    // The company name as given on the command line (trimmed on connect).
    void setCompanyArgument(const QString &arg) { m_companyArgument = arg; }
    // The window to destroy once the company database is reached.
    void setSplash(QWidget *splash) { m_splash = splash; }
    void destroySplash();

    // The configuration row (Config plus MainCurrencyCode and MainCurrencyName).
    const QSqlRecord &ConfigRow();
    QVariant config(const QString &field);
    void ReopenConfig();
    const QVector<QSqlRecord> &CurrencyList() { ensureOpen(); return m_currencies; }
    const QVector<QSqlRecord> &AccountPeriods() { ensureOpen(); return m_periods; }

    bool Confirm(const QString &message);
    QString GetNewDocumentNo(const QString &docCode, const QDate &docDate);
    int GetDocumentLength(const QString &docCode);
    void AddActionLog(int functionListId, int documentId, const QString &remark);
    QDateTime GetServerTime();

    // --- Quantity and unit formatting (TDMQuantity.cpp) ---
    // Quantities as the warehouse reads them, from the unit's ProductUnits row and
    // the configuration row's OnhandDecimal, UnitLeft and UnitRight. Quantities are
    // exact decimals; the double overloads take the shortest text of the double.
    // A unit id without a row (or whose product has no small unit) gives a text
    // ending in "ERROR", never an exception.

    // A quantity in small units as large units and the remaining small units:
    // "2  โหล  6.00  ชิ้น".
    QString FormatOnhand(int unitId, const Decimal &quantity);
    QString FormatOnhand(int unitId, double quantity);
    // One part of the same: 1 = the large units, 2 = the remaining small units.
    QString FormatOnhandPart(int unitId, int part, const Decimal &quantity);
    QString FormatOnhandPart(int unitId, int part, double quantity);
    // A quantity of the given unit as stock units with a vulgar fraction:
    // "2;1/2  โหล". A product without a stock unit, or a stock unit of fraction 0,
    // gives NoStockUnitText or StockUnitWithoutFractionText.
    QString FormatStockFraction(int unitId, const Decimal &quantity);
    QString FormatStockFraction(int unitId, double quantity);
    static const QString NoStockUnitText;
    static const QString StockUnitWithoutFractionText;

    void DMdataBeforeConnect(Connection &c);
    void DMdataAfterConnect(Connection &c);

private:
    void ensureOpen();
    void reopenCurrencies();

    std::unique_ptr<Connection> m_data;
    QString m_companyArgument;
    QPointer<QWidget> m_splash;
    QSqlRecord m_config;
    bool m_configOpen = false;
    QVector<QSqlRecord> m_currencies;
    QVector<QSqlRecord> m_periods;
};
