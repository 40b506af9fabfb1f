// The format commands, the view toggles, the connection and point
// commands, and the commands that hand over to other dialogs: export, mail,
// print, help and the about box.

#include "editor/TreeClipboard.h"
#include "editor/TreeCommands.h"
#include "editor/TreeCommandsConst.h"

#include "canvas/KorGradient.h"
#include "canvas/Picture.h"
#include "core/Exceptions.h"
#include "canvas/View3DOptions.h"
#include "dialogs/KorDialogs.h"
#include "dialogs/KorEdiGrad.h"
#include "dialogs/KorEditTarget.h"
#include "dialogs/KorPenDlg.h"
#include "dialogs/KorPrompts.h"
#include "dialogs/TreeCoEd.h"
#include "dialogs/TreeShEd.h"
#include "export/TreeExport.h"
#include "i18n/KorTranslate.h"
#include "view/Arbolix.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLinearGradient>
#include <QPalette>
#include <QMainWindow>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QVBoxLayout>

namespace {

// A 15 x 15 swatch of a colour for a menu item.
QIcon Swatch(TColor color)
{
    QPixmap pixmap(15, 15);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(Qt::black);
    p.setBrush(ToQColor(color));
    p.drawRect(0, 0, 14, 14);
    return QIcon(pixmap);
}

} // namespace

// ---------------------------------------------------------------------------
// Format

void TTreeCommands::FormatColor()
{
    if (!FTree)
        return;
    if (TTreeNodeShape *first = FTree->Selected().First()) {
        TNodeTreeEditor editor(FHost->Window());
        editor.SetTree(FTree);
        editor.ShowStep();
        editor.RunColor();
        if (FTree->Selected().First())
            Action(cmColor)->setIcon(Swatch(FTree->Selected().First()->Color()));
        Q_UNUSED(first);
    } else {
        const TColor old = FTree->Color();
        const TColor chosen = EditColor(FHost->Window(), old);
        if (chosen == old)
            return;
        TTreeStep step(FTree, Action(cmColor)->text());
        FTree->EditElement(nullptr, QStringLiteral("Color"), [&] { FTree->SetColor(chosen); });
        if (FTree->PeekGradient() && FTree->PeekGradient()->Visible())
            FTree->EditElement(nullptr, QStringLiteral("Gradient.Visible"),
                               [&] { FTree->Gradient()->SetVisible(false); });
    }
    EndCommand();
}

void TTreeCommands::FormatBorder()
{
    if (!FTree)
        return;
    if (TTreeConnection *c = FTree->Connections().Selected()) {
        EditPen(FHost->Window(), c->Border(), TEditTarget(FTree, c, QStringLiteral("Border")));
    } else if (FTree->Selected().Count() == 1) {
        TTreeNodeShape *node = FTree->Selected().First();
        EditPen(FHost->Window(), node->Border(), TEditTarget(FTree, node, QStringLiteral("Border")));
    } else if (FTree->Selected().Count() > 1) {
        TNodeTreeEditor editor(FHost->Window());
        editor.SetTree(FTree);
        editor.ShowStep();
        editor.RunBorder();
    }
    EndCommand();
}

void TTreeCommands::FormatFont()
{
    if (!FTree)
        return;
    TCustomTreeElement *element = FTree->Connections().Selected();
    if (!element)
        element = FTree->Selected().First();
    if (!element)
        return;
    // The dialog edits a copy: a cancel leaves everything as it was.
    TKorFont font;
    font.Assign(element->Font());
    if (!EditFont(FHost->Window(), &font))
        return;
    TTreeStep step(FTree, Action(cmFont)->text());
    FTree->EditElement(element, QStringLiteral("Font"), [&] { element->SetFont(&font); });
    if (element != FTree->Connections().Selected())
        for (TTreeNodeShape *node : FTree->Selected().Nodes())
            if (node != element)
                FTree->EditElement(node, QStringLiteral("Font"), [&] { node->SetFont(&font); });
    EndCommand();
}

void TTreeCommands::FormatGradient()
{
    if (!FTree)
        return;
    const bool on = Action(cmGradient)->isChecked();
    if (FTree->Selected().Count() > 0) {
        ForSelected(Action(cmGradient)->text(), QStringLiteral("Gradient.Visible"),
                    [on](TTreeNodeShape *node) { node->Gradient()->SetVisible(on); });
        return;
    }
    TTreeStep step(FTree, Action(cmGradient)->text());
    FTree->EditElement(nullptr, QStringLiteral("Gradient.Visible"), [&] { FTree->Gradient()->SetVisible(on); });
    EndCommand();
}

