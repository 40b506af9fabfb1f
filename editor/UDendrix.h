#pragma once
// The application's main window and start-up.

#include <QMainWindow>

class TDendrixMainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit TDendrixMainWindow(QWidget *parent = nullptr);

    // Opens a document named on the command line; false (with a message
    // box) when it cannot be read.
    bool OpenFile(const QString &fileName);
};

// Everything the program registers before its first window: element
// classes for files and the palette.
void RegisterDendrixClasses();
