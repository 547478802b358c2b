#include "TFrSearchUser.h"
#include "session/TDMConfig.h"
#include <QLabel>
#include <QLineEdit>

TFrSearchUser::TFrSearchUser(QWidget *parent) : TFrSearch(parent)
{
    setFilterUpperCase(false);
    SQL = {QStringLiteral("Select Id, code, fullname, active From username"), QStringLiteral("Where 1 = 1"), QStringLiteral("Order By code")};
}

Connection &TFrSearchUser::connection() { return TDMConfig::instance()->DmCfg(); }

void TFrSearchUser::FormShow()
{
    const bool thai = isThai();
    setWindowTitle(thai ? QStringLiteral("ค้นหาผู้ใช้งาน") : QStringLiteral("Searching User ID"));
    LbCode->setText(thai ? QStringLiteral("ชื่อ") : QStringLiteral("Name"));
    setGridColumns({{QStringLiteral("code"), thai ? QStringLiteral("รหัส") : QStringLiteral("User ID")},
                    {QStringLiteral("fullname"), thai ? QStringLiteral("ชื่อผู้ใช้งาน") : QStringLiteral("User Name")}});
    // Callers name the key; the user code when they do not.
    if (KeyFieldName.isEmpty())
        KeyFieldName = QStringLiteral("Code");
}

void TFrSearchUser::prepareSearch()
{
    Conditions.clear();
    const QString t = Code->text().trimmed();
    if (!t.isEmpty())
        Conditions.add(QStringLiteral("fullname Like ?"), {t + QLatin1Char('%')});
}
