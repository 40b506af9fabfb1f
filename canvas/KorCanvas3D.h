#pragma once
// TKorCanvas3D: the concrete canvas. It draws through a QPainter on any
// paint device (images, widgets inside their paint events, printers, PDF
// writers), keeps the off-screen buffer of flicker-free display, and
// converts the drawing model's pixel conventions into Qt's once, in the
// primitives below.
//
// A canvas that is not attached to a painter draws nothing but still
// measures text (at screen resolution), which the model uses for automatic
// node sizes.

#include "canvas/Canvas3D.h"
#include "canvas/TextMeasure.h"

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPen>
#include <memory>
#include <optional>
#include <vector>

class QPainter;
class QPaintDevice;

class TKorCanvas3D : public TCanvas3D
{
public:
    TKorCanvas3D();
    ~TKorCanvas3D() override;

    // Makes a painter the target (null detaches). The painter must stay
    // active while attached; the canvas sets its pen, brush, font and
    // composition mode before every operation.
    void Attach(QPainter *painter);
    QPainter *Painter() const { return FPainter; }

    // The font in force as the target sees it.
    const QFont &CurrentQFont();

    // Antialiased drawing (off by default: the drawing model is pixel
    // exact and the default look is aliased).
    bool Antialiased() const { return FAntialiased; }
    void SetAntialiased(bool value);

    // A transparent off-screen buffer (for windows without a background
    // colour): cleared to nothing before every drawing.
    bool TransparentBuffer() const { return FTransparentBuffer; }
    void SetTransparentBuffer(bool value);

    // The resolution fonts are realised at, in pixels per logical inch; 0
    // (the default) takes it from the target and its mapping. A panel
    // printing with a mapping sets the screen's, so printed text keeps its
    // size relative to the drawing.
    int FontResolution() const { return FFontResolution; }
    void SetFontResolution(int ppi) { FFontResolution = ppi; }

    // Set while the canvas draws into a metafile or an export target.
    bool Exporting() const { return FExporting; }
    void SetExporting(bool value) { FExporting = value; }

    // True while the off-screen buffer does not hold the current picture.
    bool Dirty() const { return FDirty; }
    // The off-screen buffer (null before the first buffered drawing and
    // after FreeBuffer).
    const QImage *Buffer() const { return FBuffer.get(); }

    // Projection state of the current drawing.
    bool Is3D() const { return FIs3D; }
    bool IsOrthogonal() const { return FIsOrthogonal; }
    double ZoomFactor() const { return FZoomFactor; }
    bool ZoomText() const { return FZoomText; }
    double OrthoSlope() const { return FOrthoSlope; }
    TPoint3D ProjectionCenter() const { return TPoint3D(FXCenter, FYCenter, FZCenter); }
    TPoint ShiftedCenter() const { return TPoint(FXCenterOffset, FYCenterOffset); }
    double PerspectiveFactor() const { return FPerspective; }
    // The projection of the current drawing, to be put back after another
    // drawing pass (an export) ran on the same canvas.
    struct TProjectionState
    {
        TView3DOptions *Options;
        bool Is3D, IsOrthogonal, Saved3D, ZoomText;
        double ZoomFactor, OrthoSlope, Perspective;
        int XCenter, YCenter, ZCenter, XCenterOffset, YCenterOffset;
        double A1, A2, A3, B1, B2, B3, M1, M2, SinE;
    };
    TProjectionState SaveProjection() const;
    void RestoreProjection(const TProjectionState &state);

    // The current position of MoveTo and LineTo.
    TPoint PenPos() const { return FPenPos; }

    // Number of clip operations not yet undone by RemoveClip.
    int ClipDepth() const { return static_cast<int>(FClipStack.size()); }

