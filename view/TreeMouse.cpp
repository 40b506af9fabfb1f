// The mouse: the press (handles, nodes from the top-most, cross boxes,
// connections, the background), the double press, the moves of a gesture
// (panning, the zoom rectangle, moving and resizing nodes, dragging
// connection points, the rubber line of a connection being made) and the
// hover feedback, and the release (anchoring, box selection, zoom).

#include "core/Rounding.h"
#include "model/PolygonShape.h"
#include "model/TreeWalk.h"
#include "view/CustomTree.h"
#include "view/TreeInputMaps.h"
#include "view/TreeInteraction.h"

#include <QCoreApplication>
#include <QPointer>
#include <QToolTip>
#include <cmath>

namespace {

bool Has(TShiftState shift, TShiftStateFlag flag)
{
    return (shift & SetBit(flag)) != 0;
}

QString ShapeText(const TTreeNodeShape *node)
{
    QStringList lines;
    for (int i = 0; i < node->LineCount(); ++i)
        lines << node->Line(i);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

TPoint TTreeInteraction::ModelDelta(int px, int py) const
{
    const int zoom = FTree->View3DOptions()->Zoom();
    if (zoom == 0)
        return TPoint(0, 0);
    return TPoint(dx::Saturate(dx::RoundEvenWide(px * 100.0 / zoom)),
                  dx::Saturate(dx::RoundEvenWide(py * 100.0 / zoom)));
}

int TTreeInteraction::SnapPixels(int &distance, int gridStep) const
{
    // A grid step is at least a pixel on the screen, whatever the zoom.
    const int zoom = FTree->View3DOptions()->Zoom();
    const int step = std::max(1, static_cast<int>(dx::Saturate(dx::RoundEvenWide(gridStep * (zoom / 100.0)))));
    if (std::abs(distance) < step)
        distance = 0;
    else
        distance = distance / step * step;
    return distance;
}

// ---------------------------------------------------------------------------
// Press

void TTreeInteraction::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    FHandled = false;
    FPressed = true;
    const TPoint model = FTree->UnprojectPoint(TPoint(x, y));
    if (button != mbLeft) {
        if (TTreeNodeShape *shape = FTree->ShapeAt(x, y))
            ClickEvents(shape, button, shift, x, y);
    } else {
        if (FRectangleTool) {
            FTree->StartZoomRectangle(x, y);
            FHandled = true;
            return;
        }
        if (FAddingClass) {
            PressLeft(shift, x, y, model);
            return;
        }
        if (PressConnectionPoint(model, x, y)) {
            FActive = nullptr;
            FLast = TPoint(x, y);
            FHandled = true;
        } else if (PressShapes(shift, x, y, model, button)) {
            FHandled = true;
        }
        if (!FPressed) // the control went meanwhile
            return;
    }
    if (PressTextEditing(button, x, y))
        FHandled = true;
    if (!FHandled) {
        FTree->StopEditing(true);
        if (FTree->OnClickConnection)
            if (TTreeConnection *c = FTree->ConnectionAtPoint(x, y)) {
                FTree->OnClickConnection(c, button, shift, x, y);
                FHandled = true;
            }
    }
    if (!FHandled)
        PressBackground(button, shift, x, y);
}

void TTreeInteraction::PressLeft(TShiftState, int x, int y, const TPoint &model)
{
    // A shape drawn point by point: the first press makes it, each press
    // fixes the pointer's vertex and starts the next.
    FHandled = true;
    if (!FAdding) {
        TTreeStep step(FTree, QStringLiteral("Add shape"));
        FAdding = BeginPolygonDrawing(*FTree, *FAddingClass, model.X, model.Y);
        if (!FAdding) {
            FAddingClass = nullptr;
            return;
        }
        // Shown over the picture until it is finished.
        FAdding->SetVisible(false);
    } else {
        TPolygonShape *shape = FAdding;
        FTree->EditElement(shape, QStringLiteral("Points"), [shape, model] {
            shape->MoveLastVertex(model.X, model.Y);
            shape->AddVertex(model.X, model.Y);
        });
    }
    FFollow = model;
    FLast = TPoint(x, y);
    FTree->RepaintOverlays();
}

bool TTreeInteraction::PressConnectionPoint(const TPoint &model, int x, int y)
{
    TTreeConnection *c = FTree->Connections().Selected();
    FDraggedPoint = -1;
    if (!c)
        return false;
    const int d = FTree->Selected().HandleSize();
    for (int i = 0; i < c->Count(); ++i) {
        const TConnectionPoint &p = c->Points()[i];
        if (std::abs(int64_t(p.X) - model.X) <= d && std::abs(int64_t(p.Y) - model.Y) <= d) {
            FDraggedPoint = i;
            return true;
        }
    }
    if (!FTree->Designing())
        return false;
    // A press on the course adds a point there, dragged from now on.
    const int segment = c->ClickedSegment(x, y);
    if (segment < 0)
        return false;
    GestureEdits(QStringLiteral("Move point"));
    const int index = c->Style() == csCurve ? c->Count() : segment + 1;
    FDraggedPoint = FTree->InsertConnectionPoint(c, index, model);
    FTree->RepaintPicture();
    return FDraggedPoint >= 0;
}

bool TTreeInteraction::PressShapes(TShiftState shift, int x, int y, const TPoint &model, TMouseButton button)
{
    QPointer<QWidget> alive(FTree);
    const TTreeShapeList &shapes = FTree->Shapes();
    for (int i = shapes.Count(); i-- > 0;) {
        TTreeNodeShape *s = shapes[i];
        if (FTree->Designing() && s->Selected() && s->Visible()) {
            const TTreeShapeHandle h = s->GetResizingCorner(model.X, model.Y);
            if (h != rcNone) {
                FActive = s;
                FHandle = h;
                FLast = TPoint(x, y);
                return true;
            }
        }
        if (s->PointInShape(x, y)) {
            if (FConnecting) {
                if (!FFirst)
                    FFirst = s;
                else if (!FSecond)
                    FSecond = s;
            } else if (FTree->Designing()) {
                PressShapeDesign(s, shift, button, x, y);
            } else {
                PressShapeRun(s, shift, button, x, y);
            }
            if (!alive) {
                FPressed = false;
                return true;
            }
            // Handlers may have freed the node.
            if (FTree->Shapes().Contains(s))
                s->ShapeMouseDown(button, shift, x, y);
            return true;
        }
        if (s->PointInCross(x, y)) {
            FTree->SetShapeExpanded(s, !s->Expanded());
            return true;
        }
    }
    return false;
}

void TTreeInteraction::ClickEvents(TTreeNodeShape *shape, TMouseButton button, TShiftState shift, int x, int y)
{
    QPointer<QWidget> alive(FTree);
    Fire(FTree->OnClickShape, shape, button, shift, x, y);
    if (!alive || FTree->CancelMouse() || !FTree->Shapes().Contains(shape))
        return;
    if (const TNodeShapeEvents *events = shape->PeekEvents())
        Fire(events->OnClick, shape, button, shift, x, y);
}

void TTreeInteraction::PressShapeDesign(TTreeNodeShape *shape, TShiftState shift, TMouseButton button, int x, int y)
{
    FActive = shape;
    FHandle = rcNone;
    if (!shape->Selected() && !Has(shift, ssShift))
        FTree->Selected().Clear();
    if (Has(shift, ssCtrl))
        shape->SetSelected(!shape->Selected());
    else
        shape->SetSelected(true);
    // Alt takes the descendants in sight too.
    if (Has(shift, ssAlt))
        ForEachInSubtree(shape, [shape](TTreeNodeShape *n) {
            if (n != shape && n->Visible())
                n->SetSelected(true);
        });
    FLast = TPoint(x, y);
    ClickEvents(shape, button, shift, x, y);
}

void TTreeInteraction::PressShapeRun(TTreeNodeShape *shape, TShiftState shift, TMouseButton button, int x, int y)
{
    QPointer<QWidget> alive(FTree);
    ClickEvents(shape, button, shift, x, y);
    if (!alive || !FTree->Shapes().Contains(shape))
        return;
    if (!FTree->CancelMouse())
        Fire(FTree->OnMouseDown, static_cast<TObject *>(static_cast<TTreeDocument *>(FTree)), button, shift, x, y);
    if (!alive || !FTree->Shapes().Contains(shape))
        return;
    if (FTree->SingleSelection()) {
        if (!shape->Selected())
            FTree->SelectOnly(shape);
    } else {
        const TShiftState keys = FTree->Selected().ShiftState();
        if (keys != 0 && (shift & keys) != keys)
            FTree->SelectOnly(shape);
        else
            shape->SetSelected(!shape->Selected());
    }
    FActive = shape;
    FLast = TPoint(x, y);
    const TTreeDragDrop *dnd = FTree->DragAndDrop();
    if (dnd->Automatic() && (dnd->DragRoots() || shape->Parent()))
        FTree->BeginShapeDrag(shape);
}

bool TTreeInteraction::PressTextEditing(TMouseButton button, int x, int y)
{
    return FTree->StartEditingByMouse(button, x, y);
}

void TTreeInteraction::PressBackground(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == FTree->ScrollMouseButton() && FTree->AllowPanning() != pmNone)
        FTree->StartPanning(x, y);
    if (button == mbLeft) {
        if (FConnecting)
            CancelConnecting();
        else
            FTree->Selected().Clear();
    }
    const TKorZoom *zoom = FTree->Zoom();
    if (zoom->Allow() && button == zoom->MouseButton() && (shift & zoom->KeyShift()) == zoom->KeyShift()) {
        FTree->StartZoomRectangle(x, y);
        FHandled = true;
    }
    Fire(FTree->OnClickBackground, static_cast<TObject *>(static_cast<TTreeDocument *>(FTree)), button, shift, x, y);
}

