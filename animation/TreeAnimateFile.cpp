#include "animation/TreeAnimateFile.h"

#include "animation/TreeAnimate.h"
#include "model/TreeDocument.h"
#include "model/TreeFile.h"

namespace {

// The played values go back for the time of a save.
class TSaveHold
{
public:
    explicit TSaveHold(TTreeAnimate *player) : FPlayer(player)
    {
        if (FPlayer)
            FPlayer->HoldValues();
    }
    ~TSaveHold()
    {
        if (FPlayer)
            FPlayer->ReleaseValues();
    }
    TSaveHold(const TSaveHold &) = delete;
    TSaveHold &operator=(const TSaveHold &) = delete;

private:
    TTreeAnimate *FPlayer;
};

TLoadContinuation ReadInto(std::unique_ptr<TTreeAnimate> &player)
{
    return [&player](void *data, TReader &reader, QIODevice &) {
        player = ReadAnimationPart(reader, *static_cast<TTreeDocument *>(data));
    };
}

TSaveContinuation WriteFrom(TTreeAnimate *player)
{
    return [player](TWriter &writer) {
        if (player)
            WriteAnimationPart(writer, *player);
    };
}

} // namespace

std::unique_ptr<TTreeAnimate> ReadAnimationPart(TReader &reader, TTreeDocument &diagram)
{
    if (reader.AtEnd())
        return nullptr;
    reader.ReadSignature();
    std::unique_ptr<TComponent> root = reader.ReadRootComponent();
    auto *player = dynamic_cast<TTreeAnimate *>(root.get());
    if (!player)
        return nullptr;
    root.release();
    std::unique_ptr<TTreeAnimate> result(player);
    result->SetTree(&diagram);
    return result;
}

void WriteAnimationPart(TWriter &writer, TTreeAnimate &player)
{
    writer.WriteSignature();
    writer.WriteComponent(player);
}

void LoadDocument(TTreeDocument &diagram, QIODevice &stream, std::unique_ptr<TTreeAnimate> &player)
{
    player.reset();
    LoadDiagram(diagram, stream, ReadInto(player), &diagram);
}

void LoadDocumentFile(TTreeDocument &diagram, const QString &fileName, std::unique_ptr<TTreeAnimate> &player)
{
    player.reset();
    LoadDiagramFile(diagram, fileName, ReadInto(player), &diagram);
}

void SaveDocument(TTreeDocument &diagram, QIODevice &stream, TTreeAnimate *player)
{
    TSaveHold hold(player);
    SaveDiagram(diagram, stream, WriteFrom(player));
}

void SaveDocumentFile(TTreeDocument &diagram, const QString &fileName, TTreeAnimate *player)
{
    TSaveHold hold(player);
    SaveDiagramFile(diagram, fileName, WriteFrom(player));
}
