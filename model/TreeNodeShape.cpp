#include "model/TreeNodeShape.h"

#include "core/ClassRegistry.h"
#include "core/Collection.h"
#include "core/Rounding.h"
#include "model/TreeConnection.h"
#include "model/TreeDocument.h"
#include "model/TreeImagePool.h"
#include "model/TreeWalk.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

namespace {

const TNodeShapeList &EmptyNodeList()
{
    static const TNodeShapeList empty;
    return empty;
}

} // namespace

// ---------------------------------------------------------------------------
// Class information

const TClassInfo &TTreeNodeShape::StaticClassInfo()
{
    using N = TTreeNodeShape;
    static const TClassInfo info =
        TClassBuilder<N>("TTreeNodeShape", TCustomTreeElement::StaticClassInfo())
            .Object<TTreeShapeAutoPosition>("AutoPosition", &N::PeekAutoPosition, &N::AutoPosition)
            .Boolean("AutoSize", &N::AutoSize, &N::SetAutoSize, true)
            .Color("BackColor", &N::BackColor, &N::SetBackColor, clNone)
            .Object<TChartPen>("Border", &N::PeekBorder, &N::Border)
            .Object<TTreeShapeBrush>("Brush", &N::PeekBrush, &N::Brush)
            .Color("Color", &N::Color, &N::SetColor, clWhite)
            .Object<TKorGradient>("Gradient", &N::PeekGradient, &N::Gradient)
            .Boolean("GradientClip", &N::GradientClip, &N::SetGradientClip, true)
            .Object<TTreePicture>("Image", &N::PeekImage, &N::Image)
            .Stored([](const N &n) { return n.PeekImage() && n.ImageIndex() == tiNone && n.ImageListIndex() == -1; })
            .Enum("ImageAlignment", &N::ImageAlignment, &N::SetImageAlignment, iaAutomatic)
            .Integer("ImageHeight", &N::ImageHeight, &N::SetImageHeight, 0)
            .Integer("ImageWidth", &N::ImageWidth, &N::SetImageWidth, 0)
            .Object<TKorShadow>("Shadow", &N::PeekShadow, &N::Shadow)
            .Enum("Style", &N::Style, &N::SetStyle, tssRectangle)
            .Integer("Transparency", &N::Transparency, &N::SetTransparency, 0)
            .Boolean("Transparent", &N::Transparent, &N::SetTransparent, false)
            .Boolean("Visible", &N::Visible, &N::SetVisible, true)
            .Integer("X0", &N::X0, &N::SetX0)
            .Stored([](const N &n) { return n.PeekAutoPosition() && !n.PeekAutoPosition()->Left(); })
            .Integer("X1", &N::X1, &N::SetX1)
            .Stored([](const N &n) { return !n.AutoSize() && n.PeekAutoPosition() && !n.PeekAutoPosition()->Left(); })
            .Integer("Y0", &N::Y0, &N::SetY0)
            .Stored([](const N &n) { return n.PeekAutoPosition() && !n.PeekAutoPosition()->Top(); })
            .Integer("Y1", &N::Y1, &N::SetY1)
            .Stored([](const N &n) { return !n.AutoSize() && n.PeekAutoPosition() && !n.PeekAutoPosition()->Top(); })
            .Cursor("Cursor", &N::Cursor, &N::SetCursor, 0)
            .Object<TKorFont>("Font", &N::PeekFont, &N::Font)
            .Boolean("Expanded", &N::Expanded, &N::SetExpanded, false)
            .Enum("ImageIndex", &N::ImageIndex, &N::SetImageIndex, tiFolderOpenClose)
            .Stored([](const N &n) { return n.ImageIndex() != tiFolderOpenClose && n.ImageIndex() <= tiFolderRadioUnChecked; })
            .Integer("ImageListIndex", &N::ImageListIndex, &N::SetImageListIndex, -1)
            .Reference<TTreeNodeShape>("Parent", &N::Parent, &N::SetParent)
            .Enum("ShowCross", &N::ShowCross, &N::SetShowCross, scAuto)
            .Object<TTreeStrings>("Text", &N::PeekText, &N::Text)
            .Event("OnClick")
            .Event("OnDblClick")
            .Event("OnMouseEnter")
            .Event("OnMouseLeave")
            .Event("OnMouseMove");
    return info;
}

const TClassInfo &TTextShape::StaticClassInfo()
{
    using N = TTextShape;
    static const TClassInfo info =
        TClassBuilder<N>("TTextShape", TTreeNodeShape::StaticClassInfo())
            .Redefault("Transparent", 1)
            // A text shape may show the folder images too (AddShape gives it
            // the diagram's default image), and that must survive a file.
            .Redefault("ImageIndex", tiNone)
            .Stored([](const N &n) { return n.ImageIndex() != tiNone && n.ImageIndex() <= tiFolderRadioUnChecked; });
    return info;
}

// ---------------------------------------------------------------------------
// Construction and destruction

TTreeNodeShape::TTreeNodeShape(TComponent *owner) : TCustomTreeElement(owner) {}

