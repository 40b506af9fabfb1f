#include "i18n/KorTranslate.h"
