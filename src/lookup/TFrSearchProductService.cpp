#include "TFrSearchProductService.h"
#include "PagedQueryModel.h"
#include "TCodeLookupEdit.h"
#include "TFaSelectAttr.h"
#include "TFrPreviewDetailMfg.h"
#include "services/JpegImage.h"
#include "services/TDM.h"
#include "session/UserDialogs.h"
#include <QAction>
#include <QButtonGroup>
#include <QStyle>
#include <QToolButton>
#include <QComboBox>
#include <QDir>
#include <QDoubleValidator>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStatusBar>
#include <QTableView>
#include <QVBoxLayout>

namespace {
// Type letters of the preset to the radio items.
const QString typeLetters = QStringLiteral("PSMRA");

// The smallest unit's name of product P.
const QString smallUnit = QStringLiteral("(Select Min(X.UnitName) From ProductUnits X Where X.Product = P.Id"
                                         " And X.Fraction = (Select Min(Y.Fraction) From ProductUnits Y Where Y.Product = P.Id))");
// An open sales-order line D: not cleared and not of a point-of-sale order. NOT
// EXISTS, since a NULL among PosHeader's SoHd would make NOT IN match nothing.
const QString openSoLine = QStringLiteral("Coalesce(D.Clear,'N') <> 'Y' And Not Exists (Select 1 From PosHeader H Where H.SoHd = D.SoHd)");

// To deliver, by the manufacturing layouts 6 to 8: open sales-order lines less the
// invoice lines against them (delivery invoices, and other invoices that do not
// refer to an earlier invoice line).
QString backorderMfg()
{
    return QStringLiteral("(Coalesce((Select Sum(D.Quantity * D.Fraction) From SoDt D Where D.Product = P.Id And ") + openSoLine
        + QStringLiteral("), 0) - Coalesce((Select Sum(I.Quantity * I.Fraction) From IvDt I Inner Join IvHd V On V.Id = I.IvHd"
                         " Inner Join SoDt D On D.Id = I.SoDt Where I.Product = P.Id And ")
        + openSoLine + QStringLiteral(" And (V.IvType = 'B' Or Coalesce(I.IvdtB,0) = 0)), 0))");
}

// To deliver, by layout 9: every sales-order line, plus invoiced lines that did not
// cut stock and refer to no order, less stock-cutting lines that refer to an order
// line or to an earlier invoice line.
QString backorderAll()
{
    return QStringLiteral("(Coalesce((Select Sum(D.Quantity * D.Fraction) From SoDt D Where D.Product = P.Id), 0)"
                          " + Coalesce((Select Sum(I.Quantity * I.Fraction) From IvDt I Inner Join IvHd V On V.Id = I.IvHd"
                          " Where I.Product = P.Id And V.NotCutStock = 'Y' And Coalesce(I.SoDt,0) = 0), 0)"
                          " - Coalesce((Select Sum(I.Quantity * I.Fraction) From IvDt I Inner Join IvHd V On V.Id = I.IvHd"
                          " Where I.Product = P.Id And V.NotCutStock = 'N' And (Coalesce(I.SoDt,0) <> 0 Or Coalesce(I.IvdtB,0) <> 0)), 0))");
}

// To receive: open purchase-order lines less the receipt lines against them.
const QString backSendOrder = QStringLiteral(
    "(Coalesce((Select Sum(D.Quantity * D.Fraction) From PoDt D Where D.Product = P.Id And Coalesce(D.Clear,'N') <> 'Y'), 0)"
    " - Coalesce((Select Sum(R.Quantity * R.Fraction) From MrDt R Inner Join MrHd M On M.Id = R.MrHd Inner Join PoDt D On D.Id = R.PoDt"
    " Where R.Product = P.Id And Coalesce(D.Clear,'N') <> 'Y'), 0))");

// The attribute code of product P in one attribute group, 'no' when it has none.
QString attributeOf(int group)
{
    return QStringLiteral("Coalesce((Select Min(C.Code) From ProductAttr A Inner Join ProdAttrCode C On C.Id = A.ProdAttrCode"
                          " Where A.Product = P.Id And A.ProdAttrGroup = %1), 'no')").arg(group);
}

bool isMfgLayout(int layout) { return layout >= 6 && layout <= 9; }
} // namespace

