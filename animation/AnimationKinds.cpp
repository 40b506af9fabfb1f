#include "animation/AnimationKinds.h"

#include "core/Rounding.h"
#include "model/TreeDocument.h"

#include <algorithm>

namespace {

// A copy of a node's own sub-object (or the note that it had none), which
// puts back exactly that: a node without a font of its own has none again.
template <class T>
struct TPartCopy
{
    std::unique_ptr<T> Copy;
    template <class S>
    void Take(const S *own)
    {
        if (own) {
            Copy = std::make_unique<T>();
            Copy->Assign(own);
        }
    }
};

// What a node animation changes, copied at Play.
struct TNodeValue : TAnimatedValue
{
    unsigned Aspects = 0;
    TPartCopy<TKorFont> Font;
    TPartCopy<TTreeStrings> Text;
    QString SimpleText;
    int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
    bool AutoSize = false;
    TPartCopy<TTreeShapeAutoPosition> AutoPosition;
    bool Visible = true;
    uint8_t Transparency = 0;
    TPartCopy<TTreeShapeBrush> Brush;
    TPartCopy<TChartPen> Border;
    TPartCopy<TKorGradient> Gradient;
};

struct TTreeValue : TAnimatedValue
{
    TColor Color = clWhite;
    TColor GridColor = clGray;
    TPartCopy<TKorGradient> Gradient;
};

// Reached `end` going from `start` (integers compared as values).
bool Reached(long long value, long long start, long long end)
{
    return end < start ? value <= end : value >= end;
}

int NodeFontSize(const TTreeNodeShape *node)
{
    const TKorFont *f = node->EffectiveFont();
    return f ? f->Size() : TKorFont::DefaultSize();
}

} // namespace

// ---------------------------------------------------------------------------
// Class declarations: the properties of every kind, in the order files
// hold them.

const TClassInfo &TCustomAnimation::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TCustomAnimation>("TCustomAnimation", TAnimation::StaticClassInfo());
    return info;
}

const TClassInfo &TNodeAnimation::StaticClassInfo()
{
    using N = TNodeAnimation;
    static const TClassInfo info = TClassBuilder<N>("TNodeAnimation", TAnimation::StaticClassInfo())
                                       .Reference<TTreeNodeShape>("Node", &N::Node, &N::SetNode);
    return info;
}

const TClassInfo &TIntegerAnimation::StaticClassInfo()
{
    using N = TIntegerAnimation;
    static const TClassInfo info = TClassBuilder<N>("TIntegerAnimation", TNodeAnimation::StaticClassInfo())
                                       .Integer("StartValue", &N::StartValue, &N::SetStartValue, 0)
                                       .Integer("EndValue", &N::EndValue, &N::SetEndValue, 0);
    return info;
}

#define DX_PLAIN_KIND(Class, Base)                                                                                     \
    const TClassInfo &Class::StaticClassInfo()                                                                         \
    {                                                                                                                  \
        static const TClassInfo info = TClassBuilder<Class>(#Class, Base::StaticClassInfo());                          \
        return info;                                                                                                   \
    }

DX_PLAIN_KIND(TVisibleAnimation, TBooleanAnimation)
DX_PLAIN_KIND(TAddTextAnimation, TNodeAnimation)
DX_PLAIN_KIND(TMoveTextAnimation, TNodeAnimation)

const TClassInfo &TMovementAnimation::StaticClassInfo()
{
    using N = TMovementAnimation;
    static const TClassInfo info = TClassBuilder<N>("TMovementAnimation", TIntegerAnimation::StaticClassInfo())
                                       .Enum("Direction", &N::Direction, &N::SetDirection, mdHorizontal)
                                       .Stored([](const N &) { return true; });
    return info;
}

const TClassInfo &TBooleanAnimation::StaticClassInfo()
{
    using N = TBooleanAnimation;
    static const TClassInfo info = TClassBuilder<N>("TBooleanAnimation", TNodeAnimation::StaticClassInfo())
                                       .Boolean("NewValue", &N::NewValue, &N::SetNewValue, false)
                                       .Stored([](const N &) { return true; });
    return info;
}

// The colour kinds declare their own properties: the diagram's colour has
// no node, and a node's colours come after its node.
const TClassInfo &TColorAnimation::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TColorAnimation>("TColorAnimation", TAnimation::StaticClassInfo());
    return info;
}

