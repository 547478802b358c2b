#include "ReportLayout.h"
#include "ReportPicture.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPageSize>

namespace {

[[noreturn]] void bad(const QString &where, const QString &what)
{
    throw ReportError(QStringLiteral("%1: %2").arg(where, what));
}

double num(const QJsonObject &o, const char *key, double fallback = 0)
{
    const auto v = o.value(QLatin1String(key));
    return v.isDouble() ? v.toDouble() : fallback;
}

QFont readFont(const QJsonValue &v, const QFont &base)
{
    QFont f = base;
    if (!v.isObject())
        return f;
    const QJsonObject o = v.toObject();
    if (o.contains(QLatin1String("family")))
        f.setFamily(o.value(QLatin1String("family")).toString());
    if (o.contains(QLatin1String("size")))
        f.setPointSizeF(o.value(QLatin1String("size")).toDouble());
    if (o.contains(QLatin1String("bold")))
        f.setBold(o.value(QLatin1String("bold")).toBool());
    if (o.contains(QLatin1String("italic")))
        f.setItalic(o.value(QLatin1String("italic")).toBool());
    if (o.contains(QLatin1String("underline")))
        f.setUnderline(o.value(QLatin1String("underline")).toBool());
    return f;
}

LayoutBand::Kind bandKind(const QString &s, const QString &where)
{
    static const std::pair<const char *, LayoutBand::Kind> kinds[] = {
        {"reporttitle", LayoutBand::Kind::ReportTitle}, {"pageheader", LayoutBand::Kind::PageHeader},
        {"columnheader", LayoutBand::Kind::ColumnHeader}, {"masterdata", LayoutBand::Kind::MasterData},
        {"groupheader", LayoutBand::Kind::GroupHeader}, {"groupfooter", LayoutBand::Kind::GroupFooter},
        {"summary", LayoutBand::Kind::Summary}, {"pagefooter", LayoutBand::Kind::PageFooter}};
    for (const auto &[name, k] : kinds)
        if (s.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return k;
    bad(where, QStringLiteral("unknown band type \"%1\"").arg(s));
}

Expr compileAt(const QString &text, const QString &where)
{
    try {
        return Expr::compile(text);
    } catch (const ReportError &e) {
        bad(where, e.message());
    }
}

LayoutObject readObject(const QJsonObject &o, const QString &where, const ReportLayout &layout)
{
    LayoutObject obj;
    obj.name = o.value(QLatin1String("name")).toString(where);
    const QString type = o.value(QLatin1String("type")).toString(QStringLiteral("text")).toLower();
    obj.rect = QRectF(num(o, "x"), num(o, "y"), num(o, "w"), num(o, "h"));
    obj.font = readFont(o.value(QLatin1String("font")), layout.font);
    if (o.value(QLatin1String("font")).toObject().contains(QLatin1String("color")))
        obj.color = QColor(o.value(QLatin1String("font")).toObject().value(QLatin1String("color")).toString());
    if (o.contains(QLatin1String("color")))
        obj.color = QColor(o.value(QLatin1String("color")).toString());
    if (o.contains(QLatin1String("fill")))
        obj.fill = QColor(o.value(QLatin1String("fill")).toString());
    obj.frame = o.value(QLatin1String("frame")).toString().toUpper();
    obj.frameWidth = num(o, "frameWidth", 0.2);
    obj.penWidth = num(o, "width", 0.2);
    obj.padding = num(o, "padding", 0.8);
    obj.radius = num(o, "radius", 0);
    if (type == QLatin1String("text")) {
        obj.kind = LayoutObject::Kind::Text;
        try {
            obj.text = TemplateText::compile(o.value(QLatin1String("text")).toString());
        } catch (const ReportError &e) {
            bad(where, e.message());
        }
        const QString a = o.value(QLatin1String("align")).toString(QStringLiteral("left")).toLower();
        obj.align = a == QLatin1String("center") ? Qt::AlignHCenter : a == QLatin1String("right") ? Qt::AlignRight : Qt::AlignLeft;
        const QString v = o.value(QLatin1String("valign")).toString(QStringLiteral("top")).toLower();
        obj.valign = v == QLatin1String("middle") ? Qt::AlignVCenter : v == QLatin1String("bottom") ? Qt::AlignBottom : Qt::AlignTop;
        obj.wrap = o.value(QLatin1String("wrap")).toBool(true);
        obj.stretch = o.value(QLatin1String("stretch")).toBool(false);
    } else if (type == QLatin1String("line")) {
        obj.kind = LayoutObject::Kind::Line;
        obj.p1 = QPointF(num(o, "x"), num(o, "y"));
        obj.p2 = QPointF(num(o, "x2", obj.p1.x()), num(o, "y2", obj.p1.y()));
    } else if (type == QLatin1String("rect") || type == QLatin1String("frame")) {
        obj.kind = LayoutObject::Kind::Rect;
    } else if (type == QLatin1String("picture")) {
        obj.kind = LayoutObject::Kind::Picture;
        obj.keepAspect = o.value(QLatin1String("keepAspect")).toBool(true);
        obj.pictureFile = o.value(QLatin1String("file")).toString();
        if (o.contains(QLatin1String("field")))
            obj.pictureField = compileAt(o.value(QLatin1String("field")).toString(), where);
        if (!obj.pictureFile.isEmpty()) {
            // Beside the layout first, then the current folder.
            QString path = QDir(layout.folder).filePath(obj.pictureFile);
            if (!QFileInfo::exists(path))
                path = obj.pictureFile;
            QFile f(path);
            if (f.open(QIODevice::ReadOnly))
                obj.picture = decodePicture(f.readAll());
            // A missing picture file leaves the place empty: a form still prints.
        }
    } else {
        bad(where, QStringLiteral("unknown object type \"%1\"").arg(type));
    }
    return obj;
}

} // namespace

QString ReportLayout::kindName(LayoutBand::Kind k)
{
    switch (k) {
    case LayoutBand::Kind::ReportTitle: return QStringLiteral("reportTitle");
    case LayoutBand::Kind::PageHeader: return QStringLiteral("pageHeader");
    case LayoutBand::Kind::ColumnHeader: return QStringLiteral("columnHeader");
    case LayoutBand::Kind::MasterData: return QStringLiteral("masterData");
    case LayoutBand::Kind::GroupHeader: return QStringLiteral("groupHeader");
    case LayoutBand::Kind::GroupFooter: return QStringLiteral("groupFooter");
    case LayoutBand::Kind::Summary: return QStringLiteral("summary");
    case LayoutBand::Kind::PageFooter: return QStringLiteral("pageFooter");
    }
    return {};
}

ReportLayout ReportLayout::load(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw ReportError(QStringLiteral("%1: cannot open the layout file").arg(path));
    return fromJson(f.readAll(), QFileInfo(path).fileName(), QFileInfo(path).absolutePath());
}

ReportLayout ReportLayout::fromJson(const QByteArray &json, const QString &what, const QString &folder)
{
    QJsonParseError err;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &err);
    if (err.error != QJsonParseError::NoError)
        bad(what, QStringLiteral("not a layout (%1 at offset %2)").arg(err.errorString()).arg(err.offset));
    if (!doc.isObject())
        bad(what, QStringLiteral("not a layout"));
    const QJsonObject root = doc.object();
    ReportLayout l;
    l.folder = folder;
    l.title = root.value(QLatin1String("title")).toString();
    l.font = QFont(QStringLiteral("Garuda"), 10);
    l.font = readFont(root.value(QLatin1String("font")), l.font);

