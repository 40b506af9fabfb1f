#include "editor/UDendrix.h"

#include "editor/DendrixConstants.h"
#include "model/Arbolix.h"

#include <QPalette>
#include <QWidget>

TDendrixMainWindow::TDendrixMainWindow(QWidget *parent) : QMainWindow(parent)
{
    setWindowTitle(SDendrixTitle);
    auto *area = new QWidget(this);
    area->setAutoFillBackground(true);
    QPalette pal = area->palette();
    pal.setColor(QPalette::Window, Qt::white);
    area->setPalette(pal);
    setCentralWidget(area);
    resize(800, 600);
}

bool TDendrixMainWindow::OpenFile(const QString &)
{
    return true;
}

void RegisterDendrixClasses()
{
    RegisterModelClasses();
}
