#include "TFrJobTran.h"
#include "db/DbError.h"
#include "lookup/LookupSupport.h"
#include "lookup/TCodeLookupEdit.h"
#include "lookup/TFaGet.h"
#include "lookup/TFaGetCustomer.h"
#include "lookup/TFaGetEmployee.h"
#include "lookup/TFrSearchContract.h"
#include "lookup/TFrSearchJobTran.h"
#include "lookup/edit/EditSupport.h"
#include "lookup/edit/EditWidgets.h"
#include "lookup/edit/RecordBinder.h"
#include "lookup/edit/RecordBuffer.h"
#include "services/TDM.h"
#include "services/TextUtils.h"
#include "session/TDMConfig.h"
#include "session/UserDialogs.h"
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QAbstractItemView>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QValidator>
#include <QVBoxLayout>

namespace {

// Every column the window writes; update and delete find the row by its Id.
const QStringList &writtenColumns()
{
    static const QStringList c = {
        "DelFlag", "JobType", "JobNo", "JobDate", "JobTime", "Customer", "CusAttn", "RcptEmployee", "byemployee", "ContractHd",
        "RefJob", "RefRcptEmployee", "RefRcptDate", "RefRcptTime", "JobTitle", "problem", "JobDetail", "PassEmployee", "JobStatus",
        "JobAppDate", "JobAppTime", "FixDetail", "FixEmployee", "FixDate", "FixTime", "Fixtime2", "fixproblem", "Clear",
        "ActionBack", "ActionBackAttn", "ActionBackDate", "ActionBackTime", "actionbacktime2", "ActionBackBy", "feedbackremark",
        "Warning", "WarningDate", "WarningTime"};
    return c;
}
const QStringList &dateColumns()
{
    static const QStringList c = {"JobDate", "RefRcptDate", "FixDate", "ActionBackDate", "JobAppDate", "WarningDate"};
    return c;
}

const QString LoadSql = QStringLiteral(
    "Select J.*, H.ContractNo As ContractNo From jobtran J Left Join ContractHd H On H.Id = J.ContractHd"
    " Where J.JobNo = :JobNo And J.JobType = :JobType And J.DelFlag = 'N'");

Connection &db() { return TDM::instance()->DMDATA(); }
QVariant idOrNull(qint64 id) { return id > 0 ? QVariant(id) : QVariant(); }

class TimeValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override
    {
        QString digits;
        for (const QChar c : input)
            if (c.isDigit())
                digits += c;
            else if (c != QLatin1Char(':'))
                return Invalid;
        if (digits.size() > 4)
            return Invalid;
        if (!digits.isEmpty() && digits.at(0) > QLatin1Char('2'))
            return Invalid;
        if (digits.size() > 2 && digits.at(2) > QLatin1Char('5'))
            return Invalid;
        const QString shaped = digits.size() > 2 ? digits.left(2) + QLatin1Char(':') + digits.mid(2)
                             : (input.endsWith(QLatin1Char(':')) && digits.size() == 2 ? digits + QLatin1Char(':') : digits);
        if (shaped != input) {
            pos = int(shaped.size());
            input = shaped;
        }
        return digits.size() == 4 || digits.isEmpty() ? Acceptable : Intermediate;
    }
};

void setEditable(QWidget *w, bool on)
{
    if (auto *e = qobject_cast<QLineEdit *>(w)) {
        e->setReadOnly(!on);
        e->setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
        if (auto *code = qobject_cast<CodeEdit *>(w))
            code->searchAction()->setEnabled(on);
    } else if (auto *m = qobject_cast<QPlainTextEdit *>(w)) {
        m->setReadOnly(!on);
    } else {
        w->setEnabled(on);
    }
}

TFaGetEmployee *employeeFrame(QWidget *parent, const QString &name, const QString &caption)
{
    auto *f = new TFaGetEmployee(parent);
    f->setObjectName(name);
    f->setCaption(caption);
    return f;
}

DateEdit *dateBox(QWidget *parent, const QString &name)
{
    auto *d = new DateEdit(parent);
    d->setObjectName(name);
    d->setMaximumWidth(110);
    return d;
}

TimeEdit *timeBox(QWidget *parent, const QString &name)
{
    auto *t = new TimeEdit(parent);
    t->setObjectName(name);
    return t;
}

QPlainTextEdit *memoBox(QWidget *parent, const QString &name)
{
    auto *m = new QPlainTextEdit(parent);
    m->setObjectName(name);
    m->setTabChangesFocus(true);
    return m;
}

} // namespace

// ------------------------------------------------------------------ time box

TimeEdit::TimeEdit(QWidget *parent) : QLineEdit(parent)
{
    setValidator(new TimeValidator(this));
    setMaxLength(5);
    setMaximumWidth(60);
    setPlaceholderText(QStringLiteral("hh:mm"));
}

void TimeEdit::focusInEvent(QFocusEvent *e)
{
    m_held = text();
    QLineEdit::focusInEvent(e);
}

bool TimeEdit::commitEdit()
{
    if (hasAcceptableInput() || text().isEmpty()) {
        m_held = text();
        return true;
    }
    const QString typed = text();
    setText(m_held);
    ShowMessage(QStringLiteral("เวลาไม่ถูกต้อง : ") + typed);
    return false;
}

