#pragma once
// Gradient data: two or three colours laid out in a direction. Painting is
// done by the canvas (PaintGradient, BandFill).

#include "canvas/CanvasTypes.h"
#include "canvas/GraphicsObject.h"
#include "core/Colors.h"

class TKorCanvas;

DX_ENUM(TGradientDirection, gdTopBottom, gdBottomTop, gdLeftRight, gdRightLeft, gdFromCenter, gdFromTopLeft,
        gdFromBottomLeft)

class TCustomKorGradient : public TGraphicsObject
{
    DX_OBJECT(TCustomKorGradient)
public:
    TCustomKorGradient() = default;
    explicit TCustomKorGradient(TEvent<TGraphicsObject *> onChange) { OnChange = std::move(onChange); }

    bool Visible() const { return FVisible; }
    void SetVisible(bool v) { Update(FVisible, v); }
    TGradientDirection Direction() const { return FDirection; }
    void SetDirection(TGradientDirection v) { Update(FDirection, v); }
    TColor StartColor() const { return FStartColor; }
    void SetStartColor(TColor v) { Update(FStartColor, v); }
    TColor EndColor() const { return FEndColor; }
    void SetEndColor(TColor v) { Update(FEndColor, v); }
    // The middle colour: clNone while there is none. Setting clNone only
    // clears the has-middle flag; the stored colour comes back when a
    // colour is set again.
    TColor MidColor() const { return FHasMidColor ? FMidColor : clNone; }
    void SetMidColor(TColor v);
    bool HasMidColor() const { return FHasMidColor; }
    // The middle colour kept while there is none (clNone when none was
    // ever set); setting it again brings the middle colour back.
    TColor StoredMidColor() const { return FMidColor; }

    void Assign(const TPersistent *source) override;

    // Paints the gradient into a rectangle of a canvas; a positive round
    // size limits it to a rectangle with corners rounded by ellipses of
    // that width and height. A monochrome canvas gets the colours' greys.
    void PaintGradient(TKorCanvas *canvas, const TRect &rect, int roundSize = 0) const;

protected:
    virtual bool CopyFields(const TCustomKorGradient &source);

private:
    bool FVisible = false;
    bool FHasMidColor = false;
    TGradientDirection FDirection = gdTopBottom;
    TColor FStartColor = clWhite;
    TColor FEndColor = clYellow;
    TColor FMidColor = clNone;
};

class TKorGradient : public TCustomKorGradient
{
    DX_OBJECT(TKorGradient)
public:
    using TCustomKorGradient::TCustomKorGradient;
};

// The gradient of a font: Outline paints the widened outline of the glyphs
// instead of their interior.
class TKorFontGradient : public TKorGradient
{
    DX_OBJECT(TKorFontGradient)
public:
    using TKorGradient::TKorGradient;

    bool Outline() const { return FOutline; }
    void SetOutline(bool v) { Update(FOutline, v); }

protected:
    bool CopyFields(const TCustomKorGradient &source) override;

private:
    bool FOutline = false;
};
