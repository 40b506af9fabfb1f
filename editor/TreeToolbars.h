#pragma once
// The font toolbar and the format toolbar. Both act on the selected
// connection, else on every selected node; each change is one step of the
// diagram, made through its operations, so it marks the document modified
// and can be undone. Both are filled from the selection after every change
// of it and are disabled while nothing is selected.

#include "editor/TreePanelPart.h"

#include "core/Colors.h"

#include <QToolButton>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QSlider;
class QSpinBox;
class QToolButton;
class TButtonColor;
class TKorGradient;
class TKorFontGradient;

// A button showing a gradient (the font's glyph gradient); a click edits it.
class TGradientSwatch : public QToolButton
{
    Q_OBJECT
public:
    explicit TGradientSwatch(QWidget *parent = nullptr);
    // What the button paints (none: a plain face).
    void SetGradient(const TKorFontGradient *gradient);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // Start, middle (clNone: none) and end colours and whether it is shown.
    TColor FStart = clWhite;
    TColor FMiddle = clNone;
    TColor FEnd = clWhite;
    bool FVisible = false;
};

class TTreeFontToolbar : public TTreePanelPart
{
    Q_OBJECT
public:
    explicit TTreeFontToolbar(QWidget *parent = nullptr);

    QComboBox *NameBox() const { return FName; }
    QComboBox *SizeBox() const { return FSize; }
    QToolButton *BoldButton() const { return FBold; }
    QToolButton *ItalicButton() const { return FItalic; }
    QToolButton *UnderlineButton() const { return FUnderline; }
    QToolButton *StrikeOutButton() const { return FStrikeOut; }
    QToolButton *LeftButton() const { return FLeft; }
    QToolButton *CenterButton() const { return FCenter; }
    QToolButton *RightButton() const { return FRight; }
    QSpinBox *InterCharBox() const { return FInterChar; }
    TButtonColor *ColorButton() const { return FColor; }
    QToolButton *OutlineButton() const { return FOutline; }
    TGradientSwatch *GradientButton() const { return FGradient; }

    // The size typed into the size box: used when it is a whole number
    // from 1 to 1000; anything else leaves the size as it is.
    void ApplySizeText(const QString &text);
    void ApplyName(const QString &name);

protected:
    void FillControls() override;
    bool Concerns(const TTreeChange &change) const override;

private:
    // Runs `change` on each target whose value differs (`differs`), as one
    // step, each with its notice naming `property`.
    void ApplyToTargets(const QString &property, const std::function<bool(TCustomTreeElement *)> &differs,
                        const std::function<void(TCustomTreeElement *)> &change);
    void ApplyStyle(int style, bool on);
    void ApplyAlignment(int alignment);
    void EditOutline();
    void EditGradient();

    QComboBox *FName;
    QComboBox *FSize;
    QToolButton *FBold;
    QToolButton *FItalic;
    QToolButton *FUnderline;
    QToolButton *FStrikeOut;
    QToolButton *FLeft;
    QToolButton *FCenter;
    QToolButton *FRight;
    QButtonGroup *FAlignment;
    QSpinBox *FInterChar;
    TButtonColor *FColor;
    QToolButton *FOutline;
    TGradientSwatch *FGradient;
};

class TTreeFormatToolbar : public TTreePanelPart
{
    Q_OBJECT
public:
    explicit TTreeFormatToolbar(QWidget *parent = nullptr);

    // The entries of the border style list.
    enum { bsClear = 0, bsSolid, bsDash, bsDot, bsDashDot, bsDashDotDot, bsSmallDots };

    TButtonColor *BorderColorButton() const { return FBorderColor; }
    TButtonColor *FillColorButton() const { return FFillColor; }
    QComboBox *BorderStyleList() const { return FBorderStyle; }
    QSlider *BorderWidthSlider() const { return FBorderWidth; }
    QComboBox *ImageList() const { return FImage; }
    QComboBox *TextBox() const { return FText; }
    QCheckBox *TransparentBox() const { return FTransparent; }
    // Where the window puts the page navigator.
    QWidget *NavigatorSlot() const { return FNavigatorSlot; }

    // The list entry that shows a pen (Small Dots, else 0 for a hidden
    // pen, else its style + 1).
    static int BorderStyleEntry(const TChartPen *pen, bool smallDotsListed);
    void ApplyBorderStyle(int entry);
    void ApplyBorderWidth(int width);
    void ApplyImage(int entry);
    // Replaces the first text line of the connection or first node (adds
    // it to an empty text).
    void ApplyText(const QString &line);
    void ApplyTransparent(bool value);
    // What opening the text box's list does: the text dialog on the
    // element, then its new first line in the box.
    void EditText();

protected:
    void FillControls() override;
    bool Concerns(const TTreeChange &change) const override;

private:
    void ApplyToBorders(const QString &property, const std::function<bool(TChartPen *)> &differs,
                        const std::function<void(TChartPen *)> &change);
    void ApplyToNodes(const QString &property, const QString &step,
                      const std::function<bool(TTreeNodeShape *)> &differs,
                      const std::function<void(TTreeNodeShape *)> &change);

    TButtonColor *FBorderColor;
    TButtonColor *FFillColor;
    QComboBox *FBorderStyle;
    QSlider *FBorderWidth;
    QComboBox *FImage;
    QComboBox *FText;
    QCheckBox *FTransparent;
    QWidget *FNavigatorSlot;
};
