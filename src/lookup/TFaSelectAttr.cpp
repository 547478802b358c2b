#include "TFaSelectAttr.h"
#include "TFrForm.h"
#include "core/Cp874.h"
#include "db/Schema.h"
#include "services/TDM.h"
#include "session/TDMConfig.h"
#include "session/UserDialogs.h"
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

// ---------------------------------------------------------------- code look-ups

TFrSearchAttrCode::TFrSearchAttrCode(const QString &codeTable, const QString &groupColumn, bool matchCodeToo, QWidget *parent)
    : TFrSearch(parent), m_matchCode(matchCodeToo)
{
    LbCode->setText(QStringLiteral("รายละเอียด"));
    setFilterUpperCase(false);
    CbWholeWord = new QCheckBox(QStringLiteral("หาเต็มคำ"), PnHeader);
    CbWholeWord->setObjectName(QStringLiteral("CbWholeWord"));
    static_cast<QHBoxLayout *>(PnHeader->layout())->insertWidget(2, CbWholeWord);
    SQL = {QStringLiteral("Select Id, Code, Description From ") + checkedIdentifier(codeTable),
           QStringLiteral("Where ") + checkedIdentifier(groupColumn) + QStringLiteral(" = :GroupId")};
    setGridColumns({{QStringLiteral("Code"), QStringLiteral("รหัส")}, {QStringLiteral("Description"), QStringLiteral("รายละเอียด")}});
    setSearchOnShow(true);
}

void TFrSearchAttrCode::FormShow() { KeyFieldName = QStringLiteral("Code"); }

QHash<QString, QString> TFrSearchAttrCode::englishTexts() const
{
    return {
        {QStringLiteral("ค้นหาคุณสมบัติสินค้า"), QStringLiteral("Search Product Attribute")},
        {QStringLiteral("ค้นหาคุณสมบัติลูกค้า"), QStringLiteral("Search Customer Attribute")},
        {QStringLiteral("ค้นหาคุณสมบัติเจ้าหนี้"), QStringLiteral("Search Vendor Attribute")},
        {QStringLiteral("รายละเอียด"), QStringLiteral("Description")},
        {QStringLiteral("ค้นหารายละเอียด"), QStringLiteral("Search Description")},
        {QStringLiteral("หาเต็มคำ"), QStringLiteral("Whole Word")},
        {QStringLiteral("รหัส"), QStringLiteral("Code")},
    };
}

void TFrSearchAttrCode::prepareSearch()
{
    Parameters = {{QStringLiteral("GroupId"), GroupId}};
    Conditions.clear();
    const QString t = Code->text().trimmed();
    if (t.isEmpty())
        return;
    const bool whole = CbWholeWord->isChecked();
    const QString op = whole ? QStringLiteral(" = ?") : QStringLiteral(" Like ?");
    const QString v = whole ? t : QLatin1Char('%') + t + QLatin1Char('%');
    if (m_matchCode)
        Conditions.add(QStringLiteral("(Description") + op + QStringLiteral(") Or (Code") + op + QLatin1Char(')'), {v, v});
    else
        Conditions.add(QStringLiteral("Description") + op, {v});
}

TFrSearchProdAttrCode::TFrSearchProdAttrCode(QWidget *parent)
    : TFrSearchAttrCode(QStringLiteral("ProdAttrCode"), QStringLiteral("ProdAttrGroup"), false, parent)
{
    setWindowTitle(QStringLiteral("ค้นหาคุณสมบัติสินค้า"));
}

TFrSearchCusAttrCode::TFrSearchCusAttrCode(QWidget *parent)
    : TFrSearchAttrCode(QStringLiteral("CusAttrCode"), QStringLiteral("CusAttrGroup"), true, parent)
{
    setWindowTitle(QStringLiteral("ค้นหาคุณสมบัติลูกค้า"));
    connect(Code, &QLineEdit::textChanged, this, [this] { if (isVisible()) Search(); });
}

