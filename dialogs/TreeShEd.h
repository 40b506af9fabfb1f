#pragma once
// The shape editor ("Tree Node Editor"): the format, text, image, gradient,
// shadow and position of node shapes. It works on a diagram's selection:
// every change applies at once to every selected node (each change one
// step), the controls show the first selected node, and the only button
// closes the dialog keeping the changes. The main window also uses it
// without showing it: it sets Tree, runs ShowStep and one of the Run*
// buttons to apply one property to the whole selection.

#include "dialogs/KorDialogs.h"
#include "model/TreeTypes.h"

#include <functional>

class TTreeDocument;
class TTreeNodeShape;
class TButtonColor;
class TFormKorText;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QPushButton;
class QScrollBar;
class QSpinBox;
class QTabWidget;

// The pages in order.
enum TShapeEditorPage { sepFormat, sepText, sepImage, sepGradient, sepShadow, sepPosition };

class TNodeTreeEditor : public TKorDialog
{
    Q_OBJECT
public:
    explicit TNodeTreeEditor(QWidget *parent = nullptr);
    ~TNodeTreeEditor() override;

    TTreeDocument *Tree() const { return FTree; }
    void SetTree(TTreeDocument *tree) { FTree = tree; }
    // The first selected node (null when none).
    TTreeNodeShape *FirstNode() const;
    bool Filling() const { return FFilling; }
    int LastMoveX() const { return FLastMoveX; }
    int LastMoveY() const { return FLastMoveY; }

    // Fills every control from the first selected node; writes nothing.
    void ShowStep();
    // Makes a page current (the text page builds its panel the first time).
    void SetPage(int page);
    void ShowPositionPage(bool show);
    // The cross box and the children's connections belong to nodes in a
    // diagram; a node that only stands as a format (a database tree's
    // record format) has neither, and the editor hides their controls.
    void ShowDiagramControls(bool show);

    // The buttons the main window runs without showing the dialog.
    void RunColor();
    void RunBorder();
    void RunPattern();
    void RunBack();

