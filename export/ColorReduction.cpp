#include "export/ColorReduction.h"

#include <algorithm>
#include <climits>

// ---------------------------------------------------------------------------
// Histogram

void TColorHistogram::Add(const QImage &rows)
{
    const QImage rgb = rows.format() == QImage::Format_RGB32 || rows.format() == QImage::Format_ARGB32
                           ? rows
                           : rows.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y)
        Add(reinterpret_cast<const QRgb *>(rgb.constScanLine(y)), rgb.width());
}

void TColorHistogram::Add(const QRgb *row, int width)
{
    // Pictures of diagrams are long runs of one colour: a run is counted
    // once.
    for (int x = 0; x < width; ++x) {
        const uint32_t c = row[x] & 0xFFFFFF;
        if (c == FLast) {
            ++FLastRun;
            continue;
        }
        if (FLastRun) {
            if (FBinned)
                FBins[((FLast >> 9) & 0x7C00) | ((FLast >> 6) & 0x3E0) | ((FLast >> 3) & 0x1F)] += FLastRun;
            else
                FExact[FLast] += FLastRun;
            if (!FBinned && FExact.size() > kExactLimit)
                SwitchToBins();
        }
        FLast = c;
        FLastRun = 1;
    }
}

void TColorHistogram::SwitchToBins()
{
    FBins.assign(32768, 0);
    for (const auto &e : FExact) {
        const uint32_t c = e.first;
        FBins[((c >> 9) & 0x7C00) | ((c >> 6) & 0x3E0) | ((c >> 3) & 0x1F)] += e.second;
    }
    FExact.clear();
    FBinned = true;
    FBinCount = 0;
    for (uint64_t n : FBins)
        FBinCount += n != 0;
}

namespace {

struct TWeighted
{
    int R, G, B;
    uint64_t Count;
};

struct TBox
{
    size_t Begin, End; // range of entries
    int Channel = 0;   // the widest one
    int Range = 0;
};

void Measure(const std::vector<TWeighted> &e, TBox &box)
{
    int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
    for (size_t i = box.Begin; i < box.End; ++i) {
        const int v[3] = {e[i].R, e[i].G, e[i].B};
        for (int c = 0; c < 3; ++c) {
            lo[c] = std::min(lo[c], v[c]);
            hi[c] = std::max(hi[c], v[c]);
        }
    }
    box.Channel = 0;
    box.Range = -1;
    for (int c = 0; c < 3; ++c)
        if (hi[c] - lo[c] > box.Range) {
            box.Range = hi[c] - lo[c];
            box.Channel = c;
        }
}

QVector<QRgb> MedianCut(std::vector<TWeighted> e, int maxColors)
{
    std::vector<TBox> boxes;
    TBox all{0, e.size()};
    Measure(e, all);
    boxes.push_back(all);
    while (static_cast<int>(boxes.size()) < maxColors) {
        // The box with the widest spread that can still be split.
        int best = -1;
        for (size_t i = 0; i < boxes.size(); ++i)
            if (boxes[i].End - boxes[i].Begin > 1 && (best < 0 || boxes[i].Range > boxes[best].Range))
                best = static_cast<int>(i);
        if (best < 0 || boxes[best].Range <= 0)
            break;
        TBox box = boxes[best];
        const int ch = box.Channel;
        auto key = [ch](const TWeighted &w) { return ch == 0 ? w.R : ch == 1 ? w.G : w.B; };
        std::sort(e.begin() + box.Begin, e.begin() + box.End,
                  [&key](const TWeighted &a, const TWeighted &b) { return key(a) < key(b); });
        uint64_t total = 0;
        for (size_t i = box.Begin; i < box.End; ++i)
            total += e[i].Count;
        // Split where half the pixels lie on each side, keeping both sides
        // non-empty.
        uint64_t acc = 0;
        size_t cut = box.Begin + 1;
        for (size_t i = box.Begin; i + 1 < box.End; ++i) {
            acc += e[i].Count;
            cut = i + 1;
            if (acc * 2 >= total)
                break;
        }
        TBox a{box.Begin, cut}, b{cut, box.End};
        Measure(e, a);
        Measure(e, b);
        boxes[best] = a;
        boxes.push_back(b);
    }
    QVector<QRgb> palette;
    for (const TBox &box : boxes) {
        uint64_t n = 0, r = 0, g = 0, b = 0;
        for (size_t i = box.Begin; i < box.End; ++i) {
            const uint64_t w = std::max<uint64_t>(1, e[i].Count);
            n += w;
            r += w * e[i].R;
            g += w * e[i].G;
            b += w * e[i].B;
        }
        if (n)
            palette << qRgb(int((r + n / 2) / n), int((g + n / 2) / n), int((b + n / 2) / n));
    }
    return palette;
}

} // namespace

