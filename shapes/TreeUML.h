#pragma once
// The UML gallery (palette page "UML"): packages, classes and interfaces
// with their compartment lines, actions, actors, procedures, notes and
// stores. Most are strokes over the node's bounds; the package, the action
// and the note give an outline of their own.

#include "model/CustomTreeShape.h"

// A rectangle whose text starts at the top and that shows no image.
class TUMLRectangle : public TTreeNodeShape
{
    DX_OBJECT(TUMLRectangle)
public:
    explicit TUMLRectangle(TComponent *owner = nullptr);
    TVertTextAlign DefaultVertAlign() const override { return vtaTop; }
};

// A folder: a tab a third of the width wide and a quarter of the height
// high on the top-left of a box.
class TPackageShape : public TCustomTreeShape
{
    DX_OBJECT(TPackageShape)
public:
    explicit TPackageShape(TComponent *owner = nullptr) : TCustomTreeShape(owner) {}
    int GetShapePoints(const TRect &r, TPointArray &points) const override;
    void DrawShape(TKorCanvas3D *canvas, const TRect &r) override;
};

// A class box: its name (the text) above a line, the attributes' and the
// operations' compartments below.
class TClassShape : public TUMLRectangle
{
    DX_OBJECT(TClassShape)
public:
    explicit TClassShape(TComponent *owner = nullptr) : TUMLRectangle(owner) {}
    void DrawShape(TKorCanvas3D *canvas, const TRect &r) override;
};

// An interface: only the line under its name.
class TInterfaceShape : public TUMLRectangle
{
    DX_OBJECT(TInterfaceShape)
public:
    explicit TInterfaceShape(TComponent *owner = nullptr) : TUMLRectangle(owner) {}
    void DrawShape(TKorCanvas3D *canvas, const TRect &r) override;
};

// An action: a bar with half-round ends a sixth of the width deep.
class TActionShape : public TCustomTreeShape
{
    DX_OBJECT(TActionShape)
public:
    explicit TActionShape(TComponent *owner = nullptr) : TCustomTreeShape(owner) {}
    int GetShapePoints(const TRect &r, TPointArray &points) const override;
};

// A stick figure filling the bounds.
class TActorShape : public TCustomTreeShape
{
    DX_OBJECT(TActorShape)
public:
    explicit TActorShape(TComponent *owner = nullptr) : TCustomTreeShape(owner) {}
    void DrawShape(TKorCanvas3D *canvas, const TRect &r) override;
};

// A circle with a lollipop stem on its left, outside the bounds.
class TProcShape : public TCustomTreeShape
{
    DX_OBJECT(TProcShape)
public:
    explicit TProcShape(TComponent *owner = nullptr);
    void DrawShape(TKorCanvas3D *canvas, const TRect &r) override;
};

// A sheet with its top-right corner folded a tenth of the width and
// height.
class TNoteShape : public TCustomTreeShape
{
    DX_OBJECT(TNoteShape)
public:
    explicit TNoteShape(TComponent *owner = nullptr) : TCustomTreeShape(owner) {}
    int GetShapePoints(const TRect &r, TPointArray &points) const override;
    void DrawShape(TKorCanvas3D *canvas, const TRect &r) override;
};

// A circle standing on a short line, below the bounds.
class TStoreShape : public TCustomTreeShape
{
    DX_OBJECT(TStoreShape)
public:
    explicit TStoreShape(TComponent *owner = nullptr);
    void DrawShape(TKorCanvas3D *canvas, const TRect &r) override;
};

// Registers the page's classes with the shape palette, in palette order,
// and the rectangle base for files. Registering again changes nothing.
void RegisterUMLShapes();
