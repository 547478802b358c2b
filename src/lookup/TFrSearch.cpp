#include "TFrSearch.h"
#include "PagedQueryModel.h"
#include "db/Schema.h"
#include "services/TDM.h"
#include "session/TDMConfig.h"
#include "session/UserDialogs.h"
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QTableWidget>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSqlField>
#include <QTableView>
#include <QVBoxLayout>

namespace {
QString g_sortColumn;
bool g_sortDescending = false;

bool isLargeColumn(const QString &name)
{
    for (const auto &t : schemaCatalogue())
        if (const ColumnDef *c = t.column(name); c && (c->type == ColType::Memo || c->type == ColType::Blob))
            return true;
    return false;
}
} // namespace

TFrSearch::TFrSearch(QWidget *parent) : QDialog(parent)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(QStringLiteral("ค้นหา"));
    resize(640, 440);

    PnHeader = new QWidget(this);
    PnHeader->setObjectName(QStringLiteral("PnHeader"));
    auto *head = new QHBoxLayout(PnHeader);
    head->setContentsMargins(4, 4, 4, 4);
    LbCode = new QLabel(QStringLiteral("รหัส"), PnHeader);
    Code = new QLineEdit(PnHeader);
    Code->setObjectName(QStringLiteral("Code"));
    makeUpperCase(Code);
    LbCode->setBuddy(Code);
    BtSearch = new QPushButton(QStringLiteral("ค้นหา"), PnHeader);
    BtSearch->setObjectName(QStringLiteral("BtSearch"));
    BtSearch->setFocusPolicy(Qt::ClickFocus);
    BtOk = new QPushButton(QStringLiteral("เลือก"), PnHeader);
    BtOk->setObjectName(QStringLiteral("BtOk"));
    BtCancel = new QPushButton(QStringLiteral("ไม่เลือก"), PnHeader);
    BtCancel->setObjectName(QStringLiteral("BtCancel"));
    for (QPushButton *b : {BtSearch, BtOk, BtCancel})
        b->setAutoDefault(false);
    head->addWidget(LbCode);
    head->addWidget(Code, 1);
    head->addWidget(BtSearch);
    head->addWidget(BtOk);
    head->addWidget(BtCancel);

    m_model = new PagedQueryModel(this);
    DgSearch = new QTableView(this);
    DgSearch->setObjectName(QStringLiteral("DgSearch"));
    DgSearch->setModel(m_model);
    DgSearch->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DgSearch->setSelectionBehavior(QAbstractItemView::SelectRows);
    DgSearch->setSelectionMode(QAbstractItemView::SingleSelection);
    DgSearch->setAlternatingRowColors(false);
    DgSearch->horizontalHeader()->setSectionsClickable(true);
    DgSearch->horizontalHeader()->setHighlightSections(false);
    // Column widths from the first page only: sizing must not read the whole result.
    DgSearch->horizontalHeader()->setResizeContentsPrecision(PagedQueryModel::PageSize);
    DgSearch->horizontalHeader()->setStretchLastSection(true);
    DgSearch->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    DgSearch->verticalHeader()->setDefaultSectionSize(DgSearch->fontMetrics().height() + 6);
    DgSearch->verticalHeader()->hide();
    DgSearch->setToolTip(QStringLiteral("สีแดง : เอกสารยกเลิก\nสีน้ำเงิน : เอกสารรับ/จ่ายแล้ว"));
    DgSearch->viewport()->installEventFilter(this);

    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(4, 4, 4, 4);
    lay->addWidget(PnHeader);
    FilterArea = new QVBoxLayout;
    lay->addLayout(FilterArea);
    lay->addWidget(DgSearch, 1);

    connect(BtSearch, &QPushButton::clicked, this, &TFrSearch::Search);
    connect(BtOk, &QPushButton::clicked, this, [this] { done(Accepted); });
    connect(BtCancel, &QPushButton::clicked, this, [this] { done(Rejected); });
    connect(DgSearch, &QTableView::doubleClicked, this, [this] { done(Accepted); });
    connect(DgSearch->horizontalHeader(), &QHeaderView::sectionClicked, this, &TFrSearch::sortByColumn);

    m_preview = new KeyPreview(this, [this](QWidget *t, int k, Qt::KeyboardModifiers m) { return previewKey(t, k, m); });
}

