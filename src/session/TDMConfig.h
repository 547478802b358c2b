#pragma once
#include "db/Connection.h"
#include <QDate>
#include <QSqlRecord>
#include <QString>
#include <QVector>
#include <memory>

// The configuration session: the configuration database connection, the company
// named on the command line, and the session values every module reads.
class TDMConfig
{
public:
    TDMConfig();
    ~TDMConfig();
    static TDMConfig *instance();

    // Session values.
    int MenuId = 0;
    int UserId = 0;
    QDate WorkDate;
    QString CompanyCode;
    QString CompanyName;
    QString UserCode;
    QString MenuCaption;
    bool CanAccess = false;
    bool CanAdd = false;
    bool CanModify = false;
    bool CanDelete = false;
    bool IsThai = false;
    bool UserSeeImport = false;
    int SalesId = 0;
    QString ConfirmSaveText;
    QString ConfirmDeleteText;
    // The save and delete questions of the session, or the plain ones in the
    // user's language when the configuration gives none.
    static QString saveQuestion();
    static QString deleteQuestion();
    QString ConfirmExitText;

    Connection &DmCfg() { return *m_cfg; }

    // The rows the session keeps open.
    const QSqlRecord &companySettings() const { return m_companySettings; }
    const QSqlRecord &companyRow() const { return m_companyRow; }
    const QSqlRecord &userRow() const { return m_userRow; }
    const QVector<QSqlRecord> &softwareConfig() const { return m_softwareConfig; }

    void DmCfgBeforeConnect(Connection &c);
    void DmCfgAfterConnect(Connection &c);

    // False when the company is unknown: the message has been shown and the caller
    // ends the process with exit code 0.
    bool GetCompanyConfig(const QString &databaseName);
    void CheckRight(int menuId, int userId);
    bool CheckVersion(int programVersion);

    // Error reporting: one ErrorLog row per unexpected error, and the report mail
    // the user may send from the error dialog (never fails visibly).
    void LogError(const QString &message);
    void SendErrorMail(const QString &subject, const QString &body);

private:
    void openSoftwareConfig();

    std::unique_ptr<Connection> m_cfg;
    QSqlRecord m_companySettings;
    QSqlRecord m_companyRow;
    QSqlRecord m_userRow;
    QVector<QSqlRecord> m_softwareConfig;
};

// Copies the current row of a query, values included, so it outlives the query.
QSqlRecord takeRecord(const QSqlQuery &q);
QVector<QSqlRecord> takeAll(QSqlQuery &q);
