#pragma once
// The document side of a diagram: its nodes, roots and connections, the
// selection, the default format of new elements, the switches and events of
// the model, and the operations that create, clone and clear elements.
//
// The visible diagram control derives from this class (after its panel
// base); what depends on the view (repainting, the canvas, the drawing
// offset, projection, scrolling, in-place editing) is a virtual hook here
// with a default that serves a diagram without a window.

#include "canvas/ChartPen.h"
#include "canvas/KorCanvas3D.h"
#include "canvas/KorFont.h"
#include "core/Component.h"
#include "core/Events.h"
#include "model/ChildManager.h"
#include "model/TreeChanges.h"
#include "model/TreeConnection.h"
#include "model/TreeCrossBox.h"
#include "model/TreeHotTrack.h"
#include "model/TreeImageList.h"
#include "model/TreeLists.h"
#include "model/TreeNodeShape.h"
#include "model/TreeSelectionLook.h"

#include <QStringList>
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

class TDiagramLoad;

// The nodes of a diagram in creation (and z-) order.
class TTreeShapeList : public TElementList<TTreeNodeShape>
{
public:
    explicit TTreeShapeList(TTreeDocument *tree) : FTree(tree) {}
    TTreeDocument *Tree() const { return FTree; }
    // False hides every node's body.
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);

private:
    TTreeDocument *FTree;
    bool FVisible = true;
};

// The selected nodes in the order they were selected; the first is the
// current one. A node enters and leaves through its selected state. The
// list carries the look of selected nodes. Each node knows its slot in the
// list, so selecting and deselecting cost the same on any diagram.
class TSelectedShapeList : public TSelectionLook
{
    DX_OBJECT(TSelectedShapeList)
public:
    explicit TSelectedShapeList(TTreeDocument *tree) : FTree(tree) {}

    TTreeDocument *Tree() const { return FTree; }
    int Count() const { return FItems.Count(); }
    TTreeNodeShape *Items(int index) const { return FItems.Items(index); }
    TTreeNodeShape *operator[](int index) const { return Items(index); }
    TTreeNodeShape *First() const { return FItems.First(); }
    TTreeNodeShape *Last() const { return FItems.Last(); }
    bool Contains(const TTreeNodeShape *node) const { return FItems.Contains(node); }
    // Deselects every selected node in selection order (the list is simply
    // emptied while the diagram clears), and the selected connection.
    void Clear();
    // Selects every visible node in shape order.
    void SelectAll();
    // TTreeDocument::DeleteSelected.
    void DeleteSelected();
    // Calls `fn` for each node selected when it starts.
    void ForEach(const std::function<void(TTreeNodeShape *)> &fn) const;
    // The selected nodes, in selection order.
    std::vector<TTreeNodeShape *> Nodes() const { return std::vector<TTreeNodeShape *>(FItems.begin(), FItems.end()); }

    // The plain list steps a node's selected state calls (no events).
    void Add(TTreeNodeShape *node);
    void Remove(TTreeNodeShape *node);
    // Forgets every entry without touching the nodes (the diagram is being
    // cleared).
    void Reset() { FItems.Clear(); }

private:
    TTreeDocument *FTree;
    TElementList<TTreeNodeShape, TSelectionSlot> FItems;
};

// The defaults a diagram gives its new elements.
class TTreeDefaultFormat
{
public:
    explicit TTreeDefaultFormat(TTreeDocument *tree);
    ~TTreeDefaultFormat();

