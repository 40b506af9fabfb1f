#pragma once
// Shapes the user draws vertex by vertex: the closed polygon and the open
// poly-line, with their stored vertex list, vertex editing and the model
// side of drawing one interactively.

#include "core/Collection.h"
#include "model/CustomTreeShape.h"

class TPolygonShape;

// One vertex, in diagram coordinates (the space of a node's X0 and Y0).
class TPointItem : public TCollectionItem
{
    DX_OBJECT(TPointItem)
public:
    TPointItem() = default;

    int X() const { return FX; }
    void SetX(int value);
    int Y() const { return FY; }
    void SetY(int value);
    TPoint Point() const { return TPoint(FX, FY); }
    // Both coordinates, reported as one change.
    void SetPoint(const TPoint &p);

    void Assign(const TPersistent *source) override;

private:
    int FX = 0;
    int FY = 0;
};

// The vertices of a polygon shape, in drawing order. Any change of the list
// or of a vertex marks the shape's bounds stale and repaints it.
class TPointCollection : public TCollection
{
    DX_OBJECT(TPointCollection)
public:
    explicit TPointCollection(TPolygonShape *owner = nullptr);

    TPolygonShape *Owner() const { return FOwner; }
    TPointItem *Items(int index) const { return static_cast<TPointItem *>(TCollection::Items(index)); }
    TPointItem *operator[](int index) const { return Items(index); }
    TPointItem *Add(int x, int y);
    TPointArray Positions() const;

private:
    TPolygonShape *FOwner;
};

// A closed polygon through stored vertices. The vertices are absolute: the
// outline does not follow the node's bounds, the bounds follow the
// vertices: setting X0 .. Y1 changes nothing, and the size is stale
// (SizeValid false until CalcSize) after creation, loading, any change and
// any move. A polygon is reshaped through its vertex handles only (handle
// code rcPoint).
class TPolygonShape : public TCustomTreeShape
{
    DX_OBJECT(TPolygonShape)
public:
    explicit TPolygonShape(TComponent *owner = nullptr);

    TPointCollection *Points() { return FPoints.get(); }
    const TPointCollection *Points() const { return FPoints.get(); }
    TPointCollection *PeekPoints() const { return FPoints.get(); }
    // Copies every vertex.
    void SetPoints(const TPointCollection *value);
    int PointCount() const { return FPoints->Count(); }
    // True for a poly-line: no fill, not closed.
    bool IsOpen() const { return FOpen; }
    // The vertex whose handle GetResizingCorner found last; -1 for none.
    int SelectedPoint() const { return FSelectedPoint; }

    // Draws the figure with the canvas's current pen and brush, every
    // vertex moved by (dx, dy): nothing without vertices or with one; a line
    // strip when open; a line with exactly two; else a filled polygon.
    // Answers whether anything was drawn.
    bool DrawPolygon(TKorCanvas3D *canvas, int dx, int dy) const;

    // Drawing the interactively built figure: AddVertex appends a vertex,
    // MoveLastVertex moves the last one (the vertex following the mouse).
    void AddVertex(int x, int y);
    void MoveLastVertex(int x, int y);
    // The sample outline of a palette button, for a shape without vertices.
    void AddSampleVertices();

    // ---- Node overrides
    // Copies Points, then everything a node copies.
    void Assign(const TPersistent *source) override;
    // Any change leaves the bounds to be recomputed from the vertices.
    void Changed() override;
    // After reading: AutoSize off, both coordinates automatic, bounds stale.
    void Loaded() override;
    // tssCustom: the polygon routine at the diagram's drawing place.
    bool DrawOutline(const TRect &r, TKorCanvas3D *canvas, TTreeShapeStyle style) override;
    // tssCustom: the vertices shifted by the shadow's sizes, in its colour.
    void DrawShadow(const TRect &r, TKorCanvas3D *canvas, TTreeShapeStyle style) override;
    // The stored vertices, whatever the rectangle.
    int GetShapePoints(const TRect &r, TPointArray &points) const override;
    // Bounds of the vertices; (0, 0, 0, 0) without any.
    void CalcSize(TKorCanvas *canvas) override;
    // One rcPoint handle at every vertex.
    void DrawHandles() override;
    // The first vertex within the handle size in both axes: remembered,
    // answering rcPoint; else rcNone.
    TTreeShapeHandle GetResizingCorner(int x, int y) override;
    int GetResizingCursor(int x, int y) override;
    // rcPoint moves the remembered vertex (after OnResizingShape); other
    // handles do nothing.
    void Resize(TTreeShapeHandle corner, int dx, int dy) override;

protected:
    TPolygonShape(TComponent *owner, bool open);
    void ShiftOwnPoints(int dx, int dy) override;
    // The vertices decide where it stands, not the automatic layout.
    bool PlacedByOwnPoints() const override { return true; }

private:
    friend class TPointCollection;
    void PointsChanged();
    TRect VertexBounds() const;
    // X0, Y0, X1, Y1 from the vertices, the size left stale.
    void FollowVertices();

    std::unique_ptr<TPointCollection> FPoints;
    int FSelectedPoint = -1;
    bool FOpen;
};

// An open line through stored vertices, hit within the line tolerance of
// one of its segments.
class TPolyLineShape : public TPolygonShape
{
    DX_OBJECT(TPolyLineShape)
public:
    explicit TPolyLineShape(TComponent *owner = nullptr);

    // Screen position. tssCustom: a visible line of two vertices or more
    // that meets the visible area is hit within the line tolerance of one
    // of its segments.
    bool PointInShape(int x, int y) const override;
};

// The model side of drawing a polygon interactively. Begin creates a root
// of a polygon class (null for any other class) with two vertices at the
// press, the second one following the mouse (TPolygonShape::AddVertex,
// MoveLastVertex). End clears the selection, drops the following vertex and
// leaves the bounds stale; a figure left with two vertices or more becomes
// the selection and is answered, one with fewer is freed and null is
// answered.
TPolygonShape *BeginPolygonDrawing(TTreeDocument &tree, const TClassInfo &shapeClass, int x, int y);
TPolygonShape *EndPolygonDrawing(TPolygonShape *shape);
