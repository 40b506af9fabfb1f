#include "export/KorExportForm.h"

#include "core/ScopeExit.h"
#include "dialogs/KorPrompts.h"
#include "export/KorExport.h"
#include "export/KorExportConst.h"
#include "export/KorMail.h"
#include "export/TreeData.h"
#include "i18n/KorTranslate.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <cmath>

namespace {

QLabel *Buddy(const QString &text, QWidget *control, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(control);
    return label;
}

// The pattern of a filter entry ("*.xml" of "XML files (*.xml)|*.xml"),
// 1-based; its extension without the dot.
QString FilterExtension(const QString &filter, int index)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    const int at = 2 * (index - 1) + 1;
    if (index < 1 || at >= parts.size())
        return QString();
    QString pattern = parts.at(at).split(QLatin1Char(';')).first();
    return pattern.mid(pattern.lastIndexOf(QLatin1Char('.')) + 1);
}

QString WithExtension(const QString &fileName, const QString &extension)
{
    const QFileInfo info(fileName);
    const QString base = info.suffix().isEmpty() ? fileName : fileName.left(fileName.size() - info.suffix().size() - 1);
    return base + QLatin1Char('.') + extension;
}

} // namespace

TKorExportFormBase::TKorExportFormBase(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ExportForm"));
    setWindowTitle(QStringLiteral("Export"));
    auto *layout = new QVBoxLayout(this);
    FPages = new QTabWidget(this);
    FPages->setObjectName(QStringLiteral("PageControl1"));
    layout->addWidget(FPages);

    // --- Picture
    auto *picture = new QWidget;
    picture->setObjectName(QStringLiteral("TabPicture"));
    auto *pictureLayout = new QHBoxLayout(picture);
    auto *left = new QVBoxLayout;
    FFormats = new QListWidget(picture);
    FFormats->setObjectName(QStringLiteral("RGFormat"));
    left->addWidget(Buddy(QStringLiteral("&Format"), FFormats, picture));
    left->addWidget(FFormats);
    pictureLayout->addLayout(left, 1);
    FPictureTabs = new QTabWidget(picture);
    FPictureTabs->setObjectName(QStringLiteral("PageOptions"));
    FOptionsTab = new QWidget;
    FOptionsTab->setObjectName(QStringLiteral("TabOptions"));
    new QVBoxLayout(FOptionsTab);
    FSizeTab = new QWidget;
    FSizeTab->setObjectName(QStringLiteral("TabSize"));
    auto *sizeForm = new QFormLayout(FSizeTab);
    FWidth = new QSpinBox(FSizeTab);
    FWidth->setObjectName(QStringLiteral("UDWidth"));
    FWidth->setRange(0, 3000);
    FHeight = new QSpinBox(FSizeTab);
    FHeight->setObjectName(QStringLiteral("UDHeight"));
    FHeight->setRange(0, 3000);
    sizeForm->addRow(Buddy(QStringLiteral("&Width:"), FWidth, FSizeTab), FWidth);
    sizeForm->addRow(Buddy(QStringLiteral("&Height:"), FHeight, FSizeTab), FHeight);
    FKeepAspect = new QCheckBox(QStringLiteral("&Keep aspect ratio"), FSizeTab);
    FKeepAspect->setObjectName(QStringLiteral("CBKeepAspect"));
    FKeepAspect->setChecked(true);
    sizeForm->addRow(FKeepAspect);
    FPictureTabs->addTab(FOptionsTab, QStringLiteral("Options"));
    FPictureTabs->addTab(FSizeTab, QStringLiteral("Size"));
    pictureLayout->addWidget(FPictureTabs, 2);
    FPages->addTab(picture, QStringLiteral("Picture"));

    // --- Native
    auto *native = new QWidget;
    native->setObjectName(QStringLiteral("TabNative"));
    auto *nativeLayout = new QHBoxLayout(native);
    FFileSize = new QCheckBox(QStringLiteral("&File size:"), native);
    FFileSize->setObjectName(QStringLiteral("CBFileSize"));
    FFileSizeLabel = new QLabel(QStringLiteral("?"), native);
    FFileSizeLabel->setObjectName(QStringLiteral("LabelSize"));
    nativeLayout->addWidget(FFileSize);
    nativeLayout->addWidget(FFileSizeLabel, 1);
    nativeLayout->setAlignment(Qt::AlignTop);
    FPages->addTab(native, QStringLiteral("Native"));

    // --- Data
    auto *data = new QWidget;
    data->setObjectName(QStringLiteral("TabData"));
    auto *dataForm = new QFormLayout(data);
    FDataFormat = new QComboBox(data);
    FDataFormat->setObjectName(QStringLiteral("RGText"));
    FDataFormat->addItems({QStringLiteral("Text"), QStringLiteral("XML"), QStringLiteral("HTML Table"),
                           QStringLiteral("Excel")});
    dataForm->addRow(Buddy(QStringLiteral("&Format:"), FDataFormat, data), FDataFormat);
    auto *delimiterRow = new QHBoxLayout;
    FDelimiter = new QComboBox(data);
    FDelimiter->setObjectName(QStringLiteral("CBDelim"));
    FDelimiter->addItems({QStringLiteral("Space"), QStringLiteral("Tab"), QStringLiteral("Comma"),
                          QStringLiteral("Colon"), QStringLiteral("Custom")});
    FCustom = new QLineEdit(data);
    FCustom->setObjectName(QStringLiteral("EDelimiter"));
    FCustom->setMaxLength(1);
    FCustom->setMaximumWidth(40);
    delimiterRow->addWidget(FDelimiter, 1);
    delimiterRow->addWidget(FCustom);
    dataForm->addRow(Buddy(QStringLiteral("&Delimiter:"), FDelimiter, data), delimiterRow);
    // The chart-oriented controls of panels with series.
    FChartControls = new QWidget(data);
    FChartControls->setObjectName(QStringLiteral("ChartControls"));
    auto *chart = new QFormLayout(FChartControls);
    chart->setContentsMargins(0, 0, 0, 0);
    auto *series = new QComboBox(FChartControls);
    series->setObjectName(QStringLiteral("CBSeries"));
    chart->addRow(Buddy(QStringLiteral("Se&ries:"), series, FChartControls), series);
    auto *include = new QGroupBox(QStringLiteral("&Include:"), FChartControls);
    include->setObjectName(QStringLiteral("GBInclude"));
    auto *includeLayout = new QVBoxLayout(include);
    includeLayout->addWidget(new QCheckBox(QStringLiteral("&Include Series data"), include));
    chart->addRow(include);
    dataForm->addRow(FChartControls);
    FPages->addTab(data, QStringLiteral("Data"));

    // --- Progress and buttons
    auto *bottom = new QHBoxLayout;
    FProgress = new QProgressBar(this);
    FProgress->setObjectName(QStringLiteral("Progress"));
    FProgress->setVisible(false);
    bottom->addWidget(FProgress, 1);
    FCancel = new QPushButton(QStringLiteral("Cancel"), this);
    FCancel->setObjectName(QStringLiteral("BCancel"));
    FCancel->setVisible(false);
    bottom->addWidget(FCancel);
    bottom->addStretch();
    FCopy = new QPushButton(QStringLiteral("&Copy"), this);
    FCopy->setObjectName(QStringLiteral("BCopy"));
    FSave = new QPushButton(QStringLiteral("&Save..."), this);
    FSave->setObjectName(QStringLiteral("BSave"));
    FSave->setDefault(true);
    FSend = new QPushButton(QStringLiteral("S&end..."), this);
    FSend->setObjectName(QStringLiteral("BSend"));
    FClose = new QPushButton(QStringLiteral("Close"), this);
    FClose->setObjectName(QStringLiteral("BClose"));
    for (QPushButton *b : {FCopy, FSave, FSend, FClose}) {
        b->setAutoDefault(false);
        bottom->addWidget(b);
    }
    FSave->setAutoDefault(true);
    layout->addLayout(bottom);

    connect(FFormats, &QListWidget::currentRowChanged, this, [this] { FormatChosen(); });
    connect(FWidth, qOverload<int>(&QSpinBox::valueChanged), this, &TKorExportFormBase::WidthChanged);
    connect(FHeight, qOverload<int>(&QSpinBox::valueChanged), this, &TKorExportFormBase::HeightChanged);
    connect(FFileSize, &QCheckBox::toggled, this, &TKorExportFormBase::FileSizeToggled);
    connect(FPages, &QTabWidget::currentChanged, this, [this] { PageChanged(); });
    connect(FDataFormat, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] { UpdateButtons(); });
    connect(FDelimiter, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] { UpdateButtons(); });
    connect(FCopy, &QPushButton::clicked, this, &TKorExportFormBase::CopyClicked);
    connect(FSave, &QPushButton::clicked, this, &TKorExportFormBase::SaveClicked);
    connect(FSend, &QPushButton::clicked, this, &TKorExportFormBase::SendClicked);
    connect(FClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(FCancel, &QPushButton::clicked, this, [this] { FCancelRequested = true; });
    setTabOrder(FFormats, FPictureTabs);
    resize(520, 340);
}

