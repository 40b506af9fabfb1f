// How a node draws itself: the outline of each style, shadow, fill or
// gradient clipped to the outline, transparency, the selection and
// hot-track looks, its image, its text and its resize handles. Everything
// goes through the canvas, so screen, printer and export canvases get the
// same picture.

#include "canvas/KorBlend.h"
#include "canvas/KorCanvas3D.h"
#include "core/Rounding.h"
#include "model/ShapeGeometry.h"
#include "model/TreeDocument.h"
#include "model/TreeNodeShape.h"

#include <cmath>
#include <optional>

namespace SG = ShapeGeometry;

namespace {

TRect ProjectRect(const TKorCanvas3D *canvas, const TRect &r)
{
    return TRect(canvas->ProjectPoint(r.Left, r.Top, 0), canvas->ProjectPoint(r.Right, r.Bottom, 0)).Normalized();
}

TPointArray ProjectPoints(const TKorCanvas3D *canvas, const TPointArray &points)
{
    TPointArray out;
    out.reserve(points.size());
    for (const TPoint &p : points)
        out.push_back(canvas->ProjectPoint(p.X, p.Y, 0));
    return out;
}

bool BrushIsClear(const TKorCanvas *canvas)
{
    return canvas->Brush().Style() == bsClear && canvas->BrushBitmap().isNull();
}

void ClearBrush(TKorCanvas *canvas)
{
    canvas->SetBrushBitmap(QImage());
    canvas->Brush().SetStyle(bsClear);
}

// A solid fill; white on a monochrome canvas, as every realised brush.
void SolidBrush(TKorCanvas *canvas, TColor color)
{
    canvas->SetBrushBitmap(QImage());
    canvas->Brush().SetStyle(bsSolid);
    canvas->Brush().SetColor(canvas->Monochrome() ? clWhite : color);
}

// A gradient over the projected body, clipped to the node's outline when
// the node asks for it and the canvas can clip.
void PaintNodeGradient(const TTreeNodeShape &node, TKorCanvas3D *canvas, const TRect &r, const TKorGradient &gradient)
{
    bool clipped = false;
    if (node.GradientClip() && node.Style() != tssRectangle && !canvas->RendersWithoutClipping()) {
        TPointArray points = node.OutlinePoints(r);
        const size_t n = points.size();
        if (node.Style() == tssCircle && n >= 2) {
            canvas->ClipToEllipse(TRect(canvas->ProjectPoint(points[0].X, points[0].Y, 0),
                                        canvas->ProjectPoint(points[1].X, points[1].Y, 0)));
            clipped = true;
        } else if (n > 0) {
            canvas->ClipToPolygon(ProjectPoints(canvas, points));
            clipped = true;
        }
    }
    gradient.PaintGradient(canvas, ProjectRect(canvas, r));
    if (clipped)
        canvas->RemoveClip();
}

bool IsLineStyle(TTreeShapeStyle style)
{
    return style == tssVertLine || style == tssHorizLine || style == tssLine || style == tssInvertLine;
}

} // namespace

// ---------------------------------------------------------------------------
// Geometry

TRect TTreeNodeShape::DrawRect() const
{
    const TPoint o = FTree ? FTree->DrawOffset() : TPoint();
    return TRect(FX0 + o.X, FY0 + o.Y, X1() + o.X, Y1() + o.Y);
}

TRect TTreeNodeShape::PaintBounds() const
{
    const TPoint o = FTree ? FTree->DrawOffset() : TPoint();
    const TRect body = DrawRect().Normalized();
    // Polygon outlines and lines reach the right and bottom coordinates.
    const TRect outline(body.Left, body.Top, body.Right + 1, body.Bottom + 1);
    return UnionRects(FBounds.Normalized().Offset(o.X, o.Y), outline);
}

int TTreeNodeShape::GetShapePoints(const TRect &r, TPointArray &points) const
{
    points = SG::ShapePoints(FStyle, r);
    return static_cast<int>(points.size());
}

TPointArray TTreeNodeShape::OutlinePoints(const TRect &r) const
{
    TPointArray points;
    const int n = GetShapePoints(r, points);
    points.resize(static_cast<size_t>(std::clamp(n, 0, static_cast<int>(points.size()))));
    return points;
}

// ---------------------------------------------------------------------------
// Outline, shadow and body

bool TTreeNodeShape::DrawOutline(const TRect &r, TKorCanvas3D *canvas, TTreeShapeStyle style)
{
    if (!canvas)
        return false;
    TPointArray points;
    switch (SG::Figure(style, r, points)) {
    case SG::TFigure::Rectangle:
        canvas->ProjectedRectangle(r, 0);
        return true;
    case SG::TFigure::Ellipse:
        canvas->ProjectedEllipse(r.Left, r.Top, r.Right, r.Bottom, 0);
        return true;
    case SG::TFigure::Line:
        canvas->ProjectedLine(points[0].X, points[0].Y, points[1].X, points[1].Y, 0);
        return true;
    case SG::TFigure::Polygon:
        canvas->ProjectedPolygon(points, 0);
        return true;
    case SG::TFigure::None:
        break;
    }
    // A custom outline: the node's own polygon.
    points = OutlinePoints(r);
    if (points.empty())
        return false;
    canvas->ProjectedPolygon(points, 0);
    return true;
}

