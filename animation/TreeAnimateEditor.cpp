#include "animation/TreeAnimateEditor.h"

#include "animation/AnimateConst.h"
#include "animation/AnimationKinds.h"
#include "animation/NodeAnimate.h"
#include "animation/TreeAnimate.h"
#include "animation/TreeAnimationGallery.h"
#include "core/NameTables.h"
#include "dialogs/KorInspector.h"
#include "dialogs/KorPrompts.h"
#include "i18n/KorTranslate.h"
#include "view/Arbolix.h"
#include "view/TreeInteraction.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QSpinBox>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

struct TTreeAnimateEditor::TSavedEvents
{
    TNotifyEvent OnClear, OnContinue, OnFrame, OnPause, OnPlay, OnStop;
    TEvent<TTreeNodeShape *> OnNodeRemoved;
};

namespace {

enum TInspectorRow { irNode, irEnabled, irStart, irDuration, irLoop, irStartColor, irEndColor, irFrom, irTo };

QToolButton *Button(QWidget *parent, const QString &text, const char *name)
{
    auto *b = new QToolButton(parent);
    b->setText(text);
    b->setObjectName(QLatin1String(name));
    b->setAutoRaise(true);
    return b;
}

// The ruler's big ticks: a frame count that puts them some 40 pixels apart.
int RulerFrames(int pixelsPerFrame)
{
    for (int frames : {1, 2, 5, 10, 20, 50, 100})
        if (frames * pixelsPerFrame >= 40)
            return frames;
    return 100;
}

} // namespace

// ---------------------------------------------------------------------------
// The editor

