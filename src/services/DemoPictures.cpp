#include "DemoPictures.h"
#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QPainter>

QStringList installDemoPictures(const QString &folder)
{
    struct Picture { const char *file, *caption; QColor colour; };
    // One name with a sub folder, as the demo stores it with a backslash.
    const Picture pictures[] = {
        {"P0001.jpg", "ปูนซีเมนต์ปอร์ตแลนด์", QColor(0xB0, 0xB0, 0xA8)},
        {"sub/P0003.jpg", "สีน้ำอะครีลิค สีขาว", QColor(0xF4, 0xF1, 0xE8)},
        {"P0004.jpg", "ท่อพีวีซี 4 หุน", QColor(0x4A, 0x7F, 0xC0)},
    };
    QStringList written;
    const QDir base(QDir(folder).filePath(QStringLiteral("pictures")));
    for (const auto &p : pictures) {
        const QString path = base.filePath(QLatin1String(p.file));
        if (!QDir().mkpath(QFileInfo(path).absolutePath()))
            continue;
        QImage img(240, 160, QImage::Format_RGB888);
        img.fill(p.colour);
        {
            QPainter painter(&img);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(p.colour.lightness() > 128 ? Qt::black : Qt::white);
            painter.drawRect(img.rect().adjusted(4, 4, -5, -5));
            QFont f(QStringLiteral("Garuda"));
            f.setPixelSize(20);
            painter.setFont(f);
            painter.drawText(img.rect().adjusted(10, 10, -10, -10), Qt::AlignCenter | Qt::TextWordWrap, QString::fromUtf8(p.caption));
        }
        if (img.save(path, "JPG", 85))
            written << path;
    }
    return written;
}
