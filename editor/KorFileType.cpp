#include "editor/KorFileType.h"

#include "editor/DendrixConstants.h"
#include "i18n/KorTranslate.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

const char *const kArbolixMimeType = "application/arbolix";
const char *const kDesktopFileName = "dendrix.desktop";

namespace {

QString DataHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(bytes);
    return file.commit();
}

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs one of the desktop's cache tools on a folder, when the tool exists.
void RunTool(const char *tool, const QString &folder)
{
    const QString program = QStandardPaths::findExecutable(QString::fromLatin1(tool));
    if (program.isEmpty())
        return;
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, {folder});
    if (process.waitForStarted(5000))
        process.waitForFinished(20000);
}

// A desktop entry's string value: backslashes and line breaks escaped.
QString EscapeString(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c == QLatin1Char('\n'))
            out += QLatin1String("\\n");
        else if (c == QLatin1Char('\t'))
            out += QLatin1String("\\t");
        else if (c == QLatin1Char('\r'))
            out += QLatin1String("\\r");
        else
            out += c;
    }
    return out;
}

QString UnescapeString(const QString &text)
{
    QString out;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\') || i + 1 >= text.size()) {
            out += c;
            continue;
        }
        const QChar n = text.at(++i);
        if (n == QLatin1Char('s'))
            out += QLatin1Char(' ');
        else if (n == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else if (n == QLatin1Char('t'))
            out += QLatin1Char('\t');
        else if (n == QLatin1Char('r'))
            out += QLatin1Char('\r');
        else if (n == QLatin1Char('\\'))
            out += QLatin1Char('\\');
        else
            out += QLatin1Char('\\') + n;
    }
    return out;
}

// The value of `key` in the [Desktop Entry] group of a desktop entry.
QString EntryValue(const QString &text, const QString &key)
{
    bool inEntry = false;
    for (QString line : text.split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inEntry = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (inEntry && eq > 0 && line.left(eq).trimmed() == key)
            return line.mid(eq + 1).trimmed();
    }
    return QString();
}

bool SameProgram(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

QString IconPath(const char *context, const QString &name)
{
    return DataHome() + QStringLiteral("/icons/hicolor/48x48/") + QLatin1String(context) + QLatin1Char('/') + name +
           QStringLiteral(".png");
}

QByteArray PngOf(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QString XmlEscaped(const QString &text)
{
    return text.toHtmlEscaped();
}

} // namespace

QString DesktopEntryPath()
{
    return DataHome() + QStringLiteral("/applications/") + QLatin1String(kDesktopFileName);
}

QString MimePackagePath()
{
    return DataHome() + QStringLiteral("/mime/packages/dendrix.xml");
}

QString DesktopExecValue(const QString &executable)
{
    QString program = executable;
    program.replace(QLatin1Char('%'), QLatin1String("%%"));
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool quote = program.isEmpty();
    for (const QChar c : program)
        if (reserved.contains(c))
            quote = true;
    if (quote) {
        QString quoted = QStringLiteral("\"");
        for (const QChar c : program) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
                quoted += QLatin1Char('\\');
            quoted += c;
        }
        program = quoted + QLatin1Char('"');
    }
    return EscapeString(program) + QStringLiteral(" %f");
}

QStringList DesktopExecArguments(const QString &value)
{
    const QString text = UnescapeString(value);
    QStringList args;
    QString current;
    bool inToken = false;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('"')) {
            inToken = true;
            bool closed = false;
            for (++i; i < text.size(); ++i) {
                const QChar q = text.at(i);
                if (q == QLatin1Char('\\') && i + 1 < text.size()) {
                    current += text.at(++i);
                } else if (q == QLatin1Char('"')) {
                    closed = true;
                    break;
                } else {
                    current += q;
                }
            }
            if (!closed)
                return {};
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            if (inToken)
                args << current;
            current.clear();
            inToken = false;
        } else {
            current += c;
            inToken = true;
        }
    }
    if (inToken)
        args << current;
    for (QString &a : args)
        a.replace(QLatin1String("%%"), QLatin1String("%"));
    return args;
}

QString DesktopEntryText(const QString &executable)
{
    const QString exec = DesktopExecValue(executable);
    const QString verb = EscapeString(StripHotkey(SOpenWithDendrix));
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Version=1.0\n"
                          "Name=Dendrix\n") +
           QStringLiteral("Comment=") + EscapeString(SDendrixComment) + QLatin1Char('\n') + QStringLiteral("Exec=") +
           exec + QLatin1Char('\n') +
           QStringLiteral("Icon=dendrix\n"
                          "Terminal=false\n"
                          "Categories=Graphics;VectorGraphics;\n"
                          "MimeType=application/arbolix;\n"
                          "Actions=Open;\n"
                          "\n"
                          "[Desktop Action Open]\n") +
           QStringLiteral("Name=") + verb + QLatin1Char('\n') + QStringLiteral("Exec=") + exec + QLatin1Char('\n');
}

