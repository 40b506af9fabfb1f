#include "dialogs/KorPrompts.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>

TMessageText SPromptYes("SPromptYes", "&Yes");
TMessageText SPromptNo("SPromptNo", "&No");
TMessageText SPromptOk("SPromptOk", "OK");
TMessageText SPromptCancel("SPromptCancel", "Cancel");
TMessageText SPromptConfirm("SPromptConfirm", "Confirm");
TMessageText SPromptInformation("SPromptInformation", "Information");
TMessageText SPromptWarning("SPromptWarning", "Warning");
TMessageText SPromptError("SPromptError", "Error");

namespace {

std::unique_ptr<TKorPrompts> &Installed()
{
    static std::unique_ptr<TKorPrompts> prompts;
    return prompts;
}

// What a box closed without a button answers.
TPromptAnswer EscapeAnswer(TPromptButtons buttons)
{
    if (buttons & paCancel)
        return paCancel;
    if (buttons & paNo)
        return paNo;
    if (buttons & paOk)
        return paOk;
    return paCancel;
}

QString KindTitle(TPromptKind kind)
{
    switch (kind) {
    case pkInformation:
        return SPromptInformation;
    case pkWarning:
        return SPromptWarning;
    case pkError:
        return SPromptError;
    case pkConfirmation:
        return SPromptConfirm;
    }
    return QString();
}

// The real progress window: Qt's progress dialog, modal to its window,
// shown once the work has lasted half a second.
class TDialogProgress : public TKorProgress
{
public:
    TDialogProgress(QWidget *parent, const QString &title, TProgressText text)
        : FDialog(new QProgressDialog(parent)), FText(std::move(text))
    {
        FDialog->setWindowTitle(title);
        FDialog->setCancelButtonText(SPromptCancel.Text());
        FDialog->setWindowModality(Qt::WindowModal);
        FDialog->setMinimumDuration(500);
        FDialog->setAutoClose(false);
        FDialog->setAutoReset(false);
        FDialog->setRange(0, 0);
        if (FText)
            FDialog->setLabelText(FText(0, 0));
        // The clock of the showing starts here.
        FDialog->setValue(0);
    }
    ~TDialogProgress() override { delete FDialog.data(); }

    bool Step(int done, int total) override
    {
        if (!FDialog)
            return false;
        // Redrawing and reading the mouse for every step would cost more
        // than the work itself.
        if (FLast.isValid() && FLast.elapsed() < 40 && done < total)
            return !FDialog->wasCanceled();
        FLast.start();
        if (FDialog->maximum() != std::max(0, total))
            FDialog->setRange(0, std::max(0, total));
        if (FText)
            FDialog->setLabelText(FText(done, total));
        FDialog->setValue(total > 0 ? std::min(done, total) : done);
        if (FDialog->isVisible())
            QCoreApplication::processEvents();
        return !FDialog->wasCanceled();
    }

private:
    QPointer<QProgressDialog> FDialog;
    TProgressText FText;
    QElapsedTimer FLast;
};

// The scripted one hands every step to the test's handler.
class TScriptedProgress : public TKorProgress
{
public:
    TScriptedProgress(std::function<bool(int, int, const QString &)> handler, TProgressText text)
        : FHandler(std::move(handler)), FText(std::move(text))
    {
    }
    bool Step(int done, int total) override
    {
        if (FCancelled)
            return false;
        if (FHandler && !FHandler(done, total, FText ? FText(done, total) : QString()))
            FCancelled = true;
        return !FCancelled;
    }

private:
    std::function<bool(int, int, const QString &)> FHandler;
    TProgressText FText;
    bool FCancelled = false;
};

} // namespace

QString QtFileFilter(const QString &filter)
{
    // "Desc|pattern|Desc|pattern": the descriptions already name their
    // patterns; Qt reads the patterns from the parentheses.
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString desc = parts.at(i);
        const QString pattern = QString(parts.at(i + 1)).replace(QLatin1Char(';'), QLatin1Char(' '));
        if (!desc.contains(QLatin1Char('(')))
            desc += QStringLiteral(" (") + pattern + QLatin1Char(')');
        else
            desc = desc.left(desc.indexOf(QLatin1Char('('))).trimmed() + QStringLiteral(" (") + pattern +
                   QLatin1Char(')');
        out << desc;
    }
    if (parts.size() % 2 == 1 && !parts.last().isEmpty())
        out << parts.last();
    return out.join(QStringLiteral(";;"));
}

