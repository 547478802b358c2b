#include "ReportPicture.h"
#include <turbojpeg.h>

namespace {
QImage decodeJpeg(const QByteArray &data)
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
} // namespace

QImage decodePicture(const QByteArray &data)
{
    if (data.size() > 3 && static_cast<unsigned char>(data[0]) == 0xFF && static_cast<unsigned char>(data[1]) == 0xD8)
        return decodeJpeg(data);
    return QImage::fromData(data);
}
