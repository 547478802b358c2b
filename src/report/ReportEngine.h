#pragma once
#include "ReportLayout.h"
#include <QHash>
#include <QSizeF>
#include <vector>

class Connection;

// A prepared report: pages of placed items in millimetres, independent of the
// device. The preview, the printer and PDF paint the same pages; a prepared report
// can be saved and loaded again without its data.
struct PreparedItem
{
    enum class Kind { Text, Line, Rect, Picture };
    Kind kind = Kind::Text;
    QRectF rect;
    QPointF p1, p2;
    QStringList lines;       // the text, already broken into lines
    double lineHeight = 0;   // mm
    QFont font;
    QColor color = Qt::black;
    int align = Qt::AlignLeft;
    int valign = Qt::AlignTop;
    QString frame;
    double frameWidth = 0.2;
    QColor fill;
    double padding = 0.8;
    double penWidth = 0.2;
    double radius = 0;
    QImage image;
    bool keepAspect = true;

    QString text() const { return lines.join(QLatin1Char('\n')); }
};

struct PreparedPage
{
    QSizeF size{210, 297};
    std::vector<PreparedItem> items;
    // The page's text, item by item in placing order, for find and for checks.
    QString text() const;
};

struct PreparedReport
{
    QString title;
    std::vector<PreparedPage> pages;

    QByteArray toJson() const;
    static PreparedReport fromJson(const QByteArray &json);
    void save(const QString &path) const;
    static PreparedReport load(const QString &path);
};

// Breaks text into the lines it takes in a box of the given width (mm), the way
// it will print: Thai breaks at word boundaries. Returns the line height in mm.
double breakTextLines(const QString &text, const QFont &font, double widthMm, bool wrap, QStringList *lines);

// Runs a layout: opens its data sets on the company connection (or the one given)
// with the report variables as bound parameters, evaluates the bands and cuts
// them into pages.
class ReportEngine
{
public:
    explicit ReportEngine(Connection *connection = nullptr);
    ~ReportEngine();

    void loadLayout(const QString &path);
    void setLayout(ReportLayout layout);
    const ReportLayout &layout() const { return m_layout; }

    // A report variable as expression text ("'PJ26000001'", "2026"), as the print
    // dialog hands them over.
    void setVariable(const QString &name, const QString &expressionText);
    // A report variable by value.
    void setVariableValue(const QString &name, const RValue &value);
    void clearVariables();

    PreparedReport prepare();

private:
    class Run;
    Connection &connection();

    ReportLayout m_layout;
    Connection *m_connection = nullptr;
    std::vector<std::pair<QString, Expr>> m_varExprs;
    QHash<QString, RValue> m_varValues; // keys upper-cased
};
