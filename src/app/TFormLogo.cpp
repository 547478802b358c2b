#include "TFormLogo.h"
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include "services/JpegImage.h"

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

QImage TFormLogo::decodeJpeg(const QByteArray &data) { return ::decodeJpeg(data); }

void TFormLogo::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    if (!m_logo.isNull())
        p.drawImage(rect(), m_logo);
}
