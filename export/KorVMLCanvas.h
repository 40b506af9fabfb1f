#pragma once
// VML pages: a canvas that writes every drawing operation as lines of
// Vector Markup Language (lines, rectangles, ovals, paths, gradient fills,
// text boxes) to a list of strings, and the export format that lets the
// panel draw itself onto it and wraps the lines in an HTML page.
//
// The page is well formed: every attribute appears once on its element,
// colours inside a style value are written without quotes, and node text
// is escaped, so text such as "<b>" or "&" arrives as text.

#include "canvas/KorCanvas3D.h"
#include "export/KorExport.h"

#include <QStringList>

class TVMLCanvas : public TKorCanvas3D
{
public:
    // Writes to `lines` (not owned); starts with the namespace and style
    // lines.
    explicit TVMLCanvas(QStringList *lines);

    // A colour as written: "#RRGGBB" between double quotes, black "#0".
    static QString ColorText(TColor color);
    // Text as mark-up character data.
    static QString Escaped(const QString &text);

    TColor BackColor() const override { return FBack; }
    int BackMode() const override { return FBackModeValue; }
    int TextAlign() const override { return FAlign; }
    bool Monochrome() const override { return false; }
    void SetBackColor(TColor color) override { FBack = color; }
    void SetBackMode(int mode) override { FBackModeValue = mode; }
    void SetMonochrome(bool) override {}
    void SetTextAlign(int align) override { FAlign = align; }

    TRect StartDrawing(QPainter *target, TView3DOptions *options, const TRect &userRect, bool is3D) override;
    void EndDrawing(QPainter *target, QPainter *control, const TRect &userRect) override;
    bool ShowBuffer(QPainter *) override { return false; }

    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Segment(int x0, int y0, int x1, int y1) override;
    void HorizSegment(int x0, int x1, int y) override;
    void VertSegment(int x, int y0, int y1) override;
    void ProjectedMoveTo(int x, int y, int z) override;
    void ProjectedLineTo(int x, int y, int z) override;
    void ProjectedLine(int x0, int y0, int x1, int y1, int z) override;
    void ProjectedHorizLine(int x0, int x1, int y, int z) override;
    void ProjectedVertLine(int x, int y0, int y1, int z) override;
    void DepthLine(int x, int y, int z0, int z1) override;
    void SetPixel(int x, int y, TColor color) override;
    void ProjectedPixel(int x, int y, int z, TColor color) override;
    void Rectangle(int x0, int y0, int x1, int y1) override;
    void RectangleRect(const TRect &rect) override;
    void FillRect(const TRect &rect) override;
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) override;
    void BevelFrame(const TRect &rect, TColor topColor, TColor bottomColor, int width) override;
    void Ellipse(int x1, int y1, int x2, int y2) override;
    void ProjectedEllipse(int x1, int y1, int x2, int y2, int z) override;
    void Polygon(const TPointArray &points) override;
    void FillScratchQuad() override;
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
    void BandFill(const TRect &rect, TColor startColor, TColor endColor, TGradientDirection direction) override;
    void TextOut(int x, int y, const QString &text) override;
    void ProjectedTextOut(int x, int y, int z, const QString &text) override;
    void RotatedText(int x, int y, double angle, const QString &text) override;
    void ProjectedRotatedText(int x, int y, int z, double angle, const QString &text) override;
    // Pictures and clips leave no trace.
    void Draw(int, int, const QImage &) override {}
    void StretchDraw(const TRect &, const QImage &) override {}
    void ClipToRect(const TRect &) override {}
    void ClipToEllipse(const TRect &) override {}
    void ClipToRoundRect(const TRect &, int, int) override {}
    void ClipToPolygon(const TPointArray &) override {}
    void ClipProjectedBox(const TRect &, int, int) override {}
    void RemoveClip() override {}
    void BeginTransparency(const TRect &) override {}
    void EndTransparency(int) override {}

private:
    void Add(const QString &line) { FLines->append(line); }
    void RectangleElement(const TRect &r, bool outline, bool round);
    QString ShapeHeader() const;
    bool PenClear() const;
    bool BrushClear() const;

    QStringList *FLines;
    TPoint FPos;
    TColor FBack = clWhite;
    int FBackModeValue = cbmTransparent;
    int FAlign = taLeft | taTop;
    TRect FBounds;
};

class TVMLExportFormat : public TKorExportFormat
{
public:
    static const char *ClassName() { return "TVMLExportFormat"; }
    void CopyImageToClipboard() override;
    QString MenuCaption() const override;
    QString DefaultExtension() const override { return QStringLiteral("HTM"); }
    QString DialogFilter() const override;
    void WriteImage(QIODevice &stream) override;
    // The page's lines.
    QStringList Lines();
};
