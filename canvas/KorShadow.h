#pragma once
// A shadow: colour and offsets. Negative offsets put it left of or above
// what casts it.

#include "canvas/CanvasTypes.h"
#include "canvas/GraphicsObject.h"
#include "core/Colors.h"

class TKorShadow : public TGraphicsObject
{
    DX_OBJECT(TKorShadow)
public:
    TKorShadow() = default;
    explicit TKorShadow(TEvent<TGraphicsObject *> onChange) { OnChange = std::move(onChange); }

    TColor Color() const { return FColor; }
    void SetColor(TColor v) { Update(FColor, v); }
    int HorizSize() const { return FHorizSize; }
    // Sizes stay within the coordinate range (CanvasTypes.h).
    void SetHorizSize(int v) { Update(FHorizSize, ClampCoord(v)); }
    int VertSize() const { return FVertSize; }
    void SetVertSize(int v) { Update(FVertSize, ClampCoord(v)); }

    // True when either offset is not zero (there is something to draw).
    bool HasSize() const { return FHorizSize != 0 || FVertSize != 0; }

    void Assign(const TPersistent *source) override;

private:
    TColor FColor = clSilver;
    int FHorizSize = 0;
    int FVertSize = 0;
};
