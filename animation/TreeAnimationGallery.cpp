#include "animation/TreeAnimationGallery.h"

#include "animation/AnimateConst.h"
#include "animation/AnimationKinds.h"
#include "animation/TreeAnimate.h"
#include "i18n/KorTranslate.h"
#include "view/Arbolix.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

TTreeAnimationGallery::TTreeAnimationGallery(QWidget *parent)
    : QDialog(parent), FHost(std::make_unique<TComponent>())
{
    setObjectName(QStringLiteral("TreeAnimationGallery"));
    setWindowTitle(QStringLiteral("Animations"));
    RegisterAnimationClasses();
    auto *layout = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    FList = new QListWidget(this);
    FList->setObjectName(QStringLiteral("LBAnimations"));
    QStringList captions;
    for (const TAnimationClass &c : AnimationClasses())
        if (c.Info != &TCustomAnimation::StaticClassInfo())
            captions << TAnimation::CaptionOf(c.Info->Name());
    std::sort(captions.begin(), captions.end());
    FList->addItems(captions);
    row->addWidget(FList);
    FHost->SetName(QStringLiteral("AnimationGallery1"));
    FPreview = new TTree(FHost.get(), this);
    FPreview->setObjectName(QStringLiteral("PreviewTree"));
    FPreview->SetNoOwnerShapes(false);
    FPreview->SetColor(clSilver);
    FPreview->setMinimumSize(260, 160);
    row->addWidget(FPreview, 1);
    layout->addLayout(row, 1);
    FButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    FButtons->button(QDialogButtonBox::Ok)->setEnabled(false);
    layout->addWidget(FButtons);
    FPlayer = std::make_unique<TTreeAnimate>(FHost.get());
    FPlayer->SetTree(FPreview);
    connect(FButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(FButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(FList, &QListWidget::currentRowChanged, this, [this](int row) {
        FButtons->button(QDialogButtonBox::Ok)->setEnabled(row >= 0);
        ShowPreview();
    });
    connect(FList, &QListWidget::itemDoubleClicked, this, [this] {
        if (Chosen())
            accept();
    });
    resize(480, 260);
}

TTreeAnimationGallery::~TTreeAnimationGallery()
{
    // The preview's player and animations go before the diagram.
    FPlayer.reset();
    delete FPreview;
    FPreview = nullptr;
}

void TTreeAnimationGallery::showEvent(QShowEvent *event)
{
    TranslateForm(this);
    QDialog::showEvent(event);
}

const TAnimationClass *TTreeAnimationGallery::Chosen() const
{
    const QListWidgetItem *item = FList->currentItem();
    if (!item)
        return nullptr;
    for (const TAnimationClass &c : AnimationClasses())
        if (TAnimation::CaptionOf(c.Info->Name()) == item->text())
            return &c;
    return nullptr;
}

bool TTreeAnimationGallery::SelectCaption(const QString &caption)
{
    const QList<QListWidgetItem *> found = FList->findItems(caption, Qt::MatchExactly);
    if (found.isEmpty())
        return false;
    FList->setCurrentItem(found.first());
    return true;
}

void TTreeAnimationGallery::ShowPreview()
{
    FPlayer->Stop();
    const std::vector<TAnimation *> old(FPlayer->Animations().begin(), FPlayer->Animations().end());
    FPlayer->Animations().Clear();
    for (TAnimation *a : old)
        delete a;
    FPreview->Clear();
    const TAnimationClass *kind = Chosen();
    if (!kind)
        return;
    TTreeNodeShape *node = FPreview->AddRoot(SAnimationPreviewText);
    node->SetImageIndex(tiNone);
    node->Border()->SetVisible(false);
    node->SetTransparent(true);
    node->SetAutoSize(false);
    const int w = 120, h = 40;
    node->SetX0((FPreview->width() - w) / 2);
    node->SetY0((FPreview->height() - h) / 2);
    node->SetWidth(w);
    node->SetHeight(h);
    FPlayer->SetSpeed(15);
    FPlayer->SetLoop(true);
    TAnimation *a = kind->Create(FHost.get());
    FPlayer->Animations().Add(a);
    a->ApplyDefaults();
    auto *hold = new TCustomAnimation(FHost.get());
    hold->SetStartFrame(a->EndFrame());
    hold->SetDuration(10);
    FPlayer->Animations().Add(hold);
    FPlayer->Play();
}
