#pragma once
// The animation editor: a tool window over the player of the open diagram.
// On the left the animations by name, in the middle a timeline of bars
// under a ruler of frame numbers (a bar starts at the animation's first
// frame and is as long as its duration), on the right an inspector of the
// selected animation, above them the play controls, Add, Delete, Move Up
// and Move Down, the speed, the loop switch and the timeline's scale.
//
// The timeline and the list are diagrams of their own: the timeline is in
// design mode with one TNodeAnimate bar per animation (row i at
// i x kRowHeight + 1), moved and resized through the diagram's own mouse
// handling, which snaps to frames; the list holds one node per animation
// with its caption and scrolls vertically with the timeline.
//
// Every change made here is an edit of the document: it reaches the
// diagram as a change notice (the animation, or the player for its list,
// speed and loop) inside a step, so the main window marks the document
// modified and undo records it; Changed() tells the window as well. A drag
// of a bar is one step however many frames it passes.
//
// While the editor shows a player it handles the player's notifications
// (the ones set before are called after its own) and puts them back when
// it lets the player go (SetPlayer(nullptr), or when it goes).

#include "model/TreeChanges.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QSlider;
class QSpinBox;
class QToolButton;
class TAnimation;
class TComponent;
class TInspectorItem;
class TKorInspector;
class TNodeAnimate;
class TTree;
class TTreeAnimate;
class TTreeNodeShape;
class TTreeRuler;
class TTreeStep;
struct TAnimationClass;

class TTreeAnimateEditor : public QWidget, private TTreeChangeListener
{
    Q_OBJECT
public:
    static constexpr int kRowHeight = 12;
    // A bar's height: 9 for rows of 12.
    static constexpr int kBarHeight = (kRowHeight - 10) / 2 + 8;
    // The list's font size.
    static constexpr int kListFontSize = (kRowHeight - 10) / 4 + 7;
    // The width of a name in the list.
    static constexpr int kListEntryWidth = 100;

    explicit TTreeAnimateEditor(QWidget *parent = nullptr);
    ~TTreeAnimateEditor() override;

    // The player edited (none: the editor shows nothing) and the component
    // that owns the animations added (by default the player's owner).
    void SetPlayer(TTreeAnimate *player, TComponent *animationOwner = nullptr);
    TTreeAnimate *Player() const { return FPlayer; }
    // The views again from the player (after a file was read, say).
    void Rebuild();

    // The timeline's scale: positions 1 ... 6 (3 at first) give 36, 24,
    // 12, 6, 4 and 3 pixels per frame.
    static int PixelsPerFrameFor(int position);
    int PixelsPerFrame() const { return FPixelsPerFrame; }
    void SetScale(int position);

    // The selected animation's index (-1: none); list and timeline agree.
    int SelectedIndex() const { return FSelected; }
    void SelectIndex(int index);
    TAnimation *SelectedAnimation() const;

    // ---- The commands (the tool bar's buttons call these)
    // Writes the bars back into the animations, then plays.
    void Play();
    void SetPaused(bool paused);
    void Stop();
    void NextFrame();
    // Asks the gallery for a kind, then adds it.
    void AddFromGallery();
    // Adds an animation of a kind, named after it, and selects it.
    TAnimation *AddAnimation(const TAnimationClass &kind);
    void DeleteSelected();
    // Moves the selected animation one place earlier (-1) or later (+1)
    // in the playing order; it stays selected.
    void MoveSelected(int delta);
    void SetSpeed(int speed);
    void SetLoop(bool loop);
    // Every bar's place and length into its animation (StartFrame = X0 div
    // pixels per frame, Duration = width div pixels per frame).
    void WriteBarsBack();

    // ---- Inspector
    // The inspector's items in order: Node, Enabled, Start, Duration, Loop,
    // Start Color, End Color, From Value, To Value.
    TKorInspector *Inspector() const { return FInspector; }
    TInspectorItem *InspectorItem(int index) const;
    // The names the Node row offers: every node's first text line, else
    // its name, else "Node " and its index.
    static QString NodeCaption(const TTreeNodeShape *node, int index);

