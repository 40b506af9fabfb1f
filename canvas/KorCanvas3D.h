#pragma once
// The canvas: one abstract drawing surface for the screen, off-screen
// bitmaps, printers and recording canvases. Every picture goes through its
// virtual operations, never through a QPainter directly.
//
// TKorCanvas is the 2D layer, TCanvas3D adds the projection, TKorCanvas3D
// draws through a QPainter. A canvas that is not attached to a painter
// still measures text (at screen resolution), which the model uses for
// automatic node sizes.

#include "canvas/ChartBrush.h"
#include "canvas/ChartPen.h"
#include "canvas/KorFont.h"

#include <QFont>
#include <QString>
#include <memory>

class QPainter;
class QPaintDevice;

class TKorCanvas
{
public:
    virtual ~TKorCanvas();

    // Realises a font: it becomes the font of TextOut, TextWidth and
    // TextHeight (with its shadow, outline and gradient).
    virtual void AssignFont(const TKorFont *font) = 0;
    // Width of a string in the current font plus the absolute horizontal
    // shadow size of the current font; 0 when it cannot be measured.
    virtual int TextWidth(const QString &text) = 0;
    // Height of a string plus the absolute vertical shadow size.
    virtual int TextHeight(const QString &text) = 0;
};

class TCanvas3D : public TKorCanvas
{
};

class TKorCanvas3D : public TCanvas3D
{
public:
    TKorCanvas3D();
    ~TKorCanvas3D() override;

    // Makes a painter the target (null detaches; the canvas then measures
    // at screen resolution).
    void Attach(QPainter *painter);
    QPainter *Painter() const { return FPainter; }

    void AssignFont(const TKorFont *font) override;
    int TextWidth(const QString &text) override;
    int TextHeight(const QString &text) override;

    // The font in force as the target sees it.
    const QFont &CurrentQFont() const { return FQFont; }

private:
    QPaintDevice *MeasureDevice() const;

    QPainter *FPainter = nullptr;
    QFont FQFont;
    int FShadowH = 0;
    int FShadowV = 0;
    int FInterChar = 0;
};
