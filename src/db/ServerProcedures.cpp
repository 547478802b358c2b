#include "ServerProcedures.h"
#include "Connection.h"
#include "DbError.h"
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

} // namespace ServerProc

void upgradeConfigSchema(Connection &config)
{
    const Dialect &d = config.dialect();
    if (!d.hasColumn(config, QStringLiteral("Menu"), QStringLiteral("VERSION")))
        d.addColumn(config, QStringLiteral("Menu"), {QStringLiteral("Version"), ColType::Integer});
    config.exec(QStringLiteral("Update Menu Set Version = 3 Where Version Is Null And Command Is Not Null"));
    d.addColumn(config, QStringLiteral("UserName"), {QStringLiteral("UserSeeImport"), ColType::Char, 1});
    d.addColumn(config, QStringLiteral("UserName"), {QStringLiteral("UserSeeCost"), ColType::Char, 1});
}
