// Automatic positioning: the explorer layout's columns and rows, fixed
// coordinates, collapsing, the image beside the body, the cross box
// positions, the extent, and the drawing of automatic connections with the
// early stop below the visible area.

#include "TreeTestUtil.h"

#include "canvas/RecordingCanvas.h"

#include <QtTest>
#include <climits>

namespace {

// A diagram drawing through a recording canvas with a chosen visible area.
class TRecordingTree : public TTreeDocument
{
public:
    using TTreeDocument::TTreeDocument;
    TKorCanvas3D *TreeCanvas() override { return &Canvas; }
    TRect VisibleArea() const override { return Visible; }

    TRecordingCanvas Canvas;
    TRect Visible = TRect(-10000, -10000, 10000, 10000);
};

struct TRecordingHost
{
    std::unique_ptr<TComponent> Owner = std::make_unique<TComponent>();
    TRecordingTree *Tree;
    TRecordingHost()
    {
        Owner->SetName(QStringLiteral("TreeEditor1"));
        Tree = new TRecordingTree(Owner.get());
    }
};

// The height of one text line in the diagram's default font, measured the
// way nodes measure it.
int LineHeight(TTreeDocument *tree)
{
    TKorCanvas3D canvas;
    canvas.AssignFont(tree->DefaultFormat().Font());
    return canvas.TextHeight(QStringLiteral("W"));
}

TTreeExplorerAlignChild *Explorer(TTreeDocument *tree)
{
    return dynamic_cast<TTreeExplorerAlignChild *>(tree->DefaultFormat().ChildManager());
}

// The lines drawn by the last drawing: each ProjectedLineTo from the
// position before it.
struct TLine
{
    int X0, Y0, X1, Y1;
};
std::vector<TLine> DrawnLines(const TRecordingCanvas &canvas)
{
    std::vector<TLine> lines;
    int x = 0, y = 0;
    for (const TCanvasCall &call : canvas.Calls()) {
        if (call.Depth != 0)
            continue;
        if (call.Name == QLatin1String("ProjectedMoveTo")) {
            x = call.Int(0);
            y = call.Int(1);
        } else if (call.Name == QLatin1String("ProjectedLineTo")) {
            lines.push_back({x, y, call.Int(0), call.Int(1)});
            x = call.Int(0);
            y = call.Int(1);
        }
    }
    return lines;
}

// Draws a node's connections in order as the node walk does, stopping at
// the first that answers False; answers how many were drawn and the answer.
std::pair<int, bool> DrawConnectionsOf(TTreeNodeShape *node)
{
    int drawn = 0;
    for (TTreeConnection *c : node->Connections()) {
        ++drawn;
        if (!c->Draw())
            return {drawn, false};
    }
    return {drawn, true};
}

} // namespace

class TestLayout : public QObject
{
    Q_OBJECT
private slots:
    void rootColumnAndCrossRoom();
    void rowsFollowTheMeasuredText();
    void twoRootsAndLastBottom();
    void collapsingMovesLaterRowsUp();
    void fixedCoordinates();
    void childImageUnderParentWithout();
    void placeImageByAlignment();
    void placeImageWithoutImages();
    void crossPositions();
    void extentOfThePass();
    void withoutLayoutObject();
    void deepChainWithoutRecursion();
    void layoutStopsAtTheEndOfTheRange();
    void autoConnectionCourse();
    void autoConnectionsAndVisibleArea();
};

