#include "core/PropAccess.h"

#include "core/Colors.h"
#include "core/Component.h"
#include "core/CoreConst.h"
#include "core/Exceptions.h"
#include "core/NameTables.h"

#include <QLocale>

namespace {

[[noreturn]] void Unknown()
{
    throw EPropertyError(SUnknownProperty);
}

[[noreturn]] void Invalid()
{
    throw EPropertyError(SInvalidPropertyValue);
}

template <class Obj, class Step>
TPropTarget Walk(Obj *root, const QString &path, Step step)
{
    const QStringList parts = path.split(QLatin1Char('.'));
    Obj *obj = root;
    for (int i = 0; i < parts.size(); ++i) {
        const TPropInfo *prop = obj->ClassInfo().FindProperty(parts.at(i));
        if (!prop)
            Unknown();
        if (i == parts.size() - 1)
            return {const_cast<TPersistent *>(static_cast<const TPersistent *>(obj)), prop};
        if (prop->Type != TPropType::Object)
            Unknown();
        obj = step(*prop, *obj);
        if (!obj) {
            // Not created yet: answer the declaration of the last segment.
            const TClassInfo *cls = prop->ObjectClass();
            const TPropInfo *last = nullptr;
            for (int j = i + 1; j < parts.size() && cls; ++j) {
                last = cls->FindProperty(parts.at(j));
                if (!last)
                    Unknown();
                cls = last->Type == TPropType::Object ? last->ObjectClass() : nullptr;
                if (!cls && j < parts.size() - 1)
                    Unknown();
            }
            return {nullptr, last};
        }
    }
    Unknown();
}

TPropTarget Need(TPersistent &root, const QString &path, TPropType kind1, TPropType kind2 = TPropType::Event)
{
    TPropTarget t = ResolvePropPath(root, path);
    if (t.Prop->Type != kind1 && t.Prop->Type != kind2)
        Invalid();
    return t;
}

TPropTarget NeedOrd(TPersistent &root, const QString &path)
{
    TPropTarget t = ResolvePropPath(root, path);
    if (!t.Prop->IsOrdinal())
        Invalid();
    return t;
}

} // namespace

TPropTarget ResolvePropPath(TPersistent &root, const QString &path)
{
    return Walk(&root, path, [](const TPropInfo &p, TPersistent &o) { return p.GetObject ? p.GetObject(o) : p.PeekObject(o); });
}

TPropTarget PeekPropPath(const TPersistent &root, const QString &path)
{
    return Walk(&root, path, [](const TPropInfo &p, const TPersistent &o) -> const TPersistent * { return p.PeekObject(o); });
}

int64_t GetOrdProp(TPersistent &obj, const QString &path)
{
    const TPropTarget t = NeedOrd(obj, path);
    return t.Prop->GetOrd(*t.Object);
}

void SetOrdProp(TPersistent &obj, const QString &path, int64_t value)
{
    const TPropTarget t = NeedOrd(obj, path);
    if (!t.Prop->SetOrd)
        Invalid();
    if (t.Prop->Type == TPropType::Enum && (value < 0 || value >= t.Prop->Enum->Count()))
        Invalid();
    if (t.Prop->Type == TPropType::Boolean && value != 0 && value != 1)
        Invalid();
    t.Prop->SetOrd(*t.Object, value);
}

QString GetStrProp(TPersistent &obj, const QString &path)
{
    const TPropTarget t = Need(obj, path, TPropType::String);
    return t.Prop->GetStr(*t.Object);
}

void SetStrProp(TPersistent &obj, const QString &path, const QString &value)
{
    const TPropTarget t = Need(obj, path, TPropType::String);
    if (!t.Prop->SetStr)
        Invalid();
    t.Prop->SetStr(*t.Object, value);
}

double GetFloatProp(TPersistent &obj, const QString &path)
{
    const TPropTarget t = Need(obj, path, TPropType::Float);
    return t.Prop->GetFloat(*t.Object);
}

void SetFloatProp(TPersistent &obj, const QString &path, double value)
{
    const TPropTarget t = Need(obj, path, TPropType::Float);
    if (!t.Prop->SetFloat)
        Invalid();
    t.Prop->SetFloat(*t.Object, value);
}

TComponent *GetRefProp(TPersistent &obj, const QString &path)
{
    const TPropTarget t = Need(obj, path, TPropType::Reference);
    return t.Prop->GetRef(*t.Object);
}

void SetRefProp(TPersistent &obj, const QString &path, TComponent *value)
{
    const TPropTarget t = Need(obj, path, TPropType::Reference);
    if (!t.Prop->SetRef || (value && !value->InheritsFrom(*t.Prop->ObjectClass())))
        Invalid();
    t.Prop->SetRef(*t.Object, value);
}

TPersistent *GetObjectProp(TPersistent &obj, const QString &path)
{
    const TPropTarget t = Need(obj, path, TPropType::Object);
    return t.Prop->GetObject ? t.Prop->GetObject(*t.Object) : t.Prop->PeekObject(*t.Object);
}

