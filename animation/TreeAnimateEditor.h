#pragma once
// The animation editor: a tool window over the player of the open diagram.
// On the left the animations by name, in the middle a timeline of bars
// under a ruler of frame numbers (a bar starts at the animation's first
// frame and is as long as its duration), on the right an inspector of the
// selected animation, above them the play controls, Add and Delete, the
// speed, the loop switch and the timeline's scale.
//
// Every change made here is an edit of the document: it reaches the
// diagram as a change notice (the animation, or the player for its list,
// speed and loop), so the main window marks the document modified and undo
// records it; Changed() tells the window as well.
//
// While the editor shows a player it handles the player's notifications
// (the ones set before are called after its own) and puts them back when
// it lets the player go (SetPlayer(nullptr), or when it goes).

#include <QWidget>
#include <functional>

class QCheckBox;
class QListView;
class QScrollArea;
class QSlider;
class QSpinBox;
class QToolButton;
class TAnimation;
class TAnimationListModel;
class TAnimationTimeline;
class TComponent;
class TInspectorItem;
class TKorInspector;
class TTreeAnimate;
class TTreeNodeShape;
struct TAnimationClass;

class TTreeAnimateEditor : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kRowHeight = 12;
    static constexpr int kRulerHeight = 16;

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
    void Play();
    void SetPaused(bool paused);
    void Stop();
    void NextFrame();
    // Asks the gallery for a kind, then adds it.
    void AddFromGallery();
    // Adds an animation of a kind, named after it, and selects it.
    TAnimation *AddAnimation(const TAnimationClass &kind);
    void DeleteSelected();
    void SetSpeed(int speed);
    void SetLoop(bool loop);

    // ---- Bars, as dragging them does (distances in pixels)
    void MoveBar(int index, int dx);
    void ResizeBar(int index, bool leftEdge, int dx);

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
    QSlider *SpeedBar() const { return FSpeed; }
    QCheckBox *LoopBox() const { return FLoop; }
    QSpinBox *ScaleBox() const { return FScale; }
    QListView *List() const { return FList; }
    TAnimationTimeline *Timeline() const { return FTimeline; }
    QScrollArea *TimelineArea() const { return FTimelineArea; }

signals:
    // An edit of the animation was made here.
    void Changed();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void ReleasePlayer();
    void BindPlayer();
    void FillControls();
    void FillInspector();
    void UpdateButtons();
    void FollowFrame();
    // Runs an edit of an element (an animation, or the player) as one step
    // with its notice.
    void Edit(TComponent *element, const QString &property, const std::function<void()> &change);
    void InspectorChanged(TInspectorItem *item);

    TTreeAnimate *FPlayer = nullptr;
    TComponent *FOwner = nullptr;
    // The player's notifications from before the editor took it.
    struct TSavedEvents;
    std::unique_ptr<TSavedEvents> FSaved;
    int FPixelsPerFrame = 12;
    int FSelected = -1;
    bool FFilling = false;

    QToolButton *FPlay;
    QToolButton *FPause;
    QToolButton *FStop;
    QToolButton *FNext;
    QToolButton *FAdd;
    QToolButton *FDelete;
    QSlider *FSpeed;
    QCheckBox *FLoop;
    QSpinBox *FScale;
    QListView *FList;
    TAnimationListModel *FModel;
    TAnimationTimeline *FTimeline;
    QScrollArea *FTimelineArea;
    TKorInspector *FInspector;
};

// The timeline: a ruler, then one row per animation with its bar. Only the
// rows in view are drawn, so a thousand animations scroll as one.
class TAnimationTimeline : public QWidget
{
    Q_OBJECT
public:
    explicit TAnimationTimeline(TTreeAnimateEditor *editor);

    // The bar of an animation in widget coordinates.
    QRect BarRect(int index) const;
    // The animation whose bar (or row) a point is on; -1 for none.
    int RowAt(const QPoint &p) const;
    // What a press at a point would drag: 0 nothing, 1 the bar, 2 its left
    // edge, 3 its right edge.
    int HandleAt(const QPoint &p, int *index = nullptr) const;
    // The size the rows and the last frame need.
    void UpdateSize();
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    TTreeAnimateEditor *FEditor;
    int FDragIndex = -1;
    int FDragKind = 0;
    int FPressX = 0;
    int FDragDX = 0;
};