void TestLayout::rootColumnAndCrossRoom()
{
    THost host;
    TTreeDocument *tree = host.Tree;
    QVERIFY(Explorer(tree));
    TTreeNodeShape *a = tree->AddRoot(QStringLiteral("A"));
    QCOMPARE(a->ImageSize().width(), 15);
    // No cross box anywhere: 2 + image 15 + gap 3.
    tree->LayoutShapes();
    QCOMPARE(a->X0(), 20);
    QCOMPARE(a->Y0(), 2);
    // A child gives the root a cross box: room for Size 4 + margin 5 + 2.
    TTreeNodeShape *b = a->AddChild(QStringLiteral("B"));
    a->SetExpanded(true);
    tree->LayoutShapes();
    QCOMPARE(a->X0(), 31);
    QCOMPARE(a->Y0(), 2);
    QCOMPARE(b->X0(), 50);
    QCOMPARE(b->Y0(), a->Bounds().Bottom + 1);
    // The width is kept when X0 moves.
    QCOMPARE(a->X1() - a->X0(), a->Width());
    QCOMPARE(a->Bounds().Left, 31 - 15 - 3);
    // Without images the image room goes.
    tree->SetShowImages(false);
    tree->LayoutShapes();
    QCOMPARE(a->X0(), 2 + 4 + 5 + 2);
    QCOMPARE(b->X0(), a->X0() + 19);
    QCOMPARE(a->Bounds().Left, a->X0());
    // The layout object's fields are used as they stand.
    tree->SetShowImages(true);
    TTreeExplorerAlignChild *e = Explorer(tree);
    e->SetChildIndent(30);
    e->SetTopMargin(10);
    e->SetCrossMargin(8);
    tree->CrossBox()->SetSize(6);
    tree->LayoutShapes();
    QCOMPARE(a->X0(), 2 + 18 + 6 + 8 + 2);
    QCOMPARE(a->Y0(), 10);
    QCOMPARE(b->X0(), a->X0() + 30);
}

void TestLayout::rowsFollowTheMeasuredText()
{
    THost host;
    TTreeDocument *tree = host.Tree;
    const int th = LineHeight(tree);
    QVERIFY(th > 0);
    TTreeNodeShape *a = tree->AddRoot(QStringLiteral("A"));
    TTreeNodeShape *b = a->AddChild(QStringLiteral("B"));
    TTreeNodeShape *c = a->AddChild(QStringLiteral("two"));
    c->Text()->Add(QStringLiteral("lines"));
    a->SetExpanded(true);
    tree->LayoutShapes();
    // A body of one line with a 1-pixel border is th + 1 high; the 13-pixel
    // folder image is centred on it and widens the bounds only when taller.
    const int body = th + 1;
    const int d = (13 - body) / 2;
    const int grow = d > 0 ? d : 0;
    QCOMPARE(a->Y1() - a->Y0(), body);
    QCOMPARE(a->Bounds().Top, 2 - grow);
    QCOMPARE(a->Bounds().Bottom, 2 + body + grow);
    QCOMPARE(b->Y0(), a->Bounds().Bottom + 1);
    QCOMPARE(b->ImageBounds().Top, b->Y0() - d);
    QCOMPARE(c->Y0(), b->Bounds().Bottom + 1);
    QCOMPARE(c->Y1() - c->Y0(), 2 * th + 1);
    // VertSpacing separates the rows.
    Explorer(tree)->SetVertSpacing(5);
    tree->LayoutShapes();
    QCOMPARE(b->Y0(), a->Bounds().Bottom + 5);
    QCOMPARE(c->Y0(), b->Bounds().Bottom + 5);
    // A text change is measured again by the next pass.
    const int width = b->Width();
    b->SetSimpleText(QStringLiteral("a much longer text"));
    b->Text()->Add(QStringLiteral("second line"));
    QVERIFY(!b->SizeValid());
    tree->LayoutShapes();
    QVERIFY(b->Width() > width);
    QCOMPARE(b->Y1() - b->Y0(), 2 * th + 1);
    QCOMPARE(c->Y0(), b->Bounds().Bottom + 5);
}

