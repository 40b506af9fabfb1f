#pragma once
// What the parts of the editor (commands and menus, the tool palette, the
// toolbars, the node outline, the property pages, undo) need of the window
// that hosts them, and what the window tells them. The window composes the
// parts; a part never reaches into the window's widgets, and the window
// never edits the diagram for a part: edits go through the document's
// operations, whose change notices mark the document modified.

#include <QString>

class QAction;
class QMainWindow;
class QMenu;
class TTree;

// The bands of the window that the View menu and the settings show and hide.
enum TEditorBand {
    ebPropertyPages,   // the diagram-wide property pages above everything
    ebPalette,         // the tool palette
    ebToolButtons,     // the file tool buttons left of the palette
    ebFontToolbar,
    ebFormatToolbar,
    ebNodeOutline,     // the outline part of the side panel
    ebInspector,       // the inspector part of the side panel
    ebStatusBar,
    ebRulers,
    ebAnimationEditor, // the docked animation editor (main window only)
};

// The window's own file commands; their actions carry the shortcuts.
enum TFileCommand { fcNew, fcOpen, fcSave, fcSaveAs, fcClose };

class TEditorPart;

class TEditorHost
{
public:
    virtual ~TEditorHost() = default;

    // The document being edited; another object after New or Open may
    // replace it (parts hear DocumentReplaced).
    virtual TTree *Tree() const = 0;
    // Parent of every dialog a part opens.
    virtual QMainWindow *Window() = 0;

    virtual QAction *FileAction(TFileCommand command) = 0;
    // Opens a diagram file as File > Open does, after asking to save.
    virtual bool OpenFile(const QString &fileName) = 0;
    virtual QString FileName() const = 0;
    virtual bool Modified() const = 0;
    // For what is no edit of the document but still unsaved (the zoom).
    virtual void SetModified(bool modified) = 0;

    virtual bool BandVisible(TEditorBand band) const = 0;
    virtual void SetBandVisible(TEditorBand band, bool visible) = 0;
    // Side panel on the left (true) or on the right.
    virtual bool SidePanelLeft() const = 0;
    virtual void SetSidePanelLeft(bool left) = 0;

    // A status bar panel's text (0 name, 1 text and prompts, 2 position).
    virtual void ShowStatus(int panel, const QString &text) = 0;
    virtual void RefreshInspector() = 0;

    // The recent files' "&Reopen" submenu and the separator above it, for
    // the File menu; none where the window keeps no recent files.
    virtual QMenu *ReopenMenu() const { return nullptr; }
    virtual QAction *ReopenSeparator() const { return nullptr; }
    // The application window's "&Language..." for the Tools menu; none in a
    // plain editor window.
    virtual QAction *LanguageAction() const { return nullptr; }

    // Parts register to hear about the window; the window does not own them.
    virtual void AddPart(TEditorPart *part) = 0;
    virtual void RemovePart(TEditorPart *part) = 0;
};

class TEditorPart
{
public:
    virtual ~TEditorPart() = default;
    // The document was cleared, opened or created anew (it may be another
    // diagram object): forget every reference into the old one.
    virtual void DocumentReplaced(TTree *tree) {}
    // The window is about to close; the document still exists.
    virtual void WindowClosing() {}
};
