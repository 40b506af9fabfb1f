// Elements, nodes and the hierarchy: texts and fonts, what a node stores,
// creation and naming, automatic size, coordinates, moves and resizes,
// expanding and collapsing, re-parenting, deletion, clearing, copying and
// the image a node shows.

#include "TreeTestUtil.h"

#include "core/ClassRegistry.h"
#include "core/Exceptions.h"
#include "core/PropAccess.h"

#include <QSet>
#include <QtTest>

namespace {

// Counts its instances, so tests can see every node freed exactly once.
class TCountedShape : public TTreeNodeShape
{
    DX_OBJECT(TCountedShape)
public:
    explicit TCountedShape(TComponent *owner = nullptr) : TTreeNodeShape(owner) { ++Alive; }
    ~TCountedShape() override
    {
        --Alive;
        ++Freed;
    }
    static int Alive;
    static int Freed;
};
int TCountedShape::Alive = 0;
int TCountedShape::Freed = 0;

const TClassInfo &TCountedShape::StaticClassInfo()
{
    static const TClassInfo info("TCountedShape", &TTreeNodeShape::StaticClassInfo());
    return info;
}

// Refuses resizing by its right edge.
class TNoRightResize : public TTreeNodeShape
{
public:
    using TTreeNodeShape::TTreeNodeShape;
    void AllowResize(TTreeShapeHandle corner, int, int, bool &allow) override
    {
        if (corner == rcRight)
            allow = false;
    }
};

QStringList Names(const TNodeShapeList &list)
{
    QStringList names;
    for (TTreeNodeShape *n : list)
        names << n->SimpleText();
    return names;
}

void CheckBrotherIndexes(const TTreeNodeShape *parent)
{
    for (int i = 0; i < parent->ChildCount(); ++i)
        QCOMPARE(parent->Child(i)->BrotherIndex(), i);
}

} // namespace

class TestTreeNodes : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void elementTextAndFont();
    void treeStringsProperties();
    void nodeDeclarationsAndStoring();
    void textShapeDefaultsAndStoring();
    void subObjectsOnlyOnFirstUse();
    void addChildStartsBesideParent();
    void namesFollowOwnersComponents();
    void addBrotherAndAddRootObject();
    void automaticSizeFromText();
    void coordinatesAndFixing();
    void userMovesAndResizing();
    void resizingCornersAndCursors();
    void expandCollapseEventsAndVisibility();
    void collapseDeselectsHiddenNodes();
    void expandAllOrder();
    void reparenting();
    void reparentingUnderDescendantIgnored();
    void deletingFreesSubtreeAndConnections();
    void deepChainsAreSafe();
    void clearFreesEverythingOnce();
    void assignCopiesFormatAndGeometry();
    void cloneAndPaste();
    void imageChoiceAndSize();
    void bringToFrontAndSendToBack();
    void shapeAtAndSelection();
    void setTreeMovesBetweenDiagrams();
    void crossBoxAndRootCrosses();
};

void TestTreeNodes::initTestCase()
{
    RegisterModelClasses();
    RegisterClass<TCountedShape>();
}

void TestTreeNodes::elementTextAndFont()
{
    THost host;
    TTreeNodeShape *n = host.Tree->AddRoot(QStringLiteral("first"));
    QCOMPARE(n->LineCount(), 1);
    QVERIFY(!n->PeekText());
    n->SetSimpleText(QString());
    QCOMPARE(n->LineCount(), 0);

    // The text object takes the simple text as its first line.
    n->SetSimpleText(QStringLiteral("one"));
    TTreeStrings *text = n->Text();
    QCOMPARE(text->Lines(), QStringList{"one"});
    QCOMPARE(n->SimpleText(), QStringLiteral("one"));
    text->Add(QStringLiteral("two"));
    n->SetSimpleText(QStringLiteral("uno"));
    QCOMPARE(text->Lines(), QStringList({"uno", "two"}));
    text->Clear();
    n->SetSimpleText(QStringLiteral("again")); // appended to an empty text
    QCOMPARE(text->Lines(), QStringList{"again"});
    n->SetText(nullptr);
    QVERIFY(!n->PeekText());
    QCOMPARE(n->LineCount(), 0);

    // Without an own font the diagram's default font is used; a created one
    // starts as its copy; setting none goes back to the default.
    host.Tree->DefaultFormat().Font()->SetSize(12);
    QCOMPARE(n->EffectiveFont(), host.Tree->DefaultFormat().Font());
    QVERIFY(!n->PeekFont());
    QCOMPARE(n->Font()->Size(), 12);
    n->Font()->SetSize(20);
    QCOMPARE(n->EffectiveFont()->Size(), 20);
    n->SetFont(nullptr);
    QVERIFY(!n->PeekFont());

    // Assign copies cursor, data, font and text.
    TTreeNodeShape *m = host.Tree->AddRoot();
    int payload = 7;
    n->SetCursor(crHandPoint);
    n->SetData(&payload);
    n->Font()->SetName(QStringLiteral("Courier"));
    n->Text()->SetText(QStringLiteral("a\nb"));
    m->TCustomTreeElement::Assign(n);
    QCOMPARE(m->Cursor(), int(crHandPoint));
    QCOMPARE(m->Data(), static_cast<void *>(&payload));
    QCOMPARE(m->PeekFont()->Name(), QStringLiteral("Courier"));
    QCOMPARE(m->Text()->Lines(), QStringList({"a", "b"}));
    QVERIFY(m->PeekText() != n->PeekText());
}

void TestTreeNodes::treeStringsProperties()
{
    THost host;
    TTreeNodeShape *n = host.Tree->AddRoot();
    TTreeStrings *t = n->Text();
    t->SetAngle(370);
    QCOMPARE(t->Angle(), 10);
    t->SetAngle(-30);
    QCOMPARE(t->Angle(), 330);

    // Every real change repaints through the element.
    const int before = host.Tree->InvalidateCount();
    t->SetVertOffset(4);
    t->SetVertOffset(4);
    t->Add(QStringLiteral("x"));
    QCOMPARE(host.Tree->InvalidateCount(), before + 2);

    t->SetHorizAlign(htaRight);
    t->SetClipText(true);
    QCOMPARE(StoredProps(*t), QStringList({"Angle", "ClipText", "HorizAlign", "VertOffset"}));
    // Assign from none resets the properties and keeps the lines.
    t->Assign(nullptr);
    QCOMPARE(StoredProps(*t), QStringList());
    QCOMPARE(t->Lines(), QStringList{"x"});

    TTreeStrings other;
    other.SetText(QStringLiteral("p\r\nq\n"));
    other.SetTransparency(150);
    QCOMPARE(other.Transparency(), uint8_t(100));
    t->Assign(&other);
    QCOMPARE(t->Lines(), QStringList({"p", "q"}));
    QCOMPARE(t->Transparency(), uint8_t(100));
}

