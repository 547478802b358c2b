#pragma once
#include <QByteArray>
#include <QImage>

// Decodes a JPEG with the turbo-JPEG library; a null image when it cannot.
QImage decodeJpeg(const QByteArray &data);
