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

// A print form's preparation procedure (SystemForm.SpName) with @No, @DocYear,
// @DocCode and the output @NewDocNo, which is returned. On PostgreSQL it is a
// function of that name in the company database taking (text, integer, text) and
// returning text; on SQLite a statement script kept in ServerScript under that
// name, each step run with the same parameters and the first column of the last
// step that returns a row taken as @NewDocNo. All steps commit together or not at
// all. An unknown name fails with the server's wording.
QString RunPrintPreparation(Connection &company, const QString &procName, const QString &no, int docYear, const QString &docCode);

} // namespace ServerProc

// Adds SystemForm.ShowPrintPreview when missing and turns null or blank into 'N',
// as the print dialog and the print-form set-up do before reading the table.
void upgradeSystemForm(Connection &company);

// The configuration schema upgrade run on every connect of the configuration database.
void upgradeConfigSchema(Connection &config);
