#include "editor/TreePanelsConst.h"
#include "editor/TreeToolbars.h"

#include "dialogs/KorButtons.h"
#include "dialogs/KorEdiGrad.h"
#include "dialogs/KorPenDlg.h"
#include "i18n/KorTranslate.h"
#include "view/Arbolix.h"

#include <QButtonGroup>
#include <algorithm>
#include <QComboBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QSpinBox>

namespace {

const char *const kSizes[] = {"8", "9", "10", "11", "12", "14", "16", "18", "20", "22", "24", "26", "28", "36", "48", "72", "96"};

// A face of three or four lines set left, centred or right.
QIcon AlignmentIcon(int alignment)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QPen(Qt::black, 1));
    const int widths[] = {12, 8, 12, 6};
    for (int i = 0; i < 4; ++i) {
        const int w = widths[i];
        const int x = alignment == htaLeft ? 2 : alignment == htaRight ? 14 - w : (16 - w) / 2;
        p.drawLine(x, 3 + 3 * i, x + w - 1, 3 + 3 * i);
    }
    return QIcon(pixmap);
}

QToolButton *NewToggle(QWidget *parent, const QString &face, const QString &hint)
{
    auto *b = new QToolButton(parent);
    b->setText(face);
    b->setToolTip(hint);
    b->setCheckable(true);
    b->setAutoRaise(true);
    return b;
}

} // namespace

// ---------------------------------------------------------------------------

TGradientSwatch::TGradientSwatch(QWidget *parent) : QToolButton(parent)
{
    setAutoRaise(true);
    setFixedSize(24, 22);
}

void TGradientSwatch::SetGradient(const TKorFontGradient *gradient)
{
    FVisible = gradient && gradient->Visible();
    if (gradient) {
        FStart = gradient->StartColor();
        FMiddle = gradient->MidColor();
        FEnd = gradient->EndColor();
    }
    update();
}

void TGradientSwatch::paintEvent(QPaintEvent *event)
{
    QToolButton::paintEvent(event);
    QPainter p(this);
    const QRect r = rect().adjusted(4, 4, -4, -4);
    if (!FVisible || !isEnabled()) {
        p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        return;
    }
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0, ToQColor(FStart));
    if (FMiddle != clNone)
        g.setColorAt(0.5, ToQColor(FMiddle));
    g.setColorAt(1, ToQColor(FEnd));
    p.fillRect(r, g);
}

// ---------------------------------------------------------------------------

