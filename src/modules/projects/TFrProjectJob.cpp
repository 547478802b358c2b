#include "TFrProjectJob.h"
#include "db/Connection.h"
#include "lookup/TCodeLookupEdit.h"
#include "lookup/TFaGetProject.h"
#include "lookup/TFrSearchProject.h"
#include "lookup/edit/CachedGridModel.h"
#include "lookup/edit/CellEditors.h"
#include "lookup/edit/EditSupport.h"
#include "lookup/edit/RecordBuffer.h"
#include "services/TDM.h"
#include "session/TDMConfig.h"
#include "session/UserDialogs.h"
#include "ui/SpreadsheetExport.h"
#include <QApplication>
#include <QDir>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTableView>
#include <QVBoxLayout>

namespace {

using Kind = CachedGridModel::Kind;

const QString JobSql = QStringLiteral(
    "Select Id, Project, Code, Description, Amount, StartDate, StopDate, TaskStartDate, TaskStopDate, TaskPlace,"
    " TaskManager, TaskClose, TaskCloseDate, StartDateReal"
    " From ProjectItemHD Where Project = :ProjectID Order By Code");

// The amount belongs to the bill of quantities: an edit here must not put back
// an amount read before that window changed it.
const QString UpdateSql = QStringLiteral(
    "Update ProjectItemHD Set Code = :Code, Description = :Description, TaskStartDate = :TaskStartDate,"
    " TaskStopDate = :TaskStopDate, TaskPlace = :TaskPlace, TaskManager = :TaskManager, TaskClose = :TaskClose,"
    " TaskCloseDate = :TaskCloseDate, StartDateReal = :StartDateReal Where Id = :OLD_Id");

const QString InsertSql = QStringLiteral(
    "Insert Into ProjectItemHD (Project, Code, Description, Amount, StartDate, StopDate, TaskStartDate, TaskStopDate,"
    " TaskPlace, TaskManager, TaskClose, TaskCloseDate, StartDateReal)"
    " Values (:Project, :Code, :Description, :Amount, :StartDate, :StopDate, :TaskStartDate, :TaskStopDate,"
    " :TaskPlace, :TaskManager, :TaskClose, :TaskCloseDate, :StartDateReal)");

const QString DeleteSql = QStringLiteral("Delete From ProjectItemHD Where Id = :OLD_Id");

const QString CopySql = QStringLiteral(
    "Select J.Code, J.Description, J.Amount, J.StartDate, J.StopDate, J.TaskStartDate, J.TaskStopDate, J.TaskPlace,"
    " J.TaskClose, J.TaskCloseDate"
    " From ProjectItemHD J Inner Join Project P On P.Id = J.Project Where P.Code = :Code Order By J.Code");

const QString ExportSql = QStringLiteral(
    "Select Code, Description, TaskStartDate, TaskStopDate, TaskPlace, TaskManager, TaskClose, TaskCloseDate, StartDateReal"
    " From ProjectItemHD Where Project = :ProjectID Order By Code");

Connection &db() { return TDM::instance()->DMDATA(); }

bool blank(const QVariant &v) { return !v.isValid() || v.isNull() || dbText(v).trimmed().isEmpty(); }

QVariant dateOrNull(const QVariant &v)
{
    const QDate d = dbDate(v);
    return d.isValid() ? QVariant(d) : QVariant();
}

TFrSearch *defaultCopyLookup(QWidget *parent)
{
    auto *d = new TFrSearchProject(parent);
    d->ClosedStatus.clear(); // every state
    d->HideBlocked = true;
    return d;
}

} // namespace

TFrProjectJob::TFrProjectJob(QWidget *parent) : TFrForm(parent)
{
    setObjectName(QStringLiteral("TFrProjectJob"));
    QrNullTable = new RecordBuffer(this);
    QrNullTable->setFields({QStringLiteral("Id")});
    QrNullTable->setValue(QStringLiteral("Id"), 0);

    auto *central = new QWidget(this);
    auto *lay = new QVBoxLayout(central);
    FaProject = new TFaGetProject(central);
    FaProject->setObjectName(QStringLiteral("FaProject"));
    FaProject->EdCode->DataField = QStringLiteral("Id");
    FaProject->EdCode->setMaximumWidth(160);
    lay->addWidget(FaProject);
    buildGrid(central);
    lay->addWidget(DgJob, 1);
    setCentralWidget(central);

    const TDMConfig *cfg = TDMConfig::instance();
    setWindowTitle((cfg ? cfg->MenuCaption : QString()) + QStringLiteral(" [") + QLatin1String(Version) + QLatin1Char(']'));
    ExportFolder = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);

    connect(FaProject, &TFaGetBase::codeChanged, this, [this](qint64 id) { FaProjectExit(id); });
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { focusChanged(now); });
}

