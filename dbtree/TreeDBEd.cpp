#include "dbtree/TreeDBEd.h"

#include "dbtree/DBTreeConst.h"
#include "dbtree/KorDBTre.h"
#include "dbtree/KorNewDataSet.h"
#include "dbtree/KorSelectList.h"
#include "dialogs/KorPrompts.h"
#include "dialogs/TreeShEd.h"
#include "i18n/KorTranslate.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

// The sample of each situation: a table and the tree it gives.
const char *const kSamples[3][2] = {
    {"Code  Parent  Text\n1     0       Continents\n2     1       Africa\n3     2       SouthAfrica\n4     1       America\n"
     "5     4       USA\n6     5       California\n7     1       Australia\n8     7       Sydney",
     "Continents\n  Africa\n    SouthAfrica\n  America\n    USA\n      California\n  Australia\n    Sydney"},
    {"Country    City\nAustralia  Camberra\nAustralia  Sydney\nUK         Manchester\nUK         Liverpool\n"
     "UK         London\nUSA        Chicago\nUSA        Michigan\nUSA        New York",
     "Australia\n  Camberra\n  Sydney\nUK\n  Manchester\n  Liverpool\n  London\nUSA\n  Chicago\n  Michigan\n  New York"},
    {"Department   Employee  Salary\nAccounting   John      April $1000\nManagement   Chris     March $900\n"
     "                       April $700\nSales        Anne      June $500",
     "Department\n  Accounting\n    John\n      April $1000\n  Management\n    Chris\n      March $900\n      April $700\n"
     "  Sales\n    Anne\n      June $500"},
};

QLabel *Monospaced(const char *text, QWidget *parent)
{
    auto *l = new QLabel(QString::fromUtf8(text), parent);
    QFont f = l->font();
    f.setFamily(QStringLiteral("Liberation Mono"));
    f.setStyleHint(QFont::Monospace);
    l->setFont(f);
    l->setFrameShape(QFrame::StyledPanel);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setMargin(4);
    return l;
}

} // namespace