TTreeAnimateEditor::TTreeAnimateEditor(QWidget *parent) : QWidget(parent)
{
    RegisterNodeAnimate();
    setObjectName(QStringLiteral("TreeAnimateEditor"));
    setWindowTitle(QStringLiteral("Animation Editor"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto *bar = new QHBoxLayout;
    FPlay = Button(this, QStringLiteral("Play"), "SBPlay");
    FPause = Button(this, QStringLiteral("Pause"), "SBPause");
    FPause->setCheckable(true);
    FStop = Button(this, QStringLiteral("Stop"), "SBStop");
    FNext = Button(this, QStringLiteral(">>"), "SBNextFrame");
    FNext->setToolTip(QStringLiteral("Next Frame"));
    FAdd = Button(this, QStringLiteral("Add Animation"), "SBAdd");
    FDelete = Button(this, QStringLiteral("Delete"), "SBDelete");
    FMoveUp = Button(this, QStringLiteral("Move Up"), "SBMoveUp");
    FMoveDown = Button(this, QStringLiteral("Move Down"), "SBMoveDown");
    auto *speedLabel = new QLabel(QStringLiteral("Speed:"), this);
    FSpeed = new QSlider(Qt::Horizontal, this);
    FSpeed->setObjectName(QStringLiteral("TBSpeed"));
    FSpeed->setRange(2, 100);
    FSpeed->setValue(TTreeAnimate::kDefaultSpeed);
    FSpeed->setMaximumWidth(120);
    speedLabel->setBuddy(FSpeed);
    FLoop = new QCheckBox(QStringLiteral("&Loop"), this);
    FLoop->setObjectName(QStringLiteral("CBLoop"));
    FScale = new QSpinBox(this);
    FScale->setObjectName(QStringLiteral("UDScale"));
    FScale->setRange(1, 6);
    FScale->setValue(3);
    for (QWidget *w : std::initializer_list<QWidget *>{FPlay, FPause, FStop, FNext, FAdd, FDelete, FMoveUp, FMoveDown,
                                                        speedLabel, FSpeed, FLoop, FScale})
        bar->addWidget(w);
    bar->addStretch();
    layout->addLayout(bar);

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("AnimationSplitter"));
    // The names sit beside their bars, below the ruler's height.
    auto *names = new QWidget(splitter);
    auto *namesLayout = new QVBoxLayout(names);
    namesLayout->setContentsMargins(0, 0, 0, 0);
    namesLayout->setSpacing(0);
    FList = new TTree(nullptr, names);
    namesLayout->addWidget(FList, 1);
    auto *times = new QWidget(splitter);
    auto *timesLayout = new QVBoxLayout(times);
    timesLayout->setContentsMargins(0, 0, 0, 0);
    timesLayout->setSpacing(0);
    FRuler = new TTreeRuler(times);
    FRuler->setObjectName(QStringLiteral("TimelineRuler"));
    FTimeline = new TTree(nullptr, times);
    timesLayout->addWidget(FRuler);
    timesLayout->addWidget(FTimeline, 1);
    namesLayout->insertSpacing(0, FRuler->sizeHint().height());
    // The inspector with its close button, which hides it.
    auto *side = new QWidget(splitter);
    side->setObjectName(QStringLiteral("InspectorPanel"));
    auto *sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->setSpacing(0);
    auto *close = Button(side, QStringLiteral("x"), "SBCloseInspector");
    sideLayout->addWidget(close, 0, Qt::AlignRight);
    FInspector = new TKorInspector(side);
    FInspector->setObjectName(QStringLiteral("AnimationInspector"));
    sideLayout->addWidget(FInspector, 1);
    connect(close, &QToolButton::clicked, side, &QWidget::hide);
    const std::pair<const TMessageText *, TInspectorItemStyle> items[] = {
        {&SAnimationNode, iiSelection},       {&SAnimationEnabled, iiBoolean},  {&SAnimationStart, iiInteger},
        {&SAnimationDuration, iiInteger},     {&SAnimationLoop, iiBoolean},     {&SAnimationStartColor, iiColor},
        {&SAnimationEndColor, iiColor},       {&SAnimationFromValue, iiInteger}, {&SAnimationToValue, iiInteger}};
    for (const auto &[caption, style] : items) {
        TInspectorItem *item = FInspector->AddItem(caption->Text(), style);
        item->OnChange = [this](TInspectorItem *i) { InspectorChanged(i); };
    }
    InspectorItem(irNode)->OnGetItems = [this](TInspectorItem *, const TInspectorItem::TAddProc &add) {
        TTreeDocument *tree = FPlayer ? FPlayer->Tree() : nullptr;
        if (!tree)
            return;
        for (int i = 0; i < tree->Shapes().Count(); ++i)
            add(NodeCaption(tree->Shapes()[i], i), tree->Shapes()[i]);
    };
    names->setMinimumWidth(60);
    times->setMinimumWidth(120);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 4);
    splitter->setStretchFactor(2, 2);
    splitter->setSizes({120, 480, 200});
    layout->addWidget(splitter, 1);
    SetUpTimeline();
    SetUpList();

    connect(FPlay, &QToolButton::clicked, this, &TTreeAnimateEditor::Play);
    connect(FPause, &QToolButton::toggled, this, [this](bool down) {
        if (!FFilling)
            SetPaused(down);
    });
    connect(FStop, &QToolButton::clicked, this, &TTreeAnimateEditor::Stop);
    connect(FNext, &QToolButton::clicked, this, &TTreeAnimateEditor::NextFrame);
    connect(FAdd, &QToolButton::clicked, this, &TTreeAnimateEditor::AddFromGallery);
    connect(FDelete, &QToolButton::clicked, this, &TTreeAnimateEditor::DeleteSelected);
    connect(FMoveUp, &QToolButton::clicked, this, [this] { MoveSelected(-1); });
    connect(FMoveDown, &QToolButton::clicked, this, [this] { MoveSelected(1); });
    connect(FSpeed, &QSlider::valueChanged, this, [this](int v) {
        if (!FFilling)
            SetSpeed(v);
    });
    connect(FLoop, &QCheckBox::toggled, this, [this](bool on) {
        if (!FFilling)
            SetLoop(on);
    });
    connect(FScale, qOverload<int>(&QSpinBox::valueChanged), this, [this](int v) {
        if (!FFilling)
            SetScale(v);
    });
    FillControls();
}

TTreeAnimateEditor::~TTreeAnimateEditor()
{
    FDestroying = true;
    ReleasePlayer();
    // The views' handlers refer to this editor.
    FRuler->SetTree(nullptr);
    for (TTree *tree : {FTimeline, FList}) {
        tree->OnAfterDraw = nullptr;
        tree->OnScroll = nullptr;
        tree->OnSelectShape = nullptr;
        tree->OnMovingShape = nullptr;
        tree->OnResizingShape = nullptr;
        tree->OnDeletingShapes = nullptr;
        tree->OnMouseUp = nullptr;
    }
}

