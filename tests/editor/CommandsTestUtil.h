// Shared set-up of the command tests: a small window that hosts a diagram
// as the editor's window does (TEditorHost), with the commands built into
// it, and helpers that build diagrams and look at them.

#pragma once

#include "canvas/CanvasResources.h"
#include "dialogs/KorPrompts.h"
#include "editor/EditorHost.h"
#include "editor/TreeClipboard.h"
#include "editor/TreeCommands.h"
#include "editor/TreePalette.h"
#include "editor/UDendrix.h"
#include "model/ModelResources.h"
#include "model/TreeFile.h"
#include "view/Arbolix.h"
#include "view/TreeInteraction.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRandomGenerator>
#include <QVBoxLayout>
#include <map>
#include <memory>
#include <set>

inline void InitCommandTests()
{
    InitCanvasResources();
    InitModelResources();
    RegisterDendrixClasses();
}

// A window with a diagram, its file actions, bands as flags, the status
// panels as texts, and the modified mark set from the change notices.
class TTestHost : public QMainWindow, public TEditorHost, public TTreeChangeListener
{
public:
    TTestHost()
    {
        Owner = std::make_unique<TComponent>();
        Owner->SetName(QStringLiteral("TreeEditor1"));
        for (int i = 0; i <= fcClose; ++i)
            FFileActions[i] = new QAction(QStringLiteral("File %1").arg(i), this);
        NewTree();
        Commands = new TTreeCommands(this, this);
        Commands->InstallMenus();
        auto *central = new QWidget;
        auto *layout = new QVBoxLayout(central);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(Commands->Palette());
        layout->addWidget(FTree, 1);
        setCentralWidget(central);
        resize(640, 480);
    }
    ~TTestHost() override
    {
        for (TEditorPart *part : std::vector<TEditorPart *>(Parts))
            part->WindowClosing();
        delete Commands;
        DropTree();
    }

    // A new empty document, as New does; the parts hear of it.
    void Replace()
    {
        QWidget *parent = FTree ? FTree->parentWidget() : nullptr;
        DropTree();
        NewTree();
        if (parent)
            parent->layout()->addWidget(FTree);
        for (TEditorPart *part : std::vector<TEditorPart *>(Parts))
            part->DocumentReplaced(FTree);
    }

    // ---- TEditorHost
    TTree *Tree() const override { return FTree; }
    QMainWindow *Window() override { return this; }
    QAction *FileAction(TFileCommand command) override { return FFileActions[command]; }
    bool OpenFile(const QString &fileName) override
    {
        LoadDiagramFile(*FTree, fileName);
        FModified = false;
        return true;
    }
    QString FileName() const override { return QString(); }
    bool Modified() const override { return FModified; }
    void SetModified(bool modified) override { FModified = modified; }
    bool BandVisible(TEditorBand band) const override { return !Hidden.count(band); }
    void SetBandVisible(TEditorBand band, bool visible) override
    {
        if (visible)
            Hidden.erase(band);
        else
            Hidden.insert(band);
    }
    bool SidePanelLeft() const override { return FLeft; }
    void SetSidePanelLeft(bool left) override { FLeft = left; }
    void ShowStatus(int panel, const QString &text) override { Status[panel] = text; }
    void RefreshInspector() override {}
    void AddPart(TEditorPart *part) override { Parts.push_back(part); }
    void RemovePart(TEditorPart *part) override
    {
        Parts.erase(std::remove(Parts.begin(), Parts.end(), part), Parts.end());
    }

    // ---- TTreeChangeListener: what the window does with the notices.
    void TreeStepBegin(TTreeDocument *, const QString &description) override { Steps << description; }
    void TreeChanged(TTreeDocument *, const TTreeChange &change) override
    {
        if (change.IsEdit())
            FModified = true;
        ++Notices;
    }
    void TreeChanging(TTreeDocument *, const TTreeChange &change) override
    {
        if (change.IsEdit())
            ++Notices;
    }

    std::unique_ptr<TComponent> Owner;
    TTreeCommands *Commands = nullptr;
    std::set<TEditorBand> Hidden;
    std::map<int, QString> Status;
    std::vector<TEditorPart *> Parts;
    QStringList Steps;
    int Notices = 0;

private:
    void NewTree()
    {
        FTree = new TTree(Owner.get());
        FTree->SetNoOwnerShapes(false);
        FTree->SetSingleSelection(false);
        FTree->SetDesigning(true);
        FTree->resize(500, 380);
        FTree->AddChangeListener(this);
        FModified = false;
    }
    void DropTree()
    {
        if (!FTree)
            return;
        FTree->RemoveChangeListener(this);
        delete FTree;
        FTree = nullptr;
    }

    TTree *FTree = nullptr;
    QAction *FFileActions[fcClose + 1] = {};
    bool FModified = false;
    bool FLeft = true;
};

// The texts of a diagram's nodes as an indented outline (one space per
// level), roots in order, children in order: what the hierarchy is.
inline QString Outline(const TTreeDocument *tree)
{
    QString text;
    std::vector<std::pair<const TTreeNodeShape *, int>> stack;
    for (int i = tree->Roots().Count() - 1; i >= 0; --i)
        stack.emplace_back(tree->Roots()[i], 0);
    while (!stack.empty()) {
        auto [node, level] = stack.back();
        stack.pop_back();
        text += QString(level, QLatin1Char(' ')) + node->SimpleText() + QLatin1Char('\n');
        for (int i = node->ChildCount() - 1; i >= 0; --i)
            stack.emplace_back(node->Child(i), level + 1);
    }
    return text;
}

// The selected nodes' first lines, in selection order.
inline QStringList SelectedTexts(const TTreeDocument *tree)
{
    QStringList texts;
    for (TTreeNodeShape *node : tree->Selected().Nodes())
        texts << node->SimpleText();
    return texts;
}

// Selects exactly these nodes, in order.
inline void SelectNodes(TTreeDocument *tree, std::initializer_list<TTreeNodeShape *> nodes)
{
    tree->Selected().Clear();
    for (TTreeNodeShape *node : nodes)
        node->SetSelected(true);
}

// A node found by its first line, or null.
inline TTreeNodeShape *NodeNamed(const TTreeDocument *tree, const QString &text)
{
    for (TTreeNodeShape *node : tree->Shapes())
        if (node->SimpleText() == text)
            return node;
    return nullptr;
}