TTreeDBEditor::TTreeDBEditor(TCustomDBTree *tree, QWidget *parent) : QDialog(parent), FTree(tree)
{
    setObjectName(QStringLiteral("TreeDBEditor"));
    setWindowTitle(SDBWizardCaption.Text());
    FPages = new QStackedWidget(this);

    // Page 1: the situation.
    auto *first = new QWidget(FPages);
    auto *firstLayout = new QVBoxLayout(first);
    firstLayout->addWidget(new QLabel(QStringLiteral("Choose a situation:"), first));
    const char *const captions[3] = {"&Each record has a code and its parent's code",
                                     "Records &grouped by the values of fields", "A &master table and its detail table"};
    for (int i = 0; i < 3; ++i) {
        auto *row = new QHBoxLayout;
        FChoices[i] = new QRadioButton(QString::fromLatin1(captions[i]), first);
        auto *box = new QVBoxLayout;
        box->addWidget(FChoices[i]);
        auto *samples = new QHBoxLayout;
        samples->addWidget(Monospaced(kSamples[i][0], first));
        samples->addWidget(Monospaced(kSamples[i][1], first));
        box->addLayout(samples);
        row->addLayout(box);
        firstLayout->addLayout(row);
        connect(FChoices[i], &QRadioButton::toggled, this, [this] { Changed(); });
    }
    FPages->addWidget(first);

    // Page 2: the dataset and its fields.
    auto *second = new QWidget(FPages);
    auto *form = new QFormLayout(second);
    FDataSet = new QComboBox(second);
    FNewDataSet = new QPushButton(QStringLiteral("&New..."), second);
    auto *dataRow = new QHBoxLayout;
    dataRow->addWidget(FDataSet, 1);
    dataRow->addWidget(FNewDataSet);
    form->addRow(QStringLiteral("Data&Set:"), dataRow);
    FCodeField = new QComboBox(second);
    form->addRow(QStringLiteral("C&ode field:"), FCodeField);
    auto pickRow = [this, second](QLineEdit *&edit, QPushButton *&dots, const std::function<TTreeDataSet *()> &source) {
        edit = new QLineEdit(second);
        dots = new QPushButton(QStringLiteral("..."), second);
        dots->setFixedWidth(30);
        QLineEdit *e = edit;
        connect(dots, &QPushButton::clicked, this, [this, e, source] { PickFields(e, source()); });
        connect(edit, &QLineEdit::textEdited, this, [this] { Changed(); });
        auto *row = new QHBoxLayout;
        row->addWidget(edit, 1);
        row->addWidget(dots);
        return row;
    };
    const auto master = [this] { return ChosenDataSet(FDataSet); };
    const auto detail = [this] { return ChosenDataSet(FDetail); };
    form->addRow(QStringLiteral("Parent or &group fields:"), pickRow(FParentField, FParentPick, master));
    form->addRow(QStringLiteral("&Text fields:"), pickRow(FTextFields, FTextPick, master));
    FMultiLine = new QCheckBox(QStringLiteral("Multi-line text"), second);
    form->addRow(QString(), FMultiLine);
    // The formats of the record nodes and of the optional header node, of
    // the master (item 0) and of the detail (item 1); the detail's have
    // hotkeys of their own.
    auto formatRow = [this, second](int item) {
        auto *row = new QHBoxLayout;
        for (bool header : {false, true}) {
            const QString caption = item == 0 ? (header ? QStringLiteral("&Header...") : QStringLiteral("&Format..."))
                                              : (header ? QStringLiteral("Hea&der...") : QStringLiteral("Fo&rmat..."));
            auto *b = new QPushButton(caption, second);
            connect(b, &QPushButton::clicked, this, [this, item, header] { EditFormat(item, header); });
            row->addWidget(b);
            FFormatButtons[item][header ? 1 : 0] = b;
        }
        row->addStretch();
        return row;
    };
    form->addRow(QString(), formatRow(0));
    FDetail = new QComboBox(second);
    form->addRow(QStringLiteral("D&etail:"), FDetail);
    FMasterLink = new QComboBox(second);
    form->addRow(QStringLiteral("&Master field:"), FMasterLink);
    FDetailLink = new QComboBox(second);
    form->addRow(QStringLiteral("Detail &link field:"), FDetailLink);
    form->addRow(QStringLiteral("Detail f&ields:"), pickRow(FDetailFields, FDetailPick, detail));
    form->addRow(QString(), formatRow(1));
    GiveRowsBuddies(form);
    // Datasets and fields go by their names: a translation would name
    // another one.
    for (QComboBox *names : {FDataSet, FCodeField, FDetail, FMasterLink, FDetailLink})
        names->setProperty(kNoTranslateProperty, true);
    FPages->addWidget(second);

    FNext = new QPushButton(SDBNext.Text(), this);
    FPrevious = new QPushButton(QStringLiteral("< &Previous"), this);
    FCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    FApply = new QPushButton(QStringLiteral("&Apply"), this);
    // Enter in a chooser goes on, as Next or Finish would (not New...).
    FNext->setDefault(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {FPrevious, FNext, FCancel, FApply})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(FPages);
    layout->addLayout(buttons);

    connect(FNext, &QPushButton::clicked, this, &TTreeDBEditor::Next);
    connect(FPrevious, &QPushButton::clicked, this, &TTreeDBEditor::Previous);
    connect(FCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(FApply, &QPushButton::clicked, this, [this] { Apply(); });
    connect(FDataSet, &QComboBox::currentIndexChanged, this, [this] { DataSetChosen(); });
    connect(FDetail, &QComboBox::currentIndexChanged, this, [this] { DetailChosen(); });
    for (QComboBox *b : {FCodeField, FMasterLink, FDetailLink})
        connect(b, &QComboBox::currentIndexChanged, this, [this] { Changed(); });
    connect(FMultiLine, &QCheckBox::toggled, this, [this] { Changed(); });
    connect(FNewDataSet, &QPushButton::clicked, this, [this] {
        if (TTreeDataSet *d = NewDataSet(this, FTree ? FTree->Owner() : nullptr)) {
            FillDataSets();
            FDataSet->setCurrentIndex(FDataSet->findData(QVariant::fromValue(static_cast<void *>(d))));
        }
    });

    // The choices as the tree has them.
    FFilling = true;
    for (int item = 0; FTree && item < 2 && item < FTree->Layout()->Count(); ++item) {
        const TDBLayout *l = FTree->Layout()->Items(item);
        if (const TTreeNodeShape *format = l->PeekFormat())
            FormatNode(item, false)->Assign(format);
        if (const TTreeNodeShape *header = l->PeekHeaderFormat())
            FormatNode(item, true)->Assign(header);
    }
    FillDataSets();
    if (FTree) {
        FDataSet->setCurrentIndex(std::max(0, FDataSet->findData(QVariant::fromValue(static_cast<void *>(FTree->DataSet())))));
        DataSetChosen();
        FCodeField->setCurrentText(FTree->CodeField());
        FParentField->setText(FTree->ParentField());
        FTextFields->setText(FTree->TextFields());
        FMultiLine->setChecked(FTree->MultiLineText());
        FDetail->setCurrentIndex(std::max(0, FDetail->findData(QVariant::fromValue(static_cast<void *>(FTree->Detail())))));
        DetailChosen();
        FDetailFields->setText(FTree->DetailFields());
    }
    const TSituation preset = FTree && !FTree->CodeField().isEmpty() ? dsCodeParent
                              : FTree && FTree->Detail()             ? dsMasterDetail
                                                                     : dsGrouped;
    FChoices[preset]->setChecked(true);
    FPages->setCurrentIndex(FTree && FTree->DataSet() ? 1 : 0);
    FFilling = false;
    FApply->setEnabled(false);
    UpdatePage();
}

TTreeDBEditor::~TTreeDBEditor() = default;

void TTreeDBEditor::showEvent(QShowEvent *event)
{
    TranslateForm(this);
    QDialog::showEvent(event);
}

TTreeDBEditor::TSituation TTreeDBEditor::Situation() const
{
    for (int i = 0; i < 3; ++i)
        if (FChoices[i]->isChecked())
            return TSituation(i);
    return dsGrouped;
}

void TTreeDBEditor::SetSituation(TSituation situation)
{
    FChoices[situation]->setChecked(true);
    UpdatePage();
}

int TTreeDBEditor::Page() const
{
    return FPages->currentIndex();
}

QList<TTreeDataSet *> TTreeDBEditor::DataSets() const
{
    QList<TTreeDataSet *> list;
    TComponent *owner = FTree ? FTree->Owner() : nullptr;
    if (!owner)
        return list;
    for (int i = 0; i < owner->ComponentCount(); ++i)
        if (auto *d = dynamic_cast<TTreeDataSet *>(owner->Components(i)))
            list << d;
    return list;
}

void TTreeDBEditor::FillDataSets()
{
    const bool filling = FFilling;
    FFilling = true;
    for (QComboBox *box : {FDataSet, FDetail}) {
        void *current = box->currentData().value<void *>();
        box->clear();
        box->addItem(QString(), QVariant::fromValue(static_cast<void *>(nullptr)));
        for (TTreeDataSet *d : DataSets())
            box->addItem(d->Name(), QVariant::fromValue(static_cast<void *>(d)));
        box->setCurrentIndex(std::max(0, box->findData(QVariant::fromValue(current))));
    }
    FFilling = filling;
}

TTreeDataSet *TTreeDBEditor::ChosenDataSet(const QComboBox *box) const
{
    auto *d = static_cast<TTreeDataSet *>(box->currentData().value<void *>());
    return DataSets().contains(d) ? d : nullptr;
}

QStringList TTreeDBEditor::FieldsOf(TTreeDataSet *dataSet) const
{
    if (!dataSet)
        return {};
    try {
        dataSet->Open();
    } catch (const Exception &e) {
        Prompts().Message(const_cast<TTreeDBEditor *>(this), pkError, e.Message());
        return {};
    }
    return dataSet->FieldNames();
}

void TTreeDBEditor::DataSetChosen()
{
    const bool filling = FFilling;
    FFilling = true;
    const QStringList fields = FieldsOf(ChosenDataSet(FDataSet));
    const QString code = FCodeField->currentText();
    FCodeField->clear();
    FCodeField->addItem(QString());
    FCodeField->addItems(fields);
    FCodeField->setCurrentText(code);
    const QString link = FMasterLink->currentText();
    FMasterLink->clear();
    FMasterLink->addItems(fields);
    FMasterLink->setCurrentText(link);
    FFilling = filling;
    Changed();
}

void TTreeDBEditor::DetailChosen()
{
    const bool filling = FFilling;
    FFilling = true;
    TTreeDataSet *detail = ChosenDataSet(FDetail);
    const QStringList fields = FieldsOf(detail);
    FDetailLink->clear();
    FDetailLink->addItems(fields);
    if (detail && detail->Master() == ChosenDataSet(FDataSet)) {
        FMasterLink->setCurrentText(detail->MasterField());
        FDetailLink->setCurrentText(detail->DetailField());
    }
    FFilling = filling;
    Changed();
}

void TTreeDBEditor::PickFields(QLineEdit *edit, TTreeDataSet *dataSet)
{
    QString selection = edit->text();
    if (SelectFields(this, FieldsOf(dataSet), selection)) {
        edit->setText(selection);
        Changed();
    }
}

void TTreeDBEditor::Changed()
{
    if (FFilling)
        return;
    FApply->setEnabled(true);
    UpdatePage();
}

void TTreeDBEditor::UpdatePage()
{
    const bool last = FPages->currentIndex() == 1;
    FNext->setText(last ? SDBFinish.Text() : SDBNext.Text());
    FPrevious->setEnabled(last);
    const TSituation s = Situation();
    FCodeField->setEnabled(s == dsCodeParent);
    for (QWidget *w : std::initializer_list<QWidget *>{FDetail, FMasterLink, FDetailLink, FDetailFields, FDetailPick,
                                                       FFormatButtons[1][0], FFormatButtons[1][1]})
        w->setEnabled(s == dsMasterDetail);
    FParentField->setEnabled(s != dsMasterDetail);
    FParentPick->setEnabled(s != dsMasterDetail);
}

void TTreeDBEditor::Next()
{
    if (FPages->currentIndex() == 0) {
        FPages->setCurrentIndex(1);
        UpdatePage();
        return;
    }
    if (FApply->isEnabled() && !Apply())
        return;
    accept();
}

void TTreeDBEditor::Previous()
{
    FPages->setCurrentIndex(0);
    UpdatePage();
}

TTreeNodeShape *TTreeDBEditor::FormatNode(int item, bool header)
{
    std::unique_ptr<TTreeNodeShape> &node = FFormats[item > 0 ? 1 : 0][header ? 1 : 0];
    if (!node)
        node = TDBLayout::NewFormat();
    return node.get();
}

void TTreeDBEditor::EditFormat(int item, bool header)
{
    // A format is no node of the diagram: it has no cross box and no
    // connections to its children.
    const auto hideDiagramControls = [](void *, TNodeTreeEditor *editor) { editor->ShowDiagramControls(false); };
    EditShape(this, FormatNode(item, header), sepFormat, hideDiagramControls, this, false);
    Changed();
}

bool TTreeDBEditor::Fail(QWidget *focus, const QString &message)
{
    Prompts().Message(this, pkWarning, message);
    FPages->setCurrentIndex(1);
    UpdatePage();
    focus->setFocus();
    return false;
}

bool TTreeDBEditor::Apply()
{
    if (!FTree)
        return false;
    const TSituation s = Situation();
    TTreeDataSet *master = ChosenDataSet(FDataSet);
    TTreeDataSet *detail = s == dsMasterDetail ? ChosenDataSet(FDetail) : nullptr;
    const QString code = s == dsCodeParent ? FCodeField->currentText() : QString();
    const QString parent = s == dsMasterDetail ? QString() : FParentField->text();
    const QString text = FTextFields->text();
    switch (s) {
    case dsCodeParent:
        if (code.isEmpty())
            return Fail(FCodeField, SDBCodeParentTextNeeded.Text());
        if (parent.isEmpty())
            return Fail(FParentField, SDBCodeParentTextNeeded.Text());
        if (text.isEmpty())
            return Fail(FTextFields, SDBCodeParentTextNeeded.Text());
        break;
    case dsGrouped:
        if (text.isEmpty())
            return Fail(FTextFields, SDBTextFieldsNeeded.Text());
        break;
    case dsMasterDetail:
        if (text.isEmpty())
            return Fail(FTextFields, SDBMasterFieldsNeeded.Text());
        if (!detail)
            return Fail(FDetail, SDBDetailFieldsNeeded.Text());
        if (FDetailFields->text().isEmpty())
            return Fail(FDetailFields, SDBDetailFieldsNeeded.Text());
        break;
    }
    if (!master)
        return Fail(FDataSet, SDBDataSetNeeded.Text());
    if (detail)
        detail->SetMaster(master, FMasterLink->currentText(), FDetailLink->currentText());
    FTree->SetDataSet(master);
    FTree->SetCodeField(code);
    FTree->SetParentField(parent);
    FTree->SetTextFields(text);
    FTree->SetMultiLineText(FMultiLine->isChecked());
    FTree->SetDetail(detail);
    FTree->SetDetailFields(detail ? FDetailFields->text() : QString());
    for (int item = 0; item < 2 && item < FTree->Layout()->Count(); ++item) {
        TDBLayout *l = FTree->Layout()->Items(item);
        if (const TTreeNodeShape *format = FFormats[item][0].get())
            l->SetFormat(format);
        if (const TTreeNodeShape *header = FFormats[item][1].get())
            l->SetHeaderFormat(header);
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        if (detail)
            detail->Open();
        // Big tables take a while: a window tells how far the building is
        // and lets the user stop it.
        const std::unique_ptr<TKorProgress> progress =
            Prompts().Progress(this, SDBWizardCaption.Text(), [](int done, int total) {
                return FormatMessage(SDBBuilding, {QString::number(done), total > 0 ? QString::number(total) : QStringLiteral("?")});
            });
        FTree->Refresh([&progress](int done, int total) { return progress->Step(done, total); });
    } catch (const Exception &e) {
        QApplication::restoreOverrideCursor();
        Prompts().Message(this, pkError, e.Message());
        return false;
    }
    QApplication::restoreOverrideCursor();
    if (FTree->Cancelled()) {
        // What was built stays; Apply builds it whole again.
        Prompts().Message(this, pkInformation, SDBCancelled.Text());
        return false;
    }
    // The first root and then each first child down the tree are expanded.
    for (TTreeNodeShape *node = FTree->Roots().First(); node; node = node->Children().First())
        FTree->SetShapeExpanded(node, true);
    FApply->setEnabled(false);
    return true;
}

bool EditDBTree(QWidget *parent, TCustomDBTree *tree)
{
    TTreeDBEditor editor(tree, parent);
    return Prompts().Exec(editor) == QDialog::Accepted;
}
