#include "core/Filer.h"

#include "core/Reader.h"
#include "core/Writer.h"

TFiler::~TFiler() = default;

void TFiler::DefineBinaryProperty(const QString &name, const TBinaryReaderProc &reader,
                                  const TBinaryWriterProc &writer, bool hasData)
{
    TReaderProc readValue;
    if (reader)
        readValue = [reader](TReader &r) { reader(r.ReadBinary()); };
    TWriterProc writeValue;
    if (writer)
        writeValue = [writer](TWriter &w) {
            QByteArray data;
            writer(data);
            w.WriteBinary(data);
        };
    DefineProperty(name, readValue, writeValue, hasData);
}
