// The diagram as a visible control: the model-screen mapping, the zoom
// and scroll callbacks, the buffered paint, the layers and what the node
// walk skips, printing and rendering on the same pipeline, the published
// settings.

#include "GeneratedOutline.h"
#include "ViewTestUtil.h"

#include "core/PropAccess.h"

#include <QBuffer>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

class TAfterDrawLog : public TKorEventListener
{
public:
    QStringList *Log;
    explicit TAfterDrawLog(QStringList *log) : Log(log) {}
    void KorEvent(TKorEvent &event) override
    {
        if (dynamic_cast<TTreeAfterDrawEvent *>(&event))
            *Log << QStringLiteral("listener");
    }
};

int CountColor(const QImage &img, QRgb color)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += (img.pixel(x, y) | 0xFF000000u) == (color | 0xFF000000u);
    return n;
}

} // namespace

class TestTreeView : public QObject
{
    Q_OBJECT
private slots:
    void mappingFollowsZoomAndOffsets();
    void zoomedShapeOutsideTheViewIsSkipped();
    void zoomKeepsTheOriginOrTheCentre();
    void scrollAndZoomEventsAndLoading();
    void cleanBufferRepaintDrawsNothing();
    void positionPassRunsOnlyAfterModelChanges();
    void layersAndEventsInOrder();
    void collapsedAndInvisibleSubtrees();
    void walkStopsWhereAConnectionSaysSo();
    void imageStripsDrawOnlyWhatTheyShow();
    void passingSubtreesByKeepsThePicture();
    void printingAndBitmapsShareThePipeline();
    void printsToPdf();
    void extentAndWholePicture();
    void emptyAndTinyViews();
    void publishedSettings();
};

void TestTreeView::mappingFollowsZoomAndOffsets()
{
    TViewHost h(400, 300);
    TTree *t = h.Tree;
    // Before any drawing the client area gives the centre (200, 150).
    QCOMPARE(t->ProjectPoint(TPoint(10, 10)), TPoint(10, 10));
    t->View3DOptions()->SetZoom(200);
    t->View3DOptions()->SetHorizOffset(0);
    t->View3DOptions()->SetVertOffset(0);
    h.Paint();
    QCOMPARE(t->DrawingBounds(), TRect(0, 0, 400, 300));
    QCOMPARE(t->ProjectPoint(TPoint(10, 10)), TPoint(-180, -130));
    QCOMPARE(t->UnprojectPoint(TPoint(-180, -130)), TPoint(10, 10));
    // The canvas agrees with the view's own formula.
    QCOMPARE(t->Canvas()->ProjectPoint(10, 10, 0), TPoint(-180, -130));
    QCOMPARE(t->VisibleArea(), TRect(100, 75, 300, 225));

    // Offsets add on screen; halves of zoomed values round to even.
    t->View3DOptions()->SetZoom(150);
    t->View3DOptions()->SetHorizOffset(7);
    t->View3DOptions()->SetVertOffset(-3);
    // (201 - 200) * 1.5 = 1.5 -> 2; (151 - 150) * 1.5 = 1.5 -> 2.
    QCOMPARE(t->ProjectPoint(TPoint(201, 151)), TPoint(2 + 200 + 7, 2 + 150 - 3));
    // (203 - 200) * 1.5 = 4.5 -> 4.
    QCOMPARE(t->ProjectPoint(TPoint(203, 150)).X, 4 + 200 + 7);
    // Back: (209 - 200 - 7) / 1.5 = 1.33 -> 1.
    QCOMPARE(t->UnprojectPoint(TPoint(209, 149)), TPoint(201, 151));
    for (int x = -50; x <= 450; x += 37) {
        const TPoint m(x, x / 2);
        const TPoint s = t->ProjectPoint(m);
        QVERIFY(std::abs(t->UnprojectPoint(s).X - m.X) <= 1);
    }
    // A zoom of 0 maps nothing back rather than dividing by zero.
    t->View3DOptions()->SetZoom(0);
    QCOMPARE(t->UnprojectPoint(TPoint(5, 6)), TPoint(5, 6));

    // Any zoom and offsets a file may hold: positions saturate at the ends
    // of the range instead of overflowing, also while zooming and painting.
    for (int zoom : {INT_MAX, -INT_MAX, 1}) {
        t->View3DOptions()->SetZoom(zoom);
        t->View3DOptions()->SetHorizOffset(INT_MAX);
        t->View3DOptions()->SetVertOffset(INT_MIN);
        h.Paint();
        const TPoint far = t->ProjectPoint(TPoint(kCoordLimit, -kCoordLimit));
        const TPoint back = t->UnprojectPoint(TPoint(INT_MIN, INT_MAX));
        if (zoom == INT_MAX)
            QCOMPARE(far, TPoint(INT_MAX, INT_MIN));
        if (zoom == 1)
            QVERIFY(back.X < -1000000000 && back.Y > 1000000000);
    }
}

