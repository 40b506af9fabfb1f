#pragma once
// The field picker: the fields of a dataset in two lists, "Available" and
// "Selected", moved across with the arrow buttons or a double click, the
// selected ones put in order with the up and down buttons.

#include <QDialog>

class QListWidget;
class QListWidgetItem;
class QPushButton;

class TSelectListForm : public QDialog
{
    Q_OBJECT
public:
    explicit TSelectListForm(QWidget *parent = nullptr);

    // `selection` names fields separated by ";" (those the dataset lacks
    // are dropped).
    void SetFields(const QStringList &all, const QString &selection);
    // The selected names joined with ";".
    QString Selection() const;

    QListWidget *Available() const { return FAvailable; }
    QListWidget *Selected() const { return FSelected; }
    QPushButton *MoveRight() const { return FRight; }
    QPushButton *MoveAllRight() const { return FAllRight; }
    QPushButton *MoveLeft() const { return FLeft; }
    QPushButton *MoveAllLeft() const { return FAllLeft; }
    QPushButton *Up() const { return FUp; }
    QPushButton *Down() const { return FDown; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void Move(QListWidget *from, QListWidget *to, bool all);
    void Shift(int by);
    void UpdateButtons();

    QListWidget *FAvailable;
    QListWidget *FSelected;
    QPushButton *FRight, *FAllRight, *FLeft, *FAllLeft, *FUp, *FDown;
};

// Shows the picker; answers true and the new selection when closed with OK.
bool SelectFields(QWidget *parent, const QStringList &all, QString &selection);
