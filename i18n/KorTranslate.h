#pragma once
// Translation of forms and messages.
//
// English is built in: forms are made in English and every message text
// starts out English. Another language is applied in two ways at once:
// its setters assign translated texts to the message texts they know (by
// id, core/Messages.h), and its translation table, made active, translates
// the texts of every form when the form is shown (TranslateForm).
//
// A table holds lines "KEY=Translation"; the key is the English text in
// upper case without its hotkey mark, trailing colon and trailing three
// dots ("&Save as...:" looks up "SAVE AS"). A language's table is built
// from up to three layers of its data (KorLanguages.h): the shared editor
// vocabulary, the application's and the diagram's; each of the last two is
// appended only when the table does not hold one of its keys yet.
//
//   ApplyLanguage(ReadStoredLanguage(), false);  // at start
//   TranslateForm(this);                         // in a dialog's showEvent

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

class QLocale;
class QObject;
class QWidget;

// Language numbers (the stored value).
enum TLanguageNumber {
    lnEnglish = 0,
    lnBrazilian = 1,
    lnCatalan = 2,
    lnChineseSimp = 3,
    lnChineseTrad = 4,
    lnDanish = 5,
    lnDutch = 6,
    lnFrench = 7,
    lnGerman = 8,
    lnItalian = 9,
    lnPortuguese = 10,
    lnRussian = 11,
    lnSpanish = 12,
    lnSwedish = 13,
    lnNorwegian = 14,
    lnJapanese = 15,
    lnPolish = 16,
    lnSlovene = 17,
    lnTurkish = 18,
    lnHungarian = 19,
    lnGalician = 20,
};
// Nothing stored.
constexpr int kNoStoredLanguage = -1;
// A locale the program has no language for.
constexpr int kUnmappedLanguage = 255;

// One language's table: lines in the order they were appended; the first
// line with a key wins.
class TTranslationTable
{
public:
    // Appends the lines of a layer ("KEY=Text" each; lines without "=" are
    // kept but never match).
    void Append(const QStringList &lines);
    // The text after the first "=" of the first line whose key equals
    // `key` exactly; empty when there is none.
    QString Lookup(const QString &key) const { return FFirst.value(key); }
    bool Contains(const QString &key) const { return FFirst.contains(key); }
    const QStringList &Lines() const { return FLines; }

private:
    QStringList FLines;
    QHash<QString, QString> FFirst;
};

// The table in use; null while English is active.
const TTranslationTable *ActiveTable();
// The number of the language whose table is active (lnEnglish for none).
int ActiveLanguage();
// On: a translated caption gets its hotkey as "(&F)" after the text; off:
// on the first free letter or digit of the translation.
bool HotkeyStyle();

// The key a caption is looked up by: hotkey marks removed, ASCII letters
// upper-cased, a trailing ":" and then a trailing "..." removed.
QString TranslationKey(const QString &text);

// A caption as plain text: "(&F)" after the text and hotkey marks removed,
// "&&" read as "&" ("Open with &Dendrix" gives "Open with Dendrix").
QString StripHotkey(const QString &text);

// Replaces `text` by its translation in the active table and answers
// whether it did. Hotkeys taken go into `usedHotkeys` (one string per form).
// "?", "%", "0", blank texts and texts without translation stay as they are.
bool TranslateText(QString &text, QString &usedHotkeys);

// Translates a form's caption and the texts of the controls, menus,
// actions, items, tabs and hints it holds, in the order they were made;
// nothing while English is active. Every dialog calls it on itself when it
// is shown; calling it again translates only what was added since.
// Dialogs the form holds translate themselves, and an object with the
// property kNoTranslateProperty set (file names, font names) is passed by
// with all it holds.
void TranslateForm(QWidget *form);
extern const char *const kNoTranslateProperty;

// Every text TranslateForm looks up on a form, in its order and as the
// form shows it now, whatever language is active; the form is left as it
// is. (Whether a language covers a window starts from here.)
QStringList FormTexts(QWidget *form);

// A control with texts of its own beyond the kinds TranslateForm knows
// (a grid's column headers, say) implements this; TranslateForm calls it.
class TTranslatableControl
{
public:
    virtual ~TTranslatableControl() = default;
    // Calls `translate` on each of its texts, in order, and keeps the
    // results that come back true.
    virtual void TranslateTexts(const std::function<bool(QString &)> &translate) = 0;
};

// ---- Choosing and applying a language
// Runs the language's setters: at start (askedByUser false) a number from
// 1 to 20 applies that language and anything else leaves English; from the
// menu (true) anything outside 1..20 applies English. Applying a language
// again reuses its table.
void ApplyLanguage(int number, bool askedByUser);
// Start-up: the stored language, or the one the locale maps to when none
// is stored; nothing is written.
void ApplyLanguageAtStart();

// The stored language, kNoStoredLanguage when none is stored or the value
// cannot be read as a number. Writing creates the setting; a store that
// cannot be written is skipped.
int ReadStoredLanguage();
void WriteStoredLanguage(int number);

// The language a Windows language identifier (0x0C0A for Spanish) maps to
// at start, kUnmappedLanguage for the others; and the identifier of the
// user's locale.
int LanguageOfLocaleId(int localeId);
int UserLocaleId();
// The identifier of a locale; 0 for a language the program has none for.
int LocaleIdOf(const QLocale &locale);

// What choosing a language from the menu leads to.
enum TLanguageChoice {
    lcCancelled,   // the dialog was cancelled
    lcRestart,     // the new language needs a restart (a table was active before, or English was chosen)
    lcTranslateNow // English to another language: translate the open windows now
};
// Shows the language dialog (TAskLanguage) and applies the chosen language.
TLanguageChoice ChooseLanguage(QWidget *parent);

// Drops every table and makes English active again, with the English
// message texts (tests start from here).
void ResetLanguages();
