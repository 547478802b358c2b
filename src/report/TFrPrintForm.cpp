#include "TFrPrintForm.h"
#include "ReportRender.h"
#include "db/ServerProcedures.h"
#include "services/TDM.h"
#include "session/TDMConfig.h"
#include "session/UserDialogs.h"
#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QLibrary>
#include <QFile>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPrintDialog>
#include <QPushButton>
#include <QScreen>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const char *kFormSetTag = "MFG18.06.14";

// Text for the expression language: between single quotes, quotes doubled, so a
// document number can never end the literal early.
QString quoted(const QString &s)
{
    QString t = s.trimmed();
    t.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

QString layoutPath(const QString &frf)
{
    return QDir::current().filePath(frf.trimmed());
}

int runLibrary(const QString &company, const QString &frf, const QString &user, const QString &docNo, int mode)
{
    Connection c(QStringLiteral("QLXLibPntForm"));
    c.setDatabaseName(company.trimmed());
    ReportEngine e(&c);
    e.loadLayout(layoutPath(frf));
    e.setVariable(QStringLiteral("DocNo"), quoted(docNo));
    e.setVariable(QStringLiteral("UserCode"), quoted(user));
    const PreparedReport r = e.prepare();
    if (mode == 1) {
        QPrinter printer(QPrinter::HighResolution);
        return ReportRender::print(r, printer) ? 0 : 1;
    }
    TReportPreview p;
    p.setReport(r);
    p.exec();
    return 0;
}

} // namespace

int PrintLibraryForm(const QString &company, const QString &frfName, const QString &userCode, const QString &docNo, int mode)
{
    try {
        return runLibrary(company, frfName, userCode, docNo, mode);
    } catch (const ReportError &e) {
        ShowError(e.message());
    } catch (const DbError &e) {
        ShowError(e.message());
    }
    return 1;
}

QString defaultPrintLibraryPath()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("libqlxprintlib.so"));
}

int CallPrintLibrary(const QString &libraryPath, const QString &company, const QString &frfName, const QString &userCode,
                     const QString &docNo, int mode)
{
    using Fn = int (*)(const wchar_t *, const wchar_t *, const wchar_t *, const wchar_t *, int, int);
    // Loaded once and kept for the process, as the menu program's forms expect.
    static QHash<QString, Fn> loaded;
    Fn fn = loaded.value(libraryPath);
    if (!fn) {
        auto *lib = new QLibrary(libraryPath);
        fn = lib->load() ? reinterpret_cast<Fn>(lib->resolve("DllPrintForm")) : nullptr;
        if (!fn) {
            ShowError(QStringLiteral("ไม่พบไลบรารีพิมพ์แบบฟอร์ม ") + libraryPath + QLatin1Char('\n') + lib->errorString());
            delete lib;
            return 1;
        }
        loaded.insert(libraryPath, fn);
    }
    const std::wstring c = company.toStdWString(), f = frfName.toStdWString(), u = userCode.toStdWString(), d = docNo.toStdWString();
    return fn(c.c_str(), f.c_str(), u.c_str(), d.c_str(), mode, 1);
}

