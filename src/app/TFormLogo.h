#pragma once
#include <QImage>
#include <QWidget>

// The splash window shown while the session is established.
class TFormLogo : public QWidget
{
public:
    TFormLogo();
    // Decodes a JPEG with the turbo-JPEG library; a null image when it cannot.
    static QImage decodeJpeg(const QByteArray &data);

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QImage m_logo;
};
