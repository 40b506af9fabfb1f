// Dendrix: a desktop diagram editor.
//
//   dendrix [FILE]            the editor, opening FILE
//   dendrix --export OUT IN   writes IN as OUT without any window
//   dendrix --help

#include "canvas/CanvasResources.h"
#include "editor/UDendrix.h"
#include "export/KorExport.h"
#include "model/ModelResources.h"

#include <QApplication>
#include <QTextStream>

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
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const TCommandLine early = ParseCommandLine(arguments);
    if (early.Action == TCommandLine::aHelp) {
        QTextStream(stdout) << CommandLineHelp();
        return 0;
    }
    if (early.Action == TCommandLine::aExport) {
        // No display is needed, nor used when there is one.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        InitApplication();
        QTextStream err(stderr);
        return RunExportCommand(early.Output, early.Input, err);
    }

    QApplication app(argc, argv);
    // Qt's own options (-platform and the like) are gone now.
    const TCommandLine cmd = ParseCommandLine(QApplication::arguments().mid(1));
    if (cmd.Action == TCommandLine::aError)
        return Usage(cmd.Error);
    InitApplication();

    TDendrixMainWindow window;
    window.show();
    if (!cmd.File.isEmpty())
        window.OpenFile(cmd.File);
    return app.exec();
}
