#include "ReportPicture.h"
#include "services/JpegImage.h"

QImage decodePicture(const QByteArray &data)
{
    if (data.size() > 3 && static_cast<unsigned char>(data[0]) == 0xFF && static_cast<unsigned char>(data[1]) == 0xD8)
        return decodeJpeg(data);
    return QImage::fromData(data);
}
