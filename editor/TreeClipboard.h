#pragma once
// The editor's clipboard: a hidden diagram holding copies of the nodes cut
// or copied, and what goes onto the system clipboard beside it: the copied
// nodes as a diagram stream (another window or program instance pastes
// them from there) and as the indented text outline a text editor shows and
// the outline import reads back.
//
// A cut remembers the nodes it came from by guarded references: a node
// deleted meanwhile, or lying inside another cut node's subtree, is
// skipped when the paste deletes the originals, and the cut is forgotten
// when its diagram is cleared or replaced.

#include "model/TreeDocument.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

class QMimeData;

class TTreeClipboard : public TTreeDocument
{
    DX_OBJECT(TTreeClipboard)
public:
    // The clipboard's nodes are owned (and named) by the clipboard's owner,
    // so they can be written as a diagram stream.
    explicit TTreeClipboard(TComponent *owner);
    ~TTreeClipboard() override;

    // The MIME type the copied diagram travels under.
    static const char *const kMimeType;

    bool HasNodes() const { return Roots().Count() > 0; }

    // A copy (CloneShape) keeps its coordinates but not whether they are
    // fixed; this gives every node of `copy` the fixed coordinates of the
    // matching node of `source`, the two subtrees walked alike.
    static void KeepFixedPositions(const TTreeNodeShape *source, TTreeNodeShape *copy);

    // Empties the clipboard and copies the nodes, each with its subtree,
    // as roots in the order given; a node inside another given node's
    // subtree comes along with it only. A copy whose first line is the
    // source's name loses its text (a paste names it anew). Not a cut.
    void CopyNodes(const std::vector<TTreeNodeShape *> &nodes);
    // CopyNodes, then remembers the nodes as cut from their diagram.
    void CutNodes(const std::vector<TTreeNodeShape *> &nodes);
    // Empties the clipboard and forgets any cut.
    void Empty();

    bool IsCut() const { return !FCut.empty(); }
    TTreeDocument *CutSource() const { return FCutSource; }
    // The cut nodes still alive, without those inside another one's
    // subtree, in cut order.
    std::vector<TTreeNodeShape *> CutOriginals() const;
    // Forgets the cut (the clipboard keeps its copies).
    void ForgetCut();
    // Forgets the cut when it came from `tree` (cleared or replaced).
    void ForgetCutFrom(const TTreeDocument *tree);

    // ---- The system clipboard
    // The copies as an indented outline, one space per level.
    QString OutlineText() const;
    // The copies as a diagram stream.
    QByteArray DiagramBytes();
    // Both, for QClipboard::setMimeData.
    std::unique_ptr<QMimeData> MimeData();
    // Replaces the clipboard's content by the diagram in `bytes` (no cut);
    // on bytes that are no diagram the clipboard is left as it was, the
    // answer is false and `error` says why.
    bool ReadBytes(const QByteArray &bytes, QString &error);

protected:
    void Notification(TComponent *component, TOperation operation) override;

private:
    void Guard(TComponent *component, bool on);
    std::vector<TTreeNodeShape *> FCut;
    TTreeDocument *FCutSource = nullptr;
};
