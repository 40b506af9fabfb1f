// Loads arbitrary bytes as a diagram file: into a diagram owned by a host
// named like the editor's window (which owns one node of another diagram,
// so references may try to reach it), with "Continue?" answered Yes a
// number of times and then No, and a continuation that reads a following
// object as the editor reads its animation. The diagram's lists must agree
// with its nodes afterwards, and whatever was read, completely or not, must
// save, load again without a question and save the same bytes.

#include "core/Exceptions.h"
#include "model/Arbolix.h"
#include "shapes/ShapeGalleries.h"

#include <QBuffer>
#include <cstdint>
#include <memory>

namespace {

struct THost
{
    THost()
    {
        Owner.SetName(QStringLiteral("TreeEditor1"));
        Other = new TTreeDocument(&Owner);
        Other->SetNoOwnerShapes(false);
        Other->AddRoot(QStringLiteral("elsewhere"))->SetName(QStringLiteral("Elsewhere"));
        Tree = new TTreeDocument(&Owner);
        Tree->SetNoOwnerShapes(false);
    }
    TComponent Owner;
    TTreeDocument *Other;
    TTreeDocument *Tree;
};

QByteArray Save(TTreeDocument &tree)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    SaveDiagram(tree, buffer);
    return buffer.data();
}

// The lists of a diagram agree with its nodes: every node is in Shapes and
// either in Roots or in its parent's children at its brother index, and
// every connection links nodes of this diagram.
void CheckLists(const TTreeDocument &tree)
{
    int roots = 0;
    for (TTreeNodeShape *n : tree.Shapes()) {
        if (n->Tree() != &tree)
            __builtin_trap();
        if (n->Parent()) {
            if (n->Parent()->Tree() != &tree || n->Parent()->Child(n->BrotherIndex()) != n)
                __builtin_trap();
        } else {
            ++roots;
            if (!tree.Roots().Contains(n))
                __builtin_trap();
        }
    }
    if (roots != tree.Roots().Count())
        __builtin_trap();
    for (TTreeConnection *c : tree.Connections())
        if ((c->FromShape() && c->FromShape()->Tree() != &tree) || (c->ToShape() && c->ToShape()->Tree() != &tree))
            __builtin_trap();
}

void ReadFollowing(void *, TReader &reader, QIODevice &)
{
    if (reader.AtEnd())
        return;
    reader.ReadSignature();
    std::unique_ptr<TComponent> following = reader.ReadRootComponent();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    RegisterShapeGalleries();
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));

    int questions = 0;
    QByteArray saved;
    {
        TScopedContinueQuestion answer([&questions](const QString &) { return ++questions < 16; });
        THost host;
        QBuffer in;
        in.setData(bytes);
        in.open(QIODevice::ReadOnly);
        try {
            LoadDiagram(*host.Tree, in, ReadFollowing);
        } catch (const Exception &) {
        }
        CheckLists(*host.Tree);
        if (host.Tree->ReadingFile() || host.Tree->Designing() || host.Other->Shapes().Count() != 1 ||
            host.Other->Shapes()[0]->HasChildren())
            __builtin_trap();
        // Whatever was read, completely or not, is a diagram this program
        // writes.
        saved = Save(*host.Tree);
    }

    // What the program writes it reads without a question and writes the
    // same again.
    questions = 0;
    TScopedContinueQuestion answer([&questions](const QString &) {
        ++questions;
        return false;
    });
    THost host;
    QBuffer in;
    in.setData(saved);
    in.open(QIODevice::ReadOnly);
    LoadDiagram(*host.Tree, in);
    CheckLists(*host.Tree);
    if (questions != 0 || Save(*host.Tree) != saved)
        __builtin_trap();
    return 0;
}
