#pragma once
#include "TReportPreview.h"
#include <QDialog>
#include <QPrinter>
#include <functional>

class QLabel;
class QPushButton;
class QTreeWidget;

// Renders or previews a layout of the newer format for one document on a company
// database opened by name: mode 1 prints, 0 previews. Returns 0 when done. The
// print library (qlxprintlib) exports it as DllPrintForm.
int PrintLibraryForm(const QString &company, const QString &frfName, const QString &userCode, const QString &docNo, int mode);

// Loads the print library and calls its DllPrintForm; a library that cannot be
// loaded is a message and result 1.
int CallPrintLibrary(const QString &libraryPath, const QString &company, const QString &frfName, const QString &userCode,
                     const QString &docNo, int mode);
QString defaultPrintLibraryPath();

// The print dialog of a saved document: lists the print forms of the print code
// (table SystemForm), prepares the data with the form's procedure and previews or
// prints its layout. In voucher mode it prints the journal voucher of the same
// document from Form_GLAuto.frf.
class TFrPrintForm : public QDialog
{
    Q_OBJECT
public:
    explicit TFrPrintForm(bool voucher = false, QWidget *parent = nullptr);
    ~TFrPrintForm() override;

    // The dialog of the process, created on first use.
    static TFrPrintForm &shared();

    QString DocNo;
    int DocYear = 0;
    QString PrintCode;

    // Sets up and shows the dialog modally; returns at once when the print code
    // has no form.
    int execute();
    // What showing does before the user acts: texts, table upgrade, the rows.
    void loadForms();

    int formCount() const { return int(m_forms.size()); }
    QTreeWidget *formList() const { return m_list; }
    void BDisplayClick();
    void BPrintClick();

    // The voucher class a print code is filed under.
    static QString MapVoucherCode(const QString &printCode);

    // Seams for unattended use and tests: how a preview is shown (modal by
    // default), the printer set-up dialog, and the newer-format renderer.
    std::function<void(TReportPreview &)> runPreview;
    std::function<void(QPrinter &)> runPrinterSetup;
    std::function<int(const QString &company, const QString &frf, const QString &user, const QString &docNo, int mode)> printLibrary;
    QPrinter &printer() { return m_printer; }

protected:
    void keyPressEvent(QKeyEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *e) override;

private:
    struct Form
    {
        QString desc, frf, sp, docCode, showPrintPreview;
    };
    void setTexts();
    void run(bool print);
    void runBuiltIn(const QString &frf, const QString &sp, const QString &docCode, bool printButtons, bool print, const QString &printCodeVar);
    void showFrfName();
    void guarded(const std::function<void()> &f);

    bool m_voucher = false;
    std::vector<Form> m_forms;
    QTreeWidget *m_list = nullptr;
    QLabel *m_heading = nullptr;
    QPushButton *m_display = nullptr;
    QPushButton *m_print = nullptr;
    QPushButton *m_setup = nullptr;
    QPushButton *m_exit = nullptr;
    QPrinter m_printer;
};
