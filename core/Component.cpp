#include "core/Component.h"

#include <algorithm>

#include "core/CoreConst.h"
#include "core/Exceptions.h"
#include "core/NameIndex.h"

namespace {

// A name base as a hash key, compared without regard to case.
struct TNameKey
{
    QString Name;
    bool operator==(const TNameKey &other) const
    {
        // Names are mostly looked up as they were given; the exact test is
        // much cheaper than the case-folding one.
        return Name == other.Name || Name.compare(other.Name, Qt::CaseInsensitive) == 0;
    }
};

// Consistent with the comparison: every code point is case-folded.
size_t qHash(const TNameKey &key, size_t seed = 0) noexcept
{
    return TNameIndex::NameHash(key.Name) ^ seed;
}

} // namespace

// The owner's list keeps a slot per component in joining order. Removal
// leaves a hole; holes are squeezed out lazily before indexed access, so
// freeing components one by one costs constant time each.
struct TComponent::OwnedList
{
    std::vector<std::unique_ptr<TComponent>> Slots;
    int Holes = 0;
    // > 0: the name index holds only the components that joined since the
    // outermost BeginBulkRelease; EndBulkRelease makes it whole again.
    int BulkDepth = 0;
    TNameIndex ByName;                     // name (any case) -> component
    mutable QHash<TNameKey, int> NextFree; // base -> every number below it is taken

    void Compact()
    {
        if (Holes == 0)
            return;
        size_t out = 0;
        for (size_t in = 0; in < Slots.size(); ++in) {
            if (!Slots[in])
                continue;
            if (out != in)
                Slots[out] = std::move(Slots[in]);
            Slots[out]->FOwnerSlot = static_cast<int>(out);
            ++out;
        }
        Slots.resize(out);
        Holes = 0;
    }

    void NameRemoved(const QString &name)
    {
        // "Base123": the number 123 is free again for the base "Base", 23
        // for the base "Base1" and 3 for "Base12" (a base may end in a
        // digit, as connection names do).
        if (NextFree.isEmpty())
            return;
        int trailing = 0;
        while (trailing < name.size() && name.at(name.size() - 1 - trailing).isDigit())
            ++trailing;
        for (int digits = 1; digits <= trailing && digits < name.size(); ++digits) {
            if (name.at(name.size() - digits) == QLatin1Char('0'))
                continue; // numbers are written without leading zeros
            auto it = NextFree.find(TNameKey{name.left(name.size() - digits)});
            if (it == NextFree.end())
                continue;
            bool ok = false;
            const int n = QStringView(name).right(digits).toInt(&ok);
            if (ok && n < *it)
                *it = n;
        }
    }
};

const TClassInfo &TComponent::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TComponent>("TComponent", TPersistent::StaticClassInfo())
                                       .Integer("Tag", &TComponent::Tag, &TComponent::SetTag, 0);
    return info;
}

TComponent::TComponent(TComponent *owner)
{
    if (owner)
        owner->InsertComponent(this);
}

namespace {

void Link(std::unique_ptr<std::vector<TComponent *>> &list, TComponent *other)
{
    if (!list)
        list = std::make_unique<std::vector<TComponent *>>();
    if (std::find(list->begin(), list->end(), other) == list->end())
        list->push_back(other);
}

void Unlink(std::unique_ptr<std::vector<TComponent *>> &list, TComponent *other)
{
    if (!list)
        return;
    list->erase(std::remove(list->begin(), list->end(), other), list->end());
    if (list->empty())
        list.reset();
}

} // namespace

