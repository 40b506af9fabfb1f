#pragma once
// The gradient editor ("Gradient Editor"): visibility, direction and the
// start, middle and end colours of a gradient, applied live; Cancel puts
// back the copy made when the dialog was filled. A simple editor (a
// gradient that is always shown with one colour fixed elsewhere) hides the
// visibility, the end colour and the swap.

#include "canvas/KorGradient.h"
#include "dialogs/KorLiveDialog.h"

class TButtonColor;
class QCheckBox;
class QComboBox;
class QPushButton;

class TKorGradientEditor : public TKorLiveDialog<TCustomKorGradient, TKorGradient>
{
    Q_OBJECT
public:
    TKorGradientEditor(QWidget *parent, TCustomKorGradient *gradient, bool simple = false,
                       const TEditTarget &target = {});
    ~TKorGradientEditor() override;

    TCustomKorGradient *Gradient() const { return FEdited; }
    bool Simple() const { return FSimple; }

    QCheckBox *VisibleBox() const { return FVisible; }
    QComboBox *DirectionList() const { return FDirection; }
    TButtonColor *StartButton() const { return FStart; }
    TButtonColor *MiddleButton() const { return FMiddle; }
    TButtonColor *EndButton() const { return FEnd; }
    QPushButton *SwapButton() const { return FSwap; }
    QCheckBox *NoMiddleBox() const { return FNoMiddle; }

protected:
    void Fill() override;

private:
    void Enable();

    bool FSimple;
    QCheckBox *FVisible;
    QComboBox *FDirection;
    TButtonColor *FStart;
    TButtonColor *FMiddle;
    TButtonColor *FEnd;
    QPushButton *FSwap;
    QCheckBox *FNoMiddle;
};

// Runs the gradient editor on `gradient`; answers whether OK was pressed.
bool EditGradient(QWidget *owner, TCustomKorGradient *gradient, bool simple = false,
                  const TEditTarget &target = {});
