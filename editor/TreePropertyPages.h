#pragma once
#include "editor/TreeAlign.h"
// The diagram-wide property pages: General, Cross Box, Panel, Align, Mouse,
// Selected, Scroll Bars, Grid, Handles, Print and Text Editor. Every
// control shows one setting of the diagram when the pages are filled (at
// show, open and new, and after the diagram reports a change of its own
// settings) and writes it back through the diagram's operations when the
// user changes it, as one step.
//
// Two guards keep the pages from writing what they are only shown:
// handlers marked "S" do nothing while the window is still Starting, those
// marked "U" nothing while the pages are Updating (being filled). A control
// bound to a setting this diagram does not have is disabled.

#include "editor/TreePanelPart.h"

#include <QString>
#include <functional>
#include <vector>

class QCheckBox;
class TPersistent;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class TButtonColor;
class TButtonPen;



// The shortcut codes of the text editor's key list, in list order, and
// the text each is shown with.
const std::vector<int> &TextEditorShortCuts();
QString ShortCutText(int code);

class TTreePropertyPages : public TTreePanelPart
{
    Q_OBJECT
public:
    explicit TTreePropertyPages(QWidget *parent = nullptr);
    ~TTreePropertyPages() override;

    // Page numbers, in the order of the tabs.
    enum TPage { ppGeneral, ppCrossBox, ppPanel, ppAlign, ppMouse, ppSelected, ppScrollBars, ppGrid, ppHandles,
                 ppPrint, ppTextEditor, ppCount };
    QTabWidget *Pages() const { return FPages; }
    QWidget *Page(TPage page) const;

    // The window's start: handlers marked S do nothing meanwhile.
    bool Starting() const { return FStarting; }
    void SetStarting(bool value) { FStarting = value; }

    // The zoom percentage (1 .. 1000 on the controls): sets the diagram's,
    // reads back what it took and shows it. No edit of the document.
    void SetZoom(int percent);

    // A view option of the window, not of the document: antialiased
    // shapes and text on the screen. Exports and prints never use it.
    bool SmoothDrawing() const { return FSmoothDrawing; }
    void SetSmoothDrawing(bool value);

    // Printing and the print preview draw the panel colour (program-wide,
    // not stored with the document).
    static bool PrintPanelColor();
    static void SetPrintPanelColor(bool value);

    // The rulers belong to the window: what the pages show of them and
    // where they send the user's choices. Unset: the controls are disabled.
    struct TRulerLink
    {
        std::function<bool()> Visible;
        std::function<void(bool)> SetVisible;
        std::function<bool()> ShowUnits;
        std::function<void(bool)> SetShowUnits;
        std::function<int()> Units;   // 0 pixels, 1 centimetres, 2 inches
        std::function<void(int)> SetUnits;
    };
    void SetRulerLink(const TRulerLink &link);

    // A control of a page found by its caption (without the mnemonic mark,
    // the trailing colon or dots).
    QWidget *Control(TPage page, const QString &caption) const;
    template <class W>
    W *ControlAs(TPage page, const QString &caption) const
    {
        return qobject_cast<W *>(Control(page, caption));
    }

    void SetTree(TTree *tree) override;

signals:
    void SmoothDrawingChanged(bool on);

protected:
    void FillControls() override;
    bool Concerns(const TTreeChange &change) const override;

private:
    enum TGuard { gNone, gS, gU };
    struct TBinding;

    TPersistent *Settings() const;
    bool HasSetting(const QString &path) const;
    bool Blocked(TGuard guard) const;
    // Writes an ordinal setting when it differs, as one step.
    void WriteOrd(const QString &path, qint64 value);
    void Edit(const QString &path, const std::function<void()> &change);

    // Builders: a control bound to a setting of the diagram.
    QCheckBox *Check(QWidget *page, const QString &caption, const QString &path, TGuard guard);
    QSpinBox *Spin(QWidget *page, const QString &caption, const QString &path, int min, int max, TGuard guard);
    QComboBox *List(QWidget *page, const QString &caption, const QStringList &items, const QString &path,
                    TGuard guard, const std::vector<int> &values = {});
    TButtonPen *PenButton(QWidget *page, const QString &caption, const QString &path);
    TButtonColor *ColorButton(QWidget *page, const QString &caption, const QString &path);
    QPushButton *Button(QWidget *page, const QString &caption, const std::function<void()> &click);
    void Place(QWidget *page, QWidget *control, QLabel *label = nullptr);
    void ColumnBreak(QWidget *page);
    void Bind(QWidget *control, const QString &path, const std::function<void()> &fill);

    void BuildGeneral();
    void BuildCrossBox();
    void BuildPanel();
    void BuildAlign();
    void BuildMouse();
    void BuildSelected();
    void BuildScrollBars();
    void BuildGrid();
    void BuildHandles();
    void BuildPrint();
    void BuildTextEditor();
    void BackImageClicked();
    void WritePageSize(const QString &path, int value);

    QTabWidget *FPages;
    std::vector<QWidget *> FPageWidgets;
    // The column each page fills now.
    std::vector<class QVBoxLayout *> FColumns;
    std::vector<TBinding> FBindings;
    bool FStarting = false;
    bool FSmoothDrawing = false;
    TRulerLink FRulers;
    // General.
    QSlider *FZoomTrack = nullptr;
    QSpinBox *FZoomBox = nullptr;
    QLabel *FZoomLabel = nullptr;
    // Panel.
    QPushButton *FBackImage = nullptr;
    QComboBox *FBackImageMode = nullptr;
    // Align.
    std::vector<QPushButton *> FAlignButtons;
    // Mouse.
    QCheckBox *FAnimated = nullptr;
    QSpinBox *FAnimatedSteps = nullptr;
    // Print.
    QCheckBox *FUsePrinter = nullptr;
    QSpinBox *FPageWidth = nullptr;
    QSpinBox *FPageHeight = nullptr;
};
