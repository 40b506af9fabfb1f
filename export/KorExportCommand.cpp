#include "export/KorExportCommand.h"

#include "core/Exceptions.h"
#include "export/DiagramPicture.h"
#include "export/KorBMP.h"
#include "export/KorExportConst.h"
#include "export/KorPNG.h"
#include "model/TreeFile.h"
#include "model/TreeReader.h"
#include "view/Arbolix.h"

#include <QFileInfo>
#include <algorithm>
#include <QSaveFile>
#include <QTextStream>
#include <memory>
#include <new>

namespace {

// Exported pictures: zlib's default level with the "sub" filter, several
// times faster than the smallest setting for files about a third larger.
constexpr TPNGWriter::TOptions kPNGOptions{6, true};

QString Extension(const QString &fileName)
{
    return QFileInfo(fileName).suffix().toLower();
}

void OpenForWriting(QSaveFile &file)
{
    if (!file.open(QIODevice::WriteOnly))
        throw EWriteError(FormatMessage(SExportWriteFailed, {file.fileName(), file.errorString()}));
}

void Commit(QSaveFile &file)
{
    if (!file.commit())
        throw EWriteError(FormatMessage(SExportWriteFailed, {file.fileName(), file.errorString()}));
}

[[noreturn]] void TooLarge(const TDiagramPicture &picture, const QString &format, const QString &limit)
{
    throw EWriteError(FormatMessage(SExportPictureTooLarge, {QString::number(picture.Width()),
                                                             QString::number(picture.Height()), format, limit}));
}

void CheckRenderable(const TDiagramPicture &picture, const QString &format)
{
    if (!picture.Renderable())
        TooLarge(picture, format, FormatMessage(SExportAtMostWide, {QString::number(TDiagramPicture::kMaxWidth)}));
}

void WritePNG(TCustomTree &tree, const QString &fileName)
{
    TDiagramPicture picture(tree);
    CheckRenderable(picture, QStringLiteral("PNG"));
    QSaveFile file(fileName);
    OpenForWriting(file);
    TPNGWriter png(&file, picture.Width(), picture.Height(), kPNGOptions);
    picture.Render(false, [&png](const QImage &strip, int) { png.WriteRows(strip); });
    png.Finish();
    Commit(file);
}

void WriteBMP(TCustomTree &tree, const QString &fileName)
{
    TDiagramPicture picture(tree);
    CheckRenderable(picture, QStringLiteral("BMP"));
    if (!TBMPWriter::Fits(picture.Width(), picture.Height()))
        TooLarge(picture, QStringLiteral("BMP"), SExportAtMost4GB);
    QSaveFile file(fileName);
    OpenForWriting(file);
    TBMPWriter bmp(&file, picture.Width(), picture.Height());
    // The file holds the bottom row first.
    picture.Render(true, [&bmp](const QImage &strip, int) { bmp.WriteRowsBottomUp(strip); });
    bmp.Finish();
    Commit(file);
}

void ReadDiagram(TCustomTree &tree, const QString &fileName)
{
    LoadDiagramFile(tree, fileName);
}

void WriteDiagram(TCustomTree &tree, const QString &fileName)
{
    SaveDiagramFile(tree, fileName);
}

// An outline is shown whole: every node is expanded.
void ReadOutline(TCustomTree &tree, const QString &fileName)
{
    tree.ImportOutlineFile(fileName);
    tree.ExpandAll(true);
}

QString FormatList(const QStringList &extensions)
{
    QStringList dotted;
    for (const QString &e : extensions)
        dotted << QLatin1Char('.') + e;
    return dotted.join(QStringLiteral(", "));
}

} // namespace

// ---------------------------------------------------------------------------
// The tables

const std::vector<TExportCommandFormat> &ExportCommandFormats()
{
    static const std::vector<TExportCommandFormat> formats = {
        {QStringLiteral("png"), &SExportFormatPNG, &WritePNG},
        {QStringLiteral("bmp"), &SExportFormatBMP, &WriteBMP},
        {QStringLiteral("abx"), &SExportFormatABX, &WriteDiagram},
    };
    return formats;
}

const TExportCommandFormat *FindExportCommandFormat(const QString &fileName)
{
    const QString ext = Extension(fileName);
    for (const TExportCommandFormat &f : ExportCommandFormats())
        if (f.Extension == ext)
            return &f;
    return nullptr;
}

const std::vector<TDiagramInputKind> &DiagramInputKinds()
{
    static const std::vector<TDiagramInputKind> kinds = {
        {QStringLiteral("abx"), &SInputDiagram, &ReadDiagram},
        {QStringLiteral("txt"), &SInputOutline, &ReadOutline},
    };
    return kinds;
}

void ReadDiagramInput(TCustomTree &tree, const QString &fileName)
{
    // A name without extension is a diagram, as the diagram loader reads it.
    const QString ext = QFileInfo(fileName).suffix().isEmpty() ? QStringLiteral("abx") : Extension(fileName);
    QStringList known;
    for (const TDiagramInputKind &k : DiagramInputKinds()) {
        known << k.Extension;
        if (k.Extension != ext)
            continue;
        try {
            k.Read(tree, fileName);
        } catch (const Exception &e) {
            // Say which file, unless the message does.
            if (e.Message().contains(fileName))
                throw;
            throw EFileError(FormatMessage(SInputReadFailed, {fileName, e.Message()}));
        }
        return;
    }
    throw EFileError(FormatMessage(SInputUnknownKind, {fileName, FormatList(known)}));
}

