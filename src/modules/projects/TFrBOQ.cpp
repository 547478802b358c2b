#include "TFrBOQ.h"
#include "db/DbError.h"
#include "db/Dialect.h"
#include "lookup/LookupSupport.h"
#include "lookup/TCodeLookupEdit.h"
#include "lookup/TFaGetProject.h"
#include "lookup/TFrSearchProductService.h"
#include "lookup/TFrSearchUnit.h"
#include "lookup/TFrSearchVendor.h"
#include "lookup/edit/CachedGridModel.h"
#include "lookup/edit/CellEditors.h"
#include "lookup/edit/EditSupport.h"
#include "lookup/edit/EditWidgets.h"
#include "lookup/edit/RecordBuffer.h"
#include "services/TDM.h"
#include "services/TDmProduct.h"
#include "session/TDMConfig.h"
#include "session/UserDialogs.h"
#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

namespace {

Connection &db() { return TDM::instance()->DMDATA(); }

using Kind = CachedGridModel::Kind;

const QString AmountMask = QStringLiteral("#,##0.00");
// Price, labour and the amounts keep the six decimals of their columns, the
// quantity two.
constexpr int AmountScale = 6;
constexpr int QuantityScale = 2;

const QString JobSql = QStringLiteral("Select Id, Project, Code, Description, Amount From ProjectItemHD Where (Project = :ProjectId) Order By Code, Id");

const QString LineSql = QStringLiteral(
    "Select D.Id, D.ProjectItemHD, D.DetailType, D.ItemOrderNo, D.Product, D.Description, D.Vendor, D.Quantity, D.ProductUnits,"
    " D.Price, D.Labour, D.AmountM, D.AmountL, D.Total, D.StartUseDate, D.StopUseDate, D.UnitsAs,"
    " Trim(P.Code) As PCode, P.ThaiName, Trim(U.UnitName) As UnitName, Trim(V.Code) As VCode"
    " From ProjectItemDt D"
    " Left Join Product P On P.Id = D.Product"
    " Left Join ProductUnits U On U.Id = D.ProductUnits"
    " Left Join Vendor V On V.Id = D.Vendor"
    " Where D.ProjectItemHD = :JobId"
    " Order By D.ItemOrderNo, D.Id");

// Every column a line writes, in the order of the statements.
const QStringList &writtenColumns()
{
    static const QStringList c = {"ProjectItemHD", "DetailType", "ItemOrderNo", "Product", "Description", "Vendor", "Quantity", "ProductUnits",
                                  "Price", "Labour", "AmountM", "AmountL", "Total", "StartUseDate", "StopUseDate", "UnitsAs"};
    return c;
}

QString insertSql()
{
    QStringList marks;
    for (const QString &c : writtenColumns())
        marks << QLatin1Char(':') + c;
    return QStringLiteral("Insert Into ProjectItemDt (") + writtenColumns().join(QStringLiteral(", ")) + QStringLiteral(") Values (")
        + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
}

QString updateSql()
{
    QStringList sets;
    for (const QString &c : writtenColumns())
        sets << c + QStringLiteral(" = :") + c;
    return QStringLiteral("Update ProjectItemDt Set ") + sets.join(QStringLiteral(", ")) + QStringLiteral(" Where Id = :OLD_Id");
}

const QString DeleteSql = QStringLiteral("Delete From ProjectItemDt Where Id = :OLD_Id");

CachedGridModel::Statements lineStatements()
{
    CachedGridModel::Statements s;
    s.insert = [](Connection &c, const CachedGridModel::Row &r) {
        static const QString sql = insertSql();
        return QVariant(c.insertReturningId(sql, r.paramsFor(sql)));
    };
    s.update = [](Connection &c, const CachedGridModel::Row &r) {
        static const QString sql = updateSql();
        c.exec(sql, r.paramsFor(sql));
    };
    s.remove = [](Connection &c, const CachedGridModel::Row &r) { c.exec(DeleteSql, r.paramsFor(DeleteSql)); };
    return s;
}

bool blank(const QVariant &v) { return v.isNull() || !v.isValid() || dbText(v).trimmed().isEmpty(); }

QVariant decimalValue(const Decimal &d) { return QVariant::fromValue(d); }

// The fixed first column: painted like a header, never edited.
class FixedCellDelegate : public QlxCellDelegate
{
public:
    using QlxCellDelegate::QlxCellDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QlxCellDelegate::initStyleOption(option, index);
        option->backgroundBrush = option->palette.button();
        option->displayAlignment = Qt::AlignCenter;
    }
};


// The line text: no longer than its column.
class TextCellDelegate : public QlxCellDelegate
{
public:
    using QlxCellDelegate::QlxCellDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QWidget *w = QlxCellDelegate::createEditor(parent, option, index);
        if (auto *e = qobject_cast<QLineEdit *>(w))
            e->setMaxLength(250);
        return w;
    }
};