TFrPrintForm::TFrPrintForm(bool voucher, QWidget *parent) : QDialog(parent), m_voucher(voucher), m_printer(QPrinter::HighResolution)
{
    auto *lay = new QVBoxLayout(this);
    m_heading = new QLabel(this);
    m_heading->setAlignment(Qt::AlignCenter);
    QFont hf = m_heading->font();
    hf.setBold(true);
    hf.setPointSizeF(hf.pointSizeF() * 1.3);
    m_heading->setFont(hf);
    m_heading->setVisible(voucher);
    lay->addWidget(m_heading);
    m_list = new QTreeWidget(this);
    m_list->setColumnCount(1);
    m_list->setRootIsDecorated(false);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setAllColumnsShowFocus(true);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->setVisible(!voucher);
    m_list->installEventFilter(this);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this] { guarded([this] { run(true); }); });
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("แสดงชื่อฟอร์ม.frf"), this, [this] { showFrfName(); });
        menu.exec(m_list->viewport()->mapToGlobal(pos));
    });
    lay->addWidget(m_list, 1);
    auto *buttons = new QHBoxLayout;
    m_display = new QPushButton(QStringLiteral("แสดง"), this);
    m_print = new QPushButton(QStringLiteral("พิมพ์"), this);
    m_setup = new QPushButton(QStringLiteral("กำหนดเครื่องพิมพ์"), this);
    m_exit = new QPushButton(QStringLiteral("ไม่พิมพ์"), this);
    for (auto *b : {m_display, m_print, m_setup, m_exit}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    lay->addLayout(buttons);
    connect(m_display, &QPushButton::clicked, this, [this] { BDisplayClick(); });
    connect(m_print, &QPushButton::clicked, this, [this] { BPrintClick(); });
    connect(m_setup, &QPushButton::clicked, this, [this] { runPrinterSetup(m_printer); });
    connect(m_exit, &QPushButton::clicked, this, &QDialog::reject);

    runPreview = [](TReportPreview &p) { p.exec(); };
    runPrinterSetup = [this](QPrinter &printer) {
        QPrintDialog d(&printer, this);
        d.exec();
    };
    printLibrary = [](const QString &company, const QString &frf, const QString &user, const QString &docNo, int mode) {
        return CallPrintLibrary(defaultPrintLibraryPath(), company, frf, user, docNo, mode);
    };
    setTexts();
    setFixedSize(voucher ? QSize(420, 130) : QSize(460, 320));
}

TFrPrintForm::~TFrPrintForm() = default;

TFrPrintForm &TFrPrintForm::shared()
{
    static TFrPrintForm *dialog = new TFrPrintForm(false);
    return *dialog;
}

void TFrPrintForm::setTexts()
{
    const bool thai = !TDMConfig::instance() || TDMConfig::instance()->IsThai;
    if (m_voucher) {
        setWindowTitle(QString());
        m_heading->setText(QStringLiteral("พิมพ์ใบบันทึกรายการบัญชี"));
    } else {
        setWindowTitle((thai ? QStringLiteral("พิมพ์เอกสาร") : QStringLiteral("Print Document")) + QLatin1Char(' ') + QLatin1String(kFormSetTag));
    }
    m_list->setHeaderLabels({QStringLiteral("กรุณาเลือกฟอร์มที่ต้องการพิมพ์")});
    m_list->setToolTip(QStringLiteral("คลิ๊กฟอร์มที่จะพิมพ์"));
    if (thai) {
        m_display->setToolTip(QStringLiteral("แสดงเอกสารบนจอภาพ"));
        m_print->setToolTip(QStringLiteral("พิมพ์เอกสารทางเครื่องพิมพ์"));
        m_setup->setToolTip(QStringLiteral("กำหนดเครื่องพิมพ์"));
        m_exit->setToolTip(QStringLiteral("ยกเลิก หรือ ไม่ต้องการพิมพ์"));
    } else {
        m_display->setText(QStringLiteral("Preview"));
        m_display->setToolTip(QStringLiteral("Display Document To Screen"));
        m_print->setText(QStringLiteral("Print"));
        m_print->setToolTip(QStringLiteral("Print Document To Printer"));
        m_setup->setText(QStringLiteral("Set Printer"));
        m_setup->setToolTip(QStringLiteral("Setup Printer"));
        m_exit->setText(QStringLiteral("Cancel"));
        m_exit->setToolTip(QStringLiteral("Cancel or don't want to print"));
    }
}

