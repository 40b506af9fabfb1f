#include "model/TreeConnection.h"

#include "core/Rounding.h"
#include "model/TreeDocument.h"
#include "model/TreeNodeShape.h"

#include <QVarLengthArray>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <vector>

// ---------------------------------------------------------------------------
// Pens and the arrow brush

const TClassInfo &TTreeConnectionPen::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TTreeConnectionPen>("TTreeConnectionPen", TChartPen::StaticClassInfo())
                                       .Redefault("Color", clGray)
                                       .Redefault("Style", psDot)
                                       .Redefault("SmallDots", 1);
    return info;
}

TTreeConnectionPen::TTreeConnectionPen()
{
    SetColor(clGray);
    SetStyle(psDot);
    SetSmallDots(true);
}

const TClassInfo &TTreeSelectedPen::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TTreeSelectedPen>("TTreeSelectedPen", TChartPen::StaticClassInfo())
                                       .Redefault("Color", clYellow)
                                       .Redefault("Style", psDot)
                                       .Redefault("SmallDots", 1);
    return info;
}

TTreeSelectedPen::TTreeSelectedPen()
{
    SetColor(clYellow);
    SetStyle(psDot);
    SetSmallDots(true);
}

const TClassInfo &TTreeHiddenPen::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TTreeHiddenPen>("TTreeHiddenPen", TChartPen::StaticClassInfo()).Redefault("Visible", 0);
    return info;
}

TTreeHiddenPen::TTreeHiddenPen()
{
    SetVisible(false);
}

const TClassInfo &TConnectionArrowBrush::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TConnectionArrowBrush>("TConnectionArrowBrush", TChartBrush::StaticClassInfo())
            .Redefault("Color", clBlack);
    return info;
}

// ---------------------------------------------------------------------------
// Arrows

const TClassInfo &TConnectionArrow::StaticClassInfo()
{
    using A = TConnectionArrow;
    static const TClassInfo info = TClassBuilder<A>("TConnectionArrow", TPersistent::StaticClassInfo())
                                       .Color("BackColor", &A::BackColor, &A::SetBackColor, clNone)
                                       .Object<TChartPen>("Border", &A::PeekBorder, &A::Border)
                                       .Object<TConnectionArrowBrush>("Brush", &A::PeekBrush, &A::Brush)
                                       .Integer("Size", &A::Size, &A::SetSize, 4)
                                       .Enum("Style", &A::Style, &A::SetStyle, casNone);
    return info;
}

const TClassInfo &TConnectionArrowFrom::StaticClassInfo()
{
    static const TClassInfo info("TConnectionArrowFrom", &TConnectionArrow::StaticClassInfo());
    return info;
}

const TClassInfo &TConnectionArrowTo::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TConnectionArrowTo>("TConnectionArrowTo", TConnectionArrow::StaticClassInfo())
            .Redefault("Style", casSolid);
    return info;
}

TConnectionArrow::TConnectionArrow(TTreeConnection *connection, TConnectionArrowStyle style)
    : FConnection(connection), FStyle(style)
{
}

TConnectionArrow::~TConnectionArrow() = default;

void TConnectionArrow::Changed()
{
    if (FConnection)
        FConnection->Changed();
}

void TConnectionArrow::SetBackColor(TColor value)
{
    UpdateField(FBackColor, value, [this] { Changed(); });
}

void TConnectionArrow::SetSize(int value)
{
    UpdateField(FSize, ClampCoord(value), [this] { Changed(); });
}

void TConnectionArrow::SetStyle(TConnectionArrowStyle value)
{
    UpdateField(FStyle, value, [this] { Changed(); });
}

TChartPen *TConnectionArrow::Border()
{
    if (!FBorder)
        FBorder = std::make_unique<TChartPen>([this](TGraphicsObject *) { Changed(); });
    return FBorder.get();
}

