#pragma once
// Enumerations and small value types of the diagram model.

#include "core/ClassInfo.h"
#include "core/InputTypes.h"

#include <QPoint>
#include <algorithm>
#include <memory>

class TTreeDocument;
class TTreeNodeShape;
class TTreeConnection;

DX_ENUM(TTreeShapeStyle, tssRectangle, tssCircle, tssVertLine, tssHorizLine, tssLine, tssInvertLine, tssDiamond,
        tssTriangleTop, tssTriangleBottom, tssTriangleLeft, tssTriangleRight, tssRoundRectangle, tssCustom)

DX_ENUM(TTreeImageAlignment, iaAutomatic, iaLeftTop, iaRightBottom, iaLeftBottom, iaRightTop, iaLeft, iaTop, iaRight,
        iaBottom, iaCenter)

DX_ENUM(TTreeNodeImageIndex, tiNone, tiFolderClose, tiFolderOpen, tiDesktop, tiMyPC, tiNetworkNei, tiFloppy3,
        tiRecycleBin, tiHardDisk, tiNetShare, tiComputer, tiWorld, tiFolderOpenClose, tiFolderCloseChecked,
        tiFolderCloseUnChecked, tiChecked, tiUnChecked, tiRadioChecked, tiRadioUnChecked, tiFolderRadioChecked,
        tiFolderRadioUnChecked)

DX_ENUM(TTreeNodeShapeShowCross, scAuto, scAlways, scNever)

DX_ENUM(THorizTextAlign, htaCenter, htaLeft, htaRight)
DX_ENUM(TVertTextAlign, vtaCenter, vtaTop, vtaBottom)

DX_ENUM(TTreeConnectionStyle, csAuto, csLine, csSides, csCurve, csInvertedSides)
DX_ENUM(TConnectionArrowStyle, casNone, casSolid, casLines, casSquare, casCircle, casDiamond)

// What a coordinate of a connection point is relative to.
DX_ENUM(TConnectionPointKind, cpFromEdge, cpToEdge, cpFromPercent, cpToPercent, cpFromOffset, cpToOffset,
        cpPrevOffset, cpNextOffset, cpAbsolute)

// Resize handles of a node's rectangle; rcPoint marks a connection point or
// a shape's own control point.
enum TTreeShapeHandle : uint8_t {
    rcNone = 0,
    rcLeftTop = 1,
    rcRightBottom = 2,
    rcLeftBottom = 3,
    rcRightTop = 4,
    rcLeft = 5,
    rcTop = 6,
    rcRight = 7,
    rcBottom = 8,
    rcPoint = 9,
};

// A rectangle by its edges, in diagram coordinates. Hit tests include the
// left and top edges and exclude the right and bottom ones.
struct TRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr TRect() = default;
    constexpr TRect(int left, int top, int right, int bottom) : Left(left), Top(top), Right(right), Bottom(bottom) {}

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    constexpr bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    // True when the two rectangles share at least one pixel.
    constexpr bool Meets(const TRect &r) const
    {
        return std::max(Left, r.Left) < std::min(Right, r.Right) && std::max(Top, r.Top) < std::min(Bottom, r.Bottom);
    }
    // Left <= Right and Top <= Bottom.
    TRect Normalized() const
    {
        return TRect(std::min(Left, Right), std::min(Top, Bottom), std::max(Left, Right), std::max(Top, Bottom));
    }
    TRect Offset(int dx, int dy) const { return TRect(Left + dx, Top + dy, Right + dx, Bottom + dy); }
    constexpr bool operator==(const TRect &r) const
    {
        return Left == r.Left && Top == r.Top && Right == r.Right && Bottom == r.Bottom;
    }
    constexpr bool operator!=(const TRect &r) const { return !(*this == r); }
};

// Stores a new value and calls `changed`; an unchanged value does nothing.
// Answers whether the value changed.
template <class T, class V, class F>
bool UpdateField(T &field, const V &value, F changed)
{
    if (field == value)
        return false;
    field = value;
    changed();
    return true;
}

// Setting an own sub-object: null frees it (reporting the change), anything
// else is copied into it, `make` creating it on first use.
template <class T, class S, class Make, class Free, class F>
void AssignPart(const T *own, const S *value, Make make, Free free, F changed)
{
    if (!value) {
        if (own) {
            free();
            changed();
        }
        return;
    }
    if (static_cast<const void *>(value) != static_cast<const void *>(own))
        make()->Assign(value);
}
