#pragma once
// The pen dialog ("Border Editor"): visibility, width, style (with small
// dots), end style and colour of a pen, applied live; Cancel puts back the
// copy made when the dialog was shown.

#include "dialogs/KorDialogs.h"
#include "dialogs/KorEditTarget.h"

#include <memory>

class TPen;
class TChartPen;
class TButtonColor;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QSpinBox;

class TPenDialog : public TKorDialog
{
    Q_OBJECT
public:
    // `pen` is not owned; `target` says where it lives.
    TPenDialog(QWidget *parent, TPen *pen, const TEditTarget &target = {});
    ~TPenDialog() override;

    TPen *Pen() const { return FPen; }
    // The copy made at show (null before).
    const TChartPen *Backup() const { return FBackup.get(); }

    QCheckBox *VisibleBox() const { return FVisible; }
    QSpinBox *WidthBox() const { return FWidth; }
    QComboBox *StyleList() const { return FStyle; }
    // The end styles ("Round", "Square", "Flat"); only for chart pens.
    QComboBox *EndStyleList() const { return FEndStyle; }
    TButtonColor *ColorButton() const { return FColor; }
    QDialogButtonBox *Buttons() const { return FButtons; }

    // Index of the "Small Dots" entry of the style list.
    static constexpr int kSmallDotsEntry = 5;

    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    QWidget *ButtonRow() const override;

private:
    void Fill();
    void RefreshStyleIcons();
    void Apply(const QString &property, const std::function<void()> &change);
    bool Live() const { return !FFilling && isVisible(); }

    TPen *FPen;
    TChartPen *FChartPen;
    TEditTarget FTarget;
    std::unique_ptr<TChartPen> FBackup;
    bool FFilling = true;
    QCheckBox *FVisible;
    QLabel *FWidthLabel;
    QSpinBox *FWidth;
    QComboBox *FStyle;
    QComboBox *FEndStyle;
    TButtonColor *FColor;
    QDialogButtonBox *FButtons;
};

// Runs the pen dialog on `pen`; answers whether OK was pressed. The whole
// session is one step of the diagram `target` names.
bool EditPen(QWidget *owner, TPen *pen, const TEditTarget &target = {});
