#include "dialogs/KorTextDlg.h"

#include "dialogs/DialogConst.h"
#include "dialogs/KorButtons.h"
#include "dialogs/KorEdiGrad.h"
#include "dialogs/KorPrompts.h"
#include "model/TreeDocument.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// The lists show Left, Center, Right and Top, Center, Bottom; the
// enumerations number the centre first.
const THorizTextAlign kHorizOfEntry[] = {htaLeft, htaCenter, htaRight};
const TVertTextAlign kVertOfEntry[] = {vtaTop, vtaCenter, vtaBottom};

int EntryOfHoriz(THorizTextAlign a)
{
    return a == htaLeft ? 0 : (a == htaRight ? 2 : 1);
}
int EntryOfVert(TVertTextAlign a)
{
    return a == vtaTop ? 0 : (a == vtaBottom ? 2 : 1);
}

QSpinBox *NewSpin(int low, int high, int step = 1)
{
    auto *box = new QSpinBox;
    box->setRange(low, high);
    box->setSingleStep(step);
    return box;
}

QLabel *Buddy(const char *caption, QWidget *buddy)
{
    auto *label = new QLabel(QString::fromLatin1(caption));
    label->setBuddy(buddy);
    return label;
}

QStringList LinesOf(const TCustomTreeElement *e)
{
    QStringList lines;
    for (int i = 0; i < e->LineCount(); ++i)
        lines << e->Line(i);
    return lines;
}

} // namespace

