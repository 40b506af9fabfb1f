// The Windows language identifier of the user's locale, which the
// start-up mapping of languages is written in.

#include "i18n/KorTranslate.h"

#include <QLocale>

namespace {

struct TLocaleId
{
    QLocale::Language Language;
    QLocale::Territory Territory; // AnyTerritory: the language's usual one
    int Id;
};

// The identifiers of the languages the mapping knows, in each territory
// where it differs, and of the other languages the program has (their
// usual territory).
const TLocaleId kLocaleIds[] = {
    {QLocale::Catalan, QLocale::AnyTerritory, 0x0403},
    {QLocale::Danish, QLocale::AnyTerritory, 0x0406},
    {QLocale::German, QLocale::Switzerland, 0x0807},
    {QLocale::German, QLocale::Austria, 0x0C07},
    {QLocale::German, QLocale::Luxembourg, 0x1007},
    {QLocale::German, QLocale::Liechtenstein, 0x1407},
    {QLocale::German, QLocale::AnyTerritory, 0x0407},
    {QLocale::French, QLocale::Belgium, 0x080C},
    {QLocale::French, QLocale::Canada, 0x0C0C},
    {QLocale::French, QLocale::Switzerland, 0x100C},
    {QLocale::French, QLocale::Luxembourg, 0x140C},
    {QLocale::French, QLocale::AnyTerritory, 0x040C},
    {QLocale::Hungarian, QLocale::AnyTerritory, 0x040E},
    {QLocale::Italian, QLocale::Switzerland, 0x0810},
    {QLocale::Italian, QLocale::AnyTerritory, 0x0410},
    {QLocale::NorwegianBokmal, QLocale::AnyTerritory, 0x0414},
    {QLocale::NorwegianNynorsk, QLocale::AnyTerritory, 0x0814},
    {QLocale::Portuguese, QLocale::Brazil, 0x0416},
    {QLocale::Portuguese, QLocale::AnyTerritory, 0x0816},
    {QLocale::Swedish, QLocale::Finland, 0x081D},
    {QLocale::Swedish, QLocale::AnyTerritory, 0x041D},
    {QLocale::Spanish, QLocale::Mexico, 0x080A},
    {QLocale::Spanish, QLocale::Spain, 0x0C0A},
    {QLocale::Spanish, QLocale::Argentina, 0x2C0A},
    {QLocale::Spanish, QLocale::AnyTerritory, 0x0C0A},
    {QLocale::English, QLocale::UnitedKingdom, 0x0809},
    {QLocale::English, QLocale::AnyTerritory, 0x0409},
    {QLocale::Japanese, QLocale::AnyTerritory, 0x0411},
    {QLocale::Chinese, QLocale::Taiwan, 0x0404},
    {QLocale::Chinese, QLocale::AnyTerritory, 0x0804},
    {QLocale::Dutch, QLocale::AnyTerritory, 0x0413},
    {QLocale::Russian, QLocale::AnyTerritory, 0x0419},
    {QLocale::Polish, QLocale::AnyTerritory, 0x0415},
    {QLocale::Slovenian, QLocale::AnyTerritory, 0x0424},
    {QLocale::Turkish, QLocale::AnyTerritory, 0x041F},
    {QLocale::Galician, QLocale::AnyTerritory, 0x0456},
};

} // namespace

int LocaleIdOf(const QLocale &locale)
{
    for (const TLocaleId &l : kLocaleIds)
        if (l.Language == locale.language() &&
            (l.Territory == QLocale::AnyTerritory || l.Territory == locale.territory()))
            return l.Id;
    return 0;
}

int UserLocaleId()
{
    // The default locale is the system's unless the program chose another.
    return LocaleIdOf(QLocale());
}
