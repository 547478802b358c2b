#include "Modules.h"
#include "lookup/ModuleRegistry.h"
#include "projects/TFrBOQ.h"
#include "projects/TFrProject.h"

void registerModules()
{
    // Each module area adds its windows here as it is built.
    ModuleRegistry::add(QStringLiteral("TFrProject"), [] { return new TFrProject; });
    ModuleRegistry::add(QStringLiteral("TFrBOQ"), [] { return new TFrBOQ; });
}