TComponent::~TComponent()
{
    FState |= csDestroying;
    // Each linked component forgets this one, then hears that it goes. A
    // handler may unlink or free other linked components meanwhile; they
    // leave this list as they go, so it is taken one entry at a time.
    while (FFreeNotifies && !FFreeNotifies->empty()) {
        TComponent *other = FFreeNotifies->back();
        FFreeNotifies->pop_back();
        Unlink(other->FFreeNotifies, this);
        other->Notification(this, opRemove);
    }
    FFreeNotifies.reset();
    if (FOwned) {
        // Last first. A component may free others of this list while it is
        // destroyed; their slots are then already empty.
        auto &owned = FOwned->Slots;
        for (size_t i = owned.size(); i-- > 0;) {
            if (i >= owned.size() || !owned[i])
                continue;
            std::unique_ptr<TComponent> child = std::move(owned[i]);
            ++FOwned->Holes;
            FOwned->ByName.Remove(child->FName); // lookups meanwhile find only the living
            child->FOwner = nullptr;
            child->FOwnerSlot = -1;
            child.reset();
        }
    }
    ReleaseFromOwner();
}


void TComponent::FreeNotification(TComponent *component)
{
    if (!component || component == this)
        return;
    Link(FFreeNotifies, component);
    Link(component->FFreeNotifies, this);
}

void TComponent::RemoveFreeNotification(TComponent *component)
{
    if (!component)
        return;
    Unlink(FFreeNotifies, component);
    Unlink(component->FFreeNotifies, this);
}

void TComponent::Notification(TComponent *, TOperation)
{
}

void TComponent::ReleaseFromOwner()
{
    TComponent *owner = FOwner;
    if (!owner)
        return;
    OwnedList &list = owner->Owned();
    if (FOwnerSlot >= 0 && FOwnerSlot < static_cast<int>(list.Slots.size()) && list.Slots[FOwnerSlot].get() == this) {
        (void)list.Slots[FOwnerSlot].release(); // this object is being destroyed or handed back by the caller
        ++list.Holes;
    }
    if (!FName.isEmpty()) {
        if (list.BulkDepth == 0) {
            list.ByName.Remove(FName);
            list.NameRemoved(FName);
        } else if (list.ByName.Count() > 0) {
            list.ByName.Remove(FName); // one that joined during the bulk release
        }
    }
    FOwner = nullptr;
    FOwnerSlot = -1;
    // Squeeze holes out once they are the majority, so the list never grows
    // without bound; never while the owner frees its components.
    if (!owner->IsDestroying() && list.Holes > 64 && list.Holes * 2 > static_cast<int>(list.Slots.size()))
        list.Compact();
}

TComponent::OwnedList &TComponent::Owned() const
{
    if (!FOwned)
        FOwned = std::make_unique<OwnedList>();
    return *FOwned;
}

void TComponent::ReserveComponents(int count)
{
    if (count <= 0)
        return;
    OwnedList &list = Owned();
    list.Slots.reserve(list.Slots.size() + static_cast<size_t>(count));
    list.ByName.Reserve(static_cast<size_t>(list.ByName.Count()) + static_cast<size_t>(count));
}

