#include "model/PolygonShape.h"

#include "core/NameTables.h"
#include "model/ConnectionGeometry.h"
#include "model/ShapeGeometry.h"
#include "model/TreeDocument.h"

#include <algorithm>
#include <climits>

namespace {

// Vertices come from files too: moving one never wraps around.
int AddClamped(int a, int b)
{
    return static_cast<int>(std::clamp<int64_t>(int64_t(a) + b, INT_MIN, INT_MAX));
}

TPoint Shifted(const TPoint &p, int dx, int dy)
{
    return TPoint(AddClamped(p.X, dx), AddClamped(p.Y, dy));
}

} // namespace

// ---------------------------------------------------------------------------
// TPointItem

const TClassInfo &TPointItem::StaticClassInfo()
{
    using P = TPointItem;
    // No defaults: both coordinates are always written.
    static const TClassInfo info = TClassBuilder<P>("TPointItem", TCollectionItem::StaticClassInfo())
                                       .Integer("X", &P::X, &P::SetX)
                                       .Integer("Y", &P::Y, &P::SetY);
    return info;
}

void TPointItem::SetX(int value)
{
    SetPoint(TPoint(value, FY));
}

void TPointItem::SetY(int value)
{
    SetPoint(TPoint(FX, value));
}

void TPointItem::SetPoint(const TPoint &p)
{
    // Vertices are coordinates: within the range of CanvasTypes.h.
    const TPoint q(ClampCoord(p.X), ClampCoord(p.Y));
    if (q == Point())
        return;
    FX = q.X;
    FY = q.Y;
    Changed();
}

void TPointItem::Assign(const TPersistent *source)
{
    if (const auto *other = dynamic_cast<const TPointItem *>(source)) {
        SetPoint(other->Point());
        return;
    }
    TCollectionItem::Assign(source);
}

// ---------------------------------------------------------------------------
// TPointCollection

const TClassInfo &TPointCollection::StaticClassInfo()
{
    static const TClassInfo info("TPointCollection", &TCollection::StaticClassInfo());
    return info;
}

TPointCollection::TPointCollection(TPolygonShape *owner)
    : TCollection(TCollection::FactoryOf<TPointItem>()), FOwner(owner)
{
    OnChange = [this](TCollection *, TCollectionItem *) {
        if (FOwner)
            FOwner->PointsChanged();
    };
}

TPointItem *TPointCollection::Add(int x, int y)
{
    BeginUpdate();
    auto *item = static_cast<TPointItem *>(TCollection::Add());
    item->SetPoint(TPoint(x, y));
    EndUpdate();
    return item;
}

TPointArray TPointCollection::Positions() const
{
    TPointArray points;
    points.reserve(static_cast<size_t>(Count()));
    for (int i = 0; i < Count(); ++i)
        points.push_back(Items(i)->Point());
    return points;
}

// ---------------------------------------------------------------------------
// TPolygonShape

const TClassInfo &TPolygonShape::StaticClassInfo()
{
    using N = TPolygonShape;
    static const TClassInfo info = TClassBuilder<N>("TPolygonShape", TCustomTreeShape::StaticClassInfo())
                                       .Object<TPointCollection>("Points", &N::PeekPoints, &N::PeekPoints);
    return info;
}

TPolygonShape::TPolygonShape(TComponent *owner) : TPolygonShape(owner, false) {}

TPolygonShape::TPolygonShape(TComponent *owner, bool open)
    : TCustomTreeShape(owner), FPoints(std::make_unique<TPointCollection>(this)), FOpen(open)
{
    FollowVertices();
}

void TPolygonShape::SetPoints(const TPointCollection *value)
{
    if (value)
        FPoints->Assign(value);
    else
        FPoints->Clear();
}

void TPolygonShape::PointsChanged()
{
    Changed();
}

TRect TPolygonShape::VertexBounds() const
{
    const TPointArray points = FPoints->Positions();
    if (points.empty())
        return TRect();
    TRect r(points[0], points[0]);
    for (const TPoint &p : points) {
        r.Left = std::min(r.Left, p.X);
        r.Right = std::max(r.Right, p.X);
        r.Top = std::min(r.Top, p.Y);
        r.Bottom = std::max(r.Bottom, p.Y);
    }
    return r;
}

