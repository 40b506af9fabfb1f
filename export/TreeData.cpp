#include "export/TreeData.h"

#include "core/Windows1252.h"
#include "export/KorExportConst.h"
#include "model/TreeDocument.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QIODevice>
#include <QtEndian>
#include <algorithm>

namespace {

const QString kBreak = QStringLiteral("\r\n");

// Characters XML 1.0 cannot hold at all.
bool XmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

} // namespace

void TKorExportData::CopyTextToClipboard()
{
    QGuiApplication::clipboard()->setText(AsText());
}

void TKorExportData::SaveToFileNamed(const QString &fileName)
{
    TExportFile file(fileName);
    file.Open();
    WriteToStream(file);
    file.Commit();
}

void TKorExportData::WriteToStream(QIODevice &stream)
{
    const QByteArray bytes = AsText().toUtf8();
    if (stream.write(bytes) != bytes.size())
        ExportWriteFailed(&stream, QString(), stream.errorString());
}

QString TTreeData::RowText(int)
{
    return QString();
}

QString TTreeData::NodeLine(const TTreeNodeShape *node)
{
    QString line = node->Line(0);
    for (int i = 1; i < node->LineCount(); ++i)
        line += QLatin1Char(' ') + node->Line(i);
    return line;
}

// ---------------------------------------------------------------------------
// Text

QString TTreeDataText::RowText(int rootIndex)
{
    QString text;
    const QString lineEnd = FOutline ? QStringLiteral("\n") : kBreak;
    bool first = true;
    Walk(FTree->Roots()[rootIndex], [&](const TTreeNodeShape *node, int level) {
        if (!first)
            text += lineEnd;
        first = false;
        text += QString(level, FOutline ? QLatin1Char(' ') : FIndentation);
        text += NodeLine(node);
    });
    return text;
}

QString TTreeDataText::AsText()
{
    QString text;
    const int roots = FTree->Roots().Count();
    for (int i = 0; i < roots; ++i) {
        text += RowText(i);
        text += FOutline ? QStringLiteral("\n") : kBreak + kBreak;
    }
    if (!FOutline)
        text += kBreak;
    return text;
}

// ---------------------------------------------------------------------------
// XML

QString TTreeDataXML::Escaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        char32_t code = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
            continue;
        }
        switch (code) {
        case '&': out += QStringLiteral("&amp;"); break;
        case '<': out += QStringLiteral("&lt;"); break;
        case '>': out += QStringLiteral("&gt;"); break;
        case '"': out += QStringLiteral("&quot;"); break;
        case '\'': out += QStringLiteral("&apos;"); break;
        case '\t': out += QStringLiteral("&#9;"); break;
        case '\n': out += QStringLiteral("&#10;"); break;
        case '\r': out += QStringLiteral("&#13;"); break;
        default:
            // What XML cannot hold (control characters, lone surrogates)
            // becomes the replacement character.
            out += XmlChar(code) && !c.isSurrogate() ? c : QChar(0xFFFD);
        }
    }
    return out;
}

QString TTreeDataXML::RowText(int rootIndex)
{
    QString text;
    Walk(FTree->Roots()[rootIndex], [&](const TTreeNodeShape *node, int) {
        text += QStringLiteral("<node name=\"") + Escaped(node->Name()) + QStringLiteral("\" class=\"") +
                Escaped(node->ClassName()) + QStringLiteral("\">");
        for (int i = 0; i < node->LineCount(); ++i)
            text += Escaped(node->Line(i)) + kBreak;
        text += kBreak + QStringLiteral("</node>") + kBreak + kBreak;
    });
    return text;
}

QString TTreeDataXML::AsText()
{
    QString text = QStringLiteral("<?xml version=\"1.0\" ?>") + kBreak + QStringLiteral("<tree>") + kBreak;
    for (int i = 0; i < FTree->Roots().Count(); ++i)
        text += RowText(i);
    return text + QStringLiteral("</tree>");
}

// ---------------------------------------------------------------------------
// HTML

QString TTreeDataHTML::Escaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        char32_t code = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            code = QChar::surrogateToUcs4(c, text.at(++i));
        else if (c.isSurrogate())
            code = 0xFFFD;
        switch (code) {
        case '&': out += QStringLiteral("&amp;"); break;
        case '<': out += QStringLiteral("&lt;"); break;
        case '>': out += QStringLiteral("&gt;"); break;
        case '"': out += QStringLiteral("&quot;"); break;
        case '\'': out += QStringLiteral("&#39;"); break;
        default:
            if (code < 0x20 && code != '\t')
                out += QStringLiteral("&#65533;");
            else if (code < 0x80)
                out += QChar(char16_t(code));
            else
                out += QStringLiteral("&#%1;").arg(uint(XmlChar(code) ? code : 0xFFFD));
        }
    }
    return out;
}

