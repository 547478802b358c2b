#pragma once
#include <QByteArray>
#include <QImage>

// A picture from a file or a field: JPEG through libjpeg-turbo, other formats
// through Qt's readers. A null image when the bytes are no picture.
QImage decodePicture(const QByteArray &data);
