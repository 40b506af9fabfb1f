#include "dialogs/TreeCoEd.h"

#include "dialogs/DialogConst.h"
#include "dialogs/KorBrushDlg.h"
#include "dialogs/KorButtons.h"
#include "dialogs/KorPrompts.h"
#include "dialogs/KorTextDlg.h"
#include "model/TreeDocument.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const TTreeConnectionStyle kButtonStyles[] = {csLine, csSides, csInvertedSides, csCurve};

// The radio buttons of an axis, in order, and the kind each one writes.
const TConnectionPointKind kKindOfButton[] = {cpAbsolute, cpFromOffset, cpToOffset, cpPrevOffset, cpNextOffset};

// The button that shows a stored kind; -1 for the automatic ones.
int ButtonOfKind(TConnectionPointKind kind)
{
    switch (kind) {
    case cpFromPercent:
    case cpFromOffset:
        return 1;
    case cpToPercent:
    case cpToOffset:
        return 2;
    case cpPrevOffset:
        return 3;
    case cpNextOffset:
        return 4;
    case cpAbsolute:
        return 0;
    default:
        return -1;
    }
}

bool IsAutomatic(TConnectionPointKind kind)
{
    return kind == cpFromEdge || kind == cpToEdge;
}

void CheckQuietly(QButtonGroup *group, int id)
{
    const bool blocked = group->blockSignals(true);
    // Unchecking all needs the group's exclusivity off for a moment.
    group->setExclusive(false);
    for (QAbstractButton *b : group->buttons())
        b->setChecked(group->id(b) == id);
    group->setExclusive(true);
    group->blockSignals(blocked);
}

QGroupBox *AxisGroup(const char *title, const char *value, const char *const names[5], QSpinBox *&box,
                     QButtonGroup *&buttons, QWidget *owner)
{
    auto *group = new QGroupBox(QString::fromLatin1(title));
    box = new QSpinBox;
    box->setRange(-32768, 32767);
    auto *label = new QLabel(QString::fromLatin1(value));
    label->setBuddy(box);
    buttons = new QButtonGroup(owner);
    auto *layout = new QGridLayout(group);
    layout->addWidget(label, 0, 0);
    layout->addWidget(box, 0, 1);
    for (int i = 0; i < 5; ++i) {
        auto *radio = new QRadioButton(QString::fromLatin1(names[i]));
        buttons->addButton(radio, i);
        layout->addWidget(radio, i + 1, 0, 1, 2);
    }
    return group;
}

} // namespace

TTreeConnectionStyle TConnectionEditor::StyleOfButton(int id)
{
    return id >= 0 && id < 4 ? kButtonStyles[id] : csLine;
}

TConnectionEditor::TConnectionEditor(QWidget *parent) : TKorDialog(parent)
{
    setObjectName(QStringLiteral("ConnectionEditor"));
    setWindowTitle(QStringLiteral("Tree Connection Editor"));
    FPages = new QTabWidget;
    FPages->addTab(BuildFormatPage(), QStringLiteral("Format"));
    FPages->addTab(BuildArrowPage(FFrom, true), QStringLiteral("Arrow From"));
    FPages->addTab(BuildArrowPage(FTo, false), QStringLiteral("Arrow To"));
    FTextPage = new QWidget;
    FPages->addTab(FTextPage, QStringLiteral("Text"));
    FPages->addTab(BuildPointsPage(), QStringLiteral("Points"));
    auto *buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::AcceptRole)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(FPages, 1);
    layout->addWidget(buttons);
    connect(FPages, &QTabWidget::currentChanged, this, [this](int index) { PageChanged(index); });
}

TConnectionEditor::~TConnectionEditor() = default;

void TConnectionEditor::SetConnection(TTreeConnection *connection)
{
    FConnection = connection;
}

