// What each flow-chart and general figure should look like for its bounds
// with its construction defaults: outline, strokes, fill.

#pragma once

#include "GalleryTestUtil.h"

namespace GalleryTest {

inline double HalfTurnAngle(int i, int steps)
{
    return 1.5 * M_PI + i * M_PI / steps;
}

// Two rounded ends: the right one around xr (bulging outwards, or inwards
// for the hollow end of the online storage), the left one around L + W/4.
inline void Caps(const TB &b, int xr, int sign, TPointArray &p)
{
    const int q = b.W / 4, ry = b.H / 2;
    for (int i = 1; i <= 16; ++i) {
        const double a = HalfTurnAngle(i, 16);
        p.emplace_back(xr + sign * Nearest(std::cos(a) * q), b.cy + Nearest(std::sin(a) * ry));
    }
    for (int i = 1; i <= 16; ++i) {
        const double a = HalfTurnAngle(i, 16);
        p.emplace_back(b.L + q - Nearest(std::cos(a) * q), b.cy - Nearest(std::sin(a) * ry));
    }
}

// The 16 points of a wave: the right arc, then the left arc run backwards
// (or the other way round).
inline TPointArray WavePoints(const TB &b, int base, bool forward)
{
    const int q = b.W / 4, r = b.H / 4;
    const double step = (2 * M_PI / 3) / 7;
    auto arc = [&](int centre, double from) {
        TPointArray pts;
        for (int i = 1; i <= 8; ++i) {
            const double a = i * step + from;
            pts.emplace_back(centre - Nearest(std::sin(a) * q), base - Nearest(std::cos(a) * r));
        }
        return pts;
    };
    TPointArray right = arc(b.R - q, -M_PI / 3), left = arc(b.L + q, -1.5 * M_PI);
    TPointArray out;
    const TPointArray &first = forward ? right : left;
    const TPointArray &second = forward ? left : right;
    out.insert(out.end(), first.begin(), first.end());
    out.insert(out.end(), second.rbegin(), second.rend());
    return out;
}

// A D: the top-left corner, then a half ellipse as wide as the bounds
// round from the top right to the bottom left.
inline TPointArray DPoints(const TB &b)
{
    TPointArray p{{b.L, b.T}};
    for (int i = 1; i <= 32; ++i) {
        const double a = HalfTurnAngle(i, 32);
        p.emplace_back(b.L + Nearest(std::cos(a) * b.W), b.cy + Nearest(std::sin(a) * (b.H / 2)));
    }
    return p;
}

inline TPointArray RegularPolygonPoints(const TRect &r, int n, double offset)
{
    const double cx = (r.Left + r.Right) / 2.0, cy = (r.Top + r.Bottom) / 2.0;
    const double rx = (r.Right - r.Left) / 2.0, ry = (r.Bottom - r.Top) / 2.0;
    TPointArray p;
    for (int i = 0; i < n; ++i) {
        const double a = (offset + 360.0 * i / n) * M_PI / 180;
        p.emplace_back(Nearest(cx - rx * std::cos(a)), Nearest(cy - ry * std::sin(a)));
    }
    return p;
}

inline TPointArray InputOutputPoints(const TB &b, double slant)
{
    int s = Nearest(b.W * slant / 100);
    if (s == 0)
        s = 1;
    s = std::max(s, Nearest(slant / 100 * b.H));
    return {{b.L, b.B}, {b.L + s, b.T}, {b.R, b.T}, {b.R - s, b.B}};
}

inline int EighthInset(const TB &b)
{
    return std::max(std::max(b.W / 8, 1), b.H / 8);
}

inline TPointArray StarPoints(const TB &b)
{
    const int rx = b.W / 2, ry = std::max(1, b.H / 2), k = 2 * rx / 7;
    auto at = [&](double deg) {
        return TPoint(b.cx + Nearest(std::sin(deg * M_PI / 180) * rx), b.cy - Nearest(std::cos(deg * M_PI / 180) * ry));
    };
    const TPoint p72 = at(72), p288 = at(288);
    return {{b.cx, b.T}, {b.cx + k, p72.Y}, p72, {b.cx + rx / 2, b.B - b.H / 3}, {b.cx + b.W / 3, b.B},
            {b.cx, b.B - ry / 2}, {b.cx - b.W / 3, b.B}, {b.cx - rx / 2, b.B - b.H / 3}, p288, {b.cx - k, p288.Y}};
}

inline TPointArray CallOutPoints(const TB &b, int tipX, int tipY)
{
    const int s = b.B - b.H / 6;
    return {{b.L, b.T}, {b.R, b.T}, {b.R, s}, {b.cx, s},
            {b.L + Nearest(b.W * tipX / 100.0), b.T + Nearest(b.H * tipY / 100.0)}, {b.L + b.W / 3, s}, {b.L, s}};
}

struct TFigureReference
{
    TColor Fill;
    std::function<TExpected(const TB &)> Look;
};

// Every class of the two pages (and the older names) with its look.
inline const std::map<QString, TFigureReference> &FlowReferences()
{
    static const std::map<QString, TFigureReference> refs = [] {
        std::map<QString, TFigureReference> m;
        auto polygon = [](std::function<TPointArray(const TB &)> f) {
            return [f](const TB &b) {
                TExpected e;
                e.Polygon = f(b);
                return e;
            };
        };
        auto style = [](TTreeShapeStyle s) {
            return [s](const TB &b) {
                TExpected e;
                e.Style = s;
                e.Body = TRect(b.L, b.T, b.R, b.B);
                return e;
            };
        };
        m["TDecisionShape"] = {clRed, style(tssDiamond)};
        m["TConditionShape"] = m["TDecisionShape"];
        m["TProcessShape"] = {clWhite, style(tssRectangle)};
        m["TPredefinedProcessShape"] = {clWhite, [style](const TB &b) {
                                            TExpected e = style(tssRectangle)(b);
                                            const int d = std::abs(b.W) / 6;
                                            e.Lines = {{{b.L + d, b.T}, {b.L + d, b.B}}, {{b.R - d, b.T}, {b.R - d, b.B}}};
                                            return e;
                                        }};
        m["TTerminalShape"] = {clWhite, polygon([](const TB &b) {
                                   TPointArray p{{b.R - b.W / 4, b.T}};
                                   Caps(b, b.R - b.W / 4, 1, p);
                                   return p;
                               })};
        m["TConnectorShape"] = {clWhite, style(tssCircle)};
        m["TInputOutputShape"] = {clYellow, polygon([](const TB &b) { return InputOutputPoints(b, 12.5); })};
        m["TTitleShape"] = m["TInputOutputShape"];
        m["TManualOperationShape"] = {clAqua, polygon([](const TB &b) {
                                          const int s = EighthInset(b);
                                          return TPointArray{{b.L + s, b.B}, {b.L, b.T}, {b.R, b.T}, {b.R - s, b.B}};
                                      })};
        m["TSelectShape"] = {clLime, polygon([](const TB &b) {
                                 const int s = EighthInset(b);
                                 return TPointArray{{b.L, b.cy},     {b.L + s, b.T}, {b.R - s, b.T},
                                                    {b.R, b.cy}, {b.R - s, b.B}, {b.L + s, b.B}};
                             })};
        m["TDocumentShape"] = {16744703, polygon([](const TB &b) {
                                   const int w = b.H / 8;
                                   TPointArray p{{b.L, b.T}, {b.R, b.T}, {b.R, b.B - Nearest(2.0 * w / 3 + w)}};
                                   const TPointArray wave = WavePoints(b, b.B - w, true);
                                   p.insert(p.end(), wave.begin(), wave.end());
                                   p.back() = TPoint(b.L, b.B - w);
                                   return p;
                               })};
        m["TPunchCardShape"] = {16744448, polygon([](const TB &b) {
                                    return TPointArray{{b.R, b.T}, {b.R, b.B}, {b.L, b.B},
                                                       {b.L, b.T + Nearest(b.H * 0.25)}, {b.L + Nearest(b.W * 0.25), b.T}};
                                })};
        m["TCardShape"] = m["TPunchCardShape"];
        m["TPunchTapeShape"] = {clGray, polygon([](const TB &b) {
                                    const int w = b.H / 8;
                                    TPointArray p{{b.R, b.B - Nearest(2.0 * w / 3 + w)}};
                                    const TPointArray low = WavePoints(b, b.B - w, true);
                                    p.insert(p.end(), low.begin(), low.end());
                                    p.back() = TPoint(b.L, b.B - w);
                                    p.emplace_back(b.L, b.T + w);
                                    const TPointArray high = WavePoints(b, b.T + w, false);
                                    p.insert(p.end(), high.begin(), high.end());
                                    p.emplace_back(b.R, b.T + w - Nearest(2.0 * w / 3));
                                    return p;
                                })};
        m["TDelayShape"] = {12975337, polygon(DPoints)};
        m["TManualInputShape"] = {12509692, polygon([](const TB &b) {
                                      return TPointArray{{b.L, b.cy}, {b.R, b.T}, {b.R, b.B}, {b.L, b.B}};
                                  })};
        m["TManualShape"] = m["TManualInputShape"];
        m["TAndShape"] = {clWhite, [style](const TB &b) {
                              TExpected e = style(tssCircle)(b);
                              const int rx = b.W / 2, ry = b.H / 2;
                              auto at = [&](double a) {
                                  return TPoint(b.cx + Nearest(std::cos(a) * rx), b.cy + Nearest(std::sin(a) * ry));
                              };
                              e.Lines = {{at(M_PI / 4), at(5 * M_PI / 4)}, {at(3 * M_PI / 4), at(7 * M_PI / 4)}};
                              return e;
                          }};
        m["TOrShape"] = {clWhite, [style](const TB &b) {
                             TExpected e = style(tssCircle)(b);
                             e.Lines = {{{b.L, b.cy}, {b.R, b.cy}}, {{b.cx, b.T}, {b.cx, b.B}}};
                             return e;
                         }};
        m["TOnlineStorageShape"] = {clWhite, polygon([](const TB &b) {
                                        TPointArray p{{b.R, b.T}};
                                        Caps(b, b.R, -1, p);
                                        return p;
                                    })};
        m["TDataShape"] = m["TOnlineStorageShape"];
        m["TMagneticTapeShape"] = {clWhite, [style](const TB &b) {
                                       TExpected e = style(tssCircle)(b);
                                       e.Lines = {{{b.cx, b.B}, {b.R, b.B}}};
                                       return e;
                                   }};
        m["TTapeShape"] = m["TMagneticTapeShape"];

        auto regular = [polygon](int n, double offset) {
            return polygon([n, offset](const TB &b) { return RegularPolygonPoints(TRect(b.L, b.T, b.R, b.B), n, offset); });
        };
        m["TPentagonShape"] = {clWhite, regular(5, 18)};
        m["THexagonShape"] = {clWhite, regular(6, 0)};
        m["TOctagonShape"] = {clWhite, regular(8, 22.5)};
        m["TCrossShape"] = {clWhite, polygon([](const TB &b) {
                                const int c = Nearest(b.W * 0.25), a = Nearest(b.H * 0.25);
                                return TPointArray{{b.L + c, b.T},     {b.R - c, b.T},     {b.R - c, b.T + a},
                                                   {b.R, b.T + a},     {b.R, b.B - a},     {b.R - c, b.B - a},
                                                   {b.R - c, b.B},     {b.L + c, b.B},     {b.L + c, b.B - a},
                                                   {b.L, b.B - a},     {b.L, b.T + a},     {b.L + c, b.T + a}};
                            })};
        m["TTriangleRectRightShape"] = {clWhite, polygon([](const TB &b) {
                                            return TPointArray{{b.L, b.T}, {b.R, b.B}, {b.L, b.B}};
                                        })};
        m["TTriangleRectLeftShape"] = {clWhite, polygon([](const TB &b) {
                                           return TPointArray{{b.R, b.T}, {b.R, b.B}, {b.L, b.B}};
                                       })};
        m["THouseShape"] = {clWhite, polygon([](const TB &b) {
                                const int w = Nearest(b.H * 0.5);
                                return TPointArray{{b.cx, b.T}, {b.R, b.T + w}, {b.R, b.B}, {b.L, b.B}, {b.L, b.T + w}};
                            })};
        m["TEnvelopeShape"] = {clWhite, [style](const TB &b) {
                                   TExpected e = style(tssRectangle)(b);
                                   const TPoint f(b.cx, b.T + Nearest(b.H * 0.33));
                                   e.Lines = {{{b.L, b.T}, f}, {f, {b.R, b.T}}};
                                   return e;
                               }};
        m["TRingShape"] = {clWhite, [style](const TB &b) {
                               TExpected e = style(tssCircle)(b);
                               e.Ellipses = {TRect(b.L + b.W / 4, b.T + b.H / 4, b.R - b.W / 4, b.B - b.H / 4)};
                               return e;
                           }};
        auto arrow = [polygon](char dir) {
            return polygon([dir](const TB &b) {
                const int h = Nearest(b.W * 0.25), v = Nearest(b.H * 0.33);
                switch (dir) {
                case 'U':
                    return TPointArray{{b.cx, b.T},      {b.R, b.T + v},     {b.R - h, b.T + v}, {b.R - h, b.B},
                                       {b.L + h, b.B}, {b.L + h, b.T + v}, {b.L, b.T + v}};
                case 'D':
                    return TPointArray{{b.cx, b.B},      {b.R, b.B - v},     {b.R - h, b.B - v}, {b.R - h, b.T},
                                       {b.L + h, b.T}, {b.L + h, b.B - v}, {b.L, b.B - v}};
                case 'R':
                    return TPointArray{{b.R, b.cy},      {b.R - h, b.B},     {b.R - h, b.B - v}, {b.L, b.B - v},
                                       {b.L, b.T + v}, {b.R - h, b.T + v}, {b.R - h, b.T}};
                default:
                    return TPointArray{{b.L, b.cy},      {b.L + h, b.B},     {b.L + h, b.B - v}, {b.R, b.B - v},
                                       {b.R, b.T + v}, {b.L + h, b.T + v}, {b.L + h, b.T}};
                }
            });
        };
        m["TArrowUpShape"] = {clWhite, arrow('U')};
        m["TArrowDownShape"] = {clWhite, arrow('D')};
        m["TArrowLeftShape"] = {clWhite, arrow('L')};
        m["TArrowRightShape"] = {clWhite, arrow('R')};
        m["TCallOutShape"] = {clWhite, polygon([](const TB &b) { return CallOutPoints(b, 25, 100); })};
        m["TStarShape"] = {clWhite, polygon([](const TB &b) { return StarPoints(b); })};
        return m;
    }();
    return refs;
}

} // namespace GalleryTest