void TTreeAnimateEditor::SetUpTimeline()
{
    TTree *t = FTimeline;
    t->setObjectName(QStringLiteral("Timeline"));
    t->SetDesigning(true);
    t->SetSingleSelection(true);
    t->SetAllowPanning(pmHorizontal);
    t->TextEditor()->SetEnabled(false);
    t->SetColor(clWhite);
    t->DefaultFormat().SetShapeClass(&TNodeAnimate::StaticClassInfo());
    t->DefaultFormat().SetImageIndex(tiNone);
    t->DefaultFormat().SetCursor(crHandPoint);
    t->DefaultFormat().SetChildManager(nullptr);
    t->Page()->SetUsePrinter(false);
    t->Page()->Border()->SetVisible(false);
    t->Grid()->SetVisible(false);
    // The handles: navy squares framed in blue, drawn inverting.
    t->SelectionLook()->SetHandleColor(clNavy);
    t->SelectionLook()->HandlePen()->SetColor(clBlue);
    t->SelectionLook()->HandlePen()->SetMode(pmNotXor);
    t->SelectionLook()->SetHandleSize(3);
    t->setCursor(Qt::PointingHandCursor);
    t->OnMovingShape = [this](TTreeNodeShape *node, int &dx, int &dy) { MovingBar(node, dx, dy); };
    t->OnResizingShape = [this](TTreeNodeShape *node, TTreeShapeHandle corner, int &dx, int &dy) {
        ResizingBar(node, corner, dx, dy);
    };
    t->OnSelectShape = [this](TTreeNodeShape *node) {
        if (!FFilling)
            if (auto *bar = dynamic_cast<TNodeAnimate *>(node))
                SelectIndex(bar->Index());
    };
    t->OnUnSelectShape = [this](TTreeNodeShape *) {
        if (!FFilling && FTimeline->Selected().Count() == 0)
            SelectIndex(-1);
    };
    // The timeline's own delete frees the animation (and so its bar and
    // its list entry).
    t->OnDeletingShapes = [this](TSelectedShapeList *, bool &allow) {
        allow = false;
        DeleteSelected();
    };
    t->OnMouseUp = [this](TObject *, TMouseButton, TShiftState, int, int) { EndDrag(); };
    t->OnAfterDraw = [this](TObject *) { DrawDecoration(); };
    t->OnScroll = [this](TObject *) { ScrollFollows(FTimeline, FList); };
    FRuler->SetTree(t);
    FRuler->OnGetUnit = [this](TTreeRuler *, int value, QString &text) {
        text = QString::number(value / FPixelsPerFrame);
    };
}

void TTreeAnimateEditor::SetUpList()
{
    TTree *l = FList;
    l->setObjectName(QStringLiteral("AnimationList"));
    l->SetSingleSelection(true);
    l->SetAllowPanning(pmNone);
    // The timeline's bar scrolls both.
    l->VertScrollBar()->SetAutomatic(false);
    l->VertScrollBar()->SetVisible(false);
    l->HorzScrollBar()->SetAutomatic(false);
    l->HorzScrollBar()->SetVisible(false);
    l->TextEditor()->SetEnabled(false);
    l->SetColor(clWhite);
    l->DefaultFormat().SetImageIndex(tiNone);
    l->DefaultFormat().SetTransparent(true);
    l->DefaultFormat().Border()->SetVisible(false);
    l->DefaultFormat().Font()->SetSize(kListFontSize);
    // Children would be indented by (row height - 10) div 4 - 3; the
    // entries are all roots placed by row.
    if (auto *align = dynamic_cast<TTreeExplorerAlignChild *>(l->DefaultFormat().ChildManager()))
        align->SetChildIndent((kRowHeight - 10) / 4 - 3);
    l->OnSelectShape = [this](TTreeNodeShape *node) {
        if (FFilling)
            return;
        const auto it = std::find(FEntries.begin(), FEntries.end(), node);
        if (it != FEntries.end())
            SelectIndex(static_cast<int>(it - FEntries.begin()));
    };
    l->OnScroll = [this](TObject *) { ScrollFollows(FList, FTimeline); };
}

void TTreeAnimateEditor::ScrollFollows(TTree *from, TTree *to)
{
    if (FSyncingScroll)
        return;
    FSyncingScroll = true;
    to->View3DOptions()->SetVertOffset(from->View3DOptions()->VertOffset());
    FSyncingScroll = false;
}

void TTreeAnimateEditor::showEvent(QShowEvent *event)
{
    TranslateForm(this);
    QWidget::showEvent(event);
}

void TTreeAnimateEditor::SetPlayer(TTreeAnimate *player, TComponent *animationOwner)
{
    if (player != FPlayer)
        ReleasePlayer();
    FOwner = animationOwner ? animationOwner : (player ? player->Owner() : nullptr);
    if (player != FPlayer) {
        FPlayer = player;
        BindPlayer();
    }
    FSelected = -1;
    Rebuild();
}

