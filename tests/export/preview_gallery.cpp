// Shows the print preview of a diagram, for looking at it by hand:
//   preview_gallery [file.abx [view]]
// Without a file it previews a small diagram of its own; "view" shows the
// diagram's window alone. The dialog runs as
// the editor runs it; closing it ends the program.

#include "../view/ViewTestUtil.h"
#include "ExportTestUtil.h"

#include "export/KorPrevi.h"
#include "model/TreeFile.h"
#include "shapes/ShapeGalleries.h"

#include <QApplication>
#include <algorithm>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    RegisterShapeGalleries();
    TViewHost host(640, 420);
    if (argc > 1) {
        LoadDiagramFile(*host.Tree, QString::fromLocal8Bit(argv[1]));
        // The window shows the whole diagram.
        int right = 0, bottom = 0;
        for (TTreeNodeShape *node : host.Tree->Shapes()) {
            right = std::max(right, node->X1());
            bottom = std::max(bottom, node->Y1());
        }
        host.Tree->resize(std::max(200, right + 20), std::max(150, bottom + 20));
    } else
        BuildRichDiagram(host.Tree);
    host.Tree->show();
    if (argc > 2 && QString::fromLatin1(argv[2]) == QLatin1String("view"))
        return app.exec();
    ShowPrintPreview(host.Tree, host.Tree);
    return 0;
}
