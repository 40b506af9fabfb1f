// Feeds arbitrary bytes to the component stream reader: into an existing
// root whose children belong to a named owner (as a diagram loads), then a
// following object as a new root, and the whole input once more as a new
// root. The error hook says yes a number of times, then no, so both ways
// on are taken. Whatever loads without any problem must write back, read
// again and write the same bytes.

#include "StreamTestClasses.h"

#include "core/Exceptions.h"
#include "core/Reader.h"
#include "core/Writer.h"

#include <QBuffer>
#include <cstdint>
#include <memory>

namespace {

class TFuzzReader : public TReader
{
public:
    using TReader::TReader;
    bool Error(const QString &) override { return ++Errors < 16; }
    int Errors = 0;
};


struct THost
{
    THost()
    {
        Owner.SetName(QStringLiteral("TreeEditor1"));
        Diagram = new TTestDiagram(&Owner);
    }
    TComponent Owner;
    TTestDiagram *Diagram;
};

// Reads a stream written by the writer; any problem is a fault.
QByteArray ReloadAndSave(const QByteArray &stream)
{
    THost host;
    QBuffer in;
    in.setData(stream);
    in.open(QIODevice::ReadOnly);
    TReader reader(in);
    reader.SetOwner(&host.Owner);
    reader.ReadSignature();
    reader.ReadRootComponent(*host.Diagram);
    return SaveStream(*host.Diagram);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool registered = (RegisterStreamTestClasses(), true);
    (void)registered;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));

    QByteArray clean;
    {
        THost host;
        QBuffer in;
        in.setData(bytes);
        in.open(QIODevice::ReadOnly);
        TFuzzReader reader(in);
        reader.SetOwner(&host.Owner);
        try {
            reader.ReadSignature();
            reader.ReadRootComponent(*host.Diagram);
            if (reader.Errors == 0)
                clean = SaveStream(*host.Diagram);
            if (!reader.AtEnd()) {
                reader.ReadSignature();
                std::unique_ptr<TComponent> following = reader.ReadRootComponent();
            }
        } catch (const Exception &) {
        }
    }
    if (!clean.isEmpty() && ReloadAndSave(clean) != clean)
        __builtin_trap();

    {
        QBuffer in;
        in.setData(bytes);
        in.open(QIODevice::ReadOnly);
        TFuzzReader reader(in, 64);
        try {
            reader.ReadSignature();
            std::unique_ptr<TComponent> root = reader.ReadRootComponent();
        } catch (const Exception &) {
        }
    }
    return 0;
}
