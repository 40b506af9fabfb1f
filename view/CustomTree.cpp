#include "view/CustomTree.h"

#include "view/TreeInteraction.h"

#include "core/ClassRegistry.h"
#include "core/Rounding.h"
#include "core/ScopeExit.h"

#include <QPaintDevice>
#include <QPainter>
#include <cmath>
#include <utility>
#include <vector>

namespace {

// Pixels beyond a strip of a picture whose elements are still drawn.
constexpr int kStripOverlap = 64;

// Diagram units added around the laid-out nodes in a picture of the whole
// diagram: selection frames, shadows and arrow heads reach a little beyond
// a node's Bounds.
constexpr int kPictureMargin = 10;

// Diagram units below a row that what it draws may reach upwards (text,
// arrow heads, shadows, cross boxes).
constexpr int kCutMargin = 100;

} // namespace

const TClassInfo &TCustomTree::StaticClassInfo()
{
    using T = TCustomTree;
    using D = TTreeDocument;
    static const TClassInfo info = [] {
        TClassBuilder<T> b("TCustomTree", TTreeDocument::StaticClassInfo());
        DeclareControlProperties(b);
        DeclarePanelProperties(b, {clWhite, bvNone});
        b.Boolean("AllowDelete", &T::AllowDelete, &T::SetAllowDelete, true)
            .template Object<TTreeNodeCrossBox>("CrossBox", &D::CrossBox, &D::CrossBox)
            .template Object<TTreeDragDrop>("DragAndDrop", &T::DragAndDrop, &T::DragAndDrop)
            .template Object<TTreeGrid>("Grid", &T::Grid, &T::Grid)
            .template Object<TKorScrollBar>("HorzScrollBar", &T::HorzScrollBar, &T::HorzScrollBar)
            .template Object<TTreeHotTrack>("HotTrack", &D::HotTrack, &D::HotTrack)
            .template Reference<TImageList>("Images", &D::Images, &D::SetImages)
            .Boolean("ReadOnly", &T::ReadOnly, &T::SetReadOnly, false)
            .Enum("ScrollMouseButton", &T::ScrollMouseButton, &T::SetScrollMouseButton, mbRight)
            .template Object<TTreePage>("Page", &T::Page, &T::Page)
            .template Object<TSelectionLook>("Selected", &T::SelectionLook, &T::SelectionLook)
            .Boolean("ShowHintShapes", &T::ShowHintShapes, &T::SetShowHintShapes, true)
            .Boolean("ShowRootCross", &D::ShowRootCross, &D::SetShowRootCross, true)
            .Boolean("SnapToGrid", &T::SnapToGrid, &T::SetSnapToGrid, true)
            .template Object<TTreeTextEditor>("TextEditor", &T::TextEditor, &T::TextEditor)
            .template Object<TKorScrollBar>("VertScrollBar", &T::VertScrollBar, &T::VertScrollBar)
            .Enum("WheelNavigation", &T::WheelNavigation, &T::SetWheelNavigation, wnSelection)
            .Event("OnAfterDraw")
            .Event("OnBeforeDraw");
        return TClassInfo(b);
    }();
    return info;
}

const TClassInfo &TTree::StaticClassInfo()
{
    static const TClassInfo info("TTree", &TCustomTree::StaticClassInfo());
    return info;
}

void RegisterViewClasses()
{
    RegisterModelClasses();
    RegisterClass<TTree>();
}

TCustomTree::TCustomTree(TComponent *owner, QWidget *parent) : TCustomKorPanelExtended(parent), TTreeDocument(owner)
{
    // Nothing repaints until the parts exist.
    TCustomKorPanel::SetAutoRepaint(false);
    SetMargins({0, 0, 0, 0});
    SetBevelOuter(bvNone);
    Zoom()->SetPenDefaultColor(clBlack);
    View3DOptions()->OnZoomChange = [this](int zoom) { ZoomChanging(zoom); };
    View3DOptions()->OnScrolled = [this](bool horizontal) { Scrolled(horizontal); };
    FInteraction = std::make_unique<TTreeInteraction>(this);
    // Their changes alter the picture, never the layout.
    auto repaint = [this](TGraphicsObject *) { RepaintPicture(); };
    FGrid = std::make_unique<TTreeGrid>(repaint);
    FPage = std::make_unique<TTreePage>(this, repaint);
    FHorzScrollBar = std::make_unique<TKorScrollBar>(this, true);
    FVertScrollBar = std::make_unique<TKorScrollBar>(this, false);
    FHorzScrollBar->OnChange = repaint;
    FVertScrollBar->OnChange = repaint;
    FTextEditor = std::make_unique<TTreeTextEditor>();
    FDragDrop = std::make_unique<TTreeDragDrop>();
    setAcceptDrops(true);
    TCustomKorPanel::SetAutoRepaint(true);
}