// Quantity, price and labour: an empty value becomes 0 as the box is entered.
// Enter in the last of them on the last line asks for a new line.
class AmountCellDelegate : public DecimalCellDelegate
{
public:
    using DecimalCellDelegate::DecimalCellDelegate;
    std::function<void(int row)> enterPastEnd;

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        const QVariant v = index.data(Qt::EditRole);
        if (v.isNull() || !v.isValid())
            static_cast<QLineEdit *>(editor)->setText(QStringLiteral("0"));
        else
            DecimalCellDelegate::setEditorData(editor, index);
    }

protected:
    bool eventFilter(QObject *editor, QEvent *event) override
    {
        int row = -1;
        if (enterPastEnd && event->type() == QEvent::KeyPress) {
            const auto *k = static_cast<QKeyEvent *>(event);
            if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && k->modifiers() == Qt::NoModifier)
                for (QWidget *p = qobject_cast<QWidget *>(editor); p && row < 0; p = p->parentWidget())
                    if (auto *view = qobject_cast<QAbstractItemView *>(p))
                        row = view->currentIndex().row();
        }
        const bool handled = DecimalCellDelegate::eventFilter(editor, event);
        if (row >= 0 && handled && !refused()) {
            auto callback = enterPastEnd;
            QTimer::singleShot(0, this, [callback, row] { callback(row); });
        }
        return handled;
    }
};

} // namespace

TFrBOQ::TFrBOQ(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TFrBOQ"));
    setWindowFlags(Qt::Window);
    const TDMConfig *cfg = TDMConfig::instance();
    setWindowTitle((cfg ? cfg->MenuCaption : QString()) + QStringLiteral(" [") + QLatin1String(Version) + QLatin1Char(']'));

    QrHolder = new RecordBuffer(this);
    QrHolder->setFields({QStringLiteral("Id")});
    QrJob = new CachedGridModel(this);
    QrJob->setObjectName(QStringLiteral("QrJob"));
    QrJob->setColumns({{QStringLiteral("Code"), QStringLiteral("รหัส"), Kind::Text, {}, true, false, 5},
                       {QStringLiteral("Description"), QStringLiteral("รายละเอียด"), Kind::Text, {}, true, false, 60}});
    QrLine = new CachedGridModel(this);
    QrLine->setObjectName(QStringLiteral("QrLine"));
    QrLine->setKeyFields({QStringLiteral("Id")});
    QrLine->setRequiredFields({QStringLiteral("PCode")});

    auto *lay = new QVBoxLayout(this);
    FaProject = new TFaGetProject(this);
    FaProject->setObjectName(QStringLiteral("FaProject"));
    lay->addWidget(FaProject);

    DgJob = new QTableView(this);
    DgJob->setObjectName(QStringLiteral("DgJob"));
    DgJob->setModel(QrJob);
    DgJob->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DgJob->setSelectionBehavior(QAbstractItemView::SelectRows);
    DgJob->setSelectionMode(QAbstractItemView::SingleSelection);
    DgJob->verticalHeader()->hide();
    DgJob->setMaximumHeight(170);
    lay->addWidget(DgJob);

    auto *lineBar = new QHBoxLayout;
    lineBar->addWidget(new QLabel(QStringLiteral("รายการ"), this), 1);
    BtDelLine = new QToolButton(this);
    BtDelLine->setObjectName(QStringLiteral("BtDelLine"));
    BtDelLine->setText(QStringLiteral("x"));
    BtDelLine->setToolTip(QStringLiteral("ลบบรรทัด"));
    BtDelLine->setFocusPolicy(Qt::NoFocus);
    lineBar->addWidget(BtDelLine);
    lay->addLayout(lineBar);

    DgLine = new QTableView(this);
    DgLine->setObjectName(QStringLiteral("DgLine"));
    DgLine->setModel(QrLine);
    DgLine->setSelectionBehavior(QAbstractItemView::SelectItems);
    DgLine->setSelectionMode(QAbstractItemView::SingleSelection);
    DgLine->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed
                            | QAbstractItemView::SelectedClicked);
    DgLine->verticalHeader()->hide();
    DgLine->setContextMenuPolicy(Qt::CustomContextMenu);
    lay->addWidget(DgLine, 1);

    auto *buttons = new QHBoxLayout;
    BDelLine = new QPushButton(QStringLiteral("ลบบรรทัด"), this);
    BDelLine->setObjectName(QStringLiteral("BDelLine"));
    BSave = new QPushButton(QStringLiteral("Save"), this);
    BSave->setObjectName(QStringLiteral("BSave"));
    BClear = new QPushButton(QStringLiteral("Clear"), this);
    BClear->setObjectName(QStringLiteral("BClear"));
    BClose = new QPushButton(QStringLiteral("Close"), this);
    BClose->setObjectName(QStringLiteral("BClose"));
    buttons->addWidget(BDelLine);
    buttons->addStretch(1);
    buttons->addWidget(BSave);
    buttons->addWidget(BClear);
    buttons->addWidget(BClose);
    lay->addLayout(buttons);

    setTabOrder(FaProject->EdCode, DgJob);
    setTabOrder(DgJob, DgLine);
    setTabOrder(DgLine, BDelLine);
    setTabOrder(BDelLine, BSave);
    setTabOrder(BSave, BClear);
    setTabOrder(BClear, BClose);

    PmUnit = new QMenu(this);
    PmUnit->setObjectName(QStringLiteral("PmUnit"));
    MnUnitsAs = PmUnit->addAction(QStringLiteral("คำอธิบาย แทนชื่อหน่วยสินค้า"));
    MnUnitsAs->setObjectName(QStringLiteral("MnUnitsAs"));

    setupLineColumns();

    connect(BSave, &QPushButton::clicked, this, &TFrBOQ::BSaveClick);
    connect(BClear, &QPushButton::clicked, this, &TFrBOQ::BClearClick);
    connect(BClose, &QPushButton::clicked, this, &TFrBOQ::BCloseClick);
    connect(BDelLine, &QPushButton::clicked, this, &TFrBOQ::BDelLineClick);
    connect(BtDelLine, &QToolButton::clicked, this, &TFrBOQ::BDelLineClick);
    connect(MnUnitsAs, &QAction::triggered, this, &TFrBOQ::MnUnitsAsClick);
    connect(DgLine, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        const QModelIndex at = DgLine->indexAt(pos);
        if (!at.isValid() || at.column() != ColUnitName)
            return;
        DgLine->setCurrentIndex(at);
        PmUnit->exec(DgLine->viewport()->mapToGlobal(pos));
    });
    connect(FaProject, &TFaGetBase::codeChanged, this, &TFrBOQ::projectChosen);
    connect(DgJob->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        if (!m_loading)
            openLines();
    });
    connect(DgLine->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &TFrBOQ::lineRowChanged);
    connect(QrLine, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex &from, const QModelIndex &to) {
        if (m_costing || m_loading)
            return;
        bool costs = false;
        for (int c = from.column(); c <= to.column(); ++c)
            costs = costs || c == ColQuantity || c == ColPrice || c == ColLabour;
        if (!costs)
            return;
        try {
            for (int r = from.row(); r <= to.row(); ++r)
                costLine(r);
            renumber();
        } catch (const std::exception &e) {
            ShowError(QString::fromUtf8(e.what()));
        }
    });

    FaProject->EdCode->installEventFilter(this);
    DgLine->installEventFilter(this);
    m_preview = new KeyPreview(this, [this](QWidget *t, int k, Qt::KeyboardModifiers m) { return previewKey(t, k, m); });
    resize(1040, 620);
}

