#include "TFrCodeGrid.h"
#include "db/Connection.h"
#include "db/Dialect.h"
#include "db/Schema.h"
#include "lookup/LookupSupport.h"
#include "lookup/edit/EditSupport.h"
#include "services/TDM.h"
#include "session/TDMConfig.h"
#include "session/UserDialogs.h"
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTableView>
#include <QTreeView>
#include <QVBoxLayout>

Connection &companyDb() { return TDM::instance()->DMDATA(); }

namespace {

bool blank(const QVariant &v) { return !v.isValid() || v.isNull() || dbText(v).trimmed().isEmpty(); }

} // namespace

// ---------------------------------------------------------------- rows

Qt::ItemFlags OrgGridModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = CachedGridModel::flags(index);
    if (!canModifyStored && index.isValid() && index.row() < rowCount() && rowState(index.row()) != RowState::Inserted)
        f &= ~Qt::ItemIsEditable;
    return f;
}

// ---------------------------------------------------------------- code drop-down

CodeComboDelegate::CodeComboDelegate(QObject *parent) : QlxCellDelegate(parent) { enterMovesToNextCell = true; }

QWidget *CodeComboDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const
{
    auto *combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMaxVisibleItems(visibleItems);
    combo->setToolTip(hint);
    auto *list = new QStandardItemModel(int(items.size()), 2, combo);
    list->setHorizontalHeaderLabels(headers);
    for (int r = 0; r < items.size(); ++r) {
        list->setItem(r, 0, new QStandardItem(items.at(r).code));
        list->setItem(r, 1, new QStandardItem(items.at(r).description));
    }
    auto *view = new QTreeView(combo);
    view->setRootIsDecorated(false);
    view->setHeaderHidden(headers.isEmpty());
    view->setAllColumnsShowFocus(true);
    combo->setModel(list);
    combo->setView(view);
    combo->setModelColumn(0);
    view->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view->setMinimumWidth(320);
    makeUpperCase(combo->lineEdit());
    // Choosing from the list is taken at once, as leaving the cell would.
    connect(combo, qOverload<int>(&QComboBox::activated), this, [this, combo] { emit const_cast<CodeComboDelegate *>(this)->commitData(combo); });
    return combo;
}

void CodeComboDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *combo = static_cast<QComboBox *>(editor);
    const QString code = dbText(index.data(Qt::EditRole)).trimmed();
    const int i = combo->findText(code, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    combo->setCurrentIndex(i);
    combo->setEditText(code);
}

void CodeComboDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *combo = static_cast<QComboBox *>(editor);
    const QString typed = combo->currentText().trimmed().toUpper();
    if (typed == dbText(index.data(Qt::EditRole)).trimmed())
        return;
    if (resolve) {
        resolve(index, typed);
        combo->setEditText(dbText(index.data(Qt::EditRole)).trimmed());
    } else
        model->setData(index, typed, Qt::EditRole);
}

// ---------------------------------------------------------------- resolving code cell

ResolvingCodeCell::ResolvingCodeCell(QObject *parent) : CodeCellDelegate(parent) { enterMovesToNextCell = true; }

void ResolvingCodeCell::setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const
{
    auto *edit = static_cast<QLineEdit *>(editor);
    const QString typed = edit->text().trimmed().toUpper();
    if (typed == dbText(index.data(Qt::EditRole)).trimmed() || !resolve)
        return;
    edit->setText(resolve(index.row(), typed));
}

// ---------------------------------------------------------------- window

TFrCodeGrid::TFrCodeGrid(QWidget *parent) : TFrForm(parent)
{
    Model = new OrgGridModel(this);
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { focusChanged(now); });
}

// The children go after this destructor and move the focus as they go.
TFrCodeGrid::~TFrCodeGrid() { disconnect(m_focusWatch); }

