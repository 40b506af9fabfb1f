#include "canvas/CanvasResources.h"

#include <QtGlobal>

void InitCanvasResources()
{
    // Q_INIT_RESOURCE must be used outside any namespace; the function-local
    // static makes the registration happen once, also across threads.
    static const bool registered = [] {
        Q_INIT_RESOURCE(patterns);
        return true;
    }();
    Q_UNUSED(registered);
}