TTextShape::TTextShape(TComponent *owner) : TTreeNodeShape(owner)
{
    Border()->SetVisible(false);
    SetTransparent(true);
    SetImageIndex(tiNone);
    SetImageSize(0, 0);
}

std::unique_ptr<TChartPen> TTextShape::NewBorder() const
{
    return std::make_unique<TTreeHiddenPen>();
}

TTreeNodeShape::~TTreeNodeShape()
{
    TTreeDocument *tree = FTree;
    const bool clearing = tree && tree->Clearing();
    if (tree && !clearing) {
        tree->ForgetElement(this);
        tree->FShapes.Remove(this);
        if (FSelected)
            tree->FSelected.Remove(this);
        if (!FParent)
            tree->FRoots.Remove(this);
    }
    if (!clearing)
        FreeSubtreeAndLinks();
    FParts.reset();
    if (tree && !clearing)
        tree->Invalidate();
}

void TTreeNodeShape::FreeSubtreeAndLinks()
{
    if (HasChildren()) {
        // Deepest and last first, so no destructor meets children of its own
        // and every removal happens at the end of a list.
        std::vector<TTreeNodeShape *> subtree;
        ForEachInSubtree(this, [&](TTreeNodeShape *n) { subtree.push_back(n); });
        for (size_t i = subtree.size(); i-- > 1;)
            delete subtree[i];
    }
    while (FConnections && !FConnections->IsEmpty())
        delete FConnections->Items(FConnections->Count() - 1);
    while (FIncomingOne)
        delete FIncomingOne;
    if (FParent)
        FParent->RemoveChild(this);
}

// ---------------------------------------------------------------------------
// Element overrides

void TTreeNodeShape::Changed()
{
    if (FAutoSize)
        FSizeValid = false;
    TCustomTreeElement::Changed();
}

void TTreeNodeShape::SetTree(TTreeDocument *tree)
{
    if (tree == FTree)
        return;
    // Relatives left behind in the old diagram (or brought from none) are
    // links across diagrams until they follow.
    if (FTree || FParent || HasChildren() || ConnectionCount() > 0 || FIncomingOne)
        TTreeDocument::NoteForeignLinks(FTree, tree);
    if (TTreeDocument *old = FTree) {
        old->FShapes.Remove(this);
        if (!FParent)
            old->FRoots.Remove(this);
        if (FSelected)
            old->FSelected.Remove(this);
        if (Owner() == old)
            (void)old->RemoveComponent(this).release(); // the diagram's lists keep it from now on
    }
    FTree = tree;
    if (tree) {
        tree->FShapes.Add(this);
        if (FParent) {
            tree->FRoots.Remove(this);
        } else {
            tree->FRoots.Add(this);
            FBrotherIndex = -1;
        }
        if (FSelected)
            tree->FSelected.Add(this);
    }
}

void TTreeNodeShape::SetTreeRecursive(TTreeDocument *tree)
{
    // The node, then each child's subtree, then the node's connections.
    WalkSubtree(
        this,
        [tree](TTreeNodeShape *node) {
            node->SetTree(tree);
            return true;
        },
        [tree](TTreeNodeShape *node) {
            if (node->FConnections)
                for (TTreeConnection *c : *node->FConnections)
                    c->SetTree(tree);
        });
}

void TTreeNodeShape::AssignFormat(const TTreeNodeShape *s)
{
    SetBackColor(s->FBackColor);
    SetBorder(s->PeekBorder());
    SetBrush(s->PeekBrush());
    SetGradient(s->PeekGradient());
    SetGradientClip(s->FGradientClip);
    SetImage(s->PeekImage());
    SetImageAlignment(s->FImageAlignment);
    SetImageHeight(s->FImageHeight);
    SetImageWidth(s->FImageWidth);
    SetShadow(s->PeekShadow());
    SetStyle(s->FStyle);
    SetTransparency(s->FTransparency);
    SetTransparent(s->FTransparent);
    SetExpanded(s->FExpanded);
    SetImageIndex(s->FImageIndex);
    SetImageListIndex(s->FImageListIndex);
    SetCursor(s->Cursor());
    SetFont(s->PeekFont());
    if (s->PeekText() || PeekText())
        SetText(s->PeekText());
    if (FParts && FParts->Image && (FImageIndex != tiNone || FImageListIndex != -1)) {
        FParts->Image.reset();
        RecalcImageSize();
    }
}

void TTreeNodeShape::Assign(const TPersistent *source)
{
    auto *s = dynamic_cast<const TTreeNodeShape *>(source);
    if (!s) {
        TCustomTreeElement::Assign(source);
        return;
    }
    if (s == this)
        return;
    AssignFormat(s);
    FAutoSize = s->FAutoSize;
    FSizeValid = !FAutoSize;
    FX0 = s->FX0;
    FX1 = s->FX1;
    FY0 = s->FY0;
    FY1 = s->FY1;
    FImageSizeW = s->FImageSizeW;
    FImageSizeH = s->FImageSizeH;
    TCustomTreeElement::Assign(s);
}

