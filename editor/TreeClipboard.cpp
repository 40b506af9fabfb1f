// The editor's clipboard diagram and what it puts on the system clipboard.

#include "editor/TreeClipboard.h"

#include "core/Exceptions.h"
#include "export/TreeData.h"
#include "model/TreeFile.h"

#include <QBuffer>
#include <QMimeData>
#include <algorithm>

const char *const TTreeClipboard::kMimeType = "application/x-arbolix-diagram";

const TClassInfo &TTreeClipboard::StaticClassInfo()
{
    static const TClassInfo info("TTreeClipboard", &TTreeDocument::StaticClassInfo());
    return info;
}

TTreeClipboard::TTreeClipboard(TComponent *owner) : TTreeDocument(owner)
{
    SetName(QStringLiteral("TreeClipboard"));
    SetNoOwnerShapes(false);
    // The copies keep the format they had: no parent's format is forced on
    // the children of a copy.
    SetAssignParentFormat(false);
}

TTreeClipboard::~TTreeClipboard()
{
    ForgetCut();
}

void TTreeClipboard::Guard(TComponent *component, bool on)
{
    if (!component)
        return;
    if (on)
        FreeNotification(component);
    else
        RemoveFreeNotification(component);
}

void TTreeClipboard::Notification(TComponent *component, TOperation operation)
{
    TTreeDocument::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == FCutSource) {
        // The diagram itself goes: its nodes with it.
        for (TTreeNodeShape *node : FCut)
            RemoveFreeNotification(node);
        FCut.clear();
        FCutSource = nullptr;
        return;
    }
    FCut.erase(std::remove(FCut.begin(), FCut.end(), component), FCut.end());
    if (FCut.empty() && FCutSource) {
        RemoveFreeNotification(FCutSource);
        FCutSource = nullptr;
    }
}

void TTreeClipboard::KeepFixedPositions(const TTreeNodeShape *source, TTreeNodeShape *copy)
{
    std::vector<std::pair<const TTreeNodeShape *, TTreeNodeShape *>> pending{{source, copy}};
    while (!pending.empty()) {
        auto [s, c] = pending.back();
        pending.pop_back();
        if (const TTreeShapeAutoPosition *fixed = s->PeekAutoPosition()) {
            c->AutoPosition()->SetLeft(fixed->Left());
            c->AutoPosition()->SetTop(fixed->Top());
        }
        for (int i = 0; i < s->ChildCount() && i < c->ChildCount(); ++i)
            pending.emplace_back(s->Child(i), c->Child(i));
    }
}

void TTreeClipboard::Empty()
{
    ForgetCut();
    Clear();
}

void TTreeClipboard::CopyNodes(const std::vector<TTreeNodeShape *> &nodes)
{
    Empty();
    for (TTreeNodeShape *node : nodes) {
        if (!node)
            continue;
        // A node inside another copied node's subtree comes along with it.
        bool inside = false;
        for (TTreeNodeShape *other : nodes)
            if (other && other != node && other->IsAncestorOf(node))
                inside = true;
        if (inside)
            continue;
        TTreeNodeShape *copy = CloneShape(node);
        if (!copy)
            continue;
        KeepFixedPositions(node, copy);
        if (copy->LineCount() > 0 && copy->Line(0) == node->Name())
            copy->Text()->SetLines(QStringList());
        copy->SetParent(nullptr);
        copy->SetVisible(false);
    }
}

void TTreeClipboard::CutNodes(const std::vector<TTreeNodeShape *> &nodes)
{
    CopyNodes(nodes);
    for (TTreeNodeShape *node : nodes) {
        if (!node || !node->Tree() || std::find(FCut.begin(), FCut.end(), node) != FCut.end())
            continue;
        if (FCutSource && node->Tree() != FCutSource)
            continue;
        if (!FCutSource) {
            FCutSource = node->Tree();
            Guard(FCutSource, true);
        }
        FCut.push_back(node);
        Guard(node, true);
    }
}

std::vector<TTreeNodeShape *> TTreeClipboard::CutOriginals() const
{
    std::vector<TTreeNodeShape *> result;
    for (TTreeNodeShape *node : FCut) {
        if (node->Tree() != FCutSource)
            continue;
        bool inside = false;
        for (TTreeNodeShape *other : FCut)
            if (other != node && other->IsAncestorOf(node))
                inside = true;
        if (!inside)
            result.push_back(node);
    }
    return result;
}

void TTreeClipboard::ForgetCut()
{
    for (TTreeNodeShape *node : FCut)
        Guard(node, false);
    FCut.clear();
    Guard(FCutSource, false);
    FCutSource = nullptr;
}

void TTreeClipboard::ForgetCutFrom(const TTreeDocument *tree)
{
    if (tree && tree == FCutSource)
        ForgetCut();
}

QString TTreeClipboard::OutlineText() const
{
    TTreeDataText text(this);
    text.SetOutline(true);
    return text.AsText();
}

QByteArray TTreeClipboard::DiagramBytes()
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    SaveDiagram(*this, buffer);
    return buffer.data();
}

std::unique_ptr<QMimeData> TTreeClipboard::MimeData()
{
    auto data = std::make_unique<QMimeData>();
    data->setData(QString::fromLatin1(kMimeType), DiagramBytes());
    data->setText(OutlineText());
    return data;
}

bool TTreeClipboard::ReadBytes(const QByteArray &bytes, QString &error)
{
    // Read aside first, so bytes that are no diagram change nothing here.
    TComponent owner;
    owner.SetName(QStringLiteral("TreeEditor1"));
    auto *scratch = new TTreeClipboard(&owner);
    struct TFree
    {
        TTreeClipboard *Diagram;
        ~TFree() { delete Diagram; }
    } release{scratch};
    try {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        LoadDiagram(*scratch, buffer);
    } catch (const Exception &e) {
        error = e.Message();
        return false;
    }
    Empty();
    for (int i = 0; i < scratch->Roots().Count(); ++i) {
        TTreeNodeShape *copy = CloneShape(scratch->Roots()[i]);
        if (!copy)
            continue;
        KeepFixedPositions(scratch->Roots()[i], copy);
        copy->SetVisible(false);
    }
    return true;
}
