// The document's lifecycle: asking to save, New, Open, Save, Save As.

#include "core/Exceptions.h"
#include "core/Reader.h"
#include "core/ScopeExit.h"
#include "core/Writer.h"
#include "dialogs/KorInspector.h"
#include "dialogs/KorPrompts.h"
#include "editor/DendrixConstants.h"
#include "editor/KorRecentFiles.h"
#include "editor/TreeEditor.h"

#include "core/ScopeExit.h"
#include "editor/TreeEditorConst.h"
#include "editor/TreeEditorDocument.h"
#include "editor/TreeStatusBar.h"
#include "export/KorExport.h"
#include "model/TreeFile.h"
#include "model/TreeReader.h"

#include <QApplication>
#include <QFileInfo>
#include <QSaveFile>
#include <functional>
#include <new>

namespace {

// The hourglass for as long as it lives, put back also when an error
// leaves early.
class TBusyCursor
{
public:
    TBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyCursor() { QApplication::restoreOverrideCursor(); }
    TBusyCursor(const TBusyCursor &) = delete;
    TBusyCursor &operator=(const TBusyCursor &) = delete;
};

// Runs a write with the hourglass; an error is shown and answers false.
bool WriteShowingErrors(QWidget *parent, const QString &name, const std::function<bool()> &write)
{
    try {
        TBusyCursor busy;
        return write();
    } catch (const Exception &e) {
        Prompts().Message(parent, pkError, e.Message());
    } catch (const std::bad_alloc &) {
        Prompts().Message(parent, pkError, FormatMessage(SCannotOpen, {name}));
    }
    return false;
}

// What Recent keeps of a document's name.
QString RecentName(const QString &fileName)
{
    return DiagramFileName(fileName);
}

} // namespace

void TTreeEditor::SetCaptionFormat(const QString &format)
{
    FCaptionFormat = format;
    UpdateCaption();
}

QString TTreeEditor::DocumentTitle() const
{
    return FFileName.isEmpty() ? SUntitledTree.Text() : QFileInfo(FFileName).fileName();
}

void TTreeEditor::UpdateCaption()
{
    setWindowTitle(FormatMessage(FCaptionFormat, {DocumentTitle()}));
}

void TTreeEditor::ShowError(const QString &text)
{
    Prompts().Message(this, pkError, text);
}

bool TTreeEditor::QuerySave()
{
    // A diagram of another owner is its owner's to save.
    if (!OwnsTree())
        SetModified(false);
    if (!FModified)
        return true;
    switch (Prompts().Ask(this, pkConfirmation, FormatMessage(SWantToSave, {DocumentTitle()}), paYes | paNo | paCancel)) {
    case paYes:
        FileSave();
        return !FModified;
    case paNo:
        SetModified(false);
        return true;
    default:
        return false;
    }
}

void TTreeEditor::ClearDocument()
{
    FFileName.clear();
    UpdateCaption();
    if (OwnsTree()) {
        // A fresh diagram has every diagram-wide setting at its default.
        AdoptDocument(NewDocumentSlot());
    } else if (FTree) {
        // The diagram of another owner stays the same object, emptied.
        FTree->Selected().Clear();
        FTree->Clear();
        ConfigureBorrowedTree();
        DocumentRenewed();
    }
    FInspector->ShowMenu(nullptr);
}

void TTreeEditor::FileNew()
{
    if (!QuerySave())
        return;
    ClearDocument();
    SetModified(false);
    RefreshInspector();
}

std::unique_ptr<TTreeEditor::TDocumentSlot> TTreeEditor::LoadDocumentSlot(const QString &fileName, QString &failure)
{
    std::unique_ptr<TDocumentSlot> slot = NewDocumentSlot();
    TBusyCursor busy;
    // A property the program does not know: the user decides whether the
    // rest is read.
    TScopedContinueQuestion ask([this](const QString &question) {
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        const bool yes = Prompts().Ask(this, pkConfirmation, question, paYes | paNo) == paYes;
        QApplication::restoreOverrideCursor();
        return yes;
    });
    try {
        LoadDiagramFile(*slot->Tree, fileName,
                        [this](void *, TReader &reader, QIODevice &stream) { LoadFromStream(reader, stream); });
    } catch (const Exception &e) {
        failure = e.Message();
    } catch (const std::bad_alloc &) {
        failure = FormatMessage(SCannotOpen, {fileName});
    }
    return slot;
}

bool TTreeEditor::ReadFileAsking(const QString &fileName, bool askToSave)
{
    if (fileName.isEmpty())
        return false;
    const QString name = QFileInfo(DiagramFileName(fileName)).absoluteFilePath();
    QString failure;
    std::unique_ptr<TDocumentSlot> slot = LoadDocumentSlot(name, failure);
    // Nothing of the file was taken (it could not be read, or holds no
    // diagram): the document stays as it was.
    if (!failure.isEmpty() && !slot->Tree->PartlyRead()) {
        ShowError(failure);
        return false;
    }
    if (askToSave && !QuerySave())
        return false;
    if (!OwnsTree()) {
        slot.reset();
        const QString again = ReadIntoBorrowedTree(name, failure.isEmpty());
        if (failure.isEmpty())
            failure = again;
    }
    FFileName = failure.isEmpty() ? name : QString();
    if (OwnsTree())
        AdoptDocument(std::move(slot));
    UpdateCaption();
    SetModified(false);
    RefreshInspector();
    if (!failure.isEmpty()) {
        // What was read stays, untitled, so it cannot replace the file it
        // came from by accident.
        ShowError(failure);
        return false;
    }
    FRecent->Add(RecentName(name));
    return true;
}

