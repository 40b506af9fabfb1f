// Start-up of the main window on a 100,000-node diagram: from creating the
// window (the file named as on the command line) to its first painted
// diagram (goal: 0.5 s). The file is written once, expanded, as an outline
// of nodes 6 levels deep at most.

#include "GeneratedOutline.h"
#include "canvas/CanvasResources.h"
#include "editor/RecoveryCopy.h"
#include "editor/UDendrix.h"
#include "model/ModelResources.h"
#include "model/TreeFile.h"
#include "view/Arbolix.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

QString BigDiagram(const QTemporaryDir &dir, int count)
{
    const QString name = dir.filePath(QStringLiteral("big%1.abx").arg(count));
    if (QFileInfo::exists(name))
        return name;
    TComponent host;
    host.SetName(QStringLiteral("TreeEditor1"));
    auto tree = std::make_unique<TTree>(&host);
    tree->SetNoOwnerShapes(false);
    tree->ImportOutline(GeneratedOutline(count, 6));
    tree->ExpandAll(true);
    SaveDiagramFile(*tree, name);
    return name;
}

// Notes the first paint of a widget.
class TPaintWatch : public QObject
{
public:
    bool Painted = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            Painted = true;
        return false;
    }
};

void BM_StartupToFirstPaint(benchmark::State &state)
{
    static QTemporaryDir dir;
    const QString file = BigDiagram(dir, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto window = std::make_unique<TTreeEditor1>();
        window->SetOffersRecovery(false);
        window->Recovery()->SetFolder(dir.filePath(QStringLiteral("recovery")));
        window->SetStartFile(file);
        window->resize(1280, 800);
        window->show();
        TPaintWatch watch;
        window->Tree()->installEventFilter(&watch);
        window->Tree()->update();
        while (!watch.Painted || !window->Tree()->Drawn())
            QCoreApplication::processEvents();
        window->Tree()->removeEventFilter(&watch);
        benchmark::DoNotOptimize(window->Tree()->Shapes().Count());
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToFirstPaint)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The settings of a first start, not the user's.
    static QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    InitCanvasResources();
    InitModelResources();
    RegisterDendrixClasses();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
