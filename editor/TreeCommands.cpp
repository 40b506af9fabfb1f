// The editor's commands: their actions, the menu bar, the enable and check
// rules, and how the commands follow the host's diagram.

#include "editor/TreeCommands.h"

#include "canvas/KorGradient.h"
#include "canvas/View3DOptions.h"
#include "core/Exceptions.h"
#include "core/PropAccess.h"
#include "i18n/KorTranslate.h"
#include "editor/TreeClipboard.h"
#include "editor/TreePalette.h"
#include "view/Arbolix.h"
#include "view/TreeInteraction.h"

#include <QAction>
#include <QActionGroup>
#include <QCursor>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTimer>

const char *const TTreeCommands::kProductPage = "https://www.quorvel.com/arbolix/";
const char *const TTreeCommands::kHomePage = "https://www.quorvel.com/";
const char *const TTreeCommands::kHelpTopic = "Varezido10";

namespace {

const int kZoomSteps[] = {200, 100, 75, 50, 25, 15, 10, 5, 1};

// The grid's visibility lives in the view's grid settings; a diagram
// without them has no grid to show.
std::optional<bool> GridVisible(TTree *tree)
{
    try {
        if (tree && PeekPropPath(*tree, QStringLiteral("Grid.Visible")).Prop)
            return GetOrdProp(*tree, QStringLiteral("Grid.Visible")) != 0;
    } catch (const Exception &) {
    }
    return std::nullopt;
}

} // namespace

TTreeCommands::TTreeCommands(TEditorHost *host, QObject *parent) : QObject(parent), FHost(host)
{
    FClipboardOwner = std::make_unique<TComponent>();
    FClipboardOwner->SetName(QStringLiteral("TreeEditor1"));
    FClipboard = new TTreeClipboard(FClipboardOwner.get());
    FPalette = new TTreeShapePalette;
    connect(FPalette, &TTreeShapePalette::ToolClicked, this, &TTreeCommands::PaletteTool);
    connect(FPalette, &TTreeShapePalette::ToolDoubleClicked, this, &TTreeCommands::PaletteToolDouble);
    connect(FPalette, &TTreeShapePalette::SelectionClicked, this, &TTreeCommands::ChooseSelection);
    connect(FPalette, &TTreeShapePalette::ConnectClicked, this, &TTreeCommands::LinkNodes);
    OpenUrl = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    CreateActions();
    BuildContextMenus();
    FHost->AddPart(this);
    HookTree(FHost->Tree());
}

TTreeCommands::~TTreeCommands()
{
    UnhookTree();
    FHost->RemovePart(this);
    for (QMenu *menu : {FNodeMenu.data(), FConnectionMenu.data(), FPointMenu.data(), FNodeFormatMenu.data()})
        delete menu;
    if (!FMenusInstalled)
        for (QMenu *menu : FMenus)
            delete menu;
    // The palette nobody took into a window.
    if (FPalette && !FPalette->parent())
        delete FPalette.data();
    // The clipboard goes first and frees its nodes itself.
    delete FClipboard;
}

TTree *TTreeCommands::Tree() const
{
    return FTree;
}

QAction *TTreeCommands::Make(TTreeCommand command, const QString &caption, const std::function<void()> &run,
                             bool checkable)
{
    auto *action = new QAction(caption, this);
    action->setCheckable(checkable);
    connect(action, &QAction::triggered, this, [run] { run(); });
    FActions[command] = action;
    return action;
}