TKorPrompts &Prompts()
{
    auto &p = Installed();
    if (!p)
        p = std::make_unique<TDialogPrompts>();
    return *p;
}

std::unique_ptr<TKorPrompts> InstallPrompts(std::unique_ptr<TKorPrompts> prompts)
{
    auto previous = std::move(Installed());
    Installed() = std::move(prompts);
    return previous;
}

// ---- Qt's dialogs

TPromptAnswer TDialogPrompts::Ask(QWidget *parent, TPromptKind kind, const QString &text, TPromptButtons buttons,
                                  const QString &title)
{
    QMessageBox box(parent);
    box.setWindowTitle(title.isEmpty() ? KindTitle(kind) : title);
    box.setText(text);
    switch (kind) {
    case pkInformation:
        box.setIcon(QMessageBox::Information);
        break;
    case pkWarning:
        box.setIcon(QMessageBox::Warning);
        break;
    case pkError:
        box.setIcon(QMessageBox::Critical);
        break;
    case pkConfirmation:
        box.setIcon(QMessageBox::Question);
        break;
    }
    struct TButton
    {
        TPromptAnswer Answer;
        const TMessageText *Caption;
        QMessageBox::ButtonRole Role;
    };
    const TButton all[] = {{paYes, &SPromptYes, QMessageBox::YesRole},
                           {paNo, &SPromptNo, QMessageBox::NoRole},
                           {paOk, &SPromptOk, QMessageBox::AcceptRole},
                           {paCancel, &SPromptCancel, QMessageBox::RejectRole}};
    std::vector<std::pair<QAbstractButton *, TPromptAnswer>> made;
    if (buttons == 0)
        buttons = paOk;
    for (const TButton &b : all)
        if (buttons & b.Answer) {
            QPushButton *button = box.addButton(b.Caption->Text(), b.Role);
            made.emplace_back(button, b.Answer);
            if (made.size() == 1)
                box.setDefaultButton(button);
        }
    box.exec();
    for (const auto &[button, answer] : made)
        if (box.clickedButton() == button)
            return answer;
    return EscapeAnswer(buttons);
}

QString TDialogPrompts::OpenFileName(TFileDialogOptions &options)
{
    QFileDialog dialog(options.Parent, options.Title, options.InitialName, QtFileFilter(options.Filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!options.DefaultSuffix.isEmpty())
        dialog.setDefaultSuffix(options.DefaultSuffix);
    const QStringList filters = dialog.nameFilters();
    if (options.FilterIndex >= 0 && options.FilterIndex < filters.size())
        dialog.selectNameFilter(filters.at(options.FilterIndex));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    options.FilterIndex = std::max(0, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())));
    return dialog.selectedFiles().first();
}

QString TDialogPrompts::SaveFileName(TFileDialogOptions &options)
{
    QFileDialog dialog(options.Parent, options.Title, options.InitialName, QtFileFilter(options.Filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!options.ConfirmOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!options.DefaultSuffix.isEmpty())
        dialog.setDefaultSuffix(options.DefaultSuffix);
    const QStringList filters = dialog.nameFilters();
    if (options.FilterIndex >= 0 && options.FilterIndex < filters.size())
        dialog.selectNameFilter(filters.at(options.FilterIndex));
    if (!options.InitialName.isEmpty())
        dialog.selectFile(options.InitialName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    options.FilterIndex = std::max(0, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())));
    return dialog.selectedFiles().first();
}

QString TDialogPrompts::ExistingFolder(QWidget *parent, const QString &title, const QString &initial)
{
    return QFileDialog::getExistingDirectory(parent, title, initial);
}

bool TDialogPrompts::PickColor(QWidget *parent, TColor &color)
{
    // Qt keeps the custom colours of its colour dialogs for the whole run.
    const QColor chosen = QColorDialog::getColor(ToQColor(color), parent);
    if (!chosen.isValid())
        return false;
    color = FromQColor(chosen);
    return true;
}

bool TDialogPrompts::PickFont(QWidget *parent, QFont &font)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font, parent);
    if (ok)
        font = chosen;
    return ok;
}

