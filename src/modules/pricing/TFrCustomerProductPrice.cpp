#include "TFrCustomerProductPrice.h"
#include "db/Connection.h"
#include "db/Schema.h"
#include "lookup/TCodeLookupEdit.h"
#include "lookup/TF_SearchCustomer.h"
#include "lookup/TFaGetCustomer.h"
#include "lookup/TFrSearchProductService.h"
#include "lookup/TFrSearchUnit.h"
#include "lookup/edit/CachedGridModel.h"
#include "lookup/edit/CellEditors.h"
#include "lookup/edit/EditSupport.h"
#include "lookup/edit/EditWidgets.h"
#include "lookup/edit/RecordBuffer.h"
#include "services/TDM.h"
#include "services/TDmProduct.h"
#include "session/TDMConfig.h"
#include "session/UserDialogs.h"
#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace {

using Kind = CachedGridModel::Kind;

const QString Table = QStringLiteral("customerproductprice");

const QString ListColumns = QStringLiteral(
    "Select cpp.Id, cpp.Customer, cpp.Product, cpp.ProductUnits, cpp.Price, cpp.Quantity, cpp.Discount, cpp.QuotaQuantity,"
    " p.code, p.thainame, pu.unitname, pu.barcode"
    " From customerproductprice cpp"
    " Inner Join product p On p.id = cpp.product"
    " Inner Join productunits pu On pu.id = cpp.productunits And pu.product = cpp.product");

// Rows of one product keep the order they were entered in.
const QString ListSql = ListColumns + QStringLiteral(" Where cpp.customer = :cid Order By p.code, cpp.Id");

const QString CopySql = ListColumns + QStringLiteral(" Inner Join customer c On c.id = cpp.customer Where c.code = :getcode Order By p.code, cpp.Id");

const QString InsertSql = QStringLiteral(
    "insert into customerproductprice (Customer, Product, ProductUnits, Price, Quantity, Discount, QuotaQuantity)"
    " values (:Customer, :Product, :ProductUnits, :Price, :Quantity, :Discount, :QuotaQuantity)");

const QString UpdateSql = QStringLiteral(
    "update customerproductprice set Customer = :Customer, Product = :Product, ProductUnits = :ProductUnits, Price = :Price,"
    " Quantity = :Quantity, Discount = :Discount, QuotaQuantity = :QuotaQuantity where Id = :OLD_Id");

const QString DeleteSql = QStringLiteral("delete from customerproductprice where Id = :OLD_Id");

const QString NoCustomerInGrid = QStringLiteral("ไม่ได้ระบุลูกค้า");
const QString NoCustomerOnSave = QStringLiteral("ไม่ระบุลูกค้า");
const QString DuplicateText = QStringLiteral("ข้อมูลซ้ำกัน");
const QString NothingToCopy = QStringLiteral("ลูกค้าที่เลือกไม่มีรายการที่จะ Copy");

Connection &db() { return TDM::instance()->DMDATA(); }

bool blank(const QVariant &v) { return !v.isValid() || v.isNull() || dbText(v).trimmed().isEmpty(); }


// A whole number, or empty. Text that is no whole number is refused with a
// message and the number held before stays.
class IntegerCellDelegate : public QlxCellDelegate
{
public:
    explicit IntegerCellDelegate(QObject *parent) : QlxCellDelegate(parent) { enterMovesToNextCell = true; }
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        auto *e = new QLineEdit(parent);
        e->setFrame(false);
        e->setMaxLength(11);
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return e;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        const QVariant v = index.data(Qt::EditRole);
        static_cast<QLineEdit *>(editor)->setText(blank(v) ? QString() : QString::number(v.toLongLong()));
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        auto *e = static_cast<QLineEdit *>(editor);
        const QString typed = e->text().trimmed();
        const QVariant held = index.data(Qt::EditRole);
        if (typed.isEmpty()) {
            if (!blank(held))
                model->setData(index, QVariant(), Qt::EditRole);
            return;
        }
        bool ok = false;
        const int n = typed.toInt(&ok);
        if (!ok) {
            refuse();
            e->setText(blank(held) ? QString() : QString::number(held.toLongLong()));
            UserDialogs::instance().showMessage(UserDialogs::Kind::Error, invalidNumberMessage(typed));
            return;
        }
        if (blank(held) || held.toLongLong() != n)
            model->setData(index, n, Qt::EditRole);
    }
};

