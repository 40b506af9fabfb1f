#include "canvas/KorFont.h"

#include "core/Rounding.h"

#include <QGuiApplication>
#include <QLocale>

namespace {
// Negated through the factor, so the saturated extreme of any size cannot
// overflow (halves round away from zero either way).
int HeightOf(int points, int ppi)
{
    return dx::MulDiv(points, -ppi, 72);
}
} // namespace

const TClassInfo &TFont::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TFont>("TFont", TGraphicsObject::StaticClassInfo())
                                       .Charset("Charset", &TFont::Charset, &TFont::SetCharset, DEFAULT_CHARSET)
                                       .Color("Color", &TFont::Color, &TFont::SetColor, clBlack)
                                       .Integer("Height", &TFont::Height, &TFont::SetHeight)
                                       .String("Name", &TFont::Name, &TFont::SetName)
                                       .Enum("Pitch", &TFont::Pitch, &TFont::SetPitch, fpDefault)
                                       .Integer("Size", &TFont::Size, &TFont::SetSize)
                                       .NeverStored()
                                       .Set<TFontStyle>("Style", &TFont::Style, &TFont::SetStyle, 0);
    return info;
}

TFont::TFont() : FName(QStringLiteral("MS Sans Serif")), FHeight(HeightOf(8, kScreenPixelsPerInch))
{
}

int TFont::Size() const
{
    return -dx::MulDiv(FHeight, 72, FPixelsPerInch);
}

void TFont::SetSize(int points)
{
    SetHeight(HeightOf(points, FPixelsPerInch));
}

void TFont::SetPixelsPerInch(int ppi)
{
    if (ppi <= 0 || ppi == FPixelsPerInch)
        return;
    const int points = Size();
    FPixelsPerInch = ppi;
    FHeight = HeightOf(points, ppi);
    Changed();
}

QFont TFont::ToQFont() const
{
    QFont f(FName);
    // Negative heights give the character height (the em size), positive
    // ones the cell height including internal leading; the em size is what
    // QFont's pixel size means, so a positive height is scaled down by the
    // usual ascent-plus-descent to em ratio of text faces.
    const int px = FHeight < 0 ? -FHeight : (FHeight == 0 ? HeightOf(8, FPixelsPerInch) * -1 : dx::MulDiv(FHeight, 1000, 1150));
    f.setPixelSize(px > 0 ? px : 1);
    f.setBold(IsBold());
    f.setItalic(IsItalic());
    f.setUnderline(FStyle & SetBit(fsUnderline));
    f.setStrikeOut(FStyle & SetBit(fsStrikeOut));
    if (FPitch == fpFixed)
        f.setFixedPitch(true);
    f.setStyleStrategy(QFont::NoSubpixelAntialias);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

void TFont::Assign(const TPersistent *source)
{
    if (auto *f = dynamic_cast<const TFont *>(source)) {
        if (CopyFields(*f))
            Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

bool TFont::CopyFields(const TFont &f)
{
    // The height follows the size in points across resolutions.
    const int height = f.FPixelsPerInch == FPixelsPerInch ? f.FHeight : HeightOf(f.Size(), FPixelsPerInch);
    const bool changed = FName != f.FName || FColor != f.FColor || FHeight != height || FStyle != f.FStyle ||
                         FCharset != f.FCharset || FPitch != f.FPitch;
    FName = f.FName;
    FColor = f.FColor;
    FHeight = height;
    FStyle = f.FStyle;
    FCharset = f.FCharset;
    FPitch = f.FPitch;
    return changed;
}

const TClassInfo &TKorFont::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TKorFont>("TKorFont", TFont::StaticClassInfo())
            .Redefault("Height", HeightOf(kDefaultSize, kScreenPixelsPerInch))
            .Stored([](const TKorFont &f) { return f.Height() != HeightOf(DefaultSize(), f.PixelsPerInch()); })
            .String("Name", &TFont::Name, &TFont::SetName, DefaultName())
            .Stored([](const TKorFont &f) { return f.Name() != DefaultName(); })
            .Object<TKorFontGradient>("Gradient", &TKorFont::PeekGradient, &TKorFont::Gradient)
            .Integer("InterCharSize", &TKorFont::InterCharSize, &TKorFont::SetInterCharSize, 0)
            .Object<TChartHiddenPen>("OutLine", &TKorFont::PeekOutLine, &TKorFont::OutLine)
            .Object<TKorShadow>("Shadow", &TKorFont::PeekShadow, &TKorFont::Shadow);
    return info;
}

namespace {
bool JapaneseSystem()
{
    return QLocale().language() == QLocale::Japanese;
}
} // namespace

QString TKorFont::DefaultName()
{
    return JapaneseSystem() ? QStringLiteral("MS Sans Serif") : QStringLiteral("Arial");
}

int TKorFont::DefaultSize()
{
    if (!JapaneseSystem() || !qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return kDefaultSize;
    // The system font's height in points at the screen's resolution.
    const QFont system = QGuiApplication::font();
    int points = 0;
    if (system.pixelSize() > 0)
        points = dx::MulDiv(system.pixelSize(), 72, kScreenPixelsPerInch);
    else if (system.pointSizeF() > 0)
        points = dx::RoundEven(system.pointSizeF());
    return points > 0 ? points : kDefaultSize;
}

TKorFont::TKorFont()
{
    SetName(DefaultName());
    SetSize(DefaultSize());
}

TKorFont::~TKorFont() = default;

TChartHiddenPen *TKorFont::OutLine()
{
    if (!FOutLine)
        FOutLine = std::make_unique<TChartHiddenPen>([this](TGraphicsObject *o) { SubChanged(o); });
    return FOutLine.get();
}

TKorShadow *TKorFont::Shadow()
{
    if (!FShadow)
        FShadow = std::make_unique<TKorShadow>([this](TGraphicsObject *o) { SubChanged(o); });
    return FShadow.get();
}

TKorFontGradient *TKorFont::Gradient()
{
    if (!FGradient)
        FGradient = std::make_unique<TKorFontGradient>([this](TGraphicsObject *o) { SubChanged(o); });
    return FGradient.get();
}

void TKorFont::SetOutLine(const TChartPen *pen)
{
    AssignSubObject(FOutLine, pen, [this] { return OutLine(); }, [this] { Changed(); });
}

void TKorFont::SetShadow(const TKorShadow *shadow)
{
    AssignSubObject(FShadow, shadow, [this] { return Shadow(); }, [this] { Changed(); });
}

void TKorFont::SetGradient(const TKorFontGradient *gradient)
{
    AssignSubObject(FGradient, gradient, [this] { return Gradient(); }, [this] { Changed(); });
}

bool TKorFont::CopyFields(const TFont &source)
{
    bool changed = TFont::CopyFields(source);
    if (auto *f = dynamic_cast<const TKorFont *>(&source)) {
        changed = changed || FInterCharSize != f->FInterCharSize;
        FInterCharSize = f->FInterCharSize;
        // Sub-objects are copied only when the source has them; an own one
        // the source lacks is freed.
        auto freed = [&changed] { changed = true; };
        AssignSubObject(FOutLine, f->FOutLine.get(), [this] { return OutLine(); }, freed);
        AssignSubObject(FShadow, f->FShadow.get(), [this] { return Shadow(); }, freed);
        AssignSubObject(FGradient, f->FGradient.get(), [this] { return Gradient(); }, freed);
    }
    return changed;
}
