#include "dbtree/KorDBTre.h"

#include "core/ClassRegistry.h"

const TClassInfo &TDBTree::StaticClassInfo()
{
    static const TClassInfo info("TDBTree", &TTree::StaticClassInfo());
    return info;
}

void RegisterDBTreeClasses()
{
    RegisterViewClasses();
    RegisterClass<TDBTree>();
}
