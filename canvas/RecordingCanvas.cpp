#include "canvas/RecordingCanvas.h"

namespace {
std::vector<int> Ints(const TRect &r)
{
    return {r.Left, r.Top, r.Right, r.Bottom};
}

// Points flattened x0, y0, x1, y1, ..., then the extra values.
std::vector<int> Ints(const TPointArray &points, int extra)
{
    std::vector<int> v;
    v.reserve(points.size() * 2 + 1);
    for (const TPoint &p : points) {
        v.push_back(p.X);
        v.push_back(p.Y);
    }
    v.push_back(extra);
    return v;
}

std::vector<int> Ints(const TPointArray &points)
{
    std::vector<int> v = Ints(points, 0);
    v.pop_back();
    return v;
}
} // namespace

QString TCanvasCall::ToString() const
{
    QStringList parts;
    for (int i : Ints)
        parts << QString::number(i);
    for (double r : Reals)
        parts << QString::number(r);
    for (const QString &s : Strings)
        parts << QLatin1Char('"') + s + QLatin1Char('"');
    return Name + QLatin1Char('(') + parts.join(QLatin1String(", ")) + QLatin1Char(')');
}

// Logs a call on entry and counts it as the caller of everything the
// operation does until it returns.
class TRecordingCanvas::TScope
{
public:
    TScope(TRecordingCanvas *c, const char *name, std::vector<int> ints, QStringList strings = {},
           std::vector<double> reals = {})
        : FCanvas(c)
    {
        FCanvas->Log(QString::fromLatin1(name), std::move(ints), std::move(strings), std::move(reals));
        ++FCanvas->FDepth;
    }
    ~TScope() { --FCanvas->FDepth; }
    TScope(const TScope &) = delete;
    TScope &operator=(const TScope &) = delete;

private:
    TRecordingCanvas *FCanvas;
};

TRecordingCanvas::TRecordingCanvas() = default;
TRecordingCanvas::~TRecordingCanvas() = default;

TCanvasCall &TRecordingCanvas::Log(const QString &name, std::vector<int> ints, QStringList strings,
                                   std::vector<double> reals)
{
    TCanvasCall c;
    c.Name = name;
    c.Ints = std::move(ints);
    c.Strings = std::move(strings);
    c.Reals = std::move(reals);
    c.Depth = FDepth;
    c.PenColor = Pen().Color();
    c.PenWidth = Pen().Width();
    c.PenStyle = Pen().Style();
    c.PenMode = Pen().Mode();
    c.PenSmallDots = PenExtras().SmallDots;
    c.PenEndStyle = PenExtras().EndStyle;
    c.BrushColor = Brush().Color();
    c.BrushStyle = Brush().Style();
    c.BrushHasBitmap = !BrushBitmap().isNull();
    c.BackColor = BackColor();
    c.BackMode = BackMode();
    c.TextColor = TextColor();
    c.FontName = Font().Name();
    c.FontSize = Font().Size();
    c.FontPixelSize = CurrentQFont().pixelSize();
    c.FontColor = Font().Color();
    c.ClipDepth = ClipDepth();
    FCalls.push_back(std::move(c));
    return FCalls.back();
}

std::vector<TCanvasCall> TRecordingCanvas::Find(const QString &name) const
{
    std::vector<TCanvasCall> v;
    for (const TCanvasCall &c : FCalls)
        if (c.Name == name)
            v.push_back(c);
    return v;
}

std::vector<TCanvasCall> TRecordingCanvas::FindTopLevel(const QString &name) const
{
    std::vector<TCanvasCall> v;
    for (const TCanvasCall &c : FCalls)
        if (c.Name == name && c.Depth == 0)
            v.push_back(c);
    return v;
}

int TRecordingCanvas::Count(const QString &name) const
{
    return static_cast<int>(Find(name).size());
}

int TRecordingCanvas::CountTopLevel(const QString &name) const
{
    return static_cast<int>(FindTopLevel(name).size());
}

const TCanvasCall *TRecordingCanvas::First(const QString &name) const
{
    for (const TCanvasCall &c : FCalls)
        if (c.Name == name)
            return &c;
    return nullptr;
}

const TCanvasCall *TRecordingCanvas::Last(const QString &name) const
{
    for (auto it = FCalls.rbegin(); it != FCalls.rend(); ++it)
        if (it->Name == name)
            return &*it;
    return nullptr;
}

