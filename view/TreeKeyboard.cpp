// The keyboard and the wheel: deleting, expanding, check images, moving
// and resizing the selection by keys in design mode, navigation in the
// hierarchy, and wheel scrolling, zooming and navigating.

#include "canvas/PanelEvents.h"
#include "core/Rounding.h"
#include "view/CustomTree.h"
#include "view/TreeInteraction.h"

#include <QPointer>

namespace {

bool Has(TShiftState shift, TShiftStateFlag flag)
{
    return (shift & SetBit(flag)) != 0;
}

// The check image a node flips to, or its own when it has none.
TTreeNodeImageIndex FlippedCheck(TTreeNodeImageIndex index)
{
    switch (index) {
    case tiFolderCloseChecked: return tiFolderCloseUnChecked;
    case tiFolderCloseUnChecked: return tiFolderCloseChecked;
    case tiChecked: return tiUnChecked;
    case tiUnChecked: return tiChecked;
    default: return index;
    }
}

// The deepest last visible node of a subtree.
TTreeNodeShape *Deepest(TTreeNodeShape *node)
{
    while (node->Expanded() && node->HasChildren())
        node = node->Child(node->ChildCount() - 1);
    return node;
}

} // namespace

bool TTreeInteraction::KeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    const TShiftState shift = ShiftOf(modifiers);
    TSelectedShapeList &selected = FTree->Selected();
    switch (key) {
    case Qt::Key_Delete:
        if (FTree->AllowDelete() && !FTree->ReadOnly())
            FTree->DeleteSelected();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (TTreeNodeShape *node = selected.First()) {
            FTree->SetShapeExpanded(node, !node->Expanded());
            if (FTree->Shapes().Contains(node))
                FTree->SelectOnly(node);
        }
        return true;
    case Qt::Key_Escape:
        if (FTree->Editing())
            FTree->StopEditing(false);
        else if (FConnecting)
            CancelConnecting();
        else if (FAddingClass)
            EndAddingByEscape();
        else
            selected.Clear();
        return true;
    case Qt::Key_Space:
        if (!FTree->Designing() && !FTree->Editing()) {
            for (TTreeNodeShape *node : selected.Nodes()) {
                const TTreeNodeImageIndex flipped = FlippedCheck(node->ImageIndex());
                if (flipped != node->ImageIndex())
                    FTree->EditElement(node, QStringLiteral("ImageIndex"),
                                       [node, flipped] { node->SetImageIndex(flipped); });
            }
            return true;
        }
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End: {
        const int step = Has(shift, ssCtrl) && Has(shift, ssShift) ? 10 : 1;
        TKeyStep d{0, 0};
        if (key == Qt::Key_Left)
            d.DX = -step;
        else if (key == Qt::Key_Right)
            d.DX = step;
        else if (key == Qt::Key_Up || key == Qt::Key_PageUp || key == Qt::Key_Home)
            d.DY = -step;
        else
            d.DY = step;
        if (FTree->Designing() && (Has(shift, ssCtrl) || Has(shift, ssShift))) {
            ActOnSelection(d, shift);
            return true;
        }
        static const struct
        {
            int Key;
            TNavigation Step;
        } steps[] = {{Qt::Key_Left, navLeft},     {Qt::Key_Right, navRight},      {Qt::Key_Up, navUp},
                     {Qt::Key_Down, navDown},     {Qt::Key_PageUp, navPageUp},    {Qt::Key_PageDown, navPageDown},
                     {Qt::Key_Home, navHome},     {Qt::Key_End, navEnd}};
        for (const auto &s : steps)
            if (s.Key == key)
                Navigate(s.Step);
        return true;
    }
    default:
        break;
    }
    return FTree->StartEditingByKey(key, modifiers);
}

void TTreeInteraction::ActOnSelection(TKeyStep step, TShiftState shift)
{
    const std::vector<TTreeNodeShape *> nodes = FTree->Selected().Nodes();
    if (nodes.empty())
        return;
    if (Has(shift, ssCtrl)) {
        // Children move along only with Alt.
        const bool children = Has(shift, ssAlt);
        TTreeStep edit(FTree, QStringLiteral("Move"));
        for (TTreeNodeShape *node : nodes) {
            if (!FTree->Shapes().Contains(node))
                continue;
            bool carried = false;
            for (const TTreeNodeShape *p = node->Parent(); children && p && !carried; p = p->Parent())
                carried = p->Selected();
            if (!carried)
                FTree->MoveShape(node, step.DX, step.DY, children);
        }
        return;
    }
    TTreeStep edit(FTree, QStringLiteral("Resize"));
    for (TTreeNodeShape *node : nodes)
        if (FTree->Shapes().Contains(node))
            FTree->ResizeShape(node, rcRightBottom, step.DX, step.DY);
}

// ---------------------------------------------------------------------------
// Navigation