void TTreeNodeShape::DrawShadow(const TRect &r, TKorCanvas3D *canvas, TTreeShapeStyle style)
{
    if (const TKorShadow *shadow = PeekShadow())
        DrawOutline(r.Offset(shadow->HorizSize(), shadow->VertSize()), canvas, style);
}

void TTreeNodeShape::DrawShape(TKorCanvas3D *canvas, const TRect &r)
{
    if (!canvas)
        return;
    const TChartPen *border = EffectiveBorder();
    const int pw = VisibleBorderWidth();
    // The body with its border: half the pen outside on the left and top,
    // the whole pen on the right and bottom.
    const TRect wide(r.Left - pw / 2, r.Top - pw / 2, r.Right + pw, r.Bottom + pw);
    const TKorShadow *shadow = PeekShadow();
    const bool drawShadow = !FTransparent && shadow && shadow->HasSize();

    std::optional<TKorBlend> blend;
    if (FTransparency > 0 && FTree && canvas == FTree->TreeCanvas()) {
        // The body with its border on screen, stretched by the shadow's
        // sizes in pixels towards the side the shadow falls on, so a
        // shadow up or left is blended as well.
        TRect area = ProjectRect(canvas, wide.Normalized()).Normalized();
        if (shadow) {
            const int h = shadow->HorizSize();
            const int v = shadow->VertSize();
            (h >= 0 ? area.Right : area.Left) += h;
            (v >= 0 ? area.Bottom : area.Top) += v;
        }
        blend.emplace(canvas, area);
    }

    canvas->SetBrushBitmap(QImage());
    if (drawShadow) {
        canvas->Pen().SetStyle(psClear);
        SolidBrush(canvas, shadow->Color());
        DrawShadow(wide, canvas, FStyle);
    }

    const bool designing = FTree && FTree->Designing();
    const TColor selectionColor = FTree ? FTree->Selected().CurrentColor() : clNone;
    if (!FSelected || selectionColor == clNone || designing) {
        const TKorGradient *gradient = PeekGradient();
        if (gradient && gradient->Visible()) {
            PaintNodeGradient(*this, canvas, r, *gradient);
            ClearBrush(canvas);
        } else if (!FTransparent) {
            const TChartBrush *brush = EffectiveBrush();
            // A brush without a colour of its own paints white.
            const TColor color = brush->Color() == clDefault ? clWhite : brush->Color();
            canvas->AssignBrush(brush, color, brush->Style() == bsSolid ? color : FBackColor);
        } else {
            ClearBrush(canvas);
        }
    } else {
        SolidBrush(canvas, selectionColor);
        // Lines have no inside: the highlight is their whole rectangle.
        if (IsLineStyle(FStyle))
            canvas->FillRect(ProjectRect(canvas, r));
    }

    const TTreeHotTrack *hot = FTree ? FTree->HotTrack() : nullptr;
    if (FHot && !designing && hot && hot->Active() && hot->UseBorder())
        canvas->AssignPen(hot->Border());
    else
        canvas->AssignPen(border);
    if (canvas->Pen().Style() != psClear || !BrushIsClear(canvas))
        DrawOutline(r, canvas, FStyle);

    if (FImageAlignment == iaCenter && ImageSize().width() > 0 && (!FTree || FTree->ShowImages()))
        canvas->StretchDrawPicture(ProjectRect(canvas, r), NodePicture());

    if (blend)
        blend->Apply(FTransparency);
}

// ---------------------------------------------------------------------------
// Text

const TKorFont *TTreeNodeShape::DrawingFont(std::optional<TKorFont> &changed) const
{
    // A selected node's text colour wins over hot-tracking.
    const TKorFont *font = EffectiveFont();
    const bool designing = FTree && FTree->Designing();
    const TColor selectedText = FTree ? FTree->Selected().TextColor() : clNone;
    const TTreeHotTrack *hot = FTree ? FTree->HotTrack() : nullptr;
    if (FSelected && selectedText != clNone && !designing) {
        changed.emplace();
        changed->Assign(font);
        changed->SetColor(selectedText);
        return &*changed;
    }
    if (FHot && !designing && hot && hot->Active()) {
        if (hot->UseFont())
            return hot->Font();
        if (hot->HotLink()) {
            changed.emplace();
            changed->Assign(font);
            changed->SetStyle(font->Style() | SetBit(fsUnderline));
            return &*changed;
        }
    }
    return font;
}

