// The editor window: its bands, the host side of the parts, the status bar
// and the document's modified flag. The file commands are in
// TreeEditorFile.cpp, the settings in TreeEditorSettings.cpp.

#include "editor/TreeEditor.h"
#include "editor/TreePropertyPages.h"

#include "core/Component.h"
#include "dialogs/KorInspector.h"
#include "editor/DendrixSettings.h"
#include "editor/KorRecentFiles.h"
#include "editor/TreeCommands.h"
#include "editor/TreeEditorConst.h"
#include "editor/SavedTreeState.h"
#include "editor/TreeEditorDocument.h"
#include "editor/TreeStatusBar.h"
#include "i18n/KorTranslate.h"
#include "view/Arbolix.h"
#include "view/TreeInteraction.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

namespace {

constexpr int kPanelToolbarHeight = 56;
constexpr int kToolButtonsWidth = 113;
constexpr int kFontToolbarHeight = 26;
constexpr int kFormatToolbarHeight = 24;
constexpr int kSidePanelWidth = 145;
constexpr int kOutlineHeight = 150;

// A band's header: a caption and a close button "x".
QWidget *PanelHeader(QWidget *parent, const QString &caption, const std::function<void()> &close)
{
    auto *header = new QWidget(parent);
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    auto *label = new QLabel(caption, header);
    row->addWidget(label, 1);
    auto *button = new QToolButton(header);
    button->setText(QStringLiteral("x"));
    button->setAutoRaise(true);
    button->setProperty(kNoTranslateProperty, true);
    QObject::connect(button, &QToolButton::clicked, header, close);
    row->addWidget(button);
    return header;
}

QWidget *EmptyBand(QWidget *parent, const char *name)
{
    auto *band = new QWidget(parent);
    band->setObjectName(QLatin1String(name));
    auto *layout = new QVBoxLayout(band);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return band;
}

} // namespace

TTreeEditor::TTreeEditor(QWidget *parent) : QMainWindow(parent), FCaptionFormat(SEditingCaption.Text())
{
    setObjectName(QStringLiteral("TreeEditor"));
    BuildFileActions();
    BuildBands();
    ComposePanels();
    BuildDefaultMenus();
    FRecent = std::make_unique<TRecentFiles>(FReopenMenu, FReopenSeparator);
    FRecent->OnOpen = [this](const QString &name) { OpenFile(name); };
    if (const auto settings = OpenDendrixSettings())
        FRecent->Load(*settings);
    ComposeCommands();
    // Without stored bounds: three quarters of the screen, at least the
    // classic 800 x 600 where the screen has room for it.
    QSize size(800, 600);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QSize room = screen->availableGeometry().size();
        size = size.expandedTo(room * 3 / 4).boundedTo(room);
    }
    resize(size);
}

void TTreeEditor::ComposeCommands()
{
    FCommands = new TTreeCommands(this, this);
    FCommands->InstallMenus();
    FPageShapes->layout()->addWidget(FCommands->Palette());
    // The tool buttons the file actions do not serve.
    const std::pair<TToolButton, TTreeCommand> buttons[] = {{tbPrint, cmPrint},   {tbPrintPreview, cmPrintPreview},
                                                            {tbMail, cmSendMail}, {tbZoomIn, cmZoomIn},
                                                            {tbZoomOut, cmZoomOut}};
    for (const auto &[button, command] : buttons) {
        QToolButton *b = FToolButtons[button];
        b->setEnabled(true);
        connect(b, &QToolButton::clicked, FCommands->Action(command), &QAction::trigger);
    }
}

TTreeEditor::~TTreeEditor()
{
    // The commands leave while the window can still answer them.
    delete FCommands;
    FCommands = nullptr;
    // A diagram of another owner goes back also when the window was never
    // closed (it must not go with the window's widgets).
    if (FDocument && !FDocument->Owned)
        RestoreTreeState();
    UnhookTree();
    // The diagram goes before its owner of elements and before the widgets
    // it sits in.
    FDocument.reset();
    FTree = nullptr;
}

