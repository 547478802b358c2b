// The look-up grid over a large table: time from Enter to the first rows on
// screen, and the process size while scrolling through the whole result.
#include "db/DemoBuilder.h"
#include "lookup/PagedQueryModel.h"
#include "lookup/TCodeLookupEdit.h"
#include "lookup/TFaGet.h"
#include "lookup/TFaSelectAttr.h"
#include "lookup/TFrForm.h"
#include "lookup/TFrSearch.h"
#include "lookup/TF_SearchCustomer.h"
#include "lookup/TFrSearchProductService.h"
#include <QComboBox>
#include <functional>
#include <memory>
#include "services/TDM.h"
#include "session/TDMConfig.h"
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>

namespace {
long rssKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

class CustomerLookup : public TFrSearch
{
public:
    CustomerLookup()
    {
        SQL = {QStringLiteral("Select C.Id, C.Code, C.Name, C.Telephone, C.Blocked From Customer C"), QStringLiteral("Where 1 = 1"),
               QStringLiteral("Order By C.Code")};
        KeyFieldName = QStringLiteral("Code");
        setFilterUpperCase(false);
    }

protected:
    void prepareSearch() override
    {
        Conditions.clear();
        const QString t = Code->text().trimmed();
        if (!t.isEmpty())
            Conditions.add(QStringLiteral("C.Name Like ?"), {QLatin1Char('%') + t + QLatin1Char('%')});
    }
};
// Median and worst time from Enter to the first rows painted, over 11 runs of a
// freshly shown dialog; make() builds it and returns the box to type into.
void timeLookup(const char *what, const std::function<std::pair<TFrSearch *, QLineEdit *>()> &make, const QString &text)
{
    QList<qint64> times;
    int rows = 0;
    for (int run = 0; run < 11; ++run) {
        auto [d, box] = make();
        std::unique_ptr<TFrSearch> owner(d);
        d->show();
        QTest::qWaitForWindowExposed(d);
        box->setFocus();
        box->setText(text);
        QElapsedTimer t;
        t.start();
        QTest::keyClick(box, Qt::Key_Return);
        d->DgSearch->viewport()->repaint();
        times << t.elapsed();
        rows = d->result()->rowCount();
    }
    std::sort(times.begin(), times.end());
    std::printf("%s, contains \"%s\": %d rows; Enter to first rows painted: median %lld ms, max %lld ms (11 runs)\n", what,
                text.toUtf8().constData(), rows, times.at(times.size() / 2), times.last());
}
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int i = args.indexOf(QStringLiteral("--customers"));
    const int customers = i >= 0 && i + 1 < args.size() ? args.at(i + 1).toInt() : 100000;
    const int ip = args.indexOf(QStringLiteral("--products"));
    const int products = ip >= 0 && ip + 1 < args.size() ? args.at(ip + 1).toInt() : 200000;
    // --grab FOLDER: pictures of the look-up and of a window with the frames, to look at.
    const int g = args.indexOf(QStringLiteral("--grab"));
    const QString grabDir = g >= 0 && g + 1 < args.size() ? QDir(args.at(g + 1)).absolutePath() : QString();

    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    DbSettings settings = DbSettings::load(dir.path());
    settings.dataDir = QDir(dir.path()).filePath(QStringLiteral("data"));
    if (settings.engine == EngineKind::Postgres)
        settings.dbPrefix = QStringLiteral("lkbench%1_").arg(QCoreApplication::applicationPid());
    DbSettings::setCurrent(settings);
    QElapsedTimer build;
    build.start();
    DemoBuilder::Options o;
    o.customers = customers;
    o.products = products;
    DemoBuilder::createDemo(o, true);
    std::printf("engine %s, demo with %d generated products and %d generated customers built in %lld ms\n",
                qPrintable(settings.engineName()), products, customers, build.elapsed());

