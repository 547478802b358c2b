#include "TFrSearchWareHouse.h"
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

TFrSearchWareHouse::TFrSearchWareHouse(QWidget *parent) : TFrSearch(parent)
{
    setWindowTitle(QStringLiteral("ค้นหารหัสคลังสินค้า"));
    SQL = {QStringLiteral("Select Id, Code, Name From warehouse"), QStringLiteral("Where 1 = 1")};
    setGridColumns({{QStringLiteral("Code"), QStringLiteral("รหัส")}, {QStringLiteral("Name"), QStringLiteral("ชื่อคลังสินค้า")}});
    Code->installEventFilter(this);
}

void TFrSearchWareHouse::FormShow() { KeyFieldName = QStringLiteral("Code"); }

void TFrSearchWareHouse::prepareSearch()
{
    Conditions.clear();
    const QString t = Code->text().trimmed();
    if (!t.isEmpty())
        Conditions.add(QStringLiteral("Code Like ?"), {t + QLatin1Char('%')});
}

bool TFrSearchWareHouse::eventFilter(QObject *watched, QEvent *event)
{
    // Leaving the box for the grid or a button lists the warehouses; closing does not.
    if (watched == Code && event->type() == QEvent::FocusOut && isVisible()) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::MouseFocusReason)
            Search();
    }
    return TFrSearch::eventFilter(watched, event);
}

QHash<QString, QString> TFrSearchWareHouse::englishTexts() const
{
    return {
        {QStringLiteral("ค้นหารหัสคลังสินค้า"), QStringLiteral("Search Warehouse Code")},
        {QStringLiteral("รหัส"), QStringLiteral("Code")},
        {QStringLiteral("ชื่อคลังสินค้า"), QStringLiteral("Warehouse Name")},
    };
}
