#include "i18n/KorTranslate.h"

#include "core/Messages.h"
#include "i18n/KorLanguages.h"

#include <QAction>
#include <QGroupBox>
#include <QSettings>
#include <map>
#include <memory>

namespace {

struct TLanguageState
{
    // Tables of the languages applied so far; they live until the end.
    std::map<int, std::unique_ptr<TTranslationTable>> Tables;
    TTranslationTable *Active = nullptr;
    int ActiveNumber = lnEnglish;
    bool HotkeyStyle = false;
};

TLanguageState &State()
{
    static TLanguageState state;
    return state;
}

bool IsAsciiLetterOrDigit(QChar c)
{
    const ushort u = c.unicode();
    return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
}

// The text without its hotkey marks; "&&" stands for one "&" and marks
// nothing. `hotkey` gets the character after the first mark.
QString BareText(const QString &text, QChar *hotkey)
{
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('&')) {
            out += c;
            continue;
        }
        if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('&')) {
            out += c;
            ++i;
            continue;
        }
        if (hotkey && hotkey->isNull() && i + 1 < text.size())
            *hotkey = text.at(i + 1);
    }
    return out;
}

QString AsciiUpper(const QString &text)
{
    QString out = text;
    for (QChar &c : out)
        if (c.unicode() >= 'a' && c.unicode() <= 'z')
            c = QChar(c.unicode() - 'a' + 'A');
    return out;
}

// ---- Setters

void AssignMessages(int number, TMessageSet set)
{
    for (const QString &line : ReadLanguageFile(number, MessageSetFileName(set))) {
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        // A message of a part this program does not hold is passed by.
        TMessageText::SetById(line.left(eq).trimmed(), UnescapeMessage(line.mid(eq + 1)));
    }
}

// Creates the language's table with the shared vocabulary the first time,
// makes it active, assigns the shared base messages and the hotkey style.
void BaseSetter(int number)
{
    TLanguageState &s = State();
    auto &table = s.Tables[number];
    if (!table) {
        table = std::make_unique<TTranslationTable>();
        table->Append(ReadLanguageFile(number, LayerFileName(vlEditor)));
    }
    s.Active = table.get();
    s.ActiveNumber = number;
    AssignMessages(number, msBase);
    const TLanguageInfo *info = FindLanguage(number);
    s.HotkeyStyle = info && info->HotkeyStyle;
}

void AppendLayer(int number, TVocabularyLayer layer, const char *guardKey)
{
    TTranslationTable *table = State().Active;
    if (!table || table->Contains(QLatin1String(guardKey)))
        return;
    table->Append(ReadLanguageFile(number, LayerFileName(layer)));
}

void FullSetter(int number)
{
    AssignMessages(number, msApplication);
    AssignMessages(number, msEditor);
    BaseSetter(number);
    AppendLayer(number, vlApplication, "NEW USING WIZARD");
    AssignMessages(number, msDiagram);
    BaseSetter(number);
    AppendLayer(number, vlDiagram, "FLOWCHART");
}

void EnglishSetter()
{
    TLanguageState &s = State();
    s.Active = nullptr;
    s.ActiveNumber = lnEnglish;
    s.HotkeyStyle = false;
    TMessageText::ResetAllToEnglish();
}

QSettings *OpenLanguageStore(std::unique_ptr<QSettings> &holder)
{
    holder = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                         QStringLiteral("Quorvel Software"), QStringLiteral("Plovix Pro"));
    return holder.get();
}

const QString kLanguageKey = QStringLiteral("Editor/Language");

} // namespace

// ---- Tables

void TTranslationTable::Append(const QStringList &lines)
{
    FLines.reserve(FLines.size() + lines.size());
    for (const QString &line : lines) {
        FLines << line;
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        const QString key = line.left(eq);
        if (!FFirst.contains(key))
            FFirst.insert(key, line.mid(eq + 1));
    }
}

const TTranslationTable *ActiveTable()
{
    return State().Active;
}

int ActiveLanguage()
{
    return State().ActiveNumber;
}

