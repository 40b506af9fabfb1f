#include "dialogs/KorBrushDlg.h"

#include "canvas/CanvasResources.h"
#include "dialogs/DialogConst.h"
#include "dialogs/KorButtons.h"
#include "dialogs/KorPrompts.h"
#include "model/TreeDocument.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char *const kEntryNames[kBrushEntryCount] = {
    "Solid",        "None",           "Horizontal",    "Vertical",    "Diagonal",         "Back Diagonal",
    "Cross",        "Diagonal Cross", "Fill 80%",      "Fill 60%",    "Fill 40%",         "Fill 20%",
    "Fill 10%",     "Zig zag",        "Vertical small", "Horiz. small", "Diag. small",    "Back Diag. small",
    "Cross small",  "Diag. Cross small",
};

Qt::BrushStyle HatchOf(int style)
{
    static const Qt::BrushStyle hatches[kBrushStyleCount] = {
        Qt::SolidPattern, Qt::NoBrush,        Qt::HorPattern,   Qt::VerPattern,
        Qt::FDiagPattern, Qt::BDiagPattern,   Qt::CrossPattern, Qt::DiagCrossPattern,
    };
    return style >= 0 && style < kBrushStyleCount ? hatches[style] : Qt::NoBrush;
}

// A 14-pixel sample of an entry: the hatch in black on white, or the
// pattern bitmap.
QIcon EntryIcon(int entry)
{
    QPixmap pixmap(14, 14);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    if (entry < kBrushStyleCount) {
        p.fillRect(pixmap.rect(), QBrush(Qt::black, HatchOf(entry)));
    } else {
        TPicture pattern;
        if (LoadBrushPattern(entry - kBrushStyleCount + 1, pattern))
            p.fillRect(pixmap.rect(), QBrush(pattern.Image()));
    }
    p.setPen(Qt::gray);
    p.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

} // namespace

QString BrushEntryName(int entry)
{
    return entry >= 0 && entry < kBrushEntryCount ? QString::fromLatin1(kEntryNames[entry]) : QString();
}

bool LoadBrushPattern(int number, TPicture &picture)
{
    if (number < 1 || number > kBrushPatternCount)
        return false;
    InitCanvasResources();
    const QImage image(QStringLiteral(":/dendrix/patterns/KORBRUSH%1.bmp").arg(number));
    if (image.isNull())
        return false;
    picture.SetImage(image);
    picture.SetTransparentColor(clWhite);
    picture.SetTransparent(true);
    return true;
}

TBrushDialog::TBrushDialog(QWidget *parent, TChartBrush *brush, const TEditTarget &target)
    : TKorLiveDialog(parent, brush, target)
{
    setObjectName(QStringLiteral("BrushDialog"));
    setWindowTitle(QStringLiteral("Pattern Color Editor"));

    FList = new QListWidget;
    FList->setIconSize(QSize(14, 14));
    for (int i = 0; i < kBrushEntryCount; ++i) {
        auto *item = new QListWidgetItem(BrushEntryName(i), FList);
        if (i != bsClear)
            item->setIcon(EntryIcon(i));
    }
    FColor = new TButtonColor(QStringLiteral("&Color..."));
    FColor->LinkProperty(brush, QStringLiteral("Color"), target);
    FImageGroup = new QGroupBox(QStringLiteral("Image:"));
    FPreview = new QLabel;
    FPreview->setFixedSize(64, 64);
    FPreview->setFrameShape(QFrame::Panel);
    FPreview->setFrameShadow(QFrame::Sunken);
    FPreview->setAlignment(Qt::AlignCenter);
    FImageButton = new QPushButton(SBrushBrowse);
    auto *imageLayout = new QVBoxLayout(FImageGroup);
    imageLayout->addWidget(FPreview, 0, Qt::AlignHCenter);
    imageLayout->addWidget(FImageButton);
    FButtons = NewOkCancelRow(this, Qt::Vertical);

    auto *side = new QVBoxLayout;
    side->addWidget(FColor);
    side->addWidget(FImageGroup);
    side->addStretch(1);
    side->addWidget(FButtons);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(FList, 1);
    layout->addLayout(side);
    setTabOrder(FList, FColor);
    setTabOrder(FColor, FImageButton);

    connect(FList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!FFilling)
            ChooseEntry(row);
    });
    connect(FImageButton, &QPushButton::clicked, this, [this] { ImageClicked(); });
    Refill();
}

TBrushDialog::~TBrushDialog() = default;

void TBrushDialog::Fill()
{
    FList->setCurrentRow(FEdited->Style());
    RefreshImage();
}

void TBrushDialog::ChooseEntry(int entry)
{
    if (entry < 0 || entry >= kBrushEntryCount)
        return;
    if (FList->currentRow() != entry) {
        const bool filling = FFilling;
        FFilling = true;
        FList->setCurrentRow(entry);
        FFilling = filling;
    }
    if (entry < kBrushStyleCount) {
        FTarget.Edit(QStringLiteral("Style"), [&] { FEdited->SetStyle(static_cast<TBrushStyle>(entry)); });
    } else {
        TPicture pattern;
        if (LoadBrushPattern(entry - kBrushStyleCount + 1, pattern))
            FTarget.Edit(QStringLiteral("Image"), [&] { FEdited->SetImage(&pattern); });
    }
    RefreshImage();
}

void TBrushDialog::RefreshImage()
{
    const bool hasImage = FEdited->HasImage();
    FImageButton->setText(hasImage ? SBrushClear : SBrushBrowse);
    if (hasImage) {
        const QImage &image = FEdited->PeekImage()->Image();
        // Small patterns are shown repeated, larger pictures scaled down.
        QPixmap pixmap(FPreview->contentsRect().size());
        pixmap.fill(Qt::white);
        QPainter p(&pixmap);
        if (image.width() <= 16 && image.height() <= 16)
            p.fillRect(pixmap.rect(), QBrush(image));
        else
            p.drawImage(pixmap.rect(), image.scaled(pixmap.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
        p.end();
        FPreview->setPixmap(pixmap);
    } else {
        FPreview->clear();
    }
    FColor->setEnabled(FEdited->Style() != bsClear);
    FColor->update();
}

void TBrushDialog::ImageClicked()
{
    // A pattern entry stands for the image: the list goes back to the style.
    if (FList->currentRow() >= kBrushStyleCount) {
        FFilling = true;
        FList->setCurrentRow(FEdited->Style());
        FFilling = false;
    }
    if (FEdited->HasImage()) {
        FTarget.Edit(QStringLiteral("Image"), [&] { FEdited->SetImage(nullptr); });
    } else {
        TPicture loaded;
        if (LoadPictureAsked(this, AskPictureFile(this), loaded))
            FTarget.Edit(QStringLiteral("Image"), [&] { FEdited->SetImage(&loaded); });
    }
    RefreshImage();
}

bool EditBrush(QWidget *owner, TChartBrush *brush, const TEditTarget &target)
{
    if (!brush)
        return false;
    TBrushDialog dialog(owner, brush, target);
    return RunEditDialog(dialog, target);
}