void TTreeEditor::BuildFileActions()
{
    const auto make = [this](TFileCommand command, const char *caption, QKeySequence shortcut, const char *name,
                             std::function<void()> run) {
        auto *action = new QAction(QString::fromLatin1(caption), this);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, std::move(run));
        FFileActions[command] = action;
    };
    make(fcNew, "&New", QKeySequence(Qt::CTRL | Qt::Key_N), "New1", [this] { FileNew(); });
    make(fcOpen, "&Open...", QKeySequence(Qt::CTRL | Qt::Key_O), "Open1", [this] { FileOpen(); });
    make(fcSave, "&Save", QKeySequence(Qt::CTRL | Qt::Key_S), "Save1", [this] { FileSave(); });
    make(fcSaveAs, "Save &as...", QKeySequence(), "SaveAs1", [this] { FileSaveAs(); });
    make(fcClose, "&Close", QKeySequence(Qt::CTRL | Qt::Key_F4), "Close1", [this] { FileClose(); });
    FFileActions[fcNew]->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    FFileActions[fcOpen]->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    FFileActions[fcSave]->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    for (QAction *a : FFileActions)
        addAction(a);

    FReopenMenu = new QMenu(QStringLiteral("&Reopen"), this);
    FReopenMenu->setObjectName(QStringLiteral("Reopen1"));
    FReopenSeparator = new QAction(this);
    FReopenSeparator->setSeparator(true);
}

void TTreeEditor::BuildDefaultMenus()
{
    // The File menu until the commands build the whole menu bar.
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    file->addAction(FFileActions[fcNew]);
    file->addAction(FFileActions[fcOpen]);
    file->addAction(FFileActions[fcSave]);
    file->addAction(FFileActions[fcSaveAs]);
    file->addAction(FReopenSeparator);
    file->addMenu(FReopenMenu);
    file->addSeparator();
    file->addAction(FFileActions[fcClose]);
}