void TTreeCommands::CreateActions()
{
    // File
    Make(cmImport, QStringLiteral("&Import..."), [this] { Import(); });
    Make(cmExport, QStringLiteral("&Export..."), [this] { Export(); });
    Make(cmSendMail, QStringLiteral("Se&nd by e-mail..."), [this] { SendMail(); });
    Make(cmPrintPreview, QStringLiteral("P&rint Preview..."), [this] { PrintPreview(); });
    Make(cmPrint, QStringLiteral("&Print..."), [this] { Print(); })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    // Edit
    Make(cmCut, QStringLiteral("C&ut"), [this] { Cut(); })
        ->setShortcuts({QKeySequence(Qt::SHIFT | Qt::Key_Delete), QKeySequence(Qt::CTRL | Qt::Key_X)});
    Make(cmCopy, QStringLiteral("&Copy"), [this] { Copy(); })
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Insert), QKeySequence(Qt::CTRL | Qt::Key_C)});
    Make(cmPaste, QStringLiteral("&Paste"), [this] { Paste(); })
        ->setShortcuts({QKeySequence(Qt::SHIFT | Qt::Key_Insert), QKeySequence(Qt::CTRL | Qt::Key_V)});
    Make(cmDelete, QStringLiteral("&Delete"), [this] { DeleteSelection(); });
    Make(cmSelectAll, QStringLiteral("Select &All"), [this] { SelectAll(); });
    Make(cmSearch, QStringLiteral("&Search..."), [this] { Search(); });
    Make(cmAlignToGrid, QStringLiteral("Align to &Grid"), [this] { AlignToGrid(); });
    Make(cmCopyPicture, QStringLiteral("Copy as picture"), [this] { CopyAsPicture(); });
    // View: zoom
    auto *zoomGroup = new QActionGroup(this);
    const char *const zoomCaptions[] = {"200%", "&100%", "&75%", "&50%", "&25%", "&15%", "1&0%", "5%", "1%"};
    for (int i = 0; i < 9; ++i) {
        const int zoom = kZoomSteps[i];
        QAction *a = Make(static_cast<TTreeCommand>(cmZoom200 + i), QString::fromLatin1(zoomCaptions[i]),
                          [this, zoom] { SetZoom(zoom); }, true);
        zoomGroup->addAction(a);
    }
    Make(cmZoomIn, QStringLiteral("Zoom In"), [this] { ZoomBy(10); });
    Make(cmZoomOut, QStringLiteral("Zoom Out"), [this] { ZoomBy(-10); });
    // View: the diagram
    Make(cmShowConnections, QStringLiteral("&Connections"), [this] { ShowConnections(Action(cmShowConnections)->isChecked()); }, true);
    Make(cmShowImages, QStringLiteral("&Images"), [this] { ShowImages(Action(cmShowImages)->isChecked()); }, true);
    Make(cmShowText, QStringLiteral("&Text"), [this] { ShowText(Action(cmShowText)->isChecked()); }, true);
    Make(cmShowShapes, QStringLiteral("&Shapes"), [this] { ShowShapes(Action(cmShowShapes)->isChecked()); }, true);
    Make(cmShowCrossBoxes, QStringLiteral("Cross &boxes"), [this] { ShowCrossBoxes(Action(cmShowCrossBoxes)->isChecked()); }, true);
    // View: the window's bands
    auto band = [this](TTreeCommand command, const QString &caption, TEditorBand b) {
        Make(command, caption, [this, command, b] { FHost->SetBandVisible(b, Action(command)->isChecked()); }, true);
    };
    band(cmFontToolbar, QStringLiteral("&Font"), ebFontToolbar);
    band(cmFormatToolbar, QStringLiteral("F&ormat"), ebFormatToolbar);
    band(cmPaletteBand, QStringLiteral("&Shapes"), ebPalette);
    band(cmToolButtons, QStringLiteral("&Tools"), ebToolButtons);
    Make(cmGrid, QStringLiteral("&Grid"), [this] {
        if (!FTree || !GridVisible(FTree))
            return;
        const bool on = Action(cmGrid)->isChecked();
        TTreeStep step(FTree, Action(cmGrid)->text());
        FTree->EditElement(nullptr, QStringLiteral("Grid.Visible"),
                           [&] { SetOrdProp(*FTree, QStringLiteral("Grid.Visible"), on ? 1 : 0); });
    }, true);
    band(cmRulers, QStringLiteral("&Rulers"), ebRulers);
    band(cmStatusBar, QStringLiteral("St&atus bar"), ebStatusBar);
    band(cmNodeTree, QStringLiteral("&Node Tree"), ebNodeOutline);
    band(cmInspector, QStringLiteral("&Inspector"), ebInspector);
    band(cmEditorTabs, QStringLiteral("&Editor tabs"), ebPropertyPages);
    Action(cmEditorTabs)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    // Insert
    Make(cmNewChild, QStringLiteral("New &Child"), [this] { AddChild(); })
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C));
    Make(cmNewBrother, QStringLiteral("New &Brother"), [this] { AddBrother(); })
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_B));
    Make(cmNewParent, QStringLiteral("New &Parent"), [this] { AddNewParent(); })
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P));
    Make(cmNewRoot, QStringLiteral("&New Root"), [this] { AddNewRoot(); })
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_R));
    // Format: styles
    struct TStyleItem
    {
        TTreeCommand Command;
        const char *Caption;
        TTreeShapeStyle Style;
    };
    const TStyleItem styles[] = {
        {cmStyleRectangle, "&Rectangle", tssRectangle},
        {cmStyleEllipse, "&Ellipse", tssCircle},
        {cmStyleDiamond, "&Diamond", tssDiamond},
        {cmStyleTriangleLeft, "&Left", tssTriangleLeft},
        {cmStyleTriangleTop, "&Top", tssTriangleTop},
        {cmStyleTriangleRight, "&Right", tssTriangleRight},
        {cmStyleTriangleBottom, "&Bottom", tssTriangleBottom},
        {cmStyleLineHorizontal, "&Horizontal", tssHorizLine},
        {cmStyleLineVertical, "&Vertical", tssVertLine},
        {cmStyleLineDiagonal, "&Diagonal", tssLine},
        {cmStyleLineInvDiagonal, "&Inv. Diagonal", tssInvertLine},
        {cmStyleRoundRectangle, "R&ound Rectangle", tssRoundRectangle},
    };
    auto *styleGroup = new QActionGroup(this);
    for (const TStyleItem &s : styles) {
        const TTreeShapeStyle style = s.Style;
        QAction *a = Make(s.Command, QString::fromLatin1(s.Caption), [this, style] { SetStyle(style); }, true);
        a->setData(static_cast<int>(style));
        styleGroup->addAction(a);
    }
    Make(cmBorder, QStringLiteral("&Border..."), [this] { FormatBorder(); });
    Make(cmClipText, QStringLiteral("Clip &Text"), [this] { SetClipText(Action(cmClipText)->isChecked()); }, true);
    Make(cmColor, QStringLiteral("&Color..."), [this] { FormatColor(); });
    Make(cmFont, QStringLiteral("&Font..."), [this] { FormatFont(); });
    Make(cmGradient, QStringLiteral("&Gradient"), [this] { FormatGradient(); }, true);
    Make(cmImage, QStringLiteral("&Image..."), [this] { FormatImage(); });
    Make(cmPattern, QStringLiteral("&Pattern..."), [this] { FormatPattern(); });
    Make(cmShadow, QStringLiteral("&Shadow..."), [this] { FormatShadow(); });
    Make(cmTransparent, QStringLiteral("Transparent"), [this] { SetTransparent(Action(cmTransparent)->isChecked()); }, true);
    // Tools
    Make(cmLinkNodes, QStringLiteral("&Link nodes..."), [this] { LinkNodes(); });
    Make(cmPrune, QStringLiteral("&Prune nodes"), [this] { Prune(); });
    // Help
    Make(cmHelpIndex, QStringLiteral("&Help Index..."), [this] { HelpIndex(); })->setShortcut(QKeySequence(Qt::Key_F1));
    Make(cmEditorTips, QStringLiteral("&Editor tips..."), [this] { EditorTips(); });
    Make(cmWebSite, QStringLiteral("&Arbolix Web Site..."), [this] { OpenProductPage(); });
    Make(cmHomePage, QStringLiteral("www.quorvel.com"), [this] { OpenHomePage(); });
    Action(cmHomePage)->setProperty(kNoTranslateProperty, true);
    Make(cmAbout, QStringLiteral("&About Arbolix..."), [this] { About(); });
    // Node menu
    Make(cmEditNode, QStringLiteral("&Edit..."), [this] { EditFirstNode(0); });
    Make(cmBringToFront, QStringLiteral("Bring to &Front"), [this] { BringToFront(); });
    Make(cmSendToBack, QStringLiteral("Send to &Back"), [this] { SendToBack(); });
    Make(cmSizeToGrid, QStringLiteral("&Size to grid"), [this] { SizeToGrid(); });
    Make(cmShowNames, QStringLiteral("Show Names"), [] {}, true);
    Make(cmNodeAutoSize, QStringLiteral("&Autosize"), [this] { SetAutoSize(Action(cmNodeAutoSize)->isChecked()); }, true);
    Make(cmNodeBackColor, QStringLiteral("Bac&k Color..."), [this] { FormatBackColor(); });
    Make(cmNodeGradient, QStringLiteral("&Gradient..."), [this] { EditNodeGradient(); });
    auto *crossGroup = new QActionGroup(this);
    crossGroup->addAction(Make(cmCrossAuto, QStringLiteral("&Auto"), [this] { SetShowCross(scAuto); }, true));
    crossGroup->addAction(Make(cmCrossAlways, QStringLiteral("Al&ways"), [this] { SetShowCross(scAlways); }, true));
    crossGroup->addAction(Make(cmCrossNever, QStringLiteral("&Never"), [this] { SetShowCross(scNever); }, true));
    // Connection menu
    Make(cmEditConnection, QStringLiteral("&Edit Connection..."), [this] { EditSelectedConnection(); });
    Make(cmDeleteConnection, QStringLiteral("&Delete Connection"), [this] { DeleteSelectedConnection(); });
    auto *connGroup = new QActionGroup(this);
    connGroup->addAction(Make(cmConnAuto, QStringLiteral("&Automatic"), [this] { SetConnectionStyle(csAuto); }, true));
    connGroup->addAction(Make(cmConnLines, QStringLiteral("&Lines"), [this] { SetConnectionStyle(csLine); }, true));
    connGroup->addAction(Make(cmConnSides, QStringLiteral("&Sides"), [this] { SetConnectionStyle(csSides); }, true));
    connGroup->addAction(
        Make(cmConnInvertedSides, QStringLiteral("&Inverted sides"), [this] { SetConnectionStyle(csInvertedSides); }, true));
    connGroup->addAction(Make(cmConnCurve, QStringLiteral("&Curve"), [this] { SetConnectionStyle(csCurve); }, true));
    Make(cmAddPoint, QStringLiteral("&Add new point"), [this] { AddConnectionPoint(); });
    // Point menu
    auto *pointGroup = new QActionGroup(this);
    pointGroup->addAction(Make(cmPointAutomatic, QStringLiteral("&Automatic"), [this] { SetPointStyle(0); }, true));
    pointGroup->addAction(Make(cmPointFixed, QStringLiteral("Fixed"), [this] { SetPointStyle(1); }, true));
    pointGroup->addAction(
        Make(cmPointFromStart, QStringLiteral("Relative to start node"), [this] { SetPointStyle(2); }, true));
    pointGroup->addAction(Make(cmPointFromEnd, QStringLiteral("Relative to end node"), [this] { SetPointStyle(3); }, true));
    Make(cmDeletePoint, QStringLiteral("&Delete point"), [this] { DeleteMenuPoint(); });
    for (QAction *a : FActions)
        Q_ASSERT(a);
}

