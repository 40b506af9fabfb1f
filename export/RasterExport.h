#pragma once
// What the raster formats share: a first pass over the picture for the
// colours of an adaptive palette (keeping the picture when it is one
// strip, so it is rendered once), the picture on the clipboard, and the
// naming of values on the command line.

#include "export/ColorReduction.h"
#include "export/ExportPicture.h"

#include <QImage>
#include <QStringList>
#include <functional>

class QMimeData;

struct TColorPass
{
    TColorHistogram Histogram;
    QImage Single; // the whole picture when it is one strip
};

// Counts the picture's colours.
void GatherColors(const TExportPicture &picture, TColorPass &pass, TExportProgress *progress);
// Renders the picture's strips, or hands on the one kept by the colour
// pass.
void RenderStrips(const TExportPicture &picture, bool bottomUp, const TColorPass *pass,
                  const std::function<void(const QImage &, int)> &sink, TExportProgress *progress);
// Mime data holding the picture as an image, and the file's bytes under
// `mime` (unless empty).
QMimeData *ImageMimeData(const QImage &image, const QString &mime, const QByteArray &bytes);
// The index of `value` among `names` compared without case, spaces and
// dashes; -1 when absent.
int NamedIndex(const QStringList &names, const QString &value);
// The names as the command line writes them: lower case, words joined by
// dashes ("floyd-steinberg").
QString CommandLineName(const QString &name);