void TTreeInteraction::DoubleClick(TMouseButton button, TShiftState shift, int x, int y)
{
    QPointer<QWidget> alive(FTree);
    FHandled = false;
    FPressed = true;
    if (TTreeNodeShape *shape = FTree->ShapeAt(x, y)) {
        Fire(FTree->OnDblClickShape, shape, button, shift, x, y);
        if (!alive || !FTree->Shapes().Contains(shape))
            return;
        if (const TNodeShapeEvents *events = shape->PeekEvents())
            Fire(events->OnDblClick, shape, button, shift, x, y);
        if (!alive || !FTree->Shapes().Contains(shape))
            return;
        if (button == mbLeft && !FTree->CancelMouse())
            FTree->SetShapeExpanded(shape, !shape->Expanded());
        FHandled = true;
        return;
    }
    if (button == mbLeft) {
        const TTreeShapeList &shapes = FTree->Shapes();
        for (int i = shapes.Count(); i-- > 0;)
            if (shapes[i]->PointInCross(x, y)) {
                FTree->SetShapeExpanded(shapes[i], !shapes[i]->Expanded());
                FHandled = true;
                return;
            }
    }
    if (TTreeConnection *c = FTree->ConnectionAtPoint(x, y))
        Fire(FTree->OnDblClickConnection, c, button, shift, x, y);
}

