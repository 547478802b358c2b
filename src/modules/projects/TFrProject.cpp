#include "TFrProject.h"
#include "db/DbError.h"
#include "db/Dialect.h"
#include "lookup/LookupSupport.h"
#include "lookup/TCodeLookupEdit.h"
#include "lookup/TFaGet.h"
#include "lookup/TFaGetCustomer.h"
#include "lookup/TFrSearchProductService.h"
#include "lookup/TFrSearchProject.h"
#include "lookup/edit/EditSupport.h"
#include "lookup/edit/EditWidgets.h"
#include "lookup/edit/RecordBinder.h"
#include "lookup/edit/RecordBuffer.h"
#include "report/TFrPrintForm.h"
#include "services/TDM.h"
#include "session/TDMConfig.h"
#include "session/UserDialogs.h"
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Every column the window writes. Closing state and finished quantity belong to
// the closing window: they are written for a new project only.
const QStringList &writtenColumns()
{
    static const QStringList c = {
        "Code", "Description", "RefNo", "InputDate", "SubType", "Customer", "Department", "Hire", "Supporter", "AttnPlace",
        "Phone", "Fax", "UnitNo", "ProjectPlace", "ProjectDesc", "CompSupport", "CompSupport_Phone", "CompEngineer",
        "CompEngineer_Phone", "Controller", "Controller_Phone", "CompManager", "CompManager_Phone", "CompOs", "CompOs_Phone",
        "CompSecurity", "CompSecurity_Phone", "PurcDepartment", "PurcDepartment_Phone", "BeginDate", "EndDate", "JobType",
        "JobName", "Advance", "IncludeVAT", "CurrencyId", "Rate", "Total", "ProjectPrice", "consume", "overhead", "risk",
        "commission", "profit", "Product", "ProductUnits", "ProdQuantity", "Blocked", "LockHaveIssue", "DescMemo", "PicPath01"};
    return c;
}
const QStringList &newOnlyColumns()
{
    static const QStringList c = {"QuantityFinish", "Closed", "CloseDate"};
    return c;
}

const QString LoadSql = QStringLiteral(
    "Select Pj.*, P.Code As ProductCode, P.ThaiName As ProductName, U.UnitName, C.Code As CusCode, C.Name As CusName,"
    " Pj.Product As OldProduct, Pj.ProductUnits As OldProductUnits"
    " From Project Pj"
    " Left Join Product P On P.Id = Pj.Product"
    " Left Join ProductUnits U On U.Id = Pj.ProductUnits And U.Product = Pj.Product"
    " Left Join Customer C On C.Id = Pj.Customer"
    " Where Pj.Code = :InputCode");

QString manualNumberMessage()
{
    return QStringLiteral("ท่านไม่ได้ป้อนเลขที่") + QLatin1Char('\n') + QStringLiteral("ขณะนี้อยู่ในระบบที่ต้องกำหนดเลขเอง");
}

Connection &db() { return TDM::instance()->DMDATA(); }

bool blankValue(const QVariant &v) { return v.isNull() || !v.isValid() || dbText(v).trimmed().isEmpty(); }

QVariant idOrNull(qint64 id) { return id > 0 ? QVariant(id) : QVariant(); }

DecimalEdit *decimalBox(QWidget *parent, const QString &name, int scale, const QString &mask = QStringLiteral(",0.00"))
{
    auto *e = new DecimalEdit(parent);
    e->setObjectName(name);
    e->setScale(scale);
    e->setDisplayMask(mask);
    e->setAllowNull(true);
    e->setAlignment(Qt::AlignRight);
    return e;
}

TFrSearch *defaultProjectLookup(QWidget *parent)
{
    auto *d = new TFrSearchProject(parent);
    d->ClosedStatus.clear();   // every closing state
    d->HideBlocked = true;     // not limited to suspended projects
    return d;
}

} // namespace

TFrProject::TFrProject(QWidget *parent) : TFrForm(parent)
{
    setObjectName(QStringLiteral("TFrProject"));
    QrProject = new RecordBuffer(this);
    m_binder = new RecordBinder(QrProject, this);

    auto *central = new QWidget(this);
    auto *lay = new QVBoxLayout(central);
    buildHeader(central);
    lay->addWidget(central->findChild<QWidget *>(QStringLiteral("PnHeader")));
    PageControl = new QTabWidget(central);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    lay->addWidget(PageControl, 1);
    setCentralWidget(central);
    buildPages();

    const TDMConfig *cfg = TDMConfig::instance();
    setWindowTitle((cfg ? cfg->MenuCaption : QString()) + QStringLiteral(" [") + QLatin1String(Version) + QLatin1Char(']'));

    PrintDocument = [this](const QString &docNo, int docYear, const QString &printCode) {
        TFrPrintForm &f = TFrPrintForm::shared();
        f.DocNo = docNo;
        f.DocYear = docYear;
        f.PrintCode = printCode;
        f.execute();
        activateWindow();
    };

    m_focusWatch = connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) { focusEntered(now); });
}

// The children go after this destructor and move the focus as they go.
TFrProject::~TFrProject() { disconnect(m_focusWatch); }