TKorExportFormBase::~TKorExportFormBase()
{
    // The options pages live in the formats; they leave the dialog first.
    if (FOptionsHolder)
        FOptionsHolder->setParent(nullptr);
    FOptionsHolder = nullptr;
}

void TKorExportFormBase::SetNative(const QString &extension, const QString &filter)
{
    FNativeExtension = extension;
    FNativeFilter = filter;
}

TKorExportFormat *TKorExportFormBase::Format(int index) const
{
    return index >= 0 && index < int(FFormatObjects.size()) ? FFormatObjects[size_t(index)].get() : nullptr;
}

TKorExportFormat *TKorExportFormBase::SelectedFormat() const
{
    return Format(FFormats->currentRow());
}

bool TKorExportFormBase::SelectFormat(const QString &caption)
{
    for (int i = 0; i < FFormats->count(); ++i)
        if (Format(i)->MenuCaption() == caption) {
            FFormats->setCurrentRow(i);
            return true;
        }
    return false;
}

void TKorExportFormBase::Prepare()
{
    if (FPanel) {
        FUpdatingSize = true;
        FWidth->setValue(std::min(FPanel->width(), FWidth->maximum()));
        FHeight->setValue(std::min(FPanel->height(), FHeight->maximum()));
        FUpdatingSize = false;
        FRatio = FPanel->height() > 0 ? double(FPanel->width()) / FPanel->height() : 0.0;
        FPages->setTabVisible(epData, true);
    }
    if (!FPrepared) {
        FPrepared = true;
        int counter = 0;
        for (const TExportFormatClass *c : ExportFormatList()) {
            std::unique_ptr<TKorExportFormat> f = c->Create();
            f->SetPanel(FPanel);
            f->ReserveFilterSlots(counter);
            if (!FPictureFilter.isEmpty())
                FPictureFilter += QLatin1Char('|');
            FPictureFilter += f->DialogFilter();
            // A list shows no mnemonics: the caption without its marker.
            QString shown = f->MenuCaption();
            shown.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(QLatin1Char('&')).replace(QLatin1Char('\x01'), QLatin1Char('&'));
            FFormats->addItem(shown);
            FFormatObjects.push_back(std::move(f));
        }
    } else {
        for (auto &f : FFormatObjects)
            f->SetPanel(FPanel);
    }
    FDelimiter->setCurrentIndex(dlTab);
    if (FFormats->count() > 0) {
        if (FFormats->currentRow() == 0)
            FormatChosen();
        FFormats->setCurrentRow(0);
    }
    UpdateButtons();
}

