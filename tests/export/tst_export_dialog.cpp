// The export dialog driven as a user drives it: pages, the format list and
// its options, the size with its aspect ratio, the buttons' states, saving
// through the file dialog, the native page's extension and overwrite
// question, the data page's filters, progress and cancel, and sending by
// mail through a stand-in for the desktop's mail launcher.

#include "ExportTestUtil.h"

#include "dialogs/KorPrompts.h"
#include "export/KorEmfOptions.h"
#include "export/KorGIF.h"
#include "export/KorMail.h"
#include "export/TreeExport.h"
#include "model/TreeFile.h"

#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

namespace {

struct TFormHost
{
    TViewHost View;
    TTreeExportForm Form;
    explicit TFormHost(int w = 600, int h = 400, bool nodes = true) : View(w, h), Form(View.Tree)
    {
        if (nodes)
            BuildPlainDiagram(View.Tree);
        Form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&Form));
    }
};

void TypeInto(QSpinBox *box, const QString &text)
{
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
}

// A stand-in for xdg-email on the search path: it writes its arguments
// and a copy of the attachment (the last argument) next to itself and
// answers `code`.
struct TFakeMailer
{
    QTemporaryDir Dir;
    QByteArray SavedPath;
    explicit TFakeMailer(int code)
    {
        const QString script = Dir.filePath(QStringLiteral("xdg-email"));
        WriteFileBytes(script, QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" > '%1/args'\n"
                                              "for a; do last=$a; done\ncp \"$last\" '%1/attachment'\nexit %2\n")
                                   .arg(Dir.path())
                                   .arg(code)
                                   .toUtf8());
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        SavedPath = qgetenv("PATH");
        qputenv("PATH", Dir.path().toUtf8() + ":/usr/bin:/bin");
    }
    ~TFakeMailer() { qputenv("PATH", SavedPath); }
    QStringList Arguments() const
    {
        return QString::fromUtf8(ReadFileBytes(Dir.filePath(QStringLiteral("args")))).split(QLatin1Char('\n'),
                                                                                              Qt::SkipEmptyParts);
    }
};

} // namespace

class TestExportDialog : public QObject
{
    Q_OBJECT
private slots:
    // No mail launcher unless a test puts one there.
    void init() { qputenv("PATH", FEmpty.path().toUtf8()); }

private:
    QTemporaryDir FEmpty;

private slots:
    void pagesAndFormats();
    void optionsTabFollowsTheFormat();
    void keepAspectRatio();
    void buttonStates_data();
    void buttonStates();
    void lzwSnapsBackToRle();
    void savePictureThroughTheFileDialog_data();
    void savePictureThroughTheFileDialog();
    void nativeExtensionBeforeTheOverwriteQuestion();
    void dataFiltersAndFormats_data();
    void dataFiltersAndFormats();
    void fileSizeOfTheNativeFile();
    void progressAndCancel();
    void saveErrorsAreShown();
    void sendAttachesTheExport();
    void sendByMailWithoutDialog();
    void mailFailuresAreShown();
    void escapeCloses();
};

void TestExportDialog::pagesAndFormats()
{
    TFormHost h;
    QCOMPARE(h.Form.windowTitle(), QStringLiteral("Export Tree"));
    QCOMPARE(h.Form.Pages()->count(), 3);
    QCOMPARE(h.Form.Pages()->tabText(0), QStringLiteral("Picture"));
    QCOMPARE(h.Form.Pages()->tabText(1), QStringLiteral("Native"));
    QCOMPARE(h.Form.Pages()->tabText(2), QStringLiteral("Data"));
    QCOMPARE(h.Form.Formats()->count(), int(ExportFormatList().size()));
    QCOMPARE(h.Form.Formats()->currentRow(), 0);
    QCOMPARE(h.Form.Formats()->item(1)->text(), QStringLiteral("as Metafile"));
    QCOMPARE(h.Form.WidthEdit()->value(), 600);
    QCOMPARE(h.Form.HeightEdit()->value(), 400);
    QCOMPARE(h.Form.Delimiter()->currentText(), QStringLiteral("Tab"));
    QVERIFY(!h.Form.CustomDelimiter()->isEnabled());
    QVERIFY(h.Form.ChartControls()->isHidden());
    for (QPushButton *b : {h.Form.CopyButton(), h.Form.SaveButton(), h.Form.SendButton(), h.Form.CloseButton()})
        QVERIFY(b->isVisible());
    // Showing again keeps the format objects and their settings.
    auto *emf = dynamic_cast<TEMFExportFormat *>(h.Form.Format(1));
    emf->SetEnhanced(false);
    h.Form.hide();
    h.Form.show();
    QCOMPARE(h.Form.Format(1), static_cast<TKorExportFormat *>(emf));
    QVERIFY(!emf->Enhanced());
}