TCustomTree::~TCustomTree()
{
    FDestroying = true;
    StopEditing(false);
    // The elements go while the view still exists: what they report on
    // the way out reaches a complete diagram.
    TCustomKorPanel::SetAutoRepaint(false);
    Clear();
}

// ---------------------------------------------------------------------------
// Document hooks

void TCustomTree::Invalidate()
{
    if (!FInPasses) {
        // A node dragged on a big diagram: only what follows it is laid
        // out again at the next drawing.
        TTreeNodeShape *edit = GeometryEdit();
        if (edit && (FLayoutValid || FGeometryOnly) && FInteraction && FInteraction->DraggingShapes()) {
            FGeometryOnly = true;
            FGeometryEdits.push_back(edit);
        } else {
            FGeometryOnly = false;
            FGeometryEdits.clear();
        }
        FLayoutValid = false;
    }
    TTreeDocument::Invalidate();
    TCustomKorPanel::Invalidate();
}

TKorCanvas3D *TCustomTree::TreeCanvas()
{
    return FQuiet ? FQuietCanvas.get() : Canvas();
}

bool TCustomTree::SubtreeOutOfView(const TTreeNodeShape *node, bool &answer) const
{
    // Only what the last position pass worked out for the model as it is.
    return FLayoutValid && View3DOptions()->Orthogonal() &&
           FReach.OutOfView(node, FVisibleArea, View3DOptions()->Zoom(), answer);
}

TPoint TCustomTree::MappingCenter() const
{
    if (FHasVisibleArea)
        return RectCenter(DrawingBounds());
    return RectCenter(TRect(0, 0, width(), height()));
}

TPoint TCustomTree::ProjectPoint(const TPoint &p) const
{
    const TView3DOptions *o = View3DOptions();
    if (!o->Orthogonal() && FHasVisibleArea)
        return Canvas()->ProjectPoint(p.X, p.Y, 0);
    const double z = o->Zoom() * 0.01;
    const TPoint c = MappingCenter();
    // Any zoom a file may give: the sums saturate instead of overflowing.
    return TPoint(dx::Saturate(dx::RoundEvenWide((static_cast<double>(p.X) - c.X) * z) + c.X + o->HorizOffset()),
                  dx::Saturate(dx::RoundEvenWide((static_cast<double>(p.Y) - c.Y) * z) + c.Y + o->VertOffset()));
}

TPoint TCustomTree::UnprojectPoint(const TPoint &p) const
{
    const TView3DOptions *o = View3DOptions();
    if (!o->Orthogonal() && FHasVisibleArea) {
        int x = p.X, y = p.Y;
        Canvas()->UnprojectPoint(x, y, 0);
        return TPoint(x, y);
    }
    if (o->Zoom() == 0)
        return p;
    const double z = o->Zoom() * 0.01;
    const TPoint c = MappingCenter();
    return TPoint(dx::Saturate(dx::RoundEvenWide((static_cast<double>(p.X) - c.X - o->HorizOffset()) / z) + c.X),
                  dx::Saturate(dx::RoundEvenWide((static_cast<double>(p.Y) - c.Y - o->VertOffset()) / z) + c.Y));
}

TRect TCustomTree::VisibleArea() const
{
    if (FHasVisibleArea)
        return FVisibleArea;
    const TPoint a = UnprojectPoint(TPoint(0, 0));
    const TPoint b = UnprojectPoint(TPoint(width(), height()));
    return TRect(a, b).Normalized();
}