bool TComponent::IsValidIdent(const QString &name)
{
    if (name.isEmpty())
        return false;
    for (int i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        const bool letter = (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || c == QLatin1Char('_');
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        if (!(letter || (i > 0 && digit)))
            return false;
    }
    return true;
}

void TComponent::SetName(const QString &name)
{
    if (name == FName)
        return;
    if (!name.isEmpty() && !IsValidIdent(name))
        throw EComponentError(FormatMessage(SInvalidName, {name}));
    if (FOwner && FName.isEmpty()) {
        // A first name (every component read from a file gets one): the
        // index tells in one step whether the name is free.
        FName = name;
        if (!FOwner->Owned().ByName.Insert(this)) {
            FName = QString();
            throw EComponentError(FormatMessage(SDuplicateName, {name}));
        }
        return;
    }
    if (FOwner && !name.isEmpty()) {
        TComponent *other = FOwner->FindComponent(name);
        if (other && other != this)
            throw EComponentError(FormatMessage(SDuplicateName, {name}));
    }
    if (FOwner) {
        OwnedList &list = FOwner->Owned();
        if (!FName.isEmpty()) {
            list.ByName.Remove(FName);
            list.NameRemoved(FName);
        }
        FName = name;
        list.ByName.Insert(this);
        return;
    }
    FName = name;
}

void TComponent::SetDesigning(bool value, bool includeOwned)
{
    if (value)
        FState |= csDesigning;
    else
        FState &= ~csDesigning;
    if (includeOwned && FOwned)
        for (auto &slot : FOwned->Slots)
            if (slot)
                slot->SetDesigning(value, true);
}

void TComponent::BeginBulkRelease()
{
    // The index forgets everyone at once rather than each leaver by name.
    OwnedList &list = Owned();
    if (list.BulkDepth++ == 0)
        list.ByName.Clear();
}

void TComponent::EndBulkRelease()
{
    if (!FOwned || FOwned->BulkDepth == 0 || --FOwned->BulkDepth > 0)
        return;
    // The index is made again from the components still owned; the
    // first-free hints start again from 1.
    OwnedList &list = *FOwned;
    list.Compact();
    TNameIndex kept;
    kept.Reserve(list.Slots.size());
    for (const auto &slot : list.Slots)
        kept.Insert(slot.get());
    list.ByName.Swap(kept);
    list.NextFree.clear();
}

int TComponent::ComponentCount() const
{
    if (!FOwned)
        return 0;
    return static_cast<int>(FOwned->Slots.size()) - FOwned->Holes;
}

TComponent *TComponent::Components(int index) const
{
    if (!FOwned)
        return nullptr;
    if (!IsDestroying())
        FOwned->Compact();
    if (index < 0 || index >= static_cast<int>(FOwned->Slots.size()))
        return nullptr;
    return FOwned->Slots[index].get();
}

TComponent *TComponent::FindComponent(const QString &name) const
{
    if (!FOwned || name.isEmpty())
        return nullptr;
    return FOwned->ByName.Find(name);
}

void TComponent::PrefetchComponent(QStringView name) const
{
    if (FOwned)
        FOwned->ByName.Prefetch(name);
}

void TComponent::InsertComponent(TComponent *component)
{
    if (!component || component->FOwner == this)
        return;
    if (component->FOwner)
        (void)component->FOwner->RemoveComponent(component).release(); // ownership moves to this list below
    OwnedList &list = Owned();
    if (!component->FName.isEmpty() && !list.ByName.Insert(component))
        throw EComponentError(FormatMessage(SDuplicateName, {component->FName}));
    component->FOwner = this;
    component->FOwnerSlot = static_cast<int>(list.Slots.size());
    list.Slots.emplace_back(component);
}

std::unique_ptr<TComponent> TComponent::RemoveComponent(TComponent *component)
{
    if (!component || component->FOwner != this)
        return nullptr;
    component->ReleaseFromOwner();
    return std::unique_ptr<TComponent>(component);
}

QString TComponent::FirstFreeName(const QString &base) const
{
    OwnedList &list = Owned();
    const TNameKey key{base};
    int n = list.NextFree.value(key, 1);
    while (list.ByName.Contains(base + QString::number(n)))
        ++n;
    list.NextFree.insert(key, n);
    return base + QString::number(n);
}

QString TComponent::NameBase(const QString &className)
{
    QString base = className;
    if (!base.isEmpty() && base.at(0).toUpper() == QLatin1Char('T'))
        base.remove(0, 1);
    for (QChar &c : base) {
        const QChar u = c.toUpper();
        if (u < QLatin1Char('A') || u > QLatin1Char('Z'))
            c = QLatin1Char('_');
    }
    return base;
}

QString TComponent::UniqueName(const QString &className) const
{
    return FirstFreeName(NameBase(className));
}

void TComponent::Loaded()
{
    FState &= ~(csLoading | csReading);
}

void TComponent::GetChildren(const std::function<void(TComponent *)> &) const
{
}

void TComponent::AttachToParent(TComponent *)
{
}
