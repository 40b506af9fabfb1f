#pragma once
// Fonts: the platform font's attributes (colour, character set, height,
// name, pitch, style) and the program's font with inter-character spacing,
// glyph outline, text shadow and glyph gradient.

#include "canvas/ChartPen.h"
#include "canvas/GraphicsObject.h"
#include "canvas/KorGradient.h"
#include "canvas/KorShadow.h"
#include "core/Colors.h"
#include "core/NameTables.h"

#include <QFont>
#include <memory>

DX_ENUM(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
using TFontStyles = TSetBits;
DX_ENUM(TFontPitch, fpDefault, fpVariable, fpFixed)

class TFont : public TGraphicsObject
{
    DX_OBJECT(TFont)
public:
    TFont();

    TColor Color() const { return FColor; }
    void SetColor(TColor v) { Update(FColor, v); }
    int Charset() const { return FCharset; }
    void SetCharset(int v) { Update(FCharset, static_cast<TFontCharset>(v)); }
    // Height in pixels: negative values give the character height (without
    // internal leading), as the platform's fonts do. Within the coordinate
    // range (CanvasTypes.h): text sizes make node sizes.
    int Height() const { return FHeight; }
    void SetHeight(int v) { Update(FHeight, ClampCoord(v)); }
    const QString &Name() const { return FName; }
    void SetName(const QString &v) { Update(FName, v); }
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch v) { Update(FPitch, v); }
    // Size in points: -Height * 72 / PixelsPerInch, rounded.
    int Size() const;
    void SetSize(int points);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles v) { Update(FStyle, v); }
    bool IsBold() const { return FStyle & SetBit(fsBold); }
    bool IsItalic() const { return FStyle & SetBit(fsItalic); }

    int PixelsPerInch() const { return FPixelsPerInch; }
    // Changes the resolution keeping the size in points.
    void SetPixelsPerInch(int ppi);

    // A QFont with these attributes (pixel size from Height).
    QFont ToQFont() const;

    void Assign(const TPersistent *source) override;

    static constexpr int kScreenPixelsPerInch = 96;

protected:
    virtual bool CopyFields(const TFont &source);

private:
    QString FName;
    TColor FColor = clBlack;
    int FHeight = 0;
    int FPixelsPerInch = kScreenPixelsPerInch;
    TFontStyles FStyle = 0;
    TFontCharset FCharset = DEFAULT_CHARSET;
    TFontPitch FPitch = fpDefault;
};

class TKorFont : public TFont
{
    DX_OBJECT(TKorFont)
public:
    TKorFont();
    explicit TKorFont(TEvent<TGraphicsObject *> onChange) : TKorFont() { OnChange = std::move(onChange); }
    ~TKorFont() override;

    // Extra pixels between characters.
    int InterCharSize() const { return FInterCharSize; }
    void SetInterCharSize(int v) { Update(FInterCharSize, v); }

    // Sub-objects created on first use; the Peek forms never create them.
    TChartHiddenPen *OutLine();
    TChartHiddenPen *PeekOutLine() const { return FOutLine.get(); }
    TKorShadow *Shadow();
    TKorShadow *PeekShadow() const { return FShadow.get(); }
    TKorFontGradient *Gradient();
    TKorFontGradient *PeekGradient() const { return FGradient.get(); }
    void SetOutLine(const TChartPen *pen);
    void SetShadow(const TKorShadow *shadow);
    void SetGradient(const TKorFontGradient *gradient);

    // The shadow offsets when a shadow exists, else 0.
    int ShadowHorizSize() const { return FShadow ? FShadow->HorizSize() : 0; }
    int ShadowVertSize() const { return FShadow ? FShadow->VertSize() : 0; }

    // The defaults: "Arial", 8 points. On a Japanese system the size comes
    // from the system's default font and the name is "MS Sans Serif".
    static constexpr int kDefaultSize = 8;
    static QString DefaultName();
    static int DefaultSize();

protected:
    bool CopyFields(const TFont &source) override;

private:
    void SubChanged(TGraphicsObject *) { Changed(); }

    int FInterCharSize = 0;
    std::unique_ptr<TChartHiddenPen> FOutLine;
    std::unique_ptr<TKorShadow> FShadow;
    std::unique_ptr<TKorFontGradient> FGradient;
};
