#pragma once
// The diagram's node hierarchy as data: an indented text, XML, an HTML
// table or a sheet. Nodes are taken depth first from each root in the
// diagram's root order; a node's level is its number of ancestors, its
// line its first text line followed by " " and each further line.
//
//   TTreeDataXML xml(&tree);
//   xml.SaveToFileNamed("plan.xml");
//
// Text in XML and HTML is escaped, so node text such as "<b>" or "&"
// arrives as text; the sheet is written in Windows-1252 with its code page.

#include "export/ExportFile.h"

#include <QByteArray>
#include <QString>

class QIODevice;
class TTreeDocument;
class TTreeNodeShape;

class TKorExportData
{
public:
    virtual ~TKorExportData() = default;
    // The whole export as one text.
    virtual QString AsText() = 0;
    // Puts AsText on the clipboard as text.
    void CopyTextToClipboard();
    // Writes the named file, replacing any existing one only when all was
    // written; EWriteError names the file and the reason.
    void SaveToFileNamed(const QString &fileName);
    // The bytes of AsText in UTF-8 (the sheet writes its own records).
    virtual void WriteToStream(QIODevice &stream);
};

class TTreeData : public TKorExportData
{
public:
    explicit TTreeData(const TTreeDocument *tree) : FTree(tree) {}
    const TTreeDocument *Tree() const { return FTree; }
    // The rows of one root (root index in the root order); the base has
    // none.
    virtual QString RowText(int rootIndex);

    // A node's line: its first line and " " + each further line.
    static QString NodeLine(const TTreeNodeShape *node);
    // Walks the nodes depth first from each root; `visit` gets the node and
    // its level.
    template <class F>
    static void Walk(const TTreeNodeShape *root, F visit);

protected:
    const TTreeDocument *FTree;
};

class TTreeDataText : public TTreeData
{
public:
    explicit TTreeDataText(const TTreeDocument *tree) : TTreeData(tree) {}
    // The character repeated for each level (tab by default).
    QChar Indentation() const { return FIndentation; }
    void SetIndentation(QChar c) { FIndentation = c; }
    // The outline the outline import reads back: one space per level, a
    // line break after each node and no empty lines between roots.
    bool Outline() const { return FOutline; }
    void SetOutline(bool value) { FOutline = value; }

    QString RowText(int rootIndex) override;
    QString AsText() override;

private:
    QChar FIndentation = QLatin1Char('\t');
    bool FOutline = false;
};

class TTreeDataXML : public TTreeData
{
public:
    explicit TTreeDataXML(const TTreeDocument *tree) : TTreeData(tree) {}
    QString RowText(int rootIndex) override;
    QString AsText() override;
    // Text as XML character data or attribute value.
    static QString Escaped(const QString &text);
};

class TTreeDataHTML : public TTreeData
{
public:
    explicit TTreeDataHTML(const TTreeDocument *tree) : TTreeData(tree) {}
    QString RowText(int rootIndex) override;
    QString AsText() override;
    // Text as HTML: mark-up characters and everything beyond ASCII as
    // character references, so the table reads the same in any encoding.
    static QString Escaped(const QString &text);
};

class TTreeDataXLS : public TTreeData
{
public:
    // The sheet's row and column fields are 16 bits; the program reading
    // it shows at most 65,536 rows and 256 columns.
    static constexpr int kMaxRows = 65536;
    static constexpr int kMaxColumns = 256;

    explicit TTreeDataXLS(const TTreeDocument *tree) : TTreeData(tree) {}
    // The records as Latin-1 characters.
    QString AsText() override;
    void WriteToStream(QIODevice &stream) override;
    // The sheet's bytes; EExportError when the diagram does not fit.
    QByteArray Bytes() const;
};

// ---------------------------------------------------------------------------

#include "model/TreeNodeShape.h"

#include <vector>

template <class F>
void TTreeData::Walk(const TTreeNodeShape *root, F visit)
{
    // An explicit stack: diagrams may be deeper than the call stack.
    std::vector<std::pair<const TTreeNodeShape *, int>> stack{{root, 0}};
    while (!stack.empty()) {
        const auto [node, level] = stack.back();
        stack.pop_back();
        visit(node, level);
        for (int i = node->ChildCount() - 1; i >= 0; --i)
            stack.emplace_back(node->Child(i), level + 1);
    }
}
