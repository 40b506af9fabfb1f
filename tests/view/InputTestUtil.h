// Shared helpers of the interaction tests: a shown diagram, nodes found by
// their text, screen positions of nodes, and mouse, key and wheel events
// sent to the control as the platform sends them.

#pragma once

#include "ViewTestUtil.h"
#include "view/TreeInteraction.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QtTest>

// A diagram that is shown and has been drawn once (moves are ignored
// before that).
struct TInputHost : TViewHost
{
    explicit TInputHost(int width = 400, int height = 300) : TViewHost(width, height)
    {
        Tree->show();
        Tree->SelectionLook()->SetScrollToView(false);
    }
    void Draw() { Paint(); }
    // Design mode, moves snapping to the grid or not, drawn.
    void Design(bool snap = true)
    {
        Tree->SetDesigning(true);
        Tree->SetSnapToGrid(snap);
        Draw();
    }

    TTreeNodeShape *Node(const QString &text) const
    {
        for (TTreeNodeShape *n : Tree->Shapes())
            if (n->SimpleText() == text)
                return n;
        return nullptr;
    }
    // Texts of the selected nodes in selection order.
    QStringList SelectedTexts() const
    {
        QStringList texts;
        for (TTreeNodeShape *n : Tree->Selected().Nodes())
            texts << n->SimpleText();
        return texts;
    }
    // The client position of a node's centre (of its body).
    QPoint At(const TTreeNodeShape *node) const
    {
        return Tree->ProjectPoint(RectCenter(node->DrawRect())).ToQPoint();
    }
    QPoint At(const QString &text) const { return At(Node(text)); }
    // The client position of a diagram point.
    QPoint Screen(int x, int y) const { return Tree->ProjectPoint(TPoint(x, y)).ToQPoint(); }

    void Send(QEvent::Type type, const QPoint &p, Qt::MouseButton button, Qt::MouseButtons buttons,
              Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QMouseEvent e(type, QPointF(p), Tree->mapToGlobal(QPointF(p)), button, buttons, mods);
        QApplication::sendEvent(Tree, &e);
    }
    void Press(const QPoint &p, Qt::KeyboardModifiers mods = Qt::NoModifier, Qt::MouseButton b = Qt::LeftButton)
    {
        Send(QEvent::MouseButtonPress, p, b, b, mods);
    }
    void Release(const QPoint &p, Qt::KeyboardModifiers mods = Qt::NoModifier, Qt::MouseButton b = Qt::LeftButton)
    {
        Send(QEvent::MouseButtonRelease, p, b, Qt::NoButton, mods);
    }
    void Move(const QPoint &p, Qt::KeyboardModifiers mods = Qt::NoModifier, Qt::MouseButtons held = Qt::LeftButton)
    {
        Send(QEvent::MouseMove, p, Qt::NoButton, held, mods);
    }
    void Click(const QPoint &p, Qt::KeyboardModifiers mods = Qt::NoModifier, Qt::MouseButton b = Qt::LeftButton)
    {
        Press(p, mods, b);
        Release(p, mods, b);
    }
    void DoubleClick(const QPoint &p, Qt::MouseButton b = Qt::LeftButton)
    {
        Click(p, Qt::NoModifier, b);
        Send(QEvent::MouseButtonDblClick, p, b, b);
        Release(p, Qt::NoModifier, b);
    }
    // A press, moves in steps of at most `stepPixels`, and a release.
    void Drag(const QPoint &from, const QPoint &to, Qt::KeyboardModifiers mods = Qt::NoModifier, int steps = 4)
    {
        Press(from, mods);
        for (int i = 1; i <= steps; ++i)
            Move(from + (to - from) * i / steps, mods);
        Release(to, mods);
    }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(Tree, static_cast<Qt::Key>(key), mods);
    }
    // Notches of the wheel: positive turns it up (away from the user).
    void Wheel(int notches, const QPoint &p = QPoint(10, 10))
    {
        QWheelEvent e(QPointF(p), Tree->mapToGlobal(QPointF(p)), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Tree, &e);
    }
};

// A 600 x 400 diagram with one node "N" at (200, 150) - (400, 250), 200 x
// 100 around the control's centre, so it stays under the pointer at any
// zoom. It is not drawn yet: a test sets the diagram up first.
struct TCentredHost : TInputHost
{
    TTreeNodeShape *N;
    TCentredHost() : TInputHost(600, 400), N(Place(Tree->AddRoot(QStringLiteral("N")), 200, 150, 400, 250)) {}
};

// Counts the notices of one kind and the steps around them.
struct TNoticeCount : TTreeChangeListener
{
    TTreeDocument *Tree;
    int Steps = 0;
    int Depth = 0;
    QList<TTreeChange> Changes;
    // The element's name or first line when the notice came.
    QStringList Names;
    explicit TNoticeCount(TTreeDocument *tree) : Tree(tree) { Tree->AddChangeListener(this); }
    ~TNoticeCount() override { Tree->RemoveChangeListener(this); }
    void TreeStepBegin(TTreeDocument *, const QString &) override
    {
        ++Steps;
        ++Depth;
    }
    void TreeStepEnd(TTreeDocument *) override { --Depth; }
    void Note(const TTreeChange &c)
    {
        Changes << c;
        const auto *e = dynamic_cast<const TCustomTreeElement *>(c.Element);
        Names << (e ? e->SimpleText() : QString());
    }
    void TreeChanged(TTreeDocument *, const TTreeChange &c) override { Note(c); }
    void TreeChanging(TTreeDocument *, const TTreeChange &c) override
    {
        if (c.Kind == tckRemoving)
            Note(c);
    }
    int Count(TTreeChangeKind kind) const
    {
        int n = 0;
        for (const TTreeChange &c : Changes)
            n += c.Kind == kind;
        return n;
    }
};

// A tree from an indented outline ("A", " A1", " A2", "B"), every node
// expanded.
inline void BuildOutline(TTree *tree, const QStringList &lines)
{
    tree->ImportOutline(lines);
    tree->ExpandAll(true);
}
