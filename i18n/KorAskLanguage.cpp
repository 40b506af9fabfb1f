#include "i18n/KorAskLanguage.h"

#include "dialogs/KorPrompts.h"
#include "i18n/KorLanguages.h"
#include "i18n/KorTranslate.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TAskLanguage::TAskLanguage(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AskLanguage"));
    setWindowTitle(QStringLiteral("Available Languages"));
    FLabel = new QLabel(QStringLiteral("&Choose a Language:"), this);
    FList = new QListWidget(this);
    FList->setObjectName(QStringLiteral("LBLangs"));
    // Every language keeps the name the list gives it, so that a user who
    // cannot read the language in use still finds his own.
    FList->setProperty(kNoTranslateProperty, true);
    FLabel->setBuddy(FList);
    FButtons = new QDialogButtonBox(this);
    QPushButton *ok = FButtons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    FButtons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(FLabel);
    layout->addWidget(FList, 1);
    layout->addWidget(FButtons);
    connect(FButtons, &QDialogButtonBox::accepted, this, &TAskLanguage::accept);
    connect(FButtons, &QDialogButtonBox::rejected, this, &TAskLanguage::reject);
    connect(FList, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
    SetEntries(LanguageEntries());
    resize(260, 340);
}

void TAskLanguage::SetEntries(const QStringList &entries)
{
    FList->clear();
    for (const QString &entry : entries) {
        const int comma = entry.indexOf(QLatin1Char(','));
        auto *item = new QListWidgetItem(comma < 0 ? entry : entry.left(comma), FList);
        bool ok = false;
        const int number = comma < 0 ? -1 : entry.mid(comma + 1).trimmed().toInt(&ok);
        item->setData(Qt::UserRole, ok ? number : -1);
    }
    const int stored = ReadStoredLanguage();
    for (int i = 0; i < FList->count(); ++i)
        if (FList->item(i)->data(Qt::UserRole).toInt() == stored) {
            FList->setCurrentRow(i);
            return;
        }
    if (FList->count() > 0)
        FList->setCurrentRow(0);
}

int TAskLanguage::SelectedLanguage() const
{
    const QListWidgetItem *item = FList->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : -1;
}

void TAskLanguage::accept()
{
    const int number = SelectedLanguage();
    // Nothing to choose: as good as a cancel.
    if (number < 0) {
        reject();
        return;
    }
    WriteStoredLanguage(number);
    QDialog::accept();
}

void TAskLanguage::showEvent(QShowEvent *event)
{
    TranslateForm(this);
    QDialog::showEvent(event);
}

bool AskLanguage(QWidget *parent)
{
    TAskLanguage dialog(parent);
    return Prompts().Exec(dialog) == QDialog::Accepted;
}

TLanguageChoice ChooseLanguage(QWidget *parent)
{
    const bool hadTable = ActiveTable() != nullptr;
    if (!AskLanguage(parent))
        return lcCancelled;
    ApplyLanguage(ReadStoredLanguage(), true);
    if (hadTable || !ActiveTable())
        return lcRestart;
    return lcTranslateNow;
}