void TFrProject::buildHeader(QWidget *host)
{
    auto *pn = new QWidget(host);
    pn->setObjectName(QStringLiteral("PnHeader"));
    auto *g = new QGridLayout(pn);
    g->setContentsMargins(0, 0, 0, 0);

    EdInputDate = new DateEdit(pn);
    EdInputDate->setObjectName(QStringLiteral("EdInputDate"));
    EdInputDate->setAllowEmpty(false);
    EdInputDate->setMaximumWidth(110);
    CbSubType = new QComboBox(pn);
    CbSubType->setObjectName(QStringLiteral("CbSubType"));
    CbSubType->setEditable(true);
    CbSubType->setInsertPolicy(QComboBox::NoInsert);
    CbSubType->setMinimumWidth(220);
    makeUpperCase(CbSubType->lineEdit());
    EdCode = new CodeEdit(pn);
    EdCode->setObjectName(QStringLiteral("EdCode"));
    EdCode->setSearchButtonVisible(true);
    EdCode->setMaximumWidth(180);
    EdDescription = new QLineEdit(pn);
    EdDescription->setObjectName(QStringLiteral("EdDescription"));
    EdRefNo = new QLineEdit(pn);
    EdRefNo->setObjectName(QStringLiteral("EdRefNo"));
    FaCustomer = new TFaGetCustomer(pn);
    FaCustomer->setObjectName(QStringLiteral("FaCustomer"));
    FaCustomer->setCaption(QStringLiteral("ลูกค้า"));
    FaDepartment = new TFaGetDepartment(pn);
    FaDepartment->setObjectName(QStringLiteral("FaDepartment"));
    FaDepartment->setRequired(true);

    auto label = [pn](const QString &text, QWidget *buddy) {
        auto *l = new QLabel(text, pn);
        l->setBuddy(buddy);
        return l;
    };
    g->addWidget(label(QStringLiteral("วันที่"), EdInputDate), 0, 0);
    g->addWidget(EdInputDate, 0, 1);
    g->addWidget(label(QStringLiteral("ประเภท"), CbSubType), 0, 2);
    g->addWidget(CbSubType, 0, 3);
    g->addWidget(label(QStringLiteral("รหัสโครงการ"), EdCode), 0, 4);
    g->addWidget(EdCode, 0, 5);
    g->addWidget(label(QStringLiteral("ชื่อโครงการ"), EdDescription), 1, 0);
    g->addWidget(EdDescription, 1, 1, 1, 5);
    g->addWidget(label(QStringLiteral("เลขที่อ้างอิง"), EdRefNo), 2, 0);
    g->addWidget(EdRefNo, 2, 1, 1, 3);
    g->addWidget(FaCustomer, 3, 0, 1, 6);
    g->addWidget(FaDepartment, 4, 0, 1, 6);
    g->setColumnStretch(3, 1);

    m_binder->bindDateEdit(EdInputDate, QStringLiteral("InputDate"));
    m_binder->bindLineEdit(EdDescription, QStringLiteral("Description"));
    m_binder->bindLineEdit(EdRefNo, QStringLiteral("RefNo"));
    // The code box is the key being typed: it goes into the record when it is left.

    EdCode->lookup = [this](const QString &) { return openLookup(ProjectLookup, &defaultProjectLookup); };
    LeaveHook::install(EdCode, [this] { BCodeExit(); });
    LeaveHook::install(EdInputDate, [this] { dateExit(); });
    LeaveHook::install(CbSubType, [this] { subTypeExit(); });
    connect(FaCustomer, &TFaGetBase::codeChanged, this, [this](qint64 id) { QrProject->setValue(QStringLiteral("Customer"), idOrNull(id)); });
    connect(FaDepartment, &TFaGetBase::codeChanged, this, [this](qint64 id) { QrProject->setValue(QStringLiteral("Department"), idOrNull(id)); });
}