    // ---- Parts, for the window and for tests
    QToolButton *PlayButton() const { return FPlay; }
    QToolButton *PauseButton() const { return FPause; }
    QToolButton *StopButton() const { return FStop; }
    QToolButton *NextFrameButton() const { return FNext; }
    QToolButton *AddButton() const { return FAdd; }
    QToolButton *DeleteButton() const { return FDelete; }
    QToolButton *MoveUpButton() const { return FMoveUp; }
    QToolButton *MoveDownButton() const { return FMoveDown; }
    QSlider *SpeedBar() const { return FSpeed; }
    QCheckBox *LoopBox() const { return FLoop; }
    QSpinBox *ScaleBox() const { return FScale; }
    TTree *Timeline() const { return FTimeline; }
    TTree *List() const { return FList; }
    TTreeRuler *Ruler() const { return FRuler; }
    // The bar and the list entry of an animation (null out of range).
    TNodeAnimate *Bar(int index) const;
    TTreeNodeShape *ListEntry(int index) const;
    // The timeline's x of a frame, in its client pixels.
    int FrameX(int frame) const;
    // The last frame of the animations (the largest end frame, 0 without).
    int LastFrame() const;

signals:
    // An edit of the animation was made here.
    void Changed();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void SetUpTimeline();
    void SetUpList();
    // The rows of one view scrolled: the other view's rows follow.
    void ScrollFollows(TTree *from, TTree *to);
    void ReleasePlayer();
    void BindPlayer();
    void FillControls();
    void FillInspector();
    void UpdateButtons();
    // One bar again from its animation (place, length, colour).
    void UpdateBar(int index);
    // The page and the grid follow the scale and the last frame.
    void UpdatePage();
    void FollowFrame();
    void DrawDecoration();
    // The bar hooks of the timeline: rows never change, frames snap.
    void MovingBar(TTreeNodeShape *node, int &dx, int &dy);
    void ResizingBar(TTreeNodeShape *node, int corner, int &dx, int &dy);
    // Runs an edit of an element (an animation, or the player) with its
    // notice: in the drag's step while a bar is dragged, else as one step.
    void Edit(TComponent *element, const QString &property, const std::function<void()> &change);
    void EndDrag();
    void InspectorChanged(TInspectorItem *item);
    // Edits made elsewhere (taking a step back, making it again) show.
    void TreeChanged(TTreeDocument *tree, const TTreeChange &change) override;
    void TreeDestroying(TTreeDocument *tree) override;

    TTreeAnimate *FPlayer = nullptr;
    TComponent *FOwner = nullptr;
    // The diagram whose notices the editor hears.
    TTreeDocument *FListened = nullptr;
    // Set while the editor's own edits send their notices.
    int FEditing = 0;
    // The player's notifications from before the editor took it.
    struct TSavedEvents;
    std::unique_ptr<TSavedEvents> FSaved;
    // The step of a bar being dragged, begun at its first edit.
    std::unique_ptr<TTreeStep> FDragStep;
    int FPixelsPerFrame = 12;
    int FSelected = -1;
    bool FFilling = false;
    bool FSyncingScroll = false;
    bool FDestroying = false;
    std::vector<TNodeAnimate *> FBars;
    std::vector<TTreeNodeShape *> FEntries;

    QToolButton *FPlay;
    QToolButton *FPause;
    QToolButton *FStop;
    QToolButton *FNext;
    QToolButton *FAdd;
    QToolButton *FDelete;
    QToolButton *FMoveUp;
    QToolButton *FMoveDown;
    QSlider *FSpeed;
    QCheckBox *FLoop;
    QSpinBox *FScale;
    TTree *FTimeline;
    TTree *FList;
    TTreeRuler *FRuler;
    TKorInspector *FInspector;
};
