#include "core/ClassRegistry.h"

#include "core/CoreConst.h"
#include "core/Exceptions.h"

TClassRegistry &TClassRegistry::Instance()
{
    static TClassRegistry registry;
    return registry;
}

bool TClassRegistry::Register(const TClassInfo &info, TComponentFactory factory)
{
    const QString key = info.Name().toUpper();
    if (FIndex.contains(key))
        return false;
    FIndex.insert(key, static_cast<int>(FEntries.size()));
    FExact.insert(info.Name(), static_cast<int>(FEntries.size()));
    FEntries.push_back({&info, std::move(factory)});
    return true;
}

int TClassRegistry::IndexOf(const QString &name) const
{
    const auto exact = FExact.constFind(name);
    if (exact != FExact.constEnd())
        return *exact;
    return FIndex.value(name.toUpper(), -1);
}

const TClassInfo *TClassRegistry::GetClass(const QString &name) const
{
    const int i = IndexOf(name);
    return i < 0 ? nullptr : FEntries[i].Info;
}

const TClassInfo &TClassRegistry::FindClass(const QString &name) const
{
    const TClassInfo *info = GetClass(name);
    if (!info)
        throw EClassNotFound(FormatMessage(SClassNotFound, {name}));
    return *info;
}

TComponent *TClassRegistry::Create(const QString &name, TComponent *owner) const
{
    const int i = IndexOf(name);
    if (i < 0)
        throw EClassNotFound(FormatMessage(SClassNotFound, {name}));
    return FEntries[i].Factory(owner);
}

QStringList TClassRegistry::ClassNames() const
{
    QStringList names;
    for (const Entry &e : FEntries)
        names << e.Info->Name();
    return names;
}
