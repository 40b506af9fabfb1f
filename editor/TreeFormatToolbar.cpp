#include "editor/TreePanelsConst.h"
#include "editor/TreeToolbars.h"

#include "dialogs/KorButtons.h"
#include "dialogs/KorTextDlg.h"
#include "model/TreeImagePool.h"
#include "view/Arbolix.h"

#include <QCheckBox>
#include <algorithm>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QSlider>

namespace {

// The entries of the border style list, as the user reads them.
const char *const kBorderStyles[] = {"Clear", "Solid", "Dash", "Dot", "Dash Dot", "Dash Dot Dot"};
constexpr int kImageRowHeight = 20;

// A sample line of a border style entry.
QIcon BorderStyleIcon(int entry)
{
    QPixmap pixmap(48, 12);
    pixmap.fill(Qt::transparent);
    if (entry == TTreeFormatToolbar::bsClear)
        return QIcon(pixmap);
    QPainter p(&pixmap);
    TChartPen pen;
    if (entry == TTreeFormatToolbar::bsSmallDots)
        pen.SetSmallDots(true);
    else
        pen.SetStyle(static_cast<TPenStyle>(entry - 1));
    DrawPenSample(p, pen, QPoint(1, 6), QPoint(46, 6));
    return QIcon(pixmap);
}

// An image list entry's picture: entry 0 none, entry 12 the picture of
// entry 2, else its own; unscaled when lower than a row, else stretched.
QIcon ImageEntryIcon(int entry)
{
    const TPicture *picture = entry == 0 ? nullptr : TTreeImagePool::Instance().Picture(entry == tiFolderOpenClose ? tiFolderOpen : entry);
    QPixmap pixmap(kImageRowHeight, kImageRowHeight);
    pixmap.fill(Qt::transparent);
    if (picture && !picture->Image().isNull()) {
        QPainter p(&pixmap);
        const QImage &image = picture->Image();
        if (image.height() < kImageRowHeight)
            p.drawImage(QPoint(0, (kImageRowHeight - image.height()) / 2), image);
        else
            p.drawImage(QRect(0, 0, kImageRowHeight, kImageRowHeight), image);
    }
    return QIcon(pixmap);
}

// The text box: opening its list opens the text dialog instead.
class TTextCombo : public QComboBox
{
public:
    TTextCombo(QWidget *parent, std::function<void()> open) : QComboBox(parent), FOpen(std::move(open)) {}
    void showPopup() override { FOpen(); }

private:
    std::function<void()> FOpen;
};

} // namespace

