#include "TFrSearchProductService.h"
#include "PagedQueryModel.h"
#include "TCodeLookupEdit.h"
#include "TFaSelectAttr.h"
#include "services/JpegImage.h"
#include "services/TDM.h"
#include <QButtonGroup>
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
    auto codeBox = [this, grid](int row, const QString &caption, const QString &group, TCodeLookupEdit *&edit) {
        edit = new TCodeLookupEdit(this);
        edit->K_LookupTableName = QStringLiteral("Misc");
        edit->K_Filter = QStringLiteral("GroupCode = :misc_group");
        edit->K_FilterParams = {{QStringLiteral("misc_group"), group}};
        edit->K_AllowNull = true;
        makeUpperCase(edit);
        auto *desc = new QLabel(QStringLiteral("-"), this);
        edit->K_DescriptionLabel = desc;
        grid->addWidget(new QLabel(caption, this), row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(desc, row, 2, 1, 3);
    };
    codeBox(1, QStringLiteral("ชนิดสินค้า"), QStringLiteral("PTYPE"), EdPType);
    codeBox(2, QStringLiteral("กลุ่มสินค้า"), QStringLiteral("PGROUP"), EdPGroup);
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
    EdName->setFocus();
}

void TFrSearchProductService::buildColumns()
{
    const bool thai = isThai();
    QList<QPair<QString, QString>> cols{{QStringLiteral("Code"), thai ? QStringLiteral("รหัส") : QStringLiteral("Code")},
                                        {QStringLiteral("ThaiName"), thai ? QStringLiteral("ชื่อสินค้า") : QStringLiteral("Name")}};
    if (m_layout >= 0 && m_layout <= 3)
        cols.append({QStringLiteral("Remark"), thai ? QStringLiteral("หมายเหตุ") : QStringLiteral("Remark")});
    setGridColumns(cols);
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
    if (TDM *dm = TDM::instance()) {
        dm->LastProductName = EdName->text();
        dm->LastProductSearch = Code->text();
    }
    Parameters.clear();
    if (m_layout == 1)
        SQL = {QStringLiteral("Select P.Id, P.Code, P.ThaiName, U.UnitName Remark, P.ProductType, P.Picture1"),
               QStringLiteral("From Product P Inner Join ProductUnits U On U.Product = P.Id"), QStringLiteral("Where 1 = 1")};
    else
        SQL = {QStringLiteral("Select P.Id, P.Code, P.ThaiName, P.Remark, P.ProductType, P.Picture1"), QStringLiteral("From Product P"),
               QStringLiteral("Where 1 = 1")};
    SQL << (m_layout == 1 ? QStringLiteral("Order By P.Code, U.Fraction") : QStringLiteral("Order By P.Code"));
    Conditions.clear();
    Conditions.add(QStringLiteral("P.Code Like ?"), {Code->text().trimmed() + QLatin1Char('%')});
    Conditions.add(QStringLiteral("P.ThaiName Like ?"),
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
    const QString name = dbText(currentValue(QStringLiteral("Picture1"))).trimmed();
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
