// Published property declarations: order (base classes first, a
// redeclaration keeps its place), defaults and storing rules, dotted paths
// through sub-objects created on first use, named enumeration and set
// values, and the errors for names and values that do not exist.

#include "core/Colors.h"
#include "core/Component.h"
#include "core/Exceptions.h"
#include "core/NameTables.h"
#include "core/PropAccess.h"

#include <QtTest>
#include <memory>

DX_ENUM(TTestStyle, tstRectangle, tstCircle, tstDiamond)
DX_ENUM(TTestFlag, tfBold, tfItalic, tfUnderline)

namespace {

class TTestPen : public TPersistent
{
    DX_OBJECT(TTestPen)
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor c) { FColor = c; }
    int Width() const { return FWidth; }
    void SetWidth(int w) { FWidth = w; }
    TColor FColor = clBlack;
    int FWidth = 1;
};

const TClassInfo &TTestPen::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TTestPen>("TTestPen", TPersistent::StaticClassInfo())
                                       .Color("Color", &TTestPen::Color, &TTestPen::SetColor, clBlack)
                                       .Integer("Width", &TTestPen::Width, &TTestPen::SetWidth, 1);
    return info;
}

class TTestShape : public TComponent
{
    DX_OBJECT(TTestShape)
public:
    using TComponent::TComponent;

    TTestStyle Style() const { return FStyle; }
    void SetStyle(TTestStyle s) { FStyle = s; }
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v) { FAutoSize = v; }
    int X1() const { return FX1; }
    void SetX1(int v) { FX1 = v; }
    TTestPen *PeekBorder() const { return FBorder.get(); }
    TTestPen *Border()
    {
        if (!FBorder)
            FBorder = std::make_unique<TTestPen>();
        return FBorder.get();
    }
    TSetBits Flags() const { return FFlags; }
    void SetFlags(TSetBits f) { FFlags = f; }
    int Cursor() const { return FCursor; }
    void SetCursor(int c) { FCursor = c; }
    int Charset() const { return FCharset; }
    void SetCharset(int c) { FCharset = c; }
    QString Caption() const { return FCaption; }
    void SetCaption(const QString &c) { FCaption = c; }
    double Scale() const { return FScale; }
    void SetScale(double s) { FScale = s; }
    TTestShape *Parent() const { return FParent; }
    void SetParent(TTestShape *p) { FParent = p; }
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v) { FTransparent = v; }

    TTestStyle FStyle = tstRectangle;
    bool FAutoSize = true;
    bool FTransparent = false;
    int FX1 = 0;
    std::unique_ptr<TTestPen> FBorder;
    TSetBits FFlags = 0;
    int FCursor = 0;
    int FCharset = 1;
    QString FCaption;
    double FScale = 1.0;
    TTestShape *FParent = nullptr;
};

const TClassInfo &TTestShape::StaticClassInfo()
{
    using S = TTestShape;
    static const TClassInfo info = TClassBuilder<S>("TTestShape", TComponent::StaticClassInfo())
                                       .Boolean("AutoSize", &S::AutoSize, &S::SetAutoSize, true)
                                       .Object<TTestPen>("Border", &S::PeekBorder, &S::Border)
                                       .Enum("Style", &S::Style, &S::SetStyle, tstRectangle)
                                       .Boolean("Transparent", &S::Transparent, &S::SetTransparent, false)
                                       .Integer("X1", &S::X1, &S::SetX1)
                                       .Stored([](const S &s) { return !s.AutoSize(); })
                                       .Set<TTestFlag>("Flags", &S::Flags, &S::SetFlags, 0)
                                       .Cursor("Cursor", &S::Cursor, &S::SetCursor, 0)
                                       .Charset("Charset", &S::Charset, &S::SetCharset, 1)
                                       .String("Caption", &S::Caption, &S::SetCaption)
                                       .Float("Scale", &S::Scale, &S::SetScale, 1.0)
                                       .Reference<S>("Parent", &S::Parent, &S::SetParent)
                                       .Event("OnClick");
    return info;
}

