#include "export/KorPrevi.h"

#include "canvas/KorPrinter.h"
#include "core/ScopeExit.h"
#include "export/BusyCursor.h"
#include "dialogs/KorPrompts.h"
#include "export/KorExportConst.h"
#include "i18n/KorTranslate.h"
#include "view/CustomTree.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

bool GPreviewLandscape = true;

// The help topics of the dialog's parts.
constexpr int kHelpPreview = 1197;
constexpr int kHelpPrint = 395;
constexpr int kHelpOrientation = 398;
constexpr int kHelpMargins = 397;
constexpr int kHelpViewMargins = 1331;
constexpr int kHelpProportional = 889;
constexpr int kHelpNavigator = 1488;

void SetHelpContext(QWidget *w, int context)
{
    w->setProperty("HelpContext", context);
}

QSpinBox *MarginField(const char *name, QWidget *parent)
{
    auto *f = new QSpinBox(parent);
    f->setObjectName(QLatin1String(name));
    f->setRange(0, 100);
    f->setSingleStep(5);
    f->setValue(0);
    SetHelpContext(f, kHelpMargins);
    return f;
}

} // namespace

bool PreviewLandscape()
{
    return GPreviewLandscape;
}

void SetPreviewLandscape(bool value)
{
    GPreviewLandscape = value;
}

// --- Page set-up of the PDF file -------------------------------------------

TPdfPageSetupForm::TPdfPageSetupForm(TKorPrinter &printer, QWidget *parent) : QDialog(parent), FPrinter(printer)
{
    setObjectName(QStringLiteral("PdfPageSetup"));
    setWindowTitle(QStringLiteral("Page Setup"));
    auto *layout = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    FPaperSize = new QComboBox(this);
    FPaperSize->setObjectName(QStringLiteral("CBPaperSize"));
    for (QPageSize::PageSizeId id : {QPageSize::A3, QPageSize::A4, QPageSize::A5, QPageSize::B5, QPageSize::Letter,
                                     QPageSize::Legal, QPageSize::Executive, QPageSize::Tabloid})
        FPaperSize->addItem(QPageSize::name(id), int(id));
    auto *label = new QLabel(QStringLiteral("&Paper size:"), this);
    label->setBuddy(FPaperSize);
    row->addWidget(label);
    row->addWidget(FPaperSize, 1);
    layout->addLayout(row);
    auto *orientation = new QGroupBox(QStringLiteral("Orien&tation:"), this);
    auto *orientationLayout = new QHBoxLayout(orientation);
    FPortrait = new QRadioButton(QStringLiteral("P&ortrait"), orientation);
    FLandscape = new QRadioButton(QStringLiteral("&Landscape"), orientation);
    orientationLayout->addWidget(FPortrait);
    orientationLayout->addWidget(FLandscape);
    layout->addWidget(orientation);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TPdfPageSetupForm::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    const int current = FPaperSize->findData(int(printer.Device().pageLayout().pageSize().id()));
    FPaperSize->setCurrentIndex(current >= 0 ? current : 1);
    (printer.Orientation() == poLandscape ? FLandscape : FPortrait)->setChecked(true);
}

void TPdfPageSetupForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    TranslateForm(this);
}

void TPdfPageSetupForm::accept()
{
    FPrinter.Device().setPageSize(QPageSize(QPageSize::PageSizeId(FPaperSize->currentData().toInt())));
    FPrinter.SetOrientation(FLandscape->isChecked() ? poLandscape : poPortrait);
    QDialog::accept();
}

// --- The dialog ---------------------------------------------------------------