// ---------------------------------------------------------------------------
// Sub-objects

TTreeNodeShape::TParts &TTreeNodeShape::Parts()
{
    if (!FParts)
        FParts = std::make_unique<TParts>();
    return *FParts;
}

TTreeShapeAutoPosition *TTreeNodeShape::AutoPosition()
{
    auto &p = Parts().AutoPosition;
    if (!p)
        p = std::make_unique<TTreeShapeAutoPosition>(this);
    return p.get();
}

TTreeShapeAutoPosition *TTreeNodeShape::PeekAutoPosition() const
{
    return FParts ? FParts->AutoPosition.get() : nullptr;
}

void TTreeNodeShape::SetAutoPosition(const TTreeShapeAutoPosition *value)
{
    AssignPart(
        PeekAutoPosition(), value, [this] { return AutoPosition(); }, [this] { FParts->AutoPosition.reset(); }, [this] { Changed(); });
}

TChartPen *TTreeNodeShape::Border()
{
    auto &p = Parts().Border;
    if (!p) {
        p = NewBorder();
        if (FTree)
            p->Assign(FTree->DefaultFormat().Border());
        p->OnChange = [this](TGraphicsObject *) { Changed(); };
    }
    return p.get();
}

TChartPen *TTreeNodeShape::PeekBorder() const
{
    return FParts ? FParts->Border.get() : nullptr;
}

void TTreeNodeShape::SetBorder(const TChartPen *value)
{
    AssignPart(
        PeekBorder(), value, [this] { return Border(); }, [this] { FParts->Border.reset(); }, [this] { Changed(); });
}

TTreeShapeBrush *TTreeNodeShape::Brush()
{
    auto &p = Parts().Brush;
    if (!p) {
        p = std::make_unique<TTreeShapeBrush>();
        if (FTree)
            p->Assign(FTree->DefaultFormat().Brush());
        p->OnChange = [this](TGraphicsObject *) { Changed(); };
    }
    return p.get();
}

TTreeShapeBrush *TTreeNodeShape::PeekBrush() const
{
    return FParts ? FParts->Brush.get() : nullptr;
}

void TTreeNodeShape::SetBrush(const TChartBrush *value)
{
    AssignPart(
        PeekBrush(), value, [this] { return Brush(); }, [this] { FParts->Brush.reset(); }, [this] { Changed(); });
}

TColor TTreeNodeShape::Color() const
{
    const TTreeShapeBrush *b = PeekBrush();
    return b ? b->Color() : clWhite;
}

void TTreeNodeShape::SetColor(TColor value)
{
    Brush()->SetColor(value);
}

TKorGradient *TTreeNodeShape::Gradient()
{
    auto &p = Parts().Gradient;
    if (!p)
        p = NewPart<TKorGradient>();
    return p.get();
}

TKorGradient *TTreeNodeShape::PeekGradient() const
{
    return FParts ? FParts->Gradient.get() : nullptr;
}

void TTreeNodeShape::SetGradient(const TKorGradient *value)
{
    AssignPart(
        PeekGradient(), value, [this] { return Gradient(); }, [this] { FParts->Gradient.reset(); }, [this] { Changed(); });
}

TKorShadow *TTreeNodeShape::Shadow()
{
    auto &p = Parts().Shadow;
    if (!p)
        p = NewPart<TKorShadow>();
    return p.get();
}

TKorShadow *TTreeNodeShape::PeekShadow() const
{
    return FParts ? FParts->Shadow.get() : nullptr;
}

void TTreeNodeShape::SetShadow(const TKorShadow *value)
{
    AssignPart(
        PeekShadow(), value, [this] { return Shadow(); }, [this] { FParts->Shadow.reset(); }, [this] { Changed(); });
}

TTreePicture *TTreeNodeShape::Image()
{
    auto &p = Parts().Image;
    if (!p)
        p = std::make_unique<TTreePicture>([this](TGraphicsObject *) { OwnPictureChanged(); });
    return p.get();
}

TTreePicture *TTreeNodeShape::PeekImage() const
{
    return FParts ? FParts->Image.get() : nullptr;
}

void TTreeNodeShape::SetImage(const TPicture *value)
{
    if (!value) {
        if (PeekImage()) {
            FParts->Image.reset();
            RecalcImageSize();
            Changed();
        }
        return;
    }
    FImageListIndex = -1;
    if (value != PeekImage())
        Image()->Assign(value);
    RecalcImageSize();
}

void TTreeNodeShape::OwnPictureChanged()
{
    if (FRefreshingPicture)
        return;
    if (PeekImage() && PeekImage()->HasGraphic()) {
        FImageIndex = tiNone;
        FImageListIndex = -1;
    }
    RecalcImageSize();
    Changed();
}

TNodeShapeEvents &TTreeNodeShape::Events()
{
    if (!FEvents)
        FEvents = std::make_unique<TNodeShapeEvents>();
    return *FEvents;
}

