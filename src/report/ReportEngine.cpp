#include "ReportEngine.h"
#include "db/Connection.h"
#include "services/TDM.h"
#include <QBuffer>
#include <QFile>
#include <QFontMetricsF>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSqlRecord>
#include <QTextLayout>

// ------------------------------------------------------------------ text lines

namespace {
// Lines are measured once, on a fine virtual device, and printed line by line on
// every device: the preview, the printer and PDF break the text at the same places.
constexpr double kMeasureDpi = 720.0;

QPaintDevice *measureDevice()
{
    static QImage img = [] {
        QImage i(4, 4, QImage::Format_ARGB32);
        i.setDotsPerMeterX(qRound(kMeasureDpi / 0.0254));
        i.setDotsPerMeterY(qRound(kMeasureDpi / 0.0254));
        return i;
    }();
    return &img;
}
} // namespace

double breakTextLines(const QString &text, const QFont &font, double widthMm, bool wrap, QStringList *lines)
{
    QFont f(font);
    f.setHintingPreference(QFont::PreferNoHinting);
    QPaintDevice *dev = measureDevice();
    const QFontMetricsF fm(f, dev);
    const double lineMm = fm.lineSpacing() * 25.4 / kMeasureDpi;
    lines->clear();
    if (text.isEmpty())
        return lineMm;
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(t, f, dev);
    QTextOption opt;
    opt.setWrapMode(wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::ManualWrap);
    layout.setTextOption(opt);
    const double widthPx = qMax(1.0, widthMm * kMeasureDpi / 25.4);
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(wrap ? widthPx : 1e9);
        QString s = t.mid(line.textStart(), line.textLength());
        s.remove(QChar::LineSeparator);
        while (s.endsWith(QLatin1Char(' ')))
            s.chop(1);
        lines->append(s);
    }
    layout.endLayout();
    return lineMm;
}

// ------------------------------------------------------------------ prepared report

QString PreparedPage::text() const
{
    QStringList parts;
    for (const auto &i : items)
        if (i.kind == PreparedItem::Kind::Text && !i.lines.isEmpty())
            parts << i.text();
    return parts.join(QLatin1Char('\n'));
}

namespace {
QJsonArray rectJson(const QRectF &r) { return {r.x(), r.y(), r.width(), r.height()}; }
QRectF jsonRect(const QJsonValue &v)
{
    const QJsonArray a = v.toArray();
    return a.size() == 4 ? QRectF(a[0].toDouble(), a[1].toDouble(), a[2].toDouble(), a[3].toDouble()) : QRectF();
}
} // namespace

