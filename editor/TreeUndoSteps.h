#pragma once
// What an undo step keeps of the edits it takes back: small records built
// from the document's change notices, each naming elements by name (or, for
// an element without one, by its position in the diagram's lists), never by
// pointer, so a step stays harmless whatever happened to the elements since.
// Steps are applied strictly in order, so the diagram holds, whenever a
// step is applied, exactly the state the step was recorded against.

#include "model/Arbolix.h"

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

// How a step names an element.
struct TElementRef
{
    enum TKind : uint8_t { erNone, erDiagram, erNode, erConnection, erAttachment };

    QString Name;   // shares the element's own name
    int Index = -1; // without a name: the place in Shapes or Connections; an
                    // attachment's place among the diagram's attachments
    TKind Kind = erNone;

    static TElementRef Of(const TTreeDocument &tree, const TComponent *element);
    bool IsNone() const { return Kind == erNone; }
    // The element in the diagram now; null when it is not there.
    TComponent *Resolve(TTreeDocument &tree) const;
    TTreeNodeShape *Node(TTreeDocument &tree) const;
};

// What an element holds as a file stores it (its record), for a node with
// children also the visibility of its subtree, which its expanded state
// decides; for the diagram itself its published settings. Putting it back
// makes the element write the same record again. Of an attachment (the
// animation player) the whole state it keeps.
struct TElementState
{
    QByteArray Record;
    std::vector<bool> SubtreeVisible;
    // A node's edges as they are (a file holds only the fixed ones).
    TRect Edges;
    // The diagram's settings: published path and value.
    std::vector<std::pair<QString, QVariant>> Settings;
    // The roots' cross boxes, which a diagram-wide setting changes.
    std::vector<uint8_t> RootCross;
    // A connection's ends, and its place among its start's connections.
    TElementRef From;
    TElementRef To;
    int FromIndex = -1;

    static TElementState Capture(TTreeDocument &tree, TComponent &element);
    void Apply(TTreeDocument &tree, TComponent &element) const;
};

// Nodes (each with its subtree) and connections that are freed or made,
// with what it takes to make them again where they were.
class TElementSet
{
public:
    // The node with its subtree and every connection that starts or ends in
    // it, as one top of the set; what the set holds already is not taken
    // twice.
    void AddSubtree(TTreeDocument &tree, TTreeNodeShape *node);
    void AddConnection(TTreeDocument &tree, TTreeConnection *connection, bool top = true);
    // Ends capturing: the pointers are dropped, the references to elements
    // outside the set are named as they will be found when the set is gone.
    void Seal(TTreeDocument &tree);
    bool IsEmpty() const { return FNodes.empty() && FConnections.empty(); }
    bool Holds(const TComponent *element) const { return FCapturing.count(element) > 0; }

    // Makes every element of the set again.
    void Restore(TTreeDocument &tree) const;
    // Frees the tops of the set (with their subtrees and connections).
    void Remove(TTreeDocument &tree) const;

    size_t MemoryUsage() const;

private:
    // An end or parent: an element of the set (Entry) or outside it (Ref).
    struct TLink
    {
        TElementRef Ref;
        int Entry = -1;
        const void *Key = nullptr; // while capturing: the element itself
    };
    struct TNodeEntry
    {
        TLink Parent;
        int BrotherIndex = -1;
        int ShapeIndex = -1;
        bool Visible = true;
        TRect Edges;
    };
    struct TConnectionEntry
    {
        TLink From;
        TLink To;
        int Index = -1;
        int FromIndex = -1;
    };
    TLink LinkTo(TTreeDocument &tree, const TTreeNodeShape *node) const;

    std::vector<TNodeEntry> FNodes;
    std::vector<TConnectionEntry> FConnections;
    QByteArray FNodeRecords;       // the nodes' records in entry order
    QByteArray FConnectionRecords; // the connections' records in entry order
    std::vector<TElementRef> FTops;
    // While capturing: the set's elements (compared, never used: Seal may
    // come after they were freed) and their entries (-1 for connections).
    std::unordered_map<const void *, int> FCapturing;
};

// One edit of a step.
class TUndoEntry
{
public:
    virtual ~TUndoEntry() = default;
    virtual void Undo(TTreeDocument &tree) = 0;
    virtual void Redo(TTreeDocument &tree) = 0;
    virtual size_t MemoryUsage() const = 0;
};

// An element from one state to another (properties, text, size, points,
// expanding).
class TStateEntry : public TUndoEntry
{
public:
    TElementRef Element;      // as named before the change
    TElementRef ElementAfter; // and after it (a change may rename it)
    TElementState Before;
    TElementState After;
    bool HasAfter = false;

    void Undo(TTreeDocument &tree) override;
    void Redo(TTreeDocument &tree) override;
    size_t MemoryUsage() const override;
};

// Moves of nodes, each node's moves within the block summed up.
class TMoveBlock : public TUndoEntry
{
public:
    struct TMove
    {
        TElementRef Node;
        int DX = 0;
        int DY = 0;
        bool WithChildren = false;
        uint8_t AutoBefore = 0; // TMoveBlock::AutoBits
        uint8_t AutoAfter = 0;
    };
    std::vector<TMove> Moves;

    // The node's automatic-position flags as bits (own object, left, top).
    static uint8_t AutoBits(const TTreeNodeShape *node);

    void Undo(TTreeDocument &tree) override;
    void Redo(TTreeDocument &tree) override;
    size_t MemoryUsage() const override;
};

// Elements made (undo frees them) or freed (undo makes them again).
class TSetEntry : public TUndoEntry
{
public:
    TElementSet Set;
    bool Added = false;

    void Undo(TTreeDocument &tree) override;
    void Redo(TTreeDocument &tree) override;
    size_t MemoryUsage() const override;
};

// A node's place: its parent and its place among its brothers and in
// Shapes; with the connections from the old parent that re-parenting freed.
class TPlaceEntry : public TUndoEntry
{
public:
    struct TPlace
    {
        TElementRef Parent;
        int BrotherIndex = -1;
        int ShapeIndex = -1;
        bool Visible = true;
    };
    TElementRef Node;
    TPlace Before;
    TPlace After;
    TElementSet Freed;

    static TPlace Of(const TTreeDocument &tree, const TTreeNodeShape *node);

    void Undo(TTreeDocument &tree) override;
    void Redo(TTreeDocument &tree) override;
    size_t MemoryUsage() const override;

private:
    // Re-parenting as the edit did frees the connections from the old
    // parent; taking it back keeps every connection.
    static void Put(TTreeDocument &tree, const TPlace &place, TTreeNodeShape *node, bool asEdited);
};
