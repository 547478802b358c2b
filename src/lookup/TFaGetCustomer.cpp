#include "TFaGetCustomer.h"
#include "TCodeLookupEdit.h"
#include "TF_SearchCustomerPos.h"
#include "db/Connection.h"
#include "db/DbSettings.h"
#include "services/TDM.h"
#include "session/TDMConfig.h"
#include "session/UserDialogs.h"
#include <QEvent>
#include <QLabel>
#include <QSqlQuery>
#include <QTcpSocket>
#include <QTimer>
#include <QToolButton>

TFaGetCustomer::TFaGetCustomer(QWidget *parent) : TFaGetBase(parent)
{
    setCaption(QStringLiteral("รหัสลูกค้า"));
    BtSearch->setToolTip(QStringLiteral("ค้นหารหัสลูกค้า"));
    EdCode->K_LookupTableName = QStringLiteral("Customer");
    EdCode->K_LookupIDField = QStringLiteral("Id");
    EdCode->K_LookupEditField = QStringLiteral("Code");
    EdCode->K_DescriptionField = QStringLiteral("Name");
    // No row filter: a blocked customer is found and refused with its own message
    // rather than silently cleared as an unknown code.
    EdCode->K_AllowNull = false;
    makeUpperCase(EdCode);
}

TFaGetCustomer::~TFaGetCustomer() = default;

bool TFaGetCustomer::linkHead() const
{
    TDM *dm = TDM::instance();
    return dm && dm->config(QStringLiteral("UseCustomerLinkHead")).toString().trimmed() == QLatin1String("Y");
}

bool TFaGetCustomer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EdCode && event->type() == QEvent::FocusIn) {
        const TDMConfig *cfg = TDMConfig::instance();
        EdCode->K_DescriptionField = !cfg || cfg->IsThai ? QStringLiteral("Name") : QStringLiteral("EngName");
    }
    return TFaGetBase::eventFilter(watched, event);
}

TFrSearch *TFaGetCustomer::createLookup() { return new TF_SearchCustomer(window()); }

bool TFaGetCustomer::headOfficeReachable(const QString &host, const QString &database, int attempts)
{
    const DbSettings s = DbSettings::current();
    if (s.engine == EngineKind::Sqlite)
        return !Engine::resolveDatabase(database, s).isEmpty();
    const QString server = host.trimmed().isEmpty() ? s.host : host.trimmed();
    for (int i = 0; i < attempts; ++i) {
        QTcpSocket socket;
        socket.connectToHost(server, quint16(s.port));
        if (socket.waitForConnected(1000))
            return true;
    }
    return false;
}

bool TFaGetCustomer::openLookup()
{
    if (!linkHead())
        return TFaGetBase::openLookup();
    EdCode->setFocus();
    TDM *dm = TDM::instance();
    const QString dbName = dm->config(QStringLiteral("MainDbName")).toString().trimmed();
    const QString server = dm->config(QStringLiteral("MainServerIP")).toString().trimmed();
    try {
        if (!m_head)
            m_head = std::make_unique<Connection>(QStringLiteral("DBHead"));
        m_head->close();
        m_head->setDatabaseName(dbName);
        m_head->open();
    } catch (const DbError &e) {
        dm->ApplicationEvents1Exception(e.message());
        return false;
    }
    if (!m_headSearch)
        m_headSearch = std::make_unique<TF_SearchCustomerPos>(window());
    const bool online = headOfficeReachable(server, dbName, 4);
    m_headSearch->setHeadConnection(online ? m_head.get() : nullptr);
    const bool ok = m_headSearch->exec() == QDialog::Accepted && !m_headSearch->ReturnValue.isEmpty();
    const QString chosen = m_headSearch->ReturnValue.trimmed().toUpper();
    window()->activateWindow();
    EdCode->setFocus(Qt::OtherFocusReason);
    if (!ok)
        return false;
    if (online) {
        try {
            if (headOfficeReachable(server, dbName, 3))
                copyCustomerFromHead(*m_head, dm->DMDATA(), chosen);
        } catch (const DbError &e) {
            dm->ApplicationEvents1Exception(e.message());
            return false;
        }
    }
    EdCode->setText(chosen);
    emit EdCode->textEdited(chosen);
    EdCode->setFocus(Qt::OtherFocusReason);
    return true;
}

