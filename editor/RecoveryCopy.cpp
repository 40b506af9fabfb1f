#include "editor/RecoveryCopy.h"

#include "core/Exceptions.h"
#include "dialogs/KorPrompts.h"
#include "editor/TreeEditor.h"
#include "editor/TreeEditorConst.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QSaveFile>
#include <QSettings>
#include <algorithm>
#include <cerrno>
#include <new>
#include <signal.h>

namespace {

bool ProcessRuns(qint64 pid)
{
    if (pid <= 0)
        return false;
    if (pid == QCoreApplication::applicationPid())
        return true;
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM)
        return false;
    // Where the system shows its processes: a process that ended but was
    // not collected yet is gone, and so is the copy's writer when another
    // program has its number now.
    const QString proc = QStringLiteral("/proc/%1").arg(pid);
    QFile stat(proc + QStringLiteral("/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    if (close >= 0 && close + 2 < line.size() && (line.at(close + 2) == 'Z' || line.at(close + 2) == 'X'))
        return false;
    const QString exe = QFileInfo(proc + QStringLiteral("/exe")).symLinkTarget();
    return exe.isEmpty() || exe == QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath() ||
           exe == QCoreApplication::applicationFilePath();
}

// "10:42" today, with the date on other days.
QString WhenText(const QDateTime &written)
{
    const QLocale locale;
    if (written.date() == QDate::currentDate())
        return locale.toString(written.time(), QLocale::ShortFormat);
    return locale.toString(written, QLocale::ShortFormat);
}

} // namespace

TRecoveryCopy::TRecoveryCopy(TTreeEditor *editor) : QObject(editor), FEditor(editor), FFolder(DefaultFolder())
{
    FTimer.setSingleShot(true);
    FTimer.setInterval(kDefaultInterval);
    connect(&FTimer, &QTimer::timeout, this, [this] { WriteNow(); });
    connect(editor, &TTreeEditor::documentEdited, this, &TRecoveryCopy::Edited);
    connect(editor, &TTreeEditor::modifiedChanged, this, &TRecoveryCopy::ModifiedChanged);
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
            if (state != Qt::ApplicationActive)
                WriteNow();
        });
}

TRecoveryCopy::~TRecoveryCopy() = default;

QString TRecoveryCopy::DefaultFolder()
{
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    // Only an absolute path counts; anything else means the default.
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/Dendrix/recovery");
}

void TRecoveryCopy::SetEnabled(bool value)
{
    FEnabled = value;
    if (!value)
        FTimer.stop();
}

QString TRecoveryCopy::CopyName() const
{
    return FFolder + QStringLiteral("/recovery-%1.abx").arg(QCoreApplication::applicationPid());
}

QString TRecoveryCopy::InfoName() const
{
    return FFolder + QStringLiteral("/recovery-%1.ini").arg(QCoreApplication::applicationPid());
}

void TRecoveryCopy::Edited()
{
    FPending = true;
    // The first change since the last copy starts the count; later ones
    // wait for it.
    if (FEnabled && !FTimer.isActive())
        FTimer.start();
}

void TRecoveryCopy::ModifiedChanged(bool modified)
{
    if (!modified) {
        FTimer.stop();
        FPending = false;
        Remove();
    }
}

bool TRecoveryCopy::WriteNow()
{
    if (!FEnabled || !FPending || !FEditor->Modified() || !FEditor->Tree())
        return false;
    FTimer.stop();
    if (!QDir().mkpath(FFolder))
        return false;
    try {
        FEditor->WriteCopy(CopyName());
    } catch (const Exception &) {
        // A copy that cannot be written is no reason to disturb the user:
        // the next interval tries again.
        FTimer.start();
        return false;
    } catch (const std::bad_alloc &) {
        FTimer.start();
        return false;
    }
    {
        QSettings info(InfoName(), QSettings::IniFormat);
        info.setValue(QStringLiteral("Document"), FEditor->FileName());
        info.setValue(QStringLiteral("Written"), QDateTime::currentDateTime().toString(Qt::ISODate));
        info.setValue(QStringLiteral("Process"), QCoreApplication::applicationPid());
        info.sync();
    }
    FPending = false;
    return true;
}

void TRecoveryCopy::Remove()
{
    QFile::remove(CopyName());
    QFile::remove(InfoName());
}

std::vector<TRecoveryFile> TRecoveryCopy::FindOrphans(const QString &folder)
{
    std::vector<TRecoveryFile> found;
    const QDir dir(folder);
    const QStringList copies = dir.entryList({QStringLiteral("recovery-*.abx")}, QDir::Files);
    for (const QString &copy : copies) {
        bool ok = false;
        const qint64 pid = copy.mid(9, copy.size() - 9 - 4).toLongLong(&ok);
        if (!ok || ProcessRuns(pid))
            continue;
        TRecoveryFile file;
        file.CopyName = dir.filePath(copy);
        file.InfoName = dir.filePath(QStringLiteral("recovery-%1.ini").arg(pid));
        file.ProcessId = pid;
        const QSettings info(file.InfoName, QSettings::IniFormat);
        if (info.status() == QSettings::NoError) {
            file.DocumentName = info.value(QStringLiteral("Document")).toString();
            file.Written = QDateTime::fromString(info.value(QStringLiteral("Written")).toString(), Qt::ISODate);
        }
        if (!file.Written.isValid())
            file.Written = QFileInfo(file.CopyName).lastModified();
        found.push_back(file);
    }
    std::sort(found.begin(), found.end(),
              [](const TRecoveryFile &a, const TRecoveryFile &b) { return a.Written > b.Written; });
    return found;
}

void TRecoveryCopy::RemoveFile(const TRecoveryFile &file)
{
    QFile::remove(file.CopyName);
    QFile::remove(file.InfoName);
}

bool TRecoveryCopy::OfferRestore()
{
    for (const TRecoveryFile &file : FindOrphans(FFolder)) {
        const QString title =
            file.DocumentName.isEmpty() ? SUntitledTree.Text() : QFileInfo(file.DocumentName).fileName();
        const QString question = FormatMessage(SRestoreRecovery, {title, WhenText(file.Written)});
        if (Prompts().Ask(FEditor, pkConfirmation, question, paYes | paNo) != paYes) {
            RemoveFile(file);
            continue;
        }
        if (!FEditor->QuerySave())
            return false;
        const bool restored = FEditor->RestoreCopy(file.CopyName, file.DocumentName);
        if (restored) {
            // This program's own copy first, then the old one goes.
            FPending = true;
            WriteNow();
        }
        RemoveFile(file);
        return restored;
    }
    return false;
}
