#include "SmtpSink.h"
#include "TestEnv.h"
#include "app/QlxApplication.h"
#include "core/Workstation.h"
#include "lookup/TFrShowError.h"
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

namespace {

enum class Fault { Duplicate, NullColumn, Reference, LostConnection, TimeOut };

// Columns named as the explanations expect, every one required.
TableDef checkTable()
{
    TableDef t{QStringLiteral("ErrCheck"), DbRole::Company, {}, {}};
    t.columns.push_back({QStringLiteral("Id"), ColType::IdNo});
    for (const char *n : {"Transportation", "Price", "Warehouse", "Customer", "Vendor", "Fraction", "Salesman"})
        t.columns.push_back({QLatin1String(n), ColType::Integer, 0, 0, true});
    return t;
}

// A settings copy for one connection (the engine's limits are read when it is made).
std::unique_ptr<Connection> connectionWith(const DbSettings &changed, const QString &database)
{
    const DbSettings keep = DbSettings::current();
    DbSettings::setCurrent(changed);
    auto c = std::make_unique<Connection>(QStringLiteral("fault"));
    c->setDatabaseName(database);
    DbSettings::setCurrent(keep);
    return c;
}

} // namespace

class TstErrors : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TestSession> s;
    QStringList shown; // texts the error dialog was opened with

    std::unique_ptr<Connection> config() { return env->connect(DemoBuilder::configDb); }
    int errorLogCount() { return config()->scalar(QStringLiteral("SELECT COUNT(*) FROM ErrorLog")).toInt(); }

    // Makes the engine itself fail in the given way and returns its (normalised) message.
    QString provoke(Fault fault, const QString &column)
    {
        auto c = env->connect(DemoBuilder::demoCompany);
        const bool pg = c->engine() == EngineKind::Postgres;
        try {
            switch (fault) {
            case Fault::Duplicate:
                c->exec(QStringLiteral("INSERT INTO Warehouse (Code, Name) VALUES ('WH01', 'คลังซ้ำ')"));
                break;
            case Fault::NullColumn: {
                for (const auto &ddl : c->dialect().createTableDdl(checkTable()))
                    c->exec(ddl);
                QStringList cols, values;
                for (const auto &col : checkTable().columns)
                    if (col.type != ColType::IdNo && col.name != column) {
                        cols << col.name;
                        values << QStringLiteral("1");
                    }
                c->exec(QStringLiteral("INSERT INTO ErrCheck (%1) VALUES (%2)").arg(cols.join(QLatin1Char(',')), values.join(QLatin1Char(','))));
                break;
            }
            case Fault::Reference:
                if (!pg)
                    c->exec(QStringLiteral("PRAGMA foreign_keys = ON"));
                c->exec(QStringLiteral("CREATE TABLE ErrParent (Id INTEGER PRIMARY KEY)"));
                c->exec(QStringLiteral("CREATE TABLE ErrChild (Id INTEGER PRIMARY KEY, Parent INTEGER REFERENCES ErrParent (Id))"));
                c->exec(QStringLiteral("INSERT INTO ErrParent (Id) VALUES (1)"));
                c->exec(QStringLiteral("INSERT INTO ErrChild (Id, Parent) VALUES (1, 1)"));
                c->exec(QStringLiteral("DELETE FROM ErrParent WHERE Id = 1"));
                break;
            case Fault::LostConnection:
                if (pg) {
                    // The server drops this workstation's session under it.
                    const QVariant pid = c->scalar(QStringLiteral("SELECT pg_backend_pid()"));
                    auto other = env->connect(DemoBuilder::demoCompany);
                    other->exec(QStringLiteral("SELECT pg_terminate_backend(:p)"), {{QStringLiteral("p"), pid}});
                    QTest::qWait(200);
                    c->exec(QStringLiteral("SELECT COUNT(*) FROM Warehouse"));
                } else {
                    // The database file is gone from the shared folder.
                    auto gone = env->connect(QStringLiteral("DEMO_MOVED"));
                    gone->exec(QStringLiteral("SELECT 1"));
                }
                break;
            case Fault::TimeOut: {
                DbSettings quick = DbSettings::current();
                quick.statementTimeoutSeconds = 1;
                auto slow = connectionWith(quick, DemoBuilder::demoCompany);
                if (pg) {
                    slow->exec(QStringLiteral("SELECT pg_sleep(5)"));
                } else {
                    // Another workstation holds the write lock longer than we wait.
                    c->startTransaction();
                    c->exec(QStringLiteral("INSERT INTO Warehouse (Code, Name) VALUES ('WH90', 'ล็อก')"));
                    slow->exec(QStringLiteral("INSERT INTO Warehouse (Code, Name) VALUES ('WH91', 'รอ')"));
                }
                break;
            }
            }
        } catch (const DbError &e) {
            if (c->inTransaction())
                c->rollback();
            return e.message();
        }
        return {};
    }

    // A window whose button runs a save that fails, as a module's would.
    struct FailingWindow
    {
        QWidget window;
        QLineEdit *edit = new QLineEdit(&window);
        QPushButton *button = new QPushButton(QStringLiteral("บันทึก"), &window);
        int finished = 0;
        explicit FailingWindow(const std::function<void()> &save)
        {
            auto *lay = new QVBoxLayout(&window);
            lay->addWidget(edit);
            lay->addWidget(button);
            QObject::connect(button, &QPushButton::clicked, [this, save] {
                save();
                ++finished; // never reached when the save throws
            });
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
        }
    };

    // Clicks, answering the error dialog with "Don't Send" and recording its text.
    void clickThroughDialog(QPushButton *button)
    {
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [this] {
            if (auto *d = qobject_cast<TFrShowError *>(QApplication::activeModalWidget())) {
                shown << d->ErrorText();
                QTest::mouseClick(d->BDontSend, Qt::LeftButton);
            }
        });
        poll.start();
        QTest::mouseClick(button, Qt::LeftButton);
    }

