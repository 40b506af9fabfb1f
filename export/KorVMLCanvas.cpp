#include "export/KorVMLCanvas.h"

#include "core/ScopeExit.h"
#include "export/KorExportConst.h"
#include "view/Arbolix.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QIODevice>

namespace {

QString Num(int v)
{
    return QString::number(v);
}

QString Pt(int x, int y)
{
    return QStringLiteral("%1,%2").arg(x).arg(y);
}

} // namespace

TVMLCanvas::TVMLCanvas(QStringList *lines) : FLines(lines)
{
    SetBufferedDisplay(false);
    Add(QStringLiteral("<xml:namespace prefix=\"v\"/>"));
    Add(QStringLiteral("<style>v\\:* {behavior=url(#default#VML)}</style>"));
}

QString TVMLCanvas::ColorText(TColor color)
{
    const QColor c = ToQColor(ColorToRGB(color));
    if (c.red() == 0 && c.green() == 0 && c.blue() == 0)
        return QStringLiteral("\"#0\"");
    return QStringLiteral("\"#%1%2%3\"")
        .arg(c.red(), 2, 16, QLatin1Char('0'))
        .arg(c.green(), 2, 16, QLatin1Char('0'))
        .arg(c.blue(), 2, 16, QLatin1Char('0'))
        .toUpper();
}

QString TVMLCanvas::Escaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case '&': out += QStringLiteral("&amp;"); break;
        case '<': out += QStringLiteral("&lt;"); break;
        case '>': out += QStringLiteral("&gt;"); break;
        case '"': out += QStringLiteral("&quot;"); break;
        case '\'': out += QStringLiteral("&#39;"); break;
        default:
            if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
                out += c;
                out += text.at(++i);
            } else if ((c.unicode() < 0x20 && c != QLatin1Char('\t')) || c.isSurrogate() || c.unicode() >= 0xFFFE) {
                out += QStringLiteral("&#65533;");
            } else {
                out += c;
            }
        }
    }
    return out;
}

bool TVMLCanvas::PenClear() const
{
    return Pen().Style() == psClear;
}

bool TVMLCanvas::BrushClear() const
{
    return Brush().Style() == bsClear;
}

TRect TVMLCanvas::StartDrawing(QPainter *target, TView3DOptions *options, const TRect &userRect, bool is3D)
{
    const TRect r = TKorCanvas3D::StartDrawing(target, options, userRect, is3D);
    FBounds = userRect;
    const int w = FBounds.Width(), h = FBounds.Height();
    Add(QStringLiteral("<v:group style=\"width:%1;height:%2\" coordsize=\"%1,%2\" coordorigin=\"%3,%4\">")
            .arg(w)
            .arg(h)
            .arg(FBounds.Left)
            .arg(FBounds.Top));
    return r;
}

void TVMLCanvas::EndDrawing(QPainter *target, QPainter *control, const TRect &userRect)
{
    Add(QStringLiteral("</v:group>"));
    TKorCanvas3D::EndDrawing(target, control, userRect);
}

// --- Lines

void TVMLCanvas::MoveTo(int x, int y)
{
    FPos = TPoint(x, y);
}

void TVMLCanvas::LineTo(int x, int y)
{
    const int pw = Pen().Width();
    // The weight once: the element may not repeat an attribute.
    QString line = QStringLiteral("<v:line from=\"%1\" to=\"%2\" strokeweight=\"%3\" strokecolor=%4")
                       .arg(Pt(FPos.X, FPos.Y), Pt(x, y), Num(pw), ColorText(Pen().Color()));
    const bool dots = PenExtras().SmallDots;
    if (Pen().Style() == psSolid && !dots) {
        Add(line + QStringLiteral("/>"));
    } else {
        Add(line + QLatin1Char('>'));
        QString style;
        if (dots)
            style = QStringLiteral("dot");
        else
            switch (Pen().Style()) {
            case psDash: style = QStringLiteral("dash"); break;
            case psDot: style = QStringLiteral("dot"); break;
            case psDashDot: style = QStringLiteral("dashdot"); break;
            case psDashDotDot: style = QStringLiteral("longdashdotdot"); break;
            default: break;
            }
        Add(QStringLiteral("<v:stroke dashstyle=\"%1\"/>").arg(style));
        Add(QStringLiteral("</v:line>"));
    }
    FPos = TPoint(x, y);
}