void TTreeAnimateEditor::ReleasePlayer()
{
    EndDrag();
    if (FListened) {
        FListened->RemoveChangeListener(this);
        FListened = nullptr;
    }
    if (!FPlayer)
        return;
    // Closing the editor stops the animation and gives the player its own
    // notifications back.
    TTreeAnimate *player = FPlayer;
    FPlayer = nullptr;
    if (FSaved) {
        player->OnStop = FSaved->OnStop;
        player->Stop();
        player->OnClear = FSaved->OnClear;
        player->OnContinue = FSaved->OnContinue;
        player->OnFrame = FSaved->OnFrame;
        player->OnPause = FSaved->OnPause;
        player->OnPlay = FSaved->OnPlay;
        player->OnNodeRemoved = FSaved->OnNodeRemoved;
        FSaved.reset();
    }
    if (!FDestroying)
        Rebuild();
}

void TTreeAnimateEditor::BindPlayer()
{
    if (!FPlayer)
        return;
    FListened = FPlayer->Tree();
    if (FListened)
        FListened->AddChangeListener(this);
    FSaved = std::make_unique<TSavedEvents>();
    TSavedEvents &s = *FSaved;
    s.OnClear = FPlayer->OnClear;
    s.OnContinue = FPlayer->OnContinue;
    s.OnFrame = FPlayer->OnFrame;
    s.OnPause = FPlayer->OnPause;
    s.OnPlay = FPlayer->OnPlay;
    s.OnStop = FPlayer->OnStop;
    s.OnNodeRemoved = FPlayer->OnNodeRemoved;
    auto after = [](const TNotifyEvent &saved, TObject *sender) { Fire(saved, sender); };
    FPlayer->OnPlay = [this, after](TObject *sender) {
        UpdateButtons();
        after(FSaved->OnPlay, sender);
    };
    FPlayer->OnPause = [this, after](TObject *sender) {
        UpdateButtons();
        FTimeline->RepaintPicture();
        after(FSaved->OnPause, sender);
    };
    FPlayer->OnContinue = [this, after](TObject *sender) {
        UpdateButtons();
        after(FSaved->OnContinue, sender);
    };
    FPlayer->OnStop = [this, after](TObject *sender) {
        if (!FDestroying) {
            UpdateButtons();
            FTimeline->RepaintPicture();
        }
        after(FSaved->OnStop, sender);
    };
    FPlayer->OnFrame = [this, after](TObject *sender) {
        FollowFrame();
        after(FSaved->OnFrame, sender);
    };
    FPlayer->OnClear = [this, after](TObject *sender) {
        Rebuild();
        after(FSaved->OnClear, sender);
    };
    FPlayer->OnNodeRemoved = [this](TTreeNodeShape *node) {
        Rebuild();
        Fire(FSaved->OnNodeRemoved, node);
    };
}

int TTreeAnimateEditor::PixelsPerFrameFor(int position)
{
    position = std::clamp(position, 1, 6);
    return position > 2 ? 12 / (position - 2) : 48 - position * 12;
}

void TTreeAnimateEditor::SetScale(int position)
{
    position = std::clamp(position, 1, 6);
    FPixelsPerFrame = PixelsPerFrameFor(position);
    if (FScale->value() != position) {
        FFilling = true;
        FScale->setValue(position);
        FFilling = false;
    }
    Rebuild();
}

TNodeAnimate *TTreeAnimateEditor::Bar(int index) const
{
    return index >= 0 && index < static_cast<int>(FBars.size()) ? FBars[size_t(index)] : nullptr;
}

TTreeNodeShape *TTreeAnimateEditor::ListEntry(int index) const
{
    return index >= 0 && index < static_cast<int>(FEntries.size()) ? FEntries[size_t(index)] : nullptr;
}

int TTreeAnimateEditor::FrameX(int frame) const
{
    return FTimeline->ProjectPoint(TPoint(frame * FPixelsPerFrame, 0)).X;
}

int TTreeAnimateEditor::LastFrame() const
{
    int last = 0;
    if (FPlayer)
        for (const TAnimation *a : FPlayer->Animations())
            last = std::max(last, a->EndFrame());
    return last;
}

