#include "model/TreeDocument.h"

#include "core/ClassRegistry.h"
#include "core/CoreConst.h"
#include "core/Exceptions.h"
#include "core/ScopeExit.h"
#include "model/Arbolix.h"
#include "model/ExplorerAlignChild.h"
#include "model/TreeConst.h"
#include "model/TreeWalk.h"

#include <algorithm>
#include <climits>

namespace {

// A new element of a registered class; throws EClassNotFound when the name
// is not registered as a class of kind T.
template <class T>
T *CreateElement(const QString &className, TComponent *owner)
{
    TComponent *created = TClassRegistry::Instance().Create(className, owner);
    if (auto *element = dynamic_cast<T *>(created))
        return element;
    delete created;
    throw EClassNotFound(FormatMessage(SClassNotFound, {className}));
}

} // namespace

// ---------------------------------------------------------------------------
// Lists

void TTreeShapeList::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    if (FTree)
        FTree->Invalidate();
}

void TSelectedShapeList::Clear()
{
    if (FTree && FTree->Clearing()) {
        Reset();
        return;
    }
    // In selection order; handlers may select others meanwhile.
    while (FItems.Count() > 0)
        for (TTreeNodeShape *node : Nodes())
            node->SetSelected(false);
    if (FTree)
        FTree->Connections().SetSelected(nullptr);
}

void TSelectedShapeList::SelectAll()
{
    if (!FTree)
        return;
    // What nobody sees is not selected: it goes with its collapsed parent.
    for (int i = 0; i < FTree->Shapes().Count(); ++i)
        if (FTree->Shapes()[i]->Visible())
            FTree->Shapes()[i]->SetSelected(true);
}

void TSelectedShapeList::DeleteSelected()
{
    if (FTree)
        FTree->DeleteSelected();
}

void TSelectedShapeList::ForEach(const std::function<void(TTreeNodeShape *)> &fn) const
{
    for (TTreeNodeShape *node : Nodes())
        fn(node);
}

void TSelectedShapeList::Add(TTreeNodeShape *node)
{
    if (!FItems.Contains(node))
        FItems.Add(node);
}

void TSelectedShapeList::Remove(TTreeNodeShape *node)
{
    FItems.Remove(node);
}

// ---------------------------------------------------------------------------
// Default format

TTreeDefaultFormat::TTreeDefaultFormat(TTreeDocument *tree)
    : FTree(tree), FShapeClass(&TTreeNodeShape::StaticClassInfo()),
      FConnectionClass(&TTreeConnection::StaticClassInfo())
{
    auto repaint = [tree](TGraphicsObject *) { tree->Invalidate(); };
    FBorder = std::make_unique<TChartPen>(repaint);
    FBrush = std::make_unique<TTreeShapeBrush>();
    FBrush->OnChange = repaint;
    FFont = std::make_unique<TKorFont>(repaint);
    FConnection = std::make_unique<TTreeConnection>();
    FChildManager = std::make_unique<TTreeExplorerAlignChild>();
    FChildManager->OnChange = [tree] { tree->Invalidate(); };
}

TTreeDefaultFormat::~TTreeDefaultFormat() = default;

void TTreeDefaultFormat::SetChildManager(std::unique_ptr<TChildManager> manager)
{
    FChildManager = std::move(manager);
    if (FChildManager) {
        TTreeDocument *tree = FTree;
        FChildManager->OnChange = [tree] { tree->Invalidate(); };
    }
    FTree->Invalidate();
}

void TTreeDefaultFormat::SetShapeClass(const TClassInfo *cls)
{
    if (cls && cls->InheritsFrom(TTreeNodeShape::StaticClassInfo()))
        FShapeClass = cls;
}

void TTreeDefaultFormat::SetConnectionClass(const TClassInfo *cls)
{
    if (cls && cls->InheritsFrom(TTreeConnection::StaticClassInfo()))
        FConnectionClass = cls;
}

// ---------------------------------------------------------------------------
// TTreeDocument

