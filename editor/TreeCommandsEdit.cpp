// The editing commands: the palette's node creation, the clipboard, the
// Insert menu, search, align, order, linking and pruning, the zoom.

#include "editor/TreeClipboard.h"
#include "editor/TreeCommands.h"
#include "editor/TreeCommandsConst.h"
#include "editor/TreePalette.h"

#include "canvas/View3DOptions.h"
#include "dialogs/KorPrompts.h"
#include "model/ImageShape.h"
#include "view/Arbolix.h"
#include "view/TreeInteraction.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMimeData>
#include <algorithm>

namespace {

// "Root 3", "Child 4".
QString NumberedText(const QString &word, int n)
{
    return word + QLatin1Char(' ') + QString::number(n);
}

// The whole text of an element, lines joined.
QString WholeText(const TTreeNodeShape *node)
{
    QStringList lines;
    for (int i = 0; i < node->LineCount(); ++i)
        lines << node->Line(i);
    return lines.join(QLatin1Char('\n'));
}

QClipboard *SystemClipboard()
{
    return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}

} // namespace

void TTreeCommands::EndCommand()
{
    ScheduleUpdate();
    FHost->RefreshInspector();
}

void TTreeCommands::ForSelected(const QString &description, const QString &property,
                                const std::function<void(TTreeNodeShape *)> &change)
{
    if (!FTree || FTree->Selected().Count() == 0)
        return;
    TTreeStep step(FTree, description);
    for (TTreeNodeShape *node : FTree->Selected().Nodes())
        FTree->EditElement(node, property, [&] { change(node); });
    EndCommand();
}

// ---------------------------------------------------------------------------
// The palette

void TTreeCommands::ChooseSelection()
{
    if (FPalette)
        FPalette->PressSelection();
    if (!FTree)
        return;
    FTree->Interaction().SetRectangleTool(false);
    if (FTree->Interaction().AddingClass())
        FTree->Interaction().StartAdding(nullptr);
    if (FTree->Interaction().Connecting())
        FTree->Interaction().CancelConnecting();
}

void TTreeCommands::PaletteTool(TTreeSpeedButton *button)
{
    if (!FTree || !button)
        return;
    const bool pressed = button->isChecked();
    ChooseSelection();
    if (FPalette && pressed)
        button->setChecked(true);
    if (button->Tool().IsPolygon()) {
        // The next presses on the diagram add the vertices.
        FTree->Interaction().SetRectangleTool(false);
        FTree->Interaction().StartAdding(button->Tool().ShapeClass);
        return;
    }
    FTree->Interaction().SetRectangleTool(true);
}

void TTreeCommands::PaletteToolDouble(TTreeSpeedButton *button)
{
    if (!FTree || !button || button->Tool().IsPolygon())
        return;
    FTree->Interaction().SetRectangleTool(false);
    CreateNode(button, TRect(0, 0, 0, 0));
    if (FPalette)
        FPalette->ReturnToSelectionSoon();
}

void TTreeCommands::CreationRectangle(const TRect &rect, bool &handled)
{
    if (!FTree || !FTree->Interaction().RectangleTool() || !FPalette)
        return;
    TTreeSpeedButton *tool = FPalette->PressedTool();
    FTree->Interaction().SetRectangleTool(false);
    if (!tool) {
        FPalette->PressSelection();
        return;
    }
    const TPoint o = FTree->DrawOffset();
    CreateNode(tool, TRect(rect.Left - o.X, rect.Top - o.Y, rect.Right - o.X, rect.Bottom - o.Y));
    handled = true;
    FPalette->PressSelection();
}

