// The mouse and the keyboard on big diagrams:
//  - SelectAll then DeleteSelected on 100,000 nodes (goal: 0.3 s);
//  - one Down-key step on a 100,000-node tree, alone and with the repaint
//    of a 1920 x 1080 view (goal: 1 ms plus the repaint);
//  - one drag step in design mode, the move and the repaint of a 1920 x
//    1080 view: 1,000 selected nodes of 10,000, and one node of 100,000
//    (goal: 16 ms each).

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

// The pointer goes to and fro by a few pixels, so every step moves the
// selection (down and up, right and left) and the diagram stays in view.
void BM_DragStep(benchmark::State &state)
{
    const int count = static_cast<int>(state.range(0));
    const int selected = static_cast<int>(state.range(1));
    TBenchHost h(count, 1920, 1080);
    TTree *t = h.Tree;
    const TRect client(0, 0, 1920, 1080);
    t->SetSingleSelection(false);
    t->SetDesigning(true);
    t->SetSnapToGrid(false);
    t->DrawView(nullptr, client);
    // The node pressed: one in the middle of the window.
    const TRect visible = t->VisibleArea();
    TTreeNodeShape *pressed = nullptr;
    for (TTreeNodeShape *n : t->Shapes())
        if (n->Visible() && n->Parent() && n->Bounds().Top > (visible.Top + visible.Bottom) / 2) {
            pressed = n;
            break;
        }
    if (!pressed) {
        state.SkipWithError("no node in the window");
        return;
    }
    pressed->SetSelected(true);
    const int every = selected > 1 ? count / selected : count;
    for (int i = 0; i < count && t->Selected().Count() < selected; i += every)
        if (t->Shapes()[i]->Visible())
            t->Shapes()[i]->SetSelected(true);
    t->DrawView(nullptr, client);
    const TPoint at = t->ProjectPoint(RectCenter(pressed->DrawRect()));
    TTreeInteraction &input = t->Interaction();
    input.MouseDown(mbLeft, SetBit(ssLeft), at.X, at.Y);
    // The first step makes the nodes' positions their own (a full layout).
    input.MouseMove(SetBit(ssLeft), at.X + 3, at.Y + 3);
    t->DrawView(nullptr, client);
    const int layouts = t->LayoutCount();
    int k = 0;
    for (auto _ : state) {
        const int d = (k++ % 2 == 0) ? 0 : 3;
        input.MouseMove(SetBit(ssLeft), at.X + d, at.Y + d);
        t->DrawView(nullptr, client);
    }
    input.MouseUp(mbLeft, 0, at.X, at.Y);
    state.counters["selected"] = t->Selected().Count();
    state.counters["full layouts"] = t->LayoutCount() - layouts;
    state.counters["partial layouts"] = t->PartialLayoutCount();
}
BENCHMARK(BM_DragStep)->Args({10000, 1000})->Args({100000, 1})->Unit(benchmark::kMillisecond);

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
