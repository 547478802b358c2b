#pragma once
#include "lookup/TFrForm.h"
#include <QDate>
#include <functional>

class CodeEdit;
class DateEdit;
class DecimalEdit;
class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class RecordBinder;
class RecordBuffer;
class TFaGetCustomer;
class TFaGetDepartment;
class TFrSearch;

// The project register: one project at a time. The code is a document number
// drawn under a sequence chosen by the project's sub type (and, for sub types
// numbered per month, by the month of the project date).
class TFrProject : public TFrForm
{
    Q_OBJECT
public:
    explicit TFrProject(QWidget *parent = nullptr);
    ~TFrProject() override;

    static constexpr const char *Version = "MFG18.09.10";
    static constexpr const char *PrintCode = "PJCODE";

    RecordBuffer *QrProject = nullptr;

    // Header
    DateEdit *EdInputDate = nullptr;
    QComboBox *CbSubType = nullptr;
    CodeEdit *EdCode = nullptr;
    QLineEdit *EdDescription = nullptr, *EdRefNo = nullptr;
    TFaGetCustomer *FaCustomer = nullptr;
    TFaGetDepartment *FaDepartment = nullptr;
    QTabWidget *PageControl = nullptr;
    QWidget *TsHire = nullptr, *TsCompany1 = nullptr, *TsCompany2 = nullptr, *TsOther = nullptr;
    // Employer
    QLineEdit *EdHire = nullptr, *EdSupporter = nullptr, *EdAttnPlace = nullptr, *EdPhone = nullptr, *EdFax = nullptr;
    // Company (1)
    QLineEdit *EdUnitNo = nullptr, *EdProjectPlace = nullptr, *EdProjectDesc = nullptr;
    QLineEdit *EdCompSupport = nullptr, *EdCompSupport_Phone = nullptr, *EdCompEngineer = nullptr, *EdCompEngineer_Phone = nullptr,
              *EdController = nullptr, *EdController_Phone = nullptr, *EdCompManager = nullptr, *EdCompManager_Phone = nullptr,
              *EdCompOs = nullptr, *EdCompOs_Phone = nullptr, *EdCompSecurity = nullptr, *EdCompSecurity_Phone = nullptr;
    // Company (2)
    DateEdit *EdBeginDate = nullptr, *EdEndDate = nullptr;
    DecimalEdit *EdAdvance = nullptr;
    QLineEdit *EdPurcDepartment = nullptr, *EdPurcDepartment_Phone = nullptr;
    QRadioButton *RbJobOwn = nullptr, *RbJobSub = nullptr;
    QLabel *LbJobName = nullptr;
    QLineEdit *EdJobName = nullptr;
    QRadioButton *RbIncludeVat = nullptr, *RbExcludeVat = nullptr;
    QComboBox *CbCurrency = nullptr;
    DecimalEdit *EdRate = nullptr, *EdTotal = nullptr, *EdProjectPrice = nullptr;
    QLabel *LbProjectPrice = nullptr;
    // Other
    DecimalEdit *EdConsume = nullptr, *EdOverhead = nullptr, *EdRisk = nullptr, *EdCommission = nullptr, *EdProfit = nullptr;
    CodeEdit *EdProductCode = nullptr;
    QLabel *LbProductName = nullptr;
    DecimalEdit *EdProdQuantity = nullptr;
    QComboBox *CbUnit = nullptr;
    QCheckBox *CbBlocked = nullptr, *CbLockHaveIssue = nullptr;
    QPlainTextEdit *MmDescMemo = nullptr;
    QLineEdit *EdPicPath = nullptr;
    QPushButton *BtBrowse = nullptr, *BtOpenFolder = nullptr, *BtClear = nullptr;

    QString defaultSubType() const { return m_defaultSubType; }
    bool isNewRecord() const { return m_newRecord; }
    bool codePending() const { return m_codePending; }
    bool autoNumbering() const { return m_autoRun; }
    qint64 copySource() const { return m_copySource; }
    // The numbering sequence of the sub type and date on screen.
    QString subTypeDocCode() const;

    // What Save opens once the project is stored: the print dialog of the
    // document by default.
    std::function<void(const QString &docNo, int docYear, const QString &printCode)> PrintDocument;
    // The look-ups opened by F5; the family's dialogs by default.
    std::function<TFrSearch *(QWidget *parent)> ProjectLookup, ProductLookup;

    // Loads the project whose code is in the code box, or starts a new one with it.
    void BCodeExit();
    void BPicBrowseClick();
    void BOpenFolderClick();
    void BClearClick();

protected:
    void AcNewExecute() override;
    void AcSaveExecute() override;
    void AcDelExecute() override;
    void AcCopyExecute() override;
    void FormShow() override;
    bool previewKey(QWidget *target, int key, Qt::KeyboardModifiers mods) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildHeader(QWidget *host);
    void buildPages();
    void upgradeTable();
    void fillSubTypes();
    void fillCurrencies();
    void runSubTypeRule();
    void subTypeExit();
    void dateExit();
    void jobTypeChanged();
    void productExit();
    void unitChosen();
    void loadUnits(qint64 productId);
    void currencyChosen();
    void computeProjectPrice();
    void showSubType();
    void showUnit();
    void showRecordState();
    void applyLoadedDefaults();
    bool complete();
    void copyJobs(qint64 newId);
    void manualCodeMissing();
    QString openLookup(const std::function<TFrSearch *(QWidget *)> &factory, TFrSearch *(*fallback)(QWidget *));
    void focusEntered(QWidget *now);

    RecordBinder *m_binder = nullptr;
    QString m_defaultSubType;
    bool m_newRecord = true;
    bool m_codePending = false;
    bool m_autoRun = false;
    bool m_loading = false;
    qint64 m_copySource = 0;
    QMetaObject::Connection m_focusWatch;
};
