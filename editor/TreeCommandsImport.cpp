// Import of indented text outlines and of other diagram files into the
// diagram. Both build quietly, with progress and a Cancel button; a cancel
// takes back what was built, so the document stays as it was and nobody
// hears of it. A finished import is heard of as one step adding its new
// roots with their subtrees.

#include "editor/TreeClipboard.h"
#include "editor/TreeCommands.h"
#include "editor/TreeCommandsConst.h"

#include "dialogs/KorPrompts.h"
#include "model/TreeFile.h"
#include "view/Arbolix.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMainWindow>
#include <QProgressDialog>
#include <map>

namespace {

// Lines imported between two looks at the Cancel button.
constexpr int kImportChunk = 500;

// The progress of an import, shown when it takes a while.
class TImportProgress
{
public:
    TImportProgress(QWidget *parent, const QString &fileName, int steps)
        : FDialog(FormatMessage(SImportProgress, {QFileInfo(fileName).fileName()}), SImportCancel, 0, steps, parent)
    {
        FDialog.setObjectName(QStringLiteral("ImportProgress"));
        FDialog.setWindowModality(Qt::WindowModal);
        FDialog.setMinimumDuration(400);
        FDialog.setAutoClose(false);
        FDialog.setAutoReset(false);
        FDialog.setValue(0);
    }
    // Shows how far it got; answers false once the user cancelled.
    bool Step(int value)
    {
        FDialog.setValue(value);
        QCoreApplication::processEvents();
        return !FDialog.wasCanceled();
    }

private:
    QProgressDialog FDialog;
};

// Tells the listeners of the nodes built quietly, as one step.
void Announce(TTree *tree, const QString &description, const std::vector<TTreeNodeShape *> &roots)
{
    TTreeStep step(tree, description);
    for (TTreeNodeShape *root : roots) {
        TTreeChange change;
        change.Kind = tckAdded;
        change.Element = root;
        tree->NotifyChanged(change);
    }
    tree->Invalidate();
}

// Frees what an import built before it was cancelled, quietly.
void TakeBack(TTree *tree, const std::vector<TTreeNodeShape *> &roots)
{
    TTreeQuietChanges quiet(tree);
    for (auto it = roots.rbegin(); it != roots.rend(); ++it)
        tree->DeleteShape(*it);
}

} // namespace

void TTreeCommands::Import()
{
    if (!FTree)
        return;
    TFileDialogOptions options;
    options.Parent = FHost->Window();
    options.Title = SImportTitle;
    options.Filter = SImportFilter;
    options.FilterIndex = 1; // the text files
    options.DefaultSuffix = QStringLiteral("txt");
    options.ConfirmOverwrite = false;
    const QString name = Prompts().OpenFileName(options);
    if (name.isEmpty())
        return;
    ImportFile(name, options.FilterIndex == 1);
}

bool TTreeCommands::ImportFile(const QString &fileName, bool asText)
{
    if (!FTree)
        return false;
    const bool done = asText ? ImportText(fileName) : ImportDiagram(fileName);
    EndCommand();
    return done;
}

bool TTreeCommands::ImportText(const QString &fileName)
{
    QStringList lines;
    if (!ShowError([&] { lines = TTreeDocument::ReadOutlineFile(fileName); }) || lines.isEmpty())
        return false;
    const int n = static_cast<int>(lines.size());
    TImportProgress progress(FHost->Window(), fileName, n);
    const int before = FTree->Roots().Count();
    std::vector<TTreeNodeShape *> roots;
    bool cancelled = false;
    {
        TTreeQuietChanges quiet(FTree);
        // A line without leading spaces starts a new root whatever came
        // before, so the outline is imported piecewise at such lines.
        int start = 0;
        while (start < n) {
            int end = std::min(start + kImportChunk, n);
            while (end < n && lines[end].startsWith(QLatin1Char(' ')))
                ++end;
            FTree->ImportOutline(lines.mid(start, end - start));
            start = end;
            if (start < n && !progress.Step(start)) {
                cancelled = true;
                break;
            }
        }
        for (int i = before; i < FTree->Roots().Count(); ++i)
            roots.push_back(FTree->Roots()[i]);
    }
    if (cancelled) {
        TakeBack(FTree, roots);
        return false;
    }
    Announce(FTree, Action(cmImport)->text(), roots);
    return true;
}

bool TTreeCommands::ImportDiagram(const QString &fileName)
{
    // The file is read aside into a diagram of the window's kind.
    TComponent owner;
    owner.SetName(QStringLiteral("TreeEditor1"));
    auto *scratch = new TTree(&owner);
    struct TFree
    {
        TTree *Diagram;
        ~TFree() { delete Diagram; }
    } release{scratch};
    scratch->SetNoOwnerShapes(false);
    if (!ShowError([&] { LoadDiagramFile(*scratch, fileName); }))
        return false;
    const std::vector<TTreeNodeShape *> sources(scratch->Roots().begin(), scratch->Roots().end());
    TImportProgress progress(FHost->Window(), fileName, static_cast<int>(sources.size()));
    TTreeNodeShape *top = nullptr;
    bool cancelled = false;
    {
        TTreeQuietChanges quiet(FTree);
        TComponent *names = FTree->NoOwnerShapes() ? nullptr : FTree->Owner();
        top = FTree->AddRoot(QFileInfo(fileName).fileName());
        // Each imported node's copy, to join the connections up later.
        std::map<const TTreeNodeShape *, TTreeNodeShape *> copies;
        int done = 0;
        for (TTreeNodeShape *source : sources) {
            TTreeNodeShape *copy = FTree->CloneShape(source);
            if (!copy)
                continue;
            TTreeClipboard::KeepFixedPositions(source, copy);
            copy->SetParent(top);
            if (FTree->AutoConnectChildren())
                top->CreateConnection(copy);
            // The copy has the original's shape: walk both alike.
            std::vector<std::pair<const TTreeNodeShape *, TTreeNodeShape *>> pending{{source, copy}};
            while (!pending.empty()) {
                auto [s, c] = pending.back();
                pending.pop_back();
                copies[s] = c;
                c->SetVisible(s->Visible());
                // The original name stays unless the diagram uses it.
                if (names && !s->Name().isEmpty() && !names->FindComponent(s->Name()))
                    c->SetName(s->Name());
                for (int i = 0; i < s->ChildCount() && i < c->ChildCount(); ++i)
                    pending.emplace_back(s->Child(i), c->Child(i));
            }
            if (!progress.Step(++done)) {
                cancelled = true;
                break;
            }
        }
        if (!cancelled) {
            // The connections that are no part of the hierarchy.
            for (int i = 0; i < scratch->Connections().Count(); ++i) {
                TTreeConnection *c = scratch->Connections()[i];
                auto from = copies.find(c->FromShape());
                auto to = copies.find(c->ToShape());
                if (from == copies.end() || to == copies.end() || from->second->ConnectionTo(to->second))
                    continue;
                if (TTreeConnection *made = from->second->CreateConnection(to->second))
                    made->Assign(c);
            }
            FTree->SetShapeExpanded(top, true);
        }
    }
    if (cancelled) {
        TakeBack(FTree, {top});
        return false;
    }
    Announce(FTree, Action(cmImport)->text(), {top});
    FTree->Selected().Clear();
    top->SetSelected(true);
    return true;
}
