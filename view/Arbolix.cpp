#include "view/Arbolix.h"
