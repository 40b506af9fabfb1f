// One animation frame on a big diagram: 100 running animations (moving,
// recolouring, resizing text, fading nodes spread over 10,000), the frame's
// values applied and the 1920 x 1080 window repainted. Goal: 16 ms.
// The animation editor's timeline with 1,000 animations: rebuilding its
// views, a step of dragging one bar with its repaint, and a repaint of what
// the window shows while scrolling. Goal: 16 ms each.

#include "GeneratedOutline.h"
#include "animation/AnimationKinds.h"
#include "animation/NodeAnimate.h"
#include "animation/TreeAnimateEditor.h"
#include "canvas/CanvasResources.h"
#include "model/ModelResources.h"
#include "view/Arbolix.h"

#include <QApplication>
#include <QPainter>
#include <QMouseEvent>
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

struct TTimelineSetup
{
    std::unique_ptr<TComponent> Owner = std::make_unique<TComponent>();
    std::unique_ptr<TTreeAnimate> Player = std::make_unique<TTreeAnimate>();
    TTreeAnimateEditor Editor;
    explicit TTimelineSetup(int count)
    {
        for (int i = 0; i < count; ++i) {
            auto *a = new TCustomAnimation(Owner.get());
            a->SetStartFrame(i % 200);
            a->SetDuration(10 + i % 50);
            Player->Animations().Add(a);
        }
        Editor.resize(1000, 400);
        Editor.SetPlayer(Player.get(), Owner.get());
    }
    ~TTimelineSetup() { Editor.SetPlayer(nullptr); }
    void Send(QEvent::Type type, const QPoint &p, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent e(type, QPointF(p), Editor.Timeline()->mapToGlobal(QPointF(p)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(Editor.Timeline(), &e);
    }
};

// Rebuilding both views (a bar and a name for each animation) and
// drawing what they show.
void BM_TimelineRebuild(benchmark::State &state)
{
    TTimelineSetup s(static_cast<int>(state.range(0)));
    s.Editor.show();
    QImage view(s.Editor.Timeline()->size(), QImage::Format_RGB32);
    QImage names(s.Editor.List()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        s.Editor.Rebuild();
        s.Editor.Timeline()->render(&view);
        s.Editor.List()->render(&names);
    }
    state.counters["bars"] = s.Editor.Timeline()->Shapes().Count();
}
BENCHMARK(BM_TimelineRebuild)->Arg(1000)->Unit(benchmark::kMillisecond);

// One step of a drag of a bar (a frame to the right or back) with the
// repaint of the timeline that follows it.
void BM_TimelineDragBar(benchmark::State &state)
{
    TTimelineSetup s(static_cast<int>(state.range(0)));
    s.Editor.show();
    TTree *timeline = s.Editor.Timeline();
    QImage view(timeline->size(), QImage::Format_RGB32);
    timeline->render(&view);
    const TNodeAnimate *bar = s.Editor.Bar(3);
    const QPoint from = timeline->ProjectPoint(TPoint(bar->X0() + bar->Width() / 2, bar->Y0() + 4)).ToQPoint();
    s.Send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    int step = 0;
    int edits = 0;
    QObject::connect(&s.Editor, &TTreeAnimateEditor::Changed, [&edits] { ++edits; });
    for (auto _ : state) {
        const int ppf = s.Editor.PixelsPerFrame();
        s.Send(QEvent::MouseMove, from + QPoint((++step % 2) * ppf, 0), Qt::NoButton, Qt::LeftButton);
        timeline->render(&view);
    }
    s.Send(QEvent::MouseButtonRelease, from, Qt::LeftButton, Qt::NoButton);
    // Every step moved the bar by a frame.
    state.counters["edits"] = edits;
}
BENCHMARK(BM_TimelineDragBar)->Arg(1000)->Unit(benchmark::kMillisecond);

// A repaint of what the timeline and the names show while scrolling down.
void BM_TimelineScrollPaint(benchmark::State &state)
{
    TTimelineSetup s(static_cast<int>(state.range(0)));
    s.Editor.show();
    TTree *timeline = s.Editor.Timeline();
    QImage view(timeline->size(), QImage::Format_RGB32);
    QImage names(s.Editor.List()->size(), QImage::Format_RGB32);
    const int rows = static_cast<int>(state.range(0)) * TTreeAnimateEditor::kRowHeight;
    int step = 0;
    for (auto _ : state) {
        timeline->View3DOptions()->SetVertOffset(-((step++ * 37) % std::max(1, rows - timeline->height())));
        timeline->render(&view);
        s.Editor.List()->render(&names);
    }
}
BENCHMARK(BM_TimelineScrollPaint)->Arg(1000)->Unit(benchmark::kMillisecond);

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