    TChartPen *Border() const { return FBorder.get(); }
    TTreeShapeBrush *Brush() const { return FBrush.get(); }
    // The template of new connections' arrows and pen (without owner).
    TTreeConnection *Connection() const { return FConnection.get(); }
    TKorFont *Font() const { return FFont.get(); }
    int Cursor() const { return FCursor; }
    void SetCursor(int value) { FCursor = value; }
    TTreeNodeShapeShowCross ShowCross() const { return FShowCross; }
    void SetShowCross(TTreeNodeShapeShowCross value) { FShowCross = value; }
    TTreeNodeImageIndex ImageIndex() const { return FImageIndex; }
    void SetImageIndex(TTreeNodeImageIndex value) { FImageIndex = value; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value) { FTransparent = value; }
    // The layout object; none until one is installed.
    TChildManager *ChildManager() const { return FChildManager.get(); }
    // Installs a layout object (none: nothing is placed automatically); the
    // diagram repaints with it.
    void SetChildManager(std::unique_ptr<TChildManager> manager);
    // The class AddShape creates (TTreeNodeShape or a registered subclass).
    const TClassInfo *ShapeClass() const { return FShapeClass; }
    void SetShapeClass(const TClassInfo *cls);
    // The class of connections created without owner.
    const TClassInfo *ConnectionClass() const { return FConnectionClass; }
    void SetConnectionClass(const TClassInfo *cls);

private:
    TTreeDocument *FTree;
    std::unique_ptr<TChartPen> FBorder;
    std::unique_ptr<TTreeShapeBrush> FBrush;
    std::unique_ptr<TKorFont> FFont;
    std::unique_ptr<TTreeConnection> FConnection;
    std::unique_ptr<TChildManager> FChildManager;
    const TClassInfo *FShapeClass;
    const TClassInfo *FConnectionClass;
    int FCursor = 0;
    TTreeNodeShapeShowCross FShowCross = scAuto;
    TTreeNodeImageIndex FImageIndex = tiFolderOpenClose;
    bool FTransparent = false;
};

using TNewShapeEvent = TEvent<TTreeDocument *, TTreeNodeShape *>;
using TExpandingCollapsingEvent = TEvent<TTreeNodeShape *, bool &>;
using TNodeShapeNotifyEvent = TEvent<TTreeNodeShape *>;
using TMovingShapeEvent = TEvent<TTreeNodeShape *, int &, int &>;
using TResizingShapeEvent = TEvent<TTreeNodeShape *, TTreeShapeHandle, int &, int &>;
using TChangingShapeEvent = TEvent<TTreeDocument *, TTreeNodeShape *, bool &>;
using TAddingConnectionEvent = TEvent<TTreeNodeShape *, TTreeNodeShape *, bool &>;
using TNewConnectionEvent = TEvent<TTreeDocument *, TTreeConnection *>;
using TSortCompareEvent = TEvent<TTreeNodeShape *, TTreeNodeShape *, int &>;
using TConnectionNotifyEvent = TEvent<TTreeConnection *>;
using TDeletingShapesEvent = TEvent<TSelectedShapeList *, bool &>;

class TTreeDocument : public TComponent
{
    DX_OBJECT(TTreeDocument)
public:
    explicit TTreeDocument(TComponent *owner = nullptr);
    // Clears the diagram: no element outlives it.
    ~TTreeDocument() override;

    // ---- Lists
    TTreeShapeList &Shapes() { return FShapes; }
    const TTreeShapeList &Shapes() const { return FShapes; }
    TNodeShapeList &Roots() { return FRoots; }
    const TNodeShapeList &Roots() const { return FRoots; }
    TTreeConnectionList &Connections() { return FConnections; }
    const TTreeConnectionList &Connections() const { return FConnections; }
    TSelectedShapeList &Selected() { return FSelected; }
    const TSelectedShapeList &Selected() const { return FSelected; }
    TTreeDefaultFormat &DefaultFormat() { return *FDefaultFormat; }
    const TTreeDefaultFormat &DefaultFormat() const { return *FDefaultFormat; }

    // ---- Switches
    // New children copy their parent's format.
    bool AssignParentFormat() const { return FAssignParentFormat; }
    void SetAssignParentFormat(bool value) { FAssignParentFormat = value; }
    // AddChild also connects the parent to the new child.
    bool AutoConnectChildren() const { return FAutoConnectChildren; }
    void SetAutoConnectChildren(bool value) { FAutoConnectChildren = value; }
    // New elements get no owner and no name.
    bool NoOwnerShapes() const { return FNoOwnerShapes; }
    void SetNoOwnerShapes(bool value) { FNoOwnerShapes = value; }
    bool ShowImages() const { return FShowImages; }
    void SetShowImages(bool value);
    bool ShowText() const { return FShowText; }
    void SetShowText(bool value);
    // True while Clear frees the elements.
    bool Clearing() const { return FClearing; }
    // Design mode: handles instead of selection colours, moving and resizing.
    bool Designing() const { return FDesigning; }
    void SetDesigning(bool value);
    // At most one node selected at a time.
    bool SingleSelection() const { return FSingleSelection; }
    void SetSingleSelection(bool value);
    // The expand/collapse box of the nodes.
    TTreeNodeCrossBox *CrossBox() const { return FCrossBox.get(); }
    // Setting it makes every current root show its cross box always (True)
    // or never (False); roots added later keep their own setting.
    bool ShowRootCross() const { return FShowRootCross; }
    void SetShowRootCross(bool value);
    // Mouse-over highlighting of nodes.
    TTreeHotTrack *HotTrack() const { return FHotTrack.get(); }