void TTreeCommands::BuildMenus()
{
    auto menu = [this](TTreeMenu which, const QString &caption, void (TTreeCommands::*update)()) {
        auto *m = new QMenu(caption);
        m->setObjectName(caption);
        FMenus[which] = m;
        connect(m, &QMenu::aboutToShow, this, [this, update] { (this->*update)(); });
        return m;
    };
    QMenu *file = menu(mnFile, QStringLiteral("&File"), &TTreeCommands::UpdateAll);
    for (TFileCommand c : {fcNew, fcOpen, fcSave, fcSaveAs})
        if (QAction *a = FHost->FileAction(c))
            file->addAction(a);
    file->addSeparator();
    file->addAction(Action(cmImport));
    file->addAction(Action(cmExport));
    file->addSeparator();
    file->addAction(Action(cmSendMail));
    file->addSeparator();
    file->addAction(Action(cmPrintPreview));
    file->addAction(Action(cmPrint));
    file->addSeparator();
    if (QAction *a = FHost->FileAction(fcClose))
        file->addAction(a);

    QMenu *edit = menu(mnEdit, QStringLiteral("&Edit"), &TTreeCommands::UpdateEditMenu);
    for (TTreeCommand c : {cmCut, cmCopy, cmPaste, cmDelete})
        edit->addAction(Action(c));
    edit->addSeparator();
    edit->addAction(Action(cmSelectAll));
    edit->addAction(Action(cmSearch));
    edit->addSeparator();
    edit->addAction(Action(cmAlignToGrid));
    edit->addAction(Action(cmCopyPicture));

    QMenu *view = menu(mnView, QStringLiteral("&View"), &TTreeCommands::UpdateViewMenu);
    FZoomMenu = view->addMenu(QStringLiteral("&Zoom"));
    for (int i = 0; i < 9; ++i)
        FZoomMenu->addAction(Action(static_cast<TTreeCommand>(cmZoom200 + i)));
    view->addSeparator();
    for (TTreeCommand c : {cmShowConnections, cmShowImages, cmShowText, cmShowShapes, cmShowCrossBoxes})
        view->addAction(Action(c));
    view->addSeparator();
    FToolbarsMenu = view->addMenu(QStringLiteral("T&oolbars"));
    for (TTreeCommand c : {cmFontToolbar, cmFormatToolbar, cmPaletteBand, cmToolButtons})
        FToolbarsMenu->addAction(Action(c));
    for (TTreeCommand c : {cmGrid, cmRulers, cmStatusBar})
        view->addAction(Action(c));
    view->addSeparator();
    view->addAction(Action(cmNodeTree));
    view->addAction(Action(cmInspector));
    view->addAction(Action(cmEditorTabs));

    QMenu *insert = menu(mnInsert, QStringLiteral("&Insert"), &TTreeCommands::UpdateInsertMenu);
    for (TTreeCommand c : {cmNewChild, cmNewBrother, cmNewParent, cmNewRoot})
        insert->addAction(Action(c));

    QMenu *format = menu(mnFormat, QStringLiteral("F&ormat"), &TTreeCommands::UpdateFormatMenu);
    FStyleMenu = format->addMenu(QStringLiteral("&Style"));
    FStyleMenu->addAction(Action(cmStyleRectangle));
    FStyleMenu->addAction(Action(cmStyleEllipse));
    FStyleMenu->addAction(Action(cmStyleDiamond));
    FTriangleMenu = FStyleMenu->addMenu(QStringLiteral("&Triangle"));
    for (TTreeCommand c : {cmStyleTriangleLeft, cmStyleTriangleTop, cmStyleTriangleRight, cmStyleTriangleBottom})
        FTriangleMenu->addAction(Action(c));
    FLineMenu = FStyleMenu->addMenu(QStringLiteral("&Line"));
    for (TTreeCommand c : {cmStyleLineHorizontal, cmStyleLineVertical, cmStyleLineDiagonal, cmStyleLineInvDiagonal})
        FLineMenu->addAction(Action(c));
    FStyleMenu->addAction(Action(cmStyleRoundRectangle));
    FTriangleMenu->menuAction()->setCheckable(true);
    FLineMenu->menuAction()->setCheckable(true);
    format->addSeparator();
    for (TTreeCommand c : {cmBorder, cmClipText, cmColor, cmFont, cmGradient, cmImage, cmPattern, cmShadow, cmTransparent})
        format->addAction(Action(c));

    QMenu *tools = menu(mnTools, QStringLiteral("&Tools"), &TTreeCommands::UpdateToolsMenu);
    tools->addAction(Action(cmLinkNodes));
    tools->addAction(Action(cmPrune));

    QMenu *help = menu(mnHelp, QStringLiteral("&Help"), &TTreeCommands::UpdateAll);
    help->addAction(Action(cmHelpIndex));
    help->addAction(Action(cmEditorTips));
    help->addSeparator();
    help->addAction(Action(cmWebSite));
    help->addAction(Action(cmHomePage));
    help->addSeparator();
    help->addAction(Action(cmAbout));
}