    // --- 2D slots ---------------------------------------------------------
    TColor BackColor() const override { return FBackColor; }
    int BackMode() const override { return FBackMode; }
    QPainter *Handle() const override { return FPainter; }
    bool Monochrome() const override { return FMonochrome; }
    int TextAlign() const override { return FTextAlign; }
    bool BufferedDisplay() const override { return FBuffered; }
    void SetBackColor(TColor color) override;
    void SetBackMode(int mode) override;
    void SetMonochrome(bool value) override;
    void SetPixel(int x, int y, TColor color) override;
    void SetTextAlign(int align) override;
    void SetBufferedDisplay(bool value) override;
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void RingSector(int xc, int yc, int xRadius, int yRadius, double startAngle, double endAngle,
                    int holePercent) override;
    void Draw(int x, int y, const QImage &image) override;
    void Ellipse(int x1, int y1, int x2, int y2) override;
    void FillRect(const TRect &rect) override;
    void BevelFrame(const TRect &rect, TColor topColor, TColor bottomColor, int width) override;
    void LineTo(int x, int y) override;
    void MoveTo(int x, int y) override;
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void Rectangle(int x0, int y0, int x1, int y1) override;
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) override;
    void StretchDraw(const TRect &rect, const QImage &image) override;
    void TextOut(int x, int y, const QString &text) override;
    int TextWidth(const QString &text) override;
    int TextHeight(const QString &text) override;
    void ClipToRect(const TRect &rect) override;
    void HorizSegment(int x0, int x1, int y) override;
    void RectangleRect(const TRect &rect) override;
    void VertSegment(int x, int y0, int y1) override;
    void ClearRect(const TRect &rect) override;
    void BandFill(const TRect &rect, TColor startColor, TColor endColor, TGradientDirection direction) override;
    void MarkDirty() override { FDirty = true; }
    void Segment(int x0, int y0, int x1, int y1) override;
    void Polygon(const TPointArray &points) override;
    void RotatedText(int x, int y, double angle, const QString &text) override;
    void RemoveClip() override;
    void ClipToEllipse(const TRect &rect) override;
    void ClipToRoundRect(const TRect &rect, int ellipseWidth, int ellipseHeight) override;
    void ClipToPolygon(const TPointArray &points) override;
    void BeginTransparency(const TRect &rect) override;
    void EndTransparency(int transparency) override;

    // --- 3D slots ---------------------------------------------------------
    void ProjectedPixel(int x, int y, int z, TColor color) override;
    void UnprojectPoint(int &x, int &y, int z) const override;
    TPoint ProjectPoint(int x, int y, int z) const override;
    TRect StartDrawing(QPainter *target, TView3DOptions *options, const TRect &userRect, bool is3D) override;
    void TakeSettingsFrom(const TCanvas3D *other) override;
    void SetupProjection(int depth, const TRect &rect) override;
    void EndDrawing(QPainter *target, QPainter *control, const TRect &userRect) override;
    bool ShowBuffer(QPainter *target) override;
    void ProjectedArrow(bool filled, const TPoint &from, const TPoint &to, int headWidth, int headLength,
                        int z) override;
    void ClipProjectedBox(const TRect &rect, int z0, int z1) override;
    void ShadedCube(const TRect &rect, int z0, int shade, int z1, bool darkSides) override;
    void CubeFaces(const TRect &rect, int z0, int z1, bool darkSides) override;
    void Cube(const TRect &rect, int z0, int z1, bool darkSides) override;
    void ProjectedHorizLine(int x0, int x1, int y, int z) override;
    void ProjectedVertLine(int x, int y0, int y1, int z) override;
    void DepthLine(int x, int y, int z0, int z1) override;
    void ProjectedEllipse(int x1, int y1, int x2, int y2, int z) override;
    void SuspendProjection() override;
    void ResumeProjection() override;
    void ProjectedLine(int x0, int y0, int x1, int y1, int z) override;
    void ProjectedMoveTo(int x, int y, int z) override;
    void ProjectedLineTo(int x, int y, int z) override;
    void Pie3D(int xc, int yc, int xRadius, int yRadius, int z0, int z1, double startAngle, double endAngle,
               bool darkSides) override;
    void DepthQuad(const TPoint &a, const TPoint &b, int z0, int z1) override;
    void ProjectedQuad(const TPoint &p0, const TPoint &p1, const TPoint &p2, const TPoint &p3, int z) override;
    void TwoDepthQuad(const TPoint &p0, const TPoint &p1, const TPoint &p2, const TPoint &p3, int z0,
                      int z1) override;
    void ProjectedPolygon(const TPointArray &points, int z) override;
    void Pyramid(bool vertical, const TRect &rect, int z0, int z1, bool darkSides) override;
    void Prism(const TRect &rect, int z0, int z1, int sides, bool darkSides) override;
    void ProjectedRectangle(const TRect &rect, int z) override;
    void FloorQuad(int x0, int x1, int y, int z0, int z1) override;
    void WallQuad(int x, int y0, int y1, int z0, int z1) override;
    void ProjectedRotatedText(int x, int y, int z, double angle, const QString &text) override;
    void ProjectedCircle(int xc, int yc, double radius, int z) override;
    void ProjectedTextOut(int x, int y, int z, const QString &text) override;
    void ProjectedTriangle(const TPoint3D &a, const TPoint3D &b, const TPoint3D &c, TColor color) override;
    void FlatTriangleAtDepth(const TPoint &a, const TPoint &b, const TPoint &c, int z) override;
    void FillScratchQuad() override;
    void FreeBuffer() override;
    void CopyBuffer(QPainter *target, int x, int y) override;

    // The zoomed size of a font for projected text: max(1, round(size x
    // zoom)) points.
    static int ZoomedFontSize(int points, double zoom);