void TTreeCommands::FormatImage()
{
    if (!FTree)
        return;
    const QString file = AskPictureFile(FHost->Window());
    if (file.isEmpty())
        return;
    TPicture picture;
    if (!LoadPictureAsked(FHost->Window(), file, picture))
        return;
    if (FTree->Selected().Count() > 0) {
        ForSelected(Action(cmImage)->text(), QStringLiteral("Image"), [&](TTreeNodeShape *node) {
            node->SetImageIndex(tiNone);
            node->SetImage(&picture);
        });
        return;
    }
    TTreeStep step(FTree, Action(cmImage)->text());
    FTree->EditElement(nullptr, QStringLiteral("BackImage"), [&] { FTree->SetBackImage(&picture); });
    EndCommand();
}

void TTreeCommands::FormatPattern()
{
    if (!FTree || FTree->Selected().Count() == 0)
        return;
    TNodeTreeEditor editor(FHost->Window());
    editor.SetTree(FTree);
    editor.ShowStep();
    editor.RunPattern();
    EndCommand();
}

void TTreeCommands::EditFirstNode(int page)
{
    if (!FTree || FTree->Selected().Count() == 0)
        return;
    TNodeTreeEditor editor(FHost->Window());
    editor.SetTree(FTree);
    editor.SetPage(page);
    Prompts().Exec(editor);
    EndCommand();
}

void TTreeCommands::FormatShadow()
{
    EditFirstNode(sepShadow);
}

void TTreeCommands::SetTransparent(bool on)
{
    ForSelected(Action(cmTransparent)->text(), QString(), [on](TTreeNodeShape *node) {
        node->SetTransparent(on);
        if (on && node->PeekGradient())
            node->Gradient()->SetVisible(false);
    });
}

void TTreeCommands::SetClipText(bool on)
{
    ForSelected(Action(cmClipText)->text(), QStringLiteral("Text.ClipText"),
                [on](TTreeNodeShape *node) { node->Text()->SetClipText(on); });
}

void TTreeCommands::SetStyle(TTreeShapeStyle style)
{
    ForSelected(Action(cmStyleRectangle)->text(), QStringLiteral("Style"),
                [style](TTreeNodeShape *node) { node->SetStyle(style); });
}

void TTreeCommands::SetAutoSize(bool on)
{
    ForSelected(Action(cmNodeAutoSize)->text(), QStringLiteral("AutoSize"),
                [on](TTreeNodeShape *node) { node->SetAutoSize(on); });
}

void TTreeCommands::FormatBackColor()
{
    if (!FTree || FTree->Selected().Count() == 0)
        return;
    TNodeTreeEditor editor(FHost->Window());
    editor.SetTree(FTree);
    editor.ShowStep();
    editor.RunBack();
    if (TTreeNodeShape *first = FTree->Selected().First())
        Action(cmNodeBackColor)->setIcon(Swatch(first->BackColor()));
    EndCommand();
}

void TTreeCommands::EditNodeGradient()
{
    TTreeNodeShape *first = FTree ? FTree->Selected().First() : nullptr;
    if (!first)
        return;
    TTreeStep step(FTree, Action(cmNodeGradient)->text());
    if (!EditGradient(FHost->Window(), first->Gradient(), false,
                      TEditTarget(FTree, first, QStringLiteral("Gradient"))))
        return;
    for (TTreeNodeShape *node : FTree->Selected().Nodes())
        if (node != first)
            FTree->EditElement(node, QStringLiteral("Gradient"), [&] { node->SetGradient(first->Gradient()); });
    EndCommand();
}

void TTreeCommands::SetShowCross(TTreeNodeShapeShowCross value)
{
    ForSelected(QStringLiteral("Cross-Box"), QStringLiteral("ShowCross"),
                [value](TTreeNodeShape *node) { node->SetShowCross(value); });
}

// ---------------------------------------------------------------------------
// View toggles of the diagram

void TTreeCommands::ShowConnections(bool on)
{
    if (!FTree || FTree->Connections().Visible() == on)
        return;
    TTreeStep step(FTree, Action(cmShowConnections)->text());
    FTree->EditElement(nullptr, QStringLiteral("Connections.Visible"), [&] { FTree->Connections().SetVisible(on); });
    EndCommand();
}

void TTreeCommands::ShowShapes(bool on)
{
    if (!FTree || FTree->Shapes().Visible() == on)
        return;
    TTreeStep step(FTree, Action(cmShowShapes)->text());
    FTree->EditElement(nullptr, QStringLiteral("Shapes.Visible"), [&] { FTree->Shapes().SetVisible(on); });
    EndCommand();
}