void TimeEdit::focusOutEvent(QFocusEvent *e)
{
    QLineEdit::focusOutEvent(e);
    if (e->reason() != Qt::PopupFocusReason && e->reason() != Qt::ActiveWindowFocusReason)
        commitEdit();
}

// ------------------------------------------------------------------ window

TFrJobTran::TFrJobTran(QWidget *parent) : TFrForm(parent)
{
    setObjectName(QStringLiteral("TFrJobTran"));
    QrJobTran = new RecordBuffer(this);
    m_binder = new RecordBinder(QrJobTran, this);

    auto *central = new QWidget(this);
    auto *lay = new QVBoxLayout(central);
    buildHeader(central);
    PageControl = new QTabWidget(central);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    lay->addWidget(PageControl, 1);
    setCentralWidget(central);
    central->setMinimumSize(880, 600);
    buildPages();

    const TDMConfig *cfg = TDMConfig::instance();
    setWindowTitle((cfg ? cfg->MenuCaption.trimmed() : QString()) + QStringLiteral(" Version ") + QLatin1String(Version));

    m_focusWatch = connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { focusEntered(now); });
}

// The children go after this destructor and move the focus as they go.
TFrJobTran::~TFrJobTran() { disconnect(m_focusWatch); }

void TFrJobTran::buildHeader(QWidget *host)
{
    auto *lay = static_cast<QVBoxLayout *>(host->layout());
    auto *pn = new QWidget(host);
    pn->setObjectName(QStringLiteral("PnHeader"));
    auto *g = new QGridLayout(pn);
    g->setContentsMargins(0, 0, 0, 0);
    auto label = [pn](const QString &text, QWidget *buddy) {
        auto *l = new QLabel(text, pn);
        l->setBuddy(buddy);
        return l;
    };

    CbJobType = new QComboBox(pn);
    CbJobType->setObjectName(QStringLiteral("CbJobType"));
    CbJobType->addItem(QStringLiteral("A=ปัญหา"), QStringLiteral("A"));
    CbJobType->addItem(QStringLiteral("B=ข้อเสนอแนะ"), QStringLiteral("B"));
    CbJobType->addItem(QStringLiteral("C=ร้องเรียน"), QStringLiteral("C"));
    EdJobNo = new CodeEdit(pn);
    EdJobNo->setObjectName(QStringLiteral("EdJobNo"));
    EdJobNo->setSearchButtonVisible(true);
    EdJobNo->setMaximumWidth(170);
    EdJobDate = dateBox(pn, QStringLiteral("EdJobDate"));
    EdJobDate->setAllowEmpty(false);
    EdJobTime = timeBox(pn, QStringLiteral("EdJobTime"));
    FaCustomer = new TFaGetCustomer(pn);
    FaCustomer->setObjectName(QStringLiteral("FaCustomer"));
    EdCusAttn = new QLineEdit(pn);
    EdCusAttn->setObjectName(QStringLiteral("EdCusAttn"));
    makeUpperCase(EdCusAttn);
    FaRcptEmployee = employeeFrame(pn, QStringLiteral("FaRcptEmployee"), QStringLiteral("พนักงานรับเรื่อง"));
    EdContractNo = new CodeEdit(pn);
    EdContractNo->setObjectName(QStringLiteral("EdContractNo"));
    EdContractNo->setSearchButtonVisible(true);
    EdContractNo->setMaximumWidth(170);
    LbContract = new QLabel(QStringLiteral("-"), pn);
    LbContract->setObjectName(QStringLiteral("LbContract"));
    EdByEmployee = new QLineEdit(pn);
    EdByEmployee->setObjectName(QStringLiteral("EdByEmployee"));
    makeUpperCase(EdByEmployee);

    int r = 0;
    g->addWidget(label(QStringLiteral("ประเภท"), CbJobType), r, 0);
    g->addWidget(CbJobType, r, 1);
    g->addWidget(label(QStringLiteral("เลขที่เอกสาร"), EdJobNo), r, 2);
    g->addWidget(EdJobNo, r, 3);
    g->addWidget(label(QStringLiteral("วันที่"), EdJobDate), r, 4);
    auto *when = new QHBoxLayout;
    when->addWidget(EdJobDate);
    when->addWidget(new QLabel(QStringLiteral("เวลา"), pn));
    when->addWidget(EdJobTime);
    when->addStretch(1);
    g->addLayout(when, r++, 5);
    g->addWidget(FaCustomer, r++, 0, 1, 6);
    g->addWidget(label(QStringLiteral("ผู้แจ้ง/ผู้ติดต่อ"), EdCusAttn), r, 0);
    g->addWidget(EdCusAttn, r, 1, 1, 3);
    g->addWidget(label(QStringLiteral("แจ้งกับ"), EdByEmployee), r, 4);
    g->addWidget(EdByEmployee, r++, 5);
    g->addWidget(FaRcptEmployee, r++, 0, 1, 6);
    g->addWidget(label(QStringLiteral("สัญญาบริการ"), EdContractNo), r, 0);
    g->addWidget(EdContractNo, r, 1);
    g->addWidget(LbContract, r++, 2, 1, 4);

    // Reported before
    auto *gbRef = new QGroupBox(pn);
    gbRef->setObjectName(QStringLiteral("GbRefJob"));
    auto *ref = new QHBoxLayout(gbRef);
    CbRefJob = new QCheckBox(QStringLiteral("งานเคยแจ้งแล้ววันที่"), gbRef);
    CbRefJob->setObjectName(QStringLiteral("CbRefJob"));
    EdRefRcptDate = dateBox(gbRef, QStringLiteral("EdRefRcptDate"));
    EdRefRcptTime = timeBox(gbRef, QStringLiteral("EdRefRcptTime"));
    FaRefRcptEmployee = employeeFrame(gbRef, QStringLiteral("FaRefRcptEmployee"), QStringLiteral("แจ้งกับพนักงาน"));
    ref->addWidget(CbRefJob);
    ref->addWidget(EdRefRcptDate);
    ref->addWidget(EdRefRcptTime);
    ref->addWidget(FaRefRcptEmployee, 1);
    g->addWidget(gbRef, r++, 0, 1, 6);

    // Subject
    EdJobTitle = new QLineEdit(pn);
    EdJobTitle->setObjectName(QStringLiteral("EdJobTitle"));
    FaProblem = new TFaGetMisc(pn);
    FaProblem->setObjectName(QStringLiteral("FaProblem"));
    FaProblem->setCaption(QStringLiteral("รหัสปัญหา"));
    FaProblem->setGroupCode(QStringLiteral("PROBLEM"));
    FaProblem->setLookupFactory([](QWidget *parent) {
        auto *d = new TFrSearchMisc(parent);
        d->GroupCode = QStringLiteral("PROBLEM");
        d->KeyColumn = QStringLiteral("Code");
        d->setWindowTitle(QStringLiteral("ค้นหา รหัสปัญหา"));
        return d;
    });
    g->addWidget(label(QStringLiteral("หัวเรื่อง"), EdJobTitle), r, 0);
    g->addWidget(EdJobTitle, r, 1, 1, 3);
    g->addWidget(FaProblem, r++, 4, 1, 2);
    g->setColumnStretch(5, 1);
    g->setColumnStretch(3, 1);
    lay->addWidget(pn);

    m_binder->bindDateEdit(EdJobDate, QStringLiteral("JobDate"));
    m_binder->bindLineEdit(EdJobTime, QStringLiteral("JobTime"));
    m_binder->bindLineEdit(EdCusAttn, QStringLiteral("CusAttn"));
    m_binder->bindLineEdit(EdByEmployee, QStringLiteral("byemployee"));
    m_binder->bindLineEdit(EdContractNo, QStringLiteral("ContractNo"));
    m_binder->bindCheckBox(CbRefJob, QStringLiteral("RefJob"));
    m_binder->bindDateEdit(EdRefRcptDate, QStringLiteral("RefRcptDate"));
    m_binder->bindLineEdit(EdRefRcptTime, QStringLiteral("RefRcptTime"));
    m_binder->bindLineEdit(EdJobTitle, QStringLiteral("JobTitle"));
    // The number box is the key being typed: it goes into the record when it is left.

    connect(CbJobType, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_loading)
            CbJobTypeChange();
    });
    // A type picked from the opened list sends the user on to the number; the
    // arrow keys on the closed list only browse.
    CbJobType->view()->window()->installEventFilter(this);
    connect(CbJobType, &QComboBox::activated, this, [this] {
        if (m_typeListOpen) {
            m_typeListOpen = false;
            EdJobNo->setFocus(Qt::OtherFocusReason);
        }
    });
    EdJobNo->lookup = [this](const QString &) { return openJobLookup(); };
    EdJobNo->installEventFilter(this);
    LeaveHook::install(EdJobNo, [this] { BJobNoExit(); });
    EdContractNo->lookup = [this](const QString &) { return openContractLookup(); };
    connect(EdContractNo, &CodeEdit::lookedUp, this, [this](const QString &no) {
        if (!no.isEmpty())
            resolveContract(no, true);
    });
    LeaveHook::install(EdContractNo, [this] { BContractExit(); });
    connect(FaCustomer, &TFaGetBase::codeChanged, this, [this] { FaCustomerExit(); });
    connect(FaProblem, &TFaGetBase::codeChanged, this, [this] { FaProblemExit(); });
    const QList<QPair<TFaGetEmployee *, QString>> people = {{FaRcptEmployee, QStringLiteral("RcptEmployee")},
                                                           {FaRefRcptEmployee, QStringLiteral("RefRcptEmployee")}};
    for (const auto &[frame, field] : people)
        connect(frame, &TFaGetBase::codeChanged, this, [this, f = field](qint64 id) { QrJobTran->setValue(f, idOrNull(id)); });
}