void TTreeEditor::BuildBands()
{
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("EditorClient"));
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // 1. The diagram-wide property pages, hidden at first.
    FPageTree = new QTabWidget(central);
    FPageTree->setObjectName(QStringLiteral("PageTree"));
    for (const char *page : {"General", "Cross Box", "Panel", "Align", "Mouse", "Selected", "Scroll Bars", "Grid",
                             "Handles", "Print", "Text Editor"}) {
        auto *sheet = new QWidget(FPageTree);
        sheet->setObjectName(QStringLiteral("Tab") + QString::fromLatin1(page).remove(QLatin1Char(' ')));
        new QVBoxLayout(sheet);
        FPageTree->addTab(sheet, QString::fromLatin1(page));
    }
    FPageTree->hide();
    column->addWidget(FPageTree);

    // 2. The file tool buttons and the palette.
    FPanelToolbar = new QWidget(central);
    FPanelToolbar->setObjectName(QStringLiteral("PanelToolbar"));
    FPanelToolbar->setFixedHeight(kPanelToolbarHeight);
    auto *toolRow = new QHBoxLayout(FPanelToolbar);
    toolRow->setContentsMargins(0, 0, 0, 0);
    toolRow->setSpacing(0);
    FPanelToolButtons = new QWidget(FPanelToolbar);
    FPanelToolButtons->setObjectName(QStringLiteral("PanelToolButtons"));
    FPanelToolButtons->setFixedWidth(kToolButtonsWidth);
    auto *grid = new QGridLayout(FPanelToolButtons);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    const char *hints[kToolButtonCount] = {"New", "Open", "Print", "Print preview", "Save", "E-mail", "Zoom In", "Zoom Out"};
    const QStyle::StandardPixmap glyphs[kToolButtonCount] = {
        QStyle::SP_FileIcon,         QStyle::SP_DialogOpenButton, QStyle::SP_FileDialogDetailedView,
        QStyle::SP_FileDialogContentsView, QStyle::SP_DialogSaveButton, QStyle::SP_MessageBoxInformation,
        QStyle::SP_ArrowUp,          QStyle::SP_ArrowDown};
    for (int i = 0; i < kToolButtonCount; ++i) {
        auto *b = new QToolButton(FPanelToolButtons);
        b->setObjectName(QStringLiteral("ToolButton%1").arg(i + 1));
        b->setAutoRaise(true);
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        b->setFixedSize(28, 28);
        // The commands bind Print, Print preview, E-mail and the zoom.
        if (i == tbNew || i == tbOpen || i == tbSave)
            b->setDefaultAction(FFileActions[i == tbNew ? fcNew : i == tbOpen ? fcOpen : fcSave]);
        else
            b->setEnabled(false);
        b->setIcon(style()->standardIcon(glyphs[i]));
        b->setToolTip(QString::fromLatin1(hints[i]));
        grid->addWidget(b, i / 4, i % 4);
        FToolButtons[i] = b;
    }
    toolRow->addWidget(FPanelToolButtons);
    FPageShapes = EmptyBand(FPanelToolbar, "PageShapes");
    toolRow->addWidget(FPageShapes, 1);
    column->addWidget(FPanelToolbar);

    // 3. The font toolbar above the format toolbar.
    FPanelTools = EmptyBand(central, "PanelTools");
    FPanelFont = EmptyBand(FPanelTools, "PanelFont");
    FPanelFont->setFixedHeight(kFontToolbarHeight);
    FPanelShape = EmptyBand(FPanelTools, "PanelShape");
    FPanelShape->setFixedHeight(kFormatToolbarHeight);
    FPanelTools->layout()->addWidget(FPanelFont);
    FPanelTools->layout()->addWidget(FPanelShape);
    column->addWidget(FPanelTools);

    // 4. and 5. The side panel and the diagram with its rulers and tabs.
    FMainSplitter = new QSplitter(Qt::Horizontal, central);
    FMainSplitter->setObjectName(QStringLiteral("Splitter1"));
    FMainSplitter->setChildrenCollapsible(false);
    FPanelNodes = EmptyBand(FMainSplitter, "PanelNodes");
    FSideSplitter = new QSplitter(Qt::Vertical, FPanelNodes);
    FSideSplitter->setObjectName(QStringLiteral("Splitter2"));
    FSideSplitter->setChildrenCollapsible(false);
    FPanelNodes->layout()->addWidget(FSideSplitter);

    FPanelNodesInt = EmptyBand(FSideSplitter, "PanelNodesInt");
    FPanelNodesInt->layout()->addWidget(
        PanelHeader(FPanelNodesInt, QStringLiteral(" Nodes"), [this] { SetBandVisible(ebNodeOutline, false); }));
    FNodeTreeSlot = EmptyBand(FPanelNodesInt, "NodeTreeSlot");
    FPanelNodesInt->layout()->addWidget(FNodeTreeSlot);
    static_cast<QVBoxLayout *>(FPanelNodesInt->layout())->setStretch(1, 1);

    FPanelInspector = EmptyBand(FSideSplitter, "PanelInspector");
    FPanelInspector->layout()->addWidget(
        PanelHeader(FPanelInspector, QStringLiteral(" Properties"), [this] { SetBandVisible(ebInspector, false); }));
    FInspector = new TKorInspector(FPanelInspector);
    FInspector->setObjectName(QStringLiteral("Inspector"));
    FPanelInspector->layout()->addWidget(FInspector);
    static_cast<QVBoxLayout *>(FPanelInspector->layout())->setStretch(1, 1);
    FSideSplitter->addWidget(FPanelNodesInt);
    FSideSplitter->addWidget(FPanelInspector);
    FSideSplitter->setStretchFactor(1, 1);
    FMainSplitter->addWidget(FPanelNodes);

    FPanelTree = new QWidget(FMainSplitter);
    FPanelTree->setObjectName(QStringLiteral("PanelTree"));
    auto *treeGrid = new QGridLayout(FPanelTree);
    treeGrid->setContentsMargins(0, 0, 0, 0);
    treeGrid->setSpacing(0);
    // The rulers: a horizontal one along the top, a vertical one down the
    // left, each as thick as its labels need.
    FRulerH = new TTreeRuler(FPanelTree);
    FRulerH->setObjectName(QStringLiteral("HorizRuler"));
    FRulerH->SetAlign(alTop);
    FRulerH->setFixedHeight(FRulerH->sizeHint().height());
    FRulerV = new TTreeRuler(FPanelTree);
    FRulerV->setObjectName(QStringLiteral("VertRuler"));
    FRulerV->SetAlign(alLeft);
    FRulerV->setFixedWidth(FRulerV->sizeHint().width());
    FTreeArea = EmptyBand(FPanelTree, "TreeArea");
    FTabs = new QTabBar(FPanelTree);
    FTabs->setObjectName(QStringLiteral("TabControl1"));
    FTabs->setShape(QTabBar::RoundedSouth);
    FTabs->addTab(QStringLiteral("Design"));
    FTabs->addTab(QStringLiteral("Preview"));
    FTabs->setExpanding(false);
    connect(FTabs, &QTabBar::currentChanged, this, &TTreeEditor::TabChanged);
    treeGrid->addWidget(FRulerH, 0, 1);
    treeGrid->addWidget(FRulerV, 1, 0);
    treeGrid->addWidget(FTreeArea, 1, 1);
    treeGrid->addWidget(FTabs, 2, 0, 1, 2, Qt::AlignLeft);
    treeGrid->setRowStretch(1, 1);
    treeGrid->setColumnStretch(1, 1);
    FMainSplitter->addWidget(FPanelTree);
    FMainSplitter->setStretchFactor(1, 1);
    FMainSplitter->setSizes({kSidePanelWidth, 800 - kSidePanelWidth});
    FSideSplitter->setSizes({kOutlineHeight, 300});
    column->addWidget(FMainSplitter, 1);
    setCentralWidget(central);

    // 7. The status bar.
    FStatusBar = new TTreeStatusBar(this);
    setStatusBar(FStatusBar);
}

