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

void TTreeDocument::DeleteShape(TTreeNodeShape *node)
{
    if (!node || node->Tree() != this)
        return;
    TTreeChange change;
    change.Kind = tckRemoving;
    change.Element = node;
    NotifyChanging(change);
    delete node;
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
