#pragma once
// Declaring gallery classes.

#include "core/ClassInfo.h"

class TComponent;

// The class information of a class that declares no property of its own.
#define DX_PLAIN_CLASS(Class, Base)                                                                                    \
    const TClassInfo &Class::StaticClassInfo()                                                                         \
    {                                                                                                                  \
        static const TClassInfo info(#Class, &Base::StaticClassInfo());                                               \
        return info;                                                                                                   \
    }

// A gallery class that is its base under a name of its own: files and the
// palette know it by PublishedName, its base is made with the owner
// followed by the constants Args (an arrow's direction, say), and
// everything else it takes from Base. Classes that differ only so are
// aliases of it:
//
//   namespace ClassNames { inline constexpr char TArrowUpShape[] = "TArrowUpShape"; }
//   using TArrowUpShape =
//       TNamedShape<ClassNames::TArrowUpShape, TTreeCustomArrowShape, TTreeCustomArrowShape::adUp>;
template <const char *PublishedName, class Base, auto... Args>
class TNamedShape : public Base
{
public:
    explicit TNamedShape(TComponent *owner = nullptr) : Base(owner, Args...) {}

    static const TClassInfo &StaticClassInfo()
    {
        static const TClassInfo info(PublishedName, &Base::StaticClassInfo());
        return info;
    }
    const TClassInfo &ClassInfo() const override { return StaticClassInfo(); }
};