    int rc = 0;
    {
        TDM dm;
        TDMConfig cfg;
        cfg.IsThai = true;
        dm.setCompanyArgument(QStringLiteral("DEMO"));
        dm.DMDATA().open();
        // The product and service look-up in its plain layout, names matched anywhere.
        dm.DMDATA().exec(QStringLiteral("UPDATE Config SET SearchProductNo = 0, SearchProductMethod = 1, ShowLastSearch = 'N'"));
        dm.ReopenConfig();
        for (const QString &text : {QStringLiteral("ทดสอบ 9"), QStringLiteral("ทดสอบ 199999 ")}) {
            timeLookup("product look-up (layout 0)", [] {
                auto *p = new TFrSearchProductService;
                return std::make_pair(static_cast<TFrSearch *>(p), p->EdName);
            }, text);
            timeLookup("customer search (Thai name)", [] {
                auto *c = new TF_SearchCustomer;
                return std::make_pair(static_cast<TFrSearch *>(c), c->EdName);
            }, text);
        }

        for (const QString &filter : {QString(), QStringLiteral("ทดสอบ 9")}) {
            QList<qint64> times;
            int rows = 0;
            for (int run = 0; run < 11; ++run) {
                CustomerLookup d;
                d.show();
                QTest::qWaitForWindowExposed(&d);
                d.Code->setText(filter);
                QElapsedTimer t;
                t.start();
                QTest::keyClick(d.Code, Qt::Key_Return);
                d.DgSearch->viewport()->repaint();
                times << t.elapsed();
                rows = d.result()->rowCount();
            }
            std::sort(times.begin(), times.end());
            std::printf("filter \"%s\": %d rows; Enter to first rows painted: median %lld ms, max %lld ms (11 runs)\n",
                        filter.toUtf8().constData(), rows, times.at(times.size() / 2), times.last());
        }

        if (!grabDir.isEmpty()) {
            CustomerLookup lk;
            lk.show();
            QTest::qWaitForWindowExposed(&lk);
            QTest::keyClick(lk.Code, Qt::Key_Return);
            lk.grab().save(grabDir + QStringLiteral("/lookup.png"));
            cfg.CompanyName = QStringLiteral("บริษัท ไทยตัวอย่างการค้า จำกัด");
            cfg.MenuCaption = QStringLiteral("หน่วยงานโครงการ");
            TFrForm form;
            auto *c = new QWidget(&form);
            auto *lay = new QVBoxLayout(c);
            auto *dep = new TFaGetDepartment(c);
            auto *attr = new TFaSelectCustomerAttr(c);
            lay->addWidget(dep);
            lay->addWidget(attr);
            form.setCentralWidget(c);
            attr->open();
            form.show();
            QTest::qWaitForWindowExposed(&form);
            dep->EdCode->setText(QStringLiteral("D02"));
            emit dep->EdCode->textEdited(QStringLiteral("D02"));
            attr->setCell(0, TFaSelectAttrBase::ColFrom, QStringLiteral("N"));
            form.grab().save(grabDir + QStringLiteral("/form.png"));
        }
        CustomerLookup d;
        d.resize(640, 440);
        d.show();
        QTest::qWaitForWindowExposed(&d);
        QTest::keyClick(d.Code, Qt::Key_Return);
        d.DgSearch->viewport()->repaint();
        const long before = rssKb();
        long peak = before;
        QScrollBar *bar = d.DgSearch->verticalScrollBar();
        QElapsedTimer t;
        t.start();
        const int steps = 400;
        for (int s = 0; s <= steps; ++s) {
            bar->setValue(int(qint64(bar->maximum()) * s / steps));
            d.DgSearch->viewport()->repaint();
            peak = std::max(peak, rssKb());
        }
        const qint64 scrollMs = t.elapsed();
        // Every row once, as paging down through the whole result would.
        for (int r = 0; r < d.result()->rowCount(); r += 25)
            d.result()->value(r, 1);
        peak = std::max(peak, rssKb());
        const QString last = dbText(d.result()->value(d.result()->rowCount() - 1, 1));
        std::printf("scroll through %d rows in %d steps: %lld ms; RSS before %ld kB, peak %ld kB, after %ld kB; pages held %d of %d read; last code %s\n",
                    d.result()->rowCount(), steps, scrollMs, before, peak, rssKb(), d.result()->pagesHeld(), d.result()->pagesRead(),
                    qPrintable(last));
        if (d.result()->rowCount() < customers)
            rc = 1;
    }
    if (settings.engine == EngineKind::Postgres)
        for (const auto &n : Engine::listDatabases(settings))
            Engine::dropDatabase(n, settings);
    return rc;
}
