#include "core/ValueReader.h"

#include "core/CoreConst.h"
#include "core/Exceptions.h"
#include "core/ExtendedFloat.h"
#include "core/Windows1252.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <limits>

namespace {

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

} // namespace

bool TValueReader::IsIntTag(TValueTag tag)
{
    return tag == TValueTag::Int8 || tag == TValueTag::Int16 || tag == TValueTag::Int32 || tag == TValueTag::Int64;
}

void TValueReader::InvalidValue()
{
    throw EPropertyError(SInvalidPropertyValue);
}

void TValueReader::InvalidFormat()
{
    throw EReadError(SInvalidImage);
}

// ---------------------------------------------------------------------------
// Construction and position

TValueReader::TValueReader(QIODevice &stream, int bufferSize)
    : FStream(stream), FBuffer(bufferSize > 0 ? bufferSize : 4096, Qt::Uninitialized)
{
    FData = FBuffer.constData();
    FStart = stream.isSequential() ? 0 : stream.pos();
}

TValueReader::~TValueReader()
{
    if (!FStream.isSequential() && FStream.isOpen())
        FStream.seek(Position());
}

qint64 TValueReader::Position() const
{
    if (FInValue)
        return FValuePosition;
    return FStart + FFilled - (FEnd - FPos);
}

bool TValueReader::AtEnd()
{
    if (FPos < FEnd)
        return false;
    return FInValue || !TryFill();
}

// ---------------------------------------------------------------------------
// Bytes

bool TValueReader::TryFill()
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

void TValueReader::Fill()
{
    if (!TryFill())
        Truncated();
}

void TValueReader::Truncated() const
{
    // Inside a captured value, running out means the value has not the
    // shape its reader wants.
    if (FInValue)
        InvalidValue();
    throw EReadError(SReadError);
}

uint8_t TValueReader::PeekByte()
{
    if (FPos == FEnd)
        Fill();
    return static_cast<uint8_t>(FData[FPos]);
}

uint8_t TValueReader::ReadByte()
{
    if (FPos == FEnd)
        Fill();
    return static_cast<uint8_t>(FData[FPos++]);
}

void TValueReader::ReadRaw(void *data, qsizetype size)
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

qint64 TValueReader::Remaining() const
{
    const qint64 buffered = FEnd - FPos;
    if (FInValue)
        return buffered;
    if (FStream.isSequential())
        return -1;
    return buffered + std::max<qint64>(0, FStream.size() - FStream.pos());
}

void TValueReader::CheckAvailable(uint64_t size)
{
    // What the buffer holds needs no question to the device (asking a file
    // for its size is a system call).
    if (size <= static_cast<uint64_t>(FEnd - FPos))
        return;
    const qint64 remaining = Remaining();
    if (remaining >= 0 && size > static_cast<uint64_t>(remaining))
        Truncated();
}

void TValueReader::SkipRaw(uint64_t size)
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

