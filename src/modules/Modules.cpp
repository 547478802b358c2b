#include "Modules.h"
#include "lookup/ModuleRegistry.h"
#include "organisation/TFrBranch.h"
#include "organisation/TFrDepartment.h"
#include "organisation/TFrEmployee.h"
#include "projects/TFrBOQ.h"
#include "projects/TFrProject.h"
#include "projects/TFrProjectJob.h"
#include "service/TFrJobTran.h"
#include "pricing/TFrCustomerProductPrice.h"

void registerModules()
{
    // Each module area adds its windows here as it is built.
    ModuleRegistry::add(QStringLiteral("TFrProject"), [] { return new TFrProject; });
    ModuleRegistry::add(QStringLiteral("TFrProjectJob"), [] { return new TFrProjectJob; });
    ModuleRegistry::add(QStringLiteral("TFrBOQ"), [] { return new TFrBOQ; });
    ModuleRegistry::add(QStringLiteral("TFrJobTran"), [] { return new TFrJobTran; });
    ModuleRegistry::add(QStringLiteral("TFrEmployee"), [] { return new TFrEmployee; });
    ModuleRegistry::add(QStringLiteral("TFrDepartment"), [] { return new TFrDepartment; });
    ModuleRegistry::add(QStringLiteral("TFrBranch"), [] { return new TFrBranch; });
    ModuleRegistry::add(QStringLiteral("TFrCustomerProductPrice"), [] { return new TFrCustomerProductPrice; });
}
