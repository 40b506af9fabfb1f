#include "core/Windows1252.h"

namespace {

// Bytes 0x80..0x9F; the undefined ones map to the control character of the
// same value.
const char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

bool EncodeChar(char16_t c, char &byte)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        byte = static_cast<char>(c);
        return true;
    }
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == c) {
            byte = static_cast<char>(0x80 + i);
            return true;
        }
    return false;
}

} // namespace

QString FromWindows1252(const char *data, qsizetype size)
{
    QString text(size, Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        out[i] = QChar(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t(b));
    }
    return text;
}

bool ToWindows1252(QStringView text, QByteArray &out)
{
    out.resize(text.size());
    char *dst = out.data();
    const QChar *src = text.data();
    for (qsizetype i = 0; i < text.size(); ++i)
        if (!EncodeChar(src[i].unicode(), dst[i]))
            return false;
    return true;
}