void TFrJobTran::buildPages()
{
    // Details
    TsDetail = new QWidget(PageControl);
    TsDetail->setObjectName(QStringLiteral("TsDetail"));
    {
        auto *g = new QGridLayout(TsDetail);
        MmJobDetail = memoBox(TsDetail, QStringLiteral("MmJobDetail"));
        FaPassEmployee = employeeFrame(TsDetail, QStringLiteral("FaPassEmployee"), QStringLiteral("ส่งเรื่องให้"));
        CbJobStatus = new QComboBox(TsDetail);
        CbJobStatus->setObjectName(QStringLiteral("CbJobStatus"));
        CbJobStatus->setMinimumWidth(220);
        EdJobAppDate = dateBox(TsDetail, QStringLiteral("EdJobAppDate"));
        EdJobAppTime = timeBox(TsDetail, QStringLiteral("EdJobAppTime"));
        g->addWidget(new QLabel(QStringLiteral("รายละเอียด"), TsDetail), 0, 0, Qt::AlignTop);
        g->addWidget(MmJobDetail, 0, 1, 1, 4);
        g->addWidget(FaPassEmployee, 1, 0, 1, 5);
        g->addWidget(new QLabel(QStringLiteral("สถานะ"), TsDetail), 2, 0);
        g->addWidget(CbJobStatus, 2, 1);
        g->addWidget(new QLabel(QStringLiteral("วันนัดแก้ไข"), TsDetail), 2, 2);
        g->addWidget(EdJobAppDate, 2, 3);
        g->addWidget(EdJobAppTime, 2, 4, Qt::AlignLeft);
        g->setColumnStretch(4, 1);
        g->setRowStretch(0, 1);
    }
    PageControl->addTab(TsDetail, QStringLiteral("รายละเอียดปัญหา"));

    // Fixing
    TsFix = new QWidget(PageControl);
    TsFix->setObjectName(QStringLiteral("TsFix"));
    {
        auto *g = new QGridLayout(TsFix);
        MmFixDetail = memoBox(TsFix, QStringLiteral("MmFixDetail"));
        FaFixEmployee = employeeFrame(TsFix, QStringLiteral("FaFixEmployee"), QStringLiteral("พนักงานบริการ"));
        EdFixDate = dateBox(TsFix, QStringLiteral("EdFixDate"));
        EdFixTime = timeBox(TsFix, QStringLiteral("EdFixTime"));
        EdFixtime2 = timeBox(TsFix, QStringLiteral("EdFixtime2"));
        CbJobStatus2 = new QComboBox(TsFix);
        CbJobStatus2->setObjectName(QStringLiteral("CbJobStatus2"));
        CbJobStatus2->setMinimumWidth(220);
        CbClear = new QCheckBox(QStringLiteral("แก้ไขเรียบร้อย"), TsFix);
        CbClear->setObjectName(QStringLiteral("CbClear"));
        FaFixProblem = new TFaGetMisc(TsFix);
        FaFixProblem->setObjectName(QStringLiteral("FaFixProblem"));
        FaFixProblem->setCaption(QStringLiteral("รหัสการแก้ไข"));
        FaFixProblem->setGroupCode(QStringLiteral("FIXPROBLEM"));
        FaFixProblem->EdCode->K_AllowNull = true;
        g->addWidget(new QLabel(QStringLiteral("วิธีแก้ไข"), TsFix), 0, 0, Qt::AlignTop);
        g->addWidget(MmFixDetail, 0, 1, 1, 5);
        g->addWidget(FaFixEmployee, 1, 0, 1, 6);
        g->addWidget(new QLabel(QStringLiteral("วันที่บริการ"), TsFix), 2, 0);
        auto *when = new QHBoxLayout;
        when->addWidget(EdFixDate);
        when->addWidget(new QLabel(QStringLiteral("เวลา"), TsFix));
        when->addWidget(EdFixTime);
        when->addWidget(new QLabel(QStringLiteral("ถึง"), TsFix));
        when->addWidget(EdFixtime2);
        when->addStretch(1);
        g->addLayout(when, 2, 1, 1, 5);
        g->addWidget(new QLabel(QStringLiteral("สถานะ"), TsFix), 3, 0);
        g->addWidget(CbJobStatus2, 3, 1);
        g->addWidget(CbClear, 3, 2);
        g->addWidget(FaFixProblem, 4, 0, 1, 6);
        g->setColumnStretch(5, 1);
        g->setRowStretch(0, 1);
    }
    PageControl->addTab(TsFix, QStringLiteral("การแก้ไขปัญหา"));

    // Call-back
    TsActionBack = new QWidget(PageControl);
    TsActionBack->setObjectName(QStringLiteral("TsActionBack"));
    {
        auto *g = new QGridLayout(TsActionBack);
        CbActionBack = new QCheckBox(QStringLiteral("แจ้งกลับลูกค้าแล้วหรือยัง ?"), TsActionBack);
        CbActionBack->setObjectName(QStringLiteral("CbActionBack"));
        EdActionBackAttn = new QLineEdit(TsActionBack);
        EdActionBackAttn->setObjectName(QStringLiteral("EdActionBackAttn"));
        makeUpperCase(EdActionBackAttn);
        EdActionBackDate = dateBox(TsActionBack, QStringLiteral("EdActionBackDate"));
        EdActionBackTime = timeBox(TsActionBack, QStringLiteral("EdActionBackTime"));
        EdActionbacktime2 = timeBox(TsActionBack, QStringLiteral("EdActionbacktime2"));
        FaActionBackBy = employeeFrame(TsActionBack, QStringLiteral("FaActionBackBy"), QStringLiteral("แจ้งโดย"));
        MmFeedbackRemark = memoBox(TsActionBack, QStringLiteral("MmFeedbackRemark"));
        g->addWidget(CbActionBack, 0, 0, 1, 2);
        g->addWidget(new QLabel(QStringLiteral("แจ้งกลับถึง"), TsActionBack), 1, 0);
        g->addWidget(EdActionBackAttn, 1, 1);
        g->addWidget(new QLabel(QStringLiteral("วันที่แจ้งกลับ"), TsActionBack), 2, 0);
        auto *when = new QHBoxLayout;
        when->addWidget(EdActionBackDate);
        when->addWidget(new QLabel(QStringLiteral("เวลา"), TsActionBack));
        when->addWidget(EdActionBackTime);
        when->addWidget(new QLabel(QStringLiteral("ถึง"), TsActionBack));
        when->addWidget(EdActionbacktime2);
        when->addStretch(1);
        g->addLayout(when, 2, 1);
        g->addWidget(FaActionBackBy, 3, 0, 1, 2);
        g->addWidget(new QLabel(QStringLiteral("หมายเหตุ"), TsActionBack), 4, 0, Qt::AlignTop);
        g->addWidget(MmFeedbackRemark, 4, 1);
        g->setColumnStretch(1, 1);
        g->setRowStretch(4, 1);
    }
    PageControl->addTab(TsActionBack, QStringLiteral("Upgrade/การแจ้งกลับลูกค้า"));

    // Contacts, read only
    TsContact = new QWidget(PageControl);
    TsContact->setObjectName(QStringLiteral("TsContact"));
    {
        auto *l = new QVBoxLayout(TsContact);
        DgContact = new QTableWidget(0, 6, TsContact);
        DgContact->setObjectName(QStringLiteral("DgContact"));
        DgContact->setHorizontalHeaderLabels({QStringLiteral("Contact Name"), QStringLiteral("Active"), QStringLiteral("Section/Department"),
                                              QStringLiteral("Tel"), QStringLiteral("Fax"), QStringLiteral("Other")});
        DgContact->setEditTriggers(QAbstractItemView::NoEditTriggers);
        DgContact->setSelectionBehavior(QAbstractItemView::SelectRows);
        DgContact->verticalHeader()->hide();
        const int ch = DgContact->fontMetrics().averageCharWidth();
        const int widths[] = {20, 6, 20, 20, 20, 40};
        for (int c = 0; c < 6; ++c)
            DgContact->setColumnWidth(c, widths[c] * ch + 8);
        l->addWidget(DgContact);
    }
    PageControl->addTab(TsContact, QStringLiteral("ชื่อผู้ติดต่อ"));

    m_binder->bindMemo(MmJobDetail, QStringLiteral("JobDetail"));
    m_binder->bindComboBox(CbJobStatus, QStringLiteral("JobStatus"));
    m_binder->bindDateEdit(EdJobAppDate, QStringLiteral("JobAppDate"));
    m_binder->bindLineEdit(EdJobAppTime, QStringLiteral("JobAppTime"));
    m_binder->bindMemo(MmFixDetail, QStringLiteral("FixDetail"));
    m_binder->bindDateEdit(EdFixDate, QStringLiteral("FixDate"));
    m_binder->bindLineEdit(EdFixTime, QStringLiteral("FixTime"));
    m_binder->bindLineEdit(EdFixtime2, QStringLiteral("Fixtime2"));
    m_binder->bindComboBox(CbJobStatus2, QStringLiteral("JobStatus"));
    m_binder->bindCheckBox(CbClear, QStringLiteral("Clear"));
    m_binder->bindCheckBox(CbActionBack, QStringLiteral("ActionBack"));
    m_binder->bindLineEdit(EdActionBackAttn, QStringLiteral("ActionBackAttn"));
    m_binder->bindDateEdit(EdActionBackDate, QStringLiteral("ActionBackDate"));
    m_binder->bindLineEdit(EdActionBackTime, QStringLiteral("ActionBackTime"));
    m_binder->bindLineEdit(EdActionbacktime2, QStringLiteral("actionbacktime2"));
    m_binder->bindMemo(MmFeedbackRemark, QStringLiteral("feedbackremark"));

    const QList<QPair<TFaGetBase *, QString>> frames = {{FaPassEmployee, QStringLiteral("PassEmployee")},
                                                       {FaFixEmployee, QStringLiteral("FixEmployee")},
                                                       {FaActionBackBy, QStringLiteral("ActionBackBy")},
                                                       {FaFixProblem, QStringLiteral("fixproblem")}};
    for (const auto &[frame, field] : frames)
        connect(frame, &TFaGetBase::codeChanged, this, [this, f = field](qint64 id) { QrJobTran->setValue(f, idOrNull(id)); });
}

