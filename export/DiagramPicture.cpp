#include "export/DiagramPicture.h"

#include <QPainter>
#include <algorithm>
#include <climits>

TDiagramPicture::TDiagramPicture(TCustomTree &tree, qint64 stripBytes) : FTree(tree), FWhole(tree.WholePicture())
{
    const qint64 rowBytes = qint64(std::max(1, Width())) * 4;
    FStripHeight = static_cast<int>(std::clamp<qint64>(stripBytes / rowBytes, 1, std::max(1, Height())));
}

bool TDiagramPicture::Renderable() const
{
    return Width() > 0 && Height() > 0 && Width() <= kMaxWidth && Width() < INT_MAX && Height() < INT_MAX;
}

void TDiagramPicture::Render(bool bottomUp, const std::function<void(const QImage &, int)> &sink)
{
    const TRect whole = FWhole.Rect;
    const int count = StripCount();
    // One image serves every full strip; the last one may be shorter.
    QImage image;
    FTree.ShowingOrigin(FWhole.Origin, whole, [&] {
        for (int i = 0; i < count; ++i) {
            const int strip = bottomUp ? count - 1 - i : i;
            const int top = strip * FStripHeight;
            const int rows = std::min(Height() - top, FStripHeight);
            if (image.height() != rows)
                image = QImage(Width(), rows, QImage::Format_RGB32);
            FTree.RenderInto(image, FTree.Color(), whole, TPoint(0, top));
            sink(image, top);
        }
    });
}

QImage TDiagramPicture::RenderWhole()
{
    QImage whole;
    FTree.ShowingOrigin(FWhole.Origin, FWhole.Rect,
                        [&] { whole = FTree.RenderToBitmap(FTree.Color(), FWhole.Rect); });
    return whole;
}
