#include "core/ClassInfo.h"

#include "core/Object.h"

TEnumInfo::TEnumInfo(const char *typeName, const char *names) : FTypeName(QString::fromLatin1(typeName))
{
    const QStringList parts = QString::fromLatin1(names).split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        const QString n = part.trimmed();
        if (!n.isEmpty())
            FNames.push_back(n);
    }
}

QString TEnumInfo::Name(int ordinal) const
{
    if (ordinal < 0 || ordinal >= FNames.size())
        return QString();
    return FNames.at(ordinal);
}

int TEnumInfo::Value(const QString &name) const
{
    for (int i = 0; i < FNames.size(); ++i)
        if (FNames.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool TPropInfo::IsOrdinal() const
{
    switch (Type) {
    case TPropType::Integer:
    case TPropType::Boolean:
    case TPropType::Enum:
    case TPropType::Set:
    case TPropType::Color:
    case TPropType::Cursor:
    case TPropType::Charset:
        return true;
    default:
        return false;
    }
}

bool TPropInfo::IsReadOnly() const
{
    switch (Type) {
    case TPropType::String: return !SetStr;
    case TPropType::Float: return !SetFloat;
    case TPropType::Reference: return !SetRef;
    case TPropType::Object: return !GetObject;
    case TPropType::Event: return true;
    default: return !SetOrd;
    }
}

bool TPropInfo::IsDefault(const TPersistent &obj) const
{
    switch (Type) {
    case TPropType::String: return GetStr(obj) == DefaultStr;
    case TPropType::Float: return GetFloat(obj) == DefaultFloat;
    case TPropType::Reference: return GetRef(obj) == nullptr;
    case TPropType::Object: return PeekObject(obj) == nullptr;
    case TPropType::Event: return true;
    default: return HasDefault && GetOrd(obj) == DefaultOrd;
    }
}

bool TPropInfo::SameValue(const TPersistent &a, const TPersistent &b) const
{
    switch (Type) {
    case TPropType::String: return GetStr(a) == GetStr(b);
    case TPropType::Float: return GetFloat(a) == GetFloat(b);
    case TPropType::Reference:
    case TPropType::Object:
    case TPropType::Event: return true;
    default: return !GetOrd || GetOrd(a) == GetOrd(b);
    }
}

bool TPropInfo::IsStored(const TPersistent &obj) const
{
    if (StoredRule)
        return StoredRule(obj);
    return !IsDefault(obj);
}

TClassInfo::TClassInfo(const char *name, const TClassInfo *parent, std::vector<TPropInfo> ownProps)
    : FName(QString::fromLatin1(name)), FParent(parent)
{
    if (parent)
        FProps = parent->FProps;
    for (int i = 0; i < static_cast<int>(FProps.size()); ++i)
        FIndex.insert(FProps[i].Name.toUpper(), i);
    for (TPropInfo &p : ownProps) {
        const QString key = p.Name.toUpper();
        const auto it = FIndex.constFind(key);
        if (it != FIndex.constEnd()) {
            FProps[*it] = std::move(p); // a redeclaration keeps the inherited place
        } else {
            FIndex.insert(key, static_cast<int>(FProps.size()));
            FProps.push_back(std::move(p));
        }
    }
    for (int i = 0; i < static_cast<int>(FProps.size()); ++i)
        FExact.insert(FProps[i].Name, i);
}

bool TClassInfo::InheritsFrom(const TClassInfo &other) const
{
    for (const TClassInfo *c = this; c; c = c->FParent)
        if (c == &other)
            return true;
    return false;
}

const TPropInfo *TClassInfo::FindProperty(const QString &name) const
{
    const auto exact = FExact.constFind(name);
    if (exact != FExact.constEnd())
        return &FProps[*exact];
    const auto it = FIndex.constFind(name.toUpper());
    return it == FIndex.constEnd() ? nullptr : &FProps[*it];
}
