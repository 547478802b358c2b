#include "ErrorMail.h"
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QUuid>
#include <curl/curl.h>
#include <cstring>
#include <mutex>

MailSettings MailSettings::load(const QString &folder)
{
    MailSettings m;
    const QString base = folder.isEmpty() ? QDir::currentPath() : folder;
    const QString ini = QDir(base).filePath(QStringLiteral("qlxhost.ini"));
    if (!QFile::exists(ini))
        return m;
    QSettings f(ini, QSettings::IniFormat);
    f.beginGroup(QStringLiteral("mail"));
    m.server = f.value(QStringLiteral("server")).toString().trimmed();
    m.port = f.value(QStringLiteral("port"), m.port).toInt();
    m.user = f.value(QStringLiteral("user")).toString();
    m.password = f.value(QStringLiteral("password")).toString();
    m.from = f.value(QStringLiteral("from")).toString().trimmed();
    m.to = f.value(QStringLiteral("to")).toString().trimmed();
    m.startTls = f.value(QStringLiteral("starttls"), false).toBool();
    m.timeoutSeconds = f.value(QStringLiteral("timeout"), m.timeoutSeconds).toInt();
    if (m.port <= 0)
        m.port = 25;
    if (m.timeoutSeconds <= 0)
        m.timeoutSeconds = 30;
    return m;
}

namespace {

bool isAscii(const QString &s)
{
    for (QChar c : s)
        if (c.unicode() > 0x7e || c.unicode() < 0x20)
            return false;
    return true;
}

// RFC 2047 encoded words, each short enough for a header line, split between
// characters so no word holds half of a Thai letter.
QByteArray encodeHeader(const QString &text)
{
    if (isAscii(text))
        return text.toUtf8();
    QByteArray out;
    QByteArray chunk;
    auto flush = [&] {
        if (chunk.isEmpty())
            return;
        if (!out.isEmpty())
            out += "\r\n ";
        out += "=?UTF-8?B?" + chunk.toBase64() + "?=";
        chunk.clear();
    };
    for (int i = 0; i < text.size(); ++i) {
        int len = 1;
        if (text.at(i).isHighSurrogate() && i + 1 < text.size())
            len = 2;
        const QByteArray one = text.mid(i, len).toUtf8();
        // 42 bytes make a word of 68 characters: with "Subject: " in front the line
        // still keeps within the 78 characters mail lines should.
        if (chunk.size() + one.size() > 42)
            flush();
        chunk += one;
        i += len - 1;
    }
    flush();
    return out;
}

QByteArray base64Lines(const QByteArray &data)
{
    const QByteArray b = data.toBase64();
    QByteArray out;
    for (qsizetype i = 0; i < b.size(); i += 76)
        out += b.mid(i, 76) + "\r\n";
    return out;
}

struct Upload
{
    QByteArray data;
    qsizetype pos = 0;
};

size_t readPayload(char *buffer, size_t size, size_t count, void *user)
{
    auto *u = static_cast<Upload *>(user);
    const size_t room = size * count;
    const size_t left = size_t(u->data.size() - u->pos);
    const size_t n = qMin(room, left);
    if (n > 0) {
        std::memcpy(buffer, u->data.constData() + u->pos, n);
        u->pos += qsizetype(n);
    }
    return n;
}

QByteArray angle(const QString &address)
{
    const QString a = address.trimmed();
    return (a.startsWith(QLatin1Char('<')) ? a : QLatin1Char('<') + a + QLatin1Char('>')).toUtf8();
}

} // namespace

QByteArray composeMailMessage(const MailSettings &settings, const QString &subject, const QString &body)
{
    QByteArray m;
    m += "Date: " + QDateTime::currentDateTime().toString(Qt::RFC2822Date).toLatin1() + "\r\n";
    m += "From: " + settings.from.toUtf8() + "\r\n";
    m += "To: " + settings.to.toUtf8() + "\r\n";
    m += "Subject: " + encodeHeader(subject) + "\r\n";
    m += "Message-ID: <" + QUuid::createUuid().toString(QUuid::WithoutBraces).toLatin1() + "@qlxhost>\r\n";
    m += "MIME-Version: 1.0\r\n";
    m += "Content-Type: text/plain; charset=UTF-8\r\n";
    // base64 keeps the body's lone carriage returns and Thai bytes exactly as written.
    m += "Content-Transfer-Encoding: base64\r\n";
    m += "\r\n";
    m += base64Lines(body.toUtf8());
    return m;
}

bool sendMail(const MailSettings &settings, const QString &subject, const QString &body)
{
    if (!settings.configured())
        return false;
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    CURL *curl = curl_easy_init();
    if (!curl)
        return false;
    Upload upload{composeMailMessage(settings, subject, body)};
    const QByteArray url = QStringLiteral("smtp://%1:%2").arg(settings.server.trimmed()).arg(settings.port).toUtf8();
    const QByteArray from = angle(settings.from);
    const QByteArray to = angle(settings.to);
    const QByteArray user = settings.user.toUtf8();
    const QByteArray password = settings.password.toUtf8();
    curl_slist *recipients = curl_slist_append(nullptr, to.constData());

    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, from.constData());
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, recipients);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, readPayload);
    curl_easy_setopt(curl, CURLOPT_READDATA, &upload);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, long(qMin(settings.timeoutSeconds, 10)));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, long(settings.timeoutSeconds));
    if (!user.isEmpty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, password.constData());
    }
    if (settings.startTls)
        curl_easy_setopt(curl, CURLOPT_USE_SSL, long(CURLUSESSL_ALL));
    const CURLcode rc = curl_easy_perform(curl);
    curl_slist_free_all(recipients);
    curl_easy_cleanup(curl);
    return rc == CURLE_OK;
}