QVector<QRgb> TColorHistogram::Palette(int maxColors) const
{
    maxColors = std::clamp(maxColors, 2, 256);
    // The run in progress counts too.
    std::vector<TWeighted> entries;
    if (!FBinned) {
        std::unordered_map<uint32_t, uint64_t> all = FExact;
        if (FLastRun)
            all[FLast] += FLastRun;
        for (const auto &e : all)
            entries.push_back({int((e.first >> 16) & 255), int((e.first >> 8) & 255), int(e.first & 255), e.second});
        if (static_cast<int>(entries.size()) <= maxColors) {
            // The colours themselves, the commonest first.
            std::sort(entries.begin(), entries.end(), [](const TWeighted &a, const TWeighted &b) {
                if (a.Count != b.Count)
                    return a.Count > b.Count;
                return qRgb(a.R, a.G, a.B) < qRgb(b.R, b.G, b.B);
            });
            QVector<QRgb> palette;
            for (const TWeighted &w : entries)
                palette << qRgb(w.R, w.G, w.B);
            if (palette.isEmpty())
                palette << qRgb(255, 255, 255);
            return palette;
        }
    } else {
        std::vector<uint64_t> bins = FBins;
        if (FLastRun)
            bins[((FLast >> 9) & 0x7C00) | ((FLast >> 6) & 0x3E0) | ((FLast >> 3) & 0x1F)] += FLastRun;
        for (int i = 0; i < 32768; ++i)
            if (bins[i]) {
                const int r = (i >> 10) & 31, g = (i >> 5) & 31, b = i & 31;
                entries.push_back({(r << 3) | (r >> 2), (g << 3) | (g >> 2), (b << 3) | (b >> 2), bins[i]});
            }
    }
    std::sort(entries.begin(), entries.end(), [](const TWeighted &a, const TWeighted &b) {
        return qRgb(a.R, a.G, a.B) < qRgb(b.R, b.G, b.B);
    });
    return MedianCut(std::move(entries), maxColors);
}

// ---------------------------------------------------------------------------
// Palettes

const QVector<QRgb> &ClassicPalette16()
{
    static const QVector<QRgb> palette = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
    return palette;
}

namespace {

QVector<QRgb> Windows20()
{
    QVector<QRgb> p = ClassicPalette16();
    // The four colours the desktop adds to the sixteen.
    p << qRgb(192, 220, 192) << qRgb(166, 202, 240) << qRgb(255, 251, 240) << qRgb(160, 160, 164);
    return p;
}

QVector<QRgb> Cube216()
{
    QVector<QRgb> p;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                p << qRgb(r * 51, g * 51, b * 51);
    return p;
}

QVector<QRgb> Windows256()
{
    QVector<QRgb> p = Windows20();
    for (QRgb c : Cube216())
        if (!p.contains(c))
            p << c;
    // Grays between the cube's fill the rest.
    for (int v = 8; p.size() < 256 && v < 256; v += 8) {
        const QRgb c = qRgb(v, v, v);
        if (!p.contains(c))
            p << c;
    }
    return p;
}

} // namespace

bool ReductionNeedsHistogram(TColorReduction reduction)
{
    return reduction == crNone || reduction == crQuantize || reduction == crQuantize256;
}

