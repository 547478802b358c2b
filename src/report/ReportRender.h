#pragma once
#include "ReportEngine.h"
#include <QImage>

class QPainter;
class QPrinter;

namespace ReportRender {

// Paints one page with its top-left corner at the painter's origin, pxPerMm device
// pixels to the millimetre. Items whose text contains `highlight` are marked.
void paintPage(QPainter &p, const PreparedPage &page, double pxPerMm, const QString &highlight = QString());

// The page as a picture at the given resolution (white paper).
QImage pageImage(const PreparedPage &page, double dpi, const QString &highlight = QString());

// Every page into one PDF file; a ReportError when it cannot be written.
void writePdf(const PreparedReport &report, const QString &path);

// Every page on the printer: one copy, collated, no dialog. The printer's paper
// is set to the report's unless keepPrinterPage (after a page set-up), in which
// case the pages are scaled to fit it. False when the printer cannot be opened.
bool print(const PreparedReport &report, QPrinter &printer, bool keepPrinterPage = false);

} // namespace ReportRender