TTreeDocument::TControlPlacement TCustomTree::ControlPlacement() const
{
    return {TRect::FromQRect(geometry()), static_cast<int>(Align())};
}

void TCustomTree::SetControlPlacement(const TControlPlacement &placement)
{
    SetAlign(static_cast<TAlign>(placement.Align));
    if (!placement.Bounds.IsEmpty())
        setGeometry(placement.Bounds.ToQRect());
}

void TCustomTree::ResetScrollOffsets()
{
    View3DOptions()->SetHorizOffset(0);
    View3DOptions()->SetVertOffset(0);
}

void TCustomTree::Loaded()
{
    TTreeDocument::Loaded();
    ScrollBarFollows(true);
    ScrollBarFollows(false);
    FHorzScrollBar->Apply();
    FVertScrollBar->Apply();
    Invalidate();
}

void TCustomTree::DefineProperties(TFiler &filer)
{
    TTreeDocument::DefineProperties(filer);
    DefinePanelProperties(filer);
}

// ---------------------------------------------------------------------------
// Zoom and scroll callbacks

void TCustomTree::ZoomChanging(int newZoom)
{
    // A diagram being read keeps the offsets it stores.
    if (IsLoading() || FDestroying)
        return;
    TView3DOptions *o = View3DOptions();
    const TPoint c = MappingCenter();
    if (FZoomCentered) {
        const TPoint m = UnprojectPoint(c);
        o->SetHorizOffset(dx::RoundEven((static_cast<double>(c.X) - m.X) * newZoom / 100.0));
        o->SetVertOffset(dx::RoundEven((static_cast<double>(c.Y) - m.Y) * newZoom / 100.0));
    } else {
        const double f = 1.0 - (static_cast<double>(o->Zoom()) - newZoom) / 100.0;
        o->SetHorizOffset(dx::Saturate(o->HorizOffset() + dx::RoundEvenWide(c.X * f) - c.X));
        o->SetVertOffset(dx::Saturate(o->VertOffset() + dx::RoundEvenWide(c.Y * f) - c.Y));
    }
    Fire(OnZoom, Self());
}

void TCustomTree::Scrolled(bool horizontal)
{
    if (IsLoading() || FDestroying || FQuietScroll)
        return;
    ScrollBarFollows(horizontal);
    Fire(OnScroll, Self());
}

void TCustomTree::SetAnchorMarker(std::optional<TPoint> position)
{
    if (position == FAnchorMarker)
        return;
    FAnchorMarker = position;
    // Drawn over the picture.
    update();
}

// ---------------------------------------------------------------------------
// The pipeline

void TCustomTree::DrawView(QPainter *target, const TRect &rect)
{
    // An image, a metafile or a printer page is drawn with areas of its
    // own; hit tests afterwards still see the screen's.
    const bool offScreen = Canvas()->Exporting() || Printing();
    const TRect savedArea = FVisibleArea;
    const bool hadArea = FHasVisibleArea;
    TAtExit restore([&] {
        if (offScreen) {
            FVisibleArea = savedArea;
            FHasVisibleArea = hadArea;
        }
    });
    TCustomKorPanelExtended::DrawView(target, rect);
}

void TCustomTree::DrawContent(const TRect &bounds)
{
    // Nothing drawn may ask for another drawing.
    const bool repaint = AutoRepaint();
    TCustomKorPanel::SetAutoRepaint(false);
    TAtExit restore([this, repaint] { TCustomKorPanel::SetAutoRepaint(repaint); });
    DrawBackground(bounds);
    CalcDrawingRect(bounds);
    Canvas()->SetupProjection(100, bounds);
    DrawLayers(bounds);
}