void TConnectionArrow::SetBorder(const TChartPen *value)
{
    AssignPart(
        FBorder.get(), value, [this] { return Border(); }, [this] { FBorder.reset(); }, [this] { Changed(); });
}

TConnectionArrowBrush *TConnectionArrow::Brush()
{
    if (!FBrush) {
        FBrush = std::make_unique<TConnectionArrowBrush>();
        FBrush->OnChange = [this](TGraphicsObject *) { Changed(); };
    }
    return FBrush.get();
}

void TConnectionArrow::SetBrush(const TChartBrush *value)
{
    AssignPart(
        FBrush.get(), value, [this] { return Brush(); }, [this] { FBrush.reset(); }, [this] { Changed(); });
}

const TChartPen *TConnectionArrow::EffectiveBorder() const
{
    static const TChartPen defaults;
    return FBorder ? FBorder.get() : &defaults;
}

const TChartBrush *TConnectionArrow::EffectiveBrush() const
{
    static const TConnectionArrowBrush defaults;
    return FBrush ? FBrush.get() : &defaults;
}

void TConnectionArrow::Assign(const TPersistent *source)
{
    auto *a = dynamic_cast<const TConnectionArrow *>(source);
    if (!a) {
        TPersistent::Assign(source);
        return;
    }
    if (a == this)
        return;
    SetBackColor(a->FBackColor);
    SetBorder(a->FBorder.get());
    SetBrush(a->FBrush.get());
    SetSize(a->FSize);
    SetStyle(a->FStyle);
}

// ---------------------------------------------------------------------------
// Points

void TConnectionPoints::Move(int from, int to)
{
    if (!IsValid(from) || !IsValid(to) || from == to)
        return;
    const TConnectionPoint p = FPoints[static_cast<size_t>(from)];
    FPoints.erase(FPoints.begin() + from);
    FPoints.insert(FPoints.begin() + to, p);
}

TPointArray TConnectionPoints::Positions() const
{
    TPointArray list;
    list.reserve(FPoints.size());
    for (const TConnectionPoint &p : FPoints)
        list.emplace_back(p.X, p.Y);
    return list;
}

// ---------------------------------------------------------------------------
// TTreeConnection

const TClassInfo &TTreeConnection::StaticClassInfo()
{
    using C = TTreeConnection;
    static const TClassInfo info =
        TClassBuilder<C>("TTreeConnection", TCustomTreeElement::StaticClassInfo())
            .Object<TConnectionArrowFrom>("ArrowFrom", &C::PeekArrowFrom, &C::ArrowFrom)
            .Object<TConnectionArrowTo>("ArrowTo", &C::PeekArrowTo, &C::ArrowTo)
            .Object<TTreeConnectionPen>("Border", &C::PeekBorder, &C::Border)
            .Object<TKorFont>("Font", &C::PeekFont, &C::Font)
            .Enum("Style", &C::Style, &C::SetStyle, csAuto)
            .Cursor("Cursor", &C::Cursor, &C::SetCursor, 0)
            .Reference<TTreeNodeShape>("FromShape", &C::FromShape, &C::SetFromShape)
            .Reference<TTreeNodeShape>("ToShape", &C::ToShape, &C::SetToShape)
            .Object<TTreeStrings>("Text", &C::PeekText, &C::Text);
    return info;
}

TTreeConnection::TTreeConnection(TComponent *owner) : TCustomTreeElement(owner) {}

TTreeConnection::~TTreeConnection()
{
    if (!(FTree && FTree->Clearing()))
        Unlink();
}

void TTreeConnection::Unlink()
{
    if (FFromShape && FFromShape->FConnections)
        FFromShape->FConnections->Remove(this);
    if (FToShape)
        FToShape->RemoveIncoming(this);
    FFromShape = nullptr;
    FToShape = nullptr;
    if (TTreeDocument *tree = FTree) {
        tree->ForgetElement(this);
        if (tree->FConnections.Selected() == this)
            tree->FConnections.SetSelected(nullptr);
        tree->FConnections.Remove(this);
        FTree = nullptr;
        tree->Invalidate();
    }
}