TFormKorText::TFormKorText(QWidget *parent) : TKorDialog(parent)
{
    setObjectName(QStringLiteral("FormKorText"));
    setWindowTitle(QStringLiteral("Text"));
    setSizeGripEnabled(true);

    FPages = new QTabWidget;
    // Page "Text".
    auto *textPage = new QWidget;
    FMemo = new QPlainTextEdit;
    FMemo->setTabChangesFocus(true);
    FColor = new TButtonColor(QStringLiteral("&Color:"));
    FFont = new QPushButton(QStringLiteral("&Font..."));
    FClip = new QCheckBox(QStringLiteral("C&lip"));
    auto *textButtons = new QVBoxLayout;
    textButtons->addWidget(FColor);
    textButtons->addWidget(FFont);
    textButtons->addWidget(FClip);
    textButtons->addStretch(1);
    auto *textLayout = new QHBoxLayout(textPage);
    textLayout->addWidget(FMemo, 1);
    textLayout->addLayout(textButtons);
    FPages->addTab(textPage, QStringLiteral("Text"));

    // Page "Format".
    auto *formatPage = new QWidget;
    FSpacing = NewSpin(-99, 99);
    FAngle = NewSpin(0, 360);
    FTransparency = NewSpin(0, 100, 5);
    FGradient = new QPushButton(QStringLiteral("&Gradient..."));
    FOutline = new TButtonPen(QStringLiteral("&Outline..."));
    auto *values = new QGridLayout;
    values->addWidget(Buddy("&Spacing:", FSpacing), 0, 0);
    values->addWidget(FSpacing, 0, 1);
    values->addWidget(Buddy("&Angle:", FAngle), 1, 0);
    values->addWidget(FAngle, 1, 1);
    values->addWidget(Buddy("&Transp:", FTransparency), 2, 0);
    values->addWidget(FTransparency, 2, 1);
    values->addWidget(FGradient, 3, 0, 1, 2);
    values->addWidget(FOutline, 4, 0, 1, 2);
    values->setRowStretch(5, 1);

    auto *shadow = new QGroupBox(QStringLiteral("Shadow:"));
    FShadowColor = new TButtonColor(QStringLiteral("&Color:"));
    FShadowWidth = NewSpin(-99, 99);
    FShadowHeight = NewSpin(-99, 99);
    auto *shadowLayout = new QGridLayout(shadow);
    shadowLayout->addWidget(FShadowColor, 0, 0, 1, 2);
    shadowLayout->addWidget(Buddy("&Width:", FShadowWidth), 1, 0);
    shadowLayout->addWidget(FShadowWidth, 1, 1);
    shadowLayout->addWidget(Buddy("&Height:", FShadowHeight), 2, 0);
    shadowLayout->addWidget(FShadowHeight, 2, 1);

    auto *alignment = new QGroupBox(QStringLiteral("Alignment:"));
    FHorizAlign = new QComboBox;
    FHorizAlign->addItems({QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right")});
    FHorizOffset = NewSpin(-1000, 1000);
    FVertAlign = new QComboBox;
    FVertAlign->addItems({QStringLiteral("Top"), QStringLiteral("Center"), QStringLiteral("Bottom")});
    FVertOffset = NewSpin(-1000, 1000);
    auto *alignLayout = new QGridLayout(alignment);
    alignLayout->addWidget(Buddy("&Horiz.", FHorizAlign), 0, 0);
    alignLayout->addWidget(FHorizAlign, 0, 1);
    alignLayout->addWidget(FHorizOffset, 0, 2);
    alignLayout->addWidget(Buddy("&Vert.", FVertAlign), 1, 0);
    alignLayout->addWidget(FVertAlign, 1, 1);
    alignLayout->addWidget(FVertOffset, 1, 2);

    auto *groups = new QVBoxLayout;
    groups->addWidget(shadow);
    groups->addWidget(alignment);
    groups->addStretch(1);
    auto *formatLayout = new QHBoxLayout(formatPage);
    formatLayout->addLayout(values);
    formatLayout->addLayout(groups, 1);
    FPages->addTab(formatPage, QStringLiteral("Format"));

    auto *buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::AcceptRole)->setDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    FButtonRow = buttons;
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(FPages, 1);
    layout->addWidget(buttons);
    Connect();
}

TFormKorText::~TFormKorText() = default;

void TFormKorText::SetElement(TCustomTreeElement *element)
{
    FElement = element;
    if (element && element->Tree())
        FTree = element->Tree();
}

TCustomTreeElement *TFormKorText::Shown() const
{
    if (FElement)
        return FElement;
    return FTree ? FTree->Selected().First() : nullptr;
}

std::vector<TCustomTreeElement *> TFormKorText::Targets() const
{
    std::vector<TCustomTreeElement *> out;
    if (FElement) {
        out.push_back(FElement);
    } else if (FTree) {
        for (int i = 0; i < FTree->Selected().Count(); ++i)
            out.push_back(FTree->Selected()[i]);
    }
    return out;
}

void TFormKorText::ApplyAll(const QString &property, const std::function<void(TCustomTreeElement *)> &change)
{
    if (FFilling)
        return;
    const auto targets = Targets();
    if (targets.empty())
        return;
    TTreeStep step(targets.front()->Tree(), SStepText);
    for (TCustomTreeElement *e : targets)
        TEditTarget::Of(e).Edit(property, [&] { change(e); });
}

void TFormKorText::CopyToOthers(const QString &property,
                                const std::function<void(TCustomTreeElement *, TCustomTreeElement *)> &copy)
{
    const auto targets = Targets();
    for (size_t i = 1; i < targets.size(); ++i)
        TEditTarget::Of(targets[i]).Edit(property, [&] { copy(targets.front(), targets[i]); });
}

void TFormKorText::Connect()
{
    connect(FMemo, &QPlainTextEdit::textChanged, this, [this] {
        if (FFilling)
            return;
        TCustomTreeElement *e = Shown();
        if (!e)
            return;
        QStringList lines = FMemo->toPlainText().split(QLatin1Char('\n'));
        if (lines.size() == 1 && lines.front().isEmpty())
            lines.clear();
        if (e->Tree()) {
            TTreeStep step(e->Tree(), SStepText);
            e->Tree()->SetElementText(e, lines);
        } else if (LinesOf(e) != lines) {
            e->Text()->SetLines(lines);
        }
    });
    connect(FFont, &QPushButton::clicked, this, [this] {
        const auto targets = Targets();
        if (targets.empty())
            return;
        TTreeStep step(targets.front()->Tree(), SStepText);
        TCustomTreeElement *first = targets.front();
        // The dialog works on a copy, so a cancelled one leaves no trace.
        TKorFont font;
        font.Assign(first->Font());
        if (!EditFont(this, &font))
            return;
        TEditTarget::Of(first).Edit(QStringLiteral("Font"), [&] { first->Font()->Assign(&font); });
        CopyToOthers(QStringLiteral("Font"), [](TCustomTreeElement *from, TCustomTreeElement *to) {
            to->Font()->Assign(from->Font());
        });
        FColor->update();
    });
    connect(FClip, &QCheckBox::toggled, this, [this](bool on) {
        ApplyAll(QStringLiteral("Text.ClipText"), [on](TCustomTreeElement *e) { e->Text()->SetClipText(on); });
    });
    connect(FSpacing, qOverload<int>(&QSpinBox::valueChanged), this, [this](int v) {
        ApplyAll(QStringLiteral("Font.InterCharSize"), [v](TCustomTreeElement *e) { e->Font()->SetInterCharSize(v); });
    });
    connect(FAngle, qOverload<int>(&QSpinBox::valueChanged), this, [this](int v) {
        ApplyAll(QStringLiteral("Text.Angle"), [v](TCustomTreeElement *e) { e->Text()->SetAngle(v); });
    });
    connect(FTransparency, qOverload<int>(&QSpinBox::valueChanged), this, [this](int v) {
        ApplyAll(QStringLiteral("Text.Transparency"),
                 [v](TCustomTreeElement *e) { e->Text()->SetTransparency(static_cast<uint8_t>(v)); });
    });
    connect(FShadowWidth, qOverload<int>(&QSpinBox::valueChanged), this, [this](int v) {
        ApplyAll(QStringLiteral("Font.Shadow.HorizSize"),
                 [v](TCustomTreeElement *e) { e->Font()->Shadow()->SetHorizSize(v); });
    });
    connect(FShadowHeight, qOverload<int>(&QSpinBox::valueChanged), this, [this](int v) {
        ApplyAll(QStringLiteral("Font.Shadow.VertSize"),
                 [v](TCustomTreeElement *e) { e->Font()->Shadow()->SetVertSize(v); });
    });
    connect(FHorizAlign, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int i) {
        if (i >= 0)
            ApplyAll(QStringLiteral("Text.HorizAlign"),
                     [i](TCustomTreeElement *e) { e->Text()->SetHorizAlign(kHorizOfEntry[i]); });
    });
    connect(FVertAlign, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int i) {
        if (i >= 0)
            ApplyAll(QStringLiteral("Text.VertAlign"),
                     [i](TCustomTreeElement *e) { e->Text()->SetVertAlign(kVertOfEntry[i]); });
    });
    connect(FHorizOffset, qOverload<int>(&QSpinBox::valueChanged), this, [this](int v) {
        ApplyAll(QStringLiteral("Text.HorizOffset"), [v](TCustomTreeElement *e) { e->Text()->SetHorizOffset(v); });
    });
    connect(FVertOffset, qOverload<int>(&QSpinBox::valueChanged), this, [this](int v) {
        ApplyAll(QStringLiteral("Text.VertOffset"), [v](TCustomTreeElement *e) { e->Text()->SetVertOffset(v); });
    });
    connect(FGradient, &QPushButton::clicked, this, [this] {
        const auto targets = Targets();
        if (targets.empty())
            return;
        TTreeStep step(targets.front()->Tree(), SStepText);
        TCustomTreeElement *first = targets.front();
        if (EditGradient(this, first->Font()->Gradient(), false, TEditTarget::Of(first, QStringLiteral("Font.Gradient"))))
            CopyToOthers(QStringLiteral("Font.Gradient"), [](TCustomTreeElement *from, TCustomTreeElement *to) {
                to->Font()->SetGradient(from->Font()->Gradient());
            });
    });
    connect(FOutline, &TButtonPen::Edited, this, [this](bool confirmed) {
        // A cancelled outline is the first node's old one: the others keep theirs.
        if (confirmed)
            CopyToOthers(QStringLiteral("Font.OutLine"), [](TCustomTreeElement *from, TCustomTreeElement *to) {
                to->Font()->SetOutLine(from->Font()->OutLine());
            });
    });
}