void TestLayout::twoRootsAndLastBottom()
{
    THost host;
    TTreeDocument *tree = host.Tree;
    TTreeNodeShape *r1 = tree->AddRoot(QStringLiteral("R1"));
    TTreeNodeShape *c1 = r1->AddChild(QStringLiteral("C1"));
    TTreeNodeShape *c2 = r1->AddChild(QStringLiteral("C2"));
    TTreeNodeShape *g = c2->AddChild(QStringLiteral("G"));
    TTreeNodeShape *r2 = tree->AddRoot(QStringLiteral("R2"));
    r1->SetExpanded(true);
    c2->SetExpanded(true);
    tree->LayoutShapes();
    QCOMPARE(TTreeExplorerAlignChild::LastBottom(r1), g->Bounds().Bottom);
    QCOMPARE(r2->Y0(), g->Bounds().Bottom + 1);
    QCOMPARE(r2->X0(), r1->X0());
    QCOMPARE(g->X0(), c2->X0() + 19);
    QCOMPARE(c2->Y0(), c1->Bounds().Bottom + 1);
    // A collapsed last child ends the subtree at its own row.
    c2->SetExpanded(false);
    QCOMPARE(TTreeExplorerAlignChild::LastBottom(r1), c2->Bounds().Bottom);
    tree->LayoutShapes();
    QCOMPARE(r2->Y0(), c2->Bounds().Bottom + 1);
    // The next sibling of an expanded node goes below its last row.
    c2->SetExpanded(true);
    TTreeNodeShape *c3 = r1->AddChild(QStringLiteral("C3"));
    tree->LayoutShapes();
    QCOMPARE(c3->Y0(), g->Bounds().Bottom + 1);
    QCOMPARE(r2->Y0(), c3->Bounds().Bottom + 1);
    // Layout does not look at Visible: a hidden root keeps its rows.
    r1->SetVisible(false);
    tree->LayoutShapes();
    QCOMPARE(r1->Y0(), 2);
    QCOMPARE(r2->Y0(), c3->Bounds().Bottom + 1);
}

void TestLayout::collapsingMovesLaterRowsUp()
{
    THost host;
    TTreeDocument *tree = host.Tree;
    TTreeNodeShape *a = tree->AddRoot(QStringLiteral("A"));
    TTreeNodeShape *b = a->AddChild(QStringLiteral("B"));
    TTreeNodeShape *b1 = b->AddChild(QStringLiteral("B1"));
    TTreeNodeShape *b2 = b->AddChild(QStringLiteral("B2"));
    TTreeNodeShape *c = a->AddChild(QStringLiteral("C"));
    tree->ExpandAll(true);
    tree->LayoutShapes();
    const TRect b1Before = b1->Bounds();
    const int b2Y = b2->Y0();
    QCOMPARE(c->Y0(), b2->Bounds().Bottom + 1);
    b->SetExpanded(false);
    tree->LayoutShapes();
    QCOMPARE(c->Y0(), b->Bounds().Bottom + 1);
    // The hidden rows are not laid out: they keep their last places.
    QCOMPARE(b1->Bounds(), b1Before);
    QCOMPARE(b2->Y0(), b2Y);
}

void TestLayout::fixedCoordinates()
{
    THost host;
    TTreeDocument *tree = host.Tree;
    TTreeNodeShape *r1 = tree->AddRoot(QStringLiteral("R1"));
    TTreeNodeShape *r2 = tree->AddRoot(QStringLiteral("R2"));
    TTreeNodeShape *child = r2->AddChild(QStringLiteral("child"));
    TTreeNodeShape *r3 = tree->AddRoot(QStringLiteral("R3"));
    r2->SetExpanded(true);
    // A root whose Y the user fixed: its children follow it, and the next
    // automatic root goes below its last row.
    r2->SetY0(200);
    tree->LayoutShapes();
    QCOMPARE(r2->Y0(), 200);
    QCOMPARE(child->Y0(), r2->Bounds().Bottom + 1);
    QCOMPARE(r3->Y0(), child->Bounds().Bottom + 1);
    QCOMPARE(r2->X0(), r1->X0());
    // A node moved in X only keeps its X; its Y still follows the rows, and
    // its children indent from where it stands.
    r1->UserMove(40, 0, false);
    const int x = r1->X0();
    tree->LayoutShapes();
    QCOMPARE(r1->X0(), x);
    QCOMPARE(r1->Y0(), 2);
    // The automatic roots no longer take their column from R1.
    QCOMPARE(r2->X0(), x - 40);
    QCOMPARE(r3->X0(), r2->X0());
    child->UserMove(25, 0, false);
    const int cx = child->X0();
    tree->LayoutShapes();
    QCOMPARE(child->X0(), cx);
    QCOMPARE(child->Y0(), r2->Bounds().Bottom + 1);
    // A root the user put aside higher up does not pull the next automatic
    // root into the rows above it.
    r2->SetY0(5);
    tree->LayoutShapes();
    QCOMPARE(r3->Y0(), std::max(r1->Bounds().Bottom, child->Bounds().Bottom) + 1);
    r2->SetY0(0);
    r2->SetExpanded(false);
    TTreeNodeShape *r1Child = r1->AddChild(QStringLiteral("r1 child"));
    r1->SetExpanded(true);
    tree->LayoutShapes();
    QCOMPARE(r3->Y0(), r1Child->Bounds().Bottom + 1);
    // A fixed first root: the automatic root after it still goes below.
    THost other;
    TTreeNodeShape *f = other.Tree->AddRoot(QStringLiteral("F"));
    f->SetY0(50);
    TTreeNodeShape *n = other.Tree->AddRoot(QStringLiteral("N"));
    other.Tree->LayoutShapes();
    QCOMPARE(f->Y0(), 50);
    QCOMPARE(n->Y0(), f->Bounds().Bottom + 1);
}