struct ColumnSpec
{
    const char *field;
    QString title;
    Kind kind;
    int width;
    bool displayOnly;
};

QList<ColumnSpec> columnSpecs(bool quota)
{
    QList<ColumnSpec> cols = {
        {"code", QStringLiteral("รหัสสินค้า"), Kind::Text, 12, false},
        {"thainame", QStringLiteral("ชื่อสินค้า"), Kind::Text, 30, true},
        {"unitname", QStringLiteral("หน่วย"), Kind::Text, 8, false},
        {"Barcode", QStringLiteral("บาร์โค้ด"), Kind::Text, 15, true},
        {"Price", QStringLiteral("ราคา"), Kind::Decimal, 8, false},
        {"Quantity", QStringLiteral("จำนวน"), Kind::Integer, 6, false},
        {"Discount", QStringLiteral("ส่วนลด"), Kind::Text, 15, false},
    };
    if (quota)
        cols.append({"QuotaQuantity", QStringLiteral("จำนวนโควต้า "), Kind::Integer, 6, false});
    return cols;
}

int columnPixels(const QFontMetrics &cells, const QFontMetrics &titles, const ColumnSpec &c)
{
    return qMax(cells.averageCharWidth() * c.width + 14, titles.horizontalAdvance(c.title) + 16);
}

} // namespace