private slots:
    void initTestCase() { QLX_REQUIRE_ENGINE(); }
    void init()
    {
        env = std::make_unique<TestEnv>();
        s = std::make_unique<TestSession>();
        shown.clear();
        s->dm->showErrorDialog = [this](const QString &text) { shown << text; };
    }
    void cleanup()
    {
        s.reset();
        env.reset();
    }

    void explanationOfEngineErrors_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("explanation");
        auto row = [](const char *name, Fault f, const char *column, const char *explanation) {
            QTest::newRow(name) << int(f) << QString::fromUtf8(column) << QString::fromUtf8(explanation);
        };
        row("duplicate", Fault::Duplicate, "", "ข้อมูลที่เพิ่มซ้ำกับข้อมูลที่มีอยู่แล้ว");
        row("null transportation", Fault::NullColumn, "Transportation", "ไม่ได้ป้อนข้อมูลการขนส่ง");
        row("null price", Fault::NullColumn, "Price", "กำหนดราคาไม่ครบถ้วน");
        row("null warehouse", Fault::NullColumn, "Warehouse", "ไม่ได้ป้อนข้อมูลคลัง");
        row("null customer", Fault::NullColumn, "Customer", "ไม่ได้ป้อนข้อมูลลูกค้า");
        row("null vendor", Fault::NullColumn, "Vendor", "ไม่ได้ป้อนข้อมูลเจ้าหนี้");
        row("null fraction", Fault::NullColumn, "Fraction", "ไม่ได้ป้อนข้อมูลหน่วย หรือ ข้อมูลหน่วยผิดพลาด");
        row("null salesman", Fault::NullColumn, "Salesman", "ไม่ได้ป้อนข้อมูลพนักงานขาย");
        row("referenced row deleted", Fault::Reference, "", "ข้อมูลที่ลบถูกอ้างโดยข้อมูลอื่น ไม่สามารถลบข้อมูลนี้ได้");
        row("lost connection", Fault::LostConnection, "", "ระบบเครือข่าย หรือ คอมพิวเตอร์แม่ข่ายมีปัญหา ติดต่อเครื่องแม่ข่ายไม่ได้");
        row("time-out", Fault::TimeOut, "", "เครื่องแม่ข่ายตัดการติดต่อ เพราะเครื่องนี้อาจเรียกข้อมูลปริมาณมากเกินไป");
    }
    void explanationOfEngineErrors()
    {
        QFETCH(int, fault);
        QFETCH(QString, column);
        QFETCH(QString, explanation);
        const QString message = provoke(Fault(fault), column);
        QVERIFY2(!message.isEmpty(), "the engine accepted the statement");
        s->dm->ApplicationEvents1Exception(message);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first(), explanation + QLatin1Char('\r') + message.toUpper() + QLatin1Char('\r'));
        QCOMPARE(config()->scalar(QStringLiteral("SELECT ErrorMsg FROM ErrorLog")).toString(), message);
    }

    void explanationOfTexts_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("explanation");
        QTest::newRow("date, any case") << QStringLiteral("'31/02/2026' IS Not A Valid Date") << QStringLiteral("ป้อนวันที่ไม่ถูกต้อง");
        QTest::newRow("date inside a longer text") << QStringLiteral("ช่อง วันที่: 'x' is not a valid date.") << QStringLiteral("ป้อนวันที่ไม่ถูกต้อง");
        QTest::newRow("printer") << QStringLiteral("printer selected is NOT valid") << QStringLiteral("ยังไม่ได้กำหนดเครื่องพิมพ์ หรือ เครื่องพิมพ์มีปัญหา");
        QTest::newRow("memory") << QStringLiteral("Insufficient memory for this operation") << QStringLiteral("Memory หน่วยความจำของเครื่องไม่เพียงพอ");
        QTest::newRow("network, lower case") << QStringLiteral("[dbnetlib] possible network error") << QStringLiteral("ระบบเครือข่าย หรือ คอมพิวเตอร์แม่ข่ายมีปัญหา ติดต่อเครื่องแม่ข่ายไม่ได้");
        QTest::newRow("time-out, lower case") << QStringLiteral("sql server connection timed out") << QStringLiteral("เครื่องแม่ข่ายตัดการติดต่อ เพราะเครื่องนี้อาจเรียกข้อมูลปริมาณมากเกินไป");
        QTest::newRow("null column, lower case") << QStringLiteral("cannot insert the value null into column 'customer', table 'SoHd'") << QStringLiteral("ไม่ได้ป้อนข้อมูลลูกค้า");
        QTest::newRow("only the whole column name") << QStringLiteral("Cannot insert the value NULL into column 'PriceLevel', table 'X'") << QString();
        QTest::newRow("earlier row wins: date before duplicate") << QStringLiteral("Cannot insert duplicate key; 'x' is not a valid date") << QStringLiteral("ป้อนวันที่ไม่ถูกต้อง");
        QTest::newRow("earlier row wins: network before duplicate") << QStringLiteral("Cannot insert duplicate key. Possible network error") << QStringLiteral("ระบบเครือข่าย หรือ คอมพิวเตอร์แม่ข่ายมีปัญหา ติดต่อเครื่องแม่ข่ายไม่ได้");
        QTest::newRow("nothing known") << QStringLiteral("Access violation at address 0040A1B2") << QString();
        QTest::newRow("empty") << QString() << QString();
    }
    void explanationOfTexts()
    {
        QFETCH(QString, message);
        QFETCH(QString, explanation);
        s->dm->ApplicationEvents1Exception(message);
        QCOMPARE(shown, QStringList{explanation + QLatin1Char('\r') + message.toUpper() + QLatin1Char('\r')});
    }

    void withoutTheDialog()
    {
        // No dialog installed (scripted runs): the text is shown as an error message.
        s->dm->showErrorDialog = nullptr;
        s->dm->ApplicationEvents1Exception(QStringLiteral("Insufficient memory"));
        QCOMPARE(s->dialogs->entries.size(), 1);
        QCOMPARE(s->dialogs->entries.first().kind, QStringLiteral("error"));
        QCOMPARE(s->dialogs->entries.first().text, QStringLiteral("Memory หน่วยความจำของเครื่องไม่เพียงพอ\rINSUFFICIENT MEMORY\r"));
        // An error raised while the dialog is up does not open a second dialog.
        s->dialogs->entries.clear();
        s->dm->showErrorDialog = [this](const QString &text) {
            shown << text;
            s->dm->ApplicationEvents1Exception(QStringLiteral("second"));
        };
        s->dm->ApplicationEvents1Exception(QStringLiteral("first"));
        QCOMPARE(shown, QStringList{QStringLiteral("\rFIRST\r")});
        QCOMPARE(s->dialogs->texts(), QStringList{QStringLiteral("\rSECOND\r")});
        QCOMPARE(errorLogCount(), 3);
    }

    void logErrorWritesEveryField()
    {
        s->cfg->UserId = 3;
        s->cfg->MenuId = 17;
        const QString message = QStringLiteral("Cannot insert duplicate key row in object 'Customer' รหัส ลค001");
        s->cfg->LogError(message);
        auto c = config();
        auto q = c->exec(QStringLiteral("SELECT CompName, LogName, UserId, MenuId, ErrorMsg, LogDate FROM ErrorLog"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), GetComputerNameText());
        QCOMPARE(q.value(1).toString(), GetWindowsUserName());
        QCOMPARE(q.value(1).toString(), q.value(1).toString().toUpper());
        QCOMPARE(q.value(2).toInt(), 3);
        QCOMPARE(q.value(3).toInt(), 17);
        QCOMPARE(q.value(4).toString(), message); // unchanged, not upper-cased
        QVERIFY(!q.value(5).isNull());
        QVERIFY(!q.next());
    }

    void errorFromAButtonReachesTheDialog_data()
    {
        QTest::addColumn<int>("kind"); // 0 database error, 1 std::exception, 2 anything else
        QTest::addColumn<QString>("expectedStart");
        QTest::newRow("database error") << 0 << QStringLiteral("ข้อมูลที่เพิ่มซ้ำกับข้อมูลที่มีอยู่แล้ว\rCANNOT INSERT DUPLICATE");
        QTest::newRow("std::exception") << 1 << QStringLiteral("ป้อนวันที่ไม่ถูกต้อง\r'32/01/2026' IS NOT A VALID DATE\r");
        QTest::newRow("not an exception class") << 2 << QStringLiteral("\rUNKNOWN EXCEPTION\r");
    }
    void errorFromAButtonReachesTheDialog()
    {
        QFETCH(int, kind);
        QFETCH(QString, expectedStart);
        TFrShowError::install(*s->dm);
        Connection &data = s->dm->DMDATA();
        FailingWindow w([&data, kind] {
            Transaction t(data);
            data.exec(QStringLiteral("INSERT INTO Warehouse (Code, Name) VALUES ('WH77', 'คลังใหม่')"));
            if (kind == 0)
                data.exec(QStringLiteral("INSERT INTO Warehouse (Code, Name) VALUES ('WH01', 'ซ้ำ')"));
            else if (kind == 1)
                throw std::invalid_argument("'32/01/2026' is not a valid date");
            else
                throw 42;
            t.commit();
        });
        QTest::keyClicks(w.edit, QStringLiteral("WH77 new store"));
        clickThroughDialog(w.button);

        QCOMPARE(shown.size(), 1);
        QVERIFY2(shown.first().startsWith(expectedStart), qPrintable(shown.first()));
        // Abandoned: the rest of the handler did not run and its transaction was undone.
        QCOMPARE(w.finished, 0);
        QCOMPARE(env->connect(DemoBuilder::demoCompany)->scalar(QStringLiteral("SELECT COUNT(*) FROM Warehouse WHERE Code = 'WH77'")).toInt(), 0);
        // The window is still there as the error left it, and still works.
        QVERIFY(w.window.isVisible());
        QCOMPARE(w.edit->text(), QStringLiteral("WH77 new store"));
        auto c = config();
        auto q = c->exec(QStringLiteral("SELECT CompName, LogName, UserId, MenuId, ErrorMsg FROM ErrorLog"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), GetComputerNameText());
        QCOMPARE(q.value(1).toString(), GetWindowsUserName());
        QCOMPARE(q.value(2).toInt(), s->cfg->UserId);
        QCOMPARE(q.value(3).toInt(), s->cfg->MenuId);
        QCOMPARE(q.value(4).toString().toUpper() + QLatin1Char('\r'), shown.first().mid(shown.first().indexOf(QLatin1Char('\r')) + 1));
        clickThroughDialog(w.button);
        QCOMPARE(shown.size(), 2);
        QCOMPARE(errorLogCount(), 2);
        QVERIFY(s->dialogs->entries.isEmpty());
    }

    void abandonedTransactionIsUndone_data()
    {
        QTest::addColumn<bool>("onConfig");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("insert");
        QTest::newRow("company database") << false << QStringLiteral("Warehouse")
                                          << QStringLiteral("INSERT INTO Warehouse (Code, Name) VALUES ('WH55', 'ค้าง')");
        QTest::newRow("configuration database") << true << QStringLiteral("softwareconfig")
                                                << QStringLiteral("INSERT INTO softwareconfig (SoftwareName) VALUES ('ค้าง')");
    }
    void abandonedTransactionIsUndone()
    {
        QFETCH(bool, onConfig);
        QFETCH(QString, table);
        QFETCH(QString, insert);
        Connection &c = onConfig ? s->cfg->DmCfg() : s->dm->DMDATA();
        auto other = env->connect(onConfig ? DemoBuilder::configDb : DemoBuilder::demoCompany);
        const QString count = QStringLiteral("SELECT COUNT(*) FROM ") + table;
        const int before = other->scalar(count).toInt();
        // A handler that opened its transaction by hand and never got to close it.
        FailingWindow w([&c, insert] {
            c.startTransaction();
            c.exec(insert);
            throw std::runtime_error("Insufficient memory");
        });
        clickThroughDialog(w.button);
        QCOMPARE(shown.size(), 1);
        QVERIFY(!c.inTransaction());
        QCOMPARE(other->scalar(count).toInt(), before);
        QCOMPARE(errorLogCount(), 1);
        // The next save starts afresh.
        c.startTransaction();
        c.exec(insert);
        c.commit();
        QCOMPARE(other->scalar(count).toInt(), before + 1);
        QCOMPARE(errorLogCount(), 1);
    }

    void logFailureStillShowsTheError()
    {
        // The configuration database is out of reach when the error comes.
        Engine::dropDatabase(DemoBuilder::configDb);
        Connection &data = s->dm->DMDATA();
        FailingWindow w([&data] { data.exec(QStringLiteral("INSERT INTO Warehouse (Code, Name) VALUES ('WH01', 'ซ้ำ')")); });
        clickThroughDialog(w.button);
        QCOMPARE(shown.size(), 1);
        const QString text = shown.first();
        QVERIFY2(text.startsWith(QStringLiteral("ข้อมูลที่เพิ่มซ้ำกับข้อมูลที่มีอยู่แล้ว\rCANNOT INSERT DUPLICATE")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("บันทึก Error Log ไม่ได้ : ")), qPrintable(text));
        QVERIFY(w.window.isVisible());
        QVERIFY(s->dialogs->entries.isEmpty());
    }

    void mailServerDown()
    {
        SmtpSink::writeSettings({{QStringLiteral("server"), QStringLiteral("127.0.0.1")},
                                 {QStringLiteral("port"), QString::number(SmtpSink::deadPort())},
                                 {QStringLiteral("from"), QStringLiteral("errors@qlxhost.invalid")},
                                 {QStringLiteral("to"), QStringLiteral("support@qlxhost.invalid")}});
        const int before = errorLogCount();
        TFrShowError d(QStringLiteral("\rX\r"));
        d.show();
        QTest::mouseClick(d.BSendError, Qt::LeftButton);
        QVERIFY(!d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QVERIFY(s->dialogs->entries.isEmpty());
        QCOMPARE(errorLogCount(), before);
    }
};

int main(int argc, char **argv)
{
    QlxApplication app(argc, argv);
    TstErrors tc;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&tc, argc, argv);
}
#include "tst_errors.moc"