// ---------------------------------------------------------------------------
// Move

void TTreeInteraction::MouseMove(TShiftState shift, int x, int y)
{
    if (!FTree->Drawn())
        return;
    if (FConnecting && FFirst) {
        MoveRubberLine(x, y);
        Hover(shift, x, y);
        return;
    }
    if (FAdding) {
        FFollow = FTree->UnprojectPoint(TPoint(x, y));
        FTree->RepaintOverlays();
        return;
    }
    if (FTree->Panning().Active()) {
        FTree->PanTo(x, y);
        FLast = TPoint(x, y);
        FMoved = true;
        FHandled = true;
        return;
    }
    if (FTree->Zoom()->Active()) {
        FTree->MoveZoomRectangle(x, y);
        return;
    }
    if (FTree->Designing() && FActive && FPressed) {
        DragShapes(shift, x, y);
        return;
    }
    if (FTree->Designing() && FDraggedPoint >= 0 && FPressed) {
        DragPoint(shift, x, y);
        return;
    }
    Hover(shift, x, y);
}

void TTreeInteraction::MoveRubberLine(int x, int y)
{
    const TPoint model = FTree->UnprojectPoint(TPoint(x, y));
    if (TTreeNodeShape *over = FTree->ShapeAt(x, y); over && over != FFirst)
        FRubberStart = FFirst->CalcConnectionPoint(over->ConnectionRect());
    FRubberEnd = model;
    FRubberVisible = true;
    FTree->RepaintOverlays();
}