TChartPreview::TChartPreview(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ChartPreview"));
    setWindowTitle(QStringLiteral("Plovix Print Preview"));
    resize(543, 379);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // --- Top bar
    auto *top = new QWidget(this);
    top->setObjectName(QStringLiteral("PanelTop"));
    top->setFixedHeight(38);
    auto *topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(8, 4, 8, 4);
    FPrinterList = new QComboBox(top);
    FPrinterList->setObjectName(QStringLiteral("CBPrinters"));
    FPrinterList->setFixedWidth(171);
    auto *printerLabel = new QLabel(QStringLiteral("P&rinter:"), top);
    printerLabel->setBuddy(FPrinterList);
    FSetup = new QPushButton(QStringLiteral("&Setup..."), top);
    FSetup->setObjectName(QStringLiteral("BSetup"));
    FPrint = new QPushButton(QStringLiteral("&Print"), top);
    FPrint->setObjectName(QStringLiteral("BPrint"));
    SetHelpContext(FPrint, kHelpPrint);
    FClose = new QPushButton(QStringLiteral("Close"), top);
    FClose->setObjectName(QStringLiteral("BClose"));
    // Enter and Esc both close the dialog.
    FClose->setDefault(true);
    FSetup->setAutoDefault(false);
    FPrint->setAutoDefault(false);
    topLayout->addWidget(printerLabel);
    topLayout->addWidget(FPrinterList);
    topLayout->addWidget(FSetup);
    topLayout->addWidget(FPrint);
    topLayout->addWidget(FClose);
    topLayout->addStretch(1);
    layout->addWidget(top);

    auto *body = new QHBoxLayout;
    body->setSpacing(0);
    layout->addLayout(body, 1);

    // --- Left column
    auto *left = new QWidget(this);
    left->setObjectName(QStringLiteral("PanelLeft"));
    left->setMinimumWidth(112);
    FLeftColumn = new QVBoxLayout(left);
    FLeftColumn->setContentsMargins(4, 4, 4, 4);
    FOrientationGroup = new QGroupBox(QStringLiteral("Orien&tation:"), left);
    FOrientationGroup->setObjectName(QStringLiteral("Orientation"));
    SetHelpContext(FOrientationGroup, kHelpOrientation);
    auto *orientationLayout = new QVBoxLayout(FOrientationGroup);
    FPortrait = new QRadioButton(QStringLiteral("P&ortrait"), FOrientationGroup);
    FPortrait->setObjectName(QStringLiteral("RBPortrait"));
    FLandscape = new QRadioButton(QStringLiteral("&Landscape"), FOrientationGroup);
    FLandscape->setObjectName(QStringLiteral("RBLandscape"));
    FOrientation = new QButtonGroup(this);
    FOrientation->addButton(FPortrait, poPortrait);
    FOrientation->addButton(FLandscape, poLandscape);
    orientationLayout->addWidget(FPortrait);
    orientationLayout->addWidget(FLandscape);
    FLeftColumn->addWidget(FOrientationGroup);

    FMarginsGroup = new QGroupBox(QStringLiteral("Margins (%)"), left);
    FMarginsGroup->setObjectName(QStringLiteral("GBMargins"));
    auto *cross = new QGridLayout(FMarginsGroup);
    cross->setContentsMargins(2, 2, 2, 2);
    FTop = MarginField("SETopMa", FMarginsGroup);
    FLeft = MarginField("SELeftMa", FMarginsGroup);
    FRight = MarginField("SERightMa", FMarginsGroup);
    FBottom = MarginField("SEBotMa", FMarginsGroup);
    cross->addWidget(FTop, 0, 0, 1, 2, Qt::AlignHCenter);
    cross->addWidget(FLeft, 1, 0);
    cross->addWidget(FRight, 1, 1);
    cross->addWidget(FBottom, 2, 0, 1, 2, Qt::AlignHCenter);
    FLeftColumn->addWidget(FMarginsGroup);
    FReset = new QPushButton(QStringLiteral("Reset &Margins"), left);
    FReset->setObjectName(QStringLiteral("BReset"));
    FReset->setAutoDefault(false);
    FReset->setEnabled(false);
    FLeftColumn->addWidget(FReset);
    FViewMargins = new QCheckBox(QStringLiteral("&View Margins"), left);
    FViewMargins->setObjectName(QStringLiteral("CBMargins"));
    FViewMargins->setChecked(true);
    SetHelpContext(FViewMargins, kHelpViewMargins);
    FLeftColumn->addWidget(FViewMargins);

    FDetailGroup = new QGroupBox(QStringLiteral("Detail:"), left);
    FDetailGroup->setObjectName(QStringLiteral("GBResolution"));
    auto *detailLayout = new QGridLayout(FDetailGroup);
    detailLayout->setContentsMargins(2, 2, 2, 2);
    FDetail = new QSlider(Qt::Horizontal, FDetailGroup);
    FDetail->setObjectName(QStringLiteral("Resolution"));
    FDetail->setRange(0, 100);
    FDetail->setTickInterval(10);
    FDetail->setTickPosition(QSlider::TicksBelow);
    FDetail->setSingleStep(2);
    FDetail->setValue(99);
    detailLayout->addWidget(FDetail, 0, 0, 1, 2);
    detailLayout->addWidget(new QLabel(QStringLiteral("More"), FDetailGroup), 1, 0, Qt::AlignLeft);
    detailLayout->addWidget(new QLabel(QStringLiteral("Normal"), FDetailGroup), 1, 1, Qt::AlignRight);
    FLeftColumn->addWidget(FDetailGroup);
    FProportional = new QCheckBox(QStringLiteral("Proport&ional"), left);
    FProportional->setObjectName(QStringLiteral("CBProp"));
    FProportional->setChecked(true);
    SetHelpContext(FProportional, kHelpProportional);
    FLeftColumn->addWidget(FProportional);
    FLeftColumn->addStretch(1);
    body->addWidget(left);

    // --- The sheet
    FPreview = new TKorPreviewPanel(this);
    FPreview->setObjectName(QStringLiteral("ChartPreviewPanel"));
    SetHelpContext(FPreview, kHelpPreview);
    FPreview->Gradient()->SetDirection(gdFromTopLeft);
    FPreview->Gradient()->SetEndColor(clGray);
    FPreview->Gradient()->SetVisible(true);
    body->addWidget(FPreview, 1);

    // --- Wiring
    connect(FPrinterList, qOverload<int>(&QComboBox::activated), this, &TChartPreview::PrinterChosen);
    connect(FSetup, &QPushButton::clicked, this, &TChartPreview::SetupClicked);
    connect(FPrint, &QPushButton::clicked, this, &TChartPreview::PrintClicked);
    connect(FClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(FOrientation, &QButtonGroup::idClicked, this, [this] { OrientationClicked(); });
    for (QSpinBox *f : {FTop, FLeft, FRight, FBottom})
        connect(f, qOverload<int>(&QSpinBox::valueChanged), this, [this, f](int v) { MarginFieldChanged(f, v); });
    connect(FReset, &QPushButton::clicked, this, &TChartPreview::ResetClicked);
    connect(FViewMargins, &QCheckBox::toggled, this, [this](bool on) { FPreview->Margins()->SetVisible(on); });
    connect(FDetail, &QSlider::valueChanged, this, &TChartPreview::DetailChanged);
    connect(FProportional, &QCheckBox::toggled, this, &TChartPreview::ProportionalToggled);
    FPreview->OnChangeMargins = [this](TKorPreviewPanel *, bool disable, const TPanelMargins &) {
        MarginsDragged(disable);
    };
}

TChartPreview::~TChartPreview()
{
    // The navigator's control goes with the dialog's children; the
    // navigator itself first, while its control is still there.
    FNavigator.reset();
    FPreview->OnChangeMargins = nullptr;
}

void TChartPreview::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!FOpened) {
        FOpened = true;
        Open();
    }
}

