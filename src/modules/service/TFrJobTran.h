#pragma once
#include "lookup/TFrForm.h"
#include <QLineEdit>
#include <functional>

class CodeEdit;
class DateEdit;
class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QTabWidget;
class QTableWidget;
class RecordBinder;
class RecordBuffer;
class TFaGetCustomer;
class TFaGetEmployee;
class TFaGetMisc;
class TFrSearch;

// A time of day typed as "hh:mm": the first digit 0-2, the first minute digit
// 0-5, the colon put in as the minutes start. Leaving it half typed is refused
// and the time held before comes back.
class TimeEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TimeEdit(QWidget *parent = nullptr);
    // Empty or complete; false (after the message) when it was refused.
    Q_INVOKABLE bool commitEdit();

protected:
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    QString m_held;
};

// Matters reported by customers: problems, suggestions and complaints, who took
// them, what was done and whether the customer was called back. One window for
// two tasks chosen by the "Mode" property before the first showing: 0 receives
// matters (the receiving part editable), 1 records the fixing and the call-back
// of stored matters (only that part editable, no new matters).
class TFrJobTran : public TFrForm
{
    Q_OBJECT
public:
    explicit TFrJobTran(QWidget *parent = nullptr);
    ~TFrJobTran() override;

    static constexpr const char *Version = "1.05.04.28";
    enum { ReceivingMode = 0, FixingMode = 1 };

    RecordBuffer *QrJobTran = nullptr;

    // Header
    CodeEdit *EdJobNo = nullptr;
    QComboBox *CbJobType = nullptr;
    DateEdit *EdJobDate = nullptr;
    TimeEdit *EdJobTime = nullptr;
    TFaGetCustomer *FaCustomer = nullptr;
    QLineEdit *EdCusAttn = nullptr;
    TFaGetEmployee *FaRcptEmployee = nullptr;
    CodeEdit *EdContractNo = nullptr;
    QLabel *LbContract = nullptr;
    QLineEdit *EdByEmployee = nullptr;
    // Reported before
    QCheckBox *CbRefJob = nullptr;
    TFaGetEmployee *FaRefRcptEmployee = nullptr;
    DateEdit *EdRefRcptDate = nullptr;
    TimeEdit *EdRefRcptTime = nullptr;
    // Subject
    QLineEdit *EdJobTitle = nullptr;
    TFaGetMisc *FaProblem = nullptr;
    // Pages
    QTabWidget *PageControl = nullptr;
    QWidget *TsDetail = nullptr, *TsFix = nullptr, *TsActionBack = nullptr, *TsContact = nullptr;
    QPlainTextEdit *MmJobDetail = nullptr;
    TFaGetEmployee *FaPassEmployee = nullptr;
    QComboBox *CbJobStatus = nullptr;
    DateEdit *EdJobAppDate = nullptr;
    TimeEdit *EdJobAppTime = nullptr;
    QPlainTextEdit *MmFixDetail = nullptr;
    TFaGetEmployee *FaFixEmployee = nullptr;
    DateEdit *EdFixDate = nullptr;
    TimeEdit *EdFixTime = nullptr, *EdFixtime2 = nullptr;
    QComboBox *CbJobStatus2 = nullptr;
    QCheckBox *CbClear = nullptr;
    TFaGetMisc *FaFixProblem = nullptr;
    QCheckBox *CbActionBack = nullptr;
    QLineEdit *EdActionBackAttn = nullptr;
    DateEdit *EdActionBackDate = nullptr;
    TimeEdit *EdActionBackTime = nullptr, *EdActionbacktime2 = nullptr;
    TFaGetEmployee *FaActionBackBy = nullptr;
    QPlainTextEdit *MmFeedbackRemark = nullptr;
    QTableWidget *DgContact = nullptr;

    int mode() const { return m_mode; }
    bool isNewRecord() const { return m_newRecord; }
    // True once the number box was left and a matter (stored or new) is on screen.
    bool matterStarted() const { return m_started; }
    QString jobType() const { return m_jobType; }
    int numberLength() const { return m_numberLength; }
    // The numbering sequence of the matter type on screen.
    QString docCode() const { return QStringLiteral("JOBNO-") + m_jobType; }
    // The contract box's condition: live contracts of this customer (0: of any).
    qint64 contractCustomer() const { return m_contractCustomer; }

    // The look-ups opened by F5 in the number and contract boxes; the window's
    // own dialogs by default.
    std::function<TFrSearch *(QWidget *parent)> JobLookup, ContractLookup;

    void BJobNoExit();
    void CbJobTypeChange();
    void FaCustomerExit();
    void BContractExit();
    void FaProblemExit();

protected:
    void AcNewExecute() override;
    void AcSaveExecute() override;
    void AcDelExecute() override;
    bool FormCloseQuery() override;
    void FormShow() override;
    void finishEditing() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildHeader(QWidget *host);
    void buildPages();
    void applyModeState();
    void fillStatuses();
    void showRecordState();
    void loadContacts(qint64 customer);
    void resolveContract(const QString &number, bool anyContract);
    QString openJobLookup();
    QString openContractLookup();
    void focusEntered(QWidget *now);

    RecordBinder *m_binder = nullptr;
    int m_mode = ReceivingMode;
    QString m_jobType;
    int m_numberLength = 0;
    bool m_newRecord = true;
    bool m_started = false;
    bool m_loading = false;
    QString m_loadedNumber;
    QString m_contractShown;
    qint64 m_contractCustomer = 0;
    QVariant m_newStatus;
    bool m_typeListOpen = false;
    bool m_editRefused = false;
    QMetaObject::Connection m_focusWatch;
};
