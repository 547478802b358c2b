#include "SmtpSink.h"
#include "TestEnv.h"
#include "lookup/TFrShowError.h"
#include "services/TextUtils.h"
#include <QJsonArray>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace {
const QString kCaption = QStringLiteral("ทะเบียนโครงการ และ การติดตามงานโครงการทั้งหมดของบริษัท ไทยตัวอย่างการค้า จำกัด");
const QString kText = QStringLiteral("ข้อมูลที่เพิ่มซ้ำกับข้อมูลที่มีอยู่แล้ว\rCANNOT INSERT DUPLICATE KEY ROW. ลูกค้า ก.\r");
}

class TstShowError : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    QString previousDir;
    std::unique_ptr<TestSession> s;
    std::unique_ptr<SmtpSink> sink;

    void configureSink()
    {
        SmtpSink::writeSettings({{QStringLiteral("server"), QStringLiteral("127.0.0.1")},
                                 {QStringLiteral("port"), QString::number(sink->port())},
                                 {QStringLiteral("from"), QStringLiteral("errors@qlxhost.invalid")},
                                 {QStringLiteral("to"), QStringLiteral("support@qlxhost.invalid")}});
    }

    // Runs the dialog modally as the error handler does; `act` runs once it is up.
    // Returns the number of countdown ticks seen.
    int runDialog(const std::function<void(TFrShowError *)> &act, int *result = nullptr)
    {
        int ticks = 0;
        QTimer poll;
        poll.setInterval(5);
        bool acted = false;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto *d = qobject_cast<TFrShowError *>(QApplication::activeModalWidget());
            if (!d || acted)
                return;
            acted = true;
            QObject::connect(d->Timer1, &QTimer::timeout, [&ticks] { ++ticks; });
            QObject::connect(d, &QDialog::finished, [result](int r) { if (result) *result = r; });
            QVERIFY(QTest::qWaitForWindowActive(d));
            act(d);
        });
        poll.start();
        TFrShowError::ShowModal(kText);
        return ticks;
    }

