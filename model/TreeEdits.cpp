// The diagram's edit operations and the change notices they send.

#include "model/TreeDocument.h"

#include <algorithm>

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

bool TTreeDocument::DeleteConnection(TTreeConnection *connection)
{
    if (!connection || !FConnections.Contains(connection))
        return false;
    bool allow = true;
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
    TTreeChange change;
    change.Kind = tckMoved;
    change.Element = node;
    change.DX = dx;
    change.DY = dy;
    change.WithChildren = withChildren;
    NotifyChanging(change);
    // What OnMovingShape let through is what the listeners hear after.
    const TPoint moved = node->UserMove(dx, dy, withChildren);
    change.DX = moved.X;
    change.DY = moved.Y;
    NotifyChanged(change);
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
    if (index != 0 && index != last)
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
