// Loads arbitrary bytes as a diagram file and draws what was read, as a
// repaint of the view would: the position pass, then the node walk of every
// root, on a small image through a projecting canvas. It draws once at the
// zoom and scroll offsets the file gave and once more at zoom 100 without
// offsets. Besides the model's own settings the diagram takes the view
// settings that change the picture (the view options, the cross box, the
// hot-track and selection looks, the root cross switch), so files can make
// them as extreme as they like. Nothing may crash, trip a sanitizer or
// hang; run with -timeout so a hang is reported.

#include "DrawTestUtil.h"

#include "core/Exceptions.h"
#include "shapes/ShapeGalleries.h"

#include <QBuffer>
#include <QGuiApplication>
#include <cstdint>

namespace {

// The drawing diagram of the node drawing tests, with the view's settings.
class TRenderTree : public TPictureTree
{
    DX_OBJECT(TRenderTree)
public:
    explicit TRenderTree(TComponent *owner) : TPictureTree(owner, 160, 120) {}

    TView3DOptions *View3DOptions() const { return const_cast<TView3DOptions *>(&Options); }
    TSelectionLook *SelectionLook() const { return const_cast<TSelectedShapeList *>(&Selected()); }

    // One repaint: a white picture, the projection of the options as they
    // are, the visible area they give, the position pass and the walk.
    void Repaint()
    {
        Wipe();
        Project(Options.Zoom(), Options.HorizOffset(), Options.VertOffset());
        const TRect rect(0, 0, Image.width(), Image.height());
        Visible = TRect(UnprojectPoint(rect.TopLeft()), UnprojectPoint(rect.BottomRight())).Normalized();
        LayoutShapes();
        Canvas.Reset();
        for (int i = 0; i < Roots().Count(); ++i)
            Roots()[i]->DrawNodeWalk();
    }
};

const TClassInfo &TRenderTree::StaticClassInfo()
{
    using T = TRenderTree;
    using D = TTreeDocument;
    static const TClassInfo info =
        TClassBuilder<T>("TRenderTree", TTreeDocument::StaticClassInfo())
            .Object<TTreeNodeCrossBox>("CrossBox", &D::CrossBox, &D::CrossBox)
            .Object<TTreeHotTrack>("HotTrack", &D::HotTrack, &D::HotTrack)
            .Object<TSelectionLook>("Selected", &T::SelectionLook, &T::SelectionLook)
            .Boolean("ShowRootCross", &D::ShowRootCross, &D::SetShowRootCross, true)
            .Object<TView3DOptions>("View3DOptions", &T::View3DOptions, &T::View3DOptions);
    return info;
}

} // namespace

// What the platform's font libraries keep until the process ends (as
// tests/lsan.supp has it for the tests).
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\nleak:libdbus-1.so\n";
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int appArgc = 1;
    static char *appArgv[] = {(*argv)[0], nullptr};
    (void)argc;
    static QGuiApplication app(appArgc, appArgv);
    RegisterShapeGalleries();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    int questions = 0;
    TScopedContinueQuestion answer([&questions](const QString &) { return ++questions < 16; });
    TComponent owner;
    owner.SetName(QStringLiteral("TreeEditor1"));
    auto *tree = new TRenderTree(&owner);
    tree->SetNoOwnerShapes(false);
    QBuffer in;
    in.setData(bytes);
    in.open(QIODevice::ReadOnly);
    try {
        LoadDiagram(*tree, in);
    } catch (const Exception &) {
    }
    // As the file has it, then as a view opened on it afresh.
    tree->Repaint();
    TView3DOptions *options = tree->View3DOptions();
    options->SetZoom(100);
    options->SetHorizOffset(0);
    options->SetVertOffset(0);
    tree->Repaint();
    return 0;
}
