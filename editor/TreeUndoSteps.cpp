// The records undo steps keep, and how they are put back.

#include "editor/TreeUndoSteps.h"

#include "core/Collection.h"
#include "core/PropAccess.h"
#include "core/Reader.h"
#include "core/Writer.h"
#include "model/TreeWalk.h"

#include <QBuffer>
#include <algorithm>
#include <exception>

namespace {

// Reads records the undo steps wrote: references to other elements are
// left at none (the steps keep the links themselves), and nothing is asked.
class TRecordReader : public TReader
{
public:
    using TReader::TReader;
    bool Error(const QString &) override { return false; }

protected:
    TComponent *ResolveReference(const QString &) override { return nullptr; }
};

// Appends element records to a byte array.
class TRecordWriter
{
public:
    explicit TRecordWriter(QByteArray &bytes) : FBuffer(&bytes)
    {
        FBuffer.open(QIODevice::WriteOnly | QIODevice::Append);
        FWriter = std::make_unique<TWriter>(FBuffer);
    }
    ~TRecordWriter() { FWriter->FlushBuffer(); }
    void Write(TComponent &element) { FWriter->WriteComponent(element); }

private:
    QBuffer FBuffer;
    std::unique_ptr<TWriter> FWriter;
};

// Reads element records one after another.
class TRecordSource
{
public:
    explicit TRecordSource(const QByteArray &bytes) : FBytes(bytes), FBuffer(&FBytes)
    {
        FBuffer.open(QIODevice::ReadOnly);
        FReader = std::make_unique<TRecordReader>(FBuffer);
    }
    template <class T>
    std::unique_ptr<T> Next()
    {
        std::unique_ptr<TComponent> c = FReader->ReadRootComponent();
        if (auto *t = dynamic_cast<T *>(c.get())) {
            (void)c.release();
            return std::unique_ptr<T>(t);
        }
        return nullptr;
    }

private:
    QByteArray FBytes; // a shallow copy the buffer reads
    QBuffer FBuffer;
    std::unique_ptr<TRecordReader> FReader;
};

// Published properties a state copy leaves out: the coordinates (the copy
// takes them as they are, reading X1 would lay the node out first), the
// colour kept in the brush, the expanded state (set by the copy with its
// effect on the subtree), links to other elements.
bool CopiedByAssign(const QString &name)
{
    static const QStringList names = {QStringLiteral("X0"), QStringLiteral("X1"),    QStringLiteral("Y0"),
                                      QStringLiteral("Y1"), QStringLiteral("Color"), QStringLiteral("Expanded")};
    return names.contains(name);
}

// Every published value of `from` that `to` holds otherwise (sub-objects
// both have included, collections excepted).
void CopyPublished(TPersistent &to, const TPersistent &from, bool top, int depth = 0)
{
    if (&to.ClassInfo() != &from.ClassInfo() || depth > 8)
        return;
    for (const TPropInfo &p : to.ClassInfo().Properties()) {
        if (top && CopiedByAssign(p.Name))
            continue;
        switch (p.Type) {
        case TPropType::Reference:
        case TPropType::Event:
            break;
        case TPropType::Object: {
            if (!p.PeekObject)
                break;
            TPersistent *t = p.PeekObject(to);
            const TPersistent *f = p.PeekObject(from);
            if (t && f && !dynamic_cast<TCollection *>(t))
                CopyPublished(*t, *f, false, depth + 1);
            break;
        }
        case TPropType::String:
            if (p.GetStr && p.SetStr && p.GetStr(to) != p.GetStr(from))
                p.SetStr(to, p.GetStr(from));
            break;
        case TPropType::Float:
            if (p.GetFloat && p.SetFloat && p.GetFloat(to) != p.GetFloat(from))
                p.SetFloat(to, p.GetFloat(from));
            break;
        default:
            if (p.GetOrd && p.SetOrd && p.GetOrd(to) != p.GetOrd(from))
                p.SetOrd(to, p.GetOrd(from));
            break;
        }
    }
}

// The published values of an object by path (sub-objects that exist, no
// collections), as the inspector and files see them.
void CollectSettings(TPersistent &obj, const QString &prefix, std::vector<std::pair<QString, QVariant>> &out,
                     int depth = 0)
{
    if (depth > 8)
        return;
    for (const TPropInfo &p : obj.ClassInfo().Properties()) {
        const QString path = prefix + p.Name;
        switch (p.Type) {
        case TPropType::Reference:
        case TPropType::Event:
            break;
        case TPropType::Object:
            if (p.PeekObject)
                if (TPersistent *sub = p.PeekObject(obj); sub && !dynamic_cast<TCollection *>(sub))
                    CollectSettings(*sub, path + QLatin1Char('.'), out, depth + 1);
            break;
        case TPropType::String:
            if (p.GetStr && p.SetStr)
                out.emplace_back(path, p.GetStr(obj));
            break;
        case TPropType::Float:
            if (p.GetFloat && p.SetFloat)
                out.emplace_back(path, p.GetFloat(obj));
            break;
        default:
            if (p.GetOrd && p.SetOrd)
                out.emplace_back(path, static_cast<qlonglong>(p.GetOrd(obj)));
            break;
        }
    }
}

void ApplySettings(TPersistent &obj, const std::vector<std::pair<QString, QVariant>> &settings)
{
    for (const auto &[path, value] : settings) {
        const TPropTarget t = PeekPropPath(obj, path);
        if (!t.Object || !t.Prop)
            continue;
        const TPropInfo &p = *t.Prop;
        if (p.Type == TPropType::String) {
            if (p.GetStr(*t.Object) != value.toString())
                p.SetStr(*t.Object, value.toString());
        } else if (p.Type == TPropType::Float) {
            if (p.GetFloat(*t.Object) != value.toDouble())
                p.SetFloat(*t.Object, value.toDouble());
        } else if (p.GetOrd(*t.Object) != value.toLongLong()) {
            p.SetOrd(*t.Object, value.toLongLong());
        }
    }
}

std::vector<bool> SubtreeVisibility(TTreeNodeShape *node)
{
    std::vector<bool> bits;
    if (!node->HasChildren())
        return bits;
    ForEachInSubtree(node, [&](TTreeNodeShape *n) {
        if (n != node)
            bits.push_back(n->Visible());
    });
    return bits;
}

void SetSubtreeVisibility(TTreeNodeShape *node, const std::vector<bool> &bits)
{
    if (bits.empty())
        return;
    size_t i = 0;
    ForEachInSubtree(node, [&](TTreeNodeShape *n) {
        if (n != node && i < bits.size())
            n->SetVisible(bits[i++]);
    });
}

} // namespace