void TestExportDialog::optionsTabFollowsTheFormat()
{
    TFormHost h;
    QListWidget *list = h.Form.Formats();
    for (int i = 0; i < list->count(); ++i) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(i)).center());
        QCOMPARE(list->currentRow(), i);
        QWidget *options = h.Form.Format(i)->OptionsPanel(false);
        const bool hasControls = options && !options->findChildren<QWidget *>().isEmpty();
        QCOMPARE(h.Form.PictureTabs()->isTabVisible(0), hasControls);
        QCOMPARE(h.Form.PictureTabs()->currentWidget(), hasControls ? h.Form.OptionsTab() : h.Form.SizeTab());
        if (hasControls)
            QVERIFY(options->isVisible());
    }
    // PCX has an empty page; the bitmap's has the colours.
    QVERIFY(h.Form.SelectFormat(QStringLiteral("as PC&X")));
    QVERIFY(!h.Form.PictureTabs()->isTabVisible(0));
    QVERIFY(h.Form.SelectFormat(QStringLiteral("as &Bitmap")));
    QVERIFY(h.Form.PictureTabs()->isTabVisible(0));
    QVERIFY(h.Form.OptionsTab()->findChild<QComboBox *>(QStringLiteral("CBColors")));
}

void TestExportDialog::keepAspectRatio()
{
    TFormHost h(600, 400);
    h.Form.PictureTabs()->setCurrentWidget(h.Form.SizeTab());
    TypeInto(h.Form.WidthEdit(), QStringLiteral("300"));
    QCOMPARE(h.Form.HeightEdit()->value(), 200);
    TypeInto(h.Form.HeightEdit(), QStringLiteral("100"));
    QCOMPARE(h.Form.WidthEdit()->value(), 150);
    QTest::keyClick(h.Form.KeepAspectRatio(), Qt::Key_Space);
    QVERIFY(!h.Form.KeepAspectRatio()->isChecked());
    TypeInto(h.Form.WidthEdit(), QStringLiteral("500"));
    QCOMPARE(h.Form.HeightEdit()->value(), 100);
}

void TestExportDialog::buttonStates_data()
{
    QTest::addColumn<bool>("nodes");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("data");
    QTest::addColumn<bool>("copy");
    QTest::addColumn<bool>("save");
    QTest::newRow("picture") << true << 0 << 0 << true << true;
    QTest::newRow("native") << true << 1 << 0 << false << true;
    QTest::newRow("data text") << true << 2 << 0 << true << true;
    QTest::newRow("data xml") << true << 2 << 1 << true << true;
    QTest::newRow("data excel") << true << 2 << 3 << false << true;
    QTest::newRow("empty data") << false << 2 << 0 << false << false;
    QTest::newRow("empty native") << false << 1 << 0 << false << true;
}

void TestExportDialog::buttonStates()
{
    QFETCH(bool, nodes);
    QFETCH(int, page);
    QFETCH(int, data);
    QFETCH(bool, copy);
    QFETCH(bool, save);
    TFormHost h(600, 400, nodes);
    h.Form.Pages()->setCurrentIndex(page);
    h.Form.DataFormat()->setCurrentIndex(data);
    QCOMPARE(h.Form.CopyButton()->isEnabled(), copy);
    QCOMPARE(h.Form.SaveButton()->isEnabled(), save);
    // No mail launcher on the path: no sending.
    QVERIFY(!h.Form.SendButton()->isEnabled());
    TFakeMailer mailer(0);
    h.Form.UpdateButtons();
    QCOMPARE(h.Form.SendButton()->isEnabled(), save);
}

void TestExportDialog::lzwSnapsBackToRle()
{
    TFormHost h;
    QVERIFY(h.Form.SelectFormat(QStringLiteral("as &GIF")));
    auto *options = dynamic_cast<TGIFOptions *>(h.Form.SelectedFormat()->OptionsPanel(false));
    QVERIFY(options);
    QTest::mouseClick(options->LZW(), Qt::LeftButton);
    QVERIFY(options->RLE()->isChecked());
    QVERIFY(!options->LZW()->isChecked());
    options->Dither()->setCurrentIndex(dmBurkes);
    QCOMPARE(dynamic_cast<TGIFExportFormat *>(h.Form.SelectedFormat())->Dither(), dmBurkes);
}