const TClassInfo &TTreeDocument::StaticClassInfo()
{
    using D = TTreeDocument;
    static const TClassInfo info = TClassBuilder<D>("TTreeDocument", TComponent::StaticClassInfo())
                                       .Boolean("Designing", &D::Designing, &D::SetDesigning, false)
                                       .Boolean("SingleSelection", &D::SingleSelection, &D::SetSingleSelection, true);
    return info;
}

TTreeDocument::TTreeDocument(TComponent *owner)
    : TComponent(owner), FShapes(this), FConnections(this), FSelected(this),
      FDefaultFormat(std::make_unique<TTreeDefaultFormat>(this)),
      FCrossBox(std::make_unique<TTreeNodeCrossBox>([this](TGraphicsObject *) { Invalidate(); })),
      FHotTrack(std::make_unique<TTreeHotTrack>([this](TGraphicsObject *) { HotTrackChanged(); }))
{
    FSelected.OnChange = [this](TGraphicsObject *) { Invalidate(); };
    RegisterModelClasses();
    FShapes.ResetCapacity(kListCapacity);
    FRoots.ResetCapacity(kListCapacity);
    FConnections.ResetCapacity(kListCapacity);
}

TTreeDocument::~TTreeDocument()
{
    // Listeners still registered hear that the diagram goes (after the
    // clearing, which they hear as usual).
    Clear();
    const std::vector<TTreeChangeListener *> listeners = FChangeListeners;
    for (TTreeChangeListener *l : listeners)
        if (std::find(FChangeListeners.begin(), FChangeListeners.end(), l) != FChangeListeners.end())
            l->TreeDestroying(this);
    FChangeListeners.clear();
}

void TTreeDocument::Invalidate()
{
    if (AutoRepaint())
        ++FInvalidateCount;
}

TKorCanvas3D *TTreeDocument::TreeCanvas()
{
    if (!FCanvas)
        FCanvas = std::make_unique<TKorCanvas3D>();
    return FCanvas.get();
}

TRect TTreeDocument::VisibleArea() const
{
    return TRect(INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2);
}

void TTreeDocument::HotTrackChanged()
{
    // Hot nodes are measured with the hot-track font.
    for (TTreeNodeShape *node : FShapes)
        if (node->Hot() && node->AutoSize())
            node->InvalidateSize();
    Invalidate();
}

void TTreeDocument::SetImages(TImageList *images)
{
    if (images == FImages)
        return;
    if (FImages)
        RemoveFreeNotification(FImages);
    FImages = images;
    // The list may belong to another owner and go first.
    if (FImages)
        FreeNotification(FImages);
    Invalidate();
}

void TTreeDocument::Notification(TComponent *component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FImages) {
        FImages = nullptr;
        Invalidate();
    }
}

void TTreeDocument::SetShowImages(bool value)
{
    if (value == FShowImages)
        return;
    FShowImages = value;
    Invalidate();
}

void TTreeDocument::SetShowText(bool value)
{
    if (value == FShowText)
        return;
    FShowText = value;
    Invalidate();
}

void TTreeDocument::SetDesigning(bool value)
{
    if (value == FDesigning)
        return;
    FDesigning = value;
    // Run mode starts without a selection.
    if (!value)
        FSelected.Clear();
    Invalidate();
}

void TTreeDocument::SetShowRootCross(bool value)
{
    FShowRootCross = value;
    for (int i = 0; i < FRoots.Count(); ++i)
        FRoots.Items(i)->SetShowCross(value ? scAlways : scNever);
    Invalidate();
}

void TTreeDocument::SetSingleSelection(bool value)
{
    if (value == FSingleSelection)
        return;
    FSingleSelection = value;
    if (value)
        while (FSelected.Count() > 1)
            FSelected.Last()->SetSelected(false);
}

TComponent *TTreeDocument::ElementOwner() const
{
    return FNoOwnerShapes ? nullptr : Owner();
}

