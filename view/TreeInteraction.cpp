// The control's input events handed to the interaction, the interaction's
// lifetime, and what it draws over the picture.

#include "view/TreeInteraction.h"

#include "canvas/PanelEvents.h"
#include "model/PolygonShape.h"
#include "view/CustomTree.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QToolTip>
#include <QWheelEvent>

TTreeInteraction::TTreeInteraction(TCustomTree *tree) : FTree(tree), FAlive(std::make_shared<bool>(true)) {}

TTreeInteraction::~TTreeInteraction()
{
    *FAlive = false;
    FCancelConnecting = true;
}

void TTreeInteraction::Forget(const TComponent *element)
{
    auto gone = [element](const void *p) { return p && (!element || p == element); };
    if (gone(FActive)) {
        FActive = nullptr;
        FHandle = rcNone;
    }
    if (gone(FFirst) || gone(FSecond)) {
        // A chosen end went: the connecting is cancelled.
        FFirst = FSecond = nullptr;
        if (FConnecting)
            FCancelConnecting = true;
        FRubberVisible = false;
    }
    if (gone(FAdding)) {
        FAdding = nullptr;
        FAddingClass = nullptr;
    }
    if (gone(FHintShape))
        SetHint(nullptr, QString());
    if (!element || element == FTree->Connections().Selected()) {
        FDraggedPoint = -1;
        FAnchorKind = 0;
        FTree->SetAnchorMarker(std::nullopt);
    }
    if (!element)
        EndGesture();
}

void TTreeInteraction::GestureEdits(const QString &description)
{
    if (!FGestureStep)
        FGestureStep = std::make_unique<TTreeStep>(FTree, description);
}

void TTreeInteraction::EndGesture()
{
    FTree->EndGeometryEdits();
    FGestureStep.reset();
}

int TTreeInteraction::GridStepX() const
{
    return FTree->Grid()->Step();
}

int TTreeInteraction::GridStepY() const
{
    return FTree->Grid()->VertStep();
}

// ---------------------------------------------------------------------------
// Overlays

bool TTreeInteraction::HasOverlays() const
{
    if (FRubberVisible || FAdding)
        return true;
    return FTree->HandlesOverPicture() &&
           (FTree->Selected().Count() > 0 || FTree->Connections().Selected() != nullptr);
}

void TTreeInteraction::DrawOverlays(TKorCanvas3D *canvas)
{
    if (FTree->HandlesOverPicture()) {
        const TRect visible = FTree->VisibleArea();
        const int grow = FTree->Selected().HandleSize() + 2;
        for (TTreeNodeShape *node : FTree->Selected().Nodes()) {
            if (!node->Visible() || !RectsIntersect(node->PaintBounds().Inflated(grow, grow), visible))
                continue;
            FTree->BeginDrawHandles();
            node->DrawHandles();
            FTree->EndDrawHandles();
        }
        if (TTreeConnection *c = FTree->Connections().Selected()) {
            FTree->BeginDrawHandles();
            c->DrawHandles();
            FTree->EndDrawHandles();
        }
    }
    const auto invertedPen = [&] {
        canvas->Pen().SetStyle(psSolid);
        canvas->Pen().SetWidth(1);
        canvas->Pen().SetColor(clBlack);
        canvas->Pen().SetMode(pmNotXor);
        canvas->SetBrushBitmap(QImage());
        canvas->Brush().SetStyle(bsClear);
    };
    if (FRubberVisible) {
        invertedPen();
        const TPoint a = canvas->ProjectPoint(FRubberStart.X, FRubberStart.Y, 0);
        const TPoint b = canvas->ProjectPoint(FRubberEnd.X, FRubberEnd.Y, 0);
        canvas->MoveTo(a.X, a.Y);
        canvas->LineTo(b.X, b.Y);
        canvas->Pen().SetMode(pmCopy);
    }
    if (FAdding) {
        invertedPen();
        TPointArray points = FAdding->Points()->Positions();
        if (!points.empty())
            points.back() = FFollow;
        for (TPoint &p : points)
            p = canvas->ProjectPoint(p.X, p.Y, 0);
        if (points.size() >= 2) {
            canvas->MoveTo(points[0].X, points[0].Y);
            for (size_t i = 1; i < points.size(); ++i)
                canvas->LineTo(points[i].X, points[i].Y);
            if (!FAdding->IsOpen() && points.size() > 2)
                canvas->LineTo(points[0].X, points[0].Y);
        }
        canvas->Pen().SetMode(pmCopy);
    }
}

