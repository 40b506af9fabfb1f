#include "core/Writer.h"

#include "core/Collection.h"
#include "core/Colors.h"
#include "core/Component.h"
#include "core/CoreConst.h"
#include "core/Exceptions.h"
#include "core/ExtendedFloat.h"
#include "core/NameTables.h"
#include "core/Windows1252.h"

#include <QtEndian>
#include <cstring>

namespace {

[[noreturn]] void WriteFailed()
{
    throw EWriteError(SWriteError);
}

bool HasUnpairedSurrogate(const QString &s)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c.isHighSurrogate()) {
            if (i + 1 < s.size() && s.at(i + 1).isLowSurrogate())
                ++i;
            else
                return true;
        } else if (c.isLowSurrogate()) {
            return true;
        }
    }
    return false;
}

} // namespace

TWriter::TWriter(QIODevice &stream, int bufferSize)
    : FStream(stream), FBufferSize(bufferSize > 0 ? bufferSize : 4096)
{
    FBuffer.reserve(FBufferSize);
    FStart = stream.isSequential() ? 0 : stream.pos();
}

TWriter::~TWriter()
{
    try {
        FlushBuffer();
    } catch (const Exception &) {
        // Nobody is left to tell; callers flush explicitly.
    }
}

void TWriter::FlushBuffer()
{
    if (FBuffer.isEmpty())
        return;
    const qint64 written = FStream.write(FBuffer);
    if (written != FBuffer.size())
        WriteFailed();
    FFlushed += written;
    FBuffer.clear();
}

void TWriter::WriteBytes(const void *data, qsizetype size)
{
    FBuffer.append(static_cast<const char *>(data), size);
    if (FBuffer.size() >= FBufferSize)
        FlushBuffer();
}

template <class T>
void TWriter::WriteLE(T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    WriteBytes(bytes, sizeof bytes);
}

void TWriter::WriteTag(TValueTag tag)
{
    const char b = static_cast<char>(tag);
    WriteBytes(&b, 1);
}

void TWriter::WriteLength(qsizetype length)
{
    if (length < 0 || static_cast<uint64_t>(length) > UINT32_MAX)
        WriteFailed();
    WriteLE<uint32_t>(static_cast<uint32_t>(length));
}

void TWriter::WriteSignature()
{
    WriteBytes(kStreamSignature, sizeof kStreamSignature);
}

void TWriter::WriteRootComponent(TComponent &root)
{
    TComponent *const previous = FRoot;
    FRoot = &root;
    try {
        WriteSignature();
        WriteComponentAt(root, 0);
        FlushBuffer();
    } catch (...) {
        FRoot = previous;
        throw;
    }
    FRoot = previous;
}

void TWriter::WriteComponent(TComponent &component)
{
    if (FRoot) {
        WriteComponentAt(component, 0);
        return;
    }
    FRoot = &component;
    try {
        WriteComponentAt(component, 0);
    } catch (...) {
        FRoot = nullptr;
        throw;
    }
    FRoot = nullptr;
}

void TWriter::WriteComponentAt(TComponent &component, int depth)
{
    if (depth > kMaxStreamNesting)
        WriteFailed();
    WriteStr(component.ClassName());
    WriteStr(component.Name());
    WriteProperties(component);
    WriteTag(TValueTag::End);
    component.GetChildren([this, depth](TComponent *child) {
        if (child)
            WriteComponentAt(*child, depth + 1);
    });
    WriteTag(TValueTag::End);
}

void TWriter::WriteProperties(TPersistent &object)
{
    WriteObjectProperties(object, object.ConstructedLike(), QString(), 0);
}

void TWriter::WriteObjectProperties(TPersistent &object, const TPersistent *constructed, const QString &prefix,
                                    int depth)
{
    if (depth > kMaxStreamNesting)
        WriteFailed();
    if (constructed && &constructed->ClassInfo() != &object.ClassInfo())
        constructed = nullptr;
    for (const TPropInfo &prop : object.ClassInfo().Properties())
        WriteProperty(object, constructed, prop, prefix, depth);
    const QString outer = FPrefix;
    FPrefix = prefix;
    try {
        object.DefineProperties(*this);
    } catch (...) {
        FPrefix = outer;
        throw;
    }
    FPrefix = outer;
}