TTreeNodeShape *TTreeDocument::AddShape(int x, int y, TTreeNodeShape *parent, const QString &text)
{
    if (parent && parent->Tree() != this)
        throw EComponentError(SParentInOtherTree);
    auto *node = CreateElement<TTreeNodeShape>(FDefaultFormat->ShapeClass()->Name(), ElementOwner());
    node->FTree = this;
    FShapes.Add(node);
    node->SetTree(this);

    if (FAssignParentFormat && parent) {
        node->Assign(parent);
        TTreeNodeShape::MoveEdges(node->FX0, node->FX1, x);
        TTreeNodeShape::MoveEdges(node->FY0, node->FY1, y);
    } else if (node->Style() != tssCustom) {
        if (!node->Transparent())
            node->FTransparent = FDefaultFormat->Transparent();
        if (node->FImageIndex != FDefaultFormat->ImageIndex()) {
            node->FImageIndex = FDefaultFormat->ImageIndex();
            node->RecalcImageSize();
        }
        node->SetCursor(FDefaultFormat->Cursor());
        node->FShowCross = FDefaultFormat->ShowCross();
    }
    if (!FNoOwnerShapes && node->Owner())
        node->SetName(node->Owner()->UniqueName(node->ClassName()));
    node->FX0 = ClampCoord(x);
    node->FY0 = ClampCoord(y);
    if (!text.isNull())
        node->ResetText(text);
    node->FSizeValid = !node->FAutoSize;

    if (parent) {
        node->FParent = parent;
        parent->AppendChild(node);
        node->FVisible = parent->Expanded();
        if (FAutoConnectChildren) {
            // Heard as part of the new node.
            TTreeQuietChanges quiet(this);
            parent->CreateConnection(node);
        }
    } else {
        FRoots.Add(node);
        node->FBrotherIndex = -1;
    }
    Fire(OnNewShape, this, node);
    NotifyAdded(node);
    return node;
}

TTreeNodeShape *TTreeDocument::AddRoot(const QString &text)
{
    TTreeNodeShape *node = AddShape(0, 0, nullptr, text);
    Invalidate();
    return node;
}

TTreeNodeShape *TTreeDocument::AddRootObject(const QString &text, void *data)
{
    TTreeNodeShape *node = AddRoot(text);
    node->SetData(data);
    return node;
}

QString TTreeDocument::ConnectionName(TComponent *owner, const TTreeNodeShape *from, const TTreeNodeShape *to)
{
    const QString name = (from ? from->Name() : QString()) + QLatin1Char('_') + (to ? to->Name() : QString());
    // Names of nodes may themselves contain "_", so "A_B" + "C" and "A" +
    // "B_C" meet; the later one takes the first free numbered variant.
    if (owner && owner->FindComponent(name))
        return owner->FirstFreeName(name);
    return name;
}

TTreeConnection *TTreeDocument::NewConnection(TTreeNodeShape *from, TTreeNodeShape *to)
{
    TTreeConnection *c;
    if (FNoOwnerShapes) {
        c = CreateElement<TTreeConnection>(FDefaultFormat->ConnectionClass()->Name(), nullptr);
    } else {
        TComponent *owner = from->Owner();
        c = new TTreeConnection(owner);
        if (owner)
            c->SetName(ConnectionName(owner, from, to));
    }
    if (FAssignParentFormat) {
        const TTreeConnection *model = from->PeekConnections() ? from->PeekConnections()->First() : nullptr;
        if (!model && from->Parent() && from->Parent()->PeekConnections())
            model = from->Parent()->PeekConnections()->First();
        if (model)
            c->SetStyle(model->Style());
    }
    from->Connections().Add(c);
    c->FFromShape = from;
    c->FToShape = to;
    if (to) {
        to->AddIncoming(c);
        if (to->Tree() != from->Tree())
            NoteForeignLinks(from->Tree(), to->Tree());
    }
    c->SetTree(from->Tree());
    Fire(OnNewConnection, this, c);
    NotifyAdded(c);
    Invalidate();
    return c;
}

