#pragma once
// The application's main window and start-up. TTreeEditor1 is the editor
// window with what the application adds: its caption, a database-capable
// document, the file named on the command line, files dropped on it, the
// language menu, and the recovery copy of unsaved changes.

#include "editor/TreeEditor.h"

#include <memory>
#include <vector>

class QAction;
class TRecoveryCopy;
class TTreeCommands;
class TTreeUndo;

class TTreeEditor1 : public TTreeEditor
{
    Q_OBJECT
public:
    static constexpr int kDefaultAnimationEditorHeight = 140;

    explicit TTreeEditor1(QWidget *parent = nullptr);
    ~TTreeEditor1() override;

    // The file opened when the window is first shown (the command line's).
    QString StartFile() const { return FStartFile; }
    void SetStartFile(const QString &fileName) { FStartFile = fileName; }
    // Whether the first showing looks for the recovery copies of sessions
    // that ended without saving (on by default).
    bool OffersRecovery() const { return FOffersRecovery; }
    void SetOffersRecovery(bool value) { FOffersRecovery = value; }
    TRecoveryCopy *Recovery() const { return FRecovery; }
    TTreeCommands *Commands() const { return FCommands; }
    TTreeUndo *Undo() const { return FUndo; }

    // Files dropped on the window: the first one that is there is opened
    // after asking to save; the others are ignored. A file that holds no
    // diagram leaves the document as it was.
    bool DropFiles(const QStringList &fileNames);

    // A text outline as a new, untitled document (the command line may
    // name one).
    void ImportOutline(const QString &fileName);

    QAction *LanguageAction() const override { return FLanguageAction; }
    // Tools > Language...: the language dialog, then the window in the new
    // language (or a note that it needs a restart).
    void ChooseLanguage();

    int AnimationEditorHeight() const { return FAnimationEditorHeight; }

    void LoadSettings(QSettings &settings) override;
    void SaveSettings(QSettings &settings) override;

protected:
    TTree *CreateTreeObject(TComponent *host, QWidget *parent) override;
    void FormShow() override;
    void FormClose() override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // The editor's parts in their bands.
    void ComposeParts();

    QString FStartFile;
    TTreeCommands *FCommands = nullptr;
    TTreeUndo *FUndo = nullptr;
    std::vector<QWidget *> FPanelParts;
    bool FOffersRecovery = true;
    TRecoveryCopy *FRecovery = nullptr;
    QAction *FLanguageAction = nullptr;
    int FAnimationEditorHeight = kDefaultAnimationEditorHeight;
};

// Everything the program registers before its first window: element
// classes for files and the palette.
void RegisterDendrixClasses();
