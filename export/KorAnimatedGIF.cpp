#include "export/KorAnimatedGIF.h"

#include "animation/TreeAnimate.h"
#include "core/Rounding.h"
#include "core/ScopeExit.h"
#include "export/ExportFile.h"
#include "export/KorExportConst.h"
#include "export/KorGIF.h"
#include "export/RasterExport.h"
#include "view/Arbolix.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// Plays the player once, calling `frame` after every frame's values are
// applied (before the last frame stops the player and puts them back).
void PlayThrough(TTreeAnimate &player, const std::function<void()> &frame)
{
    player.Stop();
    const bool loop = player.Loop();
    TNotifyEvent onFrame = player.OnFrame;
    TAtExit restore([&] {
        player.SetLoop(loop);
        player.OnFrame = onFrame;
        player.Stop();
    });
    player.SetLoop(false);
    player.OnFrame = [&](TObject *) { frame(); };
    player.Play();
    // The frames are played here, not by the timer.
    if (player.Timer())
        player.Timer()->SetEnabled(false);
    while (player.State() == asPlaying)
        player.NextFrame();
}

} // namespace

int AnimatedGIFDelay(const TTreeAnimate &player)
{
    return std::max(2, dx::RoundEven(player.Interval() / 10.0));
}

void WriteAnimatedGIF(TCustomTree &tree, TTreeAnimate &player, QIODevice &device, TDitherMode dither,
                      TColorReduction reduction)
{
    if (player.Animations().Count() == 0)
        throw EExportError(SExportNoAnimation);
    int last = 0;
    for (TAnimation *a : player.Animations())
        last = std::max(last, a->EndFrame());
    // Frames 0 ... last frame + 1 are shown.
    const long long frames = static_cast<long long>(last) + 2;
    if (frames > kMaxAnimatedGIFFrames)
        throw EExportError(FormatMessage(SExportTooManyFrames,
                                         {QString::number(frames), QString::number(kMaxAnimatedGIFFrames)}));

    // First pass: the part of the diagram any frame covers, in diagram
    // units at the current zoom.
    const int zoom = std::max(1, tree.View3DOptions()->Zoom());
    double left = HUGE_VAL, top = HUGE_VAL, right = -HUGE_VAL, bottom = -HUGE_VAL;
    PlayThrough(player, [&] {
        const TCustomTree::TWholePicture whole = tree.WholePicture();
        left = std::min(left, double(whole.Origin.X));
        top = std::min(top, double(whole.Origin.Y));
        right = std::max(right, whole.Origin.X + whole.Rect.Width() * 100.0 / zoom);
        bottom = std::max(bottom, whole.Origin.Y + whole.Rect.Height() * 100.0 / zoom);
    });
    if (!(left <= right && top <= bottom))
        throw EExportError(SExportNoAnimation);
    const double w = std::ceil((right - left) * zoom / 100.0);
    const double h = std::ceil((bottom - top) * zoom / 100.0);
    if (w > TGIFWriter::kMaxSide || h > TGIFWriter::kMaxSide)
        throw EWriteError(FormatMessage(SExportPictureTooLarge,
                                        {QString::number(w, 'f', 0), QString::number(h, 'f', 0), QStringLiteral("GIF"),
                                         FormatMessage(SExportAtMostSide, {QString::number(TGIFWriter::kMaxSide)})}));
    const TExportPicture picture = TExportPicture::DiagramAt(
        tree, TPoint(static_cast<int>(std::floor(left)), static_cast<int>(std::floor(top))), static_cast<int>(w),
        static_cast<int>(h));

    // Second pass, for the palettes made from the pictures' colours.
    TColorHistogram histogram;
    const bool adaptive = ReductionNeedsHistogram(reduction);
    if (adaptive)
        PlayThrough(player, [&] {
            picture.Render(false, [&](const QImage &strip, int) { histogram.Add(strip); });
        });

    TGIFWriter gif(&device, picture.Width(), picture.Height(), PaletteFor(reduction, adaptive ? &histogram : nullptr),
                   dither, TGIFWriter::TFrames{player.Loop()});
    const int delay = AnimatedGIFDelay(player);
    PlayThrough(player, [&] {
        gif.BeginFrame(delay);
        picture.Render(false, [&](const QImage &strip, int) { gif.WriteRows(strip); });
    });
    gif.Finish();
}