    const QJsonObject page = root.value(QLatin1String("page")).toObject();
    const QString size = page.value(QLatin1String("size")).toString(QStringLiteral("A4"));
    if (page.contains(QLatin1String("width")) && page.contains(QLatin1String("height"))) {
        l.pageSize = QSizeF(num(page, "width"), num(page, "height"));
    } else {
        static const std::pair<const char *, QPageSize::PageSizeId> sizes[] = {
            {"A4", QPageSize::A4}, {"A5", QPageSize::A5}, {"A3", QPageSize::A3}, {"LETTER", QPageSize::Letter}, {"LEGAL", QPageSize::Legal}};
        bool found = false;
        for (const auto &[n, id] : sizes)
            if (size.compare(QLatin1String(n), Qt::CaseInsensitive) == 0) {
                l.pageSize = QPageSize(id).size(QPageSize::Millimeter);
                found = true;
            }
        if (!found)
            bad(what, QStringLiteral("unknown page size \"%1\"").arg(size));
    }
    if (page.value(QLatin1String("orientation")).toString().compare(QLatin1String("landscape"), Qt::CaseInsensitive) == 0
        && l.pageSize.width() < l.pageSize.height())
        l.pageSize.transpose();
    const QJsonObject m = page.value(QLatin1String("margins")).toObject();
    l.marginLeft = num(m, "left", 10);
    l.marginTop = num(m, "top", 10);
    l.marginRight = num(m, "right", 10);
    l.marginBottom = num(m, "bottom", 10);
    if (l.pageSize.width() <= l.marginLeft + l.marginRight || l.pageSize.height() <= l.marginTop + l.marginBottom)
        bad(what, QStringLiteral("the margins leave no room on the page"));

