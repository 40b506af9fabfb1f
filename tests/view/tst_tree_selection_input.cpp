// Selecting, expanding, deleting and navigating with the mouse and the
// keyboard, as the control receives them, and how the selection looks.

#include "GeneratedOutline.h"
#include "InputTestUtil.h"

#include "model/PolygonShape.h"

#include <QRandomGenerator>

namespace {

const QStringList kOutline = {QStringLiteral("A"),  QStringLiteral(" A1"), QStringLiteral("  A1a"),
                              QStringLiteral(" A2"), QStringLiteral(" A3"), QStringLiteral("B"),
                              QStringLiteral(" B1"), QStringLiteral("C")};

} // namespace

class TestTreeSelectionInput : public QObject
{
    Q_OBJECT
private slots:
    void clicksSelect_data();
    void clicksSelect();
    void clickEventsAndRefusals();
    void crossBoxesAndDoublePresses();
    void deletingChoosesASurvivor_data();
    void deletingChoosesASurvivor();
    void deletingIsRefusedOrDisabled();
    void navigationKeys_data();
    void navigationKeys();
    void designKeysMoveAndResize_data();
    void designKeysMoveAndResize();
    void spaceEnterAndEscape();
    void selectionSettings();
    void selectionLooks();
    void selectionRepaintsWithoutLayout();
    void newSelectionScrollsIntoView();
    void wheelNavigatesAndScrolls();
    void randomSequencesKeepTheSelectionSound();
};

// ---------------------------------------------------------------------------

void TestTreeSelectionInput::clicksSelect_data()
{
    QTest::addColumn<bool>("designing");
    QTest::addColumn<bool>("single");
    QTest::addColumn<int>("shiftState"); // the selection's ShiftState
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("clicked"); // empty: the background
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QStringList>("after");
    const int none = Qt::NoModifier, shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier, alt = Qt::AltModifier;
    const int defaultKeys = SetBit(ssShift);
    auto row = [&](const char *name, bool design, bool single, int keys, QStringList before, QString clicked, int mods,
                   QStringList after) {
        QTest::newRow(name) << design << single << keys << before << clicked << mods << after;
    };
    row("design click replaces", true, false, defaultKeys, {"B"}, "A2", none, {"A2"});
    row("design shift-click adds", true, false, defaultKeys, {"B"}, "A2", shift, {"B", "A2"});
    row("design ctrl-click deselects", true, false, defaultKeys, {"B", "A2"}, "A2", ctrl, {"B"});
    row("design ctrl-click elsewhere replaces", true, false, defaultKeys, {"B"}, "A2", ctrl, {"A2"});
    row("design ctrl+shift-click toggles in", true, false, defaultKeys, {"B"}, "A2", ctrl | shift, {"B", "A2"});
    row("design click on a selected one keeps all", true, false, defaultKeys, {"B", "A2"}, "B", none, {"B", "A2"});
    row("design alt-click takes descendants", true, false, defaultKeys, {}, "A1", alt, {"A1", "A1a"});
    row("design background clears", true, false, defaultKeys, {"B", "A2"}, "", none, {});
    row("run single click selects only", false, true, defaultKeys, {"B"}, "A2", shift, {"A2"});
    row("run multi click replaces", false, false, defaultKeys, {"B"}, "A2", none, {"A2"});
    row("run multi shift-click toggles in", false, false, defaultKeys, {"B"}, "A2", shift, {"B", "A2"});
    row("run multi shift-click toggles out", false, false, defaultKeys, {"B", "A2"}, "B", shift, {"A2"});
    row("run multi without shift keys toggles", false, false, 0, {"B"}, "A2", none, {"B", "A2"});
    row("run multi ctrl as the key", false, false, int(SetBit(ssCtrl)), {"B"}, "A2", shift, {"A2"});
    row("run background clears", false, true, defaultKeys, {"B"}, "", none, {});
}