void TestLayout::childImageUnderParentWithout()
{
    THost host;
    TTreeDocument *tree = host.Tree;
    TTreeNodeShape *p = tree->AddRoot(QStringLiteral("P"));
    p->SetImageIndex(tiNone);
    QCOMPARE(p->ImageSize().width(), 0);
    TTreeNodeShape *c = p->AddChild(QStringLiteral("C"));
    TTreeNodeShape *plain = p->AddChild(QStringLiteral("plain"));
    plain->SetImageIndex(tiNone);
    p->SetExpanded(true);
    tree->LayoutShapes();
    // The root has no image: 2 + cross room only.
    QCOMPARE(p->X0(), 2 + 4 + 5 + 2);
    QCOMPARE(c->X0(), p->X0() + 19 + 15 + 3);
    QCOMPARE(c->Bounds().Left, p->X0() + 19);
    QCOMPARE(plain->X0(), p->X0() + 19);
}

void TestLayout::placeImageByAlignment()
{
    THost host;
    TTreeNodeShape *n = host.Tree->AddRoot();
    Place(n, 100, 50, 140, 63); // a body 13 high
    n->SetImageWidth(16);
    n->SetImageHeight(16);
    QCOMPARE(n->ImageSize(), QSize(16, 16));
    struct TCase
    {
        TTreeImageAlignment Align;
        TRect Bounds, Image;
    };
    const TCase cases[] = {
        // d = (16 + 50 - 63) / 2 = 1: one pixel more above and below.
        {iaLeft, TRect(81, 49, 140, 64), TRect(81, 49, 97, 65)},
        {iaAutomatic, TRect(81, 49, 140, 64), TRect(81, 49, 97, 65)},
        {iaLeftTop, TRect(81, 32, 140, 63), TRect(81, 32, 97, 48)},
        {iaLeftBottom, TRect(81, 50, 140, 79), TRect(81, 63, 97, 79)},
        {iaRight, TRect(100, 49, 159, 64), TRect(143, 49, 159, 65)},
        {iaRightTop, TRect(100, 32, 159, 63), TRect(143, 32, 159, 48)},
        // The image reaches 2 pixels below the bounds.
        {iaRightBottom, TRect(100, 50, 159, 81), TRect(143, 67, 159, 83)},
        // d = (16 + 100 - 140) / 2 = -12: centred, bounds not widened.
        {iaTop, TRect(100, 32, 140, 63), TRect(112, 32, 128, 48)},
        {iaBottom, TRect(100, 50, 140, 81), TRect(112, 65, 128, 81)},
        {iaCenter, TRect(100, 50, 140, 63), TRect(100, 50, 140, 63)},
    };
    for (const TCase &c : cases) {
        n->SetImageAlignment(c.Align);
        n->PlaceImage();
        QCOMPARE(n->Bounds(), c.Bounds);
        QCOMPARE(n->ImageBounds(), c.Image);
    }
    // An image wider than the body widens the bounds on both sides.
    n->SetImageWidth(60);
    n->SetImageAlignment(iaTop);
    n->PlaceImage();
    QCOMPARE(n->Bounds(), TRect(90, 32, 150, 63));
    QCOMPARE(n->ImageBounds(), TRect(90, 32, 150, 48));
    // The layout pass places fixed nodes' images too.
    n->SetImageAlignment(iaRight);
    host.Tree->LayoutShapes();
    QCOMPARE(n->ImageBounds(), TRect(143, 49, 203, 65));
    QCOMPARE(host.Tree->ShapeExtent().Right, 203);
}

