#pragma once
// The export dialog of a panel: pages "Picture" (the registered formats,
// each with its options and the size), "Native" (the panel's own file
// format) and "Data" (text, XML, HTML table or sheet), and the buttons
// "&Copy", "&Save...", "S&end..." and "Close". Long exports show their
// progress in the dialog and can be cancelled.
//
// The diagram's dialog (TTreeExportForm, TreeExport.h) fills in what is
// particular to diagrams: the native file, the data exporters.

#include "export/ExportPicture.h"

#include <QDialog>
#include <QString>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QWidget;
class TCustomKorPanel;
class TKorExportData;
class TKorExportFormat;

class TKorExportFormBase : public QDialog, private TExportProgress
{
    Q_OBJECT
public:
    enum TPage { epPicture, epNative, epData };
    enum TDataFormat { dfText, dfXML, dfHTML, dfExcel };
    enum TDelimiter { dlSpace, dlTab, dlComma, dlColon, dlCustom };

    explicit TKorExportFormBase(QWidget *parent = nullptr);
    ~TKorExportFormBase() override;

    TCustomKorPanel *Panel() const { return FPanel; }
    void SetPanel(TCustomKorPanel *panel) { FPanel = panel; }
    // The native file: its extension ("abx") and save-dialog filter.
    void SetNative(const QString &extension, const QString &filter);
    const QString &NativeExtension() const { return FNativeExtension; }
    // The name mailed files get, and the mail's subject.
    const QString &BaseName() const { return FBaseName; }
    void SetBaseName(const QString &name) { FBaseName = name; }

    // What showing the dialog does first (also for sending without it):
    // the size fields take the panel's size, the format list is filled.
    void Prepare();

    // --- Controls (tests drive them) -----------------------------------
    QTabWidget *Pages() const { return FPages; }
    QListWidget *Formats() const { return FFormats; }
    QTabWidget *PictureTabs() const { return FPictureTabs; }
    QWidget *OptionsTab() const { return FOptionsTab; }
    QWidget *SizeTab() const { return FSizeTab; }
    QSpinBox *WidthEdit() const { return FWidth; }
    QSpinBox *HeightEdit() const { return FHeight; }
    QCheckBox *KeepAspectRatio() const { return FKeepAspect; }
    QCheckBox *FileSize() const { return FFileSize; }
    QLabel *FileSizeLabel() const { return FFileSizeLabel; }
    QComboBox *DataFormat() const { return FDataFormat; }
    QComboBox *Delimiter() const { return FDelimiter; }
    QLineEdit *CustomDelimiter() const { return FCustom; }
    QPushButton *CopyButton() const { return FCopy; }
    QPushButton *SaveButton() const { return FSave; }
    QPushButton *SendButton() const { return FSend; }
    QPushButton *CloseButton() const { return FClose; }
    QPushButton *CancelButton() const { return FCancel; }
    QProgressBar *ProgressBar() const { return FProgress; }
    // The chart-oriented controls (hidden for diagrams).
    QWidget *ChartControls() const { return FChartControls; }

    // The format object of a list entry, and the selected one.
    TKorExportFormat *Format(int index) const;
    TKorExportFormat *SelectedFormat() const;
    // Selects the entry with this caption; false when there is none.
    bool SelectFormat(const QString &caption);
    // The indentation character the delimiter choice gives.
    QChar IndentationCharacter() const;
    // Whether an export is running (the other buttons are disabled, Cancel
    // stops it).
    bool Exporting() const { return FExporting; }

    // The button actions.
    void CopyClicked();
    void SaveClicked();
    void SendClicked();
    // Lays out enabled states after a page or format change.
    void UpdateButtons();

protected:
    // --- What a kind of panel adds -----------------------------------
    // Whether there is anything to export as data.
    virtual bool HasData() const { return false; }
    // The data exporter of a format; null when the panel has none.
    virtual std::unique_ptr<TKorExportData> CreateData(TDataFormat format) const;
    // Writes the panel in its native format.
    virtual void WriteNative(QIODevice &stream);

    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    void FormatChosen();
    void WidthChanged(int value);
    void HeightChanged(int value);
    void FileSizeToggled(bool on);
    void PageChanged();
    // The extension of the data file for the current choice (send).
    QString DataExtension() const;
    int DataFilterIndex() const;
    // Saves the current page's export to a file; true when written.
    bool SaveTo(const QString &fileName);
    bool SaveNativeTo(const QString &fileName);
    // Runs an export with the progress shown, the cursor busy and errors
    // reported; true when it finished.
    bool RunExport(const std::function<void()> &work);
    bool Step(qint64 done, qint64 total) override;

    TCustomKorPanel *FPanel = nullptr;
    QString FNativeExtension;
    QString FNativeFilter;
    QString FPictureFilter;
    QString FBaseName;
    double FRatio = 0;
    bool FUpdatingSize = false;
    bool FExporting = false;
    bool FCancelRequested = false;
    bool FPrepared = false;
    std::vector<std::unique_ptr<TKorExportFormat>> FFormatObjects;

    QTabWidget *FPages;
    QListWidget *FFormats;
    QTabWidget *FPictureTabs;
    QWidget *FOptionsTab;
    QWidget *FOptionsHolder = nullptr;
    QWidget *FSizeTab;
    QSpinBox *FWidth;
    QSpinBox *FHeight;
    QCheckBox *FKeepAspect;
    QCheckBox *FFileSize;
    QLabel *FFileSizeLabel;
    QComboBox *FDataFormat;
    QComboBox *FDelimiter;
    QLineEdit *FCustom;
    QWidget *FChartControls;
    QPushButton *FCopy;
    QPushButton *FSave;
    QPushButton *FSend;
    QPushButton *FClose;
    QPushButton *FCancel;
    QProgressBar *FProgress;
};