void TestTreeView::zoomedShapeOutsideTheViewIsSkipped()
{
    TViewHost h(400, 300);
    h.UseProbes();
    Place(h.Tree->AddRoot(QStringLiteral("A")), 10, 10, 40, 30);
    Place(h.Tree->AddRoot(QStringLiteral("B")), 200, 150, 240, 170);
    h.Record();
    h.Tree->View3DOptions()->SetZoom(200);
    h.Tree->View3DOptions()->SetHorizOffset(0);
    h.Tree->View3DOptions()->SetVertOffset(0);
    h.Paint();
    QCOMPARE(h.DrawnTexts(), QStringList{QStringLiteral("B")});
    const TCanvasCall *text = h.Recorder->First(QStringLiteral("ProjectedTextOut"));
    QCOMPARE(h.Tree->ProjectPoint(TPoint(text->Int(0), text->Int(1))), TPoint(200, 150));
    // Back at 100% both fit.
    h.Recorder->Clear();
    h.Tree->View3DOptions()->SetZoom(100);
    h.Tree->View3DOptions()->SetHorizOffset(0);
    h.Tree->View3DOptions()->SetVertOffset(0);
    h.Paint();
    QCOMPARE(h.DrawnTexts(), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
}

void TestTreeView::zoomKeepsTheOriginOrTheCentre()
{
    TViewHost h(400, 300);
    TTree *t = h.Tree;
    TView3DOptions *o = t->View3DOptions();
    h.Paint();
    // Default: the model origin keeps its screen position, at any pair of
    // zooms and offsets.
    const int zooms[] = {50, 100, 37, 300, 125, 100, 10, 250};
    o->SetHorizOffset(13);
    o->SetVertOffset(-21);
    for (int z : zooms) {
        const TPoint before = t->ProjectPoint(TPoint(0, 0));
        o->SetZoom(z);
        QCOMPARE(t->ProjectPoint(TPoint(0, 0)), before);
    }
    o->SetZoom(100);
    o->SetHorizOffset(0);
    o->SetVertOffset(0);
    o->SetZoom(50);
    QCOMPARE(t->ProjectPoint(TPoint(0, 0)), TPoint(0, 0));

    // Centred: the model point shown at the centre stays there.
    t->SetZoomCentered(true);
    o->SetZoom(100);
    o->SetHorizOffset(-57);
    o->SetVertOffset(33);
    for (int z : zooms) {
        const TPoint centre(200, 150);
        const TPoint m = t->UnprojectPoint(centre);
        o->SetZoom(z);
        QCOMPARE(t->ProjectPoint(m), centre);
    }
}

void TestTreeView::scrollAndZoomEventsAndLoading()
{
    TViewHost h(400, 300);
    TTree *t = h.Tree;
    TView3DOptions *o = t->View3DOptions();
    QStringList log;
    t->OnScroll = [&](TObject *sender) {
        QCOMPARE(sender, static_cast<TObject *>(static_cast<TTreeDocument *>(t)));
        log << QStringLiteral("scroll %1,%2").arg(o->HorizOffset()).arg(o->VertOffset());
    };
    t->OnZoom = [&](TObject *) { log << QStringLiteral("zoom %1").arg(o->Zoom()); };
    h.Paint();
    o->SetHorizOffset(5);
    QCOMPARE(log, QStringList{QStringLiteral("scroll 5,0")});
    log.clear();
    // A zoom change moves both offsets (one scroll event each), then fires
    // OnZoom before the new zoom is stored.
    o->SetZoom(50);
    QCOMPARE(log, (QStringList{QStringLiteral("scroll -95,0"), QStringLiteral("scroll -95,-75"),
                               QStringLiteral("zoom 100")}));
    QCOMPARE(o->Zoom(), 50);
    log.clear();
    // Centred on the point the centre shows unscrolled, a zoom change moves
    // no offset and fires only OnZoom.
    t->SetZoomCentered(true);
    o->SetHorizOffset(0);
    o->SetVertOffset(0);
    log.clear();
    o->SetZoom(100);
    QCOMPARE(log, QStringList{QStringLiteral("zoom 50")});

    // While loading, the stored offsets stay as read and no event fires.
    t->SetZoomCentered(false);
    log.clear();
    t->BeginLoading();
    o->SetHorizOffset(-40);
    o->SetVertOffset(-60);
    o->SetZoom(200);
    t->Loaded();
    QVERIFY(log.isEmpty());
    QCOMPARE(o->HorizOffset(), -40);
    QCOMPARE(o->VertOffset(), -60);
    QCOMPARE(o->Zoom(), 200);
    // Resetting the scroll offsets goes back to the origin.
    t->ResetScrollOffsets();
    QCOMPARE(o->HorizOffset(), 0);
    QCOMPARE(o->VertOffset(), 0);
}

void TestTreeView::cleanBufferRepaintDrawsNothing()
{
    TViewHost h(300, 200);
    h.UseProbes();
    Place(h.Tree->AddRoot(QStringLiteral("A")), 10, 10, 50, 30);
    int before = 0;
    h.Tree->OnBeforeDraw = [&](TObject *) { ++before; };
    const QImage first = h.Paint();
    QCOMPARE(before, 1);
    QVERIFY(!h.Tree->Canvas()->Dirty());
    // The same picture from the buffer, without a drawing.
    QCOMPARE(h.Paint(), first);
    QCOMPARE(before, 1);
    // Any change dirties the buffer; the next paint draws.
    h.Tree->Roots()[0]->SetSimpleText(QStringLiteral("B"));
    QVERIFY(h.Tree->Canvas()->Dirty());
    h.Paint();
    QCOMPARE(before, 2);
    // Without a buffer every paint draws.
    h.Tree->SetBufferedDisplay(false);
    h.Paint();
    h.Paint();
    QCOMPARE(before, 4);
    // While printing the window does not paint at all.
    h.Tree->SetPrinting(true);
    h.Paint();
    QCOMPARE(before, 4);
    h.Tree->SetPrinting(false);
}

void TestTreeView::positionPassRunsOnlyAfterModelChanges()
{
    TViewHost h(300, 200);
    TTreeNodeShape *a = h.Tree->AddRoot(QStringLiteral("Alpha"));
    TTreeNodeShape *b = a->AddChild(QStringLiteral("Beta"));
    a->SetExpanded(true);
    const QImage first = h.Paint();
    const int passes = h.Tree->LayoutCount();
    QCOMPARE(passes, 1);
    QVERIFY(a->SizeValid() && b->SizeValid());
    QCOMPARE(a->Bounds(), TRect(a->X0(), a->Y0(), a->X1(), a->Y1()));

    // Scrolling and zooming repaint without laying out again; scrolling
    // back gives the same picture.
    h.Tree->View3DOptions()->SetHorizOffset(15);
    h.Paint();
    h.Tree->View3DOptions()->SetHorizOffset(0);
    QCOMPARE(h.Paint(), first);
    h.Tree->SetColor(clYellow);
    h.Paint();
    QCOMPARE(h.Tree->LayoutCount(), passes);

    // A change of the model lays out again, also one made while repainting
    // was suspended.
    b->SetSimpleText(QStringLiteral("A much longer text than before"));
    h.Paint();
    QCOMPARE(h.Tree->LayoutCount(), passes + 1);
    QCOMPARE(b->Bounds().Right, b->X1());
    h.Tree->SetAutoRepaint(false);
    b->SetSimpleText(QStringLiteral("short"));
    h.Tree->SetAutoRepaint(true);
    h.Tree->TCustomKorPanel::Invalidate();
    h.Paint();
    QCOMPARE(h.Tree->LayoutCount(), passes + 2);
    QCOMPARE(b->Bounds().Right, b->X1());
    h.Tree->InvalidateLayout();
    h.Tree->TCustomKorPanel::Invalidate();
    h.Paint();
    QCOMPARE(h.Tree->LayoutCount(), passes + 3);

    // So does a setting of the layout object, and installing another one;
    // setting a value it already has does not.
    auto *layout = static_cast<TTreeExplorerAlignChild *>(h.Tree->DefaultFormat().ChildManager());
    const int childX = b->X0();
    layout->SetChildIndent(layout->ChildIndent() + 10);
    h.Paint();
    QCOMPARE(h.Tree->LayoutCount(), passes + 4);
    QCOMPARE(b->X0(), childX + 10);
    layout->SetVertSpacing(layout->VertSpacing());
    h.Paint();
    QCOMPARE(h.Tree->LayoutCount(), passes + 4);
    h.Tree->DefaultFormat().SetChildManager(std::make_unique<TTreeExplorerAlignChild>());
    h.Paint();
    QCOMPARE(h.Tree->LayoutCount(), passes + 5);
    QCOMPARE(b->X0(), childX);
}

void TestTreeView::layersAndEventsInOrder()
{
    TViewHost h(300, 200);
    h.UseProbes();
    TTree *t = h.Tree;
    TTreeNodeShape *root = Place(t->AddRoot(QStringLiteral("R")), 10, 10, 40, 30);
    Place(root->AddChild(QStringLiteral("C1")), 60, 40, 90, 60);
    Place(root->AddChild(QStringLiteral("C2")), 60, 80, 90, 100);
    root->SetExpanded(true);
    Place(t->AddRoot(QStringLiteral("S")), 150, 10, 180, 30);
    for (TTreeConnection *c : root->Connections())
        c->SetStyle(csLine);
    t->Connections().SetSelected(root->Connections()[0]);
    t->SetDesigning(true);
    t->SetAnchorMarker(TPoint(100, 100));
    t->SetColor(clYellow);

    QStringList log;
    TAfterDrawLog listener(&log);
    t->AddListener(&listener);
    TRecordingCanvas *rec = h.Record();
    t->OnBeforeDraw = [&](TObject *sender) {
        QCOMPARE(sender, static_cast<TObject *>(static_cast<TTreeDocument *>(t)));
        log << QStringLiteral("before");
        rec->TextOut(0, 0, QStringLiteral("before"));
    };
    t->OnAfterDraw = [&](TObject *) { log << QStringLiteral("after"); };
    h.Paint();
    t->RemoveListener(&listener);
    QCOMPARE(log, (QStringList{QStringLiteral("before"), QStringLiteral("listener"), QStringLiteral("after")}));

    // Background first, then the nodes parent before children with each
    // node's connections after it, later roots last, then the selected
    // connection's handles and the anchor marker.
    QStringList order;
    for (const TCanvasCall &c : rec->Calls()) {
        if (c.Depth > 0)
            continue;
        if (c.Name == QLatin1String("FillRect") && c.BrushColor == clYellow)
            order << QStringLiteral("background");
        else if (c.Name == QLatin1String("TextOut"))
            order << c.Str(0);
        else if (c.Name == QLatin1String("ProjectedTextOut"))
            order << c.Str(0);
        else if (c.Name == QLatin1String("ProjectedLineTo"))
            order << QStringLiteral("line");
        else if (c.Name == QLatin1String("Rectangle") && c.BrushColor != clYellow)
            order << QStringLiteral("handle");
        else if (c.Name == QLatin1String("ProjectedCircle"))
            order << QStringLiteral("anchor");
    }
    order.removeDuplicates();
    QCOMPARE(order, (QStringList{QStringLiteral("background"), QStringLiteral("before"), QStringLiteral("R"),
                                 QStringLiteral("line"), QStringLiteral("C1"), QStringLiteral("C2"),
                                 QStringLiteral("S"), QStringLiteral("handle"), QStringLiteral("anchor")}));
    const TCanvasCall *anchor = rec->First(QStringLiteral("ProjectedCircle"));
    QCOMPARE(anchor->PenColor, clRed);
    QCOMPARE(anchor->BrushStyle, bsClear);
    QCOMPARE(anchor->Real(0), 12.0);
}

void TestTreeView::collapsedAndInvisibleSubtrees()
{
    TViewHost h(400, 300);
    h.UseProbes();
    TTree *t = h.Tree;
    // A collapsed parent P with child K and a connection to a node X that
    // is not its child; an invisible but expanded root I with child J.
    TTreeNodeShape *p = Place(t->AddRoot(QStringLiteral("P")), 10, 10, 40, 30);
    Place(p->AddChild(QStringLiteral("K")), 60, 40, 90, 60);
    TTreeNodeShape *x = Place(t->AddRoot(QStringLiteral("X")), 200, 10, 230, 30);
    TTreeConnection *toX = p->AddConnection(x);
    TTreeNodeShape *i = Place(t->AddRoot(QStringLiteral("I")), 10, 150, 40, 170);
    Place(i->AddChild(QStringLiteral("J")), 60, 180, 90, 200);
    i->SetExpanded(true);
    i->SetVisible(false);
    for (TTreeConnection *c : t->Connections())
        c->SetStyle(csLine);
    TRecordingCanvas *rec = h.Record();
    // Connection lines (grey dots; the cross boxes' signs are black).
    const auto connectionLines = [rec] {
        std::vector<TCanvasCall> lines;
        for (const TCanvasCall &c : rec->Find(QStringLiteral("ProjectedMoveTo")))
            if (c.PenColor == clGray)
                lines.push_back(c);
        return lines;
    };
    h.Paint();
    QCOMPARE(h.DrawnTexts(), (QStringList{QStringLiteral("P"), QStringLiteral("X"), QStringLiteral("J")}));
    // One line: P to X; not P to its hidden child K, not I (invisible) to J.
    const auto lines = connectionLines();
    QCOMPARE(int(lines.size()), 1);
    QVERIFY(toX->Count() >= 2);
    QCOMPARE(lines[0].Int(0), toX->Points()[0].X);

    // Expanding shows the child and its connection.
    rec->Clear();
    p->SetExpanded(true);
    h.Paint();
    QCOMPARE(h.DrawnTexts(),
             (QStringList{QStringLiteral("P"), QStringLiteral("K"), QStringLiteral("X"), QStringLiteral("J")}));
    QCOMPARE(int(connectionLines().size()), 2);

    // Hidden connection lists draw no connection at all.
    rec->Clear();
    t->Connections().SetVisible(false);
    h.Paint();
    QVERIFY(connectionLines().empty());
    QCOMPARE(h.DrawnTexts().size(), 4);
}

void TestTreeView::walkStopsWhereAConnectionSaysSo()
{
    // A layout object whose connections answer False below y = 100, as the
    // explorer layout does below the visible area.
    class TStopBelow : public TChildManager
    {
    public:
        QStringList Drawn;
        TPoint GetCrossPos(TTreeNodeShape *node, TTreeNodeShape *) override { return TPoint(node->X0(), node->Y0()); }
        bool DrawConnection(TTreeConnection *c) override
        {
            Drawn << c->ToShape()->SimpleText();
            return c->ToShape()->Y0() < 100;
        }
        int CalcXPos(TTreeNodeShape *node) override { return node->X0(); }
        int CalcYPos(TTreeNodeShape *node, int) override { return node->Y0(); }
    };
    TViewHost h(400, 300);
    h.UseProbes();
    TTree *t = h.Tree;
    auto manager = std::make_unique<TStopBelow>();
    TStopBelow *m = manager.get();
    t->DefaultFormat().SetChildManager(std::move(manager));
    TTreeNodeShape *a = Place(t->AddRoot(QStringLiteral("A")), 0, 0, 20, 20);
    const int ys[] = {50, 120, 60};
    for (int n = 0; n < 3; ++n)
        Place(a->AddChild(QStringLiteral("A%1").arg(n)), 30, ys[n], 50, ys[n] + 20);
    a->SetExpanded(true);
    Place(t->AddRoot(QStringLiteral("B")), 200, 0, 220, 20);
    h.Record();
    h.Paint();
    // A's second connection stops A's connections; its children are still
    // walked, and the first child's walk result does not stop the rest.
    // The next root is walked whatever the first answered.
    QCOMPARE(m->Drawn, (QStringList{QStringLiteral("A0"), QStringLiteral("A1")}));
    QCOMPARE(h.DrawnTexts(), (QStringList{QStringLiteral("A"), QStringLiteral("A0"), QStringLiteral("A1"),
                                          QStringLiteral("A2"), QStringLiteral("B")}));

    // A child whose walk answers False stops its later siblings.
    TTreeNodeShape *a0 = a->Child(0);
    Place(a0->AddChild(QStringLiteral("deep")), 60, 200, 80, 220);
    a0->SetExpanded(true);
    m->Drawn.clear();
    h.Recorder->Clear();
    h.Paint();
    QCOMPARE(h.DrawnTexts(), (QStringList{QStringLiteral("A"), QStringLiteral("A0"), QStringLiteral("deep"),
                                          QStringLiteral("B")}));
    QCOMPARE(m->Drawn, (QStringList{QStringLiteral("A0"), QStringLiteral("A1"), QStringLiteral("deep")}));
}

void TestTreeView::imageStripsDrawOnlyWhatTheyShow()
{
    TViewHost h(200, 100);
    h.UseProbes();
    for (int n = 0; n < 10; ++n)
        Place(h.Tree->AddRoot(QStringLiteral("N%1").arg(n)), 10, n * 100 + 10, 50, n * 100 + 30);
    // Just beyond the 64 pixels under the strip.
    Place(h.Tree->AddRoot(QStringLiteral("far")), 100, 565, 150, 580);
    // Its text reaches into the strip from above.
    Place(h.Tree->AddRoot(QStringLiteral("near")), 100, 250, 150, 299);
    h.Paint();
    const TRect screenArea = h.Tree->VisibleArea();
    h.Record();
    // A strip of rows 300..500 of a 200 x 1000 picture: its mapping is the
    // whole picture's, and only the nodes in it or within 64 pixels of it
    // are drawn.
    QImage strip(200, 200, QImage::Format_RGB32);
    strip.fill(Qt::white);
    {
        QPainter p(&strip);
        p.translate(0, -300);
        h.Tree->RenderUnbuffered(&p, TRect(0, 0, 200, 1000));
    }
    QCOMPARE(h.DrawnTexts(), (QStringList{QStringLiteral("N3"), QStringLiteral("N4"), QStringLiteral("N5"),
                                          QStringLiteral("near")}));
    QCOMPARE(h.Recorder->First(QStringLiteral("ProjectedTextOut"))->Int(1), 310);
    // The window's visible area is as it was.
    QCOMPARE(h.Tree->VisibleArea(), screenArea);
}

namespace {

// A diagram that walks every subtree, to compare with one that passes by
// those outside the window.
class TWalkEverything : public TTree
{
public:
    using TTree::TTree;
    bool SubtreeOutOfView(const TTreeNodeShape *, bool &) const override { return false; }
};

// An outline that wanders up to five levels deep, with a few collapsed
// and hidden nodes, connections across the tree, arrows and text.
void BuildWanderingOutline(TCustomTree *t, int count)
{
    const QStringList lines = GeneratedOutline(count, 5, 7);
    t->ImportOutline(lines);
    t->ExpandAll(true);
    const TTreeShapeList &shapes = t->Shapes();
    shapes[40]->SetExpanded(false);
    shapes[77]->SetVisible(false);
    shapes[150]->AddConnection(shapes[20])->SetStyle(csLine);
    TTreeConnection *far = shapes[30]->AddConnection(shapes[280]);
    far->SetStyle(csSides);
    far->ArrowTo()->SetStyle(casSolid);
    for (int i = 200; i < shapes.Count(); ++i)
        if (shapes[i]->ConnectionCount() > 0) {
            shapes[i]->Connections()[0]->ArrowTo()->SetStyle(casSolid);
            break;
        }
}

} // namespace

void TestTreeView::passingSubtreesByKeepsThePicture()
{
    RegisterViewClasses();
    TComponent host;
    host.SetName(QStringLiteral("TreeEditor1"));
    std::unique_ptr<TTree> fast = std::make_unique<TTree>(&host);
    std::unique_ptr<TTree> full = std::make_unique<TWalkEverything>(&host);
    for (TTree *t : {fast.get(), full.get()}) {
        t->resize(300, 200);
        BuildWanderingOutline(t, 400);
        t->UpdateLayout();
    }
    const int bottom = fast->ShapeExtent().Bottom;
    QVERIFY(bottom > 2000);
    // A node whose first child (with a child of its own) lies far below,
    // and whose second child was moved by hand near the top: the walk of
    // the first child answers False below the view, so the second is not
    // drawn; passing the first by must give the same answer.
    for (TTree *t : {fast.get(), full.get()}) {
        TTreeNodeShape *q = t->AddRoot(QStringLiteral("Q"));
        TTreeNodeShape *q1 = q->AddChild(QStringLiteral("Q1"));
        q1->AddChild(QStringLiteral("Q1a"));
        q1->SetExpanded(true);
        q1->SetY0(bottom + 5000);
        TTreeNodeShape *q2 = q->AddChild(QStringLiteral("Q2 moved up"));
        q2->SetY0(60);
        q2->SetX0(150);
        q->SetExpanded(true);
        t->UpdateLayout();
    }
    for (int zoom : {100, 50, 230}) {
        for (int offset : {0, -17, -bottom / 3, -bottom / 2 - 5, -bottom + 150, -bottom - 40}) {
            QImage a, b;
            for (TTree *t : {fast.get(), full.get()}) {
                t->View3DOptions()->SetZoom(zoom);
                t->View3DOptions()->SetHorizOffset(zoom == 230 ? -40 : 0);
                t->View3DOptions()->SetVertOffset(offset * zoom / 100);
                (t == fast.get() ? a : b) = t->grab().toImage();
            }
            QVERIFY2(a == b, qPrintable(QStringLiteral("zoom %1 offset %2").arg(zoom).arg(offset)));
        }
    }
    // Something was passed by: the fast diagram walks fewer nodes.
    int walkedFast = 0, walkedFull = 0;
    fast->OnBeforeDraw = nullptr;
    for (TTree *t : {fast.get(), full.get()}) {
        int &walked = t == fast.get() ? walkedFast : walkedFull;
        auto rec = std::make_unique<TRecordingCanvas>();
        TRecordingCanvas *r = rec.get();
        t->SetCanvas(std::move(rec));
        t->View3DOptions()->SetZoom(100);
        t->View3DOptions()->SetVertOffset(-bottom / 2);
        t->grab();
        walked = r->Count(QStringLiteral("ProjectedMoveTo"));
    }
    QVERIFY2(walkedFast * 4 < walkedFull, qPrintable(QStringLiteral("%1 of %2").arg(walkedFast).arg(walkedFull)));
}

void TestTreeView::printingAndBitmapsShareThePipeline()
{
    TViewHost h(120, 80);
    h.UseProbes();
    TTree *t = h.Tree;
    t->SetColor(clYellow);
    Place(t->AddRoot(QStringLiteral("A")), 10, 10, 60, 40);
    const QRgb yellow = qRgb(255, 255, 0);
    // On screen and in a bitmap: the yellow background.
    const QImage screen = h.Paint();
    QVERIFY(CountColor(screen, yellow) > 120 * 80 / 2);
    const QImage bitmap = t->RenderToBitmap(clWhite, TRect(0, 0, 120, 80));
    QCOMPARE(bitmap.convertToFormat(QImage::Format_RGB32), screen);
    // Printed: no background colour at all, but the node.
    QImage page(120, 80, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter p(&page);
        t->PrintOnCanvas(&p, TRect(0, 0, 120, 80));
    }
    QCOMPARE(CountColor(page, yellow), 0);
    QVERIFY(CountColor(page, qRgb(255, 255, 255)) < 120 * 80);
    QVERIFY(!t->Printing());
    // The metafile recording goes through the same layers.
    std::unique_ptr<TKorMetafile> meta = t->RenderToMetafile(true, TRect(0, 0, 120, 80));
    QVERIFY(meta);
    QVERIFY(!meta->Records().empty());
}

void TestTreeView::printsToPdf()
{
    TViewHost h(400, 250);
    TTree *t = h.Tree;
    t->SetColor(clYellow);
    TTreeNodeShape *node = Place(t->AddRoot(QStringLiteral("Red")), 20, 20, 120, 70);
    node->SetColor(clRed);
    h.Paint();
    const TRect screenArea = t->VisibleArea();
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("tree.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setResolution(300);
    printer.setFullPage(true);
    t->PrintWhole(printer);
    QCOMPARE(t->VisibleArea(), screenArea);
    QVERIFY(!t->Printing());

    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty())
        QSKIP("pdftoppm is not installed");
    QProcess run;
    run.start(pdftoppm, {QStringLiteral("-r"), QStringLiteral("30"), QStringLiteral("-png"), QStringLiteral("-singlefile"),
                         pdf, dir.filePath(QStringLiteral("tree"))});
    QVERIFY(run.waitForFinished(30000));
    QCOMPARE(run.exitCode(), 0);
    const QImage page = QImage(dir.filePath(QStringLiteral("tree.png"))).convertToFormat(QImage::Format_RGB32);
    QVERIFY(!page.isNull());
    // The node on paper, and no background colour.
    int red = 0, yellow = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QRgb c = page.pixel(x, y);
            red += qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
            yellow += qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) < 60;
        }
    QVERIFY(red > 50);
    QCOMPARE(yellow, 0);
}

