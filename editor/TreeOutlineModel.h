#pragma once
// The node hierarchy of a diagram as an item model: one row per node, the
// roots at the top level and each node's children below it in child order.
// Rows are made when a view asks for them, never copied up front, so a
// diagram of any size costs nothing until its rows are looked at.
//
// The model follows the diagram through its change notices: nodes added,
// removed, given another parent or another place among their brothers, and
// texts and names changed. A node that is about to go (or to move) leaves
// the model before it leaves the diagram, so a view never meets a node
// that is gone. Clearing and reading a file reset the model.
//
// Labels: with ShowNames, a node's component name (its first text line
// when the name is empty); otherwise its first text line (its name when
// the text is empty); when both are empty, its position in the diagram's
// node list.

#include "model/TreeChanges.h"

#include <QAbstractItemModel>
#include <QHash>
#include <vector>

class TComponent;
class TTreeDocument;
class TTreeNodeShape;

class TTreeOutlineModel : public QAbstractItemModel, public TTreeChangeListener
{
    Q_OBJECT
public:
    explicit TTreeOutlineModel(QObject *parent = nullptr);
    ~TTreeOutlineModel() override;

    TTreeDocument *Tree() const { return FTree; }
    // Listens to another diagram (none: the model is empty) and resets.
    void SetTree(TTreeDocument *tree);

    bool ShowNames() const { return FShowNames; }
    // Relabels every row.
    void SetShowNames(bool value);

    TTreeNodeShape *Node(const QModelIndex &index) const;
    // The row of a node of the diagram (invalid for none, or for a node
    // that is leaving).
    QModelIndex IndexOf(const TTreeNodeShape *node) const;
    QString Label(const TTreeNodeShape *node) const;

    // What editing a label in place does to the node: with ShowNames and a
    // non-empty label the first line becomes the component name, else the
    // label becomes the node's text. Answers an empty text when done, else
    // why the label was refused (a name that is no identifier, or that
    // another component uses). One step of the diagram.
    QString ApplyLabel(TTreeNodeShape *node, const QString &label);

    // Re-parents the nodes onto `target` (null: they become roots), as a
    // drop does; nodes that cannot go there stay. One step.
    void MoveNodes(const std::vector<TTreeNodeShape *> &nodes, TTreeNodeShape *target);

    // ---- QAbstractItemModel
    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    Qt::DropActions supportedDropActions() const override;
    Qt::DropActions supportedDragActions() const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;
    // The nodes a drag of this model carries (none for other data).
    std::vector<TTreeNodeShape *> DraggedNodes(const QMimeData *data) const;

    // ---- Change notices
    void TreeStepEnd(TTreeDocument *tree) override;
    void TreeChanging(TTreeDocument *tree, const TTreeChange &change) override;
    void TreeChanged(TTreeDocument *tree, const TTreeChange &change) override;
    void TreeRemoved(TTreeDocument *tree, const TComponent *element) override;
    void TreeReplacing(TTreeDocument *tree) override;
    void TreeReplaced(TTreeDocument *tree) override;
    void TreeDestroying(TTreeDocument *tree) override;

signals:
    // A node entered or left the diagram's selection.
    void NodeSelectionChanged(TTreeNodeShape *node, bool selected);
    // A user action of the diagram ended.
    void StepEnded();
    // The rows were made afresh (another diagram, a cleared or read one).
    void Rebuilt();
    // A label was refused, with the reason (ApplyLabel through setData).
    void LabelRefused(const QString &reason);

private:
    // A node that left the model but not yet the diagram: it is passed by
    // while its parent still holds it.
    struct THidden
    {
        const TTreeNodeShape *Node;
        const TTreeNodeShape *Parent;
        int Row; // its place among its brothers when it left
    };
    int RealCount(const TTreeNodeShape *parent) const;
    TTreeNodeShape *RealChild(const TTreeNodeShape *parent, int row) const;
    int RealRow(const TTreeNodeShape *node) const;
    int RootRow(const TTreeNodeShape *node) const;
    // The hidden brothers still held under a parent.
    int PendingUnder(const TTreeNodeShape *parent) const;
    bool IsHidden(const TTreeNodeShape *node) const;
    // The node or one of its ancestors left the model.
    bool InHiddenSubtree(const TTreeNodeShape *node) const;
    int ViewRow(const TTreeNodeShape *node) const;
    QModelIndex ParentIndex(const TTreeNodeShape *node) const;
    void Leave(TTreeNodeShape *node);
    void Arrive(TTreeNodeShape *node);
    void Forget(const TComponent *element);

    TTreeDocument *FTree = nullptr;
    bool FShowNames = false;
    // Set between TreeReplacing and TreeReplaced: no rows.
    bool FSuppressed = false;
    std::vector<THidden> FHidden;
    // The rows of the roots, checked at every use and made again when one
    // turns out wrong.
    mutable QHash<const TTreeNodeShape *, int> FRootRows;
};
