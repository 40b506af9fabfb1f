#include "editor/TreeOutlineModel.h"

#include "editor/TreePanelsConst.h"
#include "model/TreeDocument.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>
#include <QRegularExpression>
#include <algorithm>

namespace {

const char *const kOutlineMime = "application/x-dendrix-outline-nodes";

// The first line of a text typed into the outline.
QString FirstLine(const QString &text)
{
    const int end = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    return end < 0 ? text : text.left(end);
}

// Whether another node or connection of the diagram is called `name`
// (names compare without regard to case, as component names do).
bool NameInUse(const TTreeDocument &tree, const TComponent *self, const QString &name)
{
    for (const TTreeNodeShape *n : tree.Shapes())
        if (n != self && n->Name().compare(name, Qt::CaseInsensitive) == 0)
            return true;
    for (const TTreeConnection *c : tree.Connections())
        if (c != self && c->Name().compare(name, Qt::CaseInsensitive) == 0)
            return true;
    if (const TComponent *owner = self->Owner()) {
        const TComponent *other = owner->FindComponent(name);
        if (other && other != self)
            return true;
    }
    return false;
}

} // namespace

TTreeOutlineModel::TTreeOutlineModel(QObject *parent) : QAbstractItemModel(parent) {}

TTreeOutlineModel::~TTreeOutlineModel()
{
    if (FTree)
        FTree->RemoveChangeListener(this);
}

void TTreeOutlineModel::SetTree(TTreeDocument *tree)
{
    if (tree == FTree)
        return;
    beginResetModel();
    if (FTree)
        FTree->RemoveChangeListener(this);
    FTree = tree;
    FHidden.clear();
    FRootRows.clear();
    FSuppressed = false;
    if (FTree)
        FTree->AddChangeListener(this);
    endResetModel();
    emit Rebuilt();
}

void TTreeOutlineModel::SetShowNames(bool value)
{
    if (value == FShowNames)
        return;
    FShowNames = value;
    // Every label may change; the rows stay.
    const QList<QPersistentModelIndex> none;
    emit layoutAboutToBeChanged(none, QAbstractItemModel::NoLayoutChangeHint);
    emit layoutChanged(none, QAbstractItemModel::NoLayoutChangeHint);
}

// ---------------------------------------------------------------------------
// The diagram's rows as the model shows them

int TTreeOutlineModel::RealCount(const TTreeNodeShape *parent) const
{
    return parent ? parent->ChildCount() : FTree->Roots().Count();
}

TTreeNodeShape *TTreeOutlineModel::RealChild(const TTreeNodeShape *parent, int row) const
{
    return parent ? parent->Child(row) : FTree->Roots().Items(row);
}

int TTreeOutlineModel::RootRow(const TTreeNodeShape *node) const
{
    const TNodeShapeList &roots = FTree->Roots();
    auto it = FRootRows.constFind(node);
    if (it != FRootRows.constEnd() && roots.Items(*it) == node)
        return *it;
    FRootRows.clear();
    FRootRows.reserve(roots.Count());
    for (int i = 0; i < roots.Count(); ++i)
        FRootRows.insert(roots.Items(i), i);
    it = FRootRows.constFind(node);
    return it == FRootRows.constEnd() ? -1 : *it;
}

int TTreeOutlineModel::RealRow(const TTreeNodeShape *node) const
{
    return node->Parent() ? node->BrotherIndex() : RootRow(node);
}

int TTreeOutlineModel::PendingUnder(const TTreeNodeShape *parent) const
{
    return static_cast<int>(
        std::count_if(FHidden.begin(), FHidden.end(), [parent](const THidden &h) { return h.Parent == parent; }));
}

bool TTreeOutlineModel::IsHidden(const TTreeNodeShape *node) const
{
    return std::any_of(FHidden.begin(), FHidden.end(), [node](const THidden &h) { return h.Node == node; });
}

bool TTreeOutlineModel::InHiddenSubtree(const TTreeNodeShape *node) const
{
    if (FHidden.empty())
        return false;
    for (const TTreeNodeShape *n = node; n; n = n->Parent())
        if (IsHidden(n))
            return true;
    return false;
}