void TFrPrintForm::loadForms()
{
    setTexts();
    m_forms.clear();
    m_list->clear();
    if (m_voucher)
        return;
    Connection &c = TDM::instance()->DMDATA();
    upgradeSystemForm(c);
    auto q = c.exec(QStringLiteral("SELECT FormDesc, FrfName, SpName, DocCode, ShowPrintPreview FROM SystemForm "
                                   "WHERE TRIM(FormCode) = :code ORDER BY FormOrderNo, Id"),
                    {{QStringLiteral("code"), PrintCode.trimmed()}});
    while (q.next()) {
        m_forms.push_back({dbText(q.value(0)), dbText(q.value(1)), dbText(q.value(2)), dbText(q.value(3)), dbText(q.value(4))});
        auto *item = new QTreeWidgetItem(m_list, {m_forms.back().desc});
        item->setToolTip(0, m_list->toolTip());
    }
    // 60 characters of the description fit.
    m_list->header()->resizeSection(0, m_list->fontMetrics().averageCharWidth() * 60);
    if (!m_forms.empty()) {
        m_list->setCurrentItem(m_list->topLevelItem(0));
        m_list->setFocus();
    }
}

int TFrPrintForm::execute()
{
    loadForms();
    if (!m_voucher && m_forms.empty())
        return QDialog::Rejected;
    const int r = exec();
    if (!m_voucher) {
        // The journal voucher of the same document, when the ledger is posted automatically.
        TDM *dm = TDM::instance();
        if (dbText(dm->config(QStringLiteral("AutoGenGL"))) == QLatin1String("Y")) {
            TFrPrintForm gl(true, parentWidget());
            gl.DocNo = DocNo;
            gl.DocYear = DocYear;
            gl.PrintCode = PrintCode;
            gl.runPreview = runPreview;
            gl.runPrinterSetup = runPrinterSetup;
            gl.m_printer.setOutputFormat(m_printer.outputFormat());
            gl.m_printer.setOutputFileName(m_printer.outputFileName());
            gl.execute();
        }
    }
    return r;
}

void TFrPrintForm::showEvent(QShowEvent *e)
{
    // Flush with the top and right edges of the screen.
    if (QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen())
        move(s->availableGeometry().right() - frameGeometry().width() + 1, s->availableGeometry().top());
    QDialog::showEvent(e);
}

QString TFrPrintForm::MapVoucherCode(const QString &printCode)
{
    const QString c = printCode.trimmed().toUpper();
    auto any = [&](std::initializer_list<const char *> l) {
        for (const char *s : l)
            if (c == QLatin1String(s))
                return true;
        return false;
    };
    auto starts = [&](std::initializer_list<const char *> l) {
        for (const char *s : l)
            if (c.startsWith(QLatin1String(s)))
                return true;
        return false;
    };
    if (any({"ARRCPT", "PRERCPT", "MISCRCPT", "RCPTVEN"}))
        return QStringLiteral("A-RCPT");
    if (any({"APPAID", "PREPAID", "MISCPAID"}))
        return QStringLiteral("A-PAID");
    if (any({"ACLUPAID"}) || starts({"MR", "PC", "PR", "VCN", "VDN"}))
        return QStringLiteral("A-PURC");
    if (any({"ACLURCPT"}) || starts({"IV", "SR", "POS", "CCN", "CDN"}))
        return QStringLiteral("A-SALE");
    if (any({"RCCHQDP", "RCCHQCL", "RCCHQRD", "PDCHQDP", "PDCHQRD"}) || starts({"BANKCASH", "BANKTR"}))
        return QStringLiteral("A-BANK");
    return printCode;
}

void TFrPrintForm::guarded(const std::function<void()> &f)
{
    // Report and database failures become a message; the dialog stays usable.
    try {
        f();
    } catch (const ReportError &e) {
        ShowError(e.message());
    } catch (const DbError &e) {
        ShowError(e.message());
    }
}

void TFrPrintForm::BDisplayClick() { guarded([this] { run(false); }); }
void TFrPrintForm::BPrintClick() { guarded([this] { run(true); }); }