bool TDialogPrompts::InputText(QWidget *parent, const QString &title, const QString &label, QString &text)
{
    bool ok = false;
    const QString value = QInputDialog::getText(parent, title, label, QLineEdit::Normal, text, &ok);
    if (ok)
        text = value;
    return ok;
}

int TDialogPrompts::Exec(QDialog &dialog)
{
    return dialog.exec();
}

std::unique_ptr<TKorProgress> TDialogPrompts::Progress(QWidget *parent, const QString &title, TProgressText text)
{
    return std::make_unique<TDialogProgress>(parent, title, std::move(text));
}

// ---- Scripted prompts

std::vector<TScriptedPrompts::TCall> TScriptedPrompts::CallsOf(const QString &what) const
{
    std::vector<TCall> out;
    for (const TCall &c : FCalls)
        if (c.What == what)
            out.push_back(c);
    return out;
}

QString TScriptedPrompts::NextFileName()
{
    if (FileNames.isEmpty()) {
        ++FUnanswered;
        return QString();
    }
    return FileNames.takeFirst();
}

TPromptAnswer TScriptedPrompts::Ask(QWidget *, TPromptKind kind, const QString &text, TPromptButtons buttons,
                                    const QString &)
{
    FCalls.push_back({QStringLiteral("Ask"), text, kind, buttons});
    if (OnAsk)
        return OnAsk(text, kind, buttons);
    if (!Answers.empty()) {
        const TPromptAnswer a = Answers.front();
        Answers.erase(Answers.begin());
        return a;
    }
    // A plain message needs no answer.
    if (buttons == paOk || buttons == 0)
        return paOk;
    ++FUnanswered;
    return EscapeAnswer(buttons);
}

QString TScriptedPrompts::OpenFileName(TFileDialogOptions &options)
{
    FCalls.push_back({QStringLiteral("OpenFileName"), options.Title});
    return OnOpenFileName ? OnOpenFileName(options) : NextFileName();
}

QString TScriptedPrompts::SaveFileName(TFileDialogOptions &options)
{
    FCalls.push_back({QStringLiteral("SaveFileName"), options.Title});
    return OnSaveFileName ? OnSaveFileName(options) : NextFileName();
}

QString TScriptedPrompts::ExistingFolder(QWidget *, const QString &title, const QString &)
{
    FCalls.push_back({QStringLiteral("ExistingFolder"), title});
    return OnExistingFolder ? OnExistingFolder(title) : NextFileName();
}

bool TScriptedPrompts::PickColor(QWidget *, TColor &color)
{
    FCalls.push_back({QStringLiteral("PickColor"), QString()});
    if (OnPickColor)
        return OnPickColor(color);
    ++FUnanswered;
    return false;
}

bool TScriptedPrompts::PickFont(QWidget *, QFont &font)
{
    FCalls.push_back({QStringLiteral("PickFont"), QString()});
    if (OnPickFont)
        return OnPickFont(font);
    ++FUnanswered;
    return false;
}

bool TScriptedPrompts::InputText(QWidget *, const QString &title, const QString &label, QString &text)
{
    FCalls.push_back({QStringLiteral("InputText"), title});
    if (OnInputText)
        return OnInputText(label, text);
    ++FUnanswered;
    return false;
}

int TScriptedPrompts::Exec(QDialog &dialog)
{
    FCalls.push_back({QStringLiteral("Exec"), QString::fromLatin1(dialog.metaObject()->className())});
    if (!OnExec) {
        ++FUnanswered;
        return QDialog::Rejected;
    }
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    const int answer = OnExec(dialog);
    // The handler may have closed the dialog itself, with its own result.
    if (dialog.isVisible()) {
        if (answer == QDialog::Accepted)
            dialog.accept();
        else
            dialog.reject();
    }
    return dialog.result();
}

std::unique_ptr<TKorProgress> TScriptedPrompts::Progress(QWidget *, const QString &title, TProgressText text)
{
    FCalls.push_back({QStringLiteral("Progress"), title});
    return std::make_unique<TScriptedProgress>(OnProgress, std::move(text));
}

TScriptedPromptsGuard::TScriptedPromptsGuard()
{
    auto prompts = std::make_unique<TScriptedPrompts>();
    FPrompts = prompts.get();
    FPrevious = InstallPrompts(std::move(prompts));
}

TScriptedPromptsGuard::~TScriptedPromptsGuard()
{
    InstallPrompts(std::move(FPrevious));
}
