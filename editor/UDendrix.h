#pragma once
// The application's main window and start-up. For now the window shows the
// diagram and nothing else: a viewer of the file named on the command line.

#include <QMainWindow>
#include <memory>

class TComponent;
class TTree;

class TDendrixMainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit TDendrixMainWindow(QWidget *parent = nullptr);
    ~TDendrixMainWindow() override;

    TTree *Tree() const { return FTree; }

    // Opens a diagram (.abx) or a text outline (.txt). A file that cannot
    // be read leaves an empty diagram and is reported in a message box;
    // answers whether it was read.
    bool OpenFile(const QString &fileName);

private:
    // Owns the diagram's elements and names them, as the editor's window
    // does ("TreeEditor1").
    std::unique_ptr<TComponent> FHost;
    TTree *FTree;
};

// Everything the program registers before its first window: element
// classes for files and the palette.
void RegisterDendrixClasses();
