#include "ModuleRegistry.h"
#include <QHash>

namespace {
QHash<QString, ModuleFactory> &table()
{
    static QHash<QString, ModuleFactory> t;
    return t;
}
}

void ModuleRegistry::add(const QString &className, ModuleFactory factory) { table().insert(className, std::move(factory)); }
void ModuleRegistry::remove(const QString &className) { table().remove(className); }
ModuleFactory ModuleRegistry::find(const QString &className) { return table().value(className); }