TFrCustomerProductPrice::TFrCustomerProductPrice(QWidget *parent) : TFrForm(parent)
{
    setObjectName(QStringLiteral("TFrCustomerProductPrice"));
    QrNullTable = new RecordBuffer(this);
    QrNullTable->setFields({QStringLiteral("Id")});
    QrNullTable->setValue(QStringLiteral("Id"), 0);

    auto *central = new QWidget(this);
    auto *lay = new QVBoxLayout(central);
    auto *top = new QHBoxLayout;
    FaCustomer = new TFaGetCustomer(central);
    FaCustomer->setObjectName(QStringLiteral("FaCustomer"));
    FaCustomer->EdCode->DataField = QStringLiteral("Id");
    FaCustomer->EdCode->setMaximumWidth(140);
    top->addWidget(FaCustomer, 1);
    BDelLine = new QPushButton(QStringLiteral("ลบรายการ"), central);
    BDelLine->setObjectName(QStringLiteral("BDelLine"));
    BDelLine->setStyleSheet(QStringLiteral("QPushButton { color: red; font-weight: bold; }"));
    // Clicking it must not take the cursor out of the grid.
    BDelLine->setFocusPolicy(Qt::NoFocus);
    top->addWidget(BDelLine);
    lay->addLayout(top);

    QrPrice = new CachedGridModel(this);
    QrPrice->setObjectName(QStringLiteral("QrPrice"));
    QrPrice->setKeyFields({QStringLiteral("Id")});
    QrPrice->setRequiredFields({QStringLiteral("Product"), QStringLiteral("ProductUnits"), QStringLiteral("Price")});

    DgPrice = new QTableView(central);
    DgPrice->setObjectName(QStringLiteral("DgPrice"));
    DgPrice->setModel(QrPrice);
    DgPrice->setSelectionMode(QAbstractItemView::SingleSelection);
    DgPrice->setSelectionBehavior(QAbstractItemView::SelectItems);
    DgPrice->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed | QAbstractItemView::DoubleClicked
                             | QAbstractItemView::SelectedClicked);
    DgPrice->verticalHeader()->setDefaultSectionSize(DgPrice->fontMetrics().height() + 8);
    DgPrice->setContextMenuPolicy(Qt::CustomContextMenu);
    lay->addWidget(DgPrice, 1);
    setCentralWidget(central);
    setTabOrder(FaCustomer->EdCode, DgPrice);

    m_productCell = new LimitedCell<CodeCellDelegate>(30, this);
    m_unitCell = new LimitedCell<CodeCellDelegate>(30, this);
    m_priceCell = new DecimalCellDelegate(this);
    m_priceCell->allowNull = true; // an emptied price makes the row one that Save drops
    m_priceCell->enterMovesToNextCell = true;
    m_quantityCell = new IntegerCellDelegate(this);
    m_quotaCell = new IntegerCellDelegate(this);
    m_discountCell = new LimitedCell<QlxCellDelegate>(50, this);

    m_productCell->lookup = [this](const QModelIndex &, const QString &) {
        TFrSearch *d = ProductLookup ? ProductLookup(this) : nullptr;
        if (!d) {
            auto *p = new TFrSearchProductService(this);
            p->ProductType = QStringLiteral("P");
            p->MasterCode = QStringLiteral("N");
            d = p;
        }
        return runLookup(d);
    };
    // The chosen code stays in the box; leaving it checks it.
    m_productCell->check = [this](const QModelIndex &i, const QString &code) { return productRule(i.row(), code); };
    m_unitCell->commitAfterLookup = true;
    m_unitCell->lookup = [this](const QModelIndex &i, const QString &) {
        const qint64 product = QrPrice->value(i.row(), QStringLiteral("Product")).toLongLong();
        if (product <= 0)
            return QString();
        TFrSearch *d = UnitLookup ? UnitLookup(this) : new TFrSearchUnit(this);
        if (auto *u = qobject_cast<TFrSearchUnit *>(d)) {
            u->ProductId = product;
            u->SaleFlag = true;
            u->SmallUnitFlag = true;
        }
        return runLookup(d);
    };
    m_unitCell->check = [this](const QModelIndex &i, const QString &name) { return unitRule(i.row(), name); };

    PmDiscount = new QMenu(this);
    PmDiscount->setObjectName(QStringLiteral("PmDiscount"));
    MnCopyDiscountAll = PmDiscount->addAction(QStringLiteral("คัดลอกส่วนลดไปด้านล่างทั้งหมด"));
    MnCopyDiscountAll->setObjectName(QStringLiteral("MnCopyDiscountAll"));
    MnCopyDiscountOne = PmDiscount->addAction(QStringLiteral("คัดลอกส่วนลดไปด้านล่าง 1 บรรทัด"));
    MnCopyDiscountOne->setObjectName(QStringLiteral("MnCopyDiscountOne"));
    connect(MnCopyDiscountAll, &QAction::triggered, this, &TFrCustomerProductPrice::MnCopyDiscountAllClick);
    connect(MnCopyDiscountOne, &QAction::triggered, this, &TFrCustomerProductPrice::MnCopyDiscountOneClick);
    connect(DgPrice, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        const QModelIndex at = DgPrice->indexAt(pos);
        if (!at.isValid() || at.column() != QrPrice->columnOf(QStringLiteral("Discount")))
            return;
        DgPrice->setCurrentIndex(at);
        PmDiscount->exec(DgPrice->viewport()->mapToGlobal(pos));
    });
    connect(BDelLine, &QPushButton::clicked, this, &TFrCustomerProductPrice::BDelLineClick);

    // Room for every column, the quota column included: the window's size is
    // fixed before the company settings say whether that column shows.
    const QFontMetrics cells(DgPrice->font());
    const QFontMetrics titles(DgPrice->horizontalHeader()->font());
    int total = DgPrice->verticalHeader()->sizeHint().width() + 30;
    for (const ColumnSpec &c : columnSpecs(true))
        total += columnPixels(cells, titles, c);
    DgPrice->horizontalHeader()->setMinimumHeight(titles.height() + 10);
    DgPrice->setMinimumSize(total, 380);

    const TDMConfig *cfg = TDMConfig::instance();
    setWindowTitle((cfg ? cfg->MenuCaption.trimmed() : QString()) + QStringLiteral(" (") + QLatin1String(Version) + QLatin1Char(')'));

    DgPrice->installEventFilter(this);
    connect(FaCustomer, &TFaGetBase::codeChanged, this, [this](qint64 id) { FaCustomerExit(id); });
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { focusChanged(now); });
}

// The children go after this destructor and move the focus as they go.
TFrCustomerProductPrice::~TFrCustomerProductPrice()
{
    disconnect(m_focusWatch);
    DgPrice->removeEventFilter(this);
    FaCustomer->disconnect(this);
}

