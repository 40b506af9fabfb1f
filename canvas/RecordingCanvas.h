#pragma once
// TRecordingCanvas: a canvas that logs every operation with its arguments
// and the pen, brush and font in force, so what is drawn can be checked
// without comparing font pixels. It draws too when a painter is attached
// (Attach or StartDrawing); without one it only records.
//
//   TRecordingCanvas c;
//   node->Draw(&c);
//   QCOMPARE(c.Count("Rectangle"), 1);
//   QCOMPARE(c.First("Rectangle")->Ints, (std::vector<int>{10, 10, 50, 30}));
//   QCOMPARE(c.First("Rectangle")->PenColor, clRed);
//
// Operations made by other operations (the Rectangle a ProjectedRectangle
// draws with) are logged too, with a Depth above 0; the TopLevel queries
// skip them.

#include "canvas/KorCanvas3D.h"

#include <QStringList>
#include <vector>

struct TCanvasCall
{
    QString Name;
    std::vector<int> Ints;
    std::vector<double> Reals;
    QStringList Strings;
    int Depth = 0; // 0: called by the drawing code; 1 and more: by another operation

    // The state in force when the operation was called.
    TColor PenColor = clBlack;
    int PenWidth = 1;
    TPenStyle PenStyle = psSolid;
    TPenMode PenMode = pmCopy;
    bool PenSmallDots = false;
    TPenEndStyle PenEndStyle = esRound;
    TColor BrushColor = clWhite;
    TBrushStyle BrushStyle = bsSolid;
    bool BrushHasBitmap = false;
    TColor BackColor = clWhite;
    int BackMode = cbmTransparent;
    TColor TextColor = clBlack;
    QString FontName;
    int FontSize = 0;       // points of the canvas font
    int FontPixelSize = 0;  // pixel size of the font the text is drawn with (zoomed text)
    TColor FontColor = clBlack;
    int ClipDepth = 0;      // clips in force

    int Int(size_t i) const { return i < Ints.size() ? Ints[i] : 0; }
    double Real(size_t i) const { return i < Reals.size() ? Reals[i] : 0.0; }
    QString Str(int i) const { return i < Strings.size() ? Strings[i] : QString(); }
    // "Name(1, 2, 3, "text")"
    QString ToString() const;
};

class TRecordingCanvas : public TKorCanvas3D
{
public:
    TRecordingCanvas();
    ~TRecordingCanvas() override;

    const std::vector<TCanvasCall> &Calls() const { return FCalls; }
    void Clear() { FCalls.clear(); }

    // Calls of one operation, in order.
    std::vector<TCanvasCall> Find(const QString &name) const;
    std::vector<TCanvasCall> FindTopLevel(const QString &name) const;
    int Count(const QString &name) const;
    int CountTopLevel(const QString &name) const;
    // The first or last call of an operation; null when there is none.
    const TCanvasCall *First(const QString &name) const;
    const TCanvasCall *Last(const QString &name) const;
    // True when some call of the operation had exactly these integers.
    bool Has(const QString &name, const std::vector<int> &ints) const;
    // Operation names in order.
    QStringList Names() const;
    QStringList TopLevelNames() const;
    // One line per call, nested calls indented.
    QString Dump() const;

    // --- Everything below logs, then does what the canvas does ----------
    void AssignFont(const TKorFont *font) override;
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
    void ClipToRect(const TRect &rect) override;
    void HorizSegment(int x0, int x1, int y) override;
    void RectangleRect(const TRect &rect) override;
    void VertSegment(int x, int y0, int y1) override;
    void ClearRect(const TRect &rect) override;
    void BandFill(const TRect &rect, TColor startColor, TColor endColor, TGradientDirection direction) override;
    void MarkDirty() override;
    void Segment(int x0, int y0, int x1, int y1) override;
    void Polygon(const TPointArray &points) override;
    void RotatedText(int x, int y, double angle, const QString &text) override;
    void RemoveClip() override;
    void ClipToEllipse(const TRect &rect) override;
    void ClipToRoundRect(const TRect &rect, int ellipseWidth, int ellipseHeight) override;
    void ClipToPolygon(const TPointArray &points) override;
    void BeginTransparency(const TRect &rect) override;
    void EndTransparency(int transparency) override;

    void ProjectedPixel(int x, int y, int z, TColor color) override;
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
    void ReservedOperation(int a, int b, int c, int d) override;
    void ProjectedTextOut(int x, int y, int z, const QString &text) override;
    void ProjectedTriangle(const TPoint3D &a, const TPoint3D &b, const TPoint3D &c, TColor color) override;
    void FlatTriangleAtDepth(const TPoint &a, const TPoint &b, const TPoint &c, int z) override;
    void FillScratchQuad() override;
    void FreeBuffer() override;
    void CopyBuffer(QPainter *target, int x, int y) override;

private:
    class TScope;
    TCanvasCall &Log(const QString &name, std::vector<int> ints = {}, QStringList strings = {},
                     std::vector<double> reals = {});

    std::vector<TCanvasCall> FCalls;
    int FDepth = 0;
};
