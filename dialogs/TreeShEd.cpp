#include "dialogs/TreeShEd.h"
