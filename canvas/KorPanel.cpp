#include "canvas/KorPanel.h"

#include "canvas/KorConst.h"
#include "canvas/Picture.h"
#include "canvas/RecordingCanvas.h"
#include "core/Component.h"
#include "core/CoreConst.h"
#include "core/Reader.h"
#include "core/Rounding.h"
#include "core/ScopeExit.h"
#include "core/Writer.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <algorithm>

TMouseButton ButtonOf(Qt::MouseButton b)
{
    switch (b) {
    case Qt::RightButton: return mbRight;
    case Qt::MiddleButton: return mbMiddle;
    default: return mbLeft;
    }
}

TShiftState ShiftOf(Qt::KeyboardModifiers mods, Qt::MouseButtons buttons)
{
    TShiftState s = 0;
    if (mods & Qt::ShiftModifier)
        s |= SetBit(ssShift);
    if (mods & Qt::AltModifier)
        s |= SetBit(ssAlt);
    if (mods & Qt::ControlModifier)
        s |= SetBit(ssCtrl);
    if (buttons & Qt::LeftButton)
        s |= SetBit(ssLeft);
    if (buttons & Qt::RightButton)
        s |= SetBit(ssRight);
    if (buttons & Qt::MiddleButton)
        s |= SetBit(ssMiddle);
    return s;
}

namespace {

// Renders with the buffer switched off and the export flag set, and puts
// back the screen's projection and drawing geometry afterwards, so the
// screen picture is disturbed only through the dirty flag.
class TExportPass
{
public:
    TExportPass(TKorCanvas3D *canvas, TRect &bounds, TRect &drawingRect)
        : FCanvas(canvas), FBounds(bounds), FDrawingRect(drawingRect), FSavedBounds(bounds),
          FSavedDrawingRect(drawingRect), FProjection(canvas->SaveProjection()),
          FBuffered(canvas->BufferedDisplay()), FExporting(canvas->Exporting()), FAntialiased(canvas->Antialiased())
    {
        FCanvas->SetBufferedDisplay(false);
        FCanvas->SetExporting(true);
        // Smooth drawing is a look of the screen: images and prints keep
        // the exact one.
        FCanvas->SetAntialiased(false);
    }
    ~TExportPass()
    {
        FCanvas->SetAntialiased(FAntialiased);
        FCanvas->SetExporting(FExporting);
        FCanvas->SetBufferedDisplay(FBuffered);
        FCanvas->RestoreProjection(FProjection);
        FCanvas->MarkDirty();
        FBounds = FSavedBounds;
        FDrawingRect = FSavedDrawingRect;
    }
    TExportPass(const TExportPass &) = delete;
    TExportPass &operator=(const TExportPass &) = delete;

private:
    TKorCanvas3D *FCanvas;
    TRect &FBounds;
    TRect &FDrawingRect;
    TRect FSavedBounds;
    TRect FSavedDrawingRect;
    TKorCanvas3D::TProjectionState FProjection;
    bool FBuffered;
    bool FExporting;
    bool FAntialiased;
};

} // namespace