void TTreeConnection::SetTree(TTreeDocument *tree)
{
    if (tree == FTree)
        return;
    if (FTree || (FFromShape && FFromShape->Tree() != tree) || (FToShape && FToShape->Tree() != tree))
        TTreeDocument::NoteForeignLinks(FTree, tree);
    if (TTreeDocument *old = FTree) {
        if (old->FConnections.Selected() == this)
            old->FConnections.SetSelected(nullptr);
        old->FConnections.Remove(this);
    }
    FTree = tree;
    if (tree)
        tree->FConnections.Add(this);
}

void TTreeConnection::Assign(const TPersistent *source)
{
    auto *c = dynamic_cast<const TTreeConnection *>(source);
    if (!c) {
        TCustomTreeElement::Assign(source);
        return;
    }
    if (c == this)
        return;
    SetArrowFrom(c->PeekArrowFrom());
    SetArrowTo(c->PeekArrowTo());
    SetBorder(c->PeekBorder());
    SetStyle(c->FStyle);
    TCustomTreeElement::Assign(c);
}

// ---- Own arrows and pen

TConnectionArrowFrom *TTreeConnection::ArrowFrom()
{
    if (!FArrowFrom) {
        FArrowFrom = std::make_unique<TConnectionArrowFrom>(this);
        if (FTree)
            FArrowFrom->Assign(FTree->DefaultFormat().Connection()->ArrowFrom());
    }
    return FArrowFrom.get();
}

TConnectionArrowTo *TTreeConnection::ArrowTo()
{
    if (!FArrowTo) {
        FArrowTo = std::make_unique<TConnectionArrowTo>(this);
        if (FTree)
            FArrowTo->Assign(FTree->DefaultFormat().Connection()->ArrowTo());
    }
    return FArrowTo.get();
}

TTreeConnectionPen *TTreeConnection::Border()
{
    if (!FBorder) {
        FBorder = std::make_unique<TTreeConnectionPen>();
        if (FTree)
            FBorder->Assign(FTree->DefaultFormat().Connection()->Border());
        FBorder->OnChange = [this](TGraphicsObject *) { Changed(); };
    }
    return FBorder.get();
}

void TTreeConnection::SetArrowFrom(const TConnectionArrow *value)
{
    AssignPart(
        FArrowFrom.get(), value, [this] { return ArrowFrom(); }, [this] { FArrowFrom.reset(); }, [this] { Changed(); });
}

void TTreeConnection::SetArrowTo(const TConnectionArrow *value)
{
    AssignPart(
        FArrowTo.get(), value, [this] { return ArrowTo(); }, [this] { FArrowTo.reset(); }, [this] { Changed(); });
}

void TTreeConnection::SetBorder(const TChartPen *value)
{
    AssignPart(
        FBorder.get(), value, [this] { return Border(); }, [this] { FBorder.reset(); }, [this] { Changed(); });
}

const TConnectionArrow *TTreeConnection::EffectiveArrowFrom() const
{
    if (FArrowFrom)
        return FArrowFrom.get();
    if (FTree)
        return FTree->DefaultFormat().Connection()->ArrowFrom();
    static const TConnectionArrowFrom defaults;
    return &defaults;
}

const TConnectionArrow *TTreeConnection::EffectiveArrowTo() const
{
    if (FArrowTo)
        return FArrowTo.get();
    if (FTree)
        return FTree->DefaultFormat().Connection()->ArrowTo();
    static const TConnectionArrowTo defaults;
    return &defaults;
}

const TChartPen *TTreeConnection::EffectiveBorder() const
{
    if (FBorder)
        return FBorder.get();
    if (FTree)
        return FTree->DefaultFormat().Connection()->Border();
    static const TTreeConnectionPen defaults;
    return &defaults;
}