// The children go after this destructor and move the focus as they go.
TFrProjectJob::~TFrProjectJob() { disconnect(m_focusWatch); }

void TFrProjectJob::buildGrid(QWidget *host)
{
    QrJob = new CachedGridModel(this);
    struct Col
    {
        const char *field;
        QString title;
        Kind kind;
        int width;
    };
    const QList<Col> cols = {
        {"Code", QStringLiteral("รหัส"), Kind::Text, 10},
        {"Description", QStringLiteral("รายละเอียด"), Kind::Text, 31},
        {"TaskStartDate", QStringLiteral("วันที่ เริ่มต้น"), Kind::Date, 13},
        {"TaskStopDate", QStringLiteral("วันที่ สิ้นสุด"), Kind::Date, 12},
        {"TaskPlace", QStringLiteral("เอกสารที่เกี่ยวข้อง"), Kind::Text, 38},
        {"TaskManager", QStringLiteral("ผู้รับผิดชอบ"), Kind::Text, 17},
        {"TaskClose", QStringLiteral("ส่งมอบ?"), Kind::Flag, 6},
        {"TaskCloseDate", QStringLiteral("วันที่ ส่งมอบ"), Kind::Date, 9},
        {"StartDateReal", QStringLiteral("วันที่เริ่มดำเนินงานจริง"), Kind::Date, 12},
    };
    QList<CachedGridModel::Column> columns;
    for (const Col &c : cols) {
        CachedGridModel::Column m;
        m.field = QLatin1String(c.field);
        m.title = c.title;
        m.kind = c.kind;
        m.widthChars = c.width;
        columns.append(m);
    }
    QrJob->setColumns(columns);
    QrJob->setKeyFields({QStringLiteral("Id")});
    QrJob->setRequiredFields({QStringLiteral("Code"), QStringLiteral("Description")});

    DgJob = new QTableView(host);
    DgJob->setObjectName(QStringLiteral("DgJob"));
    DgJob->setModel(QrJob);
    DgJob->setSelectionMode(QAbstractItemView::SingleSelection);
    DgJob->setSelectionBehavior(QAbstractItemView::SelectItems);
    DgJob->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed | QAbstractItemView::DoubleClicked
                           | QAbstractItemView::SelectedClicked);
    DgJob->verticalHeader()->setDefaultSectionSize(DgJob->fontMetrics().height() + 8);
    DgJob->horizontalHeader()->setDefaultAlignment(Qt::Alignment::fromInt(Qt::AlignCenter | Qt::TextWordWrap));

    // Text cells take no more than their table columns hold.
    m_codeCell = new LimitedCell<CodeCellDelegate>(30, this);
    m_descriptionCell = new LimitedCell<QlxCellDelegate>(250, this);
    m_placeCell = new LimitedCell<QlxCellDelegate>(250, this);
    m_managerCell = new LimitedCell<QlxCellDelegate>(100, this);
    m_dateCell = new DateCellDelegate(this);
    m_dateCell->enterMovesToNextCell = true;
    m_checkCell = new CheckCellDelegate(this);
    DgJob->setItemDelegateForColumn(QrJob->columnOf(QStringLiteral("Code")), m_codeCell);
    DgJob->setItemDelegateForColumn(QrJob->columnOf(QStringLiteral("Description")), m_descriptionCell);
    DgJob->setItemDelegateForColumn(QrJob->columnOf(QStringLiteral("TaskPlace")), m_placeCell);
    DgJob->setItemDelegateForColumn(QrJob->columnOf(QStringLiteral("TaskManager")), m_managerCell);
    for (const char *f : {"TaskStartDate", "TaskStopDate", "TaskCloseDate", "StartDateReal"})
        DgJob->setItemDelegateForColumn(QrJob->columnOf(QLatin1String(f)), m_dateCell);
    DgJob->setItemDelegateForColumn(QrJob->columnOf(QStringLiteral("TaskClose")), m_checkCell);

    const int charWidth = DgJob->fontMetrics().averageCharWidth();
    int total = DgJob->verticalHeader()->sizeHint().width() + 24;
    for (int i = 0; i < cols.size(); ++i) {
        const int w = cols.at(i).width * charWidth + 12;
        DgJob->setColumnWidth(i, w);
        total += w;
    }
    DgJob->horizontalHeader()->setMinimumHeight(2 * DgJob->fontMetrics().height() + 8);
    DgJob->setMinimumSize(total, 360);
    DgJob->installEventFilter(this);
}