// ---------------------------------------------------------------------------
// The host side

QAction *TTreeEditor::FileAction(TFileCommand command)
{
    return command >= fcNew && command <= fcClose ? FFileActions[command] : nullptr;
}

bool TTreeEditor::OpenFile(const QString &fileName)
{
    return ReadFileAsking(fileName, true);
}

void TTreeEditor::SetModified(bool modified)
{
    const bool changed = FModified != modified;
    FModified = modified;
    FStatusBar->SetModifiedShown(modified);
    if (modified)
        FInspector->viewport()->update();
    if (changed)
        emit modifiedChanged(modified);
}

bool TTreeEditor::BandVisible(TEditorBand band) const
{
    switch (band) {
    case ebPropertyPages:
        return !FPageTree->isHidden();
    case ebPalette:
        return !FPageShapes->isHidden();
    case ebToolButtons:
        return !FPanelToolButtons->isHidden();
    case ebFontToolbar:
        return !FPanelFont->isHidden();
    case ebFormatToolbar:
        return !FPanelShape->isHidden();
    case ebNodeOutline:
        return !FPanelNodesInt->isHidden();
    case ebInspector:
        return !FPanelInspector->isHidden();
    case ebStatusBar:
        return !FStatusBar->isHidden();
    case ebRulers:
        return !FRulerH->isHidden();
    case ebAnimationEditor:
        return false;
    }
    return false;
}

void TTreeEditor::SetBandVisible(TEditorBand band, bool visible)
{
    switch (band) {
    case ebPropertyPages:
        FPageTree->setVisible(visible);
        break;
    case ebPalette:
        FPageShapes->setVisible(visible);
        FPanelToolbar->setVisible(visible || BandVisible(ebToolButtons));
        break;
    case ebToolButtons:
        FPanelToolButtons->setVisible(visible);
        FPanelToolbar->setVisible(visible || BandVisible(ebPalette));
        break;
    case ebFontToolbar:
        FPanelFont->setVisible(visible);
        UpdatePanelTools();
        break;
    case ebFormatToolbar:
        FPanelShape->setVisible(visible);
        UpdatePanelTools();
        break;
    case ebNodeOutline:
        FPanelNodesInt->setVisible(visible);
        UpdateSidePanel();
        break;
    case ebInspector:
        FPanelInspector->setVisible(visible);
        UpdateSidePanel();
        break;
    case ebStatusBar:
        FStatusBar->setVisible(visible);
        break;
    case ebRulers:
        // The vertical ruler follows the horizontal one.
        FRulerH->setVisible(visible);
        FRulerV->setVisible(visible);
        break;
    case ebAnimationEditor:
        break;
    }
}