void TTreeAnimateEditor::Rebuild()
{
    EndDrag();
    FFilling = true;
    const int count = FPlayer ? FPlayer->Animations().Count() : 0;
    if (FSelected >= count)
        FSelected = count - 1;
    FBars.clear();
    FEntries.clear();
    // One repaint for the whole rebuilding.
    FTimeline->SetAutoRepaint(false);
    FList->SetAutoRepaint(false);
    FTimeline->Clear();
    FList->Clear();
    FBars.reserve(size_t(count));
    FEntries.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        TAnimation *a = FPlayer->Animations()[i];
        auto *bar = static_cast<TNodeAnimate *>(FTimeline->AddShape(0, i * kRowHeight + 1, nullptr));
        bar->SetAnimation(a, i);
        bar->SetAutoSize(false);
        FBars.push_back(bar);
        UpdateBar(i);
        // A name is as high as its row, so that rows never overlap.
        TTreeNodeShape *entry = FList->AddShape(2, i * kRowHeight + 1, nullptr, a->Caption());
        entry->SetX0(2);
        entry->SetY0(i * kRowHeight + 1);
        entry->SetAutoSize(false);
        entry->SetWidth(kListEntryWidth);
        entry->SetHeight(kRowHeight - 1);
        entry->Text()->SetHorizAlign(htaLeft);
        FEntries.push_back(entry);
    }
    UpdatePage();
    if (TNodeAnimate *bar = Bar(FSelected))
        bar->SetSelected(true);
    if (TTreeNodeShape *entry = ListEntry(FSelected))
        entry->SetSelected(true);
    FTimeline->SetAutoRepaint(true);
    FList->SetAutoRepaint(true);
    FTimeline->Invalidate();
    FList->Invalidate();
    FFilling = false;
    FillControls();
}

void TTreeAnimateEditor::UpdateBar(int index)
{
    TNodeAnimate *bar = Bar(index);
    if (!bar || !bar->Animation())
        return;
    const TAnimation *a = bar->Animation();
    bar->SetX0(a->StartFrame() * FPixelsPerFrame);
    bar->SetY0(index * kRowHeight + 1);
    bar->SetWidth(a->Duration() * FPixelsPerFrame);
    bar->SetHeight(kBarHeight);
    // Inactive animations show grey.
    bar->SetColor(a->IsActive() ? clBlack : clGray);
}

void TTreeAnimateEditor::UpdatePage()
{
    TTree *t = FTimeline;
    t->Grid()->SetStep(FPixelsPerFrame);
    t->Grid()->SetVertStep(kRowHeight);
    t->Grid()->SetBigStep(RulerFrames(FPixelsPerFrame));
    t->Page()->SetWidth(std::max(1, LastFrame() * FPixelsPerFrame));
    t->Page()->SetHeight(std::max(1, t->height()));
    FRuler->Redraw();
}

TAnimation *TTreeAnimateEditor::SelectedAnimation() const
{
    return FPlayer ? FPlayer->Animations()[FSelected] : nullptr;
}

void TTreeAnimateEditor::SelectIndex(int index)
{
    const int count = FPlayer ? FPlayer->Animations().Count() : 0;
    FSelected = index >= 0 && index < count ? index : -1;
    FFilling = true;
    // The bar and the list entry of the same row.
    for (TTree *tree : {FTimeline, FList}) {
        TTreeNodeShape *want = tree == FTimeline ? static_cast<TTreeNodeShape *>(Bar(FSelected)) : ListEntry(FSelected);
        if (!want || !want->Selected() || tree->Selected().Count() != 1) {
            tree->Selected().Clear();
            if (want)
                want->SetSelected(true);
        }
    }
    FFilling = false;
    FillInspector();
    UpdateButtons();
}

void TTreeAnimateEditor::FillControls()
{
    FFilling = true;
    FSpeed->setValue(FPlayer ? std::max(FSpeed->minimum(), FPlayer->Speed()) : TTreeAnimate::kDefaultSpeed);
    FLoop->setChecked(FPlayer && FPlayer->Loop());
    FFilling = false;
    FillInspector();
    UpdateButtons();
}

TInspectorItem *TTreeAnimateEditor::InspectorItem(int index) const
{
    return FInspector->Item(index);
}

QString TTreeAnimateEditor::NodeCaption(const TTreeNodeShape *node, int index)
{
    if (!node)
        return QString();
    const QString text = node->Line(0);
    if (!text.isEmpty())
        return text;
    if (!node->Name().isEmpty())
        return node->Name();
    return FormatMessage(SAnimationNodeNumber, {QString::number(index)});
}

