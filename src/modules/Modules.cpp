#include "Modules.h"
#include "lookup/ModuleRegistry.h"
#include "projects/TFrBOQ.h"
#include "projects/TFrProject.h"
#include "projects/TFrProjectJob.h"
#include "pricing/TFrCustomerProductPrice.h"

void registerModules()
{
    // Each module area adds its windows here as it is built.
    ModuleRegistry::add(QStringLiteral("TFrProject"), [] { return new TFrProject; });
    ModuleRegistry::add(QStringLiteral("TFrProjectJob"), [] { return new TFrProjectJob; });
    ModuleRegistry::add(QStringLiteral("TFrBOQ"), [] { return new TFrBOQ; });
    ModuleRegistry::add(QStringLiteral("TFrCustomerProductPrice"), [] { return new TFrCustomerProductPrice; });
}
