#include "editor/TreePropertyPages.h"

#include "core/Exceptions.h"
#include "core/PropAccess.h"
#include "dialogs/KorBrushDlg.h"
#include "dialogs/KorButtons.h"
#include "dialogs/KorDialogs.h"
#include "dialogs/KorEdiGrad.h"
#include "editor/TreePanelsConst.h"
#include "i18n/KorTranslate.h"
#include "view/Arbolix.h"
#include "view/TreeInputMaps.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

bool GPrintPanelColor = false;

constexpr int kMinZoom = 1;
constexpr int kMaxZoom = 1000;

const char *const kPageNames[] = {"General", "Cross Box", "Panel",    "Align", "Mouse",      "Selected",
                                  "Scroll Bars", "Grid", "Handles", "Print", "Text Editor"};

QString Caption(const QString &text)
{
    QString t = text;
    t.remove(QLatin1Char('&'));
    if (t.endsWith(QLatin1String("...")))
        t.chop(3);
    if (t.endsWith(QLatin1Char(':')))
        t.chop(1);
    return t;
}

} // namespace

struct TTreePropertyPages::TBinding
{
    QWidget *Control;
    QString Path; // empty: bound to something else than a published setting
    std::function<void()> Fill;
};

// ---------------------------------------------------------------------------
// Aligning and the shortcut list


const std::vector<int> &TextEditorShortCuts()
{
    static const std::vector<int> codes = [] {
        using namespace TreeInput;
        std::vector<int> c;
        for (int k = 'A'; k <= 'Z'; ++k)
            c.push_back(kShortCutCtrl | k);
        for (int k = 'A'; k <= 'Z'; ++k)
            c.push_back(kShortCutCtrl | kShortCutAlt | k);
        const int f1 = 0x70;
        for (int mods : {0, kShortCutCtrl, kShortCutShift, kShortCutShift | kShortCutCtrl})
            for (int k = 0; k < 12; ++k)
                c.push_back(mods | (f1 + k));
        const int ins = 0x2D, del = 0x2E, back = 0x08;
        c.insert(c.end(), {ins, kShortCutShift | ins, kShortCutCtrl | ins, del, kShortCutShift | del,
                           kShortCutCtrl | del, kShortCutAlt | back, kShortCutShift | kShortCutAlt | back});
        return c;
    }();
    return codes;
}

QString ShortCutText(int code)
{
    return TreeInput::ShortCutToKeySequence(code).toString(QKeySequence::NativeText);
}

// ---------------------------------------------------------------------------

