#pragma once
// TKorCanvas: the abstract 2D layer of the canvas. It keeps the current
// pen, brush and font that the operations use, realises the program's own
// pen, brush and font classes into them, and declares the 2D operations.
// Every picture goes through these virtual operations: a recording or
// export canvas overrides them and sees everything that is drawn.
//
// Pixel model of every operation (whatever the target): a rectangle or
// ellipse from (L, T) to (R, B) covers x = L ... R-1 and y = T ... B-1; a
// line stops one pixel short of its end point; a filled rectangle covers
// the same pixels as the outline of Rectangle.

#include "canvas/CanvasTypes.h"
#include "canvas/ChartBrush.h"
#include "canvas/ChartPen.h"
#include "canvas/KorFont.h"
#include "canvas/KorGradient.h"

#include <QImage>
#include <QString>
#include <memory>

class QPainter;
class TPicture;

// Background modes (BackMode).
constexpr int cbmTransparent = 1;
constexpr int cbmOpaque = 2;

// Text alignment flags (TextAlign): one horizontal and one vertical value
// added together.
constexpr int taLeft = 0;
constexpr int taRight = 2;
constexpr int taCenter = 6;
constexpr int taTop = 0;
constexpr int taBottom = 8;
constexpr int taBaseline = 24;
constexpr int taHorizontalMask = 6;
constexpr int taVerticalMask = 24;

// The realised pen's extras beyond the platform pen: how wide pens end and
// join, and the one-pixel alternate-dot line.
struct TPenExtras
{
    bool SmallDots = false;
    TPenEndStyle EndStyle = esRound;
};

class TKorCanvas
{
public:
    TKorCanvas();
    virtual ~TKorCanvas();
    TKorCanvas(const TKorCanvas &) = delete;
    TKorCanvas &operator=(const TKorCanvas &) = delete;

    // --- The current pen, brush and font ---------------------------------
    // Changing them directly gives a plain platform pen (round ends, no
    // small dots), as setting the platform pen's fields would.
    TPen &Pen() { return *FPen; }
    const TPen &Pen() const { return *FPen; }
    const TPenExtras &PenExtras() const { return FPenExtras; }
    TBrush &Brush() { return *FBrush; }
    const TBrush &Brush() const { return *FBrush; }
    TFont &Font() { return *FFont; }
    const TFont &Font() const { return *FFont; }
    // A repeating pattern that replaces the brush style while set; its
    // dark pixels take the text colour and its light ones the background
    // colour (see AssignBrush). A null image removes it.
    const QImage &BrushBitmap() const { return FBrushBitmap; }
    void SetBrushBitmap(const QImage &pattern);
    // The platform text colour: colours text and the foreground of
    // pattern brushes.
    TColor TextColor() const { return FTextColor; }
    void SetTextColor(TColor color);
    // A copy of the program font assigned last (shadow, outline and
    // gradient of TextOut, TextWidth and TextHeight); null after Reset.
    const TKorFont *CurrentKorFont() const { return FKorFont.get(); }

    // --- Realising the program's objects (not virtual) ------------------
    // Pen black, width 1, solid; brush white, solid; font black, size 10;
    // background white and transparent; text aligned left and top.
    void Reset();
    // A TChartPen that is not visible makes the pen clear and changes
    // nothing else; a monochrome canvas draws in black.
    void AssignPen(const TPen *pen);
    void AssignPen(const TPen *pen, TColor color);
    // The brush in a colour with the brush's own colour as background
    // (hatch gaps), or with an explicit background; clNone leaves the gaps
    // transparent. A brush with an image fills with the image instead.
    void AssignBrush(const TChartBrush *brush, TColor color);
    void AssignBrush(const TChartBrush *brush, TColor color, TColor backColor);
    // Darkens by a quantity: the background colour when the brush is not
    // solid, else the brush colour.
    void AssignDarkBrush(TColor color, int quantity);
    // Realises a program font: it becomes the font of TextOut, TextWidth
    // and TextHeight with its shadow, outline and gradient.
    virtual void AssignFont(const TKorFont *font);

