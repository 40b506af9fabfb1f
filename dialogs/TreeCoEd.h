#pragma once
// The connection editor ("Tree Connection Editor"): one connection's style
// and border, its two arrows, its text and its points. Changes are live
// (each one step); the only button closes the dialog keeping them. With
// ApplyToSiblings each change of style, border or arrow is also copied to
// every other connection that starts at the same node.

#include "dialogs/KorDialogs.h"
#include "model/TreeTypes.h"

class TTreeConnection;
class TConnectionArrow;
class TButtonColor;
class TButtonPen;
class TFormKorText;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;

enum TConnectionEditorPage { cepFormat, cepArrowFrom, cepArrowTo, cepText, cepPoints };

class TConnectionEditor : public TKorDialog
{
    Q_OBJECT
public:
    explicit TConnectionEditor(QWidget *parent = nullptr);
    ~TConnectionEditor() override;

    TTreeConnection *Connection() const { return FConnection; }
    void SetConnection(TTreeConnection *connection);
    bool ApplyToSiblings() const { return FApplyToSiblings; }
    void SetApplyToSiblings(bool value) { FApplyToSiblings = value; }
    bool Filling() const { return FFilling; }

    // Fills the controls from the connection; writes nothing.
    void ShowStep();
    void SetPage(int page);

    // One arrow page's controls.
    struct TArrowControls
    {
        QButtonGroup *Styles = nullptr; // ids casNone .. casDiamond
        QSpinBox *Size = nullptr;
        TButtonColor *Color = nullptr;
        TButtonPen *Border = nullptr;
        QPushButton *Pattern = nullptr;
    };

    QTabWidget *Pages() const { return FPages; }
    QCheckBox *AutomaticBox() const { return FAutomatic; }
    QGroupBox *StyleGroup() const { return FStyleGroup; }
    // Ids 0 .. 3: Line, Sides, Inverted Sides, Curve.
    QButtonGroup *StyleButtons() const { return FStyles; }
    TButtonPen *BorderButton() const { return FBorder; }
    const TArrowControls &ArrowFrom() const { return FFrom; }
    const TArrowControls &ArrowTo() const { return FTo; }
    TFormKorText *TextPanel() const { return FTextPanel; }
    QListWidget *PointList() const { return FPointList; }
    QPushButton *AddPointButton() const { return FAdd; }
    QPushButton *DeletePointButton() const { return FDelete; }
    QCheckBox *PointAutomaticBox() const { return FPointAuto; }
    QGroupBox *XGroup() const { return FXGroup; }
    QGroupBox *YGroup() const { return FYGroup; }
    QSpinBox *XValueBox() const { return FXValue; }
    QSpinBox *YValueBox() const { return FYValue; }
    // Ids: 0 fixed, 1 relative from, 2 relative to, 3 previous, 4 next.
    QButtonGroup *XStyles() const { return FXStyles; }
    QButtonGroup *YStyles() const { return FYStyles; }

    // The connection styles in the order the style buttons list them.
    static TTreeConnectionStyle StyleOfButton(int id);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *BuildFormatPage();
    QWidget *BuildArrowPage(TArrowControls &c, bool from);
    QWidget *BuildPointsPage();
    void FillArrow(TArrowControls &c, TConnectionArrow *arrow, const QString &path);
    // A change of the connection with its notices, as one step.
    void Edit(const QString &property, const std::function<void()> &change);
    // Copies what `copy` copies from the connection to each sibling.
    void Propagate(const QString &property, const std::function<void(TTreeConnection *from, TTreeConnection *to)> &copy);
    void EditPointsOf(const std::function<void()> &change);
    void FillPoints(int choose);
    void ShowPoint(int index);
    int ChosenPoint() const;
    void PageChanged(int index);

    TTreeConnection *FConnection = nullptr;
    bool FApplyToSiblings = false;
    bool FFilling = true;
    QTabWidget *FPages;
    QCheckBox *FAutomatic;
    QGroupBox *FStyleGroup;
    QButtonGroup *FStyles;
    TButtonPen *FBorder;
    TArrowControls FFrom;
    TArrowControls FTo;
    QWidget *FTextPage = nullptr;
    TFormKorText *FTextPanel = nullptr;
    QListWidget *FPointList;
    QPushButton *FAdd;
    QPushButton *FDelete;
    QCheckBox *FPointAuto;
    QGroupBox *FXGroup;
    QGroupBox *FYGroup;
    QSpinBox *FXValue;
    QSpinBox *FYValue;
    QButtonGroup *FXStyles;
    QButtonGroup *FYStyles;
};

// Edits a connection; with applyToSiblings the changes also go to the other
// connections of its start node.
void EditConnection(QWidget *owner, TTreeConnection *connection, bool applyToSiblings = false);
// Opens the editor on a page (the connection format menu's entries).
void EditConnectionPage(QWidget *owner, TTreeConnection *connection, int page);