void TVMLCanvas::Segment(int x0, int y0, int x1, int y1)
{
    MoveTo(x0, y0);
    LineTo(x1, y1);
}

void TVMLCanvas::HorizSegment(int x0, int x1, int y)
{
    Segment(x0, y, x1, y);
}

void TVMLCanvas::VertSegment(int x, int y0, int y1)
{
    Segment(x, y0, x, y1);
}

void TVMLCanvas::ProjectedMoveTo(int x, int y, int z)
{
    const TPoint p = ProjectPoint(x, y, z);
    MoveTo(p.X, p.Y);
}

void TVMLCanvas::ProjectedLineTo(int x, int y, int z)
{
    const TPoint p = ProjectPoint(x, y, z);
    LineTo(p.X, p.Y);
}

void TVMLCanvas::ProjectedLine(int x0, int y0, int x1, int y1, int z)
{
    ProjectedMoveTo(x0, y0, z);
    ProjectedLineTo(x1, y1, z);
}

void TVMLCanvas::ProjectedHorizLine(int x0, int x1, int y, int z)
{
    ProjectedLine(x0, y, x1, y, z);
}

void TVMLCanvas::ProjectedVertLine(int x, int y0, int y1, int z)
{
    ProjectedLine(x, y0, x, y1, z);
}

void TVMLCanvas::DepthLine(int x, int y, int z0, int z1)
{
    ProjectedMoveTo(x, y, z0);
    ProjectedLineTo(x, y, z1);
}

void TVMLCanvas::SetPixel(int x, int y, TColor color)
{
    if (PenClear())
        return;
    Pen().SetColor(color);
    Segment(x, y, x, y);
}

void TVMLCanvas::ProjectedPixel(int x, int y, int z, TColor color)
{
    const TPoint p = ProjectPoint(x, y, z);
    SetPixel(p.X, p.Y, color);
}

// --- Rectangles and ovals

void TVMLCanvas::RectangleElement(const TRect &r, bool outline, bool round)
{
    const bool stroke = outline && !PenClear();
    if (BrushClear() && !stroke)
        return;
    QString line = QStringLiteral("<v:%1 style=\"position:absolute;left:%2;top:%3;width:%4;height:%5\"")
                       .arg(round ? QStringLiteral("roundrect") : QStringLiteral("rect"))
                       .arg(r.Left)
                       .arg(r.Top)
                       .arg(r.Right - r.Left)
                       .arg(r.Bottom - r.Top);
    if (!BrushClear())
        line += QStringLiteral(" fillcolor=") + ColorText(Brush().Color());
    line += stroke ? QStringLiteral(" strokecolor=") + ColorText(Pen().Color()) : QStringLiteral(" stroked=\"f\"");
    Add(line + QStringLiteral("/>"));
}

void TVMLCanvas::Rectangle(int x0, int y0, int x1, int y1)
{
    RectangleElement(TRect(x0, y0, x1, y1), true, false);
}

void TVMLCanvas::RectangleRect(const TRect &rect)
{
    RectangleElement(rect, true, false);
}

void TVMLCanvas::FillRect(const TRect &rect)
{
    RectangleElement(rect, false, false);
}

void TVMLCanvas::RoundRect(int x1, int y1, int x2, int y2, int, int)
{
    RectangleElement(TRect(x1, y1, x2, y2), true, true);
}

void TVMLCanvas::BevelFrame(const TRect &rect, TColor, TColor, int)
{
    Brush().SetStyle(bsClear);
    RectangleElement(rect, true, false);
}

