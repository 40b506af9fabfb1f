// The node outline on big diagrams: what opening a 100,000-node diagram
// costs with the outline shown beside it (goal: at most 0.2 s more than
// without it), and how it follows a node added and one deleted.

#include "GeneratedOutline.h"
#include "canvas/CanvasResources.h"
#include "editor/TreeNodeOutline.h"
#include "editor/TreeOutlineModel.h"
#include "model/ModelResources.h"
#include "model/TreeFile.h"
#include "view/Arbolix.h"

#include <QApplication>
#include <QBuffer>
#include <QTreeView>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct TBenchHost
{
    std::unique_ptr<TComponent> Owner = std::make_unique<TComponent>();
    TTree *Tree;
    TBenchHost()
    {
        Owner->SetName(QStringLiteral("TreeEditor1"));
        Tree = new TTree(Owner.get());
        Tree->SetNoOwnerShapes(false);
        Tree->resize(800, 600);
    }
    ~TBenchHost() { delete Tree; }
};

// The diagram file of `count` generated nodes.
QByteArray DiagramFile(int count)
{
    TBenchHost h;
    h.Tree->ImportOutline(GeneratedOutline(count, 6));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    SaveDiagram(*h.Tree, buffer);
    return buffer.data();
}

// Opening the file; with the outline (argument 1) shown beside the
// diagram, laid out and painted once, a node deep inside selected, as the
// window shows it after opening.
void BM_OpenDiagram(benchmark::State &state)
{
    const QByteArray file = DiagramFile(static_cast<int>(state.range(0)));
    const bool outlined = state.range(1) != 0;
    TBenchHost h;
    TTreeNodeOutline outline;
    outline.resize(145, 600);
    outline.SetTree(h.Tree);
    if (outlined)
        outline.show();
    for (auto _ : state) {
        QBuffer buffer;
        buffer.setData(file);
        buffer.open(QIODevice::ReadOnly);
        LoadDiagram(*h.Tree, buffer);
        h.Tree->Shapes()[h.Tree->Shapes().Count() / 2]->SetSelected(true);
        if (outlined) {
            outline.View()->doItemsLayout();
            outline.View()->viewport()->repaint();
        }
        benchmark::DoNotOptimize(h.Tree->Shapes().Count());
    }
    state.counters["nodes"] = h.Tree->Shapes().Count();
}
BENCHMARK(BM_OpenDiagram)->Args({100000, 0})->Args({100000, 1})->Unit(benchmark::kMillisecond)->Iterations(3);

// A node added under, and then deleted from, the middle of a 100,000-node
// diagram while the outline shows it expanded.
void BM_OutlineFollowsAddAndDelete(benchmark::State &state)
{
    TBenchHost h;
    h.Tree->ImportOutline(GeneratedOutline(static_cast<int>(state.range(0)), 6));
    TTreeNodeOutline outline;
    outline.resize(145, 600);
    outline.SetTree(h.Tree);
    outline.show();
    TTreeNodeShape *middle = h.Tree->Shapes()[h.Tree->Shapes().Count() / 2];
    middle->SetSelected(true);
    for (auto _ : state) {
        TTreeNodeShape *added = middle->AddChild(QStringLiteral("new"));
        h.Tree->DeleteShape(added);
        outline.View()->viewport()->repaint();
    }
}
BENCHMARK(BM_OutlineFollowsAddAndDelete)->Arg(100000)->Unit(benchmark::kMicrosecond);

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
