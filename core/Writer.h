#pragma once
// The component stream writer. An object is written from its class
// declaration: its published properties in declared order (base classes
// first), only those its storing rules say are stored; the properties of a
// sub-object under its path ("Border.Color", "Font.Shadow.HorizSize"), a
// sub-object without stored values writing nothing; then its extra
// properties (DefineProperties); then, for a component, the child objects
// GetChildren hands over.
//
//   QFile file(name);  file.open(QIODevice::WriteOnly);
//   TWriter writer(file);
//   writer.WriteRootComponent(diagram);   // "TPF0", the record, flushed
//
// Writing rules: integers with the smallest of the 8-, 16- and 32-bit tags
// (64-bit beyond); Booleans as True/False; enumerations as identifiers;
// sets with the names of their members; colours, cursors and character
// sets as identifiers when their tables name the value, else as integers;
// floats as extended; references by ReferenceIdent, or nil when a storing
// rule stores a missing one; events never. Text that Windows-1252 holds is
// a string (up to 255 bytes) or a long string; other text is written as a
// UTF-8 string, and text with unpaired UTF-16 surrogates (which UTF-8
// cannot carry) as a wide string, so no character is lost.
//
// Failures of the device throw EWriteError "Stream write error".

#include "core/Filer.h"
#include "core/StreamFormat.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

class TCollection;
class TComponent;
class TPersistent;
class TPropInfo;

class TWriter : public TFiler
{
public:
    explicit TWriter(QIODevice &stream, int bufferSize = 4096);
    // Flushes what is buffered; a failure at that point is lost, so callers
    // that care call FlushBuffer first (WriteRootComponent does).
    ~TWriter() override;

    void WriteSignature();
    // The signature, then the root's record with its children; flushes.
    void WriteRootComponent(TComponent &root);
    // One object record with its children. References are named relative
    // to the root of the WriteRootComponent in progress, else to this
    // component.
    void WriteComponent(TComponent &component);
    // The property records of an object, without the closing 0.
    void WriteProperties(TPersistent &object);

    void FlushBuffer();
    // Bytes written so far, counted from where the device was.
    qint64 Position() const { return FStart + FFlushed + FBuffer.size(); }

    // Values.
    void WriteInteger(int64_t value);
    void WriteInt64(int64_t value); // always tag 19
    void WriteBoolean(bool value);
    void WriteString(const QString &value);
    void WriteIdent(const QString &ident);
    void WriteFloat(double value);  // extended
    void WriteSingle(float value);
    void WriteCurrency(int64_t scaledBy10000);
    void WriteDate(double value);
    void WriteWideString(const QString &value);
    void WriteUtf8String(const QString &value);
    void WriteBinary(const QByteArray &data);
    void WriteSet(const QStringList &members);
    void WriteNil();
    void WriteListBegin();
    void WriteListEnd();
    void WriteCollection(TCollection &collection);
    // A short string without tag (names); at most 255 Windows-1252 bytes,
    // else EWriteError.
    void WriteStr(const QString &value);

    // How a reference to a component is written: a component owned by the
    // root by its bare name; the root itself as "Owner"; a component whose
    // owner has a name as owner name + "." + name; a named component without
    // owner as name + ".Owner". Empty when none of these applies (the
    // property is then not written); a host can override this to name
    // components its own way.
    virtual QString ReferenceIdent(const TComponent &component) const;

    void DefineProperty(const QString &name, const TReaderProc &reader, const TWriterProc &writer,
                        bool hasData) override;

private:
    void WriteComponentAt(TComponent &component, int depth);
    void WriteObjectProperties(TPersistent &object, const TPersistent *constructed, const QString &prefix, int depth);
    void WriteProperty(TPersistent &object, const TPersistent *constructed, const TPropInfo &prop,
                       const QString &prefix, int depth);
    void WriteOrdinal(const TPropInfo &prop, int64_t value);
    void WriteTag(TValueTag tag);
    void WriteBytes(const void *data, qsizetype size);
    void WriteLength(qsizetype length);
    template <class T>
    void WriteLE(T value);

    QIODevice &FStream;
    QByteArray FBuffer;
    qsizetype FBufferSize;
    qint64 FStart = 0;
    qint64 FFlushed = 0;
    QString FPrefix; // path of the object whose DefineProperties runs
    int FDepth = 0;  // lists and collections open
};
