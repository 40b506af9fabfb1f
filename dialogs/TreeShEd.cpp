#include "dialogs/TreeShEd.h"

#include "core/NameTables.h"
#include "dialogs/DialogConst.h"
#include "dialogs/KorBrushDlg.h"
#include "dialogs/KorButtons.h"
#include "dialogs/KorPenDlg.h"
#include "dialogs/KorPrompts.h"
#include "dialogs/KorTextDlg.h"
#include "model/TreeDocument.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QSpinBox *NewSpin(int low, int high, int step = 1)
{
    auto *box = new QSpinBox;
    box->setRange(low, high);
    box->setSingleStep(step);
    return box;
}

QComboBox *NewList(const QStringList &entries)
{
    auto *list = new QComboBox;
    list->addItems(entries);
    return list;
}

QScrollBar *NewBar(int low, int high, int pageStep)
{
    auto *bar = new QScrollBar(Qt::Horizontal);
    bar->setRange(low, high);
    bar->setPageStep(pageStep);
    bar->setMinimumWidth(160);
    return bar;
}

QLabel *Caption(const char *text, QWidget *buddy)
{
    auto *label = new QLabel(QString::fromLatin1(text));
    label->setBuddy(buddy);
    return label;
}

// The style list shows the connection styles Auto, Line, Sides, Curve.
const TTreeConnectionStyle kConnectionStyles[] = {csAuto, csLine, csSides, csCurve};

// Sets a check box's state without its handler writing anything.
void SetQuietly(QCheckBox *box, bool checked)
{
    const bool blocked = box->blockSignals(true);
    box->setChecked(checked);
    box->blockSignals(blocked);
}

} // namespace

