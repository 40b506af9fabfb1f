#pragma once
// Every modal question, message, standard picker and modal dialog of the
// program goes through the installed prompts: the real ones show Qt's
// dialogs, a test installs scripted ones (TScriptedPrompts) that answer
// without a window ever blocking.
//
//   if (Prompts().Ask(this, pkConfirmation, FormatMessage(SSureToDelete, {}), pbYes | pbNo) == paYes) ...
//   if (Prompts().Exec(dialog) == QDialog::Accepted) ...
//
// Code never calls QDialog::exec, QMessageBox, QFileDialog, QColorDialog,
// QFontDialog or QInputDialog directly.

#include "core/Colors.h"
#include "core/Messages.h"

#include <QFont>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QDialog;
class QWidget;

enum TPromptKind { pkInformation, pkWarning, pkError, pkConfirmation };
enum TPromptAnswer { paNone = 0, paOk = 1, paYes = 2, paNo = 4, paCancel = 8 };
using TPromptButtons = int; // TPromptAnswer values or-ed

// Captions of the message boxes' buttons and titles (language setters
// replace them).
extern TMessageText SPromptYes;         // "&Yes"
extern TMessageText SPromptNo;          // "&No"
extern TMessageText SPromptOk;          // "OK"
extern TMessageText SPromptCancel;      // "Cancel"
extern TMessageText SPromptConfirm;     // "Confirm"
extern TMessageText SPromptInformation; // "Information"
extern TMessageText SPromptWarning;     // "Warning"
extern TMessageText SPromptError;       // "Error"

// A file dialog's settings. Filters are written as the program keeps them:
// "Description (*.ext)|*.ext|Other (*.a;*.b)|*.a;*.b".
struct TFileDialogOptions
{
    QWidget *Parent = nullptr;
    QString Title;
    QString Filter;
    // Index (0-based) of the filter chosen first; the chosen one comes back.
    int FilterIndex = 0;
    // Added to a name typed without extension ("abx", no dot).
    QString DefaultSuffix;
    // The folder or file proposed.
    QString InitialName;
    bool ConfirmOverwrite = true;
};

// Long work the user may stop: the work tells how far it is, the window
// shows only when the work lasts, and a Cancel button stops it.
class TKorProgress
{
public:
    virtual ~TKorProgress() = default;
    // `done` of `total` steps (total 0: not known); answers false once the
    // user cancelled, and the work should then stop.
    virtual bool Step(int done, int total) = 0;
};
// The text a progress window shows for `done` of `total`; asked only when
// the window is updated.
using TProgressText = std::function<QString(int done, int total)>;

// The program's filter form turned into Qt's ("Description (*.ext);;...").
QString QtFileFilter(const QString &filter);

class TKorPrompts
{
public:
    virtual ~TKorPrompts() = default;

    // A message box with the given buttons; answers the button pressed, or
    // paCancel (paNo without a Cancel button, paOk for a plain message)
    // when the box was closed otherwise.
    virtual TPromptAnswer Ask(QWidget *parent, TPromptKind kind, const QString &text, TPromptButtons buttons,
                              const QString &title = QString()) = 0;
    // A message with an OK button.
    void Message(QWidget *parent, TPromptKind kind, const QString &text) { Ask(parent, kind, text, paOk); }

    // The name chosen, empty when cancelled.
    virtual QString OpenFileName(TFileDialogOptions &options) = 0;
    virtual QString SaveFileName(TFileDialogOptions &options) = 0;
    virtual QString ExistingFolder(QWidget *parent, const QString &title, const QString &initial) = 0;

    // Colour and font pickers: true when the user confirmed, with the
    // value changed in place.
    virtual bool PickColor(QWidget *parent, TColor &color) = 0;
    virtual bool PickFont(QWidget *parent, QFont &font) = 0;
    // A line of text; false when cancelled.
    virtual bool InputText(QWidget *parent, const QString &title, const QString &label, QString &text) = 0;

    // Runs one of the program's own modal dialogs (print dialogs included);
    // answers its result (QDialog::Accepted or Rejected).
    virtual int Exec(QDialog &dialog) = 0;

    // A progress window for work that begins now and ends when the answer
    // is freed.
    virtual std::unique_ptr<TKorProgress> Progress(QWidget *parent, const QString &title, TProgressText text) = 0;
};

// The prompts in use (the real dialogs until others are installed).
TKorPrompts &Prompts();
// Installs other prompts and answers the ones they replace (null: the real
// dialogs again).
std::unique_ptr<TKorPrompts> InstallPrompts(std::unique_ptr<TKorPrompts> prompts);

