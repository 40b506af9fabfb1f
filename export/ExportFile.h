#pragma once
// Files written by exports. The bytes go to a temporary file beside the
// target, which takes the target's place only when everything was written:
// a failed or cancelled export never leaves a half-written file and never
// destroys the file it would have replaced. Failures name the file and
// the system's reason ("Cannot write plan.png: No space left on device").
//
//   TExportFile file(name);
//   file.Open();
//   writer(&file);          // any QIODevice writer
//   file.Commit();          // or nothing: the destructor discards

#include "core/Exceptions.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

// An export cannot run as asked (no panel, an option that does not fit).
class EExportError : public Exception
{
    using Exception::Exception;
};

// The user stopped an export; nothing was written.
class EExportCancelled : public Exception
{
public:
    EExportCancelled();
};

class TExportFile : public QIODevice
{
    Q_OBJECT
public:
    explicit TExportFile(const QString &fileName);
    ~TExportFile() override;

    const QString &FileName() const { return FName; }
    // Creates the temporary file; EWriteError when the folder refuses.
    void Open();
    // Writes what is buffered and puts the file in place (keeping the
    // permissions of the file it replaces); EWriteError on any failure,
    // and then nothing is left behind.
    void Commit();
    // Removes the temporary file.
    void Discard();
    // Throws EWriteError for this file with the reason.
    [[noreturn]] void Fail(const QString &reason) const;

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override;

private:
    bool FlushBuffer();
    QString SystemReason() const;

    QString FName;
    QString FTemp;
    int FFd = -1;
    int FErrno = 0;
    QByteArray FBuffer;
};

// The name a writer uses for its device in messages: the export file's or
// a file's name, else `fallback` (a format name).
QString ExportTargetName(const QIODevice *device, const QString &fallback);
// Throws EWriteError "Cannot write <target>: <reason>".
[[noreturn]] void ExportWriteFailed(const QIODevice *device, const QString &fallback, const QString &reason);