// A subclass that changes one default and adds a property.
class TTestText : public TTestShape
{
    DX_OBJECT(TTestText)
public:
    explicit TTestText(TComponent *owner = nullptr) : TTestShape(owner) { FTransparent = true; }
    int Margin() const { return FMargin; }
    void SetMargin(int m) { FMargin = m; }
    int FMargin = 0;
};

const TClassInfo &TTestText::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TTestText>("TTestText", TTestShape::StaticClassInfo())
                                       .Redefault("Transparent", 1)
                                       .Integer("Margin", &TTestText::Margin, &TTestText::SetMargin, 0);
    return info;
}

QStringList Names(const TClassInfo &info)
{
    QStringList names;
    for (const TPropInfo &p : info.Properties())
        names << p.Name;
    return names;
}

QStringList Stored(const TPersistent &obj)
{
    QStringList names;
    for (const TPropInfo &p : obj.ClassInfo().Properties())
        if (p.IsStored(obj))
            names << p.Name;
    return names;
}

} // namespace

class TestProperties : public QObject
{
    Q_OBJECT
private slots:
    void declaredOrderBaseFirst();
    void redeclarationKeepsPlaceAndChangesDefault();
    void storingRulesAndDefaults();
    void dottedPathsCreateSubObjectsOnlyWhenUsed();
    void enumAndSetNames();
    void textValuesOfEveryKind();
    void unknownNamesAndBadValuesReported();
};

void TestProperties::declaredOrderBaseFirst()
{
    QCOMPARE(Names(TTestShape::StaticClassInfo()),
             QStringList({"Tag", "AutoSize", "Border", "Style", "Transparent", "X1", "Flags", "Cursor", "Charset",
                          "Caption", "Scale", "Parent", "OnClick"}));
    QVERIFY(TTestText::StaticClassInfo().InheritsFrom(TComponent::StaticClassInfo()));
    QVERIFY(!TTestShape::StaticClassInfo().InheritsFrom(TTestText::StaticClassInfo()));
}

void TestProperties::redeclarationKeepsPlaceAndChangesDefault()
{
    QCOMPARE(Names(TTestText::StaticClassInfo()),
             QStringList({"Tag", "AutoSize", "Border", "Style", "Transparent", "X1", "Flags", "Cursor", "Charset",
                          "Caption", "Scale", "Parent", "OnClick", "Margin"}));
    const TPropInfo *base = TTestShape::StaticClassInfo().FindProperty(QStringLiteral("Transparent"));
    const TPropInfo *sub = TTestText::StaticClassInfo().FindProperty(QStringLiteral("transparent"));
    QCOMPARE(base->DefaultOrd, 0);
    QCOMPARE(sub->DefaultOrd, 1);
    TTestText text;
    QVERIFY(!Stored(text).contains(QStringLiteral("Transparent")));
    text.SetTransparent(false);
    QVERIFY(Stored(text).contains(QStringLiteral("Transparent")));
}

void TestProperties::storingRulesAndDefaults()
{
    TTestShape s;
    QCOMPARE(Stored(s), QStringList());
    s.SetTag(7);
    s.SetStyle(tstDiamond);
    s.SetCaption(QStringLiteral("x"));
    s.SetScale(2.5);
    QCOMPARE(Stored(s), QStringList({"Tag", "Style", "Caption", "Scale"}));
    // X1 follows its rule, not its value.
    s.SetX1(40);
    QVERIFY(!Stored(s).contains(QStringLiteral("X1")));
    s.SetAutoSize(false);
    QVERIFY(Stored(s).contains(QStringLiteral("X1")));
    s.SetX1(0);
    QVERIFY(Stored(s).contains(QStringLiteral("X1")));
    // A sub-object is stored once it exists, whatever its values.
    QVERIFY(!Stored(s).contains(QStringLiteral("Border")));
    s.Border();
    QVERIFY(Stored(s).contains(QStringLiteral("Border")));
    // A reference is stored when set; an event never.
    TTestShape other;
    s.SetParent(&other);
    QVERIFY(Stored(s).contains(QStringLiteral("Parent")));
    QVERIFY(!Stored(s).contains(QStringLiteral("OnClick")));
}

