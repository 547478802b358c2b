#include "Startup.h"
#include "TFormLogo.h"
#include "core/DateFormat.h"
#include "db/DbError.h"
#include "lookup/ModuleRegistry.h"
#include "lookup/TFrShowError.h"
#include "services/TDM.h"
#include "session/TDMConfig.h"
#include "session/UserDialogs.h"
#include <QApplication>
#include <QPointer>
#include <QProcessEnvironment>
#include <QTimer>
#include <cstdio>

const std::vector<KeywordEntry> &keywordTable()
{
    static const std::vector<KeywordEntry> t = {
        {"COMMISSION", "TFrCommTable", {}},
        {"QUOTA", "TFrProductQuota", {}},
        {"QUOTABAG", "TFrProdQuota_Tung", {}},
        {"DAILYPRICE", "TFrProductPriceDaily", {}},
        {"TEPWALINDO", "TFrQuickPriceCheck", {}},
        {"SETFORM", "TFrSetPrintForm", {}},
        {"SETREPORT", "TFrDesignReport", {}},
        {"PROJECT", "TFrProject", {}},
        {"PROJECTGLOBAL", "TFrProjectGlobalTour", {}},
        {"CLOSEPROJECT", "TFrCloseProject", QStringLiteral("CLOSE")},
        {"CANCELPROJECT", "TFrCloseProject", QStringLiteral("CANCEL")},
        {"PROJECTJOB", "TFrProjectJob", {}},
        {"BOQ", "TFrBOQ", {}},
        {"CODESTRUC", "TFrProductCodeStructure", QStringLiteral("X")},
        {"CODESTRUC_C", "TFrProductCodeStructure", QStringLiteral("C")},
        {"CODESTRUC_V", "TFrProductCodeStructure", QStringLiteral("V")},
        {"SETBARCODE", "TFrProductCodeStructure", QStringLiteral("B")},
        {"CHKSTOCKCOMPANY", "TFrProductInCompany", {}},
        {"CHKCUSTOMER", "TFrCustomerBalance", {}},
        {"CHKVENDOR", "TFrVendorBalance", {}},
        {"CUSPRODPRICE", "TFrCustomerProductPrice", {}},
        {"CUSPRODPRICEALL", "TFrCustomerProductPriceAll", {}},
        {"CUSPRODPRICEPRJ", "TFrCustomerProductPriceProject", {}},
        {"SETPRXPERCENT", "TFrSetPricePercent", {}},
        {"CASHPLAN", "TFrCashFlowPlan", {}},
        {"PRETTYCASH", "TFrPrettyCash", {}},
        {"EMPLOYEE", "TFrEmployee", {}},
        {"EMPBALANCE", "TFrEmpBalance", {}},
        {"BRANCH", "TFrBranch", {}},
        {"PROMOTIONFREE", "TFrPromotionFree", {}},
        {"GRUSALESTARGET", "TFrSalesTarget", {}},
        {"BUDGET", "TFrBudget", {}},
        {"DEPARTMENT", "TFrDepartment", {}},
        {"ACTIONLIST", "TFrActionListing", {}},
        {"AUTHORIZELIST", "TFrAuthorizeList", {}},
        {"JOBTRAN", "TFrJobTran", 0},
        {"JOBFIX", "TFrJobTran", 1},
        {"PMPRODUCT", "TFrPMProduct", {}},
        {"PROFITPERCENT", "TFrProfitPercent", {}},
        {"OPENREPORT", "TFrOpenReport", {}},
        {"GETUSER", "TFrGetuser", {}},
    };
    return t;
}

namespace {

// The wording of the conversion routines the menu program's users know.
[[noreturn]] void badArgument(const QString &text) { throw std::invalid_argument(text.toStdString()); }

QDate toDate(const QString &s)
{
    bool ok = false;
    const QDate d = parseShortDate(s, &ok);
    if (!ok)
        badArgument(QStringLiteral("'%1' is not a valid date").arg(s));
    return d;
}

int toInt(const QString &s)
{
    bool ok = false;
    const int v = s.trimmed().toInt(&ok);
    if (!ok)
        badArgument(QStringLiteral("'%1' is not a valid integer value").arg(s));
    return v;
}

QString arg(const QStringList &args, int position) { return position <= args.size() ? args.at(position - 1) : QString(); }

} // namespace

int runHost(const QStringList &args, const QElapsedTimer &sinceStart)
{
    if (args.isEmpty())
        return 0;
    const auto env = QProcessEnvironment::systemEnvironment();
    QApplication::setApplicationDisplayName(QStringLiteral("qlxhost"));

    QPointer<TFormLogo> splash = new TFormLogo;
    splash->show();
    splash->repaint();
    QApplication::processEvents();
    if (env.value(QStringLiteral("QLXHOST_TRACE_STARTUP")) == QLatin1String("1")) {
        std::fprintf(stdout, "qlxhost: splash %lld\n", static_cast<long long>(sinceStart.elapsed()));
        std::fflush(stdout);
    }

    setShortDateFormat(QStringLiteral("dd/mm/yyyy"));

    auto dm = std::make_unique<TDM>();
    auto cfg = std::make_unique<TDMConfig>();
    auto product = std::make_unique<TDmProduct>();
    dm->setSplash(splash);
    dm->setCompanyArgument(arg(args, 3));
    // Scripted runs have nobody to read the error dialog: their errors go to ShowError.
    if (env.value(QStringLiteral("QLXHOST_UNATTENDED")) != QLatin1String("1"))
        TFrShowError::install(*dm);

    QPointer<QWidget> window;
    int exitCode = 0;
    try {
        cfg->WorkDate = toDate(arg(args, 6));
        cfg->MenuId = toInt(arg(args, 1));
        cfg->UserId = toInt(arg(args, 2));

        if (!cfg->GetCompanyConfig(arg(args, 3))) {
            delete splash.data();
            return 0;
        }
        cfg->CheckRight(cfg->MenuId, cfg->UserId);
        const bool versionOk = cfg->CheckVersion(3);
        if (versionOk && cfg->CanAccess) {
            const QString keyword = arg(args, 5);
            for (const auto &e : keywordTable()) {
                if (keyword != QLatin1String(e.keyword))
                    continue;
                if (auto factory = ModuleRegistry::find(QLatin1String(e.windowClass))) {
                    window = factory();
                    if (window && e.mode.isValid())
                        window->setProperty("Mode", e.mode);
                }
                break;
            }
        }
        if (window) {
            window->setAttribute(Qt::WA_DeleteOnClose);
            window->show();
            // A window that never reaches the company database must not leave it standing.
            dm->destroySplash();
            if (env.value(QStringLiteral("QLXHOST_QUIT_AFTER_SHOW")) == QLatin1String("1")) {
                const QString cls = QString::fromLatin1(window->metaObject()->className());
                QTimer::singleShot(0, window, [window, cls, &sinceStart] {
                    std::fprintf(stdout, "qlxhost: shown %s %lld\n", qPrintable(cls), static_cast<long long>(sinceStart.elapsed()));
                    std::fflush(stdout);
                    window->close();
                });
            }
            QApplication::exec();
        }
    } catch (const DbError &e) {
        ShowError(e.message());
        exitCode = 1;
    } catch (const std::exception &e) {
        ShowError(QString::fromUtf8(e.what()));
        exitCode = 1;
    }
    delete window.data();
    delete splash.data();
    product.reset();
    cfg.reset();
    dm.reset();
    return exitCode;
}