void TConnectionEditor::Edit(const QString &property, const std::function<void()> &change)
{
    if (FFilling || !FConnection)
        return;
    TTreeDocument *tree = FConnection->Tree();
    TTreeStep step(tree, SStepConnection);
    TEditTarget::Of(FConnection).Edit(property, change);
}

void TConnectionEditor::Propagate(const QString &property,
                                  const std::function<void(TTreeConnection *, TTreeConnection *)> &copy)
{
    if (!FApplyToSiblings || !FConnection || !FConnection->FromShape())
        return;
    TNodeConnectionList *list = FConnection->FromShape()->PeekConnections();
    if (!list)
        return;
    TTreeStep step(FConnection->Tree(), SStepConnection);
    for (TTreeConnection *sibling : *list)
        if (sibling != FConnection)
            TEditTarget::Of(sibling).Edit(property, [&] { copy(FConnection, sibling); });
}

QWidget *TConnectionEditor::BuildFormatPage()
{
    auto *page = new QWidget;
    FAutomatic = new QCheckBox(QStringLiteral("&Automatic"));
    FStyleGroup = new QGroupBox(QStringLiteral("Style:"));
    FStyles = new QButtonGroup(this);
    auto *styles = new QVBoxLayout(FStyleGroup);
    int id = 0;
    for (const char *name : {"&Line", "&Sides", "&Inverted Sides", "&Curve"}) {
        auto *radio = new QRadioButton(QString::fromLatin1(name));
        FStyles->addButton(radio, id++);
        styles->addWidget(radio);
    }
    FBorder = new TButtonPen(QStringLiteral("&Border..."));
    auto *layout = new QGridLayout(page);
    layout->addWidget(FAutomatic, 0, 0);
    layout->addWidget(FStyleGroup, 1, 0);
    layout->addWidget(FBorder, 1, 1, Qt::AlignTop);
    layout->setRowStretch(2, 1);
    layout->setColumnStretch(2, 1);

    connect(FAutomatic, &QCheckBox::toggled, this, [this](bool on) {
        if (FFilling)
            return;
        Edit(QStringLiteral("Style"), [&] { FConnection->SetStyle(on ? csAuto : csLine); });
        Propagate(QStringLiteral("Style"), [](TTreeConnection *f, TTreeConnection *t) { t->SetStyle(f->Style()); });
        ShowStep();
    });
    connect(FStyles, &QButtonGroup::idClicked, this, [this](int id) {
        Edit(QStringLiteral("Style"), [&] { FConnection->SetStyle(StyleOfButton(id)); });
        Propagate(QStringLiteral("Style"), [](TTreeConnection *f, TTreeConnection *t) { t->SetStyle(f->Style()); });
        FillPoints(0);
    });
    connect(FBorder, &TButtonPen::Edited, this, [this](bool confirmed) {
        // A cancelled border is this connection's old one: the others keep theirs.
        if (confirmed)
            Propagate(QStringLiteral("Border"), [](TTreeConnection *f, TTreeConnection *t) { t->SetBorder(f->Border()); });
    });
    return page;
}