QByteArray TValueReader::ReadBytes(uint64_t size)
{
    CheckAvailable(size);
    if (size > static_cast<uint64_t>(std::numeric_limits<qsizetype>::max() / 2))
        Truncated();
    QByteArray bytes;
    if (FInValue || !FStream.isSequential()) { // a known size, checked above
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
T TValueReader::ReadLE()
{
    char bytes[sizeof(T)];
    ReadRaw(bytes, sizeof bytes);
    return qFromLittleEndian<T>(bytes);
}

// ---------------------------------------------------------------------------
// Values

TValueTag TValueReader::ReadTag()
{
    const uint8_t b = ReadByte();
    if (b > kMaxValueTag)
        InvalidFormat();
    return static_cast<TValueTag>(b);
}

QString TValueReader::ReadStr()
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

QString TValueReader::ReadRepeatedStr()
{
    const uint8_t length = ReadByte();
    if (FEnd - FPos < length) {
        char bytes[255];
        ReadRaw(bytes, length);
        return FromWindows1252(bytes, length);
    }
    const char *bytes = FData + FPos;
    FPos += length;
    uint32_t h = 2166136261u ^ length;
    for (int i = 0; i < length; ++i)
        h = (h ^ static_cast<uint8_t>(bytes[i])) * 16777619u;
    TRepeated &slot = FRepeated[(h ^ (h >> 16)) % kRepeatedSlots];
    if (slot.Bytes.size() != length || std::memcmp(slot.Bytes.constData(), bytes, length) != 0) {
        slot.Bytes = QByteArray(bytes, length);
        slot.Text = FromWindows1252(bytes, length);
    }
    return slot.Text;
}

int64_t TValueReader::ReadIntPayload(TValueTag tag)
{
    switch (tag) {
    case TValueTag::Int8: return ReadLE<int8_t>();
    case TValueTag::Int16: return ReadLE<int16_t>();
    case TValueTag::Int32: return ReadLE<int32_t>();
    default: return ReadLE<int64_t>();
    }
}

double TValueReader::ReadFloatPayload(TValueTag tag)
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

QString TValueReader::ReadTextPayload(TValueTag tag)
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

QStringList TValueReader::ReadSetPayload()
{
    QStringList members;
    for (;;) {
        QString m = ReadStr();
        if (m.isEmpty())
            return members;
        members << std::move(m);
    }
}

void TValueReader::ReadItemStart()
{
    TValueTag tag = ReadTag();
    if (IsIntTag(tag)) { // the item's order: not needed
        ReadIntPayload(tag);
        tag = ReadTag();
    }
    if (tag != TValueTag::List)
        InvalidFormat();
}

void TValueReader::SkipPayload(TValueTag tag, int depth)
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

void TValueReader::ReadScalar(TValueTag tag, TScalar &value, int depth)
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

TValueTag TValueReader::NextValue()
{
    const uint8_t b = PeekByte();
    if (b > kMaxValueTag)
        InvalidFormat();
    return static_cast<TValueTag>(b);
}

TValueTag TValueReader::ReadValue()
{
    return ReadTag();
}

bool TValueReader::EndOfList()
{
    return PeekByte() == 0;
}

void TValueReader::ReadListBegin()
{
    if (ReadTag() != TValueTag::List)
        InvalidValue();
}

void TValueReader::ReadListEnd()
{
    if (ReadTag() != TValueTag::End)
        InvalidValue();
}

int64_t TValueReader::ReadInt64()
{
    const TValueTag tag = ReadTag();
    if (!IsIntTag(tag))
        InvalidValue();
    return ReadIntPayload(tag);
}

int32_t TValueReader::ReadInteger()
{
    const int64_t v = ReadInt64();
    if (v < INT32_MIN || v > INT32_MAX)
        InvalidValue();
    return static_cast<int32_t>(v);
}

bool TValueReader::ReadBoolean()
{
    const TValueTag tag = ReadTag();
    if (tag != TValueTag::BoolFalse && tag != TValueTag::BoolTrue)
        InvalidValue();
    return tag == TValueTag::BoolTrue;
}

double TValueReader::ReadFloat()
{
    const TValueTag tag = ReadTag();
    if (IsFloatTag(tag))
        return ReadFloatPayload(tag);
    if (IsIntTag(tag))
        return static_cast<double>(ReadIntPayload(tag));
    InvalidValue();
}

QString TValueReader::ReadString()
{
    const TValueTag tag = ReadTag();
    if (!IsTextTag(tag))
        InvalidValue();
    return ReadTextPayload(tag);
}

QString TValueReader::ReadIdent()
{
    switch (ReadTag()) {
    case TValueTag::Ident: return ReadStr();
    case TValueTag::BoolFalse: return QStringLiteral("False");
    case TValueTag::BoolTrue: return QStringLiteral("True");
    case TValueTag::Nil: return QStringLiteral("nil");
    default: InvalidValue();
    }
}

QByteArray TValueReader::ReadBinary()
{
    if (ReadTag() != TValueTag::Binary)
        InvalidValue();
    return ReadBytes(ReadLE<uint32_t>());
}

QStringList TValueReader::ReadSet()
{
    if (ReadTag() != TValueTag::Set)
        InvalidValue();
    return ReadSetPayload();
}

void TValueReader::SkipValue()
{
    SkipPayload(ReadTag(), 0);
}

void TValueReader::ReadSignature()
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

bool TValueReader::ReadCapturedValue(int depth, const std::function<void()> &use)
{
    // Capture the value: in place when it lies in the buffer, else copied
    // as the buffer refills.
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
    const auto restore = [&] {
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
    try {
        use();
    } catch (...) {
        restore();
        throw;
    }
    const bool whole = FPos == FEnd;
    restore();
    return whole;
}
