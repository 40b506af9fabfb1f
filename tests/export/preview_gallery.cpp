// Shows the print preview of a diagram, for looking at it by hand:
//   preview_gallery [file.abx]
// Without a file it previews a small diagram of its own. The dialog runs as
// the editor runs it; closing it ends the program.

#include "../view/ViewTestUtil.h"
#include "ExportTestUtil.h"

#include "export/KorPrevi.h"
#include "model/TreeFile.h"
#include "shapes/ShapeGalleries.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    RegisterShapeGalleries();
    TViewHost host(640, 420);
    if (argc > 1)
        LoadDiagramFile(*host.Tree, QString::fromLocal8Bit(argv[1]));
    else
        BuildRichDiagram(host.Tree);
    host.Tree->show();
    ShowPrintPreview(host.Tree, host.Tree);
    return 0;
}
