// Connecting two nodes interactively (its local loop and the ways it ends),
// drawing a shape point by point, and the hints of nodes that reach past
// the window, as the control receives the mouse and the keyboard.

#include "InputTestUtil.h"

#include "model/PolygonShape.h"

#include <QTimer>
#include <functional>

namespace {

// Two nodes side by side and one below, at fixed places.
struct TConnectHost : TInputHost
{
    TTreeNodeShape *A;
    TTreeNodeShape *B;
    TTreeNodeShape *C;
    TConnectHost() : TInputHost(500, 300)
    {
        A = Tree->AddRoot(QStringLiteral("A"));
        Place(A, 40, 40, 120, 80);
        B = Tree->AddRoot(QStringLiteral("B"));
        Place(B, 300, 40, 380, 80);
        C = Tree->AddRoot(QStringLiteral("C"));
        Place(C, 40, 200, 120, 240);
        Draw();
    }
    // Runs `input` once the connecting loop waits, then connects.
    TTreeConnection *Connect(std::function<void()> input)
    {
        QTimer::singleShot(0, Tree, std::move(input));
        return Tree->Interaction().ConnectInteractively();
    }
};

} // namespace

class TestTreeConnectInput : public QObject
{
    Q_OBJECT
private slots:
    void connectingEnds_data();
    void connectingEnds();
    void theLoopEndsWhenTheDiagramGoes();
    void pointByPointShape_data();
    void pointByPointShape();
    void hintsForNodesPastTheEdge_data();
    void hintsForNodesPastTheEdge();
};

void TestTreeConnectInput::connectingEnds_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("made"); // "from>to", empty: none
    QTest::newRow("two presses") << "A,B" << "A>B";
    QTest::newRow("the same node twice") << "A,A" << "A>A";
    QTest::newRow("escape first") << "esc" << "";
    QTest::newRow("escape after the first") << "A,esc" << "";
    QTest::newRow("the background") << "A,bg" << "";
    QTest::newRow("cancelled by the program") << "A,cancel" << "";
    QTest::newRow("the first node deleted") << "A,delA" << "";
    QTest::newRow("refused by the diagram") << "A,C" << "";
}

void TestTreeConnectInput::connectingEnds()
{
    QFETCH(QString, how);
    QFETCH(QString, made);
    TConnectHost h;
    TTree *t = h.Tree;
    t->OnAddingConnection = [&](TTreeNodeShape *, TTreeNodeShape *to, bool &allow) { allow = to != h.C; };
    const int before = t->Connections().Count();
    TNoticeCount notices(t);
    QStringList seen;
    TTreeConnection *c = h.Connect([&] {
        for (const QString &step : how.split(QLatin1Char(','))) {
            QVERIFY(t->Interaction().Connecting());
            if (step == QLatin1String("esc"))
                h.Key(Qt::Key_Escape);
            else if (step == QLatin1String("bg"))
                h.Click(QPoint(450, 280));
            else if (step == QLatin1String("cancel"))
                t->Interaction().CancelConnecting();
            else if (step == QLatin1String("delA"))
                t->DeleteShape(h.A);
            else {
                h.Click(h.At(h.Node(step)));
                // Between the presses the rubber line follows the pointer.
                h.Move(QPoint(250, 150), Qt::NoModifier, Qt::NoButton);
                seen << QString::number(t->Interaction().RubberLineVisible());
            }
        }
    });
    QVERIFY(!t->Interaction().Connecting());
    QVERIFY(!t->Interaction().RubberLineVisible());
    if (made.isEmpty()) {
        QCOMPARE(c, nullptr);
        QCOMPARE(notices.Count(tckAdded), 0);
    } else {
        QVERIFY(c);
        QCOMPARE(c->FromShape()->SimpleText() + ">" + c->ToShape()->SimpleText(), made);
        QCOMPARE(t->Connections().Count(), before + 1);
        QCOMPARE(notices.Count(tckAdded), 1);
        QCOMPARE(seen.first(), QStringLiteral("1"));
    }
    // Presses select again afterwards.
    if (t->Shapes().Contains(h.B)) {
        h.Click(h.At(h.B));
        QCOMPARE(h.SelectedTexts(), QStringList{"B"});
    }
}

void TestTreeConnectInput::theLoopEndsWhenTheDiagramGoes()
{
    // Clearing the diagram meanwhile.
    {
        TConnectHost h;
        TTree *t = h.Tree;
        TTreeConnection *c = h.Connect([&] {
            h.Click(h.At(h.A));
            t->Clear();
        });
        QCOMPARE(c, nullptr);
        QVERIFY(!t->Interaction().Connecting());
    }
    // The control itself going meanwhile: nothing is touched afterwards.
    auto h = std::make_unique<TConnectHost>();
    TTree *t = h->Tree;
    QTimer::singleShot(0, [&] {
        h->Click(h->At(h->A));
        h.reset();
    });
    TTreeInteraction &interaction = t->Interaction();
    QCOMPARE(interaction.ConnectInteractively(), nullptr);
    QVERIFY(!h);
}

void TestTreeConnectInput::pointByPointShape_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<int>("presses");
    QTest::addColumn<int>("points"); // of the shape made; 0: none made
    QTest::newRow("polygon of four") << false << 4 << 4;
    QTest::newRow("poly-line of three") << true << 3 << 3;
    QTest::newRow("a single press makes nothing") << false << 1 << 0;
}