TTreeNodeShape *TTreeCommands::CreateNode(TTreeSpeedButton *button, const TRect &rect)
{
    if (!FTree || !button || !button->Tool().ShapeClass)
        return nullptr;
    const TTreeTool &tool = button->Tool();
    TTreeStep step(FTree, tool.Name);
    TTreeDefaultFormat &format = FTree->DefaultFormat();
    const TClassInfo *previous = format.ShapeClass();
    format.SetShapeClass(tool.ShapeClass);
    TTreeNodeShape *node = nullptr;
    try {
        node = FTree->AddShape(rect.Left, rect.Top, nullptr);
    } catch (...) {
        format.SetShapeClass(previous);
        throw;
    }
    format.SetShapeClass(previous);
    FTree->EditElement(node, QString(), [&] {
        if (rect.Left != 0)
            node->SetX0(rect.Left);
        if (rect.Top != 0)
            node->SetY0(rect.Top);
        if (tool.IsStyle)
            node->SetStyle(tool.Style);
        if (rect.Width() > 0 && rect.Height() > 0) {
            node->SetX1(rect.Right);
            node->SetY1(rect.Bottom);
            node->SetAutoSize(false);
        }
        if (node->LineCount() == 0 || (node->LineCount() == 1 && node->Line(0).isEmpty()))
            node->SetSimpleText(node->Name());
        switch (node->Style()) {
        case tssTriangleTop: node->Text()->SetVertAlign(vtaBottom); break;
        case tssTriangleBottom: node->Text()->SetVertAlign(vtaTop); break;
        case tssTriangleLeft: node->Text()->SetHorizAlign(htaRight); break;
        case tssTriangleRight: node->Text()->SetHorizAlign(htaLeft); break;
        default: break;
        }
        if (!dynamic_cast<TImageShape *>(node))
            node->SetImageIndex(tiNone);
    });
    FTree->Selected().Clear();
    node->SetSelected(true);
    FTree->SetShapeExpanded(node, true);
    EndCommand();
    return node;
}

// ---------------------------------------------------------------------------
// The clipboard

void TTreeCommands::Copy()
{
    if (!FTree || FTree->Selected().Count() == 0)
        return;
    FClipboard->CopyNodes(FTree->Selected().Nodes());
    if (QClipboard *system = SystemClipboard())
        system->setMimeData(FClipboard->MimeData().release());
    ScheduleUpdate();
}

void TTreeCommands::Cut()
{
    if (!FTree || FTree->Selected().Count() == 0)
        return;
    FClipboard->CutNodes(FTree->Selected().Nodes());
    if (QClipboard *system = SystemClipboard())
        system->setMimeData(FClipboard->MimeData().release());
    ScheduleUpdate();
}

bool TTreeCommands::CanPaste() const
{
    if (FClipboard->HasNodes())
        return true;
    QClipboard *system = SystemClipboard();
    const QMimeData *mime = system ? system->mimeData() : nullptr;
    return mime && (mime->hasFormat(QString::fromLatin1(TTreeClipboard::kMimeType)) ||
                    (mime->hasText() && !mime->text().trimmed().isEmpty()));
}

void TTreeCommands::Paste()
{
    if (!FTree)
        return;
    // What another program or window put on the system clipboard comes
    // first: a diagram copied elsewhere, or a text outline.
    QClipboard *system = SystemClipboard();
    const QMimeData *mime = system ? system->mimeData() : nullptr;
    const QString type = QString::fromLatin1(TTreeClipboard::kMimeType);
    if (mime && mime->hasFormat(type)) {
        const QByteArray bytes = mime->data(type);
        if (bytes != FClipboard->DiagramBytes()) {
            QString error;
            if (!FClipboard->ReadBytes(bytes, error)) {
                Prompts().Message(FHost->Window(), pkError, FormatMessage(SPasteNoDiagram, {error}));
                return;
            }
        }
    } else if (mime && mime->hasText() && !mime->text().trimmed().isEmpty() &&
               (!FClipboard->HasNodes() || mime->text() != FClipboard->OutlineText())) {
        PasteText(mime->text());
        return;
    }
    if (!FClipboard->HasNodes())
        return;

    TTreeStep step(FTree, Action(cmPaste)->text());
    FTree->Selected().Clear();
    // The copies keep their arrangement; the first lands under the pointer
    // (in diagram units), or where it was when the pointer is elsewhere.
    std::optional<TPoint> target;
    if (const std::optional<QPoint> p = PointerPosition()) {
        const TPoint model = FTree->UnprojectPoint(TPoint(p->x(), p->y()));
        const TPoint o = FTree->DrawOffset();
        target = TPoint(model.X - o.X, model.Y - o.Y);
    }
    std::optional<TPoint> shift;
    std::vector<TTreeNodeShape *> pasted;
    const std::vector<TTreeNodeShape *> roots(FClipboard->Roots().begin(), FClipboard->Roots().end());
    for (TTreeNodeShape *root : roots) {
        TTreeNodeShape *node = FTree->PasteShape(root);
        if (!node)
            continue;
        FTree->EditElement(node, QStringLiteral("AutoPosition"),
                           [&] { TTreeClipboard::KeepFixedPositions(root, node); });
        pasted.push_back(node);
        if (target && !shift)
            shift = TPoint(target->X - node->X0(), target->Y - node->Y0());
        if (shift) {
            const TTreeShapeAutoPosition *automatic = node->PeekAutoPosition();
            const int dx = automatic && !automatic->Left() ? shift->X : 0;
            const int dy = automatic && !automatic->Top() ? shift->Y : 0;
            if (dx != 0 || dy != 0)
                FTree->MoveShape(node, dx, dy, true);
        }
    }
    for (TTreeNodeShape *node : pasted)
        node->SetSelected(true);
    if (FClipboard->IsCut()) {
        TTreeDocument *source = FClipboard->CutSource();
        const std::vector<TTreeNodeShape *> originals = FClipboard->CutOriginals();
        FClipboard->ForgetCut();
        for (TTreeNodeShape *node : originals)
            source->DeleteShape(node);
    }
    EndCommand();
}