void TestTreeNodes::nodeDeclarationsAndStoring()
{
    const QStringList expected = {"Tag",          "AutoPosition", "AutoSize",       "BackColor",    "Border",
                                  "Brush",        "Color",        "Gradient",       "GradientClip", "Image",
                                  "ImageAlignment", "ImageHeight", "ImageWidth",    "Shadow",       "Style",
                                  "Transparency", "Transparent",  "Visible",        "X0",           "X1",
                                  "Y0",           "Y1",           "Cursor",         "Font",         "Expanded",
                                  "ImageIndex",   "ImageListIndex", "Parent",       "ShowCross",    "Text",
                                  "OnClick",      "OnDblClick",   "OnMouseEnter",   "OnMouseLeave", "OnMouseMove"};
    QStringList declared;
    for (const TPropInfo &p : TTreeNodeShape::StaticClassInfo().Properties())
        declared << p.Name;
    QCOMPARE(declared, expected);

    THost host;
    TTreeNodeShape *root = host.Tree->AddRoot(QStringLiteral("A"));
    // Automatic coordinates and size, defaults everywhere: nothing stored
    // (the text's lines are an extra property of the file).
    QCOMPARE(StoredProps(*root), QStringList());

    TTreeNodeShape *child = root->AddChild(QStringLiteral("B"));
    // Hidden under its collapsed parent.
    QCOMPARE(StoredProps(*child), QStringList({"Visible", "Parent"}));

    root->SetColor(clRed);
    root->SetExpanded(true);
    root->SetImageIndex(tiWorld);
    root->SetShowCross(scNever);
    QCOMPARE(StoredProps(*root), QStringList({"Brush", "Color", "Expanded", "ImageIndex", "ShowCross"}));

    // A fixed size at an automatic position is written as the node's width
    // and height (an extra property of the file), a fixed one as edges.
    root->SetWidth(80);
    QCOMPARE(StoredProps(*root), QStringList({"AutoSize", "Brush", "Color", "Expanded", "ImageIndex", "ShowCross"}));
    root->SetX0(root->X0());
    root->SetY0(root->Y0());
    QCOMPARE(StoredProps(*root), QStringList({"AutoPosition", "AutoSize", "Brush", "Color", "X0", "X1", "Y0", "Y1",
                                              "Expanded", "ImageIndex", "ShowCross"}));

    // Fixing a coordinate by setting it, even to its current value, stores it.
    TTreeNodeShape *other = host.Tree->AddRoot();
    other->SetY0(other->Y0());
    QCOMPARE(StoredProps(*other), QStringList({"AutoPosition", "Y0"}));
    QVERIFY(other->PeekAutoPosition()->Left());
    QVERIFY(!other->PeekAutoPosition()->Top());
    // The flags themselves are never written.
    QCOMPARE(StoredProps(*other->PeekAutoPosition()), QStringList());

    // ImageIndex values: not the default, and never above the last image.
    other->SetImageIndex(tiNone);
    QVERIFY(StoredProps(*other).contains("ImageIndex"));
    other->SetImageIndex(tiFolderOpenClose);
    QVERIFY(!StoredProps(*other).contains("ImageIndex"));
}

void TestTreeNodes::textShapeDefaultsAndStoring()
{
    TTextShape plain;
    QVERIFY(plain.Transparent());
    QCOMPARE(plain.ImageIndex(), tiNone);
    QCOMPARE(plain.ImageSize(), QSize(0, 0));
    QVERIFY(plain.PeekBorder());
    QVERIFY(!plain.PeekBorder()->Visible());
    // Defaults store only the own (invisible) border.
    QCOMPARE(StoredProps(plain), QStringList{"Border"});
    plain.SetTransparent(false);
    QCOMPARE(StoredProps(plain), QStringList({"Border", "Transparent"}));

    // A text shape showing the folder images stores that choice, so it
    // survives being read back (where tiNone is the default).
    THost host;
    host.Tree->DefaultFormat().SetShapeClass(&TTextShape::StaticClassInfo());
    TTreeNodeShape *t = host.Tree->AddRoot(QStringLiteral("note"));
    QCOMPARE(t->ClassName(), QStringLiteral("TTextShape"));
    QCOMPARE(t->ImageIndex(), tiFolderOpenClose); // the diagram's default image
    QVERIFY(t->Transparent());
    QCOMPARE(StoredProps(*t), QStringList({"Border", "ImageIndex"}));

    TTextShape read;
    read.BeginLoading();
    SetPropText(read, QStringLiteral("ImageIndex"), GetPropText(*t, QStringLiteral("ImageIndex")));
    read.Loaded();
    QCOMPARE(read.ImageIndex(), tiFolderOpenClose);
}

void TestTreeNodes::subObjectsOnlyOnFirstUse()
{
    THost host;
    TTreeNodeShape *n = host.Tree->AddRoot(QStringLiteral("abc"));
    QVERIFY(!n->PeekBorder() && !n->PeekBrush() && !n->PeekGradient() && !n->PeekShadow() && !n->PeekImage() &&
            !n->PeekAutoPosition() && !n->PeekFont() && !n->PeekText() && !n->PeekConnections());

    // Measuring, effective objects and reading Color create nothing.
    (void)n->Width();
    (void)n->NodePicture();
    QCOMPARE(n->EffectiveBorder(), host.Tree->DefaultFormat().Border());
    QCOMPARE(n->EffectiveBrush(), static_cast<const TChartBrush *>(host.Tree->DefaultFormat().Brush()));
    QCOMPARE(n->Color(), clWhite);
    QVERIFY(!n->PeekBorder() && !n->PeekBrush() && !n->PeekFont() && !n->PeekText() && !n->PeekAutoPosition());

    // A created pen or brush starts as the diagram's default.
    host.Tree->DefaultFormat().Border()->SetColor(clBlue);
    host.Tree->DefaultFormat().Brush()->SetColor(clYellow);
    QCOMPARE(n->Border()->Color(), clBlue);
    QCOMPARE(n->Brush()->Color(), clYellow);
    n->SetBrush(nullptr);
    n->SetColor(clLime);
    QCOMPARE(n->PeekBrush()->Color(), clLime);

    // Changes of own objects repaint; setting none frees them.
    const int before = host.Tree->InvalidateCount();
    n->Gradient()->SetVisible(true);
    n->Shadow()->SetHorizSize(3);
    QCOMPARE(host.Tree->InvalidateCount(), before + 2);
    n->SetGradient(nullptr);
    n->SetShadow(nullptr);
    n->SetBorder(nullptr);
    QVERIFY(!n->PeekGradient() && !n->PeekShadow() && !n->PeekBorder());
}

