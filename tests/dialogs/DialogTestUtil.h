// Shared set-up of the dialog tests: a diagram owned by a host component,
// a recorder of the change notices, snapshots of published properties for
// comparing objects before and after a dialog, and dispatch of nested
// modal dialogs by class.

#pragma once

#include "core/PropAccess.h"
#include "dialogs/KorPrompts.h"
#include "model/Arbolix.h"

#include <QAbstractButton>
#include <QDialog>
#include <QMap>
#include <QStringList>
#include <QtTest>
#include <functional>
#include <memory>

struct THost
{
    std::unique_ptr<TComponent> Owner;
    TTreeDocument *Tree;

    THost() : Owner(std::make_unique<TComponent>())
    {
        Owner->SetName(QStringLiteral("TreeEditor1"));
        Tree = new TTreeDocument(Owner.get());
        Tree->SetNoOwnerShapes(false);
    }
    // `count` roots, all selected in order.
    std::vector<TTreeNodeShape *> SelectedRoots(int count)
    {
        std::vector<TTreeNodeShape *> nodes;
        for (int i = 0; i < count; ++i) {
            TTreeNodeShape *n = Tree->AddRoot(QStringLiteral("Node %1").arg(i));
            n->SetX0(10 + 100 * i);
            n->SetY0(10);
            nodes.push_back(n);
        }
        Tree->SetSingleSelection(false);
        for (TTreeNodeShape *n : nodes)
            n->SetSelected(true);
        return nodes;
    }
};

// Every notice a diagram sends, as text: "step <description>", "end",
// "<kind> <element name> <property>" (after the change only).
class TNoticeLog : public TTreeChangeListener
{
public:
    explicit TNoticeLog(TTreeDocument *tree) : FTree(tree) { tree->AddChangeListener(this); }
    ~TNoticeLog() override { FTree->RemoveChangeListener(this); }

    QStringList Lines;
    int Steps = 0;

    void TreeStepBegin(TTreeDocument *, const QString &description) override
    {
        ++Steps;
        Lines << QStringLiteral("step ") + description;
    }
    void TreeStepEnd(TTreeDocument *) override { Lines << QStringLiteral("end"); }
    void TreeChanged(TTreeDocument *, const TTreeChange &c) override
    {
        if (c.Kind == tckSelection)
            return;
        static const char *const kinds[] = {"added", "removing", "moved", "resized", "property",
                                            "text",  "parent",   "order", "expanded", "points", "selection"};
        Lines << QStringLiteral("%1 %2 %3").arg(QLatin1String(kinds[c.Kind]), c.Element ? c.Element->Name() : QString(), c.Property);
    }
    // The property notices' lines.
    QStringList Properties() const { return Lines.filter(QRegularExpression(QStringLiteral("^property "))); }
    void Clear()
    {
        Lines.clear();
        Steps = 0;
    }

private:
    TTreeDocument *FTree;
};

// Every published property of an object and of its existing sub-objects,
// as "Path=text"; sub-objects that do not exist yet are not created.
inline void SnapshotInto(QMap<QString, QString> &out, TPersistent &obj, const QString &prefix)
{
    for (const TPropInfo &p : obj.ClassInfo().Properties()) {
        const QString path = prefix + p.Name;
        if (p.Type == TPropType::Event)
            continue;
        if (p.Type == TPropType::Object) {
            if (TPersistent *sub = p.PeekObject(obj))
                SnapshotInto(out, *sub, path + QLatin1Char('.'));
            continue;
        }
        out.insert(path, GetPropText(obj, p.Name));
    }
    if (auto *picture = dynamic_cast<TPicture *>(&obj))
        out.insert(prefix + QStringLiteral("(pixels)"), QString::number(qHash(picture->GraphicData())));
    if (auto *e = dynamic_cast<TCustomTreeElement *>(&obj)) {
        QStringList lines;
        for (int i = 0; i < e->LineCount(); ++i)
            lines << e->Line(i);
        out.insert(prefix + QStringLiteral("(lines)"), lines.join(QLatin1Char('|')));
    }
}

inline QMap<QString, QString> Snapshot(TPersistent &obj)
{
    QMap<QString, QString> out;
    SnapshotInto(out, obj, QString());
    return out;
}

// The properties whose values differ between two snapshots, "Path: a -> b"
// (a property missing on one side reads "-").
inline QStringList Differences(const QMap<QString, QString> &a, const QMap<QString, QString> &b)
{
    QStringList out;
    QStringList keys = a.keys() + b.keys();
    keys.removeDuplicates();
    keys.sort();
    for (const QString &k : keys) {
        const QString va = a.value(k, QStringLiteral("-"));
        const QString vb = b.value(k, QStringLiteral("-"));
        if (va != vb)
            out << QStringLiteral("%1: %2 -> %3").arg(k, va, vb);
    }
    return out;
}

// Answers modal dialogs by their class: the handler for the dialog's class
// runs (outer and nested ones alike); a dialog without one is rejected.
struct TDialogScript
{
    TScriptedPromptsGuard Prompts;
    QMap<QString, std::function<int(QDialog &)>> Handlers;

    TDialogScript()
    {
        Prompts->OnExec = [this](QDialog &d) {
            const QString name = QString::fromLatin1(d.metaObject()->className());
            auto it = Handlers.find(name);
            return it == Handlers.end() ? int(QDialog::Rejected) : (*it)(d);
        };
    }
    TScriptedPrompts *operator->() { return &*Prompts; }
    // A colour picker that answers `color` (false: cancelled).
    void AnswerColor(TColor color, bool confirm = true)
    {
        Prompts->OnPickColor = [color, confirm](TColor &c) {
            if (confirm)
                c = color;
            return confirm;
        };
    }
};

// The button of a dialog whose text (without the mnemonic mark) is `text`.
template <class W>
W *FindByText(QWidget *root, const QString &text)
{
    for (W *w : root->findChildren<W *>()) {
        QString t = w->text();
        t.remove(QLatin1Char('&'));
        QString want = text;
        want.remove(QLatin1Char('&'));
        if (t == want)
            return w;
    }
    return nullptr;
}

inline void Click(QAbstractButton *button)
{
    QVERIFY(button);
    QVERIFY(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
}

// Clicks a check box on its indicator (a box wider than its text is not
// hit everywhere).
inline void Toggle(QAbstractButton *box)
{
    QVERIFY(box);
    QVERIFY(box->isEnabled());
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
}

// Replaces the text of a spin box or line edit by typing it.
template <class W>
void TypeInto(W *box, const QString &text)
{
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
}