// The children go after this destructor and move the focus as they go: none
// of that may reach the window's handlers any more.
TFrBOQ::~TFrBOQ()
{
    FaProject->disconnect(this);
    FaProject->EdCode->removeEventFilter(this);
    DgLine->removeEventFilter(this);
    DgLine->selectionModel()->disconnect(this);
    DgJob->selectionModel()->disconnect(this);
    QrLine->disconnect(this);
}

void TFrBOQ::setupLineColumns()
{
    QrLine->setColumns({
        {QStringLiteral("ItemOrderNo"), QStringLiteral("ลำดับ"), Kind::Integer, {}, true, false, 5},
        {QStringLiteral("PCode"), QStringLiteral("รหัส"), Kind::Text, {}, false, false, 10},
        {QStringLiteral("Description"), QStringLiteral("รายละเอียด"), Kind::Text, {}, false, false, 25},
        {QStringLiteral("VCode"), QStringLiteral("ผู้จำหน่าย"), Kind::Text, {}, false, false, 10},
        {QStringLiteral("StartUseDate"), QStringLiteral("วันที่เริ่มต้น"), Kind::Date, {}, false, false, 10},
        {QStringLiteral("StopUseDate"), QStringLiteral("วันที่สิ้นสุด"), Kind::Date, {}, false, false, 10},
        {QStringLiteral("Quantity"), QStringLiteral("จำนวน"), Kind::Decimal, AmountMask, false, false, 8},
        {QStringLiteral("UnitName"), QStringLiteral("หน่วย"), Kind::Text, {}, false, false, 5},
        {QStringLiteral("Price"), QStringLiteral("ราคาวัสดุ"), Kind::Decimal, AmountMask, false, false, 10},
        {QStringLiteral("Labour"), QStringLiteral("ค่าแรง"), Kind::Decimal, AmountMask, false, false, 11},
        {QStringLiteral("Total"), QStringLiteral("รวมเงิน"), Kind::Decimal, AmountMask, true, false, 10},
    });

    m_fixedCell = new FixedCellDelegate(this);
    m_textCell = new TextCellDelegate(this);
    m_productCell = new LimitedCell<CodeCellDelegate>(25, this, false);
    m_vendorCell = new LimitedCell<CodeCellDelegate>(10, this, false);
    m_unitCell = new LimitedCell<CodeCellDelegate>(20, this, false);
    m_dateCell = new DateCellDelegate(this);
    auto *quantity = new AmountCellDelegate(this);
    auto *price = new AmountCellDelegate(this);
    auto *labour = new AmountCellDelegate(this);
    m_quantityCell = quantity;
    m_priceCell = price;
    m_labourCell = labour;
    quantity->scale = QuantityScale;
    price->scale = AmountScale;
    labour->scale = AmountScale;
    labour->enterPastEnd = [this](int row) {
        if (row == QrLine->rowCount() - 1 && !blankCode(row) && DgLine->hasFocus())
            appendLine();
    };
    for (QlxCellDelegate *d : {static_cast<QlxCellDelegate *>(m_textCell), static_cast<QlxCellDelegate *>(m_productCell),
                               static_cast<QlxCellDelegate *>(m_vendorCell), static_cast<QlxCellDelegate *>(m_unitCell),
                               static_cast<QlxCellDelegate *>(m_dateCell), static_cast<QlxCellDelegate *>(m_quantityCell),
                               static_cast<QlxCellDelegate *>(m_priceCell), static_cast<QlxCellDelegate *>(m_labourCell)})
        d->enterMovesToNextCell = true;

    m_productCell->commitAfterLookup = true;
    m_productCell->lookup = [this](const QModelIndex &, const QString &) {
        return runLookup(ProductLookup ? ProductLookup(this) : TFrSearchProductService::forProducts(this));
    };
    m_productCell->check = [this](const QModelIndex &i, const QString &code) { return productRule(i.row(), code); };
    m_vendorCell->commitAfterLookup = true;
    m_vendorCell->lookup = [this](const QModelIndex &, const QString &) {
        return runLookup(VendorLookup ? VendorLookup(this) : new TFrSearchVendor(this));
    };
    m_vendorCell->check = [this](const QModelIndex &i, const QString &code) { return vendorRule(i.row(), code); };
    // The unit chosen goes into the box; it is checked when the box is left.
    m_unitCell->lookup = [this](const QModelIndex &i, const QString &) {
        const qint64 product = QrLine->value(i.row(), QStringLiteral("Product")).toLongLong();
        if (product <= 0)
            return QString();
        TFrSearch *d = UnitLookup ? UnitLookup(this) : new TFrSearchUnit(this);
        if (auto *u = qobject_cast<TFrSearchUnit *>(d)) {
            u->ProductId = product;
            u->PurcFlag = u->SaleFlag = u->StockUnitFlag = u->SmallUnitFlag = true;
        }
        return runLookup(d);
    };
    m_unitCell->check = [this](const QModelIndex &i, const QString &name) { return unitRule(i.row(), name); };

    DgLine->setItemDelegateForColumn(ColOrderNo, m_fixedCell);
    DgLine->setItemDelegateForColumn(ColPCode, m_productCell);
    DgLine->setItemDelegateForColumn(ColDescription, m_textCell);
    DgLine->setItemDelegateForColumn(ColVCode, m_vendorCell);
    DgLine->setItemDelegateForColumn(ColStartUse, m_dateCell);
    DgLine->setItemDelegateForColumn(ColStopUse, m_dateCell);
    DgLine->setItemDelegateForColumn(ColQuantity, m_quantityCell);
    DgLine->setItemDelegateForColumn(ColUnitName, m_unitCell);
    DgLine->setItemDelegateForColumn(ColPrice, m_priceCell);
    DgLine->setItemDelegateForColumn(ColLabour, m_labourCell);

    // Widths are given in characters of the grid's font; a title never gets cut.
    auto widths = [](QTableView *view, const CachedGridModel *model) {
        const QFontMetrics fm(view->font());
        const QFontMetrics hm(view->horizontalHeader()->font());
        for (int c = 0; c < model->columnCount(); ++c) {
            const auto &col = model->columns().at(c);
            const int chars = fm.averageCharWidth() * col.widthChars + 12;
            view->horizontalHeader()->resizeSection(c, qMax(chars, hm.horizontalAdvance(col.title) + 16));
        }
        // The width hints the model gives carry no height; the titles need one.
        view->horizontalHeader()->setMinimumHeight(hm.height() + 10);
    };
    widths(DgLine, QrLine);
    widths(DgJob, QrJob);
    DgJob->horizontalHeader()->setStretchLastSection(true);
}