void TTreeInteraction::DragShapes(TShiftState shift, int x, int y)
{
    int px = x - FLast.X;
    int py = y - FLast.Y;
    const int zoom = FTree->View3DOptions()->Zoom();
    const bool snap = FTree->SnapToGrid() && !Has(shift, ssCtrl);
    if (snap) {
        SnapPixels(px, GridStepX());
        SnapPixels(py, GridStepY());
    }
    const TPoint d = ModelDelta(px, py);
    // The pointer's place is kept as far as the diagram followed it, so
    // movements too small for a unit add up instead of getting lost.
    if (snap) {
        FLast.X += d.X != 0 ? px : 0;
        FLast.Y += d.Y != 0 ? py : 0;
    } else {
        FLast.X += static_cast<int>(dx::Saturate(dx::RoundEvenWide(d.X * (zoom / 100.0))));
        FLast.Y += static_cast<int>(dx::Saturate(dx::RoundEvenWide(d.Y * (zoom / 100.0))));
    }
    if (d.X == 0 && d.Y == 0)
        return;
    if (FHandle != rcNone) {
        GestureEdits(QStringLiteral("Resize"));
        FTree->ResizeShape(FActive, FHandle, d.X, d.Y);
        return;
    }
    GestureEdits(QStringLiteral("Move"));
    const bool children = !Has(shift, ssAlt);
    for (TTreeNodeShape *node : FTree->Selected().Nodes()) {
        if (!FTree->Shapes().Contains(node))
            continue;
        // Only the top-most selected nodes move: with their subtrees, where
        // the others go along once, or with Alt alone, leaving everything
        // under them (an Alt press selects the descendants too) in place.
        bool under = false;
        for (const TTreeNodeShape *p = node->Parent(); p && !under; p = p->Parent())
            under = p->Selected();
        if (under)
            continue;
        FTree->MoveShape(node, d.X, d.Y, children);
    }
}

void TTreeInteraction::DragPoint(TShiftState shift, int x, int y)
{
    TTreeConnection *c = FTree->Connections().Selected();
    if (!c || !c->Points().IsValid(FDraggedPoint))
        return;
    const int zoom = FTree->View3DOptions()->Zoom();
    const TPoint d = ModelDelta(x - FLast.X, y - FLast.Y);
    FLast.X += static_cast<int>(dx::Saturate(dx::RoundEvenWide(d.X * (zoom / 100.0))));
    FLast.Y += static_cast<int>(dx::Saturate(dx::RoundEvenWide(d.Y * (zoom / 100.0))));
    if (d.X != 0 || d.Y != 0) {
        GestureEdits(QStringLiteral("Move point"));
        FTree->MoveConnectionPoint(c, FDraggedPoint, d.X, d.Y);
        c->CalcPoints();
    }
    // An end near an anchor of its node would be fixed there.
    FAnchorKind = 0;
    const bool first = FDraggedPoint == 0;
    const bool last = FDraggedPoint == c->Count() - 1;
    TTreeNodeShape *end = first ? c->FromShape() : last ? c->ToShape() : nullptr;
    if (end && !Has(shift, ssShift)) {
        const TConnectionPoint &p = c->Points()[FDraggedPoint];
        const int grow = 1 + (end->EffectiveBorder()->Visible() ? 1 : 0);
        const int l = end->X0(), t = end->Y0();
        const int r = end->X1() + grow, b = end->Y1() + grow;
        const int mx = dx::HalfSum(l, r), my = dx::HalfSum(t, b);
        const struct
        {
            int Kind, X, Y;
        } anchors[] = {{1, l, t}, {3, l, b}, {4, r, t}, {2, r, b}, {5, l, my}, {7, r, my}, {6, mx, t}, {8, mx, b}};
        for (const auto &a : anchors)
            if (std::abs(int64_t(p.X) - a.X) <= 3 && std::abs(int64_t(p.Y) - a.Y) <= 3) {
                FAnchorKind = a.Kind;
                FAnchorPos = TPoint(a.X, a.Y);
                break;
            }
    }
    FTree->SetAnchorMarker(FAnchorKind ? std::optional<TPoint>(FAnchorPos) : std::nullopt);
}

void TTreeInteraction::SetCursorCode(int code)
{
    if (FCursorSet && FCursor == code)
        return;
    FCursor = code;
    FCursorSet = true;
    if (code == crDefault)
        FTree->unsetCursor();
    else
        FTree->setCursor(TreeInput::CursorShapeOf(static_cast<TCursor>(code)));
}