TTreePropertyPages::TTreePropertyPages(QWidget *parent) : TTreePanelPart(parent), FPages(new QTabWidget(this))
{
    setObjectName(QStringLiteral("PageTree"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FPages);
    for (const char *name : kPageNames) {
        auto *page = new QWidget(FPages);
        page->setObjectName(QString::fromLatin1(name).remove(QLatin1Char(' ')));
        auto *columns = new QHBoxLayout(page);
        columns->setContentsMargins(6, 4, 6, 4);
        auto *first = new QVBoxLayout;
        columns->addLayout(first);
        columns->addStretch(1);
        FPageWidgets.push_back(page);
        FColumns.push_back(first);
        FPages->addTab(page, QString::fromLatin1(name));
    }
    BuildGeneral();
    BuildCrossBox();
    BuildPanel();
    BuildAlign();
    BuildMouse();
    BuildSelected();
    BuildScrollBars();
    BuildGrid();
    BuildHandles();
    BuildPrint();
    BuildTextEditor();
    for (QVBoxLayout *column : FColumns)
        column->addStretch(1);
    // A page coming into sight shows what the diagram holds now (the zoom
    // changes from the menus and the wheel, the align buttons follow the
    // selection).
    connect(FPages, &QTabWidget::currentChanged, this, [this] { Refresh(); });
    Refresh();
}

TTreePropertyPages::~TTreePropertyPages() = default;

QWidget *TTreePropertyPages::Page(TPage page) const
{
    return page >= 0 && page < ppCount ? FPageWidgets[static_cast<size_t>(page)] : nullptr;
}

QWidget *TTreePropertyPages::Control(TPage page, const QString &caption) const
{
    const QString want = Caption(caption);
    QWidget *on = Page(page);
    if (!on)
        return nullptr;
    for (QWidget *w : on->findChildren<QWidget *>()) {
        if (w->property("dendrixCaption").toString() == want)
            return w;
    }
    return nullptr;
}

bool TTreePropertyPages::PrintPanelColor()
{
    return GPrintPanelColor;
}

void TTreePropertyPages::SetPrintPanelColor(bool value)
{
    GPrintPanelColor = value;
}

TPersistent *TTreePropertyPages::Settings() const
{
    return Tree() ? static_cast<TTreeDocument *>(Tree()) : nullptr;
}

bool TTreePropertyPages::HasSetting(const QString &path) const
{
    if (!Settings())
        return false;
    try {
        return PeekPropPath(*Settings(), path).Prop != nullptr;
    } catch (const Exception &) {
        return false;
    }
}

bool TTreePropertyPages::Blocked(TGuard guard) const
{
    if (!Tree())
        return true;
    return (guard == gS && FStarting) || (guard == gU && Updating());
}

void TTreePropertyPages::Edit(const QString &path, const std::function<void()> &change)
{
    TTree *tree = Tree();
    if (!tree)
        return;
    TTreeStep step(tree, SStepSettings);
    tree->EditElement(tree, path, change);
}

void TTreePropertyPages::WriteOrd(const QString &path, qint64 value)
{
    if (!HasSetting(path))
        return;
    if (GetOrdProp(*Settings(), path) == value)
        return;
    Edit(path, [&] { SetOrdProp(*Settings(), path, value); });
}

bool TTreePropertyPages::Concerns(const TTreeChange &change) const
{
    // The diagram's own settings, and the selection while the align
    // buttons are in sight.
    if (change.Element == static_cast<const TComponent *>(static_cast<const TTreeDocument *>(Tree())))
        return true;
    return change.Kind == tckSelection && FPages->currentIndex() == ppAlign;
}

void TTreePropertyPages::FillControls()
{
    for (const TBinding &b : FBindings) {
        const bool has = b.Path.isEmpty() ? Tree() != nullptr : HasSetting(b.Path);
        b.Control->setEnabled(has);
        if (has && b.Fill)
            b.Fill();
    }
    TTree *tree = Tree();
    const int selected = tree ? tree->Selected().Count() : 0;
    for (QPushButton *b : FAlignButtons)
        b->setEnabled(selected >= 2);
}

// ---------------------------------------------------------------------------
// Builders

void TTreePropertyPages::Place(QWidget *page, QWidget *control, QLabel *label)
{
    const auto at = std::find(FPageWidgets.begin(), FPageWidgets.end(), page) - FPageWidgets.begin();
    QVBoxLayout *column = FColumns[static_cast<size_t>(at)];
    if (label) {
        auto *row = new QHBoxLayout;
        row->addWidget(label);
        row->addWidget(control);
        row->addStretch(1);
        label->setBuddy(control);
        column->addLayout(row);
    } else {
        column->addWidget(control);
    }
}

void TTreePropertyPages::ColumnBreak(QWidget *page)
{
    const auto at = std::find(FPageWidgets.begin(), FPageWidgets.end(), page) - FPageWidgets.begin();
    auto *columns = static_cast<QHBoxLayout *>(page->layout());
    FColumns[static_cast<size_t>(at)]->addStretch(1);
    auto *next = new QVBoxLayout;
    columns->insertLayout(columns->count() - 1, next);
    FColumns[static_cast<size_t>(at)] = next;
}

void TTreePropertyPages::Bind(QWidget *control, const QString &path, const std::function<void()> &fill)
{
    FBindings.push_back({control, path, fill});
}

QCheckBox *TTreePropertyPages::Check(QWidget *page, const QString &caption, const QString &path, TGuard guard)
{
    auto *box = new QCheckBox(caption, page);
    box->setProperty("dendrixCaption", Caption(caption));
    Place(page, box);
    Bind(box, path, [this, box, path] { box->setChecked(GetOrdProp(*Settings(), path) != 0); });
    connect(box, &QCheckBox::toggled, this, [this, path, guard](bool on) {
        if (!Blocked(guard))
            WriteOrd(path, on ? 1 : 0);
    });
    return box;
}

QSpinBox *TTreePropertyPages::Spin(QWidget *page, const QString &caption, const QString &path, int min, int max,
                                   TGuard guard)
{
    auto *label = new QLabel(caption, page);
    auto *box = new QSpinBox(page);
    box->setRange(min, max);
    box->setProperty("dendrixCaption", Caption(caption));
    Place(page, box, label);
    if (!path.isEmpty()) {
        Bind(box, path, [this, box, path] { box->setValue(static_cast<int>(GetOrdProp(*Settings(), path))); });
        connect(box, &QSpinBox::valueChanged, this, [this, path, guard](int v) {
            if (!Blocked(guard))
                WriteOrd(path, v);
        });
    }
    return box;
}

QComboBox *TTreePropertyPages::List(QWidget *page, const QString &caption, const QStringList &items,
                                    const QString &path, TGuard guard, const std::vector<int> &values)
{
    auto *label = new QLabel(caption, page);
    auto *list = new QComboBox(page);
    list->addItems(items);
    list->setProperty("dendrixCaption", Caption(caption));
    Place(page, list, label);
    if (path.isEmpty())
        return list;
    Bind(list, path, [this, list, path, values] {
        const int v = static_cast<int>(GetOrdProp(*Settings(), path));
        int entry = v;
        if (!values.empty()) {
            const auto it = std::find(values.begin(), values.end(), v);
            entry = it == values.end() ? -1 : static_cast<int>(it - values.begin());
        }
        list->setCurrentIndex(entry);
    });
    connect(list, &QComboBox::activated, this, [this, path, guard, values](int entry) {
        if (entry < 0 || Blocked(guard))
            return;
        WriteOrd(path, values.empty() ? entry : values.at(static_cast<size_t>(entry)));
    });
    return list;
}

TButtonPen *TTreePropertyPages::PenButton(QWidget *page, const QString &caption, const QString &path)
{
    auto *button = new TButtonPen(caption, page);
    button->setProperty("dendrixCaption", Caption(caption));
    Place(page, button);
    Bind(button, path, [this, button, path] {
        TTree *tree = Tree();
        button->LinkPenSource(
            [this, path](bool) -> TPen * {
                return Settings() ? dynamic_cast<TPen *>(GetObjectProp(*Settings(), path)) : nullptr;
            },
            TEditTarget(tree, tree, path));
        button->update();
    });
    return button;
}

TButtonColor *TTreePropertyPages::ColorButton(QWidget *page, const QString &caption, const QString &path)
{
    auto *button = new TButtonColor(caption, page);
    button->setProperty("dendrixCaption", Caption(caption));
    Place(page, button);
    if (!path.isEmpty()) {
        button->LinkValue(
            [this, path]() -> TColor {
                return HasSetting(path) ? static_cast<TColor>(GetOrdProp(*Settings(), path)) : clNone;
            },
            [this, path](TColor c) { WriteOrd(path, c); });
        Bind(button, path, [button] { button->update(); });
    }
    return button;
}

QPushButton *TTreePropertyPages::Button(QWidget *page, const QString &caption, const std::function<void()> &click)
{
    auto *button = new QPushButton(caption, page);
    button->setProperty("dendrixCaption", Caption(caption));
    Place(page, button);
    connect(button, &QPushButton::clicked, this, click);
    return button;
}

// ---------------------------------------------------------------------------
// The pages

void TTreePropertyPages::SetZoom(int percent)
{
    TTree *tree = Tree();
    if (!tree)
        return;
    tree->View3DOptions()->SetZoom(std::clamp(percent, kMinZoom, kMaxZoom));
    const int zoom = tree->View3DOptions()->Zoom();
    const bool was = FZoomTrack->blockSignals(true);
    FZoomTrack->setValue(zoom);
    FZoomTrack->blockSignals(was);
    const bool was2 = FZoomBox->blockSignals(true);
    FZoomBox->setValue(zoom);
    FZoomBox->blockSignals(was2);
    FZoomLabel->setText(QString::number(zoom) + QLatin1Char('%'));
}

void TTreePropertyPages::SetSmoothDrawing(bool value)
{
    if (value == FSmoothDrawing)
        return;
    FSmoothDrawing = value;
    if (auto *box = ControlAs<QCheckBox>(ppGeneral, QStringLiteral("Smooth drawing")))
        box->setChecked(value);
    if (Tree()) {
        Tree()->Canvas()->SetAntialiased(value);
        Tree()->RepaintPicture();
    }
    emit SmoothDrawingChanged(value);
}

void TTreePropertyPages::SetTree(TTree *tree)
{
    if (tree && tree != Tree()) {
        tree->Canvas()->SetAntialiased(FSmoothDrawing);
        tree->RepaintPicture();
    }
    TTreePanelPart::SetTree(tree);
}

void TTreePropertyPages::BuildGeneral()
{
    QWidget *page = Page(ppGeneral);
    auto *label = new QLabel(QStringLiteral("&Zoom:"), page);
    FZoomTrack = new QSlider(Qt::Horizontal, page);
    FZoomTrack->setRange(kMinZoom, kMaxZoom);
    FZoomTrack->setTickInterval(100);
    FZoomTrack->setTickPosition(QSlider::TicksBelow);
    FZoomTrack->setMinimumWidth(160);
    FZoomTrack->setProperty("dendrixCaption", QStringLiteral("Zoom"));
    Place(page, FZoomTrack, label);
    FZoomBox = Spin(page, QString(), QString(), kMinZoom, kMaxZoom, gNone);
    FZoomBox->setProperty("dendrixCaption", QStringLiteral("Zoom box"));
    FZoomLabel = new QLabel(QStringLiteral("100%"), page);
    FZoomLabel->setProperty(kNoTranslateProperty, true);
    Place(page, FZoomLabel);
    auto fillZoom = [this] {
        const int zoom = Tree()->View3DOptions()->Zoom();
        FZoomTrack->setValue(std::clamp(zoom, kMinZoom, kMaxZoom));
        FZoomBox->setValue(std::clamp(zoom, kMinZoom, kMaxZoom));
        FZoomLabel->setText(QString::number(zoom) + QLatin1Char('%'));
    };
    Bind(FZoomTrack, QString(), fillZoom);
    Bind(FZoomBox, QString(), {});
    connect(FZoomTrack, &QSlider::valueChanged, this, [this](int v) {
        if (!Updating())
            SetZoom(v);
    });
    connect(FZoomBox, &QSpinBox::valueChanged, this, [this](int v) {
        if (!Updating())
            SetZoom(v);
    });
    ColumnBreak(page);
    // Not a published setting: written with a notice of several settings.
    auto *centre = new QCheckBox(QStringLiteral("Zoom from &Center"), page);
    centre->setProperty("dendrixCaption", QStringLiteral("Zoom from Center"));
    Place(page, centre);
    Bind(centre, QString(), [this, centre] { centre->setChecked(Tree()->ZoomCentered()); });
    connect(centre, &QCheckBox::toggled, this, [this](bool on) {
        if (!Blocked(gNone) && Tree()->ZoomCentered() != on)
            Edit(QString(), [&] { Tree()->SetZoomCentered(on); });
    });
    Check(page, QStringLiteral("&Buffered display"), QStringLiteral("BufferedDisplay"), gU);
    auto *smooth = new QCheckBox(QStringLiteral("Smooth drawing"), page);
    smooth->setProperty("dendrixCaption", QStringLiteral("Smooth drawing"));
    smooth->setToolTip(QStringLiteral("Antialiased shapes and text on the screen; exports keep the exact look"));
    Place(page, smooth);
    connect(smooth, &QCheckBox::toggled, this, [this](bool on) { SetSmoothDrawing(on); });
}

void TTreePropertyPages::BuildCrossBox()
{
    QWidget *page = Page(ppCrossBox);
    PenButton(page, QStringLiteral("&Border..."), QStringLiteral("CrossBox.Border"));
    Spin(page, QStringLiteral("S&ize:"), QStringLiteral("CrossBox.Size"), 0, 100, gS);
    PenButton(page, QStringLiteral("&Sign pen..."), QStringLiteral("CrossBox.SignPen"));
    ColumnBreak(page);
    QPushButton *pattern = Button(page, QStringLiteral("&Pattern..."), [this] {
        TTree *tree = Tree();
        if (tree)
            EditBrush(this, tree->CrossBox()->Brush(), TEditTarget(tree, tree, QStringLiteral("CrossBox.Brush")));
    });
    Bind(pattern, QStringLiteral("CrossBox.Brush"), {});
    List(page, QStringLiteral("S&tyle:"), {QStringLiteral("Rectangle"), QStringLiteral("Diamond")},
         QStringLiteral("CrossBox.Style"), gNone, {cbsSquare, cbsDiamond});
    ColorButton(page, QStringLiteral("&Color..."), QStringLiteral("CrossBox.Brush.Color"));
}

void TTreePropertyPages::BackImageClicked()
{
    TTree *tree = Tree();
    if (!tree)
        return;
    const TPicture *current = tree->PeekBackImage();
    if (current && current->Width() > 0) {
        Edit(QStringLiteral("BackImage"), [&] { tree->SetBackImage(nullptr); });
    } else {
        const QString file = AskPictureFile(this);
        if (file.isEmpty())
            return;
        TPicture picture;
        if (!LoadPictureAsked(this, file, picture))
            return;
        Edit(QStringLiteral("BackImage"), [&] { tree->SetBackImage(&picture); });
    }
    Refresh();
}

void TTreePropertyPages::BuildPanel()
{
    QWidget *page = Page(ppPanel);
    FBackImage = Button(page, SBrowseBackImage, [this] { BackImageClicked(); });
    FBackImage->setProperty("dendrixCaption", QStringLiteral("Back image"));
    FBackImageMode = List(page, QStringLiteral("&Mode:"),
                          {QStringLiteral("Stretched"), QStringLiteral("Tiled"), QStringLiteral("Centered")},
                          QStringLiteral("BackImageMode"), gNone);
    Bind(FBackImage, QString(), [this] {
        const TPicture *image = Tree()->PeekBackImage();
        const bool has = image && image->Width() > 0;
        FBackImage->setText(has ? SClearBackImage : SBrowseBackImage);
        FBackImageMode->setEnabled(has);
    });
    Check(page, QStringLiteral("&Border"), QStringLiteral("BorderStyle"), gU);
    ColorButton(page, QStringLiteral("&Color..."), QStringLiteral("Color"));
    ColumnBreak(page);
    const QStringList bevels = {QStringLiteral("None"), QStringLiteral("Lowered"), QStringLiteral("Raised"),
                                QStringLiteral("Space")};
    List(page, QStringLiteral("Bevel &Inner:"), bevels, QStringLiteral("BevelInner"), gNone);
    List(page, QStringLiteral("Bevel &Outer:"), bevels, QStringLiteral("BevelOuter"), gNone);
    QPushButton *gradient = Button(page, QStringLiteral("&Gradient..."), [this] {
        TTree *tree = Tree();
        if (tree)
            ::EditGradient(this, tree->Gradient(), false, TEditTarget(tree, tree, QStringLiteral("Gradient")));
    });
    Bind(gradient, QStringLiteral("Gradient"), {});
}

void TTreePropertyPages::BuildAlign()
{
    QWidget *page = Page(ppAlign);
    const std::pair<const char *, TAlignKind> buttons[] = {
        {"Align to left", akLeft},    {"Align to right", akRight},  {"Align to top", akTop},
        {"Align to bottom", akBottom}, {"Min. Width", akMinWidth},  {"Max. Width", akMaxWidth},
        {"Min. Height", akMinHeight}, {"Max. Height", akMaxHeight},
    };
    int n = 0;
    for (const auto &[caption, kind] : buttons) {
        if (n++ == 4)
            ColumnBreak(page);
        const TAlignKind k = kind;
        FAlignButtons.push_back(
            Button(page, QString::fromLatin1(caption), [this, k] { AlignSelection(Tree(), k); }));
    }
}

void TTreePropertyPages::BuildMouse()
{
    QWidget *page = Page(ppMouse);
    Check(page, QStringLiteral("Allow &Zoom"), QStringLiteral("Zoom.Allow"), gU);
    List(page, QStringLiteral("Allow &Scroll:"),
         {QStringLiteral("None"), QStringLiteral("Horizontal"), QStringLiteral("Vertical"), QStringLiteral("Both")},
         QStringLiteral("AllowPanning"), gNone);
    FAnimated = Check(page, QStringLiteral("&Animated"), QStringLiteral("Zoom.Animated"), gNone);
    FAnimatedSteps = Spin(page, QStringLiteral("S&teps:"), QStringLiteral("Zoom.AnimatedSteps"), 0, 100, gS);
    Bind(FAnimatedSteps, QStringLiteral("Zoom.AnimatedSteps"),
         [this] { FAnimatedSteps->setEnabled(FAnimated->isChecked()); });
    connect(FAnimated, &QCheckBox::toggled, FAnimatedSteps, &QWidget::setEnabled);
    ColumnBreak(page);
    Check(page, QStringLiteral("Show &Hints"), QStringLiteral("ShowHintShapes"), gU);
    Check(page, QStringLiteral("&HotTrack"), QStringLiteral("HotTrack.Active"), gNone);
    List(page, QStringLiteral("Mouse &Wheel:"),
         {QStringLiteral("Select nodes"), QStringLiteral("Scroll Vert."), QStringLiteral("Scroll Horiz."),
          QStringLiteral("Zoom"), QStringLiteral("None")},
         QStringLiteral("WheelNavigation"), gNone);
}

void TTreePropertyPages::BuildSelected()
{
    QWidget *page = Page(ppSelected);
    PenButton(page, QStringLiteral("&Border..."), QStringLiteral("Selected.Border"));
    PenButton(page, QStringLiteral("UnFocused Border..."), QStringLiteral("Selected.BorderUnFocused"));
    ColumnBreak(page);
    // A colour with its "Default" box: checked while the colour is the
    // system's; checking it sets that colour.
    auto colorWithDefault = [this, page](const QString &caption, const QString &defaultCaption, const QString &path,
                                         TColor systemColor) {
        ColorButton(page, caption, path);
        auto *box = new QCheckBox(defaultCaption, page);
        box->setProperty("dendrixCaption", Caption(caption) + QStringLiteral(" default"));
        Place(page, box);
        Bind(box, path, [this, box, path, systemColor] {
            box->setChecked(GetOrdProp(*Settings(), path) == systemColor);
        });
        connect(box, &QCheckBox::toggled, this, [this, path, systemColor](bool on) {
            if (on && !Blocked(gU))
                WriteOrd(path, systemColor);
        });
    };
    colorWithDefault(QStringLiteral("&Color..."), QStringLiteral("&Default"), QStringLiteral("Selected.Color"),
                     clHighlight);
    colorWithDefault(QStringLiteral("&Text..."), QStringLiteral("D&efault"), QStringLiteral("Selected.TextColor"),
                     clHighlightText);
    ColorButton(page, QStringLiteral("UnFocused Color..."), QStringLiteral("Selected.ColorUnFocused"));
    ColumnBreak(page);
    Check(page, QStringLiteral("&Scroll to view"), QStringLiteral("Selected.ScrollToView"), gU);
    Check(page, QStringLiteral("Single selection"), QStringLiteral("SingleSelection"), gU);
    Check(page, QStringLiteral("Allow Delete"), QStringLiteral("AllowDelete"), gU);
}

void TTreePropertyPages::BuildScrollBars()
{
    QWidget *page = Page(ppScrollBars);
    auto bar = [this, page](const QString &name, const QString &title) {
        auto *group = new QGroupBox(title, page);
        auto *inner = new QVBoxLayout(group);
        Place(page, group);
        auto *visible = new QCheckBox(QStringLiteral("&Visible"), group);
        auto *automatic = new QCheckBox(QStringLiteral("&Automatic"), group);
        visible->setProperty("dendrixCaption", title + QStringLiteral(" visible"));
        automatic->setProperty("dendrixCaption", title + QStringLiteral(" automatic"));
        inner->addWidget(visible);
        inner->addWidget(automatic);
        const QString visiblePath = name + QStringLiteral(".Visible");
        const QString autoPath = name + QStringLiteral(".Automatic");
        Bind(automatic, autoPath, [this, automatic, autoPath] {
            automatic->setChecked(GetOrdProp(*Settings(), autoPath) != 0);
        });
        Bind(visible, visiblePath, [this, visible, automatic, visiblePath] {
            visible->setChecked(GetOrdProp(*Settings(), visiblePath) != 0);
            visible->setEnabled(!automatic->isChecked());
        });
        connect(visible, &QCheckBox::toggled, this, [this, visiblePath](bool on) {
            if (!Blocked(gS))
                WriteOrd(visiblePath, on);
        });
        connect(automatic, &QCheckBox::toggled, this, [this, autoPath, visible](bool on) {
            visible->setEnabled(!on);
            if (Blocked(gU))
                return;
            WriteOrd(autoPath, on);
            // The bar shows or hides itself: the box reads it back.
            Tree()->RepaintPicture();
            Refresh();
        });
    };
    bar(QStringLiteral("HorzScrollBar"), QStringLiteral("Horizontal"));
    ColumnBreak(page);
    bar(QStringLiteral("VertScrollBar"), QStringLiteral("Vertical"));
    ColumnBreak(page);
    auto *flat = new QCheckBox(QStringLiteral("&Flat"), page);
    flat->setProperty("dendrixCaption", QStringLiteral("Flat"));
    Place(page, flat);
    Bind(flat, QStringLiteral("HorzScrollBar.Flat"), [this, flat] {
        flat->setChecked(GetOrdProp(*Settings(), QStringLiteral("HorzScrollBar.Flat")) != 0 ||
                         (HasSetting(QStringLiteral("VertScrollBar.Flat")) &&
                          GetOrdProp(*Settings(), QStringLiteral("VertScrollBar.Flat")) != 0));
    });
    connect(flat, &QCheckBox::toggled, this, [this](bool on) {
        if (Blocked(gU))
            return;
        const QString h = QStringLiteral("HorzScrollBar.Flat"), v = QStringLiteral("VertScrollBar.Flat");
        TTreeStep step(Tree(), SStepSettings);
        WriteOrd(h, on);
        WriteOrd(v, on);
    });
}

void TTreePropertyPages::BuildGrid()
{
    QWidget *page = Page(ppGrid);
    Check(page, QStringLiteral("Grid &Visible"), QStringLiteral("Grid.Visible"), gS);
    Check(page, QStringLiteral("&Snap to grid"), QStringLiteral("SnapToGrid"), gNone);
    // The steps through the diagram's grid accessors, which every diagram
    // has (the view's grid, else the values of a diagram without one).
    QSpinBox *step = Spin(page, QStringLiteral("&Size:"), QString(), 0, 1000, gS);
    Spin(page, QStringLiteral("Big step"), QStringLiteral("Grid.BigStep"), 0, 1000, gS);
    Bind(step, QString(), [this, step] { step->setValue(Tree()->GridStep()); });
    connect(step, &QSpinBox::valueChanged, this, [this](int v) {
        if (Blocked(gS) || v <= 0 || Tree()->GridStep() == v)
            return;
        Edit(HasSetting(QStringLiteral("Grid.Step")) ? QStringLiteral("Grid.Step") : QString(),
             [&] { Tree()->SetGridStep(v); });
    });
    ColumnBreak(page);
    auto *color = new TButtonColor(QStringLiteral("&Color..."), page);
    color->setProperty("dendrixCaption", QStringLiteral("Grid color"));
    Place(page, color);
    color->LinkValue([this]() -> TColor { return Tree() ? Tree()->GridColor() : clNone; },
                     [this](TColor c) {
                         if (Tree() && Tree()->GridColor() != c)
                             Edit(HasSetting(QStringLiteral("Grid.Color")) ? QStringLiteral("Grid.Color") : QString(),
                                  [&] { Tree()->SetGridColor(c); });
                     });
    Bind(color, QString(), [color] { color->update(); });
    PenButton(page, QStringLiteral("&Pen..."), QStringLiteral("Grid.Pen"));
    PenButton(page, QStringLiteral("&Big Pen..."), QStringLiteral("Grid.BigPen"));
    ColumnBreak(page);
    // The rulers: the window's, no edit of the document.
    auto *rulers = new QGroupBox(QStringLiteral("Rulers:"), page);
    auto *inner = new QVBoxLayout(rulers);
    Place(page, rulers);
    auto *visible = new QCheckBox(QStringLiteral("V&isible"), rulers);
    auto *units = new QCheckBox(QStringLiteral("&Units"), rulers);
    auto *unitList = new QComboBox(rulers);
    unitList->addItems({QStringLiteral("Pixels"), QStringLiteral("Centimeters"), QStringLiteral("Inches")});
    visible->setProperty("dendrixCaption", QStringLiteral("Rulers visible"));
    units->setProperty("dendrixCaption", QStringLiteral("Rulers units"));
    unitList->setProperty("dendrixCaption", QStringLiteral("Rulers unit list"));
    inner->addWidget(visible);
    inner->addWidget(units);
    inner->addWidget(unitList);
    auto fill = [this, visible, units, unitList] {
        for (QWidget *w : std::initializer_list<QWidget *>{visible, units, unitList})
            w->setEnabled(static_cast<bool>(FRulers.Visible));
        if (!FRulers.Visible)
            return;
        visible->setChecked(FRulers.Visible());
        units->setChecked(FRulers.ShowUnits && FRulers.ShowUnits());
        unitList->setCurrentIndex(FRulers.Units ? FRulers.Units() : 0);
    };
    Bind(rulers, QString(), fill);
    connect(visible, &QCheckBox::toggled, this, [this](bool on) {
        if (!Updating() && FRulers.SetVisible)
            FRulers.SetVisible(on);
    });
    connect(units, &QCheckBox::toggled, this, [this](bool on) {
        if (!Updating() && FRulers.SetShowUnits)
            FRulers.SetShowUnits(on);
    });
    connect(unitList, &QComboBox::activated, this, [this](int i) {
        if (!Updating() && FRulers.SetUnits)
            FRulers.SetUnits(i);
    });
}

void TTreePropertyPages::SetRulerLink(const TRulerLink &link)
{
    FRulers = link;
    Refresh();
}

void TTreePropertyPages::BuildHandles()
{
    QWidget *page = Page(ppHandles);
    PenButton(page, QStringLiteral("&Border..."), QStringLiteral("Selected.HandlePen"));
    Spin(page, QStringLiteral("&Size:"), QStringLiteral("Selected.HandleSize"), 0, 100, gS);
    ColorButton(page, QStringLiteral("&Color..."), QStringLiteral("Selected.HandleColor"));
}

void TTreePropertyPages::WritePageSize(const QString &path, int value)
{
    // Only the user's own change: not while starting nor while hidden.
    if (!Tree() || FStarting || Updating() || !isVisible())
        return;
    WriteOrd(path, value);
}

void TTreePropertyPages::BuildPrint()
{
    QWidget *page = Page(ppPrint);
    FUsePrinter = Check(page, QStringLiteral("Use Printer &defaults"), QStringLiteral("Page.UsePrinter"), gNone);
    FPageWidth = Spin(page, QStringLiteral("Page &Width:"), QString(), 1, 32000, gNone);
    FPageHeight = Spin(page, QStringLiteral("Page &Height:"), QString(), 1, 32000, gNone);
    for (auto [box, path] : {std::pair{FPageWidth, QStringLiteral("Page.Width")},
                             std::pair{FPageHeight, QStringLiteral("Page.Height")}}) {
        QSpinBox *b = box;
        const QString p = path;
        Bind(b, p, [this, b, p] {
            b->setValue(static_cast<int>(GetOrdProp(*Settings(), p)));
            b->setEnabled(!FUsePrinter->isChecked());
        });
        connect(b, &QSpinBox::valueChanged, this, [this, p](int v) { WritePageSize(p, v); });
    }
    connect(FUsePrinter, &QCheckBox::toggled, this, [this](bool on) {
        FPageWidth->setEnabled(!on && HasSetting(QStringLiteral("Page.Width")));
        FPageHeight->setEnabled(!on && HasSetting(QStringLiteral("Page.Height")));
        if (on && !Updating())
            Refresh();
    });
    ColumnBreak(page);
    PenButton(page, QStringLiteral("Page &Border..."), QStringLiteral("Page.Border"));
    Check(page, QStringLiteral("Print P&age border"), QStringLiteral("Page.Border.Print"), gNone);
    auto *panelColor = new QCheckBox(QStringLiteral("&Print panel color"), page);
    panelColor->setProperty("dendrixCaption", QStringLiteral("Print panel color"));
    Place(page, panelColor);
    Bind(panelColor, QString(), [panelColor] { panelColor->setChecked(GPrintPanelColor); });
    connect(panelColor, &QCheckBox::toggled, this, [](bool on) { GPrintPanelColor = on; });
}

void TTreePropertyPages::BuildTextEditor()
{
    QWidget *page = Page(ppTextEditor);
    Check(page, QStringLiteral("&Enabled"), QStringLiteral("TextEditor.Enabled"), gS);
    List(page, QStringLiteral("&Mode:"), {QStringLiteral("Key"), QStringLiteral("Mouse"), QStringLiteral("Both")},
         QStringLiteral("TextEditor.Mode"), gS);
    QStringList keys;
    for (int code : TextEditorShortCuts())
        keys << ShortCutText(code);
    QComboBox *key = List(page, QStringLiteral("&Key:"), keys, QString(), gS);
    key->setProperty(kNoTranslateProperty, true);
    key->setMaxVisibleItems(20);
    const QString keyPath = QStringLiteral("TextEditor.ShortCut");
    Bind(key, keyPath, [this, key, keyPath] {
        const int code = static_cast<int>(GetOrdProp(*Settings(), keyPath));
        const std::vector<int> &codes = TextEditorShortCuts();
        const auto it = std::find(codes.begin(), codes.end(), code);
        key->setCurrentIndex(it == codes.end() ? -1 : static_cast<int>(it - codes.begin()));
    });
    connect(key, &QComboBox::activated, this, [this, keyPath](int entry) {
        if (entry >= 0 && !Blocked(gS))
            WriteOrd(keyPath, TextEditorShortCuts().at(static_cast<size_t>(entry)));
    });
    List(page, QStringLiteral("M&ouse:"), {QStringLiteral("Left"), QStringLiteral("Middle"), QStringLiteral("Right")},
         QStringLiteral("TextEditor.MouseButton"), gS, {mbLeft, mbMiddle, mbRight});
    ColumnBreak(page);
    auto *label = new QLabel(QStringLiteral("Use Node:"), page);
    Place(page, label);
    Check(page, QStringLiteral("Fo&nt"), QStringLiteral("TextEditor.UseNodeFont"), gS);
    Check(page, QStringLiteral("&Size"), QStringLiteral("TextEditor.UseNodeSize"), gS);
    Check(page, QStringLiteral("&Format"), QStringLiteral("TextEditor.UseNodeFormat"), gS);
}
