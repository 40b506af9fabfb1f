#include "dbtree/KorSelectList.h"

#include "dbtree/KorDBTre.h"
#include "dialogs/KorPrompts.h"
#include "i18n/KorTranslate.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TSelectListForm::TSelectListForm(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SelectListForm"));
    setWindowTitle(QStringLiteral("Fields"));
    FAvailable = new QListWidget(this);
    FSelected = new QListWidget(this);
    // Field names as the dataset has them: the selection is read back from
    // the lists.
    FAvailable->setProperty(kNoTranslateProperty, true);
    FSelected->setProperty(kNoTranslateProperty, true);
    FAvailable->setSelectionMode(QAbstractItemView::ExtendedSelection);
    FSelected->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto button = [this](const char *text) {
        auto *b = new QPushButton(QString::fromLatin1(text), this);
        b->setFixedWidth(36);
        return b;
    };
    FRight = button(">");
    FAllRight = button(">>");
    FLeft = button("<");
    FAllLeft = button("<<");
    FUp = button("^");
    FDown = button("v");
    FUp->setToolTip(QStringLiteral("Move up"));
    FDown->setToolTip(QStringLiteral("Move down"));

    auto *grid = new QGridLayout;
    auto *availableLabel = new QLabel(QStringLiteral("A&vailable:"), this);
    availableLabel->setBuddy(FAvailable);
    auto *selectedLabel = new QLabel(QStringLiteral("&Selected: "), this);
    selectedLabel->setBuddy(FSelected);
    grid->addWidget(availableLabel, 0, 0);
    grid->addWidget(selectedLabel, 0, 2);
    grid->addWidget(FAvailable, 1, 0);
    auto *middle = new QVBoxLayout;
    middle->addStretch();
    for (QPushButton *b : {FRight, FAllRight, FLeft, FAllLeft})
        middle->addWidget(b);
    middle->addStretch();
    grid->addLayout(middle, 1, 1);
    grid->addWidget(FSelected, 1, 2);
    auto *order = new QVBoxLayout;
    order->addStretch();
    order->addWidget(FUp);
    order->addWidget(FDown);
    order->addStretch();
    grid->addLayout(order, 1, 3);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    connect(FRight, &QPushButton::clicked, this, [this] { Move(FAvailable, FSelected, false); });
    connect(FAllRight, &QPushButton::clicked, this, [this] { Move(FAvailable, FSelected, true); });
    connect(FLeft, &QPushButton::clicked, this, [this] { Move(FSelected, FAvailable, false); });
    connect(FAllLeft, &QPushButton::clicked, this, [this] { Move(FSelected, FAvailable, true); });
    connect(FUp, &QPushButton::clicked, this, [this] { Shift(-1); });
    connect(FDown, &QPushButton::clicked, this, [this] { Shift(1); });
    connect(FAvailable, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        FAvailable->clearSelection();
        item->setSelected(true);
        Move(FAvailable, FSelected, false);
    });
    connect(FSelected, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        FSelected->clearSelection();
        item->setSelected(true);
        Move(FSelected, FAvailable, false);
    });
    for (QListWidget *l : {FAvailable, FSelected})
        connect(l, &QListWidget::itemSelectionChanged, this, [this] { UpdateButtons(); });
    UpdateButtons();
}

void TSelectListForm::showEvent(QShowEvent *event)
{
    TranslateForm(this);
    QDialog::showEvent(event);
}

void TSelectListForm::SetFields(const QStringList &all, const QString &selection)
{
    FAvailable->clear();
    FSelected->clear();
    const QStringList chosen = SplitFieldList(selection);
    for (const QString &name : chosen)
        if (all.contains(name, Qt::CaseInsensitive))
            FSelected->addItem(name);
    for (const QString &name : all)
        if (!chosen.contains(name, Qt::CaseInsensitive))
            FAvailable->addItem(name);
    UpdateButtons();
}

QString TSelectListForm::Selection() const
{
    QStringList names;
    for (int i = 0; i < FSelected->count(); ++i)
        names << FSelected->item(i)->text();
    return names.join(kFieldSeparator);
}

void TSelectListForm::Move(QListWidget *from, QListWidget *to, bool all)
{
    for (int i = 0; i < from->count();) {
        QListWidgetItem *item = from->item(i);
        if (all || item->isSelected()) {
            to->addItem(from->takeItem(i));
            continue;
        }
        ++i;
    }
    UpdateButtons();
}

void TSelectListForm::Shift(int by)
{
    const int row = FSelected->currentRow();
    const int target = row + by;
    if (row < 0 || target < 0 || target >= FSelected->count())
        return;
    QListWidgetItem *item = FSelected->takeItem(row);
    FSelected->insertItem(target, item);
    FSelected->setCurrentRow(target);
    UpdateButtons();
}

void TSelectListForm::UpdateButtons()
{
    FRight->setEnabled(!FAvailable->selectedItems().isEmpty());
    FAllRight->setEnabled(FAvailable->count() > 0);
    FLeft->setEnabled(!FSelected->selectedItems().isEmpty());
    FAllLeft->setEnabled(FSelected->count() > 0);
    const int row = FSelected->currentRow();
    FUp->setEnabled(row > 0);
    FDown->setEnabled(row >= 0 && row < FSelected->count() - 1);
}

bool SelectFields(QWidget *parent, const QStringList &all, QString &selection)
{
    TSelectListForm form(parent);
    form.SetFields(all, selection);
    if (Prompts().Exec(form) != QDialog::Accepted)
        return false;
    selection = form.Selection();
    return true;
}
