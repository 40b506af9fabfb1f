#pragma once
// Enumerations and small value types of the diagram model.

#include "canvas/CanvasTypes.h"
#include "core/ClassInfo.h"
#include "core/InputTypes.h"

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
