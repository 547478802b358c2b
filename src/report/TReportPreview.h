#pragma once
#include "ReportEngine.h"
#include <QDialog>
#include <QPrinter>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QScrollArea;
class QToolButton;

// The report preview: one page at a time with zoom, paging, find, print, page
// set-up, PDF export, save and load of prepared reports, and close. Print and page
// set-up can be hidden so that a document can be looked at but not printed.
class TReportPreview : public QDialog
{
    Q_OBJECT
public:
    enum Button { Zoom = 1, Find = 2, Print = 4, PageSetup = 8, Export = 16, Save = 32, Load = 64, Close = 128 };
    static constexpr int AllButtons = Zoom | Find | Print | PageSetup | Export | Save | Load | Close;

    explicit TReportPreview(QWidget *parent = nullptr);
    ~TReportPreview() override;

    void setReport(PreparedReport report);
    const PreparedReport &report() const { return m_report; }
    void setButtons(int buttons);
    int buttons() const { return m_buttons; }
    bool isButtonShown(Button b) const;

    int pageCount() const { return int(m_report.pages.size()); }
    int currentPage() const { return m_page; }
    void showPage(int index);
    void setZoom(double percent);
    double zoom() const { return m_zoom; }
    // Next page (from the current one on, wrapping) whose text holds the text; -1 if none.
    int findNext(const QString &text);

    void printReport();
    void pageSetup();
    void exportPdf(const QString &path = QString());
    void saveReport(const QString &path = QString());
    void loadReport(const QString &path = QString());

    // The file picker used by export, save and load; tests replace it.
    std::function<QString(bool save, const QString &filter)> chooseFile;
    // Called once the printing of all pages succeeded.
    std::function<void()> printed;
    QPrinter &printer() { return m_printer; }

    // The rendered current page, as shown.
    QImage currentImage() const { return m_image; }

protected:
    void keyPressEvent(QKeyEvent *e) override;

private:
    void render();
    QToolButton *addButton(const QString &text, const QString &tip, Button b, const std::function<void()> &action);

    PreparedReport m_report;
    int m_buttons = AllButtons;
    int m_page = 0;
    double m_zoom = 100;
    QString m_findText;
    bool m_pageSetUp = false;
    QPrinter m_printer;
    QImage m_image;
    QScrollArea *m_scroll = nullptr;
    QLabel *m_pageView = nullptr;
    QLabel *m_pageLabel = nullptr;
    QComboBox *m_zoomBox = nullptr;
    QLineEdit *m_findBox = nullptr;
    std::vector<std::pair<Button, QAction *>> m_buttonWidgets;
};