void TFrPrintForm::run(bool print)
{
    if (m_voucher) {
        if (!QFile::exists(layoutPath(QStringLiteral("Form_GLAuto.frf")))) {
            ShowMessage(QStringLiteral("ไม่พบฟอร์ม บันทึกบัญชี"));
            return;
        }
        runBuiltIn(QStringLiteral("Form_GLAuto.frf"), QString(), QString(), true, print, MapVoucherCode(PrintCode));
        return;
    }
    const int row = m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
    if (row < 0 || row >= formCount())
        return;
    const Form f = m_forms[row];
    if (f.frf.contains(QLatin1String("fr3"), Qt::CaseInsensitive)) {
        if (!QFile::exists(layoutPath(f.frf))) {
            ShowMessage(QStringLiteral("ยังไม่ได้กำหนดรูปแบบเอกสาร เพื่อพิมพ์"));
            return;
        }
        printLibrary(TDM::instance()->CompanyDbName, f.frf, TDMConfig::instance() ? TDMConfig::instance()->UserCode.trimmed() : QString(),
                     DocNo.trimmed(), print ? 1 : 0);
        return;
    }
    if (!QFile::exists(layoutPath(f.frf))) {
        ShowMessage(QStringLiteral("ยังไม่ได้กำหนดรูปแบบเอกสาร เพื่อพิมพ์"));
        return;
    }
    runBuiltIn(f.frf, f.sp, f.docCode, f.showPrintPreview == QLatin1String("Y"), print, QString());
    if (print) {
        const QString company = TDMConfig::instance() ? TDMConfig::instance()->CompanyCode.trimmed().toUpper() : QString();
        if (formCount() == 1 || company == QLatin1String("PIV_OT"))
            accept();
    }
}

void TFrPrintForm::runBuiltIn(const QString &frf, const QString &sp, const QString &docCode, bool printButtons, bool print,
                              const QString &printCodeVar)
{
    TDM *dm = TDM::instance();
    if (!sp.trimmed().isEmpty())
        // The same trimmed number the layout reads, or it would print without its prepared data.
        ServerProc::RunPrintPreparation(dm->DMDATA(), sp.trimmed(), DocNo.trimmed(), DocYear, docCode.trimmed());
    ReportEngine e(&dm->DMDATA());
    e.loadLayout(layoutPath(frf));
    e.setVariable(QStringLiteral("DocNo"), quoted(DocNo));
    if (m_voucher) {
        e.setVariable(QStringLiteral("DocYear"), QString::number(DocYear));
        e.setVariable(QStringLiteral("PrintCode"), quoted(printCodeVar));
    } else {
        e.setVariable(QStringLiteral("UserCode"), quoted(TDMConfig::instance() ? TDMConfig::instance()->UserCode : QString()));
    }
    if (!print) {
        dm->AddActionLog(TDM::LogPreview, 0, DocNo);
        TReportPreview p(this);
        p.setButtons(printButtons ? TReportPreview::AllButtons
                                  : TReportPreview::AllButtons & ~(TReportPreview::Print | TReportPreview::PageSetup));
        p.setReport(e.prepare());
        runPreview(p);
        return;
    }
    const PreparedReport r = e.prepare();
    dm->AddActionLog(TDM::LogPrint, 0, DocNo);
    if (!ReportRender::print(r, m_printer))
        ShowError(QStringLiteral("พิมพ์เอกสารไม่สำเร็จ"));
}

void TFrPrintForm::showFrfName()
{
    const int row = m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
    if (row >= 0 && row < formCount())
        ShowMessage(m_forms[row].frf);
}

void TFrPrintForm::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    if (e->key() == Qt::Key_F11 && !m_voucher) {
        showFrfName();
        return;
    }
    QDialog::keyPressEvent(e);
}

bool TFrPrintForm::eventFilter(QObject *watched, QEvent *event)
{
    // Enter on the list prints the selected form; the list would only pass it on.
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(event);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            BPrintClick();
            return true;
        }
        if (k->key() == Qt::Key_F11) {
            showFrfName();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
