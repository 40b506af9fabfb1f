#include "dialogs/KorPenDlg.h"

#include "dialogs/DialogConst.h"
#include "dialogs/KorButtons.h"
#include "dialogs/KorPrompts.h"
#include "model/TreeDocument.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TPenDialog::TPenDialog(QWidget *parent, TPen *pen, const TEditTarget &target)
    : TKorLiveDialog(parent, pen, target), FChartPen(dynamic_cast<TChartPen *>(pen))
{
    setObjectName(QStringLiteral("PenDialog"));
    setWindowTitle(QStringLiteral("Border Editor"));

    FVisible = new QCheckBox(QStringLiteral("&Visible"));
    FWidthLabel = new QLabel(QStringLiteral("&Width:"));
    FWidth = new QSpinBox;
    FWidth->setRange(1, 100);
    FWidthLabel->setBuddy(FWidth);
    auto *styleLabel = new QLabel(QStringLiteral("&Style:"));
    FStyle = new QComboBox;
    FStyle->setIconSize(QSize(32, 12));
    for (const char *name : {"Solid", "Dash", "Dot", "Dash Dot", "Dash Dot Dot"})
        FStyle->addItem(QString::fromLatin1(name));
    styleLabel->setBuddy(FStyle);
    FEndStyle = new QComboBox;
    FEndStyle->addItems({QStringLiteral("Round"), QStringLiteral("Square"), QStringLiteral("Flat")});
    FEndStyle->setMinimumWidth(68);
    FColor = new TButtonColor(QStringLiteral("&Color..."));
    FColor->LinkProperty(pen, QStringLiteral("Color"), target);
    FButtons = NewOkCancelRow(this);

    auto *grid = new QGridLayout;
    grid->addWidget(FWidthLabel, 0, 0);
    grid->addWidget(FWidth, 0, 1);
    grid->addWidget(FColor, 0, 2);
    grid->addWidget(styleLabel, 1, 0);
    grid->addWidget(FStyle, 1, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(FEndStyle);
    bottom->addWidget(FVisible);
    bottom->addStretch(1);
    bottom->addWidget(FButtons);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
    layout->addLayout(bottom);
    setTabOrder(FWidth, FColor);
    setTabOrder(FColor, FStyle);
    setTabOrder(FStyle, FEndStyle);
    setTabOrder(FEndStyle, FVisible);

    connect(FVisible, &QCheckBox::toggled, this, [this](bool on) {
        if (Live() && FChartPen)
            Apply(QStringLiteral("Visible"), [&] { FChartPen->SetVisible(on); });
    });
    connect(FWidth, qOverload<int>(&QSpinBox::valueChanged), this, [this](int value) {
        if (Live())
            Apply(QStringLiteral("Width"), [&] { FEdited->SetWidth(value); });
        RefreshStyleIcons();
    });
    connect(FStyle, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        if (FFilling)
            return;
        if (FChartPen && index == kSmallDotsEntry) {
            Apply(QStringLiteral("SmallDots"), [&] { FChartPen->SetSmallDots(true); });
        } else if (index >= 0 && index < kSmallDotsEntry) {
            Apply(QString(), [&] {
                FEdited->SetStyle(static_cast<TPenStyle>(index));
                if (FChartPen)
                    FChartPen->SetSmallDots(false);
            });
        }
        const bool dots = FChartPen && FChartPen->SmallDots();
        FWidth->setEnabled(!dots);
        FWidthLabel->setEnabled(!dots);
        RefreshStyleIcons();
    });
    connect(FEndStyle, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        if (!FFilling && FChartPen && index >= 0)
            Apply(QStringLiteral("EndStyle"), [&] { FChartPen->SetEndStyle(static_cast<TPenEndStyle>(index)); });
    });
    connect(FColor, &TButtonColor::Edited, this, [this] { RefreshStyleIcons(); });
    Refill();
}

TPenDialog::~TPenDialog() = default;

void TPenDialog::Apply(const QString &property, const std::function<void()> &change)
{
    FTarget.Edit(property, change);
}

void TPenDialog::Fill()
{
    if (FChartPen) {
        FVisible->setChecked(FChartPen->Visible());
        if (FStyle->count() == kSmallDotsEntry)
            FStyle->addItem(QStringLiteral("Small Dots"));
        FStyle->setCurrentIndex(FChartPen->SmallDots() ? kSmallDotsEntry
                                                       : (FEdited->Style() < kSmallDotsEntry ? FEdited->Style() : -1));
        FWidth->setEnabled(!FChartPen->SmallDots());
        FWidthLabel->setEnabled(!FChartPen->SmallDots());
        FEndStyle->setCurrentIndex(FChartPen->EndStyle());
        FEndStyle->show();
        FVisible->show();
    } else {
        FVisible->hide();
        FEndStyle->hide();
        FStyle->setCurrentIndex(FEdited->Style() < kSmallDotsEntry ? FEdited->Style() : -1);
    }
    FWidth->setValue(std::max(1, std::min(FEdited->Width(), 100)));
    RefreshStyleIcons();
}

void TPenDialog::RefreshStyleIcons()
{
    // Each entry shows a line of its style in the pen's colour, black or
    // white where that colour would vanish on the list's background.
    const TColor background = FromQColor(FStyle->palette().color(QPalette::Base));
    TColor color = ColorToRGB(FEdited->Color());
    if (color == ColorToRGB(background))
        color = color == clBlack ? clWhite : clBlack;
    for (int i = 0; i < FStyle->count(); ++i) {
        TChartPen sample;
        sample.SetColor(color);
        sample.SetWidth(1);
        if (i == kSmallDotsEntry)
            sample.SetSmallDots(true);
        else
            sample.SetStyle(static_cast<TPenStyle>(i));
        QPixmap pixmap(FStyle->iconSize());
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        DrawPenSample(p, sample, QPoint(2, pixmap.height() / 2), QPoint(30, pixmap.height() / 2));
        p.end();
        FStyle->setItemIcon(i, QIcon(pixmap));
    }
}

bool EditPen(QWidget *owner, TPen *pen, const TEditTarget &target)
{
    if (!pen)
        return false;
    TPenDialog dialog(owner, pen, target);
    return RunEditDialog(dialog, target);
}
