#pragma once
// The class registry: class name -> factory. Files name the class of every
// element they hold and the shape palette lists registered classes; both
// find them here. Built-in classes are registered by explicit calls at
// start-up (a static library would drop self-registering initialisers).

#include "core/Component.h"

#include <functional>

// Creates a component of one class. The new component is owned by `owner`,
// or by the caller when `owner` is null.
using TComponentFactory = std::function<TComponent *(TComponent *owner)>;

class TClassRegistry
{
public:
    static TClassRegistry &Instance();

    // Registers a class; a class name registered before keeps its first
    // registration (the call then answers false).
    bool Register(const TClassInfo &info, TComponentFactory factory);
    template <class T>
    bool Register()
    {
        return Register(T::StaticClassInfo(), [](TComponent *owner) -> TComponent * { return new T(owner); });
    }

    // The class of a name (case-insensitive), or null.
    const TClassInfo *GetClass(const QString &name) const;
    // The class of a name; throws EClassNotFound "Class %s not found".
    const TClassInfo &FindClass(const QString &name) const;
    // A new component of the named class; throws EClassNotFound.
    TComponent *Create(const QString &name, TComponent *owner) const;

    bool IsRegistered(const QString &name) const { return GetClass(name) != nullptr; }
    // Registered class names in registration order.
    QStringList ClassNames() const;

private:
    struct Entry
    {
        const TClassInfo *Info;
        TComponentFactory Factory;
    };
    std::vector<Entry> FEntries;
    int IndexOf(const QString &name) const;

    QHash<QString, int> FIndex; // upper-case name -> entry
    QHash<QString, int> FExact; // registered name -> entry (the common case, no case folding)
};

template <class T>
inline bool RegisterClass()
{
    return TClassRegistry::Instance().Register<T>();
}
