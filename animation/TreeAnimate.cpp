#include "animation/TreeAnimate.h"

#include "animation/AnimationKinds.h"
#include "core/ClassRegistry.h"
#include "core/CoreConst.h"
#include "core/Exceptions.h"
#include "core/Reader.h"
#include "core/Writer.h"
#include "model/TreeDocument.h"

#include <QBuffer>
#include <QTimer>
#include <algorithm>

namespace {

// The timer of a player: a QTimer on the user-interface thread.
class TQtAnimationTimer : public TAnimationTimer
{
public:
    explicit TQtAnimationTimer(std::function<void()> tick)
    {
        FTimer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&FTimer, &QTimer::timeout, [tick = std::move(tick)] { tick(); });
    }
    void SetInterval(int ms) override { FTimer.setInterval(ms); }
    int Interval() const override { return FTimer.interval(); }
    void SetEnabled(bool enabled) override
    {
        if (enabled)
            FTimer.start();
        else
            FTimer.stop();
    }
    bool Enabled() const override { return FTimer.isActive(); }

private:
    QTimer FTimer;
};

TAnimationTimerFactory &TimerFactory()
{
    static TAnimationTimerFactory factory;
    return factory;
}

// No change notices while the animations change the diagram: playing is no
// edit.
class TQuietPlay
{
public:
    explicit TQuietPlay(TTreeDocument *tree) : FTree(tree)
    {
        if (FTree)
            FTree->SuspendChanges();
    }
    ~TQuietPlay()
    {
        if (FTree)
            FTree->ResumeChanges();
    }
    TQuietPlay(const TQuietPlay &) = delete;
    TQuietPlay &operator=(const TQuietPlay &) = delete;

private:
    TTreeDocument *FTree;
};

} // namespace

// ---------------------------------------------------------------------------
// TAnimations

int TAnimations::IndexOf(const TAnimation *animation) const
{
    const auto it = std::find(FItems.begin(), FItems.end(), animation);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TAnimations::Add(TAnimation *animation)
{
    Insert(Count(), animation);
}

void TAnimations::Insert(int index, TAnimation *animation)
{
    if (!animation || animation->FPlayer == FPlayer)
        return;
    if (animation->FPlayer)
        animation->FPlayer->Animations().Remove(animation);
    index = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + index, animation);
    animation->FPlayer = FPlayer;
}

void TAnimations::Remove(TAnimation *animation)
{
    const int i = IndexOf(animation);
    if (i < 0)
        return;
    FItems.erase(FItems.begin() + i);
    animation->FSaved.reset();
    animation->FHeld.reset();
    animation->FPlayer = nullptr;
}

void TAnimations::Move(int from, int to)
{
    if (from < 0 || from >= Count() || to < 0 || to >= Count() || from == to)
        return;
    TAnimation *a = FItems[size_t(from)];
    FItems.erase(FItems.begin() + from);
    FItems.insert(FItems.begin() + to, a);
}

void TAnimations::Clear()
{
    const std::vector<TAnimation *> items = std::move(FItems);
    FItems.clear();
    for (TAnimation *a : items) {
        a->FSaved.reset();
        a->FHeld.reset();
        a->FPlayer = nullptr;
    }
    if (!FPlayer->Destroying())
        Fire(FPlayer->OnClear, FPlayer);
}

// ---------------------------------------------------------------------------
// TTreeAnimate

const TClassInfo &TTreeAnimate::StaticClassInfo()
{
    using N = TTreeAnimate;
    static const TClassInfo info = TClassBuilder<N>("TTreeAnimate", TComponent::StaticClassInfo())
                                       .Reference<TTreeDocument>("Tree", &N::Tree, &N::SetTree)
                                       .Stored([](const N &) { return true; })
                                       .Boolean("Loop", &N::Loop, &N::SetLoop, false)
                                       .Integer("Speed", &N::Speed, &N::SetSpeed, kDefaultSpeed)
                                       .Event("OnClear")
                                       .Event("OnContinue")
                                       .Event("OnFrame")
                                       .Event("OnPause")
                                       .Event("OnPlay")
                                       .Event("OnStop");
    return info;
}

TTreeAnimate::TTreeAnimate(TComponent *owner) : TComponent(owner), FAnimations(this) {}

TTreeAnimate::~TTreeAnimate()
{
    // Marked as going first, so that stopping and clearing tell nobody.
    FDestroyingSelf = true;
    Stop();
    const std::vector<TAnimation *> items(FAnimations.begin(), FAnimations.end());
    FAnimations.Clear();
    for (TAnimation *a : items)
        delete a;
    SetTree(nullptr);
}