void TTreeInteraction::Hover(TShiftState shift, int x, int y)
{
    if (FTree->Designing()) {
        const TPoint model = FTree->UnprojectPoint(TPoint(x, y));
        if (TTreeConnection *c = FTree->Connections().Selected())
            if (c->PointAt(x, y) >= 0) {
                SetCursorCode(crCross);
                return;
            }
        for (TTreeNodeShape *node : FTree->Selected().Nodes())
            if (node->Visible() && node->GetResizingCorner(model.X, model.Y) != rcNone) {
                SetCursorCode(node->GetResizingCursor(model.X, model.Y));
                return;
            }
    }
    if (HoverShapes(shift, x, y))
        return;
    if (TTreeConnection *c = FTree->ConnectionAtPoint(x, y)) {
        SetCursorCode(FTree->Designing() && FTree->OnClickConnection ? crHandPoint : c->Cursor());
        return;
    }
    SetCursorCode(crDefault);
    SetHint(nullptr, QString());
}

bool TTreeInteraction::HoverShapes(TShiftState shift, int x, int y)
{
    QPointer<QWidget> alive(FTree);
    const bool repaintHot = FTree->HotTrack()->Active() && !FTree->Designing();
    bool under = false;
    bool hotChanged = false;
    const TTreeShapeList &shapes = FTree->Shapes();
    for (int i = shapes.Count(); i-- > 0;) {
        if (i >= FTree->Shapes().Count())
            continue; // handlers freed nodes meanwhile
        TTreeNodeShape *s = shapes[i];
        if (!s->Visible()) {
            if (s->Hot())
                s->SetHot(false);
            continue;
        }
        if (!s->PointInShape(x, y)) {
            if (s->Hot()) {
                s->SetHot(false);
                hotChanged = true;
                if (const TNodeShapeEvents *events = s->PeekEvents())
                    Fire(events->OnMouseLeave, s, shift, x, y);
                if (!alive)
                    return true;
                Fire(FTree->OnMouseLeaveShape, s, shift, x, y);
                if (!alive)
                    return true;
            }
            if (!under && FTree->Shapes().Contains(s) && s->PointInCross(x, y)) {
                SetCursorCode(crDefault);
                if (hotChanged && repaintHot)
                    FTree->Invalidate();
                return true;
            }
            continue;
        }
        under = true;
        if (!s->Hot()) {
            s->SetHot(true);
            hotChanged = true;
            if (const TNodeShapeEvents *events = s->PeekEvents())
                Fire(events->OnMouseEnter, s, shift, x, y);
            if (!alive)
                return true;
            Fire(FTree->OnMouseEnterShape, s, shift, x, y);
            if (!alive)
                return true;
            if (!FTree->Shapes().Contains(s))
                continue;
        }
        if (s->Cursor() != crDefault || FCursor != crDefault)
            SetCursorCode(s->Cursor());
        // A node that reaches past the window's edge shows its text.
        bool hint = false;
        if (FTree->ShowHintShapes() && s->LineCount() > 0) {
            const TPoint o = FTree->DrawOffset();
            const TRect r = s->Bounds().Offset(o.X, o.Y);
            const TPoint tl = FTree->ProjectPoint(r.TopLeft());
            const TPoint br = FTree->ProjectPoint(r.BottomRight());
            const TRect edge = FTree->DrawingBounds();
            hint = br.X > edge.Right || br.Y > edge.Bottom || tl.X < edge.Left || tl.Y < edge.Top;
        }
        if (hint) {
            QString text = ShapeText(s);
            Fire(FTree->OnShowHint, static_cast<TObject *>(static_cast<TTreeDocument *>(FTree)), s, text);
            if (!alive)
                return true;
            SetHint(text.isEmpty() ? nullptr : s, text);
        } else {
            SetHint(nullptr, QString());
        }
        if (const TNodeShapeEvents *events = s->PeekEvents())
            Fire(events->OnMouseMove, s, shift, x, y);
        if (!alive)
            return true;
    }
    if (hotChanged && repaintHot)
        FTree->Invalidate();
    return under;
}