void TestTreeView::extentAndWholePicture()
{
    TViewHost h(100, 80);
    TTree *t = h.Tree;
    // No node: the extent stays reset and the picture is just the margin.
    h.Paint();
    QVERIFY(!t->HasShapeExtent());
    QCOMPARE(t->ShapeExtent(), TRect(INT_MAX, INT_MAX, 0, 0));
    TCustomTree::TWholePicture empty = t->WholePicture();
    QVERIFY(!empty.Rect.IsEmpty());

    TTreeNodeShape *a = Place(t->AddRoot(QStringLiteral("A")), 20, 30, 300, 60);
    TTreeNodeShape *b = Place(a->AddChild(QStringLiteral("B")), 40, 500, 90, 520);
    TTreeNodeShape *c = Place(t->AddRoot(QStringLiteral("C")), -50, 100, -10, 120);
    // Collapsed: B is not laid out and not in the extent.
    t->UpdateLayout();
    QCOMPARE(t->ShapeExtent(), TRect(-50, 30, 300, 120));
    a->SetExpanded(true);
    t->UpdateLayout();
    QCOMPARE(t->ShapeExtent(), TRect(-50, 30, 300, 520));
    // Right and bottom never go below 0.
    b->SetParent(nullptr);
    Place(a, 20, -300, 30, -200);
    Place(b, 20, -400, 30, -390);
    Place(c, -50, -100, -10, -80);
    t->UpdateLayout();
    QCOMPARE(t->ShapeExtent(), TRect(-50, -400, 30, 0));

    // At 200% the picture is twice the size and its origin shows at the
    // top-left of a drawing of it.
    Place(b, 100, 100, 140, 120);
    t->View3DOptions()->SetZoom(200);
    const TCustomTree::TWholePicture whole = t->WholePicture();
    QCOMPARE(whole.Origin, TPoint(-60, -310));
    QCOMPARE(whole.Rect, TRect(0, 0, 2 * (140 + 10 + 60), 2 * (120 + 10 + 310)));
    const int h0 = t->View3DOptions()->HorizOffset();
    int scrolls = 0;
    t->OnScroll = [&](TObject *) { ++scrolls; };
    TPoint shownAt(-1, -1);
    t->OnAfterDraw = [&](TObject *) { shownAt = t->ProjectPoint(whole.Origin); };
    QImage picture(whole.Rect.Width(), whole.Rect.Height(), QImage::Format_RGB32);
    t->ShowingOrigin(whole.Origin, whole.Rect, [&] {
        QPainter p(&picture);
        t->RenderUnbuffered(&p, whole.Rect);
    });
    QCOMPARE(shownAt, TPoint(0, 0));
    QCOMPARE(t->View3DOptions()->HorizOffset(), h0);
    QCOMPARE(scrolls, 0);
}

