#include "TestEnv.h"
#include "TypeText.h"
#include "lookup/PagedQueryModel.h"
#include "lookup/TFrSearch.h"
#include "lookup/TCodeLookupEdit.h"
#include "lookup/TFaGetProject.h"
#include "lookup/edit/CachedGridModel.h"
#include "modules/Modules.h"
#include "modules/projects/TFrBOQ.h"
#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

// The bill of quantities driven from the keyboard: a project code, the job
// list, typing into the line grid, the buttons; then the stored rows.
namespace {

using Col = TFrBOQ::LineColumn;

Connection &company() { return TDM::instance()->DMDATA(); }
QVariant one(const QString &sql, const Params &p = {}) { return company().scalar(sql, p); }
Decimal dec(const QVariant &v) { return decimalFromVariant(v); }
Decimal dec(const char *text) { return Decimal::fromString(QString::fromLatin1(text)); }

qint64 jobId(const QString &code)
{
    return one(QStringLiteral("Select H.Id From ProjectItemHD H Join Project P On P.Id = H.Project Where P.Code = 'PJDEMO0001' And H.Code = :c"),
               {{"c", code}})
        .toLongLong();
}

// The stored lines of a job as "order:code" in line order.
QStringList storedLines(const QString &job)
{
    QStringList out;
    QSqlQuery q = company().exec(QStringLiteral("Select D.ItemOrderNo, P.Code From ProjectItemDt D Left Join Product P On P.Id = D.Product"
                                                " Where D.ProjectItemHD = :h Order By D.ItemOrderNo, D.Id"),
                                 {{"h", jobId(job)}});
    while (q.next())
        out << QString::number(q.value(0).toInt()) + QLatin1Char(':') + dbText(q.value(1)).trimmed();
    return out;
}

Decimal storedAmount(const QString &job) { return dec(one(QStringLiteral("Select Amount From ProjectItemHD Where Id = :h"), {{"h", jobId(job)}})); }

// Types into a box (its old text replaced) and presses Enter to leave it.
void enter(QWidget *box, const QString &text)
{
    box->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(box->hasFocus());
    if (auto *e = qobject_cast<QLineEdit *>(box))
        e->selectAll();
    typeText(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

// Answers the next input box with a text.
void answerInput(const QString &text)
{
    QTimer::singleShot(0, [text] {
        auto *d = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
        if (!d) {
            answerInput(text);
            return;
        }
        d->setTextValue(text);
        d->accept();
    });
}

// Answers the next look-up: the filter text searched (when given), then the
// row whose column holds the value chosen with Enter.
void answerLookup(const QString &filter, const QString &column, const QString &value)
{
    QTimer::singleShot(0, [=] {
        auto *d = qobject_cast<TFrSearch *>(QApplication::activeModalWidget());
        if (!d) {
            answerLookup(filter, column, value);
            return;
        }
        if (!filter.isEmpty()) {
            d->Code->setText(filter);
            d->Search();
        }
        QTRY_VERIFY(d->result()->rowCount() > 0);
        for (int r = 0; r < d->result()->rowCount(); ++r)
            if (dbText(d->result()->value(r, column)).trimmed() == value)
                d->DgSearch->selectRow(r);
        d->DgSearch->setFocus();
        QTest::keyClick(d->DgSearch, Qt::Key_Return);
    });
}

} // namespace

class TstBoq : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TestSession> s;
    std::unique_ptr<TFrBOQ> w;

    void open()
    {
        w = std::make_unique<TFrBOQ>();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->FaProject->EdCode));
    }
    void chooseProject(const QString &code = QStringLiteral("PJDEMO0001"))
    {
        enter(w->FaProject->EdCode, code);
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->DgJob));
    }
    // Walks the job list with the arrow keys to the job.
    void chooseJob(const QString &code)
    {
        w->DgJob->setFocus();
        QTRY_VERIFY(w->DgJob->hasFocus());
        for (int guard = 0; guard < 10 && dbText(w->QrJob->value(w->currentJob(), QStringLiteral("Code"))) != code; ++guard)
            QTest::keyClick(w->DgJob, w->currentJob() < 0 ? Qt::Key_Home : Qt::Key_Down);
        QCOMPARE(dbText(w->QrJob->value(w->currentJob(), QStringLiteral("Code"))), code);
    }
    // F2 on the cell, the text typed over what was there, Enter.
    void typeCell(int row, int column, const QString &text)
    {
        w->DgLine->setFocus();
        QTRY_VERIFY(w->DgLine->hasFocus());
        w->DgLine->setCurrentIndex(w->QrLine->index(row, column));
        QTest::keyClick(w->DgLine, Qt::Key_F2);
        auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        QVERIFY2(editor && editor != static_cast<QWidget *>(w->DgLine), "no cell editor");
        editor->selectAll();
        typeText(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    }
    // Down on the last line opens a new one at row.
    void newLine(int &row)
    {
        row = w->QrLine->rowCount();
        w->DgLine->setFocus();
        QTRY_VERIFY(w->DgLine->hasFocus());
        if (row > 0) {
            w->DgLine->setCurrentIndex(w->QrLine->index(row - 1, Col::ColPCode));
            QTest::keyClick(w->DgLine, Qt::Key_Down);
        }
        QTRY_COMPARE(w->QrLine->rowCount(), row + 1);
        QCOMPARE(w->currentLine(), row);
    }
    QString cell(int row, int column) const { return w->QrLine->data(w->QrLine->index(row, column)).toString(); }
    QVariant field(int row, const char *name) const { return w->QrLine->value(row, QLatin1String(name)); }

private slots:
    void initTestCase()
    {
        QLX_REQUIRE_ENGINE();
        registerModules();
    }
    void init()
    {
        env = std::make_unique<TestEnv>();
        s = std::make_unique<TestSession>();
        s->cfg->IsThai = true;
        s->cfg->MenuCaption = QStringLiteral("ประมาณราคา (BOQ)");
    }
    void cleanup()
    {
        w.reset();
        s.reset();
        env.reset();
    }

    void choosingAProjectListsItsJobs_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("suspended");
        QTest::addColumn<QStringList>("jobs");
        QTest::newRow("demo project") << "PJDEMO0001" << false
                                      << QStringList{"J01", "J02", "J03", "J04", "J05", "J06"};
        QTest::newRow("suspended project") << "PJDEMO0001" << true << QStringList{};
        QTest::newRow("unknown code") << "PJ9999" << false << QStringList{};
    }
    void choosingAProjectListsItsJobs()
    {
        QFETCH(QString, code);
        QFETCH(bool, suspended);
        QFETCH(QStringList, jobs);
        // An older database without the unit text column gets it on opening.
        company().exec(QStringLiteral("Alter Table ProjectItemDt Drop Column UnitsAs"));
        QVERIFY(!company().dialect().hasColumn(company(), QStringLiteral("ProjectItemDt"), QStringLiteral("UnitsAs")));
        if (suspended)
            company().exec(QStringLiteral("Update Project Set Blocked = 'Y' Where Code = 'PJDEMO0001'"));
        open();
        QVERIFY(company().dialect().hasColumn(company(), QStringLiteral("ProjectItemDt"), QStringLiteral("UnitsAs")));
        QCOMPARE(w->windowTitle(), QStringLiteral("ประมาณราคา (BOQ) [MFG11.05.30]"));

        enter(w->FaProject->EdCode, code);
        QStringList listed;
        for (int r = 0; r < w->QrJob->rowCount(); ++r)
            listed << dbText(w->QrJob->value(r, QStringLiteral("Code")));
        QCOMPARE(listed, jobs);
        if (jobs.isEmpty()) {
            QCOMPARE(w->projectId(), qint64(0));
            QVERIFY(w->FaProject->EdCode->text().isEmpty());
            QCOMPARE(w->QrLine->rowCount(), 0);
            return;
        }
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->DgJob));
        // The first job's lines, then the next job's as the cursor moves down.
        QCOMPARE(w->QrLine->rowCount(), 2);
        QCOMPARE(cell(0, Col::ColOrderNo), QStringLiteral("1"));
        QCOMPARE(cell(0, Col::ColPCode), QStringLiteral("P0007"));
        QCOMPARE(cell(1, Col::ColTotal), QStringLiteral("1,500.00"));
        QTest::keyClick(w->DgJob, Qt::Key_Down);
        QCOMPARE(cell(0, Col::ColPCode), QStringLiteral("P0001"));
        QCOMPARE(cell(0, Col::ColQuantity), QStringLiteral("320.00"));
        QCOMPARE(cell(1, Col::ColPrice), QStringLiteral("245.50"));
        QCOMPARE(cell(1, Col::ColUnitName), QStringLiteral("ชิ้น"));
        // Entering the project box again closes both lists.
        w->FaProject->EdCode->setFocus(Qt::TabFocusReason);
        QTRY_COMPARE(w->QrJob->rowCount(), 0);
        QCOMPARE(w->QrLine->rowCount(), 0);
        // Ctrl+X asks first; No keeps the window.
        s->dialogs->answers = {false};
        QTest::keyClick(w->FaProject->EdCode, Qt::Key_X, Qt::ControlModifier);
        QVERIFY(s->dialogs->contains(QStringLiteral("ออกจากโปรแกรม ?")));
        QVERIFY(w->isVisible());
    }

    void typedProductFillsTheLine_data()
    {
        QTest::addColumn<QString>("vendor");
        QTest::addColumn<QString>("labour");
        QTest::addColumn<QString>("product");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("labourAfter");
        QTest::newRow("no vendor: the unit's prices") << "" << "" << "P0002" << "เหล็กเส้นกลม 12 มม." << "10.00" << "1.00";
        QTest::newRow("vendor's part source, typed labour kept") << "V0001" << "7" << "P0001" << "ปูนซีเมนต์ปอร์ตแลนด์ 50 กก." << "9.50" << "7.00";
        QTest::newRow("vendor without part source") << "V0003" << "7" << "P0001" << "ปูนซีเมนต์ปอร์ตแลนด์ 50 กก." << "10.00" << "1.00";
    }
    void typedProductFillsTheLine()
    {
        QFETCH(QString, vendor);
        QFETCH(QString, labour);
        QFETCH(QString, product);
        QFETCH(QString, description);
        QFETCH(QString, price);
        QFETCH(QString, labourAfter);
        open();
        chooseProject();
        chooseJob(QStringLiteral("J06"));
        int row = -1;
        newLine(row);
        QCOMPARE(cell(row, Col::ColOrderNo), QStringLiteral("2"));
        if (!vendor.isEmpty())
            typeCell(row, Col::ColVCode, vendor);
        if (!labour.isEmpty())
            typeCell(row, Col::ColLabour, labour);
        typeCell(row, Col::ColPCode, product.toLower()); // upper case as typed
        QCOMPARE(cell(row, Col::ColPCode), product);
        QCOMPARE(cell(row, Col::ColDescription), description);
        QCOMPARE(cell(row, Col::ColUnitName), QStringLiteral("ชิ้น")); // the product's first unit
        QCOMPARE(cell(row, Col::ColPrice), price);
        QCOMPARE(cell(row, Col::ColLabour), labourAfter);
        QCOMPARE(cell(row, Col::ColVCode), vendor);
        // A change of vendor afterwards keeps the prices.
        typeCell(row, Col::ColVCode, vendor == QLatin1String("V0003") ? QStringLiteral("V0001") : QStringLiteral("V0003"));
        QCOMPARE(cell(row, Col::ColPrice), price);
        QCOMPARE(cell(row, Col::ColLabour), labourAfter);
    }

    void quantityTimesPricesGivesTheAmounts_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("labour");
        QTest::addColumn<Decimal>("amountM");
        QTest::addColumn<Decimal>("amountL");
        QTest::addColumn<QString>("total");
        QTest::newRow("3 at 100 and 20") << "3" << "100" << "20" << dec("300") << dec("60") << "360.00";
        QTest::newRow("cents stay exact") << "0.10" << "0.20" << "0.10" << dec("0.02") << dec("0.01") << "0.03";
        QTest::newRow("six decimals of the column") << "2.50" << "0.333333" << "1.000001" << dec("0.833333") << dec("2.500003") << "3.33";
        QTest::newRow("large amounts") << "123456.78" << "98765.432109" << "12.345678" << dec("12193262223.485749") << dec("1524157.652797")
                                       << "12,194,786,381.14";
    }
    void quantityTimesPricesGivesTheAmounts()
    {
        QFETCH(QString, quantity);
        QFETCH(QString, price);
        QFETCH(QString, labour);
        QFETCH(Decimal, amountM);
        QFETCH(Decimal, amountL);
        QFETCH(QString, total);
        open();
        chooseProject();
        chooseJob(QStringLiteral("J03"));
        int row = -1;
        newLine(row);
        typeCell(row, Col::ColPCode, QStringLiteral("P0004"));
        typeCell(row, Col::ColQuantity, quantity);
        typeCell(row, Col::ColPrice, price);
        typeCell(row, Col::ColLabour, labour);
        QCOMPARE(dec(field(row, "AmountM")), amountM);
        QCOMPARE(dec(field(row, "AmountL")), amountL);
        QCOMPARE(dec(field(row, "Total")), amountM + amountL);
        QCOMPARE(cell(row, Col::ColTotal), total);
        // The amounts follow a change of unit too: the unit's own prices.
        typeCell(row, Col::ColUnitName, QStringLiteral("โหล"));
        QCOMPARE(cell(row, Col::ColPrice), QStringLiteral("115.00"));
        QCOMPARE(dec(field(row, "Total")), (Decimal::fromString(quantity) * dec("125")).rescaled(6));
    }

    void f5OpensTheColumnsLookUp_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("resultColumn");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("price");
        QTest::newRow("product") << int(Col::ColPCode) << "P0003" << "Code" << "P0003" << "10.00";
        QTest::newRow("vendor") << int(Col::ColVCode) << "V0003" << "Code" << "V0003" << "155.00";
        QTest::newRow("unit") << int(Col::ColUnitName) << "" << "UnitName" << "กล่อง" << "225.00";
    }
    void f5OpensTheColumnsLookUp()
    {
        QFETCH(int, column);
        QFETCH(QString, filter);
        QFETCH(QString, resultColumn);
        QFETCH(QString, chosen);
        QFETCH(QString, price);
        open();
        chooseProject();
        chooseJob(QStringLiteral("J02"));
        w->DgLine->setFocus();
        w->DgLine->setCurrentIndex(w->QrLine->index(0, column));
        answerLookup(filter, resultColumn, chosen);
        QTest::keyClick(w->DgLine, Qt::Key_F5);
        // The code stays in the cell's box; the unit is checked as it is left.
        QTRY_VERIFY(QApplication::focusWidget() && w->DgLine->isAncestorOf(QApplication::focusWidget()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(cell(0, column), chosen);
        QCOMPARE(cell(0, Col::ColPrice), price);
    }

    void rejectedEntryPutsBackTheLastAccepted_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("accepted");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("idField");
        QTest::newRow("unknown product") << int(Col::ColPCode) << "P0001" << "NOPE" << "Product";
        QTest::newRow("blocked product") << int(Col::ColPCode) << "P0001" << "P0005" << "Product";
        QTest::newRow("master product") << int(Col::ColPCode) << "P0001" << "P0006" << "Product";
        QTest::newRow("product without tax code") << int(Col::ColPCode) << "P0001" << "P0007" << "Product";
        QTest::newRow("unknown vendor") << int(Col::ColVCode) << "V0001" << "V9999" << "Vendor";
        QTest::newRow("stock-only unit") << int(Col::ColUnitName) << "ชิ้น" << "ลัง" << "ProductUnits";
        QTest::newRow("another product's unit") << int(Col::ColUnitName) << "ชิ้น" << "คิว" << "ProductUnits";
    }
    void rejectedEntryPutsBackTheLastAccepted()
    {
        QFETCH(int, column);
        QFETCH(QString, accepted);
        QFETCH(QString, typed);
        QFETCH(QString, idField);
        company().exec(QStringLiteral("Insert Into ProductUnits (Product, UnitName, Fraction, PurcPrice, LabourCost, SaleFlag, PurcFlag, StockUnitFlag,"
                                      " SmallUnitFlag) Select Id, 'ลัง', 48, 400, 30, 'N', 'N', 'Y', 'N' From Product Where Code = 'P0001'"));
        open();
        chooseProject();
        chooseJob(QStringLiteral("J02"));
        QCOMPARE(cell(0, Col::ColPCode), QStringLiteral("P0001"));
        if (column == Col::ColVCode)
            typeCell(0, column, accepted);
        QCOMPARE(cell(0, column), accepted);
        const QVariant id = field(0, idField.toLatin1().constData());
        QVERIFY(!id.isNull());
        const QString description = cell(0, Col::ColDescription);
        const QString price = cell(0, Col::ColPrice);
        typeCell(0, column, typed);
        QCOMPARE(cell(0, column), accepted);
        QCOMPARE(field(0, idField.toLatin1().constData()).toLongLong(), id.toLongLong());
        QCOMPARE(cell(0, Col::ColDescription), description);
        QCOMPARE(cell(0, Col::ColPrice), price);
        // Nothing was taken: the line is as loaded (the vendor row took V0001 first).
        QCOMPARE(w->QrLine->hasPendingChanges(), column == Col::ColVCode);
    }

    void saveRenumbersAndWritesTheAmount_data()
    {
        QTest::addColumn<QString>("job");
        QTest::addColumn<QString>("edit");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<Decimal>("amount");
        QTest::addColumn<QString>("nextJob");
        // J06: P0008 40 x 25.00, a line whose product is gone and a P0001 line
        // with stale amounts (set up below). J02: 49,600.00 and 44,190.00.
        QTest::newRow("line without product dropped; last job wraps") << "J06" << "" << true << QStringList{"1:P0008", "2:P0001"}
                                                                      << dec("1360") << "J01";
        QTest::newRow("new line numbered 3") << "J02" << "add" << true << QStringList{"1:P0001", "2:P0002", "3:P0004"} << dec("94150") << "J03";
        QTest::newRow("save answered no") << "J02" << "add" << false << QStringList{"1:P0001", "2:P0002"} << dec("93790") << "J02";
        QTest::newRow("ลบบรรทัด") << "J02" << "delete" << true << QStringList{"1:P0002"} << dec("44190") << "J03";
        QTest::newRow("the grid's x") << "J02" << "x" << true << QStringList{"1:P0002"} << dec("44190") << "J03";
    }
    void saveRenumbersAndWritesTheAmount()
    {
        QFETCH(QString, job);
        QFETCH(QString, edit);
        QFETCH(bool, answer);
        QFETCH(QStringList, lines);
        QFETCH(Decimal, amount);
        QFETCH(QString, nextJob);
        const qint64 j06 = jobId(QStringLiteral("J06"));
        company().exec(QStringLiteral("Update ProjectItemDt Set ItemOrderNo = 5 Where ProjectItemHD = :h"), {{"h", j06}});
        company().exec(QStringLiteral("Insert Into ProjectItemDt (ProjectItemHD, DetailType, ItemOrderNo, Description, Quantity, Price, Labour, AmountM, AmountL, Total)"
                                      " Values (:h, 'M', 7, 'ไม่มีสินค้า', 1, 1, 0, 1, 0, 1)"),
                       {{"h", j06}});
        company().exec(QStringLiteral("Insert Into ProjectItemDt (ProjectItemHD, DetailType, ItemOrderNo, Product, Description, Quantity, ProductUnits, Price,"
                                      " Labour, AmountM, AmountL, Total)"
                                      " Select :h, 'M', 9, P.Id, 'ปูน', 3, U.Id, 100, 20, 0, 0, 0 From Product P Join ProductUnits U On U.Product = P.Id"
                                      " Where P.Code = 'P0001' And U.UnitName = 'ชิ้น'"),
                       {{"h", j06}});
        open();
        chooseProject();
        chooseJob(job);
        if (edit == QLatin1String("add")) {
            int row = -1;
            newLine(row);
            typeCell(row, Col::ColPCode, QStringLiteral("P0004"));
            typeCell(row, Col::ColQuantity, QStringLiteral("3"));
            typeCell(row, Col::ColPrice, QStringLiteral("100"));
            typeCell(row, Col::ColLabour, QStringLiteral("20"));
            // The text printed instead of the unit name, cut to its 15 characters.
            w->DgLine->setCurrentIndex(w->QrLine->index(row, Col::ColUnitName));
            answerInput(QStringLiteral("แกลลอน 3.5 ลิตร ยาวเกินสิบห้า"));
            w->MnUnitsAs->trigger();
            QCOMPARE(dbText(field(row, "UnitsAs")), QStringLiteral("แกลลอน 3.5 ลิตร"));
        } else if (!edit.isEmpty()) {
            w->DgLine->setFocus();
            w->DgLine->setCurrentIndex(w->QrLine->index(0, Col::ColQuantity));
            QTest::mouseClick(edit == QLatin1String("x") ? static_cast<QWidget *>(w->BtDelLine) : static_cast<QWidget *>(w->BDelLine), Qt::LeftButton);
            QVERIFY(s->dialogs->contains(QStringLiteral("ยืนยันลบรายการ ?")));
            QCOMPARE(w->QrLine->rowCount(), 1);
            QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->DgLine));
            QCOMPARE(w->DgLine->currentIndex().column(), int(Col::ColPCode));
            QCOMPARE(int(storedLines(job).size()), 2); // gone from the database only at the save
        }
        s->dialogs->answers = {answer};
        QTest::mouseClick(w->BSave, Qt::LeftButton);
        QVERIFY(s->dialogs->contains(QStringLiteral("ยืนยันจัดเก็บข้อมูล ประมาณราคา (BOQ)")));
        QCOMPARE(storedLines(job), lines);
        QCOMPARE(storedAmount(job), amount);
        QCOMPARE(dbText(w->QrJob->value(w->currentJob(), QStringLiteral("Code"))), nextJob);
        if (!answer)
            return;
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w->DgJob));
        if (edit == QLatin1String("add"))
            QCOMPARE(dbText(one(QStringLiteral("Select UnitsAs From ProjectItemDt Where ProjectItemHD = :h And ItemOrderNo = 3"), {{"h", jobId(job)}})).trimmed(),
                     QStringLiteral("แกลลอน 3.5 ลิตร"));
        if (job == QLatin1String("J06")) {
            // The stale amounts were costed again.
            QSqlQuery q = company().exec(QStringLiteral("Select AmountM, AmountL, Total From ProjectItemDt Where ProjectItemHD = :h And ItemOrderNo = 2"), {{"h", j06}});
            QVERIFY(q.next());
            QCOMPARE(dec(q.value(0)), dec("300"));
            QCOMPARE(dec(q.value(1)), dec("60"));
            QCOMPARE(dec(q.value(2)), dec("360"));
        }
    }

    void failedSaveKeepsTheEditsAndWritesNothing()
    {
        open();
        chooseProject();
        chooseJob(QStringLiteral("J02"));
        int row = -1;
        newLine(row);
        typeCell(row, Col::ColPCode, QStringLiteral("P0003"));
        typeCell(row, Col::ColQuantity, QStringLiteral("2"));
        typeCell(0, Col::ColQuantity, QStringLiteral("321"));
        // The job's amount cannot be written: the lines written before it go back.
        company().exec(QStringLiteral("Alter Table ProjectItemHD Rename Column Amount To AmountGone"));
        QTest::mouseClick(w->BSave, Qt::LeftButton);
        QVERIFY(s->dialogs->texts().join(QLatin1Char('\n')).contains(QStringLiteral("amount"), Qt::CaseInsensitive));
        company().exec(QStringLiteral("Alter Table ProjectItemHD Rename Column AmountGone To Amount"));
        QCOMPARE(storedLines(QStringLiteral("J02")), (QStringList{"1:P0001", "2:P0002"}));
        QCOMPARE(dec(one(QStringLiteral("Select Quantity From ProjectItemDt Where ProjectItemHD = :h And ItemOrderNo = 1"), {{"h", jobId(QStringLiteral("J02"))}})),
                 dec("320"));
        QCOMPARE(storedAmount(QStringLiteral("J02")), dec("93790"));
        // Still on screen, still pending: the next save writes it all.
        QCOMPARE(dbText(w->QrJob->value(w->currentJob(), QStringLiteral("Code"))), QStringLiteral("J02"));
        QCOMPARE(w->QrLine->rowCount(), 3);
        QCOMPARE(cell(0, Col::ColQuantity), QStringLiteral("321.00"));
        QCOMPARE(w->QrLine->pendingInserts(), 1);
        QTest::mouseClick(w->BSave, Qt::LeftButton);
        QCOMPARE(storedLines(QStringLiteral("J02")), (QStringList{"1:P0001", "2:P0002", "3:P0003"}));
        // One more at 155.00; two at the unit's 10.00 with 1.00 labour.
        QCOMPARE(storedAmount(QStringLiteral("J02")), dec("93967"));
    }
};

QTEST_MAIN(TstBoq)
#include "tst_boq.moc"
