#include "model/Arbolix.h"

void RegisterModelClasses()
{
}
