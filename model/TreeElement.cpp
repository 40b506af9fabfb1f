#include "model/TreeElement.h"

#include "model/TreeDocument.h"

#include <QRegularExpression>

// ---------------------------------------------------------------------------
// TTreeStrings

const TClassInfo &TTreeStrings::StaticClassInfo()
{
    using S = TTreeStrings;
    static const TClassInfo info = TClassBuilder<S>("TTreeStrings", TPersistent::StaticClassInfo())
                                       .Integer("Angle", &S::Angle, &S::SetAngle, 0)
                                       .Boolean("ClipText", &S::ClipText, &S::SetClipText, false)
                                       .Enum("HorizAlign", &S::HorizAlign, &S::SetHorizAlign, htaCenter)
                                       .Integer("HorizOffset", &S::HorizOffset, &S::SetHorizOffset, 0)
                                       .Integer("Transparency", &S::Transparency, &S::SetTransparency, 0)
                                       .Enum("VertAlign", &S::VertAlign, &S::SetVertAlign, vtaCenter)
                                       .Stored([](const S &s) { return s.VertAlign() != s.DefaultVertAlign(); })
                                       .Integer("VertOffset", &S::VertOffset, &S::SetVertOffset, 0);
    return info;
}

TTreeStrings::TTreeStrings(TCustomTreeElement *element) : FElement(element), FVertAlign(DefaultVertAlign()) {}

TVertTextAlign TTreeStrings::DefaultVertAlign() const
{
    return FElement ? FElement->DefaultVertAlign() : vtaCenter;
}

void TTreeStrings::Changed()
{
    if (FElement)
        FElement->Changed();
}

void TTreeStrings::SetLines(const QStringList &lines)
{
    if (FLines == lines)
        return;
    FLines = lines;
    Changed();
}

void TTreeStrings::SetStrings(int index, const QString &line)
{
    if (index < 0 || index >= FLines.size() || FLines.at(index) == line)
        return;
    FLines[index] = line;
    Changed();
}

int TTreeStrings::Add(const QString &line)
{
    FLines.append(line);
    Changed();
    return FLines.size() - 1;
}

void TTreeStrings::Insert(int index, const QString &line)
{
    FLines.insert(std::clamp(index, 0, static_cast<int>(FLines.size())), line);
    Changed();
}

void TTreeStrings::Delete(int index)
{
    if (index < 0 || index >= FLines.size())
        return;
    FLines.removeAt(index);
    Changed();
}

void TTreeStrings::Clear()
{
    if (FLines.isEmpty())
        return;
    FLines.clear();
    Changed();
}

void TTreeStrings::SetText(const QString &text)
{
    static const QRegularExpression breaks(QStringLiteral("\r\n|\n|\r"));
    QStringList lines = text.split(breaks);
    if (text.isEmpty())
        lines.clear();
    else if (lines.size() > 1 && lines.last().isEmpty())
        lines.removeLast(); // a final line break ends the last line
    SetLines(lines);
}

void TTreeStrings::SetAngle(int value)
{
    value %= 360;
    if (value < 0)
        value += 360;
    Update(FAngle, value);
}

void TTreeStrings::Assign(const TPersistent *source)
{
    if (!source) {
        const TVertTextAlign vert = DefaultVertAlign();
        const bool changed = FAngle != 0 || FClipText || FHorizAlign != htaCenter || FHorizOffset != 0 ||
                             FTransparency != 0 || FVertAlign != vert || FVertOffset != 0;
        FAngle = 0;
        FClipText = false;
        FHorizAlign = htaCenter;
        FHorizOffset = 0;
        FTransparency = 0;
        FVertAlign = vert;
        FVertOffset = 0;
        if (changed)
            Changed();
        return;
    }
    if (auto *s = dynamic_cast<const TTreeStrings *>(source)) {
        const bool changed = FAngle != s->FAngle || FClipText != s->FClipText || FHorizAlign != s->FHorizAlign ||
                             FHorizOffset != s->FHorizOffset || FTransparency != s->FTransparency ||
                             FVertAlign != s->FVertAlign || FVertOffset != s->FVertOffset || FLines != s->FLines;
        FAngle = s->FAngle;
        FClipText = s->FClipText;
        FHorizAlign = s->FHorizAlign;
        FHorizOffset = s->FHorizOffset;
        FTransparency = s->FTransparency;
        FVertAlign = s->FVertAlign;
        FVertOffset = s->FVertOffset;
        FLines = s->FLines;
        if (changed)
            Changed();
        return;
    }
    TPersistent::Assign(source);
}

