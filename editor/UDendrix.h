#pragma once
// The application's main window and start-up. TTreeEditor1 is the editor
// window with what the application adds: its caption, a database-capable
// document, the file named on the command line, files dropped on it, the
// language menu, and the recovery copy of unsaved changes.

#include "editor/TreeEditor.h"

#include <memory>

class TTreeUndo;

class QAction;
class TRecoveryCopy;
class QDockWidget;
class TTreeAnimate;
class TTreeAnimateEditor;

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

    // Files dropped on the window: the first one that is there is opened
    // after asking to save; the others are ignored. A file that holds no
    // diagram leaves the document as it was.
    bool DropFiles(const QStringList &fileNames);

    // A text outline as a new, untitled document (the command line may
    // name one).
    void ImportOutline(const QString &fileName);

    // The document's undo list; its Undo and Redo items belong first into
    // the Edit menu (InstallInto), their shortcuts work in the whole window.
    TTreeUndo *Undo() const { return FUndo; }

    QAction *LanguageAction() const override { return FLanguageAction; }
    // Tools > Language...: the language dialog, then the window in the new
    // language (or a note that it needs a restart).
    void ChooseLanguage();

    int AnimationEditorHeight() const { return FAnimationEditorHeight; }
    // The document's animation, which files keep after the diagram; none
    // until a file brings one (a new document has none).
    TTreeAnimate *Animation() const { return FAnimation.get(); }
    // The docked animation editor (none until first shown); showing it
    // makes the document's animation when there is none yet.
    TTreeAnimateEditor *AnimationEditor() const { return FAnimationEditor; }
    bool BandVisible(TEditorBand band) const override;
    void SetBandVisible(TEditorBand band, bool visible) override;

    void LoadSettings(QSettings &settings) override;
    void SaveSettings(QSettings &settings) override;

protected:
    TTree *CreateTreeObject(TComponent *host, QWidget *parent) override;
    void SaveAfterDiagram(TWriter &writer) override;
    void LoadFromStream(TReader &reader, QIODevice &stream) override;
    void BeforeWrite() override;
    void AfterWrite() override;
    void FormShow() override;
    void FormClose() override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QString FStartFile;
    bool FOffersRecovery = true;
    TRecoveryCopy *FRecovery = nullptr;
    QAction *FLanguageAction = nullptr;
    TTreeUndo *FUndo = nullptr;
    int FAnimationEditorHeight = kDefaultAnimationEditorHeight;
    std::unique_ptr<TTreeAnimate> FAnimation;
    // Read with a file whose document is not in place yet.
    std::unique_ptr<TTreeAnimate> FReadAnimation;
    QDockWidget *FAnimationDock = nullptr;
    TTreeAnimateEditor *FAnimationEditor = nullptr;
};

// Everything the program registers before its first window: element
// classes for files and the palette.
void RegisterDendrixClasses();