    // ---- Events
    TNewShapeEvent OnNewShape;
    TExpandingCollapsingEvent OnExpandingCollapsing;
    TNodeShapeNotifyEvent OnExpandedCollapsed;
    TMovingShapeEvent OnMovingShape;
    TResizingShapeEvent OnResizingShape;
    TChangingShapeEvent OnChanging;
    TAddingConnectionEvent OnAddingConnection;
    TNewConnectionEvent OnNewConnection;
    TSortCompareEvent OnSortCompare; // published for handlers; nothing fires it
    // A node entered or left the selection (after the list changed).
    TNodeShapeNotifyEvent OnSelectShape;
    TNodeShapeNotifyEvent OnUnSelectShape;
    // The selected connection changed (the previous one is heard of only
    // outside loading).
    TConnectionNotifyEvent OnSelectConnection;
    TConnectionNotifyEvent OnUnSelectConnection;
    // DeleteSelected asks first (var allow) and tells afterwards.
    TDeletingShapesEvent OnDeletingShapes;
    TNotifyEvent OnDeletedShapes;

    // ---- Operations
    // Creates a node of the ShapeClass at (x, y) under `parent` (null: a
    // root) with `text` (a null string: no text).
    TTreeNodeShape *AddShape(int x, int y, TTreeNodeShape *parent, const QString &text = QString());
    TTreeNodeShape *AddRoot(const QString &text = QString());
    TTreeNodeShape *AddRootObject(const QString &text, void *data);
    // A deep copy of a node (with its subtree and the connections to its
    // children) into this diagram, invisible, as a root.
    TTreeNodeShape *CloneShape(TTreeNodeShape *source);
    // CloneShape, made visible with its whole subtree; a copy without text
    // shows its name.
    TTreeNodeShape *PasteShape(TTreeNodeShape *source);
    // Expands or collapses every node, roots first, parents before children.
    void ExpandAll(bool expand);
    // Frees every node and connection.
    void Clear();
    // Gives every node and connection that has no owner to the diagram's
    // owner, named as AddShape and connecting name them (a diagram built in
    // the no-owner mode, so that a file keeps what was built). Nothing
    // without an owner.
    void AdoptElements();
    // The topmost node hit at a screen position, or null.
    TTreeNodeShape *ShapeAt(int x, int y) const;
    // Selects only `node` when OnChanging allows it; answers whether it did.
    bool SelectOnly(TTreeNodeShape *node);
    // Frees every selected node with its subtree (a node inside another
    // selected node's subtree goes with it, once) when OnDeletingShapes
    // allows it, then selects the successor of the first selected node
    // that survives: with a parent its next brother, else its previous
    // brother, else the parent; for a root the next root, else the previous
    // one; else none. One step. Answers whether anything was freed.
    bool DeleteSelected();
    // The first connection hit at a screen position, or null.
    TTreeConnection *ConnectionAtPoint(int x, int y) const { return FConnections.ConnectionAt(x, y); }

    // ---- Change notices (TreeChanges.h)
    // Listeners are not owned; one that goes away removes itself first.
    void AddChangeListener(TTreeChangeListener *listener);
    void RemoveChangeListener(TTreeChangeListener *listener);
    // Whether notices go out now: someone listens, and the diagram is not
    // being read, cleared or kept quiet.
    bool NoticesActive() const
    {
        return !FChangeListeners.empty() && FQuietChanges == 0 && !FClearing && FLoad == nullptr;
    }
    // Brackets the edits of one user action; steps nest, and listeners hear
    // only the outermost one.
    void BeginStep(const QString &description);
    void EndStep();
    int StepDepth() const { return FStepDepth; }
    // Keeps notices from going out while what runs is no edit (building a
    // diagram that is about to be shown for the first time, say).
    void SuspendChanges() { ++FQuietChanges; }
    void ResumeChanges() { --FQuietChanges; }
    // Bracket a change of the whole content made without notices (Clear,
    // reading a file): listeners hear TreeReplacing at the outermost begin
    // and TreeReplaced at its end.
    void BeginReplace();
    void EndReplace();
    // Sends a notice before and after a change (when notices are active).
    void NotifyChanging(const TTreeChange &change);
    void NotifyChanged(const TTreeChange &change);
    // After an element announced by tckRemoving has been freed.
    void NotifyRemoved(const TComponent *element);