QByteArray PreparedReport::toJson() const
{
    QJsonArray pagesJson;
    for (const auto &p : pages) {
        QJsonArray items;
        for (const auto &i : p.items) {
            QJsonObject o;
            o[QLatin1String("k")] = int(i.kind);
            o[QLatin1String("r")] = rectJson(i.rect);
            switch (i.kind) {
            case PreparedItem::Kind::Text:
                o[QLatin1String("lines")] = QJsonArray::fromStringList(i.lines);
                o[QLatin1String("lh")] = i.lineHeight;
                o[QLatin1String("font")] = i.font.toString();
                o[QLatin1String("color")] = i.color.name();
                o[QLatin1String("align")] = i.align;
                o[QLatin1String("valign")] = i.valign;
                o[QLatin1String("frame")] = i.frame;
                o[QLatin1String("fw")] = i.frameWidth;
                o[QLatin1String("pad")] = i.padding;
                if (i.fill.isValid())
                    o[QLatin1String("fill")] = i.fill.name();
                break;
            case PreparedItem::Kind::Line:
                o[QLatin1String("p")] = QJsonArray{i.p1.x(), i.p1.y(), i.p2.x(), i.p2.y()};
                o[QLatin1String("pw")] = i.penWidth;
                o[QLatin1String("color")] = i.color.name();
                break;
            case PreparedItem::Kind::Rect:
                o[QLatin1String("pw")] = i.penWidth;
                o[QLatin1String("color")] = i.color.name();
                o[QLatin1String("radius")] = i.radius;
                if (i.fill.isValid())
                    o[QLatin1String("fill")] = i.fill.name();
                break;
            case PreparedItem::Kind::Picture: {
                QByteArray png;
                QBuffer buf(&png);
                buf.open(QIODevice::WriteOnly);
                i.image.save(&buf, "PNG");
                o[QLatin1String("png")] = QString::fromLatin1(png.toBase64());
                o[QLatin1String("aspect")] = i.keepAspect;
                break;
            }
            }
            items.append(o);
        }
        pagesJson.append(QJsonObject{{QStringLiteral("w"), p.size.width()}, {QStringLiteral("h"), p.size.height()}, {QStringLiteral("items"), items}});
    }
    QJsonObject root{{QStringLiteral("preparedReport"), 1}, {QStringLiteral("title"), title}, {QStringLiteral("pages"), pagesJson}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

PreparedReport PreparedReport::fromJson(const QByteArray &json)
{
    QJsonParseError err;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &err);
    if (err.error != QJsonParseError::NoError || !doc.object().contains(QLatin1String("preparedReport")))
        throw ReportError(QStringLiteral("not a saved report"));
    PreparedReport r;
    const QJsonObject root = doc.object();
    r.title = root.value(QLatin1String("title")).toString();
    for (const auto &pv : root.value(QLatin1String("pages")).toArray()) {
        const QJsonObject po = pv.toObject();
        PreparedPage page;
        page.size = QSizeF(po.value(QLatin1String("w")).toDouble(210), po.value(QLatin1String("h")).toDouble(297));
        for (const auto &iv : po.value(QLatin1String("items")).toArray()) {
            const QJsonObject o = iv.toObject();
            PreparedItem i;
            i.kind = PreparedItem::Kind(qBound(0, o.value(QLatin1String("k")).toInt(), 3));
            i.rect = jsonRect(o.value(QLatin1String("r")));
            if (o.contains(QLatin1String("color")))
                i.color = QColor(o.value(QLatin1String("color")).toString());
            if (o.contains(QLatin1String("fill")))
                i.fill = QColor(o.value(QLatin1String("fill")).toString());
            i.penWidth = o.value(QLatin1String("pw")).toDouble(0.2);
            switch (i.kind) {
            case PreparedItem::Kind::Text:
                for (const auto &l : o.value(QLatin1String("lines")).toArray())
                    i.lines << l.toString();
                i.lineHeight = o.value(QLatin1String("lh")).toDouble();
                i.font.fromString(o.value(QLatin1String("font")).toString());
                i.align = o.value(QLatin1String("align")).toInt(Qt::AlignLeft);
                i.valign = o.value(QLatin1String("valign")).toInt(Qt::AlignTop);
                i.frame = o.value(QLatin1String("frame")).toString();
                i.frameWidth = o.value(QLatin1String("fw")).toDouble(0.2);
                i.padding = o.value(QLatin1String("pad")).toDouble(0.8);
                break;
            case PreparedItem::Kind::Line: {
                const QJsonArray a = o.value(QLatin1String("p")).toArray();
                if (a.size() == 4) {
                    i.p1 = QPointF(a[0].toDouble(), a[1].toDouble());
                    i.p2 = QPointF(a[2].toDouble(), a[3].toDouble());
                }
                break;
            }
            case PreparedItem::Kind::Rect:
                i.radius = o.value(QLatin1String("radius")).toDouble();
                break;
            case PreparedItem::Kind::Picture:
                i.image = QImage::fromData(QByteArray::fromBase64(o.value(QLatin1String("png")).toString().toLatin1()), "PNG");
                i.keepAspect = o.value(QLatin1String("aspect")).toBool(true);
                break;
            }
            page.items.push_back(std::move(i));
        }
        r.pages.push_back(std::move(page));
    }
    return r;
}

void PreparedReport::save(const QString &path) const
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(toJson()) < 0 || !f.flush())
        throw ReportError(QStringLiteral("%1: cannot write the report (%2)").arg(path, f.errorString()));
}

PreparedReport PreparedReport::load(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw ReportError(QStringLiteral("%1: cannot open the report (%2)").arg(path, f.errorString()));
    try {
        return fromJson(f.readAll());
    } catch (const ReportError &e) {
        throw ReportError(QStringLiteral("%1: %2").arg(path, e.message()));
    }
}