QWidget *TConnectionEditor::BuildArrowPage(TArrowControls &c, bool from)
{
    auto *page = new QWidget;
    auto *styleBox = new QGroupBox(QStringLiteral("Arrow:"));
    c.Styles = new QButtonGroup(this);
    auto *grid = new QGridLayout(styleBox);
    int id = 0;
    for (const char *name : {"&None", "&Solid", "&Lines", "S&quare", "&Circle", "&Diamond"}) {
        auto *radio = new QRadioButton(QString::fromLatin1(name));
        c.Styles->addButton(radio, id);
        grid->addWidget(radio, id % 3, id / 3);
        ++id;
    }
    c.Size = new QSpinBox;
    c.Size->setRange(1, 100);
    auto *sizeLabel = new QLabel(QStringLiteral("S&ize:"));
    sizeLabel->setBuddy(c.Size);
    c.Color = new TButtonColor(QStringLiteral("C&olor..."));
    c.Border = new TButtonPen(QStringLiteral("&Border..."));
    c.Pattern = new QPushButton(QStringLiteral("&Pattern..."));
    auto *buttons = new QVBoxLayout;
    auto *sizeRow = new QHBoxLayout;
    sizeRow->addWidget(sizeLabel);
    sizeRow->addWidget(c.Size);
    buttons->addLayout(sizeRow);
    buttons->addWidget(c.Color);
    buttons->addWidget(c.Border);
    buttons->addWidget(c.Pattern);
    buttons->addStretch(1);
    auto *layout = new QHBoxLayout(page);
    layout->addWidget(styleBox, 1);
    layout->addLayout(buttons);

    const QString path = from ? QStringLiteral("ArrowFrom") : QStringLiteral("ArrowTo");
    const auto arrowOf = [from](TTreeConnection *t) -> TConnectionArrow * {
        return from ? static_cast<TConnectionArrow *>(t->ArrowFrom()) : t->ArrowTo();
    };
    connect(c.Styles, &QButtonGroup::idClicked, this, [this, path, arrowOf](int id) {
        const auto style = static_cast<TConnectionArrowStyle>(id);
        Edit(path + QStringLiteral(".Style"), [&] { arrowOf(FConnection)->SetStyle(style); });
        Propagate(path + QStringLiteral(".Style"),
                  [&](TTreeConnection *f, TTreeConnection *t) { arrowOf(t)->SetStyle(arrowOf(f)->Style()); });
    });
    connect(c.Size, qOverload<int>(&QSpinBox::valueChanged), this, [this, path, arrowOf](int v) {
        if (FFilling)
            return;
        Edit(path + QStringLiteral(".Size"), [&] { arrowOf(FConnection)->SetSize(v); });
        Propagate(path + QStringLiteral(".Size"),
                  [&](TTreeConnection *f, TTreeConnection *t) { arrowOf(t)->SetSize(arrowOf(f)->Size()); });
    });
    connect(c.Border, &TButtonPen::Edited, this, [this, path, arrowOf](bool confirmed) {
        if (confirmed)
            Propagate(path + QStringLiteral(".Border"),
                      [&](TTreeConnection *f, TTreeConnection *t) { arrowOf(t)->SetBorder(arrowOf(f)->Border()); });
    });
    connect(c.Pattern, &QPushButton::clicked, this, [this, path, arrowOf] {
        if (!FConnection)
            return;
        TTreeStep step(FConnection->Tree(), SStepConnection);
        const bool confirmed = EditBrush(this, arrowOf(FConnection)->Brush(), TEditTarget::Of(FConnection, path + QStringLiteral(".Brush")));
        // A cancelled pattern leaves the siblings' arrows as they were.
        if (confirmed)
            Propagate(path + QStringLiteral(".Brush"),
                      [&](TTreeConnection *f, TTreeConnection *t) { arrowOf(t)->SetBrush(arrowOf(f)->Brush()); });
    });
    return page;
}

