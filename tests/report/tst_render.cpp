#include "TestEnv.h"
#include "core/FormatFloat.h"
#include "db/ServerProcedures.h"
#include "report/ReportEngine.h"
#include "report/ReportRender.h"
#include "report/TReportPreview.h"
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QToolButton>
#include <QPrinter>
#include <QProcess>
#include <QtTest>

namespace {

// Layout text written with single quotes (moc does not read raw strings).
QByteArray js(const char *text)
{
    return QString::fromUtf8(text).replace(QLatin1Char('\''), QLatin1Char('"')).toUtf8();
}

// A4, margins 10: 277 mm between them. Title 27 (first page), page header 20,
// page footer 10, rows 7, summary 20. So 31 rows on the first page, 35 on the others.
QByteArray listLayout()
{
    return js("{'title':'list','page':{'size':'A4','margins':{'left':10,'top':10,'right':10,'bottom':10}},"
              "'font':{'family':'Garuda','size':9},"
              "'datasets':[{'name':'Data','sql':'WITH RECURSIVE seq(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM seq WHERE n < :Rows) "
              "SELECT n AS No, (n - 1) / 5 AS Grp, n * 10 AS Amount FROM seq WHERE n <= :Rows'}],"
              "'bands':["
              "{'type':'reportTitle','height':27,'objects':[{'type':'text','x':0,'y':0,'w':190,'h':10,'text':'รายงานทดสอบ'}]},"
              "{'type':'pageHeader','height':20,'objects':[{'type':'text','x':0,'y':0,'w':190,'h':8,'text':'หัวกระดาษ หน้า [PAGE]'}]},"
              "{'type':'masterData','height':7,'dataset':'Data','objects':["
              "  {'type':'text','x':0,'y':0,'w':40,'h':7,'text':'แถว [Data.No]'},"
              "  {'type':'text','x':40,'y':0,'w':40,'h':7,'text':'[FORMATFLOAT(\\u0027#,##0.00\\u0027, Amount)]','align':'right'}]},"
              "{'type':'summary','height':20,'objects':[{'type':'text','x':0,'y':0,'w':190,'h':8,"
              "  'text':'รวม [COUNT()] แถว [FORMATFLOAT(\\u0027#,##0\\u0027, SUM(Data.Amount))]'}]},"
              "{'type':'pageFooter','height':10,'objects':[{'type':'text','x':0,'y':2,'w':190,'h':6,"
              "  'text':'ท้ายกระดาษ หน้า [PAGE] จาก [TOTALPAGES] รวมหน้านี้ [SUM(Amount)]'}]}]}");
}

// Text as pdftotext reads it. Some fonts draw lowered tone marks with their
// legacy presentation forms; those are read back as the marks they stand for.
QString pdfText(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QStringLiteral("<pdftotext failed: %1>").arg(QString::fromUtf8(p.readAllStandardError()));
    QString t = QString::fromUtf8(p.readAllStandardOutput());
    static const char16_t forms[][2] = {
        {0xF700, 0x0E10}, {0xF701, 0x0E34}, {0xF702, 0x0E35}, {0xF703, 0x0E36}, {0xF704, 0x0E37}, {0xF705, 0x0E48},
        {0xF706, 0x0E49}, {0xF707, 0x0E4A}, {0xF708, 0x0E4B}, {0xF709, 0x0E4C}, {0xF70A, 0x0E48}, {0xF70B, 0x0E49},
        {0xF70C, 0x0E4A}, {0xF70D, 0x0E4B}, {0xF70E, 0x0E4C}, {0xF70F, 0x0E0D}, {0xF710, 0x0E31}, {0xF711, 0x0E4D},
        {0xF712, 0x0E47}, {0xF713, 0x0E48}, {0xF714, 0x0E49}, {0xF715, 0x0E4A}, {0xF716, 0x0E4B}, {0xF717, 0x0E4C},
        {0xF718, 0x0E38}, {0xF719, 0x0E39}, {0xF71A, 0x0E3A}};
    for (const auto &f : forms)
        t.replace(QChar(f[0]), QChar(f[1]));
    // Sara am comes back as nikhahit and sara aa.
    t.replace(QStringLiteral("\u0E4D\u0E32"), QStringLiteral("\u0E33"));
    return t;
}

// pdftotext breaks and spaces lines as it likes; compare without white space.
QString squeezed(QString s)
{
    s.remove(QRegularExpression(QStringLiteral("\\s")));
    return s;
}

} // namespace

