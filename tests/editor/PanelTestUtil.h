// Shared set-up of the toolbar, outline and property page tests: a
// diagram owned by a host named like the editor's window, a counter of the
// steps and edit notices it sends, and scripted prompts.

#pragma once

#include "dialogs/KorPrompts.h"
#include "view/Arbolix.h"

#include <QCoreApplication>
#include <QStringList>
#include <QtTest>
#include <memory>

struct TPanelHost
{
    std::unique_ptr<TComponent> Owner;
    TTree *Tree;

    TPanelHost() : Owner(std::make_unique<TComponent>())
    {
        RegisterViewClasses();
        Owner->SetName(QStringLiteral("TreeEditor1"));
        Tree = new TTree(Owner.get());
        Tree->SetNoOwnerShapes(false);
        Tree->resize(400, 300);
    }
    ~TPanelHost() { delete Tree; }
    TPanelHost(const TPanelHost &) = delete;
    TPanelHost &operator=(const TPanelHost &) = delete;

    TTreeNodeShape *Root(const QString &text)
    {
        return Tree->AddRoot(text);
    }
    // Selects exactly these nodes, in this order.
    void Select(std::initializer_list<TTreeNodeShape *> nodes)
    {
        Tree->SetSingleSelection(false);
        Tree->Selected().Clear();
        for (TTreeNodeShape *n : nodes)
            n->SetSelected(true);
    }
};

// Counts what a diagram tells its listeners: steps, edit notices (as
// "kind element property" lines, after the change) and removals.
class TNoticeCounter : public TTreeChangeListener
{
public:
    explicit TNoticeCounter(TTreeDocument *tree) : FTree(tree) { tree->AddChangeListener(this); }
    ~TNoticeCounter() override
    {
        if (FTree)
            FTree->RemoveChangeListener(this);
    }
    int Steps = 0;
    int Edits = 0;
    QStringList Lines;

    void TreeStepBegin(TTreeDocument *, const QString &) override { ++Steps; }
    void TreeChanged(TTreeDocument *, const TTreeChange &c) override
    {
        if (!c.IsEdit())
            return;
        ++Edits;
        Lines << QStringLiteral("%1 %2 %3").arg(int(c.Kind)).arg(c.Element ? c.Element->Name() : QString(), c.Property);
    }
    void TreeDestroying(TTreeDocument *) override { FTree = nullptr; }
    void Clear()
    {
        Steps = Edits = 0;
        Lines.clear();
    }

private:
    TTreeDocument *FTree;
};

// Runs the queued refreshes of the parts.
inline void Settle()
{
    QCoreApplication::processEvents();
}