void TVMLCanvas::ProjectedEllipse(int x1, int y1, int x2, int y2, int z)
{
    const TPoint a = ProjectPoint(x1, y1, z), b = ProjectPoint(x2, y2, z);
    if (BrushClear() && PenClear())
        return;
    Add(QStringLiteral("<v:oval style=\"position:absolute;left:%1;top:%2;height:%3;width:%4\" fillcolor=%5/>")
            .arg(a.X)
            .arg(a.Y)
            .arg(b.Y - a.Y)
            .arg(b.X - a.X)
            .arg(ColorText(Brush().Color())));
}

void TVMLCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    ProjectedEllipse(x1, y1, x2, y2, 0);
}

// --- Paths

QString TVMLCanvas::ShapeHeader() const
{
    QString line = QStringLiteral("<v:shape style=\"position:absolute;width:%1;height:%2\"")
                       .arg(FBounds.Width())
                       .arg(FBounds.Height());
    line += BrushClear() ? QStringLiteral(" filled=\"f\"") : QStringLiteral(" fillcolor=") + ColorText(Brush().Color());
    line += PenClear() ? QStringLiteral(" stroked=\"f\"") : QStringLiteral(" strokecolor=") + ColorText(Pen().Color());
    return line + QLatin1Char('>');
}

void TVMLCanvas::Polygon(const TPointArray &points)
{
    if ((BrushClear() && PenClear()) || points.empty())
        return;
    Add(ShapeHeader());
    QString path = QStringLiteral(" <v:path v=\"m %1 l ").arg(Pt(points[0].X, points[0].Y));
    for (size_t i = 1; i < points.size(); ++i)
        path += Pt(points[i].X, points[i].Y) + QLatin1Char(' ');
    Add(path + QStringLiteral(" x e\"/>"));
    Add(QStringLiteral("</v:shape>"));
}

void TVMLCanvas::FillScratchQuad()
{
    const TPoint *q = ScratchQuad();
    Polygon(TPointArray(q, q + 4));
}

void TVMLCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    if (PenClear())
        return;
    Add(ShapeHeader());
    Add(QStringLiteral(" <v:path v=\"ar %1 %2 %3 %4 e\"/>").arg(Pt(x1, y1), Pt(x2, y2), Pt(x3, y3), Pt(x4, y4)));
    Add(QStringLiteral("</v:shape>"));
}

void TVMLCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    if (BrushClear() && PenClear())
        return;
    Add(ShapeHeader());
    Add(QStringLiteral(" <v:path v=\"m %1 at %2 %3 %4 %5 x e\"/>")
            .arg(Pt((x1 + x2) / 2, (y1 + y2) / 2), Pt(x1, y1), Pt(x2, y2), Pt(x3, y3), Pt(x4, y4)));
    Add(QStringLiteral("</v:shape>"));
}

void TVMLCanvas::BandFill(const TRect &r, TColor startColor, TColor endColor, TGradientDirection direction)
{
    int angle = 0;
    switch (direction) {
    case gdTopBottom: angle = 180; break;
    case gdLeftRight: angle = 270; break;
    case gdRightLeft: angle = 90; break;
    case gdFromTopLeft: angle = 315; break;
    case gdFromBottomLeft: angle = 225; break;
    default: angle = 0; break;
    }
    Add(QStringLiteral("<v:shape style=\"position:absolute;width:%1;height:%2;\" stroked=\"f\">")
            .arg(FBounds.Width())
            .arg(FBounds.Height()));
    Add(QStringLiteral(" <v:path v=\"M %1 L %2 %3 %4 X E\"/>")
            .arg(Pt(r.Left, r.Top), Pt(r.Right, r.Top), Pt(r.Right, r.Bottom), Pt(r.Left, r.Bottom)));
    Add(QStringLiteral(" <v:fill type=\"gradient\" color=%1 color2=%2").arg(ColorText(startColor), ColorText(endColor)));
    Add(QStringLiteral(" method=\"sigma\" angle=\"%1\" focus=\"100%\"/>").arg(angle));
    Add(QStringLiteral("</v:shape>"));
}