// ------------------------------------------------------------------ opening

void TFrCustomerProductPrice::FormShow()
{
    const TDMConfig *cfg = TDMConfig::instance();
    StatusPanel0->setText(cfg ? cfg->CompanyName : QString());
    try {
        db().open();
        upgradeSchema();
        QrNullTable->load(db(), QStringLiteral("Select 0 As Id From NullTable"));
        m_quota = TDM::instance()->config(QStringLiteral("QuotaQuantity")).toString().trimmed() == QLatin1String("Y");
    } catch (const std::exception &e) {
        TDM::instance()->ApplicationEvents1Exception(QString::fromUtf8(e.what()));
    }
    buildColumns();
}

void TFrCustomerProductPrice::upgradeSchema()
{
    // Each step only when the catalogue shows it missing, outside any transaction.
    Connection &c = db();
    const Dialect &d = c.dialect();
    if (!d.hasTable(c, Table))
        if (const TableDef *def = findTable(DbRole::Company, Table))
            for (const QString &ddl : d.createTableDdl(*def))
                c.exec(ddl);
    bool configChanged = false;
    if (!d.hasColumn(c, QStringLiteral("Config"), QStringLiteral("QuotaQuantity"))) {
        d.addColumn(c, QStringLiteral("Config"), {QStringLiteral("QuotaQuantity"), ColType::CharFlag, 1});
        configChanged = true;
    }
    if (!d.hasColumn(c, Table, QStringLiteral("QuotaQuantity")))
        d.addColumn(c, Table, {QStringLiteral("QuotaQuantity"), ColType::Integer});
    if (configChanged)
        TDM::instance()->ReopenConfig();
}

void TFrCustomerProductPrice::buildColumns()
{
    const QList<ColumnSpec> specs = columnSpecs(m_quota);
    QList<CachedGridModel::Column> columns;
    for (const ColumnSpec &s : specs) {
        CachedGridModel::Column c;
        c.field = QLatin1String(s.field);
        c.title = s.title;
        c.kind = s.kind;
        c.widthChars = s.width;
        c.displayOnly = s.displayOnly;
        if (s.kind == Kind::Decimal)
            c.mask = QStringLiteral("#,##0.00");
        columns.append(c);
    }
    QrPrice->setColumns(columns);

    for (int i = 0; i < QrPrice->columnCount() + 1; ++i)
        DgPrice->setItemDelegateForColumn(i, nullptr);
    DgPrice->setItemDelegateForColumn(QrPrice->columnOf(QStringLiteral("code")), m_productCell);
    DgPrice->setItemDelegateForColumn(QrPrice->columnOf(QStringLiteral("unitname")), m_unitCell);
    DgPrice->setItemDelegateForColumn(QrPrice->columnOf(QStringLiteral("Price")), m_priceCell);
    DgPrice->setItemDelegateForColumn(QrPrice->columnOf(QStringLiteral("Quantity")), m_quantityCell);
    DgPrice->setItemDelegateForColumn(QrPrice->columnOf(QStringLiteral("Discount")), m_discountCell);
    if (m_quota)
        DgPrice->setItemDelegateForColumn(QrPrice->columnOf(QStringLiteral("QuotaQuantity")), m_quotaCell);

    const QFontMetrics cells(DgPrice->font());
    const QFontMetrics titles(DgPrice->horizontalHeader()->font());
    for (int i = 0; i < specs.size(); ++i)
        DgPrice->horizontalHeader()->resizeSection(i, columnPixels(cells, titles, specs.at(i)));
    DgPrice->horizontalHeader()->setStretchLastSection(true);
}

// ------------------------------------------------------------------ states

void TFrCustomerProductPrice::AcNewExecute()
{
    TFrForm::AcNewExecute();
    FaCustomer->EdCode->setLookupId(0);
    FaCustomer->CustomerRow = QSqlRecord();
    QrNullTable->setValue(QStringLiteral("Id"), 0);
    m_customer = 0;
    m_loadedIds.clear();
    m_editRefused = false;
    QrPrice->setNewRowDefaults({});
    QrPrice->clear();
    AcCopy->setEnabled(false);
    showToolButton(BCopy, false);
    FaCustomer->EdCode->setFocus(Qt::OtherFocusReason);
}