// ---------------------------------------------------------------------------
// TElementRef

TElementRef TElementRef::Of(const TTreeDocument &tree, const TComponent *element)
{
    TElementRef ref;
    if (!element)
        return ref;
    if (element == &tree) {
        ref.Kind = erDiagram;
    } else if (auto *node = dynamic_cast<const TTreeNodeShape *>(element)) {
        ref.Kind = erNode;
        ref.Name = node->Name();
        if (ref.Name.isEmpty())
            ref.Index = tree.Shapes().IndexOf(node);
    } else if (auto *c = dynamic_cast<const TTreeConnection *>(element)) {
        ref.Kind = erConnection;
        ref.Name = c->Name();
        if (ref.Name.isEmpty())
            ref.Index = tree.Connections().IndexOf(c);
    } else if (TTreeAttachment *attachment = tree.AttachmentOf(element);
               attachment && attachment->AttachedComponent() == element) {
        ref.Kind = erAttachment;
        ref.Name = element->Name();
        const auto &list = tree.Attachments();
        ref.Index = static_cast<int>(std::find(list.begin(), list.end(), attachment) - list.begin());
    }
    return ref;
}

TComponent *TElementRef::Resolve(TTreeDocument &tree) const
{
    switch (Kind) {
    case erNone:
        return nullptr;
    case erDiagram:
        return &tree;
    case erAttachment: {
        // The same attachment, or one that took its place under its name.
        const auto &list = tree.Attachments();
        if (Index >= 0 && Index < static_cast<int>(list.size()) &&
            list[size_t(Index)]->AttachedComponent()->Name() == Name)
            return list[size_t(Index)]->AttachedComponent();
        for (TTreeAttachment *a : list)
            if (a->AttachedComponent()->Name() == Name)
                return a->AttachedComponent();
        return nullptr;
    }
    case erNode:
    case erConnection:
        break;
    }
    if (Name.isEmpty()) {
        if (Kind == erNode)
            return tree.Shapes().Items(Index);
        return tree.Connections().Items(Index);
    }
    // Elements belong to the diagram's owner (their names are unique there).
    TComponent *owner = tree.Owner();
    TComponent *found = owner ? owner->FindComponent(Name) : nullptr;
    auto *element = dynamic_cast<TCustomTreeElement *>(found);
    if (!element || element->Tree() != &tree)
        return nullptr;
    if (Kind == erNode ? !dynamic_cast<TTreeNodeShape *>(element) : !dynamic_cast<TTreeConnection *>(element))
        return nullptr;
    return element;
}

