#pragma once
// Export formats: the registry of picture formats, each an object that
// renders a panel at a chosen size into one file format, its options page,
// and the writers behind them.
//
//   for (const TExportFormatClass *c : ExportFormatList()) {
//       std::unique_ptr<TKorExportFormat> f = c->Create();
//       f->SetPanel(&tree);
//       f->SaveToFile("plan." + f->DefaultExtension());
//   }
//
// A format draws the panel's view in (0, 0, Width, Height), 0 standing for
// the panel's own size, or the whole diagram when told so (the export
// command). Files are written beside their target and put in place only
// when complete (ExportFile.h).

#include "export/ExportFile.h"
#include "export/ExportPicture.h"

#include "core/Messages.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QIODevice;
class QMimeData;
class QWidget;
class TCustomKorPanel;
class TCustomTree;

// A setting a format takes on the command line ("--quality 80").
struct TExportOption
{
    QString Name;         // without dashes: "quality"
    QString Value;        // what the value is, for the help: "1..100"; empty for a switch
    const TMessageText *Description; // for the help
};

class TKorExportFormat
{
public:
    TKorExportFormat();
    virtual ~TKorExportFormat();
    TKorExportFormat(const TKorExportFormat &) = delete;
    TKorExportFormat &operator=(const TKorExportFormat &) = delete;

    // --- The operations every format has, in slot order -----------------
    virtual void CopyImageToClipboard() = 0;
    // The 1-based entry of the save dialog's filter list to preselect.
    virtual int SaveDialogFilterIndex() const { return FFirstFilterPosition; }
    // Takes the next filter position(s) of the dialog's list.
    virtual void ReserveFilterSlots(int &counter);
    // The caption of the dialog's format list ("as &Bitmap").
    virtual QString MenuCaption() const = 0;
    // Without the dot.
    virtual QString DefaultExtension() const = 0;
    // Pairs of description and pattern, separated by vertical bars.
    virtual QString DialogFilter() const = 0;
    virtual void WriteImage(QIODevice &stream) = 0;
    // The options page, created when asked with create = true; null for a
    // format without options. Owned by the format.
    virtual QWidget *OptionsPanel(bool create);

    // --- Wrappers -----------------------------------------------------
    // Copies the picture to the clipboard. Throws EExportError without a
    // panel.
    void Copy();
    // Writes the named file, replacing any existing one only when the
    // whole file was written. Throws without a panel, on write errors
    // (naming the file and the reason) and, when the progress says stop,
    // EExportCancelled.
    void SaveToFile(const QString &fileName);

    // --- Settings -----------------------------------------------------
    int FirstFilterPosition() const { return FFirstFilterPosition; }
    void SetFirstFilterPosition(int value) { FFirstFilterPosition = value; }
    int Width() const { return FWidth; }
    void SetWidth(int value) { FWidth = value; }
    int Height() const { return FHeight; }
    void SetHeight(int value) { FHeight = value; }
    TCustomKorPanel *Panel() const { return FPanel; }
    void SetPanel(TCustomKorPanel *panel) { FPanel = panel; }
    // The whole diagram instead of the panel's view (Width and Height then
    // scale it; 0 keeps its own size).
    void SetWholeDiagram(TCustomTree *tree) { FWholeDiagram = tree; }
    TCustomTree *WholeDiagram() const { return FWholeDiagram; }
    // Told of every strip of a long export; may stop it.
    void SetProgress(TExportProgress *progress) { FProgress = progress; }
    TExportProgress *Progress() const { return FProgress; }
    // Memory a strip of a raster may take (tests make strips small).
    void SetStripBytes(qint64 bytes) { FStripBytes = bytes; }

    // What the last export has to tell besides success ("The metafile holds
    // a bitmap: ...").
    const QStringList &Notices() const { return FNotices; }

    // Every extension the format writes, lower case ("emf", "wmf").
    virtual QStringList Extensions() const;
    // Takes the variant an extension names (the metafile's kind).
    virtual void ChooseExtension(const QString &extension) { Q_UNUSED(extension); }
    // The settings it takes on the command line, and setting one: answers
    // the error, empty when taken.
    virtual std::vector<TExportOption> CommandLineOptions() const { return {}; }
    virtual QString SetCommandLineOption(const QString &name, const QString &value);

protected:
    // Throws "Panel property is not set in Export format" without a panel.
    void CheckPanel() const;
    // The picture to draw, at the export size.
    TExportPicture Picture() const;
    // Puts data on the clipboard (owned by it afterwards).
    static void SetClipboard(QMimeData *data);
    void Notice(const QString &text) { FNotices << text; }
    void ClearNotices() { FNotices.clear(); }
    // "The option --x does not apply to ..." helpers.
    static QString BadValue(const QString &name, const QString &value);

private:
    int FFirstFilterPosition = 0;
    int FWidth = 0;
    int FHeight = 0;
    TCustomKorPanel *FPanel = nullptr;
    TCustomTree *FWholeDiagram = nullptr;
    TExportProgress *FProgress = nullptr;
    qint64 FStripBytes = TExportPicture::kStripBytes;
    QStringList FNotices;
};

// A registered format class.
struct TExportFormatClass
{
    const char *Name; // "TBMPExportFormat"
    std::unique_ptr<TKorExportFormat> (*Create)();
};

template <class T>
const TExportFormatClass &ExportFormatClassOf()
{
    static const TExportFormatClass c{T::ClassName(), [] { return std::unique_ptr<TKorExportFormat>(new T); }};
    return c;
}

// The registered formats in order: the dialog's format list and the save
// dialog's filters. The program's own formats are registered on first use:
// bitmap, metafile, VML page, PCX, GIF, PNG (when its library is present),
// JPEG, then PDF and SVG.
const std::vector<const TExportFormatClass *> &ExportFormatList();
void AddExportFormat(const TExportFormatClass &format);
void RemoveExportFormat(const TExportFormatClass &format);

// The first registered format (in order) writing a file extension (any
// case, without the dot), ready to use and told which variant the
// extension names; null when none writes it.
std::unique_ptr<TKorExportFormat> FindExportFormat(const QString &extension);

// Save As with an export extension: the format of the file name's
// extension writes the diagram's view at the diagram's size. Answers false
// (and writes nothing) when no format has that extension; throws on
// failure as SaveToFile does. `notices` receives what the format has to
// tell (a metafile that holds a bitmap).
bool ExportDiagramToFile(TCustomTree &tree, const QString &fileName, QStringList *notices = nullptr);

// The dialog filter of every registered format after the native one:
// "Arbolix v2 files (*.abx)|*.abx|Bitmaps (*.bmp)|*.bmp|...".
QString ExportSaveFilter(const QString &nativeFilter);

// The writers and the export command, for callers that include this one
// header.
#include "export/KorBMP.h"
#include "export/KorExportCommand.h"
#include "export/KorExportConst.h"
#include "export/KorPNG.h"
