// Shared pieces of the gallery tests: shapes created by class name, drawn
// on a white picture at a zoom, and a reference picture painted with the
// canvas's plain primitives from what a shape should look like. The
// outline formulas here are written out afresh from the figures' geometry
// (real arithmetic, rounded ties-to-even), not taken from the galleries.

#pragma once

#include "DrawTestUtil.h"

#include "core/ClassRegistry.h"
#include "model/ShapeGeometry.h"
#include "model/TreeFile.h"
#include "shapes/ShapeGalleries.h"
#include "shapes/TreeFlow.h"

#include <QBuffer>
#include <QtTest>
#include <cfenv>
#include <cmath>
#include <functional>
#include <map>

inline char *toString(const TPoint &p)
{
    return QTest::toString(QStringLiteral("(%1, %2)").arg(p.X).arg(p.Y));
}

Q_DECLARE_METATYPE(TRect)
Q_DECLARE_METATYPE(TPoint)

namespace GalleryTest {

// ---- Arithmetic of the references

// Nearest integer with ties to even, seeing values within 1e-9 of a half
// as that half (a product of an exact cosine, 1/2, with an odd radius).
inline int Nearest(double v)
{
    const double twice = std::nearbyint(v * 2);
    if (std::abs(v * 2 - twice) < 1e-9)
        v = twice / 2;
    return static_cast<int>(std::nearbyint(v)); // the default mode rounds ties to even
}
inline int IDiv(int a, int b)
{
    return a / b; // C++ truncates toward zero, as div does
}

// A figure's expected look: a body (its own polygon, or a built-in style),
// then strokes with the border pen, then ellipses with pen and brush, then
// anything drawn in an order of its own.
struct TExpected
{
    TTreeShapeStyle Style = tssCustom;
    TRect Body; // where a built-in style is drawn
    TPointArray Polygon;
    std::vector<std::pair<TPoint, TPoint>> Lines;
    std::vector<TRect> Ellipses;
    std::vector<TRect> Rectangles;
    TColor PenColor = clBlack;
    std::vector<std::function<void(TKorCanvas3D &)>> Ops;
};

// The bounds as the formulas name them.
struct TB
{
    int L, T, R, B, W, H, cx, cy;
    explicit TB(const TRect &r)
        : L(r.Left), T(r.Top), R(r.Right), B(r.Bottom), W(R - L), H(B - T), cx((L + R) / 2), cy((T + B) / 2)
    {
    }
};

// ---- Files

inline QByteArray Save(TTreeDocument &tree)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    SaveDiagram(tree, buffer);
    return buffer.data();
}

inline void Load(TTreeDocument &tree, const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    LoadDiagram(tree, buffer);
}

// ---- Drawing

constexpr int kPictureW = 260;
constexpr int kPictureH = 200;

// Draws like a view at a zoom (percent); a negative zoom turns the
// drawing in 3D (rotation and elevation of 20 degrees, no orthogonal view)
// at that zoom's magnitude.
inline void SetUpView(TPictureTree &tree, int zoom)
{
    if (zoom < 0) {
        tree.Options.SetOrthogonal(false);
        tree.Options.SetRotation(20);
        tree.Options.SetElevation(20);
        zoom = -zoom;
    }
    if (zoom != 100 || !tree.Options.Orthogonal())
        tree.Project(zoom);
}

// A shape of a registered class, in a drawing diagram of its own.
struct TShapeHost : TPictureHost
{
    TTreeNodeShape *Shape = nullptr;

    TShapeHost(const QString &className, const TRect &r, int zoom = 100) : TPictureHost(kPictureW, kPictureH)
    {
        SetUpView(*Tree, zoom);
        Shape = dynamic_cast<TTreeNodeShape *>(TClassRegistry::Instance().Create(className, nullptr));
        if (!Shape)
            return;
        Shape->SetTree(Tree);
        Shape->SetImageIndex(tiNone);
        Place(Shape, r.Left, r.Top, r.Right, r.Bottom);
        Shape->SetBounds(r);
    }
    ~TShapeHost() { delete Shape; }