TTreeNodeShape *TElementRef::Node(TTreeDocument &tree) const
{
    return Kind == erNode ? static_cast<TTreeNodeShape *>(Resolve(tree)) : nullptr;
}

// ---------------------------------------------------------------------------
// TElementState

TElementState TElementState::Capture(TTreeDocument &tree, TComponent &element)
{
    TElementState state;
    if (&element == &tree) {
        CollectSettings(tree, QString(), state.Settings);
        state.RootCross.reserve(static_cast<size_t>(tree.Roots().Count()));
        for (TTreeNodeShape *root : tree.Roots())
            state.RootCross.push_back(root->ShowCross());
        return state;
    }
    if (!dynamic_cast<TCustomTreeElement *>(&element))
        if (TTreeAttachment *attachment = tree.AttachmentOf(&element);
            attachment && attachment->AttachedComponent() == &element) {
            state.Record = attachment->SaveState();
            return state;
        }
    {
        TRecordWriter writer(state.Record);
        writer.Write(element);
    }
    if (auto *node = dynamic_cast<TTreeNodeShape *>(&element)) {
        state.SubtreeVisible = SubtreeVisibility(node);
        state.Edges = node->Edges();
    } else if (auto *c = dynamic_cast<TTreeConnection *>(&element)) {
        state.From = TElementRef::Of(tree, c->FromShape());
        state.To = TElementRef::Of(tree, c->ToShape());
        state.FromIndex = c->FromShape() ? c->FromShape()->Connections().IndexOf(c) : -1;
    }
    return state;
}

void TElementState::Apply(TTreeDocument &tree, TComponent &element) const
{
    if (&element == &tree) {
        ApplySettings(tree, Settings);
        const int n = std::min<int>(tree.Roots().Count(), static_cast<int>(RootCross.size()));
        for (int i = 0; i < n; ++i)
            tree.Roots()[i]->SetShowCross(static_cast<TTreeNodeShapeShowCross>(RootCross[static_cast<size_t>(i)]));
        return;
    }
    if (TTreeAttachment *attachment = tree.AttachmentOf(&element);
        attachment && attachment->AttachedComponent() == &element) {
        attachment->RestoreState(Record);
        return;
    }
    auto *live = dynamic_cast<TCustomTreeElement *>(&element);
    if (!live || Record.isEmpty())
        return;
    TRecordSource source(Record);
    std::unique_ptr<TCustomTreeElement> fresh = source.Next<TCustomTreeElement>();
    if (!fresh || &fresh->ClassInfo() != &live->ClassInfo())
        return;
    // The program's own slot is no part of the state.
    void *data = live->Data();
    live->Assign(fresh.get());
    live->SetData(data);
    if (auto *node = dynamic_cast<TTreeNodeShape *>(live)) {
        auto *f = static_cast<TTreeNodeShape *>(fresh.get());
        node->SetAutoPosition(f->PeekAutoPosition());
        node->RestoreEdges(Edges);
    } else if (auto *c = dynamic_cast<TTreeConnection *>(live)) {
        auto *f = static_cast<TTreeConnection *>(fresh.get());
        // Ends set through the inspector come back too.
        TTreeNodeShape *from = From.Node(tree);
        TTreeNodeShape *to = To.Node(tree);
        if (c->FromShape() != from)
            c->SetFromShape(from);
        if (c->ToShape() != to)
            c->SetToShape(to);
        if (from && FromIndex >= 0 && from->Connections().IndexOf(c) != FromIndex) {
            from->Connections().Remove(c);
            from->Connections().Insert(FromIndex, c);
        }
        if (c->Points().Items() != f->Points().Items()) {
            c->Points().SetItems(f->Points().Items());
            c->Changed();
        }
    }
    CopyPublished(*live, *fresh, true);
    if (live->Name() != fresh->Name() && !fresh->Name().isEmpty()) {
        try {
            live->SetName(fresh->Name());
        } catch (const std::exception &) {
            // Another element took the name meanwhile: this one keeps its own.
        }
    }
    if (auto *node = dynamic_cast<TTreeNodeShape *>(live))
        SetSubtreeVisibility(node, SubtreeVisible);
}