void TFrCustomerProductPrice::FaCustomerExit(qint64 id)
{
    if (id <= 0) {
        // No customer, no list.
        QrNullTable->setValue(QStringLiteral("Id"), 0);
        m_customer = 0;
        m_loadedIds.clear();
        QrPrice->setNewRowDefaults({});
        QrPrice->clear();
        // Save stays at hand to tell the user that a customer is missing.
        AcSave->setEnabled(true);
        AcDel->setEnabled(false);
        AcCopy->setEnabled(false);
        showToolButton(BCopy, false);
        return;
    }
    // Passing through the selector again must not throw away the edits.
    if (id == m_customer)
        return;
    loadList(id);
}

void TFrCustomerProductPrice::loadList(qint64 customer)
{
    try {
        QrPrice->load(db(), ListSql, {{QStringLiteral("cid"), customer}});
    } catch (const std::exception &e) {
        FaCustomerExit(0);
        TDM::instance()->ApplicationEvents1Exception(QString::fromUtf8(e.what()));
        return;
    }
    m_customer = customer;
    QrNullTable->setValue(QStringLiteral("Id"), customer);
    m_loadedIds.clear();
    for (int r = 0; r < QrPrice->rowCount(); ++r)
        m_loadedIds.insert(QrPrice->value(r, QStringLiteral("Id")).toLongLong());
    QrPrice->setNewRowDefaults({{QStringLiteral("Customer"), customer}});
    const bool empty = QrPrice->rowCount() == 0;
    AcSave->setEnabled(true);
    AcDel->setEnabled(!empty);
    showToolButton(BCopy, empty);
    AcCopy->setEnabled(empty);
    if (!empty)
        DgPrice->setCurrentIndex(QrPrice->index(0, QrPrice->columnOf(QStringLiteral("code"))));
}

void TFrCustomerProductPrice::setCurrentColumn(const QString &field)
{
    const int col = QrPrice->columnOf(field);
    const int row = DgPrice->currentIndex().isValid() ? DgPrice->currentIndex().row() : 0;
    if (col >= 0 && row < QrPrice->rowCount())
        DgPrice->setCurrentIndex(QrPrice->index(row, col));
}

int TFrCustomerProductPrice::appendLine()
{
    if (m_customer <= 0)
        return -1;
    const int r = QrPrice->appendRow();
    DgPrice->setCurrentIndex(QrPrice->index(r, QrPrice->columnOf(QStringLiteral("code"))));
    return r;
}

bool TFrCustomerProductPrice::blankLine(int row) const
{
    if (row < 0 || row >= QrPrice->rowCount() || QrPrice->rowState(row) != CachedGridModel::RowState::Inserted)
        return false;
    for (const char *f : {"Product", "ProductUnits", "Price", "Quantity", "Discount", "QuotaQuantity"})
        if (!blank(QrPrice->value(row, QLatin1String(f))))
            return false;
    return true;
}

// ------------------------------------------------------------------ row rules

