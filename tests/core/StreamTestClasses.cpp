#include "StreamTestClasses.h"

#include "core/ClassRegistry.h"
#include "core/CoreConst.h"
#include "core/Exceptions.h"
#include "core/Reader.h"
#include "core/Writer.h"

#include <QBuffer>
#include <algorithm>

QStringList *TTreeNodeShape::Journal = nullptr;

// ---------------------------------------------------------------------------

const TClassInfo &TTestLines::StaticClassInfo()
{
    using C = TTestLines;
    static const TClassInfo info = TClassBuilder<C>("TTestLines", TPersistent::StaticClassInfo())
                                       .Integer("Angle", &C::Angle, &C::SetAngle, 0)
                                       .Enum("HorizAlign", &C::HorizAlign, &C::SetHorizAlign, htaCenter);
    return info;
}

void TTestLines::DefineProperties(TFiler &filer)
{
    filer.DefineProperty(
        QStringLiteral("Strings"),
        [this](TReader &r) {
            QStringList lines;
            r.ReadListBegin();
            while (!r.EndOfList())
                lines << r.ReadString();
            r.ReadListEnd();
            Lines = lines;
        },
        [this](TWriter &w) {
            w.WriteListBegin();
            for (const QString &line : Lines)
                w.WriteString(line);
            w.WriteListEnd();
        },
        !Lines.isEmpty());
}

const TClassInfo &TTestPen::StaticClassInfo()
{
    using C = TTestPen;
    static const TClassInfo info = TClassBuilder<C>("TTestPen", TPersistent::StaticClassInfo())
                                       .Color("Color", &C::Color, &C::SetColor, clBlack)
                                       .Integer("Width", &C::Width, &C::SetWidth, 1);
    return info;
}

const TClassInfo &TTestShadow::StaticClassInfo()
{
    using C = TTestShadow;
    static const TClassInfo info = TClassBuilder<C>("TTestShadow", TPersistent::StaticClassInfo())
                                       .Integer("HorizSize", &C::HorizSize, &C::SetHorizSize, 0)
                                       .Integer("VertSize", &C::VertSize, &C::SetVertSize, 0);
    return info;
}

const TClassInfo &TTestFont::StaticClassInfo()
{
    using C = TTestFont;
    static const TClassInfo info = TClassBuilder<C>("TTestFont", TPersistent::StaticClassInfo())
                                       .Charset("Charset", &C::Charset, &C::SetCharset, DEFAULT_CHARSET)
                                       .String("Name", &C::Name, &C::SetName, QStringLiteral("Arial"))
                                       .Set<TTestFontStyle>("Style", &C::Style, &C::SetStyle, 0)
                                       .Object<TTestShadow>("Shadow", &C::PeekShadow, &C::Shadow);
    return info;
}

TTestShadow *TTestFont::Shadow()
{
    if (!FShadow)
        FShadow = std::make_unique<TTestShadow>();
    return FShadow.get();
}

const TClassInfo &TTestPicture::StaticClassInfo()
{
    static const TClassInfo info("TTestPicture", &TPersistent::StaticClassInfo());
    return info;
}

void TTestPicture::DefineProperties(TFiler &filer)
{
    filer.DefineBinaryProperty(
        QStringLiteral("Data"),
        [this](const QByteArray &data) {
            // The graphic's class name comes first, as a short string.
            if (data.isEmpty() || static_cast<uint8_t>(data.at(0)) + 1 > data.size())
                throw EPropertyError(SInvalidPropertyValue);
            Data = data;
        },
        [this](QByteArray &data) { data = Data; }, !Data.isEmpty());
}

const TClassInfo &TTestPointItem::StaticClassInfo()
{
    using C = TTestPointItem;
    static const TClassInfo info = TClassBuilder<C>("TTestPointItem", TCollectionItem::StaticClassInfo())
                                       .Integer("X", &C::X, &C::SetX)
                                       .Integer("Y", &C::Y, &C::SetY);
    return info;
}

void TTestPointItem::Assign(const TPersistent *source)
{
    if (const auto *other = dynamic_cast<const TTestPointItem *>(source)) {
        FX = other->FX;
        FY = other->FY;
        return;
    }
    TCollectionItem::Assign(source);
}

// ---------------------------------------------------------------------------

const TClassInfo &TTreeNodeShape::StaticClassInfo()
{
    using C = TTreeNodeShape;
    static const TClassInfo info =
        TClassBuilder<C>("TTreeNodeShape", TComponent::StaticClassInfo())
            .Boolean("AutoSize", &C::AutoSize, &C::SetAutoSize, true)
            .Color("BackColor", &C::BackColor, &C::SetBackColor, clNone)
            .Object<TTestPen>("Border", &C::PeekBorder, &C::Border)
            .Enum("Style", &C::Style, &C::SetStyle, tssRectangle)
            .Integer("X0", &C::X0, &C::SetX0)
            .Stored(&C::FixedX)
            .Cursor("Cursor", &C::Cursor, &C::SetCursor, crDefault)
            .Object<TTestFont>("Font", &C::PeekFont, &C::Font)
            .Object<TTestPicture>("Image", &C::PeekImage, &C::Image)
            .Reference<C>("Parent", &C::Parent, &C::SetParent)
            .Object<TTestLines>("Text", &C::PeekText, &C::Text)
            .String("Hint", &C::Hint, &C::SetHint)
            .Float("Scale", &C::Scale, &C::SetScale, 1.0)
            .Object<TCollection>("Points", &C::PeekPoints, &C::Points)
            .Integer("Transparency", &C::Transparency, &C::SetTransparency, 0)
            .Event("OnClick");
    return info;
}

