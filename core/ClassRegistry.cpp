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
    FEntries.push_back({&info, std::move(factory)});
    return true;
}

const TClassInfo *TClassRegistry::GetClass(const QString &name) const
{
    const auto it = FIndex.constFind(name.toUpper());
    return it == FIndex.constEnd() ? nullptr : FEntries[*it].Info;
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
    const auto it = FIndex.constFind(name.toUpper());
    if (it == FIndex.constEnd())
        throw EClassNotFound(FormatMessage(SClassNotFound, {name}));
    return FEntries[*it].Factory(owner);
}

QStringList TClassRegistry::ClassNames() const
{
    QStringList names;
    for (const Entry &e : FEntries)
        names << e.Info->Name();
    return names;
}
