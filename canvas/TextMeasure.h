#pragma once
// Text widths as QFontMetrics gives them (the advance rounded to whole
// pixels), fast for the plain text most nodes carry.
//
// Shaping a string (kerning, ligatures, font fallback) is what makes a
// width expensive. For a font without letter or word spacing and text of
// printable ASCII characters, the width is the sum of the characters' own
// advances as long as every adjacent pair in it shapes to the sum of its
// two characters; each pair is shaped once per font and remembered. Text
// with any other character or pair, or in another font, is shaped whole.
//
//   TTextMeasure measure;
//   int w = measure.Width(font, device, QStringLiteral("Node 12"));

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QString>
#include <cstdint>
#include <memory>

class QPaintDevice;

class TTextMeasure
{
public:
    TTextMeasure();
    ~TTextMeasure();
    TTextMeasure(const TTextMeasure &) = delete;
    TTextMeasure &operator=(const TTextMeasure &) = delete;

    // QFontMetrics(font, device).horizontalAdvance(text).
    int Width(const QFont &font, const QPaintDevice *device, const QString &text);
    // QFontMetricsF(font, device), kept with the font's table.
    const QFontMetricsF &Metrics(const QFont &font, const QPaintDevice *device);

private:
    struct TTable;
    TTable *TableFor(const QFont &font, const QPaintDevice *device, int dpi);

    QHash<QString, std::shared_ptr<TTable>> FTables; // by font key and resolution
    // The table of the font asked last: nodes mostly share one font.
    QFont FLastFont;
    int FLastDpi = -1;
    TTable *FLast = nullptr;
};
