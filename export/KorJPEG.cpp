#include "export/KorJPEG.h"

#include "export/ExportFile.h"
#include "export/KorExportConst.h"

#include <QIODevice>
#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <vector>
// The library's header needs FILE and size_t declared first.
#include <jpeglib.h>

// libjpeg reports errors through error_exit, which jumps back to the setjmp
// of the call that started the work (Run); nothing with a destructor lives
// in between.
struct TJPEGWriter::TState
{
    jpeg_compress_struct Info{};
    struct TError
    {
        jpeg_error_mgr Mgr;
        jmp_buf Jump;
        char Message[JMSG_LENGTH_MAX];
    } Error{};
    struct TDestination
    {
        jpeg_destination_mgr Mgr;
        TState *State;
    } Destination{};
    QIODevice *Device = nullptr;
    std::vector<JOCTET> Buffer = std::vector<JOCTET>(size_t(1) << 16);
    std::vector<JSAMPLE> Row;
    bool Created = false;
    char WriteError[256] = {};

    ~TState()
    {
        if (Created)
            jpeg_destroy_compress(&Info);
    }

    template <class F>
    bool Run(F f)
    {
        if (setjmp(Error.Jump))
            return false;
        f();
        return true;
    }

    static void OnErrorExit(j_common_ptr info)
    {
        auto *e = reinterpret_cast<TError *>(info->err);
        (*info->err->format_message)(info, e->Message);
        longjmp(e->Jump, 1);
    }
    static void OnMessage(j_common_ptr) {}

    static TState *Of(j_compress_ptr info)
    {
        return reinterpret_cast<TDestination *>(info->dest)->State;
    }
    static void OnInit(j_compress_ptr info)
    {
        TState *s = Of(info);
        info->dest->next_output_byte = s->Buffer.data();
        info->dest->free_in_buffer = s->Buffer.size();
    }
    bool Put(size_t size)
    {
        if (Device->write(reinterpret_cast<const char *>(Buffer.data()), qint64(size)) == qint64(size))
            return true;
        const QByteArray reason = Device->errorString().toUtf8();
        qstrncpy(WriteError, reason.isEmpty() ? "write failed" : reason.constData(), sizeof WriteError);
        return false;
    }
    static boolean OnEmpty(j_compress_ptr info)
    {
        TState *s = Of(info);
        if (!s->Put(s->Buffer.size())) {
            qstrncpy(s->Error.Message, s->WriteError, sizeof s->Error.Message);
            longjmp(s->Error.Jump, 1);
        }
        OnInit(info);
        return TRUE;
    }
    static void OnTerm(j_compress_ptr info)
    {
        TState *s = Of(info);
        if (!s->Put(s->Buffer.size() - info->dest->free_in_buffer)) {
            qstrncpy(s->Error.Message, s->WriteError, sizeof s->Error.Message);
            longjmp(s->Error.Jump, 1);
        }
    }

    [[noreturn]] void Fail(const QString &reason) const { ExportWriteFailed(Device, QStringLiteral("JPEG"), reason); }
    [[noreturn]] void Fail() const { Fail(QString::fromLocal8Bit(Error.Message)); }
};

TJPEGWriter::TJPEGWriter(QIODevice *device, int width, int height, const TOptions &options)
    : F(std::make_unique<TState>()), FWidth(width), FHeight(height)
{
    TState *s = F.get();
    s->Device = device;
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        throw EWriteError(FormatMessage(SExportPictureTooLarge,
                                        {QString::number(width), QString::number(height), QStringLiteral("JPEG"),
                                         FormatMessage(SExportAtMostSide, {QString::number(kMaxSide)})}));
    s->Info.err = jpeg_std_error(&s->Error.Mgr);
    s->Error.Mgr.error_exit = &TState::OnErrorExit;
    s->Error.Mgr.output_message = &TState::OnMessage;
    s->Row.resize(size_t(width) * 3);
    const TOptions o = options;
    const bool ok = s->Run([s, width, height, o] {
        jpeg_create_compress(&s->Info);
        s->Created = true;
        s->Destination.Mgr.init_destination = &TState::OnInit;
        s->Destination.Mgr.empty_output_buffer = &TState::OnEmpty;
        s->Destination.Mgr.term_destination = &TState::OnTerm;
        s->Destination.State = s;
        s->Info.dest = &s->Destination.Mgr;
        s->Info.image_width = JDIMENSION(width);
        s->Info.image_height = JDIMENSION(height);
        s->Info.input_components = 3;
        s->Info.in_color_space = JCS_RGB;
        jpeg_set_defaults(&s->Info);
        if (o.GrayScale)
            jpeg_set_colorspace(&s->Info, JCS_GRAYSCALE);
        jpeg_set_quality(&s->Info, std::clamp(o.Quality, 1, 100), TRUE);
        // Quality: the exact transform and Huffman tables made for the
        // picture; speed: the fast transform and the standard tables.
        s->Info.dct_method = o.Speed ? JDCT_IFAST : JDCT_ISLOW;
        s->Info.optimize_coding = o.Speed ? FALSE : TRUE;
        jpeg_start_compress(&s->Info, TRUE);
    });
    if (!ok)
        s->Fail();
}

TJPEGWriter::~TJPEGWriter() = default;

void TJPEGWriter::WriteRows(const QImage &rows)
{
    if (rows.isNull())
        return;
    if (rows.width() != FWidth)
        F->Fail(FormatMessage(SExportRowWidth, {QString::number(rows.width()), QString::number(FWidth)}));
    if (rows.height() > FHeight - FRows)
        F->Fail(SExportTooManyRows);
    const QImage rgb = rows.format() == QImage::Format_RGB32 || rows.format() == QImage::Format_ARGB32
                           ? rows
                           : rows.convertToFormat(QImage::Format_RGB32);
    TState *s = F.get();
    const int w = FWidth;
    const bool ok = s->Run([s, &rgb, w] {
        for (int y = 0; y < rgb.height(); ++y) {
            const auto *px = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
            JSAMPLE *out = s->Row.data();
            for (int x = 0; x < w; ++x) {
                *out++ = JSAMPLE(qRed(px[x]));
                *out++ = JSAMPLE(qGreen(px[x]));
                *out++ = JSAMPLE(qBlue(px[x]));
            }
            JSAMPROW row = s->Row.data();
            jpeg_write_scanlines(&s->Info, &row, 1);
        }
    });
    if (!ok)
        s->Fail();
    FRows += rows.height();
}

void TJPEGWriter::Finish()
{
    if (FRows != FHeight)
        F->Fail(FormatMessage(SExportRowsMissing, {QString::number(FRows), QString::number(FHeight)}));
    TState *s = F.get();
    if (!s->Run([s] { jpeg_finish_compress(&s->Info); }))
        s->Fail();
}