int TFrSearchProductService::typeValue(QChar letter)
{
    // Finished goods 1, service 2, materials and sundries 3, raw material 4.
    switch (letter.toUpper().unicode()) {
    case 'S': return 2;
    case 'M': return 3;
    case 'R': return 4;
    default: return 1;
    }
}

TFrSearchProductService::TFrSearchProductService(QWidget *parent) : TFrSearch(parent)
{
    setWindowTitle(QStringLiteral("ค้นหาสินค้า/บริการ"));
    resize(900, 560);
    LbCode->setText(QStringLiteral("รหัส"));

    auto *grid = new QGridLayout;
    auto *lbName = new QLabel(QStringLiteral("ชื่อ"), this);
    EdName = new QLineEdit(this);
    EdName->setObjectName(QStringLiteral("EdName"));
    EdName->setToolTip(QStringLiteral("กด F1 ไปช่องรหัส"));
    lbName->setBuddy(EdName);
    CbMethod = new QComboBox(this);
    CbMethod->setObjectName(QStringLiteral("CbMethod"));
    CbMethod->addItems({QStringLiteral("ขึ้นต้นด้วย"), QStringLiteral("ประกอบด้วย")});
    grid->addWidget(lbName, 0, 0);
    grid->addWidget(EdName, 0, 1, 1, 3);
    grid->addWidget(CbMethod, 0, 4);
    auto codeBox = [this, grid](int row, const QString &caption, const QString &group, TCodeLookupEdit *&edit, QToolButton *&button) {
        edit = new TCodeLookupEdit(this);
        edit->K_LookupTableName = QStringLiteral("Misc");
        edit->K_Filter = QStringLiteral("GroupCode = :misc_group");
        edit->K_FilterParams = {{QStringLiteral("misc_group"), group}};
        edit->K_AllowNull = true;
        makeUpperCase(edit);
        auto *desc = new QLabel(QStringLiteral("-"), this);
        edit->K_DescriptionLabel = desc;
        button = new QToolButton(this);
        button->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, this, [this, &edit] { searchMiscCode(edit); });
        grid->addWidget(new QLabel(caption, this), row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(button, row, 2);
        grid->addWidget(desc, row, 3, 1, 2);
    };
    codeBox(1, QStringLiteral("ชนิดสินค้า"), QStringLiteral("PTYPE"), EdPType, BtPType);
    codeBox(2, QStringLiteral("กลุ่มสินค้า"), QStringLiteral("PGROUP"), EdPGroup, BtPGroup);
    BtPType->setObjectName(QStringLiteral("BtPType"));
    BtPGroup->setObjectName(QStringLiteral("BtPGroup"));
    EdPType->setObjectName(QStringLiteral("EdPType"));
    EdPGroup->setObjectName(QStringLiteral("EdPGroup"));
    auto *sizes = new QHBoxLayout;
    auto sizeBox = [this, sizes](const QString &caption, const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        // Sizes are compared as numbers; letters cannot be typed.
        auto *v = new QDoubleValidator(e);
        v->setNotation(QDoubleValidator::StandardNotation);
        v->setLocale(QLocale::c());
        e->setValidator(v);
        sizes->addWidget(new QLabel(caption, this));
        sizes->addWidget(e);
        return e;
    };
    EdSizeW = sizeBox(QStringLiteral("กว้าง"), "EdSizeW");
    EdSizeL = sizeBox(QStringLiteral("ยาว"), "EdSizeL");
    EdSizeH = sizeBox(QStringLiteral("สูง"), "EdSizeH");
    grid->addLayout(sizes, 3, 0, 1, 5);

    RgType = new QGroupBox(QStringLiteral("ประเภทสินค้า"), this);
    auto *types = new QVBoxLayout(RgType);
    TypeButtons = new QButtonGroup(this);
    int i = 0;
    for (const char *t : {"สินค้าสำเร็จรูป", "บริการ", "วัสดุ/เบ็ดเตล็ด", "วัตถุดิบ", "สินค้าสำเร็จรูป / วัตถุดิบ"}) {
        auto *b = new QRadioButton(QString::fromUtf8(t), RgType);
        types->addWidget(b);
        TypeButtons->addButton(b, i++);
    }
    connect(TypeButtons, &QButtonGroup::idClicked, this, &TFrSearchProductService::typeChosen);
    FaAttr = new TFaSelectProdAttr(this);
    auto *side = new QVBoxLayout;
    side->addWidget(RgType);
    side->addWidget(FaAttr, 1);
    auto *row = new QHBoxLayout;
    row->addLayout(grid, 2);
    row->addLayout(side, 1);
    FilterArea->addLayout(row);

    DgSearch->setToolTip(QStringLiteral("กด Double - Click เพื่อเลือก\nหรือ\n********************\nF12 : Preview Picture\n********************"));
    PnPicture = new QGroupBox(QStringLiteral("QLX IMAGER"), this);
    PnPicture->setObjectName(QStringLiteral("PnPicture"));
    auto *pic = new QVBoxLayout(PnPicture);
    pic->addWidget(new QLabel(QStringLiteral("Image Preview"), PnPicture));
    ImgPicture = new QLabel(PnPicture);
    ImgPicture->setObjectName(QStringLiteral("ImgPicture"));
    ImgPicture->setMinimumSize(160, 120);
    ImgPicture->setAlignment(Qt::AlignCenter);
    pic->addWidget(ImgPicture, 1);
    PnPicture->hide();
    StatusBar = new QStatusBar(this);
    StatusBar->addWidget(new QLabel(QStringLiteral("Preview Picture (F12)"), StatusBar));
    StatusBar->addWidget(new QLabel(QStringLiteral("QLX Product Search Manager"), StatusBar), 1);
    auto *lay = static_cast<QVBoxLayout *>(layout());
    lay->removeWidget(DgSearch);
    auto *body = new QHBoxLayout;
    body->addWidget(DgSearch, 1);
    body->addWidget(PnPicture);
    lay->addLayout(body, 1);
    lay->addWidget(StatusBar);
    setTabOrder(Code, EdName);

    connect(EdName, &QLineEdit::editingFinished, this, [this] {
        if (TDM *dm = TDM::instance())
            dm->LastProductName = EdName->text();
    });
    connect(Code, &QLineEdit::editingFinished, this, [this] {
        if (TDM *dm = TDM::instance())
            dm->LastProductSearch = Code->text();
    });
    AcDetailMfg = new QAction(QStringLiteral("แสดงรายละเอียดการผลิต"), this);
    AcDetailMfg->setObjectName(QStringLiteral("AcDetailMfg"));
    connect(AcDetailMfg, &QAction::triggered, this, &TFrSearchProductService::ShowDetailMfg);
    DgSearch->addAction(AcDetailMfg);
    DgSearch->setContextMenuPolicy(Qt::NoContextMenu);
    connect(DgSearch->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { showPicture(); });
    connect(result(), &QAbstractItemModel::modelReset, this, [this] { showPicture(); });
}