const TChartPen *TTreeNodeShape::EffectiveBorder() const
{
    if (const TChartPen *own = PeekBorder())
        return own;
    if (FTree)
        return FTree->DefaultFormat().Border();
    static const TChartPen defaults;
    return &defaults;
}

const TChartBrush *TTreeNodeShape::EffectiveBrush() const
{
    if (const TTreeShapeBrush *own = PeekBrush())
        return own;
    if (FTree)
        return FTree->DefaultFormat().Brush();
    static const TTreeShapeBrush defaults;
    return &defaults;
}

int TTreeNodeShape::VisibleBorderWidth() const
{
    const TChartPen *pen = EffectiveBorder();
    return pen->Visible() ? pen->Width() : 0;
}

// ---------------------------------------------------------------------------
// Plain properties

void TTreeNodeShape::SetAutoSize(bool value)
{
    if (value == FAutoSize)
        return;
    FAutoSize = value;
    FSizeValid = !value;
    Changed();
}

void TTreeNodeShape::SetBackColor(TColor value)
{
    Update(FBackColor, value);
}

void TTreeNodeShape::SetGradientClip(bool value)
{
    Update(FGradientClip, value);
}

void TTreeNodeShape::SetImageAlignment(TTreeImageAlignment value)
{
    Update(FImageAlignment, value);
}

void TTreeNodeShape::SetImageHeight(int value)
{
    if (Update(FImageHeight, ClampCoord(value)))
        RecalcImageSize();
}

void TTreeNodeShape::SetImageWidth(int value)
{
    if (Update(FImageWidth, ClampCoord(value)))
        RecalcImageSize();
}

void TTreeNodeShape::SetStyle(TTreeShapeStyle value)
{
    Update(FStyle, value);
}

void TTreeNodeShape::SetTransparency(uint8_t value)
{
    Update(FTransparency, std::min<uint8_t>(value, 100));
}

void TTreeNodeShape::SetTransparent(bool value)
{
    Update(FTransparent, value);
}

void TTreeNodeShape::SetVisible(bool value)
{
    Update(FVisible, value);
}

void TTreeNodeShape::SetShowCross(TTreeNodeShapeShowCross value)
{
    Update(FShowCross, value);
}

bool TTreeNodeShape::HasCross() const
{
    return FShowCross == scAlways || (FShowCross == scAuto && HasChildren());
}

void TTreeNodeShape::SetImageIndex(TTreeNodeImageIndex value)
{
    if (value == FImageIndex)
        return;
    FImageIndex = value;
    if (value != tiNone && !IsLoading()) {
        FImageListIndex = -1;
        if (PeekImage())
            FParts->Image.reset();
    }
    RecalcImageSize();
    Changed();
}

void TTreeNodeShape::SetImageListIndex(int value)
{
    if (Update(FImageListIndex, value))
        RecalcImageSize();
}

// ---------------------------------------------------------------------------
// Coordinates and size

int TTreeNodeShape::X1() const
{
    if (!FSizeValid && FTree)
        const_cast<TTreeNodeShape *>(this)->CalcSize(FTree->TreeCanvas());
    return FX1;
}

int TTreeNodeShape::Y1() const
{
    if (!FSizeValid && FTree)
        const_cast<TTreeNodeShape *>(this)->CalcSize(FTree->TreeCanvas());
    return FY1;
}

int TTreeNodeShape::FarEdge(int from, long long to)
{
    const long long reach = kCoordLimit;
    return ClampCoord(std::clamp<long long>(to, from - reach, from + reach));
}

void TTreeNodeShape::MoveEdges(int &near, int &far, long long to)
{
    const int edge = ClampCoord(to);
    far = FarEdge(edge, static_cast<long long>(far) + edge - near);
    near = edge;
}

void TTreeNodeShape::RestoreEdges(const TRect &edges)
{
    if (FX0 == edges.Left && FY0 == edges.Top && FX1 == edges.Right && FY1 == edges.Bottom)
        return;
    FX0 = edges.Left;
    FY0 = edges.Top;
    FX1 = edges.Right;
    FY1 = edges.Bottom;
    Changed();
}

void TTreeNodeShape::SetX0(int value)
{
    value = ClampCoord(value);
    if (value != FX0) {
        MoveEdges(FX0, FX1, value);
        Changed();
    }
    AutoPosition()->SetLeft(false);
}

void TTreeNodeShape::SetY0(int value)
{
    value = ClampCoord(value);
    if (value != FY0) {
        MoveEdges(FY0, FY1, value);
        Changed();
    }
    AutoPosition()->SetTop(false);
}

void TTreeNodeShape::SetX1(int value)
{
    value = FarEdge(FX0, value);
    if (value == X1())
        return;
    FAutoSize = false;
    FSizeValid = true;
    FX1 = value;
    Changed();
}

void TTreeNodeShape::SetY1(int value)
{
    value = FarEdge(FY0, value);
    if (value == Y1())
        return;
    FAutoSize = false;
    FSizeValid = true;
    FY1 = value;
    Changed();
}

