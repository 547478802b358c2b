#include "DbSettings.h"
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QProcessEnvironment>

namespace {
DbSettings &store()
{
    static DbSettings s = DbSettings::load();
    return s;
}
}

QString ReadServerName()
{
    QFile f(QStringLiteral("Server.Dat"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QByteArray line = f.readLine();
    // Only the line end goes; blanks belong to the name.
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return QString::fromLocal8Bit(line);
}

DbSettings DbSettings::load(const QString &folder)
{
    DbSettings s;
    const QString base = folder.isEmpty() ? QDir::currentPath() : folder;
    const QString ini = QDir(base).filePath(QStringLiteral("qlxhost.ini"));
    s.dataDir = QDir(base).filePath(QStringLiteral("data"));
    if (QFile::exists(ini)) {
        QSettings f(ini, QSettings::IniFormat);
        const QString engine = f.value(QStringLiteral("database/engine"), QStringLiteral("sqlite")).toString();
        s.engine = engine.compare(QLatin1String("postgres"), Qt::CaseInsensitive) == 0 ? EngineKind::Postgres : EngineKind::Sqlite;
        const QString dir = f.value(QStringLiteral("database/datadir")).toString();
        if (!dir.isEmpty())
            s.dataDir = QDir(base).absoluteFilePath(dir);
        s.port = f.value(QStringLiteral("database/port"), s.port).toInt();
        s.user = f.value(QStringLiteral("database/user"), s.user).toString();
        s.password = f.value(QStringLiteral("database/password"), s.password).toString();
        s.dbPrefix = f.value(QStringLiteral("database/prefix")).toString();
        s.connectTimeoutSeconds = f.value(QStringLiteral("database/connecttimeout"), s.connectTimeoutSeconds).toInt();
    }
    const auto env = QProcessEnvironment::systemEnvironment();
    auto over = [&](const char *name, auto apply) {
        const QString v = env.value(QLatin1String(name));
        if (!v.isEmpty())
            apply(v);
    };
    over("QLX_DB_ENGINE", [&](const QString &v) {
        s.engine = v.compare(QLatin1String("postgres"), Qt::CaseInsensitive) == 0 ? EngineKind::Postgres : EngineKind::Sqlite;
    });
    over("QLX_DATA_DIR", [&](const QString &v) { s.dataDir = QDir(base).absoluteFilePath(v); });
    over("QLX_PG_PORT", [&](const QString &v) { s.port = v.toInt(); });
    over("QLX_PG_USER", [&](const QString &v) { s.user = v; });
    over("QLX_PG_PASSWORD", [&](const QString &v) { s.password = v; });
    over("QLX_DB_PREFIX", [&](const QString &v) { s.dbPrefix = v; });
    s.host = ReadServerName();
    over("QLX_PG_HOST", [&](const QString &v) { s.host = v; });
    if (s.host.isEmpty())
        s.host = QStringLiteral("QLX");
    return s;
}

const DbSettings &DbSettings::current() { return store(); }
void DbSettings::setCurrent(const DbSettings &settings) { store() = settings; }

QString DbSettings::engineName() const
{
    return engine == EngineKind::Postgres ? QStringLiteral("postgres") : QStringLiteral("sqlite");
}
