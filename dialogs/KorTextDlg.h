#pragma once
// The text dialog: an element's text lines, font colour, font, clipping,
// spacing, angle, transparency, glyph gradient and outline, text shadow and
// alignment, applied live (each change one step), without cancel. It works
// on one element (a connection) or on every selected node of a diagram;
// the shape and connection editors embed it in their "Text" page.

#include "dialogs/KorDialogs.h"
#include "dialogs/KorEditTarget.h"

#include <vector>

class TCustomTreeElement;
class TTreeDocument;
class TButtonColor;
class TButtonPen;
class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;

class TFormKorText : public TKorDialog
{
    Q_OBJECT
public:
    explicit TFormKorText(QWidget *parent = nullptr);
    ~TFormKorText() override;

    // The diagram whose selection is edited.
    TTreeDocument *Tree() const { return FTree; }
    void SetTree(TTreeDocument *tree) { FTree = tree; }
    // A single element to edit instead of the selection (none: the
    // selection); Single is true while one is set.
    TCustomTreeElement *Element() const { return FElement; }
    void SetElement(TCustomTreeElement *element);
    bool Single() const { return FElement != nullptr; }

    // The element whose values the controls show: Element, else the first
    // selected node (none when nothing is selected).
    TCustomTreeElement *Shown() const;
    // Fills the controls from the shown element (nothing is written back).
    void Fill();

    QTabWidget *Pages() const { return FPages; }
    QPlainTextEdit *TextBox() const { return FMemo; }
    TButtonColor *ColorButton() const { return FColor; }
    QPushButton *FontButton() const { return FFont; }
    QCheckBox *ClipBox() const { return FClip; }
    QSpinBox *SpacingBox() const { return FSpacing; }
    QSpinBox *AngleBox() const { return FAngle; }
    QSpinBox *TransparencyBox() const { return FTransparency; }
    QPushButton *GradientButton() const { return FGradient; }
    TButtonPen *OutlineButton() const { return FOutline; }
    TButtonColor *ShadowColorButton() const { return FShadowColor; }
    QSpinBox *ShadowWidthBox() const { return FShadowWidth; }
    QSpinBox *ShadowHeightBox() const { return FShadowHeight; }
    QComboBox *HorizList() const { return FHorizAlign; }
    QSpinBox *HorizOffsetBox() const { return FHorizOffset; }
    QComboBox *VertList() const { return FVertAlign; }
    QSpinBox *VertOffsetBox() const { return FVertOffset; }

protected:
    void showEvent(QShowEvent *event) override;
    QWidget *ButtonRow() const override { return FButtonRow; }

private:
    // The elements a change goes to.
    std::vector<TCustomTreeElement *> Targets() const;
    // Runs `change` on every target with its notices, as one step.
    void ApplyAll(const QString &property, const std::function<void(TCustomTreeElement *)> &change);
    // Copies what `get` answers of the shown element to the other targets.
    void CopyToOthers(const QString &property, const std::function<void(TCustomTreeElement *from, TCustomTreeElement *to)> &copy);
    void Connect();
    void LinkButtons();

    TTreeDocument *FTree = nullptr;
    TCustomTreeElement *FElement = nullptr;
    bool FFilling = true;
    QTabWidget *FPages;
    QPlainTextEdit *FMemo;
    TButtonColor *FColor;
    QPushButton *FFont;
    QCheckBox *FClip;
    QSpinBox *FSpacing;
    QSpinBox *FAngle;
    QSpinBox *FTransparency;
    QPushButton *FGradient;
    TButtonPen *FOutline;
    TButtonColor *FShadowColor;
    QSpinBox *FShadowWidth;
    QSpinBox *FShadowHeight;
    QComboBox *FHorizAlign;
    QSpinBox *FHorizOffset;
    QComboBox *FVertAlign;
    QSpinBox *FVertOffset;
    QWidget *FButtonRow;
};

// Shows the text dialog for an element: a connection alone, a node through
// its diagram's selection.
void EditText(QWidget *owner, TCustomTreeElement *element);
