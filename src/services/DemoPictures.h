#pragma once
#include <QString>
#include <QStringList>

// The demo products' pictures: small JPEG files with the product's Thai name on
// them, written into the picture folder ("pictures", the demo's PicturePath) under
// the given folder, at the names the demo's Product.Picture1 holds. Returns the
// files written.
QStringList installDemoPictures(const QString &folder);
