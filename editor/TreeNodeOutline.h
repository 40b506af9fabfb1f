#pragma once
// The node outline beside the diagram: the diagram's node hierarchy as a
// tree of labels that mirrors the diagram's selection. Selecting a row
// selects its node; editing a label renames the node or replaces its
// text; dragging a row onto another makes its node a child of the other's
// (onto empty space: a root); Delete deletes the selected nodes.
//
// The rows come from a model made when the outline is first shown with a
// diagram; while the outline is hidden it does not listen at all, and it
// starts afresh when shown again.

#include "editor/EditorHost.h"
#include "view/Arbolix.h"

#include <QPointer>
#include <QWidget>

class QTreeView;
class TTreeNodeShape;
class TTreeOutlineModel;

class TTreeNodeOutline : public QWidget, public TEditorPart
{
    Q_OBJECT
public:
    explicit TTreeNodeOutline(QWidget *parent = nullptr);
    ~TTreeNodeOutline() override;

    TTree *Tree() const { return FTree; }
    void SetTree(TTree *tree);
    // The window, for the inspector refresh (none: no refresh).
    void SetHost(TEditorHost *host) { FHost = host; }

    // Labels show the nodes' names rather than their texts.
    bool ShowNames() const { return FShowNames; }
    void SetShowNames(bool value);
    // One row at a time (selecting a row first empties the diagram's
    // selection).
    bool SingleSelection() const { return FSingleSelection; }
    void SetSingleSelection(bool value);
    // The outline scrolls to the rows it selects.
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool value) { FAutoScroll = value; }

    QTreeView *View() const { return FView; }
    // Null until the outline has been shown with a diagram.
    TTreeOutlineModel *Model() const { return FModel; }

    // Makes the rows afresh (when shown) and mirrors the selection.
    void Rebuild();
    // Selects the rows of the diagram's selected nodes, expanding their
    // collapsed ancestors.
    void MirrorSelection();

    // TEditorPart
    void DocumentReplaced(TTree *tree) override { SetTree(tree); }
    void WindowClosing() override { SetTree(nullptr); }

signals:
    // F11: the focus goes back to the diagram.
    void FocusDiagram();
    // The context menu was asked for at a global position.
    void ContextMenuAsked(const QPoint &globalPos);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Attach();
    void Detach();
    void RowsSelected(const class QItemSelection &selected, const class QItemSelection &deselected);
    void NodeSelectionChanged(TTreeNodeShape *node, bool selected);
    void SelectRow(TTreeNodeShape *node, bool selected);
    void DeleteSelected();

    // Let go of when the diagram goes.
    QPointer<TTree> FTree;
    TEditorHost *FHost = nullptr;
    QTreeView *FView;
    TTreeOutlineModel *FModel = nullptr;
    bool FShowNames = false;
    bool FSingleSelection = true;
    bool FAutoScroll = true;
    // Set while the outline copies the diagram's selection, and while it
    // passes its own on: neither side answers the other then.
    bool FMirroring = false;
    bool FSelecting = false;
    bool FMirrorPending = false;
};