int TTreeOutlineModel::ViewRow(const TTreeNodeShape *node) const
{
    const int real = RealRow(node);
    if (real < 0 || FHidden.empty())
        return real;
    const TTreeNodeShape *parent = node->Parent();
    if (PendingUnder(parent) == 0)
        return real;
    int before = 0;
    for (const THidden &h : FHidden)
        if (h.Parent == parent && h.Row < real)
            ++before;
    return real - before;
}

QModelIndex TTreeOutlineModel::ParentIndex(const TTreeNodeShape *node) const
{
    const TTreeNodeShape *parent = node ? node->Parent() : nullptr;
    return parent ? IndexOf(parent) : QModelIndex();
}

TTreeNodeShape *TTreeOutlineModel::Node(const QModelIndex &index) const
{
    return index.isValid() && index.model() == this ? static_cast<TTreeNodeShape *>(index.internalPointer())
                                                     : nullptr;
}

QModelIndex TTreeOutlineModel::IndexOf(const TTreeNodeShape *node) const
{
    if (!node || !FTree || FSuppressed || node->Tree() != FTree || InHiddenSubtree(node))
        return QModelIndex();
    const int row = ViewRow(node);
    if (row < 0)
        return QModelIndex();
    return createIndex(row, 0, const_cast<TTreeNodeShape *>(node));
}

QModelIndex TTreeOutlineModel::index(int row, int column, const QModelIndex &parent) const
{
    if (!FTree || FSuppressed || column != 0 || row < 0)
        return QModelIndex();
    const TTreeNodeShape *p = Node(parent);
    if (parent.isValid() && !p)
        return QModelIndex();
    if (PendingUnder(p) == 0) {
        TTreeNodeShape *child = RealChild(p, row);
        return child ? createIndex(row, 0, child) : QModelIndex();
    }
    // Pass by the brothers that are leaving.
    int seen = -1;
    const int count = RealCount(p);
    for (int i = 0; i < count; ++i) {
        TTreeNodeShape *child = RealChild(p, i);
        if (IsHidden(child))
            continue;
        if (++seen == row)
            return createIndex(row, 0, child);
    }
    return QModelIndex();
}

QModelIndex TTreeOutlineModel::parent(const QModelIndex &child) const
{
    const TTreeNodeShape *node = Node(child);
    return node ? ParentIndex(node) : QModelIndex();
}

int TTreeOutlineModel::rowCount(const QModelIndex &parent) const
{
    if (!FTree || FSuppressed || parent.column() > 0)
        return 0;
    const TTreeNodeShape *p = Node(parent);
    if (parent.isValid() && !p)
        return 0;
    return RealCount(p) - PendingUnder(p);
}

int TTreeOutlineModel::columnCount(const QModelIndex &) const
{
    return 1;
}

bool TTreeOutlineModel::hasChildren(const QModelIndex &parent) const
{
    return rowCount(parent) > 0;
}

QString TTreeOutlineModel::Label(const TTreeNodeShape *node) const
{
    if (!node)
        return QString();
    const QString name = node->Name();
    const QString text = node->LineCount() > 0 ? node->Line(0) : QString();
    QString label = FShowNames ? (name.isEmpty() ? text : name) : (text.isEmpty() ? name : text);
    if (label.isEmpty() && FTree)
        label = QString::number(FTree->Shapes().IndexOf(node));
    return label;
}

QVariant TTreeOutlineModel::data(const QModelIndex &index, int role) const
{
    const TTreeNodeShape *node = Node(index);
    if (!node)
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return Label(node);
    case Qt::EditRole: {
        // What the user edits: the name, or every text line.
        if (FShowNames && !node->Name().isEmpty())
            return node->Name();
        QStringList lines;
        for (int i = 0; i < node->LineCount(); ++i)
            lines << node->Line(i);
        return lines.isEmpty() ? Label(node) : lines.join(QLatin1Char('\n'));
    }
    default:
        return QVariant();
    }
}

