#include "animation/TreeAnimateEditor.h"

#include "animation/AnimateConst.h"
#include "animation/AnimationKinds.h"
#include "animation/TreeAnimate.h"
#include "animation/TreeAnimationGallery.h"
#include "dialogs/KorInspector.h"
#include "dialogs/KorPrompts.h"
#include "i18n/KorTranslate.h"
#include "model/TreeDocument.h"

#include <QAbstractListModel>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

// The animations' captions, read from the player as the list shows them.
class TAnimationListModel : public QAbstractListModel
{
public:
    explicit TAnimationListModel(QObject *parent) : QAbstractListModel(parent) {}
    void SetPlayer(TTreeAnimate *player)
    {
        beginResetModel();
        FPlayer = player;
        endResetModel();
    }
    void Reset()
    {
        beginResetModel();
        endResetModel();
    }
    int rowCount(const QModelIndex &parent = QModelIndex()) const override
    {
        return parent.isValid() || !FPlayer ? 0 : FPlayer->Animations().Count();
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!FPlayer || !index.isValid())
            return {};
        const TAnimation *a = FPlayer->Animations()[index.row()];
        if (!a)
            return {};
        if (role == Qt::DisplayRole)
            return a->Caption();
        if (role == Qt::SizeHintRole)
            return QSize(80, TTreeAnimateEditor::kRowHeight);
        if (role == Qt::ToolTipRole)
            return a->Name();
        return {};
    }

private:
    TTreeAnimate *FPlayer = nullptr;
};

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

} // namespace

// ---------------------------------------------------------------------------
// The editor

TTreeAnimateEditor::TTreeAnimateEditor(QWidget *parent) : QWidget(parent)
{
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
    for (QWidget *w : std::initializer_list<QWidget *>{FPlay, FPause, FStop, FNext, FAdd, FDelete, speedLabel, FSpeed,
                                                        FLoop, FScale})
        bar->addWidget(w);
    bar->addStretch();
    layout->addLayout(bar);

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    // The names sit beside their bars, below the ruler's height.
    auto *names = new QWidget(splitter);
    auto *namesLayout = new QVBoxLayout(names);
    namesLayout->setContentsMargins(0, kRulerHeight, 0, 0);
    FList = new QListView(names);
    namesLayout->addWidget(FList);
    FList->setObjectName(QStringLiteral("AnimationList"));
    FModel = new TAnimationListModel(this);
    FList->setModel(FModel);
    FList->setUniformItemSizes(true);
    FList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    FTimelineArea = new QScrollArea(splitter);
    FTimelineArea->setObjectName(QStringLiteral("TimelineArea"));
    FTimeline = new TAnimationTimeline(this);
    FTimelineArea->setWidget(FTimeline);
    FTimelineArea->setWidgetResizable(false);
    FInspector = new TKorInspector(splitter);
    FInspector->setObjectName(QStringLiteral("AnimationInspector"));
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
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 4);
    splitter->setStretchFactor(2, 2);
    layout->addWidget(splitter, 1);

    // The list scrolls with the timeline.
    connect(FTimelineArea->verticalScrollBar(), &QScrollBar::valueChanged, FList->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(FList->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (!FFilling)
                    SelectIndex(current.isValid() ? current.row() : -1);
            });
    connect(FPlay, &QToolButton::clicked, this, &TTreeAnimateEditor::Play);
    connect(FPause, &QToolButton::toggled, this, [this](bool down) {
        if (!FFilling)
            SetPaused(down);
    });
    connect(FStop, &QToolButton::clicked, this, &TTreeAnimateEditor::Stop);
    connect(FNext, &QToolButton::clicked, this, &TTreeAnimateEditor::NextFrame);
    connect(FAdd, &QToolButton::clicked, this, &TTreeAnimateEditor::AddFromGallery);
    connect(FDelete, &QToolButton::clicked, this, &TTreeAnimateEditor::DeleteSelected);
    connect(FSpeed, &QSlider::valueChanged, this, [this](int v) {
        if (!FFilling)
            SetSpeed(v);
    });
    connect(FLoop, &QCheckBox::toggled, this, [this](bool on) {
        if (!FFilling)
            SetLoop(on);
    });
    connect(FScale, qOverload<int>(&QSpinBox::valueChanged), this, [this](int v) { SetScale(v); });
    FillControls();
}