// ---------------------------------------------------------------------------
// The control's side

bool TCustomTree::HandlesOverPicture() const
{
    return Designing() && !Selected().FullRedraw() && !Printing() && !Canvas()->Exporting();
}

bool TCustomTree::HasOverlays() const
{
    return TCustomKorPanelExtended::HasOverlays() || FAnchorMarker || (FInteraction && FInteraction->HasOverlays());
}

void TCustomTree::DrawOverlays(TKorCanvas3D *canvas)
{
    TCustomKorPanelExtended::DrawOverlays(canvas);
    FInteraction->DrawOverlays(canvas);
    DrawAnchorMarker();
}

void TCustomTree::ForgetElement(const TComponent *element)
{
    // The node being edited goes: the editing ends, nothing saved.
    if (FEditedShape && (!element || element == FEditedShape)) {
        FEditedShape = nullptr;
        if (QPlainTextEdit *edit = FTextEditor->Edit())
            edit->hide();
    }
    FGeometryOnly = false;
    FGeometryEdits.clear();
    FLayoutValid = false;
    if (FInteraction)
        FInteraction->Forget(element);
}

void TCustomTree::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    SetCancelMouse(false);
    if (focusPolicy() & Qt::ClickFocus)
        setFocus(Qt::MouseFocusReason);
    if (!Listeners().IsEmpty()) {
        TKorMouseEvent e(this, TKorMouseEventKind::Down, button, shift, x, y);
        Listeners().Send(e);
        if (e.Handled)
            return;
    }
    Fire(OnMouseDown, Self(), button, shift, x, y);
    if (shift & SetBit(ssDouble))
        FInteraction->DoubleClick(button, shift, x, y);
    else
        FInteraction->MouseDown(button, shift, x, y);
}

void TCustomTree::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    Fire(OnMouseUp, Self(), button, shift, x, y);
    FInteraction->MouseUp(button, shift, x, y);
}

void TCustomTree::MouseMove(TShiftState shift, int x, int y)
{
    if (!Listeners().IsEmpty()) {
        TKorMouseEvent e(this, TKorMouseEventKind::Move, mbLeft, shift, x, y);
        Listeners().Send(e);
        if (e.Handled)
            return;
    }
    Fire(OnMouseMove, Self(), shift, x, y);
    FInteraction->MouseMove(shift, x, y);
}

void TCustomTree::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    MouseDown(ButtonOf(event->button()),
              ShiftOf(event->modifiers(), event->buttons()) | SetBit(ssDouble), p.x(), p.y());
}

void TCustomTree::keyPressEvent(QKeyEvent *event)
{
    if (FInteraction->KeyDown(event->key(), event->modifiers()))
        event->accept();
    else
        TCustomKorPanelExtended::keyPressEvent(event);
}

void TCustomTree::wheelEvent(QWheelEvent *event)
{
    FInteraction->Wheel(event->angleDelta().y());
    event->accept();
}

void TCustomTree::focusInEvent(QFocusEvent *event)
{
    TCustomKorPanelExtended::focusInEvent(event);
    Selected().SetFocused(true);
    if (!Designing() && Selected().Count() > 0)
        RepaintPicture();
}

void TCustomTree::focusOutEvent(QFocusEvent *event)
{
    TCustomKorPanelExtended::focusOutEvent(event);
    Selected().SetFocused(false);
    if (!Designing() && Selected().Count() > 0)
        RepaintPicture();
}

void TCustomTree::leaveEvent(QEvent *event)
{
    TCustomKorPanelExtended::leaveEvent(event);
    FInteraction->MouseLeave();
}

void TCustomTree::paintEvent(QPaintEvent *event)
{
    if (FScrollPending && !Printing()) {
        FScrollPending = false;
        ScrollToView();
    }
    TCustomKorPanelExtended::paintEvent(event);
}

bool TCustomTree::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        if (FInteraction->HintShape() && !FInteraction->HintText().isEmpty())
            QToolTip::showText(mapToGlobal(FInteraction->HintPosition().ToQPoint()), FInteraction->HintText(), this);
        else
            QToolTip::hideText();
        event->accept();
        return true;
    }
    return TCustomKorPanelExtended::event(event);
}