// ------------------------------------------------------------------ opening

void TFrBOQ::showEvent(QShowEvent *e)
{
    QWidget::showEvent(e);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    FormShow();
}

void TFrBOQ::FormShow()
{
    db().open();
    upgradeTable();
    QGuiApplication::setApplicationDisplayName(windowTitle());
    QrHolder->load(db(), QStringLiteral("Select 0 Id From NullTable"));
    BClearClick();
}

void TFrBOQ::upgradeTable()
{
    Connection &c = db();
    const QString table = QStringLiteral("ProjectItemDt");
    if (!c.dialect().hasColumn(c, table, QStringLiteral("UnitsAs")))
        c.dialect().addColumn(c, table, {QStringLiteral("UnitsAs"), ColType::Char, 15});
}

qint64 TFrBOQ::projectId() const { return QrHolder->integer(QStringLiteral("Id")); }

int TFrBOQ::currentJob() const
{
    const QModelIndex i = DgJob->currentIndex();
    return i.isValid() && i.row() < QrJob->rowCount() ? i.row() : -1;
}

qint64 TFrBOQ::currentJobId() const
{
    const int r = currentJob();
    return r < 0 ? 0 : QrJob->value(r, QStringLiteral("Id")).toLongLong();
}

int TFrBOQ::currentLine() const
{
    const QModelIndex i = DgLine->currentIndex();
    return i.isValid() && i.row() < QrLine->rowCount() ? i.row() : -1;
}