void TestTreeNodes::addChildStartsBesideParent()
{
    THost host;
    TTreeNodeShape *parent = host.Tree->AddRoot(QStringLiteral("P"));
    parent->SetX0(10);
    TTreeNodeShape *child = parent->AddChild(QStringLiteral("C"));
    QCOMPARE(child->X0(), 29);
    QCOMPARE(child->Y0(), 1);
    QVERIFY(!child->PeekAutoPosition()); // both coordinates automatic
    QVERIFY(!child->Visible());          // the parent is collapsed
    QCOMPARE(child->Parent(), parent);
    QCOMPARE(child->BrotherIndex(), 0);
    QCOMPARE(child->Level(), 1);
    QCOMPARE(child->RootOf(), parent);
    QVERIFY(!host.Tree->Roots().Contains(child));
    QCOMPARE(host.Tree->Shapes().Count(), 2);

    // The parent is connected to the child.
    QCOMPARE(parent->ConnectionCount(), 1);
    QCOMPARE(parent->ConnectionTo(child)->ToShape(), child);
    QCOMPARE(child->Parents(), std::vector<TTreeNodeShape *>{parent});

    parent->SetExpanded(true);
    TTreeNodeShape *second = parent->AddChild(QStringLiteral("D"));
    QVERIFY(second->Visible());
    QCOMPARE(second->BrotherIndex(), 1);
    QCOMPARE(second->PreviousBrother(), child);
    QCOMPARE(child->PreviousBrother(), nullptr);

    // Without automatic connections the child stands alone.
    host.Tree->SetAutoConnectChildren(false);
    TTreeNodeShape *third = parent->AddChild();
    QVERIFY(!parent->ConnectionTo(third));
    QCOMPARE(third->LineCount(), 0);

    // A parent from another diagram is refused.
    THost other;
    QVERIFY_THROWS_EXCEPTION(EComponentError, other.Tree->AddShape(0, 0, parent));
    QCOMPARE(other.Tree->Shapes().Count(), 0);
}

void TestTreeNodes::namesFollowOwnersComponents()
{
    THost host;
    TComponent existing(host.Owner.get());
    existing.SetName(QStringLiteral("TreeNodeShape1"));
    QStringList names;
    TTreeNodeShape *last = nullptr;
    for (int i = 0; i < 3; ++i) {
        last = host.Tree->AddRoot();
        names << last->Name();
    }
    QCOMPARE(names, QStringList({"TreeNodeShape2", "TreeNodeShape3", "TreeNodeShape4"}));
    QCOMPARE(last->Owner(), host.Owner.get());

    // Classes name their nodes after themselves.
    host.Tree->DefaultFormat().SetShapeClass(&TTextShape::StaticClassInfo());
    QCOMPARE(host.Tree->AddRoot()->Name(), QStringLiteral("TextShape1"));

    // Without owners nodes have no name.
    THost loose(false);
    TTreeNodeShape *n = loose.Tree->AddRoot();
    QVERIFY(!n->Owner());
    QVERIFY(n->Name().isEmpty());
}

void TestTreeNodes::addBrotherAndAddRootObject()
{
    THost host;
    int newShapes = 0;
    host.Tree->OnNewShape = [&](TTreeDocument *tree, TTreeNodeShape *node) {
        QCOMPARE(tree, host.Tree);
        QVERIFY(host.Tree->Shapes().Contains(node));
        ++newShapes;
    };
    int data = 1;
    TTreeNodeShape *root = host.Tree->AddRootObject(QStringLiteral("R"), &data);
    QCOMPARE(root->Data(), static_cast<void *>(&data));
    QCOMPARE(root->BrotherIndex(), -1);
    QVERIFY(!root->AddBrother(QStringLiteral("none")));
    QCOMPARE(host.Tree->Shapes().Count(), 1);
    TTreeNodeShape *a = root->AddChild(QStringLiteral("a"));
    TTreeNodeShape *b = a->AddBrother(QStringLiteral("b"));
    QCOMPARE(b->Parent(), root);
    QCOMPARE(Names(root->Children()), QStringList({"a", "b"}));
    QCOMPARE(newShapes, 3);
}

void TestTreeNodes::automaticSizeFromText()
{
    THost host;
    TKorCanvas3D *canvas = host.Tree->TreeCanvas();
    canvas->AssignFont(host.Tree->DefaultFormat().Font());
    const int w = canvas->TextWidth(QStringLiteral("abc"));
    const int h = canvas->TextHeight(QStringLiteral("W"));
    QVERIFY(w > 0 && h > 0);

    TTreeNodeShape *n = host.Tree->AddRoot(QStringLiteral("abc"));
    QVERIFY(!n->SizeValid());
    QCOMPARE(n->Width(), w + 6 + 2); // a visible 1-pixel border
    QCOMPARE(n->Height(), h + 1);
    QVERIFY(n->SizeValid());

    // Without a border the height is still one line plus one.
    n->Border()->SetVisible(false);
    QVERIFY(!n->SizeValid());
    QCOMPARE(n->Width(), w + 6);
    QCOMPARE(n->Height(), h + 1);

    // Diamonds (and circles and triangles) get twice the room.
    n->Border()->SetVisible(true);
    n->SetStyle(tssDiamond);
    QCOMPARE(n->Width(), 2 * (w + 6) + 2);
    QCOMPARE(n->Height(), (h + 1) + (h + 1));

    // A wider pen adds twice its width across and once down.
    n->SetStyle(tssRectangle);
    n->Border()->SetWidth(3);
    QCOMPARE(n->Width(), w + 6 + 6);
    QCOMPARE(n->Height(), h + 3);

    // No text: one line high; more lines: the widest line.
    TTreeNodeShape *empty = host.Tree->AddRoot();
    QCOMPARE(empty->Height(), h + 1);
    QCOMPARE(empty->Width(), 6 + 2);
    TTreeNodeShape *lines = host.Tree->AddRoot();
    lines->Text()->SetText(QStringLiteral("abc\nabcabc"));
    canvas->AssignFont(host.Tree->DefaultFormat().Font());
    QCOMPARE(lines->Width(), canvas->TextWidth(QStringLiteral("abcabc")) + 8);
    QCOMPARE(lines->Height(), 2 * h + 1);

    // A hot node is measured with the font it is drawn with: the hot-track
    // font once hot-tracking uses one, and again after that font changes.
    TTreeHotTrack *hot = host.Tree->HotTrack();
    hot->SetActive(true);
    hot->SetUseFont(true);
    hot->Font()->SetSize(20);
    canvas->AssignFont(hot->Font());
    const int hotWidth = canvas->TextWidth(QStringLiteral("abcabc")) + 8;
    const int hotHeight = 2 * canvas->TextHeight(QStringLiteral("W")) + 1;
    QVERIFY(hotWidth > lines->Width());
    lines->SetHot(true);
    QCOMPARE(lines->Width(), hotWidth);
    QCOMPARE(lines->Height(), hotHeight);
    hot->Font()->SetSize(8);
    canvas->AssignFont(hot->Font());
    QCOMPARE(lines->Width(), canvas->TextWidth(QStringLiteral("abcabc")) + 8);
    // A node of fixed size keeps it when it turns hot or the font changes.
    TTreeNodeShape *fixed = host.Tree->AddRoot(QStringLiteral("abcabc"));
    fixed->SetAutoSize(false);
    fixed->SetWidth(100);
    fixed->SetHot(true);
    hot->Font()->SetSize(30);
    QCOMPARE(fixed->Width(), 100);
    host.Tree->LayoutShapes();
    QCOMPARE(fixed->Width(), 100);
    hot->Font()->SetSize(8);
    lines->SetHot(false);
    canvas->AssignFont(host.Tree->DefaultFormat().Font());
    QCOMPARE(lines->Width(), canvas->TextWidth(QStringLiteral("abcabc")) + 8);
    QCOMPARE(lines->Height(), 2 * h + 1);

    // A fixed size is kept.
    lines->SetAutoSize(false);
    lines->SetWidth(100);
    lines->Text()->Add(QStringLiteral("more"));
    QCOMPARE(lines->Width(), 100);
}

