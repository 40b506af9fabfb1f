#include "export/KorPreviewPanel.h"

#include "canvas/KorConst.h"
#include "canvas/KorPrinter.h"
#include "core/Rounding.h"
#include "core/ScopeExit.h"
#include "export/BusyCursor.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <algorithm>
#include <cstdlib>

namespace {

bool Near(int value, int line)
{
    return std::abs(value - line) <= TKorPreviewPanel::kGrabDistance;
}

// Inside with the right and bottom edge excluded.
bool Inside(const TRect &r, int x, int y)
{
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

Qt::CursorShape CursorOf(TKorPreviewPanel::THitCode code)
{
    switch (code) {
    case TKorPreviewPanel::hcLeft:
    case TKorPreviewPanel::hcRight: return Qt::SplitHCursor;
    case TKorPreviewPanel::hcTop:
    case TKorPreviewPanel::hcBottom: return Qt::SplitVCursor;
    case TKorPreviewPanel::hcMove: return Qt::OpenHandCursor;
    case TKorPreviewPanel::hcTopLeft:
    case TKorPreviewPanel::hcBottomRight: return Qt::SizeFDiagCursor;
    case TKorPreviewPanel::hcTopRight:
    case TKorPreviewPanel::hcBottomLeft: return Qt::SizeBDiagCursor;
    default: return Qt::ArrowCursor;
    }
}

} // namespace

// --- Margin pen ---------------------------------------------------------

TPreviewChartPen::TPreviewChartPen()
{
    SetStyle(psDot);
    SetSmallDots(true);
}

const TClassInfo &TPreviewChartPen::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TPreviewChartPen>("TPreviewChartPen", TChartPen::StaticClassInfo())
                                       .Redefault("Style", psDot)
                                       .Redefault("SmallDots", 1);
    return info;
}

// --- Preview control ----------------------------------------------------

TKorPreviewPanel::TKorPreviewPanel(QWidget *parent)
    : TCustomKorPanelExtended(parent),
      FMarginsPen(std::make_unique<TPreviewChartPen>([this](TGraphicsObject *) { Changed(); }))
{
    resize(432, 312);
}

TKorPreviewPanel::~TKorPreviewPanel()
{
    // Panels that outlive the preview stop telling it about themselves.
    for (const TEntry &e : FPanels)
        if (e.Alive)
            disconnect(e.Alive, nullptr, this, nullptr);
}

void TKorPreviewPanel::SetAsBitmap(bool value)
{
    if (FAsBitmap == value)
        return;
    FAsBitmap = value;
    Invalidate();
}

void TKorPreviewPanel::SetMargins(const TPreviewChartPen *pen)
{
    if (pen)
        FMarginsPen->Assign(pen);
}

void TKorPreviewPanel::SetOrientation(TKorPreviewPanelOrientation value)
{
    if (FOrientation == value)
        return;
    FOrientation = value;
    Invalidate();
}

void TKorPreviewPanel::SetPaperColor(TColor value)
{
    if (FPaperColor == value)
        return;
    FPaperColor = value;
    Invalidate();
}

void TKorPreviewPanel::SetShadowColor(TColor value)
{
    if (FShadowColor == value)
        return;
    FShadowColor = value;
    Invalidate();
}

void TKorPreviewPanel::SetShadowSize(int value)
{
    if (FShadowSize == value)
        return;
    FShadowSize = value;
    Invalidate();
}

void TKorPreviewPanel::SetShowImage(bool value)
{
    if (FShowImage == value)
        return;
    FShowImage = value;
    Invalidate();
}

// --- Previewed panels ---------------------------------------------------

std::vector<TCustomKorPanel *> TKorPreviewPanel::Panels() const
{
    std::vector<TCustomKorPanel *> panels;
    for (const TEntry &e : FPanels)
        if (e.Alive)
            panels.push_back(e.Panel);
    return panels;
}

TCustomKorPanel *TKorPreviewPanel::Panel() const
{
    const std::vector<TCustomKorPanel *> panels = Panels();
    return panels.empty() ? nullptr : panels.front();
}

void TKorPreviewPanel::SetPanel(TCustomKorPanel *panel)
{
    if (panel == this || (panel && panel == Panel()))
        return;
    if (!panel) {
        FPanels.erase(std::remove_if(FPanels.begin(), FPanels.end(),
                                     [first = Panel()](const TEntry &e) { return !e.Alive || e.Panel == first; }),
                      FPanels.end());
    } else if (std::none_of(FPanels.begin(), FPanels.end(), [panel](const TEntry &e) { return e.Panel == panel; })) {
        FPanels.push_back({panel, QPointer<QObject>(panel)});
        connect(panel, &QObject::destroyed, this, &TKorPreviewPanel::PanelDestroyed);
    }
    // A canvas that cannot be recorded is previewed through a bitmap.
    if (TCustomKorPanel *first = Panel())
        FAsBitmap = first->Canvas()->RendersWithoutClipping();
    Invalidate();
}