TTreeFontToolbar::TTreeFontToolbar(QWidget *parent) : TTreePanelPart(parent)
{
    setObjectName(QStringLiteral("PanelFont"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(2, 1, 2, 1);
    row->setSpacing(2);

    FName = new QComboBox(this);
    FName->setObjectName(QStringLiteral("FontName"));
    FName->setProperty(kNoTranslateProperty, true);
    FName->addItems(QFontDatabase::families());
    FName->setMaxVisibleItems(15);
    FName->setMinimumContentsLength(14);
    FName->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    FName->setToolTip(QStringLiteral("Font"));
    row->addWidget(FName);

    FSize = new QComboBox(this);
    FSize->setObjectName(QStringLiteral("FontSize"));
    FSize->setProperty(kNoTranslateProperty, true);
    FSize->setEditable(true);
    FSize->setInsertPolicy(QComboBox::NoInsert);
    for (const char *s : kSizes)
        FSize->addItem(QString::fromLatin1(s));
    FSize->setMinimumContentsLength(3);
    FSize->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    FSize->setToolTip(QStringLiteral("Font Size"));
    row->addWidget(FSize);

    QFont f = font();
    FBold = NewToggle(this, QStringLiteral("B"), QStringLiteral("Bold"));
    f.setBold(true);
    FBold->setFont(f);
    FItalic = NewToggle(this, QStringLiteral("I"), QStringLiteral("Italic"));
    f = font();
    f.setItalic(true);
    FItalic->setFont(f);
    FUnderline = NewToggle(this, QStringLiteral("U"), QStringLiteral("Underline"));
    f = font();
    f.setUnderline(true);
    FUnderline->setFont(f);
    FStrikeOut = NewToggle(this, QStringLiteral("S"), QStringLiteral("Strike out"));
    f = font();
    f.setStrikeOut(true);
    FStrikeOut->setFont(f);
    for (QToolButton *b : {FBold, FItalic, FUnderline, FStrikeOut}) {
        b->setProperty(kNoTranslateProperty, true);
        row->addWidget(b);
    }

    FLeft = NewToggle(this, QString(), QStringLiteral("Left justify"));
    FCenter = NewToggle(this, QString(), QStringLiteral("Centered"));
    FRight = NewToggle(this, QString(), QStringLiteral("Right justify"));
    FAlignment = new QButtonGroup(this);
    FAlignment->setExclusive(true);
    FAlignment->addButton(FCenter, htaCenter);
    FAlignment->addButton(FLeft, htaLeft);
    FAlignment->addButton(FRight, htaRight);
    FLeft->setIcon(AlignmentIcon(htaLeft));
    FCenter->setIcon(AlignmentIcon(htaCenter));
    FRight->setIcon(AlignmentIcon(htaRight));
    row->addWidget(FLeft);
    row->addWidget(FCenter);
    row->addWidget(FRight);

    FInterChar = new QSpinBox(this);
    FInterChar->setRange(-25, 25);
    FInterChar->setToolTip(QStringLiteral("Inter-char size"));
    row->addWidget(FInterChar);

    FColor = new TButtonColor(QString(), this);
    FColor->setToolTip(QStringLiteral("Font Color"));
    row->addWidget(FColor);
    FOutline = new QToolButton(this);
    FOutline->setText(QStringLiteral("Outline..."));
    FOutline->setToolTip(QStringLiteral("Outline..."));
    FOutline->setAutoRaise(true);
    row->addWidget(FOutline);
    FGradient = new TGradientSwatch(this);
    FGradient->setToolTip(QStringLiteral("Font Gradient"));
    row->addWidget(FGradient);
    row->addStretch(1);

    connect(FName, &QComboBox::activated, this, [this](int i) { ApplyName(FName->itemText(i)); });
    connect(FSize, &QComboBox::activated, this, [this](int i) { ApplySizeText(FSize->itemText(i)); });
    connect(FSize->lineEdit(), &QLineEdit::editingFinished, this, [this] { ApplySizeText(FSize->currentText()); });
    connect(FBold, &QToolButton::toggled, this, [this](bool on) { ApplyStyle(fsBold, on); });
    connect(FItalic, &QToolButton::toggled, this, [this](bool on) { ApplyStyle(fsItalic, on); });
    connect(FUnderline, &QToolButton::toggled, this, [this](bool on) { ApplyStyle(fsUnderline, on); });
    connect(FStrikeOut, &QToolButton::toggled, this, [this](bool on) { ApplyStyle(fsStrikeOut, on); });
    connect(FAlignment, &QButtonGroup::idClicked, this, [this](int id) { ApplyAlignment(id); });
    connect(FInterChar, &QSpinBox::valueChanged, this, [this](int v) {
        if (Updating())
            return;
        ApplyToTargets(
            QStringLiteral("Font.InterCharSize"),
            [v](TCustomTreeElement *e) { return e->EffectiveFont()->InterCharSize() != v; },
            [v](TCustomTreeElement *e) { e->Font()->SetInterCharSize(v); });
    });
    FColor->LinkValue(
        [this]() -> TColor {
            TCustomTreeElement *e = ToolbarTargets(Tree()).First();
            return e ? e->EffectiveFont()->Color() : clNone;
        },
        [this](TColor c) {
            ApplyToTargets(
                QStringLiteral("Font.Color"), [c](TCustomTreeElement *e) { return e->EffectiveFont()->Color() != c; },
                [c](TCustomTreeElement *e) { e->Font()->SetColor(c); });
        });
    connect(FOutline, &QToolButton::clicked, this, [this] { EditOutline(); });
    connect(FGradient, &QToolButton::clicked, this, [this] { EditGradient(); });
    Refresh();
}

bool TTreeFontToolbar::Concerns(const TTreeChange &change) const
{
    // The refresh comes once after a burst: any change of an element may
    // be one of the shown ones.
    switch (change.Kind) {
    case tckSelection:
    case tckRemoving:
    case tckProperty:
    case tckText:
        return true;
    default:
        return false;
    }
}

void TTreeFontToolbar::FillControls()
{
    const TToolbarTargets targets = ToolbarTargets(Tree());
    const std::vector<TCustomTreeElement *> all = targets.All();
    TCustomTreeElement *first = targets.First();
    for (QWidget *w : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        w->setEnabled(first != nullptr);
    if (!first) {
        FName->setCurrentIndex(-1);
        FSize->setCurrentIndex(-1);
        FSize->setEditText(QString());
        FGradient->SetGradient(nullptr);
        FColor->update();
        return;
    }
    const TKorFont *font = first->EffectiveFont();
    bool sameName = true;
    bool sameSize = true;
    for (TCustomTreeElement *e : all) {
        const TKorFont *f = e->EffectiveFont();
        sameName = sameName && f->Name() == font->Name();
        sameSize = sameSize && f->Size() == font->Size();
    }
    FName->setCurrentIndex(sameName ? FName->findText(font->Name(), Qt::MatchFixedString) : -1);
    if (sameSize) {
        const QString size = QString::number(font->Size());
        const int entry = FSize->findText(size);
        FSize->setCurrentIndex(entry);
        FSize->setEditText(size);
    } else {
        FSize->setCurrentIndex(-1);
        FSize->setEditText(QString());
    }
    const TFontStyles style = font->Style();
    FBold->setChecked(style & SetBit(fsBold));
    FItalic->setChecked(style & SetBit(fsItalic));
    FUnderline->setChecked(style & SetBit(fsUnderline));
    FStrikeOut->setChecked(style & SetBit(fsStrikeOut));
    const THorizTextAlign align = first->PeekText() ? first->PeekText()->HorizAlign() : htaCenter;
    if (QAbstractButton *b = FAlignment->button(align))
        b->setChecked(true);
    FInterChar->setValue(std::clamp(font->InterCharSize(), -25, 25));
    FColor->update();
    FGradient->SetGradient(font->PeekGradient());
}

void TTreeFontToolbar::ApplyToTargets(const QString &property, const std::function<bool(TCustomTreeElement *)> &differs,
                                      const std::function<void(TCustomTreeElement *)> &change)
{
    TTree *tree = Tree();
    if (!tree || Updating())
        return;
    const std::vector<TCustomTreeElement *> all = ToolbarTargets(tree).All();
    if (std::none_of(all.begin(), all.end(), differs))
        return;
    TTreeStep step(tree, SStepFont);
    for (TCustomTreeElement *e : all)
        if (differs(e))
            tree->EditElement(e, property, [&] { change(e); });
}

void TTreeFontToolbar::ApplyName(const QString &name)
{
    if (name.isEmpty())
        return;
    ApplyToTargets(
        QStringLiteral("Font.Name"), [&](TCustomTreeElement *e) { return e->EffectiveFont()->Name() != name; },
        [&](TCustomTreeElement *e) { e->Font()->SetName(name); });
}

void TTreeFontToolbar::ApplySizeText(const QString &text)
{
    // A size that is no whole number in range keeps the size there is.
    bool ok = false;
    const int size = text.trimmed().toInt(&ok);
    if (!ok || size < 1 || size > 1000) {
        Refresh();
        return;
    }
    ApplyToTargets(
        QStringLiteral("Font.Height"), [size](TCustomTreeElement *e) { return e->EffectiveFont()->Size() != size; },
        [size](TCustomTreeElement *e) { e->Font()->SetSize(size); });
}

void TTreeFontToolbar::ApplyStyle(int style, bool on)
{
    ApplyToTargets(
        QStringLiteral("Font.Style"),
        [=](TCustomTreeElement *e) { return bool(e->EffectiveFont()->Style() & SetBit(style)) != on; },
        [=](TCustomTreeElement *e) {
            TFontStyles s = e->Font()->Style();
            s = on ? (s | SetBit(style)) : (s & ~SetBit(style));
            e->Font()->SetStyle(s);
        });
}

void TTreeFontToolbar::ApplyAlignment(int alignment)
{
    const auto align = static_cast<THorizTextAlign>(alignment);
    ApplyToTargets(
        QStringLiteral("Text.HorizAlign"),
        [=](TCustomTreeElement *e) { return (e->PeekText() ? e->PeekText()->HorizAlign() : htaCenter) != align; },
        [=](TCustomTreeElement *e) { e->Text()->SetHorizAlign(align); });
}

void TTreeFontToolbar::EditOutline()
{
    TTree *tree = Tree();
    const TToolbarTargets targets = ToolbarTargets(tree);
    TCustomTreeElement *first = targets.First();
    if (!tree || !first)
        return;
    TTreeStep step(tree, SStepFont);
    if (!EditPen(this, first->Font()->OutLine(), TEditTarget(tree, first, QStringLiteral("Font.OutLine"))))
        return;
    // The others take the first one's outline.
    const TChartPen *outline = first->Font()->OutLine();
    for (TCustomTreeElement *e : targets.All())
        if (e != first)
            tree->EditElement(e, QStringLiteral("Font.OutLine"), [&] { e->Font()->SetOutLine(outline); });
}

void TTreeFontToolbar::EditGradient()
{
    TTree *tree = Tree();
    const TToolbarTargets targets = ToolbarTargets(tree);
    TCustomTreeElement *first = targets.First();
    if (!tree || !first)
        return;
    TTreeStep step(tree, SStepFont);
    if (!::EditGradient(this, first->Font()->Gradient(), false,
                        TEditTarget(tree, first, QStringLiteral("Font.Gradient"))))
        return;
    const TKorFontGradient *gradient = first->Font()->Gradient();
    for (TCustomTreeElement *e : targets.All())
        if (e != first)
            tree->EditElement(e, QStringLiteral("Font.Gradient"), [&] { e->Font()->SetGradient(gradient); });
    FGradient->SetGradient(gradient);
}