TTreeNodeShape *TTreeCommands::PasteText(const QString &text)
{
    if (!FTree)
        return nullptr;
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString &line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    if (lines.isEmpty())
        return nullptr;
    TTreeStep step(FTree, Action(cmPaste)->text());
    TTreeNodeShape *first = FTree->ImportOutline(lines);
    if (first) {
        FTree->Selected().Clear();
        first->SetSelected(true);
    }
    EndCommand();
    return first;
}

void TTreeCommands::DeleteSelection()
{
    if (!FTree)
        return;
    if (FTree->Selected().Count() > 0)
        FTree->DeleteSelected();
    else if (FTree->Connections().Selected())
        DeleteSelectedConnection();
    EndCommand();
}

void TTreeCommands::SelectAll()
{
    if (!FTree)
        return;
    FTree->Selected().SelectAll();
    ScheduleUpdate();
}

void TTreeCommands::Search(const std::optional<QString> &asked)
{
    if (!FTree)
        return;
    QString text = asked.value_or(QString());
    if (!asked && !Prompts().InputText(FHost->Window(), SSearchTitle, SSearchPrompt, text))
        return;
    const QString wanted = text.toUpper();
    bool first = true;
    const std::vector<TTreeNodeShape *> nodes(FTree->Shapes().begin(), FTree->Shapes().end());
    for (TTreeNodeShape *node : nodes) {
        if (!WholeText(node).toUpper().contains(wanted))
            continue;
        if (first) {
            FTree->Selected().Clear();
            first = false;
        }
        node->SetSelected(true);
    }
    ScheduleUpdate();
}

// ---------------------------------------------------------------------------
// Align and order

void TTreeCommands::AlignToGrid()
{
    if (!FTree || FTree->Selected().Count() == 0)
        return;
    const int s = FTree->GridStep();
    if (s <= 0)
        return;
    TTreeStep step(FTree, Action(cmAlignToGrid)->text());
    for (TTreeNodeShape *node : FTree->Selected().Nodes()) {
        int dx = node->X0() % s;
        if (dx > 0 && dx > s / 2)
            dx -= s;
        int dy = node->Y0() % s;
        if (dy > 0 && dy > s / 2)
            dy -= s;
        if (dx != 0 || dy != 0)
            FTree->MoveShape(node, -dx, -dy, false);
    }
    EndCommand();
}

void TTreeCommands::SizeToGrid()
{
    if (!FTree || FTree->Selected().Count() == 0)
        return;
    const int s = FTree->GridStep();
    if (s <= 0)
        return;
    // The size rounded to the nearest multiple of the step, at least one.
    auto snap = [s](int size) { return std::max(s, (size + s / 2) / s * s); };
    ForSelected(Action(cmSizeToGrid)->text(), QString(), [&](TTreeNodeShape *node) {
        const int w = snap(node->Width());
        const int h = snap(node->Height());
        node->SetAutoSize(false);
        node->SetWidth(w);
        node->SetHeight(h);
    });
}

void TTreeCommands::Align(TTreeAlignKind kind)
{
    if (!FTree || FTree->Selected().Count() < 2)
        return;
    AlignSelection(FTree, kind);
    EndCommand();
}

void TTreeCommands::BringToFront()
{
    if (!FTree || FTree->Selected().Count() == 0)
        return;
    TTreeStep step(FTree, Action(cmBringToFront)->text());
    for (TTreeNodeShape *node : FTree->Selected().Nodes())
        FTree->OrderShape(node, true);
    EndCommand();
}

void TTreeCommands::SendToBack()
{
    if (!FTree || FTree->Selected().Count() == 0)
        return;
    TTreeStep step(FTree, Action(cmSendToBack)->text());
    for (TTreeNodeShape *node : FTree->Selected().Nodes())
        FTree->OrderShape(node, false);
    EndCommand();
}

