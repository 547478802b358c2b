#include "TReportPreview.h"
#include "ReportRender.h"
#include "session/UserDialogs.h"
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QScrollArea>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

TReportPreview::TReportPreview(QWidget *parent) : QDialog(parent), m_printer(QPrinter::HighResolution)
{
    setWindowTitle(QStringLiteral("แสดงรายงาน"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    resize(900, 1000);
    auto *lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    auto *bar = new QToolBar(this);
    lay->addWidget(bar);

    m_zoomBox = new QComboBox(bar);
    for (int z : {50, 75, 100, 125, 150, 200})
        m_zoomBox->addItem(QStringLiteral("%1%").arg(z), z);
    m_zoomBox->setCurrentIndex(2);
    m_zoomBox->setToolTip(QStringLiteral("ย่อ/ขยาย"));
    connect(m_zoomBox, &QComboBox::activated, this, [this](int i) { setZoom(m_zoomBox->itemData(i).toDouble()); });
    m_buttonWidgets.emplace_back(Zoom, bar->addWidget(m_zoomBox));

    auto nav = [&](const QString &t, const QString &tip, std::function<void()> f) {
        auto *b = new QToolButton(bar);
        b->setText(t);
        b->setToolTip(tip);
        connect(b, &QToolButton::clicked, this, f);
        bar->addWidget(b);
    };
    nav(QStringLiteral("|<"), QStringLiteral("หน้าแรก"), [this] { showPage(0); });
    nav(QStringLiteral("<"), QStringLiteral("หน้าก่อน"), [this] { showPage(m_page - 1); });
    m_pageLabel = new QLabel(bar);
    m_pageLabel->setMinimumWidth(90);
    m_pageLabel->setAlignment(Qt::AlignCenter);
    bar->addWidget(m_pageLabel);
    nav(QStringLiteral(">"), QStringLiteral("หน้าถัดไป"), [this] { showPage(m_page + 1); });
    nav(QStringLiteral(">|"), QStringLiteral("หน้าสุดท้าย"), [this] { showPage(pageCount() - 1); });

    m_findBox = new QLineEdit(bar);
    m_findBox->setPlaceholderText(QStringLiteral("ค้นหา"));
    m_findBox->setMaximumWidth(160);
    connect(m_findBox, &QLineEdit::returnPressed, this, [this] { findNext(m_findBox->text()); });
    m_buttonWidgets.emplace_back(Find, bar->addWidget(m_findBox));
    addButton(QStringLiteral("ค้นหา"), QStringLiteral("ค้นหาข้อความในรายงาน"), Find, [this] { findNext(m_findBox->text()); });
    addButton(QStringLiteral("พิมพ์"), QStringLiteral("พิมพ์รายงานทางเครื่องพิมพ์"), Print, [this] { printReport(); });
    addButton(QStringLiteral("ตั้งหน้ากระดาษ"), QStringLiteral("กำหนดหน้ากระดาษและเครื่องพิมพ์"), PageSetup, [this] { pageSetup(); });
    addButton(QStringLiteral("PDF"), QStringLiteral("ส่งออกเป็นแฟ้ม PDF"), Export, [this] { exportPdf(); });
    addButton(QStringLiteral("บันทึก"), QStringLiteral("บันทึกรายงาน"), Save, [this] { saveReport(); });
    addButton(QStringLiteral("เปิด"), QStringLiteral("เปิดรายงานที่บันทึกไว้"), Load, [this] { loadReport(); });
    addButton(QStringLiteral("ปิด"), QStringLiteral("ปิดหน้าจอ"), Close, [this] { close(); });

    m_scroll = new QScrollArea(this);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_pageView = new QLabel(m_scroll);
    m_pageView->setObjectName(QStringLiteral("pageView"));
    m_scroll->setWidget(m_pageView);
    lay->addWidget(m_scroll, 1);

    chooseFile = [this](bool save, const QString &filter) {
        return save ? QFileDialog::getSaveFileName(this, windowTitle(), QString(), filter)
                    : QFileDialog::getOpenFileName(this, windowTitle(), QString(), filter);
    };
}

TReportPreview::~TReportPreview() = default;

QToolButton *TReportPreview::addButton(const QString &text, const QString &tip, Button b, const std::function<void()> &action)
{
    auto *bar = findChild<QToolBar *>();
    auto *btn = new QToolButton(bar);
    btn->setText(text);
    btn->setToolTip(tip);
    btn->setObjectName(QStringLiteral("button%1").arg(int(b)));
    connect(btn, &QToolButton::clicked, this, action);
    m_buttonWidgets.emplace_back(b, bar->addWidget(btn));
    return btn;
}

void TReportPreview::setButtons(int buttons)
{
    m_buttons = buttons;
    // Toolbar widgets are hidden through their actions.
    for (const auto &[b, action] : m_buttonWidgets)
        action->setVisible((buttons & b) != 0);
}

bool TReportPreview::isButtonShown(Button b) const { return (m_buttons & b) != 0; }

void TReportPreview::setReport(PreparedReport report)
{
    m_report = std::move(report);
    if (!m_report.title.isEmpty())
        setWindowTitle(m_report.title);
    m_page = 0;
    render();
}

void TReportPreview::showPage(int index)
{
    if (m_report.pages.empty())
        return;
    m_page = qBound(0, index, pageCount() - 1);
    render();
}

void TReportPreview::setZoom(double percent)
{
    m_zoom = qBound(10.0, percent, 400.0);
    const int i = m_zoomBox->findData(qRound(m_zoom));
    if (i >= 0)
        m_zoomBox->setCurrentIndex(i);
    else
        m_zoomBox->setEditText(QStringLiteral("%1%").arg(qRound(m_zoom)));
    render();
}

void TReportPreview::render()
{
    m_pageLabel->setText(pageCount() ? QStringLiteral("%1 / %2").arg(m_page + 1).arg(pageCount()) : QStringLiteral("0 / 0"));
    if (m_report.pages.empty()) {
        m_image = QImage();
        m_pageView->clear();
        return;
    }
    // 96 dots per inch at 100 %: a page looks as large as on paper.
    m_image = ReportRender::pageImage(m_report.pages[m_page], 96.0 * m_zoom / 100.0, m_findText);
    m_pageView->setPixmap(QPixmap::fromImage(m_image));
    m_pageView->resize(m_image.size());
}

int TReportPreview::findNext(const QString &text)
{
    if (text.isEmpty() || m_report.pages.empty())
        return -1;
    const bool again = text == m_findText;
    m_findText = text;
    const int n = pageCount();
    // A repeated search goes on after the current page.
    for (int step = again ? 1 : 0; step <= n; ++step) {
        const int p = (m_page + step) % n;
        if (m_report.pages[p].text().contains(text, Qt::CaseInsensitive)) {
            showPage(p);
            return p;
        }
    }
    m_findText.clear();
    render();
    ShowMessage(QStringLiteral("ไม่พบข้อความ \"%1\"").arg(text));
    return -1;
}

void TReportPreview::printReport()
{
    if (!isButtonShown(Print) || m_report.pages.empty())
        return;
    if (ReportRender::print(m_report, m_printer, m_pageSetUp)) {
        if (printed)
            printed();
    } else {
        ShowError(QStringLiteral("พิมพ์รายงานไม่สำเร็จ"));
    }
}

void TReportPreview::pageSetup()
{
    if (!isButtonShown(PageSetup))
        return;
    QPageSetupDialog d(&m_printer, this);
    if (d.exec() == QDialog::Accepted)
        m_pageSetUp = true;
}

void TReportPreview::exportPdf(const QString &given)
{
    const QString path = given.isEmpty() ? chooseFile(true, QStringLiteral("PDF (*.pdf)")) : given;
    if (path.isEmpty())
        return;
    try {
        ReportRender::writePdf(m_report, path);
    } catch (const ReportError &e) {
        ShowError(e.message());
    }
}

void TReportPreview::saveReport(const QString &given)
{
    const QString path = given.isEmpty() ? chooseFile(true, QStringLiteral("รายงาน (*.qrp)")) : given;
    if (path.isEmpty())
        return;
    try {
        m_report.save(path);
    } catch (const ReportError &e) {
        ShowError(e.message());
    }
}

void TReportPreview::loadReport(const QString &given)
{
    const QString path = given.isEmpty() ? chooseFile(false, QStringLiteral("รายงาน (*.qrp)")) : given;
    if (path.isEmpty())
        return;
    try {
        setReport(PreparedReport::load(path));
    } catch (const ReportError &e) {
        // The report on screen stays as it was.
        ShowError(e.message());
    }
}

void TReportPreview::keyPressEvent(QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_PageDown: showPage(m_page + 1); return;
    case Qt::Key_PageUp: showPage(m_page - 1); return;
    case Qt::Key_Home: if (e->modifiers() & Qt::ControlModifier) { showPage(0); return; } break;
    case Qt::Key_End: if (e->modifiers() & Qt::ControlModifier) { showPage(pageCount() - 1); return; } break;
    case Qt::Key_F:
        if (e->modifiers() & Qt::ControlModifier && isButtonShown(Find)) { m_findBox->setFocus(); return; }
        break;
    case Qt::Key_P:
        if (e->modifiers() & Qt::ControlModifier) { printReport(); return; }
        break;
    default: break;
    }
    QDialog::keyPressEvent(e);
}
