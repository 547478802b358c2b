#include "core/DateFormat.h"
#include "report/ReportEngine.h"
#include "report/ReportExpr.h"
#include "report/ReportLayout.h"
#include "services/TextUtils.h"
#include <QtTest>

namespace {

// Variables and one row of the data set "Project", as the engine would offer them.
class Ctx : public ExprContext
{
public:
    QHash<QString, RValue> vars;
    QHash<QString, RValue> project;
    std::optional<RValue> lookup(const QString &dataset, const QString &name) override
    {
        if (dataset.isEmpty()) {
            if (vars.contains(name.toUpper()))
                return vars.value(name.toUpper());
            if (project.contains(name.toUpper()))
                return project.value(name.toUpper());
            return std::nullopt;
        }
        if (dataset.compare(QLatin1String("Project"), Qt::CaseInsensitive) == 0 && project.contains(name.toUpper()))
            return project.value(name.toUpper());
        return std::nullopt;
    }
};

Ctx context()
{
    Ctx c;
    c.vars.insert(QStringLiteral("DOCNO"), RValue::fromText(QStringLiteral("PJ001")));
    c.vars.insert(QStringLiteral("DOCYEAR"), RValue::number(Decimal(2026)));
    c.vars.insert(QStringLiteral("DOCDATE"), RValue::fromDate(QDate(2026, 3, 5)));
    // Exact numerics arrive from the database as text.
    c.project.insert(QStringLiteral("PRICE"), RValue::fromVariant(QStringLiteral("100.50")));
    c.project.insert(QStringLiteral("QTY"), RValue::fromVariant(12));
    c.project.insert(QStringLiteral("CODE"), RValue::fromVariant(QStringLiteral("00123")));
    c.project.insert(QStringLiteral("BEGINDATE"), RValue::fromVariant(QStringLiteral("2026-02-01")));
    c.project.insert(QStringLiteral("REMARK"), RValue());
    return c;
}

// Layout text written with single quotes, which moc and readers take more kindly.
QString js(const char *text)
{
    return QString::fromUtf8(text).replace(QLatin1Char('\''), QLatin1Char('"'));
}

} // namespace