TFrSearch::~TFrSearch() = default;

bool TFrSearch::isThai() const
{
    const TDMConfig *cfg = TDMConfig::instance();
    return !cfg || cfg->IsThai;
}

Connection &TFrSearch::connection() { return TDM::instance()->DMDATA(); }

QString TFrSearch::nameLike(const QString &column)
{
    if (connection().engine() == EngineKind::Postgres)
        return QStringLiteral("CAST(") + checkedIdentifier(column) + QStringLiteral(" AS TEXT) ILIKE ?");
    return checkedIdentifier(column) + QStringLiteral(" Like ?");
}

void TFrSearch::applyEnglish(const QHash<QString, QString> &english)
{
    if (isThai())
        return;
    auto put = [&](const QString &thai, auto set) {
        if (auto it = english.constFind(thai); it != english.cend())
            set(*it);
    };
    put(windowTitle(), [this](const QString &t) { setWindowTitle(t); });
    for (QLabel *l : findChildren<QLabel *>())
        put(l->text(), [l](const QString &t) { l->setText(t); });
    for (QAbstractButton *b : findChildren<QAbstractButton *>())
        put(b->text(), [b](const QString &t) { b->setText(t); });
    for (QGroupBox *g : findChildren<QGroupBox *>())
        put(g->title(), [g](const QString &t) { g->setTitle(t); });
    for (QComboBox *c : findChildren<QComboBox *>())
        for (int i = 0; i < c->count(); ++i)
            put(c->itemText(i), [c, i](const QString &t) { c->setItemText(i, t); });
    for (QTableWidget *w : findChildren<QTableWidget *>())
        for (int i = 0; i < w->columnCount(); ++i)
            if (QTableWidgetItem *h = w->horizontalHeaderItem(i))
                put(h->text(), [h](const QString &t) { h->setText(t); });
    for (auto &[name, title] : m_columns)
        put(title, [&title](const QString &t) { title = t; });
    applyColumns();
}

void TFrSearch::setGridColumns(const QList<QPair<QString, QString>> &columns)
{
    m_columns = columns;
    m_widths.clear();
    applyColumns();
}

void TFrSearch::setFilterUpperCase(bool on)
{
    if (on)
        makeUpperCase(Code);
    else
        Code->setValidator(nullptr);
}

void TFrSearch::setKeyPreview(bool on) { m_preview->setEnabled(on); }
bool TFrSearch::keyPreview() const { return m_preview->isEnabled(); }

void TFrSearch::showEvent(QShowEvent *e)
{
    QDialog::showEvent(e);
    if (QScreen *s = screen())
        move(s->availableGeometry().center() - rect().center());
    if (!isThai()) {
        BtSearch->setText(QStringLiteral("Search"));
        BtOk->setText(QStringLiteral("Choose"));
        BtCancel->setText(QStringLiteral("Cancel"));
        for (QPushButton *b : {BtSearch, BtOk, BtCancel}) {
            QFont f = b->font();
            f.setPointSize(8);
            b->setFont(f);
        }
        DgSearch->setToolTip(QString());
    }
    m_model->clear();
    Code->clear();
    Code->setFocus();
    FormShow();
    if (!isThai())
        applyEnglish(englishTexts());
    if (m_searchOnShow)
        Search();
}

