#pragma once
// The languages and their data. Each language other than English has a
// folder of UTF-8 text files, compiled into the program as resources
// (":/dendrix/i18n/<folder>/"), any of which may be missing:
//
//   editor.txt                the shared editor vocabulary (layer 1)
//   application.txt           the application's vocabulary (layer 2)
//   diagram.txt               the diagram's vocabulary (layer 3)
//       lines "KEY=Translation"
//   messages-application.txt  message texts of each set,
//   messages-editor.txt       lines "SMessageId=Translated text";
//   messages-diagram.txt      "\n" in a text stands for a line break and
//   messages-base.txt         "\\" for a backslash
//
// Blank lines and lines starting with "#" are comments. A language is
// offered once its folder holds editor.txt, so adding one needs no code.

#include <QString>
#include <QStringList>
#include <vector>

struct TLanguageInfo
{
    int Number;
    const char *Name;   // as the language dialog shows it
    const char *Folder; // of its data
    bool HotkeyStyle;   // hotkeys as "(&F)" after the text
};

// Every language the program knows, in the language dialog's order.
const std::vector<TLanguageInfo> &Languages();
// Null for a number no language has.
const TLanguageInfo *FindLanguage(int number);
// English, and each language whose data is present.
bool LanguageAvailable(int number);
// The language dialog's entries, "Name,Number" ("English,0").
QStringList LanguageEntries();

// The message sets, each assigned by its own setter.
enum TMessageSet { msApplication, msEditor, msDiagram, msBase };
constexpr int kMessageSetCount = 4;
// The layers of a table.
enum TVocabularyLayer { vlEditor, vlApplication, vlDiagram };

// Where the data is read from: the compiled-in resources, or another folder
// of the same layout (tests).
QString LanguageDataRoot();
void SetLanguageDataRoot(const QString &root);
QString MessageSetFileName(TMessageSet set);
QString LayerFileName(TVocabularyLayer layer);

// A data file of a language split into its lines, comments dropped;
// `exists` tells whether the file is there.
QStringList ReadLanguageFile(int number, const QString &fileName, bool *exists = nullptr);
// Reads "\n" and "\\" in a message text.
QString UnescapeMessage(const QString &text);