void TFormKorText::LinkButtons()
{
    TCustomTreeElement *shown = Shown();
    const auto colorOf = [this](auto get) {
        return [this, get]() -> TColor {
            TCustomTreeElement *e = Shown();
            return e ? get(e) : clNone;
        };
    };
    FColor->LinkValue(colorOf([](TCustomTreeElement *e) { return e->EffectiveFont()->Color(); }), [this](TColor c) {
        ApplyAll(QStringLiteral("Font.Color"), [c](TCustomTreeElement *e) { e->Font()->SetColor(c); });
    });
    FShadowColor->LinkValue(colorOf([](TCustomTreeElement *e) {
                                const TKorShadow *s = e->EffectiveFont()->PeekShadow();
                                return s ? s->Color() : TKorShadow().Color();
                            }),
                            [this](TColor c) {
                                ApplyAll(QStringLiteral("Font.Shadow.Color"),
                                         [c](TCustomTreeElement *e) { e->Font()->Shadow()->SetColor(c); });
                            });
    if (shown) {
        // The outline pen is made when it is first edited, not when shown.
        FOutline->LinkPenSource(
            [shown](bool create) -> TPen * {
                if (create)
                    return shown->Font()->OutLine();
                const TKorFont *font = shown->PeekFont();
                return font ? font->PeekOutLine() : nullptr;
            },
            TEditTarget::Of(shown, QStringLiteral("Font.OutLine")));
    } else {
        FOutline->LinkPen(nullptr);
    }
}

