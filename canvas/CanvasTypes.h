#pragma once
// Integer geometry of the drawing model: points and rectangles in pixels
// (x to the right, y downwards) and the small helpers every drawing routine
// uses. A rectangle from (Left, Top) to (Right, Bottom) covers the pixels
// Left ... Right - 1 and Top ... Bottom - 1.

#include <QPoint>
#include <QRect>
#include <climits>
#include <utility>
#include <vector>

// The coordinate range of drawings: ±2^28 pixels at zoom 100.
//
// Diagram files are untrusted, and a node at X0 = 2^31 - 10 would make its
// child's X0 + 19 (or its right edge plus its border) overflow. So every
// diagram coordinate (node edges, vertices, connection points and their
// offsets, scroll offsets) and every size that geometry adds to one (pen
// widths, image, shadow, arrow and cross box sizes, text offsets) is kept
// within ±kCoordLimit: the setters clamp what lies beyond, which covers the
// file reader, and positions the program computes itself (automatic layout,
// automatic sizes, connection points) are clamped as they are made. A sum
// of up to seven such values stays inside int, so the geometry built on
// them needs no overflow checks of its own. 2^28 is some 100,000 screens
// in each direction: no real drawing comes near it, and a value inside the
// range is never changed, so files keep their exact bytes.
constexpr int kCoordLimit = 1 << 28;

// A coordinate or size brought into the range (computed in 64 bits by the
// caller where a sum might leave int).
constexpr int ClampCoord(long long v)
{
    return v > kCoordLimit ? kCoordLimit : (v < -kCoordLimit ? -kCoordLimit : static_cast<int>(v));
}

struct TPoint
{
    int X = 0;
    int Y = 0;

    constexpr TPoint() = default;
    constexpr TPoint(int x, int y) : X(x), Y(y) {}

    constexpr bool operator==(const TPoint &o) const { return X == o.X && Y == o.Y; }
    constexpr bool operator!=(const TPoint &o) const { return !(*this == o); }
    QPoint ToQPoint() const { return QPoint(X, Y); }
};

using TPointArray = std::vector<TPoint>;

// A point with depth, for the 3D operations of the canvas.
struct TPoint3D
{
    int X = 0;
    int Y = 0;
    int Z = 0;

    constexpr TPoint3D() = default;
    constexpr TPoint3D(int x, int y, int z) : X(x), Y(y), Z(z) {}
    constexpr bool operator==(const TPoint3D &o) const { return X == o.X && Y == o.Y && Z == o.Z; }
};

struct TRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr TRect() = default;
    constexpr TRect(int left, int top, int right, int bottom) : Left(left), Top(top), Right(right), Bottom(bottom) {}
    constexpr TRect(const TPoint &topLeft, const TPoint &bottomRight)
        : Left(topLeft.X), Top(topLeft.Y), Right(bottomRight.X), Bottom(bottomRight.Y)
    {
    }

    // A span beyond the int range (a rectangle from far left to far right)
    // saturates.
    constexpr int Width() const { return Span(Left, Right); }
    constexpr int Height() const { return Span(Top, Bottom); }
    constexpr TPoint TopLeft() const { return TPoint(Left, Top); }
    constexpr TPoint BottomRight() const { return TPoint(Right, Bottom); }
    // True when it covers no pixel.
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    // The same rectangle with Left <= Right and Top <= Bottom.
    TRect Normalized() const
    {
        TRect r = *this;
        if (r.Left > r.Right)
            std::swap(r.Left, r.Right);
        if (r.Top > r.Bottom)
            std::swap(r.Top, r.Bottom);
        return r;
    }
    // Moved by (dx, dy); shrunk by (dx, dy) on every side (negative grows).
    constexpr TRect Offset(int dx, int dy) const { return TRect(Left + dx, Top + dy, Right + dx, Bottom + dy); }
    constexpr TRect Inflated(int dx, int dy) const { return TRect(Left - dx, Top - dy, Right + dx, Bottom + dy); }

    constexpr bool operator==(const TRect &o) const
    {
        return Left == o.Left && Top == o.Top && Right == o.Right && Bottom == o.Bottom;
    }
    constexpr bool operator!=(const TRect &o) const { return !(*this == o); }

    // The Qt rectangle covering the same pixels.
    QRect ToQRect() const { return QRect(Left, Top, Width(), Height()); }
    static TRect FromQRect(const QRect &r) { return TRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()); }

    static constexpr int Span(int from, int to)
    {
        const long long d = static_cast<long long>(to) - from;
        return d > INT_MAX ? INT_MAX : (d < INT_MIN ? INT_MIN : static_cast<int>(d));
    }
};

// A rectangle from its top-left corner and size.
constexpr TRect Bounds(int left, int top, int width, int height)
{
    return TRect(left, top, left + width, top + height);
}

// Left and top inclusive, right and bottom exclusive.
constexpr bool PointInRect(const TRect &r, int x, int y)
{
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}
constexpr bool PointInRect(const TRect &r, const TPoint &p)
{
    return PointInRect(r, p.X, p.Y);
}

constexpr int RectWidth(const TRect &r)
{
    return r.Width();
}
constexpr int RectHeight(const TRect &r)
{
    return r.Height();
}
// The centre, integer halves rounded toward zero.
inline TPoint RectCenter(const TRect &r)
{
    return TPoint(static_cast<int>((static_cast<long long>(r.Left) + r.Right) / 2),
                  static_cast<int>((static_cast<long long>(r.Top) + r.Bottom) / 2));
}
inline void RectCenter(const TRect &r, int &x, int &y)
{
    const TPoint c = RectCenter(r);
    x = c.X;
    y = c.Y;
}

// The intersection of two rectangles (empty when they do not meet) and
// whether they share a pixel.
TRect IntersectRects(const TRect &a, const TRect &b);
bool RectsIntersect(const TRect &a, const TRect &b);
// The smallest rectangle holding both (an empty one adds nothing).
TRect UnionRects(const TRect &a, const TRect &b);

constexpr int MinInteger(int a, int b)
{
    return a < b ? a : b;
}
constexpr int MaxInteger(int a, int b)
{
    return a > b ? a : b;
}
constexpr double MinDouble(double a, double b)
{
    return a < b ? a : b;
}
constexpr double MaxDouble(double a, double b)
{
    return a > b ? a : b;
}
inline void SwapInteger(int &a, int &b)
{
    std::swap(a, b);
}
