#include "TF_SearchCustomer.h"
#include "PagedQueryModel.h"
#include "TCodeLookupEdit.h"
#include "TFaGet.h"
#include "TFaSelectAttr.h"
#include "services/TDM.h"
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSqlRecord>
#include <QTableView>

TF_SearchCustomer::TF_SearchCustomer(QWidget *parent) : TFrSearch(parent)
{
    setWindowTitle(QStringLiteral("ค้นหาลูกค้า/สมาชิก"));
    resize(820, 520);
    // The header's filter box is not used: the customer code has its own box.
    LbCode->hide();
    Code->hide();
    auto *form = new QFormLayout;
    auto box = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        return e;
    };
    EdName = box("EdName");
    EdNameEng = box("EdNameEng");
    EdCusCode = box("EdCusCode");
    makeUpperCase(EdCusCode);
    EdPhone = box("EdPhone");
    EdFax = box("EdFax");
    EdSalesman = new TCodeLookupEdit(this);
    EdSalesman->setObjectName(QStringLiteral("EdSalesman"));
    EdSalesman->K_LookupTableName = QStringLiteral("Salesman");
    EdSalesman->K_DescriptionField = QStringLiteral("Name");
    auto *lbSalesName = new QLabel(this);
    EdSalesman->K_DescriptionLabel = lbSalesName;
    makeUpperCase(EdSalesman);
    auto *sales = new QHBoxLayout;
    sales->addWidget(EdSalesman);
    sales->addWidget(lbSalesName, 1);
    FaProvince = new TFaGetMisc(this);
    FaProvince->setGroupCode(provinceGroup());
    FaProvince->setCaption(QString());
    FaProvince->LbName->clear();
    FaProvince->EdCode->K_AllowNull = true;
    form->addRow(QStringLiteral("ชื่อลูกค้า (ไทย)"), EdName);
    form->addRow(QStringLiteral("ชื่อลูกค้า (อังกฤษ)"), EdNameEng);
    form->addRow(QStringLiteral("รหัสลูกค้า"), EdCusCode);
    form->addRow(QStringLiteral("โทรศัพท์"), EdPhone);
    form->addRow(QStringLiteral("แฟกซ์"), EdFax);
    form->addRow(QStringLiteral("พนักงานขาย"), sales);
    form->addRow(QStringLiteral("จังหวัด"), FaProvince);
    auto *row = new QHBoxLayout;
    row->addLayout(form, 1);
    FaAttr = new TFaSelectCustomerAttr(this);
    FaAttr->KeyExpression = QStringLiteral("C.Id");
    row->addWidget(FaAttr, 1);
    FilterArea->addLayout(row);
    setTabOrder(EdName, EdNameEng);
    setTabOrder(EdNameEng, EdCusCode);
    setTabOrder(EdCusCode, EdPhone);
    setTabOrder(EdPhone, EdFax);
    setTabOrder(EdFax, EdSalesman);

    SQL = {QStringLiteral("Select C.Id, C.Code, C.Name, C.EngName NameEng,"),
           QStringLiteral("Trim(Coalesce(C.Address1,'')) || ' ' || Trim(Coalesce(C.Address2,'')) || ' ' || Trim(Coalesce(C.Address3,''))"
                          " || ' ' || Coalesce(P.Description,'') Description,"),
           QStringLiteral("S.Name SalesName, C.Telephone PhoneNO, C.Fax FaxNO"),
           QStringLiteral("From Customer C"),
           QStringLiteral("Inner Join Misc P On (P.Id = C.Province) And (P.Code Like :ProvinceCode)"),
           QStringLiteral("Inner Join Salesman S On (S.Id = C.Salesman) And (S.Code Like :SalesCode)"),
           QStringLiteral("Where (C.Blocked = 'N')"),
           QStringLiteral("Order By C.Code")};
    setKeyPreview(true);
    DgSearch->horizontalHeader()->disconnect(SIGNAL(sectionClicked(int)), this);
    connect(DgSearch->horizontalHeader(), &QHeaderView::sectionClicked, this, &TF_SearchCustomer::titleClicked);
    connect(EdName, &QLineEdit::editingFinished, this, [this] {
        if (TDM *dm = TDM::instance())
            dm->LastCustomerName = EdName->text();
    });
}