// ---------------------------------------------------------------------------
// TElementSet

TElementSet::TLink TElementSet::LinkTo(TTreeDocument &tree, const TTreeNodeShape *node) const
{
    TLink link;
    if (!node)
        return link;
    if (auto it = FCapturing.find(node); it != FCapturing.end()) {
        link.Entry = it->second;
    } else {
        link.Ref = TElementRef::Of(tree, node);
        link.Key = node;
    }
    return link;
}

void TElementSet::AddSubtree(TTreeDocument &tree, TTreeNodeShape *node)
{
    if (!node || FCapturing.count(node))
        return;
    FTops.push_back(TElementRef::Of(tree, node));
    std::vector<TTreeNodeShape *> nodes;
    ForEachInSubtree(node, [&](TTreeNodeShape *n) {
        if (!FCapturing.count(n))
            nodes.push_back(n);
    });
    FNodes.reserve(FNodes.size() + nodes.size());
    {
        TRecordWriter writer(FNodeRecords);
        for (TTreeNodeShape *n : nodes) {
            TNodeEntry e;
            e.Parent = LinkTo(tree, n->Parent());
            e.BrotherIndex = n->Parent() ? n->BrotherIndex() : tree.Roots().IndexOf(n);
            e.ShapeIndex = tree.Shapes().IndexOf(n);
            e.Visible = n->Visible();
            e.Edges = n->Edges();
            FCapturing.emplace(n, static_cast<int>(FNodes.size()));
            FNodes.push_back(e);
            writer.Write(*n);
        }
    }
    for (TTreeNodeShape *n : nodes) {
        if (const TNodeConnectionList *out = n->PeekConnections())
            for (TTreeConnection *c : *out)
                AddConnection(tree, c, false);
        for (TTreeConnection *c : n->IncomingConnections())
            AddConnection(tree, c, false);
    }
}

void TElementSet::AddConnection(TTreeDocument &tree, TTreeConnection *c, bool top)
{
    if (!c || FCapturing.count(c))
        return;
    if (top)
        FTops.push_back(TElementRef::Of(tree, c));
    TConnectionEntry e;
    e.From = LinkTo(tree, c->FromShape());
    e.To = LinkTo(tree, c->ToShape());
    e.Index = tree.Connections().IndexOf(c);
    e.FromIndex = c->FromShape() ? c->FromShape()->Connections().IndexOf(c) : -1;
    FCapturing.emplace(c, -1);
    FConnections.push_back(e);
    TRecordWriter writer(FConnectionRecords);
    writer.Write(*c);
}

