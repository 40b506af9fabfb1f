#include "export/KorExportCommand.h"

#include "animation/TreeAnimate.h"
#include "animation/TreeAnimateFile.h"
#include "core/Exceptions.h"
#include "export/KorGIF.h"
#include "export/KorExportConst.h"
#include "export/TreeData.h"
#include "model/TreeFile.h"
#include "model/TreeReader.h"
#include "view/Arbolix.h"

#include <QFileInfo>
#include <QTextStream>
#include <algorithm>
#include <memory>
#include <new>

namespace {

QString Extension(const QString &fileName)
{
    return QFileInfo(fileName).suffix().toLower();
}

void ReadDiagram(TCustomTree &tree, const QString &fileName, std::unique_ptr<TTreeAnimate> *animation)
{
    std::unique_ptr<TTreeAnimate> read;
    LoadDocumentFile(tree, fileName, read);
    if (animation)
        *animation = std::move(read);
}

void WriteDiagram(TCustomTree &tree, const QString &fileName, TTreeAnimate *animation)
{
    SaveDocumentFile(tree, fileName, animation);
}

// An outline is shown whole: every node is expanded.
void ReadOutline(TCustomTree &tree, const QString &fileName, std::unique_ptr<TTreeAnimate> *animation)
{
    if (animation)
        animation->reset();
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


// The data formats and the diagram file, after the pictures.
const QStringList &DataExtensions()
{
    static const QStringList e = {QStringLiteral("txt"), QStringLiteral("xml"), QStringLiteral("html"),
                                  QStringLiteral("xls")};
    return e;
}

const QString kNative = QStringLiteral("abx");

TExportOption SizeOption(bool width)
{
    return {width ? QStringLiteral("width") : QStringLiteral("height"), QStringLiteral("N"),
            width ? &SOptionWidth : &SOptionHeight};
}

// The description of one extension in a format's dialog filter.
QString FilterDescription(const TKorExportFormat &f, const QString &ext)
{
    const QStringList parts = f.DialogFilter().split(QLatin1Char('|'));
    for (int i = 0; i + 1 < parts.size(); i += 2)
        if (parts[i + 1].toLower().split(QLatin1Char(';')).contains(QStringLiteral("*.") + ext))
            return parts[i];
    if (parts.size() >= 2)
        return parts[0];
    QString caption = f.MenuCaption();
    return caption.remove(QLatin1Char('&'));
}

bool ParseInt(const QString &value, int low, int high, int &out)
{
    bool ok = false;
    out = value.toInt(&ok);
    return ok && out >= low && out <= high;
}

QString BadValue(const QString &name, const QString &value)
{
    return FormatMessage(SCommandBadValue, {value, QStringLiteral("--") + name});
}

// The indentation a --delimiter names; a null character when none.
QChar Delimiter(const QString &value)
{
    const QString v = value.toLower();
    if (v == QLatin1String("space"))
        return QLatin1Char(' ');
    if (v == QLatin1String("tab"))
        return QLatin1Char('\t');
    if (v == QLatin1String("comma"))
        return QLatin1Char(',');
    if (v == QLatin1String("colon"))
        return QLatin1Char(';');
    return value.size() == 1 ? value.at(0) : QChar();
}

// Applies the options to a picture format; the error, empty when taken.
QString ApplyPictureOptions(TKorExportFormat &f, const TExportOptions &options)
{
    for (const auto &[name, value] : options) {
        if (name == QLatin1String("width") || name == QLatin1String("height")) {
            int v = 0;
            if (!ParseInt(value, 1, TExportPicture::kMaxWidth, v))
                return BadValue(name, value);
            if (name == QLatin1String("width"))
                f.SetWidth(v);
            else
                f.SetHeight(v);
            continue;
        }
        const QString error = f.SetCommandLineOption(name, value);
        if (!error.isEmpty())
            return error;
    }
    return QString();
}

// Checks the options of a data format; for a text, the indentation they
// ask for (null: the outline).
QString DataOptionsError(const QString &ext, const TExportOptions &options, QChar *indentation = nullptr)
{
    for (const auto &[name, value] : options) {
        if (ext != QLatin1String("txt") || name != QLatin1String("delimiter"))
            return FormatMessage(SCommandOptionNotForFormat, {QStringLiteral("--") + name, ext});
        const QChar c = Delimiter(value);
        if (c.isNull())
            return BadValue(name, value);
        if (indentation)
            *indentation = c;
    }
    return QString();
}

std::unique_ptr<TTreeData> DataExporter(const QString &ext, const TCustomTree &tree, const TExportOptions &options)
{
    QChar indentation;
    const QString error = DataOptionsError(ext, options, &indentation);
    if (!error.isEmpty())
        throw EExportError(error);
    if (ext == QLatin1String("txt")) {
        auto text = std::make_unique<TTreeDataText>(&tree);
        text->SetOutline(indentation.isNull());
        if (!indentation.isNull())
            text->SetIndentation(indentation);
        return text;
    }
    if (ext == QLatin1String("xml"))
        return std::make_unique<TTreeDataXML>(&tree);
    if (ext == QLatin1String("html"))
        return std::make_unique<TTreeDataHTML>(&tree);
    return std::make_unique<TTreeDataXLS>(&tree);
}

} // namespace

// ---------------------------------------------------------------------------
// The tables

std::vector<TExportCommandFormat> ExportCommandFormats()
{
    std::vector<TExportCommandFormat> formats;
    QStringList seen = DataExtensions();
    seen << kNative;
    for (const TExportFormatClass *c : ExportFormatList()) {
        const std::unique_ptr<TKorExportFormat> f = c->Create();
        for (const QString &ext : f->Extensions()) {
            if (seen.contains(ext))
                continue;
            seen << ext;
            TExportCommandFormat cf{ext, FormatMessage(SExportFormatPicture, {FilterDescription(*f, ext)}),
                                    {SizeOption(true), SizeOption(false)}};
            for (const TExportOption &o : f->CommandLineOptions())
                cf.Options.push_back(o);
            formats.push_back(cf);
        }
    }
    formats.push_back({QStringLiteral("txt"), SExportFormatText,
                       {{QStringLiteral("delimiter"), QStringLiteral("space|tab|comma|colon|C"), &SOptionDelimiter}}});
    formats.push_back({QStringLiteral("xml"), SExportFormatXML, {}});
    formats.push_back({QStringLiteral("html"), SExportFormatHTML, {}});
    formats.push_back({QStringLiteral("xls"), SExportFormatXLS, {}});
    formats.push_back({kNative, SExportFormatABX, {}});
    return formats;
}

bool FindExportCommandFormat(const QString &fileName, TExportCommandFormat *format)
{
    const QString ext = Extension(fileName);
    for (const TExportCommandFormat &f : ExportCommandFormats())
        if (f.Extension == ext) {
            if (format)
                *format = f;
            return true;
        }
    return false;
}

QString CheckExportOptions(const QString &output, const TExportOptions &options)
{
    TExportCommandFormat format;
    if (!FindExportCommandFormat(output, &format))
        return QString(); // said when the command runs
    const QString ext = format.Extension;
    for (const auto &[name, value] : options) {
        const auto it = std::find_if(format.Options.begin(), format.Options.end(),
                                     [&](const TExportOption &o) { return o.Name == name; });
        if (it == format.Options.end())
            return FormatMessage(SCommandOptionNotForFormat, {QStringLiteral("--") + name, ext});
    }
    if (ext == kNative)
        return QString();
    if (DataExtensions().contains(ext))
        return DataOptionsError(ext, options);
    std::unique_ptr<TKorExportFormat> f = FindExportFormat(ext);
    return f ? ApplyPictureOptions(*f, options) : QString();
}

void WriteExport(TCustomTree &tree, const QString &fileName, const TExportOptions &options, QStringList *notices,
                 TTreeAnimate *animation)
{
    const QString ext = Extension(fileName);
    if (ext == kNative) {
        WriteDiagram(tree, fileName, animation);
        return;
    }
    QString error;
    if (DataExtensions().contains(ext)) {
        DataExporter(ext, tree, options)->SaveToFileNamed(fileName);
        return;
    }
    std::unique_ptr<TKorExportFormat> f = FindExportFormat(ext);
    if (!f) {
        QStringList known;
        for (const TExportCommandFormat &c : ExportCommandFormats())
            known << c.Extension;
        throw EExportError(FormatMessage(SExportUnknownFormat, {fileName, FormatList(known)}));
    }
    f->SetPanel(&tree);
    f->SetWholeDiagram(&tree);
    if (auto *gif = dynamic_cast<TGIFExportFormat *>(f.get()))
        gif->SetAnimation(animation);
    error = ApplyPictureOptions(*f, options);
    if (!error.isEmpty())
        throw EExportError(error);
    if (auto *gif = dynamic_cast<TGIFExportFormat *>(f.get()); gif && gif->Animate())
        for (const auto &option : options)
            if (option.first == QLatin1String("width") || option.first == QLatin1String("height"))
                throw EExportError(SExportAnimateSize);
    f->SaveToFile(fileName);
    if (notices)
        *notices = f->Notices();
}

namespace {

std::vector<TDiagramInputKind> &InputKinds()
{
    static std::vector<TDiagramInputKind> kinds = {
        {QStringLiteral("abx"), &SInputDiagram, &ReadDiagram, {}, {}, {}, {}},
        {QStringLiteral("txt"), &SInputOutline, &ReadOutline, {}, {}, {}, {}},
    };
    return kinds;
}

} // namespace

const std::vector<TDiagramInputKind> &DiagramInputKinds()
{
    return InputKinds();
}

namespace {
std::function<std::unique_ptr<TTree>(TComponent *)> &TreeFactory()
{
    static std::function<std::unique_ptr<TTree>(TComponent *)> factory;
    return factory;
}
} // namespace

void SetCommandLineTreeFactory(std::function<std::unique_ptr<TTree>(TComponent *host)> factory)
{
    TreeFactory() = std::move(factory);
}

void RegisterDiagramInputKind(TDiagramInputKind kind)
{
    auto &kinds = InputKinds();
    for (const TDiagramInputKind &k : kinds)
        if (k.Extension == kind.Extension)
            return;
    kinds.push_back(std::move(kind));
}

const TDiagramInputKind *FindDiagramInputKind(const QString &name)
{
    for (const TDiagramInputKind &k : DiagramInputKinds())
        for (const QString &p : k.Prefixes)
            if (name.startsWith(p))
                return &k;
    const QString ext = QFileInfo(name).suffix().isEmpty() ? QStringLiteral("abx") : Extension(name);
    for (const TDiagramInputKind &k : DiagramInputKinds())
        if (k.Extension == ext)
            return &k;
    return nullptr;
}

void ReadDiagramInput(TCustomTree &tree, const QString &fileName, std::unique_ptr<TTreeAnimate> *animation,
                      const TExportOptions &options)
{
    if (const TDiagramInputKind *k = FindDiagramInputKind(fileName); k && k->ReadWithOptions) {
        try {
            k->ReadWithOptions(tree, fileName, options);
        } catch (const Exception &e) {
            if (e.Message().contains(fileName))
                throw;
            throw EFileError(FormatMessage(SInputReadFailed, {fileName, e.Message()}));
        }
        return;
    }
    // A name without extension is a diagram, as the diagram loader reads it.
    const QString ext = QFileInfo(fileName).suffix().isEmpty() ? QStringLiteral("abx") : Extension(fileName);
    QStringList known;
    for (const TDiagramInputKind &k : DiagramInputKinds()) {
        known << k.Extension;
        if (k.Extension != ext)
            continue;
        try {
            k.Read(tree, fileName, animation);
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


// The options --export takes, and whether each takes a value.
bool KnownExportOption(const QString &name, bool *takesValue)
{
    for (const TExportCommandFormat &f : ExportCommandFormats())
        for (const TExportOption &o : f.Options)
            if (o.Name == name) {
                *takesValue = !o.Value.isEmpty();
                return true;
            }
    for (const TDiagramInputKind &k : DiagramInputKinds())
        for (const TExportOption &o : k.Options)
            if (o.Name == name) {
                *takesValue = !o.Value.isEmpty();
                return true;
            }
    return false;
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
    auto error = [&cmd](const QString &text) {
        cmd.Action = TCommandLine::aError;
        cmd.Error = text;
        return cmd;
    };
    if (first == QLatin1String("--export")) {
        QStringList files;
        bool onlyFiles = false;
        for (int i = 1; i < arguments.size(); ++i) {
            const QString &a = arguments.at(i);
            if (onlyFiles || !a.startsWith(QLatin1String("--"))) {
                files << a;
                continue;
            }
            if (a == QLatin1String("--")) {
                onlyFiles = true;
                continue;
            }
            QString name = a.mid(2);
            QString value;
            const bool inlineValue = name.contains(QLatin1Char('='));
            if (inlineValue) {
                value = name.mid(name.indexOf(QLatin1Char('=')) + 1);
                name = name.left(name.indexOf(QLatin1Char('=')));
            }
            bool takesValue = false;
            if (!KnownExportOption(name, &takesValue))
                return error(FormatMessage(SCommandUnknownOption, {a}));
            if (takesValue && !inlineValue) {
                if (i + 1 >= arguments.size())
                    return error(FormatMessage(SCommandOptionNeedsValue, {QStringLiteral("--") + name}));
                value = arguments.at(++i);
            }
            cmd.Options.emplace_back(name, value);
        }
        // A database named by --db needs no input file.
        for (const auto &[name, value] : cmd.Options)
            if (name == QLatin1String("db") && files.size() == 1)
                files << value;
        if (files.size() != 2)
            return error(SCommandExportArguments);
        cmd.Output = files.at(0);
        cmd.Input = files.at(1);
        // The input's kind takes its own options; the rest are the output's.
        if (const TDiagramInputKind *kind = FindDiagramInputKind(cmd.Input)) {
            TExportOptions rest;
            for (auto &option : cmd.Options) {
                const bool own = std::any_of(kind->Options.begin(), kind->Options.end(),
                                             [&](const TExportOption &o) { return o.Name == option.first; });
                (own ? cmd.InputOptions : rest).push_back(option);
            }
            cmd.Options = std::move(rest);
        }
        const QString problem = CheckExportOptions(cmd.Output, cmd.Options);
        if (!problem.isEmpty())
            return error(problem);
        cmd.Action = TCommandLine::aExport;
        return cmd;
    }
    if (first == QLatin1String("--")) {
        cmd.File = arguments.value(1);
        return cmd;
    }
    if (first.startsWith(QLatin1Char('-')) && first.size() > 1)
        return error(FormatMessage(SCommandUnknownOption, {first}));
    // The first file is opened; further names are ignored, as for files
    // dropped on the window.
    cmd.File = first;
    return cmd;
}

QString CommandLineHelp()
{
    QString outputs, inputs, options;
    const std::vector<TExportCommandFormat> formats = ExportCommandFormats();
    for (const TExportCommandFormat &f : formats)
        outputs += QStringLiteral("    .%1  %2\n").arg(f.Extension, -5).arg(f.Description);
    for (const TDiagramInputKind &k : DiagramInputKinds())
        inputs += QStringLiteral("    .%1  %2\n").arg(k.Extension, -5).arg(k.Description->Text());
    // Each option once, with the formats that take it.
    QStringList done;
    for (const TExportCommandFormat &f : formats)
        for (const TExportOption &o : f.Options) {
            if (done.contains(o.Name))
                continue;
            done << o.Name;
            QStringList exts;
            for (const TExportCommandFormat &g : formats)
                for (const TExportOption &p : g.Options)
                    if (p.Name == o.Name)
                        exts << g.Extension;
            const QString head = o.Value.isEmpty() ? QStringLiteral("--") + o.Name
                                                   : QStringLiteral("--%1 %2").arg(o.Name, o.Value);
            options += QStringLiteral("    %1\n        %2 %3\n")
                           .arg(head, o.Description->Text(), FormatMessage(SCommandForFormats, {FormatList(exts)}));
        }
    for (const TDiagramInputKind &k : DiagramInputKinds())
        for (const TExportOption &o : k.Options) {
            if (done.contains(o.Name))
                continue;
            done << o.Name;
            const QString head = o.Value.isEmpty() ? QStringLiteral("--") + o.Name
                                                   : QStringLiteral("--%1 %2").arg(o.Name, o.Value);
            options += QStringLiteral("    %1\n        %2 %3\n")
                           .arg(head, o.Description->Text(), FormatMessage(SCommandForFormats, {k.Extension}));
        }
    return FormatMessage(SCommandHelp, {inputs, outputs, options});
}

int RunExportCommand(const QString &output, const QString &input, QTextStream &err, const TExportOptions &options,
                     const TExportOptions &inputOptions)
{
    if (!FindExportCommandFormat(output)) {
        QStringList known;
        for (const TExportCommandFormat &f : ExportCommandFormats())
            known << f.Extension;
        err << FormatMessage(SExportUnknownFormat, {output, FormatList(known)}) << Qt::endl;
        return 1;
    }
    try {
        RegisterViewClasses();
        RegisterAnimationClasses();
        // The diagram is hosted as the editor hosts it: its elements are
        // owned and named by a host called like the editor's window.
        TComponent host;
        host.SetName(QStringLiteral("TreeEditor1"));
        // Freed before the host, so the diagram frees its elements in one go.
        const TDiagramInputKind *kind = FindDiagramInputKind(input);
        const std::unique_ptr<TTree> tree =
            kind && kind->NewTree ? kind->NewTree(&host)
            : TreeFactory()      ? TreeFactory()(&host)
                                 : std::make_unique<TTree>(&host);
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
        // The animation is kept for a diagram file and played into a GIF.
        std::unique_ptr<TTreeAnimate> animation;
        ReadDiagramInput(*tree, input, &animation, inputOptions);
        QStringList notices;
        WriteExport(*tree, output, options, &notices, animation.get());
        for (const QString &n : notices)
            err << FormatMessage(SCommandNotice, {n}) << Qt::endl;
    } catch (const Exception &e) {
        err << e.Message() << Qt::endl;
        return 1;
    } catch (const std::bad_alloc &) {
        err << FormatMessage(SExportWriteFailed, {output, SExportOutOfMemory}) << Qt::endl;
        return 1;
    }
    return 0;
}