void TestLayout::placeImageWithoutImages()
{
    THost host;
    TTreeNodeShape *n = Place(host.Tree->AddRoot(), 100, 50, 140, 63);
    n->PlaceImage();
    QVERIFY(n->Bounds() != TRect(100, 50, 140, 63));
    // With images switched off the bounds are the body, and the image area
    // of the earlier layout is no longer hit.
    host.Tree->SetShowImages(false);
    host.Tree->LayoutShapes();
    QCOMPARE(n->Bounds(), TRect(100, 50, 140, 63));
    QVERIFY(n->ImageBounds().IsEmpty());
    // A node without any picture has no image area either.
    host.Tree->SetShowImages(true);
    n->SetImageIndex(tiNone);
    host.Tree->LayoutShapes();
    QCOMPARE(n->Bounds(), TRect(100, 50, 140, 63));
    QVERIFY(n->ImageBounds().IsEmpty());
}

void TestLayout::crossPositions()
{
    THost host;
    TTreeDocument *tree = host.Tree;
    TTreeExplorerAlignChild *e = Explorer(tree);
    TTreeNodeShape *a = tree->AddRoot(QStringLiteral("A"));
    TTreeNodeShape *b = a->AddChild(QStringLiteral("B"));
    TTreeNodeShape *r2 = tree->AddRoot(QStringLiteral("R2"));
    r2->SetImageIndex(tiNone);
    a->SetExpanded(true);
    tree->LayoutShapes();
    // A root's box stands left of its image: 13 - 5 - 4 / 2.
    QCOMPARE(a->Bounds().Left, 13);
    QCOMPARE(e->GetCrossPos(a, nullptr), TPoint(6, a->YCenter()));
    // A child's box is on its parent's guide: the middle of the parent's
    // image, 13 + (31 - 13 - 3) / 2.
    QCOMPARE(e->GetCrossPos(b, a), TPoint(20, b->YCenter()));
    // Later automatic roots line their boxes up under the first one's.
    QVERIFY(r2->Bounds().Left != a->Bounds().Left);
    QCOMPARE(e->GetCrossPos(r2, nullptr), TPoint(6, r2->YCenter()));
    // A parent without image: 7 pixels right of its X0.
    a->SetImageIndex(tiNone);
    tree->LayoutShapes();
    QCOMPARE(e->GetCrossPos(b, a).X, a->X0() + 7);
    // A child the user moved in X whose connection is no longer automatic
    // has its box beside itself; without the cross box no half size.
    b->SetX0(200);
    a->ConnectionTo(b)->SetStyle(csLine);
    tree->LayoutShapes();
    QCOMPARE(e->GetCrossPos(b, a).X, b->Bounds().Left - 5 - 2);
    a->ConnectionTo(b)->SetStyle(csAuto);
    QCOMPARE(e->GetCrossPos(b, a).X, a->X0() + 7);
    tree->CrossBox()->SetVisible(false);
    QCOMPARE(e->GetCrossPos(a, nullptr).X, a->Bounds().Left - 5);
    // A root fixed in X keeps its own box.
    tree->CrossBox()->SetVisible(true);
    r2->SetX0(300);
    tree->LayoutShapes();
    QCOMPARE(e->GetCrossPos(r2, nullptr).X, 300 - 5 - 2);
}