// --- Text

void TVMLCanvas::ProjectedTextOut(int x, int y, int z, const QString &text)
{
    const TPoint p = ProjectPoint(x, y, z);
    const TKorFont *k = CurrentKorFont();
    const int sh = k ? k->ShadowHorizSize() : 0, sv = k ? k->ShadowVertSize() : 0;
    const int width = TextWidth(text);
    const QString colour = ColorText(Font().Color());
    const int size = (Font().Size() - 8) / 2 + 1;
    auto box = [&](int bx, int by) {
        if ((FAlign & taHorizontalMask) == taRight)
            bx -= width;
        else if ((FAlign & taHorizontalMask) == taCenter)
            bx -= width / 2;
        // The colour stands in a quoted style value: written without quotes.
        QString bare = colour;
        bare.remove(QLatin1Char('"'));
        Add(QStringLiteral("<v:textbox style=\"position:absolute; left:%1; top:%2; text-color=%3 text-align:left\">")
                .arg(bx + 1)
                .arg(by + 1)
                .arg(bare));
        Add(QStringLiteral("<font color=%1 face=\"%2\" size=\"%3\">").arg(colour, Escaped(Font().Name())).arg(size));
        Add(Escaped(text));
        Add(QStringLiteral("</font>"));
        Add(QStringLiteral("</v:textbox>"));
    };
    if (sh != 0 || sv != 0) {
        // A positive size moves the shadow copy; a negative one the main
        // copy, by its absolute value.
        const int shadowX = p.X + std::max(sh, 0), shadowY = p.Y + std::max(sv, 0);
        const int mainX = p.X + std::max(-sh, 0), mainY = p.Y + std::max(-sv, 0);
        box(shadowX, shadowY);
        box(mainX, mainY);
        return;
    }
    box(p.X, p.Y);
}

void TVMLCanvas::TextOut(int x, int y, const QString &text)
{
    ProjectedTextOut(x, y, 0, text);
}

void TVMLCanvas::RotatedText(int x, int y, double, const QString &text)
{
    ProjectedTextOut(x, y, 0, text);
}

void TVMLCanvas::ProjectedRotatedText(int x, int y, int z, double, const QString &text)
{
    ProjectedTextOut(x, y, z, text);
}

// ---------------------------------------------------------------------------
// The format

QString TVMLExportFormat::MenuCaption() const
{
    return SExportAsVML;
}

QString TVMLExportFormat::DialogFilter() const
{
    return SExportFilterVML;
}

QStringList TVMLExportFormat::Lines()
{
    const TExportPicture picture = Picture();
    if (Progress() && !Progress()->Step(0, 1))
        throw EExportCancelled();
    QStringList lines;
    TCustomKorPanel &panel = picture.Panel();
    std::unique_ptr<TKorCanvas3D> own = panel.ReplaceCanvas(std::make_unique<TVMLCanvas>(&lines));
    {
        TAtExit putBack([&panel, &own] {
            panel.ReplaceCanvas(std::move(own));
            panel.Invalidate();
        });
        picture.DrawWith([&](const TRect &rect) { panel.DrawView(nullptr, rect); });
    }
    lines.prepend(QStringLiteral("<body>"));
    lines.prepend(QStringLiteral("<html>"));
    lines << QStringLiteral("</body>") << QStringLiteral("</html>");
    if (Progress() && !Progress()->Step(1, 1))
        throw EExportCancelled();
    return lines;
}

void TVMLExportFormat::WriteImage(QIODevice &stream)
{
    const QByteArray bytes = (Lines().join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
    if (stream.write(bytes) != bytes.size())
        ExportWriteFailed(&stream, QStringLiteral("VML"), stream.errorString());
}

void TVMLExportFormat::CopyImageToClipboard()
{
    QGuiApplication::clipboard()->setText(Lines().join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}
