// Shows a small diagram for trying the mouse and the keyboard by hand:
//   interaction_gallery design|run|connect
// design: nodes and a connection in design mode (drag nodes and handles;
// a click selects the connection, whose points can then be dragged); run: run mode (F2 edits the selected node's
// text); connect: the next two presses on nodes connect them. Closing the
// window ends the program.

#include "canvas/CanvasResources.h"
#include "model/ModelResources.h"
#include "view/Arbolix.h"
#include "view/TreeInteraction.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    InitCanvasResources();
    InitModelResources();
    RegisterViewClasses();
    const QString what = argc > 1 ? QString::fromLatin1(argv[1]) : QStringLiteral("design");
    TComponent owner;
    owner.SetName(QStringLiteral("TreeEditor1"));
    auto *tree = new TTree(&owner);
    tree->SetNoOwnerShapes(false);
    tree->setWindowTitle(QStringLiteral("Interaction gallery"));
    tree->resize(640, 420);
    auto place = [](TTreeNodeShape *n, int l, int t, int r, int b) {
        n->SetX0(l);
        n->SetY0(t);
        n->SetX1(r);
        n->SetY1(b);
    };
    TTreeNodeShape *a = tree->AddRoot(QStringLiteral("Resize me"));
    place(a, 60, 60, 220, 130);
    a->Brush()->SetColor(clYellow);
    TTreeNodeShape *b = tree->AddRoot(QStringLiteral("Anchor here"));
    place(b, 380, 200, 560, 280);
    b->Brush()->SetColor(clAqua);
    TTreeNodeShape *c = tree->AddRoot(QStringLiteral("Third"));
    place(c, 90, 290, 230, 350);
    TTreeConnection *link = a->AddConnection(b);
    link->SetStyle(csLine);
    tree->SetDesigning(what == QLatin1String("design"));
    tree->show();
    if (what == QLatin1String("design")) {
        a->SetSelected(true);
        // As the editor does: a click on a connection selects it.
        tree->OnClickConnection = [tree](TTreeConnection *clicked, TMouseButton, TShiftState, int, int) {
            tree->Selected().Clear();
            tree->Connections().SetSelected(clicked);
        };
    } else if (what == QLatin1String("run")) {
        a->SetSelected(true);
        tree->setFocus();
    } else if (what == QLatin1String("connect")) {
        QTimer::singleShot(200, tree, [tree] { tree->Interaction().ConnectInteractively(); });
    }
    const int rc = app.exec();
    delete tree;
    return rc;
}
