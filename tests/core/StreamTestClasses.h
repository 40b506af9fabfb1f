#pragma once
// Classes shaped like the diagram's elements, for exercising the component
// stream without the diagram: a node with a text object whose lines are an
// extra property, a pen, a font with a shadow, a picture with binary data,
// a point collection, references between nodes, and a diagram-like root
// that hands its nodes to the writer and collects them when read.

#include "core/Collection.h"
#include "core/Colors.h"
#include "core/Component.h"
#include "core/NameTables.h"

#include <QByteArray>
#include <QStringList>
#include <memory>
#include <vector>

DX_ENUM(TTestShapeStyle, tssRectangle, tssCircle, tssVertLine, tssHorizLine, tssLine, tssInvertLine, tssDiamond)
DX_ENUM(TTestTextAlign, htaCenter, htaLeft, htaRight)
DX_ENUM(TTestFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)

// The text object: lines written as the extra property "Strings".
class TTestLines : public TPersistent
{
    DX_OBJECT(TTestLines)
public:
    QStringList Lines;
    int Angle() const { return FAngle; }
    void SetAngle(int v) { FAngle = v; }
    TTestTextAlign HorizAlign() const { return FHorizAlign; }
    void SetHorizAlign(TTestTextAlign v) { FHorizAlign = v; }
    void DefineProperties(TFiler &filer) override;

private:
    int FAngle = 0;
    TTestTextAlign FHorizAlign = htaCenter;
};

class TTestPen : public TPersistent
{
    DX_OBJECT(TTestPen)
public:
    TColor Color() const { return FColor; }
    void SetColor(TColor v) { FColor = v; }
    int Width() const { return FWidth; }
    void SetWidth(int v) { FWidth = v; }

private:
    TColor FColor = clBlack;
    int FWidth = 1;
};

class TTestShadow : public TPersistent
{
    DX_OBJECT(TTestShadow)
public:
    int HorizSize() const { return FHorizSize; }
    void SetHorizSize(int v) { FHorizSize = v; }
    int VertSize() const { return FVertSize; }
    void SetVertSize(int v) { FVertSize = v; }

private:
    int FHorizSize = 0;
    int FVertSize = 0;
};

class TTestFont : public TPersistent
{
    DX_OBJECT(TTestFont)
public:
    int Charset() const { return FCharset; }
    void SetCharset(int v) { FCharset = v; }
    QString Name() const { return FName; }
    void SetName(const QString &v) { FName = v; }
    TSetBits Style() const { return FStyle; }
    void SetStyle(TSetBits v) { FStyle = v; }
    TTestShadow *PeekShadow() const { return FShadow.get(); }
    TTestShadow *Shadow();

private:
    int FCharset = DEFAULT_CHARSET;
    QString FName = QStringLiteral("Arial");
    TSetBits FStyle = 0;
    std::unique_ptr<TTestShadow> FShadow;
};

// A picture whose graphic is the binary extra property "Data".
class TTestPicture : public TPersistent
{
    DX_OBJECT(TTestPicture)
public:
    QByteArray Data;
    void DefineProperties(TFiler &filer) override;
};

class TTestPointItem : public TCollectionItem
{
    DX_OBJECT(TTestPointItem)
public:
    int X() const { return FX; }
    void SetX(int v) { FX = v; }
    int Y() const { return FY; }
    void SetY(int v) { FY = v; }
    void Assign(const TPersistent *source) override;

private:
    int FX = 0;
    int FY = 0;
};

class TTreeNodeShape : public TComponent
{
    DX_OBJECT(TTreeNodeShape)
public:
    explicit TTreeNodeShape(TComponent *owner = nullptr);
    ~TTreeNodeShape() override;

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool v) { FAutoSize = v; }
    TColor BackColor() const { return FBackColor; }
    void SetBackColor(TColor v) { FBackColor = v; }
    TTestPen *PeekBorder() const { return FBorder.get(); }
    TTestPen *Border();
    TTestShapeStyle Style() const { return FStyle; }
    void SetStyle(TTestShapeStyle v) { FStyle = v; }
    int X0() const { return FX0; }
    // Setting a coordinate fixes it, so it is stored.
    void SetX0(int v)
    {
        FX0 = v;
        FFixedX = true;
    }
    bool FixedX() const { return FFixedX; }
    void SetFixedX(bool v) { FFixedX = v; }
    int Cursor() const { return FCursor; }
    void SetCursor(int v) { FCursor = v; }
    TTestFont *PeekFont() const { return FFont.get(); }
    TTestFont *Font();
    TTestPicture *PeekImage() const { return FImage.get(); }
    TTestPicture *Image();
    TTreeNodeShape *Parent() const { return FParent; }
    void SetParent(TTreeNodeShape *v);
    TTestLines *PeekText() const { return FText.get(); }
    TTestLines *Text();
    QString Hint() const { return FHint; }
    void SetHint(const QString &v) { FHint = v; }
    double Scale() const { return FScale; }
    void SetScale(double v) { FScale = v; }
    TCollection *PeekPoints() const { return FPoints.get(); }
    TCollection *Points();
    int Transparency() const { return FTransparency; }
    // Refuses values beyond 0..100 like a real setter.
    void SetTransparency(int v);

    // When set, what the reader did to nodes, in order: "loaded <name>",
    // "attached <name>", "parent <name>=<parent name>".
    static QStringList *Journal;
    void Loaded() override;
    void AttachToParent(TComponent *parent) override;

    // Nodes read as child records of this one, written back the same way.
    std::vector<TTreeNodeShape *> Nodes;
    void GetChildren(const std::function<void(TComponent *)> &proc) const override;

private:
    bool FAutoSize = true;
    TColor FBackColor = clNone;
    std::unique_ptr<TTestPen> FBorder;
    TTestShapeStyle FStyle = tssRectangle;
    int FX0 = 0;
    bool FFixedX = false;
    int FCursor = crDefault;
    std::unique_ptr<TTestFont> FFont;
    std::unique_ptr<TTestPicture> FImage;
    TTreeNodeShape *FParent = nullptr;
    std::unique_ptr<TTestLines> FText;
    QString FHint;
    double FScale = 1.0;
    std::unique_ptr<TCollection> FPoints;
    int FTransparency = 0;
    TComponent *FContainer = nullptr; // the diagram or node listing this one
    friend class TTestDiagram;
};

// A diagram-like root: its nodes are owned by its owner (or itself) and
// listed here; the writer gets them as children, the reader attaches them.
class TTestDiagram : public TComponent
{
    DX_OBJECT(TTestDiagram)
public:
    using TComponent::TComponent;
    ~TTestDiagram() override;

    TColor Color() const { return FColor; }
    void SetColor(TColor v) { FColor = v; }
    int Zoom() const { return FZoom; }
    void SetZoom(int v) { FZoom = v; }
    // Any component: the selected node, or the diagram itself.
    TComponent *Selected() const { return FSelected; }
    void SetSelected(TComponent *v) { FSelected = v; }
    int GridStep() const { return FGridStep; }
    void DefineProperties(TFiler &filer) override;

    std::vector<TTreeNodeShape *> Nodes;
    void GetChildren(const std::function<void(TComponent *)> &proc) const override;

private:
    TColor FColor = clWhite;
    int FZoom = 100;
    TComponent *FSelected = nullptr;
    int FGridStep = 8;
};

// Registers the classes above with the class registry (once).
void RegisterStreamTestClasses();

// The stream of a root as the writer makes it: "TPF0" and the root's record.
QByteArray SaveStream(TComponent &root);
