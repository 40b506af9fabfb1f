#pragma once
#include "editor/TreeAlign.h"
// The editor's commands: every menu item beyond the window's own file
// commands, with its shortcut and its enable and check rules, the whole
// menu bar built into the host window, the context menus of the diagram,
// the tool palette's behaviour, the clipboard, import, search, zoom, align
// and order. Every edit goes through the document's operations inside one
// step (TTreeStep), so the window marks the document modified and undo
// records it from the change notices; every dialog goes through Prompts().
//
//   auto *commands = new TTreeCommands(host, window);
//   commands->InstallMenus();                   // the menu bar
//   layout->addWidget(commands->Palette());     // the palette band
//
// The host's diagram may be replaced (New, Open): the commands hear it
// through DocumentReplaced and follow.

#include "editor/EditorHost.h"
#include "model/TreeChanges.h"
#include "canvas/CanvasTypes.h"
#include "model/TreeTypes.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QUrl>
#include <functional>
#include <array>
#include <memory>
#include <optional>

class QAction;
class QActionGroup;
#include <QMenu>
class QProgressDialog;
class TComponent;
#include "view/Arbolix.h"
class TTreeClipboard;
class TTreeConnection;
class TTreeNodeShape;
#include "editor/TreePalette.h"
class TTreeSpeedButton;

// The commands by name (Action() answers their QAction).
enum TTreeCommand {
    // File
    cmImport, cmExport, cmSendMail, cmPrintPreview, cmPrint,
    // Edit
    cmCut, cmCopy, cmPaste, cmDelete, cmSelectAll, cmSearch, cmAlignToGrid, cmCopyPicture,
    // View
    cmZoom200, cmZoom100, cmZoom75, cmZoom50, cmZoom25, cmZoom15, cmZoom10, cmZoom5, cmZoom1,
    cmShowConnections, cmShowImages, cmShowText, cmShowShapes, cmShowCrossBoxes,
    cmFontToolbar, cmFormatToolbar, cmPaletteBand, cmToolButtons,
    cmGrid, cmRulers, cmStatusBar, cmNodeTree, cmInspector, cmEditorTabs,
    cmZoomIn, cmZoomOut,
    // Insert
    cmNewChild, cmNewBrother, cmNewParent, cmNewRoot,
    // Format
    cmStyleRectangle, cmStyleEllipse, cmStyleDiamond,
    cmStyleTriangleLeft, cmStyleTriangleTop, cmStyleTriangleRight, cmStyleTriangleBottom,
    cmStyleLineHorizontal, cmStyleLineVertical, cmStyleLineDiagonal, cmStyleLineInvDiagonal,
    cmStyleRoundRectangle,
    cmBorder, cmClipText, cmColor, cmFont, cmGradient, cmImage, cmPattern, cmShadow, cmTransparent,
    // Tools
    cmLinkNodes, cmPrune,
    // Help
    cmHelpIndex, cmEditorTips, cmWebSite, cmHomePage, cmAbout,
    // Node menu (beyond the twins of the main menu)
    cmEditNode, cmBringToFront, cmSendToBack, cmSizeToGrid, cmShowNames,
    cmNodeAutoSize, cmNodeBackColor, cmNodeGradient, cmCrossAuto, cmCrossAlways, cmCrossNever,
    // Connection and point menus
    cmEditConnection, cmDeleteConnection, cmConnAuto, cmConnLines, cmConnSides, cmConnInvertedSides,
    cmConnCurve, cmAddPoint, cmPointAutomatic, cmPointFixed, cmPointFromStart, cmPointFromEnd, cmDeletePoint,
    cmCount
};

// The top-level menus, in menu-bar order.
enum TTreeMenu { mnFile, mnEdit, mnView, mnInsert, mnFormat, mnTools, mnHelp, mnCount };

// The kinds of the "Align" page's buttons.
using TTreeAlignKind = TAlignKind;

class TTreeCommands : public QObject, public TEditorPart, private TTreeChangeListener
{
    Q_OBJECT
public:
    // The web pages of the help menu.
    static const char *const kProductPage;
    static const char *const kHomePage;
    // The help topic "&Help Index..." opens.
    static const char *const kHelpTopic;