void TTreeCommands::ShowImages(bool on)
{
    if (!FTree || FTree->ShowImages() == on)
        return;
    TTreeStep step(FTree, Action(cmShowImages)->text());
    FTree->EditElement(nullptr, QStringLiteral("ShowImages"), [&] { FTree->SetShowImages(on); });
    EndCommand();
}

void TTreeCommands::ShowText(bool on)
{
    if (!FTree || FTree->ShowText() == on)
        return;
    TTreeStep step(FTree, Action(cmShowText)->text());
    FTree->EditElement(nullptr, QStringLiteral("ShowText"), [&] { FTree->SetShowText(on); });
    EndCommand();
}

void TTreeCommands::ShowCrossBoxes(bool on)
{
    if (!FTree || FTree->CrossBox()->Visible() == on)
        return;
    TTreeStep step(FTree, Action(cmShowCrossBoxes)->text());
    FTree->EditElement(nullptr, QStringLiteral("CrossBox.Visible"), [&] { FTree->CrossBox()->SetVisible(on); });
    EndCommand();
}

// ---------------------------------------------------------------------------
// Connections and points

void TTreeCommands::EditSelectedConnection()
{
    if (TTreeConnection *c = FTree ? FTree->Connections().Selected() : nullptr)
        EditConnection(FHost->Window(), c);
    EndCommand();
}

void TTreeCommands::DeleteSelectedConnection()
{
    TTreeConnection *c = FTree ? FTree->Connections().Selected() : nullptr;
    if (!c)
        return;
    TTreeStep step(FTree, Action(cmDeleteConnection)->text());
    FTree->DeleteConnection(c);
    EndCommand();
}

void TTreeCommands::SetConnectionStyle(TTreeConnectionStyle style)
{
    TTreeConnection *c = FTree ? FTree->Connections().Selected() : nullptr;
    if (!c || c->Style() == style)
        return;
    TTreeStep step(FTree, QStringLiteral("Style"));
    FTree->EditElement(c, QStringLiteral("Style"), [&] { c->SetStyle(style); });
    EndCommand();
}

void TTreeCommands::AddConnectionPoint()
{
    TTreeConnection *c = FTree ? FTree->Connections().Selected() : nullptr;
    if (!c)
        return;
    TTreeStep step(FTree, Action(cmAddPoint)->text());
    // Before the point the menu was opened on, else before the last one.
    const int index = FMenuPoint >= 0 ? FMenuPoint + 1 : std::max(1, c->Count() - 1);
    FTree->InsertConnectionPoint(c, index, FMenuModelPoint);
    EndCommand();
}

void TTreeCommands::SetPointStyle(int kind)
{
    TTreeConnection *c = FTree ? FTree->Connections().Selected() : nullptr;
    if (!c || !c->Points().IsValid(FMenuPoint))
        return;
    const int index = FMenuPoint;
    TTreeStep step(FTree, QStringLiteral("Position"));
    FTree->EditPoints(c, [&] {
        TConnectionPointKind k = cpAbsolute;
        switch (kind) {
        case 0: k = index == 0 ? cpFromEdge : cpToEdge; break;
        case 1: k = cpAbsolute; break;
        case 2: k = cpFromOffset; break;
        default: k = cpToOffset; break;
        }
        c->SetPointXStyle(index, k);
        c->SetPointYStyle(index, k);
    });
    EndCommand();
}

void TTreeCommands::DeleteMenuPoint()
{
    TTreeConnection *c = FTree ? FTree->Connections().Selected() : nullptr;
    if (!c || FMenuPoint <= 0 || FMenuPoint >= c->Count() - 1)
        return;
    const int index = FMenuPoint;
    TTreeStep step(FTree, Action(cmDeletePoint)->text());
    FTree->EditPoints(c, [&] { c->DeletePoint(index); });
    FMenuPoint = -1;
    EndCommand();
}

// ---------------------------------------------------------------------------
// Export, mail, print

void TTreeCommands::Export()
{
    if (!FTree)
        return;
    // The picture shows the diagram as it is used, not as it is edited.
    const bool designing = FTree->Designing();
    FTree->SetDesigning(false);
    {
        TTreeExportForm form(FTree, FHost->Window());
        Prompts().Exec(form);
    }
    FTree->SetDesigning(designing);
}

void TTreeCommands::SendMail()
{
    if (FTree)
        TTreeExportForm::SendByMail(FTree, FHost->Window());
}