void TTreeCommands::InstallMenus()
{
    if (FMenusInstalled)
        return;
    BuildMenus();
    QMainWindow *window = FHost->Window();
    QMenuBar *bar = window->menuBar();
    for (QMenu *m : FMenus) {
        m->setParent(bar, m->windowFlags());
        bar->addMenu(m);
    }
    // The shortcuts work wherever the focus is in the window.
    for (QAction *a : FActions)
        if (!a->shortcuts().isEmpty())
            window->addAction(a);
    FMenusInstalled = true;
    UpdateAll();
}

// ---------------------------------------------------------------------------
// Following the diagram

void TTreeCommands::HookTree(TTree *tree)
{
    FTree = tree;
    FTreeObject = tree;
    if (!FTree)
        return;
    FTree->AddChangeListener(this);
    FTree->installEventFilter(this);
    FTree->Interaction().OnRectangle = [this](const TRect &rect, bool &handled) { CreationRectangle(rect, handled); };
    FTree->Interaction().OnAdded = [this](TPolygonShape *) {
        if (FPalette)
            FPalette->PressSelection();
        FTree->Interaction().StartAdding(nullptr);
        ScheduleUpdate();
    };
}

void TTreeCommands::UnhookTree()
{
    // A diagram already freed took its listeners and callbacks with it.
    if (!FTree)
        return;
    FTree->RemoveChangeListener(this);
    FTree->removeEventFilter(this);
    FTree->Interaction().OnRectangle = nullptr;
    FTree->Interaction().OnAdded = nullptr;
    FClipboard->ForgetCutFrom(FTree);
    FTree = nullptr;
    FTreeObject = nullptr;
}