// ------------------------------------------------------------------ opening

void TFrJobTran::FormShow()
{
    StatusPanel0->setText(TDMConfig::instance() ? TDMConfig::instance()->CompanyName : QString());
    // Start-up sets the task before the window is first shown.
    m_mode = property("Mode").toInt() == FixingMode ? FixingMode : ReceivingMode;
}

void TFrJobTran::applyModeState()
{
    const bool receiving = m_mode == ReceivingMode;
    for (QWidget *w : std::initializer_list<QWidget *>{EdJobDate, EdJobTime, FaCustomer, EdContractNo, EdCusAttn, FaRcptEmployee, CbRefJob,
                                                       EdRefRcptDate, EdRefRcptTime, FaRefRcptEmployee, EdJobTitle, MmJobDetail,
                                                       FaPassEmployee, CbJobStatus})
        setEditable(w, receiving);
    for (QWidget *w : std::initializer_list<QWidget *>{MmFixDetail, FaFixEmployee, EdFixDate, EdFixTime, CbJobStatus2, CbClear, CbActionBack,
                                                       EdActionBackAttn, EdActionBackDate, EdActionBackTime, MmFeedbackRemark,
                                                       FaActionBackBy, FaFixProblem})
        setEditable(w, !receiving);
}

void TFrJobTran::fillStatuses()
{
    QList<QPair<QVariant, QString>> items;
    m_newStatus = QVariant();
    QSqlQuery q = db().exec(QStringLiteral("Select Id, Code, Description From Misc Where GroupCode = 'JOBSTATUS' Order By Code"));
    while (q.next()) {
        const QString code = dbText(q.value(1)).trimmed();
        items.append({q.value(0).toLongLong(), dbText(q.value(2)).trimmed() + QStringLiteral(" = ") + code});
        if (code == QLatin1String("N"))
            m_newStatus = q.value(0).toLongLong();
    }
    for (QComboBox *cb : {CbJobStatus, CbJobStatus2}) {
        const QSignalBlocker block(cb);
        cb->clear();
        for (const auto &[id, text] : items)
            cb->addItem(text, id);
        cb->setCurrentIndex(-1);
    }
}

