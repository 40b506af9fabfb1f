// How a node draws itself: the outline of every style on rendered pixels,
// fill, gradient clipped to the outline, shadow, transparency, the
// selection and hot-track looks, images, the cross box, text layout (on the
// canvas's calls, never on glyph pixels) and the selection look and
// hot-track settings as data. Setting DENDRIX_TEST_PICTURES to a folder
// also writes a sheet of every style there for a person to look at.

#include "DrawTestUtil.h"

#include <QDir>
#include <climits>
#include <QtTest>
#include <cmath>

namespace {

QRgb Rgb(TColor c)
{
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// A picture of one colour.
std::unique_ptr<TPicture> Solid(int w, int h, TColor color)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(Rgb(color)));
    auto picture = std::make_unique<TPicture>();
    picture->SetImage(image);
    return picture;
}

struct TProbe
{
    int X, Y;
    TColor Color;
};

// The published values an object stores, without its sub-objects (which
// store their own).
QStringList PlainStored(const TPersistent &obj)
{
    QStringList names;
    for (const TPropInfo &p : obj.ClassInfo().Properties())
        if (p.Type != TPropType::Object && p.IsStored(obj))
            names << p.Name;
    return names;
}

} // namespace

Q_DECLARE_METATYPE(std::vector<TProbe>)

class TestNodeDrawing : public QObject
{
    Q_OBJECT
private slots:
    void outlineOfEveryStyle_data();
    void outlineOfEveryStyle();
    void outlineHookAnswers();
    void gradientClippedToOutline();
    void shadowBesideTheBody();
    void transparencyBlendsTheBody();
    void blendCoversTheShadowAtAnyZoom_data();
    void blendCoversTheShadowAtAnyZoom();
    void textBelowAPixelIsNotShaped_data();
    void textBelowAPixelIsNotShaped();
    void selectionLook();
    void selectionFrameAndHandles();
    void hotTrackLook();
    void imagesBesideAndInside();
    void crossBoxSigns();
    void textLayout();
    void rotatedText();
    void textClipAndBlend();
    void selectionAndHotTrackSettings();
    void explorerTreeAfterLayout();
    void sheetOfEveryStyle();
    void sizesBeyondTheCoordinateRange();
};

// ---------------------------------------------------------------------------
// Outlines

void TestNodeDrawing::outlineOfEveryStyle_data()
{
    // A node on (20, 20)-(60, 44): mx = 40, my = 32; black border, red fill.
    QTest::addColumn<int>("style");
    QTest::addColumn<std::vector<TProbe>>("probes");
    const TColor k = clBlack, w = clWhite, r = clRed;
    QTest::newRow("rectangle") << int(tssRectangle)
                               << std::vector<TProbe>{{20, 20, k}, {59, 20, k}, {20, 43, k}, {59, 43, k},
                                                      {60, 30, w}, {30, 44, w}, {19, 30, w}, {40, 32, r}};
    QTest::newRow("circle") << int(tssCircle)
                            << std::vector<TProbe>{{40, 20, k}, {20, 32, k}, {59, 32, k}, {40, 43, k},
                                                   {21, 21, w}, {58, 42, w}, {60, 32, w}, {40, 32, r}};
    QTest::newRow("vertical line") << int(tssVertLine)
                                   << std::vector<TProbe>{{40, 20, k}, {40, 43, k}, {40, 44, w}, {39, 30, w},
                                                          {41, 30, w}, {30, 32, w}};
    QTest::newRow("horizontal line") << int(tssHorizLine)
                                     << std::vector<TProbe>{{20, 32, k}, {59, 32, k}, {60, 32, w}, {40, 31, w},
                                                            {40, 33, w}, {40, 25, w}};
    QTest::newRow("line") << int(tssLine)
                          << std::vector<TProbe>{{20, 20, k}, {40, 32, k}, {40, 25, w}, {40, 40, w}, {20, 43, w}};
    QTest::newRow("inverted line") << int(tssInvertLine)
                                   << std::vector<TProbe>{{20, 44, k}, {40, 32, k}, {40, 25, w}, {40, 40, w},
                                                          {20, 20, w}};
    QTest::newRow("diamond") << int(tssDiamond)
                             << std::vector<TProbe>{{20, 32, k}, {40, 20, k}, {60, 32, k}, {40, 44, k},
                                                    {22, 22, w}, {58, 42, w}, {40, 32, r}};
    QTest::newRow("triangle top") << int(tssTriangleTop)
                                  << std::vector<TProbe>{{40, 20, k}, {20, 44, k}, {59, 44, k}, {40, 44, k},
                                                         {22, 22, w}, {58, 22, w}, {40, 38, r}};
    QTest::newRow("triangle bottom") << int(tssTriangleBottom)
                                     << std::vector<TProbe>{{40, 44, k}, {20, 20, k}, {40, 20, k}, {60, 20, k},
                                                            {22, 42, w}, {58, 42, w}, {40, 26, r}};
    QTest::newRow("triangle left") << int(tssTriangleLeft)
                                   << std::vector<TProbe>{{20, 32, k}, {60, 20, k}, {60, 32, k}, {60, 43, k},
                                                          {22, 22, w}, {22, 42, w}, {50, 32, r}};
    QTest::newRow("triangle right") << int(tssTriangleRight)
                                    << std::vector<TProbe>{{60, 32, k}, {20, 20, k}, {20, 32, k}, {20, 44, k},
                                                           {58, 22, w}, {58, 42, w}, {30, 32, r}};
    // Corners cut 3 pixels deep.
    QTest::newRow("rounded rectangle") << int(tssRoundRectangle)
                                       << std::vector<TProbe>{{23, 20, k}, {20, 23, k}, {21, 22, k}, {22, 21, k},
                                                              {57, 20, k}, {60, 23, k}, {60, 41, k}, {57, 44, k},
                                                              {20, 41, k}, {20, 20, w}, {20, 21, w}, {21, 20, w},
                                                              {60, 20, w}, {20, 44, w}, {60, 44, w}, {40, 32, r}};
}