QString OrdToText(const TPropInfo &prop, int64_t value)
{
    QString s;
    switch (prop.Type) {
    case TPropType::Boolean:
        return value ? QStringLiteral("True") : QStringLiteral("False");
    case TPropType::Enum:
        s = prop.Enum->Name(static_cast<int>(value));
        return s.isEmpty() ? QString::number(value) : s;
    case TPropType::Set: {
        QStringList members;
        for (int i = 0; i < prop.Enum->Count() && i < 32; ++i)
            if (value & (int64_t(1) << i))
                members << prop.Enum->Name(i);
        return QLatin1Char('[') + members.join(QLatin1Char(',')) + QLatin1Char(']');
    }
    case TPropType::Color:
        return ColorToString(static_cast<TColor>(value));
    case TPropType::Cursor:
        if (CursorToIdent(static_cast<int>(value), s))
            return s;
        return QString::number(value);
    case TPropType::Charset:
        if (CharsetToIdent(static_cast<int>(value), s))
            return s;
        return QString::number(value);
    default:
        return QString::number(value);
    }
}

bool TextToOrd(const TPropInfo &prop, const QString &text, int64_t &value)
{
    const QString t = text.trimmed();
    bool ok = false;
    int n = 0;
    switch (prop.Type) {
    case TPropType::Boolean:
        if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            value = 1;
        else if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            value = 0;
        else
            return false;
        return true;
    case TPropType::Enum:
        n = prop.Enum->Value(t);
        if (n < 0)
            return false;
        value = n;
        return true;
    case TPropType::Set: {
        if (!t.startsWith(QLatin1Char('[')) || !t.endsWith(QLatin1Char(']')))
            return false;
        int64_t bits = 0;
        const QStringList members = t.mid(1, t.size() - 2).split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (const QString &m : members) {
            const int v = prop.Enum->Value(m.trimmed());
            if (v < 0 || v >= 32)
                return false;
            bits |= int64_t(1) << v;
        }
        value = bits;
        return true;
    }
    case TPropType::Color: {
        TColor c = 0;
        if (!StringToColor(t, c))
            return false;
        value = c;
        return true;
    }
    case TPropType::Cursor:
        if (IdentToCursor(t, n)) {
            value = n;
            return true;
        }
        n = t.toInt(&ok);
        if (!ok || n < -32768 || n > 32767)
            return false;
        value = n;
        return true;
    case TPropType::Charset:
        if (IdentToCharset(t, n)) {
            value = n;
            return true;
        }
        n = t.toInt(&ok);
        if (!ok || n < 0 || n > 255)
            return false;
        value = n;
        return true;
    case TPropType::Integer:
        n = t.toInt(&ok);
        if (!ok)
            return false;
        value = n;
        return true;
    default:
        return false;
    }
}

QString GetPropText(TPersistent &obj, const QString &path)
{
    const TPropTarget t = ResolvePropPath(obj, path);
    const TPropInfo &p = *t.Prop;
    if (p.IsOrdinal())
        return OrdToText(p, p.GetOrd(*t.Object));
    switch (p.Type) {
    case TPropType::String:
        return p.GetStr(*t.Object);
    case TPropType::Float:
        return QLocale::c().toString(p.GetFloat(*t.Object), 'g', 15);
    case TPropType::Reference: {
        TComponent *c = p.GetRef(*t.Object);
        return c ? c->Name() : QString();
    }
    case TPropType::Object:
        return QLatin1Char('(') + p.ObjectClass()->Name() + QLatin1Char(')');
    default:
        return QString();
    }
}

void SetPropText(TPersistent &obj, const QString &path, const QString &text,
                 const std::function<TComponent *(const QString &)> &resolveReference)
{
    const TPropTarget t = ResolvePropPath(obj, path);
    const TPropInfo &p = *t.Prop;
    if (p.IsReadOnly())
        Invalid();
    if (p.IsOrdinal()) {
        int64_t v = 0;
        if (!TextToOrd(p, text, v))
            Invalid();
        p.SetOrd(*t.Object, v);
        return;
    }
    switch (p.Type) {
    case TPropType::String:
        p.SetStr(*t.Object, text);
        return;
    case TPropType::Float: {
        bool ok = false;
        const double v = QLocale::c().toDouble(text.trimmed(), &ok);
        if (!ok)
            Invalid();
        p.SetFloat(*t.Object, v);
        return;
    }
    case TPropType::Reference: {
        if (text.trimmed().isEmpty()) {
            p.SetRef(*t.Object, nullptr);
            return;
        }
        TComponent *c = resolveReference ? resolveReference(text.trimmed()) : nullptr;
        if (!c || !c->InheritsFrom(*p.ObjectClass()))
            Invalid();
        p.SetRef(*t.Object, c);
        return;
    }
    default:
        Invalid();
    }
}