TNodeTreeEditor::TNodeTreeEditor(QWidget *parent) : TKorDialog(parent)
{
    setObjectName(QStringLiteral("NodeTreeEditor"));
    setWindowTitle(QStringLiteral("Tree Node Editor"));
    FPages = new QTabWidget;
    BuildFormatPage();
    FTextPage = new QWidget;
    FPages->addTab(FTextPage, QStringLiteral("Text"));
    BuildImagePage();
    BuildGradientPage();
    BuildShadowPage();
    BuildPositionPage();
    FButtons = new QDialogButtonBox;
    QPushButton *close = FButtons->addButton(QStringLiteral("C&lose"), QDialogButtonBox::AcceptRole);
    close->setDefault(true);
    // Close is the cancel button too: Escape keeps the changes as well.
    connect(FButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(FPages, 1);
    layout->addWidget(FButtons);
    connect(FPages, &QTabWidget::currentChanged, this, [this](int index) { PageChanged(index); });
}

TNodeTreeEditor::~TNodeTreeEditor() = default;

TTreeNodeShape *TNodeTreeEditor::FirstNode() const
{
    return FTree ? FTree->Selected().First() : nullptr;
}

void TNodeTreeEditor::ForSelected(const QString &property, const std::function<void(TTreeNodeShape *)> &change)
{
    if (FFilling || !FTree || FTree->Selected().Count() == 0)
        return;
    TTreeStep step(FTree, SStepFormat);
    // A copy: a change may not alter the selection, but nothing relies on it.
    std::vector<TTreeNodeShape *> nodes;
    for (int i = 0; i < FTree->Selected().Count(); ++i)
        nodes.push_back(FTree->Selected()[i]);
    for (TTreeNodeShape *n : nodes)
        FTree->EditElement(n, property, [&] { change(n); });
}

void TNodeTreeEditor::ForFirst(const QString &property, const std::function<void(TTreeNodeShape *)> &change)
{
    TTreeNodeShape *first = FirstNode();
    if (FFilling || !first)
        return;
    TTreeStep step(FTree, SStepPosition);
    FTree->EditElement(first, property, [&] { change(first); });
}

// ---------------------------------------------------------------------------
// Pages

void TNodeTreeEditor::BuildFormatPage()
{
    auto *page = new QWidget;
    FColor = new TButtonColor(QStringLiteral("Color:"));
    FBorder = new QPushButton(QStringLiteral("B&order..."));
    FBorderColor = new TButtonColor(QString());
    FBorderColor->setFixedWidth(32);
    FPattern = new QPushButton(QStringLiteral("&Pattern..."));
    FBack = new TButtonColor(QStringLiteral("B&ack..."));
    FStyle = NewList({QStringLiteral("Rectangle"), QStringLiteral("Circle"), QStringLiteral("Vertical Line"),
                      QStringLiteral("Horizontal Line"), QStringLiteral("Line"), QStringLiteral("Inverted Line"),
                      QStringLiteral("Diamond"), QStringLiteral("Triangle Top"), QStringLiteral("Triangle Bottom"),
                      QStringLiteral("Triangle Left"), QStringLiteral("Triangle Right"),
                      QStringLiteral("Round Rectangle")});
    FStyleLabel = Caption("&Style:", FStyle);
    FCursor = new QComboBox;
    for (const QString &name : CursorIdents())
        FCursor->addItem(name.mid(2));
    FCross = NewList({QStringLiteral("Auto"), QStringLiteral("Always"), QStringLiteral("Never")});
    FTransparency = NewSpin(0, 100, 5);
    FConnections = NewList({QStringLiteral("Auto"), QStringLiteral("Line"), QStringLiteral("Sides"), QStringLiteral("Curve")});
    FTransparent = new QCheckBox(QStringLiteral("&Transparent"));
    FClipText = new QCheckBox(QStringLiteral("Clip Text"));

    auto *buttons = new QGridLayout;
    buttons->addWidget(FColor, 0, 0, 1, 2);
    buttons->addWidget(FBorder, 1, 0);
    buttons->addWidget(FBorderColor, 1, 1);
    buttons->addWidget(FPattern, 2, 0, 1, 2);
    buttons->addWidget(FBack, 3, 0, 1, 2);
    buttons->addWidget(FTransparent, 4, 0, 1, 2);
    buttons->addWidget(FClipText, 5, 0, 1, 2);
    buttons->setRowStretch(6, 1);
    auto *form = new QFormLayout;
    form->addRow(FStyleLabel, FStyle);
    form->addRow(Caption("C&ursor:", FCursor), FCursor);
    FCrossLabel = Caption("C&ross-box:", FCross);
    form->addRow(FCrossLabel, FCross);
    form->addRow(Caption("T&ransparency:", FTransparency), FTransparency);
    FConnectionsLabel = Caption("Children &Connections:", FConnections);
    form->addRow(FConnectionsLabel, FConnections);
    auto *layout = new QHBoxLayout(page);
    layout->addLayout(buttons);
    layout->addLayout(form, 1);
    FPages->addTab(page, QStringLiteral("Format"));

    FColor->LinkValue(
        [this] { return FirstNode() ? FirstNode()->Color() : clNone; },
        [this](TColor c) {
            ForSelected(QString(), [c](TTreeNodeShape *n) {
                n->SetColor(c);
                n->SetTransparent(false);
            });
            SetQuietly(FTransparent, false);
        });
    FBorderColor->LinkValue(
        [this] { return FirstNode() ? FirstNode()->EffectiveBorder()->Color() : clNone; },
        [this](TColor c) { ForSelected(QStringLiteral("Border.Color"), [c](TTreeNodeShape *n) { n->Border()->SetColor(c); }); });
    FBack->LinkValue([this] { return FirstNode() ? FirstNode()->BackColor() : clNone; },
                     [this](TColor c) { ForSelected(QStringLiteral("BackColor"), [c](TTreeNodeShape *n) { n->SetBackColor(c); }); });
    connect(FBorder, &QPushButton::clicked, this, [this] { RunBorder(); });
    connect(FPattern, &QPushButton::clicked, this, [this] { RunPattern(); });
    connect(FStyle, qOverload<int>(&QComboBox::activated), this, [this](int i) {
        ForSelected(QString(), [i](TTreeNodeShape *n) {
            n->SetStyle(static_cast<TTreeShapeStyle>(i));
            n->Border()->SetVisible(true);
        });
    });
    connect(FCursor, qOverload<int>(&QComboBox::activated), this, [this](int i) {
        int cursor = 0;
        if (i < 0 || !IdentToCursor(QStringLiteral("cr") + FCursor->itemText(i), cursor))
            return;
        ForSelected(QStringLiteral("Cursor"), [cursor](TTreeNodeShape *n) { n->SetCursor(cursor); });
    });
    connect(FCross, qOverload<int>(&QComboBox::activated), this, [this](int i) {
        ForSelected(QStringLiteral("ShowCross"), [i](TTreeNodeShape *n) { n->SetShowCross(static_cast<TTreeNodeShapeShowCross>(i)); });
    });
    connect(FTransparency, qOverload<int>(&QSpinBox::valueChanged), this, [this](int v) {
        if (isVisible())
            ForSelected(QStringLiteral("Transparency"), [v](TTreeNodeShape *n) { n->SetTransparency(static_cast<uint8_t>(v)); });
    });
    connect(FConnections, qOverload<int>(&QComboBox::activated), this, [this](int i) {
        if (FFilling || i < 0 || !FTree)
            return;
        TTreeStep step(FTree, SStepFormat);
        for (int k = 0; k < FTree->Selected().Count(); ++k)
            if (TNodeConnectionList *list = FTree->Selected()[k]->PeekConnections())
                for (TTreeConnection *c : *list)
                    FTree->EditElement(c, QStringLiteral("Style"), [&] { c->SetStyle(kConnectionStyles[i]); });
    });
    connect(FTransparent, &QCheckBox::toggled, this, [this](bool on) {
        ForSelected(QStringLiteral("Transparent"), [on](TTreeNodeShape *n) { n->SetTransparent(on); });
    });
    connect(FClipText, &QCheckBox::toggled, this, [this](bool on) {
        ForSelected(QStringLiteral("Text.ClipText"), [on](TTreeNodeShape *n) { n->Text()->SetClipText(on); });
    });
}

void TNodeTreeEditor::BuildImagePage()
{
    auto *page = new QWidget;
    FPreview = new QLabel;
    FPreview->setFixedSize(48, 48);
    FPreview->setFrameShape(QFrame::Panel);
    FPreview->setFrameShadow(QFrame::Sunken);
    FPreview->setAlignment(Qt::AlignCenter);
    FImageButton = new QPushButton(SBrowseBackImage);
    FDefaultImage = NewList({QStringLiteral("None"), QStringLiteral("Closed folder"), QStringLiteral("Open folder"),
                             QStringLiteral("Desktop"), QStringLiteral("MyPC"), QStringLiteral("Network"),
                             QStringLiteral("Floppy 3"), QStringLiteral("Recycle Bin"), QStringLiteral("Hard Disk"),
                             QStringLiteral("Net Share"), QStringLiteral("Computer"), QStringLiteral("World"),
                             QStringLiteral("Folder open and close"), QStringLiteral("Checked closed folder"),
                             QStringLiteral("Unchecked closed folder"), QStringLiteral("Checked"),
                             QStringLiteral("Unchecked"), QStringLiteral("Radio checked"),
                             QStringLiteral("Radio unChecked"), QStringLiteral("Radio checked folder"),
                             QStringLiteral("Radio unchecked folder")});
    FImageAlign = NewList({QStringLiteral("Automatic"), QStringLiteral("Left Top"), QStringLiteral("Right Bottom"),
                           QStringLiteral("Left Bottom"), QStringLiteral("Right Top"), QStringLiteral("Left"),
                           QStringLiteral("Top"), QStringLiteral("Right"), QStringLiteral("Bottom"),
                           QStringLiteral("Center")});
    FImageWidth = NewSpin(0, 10000);
    FImageHeight = NewSpin(0, 10000);
    FImageTransparent = new QCheckBox(QStringLiteral("&Transparent"));
    auto *left = new QVBoxLayout;
    left->addWidget(FPreview, 0, Qt::AlignHCenter);
    left->addWidget(FImageButton);
    left->addWidget(FImageTransparent);
    left->addStretch(1);
    auto *form = new QFormLayout;
    form->addRow(Caption("&Default image:", FDefaultImage), FDefaultImage);
    form->addRow(Caption("&Align:", FImageAlign), FImageAlign);
    form->addRow(Caption("&Width:", FImageWidth), FImageWidth);
    form->addRow(Caption("&Height:", FImageHeight), FImageHeight);
    auto *layout = new QHBoxLayout(page);
    layout->addLayout(left);
    layout->addLayout(form, 1);
    FPages->addTab(page, QStringLiteral("Image"));

    connect(FImageButton, &QPushButton::clicked, this, [this] { ImageClicked(); });
    connect(FDefaultImage, qOverload<int>(&QComboBox::activated), this, [this](int i) {
        ForSelected(QStringLiteral("ImageIndex"), [i](TTreeNodeShape *n) { n->SetImageIndex(static_cast<TTreeNodeImageIndex>(i)); });
        FillImage();
    });
    connect(FImageAlign, qOverload<int>(&QComboBox::activated), this, [this](int i) {
        ForSelected(QString(), [i](TTreeNodeShape *n) {
            n->SetImageAlignment(static_cast<TTreeImageAlignment>(i));
            if (i == iaCenter)
                n->SetTransparent(true);
        });
    });
    connect(FImageWidth, qOverload<int>(&QSpinBox::valueChanged), this, [this](int v) {
        ForSelected(QStringLiteral("ImageWidth"), [v](TTreeNodeShape *n) { n->SetImageWidth(v); });
    });
    connect(FImageHeight, qOverload<int>(&QSpinBox::valueChanged), this, [this](int v) {
        ForSelected(QStringLiteral("ImageHeight"), [v](TTreeNodeShape *n) { n->SetImageHeight(v); });
    });
    connect(FImageTransparent, &QCheckBox::toggled, this, [this](bool on) {
        // Only own pictures: the default images are shared by every node.
        ForSelected(QStringLiteral("Image.Transparent"), [on](TTreeNodeShape *n) {
            if (n->PeekImage() && n->PeekImage()->HasGraphic())
                n->Image()->SetTransparent(on);
        });
    });
}

void TNodeTreeEditor::BuildGradientPage()
{
    auto *page = new QWidget;
    FGradVisible = new QCheckBox(QStringLiteral("&Visible"));
    FGradStyle = NewList({QStringLiteral("Top Bottom"), QStringLiteral("Bottom Top"), QStringLiteral("Left Right"),
                          QStringLiteral("Right Left"), QStringLiteral("From Center"), QStringLiteral("From Top Left"),
                          QStringLiteral("From Bottom Left")});
    FGradStart = new TButtonColor(QString());
    FGradEnd = new TButtonColor(QString());
    FGradMiddle = new TButtonColor(QString());
    for (TButtonColor *b : {FGradStart, FGradMiddle, FGradEnd})
        b->setFixedWidth(40);
    FGradSwap = new QPushButton(QStringLiteral("S&wap"));
    FNoMiddle = new QCheckBox(QStringLiteral("No &Middle"));
    FGradClip = new QCheckBox(QStringLiteral("&Clip"));
    auto *colors = new QGroupBox(QStringLiteral("Colors:"));
    auto *row = new QHBoxLayout(colors);
    row->addWidget(FGradStart);
    row->addWidget(FGradMiddle);
    row->addWidget(FGradEnd);
    row->addWidget(FGradSwap);
    row->addStretch(1);
    auto *form = new QFormLayout;
    form->addRow(FGradVisible);
    form->addRow(Caption("&Style:", FGradStyle), FGradStyle);
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addWidget(colors);
    layout->addWidget(FNoMiddle);
    layout->addWidget(FGradClip);
    layout->addStretch(1);
    FPages->addTab(page, QStringLiteral("Gradient"));

    const auto gradientColor = [this](TColor (TCustomKorGradient::*get)() const) {
        return [this, get]() -> TColor {
            TTreeNodeShape *n = FirstNode();
            if (!n)
                return clNone;
            const TKorGradient *g = n->PeekGradient();
            const TKorGradient defaults;
            return ((g ? g : &defaults)->*get)();
        };
    };
    FGradStart->LinkValue(gradientColor(&TCustomKorGradient::StartColor), [this](TColor c) {
        ForSelected(QStringLiteral("Gradient.StartColor"), [c](TTreeNodeShape *n) { n->Gradient()->SetStartColor(c); });
    });
    FGradEnd->LinkValue(gradientColor(&TCustomKorGradient::EndColor), [this](TColor c) {
        ForSelected(QStringLiteral("Gradient.EndColor"), [c](TTreeNodeShape *n) { n->Gradient()->SetEndColor(c); });
    });
    // While there is no middle colour the swatch shows the box's colour.
    FGradMiddle->LinkValue(
        [this, gradientColor] {
            const TColor c = gradientColor(&TCustomKorGradient::MidColor)();
            return c == clNone ? FromQColor(palette().color(QPalette::Window)) : c;
        },
        [this](TColor c) {
            ForSelected(QStringLiteral("Gradient.MidColor"), [c](TTreeNodeShape *n) { n->Gradient()->SetMidColor(c); });
            SetQuietly(FNoMiddle, false);
            FNoMiddle->setEnabled(true);
            FGradMiddle->setEnabled(true);
        });
    connect(FGradVisible, &QCheckBox::toggled, this, [this](bool on) {
        ForSelected(QStringLiteral("Gradient.Visible"), [on](TTreeNodeShape *n) { n->Gradient()->SetVisible(on); });
    });
    connect(FGradStyle, qOverload<int>(&QComboBox::activated), this, [this](int i) {
        ForSelected(QStringLiteral("Gradient.Direction"),
                    [i](TTreeNodeShape *n) { n->Gradient()->SetDirection(static_cast<TGradientDirection>(i)); });
    });
    connect(FGradSwap, &QPushButton::clicked, this, [this] {
        ForSelected(QStringLiteral("Gradient"), [](TTreeNodeShape *n) {
            TKorGradient *g = n->Gradient();
            const TColor start = g->StartColor();
            g->SetStartColor(g->EndColor());
            g->SetEndColor(start);
        });
        FGradStart->update();
        FGradEnd->update();
    });
    connect(FNoMiddle, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            return;
        ForSelected(QStringLiteral("Gradient.MidColor"), [](TTreeNodeShape *n) { n->Gradient()->SetMidColor(clNone); });
        FNoMiddle->setEnabled(false);
        FGradMiddle->update();
    });
    connect(FGradClip, &QCheckBox::toggled, this, [this](bool on) {
        ForSelected(QStringLiteral("GradientClip"), [on](TTreeNodeShape *n) { n->SetGradientClip(on); });
    });
}