bool TTreeInteraction::EnsureSelection()
{
    if (FTree->Selected().Count() > 0)
        return false;
    if (TTreeNodeShape *root = FTree->Roots().First())
        FTree->SelectOnly(root);
    return true;
}

TTreeNodeShape *TTreeInteraction::Above(TTreeNodeShape *node) const
{
    if (TTreeNodeShape *parent = node->Parent()) {
        if (node->BrotherIndex() <= 0)
            return parent->Visible() ? parent : nullptr;
        return Deepest(parent->Child(node->BrotherIndex() - 1));
    }
    const int index = FTree->Roots().IndexOf(node);
    return index > 0 ? Deepest(FTree->Roots()[index - 1]) : nullptr;
}

TTreeNodeShape *TTreeInteraction::Below(TTreeNodeShape *node) const
{
    if (node->Expanded() && node->HasChildren())
        return node->Child(0);
    for (TTreeNodeShape *n = node; n; n = n->Parent()) {
        if (TTreeNodeShape *parent = n->Parent()) {
            if (TTreeNodeShape *next = parent->Child(n->BrotherIndex() + 1))
                return next;
        } else {
            return FTree->Roots().Items(FTree->Roots().IndexOf(n) + 1);
        }
    }
    return nullptr;
}

void TTreeInteraction::Navigate(TNavigation step)
{
    QPointer<QWidget> alive(FTree);
    const TNodeShapeList &roots = FTree->Roots();
    if (roots.IsEmpty())
        return;
    if (step == navHome) {
        FTree->SelectOnly(roots.First());
        return;
    }
    if (step == navEnd) {
        FTree->SelectOnly(Deepest(roots.Last()));
        return;
    }
    if (EnsureSelection())
        return;
    const int count = step == navPageUp || step == navPageDown ? 20 : 1;
    for (int i = 0; i < count && alive; ++i) {
        TTreeNodeShape *node = FTree->Selected().First();
        if (!node)
            return;
        TTreeNodeShape *to = nullptr;
        switch (step) {
        case navLeft:
            if (node->Expanded()) {
                FTree->SetShapeExpanded(node, false);
                if (alive && FTree->Shapes().Contains(node))
                    FTree->SelectOnly(node);
                return;
            }
            to = Above(node);
            break;
        case navRight:
            if (!node->Expanded() && (node->HasChildren() || node->ShowCross() == scAlways)) {
                FTree->SetShapeExpanded(node, true);
                if (alive && FTree->Shapes().Contains(node))
                    FTree->SelectOnly(node);
                return;
            }
            to = Below(node);
            break;
        case navUp:
        case navPageUp:
            to = Above(node);
            break;
        default:
            to = Below(node);
            break;
        }
        // At either end the selection stays where it is.
        if (!to || !FTree->SelectOnly(to))
            return;
    }
}

// ---------------------------------------------------------------------------
// Wheel and zoom

int TTreeInteraction::ZoomIn(int zoom)
{
    const long long step = std::max<long long>(1, dx::RoundEvenWide(zoom * 0.05));
    return static_cast<int>(std::clamp<long long>(zoom + step, kMinZoom, kMaxZoom));
}

int TTreeInteraction::ZoomOut(int zoom)
{
    if (zoom <= kMinZoom)
        return kMinZoom;
    // The largest zoom whose step in lands at or below this one, so a step
    // in and a step out come back to where they started.
    long long z = std::max<long long>(kMinZoom, static_cast<long long>(zoom / 1.05) - 2);
    while (z + 1 < zoom && ZoomIn(static_cast<int>(z + 1)) <= zoom)
        ++z;
    while (z > kMinZoom && ZoomIn(static_cast<int>(z)) > zoom)
        --z;
    return static_cast<int>(std::min<long long>(z, zoom - 1));
}

void TTreeInteraction::SetZoomClamped(int zoom)
{
    FTree->View3DOptions()->SetZoom(std::clamp(zoom, kMinZoom, kMaxZoom));
}

void TTreeInteraction::Wheel(int angle)
{
    FWheelRest += angle;
    while (std::abs(FWheelRest) >= 120) {
        const bool down = FWheelRest < 0;
        FWheelRest += down ? 120 : -120;
        TView3DOptions *o = FTree->View3DOptions();
        switch (FTree->WheelNavigation()) {
        case wnSelection: Navigate(down ? navDown : navUp); break;
        case wnScrollVert: o->SetVertOffset(dx::Saturate(int64_t(o->VertOffset()) + (down ? -20 : 20))); break;
        case wnScrollHoriz: o->SetHorizOffset(dx::Saturate(int64_t(o->HorizOffset()) + (down ? -2 : 2))); break;
        case wnZoom:
            if (down)
                SetZoomClamped(ZoomIn(o->Zoom()));
            else if (o->Zoom() > kMinZoom)
                SetZoomClamped(ZoomOut(o->Zoom()));
            break;
        case wnNone: break;
        }
    }
}