void TKorPreviewPanel::PanelDestroyed(QObject *panel)
{
    // The entry's guard is already empty or about to be: either way it goes.
    FPanels.erase(std::remove_if(FPanels.begin(), FPanels.end(),
                                 [panel](const TEntry &e) { return !e.Alive || e.Alive.data() == panel; }),
                  FPanels.end());
    if (FDragMode != hcNone)
        FDragMode = hcNone;
    Invalidate();
}

// --- Geometry -----------------------------------------------------------

void TKorPreviewPanel::ApplyOrientation() const
{
    TKorPrinter &printer = Printer();
    if (!printer.HasPrinters() || FOrientation == ppoDefault)
        return;
    printer.SetOrientation(FOrientation == ppoPortrait ? poPortrait : poLandscape);
}

QSize TKorPreviewPanel::PageSize() const
{
    ApplyOrientation();
    try {
        return Printer().PageSize();
    } catch (const EPrinter &) {
        const QScreen *screen = QGuiApplication::primaryScreen();
        return screen ? screen->size() : QSize(0, 0);
    }
}

TRect TKorPreviewPanel::PaperRectOf(int cw, int ch, int w, int h)
{
    TRect r;
    if (static_cast<int64_t>(ch) * w < static_cast<int64_t>(cw) * h) {
        // The control is wider than the page's shape: the height rules.
        r.Top = dx::RoundEven(ch / 10.0);
        const int height = ch - dx::RoundEven(ch / 5.0);
        r.Bottom = r.Top + height;
        const int width = h <= 0 ? cw : dx::MulDiv(height, w, h);
        r.Left = (cw - width) / 2;
        r.Right = r.Left + width;
    } else {
        r.Left = dx::RoundEven(cw / 10.0);
        const int width = cw - dx::RoundEven(cw / 5.0);
        r.Right = r.Left + width;
        const int height = w <= 0 ? ch : dx::MulDiv(width, h, w);
        r.Top = (ch - height) / 2;
        r.Bottom = r.Top + height;
    }
    return r;
}

TRect TKorPreviewPanel::PaperRect() const
{
    const QSize page = PageSize();
    return PaperRectOf(width(), height(), page.width(), page.height());
}

TRect TKorPreviewPanel::AreaOf(const TPanelMargins &m, const TRect &paper)
{
    const int w = paper.Width();
    const int h = paper.Height();
    return TRect(paper.Left + dx::MulDiv(m.Left, w, 100), paper.Top + dx::MulDiv(m.Top, h, 100),
                 paper.Right - dx::MulDiv(m.Right, w, 100), paper.Bottom - dx::MulDiv(m.Bottom, h, 100));
}

TPanelMargins TKorPreviewPanel::PrintMarginsOf(TCustomKorPanel *panel) const
{
    if (!panel)
        return TCustomKorPanel::DefaultPrintMargins();
    TKorPrinter &printer = Printer();
    if (panel->PrintProportional() && printer.HasPrinters()) {
        const QSize page = PageSize();
        const TRect image = panel->ImageRect();
        panel->SetPrintMargins(TCustomKorPanel::ProportionalMargins(
            panel->PrintMargins(), image.Width(), image.Height(), page.width(), page.height(), printer.Aspect()));
    }
    return panel->PrintMargins();
}

TRect TKorPreviewPanel::PrintedArea(TCustomKorPanel *panel, const TRect &paper) const
{
    return AreaOf(PrintMarginsOf(panel), paper);
}

void TKorPreviewPanel::CalcRects()
{
    FPaper = PaperRect();
    FMarginsRect = PrintedArea(Panel(), FPaper);
}

TKorPreviewPanel::THitCode TKorPreviewPanel::HitTest(int x, int y) const
{
    const TRect &m = FMarginsRect;
    const bool l = Near(x, m.Left), t = Near(y, m.Top), r = Near(x, m.Right), b = Near(y, m.Bottom);
    THitCode code = hcNone;
    if (l && t)
        code = hcTopLeft;
    else if (l && b)
        code = hcBottomLeft;
    else if (r && t)
        code = hcTopRight;
    else if (r && b)
        code = hcBottomRight;
    else if (l)
        code = hcLeft;
    else if (r)
        code = hcRight;
    else if (t)
        code = hcTop;
    else if (b)
        code = hcBottom;
    else if (Inside(m, x, y) && FAllowMove)
        return hcMove;
    return code != hcNone && FAllowResize ? code : hcNone;
}

