#pragma once
// What every property editor shares: the dialog base that translates itself
// whenever it is shown, the colour and font helpers over the installed
// prompts, embedding a dialog in a page of another one, and the picture
// files the dialogs open.

#include "core/Colors.h"

#include <QDialog>
#include <QString>

class TFont;
class TPicture;
class QWidget;

class TKorDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TKorDialog(QWidget *parent = nullptr);

    // True while the dialog sits in a page of another dialog.
    bool Embedded() const { return FEmbedded; }
    // Places the dialog inside `page` (no frame, no buttons of its own
    // that close it) and shows it there.
    void EmbedIn(QWidget *page);

protected:
    void showEvent(QShowEvent *event) override;
    // The dialog's own OK / Cancel / Close row, hidden when embedded.
    virtual QWidget *ButtonRow() const { return nullptr; }

private:
    bool FEmbedded = false;
};

class QDialogButtonBox;
class TEditTarget;

// The "OK" and "Cancel" row of a dialog that applies live and puts its
// backup back on Cancel; OK is the default button.
QDialogButtonBox *NewOkCancelRow(QDialog *dialog, Qt::Orientation orientation = Qt::Horizontal);
// Runs such a dialog modally as one step of the diagram the target names;
// answers whether OK was pressed.
bool RunEditDialog(QDialog &dialog, const TEditTarget &target);

// The colour dialog starting at `color`; the colour chosen, or `color`
// itself when it was cancelled. Its custom colours stay for the whole run.
TColor EditColor(QWidget *owner, TColor color);
// The font dialog started from `font`; on OK the chosen name, size and
// style are copied back (the colour stays) and the answer is true.
bool EditFont(QWidget *owner, TFont *font);

// The picture-open dialog, its filter listing every format the program
// reads; the file chosen, empty when cancelled.
QString AskPictureFile(QWidget *owner);
// Loads a picture file chosen by the user into `picture`; a file that
// cannot be read is reported and leaves the picture as it was (false).
bool LoadPictureAsked(QWidget *owner, const QString &fileName, TPicture &picture);
