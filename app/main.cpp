// Dendrix: a desktop diagram editor.

#include "canvas/CanvasResources.h"
#include "editor/UDendrix.h"
#include "model/ModelResources.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quorvel Software"));
    QApplication::setApplicationName(QStringLiteral("Dendrix"));
    // The built-in pictures and brush patterns live in static libraries and
    // exist only once registered, before anything loads them.
    InitCanvasResources();
    InitModelResources();
    RegisterDendrixClasses();

    TDendrixMainWindow window;
    window.show();
    const QStringList args = QApplication::arguments();
    if (args.size() > 1)
        window.OpenFile(args.at(1));
    return app.exec();
}