void TestTreeNodes::coordinatesAndFixing()
{
    THost host;
    TTreeNodeShape *n = host.Tree->AddRoot(QStringLiteral("text"));
    const int width = n->Width();
    n->SetX0(40);
    QCOMPARE(n->X0(), 40);
    QCOMPARE(n->Width(), width);
    QVERIFY(!n->AutoPosition()->Left());
    QVERIFY(n->AutoPosition()->Top());

    // Setting X1 fixes the size.
    n->SetX1(200);
    QVERIFY(!n->AutoSize());
    QCOMPARE(n->Width(), 160);
    n->SetAutoSize(true);
    QVERIFY(!n->SizeValid());
    QCOMPARE(n->Width(), width);

    // Centres halve toward zero.
    Place(n, -7, -3, 0, 2);
    QCOMPARE(n->XCenter(), -3);
    QCOMPARE(n->YCenter(), 0);
}

void TestTreeNodes::userMovesAndResizing()
{
    THost host;
    TTreeNodeShape *p = host.Tree->AddRoot(QStringLiteral("P"));
    TTreeNodeShape *c = p->AddChild(QStringLiteral("C"));
    const int cx = c->X0(), cy = c->Y0();

    // A handler may cancel a move.
    host.Tree->OnMovingShape = [](TTreeNodeShape *, int &dx, int &dy) { dx = dy = 0; };
    p->UserMove(5, 5, true);
    QCOMPARE(p->X0(), 0);
    QVERIFY(!p->PeekAutoPosition());

    // A horizontal move fixes X only; children may move along.
    host.Tree->OnMovingShape = [](TTreeNodeShape *, int &, int &dy) { dy = 0; };
    p->UserMove(5, 9, true);
    QCOMPARE(p->X0(), 5);
    QCOMPARE(p->Y0(), 0);
    QVERIFY(!p->AutoPosition()->Left());
    QVERIFY(p->AutoPosition()->Top());
    QCOMPARE(c->X0(), cx + 5);
    QCOMPARE(c->Y0(), cy);
    QVERIFY(!c->PeekAutoPosition()); // only the moved node is fixed
    host.Tree->OnMovingShape = nullptr;

    // Resizing moves the named edges, never past the opposite one.
    Place(p, 0, 0, 50, 20);
    p->Resize(rcLeftTop, 10, 5);
    QCOMPARE(TRect(p->X0(), p->Y0(), p->X1(), p->Y1()), TRect(10, 5, 50, 20));
    p->Resize(rcRight, -100, 0);
    QCOMPARE(p->X1(), 11);
    p->Resize(rcBottom, 0, 7);
    QCOMPARE(p->Y1(), 27);
    p->Resize(rcLeftBottom, 100, -100);
    QCOMPARE(TRect(p->X0(), p->Y0(), p->X1(), p->Y1()), TRect(10, 5, 11, 6));

    // The handler sees the corner and may change the deltas.
    TTreeShapeHandle seen = rcNone;
    host.Tree->OnResizingShape = [&](TTreeNodeShape *, TTreeShapeHandle corner, int &dx, int &dy) {
        seen = corner;
        dx = 4;
        dy = 0;
    };
    p->Resize(rcRightTop, 1, 1);
    QCOMPARE(seen, rcRightTop);
    QCOMPARE(p->X1(), 15);
    QCOMPARE(p->Y0(), 5);
    host.Tree->OnResizingShape = [](TTreeNodeShape *, TTreeShapeHandle, int &dx, int &dy) { dx = dy = 0; };
    const int invalidates = host.Tree->InvalidateCount();
    p->Resize(rcRight, 9, 9);
    QCOMPARE(p->X1(), 15);
    QCOMPARE(host.Tree->InvalidateCount(), invalidates);
}

void TestTreeNodes::resizingCornersAndCursors()
{
    THost host;
    TTreeNodeShape *n = Place(host.Tree->AddRoot(), 0, 0, 40, 20);
    struct Case
    {
        int x, y;
        TTreeShapeHandle corner;
        int cursor;
    };
    // Mid-points are (left + right) / 2 + 1 and (top + bottom) / 2 + 1.
    const Case cases[] = {
        {0, 0, rcLeftTop, crSizeNWSE},     {43, 23, rcRightBottom, crSizeNWSE}, {40, -3, rcRightTop, crSizeNESW},
        {-3, 20, rcLeftBottom, crSizeNESW}, {0, 11, rcLeft, crSizeWE},          {40, 11, rcRight, crSizeWE},
        {21, 0, rcTop, crSizeNS},           {21, 20, rcBottom, crSizeNS},       {20, 10, rcNone, crDefault},
        {44, 20, rcNone, crDefault},
    };
    for (const Case &c : cases) {
        QCOMPARE(n->GetResizingCorner(c.x, c.y), c.corner);
        QCOMPARE(n->GetResizingCursor(c.x, c.y), c.cursor);
    }
    // The selection's handle size is the tolerance.
    host.Tree->Selected().SetHandleSize(5);
    QCOMPARE(n->GetResizingCorner(45, 25), rcRightBottom);

    // A node may refuse a handle.
    TNoRightResize picky;
    Place(&picky, 0, 0, 40, 20);
    QCOMPARE(picky.GetResizingCorner(40, 11), rcNone);
    QCOMPARE(picky.GetResizingCorner(0, 11), rcLeft);
}

void TestTreeNodes::expandCollapseEventsAndVisibility()
{
    THost host;
    TTreeNodeShape *a = host.Tree->AddRoot(QStringLiteral("A"));
    TTreeNodeShape *b = a->AddChild(QStringLiteral("B"));
    TTreeNodeShape *c = b->AddChild(QStringLiteral("C"));
    a->AddChild(QStringLiteral("B2"));
    QStringList log;
    host.Tree->OnExpandingCollapsing = [&](TTreeNodeShape *n, bool &expand) {
        log << QStringLiteral("ing %1 %2").arg(n->SimpleText()).arg(expand);
    };
    host.Tree->OnExpandedCollapsed = [&](TTreeNodeShape *n) { log << QStringLiteral("ed %1").arg(n->SimpleText()); };

    // Children follow their own parent's state, whatever is above it.
    b->SetExpanded(true);
    QVERIFY(c->Visible());
    QCOMPARE(a->SetExpanded(true), 2);
    QVERIFY(b->Visible());
    QCOMPARE(log, QStringList({"ing B 1", "ed B", "ing A 1", "ed A"}));

    // Collapsing hides the grandchild too.
    QCOMPARE(a->SetExpanded(false), 3);
    QVERIFY(!b->Visible() && !c->Visible());
    QVERIFY(b->Expanded());
    QCOMPARE(a->SetExpanded(false), 0); // unchanged: no events

    // The handler may turn the request around.
    log.clear();
    host.Tree->OnExpandingCollapsing = [&](TTreeNodeShape *, bool &expand) { expand = false; };
    QCOMPARE(a->SetExpanded(true), 0);
    QVERIFY(!a->Expanded());

    // Outside a diagram only the value changes.
    TTreeNodeShape loose;
    QCOMPARE(loose.SetExpanded(true), 0);
    QVERIFY(loose.Expanded());
}