void TestTreeView::emptyAndTinyViews()
{
    TViewHost h(0, 0);
    TTree *t = h.Tree;
    Place(t->AddRoot(QStringLiteral("A")), 0, 0, 10, 10);
    // A window of no size draws without failing and keeps a centre.
    QImage img(1, 1, QImage::Format_RGB32);
    {
        QPainter p(&img);
        t->DrawView(&p, TRect(0, 0, 0, 0));
    }
    QVERIFY(!t->DrawingRect().IsEmpty());
    // Nothing to draw into: nothing is drawn, nothing fails.
    QVERIFY(t->RenderToBitmap(clWhite, TRect(5, 5, 5, 5)).isNull());
}

void TestTreeView::publishedSettings()
{
    TViewHost h;
    TTree *t = h.Tree;
    QVERIFY(TClassRegistry::Instance().IsRegistered(QStringLiteral("TTree")));
    QCOMPARE(t->ClassName(), QStringLiteral("TTree"));
    QVERIFY(t->ClassInfo().InheritsFrom(TTreeDocument::StaticClassInfo()));
    // Created as the diagram is: no bevel, white, no margins, a black zoom
    // pen, repainting on.
    QCOMPARE(t->BevelOuter(), bvNone);
    QCOMPARE(t->Color(), clWhite);
    QCOMPARE(t->Margins(), (TPanelMargins{0, 0, 0, 0}));
    QCOMPARE(t->Zoom()->PenDefaultColor(), clBlack);
    QVERIFY(t->AutoRepaint());
    // Nothing is stored for a fresh diagram but its size.
    const TClassInfo &info = t->ClassInfo();
    for (const char *name : {"AllowDelete", "ReadOnly", "ScrollMouseButton", "ShowHintShapes", "ShowRootCross",
                             "SnapToGrid", "WheelNavigation", "Color", "BevelOuter", "BufferedDisplay",
                             "Designing", "SingleSelection"}) {
        const TPropInfo *p = info.FindProperty(QLatin1String(name));
        QVERIFY2(p, name);
        QVERIFY2(!p->IsStored(*t), name);
    }
    QVERIFY(info.FindProperty(QStringLiteral("CrossBox")));
    QVERIFY(info.FindProperty(QStringLiteral("View3DOptions")));
    QVERIFY(info.FindProperty(QStringLiteral("OnBeforeDraw")));
    t->SetReadOnly(true);
    t->SetWheelNavigation(wnZoom);
    QVERIFY(info.FindProperty(QStringLiteral("ReadOnly"))->IsStored(*t));
    QCOMPARE(info.FindProperty(QStringLiteral("WheelNavigation"))->GetOrd(*t), int64_t(wnZoom));
    // The settings reach the diagram through the property access.
    info.FindProperty(QStringLiteral("ShowRootCross"))->SetOrd(*t, 0);
    QVERIFY(!t->ShowRootCross());

    // The print margins travel with the diagram's file, and only when they
    // are not the defaults.
    QBuffer plain;
    plain.open(QIODevice::ReadWrite);
    SaveDiagram(*t, plain);
    QVERIFY(!plain.data().contains("PrintMargins"));
    t->SetPrintMargins(TPanelMargins{10, 15, 20, 25});
    QBuffer file;
    file.open(QIODevice::ReadWrite);
    SaveDiagram(*t, file);
    QVERIFY(file.data().contains("PrintMargins"));
    TViewHost other;
    file.seek(0);
    LoadDiagram(*other.Tree, file);
    QCOMPARE(other.Tree->PrintMargins(), (TPanelMargins{10, 15, 20, 25}));
}

QTEST_MAIN(TestTreeView)
#include "tst_tree_view.moc"