void TNodeTreeEditor::BuildShadowPage()
{
    auto *page = new QWidget;
    FShadowColor = new TButtonColor(QStringLiteral("Color:"));
    FShadowHoriz = NewSpin(-99, 99);
    FShadowVert = NewSpin(-99, 99);
    auto *form = new QFormLayout(page);
    form->addRow(FShadowColor);
    form->addRow(Caption("&Horizontal Size:", FShadowHoriz), FShadowHoriz);
    form->addRow(Caption("&Vertical Size:", FShadowVert), FShadowVert);
    FPages->addTab(page, QStringLiteral("Shadow"));
    FShadowColor->LinkValue(
        [this] {
            TTreeNodeShape *n = FirstNode();
            return n ? (n->PeekShadow() ? n->PeekShadow()->Color() : TKorShadow().Color()) : clNone;
        },
        [this](TColor c) { ForSelected(QStringLiteral("Shadow.Color"), [c](TTreeNodeShape *n) { n->Shadow()->SetColor(c); }); });
    connect(FShadowHoriz, qOverload<int>(&QSpinBox::valueChanged), this, [this](int v) {
        ForSelected(QStringLiteral("Shadow.HorizSize"), [v](TTreeNodeShape *n) { n->Shadow()->SetHorizSize(v); });
    });
    connect(FShadowVert, qOverload<int>(&QSpinBox::valueChanged), this, [this](int v) {
        ForSelected(QStringLiteral("Shadow.VertSize"), [v](TTreeNodeShape *n) { n->Shadow()->SetVertSize(v); });
    });
}

