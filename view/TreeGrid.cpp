#include "view/TreeGrid.h"

#include "canvas/KorCanvas3D.h"
#include "core/Rounding.h"

#include <QImage>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

namespace {

// Pascal's div: the quotient rounded toward zero.
int64_t FirstLine(int64_t edge, int64_t step)
{
    return (edge / step - 1) * step;
}

// The step doubled while lines `step` model units apart come 3 pixels or
// closer in a drawing of `drawn` pixels showing `visible` units.
int Coarsened(int step, int drawn, int visible)
{
    if (drawn <= 0 || visible <= 0)
        return step;
    while (step < INT_MAX / 4 && dx::RoundEven(static_cast<double>(step) * drawn / visible) <= 3)
        step *= 2;
    return step;
}

void UseSolidPen(TKorCanvas3D *canvas, TColor color)
{
    canvas->Pen().SetStyle(psSolid);
    canvas->Pen().SetWidth(1);
    canvas->Pen().SetMode(pmCopy);
    canvas->Pen().SetColor(color);
}

} // namespace

const TClassInfo &TGridPen::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TGridPen>("TGridPen", TChartHiddenPen::StaticClassInfo()).Redefault("Color", clSilver);
    return info;
}

TGridPen::TGridPen(TEvent<TGraphicsObject *> onChange)
{
    SetColor(clSilver); // a default: nobody listens yet
    OnChange = std::move(onChange);
}

const TClassInfo &TGridBigPen::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TGridBigPen>("TGridBigPen", TChartHiddenPen::StaticClassInfo()).Redefault("Color", clGray);
    return info;
}

TGridBigPen::TGridBigPen(TEvent<TGraphicsObject *> onChange)
{
    SetColor(clGray);
    OnChange = std::move(onChange);
}

const TClassInfo &TTreeGrid::StaticClassInfo()
{
    using G = TTreeGrid;
    static const TClassInfo info = TClassBuilder<G>("TTreeGrid", TGraphicsObject::StaticClassInfo())
                                       .Object<TGridBigPen>("BigPen", &G::BigPen, &G::BigPen)
                                       .Integer("BigStep", &G::BigStep, &G::SetBigStep, 10)
                                       .Color("Color", &G::Color, &G::SetColor, clGray)
                                       .Object<TGridPen>("Pen", &G::Pen, &G::Pen)
                                       .Integer("Step", &G::Step, &G::SetStep, 10)
                                       .Integer("VertStep", &G::VertStep, &G::SetVertStep, 10)
                                       .Boolean("Visible", &G::Visible, &G::SetVisible, false);
    return info;
}

TTreeGrid::TTreeGrid(TEvent<TGraphicsObject *> onChange)
{
    auto relay = [this](TGraphicsObject *) { Changed(); };
    FPen = std::make_unique<TGridPen>(relay);
    FBigPen = std::make_unique<TGridBigPen>(relay);
    OnChange = std::move(onChange);
}

TTreeGrid::~TTreeGrid() = default;

void TTreeGrid::SetStep(int v)
{
    if (v <= 0 || (v == FStep && v == FVertStep))
        return;
    FStep = v;
    FVertStep = v;
    Changed();
}

void TTreeGrid::SetVertStep(int v)
{
    if (v > 0)
        Update(FVertStep, v);
}

void TTreeGrid::SetBigStep(int v)
{
    if (v > 0)
        Update(FBigStep, v);
}

void TTreeGrid::Assign(const TPersistent *source)
{
    auto *g = dynamic_cast<const TTreeGrid *>(source);
    if (!g) {
        TGraphicsObject::Assign(source);
        return;
    }
    FPen->Assign(g->FPen.get());
    FBigPen->Assign(g->FBigPen.get());
    SetVisible(g->FVisible);
    SetStep(g->FStep);
    SetVertStep(g->FVertStep);
    SetBigStep(g->FBigStep);
    SetColor(g->FColor);
}

TGridLattice TTreeGrid::Lattice(const TRect &visible, int drawnWidth, int drawnHeight) const
{
    TGridLattice g;
    g.StepX = Coarsened(FStep, drawnWidth, visible.Width());
    g.StepY = Coarsened(FVertStep, drawnHeight, visible.Height());
    g.StartX = static_cast<int>(std::max<int64_t>(INT_MIN, FirstLine(visible.Left, g.StepX)));
    g.StartY = static_cast<int>(std::max<int64_t>(INT_MIN, FirstLine(visible.Top, g.StepY)));
    return g;
}

