// Exporting large diagrams:
//  - a 10,000-node diagram as PNG, JPEG, GIF and BMP: the whole export
//    (drawing and encoding, strip by strip) against the encoder alone on
//    the same pixels drawn beforehand (goal: at most 1.5 times);
//  - PNG settings (compression level, row filters, zlib strategy) on that
//    picture: time and size, to choose the diagram settings;
//  - the export command turning a 10,000-line outline into a PNG against
//    Graphviz's dot drawing the same tree (goal: at least 20 times faster).

#include "GeneratedOutline.h"
#include "canvas/CanvasResources.h"
#include "export/KorExport.h"
#include "export/KorGIF.h"
#include "export/KorJPEG.h"
#include "model/ModelResources.h"
#include "view/Arbolix.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// Takes every byte and keeps only their count.
class TNullDevice : public QIODevice
{
public:
    TNullDevice() { open(QIODevice::WriteOnly); }
    qint64 Bytes = 0;

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 size) override
    {
        Bytes += size;
        return size;
    }
};

struct TBenchHost
{
    std::unique_ptr<TComponent> Owner = std::make_unique<TComponent>();
    TTree *Tree;
    explicit TBenchHost(int count)
    {
        Owner->SetName(QStringLiteral("TreeEditor1"));
        Tree = new TTree(Owner.get());
        Tree->SetNoOwnerShapes(false);
        Tree->ImportOutline(GeneratedOutline(count, 6));
        Tree->ExpandAll(true);
        Tree->UpdateLayout();
    }
    ~TBenchHost() { delete Tree; }
};

// JPEG and GIF pictures are at most 65,535 pixels high: the pictures of
// the format comparison are scaled to this height (a quarter of the whole
// 10,000 rows of 15 pixels).
constexpr int kHeight = 60000;

// The strips of the whole picture, drawn once.
std::vector<QImage> Strips(TTree &tree, int height = 0)
{
    std::vector<QImage> strips;
    TExportPicture::WholeDiagram(tree, 0, height).Render(false, [&strips](const QImage &s, int) {
        strips.push_back(s.copy());
    });
    return strips;
}

double Seconds(const QElapsedTimer &t)
{
    return t.nsecsElapsed() * 1e-9;
}

// The encoder alone on drawn strips.
double EncodeOnly(const QString &ext, const std::vector<QImage> &strips, int width, int height, qint64 &bytes)
{
    TNullDevice out;
    QElapsedTimer t;
    t.start();
    if (ext == QLatin1String("png")) {
        TPNGWriter w(&out, width, height, TPNGWriter::DiagramOptions(9));
        for (const QImage &s : strips)
            w.WriteRows(s);
        w.Finish();
    } else if (ext == QLatin1String("jpg")) {
        TJPEGWriter w(&out, width, height, TJPEGWriter::TOptions());
        for (const QImage &s : strips)
            w.WriteRows(s);
        w.Finish();
    } else if (ext == QLatin1String("gif")) {
        // As the format does: the colours first, then the rows.
        TColorHistogram h;
        for (const QImage &s : strips)
            h.Add(s);
        TGIFWriter w(&out, width, height, h.Palette(256), dmNearest);
        for (const QImage &s : strips)
            w.WriteRows(s);
        w.Finish();
    } else {
        TBMPWriter w(&out, width, height);
        for (auto it = strips.rbegin(); it != strips.rend(); ++it)
            w.WriteRowsBottomUp(*it);
        w.Finish();
    }
    bytes = out.Bytes;
    return Seconds(t);
}

