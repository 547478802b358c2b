#include "TestEnv.h"
#include "report/TFrPrintForm.h"
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

namespace {

// Runs f on the next modal dialog once it is up (the dialogs under test are modal).
void whenModal(std::function<void(QWidget *)> f, int tries = 200)
{
    QTimer::singleShot(10, [f, tries] {
        if (QWidget *w = QApplication::activeModalWidget())
            f(w);
        else if (tries > 0)
            whenModal(f, tries - 1);
    });
}

struct Log
{
    int function;
    int document;
    QString remark;
};

} // namespace

class TstPrintForm : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TestSession> s;
    std::unique_ptr<TFrPrintForm> dlg;
    QStringList previews; // "buttons=<mask> pages=<n> text=<first page>"

    Connection &db() { return s->dm->DMDATA(); }
    QList<Log> logs()
    {
        QList<Log> out;
        auto q = db().exec(QStringLiteral("SELECT FunctionListId, DocumentId, Remark FROM UserLog ORDER BY Id"));
        while (q.next())
            out.append({q.value(0).toInt(), q.value(1).toInt(), dbText(q.value(2))});
        return out;
    }
    void wire(TFrPrintForm &d)
    {
        d.runPreview = [this](TReportPreview &p) {
            previews << QStringLiteral("buttons=%1 pages=%2 text=%3").arg(p.buttons()).arg(p.pageCount()).arg(p.pageCount() ? p.report().pages[0].text() : QString());
        };
        d.printer().setOutputFormat(QPrinter::PdfFormat);
        d.printer().setOutputFileName(QDir(env->folder()).filePath(QStringLiteral("printed.pdf")));
    }