namespace {

// Prints the diagram on a printer chosen in the print dialog as many times
// as asked; a PDF file when the dialog chose one.
void PrintDiagram(TTree *tree, QWidget *parent)
{
    QPrinter printer;
    QPrintDialog dialog(&printer, parent);
    if (Prompts().Exec(dialog) != QDialog::Accepted)
        return;
    const int copies = std::max(1, printer.copyCount());
    printer.setCopyCount(1);
    for (int i = 0; i < copies; ++i)
        tree->PrintWhole(printer);
}

} // namespace

void TTreeCommands::Print()
{
    if (FTree)
        ShowError([this] { PrintDiagram(FTree, FHost->Window()); });
}

void TTreeCommands::PrintPreview()
{
    if (!FTree)
        return;
    // The preview is the printed page as a PDF file, opened by the
    // desktop's viewer.
    TFileDialogOptions options;
    options.Parent = FHost->Window();
    options.Title = SPrintTitle;
    options.Filter = SPrintFilter;
    options.DefaultSuffix = QStringLiteral("pdf");
    const QString name = Prompts().SaveFileName(options);
    if (name.isEmpty())
        return;
    if (ShowError([&] {
            QPrinter printer;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(name);
            FTree->PrintWhole(printer);
        }))
        OpenUrl(QUrl::fromLocalFile(name));
    FTree->Invalidate();
}

bool TTreeCommands::ShowError(const std::function<void()> &run)
{
    try {
        run();
        return true;
    } catch (const Exception &e) {
        Prompts().Message(FHost->Window(), pkError, e.Message());
    }
    return false;
}

void TTreeCommands::CopyAsPicture()
{
    if (FTree)
        ShowError([this] { FTree->CopyImageToClipboard(); });
}

// ---------------------------------------------------------------------------
// Help

void TTreeCommands::HelpIndex()
{
    // The help is the program's help page, named after its topic.
    const QString dir = QCoreApplication::applicationDirPath();
    const QString file = dir + QStringLiteral("/help/") + QString::fromLatin1(kHelpTopic) + QStringLiteral(".html");
    if (!OpenUrl || !OpenUrl(QUrl::fromLocalFile(file)))
        Prompts().Message(FHost->Window(), pkError, FormatMessage(SHelpNotFound, {file}));
}

void TTreeCommands::EditorTips()
{
    Prompts().Message(FHost->Window(), pkInformation, SEditorTips);
}

void TTreeCommands::OpenProductPage()
{
    if (OpenUrl)
        OpenUrl(QUrl(QString::fromLatin1(kProductPage)));
}

void TTreeCommands::OpenHomePage()
{
    if (OpenUrl)
        OpenUrl(QUrl(QString::fromLatin1(kHomePage)));
}

void TTreeCommands::About()
{
    QDialog box(FHost->Window());
    box.setObjectName(QStringLiteral("AboutBox"));
    box.setWindowTitle(FormatMessage(SAboutCaption, {SAboutProduct}));
    auto *layout = new QVBoxLayout(&box);
    auto *logo = new QLabel(&box);
    QPixmap pixmap(QStringLiteral(":/editor/TREELOGOBMP.png"));
    if (!pixmap.isNull())
        logo->setPixmap(pixmap);
    layout->addWidget(logo);
    QString version = SAboutProduct.Text() + QLatin1Char(' ');
    const QString build = QCoreApplication::applicationVersion();
    if (!build.isEmpty())
        version += QStringLiteral("  ") + SAboutBuild.Text() + QStringLiteral(": ") + build;
    auto *label = new QLabel(version, &box);
    label->setObjectName(QStringLiteral("Version"));
    label->setProperty(kNoTranslateProperty, true);
    layout->addWidget(label);
    auto *link = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(QString::fromLatin1(kHomePage)), &box);
    link->setObjectName(QStringLiteral("Link"));
    link->setProperty(kNoTranslateProperty, true);
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    connect(link, &QLabel::linkActivated, this, [this](const QString &url) {
        if (OpenUrl)
            OpenUrl(QUrl(url));
    });
    layout->addWidget(link);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
    connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    layout->addWidget(buttons);
    // A gradient from light to dark grey behind it all.
    box.setAutoFillBackground(true);
    QPalette palette = box.palette();
    QLinearGradient gradient(0, 0, 0, 200);
    gradient.setColorAt(0, ToQColor(14737632));
    gradient.setColorAt(1, ToQColor(8421504));
    palette.setBrush(QPalette::Window, gradient);
    box.setPalette(palette);
    TranslateForm(&box);
    Prompts().Exec(box);
}
