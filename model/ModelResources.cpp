#include "model/ModelResources.h"

#include <QtGlobal>

void InitModelResources()
{
    // Q_INIT_RESOURCE must be used outside any namespace; the function-local
    // static makes the registration happen once, also across threads.
    static const bool registered = [] {
        Q_INIT_RESOURCE(images);
        return true;
    }();
    Q_UNUSED(registered);
}
