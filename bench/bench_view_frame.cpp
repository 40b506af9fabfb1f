// What frames the diagram, on generated outlines in a 1920 x 1080 window:
//  - repainting with the grid and the page borders shown over 10,000
//    nodes, at zoom 100 and at zoom 1 (where the grid would crowd);
//  - one scroll step through the scroll bar over 100,000 nodes: the thumb
//    moves, the view follows, the window is painted again.

#include "GeneratedOutline.h"
#include "WidgetBenchMain.h"
#include "view/Arbolix.h"

#include <QPainter>
#include <QScrollBar>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct TFramedView
{
    std::unique_ptr<TComponent> Owner = std::make_unique<TComponent>();
    TTree *Tree;
    TFramedView(int count, int zoom)
    {
        Owner->SetName(QStringLiteral("TreeEditor1"));
        Tree = new TTree(Owner.get());
        Tree->SetNoOwnerShapes(false);
        Tree->resize(1920, 1080);
        Tree->ImportOutline(GeneratedOutline(count, 6));
        Tree->ExpandAll(true);
        Tree->SetDesigning(true);
        Tree->Grid()->SetVisible(true);
        Tree->Page()->SetUsePrinter(false);
        Tree->View3DOptions()->SetZoom(zoom);
        Tree->UpdateLayout();
    }
    ~TFramedView() { delete Tree; }
};

// A paint of the window after the view moved by a pixel: grid, nodes and
// page borders drawn again into the buffer, then shown.
void BM_RepaintWithGridAndPages(benchmark::State &state)
{
    TFramedView v(10000, static_cast<int>(state.range(0)));
    TTree *t = v.Tree;
    // Second argument 0: the nodes alone, for comparison.
    t->Grid()->SetVisible(state.range(1) != 0);
    t->Page()->Border()->SetVisible(state.range(1) != 0);
    const TRect client(0, 0, 1920, 1080);
    QImage window(1920, 1080, QImage::Format_RGB32);
    int step = 0;
    for (auto _ : state) {
        t->View3DOptions()->SetHorizOffset(-(step++ & 1));
        t->DrawView(nullptr, client);
        QPainter p(&window);
        t->Canvas()->ShowBuffer(&p);
    }
    state.counters["pages"] = t->Page()->Count();
}
BENCHMARK(BM_RepaintWithGridAndPages)->Args({100, 1})->Args({1, 1})->Args({1, 0})->Unit(benchmark::kMillisecond);

// One line down (or back up) on the vertical scroll bar, and the paint that
// follows, in the middle of a 100,000-node diagram.
void BM_ScrollStep(benchmark::State &state)
{
    TFramedView v(100000, 100);
    TTree *t = v.Tree;
    t->Grid()->SetVisible(false);
    t->SetDesigning(false);
    const TRect client(0, 0, 1920, 1080);
    QImage window(1920, 1080, QImage::Format_RGB32);
    t->View3DOptions()->SetVertOffset(-t->ShapeExtent().Bottom / 2);
    t->DrawView(nullptr, client);
    QScrollBar *bar = t->VertScrollBar()->Control();
    int step = 0;
    for (auto _ : state) {
        bar->triggerAction((step++ & 1) ? QAbstractSlider::SliderSingleStepSub : QAbstractSlider::SliderSingleStepAdd);
        t->DrawView(nullptr, client);
        QPainter p(&window);
        t->Canvas()->ShowBuffer(&p);
    }
    state.counters["layouts"] = t->LayoutCount();
    state.counters["bar visible"] = t->VertScrollBar()->Visible();
}
BENCHMARK(BM_ScrollStep)->Unit(benchmark::kMillisecond);

} // namespace

// The scroll bars are widgets.
DENDRIX_WIDGET_BENCHMARK_MAIN()
