#pragma once
// The print preview dialog: a sheet in the printer page's proportions with
// the diagram where it will print (TKorPreviewPanel), the printer and its
// orientation, the print margins typed as percentages or dragged on the
// sheet, the detail (print resolution), the proportional switch, printer
// set-up and printing. Everything it changes lives in the previewed panel
// or the program's printer (canvas/KorPrinter.h), so it holds for the next
// printout; "Reset Margins" puts back the margins the dialog opened with.
//
// The editor opens it with one call:
//   ShowPrintPreview(window, tree);

#include "export/KorPreviewPanel.h"

#include <QDialog>
#include <functional>
#include <memory>

class QButtonGroup;
class QDialogButtonBox;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QVBoxLayout;
class TCustomTree;

// A page navigator the dialog can carry under its left column: it moves the
// previewed diagram from page to page and prints a range of pages.
class TPreviewPageNavigator
{
public:
    virtual ~TPreviewPageNavigator() = default;
    // The navigator's control; the dialog places it and owns it.
    virtual QWidget *Widget() = 0;
    // Binds it to the previewed panel.
    virtual void SetPanel(TCustomKorPanel *panel) = 0;
    virtual int PageCount() const = 0;
    // Prints pages of the bound panel (asking which).
    virtual void Print() = 0;
    // Set by the dialog: called after every button click with its index.
    std::function<void(int button)> OnButtonClicked;
};
// Makes a navigator whose control is a child of the given parent.
using TPreviewNavigatorClass = std::function<std::unique_ptr<TPreviewPageNavigator>(QWidget *parent)>;

// Whether the dialog turns the printer to landscape when it opens (on at
// start).
bool PreviewLandscape();
void SetPreviewLandscape(bool value);

// The page set-up of the PDF file printer (the platform's set-up dialog
// serves real printers only): the paper size and the orientation, applied
// when accepted.
class TPdfPageSetupForm : public QDialog
{
    Q_OBJECT
public:
    explicit TPdfPageSetupForm(TKorPrinter &printer, QWidget *parent = nullptr);
    QComboBox *PaperSize() const { return FPaperSize; }
    QRadioButton *PortraitButton() const { return FPortrait; }
    QRadioButton *LandscapeButton() const { return FLandscape; }
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    TKorPrinter &FPrinter;
    QComboBox *FPaperSize;
    QRadioButton *FPortrait;
    QRadioButton *FLandscape;
};

class TChartPreview : public QDialog
{
    Q_OBJECT
public:
    explicit TChartPreview(QWidget *parent = nullptr);
    ~TChartPreview() override;

    TKorPreviewPanel *PreviewPanel() const { return FPreview; }
    // Given before showing: the panel is assigned to the preview when the
    // dialog opens, and a navigator of the class is made.
    void SetPanel(TCustomKorPanel *panel) { FPanelToShow = panel; }
    void SetNavigatorClass(TPreviewNavigatorClass navigatorClass) { FNavigatorClass = std::move(navigatorClass); }
    TPreviewPageNavigator *Navigator() const { return FNavigator.get(); }
    // The margins the dialog opened with.
    const TPanelMargins &SavedMargins() const { return FSavedMargins; }
    // Whether "Print" printed something since the dialog opened.
    bool Printed() const { return FPrinted; }

    // --- Controls (tests drive them) -----------------------------------
    QComboBox *PrinterList() const { return FPrinterList; }
    QPushButton *SetupButton() const { return FSetup; }
    QPushButton *PrintButton() const { return FPrint; }
    QPushButton *CloseButton() const { return FClose; }
    QGroupBox *OrientationGroup() const { return FOrientationGroup; }
    QRadioButton *PortraitButton() const { return FPortrait; }
    QRadioButton *LandscapeButton() const { return FLandscape; }
    QGroupBox *MarginsGroup() const { return FMarginsGroup; }
    QSpinBox *TopMargin() const { return FTop; }
    QSpinBox *LeftMargin() const { return FLeft; }
    QSpinBox *RightMargin() const { return FRight; }
    QSpinBox *BottomMargin() const { return FBottom; }
    QPushButton *ResetMarginsButton() const { return FReset; }
    QCheckBox *ViewMarginsBox() const { return FViewMargins; }
    QSlider *DetailBar() const { return FDetail; }
    QCheckBox *ProportionalBox() const { return FProportional; }

    // --- Actions ---------------------------------------------------------
    // Prints (the navigator's pages for a diagram of several pages, else
    // the sheet); a PDF file is asked for first. Errors are shown.
    void PrintClicked();
    void SetupClicked();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Open();
    void FillPrinters();
    void ReadOrientation();
    void PrinterChosen(int index);
    void OrientationClicked();
    void RefreshMargins();
    void WriteMarginFields();
    void MarginFieldChanged(QSpinBox *field, int value);
    void ProportionalToggled(bool on);
    void MarginsDragged(bool disableProportional);
    void ResetClicked();
    void DetailChanged(int position);
    // Asks for the PDF file when the printer writes one; false when
    // cancelled.
    bool ChooseOutputFile();

    TKorPreviewPanel *FPreview;
    QComboBox *FPrinterList;
    QPushButton *FSetup;
    QPushButton *FPrint;
    QPushButton *FClose;
    QGroupBox *FOrientationGroup;
    QRadioButton *FPortrait;
    QRadioButton *FLandscape;
    QButtonGroup *FOrientation;
    QGroupBox *FMarginsGroup;
    QSpinBox *FTop;
    QSpinBox *FLeft;
    QSpinBox *FRight;
    QSpinBox *FBottom;
    QPushButton *FReset;
    QCheckBox *FViewMargins;
    QGroupBox *FDetailGroup;
    QSlider *FDetail;
    QCheckBox *FProportional;
    QVBoxLayout *FLeftColumn;

    TCustomKorPanel *FPanelToShow = nullptr;
    TPreviewNavigatorClass FNavigatorClass;
    std::unique_ptr<TPreviewPageNavigator> FNavigator;
    TPanelMargins FSavedMargins;
    // Mutes the margin fields while the dialog writes them (on until the
    // margins are first shown).
    bool FUpdating = true;
    // Mutes the proportional box while the dialog unchecks it.
    bool FMuteProportional = false;
    bool FOpened = false;
    bool FPrinted = false;
};

// The editor's print preview of its diagram, with a navigator of the
// given class when there is one; the diagram repaints afterwards. True
// when the user printed.
bool ShowPrintPreview(QWidget *parent, TCustomTree *tree, const TPreviewNavigatorClass &navigatorClass = {});
