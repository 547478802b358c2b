#include "TFrSearchContract.h"
#include "PagedQueryModel.h"
#include "core/FormatFloat.h"
#include "services/TDM.h"
#include "session/UserDialogs.h"
#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QTableView>

namespace {

// Olive for contracts not continued (the model itself draws cancelled ones red),
// and the amount in the money mask.
class ContractDelegate : public QStyledItemDelegate
{
public:
    ContractDelegate(TFrSearchContract *owner) : QStyledItemDelegate(owner), m_owner(owner) {}

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const PagedQueryModel *m = m_owner->result();
        const bool cancelled = dbText(m->value(index.row(), QStringLiteral("DelFlag"))).trimmed() == QLatin1String("Y");
        const bool stopped = dbText(m->value(index.row(), QStringLiteral("NotContinue"))).trimmed() == QLatin1String("Y");
        if (!cancelled && stopped) {
            option->backgroundBrush = QColor(128, 128, 0);
            option->palette.setColor(QPalette::Text, Qt::white);
        }
        const QVariant v = m->value(index.row(), index.column());
        // Engines that keep dates as text hand them over as text.
        if (m->record().fieldName(index.column()).contains(QLatin1String("date"), Qt::CaseInsensitive)
            || m->record().fieldName(index.column()).startsWith(QLatin1String("period"), Qt::CaseInsensitive))
            if (v.metaType().id() == QMetaType::QString && dbDate(v).isValid())
            option->text = dbDate(v).toString(QStringLiteral("dd/MM/yyyy"));
        if (m->record().fieldName(index.column()).compare(QLatin1String("Total"), Qt::CaseInsensitive) == 0) {
            bool ok = false;
            const Decimal d = decimalFromVariant(m->value(index.row(), index.column()), &ok);
            if (ok)
                option->text = formatFloat("#,##0.00", d);
            option->displayAlignment = Qt::AlignRight | Qt::AlignVCenter;
        }
    }

private:
    TFrSearchContract *m_owner;
};

} // namespace

TFrSearchContract::TFrSearchContract(QWidget *parent) : TFrSearch(parent)
{
    setWindowTitle(QStringLiteral("ค้นหาใบสัญญา"));
    LbCode->setText(QStringLiteral("สัญญาเลขที่"));
    resize(820, 460);

    auto *row = new QHBoxLayout;
    auto box = [this, row](const QString &caption, const QString &name, bool upper) {
        auto *l = new QLabel(caption, this);
        auto *e = new QLineEdit(this);
        e->setObjectName(name);
        if (upper)
            makeUpperCase(e);
        l->setBuddy(e);
        row->addWidget(l);
        row->addWidget(e, 1);
        return e;
    };
    EdCustomerCode = box(QStringLiteral("รหัสลูกค้า"), QStringLiteral("EdCustomerCode"), true);
    EdContractType = box(QStringLiteral("ประเภทสัญญา"), QStringLiteral("EdContractType"), true);
    EdInstallSite = box(QStringLiteral("สถานที่ติดตั้ง"), QStringLiteral("EdInstallSite"), false);
    FilterArea->addLayout(row);
    setTabOrder(Code, EdCustomerCode);
    setTabOrder(EdCustomerCode, EdContractType);
    setTabOrder(EdContractType, EdInstallSite);

    SQL = {QStringLiteral("Select H.Id, H.DelFlag, H.NotContinue, H.ContractNo, H.ContractDate, H.PeriodStart, H.PeriodStop, H.Total,"
                          " R.ContractNo As RefContractNo, Substr(C.Name, 1, 40) As Name, H.CancelRemark, H.NotContinueRemark"),
           QStringLiteral("From ContractHd H Inner Join Customer C On C.Id = H.Customer"),
           QStringLiteral("Left Join ContractHd R On R.Id = H.RefContracthd"), QStringLiteral("Where 1 = 1"),
           QStringLiteral("Order By H.ContractNo Desc")};
    setGridColumns({{QStringLiteral("ContractNo"), QStringLiteral("สัญญาเลขที่")},
                    {QStringLiteral("ContractDate"), QStringLiteral("วันที่")},
                    {QStringLiteral("PeriodStart"), QStringLiteral("วันเริ่มสัญญา")},
                    {QStringLiteral("PeriodStop"), QStringLiteral("วันที่สิ้นสุด")},
                    {QStringLiteral("Total"), QStringLiteral("จำนวนเงิน")},
                    {QStringLiteral("RefContractNo"), QStringLiteral("เลขสัญญาเดิม")},
                    {QStringLiteral("Name"), QStringLiteral("ชื่อลูกค้า")}});
    setSearchOnShow(true);
    DgSearch->setItemDelegate(new ContractDelegate(this));
    DgSearch->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DgSearch, &QTableView::clicked, this, [this](const QModelIndex &i) { DgSearch->setToolTip(rowTip(i.row())); });
    connect(DgSearch, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("แสดงสาเหตุยกเลิก"), this, &TFrSearchContract::showCancelRemark);
        menu.addAction(QStringLiteral("แสดงสาเหตุไม่ต่อสัญญา"), this, &TFrSearchContract::showNotContinueRemark);
        menu.exec(DgSearch->viewport()->mapToGlobal(at));
    });
}

