#pragma once
// The kinds of animation: node animations (font size, movement,
// transparency, text, colours, visibility, zoom), the diagram's colour and
// the custom pause.

#include "animation/TreeAnimate.h"
#include "core/ClassInfo.h"

class TTreeNodeShape;

DX_ENUM(TMovementDirection, mdHorizontal, mdVertical)
DX_ENUM(TNodeColorKind, ncColor, ncBorder, ncFont, ncGradientStart, ncGradientEnd, ncGradientMiddle)
DX_ENUM(TTreeColorKind, tcColor, tcGrid, tcGradientStart, tcGradientEnd, tcGradientMiddle)

// A pause: changes nothing, fires OnFrame.
class TCustomAnimation : public TAnimation
{
    DX_OBJECT(TCustomAnimation)
public:
    using TAnimation::TAnimation;
};

// An animation of one node of the diagram. When the node is freed the
// animation forgets it (it no longer plays) and the player's owner hears
// OnNodeRemoved.
class TNodeAnimation : public TAnimation
{
    DX_OBJECT(TNodeAnimation)
public:
    using TAnimation::TAnimation;
    ~TNodeAnimation() override;

    TTreeNodeShape *Node() const { return FNode; }
    void SetNode(TTreeNodeShape *node);
    bool IsActive() const override;
    // The gallery preview takes the diagram's first node.
    void ApplyDefaults() override;

protected:
    // What of the node the kind changes (TNodeAspect bits).
    virtual unsigned Aspects() const = 0;
    std::unique_ptr<TAnimatedValue> CaptureValue() const override;
    void ApplyValue(const TAnimatedValue &value) override;
    void Notification(TComponent *component, TOperation operation) override;
    // Frames since the start, as a fraction of the duration.
    double Progress() const { return double(CurrentFrame() - StartFrame()) / Duration(); }

private:
    TTreeNodeShape *FNode = nullptr;
};

// What of a node an animation changes.
enum TNodeAspect : unsigned {
    naFont = 1 << 0,
    naText = 1 << 1,
    naPosition = 1 << 2, // edges, automatic size and automatic position
    naVisible = 1 << 3,
    naTransparency = 1 << 4,
    naBrush = 1 << 5,
    naBorder = 1 << 6,
    naGradient = 1 << 7,
};

// Integer values from StartValue to EndValue.
class TIntegerAnimation : public TNodeAnimation
{
    DX_OBJECT(TIntegerAnimation)
public:
    using TNodeAnimation::TNodeAnimation;
    int StartValue() const { return FStartValue; }
    void SetStartValue(int value) { FStartValue = value; }
    int EndValue() const { return FEndValue; }
    void SetEndValue(int value) { FEndValue = value; }

    void Step() override;
    void StartAnimation() override;
    void SaveValue() override;
    void TakeValuesFromNode() override;

    // The node's property.
    virtual int ReadValue() const = 0;
    virtual void WriteValue(int value) = 0;
    int SavedValue() const { return FSavedValue; }

private:
    int FStartValue = 0;
    int FEndValue = 0;
    int FSavedValue = 0;
};

class TMovementAnimation : public TIntegerAnimation
{
    DX_OBJECT(TMovementAnimation)
public:
    using TIntegerAnimation::TIntegerAnimation;
    TMovementDirection Direction() const { return FDirection; }
    void SetDirection(TMovementDirection value) { FDirection = value; }
    int ReadValue() const override;
    void WriteValue(int value) override;
    void ApplyDefaults() override;

protected:
    unsigned Aspects() const override { return naPosition; }

private:
    TMovementDirection FDirection = mdHorizontal;
};

// What sets apart the integer kinds that need nothing but reading and
// writing a property of their node: the class name files and the registry
// know, what of the node it changes, how the value is read and written, and
// what the gallery's preview starts from.
struct TNodeValueKind
{
    const char *ClassName;
    unsigned Aspects;
    int (*Read)(const TTreeNodeShape &node);
    void (*Write)(TTreeNodeShape &node, int value);
    void (*Defaults)(TIntegerAnimation &animation);
};

template <const TNodeValueKind &Kind>
class TNodeValueAnimation : public TIntegerAnimation
{
public:
    static const TClassInfo &StaticClassInfo()
    {
        static const TClassInfo info =
            TClassBuilder<TNodeValueAnimation>(Kind.ClassName, TIntegerAnimation::StaticClassInfo());
        return info;
    }
    const TClassInfo &ClassInfo() const override { return StaticClassInfo(); }

    using TIntegerAnimation::TIntegerAnimation;
    int ReadValue() const override { return Kind.Read(*Node()); }
    void WriteValue(int value) override { Kind.Write(*Node(), value); }
    void ApplyDefaults() override
    {
        TNodeAnimation::ApplyDefaults();
        Kind.Defaults(*this);
    }

protected:
    unsigned Aspects() const override { return Kind.Aspects; }
};

// The node's font size; its transparency (percent); its text's
// transparency (percent) and angle (degrees).
extern const TNodeValueKind kFontSizeKind;
extern const TNodeValueKind kTransparencyKind;
extern const TNodeValueKind kTextTranspKind;
extern const TNodeValueKind kTextAngleKind;
using TFontSizeAnimation = TNodeValueAnimation<kFontSizeKind>;
using TTransparencyAnimation = TNodeValueAnimation<kTransparencyKind>;
using TTextTranspAnimation = TNodeValueAnimation<kTextTranspKind>;
using TTextAngleAnimation = TNodeValueAnimation<kTextAngleKind>;