void TFrProject::buildPages()
{
    auto line = [](QWidget *parent, const QString &name) {
        auto *e = new QLineEdit(parent);
        e->setObjectName(name);
        return e;
    };
    auto bind = [this](QLineEdit *e, const QString &field) { m_binder->bindLineEdit(e, field); };

    // Employer
    TsHire = new QWidget(PageControl);
    TsHire->setObjectName(QStringLiteral("TsHire"));
    {
        auto *f = new QFormLayout(TsHire);
        EdHire = line(TsHire, QStringLiteral("EdHire"));
        EdSupporter = line(TsHire, QStringLiteral("EdSupporter"));
        EdAttnPlace = line(TsHire, QStringLiteral("EdAttnPlace"));
        EdPhone = line(TsHire, QStringLiteral("EdPhone"));
        EdFax = line(TsHire, QStringLiteral("EdFax"));
        f->addRow(QStringLiteral("ผู้ว่าจ้าง"), EdHire);
        f->addRow(QStringLiteral("ผู้ควบคุมงานของผู้ว่าจ้าง"), EdSupporter);
        f->addRow(QStringLiteral("สถานที่ติดต่อ"), EdAttnPlace);
        f->addRow(QStringLiteral("โทรศัพท์"), EdPhone);
        f->addRow(QStringLiteral("โทรสาร"), EdFax);
        bind(EdHire, QStringLiteral("Hire"));
        bind(EdSupporter, QStringLiteral("Supporter"));
        bind(EdAttnPlace, QStringLiteral("AttnPlace"));
        bind(EdPhone, QStringLiteral("Phone"));
        bind(EdFax, QStringLiteral("Fax"));
    }
    PageControl->addTab(TsHire, QStringLiteral("ส่วนของผู้ว่าจ้าง"));

    // Company (1): the project and its six people with their telephones.
    TsCompany1 = new QWidget(PageControl);
    TsCompany1->setObjectName(QStringLiteral("TsCompany1"));
    {
        auto *g = new QGridLayout(TsCompany1);
        EdUnitNo = line(TsCompany1, QStringLiteral("EdUnitNo"));
        EdProjectPlace = line(TsCompany1, QStringLiteral("EdProjectPlace"));
        EdProjectDesc = line(TsCompany1, QStringLiteral("EdProjectDesc"));
        int r = 0;
        auto row = [&](const QString &caption, QLineEdit *e, const QString &field) {
            g->addWidget(new QLabel(caption, TsCompany1), r, 0);
            g->addWidget(e, r, 1, 1, 3);
            bind(e, field);
            ++r;
        };
        row(QStringLiteral("เลขที่หน่วยงาน"), EdUnitNo, QStringLiteral("UnitNo"));
        row(QStringLiteral("สถานที่ตั้งโครงการ"), EdProjectPlace, QStringLiteral("ProjectPlace"));
        row(QStringLiteral("ลักษณะงานโดยรวม"), EdProjectDesc, QStringLiteral("ProjectDesc"));
        struct Person { const char *field; const char *caption; QLineEdit **name; QLineEdit **phone; };
        const Person people[] = {
            {"CompSupport", "ผู้รับผิดชอบโครงการ", &EdCompSupport, &EdCompSupport_Phone},
            {"CompEngineer", "วิศวกรควบคุมงาน", &EdCompEngineer, &EdCompEngineer_Phone},
            {"Controller", "โฟร์แมน", &EdController, &EdController_Phone},
            {"CompManager", "ผู้ดูแลสโตร์โครงการ", &EdCompManager, &EdCompManager_Phone},
            {"CompOs", "เจ้าหน้าที่สำนักงานโครงการ (OS)", &EdCompOs, &EdCompOs_Phone},
            {"CompSecurity", "เจ้าหน้าที่ความปลอดภัย", &EdCompSecurity, &EdCompSecurity_Phone},
        };
        for (const Person &p : people) {
            const QString field = QLatin1String(p.field);
            *p.name = line(TsCompany1, QStringLiteral("Ed") + field);
            *p.phone = line(TsCompany1, QStringLiteral("Ed") + field + QStringLiteral("_Phone"));
            g->addWidget(new QLabel(QString::fromUtf8(p.caption), TsCompany1), r, 0);
            g->addWidget(*p.name, r, 1);
            g->addWidget(new QLabel(QStringLiteral("โทร."), TsCompany1), r, 2);
            g->addWidget(*p.phone, r, 3);
            bind(*p.name, field);
            bind(*p.phone, field + QStringLiteral("_Phone"));
            ++r;
        }
        g->setColumnStretch(1, 2);
        g->setColumnStretch(3, 1);
        g->setRowStretch(r, 1);
    }
    PageControl->addTab(TsCompany1, QStringLiteral("ส่วนของบริษัท (1)"));

    // Company (2): dates, money, job type, VAT, currency and price.
    TsCompany2 = new QWidget(PageControl);
    TsCompany2->setObjectName(QStringLiteral("TsCompany2"));
    {
        auto *g = new QGridLayout(TsCompany2);
        EdBeginDate = new DateEdit(TsCompany2);
        EdBeginDate->setObjectName(QStringLiteral("EdBeginDate"));
        EdEndDate = new DateEdit(TsCompany2);
        EdEndDate->setObjectName(QStringLiteral("EdEndDate"));
        EdAdvance = decimalBox(TsCompany2, QStringLiteral("EdAdvance"), 2);
        EdPurcDepartment = line(TsCompany2, QStringLiteral("EdPurcDepartment"));
        EdPurcDepartment_Phone = line(TsCompany2, QStringLiteral("EdPurcDepartment_Phone"));
        auto *gbJob = new QGroupBox(QStringLiteral("ลักษณะการทำงาน"), TsCompany2);
        RbJobOwn = new QRadioButton(QStringLiteral("ทำเอง"), gbJob);
        RbJobOwn->setObjectName(QStringLiteral("RbJobOwn"));
        RbJobSub = new QRadioButton(QStringLiteral("จ้างผู้รับเหมา"), gbJob);
        RbJobSub->setObjectName(QStringLiteral("RbJobSub"));
        auto *jl = new QHBoxLayout(gbJob);
        jl->addWidget(RbJobOwn);
        jl->addWidget(RbJobSub);
        LbJobName = new QLabel(QStringLiteral("ชื่อผู้รับเหมา"), TsCompany2);
        LbJobName->setObjectName(QStringLiteral("LbJobName"));
        EdJobName = line(TsCompany2, QStringLiteral("EdJobName"));
        auto *gbVat = new QGroupBox(QStringLiteral("ภาษีมูลค่าเพิ่ม"), TsCompany2);
        RbIncludeVat = new QRadioButton(QStringLiteral("รวมภาษี"), gbVat);
        RbIncludeVat->setObjectName(QStringLiteral("RbIncludeVat"));
        RbExcludeVat = new QRadioButton(QStringLiteral("ไม่รวมภาษี"), gbVat);
        RbExcludeVat->setObjectName(QStringLiteral("RbExcludeVat"));
        auto *vl = new QHBoxLayout(gbVat);
        vl->addWidget(RbIncludeVat);
        vl->addWidget(RbExcludeVat);
        CbCurrency = new QComboBox(TsCompany2);
        CbCurrency->setObjectName(QStringLiteral("CbCurrency"));
        EdRate = decimalBox(TsCompany2, QStringLiteral("EdRate"), 6, QStringLiteral(",0.000000"));
        EdTotal = decimalBox(TsCompany2, QStringLiteral("EdTotal"), 6);
        EdProjectPrice = decimalBox(TsCompany2, QStringLiteral("EdProjectPrice"), 2);
        EdProjectPrice->setReadOnly(true);
        EdProjectPrice->setFocusPolicy(Qt::NoFocus);
        LbProjectPrice = new QLabel(QStringLiteral("ราคางาน ()"), TsCompany2);
        LbProjectPrice->setObjectName(QStringLiteral("LbProjectPrice"));

        int r = 0;
        g->addWidget(new QLabel(QStringLiteral("วันเริ่มโครงการ"), TsCompany2), r, 0);
        g->addWidget(EdBeginDate, r, 1);
        g->addWidget(new QLabel(QStringLiteral("วันสิ้นสุดโครงการ"), TsCompany2), r, 2);
        g->addWidget(EdEndDate, r++, 3);
        g->addWidget(new QLabel(QStringLiteral("จำนวนเงินทดรองจ่าย"), TsCompany2), r, 0);
        g->addWidget(EdAdvance, r++, 1);
        g->addWidget(new QLabel(QStringLiteral("ผู้รับผิดชอบการสั่งซื้อ"), TsCompany2), r, 0);
        g->addWidget(EdPurcDepartment, r, 1);
        g->addWidget(new QLabel(QStringLiteral("โทร."), TsCompany2), r, 2);
        g->addWidget(EdPurcDepartment_Phone, r++, 3);
        g->addWidget(gbJob, r, 0, 1, 2);
        g->addWidget(LbJobName, r, 2);
        g->addWidget(EdJobName, r++, 3);
        g->addWidget(gbVat, r++, 0, 1, 2);
        g->addWidget(new QLabel(QStringLiteral("สกุลเงิน"), TsCompany2), r, 0);
        g->addWidget(CbCurrency, r, 1);
        g->addWidget(new QLabel(QStringLiteral("อัตราแลกเปลี่ยน"), TsCompany2), r, 2);
        g->addWidget(EdRate, r++, 3);
        g->addWidget(new QLabel(QStringLiteral("ราคางาน"), TsCompany2), r, 0);
        g->addWidget(EdTotal, r, 1);
        g->addWidget(LbProjectPrice, r, 2);
        g->addWidget(EdProjectPrice, r++, 3);
        g->setRowStretch(r, 1);
        g->setColumnStretch(1, 1);
        g->setColumnStretch(3, 1);

        m_binder->bindDateEdit(EdBeginDate, QStringLiteral("BeginDate"));
        m_binder->bindDateEdit(EdEndDate, QStringLiteral("EndDate"));
        m_binder->bindDecimalEdit(EdAdvance, QStringLiteral("Advance"));
        bind(EdPurcDepartment, QStringLiteral("PurcDepartment"));
        bind(EdPurcDepartment_Phone, QStringLiteral("PurcDepartment_Phone"));
        m_binder->bindYesNoRadio(QStringLiteral("JobType"), RbJobOwn, RbJobSub);
        bind(EdJobName, QStringLiteral("JobName"));
        m_binder->bindYesNoRadio(QStringLiteral("IncludeVAT"), RbIncludeVat, RbExcludeVat);
        m_binder->bindComboBox(CbCurrency, QStringLiteral("CurrencyId"));
        m_binder->bindDecimalEdit(EdRate, QStringLiteral("Rate"));
        m_binder->bindDecimalEdit(EdTotal, QStringLiteral("Total"));
        m_binder->bindDecimalEdit(EdProjectPrice, QStringLiteral("ProjectPrice"));

        for (QRadioButton *rb : {RbJobOwn, RbJobSub})
            connect(rb, &QRadioButton::toggled, this, [this] { jobTypeChanged(); });
        connect(CbCurrency, &QComboBox::activated, this, [this] { currencyChosen(); });
        LeaveHook::install(EdTotal, [this] { EdTotal->commitEdit(); computeProjectPrice(); });
        LeaveHook::install(EdRate, [this] { EdRate->commitEdit(); computeProjectPrice(); });
    }
    PageControl->addTab(TsCompany2, QStringLiteral("ส่วนของบริษัท (2)"));

    // Other: percentages, the product made, flags, memo and the picture folder.
    TsOther = new QWidget(PageControl);
    TsOther->setObjectName(QStringLiteral("TsOther"));
    {
        auto *g = new QGridLayout(TsOther);
        int r = 0;
        struct Pct { const char *field; const char *caption; DecimalEdit **box; };
        const Pct pcts[] = {
            {"consume", "วัสดุสิ้นเปลือง(Consume)", &EdConsume},
            {"overhead", "โสหุ้ยการผลิต (Overhead)", &EdOverhead},
            {"risk", "ค่าความเสี่ยง (Risk)", &EdRisk},
            {"commission", "คอมมิชชั่น (Commission)", &EdCommission},
            {"profit", "กำไรที่ต้องการ (Profit)", &EdProfit},
        };
        for (const Pct &p : pcts) {
            const QString field = QLatin1String(p.field);
            *p.box = decimalBox(TsOther, QStringLiteral("Ed") + field, 2);
            (*p.box)->setMaximumWidth(100);
            g->addWidget(new QLabel(QString::fromUtf8(p.caption), TsOther), r, 0);
            g->addWidget(*p.box, r, 1);
            g->addWidget(new QLabel(QStringLiteral("%"), TsOther), r++, 2);
            m_binder->bindDecimalEdit(*p.box, field);
        }
        EdProductCode = new CodeEdit(TsOther);
        EdProductCode->setObjectName(QStringLiteral("EdProductCode"));
        EdProductCode->setSearchButtonVisible(true);
        LbProductName = new QLabel(TsOther);
        LbProductName->setObjectName(QStringLiteral("LbProductName"));
        EdProdQuantity = decimalBox(TsOther, QStringLiteral("EdProdQuantity"), 2);
        CbUnit = new QComboBox(TsOther);
        CbUnit->setObjectName(QStringLiteral("CbUnit"));
        CbBlocked = new QCheckBox(QStringLiteral("ระงับใช้งาน"), TsOther);
        CbBlocked->setObjectName(QStringLiteral("CbBlocked"));
        CbLockHaveIssue = new QCheckBox(QStringLiteral("จำเป็นต้องมีเบิกวัตถุดิบเสมอ"), TsOther);
        CbLockHaveIssue->setObjectName(QStringLiteral("CbLockHaveIssue"));
        MmDescMemo = new QPlainTextEdit(TsOther);
        MmDescMemo->setObjectName(QStringLiteral("MmDescMemo"));
        MmDescMemo->setTabChangesFocus(true);
        MmDescMemo->setMaximumHeight(70);
        EdPicPath = new QLineEdit(TsOther);
        EdPicPath->setObjectName(QStringLiteral("EdPicPath"));
        EdPicPath->setReadOnly(true);
        BtBrowse = new QPushButton(QStringLiteral("..."), TsOther);
        BtBrowse->setObjectName(QStringLiteral("BtBrowse"));
        BtOpenFolder = new QPushButton(QStringLiteral("Open Folder"), TsOther);
        BtOpenFolder->setObjectName(QStringLiteral("BtOpenFolder"));
        BtClear = new QPushButton(QStringLiteral("Clear"), TsOther);
        BtClear->setObjectName(QStringLiteral("BtClear"));

        g->addWidget(new QLabel(QStringLiteral("รหัสสินค้า"), TsOther), r, 0);
        g->addWidget(EdProductCode, r, 1, 1, 2);
        g->addWidget(LbProductName, r++, 3, 1, 3);
        g->addWidget(new QLabel(QStringLiteral("จำนวน"), TsOther), r, 0);
        g->addWidget(EdProdQuantity, r, 1, 1, 2);
        g->addWidget(new QLabel(QStringLiteral("หน่วยนับ"), TsOther), r, 3);
        g->addWidget(CbUnit, r++, 4);
        g->addWidget(CbBlocked, r, 0);
        g->addWidget(CbLockHaveIssue, r++, 1, 1, 4);
        g->addWidget(new QLabel(QStringLiteral("รายละเอียดอื่น ๆ"), TsOther), r, 0);
        g->addWidget(MmDescMemo, r++, 1, 1, 5);
        g->addWidget(new QLabel(QStringLiteral("โฟลเดอร์รูปภาพ"), TsOther), r, 0);
        auto *pics = new QHBoxLayout;
        pics->addWidget(EdPicPath, 1);
        pics->addWidget(BtBrowse);
        pics->addWidget(BtOpenFolder);
        pics->addWidget(BtClear);
        g->addLayout(pics, r++, 1, 1, 5);
        g->setColumnStretch(5, 1);
        g->setRowStretch(r, 1);

        m_binder->bindDecimalEdit(EdProdQuantity, QStringLiteral("ProdQuantity"));
        m_binder->bindLineEdit(EdProductCode, QStringLiteral("ProductCode"));
        m_binder->bindCheckBox(CbBlocked, QStringLiteral("Blocked"));
        m_binder->bindCheckBox(CbLockHaveIssue, QStringLiteral("LockHaveIssue"));
        m_binder->bindMemo(MmDescMemo, QStringLiteral("DescMemo"));
        m_binder->bindLineEdit(EdPicPath, QStringLiteral("PicPath01"));

        EdProductCode->lookup = [this](const QString &) { return openLookup(ProductLookup, &TFrSearchProductService::forProducts); };
        connect(EdProductCode, &CodeEdit::lookedUp, this, [this](const QString &code) {
            QrProject->setValue(QStringLiteral("ProductCode"), code);
            productExit();
        });
        LeaveHook::install(EdProductCode, [this] { productExit(); });
        connect(CbUnit, &QComboBox::activated, this, [this] { unitChosen(); });
        LeaveHook::install(CbUnit, [this] { unitChosen(); });
        MmDescMemo->installEventFilter(this);
        connect(BtBrowse, &QPushButton::clicked, this, &TFrProject::BPicBrowseClick);
        connect(BtOpenFolder, &QPushButton::clicked, this, &TFrProject::BOpenFolderClick);
        connect(BtClear, &QPushButton::clicked, this, &TFrProject::BClearClick);
    }
    PageControl->addTab(TsOther, QStringLiteral("อื่น ๆ"));
    connect(PageControl, &QTabWidget::currentChanged, this, [this] {
        if (PageControl->currentWidget() == TsCompany2)
            jobTypeChanged();
    });
    connect(QrProject, &RecordBuffer::valueChanged, this, [this](const QString &field) {
        if (field.compare(QLatin1String("ProductName"), Qt::CaseInsensitive) == 0)
            LbProductName->setText(QrProject->text(QStringLiteral("ProductName")));
    });
    connect(QrProject, &RecordBuffer::reset, this, [this] { LbProductName->setText(QrProject->text(QStringLiteral("ProductName"))); });
}