private slots:
    void initTestCase() { QLX_REQUIRE_ENGINE(); }
    void init()
    {
        env = std::make_unique<TestEnv>();
        s = std::make_unique<TestSession>();
        ReportLayouts::installDemoLayouts(env->folder());
        s->cfg->UserCode = QStringLiteral("ADMIN");
        s->cfg->CompanyCode = QStringLiteral("DEMO");
        s->cfg->IsThai = true;
        s->dm->CompanyDbName = QStringLiteral("DEMO");
        dlg = std::make_unique<TFrPrintForm>();
        wire(*dlg);
        dlg->DocNo = QStringLiteral(" PJDEMO0001 ");
        dlg->DocYear = QDate::currentDate().year();
        dlg->PrintCode = QStringLiteral("PJCODE ");
        previews.clear();
    }
    void cleanup()
    {
        dlg.reset();
        s.reset();
        env.reset();
    }

    void texts_data()
    {
        QTest::addColumn<bool>("thai");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("buttons");
        QTest::newRow("thai") << true << "พิมพ์เอกสาร MFG18.06.14" << QStringList{"แสดง", "พิมพ์", "กำหนดเครื่องพิมพ์", "ไม่พิมพ์"};
        QTest::newRow("english") << false << "Print Document MFG18.06.14" << QStringList{"Preview", "Print", "Set Printer", "Cancel"};
    }
    void texts()
    {
        QFETCH(bool, thai);
        QFETCH(QString, title);
        QFETCH(QStringList, buttons);
        s->cfg->IsThai = thai;
        TFrPrintForm d;
        d.PrintCode = QStringLiteral("PJCODE");
        d.loadForms();
        QCOMPARE(d.windowTitle(), title);
        QStringList got;
        for (auto *b : d.findChildren<QPushButton *>())
            got << b->text();
        QCOMPARE(got, buttons);
        QCOMPARE(d.formList()->headerItem()->text(0), QStringLiteral("กรุณาเลือกฟอร์มที่ต้องการพิมพ์"));
        QCOMPARE(d.formCount(), 2);
        QCOMPARE(d.formList()->topLevelItem(0)->text(0), QStringLiteral("ใบสรุปโครงการ"));
        QCOMPARE(d.formList()->currentItem(), d.formList()->topLevelItem(0));
    }

    void noFormClosesAtOnce()
    {
        dlg->PrintCode = QStringLiteral("NOFORM");
        bool blocked = false;
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, this, [&] { blocked = true; dlg->reject(); });
        guard.start(3000);
        QCOMPARE(dlg->execute(), int(QDialog::Rejected));
        QVERIFY(!blocked);
        QVERIFY(previews.isEmpty());
        QVERIFY(logs().isEmpty());
    }

    void blankShowPrintPreviewBecomesN()
    {
        db().exec(QStringLiteral("UPDATE SystemForm SET ShowPrintPreview = ' ' WHERE FormOrderNo = 1"));
        db().exec(QStringLiteral("INSERT INTO SystemForm (FormOrderNo, FormCode, FormDesc, FrfName) VALUES (3, 'OTHER', 'x', 'x.frf')"));
        dlg->loadForms();
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM SystemForm WHERE ShowPrintPreview = 'N'")).toInt(), 3);
    }

    void preview_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("printShown");
        QTest::newRow("ShowPrintPreview Y") << 0 << true;
        QTest::newRow("ShowPrintPreview N") << 1 << false;
    }
    void preview()
    {
        QFETCH(int, row);
        QFETCH(bool, printShown);
        db().exec(QStringLiteral("DELETE FROM RpProjectSheet"));
        dlg->loadForms();
        dlg->formList()->setCurrentItem(dlg->formList()->topLevelItem(row));
        dlg->BDisplayClick();
        QCOMPARE(previews.size(), 1);
        const int buttons = previews[0].section(QLatin1Char(' '), 0, 0).mid(8).toInt();
        QCOMPARE((buttons & TReportPreview::Print) != 0, printShown);
        QCOMPARE((buttons & TReportPreview::PageSetup) != 0, printShown);
        QVERIFY(buttons & TReportPreview::Find);
        QVERIFY(previews[0].contains(QStringLiteral("PJDEMO0001")));
        QVERIFY(previews[0].contains(QStringLiteral("พิมพ์โดย ADMIN")));
        // The preparation ran before the layout was read.
        QVERIFY(previews[0].contains(QStringLiteral("สรุปจากงาน 6 งาน")));
        const auto l = logs();
        QCOMPARE(l.size(), 1);
        QCOMPARE(l[0].function, 10);
        QCOMPARE(l[0].document, 0);
        QCOMPARE(l[0].remark.trimmed(), QStringLiteral("PJDEMO0001"));
    }

    void printClosesOnlyWhenOneForm_data()
    {
        QTest::addColumn<bool>("oneForm");
        QTest::addColumn<QString>("company");
        QTest::addColumn<bool>("closes");
        QTest::newRow("two forms stay open") << false << "DEMO" << false;
        QTest::newRow("one form closes") << true << "DEMO" << true;
        QTest::newRow("PIV_OT closes") << false << " piv_ot " << true;
    }
    void printClosesOnlyWhenOneForm()
    {
        QFETCH(bool, oneForm);
        QFETCH(QString, company);
        QFETCH(bool, closes);
        if (oneForm)
            db().exec(QStringLiteral("DELETE FROM SystemForm WHERE FormOrderNo = 2"));
        s->cfg->CompanyCode = company;
        dlg->loadForms();
        dlg->show();
        dlg->formList()->setFocus();
        // Enter on the list prints the selected form.
        QTest::keyClick(dlg->formList(), Qt::Key_Return);
        QCOMPARE(dlg->isVisible(), !closes);
        const QString pdf = dlg->printer().outputFileName();
        QVERIFY(QFile::exists(pdf));
        QVERIFY(QFileInfo(pdf).size() > 1000);
        const auto l = logs();
        QCOMPARE(l.size(), 1);
        QCOMPARE(l[0].function, 5);
        QCOMPARE(l[0].document, 0);
        QVERIFY(previews.isEmpty());
    }

    void missingLayout_data()
    {
        QTest::addColumn<QString>("frf");
        QTest::newRow("built-in") << "Rp_Missing.frf";
        QTest::newRow("print library") << "Rp_Missing.fr3";
    }
    void missingLayout()
    {
        QFETCH(QString, frf);
        db().exec(QStringLiteral("UPDATE SystemForm SET FrfName = :f"), {{QStringLiteral("f"), frf}});
        int calls = 0;
        dlg->printLibrary = [&](const QString &, const QString &, const QString &, const QString &, int) { return ++calls; };
        dlg->loadForms();
        dlg->show();
        dlg->BPrintClick();
        dlg->BDisplayClick();
        QCOMPARE(s->dialogs->texts().count(QStringLiteral("ยังไม่ได้กำหนดรูปแบบเอกสาร เพื่อพิมพ์")), 2);
        QVERIFY(dlg->isVisible());
        QCOMPARE(calls, 0);
        QVERIFY(logs().isEmpty());
    }

    void fr3GoesToThePrintLibrary()
    {
        QFile::copy(QStringLiteral("Rp_Project.frf"), QStringLiteral("Doc_FR3_Form.Fr3x"));
        db().exec(QStringLiteral("UPDATE SystemForm SET FrfName = 'Doc_FR3_Form.Fr3x' WHERE FormOrderNo = 1"));
        QStringList calls;
        dlg->printLibrary = [&](const QString &c, const QString &f, const QString &u, const QString &d, int mode) {
            calls << QStringList{c, f, u, d, QString::number(mode)}.join(QLatin1Char('|'));
            return 0;
        };
        dlg->loadForms();
        dlg->show();
        dlg->BDisplayClick();
        dlg->BPrintClick();
        QCOMPARE(calls, (QStringList{QStringLiteral("DEMO|Doc_FR3_Form.Fr3x|ADMIN|PJDEMO0001|0"), QStringLiteral("DEMO|Doc_FR3_Form.Fr3x|ADMIN|PJDEMO0001|1")}));
        // Nothing else on this path: no log, the dialog stays.
        QVERIFY(logs().isEmpty());
        QVERIFY(dlg->isVisible());
        QVERIFY(previews.isEmpty());
    }

    void printLibraryIsARealLibrary()
    {
        // A library that is not there is a message, not a crash.
        QCOMPARE(CallPrintLibrary(QStringLiteral("/nonexistent/libqlxprintlib.so"), QStringLiteral("DEMO"), QStringLiteral("Rp_Project.frf"),
                                  QStringLiteral("ADMIN"), QStringLiteral("PJDEMO0001"), 0),
                 1);
        QVERIFY(s->dialogs->contains(QStringLiteral("ไม่พบไลบรารีพิมพ์แบบฟอร์ม /nonexistent/libqlxprintlib.so")));
        // The library has its own copy of the program's services: its messages go
        // to standard error in unattended mode instead of blocking the test.
        // It reads its settings as the program does: from the environment here.
        const QStringList vars{QStringLiteral("QLXHOST_UNATTENDED"), QStringLiteral("QLX_DB_ENGINE"), QStringLiteral("QLX_DATA_DIR"),
                               QStringLiteral("QLX_DB_PREFIX")};
        const auto childEnv = env->processEnvironment();
        for (const auto &v : vars)
            qputenv(v.toLatin1().constData(), v == vars[0] ? QByteArray("1") : childEnv.value(v).toUtf8());
        // The engine of this run, read before the variables are touched.
        struct Restore
        {
            QStringList vars;
            QByteArray engine;
            ~Restore()
            {
                for (const auto &v : vars)
                    qunsetenv(v.toLatin1().constData());
                qputenv("QLX_DB_ENGINE", engine);
            }
        } restore{vars, TestEnv::wantsPostgres() ? QByteArray("postgres") : QByteArray("sqlite")};
        const QString lib = QStringLiteral(QLXPRINTLIB_PATH);
        QCOMPARE(CallPrintLibrary(lib, QStringLiteral("DEMO"), QStringLiteral("NoSuchLayout.fr3"), QStringLiteral("ADMIN"),
                                  QStringLiteral("PJDEMO0001"), 0),
                 1);
        // A real preview through the library, on a company connection it opens by
        // name itself; the preview window is closed as soon as it is up.
        QString title;
        whenModal([&title](QWidget *w) {
            title = QString::fromLatin1(w->metaObject()->className());
            w->close();
        });
        QCOMPARE(CallPrintLibrary(lib, QStringLiteral("DEMO"), QStringLiteral("Rp_Project.frf"), QStringLiteral("ADMIN"),
                                  QStringLiteral("PJDEMO0001"), 0),
                 0);
        QCOMPARE(title, QStringLiteral("TReportPreview"));
    }

    void f11ShowsTheLayoutName()
    {
        dlg->loadForms();
        dlg->show();
        dlg->formList()->setCurrentItem(dlg->formList()->topLevelItem(1));
        QTest::keyClick(dlg->formList(), Qt::Key_F11);
        QCOMPARE(s->dialogs->texts(), QStringList{QStringLiteral("Rp_Project.frf")});
        QTest::keyClick(dlg->formList(), Qt::Key_Escape);
        QVERIFY(!dlg->isVisible());
    }

    void voucherCodes_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("mapped");
        QTest::newRow("ARRCPT") << "ARRCPT" << "A-RCPT";
        QTest::newRow("PRERCPT before PR") << "PRERCPT" << "A-RCPT";
        QTest::newRow("PREPAID before PR") << "PREPAID" << "A-PAID";
        QTest::newRow("PR prefix") << "PR0001" << "A-PURC";
        QTest::newRow("VDN prefix") << "VDN-2" << "A-PURC";
        QTest::newRow("ACLUPAID") << "ACLUPAID" << "A-PURC";
        QTest::newRow("IV prefix") << "IVCASH" << "A-SALE";
        QTest::newRow("POS prefix") << "POS1" << "A-SALE";
        QTest::newRow("ACLURCPT") << "ACLURCPT" << "A-SALE";
        QTest::newRow("BANKTR prefix") << "BANKTR01" << "A-BANK";
        QTest::newRow("RCCHQCL") << "RCCHQCL" << "A-BANK";
        QTest::newRow("cheque code not whole") << "RCCHQCLX" << "RCCHQCLX";
        QTest::newRow("other") << "PJCODE" << "PJCODE";
    }
    void voucherCodes()
    {
        QFETCH(QString, code);
        QFETCH(QString, mapped);
        QCOMPARE(TFrPrintForm::MapVoucherCode(code), mapped);
    }

    // With automatic posting, closing the dialog offers the journal voucher.
    void closingOffersTheVoucher_data()
    {
        QTest::addColumn<QString>("autoGenGL");
        QTest::addColumn<int>("vouchers");
        QTest::newRow("posting") << "Y" << 1;
        QTest::newRow("no posting") << "N" << 0;
    }
    void closingOffersTheVoucher()
    {
        QFETCH(QString, autoGenGL);
        QFETCH(int, vouchers);
        db().exec(QStringLiteral("UPDATE Config SET AutoGenGL = :f"), {{QStringLiteral("f"), autoGenGL}});
        s->dm->ReopenConfig();
        dlg->PrintCode = QStringLiteral("PRERCPT");
        db().exec(QStringLiteral("UPDATE SystemForm SET FormCode = 'PRERCPT'"));
        QStringList modals;
        whenModal([&](QWidget *w) {
            modals << w->windowTitle();
            static_cast<QDialog *>(w)->reject();
            whenModal([&](QWidget *v) {
                modals << v->windowTitle();
                auto *gl = qobject_cast<TFrPrintForm *>(v);
                if (gl) {
                    gl->BDisplayClick();
                    gl->BPrintClick();
                }
                static_cast<QDialog *>(v)->reject();
            }, 20);
        });
        dlg->execute();
        QTest::qWait(400);
        QCOMPARE(modals.size(), 1 + vouchers);
        QCOMPARE(previews.size(), vouchers);
        if (vouchers) {
            QCOMPARE(modals[1], QString());
            QVERIFY(previews[0].contains(QStringLiteral("A-RCPT")));
            QVERIFY(previews[0].contains(QStringLiteral("PJDEMO0001")));
            QVERIFY(previews[0].startsWith(QStringLiteral("buttons=%1 ").arg(TReportPreview::AllButtons)));
            const auto l = logs();
            QCOMPARE(l.size(), 2);
            QCOMPARE(l[0].function, 10);
            QCOMPARE(l[1].function, 5);
        }
    }

    void voucherWithoutLayout()
    {
        QFile::remove(QStringLiteral("Form_GLAuto.frf"));
        TFrPrintForm gl(true);
        wire(gl);
        gl.DocNo = QStringLiteral("PJDEMO0001");
        gl.BDisplayClick();
        gl.BPrintClick();
        QCOMPARE(s->dialogs->texts().count(QStringLiteral("ไม่พบฟอร์ม บันทึกบัญชี")), 2);
        QVERIFY(logs().isEmpty());
    }

    // A quote in a document number cannot end the variable's text early.
    void quotesInTheDocumentNumber()
    {
        db().exec(QStringLiteral("UPDATE Project SET Code = 'PJ''01' WHERE Code = 'PJDEMO0001'"));
        dlg->DocNo = QStringLiteral("PJ'01");
        dlg->loadForms();
        dlg->BDisplayClick();
        QCOMPARE(previews.size(), 1);
        QVERIFY2(previews[0].contains(QStringLiteral("PJ'01")), qPrintable(previews[0]));
        QVERIFY(s->dialogs->entries.isEmpty());
    }
};

QTEST_MAIN(TstPrintForm)
#include "tst_printform.moc"
