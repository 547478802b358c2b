#include "TFrSearchJobTran.h"
#include "PagedQueryModel.h"
#include "TCodeLookupEdit.h"
#include "TFaGetCustomer.h"
#include "edit/EditWidgets.h"
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {
// Engines that keep dates as text hand them over as text; they show as dates.
class DateTextDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const auto *m = qobject_cast<const PagedQueryModel *>(index.model());
        const QVariant v = index.data(Qt::DisplayRole);
        if (m && m->record().fieldName(index.column()).contains(QLatin1String("date"), Qt::CaseInsensitive)
            && v.metaType().id() == QMetaType::QString && dbDate(v).isValid())
            option->text = dbDate(v).toString(QStringLiteral("dd/MM/yyyy"));
    }
};
} // namespace

TFrSearchJobTran::TFrSearchJobTran(QWidget *parent) : TFrSearch(parent)
{
    setWindowTitle(QStringLiteral("ค้นหาเอกสาร"));
    LbCode->setText(QStringLiteral("เลขที่"));
    resize(760, 560);

    auto *g = new QGridLayout;
    FaCustomer = new TFaGetCustomer(this);
    FaCustomer->setObjectName(QStringLiteral("FaCustomer"));
    EdTitle = new QLineEdit(this);
    EdTitle->setObjectName(QStringLiteral("EdTitle"));
    EdAttn = new QLineEdit(this);
    EdAttn->setObjectName(QStringLiteral("EdAttn"));
    EdDate1 = new DateEdit(this);
    EdDate1->setObjectName(QStringLiteral("EdDate1"));
    EdDate2 = new DateEdit(this);
    EdDate2->setObjectName(QStringLiteral("EdDate2"));
    for (DateEdit *d : {EdDate1, EdDate2})
        d->setMaximumWidth(110);
    g->addWidget(FaCustomer, 0, 0, 1, 4);
    g->addWidget(new QLabel(QStringLiteral("หัวเรื่อง"), this), 1, 0);
    g->addWidget(EdTitle, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("ผู้แจ้ง"), this), 1, 2);
    g->addWidget(EdAttn, 1, 3);
    auto *dates = new QHBoxLayout;
    dates->addWidget(EdDate1);
    dates->addWidget(new QLabel(QStringLiteral("ถึง"), this));
    dates->addWidget(EdDate2);
    dates->addStretch(1);
    g->addWidget(new QLabel(QStringLiteral("วันที่"), this), 2, 0);
    g->addLayout(dates, 2, 1, 1, 3);
    FilterArea->addLayout(g);

    // The two texts of the current row under the grid.
    auto *memos = new QHBoxLayout;
    auto memo = [this, memos](const QString &caption, const QString &name) {
        auto *box = new QVBoxLayout;
        box->addWidget(new QLabel(caption, this));
        auto *m = new QPlainTextEdit(this);
        m->setObjectName(name);
        m->setReadOnly(true);
        m->setFocusPolicy(Qt::NoFocus);
        m->setMaximumHeight(90);
        box->addWidget(m);
        memos->addLayout(box);
        return m;
    };
    MmJobDetail = memo(QStringLiteral("ปัญหา/ข้อเสนอแนะ"), QStringLiteral("MmJobDetail"));
    MmFixDetail = memo(QStringLiteral("คำตอบ/วิธีแก้ไข"), QStringLiteral("MmFixDetail"));
    static_cast<QVBoxLayout *>(layout())->addLayout(memos);

    setTabOrder(Code, FaCustomer->EdCode);
    setTabOrder(FaCustomer->EdCode, EdTitle);
    setTabOrder(EdTitle, EdAttn);
    setTabOrder(EdAttn, EdDate1);
    setTabOrder(EdDate1, EdDate2);

    SQL = {QStringLiteral("Select J.Id, J.DelFlag, J.JobNo, J.JobDate, Substr(J.JobTitle, 1, 20) As JobTitle, Substr(C.Name, 1, 20) As Name,"
                          " Substr(J.CusAttn, 1, 15) As CusAttn, J.JobAppDate, J.JobDetail, J.FixDetail"),
           // A matter without a customer is listed too.
           QStringLiteral("From jobtran J Left Join Customer C On C.Id = J.Customer"), QStringLiteral("Where J.JobType = :JobType"),
           QStringLiteral("Order By J.JobNo")};
    setGridColumns({{QStringLiteral("JobNo"), QStringLiteral("เลขที่")},
                    {QStringLiteral("JobDate"), QStringLiteral("วันที่")},
                    {QStringLiteral("JobTitle"), QStringLiteral("หัวเรื่อง")},
                    {QStringLiteral("Name"), QStringLiteral("ชื่อลูกค้า")},
                    {QStringLiteral("CusAttn"), QStringLiteral("ผู้แจ้ง")},
                    {QStringLiteral("JobAppDate"), QStringLiteral("วันนัดแก้ไข")}});
    DgSearch->setItemDelegate(new DateTextDelegate(this));
    connect(result(), &QAbstractItemModel::modelReset, this, [this] { showMemos(); });
    connect(DgSearch->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { showMemos(); });
}

void TFrSearchJobTran::FormShow()
{
    KeyFieldName = QStringLiteral("JobNo");
    DocTableName = QStringLiteral("JobTran");
    EdDate1->setDate(QDate());
    EdDate2->setDate(QDate());
    showMemos();
}

void TFrSearchJobTran::prepareSearch()
{
    for (DateEdit *d : {EdDate1, EdDate2})
        if (d->hasFocus())
            d->commitEdit();
    Parameters = {{QStringLiteral("JobType"), JobType}};
    Conditions.clear();
    Conditions.add(QStringLiteral("J.JobNo Like ?"), {Code->text().trimmed() + QLatin1Char('%')});
    if (FaCustomer->id() > 0)
        Conditions.add(QStringLiteral("J.Customer = ?"), {FaCustomer->id()});
    const QString title = EdTitle->text().trimmed();
    if (!title.isEmpty())
        Conditions.add(QStringLiteral("J.JobTitle Like ?"), {QLatin1Char('%') + title + QLatin1Char('%')});
    const QString attn = EdAttn->text().trimmed();
    if (!attn.isEmpty())
        Conditions.add(QStringLiteral("J.CusAttn Like ?"), {QLatin1Char('%') + attn + QLatin1Char('%')});
    if (EdDate1->date().isValid())
        Conditions.add(QStringLiteral("J.JobDate >= ?"), {EdDate1->date()});
    if (EdDate2->date().isValid())
        Conditions.add(QStringLiteral("J.JobDate <= ?"), {EdDate2->date()});
}

void TFrSearchJobTran::showMemos()
{
    MmJobDetail->setPlainText(dbText(currentValue(QStringLiteral("JobDetail"))));
    MmFixDetail->setPlainText(dbText(currentValue(QStringLiteral("FixDetail"))));
}