// ---- Style and ends

void TTreeConnection::SetStyle(TTreeConnectionStyle value)
{
    if (value == FStyle)
        return;
    if ((FStyle == csAuto) != (value == csAuto))
        FPoints.Clear();
    FStyle = value;
    Changed();
}

void TTreeConnection::SetFromShape(TTreeNodeShape *node)
{
    if (node == FFromShape)
        return;
    if (FFromShape && FFromShape->FConnections)
        FFromShape->FConnections->Remove(this);
    FFromShape = node;
    if (node) {
        node->Connections().Add(this);
        if (node->Tree() != FTree)
            TTreeDocument::NoteForeignLinks(node->Tree(), FTree);
    }
    Changed();
}

void TTreeConnection::SetToShape(TTreeNodeShape *node)
{
    if (node == FToShape)
        return;
    if (FToShape)
        FToShape->RemoveIncoming(this);
    FToShape = node;
    if (node) {
        node->AddIncoming(this);
        if (node->Tree() != FTree)
            TTreeDocument::NoteForeignLinks(node->Tree(), FTree);
    }
    Changed();
}

// ---- Points

void TTreeConnection::ConvertToLine()
{
    if (FStyle != csAuto)
        return;
    FStyle = csLine;
    const int n = FPoints.Count();
    for (int i = 0; i < n; ++i) {
        TConnectionPoint &p = FPoints[i];
        const TTreeNodeShape *base = FFromShape;
        TConnectionPointKind kind = cpFromOffset;
        if (i == n - 1 && FToShape) {
            base = FToShape;
            kind = cpToOffset;
        }
        if (base) {
            p.XStyle = p.YStyle = kind;
            p.XValue = dx::Saturate(int64_t(p.X) - base->X0());
            p.YValue = dx::Saturate(int64_t(p.Y) - base->Y0());
        } else {
            p.XStyle = p.YStyle = cpAbsolute;
            p.XValue = p.X;
            p.YValue = p.Y;
        }
    }
}

int TTreeConnection::AddPoint(int x, int y)
{
    ConvertToLine();
    TConnectionPoint p;
    p.XStyle = p.YStyle = cpAbsolute;
    p.XValue = p.X = x;
    p.YValue = p.Y = y;
    const int index = FPoints.Add(p);
    Changed();
    return index;
}

void TTreeConnection::InsertPoint(int index, int x, int y)
{
    const int added = AddPoint(x, y);
    if (index < added)
        FPoints.Move(added, std::max(index, 0));
}

void TTreeConnection::DeletePoint(int index)
{
    ConvertToLine();
    if (!FPoints.IsValid(index))
        return;
    FPoints.Delete(index);
    Changed();
}

void TTreeConnection::MovePoint(int index, int dx, int dy)
{
    ConvertToLine();
    if (!FPoints.IsValid(index))
        return;
    TConnectionPoint &p = FPoints[index];
    // An edge or percentage coordinate becomes an offset from its node, so
    // the point keeps following that node.
    auto shift = [this](TConnectionPointKind &kind, int &value, int &pos, int delta, bool horizontal) {
        if (delta == 0)
            return;
        auto origin = [horizontal](const TTreeNodeShape *n) { return horizontal ? n->X0() : n->Y0(); };
        if ((kind == cpToEdge || kind == cpToPercent) && FToShape) {
            kind = cpToOffset;
            value = dx::Saturate(int64_t(pos) - origin(FToShape));
        } else if ((kind == cpFromEdge || kind == cpFromPercent) && FFromShape) {
            kind = cpFromOffset;
            value = dx::Saturate(int64_t(pos) - origin(FFromShape));
        }
        value = dx::Saturate(int64_t(value) + delta);
        pos = dx::Saturate(int64_t(pos) + delta);
    };
    shift(p.XStyle, p.XValue, p.X, dx, true);
    shift(p.YStyle, p.YValue, p.Y, dy, false);
    Changed();
}