void TestTreeSelectionInput::clicksSelect()
{
    QFETCH(bool, designing);
    QFETCH(bool, single);
    QFETCH(int, shiftState);
    QFETCH(QStringList, before);
    QFETCH(QString, clicked);
    QFETCH(int, modifiers);
    QFETCH(QStringList, after);
    TInputHost h;
    TTree *t = h.Tree;
    BuildOutline(t, kOutline);
    t->SetDesigning(designing);
    t->SetSingleSelection(single);
    t->Selected().SetShiftState(static_cast<TShiftState>(shiftState));
    // Run-mode clicks on the background must not start a zoom rectangle.
    t->Zoom()->SetAllow(designing);
    h.Draw();
    for (const QString &b : before)
        h.Node(b)->SetSelected(true);
    const QPoint at = clicked.isEmpty() ? QPoint(390, 290) : h.At(clicked);
    h.Click(at, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(h.SelectedTexts(), after);
    QCOMPARE(t->Interaction().ActiveShape(), nullptr);
}

void TestTreeSelectionInput::clickEventsAndRefusals()
{
    TInputHost h;
    TTree *t = h.Tree;
    BuildOutline(t, kOutline);
    t->Zoom()->SetAllow(false);
    h.Draw();
    QStringList log;
    TTreeNodeShape *a2 = h.Node(QStringLiteral("A2"));
    t->OnClickShape = [&](TTreeNodeShape *s, TMouseButton b, TShiftState, int x, int y) {
        log << QStringLiteral("tree %1 %2").arg(s->SimpleText()).arg(b == mbRight ? "right" : "left");
        QCOMPARE(QPoint(x, y), h.At(a2));
    };
    a2->Events().OnClick = [&](TTreeNodeShape *s, TMouseButton, TShiftState, int, int) {
        log << QStringLiteral("node ") + s->SimpleText();
    };
    t->OnClickBackground = [&](TObject *sender, TMouseButton, TShiftState, int, int) {
        QCOMPARE(sender, static_cast<TObject *>(static_cast<TTreeDocument *>(t)));
        log << QStringLiteral("background");
    };
    h.Click(h.At(a2));
    h.Click(h.At(a2), Qt::NoModifier, Qt::RightButton);
    h.Click(QPoint(390, 290));
    // A press of another button than the left one gives the node its click
    // events and then acts as a press on the background (it may pan).
    QCOMPARE(log, (QStringList{"tree A2 left", "node A2", "tree A2 right", "node A2", "background", "background"}));
    // A right click selects nothing.
    t->Selected().Clear();
    h.Click(h.At(a2), Qt::NoModifier, Qt::RightButton);
    QCOMPARE(t->Selected().Count(), 0);

    // A handler that marks the press handled keeps the node's own event.
    log.clear();
    t->OnClickShape = [&](TTreeNodeShape *, TMouseButton, TShiftState, int, int) {
        log << QStringLiteral("tree");
        t->SetCancelMouse(true);
    };
    h.Click(h.At(a2));
    QCOMPARE(log, QStringList{"tree"});

    // OnChanging refuses: the selection stays as it was.
    t->OnClickShape = nullptr;
    h.Node(QStringLiteral("B"))->SetSelected(true);
    t->Selected().Clear();
    h.Node(QStringLiteral("B"))->SetSelected(true);
    TTreeNodeShape *asked = nullptr;
    t->OnChanging = [&](TTreeDocument *, TTreeNodeShape *node, bool &allow) {
        asked = node;
        allow = false;
    };
    h.Click(h.At(a2));
    QCOMPARE(asked, a2);
    QCOMPARE(h.SelectedTexts(), QStringList{"B"});

    // A click on a connection goes to OnClickConnection and selects
    // nothing; a listener that takes the press leaves nothing to do.
    t->OnChanging = nullptr;
    TTreeNodeShape *root = h.Node(QStringLiteral("A"));
    TTreeConnection *c = root->ConnectionTo(a2);
    c->SetStyle(csLine);
    h.Draw();
    TTreeConnection *clickedConnection = nullptr;
    t->OnClickConnection = [&](TTreeConnection *cc, TMouseButton, TShiftState, int, int) { clickedConnection = cc; };
    const TPointArray points = c->Points().Positions();
    const QPoint mid = t->ProjectPoint(TPoint((points[0].X + points[1].X) / 2, (points[0].Y + points[1].Y) / 2)).ToQPoint();
    QVERIFY(!t->ShapeAt(mid.x(), mid.y()));
    h.Click(mid);
    QCOMPARE(clickedConnection, c);
    QCOMPARE(h.SelectedTexts(), QStringList{"B"});

    struct TTaker : TKorEventListener
    {
        void KorEvent(TKorEvent &e) override
        {
            if (auto *m = dynamic_cast<TKorMouseEvent *>(&e))
                m->Handled = true;
        }
    } taker;
    t->AddListener(&taker);
    h.Click(h.At(a2));
    t->RemoveListener(&taker);
    QCOMPARE(h.SelectedTexts(), QStringList{"B"});
}

void TestTreeSelectionInput::crossBoxesAndDoublePresses()
{
    TInputHost h;
    TTree *t = h.Tree;
    BuildOutline(t, kOutline);
    h.Draw();
    TTreeNodeShape *a = h.Node(QStringLiteral("A"));
    TTreeNodeShape *a1 = h.Node(QStringLiteral("A1"));
    // The cross box of A1: left of its body, on the guide.
    const TPoint box = t->ProjectPoint(t->DefaultFormat().ChildManager()->GetCrossPos(a1, a));
    QVERIFY(a1->PointInCross(box.X, box.Y));
    QStringList log;
    t->OnExpandedCollapsed = [&](TTreeNodeShape *s) { log << s->SimpleText(); };
    h.Click(box.ToQPoint());
    QVERIFY(!a1->Expanded());
    QVERIFY(!h.Node(QStringLiteral("A1a"))->Visible());
    QCOMPARE(t->Selected().Count(), 0); // the box selects nothing
    h.DoubleClick(box.ToQPoint());       // press toggles, double press toggles again... and back
    QCOMPARE(log.size(), 3);

    // A double press on a node toggles it after its events; a handler may
    // ask for the other value.
    h.Draw();
    QStringList dbl;
    t->OnDblClickShape = [&](TTreeNodeShape *s, TMouseButton, TShiftState, int, int) { dbl << s->SimpleText(); };
    const bool was = a->Expanded();
    h.DoubleClick(h.At(a));
    QCOMPARE(dbl, QStringList{"A"});
    QCOMPARE(a->Expanded(), !was);
    t->OnExpandingCollapsing = [](TTreeNodeShape *, bool &expand) { expand = true; };
    a->SetExpanded(true);
    h.Draw();
    h.DoubleClick(h.At(a));
    QVERIFY(a->Expanded());
    t->OnExpandingCollapsing = nullptr;

    // Collapsing over a selection selects the collapsed node; nothing
    // hidden stays selected, also with multiple selection.
    t->SetSingleSelection(false);
    h.Draw();
    QVERIFY(h.Node(QStringLiteral("A2"))->Visible());
    t->Selected().Clear();
    h.Node(QStringLiteral("A2"))->SetSelected(true);
    h.Node(QStringLiteral("B1"))->SetSelected(true);
    h.Node(QStringLiteral("A3"))->SetSelected(true);
    a->SetExpanded(false);
    QCOMPARE(h.SelectedTexts(), (QStringList{"B1", "A"}));
}

// ---------------------------------------------------------------------------

void TestTreeSelectionInput::deletingChoosesASurvivor_data()
{
    QTest::addColumn<QStringList>("selected");
    QTest::addColumn<QString>("successor"); // empty: none
    QTest::addColumn<QStringList>("left");
    QTest::newRow("last child of several: previous brother")
        << QStringList{"A3"} << "A2" << QStringList{"A", "A1", "A1a", "A2", "B", "B1", "C"};
    QTest::newRow("only child: the parent") << QStringList{"B1"} << "B" << QStringList{"A", "A1", "A1a", "A2", "A3", "B", "C"};
    QTest::newRow("middle child: next brother") << QStringList{"A2"} << "A3" << QStringList{"A", "A1", "A1a", "A3", "B", "B1", "C"};
    QTest::newRow("root: next root") << QStringList{"B"} << "C" << QStringList{"A", "A1", "A1a", "A2", "A3", "C"};
    QTest::newRow("last root: previous root") << QStringList{"C"} << "B" << QStringList{"A", "A1", "A1a", "A2", "A3", "B", "B1"};
    QTest::newRow("node and its descendant, each freed once")
        << QStringList{"A1a", "A"} << "B" << QStringList{"B", "B1", "C"};
    QTest::newRow("descendant first, parent deleted too")
        << QStringList{"A1", "A1a"} << "A2" << QStringList{"A", "A2", "A3", "B", "B1", "C"};
    QTest::newRow("next brother deleted too: previous one")
        << QStringList{"A2", "A3"} << "A1" << QStringList{"A", "A1", "A1a", "B", "B1", "C"};
    QTest::newRow("both brothers deleted: the parent")
        << QStringList{"A2", "A1", "A3"} << "A" << QStringList{"A", "B", "B1", "C"};
    QTest::newRow("every root: nothing") << QStringList{"C", "A", "B"} << "" << QStringList{};
}

void TestTreeSelectionInput::deletingChoosesASurvivor()
{
    QFETCH(QStringList, selected);
    QFETCH(QString, successor);
    QFETCH(QStringList, left);
    TInputHost h;
    TTree *t = h.Tree;
    BuildOutline(t, kOutline);
    t->SetSingleSelection(false);
    h.Draw();
    for (const QString &s : selected)
        h.Node(s)->SetSelected(true);
    TNoticeCount notices(t);
    int deleted = 0;
    t->OnDeletedShapes = [&](TObject *) { ++deleted; };
    h.Key(Qt::Key_Delete);
    QStringList texts;
    for (TTreeNodeShape *n : t->Shapes())
        texts << n->SimpleText();
    QCOMPARE(texts, left);
    QCOMPARE(h.SelectedTexts(), successor.isEmpty() ? QStringList() : QStringList{successor});
    QCOMPARE(deleted, 1);
    QCOMPARE(notices.Steps, 1);
    QVERIFY(notices.Count(tckRemoving) >= 1);
    QVERIFY(notices.Count(tckRemoving) <= selected.size());
    for (int i = 0; i < notices.Changes.size(); ++i)
        if (notices.Changes[i].Kind == tckRemoving)
            QVERIFY(selected.contains(notices.Names[i]));
}

void TestTreeSelectionInput::deletingIsRefusedOrDisabled()
{
    TInputHost h;
    TTree *t = h.Tree;
    BuildOutline(t, kOutline);
    const int count = t->Shapes().Count();
    h.Node(QStringLiteral("B"))->SetSelected(true);
    t->SetAllowDelete(false);
    h.Key(Qt::Key_Delete);
    t->SetAllowDelete(true);
    t->SetReadOnly(true);
    h.Key(Qt::Key_Delete);
    t->SetReadOnly(false);
    t->OnDeletingShapes = [&](TSelectedShapeList *list, bool &allow) {
        QCOMPARE(list, &t->Selected());
        allow = false;
    };
    h.Key(Qt::Key_Delete);
    QCOMPARE(t->Shapes().Count(), count);
    QCOMPARE(h.SelectedTexts(), QStringList{"B"});
    // Nothing selected: nothing asked.
    bool asked = false;
    t->OnDeletingShapes = [&](TSelectedShapeList *, bool &) { asked = true; };
    t->Selected().Clear();
    QVERIFY(!t->DeleteSelected());
    QVERIFY(!asked);
}

// ---------------------------------------------------------------------------

void TestTreeSelectionInput::navigationKeys_data()
{
    QTest::addColumn<QString>("start"); // empty: nothing selected
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("selected");
    using L = QList<int>;
    QTest::newRow("down with nothing selected: the first root") << "" << L{Qt::Key_Down} << "A";
    QTest::newRow("up with nothing selected: the first root") << "" << L{Qt::Key_Up} << "A";
    QTest::newRow("down into children and on") << "A" << L{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down} << "A2";
    QTest::newRow("down out of a subtree") << "A1a" << L{Qt::Key_Down} << "A2";
    QTest::newRow("down from a last child to the next root") << "A3" << L{Qt::Key_Down} << "B";
    QTest::newRow("down at the very end stays") << "C" << L{Qt::Key_Down} << "C";
    QTest::newRow("up to the deepest last node above") << "B" << L{Qt::Key_Up} << "A3";
    QTest::newRow("up from a first child: the parent") << "A1" << L{Qt::Key_Up} << "A";
    QTest::newRow("up at the first root stays") << "A" << L{Qt::Key_Up} << "A";
    QTest::newRow("page down stops at the end") << "A" << L{Qt::Key_PageDown} << "C";
    QTest::newRow("page up stops at the start") << "C" << L{Qt::Key_PageUp} << "A";
    QTest::newRow("home") << "B1" << L{Qt::Key_Home} << "A";
    QTest::newRow("end") << "A" << L{Qt::Key_End} << "C";
    QTest::newRow("left collapses, then goes up") << "A1" << L{Qt::Key_Left, Qt::Key_Left} << "A";
    QTest::newRow("right expands, then goes down") << "A1" << L{Qt::Key_Left, Qt::Key_Right, Qt::Key_Right} << "A1a";
    QTest::newRow("right on a leaf goes down") << "A2" << L{Qt::Key_Right} << "A3";
    QTest::newRow("enter collapses and keeps the node") << "A" << L{Qt::Key_Return, Qt::Key_Down} << "B";
}

void TestTreeSelectionInput::navigationKeys()
{
    QFETCH(QString, start);
    QFETCH(QList<int>, keys);
    QFETCH(QString, selected);
    TInputHost h;
    TTree *t = h.Tree;
    BuildOutline(t, kOutline);
    h.Draw();
    if (!start.isEmpty())
        h.Node(start)->SetSelected(true);
    for (int k : keys)
        h.Key(k);
    QCOMPARE(h.SelectedTexts(), QStringList{selected});
}

void TestTreeSelectionInput::designKeysMoveAndResize_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QPoint>("parentMoved");
    QTest::addColumn<QPoint>("childMoved");
    QTest::addColumn<QSize>("parentGrown");
    const int ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier, alt = Qt::AltModifier;
    QTest::newRow("ctrl+right moves alone") << int(Qt::Key_Right) << ctrl << QPoint(1, 0) << QPoint(0, 0) << QSize(0, 0);
    QTest::newRow("ctrl+alt+down moves the subtree") << int(Qt::Key_Down) << (ctrl | alt) << QPoint(0, 1) << QPoint(0, 1)
                                                     << QSize(0, 0);
    QTest::newRow("ctrl+shift+left moves by 10") << int(Qt::Key_Left) << (ctrl | shift) << QPoint(-10, 0) << QPoint(0, 0)
                                                 << QSize(0, 0);
    QTest::newRow("ctrl+home moves up") << int(Qt::Key_Home) << ctrl << QPoint(0, -1) << QPoint(0, 0) << QSize(0, 0);
    QTest::newRow("shift+right widens") << int(Qt::Key_Right) << shift << QPoint(0, 0) << QPoint(0, 0) << QSize(1, 0);
    QTest::newRow("shift+up lowers the bottom") << int(Qt::Key_Up) << shift << QPoint(0, 0) << QPoint(0, 0) << QSize(0, -1);
}