void TF_SearchCustomer::applyLanguage()
{
    const bool thai = isThai();
    if (thai)
        setGridColumns({{QStringLiteral("Code"), QStringLiteral("รหัส")}, {QStringLiteral("Name"), QStringLiteral("ชื่อลูกค้า (ไทย)")},
                        {QStringLiteral("SalesName"), QStringLiteral("พนักงานขาย")}, {QStringLiteral("Description"), QStringLiteral("ที่อยู่-จังหวัด")},
                        {QStringLiteral("NameEng"), QStringLiteral("ชื่อลูกค้า (อังกฤษ)")}, {QStringLiteral("PhoneNO"), QStringLiteral("โทรศัพท์")},
                        {QStringLiteral("FaxNO"), QStringLiteral("แฟกซ์")}});
    else
        setGridColumns({{QStringLiteral("Code"), QStringLiteral("Code")}, {QStringLiteral("Name"), QStringLiteral("Thai Name")},
                        {QStringLiteral("SalesName"), QStringLiteral("Sales")}, {QStringLiteral("Description"), QStringLiteral("Address")},
                        {QStringLiteral("NameEng"), QStringLiteral("Eng Name")}, {QStringLiteral("PhoneNO"), QStringLiteral("Phone")},
                        {QStringLiteral("FaxNO"), QStringLiteral("Fax")}});
}

void TF_SearchCustomer::FormShow()
{
    KeyFieldName = QStringLiteral("Code");
    ReturnName.clear();
    m_order = QStringLiteral("C.Code");
    applyLanguage();
    FaAttr->open();
    TDM *dm = TDM::instance();
    const bool remember = dm && dm->config(QStringLiteral("ShowLastSearch")).toString().trimmed() == QLatin1String("Y");
    EdName->setText(remember ? dm->LastCustomerName : QString());
    EdName->setFocus();
}

void TF_SearchCustomer::prepareSearch()
{
    if (TDM *dm = TDM::instance())
        dm->LastCustomerName = EdName->text();
    SQL[6] = IncludeBlocked ? QStringLiteral("Where (C.Blocked <> 'Z')") : QStringLiteral("Where (C.Blocked = 'N')");
    SQL.last() = QStringLiteral("Order By ") + m_order;
    Parameters = {{QStringLiteral("ProvinceCode"), FaProvince->code() + QLatin1Char('%')},
                  {QStringLiteral("SalesCode"), EdSalesman->text().trimmed() + QLatin1Char('%')}};
    Conditions.clear();
    auto like = [this](QLineEdit *box, const char *column, bool prefix) {
        const QString t = box->text().trimmed();
        if (!t.isEmpty())
            Conditions.add(QLatin1String(column) == QLatin1String("C.Name") ? nameLike(QStringLiteral("C.Name"))
                                                                            : QLatin1String(column) + QStringLiteral(" Like ?"),
                           {(prefix ? QString() : QStringLiteral("%")) + t + QLatin1Char('%')});
    };
    like(EdCusCode, "C.Code", true);
    like(EdPhone, "C.Telephone", false);
    like(EdFax, "C.Fax", false);
    like(EdName, "C.Name", false);
    like(EdNameEng, "C.EngName", false);
    FaAttr->addConditions(Conditions);
}

void TF_SearchCustomer::titleClicked(int column)
{
    if (column < 0 || column >= result()->columnCount())
        return;
    const QString name = result()->record().fieldName(column).toUpper();
    if (name == QLatin1String("CODE"))
        m_order = QStringLiteral("C.Code");
    else if (name == QLatin1String("NAME"))
        m_order = QStringLiteral("C.Name");
    else if (name == QLatin1String("SALESNAME"))
        m_order = QStringLiteral("S.Name");
    else if (name == QLatin1String("DESCRIPTION"))
        m_order = QStringLiteral("P.Description");
    Search();
}

void TF_SearchCustomer::done(int r)
{
    ReturnName = r == Accepted ? dbText(currentValue(QStringLiteral("Name"))).trimmed() : QString();
    TFrSearch::done(r);
    if (ReturnValue.isEmpty())
        ReturnName.clear();
}

QHash<QString, QString> TF_SearchCustomer::englishTexts() const
{
    return {
        {QStringLiteral("ค้นหาลูกค้า/สมาชิก"), QStringLiteral("Search Customer/Member")},
        {QStringLiteral("ชื่อลูกค้า (ไทย)"), QStringLiteral("Thai Name")},
        {QStringLiteral("ชื่อลูกค้า (อังกฤษ)"), QStringLiteral("English Name")},
        {QStringLiteral("รหัสลูกค้า"), QStringLiteral("Customer Code")},
        {QStringLiteral("โทรศัพท์"), QStringLiteral("Phone")},
        {QStringLiteral("แฟกซ์"), QStringLiteral("Fax")},
        {QStringLiteral("พนักงานขาย"), QStringLiteral("Salesman")},
        {QStringLiteral("จังหวัด"), QStringLiteral("Province")},
    };
}