void TTreeConnection::SetPointXStyle(int index, TConnectionPointKind kind)
{
    if (!FPoints.IsValid(index))
        return;
    TConnectionPoint &p = FPoints[index];
    p.XStyle = kind;
    p.XValue = CoordinateValue(kind, p.X, index, true);
    Changed();
}

void TTreeConnection::SetPointYStyle(int index, TConnectionPointKind kind)
{
    if (!FPoints.IsValid(index))
        return;
    TConnectionPoint &p = FPoints[index];
    p.YStyle = kind;
    p.YValue = CoordinateValue(kind, p.Y, index, false);
    Changed();
}

int TTreeConnection::CoordinateValue(TConnectionPointKind kind, int pos, int index, bool horizontal) const
{
    auto origin = [horizontal](const TTreeNodeShape *n) { return horizontal ? n->X0() : n->Y0(); };
    auto extent = [horizontal](const TTreeNodeShape *n) { return horizontal ? n->Width() : n->Height(); };
    // A node of zero extent gives 0 instead of dividing by zero.
    auto percent = [&](const TTreeNodeShape *n) {
        const int e = extent(n);
        return e == 0 ? 0 : dx::RoundEven((double(pos) - origin(n)) * 100.0 / e);
    };
    auto neighbour = [&](int i) { return horizontal ? FPoints[i].X : FPoints[i].Y; };
    switch (kind) {
    case cpFromPercent:
        return FFromShape ? percent(FFromShape) : 0;
    case cpToPercent:
        return FToShape ? percent(FToShape) : 0;
    case cpFromOffset:
        return FFromShape ? dx::Saturate(int64_t(pos) - origin(FFromShape)) : pos;
    case cpToOffset:
        return FToShape ? dx::Saturate(int64_t(pos) - origin(FToShape)) : pos;
    case cpPrevOffset:
        return index > 0 ? dx::Saturate(int64_t(pos) - neighbour(index - 1)) : 0;
    case cpNextOffset:
        return index + 1 < FPoints.Count() ? dx::Saturate(int64_t(pos) - neighbour(index + 1)) : 0;
    case cpAbsolute:
        return pos;
    default: // edges
        return 0;
    }
}

int TTreeConnection::PointAt(int x, int y) const
{
    const TPoint pos = FTree ? FTree->UnprojectPoint(TPoint(x, y)) : TPoint(x, y);
    const int d = FTree ? FTree->Selected().HandleSize() : 3;
    for (int i = 0; i < FPoints.Count(); ++i) {
        const TConnectionPoint &p = FPoints[i];
        if (std::abs(int64_t(p.X) - pos.X) <= d && std::abs(int64_t(p.Y) - pos.Y) <= d)
            return i;
    }
    return -1;
}

void TTreeConnection::SetDefaultPoints()
{
    std::vector<TConnectionPoint> points(2);
    points[0].XStyle = points[0].YStyle = cpFromEdge;
    points[1].XStyle = points[1].YStyle = cpToEdge;
    if (FStyle == csCurve) {
        TConnectionPoint middle;
        middle.XStyle = cpPrevOffset;
        middle.YStyle = cpNextOffset;
        points.insert(points.begin() + 1, middle);
        points.push_back(points.back());
    }
    FPoints.SetItems(std::move(points));
}

bool TTreeConnection::StorePoints() const
{
    if (FStyle == csAuto || FPoints.Count() < 2)
        return false;
    if (FStyle == csLine && FPoints.Count() == 2) {
        const TConnectionPoint &a = FPoints[0];
        const TConnectionPoint &b = FPoints[1];
        if (a.XStyle == cpFromEdge && a.YStyle == cpFromEdge && b.XStyle == cpToEdge && b.YStyle == cpToEdge)
            return false;
    }
    return true;
}

