#pragma once
#include <QString>

// Where error reports are mailed. Deployment settings, section [mail] of
// qlxhost.ini beside Server.Dat:
//   server   = mail server host name (empty: no mail is ever sent)
//   port     = 25
//   user     = account name for the server's login (empty: no login)
//   password = its password
//   from     = sender address
//   to       = support address, the only recipient
//   starttls = false (true: insist on an encrypted link)
//   timeout  = 30 (seconds for the whole exchange)
struct MailSettings
{
    QString server;
    int port = 25;
    QString user;
    QString password;
    QString from;
    QString to;
    bool startTls = false;
    int timeoutSeconds = 30;

    bool configured() const { return !server.trimmed().isEmpty() && !from.trimmed().isEmpty() && !to.trimmed().isEmpty(); }
    // Empty folder: the process's current folder.
    static MailSettings load(const QString &folder = QString());
};

// The whole message as it goes over the wire: headers and a base64 body, CRLF line
// ends. Subject and body travel as UTF-8 so Thai survives every relay.
QByteArray composeMailMessage(const MailSettings &settings, const QString &subject, const QString &body);

// Sends one mail; false on any failure (nothing is thrown).
bool sendMail(const MailSettings &settings, const QString &subject, const QString &body);