void TestExportDialog::savePictureThroughTheFileDialog_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("enhanced");
    QTest::addColumn<int>("filterIndex");
    QTest::addColumn<QString>("suffix");
    QTest::newRow("bitmap") << "as &Bitmap" << true << 0 << "bmp";
    QTest::newRow("emf") << "as &Metafile" << true << 1 << "emf";
    QTest::newRow("wmf") << "as &Metafile" << false << 2 << "wmf";
    QTest::newRow("png") << "as &PNG" << true << 6 << "PNG";
}

void TestExportDialog::savePictureThroughTheFileDialog()
{
    QFETCH(QString, caption);
    QFETCH(bool, enhanced);
    QFETCH(int, filterIndex);
    QFETCH(QString, suffix);
    TFormHost h(600, 400);
    QVERIFY(h.Form.SelectFormat(caption));
    if (auto *emf = dynamic_cast<TEMFExportFormat *>(h.Form.SelectedFormat()))
        emf->SetEnhanced(enhanced);
    TypeInto(h.Form.WidthEdit(), QStringLiteral("240"));
    TScriptedPromptsGuard prompts;
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("out.") + suffix.toLower());
    prompts->OnSaveFileName = [&](TFileDialogOptions &o) {
        [&] {
            QCOMPARE(o.FilterIndex, filterIndex);
            QCOMPARE(o.DefaultSuffix, suffix);
            QVERIFY(o.Filter.startsWith(QStringLiteral("Bitmaps (*.bmp)|*.bmp|Enhanced Metafiles")));
        }();
        return name;
    };
    QTest::mouseClick(h.Form.SaveButton(), Qt::LeftButton);
    QCOMPARE(prompts->CallsOf(QStringLiteral("SaveFileName")).size(), size_t(1));
    QVERIFY2(prompts->CallsOf(QStringLiteral("Ask")).empty(), "an error was shown");
    QVERIFY(QFile::exists(name));
    if (suffix == QLatin1String("bmp") || suffix == QLatin1String("PNG"))
        QCOMPARE(QImage(name).size(), QSize(240, 160));
}

void TestExportDialog::nativeExtensionBeforeTheOverwriteQuestion()
{
    TFormHost h;
    h.Form.Pages()->setCurrentIndex(TKorExportFormBase::epNative);
    QTemporaryDir dir;
    const QString abx = dir.filePath(QStringLiteral("plan.abx"));
    QVERIFY(WriteFileBytes(abx, "old"));
    TScriptedPromptsGuard prompts;
    prompts->FileNames << dir.filePath(QStringLiteral("plan.txt")) << dir.filePath(QStringLiteral("plan.txt"));
    prompts->Answers = {paNo, paYes};
    QTest::mouseClick(h.Form.SaveButton(), Qt::LeftButton);
    // The question names the file that would be written.
    QCOMPARE(prompts->CallsOf(QStringLiteral("Ask")).size(), size_t(1));
    QVERIFY(prompts->CallsOf(QStringLiteral("Ask")).front().Text.contains(QStringLiteral("plan.abx")));
    QCOMPARE(ReadFileBytes(abx), QByteArray("old"));
    QTest::mouseClick(h.Form.SaveButton(), Qt::LeftButton);
    QVERIFY(ReadFileBytes(abx).startsWith("TPF0"));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("plan.txt"))));
    // The file reads back as the diagram.
    TViewHost back;
    LoadDiagramFile(*back.Tree, abx);
    QCOMPARE(back.Tree->Shapes().Count(), h.View.Tree->Shapes().Count());
}

