#pragma once
// TCustomTree: the diagram as a visible control. It is a panel (zoom,
// scrolling, buffer, background, printing, rendering into images) and the
// diagram's document at once; one pipeline draws it on the screen, on a
// printer page, into a bitmap, a metafile or a recording canvas:
//
//   background, [grid], position pass, node walk (each node, its outgoing
//   connections and its cross box, parent before children), the selected
//   connection's handles, [page borders], anchor marker
//
// The bracketed layers follow the grid and page settings (TreeGrid.h,
// TreePage.h); after each screen drawing the scroll bars follow the
// diagram's extent (KorScrollBar.h).
//
// Model and screen meet through ProjectPoint and UnprojectPoint: with
// Z = Zoom / 100, (Cx, Cy) the centre of the drawing bounds and (H, V) the
// offsets, screen x = round((x - Cx) * Z) + Cx + H and back, model x =
// round((screen x - Cx - H) / Z) + Cx (likewise for y).

#include "canvas/KorProcs.h"
#include "model/Arbolix.h"
#include "view/KorScrollBar.h"
#include "view/SubtreeReach.h"
#include "view/TreeDragDrop.h"
#include "view/TreeGrid.h"
#include "view/TreeInputEvents.h"
#include "view/TreePage.h"
#include "view/TreeTextEditor.h"

#include <climits>
#include <functional>
#include <optional>

// Sent to the listeners after every drawing of a diagram.
class TTreeAfterDrawEvent : public TKorEvent
{
public:
    using TKorEvent::TKorEvent;
};

DX_ENUM(TWheelNavigation, wnSelection, wnScrollVert, wnScrollHoriz, wnZoom, wnNone)

class TTreeInteraction;
class QMimeData;

class TCustomTree : public TCustomKorPanelExtended, public TTreeDocument, public TTreeInputEvents
{
    DX_OBJECT(TCustomTree)
public:
    explicit TCustomTree(TComponent *owner = nullptr, QWidget *parent = nullptr);
    ~TCustomTree() override;

    // ---- Document hooks
    // Marks the buffer dirty and asks for a repaint while auto repaint is
    // on; every change of the model ends here. Also notes that the model
    // changed, so the next drawing lays the nodes out again.
    void Invalidate() override;
    bool AutoRepaint() const override { return TCustomKorPanel::AutoRepaint(); }
    void SetAutoRepaint(bool value) override { TCustomKorPanel::SetAutoRepaint(value); }
    bool Printing() const override { return TCustomKorPanel::Printing(); }
    TKorCanvas3D *TreeCanvas() override;
    TPoint ProjectPoint(const TPoint &p) const override;
    TPoint UnprojectPoint(const TPoint &p) const override;
    // The drawing bounds of the current (or last) drawing in diagram
    // coordinates; before the first drawing, the client area's.
    TRect VisibleArea() const override;
    void ResetScrollOffsets() override;
    // The control's place in its window and its visibility, which loading
    // and saving a file keep.
    TControlPlacement ControlPlacement() const override;
    void SetControlPlacement(const TControlPlacement &placement) override;
    bool ControlVisible() const override { return Visible(); }
    void SetControlVisible(bool visible) override { SetVisible(visible); }
    // The diagram's background is the control's colour and gradient.
    TColor BackgroundColor() const override { return Color(); }
    void SetBackgroundColor(TColor value) override { SetColor(value); }
    TKorGradient *BackgroundGradient() override { return Gradient(); }
    const TKorGradient *PeekBackgroundGradient() const override { return PeekGradient(); }
    void SetBackgroundGradient(const TKorGradient *value) override { SetGradient(value); }
    // A subtree whose every drawing lies outside the visible area (worked
    // out after each position pass) is passed by.
    bool SubtreeOutOfView(const TTreeNodeShape *node, bool &answer) const override;

