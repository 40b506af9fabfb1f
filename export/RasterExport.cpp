#include "export/RasterExport.h"

#include <QMimeData>

void GatherColors(const TExportPicture &picture, TColorPass &pass, TExportProgress *progress)
{
    const bool single = picture.StripCount() == 1;
    picture.Render(
        false,
        [&pass, single](const QImage &strip, int) {
            pass.Histogram.Add(strip);
            if (single)
                pass.Single = strip.copy();
        },
        progress);
}

void RenderStrips(const TExportPicture &picture, bool bottomUp, const TColorPass *pass,
                  const std::function<void(const QImage &, int)> &sink, TExportProgress *progress)
{
    if (pass && !pass->Single.isNull()) {
        sink(pass->Single, 0);
        return;
    }
    picture.Render(bottomUp, sink, progress);
}

QMimeData *ImageMimeData(const QImage &image, const QString &mime, const QByteArray &bytes)
{
    auto *data = new QMimeData;
    data->setImageData(image);
    if (!mime.isEmpty())
        data->setData(mime, bytes);
    return data;
}

namespace {
QString Plain(const QString &s)
{
    QString out;
    for (QChar c : s)
        if (c.isLetterOrNumber())
            out += c.toLower();
    return out;
}
} // namespace

int NamedIndex(const QStringList &names, const QString &value)
{
    const QString v = Plain(value);
    for (int i = 0; i < names.size(); ++i)
        if (Plain(names[i]) == v)
            return i;
    return -1;
}

QString CommandLineName(const QString &name)
{
    QString out;
    for (QChar c : name) {
        if (c.isLetterOrNumber())
            out += c.toLower();
        else if (!out.isEmpty() && !out.endsWith(QLatin1Char('-')))
            out += QLatin1Char('-');
    }
    while (out.endsWith(QLatin1Char('-')))
        out.chop(1);
    return out;
}
