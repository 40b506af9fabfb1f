#pragma once
// The common base of the stream writer (TWriter) and reader (TReader), as a
// persistent object sees it in DefineProperties: the place to declare extra
// properties beyond the published ones.
//
//   void TTextLines::DefineProperties(TFiler &filer)
//   {
//       filer.DefineProperty(QStringLiteral("Strings"),
//           [this](TReader &r) { ReadLines(r); },   // reads one value
//           [this](TWriter &w) { WriteLines(w); },  // writes one value
//           Count() > 0);                           // written only with data
//   }
//
// A sub-object's extra properties are written and read under its path
// ("Text.Strings"), at the place of the sub-object among its owner's
// properties. A property defined with a reader only (no writer) is accepted
// from files and never written.
//
// A reader procedure that meets a value it cannot use throws EPropertyError
// "Invalid property value" (reading a value of the wrong kind through
// TReader does so by itself); the reader then asks its error hook, and the
// rest of the value is skipped whatever the procedure had read of it.

#include <QByteArray>
#include <QString>
#include <functional>

class TComponent;
class TReader;
class TWriter;

class TFiler
{
public:
    using TReaderProc = std::function<void(TReader &)>;
    using TWriterProc = std::function<void(TWriter &)>;
    // Binary properties: the payload of one binary value (tag 10).
    using TBinaryReaderProc = std::function<void(const QByteArray &)>;
    using TBinaryWriterProc = std::function<void(QByteArray &)>;

    TFiler() = default;
    TFiler(const TFiler &) = delete;
    TFiler &operator=(const TFiler &) = delete;
    virtual ~TFiler();

    // An extra property whose value is any one value of the encoding. It is
    // written when `hasData` is true and a writer is given.
    virtual void DefineProperty(const QString &name, const TReaderProc &reader, const TWriterProc &writer,
                                bool hasData) = 0;
    // An extra property whose value is one binary value.
    void DefineBinaryProperty(const QString &name, const TBinaryReaderProc &reader, const TBinaryWriterProc &writer,
                              bool hasData);

    // The component whose stream is being written or read: references are
    // named relative to it.
    TComponent *Root() const { return FRoot; }

protected:
    TComponent *FRoot = nullptr;
};