void TTreeCommands::DocumentReplaced(TTree *tree)
{
    // A cleared document keeps no cut: its nodes are gone or belong to
    // another diagram now.
    if (FTree) {
        FClipboard->ForgetCutFrom(FTree);
        UnhookTree();
    }
    HookTree(tree);
    if (FPalette)
        FPalette->PressSelection();
    ScheduleUpdate();
}

void TTreeCommands::WindowClosing()
{
    if (FTree && FTree->Interaction().Connecting())
        FTree->Interaction().CancelConnecting();
    if (FPalette)
        FPalette->ReleaseSamples();
}

void TTreeCommands::TreeChanging(TTreeDocument *tree, const TTreeChange &change)
{
    Q_UNUSED(tree);
    Q_UNUSED(change);
}

void TTreeCommands::TreeChanged(TTreeDocument *tree, const TTreeChange &change)
{
    Q_UNUSED(tree);
    Q_UNUSED(change);
    ScheduleUpdate();
}

void TTreeCommands::ScheduleUpdate()
{
    // Many notices in a row (a select-all) update the menus once.
    if (FUpdatePending)
        return;
    FUpdatePending = true;
    QTimer::singleShot(0, this, [this] {
        FUpdatePending = false;
        UpdateAll();
    });
}

std::optional<QPoint> TTreeCommands::PointerPosition() const
{
    if (FPointerOverride)
        return FPointerOverride;
    if (!FTree)
        return std::nullopt;
    const QPoint p = FTree->mapFromGlobal(QCursor::pos());
    if (!FTree->isVisible() || !FTree->rect().contains(p))
        return std::nullopt;
    return p;
}