// ---------------------------------------------------------------------------
// TCustomTreeElement

const TClassInfo &TCustomTreeElement::StaticClassInfo()
{
    // The element classes declare their published properties themselves,
    // each in its own file order.
    static const TClassInfo info("TCustomTreeElement", &TComponent::StaticClassInfo());
    return info;
}

TCustomTreeElement::TCustomTreeElement(TComponent *owner) : TComponent(owner) {}

TCustomTreeElement::~TCustomTreeElement() = default;

void TCustomTreeElement::SetTree(TTreeDocument *tree)
{
    FTree = tree;
}

void TCustomTreeElement::Changed()
{
    if (FTree)
        FTree->Invalidate();
}

void TCustomTreeElement::SetCursor(int value)
{
    Update(FCursor, static_cast<TCursor>(value));
}

TKorFont *TCustomTreeElement::Font()
{
    if (!FFont) {
        FFont = NewPart<TKorFont>();
        if (FTree) {
            const auto onChange = std::move(FFont->OnChange);
            FFont->Assign(FTree->DefaultFormat().Font());
            FFont->OnChange = onChange;
        }
    }
    return FFont.get();
}

const TKorFont *TCustomTreeElement::EffectiveFont() const
{
    if (FFont)
        return FFont.get();
    if (FTree)
        return FTree->DefaultFormat().Font();
    static const TKorFont defaults;
    return &defaults;
}

void TCustomTreeElement::SetFont(const TKorFont *font)
{
    AssignPart(
        FFont.get(), font, [this] { return Font(); }, [this] { FFont.reset(); }, [this] { Changed(); });
}

TTreeStrings *TCustomTreeElement::Text()
{
    if (!FText) {
        FText = std::make_unique<TTreeStrings>(this);
        if (!FSimpleText.isEmpty()) {
            QStringList first{FSimpleText};
            FSimpleText.clear();
            FText->SetLines(first);
        }
    }
    return FText.get();
}

void TCustomTreeElement::SetText(const TTreeStrings *text)
{
    AssignPart(
        FText.get(), text, [this] { return Text(); }, [this] { FText.reset(); }, [this] { Changed(); });
}

QString TCustomTreeElement::SimpleText() const
{
    if (FText)
        return FText->Count() > 0 ? FText->Strings(0) : QString();
    return FSimpleText;
}

void TCustomTreeElement::SetSimpleText(const QString &text)
{
    if (text == SimpleText())
        return;
    if (!FText)
        FSimpleText = text;
    else if (FText->Count() == 0)
        FText->FLines.append(text);
    else
        FText->FLines[0] = text;
    Changed();
}

void TCustomTreeElement::ResetText(const QString &text)
{
    FSimpleText = text;
    FText.reset();
}

int TCustomTreeElement::LineCount() const
{
    if (FText)
        return FText->Count();
    return FSimpleText.isEmpty() ? 0 : 1;
}

QString TCustomTreeElement::Line(int index) const
{
    if (FText)
        return FText->Strings(index);
    return index == 0 ? FSimpleText : QString();
}

void TCustomTreeElement::Assign(const TPersistent *source)
{
    auto *e = dynamic_cast<const TCustomTreeElement *>(source);
    if (!e) {
        TComponent::Assign(source);
        return;
    }
    if (e == this)
        return;
    SetCursor(e->FCursor);
    FData = e->FData;
    SetFont(e->FFont.get());
    SetText(e->FText.get());
    if (!e->FText) {
        // The simple text travels as it is (a text object was freed above).
        if (FSimpleText != e->FSimpleText) {
            FSimpleText = e->FSimpleText;
            Changed();
        }
    }
}
