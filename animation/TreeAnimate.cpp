#include "animation/TreeAnimate.h"