TTreeNodeShape *TTreeDocument::CloneShape(TTreeNodeShape *source)
{
    TTreeNodeShape *top = CloneQuietly(source);
    if (top)
        NotifyAdded(top);
    return top;
}

TTreeNodeShape *TTreeDocument::CloneQuietly(TTreeNodeShape *source)
{
    if (!source)
        return nullptr;
    // The copy is heard of as one new node with its subtree.
    TTreeQuietChanges quiet(this);
    auto cloneOne = [this](TTreeNodeShape *src) {
        TComponent *owner = ElementOwner();
        auto *node = CreateElement<TTreeNodeShape>(src->ClassName(), owner);
        node->Assign(src);
        // Named at once, so the connections made below get distinct names.
        if (owner)
            node->SetName(owner->UniqueName(node->ClassName()));
        node->SetTree(this);
        node->SetVisible(false);
        return node;
    };
    // Each child's copy is made (with its own subtree) before it is put
    // under its parent's copy and connected, as a recursive copy would.
    struct Frame
    {
        TTreeNodeShape *Source;
        TTreeNodeShape *Clone;
        int Next;
    };
    TTreeNodeShape *top = cloneOne(source);
    std::vector<Frame> stack{{source, top, 0}};
    while (!stack.empty()) {
        Frame &f = stack.back();
        if (f.Next < f.Source->ChildCount()) {
            TTreeNodeShape *child = f.Source->Child(f.Next++);
            TTreeNodeShape *copy = cloneOne(child);
            stack.push_back({child, copy, 0});
            continue;
        }
        const Frame done = f;
        stack.pop_back();
        if (stack.empty())
            break;
        const Frame &parent = stack.back();
        done.Clone->SetParent(parent.Clone);
        if (TTreeConnection *original = parent.Source->ConnectionTo(done.Source))
            if (TTreeConnection *c = parent.Clone->AddConnection(done.Clone))
                c->Assign(original);
    }
    return top;
}

void TTreeDocument::NotifyAdded(TComponent *element)
{
    if (!NoticesActive())
        return;
    TTreeChange change;
    change.Kind = tckAdded;
    change.Element = element;
    NotifyChanged(change);
}

TTreeNodeShape *TTreeDocument::PasteShape(TTreeNodeShape *source)
{
    TTreeNodeShape *node = CloneQuietly(source);
    if (!node)
        return nullptr;
    // The whole copy shows, not only its top: a pasted subtree is seen as
    // it was copied.
    std::vector<TTreeNodeShape *> pending{node};
    while (!pending.empty()) {
        TTreeNodeShape *n = pending.back();
        pending.pop_back();
        n->SetVisible(true);
        for (int i = 0; i < n->ChildCount(); ++i)
            pending.push_back(n->Child(i));
    }
    if (node->LineCount() == 0)
        node->SetSimpleText(node->Name());
    NotifyAdded(node);
    return node;
}

void TTreeDocument::ExpandAll(bool expand)
{
    for (int i = 0; i < FRoots.Count(); ++i)
        ForEachInSubtree(FRoots[i], [expand](TTreeNodeShape *node) { node->SetExpanded(expand); });
}

void TTreeDocument::NoteForeignLinks(TTreeDocument *a, TTreeDocument *b)
{
    if (a)
        a->FForeignLinks = true;
    if (b)
        b->FForeignLinks = true;
}

