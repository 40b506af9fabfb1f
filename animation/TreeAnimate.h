#pragma once
// Animations and their player.
//
// A player (TTreeAnimate) is linked to one diagram and holds an ordered
// list of animations; each animation changes one property of one node (or
// of the diagram) over a range of frames. Playing advances a frame counter
// on a timer and lets every active animation apply its value for the
// frame; when playing ends every animated property is put back as it was
// before Play, so playing never changes what a file holds.
//
//   TTreeAnimate player(host);
//   player.SetTree(tree);
//   auto *move = new TMovementAnimation(host);
//   move->SetNode(node); move->SetEndValue(200);
//   player.Animations().Add(move);
//   player.Play();          // the timer calls NextFrame()
//
// Playing is no edit: animations use the elements' plain setters, under
// TTreeQuietChanges, so no change notice goes out and nothing is marked
// modified or recorded for undo. Values are saved as exact copies of what
// an animation touches (the node's own font, text, pen, brush, gradient,
// position) and put back the same way, so a node that had no font of its
// own has none again afterwards.
//
// The timer is a QTimer by default; SetTimerFactory puts another in its
// place (tests drive the frames themselves, without waiting).

#include "core/Colors.h"
#include "core/Component.h"
#include "core/Events.h"
#include "model/TreeChanges.h"

#include <functional>
#include <memory>
#include <vector>

class TAnimation;
class TTreeAnimate;
class TTreeDocument;
class TTreeNodeShape;

DX_ENUM(TAnimateState, asStopped, asPlaying, asPaused)

// The periodic callback of a player.
class TAnimationTimer
{
public:
    virtual ~TAnimationTimer() = default;
    virtual void SetInterval(int milliseconds) = 0;
    virtual int Interval() const = 0;
    virtual void SetEnabled(bool enabled) = 0;
    virtual bool Enabled() const = 0;
};
// Makes a (disabled) timer that calls `tick` on every period.
using TAnimationTimerFactory = std::function<std::unique_ptr<TAnimationTimer>(std::function<void()> tick)>;

// The animations of a player, in playing order. The list does not own
// them: an animation lives as long as its owner component (or its player,
// which frees them when it goes).
class TAnimations
{
public:
    explicit TAnimations(TTreeAnimate *player) : FPlayer(player) {}

    int Count() const { return static_cast<int>(FItems.size()); }
    TAnimation *Items(int index) const
    {
        return index >= 0 && index < Count() ? FItems[size_t(index)] : nullptr;
    }
    TAnimation *operator[](int index) const { return Items(index); }
    int IndexOf(const TAnimation *animation) const;
    // Appends an animation (taking it from another player first) and makes
    // this list's player its player.
    void Add(TAnimation *animation);
    void Insert(int index, TAnimation *animation);
    // Takes an animation out of the list (it stays alive).
    void Remove(TAnimation *animation);
    // Moves the animation at `from` to `to`.
    void Move(int from, int to);
    // Empties the list (the animations stay alive); the player's OnClear
    // fires unless the player is going.
    void Clear();
    std::vector<TAnimation *>::const_iterator begin() const { return FItems.begin(); }
    std::vector<TAnimation *>::const_iterator end() const { return FItems.end(); }

private:
    TTreeAnimate *FPlayer;
    std::vector<TAnimation *> FItems;
};

// The player is an attachment of its diagram: undo keeps its state (speed,
// loop, the animations in order with all they hold) and puts it back.
class TTreeAnimate : public TComponent, public TTreeAttachment
{
    DX_OBJECT(TTreeAnimate)
public:
    static constexpr int kDefaultSpeed = 50;
    static constexpr int kMinSpeed = 1;
    static constexpr int kMaxSpeed = 100;

    explicit TTreeAnimate(TComponent *owner = nullptr);
    // Stops (without OnStop, values put back) and frees its animations.
    ~TTreeAnimate() override;

    // The diagram the animations play on.
    TTreeDocument *Tree() const { return FTree; }
    void SetTree(TTreeDocument *tree);

    TAnimations &Animations() { return FAnimations; }
    const TAnimations &Animations() const { return FAnimations; }
    bool Loop() const { return FLoop; }
    void SetLoop(bool value) { FLoop = value; }
    int Speed() const { return FSpeed; }
    // Kept within 1 ... 100; a running timer takes the new interval.
    void SetSpeed(int value);
    TAnimateState State() const { return FState; }
    // True while the player is being freed.
    bool Destroying() const { return FDestroyingSelf || IsDestroying(); }

    // The timer's period for a speed: 10000 div (speed x speed) ms.
    static int IntervalFor(int speed);
    int Interval() const { return IntervalFor(FSpeed); }
    // The timer, once playing has created it (null before and after).
    TAnimationTimer *Timer() const { return FTimer.get(); }
    // The timers of every player made from now on; an empty factory puts
    // the QTimer back.
    static void SetTimerFactory(TAnimationTimerFactory factory);

    // The frame counter (-1 when not playing) and the last frame of the
    // run (the largest end frame of all animations).
    int Frame() const { return FFrame; }
    int LastFrame() const { return FLastFrame; }

    void Play();
    void Stop();
    void Pause();
    void Continue();
    // One frame while not stopped, then paused.
    void Step();
    // The timer's tick: the next frame of every active animation.
    void NextFrame();

    // Saving while playing: the values from before Play go back into the
    // diagram for the time of the save, and the played ones return after.
    void HoldValues();
    void ReleaseValues();
    bool Holding() const { return FHolding; }