class TstExpr : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setShortDateFormat(QStringLiteral("dd/mm/yyyy")); }

    void evaluates_data()
    {
        QTest::addColumn<QString>("expr");
        QTest::addColumn<QString>("result");
        QTest::newRow("precedence") << "1 + 2 * 3" << "7";
        QTest::newRow("parentheses") << "(1 + 2) * 3" << "9";
        QTest::newRow("division keeps decimals") << "10 / 4" << "2.5";
        QTest::newRow("exact decimals") << "0.1 + 0.2" << "0.3";
        QTest::newRow("unary minus") << "-(2 - 5)" << "3";
        QTest::newRow("mod and div") << "17 MOD 5 + 17 div 5" << "5";
        QTest::newRow("text joins text") << "'ab' + 'cd'" << "abcd";
        QTest::newRow("text with number joins") << "'เลขที่ ' + DocYear" << "เลขที่ 2026";
        QTest::newRow("ampersand joins numbers") << "1 & 2" << "12";
        QTest::newRow("numeric text adds to number") << "Price + 1" << "101.5";
        QTest::newRow("numeric text multiplies") << "Qty * Price" << "1206";
        QTest::newRow("codes stay text") << "Code" << "00123";
        QTest::newRow("codes join as text") << "Code + 'A'" << "00123A";
        QTest::newRow("iif true") << "IIF(Qty > 5, 'มาก', 'น้อย')" << "มาก";
        QTest::newRow("iif false, lower case name") << "iif(Qty > 50, 'มาก', 'น้อย')" << "น้อย";
        QTest::newRow("iif evaluates one branch") << "IIF(1 = 1, 'ok', 1 / 0)" << "ok";
        QTest::newRow("numeric compare of text and number") << "IIF(Price = 100.5, 'Y', 'N')" << "Y";
        QTest::newRow("text compare") << "IIF('abc' < 'abd', 'Y', 'N')" << "Y";
        QTest::newRow("and or not") << "IIF(NOT (1 > 2) AND (1 = 2 OR 2 >= 2), 'Y', 'N')" << "Y";
        QTest::newRow("not equal") << "IIF(DocNo <> 'PJ002', 'Y', 'N')" << "Y";
        QTest::newRow("null field is empty") << "'[' + Remark + ']'" << "[]";
        QTest::newRow("null in arithmetic is zero") << "Remark + 5" << "5";
        QTest::newRow("formatfloat") << "FORMATFLOAT('#,##0.00', 1234567.891)" << "1,234,567.89";
        QTest::newRow("formatfloat negative section") << "FormatFloat('#,##0.00;(#,##0.00)', -5)" << "(5.00)";
        QTest::newRow("formatfloat of numeric text") << "FORMATFLOAT('#,##0.00', Price * 1000)" << "100,500.00";
        QTest::newRow("formatfloat of null is empty") << "FORMATFLOAT('#,##0.00', Remark)" << "";
        QTest::newRow("date shows short") << "DocDate" << "05/03/2026";
        QTest::newRow("iso text from the database is a date") << "Project.BeginDate" << "01/02/2026";
        QTest::newRow("date picture") << "FORMATDATETIME('dd/mm/yy', DocDate)" << "05/03/26";
        QTest::newRow("thai month and buddhist year") << "FORMATDATETIME('d mmmm bbbb', BeginDate)" << "1 กุมภาพันธ์ 2569";
        QTest::newRow("date compare") << "IIF(BeginDate < DocDate, 'Y', 'N')" << "Y";
        QTest::newRow("datetostr") << "DATETOSTR(DocDate)" << "05/03/2026";
        QTest::newRow("trim upper lower") << "UPPER(TRIM('  ab ')) + LOWER('CD')" << "ABcd";
        QTest::newRow("copy is one-based") << "COPY('abcdef', 2, 3)" << "bcd";
        QTest::newRow("length counts characters") << "LENGTH('ไทย')" << "3";
        QTest::newRow("round half away") << "ROUND(2.675, 2)" << "2.68";
        QTest::newRow("qualified field any case") << "project.code" << "00123";
        QTest::newRow("quoted names") << "\"Project\".\"Qty\" + 1" << "13";
        QTest::newRow("thai baht") << "TELL_REAL_THAI(1284500.50, 2)" << "หนึ่งล้านสองแสนแปดหมื่นสี่พันห้าร้อยบาทห้าสิบสตางค์";
        QTest::newRow("thai baht whole") << "tell_real_thai(21, 2)" << "ยี่สิบเอ็ดบาทถ้วน";
        QTest::newRow("thai baht of numeric text") << "TELL_REAL_THAI(Price, 2)" << "หนึ่งร้อยบาทห้าสิบสตางค์";
        QTest::newRow("thai baht decimals from text") << "TELL_REAL_THAI(Price, '2')" << "หนึ่งร้อยบาทห้าสิบสตางค์";
        QTest::newRow("thai point") << "TELL_REAL_THAI2(12.50, 2)" << "สิบสองจุดห้าสิบ";
        QTest::newRow("zero amount has no words") << "TELL_REAL_THAI(0, 2)" << "";
    }
    void evaluates()
    {
        QFETCH(QString, expr);
        QFETCH(QString, result);
        Ctx c = context();
        QCOMPARE(Expr::compile(expr).eval(c).toDisplay(), result);
    }

    // The English words come from the text utilities; the report function must
    // hand them the amount and the decimals in the right order.
    void englishWordsMatchTheTextUtilities_data()
    {
        QTest::addColumn<QString>("expr");
        QTest::addColumn<QString>("result");
        QTest::newRow("eng") << "TELL_REAL_ENG(1250.75, 2)" << EnglishBahtText(2, 1250.75);
        QTest::newRow("eng2") << "TELL_REAL_ENG2(3.5, 1)" << EnglishPointText(1, 3.5);
    }
    void englishWordsMatchTheTextUtilities()
    {
        QFETCH(QString, expr);
        QFETCH(QString, result);
        QVERIFY(!result.isEmpty());
        Ctx c = context();
        QCOMPARE(Expr::compile(expr).eval(c).toDisplay(), result);
    }

    void rejects_data()
    {
        QTest::addColumn<QString>("expr");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown function") << "NOPE(1)" << "unknown function NOPE";
        QTest::newRow("unknown name") << "Nothing + 1" << "unknown field or variable Nothing";
        QTest::newRow("unknown field") << "Project.Nope" << "unknown field Project.Nope";
        QTest::newRow("unknown data set") << "Jobs.Code" << "unknown field Jobs.Code";
        QTest::newRow("dangling operator") << "1 +" << "unexpected end";
        QTest::newRow("open quote") << "'abc" << "unterminated quote";
        QTest::newRow("argument count") << "IIF(1, 2)" << "IIF takes 3 argument(s), not 2";
        QTest::newRow("division by zero") << "1 / 0" << "division by zero";
        QTest::newRow("text in arithmetic") << "'abc' * 2" << "is not a number";
        QTest::newRow("bad amount") << "TELL_REAL_THAI('many', 2)" << "TELL_REAL_THAI, argument 1";
        QTest::newRow("bad date") << "DATETOSTR('soon')" << "is not a date";
        QTest::newRow("trailing input") << "1 2" << "unexpected \"2\"";
    }
    void rejects()
    {
        QFETCH(QString, expr);
        QFETCH(QString, message);
        Ctx c = context();
        try {
            Expr::compile(expr).eval(c);
            QFAIL("no error");
        } catch (const ReportError &e) {
            QVERIFY2(e.message().contains(message), qPrintable(e.message()));
        }
    }

    void quantityFunctionsNeedTheCompany_data()
    {
        QTest::addColumn<QString>("expr");
        QTest::newRow("onhand") << "ONHANDQUANTITY(10, 2)";
        QTest::newRow("part") << "onhandquantitylsunit(10, 2, 1)";
        QTest::newRow("fraction") << "FRACSMALLBYSTOCK(10, 2)";
    }
    void quantityFunctionsNeedTheCompany()
    {
        QFETCH(QString, expr);
        Ctx c = context();
        try {
            Expr::compile(expr).eval(c);
            QFAIL("no error");
        } catch (const ReportError &e) {
            QVERIFY2(e.message().contains(QLatin1String("needs the company database")), qPrintable(e.message()));
        }
    }

    void templates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        QTest::newRow("plain") << "ใบสรุปโครงการ" << "ใบสรุปโครงการ";
        QTest::newRow("expressions in text") << "เลขที่ [DocNo] ปี [DocYear + 543]" << "เลขที่ PJ001 ปี 2569";
        QTest::newRow("bracket inside quotes") << "[IIF(1 = 1, ']', 'x')]!" << "]!";
        QTest::newRow("escaped bracket") << "[[หมายเหตุ] [Qty]" << "[หมายเหตุ] 12";
        QTest::newRow("adjacent") << "[Qty][Qty]" << "1212";
    }
    void templates()
    {
        QFETCH(QString, text);
        QFETCH(QString, result);
        Ctx c = context();
        QCOMPARE(TemplateText::compile(text).eval(c), result);
    }

    // A layout with a mistake fails as it is loaded, naming the place.
    void layoutErrorsNameThePlace_data()
    {
        QTest::addColumn<QString>("json");
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("unknown function") << js("{'bands':[{'type':'pageHeader','height':5},{'type':'summary','height':5,"
            "'objects':[{'type':'text','text':'ok'},{'type':'text','text':'x [FOO(1)]'}]}]}")
                                          << QStringList{"t.frf", "band 2", "object 2", "unknown function FOO"};
        QTest::newRow("missing bracket") << js("{'bands':[{'type':'summary','objects':[{'type':'text','text':'[DocNo'}]}]}")
                                         << QStringList{"band 1", "object 1", "missing \"]\""};
        QTest::newRow("band type") << js("{'bands':[{'type':'detail'}]}") << QStringList{"band 1", "unknown band type \"detail\""};
        QTest::newRow("data set of a band") << js("{'bands':[{'type':'masterData','dataset':'Jobs'}]}")
                                            << QStringList{"band 1", "unknown data set Jobs"};
        QTest::newRow("object type") << js("{'bands':[{'type':'summary','objects':[{'type':'barcode'}]}]}")
                                     << QStringList{"object 1", "unknown object type"};
        QTest::newRow("variable") << js("{'variables':{'Total':'1 +'}}") << QStringList{"variable Total", "unexpected end"};
        QTest::newRow("page size") << js("{'page':{'size':'B9'}}") << QStringList{"unknown page size"};
        QTest::newRow("margins") << js("{'page':{'margins':{'left':150,'right':100}}}") << QStringList{"margins"};
        QTest::newRow("not json") << "{bands" << QStringList{"t.frf", "not a layout"};
    }
    void layoutErrorsNameThePlace()
    {
        QFETCH(QString, json);
        QFETCH(QStringList, parts);
        try {
            ReportLayout::fromJson(json.toUtf8(), QStringLiteral("t.frf"));
            QFAIL("no error");
        } catch (const ReportError &e) {
            for (const QString &p : parts)
                QVERIFY2(e.message().contains(p), qPrintable(e.message()));
        }
    }

    void layoutReadsPageAndObjects()
    {
        const ReportLayout l = ReportLayout::fromJson(js("{'page':{'size':'A5','orientation':'landscape',"
            "'margins':{'left':5,'top':6,'right':7,'bottom':8}},'font':{'family':'Loma','size':9},"
            "'bands':[{'type':'pageFooter','height':9,'objects':[{'type':'text','x':1,'y':2,'w':30,'h':4,'text':'[PAGE]',"
            "'align':'right','valign':'bottom','stretch':true,'wrap':false,'font':{'bold':true}}]}]}").toUtf8(),
                                                      QStringLiteral("t.frf"));
        QCOMPARE(qRound(l.pageSize.width()), 210);
        QCOMPARE(qRound(l.pageSize.height()), 148);
        QCOMPARE(l.marginBottom, 8.0);
        QCOMPARE(l.bands.size(), size_t(1));
        const LayoutObject &o = l.bands[0].objects[0];
        QCOMPARE(o.font.family(), QStringLiteral("Loma"));
        QVERIFY(o.font.bold());
        QCOMPARE(o.font.pointSizeF(), 9.0);
        QCOMPARE(o.align, int(Qt::AlignRight));
        QCOMPARE(o.valign, int(Qt::AlignBottom));
        QVERIFY(o.stretch);
        QVERIFY(!o.wrap);
        QCOMPARE(o.rect, QRectF(1, 2, 30, 4));
    }

    // Thai has no blanks between words: lines must still break between words,
    // never inside one, and no character may be lost.
    void thaiWrapsAtWordBoundaries()
    {
        const QString text = QStringLiteral("งานรื้อถอนฝ้าเพดานและผนังเบาเดิมพร้อมขนย้ายเศษวัสดุออกจากพื้นที่ก่อสร้าง");
        QStringList lines;
        breakTextLines(text, QFont(QStringLiteral("Garuda"), 10), 30, true, &lines);
        QVERIFY2(lines.size() >= 3, qPrintable(lines.join(QLatin1Char('|'))));
        QCOMPARE(lines.join(QString()), text);
        const QStringList words = {QStringLiteral("งาน"), QStringLiteral("รื้อ"), QStringLiteral("ถอน"), QStringLiteral("ฝ้า"), QStringLiteral("เพดาน"),
                                   QStringLiteral("และ"), QStringLiteral("ผนัง"), QStringLiteral("เบา"), QStringLiteral("เดิม"), QStringLiteral("พร้อม"),
                                   QStringLiteral("ขน"), QStringLiteral("ย้าย"), QStringLiteral("เศษ"), QStringLiteral("วัสดุ"), QStringLiteral("ออก"),
                                   QStringLiteral("จาก"), QStringLiteral("พื้น"), QStringLiteral("ที่"), QStringLiteral("ก่อ"), QStringLiteral("สร้าง")};
        // Every break falls between two of the words above.
        int pos = 0;
        QList<int> boundaries{0};
        for (const QString &w : words) {
            QCOMPARE(text.mid(pos, w.size()), w);
            pos += w.size();
            boundaries << pos;
        }
        int at = 0;
        for (const QString &l : lines) {
            at += l.size();
            QVERIFY2(boundaries.contains(at),
                     qPrintable(QStringLiteral("break inside a word: ") + lines.join(QLatin1Char('|'))));
        }
        QStringList one;
        breakTextLines(text, QFont(QStringLiteral("Garuda"), 10), 30, false, &one);
        QCOMPARE(one.size(), 1);
        QStringList manual;
        breakTextLines(QStringLiteral("บรรทัดหนึ่ง\nบรรทัดสอง"), QFont(QStringLiteral("Garuda"), 10), 100, true, &manual);
        QCOMPARE(manual, (QStringList{QStringLiteral("บรรทัดหนึ่ง"), QStringLiteral("บรรทัดสอง")}));
    }
};

QTEST_MAIN(TstExpr)
#include "tst_expr.moc"