void TFrCodeGrid::buildGrid(const QList<GridColumn> &columns, const QColor &alternate)
{
    QList<CachedGridModel::Column> cols;
    for (const GridColumn &s : columns) {
        CachedGridModel::Column c;
        c.field = QLatin1String(s.field);
        c.title = s.title;
        c.kind = s.kind;
        c.displayOnly = s.displayOnly;
        c.widthChars = s.widthChars;
        cols.append(c);
    }
    Model->setColumns(cols);
    Model->setKeyFields({QStringLiteral("Id")});

    auto *central = new QWidget(this);
    auto *lay = new QVBoxLayout(central);
    lay->setContentsMargins(4, 4, 4, 4);
    Grid = new QTableView(central);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setModel(Model);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    Grid->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed | QAbstractItemView::DoubleClicked
                          | QAbstractItemView::SelectedClicked);
    Grid->setAlternatingRowColors(true);
    QPalette pal = Grid->palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::AlternateBase, alternate);
    Grid->setPalette(pal);
    Grid->verticalHeader()->setDefaultSectionSize(Grid->fontMetrics().height() + 8);
    Grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    const int charWidth = Grid->fontMetrics().averageCharWidth();
    int total = Grid->verticalHeader()->sizeHint().width() + 24;
    for (int i = 0; i < columns.size(); ++i) {
        // A one-character flag still needs room for its title.
        const int w = qMax(columns.at(i).widthChars * charWidth + 12, Grid->fontMetrics().horizontalAdvance(columns.at(i).title) + 16);
        Grid->setColumnWidth(i, w);
        total += w;
    }
    Grid->setMinimumSize(qMin(total, 1200), 380);
    Grid->installEventFilter(this);
    connect(Grid->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex &now) { currentCellChanged(now); });
    lay->addWidget(Grid, 1);
    setCentralWidget(central);
}

QlxCellDelegate *TFrCodeGrid::textCell(const QString &field, int maxLength, bool upperCase)
{
    QlxCellDelegate *d = upperCase ? static_cast<QlxCellDelegate *>(new LimitedCell<CodeCellDelegate>(maxLength, this))
                                   : static_cast<QlxCellDelegate *>(new LimitedCell<QlxCellDelegate>(maxLength, this));
    setCell(field, d);
    return d;
}

void TFrCodeGrid::setCell(const QString &field, QAbstractItemDelegate *delegate)
{
    Grid->setItemDelegateForColumn(Model->columnOf(field), delegate);
}

bool TFrCodeGrid::confirmSave() { return TDM::instance()->Confirm(TDMConfig::saveQuestion()); }

bool TFrCodeGrid::confirmDelete() { return TDM::instance()->Confirm(TDMConfig::deleteQuestion()); }

static QString titleOf(const CachedGridModel &m, const QString &field)
{
    const int c = m.columnOf(field);
    return c >= 0 ? m.columns().at(c).title : field;
}

bool TFrCodeGrid::rowsAreSound()
{
    // A stored row that lost a value is not deleted behind the user's back:
    // the save stops there.
    QHash<QString, int> seen;
    for (int r = 0; r < Model->rowCount(); ++r) {
        QString lacking;
        for (const QString &f : std::as_const(RequiredFields))
            if (lacking.isEmpty() && blank(Model->value(r, f)))
                lacking = f;
        if (!lacking.isEmpty()) {
            if (Model->rowState(r) == CachedGridModel::RowState::Inserted)
                continue;
            ShowMessage(missingValueMessage(titleOf(*Model, lacking)));
            focusCell(r, lacking);
            return false;
        }
        const QString code = dbText(Model->value(r, CodeField)).trimmed().toUpper();
        if (seen.contains(code)) {
            ShowMessage(duplicateCodeMessage(titleOf(*Model, CodeField), code));
            focusCell(r, CodeField);
            return false;
        }
        seen.insert(code, r);
    }
    return true;
}