void TestNodeDrawing::outlineOfEveryStyle()
{
    QFETCH(int, style);
    QFETCH(std::vector<TProbe>, probes);
    TPictureHost host;
    TTreeNodeShape *node = host.Node(20, 20, 60, 44, TTreeShapeStyle(style));
    node->SetColor(clRed);
    node->Draw();
    for (const TProbe &p : probes)
        QVERIFY2(host.Tree->Pixel(p.X, p.Y) == Rgb(p.Color),
                 qPrintable(QStringLiteral("(%1, %2) is %3").arg(p.X).arg(p.Y).arg(host.Tree->Pixel(p.X, p.Y), 6, 16)));
    // Lines have no inside: nothing red anywhere.
    if (style >= tssVertLine && style <= tssInvertLine)
        for (int y = 15; y < 50; ++y)
            for (int x = 15; x < 65; ++x)
                QVERIFY(host.Tree->Pixel(x, y) != Rgb(clRed));
}

void TestNodeDrawing::outlineHookAnswers()
{
    TPictureHost host;
    TTreeNodeShape *node = host.Node(10, 10, 50, 30, tssCustom);
    TKorCanvas3D *canvas = host.Tree->TreeCanvas();
    host.Tree->Wipe();
    // A plain node of the custom style has no outline of its own.
    QVERIFY(!node->DrawOutline(node->DrawRect(), canvas, tssCustom));
    QCOMPARE(host.Tree->Canvas.Calls().size(), size_t(0));
    QVERIFY(node->DrawOutline(node->DrawRect(), canvas, tssDiamond));
    QVERIFY(host.Tree->Canvas.Has("Polygon", {10, 20, 30, 10, 50, 20, 30, 30}));

    // The outline points the node reports.
    TPointArray points;
    node->SetStyle(tssCircle);
    QCOMPARE(node->GetShapePoints(TRect(10, 10, 50, 30), points), 2);
    QCOMPARE(points, (TPointArray{TPoint(10, 10), TPoint(51, 31)}));
    node->SetStyle(tssRoundRectangle);
    QCOMPARE(node->GetShapePoints(TRect(0, 0, 40, 20), points), 16);
    QCOMPARE(points.front(), TPoint(0, 17));
    QCOMPARE(points[4], TPoint(3, 0));
    QCOMPARE(points[8], TPoint(40, 3));
    QCOMPARE(points[12], TPoint(37, 20));
    node->SetStyle(tssTriangleLeft);
    QCOMPARE(node->GetShapePoints(TRect(40, 20, 0, 0), points), 3); // normalised first
    QCOMPARE(points, (TPointArray{TPoint(0, 10), TPoint(40, 0), TPoint(40, 20)}));
    for (TTreeShapeStyle s : {tssRectangle, tssVertLine, tssHorizLine, tssLine, tssInvertLine, tssCustom}) {
        node->SetStyle(s);
        QCOMPARE(node->GetShapePoints(TRect(0, 0, 40, 20), points), 0);
    }
}

// ---------------------------------------------------------------------------
// Fill, gradient, shadow, transparency

void TestNodeDrawing::gradientClippedToOutline()
{
    TPictureHost host;
    TTreeNodeShape *node = host.Node(20, 20, 60, 44, tssCircle);
    node->SetColor(clLime);
    node->Border()->SetVisible(false);
    TKorGradient *g = node->Gradient();
    g->SetVisible(true);
    g->SetStartColor(clRed);
    g->SetEndColor(clBlue);
    node->Draw();
    TPictureTree *t = host.Tree;
    QVERIFY(IsWhite(t->Pixel(21, 21)));      // outside the ellipse: clipped away
    const QRgb middle = t->Pixel(40, 32);
    QVERIFY(!IsWhite(middle));
    QVERIFY(middle != Rgb(clLime));          // the gradient replaces the brush
    QVERIFY(qBlue(t->Pixel(40, 21)) > qRed(t->Pixel(40, 21))); // end colour on top
    QVERIFY(qRed(t->Pixel(40, 42)) > qBlue(t->Pixel(40, 42))); // start colour at the bottom
    QCOMPARE(t->Canvas.Count("ClipToEllipse"), 1);
    QCOMPARE(t->Canvas.Count("RemoveClip"), 1);

    // Unclipped it covers the whole body.
    t->Wipe();
    node->SetGradientClip(false);
    node->Draw();
    QVERIFY(!IsWhite(t->Pixel(21, 21)));
    QCOMPARE(t->Canvas.Count("ClipToEllipse"), 0);

    // A diamond clips to its polygon; a rectangle never clips.
    t->Wipe();
    node->SetGradientClip(true);
    node->SetStyle(tssDiamond);
    node->Draw();
    QVERIFY(IsWhite(t->Pixel(22, 22)));
    QVERIFY(!IsWhite(t->Pixel(40, 32)));
    QVERIFY(t->Canvas.Has("ClipToPolygon", {20, 32, 40, 20, 60, 32, 40, 44}));
    t->Wipe();
    node->SetStyle(tssRectangle);
    node->Draw();
    QVERIFY(!IsWhite(t->Pixel(20, 20)));
    QCOMPARE(t->Canvas.Count("ClipToPolygon") + t->Canvas.Count("ClipToEllipse"), 0);
}