void TFrSearchProductService::applyRemembered()
{
    TDM *dm = TDM::instance();
    const bool remember = dm && dm->config(QStringLiteral("ShowLastSearch")).toString().trimmed() == QLatin1String("Y");
    EdName->setText(remember ? dm->LastProductName : QString());
    Code->setText(remember ? dm->LastProductSearch : QString());
}

void TFrSearchProductService::FormShow()
{
    TDM *dm = TDM::instance();
    EdPType->clear();
    EdPType->checkCode();
    EdPGroup->clear();
    EdPGroup->checkCode();
    m_layout = dm ? dm->config(QStringLiteral("SearchProductNo")).toInt() : 0;
    buildColumns();
    QString folder = dm ? dm->config(QStringLiteral("PicturePath")).toString().trimmed() : QString();
    while (folder.endsWith(QLatin1Char('\\')) || folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    m_pictureFolder = folder;
    PnPicture->hide();
    if (MasterCode.trimmed().isEmpty())
        MasterCode = QStringLiteral("N");
    KeyFieldName = QStringLiteral("Code");
    CbMethod->setCurrentIndex(dm && dm->config(QStringLiteral("SearchProductMethod")).toInt() == 1 ? 1 : 0);
    applyRemembered();
    applyPreset();
    openAttributes();
    applyLanguage();
    EdName->setFocus();
}

QHash<QString, QString> TFrSearchProductService::englishTexts() const
{
    return {
        {QStringLiteral("ค้นหาสินค้า/บริการ"), QStringLiteral("Search Product Code")},
        {QStringLiteral("รหัส"), QStringLiteral("Code")},
        {QStringLiteral("ชื่อ"), QStringLiteral("Name")},
        {QStringLiteral("ชื่อสินค้า"), QStringLiteral("Name")},
        {QStringLiteral("หมายเหตุ"), QStringLiteral("Remark")},
        {QStringLiteral("ขึ้นต้นด้วย"), QStringLiteral("Start With")},
        {QStringLiteral("ประกอบด้วย"), QStringLiteral("Consist Of")},
        {QStringLiteral("ชนิดสินค้า"), QStringLiteral("Product Type")},
        {QStringLiteral("กลุ่มสินค้า"), QStringLiteral("Product Group")},
        {QStringLiteral("กว้าง"), QStringLiteral("Width")},
        {QStringLiteral("ยาว"), QStringLiteral("Length")},
        {QStringLiteral("สูง"), QStringLiteral("Height")},
        {QStringLiteral("ประเภทสินค้า"), QStringLiteral("Product Kind")},
        {QStringLiteral("สินค้าสำเร็จรูป"), QStringLiteral("Trade Product")},
        {QStringLiteral("บริการ"), QStringLiteral("Service")},
        {QStringLiteral("วัสดุ/เบ็ดเตล็ด"), QStringLiteral("Misc")},
        {QStringLiteral("วัตถุดิบ"), QStringLiteral("Raw Material")},
        {QStringLiteral("สินค้าสำเร็จรูป / วัตถุดิบ"), QStringLiteral("Finish Good/Raw Material")},
        {QStringLiteral("คุณสมบัติสินค้า"), QStringLiteral("Product Attribute")},
        {QStringLiteral("เริ่มต้น"), QStringLiteral("From Code")},
        {QStringLiteral("สิ้นสุด"), QStringLiteral("To Code")},
        {QStringLiteral("สำนักพิมพ์"), QStringLiteral("Publisher")},
        {QStringLiteral("หมวดหมู่"), QStringLiteral("Category")},
        {QStringLiteral("ราคา"), QStringLiteral("Price")},
        {QStringLiteral("หน่วย"), QStringLiteral("Unit")},
        {QStringLiteral("คงเหลือ"), QStringLiteral("On Hand")},
        {QStringLiteral("ชื่อเทคนิค2"), QStringLiteral("Technical Name 2")},
        {QStringLiteral("จำนวนระหว่างผลิต"), QStringLiteral("In Production")},
        {QStringLiteral("จำนวนค้างส่ง"), QStringLiteral("To Deliver")},
        {QStringLiteral("จองเบิกใช้"), QStringLiteral("Reserved for Issue")},
        {QStringLiteral("จำนวนจองวัตถุดิบ"), QStringLiteral("Material Reserved")},
        {QStringLiteral("คงเหลือลบยอดจองวัตถุดิบ"), QStringLiteral("On Hand less Reserved")},
        {QStringLiteral("จำนวนค้างรับ"), QStringLiteral("To Receive")},
    };
}

void TFrSearchProductService::applyLanguage()
{
    AcDetailMfg->setText(isThai() ? QStringLiteral("แสดงรายละเอียดการผลิต") : QStringLiteral("Show Production Detail"));
}

void TFrSearchProductService::buildColumns()
{
    using Col = QPair<QString, QString>;
    QList<Col> cols{{QStringLiteral("Code"), QStringLiteral("รหัส")}, {QStringLiteral("ThaiName"), QStringLiteral("ชื่อสินค้า")}};
    QList<QPair<QString, int>> widths{{QStringLiteral("Code"), 123}, {QStringLiteral("ThaiName"), 250}};
    auto add = [&](const char *name, const char *title, int width) {
        cols.append({QLatin1String(name), QString::fromUtf8(title)});
        widths.append({QLatin1String(name), width});
    };
    switch (m_layout) {
    case 0: case 1: case 2: case 3:
        add("Remark", "หมายเหตุ", 250);
        break;
    case 4:
        add("Field01", "สำนักพิมพ์", 120);
        add("Field02", "หมวดหมู่", 120);
        add("Price", "ราคา", 50);
        add("UnitName", "หน่วย", 50);
        add("Qnty", "คงเหลือ", 50);
        break;
    case 6: case 7:
        widths[1].second = 350;
        add("TechNicName2", "ชื่อเทคนิค2", m_layout == 6 ? 150 : 100);
        add("Onhand", "คงเหลือ", 100);
        add("WorkOrderOH", "จำนวนระหว่างผลิต", 100);
        if (m_layout == 7)
            add("PreIsQty", "จองเบิกใช้", 100);
        add("Backorder", "จำนวนค้างส่ง", 100);
        break;
    case 8:
        widths[1].second = 150;
        add("Onhand", "คงเหลือ", 100);
        add("WorkOrderOH", "จำนวนระหว่างผลิต", 100);
        add("Backorder", "จำนวนค้างส่ง", 100);
        add("WKIsQty", "จำนวนจองวัตถุดิบ", 100);
        add("OH_WKIsQty", "คงเหลือลบยอดจองวัตถุดิบ", 150);
        add("TechNicName2", "ชื่อเทคนิค2", 100);
        break;
    case 9:
        widths[1].second = 350;
        add("Onhand", "คงเหลือ", 100);
        add("BackSendOrder", "จำนวนค้างรับ", 100);
        add("Backorder", "จำนวนค้างส่ง", 100);
        add("ProdRemark", "หมายเหตุ", 100);
        break;
    default:
        break;
    }
    setGridColumns(cols);
    for (const auto &[name, width] : widths)
        setGridColumnWidth(name, width);
    // Quantities read right-aligned under centred titles; the figures computed here
    // carry the smallest unit's name, those of the manufacturing table are texts.
    PagedQueryModel *m = result();
    m->setColumnFormat(QStringLiteral("Price"), QStringLiteral("#,##0.00"));
    m->setColumnFormat(QStringLiteral("Qnty"), QStringLiteral("#,##0.##"));
    for (const char *text : {"Onhand", "WorkOrderOH", "PreIsQty", "WKIsQty", "OH_WKIsQty"})
        m->setColumnFormat(QLatin1String(text), QString());
    m->setColumnFormat(QStringLiteral("Backorder"), QStringLiteral("#,##0.00"), QStringLiteral("SmallUnit"));
    m->setColumnFormat(QStringLiteral("BackSendOrder"), QStringLiteral("#,##0.00"), QStringLiteral("SmallUnit"));
    // The production detail belongs to the manufacturing layouts.
    DgSearch->setContextMenuPolicy(m_layout >= 5 && m_layout <= 9 ? Qt::ActionsContextMenu : Qt::NoContextMenu);
}

void TFrSearchProductService::applyPreset()
{
    const QString t = ProductType.trimmed().toUpper();
    const int item = t == QLatin1String("B") ? 0 : (t.size() == 1 ? int(typeLetters.indexOf(t)) : -1);
    if (t.isEmpty()) {
        TypeButtons->setExclusive(false);
        for (QAbstractButton *b : TypeButtons->buttons())
            b->setChecked(false);
        TypeButtons->setExclusive(true);
        RgType->setEnabled(true);
    } else if (item >= 0) {
        TypeButtons->button(item)->setChecked(true);
        RgType->setEnabled(false);
    } else {
        RgType->setEnabled(true);
    }
}

void TFrSearchProductService::openAttributes()
{
    const QString t = ProductType.trimmed().toUpper();
    FaAttr->setEnabled(t != QLatin1String("M"));
    const bool finished = t.isEmpty() || QStringLiteral("APRB").contains(t);
    FaAttr->GetType = finished ? typeValue(QLatin1Char('P')) : typeValue(t.at(0));
    FaAttr->open();
}

void TFrSearchProductService::typeChosen(int item)
{
    if (!RgType->isEnabled() || item < 0 || item >= typeLetters.size())
        return;
    ProductType = typeLetters.at(item);
    openAttributes();
    Code->clear();
    applyRemembered();
    result()->clear();
}

void TFrSearchProductService::prepareSearch()
{
    if (TDM *d = TDM::instance()) {
        d->LastProductName = EdName->text();
        d->LastProductSearch = Code->text();
    }
    Parameters.clear();
    TDM *dm = TDM::instance();
    if (m_layout == 1) {
        SQL = {QStringLiteral("Select P.Id, P.Code, P.ThaiName, U.UnitName Remark, P.ProductType, P.Picture1"),
               QStringLiteral("From Product P Inner Join ProductUnits U On U.Product = P.Id"), QStringLiteral("Where 1 = 1")};
    } else if (m_layout == 4) {
        // A row per unit: its price of price level 19 and its stock of the running year
        // in that unit (stock is held in small units; "* 1.0" keeps SQLite from
        // dividing whole numbers as integers).
        SQL = {QStringLiteral("Select P.Id, P.Code, P.ThaiName, P.ProductType, P.Picture1,"),
               attributeOf(3) + QStringLiteral(" Field01, ") + attributeOf(5) + QStringLiteral(" Field02,"),
               QStringLiteral("Coalesce((Select Min(PP.Price) From ProductPrice PP Where PP.ProductUnits = U.Id And PP.PriceType = 19), 0) Price,"),
               QStringLiteral("U.UnitName,"),
               QStringLiteral("Coalesce((Select Sum(O.Quantity) From ProductOnHand O Where O.Product = P.Id And O.BalanceYear = :RunYear), 0) * 1.0"
                              " / (Case When Coalesce(U.Fraction,0) = 0 Then 1 Else U.Fraction End) Qnty"),
               QStringLiteral("From Product P Inner Join ProductUnits U On U.Product = P.Id"), QStringLiteral("Where 1 = 1")};
        Parameters.insert(QStringLiteral("RunYear"), dm ? dm->config(QStringLiteral("RunYear")).toInt() : QDate::currentDate().year());
    } else if (isMfgLayout(m_layout)) {
        SQL = {QStringLiteral("Select P.Id, P.Code, P.ThaiName, P.ProductType, P.Picture1, P.TechNicName1, P.TechNicName2, P.Remark,"),
               QStringLiteral("Coalesce(M.Onhand, ' ' || Coalesce(") + smallUnit
                   + QStringLiteral(", '')) Onhand, M.WorkOrderOH, M.PreIsQty, M.WKIsQty, M.OH_WKIsQty,"),
               (m_layout == 9 ? backorderAll() : backorderMfg()) + QStringLiteral(" Backorder,"),
               backSendOrder + QStringLiteral(" BackSendOrder,"),
               smallUnit + QStringLiteral(" SmallUnit, P.Remark ProdRemark"),
               QStringLiteral("From Product P Left Join ProductonhandMFG M On M.Product = P.Id"), QStringLiteral("Where 1 = 1")};
    } else {
        SQL = {QStringLiteral("Select P.Id, P.Code, P.ThaiName, P.Remark, P.ProductType, P.Picture1"), QStringLiteral("From Product P"),
               QStringLiteral("Where 1 = 1")};
    }
    SQL << (m_layout == 1 || m_layout == 4 ? QStringLiteral("Order By P.Code, U.Fraction") : QStringLiteral("Order By P.Code"));
    Conditions.clear();
    Conditions.add(QStringLiteral("P.Code Like ?"), {Code->text().trimmed() + QLatin1Char('%')});
    Conditions.add(nameLike(QStringLiteral("P.ThaiName")),
                   {(CbMethod->currentIndex() == 1 ? QStringLiteral("%") : QString()) + EdName->text().trimmed() + QLatin1Char('%')});
    if (!IncludeBlocked)
        Conditions.add(QStringLiteral("Coalesce(P.Blocked,'N') <> 'Y'"));
    Conditions.add(QStringLiteral("Coalesce(P.MasterCode,'N') = ?"), {MasterCode.trimmed().isEmpty() ? QStringLiteral("N") : MasterCode.trimmed()});
    switch (TypeButtons->checkedId()) {
    case 0: Conditions.add(QStringLiteral("P.ProductType Not In (?, ?)"), {typeValue(QLatin1Char('S')), typeValue(QLatin1Char('M'))}); break;
    case 1: Conditions.add(QStringLiteral("P.ProductType = ?"), {typeValue(QLatin1Char('S'))}); break;
    case 2: Conditions.add(QStringLiteral("P.ProductType = ?"), {typeValue(QLatin1Char('M'))}); break;
    case 3: Conditions.add(QStringLiteral("P.ProductType = ?"), {typeValue(QLatin1Char('R'))}); break;
    case 4:
        Conditions.add(QStringLiteral("P.ProductType In (?, ?, ?)"), {typeValue(QLatin1Char('P')), typeValue(QLatin1Char('R')), typeValue(QLatin1Char('M'))});
        break;
    default: break;
    }
    auto size = [this](QLineEdit *e, const char *column) {
        bool ok = false;
        const double v = QLocale::c().toDouble(e->text().trimmed(), &ok);
        if (ok)
            Conditions.add(QStringLiteral("P.") + QLatin1String(column) + QStringLiteral(" = ?"), {v});
    };
    size(EdSizeW, "Size_W");
    size(EdSizeL, "Size_L");
    size(EdSizeH, "Size_H");
    if (EdPType->lookupId() > 0)
        Conditions.add(QStringLiteral("P.PType = ?"), {EdPType->lookupId()});
    if (EdPGroup->lookupId() > 0)
        Conditions.add(QStringLiteral("P.PGroup = ?"), {EdPGroup->lookupId()});
    FaAttr->KeyExpression = QStringLiteral("P.Id");
    FaAttr->addConditions(Conditions);
}

bool TFrSearchProductService::previewKey(QWidget *target, int key, Qt::KeyboardModifiers mods)
{
    if (key == Qt::Key_F12) {
        PnPicture->setVisible(!PnPicture->isVisible());
        showPicture();
        return true;
    }
    if (key == Qt::Key_F5 && (target == EdPType || target == EdPGroup)) {
        searchMiscCode(static_cast<TCodeLookupEdit *>(target));
        return true;
    }
    if (key == Qt::Key_F1 && target == EdName) {
        Code->setFocus();
        return true;
    }
    return TFrSearch::previewKey(target, key, mods);
}

void TFrSearchProductService::showPicture()
{
    m_shownPicture.clear();
    // A hidden panel reads no file.
    if (!PnPicture->isVisible()) {
        ImgPicture->clear();
        return;
    }
    // Names are stored as the suite's workstations write them, with backslashes.
    QString name = dbText(currentValue(QStringLiteral("Picture1"))).trimmed();
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString file = m_pictureFolder.isEmpty() ? name : m_pictureFolder + QLatin1Char('/') + name;
    QImage img;
    if (name.size() > 3 && QFileInfo(file).isFile()) {
        QFile f(file);
        if (f.open(QIODevice::ReadOnly)) {
            ++m_filesRead;
            img = decodeJpeg(f.readAll());
        }
    }
    if (img.isNull()) {
        ImgPicture->clear();
        ImgPicture->setToolTip(QString());
        ImgPicture->hide();
        return;
    }
    m_shownPicture = QFileInfo(file).absoluteFilePath();
    ImgPicture->setPixmap(QPixmap::fromImage(img.scaled(ImgPicture->minimumSize().expandedTo(QSize(160, 120)), Qt::KeepAspectRatio,
                                                        Qt::SmoothTransformation)));
    ImgPicture->setToolTip(QStringLiteral("Files : ") + m_shownPicture);
    ImgPicture->show();
}

bool TFrSearchProductService::searchMiscCode(TCodeLookupEdit *box)
{
    const bool kind = box == EdPType;
    if (!m_misc)
        m_misc = new TF_SearchMisc(this);
    m_misc->GroupCode = kind ? QStringLiteral("PTYPE") : QStringLiteral("PGROUP");
    if (isThai())
        m_misc->setWindowTitle(kind ? QStringLiteral("ค้นหา ชนิดสินค้า") : QStringLiteral("ค้นหา กลุ่มสินค้า"));
    else
        m_misc->setWindowTitle(kind ? QStringLiteral("Search Product Type") : QStringLiteral("Search Product Group"));
    const bool ok = m_misc->exec() == QDialog::Accepted && !m_misc->ReturnValue.isEmpty();
    const QString code = m_misc->ReturnValue;
    activateWindow();
    box->setFocus(Qt::OtherFocusReason);
    if (!ok)
        return false;
    box->setText(code);
    emit box->textEdited(code);
    return true;
}

void TFrSearchProductService::ShowDetailMfg()
{
    if (result()->isOpen() && result()->rowCount() == 0) {
        ShowMessage(QStringLiteral("ไม่พบข้อมูลสินค้าที่ต้องการ !!"));
        return;
    }
    const QString code = dbText(currentValue(QStringLiteral("Code"))).trimmed().toUpper();
    if (code.isEmpty()) {
        ShowMessage(QStringLiteral("ไม่มีข้อมูลรหัสสินค้า !!"));
        return;
    }
    TFrPreviewDetailMfg detail(this);
    detail.ProductCode = code;
    detail.exec();
    activateWindow();
    DgSearch->setFocus();
}

TFrSearch *TFrSearchProductService::forProducts(QWidget *parent)
{
    auto *d = new TFrSearchProductService(parent);
    d->MasterCode = QStringLiteral("N");
    d->IncludeBlocked = false;
    return d;
}
