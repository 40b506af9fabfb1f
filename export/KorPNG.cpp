#include "export/KorPNG.h"

#include "export/ExportFile.h"
#include "export/KorExportConst.h"

#include <QIODevice>
#include <algorithm>
#include <csetjmp>
#include <dlfcn.h>
#include <png.h>

// ---------------------------------------------------------------------------
// The library, resolved by name when first asked for.

namespace {

struct TPNGLibrary
{
    void *Handle = nullptr;
    bool Complete = false;
#define DX_PNG_ENTRY(name) decltype(&::name) name = nullptr;
    DX_PNG_ENTRY(png_create_write_struct)
    DX_PNG_ENTRY(png_create_info_struct)
    DX_PNG_ENTRY(png_set_compression_level)
    DX_PNG_ENTRY(png_set_write_fn)
    DX_PNG_ENTRY(png_set_write_status_fn)
    DX_PNG_ENTRY(png_set_IHDR)
    DX_PNG_ENTRY(png_write_info)
    DX_PNG_ENTRY(png_write_image)
    DX_PNG_ENTRY(png_write_end)
    DX_PNG_ENTRY(png_write_flush)
    DX_PNG_ENTRY(png_destroy_write_struct)
    DX_PNG_ENTRY(png_write_row)
    DX_PNG_ENTRY(png_set_longjmp_fn)
    DX_PNG_ENTRY(png_longjmp)
    DX_PNG_ENTRY(png_error)
    DX_PNG_ENTRY(png_get_io_ptr)
    DX_PNG_ENTRY(png_get_error_ptr)
    DX_PNG_ENTRY(png_set_filter)
    DX_PNG_ENTRY(png_set_bgr)
    DX_PNG_ENTRY(png_set_filler)
    DX_PNG_ENTRY(png_set_user_limits)
    DX_PNG_ENTRY(png_set_compression_strategy)
    DX_PNG_ENTRY(png_get_libpng_ver)
#undef DX_PNG_ENTRY

    TPNGLibrary()
    {
        for (const char *name : {"libpng16.so.16", "libpng16.so", "libpng.so"}) {
            Handle = ::dlopen(name, RTLD_NOW | RTLD_LOCAL);
            if (Handle)
                break;
        }
        if (!Handle)
            return;
        bool all = true;
        auto resolve = [this, &all](auto &entry, const char *name) {
            entry = reinterpret_cast<std::remove_reference_t<decltype(entry)>>(::dlsym(Handle, name));
            all = all && entry;
        };
#define DX_PNG_RESOLVE(name) resolve(name, #name);
        DX_PNG_RESOLVE(png_create_write_struct)
        DX_PNG_RESOLVE(png_create_info_struct)
        DX_PNG_RESOLVE(png_set_compression_level)
        DX_PNG_RESOLVE(png_set_write_fn)
        DX_PNG_RESOLVE(png_set_write_status_fn)
        DX_PNG_RESOLVE(png_set_IHDR)
        DX_PNG_RESOLVE(png_write_info)
        DX_PNG_RESOLVE(png_write_image)
        DX_PNG_RESOLVE(png_write_end)
        DX_PNG_RESOLVE(png_write_flush)
        DX_PNG_RESOLVE(png_destroy_write_struct)
        DX_PNG_RESOLVE(png_write_row)
        DX_PNG_RESOLVE(png_set_longjmp_fn)
        DX_PNG_RESOLVE(png_longjmp)
        DX_PNG_RESOLVE(png_error)
        DX_PNG_RESOLVE(png_get_io_ptr)
        DX_PNG_RESOLVE(png_get_error_ptr)
        DX_PNG_RESOLVE(png_set_filter)
        DX_PNG_RESOLVE(png_set_bgr)
        DX_PNG_RESOLVE(png_set_filler)
        DX_PNG_RESOLVE(png_set_user_limits)
        DX_PNG_RESOLVE(png_set_compression_strategy)
        DX_PNG_RESOLVE(png_get_libpng_ver)
#undef DX_PNG_RESOLVE
        Complete = all;
    }
    ~TPNGLibrary()
    {
        if (Handle)
            ::dlclose(Handle);
    }
};

const TPNGLibrary &Library()
{
    static const TPNGLibrary library;
    return library;
}

} // namespace

bool PNGLibraryPresent()
{
    return Library().Complete;
}

QString PNGLibraryVersion()
{
    return PNGLibraryPresent() ? QString::fromLatin1(Library().png_get_libpng_ver(nullptr)) : QString();
}

TPNGWriter::TOptions TPNGWriter::DiagramOptions(int level)
{
    TOptions o;
    o.CompressionLevel = std::clamp(level, 0, 9);
    o.Filters = pfUp;
    o.Strategy = psRunLength;
    return o;
}

// ---------------------------------------------------------------------------
// The writer