void TestNodeDrawing::shadowBesideTheBody()
{
    TPictureHost host;
    TPictureTree *t = host.Tree;
    TTreeNodeShape *node = host.Node(20, 20, 60, 44);
    node->Shadow()->SetColor(clGreen);
    node->Shadow()->SetHorizSize(4);
    node->Shadow()->SetVertSize(3);
    node->Draw();
    // The body with its border (20, 20)-(61, 45) moved by (4, 3), filled
    // without a pen, under the body.
    for (auto [x, y] : {std::pair{62, 30}, {64, 47}, {30, 46}, {24, 47}, {64, 23}})
        QVERIFY2(t->Pixel(x, y) == Rgb(clGreen), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
    for (auto [x, y] : {std::pair{65, 47}, {64, 48}, {23, 46}, {64, 22}})
        QVERIFY2(IsWhite(t->Pixel(x, y)), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
    QCOMPARE(t->Pixel(40, 32), Rgb(clWhite)); // the body covers its shadow
    QCOMPARE(t->Pixel(59, 43), Rgb(clBlack));

    // Negative sizes put it left of and above the body.
    t->Wipe();
    node->Shadow()->SetHorizSize(-4);
    node->Shadow()->SetVertSize(-3);
    node->Draw();
    QCOMPARE(t->Pixel(17, 18), Rgb(clGreen));
    QVERIFY(IsWhite(t->Pixel(62, 30)));

    // A transparent node casts none.
    t->Wipe();
    node->SetTransparent(true);
    node->Draw();
    QVERIFY(IsWhite(t->Pixel(17, 18)));
}

void TestNodeDrawing::transparencyBlendsTheBody()
{
    TPictureHost host;
    TPictureTree *t = host.Tree;
    TTreeNodeShape *node = host.Node(20, 20, 60, 44);
    node->SetColor(clBlack);
    node->SetTransparency(50);
    node->Shadow()->SetHorizSize(4);
    node->Shadow()->SetVertSize(3);
    node->Draw();
    // Black at 50 % over white: 0 + 50 x 255 / 100, truncated.
    QCOMPARE(qRed(t->Pixel(40, 32)), 127);
    QCOMPARE(qGreen(t->Pixel(40, 32)), 127);
    // The blend covers the body with its border and its shadow.
    QVERIFY(t->Canvas.Has("BeginTransparency", {20, 20, 65, 48}));
    QVERIFY(t->Canvas.Has("EndTransparency", {50}));

    // Drawn on another canvas than the diagram's (a preview), no blend.
    t->Wipe();
    TKorCanvas3D other;
    other.Attach(&t->Painter);
    node->DrawShape(&other, node->DrawRect());
    other.Attach(nullptr);
    QCOMPARE(t->Pixel(40, 32), Rgb(clBlack));
}

// ---------------------------------------------------------------------------
// Selection and hot-track

void TestNodeDrawing::blendCoversTheShadowAtAnyZoom_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<int>("horiz");
    QTest::addColumn<int>("vert");
    QTest::newRow("50, shadow up-left") << 50 << -4 << -3;
    QTest::newRow("200, shadow up-left") << 200 << -4 << -3;
    QTest::newRow("200, shadow down-right") << 200 << 4 << 3;
    QTest::newRow("50, shadow left, down") << 50 << -5 << 6;
    QTest::newRow("100, no shadow size") << 100 << 0 << 0;
}

void TestNodeDrawing::blendCoversTheShadowAtAnyZoom()
{
    QFETCH(int, zoom);
    QFETCH(int, horiz);
    QFETCH(int, vert);
    TPictureHost host;
    TPictureTree *t = host.Tree;
    t->Project(zoom);
    TTreeNodeShape *node = host.Node(80, 60, 120, 84);
    node->SetTransparency(30);
    node->Border()->SetWidth(3);
    node->Shadow()->SetHorizSize(horiz);
    node->Shadow()->SetVertSize(vert);
    node->Draw();
    // The body widened by its border (half the pen left and up, all of it
    // right and down) is projected first; the shadow's sizes then stretch
    // it in screen pixels towards the shadow.
    const TPoint a = t->Canvas.ProjectPoint(80 - 1, 60 - 1, 0);
    const TPoint b = t->Canvas.ProjectPoint(120 + 3, 84 + 3, 0);
    std::vector<int> expected{a.X, a.Y, b.X, b.Y};
    (horiz >= 0 ? expected[2] : expected[0]) += horiz;
    (vert >= 0 ? expected[3] : expected[1]) += vert;
    const TCanvasCall *begin = t->Canvas.First("BeginTransparency");
    QVERIFY(begin);
    QCOMPARE(begin->Ints, expected);
}

void TestNodeDrawing::textBelowAPixelIsNotShaped_data()
{
    QTest::addColumn<int>("zoom");
    QTest::addColumn<bool>("zoomText");
    QTest::addColumn<bool>("drawn");
    QTest::newRow("100 %") << 100 << true << true;
    QTest::newRow("10 %: a pixel or more") << 10 << true << true;
    QTest::newRow("2 %: below a pixel") << 2 << true << false;
    QTest::newRow("2 %, text not zoomed") << 2 << false << true;
}

void TestNodeDrawing::textBelowAPixelIsNotShaped()
{
    QFETCH(int, zoom);
    QFETCH(bool, zoomText);
    QFETCH(bool, drawn);
    TPictureHost host;
    TPictureTree *t = host.Tree;
    t->Options.SetZoomText(zoomText);
    t->Project(zoom);
    TTreeNodeShape *node = host.Node(80, 60, 120, 84, tssRectangle, QStringLiteral("Text"));
    node->Text()->SetClipText(true);
    node->Draw();
    const int texts = t->Canvas.Count("TextOut") + t->Canvas.Count("ProjectedTextOut");
    QCOMPARE(texts > 0, drawn);
    // The clip taken for the text is given back either way.
    QCOMPARE(t->Canvas.ClipDepth(), 0);
}

void TestNodeDrawing::selectionLook()
{
    TPictureHost host;
    TPictureTree *t = host.Tree;
    TTreeNodeShape *node = host.Node(20, 20, 60, 44, tssRectangle, QStringLiteral("Hello"));
    node->SetColor(clLime);
    t->Selected().SetColor(clRed);
    t->Selected().SetColorUnFocused(clBlue);
    t->Selected().SetTextColor(clYellow);
    node->SetSelected(true);

    node->Draw();
    QCOMPARE(t->Pixel(24, 23), Rgb(clRed));
    QCOMPARE(t->Canvas.First("ProjectedTextOut")->FontColor, clYellow);

    t->Wipe();
    t->Selected().SetFocused(false);
    node->Draw();
    QCOMPARE(t->Pixel(24, 23), Rgb(clBlue));

    // No selection colour, or design mode: the node keeps its own look.
    t->Wipe();
    t->Selected().SetFocused(true);
    t->Selected().SetColor(clNone);
    node->Draw();
    QCOMPARE(t->Pixel(24, 23), Rgb(clLime));
    t->Wipe();
    t->Selected().SetColor(clRed);
    t->SetDesigning(true);
    node->Draw();
    QCOMPARE(t->Pixel(24, 23), Rgb(clLime));
    QCOMPARE(t->Canvas.First("ProjectedTextOut")->FontColor, clBlack);
    // Run mode starts without a selection.
    t->SetDesigning(false);
    QVERIFY(!node->Selected());
    node->SetSelected(true);

    // A monochrome canvas (printing in black and white) fills white.
    t->Wipe();
    t->Canvas.SetMonochrome(true);
    node->Draw();
    QCOMPARE(t->Pixel(24, 23), Rgb(clWhite));
    QCOMPARE(t->Pixel(20, 20), Rgb(clBlack));
    t->Canvas.SetMonochrome(false);

    // A selected line is highlighted by its whole rectangle.
    t->Wipe();
    node->SetStyle(tssLine);
    node->Draw();
    QCOMPARE(t->Pixel(25, 40), Rgb(clRed));
    QVERIFY(t->Canvas.Has("FillRect", {20, 20, 60, 44}));
}

void TestNodeDrawing::selectionFrameAndHandles()
{
    TPictureHost host;
    TPictureTree *t = host.Tree;
    TTreeNodeShape *node = host.Node(20, 20, 60, 44);
    t->Selected().SetColor(clNone);
    node->SetSelected(true);

    // Run mode: the focused frame, yellow small dots, on the outline.
    node->Draw();
    const TCanvasCall *frame = t->Canvas.Last("Rectangle");
    QVERIFY(frame);
    QCOMPARE(frame->Ints, (std::vector<int>{20, 20, 60, 44}));
    QCOMPARE(frame->PenColor, clYellow);
    QVERIFY(frame->PenSmallDots);
    QCOMPARE(frame->BrushStyle, bsClear);
    int yellow = 0;
    for (int x = 20; x < 60; ++x)
        yellow += t->Pixel(x, 20) == Rgb(clYellow);
    QVERIFY(yellow >= 15);

    // Without a border the frame keeps inside the node's pixels.
    t->Wipe();
    node->Border()->SetVisible(false);
    node->Draw();
    QCOMPARE(t->Canvas.Last("Rectangle")->Ints, (std::vector<int>{20, 20, 59, 43}));

    // Unfocused: the unfocused frame, invisible by default.
    t->Wipe();
    t->Selected().SetFocused(false);
    node->Draw();
    QCOMPARE(t->Canvas.Count("Rectangle"), 1); // the body only
    t->Selected().SetFocused(true);

    // Printing shows no selection marks.
    t->Wipe();
    t->IsPrinting = true;
    node->Draw();
    QCOMPARE(t->Canvas.Count("Rectangle"), 1);
    t->IsPrinting = false;

    // Design mode: eight handles, bracketed by the handle preparation, on
    // the rectangle grown by 1 (+1 with a visible border).
    node->Border()->SetVisible(true);
    t->SetDesigning(true);
    t->Log.clear();
    node->Draw();
    QCOMPARE(t->Log, (QStringList{"begin handles", "handle 1 20,20", "handle 3 20,46", "handle 4 62,20",
                                  "handle 2 62,46", "handle 5 20,33", "handle 7 62,33", "handle 6 41,20",
                                  "handle 8 41,46", "end handles"}));
    // Each handle is a black square of side 2 x HandleSize.
    QVERIFY(t->Canvas.Has("Rectangle", {17, 17, 23, 23}));
    QCOMPARE(t->Pixel(61, 45), Rgb(clBlack));
}

void TestNodeDrawing::hotTrackLook()
{
    TPictureHost host;
    TPictureTree *t = host.Tree;
    TTreeNodeShape *node = host.Node(20, 20, 100, 44, tssRectangle, QStringLiteral("Hot"));
    TTreeHotTrack *hot = t->HotTrack();
    hot->SetActive(true);
    hot->Border()->SetColor(clRed);
    node->SetHot(true);

    // HotLink (default): the node's own font, underlined; its own border.
    node->Draw();
    QVERIFY(t->Canvas.CurrentKorFont()->Style() & SetBit(fsUnderline));
    QCOMPARE(t->Canvas.CurrentKorFont()->Name(), node->EffectiveFont()->Name());
    QCOMPARE(t->Canvas.First("Rectangle")->PenColor, clBlack);

    // UseFont and UseBorder.
    t->Wipe();
    hot->SetUseFont(true);
    hot->Font()->SetColor(clBlue);
    hot->SetUseBorder(true);
    node->Draw();
    QCOMPARE(t->Canvas.First("ProjectedTextOut")->FontColor, clBlue);
    QCOMPARE(t->Canvas.First("Rectangle")->PenColor, clRed);

    // A selected node's text colour wins over hot-tracking.
    t->Wipe();
    t->Selected().SetTextColor(clGreen);
    node->SetSelected(true);
    node->Draw();
    QCOMPARE(t->Canvas.First("ProjectedTextOut")->FontColor, clGreen);
    node->SetSelected(false);

    // Not in design mode, not when inactive, not when the node is not hot.
    for (int round = 0; round < 3; ++round) {
        t->Wipe();
        t->SetDesigning(round == 0);
        hot->SetActive(round != 1);
        node->SetHot(round != 2);
        node->Draw();
        QCOMPARE(t->Canvas.First("ProjectedTextOut")->FontColor, clBlack);
        QCOMPARE(t->Canvas.First("Rectangle")->PenColor, clBlack);
        QVERIFY(!(t->Canvas.CurrentKorFont()->Style() & SetBit(fsUnderline)));
    }
}

// ---------------------------------------------------------------------------
// Images

void TestNodeDrawing::imagesBesideAndInside()
{
    TPictureHost host;
    TPictureTree *t = host.Tree;
    TTreeNodeShape *node = host.Node(22, 20, 60, 44);
    const auto red = Solid(16, 16, clRed);
    node->SetImage(red.get());
    QCOMPARE(node->ImageSize(), QSize(16, 16));
    // Laid out on the left of the body.
    node->SetImageAlignment(iaLeft);
    node->SetImageBounds(TRect(3, 24, 19, 40));
    node->SetBounds(TRect(3, 20, 60, 44));
    node->Draw();
    QVERIFY(t->Canvas.Has("StretchDraw", {3, 24, 19, 40, 16, 16}));
    QCOMPARE(t->Pixel(3, 24), Rgb(clRed));
    QCOMPARE(t->Pixel(18, 39), Rgb(clRed));
    QVERIFY(IsWhite(t->Pixel(19, 32)));
    QVERIFY(IsWhite(t->Pixel(10, 41)));

    // Images switched off: none.
    t->Wipe();
    t->SetShowImages(false);
    node->Draw();
    QVERIFY(IsWhite(t->Pixel(10, 32)));
    QCOMPARE(t->Canvas.Count("StretchDraw"), 0);
    t->SetShowImages(true);

    // Centred: stretched over the whole body, over the outline.
    t->Wipe();
    node->SetImageAlignment(iaCenter);
    node->Draw();
    QVERIFY(t->Canvas.Has("StretchDraw", {22, 20, 60, 44, 16, 16}));
    QCOMPARE(t->Pixel(22, 20), Rgb(clRed));
    QCOMPARE(t->Pixel(59, 43), Rgb(clRed));
    QVERIFY(IsWhite(t->Pixel(10, 32)));

    // The image follows the drawing offset and the zoom like the body.
    TPictureHost zoomed;
    TTreeNodeShape *z = zoomed.Node(20, 20, 40, 30);
    z->SetImage(red.get());
    z->SetImageBounds(TRect(1, 17, 17, 33));
    zoomed.Tree->Project(200);
    z->Draw();
    const TPoint a = zoomed.Tree->Canvas.ProjectPoint(1, 17, 0);
    const TPoint b = zoomed.Tree->Canvas.ProjectPoint(17, 33, 0);
    QVERIFY(zoomed.Tree->Canvas.Has("StretchDraw", {a.X, a.Y, b.X, b.Y, 16, 16}));
    QCOMPARE(b.X - a.X, 32);
}

// ---------------------------------------------------------------------------
// Cross box

void TestNodeDrawing::crossBoxSigns()
{
    TPictureHost host;
    TPictureTree *t = host.Tree;
    TTreeNodeShape *node = host.Node(20, 20, 60, 44, tssRectangle, QStringLiteral("A"));
    Place(node->AddChild(QStringLiteral("B")), 20, 100, 60, 120);
    host.Layout->CrossPos = [](TTreeNodeShape *) { return TPoint(100, 70); };
    t->Image.fill(QColor(Rgb(clBlue)));

    // Collapsed: "+" in a white box with a grey border.
    QVERIFY(node->DrawNodeWalk());
    for (auto [x, y] : {std::pair{100, 70}, {98, 70}, {102, 70}, {100, 68}, {100, 72}})
        QVERIFY2(t->Pixel(x, y) == Rgb(clBlack), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
    QCOMPARE(t->Pixel(96, 66), Rgb(clGray));
    QCOMPARE(t->Pixel(103, 73), Rgb(clGray));
    QCOMPARE(t->Pixel(99, 69), Rgb(clWhite)); // the default brush paints white
    QCOMPARE(t->Pixel(104, 70), Rgb(clBlue));
    QCOMPARE(t->Pixel(40, 110), Rgb(clBlue)); // the collapsed child is not drawn

    // Expanded: "-", and the child is drawn.
    node->SetExpanded(true);
    t->Image.fill(QColor(Rgb(clBlue)));
    QVERIFY(node->DrawNodeWalk());
    QCOMPARE(t->Pixel(98, 70), Rgb(clBlack));
    QCOMPARE(t->Pixel(100, 68), Rgb(clWhite));
    QCOMPARE(t->Pixel(100, 72), Rgb(clWhite));
    QCOMPARE(t->Pixel(40, 110), Rgb(clWhite));

    // Diamond and circle leave the box's corners alone.
    TTreeNodeCrossBox *box = t->CrossBox();
    box->SetStyle(cbsCircle);
    t->Image.fill(QColor(Rgb(clBlue)));
    node->DrawNodeWalk();
    QCOMPARE(t->Pixel(96, 66), Rgb(clBlue));
    QCOMPARE(t->Pixel(100, 66), Rgb(clGray));
    box->SetStyle(cbsDiamond);
    t->Image.fill(QColor(Rgb(clBlue)));
    node->DrawNodeWalk();
    QCOMPARE(t->Pixel(96, 66), Rgb(clBlue));
    QCOMPARE(t->Pixel(96, 70), Rgb(clGray));
    QCOMPARE(t->Pixel(100, 66), Rgb(clGray));

    // A hatched brush takes the box's BackColor in its gaps.
    box->SetStyle(cbsSquare);
    box->Brush()->SetStyle(bsCross);
    box->Brush()->SetColor(clRed);
    box->SetBackColor(clYellow);
    t->Wipe();
    node->DrawNodeWalk();
    bool hatched = false;
    for (const TCanvasCall &call : t->Canvas.Find("Rectangle"))
        if (call.Ints == std::vector<int>{96, 66, 104, 74})
            hatched = call.BrushStyle == bsCross && call.BrushColor == clRed && call.BackColor == clYellow &&
                      call.BackMode == cbmOpaque && call.PenColor == clGray;
    QVERIFY(hatched);

    // No box: not visible, size 0, no layout object, or no cross.
    auto boxDrawn = [&] {
        t->Wipe();
        node->DrawNodeWalk();
        return t->Canvas.Has("ProjectedRectangle", {96, 66, 104, 74, 0});
    };
    QVERIFY(boxDrawn());
    box->SetVisible(false);
    QVERIFY(!boxDrawn());
    box->SetVisible(true);
    box->SetSize(0);
    QVERIFY(!boxDrawn());
    box->SetSize(4);
    node->SetShowCross(scNever);
    QVERIFY(!boxDrawn());
    node->SetShowCross(scAuto);
    QVERIFY(boxDrawn());
    t->DefaultFormat().SetChildManager(nullptr);
    QVERIFY(!boxDrawn());

    // A size read from a file may be any integer: it stops at the end of
    // the coordinate range, and so do the box and its sign.
    TRecordingCanvas record;
    box->SetSize(INT_MAX);
    QCOMPARE(box->Size(), kCoordLimit);
    box->Draw(&record, TPoint(100, 70), false, TRect(0, 0, 200, 140));
    QVERIFY(record.Has("ProjectedRectangle", {100 - kCoordLimit, 70 - kCoordLimit, 100 + kCoordLimit, 70 + kCoordLimit, 0}));
    QVERIFY(record.Has("ProjectedLine", {100 - kCoordLimit / 2, 70, 100 + kCoordLimit / 2 + 1, 70, 0}));
    record.Clear();
    box->SetSize(INT_MIN);
    box->Draw(&record, TPoint(-100, 70), false, TRect(-200, 0, 200, 140));
    QCOMPARE(record.Calls().size(), size_t(0)); // turned inside out: meets nothing
}

// ---------------------------------------------------------------------------
// Text

void TestNodeDrawing::textLayout()
{
    TPictureHost host;
    TPictureTree *t = host.Tree;
    TTreeNodeShape *node = host.Node(10, 10, 110, 60, tssRectangle, QStringLiteral("Hello"));
    node->Text()->Add(QStringLiteral("Wide world"));
    TRecordingCanvas &c = t->Canvas;
    c.AssignFont(node->EffectiveFont());
    const int w0 = c.TextWidth(QStringLiteral("Hello"));
    const int w1 = c.TextWidth(QStringLiteral("Wide world"));
    const int th = c.TextHeight(QStringLiteral("W"));
    QVERIFY(w0 > 0 && w1 > w0 && th > 0);

    auto positions = [&] {
        t->Wipe();
        node->Draw();
        std::vector<int> xy;
        for (const TCanvasCall &call : c.Find("ProjectedTextOut")) {
            xy.push_back(call.Int(0));
            xy.push_back(call.Int(1));
        }
        return xy;
    };
    // Centred both ways: xc + pen width - w / 2; the block centred on (T + B) / 2.
    const int top = 35 - th; // (10 + 60) / 2 - (2 th) / 2
    QCOMPARE(positions(), (std::vector<int>{60 + 1 - w0 / 2, top, 60 + 1 - w1 / 2, top + th}));
    QCOMPARE(c.First("ProjectedTextOut")->BackMode, cbmTransparent);

    node->Text()->SetHorizAlign(htaLeft);
    node->Text()->SetVertAlign(vtaTop);
    QCOMPARE(positions(), (std::vector<int>{10 + 1 + 3, 10, 14, 10 + th}));
    node->Text()->SetHorizAlign(htaRight);
    node->Text()->SetVertAlign(vtaBottom);
    QCOMPARE(positions(), (std::vector<int>{110 - 1 - w0 - 3, 60 - 2 * th, 110 - 1 - w1 - 3, 60 - th}));

    // Offsets move every line; a thicker border moves them in.
    node->Text()->SetHorizOffset(5);
    node->Text()->SetVertOffset(-2);
    node->Border()->SetWidth(3);
    QCOMPARE(positions(), (std::vector<int>{110 - 3 - w0 - 3 + 5, 60 - 2 * th - 2, 110 - 3 - w1 - 3 + 5, 60 - th - 2}));
    node->Border()->SetVisible(false);
    node->Text()->SetHorizAlign(htaLeft);
    QCOMPARE(positions()[0], 10 + 0 + 3 + 5);

    // No text, or text switched off: nothing.
    t->SetShowText(false);
    QVERIFY(positions().empty());
    t->SetShowText(true);
    node->Text()->Clear();
    QVERIFY(positions().empty());

    // Zoomed and scrolled, the positions are projected.
    TPictureHost zoomed(400, 300);
    TTreeNodeShape *z = zoomed.Node(10, 10, 110, 60, tssRectangle, QStringLiteral("Hello"));
    zoomed.Tree->Project(200, 7, -3);
    z->Draw();
    const TCanvasCall *text = zoomed.Tree->Canvas.First("TextOut");
    const TPoint expected = zoomed.Tree->Canvas.ProjectPoint(61 - w0 / 2, 35 - th / 2, 0);
    QCOMPARE(text->Int(0), expected.X);
    QCOMPARE(text->Int(1), expected.Y);
}

void TestNodeDrawing::rotatedText()
{
    TPictureHost host;
    TPictureTree *t = host.Tree;
    TTreeNodeShape *node = host.Node(10, 10, 110, 60, tssRectangle, QStringLiteral("Up"));
    node->Text()->SetHorizOffset(2);
    node->Text()->SetVertOffset(1);
    TRecordingCanvas &c = t->Canvas;
    c.AssignFont(node->EffectiveFont());
    const int w = c.TextWidth(QStringLiteral("Up"));
    const int th = c.TextHeight(QStringLiteral("W"));
    for (int angle : {90, 30, 180, 270}) {
        node->Text()->SetAngle(angle);
        t->Wipe();
        node->Draw();
        QCOMPARE(c.Count("ProjectedTextOut"), 0);
        const TCanvasCall *call = c.First("ProjectedRotatedText");
        QVERIFY(call);
        const double a = angle * M_PI / 180.0;
        const int y0 = 35 - th / 2;
        const int x = 60 - int(std::nearbyint(w / 2.0 * std::cos(a))) - int(std::nearbyint(th * std::sin(a)));
        const int y = int(std::nearbyint(w / 2.0 * std::sin(a))) + y0 + th / 2 - int(std::nearbyint(th / 2.0 * std::cos(a)));
        QCOMPARE(call->Int(0), x + 2);
        QCOMPARE(call->Int(1), y + 1);
        QCOMPARE(call->Real(0), double(angle));
    }
    // At 90 degrees: left of the centre by a line height, below the slot's
    // top by half the width and half a line.
    node->Text()->SetAngle(90);
    t->Wipe();
    node->Draw();
    QCOMPARE(c.First("ProjectedRotatedText")->Int(0), 60 - th + 2);
}

void TestNodeDrawing::textClipAndBlend()
{
    TPictureHost host;
    TPictureTree *t = host.Tree;
    TTreeNodeShape *node = host.Node(10, 10, 110, 60, tssRectangle, QStringLiteral("Clipped"));
    TRecordingCanvas &c = t->Canvas;
    node->Text()->SetClipText(true);
    node->Text()->SetTransparency(40);
    node->Text()->SetHorizOffset(4);
    node->Draw();
    c.AssignFont(node->EffectiveFont());
    const int w = c.TextWidth(QStringLiteral("Clipped"));
    const int th = c.TextHeight(QStringLiteral("W"));
    const QStringList names = c.TopLevelNames();
    // Clip, blend, text, blend applied, clip removed, in that order.
    const int clip = names.indexOf("ClipToRect");
    const int begin = names.indexOf("BeginTransparency");
    const int text = names.indexOf("ProjectedTextOut");
    const int end = names.lastIndexOf("EndTransparency");
    const int unclip = names.lastIndexOf("RemoveClip");
    QVERIFY(clip >= 0 && clip < begin && begin < text && text < end && end < unclip);
    QCOMPARE(c.First("ClipToRect")->Ints, (std::vector<int>{10, 10, 110, 60}));
    const int left = 60 + 1 - w / 2 + 4;
    const int top = 35 - th / 2;
    QCOMPARE(c.First("BeginTransparency")->Ints, (std::vector<int>{left, top, left + w, top + th}));
    QCOMPARE(c.Last("EndTransparency")->Ints, (std::vector<int>{40}));
    QCOMPARE(c.First("ProjectedTextOut")->ClipDepth, 1);
    QCOMPARE(t->Canvas.ClipDepth(), 0);
}

// ---------------------------------------------------------------------------
// Settings as data

void TestNodeDrawing::selectionAndHotTrackSettings()
{
    THost host;
    TTreeDocument *tree = host.Tree;
    TSelectedShapeList &sel = tree->Selected();
    QCOMPARE(sel.ClassName(), QStringLiteral("TSelectedShapeList"));
    // The values it starts with are its declared defaults, so none is
    // stored; the focus is never a property.
    QVERIFY(PlainStored(sel).isEmpty());
    for (const TChartPen *pen : {(const TChartPen *)sel.Border(), (const TChartPen *)sel.BorderUnFocused(),
                                 (const TChartPen *)sel.HandlePen()})
        QVERIFY(StoredProps(*pen).isEmpty());
    QVERIFY(!sel.ClassInfo().FindProperty(QStringLiteral("Focused")));

    TTreeHotTrack *hot = tree->HotTrack();
    QCOMPARE(hot->Font()->Style(), SetBit(fsUnderline));
    QVERIFY(PlainStored(*hot).isEmpty());
    QVERIFY(StoredProps(*hot->Border()).isEmpty());
    QVERIFY(StoredProps(*hot->Font()).isEmpty());
    hot->Font()->SetStyle(0);
    QCOMPARE(StoredProps(*hot->Font()), QStringList{"Style"});

    // Every change repaints the diagram.
    const int before = tree->InvalidateCount();
    sel.SetColor(clRed);
    sel.Border()->SetColor(clBlue);
    hot->SetActive(true);
    hot->Border()->SetWidth(2);
    hot->Font()->SetColor(clRed);
    QCOMPARE(tree->InvalidateCount(), before + 5);
    QCOMPARE(PlainStored(sel), QStringList{"Color"});
    QCOMPARE(StoredProps(*sel.Border()), QStringList{"Color"});

    // Assign copies every published value.
    TTreeHotTrack copy;
    copy.Assign(hot);
    QVERIFY(copy.Active());
    QCOMPARE(copy.Border()->Width(), 2);
    QCOMPARE(copy.Font()->Color(), clRed);
    TSelectionLook look;
    look.Assign(&sel);
    QCOMPARE(look.Color(), clRed);
    QCOMPARE(look.Border()->Color(), clBlue);
}

// ---------------------------------------------------------------------------
// With the diagram's own layout

void TestNodeDrawing::explorerTreeAfterLayout()
{
    // The diagram's explorer layout places the nodes, their images and
    // boxes; the walk draws them where it put them.
    std::unique_ptr<TComponent> owner = std::make_unique<TComponent>();
    auto *t = new TPictureTree(owner.get(), 220, 150);
    TTreeNodeShape *root = t->AddRoot(QStringLiteral("Diagram"));
    TTreeNodeShape *nodes = root->AddChild(QStringLiteral("Nodes"));
    nodes->AddChild(QStringLiteral("Styles"));
    nodes->AddChild(QStringLiteral("Text"));
    TTreeNodeShape *files = root->AddChild(QStringLiteral("Files"));
    files->AddChild(QStringLiteral("Streams"));
    root->SetExpanded(true);
    nodes->SetExpanded(true);
    t->LayoutShapes();
    for (TTreeNodeShape *r : t->Roots())
        r->DrawNodeWalk();

    // Every visible node's body and folder image are painted where the
    // layout put them.
    for (TTreeNodeShape *n : {root, nodes, files}) {
        const TRect image = n->ImageBounds();
        QCOMPARE(image.Width(), 15);
        int coloured = 0;
        for (int y = image.Top; y < image.Bottom; ++y)
            for (int x = image.Left; x < image.Right; ++x)
                coloured += !IsWhite(t->Pixel(x, y));
        QVERIFY(coloured > 30);
        QCOMPARE(t->Pixel(n->X0(), n->Y0()), Rgb(clBlack));
    }
    // The boxes: "-" for the expanded nodes, "+" for the collapsed one.
    TChildManager *layout = t->DefaultFormat().ChildManager();
    const int k = t->CrossBox()->Size() / 2;
    for (TTreeNodeShape *n : {root, nodes, files}) {
        const TPoint c = layout->GetCrossPos(n, n->Parent());
        QCOMPARE(t->Pixel(c.X - k, c.Y), Rgb(clBlack));
        QCOMPARE(t->Pixel(c.X, c.Y - k), n->Expanded() ? Rgb(clWhite) : Rgb(clBlack));
    }
    // The collapsed branch's child is neither laid out nor drawn.
    QVERIFY(!files->Child(0)->Visible());

    const QString folder = qEnvironmentVariable("DENDRIX_TEST_PICTURES");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        QVERIFY(t->Finish().save(QDir(folder).filePath(QStringLiteral("explorer_tree.png"))));
    }
}

// ---------------------------------------------------------------------------
// A sheet for a person to look at

void TestNodeDrawing::sheetOfEveryStyle()
{
    const int cell = 150, cols = 4;
    const int count = tssCustom; // every built-in style
    TPictureHost host(cols * cell, ((count + cols - 1) / cols) * cell);
    TPictureTree *t = host.Tree;
    const auto picture = Solid(14, 14, clMaroon);
    for (int s = 0; s < count; ++s) {
        const int x = (s % cols) * cell, y = (s / cols) * cell;
        TTreeNodeShape *n = host.Node(x + 30, y + 25, x + 130, y + 90, TTreeShapeStyle(s),
                                      EnumInfoOf<TTreeShapeStyle>().Name(s).mid(3));
        n->Border()->SetColor(clNavy);
        n->Border()->SetWidth(2);
        n->Gradient()->SetVisible(true);
        n->Gradient()->SetStartColor(clYellow);
        n->Gradient()->SetEndColor(clAqua);
        n->Shadow()->SetHorizSize(4);
        n->Shadow()->SetVertSize(4);
        n->Shadow()->SetColor(clSilver);
        n->SetImage(picture.get());
        n->SetImageAlignment(iaLeft);
        n->SetImageBounds(TRect(x + 13, y + 50, x + 27, y + 64));
        n->SetBounds(TRect(x + 13, y + 25, x + 130, y + 90));
        n->Text()->Add(QStringLiteral("line 2"));
        if (s == tssRoundRectangle)
            n->SetTransparency(40);
        n->DrawNodeWalk();
    }
    const QImage &image = t->Finish();
    // Every cell shows its border, its image and its shadow.
    for (int s = 0; s < count; ++s) {
        const int x = (s % cols) * cell, y = (s / cols) * cell;
        int navy = 0, shadow = 0, maroon = 0;
        for (int py = y; py < y + cell; ++py)
            for (int px = x; px < x + cell; ++px) {
                const QRgb c = image.pixel(px, py) & 0xFFFFFF;
                navy += c == Rgb(clNavy);
                shadow += c == Rgb(clSilver);
                maroon += c == Rgb(clMaroon);
            }
        // The blended one mixes its border with what lies beneath.
        QVERIFY2(navy > 20 || s == tssRoundRectangle, qPrintable(EnumInfoOf<TTreeShapeStyle>().Name(s)));
        QCOMPARE(maroon, 14 * 14);
        if ((s < tssVertLine || s > tssInvertLine) && s != tssRoundRectangle)
            QVERIFY2(shadow > 20, qPrintable(EnumInfoOf<TTreeShapeStyle>().Name(s)));
    }
    const QString folder = qEnvironmentVariable("DENDRIX_TEST_PICTURES");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        QVERIFY(image.save(QDir(folder).filePath(QStringLiteral("node_styles.png"))));
    }
}