void TTreeAnimateEditor::FillInspector()
{
    TAnimation *a = SelectedAnimation();
    FInspector->setEnabled(a != nullptr);
    auto *node = dynamic_cast<TNodeAnimation *>(a);
    if (dynamic_cast<TTreeColorAnimation *>(a))
        node = nullptr;
    auto *integer = dynamic_cast<TIntegerAnimation *>(a);
    auto *color = dynamic_cast<TColorAnimation *>(a);
    InspectorItem(irNode)->SetVisible(node != nullptr);
    InspectorItem(irStartColor)->SetVisible(color != nullptr);
    InspectorItem(irEndColor)->SetVisible(color != nullptr);
    InspectorItem(irFrom)->SetVisible(integer != nullptr);
    InspectorItem(irTo)->SetVisible(integer != nullptr);
    if (a) {
        InspectorItem(irEnabled)->SetValue(a->Enabled());
        InspectorItem(irStart)->SetValue(a->StartFrame());
        InspectorItem(irDuration)->SetValue(a->Duration());
        InspectorItem(irLoop)->SetValue(a->Loop());
    }
    if (node) {
        TTreeDocument *tree = FPlayer->Tree();
        const int index = tree && node->Node() ? tree->Shapes().IndexOf(node->Node()) : -1;
        InspectorItem(irNode)->SetValue(NodeCaption(node->Node(), index));
        InspectorItem(irNode)->SetData(node->Node());
    }
    if (color) {
        InspectorItem(irStartColor)->SetValue(static_cast<int>(color->StartColor()));
        InspectorItem(irEndColor)->SetValue(static_cast<int>(color->EndColor()));
    }
    if (integer) {
        InspectorItem(irFrom)->SetValue(integer->StartValue());
        InspectorItem(irTo)->SetValue(integer->EndValue());
    }
    FInspector->RebuildRows();
}

void TTreeAnimateEditor::InspectorChanged(TInspectorItem *item)
{
    TAnimation *a = SelectedAnimation();
    if (!a)
        return;
    const QVariant v = item->Value();
    if (item == InspectorItem(irNode)) {
        auto *node = dynamic_cast<TNodeAnimation *>(a);
        auto *chosen = dynamic_cast<TTreeNodeShape *>(item->Data());
        if (!node || !chosen || chosen == node->Node())
            return;
        const bool first = node->Node() == nullptr;
        Edit(a, QStringLiteral("Node"), [&] {
            node->SetNode(chosen);
            // A first node gives the values it has.
            if (first)
                node->TakeValuesFromNode();
        });
    } else if (item == InspectorItem(irEnabled)) {
        Edit(a, QStringLiteral("Enabled"), [&] { a->SetEnabled(v.toBool()); });
    } else if (item == InspectorItem(irStart)) {
        Edit(a, QStringLiteral("StartFrame"), [&] { a->SetStartFrame(v.toInt()); });
    } else if (item == InspectorItem(irDuration)) {
        Edit(a, QStringLiteral("Duration"), [&] { a->SetDuration(v.toInt()); });
    } else if (item == InspectorItem(irLoop)) {
        Edit(a, QStringLiteral("Loop"), [&] { a->SetLoop(v.toBool()); });
    } else if (auto *color = dynamic_cast<TColorAnimation *>(a); color && item == InspectorItem(irStartColor)) {
        Edit(a, QStringLiteral("StartColor"), [&] { color->SetStartColor(v.toInt()); });
    } else if (color && item == InspectorItem(irEndColor)) {
        Edit(a, QStringLiteral("EndColor"), [&] { color->SetEndColor(v.toInt()); });
    } else if (auto *integer = dynamic_cast<TIntegerAnimation *>(a); integer && item == InspectorItem(irFrom)) {
        Edit(a, QStringLiteral("StartValue"), [&] { integer->SetStartValue(v.toInt()); });
    } else if (integer && item == InspectorItem(irTo)) {
        Edit(a, QStringLiteral("EndValue"), [&] { integer->SetEndValue(v.toInt()); });
    }
    UpdateBar(FSelected);
    UpdatePage();
    FillInspector();
}

void TTreeAnimateEditor::UpdateButtons()
{
    const TAnimateState state = FPlayer ? FPlayer->State() : asStopped;
    const int count = FPlayer ? FPlayer->Animations().Count() : 0;
    FFilling = true;
    FPlay->setEnabled(FPlayer && state == asStopped);
    FPause->setEnabled(state != asStopped);
    FPause->setChecked(state == asPaused);
    FStop->setEnabled(state != asStopped);
    FNext->setEnabled(state == asPaused);
    FAdd->setEnabled(FPlayer != nullptr);
    FDelete->setEnabled(count > 0 && FSelected >= 0);
    FMoveUp->setEnabled(FSelected > 0);
    FMoveDown->setEnabled(FSelected >= 0 && FSelected < count - 1);
    FFilling = false;
}

void TTreeAnimateEditor::FollowFrame()
{
    if (!FPlayer)
        return;
    const int frame = FPlayer->Frame() < 0 ? FPlayer->LastFrame() + 1 : FPlayer->Frame();
    const int x = FrameX(frame);
    TView3DOptions *view = FTimeline->View3DOptions();
    const int width = FTimeline->ScrollViewSize(true);
    // Beyond the right edge the view moves on by 20 pixels (more when the
    // frame ran further); left of it, the frame comes to the left edge.
    if (x > width)
        view->SetHorizOffset(view->HorizOffset() - std::max(20, x - width + 20));
    else if (x < 0)
        view->SetHorizOffset(view->HorizOffset() - x);
    FTimeline->RepaintPicture();
}

