#pragma once
// Run-time class information and published properties.
//
// Every persistent class declares, once, its published properties in the
// order they are written to a file: type, declared default and storing rule,
// with typed accessors. The stream writer and reader and the property
// inspector are driven by these declarations; nothing else lists properties.
//
//   const TClassInfo &TChartPen::StaticClassInfo()
//   {
//       static const TClassInfo info = TClassBuilder<TChartPen>("TChartPen", TPersistent::StaticClassInfo())
//           .Color("Color", &TChartPen::Color, &TChartPen::SetColor, clBlack)
//           .Integer("Width", &TChartPen::Width, &TChartPen::SetWidth, 1)
//           .Enum("Style", &TChartPen::Style, &TChartPen::SetStyle, psSolid);
//       return info;
//   }
//
// A subclass declaring a property of an inherited name replaces the
// inherited declaration in place (same position, new default or rule).

#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

class TObject;
class TPersistent;
class TComponent;
class TClassInfo;

// ---------------------------------------------------------------------------
// Enumerations with named values

class TEnumInfo
{
public:
    // names: the enumeration's values in ordinal order, separated by commas
    // (as written in the enum declaration).
    TEnumInfo(const char *typeName, const char *names);

    const QString &TypeName() const { return FTypeName; }
    int Count() const { return static_cast<int>(FNames.size()); }
    // The name of an ordinal; empty when out of range.
    QString Name(int ordinal) const;
    // The ordinal of a name (case-insensitive); -1 when there is none.
    int Value(const QString &name) const;
    const QStringList &Names() const { return FNames; }

private:
    QString FTypeName;
    QStringList FNames;
};

template <class E>
const TEnumInfo &EnumInfoOf();