const TClassInfo &TNodeColorAnimation::StaticClassInfo()
{
    using N = TNodeColorAnimation;
    static const TClassInfo info = TClassBuilder<N>("TNodeColorAnimation", TColorAnimation::StaticClassInfo())
                                       .Reference<TTreeNodeShape>("Node", &N::Node, &N::SetNode)
                                       .Color("StartColor", &N::StartColor, &N::SetStartColor, clNone)
                                       .Color("EndColor", &N::EndColor, &N::SetEndColor, clNone)
                                       .Enum("NodeColor", &N::NodeColor, &N::SetNodeColor, ncColor);
    return info;
}

const TClassInfo &TTextColorAnimation::StaticClassInfo()
{
    using N = TTextColorAnimation;
    static const TClassInfo info = TClassBuilder<N>("TTextColorAnimation", TColorAnimation::StaticClassInfo())
                                       .Reference<TTreeNodeShape>("Node", &N::Node, &N::SetNode)
                                       .Color("StartColor", &N::StartColor, &N::SetStartColor, clNone)
                                       .Color("EndColor", &N::EndColor, &N::SetEndColor, clNone);
    return info;
}

const TClassInfo &TTreeColorAnimation::StaticClassInfo()
{
    using N = TTreeColorAnimation;
    static const TClassInfo info = TClassBuilder<N>("TTreeColorAnimation", TColorAnimation::StaticClassInfo())
                                       .Color("StartColor", &N::StartColor, &N::SetStartColor, clNone)
                                       .Color("EndColor", &N::EndColor, &N::SetEndColor, clNone)
                                       .Enum("TreeColor", &N::TreeColor, &N::SetTreeColor, tcColor)
                                       .Stored([](const N &) { return true; });
    return info;
}

const TClassInfo &TTextFlashAnimation::StaticClassInfo()
{
    using N = TTextFlashAnimation;
    static const TClassInfo info = TClassBuilder<N>("TTextFlashAnimation", TNodeAnimation::StaticClassInfo())
                                       .Integer("SizePercent", &N::SizePercent, &N::SetSizePercent, 100);
    return info;
}

const TClassInfo &TNodeZoomAnimation::StaticClassInfo()
{
    using N = TNodeZoomAnimation;
    static const TClassInfo info = TClassBuilder<N>("TNodeZoomAnimation", TNodeAnimation::StaticClassInfo())
                                       .Integer("ZoomPercent", &N::ZoomPercent, &N::SetZoomPercent, 100);
    return info;
}

// ---------------------------------------------------------------------------
// TNodeAnimation

TNodeAnimation::~TNodeAnimation()
{
    if (FNode)
        RemoveFreeNotification(FNode);
}

void TNodeAnimation::SetNode(TTreeNodeShape *node)
{
    if (node == FNode)
        return;
    if (FNode)
        RemoveFreeNotification(FNode);
    DropSavedValue();
    FNode = node;
    if (FNode)
        FreeNotification(FNode);
}

bool TNodeAnimation::IsActive() const
{
    return Enabled() && FNode;
}

void TNodeAnimation::Notification(TComponent *component, TOperation operation)
{
    TAnimation::Notification(component, operation);
    if (operation != opRemove || component != FNode)
        return;
    auto *node = FNode;
    FNode = nullptr;
    // Nothing is left to put back, and nothing to play on.
    DropSavedValue();
    if (PlayState() != apsStopped)
        StopAnimation();
    if (Player())
        Fire(Player()->OnNodeRemoved, node);
}

void TNodeAnimation::ApplyDefaults()
{
    TTreeDocument *tree = Tree();
    if (tree && tree->Shapes().Count() > 0)
        SetNode(tree->Shapes()[0]);
}

std::unique_ptr<TAnimatedValue> TNodeAnimation::CaptureValue() const
{
    if (!FNode)
        return nullptr;
    auto v = std::make_unique<TNodeValue>();
    const unsigned a = Aspects();
    v->Aspects = a;
    if (a & naFont)
        v->Font.Take(FNode->PeekFont());
    if (a & naText) {
        v->Text.Take(FNode->PeekText());
        v->SimpleText = FNode->PeekText() ? QString() : FNode->SimpleText();
    }
    if (a & naPosition) {
        v->X0 = FNode->X0();
        v->Y0 = FNode->Y0();
        v->X1 = FNode->X1();
        v->Y1 = FNode->Y1();
        v->AutoSize = FNode->AutoSize();
        v->AutoPosition.Take(FNode->PeekAutoPosition());
    }
    if (a & naVisible)
        v->Visible = FNode->Visible();
    if (a & naTransparency)
        v->Transparency = FNode->Transparency();
    if (a & naBrush)
        v->Brush.Take(FNode->PeekBrush());
    if (a & naBorder)
        v->Border.Take(FNode->PeekBorder());
    if (a & naGradient)
        v->Gradient.Take(FNode->PeekGradient());
    return v;
}

