#include "TestEnv.h"
#include "lookup/PagedQueryModel.h"
#include "lookup/TFaSelectAttr.h"
#include <QApplication>
#include <QLineEdit>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

namespace {
// A customer search that carries the customer attribute-range frame.
class CustomerSearch : public TFrSearch
{
public:
    TFaSelectCustomerAttr *Attr;
    int searches = 0;
    CustomerSearch()
    {
        Attr = new TFaSelectCustomerAttr(this);
        FilterArea->addWidget(Attr);
        SQL = {QStringLiteral("Select C.Id, C.Code, C.Name From Customer C"), QStringLiteral("Where 1 = 1"), QStringLiteral("Order By C.Code")};
        KeyFieldName = QStringLiteral("Code");
    }

protected:
    void FormShow() override { Attr->open(); }
    void prepareSearch() override
    {
        ++searches;
        Conditions.clear();
        Attr->addConditions(Conditions);
    }
};
} // namespace

class TstAttrFrame : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TestSession> s;
    std::unique_ptr<CustomerSearch> d;

    Connection &db() { return s->dm->DMDATA(); }
    int rowOf(TFaSelectAttrBase *f, const QString &group)
    {
        for (int i = 0; i < f->rows().size(); ++i)
            if (f->rows().at(i).Code == group)
                return i;
        return -1;
    }
    void open()
    {
        d = std::make_unique<CustomerSearch>();
        d->show();
        QVERIFY(QTest::qWaitForWindowActive(d.get()));
    }
    QStringList codes()
    {
        QStringList out;
        for (int r = 0; r < d->result()->rowCount(); ++r)
            out << dbText(d->result()->value(r, QStringLiteral("Code")));
        return out;
    }
    // Types into the cell through its editor, as a user does, and presses Enter.
    void typeIntoCell(int row, int col, const QString &text)
    {
        d->Attr->DgAttr->setFocus();
        d->Attr->DgAttr->setCurrentCell(row, col);
        QTest::keyClick(d->Attr->DgAttr, text.at(0).toLatin1());
        QWidget *editor = QApplication::focusWidget();
        QVERIFY(editor && editor != d->Attr->DgAttr);
        if (text.size() > 1)
            QTest::keyClicks(editor, text.mid(1));
        QTest::keyClick(editor, Qt::Key_Return);
    }