bool TFrBOQ::blankCode(int row) const { return blank(QrLine->value(row, QStringLiteral("PCode"))); }

// ------------------------------------------------------------------ project, jobs, lines

void TFrBOQ::closeJobs()
{
    m_loading = true;
    QrJob->clear();
    m_loading = false;
}

void TFrBOQ::closeLines()
{
    m_loading = true;
    QrLine->clear();
    m_loading = false;
    m_last = {};
}

void TFrBOQ::BClearClick()
{
    QrHolder->setValue(QStringLiteral("Id"), 0);
    closeJobs();
    closeLines();
    FaProject->EdCode->setLookupId(0);
    FaProject->LbName->setText(QStringLiteral("-"));
    FaProject->EdCode->setFocus(Qt::OtherFocusReason);
}

void TFrBOQ::projectChosen(qint64 id)
{
    closeJobs();
    closeLines();
    QrHolder->setValue(QStringLiteral("Id"), id > 0 ? id : 0);
    if (id <= 0)
        return;
    m_loading = true;
    QrJob->load(db(), JobSql, {{QStringLiteral("ProjectId"), id}});
    m_loading = false;
    if (QrJob->rowCount() == 0)
        return;
    DgJob->setCurrentIndex(QrJob->index(0, 0)); // reads the first job's lines
    // The focus is on its way out of the project box: the job list takes it
    // after, unless the user went on into the grids meanwhile.
    QTimer::singleShot(0, this, [this] {
        QWidget *f = QApplication::focusWidget();
        const bool inGrids = f && (f == DgJob || f == DgLine || DgLine->isAncestorOf(f));
        if (QrJob->rowCount() > 0 && !inGrids)
            DgJob->setFocus(Qt::OtherFocusReason);
    });
}

void TFrBOQ::openLines()
{
    closeLines();
    const qint64 job = currentJobId();
    if (job <= 0)
        return;
    m_loading = true;
    QrLine->setNewRowDefaults({{QStringLiteral("ProjectItemHD"), job},
                               {QStringLiteral("DetailType"), QStringLiteral("M")},
                               {QStringLiteral("Price"), decimalValue(Decimal(0))},
                               {QStringLiteral("Labour"), decimalValue(Decimal(0))},
                               {QStringLiteral("AmountM"), decimalValue(Decimal(0))},
                               {QStringLiteral("AmountL"), decimalValue(Decimal(0))},
                               {QStringLiteral("Total"), decimalValue(Decimal(0))},
                               {QStringLiteral("Vendor"), QVariant()},
                               {QStringLiteral("UnitsAs"), QVariant()}});
    QrLine->load(db(), LineSql, {{QStringLiteral("JobId"), job}});
    m_loading = false;
    if (QrLine->rowCount() > 0)
        DgLine->setCurrentIndex(QrLine->index(0, ColPCode));
}

void TFrBOQ::lineRowChanged(const QModelIndex &now, const QModelIndex &before)
{
    if (m_loading)
        return;
    if (now.isValid())
        rememberLine(now.row());
    // Rows are not removed while the view is still moving its cursor.
    const QPersistentModelIndex n(now), b(before);
    QTimer::singleShot(0, this, [this, n, b] { lineArrived(n, b); });
}

void TFrBOQ::lineArrived(const QPersistentModelIndex &now, const QPersistentModelIndex &before)
{
    if (m_loading)
        return;
    bool removed = false;
    m_loading = true;
    // A line left without a product goes (it would go at save anyway); so does a
    // line arrived on without one, unless it is the new line at the end.
    if (before.isValid() && before.row() != (now.isValid() ? now.row() : -1) && blankCode(before.row())) {
        QrLine->removeRows(before.row(), 1);
        removed = true;
    }
    if (now.isValid()) {
        const int r = now.row();
        const bool appending = r == QrLine->rowCount() - 1 && QrLine->rowState(r) == CachedGridModel::RowState::Inserted;
        if (blankCode(r) && !appending) {
            QrLine->removeRows(r, 1);
            removed = true;
        }
    }
    m_loading = false;
    if (removed) {
        renumber();
        if (QrLine->rowCount() > 0 && !DgLine->currentIndex().isValid())
            DgLine->setCurrentIndex(QrLine->index(QrLine->rowCount() - 1, ColPCode));
    }
    if (currentLine() >= 0)
        rememberLine(currentLine());
}

