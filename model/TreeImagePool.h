#pragma once
// The built-in node images, shared by every diagram of the process. A slot
// is filled from the program's bitmap resources on its first request; a
// missing resource leaves the slot empty.

#include "canvas/Picture.h"
#include "model/TreeTypes.h"

#include <array>
#include <memory>

class TTreeImagePool
{
public:
    static TTreeImagePool &Instance();

    // The picture of a slot, or null for tiNone, tiFolderOpenClose (which
    // stands for tiFolderClose or tiFolderOpen), values out of range and
    // resources that cannot be loaded.
    const TPicture *Picture(int index);

    // The resource name of a slot ("TREEFLDCLOSE"); empty for slots without
    // a picture.
    static QString ResourceName(int index);
    // The resource path the bitmap of a slot is loaded from.
    static QString ResourcePath(int index);

    static constexpr int kSlotCount = 21;

private:
    TTreeImagePool() = default;

    std::array<std::unique_ptr<TPicture>, kSlotCount> FSlots;
    std::array<bool, kSlotCount> FTried{};
};