void TestNodeDrawing::sizesBeyondTheCoordinateRange()
{
    // Sizes read from a file may be any integers: they stop at the end of
    // the coordinate range, so the body measured with its border and text
    // and drawn with its shadow, image and text offsets stays inside int,
    // at any zoom.
    TPictureHost host;
    TPictureTree *t = host.Tree;
    TTreeNodeShape *n = t->AddRoot(QStringLiteral("wide"));
    n->Border()->SetWidth(INT_MAX);
    n->Shadow()->SetHorizSize(INT_MIN);
    n->Shadow()->SetVertSize(INT_MAX);
    n->SetImage(Solid(16, 16, clRed).get());
    n->SetImageWidth(INT_MAX);
    n->SetImageHeight(INT_MIN);
    n->Font()->SetHeight(INT_MIN);
    n->Text()->SetHorizOffset(INT_MAX);
    n->Text()->SetVertOffset(INT_MIN);
    QCOMPARE((QList<int>{n->Border()->Width(), n->Shadow()->HorizSize(), n->Shadow()->VertSize(), n->ImageWidth(),
                         n->ImageHeight(), n->Font()->Height(), n->Text()->HorizOffset(), n->Text()->VertOffset()}),
             (QList<int>{kCoordLimit, -kCoordLimit, kCoordLimit, kCoordLimit, -kCoordLimit, -kCoordLimit, kCoordLimit,
                         -kCoordLimit}));
    for (TTreeShapeStyle style : {tssRectangle, tssCircle, tssDiamond}) {
        n->SetStyle(style);
        n->SetX0(10);
        n->SetY0(10);
        QCOMPARE(n->X1(), kCoordLimit);
        QCOMPARE(n->Y1(), kCoordLimit);
        for (int zoom : {100, 1, INT_MAX}) {
            t->Wipe();
            t->Project(zoom);
            t->LayoutShapes();
            n->DrawNodeWalk();
        }
    }
    // The shadow (of the body with its border, half a pen beyond the left
    // and top edges and a whole pen beyond the others) and the body.
    n->SetStyle(tssRectangle);
    t->Wipe();
    t->Project(100);
    n->DrawNodeWalk();
    const int half = kCoordLimit / 2, far = 2 * kCoordLimit;
    QVERIFY(t->Canvas.Has("ProjectedRectangle",
                          {10 - half - kCoordLimit, 10 - half + kCoordLimit, far - kCoordLimit, far + kCoordLimit, 0}));
    QVERIFY(t->Canvas.Has("ProjectedRectangle", {10, 10, kCoordLimit, kCoordLimit, 0}));
}

QTEST_MAIN(TestNodeDrawing)
#include "tst_node_drawing.moc"
