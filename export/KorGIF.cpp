#include "export/KorGIF.h"

#include "export/ExportFile.h"
#include "export/KorExportConst.h"

#include <QIODevice>
#include <algorithm>
#include <gif_lib.h>
#include <vector>

struct TGIFWriter::TState
{
    QIODevice *Device = nullptr;
    GifFileType *Gif = nullptr;
    std::unique_ptr<TColorMapper> Mapper;
    std::vector<GifPixelType> Line;
    QString WriteError;

    ~TState()
    {
        if (Gif) {
            int error = 0;
            EGifCloseFile(Gif, &error);
        }
    }

    static int OnWrite(GifFileType *gif, const GifByteType *data, int size)
    {
        auto *s = static_cast<TState *>(gif->UserData);
        const qint64 n = s->Device->write(reinterpret_cast<const char *>(data), size);
        if (n != size && s->WriteError.isEmpty())
            s->WriteError = s->Device->errorString();
        return n == size ? size : 0;
    }

    [[noreturn]] void Fail(int error) const
    {
        const QString reason = !WriteError.isEmpty() ? WriteError : QString::fromLatin1(GifErrorString(error));
        ExportWriteFailed(Device, QStringLiteral("GIF"), reason);
    }
    [[noreturn]] void Fail() const { Fail(Gif ? Gif->Error : 0); }
};

TGIFWriter::TGIFWriter(QIODevice *device, int width, int height, const QVector<QRgb> &palette, TDitherMode dither)
    : F(std::make_unique<TState>()), FWidth(width), FHeight(height)
{
    F->Device = device;
    Start(palette, dither, nullptr);
}

TGIFWriter::TGIFWriter(QIODevice *device, int width, int height, const QVector<QRgb> &palette, TDitherMode dither,
                       const TFrames &frames)
    : F(std::make_unique<TState>()), FWidth(width), FHeight(height)
{
    F->Device = device;
    Start(palette, dither, &frames);
}

void TGIFWriter::Start(const QVector<QRgb> &palette, TDitherMode dither, const TFrames *frames)
{
    const int width = FWidth;
    const int height = FHeight;
    QIODevice *device = F->Device;
    FAnimated = frames != nullptr;
    FDither = dither;
    TState *s = F.get();
    s->Device = device;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        throw EWriteError(FormatMessage(SExportPictureTooLarge,
                                        {QString::number(width), QString::number(height), QStringLiteral("GIF"),
                                         FormatMessage(SExportAtMostSide, {QString::number(kMaxSide)})}));
    s->Mapper = std::make_unique<TColorMapper>(palette, dither, width);
    const QVector<QRgb> &colors = s->Mapper->Palette();
    // The colour table has a power of two entries; the rest stay black.
    int bits = 1;
    while ((1 << bits) < colors.size())
        ++bits;
    std::vector<GifColorType> table(size_t(1) << bits, GifColorType{0, 0, 0});
    for (int i = 0; i < colors.size(); ++i)
        table[size_t(i)] = GifColorType{GifByteType(qRed(colors[i])), GifByteType(qGreen(colors[i])),
                                        GifByteType(qBlue(colors[i]))};
    int error = 0;
    s->Gif = EGifOpen(s, &TState::OnWrite, &error);
    if (!s->Gif)
        s->Fail(error);
    EGifSetGifVersion(s->Gif, true);
    ColorMapObject *map = GifMakeMapObject(1 << bits, table.data());
    if (!map)
        throw EWriteError(FormatMessage(SExportWriteFailed, {ExportTargetName(device, QStringLiteral("GIF")),
                                                             SExportOutOfMemory.Text()}));
    const int screen = EGifPutScreenDesc(s->Gif, width, height, 8, 0, map);
    GifFreeMapObject(map);
    if (screen == GIF_ERROR)
        s->Fail();
    s->Line.resize(size_t(width));
    if (!FAnimated) {
        if (EGifPutImageDesc(s->Gif, 0, 0, width, height, false, nullptr) == GIF_ERROR)
            s->Fail();
        return;
    }
    if (frames->Loop) {
        // The application block viewers read as "repeat for ever".
        static const GifByteType kApplication[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
        static const GifByteType kRepeat[] = {1, 0, 0};
        if (EGifPutExtensionLeader(s->Gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
            EGifPutExtensionBlock(s->Gif, sizeof kApplication, kApplication) == GIF_ERROR ||
            EGifPutExtensionBlock(s->Gif, sizeof kRepeat, kRepeat) == GIF_ERROR ||
            EGifPutExtensionTrailer(s->Gif) == GIF_ERROR)
            s->Fail();
    }
}

void TGIFWriter::CheckComplete() const
{
    if (FRows != FHeight)
        ExportWriteFailed(F->Device, QStringLiteral("GIF"),
                          FormatMessage(SExportRowsMissing, {QString::number(FRows), QString::number(FHeight)}));
}

void TGIFWriter::BeginFrame(int delay)
{
    TState *s = F.get();
    if (!FAnimated || !s->Gif)
        return;
    if (FFrames > 0)
        CheckComplete();
    GraphicsControlBlock control;
    control.DisposalMode = DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = std::clamp(delay, 0, 65535);
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType block[4];
    EGifGCBToExtension(&control, block);
    if (EGifPutExtension(s->Gif, GRAPHICS_EXT_FUNC_CODE, sizeof block, block) == GIF_ERROR ||
        EGifPutImageDesc(s->Gif, 0, 0, FWidth, FHeight, false, nullptr) == GIF_ERROR)
        s->Fail();
    // Each frame is dithered afresh.
    s->Mapper = std::make_unique<TColorMapper>(s->Mapper->Palette(), FDither, FWidth);
    FRows = 0;
    ++FFrames;
}

TGIFWriter::~TGIFWriter() = default;

void TGIFWriter::WriteRows(const QImage &rows)
{
    if (rows.isNull())
        return;
    TState *s = F.get();
    if (rows.width() != FWidth)
        ExportWriteFailed(s->Device, QStringLiteral("GIF"),
                          FormatMessage(SExportRowWidth, {QString::number(rows.width()), QString::number(FWidth)}));
    if (rows.height() > FHeight - FRows || (FAnimated && FFrames == 0))
        ExportWriteFailed(s->Device, QStringLiteral("GIF"), SExportTooManyRows);
    const QImage rgb = rows.format() == QImage::Format_RGB32 || rows.format() == QImage::Format_ARGB32
                           ? rows
                           : rows.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        s->Mapper->MapRow(reinterpret_cast<const QRgb *>(rgb.constScanLine(y)), s->Line.data());
        if (EGifPutLine(s->Gif, s->Line.data(), FWidth) == GIF_ERROR)
            s->Fail();
    }
    FRows += rows.height();
}

void TGIFWriter::Finish()
{
    TState *s = F.get();
    CheckComplete();
    int error = 0;
    GifFileType *gif = s->Gif;
    s->Gif = nullptr;
    if (EGifCloseFile(gif, &error) == GIF_ERROR)
        s->Fail(error);
}