void TFormKorText::Fill()
{
    FFilling = true;
    TCustomTreeElement *e = Shown();
    const bool any = e != nullptr;
    for (QWidget *w : std::initializer_list<QWidget *>{FPages})
        w->setEnabled(any);
    LinkButtons();
    FClip->setVisible(!Single());
    if (e) {
        const TKorFont *font = e->EffectiveFont();
        const TTreeStrings *text = e->PeekText();
        const TTreeStrings defaults;
        if (!text)
            text = &defaults;
        FHorizAlign->setCurrentIndex(EntryOfHoriz(text->HorizAlign()));
        FVertAlign->setCurrentIndex(EntryOfVert(text->VertAlign()));
        FMemo->setPlainText(LinesOf(e).join(QLatin1Char('\n')));
        FShadowWidth->setValue(font->ShadowHorizSize());
        FShadowHeight->setValue(font->ShadowVertSize());
        FSpacing->setValue(font->InterCharSize());
        FAngle->setValue(text->Angle());
        FTransparency->setValue(text->Transparency());
        FClip->setChecked(text->ClipText());
        FHorizOffset->setValue(text->HorizOffset());
        FVertOffset->setValue(text->VertOffset());
    }
    FColor->update();
    FShadowColor->update();
    FPages->setCurrentIndex(0);
    FMemo->setFocus();
    FFilling = false;
}

void TFormKorText::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        Fill();
    TKorDialog::showEvent(event);
}

void EditText(QWidget *owner, TCustomTreeElement *element)
{
    if (!element)
        return;
    TFormKorText dialog(owner);
    dialog.SetTree(element->Tree());
    if (dynamic_cast<TTreeConnection *>(element))
        dialog.SetElement(element);
    dialog.resize(320, 200);
    if (QScreen *screen = dialog.screen())
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());
    Prompts().Exec(dialog);
}