// libpng reports errors by a long jump back to the setjmp of the call
// that started the work; every call into the library goes through Run, and
// nothing with a destructor lives between it and the library.
struct TPNGWriter::TState
{
    const TPNGLibrary &L = Library();
    png_structp Png = nullptr;
    png_infop Info = nullptr;
    QIODevice *Device = nullptr;
    // The library's or the device's complaint, for the exception.
    char Error[256] = {};

    ~TState()
    {
        if (Png)
            L.png_destroy_write_struct(&Png, Info ? &Info : nullptr);
    }

    template <class F>
    bool Run(F f)
    {
        if (setjmp(*L.png_set_longjmp_fn(Png, longjmp, sizeof(jmp_buf))))
            return false;
        f();
        return true;
    }

    static void OnError(png_structp png, png_const_charp message)
    {
        auto *s = static_cast<TState *>(Library().png_get_error_ptr(png));
        if (message != s->Error)
            qstrncpy(s->Error, message ? message : "", sizeof s->Error);
        Library().png_longjmp(png, 1);
    }
    static void OnWarning(png_structp, png_const_charp) {}
    static void OnWrite(png_structp png, png_bytep data, png_size_t length)
    {
        auto *s = static_cast<TState *>(Library().png_get_io_ptr(png));
        if (s->Device->write(reinterpret_cast<const char *>(data), static_cast<qint64>(length)) ==
            static_cast<qint64>(length))
            return;
        {
            // Gone before the jump, which skips destructors.
            const QByteArray reason = s->Device->errorString().toUtf8();
            qstrncpy(s->Error, reason.isEmpty() ? "write failed" : reason.constData(), sizeof s->Error);
        }
        Library().png_error(png, s->Error);
    }
    static void OnFlush(png_structp) {}

    [[noreturn]] void Fail(const QString &reason) const { ExportWriteFailed(Device, QStringLiteral("PNG"), reason); }
    [[noreturn]] void Fail() const { Fail(QString::fromUtf8(Error)); }
};

TPNGWriter::TPNGWriter(QIODevice *device, int width, int height, const TOptions &options)
    : F(std::make_unique<TState>()), FWidth(width), FHeight(height)
{
    F->Device = device;
    if (!PNGLibraryPresent())
        F->Fail(SExportNoPNGLibrary);
    if (width <= 0 || height <= 0)
        F->Fail(QStringLiteral("%1 x %2").arg(width).arg(height));
    const TPNGLibrary &L = F->L;
    // The version of the headers this program was built with: the library
    // refuses a structure layout it does not share.
    F->Png = L.png_create_write_struct(PNG_LIBPNG_VER_STRING, F.get(), &TState::OnError, &TState::OnWarning);
    if (F->Png)
        F->Info = L.png_create_info_struct(F->Png);
    if (!F->Png || !F->Info)
        F->Fail(SExportOutOfMemory);
    const int level = std::clamp(options.CompressionLevel, 0, 9);
    const TOptions o = options;
    TState *s = F.get();
    const bool ok = s->Run([s, &L, width, height, level, o] {
        L.png_set_write_fn(s->Png, s, &TState::OnWrite, &TState::OnFlush);
        L.png_set_write_status_fn(s->Png, nullptr);
        // Tall diagrams go beyond the library's default limit of a million
        // rows.
        L.png_set_user_limits(s->Png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
        L.png_set_IHDR(s->Png, s->Info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                       PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                       PNG_FILTER_TYPE_DEFAULT);
        L.png_set_compression_level(s->Png, level);
        switch (o.Filters) {
        case pfSub: L.png_set_filter(s->Png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB); break;
        case pfUp: L.png_set_filter(s->Png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP); break;
        case pfNone: L.png_set_filter(s->Png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE); break;
        case pfAdaptive: break;
        }
        switch (o.Strategy) {
        case psRunLength: L.png_set_compression_strategy(s->Png, 3 /* Z_RLE */); break;
        case psFiltered: L.png_set_compression_strategy(s->Png, 1 /* Z_FILTERED */); break;
        case psDefault: break;
        }
        L.png_write_info(s->Png, s->Info);
        // Rows arrive as 32-bit pixels 0xffRRGGBB: the library drops the
        // unused byte (and, in little-endian memory order, swaps to RGB).
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
        L.png_set_bgr(s->Png);
        L.png_set_filler(s->Png, 0, PNG_FILLER_AFTER);
#else
        L.png_set_filler(s->Png, 0, PNG_FILLER_BEFORE);
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
            s->L.png_write_row(s->Png, const_cast<png_bytep>(rgb.constScanLine(y)));
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
        s->L.png_write_end(s->Png, s->Info);
        s->L.png_write_flush(s->Png);
    });
    if (!ok)
        F->Fail();
}

void SaveImageAsPNG(const QImage &image, const QString &fileName, const TPNGWriter::TOptions &options)
{
    TExportFile file(fileName);
    file.Open();
    TPNGWriter png(&file, image.width(), image.height(), options);
    png.WriteRows(image);
    png.Finish();
    file.Commit();
}