class TstRender : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TestSession> s;

    PreparedReport runList(int rows)
    {
        ReportEngine e;
        e.setLayout(ReportLayout::fromJson(listLayout(), QStringLiteral("list")));
        e.setVariable(QStringLiteral("Rows"), QString::number(rows));
        return e.prepare();
    }

private slots:
    void initTestCase() { QLX_REQUIRE_ENGINE(); }
    void init()
    {
        env = std::make_unique<TestEnv>();
        s = std::make_unique<TestSession>();
        ReportLayouts::installDemoLayouts(env->folder());
    }
    void cleanup()
    {
        s.reset();
        env.reset();
    }

    void paginates_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QList<int>>("firstRows"); // first row number on each page (0: none)
        QTest::newRow("no rows") << 0 << 1 << QList<int>{0};
        QTest::newRow("one page") << 20 << 1 << QList<int>{1};
        QTest::newRow("summary pushed over") << 31 << 2 << QList<int>{1, 0};
        QTest::newRow("first page full") << 32 << 2 << QList<int>{1, 32};
        QTest::newRow("four pages") << 100 << 4 << QList<int>{1, 32, 67, 0};
        QTest::newRow("five hundred") << 500 << 15 << QList<int>{1, 32, 67, 102};
    }
    void paginates()
    {
        QFETCH(int, rows);
        QFETCH(int, pages);
        QFETCH(QList<int>, firstRows);
        const PreparedReport r = runList(rows);
        QCOMPARE(int(r.pages.size()), pages);
        int seen = 0;
        qint64 sum = 0;
        for (int p = 0; p < pages; ++p) {
            const QString text = r.pages[p].text();
            const QStringList lines = text.split(QLatin1Char('\n'));
            // The title on the first page only, the page header first on every other.
            QVERIFY2((lines.first() == QStringLiteral("รายงานทดสอบ")) == (p == 0), qPrintable(lines.first()));
            QVERIFY(lines.contains(QStringLiteral("หัวกระดาษ หน้า %1").arg(p + 1)));
            // The footer is the page's last text, with its number, the count and the page's own sum.
            qint64 pageSum = 0;
            int first = 0;
            static const QRegularExpression row(QStringLiteral("^แถว (\\d+)$"));
            for (const QString &l : lines) {
                const auto m = row.match(l);
                if (m.hasMatch()) {
                    const int n = m.captured(1).toInt();
                    QCOMPARE(n, seen + 1);
                    seen = n;
                    pageSum += n * 10;
                    if (!first)
                        first = n;
                }
            }
            if (p < firstRows.size())
                QCOMPARE(first, firstRows[p]);
            QCOMPARE(lines.last(), QStringLiteral("ท้ายกระดาษ หน้า %1 จาก %2 รวมหน้านี้ %3").arg(p + 1).arg(pages).arg(pageSum));
            sum += pageSum;
            // Nothing is placed between the page header and the footer's reserved strip.
            for (const auto &it : r.pages[p].items)
                if (it.kind == PreparedItem::Kind::Text && it.text().startsWith(QStringLiteral("แถว")))
                    QVERIFY(it.rect.bottom() <= 277.0 + 1e-6);
        }
        QCOMPARE(seen, rows);
        QVERIFY(r.pages.back().text().contains(QStringLiteral("รวม %1 แถว %2").arg(rows).arg(formatFloat("#,##0", Decimal(sum)))));
    }

    void groupsPrintTheirOwnTotals()
    {
        QByteArray json = listLayout();
        // A group per five rows, with its sum in the group footer.
        QJsonDocument doc = QJsonDocument::fromJson(json);
        QJsonObject root = doc.object();
        QJsonArray bands = root.value(QLatin1String("bands")).toArray();
        bands.insert(2, QJsonObject{{QStringLiteral("type"), QStringLiteral("groupHeader")}, {QStringLiteral("height"), 7},
                                    {QStringLiteral("condition"), QStringLiteral("Data.Grp")},
                                    {QStringLiteral("objects"), QJsonArray{QJsonObject{{QStringLiteral("type"), QStringLiteral("text")},
                                        {QStringLiteral("w"), 100}, {QStringLiteral("h"), 7}, {QStringLiteral("text"), QStringLiteral("กลุ่ม [Grp]")}}}}});
        bands.insert(4, QJsonObject{{QStringLiteral("type"), QStringLiteral("groupFooter")}, {QStringLiteral("height"), 7},
                                    {QStringLiteral("objects"), QJsonArray{QJsonObject{{QStringLiteral("type"), QStringLiteral("text")},
                                        {QStringLiteral("w"), 100}, {QStringLiteral("h"), 7},
                                        {QStringLiteral("text"), QStringLiteral("รวมกลุ่ม [Grp]: [SUM(Amount)] ([COUNT()])")}}}}});
        root.insert(QStringLiteral("bands"), bands);
        ReportEngine e;
        e.setLayout(ReportLayout::fromJson(QJsonDocument(root).toJson(), QStringLiteral("groups")));
        e.setVariable(QStringLiteral("Rows"), QStringLiteral("12"));
        const PreparedReport r = e.prepare();
        QStringList lines;
        for (const auto &p : r.pages)
            lines += p.text().split(QLatin1Char('\n'));
        lines = lines.filter(QRegularExpression(QStringLiteral("^(กลุ่ม|รวมกลุ่ม|แถว 1$|แถว 5$|แถว 6$|รวม )")));
        QCOMPARE(lines, (QStringList{QStringLiteral("กลุ่ม 0"), QStringLiteral("แถว 1"), QStringLiteral("แถว 5"), QStringLiteral("รวมกลุ่ม 0: 150 (5)"),
                                     QStringLiteral("กลุ่ม 1"), QStringLiteral("แถว 6"), QStringLiteral("รวมกลุ่ม 1: 400 (5)"),
                                     QStringLiteral("กลุ่ม 2"), QStringLiteral("รวมกลุ่ม 2: 230 (2)"), QStringLiteral("รวม 12 แถว 780")}));
    }

    void stretchedRowsKeepOneHeight()
    {
        ReportEngine e;
        e.setLayout(ReportLayout::fromJson(js("{'bands':[{'type':'masterData','height':6,'objects':["
            "{'type':'text','x':0,'y':0,'w':20,'h':6,'text':'1','stretch':true,'frame':'LRB'},"
            "{'type':'text','x':20,'y':0,'w':30,'h':6,'stretch':true,'frame':'LRB',"
            "'text':'งานรื้อถอนฝ้าเพดานและผนังเบาเดิมพร้อมขนย้ายเศษวัสดุออกจากพื้นที่ก่อสร้าง'},"
            "{'type':'text','x':50,'y':0,'w':30,'h':6,'text':'fixed'}]}]}"), QStringLiteral("s")));
        const PreparedReport r = e.prepare();
        const auto &items = r.pages.at(0).items;
        QCOMPARE(items.size(), size_t(3));
        QVERIFY(items[1].lines.size() >= 3);
        QVERIFY(items[1].rect.height() > 12);
        QCOMPARE(items[0].rect.height(), items[1].rect.height());
        QCOMPARE(items[2].rect.height(), 6.0);
    }

    void variablesAreBoundNeverPasted()
    {
        ReportEngine e;
        e.setLayout(ReportLayout::fromJson(js("{'datasets':[{'name':'P','sql':'SELECT Code FROM Project WHERE Code = :DocNo'}],"
            "'bands':[{'type':'masterData','dataset':'P','height':5,'objects':[{'type':'text','w':50,'h':5,'text':'[P.Code]'}]},"
            "{'type':'summary','height':5,'objects':[{'type':'text','w':50,'h':5,'text':'n=[COUNT()]'}]}]}"), QStringLiteral("b")));
        e.setVariable(QStringLiteral("DocNo"), QStringLiteral("'PJDEMO0001'"));
        QVERIFY(e.prepare().pages.at(0).text().contains(QLatin1String("PJDEMO0001\nn=1")));
        e.setVariableValue(QStringLiteral("DocNo"), RValue::fromText(QStringLiteral("x' OR '1'='1")));
        QVERIFY(e.prepare().pages.at(0).text().contains(QLatin1String("n=0")));
        e.clearVariables();
        try {
            e.prepare();
            QFAIL("no error");
        } catch (const ReportError &err) {
            QVERIFY2(err.message().contains(QLatin1String("data set P")) && err.message().contains(QLatin1String(":DocNo")), qPrintable(err.message()));
        }
    }

    void fieldErrorsNameTheObject()
    {
        ReportEngine e;
        e.setLayout(ReportLayout::fromJson(js("{'datasets':[{'name':'P','sql':'SELECT Code FROM Project'}],"
            "'bands':[{'type':'masterData','dataset':'P','height':5,'objects':[{'type':'text','w':50,'h':5,'text':'ok'},"
            "{'type':'text','w':50,'h':5,'text':'[P.Nope]'}]}]}"), QStringLiteral("Rp_Bad.frf")));
        try {
            e.prepare();
            QFAIL("no error");
        } catch (const ReportError &err) {
            QVERIFY2(err.message().contains(QLatin1String("Rp_Bad.frf, band 1")) && err.message().contains(QLatin1String("object 2"))
                         && err.message().contains(QLatin1String("unknown field P.Nope")),
                     qPrintable(err.message()));
        }
    }

    void preparationProcedure()
    {
        Connection &c = s->dm->DMDATA();
        c.exec(QStringLiteral("DELETE FROM RpProjectSheet"));
        const QString out = ServerProc::RunPrintPreparation(c, QStringLiteral(" sp_PrintProject "), QStringLiteral("PJDEMO0001"), 2026, QStringLiteral("PJCODE"));
        QCOMPARE(out, QStringLiteral("PJDEMO0001"));
        auto q = c.exec(QStringLiteral("SELECT DocNo, DocYear, DocCode, JobCount, JobTotal FROM RpProjectSheet"));
        QVERIFY(q.next());
        QCOMPARE(dbText(q.value(0)), QStringLiteral("PJDEMO0001"));
        QCOMPARE(q.value(1).toInt(), 2026);
        QCOMPARE(dbText(q.value(2)), QStringLiteral("PJCODE"));
        QCOMPARE(q.value(3).toInt(), 6);
        QCOMPARE(decimalFromVariant(q.value(4)), Decimal::fromString(u"563440.00"));
        QVERIFY(!q.next());
        // Run again: the old row is replaced, not doubled.
        ServerProc::RunPrintPreparation(c, QStringLiteral("sp_printproject"), QStringLiteral("PJDEMO0001"), 2026, QStringLiteral("PJCODE"));
        QCOMPARE(c.scalar(QStringLiteral("SELECT COUNT(*) FROM RpProjectSheet")).toInt(), 1);
        QVERIFY(!c.inTransaction());
    }

    void preparationProcedureFailures_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("unknown") << "sp_Nothing";
        QTest::newRow("not a name") << "sp_PrintProject; DELETE FROM Project";
        QTest::newRow("empty") << "  ";
    }
    void preparationProcedureFailures()
    {
        QFETCH(QString, name);
        Connection &c = s->dm->DMDATA();
        const int projects = c.scalar(QStringLiteral("SELECT COUNT(*) FROM Project")).toInt();
        try {
            ServerProc::RunPrintPreparation(c, name, QStringLiteral("PJDEMO0001"), 2026, QStringLiteral("PJCODE"));
            QFAIL("no error");
        } catch (const DbError &e) {
            QVERIFY2(e.message().startsWith(QLatin1String("Could not find stored procedure")), qPrintable(e.message()));
        }
        QCOMPARE(c.scalar(QStringLiteral("SELECT COUNT(*) FROM Project")).toInt(), projects);
    }

    // A step that fails undoes the steps before it.
    void failedPreparationChangesNothing()
    {
        Connection &c = s->dm->DMDATA();
        ServerProc::RunPrintPreparation(c, QStringLiteral("sp_PrintProject"), QStringLiteral("PJDEMO0001"), 2026, QStringLiteral("PJCODE"));
        if (c.engine() == EngineKind::Postgres) {
            c.exec(QStringLiteral("CREATE FUNCTION sp_broken(p_no text, p_y integer, p_c text) RETURNS text LANGUAGE plpgsql AS $$\n"
                                  "BEGIN DELETE FROM RpProjectSheet WHERE DocNo = p_no; INSERT INTO NoSuchTable VALUES (1); RETURN p_no; END $$"));
        } else {
            c.exec(QStringLiteral("INSERT INTO ServerScript (ProcName, StepNo, SqlText) VALUES ('sp_broken', 1, 'DELETE FROM RpProjectSheet WHERE DocNo = :No')"));
            c.exec(QStringLiteral("INSERT INTO ServerScript (ProcName, StepNo, SqlText) VALUES ('sp_broken', 2, 'INSERT INTO NoSuchTable VALUES (1)')"));
        }
        QVERIFY_THROWS_EXCEPTION(DbError, ServerProc::RunPrintPreparation(c, QStringLiteral("sp_broken"), QStringLiteral("PJDEMO0001"), 2026, QString()));
        QVERIFY(!c.inTransaction());
        QCOMPARE(c.scalar(QStringLiteral("SELECT COUNT(*) FROM RpProjectSheet WHERE DocNo = 'PJDEMO0001'")).toInt(), 1);
    }

    void demoFormsAndLayouts()
    {
        Connection &c = s->dm->DMDATA();
        auto q = c.exec(QStringLiteral("SELECT FormDesc, FrfName, SpName, ShowPrintPreview FROM SystemForm WHERE TRIM(FormCode) = 'PJCODE' ORDER BY FormOrderNo"));
        QStringList flags;
        while (q.next()) {
            QVERIFY(QFile::exists(dbText(q.value(1)).trimmed()));
            QVERIFY(!dbText(q.value(2)).trimmed().isEmpty());
            flags << dbText(q.value(3));
        }
        QCOMPARE(flags, (QStringList{QStringLiteral("Y"), QStringLiteral("N")}));
        for (const char *f : {"Rp_Project.frf", "Form_GLAuto.frf", "Rp_Clean.frf"}) {
            QVERIFY2(QFile::exists(QLatin1String(f)), f);
            ReportEngine e;
            e.loadLayout(QLatin1String(f));
            e.setVariable(QStringLiteral("DocNo"), QStringLiteral("'PJDEMO0001'"));
            QCOMPARE(int(e.prepare().pages.size()), 1);
        }
    }

    // The demo project sheet, prepared and printed to PDF as the print dialog does.
    void projectSheetPdf()
    {
        Connection &c = s->dm->DMDATA();
        const QString sp = dbText(c.scalar(QStringLiteral("SELECT SpName FROM SystemForm WHERE TRIM(FormCode) = 'PJCODE' ORDER BY FormOrderNo")));
        ServerProc::RunPrintPreparation(c, sp, QStringLiteral("PJDEMO0001"), QDate::currentDate().year(), QStringLiteral("PJCODE"));
        ReportEngine e;
        e.loadLayout(QStringLiteral("Rp_Project.frf"));
        e.setVariable(QStringLiteral("DocNo"), QStringLiteral("'PJDEMO0001'"));
        e.setVariable(QStringLiteral("UserCode"), QStringLiteral("'ADMIN'"));
        const PreparedReport r = e.prepare();
        QCOMPARE(int(r.pages.size()), 1);
        const QString pdf = QDir(env->folder()).filePath(QStringLiteral("sheet.pdf"));
        ReportRender::writePdf(r, pdf);
        const QString text = squeezed(pdfText(pdf));
        for (const QString &want : {QStringLiteral("หนึ่งล้านสองแสนแปดหมื่นสี่พันห้าร้อยบาทห้าสิบสตางค์"), QStringLiteral("1,284,500.50"),
                                    QStringLiteral("PJDEMO0001"), QStringLiteral("C0001"), QStringLiteral("563,440.00"),
                                    QStringLiteral("J01"), QStringLiteral("J06"), QStringLiteral("2,900.00"), QStringLiteral("286,500.00"),
                                    QStringLiteral("รวมมูลค่างาน6รายการงาน"), QStringLiteral("สรุปจากงาน6งาน"), QStringLiteral("พิมพ์โดยADMIN"),
                                    QStringLiteral("หน้า1/1")})
            QVERIFY2(text.contains(want), qPrintable(want + QStringLiteral(" not in: ") + text));
    }

    // The quantity functions read the units of the company: 30 pieces of a product
    // sold by the dozen.
    void quantityFunctions_data()
    {
        QTest::addColumn<QString>("expr");
        QTest::addColumn<QString>("result");
        QTest::newRow("onhand") << "ONHANDQUANTITY(30, Dozen)" << "2  โหล  6.00  ชิ้น";
        QTest::newRow("onhand, quantity from text") << "onhandquantity('30', Dozen)" << "2  โหล  6.00  ชิ้น";
        QTest::newRow("large part") << "ONHANDQUANTITYLSUNIT(30, Dozen, 1)" << "2 โหล";
        QTest::newRow("small part") << "ONHANDQUANTITYLSUNIT(30, Dozen, 2)" << " 6 ชิ้น";
        QTest::newRow("stock fraction") << "FRACSMALLBYSTOCK(30, Piece)" << "2;1/2  โหล";
        QTest::newRow("unknown unit") << "ONHANDQUANTITY(30, 999999)" << "30.00 ERROR";
    }
    void quantityFunctions()
    {
        QFETCH(QString, expr);
        QFETCH(QString, result);
        Connection &c = s->dm->DMDATA();
        const QString unit = QStringLiteral("SELECT U.Id FROM ProductUnits U JOIN Product P ON P.Id = U.Product WHERE P.Code = 'P0001' AND U.UnitName = :u");
        ReportEngine e;
        e.setLayout(ReportLayout::fromJson(QJsonDocument(QJsonObject{{QStringLiteral("bands"), QJsonArray{QJsonObject{
            {QStringLiteral("type"), QStringLiteral("summary")}, {QStringLiteral("height"), 10},
            {QStringLiteral("objects"), QJsonArray{QJsonObject{{QStringLiteral("type"), QStringLiteral("text")}, {QStringLiteral("w"), 150},
                {QStringLiteral("h"), 10}, {QStringLiteral("wrap"), false}, {QStringLiteral("text"), QLatin1Char('[') + expr + QLatin1Char(']')}}}}}}}})
                                               .toJson(),
                                           QStringLiteral("q")));
        e.setVariableValue(QStringLiteral("Dozen"), RValue::fromVariant(c.scalar(unit, {{QStringLiteral("u"), QStringLiteral("โหล")}})));
        e.setVariableValue(QStringLiteral("Piece"), RValue::fromVariant(c.scalar(unit, {{QStringLiteral("u"), QStringLiteral("ชิ้น")}})));
        QCOMPARE(e.prepare().pages.at(0).items.at(0).lines.value(0), result);
    }

    void renderFromTheCommandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("expect"); // in the PDF, or in the error output
        QTest::newRow("project sheet") << QStringList{"DEMO", "Rp_Project.frf", "--var", "DocNo=PJDEMO0001", "--var", "UserCode=ADMIN",
                                                      "--pdf", "cli.pdf", "--prepare"}
                                       << 0 << "หนึ่งล้านสองแสนแปดหมื่นสี่พันห้าร้อยบาทห้าสิบสตางค์";
        QTest::newRow("without preparing") << QStringList{"DEMO", "Rp_Project.frf", "--var", "DocNo=PJDEMO0001", "--pdf", "cli.pdf"}
                                           << 0 << "สรุปจากงานงาน";
        QTest::newRow("voucher with a year") << QStringList{"DEMO", "Form_GLAuto.frf", "--var", "DocNo=PJDEMO0001", "--var", "DocYear=2026",
                                                            "--var", "PrintCode=A-RCPT", "--pdf", "cli.pdf"}
                                             << 0 << "ปีเอกสาร2569";
        QTest::newRow("missing layout") << QStringList{"DEMO", "Nothing.frf", "--pdf", "cli.pdf"} << 1 << "Nothing.frf";
        QTest::newRow("no form to prepare with") << QStringList{"DEMO", "Rp_Clean.frf", "--pdf", "cli.pdf", "--prepare"} << 1
                                                 << "no print form with a preparation procedure uses Rp_Clean.frf";
        QTest::newRow("no pdf given") << QStringList{"DEMO", "Rp_Clean.frf"} << 2 << "usage";
    }
    void renderFromTheCommandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, expect);
        QFile::remove(QStringLiteral("cli.pdf"));
        QProcess p;
        p.setProcessEnvironment(env->processEnvironment());
        p.setWorkingDirectory(env->folder());
        p.start(QStringLiteral(QLXDB_PATH), QStringList{QStringLiteral("render")} + args);
        QVERIFY(p.waitForFinished(60000));
        const QString err = QString::fromUtf8(p.readAllStandardError());
        QCOMPARE(p.exitCode(), exitCode);
        if (exitCode == 0) {
            QVERIFY(QString::fromUtf8(p.readAllStandardOutput()).startsWith(QLatin1String("1 page(s) to cli.pdf")));
            QVERIFY2(squeezed(pdfText(QStringLiteral("cli.pdf"))).contains(expect), qPrintable(squeezed(pdfText(QStringLiteral("cli.pdf")))));
        } else {
            QVERIFY2(err.contains(expect), qPrintable(err));
            QVERIFY(!QFile::exists(QStringLiteral("cli.pdf")));
        }
    }

    void savedReportLoadsAgain()
    {
        const PreparedReport r = runList(40);
        const QString path = QDir(env->folder()).filePath(QStringLiteral("list.qrp"));
        r.save(path);
        const PreparedReport back = PreparedReport::load(path);
        QCOMPARE(back.pages.size(), r.pages.size());
        for (size_t i = 0; i < r.pages.size(); ++i) {
            QCOMPARE(back.pages[i].text(), r.pages[i].text());
            QCOMPARE(ReportRender::pageImage(back.pages[i], 40), ReportRender::pageImage(r.pages[i], 40));
        }
        QFile bad(QDir(env->folder()).filePath(QStringLiteral("bad.qrp")));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("{\"title\":1}");
        bad.close();
        QVERIFY_THROWS_EXCEPTION(ReportError, PreparedReport::load(bad.fileName()));
    }

    void previewWindow()
    {
        TReportPreview v;
        v.setReport(runList(100));
        v.show();
        QCOMPARE(v.pageCount(), 4);
        QCOMPARE(v.currentPage(), 0);
        const int w100 = v.currentImage().width();
        QVERIFY(w100 > 700); // an A4 page at 96 dots per inch
        v.setZoom(200);
        QVERIFY(qAbs(v.currentImage().width() - 2 * w100) <= 2);
        QTest::keyClick(&v, Qt::Key_PageDown);
        QCOMPARE(v.currentPage(), 1);
        QCOMPARE(v.findNext(QStringLiteral("แถว 70")), 2);
        QCOMPARE(v.findNext(QStringLiteral("ไม่มีข้อความนี้")), -1);
        QVERIFY(s->dialogs->contains(QStringLiteral("ไม่พบข้อความ \"ไม่มีข้อความนี้\"")));

        // Print and page set-up hidden: nothing is printed.
        int printed = 0;
        v.printed = [&] { ++printed; };
        v.setButtons(TReportPreview::AllButtons & ~(TReportPreview::Print | TReportPreview::PageSetup));
        QVERIFY(!v.isButtonShown(TReportPreview::Print));
        QTRY_VERIFY(!v.findChild<QToolButton *>(QStringLiteral("button4"))->isVisible());
        QVERIFY(!v.findChild<QToolButton *>(QStringLiteral("button8"))->isVisible());
        QVERIFY(v.findChild<QToolButton *>(QStringLiteral("button128"))->isVisible());
        const QString out = QDir(env->folder()).filePath(QStringLiteral("printed.pdf"));
        v.printer().setOutputFormat(QPrinter::PdfFormat);
        v.printer().setOutputFileName(out);
        v.printReport();
        QCOMPARE(printed, 0);
        QVERIFY(!QFile::exists(out));
        v.setButtons(TReportPreview::AllButtons);
        v.printReport();
        QCOMPARE(printed, 1);
        QCOMPARE(v.printer().copyCount(), 1);
        QVERIFY(v.printer().collateCopies());
        QVERIFY(squeezed(pdfText(out)).contains(QStringLiteral("ท้ายกระดาษหน้า4จาก4")));

        // Export to PDF through the file picker.
        const QString exported = QDir(env->folder()).filePath(QStringLiteral("exported.pdf"));
        v.chooseFile = [&](bool save, const QString &filter) { return save && filter.contains(QLatin1String("pdf")) ? exported : QString(); };
        QTest::mouseClick(v.findChild<QToolButton *>(QStringLiteral("button16")), Qt::LeftButton);
        QVERIFY(squeezed(pdfText(exported)).contains(QStringLiteral("ท้ายกระดาษหน้า4จาก4")));

        // Save, then a bad file: an error, and the report on screen stays.
        const QString saved = QDir(env->folder()).filePath(QStringLiteral("p.qrp"));
        v.chooseFile = [&](bool, const QString &) { return saved; };
        QTest::mouseClick(v.findChild<QToolButton *>(QStringLiteral("button32")), Qt::LeftButton);
        QVERIFY(QFile::exists(saved));
        v.setReport(runList(5));
        QCOMPARE(v.pageCount(), 1);
        QTest::mouseClick(v.findChild<QToolButton *>(QStringLiteral("button64")), Qt::LeftButton);
        QCOMPARE(v.pageCount(), 4);
        v.chooseFile = [&](bool, const QString &) { return QDir(env->folder()).filePath(QStringLiteral("missing.qrp")); };
        v.loadReport();
        QCOMPARE(v.pageCount(), 4);
        QCOMPARE(s->dialogs->entries.last().kind, QStringLiteral("error"));
        v.grab().save(QDir(env->folder()).filePath(QStringLiteral("preview.png")));
    }

    // Figures: a 500-row master band to PDF, and the first preview page.
    void timing()
    {
        QElapsedTimer t;
        t.start();
        const PreparedReport r = runList(500);
        const qint64 prepared = t.elapsed();
        ReportRender::writePdf(r, QDir(env->folder()).filePath(QStringLiteral("500.pdf")));
        const qint64 total = t.elapsed();
        QCOMPARE(int(r.pages.size()), 15);
        t.restart();
        TReportPreview v;
        v.setReport(r);
        v.show();
        QVERIFY(QTest::qWaitForWindowExposed(&v));
        const qint64 preview = t.elapsed();
        qInfo("500 rows, %d pages: prepared in %lld ms, PDF written after %lld ms; first preview page shown in %lld ms",
              int(r.pages.size()), prepared, total, preview);
    }
};

QTEST_MAIN(TstRender)
#include "tst_render.moc"