    // --- Slot table, 2D part ----------------------------------------------
    virtual TColor BackColor() const = 0;              // 0
    virtual int BackMode() const = 0;                  // 1: cbmTransparent, cbmOpaque
    virtual QPainter *Handle() const = 0;              // 2: the platform context
    virtual bool Monochrome() const = 0;               // 3
    virtual int TextAlign() const = 0;                 // 4
    virtual bool BufferedDisplay() const = 0;          // 5
    virtual void SetBackColor(TColor color) = 0;       // 6
    virtual void SetBackMode(int mode) = 0;            // 7
    virtual void SetMonochrome(bool value) = 0;        // 8
    virtual void SetPixel(int x, int y, TColor color) = 0; // 9
    virtual void SetTextAlign(int align) = 0;          // 10
    virtual void SetBufferedDisplay(bool value) = 0;   // 11
    // 12: elliptical arc of the box (x1, y1)-(x2, y2), counter-clockwise
    // from the ray through (x3, y3) to the ray through (x4, y4).
    virtual void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
    // 13: filled ring sector around (xc, yc); angles in radians,
    // counter-clockwise from the positive x axis; the hole's radii are
    // holePercent percent of the outer ones.
    virtual void RingSector(int xc, int yc, int xRadius, int yRadius, double startAngle, double endAngle,
                            int holePercent) = 0;
    // 14: an image at a point, unscaled; nothing for a null image.
    virtual void Draw(int x, int y, const QImage &image) = 0;
    virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;           // 15
    virtual void FillRect(const TRect &rect) = 0;                      // 16
    // 17: bevelled frame of `width` passes in two colours.
    virtual void BevelFrame(const TRect &rect, TColor topColor, TColor bottomColor, int width) = 0;
    virtual void LineTo(int x, int y) = 0;                             // 18
    virtual void MoveTo(int x, int y) = 0;                             // 19
    // 20: filled pie of the box, between the rays through (x3, y3) and
    // (x4, y4), counter-clockwise.
    virtual void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
    virtual void Rectangle(int x0, int y0, int x1, int y1) = 0;        // 21
    // 22: corners rounded with ellipses of (x3 by y3).
    virtual void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) = 0;
    // 23: an image scaled into a rectangle; nothing for a null image.
    virtual void StretchDraw(const TRect &rect, const QImage &image) = 0;
    // 24: text with the current font's shadow, outline and gradient.
    virtual void TextOut(int x, int y, const QString &text) = 0;
    virtual int TextWidth(const QString &text) = 0;                    // 25
    virtual int TextHeight(const QString &text) = 0;                   // 26
    virtual void ClipToRect(const TRect &rect) = 0;                    // 27
    virtual void HorizSegment(int x0, int x1, int y) = 0;              // 28
    virtual void RectangleRect(const TRect &rect) = 0;                 // 29
    virtual void VertSegment(int x, int y0, int y1) = 0;               // 30
    virtual void ClearRect(const TRect &rect) = 0;                     // 31
    // 32: two-colour gradient fill of a rectangle in bands.
    virtual void BandFill(const TRect &rect, TColor startColor, TColor endColor, TGradientDirection direction) = 0;
    virtual void MarkDirty() = 0;                                      // 33
    virtual void Segment(int x0, int y0, int x1, int y1) = 0;          // 34
    virtual void Polygon(const TPointArray &points) = 0;               // 35
    // 36: text turned counter-clockwise by `angle` degrees about (x, y);
    // an angle above 360 has 360 taken off once.
    virtual void RotatedText(int x, int y, double angle, const QString &text) = 0;
    // 37: undoes the last clip operation; without one, removes clipping.
    virtual void RemoveClip() = 0;
    // 38: a canvas that answers True draws a scene that cannot be clipped
    // or recorded; the panel then neither clips nor draws bevels on it.
    virtual bool RendersWithoutClipping() const { return false; }
    // 39: not asked by anything; answers False.
    virtual bool SupportsElementIds() const { return false; }

    // --- Further clip shapes (same stack as ClipToRect) -----------------
    virtual void ClipToEllipse(const TRect &rect) = 0;
    virtual void ClipToRoundRect(const TRect &rect, int ellipseWidth, int ellipseHeight) = 0;
    virtual void ClipToPolygon(const TPointArray &points) = 0;

    // --- Transparency ----------------------------------------------------
    // Brackets the drawing of one element that is to be mixed with what
    // lies under `rect` (see TKorBlend). Transparency runs from 0
    // (opaque) to 100 (invisible).
    virtual void BeginTransparency(const TRect &rect) = 0;
    virtual void EndTransparency(int transparency) = 0;

    // Convenience forms (not virtual; they call the operations above).
    void Line(int x0, int y0, int x1, int y1) { Segment(x0, y0, x1, y1); }
    void DrawPicture(int x, int y, const TPicture *picture);
    void StretchDrawPicture(const TRect &rect, const TPicture *picture);

    // Text angles above 360 have 360 taken off once (450 draws at 90, 720
    // at 360).
    static double NormalizedTextAngle(double angle) { return angle > 360 ? angle - 360 : angle; }

protected:
    // Called after any change of the pen, brush, brush bitmap, text colour
    // or font, so a platform canvas realises them again before drawing.
    virtual void PenChanged() {}
    virtual void BrushChanged() {}
    virtual void FontChanged() {}
    // The resolution text is measured and drawn at (pixels per logical
    // inch of the target).
    virtual int FontPixelsPerInch() const { return TFont::kScreenPixelsPerInch; }

    TPenExtras FPenExtras;

private:
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TKorFont> FKorFont;
    QImage FBrushBitmap;
    TColor FTextColor = clBlack;
    bool FAssigning = false; // realising a program pen: keep the extras
};