void TTreeAnimateEditor::DrawDecoration()
{
    TKorCanvas3D *canvas = FTimeline->Canvas();
    if (!canvas || !canvas->Handle())
        return;
    const TRect visible = FTimeline->VisibleArea();
    TChartPen pen;
    pen.SetWidth(1);
    const int last = LastFrame();
    auto line = [&](int x, TColor color) {
        canvas->AssignPen(&pen, color);
        canvas->ProjectedLine(x, visible.Top, x, visible.Bottom, 0);
    };
    // The end of the run and the start of time.
    if (last > 0)
        line((last + 1) * FPixelsPerFrame + 1, clBlack);
    line(-1, clBlack);
    // The frame being played (blue) or where the player paused (red).
    if (FPlayer && FPlayer->State() != asStopped) {
        const int frame = FPlayer->Frame() < 0 ? FPlayer->LastFrame() + 1 : FPlayer->Frame();
        line(frame * FPixelsPerFrame, FPlayer->State() == asPlaying ? clBlue : clRed);
    }
}

void TTreeAnimateEditor::Edit(TComponent *element, const QString &property, const std::function<void()> &change)
{
    TTreeDocument *tree = FPlayer ? FPlayer->Tree() : nullptr;
    ++FEditing;
    struct TDone
    {
        int &Count;
        ~TDone() { --Count; }
    } done{FEditing};
    if (!tree) {
        change();
    } else if (FTimeline->Interaction().DraggingShapes()) {
        // A drag is one step from its first edit to the release.
        if (!FDragStep)
            FDragStep = std::make_unique<TTreeStep>(tree, SAnimationStepEdit);
        tree->EditElement(element, property, change);
    } else {
        TTreeStep step(tree, SAnimationStepEdit);
        tree->EditElement(element, property, change);
    }
    emit Changed();
}

void TTreeAnimateEditor::TreeChanged(TTreeDocument *, const TTreeChange &change)
{
    if (FEditing > 0 || !FPlayer || !change.Element || !FPlayer->HoldsPart(change.Element))
        return;
    if (FTimeline->Interaction().DraggingShapes())
        return;
    const int selected = FSelected;
    Rebuild();
    SelectIndex(std::min(selected, FPlayer->Animations().Count() - 1));
}

void TTreeAnimateEditor::TreeDestroying(TTreeDocument *tree)
{
    if (tree == FListened)
        FListened = nullptr;
}

void TTreeAnimateEditor::EndDrag()
{
    FDragStep.reset();
}

// ---- Bars

void TTreeAnimateEditor::MovingBar(TTreeNodeShape *node, int &dx, int &dy)
{
    // A bar keeps its row.
    dy = 0;
    auto *bar = dynamic_cast<TNodeAnimate *>(node);
    TAnimation *a = bar ? bar->Animation() : nullptr;
    if (!a) {
        dx = 0;
        return;
    }
    const long long start = static_cast<long long>(a->StartFrame()) + dx / FPixelsPerFrame;
    // Never left of the first frame: such a move is cancelled.
    if (start < 0 || start > INT_MAX / FPixelsPerFrame) {
        dx = 0;
        return;
    }
    if (start != a->StartFrame())
        Edit(a, QStringLiteral("StartFrame"), [&] { a->SetStartFrame(static_cast<int>(start)); });
    // The bar snaps to its first frame.
    dx = a->StartFrame() * FPixelsPerFrame - node->X0();
    InspectorItem(irStart)->SetValue(a->StartFrame());
    FInspector->RebuildRows();
    UpdatePage();
}