void TestExportDialog::dataFiltersAndFormats_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("delimiter");
    QTest::addColumn<int>("offered");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<int>("formatAfter");
    QTest::addColumn<QString>("starts");
    QTest::newRow("text, tab") << 0 << 1 << 1 << 1 << 0 << "Root\r\n\tChild 0";
    QTest::newRow("text, colon") << 0 << 3 << 3 << 3 << 0 << "Root\r\n;Child 0";
    // A custom delimiter is text, not the entry after the delimiters.
    QTest::newRow("text, custom") << 0 << 4 << 0 << 0 << 0 << "Root\r\n*Child 0";
    QTest::newRow("xml") << 1 << 1 << 4 << 4 << 1 << "<?xml";
    QTest::newRow("html chosen as excel") << 2 << 1 << 5 << 6 << 3 << QString::fromLatin1("\x09\x08", 2);
    QTest::newRow("excel chosen as text") << 3 << 0 << 6 << 0 << 0 << "Root\r\n Child 0";
}

void TestExportDialog::dataFiltersAndFormats()
{
    QFETCH(int, format);
    QFETCH(int, delimiter);
    QFETCH(int, offered);
    QFETCH(int, chosen);
    QFETCH(int, formatAfter);
    QFETCH(QString, starts);
    TFormHost h;
    h.Form.Pages()->setCurrentIndex(TKorExportFormBase::epData);
    h.Form.DataFormat()->setCurrentIndex(format);
    h.Form.Delimiter()->setCurrentIndex(delimiter);
    if (delimiter == TKorExportFormBase::dlCustom) {
        QVERIFY(h.Form.CustomDelimiter()->isEnabled());
        QTest::keyClicks(h.Form.CustomDelimiter(), QStringLiteral("*x"));
        QCOMPARE(h.Form.CustomDelimiter()->text(), QStringLiteral("*"));
    }
    TScriptedPromptsGuard prompts;
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("data"));
    prompts->OnSaveFileName = [&](TFileDialogOptions &o) {
        [&] { QCOMPARE(o.FilterIndex, offered); }();
        o.FilterIndex = chosen;
        return name;
    };
    QTest::mouseClick(h.Form.SaveButton(), Qt::LeftButton);
    QCOMPARE(h.Form.DataFormat()->currentIndex(), formatAfter);
    QVERIFY2(QString::fromLatin1(ReadFileBytes(name)).startsWith(starts), ReadFileBytes(name).left(20).constData());
}

void TestExportDialog::fileSizeOfTheNativeFile()
{
    TFormHost h;
    h.Form.Pages()->setCurrentIndex(TKorExportFormBase::epNative);
    QCOMPARE(h.Form.FileSizeLabel()->text(), QStringLiteral("?"));
    QTest::keyClick(h.Form.FileSize(), Qt::Key_Space);
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    SaveDiagram(*h.View.Tree, b);
    QCOMPARE(h.Form.FileSizeLabel()->text(), QStringLiteral("%1 bytes").arg(b.size()));
    QTest::keyClick(h.Form.FileSize(), Qt::Key_Space);
    QCOMPARE(h.Form.FileSizeLabel()->text(), QStringLiteral("?"));
}

void TestExportDialog::progressAndCancel()
{
    TFormHost h(600, 400);
    QVERIFY(h.Form.SelectFormat(QStringLiteral("as &PNG")));
    // Strips of 4 rows: a hundred steps.
    h.Form.SelectedFormat()->SetStripBytes(qint64(4) * 600 * 4);
    TScriptedPromptsGuard prompts;
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("p.png"));
    prompts->FileNames << name << name;
    bool sawProgress = false;
    // The first step lets events through: the user presses Cancel.
    QTimer::singleShot(0, &h.Form, [&] {
        sawProgress = h.Form.ProgressBar()->isVisible() && h.Form.Exporting() && !h.Form.CloseButton()->isEnabled();
        QTest::mouseClick(h.Form.CancelButton(), Qt::LeftButton);
    });
    QTest::mouseClick(h.Form.SaveButton(), Qt::LeftButton);
    QVERIFY(sawProgress);
    QVERIFY(!QFile::exists(name));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 0);
    QVERIFY(prompts->CallsOf(QStringLiteral("Ask")).empty());
    QVERIFY(!h.Form.ProgressBar()->isVisible());
    QVERIFY(h.Form.CloseButton()->isEnabled());
    // Without Cancel the export runs to its end.
    QTest::mouseClick(h.Form.SaveButton(), Qt::LeftButton);
    QCOMPARE(QImage(name).size(), QSize(600, 400));
}

