#pragma once
// The window's document: a diagram with its own owner of elements (files
// name it "TreeEditor1"), so a file can be read into a new document while
// the current one still stands; or a diagram of another owner, edited in
// place and given back.

#include "core/Component.h"
#include "editor/SavedTreeState.h"
#include "editor/TreeEditor.h"
#include "view/Arbolix.h"

#include <QPointer>
#include <memory>

struct TTreeEditor::TDocumentSlot
{
    std::unique_ptr<TComponent> Host;
    TTree *Tree = nullptr;
    // False for a diagram of another owner (no host then).
    bool Owned = true;
    QPointer<TTree> Borrowed;
    // The diagram before the window changed it.
    TSavedTreeState Saved;

    TDocumentSlot() = default;
    TDocumentSlot(const TDocumentSlot &) = delete;
    TDocumentSlot &operator=(const TDocumentSlot &) = delete;
    // The diagram goes first: its elements belong to the host.
    ~TDocumentSlot()
    {
        if (Owned)
            delete Tree;
        Host.reset();
    }
};