void TWriter::WriteProperty(TPersistent &object, const TPersistent *constructed, const TPropInfo &prop,
                            const QString &prefix, int depth)
{
    if (prop.Type == TPropType::Event)
        return;
    // A value at its published default is left out, unless the class's
    // constructor gives another one.
    if (!prop.IsStored(object) && (prop.StoredRule || !constructed || prop.SameValue(object, *constructed)))
        return;
    if (prop.Type == TPropType::Object) {
        TPersistent *sub = prop.PeekObject(object);
        if (!sub)
            return;
        if (auto *collection = dynamic_cast<TCollection *>(sub)) {
            WriteStr(prefix + prop.Name);
            WriteCollection(*collection);
        } else {
            WriteObjectProperties(*sub, constructed ? prop.PeekObject(*constructed) : nullptr,
                                  prefix + prop.Name + QLatin1Char('.'), depth + 1);
        }
        return;
    }
    // What the reader could not set back is not written.
    if (prop.IsReadOnly())
        return;
    switch (prop.Type) {
    case TPropType::String:
        WriteStr(prefix + prop.Name);
        WriteString(prop.GetStr(object));
        return;
    case TPropType::Float:
        WriteStr(prefix + prop.Name);
        WriteFloat(prop.GetFloat(object));
        return;
    case TPropType::Reference: {
        const TComponent *target = prop.GetRef(object);
        const QString ident = target ? ReferenceIdent(*target) : QString();
        if (target && ident.isEmpty())
            return; // a component nobody can find again: leave the default
        WriteStr(prefix + prop.Name);
        if (target)
            WriteIdent(ident);
        else
            WriteNil();
        return;
    }
    default:
        WriteStr(prefix + prop.Name);
        WriteOrdinal(prop, prop.GetOrd(object));
        return;
    }
}

void TWriter::WriteOrdinal(const TPropInfo &prop, int64_t value)
{
    QString ident;
    switch (prop.Type) {
    case TPropType::Boolean:
        WriteBoolean(value != 0);
        return;
    case TPropType::Enum:
        ident = prop.Enum->Name(static_cast<int>(value));
        break;
    case TPropType::Set: {
        QStringList members;
        for (int i = 0; i < prop.Enum->Count() && i < 32; ++i)
            if (value & (int64_t(1) << i))
                members << prop.Enum->Name(i);
        WriteSet(members);
        return;
    }
    case TPropType::Color:
        ColorToIdent(static_cast<TColor>(value), ident);
        break;
    case TPropType::Cursor:
        CursorToIdent(static_cast<int>(value), ident);
        break;
    case TPropType::Charset:
        CharsetToIdent(static_cast<int>(value), ident);
        break;
    default:
        break;
    }
    if (ident.isEmpty())
        WriteInteger(value);
    else
        WriteIdent(ident);
}

QString TWriter::ReferenceIdent(const TComponent &component) const
{
    if (component.Name().isEmpty())
        return &component == FRoot ? QStringLiteral("Owner") : QString();
    const TComponent *owner = component.Owner();
    if (FRoot && owner == FRoot)
        return component.Name();
    if (&component == FRoot)
        return QStringLiteral("Owner");
    if (owner && !owner->Name().isEmpty())
        return owner->Name() + QLatin1Char('.') + component.Name();
    if (!owner)
        return component.Name() + QLatin1String(".Owner");
    return QString();
}

void TWriter::DefineProperty(const QString &name, const TReaderProc &, const TWriterProc &writer, bool hasData)
{
    if (!hasData || !writer)
        return;
    WriteStr(FPrefix + name);
    writer(*this);
}

// ---------------------------------------------------------------------------
// Values

void TWriter::WriteInteger(int64_t value)
{
    if (value >= INT8_MIN && value <= INT8_MAX) {
        WriteTag(TValueTag::Int8);
        WriteLE<int8_t>(static_cast<int8_t>(value));
    } else if (value >= INT16_MIN && value <= INT16_MAX) {
        WriteTag(TValueTag::Int16);
        WriteLE<int16_t>(static_cast<int16_t>(value));
    } else if (value >= INT32_MIN && value <= INT32_MAX) {
        WriteTag(TValueTag::Int32);
        WriteLE<int32_t>(static_cast<int32_t>(value));
    } else {
        WriteInt64(value);
    }
}

