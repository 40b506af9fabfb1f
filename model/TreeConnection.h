#pragma once
// Connections between nodes: their points, arrows, pens and the lists that
// hold them.

#include "canvas/ChartBrush.h"
#include "canvas/ChartPen.h"
#include "model/ConnectionGeometry.h"
#include "model/TreeElement.h"
#include "model/TreeLists.h"

#include <algorithm>
#include <memory>
#include <vector>

class TKorCanvas3D;

// The pen of connections: grey small dots.
class TTreeConnectionPen : public TChartPen
{
    DX_OBJECT(TTreeConnectionPen)
public:
    TTreeConnectionPen();
};

// The frame of a selected node: yellow small dots.
class TTreeSelectedPen : public TChartPen
{
    DX_OBJECT(TTreeSelectedPen)
public:
    TTreeSelectedPen();
};

// A pen that starts invisible.
class TTreeHiddenPen : public TChartPen
{
    DX_OBJECT(TTreeHiddenPen)
public:
    TTreeHiddenPen();
};

// The fill of an arrow head: black unless told otherwise.
class TConnectionArrowBrush : public TChartBrush
{
    DX_OBJECT(TConnectionArrowBrush)
public:
    TConnectionArrowBrush() { FColor = clBlack; }
};

// An arrow head at one end of a connection.
class TConnectionArrow : public TPersistent
{
    DX_OBJECT(TConnectionArrow)
public:
    explicit TConnectionArrow(TTreeConnection *connection = nullptr, TConnectionArrowStyle style = casNone);
    ~TConnectionArrow() override;

    TTreeConnection *Connection() const { return FConnection; }

    TColor BackColor() const { return FBackColor; }
    void SetBackColor(TColor value);
    TChartPen *Border();
    TChartPen *PeekBorder() const { return FBorder.get(); }
    void SetBorder(const TChartPen *value);
    TConnectionArrowBrush *Brush();
    TConnectionArrowBrush *PeekBrush() const { return FBrush.get(); }
    void SetBrush(const TChartBrush *value);
    int Size() const { return FSize; }
    void SetSize(int value);
    TConnectionArrowStyle Style() const { return FStyle; }
    void SetStyle(TConnectionArrowStyle value);

    // The pen and brush to draw with; never create anything.
    const TChartPen *EffectiveBorder() const;
    const TChartBrush *EffectiveBrush() const;

    // Copies BackColor, Border, Brush, Size and Style.
    void Assign(const TPersistent *source) override;

    // Draws the head at a diagram point in a direction (degrees, 0 right,
    // 90 down), its size in screen pixels; nothing when its square does not
    // meet the visible area.
    void Draw(TKorCanvas3D *canvas, const TPoint &at, double angle, const TRect &visible) const;

private:
    void Changed();

    TTreeConnection *FConnection;
    std::unique_ptr<TChartPen> FBorder;
    std::unique_ptr<TConnectionArrowBrush> FBrush;
    TColor FBackColor = clNone;
    int FSize = 4;
    TConnectionArrowStyle FStyle;
};

class TConnectionArrowFrom : public TConnectionArrow
{
    DX_OBJECT(TConnectionArrowFrom)
public:
    explicit TConnectionArrowFrom(TTreeConnection *connection = nullptr) : TConnectionArrow(connection, casNone) {}
};

class TConnectionArrowTo : public TConnectionArrow
{
    DX_OBJECT(TConnectionArrowTo)
public:
    explicit TConnectionArrowTo(TTreeConnection *connection = nullptr) : TConnectionArrow(connection, casSolid) {}
};

// One point of a connection's course.
struct TConnectionPoint
{
    TConnectionPointKind XStyle = cpAbsolute;
    TConnectionPointKind YStyle = cpAbsolute;
    int XValue = 0;
    int YValue = 0;
    int X = 0;
    int Y = 0;

    bool operator==(const TConnectionPoint &p) const
    {
        return XStyle == p.XStyle && YStyle == p.YStyle && XValue == p.XValue && YValue == p.YValue && X == p.X &&
               Y == p.Y;
    }
};

