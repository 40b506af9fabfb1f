// Saving and loading diagrams, and how read elements join the diagram.

#include "model/TreeFile.h"

#include "core/ClassRegistry.h"
#include "core/CoreConst.h"
#include "core/Exceptions.h"
#include "model/TreeConst.h"
#include "model/TreeDocument.h"
#include "model/TreeReader.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <unordered_map>
#include <utility>
#include <vector>

const char *const kDefaultHostName = "TreeEditor1";

// ---------------------------------------------------------------------------
// One load in progress

class TDiagramLoad
{
public:
    explicit TDiagramLoad(TTreeDocument &tree) : FTree(tree)
    {
        TComponent *owner = ElementOwner();
        FOwnedBefore = owner->ComponentCount();
    }

    // The component that owns what is read: the diagram's owner, else the
    // diagram itself.
    TComponent *ElementOwner() const { return FTree.Owner() ? FTree.Owner() : &FTree; }

    // A node read from the file joins the diagram's nodes now and its roots
    // once the references are resolved (Finish), so resolving a hundred
    // thousand parents does not search the roots each time.
    void AddNode(TTreeNodeShape *node)
    {
        node->FTree = &FTree;
        FTree.FShapes.Add(node);
        FNodes.emplace_back(node, node->FVisible);
    }

    // Room for about `count` elements in the diagram's lists.
    void Reserve(int count)
    {
        FTree.FShapes.ResetCapacity(count);
        FTree.FConnections.ResetCapacity(count);
        FNodes.reserve(static_cast<size_t>(count));
    }

    // After the references were resolved, whether or not reading stopped.
    void Finish()
    {
        if (FFinished)
            return;
        FFinished = true;
        // The roots: every node without parent, in file order.
        FTree.FRoots.Clear();
        for (TTreeNodeShape *node : FTree.FShapes)
            if (!node->FParent) {
                FTree.FRoots.Add(node);
                node->FBrotherIndex = -1;
            }
        // Resolving a parent made the node as visible as its parent is
        // expanded; it keeps the visibility it was stored with. A picture
        // from the diagram's image list was chosen while the node was not
        // in the diagram yet: its size is taken now.
        for (const auto &[node, visible] : FNodes) {
            node->FVisible = visible;
            if (node->FImageListIndex != -1)
                node->RecalcImageSize();
        }
        FNodes.clear();
        // Components of other classes that the file held as elements are
        // not left behind in the owner.
        TComponent *owner = ElementOwner();
        std::vector<TComponent *> strays;
        for (int i = FOwnedBefore; i < owner->ComponentCount(); ++i) {
            TComponent *c = owner->Components(i);
            auto *element = dynamic_cast<TCustomTreeElement *>(c);
            if (!element || element->Tree() != &FTree)
                strays.push_back(c);
        }
        for (TComponent *c : strays)
            owner->RemoveComponent(c).reset();
    }

    static void SetPartlyRead(TTreeDocument &tree, bool partly, const QString &source)
    {
        tree.FPartlyRead = partly;
        tree.FPartlyReadFrom = partly ? source : QString();
    }
    static void SetLoad(TTreeDocument &tree, TDiagramLoad *load) { tree.FLoad = load; }
    static TDiagramLoad *Load(const TTreeDocument &tree) { return tree.FLoad; }

private:
    TTreeDocument &FTree;
    std::vector<std::pair<TTreeNodeShape *, bool>> FNodes;
    int FOwnedBefore = 0;
    bool FFinished = false;
};

// ---------------------------------------------------------------------------
// Elements joining the diagram they are read into

void TCustomTreeElement::AttachToParent(TComponent *parent)
{
    auto *tree = dynamic_cast<TTreeDocument *>(parent);
    if (!tree)
        throw EReadError(SInvalidImage); // elements hold no child records
    SetTree(tree);
}

void TTreeNodeShape::AttachToParent(TComponent *parent)
{
    auto *tree = dynamic_cast<TTreeDocument *>(parent);
    TDiagramLoad *load = tree ? TDiagramLoad::Load(*tree) : nullptr;
    if (load && !FTree && !FParent && !FSelected) {
        load->AddNode(this);
        return;
    }
    TCustomTreeElement::AttachToParent(parent);
}