private slots:
    void initTestCase() { QLX_REQUIRE_ENGINE(); }
    void init()
    {
        env = std::make_unique<TestEnv>();
        s = std::make_unique<TestSession>();
        s->cfg->IsThai = true;
    }
    void cleanup()
    {
        d.reset();
        s.reset();
        env.reset();
    }

    void rangesSelectCustomers_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("no range") << QString() << QString() << QString()
                                  << QStringList{QStringLiteral("C0001"), QStringLiteral("C0002"), QStringLiteral("C0003"),
                                                 QStringLiteral("C0004"), QStringLiteral("C0005"), QStringLiteral("C0006")};
        QTest::newRow("north to north-east") << QStringLiteral("AREA") << QStringLiteral("n") << QStringLiteral("ne")
                                             << QStringList{QStringLiteral("C0002"), QStringLiteral("C0003")};
        QTest::newRow("one code") << QStringLiteral("AREA") << QStringLiteral("S") << QStringLiteral("S") << QStringList{QStringLiteral("C0005")};
        QTest::newRow("to only") << QStringLiteral("AREA") << QString() << QStringLiteral("NE")
                                 << QStringList{QStringLiteral("C0002"), QStringLiteral("C0003")};
        QTest::newRow("other group") << QStringLiteral("TYPE") << QStringLiteral("R") << QStringLiteral("WHOLE")
                                     << QStringList{QStringLiteral("C0001")};
        QTest::newRow("quote is a value") << QStringLiteral("AREA") << QStringLiteral("N'") << QStringLiteral("Z'")
                                          << QStringList{QStringLiteral("C0003"), QStringLiteral("C0005")};
    }
    void rangesSelectCustomers()
    {
        QFETCH(QString, group);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QStringList, found);
        open();
        QCOMPARE(d->Attr->rows().size(), 2);
        if (!group.isEmpty()) {
            const int r = rowOf(d->Attr, group);
            QVERIFY(r >= 0);
            if (!from.isEmpty())
                typeIntoCell(r, TFaSelectAttrBase::ColFrom, from);
            if (!to.isEmpty())
                typeIntoCell(r, TFaSelectAttrBase::ColTo, to);
        }
        d->Code->setFocus();
        QTest::keyClick(d->Code, Qt::Key_Return);
        QVERIFY(s->dialogs->entries.isEmpty());
        QCOMPARE(codes(), found);
    }

    void gridKeys()
    {
        open();
        auto *g = d->Attr->DgAttr;
        const int area = rowOf(d->Attr, QStringLiteral("AREA"));
        const int searchesBefore = d->searches;
        typeIntoCell(area, TFaSelectAttrBase::ColFrom, QStringLiteral("ne"));
        // Enter went from the from column to the to column, and did not search or close.
        QCOMPARE(g->currentRow(), area);
        QCOMPARE(g->currentColumn(), int(TFaSelectAttrBase::ColTo));
        QVERIFY(d->isVisible());
        QCOMPARE(d->searches, searchesBefore);
        QVERIFY(!d->keyPreview());
        const auto &row = d->Attr->rows().at(area);
        QCOMPARE(g->item(area, TFaSelectAttrBase::ColFrom)->text(), QStringLiteral("NE"));
        QCOMPARE(row.BeginAttrCode, QStringLiteral("NE"));
        QCOMPARE(row.BeginGroupCode, QStringLiteral("AREANE"));
        QCOMPARE(row.BeginAttrId, db().scalar(QStringLiteral("SELECT Id FROM CusAttrCode WHERE Code = 'NE'")).toLongLong());
        QCOMPARE(row.EndGroupCode, QStringLiteral("AREA") + TFaSelectAttrBase::highCharacter());
        QCOMPARE(TFaSelectAttrBase::highCharacter().size(), 1);
        // From the to column to the next row's from column (the last row stays).
        QTest::keyClick(g, Qt::Key_Return);
        if (area + 1 < g->rowCount()) {
            QCOMPARE(g->currentRow(), area + 1);
            QCOMPARE(g->currentColumn(), int(TFaSelectAttrBase::ColFrom));
        } else {
            QCOMPARE(g->currentRow(), area);
        }
        // Codes are cut to the width of the code column.
        typeIntoCell(area, TFaSelectAttrBase::ColTo, QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
        QCOMPARE(g->item(area, TFaSelectAttrBase::ColTo)->text(), QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
        QCOMPARE(d->Attr->codeWidth(), 20);
        // Clearing a code puts the group's end back.
        g->item(area, TFaSelectAttrBase::ColFrom)->setText(QString());
        QCOMPARE(d->Attr->rows().at(area).BeginGroupCode, QStringLiteral("AREA") + TFaSelectAttrBase::highCharacter());
        // A click on a description goes to the from column.
        const QRect r = g->visualItemRect(g->item(area, TFaSelectAttrBase::ColDescription));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(g->currentColumn(), int(TFaSelectAttrBase::ColFrom));
        // Leaving the grid gives the dialog its keys back.
        d->Code->setFocus();
        QVERIFY(d->keyPreview());
        QTest::keyClick(d->Code, Qt::Key_Return);
        QCOMPARE(d->searches, searchesBefore + 1);
    }

    void f5OpensTheGroupsCodes()
    {
        open();
        auto *g = d->Attr->DgAttr;
        const int area = rowOf(d->Attr, QStringLiteral("AREA"));
        QStringList listed, filtered;
        QTimer::singleShot(0, this, [&] {
            auto *lk = qobject_cast<TFrSearch *>(QApplication::activeModalWidget());
            QVERIFY(lk);
            for (int r = 0; r < lk->result()->rowCount(); ++r)
                listed << dbText(lk->result()->value(r, QStringLiteral("Code")));
            // Each change of the text searches again, by description or code.
            lk->Code->setText(QStringLiteral("ใต้"));
            for (int r = 0; r < lk->result()->rowCount(); ++r)
                filtered << dbText(lk->result()->value(r, QStringLiteral("Code")));
            lk->DgSearch->setFocus();
            QTest::keyClick(lk->DgSearch, Qt::Key_Return);
        });
        g->setFocus();
        g->setCurrentCell(area, TFaSelectAttrBase::ColTo);
        QTest::keyClick(g, Qt::Key_F5);
        std::sort(listed.begin(), listed.end());
        QCOMPARE(listed, (QStringList{QStringLiteral("N"), QStringLiteral("NE"), QStringLiteral("S")}));
        QCOMPARE(filtered, QStringList{QStringLiteral("S")});
        QCOMPARE(g->item(area, TFaSelectAttrBase::ColTo)->text(), QStringLiteral("S"));
        QCOMPARE(d->Attr->rows().at(area).EndGroupCode, QStringLiteral("AREAS"));
        // A module may answer the look-up itself.
        d->Attr->CodeLookup = [](qint64) { return QStringLiteral("n"); };
        g->setCurrentCell(area, TFaSelectAttrBase::ColFrom);
        QTest::keyClick(g, Qt::Key_F5);
        QCOMPARE(g->item(area, TFaSelectAttrBase::ColFrom)->text(), QStringLiteral("N"));
    }

    void productGroupsOfOneType_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QStringList>("groups");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QStringList>("products");
        QTest::newRow("type 1, white") << 1 << QStringList{QStringLiteral("COLOR"), QStringLiteral("SIZE")} << QStringLiteral("WHITE")
                                       << QStringList{QStringLiteral("P0003")};
        QTest::newRow("type 1, red") << 1 << QStringList{QStringLiteral("COLOR"), QStringLiteral("SIZE")} << QStringLiteral("RED")
                                     << QStringList{};
        QTest::newRow("type 2") << 2 << QStringList{QStringLiteral("GRADE")} << QString() << QStringList{};
    }
    void productGroupsOfOneType()
    {
        QFETCH(int, type);
        QFETCH(QStringList, groups);
        QFETCH(QString, from);
        QFETCH(QStringList, products);
        db().exec(QStringLiteral("INSERT INTO ProdAttrGroup (Code, Description, ProductType) VALUES ('GRADE', 'เกรด', 2)"));
        TFaSelectProdAttr f;
        f.GetType = type;
        f.open();
        QStringList got;
        for (const auto &r : f.rows())
            got << r.Code;
        std::sort(got.begin(), got.end());
        QCOMPARE(got, groups);
        QCOMPARE(f.DgAttr->horizontalHeaderItem(0)->text(), QStringLiteral("คุณสมบัติสินค้า"));
        if (from.isEmpty())
            return;
        const int color = rowOf(&f, QStringLiteral("COLOR"));
        f.setCell(color, TFaSelectAttrBase::ColFrom, from);
        f.setCell(color, TFaSelectAttrBase::ColTo, from);
        SqlConditions c;
        f.addConditions(c);
        QCOMPARE(c.lines().size(), 1);
        auto q = db().exec(QStringLiteral("SELECT Code FROM Product WHERE 1 = 1 ") + c.lines().join(QLatin1Char(' ')) + QStringLiteral(" ORDER BY Code"), c.params());
        QStringList found;
        while (q.next())
            found << q.value(0).toString();
        QCOMPARE(found, products);
    }
};

QTEST_MAIN(TstAttrFrame)
#include "tst_attrframe.moc"
