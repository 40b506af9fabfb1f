#include "dialogs/KorEdiGrad.h"

#include "dialogs/DialogConst.h"
#include "dialogs/KorButtons.h"
#include "dialogs/KorPrompts.h"
#include "model/TreeDocument.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TKorGradientEditor::TKorGradientEditor(QWidget *parent, TCustomKorGradient *gradient, bool simple,
                                       const TEditTarget &target)
    : TKorLiveDialog(parent, gradient, target), FSimple(simple)
{
    setObjectName(QStringLiteral("GradientEditor"));
    setWindowTitle(QStringLiteral("Gradient Editor"));

    FVisible = new QCheckBox(QStringLiteral("&Visible"));
    auto *directionLabel = new QLabel(QStringLiteral("&Direction:"));
    FDirection = new QComboBox;
    FDirection->addItems({QStringLiteral("Top Bottom"), QStringLiteral("Bottom Top"), QStringLiteral("Left Right"),
                          QStringLiteral("Right Left"), QStringLiteral("From Center"), QStringLiteral("From Top Left"),
                          QStringLiteral("From Bottom Left")});
    directionLabel->setBuddy(FDirection);
    FStart = new TButtonColor(QStringLiteral("&Start..."));
    FMiddle = new TButtonColor(QStringLiteral("&Middle..."));
    FEnd = new TButtonColor(QStringLiteral("&End..."));
    FStart->LinkProperty(gradient, QStringLiteral("StartColor"), target);
    FMiddle->LinkProperty(gradient, QStringLiteral("MidColor"), target);
    FEnd->LinkProperty(gradient, QStringLiteral("EndColor"), target);
    FSwap = new QPushButton(QStringLiteral("S&wap"));
    FNoMiddle = new QCheckBox(QStringLiteral("&No Middle"));
    FButtons = NewOkCancelRow(this);

    auto *colors = new QGroupBox(QStringLiteral("Colors:"));
    auto *grid = new QGridLayout(colors);
    grid->addWidget(FStart, 0, 0);
    grid->addWidget(FMiddle, 0, 1);
    grid->addWidget(FEnd, 0, 2);
    grid->addWidget(FSwap, 1, 0);
    grid->addWidget(FNoMiddle, 1, 1, 1, 2);
    auto *top = new QHBoxLayout;
    top->addWidget(FVisible);
    top->addStretch(1);
    top->addWidget(directionLabel);
    top->addWidget(FDirection);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(colors);
    layout->addStretch(1);
    layout->addWidget(FButtons);

    if (FSimple) {
        FVisible->hide();
        FEnd->hide();
        FSwap->hide();
    }

    connect(FVisible, &QCheckBox::toggled, this, [this](bool on) {
        if (!FFilling)
            FTarget.Edit(QStringLiteral("Visible"), [&] { FEdited->SetVisible(on); });
        Enable();
    });
    connect(FDirection, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int index) {
        if (!FFilling && index >= 0)
            FTarget.Edit(QStringLiteral("Direction"),
                         [&] { FEdited->SetDirection(static_cast<TGradientDirection>(index)); });
        Enable();
    });
    connect(FSwap, &QPushButton::clicked, this, [this] {
        FTarget.Edit(QString(), [&] {
            const TColor start = FEdited->StartColor();
            FEdited->SetStartColor(FEdited->EndColor());
            FEdited->SetEndColor(start);
        });
        FStart->update();
        FEnd->update();
    });
    connect(FNoMiddle, &QCheckBox::toggled, this, [this](bool on) {
        if (FFilling)
            return;
        if (on) {
            FTarget.Edit(QStringLiteral("MidColor"), [&] { FEdited->SetMidColor(clNone); });
        } else if (!FEdited->HasMidColor()) {
            // The stored middle colour comes back.
            FTarget.Edit(QStringLiteral("MidColor"), [&] { FEdited->SetMidColor(FEdited->StoredMidColor()); });
        }
        FMiddle->update();
    });
    connect(FMiddle, &TButtonColor::Edited, this, [this] {
        FFilling = true;
        FNoMiddle->setChecked(FEdited->MidColor() == clNone);
        FFilling = false;
    });
    Refill();
}

TKorGradientEditor::~TKorGradientEditor() = default;

void TKorGradientEditor::Fill()
{
    FVisible->setChecked(FEdited->Visible());
    FDirection->setCurrentIndex(FEdited->Direction());
    FNoMiddle->setChecked(FEdited->MidColor() == clNone);
    Enable();
}

void TKorGradientEditor::Enable()
{
    const bool on = FSimple || FEdited->Visible();
    const TGradientDirection d = FEdited->Direction();
    const bool middle = on && (FSimple || (d != gdFromCenter && d != gdFromTopLeft && d != gdFromBottomLeft));
    FDirection->setEnabled(on);
    FStart->setEnabled(on);
    FEnd->setEnabled(on);
    FSwap->setEnabled(on);
    FNoMiddle->setEnabled(middle);
    FMiddle->setEnabled(middle);
}

bool EditGradient(QWidget *owner, TCustomKorGradient *gradient, bool simple, const TEditTarget &target)
{
    if (!gradient)
        return false;
    TKorGradientEditor dialog(owner, gradient, simple, target);
    return RunEditDialog(dialog, target);
}
