#pragma once
// The database-bound diagram: a diagram that rebuilds its nodes from the
// records of datasets (TreeDataSet.h). Three ways of forming a hierarchy:
//   - a self-referencing table: each record has a code (CodeField) and the
//     code of its parent (ParentField);
//   - a table grouped by fields (ParentField without CodeField, names
//     separated by ";"): records under group nodes made from the values;
//   - a master with a detail dataset (Detail, DetailFields): each master
//     record's node holds the nodes of its detail records.
// The layout items say, per dataset, which fields form the node's text and
// how (one line, several lines, a grid of cells).

#include "core/Collection.h"
#include "dbtree/TreeDataSet.h"
#include "view/Arbolix.h"

#include <functional>
#include <memory>
#include <unordered_map>

class TCustomDBTree;
class TGridShape;

DX_ENUM(TDBLayoutDisplayMode, ldSingle, ldMultiLine, ldGrid)

// The field separator of field lists ("Name;City").
constexpr QChar kFieldSeparator = QLatin1Char(';');
// An empty list has no items; otherwise the items are taken verbatim.
QStringList SplitFieldList(const QString &list);

class TDBLayout : public TCollectionItem
{
    DX_OBJECT(TDBLayout)
public:
    TDBLayout();
    ~TDBLayout() override;

    TCustomDBTree *Tree() const;

    TTreeDataSet *DataSet() const { return FDataSet; }
    void SetDataSet(TTreeDataSet *value);
    TDBLayoutDisplayMode DisplayMode() const { return FDisplayMode; }
    void SetDisplayMode(TDBLayoutDisplayMode value);
    const QString &Fields() const { return FFields; }
    void SetFields(const QString &value);
    const QString &CodeField() const { return FCodeField; }
    void SetCodeField(const QString &value);
    const QString &ParentField() const { return FParentField; }
    void SetParentField(const QString &value);

    // The formatting every record node takes, and the optional header node;
    // created on first use (not sized by text, no border, transparent),
    // freed by setting none. Stored as "IFormat" and "IHeaderFormat".
    TTreeNodeShape *Format();
    TTreeNodeShape *PeekFormat() const { return FFormat.get(); }
    void SetFormat(const TTreeNodeShape *value);
    TTreeNodeShape *HeaderFormat();
    TTreeNodeShape *PeekHeaderFormat() const { return FHeaderFormat.get(); }
    void SetHeaderFormat(const TTreeNodeShape *value);

    void Assign(const TPersistent *source) override;
    void DefineProperties(TFiler &filer) override;

    // ---- Building
    // Parses the field lists against the open dataset: EDBTreeException for
    // a field the dataset lacks, for no text field, and for a code field
    // without parent field. Without an open dataset the lists are empty.
    void PrepareFields();
    int TextFieldCount() const { return static_cast<int>(FTextFields.size()); }
    int ParentFieldCount() const { return static_cast<int>(FParentFields.size()); }
    bool HasCodeField() const { return FCodeFieldIndex >= 0; }
    // Adds this dataset's records under `parent` (roots for none).
    void Fill(TTreeNodeShape *parent);
    // Gives `node` the current record's text (one line, lines, or cells).
    void SetNodeData(TTreeNodeShape *node);

    // A new format node: not sized by its text, no border, transparent.
    static std::unique_ptr<TTreeNodeShape> NewFormat();

private:
    static void ReadNode(std::unique_ptr<TTreeNodeShape> &node, const QByteArray &data);
    static void WriteNode(const TTreeNodeShape *node, QByteArray &data);
    TTreeNodeShape *AddRecordNode(TTreeNodeShape *parent);
    int IntField(int field) const;
    TTreeNodeShape *FindGroupNode(TTreeNodeShape *under, const QString &text) const;