TRect TCustomTree::TargetArea(const TRect &bounds) const
{
    // Only an image is asked: its size is known, while printers and
    // metafiles answer sizes of their own making.
    QPainter *p = Canvas()->Painter();
    if (!p || !p->isActive() || !p->device() || p->device()->devType() != QInternal::Image)
        return bounds;
    const QTransform t = p->combinedTransform();
    if (t.type() > QTransform::TxScale || !t.isInvertible())
        return bounds;
    QRectF area = t.inverted().mapRect(QRectF(0, 0, p->device()->width(), p->device()->height()));
    if (p->hasClipping())
        area &= p->clipBoundingRect();
    if (area.isEmpty())
        return TRect(bounds.Left, bounds.Top, bounds.Left, bounds.Top);
    const TRect r(static_cast<int>(std::floor(std::max(area.left(), -1e9))),
                  static_cast<int>(std::floor(std::max(area.top(), -1e9))),
                  static_cast<int>(std::ceil(std::min(area.right(), 1e9))),
                  static_cast<int>(std::ceil(std::min(area.bottom(), 1e9))));
    if (r.Left <= bounds.Left && r.Top <= bounds.Top && r.Right >= bounds.Right && r.Bottom >= bounds.Bottom)
        return bounds;
    // A strip of a larger picture: what reaches into it from just outside
    // (arrow heads, text wider than its node) is drawn too, so strips join
    // without seams.
    const TRect inside = IntersectRects(bounds, r.Inflated(kStripOverlap, kStripOverlap));
    return inside.IsEmpty() ? TRect(bounds.Left, bounds.Top, bounds.Left, bounds.Top) : inside;
}

void TCustomTree::DrawLayers(const TRect &bounds)
{
    TKorCanvas3D *c = Canvas();
    const bool clip = bounds != TRect(0, 0, width(), height()) && !c->RendersWithoutClipping();
    if (clip)
        c->ClipToRect(bounds);
    TAtExit unclip([this, clip] {
        if (clip)
            Canvas()->RemoveClip();
    });

    FHasVisibleArea = true;
    const TRect area = TargetArea(bounds);
    if (View3DOptions()->Orthogonal()) {
        FVisibleArea = TRect(UnprojectPoint(area.TopLeft()), UnprojectPoint(area.BottomRight())).Normalized();
    } else {
        // A rotated view: every corner counts.
        const TPoint p[4] = {UnprojectPoint(area.TopLeft()), UnprojectPoint(TPoint(area.Right, area.Top)),
                             UnprojectPoint(area.BottomRight()), UnprojectPoint(TPoint(area.Left, area.Bottom))};
        TRect r(p[0], p[0]);
        for (const TPoint &q : p) {
            r.Left = std::min(r.Left, q.X);
            r.Top = std::min(r.Top, q.Y);
            r.Right = std::max(r.Right, q.X);
            r.Bottom = std::max(r.Bottom, q.Y);
        }
        FVisibleArea = r;
    }

    Fire(OnBeforeDraw, Self());
    DrawGrid();
    {
        FInPasses = true;
        TAtExit endPasses([this] { FInPasses = false; });
        UpdateLayout();
        // The walk starts from the same canvas state whether the pass ran
        // (it measures text) or not.
        c->Reset();
        NodePass();
    }
    TTreeConnection *selected = Connections().Selected();
    if (selected && Designing() && !Printing() && !HandlesOverPicture()) {
        BeginDrawHandles();
        selected->DrawHandles();
        EndDrawHandles();
    }
    DrawPage();
    c->Reset();
    if (!Printing())
        UpdateScrollBars();
    TTreeAfterDrawEvent event(this);
    Listeners().Send(event);
    Fire(OnAfterDraw, Self());
}