void TTreeInteraction::SetHint(TTreeNodeShape *shape, const QString &text)
{
    const bool changed = shape != FHintShape || text != FHintText;
    FHintShape = shape;
    FHintText = shape ? text : QString();
    if (!changed)
        return;
    if (FHintShape && FTree->isVisible())
        QToolTip::showText(FTree->mapToGlobal(HintPosition().ToQPoint()), FHintText, FTree);
    else if (!FHintShape)
        QToolTip::hideText();
}

TPoint TTreeInteraction::HintPosition() const
{
    if (!FHintShape)
        return TPoint();
    const TPoint o = FTree->DrawOffset();
    const TRect r = FHintShape->Bounds().Offset(o.X, o.Y);
    return FTree->ProjectPoint(TPoint(r.Left, r.Top - 2));
}

void TTreeInteraction::MouseLeave()
{
    SetHint(nullptr, QString());
}

// ---------------------------------------------------------------------------
// Release

void TTreeInteraction::MouseUp(TMouseButton, TShiftState, int, int)
{
    FHandled = FMoved;
    const int dragged = FDraggedPoint;
    FMoved = false;
    FActive = nullptr;
    FDraggedPoint = -1;
    FHandle = rcNone;
    FPressed = false;
    FTree->StopPanning();
    if (FAnchorKind) {
        AnchorDraggedEnd(dragged);
        FAnchorKind = 0;
        FTree->SetAnchorMarker(std::nullopt);
        FTree->RepaintPicture();
    }
    if (FTree->Zoom()->Active())
        EndRubberBand();
    EndGesture();
}

void TTreeInteraction::AnchorDraggedEnd(int point)
{
    TTreeConnection *c = FTree->Connections().Selected();
    if (!c || point < 0)
        return;
    GestureEdits(QStringLiteral("Move point"));
    FTree->AnchorConnectionPoint(c, point, FAnchorKind);
}

void TTreeInteraction::EndRubberBand()
{
    const TRect r = FTree->EndZoomRectangle();
    const bool tool = FRectangleTool;
    if (OnRectangle) {
        const TRect model =
            TRect(FTree->UnprojectPoint(r.TopLeft()), FTree->UnprojectPoint(r.BottomRight())).Normalized();
        bool handled = false;
        OnRectangle(model, handled);
        if (handled)
            return;
    }
    (void)tool;
    if (FTree->Designing()) {
        const TRect model =
            TRect(FTree->UnprojectPoint(r.TopLeft()), FTree->UnprojectPoint(r.BottomRight())).Normalized();
        bool first = true;
        const std::vector<TTreeNodeShape *> shapes(FTree->Shapes().begin(), FTree->Shapes().end());
        for (TTreeNodeShape *s : shapes) {
            if (!s->Visible() || !FTree->Shapes().Contains(s))
                continue;
            const TRect dr = s->DrawRect().Normalized();
            // Touching counts: a rectangle of no size still meets what it lies on.
            const bool meets = dr.Left <= model.Right && model.Left <= dr.Right && dr.Top <= model.Bottom &&
                               model.Top <= dr.Bottom;
            if (!meets)
                continue;
            if (first) {
                FTree->Selected().Clear();
                first = false;
            }
            s->SetSelected(true);
        }
        return;
    }
    if (FTree->Zoom()->Allow() && ZoomToRectangle(r))
        Fire(FTree->OnZoom, static_cast<TObject *>(static_cast<TTreeDocument *>(FTree)));
}

