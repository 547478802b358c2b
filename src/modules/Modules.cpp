#include "Modules.h"

void registerModules()
{
    // Each module area adds its windows here as it is built.
}