void TPolygonShape::FollowVertices()
{
    // The coordinates are kept right at once, so no reader ever sees them
    // apart from the vertices; the size is still reported stale, and
    // CalcSize confirms it.
    SetCalculatedBounds(VertexBounds());
    InvalidateSize();
}

void TPolygonShape::Changed()
{
    FollowVertices();
    TCustomTreeShape::Changed();
}

void TPolygonShape::Assign(const TPersistent *source)
{
    if (const auto *other = dynamic_cast<const TPolygonShape *>(source))
        FPoints->Assign(other->FPoints.get());
    TCustomTreeShape::Assign(source);
    FollowVertices();
}

void TPolygonShape::Loaded()
{
    TCustomTreeShape::Loaded();
    SetAutoSize(false);
    AutoPosition()->SetLeft(true);
    AutoPosition()->SetTop(true);
    FollowVertices();
}

void TPolygonShape::AddVertex(int x, int y)
{
    FPoints->Add(x, y);
}

void TPolygonShape::MoveLastVertex(int x, int y)
{
    if (TPointItem *last = FPoints->Items(FPoints->Count() - 1))
        last->SetPoint(TPoint(x, y));
}

void TPolygonShape::AddSampleVertices()
{
    if (FPoints->Count() > 0)
        return;
    static const TPoint sample[] = {{6, 4}, {21, 8}, {21, 14}, {18, 19}, {14, 14}, {9, 21}, {2, 10}};
    FPoints->BeginUpdate();
    for (const TPoint &p : sample)
        FPoints->Add(p.X, p.Y);
    FPoints->EndUpdate();
}

// ---- Outline and drawing

int TPolygonShape::GetShapePoints(const TRect &, TPointArray &points) const
{
    points = FPoints->Positions();
    return static_cast<int>(points.size());
}

bool TPolygonShape::DrawPolygon(TKorCanvas3D *canvas, int dx, int dy) const
{
    TPointArray points = FPoints->Positions();
    if (points.size() < 2)
        return false;
    for (TPoint &p : points)
        p = Shifted(p, dx, dy);
    if (FOpen) {
        canvas->ProjectedMoveTo(points[0].X, points[0].Y, 0);
        for (size_t i = 1; i < points.size(); ++i)
            canvas->ProjectedLineTo(points[i].X, points[i].Y, 0);
    } else if (points.size() == 2) {
        canvas->ProjectedLine(points[0].X, points[0].Y, points[1].X, points[1].Y, 0);
    } else {
        canvas->ProjectedPolygon(points, 0);
    }
    return true;
}

bool TPolygonShape::DrawOutline(const TRect &r, TKorCanvas3D *canvas, TTreeShapeStyle style)
{
    if (style != tssCustom)
        return TCustomTreeShape::DrawOutline(r, canvas, style);
    return canvas && DrawPolygon(canvas, 0, 0);
}

void TPolygonShape::DrawShadow(const TRect &r, TKorCanvas3D *canvas, TTreeShapeStyle style)
{
    if (style != tssCustom) {
        TCustomTreeShape::DrawShadow(r, canvas, style);
        return;
    }
    const TKorShadow *shadow = PeekShadow();
    if (!shadow || !shadow->HasSize())
        return;
    // A filled figure casts a filled shadow; a line (open, or two vertices)
    // has no fill, so its shadow is a line in the shadow colour.
    if (FOpen || PointCount() == 2) {
        canvas->Pen().SetStyle(psSolid);
        canvas->Pen().SetColor(shadow->Color());
        canvas->Pen().SetWidth(std::max(VisibleBorderWidth(), 1));
    } else {
        canvas->Pen().SetStyle(psClear);
        canvas->Brush().SetStyle(bsSolid);
        canvas->Brush().SetColor(shadow->Color());
    }
    DrawPolygon(canvas, shadow->HorizSize(), shadow->VertSize());
}

void TPolygonShape::CalcSize(TKorCanvas *)
{
    SetCalculatedBounds(VertexBounds());
}

// ---- Vertex editing

void TPolygonShape::DrawHandles()
{
    if (!FTree)
        return;
    for (int i = 0; i < FPoints->Count(); ++i) {
        const TPointItem *p = FPoints->Items(i);
        FTree->DrawHandle(p->X(), p->Y(), clNone, rcPoint);
    }
}

