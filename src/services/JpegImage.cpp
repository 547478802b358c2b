#include "JpegImage.h"
#include <turbojpeg.h>

QImage decodeJpeg(const QByteArray &data)
{
    if (data.isEmpty())
        return {};
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