    // ---- Attachments (TreeChanges.h): not owned; one that goes away, or
    // links to another diagram, removes itself first.
    void AddAttachment(TTreeAttachment *attachment);
    void RemoveAttachment(TTreeAttachment *attachment);
    const std::vector<TTreeAttachment *> &Attachments() const { return FAttachments; }
    // The attachment a component is or belongs to; null for none.
    TTreeAttachment *AttachmentOf(const TComponent *component) const;

    // ---- Edit operations (TreeEdits.cpp): what a user does to a diagram,
    // each with its notice. The plain setters and the hierarchy calls of
    // the elements stay silent; the editor, its dialogs and the view's
    // interaction edit through these.
    // Frees a node with its subtree and connections (tckRemoving first).
    void DeleteShape(TTreeNodeShape *node);
    // Frees a connection; when `ask`, only when the connection list's
    // OnDeleting allows it (taking an edit back does not ask).
    bool DeleteConnection(TTreeConnection *connection, bool ask = true);
    // A move asked for by the user (UserMove: OnMovingShape may change or
    // cancel it).
    void MoveShape(TTreeNodeShape *node, int dx, int dy, bool withChildren);
    // Resizing by a handle (Resize: OnResizingShape may change or cancel it).
    void ResizeShape(TTreeNodeShape *node, TTreeShapeHandle corner, int dx, int dy);
    // A move taken back or made again: by exactly (dx, dy), its subtree
    // along when withChildren, asking no handler; then the node's automatic
    // positioning becomes that of `autoPosition` (null: none of its own).
    void ShiftShape(TTreeNodeShape *node, int dx, int dy, bool withChildren,
                    const TTreeShapeAutoPosition *autoPosition);
    // Puts a node under `parent` (null: among the roots) at a place among
    // its brothers and in Shapes, the drawing order; places beyond the end
    // go last. Unlike SetShapeParent it keeps every connection (taking a
    // re-parenting back). Ignored for a parent in the node's own subtree.
    // A tckParent notice when the parent changes, else tckOrder.
    void PlaceShape(TTreeNodeShape *node, TTreeNodeShape *parent, int brotherIndex, int shapeIndex);
    // Elements that were freed coming back where they were (a delete taken
    // back, an addition made again). Each node and connection arrives
    // detached, without owner, named as it was; it joins the diagram's
    // owner (a name in use meanwhile gives way to a free one) and every
    // list at its former place. Nodes come parents first; a parent is a
    // node of the diagram or one arriving before. One tckAdded notice per
    // arriving node whose parent stays, and per arriving connection between
    // two staying nodes.
    struct TReturningShape
    {
        std::unique_ptr<TTreeNodeShape> Node;
        TTreeNodeShape *Parent = nullptr;
        int BrotherIndex = -1; // among the parent's children, or the roots
        int ShapeIndex = -1;   // in Shapes
        bool Visible = true;
        TRect Edges;           // TTreeNodeShape::Edges
    };
    struct TReturningConnection
    {
        std::unique_ptr<TTreeConnection> Connection;
        TTreeNodeShape *From = nullptr;
        TTreeNodeShape *To = nullptr;
        int Index = -1;     // in Connections
        int FromIndex = -1; // among the connections that start at From
    };
    void RestoreElements(std::vector<TReturningShape> &shapes, std::vector<TReturningConnection> &connections);
    // Re-parents a node (null: makes it a root); ignored where SetParent
    // ignores it.
    void SetShapeParent(TTreeNodeShape *node, TTreeNodeShape *parent);
    // Expands or collapses a node; answers how many nodes changed visibility.
    int SetShapeExpanded(TTreeNodeShape *node, bool expanded);
    // Replaces an element's text lines.
    void SetElementText(TCustomTreeElement *element, const QStringList &lines);
    // Brings a node to the front or sends it to the back.
    void OrderShape(TTreeNodeShape *node, bool toFront);
    // Any other change of an element (the diagram itself for its own
    // settings): `change` runs between the two notices. `property` is the
    // published path of what changes, empty for several properties.
    void EditElement(TComponent *element, const QString &property, const std::function<void()> &change);
    // A change of a connection's points.
    void EditPoints(TTreeConnection *connection, const std::function<void()> &change);
    // Inserts a point at a diagram position before `index` (a csAuto
    // connection becomes a line first), kept relative to the start node's
    // top-left; answers its index (-1 without a connection).
    int InsertConnectionPoint(TTreeConnection *connection, int index, const TPoint &at);
    // Shifts a point (MovePoint).
    void MoveConnectionPoint(TTreeConnection *connection, int index, int dx, int dy);
    // Fixes the first or the last point at an anchor of its node (1 top-left,
    // 2 bottom-right, 3 bottom-left, 4 top-right, 5 left, 6 top, 7 right,
    // 8 bottom middle) as percentages of that node; answers whether it did.
    bool AnchorConnectionPoint(TTreeConnection *connection, int index, int anchor);

