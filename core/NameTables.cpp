#include "core/NameTables.h"

namespace {

struct IdentEntry
{
    int value;
    const char *name;
};

const IdentEntry kCursors[] = {
    {crDefault, "crDefault"}, {crArrow, "crArrow"}, {crCross, "crCross"}, {crIBeam, "crIBeam"},
    {crSizeNESW, "crSizeNESW"}, {crSizeNS, "crSizeNS"}, {crSizeNWSE, "crSizeNWSE"}, {crSizeWE, "crSizeWE"},
    {crUpArrow, "crUpArrow"}, {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"}, {crNoDrop, "crNoDrop"},
    {crHSplit, "crHSplit"}, {crVSplit, "crVSplit"}, {crMultiDrag, "crMultiDrag"}, {crSQLWait, "crSQLWait"},
    {crNo, "crNo"}, {crAppStart, "crAppStart"}, {crHelp, "crHelp"}, {crHandPoint, "crHandPoint"},
    {crSizeAll, "crSizeAll"}, {crKorHand, "crKorHand"},
};

const IdentEntry kCharsets[] = {
    {0, "ANSI_CHARSET"}, {1, "DEFAULT_CHARSET"}, {2, "SYMBOL_CHARSET"}, {77, "MAC_CHARSET"},
    {128, "SHIFTJIS_CHARSET"}, {129, "HANGEUL_CHARSET"}, {130, "JOHAB_CHARSET"}, {134, "GB2312_CHARSET"},
    {136, "CHINESEBIG5_CHARSET"}, {161, "GREEK_CHARSET"}, {162, "TURKISH_CHARSET"}, {177, "HEBREW_CHARSET"},
    {178, "ARABIC_CHARSET"}, {186, "BALTIC_CHARSET"}, {204, "RUSSIAN_CHARSET"}, {222, "THAI_CHARSET"},
    {238, "EASTEUROPE_CHARSET"}, {255, "OEM_CHARSET"},
};

template <size_t N>
bool ToIdent(const IdentEntry (&table)[N], int value, QString &ident)
{
    for (const IdentEntry &e : table)
        if (e.value == value) {
            ident = QLatin1String(e.name);
            return true;
        }
    return false;
}

template <size_t N>
bool FromIdent(const IdentEntry (&table)[N], const QString &ident, int &value)
{
    for (const IdentEntry &e : table)
        if (ident.compare(QLatin1String(e.name), Qt::CaseInsensitive) == 0) {
            value = e.value;
            return true;
        }
    return false;
}

} // namespace

bool CursorToIdent(int cursor, QString &ident)
{
    return ToIdent(kCursors, cursor, ident);
}

bool IdentToCursor(const QString &ident, int &cursor)
{
    if (ident.compare(QLatin1String("crSize"), Qt::CaseInsensitive) == 0) {
        cursor = crSizeAll;
        return true;
    }
    return FromIdent(kCursors, ident, cursor);
}

QStringList CursorIdents()
{
    QStringList names;
    for (const IdentEntry &e : kCursors)
        names << QLatin1String(e.name);
    return names;
}

bool CharsetToIdent(int charset, QString &ident)
{
    return ToIdent(kCharsets, charset, ident);
}

bool IdentToCharset(const QString &ident, int &charset)
{
    return FromIdent(kCharsets, ident, charset);
}
