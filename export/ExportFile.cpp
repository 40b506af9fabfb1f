#include "export/ExportFile.h"

#include "export/KorExportConst.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Writes are gathered so a writer's many small pieces cost few system
// calls.
constexpr qsizetype kBufferBytes = qsizetype(1) << 20;

QString ReasonOf(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

EExportCancelled::EExportCancelled() : Exception(SExportCancelled) {}

TExportFile::TExportFile(const QString &fileName) : FName(fileName) {}

TExportFile::~TExportFile()
{
    Discard();
}

QString TExportFile::SystemReason() const
{
    return ReasonOf(FErrno ? FErrno : EIO);
}

void TExportFile::Fail(const QString &reason) const
{
    throw EWriteError(FormatMessage(SExportWriteFailed, {FName, reason}));
}

void TExportFile::Open()
{
    Discard();
    const QFileInfo info(FName);
    if (info.isDir())
        Fail(ReasonOf(EISDIR));
    const QString dir = info.absolutePath();
    QByteArray templ = QFile::encodeName(QDir(dir).filePath(QLatin1Char('.') + info.fileName() +
                                                             QStringLiteral(".XXXXXX")));
    const int fd = ::mkstemp(templ.data());
    if (fd < 0)
        Fail(ReasonOf(errno));
    FFd = fd;
    FTemp = QFile::decodeName(templ);
    FErrno = 0;
    FBuffer.clear();
    FBuffer.reserve(kBufferBytes);
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

bool TExportFile::FlushBuffer()
{
    const char *p = FBuffer.constData();
    qsizetype left = FBuffer.size();
    while (left > 0) {
        const ssize_t n = ::write(FFd, p, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            FErrno = errno;
            return false;
        }
        p += n;
        left -= n;
    }
    FBuffer.clear();
    return true;
}

qint64 TExportFile::writeData(const char *data, qint64 size)
{
    if (FFd < 0 || FErrno)
        return -1;
    if (FBuffer.size() + size > kBufferBytes) {
        if (!FlushBuffer()) {
            setErrorString(SystemReason());
            return -1;
        }
    }
    if (size >= kBufferBytes) {
        FBuffer = QByteArray::fromRawData(data, static_cast<qsizetype>(size));
        const bool ok = FlushBuffer();
        FBuffer = QByteArray();
        FBuffer.reserve(kBufferBytes);
        if (!ok) {
            setErrorString(SystemReason());
            return -1;
        }
        return size;
    }
    FBuffer.append(data, static_cast<qsizetype>(size));
    return size;
}

void TExportFile::Commit()
{
    if (FFd < 0)
        Fail(ReasonOf(EBADF));
    const QString reason = [this]() -> QString {
        if (FErrno || !FlushBuffer())
            return SystemReason();
        // The file gets the permissions of the one it replaces, else those
        // a new file would get.
        struct stat old;
        mode_t mode;
        if (::stat(QFile::encodeName(FName).constData(), &old) == 0) {
            mode = old.st_mode & 07777;
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        if (::fchmod(FFd, mode) != 0)
            return ReasonOf(errno);
        const int fd = FFd;
        FFd = -1;
        if (::close(fd) != 0)
            return ReasonOf(errno);
        if (::rename(QFile::encodeName(FTemp).constData(), QFile::encodeName(FName).constData()) != 0)
            return ReasonOf(errno);
        FTemp.clear();
        return QString();
    }();
    if (!reason.isEmpty()) {
        Discard();
        Fail(reason);
    }
    QIODevice::close();
}

void TExportFile::Discard()
{
    if (FFd >= 0) {
        ::close(FFd);
        FFd = -1;
    }
    if (!FTemp.isEmpty()) {
        ::unlink(QFile::encodeName(FTemp).constData());
        FTemp.clear();
    }
    FBuffer.clear();
    if (isOpen())
        QIODevice::close();
}

QString ExportTargetName(const QIODevice *device, const QString &fallback)
{
    if (auto *e = qobject_cast<const TExportFile *>(device))
        return e->FileName();
    if (auto *f = qobject_cast<const QFileDevice *>(device))
        return f->fileName();
    return fallback;
}

void ExportWriteFailed(const QIODevice *device, const QString &fallback, const QString &reason)
{
    throw EWriteError(FormatMessage(SExportWriteFailed, {ExportTargetName(device, fallback), reason}));
}