    // ---- Automatic layout (TreeLayout.cpp)
    // The position pass run before every drawing: resets ShapeExtent, then
    // lays out every root in order with its expanded subtree.
    void LayoutShapes();
    // Lays out one node at `index` among its siblings (among the roots for a
    // root) and, when it is expanded, its subtree: the automatic size when
    // it is out of date, the automatic coordinates, Bounds with the image
    // beside the body, and the extent.
    void LayoutNode(TTreeNodeShape *node, int index);
    // The smallest left and top and the largest right and bottom of the
    // Bounds laid out by the last pass (left and top at INT_MAX, right and
    // bottom at 0 when nothing was laid out); the view's scroll ranges.
    const TRect &ShapeExtent() const { return FShapeExtent; }
    TRect &ShapeExtent() { return FShapeExtent; }
    // The node whose position or size a user move or resize is changing
    // right now (null otherwise): what is invalidated meanwhile is that
    // node's geometry and nothing else.
    TTreeNodeShape *GeometryEdit() const { return FGeometryEdit; }
    // After a pass, the edited nodes moved or were resized and nothing else
    // changed: lays out again only what depends on them (their subtrees,
    // and the nodes placed after them whose automatic position follows
    // theirs), the extent growing to take them in. A row that follows them
    // and comes to lie below `cutBelow` ends that: what follows it stays
    // where it was for now (below the window, when the cut lies far enough
    // below it). `touched` receives every node placed again and every node
    // with a connection into one of them, whose drawing may differ now.
    // False when the layout object is one whose dependencies are not known
    // here: a full pass is needed.
    bool LayoutAfterGeometryEdits(const std::vector<TTreeNodeShape *> &edited, std::vector<TTreeNodeShape *> &touched,
                                  int cutBelow = INT_MAX);
    // The vertical distances of the geometry edits since the reset, added
    // up: no row placed from them moved further.
    long long GeometryShift() const { return FGeometryShift; }
    void ResetGeometryShift() { FGeometryShift = 0; }

    // ---- Text outline import (OutlineImport.cpp)
    // Appends one node per line, each line's leading spaces giving its depth
    // (at most one level below the line before); answers the node of the
    // first line, null for no lines.
    TTreeNodeShape *ImportOutline(const QStringList &lines);
    // Reads a text file (UTF-8, else 8-bit Windows text; LF, CRLF or CR
    // line ends) and imports its lines; EFileError naming the file and the reason when it cannot be
    // read, and then the diagram is left as it was.
    TTreeNodeShape *ImportOutlineFile(const QString &fileName);
    // The lines ImportOutlineFile imports (the same errors).
    static QStringList ReadOutlineFile(const QString &fileName);

