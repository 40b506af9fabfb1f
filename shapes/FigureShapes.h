#pragma once
// General figures: regular polygons, a cross, right triangles, a house, an
// envelope, a ring, block arrows, a call-out, a star and a bevelled box.

#include "canvas/BevelTypes.h"
#include "shapes/ControlPointShape.h"
#include "shapes/GalleryClass.h"
#include "shapes/PercentShape.h"

class TPentagonShape : public TTreeCustomPolygonShape
{
    DX_OBJECT(TPentagonShape)
public:
    // A vertex at the top centre.
    explicit TPentagonShape(TComponent *owner = nullptr);
};

class THexagonShape : public TTreeCustomPolygonShape
{
    DX_OBJECT(THexagonShape)
public:
    // Vertices at the middles of the left and right edges.
    explicit THexagonShape(TComponent *owner = nullptr);
};

class TOctagonShape : public TTreeCustomPolygonShape
{
    DX_OBJECT(TOctagonShape)
public:
    // Flat on every side of the bounds.
    explicit TOctagonShape(TComponent *owner = nullptr);
};

// A plus-shaped cross whose arms leave PercentHoriz percent of the width
// free on either side of the upright and PercentVert percent of the height
// above and below the bar.
class TCrossShape : public TPercentShape<TCustomTreeShape, 25, 25>
{
    DX_OBJECT(TCrossShape)
public:
    explicit TCrossShape(TComponent *owner = nullptr) : TPercentShape(owner) {}
    int GetShapePoints(const TRect &r, TPointArray &points) const override;
};

// A right triangle standing on the bottom edge, its right angle at the
// bottom left or the bottom right; its text sits at the bottom, where the
// triangle is widest. The base class has no right angle and no outline.
class TTriangleRectShape : public TCustomTreeShape
{
    DX_OBJECT(TTriangleRectShape)
public:
    enum TRightAngle : uint8_t { raNone, raBottomLeft, raBottomRight };
    explicit TTriangleRectShape(TComponent *owner = nullptr, TRightAngle rightAngle = raNone)
        : TCustomTreeShape(owner), FRightAngle(rightAngle)
    {
    }
    TRightAngle RightAngle() const { return FRightAngle; }
    TVertTextAlign DefaultVertAlign() const override { return vtaBottom; }
    int GetShapePoints(const TRect &r, TPointArray &points) const override;

private:
    TRightAngle FRightAngle;
};

namespace ClassNames {
inline constexpr char TTriangleRectRightShape[] = "TTriangleRectRightShape";
inline constexpr char TTriangleRectLeftShape[] = "TTriangleRectLeftShape";
} // namespace ClassNames

using TTriangleRectRightShape =
    TNamedShape<ClassNames::TTriangleRectRightShape, TTriangleRectShape, TTriangleRectShape::raBottomLeft>;
using TTriangleRectLeftShape =
    TNamedShape<ClassNames::TTriangleRectLeftShape, TTriangleRectShape, TTriangleRectShape::raBottomRight>;

// A house front: the roof's eaves WallSize percent of the height below the
// ridge. The control point under the ridge drags the eaves up and down.
class THouseShape : public TControlPointShape<TCustomTreeShape>
{
    DX_OBJECT(THouseShape)
public:
    explicit THouseShape(TComponent *owner = nullptr) : TControlPointShape<TCustomTreeShape>(owner) {}

    double WallSize() const { return FWallSize; }
    // Values that are not finite numbers are ignored.
    void SetWallSize(double value);

    int GetShapePoints(const TRect &r, TPointArray &points) const override;
    void Assign(const TPersistent *source) override;

protected:
    TPoint ControlPoint(const TRect &r) const override;
    int ControlCursor() const override { return crSizeNS; }
    void DragControlPoint(int dx, int dy) override;

private:
    double FWallSize = 50;
};

// A rectangle with the flap's two edges meeting OffsetY percent of the
// height below the middle of the top edge, where the control point drags
// the flap.
class TEnvelopeShape : public TControlPointShape<TTreeNodeShape>
{
    DX_OBJECT(TEnvelopeShape)
public:
    explicit TEnvelopeShape(TComponent *owner = nullptr) : TControlPointShape<TTreeNodeShape>(owner) {}

    int OffsetY() const { return FOffsetY; }
    void SetOffsetY(int value) { Update(FOffsetY, value); }