void TestTreeConnectInput::pointByPointShape()
{
    QFETCH(bool, open);
    QFETCH(int, presses);
    QFETCH(int, points);
    TConnectHost h;
    TTree *t = h.Tree;
    t->SetDesigning(true);
    const int shapes = t->Shapes().Count();
    TPolygonShape *told = nullptr;
    t->Interaction().OnAdded = [&](TPolygonShape *s) { told = s; };
    t->Interaction().StartAdding(open ? &TPolyLineShape::StaticClassInfo() : &TPolygonShape::StaticClassInfo());
    const QList<QPoint> at = {{200, 120}, {260, 120}, {260, 180}, {200, 190}};
    for (int i = 0; i < presses; ++i) {
        h.Click(at[i]);
        // The next vertex follows the pointer, shown over the picture.
        h.Move(at[i] + QPoint(15, 25), Qt::NoModifier, Qt::NoButton);
        QVERIFY(t->Interaction().AddingShape());
        QCOMPARE(t->Interaction().AddingShape()->PointCount(), i + 2);
    }
    h.Key(Qt::Key_Escape);
    QCOMPARE(t->Interaction().AddingShape(), nullptr);
    QCOMPARE(t->Interaction().AddingClass(), nullptr);
    if (points == 0) {
        QCOMPARE(t->Shapes().Count(), shapes);
        QCOMPARE(told, nullptr);
        return;
    }
    QCOMPARE(t->Shapes().Count(), shapes + 1);
    auto *made = dynamic_cast<TPolygonShape *>(t->Shapes()[shapes]);
    QVERIFY(made);
    QCOMPARE(told, made);
    QCOMPARE(made->PointCount(), points);
    QCOMPARE(made->IsOpen(), open);
    QVERIFY(made->Visible());
    QCOMPARE(t->Selected().Count(), 1);
    QCOMPARE(t->Selected().First(), made);
    // The presses fixed the vertices where they were.
    const TPointArray p = made->Points()->Positions();
    for (int i = 0; i < points; ++i)
        QCOMPARE(t->ProjectPoint(p[i]).ToQPoint(), at[i]);
    // A later press selects as usual.
    h.Click(h.At(h.B));
    QCOMPARE(h.SelectedTexts(), QStringList{"B"});
}

void TestTreeConnectInput::hintsForNodesPastTheEdge_data()
{
    QTest::addColumn<QRect>("node"); // diagram rectangle, as points
    QTest::addColumn<bool>("showHints");
    QTest::addColumn<QString>("changed"); // what OnShowHint makes of it ("=" keeps it)
    QTest::addColumn<QString>("hint");
    auto r = [](int l, int t, int rr, int b) { return QRect(QPoint(l, t), QPoint(rr, b)); };
    QTest::newRow("inside: none") << r(100, 100, 200, 140) << true << "=" << "";
    QTest::newRow("past the right edge") << r(420, 100, 560, 140) << true << "=" << "Long text";
    QTest::newRow("past the bottom") << r(100, 280, 200, 330) << true << "=" << "Long text";
    QTest::newRow("before the left edge") << r(-50, 100, 60, 140) << true << "=" << "Long text";
    QTest::newRow("hints off") << r(420, 100, 560, 140) << false << "=" << "";
    QTest::newRow("changed by the event") << r(420, 100, 560, 140) << true << "Other" << "Other";
    QTest::newRow("emptied by the event") << r(420, 100, 560, 140) << true << "" << "";
}

void TestTreeConnectInput::hintsForNodesPastTheEdge()
{
    QFETCH(QRect, node);
    QFETCH(bool, showHints);
    QFETCH(QString, changed);
    QFETCH(QString, hint);
    TInputHost h(500, 300);
    TTree *t = h.Tree;
    TTreeNodeShape *n =
        Place(t->AddRoot(QStringLiteral("Long text")), node.left(), node.top(), node.right(), node.bottom());
    t->SetShowHintShapes(showHints);
    t->OnShowHint = [&](TObject *, TTreeNodeShape *, QString &text) {
        if (changed != QLatin1String("="))
            text = changed;
    };
    QStringList entered, left;
    t->OnMouseEnterShape = [&](TTreeNodeShape *s, TShiftState, int, int) { entered << s->SimpleText(); };
    t->OnMouseLeaveShape = [&](TTreeNodeShape *s, TShiftState, int, int) { left << s->SimpleText(); };
    h.Draw();
    // A point of the node inside the window.
    const TRect v = t->VisibleArea();
    const QPoint inside = t->ProjectPoint(TPoint(std::clamp(node.center().x(), v.Left + 5, v.Right - 5),
                                                 std::clamp(node.center().y(), v.Top + 5, v.Bottom - 5)))
                              .ToQPoint();
    h.Move(inside, Qt::NoModifier, Qt::NoButton);
    QCOMPARE(entered, QStringList{"Long text"});
    QCOMPARE(t->Interaction().HintText(), hint);
    QCOMPARE(t->Interaction().HintShape(), hint.isEmpty() ? nullptr : n);
    if (!hint.isEmpty()) {
        // Above the node's top-left, on the screen.
        const TPoint o = t->DrawOffset();
        QCOMPARE(t->Interaction().HintPosition(), t->ProjectPoint(TPoint(n->X0() + o.X, n->Y0() + o.Y - 2)));
    }
    // Leaving the node ends the hint.
    h.Move(QPoint(5, 5), Qt::NoModifier, Qt::NoButton);
    QCOMPARE(left, QStringList{"Long text"});
    QCOMPARE(t->Interaction().HintShape(), nullptr);
    QVERIFY(t->Interaction().HintText().isEmpty());
}

QTEST_MAIN(TestTreeConnectInput)
#include "tst_tree_connect_input.moc"
