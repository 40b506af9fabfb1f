#include "editor/UDendrix.h"

#include "animation/TreeAnimate.h"
#include "core/Exceptions.h"
#include "dbtree/KorDBTre.h"
#include "dialogs/KorPrompts.h"
#include "editor/DendrixConstants.h"
#include "editor/DendrixSettings.h"
#include "editor/RecoveryCopy.h"
#include "editor/TreeCommands.h"
#include "editor/TreeEditorConst.h"
#include "editor/TreeNodeOutline.h"
#include "editor/TreePalette.h"
#include "editor/TreeToolbars.h"
#include "editor/TreeUndo.h"
#include "i18n/KorTranslate.h"
#include "shapes/ShapeGalleries.h"

#include <QAction>
#include <QLayout>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
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
    ComposeParts();
    FRecovery = new TRecoveryCopy(this);
    setAcceptDrops(true);
}

TTreeEditor1::~TTreeEditor1()
{
    // The parts go while the window and its document still stand.
    for (QWidget *panel : FPanelParts) {
        RemovePart(dynamic_cast<TEditorPart *>(panel));
        delete panel;
    }
    delete FCommands;
    RemovePart(FUndo);
    delete FUndo;
}

void TTreeEditor1::ComposeParts()
{
    // The commands build the whole menu bar, with the window's file actions.
    menuBar()->clear();
    FCommands = new TTreeCommands(this, this);
    AddPart(FCommands);
    FCommands->InstallMenus();
    PageShapes()->layout()->addWidget(FCommands->Palette());

    auto *font = new TTreeFontToolbar(PanelFont());
    PanelFont()->layout()->addWidget(font);
    AddPart(font);
    FPanelParts.push_back(font);
    auto *format = new TTreeFormatToolbar(PanelShape());
    PanelShape()->layout()->addWidget(format);
    AddPart(format);
    FPanelParts.push_back(format);
    auto *outline = new TTreeNodeOutline(NodeTreeSlot());
    NodeTreeSlot()->layout()->addWidget(outline);
    AddPart(outline);
    FPanelParts.push_back(outline);

    FUndo = new TTreeUndo(nullptr, this);
    AddPart(FUndo);

    // What the application adds to the commands' menus: Undo first in Edit,
    // the recent files above Close, the language in Tools.
    if (QMenu *edit = FCommands->Menu(mnEdit)) {
        QAction *first = edit->actions().value(0);
        edit->insertAction(first, FUndo->CreateUndoAction(this));
        edit->insertSeparator(first);
    }
    if (QMenu *file = FCommands->Menu(mnFile)) {
        QAction *close = FileAction(fcClose);
        file->insertAction(close, ReopenSeparator());
        file->insertMenu(close, ReopenMenu());
        file->insertSeparator(close);
    }
    if (QMenu *tools = FCommands->Menu(mnTools))
        tools->addAction(FLanguageAction);
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
}

void TTreeEditor1::SaveSettings(QSettings &settings)
{
    TTreeEditor::SaveSettings(settings);
    // No docked animation editor yet: it is never open at close.
    settings.setValue(QStringLiteral("AnimationEditor"), false);
}

void RegisterDendrixClasses()
{
    RegisterDBTreeClasses();
    RegisterShapeGalleries();
    RegisterAnimationClasses();
}
