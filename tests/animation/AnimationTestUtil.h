// Shared set-up of the animation tests: a host named like the editor's
// window owning a diagram, its nodes and the animations; a player whose
// timer the test ticks itself.

#pragma once

#include "animation/AnimationKinds.h"
#include "animation/TreeAnimate.h"
#include "animation/TreeAnimateFile.h"
#include "model/Arbolix.h"

#include <QBuffer>
#include <memory>

// A timer that never runs by itself: Tick() is the period passing.
class TManualTimer : public TAnimationTimer
{
public:
    explicit TManualTimer(std::function<void()> tick) : FTick(std::move(tick)) {}
    void SetInterval(int ms) override { FInterval = ms; }
    int Interval() const override { return FInterval; }
    void SetEnabled(bool enabled) override { FEnabled = enabled; }
    bool Enabled() const override { return FEnabled; }
    void Tick() { FTick(); }

private:
    std::function<void()> FTick;
    int FInterval = 0;
    bool FEnabled = false;
};

// Every player made while it lives gets a manual timer.
struct TManualTimers
{
    TManualTimers()
    {
        TTreeAnimate::SetTimerFactory([](std::function<void()> tick) -> std::unique_ptr<TAnimationTimer> {
            return std::make_unique<TManualTimer>(std::move(tick));
        });
    }
    ~TManualTimers() { TTreeAnimate::SetTimerFactory({}); }
    TManualTimers(const TManualTimers &) = delete;
    TManualTimers &operator=(const TManualTimers &) = delete;
};

// Ticks the player's timer while it is enabled, `limit` times at most;
// answers how many ticks ran.
inline int RunTicks(TTreeAnimate &player, int limit)
{
    int n = 0;
    while (n < limit && player.Timer() && player.Timer()->Enabled()) {
        static_cast<TManualTimer *>(player.Timer())->Tick();
        ++n;
    }
    return n;
}

struct TAnimationHost
{
    std::unique_ptr<TComponent> Owner;
    TTreeDocument *Tree;
    std::unique_ptr<TTreeAnimate> Player;

    TAnimationHost() : Owner(std::make_unique<TComponent>())
    {
        RegisterAnimationClasses();
        Owner->SetName(QStringLiteral("TreeEditor1"));
        Tree = new TTreeDocument(Owner.get());
        Tree->SetNoOwnerShapes(false);
        Player = std::make_unique<TTreeAnimate>();
        Player->SetName(QStringLiteral("TreeAnimate1"));
        Player->SetTree(Tree);
    }
    ~TAnimationHost() { Player.reset(); }

    TTreeNodeShape *Node(int x, int y, const QString &text = QStringLiteral("Node"))
    {
        TTreeNodeShape *n = Tree->AddShape(x, y, nullptr, text);
        return n;
    }
    // A new animation of kind T owned by the host, named and added.
    template <class T>
    T *Add(TTreeNodeShape *node = nullptr, int start = 0, int duration = 10)
    {
        auto *a = new T(Owner.get());
        a->SetName(NewAnimationName(*Owner, *Player, a->ClassName()));
        if constexpr (std::is_base_of_v<TNodeAnimation, T>)
            a->SetNode(node);
        a->SetStartFrame(start);
        a->SetDuration(duration);
        Player->Animations().Add(a);
        return a;
    }
    // The whole document as a file holds it.
    QByteArray Save(bool withPlayer = true)
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        SaveDocument(*Tree, buffer, withPlayer ? Player.get() : nullptr);
        return buffer.data();
    }
    void Load(const QByteArray &bytes)
    {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        LoadDocument(*Tree, buffer, Player);
    }
    // Ticks one frame.
    void Tick() { static_cast<TManualTimer *>(Player->Timer())->Tick(); }
};