void TTreeAnimate::SetTree(TTreeDocument *tree)
{
    if (tree == FTree)
        return;
    if (FTree) {
        RemoveFreeNotification(FTree);
        FTree->RemoveAttachment(this);
    }
    FTree = tree;
    if (FTree) {
        FreeNotification(FTree);
        FTree->AddAttachment(this);
    }
}

bool TTreeAnimate::HoldsPart(const TComponent *component) const
{
    if (component == this)
        return true;
    auto *a = dynamic_cast<const TAnimation *>(component);
    return a && a->Player() == this;
}

namespace {

// Reads a player's own record: references name the diagram or its nodes,
// nothing else; nothing is asked.
class TStateReader : public TReader
{
public:
    TStateReader(QIODevice &stream, TTreeDocument *tree) : TReader(stream), FTree(tree) {}
    bool Error(const QString &) override { return true; }

protected:
    TComponent *ResolveReference(const QString &ident) override
    {
        if (!FTree)
            return nullptr;
        // A name, or the owner's name and a name ("TreeEditor1.Node1").
        TComponent *owner = FTree->Owner();
        QString name = ident;
        if (const int dot = ident.indexOf(QLatin1Char('.')); dot >= 0) {
            if (!owner || ident.left(dot).compare(owner->Name(), Qt::CaseInsensitive) != 0)
                return nullptr;
            name = ident.mid(dot + 1);
        }
        if (name.compare(FTree->Name(), Qt::CaseInsensitive) == 0)
            return FTree;
        auto *node = dynamic_cast<TTreeNodeShape *>(owner ? owner->FindComponent(name) : nullptr);
        return node && node->Tree() == FTree ? node : nullptr;
    }

private:
    TTreeDocument *FTree;
};

} // namespace

QByteArray TTreeAnimate::SaveState() const
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    TWriter writer(buffer);
    writer.WriteComponent(const_cast<TTreeAnimate &>(*this));
    writer.FlushBuffer();
    return bytes;
}

void TTreeAnimate::RestoreState(const QByteArray &state)
{
    if (state.isEmpty())
        return;
    Stop();
    TTreeDocument *tree = FTree;
    TComponent *owner = FAnimations.Count() > 0 ? FAnimations[0]->Owner() : (tree ? tree->Owner() : nullptr);
    const std::vector<TAnimation *> old(FAnimations.begin(), FAnimations.end());
    FAnimations.Clear();
    for (TAnimation *a : old)
        delete a;
    // What the record leaves out holds its default.
    FLoop = false;
    SetSpeed(kDefaultSpeed);
    QBuffer buffer;
    buffer.setData(state);
    buffer.open(QIODevice::ReadOnly);
    TStateReader reader(buffer, tree);
    reader.SetOwner(owner ? owner : this);
    try {
        reader.ReadRootComponent(*this);
    } catch (const std::exception &) {
        // A record written here reads back; what did not is left out.
    }
    SetTree(tree);
}

void TTreeAnimate::Notification(TComponent *component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FTree) {
        // The diagram goes: nothing is left to put back.
        for (TAnimation *a : FAnimations)
            if (dynamic_cast<TTreeColorAnimation *>(a))
                a->DropSavedValue();
        FTree = nullptr;
    }
}

void TTreeAnimate::SetSpeed(int value)
{
    FSpeed = std::clamp(value, kMinSpeed, kMaxSpeed);
    if (FTimer)
        FTimer->SetInterval(Interval());
}

int TTreeAnimate::IntervalFor(int speed)
{
    // A speed of 0 would divide by zero: it plays as the slowest.
    if (speed == 0)
        speed = 1;
    const long long square = static_cast<long long>(speed) * speed;
    return static_cast<int>(10000 / square);
}

void TTreeAnimate::SetTimerFactory(TAnimationTimerFactory factory)
{
    TimerFactory() = std::move(factory);
}

void TTreeAnimate::EnsureTimer()
{
    if (FTimer)
        return;
    if (FRetiredTimer) {
        FTimer = std::move(FRetiredTimer);
        return;
    }
    auto tick = [this] { NextFrame(); };
    if (TimerFactory())
        FTimer = TimerFactory()(tick);
    else
        FTimer = std::make_unique<TQtAnimationTimer>(tick);
    FTimer->SetEnabled(false);
}

