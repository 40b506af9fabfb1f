#include "editor/UDendrix.h"

#include "editor/TreeCommands.h"

#include "animation/TreeAnimate.h"
#include "animation/TreeAnimateEditor.h"
#include "animation/TreeAnimateFile.h"
#include "model/TreeReader.h"
#include "core/Exceptions.h"
#include "dbtree/KorDBTre.h"
#include "dbtree/TreeDBEd.h"
#include "dialogs/KorPrompts.h"
#include "editor/DendrixConstants.h"
#include "editor/DendrixSettings.h"
#include "editor/RecoveryCopy.h"
#include "editor/TreeEditorConst.h"
#include "editor/TreeUndo.h"
#include "i18n/KorTranslate.h"
#include "shapes/ShapeGalleries.h"

#include <QAction>
#include <QKeySequence>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

namespace {

constexpr int kMaxAnimationEditorHeight = 2000;

QStringList LocalFiles(const QMimeData *data)
{
    QStringList names;
    if (!data)
        return names;
    for (const QUrl &url : data->urls())
        if (url.isLocalFile())
            names << url.toLocalFile();
    return names;
}

} // namespace

TTreeEditor1::TTreeEditor1(QWidget *parent) : TTreeEditor(parent)
{
    setObjectName(QStringLiteral("TreeEditor1"));
    SetCaptionFormat(SDendrixCaption);
    setWindowTitle(SDendrixStartCaption);
    FLanguageAction = new QAction(QStringLiteral("&Language..."), this);
    FLanguageAction->setObjectName(QStringLiteral("Language1"));
    connect(FLanguageAction, &QAction::triggered, this, &TTreeEditor1::ChooseLanguage);
    // The commands' Tools menu takes it (the window built them before the
    // action existed).
    if (QMenu *tools = Commands() ? Commands()->Menu(mnTools) : nullptr) {
        tools->addSeparator();
        tools->addAction(FLanguageAction);
    }
    FRecovery = new TRecoveryCopy(this);
    setAcceptDrops(true);
    // Undo follows the document; saving marks the state taking back and
    // making again return to as unmodified.
    FUndo = new TTreeUndo(Tree(), this);
    FUndo->SetHost(this);
    AddPart(FUndo);
    addAction(FUndo->CreateUndoAction(this));
    addAction(FUndo->CreateRedoAction(this));
    connect(this, &TTreeEditor::modifiedChanged, FUndo, [this](bool modified) {
        if (!modified)
            FUndo->SetClean();
    });
    if (TTreeCommands *commands = Commands()) {
        // The Edit menu starts with Undo and Redo.
        FUndo->InstallInto(commands->Menu(mnEdit));
        // Tools: the docked animation editor.
        auto *animation = new QAction(QStringLiteral("&Animation"), this);
        animation->setObjectName(QStringLiteral("Animation1"));
        animation->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
        animation->setCheckable(true);
        connect(animation, &QAction::triggered, this, [this, animation](bool on) {
            SetBandVisible(ebAnimationEditor, on);
            animation->setChecked(BandVisible(ebAnimationEditor));
        });
        connect(commands->Menu(mnTools), &QMenu::aboutToShow, animation,
                [this, animation] { animation->setChecked(BandVisible(ebAnimationEditor)); });
        commands->Menu(mnTools)->addAction(animation);
        // Insert: a tree built from database tables.
        auto *database = new QAction(QStringLiteral("&New Database Tree..."), this);
        database->setObjectName(QStringLiteral("NewDatabaseTree1"));
        connect(database, &QAction::triggered, this, [this] {
            if (auto *tree = dynamic_cast<TCustomDBTree *>(Tree()))
                EditDBTree(this, tree);
        });
        commands->Menu(mnInsert)->addSeparator();
        commands->Menu(mnInsert)->addAction(database);
    }
    // A document in place: the animation its file held (none for a new
    // document, or a file without one) goes with it.
    connect(this, &TTreeEditor::documentReplaced, this, [this] {
        std::unique_ptr<TTreeAnimate> read = std::move(FReadAnimation);
        if (FAnimationEditor)
            FAnimationEditor->SetPlayer(nullptr);
        FAnimation.reset();
        if (read && read->Tree() == Tree())
            FAnimation = std::move(read);
        // The editor shows the new document's animation; without one it
        // closes.
        if (BandVisible(ebAnimationEditor)) {
            if (FAnimation)
                FAnimationEditor->SetPlayer(FAnimation.get(), Tree() ? Tree()->Owner() : nullptr);
            else
                SetBandVisible(ebAnimationEditor, false);
        }
    });
}

bool TTreeEditor1::BandVisible(TEditorBand band) const
{
    if (band == ebAnimationEditor)
        return FAnimationDock && !FAnimationDock->isHidden();
    return TTreeEditor::BandVisible(band);
}