void TNodeTreeEditor::BuildPositionPage()
{
    FPositionPage = new QWidget;
    // The boxes show any coordinate a diagram may hold, not only what the
    // arrows reach.
    FLeft = NewSpin(-kCoordLimit, kCoordLimit);
    FTop = NewSpin(-kCoordLimit, kCoordLimit);
    FRight = NewSpin(-kCoordLimit, kCoordLimit);
    FBottom = NewSpin(-kCoordLimit, kCoordLimit);
    FMoveH = NewBar(-1000, 1000, 10);
    FMoveV = NewBar(-1000, 1000, 1);
    FWidthBar = NewBar(0, 1000, 10);
    FHeightBar = NewBar(0, 1000, 1);
    FAutoSize = new QCheckBox(QStringLiteral("Auto &Size"));
    FAutoLeft = new QCheckBox(QStringLiteral("&Auto"));
    FAutoTop = new QCheckBox(QStringLiteral("A&uto"));
    auto *grid = new QGridLayout(FPositionPage);
    grid->addWidget(Caption("&Left:", FLeft), 0, 0);
    grid->addWidget(FLeft, 0, 1);
    grid->addWidget(FAutoLeft, 0, 2);
    grid->addWidget(Caption("&Top:", FTop), 1, 0);
    grid->addWidget(FTop, 1, 1);
    grid->addWidget(FAutoTop, 1, 2);
    grid->addWidget(Caption("&Right:", FRight), 2, 0);
    grid->addWidget(FRight, 2, 1);
    grid->addWidget(Caption("&Bottom:", FBottom), 3, 0);
    grid->addWidget(FBottom, 3, 1);
    grid->addWidget(FAutoSize, 3, 2);
    grid->addWidget(Caption("Move &Horiz:", FMoveH), 4, 0);
    grid->addWidget(FMoveH, 4, 1, 1, 2);
    grid->addWidget(Caption("Move &Vert:", FMoveV), 5, 0);
    grid->addWidget(FMoveV, 5, 1, 1, 2);
    grid->addWidget(Caption("&Width:", FWidthBar), 6, 0);
    grid->addWidget(FWidthBar, 6, 1, 1, 2);
    grid->addWidget(Caption("H&eight:", FHeightBar), 7, 0);
    grid->addWidget(FHeightBar, 7, 1, 1, 2);
    grid->setRowStretch(8, 1);
    FPages->addTab(FPositionPage, QStringLiteral("Position"));

    const auto edge = [this](QSpinBox *box, const char *name, void (TTreeNodeShape::*set)(int)) {
        connect(box, qOverload<int>(&QSpinBox::valueChanged), this, [this, name, set](int v) {
            ForFirst(QString::fromLatin1(name), [set, v](TTreeNodeShape *n) { (n->*set)(v); });
            FillPosition();
        });
    };
    edge(FLeft, "X0", &TTreeNodeShape::SetX0);
    edge(FTop, "Y0", &TTreeNodeShape::SetY0);
    edge(FRight, "X1", &TTreeNodeShape::SetX1);
    edge(FBottom, "Y1", &TTreeNodeShape::SetY1);
    const auto move = [this](QScrollBar *bar, bool horizontal) {
        connect(bar, &QScrollBar::valueChanged, this, [this, horizontal](int v) {
            if (FFilling || !FTree)
                return;
            int &last = horizontal ? FLastMoveX : FLastMoveY;
            const int delta = v - last;
            last = v;
            TTreeStep step(FTree, SStepPosition);
            std::vector<TTreeNodeShape *> nodes;
            for (int i = 0; i < FTree->Selected().Count(); ++i)
                nodes.push_back(FTree->Selected()[i]);
            for (TTreeNodeShape *n : nodes)
                FTree->MoveShape(n, horizontal ? delta : 0, horizontal ? 0 : delta, false);
            FillPosition();
        });
    };
    move(FMoveH, true);
    move(FMoveV, false);
    connect(FWidthBar, &QScrollBar::valueChanged, this, [this](int v) {
        ForSelected(QStringLiteral("X1"), [v](TTreeNodeShape *n) { n->SetX1(n->X0() + v); });
        FillPosition();
    });
    connect(FHeightBar, &QScrollBar::valueChanged, this, [this](int v) {
        ForSelected(QStringLiteral("Y1"), [v](TTreeNodeShape *n) { n->SetY1(n->Y0() + v); });
        FillPosition();
    });
    connect(FAutoSize, &QCheckBox::toggled, this, [this](bool on) {
        ForSelected(QStringLiteral("AutoSize"), [on](TTreeNodeShape *n) { n->SetAutoSize(on); });
        EnableSizeControls();
    });
    connect(FAutoLeft, &QCheckBox::toggled, this, [this](bool on) {
        ForSelected(QStringLiteral("AutoPosition.Left"), [on](TTreeNodeShape *n) { n->AutoPosition()->SetLeft(on); });
    });
    connect(FAutoTop, &QCheckBox::toggled, this, [this](bool on) {
        ForSelected(QStringLiteral("AutoPosition.Top"), [on](TTreeNodeShape *n) { n->AutoPosition()->SetTop(on); });
    });
}

