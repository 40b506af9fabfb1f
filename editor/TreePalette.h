#pragma once
// The tool palette: a page control of shape galleries. Page "Standard"
// starts with the plain node's styles; every node class registered for the
// palette (model/ShapePalette.h) follows on the page whose caption matches
// its page name, ignoring case (missing pages are added at the end). The
// two fixed buttons "Selection" and "Connect nodes" move onto whichever
// page becomes active, so every page starts with them; every button of
// every page belongs to one radio group.
//
// The palette only tells what the user chose (ToolClicked, ToolDoubleClicked,
// SelectionClicked, ConnectClicked); the editor's commands act on it.

#include "model/TreeTypes.h"

#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>
#include <vector>

class QButtonGroup;
class TClassInfo;
class TComponent;
class TTreeDocument;
class TTreeNodeShape;
struct TTreeCustomShapePalette;

// What a tool button creates.
struct TTreeTool
{
    bool IsStyle = false;                 // a style of the plain node class
    TTreeShapeStyle Style = tssRectangle; // used when IsStyle
    const TClassInfo *ShapeClass = nullptr;
    // Creates a node of ShapeClass (owned by the owner given; null: by the
    // caller).
    std::function<TTreeNodeShape *(TComponent *owner)> Factory;
    // The tool's name (the button's hint).
    QString Name;

    // True for the classes drawn point by point (polygons, poly-lines).
    bool IsPolygon() const;
};

class TTreeSpeedButton : public QToolButton
{
    Q_OBJECT
public:
    static constexpr int kSize = 25;

    explicit TTreeSpeedButton(TTreeTool tool, QWidget *parent = nullptr);
    ~TTreeSpeedButton() override;

    const TTreeTool &Tool() const { return FTool; }
    // The node drawn on the face; made at the first paint.
    TTreeNodeShape *Sample() const;
    // Releases the sample node (the window closes).
    void ReleaseSample();

signals:
    void DoubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void MakeSample();
    TTreeTool FTool;
    // A diagram of its own for the sample, which draws on the face.
    std::unique_ptr<TTreeDocument> FSampleTree;
    TTreeNodeShape *FSample = nullptr;
};

class TTreeShapePalette : public QTabWidget
{
    Q_OBJECT
public:
    // How long after a double-click the palette returns to "Selection".
    static constexpr int kReturnDelay = 50;

    explicit TTreeShapePalette(QWidget *parent = nullptr);
    ~TTreeShapePalette() override;

    // Builds the pages: the standard styles, then the registered classes.
    // Calling it again rebuilds them (the registry changed).
    void Build();

    QToolButton *SelectionButton() const { return FSelection; }
    QToolButton *ConnectButton() const { return FConnect; }
    // The tool buttons of a page in order (without the fixed two).
    std::vector<TTreeSpeedButton *> PageButtons(int page) const;
    // The first tool button named so (any page), or null.
    TTreeSpeedButton *FindTool(const QString &name) const;
    int PageIndex(const QString &caption) const;
    // The pressed tool button of the active page; null when "Selection" or
    // "Connect nodes" is pressed.
    TTreeSpeedButton *PressedTool() const;
    bool SelectionPressed() const;
    // Presses "Selection" (no ToolClicked, no SelectionClicked).
    void PressSelection();
    // Presses "Selection" after kReturnDelay.
    void ReturnToSelectionSoon();
    bool ReturnPending() const { return FReturnTimer.isActive(); }

    // Frees the sample nodes of every button.
    void ReleaseSamples();

signals:
    void ToolClicked(TTreeSpeedButton *button);
    void ToolDoubleClicked(TTreeSpeedButton *button);
    void SelectionClicked();
    void ConnectClicked();

private:
    QWidget *AddPage(const QString &caption);
    TTreeSpeedButton *AddTool(int page, TTreeTool tool);
    void PageChanged(int index);

    QButtonGroup *FGroup;
    QToolButton *FSelection;
    QToolButton *FConnect;
    QTimer FReturnTimer;
    bool FBuilding = false;
};