bool TFrCustomerProductPrice::productRule(int row, const QString &code)
{
    TDmProduct *products = TDmProduct::instance();
    try {
        if (code.isEmpty() || !products->ExistsProduct(code))
            return false;
    } catch (const std::exception &e) {
        TDM::instance()->ApplicationEvents1Exception(QString::fromUtf8(e.what()));
        return false;
    }
    const QSqlRecord p = products->ProductRow();
    const qint64 id = p.value(QStringLiteral("Id")).toLongLong();
    const qint64 before = QrPrice->value(row, QStringLiteral("Product")).toLongLong();
    QrPrice->setValue(row, QStringLiteral("Product"), id);
    QrPrice->setValue(row, QStringLiteral("thainame"), dbText(p.value(QStringLiteral("ThaiName"))));
    QrPrice->setValue(row, QStringLiteral("code"), dbText(p.value(QStringLiteral("Code"))).trimmed());
    if (before == id || blank(QrPrice->value(row, QStringLiteral("ProductUnits"))))
        return true;
    // A unit belongs to one product: the new product keeps the unit's name only
    // when it sells in a unit of that name.
    const QString unitName = dbText(QrPrice->value(row, QStringLiteral("unitname"))).trimmed();
    bool found = false;
    try {
        found = products->ExistsProductUnit(int(id), unitName, TDmProduct::KindSale);
    } catch (const std::exception &e) {
        TDM::instance()->ApplicationEvents1Exception(QString::fromUtf8(e.what()));
    }
    if (found) {
        const QSqlRecord &u = products->ProductUnitRow();
        QrPrice->setValue(row, QStringLiteral("ProductUnits"), u.value(QStringLiteral("Id")).toLongLong());
        QrPrice->setValue(row, QStringLiteral("Barcode"), dbText(u.value(QStringLiteral("BarCode"))).trimmed());
        reportDuplicate(row);
    } else {
        QrPrice->setValue(row, QStringLiteral("ProductUnits"), QVariant());
        QrPrice->setValue(row, QStringLiteral("unitname"), QVariant());
        QrPrice->setValue(row, QStringLiteral("Barcode"), QVariant());
    }
    return true;
}

bool TFrCustomerProductPrice::unitRule(int row, const QString &unitName)
{
    const qint64 product = QrPrice->value(row, QStringLiteral("Product")).toLongLong();
    TDmProduct *products = TDmProduct::instance();
    try {
        if (product <= 0 || unitName.isEmpty() || !products->ExistsProductUnit(int(product), unitName, TDmProduct::KindSale))
            return false;
    } catch (const std::exception &e) {
        TDM::instance()->ApplicationEvents1Exception(QString::fromUtf8(e.what()));
        return false;
    }
    const QSqlRecord &u = products->ProductUnitRow();
    QrPrice->setValue(row, QStringLiteral("ProductUnits"), u.value(QStringLiteral("Id")).toLongLong());
    QrPrice->setValue(row, QStringLiteral("unitname"), dbText(u.value(QStringLiteral("UnitName"))).trimmed());
    QrPrice->setValue(row, QStringLiteral("Barcode"), dbText(u.value(QStringLiteral("BarCode"))).trimmed());
    reportDuplicate(row);
    return true;
}

void TFrCustomerProductPrice::reportDuplicate(int row)
{
    // Only told: the row keeps its unit and Save takes both.
    const QVariant product = QrPrice->value(row, QStringLiteral("Product"));
    const QVariant unit = QrPrice->value(row, QStringLiteral("ProductUnits"));
    int count = 0;
    for (int r = 0; r < QrPrice->rowCount() && count <= 1; ++r)
        if (QrPrice->value(r, QStringLiteral("Product")).toLongLong() == product.toLongLong()
            && QrPrice->value(r, QStringLiteral("ProductUnits")).toLongLong() == unit.toLongLong())
            ++count;
    if (count > 1)
        ShowMessage(DuplicateText);
}

// ------------------------------------------------------------------ grid

void TFrCustomerProductPrice::focusChanged(QWidget *now)
{
    if (!now || now->window() != this)
        return;
    // Enter and Escape belong to the grid while it has the focus.
    setKeyPreview(!(now == DgPrice || DgPrice->isAncestorOf(now)));
}