TTreeAnimateEditor::~TTreeAnimateEditor()
{
    ReleasePlayer();
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
    FModel->SetPlayer(nullptr);
}

void TTreeAnimateEditor::BindPlayer()
{
    if (!FPlayer)
        return;
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
        FTimeline->update();
        after(FSaved->OnPause, sender);
    };
    FPlayer->OnContinue = [this, after](TObject *sender) {
        UpdateButtons();
        after(FSaved->OnContinue, sender);
    };
    FPlayer->OnStop = [this, after](TObject *sender) {
        UpdateButtons();
        FTimeline->update();
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
    FPixelsPerFrame = PixelsPerFrameFor(position);
    if (FScale->value() != std::clamp(position, 1, 6)) {
        FFilling = true;
        FScale->setValue(std::clamp(position, 1, 6));
        FFilling = false;
    }
    Rebuild();
}

void TTreeAnimateEditor::Rebuild()
{
    FFilling = true;
    FModel->SetPlayer(FPlayer);
    const int count = FPlayer ? FPlayer->Animations().Count() : 0;
    if (FSelected >= count)
        FSelected = count - 1;
    if (FSelected >= 0)
        FList->setCurrentIndex(FModel->index(FSelected));
    FFilling = false;
    FTimeline->UpdateSize();
    FTimeline->update();
    FillControls();
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
    if (FSelected >= 0)
        FList->setCurrentIndex(FModel->index(FSelected));
    else
        FList->clearSelection();
    FFilling = false;
    if (FSelected >= 0)
        FTimelineArea->ensureVisible(FTimeline->BarRect(FSelected).left(), FTimeline->BarRect(FSelected).center().y(),
                                     20, kRowHeight);
    FTimeline->update();
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
    FTimeline->UpdateSize();
    FTimeline->update();
    FillInspector();
}

void TTreeAnimateEditor::UpdateButtons()
{
    const TAnimateState state = FPlayer ? FPlayer->State() : asStopped;
    FFilling = true;
    FPlay->setEnabled(FPlayer && state == asStopped);
    FPause->setEnabled(state != asStopped);
    FPause->setChecked(state == asPaused);
    FStop->setEnabled(state != asStopped);
    FNext->setEnabled(state == asPaused);
    FAdd->setEnabled(FPlayer != nullptr);
    FDelete->setEnabled(FPlayer && FPlayer->Animations().Count() > 0 && FSelected >= 0);
    FFilling = false;
}

void TTreeAnimateEditor::FollowFrame()
{
    if (!FPlayer)
        return;
    const int frame = FPlayer->Frame() < 0 ? FPlayer->LastFrame() + 1 : FPlayer->Frame();
    const int x = frame * FPixelsPerFrame;
    QScrollBar *h = FTimelineArea->horizontalScrollBar();
    const int width = FTimelineArea->viewport()->width();
    if (x - h->value() > width)
        h->setValue(h->value() + std::max(20, x - h->value() - width + 20));
    else if (x < h->value())
        h->setValue(x);
    FTimeline->update();
}

void TTreeAnimateEditor::Edit(TComponent *element, const QString &property, const std::function<void()> &change)
{
    TTreeDocument *tree = FPlayer ? FPlayer->Tree() : nullptr;
    if (tree) {
        TTreeStep step(tree, SAnimationStepEdit);
        tree->EditElement(element, property, change);
    } else {
        change();
    }
    emit Changed();
}

// ---- Commands

