#pragma once
// TKorPreviewPanel: a scaled sheet of paper in the proportions of the
// printer's page, with the previewed panels drawn on it where they will
// print, and margin lines the user drags to move or resize the printed
// area. The margins, the proportional switch and the print resolution it
// changes belong to the previewed panels, so the next printout uses them.
//
// The sheet shows what the printer gets: each panel is drawn into its area
// by the panel's own printing (PrintOnCanvas), or through the same bitmap
// that printing stretches onto the page when AsBitmap is on.
//
//   TKorPreviewPanel preview(dialog);
//   preview.SetPanel(tree);   // a second SetPanel previews both on one sheet
//   preview.Print();

#include "canvas/ChartPen.h"
#include "canvas/KorProcs.h"

#include <QPointer>
#include <vector>

class QPainter;
class QPrinter;

DX_ENUM(TKorPreviewPanelOrientation, ppoDefault, ppoPortrait, ppoLandscape)

// The pen of the margin lines: dotted with small dots by default.
class TPreviewChartPen : public TChartPen
{
    DX_OBJECT(TPreviewChartPen)
public:
    TPreviewChartPen();
    explicit TPreviewChartPen(TEvent<TGraphicsObject *> onChange) : TPreviewChartPen() { OnChange = std::move(onChange); }
};

class TKorPreviewPanel;
// Called while the user drags the margins, with the first panel's new
// print margins.
using TOnChangeMarginsEvent = TEvent<TKorPreviewPanel *, bool /*disableProportional*/, const TPanelMargins &>;

class TKorPreviewPanel : public TCustomKorPanelExtended
{
    Q_OBJECT
public:
    // What the pointer is over, and the drag under way.
    enum THitCode {
        hcNone = 0,
        hcLeft = 1,
        hcTop = 2,
        hcRight = 3,
        hcBottom = 4,
        hcMove = 5,
        hcTopLeft = 6,
        hcTopRight = 7,
        hcBottomLeft = 8,
        hcBottomRight = 9
    };
    // How near (pixels) the pointer must be to a margin line to grab it.
    static constexpr int kGrabDistance = 4;

    explicit TKorPreviewPanel(QWidget *parent = nullptr);
    ~TKorPreviewPanel() override;

    // --- Settings ---------------------------------------------------------
    bool AllowResize() const { return FAllowResize; }
    void SetAllowResize(bool value) { FAllowResize = value; }
    bool AllowMove() const { return FAllowMove; }
    void SetAllowMove(bool value) { FAllowMove = value; }
    bool AsBitmap() const { return FAsBitmap; }
    void SetAsBitmap(bool value);
    bool DragImage() const { return FDragImage; }
    void SetDragImage(bool value) { FDragImage = value; }
    TPreviewChartPen *Margins() const { return FMarginsPen.get(); }
    void SetMargins(const TPreviewChartPen *pen);
    TKorPreviewPanelOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TKorPreviewPanelOrientation value);
    TColor PaperColor() const { return FPaperColor; }
    void SetPaperColor(TColor value);
    TColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(TColor value);
    int ShadowSize() const { return FShadowSize; }
    void SetShadowSize(int value);
    bool ShowImage() const { return FShowImage; }
    void SetShowImage(bool value);
    const QString &Title() const { return FTitle; }
    void SetTitle(const QString &value) { FTitle = value; }

    // --- Previewed panels -------------------------------------------------
    // The first previewed panel; null when there is none.
    TCustomKorPanel *Panel() const;
    // Appends a panel not yet listed (a second one is previewed and printed
    // on the same sheet); null takes the first one out. The preview itself
    // and the current first panel change nothing.
    void SetPanel(TCustomKorPanel *panel);
    // Every previewed panel, in order.
    std::vector<TCustomKorPanel *> Panels() const;

    TOnChangeMarginsEvent OnChangeMargins;

    // --- Geometry (of the last paint; recomputed by every paint) ----------
    // The sheet in preview pixels for the current client size and page.
    TRect PaperRect() const;
    // Recomputes the sheet and the margins rectangle as every paint does
    // (a drag then starts from the current margins).
    void CalcRects();
    // The first panel's printed area on the sheet, as dragging leaves it.
    const TRect &MarginsRect() const { return FMarginsRect; }
    // A panel's printed area on a sheet, with its print margins (made
    // proportional first when it prints proportionally and there is a
    // printer); 15 % each side without a panel.
    TRect PrintedArea(TCustomKorPanel *panel, const TRect &paper) const;
    // The page in printer pixels (the screen's size without a printer or
    // when the printer cannot tell), after applying Orientation.
    QSize PageSize() const;
    // A panel's print margins, made proportional for the page first (and
    // kept in the panel) when it prints proportionally and a printer is
    // installed; 15 % each side without a panel.
    TPanelMargins PrintMarginsOf(TCustomKorPanel *panel) const;
    // What the pointer at (x, y) is over.
    THitCode HitTest(int x, int y) const;
    // The drag under way (hcNone when there is none).
    THitCode DragMode() const { return FDragMode; }

    // The sheet for a client area of cw x ch and a page of w x h.
    static TRect PaperRectOf(int cw, int ch, int w, int h);
    // The area within margins (percent) of a sheet.
    static TRect AreaOf(const TPanelMargins &margins, const TRect &paper);

    // --- Printing ---------------------------------------------------------
    // Prints every previewed panel on one sheet of the program's printer,
    // each within its own print margins. Throws EPrinter when printing
    // cannot start; an error while drawing aborts the document and is
    // passed on.
    void Print();
    // The same on a given printer.
    void PrintOn(QPrinter &printer);

protected:
    void DrawContent(const TRect &bounds) override;
    bool HasOverlays() const override;
    void DrawOverlays(TKorCanvas3D *canvas) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;

private:
    // The printer's orientation as Orientation asks (with a printer).
    void ApplyOrientation() const;
    // The rectangle of the panel's picture: its image rectangle with the
    // size the print resolution gives.
    static TRect LogicalRect(TCustomKorPanel *panel);
    // The bitmap way: the picture drawn into a bitmap of the logical size.
    QImage PictureBitmap(TCustomKorPanel *panel) const;
    void DrawPanel(TCustomKorPanel *panel, const TRect &paper);
    void DrawMarginLines(TKorCanvas3D *canvas);
    // A drag moved the margins rectangle: the first panel takes it.
    void MarginsDragged();
    void PanelDestroyed(QObject *panel);
    // A drag of the margin lines only repaints the lines.
    void Changed() { Invalidate(); }

    bool FAllowResize = true;
    bool FAllowMove = true;
    bool FAsBitmap = false;
    bool FDragImage = false;
    std::unique_ptr<TPreviewChartPen> FMarginsPen;
    TKorPreviewPanelOrientation FOrientation = ppoDefault;
    TColor FPaperColor = clWhite;
    TColor FShadowColor = clGray;
    int FShadowSize = 4;
    bool FShowImage = true;
    QString FTitle;
    // The panels, each with a guard that empties when the panel goes.
    struct TEntry
    {
        TCustomKorPanel *Panel;
        QPointer<QObject> Alive;
    };
    std::vector<TEntry> FPanels;
    TRect FPaper;
    TRect FMarginsRect;
    THitCode FDragMode = hcNone;
    TPoint FDragStart;
    TRect FDragStartRect;
};