void TKorExportFormBase::showEvent(QShowEvent *event)
{
    Prepare();
    TranslateForm(this);
    QDialog::showEvent(event);
}

void TKorExportFormBase::reject()
{
    // Closing while an export runs stops the export.
    if (FExporting) {
        FCancelRequested = true;
        return;
    }
    QDialog::reject();
}

void TKorExportFormBase::FormatChosen()
{
    TKorExportFormat *f = SelectedFormat();
    if (FOptionsHolder) {
        FOptionsHolder->hide();
        FOptionsTab->layout()->removeWidget(FOptionsHolder);
        FOptionsHolder->setParent(nullptr);
        FOptionsHolder = nullptr;
    }
    QWidget *options = f ? f->OptionsPanel(true) : nullptr;
    const bool any = options && !options->findChildren<QWidget *>().isEmpty();
    FPictureTabs->setTabVisible(0, any);
    if (any) {
        FOptionsHolder = options;
        FOptionsTab->layout()->addWidget(options);
        options->show();
        FPictureTabs->setCurrentWidget(FOptionsTab);
    } else {
        FPictureTabs->setCurrentWidget(FSizeTab);
    }
    UpdateButtons();
}

void TKorExportFormBase::WidthChanged(int value)
{
    if (!isVisible() || FUpdatingSize || !FKeepAspect->isChecked() || FRatio == 0)
        return;
    FUpdatingSize = true;
    TAtExit done([this] { FUpdatingSize = false; });
    FHeight->setValue(int(std::nearbyint(value / FRatio)));
}