void TTreeNodeShape::SetCalculatedBounds(const TRect &r)
{
    FX0 = ClampCoord(r.Left);
    FY0 = ClampCoord(r.Top);
    FX1 = FarEdge(FX0, r.Right);
    FY1 = FarEdge(FY0, r.Bottom);
    FSizeValid = true;
}

void TTreeNodeShape::SetHot(bool value)
{
    if (value == FHot)
        return;
    FHot = value;
    // The hot-track font may be larger or smaller than the node's own; a
    // fixed size stays as it is.
    if (FAutoSize)
        FSizeValid = false;
}

void TTreeNodeShape::CalcSize(TKorCanvas *canvas)
{
    if (!canvas)
        return;
    // Measured with the font it is drawn with.
    std::optional<TKorFont> changed;
    canvas->AssignFont(DrawingFont(changed));
    const int lines = LineCount();
    int w = 0;
    for (int i = 0; i < lines; ++i)
        w = std::max(w, canvas->TextWidth(Line(i)));
    // Text of any size still gives edges in the coordinate range.
    const long long tw = static_cast<long long>(w) + 2 * 3;
    const TChartPen *border = EffectiveBorder();
    const long long bw = border->Visible() ? border->Width() : 0;
    const long long h = canvas->TextHeight(QStringLiteral("W"));
    const long long hn = h * std::max(lines, 1);
    long long x1 = FX0 + tw + 2 * bw;
    long long y1 = border->Visible() ? FY0 + hn + bw : FY0 + hn + 1;
    switch (FStyle) {
    case tssCircle:
    case tssDiamond:
    case tssTriangleTop:
    case tssTriangleBottom:
    case tssTriangleLeft:
    case tssTriangleRight:
        x1 += tw;
        y1 += hn + 1;
        break;
    default:
        break;
    }
    FX1 = FarEdge(FX0, x1);
    FY1 = FarEdge(FY0, y1);
    FSizeValid = true;
}

int TTreeNodeShape::XCenter() const
{
    return dx::HalfSum(FX0, X1()) + (FTree ? FTree->DrawOffset().X : 0);
}

int TTreeNodeShape::YCenter() const
{
    return dx::HalfSum(FY0, Y1()) + (FTree ? FTree->DrawOffset().Y : 0);
}

TRect TTreeNodeShape::ConnectionRect() const
{
    const int half = VisibleBorderWidth() / 2;
    return TRect(FX0 - half, FY0, X1(), Y1() + half);
}

TPoint TTreeNodeShape::CalcConnectionPoint(const TRect &other) const
{
    return ConnectionGeometry::MeetingPoint(FStyle, ConnectionRect(), other);
}

// ---------------------------------------------------------------------------
// Moving and resizing

void TTreeNodeShape::MoveRelative(int dx, int dy, bool moveChildren)
{
    auto shift = [dx, dy](TTreeNodeShape *n) {
        MoveEdges(n->FX0, n->FX1, static_cast<long long>(n->FX0) + dx);
        MoveEdges(n->FY0, n->FY1, static_cast<long long>(n->FY0) + dy);
        n->ShiftOwnPoints(dx, dy);
    };
    if (moveChildren)
        ForEachInSubtree(this, shift);
    else
        shift(this);
    Changed();
}

TPoint TTreeNodeShape::UserMove(int dx, int dy, bool moveChildren)
{
    if (FTree)
        Fire(FTree->OnMovingShape, this, dx, dy);
    if (dx == 0 && dy == 0)
        return TPoint(0, 0);
    if (dx != 0)
        AutoPosition()->SetLeft(false);
    if (dy != 0)
        AutoPosition()->SetTop(false);
    {
        TTreeGeometryEdit scope(FTree, this, dy);
        MoveRelative(dx, dy, moveChildren);
    }
    return TPoint(dx, dy);
}

TTreeShapeHandle TTreeNodeShape::GetResizingCorner(int x, int y)
{
    const TPoint o = FTree ? FTree->DrawOffset() : TPoint();
    const int d = FTree ? FTree->Selected().HandleSize() : 3;
    const int left = FX0 + o.X, top = FY0 + o.Y;
    const int right = X1() + o.X, bottom = Y1() + o.Y;
    auto near = [x, y, d](int px, int py) { return std::abs(x - px) <= d && std::abs(y - py) <= d; };
    const int mx = dx::HalfSum(left, right) + 1;
    const int my = dx::HalfSum(top, bottom) + 1;
    TTreeShapeHandle corner = rcNone;
    if (near(left, top))
        corner = rcLeftTop;
    else if (near(right, bottom))
        corner = rcRightBottom;
    else if (near(right, top))
        corner = rcRightTop;
    else if (near(left, bottom))
        corner = rcLeftBottom;
    else if (near(left, my))
        corner = rcLeft;
    else if (near(right, my))
        corner = rcRight;
    else if (near(mx, top))
        corner = rcTop;
    else if (near(mx, bottom))
        corner = rcBottom;
    if (corner != rcNone) {
        bool allow = true;
        AllowResize(corner, x, y, allow);
        if (!allow)
            corner = rcNone;
    }
    return corner;
}