void TElementSet::Seal(TTreeDocument &tree)
{
    (void)tree;
    // A link taken before the element at its other end joined the set named
    // that element as an outsider: it is one of the set now.
    auto inside = [&](TLink &link) {
        if (link.Entry < 0 && link.Key)
            if (auto it = FCapturing.find(link.Key); it != FCapturing.end() && it->second >= 0) {
                link.Entry = it->second;
                link.Ref = TElementRef();
            }
        link.Key = nullptr;
    };
    for (TNodeEntry &e : FNodes)
        inside(e.Parent);
    for (TConnectionEntry &e : FConnections) {
        inside(e.From);
        inside(e.To);
    }
    // Outsiders without a name are found by their place in Shapes, which
    // loses the set's nodes before them once the set is gone.
    std::vector<int> places;
    places.reserve(FNodes.size());
    for (const TNodeEntry &e : FNodes)
        places.push_back(e.ShapeIndex);
    std::sort(places.begin(), places.end());
    auto shift = [&](TLink &link) {
        if (link.Entry < 0 && link.Ref.Kind == TElementRef::erNode && link.Ref.Name.isEmpty())
            link.Ref.Index -=
                static_cast<int>(std::lower_bound(places.begin(), places.end(), link.Ref.Index) - places.begin());
    };
    for (TNodeEntry &e : FNodes)
        shift(e.Parent);
    for (TConnectionEntry &e : FConnections) {
        shift(e.From);
        shift(e.To);
    }
    FCapturing.clear();
    FNodes.shrink_to_fit();
    FConnections.shrink_to_fit();
    FNodeRecords.squeeze();
    FConnectionRecords.squeeze();
}

void TElementSet::Restore(TTreeDocument &tree) const
{
    std::vector<TTreeDocument::TReturningShape> shapes(FNodes.size());
    if (!FNodes.empty()) {
        TRecordSource source(FNodeRecords);
        for (size_t i = 0; i < FNodes.size(); ++i) {
            const TNodeEntry &e = FNodes[i];
            TTreeDocument::TReturningShape &s = shapes[i];
            s.Node = source.Next<TTreeNodeShape>();
            if (!s.Node)
                return; // not a record of this program's: nothing comes back
            s.Parent = e.Parent.Entry >= 0 ? shapes[static_cast<size_t>(e.Parent.Entry)].Node.get()
                                           : e.Parent.Ref.Node(tree);
            s.BrotherIndex = e.BrotherIndex;
            s.ShapeIndex = e.ShapeIndex;
            s.Visible = e.Visible;
            s.Edges = e.Edges;
        }
    }
    std::vector<TTreeDocument::TReturningConnection> connections(FConnections.size());
    if (!FConnections.empty()) {
        TRecordSource source(FConnectionRecords);
        auto end = [&](const TLink &link) {
            return link.Entry >= 0 ? shapes[static_cast<size_t>(link.Entry)].Node.get() : link.Ref.Node(tree);
        };
        for (size_t i = 0; i < FConnections.size(); ++i) {
            const TConnectionEntry &e = FConnections[i];
            TTreeDocument::TReturningConnection &r = connections[i];
            r.Connection = source.Next<TTreeConnection>();
            if (!r.Connection)
                return;
            r.From = end(e.From);
            r.To = end(e.To);
            r.Index = e.Index;
            r.FromIndex = e.FromIndex;
        }
    }
    tree.RestoreElements(shapes, connections);
}

void TElementSet::Remove(TTreeDocument &tree) const
{
    std::vector<TTreeNodeShape *> nodes;
    std::vector<TTreeConnection *> connections;
    for (const TElementRef &ref : FTops) {
        TComponent *element = ref.Resolve(tree);
        if (auto *node = dynamic_cast<TTreeNodeShape *>(element))
            nodes.push_back(node);
        else if (auto *c = dynamic_cast<TTreeConnection *>(element))
            connections.push_back(c);
    }
    // Connections first: one ending at a node of the set would go with it.
    for (TTreeConnection *c : connections)
        tree.DeleteConnection(c, false);
    for (TTreeNodeShape *node : nodes)
        tree.DeleteShape(node);
}

size_t TElementSet::MemoryUsage() const
{
    return sizeof(*this) + FNodes.capacity() * sizeof(TNodeEntry) +
           FConnections.capacity() * sizeof(TConnectionEntry) + static_cast<size_t>(FNodeRecords.capacity()) +
           static_cast<size_t>(FConnectionRecords.capacity()) + FTops.capacity() * sizeof(TElementRef);
}

// ---------------------------------------------------------------------------
// Entries

void TStateEntry::Undo(TTreeDocument &tree)
{
    if (TComponent *element = ElementAfter.Resolve(tree))
        tree.EditElement(element, QString(), [&] { Before.Apply(tree, *element); });
}

void TStateEntry::Redo(TTreeDocument &tree)
{
    if (TComponent *element = Element.Resolve(tree))
        tree.EditElement(element, QString(), [&] { After.Apply(tree, *element); });
}

