#include "core/Colors.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

struct ColorName
{
    TColor value;
    const char *name;
};

const ColorName kColorNames[] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {clNone, "clNone"},
    {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"}, {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"}, {clMenu, "clMenu"}, {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"}, {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"}, {clActiveBorder, "clActiveBorder"}, {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"}, {clHighlight, "clHighlight"}, {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"}, {clBtnShadow, "clBtnShadow"}, {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"}, {clInactiveCaptionText, "clInactiveCaptionText"}, {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clInfoText, "clInfoText"}, {clInfoBk, "clInfoBk"},
};

// The classic desktop palette, used when no application palette exists (and
// for the entries the platform palette has no role for).
const TColor kClassicSystem[25] = {
    RGBColor(0xC8, 0xC8, 0xC8), RGBColor(0x00, 0x00, 0x00), RGBColor(0x00, 0x54, 0xE3), RGBColor(0x7A, 0x96, 0xDF),
    RGBColor(0xFF, 0xFF, 0xFF), RGBColor(0xFF, 0xFF, 0xFF), RGBColor(0x00, 0x00, 0x00), RGBColor(0x00, 0x00, 0x00),
    RGBColor(0x00, 0x00, 0x00), RGBColor(0xFF, 0xFF, 0xFF), RGBColor(0xD4, 0xD0, 0xC8), RGBColor(0xD4, 0xD0, 0xC8),
    RGBColor(0x80, 0x80, 0x80), RGBColor(0x31, 0x6A, 0xC5), RGBColor(0xFF, 0xFF, 0xFF), RGBColor(0xEC, 0xE9, 0xD8),
    RGBColor(0xAC, 0xA8, 0x99), RGBColor(0xAC, 0xA8, 0x99), RGBColor(0x00, 0x00, 0x00), RGBColor(0xD8, 0xE4, 0xF8),
    RGBColor(0xFF, 0xFF, 0xFF), RGBColor(0x71, 0x6F, 0x64), RGBColor(0xF1, 0xEF, 0xE2), RGBColor(0x00, 0x00, 0x00),
    RGBColor(0xFF, 0xFF, 0xE1)};

bool PaletteRole(int index, QPalette::ColorGroup &group, QPalette::ColorRole &role)
{
    group = QPalette::Active;
    switch (index) {
    case 1: role = QPalette::Window; return false; // desktop: classic value
    case 4: role = QPalette::Window; return true;
    case 5: role = QPalette::Base; return true;
    case 7: role = QPalette::WindowText; return true;
    case 8: role = QPalette::Text; return true;
    case 13: role = QPalette::Highlight; return true;
    case 14: role = QPalette::HighlightedText; return true;
    case 15: role = QPalette::Button; return true;
    case 16: role = QPalette::Dark; return true;
    case 17: group = QPalette::Disabled; role = QPalette::Text; return true;
    case 18: role = QPalette::ButtonText; return true;
    case 20: role = QPalette::Light; return true;
    case 21: role = QPalette::Shadow; return true;
    case 22: role = QPalette::Midlight; return true;
    case 23: role = QPalette::ToolTipText; return true;
    case 24: role = QPalette::ToolTipBase; return true;
    default: return false;
    }
}

} // namespace

TColor ColorToRGB(TColor c)
{
    if (IsSystemColor(c)) {
        const int index = c & 0xFF;
        if (index >= 25)
            return clBlack;
        QPalette::ColorGroup group;
        QPalette::ColorRole role;
        if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()) && PaletteRole(index, group, role))
            return FromQColor(QGuiApplication::palette().color(group, role));
        return kClassicSystem[index];
    }
    return c & 0xFFFFFF;
}

QColor ToQColor(TColor c)
{
    const TColor rgb = ColorToRGB(c);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

QRgb ToQRgb(TColor c)
{
    const TColor rgb = ColorToRGB(c);
    return qRgb(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor FromQColor(const QColor &c)
{
    return RGBColor(c.red(), c.green(), c.blue());
}

TColor DarkenColor(TColor c, int quantity)
{
    const TColor rgb = ColorToRGB(c);
    auto dark = [quantity](int v) { return v > quantity ? v - quantity : 0; };
    return RGBColor(dark(GetRValue(rgb)), dark(GetGValue(rgb)), dark(GetBValue(rgb)));
}

TColor GrayColor(TColor c)
{
    const TColor rgb = ColorToRGB(c);
    const int g = (GetRValue(rgb) + GetGValue(rgb) + GetBValue(rgb)) / 3;
    return RGBColor(g, g, g);
}

bool ColorToIdent(TColor c, QString &ident)
{
    for (const ColorName &n : kColorNames)
        if (n.value == c) {
            ident = QLatin1String(n.name);
            return true;
        }
    return false;
}

bool IdentToColor(const QString &ident, TColor &c)
{
    for (const ColorName &n : kColorNames)
        if (ident.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0) {
            c = n.value;
            return true;
        }
    return false;
}

QString ColorToString(TColor c)
{
    QString s;
    if (ColorToIdent(c, s))
        return s;
    return QString::number(c);
}

bool StringToColor(const QString &s, TColor &c)
{
    if (IdentToColor(s, c))
        return true;
    const QString t = s.trimmed();
    bool ok = false;
    qlonglong v = 0;
    if (t.startsWith(QLatin1Char('$')))
        v = t.mid(1).toLongLong(&ok, 16);
    else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = t.mid(2).toLongLong(&ok, 16);
    else
        v = t.toLongLong(&ok, 10);
    if (!ok || v < INT32_MIN || v > UINT32_MAX)
        return false;
    c = static_cast<TColor>(static_cast<uint32_t>(v));
    return true;
}
