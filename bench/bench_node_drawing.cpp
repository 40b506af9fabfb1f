// Drawing and hit-testing many nodes: the node walk over a window full of
// nodes with text (plain and with gradient and shadow), the same walk when
// most nodes lie outside the visible area, and ShapeAt over a large
// diagram.

#include "BenchMain.h"
#include "model/Arbolix.h"

#include <QImage>
#include <QPainter>
#include <memory>

namespace {

// A diagram drawing on an image the size of a window.
class TWindowTree : public TTreeDocument
{
public:
    TWindowTree() : Image(1000, 700, QImage::Format_RGB32), Painter(&Image) { Canvas.Attach(&Painter); }
    ~TWindowTree() override { Canvas.Attach(nullptr); }
    TKorCanvas3D *TreeCanvas() override { return &Canvas; }
    TRect VisibleArea() const override { return Visible; }

    QImage Image;
    QPainter Painter;
    TKorCanvas3D Canvas;
    TRect Visible = TRect(0, 0, 1000, 700);
};

// `count` roots in rows of 10, each 90 x 24 with a line of text; `styled`
// adds a gradient and a shadow. Roots of 20 rows fill the window.
std::unique_ptr<TWindowTree> Grid(int count, bool styled)
{
    auto tree = std::make_unique<TWindowTree>();
    for (int i = 0; i < count; ++i) {
        TTreeNodeShape *n = tree->AddRoot(QStringLiteral("Node %1").arg(i));
        const int x = (i % 10) * 100, y = (i / 10) * 35;
        n->SetX0(x);
        n->SetY0(y);
        n->SetX1(x + 90);
        n->SetY1(y + 24);
        n->SetBounds(TRect(x, y, x + 90, y + 24));
        n->SetImageIndex(tiNone);
        n->SetStyle(i % 3 == 0 ? tssRoundRectangle : (i % 3 == 1 ? tssDiamond : tssRectangle));
        if (styled) {
            n->Gradient()->SetVisible(true);
            n->Shadow()->SetHorizSize(3);
            n->Shadow()->SetVertSize(3);
        }
    }
    return tree;
}

void DrawAll(TWindowTree *tree)
{
    for (TTreeNodeShape *root : tree->Roots())
        benchmark::DoNotOptimize(root->DrawNodeWalk());
}

void BM_DrawWindowOfNodes(benchmark::State &state)
{
    auto tree = Grid(200, state.range(0) != 0);
    for (auto _ : state)
        DrawAll(tree.get());
    state.SetItemsProcessed(state.iterations() * 200);
}
BENCHMARK(BM_DrawWindowOfNodes)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// 10,000 nodes of which the window shows 200: the rest is walked, not painted.
void BM_DrawCulled(benchmark::State &state)
{
    auto tree = Grid(10000, false);
    for (auto _ : state)
        DrawAll(tree.get());
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_DrawCulled)->Unit(benchmark::kMicrosecond);

// The topmost node at a point near the start of the list, the worst case.
void BM_ShapeAt(benchmark::State &state)
{
    auto tree = Grid(10000, false);
    tree->Visible = TRect(-100000, -100000, 100000, 100000);
    for (auto _ : state)
        benchmark::DoNotOptimize(tree->ShapeAt(45, 12));
    state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_ShapeAt)->Unit(benchmark::kMicrosecond);

} // namespace

DENDRIX_GUI_BENCHMARK_MAIN()
