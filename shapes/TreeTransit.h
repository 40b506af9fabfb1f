#pragma once
// The transit gallery (palette page "Transit"): road signs with their
// colours and words: a stop sign (an octagon that keeps itself square), a
// yield triangle, and slow and danger diamonds.

#include "shapes/FigureShapes.h"

// The base of the signs: no outline of its own.
class TTransitShape : public TCustomTreeShape
{
    DX_OBJECT(TTransitShape)
public:
    explicit TTransitShape(TComponent *owner = nullptr) : TCustomTreeShape(owner) {}
};

// A red octagon with "STOP" in white bold letters, always square and a
// tenth wider than its text needs.
class TStopShape : public TOctagonShape
{
    DX_OBJECT(TStopShape)
public:
    explicit TStopShape(TComponent *owner = nullptr);
    // A sign that comes with its word keeps it cleared through a file.
    void DefineProperties(TFiler &filer) override;
    void CalcSize(TKorCanvas *canvas) override;
};

// A yellow triangle pointing down with "YIELD".
class TYieldShape : public TTransitShape
{
    DX_OBJECT(TYieldShape)
public:
    explicit TYieldShape(TComponent *owner = nullptr);
    // A sign that comes with its word keeps it cleared through a file.
    void DefineProperties(TFiler &filer) override;
};

// A yellow diamond with "SLOW" in bold letters.
class TSlowShape : public TTransitShape
{
    DX_OBJECT(TSlowShape)
public:
    explicit TSlowShape(TComponent *owner = nullptr);
    // A sign that comes with its word keeps it cleared through a file.
    void DefineProperties(TFiler &filer) override;
};

// A red diamond with "DANGER" in white letters.
class TDangerShape : public TTransitShape
{
    DX_OBJECT(TDangerShape)
public:
    explicit TDangerShape(TComponent *owner = nullptr);
    // A sign that comes with its word keeps it cleared through a file.
    void DefineProperties(TFiler &filer) override;
};

// Registers the page's classes with the shape palette, in palette order,
// and the signs' base for files. Registering again changes nothing.
void RegisterTransitShapes();