void TCustomTree::UpdateLayout()
{
    if (FLayoutValid)
        return;
    const bool inPasses = FInPasses;
    FInPasses = true;
    TAtExit endPass([this, inPasses] { FInPasses = inPasses; });
    // Rows left where they were lie far enough below the window as long as
    // the window stays where it was.
    if (FGeometryOnly && (!FPartSinceFull || FCutArea == FVisibleArea)) {
        FGeometryOnly = false;
        std::vector<TTreeNodeShape *> touched;
        FShiftBound = std::min<long long>(FShiftBound + GeometryShift(), INT_MAX / 4);
        ResetGeometryShift();
        const long long cut = FHasVisibleArea ? FVisibleArea.Bottom + FShiftBound + kCutMargin : INT_MAX;
        const bool done = LayoutAfterGeometryEdits(FGeometryEdits, touched, static_cast<int>(std::min<long long>(cut, INT_MAX)));
        FGeometryEdits.clear();
        FCutArea = FVisibleArea;
        if (done) {
            // What those nodes drew is walked again; the rest is passed by
            // as before.
            for (const TTreeNodeShape *n : touched)
                FReach.Forget(n);
            FLayoutValid = true;
            FPartSinceFull = true;
            ++FPartialLayoutCount;
            return;
        }
    }
    FPartSinceFull = false;
    FGeometryOnly = false;
    FGeometryEdits.clear();
    FShiftBound = 0;
    ResetGeometryShift();
    FReach.Clear();
    PositionPass();
    if (!FQuietCanvas)
        FQuietCanvas = std::make_unique<TKorCanvas3D>();
    FQuiet = true;
    {
        TAtExit loud([this] { FQuiet = false; });
        FReach.Compute(*this);
    }
    FLayoutValid = true;
    ++FLayoutCount;
}

void TCustomTree::EndGeometryEdits()
{
    if (!FGeometryOnly && !FPartSinceFull)
        return;
    // The parts laid out alone leave the extent only grown and connections
    // far from the window on their old courses.
    FGeometryOnly = false;
    FPartSinceFull = false;
    FGeometryEdits.clear();
    FLayoutValid = false;
    TCustomKorPanel::Invalidate();
}

void TCustomTree::NodePass()
{
    // Every root is walked, whatever the one before answered.
    for (int i = 0; i < Roots().Count(); ++i) {
        bool answer = true;
        if (!SubtreeOutOfView(Roots()[i], answer))
            Roots()[i]->DrawNodeWalk();
    }
}

void TCustomTree::DrawAnchorMarker()
{
    if (!FAnchorMarker)
        return;
    TKorCanvas3D *c = Canvas();
    c->Pen().SetStyle(psSolid);
    c->Pen().SetWidth(1);
    c->Pen().SetMode(pmCopy);
    c->Pen().SetColor(clRed);
    c->SetBrushBitmap(QImage());
    c->Brush().SetStyle(bsClear);
    c->ProjectedCircle(FAnchorMarker->X, FAnchorMarker->Y, 12, 0);
}

// ---------------------------------------------------------------------------
// The whole picture

TCustomTree::TWholePicture TCustomTree::WholePicture()
{
    UpdateLayout();
    const TRect e = ShapeExtent();
    TRect model(0, 0, kPictureMargin, kPictureMargin);
    if (HasShapeExtent()) {
        model.Left = e.Left < 0 ? e.Left - kPictureMargin : 0;
        model.Top = e.Top < 0 ? e.Top - kPictureMargin : 0;
        model.Right = std::max(e.Right, model.Left) + kPictureMargin;
        model.Bottom = std::max(e.Bottom, model.Top) + kPictureMargin;
    }
    const double z = std::fabs(View3DOptions()->Zoom() * 0.01);
    const auto scaled = [z](int v) {
        const double s = std::ceil(v * z);
        return s >= INT_MAX ? INT_MAX : std::max(1, static_cast<int>(s));
    };
    return {TRect(0, 0, scaled(model.Width()), scaled(model.Height())), model.TopLeft()};
}

void TCustomTree::ShowingOrigin(const TPoint &origin, const TRect &bounds, const std::function<void()> &draw)
{
    TView3DOptions *o = View3DOptions();
    const int h = o->HorizOffset();
    const int v = o->VertOffset();
    const double z = o->Zoom() * 0.01;
    const TPoint c = RectCenter(bounds);
    FQuietScroll = true;
    TAtExit restore([this, o, h, v] {
        o->SetHorizOffset(h);
        o->SetVertOffset(v);
        FQuietScroll = false;
    });
    o->SetHorizOffset(dx::Saturate(int64_t(bounds.Left) - c.X - dx::RoundEvenWide((static_cast<double>(origin.X) - c.X) * z)));
    o->SetVertOffset(dx::Saturate(int64_t(bounds.Top) - c.Y - dx::RoundEvenWide((static_cast<double>(origin.Y) - c.Y) * z)));
    draw();
}
