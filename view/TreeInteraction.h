#pragma once
// How the diagram control answers the mouse and the keyboard: selecting,
// moving and resizing nodes by their handles, dragging connection points
// and anchoring them, the rubber band (box selection, zoom to a
// rectangle), panning, the wheel, keyboard navigation, connecting two
// nodes, drawing point-by-point shapes, hover feedback and hints.
//
// One object per control keeps the state of the gesture in progress (a
// press, the moves, the release) and of the modes that last across
// gestures (connecting, adding points). Every edit goes through the
// document's edit operations; a gesture that edits is one step.
//
// Interactive zooming (the wheel, the zoom rectangle) keeps Zoom within
// kMinZoom .. kMaxZoom percent.
//
// The parts: TreeMouse.cpp (press, move, release, hover), TreeKeyboard.cpp
// (keys and wheel), TreeSelectionView.cpp (what the view does when the
// selection changes, scrolling nodes into view, the overlays).

#include "canvas/CanvasTypes.h"
#include "core/InputTypes.h"
#include "model/TreeChanges.h"
#include "model/TreeTypes.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>

class TCustomTree;
class TClassInfo;
class TKorCanvas3D;
class TPolygonShape;

class TTreeInteraction
{
public:
    static constexpr int kMinZoom = 1;
    static constexpr int kMaxZoom = 10000;

    explicit TTreeInteraction(TCustomTree *tree);
    ~TTreeInteraction();
    TTreeInteraction(const TTreeInteraction &) = delete;
    TTreeInteraction &operator=(const TTreeInteraction &) = delete;

    // ---- Input, in client pixels (after the listeners declined it)
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void DoubleClick(TMouseButton button, TShiftState shift, int x, int y);
    void MouseMove(TShiftState shift, int x, int y);
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    // Answers whether the key was taken.
    bool KeyDown(int key, Qt::KeyboardModifiers modifiers);
    // The wheel turned by `angle` eighths of a degree (positive: up, away
    // from the user); each 120 is one notch.
    void Wheel(int angle);
    // The pointer left the control.
    void MouseLeave();

    // ---- Navigation (each selection through SelectOnly)
    enum TNavigation { navUp, navDown, navLeft, navRight, navHome, navEnd, navPageUp, navPageDown };
    void Navigate(TNavigation step);

    // ---- Zoom
    // Zooms so the rectangle (client pixels) fills the drawing; one smaller
    // than 5 pixels either way, or less than a unit across in the diagram,
    // does nothing. Answers whether the zoom changed.
    bool ZoomToRectangle(const TRect &rect);
    // The wheel's zoom step: down adds max(1, round(Zoom x 5 %)); up goes
    // back to the zoom that step came from.
    static int ZoomIn(int zoom);
    static int ZoomOut(int zoom);

    // ---- Rectangle tool (set by the editor): the next left press starts
    // the zoom rectangle, whose model rectangle goes to the callback at
    // the release (set `handled` to stop the selection or zoom).
    bool RectangleTool() const { return FRectangleTool; }
    void SetRectangleTool(bool value) { FRectangleTool = value; }
    std::function<void(const TRect &, bool &)> OnRectangle;

    // ---- Connecting interactively
    // Collects a first and a second node from presses while pending events
    // are processed; answers the new connection, null when cancelled
    // (Escape, a left press on the background, CancelConnecting, the
    // control or a chosen node going away).
    TTreeConnection *ConnectInteractively();
    void CancelConnecting();
    bool Connecting() const { return FConnecting; }

    // ---- Point-by-point shapes: the next left presses add vertices of a
    // new shape of the class; Escape ends it.
    void StartAdding(const TClassInfo *shapeClass);
    // Ends the adding (as Escape does); answers the shape made, if any.
    TPolygonShape *EndAdding();
    const TClassInfo *AddingClass() const { return FAddingClass; }
    TPolygonShape *AddingShape() const { return FAdding; }
    // Told after the adding ended with a shape (the editor selects its
    // tool again).
    std::function<void(TPolygonShape *)> OnAdded;