void TTreeEditor::SetRulersShowUnits(bool value)
{
    FRulersUnits = value;
    FRulerH->SetShowUnits(value);
    FRulerV->SetShowUnits(value);
}

void TTreeEditor::SetRulersUnits(TRulerUnits value)
{
    FRulerUnits = value;
    FRulerH->SetUnits(value);
    FRulerV->SetUnits(value);
}

void TTreeEditor::UpdatePanelTools()
{
    const bool font = BandVisible(ebFontToolbar);
    const bool shape = BandVisible(ebFormatToolbar);
    FPanelTools->setFixedHeight((font ? kFontToolbarHeight : 0) + (shape ? kFormatToolbarHeight : 0));
    FPanelTools->setVisible(font || shape);
}

void TTreeEditor::UpdateSidePanel()
{
    const bool outline = BandVisible(ebNodeOutline);
    const bool inspector = BandVisible(ebInspector);
    FPanelNodes->setVisible(outline || inspector);
    if (outline && inspector) {
        const int total = qMax(FSideSplitter->height(), kOutlineHeight + 1);
        FSideSplitter->setSizes({kOutlineHeight, total - kOutlineHeight});
    }
}

void TTreeEditor::SetSidePanelLeft(bool left)
{
    if (FSidePanelLeft == left)
        return;
    const QList<int> sizes = FMainSplitter->sizes();
    FSidePanelLeft = left;
    FMainSplitter->insertWidget(left ? 0 : 1, FPanelNodes);
    FMainSplitter->setStretchFactor(left ? 1 : 0, 1);
    FMainSplitter->setStretchFactor(left ? 0 : 1, 0);
    QList<int> swapped = sizes;
    std::reverse(swapped.begin(), swapped.end());
    FMainSplitter->setSizes(swapped);
}

void TTreeEditor::ShowStatus(int panel, const QString &text)
{
    FStatusBar->SetPanelText(panel, text);
}

void TTreeEditor::SetInspectorMenu(QMenu *menu)
{
    FInspectorMenu = menu;
    RefreshInspector();
}

void TTreeEditor::RefreshInspector()
{
    FInspector->ShowMenu(FInspectorMenu.data());
}

void TTreeEditor::AddPart(TEditorPart *part)
{
    if (part && std::find(FParts.begin(), FParts.end(), part) == FParts.end())
        FParts.push_back(part);
}

void TTreeEditor::RemovePart(TEditorPart *part)
{
    FParts.erase(std::remove(FParts.begin(), FParts.end(), part), FParts.end());
}

// ---------------------------------------------------------------------------
// The diagram

TTree *TTreeEditor::CreateTreeObject(TComponent *host, QWidget *parent)
{
    return new TTree(host, parent);
}

std::unique_ptr<TTreeEditor::TDocumentSlot> TTreeEditor::NewDocumentSlot()
{
    auto slot = std::make_unique<TDocumentSlot>();
    slot->Host = std::make_unique<TComponent>();
    // Files name the elements' owner so; every document has its own.
    slot->Host->SetName(QStringLiteral("TreeEditor1"));
    slot->Tree = CreateTreeObject(slot->Host.get(), FTreeArea);
    slot->Tree->SetNoOwnerShapes(false);
    slot->Tree->hide();
    // What closing gives back: the values of a new diagram, in the window's
    // own place.
    slot->Saved.Remember(*slot->Tree);
    slot->Saved.ForgetParent();
    return slot;
}

void TTreeEditor::AdoptDocument(std::unique_ptr<TDocumentSlot> slot)
{
    UnhookTree();
    FDocument = std::move(slot);
    FTree = FDocument->Tree;
    FTreeArea->layout()->addWidget(FTree);
    if (!FDocument->Owned)
        ConfigureBorrowedTree();
    DocumentRenewed();
}