bool TTreeCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (!FTreeObject || watched != FTreeObject.data())
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress: break;
    default: return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *e = static_cast<QMouseEvent *>(event);
        if (e->button() == Qt::RightButton)
            FRightPress = e->position().toPoint();
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto *e = static_cast<QMouseEvent *>(event);
        // A right-button drag scrolls; only a click opens the menu.
        if (e->button() == Qt::RightButton && (e->position().toPoint() - FRightPress).manhattanLength() <= 4) {
            const QPoint p = e->position().toPoint();
            QTimer::singleShot(0, this, [this, p] { RightRelease(p.x(), p.y()); });
        }
        break;
    }
    case QEvent::MouseButtonDblClick: {
        auto *e = static_cast<QMouseEvent *>(event);
        if (e->button() == Qt::LeftButton) {
            const QPoint p = e->position().toPoint();
            if (DoubleClickAt(p.x(), p.y()))
                return true;
        }
        break;
    }
    case QEvent::KeyPress: {
        auto *e = static_cast<QKeyEvent *>(event);
        // The diagram deletes selected nodes itself; a selected connection
        // alone goes here.
        if (e->key() == Qt::Key_Delete && e->modifiers() == Qt::NoModifier && FTree->Selected().Count() == 0 &&
            FTree->Connections().Selected() && !FTree->Editing()) {
            DeleteSelectedConnection();
            return true;
        }
        break;
    }
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Menu state