TFrSearchVenAttrCode::TFrSearchVenAttrCode(QWidget *parent)
    : TFrSearchAttrCode(QStringLiteral("VenAttrCode"), QStringLiteral("VenAttrGroup"), false, parent)
{
    setWindowTitle(QStringLiteral("ค้นหาคุณสมบัติเจ้าหนี้"));
    LbCode->setText(QStringLiteral("ค้นหารายละเอียด"));
}

// ---------------------------------------------------------------- cell editor

class AttrCellDelegate : public QStyledItemDelegate
{
public:
    explicit AttrCellDelegate(TFaSelectAttrBase *frame) : QStyledItemDelegate(frame), m_frame(frame) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        auto *e = new QLineEdit(parent);
        e->setObjectName(QStringLiteral("AttrCellEditor"));
        makeUpperCase(e, m_frame->codeWidth());
        QAction *look = e->addAction(m_frame->style()->standardIcon(QStyle::SP_FileDialogContentsView), QLineEdit::TrailingPosition);
        connect(look, &QAction::triggered, m_frame, [f = m_frame] { f->lookupCurrentCell(); });
        return e;
    }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            auto *editor = qobject_cast<QWidget *>(object);
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (editor && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
                emit commitData(editor);
                emit closeEditor(editor, NoHint);
                m_frame->moveNext();
                return true;
            }
            if (editor && key == Qt::Key_F5) {
                emit commitData(editor);
                emit closeEditor(editor, NoHint);
                m_frame->lookupCurrentCell();
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    TFaSelectAttrBase *m_frame;
};

// ---------------------------------------------------------------- frame base

TFaSelectAttrBase::TFaSelectAttrBase(const QString &groupTable, const QString &codeTable, const QString &codeGroupColumn,
                                     const QString &attrTable, const QString &attrKeyColumn, QWidget *parent)
    : QFrame(parent), m_groupTable(checkedIdentifier(groupTable)), m_codeTable(checkedIdentifier(codeTable)),
      m_codeGroupColumn(checkedIdentifier(codeGroupColumn)), m_attrTable(checkedIdentifier(attrTable)),
      m_attrKeyColumn(checkedIdentifier(attrKeyColumn))
{
    if (const TableDef *t = findTable(DbRole::Company, codeTable))
        if (const ColumnDef *c = t->column(QStringLiteral("Code")); c && c->size > 0)
            m_codeWidth = c->size;
    DgAttr = new QTableWidget(0, 3, this);
    DgAttr->setObjectName(QStringLiteral("DgAttr"));
    DgAttr->setItemDelegateForColumn(ColFrom, new AttrCellDelegate(this));
    DgAttr->setItemDelegateForColumn(ColTo, new AttrCellDelegate(this));
    DgAttr->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                            | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    DgAttr->setSelectionMode(QAbstractItemView::SingleSelection);
    DgAttr->verticalHeader()->hide();
    DgAttr->horizontalHeader()->setSectionResizeMode(ColDescription, QHeaderView::Stretch);
    DgAttr->installEventFilter(this);
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->addWidget(DgAttr);
    connect(DgAttr, &QTableWidget::itemChanged, this, &TFaSelectAttrBase::cellChanged);
    connect(DgAttr, &QTableWidget::cellClicked, this, [this](int row, int col) {
        if (m_descriptionClickMovesToFrom && col == ColDescription)
            DgAttr->setCurrentCell(row, ColFrom);
    });
    connect(qApp, &QApplication::focusChanged, this, &TFaSelectAttrBase::focusMoved);
}

QString TFaSelectAttrBase::highCharacter()
{
    // The highest byte of the code page: sorts after every code of the group.
    return fromCp874(QByteArray(1, char(0xFF)));
}

QString TFaSelectAttrBase::groupStatement() const
{
    return QStringLiteral("SELECT Id, Code, Description FROM ") + m_groupTable + QStringLiteral(" ORDER BY Description");
}