void TFrSearchContract::FormShow()
{
    KeyFieldName = QStringLiteral("ContractNo");
    DocTableName = QStringLiteral("ContractHd");
    EdCustomerCode->setText(CustomerCode.trimmed());
    EdContractType->setText(ContractType == QLatin1String("%") ? QString() : ContractType);
    EdInstallSite->clear();
    DgSearch->setToolTip(QString());
}

void TFrSearchContract::prepareSearch()
{
    Conditions.clear();
    Conditions.add(QStringLiteral("H.ContractNo Like ?"), {Code->text().trimmed() + QLatin1Char('%')});
    Conditions.add(QStringLiteral("C.Code Like ?"), {EdCustomerCode->text().trimmed() + QLatin1Char('%')});
    Conditions.add(QStringLiteral("Coalesce(H.ContractType, '') Like ?"), {EdContractType->text().trimmed() + QLatin1Char('%')});
    const QString site = EdInstallSite->text().trimmed();
    if (!site.isEmpty()) {
        const QString like = QLatin1Char('%') + site + QLatin1Char('%');
        Conditions.add(QStringLiteral("(H.InstallSite1 Like ?) Or (H.InstallSite2 Like ?)"), {like, like});
    }
}

bool TFrSearchContract::rowFlag(int row, const QString &column) const
{
    return row >= 0 && dbText(result()->value(row, column)).trimmed() == QLatin1String("Y");
}

QString TFrSearchContract::rowTip(int row) const
{
    if (rowFlag(row, QStringLiteral("DelFlag")))
        return QStringLiteral("สาเหตุยกเลิก = ") + dbText(result()->value(row, QStringLiteral("CancelRemark")));
    if (rowFlag(row, QStringLiteral("NotContinue")))
        return QStringLiteral("สาเหตุไม่ต่อสัญญา = ") + dbText(result()->value(row, QStringLiteral("NotContinueRemark")));
    return {};
}

void TFrSearchContract::showCancelRemark()
{
    if (rowFlag(currentRow(), QStringLiteral("DelFlag")))
        ShowMessage(dbText(currentValue(QStringLiteral("CancelRemark"))));
}

void TFrSearchContract::showNotContinueRemark()
{
    if (rowFlag(currentRow(), QStringLiteral("NotContinue")))
        ShowMessage(dbText(currentValue(QStringLiteral("NotContinueRemark"))));
}

bool TFrSearchContract::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == DgSearch->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto *m = static_cast<QMouseEvent *>(event);
        const auto all = Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier;
        if (m->button() == Qt::LeftButton && m->buttons() == Qt::LeftButton && (m->modifiers() & ~Qt::KeypadModifier) == all) {
            const QModelIndex at = DgSearch->indexAt(m->position().toPoint());
            if (at.isValid()) {
                DgSearch->setCurrentIndex(at);
                DgSearch->selectRow(at.row());
                purgeContract();
            }
            return true;
        }
        // This gesture replaces the base's right-click purge.
        if (m->button() == Qt::RightButton)
            return QDialog::eventFilter(watched, event);
    }
    return TFrSearch::eventFilter(watched, event);
}

void TFrSearchContract::purgeContract()
{
    const qint64 id = currentValue(QStringLiteral("Id")).toLongLong();
    if (id <= 0 || !rowFlag(currentRow(), QStringLiteral("DelFlag")))
        return;
    TDM *dm = TDM::instance();
    if (!dm->Confirm(QStringLiteral("Confirm Delete #1/2 ?")) || !dm->Confirm(QStringLiteral("Confirm Delete #2/2 ?")))
        return;
    // The contract goes with all its lines or not at all.
    Connection &c = connection();
    try {
        Transaction tx(c);
        const Params p{{QStringLiteral("id"), id}};
        c.exec(QStringLiteral("Delete From ContractDt2 Where ContractHd = :id"), p);
        c.exec(QStringLiteral("Delete From ContractDt Where ContractHd = :id"), p);
        c.exec(QStringLiteral("Delete From ContractPayPeriod Where ContractHd = :id"), p);
        c.exec(QStringLiteral("Delete From ContractHd Where Id = :id"), p);
        tx.commit();
    } catch (const DbError &e) {
        ShowError(e.message());
    }
    Search();
}
