// Shared set-up of the view tests: a diagram owned by a host named like
// the editor's window, a probe node class that writes its text where it is
// drawn, and a recording canvas put in the diagram's place.

#pragma once

#include "canvas/RecordingCanvas.h"
#include "core/ClassRegistry.h"
#include "view/Arbolix.h"

#include <QImage>
#include <memory>

// A node that draws its text at its Bounds' top-left, so a recording
// canvas tells which nodes were drawn and where.
class TProbeShape : public TTreeNodeShape
{
    DX_OBJECT(TProbeShape)
public:
    explicit TProbeShape(TComponent *owner = nullptr) : TTreeNodeShape(owner) {}
    void Draw() override
    {
        TKorCanvas3D *c = Tree()->TreeCanvas();
        c->ProjectedTextOut(Bounds().Left, Bounds().Top, 0, SimpleText());
    }
};

inline const TClassInfo &TProbeShape::StaticClassInfo()
{
    static const TClassInfo info("TProbeShape", &TTreeNodeShape::StaticClassInfo());
    return info;
}

struct TViewHost
{
    std::unique_ptr<TComponent> Owner;
    TTree *Tree;
    TRecordingCanvas *Recorder = nullptr;

    explicit TViewHost(int width = 400, int height = 300) : Owner(std::make_unique<TComponent>())
    {
        RegisterViewClasses();
        Owner->SetName(QStringLiteral("TreeEditor1"));
        Tree = new TTree(Owner.get());
        Tree->SetNoOwnerShapes(false);
        // Bounds are the nodes' own rectangles, without pictures beside.
        Tree->SetShowImages(false);
        Tree->resize(width, height);
    }
    // The diagram goes first and frees its elements itself.
    ~TViewHost() { delete Tree; }
    TViewHost(const TViewHost &) = delete;
    TViewHost &operator=(const TViewHost &) = delete;

    // Nodes become probes that show where they are drawn.
    void UseProbes()
    {
        TClassRegistry::Instance().Register<TProbeShape>();
        Tree->DefaultFormat().SetShapeClass(&TProbeShape::StaticClassInfo());
    }

    // Drawing goes through a recording canvas from now on.
    TRecordingCanvas *Record()
    {
        auto rec = std::make_unique<TRecordingCanvas>();
        Recorder = rec.get();
        Tree->SetCanvas(std::move(rec));
        return Recorder;
    }

    // The texts of the probes drawn, in drawing order.
    QStringList DrawnTexts() const
    {
        QStringList texts;
        for (const TCanvasCall &c : Recorder->Find(QStringLiteral("ProjectedTextOut")))
            texts << c.Str(0);
        return texts;
    }

    // A paint of the window as the platform asks for it.
    QImage Paint() const { return Tree->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

// Gives a node a fixed rectangle (fixing both coordinates); answers the
// node.
inline TTreeNodeShape *Place(TTreeNodeShape *node, int left, int top, int right, int bottom)
{
    node->SetX0(left);
    node->SetY0(top);
    node->SetX1(right);
    node->SetY1(bottom);
    return node;
}