void TTreeEditor1::SetBandVisible(TEditorBand band, bool visible)
{
    if (band != ebAnimationEditor) {
        TTreeEditor::SetBandVisible(band, visible);
        return;
    }
    if (!visible) {
        // Closing the editor stops the animation; its height is kept for
        // the next showing.
        if (FAnimationEditor)
            FAnimationEditor->SetPlayer(nullptr);
        if (FAnimationDock) {
            if (!FAnimationDock->isHidden())
                FAnimationEditorHeight = qMax(1, FAnimationDock->height());
            FAnimationDock->hide();
        }
        return;
    }
    if (!Tree())
        return;
    if (!FAnimation) {
        FAnimation = std::make_unique<TTreeAnimate>();
        FAnimation->SetName(QStringLiteral("TreeAnimate1"));
        FAnimation->SetTree(Tree());
    }
    if (!FAnimationDock) {
        FAnimationDock = new QDockWidget(QStringLiteral("Animation Editor"), this);
        FAnimationDock->setObjectName(QStringLiteral("AnimationEditorDock"));
        FAnimationEditor = new TTreeAnimateEditor(FAnimationDock);
        FAnimationDock->setWidget(FAnimationEditor);
        FAnimationEditor->resize(FAnimationEditor->width(), FAnimationEditorHeight);
        addDockWidget(Qt::BottomDockWidgetArea, FAnimationDock);
        resizeDocks({FAnimationDock}, {FAnimationEditorHeight}, Qt::Vertical);
        connect(FAnimationDock, &QDockWidget::visibilityChanged, this, [this](bool shown) {
            if (!shown && FAnimationEditor && FAnimationDock->isHidden())
                FAnimationEditor->SetPlayer(nullptr);
        });
    }
    FAnimationEditor->SetPlayer(FAnimation.get(), Tree()->Owner());
    FAnimationDock->show();
}

void TTreeEditor1::BeforeWrite()
{
    if (FAnimation)
        FAnimation->HoldValues();
}

void TTreeEditor1::AfterWrite()
{
    if (FAnimation)
        FAnimation->ReleaseValues();
}

TTreeEditor1::~TTreeEditor1()
{
    // The editor lets the player go before the player goes, and the dock,
    // hidden while the window's widgets go, tells this window no more.
    if (FAnimationDock)
        QObject::disconnect(FAnimationDock, nullptr, this, nullptr);
    if (FAnimationEditor)
        FAnimationEditor->SetPlayer(nullptr);
}

void TTreeEditor1::SaveAfterDiagram(TWriter &writer)
{
    if (FAnimation)
        WriteAnimationPart(writer, *FAnimation);
}

void TTreeEditor1::LoadFromStream(TReader &reader, QIODevice &stream)
{
    auto *treeReader = dynamic_cast<TTreeReader *>(&reader);
    FReadAnimation.reset();
    if (treeReader && treeReader->Diagram())
        FReadAnimation = ReadAnimationPart(reader, *treeReader->Diagram());
}

TTree *TTreeEditor1::CreateTreeObject(TComponent *host, QWidget *parent)
{
    return new TDBTree(host, parent);
}

void TTreeEditor1::FormShow()
{
    TTreeEditor::FormShow();
    if (QFileInfo(FStartFile).suffix().compare(QLatin1String("txt"), Qt::CaseInsensitive) == 0)
        ImportOutline(FStartFile);
    else if (!FStartFile.isEmpty())
        ReadFile(FStartFile);
    RefreshInspector();
    // Questions wait until the window is on the screen.
    if (FOffersRecovery)
        QTimer::singleShot(0, this, [this] {
            if (FRecovery)
                FRecovery->OfferRestore();
        });
}

void TTreeEditor1::FormClose()
{
    TTreeEditor::FormClose();
    // Closing was allowed: nothing unsaved is left to recover.
    FRecovery->Remove();
}

void TTreeEditor1::ImportOutline(const QString &fileName)
{
    // An outline becomes a new, untitled diagram: the import is its first
    // edit.
    try {
        TTreeStep step(Tree(), QString());
        Tree()->ImportOutlineFile(fileName);
        Tree()->ExpandAll(true);
    } catch (const Exception &e) {
        ShowError(e.Message());
    }
}

bool TTreeEditor1::DropFiles(const QStringList &fileNames)
{
    if (fileNames.isEmpty())
        return false;
    // The first name; full paths as they come.
    return ReadFileAsking(fileNames.first(), true);
}

void TTreeEditor1::dragEnterEvent(QDragEnterEvent *event)
{
    if (!LocalFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TTreeEditor1::dropEvent(QDropEvent *event)
{
    const QStringList names = LocalFiles(event->mimeData());
    if (names.isEmpty())
        return;
    event->acceptProposedAction();
    // The drop ends before any question is asked.
    QTimer::singleShot(0, this, [this, names] { DropFiles(names); });
}

void TTreeEditor1::ChooseLanguage()
{
    switch (::ChooseLanguage(this)) {
    case lcCancelled:
        break;
    case lcRestart:
        Prompts().Message(this, pkInformation, SRestartDendrix);
        break;
    case lcTranslateNow:
        TranslateForm(this);
        UpdateCaption();
        break;
    }
}

void TTreeEditor1::LoadSettings(QSettings &settings)
{
    TTreeEditor::LoadSettings(settings);
    if (!SettingsReadable(settings))
        return;
    if (const auto height = ReadSettingsInt(settings, QStringLiteral("AnimationEditorHeight")); height && *height >= 1)
        FAnimationEditorHeight = qMin(*height, kMaxAnimationEditorHeight);
    if (const auto shown = ReadSettingsBool(settings, QStringLiteral("AnimationEditor")); shown && *shown)
        SetBandVisible(ebAnimationEditor, true);
}

void TTreeEditor1::SaveSettings(QSettings &settings)
{
    TTreeEditor::SaveSettings(settings);
    // Whether the docked animation editor is open, and its height once it
    // was ever shown.
    const bool shown = BandVisible(ebAnimationEditor);
    settings.setValue(QStringLiteral("AnimationEditor"), shown);
    if (FAnimationDock) {
        if (shown)
            FAnimationEditorHeight = qBound(1, FAnimationDock->height(), kMaxAnimationEditorHeight);
        settings.setValue(QStringLiteral("AnimationEditorHeight"), FAnimationEditorHeight);
    }
}

void RegisterDendrixClasses()
{
    RegisterDBTreeClasses();
    RegisterShapeGalleries();
    RegisterAnimationClasses();
}