QString TFrProject::openLookup(const std::function<TFrSearch *(QWidget *)> &factory, TFrSearch *(*fallback)(QWidget *))
{
    std::unique_ptr<TFrSearch> d(factory ? factory(this) : fallback(this));
    if (!d)
        return {};
    const bool ok = d->exec() == QDialog::Accepted;
    activateWindow();
    return ok ? d->ReturnValue.trimmed() : QString();
}

// ------------------------------------------------------------------ opening

void TFrProject::FormShow()
{
    StatusPanel0->setText(TDMConfig::instance() ? TDMConfig::instance()->CompanyName : QString());
    upgradeTable();
    fillSubTypes();
    fillCurrencies();
}

void TFrProject::upgradeTable()
{
    Connection &c = db();
    const Dialect &d = c.dialect();
    const QString table = QStringLiteral("Project");
    const ColumnDef columns[] = {
        {QStringLiteral("Product"), ColType::Integer},
        {QStringLiteral("ProductUnits"), ColType::Integer},
        {QStringLiteral("ProdQuantity"), ColType::Decimal, 16, 2},
        {QStringLiteral("Blocked"), ColType::Char, 1},
        {QStringLiteral("SubType"), ColType::Char, 10},
        {QStringLiteral("Department"), ColType::Integer},
        {QStringLiteral("CurrencyId"), ColType::Integer},
        {QStringLiteral("Rate"), ColType::Decimal, 20, 6},
        {QStringLiteral("Total"), ColType::Decimal, 20, 6},
    };
    for (const ColumnDef &col : columns) {
        if (!d.hasColumn(c, table, col.name))
            d.addColumn(c, table, col);
        if (col.name == QLatin1String("Blocked"))
            c.exec(QStringLiteral("Update Project Set Blocked = 'N' Where LTrim(RTrim(Coalesce(Blocked, ''))) = ''"));
    }
}