void TestTreeNodes::collapseDeselectsHiddenNodes()
{
    THost host;
    TTreeNodeShape *a = host.Tree->AddRoot(QStringLiteral("A"));
    TTreeNodeShape *b = a->AddChild(QStringLiteral("B"));
    TTreeNodeShape *c = b->AddChild(QStringLiteral("C"));
    a->SetExpanded(true);
    b->SetExpanded(true);
    QVERIFY(c->Visible());
    c->SetSelected(true);
    QCOMPARE(host.Tree->Selected().First(), c);

    // A selected connection that loses a visible end is deselected.
    host.Tree->Connections().SetSelected(b->ConnectionTo(c));

    a->SetExpanded(false);
    QVERIFY(!c->Visible());
    QVERIFY(!c->Selected());
    QVERIFY(!b->Selected());
    QVERIFY(a->Selected());
    QCOMPARE(host.Tree->Selected().Count(), 1);
    QCOMPARE(host.Tree->Selected().First(), a);
    QVERIFY(!host.Tree->Connections().Selected());

    // With multiple selection too no hidden node stays selected (Delete
    // would free what nobody sees): the collapsed node takes over, and
    // visible selected nodes elsewhere keep their selection.
    host.Tree->SetSingleSelection(false);
    a->SetExpanded(true);
    host.Tree->Selected().Clear();
    TTreeNodeShape *other = host.Tree->AddRoot(QStringLiteral("other"));
    other->SetSelected(true);
    c->SetSelected(true);
    a->SetExpanded(false);
    QVERIFY(!c->Selected());
    QVERIFY(a->Selected());
    QVERIFY(!b->Selected());
    QCOMPARE(host.Tree->Selected().Count(), 2);
    QCOMPARE(host.Tree->Selected().First(), other);
    // Turning single selection on keeps only the first.
    host.Tree->SetSingleSelection(true);
    QCOMPARE(host.Tree->Selected().Count(), 1);
    QCOMPARE(host.Tree->Selected().First(), other);
}

void TestTreeNodes::expandAllOrder()
{
    THost host;
    TTreeNodeShape *r1 = host.Tree->AddRoot(QStringLiteral("r1"));
    TTreeNodeShape *x = r1->AddChild(QStringLiteral("x"));
    x->AddChild(QStringLiteral("y"));
    r1->AddChild(QStringLiteral("z"));
    host.Tree->AddRoot(QStringLiteral("r2"))->AddChild(QStringLiteral("w"));
    QStringList order;
    host.Tree->OnExpandingCollapsing = [&](TTreeNodeShape *n, bool &) { order << n->SimpleText(); };
    host.Tree->ExpandAll(true);
    QCOMPARE(order, QStringList({"r1", "x", "y", "z", "r2", "w"}));
    for (TTreeNodeShape *n : host.Tree->Shapes())
        QVERIFY(n->Expanded() && n->Visible());
    host.Tree->ExpandAll(false);
    QVERIFY(!x->Visible());
}

void TestTreeNodes::reparenting()
{
    THost host;
    TTreeNodeShape *p = host.Tree->AddRoot(QStringLiteral("P"));
    TTreeNodeShape *a = p->AddChild(QStringLiteral("a"));
    TTreeNodeShape *b = p->AddChild(QStringLiteral("b"));
    TTreeNodeShape *c = p->AddChild(QStringLiteral("c"));
    TTreeNodeShape *q = host.Tree->AddRoot(QStringLiteral("Q"));
    q->SetExpanded(true);
    TTreeConnection *pb = p->ConnectionTo(b);
    QVERIFY(pb);
    const int connections = host.Tree->Connections().Count();

    b->SetParent(q);
    QCOMPARE(Names(p->Children()), QStringList({"a", "c"}));
    CheckBrotherIndexes(p);
    QCOMPARE(b->BrotherIndex(), 0);
    QCOMPARE(b->Parent(), q);
    QVERIFY(b->Visible()); // Q is expanded
    // The connection from the old parent went; none was made.
    QVERIFY(!p->ConnectionTo(b));
    QVERIFY(!q->ConnectionTo(b));
    QCOMPARE(host.Tree->Connections().Count(), connections - 1);
    QVERIFY(b->Parents().empty());
    Q_UNUSED(pb);

    // To none: a visible root at the end of Roots.
    a->SetParent(nullptr);
    QCOMPARE(a->BrotherIndex(), -1);
    QCOMPARE(host.Tree->Roots().Last(), a);
    QVERIFY(a->Visible());
    QCOMPARE(c->BrotherIndex(), 0);

    // A root moving under a node leaves Roots.
    a->SetParent(c);
    QVERIFY(!host.Tree->Roots().Contains(a));
    QVERIFY(!a->Visible());
    QCOMPARE(a->Level(), 2);
    QCOMPARE(a->RootOf(), p);
}

void TestTreeNodes::reparentingUnderDescendantIgnored()
{
    THost host;
    TTreeNodeShape *a = host.Tree->AddRoot(QStringLiteral("a"));
    TTreeNodeShape *b = a->AddChild(QStringLiteral("b"));
    TTreeNodeShape *c = b->AddChild(QStringLiteral("c"));
    TTreeNodeShape *d = c->AddChild(QStringLiteral("d"));
    const int invalidates = host.Tree->InvalidateCount();
    a->SetParent(a);
    a->SetParent(b); // its own child
    a->SetParent(d); // a deeper descendant would make a cycle
    b->SetParent(a); // already its parent
    QCOMPARE(host.Tree->InvalidateCount(), invalidates);
    QCOMPARE(a->Parent(), nullptr);
    QCOMPARE(d->RootOf(), a);
    QCOMPARE(d->Level(), 3);
    QVERIFY(a->IsAncestorOf(d));
    QVERIFY(!d->IsAncestorOf(a));
    QCOMPARE(host.Tree->Roots().Count(), 1);
}

void TestTreeNodes::deletingFreesSubtreeAndConnections()
{
    THost host;
    TTreeNodeShape *root = host.Tree->AddRoot(QStringLiteral("root"));
    TTreeNodeShape *a = root->AddChild(QStringLiteral("a"));
    TTreeNodeShape *b = root->AddChild(QStringLiteral("b"));
    TTreeNodeShape *c = root->AddChild(QStringLiteral("c"));
    TTreeNodeShape *d = root->AddChild(QStringLiteral("d"));
    b->AddChild(QStringLiteral("b1"))->AddChild(QStringLiteral("b11"));
    b->AddChild(QStringLiteral("b2"));
    TTreeNodeShape *other = host.Tree->AddRoot(QStringLiteral("other"));
    // Connections in and out of the subtree, and a loop.
    a->AddConnection(b);
    b->Child(0)->AddConnection(other);
    other->AddConnection(b->Child(1));
    b->AddConnection(b);
    b->SetSelected(true);
    QCOMPARE(host.Tree->Shapes().Count(), 9);
    const int ownedBefore = host.Owner->ComponentCount();
    const int connectionsBefore = host.Tree->Connections().Count();
    // 7 parent links and the 4 made above.
    QCOMPARE(connectionsBefore, 7 + 4);

    delete b;
    QCOMPARE(host.Tree->Shapes().Count(), 5);
    QCOMPARE(Names(root->Children()), QStringList({"a", "c", "d"}));
    QCOMPARE(c->BrotherIndex(), 1);
    QCOMPARE(d->BrotherIndex(), 2);
    QCOMPARE(host.Tree->Selected().Count(), 0);
    QCOMPARE(host.Tree->Connections().Count(), connectionsBefore - 8);
    QCOMPARE(a->ConnectionCount(), 0);
    QCOMPARE(other->ConnectionCount(), 0);
    QCOMPARE(root->ConnectionCount(), 3);
    QCOMPARE(host.Owner->ComponentCount(), ownedBefore - 4 - 8);
    for (TTreeConnection *conn : host.Tree->Connections())
        QVERIFY(conn->FromShape() && conn->ToShape());

    // Deleting a root takes it out of Roots.
    delete other;
    QCOMPARE(host.Tree->Roots().Count(), 1);
}