QString MimePackageText()
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                          "  <mime-type type=\"application/arbolix\">\n"
                          "    <comment>") +
           XmlEscaped(SDendrixFileType) +
           QStringLiteral("</comment>\n"
                          "    <icon name=\"application-arbolix\"/>\n"
                          "    <glob pattern=\"*.abx\"/>\n"
                          "    <magic priority=\"50\">\n"
                          "      <match type=\"string\" offset=\"0\" value=\"TPF0\"/>\n"
                          "    </magic>\n"
                          "  </mime-type>\n"
                          "</mime-info>\n");
}

QImage DendrixIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 48.0, size / 48.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xF4, 0xF6, 0xFA));
    p.drawRoundedRect(QRectF(2, 2, 44, 44), 7, 7);
    // A parent with two children.
    p.setPen(QPen(QColor(0x33, 0x3A, 0x48), 2));
    p.drawLine(QPointF(24, 17), QPointF(24, 24));
    p.drawLine(QPointF(13, 24), QPointF(35, 24));
    p.drawLine(QPointF(13, 24), QPointF(13, 30));
    p.drawLine(QPointF(35, 24), QPointF(35, 30));
    p.setPen(QPen(QColor(0x1F, 0x4E, 0x8C), 1.5));
    p.setBrush(QColor(0x4C, 0x8E, 0xDA));
    p.drawRoundedRect(QRectF(15, 7, 18, 10), 2, 2);
    p.setBrush(QColor(0xF2, 0xB1, 0x34));
    p.drawRoundedRect(QRectF(5, 30, 16, 10), 2, 2);
    p.setBrush(QColor(0x5C, 0xB8, 0x5C));
    p.drawRoundedRect(QRectF(27, 30, 16, 10), 2, 2);
    p.end();
    return image;
}

bool SetDefaultApplication(const QString &mimeType, const QString &desktopFile)
{
    const QString path =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/mimeapps.list");
    QStringList lines = QString::fromUtf8(ReadFile(path)).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    int section = -1;
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line == QLatin1String("[Default Applications]")) {
            section = i;
            continue;
        }
        if (line.startsWith(QLatin1Char('['))) {
            if (section >= 0)
                break;
            continue;
        }
        if (section >= 0 && line.startsWith(mimeType + QLatin1Char('='))) {
            // The user's choice stays.
            const QString first = line.mid(mimeType.size() + 1).section(QLatin1Char(';'), 0, 0).trimmed();
            return first == desktopFile;
        }
    }
    const QString entry = mimeType + QLatin1Char('=') + desktopFile + QLatin1Char(';');
    if (section < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines << QString();
        lines << QStringLiteral("[Default Applications]") << entry;
    } else {
        lines.insert(section + 1, entry);
    }
    return WriteFile(path, (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
}

TFileTypeResult RegisterFileType(const QString &executableIn)
{
    const QString executable =
        executableIn.isEmpty() ? QCoreApplication::applicationFilePath() : QFileInfo(executableIn).absoluteFilePath();
    if (DataHome().isEmpty())
        return ftNotWritten;
    const QString entryPath = DesktopEntryPath();
    const QStringList args =
        DesktopExecArguments(EntryValue(QString::fromUtf8(ReadFile(entryPath)), QStringLiteral("Exec")));
    const bool registered = !args.isEmpty() && SameProgram(args.first(), executable);

    TFileTypeResult result = registered ? ftAlreadyRegistered : ftRegistered;
    if (!registered) {
        const QImage icon = DendrixIcon(48);
        const bool written = WriteFile(entryPath, DesktopEntryText(executable).toUtf8()) &&
                             WriteFile(IconPath("apps", QStringLiteral("dendrix")), PngOf(icon)) &&
                             WriteFile(IconPath("mimetypes", QStringLiteral("application-arbolix")), PngOf(icon));
        if (written) {
            SetDefaultApplication(QLatin1String(kArbolixMimeType), QLatin1String(kDesktopFileName));
            RunTool("update-desktop-database", QFileInfo(entryPath).absolutePath());
        } else {
            result = ftNotWritten;
        }
    }
    // The type itself, in every case, when it is missing.
    const QString package = MimePackagePath();
    if (!QFileInfo::exists(package)) {
        if (WriteFile(package, MimePackageText().toUtf8()))
            RunTool("update-mime-database", DataHome() + QStringLiteral("/mime"));
        else if (result == ftRegistered)
            result = ftNotWritten;
    }
    return result;
}
