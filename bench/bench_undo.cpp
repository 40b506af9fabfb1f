// Undo on big diagrams:
//  - taking back, and making again, a move of 1,000 nodes (goal: 20 ms
//    each), and what the move step keeps per node moved (goal: 64 bytes);
//  - deleting a 10,000-node subtree and taking the delete back (goal:
//    0.2 s each).

#include "BenchMain.h"
#include "editor/TreeUndo.h"
#include "model/Arbolix.h"

#include <memory>
#include <vector>

namespace {

struct TUndoBenchHost
{
    std::unique_ptr<TComponent> Owner = std::make_unique<TComponent>();
    TTreeDocument *Tree;
    TUndoBenchHost()
    {
        Owner->SetName(QStringLiteral("TreeEditor1"));
        Tree = new TTreeDocument(Owner.get());
        Tree->SetNoOwnerShapes(false);
    }
};

// `count` nodes under one root, in branches of ten.
TTreeNodeShape *BuildSubtree(TTreeDocument &tree, int count)
{
    TTreeQuietChanges quiet(&tree);
    TTreeNodeShape *root = tree.AddShape(0, 0, nullptr, QStringLiteral("root"));
    std::vector<TTreeNodeShape *> parents{root};
    for (int i = 1; i < count; ++i) {
        TTreeNodeShape *parent = parents[static_cast<size_t>((i - 1) / 10)];
        parents.push_back(tree.AddShape(i % 700, i / 7, parent, QStringLiteral("node %1").arg(i)));
    }
    return root;
}

void BM_UndoRedoMove(benchmark::State &state)
{
    const int count = static_cast<int>(state.range(0));
    const bool redo = state.range(1) != 0;
    TUndoBenchHost host;
    TTreeNodeShape *root = BuildSubtree(*host.Tree, count);
    (void)root;
    TTreeUndo undo(host.Tree);
    {
        TTreeStep step(host.Tree, QStringLiteral("Drag"));
        for (int k = 0; k < 5; ++k)
            for (TTreeNodeShape *n : host.Tree->Shapes())
                host.Tree->MoveShape(n, 3, 2, false);
    }
    const double bytesPerNode = static_cast<double>(undo.Last()->MemoryUsage()) / count;
    for (auto _ : state) {
        if (redo) {
            state.PauseTiming();
            undo.Undo();
            state.ResumeTiming();
            undo.Redo();
        } else {
            undo.Undo();
            state.PauseTiming();
            undo.Redo();
            state.ResumeTiming();
        }
    }
    state.counters["bytes_per_node"] = bytesPerNode;
}
BENCHMARK(BM_UndoRedoMove)->Args({1000, 0})->Args({1000, 1})->Unit(benchmark::kMillisecond);

void BM_DeleteAndUndoSubtree(benchmark::State &state)
{
    const int count = static_cast<int>(state.range(0));
    const bool undoing = state.range(1) != 0;
    TUndoBenchHost host;
    BuildSubtree(*host.Tree, 1000); // other nodes around it
    BuildSubtree(*host.Tree, count);
    TTreeUndo undo(host.Tree);
    for (auto _ : state) {
        state.PauseTiming();
        TTreeNodeShape *top = host.Tree->Roots()[1];
        if (undoing) {
            host.Tree->DeleteShape(top);
            state.ResumeTiming();
            undo.Undo();
            state.PauseTiming();
        } else {
            state.ResumeTiming();
            host.Tree->DeleteShape(top);
            state.PauseTiming();
            undo.Undo();
        }
        undo.Clear();
        state.ResumeTiming();
    }
    state.counters["nodes"] = host.Tree->Shapes().Count();
}
BENCHMARK(BM_DeleteAndUndoSubtree)->Args({10000, 0})->Args({10000, 1})->Unit(benchmark::kMillisecond);

} // namespace

DENDRIX_GUI_BENCHMARK_MAIN();
