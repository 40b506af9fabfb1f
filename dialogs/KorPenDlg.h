#pragma once
// The pen dialog ("Border Editor"): visibility, width, style (with small
// dots), end style and colour of a pen, applied live; Cancel puts back the
// copy made when the dialog was shown.

#include "canvas/ChartPen.h"
#include "dialogs/KorLiveDialog.h"

class TButtonColor;
class QCheckBox;
class QComboBox;
class QLabel;
class QSpinBox;

class TPenDialog : public TKorLiveDialog<TPen, TChartPen>
{
    Q_OBJECT
public:
    // `pen` is not owned; `target` says where it lives.
    TPenDialog(QWidget *parent, TPen *pen, const TEditTarget &target = {});
    ~TPenDialog() override;

    TPen *Pen() const { return FEdited; }

    QCheckBox *VisibleBox() const { return FVisible; }
    QSpinBox *WidthBox() const { return FWidth; }
    QComboBox *StyleList() const { return FStyle; }
    // The end styles ("Round", "Square", "Flat"); only for chart pens.
    QComboBox *EndStyleList() const { return FEndStyle; }
    TButtonColor *ColorButton() const { return FColor; }

    // Index of the "Small Dots" entry of the style list.
    static constexpr int kSmallDotsEntry = 5;

protected:
    void Fill() override;

private:
    void RefreshStyleIcons();
    void Apply(const QString &property, const std::function<void()> &change);
    bool Live() const { return !FFilling && isVisible(); }

    TChartPen *FChartPen;
    QCheckBox *FVisible;
    QLabel *FWidthLabel;
    QSpinBox *FWidth;
    QComboBox *FStyle;
    QComboBox *FEndStyle;
    TButtonColor *FColor;
};

// Runs the pen dialog on `pen`; answers whether OK was pressed. The whole
// session is one step of the diagram `target` names.
bool EditPen(QWidget *owner, TPen *pen, const TEditTarget &target = {});
