#pragma once
// The command line of the program: open a file in the window, or export a
// diagram or text outline without any window:
//
//   dendrix [FILE]
//   dendrix --export OUT IN [--width N] [--height N] [--quality N] ...
//   dendrix --help
//
// OUT's extension chooses what is written: a picture of the whole diagram
// in any registered format, the node hierarchy as data (text outline, XML,
// HTML table, sheet), or a diagram file. The formats' settings are options;
// an option the chosen format does not take is an error.

#include "export/KorExport.h"

#include <QString>
#include <functional>
#include <memory>
#include <QStringList>
#include <memory>
#include <utility>
#include <vector>

class QTextStream;
class TComponent;
class TCustomTree;
class TTree;
class TTreeAnimate;
class TMessageText;

// Options as given: name (without dashes) and value (empty for a switch).
using TExportOptions = std::vector<std::pair<QString, QString>>;

struct TCommandLine
{
    enum TAction { aOpen, aExport, aHelp, aError };
    TAction Action = aOpen;
    // aOpen: the file named (empty for none).
    QString File;
    // aExport: the file to write, the file to read and the options.
    QString Output;
    QString Input;
    TExportOptions Options;
    // aExport: the options the input's kind takes (a database's table and
    // fields).
    TExportOptions InputOptions;
    // aError: what is wrong with the arguments.
    QString Error;
};

// Reads the arguments that follow the program name.
TCommandLine ParseCommandLine(const QStringList &arguments);
// The text of --help.
QString CommandLineHelp();
// Exit status of a command line that cannot be understood.
constexpr int kUsageExitCode = 2;

// A kind of file the command writes.
struct TExportCommandFormat
{
    QString Extension; // lower case, without the dot
    QString Description;
    // The options it takes.
    std::vector<TExportOption> Options;
};
std::vector<TExportCommandFormat> ExportCommandFormats();
// The format a file name's extension asks for; false when none.
bool FindExportCommandFormat(const QString &fileName, TExportCommandFormat *format = nullptr);
// Checks options against the output's format: the error, empty when they
// fit.
QString CheckExportOptions(const QString &output, const TExportOptions &options);

// Writes the diagram as the file name's extension asks, with the options
// (already checked). Throws on failure; what the format has to tell goes
// to `notices`.
// A diagram file (.abx) holds the animation too, and a GIF written with
// --animate plays it.
void WriteExport(TCustomTree &tree, const QString &fileName, const TExportOptions &options = {},
                 QStringList *notices = nullptr, TTreeAnimate *animation = nullptr);

// A kind of file a diagram is read from.
struct TDiagramInputKind
{
    QString Extension; // lower case, without the dot
    const TMessageText *Description;
    // Reads the file into the diagram, and its animation into `animation`
    // (null: none is wanted; set to null when the file has none).
    void (*Read)(TCustomTree &tree, const QString &fileName, std::unique_ptr<TTreeAnimate> *animation);
    // A kind registered by another part of the program: also matched by a
    // prefix of the name ("postgresql://"), with options of its own and the
    // diagram it reads into.
    QStringList Prefixes;
    std::vector<TExportOption> Options;
    std::function<void(TCustomTree &tree, const QString &name, const TExportOptions &options)> ReadWithOptions;
    std::function<std::unique_ptr<TTree>(TComponent *host)> NewTree;
};
// The diagram an input without a diagram of its own is read into (a plain
// diagram unless a part of the program that files may need sets another).
void SetCommandLineTreeFactory(std::function<std::unique_ptr<TTree>(TComponent *host)> factory);
// Adds a kind of input (the database tables, say) to the command line.
void RegisterDiagramInputKind(TDiagramInputKind kind);
// The kind that reads `name`, null when none does.
const TDiagramInputKind *FindDiagramInputKind(const QString &name);
const std::vector<TDiagramInputKind> &DiagramInputKinds();
// Reads a file into a diagram by its extension; throws an Exception whose
// message names the file and the reason.
// With `animation`, a diagram file's animation is read into it.
void ReadDiagramInput(TCustomTree &tree, const QString &fileName, std::unique_ptr<TTreeAnimate> *animation = nullptr,
                      const TExportOptions &options = {});

// Reads `input` into a new diagram and writes it to `output`. Answers 0
// when written; otherwise writes a message to `err` and answers 1.
int RunExportCommand(const QString &output, const QString &input, QTextStream &err,
                     const TExportOptions &options = {}, const TExportOptions &inputOptions = {});