void TNodeTreeEditor::ShowDiagramControls(bool show)
{
    for (QWidget *w : std::initializer_list<QWidget *>{FCrossLabel, FCross, FConnectionsLabel, FConnections})
        w->setVisible(show);
}

void TNodeTreeEditor::ShowPositionPage(bool show)
{
    const int index = FPages->indexOf(FPositionPage);
    if (!show && index >= 0)
        FPages->removeTab(index);
    else if (show && index < 0)
        FPages->addTab(FPositionPage, QStringLiteral("Position"));
}

void TNodeTreeEditor::SetPage(int page)
{
    if (page >= 0 && page < FPages->count())
        FPages->setCurrentIndex(page);
    PageChanged(FPages->currentIndex());
}

void TNodeTreeEditor::PageChanged(int index)
{
    if (FPages->widget(index) != FTextPage || FTextPanel)
        return;
    // The text panel is made the first time its page is shown.
    FTextPanel = new TFormKorText;
    FTextPanel->SetTree(FTree);
    FTextPanel->EmbedIn(FTextPage);
}

// ---------------------------------------------------------------------------
// Filling

void TNodeTreeEditor::ShowStep()
{
    FFilling = true;
    TTreeNodeShape *n = FirstNode();
    setEnabled(n != nullptr);
    if (!n) {
        FFilling = false;
        return;
    }
    FColor->update();
    FBorderColor->update();
    FBack->update();
    FillImage();
    const TKorGradient defaults;
    const TKorGradient *g = n->PeekGradient() ? n->PeekGradient() : &defaults;
    FGradVisible->setChecked(g->Visible());
    FGradStyle->setCurrentIndex(g->Direction());
    FNoMiddle->setChecked(!g->HasMidColor());
    FNoMiddle->setEnabled(g->HasMidColor());
    FGradStart->update();
    FGradEnd->update();
    FGradMiddle->update();
    const bool custom = n->Style() == tssCustom;
    FStyle->setVisible(!custom);
    FStyleLabel->setVisible(!custom);
    if (!custom)
        FStyle->setCurrentIndex(n->Style());
    FTransparency->setValue(n->Transparency());
    FCross->setCurrentIndex(n->ShowCross());
    FImageAlign->setCurrentIndex(n->ImageAlignment());
    FDefaultImage->setCurrentIndex(n->ImageIndex());
    const TKorShadow *shadow = n->PeekShadow();
    FShadowColor->update();
    FShadowHoriz->setValue(shadow ? shadow->HorizSize() : 0);
    FShadowVert->setValue(shadow ? shadow->VertSize() : 0);
    FAutoSize->setChecked(n->AutoSize());
    const TTreeShapeAutoPosition *auto_ = n->PeekAutoPosition();
    FAutoLeft->setChecked(!auto_ || auto_->Left());
    FAutoTop->setChecked(!auto_ || auto_->Top());
    EnableSizeControls();
    FillPosition();
    FLastMoveX = 0;
    FLastMoveY = 0;
    FMoveH->setValue(0);
    FMoveV->setValue(0);
    FGradClip->setChecked(n->GradientClip());
    FClipText->setChecked(n->PeekText() && n->PeekText()->ClipText());
    FTransparent->setChecked(n->Transparent());
    const TTreeConnection *c = n->PeekConnections() ? n->PeekConnections()->First() : nullptr;
    int style = 0;
    for (int i = 0; c && i < 4; ++i)
        if (kConnectionStyles[i] == c->Style())
            style = i;
    FConnections->setCurrentIndex(style);
    QString cursor;
    FCursor->setCurrentIndex(CursorToIdent(n->Cursor(), cursor) ? FCursor->findText(cursor.mid(2)) : -1);
    FImageWidth->setValue(n->ImageWidth());
    FImageHeight->setValue(n->ImageHeight());
    if (FTree && FTree->Designing())
        setWindowTitle(SEditingNode.Text() + n->Name());
    FFilling = false;
}