int TTreeNodeShape::GetResizingCursor(int x, int y)
{
    switch (GetResizingCorner(x, y)) {
    case rcLeftTop:
    case rcRightBottom:
        return crSizeNWSE;
    case rcLeftBottom:
    case rcRightTop:
        return crSizeNESW;
    case rcLeft:
    case rcRight:
        return crSizeWE;
    case rcTop:
    case rcBottom:
        return crSizeNS;
    default:
        return crDefault;
    }
}

void TTreeNodeShape::Resize(TTreeShapeHandle corner, int dx, int dy)
{
    if (FTree)
        Fire(FTree->OnResizingShape, this, corner, dx, dy);
    if (dx == 0 && dy == 0)
        return;
    long long left = FX0, top = FY0, right = X1(), bottom = Y1();
    const bool moveLeft = corner == rcLeftTop || corner == rcLeftBottom || corner == rcLeft;
    const bool moveRight = corner == rcRightBottom || corner == rcRightTop || corner == rcRight;
    const bool moveTop = corner == rcLeftTop || corner == rcRightTop || corner == rcTop;
    const bool moveBottom = corner == rcRightBottom || corner == rcLeftBottom || corner == rcBottom;
    if (moveLeft)
        left = std::min(left + dx, right - 1);
    if (moveRight)
        right = std::max(right + dx, left + 1);
    if (moveTop)
        top = std::min(top + dy, bottom - 1);
    if (moveBottom)
        bottom = std::max(bottom + dy, top + 1);
    TTreeGeometryEdit scope(FTree, this, dy);
    SetCalculatedBounds(TRect(ClampCoord(left), ClampCoord(top), ClampCoord(right), ClampCoord(bottom)));
    FAutoSize = false;
    FSizeValid = true;
    Changed();
}

// ---------------------------------------------------------------------------
// Image

const TPicture *TTreeNodeShape::NodePicture()
{
    if (FImageListIndex != -1 && FTree) {
        const TImageList *list = FTree->Images();
        const QImage image = list ? list->Image(FImageListIndex) : QImage();
        if (image.isNull())
            return PeekImage();
        // Refreshing the copy of the list's picture is not a change of the
        // node's own picture: the node keeps showing the list.
        TTreePicture *own = Image();
        if (own->Image().cacheKey() != image.cacheKey() || !own->Transparent()) {
            FRefreshingPicture = true;
            own->SetImage(image);
            own->SetTransparentColor(clDefault);
            own->SetTransparent(true);
            FRefreshingPicture = false;
        }
        return own;
    }
    if (FImageIndex == tiNone)
        return PeekImage();
    int index = FImageIndex;
    if (index == tiFolderOpenClose)
        index = FExpanded ? tiFolderOpen : tiFolderClose;
    return TTreeImagePool::Instance().Picture(index);
}

void TTreeNodeShape::RecalcImageSize()
{
    const TPicture *picture = NodePicture();
    if (picture && picture->HasGraphic())
        SetImageSize(FImageWidth != 0 ? FImageWidth : picture->Width(),
                     FImageHeight != 0 ? FImageHeight : picture->Height());
    else
        SetImageSize(0, 0);
}

// ---------------------------------------------------------------------------
// Selection

void TTreeNodeShape::SetSelected(bool value)
{
    if (value == FSelected)
        return;
    TTreeDocument *tree = FTree;
    if (tree && value) {
        // A node selected ends the connection's selection and the editing.
        tree->FConnections.SetSelected(nullptr);
        tree->StopEditing(true);
        if (value == FSelected)
            return;
    }
    FSelected = value;
    if (!tree)
        return;
    if (value)
        tree->FSelected.Add(this);
    else
        tree->FSelected.Remove(this);
    tree->SelectionChanged(this, value);
    if (tree->NoticesActive()) {
        TTreeChange change;
        change.Kind = tckSelection;
        change.Element = this;
        tree->NotifyChanged(change);
    }
    Fire(value ? tree->OnSelectShape : tree->OnUnSelectShape, this);
}

void TTreeNodeShape::SelectChildren()
{
    ForEachInSubtree(this, [this](TTreeNodeShape *n) {
        if (n != this)
            n->SetSelected(true);
    });
}

// ---------------------------------------------------------------------------
// Hierarchy

const TNodeShapeList &TTreeNodeShape::Children() const
{
    return FChildren ? *FChildren : EmptyNodeList();
}

TNodeShapeList &TTreeNodeShape::ChildList()
{
    if (!FChildren)
        FChildren = std::make_unique<TNodeShapeList>();
    return *FChildren;
}

void TTreeNodeShape::AppendChild(TTreeNodeShape *child)
{
    TNodeShapeList &list = ChildList();
    list.Add(child);
    child->FBrotherIndex = list.Count() - 1;
}

void TTreeNodeShape::RenumberChildren(int from)
{
    for (int i = std::max(from, 0); i < ChildCount(); ++i)
        FChildren->Items(i)->FBrotherIndex = i;
}