    const QImage &Picture()
    {
        Shape->Draw();
        return Tree->Finish();
    }
    // A screen point for a diagram point.
    TPoint Screen(const TPoint &p) const { return Tree->ProjectPoint(p); }
    bool Hit(const TPoint &p) const
    {
        const TPoint s = Screen(p);
        return Shape->PointInShape(s.X, s.Y);
    }
};

// The expected look painted with the canvas primitives a node uses, with
// the default border pen and a solid brush of `fill` (none: clear).
inline QImage ReferencePicture(const TExpected &e, TColor fill, int zoom = 100)
{
    TPictureHost host(kPictureW, kPictureH);
    SetUpView(*host.Tree, zoom);
    TKorCanvas3D &c = host.Tree->Canvas;
    TChartPen pen;
    pen.SetColor(e.PenColor);
    c.AssignPen(&pen);
    c.SetBrushBitmap(QImage());
    c.Brush().SetStyle(fill == clNone ? bsClear : bsSolid);
    c.Brush().SetColor(fill);
    TPointArray points;
    switch (ShapeGeometry::Figure(e.Style, e.Body, points)) {
    case ShapeGeometry::TFigure::None:
        if (!e.Polygon.empty())
            c.ProjectedPolygon(e.Polygon, 0);
        break;
    case ShapeGeometry::TFigure::Rectangle:
        c.ProjectedRectangle(e.Body, 0);
        break;
    case ShapeGeometry::TFigure::Ellipse:
        c.ProjectedEllipse(e.Body.Left, e.Body.Top, e.Body.Right, e.Body.Bottom, 0);
        break;
    default:
        c.ProjectedPolygon(points, 0);
        break;
    }
    for (const auto &[a, b] : e.Lines)
        c.ProjectedLine(a.X, a.Y, b.X, b.Y, 0);
    for (const TRect &r : e.Ellipses)
        c.ProjectedEllipse(r.Left, r.Top, r.Right, r.Bottom, 0);
    for (const TRect &r : e.Rectangles)
        c.ProjectedRectangle(r, 0);
    for (const auto &op : e.Ops)
        op(c);
    return host.Tree->Finish().copy();
}

// The bounds every class is drawn at: wide, tall with odd sizes, and at a
// zoom of 150 % (and turned in 3D).
const TRect kWide(20, 30, 180, 130);   // 160 x 100
const TRect kTall(35, 15, 112, 178);   // 77 x 163, odd sizes
const TRect kZoomed(70, 60, 170, 130); // drawn at 150 %

// The rows of a picture test, four for each class of `names`: wide, tall,
// zoomed and turned (columns className, bounds, zoom).
inline void AddPictureRows(const QStringList &names)
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<TRect>("bounds");
    QTest::addColumn<int>("zoom");
    for (const QString &name : names) {
        const QByteArray n = name.toLatin1();
        QTest::newRow(n + " wide") << name << kWide << 100;
        QTest::newRow(n + " tall") << name << kTall << 100;
        QTest::newRow(n + " zoomed") << name << kZoomed << 150;
        QTest::newRow(n + " turned") << name << kZoomed << -100;
    }
}

// The class names a reference map holds, in its order.
template <class Map>
QStringList NamesOf(const Map &references)
{
    QStringList names;
    for (const auto &entry : references)
        names << entry.first;
    return names;
}

// The first pixel where two pictures differ, for a readable failure.
inline QString FirstDifference(const QImage &a, const QImage &b)
{
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return QStringLiteral("(%1, %2): %3 instead of %4")
                    .arg(x)
                    .arg(y)
                    .arg(a.pixel(x, y) & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                    .arg(b.pixel(x, y) & 0xFFFFFF, 6, 16, QLatin1Char('0'));
    return QString();
}

} // namespace GalleryTest