    // ---- Grid, page, scroll bars (TreeFrame.cpp)
    TTreeGrid *Grid() const { return FGrid.get(); }
    TTreePage *Page() const { return FPage.get(); }
    TKorScrollBar *HorzScrollBar() const { return FHorzScrollBar.get(); }
    TKorScrollBar *VertScrollBar() const { return FVertScrollBar.get(); }
    // Where the grid's lines fall over the visible area, as the last
    // drawing spaced them (the rulers use it too).
    TGridLattice GridLattice() const;
    // Older files' grid settings go to the grid.
    TColor GridColor() const override { return FGrid->Color(); }
    void SetGridColor(TColor value) override { FGrid->SetColor(value); }
    int GridStep() const override { return FGrid->Step(); }
    void SetGridStep(int value) override { FGrid->SetStep(value); }
    // The current page, where the view shows it.
    TRect ImageRect() const override;
    // Draws the current page (the diagram part under it, whatever the
    // zoom and scroll) scaled into a rectangle of a printer page.
    void PrintCurrentPage(QPainter *painter, const TRect &rect);
    // The window's length along a bar's axis less the other bar.
    int ScrollViewSize(bool horizontal) const;
    // Places the scroll bars along the right and bottom edges.
    void LayoutScrollBars();

    // ---- Drawing state
    // Whether the last position pass laid out any node (ShapeExtent holds
    // their union).
    bool HasShapeExtent() const { return ShapeExtent().Left <= ShapeExtent().Right; }
    // The diagram drawn whole at the current zoom: the picture's rectangle
    // (at 0, 0) and the diagram point shown at its top-left. The picture
    // covers the diagram from min(0, extent) to the extent's right and
    // bottom, with a small margin around what lies outside. Lays the nodes
    // out first.
    struct TWholePicture
    {
        TRect Rect;
        TPoint Origin;
    };
    TWholePicture WholePicture();
    // Runs `draw` with the offsets that show the diagram point `origin` at
    // the top-left of drawings of `bounds`; the offsets are put back
    // afterwards and no scroll event fires meanwhile.
    void ShowingOrigin(const TPoint &origin, const TRect &bounds, const std::function<void()> &draw);
    // Lays the nodes out now unless nothing changed since the last time.
    void UpdateLayout();
    // Forces the next drawing to lay the nodes out again (for changes made
    // to layout settings without a repaint request).
    void InvalidateLayout()
    {
        FLayoutValid = false;
        FGeometryOnly = false;
        FGeometryEdits.clear();
    }
    // Number of position passes run (tests and benchmarks watch it).
    int LayoutCount() const { return FLayoutCount; }
    // Number of times only what nodes being dragged affect was laid out
    // again.
    int PartialLayoutCount() const { return FPartialLayoutCount; }
    // A drag that moved or resized nodes ended: the next drawing lays the
    // whole diagram out again when drag steps laid out only parts of it.
    void EndGeometryEdits();

    // Zoom changes keep the model point at the view's centre where it is
    // (set by the editor); off, they keep the model origin where it is.
    bool ZoomCentered() const { return FZoomCentered; }
    void SetZoomCentered(bool value) { FZoomCentered = value; }

    // While a connection end is dragged over an anchor position, a red
    // circle marks it over the picture (diagram coordinates); reset hides
    // it.
    void SetAnchorMarker(std::optional<TPoint> position);
    std::optional<TPoint> AnchorMarker() const { return FAnchorMarker; }