namespace {

// The nodes in the order they are written: Shapes order, except that the
// children of one parent, and the roots, fill the places their group holds
// in Shapes in the order of the parent's Children (of Roots). A node given
// another parent, or made a root, goes last among its new brothers but
// keeps its place in Shapes, and reading puts brothers in file order: in
// plain Shapes order it would come back elsewhere among them. Lists that
// do not agree with each other are written in Shapes order.
std::vector<TTreeNodeShape *> WrittenNodeOrder(const TTreeDocument &tree)
{
    const auto &shapes = tree.Shapes();
    const TNodeShapeList &roots = tree.Roots();
    std::vector<TTreeNodeShape *> order;
    order.reserve(static_cast<size_t>(shapes.Count()));
    std::unordered_map<const TTreeNodeShape *, int> placed; // per parent; null: the roots
    for (TTreeNodeShape *node : shapes) {
        const TTreeNodeShape *parent = node->Parent();
        const int k = placed[parent]++;
        TTreeNodeShape *next = parent ? parent->Child(k) : roots[k];
        if (!next || next->Parent() != parent || next->Tree() != &tree) {
            order.assign(shapes.begin(), shapes.end());
            break;
        }
        order.push_back(next);
    }
    return order;
}

} // namespace

void TTreeDocument::GetChildren(const std::function<void(TComponent *)> &proc) const
{
    const bool ownedOnly = FNoOwnerShapes;
    for (TTreeNodeShape *node : WrittenNodeOrder(*this))
        if (!ownedOnly || node->Owner())
            proc(node);
    for (TTreeConnection *c : FConnections)
        if (!ownedOnly ||
            (c->FromShape() && c->ToShape() && c->FromShape()->Owner() && c->ToShape()->Owner()))
            proc(c);
}

// ---------------------------------------------------------------------------
// Saving

namespace {

class TTreeWriter : public TWriter
{
public:
    using TWriter::TWriter;

    // Elements of an owner without a name are referenced under the
    // editor's name, which any loading diagram resolves among its own
    // owner's components.
    QString ReferenceIdent(const TComponent &component) const override
    {
        QString ident = TWriter::ReferenceIdent(component);
        if (ident.isEmpty() && !component.Name().isEmpty() && component.Owner() &&
            component.Owner()->Name().isEmpty())
            ident = QLatin1String(kDefaultHostName) + QLatin1Char('.') + component.Name();
        return ident;
    }
};

bool SameFile(const QString &a, const QString &b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

} // namespace

void SaveDiagram(TTreeDocument &diagram, QIODevice &stream, const TSaveContinuation &continuation)
{
    // The record carries no name, so reading it back never renames the
    // diagram (nor clashes with another component of its owner), and the
    // control is shown so the file never stores it hidden.
    const QString name = diagram.Name();
    const bool visible = diagram.ControlVisible();
    auto restore = [&] {
        if (diagram.Name() != name)
            diagram.SetName(name);
        if (diagram.ControlVisible() != visible)
            diagram.SetControlVisible(visible);
    };
    diagram.SetName(QString());
    if (!visible)
        diagram.SetControlVisible(true);
    try {
        TTreeWriter writer(stream);
        writer.WriteRootComponent(diagram);
    } catch (...) {
        restore();
        throw;
    }
    restore();
    if (continuation) {
        // What follows names the elements as the diagram's record does.
        TTreeWriter writer(stream);
        continuation(writer);
        writer.FlushBuffer();
    }
}

QString DiagramFileName(const QString &fileName)
{
    if (QFileInfo(fileName).suffix().isEmpty())
        return fileName + QStringLiteral(".abx");
    return fileName;
}

void SaveDiagramFile(TTreeDocument &diagram, const QString &fileName, const TSaveContinuation &continuation)
{
    const QString name = DiagramFileName(fileName);
    if (diagram.PartlyRead() && !diagram.PartlyReadFrom().isEmpty() && SameFile(diagram.PartlyReadFrom(), name))
        throw EFileError(FormatMessage(SPartlyReadFile, {name}));
    // Written beside the target and put in its place only when complete.
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly))
        throw EFileError(FormatMessage(SFCreateError, {name, file.errorString()}));
    try {
        SaveDiagram(diagram, file, continuation);
    } catch (const EWriteError &) {
        const bool deviceFailed = file.error() != QFileDevice::NoError;
        const QString reason = file.errorString();
        file.cancelWriting();
        if (deviceFailed)
            throw EFileError(FormatMessage(SFCreateError, {name, reason}));
        throw;
    } catch (...) {
        file.cancelWriting();
        throw;
    }
    if (!file.commit())
        throw EFileError(FormatMessage(SFCreateError, {name, file.errorString()}));
    // The whole diagram has a file of its own now.
    TDiagramLoad::SetPartlyRead(diagram, false, QString());
}

