#include "view/TreeRuler.h"

#include "view/CustomTree.h"
#include "view/ViewDevices.h"

#include <QLocale>
#include <QPainter>
#include <QResizeEvent>

// ---------------------------------------------------------------------------
// TCustomPanelTreeLink

TCustomPanelTreeLink::TCustomPanelTreeLink(QWidget *parent) : TCustomPanelNoCaption(parent) {}

TCustomPanelTreeLink::~TCustomPanelTreeLink()
{
    if (FTree)
        FTree->RemoveListener(this);
    QObject::disconnect(FGone);
}

void TCustomPanelTreeLink::SetTree(TCustomTree *tree)
{
    if (tree == FTree)
        return;
    if (FTree)
        FTree->RemoveListener(this);
    QObject::disconnect(FGone);
    FTree = tree;
    if (FTree) {
        FTree->AddListener(this);
        // The diagram's listeners go with it: only the binding is undone.
        FGone = connect(FTree, &QObject::destroyed, this, [this] {
            FTree = nullptr;
            TreeChanged();
        });
    }
    TreeChanged();
}

// ---------------------------------------------------------------------------
// TTreeRuler

namespace {

constexpr int kBigTickStart = 2;
constexpr int kSmallTickStart = 10;

// "0.##": at most two decimals, no trailing zeros.
QString Decimal(double value)
{
    QString s = QString::number(value, 'f', 2);
    while (s.contains(QLatin1Char('.')) && (s.endsWith(QLatin1Char('0')) || s.endsWith(QLatin1Char('.'))))
        s.chop(1);
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    return s.replace(QLatin1Char('.'), QLocale().decimalPoint());
}

void UsePen(TKorCanvas3D &canvas, TColor color, int width)
{
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetMode(pmCopy);
    canvas.Pen().SetColor(color);
    canvas.Pen().SetWidth(width);
}

} // namespace

TTreeRuler::TTreeRuler(QWidget *parent)
    : TCustomPanelTreeLink(parent), FFont(std::make_unique<TKorFont>()), FMarker(std::make_unique<TChartPen>())
{
    SetBevelOuter(bvNone);
    FFont->SetName(QStringLiteral("Microsoft Sans Serif"));
    FFont->SetSize(7);
    FFont->SetColor(clGray);
    FFont->SetStyle(0);
    FFont->OnChange = [this](TGraphicsObject *) { Redraw(); };
    FMarker->SetColor(clRed);
    FCanvas.SetBufferedDisplay(false);
    resize(sizeHint());
}

TTreeRuler::~TTreeRuler() = default;

QSize TTreeRuler::sizeHint() const
{
    return Vertical() ? QSize(24, 200) : QSize(200, 24);
}

void TTreeRuler::SetShowUnits(bool value)
{
    if (value == FShowUnits)
        return;
    FShowUnits = value;
    Redraw();
}

void TTreeRuler::SetUnits(TRulerUnits value)
{
    if (value == FUnits)
        return;
    FUnits = value;
    Redraw();
}

QString TTreeRuler::UnitText(int value)
{
    QString text;
    const double ppi = ViewDevices::ScreenPixelsPerInch();
    switch (FUnits) {
    case ruPixels: text = QString::number(value); break;
    case ruCentimeters: text = Decimal(value / ppi * 2.54); break;
    case ruInches: text = Decimal(value / ppi); break;
    }
    Fire(OnGetUnit, this, value, text);
    return text;
}

void TTreeRuler::Redraw()
{
    FDirty = true;
    update();
}

void TTreeRuler::TreeChanged()
{
    Redraw();
}

int TTreeRuler::Shift() const
{
    if (!Tree())
        return 0;
    const QPoint d = Tree()->mapToGlobal(QPoint(0, 0)) - mapToGlobal(QPoint(0, 0));
    return (Vertical() ? d.y() : d.x()) + 2;
}

QRect TTreeRuler::MarkerLine(int position) const
{
    const int w = std::max(1, FMarker->Width());
    return Vertical() ? QRect(0, position - w, width(), 2 * w + 1) : QRect(position - w, 0, 2 * w + 1, height());
}

