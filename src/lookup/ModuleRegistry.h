#pragma once
#include <QString>
#include <QWidget>
#include <functional>

// Module windows by class name. Each module area registers its windows; the start-up
// keyword table creates them through here, so a keyword whose module is not built
// yet simply opens nothing.
using ModuleFactory = std::function<QWidget *()>;

namespace ModuleRegistry {
void add(const QString &className, ModuleFactory factory);
void remove(const QString &className);
ModuleFactory find(const QString &className);
}