void TTreeDocument::ReleaseForeignLinks()
{
    if (!FForeignLinks)
        return;
    FForeignLinks = false;
    // Elements of this diagram are freed without unlinking them from each
    // other; links that reach outside (a connection of another diagram, a
    // parent or child in another diagram) are undone first, so nothing
    // elsewhere keeps a pointer to a freed element.
    std::vector<TTreeConnection *> foreign;
    for (TTreeConnection *c : FConnections)
        if ((c->FromShape() && c->FromShape()->Tree() != this) || (c->ToShape() && c->ToShape()->Tree() != this))
            foreign.push_back(c);
    for (TTreeConnection *c : foreign)
        delete c;
    for (int i = 0; i < FShapes.Count(); ++i) {
        TTreeNodeShape *node = FShapes[i];
        foreign.clear();
        if (node->FConnections)
            for (TTreeConnection *c : *node->FConnections)
                if (c->Tree() != this)
                    foreign.push_back(c);
        auto incoming = [&](TTreeConnection *c) {
            if (c->Tree() != this && c->FromShape() != node)
                foreign.push_back(c);
        };
        if (node->FIncomingOne)
            incoming(node->FIncomingOne);
        if (node->FIncomingMore)
            for (TTreeConnection *c : *node->FIncomingMore)
                incoming(c);
        for (TTreeConnection *c : foreign)
            delete c;
        if (node->Parent() && node->Parent()->Tree() != this) {
            node->Parent()->RemoveChild(node);
            node->FParent = nullptr;
        }
        for (int k = node->ChildCount(); k-- > 0;) {
            TTreeNodeShape *child = node->Child(k);
            if (child->Tree() == this)
                continue;
            node->RemoveChild(child);
            child->FParent = nullptr;
            child->FVisible = true;
            if (child->Tree())
                child->Tree()->FRoots.Add(child);
        }
    }
}

void TTreeDocument::AdoptElements()
{
    TComponent *owner = Owner();
    if (!owner)
        return;
    int missing = 0;
    for (int i = 0; i < FShapes.Count(); ++i)
        missing += FShapes[i]->Owner() ? 0 : 1;
    for (int i = 0; i < FConnections.Count(); ++i)
        missing += FConnections[i]->Owner() ? 0 : 1;
    if (missing == 0)
        return;
    owner->ReserveComponents(missing);
    for (int i = 0; i < FShapes.Count(); ++i) {
        TTreeNodeShape *node = FShapes[i];
        if (node->Owner())
            continue;
        owner->InsertComponent(node);
        node->SetName(owner->UniqueName(node->ClassName()));
    }
    for (int i = 0; i < FConnections.Count(); ++i) {
        TTreeConnection *c = FConnections[i];
        if (c->Owner())
            continue;
        owner->InsertComponent(c);
        c->SetName(ConnectionName(owner, c->FromShape(), c->ToShape()));
    }
}

void TTreeDocument::Clear()
{
    BeginReplace();
    TAtExit replaced([this] { EndReplace(); });
    ForgetElement(nullptr);
    ReleaseForeignLinks();
    const bool repaint = AutoRepaint();
    SetAutoRepaint(false);
    FClearing = true;
    // The owner drops the names of its freed elements in one go.
    TComponent *owner = Owner() && !Owner()->IsDestroying() ? Owner() : nullptr;
    if (owner)
        owner->BeginBulkRelease();
    for (int i = 0; i < FShapes.Count(); ++i)
        delete FShapes[i];
    FShapes.Clear();
    FRoots.Clear();
    FSelected.Reset();
    for (int i = 0; i < FConnections.Count(); ++i)
        delete FConnections[i];
    FConnections.Clear();
    FConnections.FSelected = nullptr;
    if (owner)
        owner->EndBulkRelease();
    ResetScrollOffsets();
    FShapes.ResetCapacity(kListCapacity);
    FRoots.ResetCapacity(kListCapacity);
    FConnections.ResetCapacity(kListCapacity);
    FClearing = false;
    FPartlyRead = false;
    FPartlyReadFrom.clear();
    SetAutoRepaint(repaint);
    Invalidate();
}

TTreeNodeShape *TTreeDocument::ShapeAt(int x, int y) const
{
    for (int i = FShapes.Count(); i-- > 0;)
        if (FShapes[i]->PointInShape(x, y))
            return FShapes[i];
    return nullptr;
}

bool TTreeDocument::SelectOnly(TTreeNodeShape *node)
{
    bool allow = true;
    Fire(OnChanging, this, node, allow);
    if (!allow)
        return false;
    FSelected.Clear();
    if (node)
        node->SetSelected(true);
    return true;
}