void TestLayout::extentOfThePass()
{
    THost host;
    TTreeDocument *tree = host.Tree;
    tree->LayoutShapes();
    QCOMPARE(tree->ShapeExtent(), TRect(INT_MAX, INT_MAX, 0, 0));
    TTreeNodeShape *a = tree->AddRoot(QStringLiteral("A"));
    TTreeNodeShape *b = a->AddChild(QStringLiteral("a wide child text"));
    a->SetExpanded(true);
    tree->LayoutShapes();
    // The first automatic root pulls left and top to 0.
    QCOMPARE(tree->ShapeExtent(), TRect(0, 0, b->Bounds().Right, b->Bounds().Bottom));
    // Fixed nodes far away count as they are.
    TTreeNodeShape *far = Place(tree->AddRoot(QStringLiteral("far")), -50, -40, 500, 700);
    tree->LayoutShapes();
    QCOMPARE(tree->ShapeExtent(), TRect(far->Bounds().Left, -40, 500, 700));
    QVERIFY(far->Bounds().Left < -50); // the image is left of the body
    // The pass and the drawing of automatic connections never ask for a
    // repaint: the view runs them while drawing.
    const int repaints = tree->InvalidateCount();
    tree->LayoutShapes();
    a->ConnectionTo(b)->Draw();
    QCOMPARE(tree->InvalidateCount(), repaints);
    // Collapsed subtrees are not taken in.
    delete far;
    TTreeNodeShape *wide = b->AddChild(QStringLiteral("a much much wider grandchild text"));
    tree->LayoutShapes();
    QCOMPARE(tree->ShapeExtent().Right, b->Bounds().Right);
    b->SetExpanded(true);
    tree->LayoutShapes();
    QCOMPARE(tree->ShapeExtent().Right, wide->Bounds().Right);
}

void TestLayout::withoutLayoutObject()
{
    THost host;
    TTreeDocument *tree = host.Tree;
    tree->DefaultFormat().SetChildManager(nullptr);
    TTreeNodeShape *a = tree->AddRoot(QStringLiteral("A"));
    TTreeNodeShape *b = a->AddChild(QStringLiteral("B"));
    a->SetExpanded(true);
    tree->LayoutShapes();
    // Nothing moves, but sizes, bounds and the extent are still made.
    QCOMPARE(a->X0(), 0);
    QCOMPARE(b->X0(), 19);
    QCOMPARE(b->Y0(), 1);
    QVERIFY(b->SizeValid());
    QCOMPARE(b->Bounds().Left, 19 - 15 - 3);
    QCOMPARE(tree->ShapeExtent().Right, std::max(a->Bounds().Right, b->Bounds().Right));
    QVERIFY(a->ConnectionTo(b)->Draw());
}

void TestLayout::deepChainWithoutRecursion()
{
    THost host(false);
    TTreeDocument *tree = host.Tree;
    tree->SetAutoConnectChildren(false);
    const int depth = 20000;
    TTreeNodeShape *node = tree->AddRoot(QStringLiteral("0"));
    node->SetExpanded(true);
    TTreeNodeShape *root = node;
    for (int i = 1; i < depth; ++i) {
        node = node->AddChild(QStringLiteral("n"));
        node->SetExpanded(true);
    }
    tree->LayoutShapes();
    QCOMPARE(node->X0(), root->X0() + 19 * (depth - 1));
    QCOMPARE(node->Y0(), node->Parent()->Bounds().Bottom + 1);
    QCOMPARE(TTreeExplorerAlignChild::LastBottom(root), node->Bounds().Bottom);
    QCOMPARE(tree->ShapeExtent().Bottom, node->Bounds().Bottom);
}