TCustomKorPanel::TCustomKorPanel(QWidget *parent)
    : TCustomPanelNoCaption(parent), FView3DOptions(std::make_unique<TView3DOptions>()),
      FCanvas(std::make_unique<TKorCanvas3D>())
{
    resize(400, 250);
    FView3DOptions->OnChange = [this](TGraphicsObject *) { Invalidate(); };
    FSavedCursor = cursor();
    // Arrow keys reach the panel's key handler.
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

TCustomKorPanel::~TCustomKorPanel()
{
    // The canvas goes before the options it may still point to.
    FCanvas.reset();
}

TObject *TCustomKorPanel::SenderObject() const
{
    return dynamic_cast<TObject *>(const_cast<QWidget *>(static_cast<const QWidget *>(this)));
}

bool TCustomKorPanel::IsDesigning() const
{
    auto *c = dynamic_cast<TComponent *>(SenderObject());
    return c && c->IsDesigning();
}

QString TCustomKorPanel::DocumentTitle() const
{
    const auto *c = dynamic_cast<const TComponent *>(SenderObject());
    return c && !c->Name().isEmpty() ? c->Name() : objectName();
}

void TCustomKorPanel::SetView3DOptions(const TView3DOptions *options)
{
    if (options)
        FView3DOptions->Assign(options);
}

void TCustomKorPanel::SetCanvas(std::unique_ptr<TKorCanvas3D> canvas)
{
    ReplaceCanvas(std::move(canvas));
}

std::unique_ptr<TKorCanvas3D> TCustomKorPanel::ReplaceCanvas(std::unique_ptr<TKorCanvas3D> canvas)
{
    if (!canvas)
        return nullptr;
    canvas->TakeSettingsFrom(FCanvas.get());
    std::swap(canvas, FCanvas);
    if (FAutoRepaint)
        Invalidate();
    return canvas;
}

void TCustomKorPanel::SetView3D(bool value)
{
    if (FView3D == value)
        return;
    FView3D = value;
    Invalidate();
    TKorView3DEvent event(this);
    FListeners.Send(event);
}

void TCustomKorPanel::SetBufferedDisplay(bool value)
{
    FCanvas->SetBufferedDisplay(value);
    Invalidate();
}

void TCustomKorPanel::SetMonochrome(bool value)
{
    FCanvas->SetMonochrome(value);
    Invalidate();
}

void TCustomKorPanel::SetMargins(const TPanelMargins &margins)
{
    if (FMargins == margins)
        return;
    FMargins = margins;
    Invalidate();
}

void TCustomKorPanel::Invalidate()
{
    if (!FAutoRepaint)
        return;
    FCanvas->MarkDirty();
    update();
}

TRect TCustomKorPanel::ImageRect() const
{
    return TRect(0, 0, width(), height());
}

// --- The drawing pipeline -----------------------------------------------

void TCustomKorPanel::DrawView(QPainter *target, const TRect &rect)
{
    FBounds = FCanvas->StartDrawing(target, FView3DOptions.get(), rect, FView3D);
    CalcDrawingRect(FBounds);
    try {
        DrawContent(FBounds);
    } catch (...) {
        // The target may not outlive the failure.
        FCanvas->Attach(nullptr);
        throw;
    }
    FCanvas->EndDrawing(target, nullptr, rect);
}

void TCustomKorPanel::CalcDrawingRect(const TRect &bounds)
{
    const int w = bounds.Width();
    const int h = bounds.Height();
    TRect r = bounds.Inflated(-BorderWidth(), -BorderWidth());
    r.Left += dx::MulDiv(w, FMargins.Left, 100);
    r.Right -= dx::MulDiv(w, FMargins.Right, 100);
    r.Top += dx::MulDiv(h, FMargins.Top, 100);
    r.Bottom -= dx::MulDiv(h, FMargins.Bottom, 100);
    if (r.IsEmpty()) {
        // Kept defined: inside the bounds and at least a pixel wide.
        r.Left = std::clamp(r.Left, bounds.Left, std::max(bounds.Left, bounds.Right));
        r.Top = std::clamp(r.Top, bounds.Top, std::max(bounds.Top, bounds.Bottom));
        if (r.Right <= r.Left)
            r.Right = r.Left + (r.Right == r.Left ? std::max(1, width()) : 1);
        if (r.Bottom <= r.Top)
            r.Bottom = r.Top + (r.Bottom == r.Top ? std::max(1, height()) : 1);
    }
    FDrawingRect = r;
}

void TCustomKorPanel::DrawContent(const TRect &bounds)
{
    DrawBackground(bounds);
}

void TCustomKorPanel::DrawBackground(const TRect &bounds)
{
    FillBackground(bounds);
    DrawBevels(bounds);
}

void TCustomKorPanel::FillBackground(const TRect &bounds)
{
    // A printed picture has no background colour.
    if (Color() == clNone || FPrinting)
        return;
    FCanvas->SetBrushBitmap(QImage());
    FCanvas->Brush().SetStyle(bsSolid);
    FCanvas->Brush().SetColor(Color());
    FCanvas->FillRect(bounds);
}

void TCustomKorPanel::DrawBevels(const TRect &bounds)
{
    if (FPrinting || FCanvas->RendersWithoutClipping())
        return;
    TRect r = bounds;
    auto frame = [&](TColor top, TColor bottom, int width) {
        FCanvas->BevelFrame(r, top, bottom, width);
        r = r.Inflated(-width, -width);
    };
    auto bevel = [&](TPanelBevel b) {
        if (b == bvNone)
            return;
        TColor top = ColorToRGB(clBtnHighlight);
        TColor bottom = ColorToRGB(clBtnShadow);
        if (b == bvLowered)
            std::swap(top, bottom);
        else if (b == bvSpace)
            top = bottom = Color();
        if (top != clNone)
            frame(top, bottom, BevelWidth());
        else
            r = r.Inflated(-BevelWidth(), -BevelWidth());
    };
    bevel(BevelOuter());
    if (BorderWidth() > 0 && Color() != clNone)
        frame(Color(), Color(), BorderWidth());
    bevel(BevelInner());
}

void TCustomKorPanel::paintEvent(QPaintEvent *)
{
    if (FPrinting)
        return;
    QPainter p(this);
    const TRect client(0, 0, width(), height());
    FCanvas->SetTransparentBuffer(Color() == clNone);
    if (!FCanvas->BufferedDisplay()) {
        DrawView(&p, client);
        if (HasOverlays()) {
            FCanvas->Attach(&p);
            DrawOverlays(FCanvas.get());
            FCanvas->Attach(nullptr);
        }
        return;
    }
    const QImage *buffer = FCanvas->Buffer();
    if (FCanvas->Dirty() || !buffer || buffer->size() != size())
        DrawView(nullptr, client);
    if (!HasOverlays()) {
        FCanvas->ShowBuffer(&p);
        return;
    }
    // Overlays go on a copy of the clean picture, which stays as it is.
    QImage frame = *FCanvas->Buffer();
    {
        QPainter fp(&frame);
        FCanvas->Attach(&fp);
        DrawOverlays(FCanvas.get());
        FCanvas->Attach(nullptr);
    }
    p.drawImage(0, 0, frame);
}

void TCustomKorPanel::resizeEvent(QResizeEvent *event)
{
    // The paint redraws when the buffer's size no longer fits; a resize
    // event with the same size (Qt sends them to hidden widgets on every
    // grab) changes nothing.
    TCustomPanelNoCaption::resizeEvent(event);
    update();
}

void TCustomKorPanel::changeEvent(QEvent *event)
{
    TCustomPanelNoCaption::changeEvent(event);
    // System colours may have changed.
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        Invalidate();
}

void TCustomKorPanel::leaveEvent(QEvent *event)
{
    TCustomPanelNoCaption::leaveEvent(event);
    setCursor(FSavedCursor);
    FPanning.SetActive(false);
}

// --- Mouse --------------------------------------------------------------

void TCustomKorPanel::mousePressEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    MouseDown(ButtonOf(event->button()), ShiftOf(event->modifiers(), event->buttons()), p.x(), p.y());
}