QWidget *TConnectionEditor::BuildPointsPage()
{
    auto *page = new QWidget;
    FPointList = new QListWidget;
    auto *listLabel = new QLabel(QStringLiteral("&Point:"));
    listLabel->setBuddy(FPointList);
    FAdd = new QPushButton(QStringLiteral("+"));
    FAdd->setToolTip(QStringLiteral("Add new Point"));
    FDelete = new QPushButton(QStringLiteral("-"));
    FDelete->setToolTip(QStringLiteral("Delete Point"));
    FDelete->setEnabled(false);
    FPointAuto = new QCheckBox(QStringLiteral("&Automatic"));
    static const char *const xNames[] = {"&Fixed", "R&elative From", "Relative &To", "P&revious point", "&Next point"};
    static const char *const yNames[] = {"Fixe&d", "Relative Fro&m", "Relative T&o", "Pre&vious point", "Next point"};
    FXGroup = AxisGroup("&X:", "&Value:", xNames, FXValue, FXStyles, this);
    FYGroup = AxisGroup("&Y:", "Va&lue:", yNames, FYValue, FYStyles, this);
    auto *left = new QVBoxLayout;
    left->addWidget(listLabel);
    left->addWidget(FPointList, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(FAdd);
    buttons->addWidget(FDelete);
    left->addLayout(buttons);
    left->addWidget(FPointAuto);
    auto *layout = new QHBoxLayout(page);
    layout->addLayout(left);
    layout->addWidget(FXGroup);
    layout->addWidget(FYGroup);

    connect(FPointList, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!FFilling)
            ShowPoint(row);
    });
    connect(FAdd, &QPushButton::clicked, this, [this] {
        EditPointsOf([&] { FConnection->AddPoint(0, 0); });
        FillPoints(FConnection->Count() - 1);
    });
    connect(FDelete, &QPushButton::clicked, this, [this] {
        const int index = ChosenPoint();
        if (index < 0)
            return;
        EditPointsOf([&] { FConnection->DeletePoint(index); });
        FillPoints(std::min(index, FConnection->Count() - 1));
    });
    connect(FPointAuto, &QCheckBox::toggled, this, [this](bool on) {
        const int index = ChosenPoint();
        if (FFilling || index < 0)
            return;
        const TConnectionPointKind kind = on ? (index == 0 ? cpFromEdge : cpToEdge) : (index == 0 ? cpFromOffset : cpToOffset);
        EditPointsOf([&] {
            FConnection->SetPointXStyle(index, kind);
            FConnection->SetPointYStyle(index, kind);
        });
        ShowPoint(index);
    });
    const auto axis = [this](QSpinBox *box, QButtonGroup *group, bool horizontal) {
        connect(box, qOverload<int>(&QSpinBox::valueChanged), this, [this, horizontal](int v) {
            const int index = ChosenPoint();
            if (FFilling || index < 0)
                return;
            EditPointsOf([&] {
                TConnectionPoint &p = FConnection->Points()[index];
                (horizontal ? p.XValue : p.YValue) = v;
                FConnection->CalcPoints();
            });
        });
        connect(group, &QButtonGroup::idClicked, this, [this, horizontal](int id) {
            const int index = ChosenPoint();
            if (FFilling || index < 0)
                return;
            EditPointsOf([&] {
                if (horizontal)
                    FConnection->SetPointXStyle(index, kKindOfButton[id]);
                else
                    FConnection->SetPointYStyle(index, kKindOfButton[id]);
            });
            ShowPoint(index);
        });
    };
    axis(FXValue, FXStyles, true);
    axis(FYValue, FYStyles, false);
    return page;
}

void TConnectionEditor::EditPointsOf(const std::function<void()> &change)
{
    if (!FConnection)
        return;
    TTreeDocument *tree = FConnection->Tree();
    TTreeStep step(tree, SStepConnection);
    if (tree)
        tree->EditPoints(FConnection, change);
    else
        change();
}

int TConnectionEditor::ChosenPoint() const
{
    const int row = FPointList->currentRow();
    return FConnection && FConnection->Points().IsValid(row) ? row : -1;
}

void TConnectionEditor::FillPoints(int choose)
{
    const bool filling = FFilling;
    FFilling = true;
    FPointList->clear();
    const int count = FConnection ? FConnection->Count() : 0;
    for (int i = 0; i < count; ++i)
        FPointList->addItem(SConnectionPoint.Text() + QLatin1Char(' ') + QString::number(i));
    FFilling = filling;
    if (count > 0) {
        FFilling = true;
        FPointList->setCurrentRow(std::max(0, std::min(choose, count - 1)));
        FFilling = filling;
        ShowPoint(FPointList->currentRow());
    } else {
        FXGroup->setEnabled(false);
        FYGroup->setEnabled(false);
        FPointAuto->setEnabled(false);
        FDelete->setEnabled(false);
    }
}

