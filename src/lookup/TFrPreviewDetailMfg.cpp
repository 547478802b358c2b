#include "TFrPreviewDetailMfg.h"
#include "PagedQueryModel.h"
#include "core/Decimal.h"
#include "services/TDM.h"
#include "session/UserDialogs.h"
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// Ordered and finished quantities of work order H, in the product's smallest unit.
const QString orderedQty = QStringLiteral("H.Quantity * Coalesce(U.Fraction, 1)");
const QString finishedQty = QStringLiteral("Coalesce((Select Sum(F.Quantity * F.Fraction) From MFGFinishDt F"
                                        " Where F.WorkOrderHd = H.Id And F.Product = H.Product), 0)");
const QString totalMask = QStringLiteral("#,##0.##;-#,##0.##");
} // namespace

TFrPreviewDetailMfg::TFrPreviewDetailMfg(QWidget *parent) : TFrSearch(parent)
{
    setWindowTitle(QStringLiteral("รายละเอียดการสั่งผลิด"));
    resize(900, 460);
    for (QWidget *w : {static_cast<QWidget *>(LbCode), static_cast<QWidget *>(Code), static_cast<QWidget *>(BtSearch),
                       static_cast<QWidget *>(BtOk)})
        w->hide();
    LbProduct = new QLabel(this);
    LbProduct->setObjectName(QStringLiteral("LbProduct"));
    FilterArea->addWidget(LbProduct);
    auto *totals = new QVBoxLayout;
    for (QLabel **l : {&LbTotalWork, &LbTotalFinished, &LbTotalRemain}) {
        *l = new QLabel(this);
        (*l)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        totals->addWidget(*l);
    }
    LbTotalWork->setObjectName(QStringLiteral("LbTotalWork"));
    LbTotalFinished->setObjectName(QStringLiteral("LbTotalFinished"));
    LbTotalRemain->setObjectName(QStringLiteral("LbTotalRemain"));
    static_cast<QVBoxLayout *>(layout())->addLayout(totals);

    // Work orders made for stock have neither customer nor sales order: outer joins,
    // so that they are listed and counted too.
    SQL = {QStringLiteral("Select H.Id, H.WorkDate, H.WorkOrderNo, S.SoNo, C.Code CusCode, C.Name CusName,"),
           orderedQty + QStringLiteral(" WorkQnty, ") + finishedQty + QStringLiteral(" FinishedQnty, ") + orderedQty + QStringLiteral(" - ") + finishedQty
               + QStringLiteral(" WorkQntyOnHand"),
           QStringLiteral("From WorkOrderHd H Inner Join Product P On P.Id = H.Product"),
           QStringLiteral("Left Join ProductUnits U On U.Id = H.ProductUnits"),
           QStringLiteral("Left Join Customer C On C.Id = H.Customer"),
           QStringLiteral("Left Join SoHd S On S.Id = H.SoHd"),
           QStringLiteral("Where (Coalesce(H.Clear,'N') <> 'Y') And (Coalesce(H.Delflag,'N') = 'N') And (P.Code = :ProductCode)"),
           QStringLiteral("Order By P.Code, H.WorkDate")};
    setGridColumns({{QStringLiteral("WorkDate"), QStringLiteral("วันที่สั่งผลิต")}, {QStringLiteral("WorkOrderNo"), QStringLiteral("เลขที่สั่งผลิต")},
                    {QStringLiteral("SoNo"), QStringLiteral("เลขที่สั่งขาย")}, {QStringLiteral("CusCode"), QStringLiteral("รหัสลูกค้า")},
                    {QStringLiteral("CusName"), QStringLiteral("ชื่อลูกค้า")}, {QStringLiteral("WorkQnty"), QStringLiteral("จำนวนสั่งผลิต")},
                    {QStringLiteral("FinishedQnty"), QStringLiteral("จำนวนผลิตเสร็จ")},
                    {QStringLiteral("WorkQntyOnHand"), QStringLiteral("จำนวนคงค้าง")}});
    for (const char *q : {"WorkQnty", "FinishedQnty", "WorkQntyOnHand"})
        result()->setColumnFormat(QLatin1String(q), totalMask);
    setSearchOnShow(true);
}

