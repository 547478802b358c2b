#pragma once
#include "TFrSearch.h"

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QRadioButton;
class QStatusBar;
class TCodeLookupEdit;
class TFaSelectProdAttr;
class TF_SearchMisc;
class QAction;
class QToolButton;

// The product and service picker: code, name, kind, group, size, product type and
// attribute ranges, with a picture preview of the current row (F12). Returns the
// product code.
class TFrSearchProductService : public TFrSearch
{
    Q_OBJECT
public:
    explicit TFrSearchProductService(QWidget *parent = nullptr);

    // Inputs: the type preset ("P", "B", "S", "M", "R", "A" or empty), the value
    // P.MasterCode must equal ("N" when blank), and whether blocked products show.
    QString ProductType;
    QString MasterCode;
    bool IncludeBlocked = false;

    QLineEdit *EdName = nullptr;
    QComboBox *CbMethod = nullptr;
    TCodeLookupEdit *EdPType = nullptr, *EdPGroup = nullptr;
    QToolButton *BtPType = nullptr, *BtPGroup = nullptr;
    QLineEdit *EdSizeW = nullptr, *EdSizeL = nullptr, *EdSizeH = nullptr;
    QGroupBox *RgType = nullptr;
    QButtonGroup *TypeButtons = nullptr;
    TFaSelectProdAttr *FaAttr = nullptr;
    QWidget *PnPicture = nullptr;
    QLabel *ImgPicture = nullptr;
    QStatusBar *StatusBar = nullptr;
    // The grid's pop-up item of the manufacturing layouts (5 to 9).
    QAction *AcDetailMfg = nullptr;

    // Opens the production detail of the current row's product.
    void ShowDetailMfg();
    // Opens the kind ("PTYPE") or group ("PGROUP") look-up for its box; true when a
    // code was chosen and written into the box.
    bool searchMiscCode(TCodeLookupEdit *box);
    int layoutNo() const { return m_layout; }

    // The picker of the products a document line or a project may name: no master
    // codes, no blocked products.
    static TFrSearch *forProducts(QWidget *parent);

    // The ProductType values of the type letters in this database.
    static int typeValue(QChar letter);
    QString pictureFolder() const { return m_pictureFolder; }
    // The file shown for the current row; empty when none is shown.
    QString shownPicture() const { return m_shownPicture; }
    int filesRead() const { return m_filesRead; }

protected:
    void FormShow() override;
    void prepareSearch() override;
    bool previewKey(QWidget *target, int key, Qt::KeyboardModifiers mods) override;
    QHash<QString, QString> englishTexts() const override;

private:
    void buildColumns();
    void applyPreset();
    void openAttributes();
    void typeChosen(int item);
    void showPicture();
    void applyRemembered();
    void applyLanguage();
    TF_SearchMisc *m_misc = nullptr; // kept once created
    QString m_pictureFolder;
    QString m_shownPicture;
    int m_layout = 0;
    int m_filesRead = 0;
};