void TNodeTreeEditor::FillPosition()
{
    TTreeNodeShape *n = FirstNode();
    if (!n)
        return;
    const bool filling = FFilling;
    FFilling = true;
    FLeft->setValue(n->X0());
    FTop->setValue(n->Y0());
    FRight->setValue(n->X1());
    FBottom->setValue(n->Y1());
    FWidthBar->setValue(n->Width());
    FHeightBar->setValue(n->Height());
    FFilling = filling;
}

void TNodeTreeEditor::FillImage()
{
    TTreeNodeShape *n = FirstNode();
    if (!n)
        return;
    const TPicture *picture = n->NodePicture();
    const bool has = picture && picture->HasGraphic();
    FImageButton->setText(has ? SClearBackImage : SBrowseBackImage);
    if (has)
        FPreview->setPixmap(QPixmap::fromImage(picture->DrawImage()).scaled(FPreview->contentsRect().size(), Qt::KeepAspectRatio));
    else
        FPreview->clear();
    const bool own = n->PeekImage() && n->PeekImage()->HasGraphic();
    FImageTransparent->setEnabled(own);
    SetQuietly(FImageTransparent, own && n->PeekImage()->Transparent());
}

void TNodeTreeEditor::EnableSizeControls()
{
    const bool manual = !FAutoSize->isChecked();
    for (QWidget *w : std::initializer_list<QWidget *>{FRight, FBottom, FWidthBar, FHeightBar})
        w->setEnabled(manual);
}

