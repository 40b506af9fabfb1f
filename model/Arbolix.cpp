#include "model/Arbolix.h"

#include "core/ClassRegistry.h"

void RegisterModelClasses()
{
    static const bool registered = [] {
        RegisterClass<TTreeNodeShape>();
        RegisterClass<TTextShape>();
        RegisterClass<TTreeConnection>();
        RegisterStandardShapes();
        return true;
    }();
    (void)registered;
}
