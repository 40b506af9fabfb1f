// The diagram's context menus, and what a double-click on the diagram
// opens.

#include "editor/TreeClipboard.h"
#include "editor/TreeCommands.h"
#include "editor/TreePalette.h"

#include "dialogs/TreeCoEd.h"
#include "dialogs/TreeShEd.h"
#include "view/Arbolix.h"
#include "view/TreeInteraction.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>

void TTreeCommands::BuildContextMenus()
{
    auto own = [this](QMenu *menu, const QString &caption, const std::function<void()> &run, bool checkable = false) {
        auto *a = new QAction(caption, menu);
        a->setCheckable(checkable);
        connect(a, &QAction::triggered, this, [run] { run(); });
        menu->addAction(a);
        return a;
    };

    FNodeMenu = new QMenu;
    FNodeMenu->setObjectName(QStringLiteral("NodeMenu"));
    FNodeMenu->addAction(Action(cmEditNode));
    FNodeMenu->setDefaultAction(Action(cmEditNode));
    FNodeMenu->addSeparator();
    for (TTreeCommand c : {cmCut, cmCopy, cmPaste, cmDelete})
        FNodeMenu->addAction(Action(c));
    FNodeMenu->addSeparator();
    FNodeAddChild = own(FNodeMenu, QStringLiteral("&Add Child"), [this] { AddChild(); });
    FNodeAddBrother = own(FNodeMenu, QStringLiteral("Add Br&other"), [this] { AddBrother(); });
    FNodeAddRoot = own(FNodeMenu, QStringLiteral("Add new &Root"), [this] { AddNewRoot(); });
    FNodePrune = own(FNodeMenu, QStringLiteral("&Prune"), [this] { Prune(); });
    FNodeMenu->addSeparator();
    FNodeMenu->addAction(Action(cmBringToFront));
    FNodeMenu->addAction(Action(cmSendToBack));
    FNodeMenu->addSeparator();
    FNodeAlign = own(FNodeMenu, QStringLiteral("Ali&gn to grid"), [this] { AlignToGrid(); });
    FNodeMenu->addAction(Action(cmSizeToGrid));
    FNodeMenu->addSeparator();
    FNodeMenu->addAction(Action(cmShowNames));

    FConnectionMenu = new QMenu;
    FConnectionMenu->setObjectName(QStringLiteral("ConnectionMenu"));
    FConnectionMenu->addAction(Action(cmEditConnection));
    FConnectionMenu->setDefaultAction(Action(cmEditConnection));
    FConnectionMenu->addAction(Action(cmDeleteConnection));
    FConnectionMenu->addSeparator();
    for (TTreeCommand c : {cmConnAuto, cmConnLines, cmConnSides, cmConnInvertedSides, cmConnCurve})
        FConnectionMenu->addAction(Action(c));
    FConnectionMenu->addSeparator();
    FConnectionMenu->addAction(Action(cmAddPoint));

    FPointMenu = new QMenu;
    FPointMenu->setObjectName(QStringLiteral("PointMenu"));
    FPointPositionMenu = FPointMenu->addMenu(QStringLiteral("&Position"));
    for (TTreeCommand c : {cmPointAutomatic, cmPointFixed, cmPointFromStart, cmPointFromEnd})
        FPointPositionMenu->addAction(Action(c));
    FPointMenu->addAction(Action(cmDeletePoint));
    FPointMenu->addAction(Action(cmAddPoint));

    // The node format menu (the inspector shows it too).
    FNodeFormatMenu = new QMenu;
    FNodeFormatMenu->setObjectName(QStringLiteral("NodeFormatMenu"));
    FNodeFormatMenu->addAction(Action(cmNodeAutoSize));
    FNodeFormatMenu->addAction(Action(cmNodeBackColor));
    FNodeFormatMenu->addAction(Action(cmBorder));
    FFormatClipText = own(FNodeFormatMenu, QStringLiteral("C&lip text"),
                          [this] { SetClipText(FFormatClipText->isChecked()); }, true);
    FNodeFormatMenu->addAction(Action(cmColor));
    FCrossMenu = FNodeFormatMenu->addMenu(QStringLiteral("Cross-Box"));
    for (TTreeCommand c : {cmCrossAuto, cmCrossAlways, cmCrossNever})
        FCrossMenu->addAction(Action(c));
    FNodeFormatMenu->addAction(Action(cmFont));
    FNodeFormatMenu->addAction(Action(cmNodeGradient));
    FNodeFormatMenu->addAction(Action(cmImage));
    FNodeFormatMenu->addAction(Action(cmPattern));
    FFormatShadow = own(FNodeFormatMenu, QStringLiteral("S&hadow..."), [this] { FormatShadow(); });
    FFormatTransparent = own(FNodeFormatMenu, QStringLiteral("&Transparent"),
                             [this] { SetTransparent(FFormatTransparent->isChecked()); }, true);
    connect(FNodeFormatMenu, &QMenu::aboutToShow, this, [this] {
        TTreeNodeShape *first = FTree ? FTree->Selected().First() : nullptr;
        for (QAction *a : FNodeFormatMenu->actions())
            a->setEnabled(first != nullptr);
        if (!first)
            return;
        Action(cmNodeAutoSize)->setChecked(first->AutoSize());
        FFormatClipText->setChecked(first->PeekText() && first->PeekText()->ClipText());
        FFormatTransparent->setChecked(first->Transparent());
        Action(cmCrossAuto)->setChecked(first->ShowCross() == scAuto);
        Action(cmCrossAlways)->setChecked(first->ShowCross() == scAlways);
        Action(cmCrossNever)->setChecked(first->ShowCross() == scNever);
    });
}