void TFrBOQ::rememberLine(int row)
{
    auto v = [&](const char *f) { return QrLine->value(row, QLatin1String(f)); };
    m_last = {v("Product"), v("PCode"), v("Vendor"), v("VCode"), v("ProductUnits"), v("UnitName")};
}

void TFrBOQ::appendLine()
{
    const qint64 job = currentJobId();
    if (job <= 0)
        return;
    const int last = QrLine->rowCount() - 1;
    int row = last;
    // The new line already waiting at the end is the one to fill.
    if (last < 0 || !blankCode(last) || QrLine->rowState(last) != CachedGridModel::RowState::Inserted) {
        row = QrLine->appendRow();
        renumber();
    }
    DgLine->setFocus(Qt::OtherFocusReason);
    DgLine->setCurrentIndex(QrLine->index(row, ColPCode));
}

// ------------------------------------------------------------------ line rules

bool TFrBOQ::productRule(int row, const QString &code)
{
    TDmProduct *products = TDmProduct::instance();
    if (!products->ExistsProduct(code)) {
        QrLine->setValue(row, QStringLiteral("Product"), m_last.product);
        QrLine->setValue(row, QStringLiteral("PCode"), m_last.pcode);
        return false;
    }
    const QSqlRecord &p = products->ProductRow();
    const qint64 id = p.value(QStringLiteral("Id")).toLongLong();
    const QVariant held = QrLine->value(row, QStringLiteral("Product"));
    if (!blank(held) && held.toLongLong() == id)
        return true;
    const QString foundCode = dbText(p.value(QStringLiteral("Code"))).trimmed();
    const QString name = dbText(p.value(QStringLiteral("ThaiName")));
    QrLine->setValue(row, QStringLiteral("Product"), id);
    QrLine->setValue(row, QStringLiteral("PCode"), foundCode);
    QrLine->setValue(row, QStringLiteral("ThaiName"), name);
    QrLine->setValue(row, QStringLiteral("Description"), name);
    m_last.product = id;
    m_last.pcode = foundCode;

    QSqlQuery u = db().exec(QStringLiteral("Select Id, UnitName From ProductUnits Where Product = :Product Order By Id"),
                            {{QStringLiteral("Product"), id}});
    if (!u.next()) {
        // The unit of the product chosen before does not belong to this one.
        QrLine->setValue(row, QStringLiteral("ProductUnits"), QVariant());
        QrLine->setValue(row, QStringLiteral("UnitName"), QVariant());
        m_last.unit = m_last.unitName = QVariant();
        return true;
    }
    QrLine->setValue(row, QStringLiteral("ProductUnits"), u.value(0).toLongLong());
    QrLine->setValue(row, QStringLiteral("UnitName"), dbText(u.value(1)).trimmed());
    m_last.unit = u.value(0).toLongLong();
    m_last.unitName = dbText(u.value(1)).trimmed();
    priceLine(row);
    costLine(row);
    renumber();
    return true;
}

bool TFrBOQ::vendorRule(int row, const QString &code)
{
    const QString typed = code.trimmed();
    QSqlQuery q = db().exec(QStringLiteral("Select Id, Code, Name From Vendor Where Trim(Code) = :Code Order By Id"), {{QStringLiteral("Code"), typed}});
    if (typed.isEmpty() || !q.next()) {
        QrLine->setValue(row, QStringLiteral("Vendor"), m_last.vendor);
        QrLine->setValue(row, QStringLiteral("VCode"), m_last.vcode);
        return false;
    }
    QrLine->setValue(row, QStringLiteral("Vendor"), q.value(0).toLongLong());
    QrLine->setValue(row, QStringLiteral("VCode"), typed);
    m_last.vendor = q.value(0).toLongLong();
    m_last.vcode = typed;
    return true;
}

bool TFrBOQ::unitRule(int row, const QString &unitName)
{
    TDmProduct *products = TDmProduct::instance();
    const int product = int(QrLine->value(row, QStringLiteral("Product")).toLongLong());
    if (product <= 0 || !products->ExistsProductUnit(product, unitName, TDmProduct::KindSale | TDmProduct::KindPurchase)) {
        QrLine->setValue(row, QStringLiteral("ProductUnits"), m_last.unit);
        QrLine->setValue(row, QStringLiteral("UnitName"), m_last.unitName);
        return false;
    }
    const QSqlRecord &u = products->ProductUnitRow();
    const qint64 id = u.value(QStringLiteral("Id")).toLongLong();
    const QVariant held = QrLine->value(row, QStringLiteral("ProductUnits"));
    if (!blank(held) && held.toLongLong() == id)
        return true;
    QrLine->setValue(row, QStringLiteral("ProductUnits"), id);
    QrLine->setValue(row, QStringLiteral("UnitName"), dbText(u.value(QStringLiteral("UnitName"))).trimmed());
    priceLine(row);
    costLine(row);
    renumber();
    m_last.unit = id;
    m_last.unitName = dbText(u.value(QStringLiteral("UnitName"))).trimmed();
    return true;
}