bool TFrCustomerProductPrice::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != DgPrice)
        return TFrForm::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn && isRealLeave(static_cast<QFocusEvent *>(event))) {
        if (m_customer <= 0) {
            ShowMessage(NoCustomerInGrid);
            QTimer::singleShot(0, this, [this] { FaCustomer->EdCode->setFocus(Qt::OtherFocusReason); });
        } else if (QrPrice->rowCount() == 0) {
            appendLine();
        } else if (!DgPrice->currentIndex().isValid()) {
            DgPrice->setCurrentIndex(QrPrice->index(0, QrPrice->columnOf(QStringLiteral("code"))));
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress || QApplication::focusWidget() != DgPrice || m_customer <= 0)
        return TFrForm::eventFilter(watched, event);
    const auto *k = static_cast<QKeyEvent *>(event);
    const QModelIndex at = DgPrice->currentIndex();
    const int last = QrPrice->rowCount() - 1;
    if (k->key() == Qt::Key_Delete && k->modifiers() == Qt::ControlModifier) {
        if (at.isValid() && TDM::instance()->Confirm(TDMConfig::deleteQuestion()))
            BDelLineClick();
        return true;
    }
    if (k->modifiers() != Qt::NoModifier && k->modifiers() != Qt::KeypadModifier)
        return TFrForm::eventFilter(watched, event);
    switch (k->key()) {
    case Qt::Key_F5:
        if (at.isValid() && (at.column() == QrPrice->columnOf(QStringLiteral("code")) || at.column() == QrPrice->columnOf(QStringLiteral("unitname")))) {
            DgPrice->edit(at);
            if (auto *box = qobject_cast<CodeEdit *>(QApplication::focusWidget()))
                box->runLookup();
        }
        return true;
    case Qt::Key_Down:
        // Down from the last row starts a new one (one blank row at a time).
        if (last < 0 || at.row() == last) {
            if (!blankLine(last))
                appendLine();
            return true;
        }
        break;
    case Qt::Key_Insert:
        if (!blankLine(last))
            appendLine();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // Enter moves to the next column that takes input, then on to the next row.
        if (!at.isValid())
            return true;
        for (int r = at.row(), c = at.column() + 1; r < QrPrice->rowCount(); ++r, c = 0)
            for (; c < QrPrice->columnCount(); ++c)
                if (QrPrice->index(r, c).flags() & Qt::ItemIsEditable) {
                    DgPrice->setCurrentIndex(QrPrice->index(r, c));
                    return true;
                }
        if (!blankLine(last))
            appendLine();
        return true;
    }
    default:
        break;
    }
    return TFrForm::eventFilter(watched, event);
}

QString TFrCustomerProductPrice::runLookup(TFrSearch *dialog)
{
    std::unique_ptr<TFrSearch> d(dialog);
    if (!d)
        return {};
    const bool ok = d->exec() == QDialog::Accepted;
    activateWindow();
    return ok ? d->ReturnValue.trimmed() : QString();
}

void TFrCustomerProductPrice::BDelLineClick()
{
    if (m_customer <= 0 || QrPrice->rowCount() == 0)
        return;
    if (!finishFocusedEditor(this))
        return;
    const QModelIndex at = DgPrice->currentIndex();
    const int row = at.isValid() ? at.row() : 0;
    QrPrice->removeRows(row, 1);
    DgPrice->viewport()->update();
    if (QrPrice->rowCount() > 0)
        DgPrice->setCurrentIndex(QrPrice->index(qMin(row, QrPrice->rowCount() - 1), QrPrice->columnOf(QStringLiteral("code"))));
}

void TFrCustomerProductPrice::copyDiscount(bool allBelow)
{
    const QModelIndex at = DgPrice->currentIndex();
    if (!at.isValid() || !finishFocusedEditor(this))
        return;
    const int from = at.row();
    const QVariant discount = QrPrice->value(from, QStringLiteral("Discount"));
    const int to = allBelow ? QrPrice->rowCount() - 1 : qMin(from + 1, QrPrice->rowCount() - 1);
    for (int r = from + 1; r <= to; ++r)
        QrPrice->setValue(r, QStringLiteral("Discount"), discount);
    DgPrice->setCurrentIndex(QrPrice->index(from, at.column()));
    DgPrice->setFocus(Qt::OtherFocusReason);
}

void TFrCustomerProductPrice::MnCopyDiscountAllClick() { copyDiscount(true); }
void TFrCustomerProductPrice::MnCopyDiscountOneClick() { copyDiscount(false); }

// ------------------------------------------------------------------ actions

void TFrCustomerProductPrice::finishEditing() { m_editRefused = !finishFocusedEditor(this); }