void TestTreeSelectionInput::designKeysMoveAndResize()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QPoint, parentMoved);
    QFETCH(QPoint, childMoved);
    QFETCH(QSize, parentGrown);
    TInputHost h;
    TTree *t = h.Tree;
    TTreeNodeShape *p = Place(t->AddRoot(QStringLiteral("P")), 50, 50, 110, 70);
    TTreeNodeShape *c = Place(p->AddChild(QStringLiteral("C")), 80, 100, 140, 120);
    p->SetExpanded(true);
    t->SetDesigning(true);
    h.Draw();
    p->SetSelected(true);
    TNoticeCount notices(t);
    h.Key(key, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(QPoint(p->X0() - 50, p->Y0() - 50), parentMoved);
    QCOMPARE(QPoint(c->X0() - 80, c->Y0() - 100), childMoved);
    QCOMPARE(QSize(p->Width() - 60 - parentMoved.x() * 0, p->Height() - 20), parentGrown);
    QCOMPARE(notices.Steps, 1);
    QCOMPARE(notices.Count(parentGrown.isNull() ? tckMoved : tckResized), 1);
    QCOMPARE(h.SelectedTexts(), QStringList{"P"});
}

void TestTreeSelectionInput::spaceEnterAndEscape()
{
    TInputHost h;
    TTree *t = h.Tree;
    TTreeNodeShape *a = t->AddRoot(QStringLiteral("a"));
    TTreeNodeShape *b = t->AddRoot(QStringLiteral("b"));
    TTreeNodeShape *c = t->AddRoot(QStringLiteral("c"));
    a->SetImageIndex(tiChecked);
    b->SetImageIndex(tiFolderCloseUnChecked);
    c->SetImageIndex(tiFolderOpen);
    t->SetSingleSelection(false);
    for (TTreeNodeShape *n : {a, b, c})
        n->SetSelected(true);
    h.Key(Qt::Key_Space);
    QCOMPARE(a->ImageIndex(), tiUnChecked);
    QCOMPARE(b->ImageIndex(), tiFolderCloseChecked);
    QCOMPARE(c->ImageIndex(), tiFolderOpen);
    // Not in design mode.
    t->SetDesigning(true);
    a->SetSelected(true);
    h.Key(Qt::Key_Space);
    QCOMPARE(a->ImageIndex(), tiUnChecked);
    h.Key(Qt::Key_Escape);
    QCOMPARE(t->Selected().Count(), 0);
    // Enter, F2, navigation and Delete with nothing selected, or on an empty
    // diagram, do nothing.
    TNoticeCount notices(t);
    for (int k : {int(Qt::Key_Return), int(Qt::Key_F2), int(Qt::Key_Delete)})
        h.Key(k);
    QCOMPARE(t->Shapes().Count(), 3);
    QCOMPARE(notices.Changes.size(), 0);
    t->Clear();
    for (int k : {int(Qt::Key_Down), int(Qt::Key_Up), int(Qt::Key_End), int(Qt::Key_Home), int(Qt::Key_PageDown),
                  int(Qt::Key_Left), int(Qt::Key_Right), int(Qt::Key_Return)})
        h.Key(k);
    QCOMPARE(t->Selected().Count(), 0);
}

