// Drawing through the canvas on an image the size of a diagram window: a
// full-window gradient in each direction, node-like shapes with text, and
// a transparent element.

#include "BenchMain.h"
#include "canvas/KorCanvas.h"

#include <QImage>
#include <QPainter>

namespace {

struct TTarget
{
    QImage Image{1000, 700, QImage::Format_RGB32};
    QPainter Painter{&Image};
    TKorCanvas3D Canvas;
    TTarget() { Canvas.Attach(&Painter); }
};

void BM_GradientFill(benchmark::State &state)
{
    TTarget t;
    TKorGradient g;
    g.SetDirection(static_cast<TGradientDirection>(state.range(0)));
    g.SetStartColor(clWhite);
    g.SetEndColor(clNavy);
    for (auto _ : state)
        g.PaintGradient(&t.Canvas, TRect(0, 0, 1000, 700));
    state.SetItemsProcessed(state.iterations() * 1000 * 700);
}
BENCHMARK(BM_GradientFill)->DenseRange(gdTopBottom, gdFromBottomLeft);

void BM_NodesWithText(benchmark::State &state)
{
    TTarget t;
    TChartPen pen;
    TChartBrush brush;
    TKorFont font;
    for (auto _ : state) {
        for (int i = 0; i < 100; ++i) {
            const int x = (i % 10) * 100, y = (i / 10) * 70;
            t.Canvas.AssignPen(&pen);
            t.Canvas.AssignBrush(&brush, clYellow);
            t.Canvas.Rectangle(x + 5, y + 5, x + 95, y + 40);
            t.Canvas.AssignFont(&font);
            t.Canvas.TextOut(x + 10, y + 15, QStringLiteral("Node %1").arg(i));
            t.Canvas.Segment(x + 50, y + 40, x + 50, y + 75);
        }
    }
    state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(BM_NodesWithText);

void BM_TransparentElement(benchmark::State &state)
{
    TTarget t;
    t.Canvas.Brush().SetColor(clRed);
    for (auto _ : state) {
        TKorBlend blend(&t.Canvas, TRect(100, 100, 300, 200));
        t.Canvas.Ellipse(100, 100, 300, 200);
        blend.Apply(50);
    }
}
BENCHMARK(BM_TransparentElement);

} // namespace

DENDRIX_GUI_BENCHMARK_MAIN()
