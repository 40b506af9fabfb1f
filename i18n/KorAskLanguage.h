#pragma once
// The language dialog: the languages the program has, the stored one
// selected; OK (or a double click on an entry) stores the selected one.

#include <QDialog>

class QLabel;
class QListWidget;
class QDialogButtonBox;

class TAskLanguage : public QDialog
{
    Q_OBJECT
public:
    explicit TAskLanguage(QWidget *parent = nullptr);

    // Entries "Name,Number": the name is shown, the number kept with it.
    void SetEntries(const QStringList &entries);
    QListWidget *LBLangs() const { return FList; }
    // The language of the selected entry, -1 for none.
    int SelectedLanguage() const;

    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLabel *FLabel;
    QListWidget *FList;
    QDialogButtonBox *FButtons;
};

// Shows the dialog through the prompts; true when it was closed with OK.
bool AskLanguage(QWidget *parent);
