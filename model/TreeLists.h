#pragma once
// The ordered lists of a diagram: its nodes and connections (one slot per
// element, so taking an element out costs constant time however long the
// list is) and the plain lists of roots and children.

#include <algorithm>
#include <utility>
#include <vector>

class TTreeNodeShape;

// Where an element keeps its slot in a list: the diagram's node or
// connection list (TCustomTreeElement::FListSlot).
struct TListSlot
{
    template <class T>
    static int Get(const T *item)
    {
        return item->FListSlot;
    }
    template <class T>
    static void Set(T *item, int slot)
    {
        item->FListSlot = slot;
    }
};

// A list of elements that each sit in at most one list of this kind at a
// time; the element remembers its slot (where Slot says). Removal leaves a
// hole, squeezed out before the next positional access, so freeing a large
// subtree element by element stays linear.
template <class T, class Slot = TListSlot>
class TElementList
{
public:
    int Count() const { return static_cast<int>(FItems.size()) - FHoles; }
    bool IsEmpty() const { return Count() == 0; }
    // The element at a position; null outside 0 .. Count() - 1.
    T *Items(int index) const
    {
        Compact();
        return index >= 0 && index < static_cast<int>(FItems.size()) ? FItems[index] : nullptr;
    }
    T *operator[](int index) const { return Items(index); }
    T *First() const { return Items(0); }
    T *Last() const { return Items(Count() - 1); }
    int IndexOf(const T *item) const
    {
        Compact();
        const int slot = item ? Slot::Get(item) : -1;
        return slot >= 0 && slot < static_cast<int>(FItems.size()) && FItems[slot] == item ? slot : -1;
    }
    bool Contains(const T *item) const
    {
        const int slot = item ? Slot::Get(item) : -1;
        return slot >= 0 && slot < static_cast<int>(FItems.size()) && FItems[slot] == item;
    }

    void Add(T *item)
    {
        Slot::Set(item, static_cast<int>(FItems.size()));
        FItems.push_back(item);
    }
    // Takes an element out (nothing when it is not in the list).
    void Remove(T *item)
    {
        if (!Contains(item))
            return;
        const size_t slot = static_cast<size_t>(Slot::Get(item));
        Slot::Set(item, -1);
        if (slot + 1 < FItems.size()) {
            FItems[slot] = nullptr;
            ++FHoles;
            return;
        }
        FItems.pop_back();
        while (!FItems.empty() && !FItems.back()) {
            FItems.pop_back();
            --FHoles;
        }
    }
    // Moves the element at `from` to position `to`, shifting those between.
    void Move(int from, int to)
    {
        Compact();
        const int n = static_cast<int>(FItems.size());
        if (from < 0 || from >= n || to < 0 || to >= n || from == to)
            return;
        if (from < to)
            std::rotate(FItems.begin() + from, FItems.begin() + from + 1, FItems.begin() + to + 1);
        else
            std::rotate(FItems.begin() + to, FItems.begin() + from, FItems.begin() + from + 1);
        Renumber(std::min(from, to), std::max(from, to) + 1);
    }
    // Puts elements in at once, each at the position it is to have
    // afterwards: `items` in rising order of those positions (positions
    // beyond the end go last). One pass however many go in.
    void InsertAt(const std::vector<std::pair<int, T *>> &items)
    {
        if (items.empty())
            return;
        Compact();
        std::vector<T *> merged;
        merged.reserve(FItems.size() + items.size());
        size_t old = 0;
        for (const auto &[index, item] : items) {
            while (static_cast<int>(merged.size()) < index && old < FItems.size())
                merged.push_back(FItems[old++]);
            merged.push_back(item);
        }
        while (old < FItems.size())
            merged.push_back(FItems[old++]);
        FItems.swap(merged);
        Renumber(0, static_cast<int>(FItems.size()));
    }
    // Forgets every element without touching them (they may be gone).
    void Clear()
    {
        FItems.clear();
        FHoles = 0;
    }
    int Capacity() const { return static_cast<int>(FItems.capacity()); }
    // Drops the storage and reserves room for `n` elements; only an empty
    // list changes.
    void ResetCapacity(int n)
    {
        if (!FItems.empty())
            return;
        std::vector<T *>().swap(FItems);
        FItems.reserve(static_cast<size_t>(n));
        FHoles = 0;
    }

    typename std::vector<T *>::const_iterator begin() const
    {
        Compact();
        return FItems.cbegin();
    }
    typename std::vector<T *>::const_iterator end() const
    {
        Compact();
        return FItems.cend();
    }

private:
    void Compact() const
    {
        if (FHoles == 0)
            return;
        FItems.erase(std::remove(FItems.begin(), FItems.end(), nullptr), FItems.end());
        FHoles = 0;
        Renumber(0, static_cast<int>(FItems.size()));
    }
    void Renumber(int from, int to) const
    {
        for (int i = from; i < to; ++i)
            Slot::Set(FItems[i], i);
    }

    mutable std::vector<T *> FItems;
    mutable int FHoles = 0;
};

// An ordered list of nodes: the roots of a diagram or the children of a
// node. Removing searches from the end, where recent nodes are.
class TNodeShapeList
{
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    bool IsEmpty() const { return FItems.empty(); }
    TTreeNodeShape *Items(int index) const
    {
        return index >= 0 && index < Count() ? FItems[static_cast<size_t>(index)] : nullptr;
    }
    TTreeNodeShape *operator[](int index) const { return Items(index); }
    TTreeNodeShape *First() const { return Items(0); }
    TTreeNodeShape *Last() const { return Items(Count() - 1); }
    int IndexOf(const TTreeNodeShape *node) const
    {
        for (size_t i = FItems.size(); i-- > 0;)
            if (FItems[i] == node)
                return static_cast<int>(i);
        return -1;
    }
    bool Contains(const TTreeNodeShape *node) const { return IndexOf(node) >= 0; }

    void Add(TTreeNodeShape *node) { FItems.push_back(node); }
    void Insert(int index, TTreeNodeShape *node)
    {
        index = std::clamp(index, 0, Count());
        FItems.insert(FItems.begin() + index, node);
    }
    void Delete(int index)
    {
        if (index >= 0 && index < Count())
            FItems.erase(FItems.begin() + index);
    }
    void Remove(const TTreeNodeShape *node) { Delete(IndexOf(node)); }
    void Move(int from, int to)
    {
        if (from < 0 || from >= Count() || to < 0 || to >= Count() || from == to)
            return;
        TTreeNodeShape *node = FItems[static_cast<size_t>(from)];
        FItems.erase(FItems.begin() + from);
        FItems.insert(FItems.begin() + to, node);
    }
    void Clear() { FItems.clear(); }
    int Capacity() const { return static_cast<int>(FItems.capacity()); }
    void ResetCapacity(int n)
    {
        if (!FItems.empty())
            return;
        std::vector<TTreeNodeShape *>().swap(FItems);
        FItems.reserve(static_cast<size_t>(n));
    }

    std::vector<TTreeNodeShape *>::const_iterator begin() const { return FItems.cbegin(); }
    std::vector<TTreeNodeShape *>::const_iterator end() const { return FItems.cend(); }

private:
    std::vector<TTreeNodeShape *> FItems;
};