void TNodeAnimation::ApplyValue(const TAnimatedValue &value)
{
    const auto *v = dynamic_cast<const TNodeValue *>(&value);
    if (!v || !FNode)
        return;
    const unsigned a = v->Aspects;
    if (a & naFont)
        FNode->SetFont(v->Font.Copy.get());
    if (a & naText) {
        FNode->SetText(v->Text.Copy.get());
        if (!v->Text.Copy && FNode->SimpleText() != v->SimpleText)
            FNode->SetSimpleText(v->SimpleText);
    }
    if (a & naPosition) {
        FNode->SetX0(v->X0);
        FNode->SetY0(v->Y0);
        if (!v->AutoSize) {
            FNode->SetX1(v->X1);
            FNode->SetY1(v->Y1);
        }
        FNode->SetAutoSize(v->AutoSize);
        FNode->SetAutoPosition(v->AutoPosition.Copy.get());
    }
    if (a & naVisible)
        FNode->SetVisible(v->Visible);
    if (a & naTransparency)
        FNode->SetTransparency(v->Transparency);
    if (a & naBrush)
        FNode->SetBrush(v->Brush.Copy.get());
    if (a & naBorder)
        FNode->SetBorder(v->Border.Copy.get());
    if (a & naGradient)
        FNode->SetGradient(v->Gradient.Copy.get());
}

// ---------------------------------------------------------------------------
// Integer kinds

void TIntegerAnimation::Step()
{
    const long long span = static_cast<long long>(FEndValue) - FStartValue;
    const long long done = static_cast<long long>(CurrentFrame() - StartFrame()) * span;
    const long long value = FStartValue + dx::RoundEvenWide(double(done) / Duration());
    WriteValue(static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)));
    if (Reached(value, FStartValue, FEndValue))
        StopAnimation();
    TNodeAnimation::Step();
}

void TIntegerAnimation::StartAnimation()
{
    if (PlayState() == apsStopped)
        WriteValue(FStartValue);
    TNodeAnimation::StartAnimation();
}

void TIntegerAnimation::SaveValue()
{
    TNodeAnimation::SaveValue();
    if (Node())
        FSavedValue = ReadValue();
}

void TIntegerAnimation::TakeValuesFromNode()
{
    if (!Node() || (Player() && Player()->IsLoading()))
        return;
    if (FStartValue == 0)
        FStartValue = ReadValue();
    if (FEndValue == 0)
        FEndValue = ReadValue();
}

int TMovementAnimation::ReadValue() const
{
    return FDirection == mdHorizontal ? Node()->X0() : Node()->Y0();
}

void TMovementAnimation::WriteValue(int value)
{
    if (FDirection == mdHorizontal)
        Node()->SetX0(value);
    else
        Node()->SetY0(value);
}

void TMovementAnimation::ApplyDefaults()
{
    TNodeAnimation::ApplyDefaults();
    TTreeNodeShape *node = Node();
    if (!node)
        return;
    TChartPen *border = node->Border();
    border->SetVisible(true);
    border->SetWidth(2);
    border->SetEndStyle(esFlat);
    SetStartValue(Tree() ? Tree()->VisibleArea().Width() : 0);
    SetEndValue(-node->Width() - border->Width());
    if (Player())
        Player()->SetSpeed(10);
}

namespace {

int FontSizeRead(const TTreeNodeShape &node)
{
    return NodeFontSize(&node);
}

void FontSizeWrite(TTreeNodeShape &node, int value)
{
    node.Font()->SetSize(value);
}

void FontSizeDefaults(TIntegerAnimation &a)
{
    if (!a.Node())
        return;
    a.SetStartValue(a.ReadValue());
    a.SetEndValue(2 * a.ReadValue());
}

int TransparencyRead(const TTreeNodeShape &node)
{
    return node.Transparency();
}

void TransparencyWrite(TTreeNodeShape &node, int value)
{
    node.SetTransparency(static_cast<uint8_t>(std::clamp(value, 0, 100)));
}

void TransparencyDefaults(TIntegerAnimation &a)
{
    if (!a.Node())
        return;
    a.Node()->SetTransparent(false);
    a.Node()->SetColor(clYellow);
    a.SetStartValue(0);
    a.SetEndValue(100);
}

int TextTranspRead(const TTreeNodeShape &node)
{
    return node.PeekText() ? node.PeekText()->Transparency() : 0;
}

void TextTranspWrite(TTreeNodeShape &node, int value)
{
    node.Text()->SetTransparency(static_cast<uint8_t>(std::clamp(value, 0, 100)));
}

int TextAngleRead(const TTreeNodeShape &node)
{
    return node.PeekText() ? node.PeekText()->Angle() : 0;
}

void TextAngleWrite(TTreeNodeShape &node, int value)
{
    node.Text()->SetAngle(value);
}

// The preview's values, node or not.
template <int Start, int End>
void Range(TIntegerAnimation &a)
{
    a.SetStartValue(Start);
    a.SetEndValue(End);
}

} // namespace

