#include "TFaGetProvince.h"
#include "TCodeLookupEdit.h"
#include "TFrSearch.h"
#include <QToolButton>

TFaGetProvince::TFaGetProvince(QWidget *parent) : TFaGetBase(parent)
{
    setCaption(QStringLiteral("จังหวัด"));
    BtSearch->setToolTip(QStringLiteral("ค้นหาจังหวัด"));
    EdCode->K_LookupTableName = QStringLiteral("MISC");
    EdCode->K_LookupIDField = QStringLiteral("Id");
    EdCode->K_LookupEditField = QStringLiteral("CODE");
    EdCode->K_DescriptionField = QStringLiteral("Description");
    EdCode->K_Filter = QStringLiteral("GroupCode = :misc_group");
    EdCode->K_FilterParams = {{QStringLiteral("misc_group"), QStringLiteral("CITY")}};
    EdCode->K_AllowNull = true;
}

TFrSearch *TFaGetProvince::createLookup()
{
    auto *d = new TF_SearchMisc(window());
    d->GroupCode = QStringLiteral("CITY");
    d->setWindowTitle(QStringLiteral("ค้นหา รายชื่อจังหวัด"));
    return d;
}