    TNotifyEvent OnClear;
    TNotifyEvent OnContinue;
    TNotifyEvent OnFrame;
    TNotifyEvent OnPause;
    TNotifyEvent OnPlay;
    TNotifyEvent OnStop;
    // An animation's node was freed (the owner's business; not stored).
    TEvent<TTreeNodeShape *> OnNodeRemoved;

    // Files: the animations are the player's child records.
    void GetChildren(const std::function<void(TComponent *)> &proc) const override;

    // ---- TTreeAttachment
    TComponent *AttachedComponent() override { return this; }
    // The player and the animations of its list.
    bool HoldsPart(const TComponent *component) const override;
    // The player's record with its animations.
    QByteArray SaveState() const override;
    // Stops, frees the animations and reads the record back: its
    // animations are made anew, owned as the ones before were (by the
    // diagram's owner when there were none), their nodes found by name in
    // the diagram.
    void RestoreState(const QByteArray &state) override;

protected:
    void Notification(TComponent *component, TOperation operation) override;

private:
    friend class TAnimation;
    friend class TAnimations;
    void EnsureTimer();

    TAnimations FAnimations;
    TTreeDocument *FTree = nullptr;
    std::unique_ptr<TAnimationTimer> FTimer;
    // Stopped in its own tick: kept until the next Play or Stop.
    std::unique_ptr<TAnimationTimer> FRetiredTimer;
    int FTickDepth = 0;
    int FSpeed = kDefaultSpeed;
    int FFrame = -1;
    int FLastFrame = 0;
    TAnimateState FState = asStopped;
    bool FLoop = false;
    bool FHolding = false;
    bool FDestroyingSelf = false;
};

// The play state of one animation.
enum TAnimationPlayState : uint8_t { apsStopped = 0, apsPlaying = 1, apsPaused = 2 };

// What an animation changes, copied so that it can be put back exactly.
class TAnimatedValue
{
public:
    virtual ~TAnimatedValue() = default;
};

class TAnimation : public TComponent
{
    DX_OBJECT(TAnimation)
public:
    explicit TAnimation(TComponent *owner = nullptr);
    // Leaves its player's list.
    ~TAnimation() override;

    // Length in frames, at least 1.
    int Duration() const { return FDuration; }
    void SetDuration(int value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    bool Loop() const { return FLoop; }
    void SetLoop(bool value) { FLoop = value; }
    // The first frame, 0 or later.
    int StartFrame() const { return FStartFrame; }
    void SetStartFrame(int value);
    int EndFrame() const { return FStartFrame + FDuration - 1; }
    TNotifyEvent OnFrame;

    TTreeAnimate *Player() const { return FPlayer; }
    TTreeDocument *Tree() const;
    int CurrentFrame() const { return FCurrentFrame; }
    TAnimationPlayState PlayState() const { return FPlayState; }

    // The display name of the kind ("Node Zoom").
    QString Caption() const;
    static QString CaptionOf(const QString &className);

    virtual bool IsActive() const { return FEnabled; }
    // The property as it was before playing goes back (only when it was
    // saved, and only where its element still exists).
    virtual void RestoreValue();
    // Applies the value of the current frame, then fires OnFrame.
    virtual void Step();
    // Remembers the property's value before playing.
    virtual void SaveValue();
    virtual void ResumeAnimation();
    virtual void PauseAnimation();
    virtual void StartAnimation();
    virtual void StopAnimation();
    // After a node is first chosen in the editor: start and end values
    // taken from the node where they are unset.
    virtual void TakeValuesFromNode() {}
    // A new animation in the gallery's preview: values that show the kind.
    virtual void ApplyDefaults() {}

    // Whether a value was saved at Play (and not yet put back).
    bool HasSavedValue() const { return FSaved != nullptr; }

    // A file's animation whose parent record is a player joins it.
    void AttachToParent(TComponent *parent) override;

protected:
    // What the animation changes, as it is now; null when there is nothing
    // to copy (no node). The kinds' copies put back exactly what they took.
    virtual std::unique_ptr<TAnimatedValue> CaptureValue() const { return nullptr; }
    virtual void ApplyValue(const TAnimatedValue &value) {}
    // The saved value is of no use any more (its element went).
    void DropSavedValue();
    void SetPlayState(TAnimationPlayState state) { FPlayState = state; }
    // The player is going away.
    bool PlayerDestroying() const;

private:
    friend class TTreeAnimate;
    friend class TAnimations;

    TTreeAnimate *FPlayer = nullptr;
    std::unique_ptr<TAnimatedValue> FSaved;
    std::unique_ptr<TAnimatedValue> FHeld;
    int FDuration = 10;
    int FStartFrame = 0;
    int FCurrentFrame = 0;
    TAnimationPlayState FPlayState = apsStopped;
    bool FEnabled = true;
    bool FLoop = false;
};

// ---------------------------------------------------------------------------
// The kinds' registry

struct TAnimationClass
{
    const TClassInfo *Info;
    std::function<TAnimation *(TComponent *owner)> Create;
};
// Every kind in registration order (filled by RegisterAnimationClasses).
const std::vector<TAnimationClass> &AnimationClasses();
const TAnimationClass *FindAnimationClass(const QString &className);
// Registers the player and every kind for files and fills the list above.
void RegisterAnimationClasses();

// The name a new animation of a class gets in `owner`: the class name
// without its leading "T" followed by the number of animations the player
// then holds, or, when another component has that name, by the first free
// number.
QString NewAnimationName(const TComponent &owner, const TTreeAnimate &player, const QString &className);