void TTreeNodeShape::DrawText(TKorCanvas3D *canvas, const TRect &rect)
{
    const int n = LineCount();
    if (n == 0 || !canvas)
        return;
    const TRect r = rect.Normalized();
    const TTreeStrings *text = PeekText();
    const bool clip = text && text->ClipText();
    if (clip)
        canvas->ClipToRect(ProjectRect(canvas, r));

    std::optional<TKorFont> changed;
    canvas->AssignFont(DrawingFont(changed));

    const int th = canvas->TextHeight(QStringLiteral("W"));
    const TVertTextAlign vert = text ? text->VertAlign() : DefaultVertAlign();
    int y;
    if (vert == vtaTop)
        y = r.Top;
    else if (vert == vtaBottom)
        y = r.Bottom - th * n;
    else
        y = dx::HalfSum(r.Top, r.Bottom) - dx::Div(th * n, 2);
    canvas->SetBackMode(cbmTransparent);
    canvas->SetTextAlign(taLeft | taTop);

    const int pw = VisibleBorderWidth();
    const int xc = dx::HalfSum(r.Left, r.Right);
    const THorizTextAlign horiz = text ? text->HorizAlign() : htaCenter;
    auto lineLeft = [&](int w) {
        switch (horiz) {
        case htaLeft:
            return r.Left + pw + 3;
        case htaRight:
            return r.Right - pw - w - 3;
        default:
            return xc + pw - dx::Div(w, 2);
        }
    };
    std::vector<int> widths(static_cast<size_t>(n));
    int widest = 0;
    for (int i = 0; i < n; ++i) {
        widths[static_cast<size_t>(i)] = canvas->TextWidth(Line(i));
        widest = std::max(widest, widths[static_cast<size_t>(i)]);
    }
    const int dxText = text ? text->HorizOffset() : 0;
    const int dyText = text ? text->VertOffset() : 0;

    std::optional<TKorBlend> blend;
    if (text && text->Transparency() > 0) {
        const int left = lineLeft(widest) + dxText;
        const int top = y + dyText;
        blend.emplace(canvas, ProjectRect(canvas, TRect(left, top, left + widest, top + n * th)));
    }

    const int angle = text ? text->Angle() : 0;
    const double a = angle * M_PI / 180.0;
    for (int i = 0; i < n; ++i) {
        const int w = widths[static_cast<size_t>(i)];
        if (angle == 0) {
            canvas->ProjectedTextOut(lineLeft(w) + dxText, y + dyText, 0, Line(i));
        } else {
            // Turned about the middle of the line's slot.
            const int x = xc - dx::RoundEven(w / 2.0 * std::cos(a)) - dx::RoundEven(th * std::sin(a));
            const int ly = dx::RoundEven(w / 2.0 * std::sin(a)) + y + dx::Div(th, 2) -
                           dx::RoundEven(th / 2.0 * std::cos(a));
            canvas->ProjectedRotatedText(x + dxText, ly + dyText, 0, angle, Line(i));
        }
        y += th;
    }

    if (blend)
        blend->Apply(text->Transparency());
    if (clip)
        canvas->RemoveClip();
}

// ---------------------------------------------------------------------------
// The whole node

void TTreeNodeShape::Draw()
{
    TKorCanvas3D *canvas = FTree ? FTree->TreeCanvas() : nullptr;
    if (!canvas)
        return;
    if (FTree->ShowImages() && FImageAlignment != iaCenter && ImageSize().width() > 0) {
        const TPoint o = FTree->DrawOffset();
        const TRect image = FImageBounds.Offset(o.X, o.Y);
        if (!image.IsEmpty())
            canvas->StretchDrawPicture(ProjectRect(canvas, image), NodePicture());
    }
    const TRect r = DrawRect();
    if (FTree->Shapes().Visible())
        DrawShape(canvas, r);
    if (FTree->ShowText())
        DrawText(canvas, r);
    if (!FSelected || FTree->Printing())
        return;
    if (FTree->Designing()) {
        if (!FTree->HandlesOverPicture()) {
            FTree->BeginDrawHandles();
            DrawHandles();
            FTree->EndDrawHandles();
        }
        return;
    }
    const TChartPen *frame = FTree->Selected().CurrentBorder();
    if (!frame->Visible())
        return;
    canvas->AssignPen(frame);
    ClearBrush(canvas);
    TRect f = r;
    if (!EffectiveBorder()->Visible()) {
        f.Right -= 1;
        f.Bottom -= 1;
    }
    DrawOutline(f, canvas, FStyle);
}

void TTreeNodeShape::DrawHandles()
{
    if (!FTree)
        return;
    const TRect r = DrawRect();
    const int v = EffectiveBorder()->Visible() ? 1 : 0;
    const int right = r.Right + v + 1;
    const int bottom = r.Bottom + v + 1;
    const int m = dx::HalfSum(r.Top, bottom);
    const int c = dx::HalfSum(r.Left, right);
    const struct
    {
        TTreeShapeHandle Code;
        int X, Y;
    } handles[] = {{rcLeftTop, r.Left, r.Top}, {rcLeftBottom, r.Left, bottom}, {rcRightTop, right, r.Top},
                   {rcRightBottom, right, bottom}, {rcLeft, r.Left, m}, {rcRight, right, m},
                   {rcTop, c, r.Top}, {rcBottom, c, bottom}};
    for (const auto &h : handles) {
        bool allow = true;
        AllowResize(h.Code, h.X, h.Y, allow);
        if (allow)
            FTree->DrawHandle(h.X, h.Y, clNone, h.Code);
    }
}
