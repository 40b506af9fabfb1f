#pragma once
// Shared by the editor window's tests: a window on its own settings store,
// recovery folder and scripted prompts, and small diagram files.

#include "canvas/CanvasResources.h"
#include "dialogs/KorPrompts.h"
#include "editor/DendrixSettings.h"
#include "editor/KorRecentFiles.h"
#include "editor/RecoveryCopy.h"
#include "editor/UDendrix.h"
#include "model/ModelResources.h"
#include "model/TreeFile.h"
#include "view/Arbolix.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

// Once per test program: the classes files name, and a settings store that
// is the test's own.
inline void InitEditorTests(const QTemporaryDir &dir)
{
    InitCanvasResources();
    InitModelResources();
    RegisterDendrixClasses();
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath(QStringLiteral("settings")));
    qputenv("XDG_STATE_HOME", dir.filePath(QStringLiteral("state")).toUtf8());
}

// Empties the store (between tests).
inline void ClearEditorSettings()
{
    const auto settings = OpenDendrixSettings();
    settings->clear();
    settings->sync();
}

// The fixture of the window tests: their own settings store, emptied before
// each test, and prompts scripted by each test.
class TEditorWindowTest : public QObject
{
    Q_OBJECT
protected slots:
    void initTestCase() { InitEditorTests(FBase); }
    void init()
    {
        ClearEditorSettings();
        FPrompts = std::make_unique<TScriptedPromptsGuard>();
    }
    void cleanup() { FPrompts.reset(); }

protected:
    QTemporaryDir FBase;
    std::unique_ptr<TScriptedPromptsGuard> FPrompts;
};

inline QString EditorSettingsFile()
{
    return OpenDendrixSettings()->fileName();
}

// A diagram file of root nodes with the given texts, placed 100 pixels
// apart; answers the full name.
inline QString WriteDiagram(const QString &name, const QStringList &texts)
{
    TComponent host;
    host.SetName(QStringLiteral("TreeEditor1"));
    auto tree = std::make_unique<TTree>(&host);
    tree->SetNoOwnerShapes(false);
    int x = 10;
    for (const QString &text : texts) {
        tree->AddShape(x, 20, nullptr, text);
        x += 100;
    }
    SaveDiagramFile(*tree, name);
    tree.reset();
    return name;
}

// The texts of a diagram file's nodes, in order.
inline QStringList DiagramTexts(const QString &name)
{
    TComponent host;
    host.SetName(QStringLiteral("TreeEditor1"));
    auto tree = std::make_unique<TTree>(&host);
    tree->SetNoOwnerShapes(false);
    LoadDiagramFile(*tree, name);
    QStringList texts;
    for (int i = 0; i < tree->Shapes().Count(); ++i)
        texts << tree->Shapes().Items(i)->SimpleText();
    tree.reset();
    return texts;
}

inline QStringList TreeTexts(TTree *tree)
{
    QStringList texts;
    for (int i = 0; i < tree->Shapes().Count(); ++i)
        texts << tree->Shapes().Items(i)->SimpleText();
    return texts;
}

inline QByteArray FileBytes(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A shown main window whose recovery copies go to `folder`, without the
// start-up offer (tests make it themselves).
inline std::unique_ptr<TTreeEditor1> ShownEditor(const QString &recoveryFolder, const QString &startFile = QString())
{
    auto editor = std::make_unique<TTreeEditor1>();
    editor->SetOffersRecovery(false);
    editor->Recovery()->SetFolder(recoveryFolder);
    editor->SetStartFile(startFile);
    editor->show();
    return editor;
}

// The questions asked so far ("Ask" calls), in order.
inline QStringList AskedTexts(const TScriptedPrompts &prompts)
{
    QStringList texts;
    for (const auto &call : prompts.CallsOf(QStringLiteral("Ask")))
        texts << call.Text;
    return texts;
}
