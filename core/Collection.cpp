#include "core/Collection.h"

#include <algorithm>

const TClassInfo &TCollectionItem::StaticClassInfo()
{
    static const TClassInfo info("TCollectionItem", &TPersistent::StaticClassInfo());
    return info;
}

int TCollectionItem::Index() const
{
    return FCollection ? FCollection->IndexOf(this) : -1;
}

void TCollectionItem::SetIndex(int index)
{
    if (FCollection)
        FCollection->Move(Index(), index);
}

void TCollectionItem::Changed()
{
    if (FCollection)
        FCollection->Changed(this);
}

const TClassInfo &TCollection::StaticClassInfo()
{
    static const TClassInfo info("TCollection", &TPersistent::StaticClassInfo());
    return info;
}

TCollection::TCollection(TItemFactory factory) : FFactory(std::move(factory))
{
}

TCollection::~TCollection()
{
    FUpdateCount = 1; // no change reports while dying
    FItems.clear();
}

TCollectionItem *TCollection::Items(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return FItems[index].get();
}

TCollectionItem *TCollection::Add()
{
    return Insert(Count());
}

TCollectionItem *TCollection::Insert(int index)
{
    std::unique_ptr<TCollectionItem> item = FFactory();
    item->FCollection = this;
    index = std::clamp(index, 0, Count());
    TCollectionItem *raw = item.get();
    FItems.insert(FItems.begin() + index, std::move(item));
    Changed(nullptr);
    return raw;
}

void TCollection::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    FItems.erase(FItems.begin() + index);
    Changed(nullptr);
}

void TCollection::Clear()
{
    if (FItems.empty())
        return;
    FItems.clear();
    Changed(nullptr);
}

int TCollection::IndexOf(const TCollectionItem *item) const
{
    for (int i = 0; i < Count(); ++i)
        if (FItems[i].get() == item)
            return i;
    return -1;
}

void TCollection::Move(int from, int to)
{
    if (from < 0 || from >= Count())
        return;
    to = std::clamp(to, 0, Count() - 1);
    if (from == to)
        return;
    std::unique_ptr<TCollectionItem> item = std::move(FItems[from]);
    FItems.erase(FItems.begin() + from);
    FItems.insert(FItems.begin() + to, std::move(item));
    Changed(nullptr);
}

void TCollection::BeginUpdate()
{
    ++FUpdateCount;
}

void TCollection::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0 && FChangedWhileUpdating) {
        FChangedWhileUpdating = false;
        Changed(nullptr);
    }
}

void TCollection::Assign(const TPersistent *source)
{
    const auto *other = dynamic_cast<const TCollection *>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this)
        return;
    BeginUpdate();
    try {
        Clear();
        for (const auto &item : other->FItems)
            Add()->Assign(item.get());
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::Changed(TCollectionItem *item)
{
    if (FUpdateCount > 0) {
        FChangedWhileUpdating = true;
        return;
    }
    if (OnChange)
        OnChange(this, item);
}
