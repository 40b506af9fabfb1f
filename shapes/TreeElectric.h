#pragma once
// The electric gallery (palette page "Electric"): circuit symbols drawn as
// strokes over the node's bounds (resistors, fuse, capacitor, diode,
// ground, source, chassis), the two logic gates with outlines of their own
// and the lamp, an octagon with a cross.

#include "shapes/FigureShapes.h"

// The base of the symbols: no outline of its own.
class TElectricShape : public TCustomTreeShape
{
    DX_OBJECT(TElectricShape)
public:
    explicit TElectricShape(TComponent *owner = nullptr) : TCustomTreeShape(owner) {}
};

// A zig-zag between two leads an eighth of the width long.
class TResistorShape : public TElectricShape
{
    DX_OBJECT(TResistorShape)
public:
    explicit TResistorShape(TComponent *owner = nullptr) : TElectricShape(owner) {}
    void DrawShape(TKorCanvas3D *canvas, const TRect &r) override;
};

// A box half the width wide between two leads.
class TSolidResistorShape : public TElectricShape
{
    DX_OBJECT(TSolidResistorShape)
public:
    explicit TSolidResistorShape(TComponent *owner = nullptr) : TElectricShape(owner) {}
    void DrawShape(TKorCanvas3D *canvas, const TRect &r) override;
};

// The solid resistor with the wire running through it.
class TFuseShape : public TSolidResistorShape
{
    DX_OBJECT(TFuseShape)
public:
    explicit TFuseShape(TComponent *owner = nullptr) : TSolidResistorShape(owner) {}
    void DrawShape(TKorCanvas3D *canvas, const TRect &r) override;
};

// Two plates at most 4 pixels apart between two leads.
class TCapacitorShape : public TElectricShape
{
    DX_OBJECT(TCapacitorShape)
public:
    explicit TCapacitorShape(TComponent *owner = nullptr) : TElectricShape(owner) {}
    void DrawShape(TKorCanvas3D *canvas, const TRect &r) override;
};

// A bar and a filled triangle pointing at it, between two leads.
class TDiodeShape : public TElectricShape
{
    DX_OBJECT(TDiodeShape)
public:
    explicit TDiodeShape(TComponent *owner = nullptr) : TElectricShape(owner) {}
    void DrawShape(TKorCanvas3D *canvas, const TRect &r) override;
};

// A lead down to three shortening bars.
class TGroundShape : public TElectricShape
{
    DX_OBJECT(TGroundShape)
public:
    explicit TGroundShape(TComponent *owner = nullptr) : TElectricShape(owner) {}
    void DrawShape(TKorCanvas3D *canvas, const TRect &r) override;
};

// A circle between two leads, with a plus above and a minus below.
class TSourceShape : public TElectricShape
{
    DX_OBJECT(TSourceShape)
public:
    explicit TSourceShape(TComponent *owner = nullptr) : TElectricShape(owner) {}
    void DrawShape(TKorCanvas3D *canvas, const TRect &r) override;
};

// A lead down to a black box hatched underneath.
class TChasisShape : public TElectricShape
{
    DX_OBJECT(TChasisShape)
public:
    explicit TChasisShape(TComponent *owner = nullptr);
    void DrawShape(TKorCanvas3D *canvas, const TRect &r) override;
};

// A concave back and a pointed front.
class TOrGateShape : public TElectricShape
{
    DX_OBJECT(TOrGateShape)
public:
    explicit TOrGateShape(TComponent *owner = nullptr) : TElectricShape(owner) {}
    int GetShapePoints(const TRect &r, TPointArray &points) const override;
};

// A D: flat on the left, a half ellipse as wide as the node on the right.
class TAndGateShape : public TElectricShape
{
    DX_OBJECT(TAndGateShape)
public:
    explicit TAndGateShape(TComponent *owner = nullptr) : TElectricShape(owner) {}
    int GetShapePoints(const TRect &r, TPointArray &points) const override;
};

// A yellow octagon crossed by two diagonals.
class TLampShape : public TOctagonShape
{
    DX_OBJECT(TLampShape)
public:
    explicit TLampShape(TComponent *owner = nullptr);
    void DrawShape(TKorCanvas3D *canvas, const TRect &r) override;
};

// Registers the page's classes with the shape palette, in palette order,
// and the symbols' base for files. Registering again changes nothing.
void RegisterElectricShapes();