bool TRecordingCanvas::Has(const QString &name, const std::vector<int> &ints) const
{
    for (const TCanvasCall &c : FCalls)
        if (c.Name == name && c.Ints == ints)
            return true;
    return false;
}

QStringList TRecordingCanvas::Names() const
{
    QStringList names;
    for (const TCanvasCall &c : FCalls)
        names << c.Name;
    return names;
}

QStringList TRecordingCanvas::TopLevelNames() const
{
    QStringList names;
    for (const TCanvasCall &c : FCalls)
        if (c.Depth == 0)
            names << c.Name;
    return names;
}

QString TRecordingCanvas::Dump() const
{
    QString out;
    for (const TCanvasCall &c : FCalls)
        out += QString(c.Depth * 2, QLatin1Char(' ')) + c.ToString() + QLatin1Char('\n');
    return out;
}

void TRecordingCanvas::AssignFont(const TKorFont *font)
{
    TScope scope(this, "AssignFont", font ? std::vector<int>{font->Size(), font->Color()} : std::vector<int>{},
                 font ? QStringList{font->Name()} : QStringList());
    TKorCanvas3D::AssignFont(font);
}

void TRecordingCanvas::SetBackColor(TColor color)
{
    TScope scope(this, "SetBackColor", std::vector<int>{color});
    TKorCanvas3D::SetBackColor(color);
}

void TRecordingCanvas::SetBackMode(int mode)
{
    TScope scope(this, "SetBackMode", std::vector<int>{mode});
    TKorCanvas3D::SetBackMode(mode);
}

void TRecordingCanvas::SetMonochrome(bool value)
{
    TScope scope(this, "SetMonochrome", std::vector<int>{value ? 1 : 0});
    TKorCanvas3D::SetMonochrome(value);
}

void TRecordingCanvas::SetPixel(int x, int y, TColor color)
{
    TScope scope(this, "SetPixel", std::vector<int>{x, y, color});
    TKorCanvas3D::SetPixel(x, y, color);
}

void TRecordingCanvas::SetTextAlign(int align)
{
    TScope scope(this, "SetTextAlign", std::vector<int>{align});
    TKorCanvas3D::SetTextAlign(align);
}

void TRecordingCanvas::SetBufferedDisplay(bool value)
{
    TScope scope(this, "SetBufferedDisplay", std::vector<int>{value ? 1 : 0});
    TKorCanvas3D::SetBufferedDisplay(value);
}

void TRecordingCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    TScope scope(this, "Arc", std::vector<int>{x1, y1, x2, y2, x3, y3, x4, y4});
    TKorCanvas3D::Arc(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TRecordingCanvas::RingSector(int xc, int yc, int xRadius, int yRadius, double startAngle, double endAngle, int holePercent)
{
    TScope scope(this, "RingSector", std::vector<int>{xc, yc, xRadius, yRadius, holePercent}, QStringList(), std::vector<double>{startAngle, endAngle});
    TKorCanvas3D::RingSector(xc, yc, xRadius, yRadius, startAngle, endAngle, holePercent);
}

void TRecordingCanvas::Draw(int x, int y, const QImage &image)
{
    TScope scope(this, "Draw", std::vector<int>{x, y, image.width(), image.height()});
    TKorCanvas3D::Draw(x, y, image);
}

void TRecordingCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    TScope scope(this, "Ellipse", std::vector<int>{x1, y1, x2, y2});
    TKorCanvas3D::Ellipse(x1, y1, x2, y2);
}

void TRecordingCanvas::FillRect(const TRect &rect)
{
    TScope scope(this, "FillRect", Ints(rect));
    TKorCanvas3D::FillRect(rect);
}

void TRecordingCanvas::BevelFrame(const TRect &rect, TColor topColor, TColor bottomColor, int width)
{
    TScope scope(this, "BevelFrame", std::vector<int>{rect.Left, rect.Top, rect.Right, rect.Bottom, topColor, bottomColor, width});
    TKorCanvas3D::BevelFrame(rect, topColor, bottomColor, width);
}

void TRecordingCanvas::LineTo(int x, int y)
{
    TScope scope(this, "LineTo", std::vector<int>{x, y});
    TKorCanvas3D::LineTo(x, y);
}