void TKorExportFormBase::HeightChanged(int value)
{
    if (!isVisible() || FUpdatingSize || !FKeepAspect->isChecked() || FRatio == 0)
        return;
    FUpdatingSize = true;
    TAtExit done([this] { FUpdatingSize = false; });
    FWidth->setValue(int(std::nearbyint(value * FRatio)));
}

void TKorExportFormBase::FileSizeToggled(bool on)
{
    if (!on) {
        FFileSizeLabel->setText(QStringLiteral("?"));
        return;
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (RunExport([&] { WriteNative(buffer); }))
        FFileSizeLabel->setText(FormatMessage(SExportFileSize, {QString::number(buffer.size())}));
}

void TKorExportFormBase::PageChanged()
{
    UpdateButtons();
}

void TKorExportFormBase::UpdateButtons()
{
    const int page = FPages->currentIndex();
    bool copy = false;
    if (page == epPicture)
        copy = SelectedFormat() != nullptr;
    else if (page == epData)
        copy = HasData() && FDataFormat->currentIndex() != dfExcel;
    const bool save = !FExporting && (page == epNative || copy || (page == epData && HasData()));
    FCopy->setEnabled(!FExporting && copy);
    FSave->setEnabled(save);
    FSend->setEnabled(save && TMailSender::Available());
    FCustom->setEnabled(FDelimiter->currentIndex() == dlCustom);
}

QChar TKorExportFormBase::IndentationCharacter() const
{
    switch (FDelimiter->currentIndex()) {
    case dlSpace: return QLatin1Char(' ');
    case dlComma: return QLatin1Char(',');
    case dlColon: return QLatin1Char(';');
    case dlCustom: return FCustom->text().isEmpty() ? QLatin1Char(' ') : FCustom->text().at(0);
    default: return QLatin1Char('\t');
    }
}

std::unique_ptr<TKorExportData> TKorExportFormBase::CreateData(TDataFormat) const
{
    return nullptr;
}

void TKorExportFormBase::WriteNative(QIODevice &)
{
}

bool TKorExportFormBase::Step(qint64 done, qint64 total)
{
    if (total > 1) {
        if (!FProgress->isVisible()) {
            FProgress->setVisible(true);
            FCancel->setVisible(true);
        }
        FProgress->setRange(0, 1000);
        FProgress->setValue(int(done * 1000 / total));
        FProgress->setFormat(FormatMessage(SExportProgress, {QString::number(done * 100 / total)}));
    }
    // The dialog stays alive and Cancel can be pressed.
    QCoreApplication::processEvents();
    return !FCancelRequested;
}

bool TKorExportFormBase::RunExport(const std::function<void()> &work)
{
    FExporting = true;
    FCancelRequested = false;
    for (QWidget *w : {static_cast<QWidget *>(FPages), static_cast<QWidget *>(FClose)})
        w->setEnabled(false);
    UpdateButtons();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString failure;
    bool cancelled = false;
    {
        TAtExit restore([this] {
            QApplication::restoreOverrideCursor();
            FExporting = false;
            FProgress->setVisible(false);
            FCancel->setVisible(false);
            FPages->setEnabled(true);
            FClose->setEnabled(true);
            UpdateButtons();
        });
        try {
            work();
        } catch (const EExportCancelled &) {
            cancelled = true;
        } catch (const Exception &e) {
            failure = e.Message();
        } catch (const std::bad_alloc &) {
            failure = SExportOutOfMemory;
        }
    }
    if (!failure.isEmpty())
        Prompts().Message(this, pkError, failure);
    return failure.isEmpty() && !cancelled;
}

// ---------------------------------------------------------------------------
// Buttons

void TKorExportFormBase::CopyClicked()
{
    if (FPages->currentIndex() == epPicture) {
        TKorExportFormat *f = SelectedFormat();
        if (!f)
            return;
        f->SetWidth(FWidth->value());
        f->SetHeight(FHeight->value());
        f->SetProgress(this);
        RunExport([f] { f->Copy(); });
        f->SetProgress(nullptr);
        return;
    }
    if (FPages->currentIndex() == epData) {
        std::unique_ptr<TKorExportData> data = CreateData(TDataFormat(FDataFormat->currentIndex()));
        if (data)
            RunExport([&] { data->CopyTextToClipboard(); });
    }
}

int TKorExportFormBase::DataFilterIndex() const
{
    const int format = FDataFormat->currentIndex();
    if (format != dfText)
        return format + 4;
    // A custom delimiter writes text too: the first text entry, not the
    // entry after the four delimiters (which is XML's).
    const int delimiter = FDelimiter->currentIndex();
    return delimiter == dlCustom ? 1 : delimiter + 1;
}

QString TKorExportFormBase::DataExtension() const
{
    return FilterExtension(SExportFilterData, DataFilterIndex());
}

bool TKorExportFormBase::SaveNativeTo(const QString &fileName)
{
    return RunExport([&] {
        TExportFile file(fileName);
        file.Open();
        WriteNative(file);
        file.Commit();
    });
}

bool TKorExportFormBase::SaveTo(const QString &fileName)
{
    switch (FPages->currentIndex()) {
    case epPicture: {
        TKorExportFormat *f = SelectedFormat();
        if (!f)
            return false;
        f->SetWidth(FWidth->value());
        f->SetHeight(FHeight->value());
        f->SetProgress(this);
        TAtExit unhook([f] { f->SetProgress(nullptr); });
        const bool ok = RunExport([&] { f->SaveToFile(fileName); });
        if (ok)
            for (const QString &n : f->Notices())
                Prompts().Message(this, pkInformation, n);
        return ok;
    }
    case epNative: return SaveNativeTo(fileName);
    default: {
        std::unique_ptr<TKorExportData> data = CreateData(TDataFormat(FDataFormat->currentIndex()));
        if (!data)
            return false;
        return RunExport([&] { data->SaveToFileNamed(fileName); });
    }
    }
}

void TKorExportFormBase::SaveClicked()
{
    TFileDialogOptions o;
    o.Parent = this;
    switch (FPages->currentIndex()) {
    case epPicture: {
        TKorExportFormat *f = SelectedFormat();
        if (!f)
            return;
        o.Filter = FPictureFilter;
        o.FilterIndex = f->SaveDialogFilterIndex() - 1;
        o.DefaultSuffix = f->DefaultExtension();
        const QString name = Prompts().SaveFileName(o);
        if (name.isEmpty())
            return;
        // A name ending in another extension of the format (".wmf" for a
        // metafile) takes that variant.
        const QString ext = QFileInfo(name).suffix().toLower();
        if (f->Extensions().contains(ext))
            f->ChooseExtension(ext);
        SaveTo(name);
        return;
    }
    case epNative: {
        o.Filter = FNativeFilter;
        o.DefaultSuffix = FNativeExtension;
        // The extension is put right before the question whether to replace
        // the file, so the question names the file that is written.
        o.ConfirmOverwrite = false;
        QString name = Prompts().SaveFileName(o);
        if (name.isEmpty())
            return;
        name = WithExtension(name, FNativeExtension);
        if (QFileInfo::exists(name) &&
            Prompts().Ask(this, pkConfirmation, FormatMessage(SExportReplaceFile, {QFileInfo(name).fileName()}),
                          paYes | paNo) != paYes)
            return;
        SaveNativeTo(name);
        return;
    }
    default: {
        o.Filter = SExportFilterData;
        o.FilterIndex = DataFilterIndex() - 1;
        o.DefaultSuffix = DataExtension();
        const QString name = Prompts().SaveFileName(o);
        if (name.isEmpty())
            return;
        const int chosen = o.FilterIndex + 1;
        FDataFormat->setCurrentIndex(chosen > 4 ? chosen - 4 : dfText);
        SaveTo(name);
        return;
    }
    }
}

void TKorExportFormBase::SendClicked()
{
    auto folder = std::make_unique<QTemporaryDir>(QDir(QDir::tempPath()).filePath(QStringLiteral("dendrix-mail-XXXXXX")));
    if (!folder->isValid()) {
        Prompts().Message(this, pkError, SExportNoTempFolder);
        return;
    }
    QString ext;
    switch (FPages->currentIndex()) {
    case epPicture: ext = SelectedFormat() ? SelectedFormat()->DefaultExtension() : QString(); break;
    case epNative: ext = FNativeExtension; break;
    default: ext = DataExtension(); break;
    }
    const QString name = folder->filePath((FBaseName.isEmpty() ? QStringLiteral("Arbolix") : FBaseName) +
                                          QLatin1Char('.') + ext);
    if (!SaveTo(name))
        return;
    TMailSender::Send(std::move(folder), name, FBaseName.isEmpty() ? QStringLiteral("Arbolix") : FBaseName, this);
}
