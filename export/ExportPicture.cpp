#include "export/ExportPicture.h"

#include "core/ScopeExit.h"
#include "export/ExportFile.h"
#include "export/KorExportConst.h"
#include "view/Arbolix.h"

#include <QPainter>
#include <algorithm>
#include <climits>
#include <cmath>

TExportPicture::TExportPicture(TCustomKorPanel &panel, int width, int height) : FPanel(&panel)
{
    const int w = width > 0 ? width : std::max(1, panel.width());
    const int h = height > 0 ? height : std::max(1, panel.height());
    FSize = TRect(0, 0, w, h);
    FRect = FSize;
}

TExportPicture TExportPicture::WholeDiagram(TCustomTree &tree, int width, int height)
{
    TExportPicture p;
    p.FPanel = &tree;
    p.FTree = &tree;
    TView3DOptions *o = tree.View3DOptions();
    p.FZoom = o->Zoom();
    TCustomTree::TWholePicture whole = tree.WholePicture();
    if (width > 0 || height > 0) {
        // The zoom that makes the picture as wide (high) as asked, or that
        // fits it in both; pictures are measured at the zoom to be used,
        // since margins and rounding do not scale exactly.
        const double sx = width > 0 ? double(width) / whole.Rect.Width() : HUGE_VAL;
        const double sy = height > 0 ? double(height) / whole.Rect.Height() : HUGE_VAL;
        const double s = std::min(sx, sy);
        const int zoom = static_cast<int>(std::clamp(std::floor(p.FZoom * s), 1.0, 1.0e6));
        if (zoom != p.FZoom) {
            const int saved = p.FZoom;
            o->SetZoom(zoom);
            p.FZoom = o->Zoom();
            whole = tree.WholePicture();
            o->SetZoom(saved);
        }
    }
    const int w = width > 0 ? width
                            : (height > 0 ? std::max(1, static_cast<int>(std::lround(double(height) * whole.Rect.Width() /
                                                                                     whole.Rect.Height())))
                                          : whole.Rect.Width());
    const int h = height > 0 ? height
                             : (width > 0 ? std::max(1, static_cast<int>(std::lround(double(width) * whole.Rect.Height() /
                                                                                     whole.Rect.Width())))
                                          : whole.Rect.Height());
    p.FSize = TRect(0, 0, w, h);
    // Centred in a picture of the size asked for.
    const int dx = std::max(0, (w - whole.Rect.Width()) / 2);
    const int dy = std::max(0, (h - whole.Rect.Height()) / 2);
    p.FRect = TRect(dx, dy, dx + std::min(w, whole.Rect.Width()), dy + std::min(h, whole.Rect.Height()));
    p.FOrigin = whole.Origin;
    return p;
}

TExportPicture TExportPicture::DiagramAt(TCustomTree &tree, const TPoint &origin, int width, int height)
{
    TExportPicture p;
    p.FPanel = &tree;
    p.FTree = &tree;
    p.FZoom = tree.View3DOptions()->Zoom();
    p.FSize = TRect(0, 0, std::max(1, width), std::max(1, height));
    p.FRect = p.FSize;
    p.FOrigin = origin;
    return p;
}

TColor TExportPicture::Background() const
{
    const TColor c = FPanel->Color();
    return c == clNone ? clWhite : c;
}

bool TExportPicture::Renderable() const
{
    return Width() > 0 && Height() > 0 && Width() <= kMaxWidth && Width() < INT_MAX && Height() < INT_MAX;
}

void TExportPicture::TooLarge(const QString &format, const QString &limit) const
{
    throw EWriteError(FormatMessage(SExportPictureTooLarge,
                                    {QString::number(Width()), QString::number(Height()), format, limit}));
}

void TExportPicture::CheckRenderable(const QString &format) const
{
    if (!Renderable())
        TooLarge(format, FormatMessage(SExportAtMostWide, {QString::number(kMaxWidth)}));
}

