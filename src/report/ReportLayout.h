#pragma once
#include "ReportExpr.h"
#include <QColor>
#include <QFont>
#include <QImage>
#include <QJsonObject>
#include <QRectF>
#include <QSizeF>
#include <QStringList>
#include <vector>

// A report layout, read from a JSON file (the .frf files next to the program).
// Lengths are millimetres, font sizes points. The file, by example:
//
// {
//   "title": "Project sheet",
//   "page": { "size": "A4", "orientation": "portrait",        // or "width"/"height"
//             "margins": { "left": 15, "top": 12, "right": 15, "bottom": 12 } },
//   "font": { "family": "Garuda", "size": 10 },                // default for text
//   "variables": { "Heading": "'ใบสรุปโครงการ'" },             // expression text
//   "datasets": [ { "name": "Project",
//                   "sql": "SELECT ... FROM Project WHERE Code = :DocNo" } ],
//   "bands": [
//     { "type": "reportTitle", "height": 30, "objects": [ ... ] },
//     { "type": "pageHeader" | "masterData" | "groupHeader" | "groupFooter"
//               | "summary" | "pageFooter" | "columnHeader",
//       "height": 8,
//       "dataset": "Jobs",            // masterData: one band per row of the set
//       "condition": "Jobs.Kind",     // groupHeader: a new group when it changes
//       "objects": [
//         { "type": "text", "x": 0, "y": 0, "w": 60, "h": 6,
//           "text": "ราคา [FORMATFLOAT('#,##0.00', Project.ProjectPrice)] บาท",
//           "font": { "family": "Garuda", "size": 10, "bold": true, "italic": false,
//                     "underline": false, "color": "#000000" },
//           "align": "left|center|right", "valign": "top|middle|bottom",
//           "wrap": true, "stretch": false,            // grow the band with the text
//           "frame": "LTRB", "frameWidth": 0.2,        // sides to draw, width in mm
//           "fill": "#eeeeee", "padding": 0.8 },
//         { "type": "line", "x": 0, "y": 0, "x2": 180, "y2": 0, "width": 0.3 },
//         { "type": "rect", "x": 0, "y": 0, "w": 180, "h": 20, "width": 0.3,
//           "fill": "#f0f0f0", "radius": 0 },
//         { "type": "picture", "x": 0, "y": 0, "w": 30, "h": 20,
//           "file": "logo.jpg" | "field": "Company.Logo", "keepAspect": true } ] } ] }
//
// Data set queries take their :parameters from the report variables of the same
// name; the values are bound, never pasted into the SQL. A parameter without a
// variable is an error that names it.

struct LayoutObject
{
    enum class Kind { Text, Line, Rect, Picture };
    Kind kind = Kind::Text;
    QString name;     // "band 3 object 2", for messages
    QRectF rect;      // text, rect and picture; relative to the band
    QPointF p1, p2;   // line
    TemplateText text;
    QFont font;
    QColor color = Qt::black;
    int align = Qt::AlignLeft;
    int valign = Qt::AlignTop;
    bool wrap = true;
    bool stretch = false;
    QString frame;    // any of "LTRB"
    double frameWidth = 0.2;
    QColor fill;      // invalid: none
    double padding = 0.8;
    double penWidth = 0.2;
    double radius = 0;
    QString pictureFile;
    Expr pictureField;
    QImage picture;   // loaded from pictureFile
    bool keepAspect = true;
};

struct LayoutBand
{
    enum class Kind { ReportTitle, PageHeader, ColumnHeader, MasterData, GroupHeader, GroupFooter, Summary, PageFooter };
    Kind kind = Kind::MasterData;
    QString name;
    double height = 0;
    QString dataset;
    Expr condition;
    std::vector<LayoutObject> objects;
};

struct LayoutDataset
{
    QString name;
    QString sql;
};

struct ReportLayout
{
    QString title;
    QSizeF pageSize{210, 297};
    double marginLeft = 10, marginTop = 10, marginRight = 10, marginBottom = 10;
    QFont font;
    std::vector<std::pair<QString, QString>> variables; // name, expression text
    std::vector<LayoutDataset> datasets;
    std::vector<LayoutBand> bands;
    QString folder; // where the file was read; pictures are found beside it

    static ReportLayout load(const QString &path);
    static ReportLayout fromJson(const QByteArray &json, const QString &what, const QString &folder = QString());

    static QString kindName(LayoutBand::Kind k);
};

// The demo layouts shipped with the program (copied beside the demo databases).
namespace ReportLayouts {
QStringList demoLayoutNames();
// Copies every shipped layout into dir, replacing older copies; returns the count.
int installDemoLayouts(const QString &dir);
}