QString TTreeOutlineModel::ApplyLabel(TTreeNodeShape *node, const QString &label)
{
    if (!node || !FTree || node->Tree() != FTree)
        return QString();
    if (FShowNames && !label.isEmpty()) {
        const QString name = FirstLine(label).trimmed();
        if (name == node->Name())
            return QString();
        if (!TComponent::IsValidIdent(name))
            return FormatMessage(SOutlineNameInvalid, {name});
        if (NameInUse(*FTree, node, name))
            return FormatMessage(SOutlineNameTaken, {name});
        TTreeStep step(FTree, SStepRename);
        FTree->EditElement(node, QStringLiteral("Name"), [&] { node->SetName(name); });
        return QString();
    }
    QStringList lines = label.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    if (label.isEmpty())
        lines.clear();
    TTreeStep step(FTree, SStepText);
    FTree->SetElementText(node, lines);
    return QString();
}

bool TTreeOutlineModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    TTreeNodeShape *node = Node(index);
    if (!node || role != Qt::EditRole)
        return false;
    const QString reason = ApplyLabel(node, value.toString());
    if (!reason.isEmpty()) {
        emit LabelRefused(reason);
        return false;
    }
    return true;
}

Qt::ItemFlags TTreeOutlineModel::flags(const QModelIndex &index) const
{
    if (!Node(index))
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsDragEnabled |
           Qt::ItemIsDropEnabled;
}

// ---------------------------------------------------------------------------
// Dragging nodes onto others

Qt::DropActions TTreeOutlineModel::supportedDropActions() const
{
    return Qt::MoveAction;
}

Qt::DropActions TTreeOutlineModel::supportedDragActions() const
{
    return Qt::MoveAction;
}

QStringList TTreeOutlineModel::mimeTypes() const
{
    return {QString::fromLatin1(kOutlineMime)};
}

QMimeData *TTreeOutlineModel::mimeData(const QModelIndexList &indexes) const
{
    if (!FTree)
        return nullptr;
    // The model and the nodes' places in the diagram's node list: a drop
    // checks both, so stale or foreign data moves nothing.
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << quint64(reinterpret_cast<quintptr>(this));
    QList<int> places;
    for (const QModelIndex &i : indexes)
        if (const TTreeNodeShape *node = Node(i))
            places << FTree->Shapes().IndexOf(node);
    out << places;
    auto *data = new QMimeData;
    data->setData(QString::fromLatin1(kOutlineMime), bytes);
    return data;
}

std::vector<TTreeNodeShape *> TTreeOutlineModel::DraggedNodes(const QMimeData *data) const
{
    std::vector<TTreeNodeShape *> nodes;
    if (!FTree || !data || !data->hasFormat(QString::fromLatin1(kOutlineMime)))
        return nodes;
    QDataStream in(data->data(QString::fromLatin1(kOutlineMime)));
    quint64 origin = 0;
    QList<int> places;
    in >> origin >> places;
    if (in.status() != QDataStream::Ok || origin != quint64(reinterpret_cast<quintptr>(this)))
        return nodes;
    for (int place : places)
        if (TTreeNodeShape *node = FTree->Shapes().Items(place))
            if (std::find(nodes.begin(), nodes.end(), node) == nodes.end())
                nodes.push_back(node);
    return nodes;
}

bool TTreeOutlineModel::canDropMimeData(const QMimeData *data, Qt::DropAction action, int, int,
                                        const QModelIndex &parent) const
{
    if (action != Qt::MoveAction)
        return false;
    const std::vector<TTreeNodeShape *> nodes = DraggedNodes(data);
    const TTreeNodeShape *target = Node(parent);
    return std::any_of(nodes.begin(), nodes.end(), [target](const TTreeNodeShape *n) {
        return n != target && !n->IsAncestorOf(target) && n->Parent() != target;
    });
}

bool TTreeOutlineModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int, int,
                                     const QModelIndex &parent)
{
    if (action != Qt::MoveAction)
        return false;
    MoveNodes(DraggedNodes(data), Node(parent));
    // The notices have moved the rows already: the view removes nothing.
    return false;
}