    // ---- Settings of the interaction, kept with the diagram
    bool AllowDelete() const { return FAllowDelete; }
    void SetAllowDelete(bool value) { FAllowDelete = value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    TMouseButton ScrollMouseButton() const { return FScrollMouseButton; }
    void SetScrollMouseButton(TMouseButton value) { FScrollMouseButton = value; }
    bool ShowHintShapes() const { return FShowHintShapes; }
    void SetShowHintShapes(bool value) { FShowHintShapes = value; }
    bool SnapToGrid() const { return FSnapToGrid; }
    void SetSnapToGrid(bool value) { FSnapToGrid = value; }
    TWheelNavigation WheelNavigation() const { return FWheelNavigation; }
    void SetWheelNavigation(TWheelNavigation value) { FWheelNavigation = value; }
    // The look of selected nodes, as the selection list keeps it.
    TSelectionLook *SelectionLook() const { return const_cast<TSelectedShapeList *>(&Selected()); }

    // ---- Events (sender: the diagram)
    TNotifyEvent OnBeforeDraw;
    TNotifyEvent OnAfterDraw;

    // ---- Mouse and keyboard (TreeInteraction.h; defined in the
    // interaction's files)
    TTreeInteraction &Interaction() const { return *FInteraction; }
    // Whether the view has been drawn on the screen once.
    bool Drawn() const { return FHasVisibleArea; }
    // The picture is drawn again at the next paint, the layout kept.
    void RepaintPicture();
    // Only what lies over the picture (handles, rubber band, lines) is
    // drawn again.
    void RepaintOverlays() { update(); }
    // The diagram part the window shows now, in diagram units (the offsets
    // as they are, not as the last drawing had them).
    TRect CurrentVisibleArea() const;
    // Scrolls the first selected node into view (lays the nodes out first
    // when they changed).
    void ScrollToView();
    // Scrolls so a node's centre comes to the view's centre (not in design
    // mode), in Zoom.AnimatedSteps steps with a repaint after each.
    void ScrollToCenter(TTreeNodeShape *node);
    void SelectionChanged(TTreeNodeShape *node, bool selected) override;
    // A press with the text editor's mouse button on a selected node starts
    // editing it when the editor's mode says so; answers whether it did.
    bool StartEditingByMouse(TMouseButton button, int x, int y);
    // The text editor's shortcut starts editing the first selected node
    // when the editor's mode says so; answers whether the key was it.
    bool StartEditingByKey(int key, Qt::KeyboardModifiers modifiers);
    // Whether in-place editing is in progress, and of which node.
    bool Editing() const;
    TTreeNodeShape *EditedShape() const { return FEditedShape; }
    // Shows the edit control over the node, filled with its text (all of
    // it selected), unless OnStartEditing refuses; answers whether it did.
    bool StartEditing(TTreeNodeShape *shape);
    // Ends editing; with `save` the node's text becomes the control's
    // lines (one step). OnStopEditing follows.
    void StopEditing(bool save) override;
    TTreeTextEditor *TextEditor() const { return FTextEditor.get(); }
    // A run-mode press on a node starts dragging it when drag and drop is
    // automatic (TreeDragDrop.cpp).
    void BeginShapeDrag(TTreeNodeShape *node);
    TTreeDragDrop *DragAndDrop() const { return FDragDrop.get(); }
    // Whether `dragged`, a node of `source` (this diagram or another), may
    // be dropped on `target` here (null: on the background, making it a
    // root): never on itself, its parent or its own subtree.
    bool CanDropShape(const TCustomTree *source, TTreeNodeShape *dragged, TTreeNodeShape *target) const;
    // Drops it as one step: a node of another diagram comes over with its
    // subtree (leaving its diagram unless that keeps its nodes), goes under
    // the target (its connection from the old parent now starting there)
    // or becomes a root. Answers the node now here, null when refused.
    TTreeNodeShape *DropShape(TCustomTree *source, TTreeNodeShape *dragged, TTreeNodeShape *target);
    bool HandlesOverPicture() const override;
    void ForgetElement(const TComponent *element) override;

    void Loaded() override;
    // Files also hold the panel's print margins.
    void DefineProperties(TFiler &filer) override;
    // Draws the whole view into a painter's rectangle. A rendering for an
    // image or a printer leaves the screen's visible area as it was.
    void DrawView(QPainter *target, const TRect &rect) override;

protected:
    void DrawContent(const TRect &bounds) override;

    // ---- Layers (each called by DrawContent in this order)
    // The grid, when it is shown.
    virtual void DrawGrid();
    // Lays out every root and the children of expanded nodes, and
    // accumulates the shape extent.
    virtual void PositionPass() { LayoutShapes(); }
    // Walks every root: nodes meeting the visible area, their connections,
    // cross boxes and expanded children.
    virtual void NodePass();
    // The page count and the page borders.
    virtual void DrawPage();
    // After a screen drawing: the scroll bars follow the offsets and the
    // shape extent.
    virtual void UpdateScrollBars();
    // An offset changed: the scroll bar of that direction follows it.
    virtual void ScrollBarFollows(bool horizontal);

    // ---- Input (TreeInteraction.cpp)
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool event(QEvent *event) override;
    bool HasOverlays() const override;
    void DrawOverlays(TKorCanvas3D *canvas) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // The node a drag's data stands for, and its diagram; null for data
    // of no node dragged in this process.
    TTreeNodeShape *DraggedShape(const QMimeData *data, TCustomTree **source = nullptr) const;
    friend class TTreeInteraction;
    void DrawLayers(const TRect &bounds);
    void DrawAnchorMarker();
    // The part of the bounds the target can show (an image smaller than the
    // bounds, a clip): what is outside is not worth drawing.
    TRect TargetArea(const TRect &bounds) const;
    // The centre the mapping uses: of the drawing bounds, or of the client
    // area before the first drawing.
    TPoint MappingCenter() const;
    void ZoomChanging(int newZoom);
    void Scrolled(bool horizontal);
    TObject *Self() { return static_cast<TTreeDocument *>(this); }

    std::unique_ptr<TTreeInteraction> FInteraction;
    std::unique_ptr<TTreeGrid> FGrid;
    std::unique_ptr<TTreePage> FPage;
    std::unique_ptr<TKorScrollBar> FHorzScrollBar;
    std::unique_ptr<TKorScrollBar> FVertScrollBar;
    // While a page is printed: the picture's rectangle.
    std::optional<TRect> FPrintArea;
    std::unique_ptr<TTreeTextEditor> FTextEditor;
    std::unique_ptr<TTreeDragDrop> FDragDrop;
    TTreeNodeShape *FEditedShape = nullptr;
    // A new selection waits for the next layout to be brought into view.
    bool FScrollPending = false;
    int FScrollGeneration = 0;
    TRect FVisibleArea;
    TSubtreeReach FReach;
    // While the reach is worked out, connections are laid on their course
    // on a canvas that draws nothing.
    std::unique_ptr<TKorCanvas3D> FQuietCanvas;
    bool FQuiet = false;
    bool FHasVisibleArea = false;
    std::optional<TPoint> FAnchorMarker;
    int FLayoutCount = 0;
    int FPartialLayoutCount = 0;
    bool FLayoutValid = false;
    // The changes since the last pass are moves and resizes of these nodes
    // during a drag.
    bool FGeometryOnly = false;
    bool FPartSinceFull = false;
    std::vector<TTreeNodeShape *> FGeometryEdits;
    // Since the last full pass: how far rows left below the window may lie
    // from where they belong, and the window they were left below.
    long long FShiftBound = 0;
    TRect FCutArea;
    // Set while the position pass and the node walk run: what they report
    // as changes is their own work, not a change of the model.
    bool FInPasses = false;
    bool FDestroying = false;
    // Offsets changed for a rendering: no scroll event.
    bool FQuietScroll = false;
    bool FZoomCentered = false;
    bool FAllowDelete = true;
    bool FReadOnly = false;
    TMouseButton FScrollMouseButton = mbRight;
    bool FShowHintShapes = true;
    bool FSnapToGrid = true;
    TWheelNavigation FWheelNavigation = wnSelection;
};

// The published diagram component.
class TTree : public TCustomTree
{
    DX_OBJECT(TTree)
public:
    explicit TTree(TComponent *owner = nullptr, QWidget *parent = nullptr) : TCustomTree(owner, parent) {}
};

// Registers the diagram component and the model's element classes for
// files. Calling it again does nothing.
void RegisterViewClasses();