// ------------------------------------------------------------------ new and load

void TFrJobTran::AcNewExecute()
{
    m_loading = true;
    TFrForm::AcNewExecute();
    applyModeState();
    fillStatuses();
    PageControl->setCurrentWidget(TsDetail);

    QrJobTran->load(db(), LoadSql, {{QStringLiteral("JobNo"), QString()}, {QStringLiteral("JobType"), QString()}});
    m_newRecord = true;
    m_started = false;
    m_loadedNumber.clear();
    EdJobNo->clear();
    showRecordState();
    // The type stays as last chosen (the first type at first): its numbering decides
    // the width of a typed number.
    CbJobType->setEnabled(true);
    if (CbJobType->currentIndex() < 0)
        CbJobType->setCurrentIndex(0);
    m_loading = false;
    CbJobTypeChange();
    CbJobType->setFocus(Qt::OtherFocusReason);
}

void TFrJobTran::CbJobTypeChange()
{
    m_jobType = CbJobType->currentData().toString();
    if (m_jobType.isEmpty()) {
        m_numberLength = 0;
        return;
    }
    m_numberLength = TDM::instance()->GetDocumentLength(docCode());
}

void TFrJobTran::BJobNoExit()
{
    if (m_loading)
        return;
    const QString number = PadLeft(EdJobNo->text(), m_numberLength, QLatin1Char(' '));
    if (m_started && number == m_loadedNumber) {
        EdJobNo->setText(number);
        return;
    }
    m_loading = true;
    EdJobNo->setText(number);
    const bool found = QrJobTran->load(db(), LoadSql, {{QStringLiteral("JobNo"), number}, {QStringLiteral("JobType"), m_jobType}});
    if (!found && m_mode == FixingMode) {
        m_loading = false;
        ShowMessage(QStringLiteral("กรุณาป้อนเลขที่เอกสาร"));
        AcNew->trigger();
        return;
    }
    if (!found) {
        TDM *dm = TDM::instance();
        const QDateTime now = dm->GetServerTime();
        QrJobTran->setValue(QStringLiteral("JobNo"), number);
        QrJobTran->setValue(QStringLiteral("JobDate"), now.date());
        QrJobTran->setValue(QStringLiteral("JobTime"), now.time().toString(QStringLiteral("HH:mm")));
        QrJobTran->setValue(QStringLiteral("JobType"), m_jobType);
        QrJobTran->setValue(QStringLiteral("JobStatus"), m_newStatus);
        for (const char *f : {"DelFlag", "Clear", "RefJob", "ActionBack"})
            QrJobTran->setValue(QLatin1String(f), QStringLiteral("N"));
        QrJobTran->setValue(QStringLiteral("Warning"), QStringLiteral("Y"));
        QrJobTran->setValue(QStringLiteral("CusAttn"), QStringLiteral("."));
        const TDMConfig *cfg = TDMConfig::instance();
        const QVariant me = db().scalar(QStringLiteral("Select Id From Employee Where Code = :c"), {{QStringLiteral("c"), cfg ? cfg->UserCode.trimmed() : QString()}});
        QrJobTran->setValue(QStringLiteral("RcptEmployee"), me.isNull() ? QVariant() : QVariant(me.toLongLong()));
    }
    m_newRecord = !found;
    m_started = true;
    m_loadedNumber = number;
    showRecordState();
    const TDMConfig *cfg = TDMConfig::instance();
    AcSave->setEnabled(cfg && (m_newRecord ? cfg->CanAdd : cfg->CanModify));
    AcDel->setEnabled(cfg && !m_newRecord && cfg->CanDelete);
    m_loading = false;
}

