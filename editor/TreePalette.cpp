// The tool palette: its pages, buttons and their sample faces.

#include "editor/TreePalette.h"

#include "canvas/KorCanvas3D.h"
#include "canvas/KorShadow.h"
#include "core/ClassRegistry.h"
#include "model/ImageShape.h"
#include "model/PolygonShape.h"
#include "model/ShapePalette.h"
#include "model/TreeDocument.h"

#include <QButtonGroup>
#include <QMouseEvent>
#include <QPainter>

namespace {

// The diagram a sample node belongs to: it draws on the button's face.
class TSampleTree : public TTreeDocument
{
public:
    TSampleTree() { SetShowImages(false); }
    TKorCanvas3D *TreeCanvas() override { return &Canvas; }
    TKorCanvas3D Canvas;
};

struct TStandardTool
{
    const char *Name;
    TTreeShapeStyle Style;
};

// The plain node's styles, in palette order.
const TStandardTool kStandardTools[] = {
    {"Rectangle", tssRectangle},         {"Ellipse", tssCircle},
    {"Triangle Top", tssTriangleTop},    {"Triangle Bottom", tssTriangleBottom},
    {"Triangle Left", tssTriangleLeft},  {"Triangle Right", tssTriangleRight},
    {"Line", tssLine},                   {"Horiz.Line", tssHorizLine},
    {"Vert.Line", tssVertLine},          {"Inverted Line", tssInvertLine},
    {"Diamond", tssDiamond},             {"Round Rectangle", tssRoundRectangle},
};

const QString kStandardPage = QStringLiteral("Standard");

// Where the n-th tool button of a page goes: after the two fixed buttons.
QPoint ToolPosition(int n, int top)
{
    return QPoint(29 + 25 + 29 * n + 4, top);
}

} // namespace

bool TTreeTool::IsPolygon() const
{
    return ShapeClass && ShapeClass->InheritsFrom(TPolygonShape::StaticClassInfo());
}

// ---------------------------------------------------------------------------

TTreeSpeedButton::TTreeSpeedButton(TTreeTool tool, QWidget *parent) : QToolButton(parent), FTool(std::move(tool))
{
    setAutoRaise(true);
    setCheckable(true);
    setFixedSize(kSize, kSize);
    setToolTip(FTool.Name);
    setAccessibleName(FTool.Name);
    setObjectName(FTool.Name);
}

TTreeSpeedButton::~TTreeSpeedButton()
{
    ReleaseSample();
}

TTreeNodeShape *TTreeSpeedButton::Sample() const
{
    return FSample;
}

void TTreeSpeedButton::ReleaseSample()
{
    // The diagram frees its node.
    FSample = nullptr;
    FSampleTree.reset();
}

void TTreeSpeedButton::MakeSample()
{
    if (FSample || !FTool.Factory)
        return;
    auto tree = std::make_unique<TSampleTree>();
    TTreeNodeShape *node = FTool.Factory(nullptr);
    if (!node)
        return;
    node->SetTree(tree.get());
    node->Shadow()->SetHorizSize(2);
    node->Shadow()->SetVertSize(2);
    node->Shadow()->SetColor(clGray);
    if (auto *polygon = dynamic_cast<TPolygonShape *>(node))
        polygon->AddSampleVertices();
    if (FTool.IsStyle)
        node->SetStyle(FTool.Style);
    node->SetAutoSize(false);
    FSampleTree = std::move(tree);
    FSample = node;
}

void TTreeSpeedButton::paintEvent(QPaintEvent *event)
{
    QToolButton::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRect r = rect().adjusted(4, 4, -5, -5);
    if (FTool.ShapeClass && FTool.ShapeClass->InheritsFrom(TTextShape::StaticClassInfo())) {
        QFont font = painter.font();
        font.setBold(true);
        font.setPointSize(16);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRect(5, 1, width() - 5, height() - 1), Qt::AlignLeft | Qt::AlignTop,
                         QStringLiteral("A"));
        return;
    }
    MakeSample();
    if (!FSample)
        return;
    auto *tree = static_cast<TSampleTree *>(FSampleTree.get());
    tree->Canvas.Attach(&painter);
    const TRect box(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
    if (!dynamic_cast<TPolygonShape *>(FSample)) {
        FSample->SetX0(box.Left);
        FSample->SetY0(box.Top);
        FSample->SetX1(box.Right);
        FSample->SetY1(box.Bottom);
    }
    FSample->DrawShape(&tree->Canvas, box);
    tree->Canvas.Attach(nullptr);
}

void TTreeSpeedButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double-click is not another click.
    if (event->button() == Qt::LeftButton) {
        event->accept();
        emit DoubleClicked();
        return;
    }
    QToolButton::mouseDoubleClickEvent(event);
}

// ---------------------------------------------------------------------------

