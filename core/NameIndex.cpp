#include "core/NameIndex.h"

#include "core/Component.h"

#include <utility>

namespace {

constexpr size_t kNone = static_cast<size_t>(-1);

bool SameName(const QString &a, QStringView b)
{
    return QStringView(a) == b || QStringView(a).compare(b, Qt::CaseInsensitive) == 0;
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

size_t TNameIndex::Locate(QStringView name, size_t hash) const
{
    if (FSlots.empty())
        return kNone;
    const size_t mask = FSlots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const TSlot &slot = FSlots[i];
        if (!slot.Component)
            return kNone;
        if (slot.Hash == hash && SameName(slot.Component->Name(), name))
            return i;
    }
}

TComponent *TNameIndex::Find(QStringView name) const
{
    if (name.isEmpty() || FCount == 0)
        return nullptr;
    const size_t i = Locate(name, NameHash(name));
    return i == kNone ? nullptr : FSlots[i].Component;
}

bool TNameIndex::Insert(TComponent *component)
{
    if (!component || component->Name().isEmpty())
        return false;
    const QString &name = component->Name();
    const size_t hash = NameHash(name);
    if (FCount > 0 && Locate(name, hash) != kNone)
        return false;
    // At most half full, so probes stay short.
    if ((FCount + 1) * 2 > FSlots.size())
        Grow(std::max<size_t>(16, FSlots.size() * 2));
    const size_t mask = FSlots.size() - 1;
    size_t i = hash & mask;
    while (FSlots[i].Component)
        i = (i + 1) & mask;
    FSlots[i] = {hash, component};
    ++FCount;
    return true;
}

bool TNameIndex::Remove(QStringView name)
{
    if (name.isEmpty() || FCount == 0)
        return false;
    size_t hole = Locate(name, NameHash(name));
    if (hole == kNone)
        return false;
    // Entries after the hole that would no longer be found from their home
    // slot move back into it (no tombstones).
    const size_t mask = FSlots.size() - 1;
    for (size_t i = (hole + 1) & mask; FSlots[i].Component; i = (i + 1) & mask) {
        const size_t home = FSlots[i].Hash & mask;
        // The entry stays when its home lies cyclically in (hole, i].
        const bool stays = hole <= i ? (hole < home && home <= i) : (hole < home || home <= i);
        if (!stays) {
            FSlots[hole] = FSlots[i];
            hole = i;
        }
    }
    FSlots[hole] = TSlot();
    --FCount;
    return true;
}

void TNameIndex::Clear()
{
    FSlots.clear();
    FSlots.shrink_to_fit();
    FCount = 0;
}

void TNameIndex::Reserve(size_t count)
{
    size_t capacity = 16;
    while (capacity < count * 2)
        capacity *= 2;
    if (capacity > FSlots.size())
        Grow(capacity);
}

void TNameIndex::Swap(TNameIndex &other) noexcept
{
    std::swap(FSlots, other.FSlots);
    std::swap(FCount, other.FCount);
}

void TNameIndex::Grow(size_t capacity)
{
    std::vector<TSlot> old(capacity);
    old.swap(FSlots);
    const size_t mask = FSlots.size() - 1;
    for (const TSlot &slot : old) {
        if (!slot.Component)
            continue;
        size_t i = slot.Hash & mask;
        while (FSlots[i].Component)
            i = (i + 1) & mask;
        FSlots[i] = slot;
    }
}