// Puts what the binder does not know on screen: the frames, the contract, the contacts.
void TFrJobTran::showRecordState()
{
    const QList<QPair<TFaGetBase *, QString>> frames = {
        {FaCustomer, QStringLiteral("Customer")},       {FaRcptEmployee, QStringLiteral("RcptEmployee")},
        {FaRefRcptEmployee, QStringLiteral("RefRcptEmployee")}, {FaProblem, QStringLiteral("problem")},
        {FaPassEmployee, QStringLiteral("PassEmployee")}, {FaFixEmployee, QStringLiteral("FixEmployee")},
        {FaActionBackBy, QStringLiteral("ActionBackBy")}, {FaFixProblem, QStringLiteral("fixproblem")}};
    for (const auto &[frame, field] : frames)
        frame->EdCode->setLookupId(QrJobTran->integer(field));
    m_binder->refresh();
    m_contractShown = QrJobTran->text(QStringLiteral("ContractNo")).trimmed();
    LbContract->setText(QStringLiteral("-"));
    if (QrJobTran->integer(QStringLiteral("ContractHd")) > 0) {
        QSqlQuery q = db().exec(QStringLiteral("Select InstallSite1 From ContractHd Where Id = :id"),
                                {{QStringLiteral("id"), QrJobTran->integer(QStringLiteral("ContractHd"))}});
        if (q.next())
            LbContract->setText(dbText(q.value(0)));
    }
    m_contractCustomer = QrJobTran->integer(QStringLiteral("Customer"));
    loadContacts(m_contractCustomer);
}