QString TFrSearch::composedSql(bool withOrder) const
{
    QStringList lines = SQL;
    int at = int(lines.size());
    for (int i = 0; i < lines.size(); ++i)
        if (lines.at(i).toUpper().contains(QLatin1String("ORDER BY "))) {
            at = i;
            break;
        }
    if (!withOrder) {
        for (QString &line : lines) {
            const int cut = line.toUpper().indexOf(QLatin1String("ORDER BY "));
            if (cut >= 0)
                line = line.left(cut);
        }
    }
    for (int i = 0; i < Conditions.lines().size(); ++i)
        lines.insert(at + i, Conditions.lines().at(i));
    return lines.join(QLatin1Char('\n'));
}

void TFrSearch::Search()
{
    if (!canSearch())
        return;
    prepareSearch();
    Params p = Parameters;
    for (auto it = Conditions.params().cbegin(); it != Conditions.params().cend(); ++it)
        p.insert(it.key(), it.value());
    try {
        m_model->setQuery(&connection(), composedSql(), p, composedSql(false));
    } catch (const DbError &e) {
        m_model->clear();
        ShowError(e.message());
        return;
    }
    applyColumns();
    DgSearch->resizeColumnsToContents();
    for (int c = 0; c < m_model->columnCount(); ++c)
        if (auto w = m_widths.constFind(m_model->record().fieldName(c).toLower()); w != m_widths.cend())
            DgSearch->setColumnWidth(c, *w);
        else if (DgSearch->columnWidth(c) > 320)
            DgSearch->setColumnWidth(c, 320);
    if (m_model->rowCount() > 0) {
        int first = 0;
        while (first < m_model->columnCount() && DgSearch->isColumnHidden(first))
            ++first;
        DgSearch->setFocus();
        // The view may show the rows through a proxy of its own.
        DgSearch->setCurrentIndex(DgSearch->model()->index(0, first < m_model->columnCount() ? first : 0));
        DgSearch->selectRow(0);
    }
}

void TFrSearch::applyColumns()
{
    const int n = m_model->columnCount();
    if (n == 0)
        return;
    QHeaderView *h = DgSearch->horizontalHeader();
    if (m_columns.isEmpty()) {
        for (int c = 0; c < n; ++c)
            DgSearch->setColumnHidden(c, false);
        return;
    }
    for (int c = 0; c < n; ++c)
        DgSearch->setColumnHidden(c, true);
    int pos = 0;
    for (const auto &[name, title] : m_columns) {
        const int c = m_model->columnOf(name);
        if (c < 0)
            continue;
        DgSearch->setColumnHidden(c, false);
        m_model->setTitle(c, title);
        h->moveSection(h->visualIndex(c), pos++);
    }
}

int TFrSearch::currentRow() const
{
    if (m_model->rowCount() == 0)
        return -1;
    const QModelIndex i = DgSearch->currentIndex();
    return i.isValid() ? i.row() : 0;
}

QVariant TFrSearch::currentValue(const QString &column) const
{
    const int r = currentRow();
    return r < 0 ? QVariant() : m_model->value(r, column);
}

QString TFrSearch::sortColumn() { return g_sortColumn; }
bool TFrSearch::sortDescending() { return g_sortDescending; }
void TFrSearch::resetSortState()
{
    g_sortColumn.clear();
    g_sortDescending = false;
}

bool TFrSearch::canSortBy(const QString &column) const
{
    const QString up = column.toUpper();
    if (up == QLatin1String("REMARK") || up == QLatin1String("MEMO"))
        return false;
    const int c = m_model->columnOf(column);
    if (c >= 0 && m_model->record().field(c).metaType().id() == QMetaType::QByteArray)
        return false;
    return !isLargeColumn(column);
}

void TFrSearch::sortByColumn(int column)
{
    if (column < 0 || column >= m_model->columnCount())
        return;
    const QString name = m_model->record().fieldName(column);
    if (!canSortBy(name))
        return;
    if (name.compare(g_sortColumn, Qt::CaseInsensitive) == 0)
        g_sortDescending = !g_sortDescending;
    else
        g_sortDescending = false;
    g_sortColumn = name;
    const QString order = QStringLiteral("Order By ") + QString::number(column + 1) + (g_sortDescending ? QStringLiteral(" Desc") : QString());
    bool found = false;
    for (QString &line : SQL) {
        const int at = line.toUpper().indexOf(QLatin1String("ORDER BY "));
        if (at >= 0) {
            line = line.left(at) + order;
            found = true;
        }
    }
    if (!found)
        SQL << order;
    Search();
}

