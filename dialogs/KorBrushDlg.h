#pragma once
// The brush dialog ("Pattern Color Editor"): the eight hatch styles and the
// twelve pattern bitmaps, the colour, and a picture to fill with; applied
// live, Cancel puts back the copy made when the dialog was shown.

#include "dialogs/KorDialogs.h"
#include "dialogs/KorEditTarget.h"

#include <memory>

class TChartBrush;
class TPicture;
class TButtonColor;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QDialogButtonBox;

// The list's entries: the styles 0 .. 7, then the patterns 8 .. 19.
constexpr int kBrushStyleCount = 8;
constexpr int kBrushPatternCount = 12;
constexpr int kBrushEntryCount = kBrushStyleCount + kBrushPatternCount;
// The English name of an entry (the list shows it translated).
QString BrushEntryName(int entry);
// Loads pattern bitmap `number` (1 .. 12) into a picture, white being its
// transparent colour; false for other numbers.
bool LoadBrushPattern(int number, TPicture &picture);

class TBrushDialog : public TKorDialog
{
    Q_OBJECT
public:
    TBrushDialog(QWidget *parent, TChartBrush *brush, const TEditTarget &target = {});
    ~TBrushDialog() override;

    TChartBrush *Brush() const { return FBrush; }
    const TChartBrush *Backup() const { return FBackup.get(); }

    QListWidget *StyleList() const { return FList; }
    TButtonColor *ColorButton() const { return FColor; }
    QPushButton *ImageButton() const { return FImageButton; }
    QLabel *Preview() const { return FPreview; }
    QDialogButtonBox *Buttons() const { return FButtons; }

    // Chooses list entry `entry` as a click does.
    void ChooseEntry(int entry);

    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    QWidget *ButtonRow() const override;

private:
    void Fill();
    void RefreshImage();
    void ImageClicked();

    TChartBrush *FBrush;
    TEditTarget FTarget;
    std::unique_ptr<TChartBrush> FBackup;
    bool FFilling = true;
    QListWidget *FList;
    TButtonColor *FColor;
    QGroupBox *FImageGroup;
    QLabel *FPreview;
    QPushButton *FImageButton;
    QDialogButtonBox *FButtons;
};

// Runs the brush dialog on `brush`; answers whether OK was pressed.
bool EditBrush(QWidget *owner, TChartBrush *brush, const TEditTarget &target = {});