const TNodeValueKind kFontSizeKind{"TFontSizeAnimation", naFont, FontSizeRead, FontSizeWrite, FontSizeDefaults};
const TNodeValueKind kTransparencyKind{"TTransparencyAnimation", naTransparency, TransparencyRead, TransparencyWrite,
                                       TransparencyDefaults};
const TNodeValueKind kTextTranspKind{"TTextTranspAnimation", naText, TextTranspRead, TextTranspWrite, Range<0, 100>};
const TNodeValueKind kTextAngleKind{"TTextAngleAnimation", naText, TextAngleRead, TextAngleWrite, Range<0, 360>};

// ---------------------------------------------------------------------------
// Visibility

void TBooleanAnimation::SaveValue()
{
    TNodeAnimation::SaveValue();
    if (Node())
        FSavedValue = ReadValue();
}

void TBooleanAnimation::TakeValuesFromNode()
{
    if (Node() && !(Player() && Player()->IsLoading()))
        FNewValue = !ReadValue();
}

bool TVisibleAnimation::ReadValue() const
{
    return Node()->Visible();
}

void TVisibleAnimation::WriteValue(bool value)
{
    Node()->SetVisible(value);
}

void TVisibleAnimation::Step()
{
    WriteValue(NewValue());
    TBooleanAnimation::Step();
}

void TVisibleAnimation::StopAnimation()
{
    if (Node() && HasSavedValue())
        WriteValue(SavedValue());
    TBooleanAnimation::StopAnimation();
}

// ---------------------------------------------------------------------------
// Colour kinds

TColor TColorAnimation::Blend(TColor start, TColor end, double f)
{
    const TColor s = ColorToRGB(start);
    const TColor e = ColorToRGB(end);
    auto channel = [f](int a, int b) { return static_cast<int>((a + dx::RoundEvenWide(f * (b - a))) & 0xFF); };
    return RGBColor(channel(GetRValue(s), GetRValue(e)), channel(GetGValue(s), GetGValue(e)),
                    channel(GetBValue(s), GetBValue(e)));
}

void TColorAnimation::Step()
{
    const double f = double(CurrentFrame() - StartFrame()) / Duration();
    const TColor c = Blend(FStartColor, FEndColor, f);
    // The fade ends on the end colour itself (a system colour stays one),
    // once the frames have run or the colour got there: comparing the
    // colour values as numbers would stop some fades early, off colour.
    if (f >= 1.0 || c == ColorToRGB(FEndColor)) {
        WriteValue(FEndColor);
        StopAnimation();
    } else {
        WriteValue(c);
    }
    TNodeAnimation::Step();
}

void TColorAnimation::StartAnimation()
{
    if (PlayState() == apsStopped)
        WriteValue(FStartColor);
    TNodeAnimation::StartAnimation();
}

void TColorAnimation::SaveValue()
{
    TNodeAnimation::SaveValue();
    if (IsActive())
        FSavedValue = ReadValue();
}

void TColorAnimation::TakeValuesFromNode()
{
    if (!IsActive() || (Player() && Player()->IsLoading()))
        return;
    if (FStartColor == clNone)
        FStartColor = ReadValue();
    if (FEndColor == clNone)
        FEndColor = ReadValue();
}

unsigned TNodeColorAnimation::Aspects() const
{
    switch (FNodeColor) {
    case ncColor:
        return naBrush;
    case ncBorder:
        return naBorder;
    case ncFont:
        return naFont;
    default:
        return naGradient;
    }
}

