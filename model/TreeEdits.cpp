// The diagram's edit operations and the change notices they send.

#include "model/TreeDocument.h"

#include <algorithm>
#include <climits>
#include <unordered_set>

TTreeStep::TTreeStep(TTreeDocument *tree, const QString &description) : FTree(tree)
{
    if (FTree)
        FTree->BeginStep(description);
}

TTreeStep::~TTreeStep()
{
    if (FTree)
        FTree->EndStep();
}

TTreeQuietChanges::TTreeQuietChanges(TTreeDocument *tree) : FTree(tree)
{
    if (FTree)
        FTree->SuspendChanges();
}

TTreeQuietChanges::~TTreeQuietChanges()
{
    if (FTree)
        FTree->ResumeChanges();
}

void TTreeDocument::AddChangeListener(TTreeChangeListener *listener)
{
    if (listener && std::find(FChangeListeners.begin(), FChangeListeners.end(), listener) == FChangeListeners.end())
        FChangeListeners.push_back(listener);
}

void TTreeDocument::RemoveChangeListener(TTreeChangeListener *listener)
{
    FChangeListeners.erase(std::remove(FChangeListeners.begin(), FChangeListeners.end(), listener),
                           FChangeListeners.end());
}

void TTreeDocument::AddAttachment(TTreeAttachment *attachment)
{
    if (attachment && std::find(FAttachments.begin(), FAttachments.end(), attachment) == FAttachments.end())
        FAttachments.push_back(attachment);
}

void TTreeDocument::RemoveAttachment(TTreeAttachment *attachment)
{
    FAttachments.erase(std::remove(FAttachments.begin(), FAttachments.end(), attachment), FAttachments.end());
}

TTreeAttachment *TTreeDocument::AttachmentOf(const TComponent *component) const
{
    if (!component)
        return nullptr;
    for (TTreeAttachment *a : FAttachments)
        if (a->HoldsPart(component))
            return a;
    return nullptr;
}

namespace {

// Calls every listener, also when one removes itself (or another) meanwhile.
template <class Fn>
void SendToListeners(const std::vector<TTreeChangeListener *> &listeners, Fn fn)
{
    const std::vector<TTreeChangeListener *> items = listeners;
    for (TTreeChangeListener *l : items)
        if (std::find(listeners.begin(), listeners.end(), l) != listeners.end())
            fn(l);
}

TTreeChange MoveNotice(TTreeNodeShape *node, int dx, int dy, bool withChildren)
{
    TTreeChange change;
    change.Kind = tckMoved;
    change.Element = node;
    change.DX = dx;
    change.DY = dy;
    change.WithChildren = withChildren;
    return change;
}

} // namespace

void TTreeDocument::BeginStep(const QString &description)
{
    if (FStepDepth++ == 0 && !FChangeListeners.empty())
        SendToListeners(FChangeListeners, [&](TTreeChangeListener *l) { l->TreeStepBegin(this, description); });
}

void TTreeDocument::EndStep()
{
    if (FStepDepth <= 0)
        return;
    if (--FStepDepth == 0 && !FChangeListeners.empty())
        SendToListeners(FChangeListeners, [&](TTreeChangeListener *l) { l->TreeStepEnd(this); });
}

void TTreeDocument::BeginReplace()
{
    if (FReplaceDepth++ == 0 && !FChangeListeners.empty())
        SendToListeners(FChangeListeners, [&](TTreeChangeListener *l) { l->TreeReplacing(this); });
}

void TTreeDocument::EndReplace()
{
    if (FReplaceDepth <= 0)
        return;
    if (--FReplaceDepth == 0 && !FChangeListeners.empty())
        SendToListeners(FChangeListeners, [&](TTreeChangeListener *l) { l->TreeReplaced(this); });
}

void TTreeDocument::NotifyChanging(const TTreeChange &change)
{
    if (NoticesActive())
        SendToListeners(FChangeListeners, [&](TTreeChangeListener *l) { l->TreeChanging(this, change); });
}