void TCustomKorPanel::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    MouseUp(ButtonOf(event->button()), ShiftOf(event->modifiers(), event->buttons()), p.x(), p.y());
}

void TCustomKorPanel::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    MouseMove(ShiftOf(event->modifiers(), event->buttons()), p.x(), p.y());
}

void TCustomKorPanel::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    FCancelMouse = false;
    if (FListeners.IsEmpty())
        return;
    TKorMouseEvent e(this, TKorMouseEventKind::Down, button, shift, x, y);
    FListeners.Send(e);
}

void TCustomKorPanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (FListeners.IsEmpty())
        return;
    TKorMouseEvent e(this, TKorMouseEventKind::Up, button, shift, x, y);
    FListeners.Send(e);
}

void TCustomKorPanel::MouseMove(TShiftState shift, int x, int y)
{
    if (FListeners.IsEmpty() || IsDesigning())
        return;
    TKorMouseEvent e(this, TKorMouseEventKind::Move, mbLeft, shift, x, y);
    FListeners.Send(e);
}

// --- Rendering ----------------------------------------------------------

void TCustomKorPanel::RenderUnbuffered(QPainter *target, const TRect &rect)
{
    TExportPass pass(FCanvas.get(), FBounds, FDrawingRect);
    DrawView(target, rect);
}

QImage TCustomKorPanel::RenderToBitmap(TColor background, const TRect &rect, TPixelFormat format)
{
    return RenderPartToBitmap(background, rect, rect.Normalized(), format);
}