TColor TNodeColorAnimation::ReadValue() const
{
    const TTreeNodeShape *n = Node();
    switch (FNodeColor) {
    case ncColor:
        return n->Color();
    case ncBorder:
        return n->EffectiveBorder() ? n->EffectiveBorder()->Color() : clBlack;
    case ncFont:
        return n->EffectiveFont() ? n->EffectiveFont()->Color() : clBlack;
    case ncGradientStart:
        return n->PeekGradient() ? n->PeekGradient()->StartColor() : TKorGradient().StartColor();
    case ncGradientEnd:
        return n->PeekGradient() ? n->PeekGradient()->EndColor() : TKorGradient().EndColor();
    case ncGradientMiddle:
        return n->PeekGradient() ? n->PeekGradient()->MidColor() : TKorGradient().MidColor();
    }
    return clNone;
}

void TNodeColorAnimation::WriteValue(TColor value)
{
    TTreeNodeShape *n = Node();
    switch (FNodeColor) {
    case ncColor:
        n->SetColor(value);
        break;
    case ncBorder:
        n->Border()->SetColor(value);
        break;
    case ncFont:
        n->Font()->SetColor(value);
        break;
    case ncGradientStart:
        n->Gradient()->SetStartColor(value);
        break;
    case ncGradientEnd:
        n->Gradient()->SetEndColor(value);
        break;
    case ncGradientMiddle:
        n->Gradient()->SetMidColor(value);
        break;
    }
}

void TNodeColorAnimation::ApplyDefaults()
{
    TNodeAnimation::ApplyDefaults();
    if (!Node())
        return;
    Node()->SetTransparent(false);
    SetStartColor(Node()->Color());
    SetEndColor(clRed);
}

TColor TTextColorAnimation::ReadValue() const
{
    const TKorFont *f = Node()->EffectiveFont();
    return f ? f->Color() : clBlack;
}

void TTextColorAnimation::WriteValue(TColor value)
{
    Node()->Font()->SetColor(value);
}

void TTextColorAnimation::ApplyDefaults()
{
    TNodeAnimation::ApplyDefaults();
    if (!Node())
        return;
    Node()->Font()->SetSize(18);
    Node()->Font()->SetStyle(Node()->Font()->Style() | SetBit(fsBold));
    SetStartColor(ReadValue());
    SetEndColor(clRed);
}

bool TTreeColorAnimation::IsActive() const
{
    return Enabled() && Tree();
}

TColor TTreeColorAnimation::ReadValue() const
{
    const TTreeDocument *t = Tree();
    const TKorGradient *g = t->PeekBackgroundGradient();
    switch (FTreeColor) {
    case tcColor:
        return t->BackgroundColor();
    case tcGrid:
        return t->GridColor();
    case tcGradientStart:
        return g ? g->StartColor() : TKorGradient().StartColor();
    case tcGradientEnd:
        return g ? g->EndColor() : TKorGradient().EndColor();
    case tcGradientMiddle:
        return g ? g->MidColor() : TKorGradient().MidColor();
    }
    return clNone;
}

void TTreeColorAnimation::WriteValue(TColor value)
{
    TTreeDocument *t = Tree();
    TKorGradient *g = nullptr;
    switch (FTreeColor) {
    case tcColor:
        t->SetBackgroundColor(value);
        break;
    case tcGrid:
        t->SetGridColor(value);
        break;
    case tcGradientStart:
        if ((g = t->BackgroundGradient()))
            g->SetStartColor(value);
        break;
    case tcGradientEnd:
        if ((g = t->BackgroundGradient()))
            g->SetEndColor(value);
        break;
    case tcGradientMiddle:
        if ((g = t->BackgroundGradient()))
            g->SetMidColor(value);
        break;
    }
    t->Invalidate();
}

void TTreeColorAnimation::ApplyDefaults()
{
    if (!Tree())
        return;
    SetStartColor(Tree()->BackgroundColor());
    SetEndColor(clWhite);
}

std::unique_ptr<TAnimatedValue> TTreeColorAnimation::CaptureValue() const
{
    const TTreeDocument *t = Tree();
    if (!t)
        return nullptr;
    auto v = std::make_unique<TTreeValue>();
    v->Color = t->BackgroundColor();
    v->GridColor = t->GridColor();
    v->Gradient.Take(t->PeekBackgroundGradient());
    return v;
}

void TTreeColorAnimation::ApplyValue(const TAnimatedValue &value)
{
    const auto *v = dynamic_cast<const TTreeValue *>(&value);
    TTreeDocument *t = Tree();
    if (!v || !t)
        return;
    switch (FTreeColor) {
    case tcColor:
        t->SetBackgroundColor(v->Color);
        break;
    case tcGrid:
        t->SetGridColor(v->GridColor);
        break;
    default:
        t->SetBackgroundGradient(v->Gradient.Copy.get());
        break;
    }
    t->Invalidate();
}