void TestTreeNodes::deepChainsAreSafe()
{
    THost host;
    TTreeNodeShape *top = host.Tree->AddRoot(QStringLiteral("top"));
    TTreeNodeShape *n = top;
    for (int i = 0; i < 20000; ++i)
        n = n->AddChild();
    QCOMPARE(n->Level(), 20000);
    QCOMPARE(n->RootOf(), top);
    QCOMPARE(host.Tree->CloneShape(top)->Level(), 0);
    top->SetExpanded(true);
    host.Tree->ExpandAll(true);
    QVERIFY(n->Visible());
    delete top;
    QCOMPARE(host.Tree->Shapes().Count(), 20001); // the clone remains
    host.Tree->Clear();
    QCOMPARE(host.Tree->Shapes().Count(), 0);
}

void TestTreeNodes::clearFreesEverythingOnce()
{
    THost host;
    host.Tree->DefaultFormat().SetShapeClass(&TCountedShape::StaticClassInfo());
    TCountedShape::Freed = 0;
    TTreeNodeShape *root = host.Tree->AddRoot();
    for (int i = 0; i < 3000; ++i) {
        TTreeNodeShape *child = root->AddChild();
        if (i % 3 == 0)
            child->AddChild();
    }
    const int nodes = host.Tree->Shapes().Count();
    QCOMPARE(TCountedShape::Alive, nodes);
    QVERIFY(host.Tree->Shapes().Capacity() > 100);
    root->Child(5)->SetSelected(true);
    host.Tree->Connections().SetSelected(root->ConnectionTo(root->Child(7)));

    const int invalidates = host.Tree->InvalidateCount();
    host.Tree->Clear();
    QCOMPARE(TCountedShape::Freed, nodes);
    QCOMPARE(TCountedShape::Alive, 0);
    QCOMPARE(host.Tree->Shapes().Count(), 0);
    QCOMPARE(host.Tree->Roots().Count(), 0);
    QCOMPARE(host.Tree->Connections().Count(), 0);
    QCOMPARE(host.Tree->Shapes().Capacity(), 100);
    QCOMPARE(host.Tree->Roots().Capacity(), 100);
    QCOMPARE(host.Tree->Connections().Capacity(), 100);
    QCOMPARE(host.Tree->Selected().Count(), 0);
    QVERIFY(!host.Tree->Connections().Selected());
    QVERIFY(!host.Tree->Clearing());
    QCOMPARE(host.Tree->InvalidateCount(), invalidates + 1); // once, at the end
    QCOMPARE(host.Owner->ComponentCount(), 1);               // the diagram alone

    // Names start again, and elements without owner go as well.
    QCOMPARE(host.Tree->AddRoot()->Name(), QStringLiteral("CountedShape1"));
    host.Tree->SetNoOwnerShapes(true);
    host.Tree->AddRoot()->AddChild();
    host.Tree->Clear();
    QCOMPARE(TCountedShape::Alive, 0);

    // The diagram's destruction clears it too.
    host.Tree->AddRoot()->AddChild();
    delete host.Tree;
    QCOMPARE(TCountedShape::Alive, 0);
    QCOMPARE(host.Owner->ComponentCount(), 0);
}

void TestTreeNodes::assignCopiesFormatAndGeometry()
{
    THost host;
    TTreeNodeShape *src = host.Tree->AddRoot(QStringLiteral("src"));
    src->SetTag(5);
    src->SetStyle(tssCircle);
    src->SetColor(clRed);
    src->Border()->SetWidth(2);
    src->Shadow()->SetVertSize(4);
    src->SetBackColor(clAqua);
    src->SetTransparency(30);
    src->SetImageAlignment(iaRight);
    src->SetImageIndex(tiComputer);
    src->SetX0(10);
    src->SetAutoSize(false);
    src->SetX1(90);
    src->SetY1(33);
    src->SetVisible(false);
    src->Text()->SetVertAlign(vtaTop);

    TTreeNodeShape *dst = host.Tree->AddRoot();
    dst->Gradient()->SetVisible(true);
    dst->Assign(src);
    QCOMPARE(dst->Style(), tssCircle);
    QCOMPARE(dst->Color(), clRed);
    QCOMPARE(dst->PeekBorder()->Width(), 2);
    QVERIFY(dst->PeekBorder() != src->PeekBorder());
    QCOMPARE(dst->PeekShadow()->VertSize(), 4);
    QVERIFY(!dst->PeekGradient()); // the source has none
    QCOMPARE(dst->BackColor(), clAqua);
    QCOMPARE(dst->Transparency(), uint8_t(30));
    QCOMPARE(dst->ImageAlignment(), iaRight);
    QCOMPARE(dst->ImageIndex(), tiComputer);
    QCOMPARE(dst->X0(), 10);
    QCOMPARE(dst->X1(), 90);
    QCOMPARE(dst->Y1(), 33);
    QVERIFY(!dst->AutoSize());
    QCOMPARE(dst->Text()->Lines(), QStringList{"src"});
    QCOMPARE(dst->Text()->VertAlign(), vtaTop);
    // Not copied: visibility, tag, name, fixed coordinates, hierarchy.
    QVERIFY(dst->Visible());
    QCOMPARE(dst->Tag(), 0);
    QVERIFY(dst->Name() != src->Name());
    QVERIFY(!dst->PeekAutoPosition());

    // With AssignParentFormat a new child copies its parent, moved to its
    // own place.
    host.Tree->SetAssignParentFormat(true);
    TTreeNodeShape *child = src->AddChild(QStringLiteral("kid"));
    QCOMPARE(child->Style(), tssCircle);
    QCOMPARE(child->X0(), 29);
    QCOMPARE(child->Y0(), 1);
    QCOMPARE(child->Width(), 80);
    QCOMPARE(child->SimpleText(), QStringLiteral("kid"));
    QVERIFY(!child->PeekText());
}