void TTreeEditor::DocumentRenewed()
{
    ++FDocumentCount;
    HookTree();
    FTree->setVisible(true);
    FRulerH->SetTree(FTree);
    FRulerV->SetTree(FTree);
    ShowPageStatus();
    // Design mode, as the Design tab shows it.
    FTabs->blockSignals(true);
    FTabs->setCurrentIndex(0);
    FTabs->blockSignals(false);
    TabChanged(0);
    for (TEditorPart *part : std::vector<TEditorPart *>(FParts))
        part->DocumentReplaced(FTree);
    emit documentReplaced();
}

void TTreeEditor::HookTree()
{
    // The commands offer the diagram's menus; a right click is theirs.
    FTree->setContextMenuPolicy(Qt::PreventContextMenu);
    // It fills its place through the layout; its stored alignment (which
    // files keep) stays as it is.
    FTree->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    FTree->SetDesigning(true);
    FTree->AddChangeListener(this);
    FTree->AddListener(this);
    FTree->setFocus();
}

void TTreeEditor::UnhookTree()
{
    if (!FTree)
        return;
    FTree->RemoveChangeListener(this);
    FTree->RemoveListener(this);
}

void TTreeEditor::TabChanged(int index)
{
    // Design: handles, moving, resizing and the grid; Preview: the diagram
    // as it is shown to others. Neither is an edit of the document.
    if (!FTree)
        return;
    FTree->SetDesigning(index == 0);
    if (FTree->Grid())
        FTree->Grid()->SetVisible(index == 0);
    if (FPropertyPages)
        FPropertyPages->Refresh();
}

// ---------------------------------------------------------------------------
// Listeners

void TTreeEditor::TreeChanging(TTreeDocument *tree, const TTreeChange &change)
{
    // Removal is heard only before it happens.
    if (tree == FTree && change.Kind == tckRemoving) {
        SetModified(true);
        emit documentEdited();
    }
}

void TTreeEditor::TreeChanged(TTreeDocument *tree, const TTreeChange &change)
{
    if (tree != FTree || !change.IsEdit())
        return;
    // A move that OnMovingShape cancelled changed nothing.
    if (change.Kind == tckMoved && change.DX == 0 && change.DY == 0)
        return;
    SetModified(true);
    emit documentEdited();
}

void TTreeEditor::KorEvent(TKorEvent &event)
{
    // Every drawing follows a scroll or a change of page.
    if (dynamic_cast<TTreeAfterDrawEvent *>(&event)) {
        ShowPageStatus();
        return;
    }
    if (auto *mouse = dynamic_cast<TKorMouseEvent *>(&event); mouse && mouse->Kind == TKorMouseEventKind::Move)
        MouseMoved(mouse->X, mouse->Y);
}

void TTreeEditor::ShowPageStatus()
{
    if (FTree)
        FStatusBar->SetPanelText(TTreeStatusBar::spPage,
                                 QStringLiteral("%1/%2").arg(FTree->Page()->PageNumber()).arg(FTree->Page()->Count()));
}

void TTreeEditor::MouseMoved(int x, int y)
{
    if (!FTree)
        return;
    if (TTreeNodeShape *node = FTree->ShapeAt(x, y)) {
        FStatusBar->SetPanelText(TTreeStatusBar::spName, node->Name());
        FStatusBar->SetPanelText(TTreeStatusBar::spText, node->SimpleText());
        FStatusBar->SetPanelText(TTreeStatusBar::spPosition, QStringLiteral("%1,%2 %3,%4")
                                                                 .arg(node->X0())
                                                                 .arg(node->Y0())
                                                                 .arg(node->Width())
                                                                 .arg(node->Height()));
    } else if (TTreeConnection *connection = FTree->ConnectionAtPoint(x, y)) {
        FStatusBar->SetPanelText(TTreeStatusBar::spName, connection->Name());
        FStatusBar->SetPanelText(TTreeStatusBar::spText, QString());
    } else {
        FStatusBar->SetPanelText(TTreeStatusBar::spName, QString());
        FStatusBar->SetPanelText(TTreeStatusBar::spText, QString());
        const TPoint p = FTree->UnprojectPoint(TPoint(x, y));
        FStatusBar->SetPanelText(TTreeStatusBar::spPosition, QStringLiteral("%1,%2").arg(p.X).arg(p.Y));
    }
}