bool TFrSearch::acceptCurrentRow()
{
    const QString flag = dbText(currentValue(QStringLiteral("DelFlag"))).trimmed();
    if (m_model->columnOf(QStringLiteral("DelFlag")) >= 0 && flag == QLatin1String("Y")) {
        ShowMessage(isThai() ? QStringLiteral("เอกสารถูกยกเลิกแล้ว") : QStringLiteral("Document Was Deleted"));
        if (m_model->columnOf(QStringLiteral("DelRemark")) >= 0)
            ShowMessage(QStringLiteral("สาเหตุยกเลิก : ") + dbText(currentValue(QStringLiteral("DelRemark"))));
        return false;
    }
    return true;
}

void TFrSearch::done(int r)
{
    if (r != Accepted || m_model->rowCount() == 0 || m_model->columnOf(KeyFieldName) < 0) {
        ReturnValue.clear();
        QDialog::done(Rejected);
        return;
    }
    ReturnValue = dbText(currentValue(KeyFieldName)).trimmed();
    if (!acceptCurrentRow()) {
        ReturnValue.clear();
        return;
    }
    QDialog::done(Accepted);
}

bool TFrSearch::previewKey(QWidget *target, int key, Qt::KeyboardModifiers mods)
{
    Q_UNUSED(mods);
    const bool inGrid = target == DgSearch || DgSearch->isAncestorOf(target);
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (inGrid)
            done(Accepted);
        else
            Search();
        return true;
    case Qt::Key_Escape:
        done(Rejected);
        return true;
    case Qt::Key_Down:
        if (target == Code) {
            DgSearch->setFocus();
            if (m_model->rowCount() > 0 && !DgSearch->currentIndex().isValid())
                DgSearch->selectRow(0);
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool TFrSearch::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == DgSearch->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto *m = static_cast<QMouseEvent *>(event);
        const auto mods = m->modifiers();
        if (m->button() == Qt::RightButton && (mods & Qt::ShiftModifier) && (mods & Qt::ControlModifier) && !(mods & Qt::AltModifier)) {
            purgeCurrentRow();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFrSearch::purgeCurrentRow()
{
    if (m_model->columnOf(QStringLiteral("Id")) < 0 || m_model->columnOf(QStringLiteral("Delflag")) < 0)
        return;
    const qint64 id = currentValue(QStringLiteral("Id")).toLongLong();
    if (id <= 0 || dbText(currentValue(QStringLiteral("Delflag"))).trimmed() != QLatin1String("Y"))
        return;
    const QString table = DocTableName.trimmed();
    if (!isSqlIdentifier(table))
        return;
    TDM *dm = TDM::instance();
    if (!dm->Confirm(QStringLiteral("Confirm Delete #1/2 ?")) || !dm->Confirm(QStringLiteral("Confirm Delete #2/2 ?")))
        return;
    // The lines and their header go together or not at all.
    Connection &c = connection();
    try {
        Transaction tx(c);
        const Params p{{QStringLiteral("id"), id}};
        const QString up = table.toUpper();
        if (up == QLatin1String("IVHD"))
            c.exec(QStringLiteral("Delete From IvShip Where IvHd = :id"), p);
        else if (up == QLatin1String("SOHD"))
            c.exec(QStringLiteral("Delete From SoShip Where SoHd = :id"), p);
        c.exec(QStringLiteral("Delete From ") + table + QStringLiteral(" Where Id = :id"), p);
        tx.commit();
    } catch (const DbError &e) {
        ShowError(e.message());
    }
    Search();
}

// ---------------------------------------------------------------- TFrSearchMisc

TFrSearchMisc::TFrSearchMisc(QWidget *parent) : TFrSearch(parent)
{
    LbCode->setText(QStringLiteral("รายละเอียด"));
    setFilterUpperCase(false);
    SQL = {QStringLiteral("Select Id, GroupCode, Code, Description From Misc"), QStringLiteral("Where GroupCode = :GroupCode"),
           QStringLiteral("Order By Description")};
    setGridColumns({{QStringLiteral("Description"), QStringLiteral("รายละเอียด")}, {QStringLiteral("Code"), QStringLiteral("รหัส")}});
    setSearchOnShow(true);
}

void TFrSearchMisc::FormShow() { KeyFieldName = KeyColumn; }

void TFrSearchMisc::prepareSearch()
{
    Parameters = {{QStringLiteral("GroupCode"), GroupCode}};
    Conditions.clear();
    const QString t = Code->text().trimmed();
    if (!t.isEmpty())
        Conditions.add(QStringLiteral("Description Like ?"), {QLatin1Char('%') + t + QLatin1Char('%')});
}

// ---------------------------------------------------------------- TF_SearchMisc

TF_SearchMisc::TF_SearchMisc(QWidget *parent) : TFrSearch(parent)
{
    LbCode->setText(QStringLiteral("รายละเอียด"));
    setFilterUpperCase(false);
    CbWholeWord = new QCheckBox(QStringLiteral("หาเต็มคำ"), PnHeader);
    CbWholeWord->setObjectName(QStringLiteral("CbWholeWord"));
    static_cast<QHBoxLayout *>(PnHeader->layout())->insertWidget(2, CbWholeWord);
    SQL = {QStringLiteral("Select id, code, groupcode, description From misc"), QStringLiteral("Where GroupCode = :GroupCode"),
           QStringLiteral("Order By Code")};
    setGridColumns({{QStringLiteral("description"), QStringLiteral("รายละเอียด")}, {QStringLiteral("code"), QStringLiteral("รหัส")}});
    setSearchOnShow(true);
}

void TF_SearchMisc::FormShow()
{
    KeyFieldName = QStringLiteral("Code");
    ReturnDescription.clear();
}

void TF_SearchMisc::prepareSearch()
{
    Parameters = {{QStringLiteral("GroupCode"), GroupCode}};
    Conditions.clear();
    const QString t = Code->text().trimmed();
    if (!t.isEmpty()) {
        const QString like = QLatin1Char('%') + t + QLatin1Char('%');
        Conditions.add(QStringLiteral("(Description Like ?) Or (Code Like ?)"), {like, like});
    }
}

bool TF_SearchMisc::canSortBy(const QString &column) const
{
    return column.compare(QLatin1String("REFERENCE"), Qt::CaseInsensitive) != 0 && TFrSearch::canSortBy(column);
}

void TF_SearchMisc::done(int r)
{
    ReturnDescription = r == Accepted ? dbText(currentValue(QStringLiteral("Description"))) : QString();
    TFrSearch::done(r);
    if (ReturnValue.isEmpty())
        ReturnDescription.clear();
}

namespace {
const QHash<QString, QString> &miscEnglish()
{
    static const QHash<QString, QString> m{
        {QStringLiteral("รายละเอียด"), QStringLiteral("Description")},
        {QStringLiteral("รหัส"), QStringLiteral("Code")},
        {QStringLiteral("หาเต็มคำ"), QStringLiteral("Whole Word")},
        {QStringLiteral("ค้นหา แผนก"), QStringLiteral("Search Department")},
        {QStringLiteral("ค้นหา รายชื่อจังหวัด"), QStringLiteral("Search Province")},
    };
    return m;
}
} // namespace

QHash<QString, QString> TFrSearchMisc::englishTexts() const { return miscEnglish(); }
QHash<QString, QString> TF_SearchMisc::englishTexts() const { return miscEnglish(); }
