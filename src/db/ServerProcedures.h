#pragma once
#include <QDateTime>
#include <QString>

class Connection;

// The suite's stored procedures, behind one interface. On SQL Server they would be
// called as procedures; on the engines built here they are our own statements with
// the same parameters and results.
namespace ServerProc {

// Next number of the numbering row for the code and year (through DocNoConvert when a
// conversion row exists): the prefix followed by the number, zero-padded so that the
// whole text is DocumentLength long. One atomic UPDATE, inside the caller's
// transaction when there is one.
QString NewDocumentNo(Connection &company, const QString &docCode, int docYear);

void UserAddLog(Connection &company, int userId, int menuId, int functionListId, int documentId, const QString &remark);

QDateTime ServerTime(Connection &company);

struct MenuCaptionResult
{
    QString caption;
    QString access;
    QString add;
    QString modify;
    QString del;
    QString userCode;
    int salesId = 0;
};
MenuCaptionResult MENUCAPTION(Connection &config, int menuId, int userId);

void AddErrorLog(Connection &config, const QString &compName, const QString &logName, int userId, int menuId,
                 const QString &errorMsg);

} // namespace ServerProc

// The configuration schema upgrade run on every connect of the configuration database.
void upgradeConfigSchema(Connection &config);
