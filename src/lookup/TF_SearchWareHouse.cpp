#include "TF_SearchWareHouse.h"
#include "services/TDM.h"
#include "session/TDMConfig.h"
#include <QLabel>
#include <QLineEdit>

TF_SearchWareHouse::TF_SearchWareHouse(QWidget *parent) : TFrSearch(parent)
{
    LbCode->setText(QStringLiteral("ค้นหา รหัสหรือชื่อ"));
    setFilterUpperCase(false);
    SQL = {QStringLiteral("Select Id, code, name, blocked, IsLocation From warehouse"), QStringLiteral("Where 1 = 1"),
           QStringLiteral("Order By code")};
    setGridColumns({{QStringLiteral("code"), QStringLiteral("รหัส")}, {QStringLiteral("name"), QStringLiteral("รายละเอียด")}});
    setSearchOnShow(true);
}

void TF_SearchWareHouse::FormShow()
{
    setWindowTitle(isThai() ? QStringLiteral("ค้นหาตำแหน่งเก็บ") : QStringLiteral("Searching WareHouse"));
    KeyFieldName = QStringLiteral("Code");
}

void TF_SearchWareHouse::prepareSearch()
{
    Conditions.clear();
    if (ActiveOnly)
        Conditions.add(QStringLiteral("Coalesce(blocked, 'N') = 'N'"));
    if (LocationFilter == 1)
        Conditions.add(QStringLiteral("Coalesce(IsLocation, 'N') = 'N'"));
    else if (LocationFilter == 2)
        Conditions.add(QStringLiteral("Coalesce(IsLocation, 'N') = 'Y'"));
    const QString t = Code->text().trimmed();
    if (!t.isEmpty()) {
        // Codes are kept in upper case; a code typed in lower case still finds its warehouse.
        const QString like = QLatin1Char('%') + t + QLatin1Char('%');
        Conditions.add(QStringLiteral("(Upper(code) Like ?) Or (name Like ?)"), {like.toUpper(), like});
    }
    if (ActiveOnly && dbText(TDM::instance()->config(QStringLiteral("CheckUserWarehouseFlag"))).trimmed() == QLatin1String("Y"))
        Conditions.add(QStringLiteral("Id In (Select Warehouse From UserWarehouse Where UserName = ?)"), {TDMConfig::instance()->UserId});
}

QHash<QString, QString> TF_SearchWareHouse::englishTexts() const
{
    return {
        {QStringLiteral("ค้นหา รหัสหรือชื่อ"), QStringLiteral("Search Code or Name")},
        {QStringLiteral("รหัส"), QStringLiteral("Code")},
        {QStringLiteral("รายละเอียด"), QStringLiteral("Description")},
    };
}