void TestExportDialog::saveErrorsAreShown()
{
    TFormHost h;
    TScriptedPromptsGuard prompts;
    prompts->FileNames << QStringLiteral("/proc/no/such/folder/x.bmp");
    QTest::mouseClick(h.Form.SaveButton(), Qt::LeftButton);
    const auto asks = prompts->CallsOf(QStringLiteral("Ask"));
    QCOMPARE(asks.size(), size_t(1));
    QCOMPARE(asks.front().Kind, pkError);
    QVERIFY2(asks.front().Text.contains(QStringLiteral("x.bmp")) &&
                 asks.front().Text.contains(QStringLiteral("No such file or directory")),
             qPrintable(asks.front().Text));
}

void TestExportDialog::sendAttachesTheExport()
{
    TFakeMailer mailer(0);
    TFormHost h;
    h.Form.Pages()->setCurrentIndex(TKorExportFormBase::epData);
    h.Form.DataFormat()->setCurrentIndex(TKorExportFormBase::dfXML);
    QVERIFY(h.Form.SendButton()->isEnabled());
    QSignalSpy finished(&MailEvents(), &TMailEvents::Finished);
    const int held = TMailSender::HeldFolders();
    QTest::mouseClick(h.Form.SendButton(), Qt::LeftButton);
    QVERIFY(finished.wait(30000));
    QCOMPARE(finished.first().first().toBool(), true);
    const QStringList args = mailer.Arguments();
    QCOMPARE(args.mid(0, 4), (QStringList{"--utf8", "--subject", "Arbolix", "--attach"}));
    QVERIFY2(args.value(4).endsWith(QStringLiteral("/Arbolix.xml")), qPrintable(args.join(QLatin1Char(' '))));
    // The file is kept for the mail program, in a folder of its own.
    QVERIFY(QFile::exists(args.value(4)));
    QCOMPARE(QFileInfo(QFileInfo(args.value(4)).path()).permissions() & (QFile::ReadOther | QFile::ReadGroup),
             QFile::Permissions());
    QCOMPARE(TMailSender::HeldFolders(), held + 1);
    QVERIFY(ReadFileBytes(mailer.Dir.filePath(QStringLiteral("attachment"))).startsWith("<?xml"));
}

void TestExportDialog::sendByMailWithoutDialog()
{
    TViewHost v;
    BuildPlainDiagram(v.Tree);
    {
        // No mail program: a clear message.
        TScriptedPromptsGuard prompts;
        TTreeExportForm::SendByMail(v.Tree, nullptr);
        const auto asks = prompts->CallsOf(QStringLiteral("Ask"));
        QCOMPARE(asks.size(), size_t(1));
        QVERIFY(asks.front().Text.contains(QStringLiteral("xdg-email")));
    }
    TFakeMailer mailer(0);
    QSignalSpy finished(&MailEvents(), &TMailEvents::Finished);
    TTreeExportForm::SendByMail(v.Tree, nullptr);
    QVERIFY(finished.wait(30000));
    QVERIFY(mailer.Arguments().value(4).endsWith(QStringLiteral("/Arbolix.jpg")));
    QImage sent;
    QVERIFY(sent.load(mailer.Dir.filePath(QStringLiteral("attachment")), "JPEG"));
    QCOMPARE(sent.size(), v.Tree->size());
}

void TestExportDialog::mailFailuresAreShown()
{
    TFakeMailer mailer(3);
    TFormHost h;
    TScriptedPromptsGuard prompts;
    QSignalSpy finished(&MailEvents(), &TMailEvents::Finished);
    const int held = TMailSender::HeldFolders();
    QTest::mouseClick(h.Form.SendButton(), Qt::LeftButton);
    QVERIFY(finished.wait(30000));
    QCOMPARE(finished.first().first().toBool(), false);
    const auto asks = prompts->CallsOf(QStringLiteral("Ask"));
    QCOMPARE(asks.size(), size_t(1));
    QCOMPARE(asks.front().Text, QStringLiteral("Can not email Plovix. Mapi Error: 3"));
    // The attachment's folder is gone.
    QVERIFY(!QFile::exists(mailer.Arguments().value(4)));
    QCOMPARE(TMailSender::HeldFolders(), held);
}

void TestExportDialog::escapeCloses()
{
    TFormHost h;
    QVERIFY(h.Form.isVisible());
    QTest::keyClick(&h.Form, Qt::Key_Escape);
    QVERIFY(!h.Form.isVisible());
    QCOMPARE(h.Form.result(), int(QDialog::Rejected));
}

QTEST_MAIN(TestExportDialog)
#include "tst_export_dialog.moc"