void TChartPreview::Open()
{
    if (FNavigatorClass) {
        FNavigator = FNavigatorClass(FLeftColumn->parentWidget());
        if (FNavigator && FNavigator->Widget()) {
            QWidget *w = FNavigator->Widget();
            SetHelpContext(w, kHelpNavigator);
            FLeftColumn->addWidget(w);
            w->show();
            FNavigator->OnButtonClicked = [this](int) { FPreview->Invalidate(); };
        }
    }
    if (FPanelToShow)
        FPreview->SetPanel(FPanelToShow);

    TKorPrinter &printer = Printer();
    FillPrinters();
    const bool any = printer.HasPrinters();
    FPrint->setEnabled(any);
    FSetup->setEnabled(any);
    FOrientationGroup->setEnabled(any);
    if (any) {
        if (GPreviewLandscape)
            printer.SetOrientation(poLandscape);
        ReadOrientation();
    }

    if (TCustomKorPanel *panel = FPreview->Panel()) {
        {
            const QSignalBlocker mute(FProportional);
            FProportional->setChecked(panel->PrintProportional());
        }
        {
            const QSignalBlocker mute(FDetail);
            FDetail->setValue(panel->PrintResolution() + 100);
        }
        FSavedMargins = panel->PrintMargins();
        RefreshMargins();
        if (FNavigator)
            FNavigator->SetPanel(panel);
    } else {
        FProportional->setEnabled(false);
        FDetail->setEnabled(false);
        FMarginsGroup->setEnabled(false);
        FPrint->setEnabled(false);
    }
    TranslateForm(this);
}

void TChartPreview::FillPrinters()
{
    const TKorPrinter &printer = Printer();
    const QSignalBlocker mute(FPrinterList);
    FPrinterList->clear();
    FPrinterList->addItems(printer.Printers());
    FPrinterList->setCurrentIndex(printer.PrinterIndex());
}

void TChartPreview::ReadOrientation()
{
    (Printer().Orientation() == poLandscape ? FLandscape : FPortrait)->setChecked(true);
}

void TChartPreview::PrinterChosen(int index)
{
    Printer().SetPrinterIndex(index);
    ReadOrientation();
    OrientationClicked();
}

void TChartPreview::OrientationClicked()
{
    Printer().SetOrientation(FLandscape->isChecked() ? poLandscape : poPortrait);
    RefreshMargins();
}

void TChartPreview::RefreshMargins()
{
    TCustomKorPanel *panel = FPreview->Panel();
    if (panel && panel->PrintProportional() && Printer().HasPrinters()) {
        FPreview->PrintMarginsOf(panel);
        FSavedMargins = panel->PrintMargins();
    }
    WriteMarginFields();
    FPreview->Invalidate();
}

