#pragma once
// TCustomKorPanel: a panel that draws itself through a canvas with an
// off-screen buffer, zoom and scroll offsets (View3DOptions), margins, event
// listeners, printing and rendering into bitmaps, metafiles and the
// clipboard.
//
// One pipeline serves all targets: DrawView draws the whole view into any
// painter and rectangle; the screen, printing and image rendering call it
// with their own painters. Subclasses draw their content in DrawContent.
//
// The panel is a widget, not a persistent object: its published settings
// are plain accessors, declared for streaming by DeclarePanelProperties
// (PanelProperties.h) in the class that publishes them.

#include "canvas/KorCanvas3D.h"
#include "canvas/KorMetafile.h"
#include "canvas/PanelEvents.h"
#include "canvas/PanelNoCaption.h"
#include "canvas/View3DOptions.h"
#include "canvas/ZoomPanning.h"
#include "core/Events.h"
#include "core/Exceptions.h"

#include <QCursor>
#include <QImage>
#include <memory>

class QPrinter;
class TFiler;
class TObject;
class TPicture;

DX_ENUM(TPixelFormat, pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit)

// Printing could not start or failed on the printer.
class EPrinter : public Exception
{
    using Exception::Exception;
};

// Margins in percent: of the drawing bounds (Margins) or of the printed page
// (print margins).
struct TPanelMargins
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const TPanelMargins &o) const
    {
        return Left == o.Left && Top == o.Top && Right == o.Right && Bottom == o.Bottom;
    }
    bool operator!=(const TPanelMargins &o) const { return !(*this == o); }
};

class TCustomKorPanel : public TCustomPanelNoCaption
{
    Q_OBJECT
public:
    explicit TCustomKorPanel(QWidget *parent = nullptr);
    ~TCustomKorPanel() override;

    // --- Settings ---------------------------------------------------------
    TView3DOptions *View3DOptions() const { return FView3DOptions.get(); }
    void SetView3DOptions(const TView3DOptions *options);
    // The canvas everything is drawn through.
    TKorCanvas3D *Canvas() const { return FCanvas.get(); }
    // Puts another canvas in place (an export canvas): it takes the
    // monochrome setting of the old one, and the view repaints when auto
    // repaint is on. SetCanvas frees the old canvas; ReplaceCanvas hands it
    // back so it can be put back afterwards.
    void SetCanvas(std::unique_ptr<TKorCanvas3D> canvas);
    std::unique_ptr<TKorCanvas3D> ReplaceCanvas(std::unique_ptr<TKorCanvas3D> canvas);
    // The 3D switch: changing it repaints and tells the listeners.
    bool View3D() const { return FView3D; }
    void SetView3D(bool value);
    bool BufferedDisplay() const { return FCanvas->BufferedDisplay(); }
    void SetBufferedDisplay(bool value);
    bool Monochrome() const { return FCanvas->Monochrome(); }
    void SetMonochrome(bool value);
    // Margins of the drawing rectangle, percent of the bounds (3, 4, 3, 4).
    const TPanelMargins &Margins() const { return FMargins; }
    void SetMargins(const TPanelMargins &margins);
    // Print margins, percent of the page (15 each); streamed as
    // "PrintMargins" only when they are not all 15.
    const TPanelMargins &PrintMargins() const { return FPrintMargins; }
    void SetPrintMargins(const TPanelMargins &margins) { FPrintMargins = margins; }
    bool PrintMarginsStored() const { return FPrintMargins != DefaultPrintMargins(); }
    static TPanelMargins DefaultPrintMargins() { return {15, 15, 15, 15}; }
    // The settings files hold beyond the published ones, for the
    // DefineProperties of the class that publishes the panel: the print
    // margins as "PrintMargins", a list of four integers (left, top, right,
    // bottom), written only when they are not all 15.
    void DefinePanelProperties(TFiler &filer);
    bool PrintProportional() const { return FPrintProportional; }
    void SetPrintProportional(bool value) { FPrintProportional = value; }
    // Percent by which a printed picture's logical size shrinks (positive)
    // or grows (negative); set by the print preview.
    int PrintResolution() const { return FPrintResolution; }
    void SetPrintResolution(int value) { FPrintResolution = value; }

    // --- State of the current or last drawing ------------------------------
    const TRect &DrawingBounds() const { return FBounds; }
    const TRect &DrawingRect() const { return FDrawingRect; }
    int DrawingWidth() const { return FDrawingRect.Width(); }
    int DrawingHeight() const { return FDrawingRect.Height(); }
    TPoint DrawingCenter() const { return RectCenter(FDrawingRect); }
    bool Printing() const { return FPrinting; }
    void SetPrinting(bool value) { FPrinting = value; }
    // While off, Invalidate does nothing (nothing drawn can trigger another
    // drawing).
    bool AutoRepaint() const { return FAutoRepaint; }
    void SetAutoRepaint(bool value) { FAutoRepaint = value; }
    TZoomPanning &Panning() { return FPanning; }
    const TZoomPanning &Panning() const { return FPanning; }