TTreeFormatToolbar::TTreeFormatToolbar(QWidget *parent) : TTreePanelPart(parent)
{
    setObjectName(QStringLiteral("PanelShape"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(2, 1, 2, 1);
    row->setSpacing(3);

    FBorderColor = new TButtonColor(QString(), this);
    FBorderColor->setToolTip(QStringLiteral("Border Color"));
    row->addWidget(FBorderColor);
    FFillColor = new TButtonColor(QString(), this);
    FFillColor->setToolTip(QStringLiteral("Color"));
    row->addWidget(FFillColor);

    FBorderStyle = new QComboBox(this);
    FBorderStyle->setObjectName(QStringLiteral("BorderStyle"));
    FBorderStyle->setToolTip(QStringLiteral("Border Style"));
    FBorderStyle->setIconSize(QSize(48, 12));
    for (int i = 0; i <= bsDashDotDot; ++i)
        FBorderStyle->addItem(BorderStyleIcon(i), QString::fromLatin1(kBorderStyles[i]));
    // Every platform this runs on draws small dots.
    FBorderStyle->addItem(BorderStyleIcon(bsSmallDots), SSmallDots.Text());
    row->addWidget(FBorderStyle);

    FBorderWidth = new QSlider(Qt::Horizontal, this);
    FBorderWidth->setRange(1, 10);
    FBorderWidth->setPageStep(1);
    FBorderWidth->setFixedWidth(70);
    FBorderWidth->setToolTip(QStringLiteral("Border width"));
    row->addWidget(FBorderWidth);

    FImage = new QComboBox(this);
    FImage->setObjectName(QStringLiteral("ImageList"));
    FImage->setToolTip(QStringLiteral("Image"));
    FImage->setIconSize(QSize(kImageRowHeight, kImageRowHeight));
    for (int i = 0; i < TTreeImagePool::kSlotCount; ++i)
        FImage->addItem(ImageEntryIcon(i), QString());
    row->addWidget(FImage);

    FText = new TTextCombo(this, [this] { EditText(); });
    FText->setObjectName(QStringLiteral("NodeText"));
    FText->setEditable(true);
    FText->setInsertPolicy(QComboBox::NoInsert);
    FText->setMinimumContentsLength(16);
    FText->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    FText->setToolTip(QStringLiteral("Text"));
    row->addWidget(FText);

    FTransparent = new QCheckBox(QStringLiteral("Transp."), this);
    row->addWidget(FTransparent);

    FNavigatorSlot = new QWidget(this);
    FNavigatorSlot->setObjectName(QStringLiteral("NavigatorSlot"));
    auto *slot = new QHBoxLayout(FNavigatorSlot);
    slot->setContentsMargins(0, 0, 0, 0);
    row->addWidget(FNavigatorSlot);
    row->addStretch(1);

    FBorderColor->LinkValue(
        [this]() -> TColor {
            const TChartPen *pen = EffectiveElementBorder(ToolbarTargets(Tree()).First());
            return pen ? pen->Color() : clNone;
        },
        [this](TColor c) {
            ApplyToBorders(
                QStringLiteral("Border.Color"), [c](TChartPen *p) { return p->Color() != c; },
                [c](TChartPen *p) { p->SetColor(c); });
        });
    FFillColor->LinkValue(
        [this]() -> TColor {
            const TToolbarTargets t = ToolbarTargets(Tree());
            return t.Nodes.empty() ? clNone : t.Nodes.front()->Color();
        },
        [this](TColor c) {
            ApplyToNodes(
                QStringLiteral("Color"), SStepFill, [c](TTreeNodeShape *n) { return n->Color() != c; },
                [c](TTreeNodeShape *n) { n->SetColor(c); });
        });
    connect(FBorderStyle, &QComboBox::activated, this, [this](int entry) { ApplyBorderStyle(entry); });
    connect(FBorderWidth, &QSlider::valueChanged, this, [this](int w) { ApplyBorderWidth(w); });
    connect(FImage, &QComboBox::activated, this, [this](int entry) { ApplyImage(entry); });
    connect(FText->lineEdit(), &QLineEdit::editingFinished, this, [this] { ApplyText(FText->currentText()); });
    connect(FTransparent, &QCheckBox::toggled, this, [this](bool on) { ApplyTransparent(on); });
    Refresh();
}

bool TTreeFormatToolbar::Concerns(const TTreeChange &change) const
{
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

int TTreeFormatToolbar::BorderStyleEntry(const TChartPen *pen, bool smallDotsListed)
{
    if (!pen)
        return bsSolid;
    if (pen->SmallDots() && smallDotsListed)
        return bsSmallDots;
    if (!pen->Visible())
        return bsClear;
    const int style = static_cast<int>(pen->Style());
    // Styles the list does not name (clear, inside frame) show as solid.
    return style <= psDashDotDot ? style + 1 : bsSolid;
}

void TTreeFormatToolbar::FillControls()
{
    const TToolbarTargets targets = ToolbarTargets(Tree());
    TCustomTreeElement *first = targets.First();
    for (QWidget *w : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        if (w != FNavigatorSlot)
            w->setEnabled(first != nullptr);
    const bool node = !targets.Nodes.empty();
    FFillColor->setVisible(node || !first);
    FImage->setVisible(node || !first);
    FTransparent->setVisible(node || !first);
    FFillColor->setEnabled(node);
    FImage->setEnabled(node);
    FTransparent->setEnabled(node);
    if (!first) {
        FText->setEditText(QString());
        FBorderStyle->setCurrentIndex(-1);
        FImage->setCurrentIndex(-1);
        FTransparent->setChecked(false);
        return;
    }
    const TChartPen *pen = EffectiveElementBorder(first);
    const int entry = BorderStyleEntry(pen, FBorderStyle->count() > bsSmallDots);
    FBorderStyle->setCurrentIndex(entry);
    FBorderWidth->setValue(pen ? std::clamp(pen->Width(), 1, 10) : 1);
    FBorderWidth->setEnabled(entry >= bsSolid && entry <= bsDashDotDot);
    FBorderColor->update();
    FFillColor->update();
    FText->setEditText(first->LineCount() > 0 ? first->Line(0) : QString());
    if (node) {
        const TTreeNodeShape *n = targets.Nodes.front();
        FImage->setCurrentIndex(std::clamp(static_cast<int>(n->ImageIndex()), 0, FImage->count() - 1));
        FTransparent->setChecked(n->Transparent());
    }
}

void TTreeFormatToolbar::ApplyToBorders(const QString &property, const std::function<bool(TChartPen *)> &differs,
                                        const std::function<void(TChartPen *)> &change)
{
    TTree *tree = Tree();
    if (!tree || Updating())
        return;
    const std::vector<TCustomTreeElement *> all = ToolbarTargets(tree).All();
    // Compared on the pens they draw with, so nothing is made for nothing.
    auto needs = [&](TCustomTreeElement *e) {
        const TChartPen *pen = EffectiveElementBorder(e);
        if (!pen)
            return false;
        TChartPen probe;
        probe.Assign(pen);
        return differs(&probe);
    };
    if (std::none_of(all.begin(), all.end(), needs))
        return;
    TTreeStep step(tree, SStepBorder);
    for (TCustomTreeElement *e : all)
        if (needs(e))
            tree->EditElement(e, property, [&] { change(ElementBorder(e)); });
}

void TTreeFormatToolbar::ApplyToNodes(const QString &property, const QString &stepName,
                                      const std::function<bool(TTreeNodeShape *)> &differs,
                                      const std::function<void(TTreeNodeShape *)> &change)
{
    TTree *tree = Tree();
    if (!tree || Updating())
        return;
    const std::vector<TTreeNodeShape *> nodes = tree->Selected().Nodes();
    if (std::none_of(nodes.begin(), nodes.end(), differs))
        return;
    TTreeStep step(tree, stepName);
    for (TTreeNodeShape *n : nodes)
        if (differs(n))
            tree->EditElement(n, property, [&] { change(n); });
}

void TTreeFormatToolbar::ApplyBorderStyle(int entry)
{
    if (entry < bsClear || entry > bsSmallDots)
        return;
    if (entry == bsClear) {
        ApplyToBorders(
            QStringLiteral("Border.Visible"), [](TChartPen *p) { return p->Visible(); },
            [](TChartPen *p) { p->SetVisible(false); });
    } else if (entry == bsSmallDots) {
        ApplyToBorders(
            QString(), [](TChartPen *p) { return !p->SmallDots() || !p->Visible(); },
            [](TChartPen *p) {
                p->SetVisible(true);
                p->SetSmallDots(true);
            });
    } else {
        const auto style = static_cast<TPenStyle>(entry - 1);
        ApplyToBorders(
            QString(), [style](TChartPen *p) { return !p->Visible() || p->Style() != style || p->SmallDots(); },
            [style](TChartPen *p) {
                p->SetVisible(true);
                p->SetStyle(style);
                p->SetSmallDots(false);
            });
    }
    FBorderWidth->setEnabled(entry >= bsSolid && entry <= bsDashDotDot);
}

void TTreeFormatToolbar::ApplyBorderWidth(int width)
{
    ApplyToBorders(
        QStringLiteral("Border.Width"), [width](TChartPen *p) { return p->Width() != width; },
        [width](TChartPen *p) { p->SetWidth(width); });
}

void TTreeFormatToolbar::ApplyImage(int entry)
{
    if (entry < 0 || entry >= TTreeImagePool::kSlotCount)
        return;
    const auto index = static_cast<TTreeNodeImageIndex>(entry);
    ApplyToNodes(
        QStringLiteral("ImageIndex"), SStepImage, [index](TTreeNodeShape *n) { return n->ImageIndex() != index; },
        [index](TTreeNodeShape *n) { n->SetImageIndex(index); });
}

void TTreeFormatToolbar::ApplyTransparent(bool value)
{
    ApplyToNodes(
        QStringLiteral("Transparent"), SStepTransparent, [value](TTreeNodeShape *n) { return n->Transparent() != value; },
        [value](TTreeNodeShape *n) { n->SetTransparent(value); });
}

void TTreeFormatToolbar::ApplyText(const QString &line)
{
    TTree *tree = Tree();
    TCustomTreeElement *first = ToolbarTargets(tree).First();
    if (!tree || !first || Updating())
        return;
    QStringList lines;
    for (int i = 0; i < first->LineCount(); ++i)
        lines << first->Line(i);
    if (lines.isEmpty())
        lines << line;
    else
        lines[0] = line;
    TTreeStep step(tree, SStepText);
    tree->SetElementText(first, lines);
}

void TTreeFormatToolbar::EditText()
{
    TTree *tree = Tree();
    TCustomTreeElement *first = ToolbarTargets(tree).First();
    if (!tree || !first)
        return;
    ::EditText(this, first);
    Refresh();
}