// --- Painting -----------------------------------------------------------

TRect TKorPreviewPanel::LogicalRect(TCustomKorPanel *panel)
{
    const TRect image = panel->ImageRect();
    const int w = image.Width(), h = image.Height();
    const int r = panel->PrintResolution();
    return TRect(image.Left, image.Top, image.Left + w - dx::MulDiv(w, r, 100), image.Top + h - dx::MulDiv(h, r, 100));
}

QImage TKorPreviewPanel::PictureBitmap(TCustomKorPanel *panel) const
{
    const bool wasPrinting = panel->Printing();
    panel->SetPrinting(true);
    TAtExit endPrinting([panel, wasPrinting] { panel->SetPrinting(wasPrinting); });
    return panel->RenderToBitmap(FPaperColor, LogicalRect(panel), pfDevice);
}

void TKorPreviewPanel::DrawContent(const TRect &bounds)
{
    TCustomKorPanelExtended::DrawContent(bounds);
    CalcRects();
    TKorCanvas3D *c = Canvas();
    // The sheet and its shadow.
    c->SetBrushBitmap(QImage());
    c->Pen().SetStyle(psSolid);
    c->Pen().SetWidth(1);
    c->Pen().SetColor(clBlack);
    c->Pen().SetMode(pmCopy);
    c->Brush().SetStyle(bsSolid);
    c->Brush().SetColor(FPaperColor);
    c->Rectangle(FPaper.Left, FPaper.Top, FPaper.Right, FPaper.Bottom);
    c->Brush().SetColor(FShadowColor);
    const int s = FShadowSize;
    c->FillRect(TRect(FPaper.Left + s, FPaper.Bottom, FPaper.Right + s, FPaper.Bottom + s));
    c->FillRect(TRect(FPaper.Right, FPaper.Top + s, FPaper.Right + s, FPaper.Bottom + s));
    for (TCustomKorPanel *panel : Panels())
        DrawPanel(panel, FPaper);
}

void TKorPreviewPanel::DrawPanel(TCustomKorPanel *panel, const TRect &paper)
{
    const TRect area = PrintedArea(panel, paper);
    TKorCanvas3D *c = Canvas();
    const bool clipsItself = !panel->Canvas()->RendersWithoutClipping();
    c->ClipToRect(clipsItself ? area : paper);
    TAtExit removeClip([c] { c->RemoveClip(); });
    if (!FShowImage || area.IsEmpty())
        return;
    if (FAsBitmap) {
        const QImage picture = PictureBitmap(panel);
        c->StretchDraw(area, picture);
    } else if (c->Painter()) {
        // The panel draws itself as on paper, scaled into its area.
        panel->PrintOnCanvas(c->Painter(), area);
    }
}

bool TKorPreviewPanel::HasOverlays() const
{
    return FMarginsPen->Visible() || TCustomKorPanelExtended::HasOverlays();
}

void TKorPreviewPanel::DrawOverlays(TKorCanvas3D *canvas)
{
    TCustomKorPanelExtended::DrawOverlays(canvas);
    if (FMarginsPen->Visible())
        DrawMarginLines(canvas);
}

void TKorPreviewPanel::DrawMarginLines(TKorCanvas3D *c)
{
    // Not-xor lines: drawn on a copy of the picture in every paint, so the
    // lines move without the sheet being drawn again.
    c->AssignPen(FMarginsPen.get());
    c->Pen().SetMode(pmNotXor);
    c->SetBrushBitmap(QImage());
    c->Brush().SetStyle(bsClear);
    c->Brush().SetColor(FPaperColor);
    c->SetBackMode(cbmTransparent);
    const TRect &m = FMarginsRect;
    c->VertSegment(m.Left - 1, FPaper.Top + 1, FPaper.Bottom);
    c->VertSegment(m.Right, FPaper.Top + 1, FPaper.Bottom);
    c->HorizSegment(FPaper.Left + 1, FPaper.Right, m.Top - 1);
    c->HorizSegment(FPaper.Left + 1, FPaper.Right, m.Bottom);
    c->SetBackMode(cbmOpaque);
    c->Pen().SetMode(pmCopy);
}

// --- Dragging -----------------------------------------------------------

