// Shared set-up of the undo tests: a diagram owned by a host named like the
// editor's window, its file stream, generated diagrams and random edits
// made through the document's operations.

#pragma once

#include "editor/EditorHost.h"
#include "editor/TreeUndo.h"
#include "model/Arbolix.h"
#include "model/TreeWalk.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

struct TUndoHost
{
    std::unique_ptr<TComponent> Owner;
    TTreeDocument *Tree;

    TUndoHost() : Owner(std::make_unique<TComponent>())
    {
        Owner->SetName(QStringLiteral("TreeEditor1"));
        Tree = new TTreeDocument(Owner.get());
        Tree->SetNoOwnerShapes(false);
    }
};

// Where two streams part, for messages (bytes outside ASCII as dots).
inline QString FirstDifference(const QByteArray &a, const QByteArray &b)
{
    qsizetype i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    auto show = [i](const QByteArray &s) {
        QByteArray part = s.mid(std::max<qsizetype>(0, i - 40), 80);
        for (char &c : part)
            if (c < 32 || c > 126)
                c = '.';
        return QString::fromLatin1(part);
    };
    return QStringLiteral("at byte ") + QString::number(i) + QStringLiteral(": [") + show(a) +
           QStringLiteral("] instead of [") + show(b) + QStringLiteral("]");
}

// What the diagram writes to a file.
inline QByteArray Stream(TTreeDocument &tree)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    SaveDiagram(tree, buffer);
    return bytes;
}

// The file, then what a file leaves out but later edits depend on: every
// node's edges as they are (far edges of fixed size only) and which
// coordinates automatic layout computes.
inline QByteArray State(TTreeDocument &tree)
{
    QByteArray bytes = Stream(tree);
    for (const TTreeNodeShape *n : tree.Shapes()) {
        const TRect e = n->Edges();
        const TTreeShapeAutoPosition *a = n->PeekAutoPosition();
        bytes += QStringLiteral("|%1 %2 %3 %4 %5%6")
                     .arg(n->Name())
                     .arg(e.Left)
                     .arg(e.Top)
                     .arg(n->AutoSize() ? QString() : QStringLiteral("%1 %2").arg(e.Right).arg(e.Bottom))
                     .arg(a ? (a->Left() ? 1 : 0) : 2)
                     .arg(a ? (a->Top() ? 1 : 0) : 2)
                     .toLatin1();
    }
    return bytes;
}

// A window that only keeps its modified mark.
class TModifiedHost : public TEditorHost
{
public:
    bool IsModified = false;
    TTree *Tree() const override { return nullptr; }
    QMainWindow *Window() override { return nullptr; }
    QAction *FileAction(TFileCommand) override { return nullptr; }
    bool OpenFile(const QString &) override { return false; }
    QString FileName() const override { return QString(); }
    bool Modified() const override { return IsModified; }
    void SetModified(bool modified) override { IsModified = modified; }
    bool BandVisible(TEditorBand) const override { return true; }
    void SetBandVisible(TEditorBand, bool) override {}
    bool SidePanelLeft() const override { return true; }
    void SetSidePanelLeft(bool) override {}
    void ShowStatus(int, const QString &) override {}
    void RefreshInspector() override {}
    void AddPart(TEditorPart *) override {}
    void RemovePart(TEditorPart *) override {}
};

// Random diagrams and random edits of them, repeatable by seed.
class TRandomDiagram
{
public:
    TRandomDiagram(TTreeDocument &tree, quint32 seed) : FTree(tree), FRandom(seed) {}

    int Pick(int n) { return n <= 0 ? 0 : static_cast<int>(FRandom.bounded(n)); }
    bool Chance(int percent) { return Pick(100) < percent; }

    TTreeNodeShape *AnyNode()
    {
        const int n = FTree.Shapes().Count();
        return n ? FTree.Shapes()[Pick(n)] : nullptr;
    }
    TTreeConnection *AnyConnection()
    {
        const int n = FTree.Connections().Count();
        return n ? FTree.Connections()[Pick(n)] : nullptr;
    }
    TColor AnyColor() { return static_cast<TColor>(FRandom.bounded(0x1000000u)); }
    QStringList AnyLines()
    {
        QStringList lines;
        const int n = Pick(4);
        for (int i = 0; i < n; ++i)
            lines << QStringLiteral("line %1 & %2").arg(Pick(1000)).arg(i);
        return lines;
    }

    // A forest of `nodes` nodes of mixed kinds with extra connections and
    // varied formats, built without notices.
    void Build(int nodes)
    {
        TTreeQuietChanges quiet(&FTree);
        for (int i = 0; i < nodes; ++i) {
            TTreeNodeShape *parent = Chance(85) ? AnyNode() : nullptr;
            FTree.DefaultFormat().SetShapeClass(Chance(20) ? &TTextShape::StaticClassInfo()
                                                           : &TTreeNodeShape::StaticClassInfo());
            TTreeNodeShape *node = FTree.AddShape(Pick(800), Pick(600), parent, QStringLiteral("N%1").arg(i));
            if (Chance(40))
                Format(node);
            if (Chance(30))
                node->SetExpanded(true);
        }
        FTree.DefaultFormat().SetShapeClass(&TTreeNodeShape::StaticClassInfo());
        for (int i = 0; i < nodes / 4; ++i)
            if (TTreeNodeShape *a = AnyNode(); a && AnyNode())
                a->AddConnection(AnyNode());
    }

