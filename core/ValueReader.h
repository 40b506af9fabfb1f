#pragma once
// Reading the values of the component stream from a device: a buffered
// input that checks every length against the bytes that remain before it
// allocates anything (on devices without a known size, data is read in
// bounded chunks), the value tags with their payloads, and captured values:
// one value read from memory, so that whoever reads it can fail half-way
// without the stream losing step.
//
// The value functions are what the reader procedures of extra properties
// use (TFiler::DefineProperty). A value of another kind than asked throws
// EPropertyError "Invalid property value"; a stream that ends too early
// EReadError "Stream read error"; a byte that is no value tag, or nesting
// deeper than kMaxStreamNesting, EReadError "Invalid stream format".

#include "core/StreamFormat.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>
#include <functional>

class TValueReader
{
public:
    explicit TValueReader(QIODevice &stream, int bufferSize = 4096);
    // Leaves a seekable device at Position(), right after what was read.
    virtual ~TValueReader();
    TValueReader(const TValueReader &) = delete;
    TValueReader &operator=(const TValueReader &) = delete;

    // Reads the 4 signature bytes and nothing else; EReadError "Invalid
    // stream format" when they are not "TPF0" ("Stream read error" when the
    // stream ends inside a signature that matched so far).
    void ReadSignature();

    // The stream position of the next unread byte: the device position
    // minus what the reader holds in its buffer.
    qint64 Position() const;
    // True when no byte is left.
    bool AtEnd();

    TValueTag NextValue();
    TValueTag ReadValue();
    bool EndOfList();
    void ReadListBegin();
    void ReadListEnd();
    int32_t ReadInteger();
    int64_t ReadInt64();
    bool ReadBoolean();
    double ReadFloat();   // extended, single, currency, date or integer
    QString ReadString(); // string, long, wide or UTF-8 string
    QString ReadIdent();  // identifier (also True, False and nil)
    QByteArray ReadBinary();
    QStringList ReadSet();
    void SkipValue();
    // A short string without tag (names).
    QString ReadStr();
    // The same for names that repeat throughout a stream (property and
    // class names): a name read before comes back as the same shared
    // string, without decoding or allocating it again.
    QString ReadRepeatedStr();

protected:
    // A value read without knowing yet which property type wants it; lists,
    // collections and binaries are skipped (kOther).
    struct TScalar
    {
        enum TKind { kInt, kFloat, kText, kIdent, kBool, kNil, kSet, kOther } Kind = kOther;
        int64_t Int = 0;
        double Float = 0.0;
        QString Text;
        QStringList Members;
    };
    void ReadScalar(TValueTag tag, TScalar &value, int depth);

    TValueTag ReadTag();
    uint8_t PeekByte();
    uint8_t ReadByte();
    int64_t ReadIntPayload(TValueTag tag);
    // The payload of a value whose tag was read; `depth` counts the lists
    // and collections around it.
    void SkipPayload(TValueTag tag, int depth);
    // The start of a collection item: its optional order, then a list tag.
    void ReadItemStart();

    // Reads one value (tag included) in full, then runs `use` with the
    // value functions reading that value from memory, where running past
    // its end is an invalid value. False when `use` left part of it unread.
    bool ReadCapturedValue(int depth, const std::function<void()> &use);

    static bool IsIntTag(TValueTag tag);
    [[noreturn]] static void InvalidValue();
    [[noreturn]] static void InvalidFormat();

private:
    double ReadFloatPayload(TValueTag tag);
    QString ReadTextPayload(TValueTag tag);
    QStringList ReadSetPayload();

    bool TryFill();
    void Fill();
    void ReadRaw(void *data, qsizetype size);
    void SkipRaw(uint64_t size);
    QByteArray ReadBytes(uint64_t size);
    template <class T>
    T ReadLE();
    qint64 Remaining() const; // -1 when the device cannot tell
    void CheckAvailable(uint64_t size);
    [[noreturn]] void Truncated() const;

    // Recently read repeated names, by a hash of their bytes.
    struct TRepeated
    {
        QByteArray Bytes;
        QString Text;
    };
    static constexpr int kRepeatedSlots = 64;
    TRepeated FRepeated[kRepeatedSlots];

    QIODevice &FStream;
    QByteArray FBuffer;
    const char *FData = nullptr; // the bytes being read: the buffer or a captured value
    qsizetype FPos = 0;
    qsizetype FEnd = 0;
    qint64 FStart = 0;  // device position when the reader was made
    qint64 FFilled = 0; // bytes taken from the device
    int FFills = 0;

    QByteArray *FCapture = nullptr; // collects the bytes of a value being captured
    qsizetype FCaptureStart = 0;
    bool FInValue = false;     // reading a captured value
    qint64 FValuePosition = 0; // Position() while a captured value is read
};