TTreeNodeShape::TTreeNodeShape(TComponent *owner) : TComponent(owner)
{
}

namespace {

std::vector<TTreeNodeShape *> *NodesOf(TComponent *container)
{
    if (auto *diagram = dynamic_cast<TTestDiagram *>(container))
        return &diagram->Nodes;
    if (auto *node = dynamic_cast<TTreeNodeShape *>(container))
        return &node->Nodes;
    return nullptr;
}

} // namespace

TTreeNodeShape::~TTreeNodeShape()
{
    if (std::vector<TTreeNodeShape *> *nodes = NodesOf(FContainer)) {
        // Nodes go last first when their owner goes: look from the end.
        const auto it = std::find(nodes->rbegin(), nodes->rend(), this);
        if (it != nodes->rend())
            nodes->erase(std::next(it).base());
    }
    if (auto *diagram = dynamic_cast<TTestDiagram *>(FContainer); diagram && diagram->Selected() == this)
        diagram->SetSelected(nullptr);
    for (TTreeNodeShape *node : Nodes)
        node->FContainer = nullptr;
}

TTestPen *TTreeNodeShape::Border()
{
    if (!FBorder)
        FBorder = std::make_unique<TTestPen>();
    return FBorder.get();
}

TTestFont *TTreeNodeShape::Font()
{
    if (!FFont)
        FFont = std::make_unique<TTestFont>();
    return FFont.get();
}

TTestPicture *TTreeNodeShape::Image()
{
    if (!FImage)
        FImage = std::make_unique<TTestPicture>();
    return FImage.get();
}

TTestLines *TTreeNodeShape::Text()
{
    if (!FText)
        FText = std::make_unique<TTestLines>();
    return FText.get();
}

TCollection *TTreeNodeShape::Points()
{
    if (!FPoints)
        FPoints = std::make_unique<TCollection>(TCollection::FactoryOf<TTestPointItem>());
    return FPoints.get();
}

void TTreeNodeShape::SetParent(TTreeNodeShape *v)
{
    for (TTreeNodeShape *p = v; p; p = p->FParent)
        if (p == this)
            throw EPropertyError(SInvalidPropertyValue); // a node cannot descend from itself
    FParent = v;
    if (Journal)
        *Journal << QStringLiteral("parent %1=%2").arg(Name(), v ? v->Name() : QString());
}

void TTreeNodeShape::SetTransparency(int v)
{
    if (v < 0 || v > 100)
        throw EPropertyError(SInvalidPropertyValue);
    FTransparency = v;
}

void TTreeNodeShape::Loaded()
{
    TComponent::Loaded();
    if (Journal)
        *Journal << QStringLiteral("loaded %1").arg(Name());
}

void TTreeNodeShape::AttachToParent(TComponent *parent)
{
    if (std::vector<TTreeNodeShape *> *nodes = NodesOf(parent)) {
        FContainer = parent;
        nodes->push_back(this);
    }
    if (Journal)
        *Journal << QStringLiteral("attached %1").arg(Name());
}

// ---------------------------------------------------------------------------

const TClassInfo &TTestDiagram::StaticClassInfo()
{
    using C = TTestDiagram;
    static const TClassInfo info = TClassBuilder<C>("TTestDiagram", TComponent::StaticClassInfo())
                                       .Color("Color", &C::Color, &C::SetColor, clWhite)
                                       .Integer("Zoom", &C::Zoom, &C::SetZoom, 100)
                                       .Reference<TComponent>("Selected", &C::Selected, &C::SetSelected);
    return info;
}

void TTreeNodeShape::GetChildren(const std::function<void(TComponent *)> &proc) const
{
    for (TTreeNodeShape *node : Nodes)
        proc(node);
}

TTestDiagram::~TTestDiagram()
{
    for (TTreeNodeShape *node : Nodes)
        node->FContainer = nullptr;
}

void TTestDiagram::DefineProperties(TFiler &filer)
{
    // An older name of a setting: read, never written.
    filer.DefineProperty(QStringLiteral("GridStep"), [this](TReader &r) { FGridStep = r.ReadInteger(); }, nullptr,
                         false);
}

void TTestDiagram::GetChildren(const std::function<void(TComponent *)> &proc) const
{
    for (TTreeNodeShape *node : Nodes)
        proc(node);
}

void RegisterStreamTestClasses()
{
    RegisterClass<TTreeNodeShape>();
    RegisterClass<TTestDiagram>();
}

QByteArray SaveStream(TComponent &root)
{
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    TWriter writer(out);
    writer.WriteRootComponent(root);
    return out.data();
}
