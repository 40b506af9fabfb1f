#pragma once
// Translation of forms and messages.

class QWidget;

// Translates a form's caption and the texts of the controls, menus and
// hints it holds through the active translation table; nothing while
// English is active. Every dialog calls it on itself when it is shown.
void TranslateForm(QWidget *form);