// Qt's dialogs. The colour picker keeps its custom colours for the whole
// run.
class TDialogPrompts : public TKorPrompts
{
public:
    TPromptAnswer Ask(QWidget *parent, TPromptKind kind, const QString &text, TPromptButtons buttons,
                      const QString &title = QString()) override;
    QString OpenFileName(TFileDialogOptions &options) override;
    QString SaveFileName(TFileDialogOptions &options) override;
    QString ExistingFolder(QWidget *parent, const QString &title, const QString &initial) override;
    bool PickColor(QWidget *parent, TColor &color) override;
    bool PickFont(QWidget *parent, QFont &font) override;
    bool InputText(QWidget *parent, const QString &title, const QString &label, QString &text) override;
    int Exec(QDialog &dialog) override;
    // Shows itself after a short while, and updates a few times a second
    // (keeping the window responsive) however often the work steps.
    std::unique_ptr<TKorProgress> Progress(QWidget *parent, const QString &title, TProgressText text) override;
};

// Prompts for tests: every call is recorded and answered by the handler
// set for its kind, else by the queued answers, else negatively (cancel,
// empty name, not accepted), and then counted as unanswered.
class TScriptedPrompts : public TKorPrompts
{
public:
    struct TCall
    {
        QString What; // "Ask", "OpenFileName", "SaveFileName", "ExistingFolder", "PickColor", "PickFont", "InputText", "Exec", "Progress"
        QString Text; // the question, the title, or the dialog's class name
        TPromptKind Kind = pkInformation;
        TPromptButtons Buttons = 0;
    };

    // Handlers; each receives what was asked.
    std::function<TPromptAnswer(const QString &text, TPromptKind kind, TPromptButtons buttons)> OnAsk;
    std::function<QString(TFileDialogOptions &options)> OnOpenFileName;
    std::function<QString(TFileDialogOptions &options)> OnSaveFileName;
    std::function<QString(const QString &title)> OnExistingFolder;
    std::function<bool(TColor &color)> OnPickColor;
    std::function<bool(QFont &font)> OnPickFont;
    std::function<bool(const QString &label, QString &text)> OnInputText;
    // The dialog is shown (not modally) while the handler runs; the handler
    // sets its controls and answers QDialog::Accepted or Rejected, or
    // closes the dialog itself (accept(), reject(), a button click).
    std::function<int(QDialog &dialog)> OnExec;
    // Told of every step of a progress window with the text it would show;
    // answering false cancels. Without a handler the work runs to its end.
    std::function<bool(int done, int total, const QString &text)> OnProgress;

    // Queued answers, used first-in first-out when no handler is set.
    std::vector<TPromptAnswer> Answers;
    QStringList FileNames;

    const std::vector<TCall> &Calls() const { return FCalls; }
    int Unanswered() const { return FUnanswered; }
    // The calls of one kind ("Ask", "Exec", ...).
    std::vector<TCall> CallsOf(const QString &what) const;
    void ClearCalls()
    {
        FCalls.clear();
        FUnanswered = 0;
    }

    TPromptAnswer Ask(QWidget *parent, TPromptKind kind, const QString &text, TPromptButtons buttons,
                      const QString &title = QString()) override;
    QString OpenFileName(TFileDialogOptions &options) override;
    QString SaveFileName(TFileDialogOptions &options) override;
    QString ExistingFolder(QWidget *parent, const QString &title, const QString &initial) override;
    bool PickColor(QWidget *parent, TColor &color) override;
    bool PickFont(QWidget *parent, QFont &font) override;
    bool InputText(QWidget *parent, const QString &title, const QString &label, QString &text) override;
    int Exec(QDialog &dialog) override;
    std::unique_ptr<TKorProgress> Progress(QWidget *parent, const QString &title, TProgressText text) override;

private:
    QString NextFileName();
    std::vector<TCall> FCalls;
    int FUnanswered = 0;
};

// Installs scripted prompts for the lifetime of the guard and puts the
// previous ones back afterwards.
class TScriptedPromptsGuard
{
public:
    TScriptedPromptsGuard();
    ~TScriptedPromptsGuard();
    TScriptedPromptsGuard(const TScriptedPromptsGuard &) = delete;
    TScriptedPromptsGuard &operator=(const TScriptedPromptsGuard &) = delete;
    TScriptedPrompts *operator->() const { return FPrompts; }
    TScriptedPrompts &operator*() const { return *FPrompts; }

private:
    TScriptedPrompts *FPrompts;
    std::unique_ptr<TKorPrompts> FPrevious;
};