    const QJsonObject vars = root.value(QLatin1String("variables")).toObject();
    for (auto it = vars.begin(); it != vars.end(); ++it) {
        compileAt(it.value().toString(), QStringLiteral("%1, variable %2").arg(what, it.key()));
        l.variables.emplace_back(it.key(), it.value().toString());
    }
    for (const auto &d : root.value(QLatin1String("datasets")).toArray()) {
        const QJsonObject o = d.toObject();
        LayoutDataset ds{o.value(QLatin1String("name")).toString(), o.value(QLatin1String("sql")).toString()};
        if (ds.name.isEmpty() || ds.sql.trimmed().isEmpty())
            bad(what, QStringLiteral("a data set needs a name and a query"));
        l.datasets.push_back(ds);
    }
    int bandNo = 0;
    for (const auto &b : root.value(QLatin1String("bands")).toArray()) {
        ++bandNo;
        const QJsonObject o = b.toObject();
        LayoutBand band;
        const QString where = QStringLiteral("%1, band %2").arg(what).arg(bandNo);
        band.kind = bandKind(o.value(QLatin1String("type")).toString(), where);
        band.name = o.value(QLatin1String("name")).toString(QStringLiteral("%1 (%2)").arg(where, kindName(band.kind)));
        band.height = num(o, "height", 0);
        band.dataset = o.value(QLatin1String("dataset")).toString();
        if (!band.dataset.isEmpty()) {
            bool known = false;
            for (const auto &ds : l.datasets)
                known = known || ds.name.compare(band.dataset, Qt::CaseInsensitive) == 0;
            if (!known)
                bad(band.name, QStringLiteral("unknown data set %1").arg(band.dataset));
        }
        if (o.contains(QLatin1String("condition")))
            band.condition = compileAt(o.value(QLatin1String("condition")).toString(), band.name);
        int objNo = 0;
        for (const auto &ov : o.value(QLatin1String("objects")).toArray())
            band.objects.push_back(readObject(ov.toObject(), QStringLiteral("%1, object %2").arg(band.name).arg(++objNo), l));
        l.bands.push_back(std::move(band));
    }
    return l;
}

namespace ReportLayouts {

QStringList demoLayoutNames()
{
    return QDir(QStringLiteral(":/qlx_layouts")).entryList(QDir::Files, QDir::Name);
}

int installDemoLayouts(const QString &dir)
{
    int n = 0;
    for (const QString &name : demoLayoutNames()) {
        const QString target = QDir(dir).filePath(name);
        QFile::remove(target);
        if (QFile::copy(QStringLiteral(":/qlx_layouts/") + name, target)) {
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
            ++n;
        }
    }
    return n;
}

} // namespace ReportLayouts