void TestTreeSelectionInput::selectionSettings()
{
    TInputHost h;
    TTree *t = h.Tree;
    BuildOutline(t, kOutline);
    t->SetSingleSelection(false);
    QStringList log;
    t->OnSelectShape = [&](TTreeNodeShape *s) { log << QStringLiteral("+") + s->SimpleText(); };
    t->OnUnSelectShape = [&](TTreeNodeShape *s) { log << QStringLiteral("-") + s->SimpleText(); };
    t->Selected().SelectAll();
    QCOMPARE(t->Selected().Count(), t->Shapes().Count());
    QCOMPARE(log.first(), QStringLiteral("+A"));
    log.clear();
    // Single selection keeps the first.
    t->SetSingleSelection(true);
    QCOMPARE(h.SelectedTexts(), QStringList{"A"});
    QCOMPARE(log.size(), t->Shapes().Count() - 1);
    // Clear goes in selection order and drops the connection's selection.
    t->SetSingleSelection(false);
    log.clear();
    h.Node(QStringLiteral("C"))->SetSelected(true);
    TTreeConnection *c = h.Node(QStringLiteral("B"))->ConnectionTo(h.Node(QStringLiteral("B1")));
    QStringList connections;
    t->OnSelectConnection = [&](TTreeConnection *) { connections << QStringLiteral("+"); };
    t->OnUnSelectConnection = [&](TTreeConnection *) { connections << QStringLiteral("-"); };
    t->Connections().SetSelected(c);
    // Selecting a node ends the connection's selection.
    h.Node(QStringLiteral("B"))->SetSelected(true);
    QVERIFY(!t->Connections().Selected());
    t->Connections().SetSelected(c);
    t->Selected().Clear();
    QCOMPARE(log, (QStringList{"+C", "+B", "-A", "-C", "-B"}));
    QCOMPARE(connections, (QStringList{"+", "-", "+", "-"}));
    QVERIFY(!t->Connections().Selected());
    // Switching design mode off clears the selection.
    t->SetDesigning(true);
    h.Node(QStringLiteral("B"))->SetSelected(true);
    t->SetDesigning(false);
    QCOMPARE(t->Selected().Count(), 0);
}

