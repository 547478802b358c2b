#include "Startup.h"
#include "modules/Modules.h"
#include "QlxApplication.h"

int main(int argc, char *argv[])
{
    QElapsedTimer sinceStart;
    sinceStart.start();
    // Started without arguments the host does nothing at all, not even a window.
    if (argc <= 1)
        return 0;
    QlxApplication app(argc, argv);
    registerModules();
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return runHost(args, sinceStart);
}