// Shows or hides the node.
class TBooleanAnimation : public TNodeAnimation
{
    DX_OBJECT(TBooleanAnimation)
public:
    using TNodeAnimation::TNodeAnimation;
    bool NewValue() const { return FNewValue; }
    void SetNewValue(bool value) { FNewValue = value; }
    void SaveValue() override;
    void TakeValuesFromNode() override;

    virtual bool ReadValue() const = 0;
    virtual void WriteValue(bool value) = 0;
    bool SavedValue() const { return FSavedValue; }

private:
    bool FNewValue = false;
    bool FSavedValue = false;
};

class TVisibleAnimation : public TBooleanAnimation
{
    DX_OBJECT(TVisibleAnimation)
public:
    using TBooleanAnimation::TBooleanAnimation;
    bool ReadValue() const override;
    void WriteValue(bool value) override;
    void Step() override;
    void StopAnimation() override;

protected:
    unsigned Aspects() const override { return naVisible; }
};

// Colours from StartColor to EndColor, channel by channel.
class TColorAnimation : public TNodeAnimation
{
    DX_OBJECT(TColorAnimation)
public:
    using TNodeAnimation::TNodeAnimation;
    TColor StartColor() const { return FStartColor; }
    void SetStartColor(TColor value) { FStartColor = value; }
    TColor EndColor() const { return FEndColor; }
    void SetEndColor(TColor value) { FEndColor = value; }

    void Step() override;
    void StartAnimation() override;
    void SaveValue() override;
    void TakeValuesFromNode() override;

    virtual TColor ReadValue() const = 0;
    virtual void WriteValue(TColor value) = 0;
    // The colour of a frame: f of the way from the start to the end colour.
    static TColor Blend(TColor start, TColor end, double f);

private:
    TColor FStartColor = clNone;
    TColor FEndColor = clNone;
    TColor FSavedValue = clNone;
};

class TNodeColorAnimation : public TColorAnimation
{
    DX_OBJECT(TNodeColorAnimation)
public:
    using TColorAnimation::TColorAnimation;
    TNodeColorKind NodeColor() const { return FNodeColor; }
    void SetNodeColor(TNodeColorKind value) { FNodeColor = value; }
    TColor ReadValue() const override;
    void WriteValue(TColor value) override;
    void ApplyDefaults() override;

protected:
    unsigned Aspects() const override;

private:
    TNodeColorKind FNodeColor = ncColor;
};

class TTextColorAnimation : public TColorAnimation
{
    DX_OBJECT(TTextColorAnimation)
public:
    using TColorAnimation::TColorAnimation;
    TColor ReadValue() const override;
    void WriteValue(TColor value) override;
    void ApplyDefaults() override;

protected:
    unsigned Aspects() const override { return naFont; }
};

// The diagram's background, grid or gradient colours. The colour
// arithmetic is that of the node colours; the diagram is the player's.
class TTreeColorAnimation : public TColorAnimation
{
    DX_OBJECT(TTreeColorAnimation)
public:
    using TColorAnimation::TColorAnimation;
    TTreeColorKind TreeColor() const { return FTreeColor; }
    void SetTreeColor(TTreeColorKind value) { FTreeColor = value; }
    bool IsActive() const override;
    TColor ReadValue() const override;
    void WriteValue(TColor value) override;
    void ApplyDefaults() override;

protected:
    unsigned Aspects() const override { return 0; }
    std::unique_ptr<TAnimatedValue> CaptureValue() const override;
    void ApplyValue(const TAnimatedValue &value) override;

private:
    TTreeColorKind FTreeColor = tcColor;
};

// The node's text typed in letter by letter; every line of it.
class TAddTextAnimation : public TNodeAnimation
{
    DX_OBJECT(TAddTextAnimation)
public:
    using TNodeAnimation::TNodeAnimation;
    void SaveValue() override;
    void StartAnimation() override;
    void Step() override;
    void ApplyDefaults() override;
    // The text being typed (all lines, joined by line breaks).
    const QString &FullText() const { return FFullText; }

protected:
    unsigned Aspects() const override { return naText; }

private:
    QString FFullText;
};

// The text scrolls in from the right edge of the node.
class TMoveTextAnimation : public TNodeAnimation
{
    DX_OBJECT(TMoveTextAnimation)
public:
    using TNodeAnimation::TNodeAnimation;
    void SaveValue() override;
    void StartAnimation() override;
    void Step() override;

protected:
    unsigned Aspects() const override { return naText; }
};

// The font grows by SizePercent until mid-time and shrinks back.
class TTextFlashAnimation : public TNodeAnimation
{
    DX_OBJECT(TTextFlashAnimation)
public:
    using TNodeAnimation::TNodeAnimation;
    int SizePercent() const { return FSizePercent; }
    void SetSizePercent(int value) { FSizePercent = value; }
    void StartAnimation() override;
    void Step() override;

protected:
    unsigned Aspects() const override { return naFont; }

private:
    int FSizePercent = 100;
    int FBaseSize = 0;
};

// The node grows about its centre by up to ZoomPercent.
class TNodeZoomAnimation : public TNodeAnimation
{
    DX_OBJECT(TNodeZoomAnimation)
public:
    using TNodeAnimation::TNodeAnimation;
    int ZoomPercent() const { return FZoomPercent; }
    void SetZoomPercent(int value) { FZoomPercent = value; }
    void SaveValue() override;
    void Step() override;
    void ApplyDefaults() override;

protected:
    unsigned Aspects() const override { return naPosition; }

private:
    int FZoomPercent = 100;
    int FLeft = 0, FTop = 0, FRight = 0, FBottom = 0;
};