private slots:
    void initTestCase()
    {
        previousDir = QDir::currentPath();
        QDir::setCurrent(dir.path());
        sink = std::make_unique<SmtpSink>();
        QString why;
        QVERIFY2(sink->start(&why), qPrintable(why));
    }
    void cleanupTestCase()
    {
        sink.reset();
        QDir::setCurrent(previousDir);
    }
    void init()
    {
        QFile::remove(QStringLiteral("qlxhost.ini"));
        s = std::make_unique<TestSession>();
        s->cfg->CompanyCode = QStringLiteral("DEMO");
        s->cfg->MenuCaption = kCaption;
        s->cfg->UserCode = QStringLiteral("สมชาย");
        TFrShowError::TickInterval = 1000;
    }
    void cleanup()
    {
        s.reset();
        TFrShowError::TickInterval = 1000;
    }

    void looksAndFocus()
    {
        QString title, memo, send, dontSend;
        QPoint pos;
        QWidget *focus = nullptr;
        QWidget *dontSendButton = nullptr;
        bool readOnly = false;
        QColor window, base;
        const int before = int(sink->messages().size());
        int result = -1;
        runDialog([&](TFrShowError *d) {
            title = d->windowTitle();
            pos = d->pos();
            memo = d->Memo1->toPlainText();
            readOnly = d->Memo1->isReadOnly();
            window = d->palette().color(QPalette::Window);
            base = d->Memo1->palette().color(QPalette::Base);
            send = d->BSendError->text();
            dontSend = d->BDontSend->text();
            focus = QApplication::focusWidget();
            dontSendButton = d->BDontSend;
            d->grab().save(QDir::temp().filePath(QStringLiteral("qlx_showerror.png")));
            // Enter on the button that has the focus: no mail.
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }, &result);
        QCOMPARE(title, QStringLiteral("Windows Error Message"));
        QCOMPARE(pos, QPoint(50, 100));
        QCOMPARE(memo, QStringLiteral("ข้อมูลที่เพิ่มซ้ำกับข้อมูลที่มีอยู่แล้ว\nCANNOT INSERT DUPLICATE KEY ROW. ลูกค้า ก.\n"));
        QVERIFY(readOnly);
        QCOMPARE(window, QColor(Qt::red));
        QCOMPARE(base, QColor(Qt::red));
        QCOMPARE(send, QStringLiteral("Send Error"));
        QCOMPARE(dontSend, QStringLiteral("Don't Send"));
        QCOMPARE(focus, dontSendButton);
        QCOMPARE(result, int(QDialog::Rejected));
        QTest::qWait(200);
        QCOMPARE(int(sink->messages().size()), before);
    }

    void countdown_data()
    {
        QTest::addColumn<int>("interval");
        QTest::addColumn<int>("sendAfterTicks"); // -1: never pressed
        QTest::addColumn<int>("expectedTicks");
        QTest::addColumn<int>("expectedMails");
        QTest::newRow("left alone") << 30 << -1 << 9 << 0;
        QTest::newRow("sent after three ticks") << 30 << 3 << 3 << 1;
        QTest::newRow("sent before the first tick") << 1000 << 0 << 0 << 1;
    }
    void countdown()
    {
        QFETCH(int, interval);
        QFETCH(int, sendAfterTicks);
        QFETCH(int, expectedTicks);
        QFETCH(int, expectedMails);
        configureSink();
        TFrShowError::TickInterval = interval;
        const qsizetype before = sink->messages().size();
        int finalCount = -1;
        int result = -1;
        QElapsedTimer t;
        t.start();
        const int ticks = runDialog([&](TFrShowError *d) {
            QObject::connect(d, &QDialog::finished, [&finalCount, d] { finalCount = d->Count; });
            if (sendAfterTicks == 0) {
                QTest::mouseClick(d->BSendError, Qt::LeftButton);
                return;
            }
            if (sendAfterTicks > 0) {
                auto *seen = new int(0);
                QObject::connect(d->Timer1, &QTimer::timeout, d, [d, seen, sendAfterTicks] {
                    if (++*seen == sendAfterTicks)
                        QMetaObject::invokeMethod(d->BSendError, [d] { QTest::mouseClick(d->BSendError, Qt::LeftButton); }, Qt::QueuedConnection);
                });
                QObject::connect(d, &QObject::destroyed, [seen] { delete seen; });
            }
        }, &result);
        QCOMPARE(ticks, expectedTicks);
        if (sendAfterTicks < 0) {
            QCOMPARE(finalCount, 1);
            QCOMPARE(result, int(QDialog::Rejected));
            // Nine ticks of the real timer, not fewer.
            QVERIFY2(t.elapsed() >= 9 * interval - 10, qPrintable(QString::number(t.elapsed())));
        } else {
            QCOMPARE(result, int(QDialog::Accepted));
        }
        QCOMPARE(sink->waitForMessages(before + expectedMails, expectedMails ? 5000 : 300), before + expectedMails);
    }

    void mailContents()
    {
        configureSink();
        const qsizetype before = sink->messages().size();
        QString subject, body;
        runDialog([&](TFrShowError *d) {
            subject = d->MailSubject();
            body = d->MailBody();
            QTest::mouseClick(d->BSendError, Qt::LeftButton);
        });
        QCOMPARE(subject, QStringLiteral("Error DEMO ") + kCaption);
        QCOMPARE(body, QStringLiteral("[User = สมชาย] \rLocal IP = ") + GetLocalIP() + QLatin1Char('\r') + kText);
        QCOMPARE(sink->waitForMessages(before + 1), before + 1);
        QTest::qWait(200);
        const auto all = sink->messages();
        QCOMPARE(all.size(), before + 1); // exactly one
        const QJsonObject m = all.last();
        QCOMPARE(m.value(QStringLiteral("mail_from")).toString(), QStringLiteral("errors@qlxhost.invalid"));
        QCOMPARE(m.value(QStringLiteral("rcpt_tos")).toArray(), QJsonArray({QStringLiteral("support@qlxhost.invalid")}));
        QCOMPARE(m.value(QStringLiteral("from")).toString(), QStringLiteral("errors@qlxhost.invalid"));
        QCOMPARE(m.value(QStringLiteral("to")).toString(), QStringLiteral("support@qlxhost.invalid"));
        QVERIFY(m.value(QStringLiteral("cc")).isNull());
        QCOMPARE(m.value(QStringLiteral("subject")).toString(), subject);
        QCOMPARE(m.value(QStringLiteral("content_type")).toString(), QStringLiteral("text/plain"));
        QCOMPARE(m.value(QStringLiteral("charset")).toString(), QStringLiteral("utf-8"));
        QCOMPARE(m.value(QStringLiteral("body")).toString(), body);
        // Every header line stays within the line limit of the mail standard.
        for (const auto &line : m.value(QStringLiteral("headers")).toString().split(QStringLiteral("\r\n")))
            QVERIFY2(line.size() <= 78, qPrintable(line));
    }

    void notConfigured_data()
    {
        QTest::addColumn<QStringList>("drop");
        QTest::newRow("no server") << QStringList{QStringLiteral("server")};
        QTest::newRow("no sender") << QStringList{QStringLiteral("from")};
        QTest::newRow("no recipient") << QStringList{QStringLiteral("to")};
    }
    void notConfigured()
    {
        QFETCH(QStringList, drop);
        QMap<QString, QString> values{{QStringLiteral("server"), QStringLiteral("127.0.0.1")},
                                      {QStringLiteral("port"), QString::number(sink->port())},
                                      {QStringLiteral("from"), QStringLiteral("errors@qlxhost.invalid")},
                                      {QStringLiteral("to"), QStringLiteral("support@qlxhost.invalid")}};
        for (const auto &k : drop)
            values.remove(k);
        SmtpSink::writeSettings(values);
        const qsizetype before = sink->messages().size();
        int result = -1;
        runDialog([](TFrShowError *d) { QTest::mouseClick(d->BSendError, Qt::LeftButton); }, &result);
        QCOMPARE(result, int(QDialog::Accepted));
        QTest::qWait(300);
        QCOMPARE(sink->messages().size(), before);
        QVERIFY(s->dialogs->entries.isEmpty());
    }
};

QTEST_MAIN(TstShowError)
#include "tst_showerror.moc"