// ---------------------------------------------------------------------------
// Showing and closing

void TTreeEditor::showEvent(QShowEvent *event)
{
    if (!FShown) {
        FShown = true;
        FormShow();
    }
    QMainWindow::showEvent(event);
}

void TTreeEditor::FormShow()
{
    setUpdatesEnabled(false);
    if (!FTree && FPendingTree) {
        auto slot = std::make_unique<TDocumentSlot>();
        slot->Owned = false;
        slot->Tree = FPendingTree;
        slot->Borrowed = FPendingTree.data();
        slot->Saved.Remember(*slot->Tree);
        FPendingTree = nullptr;
        AdoptDocument(std::move(slot));
    }
    if (!FTree) {
        AdoptDocument(NewDocumentSlot());
        if (FSaveSettings)
            if (const auto settings = OpenDendrixSettings()) {
                LoadSettings(*settings);
                FSettingsLoaded = true;
            }
    }
    FStarting = false;
    FinishStartingPanels();
    UpdateCaption();
    RefreshInspector();
    FStatusBar->FormResized(width());
    FStatusBar->RefreshKeyStates();
    FStatusBar->StartKeyTimer();
    setUpdatesEnabled(true);
    TranslateForm(this);
}

void TTreeEditor::closeEvent(QCloseEvent *event)
{
    if (FModified && !QuerySave()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TTreeEditor::FormClose()
{
    FStatusBar->StopKeyTimer();
    if (FTree)
        FTree->Selected().Clear();
    for (TEditorPart *part : std::vector<TEditorPart *>(FParts))
        part->WindowClosing();
    if (const auto settings = OpenDendrixSettings()) {
        if (FSaveSettings)
            SaveSettings(*settings);
        FRecent->Save(*settings);
    }
    RestoreTreeState();
}

// ---------------------------------------------------------------------------
// A diagram of another owner

bool TTreeEditor::EditTree(TTree *tree)
{
    if (FShown || FTree || !tree)
        return false;
    FPendingTree = tree;
    return true;
}

bool TTreeEditor::OwnsTree() const
{
    return !FDocument || FDocument->Owned;
}

const TSavedTreeState &TTreeEditor::SavedTreeState() const
{
    static const TSavedTreeState none;
    return FDocument ? FDocument->Saved : none;
}

void TTreeEditor::ConfigureBorrowedTree()
{
    // Its owner's handlers wait until it is given back.
    TSavedTreeState::ClearHandlers(*FTree);
    FTree->SetAllowZoom(true);
    FTree->SetAllowPanning(pmBoth);
    FTree->Grid()->SetVisible(true);
}

void TTreeEditor::RestoreTreeState()
{
    if (!FDocument || !FTree)
        return;
    if (!FDocument->Owned && !FDocument->Borrowed) {
        // Its owner freed it meanwhile: nothing to give back.
        FTree = nullptr;
        FDocument.reset();
        return;
    }
    UnhookTree();
    // The creation hook and the selection go; then everything as it was.
    FTree->Interaction().OnRectangle = nullptr;
    FTree->Interaction().OnAdded = nullptr;
    FTree->Interaction().StartAdding(nullptr);
    FTree->Selected().Clear();
    FDocument->Saved.Restore(*FTree);
    if (FDocument->Owned)
        return;
    // Let go of it: nothing of the window listens to it any more.
    FRulerH->SetTree(nullptr);
    FRulerV->SetTree(nullptr);
    for (TEditorPart *part : std::vector<TEditorPart *>(FParts))
        part->DocumentReplaced(nullptr);
    FTree = nullptr;
    FDocument.reset();
}

void TTreeEditor::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FStatusBar->FormResized(width());
}