protected:
    void PenChanged() override;
    void BrushChanged() override;
    void FontChanged() override;
    int FontPixelsPerInch() const override;

    // The device text is measured on (the target's, else a screen-like
    // one).
    QPaintDevice *MeasureDevice() const;

private:
    enum class TDrawKind { Shape, Fill, Text, Image };
    // Readies the painter for one operation: false when nothing can be
    // drawn (no painter, or a pen mode that draws nothing).
    bool Prepare(TDrawKind kind);
    // The fill geometry of a rectangle (see the pixel model).
    QRectF FillArea(const TRect &r) const;
    const QPen &RealisedPen();
    const QBrush &RealisedBrush();
    // The pixel-model primitives shared by the operations.
    void StrokeLine(int x0, int y0, int x1, int y1);
    void FillAndStrokeRect(const TRect &r);
    void FillAndStrokeEllipse(const TRect &r);
    void FillAndStrokePath(const QPainterPath &fill, const QPainterPath &stroke);
    void PlainText(int x, int y, const QString &text, const QFont &font, TColor color);
    void DrawTextAt(int x, int y, const QString &text, const QFont &font);
    TPoint AlignedTextOrigin(int x, int y, const QString &text, const QFont &font);
    QFont ZoomedFont(const QFont &font) const;
    void PushClip();
    void ComputeRotation();
    TPointArray ProjectPoints(const TPointArray &points, int z) const;
    void BoxFace(const TPoint3D *corners, const int *face);
    void FaceColor(TColor base, int darkness);

    QPainter *FPainter = nullptr;
    std::unique_ptr<QImage> FBuffer;
    std::unique_ptr<QPainter> FBufferPainter;
    QPainter *FControl = nullptr;

    QFont FQFont;
    bool FQFontValid = false;
    struct TQFontSource
    {
        QString Name;
        int Height, PixelsPerInch;
        TFontStyles Style;
        TFontPitch Pitch;
        int InterCharSize;
        bool Antialiased;
        bool operator==(const TQFontSource &o) const
        {
            return Height == o.Height && PixelsPerInch == o.PixelsPerInch && Style == o.Style && Pitch == o.Pitch &&
                   InterCharSize == o.InterCharSize && Antialiased == o.Antialiased && Name == o.Name;
        }
    };
    std::optional<TQFontSource> FQFontSource; // what FQFont was made from
    TTextMeasure FTextMeasure;
    QPen FQPen;
    bool FQPenValid = false;
    QBrush FQBrush;
    bool FQBrushValid = false;

    TColor FBackColor = clWhite;
    int FBackMode = cbmTransparent;
    int FTextAlign = taLeft | taTop;
    TPoint FPenPos;

    bool FBuffered = true;
    bool FDirty = true;
    bool FMonochrome = false;
    bool FAntialiased = false;
    bool FExporting = false;
    bool FTransparentBuffer = false;
    int FFontResolution = 0;

    bool FIs3D = false;
    bool FIsOrthogonal = false;
    bool FSaved3D = false;
    double FZoomFactor = 1.0;
    bool FZoomText = true;
    double FOrthoSlope = 1.0;
    int FXCenter = 0;
    int FYCenter = 0;
    int FZCenter = 0;
    int FXCenterOffset = 0;
    int FYCenterOffset = 0;
    double FPerspective = 0.0;
    double FA1 = 1, FA2 = 0, FA3 = 0, FB1 = 0, FB2 = 1, FB3 = 0, FM1 = 0, FM2 = 0, FSinE = 0;

    // Clip stack: one painter state per clip not yet removed.
    std::vector<QPainter *> FClipStack;

    // Transparency in progress: either saved pixels of a readable target
    // or an ARGB layer the element is drawn into.
    struct TBlendState
    {
        TRect Rect;          // logical
        QRect DeviceRect;    // on the target device
        QImage Saved;        // pixels under the element (readable targets)
        std::unique_ptr<QImage> Layer;
        std::unique_ptr<QPainter> LayerPainter;
        QPainter *Previous = nullptr;
        size_t ClipDepth = 0;
        bool Inert = false;
    };
    std::vector<std::unique_ptr<TBlendState>> FBlends;
    QImage *ReadableTarget() const;
};