void TFrBOQ::priceLine(int row)
{
    TDmProduct *products = TDmProduct::instance();
    const int unit = int(QrLine->value(row, QStringLiteral("ProductUnits")).toLongLong());
    const int vendor = int(QrLine->value(row, QStringLiteral("Vendor")).toLongLong());
    const bool fromVendor = products->ExistsPartSource(unit, vendor);
    const bool was = m_costing;
    m_costing = true;
    if (fromVendor) {
        QrLine->setValue(row, QStringLiteral("Price"), decimalValue(decimalFromVariant(products->PartSourceRow().value(QStringLiteral("Price")))));
    } else {
        const QSqlRecord &u = products->PartSourceUnitRow();
        QrLine->setValue(row, QStringLiteral("Price"), decimalValue(decimalFromVariant(u.value(QStringLiteral("PurcPrice")))));
        QrLine->setValue(row, QStringLiteral("Labour"), decimalValue(decimalFromVariant(u.value(QStringLiteral("LabourCost")))));
    }
    m_costing = was;
}

void TFrBOQ::costLine(int row)
{
    auto dec = [&](const char *f) { return decimalFromVariant(QrLine->value(row, QLatin1String(f))); };
    const Decimal quantity = dec("Quantity");
    const Decimal material = (quantity * dec("Price")).rescaled(AmountScale);
    const Decimal labour = (quantity * dec("Labour")).rescaled(AmountScale);
    const Decimal total = material + labour;
    const bool was = m_costing;
    m_costing = true;
    QrLine->setValue(row, QStringLiteral("AmountM"), decimalValue(material));
    QrLine->setValue(row, QStringLiteral("AmountL"), decimalValue(labour));
    QrLine->setValue(row, QStringLiteral("Total"), decimalValue(total));
    m_costing = was;
}

void TFrBOQ::renumber()
{
    const bool was = m_costing;
    m_costing = true;
    for (int r = 0; r < QrLine->rowCount(); ++r)
        if (QrLine->value(r, QStringLiteral("ItemOrderNo")).toLongLong() != r + 1 || QrLine->value(r, QStringLiteral("ItemOrderNo")).isNull())
            QrLine->setValue(r, QStringLiteral("ItemOrderNo"), r + 1);
    m_costing = was;
}

QString TFrBOQ::runLookup(TFrSearch *dialog)
{
    std::unique_ptr<TFrSearch> d(dialog);
    if (!d)
        return {};
    const bool ok = d->exec() == QDialog::Accepted;
    activateWindow();
    return ok ? d->ReturnValue.trimmed() : QString();
}

// ------------------------------------------------------------------ buttons

void TFrBOQ::BDelLineClick()
{
    const int row = currentLine();
    if (row < 0)
        return;
    if (!TDM::instance()->Confirm(QStringLiteral("ยืนยันลบรายการ ?")))
        return;
    m_loading = true;
    QrLine->removeRows(row, 1);
    m_loading = false;
    renumber();
    DgLine->setFocus(Qt::OtherFocusReason);
    if (QrLine->rowCount() > 0) {
        DgLine->setCurrentIndex(QrLine->index(qMin(row, QrLine->rowCount() - 1), ColPCode));
        rememberLine(currentLine());
    } else {
        m_last = {};
    }
}

void TFrBOQ::MnUnitsAsClick()
{
    const int row = currentLine();
    if (row < 0)
        return;
    QInputDialog d(this);
    d.setObjectName(QStringLiteral("InputUnitsAs"));
    d.setWindowTitle(QStringLiteral("คำอธิบายแทนชื่อหน่วย"));
    d.setLabelText(QStringLiteral("คำอธิบาย แทนชื่อหน่วยสินค้า"));
    d.setInputMode(QInputDialog::TextInput);
    d.setTextValue(dbText(QrLine->value(row, QStringLiteral("UnitsAs"))).trimmed());
    if (auto *e = d.findChild<QLineEdit *>())
        e->setMaxLength(15);
    if (d.exec() != QDialog::Accepted)
        return;
    activateWindow();
    const QString text = d.textValue().trimmed().left(15);
    QrLine->setValue(row, QStringLiteral("UnitsAs"), text.isEmpty() ? QVariant() : QVariant(text));
}