void TTreeRuler::KorEvent(TKorEvent &event)
{
    if (dynamic_cast<TTreeAfterDrawEvent *>(&event)) {
        Redraw();
        return;
    }
    auto *mouse = dynamic_cast<TKorMouseEvent *>(&event);
    if (!mouse || mouse->Kind != TKorMouseEventKind::Move || !FMarker->Visible())
        return;
    const int position = (Vertical() ? mouse->Y : mouse->X) + Shift();
    if (position == FMarkerPosition)
        return;
    // Only the old and the new line are painted again.
    if (FMarkerPosition >= 0)
        update(MarkerLine(FMarkerPosition));
    FMarkerPosition = position;
    update(MarkerLine(FMarkerPosition));
}

void TTreeRuler::resizeEvent(QResizeEvent *event)
{
    TCustomPanelTreeLink::resizeEvent(event);
    FDirty = true;
}

void TTreeRuler::paintEvent(QPaintEvent *)
{
    if (FDirty || FPicture.size() != size())
        DrawPicture();
    QPainter p(this);
    p.drawImage(0, 0, FPicture);
    if (FMarkerPosition < 0 || !FMarker->Visible())
        return;
    // The marker goes over the picture in not-xor, as on paper.
    FCanvas.Attach(&p);
    FCanvas.AssignPen(FMarker.get());
    FCanvas.Pen().SetMode(pmNotXor);
    if (Vertical())
        FCanvas.Line(2, FMarkerPosition, width() - 1, FMarkerPosition);
    else
        FCanvas.Line(FMarkerPosition, 2, FMarkerPosition, height() - 1);
    FCanvas.Attach(nullptr);
}

void TTreeRuler::DrawPicture()
{
    FDirty = false;
    FPicture = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    FPicture.fill(ToQColor(ColorToRGB(Color() == clNone ? clWhite : Color())));
    QPainter p(&FPicture);
    FCanvas.Attach(&p);
    DrawTicks(FCanvas);
    FCanvas.Attach(nullptr);
}

void TTreeRuler::DrawTicks(TKorCanvas3D &canvas)
{
    TCustomTree *tree = Tree();
    if (!tree)
        return;
    UsePen(canvas, clGray, 1);
    if (FShowUnits) {
        canvas.AssignFont(FFont.get());
        canvas.SetBackMode(cbmTransparent);
    }
    const bool vertical = Vertical();
    const TGridLattice g = tree->GridLattice();
    const TRect visible = tree->Drawn() ? tree->VisibleArea() : tree->CurrentVisibleArea();
    const int64_t step = vertical ? g.StepY : g.StepX;
    const int64_t big = step * tree->Grid()->BigStep();
    const int64_t first = vertical ? g.StartY : int64_t(g.StartX) + step;
    const int64_t last = vertical ? visible.Bottom : visible.Right;
    const int e = Shift();
    for (int64_t v = first; v <= last; v += step) {
        const int value = static_cast<int>(v);
        const bool isBig = v % big == 0;
        const int start = isBig ? kBigTickStart : kSmallTickStart;
        if (isBig)
            UsePen(canvas, clBlack, v == 0 ? 2 : 1);
        else
            UsePen(canvas, clGray, 1);
        const TPoint p = tree->ProjectPoint(vertical ? TPoint(0, value) : TPoint(value, 0));
        const int at = (vertical ? p.Y : p.X) + e;
        if (vertical)
            canvas.Line(start, at, width() - 1, at);
        else if (Align() == alBottom)
            canvas.Line(at, 1, at, height() - start);
        else
            canvas.Line(at, start, at, height() - 1);
        if (!isBig || !FShowUnits)
            continue;
        const QString text = UnitText(value);
        if (vertical) {
            // Turned a quarter left and ending at the tick: it reads
            // upwards from below the tick.
            canvas.RotatedText(start - 3, at + 2 + canvas.TextWidth(text), 90, text);
        } else {
            canvas.TextOut(at + 2, start - 3, text);
        }
    }
}