void BM_ExportAgainstEncoder(benchmark::State &state, const char *extension)
{
    const QString ext = QLatin1String(extension);
    TBenchHost h(10000);
    const std::vector<QImage> strips = Strips(*h.Tree, kHeight);
    const TExportPicture whole = TExportPicture::WholeDiagram(*h.Tree, 0, kHeight);
    double exportTime = 0, encoderTime = 0;
    qint64 bytes = 0;
    for (auto _ : state) {
        encoderTime += EncodeOnly(ext, strips, whole.Width(), whole.Height(), bytes);
        std::unique_ptr<TKorExportFormat> f = FindExportFormat(ext);
        f->SetPanel(h.Tree);
        f->SetWholeDiagram(h.Tree);
        f->SetHeight(kHeight);
        TNullDevice out;
        QElapsedTimer t;
        t.start();
        f->WriteImage(out);
        exportTime += Seconds(t);
        state.SetIterationTime(Seconds(t));
    }
    state.counters["encoder_s"] = encoderTime / state.iterations();
    state.counters["export_s"] = exportTime / state.iterations();
    state.counters["ratio"] = exportTime / encoderTime;
    state.counters["bytes"] = double(bytes);
    state.counters["pixels"] = double(whole.Width()) * whole.Height();
}
BENCHMARK_CAPTURE(BM_ExportAgainstEncoder, png, "png")->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExportAgainstEncoder, jpg, "jpg")->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExportAgainstEncoder, gif, "gif")->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExportAgainstEncoder, bmp, "bmp")->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// PNG settings on the picture: level (arg 0), filters (arg 1: adaptive,
// sub, up, none), strategy (arg 2: default, run-length, filtered).
void BM_PNGSettings(benchmark::State &state)
{
    static TBenchHost *h = new TBenchHost(10000);
    static const std::vector<QImage> strips = Strips(*h->Tree);
    static const TExportPicture whole = TExportPicture::WholeDiagram(*h->Tree);
    TPNGWriter::TOptions o;
    o.CompressionLevel = int(state.range(0));
    o.Filters = TPNGWriter::TFilters(state.range(1));
    o.Strategy = TPNGWriter::TStrategy(state.range(2));
    qint64 bytes = 0;
    for (auto _ : state) {
        TNullDevice out;
        TPNGWriter w(&out, whole.Width(), whole.Height(), o);
        for (const QImage &s : strips)
            w.WriteRows(s);
        w.Finish();
        bytes = out.Bytes;
    }
    state.counters["bytes"] = double(bytes);
}
BENCHMARK(BM_PNGSettings)
    ->Args({6, 0, 0})
    ->Args({9, 0, 0})
    ->Args({6, 1, 0})
    ->Args({1, 1, 0})
    ->Args({6, 2, 0})
    ->Args({9, 2, 1})
    ->Args({6, 2, 1})
    ->Args({1, 2, 1})
    ->Args({9, 1, 1})
    ->Args({9, 3, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The same tree for dot: boxes with the nodes' text, parent to child.
void WriteDot(const QString &name, const QStringList &lines)
{
    QFile f(name);
    if (!f.open(QIODevice::WriteOnly))
        return;
    QTextStream out(&f);
    out << "digraph tree {\n  node [shape=box, fontname=\"Liberation Sans\", fontsize=8];\n";
    std::vector<int> parents; // the last node of each depth
    for (int i = 0; i < lines.size(); ++i) {
        int depth = 0;
        while (depth < lines[i].size() && lines[i][depth] == QLatin1Char(' '))
            ++depth;
        out << "  n" << i << " [label=\"" << lines[i].mid(depth) << "\"];\n";
        if (depth > 0 && depth <= int(parents.size()))
            out << "  n" << parents[size_t(depth - 1)] << " -> n" << i << ";\n";
        parents.resize(size_t(depth) + 1);
        parents[size_t(depth)] = i;
    }
    out << "}\n";
}

void BM_CommandAgainstGraphviz(benchmark::State &state)
{
    const QString dot = QStandardPaths::findExecutable(QStringLiteral("dot"));
    if (dot.isEmpty()) {
        state.SkipWithError("Graphviz's dot is not installed (scripts/setup.sh bench installs it)");
        return;
    }
    QTemporaryDir dir;
    const QStringList lines = GeneratedOutline(int(state.range(0)), 6);
    const QString txt = dir.filePath(QStringLiteral("tree.txt"));
    {
        QFile f(txt);
        f.open(QIODevice::WriteOnly);
        f.write(lines.join(QLatin1Char('\n')).toUtf8() + '\n');
    }
    const QString gv = dir.filePath(QStringLiteral("tree.dot"));
    WriteDot(gv, lines);
    const QString png = dir.filePath(QStringLiteral("ours.png"));
    double ours = 0, theirs = 0;
    for (auto _ : state) {
        QString errors;
        QTextStream err(&errors);
        QElapsedTimer t;
        t.start();
        if (RunExportCommand(png, txt, err) != 0)
            state.SkipWithError(qPrintable(errors));
        ours += Seconds(t);
        state.SetIterationTime(Seconds(t));
        t.restart();
        QProcess p;
        p.start(dot, {QStringLiteral("-Tpng"), QStringLiteral("-o"), dir.filePath(QStringLiteral("dot.png")), gv});
        p.waitForFinished(-1);
        theirs += Seconds(t);
    }
    state.counters["ours_s"] = ours / state.iterations();
    state.counters["dot_s"] = theirs / state.iterations();
    state.counters["times_faster"] = theirs / ours;
    const QImage picture(png);
    state.counters["width"] = picture.width();
    state.counters["height"] = picture.height();
    state.counters["bytes"] = double(QFile(png).size());
}
BENCHMARK(BM_CommandAgainstGraphviz)->Arg(10000)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

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