void TestTreeNodes::cloneAndPaste()
{
    THost host;
    TTreeNodeShape *a = host.Tree->AddRoot(QStringLiteral("A"));
    TTreeNodeShape *b = a->AddChild(QStringLiteral("B"));
    b->AddChild(QStringLiteral("C"));
    a->AddChild(QStringLiteral("D"));
    a->SetExpanded(true);
    a->ConnectionTo(b)->SetStyle(csCurve);
    a->ConnectionTo(b)->ArrowTo()->SetStyle(casCircle);
    QStringList asked;
    host.Tree->OnAddingConnection = [&](TTreeNodeShape *from, TTreeNodeShape *to, bool &) {
        asked << from->Name() + QLatin1String(">") + to->Name();
    };

    TTreeNodeShape *copy = host.Tree->CloneShape(a);
    QVERIFY(!copy->Visible());
    QVERIFY(host.Tree->Roots().Contains(copy));
    QCOMPARE(copy->ChildCount(), 2);
    TTreeNodeShape *copyB = copy->Child(0);
    QCOMPARE(copyB->SimpleText(), QStringLiteral("B"));
    QCOMPARE(copyB->Child(0)->SimpleText(), QStringLiteral("C"));
    QVERIFY(copyB->Visible()); // the copy of A is expanded
    // Every copy has its own name, so their connections do too.
    QStringList names;
    for (TTreeNodeShape *n : host.Tree->Shapes())
        names << n->Name();
    QCOMPARE(names.size(), 8);
    QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), 8);
    TTreeConnection *cb = copy->ConnectionTo(copyB);
    QVERIFY(cb);
    QCOMPARE(cb->Name(), copy->Name() + QLatin1Char('_') + copyB->Name());
    QCOMPARE(cb->Style(), csCurve);
    QCOMPARE(cb->PeekArrowTo()->Style(), casCircle);
    QVERIFY(copyB->ConnectionTo(copyB->Child(0)));
    // Connections were asked for child first (each copy finishes its own
    // subtree before it is connected).
    QCOMPARE(asked, QStringList({copyB->Name() + ">" + copyB->Child(0)->Name(), copy->Name() + ">" + copyB->Name(),
                                 copy->Name() + ">" + copy->Child(1)->Name()}));
    QCOMPARE(host.Tree->Connections().Count(), 6);

    // Paste: visible; a copy without text shows its name.
    TTreeNodeShape *blank = host.Tree->AddRoot();
    TTreeNodeShape *pasted = host.Tree->PasteShape(blank);
    QVERIFY(pasted->Visible());
    QCOMPARE(pasted->SimpleText(), pasted->Name());
    QVERIFY(!pasted->Name().isEmpty());

    // A refused connection leaves the copies unconnected.
    host.Tree->OnAddingConnection = [](TTreeNodeShape *, TTreeNodeShape *, bool &add) { add = false; };
    TTreeNodeShape *bare = host.Tree->CloneShape(b);
    QCOMPARE(bare->ConnectionCount(), 0);
    QCOMPARE(bare->ChildCount(), 1);

    // From another diagram (a clipboard) into this one.
    THost clip;
    TTreeNodeShape *x = clip.Tree->AddRoot(QStringLiteral("X"));
    x->AddChild(QStringLiteral("Y"));
    host.Tree->OnAddingConnection = nullptr;
    TTreeNodeShape *fromClip = host.Tree->PasteShape(x);
    QCOMPARE(fromClip->Tree(), host.Tree);
    QCOMPARE(fromClip->Owner(), host.Owner.get());
    QCOMPARE(fromClip->Child(0)->Tree(), host.Tree);
    QCOMPARE(fromClip->ConnectionTo(fromClip->Child(0))->Tree(), host.Tree);
    QCOMPARE(clip.Tree->Shapes().Count(), 2);
}