void TKorPreviewPanel::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomKorPanelExtended::MouseDown(button, shift, x, y);
    FDragMode = HitTest(x, y);
    if (FDragMode == hcMove) {
        FDragStart = TPoint(x, y);
        FDragStartRect = FMarginsRect;
    }
}

void TKorPreviewPanel::MouseMove(TShiftState shift, int x, int y)
{
    TCustomKorPanelExtended::MouseMove(shift, x, y);
    if (!Inside(FPaper, x, y))
        return;
    if (FDragMode == hcNone) {
        setCursor(CursorOf(HitTest(x, y)));
        return;
    }
    const TRect &p = FPaper;
    TRect m = FMarginsRect;
    const bool left = p.Left <= x && x < m.Right;
    const bool top = p.Top <= y && y < m.Bottom;
    const bool right = x <= p.Right && m.Left < x;
    const bool bottom = y <= p.Bottom && m.Top < y;
    auto both = [&](bool h, bool v, int &hEdge, int &vEdge) {
        if (h && v) {
            hEdge = x;
            vEdge = y;
        }
    };
    switch (FDragMode) {
    case hcLeft:
        if (left)
            m.Left = x;
        break;
    case hcTop:
        if (top)
            m.Top = y;
        break;
    case hcRight:
        if (right)
            m.Right = x;
        break;
    case hcBottom:
        if (bottom)
            m.Bottom = y;
        break;
    case hcTopLeft: both(left, top, m.Left, m.Top); break;
    case hcTopRight: both(right, top, m.Right, m.Top); break;
    case hcBottomLeft: both(left, bottom, m.Left, m.Bottom); break;
    case hcBottomRight: both(right, bottom, m.Right, m.Bottom); break;
    case hcMove: {
        const TRect &s = FDragStartRect;
        TRect moved;
        moved.Left = std::max(p.Left, x + s.Left - FDragStart.X);
        moved.Top = std::max(p.Top, y + s.Top - FDragStart.Y);
        moved.Right = std::min(p.Right, s.Right + moved.Left - s.Left);
        moved.Bottom = std::min(p.Bottom, s.Bottom + moved.Top - s.Top);
        if (Inside(p, moved.Left, moved.Top) && Inside(p, moved.Right, moved.Bottom))
            m = moved;
        break;
    }
    default: break;
    }
    if (m == FMarginsRect)
        return;
    FMarginsRect = m;
    MarginsDragged();
}

void TKorPreviewPanel::MarginsDragged()
{
    TCustomKorPanel *panel = Panel();
    if (panel) {
        const TRect &p = FPaper, &m = FMarginsRect;
        const int w = p.Width(), h = p.Height();
        panel->SetPrintProportional(false);
        panel->SetPrintMargins({dx::MulDiv(m.Left - p.Left, 100, w), dx::MulDiv(m.Top - p.Top, 100, h),
                                dx::MulDiv(p.Right - m.Right, 100, w), dx::MulDiv(p.Bottom - m.Bottom, 100, h)});
        if (OnChangeMargins)
            OnChangeMargins(this, true, panel->PrintMargins());
    }
    if (FDragImage)
        Invalidate();
    else
        update(); // only the margin lines move
}

void TKorPreviewPanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomKorPanelExtended::MouseUp(button, shift, x, y);
    if (FDragMode == hcNone)
        return;
    FDragMode = hcNone;
    if (!FDragImage)
        Invalidate(); // the picture at its new place
}

// --- Printing -----------------------------------------------------------

void TKorPreviewPanel::Print()
{
    if (Panels().empty())
        return;
    TBusyCursor busy;
    ApplyOrientation();
    PrintOn(Printer().Device());
}

void TKorPreviewPanel::PrintOn(QPrinter &printer)
{
    const std::vector<TCustomKorPanel *> panels = Panels();
    if (panels.empty())
        return;
    if (!FTitle.isEmpty())
        printer.setDocName(FTitle);
    else if (!panels.front()->DocumentTitle().isEmpty())
        printer.setDocName(panels.front()->DocumentTitle());
    QPainter painter;
    if (!painter.begin(&printer))
        throw EPrinter(SPrinterCannotPrint);
    try {
        // Every panel on the one sheet.
        for (TCustomKorPanel *panel : panels) {
            const TRect rect = panel->PrintRect(printer);
            if (FAsBitmap) {
                const QImage picture = PictureBitmap(panel);
                if (!picture.isNull())
                    painter.drawImage(rect.ToQRect(), picture);
            } else {
                panel->PrintOnCanvas(&painter, rect);
            }
        }
    } catch (...) {
        printer.abort();
        if (painter.isActive())
            painter.end();
        throw;
    }
    painter.end();
}