    // ---- Controls
    QTabWidget *Pages() const { return FPages; }
    TButtonColor *ColorSwatch() const { return FColor; }
    QPushButton *BorderButton() const { return FBorder; }
    TButtonColor *BorderColorSwatch() const { return FBorderColor; }
    QPushButton *PatternButton() const { return FPattern; }
    TButtonColor *BackButton() const { return FBack; }
    QComboBox *StyleList() const { return FStyle; }
    QLabel *StyleLabel() const { return FStyleLabel; }
    QComboBox *CursorList() const { return FCursor; }
    QComboBox *CrossList() const { return FCross; }
    QLabel *CrossLabel() const { return FCrossLabel; }
    QSpinBox *TransparencyBox() const { return FTransparency; }
    QComboBox *ConnectionsList() const { return FConnections; }
    QLabel *ConnectionsLabel() const { return FConnectionsLabel; }
    QCheckBox *TransparentBox() const { return FTransparent; }
    QCheckBox *ClipTextBox() const { return FClipText; }
    TFormKorText *TextPanel() const { return FTextPanel; }
    QLabel *ImagePreview() const { return FPreview; }
    QPushButton *ImageButton() const { return FImageButton; }
    QComboBox *DefaultImageList() const { return FDefaultImage; }
    QComboBox *ImageAlignList() const { return FImageAlign; }
    QSpinBox *ImageWidthBox() const { return FImageWidth; }
    QSpinBox *ImageHeightBox() const { return FImageHeight; }
    QCheckBox *ImageTransparentBox() const { return FImageTransparent; }
    QCheckBox *GradientVisibleBox() const { return FGradVisible; }
    QComboBox *GradientStyleList() const { return FGradStyle; }
    TButtonColor *GradientStartSwatch() const { return FGradStart; }
    TButtonColor *GradientEndSwatch() const { return FGradEnd; }
    TButtonColor *GradientMiddleSwatch() const { return FGradMiddle; }
    QPushButton *GradientSwapButton() const { return FGradSwap; }
    QCheckBox *NoMiddleBox() const { return FNoMiddle; }
    QCheckBox *GradientClipBox() const { return FGradClip; }
    TButtonColor *ShadowColorSwatch() const { return FShadowColor; }
    QSpinBox *ShadowHorizBox() const { return FShadowHoriz; }
    QSpinBox *ShadowVertBox() const { return FShadowVert; }
    QSpinBox *LeftBox() const { return FLeft; }
    QSpinBox *TopBox() const { return FTop; }
    QSpinBox *RightBox() const { return FRight; }
    QSpinBox *BottomBox() const { return FBottom; }
    QScrollBar *MoveHorizBar() const { return FMoveH; }
    QScrollBar *MoveVertBar() const { return FMoveV; }
    QScrollBar *WidthBar() const { return FWidthBar; }
    QScrollBar *HeightBar() const { return FHeightBar; }
    QCheckBox *AutoSizeBox() const { return FAutoSize; }
    QCheckBox *AutoLeftBox() const { return FAutoLeft; }
    QCheckBox *AutoTopBox() const { return FAutoTop; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void BuildFormatPage();
    void BuildImagePage();
    void BuildGradientPage();
    void BuildShadowPage();
    void BuildPositionPage();
    // Runs a change on every selected node with its notices, as one step.
    void ForSelected(const QString &property, const std::function<void(TTreeNodeShape *)> &change);
    // The same for a change of the first node only.
    void ForFirst(const QString &property, const std::function<void(TTreeNodeShape *)> &change);
    void FillPosition();
    void FillImage();
    void EnableSizeControls();
    void ImageClicked();
    void PageChanged(int index);

    TTreeDocument *FTree = nullptr;
    bool FFilling = true;
    int FLastMoveX = 0;
    int FLastMoveY = 0;
    QTabWidget *FPages;
    QWidget *FPositionPage = nullptr;
    QWidget *FTextPage = nullptr;
    TFormKorText *FTextPanel = nullptr;
    // Format.
    TButtonColor *FColor;
    QPushButton *FBorder;
    TButtonColor *FBorderColor;
    QPushButton *FPattern;
    TButtonColor *FBack;
    QLabel *FStyleLabel;
    QComboBox *FStyle;
    QComboBox *FCursor;
    QLabel *FCrossLabel;
    QComboBox *FCross;
    QSpinBox *FTransparency;
    QLabel *FConnectionsLabel;
    QComboBox *FConnections;
    QCheckBox *FTransparent;
    QCheckBox *FClipText;
    // Image.
    QLabel *FPreview;
    QPushButton *FImageButton;
    QComboBox *FDefaultImage;
    QComboBox *FImageAlign;
    QSpinBox *FImageWidth;
    QSpinBox *FImageHeight;
    QCheckBox *FImageTransparent;
    // Gradient.
    QCheckBox *FGradVisible;
    QComboBox *FGradStyle;
    TButtonColor *FGradStart;
    TButtonColor *FGradEnd;
    TButtonColor *FGradMiddle;
    QPushButton *FGradSwap;
    QCheckBox *FNoMiddle;
    QCheckBox *FGradClip;
    // Shadow.
    TButtonColor *FShadowColor;
    QSpinBox *FShadowHoriz;
    QSpinBox *FShadowVert;
    // Position.
    QSpinBox *FLeft;
    QSpinBox *FTop;
    QSpinBox *FRight;
    QSpinBox *FBottom;
    QScrollBar *FMoveH;
    QScrollBar *FMoveV;
    QScrollBar *FWidthBar;
    QScrollBar *FHeightBar;
    QCheckBox *FAutoSize;
    QCheckBox *FAutoLeft;
    QCheckBox *FAutoTop;
    QDialogButtonBox *FButtons;
};

// Lets the database wizard add its own controls before the dialog shows.
using TShapeEditorCallback = std::function<void(void *wizard, TNodeTreeEditor *editor)>;

// Edits `node` (alone in its diagram's selection, or in a temporary one when
// it belongs to no diagram) on page `page`; afterwards the node's selected
// state is as it was and the other nodes stay unselected.
void EditShape(QWidget *owner, TTreeNodeShape *node, int page = sepFormat, const TShapeEditorCallback &callback = {},
               void *wizard = nullptr, bool showPosition = true);