TTreeShapePalette::TTreeShapePalette(QWidget *parent) : QTabWidget(parent), FGroup(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("PageShapes"));
    FGroup->setExclusive(true);
    FSelection = new QToolButton;
    FSelection->setObjectName(QStringLiteral("Selection"));
    FSelection->setToolTip(QStringLiteral("Selection"));
    FSelection->setText(QString(QChar(0x2196)));
    FConnect = new QToolButton;
    FConnect->setObjectName(QStringLiteral("Connect nodes"));
    FConnect->setToolTip(QStringLiteral("Connect nodes"));
    FConnect->setText(QString(QChar(0x2198)));
    for (QToolButton *b : {FSelection, FConnect}) {
        b->setAutoRaise(true);
        b->setCheckable(true);
        b->setFixedSize(TTreeSpeedButton::kSize, TTreeSpeedButton::kSize);
        FGroup->addButton(b);
    }
    FSelection->setChecked(true);
    connect(FSelection, &QToolButton::clicked, this, [this] { emit SelectionClicked(); });
    connect(FConnect, &QToolButton::clicked, this, [this] { emit ConnectClicked(); });
    connect(this, &QTabWidget::currentChanged, this, &TTreeShapePalette::PageChanged);
    FReturnTimer.setSingleShot(true);
    FReturnTimer.setInterval(kReturnDelay);
    connect(&FReturnTimer, &QTimer::timeout, this, &TTreeShapePalette::PressSelection);
    Build();
}

TTreeShapePalette::~TTreeShapePalette()
{
    // The fixed buttons belong to a page; nothing else to do.
}

QWidget *TTreeShapePalette::AddPage(const QString &caption)
{
    auto *page = new QWidget;
    page->setObjectName(caption);
    page->setMinimumHeight(TTreeSpeedButton::kSize + 4);
    addTab(page, caption);
    return page;
}

int TTreeShapePalette::PageIndex(const QString &caption) const
{
    for (int i = 0; i < count(); ++i)
        if (tabText(i).compare(caption, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

TTreeSpeedButton *TTreeShapePalette::AddTool(int page, TTreeTool tool)
{
    QWidget *host = widget(page);
    const int n = static_cast<int>(PageButtons(page).size());
    auto *button = new TTreeSpeedButton(std::move(tool), host);
    button->move(ToolPosition(n, FConnect->y()));
    FGroup->addButton(button);
    connect(button, &QToolButton::clicked, this, [this, button] { emit ToolClicked(button); });
    connect(button, &TTreeSpeedButton::DoubleClicked, this, [this, button] { emit ToolDoubleClicked(button); });
    button->show();
    return button;
}

void TTreeShapePalette::Build()
{
    FBuilding = true;
    FSelection->setParent(nullptr);
    FConnect->setParent(nullptr);
    while (count() > 0) {
        QWidget *page = widget(0);
        removeTab(0);
        delete page;
    }
    AddPage(kStandardPage);
    FSelection->setParent(widget(0));
    FConnect->setParent(widget(0));
    FSelection->move(4, 2);
    FConnect->move(29, 2);
    FSelection->show();
    FConnect->show();
    for (const TStandardTool &s : kStandardTools) {
        TTreeTool tool;
        tool.IsStyle = true;
        tool.Style = s.Style;
        tool.ShapeClass = &TTreeNodeShape::StaticClassInfo();
        tool.Factory = [](TComponent *owner) { return new TTreeNodeShape(owner); };
        tool.Name = QString::fromLatin1(s.Name);
        AddTool(0, std::move(tool));
    }
    ForEachPaletteShape([this](const TTreeCustomShapePalette &entry) {
        int page = PageIndex(entry.Page);
        if (page < 0) {
            AddPage(entry.Page);
            page = count() - 1;
        }
        TTreeTool tool;
        tool.ShapeClass = entry.ShapeClass;
        tool.Factory = [entry](TComponent *owner) { return entry.CreateShape(owner); };
        tool.Name = entry.Name;
        AddTool(page, std::move(tool));
    });
    setCurrentIndex(0);
    FSelection->setChecked(true);
    FBuilding = false;
}

std::vector<TTreeSpeedButton *> TTreeShapePalette::PageButtons(int page) const
{
    std::vector<TTreeSpeedButton *> result;
    if (QWidget *host = widget(page))
        for (QObject *child : host->children())
            if (auto *b = qobject_cast<TTreeSpeedButton *>(child))
                result.push_back(b);
    return result;
}

TTreeSpeedButton *TTreeShapePalette::FindTool(const QString &name) const
{
    for (int i = 0; i < count(); ++i)
        for (TTreeSpeedButton *b : PageButtons(i))
            if (b->Tool().Name == name)
                return b;
    return nullptr;
}

TTreeSpeedButton *TTreeShapePalette::PressedTool() const
{
    for (TTreeSpeedButton *b : PageButtons(currentIndex()))
        if (b->isChecked())
            return b;
    return nullptr;
}

bool TTreeShapePalette::SelectionPressed() const
{
    return FSelection->isChecked();
}

void TTreeShapePalette::PressSelection()
{
    FReturnTimer.stop();
    FSelection->setChecked(true);
}

void TTreeShapePalette::ReturnToSelectionSoon()
{
    FReturnTimer.start();
}

void TTreeShapePalette::ReleaseSamples()
{
    for (int i = 0; i < count(); ++i)
        for (TTreeSpeedButton *b : PageButtons(i))
            b->ReleaseSample();
}

void TTreeShapePalette::PageChanged(int index)
{
    if (FBuilding || index < 0)
        return;
    // The fixed buttons start every page.
    QWidget *page = widget(index);
    const bool selection = FSelection->isChecked();
    const bool connecting = FConnect->isChecked();
    FSelection->setParent(page);
    FConnect->setParent(page);
    FSelection->move(4, 2);
    FConnect->move(29, 2);
    FSelection->show();
    FConnect->show();
    if (selection)
        FSelection->setChecked(true);
    else if (connecting)
        FConnect->setChecked(true);
}
