#pragma once
// The brush dialog ("Pattern Color Editor"): the eight hatch styles and the
// twelve pattern bitmaps, the colour, and a picture to fill with; applied
// live, Cancel puts back the copy made when the dialog was shown.

#include "canvas/ChartBrush.h"
#include "dialogs/KorLiveDialog.h"

class TPicture;
class TButtonColor;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

// The list's entries: the styles 0 .. 7, then the patterns 8 .. 19.
constexpr int kBrushStyleCount = 8;
constexpr int kBrushPatternCount = 12;
constexpr int kBrushEntryCount = kBrushStyleCount + kBrushPatternCount;
// The English name of an entry (the list shows it translated).
QString BrushEntryName(int entry);
// Loads pattern bitmap `number` (1 .. 12) into a picture, white being its
// transparent colour; false for other numbers.
bool LoadBrushPattern(int number, TPicture &picture);

class TBrushDialog : public TKorLiveDialog<TChartBrush, TChartBrush>
{
    Q_OBJECT
public:
    TBrushDialog(QWidget *parent, TChartBrush *brush, const TEditTarget &target = {});
    ~TBrushDialog() override;

    TChartBrush *Brush() const { return FEdited; }

    QListWidget *StyleList() const { return FList; }
    TButtonColor *ColorButton() const { return FColor; }
    QPushButton *ImageButton() const { return FImageButton; }
    QLabel *Preview() const { return FPreview; }

    // Chooses list entry `entry` as a click does.
    void ChooseEntry(int entry);

protected:
    void Fill() override;

private:
    void RefreshImage();
    void ImageClicked();

    QListWidget *FList;
    TButtonColor *FColor;
    QGroupBox *FImageGroup;
    QLabel *FPreview;
    QPushButton *FImageButton;
};

// Runs the brush dialog on `brush`; answers whether OK was pressed.
bool EditBrush(QWidget *owner, TChartBrush *brush, const TEditTarget &target = {});
