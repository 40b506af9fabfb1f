#pragma once
// The 32-bit colour of the program: red in the low byte, then green, then
// blue. A high byte of 0x80 marks a system colour (its low bytes index the
// platform palette); clNone means "no colour" and clDefault means "take the
// colour from the owner".

#include <QColor>
#include <QString>
#include <cstdint>

using TColor = int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;    // 536870911
constexpr TColor clDefault = 0x20000000; // 536870912

constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(index)); }
constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clCaptionText = SystemColor(9);
constexpr TColor clActiveBorder = SystemColor(10);
constexpr TColor clInactiveBorder = SystemColor(11);
constexpr TColor clAppWorkSpace = SystemColor(12);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clInactiveCaptionText = SystemColor(19);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);

constexpr bool IsSystemColor(TColor c) { return (static_cast<uint32_t>(c) & 0xFF000000u) == 0x80000000u; }

// Resolves system colours through the platform palette (when an application
// object exists; else through a fixed classic palette) and strips the flag
// byte of any other colour. clNone and clDefault resolve to white and black
// only as a last resort: callers test for them first.
TColor ColorToRGB(TColor c);

inline int GetRValue(TColor c) { return c & 0xFF; }
inline int GetGValue(TColor c) { return (c >> 8) & 0xFF; }
inline int GetBValue(TColor c) { return (c >> 16) & 0xFF; }
constexpr TColor RGBColor(int r, int g, int b) { return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16); }

// The resolved colour as an opaque QColor / QRgb.
QColor ToQColor(TColor c);
QRgb ToQRgb(TColor c);
TColor FromQColor(const QColor &c);

// DarkenColor subtracts the quantity (0-255) from each of red, green and
// blue, floor 0; GrayColor gives the grey of (red + green + blue) / 3.
TColor DarkenColor(TColor c, int quantity);
TColor GrayColor(TColor c);

// The colour-name table of the file format, both ways.
bool ColorToIdent(TColor c, QString &ident);
bool IdentToColor(const QString &ident, TColor &c);
// A name from the table, else the decimal number.
QString ColorToString(TColor c);
// A name from the table or a number (decimal, or hexadecimal after "$" or
// "0x"); false when neither.
bool StringToColor(const QString &s, TColor &c);