void TFrCustomerProductPrice::AcSaveExecute()
{
    if (!AcSave->isEnabled())
        return;
    if (m_editRefused) {
        // The user has been told why; nothing is asked or written.
        m_editRefused = false;
        return;
    }
    if (m_customer <= 0) {
        ShowMessage(NoCustomerOnSave);
        FaCustomer->EdCode->setFocus(Qt::OtherFocusReason);
        return;
    }
    setCurrentColumn(QStringLiteral("thainame"));
    QrPrice->dropIncompleteRows();
    TDM *dm = TDM::instance();
    if (!dm->Confirm(TDMConfig::saveQuestion()))
        return;
    const qint64 customer = m_customer;
    CachedGridModel::Statements st;
    st.remove = [](Connection &c, const CachedGridModel::Row &row) { c.exec(DeleteSql, row.paramsFor(DeleteSql)); };
    st.update = [](Connection &c, const CachedGridModel::Row &row) { c.exec(UpdateSql, row.paramsFor(UpdateSql)); };
    st.insert = [customer](Connection &c, const CachedGridModel::Row &row) -> QVariant {
        QVariantMap p = row.paramsFor(InsertSql);
        p.insert(QStringLiteral("Customer"), customer);
        return c.insertReturningId(InsertSql, p);
    };
    Connection &c = db();
    try {
        Transaction tx(c);
        QrPrice->write(c, st);
        tx.commit();
    } catch (const std::exception &e) {
        // Rolled back: every row stays on screen as it was, still to be written.
        dm->ApplicationEvents1Exception(QString::fromUtf8(e.what()));
        return;
    }
    QrPrice->acceptWritten();
    AcNew->trigger();
}

void TFrCustomerProductPrice::AcDelExecute()
{
    if (!AcDel->isEnabled() || m_customer <= 0)
        return;
    m_editRefused = false;
    TDM *dm = TDM::instance();
    if (!dm->Confirm(TDMConfig::deleteQuestion()))
        return;
    // Every stored row the list was loaded with goes; the screen changes only
    // once that has been committed.
    Connection &c = db();
    try {
        Transaction tx(c);
        for (const qint64 id : std::as_const(m_loadedIds))
            c.exec(DeleteSql, {{QStringLiteral("OLD_Id"), id}});
        tx.commit();
    } catch (const std::exception &e) {
        dm->ApplicationEvents1Exception(QString::fromUtf8(e.what()));
        return;
    }
    AcNew->trigger();
}

void TFrCustomerProductPrice::AcCopyExecute()
{
    if (!AcCopy->isEnabled() || m_customer <= 0)
        return;
    // Only into an empty list: a blank row waiting to be typed into does not count.
    for (int r = QrPrice->rowCount() - 1; r >= 0; --r)
        if (blankLine(r))
            QrPrice->removeRows(r, 1);
    if (QrPrice->rowCount() > 0)
        return;
    QString code;
    {
        std::unique_ptr<TFrSearch> d(CopyLookup ? CopyLookup(this) : new TF_SearchCustomer(this));
        if (!d)
            return;
        d->setWindowTitle(QStringLiteral("Copy รายการจากลูกค้าที่ต้องการ"));
        if (d->exec() == QDialog::Accepted)
            code = d->ReturnValue.trimmed();
    }
    activateWindow();
    if (code.isEmpty())
        return;
    QList<QVariantMap> rows;
    try {
        QSqlQuery q = db().exec(CopySql, {{QStringLiteral("getcode"), code}});
        while (q.next()) {
            const QSqlRecord rec = q.record();
            QVariantMap m;
            for (int i = 0; i < rec.count(); ++i) {
                const QString f = rec.fieldName(i);
                if (f.compare(QStringLiteral("Id"), Qt::CaseInsensitive) != 0 && f.compare(QStringLiteral("Customer"), Qt::CaseInsensitive) != 0)
                    m.insert(f, rec.value(i));
            }
            m.insert(QStringLiteral("Customer"), m_customer);
            rows.append(m);
        }
    } catch (const std::exception &e) {
        TDM::instance()->ApplicationEvents1Exception(QString::fromUtf8(e.what()));
        return;
    }
    if (rows.isEmpty()) {
        ShowMessage(NothingToCopy);
        return;
    }
    for (const QVariantMap &m : std::as_const(rows))
        QrPrice->appendRow(m);
    DgPrice->setCurrentIndex(QrPrice->index(0, QrPrice->columnOf(QStringLiteral("code"))));
    AcCopy->setEnabled(false);
    showToolButton(BCopy, false);
    DgPrice->setFocus(Qt::OtherFocusReason);
}