void TNodeTreeEditor::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        ShowStep();
    TKorDialog::showEvent(event);
}

// ---------------------------------------------------------------------------
// Buttons

void TNodeTreeEditor::RunColor()
{
    FColor->EditValue();
}

void TNodeTreeEditor::RunBack()
{
    FBack->EditValue();
}

namespace {

// Edits a part of the first selected node with its dialog and, when
// confirmed, copies the part to the other selected nodes; one step.
template <class Part, class Edit, class Copy>
void EditFirstAndCopy(TTreeDocument *tree, QWidget *owner, const QString &property, Part part, Edit edit, Copy copy)
{
    TTreeNodeShape *first = tree ? tree->Selected().First() : nullptr;
    if (!first)
        return;
    TTreeStep step(tree, SStepFormat);
    if (!edit(owner, part(first), TEditTarget(tree, first, property)))
        return;
    for (int i = 1; i < tree->Selected().Count(); ++i) {
        TTreeNodeShape *n = tree->Selected()[i];
        tree->EditElement(n, property, [&] { copy(n, part(first)); });
    }
}

} // namespace

void TNodeTreeEditor::RunBorder()
{
    EditFirstAndCopy(
        FTree, this, QStringLiteral("Border"), [](TTreeNodeShape *n) { return n->Border(); },
        [](QWidget *o, TChartPen *pen, const TEditTarget &t) { return EditPen(o, pen, t); },
        [](TTreeNodeShape *n, const TChartPen *pen) { n->SetBorder(pen); });
    FBorderColor->update();
}

