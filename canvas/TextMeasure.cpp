#include "canvas/TextMeasure.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <cmath>

namespace {

constexpr char16_t kFirst = 0x20; // space
constexpr char16_t kLast = 0x7E;  // '~'
constexpr int kChars = kLast - kFirst + 1;
constexpr int kMaxTables = 64;

// Advances in 1/64 pixel, the unit fonts measure in: sums stay exact.
int64_t Units(qreal advance)
{
    return std::llround(advance * 64.0);
}

} // namespace

struct TTextMeasure::TTable
{
    TTable(const QFont &font, const QPaintDevice *device) : Metrics(font, device)
    {
        for (int i = 0; i < kChars; ++i)
            Advance[i] = Units(Metrics.horizontalAdvance(QString(QChar(char16_t(kFirst + i)))));
    }

    enum TPair : uint8_t { kUnknown, kPlain, kShaped };

    bool Plain(int a, int b)
    {
        uint8_t &known = Pair[a * kChars + b];
        if (known == kUnknown) {
            const QChar pair[2] = {QChar(char16_t(kFirst + a)), QChar(char16_t(kFirst + b))};
            const int64_t shaped = Units(Metrics.horizontalAdvance(QString(pair, 2)));
            known = shaped == Advance[a] + Advance[b] ? kPlain : kShaped;
        }
        return known == kPlain;
    }

    QFontMetricsF Metrics;
    int64_t Advance[kChars];
    uint8_t Pair[kChars * kChars] = {};
};

TTextMeasure::TTextMeasure() = default;
TTextMeasure::~TTextMeasure() = default;

TTextMeasure::TTable *TTextMeasure::TableFor(const QFont &font, const QPaintDevice *device, int dpi)
{
    if (FLast && dpi == FLastDpi && font == FLastFont)
        return FLast;
    const QString key = font.key() + QLatin1Char('@') + QString::number(dpi);
    std::shared_ptr<TTable> &table = FTables[key];
    if (!table) {
        if (FTables.size() > kMaxTables) {
            FTables.clear();
            FLast = nullptr;
            return TableFor(font, device, dpi);
        }
        table = std::make_shared<TTable>(font, device);
    }
    FLastFont = font;
    FLastDpi = dpi;
    FLast = table.get();
    return FLast;
}

const QFontMetricsF &TTextMeasure::Metrics(const QFont &font, const QPaintDevice *device)
{
    return TableFor(font, device, device ? device->logicalDpiY() : 0)->Metrics;
}

int TTextMeasure::Width(const QFont &font, const QPaintDevice *device, const QString &text)
{
    if (text.isEmpty())
        return 0;
    bool plain = font.letterSpacing() == 0 && font.wordSpacing() == 0 &&
                 font.capitalization() == QFont::MixedCase;
    for (qsizetype i = 0; plain && i < text.size(); ++i)
        plain = text.at(i).unicode() >= kFirst && text.at(i).unicode() <= kLast;
    if (!plain)
        return QFontMetrics(font, device).horizontalAdvance(text);

    const int dpi = device ? device->logicalDpiY() : 0;
    TTable *table = TableFor(font, device, dpi);
    int64_t sum = 0;
    int previous = -1;
    for (const QChar c : text) {
        const int i = c.unicode() - kFirst;
        if (previous >= 0 && !table->Plain(previous, i))
            return QFontMetrics(font, device).horizontalAdvance(text);
        sum += table->Advance[i];
        previous = i;
    }
    // Rounded as the metrics round a width: halves up.
    return static_cast<int>((sum + 32) >> 6);
}