    // One change of format, property or geometry picked at random.
    void Format(TTreeNodeShape *node)
    {
        switch (Pick(12)) {
        case 0: node->Border()->SetWidth(1 + Pick(5)); break;
        case 1: node->Border()->SetColor(AnyColor()); break;
        case 2: node->Brush()->SetColor(AnyColor()); break;
        case 3: node->SetStyle(static_cast<TTreeShapeStyle>(Pick(7))); break;
        case 4: node->Font()->SetSize(6 + Pick(20)); break;
        case 5: node->Font()->SetColor(AnyColor()); break;
        case 6: node->SetTransparent(!node->Transparent()); break;
        case 7: node->SetShowCross(static_cast<TTreeNodeShapeShowCross>(Pick(3))); break;
        case 8: node->SetImageIndex(static_cast<TTreeNodeImageIndex>(Pick(5))); break;
        case 9: node->Gradient()->SetVisible(true), node->Gradient()->SetStartColor(AnyColor()); break;
        case 10: node->Shadow()->SetHorizSize(Pick(8)); break;
        default:
            node->SetAutoSize(false);
            node->SetWidth(20 + Pick(100));
            node->SetHeight(10 + Pick(60));
            break;
        }
    }

    // One user action through the document's operations; several of them
    // inside one step now and then.
    void Edit()
    {
        Log << QStringLiteral("|");
        if (Chance(10)) {
            TTreeStep step(&FTree, QStringLiteral("Several"));
            for (int i = 1 + Pick(3); i > 0; --i)
                EditOnce();
            return;
        }
        EditOnce();
    }

    // The kinds of the edits made, oldest first.
    QStringList Log;

    void EditOnce()
    {
        TTreeNodeShape *node = AnyNode();
        const int kind = Pick(17);
        Log << QString::number(kind);
        switch (kind) {
        case 0:
            FTree.AddShape(Pick(800), Pick(600), Chance(80) ? node : nullptr, QStringLiteral("new %1").arg(Pick(99)));
            break;
        case 1:
            FTree.DeleteShape(node);
            break;
        case 2: {
            for (int i = 1 + Pick(3); i > 0; --i)
                if (TTreeNodeShape *n = AnyNode())
                    n->SetSelected(true);
            FTree.DeleteSelected();
            break;
        }
        case 3: {
            // A drag of several nodes, many small moves in one step.
            std::vector<TTreeNodeShape *> dragged;
            for (int i = 1 + Pick(3); i > 0; --i)
                if (TTreeNodeShape *n = AnyNode())
                    dragged.push_back(n);
            const bool children = Chance(50);
            TTreeStep step(&FTree, QStringLiteral("Drag"));
            for (int k = 1 + Pick(4); k > 0; --k)
                for (TTreeNodeShape *n : dragged)
                    FTree.MoveShape(n, Pick(21) - 10, Pick(21) - 10, children);
            break;
        }
        case 4:
            if (node)
                FTree.ResizeShape(node, static_cast<TTreeShapeHandle>(1 + Pick(8)), Pick(21) - 10, Pick(21) - 10);
            break;
        case 5:
            FTree.SetShapeParent(node, Chance(80) ? AnyNode() : nullptr);
            break;
        case 6:
            if (node)
                FTree.SetShapeExpanded(node, !node->Expanded());
            break;
        case 7:
            if (Chance(70))
                FTree.SetElementText(node, AnyLines());
            else
                FTree.SetElementText(AnyConnection(), AnyLines());
            break;
        case 8:
            FTree.OrderShape(node, Chance(50));
            break;
        case 9:
        case 10:
            if (node)
                FTree.EditElement(node, QString(), [&] { Format(node); });
            break;
        case 11:
            if (node)
                if (TTreeNodeShape *target = AnyNode())
                    node->AddConnection(target);
            break;
        case 12:
            FTree.DeleteConnection(AnyConnection());
            break;
        case 13:
            if (TTreeConnection *c = AnyConnection()) {
                switch (Pick(4)) {
                case 0: FTree.InsertConnectionPoint(c, Pick(3), TPoint(Pick(800), Pick(600))); break;
                case 1: FTree.MoveConnectionPoint(c, Pick(c->Count() + 1), Pick(21) - 10, Pick(21) - 10); break;
                case 2: FTree.AnchorConnectionPoint(c, Chance(50) ? 0 : c->Count() - 1, 1 + Pick(8)); break;
                default:
                    FTree.EditElement(c, QStringLiteral("Style"),
                                      [&] { c->SetStyle(static_cast<TTreeConnectionStyle>(Pick(5))); });
                    break;
                }
            }
            break;
        case 14:
            if (node)
                FTree.PasteShape(node);
            break;
        case 15:
            FTree.EditElement(&FTree, QStringLiteral("ShowRootCross"),
                              [&] { FTree.SetShowRootCross(!FTree.ShowRootCross()); });
            break;
        default:
            if (TTreeConnection *c = AnyConnection())
                FTree.EditElement(c, QString(), [&] {
                    c->Border()->SetColor(AnyColor());
                    c->ArrowTo()->SetStyle(static_cast<TConnectionArrowStyle>(Pick(6)));
                });
            break;
        }
    }

private:
    TTreeDocument &FTree;
    QRandomGenerator FRandom;
};
