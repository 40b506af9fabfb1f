// Saving and loading a diagram file of 100,000 nodes, each with a line of
// text, a root and ten children per node breadth first, every child
// connected to its parent (goal: each way within 0.5 s); and loading one
// chain of 100,000 nodes, each the child of the one before; and the first
// diagram read from a file.

#include "TreeTestUtil.h"
#include "model/Arbolix.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

std::unique_ptr<THost> MakeDiagram(int count)
{
    auto host = std::make_unique<THost>();
    host->Tree->AddRoot(QStringLiteral("Node 0"));
    int parent = 0;
    int children = 0;
    for (int i = 1; i < count; ++i) {
        if (children == 10) {
            ++parent;
            children = 0;
        }
        host->Tree->Shapes()[parent]->AddChild(QStringLiteral("Node %1").arg(i));
        ++children;
    }
    return host;
}

std::unique_ptr<THost> MakeChain(int count)
{
    auto host = std::make_unique<THost>();
    TTreeNodeShape *node = host->Tree->AddRoot(QStringLiteral("Node 0"));
    for (int i = 1; i < count; ++i)
        node = node->AddChild(QStringLiteral("Node %1").arg(i));
    return host;
}

QByteArray Save(TTreeDocument &tree)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    SaveDiagram(tree, buffer);
    return buffer.data();
}

void BM_SaveDiagramFile(benchmark::State &state)
{
    const auto host = MakeDiagram(static_cast<int>(state.range(0)));
    qsizetype bytes = 0;
    for (auto _ : state)
        bytes = Save(*host->Tree).size();
    state.counters["bytes"] = static_cast<double>(bytes);
    state.counters["connections"] = host->Tree->Connections().Count();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SaveDiagramFile)->Arg(100000)->Unit(benchmark::kMillisecond);

void Load(benchmark::State &state, const QByteArray &stream)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto host = std::make_unique<THost>();
        QBuffer in;
        in.setData(stream);
        in.open(QIODevice::ReadOnly);
        state.ResumeTiming();
        LoadDiagram(*host->Tree, in);
        benchmark::DoNotOptimize(host->Tree->Shapes().Count());
        state.PauseTiming(); // freeing the diagram is not part of loading
        host.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_LoadDiagramFile(benchmark::State &state)
{
    Load(state, Save(*MakeDiagram(static_cast<int>(state.range(0)))->Tree));
}
BENCHMARK(BM_LoadDiagramFile)->Arg(100000)->Unit(benchmark::kMillisecond);

// The same diagram read from a file on disk, as opening a document does
// (the device is a file, whose size the reader must not ask for each value).
void BM_LoadDiagramFromDisk(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("big.abx"));
    {
        QFile out(name);
        out.open(QIODevice::WriteOnly);
        out.write(Save(*MakeDiagram(static_cast<int>(state.range(0)))->Tree));
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto host = std::make_unique<THost>();
        state.ResumeTiming();
        LoadDiagramFile(*host->Tree, name);
        benchmark::DoNotOptimize(host->Tree->Shapes().Count());
        state.PauseTiming();
        host.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadDiagramFromDisk)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_LoadDeepChain(benchmark::State &state)
{
    Load(state, Save(*MakeChain(static_cast<int>(state.range(0)))->Tree));
}
BENCHMARK(BM_LoadDeepChain)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