void TFrBOQ::BSaveClick()
{
    const int job = currentJob();
    if (job < 0)
        return;
    // What is still being typed in a cell belongs to the save.
    if (!finishFocusedEditor(this))
        return;
    const TDMConfig *cfg = TDMConfig::instance();
    TDM *dm = TDM::instance();
    if (!dm->Confirm(QStringLiteral("ยืนยันจัดเก็บข้อมูล ") + (cfg ? cfg->MenuCaption : QString())))
        return;
    const qint64 jobId = currentJobId();
    Connection &c = db();
    try {
        Decimal sum;
        m_loading = true;
        DgLine->setUpdatesEnabled(false);
        struct Thaw
        {
            TFrBOQ *w;
            ~Thaw()
            {
                w->m_loading = false;
                w->DgLine->setUpdatesEnabled(true);
            }
        } thaw{this};
        int number = 0;
        for (int r = 0; r < QrLine->rowCount();) {
            if (blankCode(r)) {
                QrLine->removeRows(r, 1);
                continue;
            }
            QrLine->setValue(r, QStringLiteral("ItemOrderNo"), ++number);
            costLine(r);
            QrLine->setValue(r, QStringLiteral("DetailType"), QStringLiteral("M"));
            sum += decimalFromVariant(QrLine->value(r, QStringLiteral("Total")));
            ++r;
        }
        QrJob->setValue(job, QStringLiteral("Amount"), decimalValue(sum));
        Transaction tx(c);
        QrLine->write(c, lineStatements());
        c.exec(QStringLiteral("Update ProjectItemHD Set Amount = :Amount Where Id = :Id"),
               {{QStringLiteral("Amount"), decimalValue(sum)}, {QStringLiteral("Id"), jobId}});
        tx.commit();
    } catch (const DbError &e) {
        dm->ApplicationEvents1Exception(e.message());
        return;
    } catch (const std::exception &e) {
        dm->ApplicationEvents1Exception(QString::fromUtf8(e.what()));
        return;
    }
    QrLine->acceptWritten();
    if (currentLine() >= 0)
        rememberLine(currentLine());

    // On to the next job, after the last back to the first.
    const int next = (job + 1) % QrJob->rowCount();
    if (next == job)
        openLines();
    else
        DgJob->setCurrentIndex(QrJob->index(next, 0));
    DgJob->setFocus(Qt::OtherFocusReason);
}

void TFrBOQ::BCloseClick() { close(); }

void TFrBOQ::closeEvent(QCloseEvent *e)
{
    if (TDM::instance()->Confirm(QStringLiteral("ออกจากโปรแกรม ?")))
        e->accept();
    else
        e->ignore();
}

// ------------------------------------------------------------------ keys

bool TFrBOQ::previewKey(QWidget *target, int key, Qt::KeyboardModifiers mods)
{
    // Cell editors of the line grid keep every key (Ctrl+X cuts there).
    if (target != DgLine && DgLine->isAncestorOf(target))
        return false;
    if (key == Qt::Key_X && (mods & ~Qt::KeypadModifier) == Qt::ControlModifier) {
        BCloseClick();
        return true;
    }
    if (target == DgLine)
        return false;
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && (mods & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // A button takes Enter as a press.
        if (auto *b = qobject_cast<QPushButton *>(target)) {
            b->click();
            return true;
        }
        focusNextChild();
        return true;
    }
    return false;
}

bool TFrBOQ::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == FaProject->EdCode && event->type() == QEvent::FocusIn) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            closeJobs();
            closeLines();
        }
    }
    if (watched == DgLine && event->type() == QEvent::FocusIn) {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && currentJobId() > 0) {
            if (QrLine->rowCount() == 0)
                QTimer::singleShot(0, this, [this] {
                    if (QrLine->rowCount() == 0 && DgLine->hasFocus())
                        appendLine();
                });
            else if (!DgLine->currentIndex().isValid())
                DgLine->setCurrentIndex(QrLine->index(0, ColPCode));
        }
    }
    if (watched == DgLine && event->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(event);
        const QModelIndex at = DgLine->currentIndex();
        QWidget *focus = QApplication::focusWidget();
        const bool editing = focus && focus != DgLine && DgLine->isAncestorOf(focus);
        if (k->key() == Qt::Key_F5 && k->modifiers() == Qt::NoModifier && at.isValid()
            && (at.column() == ColPCode || at.column() == ColVCode || at.column() == ColUnitName)) {
            if (!editing)
                DgLine->edit(at);
            if (auto *box = qobject_cast<CodeEdit *>(QApplication::focusWidget()))
                box->runLookup();
            return true;
        }
        if (k->key() == Qt::Key_Down && k->modifiers() == Qt::NoModifier && at.isValid() && at.row() == QrLine->rowCount() - 1) {
            if (editing && !finishFocusedEditor(this))
                return true;
            if (!blankCode(at.row()))
                appendLine();
            return true;
        }
        if ((k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) && !editing && at.isValid() && (at.flags() & Qt::ItemIsEditable)) {
            DgLine->edit(at);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
