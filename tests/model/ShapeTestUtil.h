// Shared pieces of the custom shape tests.

#pragma once

#include "model/Arbolix.h"

// A regular pentagon turned so that a vertex points up, as a gallery would
// make one.
class TTestPentagon : public TTreeCustomPolygonShape
{
    DX_OBJECT(TTestPentagon)
public:
    explicit TTestPentagon(TComponent *owner = nullptr) : TTreeCustomPolygonShape(owner, 5) { SetAngleOffset(18); }
};

inline const TClassInfo &TTestPentagon::StaticClassInfo()
{
    static const TClassInfo info("TTestPentagon", &TTreeCustomPolygonShape::StaticClassInfo());
    return info;
}
