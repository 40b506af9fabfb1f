#pragma once
// Reducing pictures to palettes of at most 256 colours, for GIF files and
// the indexed bitmap formats: the fixed palettes, palettes made from the
// picture's own colours (exact when it has few, else by median cut), and
// the mapping of rows to palette indices by nearest colour or by error
// diffusion with one of the classic kernels. Rows are mapped top down one
// at a time, so a picture rendered in strips is reduced without being held
// whole.
//
//   TColorHistogram h;  h.Add(strip) ...;   // adaptive palettes only
//   TColorMapper m(PaletteFor(crNone, &h), dmFloydSteinberg, width);
//   m.MapRow(row, indices) ...

#include <QImage>
#include <QVector>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

enum TColorReduction {
    crNone,         // the picture's own colours (the adaptive 256 when it has more)
    crWindows20,    // the twenty static colours of the classic desktop
    crWindows256,   // those twenty, the 216-colour cube and grays
    crWindowsGray,  // black, two grays and white
    crMonochrome,   // black and white
    crGrayScale,    // 256 grays
    crNetscape,     // the 216-colour cube of web pages
    crQuantize,     // an adaptive palette of at most 16 colours
    crQuantize256   // an adaptive palette of at most 256 colours
};
constexpr int kColorReductionCount = 9;

enum TDitherMode {
    dmNearest,        // each pixel takes the nearest palette colour
    dmFloydSteinberg, // error diffusion, 4 neighbours
    dmStucki,         // 12 neighbours over two rows
    dmSierra,         // 10 neighbours over two rows
    dmJaJuNI,         // 12 neighbours over two rows, the widest weights
    dmSteveArche,     // 12 neighbours over three rows, alternate columns
    dmBurkes          // 7 neighbours over one row
};
constexpr int kDitherModeCount = 7;

// How many of each colour a picture has: exactly while there are few
// distinct colours, else in 32,768 bins of 5 bits per channel.
class TColorHistogram
{
public:
    void Add(const QImage &rows);
    void Add(const QRgb *row, int width);
    // The distinct colours seen, exactly, while there are at most `limit`.
    bool Exact() const { return !FBinned; }
    size_t DistinctColors() const { return FBinned ? FBinCount : FExact.size(); }
    // A palette of at most `maxColors`: the colours themselves when there
    // are that few, else a median cut of the picture's colours.
    QVector<QRgb> Palette(int maxColors) const;

private:
    void SwitchToBins();
    static constexpr size_t kExactLimit = 1 << 16;
    std::unordered_map<uint32_t, uint64_t> FExact;
    std::vector<uint64_t> FBins;
    size_t FBinCount = 0;
    bool FBinned = false;
    uint32_t FLast = 0xFFFFFFFF;
    uint64_t FLastRun = 0;
};

// Whether a reduction builds its palette from the picture (a first pass).
bool ReductionNeedsHistogram(TColorReduction reduction);
// The palette of a reduction; the adaptive ones need the histogram.
QVector<QRgb> PaletteFor(TColorReduction reduction, const TColorHistogram *histogram);
// The sixteen colours of the classic 4-bit palette.
const QVector<QRgb> &ClassicPalette16();

class TColorMapper
{
public:
    TColorMapper(const QVector<QRgb> &palette, TDitherMode dither, int width);
    ~TColorMapper();
    TColorMapper(const TColorMapper &) = delete;
    TColorMapper &operator=(const TColorMapper &) = delete;

    const QVector<QRgb> &Palette() const { return FPalette; }
    // The palette index of every pixel of the next row (rows go top down).
    void MapRow(const QRgb *row, uint8_t *indices);
    // The nearest palette entry of a colour.
    uint8_t Nearest(QRgb color);

private:
    uint8_t Search(int r, int g, int b) const;
    QVector<QRgb> FPalette;
    std::vector<int> FR, FG, FB;
    TDitherMode FDither;
    int FWidth;
    // Cache of nearest colours, keyed by a hash of the colour.
    struct TCacheEntry
    {
        uint32_t Color;
        uint8_t Index;
    };
    std::vector<TCacheEntry> FCache;
    // Errors still to be spread: one row of three channels per kernel row.
    std::vector<std::vector<int>> FErrors;
};