void TestTreeSelectionInput::selectionLooks()
{
    TInputHost h(200, 100);
    TTree *t = h.Tree;
    TTreeNodeShape *n = Place(t->AddRoot(QStringLiteral("n")), 20, 20, 100, 60);
    n->SetColor(clWhite);
    t->Selected().SetColor(clRed);
    t->Selected().SetColorUnFocused(clBlue);
    n->SetSelected(true);
    const int x = 60, y = 45; // inside the body, clear of the text
    // Focused and not: the run-mode fill follows.
    t->Selected().SetFocused(true);
    t->RepaintPicture();
    QCOMPARE(QColor(h.Paint().pixel(x, y)), QColor(Qt::red));
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(t, &out);
    QVERIFY(!t->Selected().Focused());
    QCOMPARE(QColor(h.Paint().pixel(x, y)), QColor(Qt::blue));
    QFocusEvent in(QEvent::FocusIn);
    QApplication::sendEvent(t, &in);
    QCOMPARE(QColor(h.Paint().pixel(x, y)), QColor(Qt::red));

    // Design mode: handles over the picture, black for one node, grey for
    // two, without drawing the picture again.
    t->SetDesigning(true);
    n->SetSelected(true);
    h.Paint();
    TTreeNodeShape *m = Place(t->AddRoot(QStringLiteral("m")), 130, 20, 180, 60);
    // Inside the top-left handle, off the node's own border.
    const QPoint corner = t->ProjectPoint(TPoint(18, 18)).ToQPoint();
    QImage one = h.Paint();
    QCOMPARE(QColor(one.pixel(corner)), QColor(Qt::black));
    TRecordingCanvas *rec = h.Record();
    h.Paint();
    rec->Clear();
    const int drawn = t->LayoutCount();
    m->SetSelected(true);
    h.Paint();
    // Nothing of the picture was drawn again: no text, only handles.
    QVERIFY(rec->Find(QStringLiteral("ProjectedTextOut")).empty());
    QCOMPARE(t->LayoutCount(), drawn);
    QVERIFY(rec->Find(QStringLiteral("Rectangle")).size() >= 16);
    for (const TCanvasCall &c : rec->Find(QStringLiteral("Rectangle")))
        QCOMPARE(c.BrushColor, clGray);
    // With FullRedraw the handles are part of the picture.
    rec->Clear();
    t->Selected().SetFullRedraw(true);
    m->SetSelected(false);
    h.Paint();
    QVERIFY(!rec->Find(QStringLiteral("ProjectedTextOut")).empty());
    int handles = 0;
    for (const TCanvasCall &c : rec->Find(QStringLiteral("Rectangle")))
        handles += c.BrushColor == clBlack;
    QCOMPARE(handles, 8);
}

