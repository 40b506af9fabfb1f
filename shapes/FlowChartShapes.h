#pragma once
// The classic flow-chart symbols. Each class gives its outline for the
// node's bounds while its Style is tssCustom (the symbols drawn with a
// built-in style set that style instead), and some add strokes after the
// body. Older class names that files may still hold behave exactly like the
// class they derive from.

#include "shapes/ControlPointShape.h"
#include "shapes/GalleryClass.h"
#include "shapes/PercentShape.h"

// The base of the symbols: no outline of its own.
class TFlowChartShape : public TCustomTreeShape
{
    DX_OBJECT(TFlowChartShape)
public:
    explicit TFlowChartShape(TComponent *owner = nullptr) : TCustomTreeShape(owner) {}

protected:
    // A symbol filled with `color` when it is made.
    TFlowChartShape(TComponent *owner, TColor color) : TCustomTreeShape(owner) { SetColor(color); }
};

namespace ClassNames {
inline constexpr char TFlowChartCircleShape[] = "TFlowChartCircleShape";
inline constexpr char TDecisionShape[] = "TDecisionShape";
inline constexpr char TProcessShape[] = "TProcessShape";
inline constexpr char TConnectorShape[] = "TConnectorShape";
} // namespace ClassNames

// A symbol drawn with one of the built-in styles, which it publishes as its
// Style default, known to files and the palette as PublishedName.
template <const char *PublishedName, TTreeShapeStyle ShapeStyle>
class TFlowChartStyleShape : public TFlowChartShape
{
public:
    explicit TFlowChartStyleShape(TComponent *owner = nullptr) : TFlowChartShape(owner) { SetStyle(ShapeStyle); }

    static const TClassInfo &StaticClassInfo()
    {
        using N = TFlowChartStyleShape;
        static const TClassInfo info =
            TClassBuilder<N>(PublishedName, TFlowChartShape::StaticClassInfo()).Redefault("Style", ShapeStyle);
        return info;
    }
    const TClassInfo &ClassInfo() const override { return StaticClassInfo(); }
};

// A symbol drawn as a circle.
using TFlowChartCircleShape = TFlowChartStyleShape<ClassNames::TFlowChartCircleShape, tssCircle>;
using TProcessShape = TFlowChartStyleShape<ClassNames::TProcessShape, tssRectangle>;
using TConnectorShape = TFlowChartStyleShape<ClassNames::TConnectorShape, tssCircle>;

// A red diamond with white text (its class information is its base's).
class TDecisionShape : public TFlowChartStyleShape<ClassNames::TDecisionShape, tssDiamond>
{
public:
    explicit TDecisionShape(TComponent *owner = nullptr);
};

// A process with a vertical line a sixth of the width in from either side.
class TPredefinedProcessShape : public TProcessShape
{
    DX_OBJECT(TPredefinedProcessShape)
public:
    explicit TPredefinedProcessShape(TComponent *owner = nullptr) : TProcessShape(owner) {}
    void DrawShape(TKorCanvas3D *canvas, const TRect &r) override;
};

// A bar with half-round ends a quarter of the width deep.
class TTerminalShape : public TFlowChartShape
{
    DX_OBJECT(TTerminalShape)
public:
    explicit TTerminalShape(TComponent *owner = nullptr) : TFlowChartShape(owner) {}
    int GetShapePoints(const TRect &r, TPointArray &points) const override;
};

// A parallelogram whose top edge is moved right by Slant percent of the
// width (at least one pixel, and at least Slant percent of the height). Its
// control point, the top-left corner, drags the slant.
class TInputOutputShape : public TControlPointShape<TFlowChartShape>
{
    DX_OBJECT(TInputOutputShape)
public:
    explicit TInputOutputShape(TComponent *owner = nullptr) : TControlPointShape(owner, clYellow) {}

    double Slant() const { return FSlant; }
    // Values that are not finite numbers are ignored.
    void SetSlant(double value);

    int GetShapePoints(const TRect &r, TPointArray &points) const override;
    void Assign(const TPersistent *source) override;

protected:
    TPoint ControlPoint(const TRect &r) const override;
    int ControlCursor() const override { return crSizeWE; }
    void DragControlPoint(int dx, int dy) override;

private:
    // The horizontal shift of the top edge for a width and height.
    long long SlantShift(long long w, long long h) const;

    double FSlant = 12.5;
};

// A trapezium narrowing downwards.
class TManualOperationShape : public TFlowChartShape
{
    DX_OBJECT(TManualOperationShape)
public:
    explicit TManualOperationShape(TComponent *owner = nullptr) : TFlowChartShape(owner, clAqua) {}
    int GetShapePoints(const TRect &r, TPointArray &points) const override;
};