void TTreeDocument::NotifyChanged(const TTreeChange &change)
{
    if (NoticesActive())
        SendToListeners(FChangeListeners, [&](TTreeChangeListener *l) { l->TreeChanged(this, change); });
}

void TTreeDocument::NotifyRemoved(const TComponent *element)
{
    if (NoticesActive())
        SendToListeners(FChangeListeners, [&](TTreeChangeListener *l) { l->TreeRemoved(this, element); });
}

void TTreeDocument::DeleteShape(TTreeNodeShape *node)
{
    if (!node || node->Tree() != this)
        return;
    TTreeChange change;
    change.Kind = tckRemoving;
    change.Element = node;
    NotifyChanging(change);
    delete node;
    NotifyRemoved(node);
}

bool TTreeDocument::DeleteConnection(TTreeConnection *connection, bool ask)
{
    if (!connection || !FConnections.Contains(connection))
        return false;
    bool allow = true;
    if (ask)
        Fire(FConnections.OnDeleting, connection, allow);
    if (!allow)
        return false;
    TTreeChange change;
    change.Kind = tckRemoving;
    change.Element = connection;
    NotifyChanging(change);
    delete connection;
    NotifyRemoved(connection);
    return true;
}

void TTreeDocument::MoveShape(TTreeNodeShape *node, int dx, int dy, bool withChildren)
{
    if (!node)
        return;
    TTreeChange change = MoveNotice(node, dx, dy, withChildren);
    NotifyChanging(change);
    // What OnMovingShape let through is what the listeners hear after.
    const TPoint moved = node->UserMove(dx, dy, withChildren);
    change.DX = moved.X;
    change.DY = moved.Y;
    NotifyChanged(change);
}

void TTreeDocument::ShiftShape(TTreeNodeShape *node, int dx, int dy, bool withChildren,
                               const TTreeShapeAutoPosition *autoPosition)
{
    if (!node || node->Tree() != this)
        return;
    const TTreeChange change = MoveNotice(node, dx, dy, withChildren);
    NotifyChanging(change);
    if (dx != 0 || dy != 0)
        node->MoveRelative(dx, dy, withChildren);
    node->SetAutoPosition(autoPosition);
    NotifyChanged(change);
}

void TTreeDocument::PlaceShape(TTreeNodeShape *node, TTreeNodeShape *parent, int brotherIndex, int shapeIndex)
{
    if (!node || node->Tree() != this)
        return;
    if (parent && (parent == node || parent->Tree() != this || node->IsAncestorOf(parent)))
        return;
    TTreeChange change;
    change.Kind = parent != node->FParent ? tckParent : tckOrder;
    change.Element = node;
    NotifyChanging(change);
    if (parent != node->FParent) {
        if (TTreeNodeShape *old = node->FParent) {
            const int index = old->FChildren ? old->FChildren->IndexOf(node) : -1;
            if (index >= 0) {
                old->FChildren->Delete(index);
                old->RenumberChildren(index);
            }
        } else {
            FRoots.Remove(node);
        }
        node->FParent = parent;
        if (parent) {
            TNodeShapeList &children = parent->ChildList();
            const int index = std::clamp(brotherIndex, 0, children.Count());
            children.Insert(index, node);
            parent->RenumberChildren(index);
        } else {
            node->FBrotherIndex = -1;
            FRoots.Insert(std::clamp(brotherIndex, 0, FRoots.Count()), node);
        }
    } else if (parent) {
        const int from = node->FBrotherIndex;
        const int to = std::clamp(brotherIndex, 0, parent->ChildCount() - 1);
        if (from != to && parent->FChildren) {
            parent->FChildren->Move(from, to);
            parent->RenumberChildren(std::min(from, to));
        }
    } else {
        FRoots.Move(FRoots.IndexOf(node), std::clamp(brotherIndex, 0, FRoots.Count() - 1));
    }
    FShapes.Move(FShapes.IndexOf(node), std::clamp(shapeIndex, 0, FShapes.Count() - 1));
    node->Changed();
    NotifyChanged(change);
}