void TestTreeSelectionInput::selectionRepaintsWithoutLayout()
{
    TInputHost h;
    TTree *t = h.Tree;
    BuildOutline(t, kOutline);
    h.Draw();
    const int layouts = t->LayoutCount();
    for (int k : {int(Qt::Key_Down), int(Qt::Key_Down), int(Qt::Key_Up), int(Qt::Key_End)}) {
        h.Key(k);
        h.Draw();
    }
    QCOMPARE(t->LayoutCount(), layouts);
    QCOMPARE(h.SelectedTexts(), QStringList{"C"});
}

void TestTreeSelectionInput::newSelectionScrollsIntoView()
{
    TInputHost h(300, 120);
    TTree *t = h.Tree;
    t->SelectionLook()->SetScrollToView(true);
    BuildOutline(t, GeneratedOutline(60, 0));
    h.Draw();
    int scrolls = 0;
    t->OnScroll = [&](TObject *) { ++scrolls; };
    h.Node(QStringLiteral("Node 0"))->SetSelected(true);
    QCOMPARE(scrolls, 0);
    for (int i = 0; i < 15; ++i)
        h.Key(Qt::Key_Down);
    TTreeNodeShape *n = t->Selected().First();
    QCOMPARE(n->SimpleText(), QStringLiteral("Node 15"));
    QVERIFY(scrolls > 0);
    const TRect v = t->CurrentVisibleArea();
    QVERIFY(n->Bounds().Bottom <= v.Bottom && n->Bounds().Top >= v.Top);
    // Back to the top: the first node comes into view again.
    h.Key(Qt::Key_Home);
    QVERIFY(h.Node(QStringLiteral("Node 0"))->Bounds().Top >= t->CurrentVisibleArea().Top);
    // A node added and selected before any drawing is brought into view
    // at the next paint, once it is laid out.
    TTreeNodeShape *last = t->AddRoot(QStringLiteral("last"));
    t->SelectOnly(last);
    h.Draw();
    QVERIFY(last->Bounds().Bottom <= t->CurrentVisibleArea().Bottom);
}

