// The position pass over 100,000 nodes, with their sizes known and with
// every text measured first, and importing a 100,000-line text outline.

#include "BenchMain.h"
#include "TreeTestUtil.h"
#include "model/Arbolix.h"
#include "model/TreeWalk.h"

#include <memory>

namespace {

// An outline of `count` lines shaped like a folder tree: runs of siblings,
// steps one level down, and climbs back several levels at once.
QStringList OutlineLines(int count)
{
    QStringList lines;
    lines.reserve(count);
    int depth = 0;
    for (int i = 0; i < count; ++i) {
        lines << QString(depth, QLatin1Char(' ')) + QStringLiteral("Folder %1").arg(i);
        switch (i % 7) {
        case 0:
        case 3:
            ++depth;
            break;
        case 5:
            depth = depth > 2 ? depth - 2 : 0;
            break;
        default:
            break;
        }
        if (depth > 12)
            depth = 1;
    }
    return lines;
}

// A diagram of `count` nodes, every one expanded, connected to its parent.
std::unique_ptr<THost> ExpandedTree(int count)
{
    auto host = std::make_unique<THost>();
    host->Tree->ImportOutline(OutlineLines(count));
    host->Tree->ExpandAll(true);
    return host;
}

void ForgetSizes(TTreeDocument *tree)
{
    for (TTreeNodeShape *node : tree->Shapes())
        node->InvalidateSize();
}

void BM_ImportOutline(benchmark::State &state)
{
    const QStringList lines = OutlineLines(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto host = std::make_unique<THost>();
        state.ResumeTiming();
        benchmark::DoNotOptimize(host->Tree->ImportOutline(lines));
        state.PauseTiming();
        host.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ImportOutline)->Arg(100000)->Unit(benchmark::kMillisecond);

// The pass of every repaint: sizes known, positions recomputed.
void BM_Layout(benchmark::State &state)
{
    auto host = ExpandedTree(static_cast<int>(state.range(0)));
    host->Tree->LayoutShapes();
    for (auto _ : state) {
        host->Tree->LayoutShapes();
        benchmark::DoNotOptimize(host->Tree->ShapeExtent());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Layout)->Arg(100000)->Unit(benchmark::kMillisecond);

// The first pass after loading: every node's text measured.
void BM_FirstLayout(benchmark::State &state)
{
    auto host = ExpandedTree(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        ForgetSizes(host->Tree);
        state.ResumeTiming();
        host->Tree->LayoutShapes();
        benchmark::DoNotOptimize(host->Tree->ShapeExtent());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FirstLayout)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

DENDRIX_GUI_BENCHMARK_MAIN()
