// Building, measuring and clearing large diagrams: 100,000 nodes made with
// AddChild (named, owned by the host, each connected to its parent), the
// memory a node takes, and Clear.

#include "TreeTestUtil.h"
#include "model/Arbolix.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <memory>

namespace {


// A tree of `count` nodes: a root and, breadth first, ten children per node.
void BuildTree(TTreeDocument *tree, int count)
{
    TTreeNodeShape *root = tree->AddRoot(QStringLiteral("root"));
    int parent = 0;
    int children = 0;
    for (int i = 1; i < count; ++i) {
        if (children == 10) {
            ++parent;
            children = 0;
        }
        tree->Shapes()[parent]->AddChild();
        ++children;
    }
    benchmark::DoNotOptimize(root);
}

size_t HeapInUse()
{
    malloc_trim(0);
    return mallinfo2().uordblks;
}

void BM_AddChild100k(benchmark::State &state)
{
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto host = std::make_unique<THost>();
        state.ResumeTiming();
        BuildTree(host->Tree, count);
        state.PauseTiming();
        host.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_AddChild100k)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_Clear100k(benchmark::State &state)
{
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        THost host;
        BuildTree(host.Tree, count);
        state.ResumeTiming();
        host.Tree->Clear();
        benchmark::DoNotOptimize(host.Tree->Shapes().Count());
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_Clear100k)->Arg(100000)->Unit(benchmark::kMillisecond);

// Heap bytes per node, with and without the connection from its parent.
// The counters are the result; the timing is not.
void BM_MemoryPerNode(benchmark::State &state)
{
    const bool connect = state.range(0) != 0;
    const int count = 100000;
    double perNode = 0;
    for (auto _ : state) {
        THost host;
        host.Tree->SetAutoConnectChildren(connect);
        const size_t before = HeapInUse();
        BuildTree(host.Tree, count);
        const size_t after = HeapInUse();
        perNode = static_cast<double>(after - before) / count;
    }
    state.counters["bytes_per_node"] = perNode;
}
BENCHMARK(BM_MemoryPerNode)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