bool HotkeyStyle()
{
    return State().HotkeyStyle;
}

QString TranslationKey(const QString &text)
{
    QString key = AsciiUpper(BareText(text.trimmed(), nullptr));
    if (key.endsWith(QLatin1Char(':')))
        key.chop(1);
    if (key.endsWith(QLatin1String("...")))
        key.chop(3);
    return key;
}

QString StripHotkey(const QString &text)
{
    QString t = text;
    // The hotkey style of some languages: "(&F)" after the text.
    const int paren = t.lastIndexOf(QLatin1String("(&"));
    if (paren >= 0 && paren + 4 == t.size() && t.at(paren + 3) == QLatin1Char(')'))
        t.truncate(paren);
    return BareText(t, nullptr);
}

bool TranslateText(QString &text, QString &usedHotkeys)
{
    const TTranslationTable *table = State().Active;
    if (!table)
        return false;
    if (text == QLatin1String("?") || text == QLatin1String("%") || text == QLatin1String("0"))
        return false;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    QChar hotkey;
    const QString bare = BareText(trimmed, &hotkey);
    const bool hadHotkey = bare != trimmed && !hotkey.isNull();
    QString key = AsciiUpper(bare);
    const bool colon = key.endsWith(QLatin1Char(':'));
    if (colon)
        key.chop(1);
    const bool dots = key.endsWith(QLatin1String("..."));
    if (dots)
        key.chop(3);
    QString result = table->Lookup(key);
    if (result.isEmpty())
        return false;
    if (hadHotkey) {
        if (State().HotkeyStyle) {
            result += QStringLiteral("(&") + hotkey.toUpper() + QLatin1Char(')');
        } else {
            for (int i = 0; i < result.size(); ++i) {
                const QChar c = result.at(i);
                if (IsAsciiLetterOrDigit(c) && !usedHotkeys.contains(c)) {
                    usedHotkeys += c;
                    result.insert(i, QLatin1Char('&'));
                    break;
                }
            }
        }
    }
    if (dots)
        result += QLatin1String("...");
    if (colon)
        result += QLatin1Char(':');
    // The spaces around a caption (a header's indent) stay.
    const int lead = text.indexOf(trimmed);
    text = text.left(lead) + result + text.mid(lead + trimmed.size());
    return true;
}

// ---- Applying languages

void ApplyLanguage(int number, bool askedByUser)
{
    if (number >= 1 && number <= 20)
        FullSetter(number);
    else if (askedByUser)
        EnglishSetter();
}

void ApplyLanguageAtStart()
{
    int number = ReadStoredLanguage();
    if (number == kNoStoredLanguage)
        number = LanguageOfLocaleId(UserLocaleId());
    ApplyLanguage(number, false);
}

void ResetLanguages()
{
    EnglishSetter();
    State().Tables.clear();
}

int ReadStoredLanguage()
{
    std::unique_ptr<QSettings> holder;
    QSettings *s = OpenLanguageStore(holder);
    // A store that cannot be read holds nothing.
    if (s->status() != QSettings::NoError || !s->contains(kLanguageKey))
        return kNoStoredLanguage;
    bool ok = false;
    const int number = s->value(kLanguageKey).toInt(&ok);
    return ok ? number : kNoStoredLanguage;
}

void WriteStoredLanguage(int number)
{
    std::unique_ptr<QSettings> holder;
    QSettings *s = OpenLanguageStore(holder);
    if (!s->isWritable())
        return;
    s->setValue(kLanguageKey, number);
    s->sync();
}

int LanguageOfLocaleId(int localeId)
{
    switch (localeId) {
    case 1027:
        return lnCatalan;
    case 1030:
        return lnDanish;
    case 1031:
        return lnGerman;
    case 1036:
        return lnFrench;
    case 1038:
        return lnHungarian;
    case 1040:
        return lnItalian;
    case 1044:
    case 2068:
        return lnNorwegian;
    case 1046:
        return lnBrazilian;
    case 1053:
        return lnSwedish;
    case 3082:
        return lnSpanish;
    default:
        return kUnmappedLanguage;
    }
}