void TTreeNodeShape::RemoveChild(TTreeNodeShape *child)
{
    int index = child->FBrotherIndex;
    if (!FChildren || FChildren->Items(index) != child)
        index = FChildren ? FChildren->IndexOf(child) : -1;
    if (index >= 0) {
        FChildren->Delete(index);
        RenumberChildren(index);
    }
    child->FBrotherIndex = -1;
    // Connections of this node ending at the child go with the link.
    for (TTreeConnection *c : child->IncomingConnections())
        if (c->FromShape() == this)
            delete c;
}

int TTreeNodeShape::Level() const
{
    int level = 0;
    for (const TTreeNodeShape *p = FParent; p; p = p->FParent)
        ++level;
    return level;
}

TTreeNodeShape *TTreeNodeShape::RootOf()
{
    TTreeNodeShape *n = this;
    while (n->FParent)
        n = n->FParent;
    return n;
}

TTreeNodeShape *TTreeNodeShape::PreviousBrother() const
{
    if (!FParent || FBrotherIndex < 1)
        return nullptr;
    return FParent->Child(FBrotherIndex - 1);
}

bool TTreeNodeShape::IsAncestorOf(const TTreeNodeShape *node) const
{
    // A node without children is nobody's ancestor: linking a deep chain
    // parent first (as a file does) then costs nothing per link.
    if (!HasChildren())
        return false;
    for (const TTreeNodeShape *p = node ? node->FParent : nullptr; p; p = p->FParent)
        if (p == this)
            return true;
    return false;
}

void TTreeNodeShape::SetParent(TTreeNodeShape *parent)
{
    // Under itself, its own parent or any of its descendants would make a
    // cycle (or change nothing).
    if (parent == this || parent == FParent || IsAncestorOf(parent))
        return;
    if (FParent)
        FParent->RemoveChild(this);
    else if (FTree)
        FTree->FRoots.Remove(this);
    FParent = parent;
    if (parent) {
        parent->AppendChild(this);
        if (parent->FTree != FTree)
            SetTreeRecursive(parent->FTree); // the whole branch moves along
        FVisible = parent->FExpanded;
    } else {
        if (FTree)
            FTree->FRoots.Add(this);
        FBrotherIndex = -1;
        FVisible = true;
    }
    Changed();
}

TTreeNodeShape *TTreeNodeShape::AddChild(const QString &text)
{
    if (!FTree)
        return nullptr;
    return FTree->AddShape(FX0 + 19, 1, this, text);
}

TTreeNodeShape *TTreeNodeShape::AddBrother(const QString &text)
{
    return FParent ? FParent->AddChild(text) : nullptr;
}

void TTreeNodeShape::BringToFront()
{
    if (FParent) {
        FParent->FChildren->Move(FBrotherIndex, FParent->ChildCount() - 1);
        FParent->RenumberChildren(FBrotherIndex);
    } else if (FTree) {
        const int index = FTree->FRoots.IndexOf(this);
        FTree->FRoots.Move(index, FTree->FRoots.Count() - 1);
    }
    if (FTree)
        FTree->FShapes.Move(FTree->FShapes.IndexOf(this), FTree->FShapes.Count() - 1);
    Changed();
}

void TTreeNodeShape::SendToBack()
{
    if (FParent) {
        FParent->FChildren->Move(FBrotherIndex, 0);
        FParent->RenumberChildren(0);
    } else if (FTree) {
        FTree->FRoots.Move(FTree->FRoots.IndexOf(this), 0);
    }
    if (FTree)
        FTree->FShapes.Move(FTree->FShapes.IndexOf(this), 0);
    Changed();
}

int TTreeNodeShape::SetExpanded(bool value)
{
    if (value == FExpanded)
        return 0;
    if (!FTree) {
        FExpanded = value;
        return 0;
    }
    TTreeDocument *tree = FTree;
    Fire(tree->OnExpandingCollapsing, this, value);
    FExpanded = value;
    // Children take the new visibility; a child that changes passes it on to
    // its children when it is expanded itself. Collapsing over a selected
    // node selects the node being collapsed; with single selection the
    // hidden node gives its selection up.
    int count = 0;
    WalkSubtree(
        this,
        [&](TTreeNodeShape *child) {
            if (child == this)
                return true;
            bool descend = false;
            if (child->FVisible != value) {
                child->FVisible = value;
                ++count;
                descend = child->FExpanded && child->HasChildren();
            }
            // A node out of sight gives its selection to the collapsed one,
            // so nothing hidden is deleted or moved with the selection.
            if (!value && child->FSelected) {
                child->SetSelected(false);
                SetSelected(true);
            }
            return descend;
        },
        [](TTreeNodeShape *) {});
    tree->StopEditing(true);
    if (TTreeConnection *c = tree->FConnections.Selected())
        if (!c->EndsVisible())
            tree->FConnections.SetSelected(nullptr);
    Fire(tree->OnExpandedCollapsed, this);
    Changed();
    return count;
}

