// Shared set-up of the node drawing tests: a diagram that draws on a white
// image through a recording canvas (optionally zoomed and scrolled like a
// view), logs its handles, and a layout object with fixed answers.

#pragma once

#include "TreeTestUtil.h"

#include "canvas/RecordingCanvas.h"
#include "canvas/View3DOptions.h"

#include <QImage>
#include <QPainter>
#include <functional>

class TPictureTree : public TTreeDocument
{
public:
    explicit TPictureTree(TComponent *owner, int w = 200, int h = 140)
        : TTreeDocument(owner), Image(w, h, QImage::Format_RGB32)
    {
        Image.fill(Qt::white);
        Painter.begin(&Image);
        Canvas.Attach(&Painter);
    }
    ~TPictureTree() override { Finish(); }

    // Draws from now on like a view at a zoom (percent) and scroll offset:
    // the canvas projects, and hit tests map screen points back.
    void Project(int zoom, int horizOffset = 0, int vertOffset = 0)
    {
        Options.SetZoom(zoom);
        Options.SetHorizOffset(horizOffset);
        Options.SetVertOffset(vertOffset);
        Canvas.SetBufferedDisplay(false);
        const TRect rect(0, 0, Image.width(), Image.height());
        Canvas.StartDrawing(&Painter, &Options, rect, true);
        Canvas.SetupProjection(100, rect);
    }
    const QImage &Finish()
    {
        if (Painter.isActive()) {
            Canvas.Attach(nullptr);
            Painter.end();
        }
        return Image;
    }
    // Starts a new picture on white.
    void Wipe()
    {
        Image.fill(Qt::white);
        Canvas.Clear();
    }
    QRgb Pixel(int x, int y) const { return Image.pixel(x, y) & 0xFFFFFF; }

    TKorCanvas3D *TreeCanvas() override { return &Canvas; }
    TRect VisibleArea() const override { return Visible; }
    TPoint ProjectPoint(const TPoint &p) const override { return Canvas.ProjectPoint(p.X, p.Y, 0); }
    TPoint UnprojectPoint(const TPoint &p) const override
    {
        int x = p.X, y = p.Y;
        Canvas.UnprojectPoint(x, y, 0);
        return TPoint(x, y);
    }
    bool Printing() const override { return IsPrinting; }
    void BeginDrawHandles() override
    {
        Log << QStringLiteral("begin handles");
        TTreeDocument::BeginDrawHandles();
    }
    void EndDrawHandles() override
    {
        Log << QStringLiteral("end handles");
        TTreeDocument::EndDrawHandles();
    }
    void DrawHandle(int x, int y, TColor color, TTreeShapeHandle code) override
    {
        Log << QStringLiteral("handle %1 %2,%3").arg(int(code)).arg(x).arg(y);
        TTreeDocument::DrawHandle(x, y, color, code);
    }

    QImage Image;
    QPainter Painter;
    TRecordingCanvas Canvas;
    TView3DOptions Options;
    TRect Visible = TRect(-100000, -100000, 100000, 100000);
    bool IsPrinting = false;
    QStringList Log;
};

// A layout object with fixed answers that logs what the walk asks of it.
class TFakeLayout : public TChildManager
{
public:
    explicit TFakeLayout(QStringList *log = nullptr) : Log(log) {}

    TPoint GetCrossPos(TTreeNodeShape *node, TTreeNodeShape *) override
    {
        if (Log)
            *Log << QStringLiteral("cross ") + node->SimpleText();
        return CrossPos ? CrossPos(node) : TPoint(node->X0() - 8, node->YCenter());
    }
    bool DrawConnection(TTreeConnection *c) override
    {
        if (Log)
            *Log << QStringLiteral("link %1-%2").arg(c->FromShape()->SimpleText(), c->ToShape()->SimpleText());
        return Answer ? Answer(c) : true;
    }
    int CalcXPos(TTreeNodeShape *node) override { return node->X0(); }
    int CalcYPos(TTreeNodeShape *node, int) override { return node->Y0(); }

    QStringList *Log;
    std::function<TPoint(TTreeNodeShape *)> CrossPos;
    std::function<bool(TTreeConnection *)> Answer;
};

struct TPictureHost
{
    std::unique_ptr<TComponent> Owner = std::make_unique<TComponent>();
    TPictureTree *Tree;
    TFakeLayout *Layout;

    explicit TPictureHost(int w = 200, int h = 140)
    {
        Owner->SetName(QStringLiteral("TreeEditor1"));
        Tree = new TPictureTree(Owner.get(), w, h);
        auto layout = std::make_unique<TFakeLayout>(&Tree->Log);
        Layout = layout.get();
        Tree->DefaultFormat().SetChildManager(std::move(layout));
    }

    // A visible root with a fixed rectangle, laid out (Bounds = body).
    TTreeNodeShape *Node(int l, int t, int r, int b, TTreeShapeStyle style = tssRectangle,
                         const QString &text = QString())
    {
        TTreeNodeShape *n = Tree->AddRoot(text);
        Place(n, l, t, r, b);
        n->SetStyle(style);
        n->SetImageIndex(tiNone);
        n->SetBounds(TRect(l, t, r, b));
        return n;
    }
};

inline bool IsWhite(QRgb c)
{
    return (c & 0xFFFFFF) == 0xFFFFFF;
}