bool TFaGetCustomer::copyCustomerFromHead(Connection &head, Connection &company, const QString &code)
{
    QSqlQuery h = head.exec(
        QStringLiteral("Select C.Code, C.Name, C.EngName, C.Address1, C.Address2, C.Address3, C.Zip, C.Telephone, C.Fax,"
                       " C.CreditLimit, C.CreditDays, C.TaxNo, C.Blocked, C.DelFlag, C.Email,"
                       " G.Code CustomerGroupCode, S.Code SalesmanCode, P.Code ProvinceCode, P.Description ProvinceName, T.Code TaxCodeCode"
                       " From Customer C Left Join CustomerGroup G On G.Id = C.CustomerGroup Left Join Salesman S On S.Id = C.Salesman"
                       " Left Join Misc P On P.Id = C.Province Left Join Tax T On T.Id = C.TaxCode Where C.Code = :Code"),
        {{QStringLiteral("Code"), code.trimmed().toUpper()}});
    if (!h.next())
        return false;
    auto v = [&h](const char *name) { return h.value(QLatin1String(name)); };
    auto localId = [&company](const QString &sql, const QVariant &value, const QString &fallback) -> QVariant {
        QVariant id;
        if (!dbText(value).trimmed().isEmpty())
            id = company.scalar(sql, {{QStringLiteral("Code"), dbText(value).trimmed()}});
        if ((id.isNull() || !id.isValid()) && !fallback.isEmpty())
            id = company.scalar(fallback);
        return id;
    };

    Transaction tx(company);
    const QVariant group = localId(QStringLiteral("Select Id From CustomerGroup Where Code = :Code"), v("CustomerGroupCode"),
                                   QStringLiteral("Select Min(Id) From CustomerGroup"));
    const QVariant salesman = localId(QStringLiteral("Select Id From Salesman Where Code = :Code"), v("SalesmanCode"),
                                      QStringLiteral("Select Min(Id) From Salesman"));
    const QVariant tax = localId(QStringLiteral("Select Id From Tax Where Code = :Code"), v("TaxCodeCode"), QString());
    QVariant province;
    const QString provinceCode = dbText(v("ProvinceCode")).trimmed();
    if (!provinceCode.isEmpty()) {
        const Params p{{QStringLiteral("Code"), provinceCode}, {QStringLiteral("GroupCode"), TF_SearchCustomer::provinceGroup()}};
        province = company.scalar(QStringLiteral("Select Id From Misc Where GroupCode = :GroupCode And Code = :Code"), p);
        if (province.isNull() || !province.isValid())
            province = company.insertReturningId(
                QStringLiteral("Insert Into Misc (GroupCode, Code, Description, Blocked) Values (:GroupCode, :Code, :Description, 'N')"),
                {{QStringLiteral("GroupCode"), TF_SearchCustomer::provinceGroup()}, {QStringLiteral("Code"), provinceCode},
                 {QStringLiteral("Description"), v("ProvinceName")}});
    }
    const QStringList copied{QStringLiteral("Name"), QStringLiteral("EngName"), QStringLiteral("Address1"), QStringLiteral("Address2"),
                             QStringLiteral("Address3"), QStringLiteral("Zip"), QStringLiteral("Telephone"), QStringLiteral("Fax"),
                             QStringLiteral("CreditLimit"), QStringLiteral("CreditDays"), QStringLiteral("TaxNo"), QStringLiteral("Blocked"),
                             QStringLiteral("DelFlag"), QStringLiteral("Email")};
    Params p{{QStringLiteral("Code"), dbText(v("Code")).trimmed()}, {QStringLiteral("CustomerGroup"), group},
             {QStringLiteral("Salesman"), salesman}, {QStringLiteral("Province"), province}, {QStringLiteral("TaxCode"), tax},
             {QStringLiteral("HeadCode"), QVariant()}, {QStringLiteral("Vendor"), QVariant()}};
    for (const QString &c : copied)
        p.insert(c, h.value(c));
    QStringList columns = p.keys();
    const QVariant existing = company.scalar(QStringLiteral("Select Id From Customer Where Code = :Code"), {{QStringLiteral("Code"), p.value(QStringLiteral("Code"))}});
    if (existing.isNull() || !existing.isValid()) {
        QStringList values;
        for (const QString &c : columns)
            values << QLatin1Char(':') + c;
        company.exec(QStringLiteral("Insert Into Customer (") + columns.join(QStringLiteral(", ")) + QStringLiteral(") Values (")
                         + values.join(QStringLiteral(", ")) + QLatin1Char(')'),
                     p);
    } else {
        QStringList sets;
        for (const QString &c : columns)
            sets << c + QStringLiteral(" = :") + c;
        p.insert(QStringLiteral("Id"), existing);
        company.exec(QStringLiteral("Update Customer Set ") + sets.join(QStringLiteral(", ")) + QStringLiteral(" Where Id = :Id"), p);
    }
    tx.commit();
    return true;
}

void TFaGetCustomer::readCustomer(const QString &code)
{
    QSqlQuery q = TDM::instance()->DMDATA().exec(
        QStringLiteral("Select C.*, S.Code SalesmanCode, S.Id SalesmanId, T.Id TaxId, T.Code CodeTax, T.Rate TaxRate"
                       " From Customer C Left Join Salesman S On S.Id = C.Salesman Left Join Tax T On T.Id = C.TaxCode"
                       " Where C.Code = :Code"),
        {{QStringLiteral("Code"), code}});
    CustomerRow = q.next() ? q.record() : QSqlRecord();
}

bool TFaGetCustomer::checkOnExit(qint64 id)
{
    Q_UNUSED(id);
    BtSearch->setEnabled(false);
    readCustomer(code());
    if (!CustomerRow.isEmpty() && EdCode->K_Filter.isEmpty() && dbText(CustomerRow.value(QStringLiteral("Blocked"))).trimmed() == QLatin1String("Y")) {
        ShowMessage(blockedMessage());
        CustomerRow = QSqlRecord();
        LbName->clear();
        QTimer::singleShot(0, EdCode, [e = EdCode] { e->setFocus(Qt::OtherFocusReason); });
        return false;
    }
    return true;
}