void TestTreeSelectionInput::wheelNavigatesAndScrolls()
{
    TInputHost h;
    TTree *t = h.Tree;
    BuildOutline(t, kOutline);
    h.Draw();
    h.Wheel(-2);
    QCOMPARE(h.SelectedTexts(), QStringList{"A1"});
    h.Wheel(1);
    QCOMPARE(h.SelectedTexts(), QStringList{"A"});
    t->SetWheelNavigation(wnScrollVert);
    h.Wheel(-1);
    QCOMPARE(t->View3DOptions()->VertOffset(), -20);
    t->SetWheelNavigation(wnScrollHoriz);
    h.Wheel(1);
    QCOMPARE(t->View3DOptions()->HorizOffset(), 2);
    t->SetWheelNavigation(wnNone);
    h.Wheel(3);
    QCOMPARE(t->View3DOptions()->HorizOffset(), 2);
    QCOMPARE(h.SelectedTexts(), QStringList{"A"});
}

void TestTreeSelectionInput::randomSequencesKeepTheSelectionSound()
{
    const int seeds = qEnvironmentVariableIntValue("DENDRIX_SEEDS") > 0 ? qEnvironmentVariableIntValue("DENDRIX_SEEDS") : 12;
    for (int seed = 1; seed <= seeds; ++seed) {
        QRandomGenerator rng(static_cast<quint32>(seed));
        TInputHost h;
        TTree *t = h.Tree;
        t->ImportOutline(GeneratedOutline(40 + rng.bounded(40), 4, static_cast<uint32_t>(seed)));
        t->SetSingleSelection(rng.bounded(2) == 0);
        t->SetDesigning(rng.bounded(2) == 0);
        // Parents come before their children: only nodes in sight open.
        for (TTreeNodeShape *n : t->Shapes())
            if (n->Visible() && rng.bounded(3) == 0)
                n->SetExpanded(true);
        h.Draw();
        static const int keys[] = {Qt::Key_Down, Qt::Key_Up,     Qt::Key_Left,     Qt::Key_Right,  Qt::Key_Home,
                                   Qt::Key_End,  Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Return, Qt::Key_Delete,
                                   Qt::Key_Escape};
        for (int step = 0; step < 120 && t->Shapes().Count() > 0; ++step) {
            const int what = rng.bounded(10);
            if (what < 5) {
                const int key = keys[rng.bounded(int(std::size(keys)))];
                h.Key(key);
            } else if (what < 8) {
                TTreeNodeShape *n = t->Shapes()[rng.bounded(t->Shapes().Count())];
                if (n->Visible() && RectsIntersect(n->DrawRect(), t->VisibleArea())) {
                    const Qt::KeyboardModifiers mods[] = {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier,
                                                          Qt::AltModifier};
                    h.Click(h.At(n), mods[rng.bounded(4)]);
                }
            } else if (what == 8) {
                TTreeNodeShape *n = t->Shapes()[rng.bounded(t->Shapes().Count())];
                if (n->Visible())
                    t->SetShapeExpanded(n, !n->Expanded());
            } else {
                t->Selected().SelectAll();
                if (rng.bounded(4) == 0)
                    h.Key(Qt::Key_Delete);
            }
            if (rng.bounded(4) == 0)
                h.Draw();
            // Only live, visible nodes are selected, each once, and the
            // list agrees with the nodes' own state.
            int flagged = 0;
            for (TTreeNodeShape *n : t->Shapes())
                flagged += n->Selected();
            const std::vector<TTreeNodeShape *> sel = t->Selected().Nodes();
            QCOMPARE(int(sel.size()), flagged);
            for (TTreeNodeShape *n : sel) {
                QVERIFY(t->Shapes().Contains(n));
                QVERIFY2(n->Visible(), qPrintable(QStringLiteral("seed %1 step %2 action %3").arg(seed).arg(step).arg(what)));
            }
        }
    }
}

QTEST_MAIN(TestTreeSelectionInput)
#include "tst_tree_selection_input.moc"
