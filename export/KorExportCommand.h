#pragma once
// The command line of the program: open a file in the window, or export a
// diagram or text outline without any window:
//
//   dendrix [FILE]
//   dendrix --export OUT IN
//   dendrix --help
//
// Export formats and input kinds are looked up by file extension in two
// small tables; a new format is one more row.

#include <QString>
#include <QStringList>
#include <vector>

class QTextStream;
class TCustomTree;
class TMessageText;

struct TCommandLine
{
    enum TAction { aOpen, aExport, aHelp, aError };
    TAction Action = aOpen;
    // aOpen: the file named (empty for none).
    QString File;
    // aExport: the file to write and the file to read.
    QString Output;
    QString Input;
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
    const TMessageText *Description;
    void (*Write)(TCustomTree &tree, const QString &fileName);
};
const std::vector<TExportCommandFormat> &ExportCommandFormats();
// The format a file name's extension asks for, or null.
const TExportCommandFormat *FindExportCommandFormat(const QString &fileName);

// A kind of file a diagram is read from.
struct TDiagramInputKind
{
    QString Extension; // lower case, without the dot
    const TMessageText *Description;
    void (*Read)(TCustomTree &tree, const QString &fileName);
};
const std::vector<TDiagramInputKind> &DiagramInputKinds();
// Reads a file into a diagram by its extension; throws an Exception whose
// message names the file and the reason.
void ReadDiagramInput(TCustomTree &tree, const QString &fileName);

// Reads `input` into a new diagram and writes it to `output`. Answers 0
// when written; otherwise writes a message to `err` and answers 1.
int RunExportCommand(const QString &output, const QString &input, QTextStream &err);