// A hexagon with pointed left and right ends.
class TSelectShape : public TFlowChartShape
{
    DX_OBJECT(TSelectShape)
public:
    explicit TSelectShape(TComponent *owner = nullptr) : TFlowChartShape(owner, clLime) {}
    int GetShapePoints(const TRect &r, TPointArray &points) const override;
};

// A sheet with a wavy bottom edge.
class TDocumentShape : public TFlowChartShape
{
    DX_OBJECT(TDocumentShape)
public:
    explicit TDocumentShape(TComponent *owner = nullptr) : TFlowChartShape(owner, TColor(16744703)) {}
    int GetShapePoints(const TRect &r, TPointArray &points) const override;
};

// A card with its top-left corner cut PercentHoriz percent of the width
// across and PercentVert percent of the height down.
class TPunchCardShape : public TPercentShape<TFlowChartShape, 25, 25>
{
    DX_OBJECT(TPunchCardShape)
public:
    explicit TPunchCardShape(TComponent *owner = nullptr) : TPercentShape(owner, TColor(16744448)) {}
    int GetShapePoints(const TRect &r, TPointArray &points) const override;
};

// A strip with wavy top and bottom edges.
class TPunchTapeShape : public TFlowChartShape
{
    DX_OBJECT(TPunchTapeShape)
public:
    explicit TPunchTapeShape(TComponent *owner = nullptr) : TFlowChartShape(owner, clGray) {}
    int GetShapePoints(const TRect &r, TPointArray &points) const override;
};

// A D: flat on the left, a half ellipse as wide as the node on the right.
class TDelayShape : public TFlowChartShape
{
    DX_OBJECT(TDelayShape)
public:
    explicit TDelayShape(TComponent *owner = nullptr) : TFlowChartShape(owner, TColor(12975337)) {}
    int GetShapePoints(const TRect &r, TPointArray &points) const override;
};

// A quadrilateral whose top edge falls from the right corner to the left
// edge's middle.
class TManualInputShape : public TFlowChartShape
{
    DX_OBJECT(TManualInputShape)
public:
    explicit TManualInputShape(TComponent *owner = nullptr) : TFlowChartShape(owner, TColor(12509692)) {}
    int GetShapePoints(const TRect &r, TPointArray &points) const override;
};

// A circle crossed by its two diagonals.
class TAndShape : public TFlowChartCircleShape
{
    DX_OBJECT(TAndShape)
public:
    explicit TAndShape(TComponent *owner = nullptr) : TFlowChartCircleShape(owner) {}
    void DrawShape(TKorCanvas3D *canvas, const TRect &r) override;
};

// A circle with a plus sign across it.
class TOrShape : public TFlowChartCircleShape
{
    DX_OBJECT(TOrShape)
public:
    explicit TOrShape(TComponent *owner = nullptr) : TFlowChartCircleShape(owner) {}
    void DrawShape(TKorCanvas3D *canvas, const TRect &r) override;
};

// A rounded left end and a hollow right end.
class TOnlineStorageShape : public TFlowChartShape
{
    DX_OBJECT(TOnlineStorageShape)
public:
    explicit TOnlineStorageShape(TComponent *owner = nullptr) : TFlowChartShape(owner) {}
    int GetShapePoints(const TRect &r, TPointArray &points) const override;
};

// A circle with a tail along the bottom to the right.
class TMagneticTapeShape : public TFlowChartCircleShape
{
    DX_OBJECT(TMagneticTapeShape)
public:
    explicit TMagneticTapeShape(TComponent *owner = nullptr) : TFlowChartCircleShape(owner) {}
    void DrawShape(TKorCanvas3D *canvas, const TRect &r) override;
};

// ---- Older names, read from files only

namespace ClassNames {
inline constexpr char TConditionShape[] = "TConditionShape";
inline constexpr char TTitleShape[] = "TTitleShape";
inline constexpr char TCardShape[] = "TCardShape";
inline constexpr char TManualShape[] = "TManualShape";
inline constexpr char TDataShape[] = "TDataShape";
inline constexpr char TTapeShape[] = "TTapeShape";
} // namespace ClassNames

using TConditionShape = TNamedShape<ClassNames::TConditionShape, TDecisionShape>;
using TTitleShape = TNamedShape<ClassNames::TTitleShape, TInputOutputShape>;
using TCardShape = TNamedShape<ClassNames::TCardShape, TPunchCardShape>;
using TManualShape = TNamedShape<ClassNames::TManualShape, TManualInputShape>;
using TDataShape = TNamedShape<ClassNames::TDataShape, TOnlineStorageShape>;
using TTapeShape = TNamedShape<ClassNames::TTapeShape, TMagneticTapeShape>;