// ---------------------------------------------------------------------------
// Insert

void TTreeCommands::AddNewRoot()
{
    if (!FTree)
        return;
    TTreeStep step(FTree, Action(cmNewRoot)->text());
    FTree->Selected().Clear();
    TTreeNodeShape *root = FTree->AddRoot(NumberedText(SNewRootText, FTree->Roots().Count() + 1));
    root->SetSelected(true);
    EndCommand();
}

void TTreeCommands::AddChild()
{
    TTreeNodeShape *parent = FTree ? FTree->Selected().First() : nullptr;
    if (!parent)
        return;
    TTreeStep step(FTree, Action(cmNewChild)->text());
    FTree->SetShapeExpanded(parent, true);
    TTreeNodeShape *child = parent->AddChild(NumberedText(SNewChildText, parent->ChildCount() + 1));
    child->SetSelected(true);
    parent->SetSelected(false);
    EndCommand();
}

void TTreeCommands::AddBrother()
{
    TTreeNodeShape *node = FTree ? FTree->Selected().First() : nullptr;
    if (!node || !node->Parent())
        return;
    TTreeStep step(FTree, Action(cmNewBrother)->text());
    TTreeNodeShape *brother = node->AddBrother();
    if (!brother)
        return;
    // The brother looks like the node (its place is the layout's).
    FTree->EditElement(brother, QString(), [&] {
        brother->AssignFormat(node);
        brother->Text()->SetLines(QStringList());
        brother->SetSimpleText(NumberedText(SNewChildText, node->Parent()->ChildCount()));
    });
    brother->SetSelected(true);
    node->SetSelected(false);
    EndCommand();
}

void TTreeCommands::AddNewParent()
{
    if (!FTree || FTree->Selected().Count() == 0)
        return;
    const std::vector<TTreeNodeShape *> nodes = FTree->Selected().Nodes();
    TTreeStep step(FTree, Action(cmNewParent)->text());
    TTreeNodeShape *root = FTree->AddRoot(NumberedText(SNewRootText, FTree->Roots().Count() + 1));
    for (TTreeNodeShape *node : nodes)
        if (TTreeConnection *c = root->AddConnection(node))
            if (c->Style() != csLine)
                FTree->EditElement(c, QStringLiteral("Style"), [c] { c->SetStyle(csLine); });
    FTree->Selected().Clear();
    root->SetSelected(true);
    EndCommand();
}

void TTreeCommands::Prune()
{
    if (!FTree || FTree->Selected().Count() == 0)
        return;
    TTreeStep step(FTree, Action(cmPrune)->text());
    for (TTreeNodeShape *node : FTree->Selected().Nodes())
        FTree->SetShapeParent(node, nullptr);
    EndCommand();
}

void TTreeCommands::LinkNodes()
{
    if (!FTree)
        return;
    if (FPalette)
        FPalette->ConnectButton()->setChecked(true);
    FHost->ShowStatus(1, SConnectPrompt);
    QPointer<TTree> tree(FTree);
    TTreeConnection *connection = nullptr;
    {
        TTreeStep step(FTree, Action(cmLinkNodes)->text());
        connection = FTree->Interaction().ConnectInteractively();
        if (tree && connection && connection->FromShape() && connection->ToShape()) {
            if (connection->Style() != csLine)
                tree->EditElement(connection, QStringLiteral("Style"), [connection] { connection->SetStyle(csLine); });
            tree->Selected().Clear();
            tree->Connections().SetSelected(connection);
        }
    }
    if (tree && tree->Interaction().Connecting())
        tree->Interaction().CancelConnecting();
    FHost->ShowStatus(1, QString());
    if (FPalette)
        FPalette->PressSelection();
    EndCommand();
}

// ---------------------------------------------------------------------------
// Zoom

int TTreeCommands::SetZoom(int zoom)
{
    if (!FTree)
        return 0;
    zoom = std::clamp(zoom, TTreeInteraction::kMinZoom, TTreeInteraction::kMaxZoom);
    if (FTree->View3DOptions()->Zoom() != zoom) {
        FTree->View3DOptions()->SetZoom(zoom);
        FHost->SetModified(true);
    }
    ScheduleUpdate();
    return FTree->View3DOptions()->Zoom();
}

void TTreeCommands::ZoomBy(int delta)
{
    if (FTree)
        SetZoom(FTree->View3DOptions()->Zoom() + delta);
}
