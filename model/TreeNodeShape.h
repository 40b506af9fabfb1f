#pragma once
// The node shape: its data, its place in the hierarchy and the operations
// that build and change the hierarchy, move and resize it; and the
// transparent text-only node.

#include "canvas/ChartPen.h"
#include "canvas/KorGradient.h"
#include "canvas/KorShadow.h"
#include "core/Events.h"
#include "model/TreeElement.h"
#include "model/TreeLists.h"
#include "model/TreeShapeParts.h"

#include <QSize>
#include <functional>
#include <optional>
#include <vector>

class TKorCanvas;
class TKorCanvas3D;
class TNodeConnectionList;

// Where a node keeps its slot in the diagram's selection list.
struct TSelectionSlot
{
    static int Get(const TTreeNodeShape *node);
    static void Set(TTreeNodeShape *node, int slot);
};

using TClickShapeEvent = TEvent<TTreeNodeShape *, TMouseButton, TShiftState, int, int>;
using TMouseShapeEvent = TEvent<TTreeNodeShape *, TShiftState, int, int>;

// A node's own mouse events; allocated when the first one is bound.
struct TNodeShapeEvents
{
    TClickShapeEvent OnClick;
    TClickShapeEvent OnDblClick;
    TMouseShapeEvent OnMouseEnter;
    TMouseShapeEvent OnMouseLeave;
    TMouseShapeEvent OnMouseMove;
};

class TTreeNodeShape : public TCustomTreeElement
{
    DX_OBJECT(TTreeNodeShape)
public:
    explicit TTreeNodeShape(TComponent *owner = nullptr);
    // Unless the diagram is being cleared: the node leaves the diagram's
    // lists, frees its subtree and every connection that starts or ends in
    // it, and leaves its parent.
    ~TTreeNodeShape() override;

    // ---- Element overrides
    // Clears SizeValid of an auto-sized node, then repaints.
    void Changed() override;
    // Moves the node between diagrams' lists (not its children or
    // connections: see SetTreeRecursive).
    void SetTree(TTreeDocument *tree) override;
    void SetTreeRecursive(TTreeDocument *tree);
    void Assign(const TPersistent *source) override;
    // Copies the appearance of another node (no position, no hierarchy).
    void AssignFormat(const TTreeNodeShape *source);
    // Files: a node of fixed size whose position is automatic stores its
    // width as "X1" and its height as "Y1", the right and bottom edges it
    // has at the origin where reading puts it, so it keeps its size.
    void DefineProperties(TFiler &filer) override;
    // A node of the same registered class as its constructor leaves it, so
    // that a gallery shape's white border or bold font put back to the
    // plain defaults is stored too.
    const TPersistent *ConstructedLike() const override;
    void AttachToParent(TComponent *parent) override;