void TTreeAnimateEditor::ResizingBar(TTreeNodeShape *node, int corner, int &dx, int &dy)
{
    dy = 0;
    auto *bar = dynamic_cast<TNodeAnimate *>(node);
    TAnimation *a = bar ? bar->Animation() : nullptr;
    if (!a || (corner != rcLeft && corner != rcRight)) {
        dx = 0;
        return;
    }
    const int frames = dx / FPixelsPerFrame;
    if (corner == rcRight) {
        const long long wanted = std::max(1LL, static_cast<long long>(a->Duration()) + frames);
        const int duration = static_cast<int>(std::min<long long>(wanted, INT_MAX / FPixelsPerFrame - a->StartFrame()));
        if (duration != a->Duration())
            Edit(a, QStringLiteral("Duration"), [&] { a->SetDuration(duration); });
        dx = a->Duration() * FPixelsPerFrame - node->Width();
    } else {
        // Not before the first frame, and never to nothing: a shrink by the
        // whole duration or more does nothing.
        const int d = std::max(frames, -a->StartFrame());
        if (d == 0 || static_cast<long long>(a->Duration()) - d <= 0) {
            dx = 0;
            return;
        }
        Edit(a, QString(), [&] {
            a->SetDuration(a->Duration() - d);
            a->SetStartFrame(a->StartFrame() + d);
        });
        dx = a->StartFrame() * FPixelsPerFrame - node->X0();
        InspectorItem(irStart)->SetValue(a->StartFrame());
    }
    InspectorItem(irDuration)->SetValue(a->Duration());
    FInspector->RebuildRows();
    UpdatePage();
}

void TTreeAnimateEditor::WriteBarsBack()
{
    for (TNodeAnimate *bar : FBars) {
        TAnimation *a = bar->Animation();
        if (!a)
            continue;
        const int start = bar->X0() / FPixelsPerFrame;
        const int duration = std::max(1, bar->Width() / FPixelsPerFrame);
        if (start != a->StartFrame() && start >= 0)
            Edit(a, QStringLiteral("StartFrame"), [&] { a->SetStartFrame(start); });
        if (duration != a->Duration())
            Edit(a, QStringLiteral("Duration"), [&] { a->SetDuration(duration); });
    }
}

// ---- Commands

void TTreeAnimateEditor::Play()
{
    if (!FPlayer)
        return;
    WriteBarsBack();
    FPlayer->Play();
    UpdateButtons();
}

void TTreeAnimateEditor::SetPaused(bool paused)
{
    if (!FPlayer)
        return;
    if (paused)
        FPlayer->Pause();
    else
        FPlayer->Continue();
    UpdateButtons();
}

void TTreeAnimateEditor::Stop()
{
    if (FPlayer)
        FPlayer->Stop();
    UpdateButtons();
}

void TTreeAnimateEditor::NextFrame()
{
    if (FPlayer)
        FPlayer->Step();
    UpdateButtons();
}

void TTreeAnimateEditor::AddFromGallery()
{
    if (!FPlayer)
        return;
    TTreeAnimationGallery gallery(this);
    if (Prompts().Exec(gallery) != QDialog::Accepted || !gallery.Chosen())
        return;
    AddAnimation(*gallery.Chosen());
}

TAnimation *TTreeAnimateEditor::AddAnimation(const TAnimationClass &kind)
{
    if (!FPlayer)
        return nullptr;
    FPlayer->Stop();
    TAnimation *a = kind.Create(FOwner);
    const QString name = FOwner ? NewAnimationName(*FOwner, *FPlayer, kind.Info->Name())
                                : kind.Info->Name().mid(1) + QString::number(FPlayer->Animations().Count() + 1);
    a->SetName(name);
    Edit(FPlayer, QStringLiteral("Animations"), [&] { FPlayer->Animations().Add(a); });
    FSelected = FPlayer->Animations().Count() - 1;
    Rebuild();
    SelectIndex(FSelected);
    return a;
}

void TTreeAnimateEditor::DeleteSelected()
{
    TAnimation *a = SelectedAnimation();
    if (!a)
        return;
    FPlayer->Stop();
    const int index = FSelected;
    Edit(FPlayer, QStringLiteral("Animations"), [&] { delete a; });
    FSelected = std::min(index, FPlayer->Animations().Count() - 1);
    Rebuild();
    SelectIndex(FSelected);
}

void TTreeAnimateEditor::MoveSelected(int delta)
{
    if (!FPlayer || FSelected < 0)
        return;
    const int to = FSelected + delta;
    if (to < 0 || to >= FPlayer->Animations().Count() || delta == 0)
        return;
    FPlayer->Stop();
    const int from = FSelected;
    Edit(FPlayer, QStringLiteral("Animations"), [&] { FPlayer->Animations().Move(from, to); });
    FSelected = to;
    Rebuild();
    SelectIndex(FSelected);
}

void TTreeAnimateEditor::SetSpeed(int speed)
{
    if (!FPlayer || speed == FPlayer->Speed())
        return;
    Edit(FPlayer, QStringLiteral("Speed"), [&] { FPlayer->SetSpeed(speed); });
    FillControls();
}

void TTreeAnimateEditor::SetLoop(bool loop)
{
    if (!FPlayer || loop == FPlayer->Loop())
        return;
    Edit(FPlayer, QStringLiteral("Loop"), [&] { FPlayer->SetLoop(loop); });
    FillControls();
}