bool TTreeInteraction::ZoomToRectangle(const TRect &rect)
{
    const TRect r = rect.Normalized();
    if (r.Width() < 5 || r.Height() < 5)
        return false;
    TView3DOptions *o = FTree->View3DOptions();
    const auto quiet = [this](bool on) { FTree->FQuietScroll = on; };
    quiet(true);
    struct TRestore
    {
        std::function<void()> Fn;
        ~TRestore() { Fn(); }
    } restore{[&] { quiet(false); }};
    const auto savedZoomChange = o->OnZoomChange;
    o->OnZoomChange = nullptr;
    struct TRestoreZoom
    {
        TView3DOptions *O;
        decltype(o->OnZoomChange) Fn;
        ~TRestoreZoom() { O->OnZoomChange = Fn; }
    } restoreZoom{o, savedZoomChange};
    if (o->Zoom() < 1)
        o->SetZoom(1);
    const TPoint a = FTree->UnprojectPoint(r.TopLeft());
    const TPoint b = FTree->UnprojectPoint(r.BottomRight());
    const double d = std::hypot(double(b.X) - a.X, double(b.Y) - a.Y);
    if (d < 1)
        return false;
    const TRect bounds = FTree->Drawn() ? FTree->DrawingBounds() : TRect(0, 0, FTree->width(), FTree->height());
    const TPoint c = RectCenter(bounds);
    // The rectangle's centre comes to the drawing's centre ...
    const TPoint rc = RectCenter(r);
    o->SetHorizOffset(dx::Saturate(int64_t(o->HorizOffset()) + c.X - rc.X));
    o->SetVertOffset(dx::Saturate(int64_t(o->VertOffset()) + c.Y - rc.Y));
    const TPoint m = FTree->UnprojectPoint(c);
    // ... and the zoom makes the rectangle's diagonal the drawing's.
    const double diagonal = std::hypot(double(bounds.Width()), double(bounds.Height()));
    const int zoom = static_cast<int>(std::clamp<double>(dx::RoundEvenWide(diagonal * 100.0 / d), kMinZoom, kMaxZoom));
    o->SetZoom(zoom);
    // The diagram point at the centre stays there.
    o->SetHorizOffset(dx::Saturate(dx::RoundEvenWide((double(c.X) - m.X) * zoom / 100.0)));
    o->SetVertOffset(dx::Saturate(dx::RoundEvenWide((double(c.Y) - m.Y) * zoom / 100.0)));
    FTree->SetZoomed(true);
    return true;
}

// ---------------------------------------------------------------------------
// Connecting

TTreeConnection *TTreeInteraction::ConnectInteractively()
{
    if (FConnecting)
        return nullptr;
    std::shared_ptr<bool> alive = FAlive;
    FConnecting = true;
    FCancelConnecting = false;
    FFirst = FSecond = nullptr;
    FRubberVisible = false;
    QPointer<QWidget> control(FTree);
    FTree->setFocus(Qt::OtherFocusReason);
    auto waiting = [&] { return *alive && control && !FCancelConnecting; };
    while (waiting() && !FFirst)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    if (waiting() && FFirst) {
        FRubberStart = TPoint(FFirst->X0(), FFirst->Y0());
        FRubberEnd = FRubberStart;
    }
    while (waiting() && !FSecond)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    if (!*alive || !control)
        return nullptr;
    TTreeConnection *made = nullptr;
    if (!FCancelConnecting && FFirst && FSecond) {
        TTreeStep step(FTree, QStringLiteral("Connect"));
        made = FFirst->AddConnection(FSecond);
    }
    FConnecting = false;
    FCancelConnecting = false;
    FFirst = FSecond = nullptr;
    FRubberVisible = false;
    FTree->RepaintOverlays();
    return made;
}

void TTreeInteraction::CancelConnecting()
{
    if (!FConnecting)
        return;
    FCancelConnecting = true;
    FRubberVisible = false;
    FTree->RepaintOverlays();
}

// ---------------------------------------------------------------------------
// Point-by-point shapes

void TTreeInteraction::StartAdding(const TClassInfo *shapeClass)
{
    EndAdding();
    if (shapeClass && shapeClass->InheritsFrom(TPolygonShape::StaticClassInfo()))
        FAddingClass = shapeClass;
}

TPolygonShape *TTreeInteraction::EndAdding()
{
    TPolygonShape *shape = FAdding;
    FAdding = nullptr;
    FAddingClass = nullptr;
    if (!shape)
        return nullptr;
    TTreeStep step(FTree, QStringLiteral("Add shape"));
    TPolygonShape *made = nullptr;
    if (shape->PointCount() <= 2) {
        // Nothing but the first press and the pointer's vertex.
        FTree->DeleteShape(shape);
    } else {
        FTree->EditElement(shape, QStringLiteral("Points"), [&] {
            shape->SetVisible(true);
            made = EndPolygonDrawing(shape);
        });
    }
    FTree->RepaintOverlays();
    FTree->Invalidate();
    if (made && OnAdded)
        OnAdded(made);
    return made;
}

void TTreeInteraction::EndAddingByEscape()
{
    EndAdding();
}
