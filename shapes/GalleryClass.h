#pragma once
// Declaring gallery classes.

#include "core/ClassInfo.h"

// The class information of a class that declares no property of its own.
#define DX_PLAIN_CLASS(Class, Base)                                                                                    \
    const TClassInfo &Class::StaticClassInfo()                                                                         \
    {                                                                                                                  \
        static const TClassInfo info(#Class, &Base::StaticClassInfo());                                               \
        return info;                                                                                                   \
    }
