#pragma once
// The component stream reader.
//
//   TReader reader(file);
//   reader.ReadSignature();            // "Invalid stream format" when wrong
//   reader.ReadRootComponent(diagram); // into an existing root
//   // or: std::unique_ptr<TComponent> c = reader.ReadRootComponent();
//
// Reading a root record: the root gets the stored name (when there is one)
// and its properties; each child record creates a component of the named
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
// Files are untrusted: every length is checked against the bytes that
// remain before anything is allocated (on devices without a known size,
// data is read in bounded chunks), and nesting is capped.

#include "core/Filer.h"
#include "core/StreamFormat.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
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

class TReader : public TFiler
{
public:
    explicit TReader(QIODevice &stream, int bufferSize = 4096);
    // Leaves a seekable device at Position(), right after what was read.
    ~TReader() override;

    // Reads the 4 signature bytes and nothing else; EReadError "Invalid
    // stream format" when they are not "TPF0" ("Stream read error" when the
    // stream ends inside a signature that matched so far).
    void ReadSignature();
    // One object record (after the signature) into an existing root; the
    // stored class name is not checked.
    void ReadRootComponent(TComponent &root);
    // One object record as a new root of the stored class, without owner.
    std::unique_ptr<TComponent> ReadRootComponent();

    // The owner of the child components read; the root when none is set.
    TComponent *Owner() const { return FOwner; }
    void SetOwner(TComponent *owner) { FOwner = owner; }

    // The stream position of the next unread byte: the device position
    // minus what the reader holds in its buffer.
    qint64 Position() const;
    // True when no byte is left.
    bool AtEnd();

    // The error hook (see above); the default declines.
    virtual bool Error(const QString &message);
    // The top-level component of a name, for references: the global lookups,
    // else the reader's owner or root when they have that name.
    virtual TComponent *FindGlobalComponent(const QString &name);

    // Values, for the reader procedures of extra properties. A value of
    // another kind throws EPropertyError "Invalid property value".
    TValueTag NextValue();
    TValueTag ReadValue();
    bool EndOfList();
    void ReadListBegin();
    void ReadListEnd();
    int32_t ReadInteger();
    int64_t ReadInt64();
    bool ReadBoolean();
    double ReadFloat();          // extended, single, currency, date or integer
    QString ReadString();        // string, long, wide or UTF-8 string
    QString ReadIdent();         // identifier (also True, False and nil)
    QByteArray ReadBinary();
    QStringList ReadSet();
    void SkipValue();
    // A short string without tag (names).
    QString ReadStr();

    void DefineProperty(const QString &name, const TReaderProc &reader, const TWriterProc &writer,
                        bool hasData) override;

private:
    struct TFixup
    {
        TComponent *Instance; // the component whose record held the reference
        TPersistent *Object;  // the object holding the property
        const TPropInfo *Prop;
        QString Ident;
        QString Path;
    };
    struct TScalar;

    // Records.
    void ReadPrefix();
    void ReadRootBody(TComponent &root, bool keepOnFailure);
    void ReadChildren(TComponent &parent, int depth);
    void ReadChild(TComponent &parent, int depth);
    void Discard(size_t loadedMark, size_t fixupMark);
    void EndLoading(bool failed);
    void ResolveFixup(const TFixup &fixup, bool failed);
    TComponent *ResolveReference(const QString &ident);

    // Properties.
    void ReadProperties(TComponent &instance, TPersistent &object, int depth);
    void ReadProperty(TComponent &instance, TPersistent &object, const QString &path, int depth);
    TPersistent *ResolveSubObject(TPersistent &object, const QList<QStringView> &parts);
    TReaderProc FindDefined(TPersistent &object, const QString &name);
    void ReadPublished(TComponent &instance, TPersistent &object, const TPropInfo &prop, const QString &path,
                       int depth);
    bool ApplyScalar(TComponent &instance, TPersistent &object, const TPropInfo &prop, const QString &path,
                     TScalar &value);
    void ReadDefined(TComponent &instance, const TReaderProc &proc, const QString &path, int depth);
    void ReadCollection(TComponent &instance, TCollection &collection, int depth);
    void ReadItemStart();
    void PropertyError(const QString &message, const TComponent &instance, const QString &path);

    // Values.
    TValueTag ReadTag();
    void ReadScalar(TValueTag tag, TScalar &value, int depth);
    int64_t ReadIntPayload(TValueTag tag);
    double ReadFloatPayload(TValueTag tag);
    QString ReadTextPayload(TValueTag tag);
    QStringList ReadSetPayload();
    void SkipPayload(TValueTag tag, int depth);

    // Bytes.
    bool TryFill();
    void Fill();
    uint8_t PeekByte();
    uint8_t ReadByte();
    void ReadRaw(void *data, qsizetype size);
    void SkipRaw(uint64_t size);
    QByteArray ReadBytes(uint64_t size);
    template <class T>
    T ReadLE();
    qint64 Remaining() const; // -1 when the device cannot tell
    void CheckAvailable(uint64_t size);
    [[noreturn]] void Truncated() const;

    QIODevice &FStream;
    QByteArray FBuffer;
    const char *FData = nullptr; // the bytes being read: the buffer or a captured value
    qsizetype FPos = 0;
    qsizetype FEnd = 0;
    qint64 FStart = 0;  // device position when the reader was made
    qint64 FFilled = 0; // bytes taken from the device
    int FFills = 0;

    // Extra properties: a value is captured whole, then read from memory by
    // the property's procedure, so a procedure that fails half-way leaves
    // the stream in step.
    QByteArray *FCapture = nullptr;
    qsizetype FCaptureStart = 0;
    bool FInValue = false;
    qint64 FValuePosition = 0; // Position() while a captured value is read

    // Looking up an extra property through DefineProperties.
    bool FSeeking = false;
    QString FSought;
    TReaderProc FFound;

    TComponent *FOwner = nullptr;
    std::vector<TComponent *> FLoaded; // read components in reading order
    std::vector<TFixup> FFixups;
};
