#pragma once
// TTreeEditor: a general diagram editor window. It holds one document, a
// diagram it creates itself, and around it the bands the editor's parts
// fill (top to bottom): the diagram-wide property pages; the file tool
// buttons beside the tool palette; the font and format toolbars; the side
// panel (node outline above the inspector) beside the diagram with its
// rulers and its Design/Preview tabs; the status bar.
//
// The document's lifecycle is the window's: New, Open, Save, Save As and
// Close, each replacing the document only after asking to save a modified
// one. The document is marked modified from its change notices, never by
// the commands themselves. Every question and file dialog goes through
// Prompts().
//
//   TTreeEditor editor;
//   editor.show();                    // creates the diagram, reads settings
//   editor.OpenFile(name);            // asks to save first
//
// A window can also edit a diagram it does not own (EditTree before it is
// first shown): it remembers what editing changes of the diagram, takes it
// into its place and, when it closes, hands it back as it was (its place,
// parent, handlers and switches), with the edits made meanwhile. Such a
// diagram is never asked to be saved: it is its owner's.

#include "canvas/PanelEvents.h"
#include "editor/EditorHost.h"
#include "model/TreeChanges.h"
#include "view/TreeRuler.h"

#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <array>
#include <memory>
#include <vector>

class QIODevice;
class QSettings;
class QSplitter;
class QTabBar;
class QTabWidget;
class QToolButton;
class QWidget;
class TComponent;
class TKorInspector;
class TReader;
class TRecentFiles;
class TTreeFontToolbar;
class TTreeFormatToolbar;
class TTreeNodeOutline;
class TTreePropertyPages;
class TTreeStatusBar;
class TWriter;
struct TSavedTreeState;

// The file tool buttons left of the palette, in their order.
class TTreeCommands;

enum TToolButton { tbNew, tbOpen, tbPrint, tbPrintPreview, tbSave, tbMail, tbZoomIn, tbZoomOut };
constexpr int kToolButtonCount = 8;

