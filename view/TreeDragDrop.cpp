// Drag and drop of nodes: the settings, the platform's drag (started by a
// run-mode press), and what the diagram under the pointer accepts and does
// with a drop.

#include "view/TreeDragDrop.h"

#include "view/CustomTree.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>

namespace {

// The drag in progress in this process: its diagram and node. The drag
// data carries only its type; a drop from elsewhere finds nothing here.
struct TDragSource
{
    QPointer<TCustomTree> Tree;
    TTreeNodeShape *Node = nullptr;
};

TDragSource &CurrentDrag()
{
    static TDragSource drag;
    return drag;
}

// Pixels from the top or bottom edge within which dragging scrolls.
constexpr int kScrollEdge = 15;
// Pixels one scroll step moves.
constexpr int kScrollLine = 10;

} // namespace

const TClassInfo &TTreeDragDrop::StaticClassInfo()
{
    using D = TTreeDragDrop;
    static const TClassInfo info = TClassBuilder<D>("TTreeDragDrop", TGraphicsObject::StaticClassInfo())
                                       .Boolean("Automatic", &D::Automatic, &D::SetAutomatic, false)
                                       .Boolean("DragRoots", &D::DragRoots, &D::SetDragRoots, true)
                                       .Boolean("DragToRoot", &D::DragToRoot, &D::SetDragToRoot, true)
                                       .Boolean("FromOtherTree", &D::FromOtherTree, &D::SetFromOtherTree, true)
                                       .Boolean("RemoveNodes", &D::RemoveNodes, &D::SetRemoveNodes, true)
                                       .Boolean("ToOtherTree", &D::ToOtherTree, &D::SetToOtherTree, true);
    return info;
}

void TTreeDragDrop::Assign(const TPersistent *source)
{
    auto *s = dynamic_cast<const TTreeDragDrop *>(source);
    if (!s) {
        TGraphicsObject::Assign(source);
        return;
    }
    SetAutomatic(s->FAutomatic);
    SetDragRoots(s->FDragRoots);
    SetDragToRoot(s->FDragToRoot);
    SetFromOtherTree(s->FFromOtherTree);
    SetToOtherTree(s->FToOtherTree);
    SetRemoveNodes(s->FRemoveNodes);
}

QString TTreeDragDrop::MimeType()
{
    return QStringLiteral("application/x-dendrix-node");
}

// ---------------------------------------------------------------------------
// The diagram's side

bool TCustomTree::CanDropShape(const TCustomTree *source, TTreeNodeShape *dragged, TTreeNodeShape *target) const
{
    if (!source || !dragged || !source->Shapes().Contains(dragged))
        return false;
    if (target && !Shapes().Contains(target))
        return false;
    const bool other = source != this;
    if (other && !(source->DragAndDrop()->ToOtherTree() && DragAndDrop()->FromOtherTree()))
        return false;
    if (target || !DragAndDrop()->DragToRoot()) {
        // Never under itself or its own subtree.
        return target && target != dragged && target != dragged->Parent() && !dragged->IsAncestorOf(target);
    }
    // To the roots: a node of another diagram always becomes one here.
    return other || dragged->Parent() != nullptr;
}

TTreeNodeShape *TCustomTree::DropShape(TCustomTree *source, TTreeNodeShape *dragged, TTreeNodeShape *target)
{
    if (!CanDropShape(source, dragged, target))
        return nullptr;
    TTreeStep step(this, QStringLiteral("Drag"));
    TTreeNodeShape *node = dragged;
    if (source != this) {
        // The node comes over with its subtree, named anew here; the
        // original stays only when the source keeps its nodes.
        node = CloneShape(dragged);
        if (!node)
            return nullptr;
        if (source->DragAndDrop()->RemoveNodes()) {
            TTreeStep sourceStep(source, QStringLiteral("Drag"));
            source->DeleteShape(dragged);
        }
        source->Invalidate();
    }
    if (target) {
        if (TTreeNodeShape *old = node->Parent()) {
            if (TTreeConnection *c = old->ConnectionTo(node))
                EditElement(c, QStringLiteral("FromShape"), [c, target] { c->SetFromShape(target); });
        } else if (!target->ConnectionTo(node)) {
            target->AddConnection(node);
        }
        SetShapeParent(node, target);
        EditElement(node, QStringLiteral("Visible"), [node, target] { node->SetVisible(target->Visible()); });
        if (target->Visible())
            SetShapeExpanded(target, true);
    } else {
        SetShapeParent(node, nullptr);
        EditElement(node, QStringLiteral("Visible"), [node] { node->SetVisible(true); });
    }
    Fire(OnDragDropShape, Self(), node, target);
    return node;
}

void TCustomTree::BeginShapeDrag(TTreeNodeShape *node)
{
    if (!node)
        return;
    TDragSource &drag = CurrentDrag();
    drag.Tree = this;
    drag.Node = node;
    // The offscreen platform runs no drag loop.
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    auto *d = new QDrag(this);
    auto *data = new QMimeData;
    data->setData(TTreeDragDrop::MimeType(), QByteArray());
    d->setMimeData(data);
    d->exec(Qt::MoveAction);
    // Ended, dropped or cancelled: the dragged node is forgotten.
    drag = TDragSource();
}

TTreeNodeShape *TCustomTree::DraggedShape(const QMimeData *data, TCustomTree **source) const
{
    TDragSource &drag = CurrentDrag();
    if (!data || !data->hasFormat(TTreeDragDrop::MimeType()) || !drag.Tree ||
        !drag.Tree->Shapes().Contains(drag.Node))
        return nullptr;
    if (source)
        *source = drag.Tree.data();
    return drag.Node;
}

void TCustomTree::dragEnterEvent(QDragEnterEvent *event)
{
    if (DraggedShape(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TCustomTree::dragMoveEvent(QDragMoveEvent *event)
{
    const QPoint p = event->position().toPoint();
    // Near the top or the bottom edge the view scrolls a line.
    TView3DOptions *o = View3DOptions();
    if (p.y() < kScrollEdge)
        o->SetVertOffset(o->VertOffset() + kScrollLine);
    else if (p.y() > height() - kScrollEdge)
        o->SetVertOffset(o->VertOffset() - kScrollLine);
    TCustomTree *source = nullptr;
    TTreeNodeShape *dragged = DraggedShape(event->mimeData(), &source);
    if (dragged && CanDropShape(source, dragged, ShapeAt(p.x(), p.y())))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TCustomTree::dropEvent(QDropEvent *event)
{
    const QPoint p = event->position().toPoint();
    TCustomTree *source = nullptr;
    TTreeNodeShape *dragged = DraggedShape(event->mimeData(), &source);
    if (dragged && DropShape(source, dragged, ShapeAt(p.x(), p.y())))
        event->acceptProposedAction();
    else
        event->ignore();
    CurrentDrag() = TDragSource();
}