void TFrProject::fillSubTypes()
{
    // A sequence "PJ-" + sub type numbers a sub type for the whole year, "PJ01-" to
    // "PJ12-" + sub type one per month; either form lists the sub type.
    Connection &c = db();
    QSet<QString> numbered;
    QSqlQuery q = c.exec(QStringLiteral("Select Code From DocumentNo Where Upper(Code) Like 'PJ%' And Upper(Code) <> 'PJCODE' And DocYear = ")
                         + c.dialect().currentYearExpr());
    static const QRegularExpression form(QStringLiteral("^PJ(\\d\\d)?-(.+)$"), QRegularExpression::CaseInsensitiveOption);
    while (q.next()) {
        const auto m = form.match(dbText(q.value(0)).trimmed());
        if (m.hasMatch())
            numbered.insert(m.captured(2).toUpper());
    }
    QList<CodeItem> items;
    QSqlQuery s = c.exec(QStringLiteral("Select Code, Description From Misc Where Upper(GroupCode) = 'SUBTYPE' Order By Code"));
    while (s.next()) {
        const QString code = dbText(s.value(0)).trimmed();
        if (numbered.contains(code.toUpper()))
            items.append({code, code, dbText(s.value(1)).trimmed()});
    }
    fillCodeList(CbSubType, items);
    m_defaultSubType = items.isEmpty() ? QString() : items.first().code;
}

void TFrProject::fillCurrencies()
{
    QList<CodeItem> items;
    for (const QSqlRecord &r : TDM::instance()->CurrencyList())
        items.append({r.value(QStringLiteral("Id")).toLongLong(), dbText(r.value(QStringLiteral("Code"))).trimmed(),
                      dbText(r.value(QStringLiteral("Description"))).trimmed()});
    fillCodeList(CbCurrency, items);
}

// ------------------------------------------------------------------ new and load

void TFrProject::AcNewExecute()
{
    m_loading = true;
    TFrForm::AcNewExecute();
    m_copySource = 0;
    AcDel->setEnabled(false);
    TDM *dm = TDM::instance();
    dm->ReopenConfig();
    dm->GetDocumentLength(QLatin1String(PrintCode));
    m_autoRun = dm->AutoRunFlag;
    LbProjectPrice->setText(QStringLiteral("ราคางาน (") + dm->MainCurrencyName + QLatin1Char(')'));

    QrProject->load(db(), LoadSql, {{QStringLiteral("InputCode"), QString()}});
    m_newRecord = true;
    QrProject->setValue(QStringLiteral("JobType"), QStringLiteral("Y"));
    QrProject->setValue(QStringLiteral("IncludeVAT"), QStringLiteral("N"));
    for (const char *f : {"InputDate", "BeginDate", "EndDate"})
        QrProject->setValue(QLatin1String(f), QDate::currentDate());
    QrProject->setValue(QStringLiteral("Blocked"), QStringLiteral("N"));
    QrProject->setValue(QStringLiteral("QuantityFinish"), QVariant::fromValue(Decimal(0)));
    QrProject->setValue(QStringLiteral("SubType"), m_defaultSubType);
    applyLoadedDefaults();
    showRecordState();
    runSubTypeRule();

    AcSave->setEnabled(false);
    showToolButton(BCopy, false);
    AcCopy->setEnabled(false);
    CbSubType->setEnabled(true);
    EdCode->setEnabled(true);
    EdCode->searchAction()->setEnabled(true);
    EdCode->clear();
    PageControl->setCurrentIndex(0);
    m_codePending = true;
    m_loading = false;
    EdInputDate->setFocus(Qt::OtherFocusReason);
}

QString TFrProject::subTypeDocCode() const
{
    const QString code = codeBeforeEquals(QrProject->text(QStringLiteral("SubType")));
    const QString monthly = dbText(db().scalar(QStringLiteral("Select AutoRunDocMonth From Misc Where Upper(GroupCode) = 'SUBTYPE' And Code = :c"),
                                               {{QStringLiteral("c"), code}}))
                                .trimmed();
    if (monthly != QLatin1String("Y"))
        return QStringLiteral("PJ-") + code;
    QDate date = QrProject->date(QStringLiteral("InputDate"));
    if (!date.isValid())
        date = QDate::currentDate();
    return QStringLiteral("PJ%1-").arg(date.month(), 2, 10, QLatin1Char('0')) + code;
}

void TFrProject::runSubTypeRule()
{
    TDM *dm = TDM::instance();
    dm->GetDocumentLength(subTypeDocCode());
    m_autoRun = dm->AutoRunFlag;
}

void TFrProject::manualCodeMissing()
{
    ShowMessage(manualNumberMessage());
    AcNew->trigger();
}