bool TFrCodeGrid::writePending(const CachedGridModel::Statements &st, const std::function<void(Connection &)> &extra)
{
    if (!rowsAreSound())
        return false;
    for (int r = Model->rowCount() - 1; r >= 0; --r) {
        if (Model->rowState(r) != CachedGridModel::RowState::Inserted)
            continue;
        for (const QString &f : std::as_const(RequiredFields))
            if (blank(Model->value(r, f))) {
                Model->removeRows(r, 1);
                break;
            }
    }
    if (!Model->hasPendingChanges() && !extra)
        return true;
    Connection &c = companyDb();
    try {
        Transaction tx(c);
        Model->write(c, st);
        if (extra)
            extra(c);
        tx.commit();
    } catch (const std::exception &e) {
        // Rolled back: every edit stays on screen, still to be written.
        report(e);
        return false;
    }
    Model->acceptWritten();
    return true;
}

int TFrCodeGrid::appendRowAtCode(const QVariantMap &values)
{
    const int r = Model->appendRow(values);
    focusCell(r, CodeField);
    return r;
}

void TFrCodeGrid::focusCell(int row, const QString &field)
{
    Grid->setFocus(Qt::OtherFocusReason);
    const int c = qMax(0, Model->columnOf(field));
    if (row >= 0 && row < Model->rowCount())
        Grid->setCurrentIndex(Model->index(row, c));
}

int TFrCodeGrid::currentRow() const
{
    const QModelIndex i = Grid->currentIndex();
    return i.isValid() && i.row() < Model->rowCount() ? i.row() : -1;
}

QString TFrCodeGrid::currentField() const
{
    const QModelIndex i = Grid->currentIndex();
    return i.isValid() && i.column() < Model->columns().size() ? Model->columns().at(i.column()).field : QString();
}

void TFrCodeGrid::moveToNextCell()
{
    const QModelIndex at = Grid->currentIndex();
    if (!at.isValid())
        return;
    for (int r = at.row(), c = at.column() + 1; r < Model->rowCount(); ++r, c = 0)
        for (; c < Model->columnCount(); ++c) {
            const QModelIndex i = Model->index(r, c);
            if (i.flags() & Qt::ItemIsEditable) {
                Grid->setCurrentIndex(i);
                return;
            }
        }
}

bool TFrCodeGrid::gridKey(int key, Qt::KeyboardModifiers mods)
{
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && mods == Qt::NoModifier) {
        moveToNextCell();
        return true;
    }
    return false;
}

bool TFrCodeGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Grid && event->type() == QEvent::KeyPress && QApplication::focusWidget() == Grid) {
        const auto *k = static_cast<QKeyEvent *>(event);
        if (gridKey(k->key(), k->modifiers()))
            return true;
    }
    return TFrForm::eventFilter(watched, event);
}

void TFrCodeGrid::focusChanged(QWidget *now)
{
    if (!now || now->window() != this || !Grid)
        return;
    // Enter and the arrows belong to the grid while it has the focus.
    setKeyPreview(!(now == Grid || Grid->isAncestorOf(now)));
}

void TFrCodeGrid::finishEditing() { m_editRefused = !finishFocusedEditor(this); }

void TFrCodeGrid::report(const std::exception &e) { TDM::instance()->ApplicationEvents1Exception(QString::fromUtf8(e.what())); }

void TFrCodeGrid::ensureTable(const QString &table)
{
    Connection &c = companyDb();
    const TableDef *def = findTable(DbRole::Company, table);
    if (!def || c.dialect().hasTable(c, table))
        return;
    for (const QString &sql : c.dialect().createTableDdl(*def))
        c.exec(sql);
}

void TFrCodeGrid::ensureColumns(const QString &table, const QStringList &columns)
{
    Connection &c = companyDb();
    const TableDef *def = findTable(DbRole::Company, table);
    if (!def)
        return;
    for (const QString &name : columns)
        if (const ColumnDef *col = def->column(name); col && !c.dialect().hasColumn(c, table, name))
            c.dialect().addColumn(c, table, *col);
}
