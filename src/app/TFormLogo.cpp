#include "TFormLogo.h"
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <turbojpeg.h>

TFormLogo::TFormLogo()
{
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setFixedSize(301, 166);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0, 0, 255));
    setPalette(pal);
    setAutoFillBackground(true);
    setCursor(Qt::PointingHandCursor);
    QFile f(QStringLiteral(":/qlx/logo.jpg"));
    if (f.open(QIODevice::ReadOnly))
        m_logo = decodeJpeg(f.readAll());
    if (QScreen *s = QGuiApplication::primaryScreen())
        move(s->geometry().center() - rect().center());
}

QImage TFormLogo::decodeJpeg(const QByteArray &data)
{
    tjhandle h = tjInitDecompress();
    if (!h)
        return {};
    int width = 0, height = 0, subsamp = 0, colorspace = 0;
    QImage img;
    auto *src = reinterpret_cast<const unsigned char *>(data.constData());
    if (tjDecompressHeader3(h, src, static_cast<unsigned long>(data.size()), &width, &height, &subsamp, &colorspace) == 0
        && width > 0 && height > 0) {
        img = QImage(width, height, QImage::Format_RGB888);
        if (tjDecompress2(h, src, static_cast<unsigned long>(data.size()), img.bits(), width, static_cast<int>(img.bytesPerLine()),
                          height, TJPF_RGB, 0) != 0)
            img = QImage();
    }
    tjDestroy(h);
    return img;
}

void TFormLogo::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (!m_logo.isNull())
        p.drawImage(rect(), m_logo);
}
