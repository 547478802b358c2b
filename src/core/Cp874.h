#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Thai code page 874, the single-byte form the suite's texts and
// stored passwords are counted and scrambled in.
//
// The code page leaves 0x81-0x84, 0x86-0x90, 0x98-0x9F, 0xDB-0xDE and
// 0xFC-0xFF undefined. So that every byte survives a round trip, they decode to
//   0x81-0x9F  ->  the C1 control of the same value (U+0081..U+009F),
//   0xDB-0xDE, 0xFC-0xFF  ->  private use U+F700 + byte (U+F7DB.., U+F7FC..),
// and those code points encode back to their byte. Any other character that
// has no byte (including a surrogate pair, which counts as one character)
// becomes '?'.
QByteArray toCp874(QStringView text);
QString fromCp874(QByteArrayView bytes);

// The byte of one UTF-16 unit, or -1 when it has none.
int cp874Byte(char16_t unit);