void TFrJobTran::focusEntered(QWidget *now)
{
    // Going on past the number box starts the matter, also with a click.
    // A focus change that a handler already overtook is no longer news.
    if (m_started || m_loading || !now || now != QApplication::focusWidget() || now->window() != this || now == EdJobNo
        || now == CbJobType || !isVisible())
        return;
    BJobNoExit();
}

// ------------------------------------------------------------------ field rules

void TFrJobTran::FaCustomerExit()
{
    const qint64 id = FaCustomer->id();
    QrJobTran->setValue(QStringLiteral("Customer"), idOrNull(id));
    m_contractCustomer = id;
    loadContacts(id);
}

void TFrJobTran::loadContacts(qint64 customer)
{
    DgContact->setRowCount(0);
    if (customer <= 0)
        return;
    QSqlQuery q = db().exec(QStringLiteral("Select name, activecontact, section, phone, fax, othermemo From customercontact"
                                           " Where customer = :c Order By Id"),
                            {{QStringLiteral("c"), customer}});
    while (q.next()) {
        const int r = DgContact->rowCount();
        DgContact->insertRow(r);
        for (int c = 0; c < 6; ++c) {
            auto *item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            if (c == 1)
                item->setCheckState(dbText(q.value(c)).trimmed() == QLatin1String("Y") ? Qt::Checked : Qt::Unchecked);
            else
                item->setText(dbText(q.value(c)));
            DgContact->setItem(r, c, item);
        }
    }
}

QString TFrJobTran::openJobLookup()
{
    std::unique_ptr<TFrSearch> d(JobLookup ? JobLookup(this) : nullptr);
    if (!d) {
        auto *s = new TFrSearchJobTran(this);
        s->JobType = m_jobType;
        d.reset(s);
    }
    const bool ok = d->exec() == QDialog::Accepted;
    activateWindow();
    EdJobNo->setFocus(Qt::OtherFocusReason);
    return ok ? d->ReturnValue : QString();
}

QString TFrJobTran::openContractLookup()
{
    if (FaCustomer->id() <= 0) {
        ShowMessage(QStringLiteral("ยังไม่ได้ป้อน รหัสลูกค้า"));
        FaCustomer->EdCode->setFocus(Qt::OtherFocusReason);
        return {};
    }
    std::unique_ptr<TFrSearch> d(ContractLookup ? ContractLookup(this) : nullptr);
    if (!d) {
        auto *s = new TFrSearchContract(this);
        s->CustomerCode = FaCustomer->code();
        s->ContractType = QStringLiteral("%");
        d.reset(s);
    }
    const bool ok = d->exec() == QDialog::Accepted;
    activateWindow();
    EdContractNo->setFocus(Qt::OtherFocusReason);
    return ok ? d->ReturnValue : QString();
}

void TFrJobTran::BContractExit()
{
    if (m_loading || EdContractNo->isReadOnly())
        return;
    const QString no = EdContractNo->text().trimmed();
    if (no == m_contractShown)
        return;
    resolveContract(no, false);
}

// A typed number must be a live contract of the matter's customer (of any
// customer while none is chosen); a contract chosen in the look-up is taken as chosen.
void TFrJobTran::resolveContract(const QString &number, bool anyContract)
{
    qint64 id = 0;
    QString no, site;
    if (!number.trimmed().isEmpty()) {
        QString sql = QStringLiteral("Select Id, ContractNo, InstallSite1 From ContractHd Where ContractNo = :n");
        Params p{{QStringLiteral("n"), number.trimmed()}};
        if (!anyContract) {
            sql += QStringLiteral(" And DelFlag = 'N'");
            if (m_contractCustomer > 0) {
                sql += QStringLiteral(" And Customer = :c");
                p.insert(QStringLiteral("c"), m_contractCustomer);
            }
        }
        QSqlQuery q = db().exec(sql + QStringLiteral(" Order By Id"), p);
        if (q.next()) {
            id = q.value(0).toLongLong();
            no = dbText(q.value(1)).trimmed();
            site = dbText(q.value(2));
        }
    }
    QrJobTran->setValue(QStringLiteral("ContractHd"), idOrNull(id));
    QrJobTran->setValue(QStringLiteral("ContractNo"), no);
    m_contractShown = no;
    LbContract->setText(id > 0 ? site : QStringLiteral("-"));
}