void TTreeCommands::UpdateNodeMenu(bool fromOutline)
{
    TTreeNodeShape *first = FTree ? FTree->Selected().First() : nullptr;
    const bool selection = first != nullptr;
    const bool parent = first && first->Parent();
    Action(cmPaste)->setEnabled(CanPaste());
    for (QAction *a : {Action(cmEditNode), Action(cmCut), Action(cmCopy), Action(cmDelete), FNodeAddChild,
                       Action(cmBringToFront), Action(cmSendToBack), FNodeAlign, Action(cmSizeToGrid),
                       Action(cmShowNames)})
        a->setEnabled(selection);
    FNodeAddBrother->setEnabled(parent);
    FNodePrune->setEnabled(parent);
    FNodeAddRoot->setEnabled(FTree != nullptr);
    Action(cmShowNames)->setVisible(fromOutline);
}

void TTreeCommands::UpdateConnectionMenu()
{
    TTreeConnection *c = FTree ? FTree->Connections().Selected() : nullptr;
    if (!c)
        return;
    const std::pair<TTreeCommand, TTreeConnectionStyle> styles[] = {
        {cmConnAuto, csAuto}, {cmConnLines, csLine}, {cmConnSides, csSides},
        {cmConnInvertedSides, csInvertedSides}, {cmConnCurve, csCurve}};
    for (const auto &[command, style] : styles)
        Action(command)->setChecked(c->Style() == style);
    // Automatic routing needs an end node that the layout places.
    const TTreeNodeShape *to = c->ToShape();
    const TTreeShapeAutoPosition *automatic = to ? to->PeekAutoPosition() : nullptr;
    Action(cmConnAuto)->setVisible(to && (!automatic || (automatic->Left() && automatic->Top())));
}

void TTreeCommands::UpdatePointMenu()
{
    TTreeConnection *c = FTree ? FTree->Connections().Selected() : nullptr;
    if (!c || !c->Points().IsValid(FMenuPoint))
        return;
    const int last = c->Count() - 1;
    const bool end = FMenuPoint == 0 || FMenuPoint == last;
    Action(cmPointAutomatic)->setVisible(end);
    Action(cmDeletePoint)->setVisible(!end);
    const TConnectionPointKind kind = c->Points()[FMenuPoint].XStyle;
    Action(cmPointAutomatic)->setChecked(end && (kind == cpFromEdge || kind == cpToEdge || kind == cpFromPercent ||
                                                 kind == cpToPercent));
    Action(cmPointFixed)->setChecked(kind == cpAbsolute);
    Action(cmPointFromStart)->setChecked(kind == cpFromOffset);
    Action(cmPointFromEnd)->setChecked(kind == cpToOffset);
}

QMenu *TTreeCommands::ContextMenuAt(int x, int y, bool fromOutline)
{
    if (!FTree || (!fromOutline && !FTree->Designing()))
        return nullptr;
    TTreeInteraction &interaction = FTree->Interaction();
    if (interaction.Connecting() || interaction.AddingShape())
        return nullptr;
    ChooseSelection();
    const TPoint model = FTree->UnprojectPoint(TPoint(x, y));
    const TPoint o = FTree->DrawOffset();
    FMenuModelPoint = TPoint(model.X - o.X, model.Y - o.Y);
    FMenuPoint = -1;
    if (TTreeConnection *c = FTree->Connections().Selected(); c && !fromOutline) {
        // On one of its points (within a handle's reach on the screen)?
        for (int i = 0; i < c->Count(); ++i) {
            const TConnectionPoint &p = c->Points()[i];
            const TPoint screen = FTree->ProjectPoint(TPoint(p.X + o.X, p.Y + o.Y));
            if (std::abs(screen.X - x) <= 4 && std::abs(screen.Y - y) <= 4) {
                FMenuPoint = i;
                UpdatePointMenu();
                return FPointMenu;
            }
        }
        UpdateConnectionMenu();
        return FConnectionMenu;
    }
    UpdateNodeMenu(fromOutline);
    return FNodeMenu;
}

bool TTreeCommands::RightRelease(int x, int y)
{
    if (!FTree)
        return false;
    QMenu *menu = ContextMenuAt(x, y);
    if (!menu)
        return false;
    menu->popup(FTree->mapToGlobal(QPoint(x, y)));
    return true;
}

bool TTreeCommands::DoubleClickAt(int x, int y)
{
    if (!FTree || !FTree->Designing() || FTree->Interaction().Connecting() || FTree->Interaction().AddingShape())
        return false;
    if (TTreeNodeShape *node = FTree->ShapeAt(x, y)) {
        if (!node->Selected())
            FTree->SelectOnly(node);
        TTreeNodeShape *first = FTree->Selected().First();
        if (!first)
            return false;
        const TPoint model = FTree->UnprojectPoint(TPoint(x, y));
        const TPoint o = FTree->DrawOffset();
        const TPoint at(model.X - o.X, model.Y - o.Y);
        const TRect &image = first->ImageBounds();
        const bool onImage = FTree->ShowImages() && first->NodePicture() && image.Left < image.Right &&
                             at.X >= image.Left && at.X < image.Right && at.Y >= image.Top && at.Y < image.Bottom;
        EditFirstNode(onImage ? sepImage : sepFormat);
        return true;
    }
    if (TTreeConnection *c = FTree->ConnectionAtPoint(x, y)) {
        FTree->Connections().SetSelected(c);
        EditSelectedConnection();
        return true;
    }
    return false;
}