QImage TCustomKorPanel::RenderPartToBitmap(TColor background, const TRect &rect, const TRect &part,
                                           TPixelFormat format)
{
    const TRect r = part.Normalized();
    if (r.IsEmpty() || rect.Normalized().IsEmpty())
        return QImage();
    QImage::Format paintFormat = QImage::Format_RGB32;
    switch (format) {
    case pf15bit: paintFormat = QImage::Format_RGB555; break;
    case pf16bit: paintFormat = QImage::Format_RGB16; break;
    case pf24bit: paintFormat = QImage::Format_RGB888; break;
    default: break; // device, 32 bits, and the indexed formats drawn in 32 bits
    }
    QImage image(r.Width(), r.Height(), paintFormat);
    RenderInto(image, background, rect, r.TopLeft());
    switch (format) {
    case pf1bit: return image.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    case pf4bit: {
        // The sixteen colours of the classic palette.
        static const QVector<QRgb> palette = {
            qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
        return image.convertToFormat(QImage::Format_Indexed8, palette, Qt::ThresholdDither);
    }
    case pf8bit: return image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    default: return image;
    }
}

void TCustomKorPanel::RenderInto(QImage &image, TColor background, const TRect &rect, const TPoint &partTopLeft)
{
    if (image.isNull() || rect.Normalized().IsEmpty())
        return;
    image.fill(Qt::white);
    if (background != clWhite && background != clNone)
        image.fill(ToQColor(background));
    QPainter p(&image);
    p.translate(-partTopLeft.X, -partTopLeft.Y);
    RenderUnbuffered(&p, rect.Normalized());
}

std::unique_ptr<TKorMetafile> TCustomKorPanel::RenderToMetafile(bool enhanced, const TRect &rect)
{
    const TRect r = rect.Normalized();
    auto metafile = std::make_unique<TKorMetafile>(enhanced, std::max(1, r.Width()), std::max(1, r.Height()));
    auto recorder = std::make_unique<TRecordingCanvas>();
    recorder->SetBufferedDisplay(false);
    recorder->SetExporting(true);
    recorder->TakeSettingsFrom(FCanvas.get());
    TRecordingCanvas *rec = recorder.get();
    rec->Clear();
    // The metafile canvas stands in for the panel's own while it draws.
    std::unique_ptr<TKorCanvas3D> own = std::move(FCanvas);
    FCanvas = std::move(recorder);
    const TRect savedBounds = FBounds, savedRect = FDrawingRect;
    TAtExit putBack([&] {
        FCanvas = std::move(own);
        FCanvas->MarkDirty();
        FBounds = savedBounds;
        FDrawingRect = savedRect;
    });
    {
        QPainter p(&metafile->Picture());
        p.translate(-r.Left, -r.Top);
        DrawView(&p, r);
        metafile->SetRecords(rec->Calls());
    }
    metafile->Picture().setBoundingRect(QRect(0, 0, metafile->Width(), metafile->Height()));
    return metafile;
}

void TCustomKorPanel::AssignToPicture(TPicture *picture)
{
    if (picture)
        picture->SetImage(RenderToBitmap(Color(), ImageRect(), pfDevice));
}

void TCustomKorPanel::CopyImageToClipboard(const TRect &rect)
{
    const QImage image = RenderToBitmap(clWhite, rect, pfDevice);
    if (!image.isNull())
        QGuiApplication::clipboard()->setImage(image);
}

// --- Printing -----------------------------------------------------------

void TCustomKorPanel::DefinePanelProperties(TFiler &filer)
{
    filer.DefineProperty(
        QStringLiteral("PrintMargins"),
        [this](TReader &r) {
            // Exactly four integers; anything else leaves the margins as
            // they are.
            int v[4];
            r.ReadListBegin();
            for (int &value : v) {
                if (r.EndOfList())
                    throw EPropertyError(SInvalidPropertyValue);
                value = r.ReadInteger();
            }
            if (!r.EndOfList())
                throw EPropertyError(SInvalidPropertyValue);
            r.ReadListEnd();
            FPrintMargins = {v[0], v[1], v[2], v[3]};
        },
        [this](TWriter &w) {
            w.WriteListBegin();
            for (int value : {FPrintMargins.Left, FPrintMargins.Top, FPrintMargins.Right, FPrintMargins.Bottom})
                w.WriteInteger(value);
            w.WriteListEnd();
        },
        PrintMarginsStored());
}

TPanelMargins TCustomKorPanel::ProportionalMargins(const TPanelMargins &current, int imageWidth, int imageHeight,
                                                   int pageWidth, int pageHeight, double aspect)
{
    if (imageWidth <= 0 || imageHeight <= 0 || pageWidth <= 0 || pageHeight <= 0)
        return current;
    const double w = imageWidth, h = imageHeight;
    TPanelMargins m;
    if (h < w) {
        m.Left = m.Right = 15;
        const int v = dx::RoundEven((pageHeight - 0.6 * pageWidth * (h / w) * aspect) * 100.0 / pageHeight) / 2;
        m.Top = m.Bottom = std::max(0, v);
    } else {
        m.Top = m.Bottom = 15;
        const int v = dx::RoundEven((pageWidth - 0.6 * pageHeight * (w / h) * aspect) * 100.0 / pageWidth) / 2;
        m.Left = m.Right = std::max(0, v);
    }
    return m;
}

TRect TCustomKorPanel::MarginRect(const TPanelMargins &m, int pageWidth, int pageHeight)
{
    return TRect(dx::RoundEven(m.Left * pageWidth / 100.0), dx::RoundEven(m.Top * pageHeight / 100.0),
                 pageWidth - dx::RoundEven(m.Right * pageWidth / 100.0),
                 pageHeight - dx::RoundEven(m.Bottom * pageHeight / 100.0));
}

TRect TCustomKorPanel::PrintRect(QPrinter &printer)
{
    int pageWidth = printer.width();
    int pageHeight = printer.height();
    double aspect = printer.logicalDpiY() > 0 ? static_cast<double>(printer.logicalDpiX()) / printer.logicalDpiY() : 1.0;
    if (pageWidth <= 0 || pageHeight <= 0) {
        // No printer: the screen's size stands for the page.
        const QScreen *screen = QGuiApplication::primaryScreen();
        pageWidth = screen ? screen->size().width() : 0;
        pageHeight = screen ? screen->size().height() : 0;
        aspect = 1.0;
    }
    if (FPrintProportional) {
        const TRect image = ImageRect();
        FPrintMargins =
            ProportionalMargins(FPrintMargins, image.Width(), image.Height(), pageWidth, pageHeight, aspect);
    }
    return MarginRect(FPrintMargins, pageWidth, pageHeight);
}

void TCustomKorPanel::PrintWhole(QPrinter &printer)
{
    PrintToRect(printer, PrintRect(printer));
}

void TCustomKorPanel::PrintToRect(QPrinter &printer, const TRect &rect)
{
    const QString title = DocumentTitle();
    if (!title.isEmpty())
        printer.setDocName(title);
    QPainter painter;
    if (!painter.begin(&printer))
        throw EPrinter(SPrinterCannotPrint);
    try {
        PrintOnCanvas(&painter, rect);
    } catch (...) {
        printer.abort();
        if (painter.isActive())
            painter.end();
        throw;
    }
    painter.end();
}

void TCustomKorPanel::PrintOnCanvas(QPainter *painter, const TRect &rect)
{
    const TRect target = rect.Normalized();
    const TRect image = ImageRect();
    const int w = image.Width(), h = image.Height();
    const int logicalWidth = w - dx::MulDiv(w, FPrintResolution, 100);
    const int logicalHeight = h - dx::MulDiv(h, FPrintResolution, 100);
    // Nothing to map from or to: nothing is drawn.
    if (!painter || !painter->isActive() || target.IsEmpty() || logicalWidth <= 0 || logicalHeight <= 0)
        return;
    // The image rectangle, in logical units reduced by the print resolution,
    // fills the target rectangle: the view appears where the page shows it
    // whatever its coordinates are relative to.
    const TRect logical(image.Left, image.Top, image.Left + logicalWidth, image.Top + logicalHeight);
    painter->save();
    TAtExit restorePainter([painter] { painter->restore(); });
    painter->setWindow(logical.ToQRect());
    painter->setViewport(target.ToQRect());
    const bool wasPrinting = FPrinting;
    FPrinting = true;
    TAtExit endPrinting([this, wasPrinting] { FPrinting = wasPrinting; });
    // Text keeps its size relative to the drawing, as on the screen.
    const int fontResolution = FCanvas->FontResolution();
    FCanvas->SetFontResolution(TFont::kScreenPixelsPerInch);
    TAtExit restoreFonts([this, fontResolution] { FCanvas->SetFontResolution(fontResolution); });
    const bool clip = !FCanvas->RendersWithoutClipping();
    if (clip) {
        FCanvas->Attach(painter);
        FCanvas->ClipToRect(logical);
    }
    TAtExit removeClip([this, painter, clip] {
        if (clip) {
            FCanvas->Attach(painter);
            FCanvas->RemoveClip();
            FCanvas->Attach(nullptr);
        }
    });
    RenderUnbuffered(painter, logical);
}