// ---------------------------------------------------------------------------
// Loading

namespace {

// Refuses, before anything is cleared, a stream whose root record names a
// registered class that is no diagram. Reads nothing (the device's own
// look-ahead); a device that cannot look ahead far enough is not checked.
void CheckRootClass(QIODevice &stream)
{
    const QByteArray head = stream.peek(4 + 1 + 9 + 1 + 255);
    if (head.size() < 5 || !head.startsWith(QByteArray(kStreamSignature, sizeof kStreamSignature)))
        return;
    qsizetype pos = 4;
    const auto byte = [&head](qsizetype i) { return static_cast<uint8_t>(head.at(i)); };
    if ((byte(pos) & kPrefixMask) == kPrefixMask) {
        const bool hasPosition = byte(pos) & kFlagChildPosition;
        ++pos;
        if (hasPosition) {
            if (pos >= head.size())
                return;
            switch (static_cast<TValueTag>(byte(pos++))) {
            case TValueTag::Int8: pos += 1; break;
            case TValueTag::Int16: pos += 2; break;
            case TValueTag::Int32: pos += 4; break;
            case TValueTag::Int64: pos += 8; break;
            default: return;
            }
        }
    }
    if (pos >= head.size() || pos + 1 + byte(pos) > head.size())
        return;
    const QString className = QString::fromLatin1(head.constData() + pos + 1, byte(pos));
    const TClassInfo *cls = TClassRegistry::Instance().GetClass(className);
    if (cls && !cls->InheritsFrom(TTreeDocument::StaticClassInfo()))
        throw EReadError(SInternalErrorReadingTree);
}

void Load(TTreeDocument &diagram, QIODevice &stream, const QString &source, const TLoadContinuation &continuation,
          void *data)
{
    if (diagram.ReadingFile())
        throw EReadError(SReadError); // a diagram loads one file at a time
    CheckRootClass(stream);
    TTreeReader reader(stream);
    reader.SetDiagram(&diagram);
    if (diagram.Owner())
        reader.SetOwner(diagram.Owner());
    reader.ReadSignature();

    // From here on the diagram holds what the stream holds.
    const bool repaint = diagram.AutoRepaint();
    diagram.SetAutoRepaint(false);
    diagram.BeginReplace();
    diagram.Clear();
    const TTreeDocument::TControlPlacement placement = diagram.ControlPlacement();
    // "Owner.Element" names the element among the components of this
    // diagram's owner, whatever the owner was called where it was written.
    TScopedGlobalComponentLookup lookup([&diagram](const QString &) -> TComponent * {
        return diagram.Owner() ? diagram.Owner() : &diagram;
    });
    TDiagramLoad load(diagram);
    auto restore = [&] {
        TDiagramLoad::SetLoad(diagram, nullptr);
        diagram.SetDesigning(diagram.IsDesigning());
        diagram.SetControlPlacement(placement);
        diagram.SetAutoRepaint(repaint);
        diagram.Invalidate();
        diagram.EndReplace();
    };
    try {
        if (!diagram.IsDesigning())
            diagram.SetDesigning(true);
        TDiagramLoad::SetLoad(diagram, &load);
        // An element takes some hundred bytes of a file: room for the names
        // of as many as the file can hold, within reason.
        if (!stream.isSequential()) {
            const int expected = static_cast<int>(std::min<qint64>((stream.size() - stream.pos()) / 100, 1 << 20));
            load.ElementOwner()->ReserveComponents(expected);
            load.Reserve(expected);
            reader.ReserveRecords(expected);
        }
        reader.ReadRootComponent(diagram);
        load.Finish();
        if (continuation)
            continuation(data, reader, stream);
    } catch (...) {
        load.Finish();
        TDiagramLoad::SetPartlyRead(diagram, true, source);
        restore();
        throw;
    }
    TDiagramLoad::SetPartlyRead(diagram, false, QString());
    restore();
}

} // namespace

void LoadDiagram(TTreeDocument &diagram, QIODevice &stream, const TLoadContinuation &continuation, void *data)
{
    Load(diagram, stream, QString(), continuation, data);
}

void LoadDiagramFile(TTreeDocument &diagram, const QString &fileName, const TLoadContinuation &continuation,
                     void *data)
{
    const QString name = DiagramFileName(fileName);
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        throw EFileError(FormatMessage(SFOpenError, {name, file.errorString()}));
    Load(diagram, file, name, continuation, data);
    file.close();
    diagram.Invalidate();
}