void TTreeCommands::UpdateEditMenu()
{
    const bool selection = FTree && FTree->Selected().Count() > 0;
    Action(cmPaste)->setEnabled(CanPaste());
    Action(cmCopy)->setEnabled(selection);
    Action(cmCut)->setEnabled(selection);
    Action(cmDelete)->setEnabled(selection || (FTree && FTree->Connections().Selected()));
    for (TTreeCommand c : {cmSelectAll, cmSearch, cmAlignToGrid, cmCopyPicture})
        Action(c)->setEnabled(FTree != nullptr);
}

void TTreeCommands::UpdateViewMenu()
{
    if (FTree) {
        Action(cmShowConnections)->setChecked(FTree->Connections().Visible());
        Action(cmShowImages)->setChecked(FTree->ShowImages());
        Action(cmShowText)->setChecked(FTree->ShowText());
        Action(cmShowShapes)->setChecked(FTree->Shapes().Visible());
        Action(cmShowCrossBoxes)->setChecked(FTree->CrossBox()->Visible());
        const std::optional<bool> grid = GridVisible(FTree);
        Action(cmGrid)->setEnabled(grid.has_value());
        Action(cmGrid)->setChecked(grid.value_or(false));
        // The entry of the zoom in force; "1%" is never checked.
        const int zoom = FTree->View3DOptions()->Zoom();
        QActionGroup *group = Action(cmZoom200)->actionGroup();
        group->setExclusive(false);
        for (int i = 0; i < 9; ++i)
            Action(static_cast<TTreeCommand>(cmZoom200 + i))->setChecked(kZoomSteps[i] == zoom && zoom != 1);
        group->setExclusive(true);
    }
    const std::pair<TTreeCommand, TEditorBand> bands[] = {
        {cmEditorTabs, ebPropertyPages}, {cmPaletteBand, ebPalette},         {cmStatusBar, ebStatusBar},
        {cmFontToolbar, ebFontToolbar},  {cmFormatToolbar, ebFormatToolbar}, {cmToolButtons, ebToolButtons},
        {cmRulers, ebRulers},            {cmNodeTree, ebNodeOutline},        {cmInspector, ebInspector},
    };
    for (const auto &[command, band] : bands)
        Action(command)->setChecked(FHost->BandVisible(band));
}

