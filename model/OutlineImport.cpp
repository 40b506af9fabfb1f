// Building a tree from an indented text outline: one node per line, the
// depth given by the leading spaces.

#include "core/CoreConst.h"
#include "core/Exceptions.h"
#include "core/Windows1252.h"
#include "model/TreeConst.h"
#include "model/TreeDocument.h"
#include "model/TreeNodeShape.h"

#include <QFile>
#include <QStringDecoder>
#include <climits>

namespace {

// Puts the diagram's format switch and repainting back however the import
// ends, and repaints.
class TImportScope
{
public:
    explicit TImportScope(TTreeDocument *tree)
        : FTree(tree), FAssignParentFormat(tree->AssignParentFormat()), FAutoRepaint(tree->AutoRepaint())
    {
        tree->SetAssignParentFormat(false);
        tree->SetAutoRepaint(false);
    }
    ~TImportScope()
    {
        FTree->SetAssignParentFormat(FAssignParentFormat);
        FTree->SetAutoRepaint(FAutoRepaint);
        FTree->Invalidate();
    }
    TImportScope(const TImportScope &) = delete;
    TImportScope &operator=(const TImportScope &) = delete;

private:
    TTreeDocument *FTree;
    bool FAssignParentFormat;
    bool FAutoRepaint;
};

// The lines of a text: LF, CRLF and a lone CR each end a line, and a break
// at the very end starts no further line.
QStringList SplitLines(const QString &text)
{
    QStringList lines;
    const int n = static_cast<int>(text.size());
    int start = 0;
    int i = 0;
    while (i < n) {
        const QChar c = text[i];
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            lines.append(text.mid(start, i - start));
            if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
                ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

// The characters of a file's bytes: UTF-8 (a leading byte-order mark
// dropped) when the bytes are valid UTF-8, else the 8-bit Windows text that
// outlines written on Windows are, every byte one character, so nothing
// turns into replacement marks.
QString DecodeText(const QByteArray &data)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(data);
    if (!utf8.hasError()) {
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        return text;
    }
    return FromWindows1252(data);
}

} // namespace

TTreeNodeShape *TTreeDocument::ImportOutline(const QStringList &lines)
{
    if (lines.isEmpty())
        return nullptr;
    TImportScope scope(this);
    TTreeNodeShape *first = AddRoot(lines.first());
    TTreeNodeShape *current = first;
    int depth = 0;
    for (qsizetype k = 1; k < lines.size(); ++k) {
        const QString &line = lines[k];
        qsizetype spaces = 0;
        while (spaces < line.size() && line[spaces] == QLatin1Char(' '))
            ++spaces;
        const QString text = line.mid(spaces);
        // Only the comparison with the depth matters, so huge counts clamp.
        const int i = spaces > INT_MAX / 2 ? INT_MAX / 2 : static_cast<int>(spaces);
        TTreeNodeShape *made = nullptr;
        if (i == 0) {
            depth = 0;
        } else if (i == depth) {
            made = current->AddBrother(text);
        } else if (i > depth) {
            made = current->AddChild(text);
            ++depth;
        } else {
            TTreeNodeShape *reached = current;
            for (int up = depth - i; up > 0 && reached; --up)
                reached = reached->Parent();
            depth = i;
            if (reached)
                made = reached->AddBrother(text);
        }
        if (!made) {
            // A line at depth 0, or a climb that ran out of ancestors.
            made = AddRoot(text);
            depth = 0;
        }
        current = made;
    }
    return first;
}

TTreeNodeShape *TTreeDocument::ImportOutlineFile(const QString &fileName)
{
    return ImportOutline(ReadOutlineFile(fileName));
}

QStringList TTreeDocument::ReadOutlineFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EFileError(FormatMessage(SFOpenError, {fileName, file.errorString()}));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EFileError(FormatMessage(SImportReadError, {fileName, file.errorString()}));
    return SplitLines(DecodeText(data));
}