void TestLayout::layoutStopsAtTheEndOfTheRange()
{
    // A node placed at the end of the int range (as a file may place it)
    // gets a child one indentation further right, and tall rows follow each
    // other down: positions stop at the end of the coordinate range instead
    // of wrapping round to the other side.
    THost host;
    TTreeDocument *tree = host.Tree;
    TTreeNodeShape *far = tree->AddRoot(QStringLiteral("far"));
    far->SetX0(INT_MAX - 10);
    QCOMPARE(far->X0(), kCoordLimit);
    TTreeNodeShape *child = far->AddChild(QStringLiteral("child"));
    QCOMPARE(child->X0(), kCoordLimit);
    far->SetExpanded(true);
    std::vector<TTreeNodeShape *> rows{far, child};
    for (int i = 0; i < 10; ++i) {
        TTreeNodeShape *tall = tree->AddRoot(QStringLiteral("tall"));
        tall->SetHeight(INT_MAX);
        QCOMPARE(tall->Height(), kCoordLimit);
        rows.push_back(tall);
    }
    tree->LayoutShapes();
    QCOMPARE(child->X0(), kCoordLimit);
    QCOMPARE(child->X1(), kCoordLimit);
    int top = INT_MIN;
    for (TTreeNodeShape *row : rows) {
        QVERIFY(row->Y0() >= top);
        QVERIFY(row->Y1() >= row->Y0() && row->Y1() <= kCoordLimit);
        top = row->Y0();
    }
    QCOMPARE(top, kCoordLimit);
    QVERIFY(tree->ShapeExtent().Bottom >= kCoordLimit && tree->ShapeExtent().Bottom < INT_MAX / 2);
    // Moved on from there, they stay at the end.
    far->MoveRelative(INT_MAX, INT_MIN, true);
    QCOMPARE((QList<int>{far->X0(), far->Y0(), child->X0(), child->Y0()}),
             (QList<int>{kCoordLimit, -kCoordLimit, kCoordLimit, -kCoordLimit}));
}

void TestLayout::autoConnectionCourse()
{
    TRecordingHost host;
    TRecordingTree *tree = host.Tree;
    TTreeNodeShape *a = tree->AddRoot(QStringLiteral("A"));
    TTreeNodeShape *b = a->AddChild(QStringLiteral("B"));
    TTreeNodeShape *c = a->AddChild(QStringLiteral("C"));
    c->AddChild(QStringLiteral("D")); // C shows a cross box
    a->SetExpanded(true);
    tree->LayoutShapes();
    TTreeConnection *ab = a->ConnectionTo(b);
    TTreeConnection *ac = a->ConnectionTo(c);
    QCOMPARE(ab->Style(), csAuto);

    // First child, no box: guide from below A's image to B's row, then into
    // B, stopping 2 pixels short for the arrow head.
    tree->Canvas.Clear();
    QVERIFY(ab->Draw());
    const int guide = 20;
    const TPoint p0(guide, a->YCenter() + 13 / 2 + 2);
    const TPoint p1(guide, b->YCenter());
    const TPoint p2(b->Bounds().Left - 2, b->YCenter());
    QCOMPARE(ab->Points().Positions(), (TPointArray{p0, p1, p2}));
    for (int i = 1; i < 3; ++i)
        QCOMPARE(ab->Points()[i].XStyle, cpAbsolute);
    std::vector<TLine> lines = DrawnLines(tree->Canvas);
    QCOMPARE(lines.size(), size_t(2));
    QCOMPARE(lines[0].X0, p0.X);
    QCOMPARE(lines[0].Y0, p0.Y);
    QCOMPARE(lines[0].X1, p1.X);
    QCOMPARE(lines[0].Y1, p1.Y);
    QCOMPARE(lines[1].X1, p2.X);
    QCOMPARE(lines[1].Y1, p2.Y);
    // The lines use the connection's grey dots; the arrow head points right
    // at the end of the course.
    const TCanvasCall *line = tree->Canvas.First(QStringLiteral("ProjectedLineTo"));
    QVERIFY(line->PenSmallDots);
    QCOMPARE(line->PenColor, clGray);
    const TCanvasCall *head = tree->Canvas.First(QStringLiteral("Polygon"));
    QVERIFY(head);
    QCOMPARE(head->Ints, (std::vector<int>{p2.X - 4, p2.Y + 2, p2.X, p2.Y, p2.X - 4, p2.Y - 2}));

    // A later sibling with a box: the guide runs from the sibling's row to
    // the top of C's box, and the line into C starts at the box's far side.
    tree->Canvas.Clear();
    QVERIFY(ac->Draw());
    const TPoint q1(guide, c->YCenter());
    QCOMPARE(ac->Points()[0].X, guide);
    QCOMPARE(ac->Points()[0].Y, b->YCenter());
    QCOMPARE(ac->Points()[0].XStyle, cpAbsolute);
    lines = DrawnLines(tree->Canvas);
    QCOMPARE(lines.size(), size_t(2));
    QCOMPARE(lines[0].Y0, b->YCenter());
    QCOMPARE(lines[0].Y1, q1.Y - 4);
    QCOMPARE(lines[1].X0, guide + 4);
    QCOMPARE(lines[1].Y0, q1.Y);
    QCOMPARE(lines[1].X1, c->Bounds().Left - 2);

    // Without a to-arrow the line reaches the child's edge; with a
    // from-arrow one is drawn at the start pointing left; the text goes on
    // the last segment. Extra points are dropped.
    ab->AddPoint(1, 1);
    ab->SetStyle(csAuto);
    ab->ArrowTo()->SetStyle(casNone);
    ab->ArrowFrom()->SetStyle(casLines);
    ab->SetSimpleText(QStringLiteral("label"));
    tree->Canvas.Clear();
    QVERIFY(ab->Draw());
    QCOMPARE(ab->Count(), 3);
    QCOMPARE(ab->Points()[2].X, b->Bounds().Left);
    const TCanvasCall *from = tree->Canvas.First(QStringLiteral("MoveTo"));
    QVERIFY(from);
    QCOMPARE(from->Int(0), p0.X + 4); // the arrow's lines open to the right
    QCOMPARE(tree->Canvas.Count(QStringLiteral("Polygon")), 0);
    const TCanvasCall *text = tree->Canvas.First(QStringLiteral("ProjectedTextOut"));
    QVERIFY(text);
    QCOMPARE(text->Str(0), QStringLiteral("label"));
    QCOMPARE(text->Int(0), (p1.X + b->Bounds().Left) / 2);
}