// ---------------------------------------------------------------------------
// Text kinds

void TAddTextAnimation::SaveValue()
{
    TNodeAnimation::SaveValue();
    TTreeNodeShape *n = Node();
    if (!n)
        return;
    // Every line is typed in, not only the first.
    QStringList lines;
    for (int i = 0; i < n->LineCount(); ++i)
        lines << n->Line(i);
    FFullText = lines.join(QLatin1Char('\n'));
    n->Text()->Clear();
}

void TAddTextAnimation::StartAnimation()
{
    if (PlayState() == apsStopped && Node())
        Node()->Text()->Clear();
    TNodeAnimation::StartAnimation();
}

void TAddTextAnimation::Step()
{
    if (TTreeNodeShape *n = Node()) {
        const int count = static_cast<int>(
            std::clamp<long long>(dx::RoundEvenWide(double(FFullText.size()) * Progress()), 0, FFullText.size()));
        const QString shown = FFullText.left(count);
        if (n->Text()->Text() != shown)
            n->Text()->SetText(shown);
        if (n->Text()->Text() == FFullText)
            StopAnimation();
    }
    TNodeAnimation::Step();
}

void TAddTextAnimation::ApplyDefaults()
{
    TNodeAnimation::ApplyDefaults();
    if (Node())
        Node()->Text()->SetHorizAlign(htaLeft);
}

void TMoveTextAnimation::SaveValue()
{
    TNodeAnimation::SaveValue();
    if (Node())
        Node()->Text()->SetClipText(true);
}

void TMoveTextAnimation::StartAnimation()
{
    if (PlayState() == apsStopped && Node())
        Node()->Text()->SetHorizOffset(Node()->Width());
    TNodeAnimation::StartAnimation();
}

void TMoveTextAnimation::Step()
{
    if (TTreeNodeShape *n = Node()) {
        const int width = n->Width();
        const int d = static_cast<int>(
            std::clamp<long long>(dx::RoundEvenWide(double(CurrentFrame() - StartFrame()) * width * 2 / Duration()),
                                  INT_MIN / 2, INT_MAX / 2));
        n->Text()->SetHorizOffset(width - d);
        if (d > 100)
            StopAnimation();
    }
    TNodeAnimation::Step();
}

void TTextFlashAnimation::StartAnimation()
{
    if (PlayState() == apsStopped && Node())
        FBaseSize = NodeFontSize(Node());
    TNodeAnimation::StartAnimation();
}

void TTextFlashAnimation::Step()
{
    if (TTreeNodeShape *n = Node()) {
        const int s = FBaseSize;
        const int d = CurrentFrame() - StartFrame();
        const long long x = dx::RoundEvenWide(double(s) * FSizePercent / 50);
        const long long part = dx::RoundEvenWide(double(x) * d / Duration());
        const long long size = d <= Duration() / 2 ? s + part : s + x - part;
        n->Font()->SetSize(static_cast<int>(std::clamp<long long>(size, 1, 32767)));
        if (CurrentFrame() >= EndFrame())
            StopAnimation();
    }
    TNodeAnimation::Step();
}

void TNodeZoomAnimation::SaveValue()
{
    TNodeAnimation::SaveValue();
    if (TTreeNodeShape *n = Node()) {
        FLeft = n->X0();
        FTop = n->Y0();
        FRight = n->X1();
        FBottom = n->Y1();
    }
}

void TNodeZoomAnimation::Step()
{
    if (TTreeNodeShape *n = Node()) {
        const double f = double(CurrentFrame() - StartFrame()) * FZoomPercent / Duration();
        const double w = double(FRight - FLeft) * (1 + f / 100);
        const double h = double(FBottom - FTop) * (1 + f / 100);
        n->SetX0(dx::RoundEven((double(FLeft) + FRight - w) / 2));
        n->SetY0(dx::RoundEven((double(FTop) + FBottom - h) / 2));
        n->SetWidth(dx::RoundEven(w));
        n->SetHeight(dx::RoundEven(h));
        if (!(f < FZoomPercent))
            StopAnimation();
    }
    TNodeAnimation::Step();
}

void TNodeZoomAnimation::ApplyDefaults()
{
    TNodeAnimation::ApplyDefaults();
    if (!Node())
        return;
    Node()->SetTransparent(false);
    Node()->Border()->SetVisible(true);
}
