#pragma once
// The window's document: a diagram with its own owner of elements (files
// name it "TreeEditor1"), so a file can be read into a new document while
// the current one still stands.

#include "core/Component.h"
#include "editor/TreeEditor.h"
#include "view/Arbolix.h"

#include <memory>

struct TTreeEditor::TDocumentSlot
{
    std::unique_ptr<TComponent> Host;
    TTree *Tree = nullptr;

    TDocumentSlot() = default;
    TDocumentSlot(const TDocumentSlot &) = delete;
    TDocumentSlot &operator=(const TDocumentSlot &) = delete;
    // The diagram goes first: its elements belong to the host.
    ~TDocumentSlot()
    {
        delete Tree;
        Host.reset();
    }
};
