#pragma once
// The Windows-1252 character set that short and long strings of the
// component stream carry. Qt has no codec for it, so the table lives here.
//
// Decoding never fails: the five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same value,
// and encoding maps those back, so any byte string survives a round trip.

#include <QByteArray>
#include <QString>

QString FromWindows1252(const char *data, qsizetype size);
inline QString FromWindows1252(const QByteArray &bytes)
{
    return FromWindows1252(bytes.constData(), bytes.size());
}

// Encodes text; false (and `out` unspecified) when a character has no
// Windows-1252 byte.
bool ToWindows1252(QStringView text, QByteArray &out);