void TFrPreviewDetailMfg::FormShow()
{
    KeyFieldName = QStringLiteral("WorkOrderNo");
    // The base names the buttons on show; this window only closes.
    BtCancel->setText(QStringLiteral("Close"));
    Code->clearFocus();
    QString name;
    try {
        name = dbText(connection().scalar(QStringLiteral("Select ThaiName From Product Where Code = :c"),
                                          {{QStringLiteral("c"), ProductCode.trimmed()}}));
    } catch (const DbError &e) {
        ShowError(e.message());
    }
    LbProduct->setText((isThai() ? QStringLiteral("รหัสสินค้า : ") : QStringLiteral("Product Code : ")) + ProductCode.trimmed()
                       + (isThai() ? QStringLiteral("   ชื่อสินค้า : ") : QStringLiteral("   Product Name : ")) + name);
}

QHash<QString, QString> TFrPreviewDetailMfg::englishTexts() const
{
    return {
        {QStringLiteral("รายละเอียดการสั่งผลิด"), QStringLiteral("Production Detail")},
        {QStringLiteral("วันที่สั่งผลิต"), QStringLiteral("Order Date")},
        {QStringLiteral("เลขที่สั่งผลิต"), QStringLiteral("Work Order No.")},
        {QStringLiteral("เลขที่สั่งขาย"), QStringLiteral("Sales Order No.")},
        {QStringLiteral("รหัสลูกค้า"), QStringLiteral("Customer Code")},
        {QStringLiteral("ชื่อลูกค้า"), QStringLiteral("Customer Name")},
        {QStringLiteral("จำนวนสั่งผลิต"), QStringLiteral("Ordered")},
        {QStringLiteral("จำนวนผลิตเสร็จ"), QStringLiteral("Finished")},
        {QStringLiteral("จำนวนคงค้าง"), QStringLiteral("Outstanding")},
    };
}

void TFrPreviewDetailMfg::prepareSearch()
{
    Parameters = {{QStringLiteral("ProductCode"), ProductCode.trimmed()}};
    Conditions.clear();
    showTotals();
}

void TFrPreviewDetailMfg::showTotals()
{
    QString unit;
    Decimal sums[3] = {Decimal(0), Decimal(0), Decimal(0)};
    try {
        unit = dbText(connection().scalar(
                   QStringLiteral("Select Min(X.UnitName) From ProductUnits X Inner Join Product P On P.Id = X.Product Where P.Code = :ProductCode"
                                  " And X.Fraction = (Select Min(Y.Fraction) From ProductUnits Y Where Y.Product = P.Id)"),
                   Parameters))
                   .trimmed();
        auto q = connection().exec(QStringLiteral("Select Sum(WorkQnty), Sum(FinishedQnty), Sum(WorkQntyOnHand) From (\n") + composedSql(false)
                                       + QStringLiteral("\n) work_orders"),
                                   Parameters);
        if (q.next())
            for (int i = 0; i < 3; ++i)
                if (!q.value(i).isNull()) {
                    bool ok = false;
                    sums[i] = Decimal::fromString(q.value(i).toString().trimmed(), &ok);
                    if (!ok)
                        sums[i] = Decimal::fromDouble(q.value(i).toDouble(), 6);
                }
    } catch (const DbError &e) {
        ShowError(e.message());
    }
    auto text = [&](const char *caption, const Decimal &d) {
        return QString::fromUtf8(caption) + PagedQueryModel::numberText(d.toString(), totalMask) + QLatin1Char(' ') + unit;
    };
    const bool thai = isThai();
    LbTotalWork->setText(text(thai ? "จำนวนสั่งผลิต รวม : " : "Total Ordered : ", sums[0]));
    LbTotalFinished->setText(text(thai ? "จำนวนผลิตเสร็จ รวม : " : "Total Finished : ", sums[1]));
    LbTotalRemain->setText(text(thai ? "จำนวนคงค้าง รวม : " : "Total Outstanding : ", sums[2]));
}