void TRecordingCanvas::MoveTo(int x, int y)
{
    TScope scope(this, "MoveTo", std::vector<int>{x, y});
    TKorCanvas3D::MoveTo(x, y);
}

void TRecordingCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    TScope scope(this, "Pie", std::vector<int>{x1, y1, x2, y2, x3, y3, x4, y4});
    TKorCanvas3D::Pie(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TRecordingCanvas::Rectangle(int x0, int y0, int x1, int y1)
{
    TScope scope(this, "Rectangle", std::vector<int>{x0, y0, x1, y1});
    TKorCanvas3D::Rectangle(x0, y0, x1, y1);
}

void TRecordingCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    TScope scope(this, "RoundRect", std::vector<int>{x1, y1, x2, y2, x3, y3});
    TKorCanvas3D::RoundRect(x1, y1, x2, y2, x3, y3);
}

void TRecordingCanvas::StretchDraw(const TRect &rect, const QImage &image)
{
    TScope scope(this, "StretchDraw", std::vector<int>{rect.Left, rect.Top, rect.Right, rect.Bottom, image.width(), image.height()});
    TKorCanvas3D::StretchDraw(rect, image);
}

void TRecordingCanvas::TextOut(int x, int y, const QString &text)
{
    TScope scope(this, "TextOut", std::vector<int>{x, y}, QStringList{text});
    TKorCanvas3D::TextOut(x, y, text);
}

void TRecordingCanvas::ClipToRect(const TRect &rect)
{
    TScope scope(this, "ClipToRect", Ints(rect));
    TKorCanvas3D::ClipToRect(rect);
}

void TRecordingCanvas::HorizSegment(int x0, int x1, int y)
{
    TScope scope(this, "HorizSegment", std::vector<int>{x0, x1, y});
    TKorCanvas3D::HorizSegment(x0, x1, y);
}

void TRecordingCanvas::RectangleRect(const TRect &rect)
{
    TScope scope(this, "RectangleRect", Ints(rect));
    TKorCanvas3D::RectangleRect(rect);
}

void TRecordingCanvas::VertSegment(int x, int y0, int y1)
{
    TScope scope(this, "VertSegment", std::vector<int>{x, y0, y1});
    TKorCanvas3D::VertSegment(x, y0, y1);
}

void TRecordingCanvas::ClearRect(const TRect &rect)
{
    TScope scope(this, "ClearRect", Ints(rect));
    TKorCanvas3D::ClearRect(rect);
}

void TRecordingCanvas::BandFill(const TRect &rect, TColor startColor, TColor endColor, TGradientDirection direction)
{
    TScope scope(this, "BandFill", std::vector<int>{rect.Left, rect.Top, rect.Right, rect.Bottom, startColor, endColor, int(direction)});
    TKorCanvas3D::BandFill(rect, startColor, endColor, direction);
}

void TRecordingCanvas::MarkDirty()
{
    TScope scope(this, "MarkDirty", std::vector<int>{});
    TKorCanvas3D::MarkDirty();
}

void TRecordingCanvas::Segment(int x0, int y0, int x1, int y1)
{
    TScope scope(this, "Segment", std::vector<int>{x0, y0, x1, y1});
    TKorCanvas3D::Segment(x0, y0, x1, y1);
}

void TRecordingCanvas::Polygon(const TPointArray &points)
{
    TScope scope(this, "Polygon", Ints(points));
    TKorCanvas3D::Polygon(points);
}

void TRecordingCanvas::RotatedText(int x, int y, double angle, const QString &text)
{
    TScope scope(this, "RotatedText", std::vector<int>{x, y}, QStringList{text}, std::vector<double>{angle});
    TKorCanvas3D::RotatedText(x, y, angle, text);
}

void TRecordingCanvas::RemoveClip()
{
    TScope scope(this, "RemoveClip", std::vector<int>{});
    TKorCanvas3D::RemoveClip();
}

void TRecordingCanvas::ClipToEllipse(const TRect &rect)
{
    TScope scope(this, "ClipToEllipse", Ints(rect));
    TKorCanvas3D::ClipToEllipse(rect);
}