// The points of a connection.
class TConnectionPoints
{
public:
    int Count() const { return static_cast<int>(FPoints.size()); }
    bool IsValid(int index) const { return index >= 0 && index < Count(); }
    TConnectionPoint &operator[](int index) { return FPoints[static_cast<size_t>(index)]; }
    const TConnectionPoint &operator[](int index) const { return FPoints[static_cast<size_t>(index)]; }
    int Add(const TConnectionPoint &p)
    {
        FPoints.push_back(p);
        return Count() - 1;
    }
    // Moves the point at `from` to `to`, shifting those between.
    void Move(int from, int to);
    void Delete(int index)
    {
        if (IsValid(index))
            FPoints.erase(FPoints.begin() + index);
    }
    void Clear() { FPoints.clear(); }
    const std::vector<TConnectionPoint> &Items() const { return FPoints; }
    void SetItems(std::vector<TConnectionPoint> points) { FPoints = std::move(points); }
    // The computed positions.
    TPointArray Positions() const;

private:
    std::vector<TConnectionPoint> FPoints;
};

class TTreeConnection : public TCustomTreeElement
{
    DX_OBJECT(TTreeConnection)
public:
    explicit TTreeConnection(TComponent *owner = nullptr);
    // Unless the diagram is being cleared: the connection leaves its start
    // node's list, its end node's incoming links and the diagram's list.
    ~TTreeConnection() override;

    void SetTree(TTreeDocument *tree) override;
    // Copies the arrows, the pen and the style, then the element's fields;
    // the points are not copied.
    void Assign(const TPersistent *source) override;
    // Files: the points as "Points", a list of six integers per point
    // (XStyle, YStyle, XValue, YValue, X, Y), when StorePoints says so.
    void DefineProperties(TFiler &filer) override;

    // ---- Published properties
    TConnectionArrowFrom *ArrowFrom();
    TConnectionArrowFrom *PeekArrowFrom() const { return FArrowFrom.get(); }
    void SetArrowFrom(const TConnectionArrow *value);
    TConnectionArrowTo *ArrowTo();
    TConnectionArrowTo *PeekArrowTo() const { return FArrowTo.get(); }
    void SetArrowTo(const TConnectionArrow *value);
    TTreeConnectionPen *Border();
    TTreeConnectionPen *PeekBorder() const { return FBorder.get(); }
    void SetBorder(const TChartPen *value);
    TTreeConnectionStyle Style() const { return FStyle; }
    // Switching between csAuto and another style discards the points.
    void SetStyle(TTreeConnectionStyle value);
    TTreeNodeShape *FromShape() const { return FFromShape; }
    void SetFromShape(TTreeNodeShape *node);
    TTreeNodeShape *ToShape() const { return FToShape; }
    void SetToShape(TTreeNodeShape *node);

    // The arrows and pen to draw with: the own ones, else the diagram's
    // template connection's, else plain defaults. Never create anything.
    const TConnectionArrow *EffectiveArrowFrom() const;
    const TConnectionArrow *EffectiveArrowTo() const;
    const TChartPen *EffectiveBorder() const;

    // ---- Points
    TConnectionPoints &Points() { return FPoints; }
    const TConnectionPoints &Points() const { return FPoints; }
    int Count() const { return FPoints.Count(); }
    // Appends an absolute point; answers its index.
    int AddPoint(int x, int y);
    // Appends an absolute point and moves it to `index`.
    void InsertPoint(int index, int x, int y);
    void DeletePoint(int index);
    // Shifts a point; an edge or percentage coordinate becomes an offset
    // from its node first.
    void MovePoint(int index, int dx, int dy);
    // Changes a coordinate's kind keeping the point where it is.
    void SetPointXStyle(int index, TConnectionPointKind kind);
    void SetPointYStyle(int index, TConnectionPointKind kind);
    // The first point within the selection handle size of a screen
    // position; -1 when none.
    int PointAt(int x, int y) const;
    // The points a connection of the current style is drawn with when it
    // has too few: two edge points, four for a curve.
    void SetDefaultPoints();
    // Computes every point's position from the end nodes.
    void CalcPoints();
    // Whether the file stores the points: not for csAuto, fewer than two
    // points or a straight line between the two default edge points.
    bool StorePoints() const;
    // Turns a csAuto connection into a csLine one keeping its last course.
    void ConvertToLine();