void TChartPreview::WriteMarginFields()
{
    TCustomKorPanel *panel = FPreview->Panel();
    if (!panel)
        return;
    const TPanelMargins m = panel->PrintMargins();
    FUpdating = true;
    TAtExit done([this] { FUpdating = false; });
    FTop->setValue(m.Top);
    FLeft->setValue(m.Left);
    FRight->setValue(m.Right);
    FBottom->setValue(m.Bottom);
}

void TChartPreview::MarginFieldChanged(QSpinBox *field, int value)
{
    TCustomKorPanel *panel = FPreview->Panel();
    if (!isVisible() || !panel)
        return;
    TPanelMargins m = panel->PrintMargins();
    int *own = field == FLeft ? &m.Left : field == FRight ? &m.Right : field == FTop ? &m.Top : &m.Bottom;
    const int opposite = field == FLeft ? m.Right : field == FRight ? m.Left : field == FTop ? m.Bottom : m.Top;
    if (opposite + value > 99) {
        // Less than 1 % of the page would be left: the field goes back.
        const QSignalBlocker mute(field);
        field->setValue(*own);
        return;
    }
    *own = value;
    panel->SetPrintMargins(m);
    if (FUpdating)
        return;
    FPreview->Invalidate();
    FReset->setEnabled(panel->PrintMargins() != FSavedMargins);
    FProportional->setChecked(false);
}

void TChartPreview::ProportionalToggled(bool on)
{
    if (FMuteProportional)
        return;
    if (TCustomKorPanel *panel = FPreview->Panel())
        panel->SetPrintProportional(on);
    RefreshMargins();
}

void TChartPreview::MarginsDragged(bool disableProportional)
{
    WriteMarginFields();
    if (!disableProportional)
        return;
    if (TCustomKorPanel *panel = FPreview->Panel())
        panel->SetPrintProportional(false);
    FMuteProportional = true;
    TAtExit unmute([this] { FMuteProportional = false; });
    FProportional->setChecked(false);
}

void TChartPreview::ResetClicked()
{
    if (TCustomKorPanel *panel = FPreview->Panel())
        panel->SetPrintMargins(FSavedMargins);
    WriteMarginFields();
    FPreview->Invalidate();
    FReset->setEnabled(false);
}

void TChartPreview::DetailChanged(int position)
{
    if (TCustomKorPanel *panel = FPreview->Panel())
        panel->SetPrintResolution(position - 100);
    FPreview->Invalidate();
}

void TChartPreview::SetupClicked()
{
    TKorPrinter &printer = Printer();
    if (printer.PrintsToFile()) {
        TPdfPageSetupForm setup(printer, this);
        Prompts().Exec(setup);
    } else if (printer.HasPrinters()) {
        QPageSetupDialog setup(&printer.Device(), this);
        Prompts().Exec(setup);
    }
    // Whatever the answer, the list and the orientation are read again.
    printer.Refresh();
    FillPrinters();
    if (printer.HasPrinters())
        ReadOrientation();
    FPreview->Invalidate();
}

bool TChartPreview::ChooseOutputFile()
{
    TKorPrinter &printer = Printer();
    if (!printer.PrintsToFile())
        return true;
    TFileDialogOptions options;
    options.Parent = this;
    options.Title = SPreviewPrintToFile;
    options.Filter = SExportFilterPDF;
    options.DefaultSuffix = QStringLiteral("pdf");
    QString proposed = printer.OutputFileName();
    if (proposed.isEmpty() && FPreview->Panel())
        proposed = FPreview->Panel()->DocumentTitle() + QStringLiteral(".pdf");
    options.InitialName = proposed;
    const QString name = Prompts().SaveFileName(options);
    if (name.isEmpty())
        return false;
    printer.SetOutputFileName(name);
    return true;
}

void TChartPreview::PrintClicked()
{
    if (!FPreview->Panel() || !Printer().HasPrinters() || !ChooseOutputFile())
        return;
    try {
        TBusyCursor busy;
        // A diagram of one page prints the sheet as it is shown.
        if (FNavigator && FNavigator->PageCount() > 1)
            FNavigator->Print();
        else
            FPreview->Print();
        FPrinted = true;
    } catch (const Exception &e) {
        Prompts().Message(this, pkError, e.Message());
    }
}

bool ShowPrintPreview(QWidget *parent, TCustomTree *tree, const TPreviewNavigatorClass &navigatorClass)
{
    if (!tree)
        return false;
    // The editor's preview keeps the printer's orientation as it is.
    const bool landscape = PreviewLandscape();
    SetPreviewLandscape(false);
    TAtExit restore([landscape] { SetPreviewLandscape(landscape); });
    TChartPreview dialog(parent);
    dialog.SetNavigatorClass(navigatorClass);
    dialog.PreviewPanel()->SetPanel(tree);
    Prompts().Exec(dialog);
    tree->Invalidate();
    return dialog.Printed();
}