void TTreeConnection::CalcPoints()
{
    // Each point in its turn. A point that needs the next one (an edge
    // towards it, or an offset from it) has that one computed at the moment
    // it needs it, so the next one sees whatever this point has computed so
    // far, and so on along the chain; each point is computed once more in
    // its own turn, with fresher neighbours. A stack stands in for the
    // recursion, so chains of any length are safe.
    //
    // A point that cannot depend on earlier points, and whose chain ahead
    // cannot either, comes out the same when it is computed again, so it is
    // computed once. For the rest the work is bounded: once a budget is
    // spent, a point already computed is no longer redone for the point
    // before it (only hand-made lists of thousands of points get there).
    const int n = FPoints.Count();
    if (n == 0)
        return;
    auto xNeedsNext = [&](int i) {
        const TConnectionPointKind kind = FPoints[i].XStyle;
        return i + 1 < n && ((kind == cpFromEdge && FPoints[i + 1].XStyle != cpToEdge) || kind == cpNextOffset);
    };
    auto yNeedsNext = [&](int i) { return i + 1 < n && FPoints[i].YStyle == cpNextOffset; };
    auto looksBack = [&](int i) {
        const TConnectionPoint &p = FPoints[i];
        return p.XStyle == cpPrevOffset || p.YStyle == cpPrevOffset ||
               (p.XStyle == cpToEdge && i > 0 && FPoints[i - 1].XStyle != cpNextOffset);
    };
    // This runs for every connection on every repaint: the usual few
    // points need no heap.
    QVarLengthArray<char, 16> settled(n + 1);
    settled[n] = 1;
    for (int i = n; i-- > 0;)
        settled[i] = !looksBack(i) && (!(xNeedsNext(i) || yNeedsNext(i)) || settled[i + 1]);
    QVarLengthArray<char, 16> computed(n);
    std::fill(computed.begin(), computed.end(), 0);

    struct TFrame
    {
        int Index;
        int Stage; // 0: next point for X, 1: X, then next point for Y, 2: Y
    };
    QVarLengthArray<TFrame, 16> stack;
    int64_t budget = 4096 + 16 * static_cast<int64_t>(n);
    auto request = [&](int i, bool nested) {
        if (computed[i] && (settled[i] || (nested && budget <= 0)))
            return;
        --budget;
        stack.push_back({i, 0});
    };
    for (int k = 0; k < n; ++k) {
        request(k, false);
        while (!stack.empty()) {
            const qsizetype top = stack.size() - 1;
            const int i = stack[top].Index;
            const int stage = stack[top].Stage++;
            if (stage == 0) {
                if (xNeedsNext(i))
                    request(i + 1, true);
            } else if (stage == 1) {
                CalcX(i);
                if (yNeedsNext(i))
                    request(i + 1, true);
            } else {
                CalcY(i);
                computed[i] = 1;
                stack.pop_back();
            }
        }
    }
}

TRect TTreeConnection::ShapeRect(const TTreeNodeShape *node) const
{
    return node->ConnectionRect();
}

void TTreeConnection::CalcX(int index)
{
    const int n = FPoints.Count();
    TConnectionPoint &p = FPoints[index];
    auto pointRect = [](const TConnectionPoint &q) { return TRect(q.X, q.Y, q.X, q.Y); };
    if (p.XStyle == cpFromEdge) {
        if (FFromShape && FToShape) {
            const bool towardsNext = index + 1 < n && FPoints[index + 1].XStyle != cpToEdge;
            const TPoint at =
                FFromShape->CalcConnectionPoint(towardsNext ? pointRect(FPoints[index + 1]) : ShapeRect(FToShape));
            p.X = at.X;
            p.Y = at.Y;
        }
    } else if (p.XStyle == cpToEdge) {
        if (FFromShape && FToShape) {
            const bool fromPrevious = index > 0 && FPoints[index - 1].XStyle != cpNextOffset;
            const TPoint at =
                FToShape->CalcConnectionPoint(fromPrevious ? pointRect(FPoints[index - 1]) : ShapeRect(FFromShape));
            p.X = at.X;
            p.Y = at.Y;
        }
    } else {
        p.X = Coordinate(p.XStyle, p.XValue, index, true);
    }
}

