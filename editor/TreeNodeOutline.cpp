#include "editor/TreeNodeOutline.h"

#include "dialogs/KorPrompts.h"
#include "editor/TreeOutlineModel.h"
#include "view/Arbolix.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QTreeView>
#include <QVBoxLayout>

TTreeNodeOutline::TTreeNodeOutline(QWidget *parent) : QWidget(parent), FView(new QTreeView(this))
{
    setObjectName(QStringLiteral("NodeTree"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FView);
    FView->setHeaderHidden(true);
    FView->setUniformRowHeights(true);
    FView->setSelectionMode(QAbstractItemView::SingleSelection);
    FView->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::SelectedClicked);
    FView->setDragEnabled(true);
    FView->setAcceptDrops(true);
    FView->setDropIndicatorShown(true);
    FView->setDragDropMode(QAbstractItemView::DragDrop);
    FView->setDefaultDropAction(Qt::MoveAction);
    FView->setContextMenuPolicy(Qt::CustomContextMenu);
    FView->installEventFilter(this);
    connect(FView, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &p) { emit ContextMenuAsked(FView->viewport()->mapToGlobal(p)); });
}

TTreeNodeOutline::~TTreeNodeOutline()
{
    // The model stops listening before the view goes.
    if (FModel)
        FModel->SetTree(nullptr);
}

void TTreeNodeOutline::SetTree(TTree *tree)
{
    if (tree == FTree)
        return;
    FTree = tree;
    if (isVisible())
        Attach();
    else
        Detach();
}

void TTreeNodeOutline::SetShowNames(bool value)
{
    FShowNames = value;
    if (FModel)
        FModel->SetShowNames(value);
}

void TTreeNodeOutline::SetSingleSelection(bool value)
{
    FSingleSelection = value;
    FView->setSelectionMode(value ? QAbstractItemView::SingleSelection : QAbstractItemView::ExtendedSelection);
}

void TTreeNodeOutline::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    Attach();
}

void TTreeNodeOutline::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    // A hidden outline costs nothing: it lets go of the diagram.
    if (!isVisible())
        Detach();
}

void TTreeNodeOutline::Attach()
{
    if (!FModel) {
        if (!FTree)
            return;
        FModel = new TTreeOutlineModel(this);
        FModel->SetShowNames(FShowNames);
        FView->setModel(FModel);
        connect(FView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &TTreeNodeOutline::RowsSelected);
        connect(FModel, &TTreeOutlineModel::NodeSelectionChanged, this, &TTreeNodeOutline::NodeSelectionChanged);
        connect(FModel, &TTreeOutlineModel::Rebuilt, this, &TTreeNodeOutline::MirrorSelection);
        connect(FModel, &TTreeOutlineModel::StepEnded, this, [this] {
            if (FMirrorPending)
                MirrorSelection();
        });
        connect(FModel, &TTreeOutlineModel::LabelRefused, this,
                [this](const QString &reason) { Prompts().Message(this, pkWarning, reason); });
    }
    if (FModel->Tree() != FTree)
        FModel->SetTree(FTree);
}

void TTreeNodeOutline::Detach()
{
    if (FModel)
        FModel->SetTree(nullptr);
}

void TTreeNodeOutline::Rebuild()
{
    if (!FModel || !isVisible())
        return;
    FModel->SetTree(nullptr);
    FModel->SetTree(FTree);
}

// ---------------------------------------------------------------------------
// Selection, both ways

void TTreeNodeOutline::MirrorSelection()
{
    FMirrorPending = false;
    if (!FModel || !FModel->Tree())
        return;
    FMirroring = true;
    QItemSelection selection;
    const TSelectedShapeList &selected = FModel->Tree()->Selected();
    QModelIndex last;
    for (int i = 0; i < selected.Count(); ++i) {
        const QModelIndex index = FModel->IndexOf(selected.Items(i));
        if (!index.isValid())
            continue;
        for (QModelIndex p = index.parent(); p.isValid(); p = p.parent())
            if (!FView->isExpanded(p))
                FView->expand(p);
        selection.select(index, index);
        if (!last.isValid())
            last = index;
    }
    FView->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (last.isValid()) {
        FView->selectionModel()->setCurrentIndex(last, QItemSelectionModel::NoUpdate);
        if (FAutoScroll)
            FView->scrollTo(last);
    }
    FMirroring = false;
    if (FHost)
        FHost->RefreshInspector();
}

void TTreeNodeOutline::SelectRow(TTreeNodeShape *node, bool selected)
{
    const QModelIndex index = FModel->IndexOf(node);
    if (!index.isValid())
        return;
    FMirroring = true;
    if (selected) {
        for (QModelIndex p = index.parent(); p.isValid(); p = p.parent())
            if (!FView->isExpanded(p))
                FView->expand(p);
        FView->selectionModel()->select(index, QItemSelectionModel::Select);
        FView->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        if (FAutoScroll)
            FView->scrollTo(index);
    } else {
        FView->selectionModel()->select(index, QItemSelectionModel::Deselect);
    }
    FMirroring = false;
}

void TTreeNodeOutline::NodeSelectionChanged(TTreeNodeShape *node, bool selected)
{
    if (FSelecting || FMirroring)
        return;
    // Within a user action the outline catches up once, at its end.
    if (FModel->Tree() && FModel->Tree()->StepDepth() > 0) {
        FMirrorPending = true;
        return;
    }
    SelectRow(node, selected);
    if (FHost)
        FHost->RefreshInspector();
}

void TTreeNodeOutline::RowsSelected(const QItemSelection &selected, const QItemSelection &deselected)
{
    if (FMirroring || !FModel || !FModel->Tree())
        return;
    TTreeDocument *tree = FModel->Tree();
    FSelecting = true;
    for (const QModelIndex &index : deselected.indexes())
        if (TTreeNodeShape *node = FModel->Node(index))
            node->SetSelected(false);
    const QModelIndexList rows = selected.indexes();
    if (!rows.isEmpty() && FSingleSelection)
        tree->Selected().Clear();
    for (const QModelIndex &index : rows) {
        TTreeNodeShape *node = FModel->Node(index);
        if (!node)
            continue;
        // The diagram shows the node: its collapsed ancestors open.
        std::vector<TTreeNodeShape *> closed;
        for (TTreeNodeShape *p = node->Parent(); p; p = p->Parent())
            if (!p->Expanded())
                closed.push_back(p);
        if (!closed.empty()) {
            TTreeStep step(tree, QString());
            for (auto it = closed.rbegin(); it != closed.rend(); ++it)
                tree->SetShapeExpanded(*it, true);
        }
        node->SetSelected(true);
    }
    FSelecting = false;
    if (FHost)
        FHost->RefreshInspector();
}

// ---------------------------------------------------------------------------
// Keys

void TTreeNodeOutline::DeleteSelected()
{
    if (FTree && FTree->AllowDelete() && !FTree->ReadOnly())
        FTree->DeleteSelected();
}

bool TTreeNodeOutline::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == FView && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            DeleteSelected();
            return true;
        }
        if (key->key() == Qt::Key_F11) {
            emit FocusDiagram();
            if (FTree)
                FTree->setFocus();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
