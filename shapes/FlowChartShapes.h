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

// A symbol with an outline of its own: Outline gives it for the node's
// bounds while Style is tssCustom, and the node is filled with Colour when
// made (clNone: the usual colour). Its class information is its base's:
// it takes a name as a TNamedShape.
template <TPointArray (*Outline)(const TRect &), TColor Colour = clNone>
class TFlowChartOutline : public TFlowChartShape
{
public:
    explicit TFlowChartOutline(TComponent *owner = nullptr) : TFlowChartShape(owner)
    {
        if (Colour != clNone)
            SetColor(Colour);
    }
    int GetShapePoints(const TRect &r, TPointArray &points) const override { return CustomOutline(r, points, Outline); }
};

// A symbol that draws Strokes over its base's body, for the node's bounds.
// Its class information is its base's: it takes a name as a TNamedShape.
template <class Base, void (*Strokes)(TKorCanvas3D *, const TRect &)>
class TFlowChartStrokes : public Base
{
public:
    explicit TFlowChartStrokes(TComponent *owner = nullptr) : Base(owner) {}
    void DrawShape(TKorCanvas3D *canvas, const TRect &r) override
    {
        Base::DrawShape(canvas, r);
        if (canvas)
            Strokes(canvas, r);
    }
};

// The outlines and strokes of the symbols, for a node's bounds.
namespace FlowChartFigures {
// A bar with half-round ends a quarter of the width deep.
TPointArray Terminal(const TRect &r);
// A trapezium narrowing downwards.
TPointArray ManualOperation(const TRect &r);
// A hexagon with pointed left and right ends.
TPointArray Select(const TRect &r);
// A sheet with a wavy bottom edge.
TPointArray Document(const TRect &r);
// A strip with wavy top and bottom edges.
TPointArray PunchTape(const TRect &r);
// A D: flat on the left, a half ellipse as wide as the node on the right.
TPointArray Delay(const TRect &r);
// A quadrilateral whose top edge falls from the right corner to the left
// edge's middle.
TPointArray ManualInput(const TRect &r);
// A rounded left end and a hollow right end.
TPointArray OnlineStorage(const TRect &r);
// Vertical lines a sixth of the width in from either side.
void PredefinedProcess(TKorCanvas3D *canvas, const TRect &r);
// The two diagonals of the circle.
void And(TKorCanvas3D *canvas, const TRect &r);
// A plus sign across the circle.
void Or(TKorCanvas3D *canvas, const TRect &r);
// A tail along the bottom to the right.
void MagneticTape(TKorCanvas3D *canvas, const TRect &r);
} // namespace FlowChartFigures

namespace ClassNames {
inline constexpr char TPredefinedProcessShape[] = "TPredefinedProcessShape";
inline constexpr char TTerminalShape[] = "TTerminalShape";
inline constexpr char TManualOperationShape[] = "TManualOperationShape";
inline constexpr char TSelectShape[] = "TSelectShape";
inline constexpr char TDocumentShape[] = "TDocumentShape";
inline constexpr char TPunchTapeShape[] = "TPunchTapeShape";
inline constexpr char TDelayShape[] = "TDelayShape";
inline constexpr char TManualInputShape[] = "TManualInputShape";
inline constexpr char TAndShape[] = "TAndShape";
inline constexpr char TOrShape[] = "TOrShape";
inline constexpr char TOnlineStorageShape[] = "TOnlineStorageShape";
inline constexpr char TMagneticTapeShape[] = "TMagneticTapeShape";
} // namespace ClassNames

using TPredefinedProcessShape = TNamedShape<ClassNames::TPredefinedProcessShape,
                                            TFlowChartStrokes<TProcessShape, FlowChartFigures::PredefinedProcess>>;
using TTerminalShape = TNamedShape<ClassNames::TTerminalShape, TFlowChartOutline<FlowChartFigures::Terminal>>;
using TManualOperationShape =
    TNamedShape<ClassNames::TManualOperationShape, TFlowChartOutline<FlowChartFigures::ManualOperation, clAqua>>;
using TSelectShape = TNamedShape<ClassNames::TSelectShape, TFlowChartOutline<FlowChartFigures::Select, clLime>>;
using TDocumentShape =
    TNamedShape<ClassNames::TDocumentShape, TFlowChartOutline<FlowChartFigures::Document, TColor(16744703)>>;
using TPunchTapeShape =
    TNamedShape<ClassNames::TPunchTapeShape, TFlowChartOutline<FlowChartFigures::PunchTape, clGray>>;
using TDelayShape = TNamedShape<ClassNames::TDelayShape, TFlowChartOutline<FlowChartFigures::Delay, TColor(12975337)>>;
using TManualInputShape =
    TNamedShape<ClassNames::TManualInputShape, TFlowChartOutline<FlowChartFigures::ManualInput, TColor(12509692)>>;
using TAndShape = TNamedShape<ClassNames::TAndShape, TFlowChartStrokes<TFlowChartCircleShape, FlowChartFigures::And>>;
using TOrShape = TNamedShape<ClassNames::TOrShape, TFlowChartStrokes<TFlowChartCircleShape, FlowChartFigures::Or>>;
using TOnlineStorageShape =
    TNamedShape<ClassNames::TOnlineStorageShape, TFlowChartOutline<FlowChartFigures::OnlineStorage>>;
using TMagneticTapeShape = TNamedShape<ClassNames::TMagneticTapeShape,
                                       TFlowChartStrokes<TFlowChartCircleShape, FlowChartFigures::MagneticTape>>;

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

// A card with its top-left corner cut PercentHoriz percent of the width
// across and PercentVert percent of the height down.
class TPunchCardShape : public TPercentShape<TFlowChartShape, 25, 25>
{
    DX_OBJECT(TPunchCardShape)
public:
    explicit TPunchCardShape(TComponent *owner = nullptr) : TPercentShape(owner, TColor(16744448)) {}
    int GetShapePoints(const TRect &r, TPointArray &points) const override;
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
