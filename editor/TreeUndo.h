#pragma once
// The undo list of a document: every edit, taken back and made again.
//
// The list hears the document's change notices (TreeChanges.h) and keeps
// one step per user action: the notices between the begin and end of a
// TTreeStep (a drag, a dialog's OK, a paste) form one step, a notice
// outside any step is a step of its own. A step keeps what changed, never a
// copy of the document, and names elements by name, so no step refers to a
// freed element: a step whose elements are gone does nothing.
//
//   auto undo = std::make_unique<TTreeUndo>(tree);
//   menu->addAction(undo->CreateUndoAction(menu));   // "Undo Move", Ctrl+Z
//   menu->addAction(undo->CreateRedoAction(menu));   // "Redo Move", Ctrl+Y
//   // after saving:  undo->SetClean();
//
// Taking a step back puts the document into the state before the step, so
// that it writes the same file as then; making it again puts it into the
// state after the step. Taking back and making again are edits themselves
// (with their notices, as one step), which the list does not record.
//
// The list is emptied when the document is replaced (New, Open); it keeps
// at most Limit() steps, dropping the oldest.

#include "editor/EditorHost.h"
#include "model/TreeChanges.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QUndoCommand>
#include <QUndoStack>
#include <memory>
#include <unordered_map>
#include <vector>

class QAction;
class TComponent;
class TMoveBlock;
class TPlaceEntry;
class TSetEntry;
class TStateEntry;
class TTreeDocument;
class TTreeUndo;
class TUndoEntry;

// One step: its description ("Move", "Border width") and the edits it
// takes back.
class TTreeUndoItem : public QUndoCommand
{
public:
    TTreeUndoItem(TTreeUndo *undo, const QString &description);
    ~TTreeUndoItem() override;

    // The text shown after "Undo" and "Redo" in the menu.
    QString Description() const { return text(); }
    int EntryCount() const { return static_cast<int>(FEntries.size()); }
    // What the step keeps, in bytes (an estimate of its own storage).
    size_t MemoryUsage() const;

    void undo() override;
    void redo() override;

private:
    friend class TTreeUndo;
    TTreeUndo *FUndo;
    std::vector<std::unique_ptr<TUndoEntry>> FEntries;
    bool FPushed = false; // the first redo is the edit itself, already made
};

class TTreeUndo : public QObject, public TTreeChangeListener, public TEditorPart
{
    Q_OBJECT
public:
    static constexpr int kDefaultLimit = 1000;

    explicit TTreeUndo(TTreeDocument *tree = nullptr, QObject *parent = nullptr);
    ~TTreeUndo() override;

    // The document whose edits are recorded; another one (or none) empties
    // the list. The document must outlive its list or be replaced first
    // (a diagram control that is destroyed first is noticed).
    TTreeDocument *Tree() const;
    void SetTree(TTreeDocument *tree);
    // The window whose modified mark follows taking back and making again
    // (back at the saved state it is unmodified); none by default.
    void SetHost(TEditorHost *host) { FHost = host; }

    // Records the state of an element as a step of its own (or, inside an
    // open step, as part of it) with that description: the change that
    // follows joins it, and taking it back puts the element back as it is
    // now.
    void Record(TComponent *element, const QString &description);
    // The newest step (the one Undo takes back); null when there is none.
    TTreeUndoItem *Last();
    // Takes the newest step back; nothing when there is none.
    void Undo();
    // Makes the newest step taken back again; nothing when there is none.
    void Redo();
    bool CanUndo();
    bool CanRedo() const;
    // Steps that can be taken back, and made again.
    int Count();
    int RedoCount() const;
    // The description of the step Redo would make again.
    QString RedoDescription() const;
    // Forgets every step.
    void Clear();

    // At most this many steps are kept (0: no limit); the oldest go first.
    // A list holding steps takes a new limit when it is next emptied.
    int Limit() const;
    void SetLimit(int limit);

    // The document as saved: marks the current state clean; taking back
    // or making again into that state makes IsClean true again.
    void SetClean();
    bool IsClean() const;

    // Menu items for the Edit menu, with their shortcuts: "Undo" + " " +
    // the newest step's description (just "Undo", disabled, when there is
    // none), Ctrl+Z and Alt+Backspace; "Redo" likewise, Ctrl+Y and
    // Ctrl+Shift+Z. They follow the list; UpdateActions refreshes their
    // texts (after another language was chosen, say).
    QAction *CreateUndoAction(QObject *parent);
    QAction *CreateRedoAction(QObject *parent);
    void UpdateActions();

    // The steps' total storage in bytes (an estimate).
    size_t MemoryUsage() const;

    // TEditorPart
    void DocumentReplaced(TTree *tree) override;

    // TTreeChangeListener
    void TreeStepBegin(TTreeDocument *tree, const QString &description) override;
    void TreeStepEnd(TTreeDocument *tree) override;
    void TreeChanging(TTreeDocument *tree, const TTreeChange &change) override;
    void TreeChanged(TTreeDocument *tree, const TTreeChange &change) override;

signals:
    // The list changed: a step was recorded, taken back, made again, or the
    // list was emptied.
    void StepsChanged();
    void CleanChanged(bool clean);

private:
    friend class TTreeUndoItem;
    bool Hears(const TTreeDocument *tree) const;
    void Apply(TTreeUndoItem *item, bool redo);
    TTreeUndoItem &Current(TTreeChangeKind kind);
    void Close();
    void Commit();
    void CommitIfLone();
    void Forget();
    TStateEntry *OpenState(TComponent *element);
    bool TreeAlive() const;

    TTreeDocument *FTree = nullptr;
    QPointer<QObject> FTreeObject; // the document as a control, when it is one
    bool FTreeIsObject = false;
    TEditorHost *FHost = nullptr;
    QUndoStack FStack;
    int FPendingLimit = -1;
    bool FApplying = false;

    // The step being recorded, and which of its entries still grows.
    std::unique_ptr<TTreeUndoItem> FCurrent;
    bool FInStep = false;      // between TreeStepBegin and TreeStepEnd
    bool FRecorded = false;    // the current step was begun by Record
    TStateEntry *FOpenState = nullptr;
    const TComponent *FOpenStateElement = nullptr;
    TMoveBlock *FOpenMoves = nullptr;
    std::unordered_map<const void *, int> FMoveIndex[2]; // per WithChildren
    TSetEntry *FOpenRemoval = nullptr;
    int FRemovalShapes = -1;
    int FRemovalConnections = -1;
    TPlaceEntry *FOpenPlace = nullptr;
    const TComponent *FOpenPlaceElement = nullptr;
    const void *FMovingNode = nullptr;
    uint8_t FMovingBits = 0;

    std::vector<QPointer<QAction>> FUndoActions;
    std::vector<QPointer<QAction>> FRedoActions;
};