void TTreeEditor::FileOpen()
{
    if (!QuerySave())
        return;
    TFileDialogOptions options;
    options.Parent = this;
    options.Filter = SOpenDiagramFilter;
    options.DefaultSuffix = QStringLiteral("abx");
    options.InitialName = FFileName.isEmpty() ? QString() : QFileInfo(FFileName).absolutePath();
    const QString name = Prompts().OpenFileName(options);
    if (!name.isEmpty())
        ReadFile(name);
}

bool TTreeEditor::SaveDocumentAs(const QString &fileName)
{
    if (fileName.isEmpty() || !FTree)
        return false;
    const QString name = QFileInfo(DiagramFileName(fileName)).absoluteFilePath();
    BeforeWrite();
    TAtExit after([this] { AfterWrite(); });
    if (!WriteShowingErrors(this, name, [&] {
            SaveDiagramFile(*FTree, name, [this](TWriter &writer) { SaveAfterDiagram(writer); });
            return true;
        }))
        return false;
    // The name is the document's only now that the file holds it.
    FFileName = name;
    FRecent->Add(RecentName(name));
    UpdateCaption();
    SetModified(false);
    return true;
}

QString TTreeEditor::SaveDialogFilter()
{
    if (FSaveFilter.isEmpty())
        FSaveFilter = ExportSaveFilter(SSaveDiagramFilter);
    return FSaveFilter;
}

bool TTreeEditor::FileSave()
{
    QString name = FFileName;
    if (name.isEmpty()) {
        TFileDialogOptions options;
        options.Parent = this;
        options.Filter = SaveDialogFilter();
        options.DefaultSuffix = QStringLiteral("abx");
        options.InitialName = SUntitledTree.Text();
        name = Prompts().SaveFileName(options);
        if (name.isEmpty())
            return false;
    }
    // Whatever the extension: Save never exports.
    return SaveDocumentAs(name);
}

bool TTreeEditor::FileSaveAs()
{
    TFileDialogOptions options;
    options.Parent = this;
    options.Filter = SaveDialogFilter();
    options.DefaultSuffix = QStringLiteral("abx");
    options.InitialName = FFileName.isEmpty() ? SUntitledTree.Text() : FFileName;
    const QString name = Prompts().SaveFileName(options);
    if (name.isEmpty() || !FTree)
        return false;
    const QString extension = QFileInfo(name).suffix().trimmed().toUpper();
    if (extension.isEmpty() || extension == QLatin1String("ABX"))
        return SaveDocumentAs(name);
    // Another extension: the first export format writing it, the document's
    // name and state untouched.
    QStringList notices;
    bool known = true;
    if (!WriteShowingErrors(this, name, [&] {
            FTree->Selected().Clear();
            known = ExportDiagramToFile(*FTree, name, &notices);
            return known;
        })) {
        if (!known)
            ShowError(FormatMessage(SCannotSaveAsType, {name, extension.toLower()}));
        return false;
    }
    for (const QString &notice : notices)
        Prompts().Message(this, pkInformation, notice);
    return true;
}

void TTreeEditor::WriteCopy(const QString &fileName)
{
    if (!FTree)
        return;
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EFileError(file.errorString());
    BeforeWrite();
    TAtExit after([this] { AfterWrite(); });
    try {
        SaveDiagram(*FTree, file);
        TWriter writer(file);
        SaveAfterDiagram(writer);
        writer.FlushBuffer();
    } catch (...) {
        file.cancelWriting();
        throw;
    }
    if (!file.commit())
        throw EFileError(file.errorString());
}

bool TTreeEditor::RestoreCopy(const QString &copyName, const QString &documentName)
{
    QString failure;
    std::unique_ptr<TDocumentSlot> slot = LoadDocumentSlot(copyName, failure);
    const QString title = documentName.isEmpty() ? SUntitledTree.Text() : QFileInfo(documentName).fileName();
    if (!failure.isEmpty()) {
        ShowError(FormatMessage(SCannotRestore, {title, failure}));
        return false;
    }
    FFileName = documentName;
    if (OwnsTree()) {
        AdoptDocument(std::move(slot));
    } else if (const QString again = ReadIntoBorrowedTree(copyName, true); !again.isEmpty()) {
        FFileName.clear();
        UpdateCaption();
        ShowError(FormatMessage(SCannotRestore, {title, again}));
        return false;
    }
    UpdateCaption();
    // The changes are in no file of the user's yet.
    SetModified(true);
    RefreshInspector();
    return true;
}

QString TTreeEditor::ReadIntoBorrowedTree(const QString &fileName, bool readAll)
{
    // The file proved to be a diagram; it is read once more, now into the
    // diagram that stays. The questions were answered the first time: all
    // of it was read, or it stops at the first property not known.
    QString failure;
    TBusyCursor busy;
    TScopedContinueQuestion ask([readAll](const QString &) { return readAll; });
    FTree->Selected().Clear();
    try {
        LoadDiagramFile(*FTree, fileName,
                        [this](void *, TReader &reader, QIODevice &stream) { LoadFromStream(reader, stream); });
    } catch (const Exception &e) {
        failure = e.Message();
    } catch (const std::bad_alloc &) {
        failure = FormatMessage(SCannotOpen, {fileName});
    }
    DocumentRenewed();
    return failure;
}
