#pragma once
#include "DbSettings.h"
#include "Schema.h"
#include <QString>

class Connection;

// Creates the configuration and company databases from the schema catalogue and
// fills the Thai demo company. The same builder, with sizes, makes the large
// databases used by the benchmarks.
namespace DemoBuilder {

struct Options
{
    int products = 0;   // generated products on top of the hand-written demo rows
    int customers = 0;  // generated customers likewise
    int year = 0;       // running year; 0 = this year
};

// The names the demo uses.
inline const QString configDb = QStringLiteral("QLX_CONFIG");
inline const QString demoCompany = QStringLiteral("DEMO");
inline const QString secondCompany = QStringLiteral("DEMO2");

void createSchema(Connection &conn, DbRole role);
void fillConfig(Connection &config);
void fillCompany(Connection &company, int companyNo, const Options &options);
void generate(Connection &company, const Options &options);

// Creates QLX_CONFIG, DEMO and DEMO2 on the current engine. With replace, existing
// databases of those names are dropped first; without it an existing one is an error.
void createDemo(const Options &options, bool replace);
bool demoExists();

// The keyword table's entries as the demo's menu holds them: keyword and caption.
struct MenuEntry { const char *keyword; const char *caption; };
const std::vector<MenuEntry> &demoMenu();

} // namespace DemoBuilder