    void DrawShape(TKorCanvas3D *canvas, const TRect &r) override;
    void Assign(const TPersistent *source) override;

protected:
    TPoint ControlPoint(const TRect &r) const override;
    int ControlCursor() const override { return crSizeNS; }
    void DragControlPoint(int dx, int dy) override;

private:
    int FOffsetY = 33;
};

// A circle with a second one inside, half its size.
class TRingShape : public TTreeNodeShape
{
    DX_OBJECT(TRingShape)
public:
    explicit TRingShape(TComponent *owner = nullptr);
    void DrawShape(TKorCanvas3D *canvas, const TRect &r) override;
};

// A block arrow pointing up, down, left or right: the head PercentVert
// percent of the height (PercentHoriz of the width for left and right)
// long, the shaft leaving PercentHoriz percent of the width (PercentVert of
// the height) free on either side. The base class points nowhere and gives
// no outline.
class TTreeCustomArrowShape : public TPercentShape<TCustomTreeShape, 25, 33>
{
    DX_OBJECT(TTreeCustomArrowShape)
public:
    enum TDirection : uint8_t { adNone, adUp, adDown, adLeft, adRight };
    explicit TTreeCustomArrowShape(TComponent *owner = nullptr, TDirection direction = adNone)
        : TPercentShape(owner), FDirection(direction)
    {
    }
    TDirection Direction() const { return FDirection; }
    int GetShapePoints(const TRect &r, TPointArray &points) const override;

private:
    TDirection FDirection;
};

namespace ClassNames {
inline constexpr char TArrowUpShape[] = "TArrowUpShape";
inline constexpr char TArrowDownShape[] = "TArrowDownShape";
inline constexpr char TArrowLeftShape[] = "TArrowLeftShape";
inline constexpr char TArrowRightShape[] = "TArrowRightShape";
} // namespace ClassNames

using TArrowUpShape = TNamedShape<ClassNames::TArrowUpShape, TTreeCustomArrowShape, TTreeCustomArrowShape::adUp>;
using TArrowDownShape = TNamedShape<ClassNames::TArrowDownShape, TTreeCustomArrowShape, TTreeCustomArrowShape::adDown>;
using TArrowLeftShape = TNamedShape<ClassNames::TArrowLeftShape, TTreeCustomArrowShape, TTreeCustomArrowShape::adLeft>;
using TArrowRightShape =
    TNamedShape<ClassNames::TArrowRightShape, TTreeCustomArrowShape, TTreeCustomArrowShape::adRight>;

// A speech balloon: a box above a sixth of the height, its tip at
// TipX percent of the width and TipY percent of the height (25 and 100 at
// first), dragged by its control point. The tip is not stored.
class TCallOutShape : public TControlPointShape<TCustomTreeShape>
{
    DX_OBJECT(TCallOutShape)
public:
    explicit TCallOutShape(TComponent *owner = nullptr) : TControlPointShape<TCustomTreeShape>(owner) {}

    int TipX() const { return FTipX; }
    int TipY() const { return FTipY; }
    void SetTip(int x, int y);

    int GetShapePoints(const TRect &r, TPointArray &points) const override;
    void Assign(const TPersistent *source) override;

protected:
    TPoint ControlPoint(const TRect &r) const override;
    int ControlCursor() const override { return crSizeAll; }
    void DragControlPoint(int dx, int dy) override;

private:
    int FTipX = 25;
    int FTipY = 100;
};

// A five-pointed star.
class TStarShape : public TCustomTreeShape
{
    DX_OBJECT(TStarShape)
public:
    explicit TStarShape(TComponent *owner = nullptr) : TCustomTreeShape(owner) {}
    int GetShapePoints(const TRect &r, TPointArray &points) const override;
};

// A box with a raised or lowered frame of BevelSize pixels in the button
// colours.
class TBeveledShape : public TTreeNodeShape
{
    DX_OBJECT(TBeveledShape)
public:
    explicit TBeveledShape(TComponent *owner = nullptr);

    TPanelBevel Bevel() const { return FBevel; }
    void SetBevel(TPanelBevel value) { Update(FBevel, value); }
    int BevelSize() const { return FBevelSize; }
    // At least 0, and no more than the coordinate range.
    void SetBevelSize(int value);

    void DrawShape(TKorCanvas3D *canvas, const TRect &r) override;
    void Assign(const TPersistent *source) override;

private:
    TPanelBevel FBevel = bvRaised;
    int FBevelSize = 1;
};