size_t TStateEntry::MemoryUsage() const
{
    auto state = [](const TElementState &s) {
        return static_cast<size_t>(s.Record.capacity()) + s.SubtreeVisible.capacity() / 8 +
               s.Settings.capacity() * (sizeof(QString) + sizeof(QVariant) + 32) + s.RootCross.capacity();
    };
    return sizeof(*this) + state(Before) + state(After);
}

uint8_t TMoveBlock::AutoBits(const TTreeNodeShape *node)
{
    const TTreeShapeAutoPosition *a = node ? node->PeekAutoPosition() : nullptr;
    if (!a)
        return 0;
    return 1 | (a->Left() ? 2 : 0) | (a->Top() ? 4 : 0);
}

namespace {

void Shift(TTreeDocument &tree, const TMoveBlock::TMove &m, int sign, uint8_t bits)
{
    TTreeNodeShape *node = m.Node.Node(tree);
    if (!node)
        return;
    if (!(bits & 1)) {
        tree.ShiftShape(node, sign * m.DX, sign * m.DY, m.WithChildren, nullptr);
        return;
    }
    TTreeShapeAutoPosition flags;
    flags.SetLeft(bits & 2);
    flags.SetTop(bits & 4);
    tree.ShiftShape(node, sign * m.DX, sign * m.DY, m.WithChildren, &flags);
}

} // namespace

void TMoveBlock::Undo(TTreeDocument &tree)
{
    for (auto it = Moves.rbegin(); it != Moves.rend(); ++it)
        Shift(tree, *it, -1, it->AutoBefore);
}

void TMoveBlock::Redo(TTreeDocument &tree)
{
    for (const TMove &m : Moves)
        Shift(tree, m, 1, m.AutoAfter);
}

size_t TMoveBlock::MemoryUsage() const
{
    return sizeof(*this) + Moves.capacity() * sizeof(TMove);
}

void TSetEntry::Undo(TTreeDocument &tree)
{
    if (Added)
        Set.Remove(tree);
    else
        Set.Restore(tree);
}

void TSetEntry::Redo(TTreeDocument &tree)
{
    if (Added)
        Set.Restore(tree);
    else
        Set.Remove(tree);
}

size_t TSetEntry::MemoryUsage() const
{
    return sizeof(*this) - sizeof(Set) + Set.MemoryUsage();
}

TPlaceEntry::TPlace TPlaceEntry::Of(const TTreeDocument &tree, const TTreeNodeShape *node)
{
    TPlace place;
    place.Parent = TElementRef::Of(tree, node->Parent());
    place.BrotherIndex = node->Parent() ? node->BrotherIndex() : tree.Roots().IndexOf(node);
    place.ShapeIndex = tree.Shapes().IndexOf(node);
    place.Visible = node->Visible();
    return place;
}

void TPlaceEntry::Put(TTreeDocument &tree, const TPlace &place, TTreeNodeShape *node, bool asEdited)
{
    TTreeNodeShape *parent = place.Parent.Node(tree);
    if (asEdited && node->Parent() != parent)
        tree.SetShapeParent(node, parent);
    tree.PlaceShape(node, parent, place.BrotherIndex, place.ShapeIndex);
    if (node->Visible() != place.Visible)
        tree.EditElement(node, QStringLiteral("Visible"), [&] { node->SetVisible(place.Visible); });
}

void TPlaceEntry::Undo(TTreeDocument &tree)
{
    TTreeNodeShape *node = Node.Name.isEmpty() ? tree.Shapes().Items(After.ShapeIndex) : Node.Node(tree);
    if (!node)
        return;
    Put(tree, Before, node, false);
    Freed.Restore(tree);
}

void TPlaceEntry::Redo(TTreeDocument &tree)
{
    TTreeNodeShape *node = Node.Name.isEmpty() ? tree.Shapes().Items(Before.ShapeIndex) : Node.Node(tree);
    if (!node)
        return;
    Put(tree, After, node, true);
}

size_t TPlaceEntry::MemoryUsage() const
{
    return sizeof(*this) - sizeof(Freed) + Freed.MemoryUsage();
}
