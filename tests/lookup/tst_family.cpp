#include "TestEnv.h"
#include "TypeText.h"
#include "lookup/PagedQueryModel.h"
#include "lookup/TF_SearchSalesman.h"
#include "lookup/TF_SearchWareHouse.h"
#include "lookup/TFrSearchAcNoDetail.h"
#include "lookup/TFrSearchEmployee.h"
#include "lookup/TFrSearchLotNo.h"
#include "lookup/TFrSearchProject.h"
#include "lookup/TFrSearchUnit.h"
#include "lookup/TFrSearchUser.h"
#include "lookup/TFrSearchVendor.h"
#include "lookup/TFrSearchWareHouse.h"
#include "lookup/TFaSelectAttr.h"
#include "lookup/TF_SearchCustomer.h"
#include "lookup/TF_SearchProduct.h"
#include "lookup/TFrPreviewDetailMfg.h"
#include "lookup/TFrSearchBarCode.h"
#include "lookup/TFrSearchProductService.h"
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTableWidget>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QtTest>

// The look-up family driven as a user drives it: type into the boxes, Enter, read
// the rows listed, choose one.
class TstFamily : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TestSession> s;
    std::unique_ptr<TFrSearch> d;

    Connection &db() { return s->dm->DMDATA(); }
    int year() const { return QDate::currentDate().year(); }
    template <class D> D *open(D *dialog)
    {
        d.reset(dialog);
        d->show();
        if (!QTest::qWaitForWindowActive(d.get()))
            qWarning("look-up not active");
        return dialog;
    }
    void type(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        box->clear();
        typeText(box, text);
    }
    void enter() { QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : d->Code, Qt::Key_Return); }
    QStringList column(const QString &name = QStringLiteral("Code"))
    {
        QStringList out;
        for (int r = 0; r < d->result()->rowCount(); ++r)
            out << dbText(d->result()->value(r, name)).trimmed();
        return out;
    }
    QString choose(int row)
    {
        d->DgSearch->setFocus();
        d->DgSearch->selectRow(row);
        QTest::keyClick(d->DgSearch, Qt::Key_Return);
        return d->ReturnValue;
    }
    void setConfig(const QString &column, const QString &value)
    {
        db().exec(QStringLiteral("UPDATE Config SET %1 = :v").arg(column), {{QStringLiteral("v"), value}});
        s->dm->ReopenConfig();
    }

