#pragma once
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

// A real mail server on loopback (smtp_sink.py beside this file), started by a test;
// each message it receives can be read back as the mail reader decoded it.
class SmtpSink
{
public:
    ~SmtpSink()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    // False with the reason when the server could not be started.
    bool start(QString *why)
    {
        const QString script = QFINDTESTDATA("smtp_sink.py");
        if (script.isEmpty()) {
            *why = QStringLiteral("smtp_sink.py not found");
            return false;
        }
        // The distribution's interpreter carries the mail server package.
        const QString python = QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3") : QStringLiteral("python3");
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start(python, {script, m_dir.path()});
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 15000) {
            if (m_process.canReadLine() || m_process.waitForReadyRead(200)) {
                const QByteArray line = m_process.readLine().trimmed();
                if (line.startsWith("PORT ")) {
                    m_port = line.mid(5).toInt();
                    return true;
                }
            }
            if (m_process.state() == QProcess::NotRunning)
                break;
        }
        *why = QStringLiteral("mail server did not start: ") + QString::fromLocal8Bit(m_process.readAllStandardError());
        return false;
    }

    int port() const { return m_port; }

    QList<QJsonObject> messages() const
    {
        QList<QJsonObject> out;
        const auto files = QDir(m_dir.path()).entryInfoList({QStringLiteral("mail*.json")}, QDir::Files, QDir::Name);
        for (const auto &f : files) {
            QFile file(f.filePath());
            if (file.open(QIODevice::ReadOnly))
                out << QJsonDocument::fromJson(file.readAll()).object();
        }
        return out;
    }

    // Waits until at least n messages arrived (or the time is up); returns the count.
    qsizetype waitForMessages(qsizetype n, int ms = 5000) const
    {
        QElapsedTimer t;
        t.start();
        while (messages().size() < n && t.elapsed() < ms)
            QTest::qWait(50);
        return messages().size();
    }

    // A loopback port where nobody listens.
    static int deadPort()
    {
        QTcpServer s;
        s.listen(QHostAddress::LocalHost, 0);
        const int p = s.serverPort();
        s.close();
        return p;
    }

    // Writes the [mail] section of qlxhost.ini in the current folder.
    static void writeSettings(const QMap<QString, QString> &values)
    {
        QFile f(QStringLiteral("qlxhost.ini"));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QByteArray text = "[mail]\n";
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            text += it.key().toUtf8() + '=' + it.value().toUtf8() + '\n';
        f.write(text);
    }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
};