void TFrJobTran::FaProblemExit()
{
    const qint64 id = FaProblem->id();
    QrJobTran->setValue(QStringLiteral("problem"), idOrNull(id));
    if (id > 0 && QrJobTran->text(QStringLiteral("JobTitle")).trimmed().isEmpty())
        QrJobTran->setValue(QStringLiteral("JobTitle"), FaProblem->EdCode->description());
}

// ------------------------------------------------------------------ save and delete

void TFrJobTran::finishEditing()
{
    // A date or time box holding text it refuses stops the save or delete.
    m_editRefused = !finishFocusedEditor(this);
    TFrForm::finishEditing();
    QWidget *w = QApplication::focusWidget();
    if (auto *code = qobject_cast<TCodeLookupEdit *>(w); code && !code->isReadOnly())
        code->checkCode();
    else if (w == EdContractNo)
        BContractExit();
}

void TFrJobTran::AcSaveExecute()
{
    if (!AcSave->isEnabled() || !m_started)
        return;
    if (m_editRefused)
        return;
    TDM *dm = TDM::instance();
    if (!dm->Confirm(QStringLiteral("จัดเก็บข้อมูล ?")))
        return;
    // Dates are kept as dates; an empty one stays empty.
    for (const QString &f : dateColumns()) {
        const QDate d = QrJobTran->date(f);
        QrJobTran->setValue(f, d.isValid() ? QVariant(d) : QVariant());
    }
    Connection &c = db();
    const QString typedNumber = QrJobTran->text(QStringLiteral("JobNo"));
    try {
        Transaction tx(c);
        // Drawn inside the transaction, so a failed save gives the number back.
        if (m_newRecord)
            QrJobTran->setValue(QStringLiteral("JobNo"), dm->GetNewDocumentNo(docCode(), QrJobTran->date(QStringLiteral("JobDate"))));
        const QStringList &columns = writtenColumns();
        Params p;
        for (const QString &col : columns)
            p.insert(col, QrJobTran->value(col));
        if (m_newRecord) {
            QStringList marks;
            for (const QString &col : columns)
                marks << QLatin1Char(':') + col;
            const qint64 id = c.insertReturningId(QStringLiteral("Insert Into jobtran (") + columns.join(QStringLiteral(", ")) + QStringLiteral(") Values (")
                                                      + marks.join(QStringLiteral(", ")) + QLatin1Char(')'),
                                                  p);
            QrJobTran->setValue(QStringLiteral("Id"), id);
        } else {
            QStringList sets;
            for (const QString &col : columns)
                sets << col + QStringLiteral(" = :") + col;
            p.insert(QStringLiteral("Id"), QrJobTran->integer(QStringLiteral("Id")));
            c.exec(QStringLiteral("Update jobtran Set ") + sets.join(QStringLiteral(", ")) + QStringLiteral(" Where Id = :Id"), p);
        }
        tx.commit();
    } catch (const std::exception &e) {
        if (m_newRecord)
            QrJobTran->setValue(QStringLiteral("JobNo"), typedNumber);
        dm->ApplicationEvents1Exception(QString::fromUtf8(e.what()));
        return;
    }
    QrJobTran->markStored();
    AcNew->trigger();
}

void TFrJobTran::AcDelExecute()
{
    if (m_newRecord || !m_started || !AcDel->isEnabled())
        return;
    TDM *dm = TDM::instance();
    const TDMConfig *cfg = TDMConfig::instance();
    if (!dm->Confirm(cfg ? cfg->ConfirmDeleteText : QStringLiteral("ลบข้อมูล ?")))
        return;
    Connection &c = db();
    try {
        Transaction tx(c);
        c.exec(QStringLiteral("Update jobtran Set DelFlag = 'Y' Where Id = :Id"), {{QStringLiteral("Id"), QrJobTran->integer(QStringLiteral("Id"))}});
        tx.commit();
    } catch (const std::exception &e) {
        // The matter stays on screen; the user is told that it was not deleted.
        dm->ApplicationEvents1Exception(QString::fromUtf8(e.what()));
        return;
    }
    QrJobTran->setValue(QStringLiteral("DelFlag"), QStringLiteral("Y"));
    QrJobTran->markStored();
    AcNew->trigger();
}

bool TFrJobTran::FormCloseQuery()
{
    if (!TFrForm::FormCloseQuery())
        return false;
    db().close();
    return true;
}

bool TFrJobTran::eventFilter(QObject *watched, QEvent *event)
{
    // The matter type is fixed once the number box is entered, until New.
    if (watched == EdJobNo && event->type() == QEvent::FocusIn)
        CbJobType->setEnabled(false);
    if (watched == CbJobType->view()->window()) {
        if (event->type() == QEvent::Show)
            m_typeListOpen = true;
        else if (event->type() == QEvent::Hide)
            // The choice, if any, is reported right after the list closes.
            QTimer::singleShot(0, this, [this] { m_typeListOpen = false; });
    }
    return TFrForm::eventFilter(watched, event);
}
