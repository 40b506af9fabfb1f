// Shows the toolbars, the node outline and the property pages beside a
// small diagram, for looking at them by hand:
//   panel_gallery [page] [picture.png]
// With a picture name the window is drawn into that file and the program
// ends; otherwise it runs until closed.

#include "canvas/CanvasResources.h"
#include "editor/TreeNodeOutline.h"
#include "editor/TreePropertyPages.h"
#include "editor/TreeToolbars.h"
#include "model/ModelResources.h"
#include "view/Arbolix.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    InitCanvasResources();
    InitModelResources();
    RegisterViewClasses();
    const int page = argc > 1 ? QString::fromLatin1(argv[1]).toInt() : 0;
    const QString picture = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();

    TComponent owner;
    owner.SetName(QStringLiteral("TreeEditor1"));
    QWidget window;
    window.setWindowTitle(QStringLiteral("Dendrix panels"));
    auto *tree = new TTree(&owner);
    tree->SetNoOwnerShapes(false);
    tree->SetDesigning(true);
    TTreeNodeShape *root = tree->AddRoot(QStringLiteral("Company"));
    TTreeNodeShape *sales = root->AddChild(QStringLiteral("Sales"));
    TTreeNodeShape *north = sales->AddChild(QStringLiteral("North"));
    sales->AddChild(QStringLiteral("South"));
    TTreeNodeShape *dev = root->AddChild(QStringLiteral("Development"));
    dev->AddChild(QString());
    tree->AddRoot(QStringLiteral("Suppliers"))->AddChild(QStringLiteral("Parts"));
    root->Font()->SetStyle(SetBit(fsBold));
    root->Font()->SetSize(12);
    sales->Border()->SetStyle(psDash);
    sales->Border()->SetWidth(2);
    sales->SetColor(clYellow);
    tree->ExpandAll(true);
    tree->SetSingleSelection(false);
    sales->SetSelected(true);
    north->SetSelected(true);

    auto *pages = new TTreePropertyPages(&window);
    auto *font = new TTreeFontToolbar(&window);
    auto *format = new TTreeFormatToolbar(&window);
    auto *outline = new TTreeNodeOutline(&window);
    outline->setFixedWidth(145);
    auto *column = new QVBoxLayout(&window);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(pages);
    column->addWidget(font);
    column->addWidget(format);
    auto *row = new QHBoxLayout;
    row->addWidget(outline);
    row->addWidget(tree, 1);
    column->addLayout(row, 1);
    for (TTreePanelPart *part : std::initializer_list<TTreePanelPart *>{pages, font, format})
        part->SetTree(tree);
    outline->SetTree(tree);
    pages->Pages()->setCurrentIndex(page);
    window.resize(900, 560);
    window.show();
    outline->View()->expandAll();
    if (picture.isEmpty())
        return app.exec();
    QTimer::singleShot(100, [&] {
        window.grab().save(picture);
        app.quit();
    });
    return app.exec();
}
