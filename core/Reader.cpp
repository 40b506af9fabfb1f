#include "core/Reader.h"

#include "core/ClassRegistry.h"
#include "core/Collection.h"
#include "core/Colors.h"
#include "core/Component.h"
#include "core/CoreConst.h"
#include "core/Exceptions.h"
#include "core/NameTables.h"

#include <algorithm>
#include <exception>

// ---------------------------------------------------------------------------
// Global component lookups

namespace {

struct TLookupEntry
{
    int Handle;
    TGlobalComponentLookup Lookup;
};

std::vector<TLookupEntry> &Lookups()
{
    static std::vector<TLookupEntry> lookups;
    return lookups;
}

bool SameText(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

int AddGlobalComponentLookup(TGlobalComponentLookup lookup)
{
    static int next = 0;
    Lookups().push_back({++next, std::move(lookup)});
    return next;
}

void RemoveGlobalComponentLookup(int handle)
{
    auto &all = Lookups();
    all.erase(std::remove_if(all.begin(), all.end(), [handle](const TLookupEntry &e) { return e.Handle == handle; }),
              all.end());
}

TComponent *FindGlobalComponent(const QString &name)
{
    if (name.isEmpty())
        return nullptr;
    // By index and with a copy of each lookup: a lookup may add or remove
    // lookups.
    for (size_t i = 0; i < Lookups().size(); ++i) {
        const TGlobalComponentLookup lookup = Lookups()[i].Lookup;
        if (TComponent *c = lookup(name))
            return c;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------
// Records

TReader::TReader(QIODevice &stream, int bufferSize) : TValueReader(stream, bufferSize)
{
}

TReader::~TReader() = default;

void TReader::ReserveRecords(int count)
{
    if (count <= 0)
        return;
    FLoaded.reserve(FLoaded.size() + static_cast<size_t>(count));
    // A diagram's elements hold one or two references each.
    FFixups.reserve(FFixups.size() + static_cast<size_t>(count) * 3 / 2);
}

bool TReader::Error(const QString &)
{
    return false;
}

void TReader::ReadPrefix()
{
    const uint8_t b = PeekByte();
    if ((b & kPrefixMask) != kPrefixMask)
        return;
    ReadByte();
    if (b & kFlagChildPosition) {
        const TValueTag tag = ReadTag();
        if (!IsIntTag(tag))
            InvalidFormat();
        ReadIntPayload(tag);
    }
}

void TReader::ReadRootComponent(TComponent &root)
{
    ReadPrefix();
    ReadStr(); // the class: the root's own
    const QString name = ReadStr();
    ReadRootBody(root, name, true);
}

std::unique_ptr<TComponent> TReader::ReadRootComponent()
{
    ReadPrefix();
    const QString className = ReadStr();
    const QString name = ReadStr();
    std::unique_ptr<TComponent> root(TClassRegistry::Instance().Create(className, nullptr));
    if (!root)
        throw EClassNotFound(FormatMessage(SClassNotFound, {className}));
    if (TComponent *owner = root->Owner())
        (void)owner->RemoveComponent(root.get()).release(); // the caller owns it through `root`
    ReadRootBody(*root, name, false);
    return root;
}

void TReader::ReadRootBody(TComponent &root, const QString &name, bool keepOnFailure)
{
    FRoot = &root;
    FLoaded.clear();
    FFixups.clear();
    FLoaded.push_back(&root);
    root.BeginLoading();
    try {
        // A root written without a name keeps the one it has.
        if (!name.isEmpty())
            root.SetName(name);
        ReadProperties(root, root, 0);
        ReadChildren(root, 0);
    } catch (...) {
        if (keepOnFailure) {
            EndLoading(true);
        } else {
            Discard(1, 0); // the caller's pointer destroys the root
            FLoaded.clear();
        }
        FRoot = nullptr;
        throw;
    }
    try {
        EndLoading(false);
    } catch (...) {
        FRoot = nullptr;
        throw;
    }
    FRoot = nullptr;
}

void TReader::ReadChildren(TComponent &parent, int depth)
{
    while (!EndOfList())
        ReadChild(parent, depth + 1);
    ReadByte();
}

void TReader::ReadChild(TComponent &parent, int depth)
{
    if (depth > kMaxStreamNesting)
        InvalidFormat();
    ReadPrefix();
    const QString className = ReadRepeatedStr();
    const QString name = ReadStr();
    TComponent *owner = FOwner ? FOwner : FRoot;
    TComponent *child = TClassRegistry::Instance().Create(className, owner);
    if (!child)
        throw EClassNotFound(FormatMessage(SClassNotFound, {className}));
    if (child->Owner() != owner)
        owner->InsertComponent(child);
    const size_t loadedMark = FLoaded.size();
    const size_t fixupMark = FFixups.size();
    FLoaded.push_back(child);
    try {
        child->BeginLoading();
        child->SetName(name);
        ReadProperties(*child, *child, 0);
        ReadChildren(*child, depth);
        child->AttachToParent(&parent);
    } catch (...) {
        Discard(loadedMark, fixupMark);
        throw;
    }
}

void TReader::Discard(size_t loadedMark, size_t fixupMark)
{
    if (FFixups.size() > fixupMark)
        FFixups.resize(fixupMark);
    // Last first, so what a record created goes before the record itself.
    while (FLoaded.size() > loadedMark) {
        TComponent *c = FLoaded.back();
        FLoaded.pop_back();
        if (TComponent *owner = c->Owner())
            owner->RemoveComponent(c).reset();
    }
}

void TReader::EndLoading(bool failed)
{
    const std::vector<TComponent *> loaded = std::move(FLoaded);
    const std::vector<TFixup> fixups = std::move(FFixups);
    FLoaded.clear();
    FFixups.clear();
    std::exception_ptr error;
    for (TComponent *c : loaded) {
        try {
            c->Loaded();
        } catch (...) {
            if (!error)
                error = std::current_exception();
        }
    }
    FResolving = true;
    FGlobalsFound.clear();
    // References name elements anywhere in a big owner: the lookups of
    // the ones a few places ahead are under way while one is resolved.
    constexpr size_t kAhead = 8;
    for (size_t i = 0; i < fixups.size(); ++i) {
        const TFixup &f = fixups[i];
        if (error)
            break;
        if (i + kAhead < fixups.size())
            PrefetchReference(fixups[i + kAhead].Ident);
        try {
            ResolveFixup(f, failed);
        } catch (...) {
            error = std::current_exception();
        }
    }
    FResolving = false;
    FGlobalsFound.clear();
    if (error && !failed)
        std::rethrow_exception(error);
}

void TReader::ResolveFixup(const TFixup &fixup, bool failed)
{
    TComponent *target = ResolveReference(fixup.Ident);
    const TClassInfo *wanted = fixup.Prop->ObjectClass();
    if (!target || (wanted && !target->InheritsFrom(*wanted)))
        return; // stays none
    try {
        fixup.Prop->SetRef(*fixup.Object, target);
    } catch (const EPropertyError &e) {
        if (!failed)
            PropertyError(e.Message(), *fixup.Instance, fixup.Path);
    } catch (const EComponentError &e) {
        if (!failed)
            PropertyError(e.Message(), *fixup.Instance, fixup.Path);
    }
}

TComponent *TReader::ResolveReference(const QString &ident)
{
    if (!FRoot || ident.isEmpty())
        return nullptr;
    if (SameText(ident, u"Owner"))
        return FRoot;
    const qsizetype dot = ident.indexOf(QLatin1Char('.'));
    if (dot > 0 && ident.indexOf(QLatin1Char('.'), dot + 1) < 0) {
        // "Owner.Name", the reference nearly every file holds.
        const QStringView second = QStringView(ident).sliced(dot + 1);
        TComponent *c = FindGlobalComponentOnce(QStringView(ident).first(dot));
        if (SameText(second, u"Owner"))
            return c;
        return c ? c->FindComponent(second.toString()) : nullptr;
    }
    const QList<QStringView> parts = QStringView(ident).split(QLatin1Char('.'));
    if (parts.size() == 1) {
        TComponent *c = FRoot->FindComponent(ident);
        if (!c && FOwner && FOwner != FRoot)
            c = FOwner->FindComponent(ident);
        return c;
    }
    if (parts.size() > kMaxStreamNesting)
        return nullptr;
    TComponent *c = FindGlobalComponent(parts.at(0).toString());
    if (parts.size() == 2 && SameText(parts.at(1), u"Owner"))
        return c; // a named component without owner
    for (qsizetype i = 1; c && i < parts.size(); ++i)
        c = c->FindComponent(parts.at(i).toString());
    return c;
}

void TReader::PrefetchReference(const QString &ident)
{
    const qsizetype dot = ident.indexOf(QLatin1Char('.'));
    if (dot <= 0 || ident.indexOf(QLatin1Char('.'), dot + 1) >= 0)
        return;
    if (const TComponent *owner = FindGlobalComponentOnce(QStringView(ident).first(dot)))
        owner->PrefetchComponent(QStringView(ident).sliced(dot + 1));
}

TComponent *TReader::FindGlobalComponentOnce(QStringView name)
{
    // The references of one record after another name the same owner:
    // while they are resolved, each owner name is looked up once.
    if (FResolving) {
        for (const auto &[known, component] : FGlobalsFound)
            if (known == name)
                return component;
    }
    const QString key = name.toString();
    TComponent *c = FindGlobalComponent(key);
    if (FResolving && FGlobalsFound.size() < 8)
        FGlobalsFound.emplace_back(key, c);
    return c;
}

TComponent *TReader::FindGlobalComponent(const QString &name)
{
    if (TComponent *c = ::FindGlobalComponent(name))
        return c;
    if (FOwner && !name.isEmpty() && SameText(FOwner->Name(), name))
        return FOwner;
    if (FRoot && !name.isEmpty() && SameText(FRoot->Name(), name))
        return FRoot;
    return nullptr;
}

// ---------------------------------------------------------------------------
// Properties

void TReader::PropertyError(const QString &message, const TComponent &instance, const QString &path)
{
    if (Error(message))
        return;
    throw EReadError(FormatMessage(SErrorReading, {instance.Name(), QStringLiteral("."), path, message}));
}

void TReader::ReadProperties(TComponent &instance, TPersistent &object, int depth)
{
    while (!EndOfList())
        ReadProperty(instance, object, ReadRepeatedStr(), depth);
    ReadByte();
}

void TReader::ReadProperty(TComponent &instance, TPersistent &object, const QString &path, int depth)
{
    TPersistent *target = &object;
    QString last = path;
    if (path.contains(QLatin1Char('.'))) {
        TPathParts parts;
        for (QStringView part : QStringView(path).tokenize(QLatin1Char('.'))) {
            parts.push_back(part);
            if (parts.size() > kMaxStreamNesting)
                break; // too deep to be anyone's
        }
        last = parts.back().toString();
        target = parts.size() <= kMaxStreamNesting && !last.isEmpty() ? ResolveSubObject(object, parts) : nullptr;
    }
    if (target && !last.isEmpty()) {
        if (const TPropInfo *prop = target->ClassInfo().FindProperty(last)) {
            ReadPublished(instance, *target, *prop, path, depth);
            return;
        }
        if (const TReaderProc proc = FindDefined(*target, last)) {
            ReadDefined(instance, proc, path, depth);
            return;
        }
    }
    SkipPayload(ReadTag(), depth);
    PropertyError(SUnknownProperty, instance, path);
}

TPersistent *TReader::ResolveSubObject(TPersistent &object, const TPathParts &parts)
{
    TPersistent *obj = &object;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        const TPropInfo *prop = obj->ClassInfo().FindProperty(parts.at(i).toString());
        if (!prop || prop->Type != TPropType::Object)
            return nullptr;
        TPersistent *sub = prop->PeekObject(*obj);
        if (!sub) {
            // Create it only when the rest of the path can be its own: every
            // further step a declared sub-object (the last name may be an
            // extra property, which only the object itself can tell).
            const TClassInfo *cls = prop->ObjectClass();
            for (qsizetype j = i + 1; cls && j + 1 < parts.size(); ++j) {
                const TPropInfo *p = cls->FindProperty(parts.at(j).toString());
                cls = p && p->Type == TPropType::Object ? p->ObjectClass() : nullptr;
            }
            if (!cls || !prop->GetObject)
                return nullptr;
            sub = prop->GetObject(*obj);
            if (!sub)
                return nullptr;
        }
        obj = sub;
    }
    return obj;
}

TFiler::TReaderProc TReader::FindDefined(TPersistent &object, const QString &name)
{
    FSeeking = true;
    FSought = name;
    FFound = nullptr;
    try {
        object.DefineProperties(*this);
    } catch (...) {
        FSeeking = false;
        throw;
    }
    FSeeking = false;
    TReaderProc found = std::move(FFound);
    FFound = nullptr;
    return found;
}

void TReader::DefineProperty(const QString &name, const TReaderProc &reader, const TWriterProc &, bool)
{
    if (FSeeking && !FFound && reader && SameText(name, FSought))
        FFound = reader;
}

void TReader::ReadDefined(TComponent &instance, const TReaderProc &proc, const QString &path, int depth)
{
    QString problem;
    try {
        if (!ReadCapturedValue(depth, [&] { proc(*this); }))
            problem = SInvalidPropertyValue; // more than its reader takes
    } catch (const EPropertyError &e) {
        problem = e.Message();
    } catch (const EConvertError &e) {
        problem = e.Message();
    }
    if (!problem.isEmpty())
        PropertyError(problem, instance, path);
}

void TReader::ReadPublished(TComponent &instance, TPersistent &object, const TPropInfo &prop, const QString &path,
                            int depth)
{
    const TValueTag tag = ReadTag();
    if (tag == TValueTag::Collection && prop.Type == TPropType::Object) {
        TPersistent *sub = prop.GetObject ? prop.GetObject(object) : prop.PeekObject(object);
        if (auto *collection = dynamic_cast<TCollection *>(sub)) {
            ReadCollection(instance, *collection, depth);
            return;
        }
    }
    TScalar value;
    ReadScalar(tag, value, depth);
    QString problem;
    try {
        if (ApplyScalar(instance, object, prop, path, value))
            return;
        problem = SInvalidPropertyValue;
    } catch (const EPropertyError &e) { // a setter refusing the value
        problem = e.Message();
    } catch (const EConvertError &e) {
        problem = e.Message();
    }
    PropertyError(problem, instance, path);
}

// Sets a property from a value read; false when the value does not fit.
bool TReader::ApplyScalar(TComponent &instance, TPersistent &object, const TPropInfo &prop, const QString &path,
                          TScalar &value)
{
    if (prop.Type == TPropType::Event)
        // Handlers are bound by the program, never by files.
        return value.Kind == TScalar::kIdent || value.Kind == TScalar::kNil;
    if (prop.IsReadOnly())
        return false;
    switch (prop.Type) {
    case TPropType::String:
        if (value.Kind != TScalar::kText)
            return false;
        prop.SetStr(object, value.Text);
        return true;
    case TPropType::Float:
        if (value.Kind == TScalar::kInt)
            value.Float = static_cast<double>(value.Int);
        else if (value.Kind != TScalar::kFloat)
            return false;
        prop.SetFloat(object, value.Float);
        return true;
    case TPropType::Reference:
        if (value.Kind == TScalar::kNil) {
            prop.SetRef(object, nullptr);
            return true;
        }
        if (value.Kind != TScalar::kIdent)
            return false;
        FFixups.push_back({&instance, &object, &prop, value.Text, path});
        return true;
    case TPropType::Object:
        return false;
    default:
        break;
    }

    // Ordinal types.
    int64_t v = 0;
    int n = 0;
    const bool isInt = value.Kind == TScalar::kInt;
    const bool isIdent = value.Kind == TScalar::kIdent;
    switch (prop.Type) {
    case TPropType::Integer:
        if (!isInt || value.Int < INT32_MIN || value.Int > INT32_MAX)
            return false;
        v = value.Int;
        break;
    case TPropType::Boolean:
        if (value.Kind != TScalar::kBool)
            return false;
        v = value.Int;
        break;
    case TPropType::Enum:
        if (isIdent)
            v = prop.Enum->Value(value.Text);
        else if (isInt)
            v = value.Int;
        else
            return false;
        if (v < 0 || v >= prop.Enum->Count())
            return false;
        break;
    case TPropType::Set:
        if (value.Kind != TScalar::kSet)
            return false;
        for (const QString &m : value.Members) {
            n = prop.Enum->Value(m);
            if (n < 0 || n >= 32)
                return false;
            v |= int64_t(1) << n;
        }
        break;
    case TPropType::Color: {
        TColor c = 0;
        if (isIdent && IdentToColor(value.Text, c))
            v = c;
        else if (isInt && value.Int >= INT32_MIN && value.Int <= UINT32_MAX)
            v = static_cast<TColor>(static_cast<uint32_t>(value.Int));
        else
            return false;
        break;
    }
    case TPropType::Cursor:
        if (isIdent && IdentToCursor(value.Text, n))
            v = n;
        else if (isInt && value.Int >= INT16_MIN && value.Int <= INT16_MAX)
            v = value.Int;
        else
            return false;
        break;
    case TPropType::Charset:
        if (isIdent && IdentToCharset(value.Text, n))
            v = n;
        else if (isInt && value.Int >= 0 && value.Int <= 255)
            v = value.Int;
        else
            return false;
        break;
    default:
        return false;
    }
    prop.SetOrd(object, v);
    return true;
}

void TReader::ReadCollection(TComponent &instance, TCollection &collection, int depth)
{
    if (depth >= kMaxStreamNesting)
        InvalidFormat();
    collection.BeginUpdate();
    try {
        collection.Clear();
        while (!EndOfList()) {
            ReadItemStart();
            ReadProperties(instance, *collection.Add(), depth + 1);
        }
        ReadByte();
    } catch (...) {
        collection.EndUpdate();
        throw;
    }
    collection.EndUpdate();
}