void TConnectionEditor::ShowPoint(int index)
{
    if (!FConnection || !FConnection->Points().IsValid(index))
        return;
    const bool filling = FFilling;
    FFilling = true;
    const TConnectionPoint &p = FConnection->Points()[index];
    FXValue->setValue(p.XValue);
    FYValue->setValue(p.YValue);
    const int last = FConnection->Count() - 1;
    FPointAuto->setEnabled(index == 0 || index == last);
    const bool automatic = IsAutomatic(p.XStyle) || IsAutomatic(p.YStyle);
    FPointAuto->setChecked(automatic);
    FXGroup->setEnabled(!automatic);
    FYGroup->setEnabled(!automatic);
    CheckQuietly(FXStyles, ButtonOfKind(p.XStyle));
    CheckQuietly(FYStyles, ButtonOfKind(p.YStyle));
    FDelete->setEnabled(FConnection->Count() > 1);
    FFilling = filling;
}

void TConnectionEditor::FillArrow(TArrowControls &c, TConnectionArrow *arrow, const QString &path)
{
    CheckQuietly(c.Styles, arrow->Style());
    c.Size->setValue(std::max(1, std::min(arrow->Size(), 100)));
    c.Border->LinkPen(arrow->Border(), TEditTarget::Of(FConnection, path + QStringLiteral(".Border")));
    c.Color->LinkProperty(arrow, QStringLiteral("BackColor"), TEditTarget::Of(FConnection, path));
}

void TConnectionEditor::ShowStep()
{
    if (!FConnection)
        return;
    FFilling = true;
    // Showing the arrows and the border makes their objects; that is no edit.
    {
        TTreeQuietChanges quiet(FConnection->Tree());
        FBorder->LinkPen(FConnection->Border(), TEditTarget::Of(FConnection, QStringLiteral("Border")));
        FillArrow(FFrom, FConnection->ArrowFrom(), QStringLiteral("ArrowFrom"));
        FillArrow(FTo, FConnection->ArrowTo(), QStringLiteral("ArrowTo"));
    }
    const bool automatic = FConnection->Style() == csAuto;
    FAutomatic->setChecked(automatic);
    FStyleGroup->setEnabled(!automatic);
    int button = -1;
    for (int i = 0; i < 4; ++i)
        if (kButtonStyles[i] == FConnection->Style())
            button = i;
    CheckQuietly(FStyles, button);
    setWindowTitle(FormatMessage(SEditingConnection, {FConnection->Name()}));
    FillPoints(0);
    FFilling = false;
}

void TConnectionEditor::SetPage(int page)
{
    if (page >= 0 && page < FPages->count())
        FPages->setCurrentIndex(page);
    PageChanged(FPages->currentIndex());
}

void TConnectionEditor::PageChanged(int index)
{
    if (FPages->widget(index) != FTextPage || FTextPanel || !FConnection)
        return;
    FTextPanel = new TFormKorText;
    FTextPanel->SetElement(FConnection);
    FTextPanel->EmbedIn(FTextPage);
    FTextPanel->Pages()->setCurrentIndex(0);
}

void TConnectionEditor::showEvent(QShowEvent *event)
{
    if (!event->spontaneous())
        ShowStep();
    TKorDialog::showEvent(event);
}

void EditConnection(QWidget *owner, TTreeConnection *connection, bool applyToSiblings)
{
    if (!connection)
        return;
    TConnectionEditor dialog(owner);
    dialog.SetConnection(connection);
    dialog.SetApplyToSiblings(applyToSiblings);
    Prompts().Exec(dialog);
}

void EditConnectionPage(QWidget *owner, TTreeConnection *connection, int page)
{
    if (!connection)
        return;
    TConnectionEditor dialog(owner);
    dialog.SetConnection(connection);
    dialog.SetPage(page);
    Prompts().Exec(dialog);
}