void TTreeOutlineModel::MoveNodes(const std::vector<TTreeNodeShape *> &nodes, TTreeNodeShape *target)
{
    if (!FTree || nodes.empty())
        return;
    if (target && target->Tree() != FTree)
        return;
    std::vector<TTreeNodeShape *> moving;
    for (TTreeNodeShape *node : nodes)
        if (node->Tree() == FTree && node != target && !node->IsAncestorOf(target) && node->Parent() != target)
            moving.push_back(node);
    if (moving.empty())
        return;
    TTreeStep step(FTree, SStepMoveNodes);
    for (TTreeNodeShape *node : moving)
        FTree->SetShapeParent(node, target);
}

// ---------------------------------------------------------------------------
// Following the diagram

void TTreeOutlineModel::Leave(TTreeNodeShape *node)
{
    if (InHiddenSubtree(node))
        return;
    const QModelIndex index = IndexOf(node);
    if (!index.isValid())
        return;
    const int real = RealRow(node);
    beginRemoveRows(ParentIndex(node), index.row(), index.row());
    FHidden.push_back({node, node->Parent(), real});
    endRemoveRows();
}

void TTreeOutlineModel::Forget(const TComponent *element)
{
    FHidden.erase(std::remove_if(FHidden.begin(), FHidden.end(),
                                 [element](const THidden &h) { return static_cast<const TComponent *>(h.Node) == element; }),
                  FHidden.end());
}

void TTreeOutlineModel::Arrive(TTreeNodeShape *node)
{
    if (!node || node->Tree() != FTree || InHiddenSubtree(node))
        return;
    const QModelIndex index = IndexOf(node);
    if (!index.isValid())
        return;
    // The diagram holds the node already: it stays out of the rows until
    // the views have been told, so they count the rows before and after.
    FHidden.push_back({node, node->Parent(), RealRow(node)});
    beginInsertRows(ParentIndex(node), index.row(), index.row());
    FHidden.pop_back();
    endInsertRows();
}

void TTreeOutlineModel::TreeChanging(TTreeDocument *tree, const TTreeChange &change)
{
    if (tree != FTree || FSuppressed)
        return;
    auto *node = dynamic_cast<TTreeNodeShape *>(change.Element);
    if (!node)
        return;
    switch (change.Kind) {
    case tckRemoving:
    case tckParent:
    case tckOrder:
        Leave(node);
        break;
    default:
        break;
    }
}

void TTreeOutlineModel::TreeChanged(TTreeDocument *tree, const TTreeChange &change)
{
    if (tree != FTree || FSuppressed)
        return;
    auto *node = dynamic_cast<TTreeNodeShape *>(change.Element);
    if (!node)
        return;
    switch (change.Kind) {
    case tckAdded:
        Arrive(node);
        break;
    case tckParent:
    case tckOrder:
        Forget(node);
        Arrive(node);
        if (node->Selected())
            emit NodeSelectionChanged(node, true);
        break;
    case tckText:
    case tckProperty: {
        const QModelIndex index = IndexOf(node);
        if (index.isValid())
            emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
        break;
    }
    case tckSelection:
        if (!InHiddenSubtree(node))
            emit NodeSelectionChanged(node, node->Selected());
        break;
    default:
        break;
    }
}

void TTreeOutlineModel::TreeStepEnd(TTreeDocument *tree)
{
    if (tree != FTree)
        return;
    emit StepEnded();
}

void TTreeOutlineModel::TreeRemoved(TTreeDocument *tree, const TComponent *element)
{
    if (tree == FTree)
        Forget(element);
}

void TTreeOutlineModel::TreeReplacing(TTreeDocument *tree)
{
    if (tree != FTree || FSuppressed)
        return;
    beginResetModel();
    FSuppressed = true;
    FHidden.clear();
    FRootRows.clear();
    endResetModel();
}

void TTreeOutlineModel::TreeReplaced(TTreeDocument *tree)
{
    if (tree != FTree)
        return;
    beginResetModel();
    FSuppressed = false;
    FHidden.clear();
    FRootRows.clear();
    endResetModel();
    emit Rebuilt();
}

void TTreeOutlineModel::TreeDestroying(TTreeDocument *tree)
{
    if (tree != FTree)
        return;
    beginResetModel();
    FTree = nullptr;
    FHidden.clear();
    FRootRows.clear();
    FSuppressed = false;
    endResetModel();
}
