#pragma once
// The "Create new DataSet" dialog: the engine first (an SQLite database
// file, or a PostgreSQL server), then where the data is and which table or
// query to read. Finishing creates the dataset, owned by the window, named
// "Table1", "Query1", ..., and opens it.

#include <QDialog>

class QComboBox;
class QFormLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class TComponent;
class TTreeDataSet;
struct TTreeDatabase;

class TNewDataSetForm : public QDialog
{
    Q_OBJECT
public:
    explicit TNewDataSetForm(TComponent *owner, QWidget *parent = nullptr);

    QRadioButton *SQLiteChoice() const { return FSQLite; }
    QRadioButton *PostgreSQLChoice() const { return FPostgreSQL; }
    QLineEdit *FileEdit() const { return FFile; }
    QPushButton *BrowseButton() const { return FBrowse; }
    QLineEdit *HostEdit() const { return FHost; }
    QSpinBox *PortBox() const { return FPort; }
    QLineEdit *DatabaseEdit() const { return FDatabaseName; }
    QLineEdit *UserEdit() const { return FUser; }
    QLineEdit *PasswordEdit() const { return FPassword; }
    // The chosen engine's table and query.
    QComboBox *TableBox() const;
    QPlainTextEdit *SQLEdit() const;
    QPushButton *NextButton() const { return FNext; }
    int Page() const;

    // Goes on (the first page leads to the chosen engine's page, which
    // finishes).
    void Next();
    // Lists the tables of the database the page names (a message when it
    // cannot be reached).
    void ListTables();
    // The dataset created by Finish (null before, or when it failed).
    TTreeDataSet *Created() const { return FCreated; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    TTreeDatabase Database() const;
    bool Finish();

    TComponent *FOwner;
    QStackedWidget *FPages;
    QRadioButton *FSQLite, *FPostgreSQL;
    QLineEdit *FFile;
    QPushButton *FBrowse;
    QLineEdit *FHost, *FDatabaseName, *FUser, *FPassword;
    QSpinBox *FPort;
    // [0] on the SQLite page, [1] on the PostgreSQL page.
    QComboBox *FTables[2];
    QPlainTextEdit *FQueries[2];
    QPushButton *FNext, *FCancel;
    TTreeDataSet *FCreated = nullptr;
};

// A label beside a row of controls takes the row's first control as its
// buddy, so its hotkey works and shows as one.
void GiveRowsBuddies(QFormLayout *form);

// Shows the dialog; answers the dataset created, null when cancelled.
TTreeDataSet *NewDataSet(QWidget *parent, TComponent *owner);
