#include "TestEnv.h"
#include "TypeText.h"
#include "lookup/PagedQueryModel.h"
#include "lookup/TCodeLookupEdit.h"
#include "lookup/TF_SearchSalesman.h"
#include "lookup/TFaGetDocNo.h"
#include "lookup/TFaGetEmployee.h"
#include "lookup/TFaGetProject.h"
#include "lookup/TFaGetProvince.h"
#include "lookup/TFaGetSalesman.h"
#include "lookup/TFrSearchProject.h"
#include "lookup/edit/RecordBuffer.h"
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

// The selector frames in a small window: type a code, leave the box, read what
// the frame kept and what it told the user.
class TstFrames : public QObject
{
    Q_OBJECT
    std::unique_ptr<TestEnv> env;
    std::unique_ptr<TestSession> s;
    std::unique_ptr<QWidget> w;
    QLineEdit *other = nullptr;

    template <class F> F *place(F *frame)
    {
        w = std::make_unique<QWidget>();
        auto *lay = new QVBoxLayout(w.get());
        frame->setParent(w.get());
        lay->addWidget(frame);
        other = new QLineEdit(w.get());
        other->setObjectName(QStringLiteral("other"));
        lay->addWidget(other);
        w->show();
        if (!QTest::qWaitForWindowActive(w.get()))
            qWarning("window not active");
        return frame;
    }
    void typeAndLeave(QLineEdit *box, const QString &code)
    {
        box->setFocus();
        box->clear();
        typeText(box, code);
        QTest::keyClick(box, Qt::Key_Tab);
        QTRY_VERIFY(!box->hasFocus());
    }
    // Answers the next modal look-up with the row of the given code (Escape when empty);
    // tells what it saw first.
    void answerLookup(const QString &code, std::function<void(TFrSearch *)> look = {})
    {
        QTimer::singleShot(0, this, [=] {
            auto *d = qobject_cast<TFrSearch *>(QApplication::activeModalWidget());
            if (!d) {
                answerLookup(code, look);
                return;
            }
            if (look)
                look(d);
            if (code.isEmpty()) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                return;
            }
            if (d->result()->rowCount() == 0) {
                d->Code->setFocus();
                QTest::keyClick(d->Code, Qt::Key_Return);
            }
            for (int r = 0; r < d->result()->rowCount(); ++r)
                if (dbText(d->result()->value(r, QStringLiteral("Code"))).trimmed() == code)
                    d->DgSearch->selectRow(r);
            d->DgSearch->setFocus();
            QTest::keyClick(d->DgSearch, Qt::Key_Return);
        });
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
        w.reset();
        s.reset();
        env.reset();
    }

    void salesmanOnLeaving_data()
    {
        QTest::addColumn<bool>("ownFilter");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("messages");
        const QStringList none;
        const QString stopped = QStringLiteral("พนักงานขาย ถูกระงับไปแล้ว  !");
        QTest::newRow("active") << true << QStringLiteral("s001") << QStringLiteral("S001") << QStringLiteral("สมชาย ใจดี") << none;
        QTest::newRow("inactive, refused by the box") << true << QStringLiteral("S003") << QString() << QStringLiteral("-") << none;
        QTest::newRow("inactive without the filter") << false << QStringLiteral("S003") << QString() << QStringLiteral("-") << QStringList{stopped};
        QTest::newRow("active without the filter") << false << QStringLiteral("S002") << QStringLiteral("S002") << QStringLiteral("สมหญิง รักงาน") << none;
        QTest::newRow("unknown") << false << QStringLiteral("S999") << QString() << QStringLiteral("-") << none;
    }
    void salesmanOnLeaving()
    {
        QFETCH(bool, ownFilter);
        QFETCH(QString, code);
        QFETCH(QString, kept);
        QFETCH(QString, name);
        QFETCH(QStringList, messages);
        auto *f = place(new TFaGetSalesman);
        QCOMPARE(f->caption(), QStringLiteral("รหัสพนักงานขาย"));
        QVERIFY(f->LbRequired->isVisible());
        if (!ownFilter)
            f->EdCode->K_Filter.clear();
        typeAndLeave(f->EdCode, code);
        QCOMPARE(f->code(), kept);
        QCOMPARE(f->LbName->text(), name);
        QCOMPARE(s->dialogs->texts(), messages);
        QCOMPARE(f->Salesman.Code, kept);
        if (kept == QLatin1String("S001")) {
            QCOMPARE(f->Salesman.Surname, QStringLiteral("ใจดี"));
            QCOMPARE(f->Salesman.Phone, QStringLiteral("02-555-0100"));
        }
    }

    void salesmanLookupIsKeptAndReset()
    {
        auto *f = place(new TFaGetSalesman);
        f->EdCode->setFocus();
        TF_SearchSalesman *first = nullptr;
        answerLookup(QStringLiteral("S002"), [&](TFrSearch *d) {
            first = qobject_cast<TF_SearchSalesman *>(d);
            QVERIFY(first);
            QCOMPARE(first->result()->rowCount(), 0); // nothing runs on show
            first->EdName->setText(QStringLiteral("สม"));
            first->OrderColumn = QStringLiteral("S.Name");
        });
        QTest::keyClick(f->EdCode, Qt::Key_F5);
        QCOMPARE(f->code(), QStringLiteral("S002"));
        QCOMPARE(f->searchDialog(), first);
        TF_SearchSalesman *second = nullptr;
        answerLookup(QString(), [&](TFrSearch *d) {
            second = qobject_cast<TF_SearchSalesman *>(d);
            QVERIFY(second->EdName->text().isEmpty());
            QCOMPARE(second->OrderColumn, QStringLiteral("S.Code"));
        });
        QTest::keyClick(f->EdCode, Qt::Key_F5);
        QCOMPARE(second, first);
        QCOMPARE(f->code(), QStringLiteral("S002"));
    }

    void projectOnLeaving_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("name");
        QTest::newRow("open project") << QStringLiteral("PJ0001") << QStringLiteral("PJ0001") << QStringLiteral("อาคารสำนักงาน สาทร");
        QTest::newRow("closed project") << QStringLiteral("PJ0002") << QStringLiteral("PJ0002") << QStringLiteral("หมู่บ้านจัดสรร เชียงใหม่");
        QTest::newRow("blocked project") << QStringLiteral("PJ0003") << QString() << QString();
        QTest::newRow("unknown") << QStringLiteral("PJ9999") << QString() << QString();
        QTest::newRow("empty allowed") << QString() << QString() << QString();
    }
    void projectOnLeaving()
    {
        QFETCH(QString, code);
        QFETCH(QString, kept);
        QFETCH(QString, name);
        auto *f = place(new TFaGetProject);
        typeAndLeave(f->EdCode, code);
        QCOMPARE(f->code(), kept);
        QCOMPARE(f->ProjectCode, kept);
        QCOMPARE(f->ProjectName, name);
        QCOMPARE(f->LbName->text(), name.isEmpty() ? QStringLiteral("-") : name);
        QVERIFY(s->dialogs->entries.isEmpty());
    }

    void projectLookupHidesBlocked()
    {
        auto *f = place(new TFaGetProject);
        f->EdCode->setFocus();
        bool blockedShown = true;
        answerLookup(QStringLiteral("PJ0002"), [&](TFrSearch *d) { blockedShown = static_cast<TFrSearchProject *>(d)->RbBlocked->isVisible(); });
        QTest::mouseClick(f->BtSearch, Qt::LeftButton);
        QVERIFY(!blockedShown);
        QCOMPARE(f->code(), QStringLiteral("PJ0002"));
        QCOMPARE(w->focusWidget(), f->EdCode);
    }

    void province_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("name");
        QTest::newRow("a province") << QStringLiteral("c02") << QStringLiteral("C02") << QStringLiteral("เชียงใหม่");
        QTest::newRow("a code of another group") << QStringLiteral("D01") << QString() << QStringLiteral("-");
    }
    void province()
    {
        QFETCH(QString, code);
        QFETCH(QString, kept);
        QFETCH(QString, name);
        auto *f = place(new TFaGetProvince);
        QCOMPARE(f->caption(), QStringLiteral("จังหวัด"));
        typeAndLeave(f->EdCode, code);
        QCOMPARE(f->code(), kept);
        QCOMPARE(f->LbName->text(), name);
    }

    void provinceLookup()
    {
        auto *f = place(new TFaGetProvince);
        f->EdCode->setFocus();
        QString title;
        int rows = 0;
        answerLookup(QStringLiteral("C06"), [&](TFrSearch *d) {
            title = d->windowTitle();
            rows = d->result()->rowCount();
        });
        QTest::keyClick(f->EdCode, Qt::Key_F5);
        QCOMPARE(title, QStringLiteral("ค้นหา รายชื่อจังหวัด"));
        QCOMPARE(rows, 6);
        QCOMPARE(f->code(), QStringLiteral("C06"));
    }

    void employee_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("name");
        QTest::newRow("found") << QStringLiteral("E002") << QStringLiteral("E002") << QStringLiteral("นางสาวมาลี สวยงาม");
        QTest::newRow("left the company, still a code") << QStringLiteral("E003") << QStringLiteral("E003") << QStringLiteral("นายเกษม พ้นสภาพ");
        QTest::newRow("unknown") << QStringLiteral("E777") << QString() << QString();
        QTest::newRow("a quote") << QStringLiteral("E'1") << QString() << QString();
    }
    void employee()
    {
        QFETCH(QString, code);
        QFETCH(QString, kept);
        QFETCH(QString, name);
        auto *f = place(new TFaGetEmployee);
        typeAndLeave(f->EdCode, code);
        QCOMPARE(f->code(), kept);
        QCOMPARE(f->EmployeeCode, kept);
        QCOMPARE(f->EmployeeName, name);
        QVERIFY(s->dialogs->entries.isEmpty());
    }

    void employeeLookupListsActiveOnly()
    {
        auto *f = place(new TFaGetEmployee);
        f->EdCode->setFocus();
        QStringList listed;
        answerLookup(QStringLiteral("E002"), [&](TFrSearch *d) {
            for (int r = 0; r < d->result()->rowCount(); ++r)
                listed << dbText(d->result()->value(r, QStringLiteral("code")));
        });
        QTest::keyClick(f->EdCode, Qt::Key_F5);
        QCOMPARE(listed, (QStringList{QStringLiteral("E001"), QStringLiteral("E002")}));
        QCOMPARE(f->code(), QStringLiteral("E002"));
    }

    void docNoOnLeaving_data()
    {
        QTest::addColumn<QStringList>("columns");
        QTest::addColumn<QString>("delFlag");
        QTest::addColumn<QString>("posted");
        QTest::addColumn<QString>("imported");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("cleared");
        const QStringList all{QStringLiteral("DelFlag"), QStringLiteral("Posted"), QStringLiteral("Imported")};
        const QString cancelled = QStringLiteral("เอกสารถูกยกเลิกแล้ว"), closed = QStringLiteral("เอกสารถูกปิดบัญชีแล้ว"),
                      other = QStringLiteral("เอกสารถูกถ่ายโอนมาจากระบบอื่น");
        QTest::newRow("ordinary") << all << "N" << "N" << "N" << QStringList{} << false;
        QTest::newRow("cancelled") << all << "Y" << "N" << "N" << QStringList{cancelled} << true;
        QTest::newRow("posted") << all << "N" << "Y" << "N" << QStringList{closed} << false;
        QTest::newRow("imported") << all << "N" << "N" << "Y" << QStringList{other} << true;
        QTest::newRow("cancelled and posted") << all << "Y" << "Y" << "N" << QStringList{cancelled, closed} << false;
        QTest::newRow("only a cancel flag") << QStringList{QStringLiteral("DelFlag")} << "Y" << "Y" << "Y" << QStringList{cancelled} << true;
        QTest::newRow("no flag columns") << QStringList{} << "Y" << "Y" << "Y" << QStringList{} << false;
    }
    void docNoOnLeaving()
    {
        QFETCH(QStringList, columns);
        QFETCH(QString, delFlag);
        QFETCH(QString, posted);
        QFETCH(QString, imported);
        QFETCH(QStringList, messages);
        QFETCH(bool, cleared);
        auto *f = place(new TFaGetDocNo);
        QCOMPARE(f->LbCaption->text(), QStringLiteral("เลขที่"));
        QCOMPARE(f->BtSearch->toolTip(), QStringLiteral("ค้นหาเลขที่เอกสาร"));
        RecordBuffer doc;
        doc.setFields(QStringList{QStringLiteral("Id"), QStringLiteral("DocNo")} + columns);
        f->Document = &doc;
        // The module loads the document in its own exit handler; the check follows it.
        int loads = 0;
        f->DocNoExit = [&] {
            ++loads;
            const QVariantMap flags{{QStringLiteral("DelFlag"), delFlag}, {QStringLiteral("Posted"), posted}, {QStringLiteral("Imported"), imported}};
            QVariantMap row{{QStringLiteral("DocNo"), f->docNo()}};
            for (const QString &c : columns)
                row.insert(c, flags.value(c));
            doc.startNew(row);
        };
        f->EdDocNo->setFocus();
        loads = 0;
        typeAndLeave(f->EdDocNo, QStringLiteral("iv6901-0001"));
        QCOMPARE(loads, 1);
        QCOMPARE(s->dialogs->texts(), messages);
        QCOMPARE(f->docNo(), cleared ? QString() : QStringLiteral("IV6901-0001"));
        QVERIFY(f->EdDocNo->isEnabled());
        // Moving within the window elsewhere does not check again.
        other->setFocus();
        QTest::keyClick(other, Qt::Key_Tab);
        QCOMPARE(loads, 1);
    }
};

QTEST_MAIN(TstFrames)
#include "tst_frames.moc"