void TRecordingCanvas::ClipToRoundRect(const TRect &rect, int ellipseWidth, int ellipseHeight)
{
    TScope scope(this, "ClipToRoundRect", std::vector<int>{rect.Left, rect.Top, rect.Right, rect.Bottom, ellipseWidth, ellipseHeight});
    TKorCanvas3D::ClipToRoundRect(rect, ellipseWidth, ellipseHeight);
}

void TRecordingCanvas::ClipToPolygon(const TPointArray &points)
{
    TScope scope(this, "ClipToPolygon", Ints(points));
    TKorCanvas3D::ClipToPolygon(points);
}

void TRecordingCanvas::BeginTransparency(const TRect &rect)
{
    TScope scope(this, "BeginTransparency", Ints(rect));
    TKorCanvas3D::BeginTransparency(rect);
}

void TRecordingCanvas::EndTransparency(int transparency)
{
    TScope scope(this, "EndTransparency", std::vector<int>{transparency});
    TKorCanvas3D::EndTransparency(transparency);
}

void TRecordingCanvas::ProjectedPixel(int x, int y, int z, TColor color)
{
    TScope scope(this, "ProjectedPixel", std::vector<int>{x, y, z, color});
    TKorCanvas3D::ProjectedPixel(x, y, z, color);
}

TRect TRecordingCanvas::StartDrawing(QPainter *target, TView3DOptions *options, const TRect &userRect, bool is3D)
{
    TScope scope(this, "StartDrawing", std::vector<int>{userRect.Left, userRect.Top, userRect.Right, userRect.Bottom, is3D ? 1 : 0});
    return TKorCanvas3D::StartDrawing(target, options, userRect, is3D);
}

void TRecordingCanvas::TakeSettingsFrom(const TCanvas3D *other)
{
    TScope scope(this, "TakeSettingsFrom", std::vector<int>{});
    TKorCanvas3D::TakeSettingsFrom(other);
}

void TRecordingCanvas::SetupProjection(int depth, const TRect &rect)
{
    TScope scope(this, "SetupProjection", std::vector<int>{depth, rect.Left, rect.Top, rect.Right, rect.Bottom});
    TKorCanvas3D::SetupProjection(depth, rect);
}

void TRecordingCanvas::EndDrawing(QPainter *target, QPainter *control, const TRect &userRect)
{
    TScope scope(this, "EndDrawing", Ints(userRect));
    TKorCanvas3D::EndDrawing(target, control, userRect);
}

bool TRecordingCanvas::ShowBuffer(QPainter *target)
{
    TScope scope(this, "ShowBuffer", std::vector<int>{});
    return TKorCanvas3D::ShowBuffer(target);
}

void TRecordingCanvas::ProjectedArrow(bool filled, const TPoint &from, const TPoint &to, int headWidth, int headLength, int z)
{
    TScope scope(this, "ProjectedArrow", std::vector<int>{filled ? 1 : 0, from.X, from.Y, to.X, to.Y, headWidth, headLength, z});
    TKorCanvas3D::ProjectedArrow(filled, from, to, headWidth, headLength, z);
}

void TRecordingCanvas::ClipProjectedBox(const TRect &rect, int z0, int z1)
{
    TScope scope(this, "ClipProjectedBox", std::vector<int>{rect.Left, rect.Top, rect.Right, rect.Bottom, z0, z1});
    TKorCanvas3D::ClipProjectedBox(rect, z0, z1);
}

void TRecordingCanvas::ShadedCube(const TRect &rect, int z0, int shade, int z1, bool darkSides)
{
    TScope scope(this, "ShadedCube", std::vector<int>{rect.Left, rect.Top, rect.Right, rect.Bottom, z0, shade, z1, darkSides ? 1 : 0});
    TKorCanvas3D::ShadedCube(rect, z0, shade, z1, darkSides);
}

void TRecordingCanvas::CubeFaces(const TRect &rect, int z0, int z1, bool darkSides)
{
    TScope scope(this, "CubeFaces", std::vector<int>{rect.Left, rect.Top, rect.Right, rect.Bottom, z0, z1, darkSides ? 1 : 0});
    TKorCanvas3D::CubeFaces(rect, z0, z1, darkSides);
}

void TRecordingCanvas::Cube(const TRect &rect, int z0, int z1, bool darkSides)
{
    TScope scope(this, "Cube", std::vector<int>{rect.Left, rect.Top, rect.Right, rect.Bottom, z0, z1, darkSides ? 1 : 0});
    TKorCanvas3D::Cube(rect, z0, z1, darkSides);
}

