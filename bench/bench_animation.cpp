// One animation frame on a big diagram: 100 running animations (moving,
// recolouring, resizing text, fading nodes spread over 10,000), the frame's
// values applied and the 1920 x 1080 window repainted. Goal: 16 ms.

#include "GeneratedOutline.h"
#include "animation/AnimationKinds.h"
#include "canvas/CanvasResources.h"
#include "model/ModelResources.h"
#include "view/Arbolix.h"

#include <QApplication>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

void BM_AnimationFrame(benchmark::State &state)
{
    const int nodes = static_cast<int>(state.range(0));
    const int animations = static_cast<int>(state.range(1));
    auto owner = std::make_unique<TComponent>();
    owner->SetName(QStringLiteral("TreeEditor1"));
    auto *tree = new TTree(owner.get());
    tree->SetNoOwnerShapes(false);
    tree->resize(1920, 1080);
    tree->ImportOutline(GeneratedOutline(nodes, 6));
    tree->ExpandAll(true);
    tree->UpdateLayout();
    auto player = std::make_unique<TTreeAnimate>();
    player->SetTree(tree);
    player->SetLoop(true);
    const int stride = std::max(1, tree->Shapes().Count() / animations);
    for (int i = 0; i < animations; ++i) {
        TTreeNodeShape *node = tree->Shapes()[(i * stride) % tree->Shapes().Count()];
        TAnimation *a = nullptr;
        switch (i % 4) {
        case 0: {
            auto *m = new TMovementAnimation(owner.get());
            m->SetNode(node);
            m->SetStartValue(node->X0());
            m->SetEndValue(node->X0() + 5000);
            a = m;
            break;
        }
        case 1: {
            auto *c = new TNodeColorAnimation(owner.get());
            c->SetNode(node);
            c->SetStartColor(clYellow);
            c->SetEndColor(clBlue);
            a = c;
            break;
        }
        case 2: {
            auto *f = new TFontSizeAnimation(owner.get());
            f->SetNode(node);
            f->SetStartValue(8);
            f->SetEndValue(40);
            a = f;
            break;
        }
        default: {
            auto *t = new TTransparencyAnimation(owner.get());
            t->SetNode(node);
            t->SetEndValue(90);
            a = t;
            break;
        }
        }
        a->SetDuration(5000);
        player->Animations().Add(a);
    }
    const TRect client(0, 0, 1920, 1080);
    QImage window(1920, 1080, QImage::Format_RGB32);
    player->Play();
    // The frames are run here, not by the timer.
    player->Timer()->SetEnabled(false);
    for (auto _ : state) {
        player->NextFrame();
        tree->DrawView(nullptr, client);
        QPainter p(&window);
        tree->Canvas()->ShowBuffer(&p);
    }
    state.counters["frame"] = player->Frame();
    player.reset();
    delete tree;
}
BENCHMARK(BM_AnimationFrame)->Args({10000, 100})->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InitCanvasResources();
    InitModelResources();
    RegisterViewClasses();
    RegisterAnimationClasses();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
