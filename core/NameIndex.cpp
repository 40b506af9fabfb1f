#include "core/NameIndex.h"

#include "core/Component.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace {

constexpr size_t kNone = static_cast<size_t>(-1);
// Tables of this size or more lie in huge pages where the system offers
// them: the probes of a big load land anywhere in the table, and with
// small pages nearly each one would also miss the address cache.
constexpr size_t kHugePage = size_t(2) << 20;

bool SameName(QStringView a, QStringView b)
{
    return a == b || a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

size_t TNameIndex::NameHash(QStringView s) noexcept
{
    uint64_t h = 0xCBF29CE484222325ull;
    for (qsizetype i = 0; i < s.size(); ++i) {
        char32_t c = s.at(i).unicode();
        if (c < 128) {
            if (c >= 'A' && c <= 'Z')
                c += 'a' - 'A';
        } else {
            if (QChar::isHighSurrogate(c) && i + 1 < s.size() && s.at(i + 1).isLowSurrogate())
                c = QChar::surrogateToUcs4(static_cast<char16_t>(c), s.at(++i).unicode());
            c = QChar::toCaseFolded(c);
        }
        h = (h ^ c) * 0x100000001B3ull;
    }
    // Names differ mostly in their last characters: spread them over the
    // low bits the table uses.
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    return static_cast<size_t>(h);
}

void TNameIndex::TFree::operator()(void *memory) const noexcept
{
    std::free(memory);
}

namespace {

// Room for `bytes`, in huge pages when it is that big; not cleared.
void *AllocateRaw(size_t bytes)
{
    void *memory = nullptr;
    if (bytes >= kHugePage) {
        memory = std::aligned_alloc(kHugePage, (bytes + kHugePage - 1) / kHugePage * kHugePage);
#ifdef __linux__
        if (memory)
            (void)madvise(memory, bytes, MADV_HUGEPAGE); // a hint; without it, small pages
#endif
    } else {
        memory = std::malloc(bytes);
    }
    if (!memory)
        throw std::bad_alloc();
    return memory;
}

} // namespace

size_t TNameIndex::Locate(QStringView name, uint32_t hash) const
{
    if (FCapacity == 0)
        return kNone;
    const size_t mask = FCapacity - 1;
    const uint8_t tag = Tag(hash);
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const uint8_t t = FTags[i];
        if (t == 0)
            return kNone;
        if (t == tag) {
            const TSlot &slot = FSlots[i];
            if (slot.Hash == hash && SameName(QStringView(slot.Chars, slot.Size), name))
                return i;
        }
    }
}

TComponent *TNameIndex::Find(QStringView name) const
{
    if (name.isEmpty() || FCount == 0)
        return nullptr;
    const size_t i = Locate(name, static_cast<uint32_t>(NameHash(name)));
    return i == kNone ? nullptr : FSlots[i].Component;
}

void TNameIndex::Prefetch(QStringView name) const
{
    if (FCount == 0 || name.isEmpty())
        return;
    const size_t i = static_cast<uint32_t>(NameHash(name)) & (FCapacity - 1);
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(&FSlots[i]);
#else
    (void)i;
#endif
}

bool TNameIndex::Insert(TComponent *component)
{
    if (!component || component->Name().isEmpty())
        return false;
    const QString &name = component->Name();
    const auto hash = static_cast<uint32_t>(NameHash(name));
    if (FCount > 0 && Locate(name, hash) != kNone)
        return false;
    // At most half full, so probes stay short.
    if ((FCount + 1) * 2 > FCapacity)
        Grow(std::max<size_t>(16, FCapacity * 2));
    const size_t mask = FCapacity - 1;
    size_t i = hash & mask;
    while (FTags[i])
        i = (i + 1) & mask;
    FTags[i] = Tag(hash);
    FSlots[i] = {hash, static_cast<uint32_t>(name.size()), component, name.constData()};
    ++FCount;
    return true;
}

bool TNameIndex::Remove(QStringView name)
{
    if (name.isEmpty() || FCount == 0)
        return false;
    size_t hole = Locate(name, static_cast<uint32_t>(NameHash(name)));
    if (hole == kNone)
        return false;
    // Entries after the hole that would no longer be found from their home
    // slot move back into it (no tombstones).
    const size_t mask = FCapacity - 1;
    for (size_t i = (hole + 1) & mask; FTags[i]; i = (i + 1) & mask) {
        const size_t home = FSlots[i].Hash & mask;
        // The entry stays when its home lies cyclically in (hole, i].
        const bool stays = hole <= i ? (hole < home && home <= i) : (hole < home || home <= i);
        if (!stays) {
            FTags[hole] = FTags[i];
            FSlots[hole] = FSlots[i];
            hole = i;
        }
    }
    FTags[hole] = 0;
    --FCount;
    return true;
}

void TNameIndex::Clear()
{
    FSlots.reset();
    FTags.reset();
    FCapacity = 0;
    FCount = 0;
}

void TNameIndex::Reserve(size_t count)
{
    size_t capacity = 16;
    while (capacity < count * 2)
        capacity *= 2;
    if (capacity > FCapacity)
        Grow(capacity);
}

void TNameIndex::Swap(TNameIndex &other) noexcept
{
    std::swap(FSlots, other.FSlots);
    std::swap(FTags, other.FTags);
    std::swap(FCapacity, other.FCapacity);
    std::swap(FCount, other.FCount);
}

void TNameIndex::Grow(size_t capacity)
{
    std::unique_ptr<TSlot[], TFree> table(static_cast<TSlot *>(AllocateRaw(capacity * sizeof(TSlot))));
    std::unique_ptr<uint8_t[], TFree> tags(static_cast<uint8_t *>(AllocateRaw(capacity)));
    std::memset(tags.get(), 0, capacity); // every slot free
    const size_t mask = capacity - 1;
    for (size_t k = 0; k < FCapacity; ++k) {
        if (!FTags[k])
            continue;
        const TSlot &slot = FSlots[k];
        size_t i = slot.Hash & mask;
        while (tags[i])
            i = (i + 1) & mask;
        tags[i] = FTags[k];
        table[i] = slot;
    }
    FSlots = std::move(table);
    FTags = std::move(tags);
    FCapacity = capacity;
}