// ---------------------------------------------------------------------------
// Connections

TNodeConnectionList &TTreeNodeShape::Connections()
{
    if (!FConnections)
        FConnections = std::make_unique<TNodeConnectionList>();
    return *FConnections;
}

int TTreeNodeShape::ConnectionCount() const
{
    return FConnections ? FConnections->Count() : 0;
}

TTreeConnection *TTreeNodeShape::ConnectionTo(const TTreeNodeShape *target) const
{
    if (FConnections)
        for (TTreeConnection *c : *FConnections)
            if (c->ToShape() == target)
                return c;
    return nullptr;
}

TTreeConnection *TTreeNodeShape::AddConnection(TTreeNodeShape *target)
{
    if (TTreeConnection *existing = ConnectionTo(target))
        return existing;
    bool add = true;
    if (FTree)
        Fire(FTree->OnAddingConnection, this, target, add);
    return add ? CreateConnection(target) : nullptr;
}

TTreeConnection *TTreeNodeShape::CreateConnection(TTreeNodeShape *target)
{
    if (FTree)
        return FTree->NewConnection(this, target);
    // Outside a diagram: a bare connection owned like this node.
    auto *c = new TTreeConnection(Owner());
    if (Owner())
        c->SetName(TTreeDocument::ConnectionName(Owner(), this, target));
    Connections().Add(c);
    c->FFromShape = this;
    c->FToShape = target;
    if (target)
        target->AddIncoming(c);
    return c;
}

void TTreeNodeShape::AddIncoming(TTreeConnection *c)
{
    if (!FIncomingOne && (!FIncomingMore || FIncomingMore->empty())) {
        FIncomingOne = c;
        return;
    }
    if (!FIncomingMore)
        FIncomingMore = std::make_unique<std::vector<TTreeConnection *>>();
    FIncomingMore->push_back(c);
}

void TTreeNodeShape::RemoveIncoming(TTreeConnection *c)
{
    if (FIncomingOne == c) {
        // The next one moves up, so the order of arrival is kept.
        if (FIncomingMore && !FIncomingMore->empty()) {
            FIncomingOne = FIncomingMore->front();
            FIncomingMore->erase(FIncomingMore->begin());
        } else {
            FIncomingOne = nullptr;
        }
        return;
    }
    if (FIncomingMore) {
        for (size_t i = FIncomingMore->size(); i-- > 0;)
            if ((*FIncomingMore)[i] == c) {
                FIncomingMore->erase(FIncomingMore->begin() + static_cast<std::ptrdiff_t>(i));
                return;
            }
    }
}

std::vector<TTreeConnection *> TTreeNodeShape::IncomingConnections() const
{
    std::vector<TTreeConnection *> list;
    if (FIncomingOne)
        list.push_back(FIncomingOne);
    if (FIncomingMore)
        list.insert(list.end(), FIncomingMore->begin(), FIncomingMore->end());
    return list;
}

std::vector<TTreeNodeShape *> TTreeNodeShape::Parents() const
{
    std::vector<TTreeNodeShape *> nodes;
    for (TTreeConnection *c : IncomingConnections())
        if (c->FromShape())
            nodes.push_back(c->FromShape());
    return nodes;
}

namespace {

// Whether every property the writer could leave out is at its published
// default, in the object and in the sub-objects it has.
bool HoldsPublishedDefaults(const TPersistent &object, int depth = 0)
{
    for (const TPropInfo &prop : object.ClassInfo().Properties()) {
        if (prop.StoredRule || prop.IsReadOnly())
            continue;
        switch (prop.Type) {
        case TPropType::Event:
        case TPropType::Reference:
            continue;
        case TPropType::Object:
            if (const TPersistent *sub = prop.PeekObject(object);
                sub && !dynamic_cast<const TCollection *>(sub) && (depth > 8 || !HoldsPublishedDefaults(*sub, depth + 1)))
                return false;
            continue;
        case TPropType::String:
        case TPropType::Float:
            if (!prop.IsDefault(object))
                return false;
            continue;
        default:
            if (prop.HasDefault && !prop.IsDefault(object))
                return false;
            continue;
        }
    }
    return true;
}

} // namespace

const TPersistent *TTreeNodeShape::ConstructedLike() const
{
    // One untouched node of each class whose constructor leaves values
    // other than the published defaults, made when a node of it is first
    // written; none for the others, which then cost the writer nothing.
    static std::unordered_map<const TClassInfo *, std::unique_ptr<TComponent>> made;
    const TClassInfo *cls = &ClassInfo();
    auto it = made.find(cls);
    if (it == made.end()) {
        std::unique_ptr<TComponent> fresh;
        TClassRegistry &registry = TClassRegistry::Instance();
        if (registry.GetClass(cls->Name()) == cls)
            fresh.reset(registry.Create(cls->Name(), nullptr));
        if (fresh && HoldsPublishedDefaults(*fresh))
            fresh.reset();
        it = made.emplace(cls, std::move(fresh)).first;
    }
    return it->second.get();
}
