#pragma once
// The component stream reader.
//
//   TReader reader(file);
//   reader.ReadSignature();            // "Invalid stream format" when wrong
//   reader.ReadRootComponent(diagram); // into an existing root
//   // or: std::unique_ptr<TComponent> c = reader.ReadRootComponent();
//
// Reading a root record: the root gets the stored name (a root written
// without one keeps its own) and its properties; each child record creates a component of the named
// class through the class registry ("Class %s not found"), owned by Owner()
// (the root when no owner is set) and named as stored ("A component named
// %s already exists" when the owner has one), reads its properties while
// loading and its own children, then joins its parent (AttachToParent).
// Properties are applied by dotted path through sub-objects and extra
// properties (DefineProperties). References are collected in reading order
// and resolved once the whole root has been read: first every read
// component's Loaded runs, then the references are set; a reference that
// cannot be resolved (or names a component of the wrong class) stays none.
//
// Recoverable problems — a property that does not exist, a value of the
// wrong kind, an unknown identifier or set member, an enumeration or number
// out of range, a value a setter refuses — are offered to Error(): true
// skips the property and reading goes on, false stops with EReadError
// "Error reading <object>.<property>: <problem>". A truncated stream gives
// EReadError "Stream read error"; a byte sequence that cannot be a stream
// (unknown value tag, nesting deeper than kMaxStreamNesting) "Invalid
// stream format".
//
// When reading stops, the components read completely so far stay (Loaded
// and references as above), while the record being read is destroyed with
// what it had created; a root created by the reader is destroyed with all
// it had created.
//
// Files are untrusted: the value layer (TValueReader) checks every length
// before it allocates, and nesting of child records, lists, collections and
// sub-object paths is capped.

#include "core/Filer.h"
#include "core/ValueReader.h"

#include <QString>
#include <QVarLengthArray>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class TCollection;
class TComponent;
class TPersistent;
class TPropInfo;

// Top-level component lookups by name, asked in the order they were added
// when a reference "Owner.Name" names its owner. The program adds one for
// its windows; a loader may add a fallback for the duration of a load.
using TGlobalComponentLookup = std::function<TComponent *(const QString &name)>;
int AddGlobalComponentLookup(TGlobalComponentLookup lookup); // a handle for removal
void RemoveGlobalComponentLookup(int handle);
TComponent *FindGlobalComponent(const QString &name);

// A lookup added for the lifetime of this object (a load, say), removed
// however that ends.
class TScopedGlobalComponentLookup
{
public:
    explicit TScopedGlobalComponentLookup(TGlobalComponentLookup lookup)
        : FHandle(AddGlobalComponentLookup(std::move(lookup)))
    {
    }
    ~TScopedGlobalComponentLookup() { RemoveGlobalComponentLookup(FHandle); }
    TScopedGlobalComponentLookup(const TScopedGlobalComponentLookup &) = delete;
    TScopedGlobalComponentLookup &operator=(const TScopedGlobalComponentLookup &) = delete;

private:
    int FHandle;
};

class TReader : public TFiler, public TValueReader
{
public:
    explicit TReader(QIODevice &stream, int bufferSize = 4096);
    ~TReader() override;

    // One object record (after ReadSignature) into an existing root; the
    // stored class name is not checked.
    void ReadRootComponent(TComponent &root);
    // One object record as a new root of the stored class, without owner.
    std::unique_ptr<TComponent> ReadRootComponent();

    // Room for the records of `count` components and their references, so
    // reading very many does not grow the reader's lists step by step.
    void ReserveRecords(int count);

    // The owner of the child components read; the root when none is set.
    TComponent *Owner() const { return FOwner; }
    void SetOwner(TComponent *owner) { FOwner = owner; }

    // The error hook (see above); the default declines.
    virtual bool Error(const QString &message);
    // The top-level component of a name, for references: the global lookups,
    // else the reader's owner or root when they have that name.
    virtual TComponent *FindGlobalComponent(const QString &name);

    void DefineProperty(const QString &name, const TReaderProc &reader, const TWriterProc &writer,
                        bool hasData) override;

protected:
    // The component a stored reference names ("Name", "Owner",
    // "Owner.Name", "Name.Owner"), or null. A reader that admits only some
    // components (those of the diagram it loads, say) narrows this.
    virtual TComponent *ResolveReference(const QString &ident);

private:
    struct TFixup
    {
        TComponent *Instance; // the component whose record held the reference
        TPersistent *Object;  // the object holding the property
        const TPropInfo *Prop;
        QString Ident;
        QString Path;
    };

    // Records.
    void ReadPrefix();
    void ReadRootBody(TComponent &root, const QString &name, bool keepOnFailure);
    void ReadChildren(TComponent &parent, int depth);
    void ReadChild(TComponent &parent, int depth);
    void Discard(size_t loadedMark, size_t fixupMark);
    void EndLoading(bool failed);
    void ResolveFixup(const TFixup &fixup, bool failed);

    // Properties.
    void ReadProperties(TComponent &instance, TPersistent &object, int depth);
    void ReadProperty(TComponent &instance, TPersistent &object, const QString &path, int depth);
    using TPathParts = QVarLengthArray<QStringView, 4>;
    TPersistent *ResolveSubObject(TPersistent &object, const TPathParts &parts);
    TReaderProc FindDefined(TPersistent &object, const QString &name);
    void ReadPublished(TComponent &instance, TPersistent &object, const TPropInfo &prop, const QString &path,
                       int depth);
    bool ApplyScalar(TComponent &instance, TPersistent &object, const TPropInfo &prop, const QString &path,
                     TScalar &value);
    void ReadDefined(TComponent &instance, const TReaderProc &proc, const QString &path, int depth);
    void ReadCollection(TComponent &instance, TCollection &collection, int depth);
    void PropertyError(const QString &message, const TComponent &instance, const QString &path);

    // FindGlobalComponent, remembered while the references are resolved.
    TComponent *FindGlobalComponentOnce(QStringView name);
    void PrefetchReference(const QString &ident);
    bool FResolving = false;
    std::vector<std::pair<QString, TComponent *>> FGlobalsFound;

    // Looking up an extra property through DefineProperties.
    bool FSeeking = false;
    QString FSought;
    TReaderProc FFound;

    TComponent *FOwner = nullptr;
    std::vector<TComponent *> FLoaded; // read components in reading order
    std::vector<TFixup> FFixups;
};