    TTreeDataSet *FDataSet = nullptr;
    TDBLayoutDisplayMode FDisplayMode = ldSingle;
    QString FFields;
    QString FCodeField;
    QString FParentField;
    std::unique_ptr<TTreeNodeShape> FFormat;
    std::unique_ptr<TTreeNodeShape> FHeaderFormat;
    std::vector<int> FTextFields;
    std::vector<int> FParentFields;
    int FCodeFieldIndex = -1;
};

class TDBTreeLayout : public TCollection
{
    DX_OBJECT(TDBTreeLayout)
public:
    explicit TDBTreeLayout(TCustomDBTree *tree = nullptr);
    TCustomDBTree *Tree() const { return FTree; }
    TDBLayout *Items(int index) const { return static_cast<TDBLayout *>(TCollection::Items(index)); }
    TDBLayout *operator[](int index) const { return Items(index); }
    TDBLayout *Add() { return static_cast<TDBLayout *>(TCollection::Add()); }

private:
    TCustomDBTree *FTree;
};

// Told of a fill's progress: records done so far and the number of master
// records (0 when not known); answering false cancels the fill.
using TDBTreeProgress = std::function<bool(int done, int total)>;

class TCustomDBTree : public TTree
{
    DX_OBJECT(TCustomDBTree)
public:
    explicit TCustomDBTree(TComponent *owner = nullptr, QWidget *parent = nullptr);
    ~TCustomDBTree() override;

    TDBTreeLayout *Layout() const { return FLayout.get(); }
    void SetLayout(const TDBTreeLayout *value);

    // Shortcuts to layout item 0 (the master) and item 1 (the detail).
    TTreeDataSet *DataSet() const;
    void SetDataSet(TTreeDataSet *value);
    QString TextFields() const;
    void SetTextFields(const QString &value);
    QString CodeField() const;
    void SetCodeField(const QString &value);
    QString ParentField() const;
    void SetParentField(const QString &value);
    bool MultiLineText() const;
    void SetMultiLineText(bool value);
    TTreeDataSet *Detail() const;
    void SetDetail(TTreeDataSet *value);
    QString DetailFields() const;
    void SetDetailFields(const QString &value);

    // Builds the diagram anew from the layout: one change of the diagram
    // for the document, which replaces its content as reading a file does
    // (so undo starts afresh). EDBTreeException stops it with the
    // diagram as far as it was built. The nodes built are owned and named
    // by the diagram's owner at the end (when it has one), so that a file
    // keeps them. `progress` (the program's own progress window) is told
    // of each master record, as OnProgress is, and may cancel too.
    void Refresh(const TDBTreeProgress &progress = {});
    // Told of each master record; may cancel (the diagram then stays as
    // far as it was built and Cancelled() says so).
    TDBTreeProgress OnProgress;
    bool Cancelled() const { return FCancelled; }

    // ---- Used while filling
    // The first node, roots first and each subtree depth-first, whose Tag
    // is `tag`; none for tags of 0 or below.
    TTreeNodeShape *NodeWithTag(int tag) const;
    // A record node got its code (Tag): NodeWithTag finds it from now on.
    void NoteNewNode(TTreeNodeShape *node);
    // A layout item's dataset became another; the diagram keeps watching
    // the datasets its items refer to.
    void WatchDataSet(TTreeDataSet *dataSet);
    // Counts a record and asks OnProgress; false when cancelled.
    bool RecordDone();

protected:
    void Notification(TComponent *component, TOperation operation) override;

private:
    TDBLayout *EnsureItem(int index);
    void FillAll();

    std::unique_ptr<TDBTreeLayout> FLayout;
    std::unordered_multimap<int, TTreeNodeShape *> FTagIndex;
    bool FFilling = false;
    bool FCancelled = false;
    TDBTreeProgress FProgress;
    int FDone = 0;
    int FTotal = 0;
};

class TDBTree : public TCustomDBTree
{
    DX_OBJECT(TDBTree)
public:
    explicit TDBTree(TComponent *owner = nullptr, QWidget *parent = nullptr) : TCustomDBTree(owner, parent) {}
};

// Registers the database tree classes for files. Calling it again does
// nothing.
void RegisterDBTreeClasses();
