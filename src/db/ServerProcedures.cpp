#include "ServerProcedures.h"
#include "Connection.h"
#include "DbError.h"
#include <QRegularExpression>
#include <QSqlRecord>

namespace ServerProc {

QString NewDocumentNo(Connection &company, const QString &docCode, int docYear)
{
    const Params key{{QStringLiteral("c"), docCode}, {QStringLiteral("y"), docYear}};
    QVariant id = company.scalar(QStringLiteral("SELECT DocumentNo FROM DocNoConvert WHERE Code = :c AND DocYear = :y ORDER BY Id"), key);
    if (id.isNull())
        id = company.scalar(QStringLiteral("SELECT Id FROM DocumentNo WHERE Code = :c AND DocYear = :y ORDER BY Id"), key);
    if (id.isNull())
        throw DbError(QStringLiteral("ไม่พบรหัสเอกสาร %1 ปี %2").arg(docCode).arg(docYear));
    // The increment and the read of the new value are one statement, so two
    // workstations can never be handed the same number.
    auto q = company.exec(QStringLiteral("UPDATE DocumentNo SET LastNo = COALESCE(LastNo, 0) + 1 WHERE Id = :id "
                                         "RETURNING Prefix, LastNo, DocumentLength"),
                          {{QStringLiteral("id"), id}});
    if (!q.next())
        throw DbError(QStringLiteral("ไม่พบรหัสเอกสาร %1 ปี %2").arg(docCode).arg(docYear));
    const QString prefix = dbText(q.value(0)).trimmed();
    const qint64 number = q.value(1).toLongLong();
    const int length = q.value(2).toInt();
    const int digits = qMax(0, length - int(prefix.size()));
    return prefix + QString::number(number).rightJustified(digits, QLatin1Char('0'));
}

void UserAddLog(Connection &company, int userId, int menuId, int functionListId, int documentId, const QString &remark)
{
    company.exec(QStringLiteral("INSERT INTO UserLog (LogDate, UserId, MenuId, FunctionListId, DocumentId, Remark) "
                                "VALUES (%1, :u, :m, :f, :d, :r)")
                     .arg(company.dialect().serverTimeExpr()),
                 {{QStringLiteral("u"), userId}, {QStringLiteral("m"), menuId}, {QStringLiteral("f"), functionListId},
                  {QStringLiteral("d"), documentId}, {QStringLiteral("r"), remark.left(250)}});
}

QDateTime ServerTime(Connection &company)
{
    return dbDateTime(company.scalar(QStringLiteral("SELECT ") + company.dialect().serverTimeExpr()));
}

MenuCaptionResult MENUCAPTION(Connection &config, int menuId, int userId)
{
    MenuCaptionResult r;
    auto q = config.exec(QStringLiteral("SELECT M.Caption, R.Access_R, R.Add_R, R.Modify_R, R.Delete_R "
                                        "FROM Menu M LEFT JOIN UserRight R ON R.MenuId = M.Id AND R.UserId = :u "
                                        "WHERE M.Id = :m"),
                         {{QStringLiteral("u"), userId}, {QStringLiteral("m"), menuId}});
    if (q.next()) {
        r.caption = dbText(q.value(0));
        r.access = dbText(q.value(1));
        r.add = dbText(q.value(2));
        r.modify = dbText(q.value(3));
        r.del = dbText(q.value(4));
    }
    auto u = config.exec(QStringLiteral("SELECT Code, SalesId FROM UserName WHERE Id = :u"), {{QStringLiteral("u"), userId}});
    if (u.next()) {
        r.userCode = dbText(u.value(0));
        r.salesId = u.value(1).toInt();
    }
    return r;
}

void AddErrorLog(Connection &config, const QString &compName, const QString &logName, int userId, int menuId,
                 const QString &errorMsg)
{
    config.exec(QStringLiteral("INSERT INTO ErrorLog (LogDate, CompName, LogName, UserId, MenuId, ErrorMsg) "
                               "VALUES (%1, :c, :l, :u, :m, :e)")
                    .arg(config.dialect().serverTimeExpr()),
                {{QStringLiteral("c"), compName}, {QStringLiteral("l"), logName}, {QStringLiteral("u"), userId},
                 {QStringLiteral("m"), menuId}, {QStringLiteral("e"), errorMsg}});
}

QString RunPrintPreparation(Connection &company, const QString &procName, const QString &no, int docYear, const QString &docCode)
{
    const QString name = procName.trimmed();
    // The name cannot be bound; it must be a plain identifier to be named in SQL.
    static const QRegularExpression ident(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    const QString missing = QStringLiteral("Could not find stored procedure '%1'.").arg(name);
    if (!ident.match(name).hasMatch())
        throw DbError(missing);
    const Params all{{QStringLiteral("No"), no}, {QStringLiteral("DocYear"), docYear}, {QStringLiteral("DocCode"), docCode}};
    const bool ownTransaction = !company.inTransaction();
    if (company.engine() == EngineKind::Postgres) {
        if (company.scalar(QStringLiteral("SELECT COUNT(*) FROM pg_proc WHERE lower(proname) = lower(:n)"), {{QStringLiteral("n"), name}}).toInt() == 0)
            throw DbError(missing);
        if (ownTransaction)
            company.startTransaction();
        try {
            const QString result = dbText(company.scalar(
                QStringLiteral("SELECT %1(CAST(:No AS text), CAST(:DocYear AS integer), CAST(:DocCode AS text))").arg(name), all));
            if (ownTransaction)
                company.commit();
            return result;
        } catch (...) {
            if (ownTransaction && company.inTransaction())
                company.rollback();
            throw;
        }
    }
    auto steps = company.exec(QStringLiteral("SELECT SqlText FROM ServerScript WHERE ProcName = :n ORDER BY StepNo, Id"),
                              {{QStringLiteral("n"), name}});
    QStringList statements;
    while (steps.next())
        statements << dbText(steps.value(0));
    if (statements.isEmpty())
        throw DbError(missing);
    static const QRegularExpression param(QStringLiteral(":(No|DocYear|DocCode)\\b"));
    if (ownTransaction)
        company.startTransaction();
    try {
        QString result;
        for (const QString &sql : statements) {
            // Only the parameters a step names are bound.
            Params p;
            auto it = param.globalMatch(sql);
            while (it.hasNext()) {
                const QString key = it.next().captured(1);
                p.insert(key, all.value(key));
            }
            auto q = company.exec(sql, p);
            if (q.isSelect() && q.next())
                result = dbText(q.value(0));
        }
        if (ownTransaction)
            company.commit();
        return result;
    } catch (...) {
        if (ownTransaction && company.inTransaction())
            company.rollback();
        throw;
    }
}

} // namespace ServerProc

void upgradeSystemForm(Connection &company)
{
    const Dialect &d = company.dialect();
    if (!d.hasColumn(company, QStringLiteral("SystemForm"), QStringLiteral("SHOWPRINTPREVIEW")))
        d.addColumn(company, QStringLiteral("SystemForm"), {QStringLiteral("ShowPrintPreview"), ColType::Char, 1});
    company.exec(QStringLiteral("UPDATE SystemForm SET ShowPrintPreview = 'N' WHERE ShowPrintPreview IS NULL OR TRIM(ShowPrintPreview) = ''"));
}

void upgradeConfigSchema(Connection &config)
{
    const Dialect &d = config.dialect();
    if (!d.hasColumn(config, QStringLiteral("Menu"), QStringLiteral("VERSION")))
        d.addColumn(config, QStringLiteral("Menu"), {QStringLiteral("Version"), ColType::Integer});
    config.exec(QStringLiteral("Update Menu Set Version = 3 Where Version Is Null And Command Is Not Null"));
    d.addColumn(config, QStringLiteral("UserName"), {QStringLiteral("UserSeeImport"), ColType::Char, 1});
    d.addColumn(config, QStringLiteral("UserName"), {QStringLiteral("UserSeeCost"), ColType::Char, 1});
}
