#pragma once
// Owned lists of persistent items (polygon vertices, database layouts). A
// collection is published as a sub-object property; the stream writes it as
// one collection value holding each item's properties, and reading it
// replaces every item.
//
//   class TPointItem : public TCollectionItem { DX_OBJECT(TPointItem) ... };
//   TCollection points(TCollection::FactoryOf<TPointItem>());
//   static_cast<TPointItem *>(points.Add())->SetX(10);

#include "core/Events.h"
#include "core/Object.h"

#include <memory>
#include <vector>

class TCollection;

class TCollectionItem : public TPersistent
{
    DX_OBJECT(TCollectionItem)
public:
    TCollectionItem() = default;
    TCollectionItem(const TCollectionItem &) = delete;
    TCollectionItem &operator=(const TCollectionItem &) = delete;

    TCollection *Collection() const { return FCollection; }
    // The position in the collection; -1 outside one.
    int Index() const;
    // Moves the item to another position (clamped to the list).
    void SetIndex(int index);

protected:
    // Reports a change of this item to the collection.
    void Changed();

private:
    friend class TCollection;
    TCollection *FCollection = nullptr;
};

class TCollection : public TPersistent
{
    DX_OBJECT(TCollection)
public:
    using TItemFactory = std::function<std::unique_ptr<TCollectionItem>()>;
    template <class T>
    static TItemFactory FactoryOf()
    {
        return [] { return std::make_unique<T>(); };
    }

    explicit TCollection(TItemFactory factory);
    ~TCollection() override;
    TCollection(const TCollection &) = delete;
    TCollection &operator=(const TCollection &) = delete;

    int Count() const { return static_cast<int>(FItems.size()); }
    // The item at a position; null when out of range.
    TCollectionItem *Items(int index) const;
    TCollectionItem *Add();
    // A new item at a position (clamped to 0..Count).
    TCollectionItem *Insert(int index);
    void Delete(int index);
    void Clear();
    int IndexOf(const TCollectionItem *item) const;
    void Move(int from, int to);

    // Changes between BeginUpdate and the matching EndUpdate are reported
    // once, at the end.
    void BeginUpdate();
    void EndUpdate();

    // Replaces the items by copies of another collection's (each copied by
    // the item's Assign).
    void Assign(const TPersistent *source) override;

    // Called after every change: with the item when one item changed, with
    // null when items were added, removed, moved or many changed.
    TEvent<TCollection *, TCollectionItem *> OnChange;

private:
    friend class TCollectionItem;
    void Changed(TCollectionItem *item);

    TItemFactory FFactory;
    std::vector<std::unique_ptr<TCollectionItem>> FItems;
    int FUpdateCount = 0;
    bool FChangedWhileUpdating = false;
};