private slots:
    void initTestCase() { QLX_REQUIRE_ENGINE(); }
    void init()
    {
        env = std::make_unique<TestEnv>();
        s = std::make_unique<TestSession>();
        s->cfg->IsThai = true;
        TFrSearch::resetSortState();
        // A storage location and a blocked warehouse beside the demo's two warehouses.
        db().exec(QStringLiteral("INSERT INTO Warehouse (Code, Name, flagin, flagout, Blocked, IsLocation) VALUES "
                                 "('LOC-A1', 'ชั้นวาง A1', 'Y', 'Y', 'N', 'Y'), ('WH09', 'คลังเก่า (ระงับ)', 'N', 'N', 'Y', 'N')"));
    }
    void cleanup()
    {
        d.reset();
        s.reset();
        env.reset();
    }

    void englishCaptions_data()
    {
        QTest::addColumn<int>("dialog");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("someCaption");
        QTest::addColumn<QStringList>("data"); // Thai that is data, not a caption
        QTest::newRow("product and service") << 0 << QStringLiteral("Search Product Code") << QStringLiteral("Finish Good/Raw Material") << QStringList{};
        QTest::newRow("product") << 1 << QStringLiteral("Search Product") << QStringLiteral("Product Name") << QStringList{};
        QTest::newRow("barcode") << 2 << QStringLiteral("Search Product Barcode") << QStringLiteral("To Deliver") << QStringList{};
        QTest::newRow("customer") << 3 << QStringLiteral("Search Customer/Member") << QStringLiteral("Province") << QStringList{};
        QTest::newRow("vendor") << 4 << QStringLiteral("Search Vendor Code") << QStringLiteral("Credit (Days)") << QStringList{};
        QTest::newRow("employee") << 5 << QStringLiteral("Search Employee") << QStringLiteral("Employee Name") << QStringList{};
        QTest::newRow("account") << 6 << QStringLiteral("Search Account Code") << QStringLiteral("English Name") << QStringList{};
        QTest::newRow("unit") << 7 << QStringLiteral("Search Product Unit") << QStringLiteral("Fraction") << QStringList{};
        QTest::newRow("lot") << 8 << QStringLiteral("Search Lot No.") << QStringLiteral("Expiry Date") << QStringList{};
        QTest::newRow("storage location") << 9 << QStringLiteral("Searching WareHouse") << QStringLiteral("Search Code or Name") << QStringList{};
        QTest::newRow("warehouse") << 10 << QStringLiteral("Search Warehouse Code") << QStringLiteral("Warehouse Name") << QStringList{};
        QTest::newRow("salesman") << 11 << QStringLiteral("Search Salesman") << QStringLiteral("Surname") << QStringList{};
        QTest::newRow("attribute code") << 12 << QStringLiteral("Search Product Attribute") << QStringLiteral("Whole Word") << QStringList{};
        QTest::newRow("production detail") << 13 << QStringLiteral("Production Detail") << QStringLiteral("Total Outstanding : 0 ชิ้น")
                                           << QStringList{QStringLiteral("เหล็กเส้นกลม 12 มม."), QStringLiteral("ชิ้น")};
    }
    // With a user who is not Thai, no caption, button, box title or column title of
    // the family is left in Thai (data, such as a unit name, may be).
    void englishCaptions()
    {
        QFETCH(int, dialog);
        QFETCH(QString, title);
        QFETCH(QString, someCaption);
        QFETCH(QStringList, data);
        s->cfg->IsThai = false;
        TFrSearch *lk = nullptr;
        switch (dialog) {
        case 0: lk = new TFrSearchProductService; break;
        case 1: lk = new TF_SearchProduct; break;
        case 2: lk = new TFrSearchBarCode; break;
        case 3: lk = new TF_SearchCustomer; break;
        case 4: lk = new TFrSearchVendor; break;
        case 5: lk = new TFrSearchEmployee; break;
        case 6: lk = new TFrSearchAcNoDetail; break;
        case 7: { auto *u = new TFrSearchUnit; u->ProductId = 1; lk = u; break; }
        case 8: lk = new TFrSearchLotNo; break;
        case 9: lk = new TF_SearchWareHouse; break;
        case 10: lk = new TFrSearchWareHouse; break;
        case 11: lk = new TF_SearchSalesman; break;
        case 12: { auto *a = new TFrSearchProdAttrCode; a->GroupId = 1; lk = a; break; }
        case 13: { auto *m = new TFrPreviewDetailMfg; m->ProductCode = QStringLiteral("P0002"); lk = m; break; }
        }
        open(lk);
        // Column titles show once there are columns.
        if (!d->result()->isOpen()) {
            d->Code->setText(QString());
            d->Search();
        }
        QStringList captions{d->windowTitle()};
        for (QLabel *l : d->findChildren<QLabel *>())
            if (l->isVisibleTo(d.get()))
                captions << l->text();
        for (QAbstractButton *b : d->findChildren<QAbstractButton *>())
            if (b->isVisibleTo(d.get()))
                captions << b->text();
        for (QGroupBox *g : d->findChildren<QGroupBox *>())
            captions << g->title();
        for (QComboBox *c : d->findChildren<QComboBox *>())
            for (int i = 0; i < c->count(); ++i)
                captions << c->itemText(i);
        for (QTableWidget *w : d->findChildren<QTableWidget *>())
            for (int i = 0; i < w->columnCount(); ++i)
                if (w->horizontalHeaderItem(i))
                    captions << w->horizontalHeaderItem(i)->text();
        QHeaderView *h = d->DgSearch->horizontalHeader();
        for (int c = 0; c < h->count(); ++c)
            if (!d->DgSearch->isColumnHidden(c))
                captions << d->DgSearch->model()->headerData(c, Qt::Horizontal).toString();
        QCOMPARE(d->windowTitle(), title);
        QVERIFY2(captions.contains(someCaption), qPrintable(captions.join(QLatin1String(" | "))));
        const QRegularExpression thai(QStringLiteral("[\u0E00-\u0E7F]"));
        QStringList left;
        for (QString c : captions) {
            for (const QString &value : data)
                c.remove(value);
            if (c.contains(thai))
                left << c;
        }
        QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1String(" | "))));
    }

    void project_data()
    {
        QTest::addColumn<QString>("preset");
        QTest::addColumn<bool>("hideBlocked");
        QTest::addColumn<QString>("radio");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("customer");
        QTest::addColumn<QStringList>("codes");
        const QStringList all{QStringLiteral("PJ0004"), QStringLiteral("PJ0003"), QStringLiteral("PJ0002"), QStringLiteral("PJ0001")};
        QTest::newRow("all, newest first") << QString() << true << QString() << QString() << QString() << QString() << all;
        QTest::newRow("closed preset") << QStringLiteral("Y") << true << QString() << QString() << QString() << QString() << QStringList{QStringLiteral("PJ0002")};
        QTest::newRow("open preset") << QStringLiteral("N") << true << QString() << QString() << QString() << QString()
                                     << QStringList{QStringLiteral("PJ0004"), QStringLiteral("PJ0003"), QStringLiteral("PJ0001")};
        QTest::newRow("blocked preset without hide") << QString() << false << QString() << QString() << QString() << QString() << QStringList{QStringLiteral("PJ0003")};
        QTest::newRow("closed button") << QString() << true << QStringLiteral("RbClosed") << QString() << QString() << QString() << QStringList{QStringLiteral("PJ0002")};
        QTest::newRow("all button after open preset") << QStringLiteral("N") << true << QStringLiteral("RbAll") << QString() << QString() << QString() << all;
        QTest::newRow("code typed in lower case") << QString() << true << QString() << QStringLiteral("pj0001") << QString() << QString() << QStringList{QStringLiteral("PJ0001")};
        QTest::newRow("name contains") << QString() << true << QString() << QString() << QStringLiteral("ขอนแก่น") << QString() << QStringList{QStringLiteral("PJ0003")};
        QTest::newRow("customer contains") << QString() << true << QString() << QString() << QString() << QStringLiteral("เชียงใหม่") << QStringList{QStringLiteral("PJ0002")};
        QTest::newRow("customer on a project without one") << QString() << true << QString() << QString() << QString() << QStringLiteral("บริษัท")
                                                          << QStringList{QStringLiteral("PJ0003"), QStringLiteral("PJ0001")};
    }
    void project()
    {
        QFETCH(QString, preset);
        QFETCH(bool, hideBlocked);
        QFETCH(QString, radio);
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, customer);
        QFETCH(QStringList, codes);
        // The printed demo project is not one of this test's rows.
        db().exec(QStringLiteral("DELETE FROM Project WHERE Code = 'PJDEMO0001'"));
        auto *p = new TFrSearchProject;
        p->ClosedStatus = preset;
        p->HideBlocked = hideBlocked;
        open(p);
        QCOMPARE(p->windowTitle(), QStringLiteral("ค้นหา หน่วยงานโครงการ"));
        QCOMPARE(p->RbBlocked->isVisible(), !hideBlocked);
        if (radio.isEmpty() && code.isEmpty() && name.isEmpty() && customer.isEmpty()) {
            QCOMPARE(column(), codes); // searched on show
        } else {
            if (!radio.isEmpty())
                QTest::mouseClick(p->findChild<QRadioButton *>(radio), Qt::LeftButton);
            type(p->EdProjectCode, code);
            type(p->Code, name);
            type(p->EdCusName, customer);
            enter();
            QCOMPARE(column(), codes);
        }
        QCOMPARE(choose(0), codes.first());
        QCOMPARE(d->QDialog::result(), int(QDialog::Accepted));
    }

    void employee_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("active only") << QString() << QStringList{QStringLiteral("E001"), QStringLiteral("E002")};
        QTest::newRow("name contains") << QStringLiteral("มาลี") << QStringList{QStringLiteral("E002")};
        QTest::newRow("an inactive name") << QStringLiteral("เกษม") << QStringList{};
    }
    void employee()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, codes);
        open(new TFrSearchEmployee);
        QCOMPARE(column(), (QStringList{QStringLiteral("E001"), QStringLiteral("E002")}));
        type(d->Code, name);
        enter();
        QCOMPARE(column(), codes);
        QCOMPARE(choose(0), codes.value(0));
    }

    void user_data()
    {
        QTest::addColumn<bool>("thai");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("prefix") << true << QStringLiteral("ผู้ดูแล") << QStringList{QStringLiteral("ADMIN"), QStringLiteral("ADMOLD")};
        QTest::newRow("not inside the name") << true << QStringLiteral("ดูแล") << QStringList{};
        QTest::newRow("english") << false << QStringLiteral("English") << QStringList{QStringLiteral("ENGLISH")};
    }
    void user()
    {
        QFETCH(bool, thai);
        QFETCH(QString, name);
        QFETCH(QStringList, codes);
        s->cfg->IsThai = thai;
        open(new TFrSearchUser);
        QCOMPARE(d->windowTitle(), thai ? QStringLiteral("ค้นหาผู้ใช้งาน") : QStringLiteral("Searching User ID"));
        QCOMPARE(d->result()->rowCount(), 0); // nothing on show
        type(d->Code, name);
        enter();
        QCOMPARE(column(), codes);
        if (codes.contains(QStringLiteral("ADMOLD"))) {
            // A former user is drawn red.
            const int r = int(codes.indexOf(QStringLiteral("ADMOLD")));
            QCOMPARE(d->result()->index(r, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::red));
        }
        QCOMPARE(choose(0), codes.value(0));
    }

    void account_data()
    {
        QTest::addColumn<QString>("acType");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("thai");
        QTest::addColumn<QString>("eng");
        QTest::addColumn<QStringList>("codes");
        const QString none;
        QTest::newRow("detail") << QStringLiteral("D") << none << none << none
                                << QStringList{QStringLiteral("1101"), QStringLiteral("1102"), QStringLiteral("2101"), QStringLiteral("4101")};
        QTest::newRow("groups") << QStringLiteral("G") << none << none << none << QStringList{QStringLiteral("1000"), QStringLiteral("2000")};
        QTest::newRow("every account") << QStringLiteral(" ") << none << none << none
                                       << QStringList{QStringLiteral("1000"), QStringLiteral("1101"), QStringLiteral("1102"), QStringLiteral("2000"),
                                                      QStringLiteral("2101"), QStringLiteral("4101")};
        QTest::newRow("from a code on") << QStringLiteral("D") << QStringLiteral("2000") << none << none
                                        << QStringList{QStringLiteral("2101"), QStringLiteral("4101")};
        QTest::newRow("thai name") << QStringLiteral("D") << none << QStringLiteral("เงิน") << none << QStringList{QStringLiteral("1101"), QStringLiteral("1102")};
        QTest::newRow("english name typed small") << QStringLiteral("D") << none << none << QStringLiteral("bank") << QStringList{QStringLiteral("1102")};
    }
    void account()
    {
        QFETCH(QString, acType);
        QFETCH(QString, code);
        QFETCH(QString, thai);
        QFETCH(QString, eng);
        QFETCH(QStringList, codes);
        auto *a = new TFrSearchAcNoDetail;
        a->AcType = acType;
        open(a);
        type(a->Code, code);
        type(a->EdNameThai, thai);
        type(a->EdNameEng, eng);
        enter();
        QCOMPARE(column(), codes);
        QCOMPARE(choose(int(codes.size()) - 1), codes.last());
    }

    void warehouseLeavingTheBoxSearches()
    {
        open(new TFrSearchWareHouse);
        QCOMPARE(d->windowTitle(), QStringLiteral("ค้นหารหัสคลังสินค้า"));
        QCOMPARE(d->result()->rowCount(), 0);
        type(d->Code, QStringLiteral("wh0"));
        QTest::keyClick(d->Code, Qt::Key_Tab);
        QStringList got = column();
        got.sort();
        QCOMPARE(got, (QStringList{QStringLiteral("WH01"), QStringLiteral("WH02"), QStringLiteral("WH09")}));
        type(d->Code, QStringLiteral("LOC"));
        enter();
        QCOMPARE(column(), QStringList{QStringLiteral("LOC-A1")});
        QCOMPARE(choose(0), QStringLiteral("LOC-A1"));
    }

    void salesman_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("surname");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("everyone") << QString() << QString() << QString()
                                  << QStringList{QStringLiteral("S001"), QStringLiteral("S002"), QStringLiteral("S003"), QStringLiteral("S004")};
        QTest::newRow("code prefix") << QStringLiteral("s00") << QString() << QString()
                                     << QStringList{QStringLiteral("S001"), QStringLiteral("S002"), QStringLiteral("S003"), QStringLiteral("S004")};
        QTest::newRow("name contains") << QString() << QStringLiteral("สม") << QString() << QStringList{QStringLiteral("S001"), QStringLiteral("S002")};
        QTest::newRow("surname contains") << QString() << QString() << QStringLiteral("รัก") << QStringList{QStringLiteral("S002")};
        QTest::newRow("name and surname") << QString() << QStringLiteral("สม") << QStringLiteral("ใจ") << QStringList{QStringLiteral("S001")};
    }
    void salesman()
    {
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QString, surname);
        QFETCH(QStringList, codes);
        auto *sm = open(new TF_SearchSalesman);
        QCOMPARE(d->result()->rowCount(), 0);
        QCOMPARE(QApplication::focusWidget(), sm->EdName);
        type(sm->Code, code);
        type(sm->EdName, name);
        type(sm->EdSurname, surname);
        enter();
        QCOMPARE(column(), codes);
        QCOMPARE(column(QStringLiteral("Description")).value(0), QStringLiteral("ฝ่ายขาย"));
        QCOMPARE(choose(0), codes.first());
    }

    void salesmanTitleChoosesTheNextOrder()
    {
        auto *sm = open(new TF_SearchSalesman);
        enter();
        const QStringList before = column();
        QHeaderView *h = d->DgSearch->horizontalHeader();
        const int c = d->result()->columnOf(QStringLiteral("Surname"));
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(c) + 5, h->height() / 2));
        QCOMPARE(sm->OrderColumn, QStringLiteral("S.SurName"));
        QCOMPARE(column(), before); // the click does not search
        sm->Code->setFocus();
        enter();
        QVERIFY(d->composedSql().endsWith(QStringLiteral("Order By S.SurName")));
        QCOMPARE(d->result()->rowCount(), 4);
        // A new showing starts again from the code order with empty boxes.
        sm->EdName->setText(QStringLiteral("สม"));
        sm->hide();
        sm->show();
        QVERIFY(QTest::qWaitForWindowActive(sm));
        QCOMPARE(sm->OrderColumn, QStringLiteral("S.Code"));
        QVERIFY(sm->EdName->text().isEmpty());
        QCOMPARE(d->result()->rowCount(), 0);
    }

    void unit_data()
    {
        QTest::addColumn<bool>("purc");
        QTest::addColumn<bool>("sale");
        QTest::addColumn<bool>("stock");
        QTest::addColumn<bool>("small");
        QTest::addColumn<QStringList>("units");
        const QString piece = QStringLiteral("ชิ้น"), dozen = QStringLiteral("โหล"), box = QStringLiteral("กล่อง");
        QTest::newRow("sale") << false << true << false << false << QStringList{piece, dozen};
        QTest::newRow("purchase") << true << false << false << false << QStringList{dozen, box};
        QTest::newRow("stock") << false << false << true << false << QStringList{dozen};
        QTest::newRow("smallest") << false << false << false << true << QStringList{piece};
        QTest::newRow("sale or stock") << false << true << true << false << QStringList{piece, dozen};
        QTest::newRow("none chosen") << false << false << false << false << QStringList{};
    }
    void unit()
    {
        QFETCH(bool, purc);
        QFETCH(bool, sale);
        QFETCH(bool, stock);
        QFETCH(bool, small);
        QFETCH(QStringList, units);
        auto *u = new TFrSearchUnit;
        u->ProductId = db().scalar(QStringLiteral("SELECT Id FROM Product WHERE Code = 'P0001'")).toLongLong();
        u->PurcFlag = purc;
        u->SaleFlag = sale;
        u->StockUnitFlag = stock;
        u->SmallUnitFlag = small;
        open(u);
        QCOMPARE(u->windowTitle(), QStringLiteral("ค้นหาหน่วยนับ"));
        QCOMPARE(column(QStringLiteral("UnitName")), units);
        QCOMPARE(choose(int(units.size()) - 1), units.value(units.size() - 1));
    }

    void lot_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("condition");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QStringList>("codes");
        const int y = QDate::currentDate().year();
        QTest::newRow("no condition ignores the date") << QString() << QString() << QStringLiteral("-") << QDate(y, 2, 28)
                                                       << QStringList{QStringLiteral("L2401"), QStringLiteral("L2402"), QStringLiteral("L2403"), QStringLiteral("LX001")};
        QTest::newRow("on or after, with lots that never expire") << QString() << QString() << QStringLiteral(">=") << QDate(y, 2, 28)
                                                                  << QStringList{QStringLiteral("L2402"), QStringLiteral("L2403"), QStringLiteral("LX001")};
        QTest::newRow("on or before") << QString() << QString() << QStringLiteral("<=") << QDate(y, 1, 31) << QStringList{QStringLiteral("L2401"), QStringLiteral("LX001")};
        QTest::newRow("on the day") << QString() << QString() << QStringLiteral("=") << QDate(y, 3, 31) << QStringList{QStringLiteral("L2403"), QStringLiteral("LX001")};
        QTest::newRow("code prefix") << QStringLiteral("lx") << QString() << QStringLiteral("-") << QDate() << QStringList{QStringLiteral("LX001")};
        QTest::newRow("description prefix") << QString() << QStringLiteral("ล็อตปูน") << QStringLiteral("-") << QDate()
                                            << QStringList{QStringLiteral("L2401"), QStringLiteral("L2402")};
    }
    void lot()
    {
        QFETCH(QString, code);
        QFETCH(QString, description);
        QFETCH(QString, condition);
        QFETCH(QDate, date);
        QFETCH(QStringList, codes);
        auto *l = open(new TFrSearchLotNo);
        QCOMPARE(l->CbCondition->currentText(), QStringLiteral("-"));
        QVERIFY(!l->EdExpiredDate->isEnabled());
        type(l->Code, code);
        type(l->EdDescription, description);
        l->CbCondition->setCurrentText(condition);
        QCOMPARE(l->EdExpiredDate->isEnabled(), condition != QLatin1String("-"));
        if (date.isValid())
            l->EdExpiredDate->setDate(date);
        l->Code->setFocus();
        enter();
        QCOMPARE(column(), codes);
        const QString last = codes.last();
        QCOMPARE(choose(int(codes.size()) - 1), last);
        QCOMPARE(l->ReturnId, db().scalar(QStringLiteral("SELECT Id FROM LotNo WHERE Code = :c"), {{QStringLiteral("c"), last}}).toLongLong());
    }

    void storageLocations_data()
    {
        QTest::addColumn<bool>("activeOnly");
        QTest::addColumn<int>("location");
        QTest::addColumn<QString>("userCheck");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("codes");
        const QString loc = QStringLiteral("LOC-A1"), w1 = QStringLiteral("WH01"), w2 = QStringLiteral("WH02"), w9 = QStringLiteral("WH09");
        QTest::newRow("no flags") << false << 0 << QStringLiteral("N") << QString() << QStringList{loc, w1, w2, w9};
        QTest::newRow("active only") << true << 0 << QStringLiteral("N") << QString() << QStringList{loc, w1, w2};
        QTest::newRow("warehouses") << false << 1 << QStringLiteral("N") << QString() << QStringList{w1, w2, w9};
        QTest::newRow("storage locations") << false << 2 << QStringLiteral("N") << QString() << QStringList{loc};
        QTest::newRow("granted to the user") << true << 0 << QStringLiteral("Y") << QString() << QStringList{w1};
        QTest::newRow("grants need active-only") << false << 0 << QStringLiteral("Y") << QString() << QStringList{loc, w1, w2, w9};
        QTest::newRow("name contains") << false << 0 << QStringLiteral("N") << QStringLiteral("คลัง") << QStringList{w1, w2, w9};
        QTest::newRow("code contains, small letters") << false << 0 << QStringLiteral("N") << QStringLiteral("h0") << QStringList{w1, w2, w9};
    }
    void storageLocations()
    {
        QFETCH(bool, activeOnly);
        QFETCH(int, location);
        QFETCH(QString, userCheck);
        QFETCH(QString, text);
        QFETCH(QStringList, codes);
        setConfig(QStringLiteral("CheckUserWarehouseFlag"), userCheck);
        auto *w = new TF_SearchWareHouse;
        w->ActiveOnly = activeOnly;
        w->LocationFilter = location;
        open(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("ค้นหาตำแหน่งเก็บ"));
        if (!text.isEmpty()) {
            type(w->Code, text);
            enter();
        }
        QCOMPARE(column(), codes);
        QCOMPARE(choose(0), codes.first());
    }

    void vendor_data()
    {
        QTest::addColumn<bool>("seeImport");
        QTest::addColumn<bool>("includeBlocked");
        QTest::addColumn<QString>("companyDb");
        QTest::addColumn<QString>("userCode");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("codes");
        const QString v1 = QStringLiteral("V0001"), v2 = QStringLiteral("V0002"), v3 = QStringLiteral("V0003"), v4 = QStringLiteral("V0004"),
                      z1 = QStringLiteral("Z0001"), demo = QStringLiteral("DEMO"), wqn = QStringLiteral("WQN");
        QTest::newRow("no imports, no blocked") << false << false << demo << QStringLiteral("CLERK") << QString() << QString() << QStringList{v1, v3, z1};
        QTest::newRow("user sees imports") << true << false << demo << QStringLiteral("ADMIN") << QString() << QString() << QStringList{v1, v2, v3, z1};
        QTest::newRow("include blocked") << false << true << demo << QStringLiteral("CLERK") << QString() << QString() << QStringList{v1, v3, v4, z1};
        QTest::newRow("code prefix") << true << true << demo << QStringLiteral("ADMIN") << QStringLiteral("v") << QString() << QStringList{v1, v2, v3, v4};
        QTest::newRow("name contains") << false << false << demo << QStringLiteral("CLERK") << QString() << QStringLiteral("ร้าน") << QStringList{v3, z1};
        QTest::newRow("WQN, AMS user: Z only") << true << false << wqn << QStringLiteral("AMS01") << QString() << QString() << QStringList{z1};
        QTest::newRow("WQN, STD user: Z only") << true << false << wqn << QStringLiteral("STD9") << QString() << QString() << QStringList{z1};
        QTest::newRow("WQN, other user") << true << false << wqn << QStringLiteral("ADMIN") << QString() << QString() << QStringList{v1, v2, v3, z1};
        QTest::newRow("AMS user elsewhere") << true << false << demo << QStringLiteral("AMS01") << QString() << QString() << QStringList{v1, v2, v3, z1};
    }
    void vendor()
    {
        QFETCH(bool, seeImport);
        QFETCH(bool, includeBlocked);
        QFETCH(QString, companyDb);
        QFETCH(QString, userCode);
        QFETCH(QString, code);
        QFETCH(QString, name);
        QFETCH(QStringList, codes);
        db().scalar(QStringLiteral("SELECT COUNT(*) FROM Vendor")); // the connection sets CompanyDbName on opening
        s->cfg->UserSeeImport = seeImport;
        s->cfg->UserCode = userCode;
        s->dm->CompanyDbName = companyDb;
        auto *v = new TFrSearchVendor;
        v->IncludeBlocked = includeBlocked;
        open(v);
        const bool fixed = companyDb == QLatin1String("WQN") && (userCode.startsWith(QLatin1String("AMS")) || userCode.startsWith(QLatin1String("STD")));
        QCOMPARE(v->Code->isEnabled(), !fixed);
        QCOMPARE(v->Code->text(), fixed ? QStringLiteral("Z") : QString());
        if (!fixed)
            type(v->Code, code);
        type(v->EdName, name);
        enter();
        QCOMPARE(column(), codes);
        if (codes.first() == QLatin1String("V0001"))
            QCOMPARE(column(QStringLiteral("Attention")).first(), QStringLiteral("คุณประเสริฐ"));
        QCOMPARE(choose(0), codes.first());
    }

    void vendorAttributeRange()
    {
        s->cfg->UserSeeImport = true;
        auto *v = open(new TFrSearchVendor);
        const int row = 0; // the one vendor group, ORIGIN
        v->FaVendorAttr->setCell(row, 1, QStringLiteral("IMPORT"));
        v->FaVendorAttr->setCell(row, 2, QStringLiteral("IMPORT"));
        v->Code->setFocus();
        enter();
        QCOMPARE(column(), QStringList{QStringLiteral("V0002")});
    }

    // A quote typed into any box is a value like any other.
    void quoteInEveryBox_data()
    {
        QTest::addColumn<int>("dialog");
        const char *names[] = {"project", "employee", "user", "account", "warehouse", "salesman", "lot", "storage", "vendor"};
        for (int i = 0; i < 9; ++i)
            QTest::newRow(names[i]) << i;
    }
    void quoteInEveryBox()
    {
        QFETCH(int, dialog);
        s->cfg->UserSeeImport = true;
        TFrSearch *f = nullptr;
        switch (dialog) {
        case 0: f = new TFrSearchProject; break;
        case 1: f = new TFrSearchEmployee; break;
        case 2: f = new TFrSearchUser; break;
        case 3: f = new TFrSearchAcNoDetail; break;
        case 4: f = new TFrSearchWareHouse; break;
        case 5: f = new TF_SearchSalesman; break;
        case 6: f = new TFrSearchLotNo; break;
        case 7: f = new TF_SearchWareHouse; break;
        default: f = new TFrSearchVendor; break;
        }
        open(f);
        const auto boxes = f->findChildren<QLineEdit *>();
        int typed = 0;
        for (QLineEdit *box : boxes) {
            if (!box->isVisible() || !box->isEnabled() || qobject_cast<QDateEdit *>(box->parentWidget()))
                continue;
            for (QLineEdit *other : boxes)
                if (other != box && other->isEnabled())
                    other->clear();
            type(box, QStringLiteral("O'HARA'; --"));
            enter();
            ++typed;
            QVERIFY2(s->dialogs->entries.isEmpty(), qPrintable(box->objectName() + QLatin1String(": ") + s->dialogs->texts().join(QLatin1Char('|'))));
            QCOMPARE(d->result()->rowCount(), 0);
        }
        QVERIFY(typed >= 1);
    }
};

QTEST_MAIN(TstFamily)
#include "tst_family.moc"