// ---------------------------------------------------------------------------
// The command line

namespace {

// The options the Qt application object takes for itself (with one dash or
// two), and whether each takes a value.
int QtOptionLength(const QString &arg)
{
    static const QStringList withValue = {
        QStringLiteral("platform"), QStringLiteral("platformpluginpath"), QStringLiteral("platformtheme"),
        QStringLiteral("plugin"),   QStringLiteral("qwindowgeometry"),    QStringLiteral("qwindowicon"),
        QStringLiteral("qwindowtitle"), QStringLiteral("session"),        QStringLiteral("style"),
        QStringLiteral("stylesheet"), QStringLiteral("geometry"),         QStringLiteral("display"),
        QStringLiteral("title"),    QStringLiteral("name"),               QStringLiteral("visual"),
        QStringLiteral("fn"),       QStringLiteral("font"),               QStringLiteral("bg"),
        QStringLiteral("fg"),       QStringLiteral("btn"),                QStringLiteral("im"),
        QStringLiteral("inputstyle")};
    static const QStringList alone = {QStringLiteral("reverse"), QStringLiteral("widgetcount"),
                                      QStringLiteral("nograb"), QStringLiteral("dograb"), QStringLiteral("sync"),
                                      QStringLiteral("testability")};
    if (!arg.startsWith(QLatin1Char('-')))
        return 0;
    QString name = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
    if (name.startsWith(QLatin1String("qmljsdebugger=")))
        return 1;
    if (name.contains(QLatin1Char('=')))
        name = name.left(name.indexOf(QLatin1Char('=')));
    if (withValue.contains(name))
        return arg.contains(QLatin1Char('=')) ? 1 : 2;
    return alone.contains(name) ? 1 : 0;
}

} // namespace

TCommandLine ParseCommandLine(const QStringList &all)
{
    TCommandLine cmd;
    // Qt's own options are for the application object, not for us.
    QStringList arguments;
    for (int i = 0; i < all.size();) {
        const int n = QtOptionLength(all.at(i));
        if (n == 0)
            arguments << all.at(i);
        i += std::max(n, 1);
    }
    if (arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"))) {
        cmd.Action = TCommandLine::aHelp;
        return cmd;
    }
    if (arguments.isEmpty())
        return cmd;
    const QString &first = arguments.first();
    if (first == QLatin1String("--export")) {
        if (arguments.size() != 3) {
            cmd.Action = TCommandLine::aError;
            cmd.Error = SCommandExportArguments;
            return cmd;
        }
        cmd.Action = TCommandLine::aExport;
        cmd.Output = arguments.at(1);
        cmd.Input = arguments.at(2);
        return cmd;
    }
    if (first == QLatin1String("--")) {
        cmd.File = arguments.value(1);
        return cmd;
    }
    if (first.startsWith(QLatin1Char('-')) && first.size() > 1) {
        cmd.Action = TCommandLine::aError;
        cmd.Error = FormatMessage(SCommandUnknownOption, {first});
        return cmd;
    }
    // The first file is opened; further names are ignored, as for files
    // dropped on the window.
    cmd.File = first;
    return cmd;
}

QString CommandLineHelp()
{
    QString outputs, inputs;
    for (const TExportCommandFormat &f : ExportCommandFormats())
        outputs += QStringLiteral("    .%1  %2\n").arg(f.Extension, -4).arg(f.Description->Text());
    for (const TDiagramInputKind &k : DiagramInputKinds())
        inputs += QStringLiteral("    .%1  %2\n").arg(k.Extension, -4).arg(k.Description->Text());
    return FormatMessage(SCommandHelp, {inputs, outputs});
}

int RunExportCommand(const QString &output, const QString &input, QTextStream &err)
{
    const TExportCommandFormat *format = FindExportCommandFormat(output);
    if (!format) {
        QStringList known;
        for (const TExportCommandFormat &f : ExportCommandFormats())
            known << f.Extension;
        err << FormatMessage(SExportUnknownFormat, {output, FormatList(known)}) << Qt::endl;
        return 1;
    }
    try {
        RegisterViewClasses();
        // The diagram is hosted as the editor hosts it: its elements are
        // owned and named by a host called like the editor's window.
        TComponent host;
        host.SetName(QStringLiteral("TreeEditor1"));
        // Freed before the host, so the diagram frees its elements in one go.
        const std::unique_ptr<TTree> tree = std::make_unique<TTree>(&host);
        tree->SetNoOwnerShapes(false);
        // Nobody is there to answer: what cannot be read is skipped and
        // reported, as a user answering Yes would have it.
        TScopedContinueQuestion skip([&err, &input](const QString &question) {
            QString problem = question;
            const int end = problem.lastIndexOf(QLatin1Char('\n'));
            if (end >= 0)
                problem.truncate(end);
            err << FormatMessage(SInputSkipped, {input, problem}) << Qt::endl;
            return true;
        });
        ReadDiagramInput(*tree, input);
        format->Write(*tree, output);
    } catch (const Exception &e) {
        err << e.Message() << Qt::endl;
        return 1;
    } catch (const std::bad_alloc &) {
        err << FormatMessage(SExportWriteFailed, {output, SExportOutOfMemory}) << Qt::endl;
        return 1;
    }
    return 0;
}