QVector<QRgb> PaletteFor(TColorReduction reduction, const TColorHistogram *histogram)
{
    switch (reduction) {
    case crWindows20: return Windows20();
    case crWindows256: return Windows256();
    case crWindowsGray:
        return {qRgb(0, 0, 0), qRgb(128, 128, 128), qRgb(192, 192, 192), qRgb(255, 255, 255)};
    case crMonochrome: return {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    case crGrayScale: {
        QVector<QRgb> p;
        for (int v = 0; v < 256; ++v)
            p << qRgb(v, v, v);
        return p;
    }
    case crNetscape: return Cube216();
    case crQuantize: return histogram ? histogram->Palette(16) : Windows20();
    case crNone:
    case crQuantize256: return histogram ? histogram->Palette(256) : Windows256();
    }
    return Windows256();
}

// ---------------------------------------------------------------------------
// Mapping

namespace {

struct TKernelTap
{
    int Dx, Dy, Weight;
};
struct TKernel
{
    std::vector<TKernelTap> Taps;
    int Divisor = 1;
    int Rows = 1; // rows below the current one
};

const TKernel &KernelOf(TDitherMode mode)
{
    static const TKernel kernels[kDitherModeCount] = {
        {{}, 1, 0},
        {{{1, 0, 7}, {-1, 1, 3}, {0, 1, 5}, {1, 1, 1}}, 16, 1},
        {{{1, 0, 8}, {2, 0, 4},
          {-2, 1, 2}, {-1, 1, 4}, {0, 1, 8}, {1, 1, 4}, {2, 1, 2},
          {-2, 2, 1}, {-1, 2, 2}, {0, 2, 4}, {1, 2, 2}, {2, 2, 1}},
         42, 2},
        {{{1, 0, 5}, {2, 0, 3},
          {-2, 1, 2}, {-1, 1, 4}, {0, 1, 5}, {1, 1, 4}, {2, 1, 2},
          {-1, 2, 2}, {0, 2, 3}, {1, 2, 2}},
         32, 2},
        {{{1, 0, 7}, {2, 0, 5},
          {-2, 1, 3}, {-1, 1, 5}, {0, 1, 7}, {1, 1, 5}, {2, 1, 3},
          {-2, 2, 1}, {-1, 2, 3}, {0, 2, 5}, {1, 2, 3}, {2, 2, 1}},
         48, 2},
        {{{2, 0, 32},
          {-3, 1, 12}, {-1, 1, 26}, {1, 1, 30}, {3, 1, 16},
          {-2, 2, 12}, {0, 2, 26}, {2, 2, 12},
          {-3, 3, 5}, {-1, 3, 12}, {1, 3, 12}, {3, 3, 5}},
         200, 3},
        {{{1, 0, 8}, {2, 0, 4}, {-2, 1, 2}, {-1, 1, 4}, {0, 1, 8}, {1, 1, 4}, {2, 1, 2}}, 32, 1},
    };
    return kernels[std::clamp(static_cast<int>(mode), 0, kDitherModeCount - 1)];
}

constexpr int kPad = 3;
constexpr size_t kCacheSize = 1 << 16;

inline size_t CacheSlot(uint32_t c)
{
    return ((c * 2654435761u) >> 16) & (kCacheSize - 1);
}

} // namespace

TColorMapper::TColorMapper(const QVector<QRgb> &palette, TDitherMode dither, int width)
    : FPalette(palette.isEmpty() ? QVector<QRgb>{qRgb(0, 0, 0)} : palette.mid(0, 256)), FDither(dither),
      FWidth(width), FCache(kCacheSize, TCacheEntry{0xFFFFFFFF, 0})
{
    for (QRgb c : FPalette) {
        FR.push_back(qRed(c));
        FG.push_back(qGreen(c));
        FB.push_back(qBlue(c));
    }
    const TKernel &k = KernelOf(dither);
    FErrors.assign(k.Rows + 1, std::vector<int>((size_t(width) + 2 * kPad) * 3, 0));
}

TColorMapper::~TColorMapper() = default;

uint8_t TColorMapper::Search(int r, int g, int b) const
{
    int best = 0;
    int bestDistance = INT_MAX;
    const int n = static_cast<int>(FR.size());
    for (int i = 0; i < n; ++i) {
        const int dr = r - FR[i], dg = g - FG[i], db = b - FB[i];
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
            if (d == 0)
                break;
        }
    }
    return static_cast<uint8_t>(best);
}

uint8_t TColorMapper::Nearest(QRgb color)
{
    const uint32_t c = color & 0xFFFFFF;
    TCacheEntry &e = FCache[CacheSlot(c)];
    if (e.Color != c) {
        e.Color = c;
        e.Index = Search(qRed(c), qGreen(c), qBlue(c));
    }
    return e.Index;
}

void TColorMapper::MapRow(const QRgb *row, uint8_t *indices)
{
    if (FDither == dmNearest) {
        uint32_t last = 0xFFFFFFFF;
        uint8_t lastIndex = 0;
        for (int x = 0; x < FWidth; ++x) {
            const uint32_t c = row[x] & 0xFFFFFF;
            if (c != last) {
                last = c;
                lastIndex = Nearest(c);
            }
            indices[x] = lastIndex;
        }
        return;
    }
    const TKernel &k = KernelOf(FDither);
    std::vector<int> &current = FErrors[0];
    for (int x = 0; x < FWidth; ++x) {
        int *err = &current[(size_t(x) + kPad) * 3];
        const int r = std::clamp(qRed(row[x]) + err[0] / k.Divisor, 0, 255);
        const int g = std::clamp(qGreen(row[x]) + err[1] / k.Divisor, 0, 255);
        const int b = std::clamp(qBlue(row[x]) + err[2] / k.Divisor, 0, 255);
        const uint8_t i = Nearest(qRgb(r, g, b));
        indices[x] = i;
        const int er = r - FR[i], eg = g - FG[i], eb = b - FB[i];
        if (er == 0 && eg == 0 && eb == 0)
            continue;
        for (const TKernelTap &t : k.Taps) {
            int *to = &FErrors[t.Dy][(size_t(x + t.Dx) + kPad) * 3];
            to[0] += er * t.Weight;
            to[1] += eg * t.Weight;
            to[2] += eb * t.Weight;
        }
    }
    // The next row's errors come up; the last row starts empty.
    std::vector<int> used = std::move(FErrors[0]);
    for (size_t r = 0; r + 1 < FErrors.size(); ++r)
        FErrors[r] = std::move(FErrors[r + 1]);
    std::fill(used.begin(), used.end(), 0);
    FErrors.back() = std::move(used);
}