// Declares an enumeration whose values count from 0 together with its names.
#define DX_ENUM(Name, ...)                                                                                             \
    enum Name : uint8_t { __VA_ARGS__ };                                                                               \
    template <>                                                                                                        \
    inline const TEnumInfo &EnumInfoOf<Name>()                                                                         \
    {                                                                                                                  \
        static const TEnumInfo info(#Name, #__VA_ARGS__);                                                              \
        return info;                                                                                                   \
    }

// Sets of an enumeration are bit masks: bit n holds the value of ordinal n.
using TSetBits = uint32_t;
template <class E>
constexpr TSetBits SetBit(E e)
{
    return TSetBits(1) << static_cast<int>(e);
}

// ---------------------------------------------------------------------------
// Published properties

enum class TPropType : uint8_t {
    Integer,   // 32-bit signed
    Boolean,
    Enum,      // ordinal with names (EnumInfo)
    Set,       // bit mask of an enumeration (EnumInfo)
    Color,     // TColor: written as a colour name when it has one
    Cursor,    // cursor id: written as a cursor name when it has one
    Charset,   // font character set: written as a character-set name
    String,
    Float,
    Reference, // a reference to another component (ObjectClass)
    Object,    // an owned sub-object written under "Name." (ObjectClass)
    Event,     // a handler; never written by this program
};

class TPropInfo
{
public:
    QString Name;
    TPropType Type = TPropType::Integer;
    const TEnumInfo *Enum = nullptr;          // Enum and Set
    // Object and Reference: the class of the sub-object or referenced
    // component. Resolved on use, so a class may reference itself.
    const TClassInfo &(*ObjectClassFn)() = nullptr;
    const TClassInfo *ObjectClass() const { return ObjectClassFn ? &ObjectClassFn() : nullptr; }

    bool HasDefault = false; // ordinal types: without one the value is always stored
    int64_t DefaultOrd = 0;
    QString DefaultStr;
    double DefaultFloat = 0.0;

    // Typed accessors; the object passed is always of the declaring class.
    std::function<int64_t(const TPersistent &)> GetOrd; // Integer, Boolean, Enum, Set, Color, Cursor, Charset
    std::function<void(TPersistent &, int64_t)> SetOrd;
    std::function<QString(const TPersistent &)> GetStr;
    std::function<void(TPersistent &, const QString &)> SetStr;
    std::function<double(const TPersistent &)> GetFloat;
    std::function<void(TPersistent &, double)> SetFloat;
    std::function<TComponent *(const TPersistent &)> GetRef;
    std::function<void(TPersistent &, TComponent *)> SetRef;
    // Object: PeekObject answers the existing sub-object without creating
    // it (the writer and every drawing path use it); GetObject creates it on
    // first use (the reader and the inspector use it).
    std::function<TPersistent *(const TPersistent &)> PeekObject;
    std::function<TPersistent *(TPersistent &)> GetObject;

    // The storing rule; without one a property is stored when it differs
    // from its default (ordinal types without a default: always; objects:
    // when the sub-object exists; events: never).
    std::function<bool(const TPersistent &)> StoredRule;

    bool IsOrdinal() const;
    bool IsReadOnly() const;
    bool IsStored(const TPersistent &obj) const;
    bool IsDefault(const TPersistent &obj) const;
    // Whether two objects of the class hold the same value (references,
    // sub-objects and events always do).
    bool SameValue(const TPersistent &a, const TPersistent &b) const;
};

// ---------------------------------------------------------------------------
// Classes

class TClassInfo
{
public:
    TClassInfo(const char *name, const TClassInfo *parent, std::vector<TPropInfo> ownProps = {});

    const QString &Name() const { return FName; }
    const TClassInfo *Parent() const { return FParent; }
    bool InheritsFrom(const TClassInfo &other) const;

    // All published properties in written order, base classes first.
    const std::vector<TPropInfo> &Properties() const { return FProps; }
    // A property by name (case-insensitive); null when there is none.
    const TPropInfo *FindProperty(const QString &name) const;

private:
    QString FName;
    const TClassInfo *FParent;
    std::vector<TPropInfo> FProps;
    QHash<QString, int> FIndex; // upper-case name -> position
    QHash<QString, int> FExact; // declared name -> position (the common case, no case folding)
};

// Declares the class information of a class; put it first in the class body.
// Access is public after it.
#define DX_OBJECT(Class)                                                                                               \
public:                                                                                                                \
    static const TClassInfo &StaticClassInfo();                                                                        \
    const TClassInfo &ClassInfo() const override { return StaticClassInfo(); }

// ---------------------------------------------------------------------------
// The declaration builder

template <class C>
class TClassBuilder
{
public:
    TClassBuilder(const char *name, const TClassInfo &parent) : FName(name), FParent(&parent) {}

    operator TClassInfo() const { return TClassInfo(FName, FParent, FProps); }

    template <class G, class S>
    TClassBuilder &Integer(const char *name, G get, S set, std::optional<int> def = std::nullopt)
    {
        return Ordinal(name, TPropType::Integer, nullptr, get, set, def ? std::optional<int64_t>(*def) : std::nullopt);
    }
    template <class G, class S>
    TClassBuilder &Boolean(const char *name, G get, S set, bool def)
    {
        return Ordinal(name, TPropType::Boolean, nullptr, get, set, std::optional<int64_t>(def ? 1 : 0));
    }
    template <class E, class G, class S>
    TClassBuilder &Enum(const char *name, G get, S set, E def)
    {
        return Ordinal(name, TPropType::Enum, &EnumInfoOf<E>(), get, set, std::optional<int64_t>(static_cast<int64_t>(def)));
    }
    // A set of E as a bit mask (SetBit).
    template <class E, class G, class S>
    TClassBuilder &Set(const char *name, G get, S set, TSetBits def = 0)
    {
        return Ordinal(name, TPropType::Set, &EnumInfoOf<E>(), get, set, std::optional<int64_t>(def));
    }
    template <class G, class S>
    TClassBuilder &Color(const char *name, G get, S set, std::optional<int32_t> def)
    {
        return Ordinal(name, TPropType::Color, nullptr, get, set, def ? std::optional<int64_t>(*def) : std::nullopt);
    }
    template <class G, class S>
    TClassBuilder &Cursor(const char *name, G get, S set, int def = 0)
    {
        return Ordinal(name, TPropType::Cursor, nullptr, get, set, std::optional<int64_t>(def));
    }
    template <class G, class S>
    TClassBuilder &Charset(const char *name, G get, S set, int def)
    {
        return Ordinal(name, TPropType::Charset, nullptr, get, set, std::optional<int64_t>(def));
    }
    template <class G, class S>
    TClassBuilder &String(const char *name, G get, S set, const QString &def = QString())
    {
        TPropInfo &p = Add(name, TPropType::String);
        p.HasDefault = true;
        p.DefaultStr = def;
        p.GetStr = [get](const TPersistent &o) { return QString(std::invoke(get, Self(o))); };
        p.SetStr = [set](TPersistent &o, const QString &v) { std::invoke(set, Self(o), v); };
        return *this;
    }
    template <class G, class S>
    TClassBuilder &Float(const char *name, G get, S set, double def = 0.0)
    {
        TPropInfo &p = Add(name, TPropType::Float);
        p.HasDefault = true;
        p.DefaultFloat = def;
        p.GetFloat = [get](const TPersistent &o) { return static_cast<double>(std::invoke(get, Self(o))); };
        p.SetFloat = [set](TPersistent &o, double v) { std::invoke(set, Self(o), v); };
        return *this;
    }
    // A reference to a component of class T (or a subclass); setting one of
    // another class is refused by the property access functions.
    template <class T, class G, class S>
    TClassBuilder &Reference(const char *name, G get, S set)
    {
        TPropInfo &p = Add(name, TPropType::Reference);
        p.ObjectClassFn = &T::StaticClassInfo;
        p.GetRef = [get](const TPersistent &o) -> TComponent * { return std::invoke(get, Self(o)); };
        p.SetRef = [set](TPersistent &o, TComponent *v) { std::invoke(set, Self(o), static_cast<T *>(v)); };
        return *this;
    }
    // An owned sub-object of class T: peek answers it without creating it,
    // get creates it on first use.
    template <class T, class P, class G>
    TClassBuilder &Object(const char *name, P peek, G get)
    {
        TPropInfo &p = Add(name, TPropType::Object);
        p.ObjectClassFn = &T::StaticClassInfo;
        p.PeekObject = [peek](const TPersistent &o) -> TPersistent * { return std::invoke(peek, Self(o)); };
        p.GetObject = [get](TPersistent &o) -> TPersistent * { return std::invoke(get, Self(o)); };
        return *this;
    }
    TClassBuilder &Event(const char *name)
    {
        Add(name, TPropType::Event);
        return *this;
    }
    // The storing rule of the property declared (or redeclared) last.
    template <class F>
    TClassBuilder &Stored(F rule)
    {
        FProps.back().StoredRule = [rule](const TPersistent &o) { return static_cast<bool>(std::invoke(rule, Self(o))); };
        return *this;
    }
    TClassBuilder &NeverStored()
    {
        FProps.back().StoredRule = [](const TPersistent &) { return false; };
        return *this;
    }
    // Changes the default of an inherited ordinal property, keeping its place.
    TClassBuilder &Redefault(const char *name, int64_t def)
    {
        const TPropInfo *inherited = FParent->FindProperty(QString::fromLatin1(name));
        TPropInfo p = inherited ? *inherited : TPropInfo();
        p.Name = QString::fromLatin1(name);
        p.HasDefault = true;
        p.DefaultOrd = def;
        FProps.push_back(std::move(p));
        return *this;
    }

private:
    static const C &Self(const TPersistent &o) { return static_cast<const C &>(o); }
    static C &Self(TPersistent &o) { return static_cast<C &>(o); }

    TPropInfo &Add(const char *name, TPropType type)
    {
        TPropInfo p;
        p.Name = QString::fromLatin1(name);
        p.Type = type;
        FProps.push_back(std::move(p));
        return FProps.back();
    }

    template <class G, class S>
    TClassBuilder &Ordinal(const char *name, TPropType type, const TEnumInfo *e, G get, S set, std::optional<int64_t> def)
    {
        TPropInfo &p = Add(name, type);
        p.Enum = e;
        p.HasDefault = def.has_value();
        p.DefaultOrd = def.value_or(0);
        p.GetOrd = [get](const TPersistent &o) { return static_cast<int64_t>(std::invoke(get, Self(o))); };
        if constexpr (!std::is_same_v<S, std::nullptr_t>) {
            p.SetOrd = [set](TPersistent &o, int64_t v) {
                using Arg = typename SetterArg<S>::type;
                std::invoke(set, Self(o), static_cast<Arg>(v));
            };
        }
        return *this;
    }

    template <class S>
    struct SetterArg;
    template <class R, class K, class A>
    struct SetterArg<R (K::*)(A)>
    {
        using type = std::decay_t<A>;
    };

    const char *FName;
    const TClassInfo *FParent;
    std::vector<TPropInfo> FProps;
};