// ------------------------------------------------------------------ the engine

ReportEngine::ReportEngine(Connection *connection) : m_connection(connection) {}
ReportEngine::~ReportEngine() = default;

void ReportEngine::loadLayout(const QString &path) { m_layout = ReportLayout::load(path); }
void ReportEngine::setLayout(ReportLayout layout) { m_layout = std::move(layout); }

void ReportEngine::setVariable(const QString &name, const QString &expressionText)
{
    Expr e;
    try {
        e = Expr::compile(expressionText);
    } catch (const ReportError &err) {
        throw ReportError(QStringLiteral("report variable %1: %2").arg(name, err.message()));
    }
    m_varValues.remove(name.toUpper());
    for (auto &v : m_varExprs)
        if (v.first.compare(name, Qt::CaseInsensitive) == 0) {
            v.second = e;
            return;
        }
    m_varExprs.emplace_back(name, e);
}

void ReportEngine::setVariableValue(const QString &name, const RValue &value)
{
    std::erase_if(m_varExprs, [&](const auto &v) { return v.first.compare(name, Qt::CaseInsensitive) == 0; });
    m_varValues.insert(name.toUpper(), value);
}

void ReportEngine::clearVariables()
{
    m_varExprs.clear();
    m_varValues.clear();
}

Connection &ReportEngine::connection()
{
    if (m_connection)
        return *m_connection;
    if (!TDM::instance())
        throw ReportError(QStringLiteral("no company connection for the report's data sets"));
    return TDM::instance()->DMDATA();
}

namespace {

struct Dataset
{
    QString name;
    QStringList columns;        // as the query names them
    QHash<QString, int> index;  // upper-cased name -> column
    std::vector<std::vector<RValue>> rows;
    int current = 0;
};

enum class AggScope { Group, Page, Report };

struct AggSlot
{
    std::shared_ptr<Expr::Aggregate> agg;
    AggScope scope = AggScope::Report;
    int master = -1;   // band index of the master band whose rows feed it
    int groupLevel = 0;
};

QVariant bindable(const RValue &v)
{
    switch (v.type) {
    case RValue::Type::Null: return QVariant();
    case RValue::Type::Number:
        // Whole numbers bind as integers, so integer columns compare on every engine.
        try {
            if (v.num.truncated(0) == v.num)
                return QVariant(v.num.toInt64());
        } catch (const std::exception &) {
        }
        return QVariant::fromValue(v.num);
    case RValue::Type::Text: return v.text;
    case RValue::Type::Date: return v.date;
    case RValue::Type::Bool: return v.flag ? QStringLiteral("Y") : QStringLiteral("N");
    case RValue::Type::Bytes: return v.bytes;
    }
    return {};
}

} // namespace

class ReportEngine::Run : public ExprContext
{
public:
    Run(ReportEngine &e) : m_engine(e), m_layout(e.m_layout) {}

    std::optional<RValue> lookup(const QString &dataset, const QString &name) override
    {
        if (dataset.isEmpty()) {
            const QString u = name.toUpper();
            if (u == QLatin1String("PAGE") || u == QLatin1String("PAGE#"))
                return RValue::number(Decimal(qint64(m_pageNo)));
            if (u == QLatin1String("TOTALPAGES") || u == QLatin1String("PAGECOUNT"))
                return RValue::number(Decimal(qint64(m_totalPages)));
            if (u == QLatin1String("LINE") || u == QLatin1String("LINE#"))
                return RValue::number(Decimal(qint64(m_line)));
            if (u == QLatin1String("DATE"))
                return RValue::fromDate(QDate::currentDate());
            if (u == QLatin1String("TIME"))
                return RValue::fromText(QTime::currentTime().toString(QStringLiteral("HH:mm")));
            if (auto v = variable(u))
                return v;
            // Unqualified fields: the data set being printed first, then the others.
            if (m_currentMaster >= 0)
                if (auto v = field(m_sets[m_currentMaster], u))
                    return v;
            for (auto &s : m_sets)
                if (auto v = field(s, u))
                    return v;
            return std::nullopt;
        }
        for (auto &s : m_sets)
            if (s.name.compare(dataset, Qt::CaseInsensitive) == 0)
                return field(s, name.toUpper());
        return std::nullopt;
    }