void TFrProject::BCodeExit()
{
    if (m_loading || !m_codePending)
        return;
    if (!m_autoRun && EdCode->text().trimmed().isEmpty()) {
        manualCodeMissing();
        return;
    }
    m_loading = true;
    m_codePending = false;
    const QDate date = QrProject->date(QStringLiteral("InputDate"));
    const QString subType = codeBeforeEquals(QrProject->text(QStringLiteral("SubType")));
    const QString code = EdCode->text().trimmed();

    m_newRecord = !QrProject->load(db(), LoadSql, {{QStringLiteral("InputCode"), code}});
    if (m_newRecord) {
        QrProject->setValue(QStringLiteral("Code"), code);
        QrProject->setValue(QStringLiteral("SubType"), m_defaultSubType);
        QrProject->setValue(QStringLiteral("JobType"), QStringLiteral("Y"));
        QrProject->setValue(QStringLiteral("IncludeVAT"), QStringLiteral("N"));
        for (const char *f : {"InputDate", "BeginDate", "EndDate"})
            QrProject->setValue(QLatin1String(f), QDate::currentDate());
        QrProject->setValue(QStringLiteral("Blocked"), QStringLiteral("N"));
        QrProject->setValue(QStringLiteral("DescMemo"), QString());
        QrProject->setValue(QStringLiteral("QuantityFinish"), QVariant::fromValue(Decimal(0)));
        QrProject->setValue(QStringLiteral("ProductUnits"), QVariant());
        CbSubType->setEnabled(true);
        if (date.isValid())
            QrProject->setValue(QStringLiteral("InputDate"), date);
        QrProject->setValue(QStringLiteral("SubType"), subType);
        loadUnits(0);
    } else {
        loadUnits(QrProject->integer(QStringLiteral("Product")));
        const qint64 unit = QrProject->integer(QStringLiteral("ProductUnits"));
        bool found = false;
        for (int i = 0; i < CbUnit->count() && !found; ++i)
            found = CbUnit->itemData(i).toLongLong() == unit;
        if (!found) {
            QrProject->setValue(QStringLiteral("ProductUnits"), QVariant());
            QrProject->setValue(QStringLiteral("OldProductUnits"), QVariant());
            QrProject->setValue(QStringLiteral("UnitName"), QVariant());
        }
        CbSubType->setEnabled(QrProject->text(QStringLiteral("SubType")).trimmed().isEmpty());
    }
    applyLoadedDefaults();
    showRecordState();

    const TDMConfig *cfg = TDMConfig::instance();
    AcSave->setEnabled(cfg && (m_newRecord ? cfg->CanAdd : cfg->CanModify));
    AcDel->setEnabled(cfg && !m_newRecord && cfg->CanDelete);
    showToolButton(BCopy, m_newRecord);
    AcCopy->setEnabled(m_newRecord);
    if (m_autoRun && m_newRecord)
        QrProject->setValue(QStringLiteral("Code"), QString());
    EdCode->setText(QrProject->text(QStringLiteral("Code")));
    EdCode->setEnabled(false);
    EdCode->searchAction()->setEnabled(false);
    m_loading = false;
}

void TFrProject::applyLoadedDefaults()
{
    TDM *dm = TDM::instance();
    if (blankValue(QrProject->value(QStringLiteral("CurrencyId")))) {
        QrProject->setValue(QStringLiteral("CurrencyId"), dm->MainCurrencyId > 0 ? QVariant(dm->MainCurrencyId) : QVariant());
        QrProject->setValue(QStringLiteral("Rate"), QVariant::fromValue(Decimal(1)));
    }
    EdRate->setEnabled(QrProject->integer(QStringLiteral("CurrencyId")) != dm->MainCurrencyId);
    if (blankValue(QrProject->value(QStringLiteral("Closed"))))
        QrProject->setValue(QStringLiteral("Closed"), QStringLiteral("N"));
    if (blankValue(QrProject->value(QStringLiteral("LockHaveIssue"))))
        QrProject->setValue(QStringLiteral("LockHaveIssue"), QStringLiteral("Y"));
    if (!QrProject->date(QStringLiteral("InputDate")).isValid())
        QrProject->setValue(QStringLiteral("InputDate"), dm->GetServerTime().date());
    if (codeBeforeEquals(QrProject->text(QStringLiteral("SubType"))).isEmpty()) {
        QrProject->setValue(QStringLiteral("SubType"), m_defaultSubType);
        CbSubType->setEnabled(true);
    }
}

// Puts what the binder does not know on screen: the frames, the sub type, the units.
void TFrProject::showRecordState()
{
    FaCustomer->EdCode->setLookupId(QrProject->integer(QStringLiteral("Customer")));
    FaDepartment->EdCode->setLookupId(QrProject->integer(QStringLiteral("Department")));
    showSubType();
    if (QrProject->integer(QStringLiteral("Product")) > 0 && CbUnit->count() == 0)
        loadUnits(QrProject->integer(QStringLiteral("Product")));
    showUnit();
    jobTypeChanged();
    LbProductName->setText(QrProject->text(QStringLiteral("ProductName")));
    m_binder->refresh();
}

void TFrProject::showSubType()
{
    const QString code = codeBeforeEquals(QrProject->text(QStringLiteral("SubType")));
    const QSignalBlocker block(CbSubType);
    const int i = CbSubType->findData(code, Qt::UserRole, Qt::MatchFixedString);
    if (i >= 0)
        CbSubType->setCurrentIndex(i);
    else {
        CbSubType->setCurrentIndex(-1);
        CbSubType->setEditText(code);
    }
}

void TFrProject::subTypeExit()
{
    QString code = codeBeforeEquals(CbSubType->currentText());
    // A code typed in full picks its entry; the stored value is the code alone.
    const int i = CbSubType->findData(code, Qt::UserRole, Qt::MatchFixedString);
    if (i >= 0)
        code = CbSubType->itemData(i).toString();
    QrProject->setValue(QStringLiteral("SubType"), code);
    showSubType();
    runSubTypeRule();
}

void TFrProject::dateExit()
{
    if (!EdInputDate->commitEdit())
        return;
    runSubTypeRule();
    if (!m_newRecord || EdCode->isEnabled())
        return;
    const QString code = EdCode->text().trimmed();
    if (!m_autoRun && code.isEmpty()) {
        manualCodeMissing();
        return;
    }
    if (m_autoRun && !code.isEmpty()) {
        QrProject->setValue(QStringLiteral("Code"), QString());
        EdCode->clear();
    }
}

void TFrProject::focusEntered(QWidget *now)
{
    if (!m_codePending || m_loading || !now || now->window() != this)
        return;
    const bool loads = now == EdDescription || now == EdRefNo || FaCustomer->isAncestorOf(now) || PageControl->isAncestorOf(now);
    if (loads)
        BCodeExit();
}

// ------------------------------------------------------------------ field rules

void TFrProject::jobTypeChanged()
{
    const bool sub = QrProject->text(QStringLiteral("JobType")) != QLatin1String("Y");
    LbJobName->setEnabled(sub);
    EdJobName->setEnabled(sub);
}

