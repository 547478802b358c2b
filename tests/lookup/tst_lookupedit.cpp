#include "TestEnv.h"
#include "lookup/PagedQueryModel.h"
#include "lookup/TCodeLookupEdit.h"
#include "lookup/TFaGet.h"
#include "lookup/TFrSearch.h"
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

// Selector frames and their code boxes, driven from a small window.
class TstLookupEdit : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TestSession> s;
    std::unique_ptr<QWidget> w;
    QLineEdit *other = nullptr;

    Connection &db() { return s->dm->DMDATA(); }
    qint64 miscId(const QString &group, const QString &code)
    {
        return db().scalar(QStringLiteral("SELECT Id FROM Misc WHERE GroupCode = :g AND Code = :c"), {{QStringLiteral("g"), group}, {QStringLiteral("c"), code}}).toLongLong();
    }
    template <class F> F *place(F *frame)
    {
        w = std::make_unique<QWidget>();
        auto *lay = new QVBoxLayout(w.get());
        frame->setParent(w.get());
        lay->addWidget(frame);
        other = new QLineEdit(w.get());
        lay->addWidget(other);
        w->show();
        if (!QTest::qWaitForWindowActive(w.get()))
            qWarning("window not active");
        return frame;
    }
    // Answers the next modal look-up: the row whose code is given, or Escape.
    void answerLookup(const QString &code, QString *title = nullptr)
    {
        QTimer::singleShot(0, this, [=] {
            auto *d = qobject_cast<TFrSearch *>(QApplication::activeModalWidget());
            if (!d) {
                answerLookup(code, title);
                return;
            }
            if (title)
                *title = d->windowTitle();
            if (code.isEmpty()) {
                QTest::keyClick(d->Code, Qt::Key_Escape);
                return;
            }
            for (int r = 0; r < d->result()->rowCount(); ++r)
                if (dbText(d->result()->value(r, QStringLiteral("Code"))) == code)
                    d->DgSearch->selectRow(r);
            QTest::keyClick(d->DgSearch, Qt::Key_Return);
        });
    }

