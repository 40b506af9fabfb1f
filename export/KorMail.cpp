#include "export/KorMail.h"

#include "dialogs/KorPrompts.h"
#include "export/KorExportConst.h"

#include <QCoreApplication>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>
#include <vector>

namespace {

// The folders whose files a mail program has taken; removed with the
// program's end.
std::vector<std::unique_ptr<QTemporaryDir>> &Held()
{
    static std::vector<std::unique_ptr<QTemporaryDir>> held;
    return held;
}

} // namespace

TMailEvents &MailEvents()
{
    static TMailEvents events;
    return events;
}

QString TMailSender::Program()
{
    return QStandardPaths::findExecutable(QStringLiteral("xdg-email"));
}

int TMailSender::HeldFolders()
{
    return static_cast<int>(Held().size());
}

void TMailSender::Send(std::unique_ptr<QTemporaryDir> folder, const QString &file, const QString &subject,
                       QWidget *parent)
{
    const QString program = Program();
    if (program.isEmpty()) {
        Prompts().Message(parent, pkError, SExportNoMailProgram);
        return;
    }
    auto *process = new QProcess(QCoreApplication::instance());
    process->setProgram(program);
    process->setArguments({QStringLiteral("--utf8"), QStringLiteral("--subject"), subject, QStringLiteral("--attach"),
                           file});
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QTemporaryDir *dir = folder.release();
    QPointer<QWidget> owner(parent);
    QObject::connect(process, &QProcess::finished, process, [process, dir, owner](int code, QProcess::ExitStatus status) {
        process->deleteLater();
        std::unique_ptr<QTemporaryDir> kept(dir);
        // A program still running when this one ends says nothing.
        if (QCoreApplication::closingDown())
            return;
        if (status == QProcess::NormalExit && code == 0) {
            Held().push_back(std::move(kept));
            emit MailEvents().Finished(true);
            return;
        }
        kept.reset();
        Prompts().Message(owner, pkError,
                          FormatMessage(SExportMailError, {QString::number(status == QProcess::NormalExit ? code : -1)}));
        emit MailEvents().Finished(false);
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, dir, owner, program](QProcess::ProcessError e) {
        if (e != QProcess::FailedToStart || QCoreApplication::closingDown())
            return;
        process->deleteLater();
        delete dir;
        Prompts().Message(owner, pkError, FormatMessage(SExportMailStartFailed, {program, process->errorString()}));
        emit MailEvents().Finished(false);
    });
    process->start();
}