void TTreeConnection::CalcY(int index)
{
    TConnectionPoint &p = FPoints[index];
    if (p.YStyle != cpFromEdge && p.YStyle != cpToEdge)
        p.Y = Coordinate(p.YStyle, p.YValue, index, false);
}

int TTreeConnection::Coordinate(TConnectionPointKind kind, int value, int index, bool horizontal) const
{
    // Values read from a file may be anything: sums beyond the coordinate
    // range stop at its ends.
    const TConnectionPoint &p = FPoints[index];
    const int current = horizontal ? p.X : p.Y;
    auto origin = [horizontal](const TTreeNodeShape *s) { return horizontal ? s->X0() : s->Y0(); };
    auto extent = [horizontal](const TTreeNodeShape *s) { return horizontal ? s->Width() : s->Height(); };
    auto neighbour = [&](int i) { return horizontal ? FPoints[i].X : FPoints[i].Y; };
    auto percent = [&](const TTreeNodeShape *s) {
        return dx::Saturate(int64_t(origin(s)) + dx::RoundEven(double(extent(s)) * value * 0.01));
    };
    switch (kind) {
    case cpFromPercent:
        return FFromShape ? percent(FFromShape) : current;
    case cpToPercent:
        return FToShape ? percent(FToShape) : current;
    case cpFromOffset:
        return FFromShape ? dx::Saturate(int64_t(origin(FFromShape)) + value) : current;
    case cpToOffset:
        return FToShape ? dx::Saturate(int64_t(origin(FToShape)) + value) : current;
    case cpPrevOffset:
        return index > 0 ? dx::Saturate(int64_t(neighbour(index - 1)) + value) : 0;
    case cpNextOffset:
        return index + 1 < FPoints.Count() ? dx::Saturate(int64_t(neighbour(index + 1)) + value) : 0;
    case cpAbsolute:
        return value;
    default:
        return current;
    }
}

// ---------------------------------------------------------------------------
// Lists

int TNodeConnectionList::IndexOf(const TTreeConnection *c) const
{
    for (size_t i = FItems.size(); i-- > 0;)
        if (FItems[i] == c)
            return static_cast<int>(i);
    return -1;
}

void TNodeConnectionList::Remove(const TTreeConnection *c)
{
    const int index = IndexOf(c);
    if (index >= 0)
        FItems.erase(FItems.begin() + index);
}

void TTreeConnectionList::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    FVisible = value;
    if (FTree)
        FTree->Invalidate();
}

void TTreeConnectionList::SetSelected(TTreeConnection *c)
{
    if (c == FSelected)
        return;
    TTreeConnection *previous = FSelected;
    FSelected = c;
    if (FTree) {
        FTree->Invalidate();
        if (FTree->NoticesActive()) {
            TTreeChange change;
            change.Kind = tckSelection;
            change.Element = c ? c : previous;
            FTree->NotifyChanged(change);
        }
        if (previous && !FTree->IsLoading() && !FTree->Clearing())
            Fire(FTree->OnUnSelectConnection, previous);
        if (c)
            Fire(FTree->OnSelectConnection, c);
    }
}

bool TTreeConnectionList::Delete(TTreeConnection *c)
{
    if (!Contains(c))
        return false;
    bool allow = true;
    Fire(OnDeleting, c, allow);
    if (!allow)
        return false;
    delete c;
    return true;
}

TTreeConnection *TTreeConnectionList::ConnectionAt(int x, int y) const
{
    if (!FVisible)
        return nullptr;
    for (TTreeConnection *c : *this)
        if (c->ClickedSegment(x, y) >= 0)
            return c;
    return nullptr;
}
