// The diagram on screen and in pictures, on generated outlines:
//  - repainting a 1920 x 1080 view over 100,000 nodes after a scroll;
//  - rendering the whole picture of 10,000 nodes, with their layout;
//  - the export command turning a 10,000-line outline into a PNG and a
//    100,000-line outline into a diagram file.

#include "GeneratedOutline.h"
#include "canvas/CanvasResources.h"
#include "export/KorExport.h"
#include "model/ModelResources.h"
#include "view/Arbolix.h"

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextStream>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

QStringList OutlineLines(int count)
{
    return GeneratedOutline(count, 6);
}

QString WriteOutline(const QTemporaryDir &dir, int count)
{
    const QString name = dir.filePath(QStringLiteral("outline%1.txt").arg(count));
    QFile file(name);
    if (file.open(QIODevice::WriteOnly)) {
        QTextStream out(&file);
        for (const QString &line : OutlineLines(count))
            out << line << '\n';
    }
    return name;
}

struct TViewHost
{
    std::unique_ptr<TComponent> Owner = std::make_unique<TComponent>();
    TTree *Tree;
    explicit TViewHost(int count, int width, int height)
    {
        Owner->SetName(QStringLiteral("TreeEditor1"));
        Tree = new TTree(Owner.get());
        Tree->SetNoOwnerShapes(false);
        Tree->resize(width, height);
        Tree->ImportOutline(OutlineLines(count));
        Tree->ExpandAll(true);
        Tree->UpdateLayout();
    }
    ~TViewHost() { delete Tree; }
};

// A paint of the window after a scroll: the buffer is drawn again and
// shown. The position pass has nothing to do. The window shows the top,
// the middle or the bottom of the diagram (second argument 0, 1, 2).
void BM_RepaintView(benchmark::State &state)
{
    TViewHost h(static_cast<int>(state.range(0)), 1920, 1080);
    TTree *t = h.Tree;
    const TRect client(0, 0, 1920, 1080);
    QImage window(1920, 1080, QImage::Format_RGB32);
    const int offset = -static_cast<int>((t->ShapeExtent().Bottom - 1080) * state.range(1) / 2);
    int step = 0;
    for (auto _ : state) {
        t->View3DOptions()->SetVertOffset(offset - (step++ & 1));
        t->DrawView(nullptr, client);
        QPainter p(&window);
        t->Canvas()->ShowBuffer(&p);
    }
    state.counters["layouts"] = t->LayoutCount();
}
BENCHMARK(BM_RepaintView)->Args({100000, 0})->Args({100000, 1})->Args({100000, 2})->Unit(benchmark::kMillisecond);

// A paint after a change of the model: the position pass lays out all
// 100,000 nodes and works out where their subtrees reach before drawing.
void BM_RepaintAfterChange(benchmark::State &state)
{
    TViewHost h(static_cast<int>(state.range(0)), 1920, 1080);
    TTree *t = h.Tree;
    const TRect client(0, 0, 1920, 1080);
    t->View3DOptions()->SetVertOffset(-t->ShapeExtent().Bottom / 2);
    for (auto _ : state) {
        t->InvalidateLayout();
        t->DrawView(nullptr, client);
    }
}
BENCHMARK(BM_RepaintAfterChange)->Arg(100000)->Unit(benchmark::kMillisecond);

// The whole picture, strip by strip, each time after a change of the
// model (so the position pass runs too).
void BM_RenderWholePicture(benchmark::State &state)
{
    const int count = static_cast<int>(state.range(0));
    TViewHost h(count, 800, 600);
    int rows = 0;
    for (auto _ : state) {
        h.Tree->InvalidateLayout();
        const TExportPicture picture = TExportPicture::WholeDiagram(*h.Tree);
        picture.Render(false, [](const QImage &strip, int) { benchmark::DoNotOptimize(strip.constBits()); });
        rows = picture.Height();
    }
    state.counters["nodes_per_second"] = benchmark::Counter(count, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["picture_rows"] = rows;
}
BENCHMARK(BM_RenderWholePicture)->Arg(10000)->Unit(benchmark::kMillisecond);

// dendrix --export OUT IN, without starting a process.
void RunCommand(benchmark::State &state, const char *extension)
{
    QTemporaryDir dir;
    const QString input = WriteOutline(dir, static_cast<int>(state.range(0)));
    const QString output = dir.filePath(QStringLiteral("out.") + QLatin1String(extension));
    QString errors;
    QTextStream err(&errors);
    for (auto _ : state) {
        if (RunExportCommand(output, input, err) != 0)
            state.SkipWithError(qPrintable(errors));
    }
    state.counters["bytes"] = static_cast<double>(QFile(output).size());
}

void BM_CommandOutlineToPNG(benchmark::State &state)
{
    RunCommand(state, "png");
}
BENCHMARK(BM_CommandOutlineToPNG)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CommandOutlineToABX(benchmark::State &state)
{
    RunCommand(state, "abx");
}
BENCHMARK(BM_CommandOutlineToABX)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

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