    // ---- Drawing and hit testing
    // Both end nodes exist and are visible.
    bool EndsVisible() const;
    // Whether the node walk draws this connection now.
    bool ShouldDraw() const;
    // Lays out the course (default points, positions) and answers what to
    // draw; Lines is empty when nothing of it is visible.
    TConnectionFigure Figure();
    // Draws the connection; False tells the node walk to stop (the layout
    // object's answer for csAuto).
    virtual bool Draw();
    // Puts the connection's pen on a canvas: the own or the template's, the
    // grey small-dotted one as the shared dotted line.
    void AssignDrawingPen(TKorCanvas3D *canvas) const;
    // Draws the text lines at the last segment, turned by `angle` degrees.
    void DrawText(TKorCanvas3D *canvas, int angle) const;
    // Where the first text line goes, from the last two points.
    TPoint TextOrigin() const;
    // The segment hit by a screen position (0 inside a curve), or -1.
    int ClickedSegment(int x, int y) const;
    // The handles of the points of a selected connection.
    void DrawHandles() override;

private:
    friend class TTreeDocument;
    friend class TTreeNodeShape;

    // One point's X (an edge sets its Y too), and its Y.
    void CalcX(int index);
    void CalcY(int index);
    // A coordinate of point `index` from its kind and value, and the value
    // that keeps a coordinate where it is under a kind.
    int Coordinate(TConnectionPointKind kind, int value, int index, bool horizontal) const;
    int CoordinateValue(TConnectionPointKind kind, int pos, int index, bool horizontal) const;
    TRect ShapeRect(const TTreeNodeShape *node) const;
    TRect VisibleArea() const;
    void Unlink();

    std::unique_ptr<TConnectionArrowFrom> FArrowFrom;
    std::unique_ptr<TConnectionArrowTo> FArrowTo;
    std::unique_ptr<TTreeConnectionPen> FBorder;
    TTreeNodeShape *FFromShape = nullptr;
    TTreeNodeShape *FToShape = nullptr;
    TConnectionPoints FPoints;
    TTreeConnectionStyle FStyle = csAuto;
};

// The connections that start at one node, in creation order.
class TNodeConnectionList
{
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    bool IsEmpty() const { return FItems.empty(); }
    TTreeConnection *Items(int index) const
    {
        return index >= 0 && index < Count() ? FItems[static_cast<size_t>(index)] : nullptr;
    }
    TTreeConnection *operator[](int index) const { return Items(index); }
    TTreeConnection *First() const { return Items(0); }
    int IndexOf(const TTreeConnection *c) const;
    bool Contains(const TTreeConnection *c) const { return IndexOf(c) >= 0; }
    void Add(TTreeConnection *c) { FItems.push_back(c); }
    // Puts a connection in at a position (clamped to the list).
    void Insert(int index, TTreeConnection *c)
    {
        index = std::clamp(index, 0, Count());
        FItems.insert(FItems.begin() + index, c);
    }
    void Remove(const TTreeConnection *c);
    // False hides these connections.
    bool Visible() const { return FVisible; }
    void SetVisible(bool value) { FVisible = value; }

    std::vector<TTreeConnection *>::const_iterator begin() const { return FItems.cbegin(); }
    std::vector<TTreeConnection *>::const_iterator end() const { return FItems.cend(); }

private:
    std::vector<TTreeConnection *> FItems;
    bool FVisible = true;
};

// Every connection of a diagram, with the selected one and an optional
// approval of deletions.
class TTreeConnectionList : public TElementList<TTreeConnection>
{
public:
    explicit TTreeConnectionList(TTreeDocument *tree) : FTree(tree) {}

    TTreeDocument *Tree() const { return FTree; }
    // False hides all connections (drawing and hit tests).
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    // The selected connection (at most one).
    TTreeConnection *Selected() const { return FSelected; }
    void SetSelected(TTreeConnection *c);
    // Asked before Delete frees a connection.
    TEvent<TTreeConnection *, bool &> OnDeleting;
    // Frees a connection of the list when OnDeleting allows it; answers
    // whether it was freed.
    bool Delete(TTreeConnection *c);
    // The first connection hit at a screen position, or null.
    TTreeConnection *ConnectionAt(int x, int y) const;

private:
    friend class TTreeDocument;

    TTreeDocument *FTree;
    TTreeConnection *FSelected = nullptr;
    bool FVisible = true;
};
