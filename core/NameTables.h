#pragma once
// The cursor-name and character-set-name tables of the file format.

#include <QString>
#include <QStringList>

using TCursor = int16_t;

constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
// The program's own hand cursor (an open hand for dragging pages).
constexpr TCursor crKorHand = 2020;

bool CursorToIdent(int cursor, QString &ident);
bool IdentToCursor(const QString &ident, int &cursor); // also accepts "crSize" for crSizeAll
// Every cursor name of the table, in its order ("crDefault", "crArrow", ...,
// "crKorHand").
QStringList CursorIdents();

using TFontCharset = uint8_t;
constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;

bool CharsetToIdent(int charset, QString &ident);
bool IdentToCharset(const QString &ident, int &charset);