    // ---- Published properties
    // Own sub-objects: the plain form creates on first use, Peek never does.
    TTreeShapeAutoPosition *AutoPosition();
    TTreeShapeAutoPosition *PeekAutoPosition() const;
    void SetAutoPosition(const TTreeShapeAutoPosition *value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    TColor BackColor() const { return FBackColor; }
    void SetBackColor(TColor value);
    TChartPen *Border();
    TChartPen *PeekBorder() const;
    void SetBorder(const TChartPen *value);
    TTreeShapeBrush *Brush();
    TTreeShapeBrush *PeekBrush() const;
    void SetBrush(const TChartBrush *value);
    // The own brush's colour, white without an own brush; setting creates
    // the brush.
    TColor Color() const;
    void SetColor(TColor value);
    TKorGradient *Gradient();
    TKorGradient *PeekGradient() const;
    void SetGradient(const TKorGradient *value);
    bool GradientClip() const { return FGradientClip; }
    void SetGradientClip(bool value);
    TTreePicture *Image();
    TTreePicture *PeekImage() const;
    // Copies a picture into the own one (ImageListIndex becomes -1); null
    // frees the own picture.
    void SetImage(const TPicture *value);
    TTreeImageAlignment ImageAlignment() const { return FImageAlignment; }
    void SetImageAlignment(TTreeImageAlignment value);
    int ImageHeight() const { return FImageHeight; }
    void SetImageHeight(int value);
    int ImageWidth() const { return FImageWidth; }
    void SetImageWidth(int value);
    TKorShadow *Shadow();
    TKorShadow *PeekShadow() const;
    void SetShadow(const TKorShadow *value);
    TTreeShapeStyle Style() const { return FStyle; }
    void SetStyle(TTreeShapeStyle value);
    uint8_t Transparency() const { return FTransparency; }
    void SetTransparency(uint8_t value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    // Coordinates. Setting X0 (Y0) keeps the width (height) and fixes the
    // coordinate against automatic layout, even when it does not change.
    // Reading X1 or Y1 brings the automatic size up to date first.
    // Every edge stays within the coordinate range (kCoordLimit), and X1
    // (Y1) at most kCoordLimit from X0 (Y0), so a stored width reads back
    // the same: values beyond are clamped, the layout's and the automatic
    // size's included.
    int X0() const { return FX0; }
    void SetX0(int value);
    int Y0() const { return FY0; }
    void SetY0(int value);
    int X1() const;
    void SetX1(int value);
    int Y1() const;
    void SetY1(int value);
    // The four edges as they are (Left X0, Top Y0, Right X1, Bottom Y1,
    // the far edges as last computed), and putting them back as they were
    // without fixing anything against automatic layout: a file stores a
    // coordinate only once it is fixed, so taking an edit back needs them.
    TRect Edges() const { return TRect(FX0, FY0, FX1, FY1); }
    void RestoreEdges(const TRect &edges);
    bool Expanded() const { return FExpanded; }
    // Expands or collapses; answers how many nodes changed visibility.
    int SetExpanded(bool value);
    TTreeNodeImageIndex ImageIndex() const { return FImageIndex; }
    void SetImageIndex(TTreeNodeImageIndex value);
    int ImageListIndex() const { return FImageListIndex; }
    void SetImageListIndex(int value);
    TTreeNodeShape *Parent() const { return FParent; }
    // Re-parents; ignored for the node itself, its current parent and any
    // of its descendants.
    void SetParent(TTreeNodeShape *parent);
    TTreeNodeShapeShowCross ShowCross() const { return FShowCross; }
    void SetShowCross(TTreeNodeShapeShowCross value);

    // The node's own mouse events (allocated on first use).
    TNodeShapeEvents &Events();
    const TNodeShapeEvents *PeekEvents() const { return FEvents.get(); }

    // ---- Effective drawing objects (never create anything)
    const TChartPen *EffectiveBorder() const;
    const TChartBrush *EffectiveBrush() const;
    // Width of the border pen when it is visible, else 0.
    int VisibleBorderWidth() const;
    // The font text is measured and drawn with: the effective font, with a
    // selected node's text colour, and for a hot node the hot-track font or
    // its own underlined. `changed` keeps a changed copy when one is needed.
    const TKorFont *DrawingFont(std::optional<TKorFont> &changed) const;

    // ---- Layout state
    const TRect &Bounds() const { return FBounds; }
    void SetBounds(const TRect &r) { FBounds = r; }
    const TRect &ImageBounds() const { return FImageBounds; }
    void SetImageBounds(const TRect &r) { FImageBounds = r; }
    // Bounds := the body, then, when the diagram shows images and the node
    // has one, the image goes beside the body by ImageAlignment, widening
    // Bounds and setting ImageBounds (TreeLayout.cpp).
    void PlaceImage();
    // Cached size of the node's current image.
    QSize ImageSize() const { return QSize(FImageSizeW, FImageSizeH); }
    bool SizeValid() const { return FSizeValid; }
    void InvalidateSize() { FSizeValid = false; }
    bool Hot() const { return FHot; }
    // A hot node may be measured with another font.
    void SetHot(bool value);
    bool Selected() const { return FSelected; }

    // ---- Hierarchy
    const TNodeShapeList &Children() const;
    int ChildCount() const { return FChildren ? FChildren->Count() : 0; }
    TTreeNodeShape *Child(int index) const { return FChildren ? FChildren->Items(index) : nullptr; }
    bool HasChildren() const { return ChildCount() > 0; }
    int BrotherIndex() const { return FBrotherIndex; }
    int Level() const;
    TTreeNodeShape *RootOf();
    TTreeNodeShape *PreviousBrother() const;
    // True when `node` lies in this node's subtree below it.
    bool IsAncestorOf(const TTreeNodeShape *node) const;
    TTreeNodeShape *AddChild(const QString &text = QString());
    // A new child of the parent; none (nothing created) for a root.
    TTreeNodeShape *AddBrother(const QString &text = QString());
    void SelectChildren();
    // Moves the node to the end (start) of its siblings and of the diagram's
    // node list; every sibling's BrotherIndex stays equal to its position.
    void BringToFront();
    void SendToBack();

    // ---- Connections
    // The connections that start here, created on first use.
    TNodeConnectionList &Connections();
    TNodeConnectionList *PeekConnections() const { return FConnections.get(); }
    int ConnectionCount() const;
    // The node's connection to `target`, or null.
    TTreeConnection *ConnectionTo(const TTreeNodeShape *target) const;
    // The existing connection to `target`, else a new one when the diagram's
    // OnAddingConnection allows it (null when refused).
    TTreeConnection *AddConnection(TTreeNodeShape *target);
    // A new connection to `target` without asking.
    TTreeConnection *CreateConnection(TTreeNodeShape *target);
    // The nodes from which connections end here (one entry per connection).
    std::vector<TTreeNodeShape *> Parents() const;
    // The connections that end here, in the order they arrived.
    std::vector<TTreeConnection *> IncomingConnections() const;

    // ---- Geometry
    int Width() const { return X1() - FX0; }
    void SetWidth(int value) { SetX1(ClampCoord(static_cast<long long>(FX0) + value)); }
    int Height() const { return Y1() - FY0; }
    void SetHeight(int value) { SetY1(ClampCoord(static_cast<long long>(FY0) + value)); }
    // Centre plus the diagram's drawing offset.
    int XCenter() const;
    int YCenter() const;
    // The node's rectangle as connections see it: the left edge moved out
    // and the bottom moved down by half the visible border width.
    TRect ConnectionRect() const;
    // A move asked for by the user: OnMovingShape may change or cancel it; a
    // non-zero delta fixes that coordinate. Answers the movement made.
    TPoint UserMove(int dx, int dy, bool moveChildren);

    // ---- Image
    // The picture drawn for the node: a diagram image-list picture, the own
    // picture or a pool picture (see ImageIndex); null when there is none.
    const TPicture *NodePicture();

    // True when the node shows an expand/collapse box: always, or
    // automatically while it has children.
    bool HasCross() const;

    // ---- Drawing
    // Everything is drawn on a canvas in diagram coordinates plus the
    // diagram's drawing offset, which the canvas projects (depth 0).
    // The drawing rectangle: the body moved by the drawing offset.
    TRect DrawRect() const;
    // What the node may paint on: Bounds (body and image) and the body's
    // outline, moved by the drawing offset. Culling and hit tests skip a
    // node whose paint bounds miss the visible area.
    TRect PaintBounds() const;
    // The points GetShapePoints gives for a rectangle, as many as it counts.
    TPointArray OutlinePoints(const TRect &r) const;
    // The node (when it meets the visible area), its outgoing connections,
    // its cross box, then its expanded children; False when a connection
    // or a child answered False (the rest lies below the visible area).
    bool DrawNodeWalk();
    // Hit test of the node's cross box at a screen position.
    bool PointInCross(int x, int y);
    // The resize handles of a selected node in design mode, through the
    // diagram's DrawHandle.
    void DrawHandles() override;

    // ---- Virtual operations
    // The outline of a style on a rectangle with the canvas's current pen and
    // brush (body, shadow and selection frame all go through it); answers
    // whether anything was drawn. Shapes that draw their own outline (polygons
    // with stored vertices) override it for tssCustom.
    virtual bool DrawOutline(const TRect &r, TKorCanvas3D *canvas, TTreeShapeStyle style);
    // The outline of a style on a rectangle moved by the shadow's sizes.
    virtual void DrawShadow(const TRect &r, TKorCanvas3D *canvas, TTreeShapeStyle style);
    // The body: shadow, fill or gradient, outline, centred image, blended
    // with what lies beneath by Transparency.
    virtual void DrawShape(TKorCanvas3D *canvas, const TRect &r);
    // The text lines laid out in a rectangle.
    virtual void DrawText(TKorCanvas3D *canvas, const TRect &r);
    // The outline polygon of the node for a rectangle (for tssCircle the
    // ellipse's bounding box as two points); answers the point count, 0 when
    // it has none.
    virtual int GetShapePoints(const TRect &r, TPointArray &points) const;
    virtual void SetSelected(bool value);
    // Hit test at a screen position: a visible node meeting the visible area
    // whose drawn figure (or image) holds the point.
    virtual bool PointInShape(int x, int y) const;
    // Image, body, text and selection marks on the diagram's canvas.
    virtual void Draw();
    // Computes the automatic size with a canvas's measurements.
    virtual void CalcSize(TKorCanvas *canvas);

    // ---- Dynamic hooks
    virtual void ShapeMouseDown(TMouseButton button, TShiftState shift, int x, int y) {}
    virtual void AllowResize(TTreeShapeHandle corner, int x, int y, bool &allow) {}
    // Where a connection towards the rectangle `other` meets this node.
    virtual TPoint CalcConnectionPoint(const TRect &other) const;
    virtual TTreeNodeShape *GetEditShape() { return this; }
    virtual int GetResizingCursor(int x, int y);
    virtual TTreeShapeHandle GetResizingCorner(int x, int y);
    virtual void MoveRelative(int dx, int dy, bool moveChildren);
    virtual void Resize(TTreeShapeHandle corner, int dx, int dy);

protected:
    // Stores bounds that a CalcSize override computed and marks them valid;
    // AutoSize and the automatic-position flags stay as they are.
    void SetCalculatedBounds(const TRect &r);
    // MoveRelative calls it for every node it shifts (this one and, when
    // asked, each descendant) after the node's bounds moved: a shape with
    // points of its own in diagram coordinates shifts them too.
    virtual void ShiftOwnPoints(int dx, int dy) {}
    // True for a shape placed by points of its own: the automatic layout
    // leaves its coordinates alone.
    virtual bool PlacedByOwnPoints() const { return false; }
    // A new own border pen (of the class whose defaults the file knows).
    virtual std::unique_ptr<TChartPen> NewBorder() const { return std::make_unique<TChartPen>(); }
    void SetImageSize(int w, int h)
    {
        FImageSizeW = ClampCoord(w);
        FImageSizeH = ClampCoord(h);
    }
    // Recomputes the cached image size from the current picture.
    void RecalcImageSize();

private:
    friend class TTreeDocument;
    friend class TTreeConnection;
    friend class TDiagramLoad;
    friend struct TSelectionSlot;

    // Own sub-objects, allocated together when the first one is created.
    struct TParts
    {
        std::unique_ptr<TChartPen> Border;
        std::unique_ptr<TTreeShapeBrush> Brush;
        std::unique_ptr<TKorGradient> Gradient;
        std::unique_ptr<TKorShadow> Shadow;
        std::unique_ptr<TTreePicture> Image;
        std::unique_ptr<TTreeShapeAutoPosition> AutoPosition;
    };
    TParts &Parts();
    // The far edge (X1, Y1) for a near edge (X0, Y0): `to` brought into
    // the coordinate range and within kCoordLimit of `from`.
    static int FarEdge(int from, long long to);
    // Moves a near edge to `to` (clamped) and its far edge along with it.
    static void MoveEdges(int &near, int &far, long long to);
    void OwnPictureChanged();
    // Leaves the parent: later siblings move up and every connection of the
    // parent that ends at `child` is freed.
    void RemoveChild(TTreeNodeShape *child);
    void AppendChild(TTreeNodeShape *child);
    void RenumberChildren(int from);
    TNodeShapeList &ChildList();
    void AddIncoming(TTreeConnection *c);
    void RemoveIncoming(TTreeConnection *c);
    void FreeSubtreeAndLinks();

    TRect FBounds;
    TRect FImageBounds;
    int FX0 = 0;
    int FY0 = 0;
    mutable int FX1 = 0;
    mutable int FY1 = 0;
    int FBrotherIndex = -1;
    int FSelectedSlot = -1;
    int FImageListIndex = -1;
    int FImageWidth = 0;
    int FImageHeight = 0;
    int FImageSizeW = 15;
    int FImageSizeH = 13;
    TColor FBackColor = clNone;
    TTreeNodeShape *FParent = nullptr;
    std::unique_ptr<TNodeShapeList> FChildren;
    std::unique_ptr<TNodeConnectionList> FConnections;
    // Connections ending here: one held directly, more in the list.
    TTreeConnection *FIncomingOne = nullptr;
    std::unique_ptr<std::vector<TTreeConnection *>> FIncomingMore;
    std::unique_ptr<TParts> FParts;
    std::unique_ptr<TNodeShapeEvents> FEvents;
    TTreeShapeStyle FStyle = tssRectangle;
    TTreeImageAlignment FImageAlignment = iaAutomatic;
    TTreeNodeImageIndex FImageIndex = tiFolderOpenClose;
    TTreeNodeShapeShowCross FShowCross = scAuto;
    uint8_t FTransparency = 0;
    bool FAutoSize = true;
    bool FGradientClip = true;
    bool FTransparent = false;
    bool FVisible = true;
    bool FExpanded = false;
    bool FHot = false;
    mutable bool FSizeValid = false;
    bool FSelected = false;
    bool FRefreshingPicture = false;
};

inline int TSelectionSlot::Get(const TTreeNodeShape *node)
{
    return node->FSelectedSlot;
}

inline void TSelectionSlot::Set(TTreeNodeShape *node, int slot)
{
    node->FSelectedSlot = slot;
}

// A node for free text: no border, transparent, no image.
class TTextShape : public TTreeNodeShape
{
    DX_OBJECT(TTextShape)
public:
    explicit TTextShape(TComponent *owner = nullptr);

protected:
    // A pen that is invisible by default, so a file stores a visible one.
    std::unique_ptr<TChartPen> NewBorder() const override;
};