void TRecordingCanvas::ProjectedHorizLine(int x0, int x1, int y, int z)
{
    TScope scope(this, "ProjectedHorizLine", std::vector<int>{x0, x1, y, z});
    TKorCanvas3D::ProjectedHorizLine(x0, x1, y, z);
}

void TRecordingCanvas::ProjectedVertLine(int x, int y0, int y1, int z)
{
    TScope scope(this, "ProjectedVertLine", std::vector<int>{x, y0, y1, z});
    TKorCanvas3D::ProjectedVertLine(x, y0, y1, z);
}

void TRecordingCanvas::DepthLine(int x, int y, int z0, int z1)
{
    TScope scope(this, "DepthLine", std::vector<int>{x, y, z0, z1});
    TKorCanvas3D::DepthLine(x, y, z0, z1);
}

void TRecordingCanvas::ProjectedEllipse(int x1, int y1, int x2, int y2, int z)
{
    TScope scope(this, "ProjectedEllipse", std::vector<int>{x1, y1, x2, y2, z});
    TKorCanvas3D::ProjectedEllipse(x1, y1, x2, y2, z);
}

void TRecordingCanvas::SuspendProjection()
{
    TScope scope(this, "SuspendProjection", std::vector<int>{});
    TKorCanvas3D::SuspendProjection();
}

void TRecordingCanvas::ResumeProjection()
{
    TScope scope(this, "ResumeProjection", std::vector<int>{});
    TKorCanvas3D::ResumeProjection();
}

void TRecordingCanvas::ProjectedLine(int x0, int y0, int x1, int y1, int z)
{
    TScope scope(this, "ProjectedLine", std::vector<int>{x0, y0, x1, y1, z});
    TKorCanvas3D::ProjectedLine(x0, y0, x1, y1, z);
}

void TRecordingCanvas::ProjectedMoveTo(int x, int y, int z)
{
    TScope scope(this, "ProjectedMoveTo", std::vector<int>{x, y, z});
    TKorCanvas3D::ProjectedMoveTo(x, y, z);
}

void TRecordingCanvas::ProjectedLineTo(int x, int y, int z)
{
    TScope scope(this, "ProjectedLineTo", std::vector<int>{x, y, z});
    TKorCanvas3D::ProjectedLineTo(x, y, z);
}

void TRecordingCanvas::Pie3D(int xc, int yc, int xRadius, int yRadius, int z0, int z1, double startAngle, double endAngle, bool darkSides)
{
    TScope scope(this, "Pie3D", std::vector<int>{xc, yc, xRadius, yRadius, z0, z1, darkSides ? 1 : 0}, QStringList(), std::vector<double>{startAngle, endAngle});
    TKorCanvas3D::Pie3D(xc, yc, xRadius, yRadius, z0, z1, startAngle, endAngle, darkSides);
}

void TRecordingCanvas::DepthQuad(const TPoint &a, const TPoint &b, int z0, int z1)
{
    TScope scope(this, "DepthQuad", std::vector<int>{a.X, a.Y, b.X, b.Y, z0, z1});
    TKorCanvas3D::DepthQuad(a, b, z0, z1);
}

void TRecordingCanvas::ProjectedQuad(const TPoint &p0, const TPoint &p1, const TPoint &p2, const TPoint &p3, int z)
{
    TScope scope(this, "ProjectedQuad", std::vector<int>{p0.X, p0.Y, p1.X, p1.Y, p2.X, p2.Y, p3.X, p3.Y, z});
    TKorCanvas3D::ProjectedQuad(p0, p1, p2, p3, z);
}

void TRecordingCanvas::TwoDepthQuad(const TPoint &p0, const TPoint &p1, const TPoint &p2, const TPoint &p3, int z0, int z1)
{
    TScope scope(this, "TwoDepthQuad", std::vector<int>{p0.X, p0.Y, p1.X, p1.Y, p2.X, p2.Y, p3.X, p3.Y, z0, z1});
    TKorCanvas3D::TwoDepthQuad(p0, p1, p2, p3, z0, z1);
}

void TRecordingCanvas::ProjectedPolygon(const TPointArray &points, int z)
{
    TScope scope(this, "ProjectedPolygon", Ints(points, z));
    TKorCanvas3D::ProjectedPolygon(points, z);
}