void TFrProjectJob::FormShow()
{
    StatusPanel0->setText(TDMConfig::instance() ? TDMConfig::instance()->CompanyName : QString());
    showToolButton(BCopy);
    try {
        QrNullTable->load(db(), QStringLiteral("Select 0 As Id From NullTable"));
    } catch (const std::exception &e) {
        TDM::instance()->ApplicationEvents1Exception(QString::fromUtf8(e.what()));
    }
}

void TFrProjectJob::AcNewExecute()
{
    TFrForm::AcNewExecute();
    FaProject->EdCode->setLookupId(0);
    FaProject->ProjectId = 0;
    FaProject->ProjectCode.clear();
    FaProject->ProjectName.clear();
    QrNullTable->setValue(QStringLiteral("Id"), 0);
    m_project = 0;
    m_editRefused = false;
    QrJob->setNewRowDefaults({});
    QrJob->clear();
    AcCopy->setEnabled(false);
    FaProject->EdCode->setFocus(Qt::OtherFocusReason);
}

void TFrProjectJob::FaProjectExit(qint64 id)
{
    // Save and Delete follow the selector, not the user's rights.
    AcSave->setEnabled(true);
    AcDel->setEnabled(true);
    QrNullTable->setValue(QStringLiteral("Id"), id > 0 ? id : 0);
    if (id <= 0) {
        // The list always belongs to the project shown: no project, no list.
        m_project = 0;
        QrJob->setNewRowDefaults({});
        QrJob->clear();
        AcCopy->setEnabled(false);
        QMetaObject::invokeMethod(this, [this] { FaProject->EdCode->setFocus(Qt::OtherFocusReason); }, Qt::QueuedConnection);
        return;
    }
    // Passing through the selector again must not throw away the edits.
    if (id != m_project)
        loadJobs(id);
}

void TFrProjectJob::loadJobs(qint64 project)
{
    try {
        QrJob->load(db(), JobSql, {{QStringLiteral("ProjectID"), project}});
    } catch (const std::exception &e) {
        m_project = 0;
        QrJob->clear();
        AcCopy->setEnabled(false);
        TDM::instance()->ApplicationEvents1Exception(QString::fromUtf8(e.what()));
        return;
    }
    m_project = project;
    QrJob->setNewRowDefaults({{QStringLiteral("Project"), project}, {QStringLiteral("Amount"), QVariant::fromValue(Decimal(0))}});
    AcCopy->setEnabled(QrJob->rowCount() == 0);
    if (QrJob->rowCount() > 0)
        DgJob->setCurrentIndex(QrJob->index(0, 0));
}

int TFrProjectJob::appendJob()
{
    if (m_project <= 0)
        return -1;
    const int r = QrJob->appendRow();
    DgJob->setCurrentIndex(QrJob->index(r, qMax(0, DgJob->currentIndex().column())));
    return r;
}

bool TFrProjectJob::lastRowIsBlank() const
{
    const int last = QrJob->rowCount() - 1;
    if (last < 0 || QrJob->rowState(last) != CachedGridModel::RowState::Inserted)
        return false;
    for (const auto &c : QrJob->columns())
        if (!blank(QrJob->value(last, c.field)))
            return false;
    return true;
}

void TFrProjectJob::focusChanged(QWidget *now)
{
    if (!now || now->window() != this)
        return;
    // Enter and the arrows belong to the grid while it has the focus.
    setKeyPreview(!(now == DgJob || DgJob->isAncestorOf(now)));
}