void TTreeGrid::Draw(TKorCanvas3D *canvas, const TRect &visible, int drawnWidth, int drawnHeight) const
{
    if (!canvas || visible.IsEmpty())
        return;
    const TGridLattice g = Lattice(visible, drawnWidth, drawnHeight);
    canvas->SetBrushBitmap(QImage());
    canvas->Brush().SetStyle(bsClear);
    if (FPen->Visible())
        DrawLines(canvas, visible, g);
    else
        DrawDots(canvas, visible, g);
    if (FBigPen->Visible())
        DrawBigLines(canvas, visible, g);
}

void TTreeGrid::DrawDots(TKorCanvas3D *canvas, const TRect &visible, const TGridLattice &g) const
{
    UseSolidPen(canvas, FColor);
    std::vector<int> xs;
    std::vector<int> ys;
    for (int64_t x = g.StartX; x <= visible.Right; x += g.StepX)
        if (x >= visible.Left)
            xs.push_back(static_cast<int>(x));
    for (int64_t y = g.StartY; y <= visible.Bottom; y += g.StepY)
        if (y >= visible.Top)
            ys.push_back(static_cast<int>(y));
    if (xs.empty() || ys.empty())
        return;
    if (!canvas->IsOrthogonal()) {
        // A turned view: every dot has a place of its own.
        for (int y : ys)
            for (int x : xs) {
                const TPoint p = canvas->ProjectPoint(x, y, 0);
                canvas->HorizSegment(p.X, p.X + 1, p.Y);
            }
        return;
    }
    // Straight on, every row of dots looks the same: one strip of them is
    // stamped at each row, which keeps a dense grid as cheap as a sparse one.
    std::vector<int> px;
    px.reserve(xs.size());
    for (int x : xs)
        px.push_back(canvas->ProjectPoint(x, ys.front(), 0).X);
    const auto [lo, hi] = std::minmax_element(px.begin(), px.end());
    const int left = *lo;
    const int64_t span = int64_t(*hi) - left + 1;
    if (span <= 0 || span > 1 << 20)
        return;
    QImage strip(static_cast<int>(span), 1, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);
    const QRgb color = ToQColor(ColorToRGB(FColor)).rgba();
    auto *line = reinterpret_cast<QRgb *>(strip.scanLine(0));
    for (int x : px)
        line[x - left] = color;
    int lastRow = INT_MIN;
    for (int y : ys) {
        const int row = canvas->ProjectPoint(xs.front(), y, 0).Y;
        if (row != lastRow)
            canvas->Draw(left, row, strip);
        lastRow = row;
    }
}

void TTreeGrid::DrawLines(TKorCanvas3D *canvas, const TRect &visible, const TGridLattice &g) const
{
    canvas->AssignPen(FPen.get());
    for (int64_t x = int64_t(g.StartX) + g.StepX; x < visible.Right; x += g.StepX)
        canvas->ProjectedLine(static_cast<int>(x), g.StartY, static_cast<int>(x), visible.Bottom, 0);
    for (int64_t y = g.StartY; y < visible.Bottom; y += g.StepY)
        canvas->ProjectedLine(g.StartX, static_cast<int>(y), visible.Right, static_cast<int>(y), 0);
}

void TTreeGrid::DrawBigLines(TKorCanvas3D *canvas, const TRect &visible, const TGridLattice &g) const
{
    canvas->AssignPen(FBigPen.get());
    const int64_t bigX = int64_t(FBigStep) * g.StepX;
    const int64_t bigY = int64_t(FBigStep) * g.StepY;
    for (int64_t y = int64_t(g.StartY) + g.StepY; y < visible.Bottom; y += g.StepY)
        if (y % bigY == 0)
            canvas->ProjectedLine(visible.Left, static_cast<int>(y), visible.Right, static_cast<int>(y), 0);
    for (int64_t x = int64_t(g.StartX) + g.StepX; x < visible.Right; x += g.StepX)
        if (x % bigX == 0)
            canvas->ProjectedLine(static_cast<int>(x), visible.Top, static_cast<int>(x), visible.Bottom, 0);
}