void TRecordingCanvas::Pyramid(bool vertical, const TRect &rect, int z0, int z1, bool darkSides)
{
    TScope scope(this, "Pyramid", std::vector<int>{vertical ? 1 : 0, rect.Left, rect.Top, rect.Right, rect.Bottom, z0, z1, darkSides ? 1 : 0});
    TKorCanvas3D::Pyramid(vertical, rect, z0, z1, darkSides);
}

void TRecordingCanvas::Prism(const TRect &rect, int z0, int z1, int sides, bool darkSides)
{
    TScope scope(this, "Prism", std::vector<int>{rect.Left, rect.Top, rect.Right, rect.Bottom, z0, z1, sides, darkSides ? 1 : 0});
    TKorCanvas3D::Prism(rect, z0, z1, sides, darkSides);
}

void TRecordingCanvas::ProjectedRectangle(const TRect &rect, int z)
{
    TScope scope(this, "ProjectedRectangle", std::vector<int>{rect.Left, rect.Top, rect.Right, rect.Bottom, z});
    TKorCanvas3D::ProjectedRectangle(rect, z);
}

void TRecordingCanvas::FloorQuad(int x0, int x1, int y, int z0, int z1)
{
    TScope scope(this, "FloorQuad", std::vector<int>{x0, x1, y, z0, z1});
    TKorCanvas3D::FloorQuad(x0, x1, y, z0, z1);
}

void TRecordingCanvas::WallQuad(int x, int y0, int y1, int z0, int z1)
{
    TScope scope(this, "WallQuad", std::vector<int>{x, y0, y1, z0, z1});
    TKorCanvas3D::WallQuad(x, y0, y1, z0, z1);
}

void TRecordingCanvas::ProjectedRotatedText(int x, int y, int z, double angle, const QString &text)
{
    TScope scope(this, "ProjectedRotatedText", std::vector<int>{x, y, z}, QStringList{text}, std::vector<double>{angle});
    TKorCanvas3D::ProjectedRotatedText(x, y, z, angle, text);
}

void TRecordingCanvas::ProjectedCircle(int xc, int yc, double radius, int z)
{
    TScope scope(this, "ProjectedCircle", std::vector<int>{xc, yc, z}, QStringList(), std::vector<double>{radius});
    TKorCanvas3D::ProjectedCircle(xc, yc, radius, z);
}

void TRecordingCanvas::ReservedOperation(int a, int b, int c, int d)
{
    TScope scope(this, "ReservedOperation", std::vector<int>{a, b, c, d});
    TKorCanvas3D::ReservedOperation(a, b, c, d);
}

void TRecordingCanvas::ProjectedTextOut(int x, int y, int z, const QString &text)
{
    TScope scope(this, "ProjectedTextOut", std::vector<int>{x, y, z}, QStringList{text});
    TKorCanvas3D::ProjectedTextOut(x, y, z, text);
}

void TRecordingCanvas::ProjectedTriangle(const TPoint3D &a, const TPoint3D &b, const TPoint3D &c, TColor color)
{
    TScope scope(this, "ProjectedTriangle", std::vector<int>{a.X, a.Y, a.Z, b.X, b.Y, b.Z, c.X, c.Y, c.Z, color});
    TKorCanvas3D::ProjectedTriangle(a, b, c, color);
}

void TRecordingCanvas::FlatTriangleAtDepth(const TPoint &a, const TPoint &b, const TPoint &c, int z)
{
    TScope scope(this, "FlatTriangleAtDepth", std::vector<int>{a.X, a.Y, b.X, b.Y, c.X, c.Y, z});
    TKorCanvas3D::FlatTriangleAtDepth(a, b, c, z);
}

void TRecordingCanvas::FillScratchQuad()
{
    TScope scope(this, "FillScratchQuad", std::vector<int>{});
    TKorCanvas3D::FillScratchQuad();
}

void TRecordingCanvas::FreeBuffer()
{
    TScope scope(this, "FreeBuffer", std::vector<int>{});
    TKorCanvas3D::FreeBuffer();
}

void TRecordingCanvas::CopyBuffer(QPainter *target, int x, int y)
{
    TScope scope(this, "CopyBuffer", std::vector<int>{x, y});
    TKorCanvas3D::CopyBuffer(target, x, y);
}
