#include "dbtree/KorDBTre.h"