void TNodeTreeEditor::RunPattern()
{
    EditFirstAndCopy(
        FTree, this, QStringLiteral("Brush"), [](TTreeNodeShape *n) { return n->Brush(); },
        [](QWidget *o, TTreeShapeBrush *brush, const TEditTarget &t) { return EditBrush(o, brush, t); },
        [](TTreeNodeShape *n, const TTreeShapeBrush *brush) { n->SetBrush(brush); });
    FColor->update();
}

void TNodeTreeEditor::ImageClicked()
{
    TTreeNodeShape *first = FirstNode();
    if (!first)
        return;
    const TPicture *shown = first->NodePicture();
    if (shown && shown->HasGraphic()) {
        ForSelected(QStringLiteral("Image"), [](TTreeNodeShape *n) {
            n->SetImageIndex(tiNone);
            n->SetImage(nullptr);
        });
    } else {
        TPicture loaded;
        if (!LoadPictureAsked(this, AskPictureFile(this), loaded))
            return;
        ForSelected(QStringLiteral("Image"), [&](TTreeNodeShape *n) {
            n->SetImageIndex(tiNone);
            n->SetImage(&loaded);
        });
    }
    const bool filling = FFilling;
    FFilling = true;
    FDefaultImage->setCurrentIndex(tiNone);
    FFilling = filling;
    FillImage();
}

// ---------------------------------------------------------------------------

void EditShape(QWidget *owner, TTreeNodeShape *node, int page, const TShapeEditorCallback &callback, void *wizard,
               bool showPosition)
{
    if (!node)
        return;
    TNodeTreeEditor dialog(owner);
    dialog.ShowPositionPage(showPosition);
    const bool wasSelected = node->Selected();
    std::unique_ptr<TTreeDocument> temporary;
    TTreeDocument *tree = node->Tree();
    if (tree) {
        tree->Selected().Clear();
        node->SetSelected(true);
    } else {
        // The node joins the selection of an empty diagram without joining
        // the diagram.
        temporary = std::make_unique<TTreeDocument>();
        tree = temporary.get();
        tree->Selected().Add(node);
    }
    dialog.SetTree(tree);
    dialog.SetPage(page);
    if (callback)
        callback(wizard, &dialog);
    Prompts().Exec(dialog);
    if (temporary) {
        temporary->Selected().Reset();
    } else if (node->Tree()) {
        node->SetSelected(wasSelected);
    }
}
