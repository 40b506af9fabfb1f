// Dendrix: a desktop diagram editor.

#include "editor/UDendrix.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quorvel Software"));
    QApplication::setApplicationName(QStringLiteral("Dendrix"));
    RegisterDendrixClasses();

    TDendrixMainWindow window;
    window.show();
    const QStringList args = QApplication::arguments();
    if (args.size() > 1)
        window.OpenFile(args.at(1));
    return app.exec();
}
