#include "editor/UDendrix.h"

#include "animation/TreeAnimate.h"
#include "core/Exceptions.h"
#include "editor/DendrixConstants.h"
#include "export/KorExport.h"
#include "model/TreeReader.h"
#include "shapes/ShapeGalleries.h"
#include "view/Arbolix.h"

#include <QApplication>
#include <QMessageBox>

TDendrixMainWindow::TDendrixMainWindow(QWidget *parent)
    : QMainWindow(parent), FHost(std::make_unique<TComponent>())
{
    setWindowTitle(SDendrixTitle);
    FHost->SetName(QStringLiteral("TreeEditor1"));
    FTree = new TTree(FHost.get(), this);
    FTree->SetNoOwnerShapes(false);
    setCentralWidget(FTree);
    FTree->setFocus();
    resize(800, 600);
}

TDendrixMainWindow::~TDendrixMainWindow()
{
    // The diagram goes first: its elements belong to the host.
    delete FTree;
}

bool TDendrixMainWindow::OpenFile(const QString &fileName)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // A property the program does not know: the user decides whether the
    // rest is read.
    TScopedContinueQuestion ask([this](const QString &question) {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        const bool yes = QMessageBox::question(this, SDendrixTitle, question, QMessageBox::Yes | QMessageBox::No,
                                               QMessageBox::Yes) == QMessageBox::Yes;
        QApplication::restoreOverrideCursor();
        return yes;
    });
    QString failure;
    try {
        // The file replaces the document (an outline would be added).
        FTree->Clear();
        ReadDiagramInput(*FTree, fileName);
    } catch (const Exception &e) {
        failure = e.Message();
    } catch (const std::bad_alloc &) {
        failure = FormatMessage(SCannotOpen, {fileName});
    }
    QApplication::restoreOverrideCursor();
    // A file may store the diagram hidden; the window always shows it.
    FTree->setVisible(true);
    if (failure.isEmpty())
        return true;
    FTree->Clear();
    QMessageBox::critical(this, SDendrixTitle, failure);
    return false;
}

void RegisterDendrixClasses()
{
    RegisterViewClasses();
    RegisterShapeGalleries();
    RegisterAnimationClasses();
}