bool TFrProjectJob::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == DgJob) {
        if (event->type() == QEvent::FocusIn && m_project > 0 && QrJob->rowCount() == 0) {
            appendJob();
            DgJob->setCurrentIndex(QrJob->index(0, 0));
        } else if (event->type() == QEvent::KeyPress && QApplication::focusWidget() == DgJob) {
            const auto *k = static_cast<QKeyEvent *>(event);
            const QModelIndex at = DgJob->currentIndex();
            if (k->modifiers() == Qt::NoModifier) {
                switch (k->key()) {
                case Qt::Key_Down:
                    // Down from the last job starts a new one (one blank row at a time).
                    if (m_project > 0 && (QrJob->rowCount() == 0 || at.row() == QrJob->rowCount() - 1)) {
                        if (!lastRowIsBlank())
                            appendJob();
                        return true;
                    }
                    break;
                case Qt::Key_Insert:
                    if (m_project > 0 && !lastRowIsBlank())
                        appendJob();
                    return true;
                case Qt::Key_Return:
                case Qt::Key_Enter:
                    if (at.isValid() && (at.flags() & Qt::ItemIsEditable) && at.column() != QrJob->columnOf(QStringLiteral("TaskClose")))
                        DgJob->edit(at);
                    return true;
                default:
                    break;
                }
            }
        }
    }
    return TFrForm::eventFilter(watched, event);
}

void TFrProjectJob::finishEditing() { m_editRefused = !finishFocusedEditor(this); }

void TFrProjectJob::AcDelExecute()
{
    if (!AcDel->isEnabled() || m_project <= 0)
        return;
    m_editRefused = false;
    const QModelIndex at = DgJob->currentIndex();
    if (!at.isValid())
        return;
    // Gone from the database at the next save; its bill-of-quantities lines stay.
    QrJob->removeRows(at.row(), 1);
    if (QrJob->rowCount() > 0)
        DgJob->setCurrentIndex(QrJob->index(qMin(at.row(), QrJob->rowCount() - 1), at.column()));
}

void TFrProjectJob::AcSaveExecute()
{
    if (!AcSave->isEnabled())
        return;
    if (m_editRefused) {
        // The user has been told why; nothing is asked or written.
        m_editRefused = false;
        return;
    }
    if (m_project <= 0) {
        FaProject->EdCode->setFocus(Qt::OtherFocusReason);
        return;
    }
    QrJob->dropIncompleteRows();
    TDM *dm = TDM::instance();
    if (!dm->Confirm(QStringLiteral("ยืนยัน จัดเก็บ")))
        return;
    for (int r = 0; r < QrJob->rowCount(); ++r)
        if (blank(QrJob->value(r, QStringLiteral("TaskClose"))))
            QrJob->setValue(r, QStringLiteral("TaskClose"), QStringLiteral("N"));

    const qint64 project = m_project;
    CachedGridModel::Statements st;
    st.remove = [](Connection &c, const CachedGridModel::Row &row) { c.exec(DeleteSql, row.paramsFor(DeleteSql)); };
    st.update = [](Connection &c, const CachedGridModel::Row &row) { c.exec(UpdateSql, row.paramsFor(UpdateSql)); };
    st.insert = [project](Connection &c, const CachedGridModel::Row &row) -> QVariant {
        QVariantMap p = row.paramsFor(InsertSql);
        p.insert(QStringLiteral("Project"), project);
        bool ok = false;
        const Decimal amount = decimalFromVariant(row.value(QStringLiteral("Amount")), &ok);
        p.insert(QStringLiteral("Amount"), QVariant::fromValue(ok ? amount : Decimal(0)));
        p.insert(QStringLiteral("StartDate"), dateOrNull(row.value(QStringLiteral("StartDate"))));
        p.insert(QStringLiteral("StopDate"), dateOrNull(row.value(QStringLiteral("StopDate"))));
        return c.insertReturningId(InsertSql, p);
    };
    Connection &c = db();
    try {
        Transaction tx(c);
        QrJob->write(c, st);
        tx.commit();
    } catch (const std::exception &e) {
        // Rolled back: every row stays on screen as it was, still to be written.
        dm->ApplicationEvents1Exception(QString::fromUtf8(e.what()));
        return;
    }
    QrJob->acceptWritten();
    if (dm->Confirm(QStringLiteral("Export To Excel ?")))
        exportJobs(project);
    AcNew->trigger();
}