void TWriter::WriteInt64(int64_t value)
{
    WriteTag(TValueTag::Int64);
    WriteLE<int64_t>(value);
}

void TWriter::WriteBoolean(bool value)
{
    WriteTag(value ? TValueTag::BoolTrue : TValueTag::BoolFalse);
}

void TWriter::WriteString(const QString &value)
{
    QByteArray bytes;
    if (ToWindows1252(value, bytes)) {
        if (bytes.size() <= 255) {
            WriteTag(TValueTag::String);
            const char length = static_cast<char>(bytes.size());
            WriteBytes(&length, 1);
        } else {
            WriteTag(TValueTag::LongString);
            WriteLength(bytes.size());
        }
        WriteBytes(bytes.constData(), bytes.size());
    } else if (HasUnpairedSurrogate(value)) {
        WriteWideString(value);
    } else {
        WriteUtf8String(value);
    }
}

void TWriter::WriteIdent(const QString &ident)
{
    WriteTag(TValueTag::Ident);
    WriteStr(ident);
}

void TWriter::WriteFloat(double value)
{
    uint8_t bytes[kExtendedSize];
    DoubleToExtended(value, bytes);
    WriteTag(TValueTag::Extended);
    WriteBytes(bytes, sizeof bytes);
}

void TWriter::WriteSingle(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    WriteTag(TValueTag::Single);
    WriteLE<uint32_t>(bits);
}

void TWriter::WriteCurrency(int64_t scaledBy10000)
{
    WriteTag(TValueTag::Currency);
    WriteLE<int64_t>(scaledBy10000);
}

void TWriter::WriteDate(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    WriteTag(TValueTag::Date);
    WriteLE<uint64_t>(bits);
}

void TWriter::WriteWideString(const QString &value)
{
    WriteTag(TValueTag::WideString);
    WriteLength(value.size());
    for (const QChar c : value)
        WriteLE<uint16_t>(c.unicode());
}

void TWriter::WriteUtf8String(const QString &value)
{
    const QByteArray bytes = value.toUtf8();
    WriteTag(TValueTag::Utf8String);
    WriteLength(bytes.size());
    WriteBytes(bytes.constData(), bytes.size());
}

void TWriter::WriteBinary(const QByteArray &data)
{
    WriteTag(TValueTag::Binary);
    WriteLength(data.size());
    WriteBytes(data.constData(), data.size());
}

void TWriter::WriteSet(const QStringList &members)
{
    WriteTag(TValueTag::Set);
    for (const QString &m : members)
        if (!m.isEmpty())
            WriteStr(m);
    WriteStr(QString());
}

void TWriter::WriteNil()
{
    WriteTag(TValueTag::Nil);
}

void TWriter::WriteListBegin()
{
    if (FDepth >= kMaxStreamNesting)
        WriteFailed();
    ++FDepth;
    WriteTag(TValueTag::List);
}

void TWriter::WriteListEnd()
{
    if (FDepth > 0)
        --FDepth;
    WriteTag(TValueTag::End);
}

void TWriter::WriteCollection(TCollection &collection)
{
    if (FDepth >= kMaxStreamNesting)
        WriteFailed();
    ++FDepth;
    try {
        WriteTag(TValueTag::Collection);
        for (int i = 0; i < collection.Count(); ++i) {
            WriteTag(TValueTag::List);
            WriteProperties(*collection.Items(i));
            WriteTag(TValueTag::End);
        }
        WriteTag(TValueTag::End);
    } catch (...) {
        --FDepth;
        throw;
    }
    --FDepth;
}

void TWriter::WriteStr(const QString &value)
{
    QByteArray bytes;
    if (!ToWindows1252(value, bytes) || bytes.size() > 255)
        WriteFailed();
    const char length = static_cast<char>(bytes.size());
    WriteBytes(&length, 1);
    WriteBytes(bytes.constData(), bytes.size());
}
