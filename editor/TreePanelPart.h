#pragma once
// What the toolbars and the property pages share: a widget bound to one
// diagram that copies the diagram's values into its controls whenever the
// diagram tells of a change that concerns it, and writes the user's
// changes back through the diagram's operations.
//
// The copying runs with Updating set, so that the controls' handlers do
// not write back what they are shown; it runs once after a burst of
// notices (a selection of a thousand nodes refreshes once), from the event
// loop, or at once through Refresh.

#include "editor/EditorHost.h"
#include "model/TreeChanges.h"

#include <QWidget>
#include <vector>

class TChartPen;
class TCustomTreeElement;
class TTree;
class TTreeConnection;
class TTreeDocument;
class TTreeNodeShape;

class TTreePanelPart : public QWidget, public TEditorPart, public TTreeChangeListener
{
    Q_OBJECT
public:
    explicit TTreePanelPart(QWidget *parent = nullptr);
    ~TTreePanelPart() override;

    TTree *Tree() const { return FTree; }
    virtual void SetTree(TTree *tree);
    TEditorHost *Host() const { return FHost; }
    void SetHost(TEditorHost *host) { FHost = host; }

    // Set while the controls are being filled from the diagram.
    bool Updating() const { return FUpdating; }
    // Fills the controls now.
    void Refresh();
    // Whether a refresh waits for the event loop.
    bool RefreshPending() const { return FRefreshPending; }

    // TEditorPart
    void DocumentReplaced(TTree *tree) override;
    void WindowClosing() override { SetTree(nullptr); }

    // TTreeChangeListener
    void TreeChanged(TTreeDocument *tree, const TTreeChange &change) override;
    void TreeRemoved(TTreeDocument *tree, const TComponent *element) override;
    void TreeReplaced(TTreeDocument *tree) override;
    void TreeDestroying(TTreeDocument *tree) override;

protected:
    // Copies the diagram's values (none without a diagram) into the
    // controls; Updating is set meanwhile.
    virtual void FillControls() = 0;
    // Whether a notice changes what the controls show.
    virtual bool Concerns(const TTreeChange &change) const = 0;
    void ScheduleRefresh();
    void showEvent(QShowEvent *event) override;

private:
    TTree *FTree = nullptr;
    TEditorHost *FHost = nullptr;
    bool FUpdating = false;
    bool FRefreshPending = false;
};

// The elements the toolbars act on: the selected connection, else every
// selected node (in selection order).
struct TToolbarTargets
{
    TTreeConnection *Connection = nullptr;
    std::vector<TTreeNodeShape *> Nodes;

    bool Empty() const { return !Connection && Nodes.empty(); }
    // The element whose values the toolbars show: the connection, else the
    // first selected node.
    TCustomTreeElement *First() const;
    // The connection alone, else the nodes.
    std::vector<TCustomTreeElement *> All() const;
};
TToolbarTargets ToolbarTargets(const TTreeDocument *tree);

// The border pen of a node or connection (made on first use) and the one
// it draws with (never made).
TChartPen *ElementBorder(TCustomTreeElement *element);
const TChartPen *EffectiveElementBorder(const TCustomTreeElement *element);