void TFrProjectJob::exportJobs(qint64 project)
{
    SpreadsheetExport sheet({{QStringLiteral("รหัส")},
                             {QStringLiteral("รายละเอียด")},
                             {QStringLiteral("วันที่ เริ่มต้น"), SpreadsheetExport::Kind::Date},
                             {QStringLiteral("วันที่ สิ้นสุด"), SpreadsheetExport::Kind::Date},
                             {QStringLiteral("เอกสารที่เกี่ยวข้อง")},
                             {QStringLiteral("ผู้รับผิดชอบ")},
                             {QStringLiteral("ส่งมอบ ?")},
                             {QStringLiteral("วันที่ ส่งมอบ"), SpreadsheetExport::Kind::Date},
                             {QStringLiteral("วันที่เริ่มดำเนินงานจริง"), SpreadsheetExport::Kind::Date}});
    try {
        QSqlQuery q = db().exec(ExportSql, {{QStringLiteral("ProjectID"), project}});
        sheet.addRows(q);
    } catch (const std::exception &e) {
        TDM::instance()->ApplicationEvents1Exception(QString::fromUtf8(e.what()));
        return;
    }
    if (sheet.rowCount() == 0) {
        ShowMessage(QStringLiteral("ไม่มีข้อมูล เพื่อ Export To Excel !!"));
        return;
    }
    const QString folder = ExportFolder.isEmpty() ? QDir::homePath() : ExportFolder;
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(QLatin1String(ExportFileName));
    QString why;
    if (!sheet.write(path, &why)) {
        ShowError(QStringLiteral("ไม่สามารถเขียนไฟล์ ") + QDir::toNativeSeparators(path) + QLatin1Char('\n') + why);
        return;
    }
    UserDialogs::instance().openWithDesktop(path);
}

void TFrProjectJob::AcCopyExecute()
{
    if (!AcCopy->isEnabled() || m_project <= 0)
        return;
    QrJob->dropIncompleteRows();
    TDM *dm = TDM::instance();
    if (QrJob->rowCount() > 0 && !dm->Confirm(QStringLiteral("มีข้อมูล เก่าอยู่แล้ว !!") + QLatin1Char('\n') + QStringLiteral("ต้องการ Copy ?")))
        return;
    QString code;
    {
        std::unique_ptr<TFrSearch> d(CopyLookup ? CopyLookup(this) : defaultCopyLookup(this));
        if (!d)
            return;
        if (d->exec() == QDialog::Accepted)
            code = d->ReturnValue.trimmed();
    }
    activateWindow();
    if (code.isEmpty())
        return;
    QList<QVariantMap> jobs;
    try {
        QSqlQuery q = db().exec(CopySql, {{QStringLiteral("Code"), code}});
        while (q.next()) {
            bool ok = false;
            const Decimal amount = decimalFromVariant(q.value(2), &ok);
            jobs.append({{QStringLiteral("Project"), m_project},
                         {QStringLiteral("Code"), dbText(q.value(0)).trimmed()},
                         {QStringLiteral("Description"), q.value(1)},
                         {QStringLiteral("Amount"), QVariant::fromValue(ok ? amount : Decimal(0))},
                         {QStringLiteral("StartDate"), dateOrNull(q.value(3))},
                         {QStringLiteral("StopDate"), dateOrNull(q.value(4))},
                         {QStringLiteral("TaskStartDate"), q.value(5)},
                         {QStringLiteral("TaskStopDate"), q.value(6)},
                         {QStringLiteral("TaskPlace"), q.value(7)},
                         {QStringLiteral("TaskClose"), q.value(8)},
                         {QStringLiteral("TaskCloseDate"), q.value(9)}});
        }
    } catch (const std::exception &e) {
        dm->ApplicationEvents1Exception(QString::fromUtf8(e.what()));
        return;
    }
    // Only stored by Save; the source's bill-of-quantities lines stay where they are.
    if (QrJob->rowCount() > 0)
        QrJob->removeRows(0, QrJob->rowCount());
    for (const QVariantMap &j : std::as_const(jobs))
        QrJob->appendRow(j);
    if (QrJob->rowCount() > 0)
        DgJob->setCurrentIndex(QrJob->index(0, 0));
    DgJob->setFocus(Qt::OtherFocusReason);
}
