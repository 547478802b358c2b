#include "core/Workstation.h"

#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

QString GetComputerNameText()
{
    return QSysInfo::machineHostName().left(20).trimmed();
}

QString GetWindowsUserName()
{
    QString name = qEnvironmentVariable("USER").trimmed();
    if (name.isEmpty())
        name = qEnvironmentVariable("LOGNAME").trimmed();
    if (name.isEmpty()) {
        if (const passwd *pw = ::getpwuid(::getuid()); pw && pw->pw_name)
            name = QString::fromLocal8Bit(pw->pw_name).trimmed();
    }
    if (name.isEmpty())
        name = QStringLiteral("Unknown");
    return name.toUpper();
}
