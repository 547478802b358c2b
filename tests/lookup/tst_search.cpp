#include "TestEnv.h"
#include "lookup/PagedQueryModel.h"
#include "lookup/TFrSearch.h"
#include "core/DateFormat.h"
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

namespace {
// A member as members are written: its statement, its columns, and a prefix
// match on the code box bound as a value.
class CodeSearch : public TFrSearch
{
public:
    QString codeColumn = QStringLiteral("Code");
    explicit CodeSearch(const QStringList &sql, const QString &key = QStringLiteral("Code"))
    {
        SQL = sql;
        KeyFieldName = key;
    }

protected:
    void prepareSearch() override
    {
        Conditions.clear();
        const QString t = Code->text().trimmed();
        if (!t.isEmpty())
            Conditions.add(codeColumn + QStringLiteral(" Like ?"), {t + QLatin1Char('%')});
    }
};

QStringList customers() { return {QStringLiteral("Select Id, Code, Name From Customer"), QStringLiteral("Where 1 = 1"), QStringLiteral("Order By Code")}; }
} // namespace

class TstSearch : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TestSession> s;
    std::unique_ptr<CodeSearch> d;

    Connection &db() { return s->dm->DMDATA(); }
    void open(CodeSearch *dialog)
    {
        d.reset(dialog);
        d->show();
        QVERIFY(QTest::qWaitForWindowActive(d.get()));
        QTRY_COMPARE(QApplication::focusWidget(), d->Code);
    }
    void search(const QString &text)
    {
        d->Code->setFocus();
        d->Code->setText(text);
        QTest::keyClick(d->Code, Qt::Key_Return);
    }
    QString cell(int row, const QString &col) { return dbText(d->result()->value(row, col)); }
    void clickTitle(const QString &column)
    {
        const int c = d->result()->columnOf(column);
        QHeaderView *h = d->DgSearch->horizontalHeader();
        const QPoint at(h->sectionViewportPosition(c) + h->sectionSize(c) / 2, h->height() / 2);
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, at);
    }
    void rightPress(Qt::KeyboardModifiers mods)
    {
        const QRect r = d->DgSearch->visualRect(d->DgSearch->currentIndex());
        QTest::mousePress(d->DgSearch->viewport(), Qt::RightButton, mods, r.center());
        QTest::mouseRelease(d->DgSearch->viewport(), Qt::RightButton, mods, r.center());
    }