    // --- Listeners ---------------------------------------------------------
    void AddListener(TKorEventListener *listener) { FListeners.Add(listener); }
    void RemoveListener(TKorEventListener *listener) { FListeners.Remove(listener); }
    TKorEventListeners &Listeners() { return FListeners; }
    // Set by a listener or the view to stop the rest of a mouse gesture;
    // every press clears it.
    bool CancelMouse() const { return FCancelMouse; }
    void SetCancelMouse(bool value) { FCancelMouse = value; }

    // --- Drawing -----------------------------------------------------------
    // Marks the buffer dirty and asks for a repaint (when auto repaint is on).
    void Invalidate();
    // Draws the whole view into a painter's rectangle.
    virtual void DrawView(QPainter *target, const TRect &rect);
    // The area images, the clipboard and printing show: the client area.
    virtual TRect ImageRect() const;

    // --- Rendering ---------------------------------------------------------
    // Draws the view on any painter without the buffer, as an export.
    void RenderUnbuffered(QPainter *target, const TRect &rect);
    // A bitmap of the rectangle's size showing the rectangle: white, or
    // filled with the colour first; null for an empty rectangle. Formats
    // Qt cannot paint on (1, 4 and 8 bits) are drawn in 32 bits and
    // converted.
    QImage RenderToBitmap(TColor background, const TRect &rect, TPixelFormat format = pfDevice);
    // The part of that bitmap inside `part` (drawn with the whole
    // rectangle's bounds), so a picture too tall for one image is rendered
    // strip by strip.
    QImage RenderPartToBitmap(TColor background, const TRect &rect, const TRect &part,
                              TPixelFormat format = pfDevice);
    // The same into an existing image (white, or filled with the colour
    // first) whose top-left shows `partTopLeft`: strips of a tall picture
    // reuse one image.
    void RenderInto(QImage &image, TColor background, const TRect &rect, const TPoint &partTopLeft);
    // A metafile of max(1, width) x max(1, height) with the drawing.
    std::unique_ptr<TKorMetafile> RenderToMetafile(bool enhanced, const TRect &rect);
    // A bitmap of the image rectangle in the panel colour.
    void AssignToPicture(TPicture *picture);
    // A white-background bitmap on the clipboard.
    void CopyImageToClipboard(const TRect &rect);
    void CopyImageToClipboard() { CopyImageToClipboard(ImageRect()); }

    // --- Printing ----------------------------------------------------------
    // The whole view on one page within the print margins (recomputed first
    // when printing proportionally).
    void PrintWhole(QPrinter &printer);
    // The view in a rectangle of a printer page, as one document titled
    // with DocumentTitle. Throws EPrinter when printing cannot start; an
    // error while drawing aborts the document and is passed on.
    void PrintToRect(QPrinter &printer, const TRect &rect);
    // The view scaled into a rectangle of any painter (the image rectangle,
    // reduced by the print resolution, fills the rectangle).
    void PrintOnCanvas(QPainter *painter, const TRect &rect);
    // The printed rectangle of a page in printer pixels.
    TRect PrintRect(QPrinter &printer);
    // The component's name when the panel is part of a named component,
    // else the widget's object name.
    virtual QString DocumentTitle() const;

    // Margins that keep the picture's proportions on the page: 15 on the
    // long side, the rest centred (aspect: horizontal / vertical printer
    // resolution). An empty picture leaves the margins as they are; margins
    // never go below 0.
    static TPanelMargins ProportionalMargins(const TPanelMargins &current, int imageWidth, int imageHeight,
                                             int pageWidth, int pageHeight, double aspect);
    // The rectangle within margins of a page.
    static TRect MarginRect(const TPanelMargins &margins, int pageWidth, int pageHeight);

protected:
    // Draws the content into the drawing bounds; the panel base draws the
    // background.
    virtual void DrawContent(const TRect &bounds);
    // The panel colour (unless clNone or printing) and the bevels.
    virtual void DrawBackground(const TRect &bounds);
    void FillBackground(const TRect &bounds);
    // The outer bevel, the border and the inner bevel (skipped while
    // printing and on canvases that cannot clip).
    void DrawBevels(const TRect &bounds);
    // The drawing rectangle: the bounds less the border width and margins.
    void CalcDrawingRect(const TRect &bounds);

    // What is drawn over the finished picture without touching the buffer
    // (the zoom rectangle): drawn on a copy of the buffer in every paint.
    virtual bool HasOverlays() const { return false; }
    virtual void DrawOverlays(TKorCanvas3D *canvas) { Q_UNUSED(canvas); }

    // Mouse gestures in panel pixels; the panel passes them to the
    // listeners.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);

    // The sender of notify events: the object this panel is part of (a
    // diagram component), else null.
    TObject *SenderObject() const;
    void PanelChanged() override { Invalidate(); }

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void OptionsChanged();
    bool IsDesigning() const;

    std::unique_ptr<TView3DOptions> FView3DOptions;
    std::unique_ptr<TKorCanvas3D> FCanvas;
    bool FView3D = true;
    TPanelMargins FMargins{3, 4, 3, 4};
    TPanelMargins FPrintMargins = DefaultPrintMargins();
    bool FPrintProportional = true;
    int FPrintResolution = 0;
    TRect FBounds;
    TRect FDrawingRect;
    QCursor FSavedCursor;
    TZoomPanning FPanning;
    TKorEventListeners FListeners;
    bool FCancelMouse = false;
    bool FPrinting = false;
    bool FAutoRepaint = true;
};
