// The mouse and the keyboard on big diagrams:
//  - SelectAll then DeleteSelected on 100,000 nodes (goal: 0.3 s);
//  - one Down-key step on a 100,000-node tree, alone and with the repaint
//    of a 1920 x 1080 view (goal: 1 ms plus the repaint).

#include "GeneratedOutline.h"
#include "canvas/CanvasResources.h"
#include "model/ModelResources.h"
#include "view/Arbolix.h"
#include "view/TreeInteraction.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct TBenchHost
{
    std::unique_ptr<TComponent> Owner = std::make_unique<TComponent>();
    TTree *Tree;
    TBenchHost(int count, int width, int height)
    {
        Owner->SetName(QStringLiteral("TreeEditor1"));
        Tree = new TTree(Owner.get());
        Tree->SetNoOwnerShapes(false);
        Tree->resize(width, height);
        Tree->ImportOutline(GeneratedOutline(count, 6));
        Tree->ExpandAll(true);
        Tree->UpdateLayout();
    }
    ~TBenchHost() { delete Tree; }
};

void BM_SelectAllThenDelete(benchmark::State &state)
{
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto h = std::make_unique<TBenchHost>(count, 800, 600);
        h->Tree->SetSingleSelection(false);
        state.ResumeTiming();
        h->Tree->Selected().SelectAll();
        h->Tree->Selected().DeleteSelected();
        benchmark::DoNotOptimize(h->Tree->Shapes().Count());
        state.PauseTiming();
        h.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SelectAllThenDelete)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

// Down from the middle of the tree, then Up, so every step selects anew;
// the second argument repaints the view after each key (1) or not (0).
void BM_DownKeyStep(benchmark::State &state)
{
    TBenchHost h(static_cast<int>(state.range(0)), 1920, 1080);
    TTree *t = h.Tree;
    const bool repaint = state.range(1) != 0;
    const TRect client(0, 0, 1920, 1080);
    t->SelectOnly(t->Shapes()[t->Shapes().Count() / 2]);
    t->DrawView(nullptr, client);
    bool down = true;
    for (auto _ : state) {
        t->Interaction().KeyDown(down ? Qt::Key_Down : Qt::Key_Up, Qt::NoModifier);
        down = !down;
        if (repaint)
            t->DrawView(nullptr, client);
    }
    state.counters["layouts"] = t->LayoutCount();
}
BENCHMARK(BM_DownKeyStep)->Args({100000, 0})->Args({100000, 1})->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InitCanvasResources();
    InitModelResources();
    RegisterViewClasses();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
