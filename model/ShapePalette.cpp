#include "model/ShapePalette.h"

#include "model/CustomTreeShape.h"
#include "model/ImageShape.h"
#include "model/PolygonShape.h"

#include <algorithm>

namespace {

std::vector<TTreeCustomShapePalette> &List()
{
    static std::vector<TTreeCustomShapePalette> list;
    return list;
}

} // namespace

TTreeNodeShape *TTreeCustomShapePalette::CreateShape(TComponent *owner) const
{
    TComponent *created = Factory ? Factory(owner) : nullptr;
    auto *shape = dynamic_cast<TTreeNodeShape *>(created);
    if (!shape)
        delete created;
    return shape;
}

bool AddPaletteShape(const QString &page, const QString &name, const TClassInfo &shapeClass,
                     TComponentFactory factory)
{
    if (!shapeClass.InheritsFrom(TTreeNodeShape::StaticClassInfo()) || !factory)
        return false;
    if (FindPaletteShape(shapeClass))
        return false;
    TClassRegistry::Instance().Register(shapeClass, factory);
    List().push_back({page, name, &shapeClass, std::move(factory)});
    return true;
}

void RemovePaletteShapes(const std::vector<const TClassInfo *> &classes)
{
    auto &list = List();
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&classes](const TTreeCustomShapePalette &entry) {
                                  return std::find(classes.begin(), classes.end(), entry.ShapeClass) !=
                                         classes.end();
                              }),
               list.end());
}

void RemovePaletteShapes(std::initializer_list<const TClassInfo *> classes)
{
    RemovePaletteShapes(std::vector<const TClassInfo *>(classes));
}

const std::vector<TTreeCustomShapePalette> &PaletteShapes()
{
    return List();
}

const TTreeCustomShapePalette *FindPaletteShape(const TClassInfo &shapeClass)
{
    for (const TTreeCustomShapePalette &entry : List())
        if (entry.ShapeClass == &shapeClass)
            return &entry;
    return nullptr;
}

void ForEachPaletteShape(const std::function<void(const TTreeCustomShapePalette &)> &proc)
{
    const std::vector<TTreeCustomShapePalette> snapshot = List();
    for (const TTreeCustomShapePalette &entry : snapshot)
        proc(entry);
}

void RegisterStandardShapes()
{
    RegisterClass<TCustomTreeShape>();
    RegisterClass<TTreeCustomPolygonShape>();
    const QString page = QStringLiteral("Standard");
    AddPaletteShape<TPolygonShape>(page, QStringLiteral("Polygon"));
    AddPaletteShape<TPolyLineShape>(page, QStringLiteral("PolyLine"));
    AddPaletteShape<TImageShape>(page, QStringLiteral("Image"));
    AddPaletteShape<TTextShape>(page, QStringLiteral("Text"));
}