void TTreeAnimateEditor::Play()
{
    if (FPlayer)
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

// ---- Bars

void TTreeAnimateEditor::MoveBar(int index, int dx)
{
    TAnimation *a = FPlayer ? FPlayer->Animations()[index] : nullptr;
    if (!a)
        return;
    const int frames = dx / FPixelsPerFrame;
    // A bar never goes left of the first frame: such a move is cancelled.
    if (frames == 0 || static_cast<long long>(a->StartFrame()) + frames < 0)
        return;
    Edit(a, QStringLiteral("StartFrame"), [&] { a->SetStartFrame(a->StartFrame() + frames); });
    FTimeline->UpdateSize();
    FTimeline->update();
    FillInspector();
}

void TTreeAnimateEditor::ResizeBar(int index, bool leftEdge, int dx)
{
    TAnimation *a = FPlayer ? FPlayer->Animations()[index] : nullptr;
    if (!a)
        return;
    int frames = dx / FPixelsPerFrame;
    if (frames == 0)
        return;
    if (leftEdge) {
        // Not before the first frame, and never to nothing.
        frames = std::max(frames, -a->StartFrame());
        if (a->Duration() - frames <= 0 || frames == 0)
            return;
        Edit(a, QString(), [&] {
            a->SetDuration(a->Duration() - frames);
            a->SetStartFrame(a->StartFrame() + frames);
        });
    } else {
        const int duration = std::max(1, a->Duration() + frames);
        if (duration == a->Duration())
            return;
        Edit(a, QStringLiteral("Duration"), [&] { a->SetDuration(duration); });
    }
    FTimeline->UpdateSize();
    FTimeline->update();
    FillInspector();
}

// ---------------------------------------------------------------------------
// The timeline

TAnimationTimeline::TAnimationTimeline(TTreeAnimateEditor *editor) : QWidget(nullptr), FEditor(editor)
{
    setObjectName(QStringLiteral("Timeline"));
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

QRect TAnimationTimeline::BarRect(int index) const
{
    const TTreeAnimate *player = FEditor->Player();
    const TAnimation *a = player ? player->Animations()[index] : nullptr;
    if (!a)
        return {};
    const int ppf = FEditor->PixelsPerFrame();
    const int h = (TTreeAnimateEditor::kRowHeight - 10) / 2 + 8;
    QRect r(a->StartFrame() * ppf, TTreeAnimateEditor::kRulerHeight + index * TTreeAnimateEditor::kRowHeight + 1,
            a->Duration() * ppf, h);
    if (index == FDragIndex) {
        if (FDragKind == 1)
            r.translate(FDragDX, 0);
        else if (FDragKind == 2)
            r.setLeft(std::min(r.right(), r.left() + FDragDX));
        else if (FDragKind == 3)
            r.setRight(std::max(r.left(), r.right() + FDragDX));
    }
    return r;
}

int TAnimationTimeline::RowAt(const QPoint &p) const
{
    const TTreeAnimate *player = FEditor->Player();
    if (!player || p.y() < TTreeAnimateEditor::kRulerHeight)
        return -1;
    const int row = (p.y() - TTreeAnimateEditor::kRulerHeight) / TTreeAnimateEditor::kRowHeight;
    return row < player->Animations().Count() ? row : -1;
}

int TAnimationTimeline::HandleAt(const QPoint &p, int *index) const
{
    const int row = RowAt(p);
    if (index)
        *index = row;
    if (row < 0)
        return 0;
    const QRect r = BarRect(row);
    if (p.x() < r.left() - 3 || p.x() > r.right() + 3)
        return 0;
    if (std::abs(p.x() - r.left()) <= 3)
        return 2;
    if (std::abs(p.x() - r.right()) <= 3)
        return 3;
    return 1;
}

QSize TAnimationTimeline::sizeHint() const
{
    const TTreeAnimate *player = FEditor->Player();
    int last = 0;
    const int count = player ? player->Animations().Count() : 0;
    for (int i = 0; i < count; ++i)
        last = std::max(last, player->Animations()[i]->EndFrame());
    return QSize((last + 2) * FEditor->PixelsPerFrame() + 40,
                 TTreeAnimateEditor::kRulerHeight + count * TTreeAnimateEditor::kRowHeight + 4);
}

void TAnimationTimeline::UpdateSize()
{
    QSize s = sizeHint();
    if (parentWidget())
        s = s.expandedTo(parentWidget()->size());
    resize(s);
}

void TAnimationTimeline::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    const QRect area = event->rect();
    const TTreeAnimate *player = FEditor->Player();
    const int ppf = FEditor->PixelsPerFrame();
    // The ruler: a label every 50 pixels or so, in frames.
    p.fillRect(QRect(area.left(), 0, area.width(), TTreeAnimateEditor::kRulerHeight), palette().button());
    QFont small = font();
    small.setPixelSize(9);
    p.setFont(small);
    p.setPen(palette().buttonText().color());
    const int step = std::max(1, (50 + ppf - 1) / ppf) * ppf;
    for (int x = area.left() / step * step; x <= area.right(); x += step) {
        p.drawLine(x, TTreeAnimateEditor::kRulerHeight - 4, x, TTreeAnimateEditor::kRulerHeight - 1);
        p.drawText(x + 2, TTreeAnimateEditor::kRulerHeight - 5, QString::number(x / ppf));
    }
    if (!player)
        return;
    const int count = player->Animations().Count();
    const int first = std::max(0, (area.top() - TTreeAnimateEditor::kRulerHeight) / TTreeAnimateEditor::kRowHeight);
    const int last =
        std::min(count - 1, (area.bottom() - TTreeAnimateEditor::kRulerHeight) / TTreeAnimateEditor::kRowHeight + 1);
    for (int i = first; i <= last; ++i) {
        const TAnimation *a = player->Animations()[i];
        const QRect r = BarRect(i);
        const bool active = a->IsActive();
        p.fillRect(r, active ? QColor(Qt::black) : QColor(0x80, 0x80, 0x80));
        p.setPen(QColor(Qt::red));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        if (i == FEditor->SelectedIndex()) {
            // The handles at both ends.
            p.setPen(QColor(Qt::blue));
            p.setBrush(QColor(0, 0, 0x80));
            p.drawRect(r.left() - 1, r.center().y() - 1, 3, 3);
            p.drawRect(r.right() - 1, r.center().y() - 1, 3, 3);
            p.setBrush(Qt::NoBrush);
        }
    }
    // The end of the animation, the start, and the frame being played.
    int lastFrame = 0;
    for (int i = 0; i < count; ++i)
        lastFrame = std::max(lastFrame, player->Animations()[i]->EndFrame());
    p.setPen(QPen(Qt::black, 1));
    if (lastFrame > 0)
        p.drawLine((lastFrame + 1) * ppf + 1, 0, (lastFrame + 1) * ppf + 1, height());
    p.drawLine(0, 0, 0, height());
    if (player->State() != asStopped) {
        const int frame = player->Frame() < 0 ? player->LastFrame() + 1 : player->Frame();
        p.setPen(QPen(player->State() == asPlaying ? QColor(Qt::blue) : QColor(Qt::red), 1));
        p.drawLine(frame * ppf, 0, frame * ppf, height());
    }
}

void TAnimationTimeline::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    int index = -1;
    FDragKind = HandleAt(event->position().toPoint(), &index);
    FEditor->SelectIndex(index);
    FDragIndex = FDragKind ? index : -1;
    FPressX = event->position().toPoint().x();
    FDragDX = 0;
}

void TAnimationTimeline::mouseMoveEvent(QMouseEvent *event)
{
    if (FDragIndex < 0) {
        const int kind = HandleAt(event->position().toPoint());
        setCursor(kind == 2 || kind == 3 ? Qt::SizeHorCursor : Qt::PointingHandCursor);
        return;
    }
    FDragDX = event->position().toPoint().x() - FPressX;
    update();
}

void TAnimationTimeline::mouseReleaseEvent(QMouseEvent *event)
{
    if (FDragIndex < 0)
        return;
    const int index = FDragIndex;
    const int kind = FDragKind;
    const int dx = event->position().toPoint().x() - FPressX;
    FDragIndex = -1;
    FDragKind = 0;
    FDragDX = 0;
    if (kind == 1)
        FEditor->MoveBar(index, dx);
    else if (kind == 2 || kind == 3)
        FEditor->ResizeBar(index, kind == 2, dx);
    update();
}