    PreparedReport run()
    {
        openDatasets();
        bool needsCount = false;
        for (const auto &b : m_layout.bands)
            for (const auto &o : b.objects)
                needsCount = needsCount || o.text.usesPageCount();
        for (const auto &v : m_engine.m_varExprs)
            needsCount = needsCount || v.second.usesPageCount();
        for (const auto &v : m_layoutVars)
            needsCount = needsCount || v.second.usesPageCount();
        PreparedReport r = pass();
        if (needsCount) {
            // The page count is known only once all pages are cut; cut them again with it.
            m_totalPages = int(r.pages.size());
            r = pass();
        }
        r.title = m_layout.title;
        return r;
    }

private:
    std::optional<RValue> variable(const QString &upper)
    {
        auto it = m_engine.m_varValues.constFind(upper);
        if (it != m_engine.m_varValues.constEnd())
            return *it;
        auto evalVar = [&](const Expr &e, const QString &n) -> RValue {
            if (++m_depth > 32) {
                m_depth = 0;
                throw ReportError(QStringLiteral("report variable %1 refers to itself").arg(n));
            }
            try {
                RValue v = e.eval(*this);
                --m_depth;
                return v;
            } catch (const ReportError &err) {
                m_depth = 0;
                throw ReportError(QStringLiteral("report variable %1: %2").arg(n, err.message()));
            }
        };
        for (const auto &v : m_engine.m_varExprs)
            if (v.first.toUpper() == upper)
                return evalVar(v.second, v.first);
        for (const auto &v : m_layoutVars)
            if (v.first.toUpper() == upper)
                return evalVar(v.second, v.first);
        return std::nullopt;
    }

    static std::optional<RValue> field(Dataset &s, const QString &upper)
    {
        auto it = s.index.constFind(upper);
        if (it == s.index.constEnd())
            return std::nullopt;
        if (s.current < 0 || s.current >= int(s.rows.size()))
            return RValue();
        return s.rows[s.current][*it];
    }

    void openDatasets()
    {
        for (const auto &v : m_layout.variables)
            m_layoutVars.emplace_back(v.first, Expr::compile(v.second));
        // :name, not inside quotes and not a ::cast.
        static const QRegularExpression param(QStringLiteral("'(?:[^']|'')*'|(?<!:):([A-Za-z_][A-Za-z0-9_]*)"));
        for (const auto &ds : m_layout.datasets) {
            Params params;
            auto it = param.globalMatch(ds.sql);
            while (it.hasNext()) {
                const auto m = it.next();
                const QString p = m.captured(1);
                if (p.isEmpty() || params.contains(p))
                    continue;
                std::optional<RValue> v;
                try {
                    v = variable(p.toUpper());
                } catch (const ReportError &e) {
                    throw ReportError(QStringLiteral("%1, data set %2: %3").arg(m_layout.title, ds.name, e.message()));
                }
                if (!v)
                    throw ReportError(QStringLiteral("data set %1: no report variable for the parameter :%2").arg(ds.name, p));
                params.insert(p, bindable(*v));
            }
            Dataset set;
            set.name = ds.name;
            QSqlQuery q;
            try {
                q = m_engine.connection().exec(ds.sql, params);
            } catch (const DbError &e) {
                throw ReportError(QStringLiteral("data set %1: %2").arg(ds.name, e.message()));
            }
            const QSqlRecord rec = q.record();
            for (int i = 0; i < rec.count(); ++i) {
                set.columns << rec.fieldName(i);
                set.index.insert(rec.fieldName(i).toUpper(), i);
            }
            while (q.next()) {
                std::vector<RValue> row;
                row.reserve(rec.count());
                for (int i = 0; i < rec.count(); ++i)
                    row.push_back(RValue::fromVariant(q.value(i)));
                set.rows.push_back(std::move(row));
            }
            m_sets.push_back(std::move(set));
        }
    }