class TTreeEditor : public QMainWindow,
                    public TEditorHost,
                    public TTreeChangeListener,
                    public TKorEventListener
{
    Q_OBJECT
public:
    explicit TTreeEditor(QWidget *parent = nullptr);
    ~TTreeEditor() override;

    // ---- TEditorHost
    TTree *Tree() const override { return FTree; }
    QMainWindow *Window() override { return this; }
    QAction *FileAction(TFileCommand command) override;
    // Reads the file, asking to save a modified document first.
    bool OpenFile(const QString &fileName) override;
    QString FileName() const override { return FFileName; }
    bool Modified() const override { return FModified; }
    void SetModified(bool modified) override;
    bool BandVisible(TEditorBand band) const override;
    void SetBandVisible(TEditorBand band, bool visible) override;
    bool SidePanelLeft() const override { return FSidePanelLeft; }
    void SetSidePanelLeft(bool left) override;
    void ShowStatus(int panel, const QString &text) override;
    void RefreshInspector() override;
    void AddPart(TEditorPart *part) override;
    void RemovePart(TEditorPart *part) override;

    // ---- The document
    // The caption: the format applied to the file's name without folder,
    // or to "Tree1" while untitled.
    QString CaptionFormat() const { return FCaptionFormat; }
    void SetCaptionFormat(const QString &format);
    void UpdateCaption();
    // The name the caption and the save question show.
    QString DocumentTitle() const;
    // True when the document may be replaced: it is not modified, or the
    // user saved it or chose not to.
    bool QuerySave();
    // An empty document in place of the current one.
    void ClearDocument();
    // Reads a diagram file (".abx" added to a name without extension) as
    // the document, without asking. A file that holds no diagram leaves the
    // current document as it was; a file that stops part-way leaves what
    // was read, untitled. Failures are shown; answers whether it was read.
    bool ReadFile(const QString &fileName) { return ReadFileAsking(fileName, false); }
    // The same, asking to save a modified document once the file proved to
    // be a diagram (a file that is none leaves everything as it was, with
    // no question).
    bool ReadFileAsking(const QString &fileName, bool askToSave);
    // Writes the document to `fileName` (".abx" added when it has none) and
    // only then adopts that name; a failure is shown and keeps the name and
    // the modified state. Answers whether it was written.
    bool SaveDocumentAs(const QString &fileName);
    bool SaveDocument() { return SaveDocumentAs(FFileName); }
    // Writes the document into another file, atomically, without taking
    // its name or touching the modified state; throws on failure.
    void WriteCopy(const QString &fileName);
    // Reads the copy of a document as the document, named as the document
    // and modified. Failures are shown; answers whether it was read.
    bool RestoreCopy(const QString &copyName, const QString &documentName);

    // ---- The file commands
    // Each asks what it needs through Prompts().
    void FileNew();
    void FileOpen();
    // Answers whether the document was saved (false when cancelled).
    bool FileSave();
    bool FileSaveAs();
    void FileClose() { close(); }
    // The save dialog's filter: the diagram files, then every export format.
    QString SaveDialogFilter();

    // ---- A diagram the window does not own
    // Hands the window a diagram to edit in place of its own; only before
    // the window is first shown (answers whether it was taken). The
    // diagram must outlive the window's showing.
    bool EditTree(TTree *tree);
    bool OwnsTree() const;
    // What the window remembered of the diagram before editing it.
    const TSavedTreeState &SavedTreeState() const;

    // ---- State
    bool Starting() const { return FStarting; }
    bool Shown() const { return FShown; }
    bool SaveSettingsEnabled() const { return FSaveSettings; }
    void SetSaveSettingsEnabled(bool value) { FSaveSettings = value; }
    // How many documents the window has had (each New, Open or restore
    // makes another).
    int DocumentCount() const { return FDocumentCount; }

    // ---- The bands, for the parts to fill
    QTabWidget *PageTree() const { return FPageTree; }
    QWidget *PanelToolbar() const { return FPanelToolbar; }
    QWidget *PanelToolButtons() const { return FPanelToolButtons; }
    QToolButton *ToolButton(TToolButton button) const { return FToolButtons[button]; }
    // The tool palette's place (a part puts its widget into the layout).
    QWidget *PageShapes() const { return FPageShapes; }
    // The commands: the menu bar, the palette, the context menus.
    TTreeCommands *Commands() const { return FCommands; }
    QWidget *PanelTools() const { return FPanelTools; }
    QWidget *PanelFont() const { return FPanelFont; }
    QWidget *PanelShape() const { return FPanelShape; }
    QWidget *PanelNodes() const { return FPanelNodes; }
    QWidget *PanelNodesInt() const { return FPanelNodesInt; }
    // The outline's place below the " Nodes" header.
    QWidget *NodeTreeSlot() const { return FNodeTreeSlot; }
    QWidget *PanelInspector() const { return FPanelInspector; }
    TKorInspector *Inspector() const { return FInspector; }
    // What the inspector shows (a command menu); none empties it.
    void SetInspectorMenu(QMenu *menu);
    QWidget *PanelTree() const { return FPanelTree; }
    // The rulers above and left of the diagram, bound to each document.
    TTreeRuler *HorizontalRuler() const { return FRulerH; }
    TTreeRuler *VerticalRuler() const { return FRulerV; }
    QTabBar *TabControl() const { return FTabs; }
    TTreeStatusBar *StatusBar() const { return FStatusBar; }
    QSplitter *MainSplitter() const { return FMainSplitter; }
    QSplitter *SideSplitter() const { return FSideSplitter; }
    // The recent files, bound to the "&Reopen" submenu.
    TRecentFiles *Recent() const { return FRecent.get(); }
    QMenu *ReopenMenu() const override { return FReopenMenu; }
    QAction *ReopenSeparator() const override { return FReopenSeparator; }
    // The parts in the bands (TreeEditorPanels.cpp).
    TTreePropertyPages *PropertyPages() const { return FPropertyPages; }
    TTreeFontToolbar *FontToolbar() const { return FFontToolbar; }
    TTreeFormatToolbar *FormatToolbar() const { return FFormatToolbar; }
    TTreeNodeOutline *NodeOutline() const { return FNodeOutline; }
    // Both rulers' labels, and the unit they count in (not stored).
    bool RulersShowUnits() const { return FRulersUnits; }
    void SetRulersShowUnits(bool value);
    TRulerUnits RulersUnits() const { return FRulerUnits; }
    void SetRulersUnits(TRulerUnits value);

    // ---- Settings ("Quorvel Software/Dendrix"): read when first shown,
    // written at close. Bounds are kept inside the screens there are now;
    // values of the wrong kind or out of all reason count as absent.
    virtual void LoadSettings(QSettings &settings);
    virtual void SaveSettings(QSettings &settings);

    // ---- Listeners
    void TreeChanging(TTreeDocument *tree, const TTreeChange &change) override;
    void TreeChanged(TTreeDocument *tree, const TTreeChange &change) override;
    void KorEvent(TKorEvent &event) override;

signals:
    // The modified flag changed.
    void modifiedChanged(bool modified);
    // The document was edited (every change notice that is an edit).
    void documentEdited();
    // The document object was replaced (New, Open, restore).
    void documentReplaced();

protected:
    // The diagram class the window makes (TreeClass).
    virtual TTree *CreateTreeObject(TComponent *host, QWidget *parent);
    // Readies the diagram for editing and listens to it.
    virtual void HookTree();
    // What follows the diagram in a file, written after it and read after it.
    virtual void SaveAfterDiagram(TWriter &writer) {}
    virtual void LoadFromStream(TReader &reader, QIODevice &stream) {}
    // Around every write of the document (saves and recovery copies): what
    // is shown only for the time being (an animation playing) is put back
    // before, and returns after.
    virtual void BeforeWrite() {}
    virtual void AfterWrite() {}
    // The first showing: the diagram, the settings, the bands.
    virtual void FormShow();
    // The close was allowed: timers stop, settings and recent files are
    // written, the parts hear it.
    virtual void FormClose();
    // A message through the prompts.
    void ShowError(const QString &text);

    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void ComposeCommands();
    TTreeCommands *FCommands = nullptr;

    struct TDocumentSlot;
    void BuildBands();
    void BuildFileActions();
    void BuildDefaultMenus();
    // The property pages, the toolbars and the outline into their bands.
    void ComposePanels();
    void FinishStartingPanels();
    // A new, empty diagram with its own owner of elements, not yet shown.
    std::unique_ptr<TDocumentSlot> NewDocumentSlot();
    // Reads a file into a new document; `failure` says why it stopped.
    std::unique_ptr<TDocumentSlot> LoadDocumentSlot(const QString &fileName, QString &failure);
    // Puts a document in place of the current one, which goes.
    void AdoptDocument(std::unique_ptr<TDocumentSlot> slot);
    void UnhookTree();
    // The window's changes to the diagram undone (the state it had before
    // editing); a diagram of another owner is let go.
    void RestoreTreeState();
    // A diagram of another owner made ready for editing.
    void ConfigureBorrowedTree();
    // The document object stays (a diagram of another owner): the parts
    // and the rulers start over with it.
    void DocumentRenewed();
    // Reads a file into the diagram of another owner (after it proved to
    // be a diagram); answers the failure, empty when none.
    QString ReadIntoBorrowedTree(const QString &fileName, bool readAll);
    void ShowPageStatus();
    void UpdateSidePanel();
    void UpdatePanelTools();
    void TabChanged(int index);
    void MouseMoved(int x, int y);
    QString FileFilterForSave();

    std::unique_ptr<TDocumentSlot> FDocument;
    TTree *FTree = nullptr;
    QString FFileName;
    QString FCaptionFormat;
    bool FModified = false;
    bool FSaveSettings = true;
    bool FSettingsLoaded = false;
    bool FStarting = true;
    bool FShown = false;
    bool FSidePanelLeft = true;
    bool FRulersUnits = true;
    TRulerUnits FRulerUnits = ruPixels;
    // Handed by EditTree, taken when first shown.
    QPointer<TTree> FPendingTree;
    int FDocumentCount = 0;
    QString FSaveFilter;
    std::vector<TEditorPart *> FParts;
    std::array<QAction *, 5> FFileActions{};
    std::array<QToolButton *, kToolButtonCount> FToolButtons{};
    std::unique_ptr<TRecentFiles> FRecent;
    QMenu *FReopenMenu = nullptr;
    QAction *FReopenSeparator = nullptr;
    QPointer<QMenu> FInspectorMenu;

    QTabWidget *FPageTree = nullptr;
    QWidget *FPanelToolbar = nullptr;
    QWidget *FPanelToolButtons = nullptr;
    QWidget *FPageShapes = nullptr;
    QWidget *FPanelTools = nullptr;
    QWidget *FPanelFont = nullptr;
    QWidget *FPanelShape = nullptr;
    QSplitter *FMainSplitter = nullptr;
    QWidget *FPanelNodes = nullptr;
    QSplitter *FSideSplitter = nullptr;
    QWidget *FPanelNodesInt = nullptr;
    QWidget *FNodeTreeSlot = nullptr;
    QWidget *FPanelInspector = nullptr;
    TKorInspector *FInspector = nullptr;
    QWidget *FPanelTree = nullptr;
    QWidget *FTreeArea = nullptr;
    TTreeRuler *FRulerH = nullptr;
    TTreeRuler *FRulerV = nullptr;
    QTabBar *FTabs = nullptr;
    TTreeStatusBar *FStatusBar = nullptr;
    TTreePropertyPages *FPropertyPages = nullptr;
    TTreeFontToolbar *FFontToolbar = nullptr;
    TTreeFormatToolbar *FFormatToolbar = nullptr;
    TTreeNodeOutline *FNodeOutline = nullptr;
};

// Window bounds moved and cut so they lie on one of the screens (the one
// showing most of them, else the first) and keep a usable size.
QRect FitWindowBounds(const QRect &bounds, const QList<QRect> &screens);