void TTreeAnimate::Play()
{
    if (FState == asPlaying)
        return;
    // Playing again from a pause starts from the beginning: the values of
    // the pause go back first, so they are never taken for the saved ones.
    if (FState == asPaused)
        Stop();
    FFrame = -1;
    EnsureTimer();
    FTimer->SetInterval(Interval());
    if (FAnimations.Count() == 0)
        return;
    {
        TQuietPlay quiet(FTree);
        for (int i = 0; i < FAnimations.Count(); ++i) {
            TAnimation *a = FAnimations[i];
            a->FSaved.reset();
            if (a->IsActive())
                a->SaveValue();
        }
    }
    FLastFrame = 0;
    bool first = true;
    for (TAnimation *a : FAnimations) {
        FLastFrame = first ? a->EndFrame() : std::max(FLastFrame, a->EndFrame());
        first = false;
    }
    FState = asPlaying;
    Fire(OnPlay, this);
    if (FTimer && FState == asPlaying)
        FTimer->SetEnabled(true);
}

void TTreeAnimate::NextFrame()
{
    if (FState == asStopped)
        return;
    ++FTickDepth;
    struct TDepth
    {
        int &Depth;
        ~TDepth() { --Depth; }
    } depth{FTickDepth};
    {
        TQuietPlay quiet(FTree);
        ++FFrame;
        for (int i = 0; i < FAnimations.Count(); ++i) {
            TAnimation *a = FAnimations[i];
            if (!a->IsActive())
                continue;
            a->FCurrentFrame = FFrame;
            if (FFrame == a->StartFrame()) {
                a->StartAnimation();
            } else if (FFrame > a->StartFrame() && FFrame <= a->EndFrame() + 1) {
                a->Step();
                // The animation may have gone in its own OnFrame.
                if (FAnimations.Items(i) != a)
                    continue;
                if (a->EndFrame() < FFrame) {
                    a->StopAnimation();
                    if (a->Loop())
                        a->StartAnimation();
                }
            }
        }
    }
    Fire(OnFrame, this);
    if (FState != asStopped && FLastFrame < FFrame) {
        Stop();
        if (FLoop)
            Play();
    }
}

void TTreeAnimate::Stop()
{
    // A timer is not freed in its own tick: it is kept, disabled, for the
    // next Play.
    if (FTickDepth > 0 && FTimer) {
        FTimer->SetEnabled(false);
        FRetiredTimer = std::move(FTimer);
    }
    FTimer.reset();
    if (FTickDepth == 0)
        FRetiredTimer.reset();
    FFrame = -1;
    if (FHolding)
        ReleaseValues();
    if (FState != asStopped) {
        TQuietPlay quiet(FTree);
        for (TAnimation *a : FAnimations)
            if (a->IsActive())
                a->StopAnimation();
        // Last saved first: an animation that changed the value at Play (a
        // text typed in, say) saved it before a later one saved the changed
        // value.
        for (int i = FAnimations.Count() - 1; i >= 0; --i)
            if (FAnimations[i]->HasSavedValue())
                FAnimations[i]->RestoreValue();
    }
    FState = asStopped;
    if (!Destroying())
        Fire(OnStop, this);
}

void TTreeAnimate::Pause()
{
    if (FState != asPlaying)
        return;
    if (FTimer)
        FTimer->SetEnabled(false);
    for (TAnimation *a : FAnimations)
        a->PauseAnimation();
    FState = asPaused;
    Fire(OnPause, this);
}

void TTreeAnimate::Continue()
{
    if (FState != asPaused)
        return;
    for (TAnimation *a : FAnimations)
        a->ResumeAnimation();
    FState = asPlaying;
    Fire(OnContinue, this);
    if (FTimer && FState == asPlaying)
        FTimer->SetEnabled(true);
}

void TTreeAnimate::Step()
{
    if (FState == asStopped)
        return;
    NextFrame();
    if (FState == asPlaying)
        Pause();
}

void TTreeAnimate::HoldValues()
{
    if (FState == asStopped || FHolding)
        return;
    TQuietPlay quiet(FTree);
    for (TAnimation *a : FAnimations)
        a->FHeld = a->FSaved ? a->CaptureValue() : nullptr;
    for (int i = FAnimations.Count() - 1; i >= 0; --i) {
        TAnimation *a = FAnimations[i];
        if (a->FSaved)
            a->ApplyValue(*a->FSaved);
    }
    FHolding = true;
}

void TTreeAnimate::ReleaseValues()
{
    if (!FHolding)
        return;
    FHolding = false;
    TQuietPlay quiet(FTree);
    for (int i = FAnimations.Count() - 1; i >= 0; --i) {
        TAnimation *a = FAnimations[i];
        if (a->FHeld && a->FSaved)
            a->ApplyValue(*a->FHeld);
        a->FHeld.reset();
    }
}

void TTreeAnimate::GetChildren(const std::function<void(TComponent *)> &proc) const
{
    for (TAnimation *a : FAnimations)
        proc(a);
}

// ---------------------------------------------------------------------------
// TAnimation