private slots:
    void initTestCase() { QLX_REQUIRE_ENGINE(); }
    void init()
    {
        env = std::make_unique<TestEnv>();
        s = std::make_unique<TestSession>();
        s->cfg->IsThai = true;
        TFrSearch::resetSortState();
    }
    void cleanup()
    {
        d.reset();
        s.reset();
        env.reset();
    }

    void enterSearchesThenChooses_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("downs");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("all, first") << QString() << 6 << 0 << QStringLiteral("C0001");
        QTest::newRow("prefix, third") << QStringLiteral("c000") << 6 << 2 << QStringLiteral("C0003");
        QTest::newRow("one match") << QStringLiteral("C0005") << 1 << 0 << QStringLiteral("C0005");
    }
    void enterSearchesThenChooses()
    {
        QFETCH(QString, typed);
        QFETCH(int, rows);
        QFETCH(int, downs);
        QFETCH(QString, chosen);
        open(new CodeSearch({QStringLiteral("Select Id, Code, Name From Customer"), QStringLiteral("Where 1 = 1"), QStringLiteral("Order By Code")}));
        QVERIFY(d->Code->text().isEmpty());
        d->Code->clear();
        QTest::keyClicks(d->Code, typed);
        QCOMPARE(d->Code->text(), typed.toUpper());
        QTest::keyClick(d->Code, Qt::Key_Return);
        QCOMPARE(d->result()->rowCount(), rows);
        QCOMPARE(QApplication::focusWidget(), d->DgSearch);
        for (int i = 0; i < downs; ++i)
            QTest::keyClick(d->DgSearch, Qt::Key_Down);
        QTest::keyClick(d->DgSearch, Qt::Key_Return);
        QCOMPARE(d->QDialog::result(), int(QDialog::Accepted));
        QVERIFY(!d->isVisible());
        QCOMPARE(d->ReturnValue, chosen);
    }

    void chooseByDoubleClickAndDownArrow()
    {
        open(new CodeSearch(customers()));
        search(QString());
        d->Code->setFocus();
        QTest::keyClick(d->Code, Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), d->DgSearch);
        const QRect r = d->DgSearch->visualRect(d->result()->index(1, 1));
        QTest::mouseClick(d->DgSearch->viewport(), Qt::LeftButton, {}, r.center());
        QTest::mouseDClick(d->DgSearch->viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(d->QDialog::result(), int(QDialog::Accepted));
        QCOMPARE(d->ReturnValue, QStringLiteral("C0002"));
    }

    void cancelReturnsNothing_data()
    {
        QTest::addColumn<bool>("onGrid");
        QTest::addColumn<bool>("button");
        QTest::newRow("escape in the filter box") << false << false;
        QTest::newRow("escape on the grid") << true << false;
        QTest::newRow("cancel button") << true << true;
    }
    void cancelReturnsNothing()
    {
        QFETCH(bool, onGrid);
        QFETCH(bool, button);
        open(new CodeSearch(customers()));
        search(QStringLiteral("C"));
        QVERIFY(d->result()->rowCount() > 0);
        QWidget *target = onGrid ? static_cast<QWidget *>(d->DgSearch) : d->Code;
        target->setFocus();
        if (button)
            QTest::mouseClick(d->BtCancel, Qt::LeftButton);
        else
            QTest::keyClick(target, Qt::Key_Escape);
        QCOMPARE(d->QDialog::result(), int(QDialog::Rejected));
        QVERIFY(d->ReturnValue.isEmpty());
        QVERIFY(!d->isVisible());
    }

    void emptyResultNeverReturns_data()
    {
        QTest::addColumn<int>("how"); // 0 Choose button, 1 Enter on the grid, 2 double-click
        QTest::newRow("choose") << 0;
        QTest::newRow("enter on grid") << 1;
        QTest::newRow("double-click") << 2;
    }
    void emptyResultNeverReturns()
    {
        QFETCH(int, how);
        open(new CodeSearch(customers()));
        search(QStringLiteral("NOSUCH"));
        QCOMPARE(d->result()->rowCount(), 0);
        QCOMPARE(QApplication::focusWidget(), d->Code);
        if (how == 0) {
            QTest::mouseClick(d->BtOk, Qt::LeftButton);
        } else if (how == 1) {
            d->DgSearch->setFocus();
            QTest::keyClick(d->DgSearch, Qt::Key_Return);
        } else {
            QTest::mouseDClick(d->DgSearch->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
            QVERIFY(d->isVisible());
            d->done(QDialog::Accepted);
        }
        QCOMPARE(d->QDialog::result(), int(QDialog::Rejected));
        QVERIFY(d->ReturnValue.isEmpty());
    }

    void typedTextIsBoundNotPasted()
    {
        open(new CodeSearch(customers()));
        search(QStringLiteral("C' OR '1'='1"));
        QVERIFY(s->dialogs->entries.isEmpty());
        QCOMPARE(d->result()->rowCount(), 0);
        QVERIFY(!d->composedSql().contains(QStringLiteral("'1'")));
    }

    void cancelledRowIsRefused_data()
    {
        QTest::addColumn<bool>("remarkColumn");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("cancelled, with remark") << true << QStringLiteral("D2")
                                                << QStringList{QStringLiteral("เอกสารถูกยกเลิกแล้ว"), QStringLiteral("สาเหตุยกเลิก : ลูกค้าขอยกเลิก")};
        QTest::newRow("cancelled, no remark column") << false << QStringLiteral("D2") << QStringList{QStringLiteral("เอกสารถูกยกเลิกแล้ว")};
        QTest::newRow("not cancelled") << true << QStringLiteral("D1") << QStringList();
        QTest::newRow("empty flag") << false << QStringLiteral("D3") << QStringList();
    }
    void cancelledRowIsRefused()
    {
        QFETCH(bool, remarkColumn);
        QFETCH(QString, code);
        QFETCH(QStringList, messages);
        db().exec(QStringLiteral("CREATE TABLE LkDoc (Id INTEGER, Code VARCHAR(10), DelFlag CHAR(1), DelRemark VARCHAR(100))"));
        db().exec(QStringLiteral("INSERT INTO LkDoc VALUES (1, 'D1', 'N', NULL), (2, 'D2', 'Y', 'ลูกค้าขอยกเลิก'), (3, 'D3', NULL, NULL)"));
        open(new CodeSearch({QStringLiteral("Select Id, Code, DelFlag") + (remarkColumn ? QStringLiteral(", DelRemark") : QString())
                                 + QStringLiteral(" From LkDoc"),
                             QStringLiteral("Where 1 = 1"), QStringLiteral("Order By Code")}));
        search(code);
        QCOMPARE(d->result()->rowCount(), 1);
        QTest::keyClick(d->DgSearch, Qt::Key_Return);
        QCOMPARE(s->dialogs->texts(), messages);
        if (messages.isEmpty()) {
            QCOMPARE(d->ReturnValue, code);
            QVERIFY(!d->isVisible());
        } else {
            QVERIFY(d->ReturnValue.isEmpty());
            QVERIFY(d->isVisible());
        }
    }

    void titleClicksSort_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("orderLine");
        QTest::addColumn<QString>("first");
        QTest::newRow("once") << QStringList{QStringLiteral("Name")} << QStringLiteral("Order By 3") << QStringLiteral("C0004");
        QTest::newRow("twice") << QStringList{QStringLiteral("Name"), QStringLiteral("Name")} << QStringLiteral("Order By 3 Desc")
                               << QStringLiteral("C0002");
        QTest::newRow("three times") << QStringList{QStringLiteral("Name"), QStringLiteral("Name"), QStringLiteral("Name")}
                                     << QStringLiteral("Order By 3") << QStringLiteral("C0004");
        QTest::newRow("another title restarts") << QStringList{QStringLiteral("Name"), QStringLiteral("Code")} << QStringLiteral("Order By 2")
                                                << QStringLiteral("C0001");
        QTest::newRow("back to the first restarts") << QStringList{QStringLiteral("Code"), QStringLiteral("Name"), QStringLiteral("Name"), QStringLiteral("Code")}
                                                    << QStringLiteral("Order By 2") << QStringLiteral("C0001");
        QTest::newRow("remark never") << QStringList{QStringLiteral("Code"), QStringLiteral("Code"), QStringLiteral("Remark")}
                                      << QStringLiteral("Order By 2 Desc") << QStringLiteral("C0006");
    }
    void titleClicksSort()
    {
        QFETCH(QStringList, clicks);
        QFETCH(QString, orderLine);
        QFETCH(QString, first);
        db().exec(QStringLiteral("ALTER TABLE Customer ADD Remark VARCHAR(50)"));
        open(new CodeSearch({QStringLiteral("Select Id, Code, Name, Remark From Customer"), QStringLiteral("Where Code Like 'C%'"),
                             QStringLiteral("Order By Code")}));
        search(QString());
        for (const QString &c : clicks)
            clickTitle(c);
        QCOMPARE(d->SQL.last(), orderLine);
        QCOMPARE(cell(0, QStringLiteral("Code")), first);
    }

    void sortStateIsSharedByAllLookups()
    {
        open(new CodeSearch(customers()));
        search(QString());
        clickTitle(QStringLiteral("Name"));
        QCOMPARE(TFrSearch::sortColumn().toUpper(), QStringLiteral("NAME"));
        QVERIFY(!TFrSearch::sortDescending());
        // A second look-up continues where the first left off.
        open(new CodeSearch(customers()));
        search(QString());
        clickTitle(QStringLiteral("Name"));
        QVERIFY(TFrSearch::sortDescending());
        QCOMPARE(d->SQL.last(), QStringLiteral("Order By 3 Desc"));
    }

    void rowColours_data()
    {
        QTest::addColumn<QString>("columns");
        QTest::addColumn<QStringList>("colours"); // per row, in Id order
        // Rows: 1 DelFlag Y + Clear Y; 2 Clear Y; 3 Active N; 4 nothing set.
        QTest::newRow("delflag first") << QStringLiteral("DelFlag, Clear, Active")
                                       << QStringList{QStringLiteral("red"), QString(), QString(), QString()};
        QTest::newRow("clear without delflag") << QStringLiteral("Clear, Active")
                                               << QStringList{QStringLiteral("blue"), QStringLiteral("blue"), QString(), QString()};
        QTest::newRow("active alone") << QStringLiteral("Active")
                                      << QStringList{QString(), QStringLiteral("red"), QStringLiteral("red"), QString()};
        QTest::newRow("no flag columns") << QStringLiteral("Code") << QStringList{QString(), QString(), QString(), QString()};
    }
    void rowColours()
    {
        QFETCH(QString, columns);
        QFETCH(QStringList, colours);
        db().exec(QStringLiteral("CREATE TABLE LkFlag (Id INTEGER, Code VARCHAR(10), DelFlag CHAR(1), Clear CHAR(1), Active CHAR(1))"));
        db().exec(QStringLiteral("INSERT INTO LkFlag VALUES (1, 'A', 'Y', 'Y', 'Y'), (2, 'B', 'N', 'Y', 'N'), (3, 'C', 'N', 'N', 'N'), (4, 'D', 'N', 'N', 'Y')"));
        open(new CodeSearch({QStringLiteral("Select Id, Code, ") + columns + QStringLiteral(" From LkFlag"), QStringLiteral("Where 1 = 1"),
                             QStringLiteral("Order By Id")}));
        search(QString());
        QCOMPARE(d->result()->rowCount(), 4);
        for (int r = 0; r < 4; ++r) {
            const QVariant bg = d->result()->data(d->result()->index(r, 1), Qt::BackgroundRole);
            const QString name = !bg.isValid() ? QString()
                : bg.value<QColor>() == QColor(Qt::red) ? QStringLiteral("red")
                : bg.value<QColor>() == QColor(Qt::blue) ? QStringLiteral("blue") : QStringLiteral("other");
            QCOMPARE(name, colours.at(r));
        }
    }

    void purge_data()
    {
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("zeroIds");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<int>("questions");
        QTest::addColumn<bool>("removed");
        const int sc = int(Qt::ShiftModifier | Qt::ControlModifier);
        QTest::newRow("shift+ctrl, cancelled, yes yes") << sc << QStringLiteral("IV2") << false << QList<bool>{true, true} << 2 << true;
        QTest::newRow("second answer no") << sc << QStringLiteral("IV2") << false << QList<bool>{true, false} << 2 << false;
        QTest::newRow("first answer no") << sc << QStringLiteral("IV2") << false << QList<bool>{false} << 1 << false;
        QTest::newRow("shift only") << int(Qt::ShiftModifier) << QStringLiteral("IV2") << false << QList<bool>{} << 0 << false;
        QTest::newRow("ctrl only") << int(Qt::ControlModifier) << QStringLiteral("IV2") << false << QList<bool>{} << 0 << false;
        QTest::newRow("with alt") << int(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier) << QStringLiteral("IV2") << false
                                  << QList<bool>{} << 0 << false;
        QTest::newRow("not cancelled") << sc << QStringLiteral("IV1") << false << QList<bool>{} << 0 << false;
        QTest::newRow("id 0") << sc << QStringLiteral("IV2") << true << QList<bool>{} << 0 << false;
    }
    void purge()
    {
        QFETCH(int, modifiers);
        QFETCH(QString, code);
        QFETCH(bool, zeroIds);
        QFETCH(QList<bool>, answers);
        QFETCH(int, questions);
        QFETCH(bool, removed);
        // The demo's invoice header table is replaced by a bare one for this case.
        db().exec(QStringLiteral("DROP TABLE IF EXISTS IVHD"));
        db().exec(QStringLiteral("CREATE TABLE IVHD (Id INTEGER, Code VARCHAR(10), Delflag CHAR(1))"));
        db().exec(QStringLiteral("CREATE TABLE IvShip (Id INTEGER, IvHd INTEGER, Qty INTEGER)"));
        db().exec(QStringLiteral("INSERT INTO IVHD VALUES (1, 'IV1', 'N'), (2, 'IV2', 'Y')"));
        db().exec(QStringLiteral("INSERT INTO IvShip VALUES (1, 1, 5), (2, 2, 6), (3, 2, 7)"));
        open(new CodeSearch({zeroIds ? QStringLiteral("Select 0 As Id, Code, Delflag From IVHD") : QStringLiteral("Select Id, Code, Delflag From IVHD"),
                             QStringLiteral("Where 1 = 1"), QStringLiteral("Order By Code")}));
        d->DocTableName = QStringLiteral(" ivhd ");
        search(code);
        QCOMPARE(d->result()->rowCount(), 1);
        s->dialogs->answers = answers;
        rightPress(Qt::KeyboardModifiers(modifiers));
        QCOMPARE(s->dialogs->entries.size(), questions);
        if (questions > 0) {
            QCOMPARE(s->dialogs->entries.at(0).text, QStringLiteral("Confirm Delete #1/2 ?"));
            QCOMPARE(s->dialogs->entries.at(0).background, QColor(0, 0, 255));
        }
        if (questions > 1)
            QCOMPARE(s->dialogs->entries.at(1).text, QStringLiteral("Confirm Delete #2/2 ?"));
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM IVHD WHERE Id = 2")).toInt(), removed ? 0 : 1);
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM IvShip WHERE IvHd = 2")).toInt(), removed ? 0 : 2);
        // Other documents and their lines are untouched.
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM IvShip WHERE IvHd = 1")).toInt(), 1);
        if (removed)
            QCOMPARE(d->result()->rowCount(), 0); // searched again
    }

    void failedPurgeKeepsTheLines()
    {
        // The demo's invoice header table is replaced by a bare one for this case.
        db().exec(QStringLiteral("DROP TABLE IF EXISTS IVHD"));
        db().exec(QStringLiteral("CREATE TABLE IVHD (Id INTEGER, Code VARCHAR(10), Delflag CHAR(1))"));
        db().exec(QStringLiteral("CREATE TABLE IvShip (Id INTEGER, IvHd INTEGER, Qty INTEGER)"));
        db().exec(QStringLiteral("INSERT INTO IVHD VALUES (2, 'IV2', 'Y')"));
        db().exec(QStringLiteral("INSERT INTO IvShip VALUES (2, 2, 6), (3, 2, 7)"));
        // The header cannot be deleted: the lines deleted before it must come back.
        if (TestEnv::wantsPostgres()) {
            db().exec(QStringLiteral("CREATE FUNCTION ivhd_locked() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION 'document is locked'; END $$ LANGUAGE plpgsql"));
            db().exec(QStringLiteral("CREATE TRIGGER ivhd_keep BEFORE DELETE ON IVHD FOR EACH ROW EXECUTE FUNCTION ivhd_locked()"));
        } else {
            db().exec(QStringLiteral("CREATE TRIGGER ivhd_keep BEFORE DELETE ON IVHD BEGIN SELECT RAISE(ABORT, 'document is locked'); END"));
        }
        open(new CodeSearch({QStringLiteral("Select Id, Code, Delflag From IVHD"), QStringLiteral("Where 1 = 1"), QStringLiteral("Order By Code")}));
        d->DocTableName = QStringLiteral("IVHD");
        search(QString());
        rightPress(Qt::ShiftModifier | Qt::ControlModifier);
        QVERIFY(s->dialogs->contains(QStringLiteral("document is locked")));
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM IvShip WHERE IvHd = 2")).toInt(), 2);
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM IVHD")).toInt(), 1);
        QVERIFY(!db().inTransaction());
    }

    void largeResultIsReadInPages()
    {
        // Generated customers of the demo builder belong to the first company.
        s.reset();
        env.reset();
        DemoBuilder::Options o;
        o.customers = 2500;
        env = std::make_unique<TestEnv>(true, o);
        s = std::make_unique<TestSession>();
        open(new CodeSearch({QStringLiteral("Select Id, Code From Customer"), QStringLiteral("Where 1 = 1"), QStringLiteral("Order By Id")}));
        search(QString());
        PagedQueryModel *m = d->result();
        QCOMPARE(m->rowCount(), 2506);
        QVERIFY(m->pagesRead() <= 2);
        // Walking the whole result keeps only a few pages.
        for (int r = 0; r < 2506; r += 97)
            QCOMPARE(m->value(r, 0).toInt(), r + 1);
        QCOMPARE(m->value(2505, QStringLiteral("code")).toString(), QStringLiteral("K0002500"));
        QVERIFY(m->pagesHeld() <= PagedQueryModel::KeptPages);
        QVERIFY(m->pagesRead() >= 2506 / PagedQueryModel::PageSize);
        QTest::keyClick(d->DgSearch, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(d->DgSearch, Qt::Key_Return);
        QCOMPARE(d->ReturnValue, QStringLiteral("K0002500"));
    }

    void datesShowTheShortFormat_data()
    {
        QTest::addColumn<QString>("select");
        QTest::addColumn<QStringList>("flagged");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("shown");
        const QString y = QString::number(QDate::currentDate().year());
        QTest::newRow("date column of a table") << QStringLiteral("InputDate") << QStringList{} << QStringLiteral("dd/mm/yyyy")
                                                << QStringLiteral("10/01/") + y;
        QTest::newRow("the process's format") << QStringLiteral("InputDate") << QStringList{} << QStringLiteral("mm/dd/yyyy")
                                              << QStringLiteral("01/10/") + y;
        QTest::newRow("computed column flagged by the look-up") << QStringLiteral("Coalesce(InputDate, EndDate) LastInput") << QStringList{QStringLiteral("LastInput")}
                                                                << QStringLiteral("dd/mm/yyyy") << QStringLiteral("10/01/") + y;
        QTest::newRow("date and time") << QStringLiteral("CloseDate") << QStringList{} << QStringLiteral("dd/mm/yyyy")
                                       << QStringLiteral("01/03/2026 14:30:05");
        QTest::newRow("no date") << QStringLiteral("EndDate") << QStringList{} << QStringLiteral("dd/mm/yyyy") << QString();
    }
    void datesShowTheShortFormat()
    {
        QFETCH(QString, select);
        QFETCH(QStringList, flagged);
        QFETCH(QString, format);
        QFETCH(QString, shown);
        db().exec(QStringLiteral("UPDATE Project SET CloseDate = :at WHERE Code = 'PJ0001'"),
                  {{QStringLiteral("at"), QDateTime(QDate(2026, 3, 1), QTime(14, 30, 5))}});
        const QString before = shortDateFormat();
        setShortDateFormat(format);
        auto *lk = new CodeSearch({QStringLiteral("Select Code, ") + select + QStringLiteral(" From Project"), QStringLiteral("Where 1 = 1"),
                                   QStringLiteral("Order By Code")});
        lk->result()->setDateColumns(flagged);
        open(lk);
        search(QStringLiteral("PJ0001"));
        const QString got = d->DgSearch->model()->index(0, 1).data().toString();
        setShortDateFormat(before);
        QCOMPARE(d->result()->rowCount(), 1);
        QCOMPARE(got, shown);
    }

    void englishCaptions_data()
    {
        QTest::addColumn<bool>("thai");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<bool>("hint");
        QTest::newRow("thai") << true << QStringList{QStringLiteral("ค้นหา"), QStringLiteral("เลือก"), QStringLiteral("ไม่เลือก")} << true;
        QTest::newRow("english") << false << QStringList{QStringLiteral("Search"), QStringLiteral("Choose"), QStringLiteral("Cancel")} << false;
    }
    void englishCaptions()
    {
        QFETCH(bool, thai);
        QFETCH(QStringList, captions);
        QFETCH(bool, hint);
        s->cfg->IsThai = thai;
        open(new CodeSearch(customers()));
        QCOMPARE((QStringList{d->BtSearch->text(), d->BtOk->text(), d->BtCancel->text()}), captions);
        QCOMPARE(!d->DgSearch->toolTip().isEmpty(), hint);
        QCOMPARE(d->windowTitle(), QStringLiteral("ค้นหา"));
        if (!thai) {
            QCOMPARE(d->BtOk->font().pointSize(), 8);
            // The cancellation message follows the language too.
            db().exec(QStringLiteral("UPDATE Customer SET DelFlag = 'Y' WHERE Code = 'C0001'"));
            d->SQL = {QStringLiteral("Select Id, Code, DelFlag From Customer"), QStringLiteral("Where 1 = 1"), QStringLiteral("Order By Code")};
            search(QStringLiteral("C0001"));
            QTest::keyClick(d->DgSearch, Qt::Key_Return);
            QCOMPARE(s->dialogs->texts(), QStringList{QStringLiteral("Document Was Deleted")});
        }
    }

    void miscLookups_data()
    {
        QTest::addColumn<bool>("byCodeToo");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("description") << false << QStringLiteral("ผลิต") << QStringList{QStringLiteral("D02")};
        QTest::newRow("description, everything") << false << QString()
                                                 << QStringList{QStringLiteral("D02"), QStringLiteral("D03"), QStringLiteral("D01"), QStringLiteral("D04")};
        QTest::newRow("code not matched by description") << false << QStringLiteral("D03") << QStringList{};
        QTest::newRow("by code too") << true << QStringLiteral("D03") << QStringList{QStringLiteral("D03")};
        QTest::newRow("by code too, description") << true << QStringLiteral("บัญชี") << QStringList{QStringLiteral("D03")};
    }
    void miscLookups()
    {
        QFETCH(bool, byCodeToo);
        QFETCH(QString, typed);
        QFETCH(QStringList, codes);
        std::unique_ptr<TFrSearch> dlg;
        if (byCodeToo) {
            auto *m = new TF_SearchMisc;
            m->GroupCode = QStringLiteral("DEPARTMENT");
            dlg.reset(m);
        } else {
            auto *m = new TFrSearchMisc;
            m->GroupCode = QStringLiteral("DEPARTMENT");
            dlg.reset(m);
        }
        dlg->show();
        QVERIFY(QTest::qWaitForWindowActive(dlg.get()));
        // Both search as soon as they are shown.
        QCOMPARE(dlg->result()->rowCount(), 4);
        dlg->Code->setFocus();
        dlg->Code->setText(typed);
        QTest::keyClick(dlg->Code, Qt::Key_Return);
        QStringList got;
        for (int r = 0; r < dlg->result()->rowCount(); ++r)
            got << dbText(dlg->result()->value(r, QStringLiteral("Code")));
        // The order of Thai descriptions is the server's collation; the set is what counts.
        std::sort(got.begin(), got.end());
        std::sort(codes.begin(), codes.end());
        QCOMPARE(got, codes);
        if (!codes.isEmpty()) {
            const QString current = dbText(dlg->currentValue(QStringLiteral("Code")));
            QTest::keyClick(dlg->DgSearch, Qt::Key_Return);
            QCOMPARE(dlg->ReturnValue, current);
            QVERIFY(codes.contains(current));
            if (byCodeToo)
                QVERIFY(!static_cast<TF_SearchMisc *>(dlg.get())->ReturnDescription.isEmpty());
        }
    }
};

QTEST_MAIN(TstSearch)
#include "tst_search.moc"
