#include "TestEnv.h"
#include "db/ServerProcedures.h"
#include <QtTest>

class TstConfig : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TestSession> s;

    std::unique_ptr<Connection> config() { return env->connect(DemoBuilder::configDb); }
    int menuOf(const char *keyword)
    {
        return config()->scalar(QStringLiteral("SELECT Id FROM Menu WHERE MenuOption = :k"), {{QStringLiteral("k"), QLatin1String(keyword)}}).toInt();
    }

private slots:
    void initTestCase() { QLX_REQUIRE_ENGINE(); }
    void init()
    {
        env = std::make_unique<TestEnv>();
        s = std::make_unique<TestSession>();
    }
    void cleanup()
    {
        s.reset();
        env.reset();
    }

    void chooseConfigurationDatabase_data()
    {
        QTest::addColumn<QString>("hwzName");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none") << QString() << QStringLiteral("QLX_CONFIG");
        QTest::newRow("hwz exact") << QStringLiteral("QLX_Config_HWZ") << QStringLiteral("QLX_CONFIG_HWZ");
        QTest::newRow("hwz other case") << QStringLiteral("qlx_config_hwz") << QStringLiteral("QLX_CONFIG_HWZ");
    }
    void chooseConfigurationDatabase()
    {
        QFETCH(QString, hwzName);
        QFETCH(QString, expected);
        if (!hwzName.isEmpty()) {
            Engine::createDatabase(hwzName);
            auto c = env->connect(hwzName);
            DemoBuilder::createSchema(*c, DbRole::Config);
            DemoBuilder::fillConfig(*c);
            // Tell the two apart by the company name.
            c->exec(QStringLiteral("UPDATE Company SET NameThai = 'บริษัทในฐาน HWZ' WHERE Code = 'DEMO'"));
        }
        QVERIFY(s->cfg->GetCompanyConfig(QStringLiteral("DEMO")));
        QCOMPARE(s->cfg->DmCfg().databaseName(), expected);
        QCOMPARE(s->cfg->CompanyName, hwzName.isEmpty() ? QStringLiteral("บริษัท ไทยตัวอย่างการค้า จำกัด") : QStringLiteral("บริษัทในฐาน HWZ"));
    }

    void upgradeOnEveryConnect()
    {
        auto c = config();
        // A database from before the upgrade: no Version, no UserSee columns.
        c->exec(QStringLiteral("ALTER TABLE Menu DROP COLUMN Version"));
        c->exec(QStringLiteral("ALTER TABLE UserName DROP COLUMN UserSeeImport"));
        c->exec(QStringLiteral("INSERT INTO Menu (Caption, Command) VALUES ('หัวข้อเมนู', NULL)"));
        QVERIFY(s->cfg->GetCompanyConfig(QStringLiteral("DEMO")));
        const Dialect &d = c->dialect();
        QVERIFY(d.hasColumn(*c, QStringLiteral("Menu"), QStringLiteral("Version")));
        QVERIFY(d.hasColumn(*c, QStringLiteral("UserName"), QStringLiteral("UserSeeImport")));
        QVERIFY(d.hasColumn(*c, QStringLiteral("UserName"), QStringLiteral("UserSeeCost")));
        QCOMPARE(c->scalar(QStringLiteral("SELECT COUNT(*) FROM Menu WHERE Version = 3")).toInt(), 41);
        QVERIFY(c->scalar(QStringLiteral("SELECT Version FROM Menu WHERE Command IS NULL")).isNull());

        // Connecting again: only rows with a command and no version are filled.
        c->exec(QStringLiteral("UPDATE Menu SET Version = NULL WHERE Id = 2"));
        c->exec(QStringLiteral("UPDATE Menu SET Version = 7 WHERE Id = 3"));
        TestSession second;
        QVERIFY(second.cfg->GetCompanyConfig(QStringLiteral("DEMO")));
        QCOMPARE(c->scalar(QStringLiteral("SELECT Version FROM Menu WHERE Id = 2")).toInt(), 3);
        QCOMPARE(c->scalar(QStringLiteral("SELECT Version FROM Menu WHERE Id = 3")).toInt(), 7);
        QVERIFY(c->scalar(QStringLiteral("SELECT Version FROM Menu WHERE Command IS NULL")).isNull());
        QVERIFY(!second.cfg->softwareConfig().isEmpty());
    }

    void companyByName_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("code");
        QTest::newRow("upper") << QStringLiteral("DEMO") << true << QStringLiteral("DEMO");
        QTest::newRow("lower") << QStringLiteral("demo") << true << QStringLiteral("DEMO");
        QTest::newRow("second") << QStringLiteral("Demo2") << true << QStringLiteral("DEMO2");
        QTest::newRow("unknown") << QStringLiteral("nope") << false << QStringLiteral("NOPE");
    }
    void companyByName()
    {
        QFETCH(QString, argument);
        QFETCH(bool, found);
        QFETCH(QString, code);
        QCOMPARE(s->cfg->GetCompanyConfig(argument), found);
        QCOMPARE(s->cfg->CompanyCode, code);
        if (found) {
            QVERIFY(s->dialogs->entries.isEmpty());
            QVERIFY(s->cfg->CompanyName.startsWith(QStringLiteral("บริษัท")));
            QCOMPARE(s->cfg->companyRow().value(QStringLiteral("CODE")).toString(), code);
            QCOMPARE(s->cfg->companyRow().value(QStringLiteral("TaxBranchHead")).toString(), code == QLatin1String("DEMO") ? QStringLiteral("Y") : QStringLiteral("N"));
        } else {
            QCOMPARE(s->dialogs->texts(), QStringList{QStringLiteral("Not Found Database : NOPE")});
        }
    }

    void rights_data()
    {
        QTest::addColumn<int>("userId");
        QTest::addColumn<QByteArray>("keyword");
        QTest::addColumn<QString>("accessValue"); // stored Access_R, empty = as the demo has it
        QTest::addColumn<bool>("access");
        QTest::addColumn<bool>("thai");
        QTest::addColumn<bool>("canDelete");
        QTest::newRow("thai admin") << 1 << QByteArray("PROJECT") << QString() << true << true << true;
        QTest::newRow("english user") << 2 << QByteArray("PROJECT") << QString() << true << false << true;
        QTest::newRow("clerk closed entry") << 3 << QByteArray("COMMISSION") << QString() << false << true << false;
        QTest::newRow("clerk open entry") << 3 << QByteArray("PROJECT") << QString() << true << true << false;
        QTest::newRow("lower-case y") << 1 << QByteArray("PROJECT") << QStringLiteral("y") << false << true << true;
        QTest::newRow("unknown user") << 99 << QByteArray("PROJECT") << QString() << false << false << false;
    }
    void rights()
    {
        QFETCH(int, userId);
        QFETCH(QByteArray, keyword);
        QFETCH(QString, accessValue);
        QFETCH(bool, access);
        QFETCH(bool, thai);
        QFETCH(bool, canDelete);
        const int menu = menuOf(keyword.constData());
        if (!accessValue.isEmpty())
            config()->exec(QStringLiteral("UPDATE UserRight SET Access_R = :a WHERE UserId = :u AND MenuId = :m"),
                           {{QStringLiteral("a"), accessValue}, {QStringLiteral("u"), userId}, {QStringLiteral("m"), menu}});
        QVERIFY(s->cfg->GetCompanyConfig(QStringLiteral("DEMO")));
        s->cfg->CheckRight(menu, userId);
        QCOMPARE(s->cfg->CanAccess, access);
        QCOMPARE(s->cfg->IsThai, thai);
        QCOMPARE(s->cfg->CanDelete, canDelete);
        QCOMPARE(s->cfg->ConfirmSaveText, thai ? QStringLiteral("จัดเก็บข้อมูล ?") : QStringLiteral("Save Data ?"));
        QCOMPARE(s->cfg->ConfirmDeleteText, thai ? QStringLiteral("ลบข้อมูล ?") : QStringLiteral("Delete Data ?"));
        QCOMPARE(s->cfg->ConfirmExitText, thai ? QStringLiteral("ออกจากโปรแกรม ?") : QStringLiteral("Exit Program ?"));
        QCOMPARE(s->cfg->UserSeeImport, userId == 1);
        if (userId != 99)
            QVERIFY(!s->cfg->UserCode.isEmpty());
        QCOMPARE(s->cfg->MenuCaption.isEmpty(), false);
        QVERIFY(s->dialogs->entries.isEmpty());
    }

    void version_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("after");
        QTest::newRow("null gets 3") << QVariant() << true << 3;
        QTest::newRow("older raised") << QVariant(1) << true << 3;
        QTest::newRow("same") << QVariant(3) << true << 3;
        QTest::newRow("newer refused") << QVariant(4) << false << 4;
    }
    void version()
    {
        QFETCH(QVariant, stored);
        QFETCH(bool, accepted);
        QFETCH(int, after);
        const int menu = menuOf("PROJECT");
        QVERIFY(s->cfg->GetCompanyConfig(QStringLiteral("DEMO")));
        config()->exec(QStringLiteral("UPDATE Menu SET Version = :v WHERE Id = :m"), {{QStringLiteral("v"), stored}, {QStringLiteral("m"), menu}});
        s->cfg->MenuId = menu;
        QCOMPARE(s->cfg->CheckVersion(3), accepted);
        QCOMPARE(config()->scalar(QStringLiteral("SELECT Version FROM Menu WHERE Id = :m"), {{QStringLiteral("m"), menu}}).toInt(), after);
        QCOMPARE(s->dialogs->contains(QStringLiteral("กรุณา อัพเดท โปรแกรม Version ใหม่ด้วยค่ะ !!")), !accepted);
    }

    void versionRaisesEntriesOfTheSameCommand()
    {
        auto c = config();
        QVERIFY(s->cfg->GetCompanyConfig(QStringLiteral("DEMO")));
        const int menu = menuOf("PROJECT");
        // Same command but for letter case and blanks; a different one; a newer one.
        const qint64 twin = c->insertReturningId(QStringLiteral("INSERT INTO Menu (Caption, Command, Version) VALUES ('สำเนา', '  QLXHOST project  ', 1)"));
        const qint64 other = c->insertReturningId(QStringLiteral("INSERT INTO Menu (Caption, Command, Version) VALUES ('อื่น', 'qlxhost PROJECTJOB', 1)"));
        const qint64 newer = c->insertReturningId(QStringLiteral("INSERT INTO Menu (Caption, Command, Version) VALUES ('ใหม่', 'qlxhost project', 5)"));
        s->cfg->MenuId = menu;
        QVERIFY(s->cfg->CheckVersion(3));
        auto version = [&](qint64 id) { return c->scalar(QStringLiteral("SELECT Version FROM Menu WHERE Id = :i"), {{QStringLiteral("i"), id}}).toInt(); };
        QCOMPARE(version(twin), 3);
        QCOMPARE(version(other), 1);
        QCOMPARE(version(newer), 5);
        // An older build started from the twin entry is now refused as well.
        s->cfg->MenuId = int(twin);
        QVERIFY(!s->cfg->CheckVersion(2));
        QCOMPARE(version(twin), 3);
    }

    void versionAddsItsColumn()
    {
        auto c = config();
        QVERIFY(s->cfg->GetCompanyConfig(QStringLiteral("DEMO")));
        c->exec(QStringLiteral("ALTER TABLE Menu DROP COLUMN Version"));
        s->cfg->MenuId = menuOf("PROJECT");
        QVERIFY(s->cfg->CheckVersion(3));
        QCOMPARE(c->scalar(QStringLiteral("SELECT COUNT(*) FROM Menu WHERE Version = 3")).toInt(), 41);
    }

    void missingMenuEntryIsRefused()
    {
        QVERIFY(s->cfg->GetCompanyConfig(QStringLiteral("DEMO")));
        s->cfg->MenuId = 9999;
        QVERIFY(!s->cfg->CheckVersion(3));
    }
};

QTEST_MAIN(TstConfig)
#include "tst_config.moc"