void TestProperties::dottedPathsCreateSubObjectsOnlyWhenUsed()
{
    TTestShape s;
    // Peeking never creates.
    TPropTarget peek = PeekPropPath(s, QStringLiteral("Border.Color"));
    QCOMPARE(peek.Object, nullptr);
    QVERIFY(peek.Prop);
    QCOMPARE(peek.Prop->Name, QStringLiteral("Color"));
    QCOMPARE(peek.Prop->DefaultOrd, clBlack);
    QCOMPARE(s.PeekBorder(), nullptr);
    // Writing through the path creates the pen.
    SetPropText(s, QStringLiteral("Border.Color"), QStringLiteral("clRed"));
    QVERIFY(s.PeekBorder());
    QCOMPARE(s.PeekBorder()->Color(), clRed);
    SetOrdProp(s, QStringLiteral("border.width"), 3);
    QCOMPARE(s.PeekBorder()->Width(), 3);
    QCOMPARE(GetPropText(s, QStringLiteral("Border.Width")), QStringLiteral("3"));
    QCOMPARE(GetPropText(s, QStringLiteral("Border")), QStringLiteral("(TTestPen)"));
    peek = PeekPropPath(s, QStringLiteral("Border.Color"));
    QCOMPARE(peek.Object, s.PeekBorder());
}

void TestProperties::enumAndSetNames()
{
    const TEnumInfo &e = EnumInfoOf<TTestStyle>();
    QCOMPARE(e.TypeName(), QStringLiteral("TTestStyle"));
    QCOMPARE(e.Count(), 3);
    QCOMPARE(e.Name(tstDiamond), QStringLiteral("tstDiamond"));
    QCOMPARE(e.Value(QStringLiteral("TSTCIRCLE")), 1);
    QCOMPARE(e.Value(QStringLiteral("tstHexagon")), -1);
    QCOMPARE(e.Name(3), QString());

    TTestShape s;
    SetPropText(s, QStringLiteral("Style"), QStringLiteral("tstDiamond"));
    QCOMPARE(s.Style(), tstDiamond);
    QCOMPARE(GetPropText(s, QStringLiteral("Style")), QStringLiteral("tstDiamond"));
    SetPropText(s, QStringLiteral("Flags"), QStringLiteral("[tfBold, tfUnderline]"));
    QCOMPARE(s.Flags(), SetBit(tfBold) | SetBit(tfUnderline));
    QCOMPARE(GetPropText(s, QStringLiteral("Flags")), QStringLiteral("[tfBold,tfUnderline]"));
    SetPropText(s, QStringLiteral("Flags"), QStringLiteral("[]"));
    QCOMPARE(s.Flags(), TSetBits(0));
}

