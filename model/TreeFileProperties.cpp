// The properties of diagram files beyond the published ones: the lines of
// an element, the size of a fixed-size node at an automatic position, the
// points of a connection, and the settings older files hold that are read
// into their present place and never written.

#include "core/Colors.h"
#include "core/CoreConst.h"
#include "core/Exceptions.h"
#include "core/Reader.h"
#include "core/Writer.h"
#include "model/TreeConnection.h"
#include "model/TreeDocument.h"
#include "model/TreeElement.h"
#include "model/TreeNodeShape.h"

namespace {

[[noreturn]] void InvalidValue()
{
    throw EPropertyError(SInvalidPropertyValue);
}

void WriteLines(TWriter &w, const QStringList &lines)
{
    w.WriteListBegin();
    for (const QString &line : lines)
        w.WriteString(line);
    w.WriteListEnd();
}

// The ordinal of an identifier's name in an enumeration; `fallback` for any
// other identifier.
template <class E>
E EnumFromIdent(const QString &ident, E fallback)
{
    const int v = EnumInfoOf<E>().Value(ident);
    return v >= 0 ? static_cast<E>(v) : fallback;
}

} // namespace

void TTreeStrings::DefineProperties(TFiler &filer)
{
    filer.DefineProperty(
        QStringLiteral("Strings"),
        [this](TReader &r) {
            QStringList lines;
            r.ReadListBegin();
            while (!r.EndOfList())
                lines << r.ReadString();
            r.ReadListEnd();
            SetLines(lines);
        },
        [this](TWriter &w) { WriteLines(w, FLines); }, !FLines.isEmpty());
}

void TCustomTreeElement::DefineProperties(TFiler &filer)
{
    // With a text object its own "Strings" are written under "Text.".
    filer.DefineProperty(
        QStringLiteral("Text.Strings"), nullptr, [this](TWriter &w) { WriteLines(w, QStringList{FSimpleText}); },
        !FText && !FSimpleText.isEmpty());
    filer.DefineProperty(
        QStringLiteral("HorizTextAlign"),
        [this](TReader &r) {
            const THorizTextAlign a = EnumFromIdent(r.ReadIdent(), htaCenter);
            Text()->SetHorizAlign(a == htaLeft || a == htaRight ? a : htaCenter);
        },
        nullptr, false);
    filer.DefineProperty(
        QStringLiteral("VertTextAlign"),
        [this](TReader &r) {
            const TVertTextAlign a = EnumFromIdent(r.ReadIdent(), vtaCenter);
            Text()->SetVertAlign(a == vtaTop || a == vtaBottom ? a : vtaCenter);
        },
        nullptr, false);
}

void TCustomTreeElement::Loaded()
{
    TComponent::Loaded();
    if (!FText || FText->Count() > 1)
        return;
    for (const TPropInfo &p : FText->ClassInfo().Properties())
        if (p.IsStored(*FText))
            return;
    FSimpleText = FText->Strings(0);
    FText.reset();
}

void TTreeNodeShape::DefineProperties(TFiler &filer)
{
    // Reading puts a node whose position is automatic at the origin, so its
    // right and bottom edges there are its width and height. They are read
    // back through the published X1 and Y1.
    // The lines first: they stand where a text object's own lines would.
    TCustomTreeElement::DefineProperties(filer);
    const bool autoLeft = !PeekAutoPosition() || PeekAutoPosition()->Left();
    const bool autoTop = !PeekAutoPosition() || PeekAutoPosition()->Top();
    filer.DefineProperty(
        QStringLiteral("X1"), nullptr, [this](TWriter &w) { w.WriteInteger(Width()); }, !FAutoSize && autoLeft);
    filer.DefineProperty(
        QStringLiteral("Y1"), nullptr, [this](TWriter &w) { w.WriteInteger(Height()); }, !FAutoSize && autoTop);
}

void TTreeConnection::DefineProperties(TFiler &filer)
{
    TCustomTreeElement::DefineProperties(filer);
    filer.DefineProperty(
        QStringLiteral("Points"),
        [this](TReader &r) {
            // Six integers per point; kinds outside the known ones and lists
            // that end inside a point are invalid.
            std::vector<TConnectionPoint> points;
            r.ReadListBegin();
            while (!r.EndOfList()) {
                int v[6];
                for (int &value : v) {
                    if (r.EndOfList())
                        InvalidValue();
                    value = r.ReadInteger();
                }
                const int kinds = EnumInfoOf<TConnectionPointKind>().Count();
                if (v[0] < 0 || v[0] >= kinds || v[1] < 0 || v[1] >= kinds)
                    InvalidValue();
                TConnectionPoint p;
                p.XStyle = static_cast<TConnectionPointKind>(v[0]);
                p.YStyle = static_cast<TConnectionPointKind>(v[1]);
                p.XValue = ClampCoord(v[2]);
                p.YValue = ClampCoord(v[3]);
                p.X = ClampCoord(v[4]);
                p.Y = ClampCoord(v[5]);
                points.push_back(p);
            }
            r.ReadListEnd();
            FPoints.SetItems(std::move(points));
            Changed();
        },
        [this](TWriter &w) {
            w.WriteListBegin();
            for (const TConnectionPoint &p : FPoints.Items()) {
                w.WriteInteger(p.XStyle);
                w.WriteInteger(p.YStyle);
                w.WriteInteger(p.XValue);
                w.WriteInteger(p.YValue);
                w.WriteInteger(p.X);
                w.WriteInteger(p.Y);
            }
            w.WriteListEnd();
        },
        StorePoints());
}

void TTreeDocument::DefineProperties(TFiler &filer)
{
    TComponent::DefineProperties(filer);
    filer.DefineProperty(
        QStringLiteral("GridColor"),
        [this](TReader &r) {
            TColor c = 0;
            switch (r.NextValue()) {
            case TValueTag::Ident:
                if (!StringToColor(r.ReadIdent(), c))
                    InvalidValue();
                break;
            case TValueTag::Int8:
            case TValueTag::Int16:
            case TValueTag::Int32:
                c = r.ReadInteger();
                break;
            default:
                InvalidValue();
            }
            SetGridColor(c);
        },
        nullptr, false);
    filer.DefineProperty(
        QStringLiteral("GridStep"), [this](TReader &r) { SetGridStep(r.ReadInteger()); }, nullptr, false);
}