void TTreeCommands::UpdateInsertMenu()
{
    TTreeNodeShape *first = FTree ? FTree->Selected().First() : nullptr;
    Action(cmNewBrother)->setEnabled(first && first->Parent());
    Action(cmNewChild)->setEnabled(first != nullptr);
    Action(cmNewParent)->setEnabled(first != nullptr);
    Action(cmNewRoot)->setEnabled(FTree != nullptr);
}

void TTreeCommands::UpdateFormatMenu()
{
    TTreeNodeShape *first = FTree ? FTree->Selected().First() : nullptr;
    const bool nodes = first != nullptr;
    const bool connection = FTree && FTree->Connections().Selected();
    if (FStyleMenu)
        FStyleMenu->menuAction()->setEnabled(nodes);
    for (int c = cmStyleRectangle; c <= cmStyleRoundRectangle; ++c)
        Action(static_cast<TTreeCommand>(c))->setEnabled(nodes);
    Action(cmBorder)->setEnabled(nodes || connection);
    Action(cmFont)->setEnabled(nodes || connection);
    for (TTreeCommand c : {cmPattern, cmShadow, cmTransparent, cmClipText})
        Action(c)->setEnabled(nodes);
    Action(cmColor)->setEnabled(FTree != nullptr);
    Action(cmImage)->setEnabled(FTree != nullptr);
    Action(cmGradient)->setEnabled(FTree != nullptr);
    Action(cmTransparent)->setChecked(nodes && first->Transparent());
    Action(cmClipText)->setChecked(nodes && first->PeekText() && first->PeekText()->ClipText());
    if (nodes)
        Action(cmGradient)->setChecked(first->PeekGradient() && first->PeekGradient()->Visible());
    else
        Action(cmGradient)->setChecked(FTree && FTree->PeekGradient() && FTree->PeekGradient()->Visible());
    // The style submenu shows the first node's style.
    const TTreeShapeStyle style = nodes ? first->Style() : tssRectangle;
    QActionGroup *styles = Action(cmStyleRectangle)->actionGroup();
    styles->setExclusive(false);
    for (int c = cmStyleRectangle; c <= cmStyleRoundRectangle; ++c) {
        QAction *a = Action(static_cast<TTreeCommand>(c));
        a->setChecked(nodes && a->data().toInt() == static_cast<int>(style));
    }
    styles->setExclusive(true);
    const bool triangle = nodes && (style == tssTriangleLeft || style == tssTriangleTop ||
                                    style == tssTriangleRight || style == tssTriangleBottom);
    const bool line = nodes && (style == tssHorizLine || style == tssVertLine || style == tssLine ||
                                style == tssInvertLine);
    if (FTriangleMenu)
        FTriangleMenu->menuAction()->setChecked(triangle);
    if (FLineMenu)
        FLineMenu->menuAction()->setChecked(line);
}

void TTreeCommands::UpdateToolsMenu()
{
    Action(cmLinkNodes)->setEnabled(FTree && FTree->Shapes().Count() > 0);
    // Pruning makes the selected nodes roots: it has work only where a
    // selected node has a parent.
    bool parent = false;
    if (FTree)
        for (TTreeNodeShape *node : FTree->Selected().Nodes())
            if (node->Parent()) {
                parent = true;
                break;
            }
    Action(cmPrune)->setEnabled(parent);
}

void TTreeCommands::UpdateAll()
{
    UpdateEditMenu();
    UpdateViewMenu();
    UpdateInsertMenu();
    UpdateFormatMenu();
    UpdateToolsMenu();
}