    // ---- State, for the overlays and tests
    TTreeNodeShape *ActiveShape() const { return FActive; }
    // Whether a press is moving or resizing nodes.
    bool DraggingShapes() const { return FPressed && FActive != nullptr; }
    TTreeShapeHandle ActiveHandle() const { return FHandle; }
    int DraggedPoint() const { return FDraggedPoint; }
    // The anchor a dragged connection end would take (1 .. 8), 0 none.
    int AnchorKind() const { return FAnchorKind; }
    TPoint AnchorPosition() const { return FAnchorPos; }
    bool RubberLineVisible() const { return FRubberVisible; }
    TPoint RubberStart() const { return FRubberStart; }
    TPoint RubberEnd() const { return FRubberEnd; }
    // The node under the pointer whose hint shows (null: none).
    TTreeNodeShape *HintShape() const { return FHintShape; }
    const QString &HintText() const { return FHintText; }
    // Where the hint goes: above the top-left of the node, client pixels.
    TPoint HintPosition() const;

    // ---- What the view asks
    bool HasOverlays() const;
    void DrawOverlays(TKorCanvas3D *canvas);
    // An element goes away (null: all of them).
    void Forget(const TComponent *element);
    // The grid the moves snap to (diagram units).
    int GridStepX() const;
    int GridStepY() const;

private:
    struct TKeyStep
    {
        int DX;
        int DY;
    };
    // Press steps.
    void PressLeft(TShiftState shift, int x, int y, const TPoint &model);
    bool PressConnectionPoint(const TPoint &model, int x, int y);
    bool PressShapes(TShiftState shift, int x, int y, const TPoint &model, TMouseButton button);
    void PressShapeDesign(TTreeNodeShape *shape, TShiftState shift, TMouseButton button, int x, int y);
    void PressShapeRun(TTreeNodeShape *shape, TShiftState shift, TMouseButton button, int x, int y);
    void ClickEvents(TTreeNodeShape *shape, TMouseButton button, TShiftState shift, int x, int y);
    void PressBackground(TMouseButton button, TShiftState shift, int x, int y);
    bool PressTextEditing(TMouseButton button, int x, int y);
    // Move steps.
    void MoveRubberLine(int x, int y);
    void DragShapes(TShiftState shift, int x, int y);
    void DragPoint(TShiftState shift, int x, int y);
    void Hover(TShiftState shift, int x, int y);
    bool HoverShapes(TShiftState shift, int x, int y);
    void SetHint(TTreeNodeShape *shape, const QString &text);
    void SetCursorCode(int code);
    // Release steps.
    void AnchorDraggedEnd(int point);
    void EndRubberBand();
    // Keys.
    void ActOnSelection(TKeyStep step, TShiftState shift);
    TTreeNodeShape *Above(TTreeNodeShape *node) const;
    TTreeNodeShape *Below(TTreeNodeShape *node) const;
    bool EnsureSelection();
    void EndAddingByEscape();
    // The step of the gesture in progress, begun at its first edit.
    void GestureEdits(const QString &description);
    void EndGesture();
    int SnapPixels(int &distance, int gridStep) const;
    TPoint ModelDelta(int px, int py) const;
    void SetZoomClamped(int zoom);

    TCustomTree *FTree;
    // The gesture.
    TPoint FLast;
    TTreeNodeShape *FActive = nullptr;
    TTreeShapeHandle FHandle = rcNone;
    int FDraggedPoint = -1;
    int FAnchorKind = 0;
    TPoint FAnchorPos;
    bool FHandled = false;
    bool FMoved = false;
    bool FPressed = false;
    std::unique_ptr<TTreeStep> FGestureStep;
    // Connecting.
    bool FConnecting = false;
    bool FCancelConnecting = false;
    TTreeNodeShape *FFirst = nullptr;
    TTreeNodeShape *FSecond = nullptr;
    TPoint FRubberStart;
    TPoint FRubberEnd;
    bool FRubberVisible = false;
    // Point-by-point adding.
    const TClassInfo *FAddingClass = nullptr;
    TPolygonShape *FAdding = nullptr;
    // The rectangle tool.
    bool FRectangleTool = false;
    // Hover.
    TTreeNodeShape *FHintShape = nullptr;
    QString FHintText;
    int FCursor = 0;
    bool FCursorSet = false;
    int FWheelRest = 0;
    // The pointer's diagram position while a shape is added point by point.
    TPoint FFollow;
    // Set while the object goes: loops end.
    std::shared_ptr<bool> FAlive;
};