int TExportPicture::StripHeight() const
{
    const qint64 rowBytes = qint64(std::max(1, Width())) * 4;
    return static_cast<int>(std::clamp<qint64>(FStripBytes / rowBytes, 1, std::max(1, Height())));
}

int TExportPicture::StripCount() const
{
    const int s = StripHeight();
    return static_cast<int>((qint64(Height()) + s - 1) / s);
}

void TExportPicture::Showing(const std::function<void()> &draw) const
{
    if (!FTree) {
        draw();
        return;
    }
    TView3DOptions *o = FTree->View3DOptions();
    const int saved = o->Zoom();
    const int h = o->HorizOffset();
    const int v = o->VertOffset();
    if (saved != FZoom)
        o->SetZoom(FZoom);
    TAtExit restore([o, saved, h, v] {
        if (o->Zoom() != saved)
            o->SetZoom(saved);
        o->SetHorizOffset(h);
        o->SetVertOffset(v);
    });
    FTree->ShowingOrigin(FOrigin, TRect(0, 0, FRect.Width(), FRect.Height()), draw);
}

void TExportPicture::Render(bool bottomUp, const std::function<void(const QImage &, int)> &sink,
                            TExportProgress *progress) const
{
    const int count = StripCount();
    const int stripHeight = StripHeight();
    const TColor background = Background();
    if (progress && !progress->Step(0, count))
        throw EExportCancelled();
    // One image serves every full strip; the last one may be shorter.
    QImage image;
    Showing([&] {
        for (int i = 0; i < count; ++i) {
            const int strip = bottomUp ? count - 1 - i : i;
            const int top = strip * stripHeight;
            const int rows = std::min(Height() - top, stripHeight);
            if (image.height() != rows)
                image = QImage(Width(), rows, QImage::Format_RGB32);
            if (image.isNull())
                throw std::bad_alloc();
            if (FRect == FSize && FPanel->Color() != clNone) {
                // The panel fills its background itself.
                QPainter p(&image);
                p.translate(0, -top);
                FPanel->RenderUnbuffered(&p, FRect);
            } else if (FRect == FSize) {
                FPanel->RenderInto(image, background, FRect, TPoint(0, top));
            } else {
                // The drawing covers part of the picture: the rest shows the
                // background.
                image.fill(ToQColor(background));
                QImage part(FRect.Width(), rows, QImage::Format_RGB32);
                FPanel->RenderInto(part, background, TRect(0, 0, FRect.Width(), FRect.Height()),
                                   TPoint(0, top - FRect.Top));
                QPainter p(&image);
                p.setClipRect(QRect(0, FRect.Top - top, Width(), FRect.Height()));
                p.drawImage(FRect.Left, 0, part);
            }
            sink(image, top);
            if (progress && !progress->Step(i + 1, count))
                throw EExportCancelled();
        }
    });
}

QImage TExportPicture::RenderWhole() const
{
    QImage whole;
    TExportPicture copy = *this;
    copy.FStripBytes = qint64(Width()) * 4 * Height() + 1;
    copy.Render(false, [&whole](const QImage &strip, int) { whole = strip; });
    return whole;
}

void TExportPicture::Draw(QPainter *painter) const
{
    Showing([&] {
        painter->save();
        TAtExit restore([painter] { painter->restore(); });
        painter->fillRect(QRect(0, 0, Width(), Height()), ToQColor(Background()));
        painter->translate(FRect.Left, FRect.Top);
        painter->setClipRect(QRect(0, 0, FRect.Width(), FRect.Height()));
        FPanel->RenderUnbuffered(painter, TRect(0, 0, FRect.Width(), FRect.Height()));
    });
}

void TExportPicture::DrawWith(const std::function<void(const TRect &)> &draw) const
{
    Showing([&] { draw(TRect(0, 0, FRect.Width(), FRect.Height())); });
}