TTreeShapeHandle TPolygonShape::GetResizingCorner(int x, int y)
{
    const int64_t d = FTree ? FTree->Selected().HandleSize() : 3;
    for (int i = 0; i < FPoints->Count(); ++i) {
        const TPointItem *p = FPoints->Items(i);
        if (std::abs(int64_t(x) - p->X()) <= d && std::abs(int64_t(y) - p->Y()) <= d) {
            FSelectedPoint = i;
            return rcPoint;
        }
    }
    FSelectedPoint = -1;
    return rcNone;
}

int TPolygonShape::GetResizingCursor(int x, int y)
{
    return GetResizingCorner(x, y) == rcPoint ? crSizeAll : crDefault;
}

void TPolygonShape::Resize(TTreeShapeHandle corner, int dx, int dy)
{
    if (corner != rcPoint)
        return;
    TPointItem *p = FPoints->Items(FSelectedPoint);
    if (!p)
        return;
    // Like any resize, the diagram hears of it first and may change it.
    if (FTree)
        Fire(FTree->OnResizingShape, this, corner, dx, dy);
    if (dx == 0 && dy == 0)
        return;
    p->SetPoint(Shifted(p->Point(), dx, dy));
}

void TPolygonShape::ShiftOwnPoints(int dx, int dy)
{
    if (dx == 0 && dy == 0)
        return;
    FPoints->BeginUpdate();
    for (int i = 0; i < FPoints->Count(); ++i) {
        TPointItem *p = FPoints->Items(i);
        p->SetPoint(Shifted(p->Point(), dx, dy));
    }
    FPoints->EndUpdate();
}

// ---------------------------------------------------------------------------
// TPolyLineShape

const TClassInfo &TPolyLineShape::StaticClassInfo()
{
    static const TClassInfo info("TPolyLineShape", &TPolygonShape::StaticClassInfo());
    return info;
}

TPolyLineShape::TPolyLineShape(TComponent *owner) : TPolygonShape(owner, true) {}

bool TPolyLineShape::PointInShape(int x, int y) const
{
    if (Style() != tssCustom)
        return TPolygonShape::PointInShape(x, y);
    if (!Visible() || PointCount() < 2)
        return false;
    if (FTree && !RectsIntersect(PaintBounds(), FTree->VisibleArea()))
        return false;
    const TPoint pos = FTree ? FTree->UnprojectPoint(TPoint(x, y)) : TPoint(x, y);
    const TPointArray points = Points()->Positions();
    for (size_t k = 1; k < points.size(); ++k)
        if (ConnectionGeometry::NearSegment(pos, points[k - 1], points[k], ShapeGeometry::kLineTolerance))
            return true;
    return false;
}

// ---------------------------------------------------------------------------
// Interactive drawing

TPolygonShape *BeginPolygonDrawing(TTreeDocument &tree, const TClassInfo &shapeClass, int x, int y)
{
    if (!shapeClass.InheritsFrom(TPolygonShape::StaticClassInfo()))
        return nullptr;
    TTreeDefaultFormat &format = tree.DefaultFormat();
    struct TRestoreClass
    {
        TTreeDefaultFormat &Format;
        const TClassInfo *Saved;
        ~TRestoreClass() { Format.SetShapeClass(Saved); }
    } restore{format, format.ShapeClass()};
    format.SetShapeClass(&shapeClass);
    TTreeNodeShape *node = tree.AddShape(x, y, nullptr);
    auto *shape = dynamic_cast<TPolygonShape *>(node);
    if (!shape) {
        // A class registered under the same name that is no polygon.
        delete node;
        return nullptr;
    }
    shape->Points()->BeginUpdate();
    shape->AddVertex(x, y);
    shape->AddVertex(x, y);
    shape->Points()->EndUpdate();
    return shape;
}

TPolygonShape *EndPolygonDrawing(TPolygonShape *shape)
{
    if (!shape)
        return nullptr;
    if (TTreeDocument *tree = shape->Tree())
        tree->Selected().Clear();
    TPointCollection *points = shape->Points();
    points->Delete(points->Count() - 1);
    if (points->Count() < 2) {
        delete shape;
        return nullptr;
    }
    shape->SetSelected(true);
    return shape;
}