void TestTreeNodes::imageChoiceAndSize()
{
    THost host;
    TTreeNodeShape *n = host.Tree->AddRoot(QStringLiteral("n"));
    QCOMPARE(n->ImageSize(), QSize(15, 13));
    TTreeImagePool &pool = TTreeImagePool::Instance();
    // The built-in pictures, transparent in their top-left colour.
    const QSize sizes[] = {{0, 0},   {15, 13}, {15, 13}, {16, 16}, {15, 14}, {16, 16}, {16, 9},
                           {16, 16}, {16, 9},  {16, 11}, {16, 16}, {11, 16}, {0, 0},   {30, 13},
                           {30, 13}, {12, 12}, {12, 12}, {12, 12}, {12, 12}, {30, 13}, {30, 13}};
    for (int i = 0; i < TTreeImagePool::kSlotCount; ++i) {
        const TPicture *p = pool.Picture(i);
        QCOMPARE(p ? QSize(p->Width(), p->Height()) : QSize(0, 0), sizes[i]);
        if (p)
            QVERIFY(p->Transparent());
    }
    QCOMPARE(n->NodePicture(), pool.Picture(tiFolderClose));
    n->SetExpanded(true);
    QCOMPARE(n->NodePicture(), pool.Picture(tiFolderOpen));
    QVERIFY(!pool.Picture(tiNone));
    QVERIFY(!pool.Picture(tiFolderOpenClose));
    QVERIFY(!pool.Picture(99));
    QCOMPARE(TTreeImagePool::ResourcePath(tiFolderCloseUnChecked), QStringLiteral(":/dendrix/images/TREEFLDCLOSEUNCHECK.bmp"));

    // An own picture: ImageIndex becomes tiNone and the size follows it.
    QImage red(20, 10, QImage::Format_RGB32);
    red.fill(Qt::red);
    TPicture picture;
    picture.SetImage(red);
    n->SetImageListIndex(0);
    n->SetImage(&picture);
    QCOMPARE(n->ImageIndex(), tiNone);
    QCOMPARE(n->ImageListIndex(), -1);
    QCOMPARE(n->ImageSize(), QSize(20, 10));
    QCOMPARE(n->NodePicture(), static_cast<const TPicture *>(n->PeekImage()));
    QVERIFY(StoredProps(*n).contains("Image"));
    n->SetImageWidth(7);
    QCOMPARE(n->ImageSize(), QSize(7, 10));

    // A diagram image list: shown while ImageListIndex is set.
    TImageList images;
    QImage blue(16, 16, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    images.Add(blue);
    host.Tree->SetImages(&images);
    n->SetImageListIndex(0);
    QCOMPARE(n->ImageListIndex(), 0);
    QCOMPARE(n->ImageSize(), QSize(7, 16));
    QCOMPARE(n->NodePicture()->Image().pixelColor(3, 3), QColor(Qt::blue));
    QCOMPARE(n->ImageListIndex(), 0); // refreshing the copy keeps the choice
    QVERIFY(!StoredProps(*n).contains("Image"));
    n->SetImageListIndex(4); // no such image
    QCOMPARE(n->ImageSize(), QSize(7, 16));

    // A pool image frees the own picture.
    n->SetImageWidth(0);
    n->SetImageIndex(tiWorld);
    QVERIFY(!n->PeekImage());
    QCOMPARE(n->ImageListIndex(), -1);
    QCOMPARE(n->ImageSize(), QSize(11, 16));
    n->SetImageIndex(tiNone);
    QCOMPARE(n->ImageSize(), QSize(0, 0));
    host.Tree->SetImages(nullptr);

    // A list freed while the diagram uses it is forgotten; the node keeps
    // the copy it took, and choosing again finds no list.
    auto shortLived = std::make_unique<TImageList>();
    shortLived->Add(blue);
    host.Tree->SetImages(shortLived.get());
    n->SetImageListIndex(0);
    QCOMPARE(n->ImageSize(), QSize(16, 16));
    shortLived.reset();
    QCOMPARE(host.Tree->Images(), nullptr);
    QCOMPARE(n->ImageSize(), QSize(16, 16));
    n->SetImageListIndex(0);
    QCOMPARE(n->ImageListIndex(), 0);
}

void TestTreeNodes::bringToFrontAndSendToBack()
{
    THost host;
    TTreeNodeShape *p = host.Tree->AddRoot(QStringLiteral("p"));
    TTreeNodeShape *a = p->AddChild(QStringLiteral("a"));
    p->AddChild(QStringLiteral("b"));
    TTreeNodeShape *c = p->AddChild(QStringLiteral("c"));
    a->BringToFront();
    QCOMPARE(Names(p->Children()), QStringList({"b", "c", "a"}));
    CheckBrotherIndexes(p);
    QCOMPARE(host.Tree->Shapes().Last(), a);
    QCOMPARE(host.Tree->Shapes().IndexOf(a), 3);
    c->SendToBack();
    QCOMPARE(Names(p->Children()), QStringList({"c", "b", "a"}));
    CheckBrotherIndexes(p);
    QCOMPARE(host.Tree->Shapes().First(), c);
    TTreeNodeShape *q = host.Tree->AddRoot(QStringLiteral("q"));
    q->SendToBack();
    QCOMPARE(Names(host.Tree->Roots()), QStringList({"q", "p"}));
    QCOMPARE(q->BrotherIndex(), -1);
    p->BringToFront();
    QCOMPARE(Names(host.Tree->Roots()), QStringList({"q", "p"}));
    QCOMPARE(host.Tree->Shapes().Last(), p);
}

void TestTreeNodes::shapeAtAndSelection()
{
    THost host;
    TTreeNodeShape *under = host.Tree->AddRoot(QStringLiteral("under"));
    TTreeNodeShape *over = host.Tree->AddRoot(QStringLiteral("over"));
    for (TTreeNodeShape *n : {under, over})
        Place(n, 0, 0, 30, 30);
    QCOMPARE(host.Tree->ShapeAt(10, 10), over);
    QCOMPARE(host.Tree->ShapeAt(0, 0), over);
    QCOMPARE(host.Tree->ShapeAt(30, 10), nullptr); // right edge excluded
    over->SetVisible(false);
    QCOMPARE(host.Tree->ShapeAt(10, 10), under);

    // SelectOnly asks OnChanging.
    bool allow = false;
    TTreeNodeShape *asked = nullptr;
    host.Tree->OnChanging = [&](TTreeDocument *, TTreeNodeShape *node, bool &ok) {
        asked = node;
        ok = allow;
    };
    under->SetSelected(true);
    QVERIFY(!host.Tree->SelectOnly(over));
    QCOMPARE(asked, over);
    QVERIFY(under->Selected());
    allow = true;
    QVERIFY(host.Tree->SelectOnly(over));
    QVERIFY(!under->Selected());
    QCOMPARE(host.Tree->Selected().First(), over);
    over->SelectChildren();
    QCOMPARE(host.Tree->Selected().Count(), 1);
}

void TestTreeNodes::setTreeMovesBetweenDiagrams()
{
    THost host;
    THost other;
    TTreeNodeShape *a = host.Tree->AddRoot(QStringLiteral("a"));
    TTreeNodeShape *b = a->AddChild(QStringLiteral("b"));
    a->SetSelected(true);
    a->SetTreeRecursive(other.Tree);
    QCOMPARE(host.Tree->Shapes().Count(), 0);
    QCOMPARE(host.Tree->Roots().Count(), 0);
    QCOMPARE(host.Tree->Selected().Count(), 0);
    QCOMPARE(host.Tree->Connections().Count(), 0);
    QCOMPARE(other.Tree->Shapes().Count(), 2);
    QCOMPARE(other.Tree->Roots().Count(), 1);
    QCOMPARE(other.Tree->Selected().First(), a);
    QCOMPARE(other.Tree->Connections().Count(), 1);
    QCOMPARE(b->Tree(), other.Tree);

    // Re-parenting under a node of another diagram takes the branch along.
    TTreeNodeShape *p = host.Tree->AddRoot(QStringLiteral("p"));
    a->SetParent(p);
    QCOMPARE(a->Tree(), host.Tree);
    QCOMPARE(b->Tree(), host.Tree);
    QCOMPARE(other.Tree->Shapes().Count(), 0);
    QCOMPARE(host.Tree->Shapes().Count(), 3);

    // Links across diagrams are undone before a diagram clears.
    TTreeNodeShape *far = other.Tree->AddRoot(QStringLiteral("far"));
    b->AddConnection(far);
    far->AddConnection(b);
    TTreeNodeShape *stray = other.Tree->AddRoot(QStringLiteral("stray"));
    stray->SetTree(host.Tree);
    stray->SetParent(p);
    stray->SetTree(other.Tree); // a child living in the other diagram
    host.Tree->Clear();
    QCOMPARE(far->ConnectionCount(), 0);
    QVERIFY(far->IncomingConnections().empty());
    QCOMPARE(stray->Parent(), nullptr);
    QVERIFY(other.Tree->Roots().Contains(stray));
    QCOMPARE(other.Tree->Connections().Count(), 0);
}




void TestTreeNodes::crossBoxAndRootCrosses()
{
    TTreeDocument tree;
    TTreeNodeCrossBox *box = tree.CrossBox();
    QCOMPARE(box->Size(), 4);
    QCOMPARE(box->Style(), cbsSquare);
    QVERIFY(box->Visible());
    QCOMPARE(box->Border()->Color(), clGray);
    QCOMPARE(box->BackColor(), clNone);
    const int before = tree.InvalidateCount();
    box->SetSize(6);
    box->SignPen()->SetColor(clRed);
    QCOMPARE(tree.InvalidateCount(), before + 2);
    QStringList stored;
    for (const TPropInfo &p : box->ClassInfo().Properties())
        if (p.IsStored(*box))
            stored << p.Name;
    // Sub-objects always exist, so they are always offered to the writer.
    QCOMPARE(stored, QStringList({"Border", "Brush", "SignPen", "Size"}));

    TTreeNodeShape *a = tree.AddRoot(QStringLiteral("A"));
    QVERIFY(!a->HasCross()); // automatic, no children
    TTreeNodeShape *b = a->AddChild(QStringLiteral("B"));
    QVERIFY(a->HasCross());
    QVERIFY(!b->HasCross());
    b->SetShowCross(scAlways);
    QVERIFY(b->HasCross());
    a->SetShowCross(scNever);
    QVERIFY(!a->HasCross());

    TTreeNodeShape *c = tree.AddRoot(QStringLiteral("C"));
    tree.SetShowRootCross(false);
    QCOMPARE(a->ShowCross(), scNever);
    QCOMPARE(c->ShowCross(), scNever);
    QCOMPARE(b->ShowCross(), scAlways); // not a root
    tree.SetShowRootCross(true);
    QCOMPARE(c->ShowCross(), scAlways);
    TTreeNodeShape *d = tree.AddRoot(QStringLiteral("D"));
    QCOMPARE(d->ShowCross(), scAuto); // roots added later keep their own value
}

QTEST_MAIN(TestTreeNodes)
#include "tst_tree_nodes.moc"