void TestProperties::textValuesOfEveryKind()
{
    TComponent owner;
    auto *a = new TTestShape(&owner);
    a->SetName(QStringLiteral("A"));
    auto *b = new TTestShape(&owner);
    auto resolve = [&owner](const QString &n) { return owner.FindComponent(n); };

    SetPropText(*b, QStringLiteral("AutoSize"), QStringLiteral("false"));
    QCOMPARE(b->AutoSize(), false);
    QCOMPARE(GetPropText(*b, QStringLiteral("AutoSize")), QStringLiteral("False"));
    SetPropText(*b, QStringLiteral("Cursor"), QStringLiteral("crHandPoint"));
    QCOMPARE(b->Cursor(), -21);
    QCOMPARE(GetPropText(*b, QStringLiteral("Cursor")), QStringLiteral("crHandPoint"));
    SetPropText(*b, QStringLiteral("Cursor"), QStringLiteral("-5"));
    QCOMPARE(GetPropText(*b, QStringLiteral("Cursor")), QStringLiteral("-5"));
    SetPropText(*b, QStringLiteral("Charset"), QStringLiteral("GREEK_CHARSET"));
    QCOMPARE(b->Charset(), 161);
    SetPropText(*b, QStringLiteral("Scale"), QStringLiteral("0.25"));
    QCOMPARE(b->Scale(), 0.25);
    SetPropText(*b, QStringLiteral("Caption"), QStringLiteral("Hello"));
    QCOMPARE(GetStrProp(*b, QStringLiteral("Caption")), QStringLiteral("Hello"));
    SetPropText(*b, QStringLiteral("Parent"), QStringLiteral("A"), resolve);
    QCOMPARE(b->Parent(), a);
    QCOMPARE(GetPropText(*b, QStringLiteral("Parent")), QStringLiteral("A"));
    SetPropText(*b, QStringLiteral("Parent"), QString(), resolve);
    QCOMPARE(b->Parent(), nullptr);
    SetRefProp(*b, QStringLiteral("Parent"), a);
    QCOMPARE(GetRefProp(*b, QStringLiteral("Parent")), a);
    SetPropText(*b, QStringLiteral("Tag"), QStringLiteral("-12"));
    QCOMPARE(b->Tag(), -12);
    SetPropText(*b, QStringLiteral("Border.Color"), QStringLiteral("12345"));
    QCOMPARE(b->PeekBorder()->Color(), 12345);
    QCOMPARE(GetOrdProp(*b, QStringLiteral("Border.Color")), 12345);
}

void TestProperties::unknownNamesAndBadValuesReported()
{
    TComponent owner;
    TTestShape s(&owner);
    auto expect = [&](const std::function<void()> &f, const QString &message) {
        try {
            f();
            QFAIL("no error reported");
        } catch (const EPropertyError &e) {
            QCOMPARE(e.Message(), message);
        }
    };
    const QString unknown = QStringLiteral("Property does not exist");
    const QString invalid = QStringLiteral("Invalid property value");
    expect([&] { SetPropText(s, QStringLiteral("Colour"), QStringLiteral("clRed")); }, unknown);
    expect([&] { SetPropText(s, QStringLiteral("Border.Colour"), QStringLiteral("clRed")); }, unknown);
    expect([&] { SetPropText(s, QStringLiteral("Style.Color"), QStringLiteral("clRed")); }, unknown);
    expect([&] { (void)PeekPropPath(s, QStringLiteral("Nothing.Here")); }, unknown);
    expect([&] { SetPropText(s, QStringLiteral("Style"), QStringLiteral("tstHexagon")); }, invalid);
    expect([&] { SetPropText(s, QStringLiteral("AutoSize"), QStringLiteral("yes")); }, invalid);
    expect([&] { SetPropText(s, QStringLiteral("Border.Color"), QStringLiteral("clMauve")); }, invalid);
    expect([&] { SetPropText(s, QStringLiteral("Flags"), QStringLiteral("[tfShiny]")); }, invalid);
    expect([&] { SetPropText(s, QStringLiteral("Tag"), QStringLiteral("12abc")); }, invalid);
    expect([&] { SetPropText(s, QStringLiteral("Parent"), QStringLiteral("Nobody")); }, invalid);
    expect([&] { SetOrdProp(s, QStringLiteral("Style"), 7); }, invalid);
    expect([&] { SetOrdProp(s, QStringLiteral("Caption"), 7); }, invalid);
    expect([&] { SetPropText(s, QStringLiteral("Border"), QStringLiteral("x")); }, invalid);
    // A reference of the wrong class is refused.
    TComponent plain(&owner);
    expect([&] { SetRefProp(s, QStringLiteral("Parent"), &plain); }, invalid);
    // Nothing changed on the way.
    QCOMPARE(s.Style(), tstRectangle);
    QCOMPARE(s.Tag(), 0);
    QCOMPARE(s.Parent(), nullptr);
}

QTEST_GUILESS_MAIN(TestProperties)
#include "tst_properties.moc"
