// Dendrix: a desktop diagram editor.
//
//   dendrix [FILE]            the editor, opening FILE
//   dendrix --export OUT IN [OPTION...]  writes IN as OUT without any window
//   dendrix --help

#include "canvas/CanvasResources.h"
#include "dbtree/DBTreeInput.h"
#include "editor/KorFileType.h"
#include "editor/UDendrix.h"
#include "export/KorExport.h"
#include "i18n/KorTranslate.h"
#include "model/ModelResources.h"

#include <QApplication>
#include <QTextStream>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

void InitApplication()
{
    QApplication::setOrganizationName(QStringLiteral("Quorvel Software"));
    QApplication::setApplicationName(QStringLiteral("Dendrix"));
    // The built-in pictures and brush patterns live in static libraries and
    // exist only once registered, before anything loads them.
    InitCanvasResources();
    InitModelResources();
    RegisterDendrixClasses();
}

int Usage(const QString &error)
{
    QTextStream err(stderr);
    err << error << Qt::endl << SCommandSeeHelp.Text() << Qt::endl;
    return kUsageExitCode;
}

} // namespace

int main(int argc, char *argv[])
{
    // Database tables are an input of the command line.
    RegisterDatabaseInput();
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // Understood before the application object exists: help and errors
    // need no display, and an export must choose its platform first.
    const TCommandLine cmd = ParseCommandLine(arguments);
    switch (cmd.Action) {
    case TCommandLine::aHelp:
        QTextStream(stdout) << CommandLineHelp();
        return 0;
    case TCommandLine::aError:
        return Usage(cmd.Error);
    case TCommandLine::aExport: {
        // No display is needed, nor used when there is one.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        InitApplication();
        QTextStream err(stderr);
        return RunExportCommand(cmd.Output, cmd.Input, err, cmd.Options, cmd.InputOptions);
    }
    case TCommandLine::aOpen:
        break;
    }

    QApplication app(argc, argv);
    InitApplication();
    // The language first: the verb the desktop shows is in it.
    ApplyLanguageAtStart();
    RegisterFileType();
#ifdef __GLIBC__
    // What registering and starting up freed goes back to the system before
    // the window's first document.
    malloc_trim(0);
#endif

    TTreeEditor1 window;
    window.SetStartFile(cmd.File);
    window.show();
    return app.exec();
}