    // ---- View hooks
    // A repaint request; ignored while AutoRepaint is off. The model only
    // counts them.
    virtual void Invalidate();
    int InvalidateCount() const { return FInvalidateCount; }
    virtual bool AutoRepaint() const { return FAutoRepaint; }
    virtual void SetAutoRepaint(bool value) { FAutoRepaint = value; }
    // The canvas that measures text (and draws, in a view).
    virtual TKorCanvas3D *TreeCanvas();
    // Added to node positions when drawing (XCenter, YCenter).
    virtual TPoint DrawOffset() const { return TPoint(0, 0); }
    // Screen <-> diagram coordinates.
    virtual TPoint ProjectPoint(const TPoint &p) const { return p; }
    virtual TPoint UnprojectPoint(const TPoint &p) const { return p; }
    // The part of the diagram on screen, in diagram coordinates.
    virtual TRect VisibleArea() const;
    // True while drawing for a printer; with PrintThinLines dotted and
    // dashed hairlines are then printed one device pixel wide.
    virtual bool Printing() const { return false; }
    virtual bool PrintThinLines() const { return false; }
    // Draws one selection handle centred on a diagram point; clNone fills it
    // with the canvas's current brush colour. The default draws a square of
    // the selection's handle size in screen pixels on the tree canvas.
    virtual void DrawHandle(int x, int y, TColor color, TTreeShapeHandle code);
    // Bracket the handles of a selected node: the handles' pen, brush and
    // pen mode (not-xor unless the selection redraws fully), then back to
    // the normal pen mode.
    virtual void BeginDrawHandles();
    virtual void EndDrawHandles();
    // Ends in-place text editing, keeping the text when `save`.
    virtual void StopEditing(bool save) {}
    // A node entered (True) or left the selection: the model repaints; a
    // view redraws only the selection marks and brings a new selection
    // into view. Selection changes the picture, never the layout.
    virtual void SelectionChanged(TTreeNodeShape *node, bool selected) { Invalidate(); }
    // True when the view draws the handles of selected elements over the
    // finished picture instead of in it.
    virtual bool HandlesOverPicture() const { return false; }
    // An element is about to go (null: every element, the diagram is being
    // cleared): whatever keeps it for later forgets it.
    virtual void ForgetElement(const TComponent *element) {}
    // Scrolls back to the origin.
    virtual void ResetScrollOffsets() {}
    // True when walking `node`'s subtree would draw nothing in the visible
    // area, so the node walk may pass it by, taking `answer` as the answer
    // the walk would have given (a view that knows where subtrees lie); the
    // model always walks.
    virtual bool SubtreeOutOfView(const TTreeNodeShape *node, bool &answer) const { return false; }
    // The images nodes may take by ImageListIndex; null for none.
    virtual TImageList *Images() const { return FImages; }
    // The diagram forgets the list when the list is freed first.
    void SetImages(TImageList *images);

    static constexpr int kListCapacity = 100;

    // ---- Files (TreeFile.h has SaveDiagram and LoadDiagram)
    // The child records the writer gets: every node of Shapes, then every
    // connection; in the no-owner mode only nodes with an owner and the
    // connections between two such nodes.
    void GetChildren(const std::function<void(TComponent *)> &proc) const override;
    // The grid settings of older files ("GridColor", "GridStep"), read and
    // never written.
    void DefineProperties(TFiler &filer) override;
    // The grid those settings go to. The view's grid implements these; a
    // diagram without a window keeps the values. Steps of 0 or less are
    // ignored.
    virtual TColor GridColor() const { return FGridColor; }
    virtual void SetGridColor(TColor value) { FGridColor = value; }
    virtual int GridStep() const { return FGridStep; }
    virtual void SetGridStep(int value)
    {
        if (value > 0)
            FGridStep = value;
    }
    // The diagram's background: its colour and its gradient (created on
    // first use; Peek never creates it; null frees it). The view implements
    // these with the control's own colour and gradient; a diagram without a
    // window keeps a colour and has no gradient.
    virtual TColor BackgroundColor() const { return FBackgroundColor; }
    virtual void SetBackgroundColor(TColor value) { FBackgroundColor = value; }
    virtual TKorGradient *BackgroundGradient() { return nullptr; }
    virtual const TKorGradient *PeekBackgroundGradient() const { return nullptr; }
    virtual void SetBackgroundGradient(const TKorGradient *value) {}
    // Where the control sits in its window: a load puts it back afterwards,
    // so stored bounds do not move the control. Nothing without a window.
    struct TControlPlacement
    {
        TRect Bounds;
        int Align = 0;
    };
    virtual TControlPlacement ControlPlacement() const { return {}; }
    virtual void SetControlPlacement(const TControlPlacement &placement) {}
    // Whether the control is shown; saving shows it while it writes, so a
    // file never stores it hidden.
    virtual bool ControlVisible() const { return true; }
    virtual void SetControlVisible(bool visible) {}
    // True while LoadDiagram reads into this diagram, its continuation
    // included.
    bool ReadingFile() const { return FLoad != nullptr; }
    // After a load that stopped part-way the diagram holds what was read;
    // SaveDiagramFile then refuses to write over the file it came from
    // (empty when it came from another stream) until a load completes or
    // the diagram is cleared.
    bool PartlyRead() const { return FPartlyRead; }
    const QString &PartlyReadFrom() const { return FPartlyReadFrom; }

protected:
    void Notification(TComponent *component, TOperation operation) override;

private:
    void HotTrackChanged();

private:
    friend class TTreeNodeShape;
    friend class TTreeConnection;
    friend class TDiagramLoad;
    friend class TTreeGeometryEdit;

