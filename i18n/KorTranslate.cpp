#include "i18n/KorTranslate.h"

void TranslateForm(QWidget *form)
{
    // English needs no table: the forms are made in English.
    (void)form;
}