    int datasetIndex(const QString &name) const
    {
        for (int i = 0; i < int(m_sets.size()); ++i)
            if (m_sets[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }

    // ---- placing bands

    std::vector<PreparedItem> buildBand(const LayoutBand &band, double *height)
    {
        std::vector<PreparedItem> items;
        double h = band.height;
        for (const auto &o : band.objects) {
            PreparedItem it;
            it.rect = o.rect;
            it.color = o.color;
            it.fill = o.fill;
            it.penWidth = o.penWidth;
            switch (o.kind) {
            case LayoutObject::Kind::Text: {
                it.kind = PreparedItem::Kind::Text;
                QString text;
                try {
                    text = o.text.eval(*this);
                } catch (const ReportError &e) {
                    throw ReportError(QStringLiteral("%1: %2").arg(o.name, e.message()));
                }
                it.font = o.font;
                it.align = o.align;
                it.valign = o.valign;
                it.frame = o.frame;
                it.frameWidth = o.frameWidth;
                it.padding = o.padding;
                it.lineHeight = breakTextLines(text, o.font, o.rect.width() - 2 * o.padding, o.wrap, &it.lines);
                if (o.stretch) {
                    const double need = it.lines.size() * it.lineHeight + 2 * o.padding;
                    if (need > it.rect.height())
                        it.rect.setHeight(need);
                }
                break;
            }
            case LayoutObject::Kind::Line:
                it.kind = PreparedItem::Kind::Line;
                it.p1 = o.p1;
                it.p2 = o.p2;
                it.rect = QRectF(o.p1, o.p2).normalized();
                break;
            case LayoutObject::Kind::Rect:
                it.kind = PreparedItem::Kind::Rect;
                it.radius = o.radius;
                break;
            case LayoutObject::Kind::Picture: {
                it.kind = PreparedItem::Kind::Picture;
                it.keepAspect = o.keepAspect;
                it.image = o.picture;
                if (o.pictureField.isValid()) {
                    RValue v;
                    try {
                        v = o.pictureField.eval(*this);
                    } catch (const ReportError &e) {
                        throw ReportError(QStringLiteral("%1: %2").arg(o.name, e.message()));
                    }
                    it.image = v.type == RValue::Type::Bytes ? decodePictureBytes(v.bytes) : QImage();
                }
                break;
            }
            }
            h = qMax(h, it.rect.bottom());
            items.push_back(std::move(it));
        }
        // Stretching objects reach down to the band's grown bottom, so a table
        // row's cells keep one height.
        for (size_t i = 0; i < items.size(); ++i)
            if (band.objects[i].stretch && band.objects[i].kind == LayoutObject::Kind::Text)
                items[i].rect.setBottom(qMax(items[i].rect.bottom(), h));
        *height = h;
        return items;
    }

    static QImage decodePictureBytes(const QByteArray &b);

    void place(std::vector<PreparedItem> items, double y)
    {
        PreparedPage &page = m_pages.back();
        const QPointF off(m_layout.marginLeft, y);
        for (auto &it : items) {
            it.rect.translate(off);
            it.p1 += off;
            it.p2 += off;
            page.items.push_back(std::move(it));
        }
    }

    // Places a band below the last one, on a new page when it does not fit. A
    // master row feeds the aggregates only once its page is known, so that a
    // page's totals hold exactly the rows printed on it.
    void emitBand(const LayoutBand &band, int feedMaster = -1)
    {
        double h = 0;
        auto items = buildBand(band, &h);
        bool rebuild = false;
        if (m_y + h > m_bottom + 1e-6 && !m_pageFresh) {
            endPage();
            newPage();
            rebuild = true; // PAGE has changed
        }
        if (feedMaster >= 0) {
            feed(feedMaster);
            rebuild = rebuild || hasAggregates(band);
        }
        if (rebuild)
            items = buildBand(band, &h);
        place(std::move(items), m_y);
        m_y += h;
        m_pageFresh = false;
    }

    static bool hasAggregates(const LayoutBand &band)
    {
        for (const auto &o : band.objects)
            if (!o.text.aggregates().empty())
                return true;
        return false;
    }

    void newPage()
    {
        ++m_pageNo;
        m_pages.push_back(PreparedPage{m_layout.pageSize, {}});
        m_y = m_layout.marginTop;
        double footer = 0;
        for (const auto &b : m_layout.bands)
            if (b.kind == LayoutBand::Kind::PageFooter)
                footer += b.height;
        m_bottom = m_layout.pageSize.height() - m_layout.marginBottom - footer;
        for (auto &s : m_aggs)
            if (s.scope == AggScope::Page)
                resetAgg(s);
        m_pageFresh = true;
        auto fixed = [&](LayoutBand::Kind k) {
            for (const auto &b : m_layout.bands)
                if (b.kind == k) {
                    double h = 0;
                    place(buildBand(b, &h), m_y);
                    m_y += h;
                }
        };
        if (m_pageNo == 1)
            fixed(LayoutBand::Kind::ReportTitle);
        fixed(LayoutBand::Kind::PageHeader);
        fixed(LayoutBand::Kind::ColumnHeader);
        m_pageFresh = true;
    }

    void endPage()
    {
        double y = m_bottom;
        for (const auto &b : m_layout.bands)
            if (b.kind == LayoutBand::Kind::PageFooter) {
                double h = 0;
                auto items = buildBand(b, &h);
                place(std::move(items), y);
                y += b.height;
            }
    }

    static void resetAgg(AggSlot &s)
    {
        s.agg->total = Decimal(0);
        s.agg->count = 0;
    }

    void feed(int master)
    {
        for (auto &s : m_aggs) {
            if (s.master != master)
                continue;
            if (s.agg->argument) {
                try {
                    s.agg->total += Expr::evalNode(*s.agg->argument, *this).toNumber(QStringLiteral("SUM"));
                } catch (const ReportError &e) {
                    throw ReportError(QStringLiteral("%1: %2").arg(m_layout.bands[master].name, e.message()));
                }
            }
            ++s.agg->count;
        }
    }

    // A master band with its group headers (before it) and footers (after it).
    struct Section
    {
        int master = -1;           // -1: a band printed once
        int single = -1;
        std::vector<int> headers;  // outer first
        std::vector<int> footers;  // inner first
    };

    std::vector<Section> sections() const
    {
        std::vector<Section> out;
        std::vector<int> pendingHeaders;
        const auto &bands = m_layout.bands;
        for (int i = 0; i < int(bands.size()); ++i) {
            switch (bands[i].kind) {
            case LayoutBand::Kind::ReportTitle: case LayoutBand::Kind::PageHeader:
            case LayoutBand::Kind::ColumnHeader: case LayoutBand::Kind::PageFooter:
                break;
            case LayoutBand::Kind::GroupHeader:
                pendingHeaders.push_back(i);
                break;
            case LayoutBand::Kind::MasterData: {
                Section s;
                s.master = i;
                s.headers = std::move(pendingHeaders);
                pendingHeaders.clear();
                out.push_back(std::move(s));
                break;
            }
            case LayoutBand::Kind::GroupFooter:
                if (!out.empty() && out.back().master >= 0) {
                    out.back().footers.push_back(i);
                    break;
                }
                [[fallthrough]];
            case LayoutBand::Kind::Summary: {
                Section s;
                s.single = i;
                out.push_back(s);
                break;
            }
            }
        }
        return out;
    }

    void setUpAggregates()
    {
        m_aggs.clear();
        const auto secs = sections();
        int firstMaster = -1;
        for (const auto &s : secs)
            if (s.master >= 0 && !m_layout.bands[s.master].dataset.isEmpty()) {
                firstMaster = s.master;
                break;
            }
        int lastMaster = -1;
        for (int i = 0; i < int(m_layout.bands.size()); ++i) {
            const LayoutBand &b = m_layout.bands[i];
            if (b.kind == LayoutBand::Kind::MasterData && !b.dataset.isEmpty())
                lastMaster = i;
            AggScope scope = AggScope::Report;
            int level = 0;
            if (b.kind == LayoutBand::Kind::PageFooter)
                scope = AggScope::Page;
            if (b.kind == LayoutBand::Kind::GroupFooter || b.kind == LayoutBand::Kind::GroupHeader) {
                scope = AggScope::Group;
                for (const auto &s : secs) {
                    for (int k = 0; k < int(s.footers.size()); ++k)
                        if (s.footers[k] == i)
                            level = int(s.headers.size()) - 1 - k;
                    for (int k = 0; k < int(s.headers.size()); ++k)
                        if (s.headers[k] == i)
                            level = k;
                }
            }
            // SUM and COUNT run over the rows of the master band before them (the
            // first one for page footers and for bands before any master band).
            const int master = b.kind == LayoutBand::Kind::PageFooter || lastMaster < 0 ? firstMaster : lastMaster;
            for (const auto &o : b.objects)
                for (auto &a : o.text.aggregates())
                    m_aggs.push_back({a, scope, master, level});
        }
        for (auto &s : m_aggs)
            resetAgg(s);
    }

    PreparedReport pass()
    {
        m_pages.clear();
        m_pageNo = 0;
        m_line = 0;
        m_currentMaster = -1;
        for (auto &s : m_sets)
            s.current = 0;
        setUpAggregates();
        newPage();
        for (const auto &sec : sections()) {
            if (sec.single >= 0) {
                emitBand(m_layout.bands[sec.single]);
                continue;
            }
            const LayoutBand &master = m_layout.bands[sec.master];
            const int set = master.dataset.isEmpty() ? -1 : datasetIndex(master.dataset);
            if (set < 0) {
                emitBand(master);
                continue;
            }
            Dataset &ds = m_sets[set];
            m_currentMaster = set;
            QStringList groupValues(int(sec.headers.size()));
            bool first = true;
            auto closeFooters = [&](int fromLevel) {
                for (int k = 0; k < int(sec.footers.size()); ++k) {
                    const int level = int(sec.headers.size()) - 1 - k;
                    if (level >= fromLevel)
                        emitBand(m_layout.bands[sec.footers[k]]);
                }
            };
            for (int r = 0; r < int(ds.rows.size()); ++r) {
                ds.current = r;
                m_line = r + 1;
                int changed = int(sec.headers.size());
                for (int k = 0; k < int(sec.headers.size()); ++k) {
                    QString v;
                    try {
                        v = m_layout.bands[sec.headers[k]].condition.eval(*this).toDisplay();
                    } catch (const ReportError &e) {
                        throw ReportError(QStringLiteral("%1: %2").arg(m_layout.bands[sec.headers[k]].name, e.message()));
                    }
                    if ((first || v != groupValues[k]) && changed == int(sec.headers.size()))
                        changed = k;
                    groupValues[k] = v;
                }
                if (changed < int(sec.headers.size())) {
                    if (!first) {
                        // Footers print the group just ended: step back to its last row.
                        ds.current = r - 1;
                        closeFooters(changed);
                        ds.current = r;
                    }
                    for (int k = changed; k < int(sec.headers.size()); ++k) {
                        for (auto &s : m_aggs)
                            if (s.scope == AggScope::Group && s.groupLevel >= k && s.master == sec.master)
                                resetAgg(s);
                        emitBand(m_layout.bands[sec.headers[k]]);
                    }
                }
                first = false;
                emitBand(master, sec.master);
            }
            if (!ds.rows.empty()) {
                ds.current = int(ds.rows.size()) - 1;
                closeFooters(0);
            }
            m_currentMaster = -1;
            ds.current = ds.rows.empty() ? 0 : int(ds.rows.size()) - 1;
        }
        endPage();
        PreparedReport r;
        r.pages = std::move(m_pages);
        return r;
    }

    ReportEngine &m_engine;
    const ReportLayout &m_layout;
    std::vector<std::pair<QString, Expr>> m_layoutVars;
    std::vector<Dataset> m_sets;
    std::vector<AggSlot> m_aggs;
    std::vector<PreparedPage> m_pages;
    int m_pageNo = 0;
    int m_totalPages = 0;
    int m_line = 0;
    int m_currentMaster = -1;
    int m_depth = 0;
    double m_y = 0;
    double m_bottom = 0;
    bool m_pageFresh = true;
};

#include "ReportPicture.h"
QImage ReportEngine::Run::decodePictureBytes(const QByteArray &b) { return decodePicture(b); }

PreparedReport ReportEngine::prepare()
{
    Run run(*this);
    return run.run();
}