QString TTreeDataHTML::RowText(int rootIndex)
{
    QString text;
    bool first = true;
    Walk(FTree->Roots()[rootIndex], [&](const TTreeNodeShape *node, int level) {
        if (!first)
            text += kBreak;
        first = false;
        text += QStringLiteral("<tr>");
        for (int i = 0; i < level; ++i)
            text += QStringLiteral("<td></td>");
        text += QStringLiteral("<td>") + Escaped(NodeLine(node)) + QStringLiteral("</td></tr>");
    });
    return text;
}

QString TTreeDataHTML::AsText()
{
    QString text = QStringLiteral("<table border=\"1\">") + kBreak;
    for (int i = 0; i < FTree->Roots().Count(); ++i)
        text += RowText(i) + kBreak;
    return text + kBreak + QStringLiteral("</table>");
}

// ---------------------------------------------------------------------------
// Sheet

namespace {

void Record(QByteArray &out, uint16_t type, const QByteArray &body)
{
    char head[4];
    qToLittleEndian(type, head);
    qToLittleEndian(uint16_t(body.size()), head + 2);
    out.append(head, 4);
    out.append(body);
}

QByteArray Words(std::initializer_list<uint16_t> words)
{
    QByteArray b;
    for (uint16_t w : words) {
        char p[2];
        qToLittleEndian(w, p);
        b.append(p, 2);
    }
    return b;
}

// Text in the sheet's code page; what it lacks becomes "?".
QByteArray Windows1252Text(const QString &text)
{
    QByteArray out;
    if (ToWindows1252(text, out))
        return out;
    out.clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        QByteArray one;
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        if (!pair && ToWindows1252(QStringView(text).mid(i, 1), one))
            out += one;
        else
            out += '?';
        if (pair)
            ++i;
    }
    return out;
}

} // namespace

QByteArray TTreeDataXLS::Bytes() const
{
    int rows = 0;
    int maxLevel = 0;
    for (int i = 0; i < FTree->Roots().Count(); ++i)
        Walk(FTree->Roots()[i], [&](const TTreeNodeShape *, int level) {
            ++rows;
            maxLevel = std::max(maxLevel, level);
        });
    if (rows > kMaxRows || maxLevel + 1 > kMaxColumns)
        throw EExportError(FormatMessage(SExportSheetTooLarge, {QString::number(rows), QString::number(maxLevel + 1),
                                                                QString::number(kMaxRows),
                                                                QString::number(kMaxColumns)}));
    QByteArray out;
    Record(out, 0x0809, Words({0, 0x0010, 0, 0}));
    // The code page of the labels.
    Record(out, 0x0042, Words({1252}));
    Record(out, 0x0200, Words({0, uint16_t(rows), 0, uint16_t(maxLevel + 1), 0}));
    int row = 0;
    for (int i = 0; i < FTree->Roots().Count(); ++i)
        Walk(FTree->Roots()[i], [&](const TTreeNodeShape *node, int level) {
            for (int c = 0; c < level; ++c)
                Record(out, 0x0001, Words({uint16_t(row), uint16_t(c)}) + QByteArray(3, '\0'));
            // At most 255 characters.
            QString line = NodeLine(node);
            if (line.size() > 255)
                line.truncate(line.at(254).isHighSurrogate() ? 254 : 255);
            QByteArray bytes = Windows1252Text(line).left(255);
            QByteArray body = Words({uint16_t(row), uint16_t(level)}) + QByteArray(3, '\0');
            body += char(uint8_t(bytes.size()));
            body += bytes;
            Record(out, 0x0004, body);
            ++row;
        });
    Record(out, 0x000A, QByteArray());
    return out;
}

QString TTreeDataXLS::AsText()
{
    return QString::fromLatin1(Bytes());
}

void TTreeDataXLS::WriteToStream(QIODevice &stream)
{
    const QByteArray bytes = Bytes();
    if (stream.write(bytes) != bytes.size())
        ExportWriteFailed(&stream, QStringLiteral("XLS"), stream.errorString());
}
