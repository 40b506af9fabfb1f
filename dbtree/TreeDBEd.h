#pragma once
// The "Database Tree Wizard": first the situation (a code/parent table, a
// grouped table, or a master with its detail), then the dataset and its
// fields; Apply fills the diagram, Finish applies and closes.

#include <QDialog>
#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class TCustomDBTree;
class TTreeDataSet;
class TTreeNodeShape;

class TTreeDBEditor : public QDialog
{
    Q_OBJECT
public:
    enum TSituation { dsCodeParent, dsGrouped, dsMasterDetail };

    explicit TTreeDBEditor(TCustomDBTree *tree, QWidget *parent = nullptr);
    ~TTreeDBEditor() override;

    TSituation Situation() const;
    void SetSituation(TSituation situation);
    int Page() const;
    // Checks the choices (the message is shown, the focus moved to the
    // chooser at fault) and fills the diagram; answers whether it did.
    bool Apply();
    void Next();
    void Previous();
    // The shape editor on the master's (item 0) or the detail's (item 1)
    // record format or header format. The wizard edits copies of the
    // tree's formats; Apply gives them to the tree, Cancel forgets them.
    void EditFormat(int item, bool header);
    TTreeNodeShape *FormatNode(int item, bool header);

    // The datasets a tree may use: those of the diagram's owner.
    QList<TTreeDataSet *> DataSets() const;

    QComboBox *DataSetBox() const { return FDataSet; }
    QComboBox *CodeFieldBox() const { return FCodeField; }
    QLineEdit *ParentFieldEdit() const { return FParentField; }
    QLineEdit *TextFieldsEdit() const { return FTextFields; }
    QComboBox *DetailBox() const { return FDetail; }
    QComboBox *MasterLinkBox() const { return FMasterLink; }
    QComboBox *DetailLinkBox() const { return FDetailLink; }
    QLineEdit *DetailFieldsEdit() const { return FDetailFields; }
    QPushButton *ParentPickButton() const { return FParentPick; }
    QPushButton *DetailPickButton() const { return FDetailPick; }
    QPushButton *FormatButton(int item, bool header) const { return FFormatButtons[item > 0 ? 1 : 0][header ? 1 : 0]; }
    QCheckBox *MultiLineBox() const { return FMultiLine; }
    QPushButton *NextButton() const { return FNext; }
    QPushButton *PreviousButton() const { return FPrevious; }
    QPushButton *ApplyButton() const { return FApply; }
    QPushButton *NewDataSetButton() const { return FNewDataSet; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FillDataSets();
    void DataSetChosen();
    void DetailChosen();
    void Changed();
    void UpdatePage();
    TTreeDataSet *ChosenDataSet(const QComboBox *box) const;
    QStringList FieldsOf(TTreeDataSet *dataSet) const;
    void PickFields(QLineEdit *edit, TTreeDataSet *dataSet);
    bool Fail(QWidget *focus, const QString &message);

    TCustomDBTree *FTree;
    // [item][header]: the formats being edited, null until edited when
    // the tree had none.
    std::unique_ptr<TTreeNodeShape> FFormats[2][2];
    QStackedWidget *FPages;
    QRadioButton *FChoices[3];
    QComboBox *FDataSet;
    QPushButton *FNewDataSet;
    QComboBox *FCodeField;
    QLineEdit *FParentField;
    QLineEdit *FTextFields;
    QComboBox *FDetail;
    QComboBox *FMasterLink;
    QComboBox *FDetailLink;
    QLineEdit *FDetailFields;
    // The "..." buttons that open the field picker.
    QPushButton *FParentPick, *FTextPick, *FDetailPick;
    // [item][header]
    QPushButton *FFormatButtons[2][2];
    QCheckBox *FMultiLine;
    QPushButton *FNext, *FPrevious, *FCancel, *FApply;
    bool FFilling = false;
};

// Shows the wizard for a diagram; answers whether it closed with Finish.
bool EditDBTree(QWidget *parent, TCustomDBTree *tree);
