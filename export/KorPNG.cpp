#include "export/KorPNG.h"

#include "export/KorExportConst.h"

#include <QFile>
#include <QIODevice>
#include <algorithm>
#include <csetjmp>
#include <png.h>

// libpng reports errors by a long jump back to the setjmp of the call
// that started the work; every call into the library goes through Run, and
// nothing with a destructor lives between it and the library.
struct TPNGWriter::TState
{
    png_structp Png = nullptr;
    png_infop Info = nullptr;
    QIODevice *Device = nullptr;
    // The library's or the device's complaint, for the exception.
    char Error[256] = {};

    ~TState()
    {
        if (Png)
            png_destroy_write_struct(&Png, Info ? &Info : nullptr);
    }

    template <class F>
    bool Run(F f)
    {
        if (setjmp(png_jmpbuf(Png)))
            return false;
        f();
        return true;
    }

    static void OnError(png_structp png, png_const_charp message)
    {
        auto *s = static_cast<TState *>(png_get_error_ptr(png));
        if (message != s->Error)
            qstrncpy(s->Error, message ? message : "", sizeof s->Error);
        png_longjmp(png, 1);
    }
    static void OnWarning(png_structp, png_const_charp) {}
    static void OnWrite(png_structp png, png_bytep data, png_size_t length)
    {
        auto *s = static_cast<TState *>(png_get_io_ptr(png));
        if (s->Device->write(reinterpret_cast<const char *>(data), static_cast<qint64>(length)) ==
            static_cast<qint64>(length))
            return;
        {
            // Gone before the jump, which skips destructors.
            const QByteArray reason = s->Device->errorString().toUtf8();
            qstrncpy(s->Error, reason.isEmpty() ? "write failed" : reason.constData(), sizeof s->Error);
        }
        png_error(png, s->Error);
    }
    static void OnFlush(png_structp) {}

    [[noreturn]] void Fail(const QString &reason) const
    {
        QString target = QStringLiteral("PNG");
        if (auto *file = qobject_cast<QFileDevice *>(Device))
            target = file->fileName();
        throw EWriteError(FormatMessage(SExportWriteFailed, {target, reason}));
    }
    [[noreturn]] void Fail() const { Fail(QString::fromUtf8(Error)); }
};

TPNGWriter::TPNGWriter(QIODevice *device, int width, int height, const TOptions &options)
    : F(std::make_unique<TState>()), FWidth(width), FHeight(height)
{
    F->Device = device;
    if (width <= 0 || height <= 0)
        F->Fail(QStringLiteral("%1 x %2").arg(width).arg(height));
    F->Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, F.get(), &TState::OnError, &TState::OnWarning);
    if (F->Png)
        F->Info = png_create_info_struct(F->Png);
    if (!F->Png || !F->Info)
        F->Fail(QStringLiteral("out of memory"));
    const int level = std::clamp(options.CompressionLevel, 0, 9);
    const bool sub = options.SubFilterOnly;
    TState *s = F.get();
    const bool ok = s->Run([s, width, height, level, sub] {
        png_set_write_fn(s->Png, s, &TState::OnWrite, &TState::OnFlush);
        png_set_write_status_fn(s->Png, nullptr);
        // Tall diagrams go beyond the library's default limit of a million
        // rows.
        png_set_user_limits(s->Png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
        png_set_IHDR(s->Png, s->Info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                     PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_set_compression_level(s->Png, level);
        if (sub)
            png_set_filter(s->Png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
        png_write_info(s->Png, s->Info);
        // Rows arrive as 32-bit pixels 0xffRRGGBB: the library drops the
        // unused byte (and, in little-endian memory order, swaps to RGB).
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
        png_set_bgr(s->Png);
        png_set_filler(s->Png, 0, PNG_FILLER_AFTER);
#else
        png_set_filler(s->Png, 0, PNG_FILLER_BEFORE);
#endif
    });
    if (!ok)
        F->Fail();
}

TPNGWriter::~TPNGWriter() = default;

void TPNGWriter::WriteRows(const QImage &rows)
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
    const bool ok = s->Run([s, &rgb] {
        for (int y = 0; y < rgb.height(); ++y)
            png_write_row(s->Png, const_cast<png_bytep>(rgb.constScanLine(y)));
    });
    if (!ok)
        F->Fail();
    FRows += rows.height();
}

void TPNGWriter::Finish()
{
    if (FRows != FHeight)
        F->Fail(FormatMessage(SExportRowsMissing, {QString::number(FRows), QString::number(FHeight)}));
    TState *s = F.get();
    const bool ok = s->Run([s] {
        png_write_end(s->Png, s->Info);
        png_write_flush(s->Png);
    });
    if (!ok)
        F->Fail();
}

void SaveImageAsPNG(const QImage &image, const QString &fileName, const TPNGWriter::TOptions &options)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw EWriteError(FormatMessage(SExportWriteFailed, {fileName, file.errorString()}));
    TPNGWriter png(&file, image.width(), image.height(), options);
    png.WriteRows(image);
    png.Finish();
    if (!file.flush())
        throw EWriteError(FormatMessage(SExportWriteFailed, {fileName, file.errorString()}));
}