void TFrProject::loadUnits(qint64 productId)
{
    QList<QPair<qint64, QString>> units;
    if (productId > 0) {
        QSqlQuery q = db().exec(QStringLiteral("Select Id, UnitName From ProductUnits Where Product = :p Order By Fraction, Id"),
                                {{QStringLiteral("p"), productId}});
        while (q.next())
            units.append({q.value(0).toLongLong(), dbText(q.value(1)).trimmed()});
    }
    const QSignalBlocker block(CbUnit);
    CbUnit->clear();
    for (const auto &u : units)
        CbUnit->addItem(u.second, u.first);
    CbUnit->setCurrentIndex(-1);
}

void TFrProject::showUnit()
{
    const qint64 unit = QrProject->integer(QStringLiteral("ProductUnits"));
    const QSignalBlocker block(CbUnit);
    CbUnit->setCurrentIndex(unit > 0 ? CbUnit->findData(unit) : -1);
}

void TFrProject::productExit()
{
    const QString code = EdProductCode->text().trimmed();
    QSqlQuery q = db().exec(QStringLiteral("Select Id, Code, ThaiName From Product Where Code = :c"), {{QStringLiteral("c"), code}});
    if (code.isEmpty() || !q.next()) {
        for (const char *f : {"Product", "OldProduct", "ProductCode", "ProductName", "ProductUnits", "OldProductUnits", "UnitName"})
            QrProject->setValue(QLatin1String(f), QVariant());
        loadUnits(0);
        EdProductCode->clear();
        LbProductName->clear();
        return;
    }
    const qint64 id = q.value(0).toLongLong();
    if (id == QrProject->integer(QStringLiteral("OldProduct")) && !QrProject->isNull(QStringLiteral("OldProduct")))
        return;
    QrProject->setValue(QStringLiteral("Product"), id);
    QrProject->setValue(QStringLiteral("OldProduct"), id);
    QrProject->setValue(QStringLiteral("ProductCode"), dbText(q.value(1)).trimmed());
    QrProject->setValue(QStringLiteral("ProductName"), dbText(q.value(2)));
    loadUnits(id);
    if (CbUnit->count() == 0) {
        for (const char *f : {"ProductUnits", "OldProductUnits", "UnitName"})
            QrProject->setValue(QLatin1String(f), QVariant());
    } else {
        QrProject->setValue(QStringLiteral("ProductUnits"), CbUnit->itemData(0));
        QrProject->setValue(QStringLiteral("OldProductUnits"), CbUnit->itemData(0));
        QrProject->setValue(QStringLiteral("UnitName"), CbUnit->itemText(0));
    }
    showUnit();
}

void TFrProject::unitChosen()
{
    if (CbUnit->count() == 0 || CbUnit->currentIndex() < 0) {
        if (CbUnit->count() == 0)
            for (const char *f : {"ProductUnits", "OldProductUnits", "UnitName"})
                QrProject->setValue(QLatin1String(f), QVariant());
        return;
    }
    QrProject->setValue(QStringLiteral("ProductUnits"), CbUnit->currentData());
    QrProject->setValue(QStringLiteral("OldProductUnits"), CbUnit->currentData());
    QrProject->setValue(QStringLiteral("UnitName"), CbUnit->currentText());
}

void TFrProject::currencyChosen()
{
    TDM *dm = TDM::instance();
    const qint64 id = CbCurrency->currentData().toLongLong();
    QrProject->setValue(QStringLiteral("CurrencyId"), idOrNull(id));
    if (id == dm->MainCurrencyId) {
        QrProject->setValue(QStringLiteral("Rate"), QVariant::fromValue(Decimal(1)));
        EdRate->setEnabled(false);
    } else {
        EdRate->setEnabled(true);
        QVariant rate;
        for (const QSqlRecord &r : dm->CurrencyList())
            if (r.value(QStringLiteral("Id")).toLongLong() == id)
                rate = r.value(QStringLiteral("PurcRate"));
        bool ok = false;
        const Decimal d = decimalFromVariant(rate, &ok);
        QrProject->setValue(QStringLiteral("Rate"), ok ? QVariant::fromValue(d) : QVariant());
        EdRate->setFocus(Qt::OtherFocusReason);
    }
    computeProjectPrice();
}

void TFrProject::computeProjectPrice()
{
    const Decimal price = QrProject->decimal(QStringLiteral("Total")) * QrProject->decimal(QStringLiteral("Rate"));
    // The column keeps two decimals; nothing else is rounded.
    QrProject->setValue(QStringLiteral("ProjectPrice"), QVariant::fromValue(price.round(2)));
}

// ------------------------------------------------------------------ save, copy, delete

bool TFrProject::complete()
{
    if (QrProject->integer(QStringLiteral("Department")) <= 0) {
        ShowMessage(QStringLiteral("ท่านยังไม่ได้ป้อนแผนก"));
        return false;
    }
    if (QrProject->decimal(QStringLiteral("Rate")).sign() <= 0) {
        ShowMessage(QStringLiteral("ยังไม่กำหนดอัตราแลกเปลี่ยน"));
        PageControl->setCurrentWidget(TsCompany2);
        EdRate->setFocus(Qt::OtherFocusReason);
        return false;
    }
    // Without automatic numbering an empty code would be stored as it is.
    if (m_newRecord && !m_autoRun && QrProject->text(QStringLiteral("Code")).trimmed().isEmpty()) {
        ShowMessage(manualNumberMessage());
        return false;
    }
    return true;
}

void TFrProject::AcSaveExecute()
{
    if (!AcSave->isEnabled() || m_codePending)
        return;
    if (!complete())
        return;
    TDM *dm = TDM::instance();
    if (!dm->Confirm(QStringLiteral("ยืนยันจัดเก็บข้อมูลโครงการ ?")))
        return;
    Connection &c = db();
    bool drew = false;
    QString code;
    try {
        Transaction tx(c);
        code = QrProject->text(QStringLiteral("Code")).trimmed();
        if (code.isEmpty()) {
            if (m_newRecord) {
                code = dm->GetNewDocumentNo(subTypeDocCode(), QrProject->date(QStringLiteral("InputDate")));
                QrProject->setValue(QStringLiteral("Code"), code);
                drew = true;
                dm->AddActionLog(TDM::LogNew, int(QrProject->integer(QStringLiteral("Id"))), code);
            } else {
                dm->AddActionLog(TDM::LogModify, int(QrProject->integer(QStringLiteral("Id"))), code);
            }
        }
        QrProject->setValue(QStringLiteral("SubType"), codeBeforeEquals(QrProject->text(QStringLiteral("SubType"))));
        QStringList columns = writtenColumns();
        if (m_newRecord)
            columns += newOnlyColumns();
        Params p;
        for (const QString &col : columns)
            p.insert(col, QrProject->value(col));
        if (m_newRecord) {
            QStringList marks;
            for (const QString &col : columns)
                marks << QLatin1Char(':') + col;
            const qint64 id = c.insertReturningId(QStringLiteral("Insert Into Project (") + columns.join(QStringLiteral(", ")) + QStringLiteral(") Values (")
                                                      + marks.join(QStringLiteral(", ")) + QLatin1Char(')'),
                                                  p);
            if (m_copySource > 0)
                copyJobs(id);
        } else {
            QStringList sets;
            for (const QString &col : columns)
                sets << col + QStringLiteral(" = :") + col;
            p.insert(QStringLiteral("Id"), QrProject->integer(QStringLiteral("Id")));
            c.exec(QStringLiteral("Update Project Set ") + sets.join(QStringLiteral(", ")) + QStringLiteral(" Where Id = :Id"), p);
        }
        tx.commit();
    } catch (const std::exception &e) {
        // The number drawn by this attempt went back with the rollback.
        if (drew) {
            QrProject->setValue(QStringLiteral("Code"), QString());
            EdCode->setText(QString());
        }
        dm->ApplicationEvents1Exception(QString::fromUtf8(e.what()));
        return;
    }
    EdCode->setText(code);
    if (PrintDocument)
        PrintDocument(code, QrProject->date(QStringLiteral("InputDate")).year(), QLatin1String(PrintCode));
    QrProject->markStored();
    AcNew->trigger();
}