const TClassInfo &TAnimation::StaticClassInfo()
{
    using N = TAnimation;
    static const TClassInfo info = TClassBuilder<N>("TAnimation", TComponent::StaticClassInfo())
                                       .Integer("Duration", &N::Duration, &N::SetDuration, 10)
                                       .Boolean("Enabled", &N::Enabled, &N::SetEnabled, true)
                                       .Boolean("Loop", &N::Loop, &N::SetLoop, false)
                                       .Integer("StartFrame", &N::StartFrame, &N::SetStartFrame)
                                       .Event("OnFrame");
    return info;
}

TAnimation::TAnimation(TComponent *owner) : TComponent(owner) {}

TAnimation::~TAnimation()
{
    if (FPlayer)
        FPlayer->Animations().Remove(this);
}

void TAnimation::SetDuration(int value)
{
    // A duration of 0 frames would divide by zero in every kind's step.
    FDuration = std::max(1, value);
}

void TAnimation::SetStartFrame(int value)
{
    FStartFrame = std::max(0, value);
}

TTreeDocument *TAnimation::Tree() const
{
    return FPlayer ? FPlayer->Tree() : nullptr;
}

bool TAnimation::PlayerDestroying() const
{
    return FPlayer && FPlayer->Destroying();
}

QString TAnimation::Caption() const
{
    return CaptionOf(ClassName());
}

QString TAnimation::CaptionOf(const QString &className)
{
    QString s = className;
    if (s.startsWith(QLatin1Char('T')))
        s.remove(0, 1);
    static const QString kTail = QStringLiteral("Animation");
    if (s.endsWith(kTail, Qt::CaseInsensitive))
        s.chop(kTail.size());
    QString caption;
    for (int i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (i > 0 && c.toUpper() == c)
            caption += QLatin1Char(' ');
        caption += c;
    }
    return caption;
}

void TAnimation::RestoreValue()
{
    if (FSaved)
        ApplyValue(*FSaved);
    FSaved.reset();
    FHeld.reset();
}

void TAnimation::Step()
{
    Fire(OnFrame, this);
}

void TAnimation::SaveValue()
{
    FSaved = CaptureValue();
}

void TAnimation::DropSavedValue()
{
    FSaved.reset();
    FHeld.reset();
}

void TAnimation::ResumeAnimation()
{
    if (FPlayState == apsPaused)
        FPlayState = apsPlaying;
}

void TAnimation::PauseAnimation()
{
    if (FPlayState == apsPlaying)
        FPlayState = apsPaused;
}

void TAnimation::StartAnimation()
{
    FPlayState = apsPlaying;
}

void TAnimation::StopAnimation()
{
    FPlayState = apsStopped;
}

void TAnimation::AttachToParent(TComponent *parent)
{
    auto *player = dynamic_cast<TTreeAnimate *>(parent);
    if (!player)
        throw EReadError(SInvalidImage); // only a player holds animations
    player->Animations().Add(this);
}

// ---------------------------------------------------------------------------
// The kinds' registry

namespace {

std::vector<TAnimationClass> &Classes()
{
    static std::vector<TAnimationClass> list;
    return list;
}

template <class T>
void AddKind()
{
    RegisterClass<T>();
    Classes().push_back({&T::StaticClassInfo(), [](TComponent *owner) -> TAnimation * { return new T(owner); }});
}

} // namespace

const std::vector<TAnimationClass> &AnimationClasses()
{
    return Classes();
}

const TAnimationClass *FindAnimationClass(const QString &className)
{
    for (const TAnimationClass &c : Classes())
        if (c.Info->Name().compare(className, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

void RegisterAnimationClasses()
{
    RegisterClass<TTreeAnimate>();
    if (!Classes().empty())
        return;
    AddKind<TFontSizeAnimation>();
    AddKind<TMovementAnimation>();
    AddKind<TTransparencyAnimation>();
    AddKind<TTextTranspAnimation>();
    AddKind<TVisibleAnimation>();
    AddKind<TNodeColorAnimation>();
    AddKind<TTreeColorAnimation>();
    AddKind<TCustomAnimation>();
    AddKind<TAddTextAnimation>();
    AddKind<TMoveTextAnimation>();
    AddKind<TTextAngleAnimation>();
    AddKind<TTextFlashAnimation>();
    AddKind<TTextColorAnimation>();
    AddKind<TNodeZoomAnimation>();
}

QString NewAnimationName(const TComponent &owner, const TTreeAnimate &player, const QString &className)
{
    QString base = className;
    if (base.startsWith(QLatin1Char('T')))
        base.remove(0, 1);
    const QString byCount = base + QString::number(player.Animations().Count() + 1);
    if (!owner.FindComponent(byCount))
        return byCount;
    return owner.FirstFreeName(base);
}
