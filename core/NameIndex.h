#pragma once
// The index of an owner's component names: name -> component, names
// compared without regard to case (as component names are). An open
// table with linear probing that keeps each name's hash beside its
// component, so a probe that misses compares two numbers instead of two
// strings. The names are the components' own (Name()): a component must
// leave the index before it is renamed or destroyed.
//
//   TNameIndex index;
//   index.Insert(component);       // false when its name is taken
//   TComponent *c = index.Find(u"treenodeshape1");
//   index.Remove(component->Name());

#include <QStringView>
#include <cstddef>
#include <cstdint>
#include <memory>

class TComponent;

class TNameIndex
{
public:
    // The hash every spelling of a name shares: each code point
    // case-folded, as the case-insensitive comparison folds it.
    static size_t NameHash(QStringView name) noexcept;

    TComponent *Find(QStringView name) const;
    bool Contains(QStringView name) const { return Find(name) != nullptr; }
    // A hint that the name is looked up soon: its slot is fetched into the
    // cache meanwhile.
    void Prefetch(QStringView name) const;
    // Adds the component under its name unless the name (in any case) is
    // there already; an empty name is never indexed.
    bool Insert(TComponent *component);
    // Removes the entry of the name (in any case); false when there is none.
    bool Remove(QStringView name);

    int Count() const { return static_cast<int>(FCount); }
    void Clear();
    // Room for `count` names in all without growing.
    void Reserve(size_t count);
    void Swap(TNameIndex &other) noexcept;

private:
    // The characters of the component's name ride along, so a probe that
    // finds its hash compares them without visiting the component. The
    // low half of the hash places the slot; tables stay below 2^32 slots.
    struct TSlot
    {
        uint32_t Hash;
        uint32_t Size;
        TComponent *Component;
        const QChar *Chars;
    };
    struct TFree
    {
        void operator()(void *memory) const noexcept;
    };

    // Beside the slots, one byte per slot: 0 when it is free, else seven
    // bits of its hash. A probe walks these (a big table's bytes stay in
    // the cache where its slots cannot) and visits a slot only when its
    // byte matches.
    static uint8_t Tag(uint32_t hash) { return static_cast<uint8_t>(0x80 | (hash >> 24)); }

    size_t Locate(QStringView name, uint32_t hash) const; // the slot of the name, or npos
    void Grow(size_t capacity);

    std::unique_ptr<TSlot[], TFree> FSlots;
    std::unique_ptr<uint8_t[], TFree> FTags;
    size_t FCapacity = 0; // 0 or a power of two
    size_t FCount = 0;
};