void TFrProject::copyJobs(qint64 newId)
{
    Connection &c = db();
    const Params p{{QStringLiteral("NewProject"), newId}, {QStringLiteral("IdProjectCopy"), m_copySource}};
    c.exec(QStringLiteral("Insert Into ProjectItemHD (Project, Code, Description, Amount)"
                          " Select :NewProject, Code, Description, Amount From ProjectItemHD Where Project = :IdProjectCopy Order By Code"),
           p);
    c.exec(QStringLiteral("Insert Into ProjectItemDt (ProjectItemHD, DetailType, ItemOrderNo, Product, Description, Vendor, Quantity,"
                          " ProductUnits, Price, Labour, AmountM, AmountL, Total)"
                          " Select N.Id, D.DetailType, D.ItemOrderNo, D.Product, D.Description, D.Vendor, D.Quantity,"
                          " D.ProductUnits, D.Price, D.Labour, D.AmountM, D.AmountL, D.Total"
                          " From ProjectItemDt D"
                          " Inner Join ProjectItemHD O On O.Id = D.ProjectItemHD"
                          " Inner Join ProjectItemHD N On N.Project = :NewProject And N.Code = O.Code"
                          " Where O.Project = :IdProjectCopy"
                          " Order By N.Id, D.ItemOrderNo, D.Id"),
           p);
}

void TFrProject::AcCopyExecute()
{
    if (!m_newRecord || m_codePending || !AcCopy->isEnabled())
        return;
    const QString chosen = openLookup(ProjectLookup, &defaultProjectLookup);
    if (chosen.isEmpty())
        return;
    QSqlQuery q = db().exec(LoadSql, {{QStringLiteral("InputCode"), chosen}});
    if (!q.next())
        return;
    const QSqlRecord source = q.record();
    m_copySource = source.value(QStringLiteral("Id")).toLongLong();
    static const QStringList skipped = {"id", "code", "closed", "quantityfinish", "closedate", "inputdate"};
    for (int i = 0; i < source.count(); ++i) {
        const QString name = source.fieldName(i);
        if (!skipped.contains(name.toLower()))
            QrProject->setValue(name, source.value(i));
    }
    QrProject->setValue(QStringLiteral("Closed"), QStringLiteral("N"));
    QrProject->setValue(QStringLiteral("CloseDate"), QVariant());
    QrProject->setValue(QStringLiteral("QuantityFinish"), QVariant::fromValue(Decimal(0)));
    QrProject->setValue(QStringLiteral("InputDate"), TDM::instance()->GetServerTime().date());
    loadUnits(QrProject->integer(QStringLiteral("Product")));
    applyLoadedDefaults();
    showRecordState();
    runSubTypeRule();
    EdDescription->setFocus(Qt::OtherFocusReason);
}

void TFrProject::AcDelExecute()
{
    if (m_newRecord || !AcDel->isEnabled())
        return;
    TDM *dm = TDM::instance();
    if (!dm->Confirm(QStringLiteral("ยืนยัน ข้อมูลโครงการปัจจุบัน ?")))
        return;
    Connection &c = db();
    try {
        Transaction tx(c);
        const qint64 id = QrProject->integer(QStringLiteral("Id"));
        dm->AddActionLog(TDM::LogDelete, int(id), QrProject->text(QStringLiteral("Code")));
        c.exec(QStringLiteral("Delete From Project Where Id = :Id"), {{QStringLiteral("Id"), id}});
        tx.commit();
    } catch (const std::exception &e) {
        dm->ApplicationEvents1Exception(QString::fromUtf8(e.what()));
        return;
    }
    AcNew->trigger();
}

// ------------------------------------------------------------------ picture folder

void TFrProject::BPicBrowseClick()
{
    const QString current = QrProject->text(QStringLiteral("PicPath01")).trimmed();
    const QString start = (!current.isEmpty() && QDir(current).exists()) ? current : QDir::homePath();
    const QString chosen = UserDialogs::instance().chooseFolder(QStringLiteral("Select a folder"), start);
    if (!chosen.isEmpty())
        QrProject->setValue(QStringLiteral("PicPath01"), QDir::toNativeSeparators(chosen));
}

void TFrProject::BOpenFolderClick()
{
    const QString folder = QrProject->text(QStringLiteral("PicPath01")).trimmed();
    if (!folder.isEmpty() && QDir(folder).exists())
        UserDialogs::instance().openWithDesktop(folder);
    else
        ShowMessage(QStringLiteral("ไม่พบ Path : ") + QLatin1Char('"') + folder + QLatin1Char('"'));
}

void TFrProject::BClearClick() { QrProject->setValue(QStringLiteral("PicPath01"), QString()); }

// ------------------------------------------------------------------ keys

bool TFrProject::previewKey(QWidget *target, int key, Qt::KeyboardModifiers mods)
{
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && mods == Qt::NoModifier) {
        if (target == EdFax) {
            PageControl->setCurrentWidget(TsCompany1);
            EdUnitNo->setFocus(Qt::TabFocusReason);
            return true;
        }
        if (target == EdCompSecurity_Phone) {
            PageControl->setCurrentWidget(TsCompany2);
            EdBeginDate->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return TFrForm::previewKey(target, key, mods);
}

bool TFrProject::eventFilter(QObject *watched, QEvent *event)
{
    // The memo takes Enter for a new line.
    if (watched == MmDescMemo) {
        if (event->type() == QEvent::FocusIn)
            setKeyPreview(false);
        else if (event->type() == QEvent::FocusOut)
            setKeyPreview(true);
    }
    return TFrForm::eventFilter(watched, event);
}