    explicit TTreeCommands(TEditorHost *host, QObject *parent = nullptr);
    ~TTreeCommands() override;

    TEditorHost *Host() const { return FHost; }
    TTree *Tree() const;
    TTreeClipboard *Clipboard() const { return FClipboard; }
    // The tool palette (the window puts it into its band; the commands keep
    // it in step with the diagram).
    TTreeShapePalette *Palette() const { return FPalette; }

    QAction *Action(TTreeCommand command) const { return FActions[command]; }
    QMenu *Menu(TTreeMenu menu) const { return FMenus[menu]; }
    // Builds the menu bar into the host window: File (with the window's own
    // file actions), Edit, View, Insert, Format, Tools, Help.
    void InstallMenus();
    // The window inserts its own items (the application's Undo, Language,
    // Animation, New Database Tree) into these.
    QMenu *ZoomMenu() const { return FZoomMenu; }
    QMenu *StyleMenu() const { return FStyleMenu; }

    // ---- Menu state, as each menu sets it when it opens
    void UpdateEditMenu();
    void UpdateViewMenu();
    void UpdateInsertMenu();
    void UpdateFormatMenu();
    void UpdateToolsMenu();
    void UpdateNodeMenu(bool fromOutline);
    void UpdateConnectionMenu();
    void UpdatePointMenu();
    // Every rule at once (the selection changed).
    void UpdateAll();

    // ---- Context menus (built once; shown at a right-button release)
    QMenu *NodeMenu() const { return FNodeMenu; }
    QMenu *ConnectionMenu() const { return FConnectionMenu; }
    QMenu *PointMenu() const { return FPointMenu; }
    QMenu *NodeFormatMenu() const { return FNodeFormatMenu; }
    // The menu a right-button release at client pixels (x, y) opens, its
    // state set; null outside design mode or in an interactive mode.
    QMenu *ContextMenuAt(int x, int y, bool fromOutline = false);
    // The point index the point menu was opened on.
    int MenuPoint() const { return FMenuPoint; }

    // ---- Palette
    // Creates a node of a tool's class in a model rectangle (an empty one
    // places it at the default position) as one step; answers it.
    TTreeNodeShape *CreateNode(TTreeSpeedButton *tool, const TRect &rect);
    // What "Selection" does: creation off, polygon drawing off, connect off.
    void ChooseSelection();

    // ---- Commands (each does nothing where its rule says so)
    void Cut();
    void Copy();
    void Paste();
    // Whether Paste has something: copied nodes, or a diagram or text on
    // the system clipboard.
    bool CanPaste() const;
    // Pastes plain text (an outline) as new nodes; answers the first.
    TTreeNodeShape *PasteText(const QString &text);
    void DeleteSelection();
    void SelectAll();
    // With `text` the search runs without asking.
    void Search(const std::optional<QString> &text = std::nullopt);
    void AlignToGrid();
    void SizeToGrid();
    void CopyAsPicture();
    void Align(TTreeAlignKind kind);
    void BringToFront();
    void SendToBack();
    void AddNewRoot();
    void AddChild();
    void AddBrother();
    void AddNewParent();
    void Prune();
    void LinkNodes();
    // The zoom, as the diagram allows it; answers the zoom in force.
    int SetZoom(int zoom);
    void ZoomBy(int delta);

    // Import: the open dialog, then ImportFile.
    void Import();
    // Imports a text outline (asText) or a diagram file into the diagram,
    // showing progress; a cancel leaves the document as it was. Answers
    // whether anything was imported; errors are shown, not thrown.
    bool ImportFile(const QString &fileName, bool asText);

    void Export();
    void SendMail();
    void PrintPreview();
    void Print();

    // Format.
    void FormatColor();
    void FormatBorder();
    void FormatFont();
    void FormatGradient();
    void FormatImage();
    void FormatPattern();
    void FormatShadow();
    void SetTransparent(bool on);
    void SetClipText(bool on);
    void SetStyle(TTreeShapeStyle style);
    void SetAutoSize(bool on);
    void FormatBackColor();
    void EditNodeGradient();
    void SetShowCross(TTreeNodeShapeShowCross value);