private slots:
    void initTestCase() { QLX_REQUIRE_ENGINE(); }
    void init()
    {
        env = std::make_unique<TestEnv>();
        s = std::make_unique<TestSession>();
        s->cfg->IsThai = true;
    }
    void cleanup()
    {
        w.reset();
        s.reset();
        env.reset();
    }

    void typingShowsTheDescription_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("label");
        QTest::newRow("partial code") << QStringLiteral("d0") << QStringLiteral("D0") << QStringLiteral("-");
        QTest::newRow("whole code, lower case") << QStringLiteral("d02") << QStringLiteral("D02") << QStringLiteral("ฝ่ายผลิต");
        QTest::newRow("other group's code") << QStringLiteral("THB") << QStringLiteral("THB") << QStringLiteral("-");
    }
    void typingShowsTheDescription()
    {
        QFETCH(QString, typed);
        QFETCH(QString, box);
        QFETCH(QString, label);
        auto *f = place(new TFaGetDepartment);
        QCOMPARE(f->caption(), QStringLiteral("แผนก"));
        QCOMPARE(f->LbName->text(), QStringLiteral("-"));
        f->EdCode->setFocus();
        QTest::keyClicks(f->EdCode, typed);
        QCOMPARE(f->EdCode->text(), box);
        QCOMPARE(f->LbName->text(), label);
    }

    void leavingChecksTheCode_data()
    {
        QTest::addColumn<bool>("allowNull");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("valid");
        QTest::newRow("known") << true << QStringLiteral("D03") << QStringLiteral("D03") << QStringLiteral("ฝ่ายบัญชี") << true;
        QTest::newRow("unknown") << true << QStringLiteral("D99") << QString() << QStringLiteral("-") << true;
        QTest::newRow("outside the filter") << true << QStringLiteral("USD") << QString() << QStringLiteral("-") << true;
        QTest::newRow("unknown, empty not allowed") << false << QStringLiteral("D99") << QString() << QStringLiteral("-") << false;
        QTest::newRow("empty allowed") << true << QString() << QString() << QStringLiteral("-") << true;
        QTest::newRow("empty not allowed") << false << QString() << QString() << QStringLiteral("-") << false;
    }
    void leavingChecksTheCode()
    {
        QFETCH(bool, allowNull);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QFETCH(QString, label);
        QFETCH(bool, valid);
        auto *f = place(new TFaGetDepartment);
        f->EdCode->K_AllowNull = allowNull;
        QList<qint64> changes;
        connect(f, &TFaGetBase::codeChanged, this, [&](qint64 id) { changes << id; });
        f->EdCode->setFocus();
        QTest::keyClicks(f->EdCode, typed);
        QTest::keyClick(f->EdCode, Qt::Key_Tab);
        QVERIFY(!f->EdCode->hasFocus());
        QCOMPARE(f->EdCode->text(), kept);
        QCOMPARE(f->LbName->text(), label);
        QCOMPARE(f->EdCode->hasValidValue(), valid);
        const qint64 id = kept.isEmpty() ? 0 : miscId(QStringLiteral("DEPARTMENT"), kept);
        QCOMPARE(f->id(), id);
        QCOMPARE(changes, QList<qint64>{id});
    }

    void loadsTheRowOfAnId()
    {
        auto *f = place(new TFaGetDepartment);
        f->EdCode->setLookupId(miscId(QStringLiteral("DEPARTMENT"), QStringLiteral("D04")));
        QCOMPARE(f->code(), QStringLiteral("D04"));
        QCOMPARE(f->LbName->text(), QStringLiteral("ฝ่ายโครงการ"));
        // An id of another group is outside the filter.
        f->EdCode->setLookupId(miscId(QStringLiteral("CURRENCY"), QStringLiteral("THB")));
        QVERIFY(f->code().isEmpty());
        QCOMPARE(f->LbName->text(), QStringLiteral("-"));
    }

    void namesMustBeIdentifiers()
    {
        auto *f = place(new TFaGetDepartment);
        f->EdCode->K_LookupTableName = QStringLiteral("Misc; DELETE FROM Misc");
        f->EdCode->setFocus();
        QTest::keyClicks(f->EdCode, QStringLiteral("D01"));
        QTest::keyClick(f->EdCode, Qt::Key_Tab);
        QVERIFY(s->dialogs->contains(QStringLiteral("Invalid object name")));
        QVERIFY(f->code().isEmpty());
        QCOMPARE(db().scalar(QStringLiteral("SELECT COUNT(*) FROM Misc WHERE GroupCode = 'DEPARTMENT'")).toInt(), 4);
    }

    void searchButtonFollowsTheFocus()
    {
        auto *f = place(new TFaGetDepartment);
        other->setFocus();
        QVERIFY(!f->BtSearch->isEnabled());
        f->EdCode->setFocus();
        QVERIFY(f->BtSearch->isEnabled());
        other->setFocus();
        QVERIFY(!f->BtSearch->isEnabled());
        // The frame itself passes its focus to the code box.
        f->setFocus();
        QCOMPARE(QApplication::focusWidget(), f->EdCode);
        QVERIFY(f->BtSearch->isEnabled());
    }

    void lookupWritesTheCode_data()
    {
        QTest::addColumn<bool>("byKey"); // F5, or the button
        QTest::addColumn<QString>("choice");
        QTest::newRow("F5, chosen") << true << QStringLiteral("D03");
        QTest::newRow("button, chosen") << false << QStringLiteral("D02");
        QTest::newRow("F5, cancelled") << true << QString();
    }
    void lookupWritesTheCode()
    {
        QFETCH(bool, byKey);
        QFETCH(QString, choice);
        auto *f = place(new TFaGetDepartment);
        f->EdCode->setFocus();
        QTest::keyClicks(f->EdCode, QStringLiteral("D01"));
        QString title;
        answerLookup(choice, &title);
        if (byKey)
            QTest::keyClick(f->EdCode, Qt::Key_F5);
        else
            QTest::mouseClick(f->BtSearch, Qt::LeftButton);
        QCOMPARE(title, QStringLiteral("ค้นหา แผนก"));
        const QString expected = choice.isEmpty() ? QStringLiteral("D01") : choice;
        QCOMPARE(f->code(), expected);
        QCOMPARE(f->id(), miscId(QStringLiteral("DEPARTMENT"), expected));
        QTRY_COMPARE(QApplication::focusWidget(), f->EdCode);
        QVERIFY(s->dialogs->entries.isEmpty());
    }

    void miscFrameOfTheModulesGroup()
    {
        auto *f = place(new TFaGetMisc);
        f->setCaption(QStringLiteral("ประเภทโครงการ"));
        f->setGroupCode(QStringLiteral("SUBTYPE"));
        f->EdCode->setFocus();
        QTest::keyClicks(f->EdCode, QStringLiteral("mon"));
        QCOMPARE(f->LbName->text(), QStringLiteral("โครงการรายเดือน"));
        // A department code is not a sub type.
        f->EdCode->selectAll();
        QTest::keyClicks(f->EdCode, QStringLiteral("D01"));
        QTest::keyClick(f->EdCode, Qt::Key_Tab);
        QVERIFY(f->code().isEmpty());
        QVERIFY(!f->EdCode->hasValidValue());
        f->EdCode->setFocus();
        QString title;
        answerLookup(QStringLiteral("GEN"), &title);
        QTest::keyClick(f->EdCode, Qt::Key_F5);
        QCOMPARE(title, QStringLiteral("ค้นหาประเภทโครงการ"));
        QCOMPARE(f->code(), QStringLiteral("GEN"));
        QCOMPARE(f->LbName->text(), QStringLiteral("โครงการทั่วไป"));
    }
};

QTEST_MAIN(TstLookupEdit)
#include "tst_lookupedit.moc"
