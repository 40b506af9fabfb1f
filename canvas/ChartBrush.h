#pragma once
// Brushes: the platform brush's colour and style, and the chart brush whose
// colour defaults to "take it from the owner" and which may fill with a
// repeating picture instead of its style.

#include "canvas/GraphicsObject.h"
#include "canvas/Picture.h"
#include "core/Colors.h"

#include <memory>

DX_ENUM(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross)

class TBrush : public TGraphicsObject
{
    DX_OBJECT(TBrush)
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { Update(FColor, v); }
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle v) { Update(FStyle, v); }

    void Assign(const TPersistent *source) override;

protected:
    virtual bool CopyFields(const TBrush &source);
    TColor FColor = clWhite;

private:
    TBrushStyle FStyle = bsSolid;
};

class TChartBrush : public TBrush
{
    DX_OBJECT(TChartBrush)
public:
    TChartBrush() { FColor = clDefault; }
    explicit TChartBrush(TEvent<TGraphicsObject *> onChange) : TChartBrush() { OnChange = std::move(onChange); }
    ~TChartBrush() override;

    // The pattern picture, created on first use; PeekImage never creates it.
    TPicture *Image();
    TPicture *PeekImage() const { return FImage.get(); }
    // Copies a picture into the brush's own; null frees it.
    void SetImage(const TPicture *picture);
    // True when the brush fills with a picture (its style is then ignored).
    bool HasImage() const { return FImage && FImage->HasGraphic(); }

protected:
    bool CopyFields(const TBrush &source) override;

private:
    std::unique_ptr<TPicture> FImage;
};
