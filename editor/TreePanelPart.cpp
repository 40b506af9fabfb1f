#include "editor/TreePanelPart.h"

#include "view/Arbolix.h"

#include <QMetaObject>

TTreePanelPart::TTreePanelPart(QWidget *parent) : QWidget(parent) {}

TTreePanelPart::~TTreePanelPart()
{
    if (FTree)
        FTree->RemoveChangeListener(this);
}

void TTreePanelPart::SetTree(TTree *tree)
{
    if (tree == FTree)
        return;
    if (FTree)
        FTree->RemoveChangeListener(this);
    FTree = tree;
    if (FTree)
        FTree->AddChangeListener(this);
    Refresh();
}

void TTreePanelPart::DocumentReplaced(TTree *tree)
{
    if (tree == FTree)
        Refresh();
    else
        SetTree(tree);
}

void TTreePanelPart::Refresh()
{
    FRefreshPending = false;
    const bool was = FUpdating;
    FUpdating = true;
    FillControls();
    FUpdating = was;
}

void TTreePanelPart::ScheduleRefresh()
{
    if (FRefreshPending)
        return;
    FRefreshPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (FRefreshPending)
                Refresh();
        },
        Qt::QueuedConnection);
}

void TTreePanelPart::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    Refresh();
}

void TTreePanelPart::TreeChanged(TTreeDocument *tree, const TTreeChange &change)
{
    if (tree == FTree && Concerns(change))
        ScheduleRefresh();
}

void TTreePanelPart::TreeRemoved(TTreeDocument *tree, const TComponent *element)
{
    // A selected element may have gone.
    if (tree == FTree)
        ScheduleRefresh();
    Q_UNUSED(element);
}

void TTreePanelPart::TreeReplaced(TTreeDocument *tree)
{
    if (tree == FTree)
        ScheduleRefresh();
}

void TTreePanelPart::TreeDestroying(TTreeDocument *tree)
{
    if (static_cast<TTreeDocument *>(FTree) != tree)
        return;
    FTree = nullptr;
    Refresh();
}

// ---------------------------------------------------------------------------

TToolbarTargets ToolbarTargets(const TTreeDocument *tree)
{
    TToolbarTargets t;
    if (!tree)
        return t;
    t.Connection = tree->Connections().Selected();
    if (!t.Connection)
        t.Nodes = tree->Selected().Nodes();
    return t;
}

TCustomTreeElement *TToolbarTargets::First() const
{
    if (Connection)
        return Connection;
    return Nodes.empty() ? nullptr : Nodes.front();
}

std::vector<TCustomTreeElement *> TToolbarTargets::All() const
{
    if (Connection)
        return {Connection};
    return std::vector<TCustomTreeElement *>(Nodes.begin(), Nodes.end());
}

TChartPen *ElementBorder(TCustomTreeElement *element)
{
    if (auto *node = dynamic_cast<TTreeNodeShape *>(element))
        return node->Border();
    if (auto *c = dynamic_cast<TTreeConnection *>(element))
        return c->Border();
    return nullptr;
}

const TChartPen *EffectiveElementBorder(const TCustomTreeElement *element)
{
    if (auto *node = dynamic_cast<const TTreeNodeShape *>(element))
        return node->EffectiveBorder();
    if (auto *c = dynamic_cast<const TTreeConnection *>(element))
        return c->EffectiveBorder();
    return nullptr;
}