    TTreeConnection *NewConnection(TTreeNodeShape *from, TTreeNodeShape *to);
    // One node of the position pass: its size when out of date, its
    // automatic coordinates, Bounds and the extent.
    void PlaceNode(TTreeNodeShape *node, int index, TChildManager *manager, TKorCanvas3D *&canvas);
    TTreeNodeShape *CloneQuietly(TTreeNodeShape *source);
    // The tckAdded notice of a new node or connection.
    void NotifyAdded(TComponent *element);
    TComponent *ElementOwner() const;
    // Links between elements of different diagrams (or of none) may exist:
    // Clear undoes them first.
    static void NoteForeignLinks(TTreeDocument *a, TTreeDocument *b = nullptr);
    void ReleaseForeignLinks();
    // A name of the form "<from>_<to>" that the owner does not use yet.
    static QString ConnectionName(TComponent *owner, const TTreeNodeShape *from, const TTreeNodeShape *to);

    TTreeShapeList FShapes;
    TNodeShapeList FRoots;
    TTreeConnectionList FConnections;
    TSelectedShapeList FSelected;
    std::unique_ptr<TTreeDefaultFormat> FDefaultFormat;
    std::unique_ptr<TTreeNodeCrossBox> FCrossBox;
    std::unique_ptr<TTreeHotTrack> FHotTrack;
    std::unique_ptr<TKorCanvas3D> FCanvas;
    TImageList *FImages = nullptr;
    TRect FShapeExtent{INT_MAX, INT_MAX, 0, 0};
    TTreeNodeShape *FGeometryEdit = nullptr;
    long long FGeometryShift = 0;
    int FInvalidateCount = 0;
    bool FAssignParentFormat = false;
    bool FAutoConnectChildren = true;
    bool FNoOwnerShapes = true;
    bool FShowImages = true;
    bool FShowText = true;
    bool FClearing = false;
    bool FDesigning = false;
    bool FSingleSelection = true;
    bool FShowRootCross = true;
    bool FAutoRepaint = true;
    bool FForeignLinks = false;
    // Change notices.
    std::vector<TTreeChangeListener *> FChangeListeners;
    std::vector<TTreeAttachment *> FAttachments;
    int FStepDepth = 0;
    int FQuietChanges = 0;
    int FReplaceDepth = 0;
    // Files.
    TDiagramLoad *FLoad = nullptr; // the load in progress
    QString FPartlyReadFrom;
    bool FPartlyRead = false;
    TColor FGridColor = clGray;
    int FGridStep = 10;
    TColor FBackgroundColor = clWhite;
};

// While it lives, what the diagram is told to repaint is caused by the
// position or size of one node alone (a user move or resize).
class TTreeGeometryEdit
{
public:
    // `shift`: how far the node's edges move up or down at most.
    TTreeGeometryEdit(TTreeDocument *tree, TTreeNodeShape *node, int shift) : FTree(tree)
    {
        if (FTree) {
            FSaved = FTree->FGeometryEdit;
            FTree->FGeometryEdit = node;
            FTree->FGeometryShift = std::min<long long>(FTree->FGeometryShift + std::abs(static_cast<long long>(shift)),
                                                        INT_MAX);
        }
    }
    ~TTreeGeometryEdit()
    {
        if (FTree)
            FTree->FGeometryEdit = FSaved;
    }
    TTreeGeometryEdit(const TTreeGeometryEdit &) = delete;
    TTreeGeometryEdit &operator=(const TTreeGeometryEdit &) = delete;

private:
    TTreeDocument *FTree;
    TTreeNodeShape *FSaved = nullptr;
};