void TestLayout::autoConnectionsAndVisibleArea()
{
    TRecordingHost host;
    TRecordingTree *tree = host.Tree;
    TTreeNodeShape *root = tree->AddRoot(QStringLiteral("root"));
    for (int i = 0; i < 40; ++i)
        root->AddChild(QString::number(i));
    root->SetExpanded(true);
    tree->LayoutShapes();
    // The rows of horizontal lines drawn, each checked against the area.
    auto rows = [tree](int top, int bottom) {
        int count = 0;
        for (const TLine &l : DrawnLines(tree->Canvas))
            if (l.Y0 == l.Y1) {
                ++count;
                if (l.Y1 <= top || l.Y1 > bottom)
                    return -1;
            }
        return count;
    };
    // A small area: the first child whose row lies below it ends the walk,
    // unlike a connection to a node that is not the start's child.
    tree->Visible = TRect(0, 0, 400, 100);
    int firstBelow = 0;
    while (root->Child(firstBelow)->YCenter() <= 100)
        ++firstBelow;
    QVERIFY(firstBelow > 2 && firstBelow < 39);
    tree->Canvas.Clear();
    const auto [drawn, answer] = DrawConnectionsOf(root);
    QVERIFY(!answer);
    QCOMPARE(drawn, firstBelow + 1);
    QCOMPARE(rows(0, 100), firstBelow);
    QCOMPARE(tree->Canvas.Count(QStringLiteral("Polygon")), firstBelow);
    TTreeNodeShape *other = tree->AddRoot(QStringLiteral("other"));
    QVERIFY(other->AddConnection(root->Child(39))->Draw());
    // Scrolled down: rows above the area draw no horizontal line.
    const int top = root->Child(5)->Bounds().Top;
    tree->Visible = TRect(0, top, 400, top + 1000);
    tree->Canvas.Clear();
    QVERIFY(DrawConnectionsOf(root).second);
    QCOMPARE(rows(top, top + 1000), 35);
    // With a box on every child the guide pieces are clamped to the area.
    for (int i = 0; i < 40; ++i)
        root->Child(i)->SetShowCross(scAlways);
    tree->LayoutShapes();
    tree->Canvas.Clear();
    QVERIFY(DrawConnectionsOf(root).second);
    QCOMPARE(rows(top, top + 1000), 35);
    for (const TLine &l : DrawnLines(tree->Canvas))
        QVERIFY(l.Y0 >= top && l.Y1 >= top);
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
