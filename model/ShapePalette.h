#pragma once
// The shape palette: every node class a gallery offers, with the palette
// page it goes on and its display name, in the order the classes were
// registered. The editor's tool palette is built from it (one page per
// distinct page caption, buttons in list order), and registering a class
// here also lets diagram files name it.
//
//   AddPaletteShape<TPolygonShape>(QStringLiteral("Standard"), QStringLiteral("Polygon"));
//   ForEachPaletteShape([](const TTreeCustomShapePalette &entry) { ... });

#include "core/ClassRegistry.h"
#include "model/TreeNodeShape.h"

#include <functional>
#include <initializer_list>
#include <type_traits>
#include <vector>

// One palette record.
struct TTreeCustomShapePalette
{
    QString Page;                    // the palette page caption
    QString Name;                    // the shape's display name
    const TClassInfo *ShapeClass = nullptr;
    TComponentFactory Factory;       // creates an instance of ShapeClass

    // A new shape of the class, owned by `owner` (by the caller when null).
    TTreeNodeShape *CreateShape(TComponent *owner = nullptr) const;
};

// Appends a record for a node class unless the class has one already (the
// first registration wins; the call then answers false), and registers the
// class for files. Classes that are not node shapes are refused.
bool AddPaletteShape(const QString &page, const QString &name, const TClassInfo &shapeClass,
                     TComponentFactory factory);
template <class T>
bool AddPaletteShape(const QString &page, const QString &name)
{
    static_assert(std::is_base_of_v<TTreeNodeShape, T>, "palette shapes are node shapes");
    return AddPaletteShape(page, name, T::StaticClassInfo(),
                           [](TComponent *owner) -> TComponent * { return new T(owner); });
}

// Removes the record of each listed class that has one.
void RemovePaletteShapes(std::initializer_list<const TClassInfo *> classes);
void RemovePaletteShapes(const std::vector<const TClassInfo *> &classes);

// The records in list order.
const std::vector<TTreeCustomShapePalette> &PaletteShapes();
// The record of a class, or null.
const TTreeCustomShapePalette *FindPaletteShape(const TClassInfo &shapeClass);
// Calls `proc` for every record in list order. The list may change while
// it runs (records added or removed); the walk covers the records there
// were when it started.
void ForEachPaletteShape(const std::function<void(const TTreeCustomShapePalette &)> &proc);

// Registers the classes of the "Standard" page: "Polygon", "PolyLine",
// "Image" and "Text", in that order, and the bases of the gallery shapes
// for files.
void RegisterStandardShapes();