void TFaSelectAttrBase::open()
{
    m_rows.clear();
    auto q = (DataConnection ? *DataConnection : TDM::instance()->DMDATA()).exec(groupStatement(), groupParams());
    while (q.next()) {
        Row r;
        r.Id = q.value(0).toLongLong();
        r.Code = dbText(q.value(1)).trimmed();
        r.Description = dbText(q.value(2));
        r.BeginGroupCode = r.EndGroupCode = r.Code + highCharacter();
        m_rows.append(r);
    }
    m_filling = true;
    DgAttr->setRowCount(int(m_rows.size()));
    for (int i = 0; i < m_rows.size(); ++i) {
        auto *d = new QTableWidgetItem(m_rows.at(i).Description);
        d->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        DgAttr->setItem(i, ColDescription, d);
        DgAttr->setItem(i, ColFrom, new QTableWidgetItem(QString()));
        DgAttr->setItem(i, ColTo, new QTableWidgetItem(QString()));
    }
    m_filling = false;
    if (!m_rows.isEmpty())
        DgAttr->setCurrentCell(0, ColFrom);
}

void TFaSelectAttrBase::setCell(int row, int column, const QString &code)
{
    if (row < 0 || row >= DgAttr->rowCount() || (column != ColFrom && column != ColTo))
        return;
    DgAttr->item(row, column)->setText(code.toUpper().left(m_codeWidth));
}

void TFaSelectAttrBase::cellChanged(QTableWidgetItem *item)
{
    if (m_filling || !item)
        return;
    const int row = item->row(), col = item->column();
    if (row < 0 || row >= m_rows.size() || (col != ColFrom && col != ColTo))
        return;
    const QString code = item->text().trimmed().toUpper().left(m_codeWidth);
    if (item->text() != code) {
        m_filling = true;
        item->setText(code);
        m_filling = false;
    }
    Row &r = m_rows[row];
    qint64 id = 0;
    if (!code.isEmpty()) {
        try {
            id = (DataConnection ? *DataConnection : TDM::instance()->DMDATA()).scalar(QStringLiteral("SELECT Id FROM ") + m_codeTable + QStringLiteral(" WHERE ")
                                                      + m_codeGroupColumn + QStringLiteral(" = :g AND Code = :c"),
                                                  {{QStringLiteral("g"), r.Id}, {QStringLiteral("c"), code}})
                     .toLongLong();
        } catch (const DbError &e) {
            ShowError(e.message());
        }
    }
    const QString group = code.isEmpty() ? r.Code + highCharacter() : r.Code + code;
    if (col == ColFrom) {
        r.BeginAttrCode = code;
        r.BeginAttrId = id;
        r.BeginGroupCode = group;
    } else {
        r.EndAttrCode = code;
        r.EndAttrId = id;
        r.EndGroupCode = group;
    }
}

void TFaSelectAttrBase::addConditions(SqlConditions &conditions) const
{
    for (const Row &r : m_rows) {
        const QString from = r.BeginAttrCode.trimmed(), to = r.EndAttrCode.trimmed();
        if (from.isEmpty() && to.isEmpty())
            continue;
        const QString g = r.Code.trimmed();
        conditions.add(KeyExpression + QStringLiteral(" In (Select ") + m_attrKeyColumn + QStringLiteral(" From ") + m_attrTable
                           + QStringLiteral(" Where (GroupCode Between ? And ?))"),
                       {g + from, g + to});
    }
}

void TFaSelectAttrBase::moveNext()
{
    const int row = DgAttr->currentRow(), col = DgAttr->currentColumn();
    if (row < 0)
        return;
    if (col == ColTo) {
        if (row + 1 < DgAttr->rowCount())
            DgAttr->setCurrentCell(row + 1, ColFrom);
    } else {
        DgAttr->setCurrentCell(row, col == ColFrom ? ColTo : ColFrom);
    }
    DgAttr->setFocus();
}

void TFaSelectAttrBase::lookupCurrentCell()
{
    const int row = DgAttr->currentRow(), col = DgAttr->currentColumn();
    if (row < 0 || row >= m_rows.size() || (col != ColFrom && col != ColTo))
        return;
    QString code;
    if (CodeLookup) {
        code = CodeLookup(m_rows.at(row).Id);
    } else {
        std::unique_ptr<TFrSearch> d(createCodeLookup(m_rows.at(row).Id));
        if (d->exec() == QDialog::Accepted)
            code = d->ReturnValue;
    }
    if (!code.isEmpty())
        setCell(row, col, code);
    DgAttr->setFocus();
}

