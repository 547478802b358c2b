#include "ReportRender.h"
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPrinter>

namespace ReportRender {

namespace {

QRectF scaled(const QRectF &r, double k) { return QRectF(r.x() * k, r.y() * k, r.width() * k, r.height() * k); }

void paintText(QPainter &p, const PreparedItem &it, double k, bool marked)
{
    const QRectF box = scaled(it.rect, k);
    if (it.fill.isValid())
        p.fillRect(box, it.fill);
    if (marked)
        p.fillRect(box, QColor(255, 235, 59, 160));
    if (!it.frame.isEmpty()) {
        QPen pen(Qt::black, qMax(1.0, it.frameWidth * k));
        pen.setCapStyle(Qt::SquareCap);
        p.setPen(pen);
        if (it.frame.contains(QLatin1Char('L'))) p.drawLine(box.topLeft(), box.bottomLeft());
        if (it.frame.contains(QLatin1Char('T'))) p.drawLine(box.topLeft(), box.topRight());
        if (it.frame.contains(QLatin1Char('R'))) p.drawLine(box.topRight(), box.bottomRight());
        if (it.frame.contains(QLatin1Char('B'))) p.drawLine(box.bottomLeft(), box.bottomRight());
    }
    if (it.lines.isEmpty())
        return;
    QFont f(it.font);
    f.setHintingPreference(QFont::PreferNoHinting);
    // Point sizes are turned into device pixels by the device's own resolution;
    // correct for painting at another scale than the device's.
    const double deviceDpi = p.device() ? p.device()->logicalDpiY() : 96.0;
    f.setPointSizeF(it.font.pointSizeF() * (k * 25.4) / deviceDpi);
    p.setFont(f);
    p.setPen(it.color);
    const double pad = it.padding * k;
    const double lh = it.lineHeight * k;
    const QRectF inner = box.adjusted(pad, pad, -pad, -pad);
    double y = inner.top();
    const double used = lh * it.lines.size();
    if (it.valign == Qt::AlignVCenter)
        y = inner.top() + (inner.height() - used) / 2;
    else if (it.valign == Qt::AlignBottom)
        y = inner.bottom() - used;
    p.save();
    p.setClipRect(box.adjusted(-0.5, -0.5, 0.5, 0.5));
    for (const QString &line : it.lines) {
        p.drawText(QRectF(inner.left(), y, inner.width(), lh), it.align | Qt::AlignVCenter | Qt::TextDontClip | Qt::TextSingleLine, line);
        y += lh;
    }
    p.restore();
}

} // namespace

void paintPage(QPainter &p, const PreparedPage &page, double k, const QString &highlight)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    for (const auto &it : page.items) {
        switch (it.kind) {
        case PreparedItem::Kind::Text:
            paintText(p, it, k, !highlight.isEmpty() && it.text().contains(highlight, Qt::CaseInsensitive));
            break;
        case PreparedItem::Kind::Line:
            p.setPen(QPen(it.color, qMax(1.0, it.penWidth * k)));
            p.drawLine(it.p1 * k, it.p2 * k);
            break;
        case PreparedItem::Kind::Rect: {
            const QRectF r = scaled(it.rect, k);
            p.setPen(it.penWidth > 0 ? QPen(it.color, qMax(1.0, it.penWidth * k)) : QPen(Qt::NoPen));
            p.setBrush(it.fill.isValid() ? QBrush(it.fill) : QBrush(Qt::NoBrush));
            if (it.radius > 0)
                p.drawRoundedRect(r, it.radius * k, it.radius * k);
            else
                p.drawRect(r);
            p.setBrush(Qt::NoBrush);
            break;
        }
        case PreparedItem::Kind::Picture: {
            if (it.image.isNull())
                break;
            QRectF r = scaled(it.rect, k);
            if (it.keepAspect) {
                QSizeF s = it.image.size();
                s.scale(r.size(), Qt::KeepAspectRatio);
                r = QRectF(r.center() - QPointF(s.width() / 2, s.height() / 2), s);
            }
            p.drawImage(r, it.image);
            break;
        }
        }
    }
    p.restore();
}

QImage pageImage(const PreparedPage &page, double dpi, const QString &highlight)
{
    const double k = dpi / 25.4;
    QImage img(qMax(1, qRound(page.size.width() * k)), qMax(1, qRound(page.size.height() * k)), QImage::Format_RGB32);
    img.setDotsPerMeterX(qRound(dpi / 0.0254));
    img.setDotsPerMeterY(qRound(dpi / 0.0254));
    img.fill(Qt::white);
    QPainter p(&img);
    paintPage(p, page, k, highlight);
    return img;
}

void writePdf(const PreparedReport &report, const QString &path)
{
    QPdfWriter w(path);
    w.setResolution(300);
    w.setTitle(report.title);
    w.setCreator(QStringLiteral("qlxhost"));
    const QSizeF first = report.pages.empty() ? QSizeF(210, 297) : report.pages.front().size;
    w.setPageSize(QPageSize(first, QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
    w.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter p;
    if (!p.begin(&w))
        throw ReportError(QStringLiteral("%1: cannot write the PDF file").arg(path));
    const double k = w.resolution() / 25.4;
    for (size_t i = 0; i < report.pages.size(); ++i) {
        if (i > 0) {
            w.setPageSize(QPageSize(report.pages[i].size, QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
            w.newPage();
        }
        paintPage(p, report.pages[i], k);
    }
    if (!p.end())
        throw ReportError(QStringLiteral("%1: cannot write the PDF file").arg(path));
}

bool print(const PreparedReport &report, QPrinter &printer, bool keepPrinterPage)
{
    printer.setCopyCount(1);
    printer.setCollateCopies(true);
    printer.setFullPage(true);
    printer.setPrintRange(QPrinter::AllPages);
    const QSizeF first = report.pages.empty() ? QSizeF(210, 297) : report.pages.front().size;
    if (!keepPrinterPage) {
        printer.setPageSize(QPageSize(first, QPageSize::Millimeter, QString(), QPageSize::FuzzyOrientationMatch));
        printer.setPageOrientation(first.width() > first.height() ? QPageLayout::Landscape : QPageLayout::Portrait);
        printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    }
    if (!printer.docName().size())
        printer.setDocName(report.title);
    QPainter p;
    if (!p.begin(&printer))
        return false;
    const double k0 = printer.resolution() / 25.4;
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    for (size_t i = 0; i < report.pages.size(); ++i) {
        if (i > 0 && !printer.newPage())
            return false;
        const QSizeF s = report.pages[i].size;
        const double fit = qMin(1.0, qMin(paper.width() / (s.width() * k0), paper.height() / (s.height() * k0)));
        paintPage(p, report.pages[i], k0 * fit);
    }
    return p.end();
}

} // namespace ReportRender