    // View toggles of the diagram (each an edit of the document).
    void ShowConnections(bool on);
    void ShowShapes(bool on);
    void ShowImages(bool on);
    void ShowText(bool on);
    void ShowCrossBoxes(bool on);

    // Connections and their points.
    void EditSelectedConnection();
    void DeleteSelectedConnection();
    void SetConnectionStyle(TTreeConnectionStyle style);
    void AddConnectionPoint();
    void SetPointStyle(int kind);
    void DeleteMenuPoint();

    // Shape editor on the first selected node (page: TShapeEditorPage).
    void EditFirstNode(int page);

    // Help.
    void HelpIndex();
    void EditorTips();
    void OpenProductPage();
    void OpenHomePage();
    void About();
    // How the help and web items open a file or address (the shell's
    // opener by default); tests put their own.
    std::function<bool(const QUrl &)> OpenUrl;

    // Where the last right-button release or the pointer was, in client
    // pixels of the diagram; the paste puts copies there. Null: the pointer
    // is not over the diagram.
    std::optional<QPoint> PointerPosition() const;
    // Tests place the pointer without moving the real one.
    void SetPointerOverride(std::optional<QPoint> position) { FPointerOverride = position; }

    // ---- TEditorPart
    void DocumentReplaced(TTree *tree) override;
    void WindowClosing() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // TTreeChangeListener
    void TreeChanged(TTreeDocument *tree, const TTreeChange &change) override;
    void TreeChanging(TTreeDocument *tree, const TTreeChange &change) override;

    void CreateActions();
    QAction *Make(TTreeCommand command, const QString &caption, const std::function<void()> &run,
                  bool checkable = false);
    void BuildMenus();
    void BuildContextMenus();
    void HookTree(TTree *tree);
    void UnhookTree();
    void ScheduleUpdate();
    void PaletteTool(TTreeSpeedButton *button);
    void PaletteToolDouble(TTreeSpeedButton *button);
    void CreationRectangle(const TRect &rect, bool &handled);
    // Runs `change` on every selected node between notices, as one step.
    void ForSelected(const QString &description, const QString &property,
                     const std::function<void(TTreeNodeShape *)> &change);
    void EndCommand();
    bool RightRelease(int x, int y);
    bool DoubleClickAt(int x, int y);
    bool ImportText(const QString &fileName);
    bool ImportDiagram(const QString &fileName);
    bool ShowError(const std::function<void()> &run);

    TEditorHost *FHost;
    QPointer<TTree> FTree;
    // The same object as a plain object: the event filter meets it also
    // while it is being destroyed.
    QPointer<QObject> FTreeObject;
    std::unique_ptr<TComponent> FClipboardOwner;
    TTreeClipboard *FClipboard = nullptr;
    QPointer<TTreeShapePalette> FPalette;
    std::array<QAction *, cmCount> FActions{};
    std::array<QMenu *, mnCount> FMenus{};
    QMenu *FZoomMenu = nullptr;
    QMenu *FStyleMenu = nullptr;
    QMenu *FToolbarsMenu = nullptr;
    QMenu *FTriangleMenu = nullptr;
    QMenu *FLineMenu = nullptr;
    QPointer<QMenu> FNodeMenu;
    QPointer<QMenu> FConnectionMenu;
    QPointer<QMenu> FPointMenu;
    QPointer<QMenu> FPointPositionMenu;
    QPointer<QMenu> FNodeFormatMenu;
    QPointer<QMenu> FCrossMenu;
    // The node menu's own items (the others are the main menu's).
    QAction *FNodeAddChild = nullptr;
    QAction *FNodeAddBrother = nullptr;
    QAction *FNodeAddRoot = nullptr;
    QAction *FNodePrune = nullptr;
    QAction *FNodeAlign = nullptr;
    QAction *FFormatClipText = nullptr;
    QAction *FFormatShadow = nullptr;
    QAction *FFormatTransparent = nullptr;
    int FMenuPoint = -1;
    TPoint FMenuModelPoint;
    std::optional<QPoint> FPointerOverride;
    QPoint FRightPress;
    bool FUpdatePending = false;
    bool FMenusInstalled = false;
};