bool TFaSelectAttrBase::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == DgAttr && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            moveNext();
            return true;
        }
        if (key == Qt::Key_F5) {
            lookupCurrentCell();
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

void TFaSelectAttrBase::setOwnerKeyPreview(bool on)
{
    QWidget *w = window();
    if (auto *s = qobject_cast<TFrSearch *>(w))
        s->setKeyPreview(on);
    else if (auto *f = qobject_cast<TFrForm *>(w))
        f->setKeyPreview(on);
}

void TFaSelectAttrBase::focusMoved(QWidget *old, QWidget *now)
{
    auto inside = [this](QWidget *w) { return w && (w == DgAttr || DgAttr->isAncestorOf(w)); };
    if (inside(now))
        setOwnerKeyPreview(false);
    else if (inside(old) && now && now->window() == window())
        setOwnerKeyPreview(true);
}

// ---------------------------------------------------------------- members

TFaSelectProdAttr::TFaSelectProdAttr(QWidget *parent)
    : TFaSelectAttrBase(QStringLiteral("ProdAttrGroup"), QStringLiteral("ProdAttrCode"), QStringLiteral("ProdAttrGroup"),
                        QStringLiteral("ProductAttribute"), QStringLiteral("Product"), parent)
{
    DgAttr->setHorizontalHeaderLabels({QStringLiteral("คุณสมบัติสินค้า"), QStringLiteral("เริ่มต้น"), QStringLiteral("สิ้นสุด")});
}

QString TFaSelectProdAttr::groupStatement() const
{
    return QStringLiteral("SELECT G.Id, G.Code, G.Description FROM ProdAttrGroup G WHERE G.ProductType = :GetType ORDER BY G.Description");
}

TFrSearch *TFaSelectProdAttr::createCodeLookup(qint64 groupId)
{
    auto *d = new TFrSearchProdAttrCode(window());
    d->GroupId = int(groupId);
    return d;
}

TFaSelectCustomerAttr::TFaSelectCustomerAttr(QWidget *parent)
    : TFaSelectAttrBase(QStringLiteral("CusAttrGroup"), QStringLiteral("CusAttrCode"), QStringLiteral("CusAttrGroup"),
                        QStringLiteral("CustomerAttribute"), QStringLiteral("Customer"), parent)
{
    KeyExpression = QStringLiteral("C.Id");
    m_descriptionClickMovesToFrom = true;
    const bool thai = !TDMConfig::instance() || TDMConfig::instance()->IsThai;
    DgAttr->setHorizontalHeaderLabels(thai ? QStringList{QStringLiteral("คุณสมบัติ"), QStringLiteral("เริ่มต้น"), QStringLiteral("สิ้นสุด")}
                                           : QStringList{QStringLiteral("Customer Attribute"), QStringLiteral("From Code"), QStringLiteral("To Code")});
}

TFrSearch *TFaSelectCustomerAttr::createCodeLookup(qint64 groupId)
{
    auto *d = new TFrSearchCusAttrCode(window());
    d->GroupId = int(groupId);
    return d;
}

TFaSelectVendorAttr::TFaSelectVendorAttr(QWidget *parent)
    : TFaSelectAttrBase(QStringLiteral("VenAttrGroup"), QStringLiteral("VenAttrCode"), QStringLiteral("VenAttrGroup"),
                        QStringLiteral("VendorAttribute"), QStringLiteral("Vendor"), parent)
{
    m_descriptionClickMovesToFrom = true;
    DgAttr->setHorizontalHeaderLabels({QStringLiteral("คุณสมบัติ"), QStringLiteral("เริ่มต้น"), QStringLiteral("สิ้นสุด")});
}

TFrSearch *TFaSelectVendorAttr::createCodeLookup(qint64 groupId)
{
    auto *d = new TFrSearchVenAttrCode(window());
    d->GroupId = int(groupId);
    return d;
}