void TTreeDocument::RestoreElements(std::vector<TReturningShape> &shapes, std::vector<TReturningConnection> &connections)
{
    TComponent *owner = ElementOwner();
    // A name taken meanwhile gives way: the element still comes back.
    auto join = [](TComponent *owner, TComponent *element) {
        if (!owner) {
            if (!element->Name().isEmpty())
                element->SetName(QString());
            return;
        }
        if (!element->Name().isEmpty() && owner->FindComponent(element->Name()))
            element->SetName(owner->FirstFreeName(TComponent::NameBase(element->ClassName())));
        owner->InsertComponent(element);
    };
    std::unordered_set<const TTreeNodeShape *> arriving;
    arriving.reserve(shapes.size());
    for (const TReturningShape &s : shapes)
        arriving.insert(s.Node.get());

    std::vector<std::pair<int, TTreeNodeShape *>> inShapes;
    inShapes.reserve(shapes.size());
    struct TTop
    {
        TTreeNodeShape *Node;
        TTreeNodeShape *Parent;
        int Index;
    };
    std::vector<TTop> tops;
    for (TReturningShape &s : shapes) {
        if (!s.Node)
            continue;
        join(owner, s.Node.get());
        TTreeNodeShape *node = s.Node.release();
        node->FTree = this;
        node->FSelected = false;
        inShapes.emplace_back(s.ShapeIndex < 0 ? INT_MAX : s.ShapeIndex, node);
        if (s.Parent && arriving.count(s.Parent)) {
            node->FParent = s.Parent;
            s.Parent->AppendChild(node);
        } else {
            if (s.Parent && s.Parent->Tree() != this)
                s.Parent = nullptr;
            tops.push_back({node, s.Parent, s.BrotherIndex});
        }
        node->FVisible = s.Visible;
        node->FX0 = s.Edges.Left;
        node->FY0 = s.Edges.Top;
        node->FX1 = s.Edges.Right;
        node->FY1 = s.Edges.Bottom;
        node->FSizeValid = !node->FAutoSize;
    }
    // Brothers arriving together go in in rising order of their places.
    std::stable_sort(tops.begin(), tops.end(), [](const TTop &a, const TTop &b) { return a.Index < b.Index; });
    for (const TTop &t : tops) {
        if (t.Parent) {
            TNodeShapeList &children = t.Parent->ChildList();
            const int index = std::clamp(t.Index, 0, children.Count());
            t.Node->FParent = t.Parent;
            children.Insert(index, t.Node);
            t.Parent->RenumberChildren(index);
        } else {
            t.Node->FParent = nullptr;
            t.Node->FBrotherIndex = -1;
            FRoots.Insert(t.Index < 0 ? FRoots.Count() : t.Index, t.Node);
        }
    }
    std::stable_sort(inShapes.begin(), inShapes.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    FShapes.InsertAt(inShapes);
    for (const auto &[index, node] : inShapes)
        if (node->FImageListIndex != -1)
            node->RecalcImageSize();

    std::vector<std::pair<int, TTreeConnection *>> inConnections;
    inConnections.reserve(connections.size());
    std::vector<std::pair<int, TTreeConnection *>> outgoing;
    std::vector<TTreeConnection *> between;
    for (TReturningConnection &r : connections) {
        if (!r.Connection)
            continue;
        if (r.From && r.From->Tree() != this)
            r.From = nullptr;
        if (r.To && r.To->Tree() != this)
            r.To = nullptr;
        join(FNoOwnerShapes ? nullptr : (r.From ? r.From->Owner() : Owner()), r.Connection.get());
        TTreeConnection *c = r.Connection.release();
        c->FTree = this;
        c->FFromShape = r.From;
        c->FToShape = r.To;
        if (r.To)
            r.To->AddIncoming(c);
        if (r.From)
            outgoing.emplace_back(r.FromIndex, c);
        inConnections.emplace_back(r.Index < 0 ? INT_MAX : r.Index, c);
        if (!arriving.count(r.From) && !arriving.count(r.To))
            between.push_back(c);
    }
    std::stable_sort(outgoing.begin(), outgoing.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (const auto &[index, c] : outgoing)
        c->FFromShape->Connections().Insert(index < 0 ? c->FFromShape->Connections().Count() : index, c);
    std::stable_sort(inConnections.begin(), inConnections.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    FConnections.InsertAt(inConnections);
    Invalidate();

    for (const TTop &t : tops)
        NotifyAdded(t.Node);
    for (TTreeConnection *c : between)
        NotifyAdded(c);
}

void TTreeDocument::ResizeShape(TTreeNodeShape *node, TTreeShapeHandle corner, int dx, int dy)
{
    if (!node)
        return;
    TTreeChange change;
    change.Kind = tckResized;
    change.Element = node;
    change.DX = dx;
    change.DY = dy;
    NotifyChanging(change);
    node->Resize(corner, dx, dy);
    NotifyChanged(change);
}

void TTreeDocument::SetShapeParent(TTreeNodeShape *node, TTreeNodeShape *parent)
{
    if (!node || parent == node || parent == node->Parent() || node->IsAncestorOf(parent))
        return;
    TTreeChange change;
    change.Kind = tckParent;
    change.Element = node;
    NotifyChanging(change);
    node->SetParent(parent);
    NotifyChanged(change);
}

int TTreeDocument::SetShapeExpanded(TTreeNodeShape *node, bool expanded)
{
    if (!node || node->Expanded() == expanded)
        return 0;
    TTreeChange change;
    change.Kind = tckExpanded;
    change.Element = node;
    NotifyChanging(change);
    const int count = node->SetExpanded(expanded);
    NotifyChanged(change);
    return count;
}

void TTreeDocument::SetElementText(TCustomTreeElement *element, const QStringList &lines)
{
    if (!element)
        return;
    QStringList current;
    for (int i = 0; i < element->LineCount(); ++i)
        current << element->Line(i);
    if (current == lines)
        return;
    TTreeChange change;
    change.Kind = tckText;
    change.Element = element;
    NotifyChanging(change);
    element->Text()->SetLines(lines);
    NotifyChanged(change);
}

void TTreeDocument::OrderShape(TTreeNodeShape *node, bool toFront)
{
    if (!node)
        return;
    TTreeChange change;
    change.Kind = tckOrder;
    change.Element = node;
    NotifyChanging(change);
    if (toFront)
        node->BringToFront();
    else
        node->SendToBack();
    NotifyChanged(change);
}

void TTreeDocument::EditElement(TComponent *element, const QString &property, const std::function<void()> &change)
{
    TTreeChange notice;
    notice.Kind = tckProperty;
    notice.Element = element ? element : this;
    notice.Property = property;
    NotifyChanging(notice);
    change();
    NotifyChanged(notice);
}

void TTreeDocument::EditPoints(TTreeConnection *connection, const std::function<void()> &change)
{
    TTreeChange notice;
    notice.Kind = tckPoints;
    notice.Element = connection;
    NotifyChanging(notice);
    change();
    NotifyChanged(notice);
}

bool TTreeDocument::DeleteSelected()
{
    if (FSelected.Count() == 0)
        return false;
    bool allow = true;
    Fire(OnDeletingShapes, &FSelected, allow);
    if (!allow || FSelected.Count() == 0)
        return false;
    // A node goes with its subtree: only the selected nodes without a
    // selected ancestor are freed, each once.
    const std::vector<TTreeNodeShape *> selected = FSelected.Nodes();
    auto doomed = [](const TTreeNodeShape *node) {
        for (const TTreeNodeShape *n = node; n; n = n->Parent())
            if (n->Selected())
                return true;
        return false;
    };
    std::vector<TTreeNodeShape *> tops;
    tops.reserve(selected.size());
    for (TTreeNodeShape *node : selected) {
        const TTreeNodeShape *p = node->Parent();
        while (p && !p->Selected())
            p = p->Parent();
        if (!p)
            tops.push_back(node);
    }
    // The successor: beside the deleted block that holds the first
    // selected node (the node or its highest selected ancestor), the next
    // brother that survives, else the previous one, else the parent; for a
    // root the next root, else the previous one.
    TTreeNodeShape *top = selected.front();
    for (TTreeNodeShape *p = top->Parent(); p; p = p->Parent())
        if (p->Selected())
            top = p;
    TTreeNodeShape *successor = nullptr;
    const TNodeShapeList &brothers = top->Parent() ? top->Parent()->Children() : FRoots;
    const int index = top->Parent() ? top->BrotherIndex() : FRoots.IndexOf(top);
    for (int i = index + 1; i < brothers.Count() && !successor; ++i)
        if (!doomed(brothers[i]))
            successor = brothers[i];
    for (int i = index - 1; i >= 0 && !successor; --i)
        if (!doomed(brothers[i]))
            successor = brothers[i];
    if (!successor && top->Parent() && !doomed(top->Parent()))
        successor = top->Parent();

    TTreeStep step(this, QStringLiteral("Delete"));
    // Every listener hears of every node while all of them still exist;
    // then they go, the owner dropping their names in one go.
    for (TTreeNodeShape *node : tops) {
        TTreeChange change;
        change.Kind = tckRemoving;
        change.Element = node;
        NotifyChanging(change);
    }
    const bool repaint = AutoRepaint();
    SetAutoRepaint(false);
    TComponent *owner = Owner() && !Owner()->IsDestroying() ? Owner() : nullptr;
    if (owner)
        owner->BeginBulkRelease();
    {
        TTreeQuietChanges quiet(this);
        for (TTreeNodeShape *node : tops)
            delete node;
    }
    if (owner)
        owner->EndBulkRelease();
    for (const TTreeNodeShape *node : tops)
        NotifyRemoved(node);
    SetAutoRepaint(repaint);
    Invalidate();
    if (successor)
        successor->SetSelected(true);
    Fire(OnDeletedShapes, static_cast<TObject *>(this));
    return true;
}

int TTreeDocument::InsertConnectionPoint(TTreeConnection *connection, int index, const TPoint &at)
{
    if (!connection)
        return -1;
    int inserted = -1;
    EditPoints(connection, [&] {
        TConnectionPoints &points = connection->Points();
        index = std::clamp(index, 0, points.Count());
        connection->InsertPoint(index, at.X, at.Y);
        inserted = std::clamp(index, 0, points.Count() - 1);
        // Kept where it is relative to the start node, so it follows it.
        if (TTreeNodeShape *from = connection->FromShape()) {
            TConnectionPoint &p = points[inserted];
            p.XStyle = cpFromOffset;
            p.YStyle = cpFromOffset;
            p.XValue = ClampCoord(static_cast<long long>(at.X) - from->X0());
            p.YValue = ClampCoord(static_cast<long long>(at.Y) - from->Y0());
        }
    });
    return inserted;
}

void TTreeDocument::MoveConnectionPoint(TTreeConnection *connection, int index, int dx, int dy)
{
    if (!connection || !connection->Points().IsValid(index) || (dx == 0 && dy == 0))
        return;
    EditPoints(connection, [&] { connection->MovePoint(index, dx, dy); });
}

bool TTreeDocument::AnchorConnectionPoint(TTreeConnection *connection, int index, int anchor)
{
    static const int kPercent[9][2] = {{0, 0},  {0, 0},  {100, 100}, {0, 100}, {100, 0},
                                       {0, 50}, {50, 0}, {100, 50},  {50, 100}};
    if (!connection || anchor < 1 || anchor > 8)
        return false;
    const int last = connection->Count() - 1;
    if ((index != 0 && index != last) || !connection->Points().IsValid(index))
        return false;
    const TConnectionPointKind kind = index == 0 ? cpFromPercent : cpToPercent;
    if (!(index == 0 ? connection->FromShape() : connection->ToShape()))
        return false;
    EditPoints(connection, [&] {
        TConnectionPoint &p = connection->Points()[index];
        p.XStyle = kind;
        p.YStyle = kind;
        p.XValue = kPercent[anchor][0];
        p.YValue = kPercent[anchor][1];
        connection->CalcPoints();
        connection->Changed();
    });
    return true;
}
