#pragma once
// Change notices: every edit of a diagram reaches it through the diagram's
// edit operations (TTreeDocument::DeleteShape, MoveShape, EditElement, ...),
// and each operation reports one notice naming the element and what
// changed. Listeners hear a notice twice: TreeChanging before the change
// (the element still as it was) and TreeChanged after it. Creation is heard
// only after, removal only before.
//
// The notices between TreeStepBegin and TreeStepEnd form one user action (a
// drag, a dialog's OK, a paste); a notice outside any step is a step of its
// own. The program's parts listen here: the main window marks the document
// modified, undo records the steps, the node outline follows the hierarchy.
//
// No notices are sent while a file is read into the diagram, while it is
// cleared, or while notices are suspended (TTreeQuietChanges): these are not
// edits. Clearing and reading are bracketed by TreeReplacing and
// TreeReplaced instead, so that a listener holding elements (a view of the
// hierarchy) can let go of them first and start afresh afterwards.

#include <QByteArray>
#include <QString>

class TComponent;
class TTreeDocument;

enum TTreeChangeKind {
    tckAdded,     // after: a node (with the connection from its parent) or a connection was made
    tckRemoving,  // before: a node with its subtree and connections, or a connection, is about to go
    tckMoved,     // a node moved by DX, DY (its subtree along when WithChildren)
    tckResized,   // a node's edges moved by a handle
    tckProperty,  // a published property (Property names it; empty: several)
    tckText,      // an element's text lines
    tckParent,    // a node got another parent (or became a root)
    tckOrder,     // a node's place among its brothers and in the drawing order
    tckExpanded,  // a node was expanded or collapsed
    tckPoints,    // a connection's points
    tckSelection, // the selection changed; not an edit of the document
};

struct TTreeChange
{
    TTreeChangeKind Kind = tckProperty;
    // The node or connection; the diagram itself for its own settings.
    TComponent *Element = nullptr;
    // The property's published path for tckProperty ("Border", "Font.Color",
    // "Zoom"); empty when several changed at once.
    QString Property;
    // tckMoved: the movement (in TreeChanged, the one that happened after
    // OnMovingShape had its say; zero when the move was cancelled).
    int DX = 0;
    int DY = 0;
    bool WithChildren = false;

    // Whether the notice changes what a file holds (the selection does not).
    bool IsEdit() const { return Kind != tckSelection; }
};

class TTreeChangeListener
{
public:
    virtual ~TTreeChangeListener() = default;
    virtual void TreeStepBegin(TTreeDocument *tree, const QString &description) {}
    virtual void TreeStepEnd(TTreeDocument *tree) {}
    virtual void TreeChanging(TTreeDocument *tree, const TTreeChange &change) {}
    virtual void TreeChanged(TTreeDocument *tree, const TTreeChange &change) {}
    // After a tckRemoving: the element is gone now (compare the pointer,
    // never follow it).
    virtual void TreeRemoved(TTreeDocument *tree, const TComponent *element) {}
    // The content is about to change without notices (the diagram is being
    // cleared, or a file is being read into it): whatever refers to its
    // elements lets go of them now, while they still exist.
    virtual void TreeReplacing(TTreeDocument *tree) {}
    // That change is over: the diagram holds elements nobody heard of.
    virtual void TreeReplaced(TTreeDocument *tree) {}
    // The diagram itself goes; listeners must not touch it afterwards.
    virtual void TreeDestroying(TTreeDocument *tree) {}
};

// A component that belongs with a diagram without being one of its
// elements (its animation player, which a file keeps after the diagram).
// Its edits reach the diagram as notices naming it or one of its parts;
// undo keeps its whole state as a record and puts that back through it.
class TTreeAttachment
{
public:
    virtual ~TTreeAttachment() = default;
    virtual TComponent *AttachedComponent() = 0;
    // Whether a component is the attachment itself or one of its parts.
    virtual bool HoldsPart(const TComponent *component) const = 0;
    // Everything it holds, and that put back; parts may be made anew.
    virtual QByteArray SaveState() const = 0;
    virtual void RestoreState(const QByteArray &state) = 0;
};

// One user action while it lives (TTreeDocument::BeginStep / EndStep).
class TTreeStep
{
public:
    TTreeStep(TTreeDocument *tree, const QString &description);
    ~TTreeStep();
    TTreeStep(const TTreeStep &) = delete;
    TTreeStep &operator=(const TTreeStep &) = delete;

private:
    TTreeDocument *FTree;
};

// No notices while it lives (TTreeDocument::SuspendChanges / ResumeChanges).
class TTreeQuietChanges
{
public:
    explicit TTreeQuietChanges(TTreeDocument *tree);
    ~TTreeQuietChanges();
    TTreeQuietChanges(const TTreeQuietChanges &) = delete;
    TTreeQuietChanges &operator=(const TTreeQuietChanges &) = delete;

private:
    TTreeDocument *FTree;
};
