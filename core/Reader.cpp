#include "core/Reader.h"

#include "core/ClassRegistry.h"
#include "core/Collection.h"
#include "core/Colors.h"
#include "core/Component.h"
#include "core/CoreConst.h"
#include "core/Exceptions.h"
#include "core/ExtendedFloat.h"
#include "core/NameTables.h"
#include "core/Windows1252.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <exception>

// ---------------------------------------------------------------------------
// Global component lookups

namespace {

struct TLookupEntry
{
    int Handle;
    TGlobalComponentLookup Lookup;
};

std::vector<TLookupEntry> &Lookups()
{
    static std::vector<TLookupEntry> lookups;
    return lookups;
}

[[noreturn]] void InvalidValue()
{
    throw EPropertyError(SInvalidPropertyValue);
}

[[noreturn]] void InvalidFormat()
{
    throw EReadError(SInvalidImage);
}

bool IsIntTag(TValueTag tag)
{
    return tag == TValueTag::Int8 || tag == TValueTag::Int16 || tag == TValueTag::Int32 || tag == TValueTag::Int64;
}

bool IsFloatTag(TValueTag tag)
{
    return tag == TValueTag::Extended || tag == TValueTag::Single || tag == TValueTag::Currency ||
           tag == TValueTag::Date;
}

bool IsTextTag(TValueTag tag)
{
    return tag == TValueTag::String || tag == TValueTag::LongString || tag == TValueTag::WideString ||
           tag == TValueTag::Utf8String;
}

bool SameText(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

int AddGlobalComponentLookup(TGlobalComponentLookup lookup)
{
    static int next = 0;
    Lookups().push_back({++next, std::move(lookup)});
    return next;
}

void RemoveGlobalComponentLookup(int handle)
{
    auto &all = Lookups();
    all.erase(std::remove_if(all.begin(), all.end(), [handle](const TLookupEntry &e) { return e.Handle == handle; }),
              all.end());
}

TComponent *FindGlobalComponent(const QString &name)
{
    if (name.isEmpty())
        return nullptr;
    // A copy: a lookup may add or remove lookups.
    const std::vector<TLookupEntry> all = Lookups();
    for (const TLookupEntry &e : all)
        if (TComponent *c = e.Lookup(name))
            return c;
    return nullptr;
}

// ---------------------------------------------------------------------------
// Construction and position

// A value read without knowing yet which property type wants it.
struct TReader::TScalar
{
    enum TKind { kInt, kFloat, kText, kIdent, kBool, kNil, kSet, kOther } Kind = kOther;
    int64_t Int = 0;
    double Float = 0.0;
    QString Text;
    QStringList Members;
};

TReader::TReader(QIODevice &stream, int bufferSize)
    : FStream(stream), FBuffer(bufferSize > 0 ? bufferSize : 4096, Qt::Uninitialized)
{
    FData = FBuffer.constData();
    FStart = stream.isSequential() ? 0 : stream.pos();
}

TReader::~TReader()
{
    if (!FStream.isSequential() && FStream.isOpen())
        FStream.seek(Position());
}

qint64 TReader::Position() const
{
    if (FInValue)
        return FValuePosition;
    return FStart + FFilled - (FEnd - FPos);
}

bool TReader::AtEnd()
{
    if (FPos < FEnd)
        return false;
    return FInValue || !TryFill();
}

bool TReader::Error(const QString &)
{
    return false;
}

// ---------------------------------------------------------------------------
// Bytes

bool TReader::TryFill()
{
    if (FInValue)
        return false;
    if (FCapture) {
        FCapture->append(FData + FCaptureStart, FEnd - FCaptureStart);
        FCaptureStart = 0;
    }
    const qint64 got = FStream.read(FBuffer.data(), FBuffer.size());
    FData = FBuffer.constData();
    FPos = 0;
    FEnd = got > 0 ? got : 0;
    FFilled += FEnd;
    ++FFills;
    return FEnd > 0;
}

void TReader::Fill()
{
    if (!TryFill())
        Truncated();
}

void TReader::Truncated() const
{
    // Inside a captured value, running out means the value has not the
    // shape its reader wants.
    if (FInValue)
        InvalidValue();
    throw EReadError(SReadError);
}

uint8_t TReader::PeekByte()
{
    if (FPos == FEnd)
        Fill();
    return static_cast<uint8_t>(FData[FPos]);
}

uint8_t TReader::ReadByte()
{
    if (FPos == FEnd)
        Fill();
    return static_cast<uint8_t>(FData[FPos++]);
}

void TReader::ReadRaw(void *data, qsizetype size)
{
    char *out = static_cast<char *>(data);
    while (size > 0) {
        if (FPos == FEnd)
            Fill();
        const qsizetype take = std::min(size, FEnd - FPos);
        std::memcpy(out, FData + FPos, take);
        FPos += take;
        out += take;
        size -= take;
    }
}

qint64 TReader::Remaining() const
{
    const qint64 buffered = FEnd - FPos;
    if (FInValue)
        return buffered;
    if (FStream.isSequential())
        return -1;
    return buffered + std::max<qint64>(0, FStream.size() - FStream.pos());
}

void TReader::CheckAvailable(uint64_t size)
{
    const qint64 remaining = Remaining();
    if (remaining >= 0 && size > static_cast<uint64_t>(remaining))
        Truncated();
}

void TReader::SkipRaw(uint64_t size)
{
    CheckAvailable(size);
    while (size > 0) {
        if (FPos == FEnd)
            Fill();
        const qsizetype take = static_cast<qsizetype>(std::min<uint64_t>(size, FEnd - FPos));
        FPos += take;
        size -= take;
    }
}

QByteArray TReader::ReadBytes(uint64_t size)
{
    CheckAvailable(size);
    if (size > static_cast<uint64_t>(std::numeric_limits<qsizetype>::max() / 2))
        Truncated();
    QByteArray bytes;
    if (Remaining() >= 0) {
        bytes.resize(static_cast<qsizetype>(size));
        ReadRaw(bytes.data(), bytes.size());
        return bytes;
    }
    // Unknown size: grow with the data that really arrives.
    constexpr uint64_t kChunk = 64 * 1024;
    while (size > 0) {
        const qsizetype chunk = static_cast<qsizetype>(std::min(size, kChunk));
        const qsizetype old = bytes.size();
        bytes.resize(old + chunk);
        ReadRaw(bytes.data() + old, chunk);
        size -= chunk;
    }
    return bytes;
}

template <class T>
T TReader::ReadLE()
{
    char bytes[sizeof(T)];
    ReadRaw(bytes, sizeof bytes);
    return qFromLittleEndian<T>(bytes);
}

// ---------------------------------------------------------------------------
// Values

TValueTag TReader::ReadTag()
{
    const uint8_t b = ReadByte();
    if (b > kMaxValueTag)
        InvalidFormat();
    return static_cast<TValueTag>(b);
}

QString TReader::ReadStr()
{
    const uint8_t length = ReadByte();
    if (FEnd - FPos >= length) {
        const QString s = FromWindows1252(FData + FPos, length);
        FPos += length;
        return s;
    }
    char bytes[255];
    ReadRaw(bytes, length);
    return FromWindows1252(bytes, length);
}

int64_t TReader::ReadIntPayload(TValueTag tag)
{
    switch (tag) {
    case TValueTag::Int8: return ReadLE<int8_t>();
    case TValueTag::Int16: return ReadLE<int16_t>();
    case TValueTag::Int32: return ReadLE<int32_t>();
    default: return ReadLE<int64_t>();
    }
}

double TReader::ReadFloatPayload(TValueTag tag)
{
    switch (tag) {
    case TValueTag::Extended: {
        uint8_t bytes[kExtendedSize];
        ReadRaw(bytes, sizeof bytes);
        return ExtendedToDouble(bytes);
    }
    case TValueTag::Single: {
        const uint32_t bits = ReadLE<uint32_t>();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
    case TValueTag::Currency:
        return static_cast<double>(ReadLE<int64_t>()) / 10000.0;
    default: {
        const uint64_t bits = ReadLE<uint64_t>();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    }
}

QString TReader::ReadTextPayload(TValueTag tag)
{
    switch (tag) {
    case TValueTag::String:
    case TValueTag::Ident:
        return ReadStr();
    case TValueTag::LongString:
        return FromWindows1252(ReadBytes(ReadLE<uint32_t>()));
    case TValueTag::Utf8String:
        return QString::fromUtf8(ReadBytes(ReadLE<uint32_t>()));
    default: { // wide string: UTF-16LE units
        const QByteArray bytes = ReadBytes(uint64_t(ReadLE<uint32_t>()) * 2);
        QString s(bytes.size() / 2, Qt::Uninitialized);
        QChar *out = s.data();
        for (qsizetype i = 0; i < s.size(); ++i)
            out[i] = QChar(qFromLittleEndian<uint16_t>(bytes.constData() + 2 * i));
        return s;
    }
    }
}

QStringList TReader::ReadSetPayload()
{
    QStringList members;
    for (;;) {
        QString m = ReadStr();
        if (m.isEmpty())
            return members;
        members << std::move(m);
    }
}

void TReader::ReadItemStart()
{
    TValueTag tag = ReadTag();
    if (IsIntTag(tag)) { // the item's order: not needed
        ReadIntPayload(tag);
        tag = ReadTag();
    }
    if (tag != TValueTag::List)
        InvalidFormat();
}

void TReader::SkipPayload(TValueTag tag, int depth)
{
    switch (tag) {
    case TValueTag::End:
    case TValueTag::BoolFalse:
    case TValueTag::BoolTrue:
    case TValueTag::Nil:
        return;
    case TValueTag::List:
        if (depth >= kMaxStreamNesting)
            InvalidFormat();
        while (!EndOfList())
            SkipPayload(ReadTag(), depth + 1);
        ReadByte();
        return;
    case TValueTag::Int8: SkipRaw(1); return;
    case TValueTag::Int16: SkipRaw(2); return;
    case TValueTag::Int32:
    case TValueTag::Single: SkipRaw(4); return;
    case TValueTag::Int64:
    case TValueTag::Currency:
    case TValueTag::Date: SkipRaw(8); return;
    case TValueTag::Extended: SkipRaw(kExtendedSize); return;
    case TValueTag::String:
    case TValueTag::Ident: SkipRaw(ReadByte()); return;
    case TValueTag::Binary:
    case TValueTag::LongString:
    case TValueTag::Utf8String: SkipRaw(ReadLE<uint32_t>()); return;
    case TValueTag::WideString: SkipRaw(uint64_t(ReadLE<uint32_t>()) * 2); return;
    case TValueTag::Set:
        while (const uint8_t length = ReadByte())
            SkipRaw(length);
        return;
    case TValueTag::Collection:
        if (depth >= kMaxStreamNesting)
            InvalidFormat();
        while (!EndOfList()) {
            ReadItemStart();
            while (!EndOfList()) {
                SkipRaw(ReadByte()); // property name
                SkipPayload(ReadTag(), depth + 1);
            }
            ReadByte();
        }
        ReadByte();
        return;
    }
}

void TReader::ReadScalar(TValueTag tag, TScalar &value, int depth)
{
    if (IsIntTag(tag)) {
        value.Kind = TScalar::kInt;
        value.Int = ReadIntPayload(tag);
    } else if (IsFloatTag(tag)) {
        value.Kind = TScalar::kFloat;
        value.Float = ReadFloatPayload(tag);
    } else if (IsTextTag(tag)) {
        value.Kind = TScalar::kText;
        value.Text = ReadTextPayload(tag);
    } else if (tag == TValueTag::Ident) {
        value.Kind = TScalar::kIdent;
        value.Text = ReadStr();
    } else if (tag == TValueTag::BoolFalse || tag == TValueTag::BoolTrue) {
        value.Kind = TScalar::kBool;
        value.Int = tag == TValueTag::BoolTrue;
    } else if (tag == TValueTag::Nil) {
        value.Kind = TScalar::kNil;
    } else if (tag == TValueTag::Set) {
        value.Kind = TScalar::kSet;
        value.Members = ReadSetPayload();
    } else {
        value.Kind = TScalar::kOther;
        SkipPayload(tag, depth);
    }
}

TValueTag TReader::NextValue()
{
    const uint8_t b = PeekByte();
    if (b > kMaxValueTag)
        InvalidFormat();
    return static_cast<TValueTag>(b);
}

TValueTag TReader::ReadValue()
{
    return ReadTag();
}

bool TReader::EndOfList()
{
    return PeekByte() == 0;
}

void TReader::ReadListBegin()
{
    if (ReadTag() != TValueTag::List)
        InvalidValue();
}

void TReader::ReadListEnd()
{
    if (ReadTag() != TValueTag::End)
        InvalidValue();
}

int64_t TReader::ReadInt64()
{
    const TValueTag tag = ReadTag();
    if (!IsIntTag(tag))
        InvalidValue();
    return ReadIntPayload(tag);
}

int32_t TReader::ReadInteger()
{
    const int64_t v = ReadInt64();
    if (v < INT32_MIN || v > INT32_MAX)
        InvalidValue();
    return static_cast<int32_t>(v);
}

bool TReader::ReadBoolean()
{
    const TValueTag tag = ReadTag();
    if (tag != TValueTag::BoolFalse && tag != TValueTag::BoolTrue)
        InvalidValue();
    return tag == TValueTag::BoolTrue;
}

double TReader::ReadFloat()
{
    const TValueTag tag = ReadTag();
    if (IsFloatTag(tag))
        return ReadFloatPayload(tag);
    if (IsIntTag(tag))
        return static_cast<double>(ReadIntPayload(tag));
    InvalidValue();
}

QString TReader::ReadString()
{
    const TValueTag tag = ReadTag();
    if (!IsTextTag(tag))
        InvalidValue();
    return ReadTextPayload(tag);
}

QString TReader::ReadIdent()
{
    switch (ReadTag()) {
    case TValueTag::Ident: return ReadStr();
    case TValueTag::BoolFalse: return QStringLiteral("False");
    case TValueTag::BoolTrue: return QStringLiteral("True");
    case TValueTag::Nil: return QStringLiteral("nil");
    default: InvalidValue();
    }
}

QByteArray TReader::ReadBinary()
{
    if (ReadTag() != TValueTag::Binary)
        InvalidValue();
    return ReadBytes(ReadLE<uint32_t>());
}

QStringList TReader::ReadSet()
{
    if (ReadTag() != TValueTag::Set)
        InvalidValue();
    return ReadSetPayload();
}

void TReader::SkipValue()
{
    SkipPayload(ReadTag(), 0);
}

// ---------------------------------------------------------------------------
// Records

void TReader::ReadSignature()
{
    char bytes[sizeof kStreamSignature];
    for (size_t i = 0; i < sizeof bytes; ++i) {
        if (FPos == FEnd && !TryFill())
            Truncated(); // everything so far matched: a cut stream
        bytes[i] = FData[FPos++];
        if (bytes[i] != kStreamSignature[i])
            InvalidFormat();
    }
}

void TReader::ReadPrefix()
{
    const uint8_t b = PeekByte();
    if ((b & kPrefixMask) != kPrefixMask)
        return;
    ReadByte();
    if (b & kFlagChildPosition) {
        const TValueTag tag = ReadTag();
        if (!IsIntTag(tag))
            InvalidFormat();
        ReadIntPayload(tag);
    }
}

void TReader::ReadRootComponent(TComponent &root)
{
    ReadPrefix();
    ReadStr(); // the class: the root's own
    const QString name = ReadStr();
    if (!name.isEmpty())
        root.SetName(name);
    ReadRootBody(root, true);
}

std::unique_ptr<TComponent> TReader::ReadRootComponent()
{
    ReadPrefix();
    const QString className = ReadStr();
    const QString name = ReadStr();
    std::unique_ptr<TComponent> root(TClassRegistry::Instance().Create(className, nullptr));
    if (!root)
        throw EClassNotFound(FormatMessage(SClassNotFound, {className}));
    if (TComponent *owner = root->Owner())
        (void)owner->RemoveComponent(root.get()).release(); // the caller owns it through `root`
    if (!name.isEmpty())
        root->SetName(name);
    ReadRootBody(*root, false);
    return root;
}

void TReader::ReadRootBody(TComponent &root, bool keepOnFailure)
{
    FRoot = &root;
    FLoaded.clear();
    FFixups.clear();
    FLoaded.push_back(&root);
    root.BeginLoading();
    try {
        ReadProperties(root, root, 0);
        ReadChildren(root, 0);
    } catch (...) {
        if (keepOnFailure) {
            EndLoading(true);
        } else {
            Discard(1, 0); // the caller's pointer destroys the root
            FLoaded.clear();
        }
        FRoot = nullptr;
        throw;
    }
    try {
        EndLoading(false);
    } catch (...) {
        FRoot = nullptr;
        throw;
    }
    FRoot = nullptr;
}

void TReader::ReadChildren(TComponent &parent, int depth)
{
    while (!EndOfList())
        ReadChild(parent, depth + 1);
    ReadByte();
}

void TReader::ReadChild(TComponent &parent, int depth)
{
    if (depth > kMaxStreamNesting)
        InvalidFormat();
    ReadPrefix();
    const QString className = ReadStr();
    const QString name = ReadStr();
    TComponent *owner = FOwner ? FOwner : FRoot;
    TComponent *child = TClassRegistry::Instance().Create(className, owner);
    if (!child)
        throw EClassNotFound(FormatMessage(SClassNotFound, {className}));
    if (child->Owner() != owner)
        owner->InsertComponent(child);
    const size_t loadedMark = FLoaded.size();
    const size_t fixupMark = FFixups.size();
    FLoaded.push_back(child);
    try {
        child->SetName(name);
        child->BeginLoading();
        ReadProperties(*child, *child, 0);
        ReadChildren(*child, depth);
        child->AttachToParent(&parent);
    } catch (...) {
        Discard(loadedMark, fixupMark);
        throw;
    }
}

void TReader::Discard(size_t loadedMark, size_t fixupMark)
{
    if (FFixups.size() > fixupMark)
        FFixups.resize(fixupMark);
    // Last first, so what a record created goes before the record itself.
    while (FLoaded.size() > loadedMark) {
        TComponent *c = FLoaded.back();
        FLoaded.pop_back();
        if (TComponent *owner = c->Owner())
            owner->RemoveComponent(c).reset();
    }
}

void TReader::EndLoading(bool failed)
{
    const std::vector<TComponent *> loaded = std::move(FLoaded);
    const std::vector<TFixup> fixups = std::move(FFixups);
    FLoaded.clear();
    FFixups.clear();
    std::exception_ptr error;
    for (TComponent *c : loaded) {
        try {
            c->Loaded();
        } catch (...) {
            if (!error)
                error = std::current_exception();
        }
    }
    for (const TFixup &f : fixups) {
        if (error)
            break;
        try {
            ResolveFixup(f, failed);
        } catch (...) {
            error = std::current_exception();
        }
    }
    if (error && !failed)
        std::rethrow_exception(error);
}

void TReader::ResolveFixup(const TFixup &fixup, bool failed)
{
    TComponent *target = ResolveReference(fixup.Ident);
    const TClassInfo *wanted = fixup.Prop->ObjectClass();
    if (!target || (wanted && !target->InheritsFrom(*wanted)))
        return; // stays none
    try {
        fixup.Prop->SetRef(*fixup.Object, target);
    } catch (const EPropertyError &e) {
        if (!failed)
            PropertyError(e.Message(), *fixup.Instance, fixup.Path);
    } catch (const EComponentError &e) {
        if (!failed)
            PropertyError(e.Message(), *fixup.Instance, fixup.Path);
    }
}

TComponent *TReader::ResolveReference(const QString &ident)
{
    if (!FRoot || ident.isEmpty())
        return nullptr;
    if (SameText(ident, u"Owner"))
        return FRoot;
    const QList<QStringView> parts = QStringView(ident).split(QLatin1Char('.'));
    if (parts.size() == 1) {
        TComponent *c = FRoot->FindComponent(ident);
        if (!c && FOwner && FOwner != FRoot)
            c = FOwner->FindComponent(ident);
        return c;
    }
    if (parts.size() > kMaxStreamNesting)
        return nullptr;
    TComponent *c = FindGlobalComponent(parts.at(0).toString());
    if (parts.size() == 2 && SameText(parts.at(1), u"Owner"))
        return c; // a named component without owner
    for (qsizetype i = 1; c && i < parts.size(); ++i)
        c = c->FindComponent(parts.at(i).toString());
    return c;
}

TComponent *TReader::FindGlobalComponent(const QString &name)
{
    if (TComponent *c = ::FindGlobalComponent(name))
        return c;
    if (FOwner && !name.isEmpty() && SameText(FOwner->Name(), name))
        return FOwner;
    if (FRoot && !name.isEmpty() && SameText(FRoot->Name(), name))
        return FRoot;
    return nullptr;
}

// ---------------------------------------------------------------------------
// Properties

void TReader::PropertyError(const QString &message, const TComponent &instance, const QString &path)
{
    if (Error(message))
        return;
    throw EReadError(FormatMessage(SErrorReading, {instance.Name(), QStringLiteral("."), path, message}));
}

void TReader::ReadProperties(TComponent &instance, TPersistent &object, int depth)
{
    while (!EndOfList())
        ReadProperty(instance, object, ReadStr(), depth);
    ReadByte();
}

void TReader::ReadProperty(TComponent &instance, TPersistent &object, const QString &path, int depth)
{
    TPersistent *target = &object;
    QString last = path;
    if (path.contains(QLatin1Char('.'))) {
        const QList<QStringView> parts = QStringView(path).split(QLatin1Char('.'));
        last = parts.last().toString();
        target = parts.size() <= kMaxStreamNesting && !last.isEmpty() ? ResolveSubObject(object, parts) : nullptr;
    }
    if (target && !last.isEmpty()) {
        if (const TPropInfo *prop = target->ClassInfo().FindProperty(last)) {
            ReadPublished(instance, *target, *prop, path, depth);
            return;
        }
        if (const TReaderProc proc = FindDefined(*target, last)) {
            ReadDefined(instance, proc, path, depth);
            return;
        }
    }
    SkipPayload(ReadTag(), depth);
    PropertyError(SUnknownProperty, instance, path);
}

TPersistent *TReader::ResolveSubObject(TPersistent &object, const QList<QStringView> &parts)
{
    TPersistent *obj = &object;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        const TPropInfo *prop = obj->ClassInfo().FindProperty(parts.at(i).toString());
        if (!prop || prop->Type != TPropType::Object)
            return nullptr;
        TPersistent *sub = prop->PeekObject(*obj);
        if (!sub) {
            // Create it only when the rest of the path can be its own: every
            // further step a declared sub-object (the last name may be an
            // extra property, which only the object itself can tell).
            const TClassInfo *cls = prop->ObjectClass();
            for (qsizetype j = i + 1; cls && j + 1 < parts.size(); ++j) {
                const TPropInfo *p = cls->FindProperty(parts.at(j).toString());
                cls = p && p->Type == TPropType::Object ? p->ObjectClass() : nullptr;
            }
            if (!cls || !prop->GetObject)
                return nullptr;
            sub = prop->GetObject(*obj);
            if (!sub)
                return nullptr;
        }
        obj = sub;
    }
    return obj;
}

TFiler::TReaderProc TReader::FindDefined(TPersistent &object, const QString &name)
{
    FSeeking = true;
    FSought = name;
    FFound = nullptr;
    try {
        object.DefineProperties(*this);
    } catch (...) {
        FSeeking = false;
        throw;
    }
    FSeeking = false;
    TReaderProc found = std::move(FFound);
    FFound = nullptr;
    return found;
}

void TReader::DefineProperty(const QString &name, const TReaderProc &reader, const TWriterProc &, bool)
{
    if (FSeeking && !FFound && reader && SameText(name, FSought))
        FFound = reader;
}

void TReader::ReadDefined(TComponent &instance, const TReaderProc &proc, const QString &path, int depth)
{
    // Capture the whole value: in place when it lies in the buffer, else
    // copied as the buffer refills.
    QByteArray captured;
    const qsizetype start = FPos;
    const int fills = FFills;
    const qint64 position = Position();
    FCapture = &captured;
    FCaptureStart = FPos;
    try {
        SkipPayload(ReadTag(), depth);
    } catch (...) {
        FCapture = nullptr;
        throw;
    }
    FCapture = nullptr;
    const char *data = FData + start;
    qsizetype size = FPos - start;
    if (FFills != fills) {
        captured.append(FData + FCaptureStart, FPos - FCaptureStart);
        data = captured.constData();
        size = captured.size();
    }

    const char *const outerData = FData;
    const qsizetype outerPos = FPos;
    const qsizetype outerEnd = FEnd;
    auto restore = [&] {
        FData = outerData;
        FPos = outerPos;
        FEnd = outerEnd;
        FInValue = false;
    };
    FData = data;
    FPos = 0;
    FEnd = size;
    FInValue = true;
    FValuePosition = position;
    QString problem;
    try {
        proc(*this);
        if (FPos != FEnd)
            problem = SInvalidPropertyValue; // more than its reader takes
    } catch (const EPropertyError &e) {
        problem = e.Message();
    } catch (const EConvertError &e) {
        problem = e.Message();
    } catch (...) {
        restore();
        throw;
    }
    restore();
    if (!problem.isEmpty())
        PropertyError(problem, instance, path);
}

void TReader::ReadPublished(TComponent &instance, TPersistent &object, const TPropInfo &prop, const QString &path,
                            int depth)
{
    const TValueTag tag = ReadTag();
    if (tag == TValueTag::Collection && prop.Type == TPropType::Object) {
        TPersistent *sub = prop.GetObject ? prop.GetObject(object) : prop.PeekObject(object);
        if (auto *collection = dynamic_cast<TCollection *>(sub)) {
            ReadCollection(instance, *collection, depth);
            return;
        }
    }
    TScalar value;
    ReadScalar(tag, value, depth);
    QString problem;
    try {
        if (ApplyScalar(instance, object, prop, path, value))
            return;
        problem = SInvalidPropertyValue;
    } catch (const EPropertyError &e) { // a setter refusing the value
        problem = e.Message();
    } catch (const EConvertError &e) {
        problem = e.Message();
    }
    PropertyError(problem, instance, path);
}

// Sets a property from a value read; false when the value does not fit.
bool TReader::ApplyScalar(TComponent &instance, TPersistent &object, const TPropInfo &prop, const QString &path,
                          TScalar &value)
{
    if (prop.Type == TPropType::Event)
        // Handlers are bound by the program, never by files.
        return value.Kind == TScalar::kIdent || value.Kind == TScalar::kNil;
    if (prop.IsReadOnly())
        return false;
    switch (prop.Type) {
    case TPropType::String:
        if (value.Kind != TScalar::kText)
            return false;
        prop.SetStr(object, value.Text);
        return true;
    case TPropType::Float:
        if (value.Kind == TScalar::kInt)
            value.Float = static_cast<double>(value.Int);
        else if (value.Kind != TScalar::kFloat)
            return false;
        prop.SetFloat(object, value.Float);
        return true;
    case TPropType::Reference:
        if (value.Kind == TScalar::kNil) {
            prop.SetRef(object, nullptr);
            return true;
        }
        if (value.Kind != TScalar::kIdent)
            return false;
        FFixups.push_back({&instance, &object, &prop, value.Text, path});
        return true;
    case TPropType::Object:
        return false;
    default:
        break;
    }

    // Ordinal types.
    int64_t v = 0;
    int n = 0;
    const bool isInt = value.Kind == TScalar::kInt;
    const bool isIdent = value.Kind == TScalar::kIdent;
    switch (prop.Type) {
    case TPropType::Integer:
        if (!isInt || value.Int < INT32_MIN || value.Int > INT32_MAX)
            return false;
        v = value.Int;
        break;
    case TPropType::Boolean:
        if (value.Kind != TScalar::kBool)
            return false;
        v = value.Int;
        break;
    case TPropType::Enum:
        if (isIdent)
            v = prop.Enum->Value(value.Text);
        else if (isInt)
            v = value.Int;
        else
            return false;
        if (v < 0 || v >= prop.Enum->Count())
            return false;
        break;
    case TPropType::Set:
        if (value.Kind != TScalar::kSet)
            return false;
        for (const QString &m : value.Members) {
            n = prop.Enum->Value(m);
            if (n < 0 || n >= 32)
                return false;
            v |= int64_t(1) << n;
        }
        break;
    case TPropType::Color: {
        TColor c = 0;
        if (isIdent && IdentToColor(value.Text, c))
            v = c;
        else if (isInt && value.Int >= INT32_MIN && value.Int <= UINT32_MAX)
            v = static_cast<TColor>(static_cast<uint32_t>(value.Int));
        else
            return false;
        break;
    }
    case TPropType::Cursor:
        if (isIdent && IdentToCursor(value.Text, n))
            v = n;
        else if (isInt && value.Int >= INT16_MIN && value.Int <= INT16_MAX)
            v = value.Int;
        else
            return false;
        break;
    case TPropType::Charset:
        if (isIdent && IdentToCharset(value.Text, n))
            v = n;
        else if (isInt && value.Int >= 0 && value.Int <= 255)
            v = value.Int;
        else
            return false;
        break;
    default:
        return false;
    }
    prop.SetOrd(object, v);
    return true;
}

void TReader::ReadCollection(TComponent &instance, TCollection &collection, int depth)
{
    if (depth >= kMaxStreamNesting)
        InvalidFormat();
    collection.BeginUpdate();
    try {
        collection.Clear();
        while (!EndOfList()) {
            ReadItemStart();
            ReadProperties(instance, *collection.Add(), depth + 1);
        }
        ReadByte();
    } catch (...) {
        collection.EndUpdate();
        throw;
    }
    collection.EndUpdate();
}
