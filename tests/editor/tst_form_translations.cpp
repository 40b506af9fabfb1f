// Every caption the program's windows and dialogs show has a translation
// in every language. The captions are taken from the program itself: each
// window is built and opened as the user opens it (dialogs through the
// scripted prompts), every page is brought into sight, and the texts are
// read the way the translator walks a form (FormTexts), so a caption added
// without its translations fails here.

#include "EditorTestUtil.h"

#include "animation/TreeAnimateEditor.h"
#include "canvas/KorPrinter.h"
#include "dbtree/KorNewDataSet.h"
#include "dbtree/KorSelectList.h"
#include "dialogs/KorBrushDlg.h"
#include "dialogs/KorEdiGrad.h"
#include "dialogs/KorPenDlg.h"
#include "dialogs/KorTextDlg.h"
#include "dialogs/TreeCoEd.h"
#include "dialogs/TreeShEd.h"
#include "editor/TreeCommands.h"
#include "editor/TreeUndo.h"
#include "export/KorExportForm.h"
#include "export/KorPrevi.h"
#include "i18n/KorLanguages.h"
#include "i18n/KorTranslate.h"
#include "model/TreeConnection.h"
#include "model/TreeNodeShape.h"

#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTabWidget>
#include <algorithm>
#include <map>
#include <set>

namespace {

// The captions each window or dialog shows, by its name.
using TFormTexts = std::map<QString, std::set<QString>>;

// Names that read the same in every language: file formats, programs,
// colour reduction methods named after their authors, compressions.
bool SameInEveryLanguage(const QString &key)
{
    static const std::set<QString> names = {
        QStringLiteral("BMP"),    QStringLiteral("EMF"),        QStringLiteral("WMF"),     QStringLiteral("JPEG"),
        QStringLiteral("PNG"),    QStringLiteral("GIF"),        QStringLiteral("PCX"),     QStringLiteral("VML"),
        QStringLiteral("HTML"),   QStringLiteral("XML"),        QStringLiteral("XLS"),     QStringLiteral("PDF"),
        QStringLiteral("SVG"),    QStringLiteral("EXCEL"),      QStringLiteral("UML"),     QStringLiteral("SQLITE"),
        QStringLiteral("POSTGRESQL"), QStringLiteral("DENDRIX"), QStringLiteral("ARBOLIX"), QStringLiteral("OK"),
        QStringLiteral("NETSCAPE"), QStringLiteral("WINDOWS 20"), QStringLiteral("WINDOWS 256"), QStringLiteral("BURKES"),
        QStringLiteral("FLOYD STEINBERG"), QStringLiteral("JAJUNI"), QStringLiteral("SIERRA"), QStringLiteral("STUCKI"),
        QStringLiteral("STEVE ARCHE"), QStringLiteral("LZW"),     QStringLiteral("RLE"),
    };
    return names.count(key) > 0;
}

// A message text as a pattern its formatted texts match ("Editing %s"
// matches "Editing Node1", "Point" matches "Point 3" of a numbered list);
// none for a message that is placeholders only.
std::vector<QRegularExpression> MessagePatterns()
{
    static const QRegularExpression placeholder(QStringLiteral("%[-0-9.]*[a-zA-Z]"));
    std::vector<QRegularExpression> out;
    for (const TMessageText *m : TMessageText::All()) {
        const QString english = StripHotkey(m->English());
        QString words = english;
        words.remove(placeholder);
        if (!std::any_of(words.begin(), words.end(), [](QChar c) { return c.isLetter(); }))
            continue;
        QStringList parts;
        for (const QString &part : english.split(placeholder))
            parts << QRegularExpression::escape(part);
        out.emplace_back(QStringLiteral("^") + parts.join(QStringLiteral(".*")) + QStringLiteral("( \\d+)?$"),
                         QRegularExpression::DotMatchesEverythingOption);
    }
    return out;
}

// Whether a caption needs a line in a language's table: what the
// translator looks up ("?", "%", "0" and blanks are not), holding a word of
// two letters or more. Texts the code makes from message texts are
// translated by the language's messages instead; texts of several lines
// are sample data (a table line holds no line break).
bool NeedsTranslation(const QString &text)
{
    if (text == QLatin1String("?") || text == QLatin1String("%") || text == QLatin1String("0"))
        return false;
    const QString key = TranslationKey(text);
    static const QRegularExpression word(QStringLiteral("[A-Za-z]{2}"));
    if (!key.contains(word) || key.contains(QLatin1Char('\n')) || SameInEveryLanguage(key))
        return false;
    static const std::vector<QRegularExpression> messages = MessagePatterns();
    const QString plain = StripHotkey(text.trimmed());
    return std::none_of(messages.begin(), messages.end(),
                        [&](const QRegularExpression &m) { return m.match(plain).hasMatch(); });
}

// Brings every page of every page control into sight once (pages build
// their controls when first shown), then back to the first.
void ShowEveryPage(QWidget *form)
{
    for (QTabWidget *pages : form->findChildren<QTabWidget *>()) {
        const int current = pages->currentIndex();
        for (int i = 0; i < pages->count(); ++i) {
            pages->setCurrentIndex(i);
            QCoreApplication::processEvents();
        }
        pages->setCurrentIndex(current);
    }
}

void Read(TFormTexts &forms, const QString &name, QWidget *form)
{
    ShowEveryPage(form);
    for (const QString &text : FormTexts(form))
        forms[name].insert(text);
}

} // namespace

class TestFormTranslations : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyWindowIsRead_data();
    void everyWindowIsRead();
    void everyCaptionIsTranslated_data();
    void everyCaptionIsTranslated();
    void aTranslatedWindowShowsNoEnglish_data();
    void aTranslatedWindowShowsNoEnglish();

private:
    void ReadDialogs(TTreeEditor1 &editor);

    QTemporaryDir FDir;
    TFormTexts FForms;
};

void TestFormTranslations::initTestCase()
{
    QVERIFY(FDir.isValid());
    InitEditorTests(FDir);
    ResetLanguages();
    auto editor = ShownEditor(FDir.filePath(QStringLiteral("recovery")));
    QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
    TTree *tree = editor->Tree();
    TTreeNodeShape *a = tree->AddShape(20, 20, nullptr, QStringLiteral("A"));
    TTreeNodeShape *b = tree->AddShape(200, 20, nullptr, QStringLiteral("B"));
    TTreeConnection *link = a->AddConnection(b);
    QVERIFY(link);
    a->SetSelected(true);
    // The Undo item names no step (its caption is made of two messages).
    editor->Undo()->Clear();
    // Every band in sight, the animation editor too.
    for (TEditorBand band : {ebPropertyPages, ebPalette, ebToolButtons, ebFontToolbar, ebFormatToolbar, ebNodeOutline,
                             ebInspector, ebStatusBar, ebAnimationEditor})
        editor->SetBandVisible(band, true);
    QCoreApplication::processEvents();
    Read(FForms, QStringLiteral("main window"), editor.get());
    ReadDialogs(*editor);
    editor->SetModified(false);
    editor->close();
}

void TestFormTranslations::cleanupTestCase()
{
    ResetLanguages();
}

void TestFormTranslations::ReadDialogs(TTreeEditor1 &editor)
{
    TScriptedPromptsGuard prompts;
    prompts->OnExec = [this](QDialog &dialog) {
        const QString name = dialog.objectName().isEmpty() ? QString::fromLatin1(dialog.metaObject()->className())
                                                           : dialog.objectName();
        Read(FForms, name, &dialog);
        // The export dialog shows the options of the format chosen.
        if (auto *exporter = qobject_cast<TKorExportFormBase *>(&dialog))
            for (int row = 0; row < exporter->Formats()->count(); ++row) {
                exporter->Formats()->setCurrentRow(row);
                QCoreApplication::processEvents();
                Read(FForms, name, &dialog);
            }
        return int(QDialog::Rejected);
    };
    TTree *tree = editor.Tree();
    TTreeNodeShape *node = tree->Shapes().Items(0);
    TTreeConnection *link = tree->Connections().Items(0);
    EditShape(&editor, node);
    EditConnection(&editor, link);
    EditText(&editor, node);
    EditPen(&editor, node->Border());
    EditBrush(&editor, node->Brush());
    EditGradient(&editor, node->Gradient());
    TTreeCommands *commands = editor.Commands();
    for (TTreeCommand c : {cmExport, cmPrintPreview, cmAbout})
        commands->Action(c)->trigger();
    editor.LanguageAction()->trigger();
    for (QAction *a : editor.findChildren<QAction *>(QStringLiteral("NewDatabaseTree1")))
        a->trigger();
    if (TTreeAnimateEditor *animation = editor.AnimationEditor())
        animation->AddFromGallery();
    NewDataSet(&editor, tree->Owner());
    QString selection;
    SelectFields(&editor, {QStringLiteral("Code"), QStringLiteral("Parent")}, selection);
    TPdfPageSetupForm setup(Printer(), &editor);
    setup.show();
    Read(FForms, QStringLiteral("page set-up"), &setup);
    // The context menus and the inspector's format menus.
    for (QMenu *menu : {commands->NodeMenu(), commands->ConnectionMenu(), commands->PointMenu(),
                        commands->NodeFormatMenu(), commands->ConnectionFormatMenu(), commands->PanelMenu()})
        Read(FForms, menu->objectName(), menu);
}

void TestFormTranslations::everyWindowIsRead_data()
{
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("caption");
    // One caption each window shows, so that a window the test no longer
    // reaches is noticed.
    QTest::newRow("main window") << "main window" << "&File";
    QTest::newRow("shape editor") << "NodeTreeEditor" << "Shadow";
    QTest::newRow("connection editor") << "ConnectionEditor" << "Format";
    QTest::newRow("text") << "FormKorText" << "";
    QTest::newRow("pen") << "PenDialog" << "Border Editor";
    QTest::newRow("brush") << "BrushDialog" << "";
    QTest::newRow("gradient") << "GradientEditor" << "&No Middle";
    QTest::newRow("export") << "TreeExportForm" << "&Keep aspect ratio";
    QTest::newRow("preview") << "ChartPreview" << "&View Margins";
    QTest::newRow("about") << "AboutBox" << "";
    QTest::newRow("language") << "AskLanguage" << "&Choose a Language:";
    QTest::newRow("database tree") << "TreeDBEditor" << "&Text fields:";
    QTest::newRow("new dataset") << "NewDataSetForm" << "&SQL Query:";
    QTest::newRow("fields") << "SelectListForm" << "Fields";
    QTest::newRow("animation gallery") << "TreeAnimationGallery" << "";
    QTest::newRow("page set-up") << "page set-up" << "";
    QTest::newRow("node menu") << "NodeMenu" << "";
    QTest::newRow("panel menu") << "PanelMenu" << "";
}

void TestFormTranslations::everyWindowIsRead()
{
    QFETCH(QString, form);
    QFETCH(QString, caption);
    QStringList names;
    for (const auto &[name, texts] : FForms)
        names << name;
    QVERIFY2(FForms.count(form), qPrintable(names.join(QStringLiteral(", "))));
    QVERIFY(FForms[form].size() >= 3);
    if (!caption.isEmpty())
        QVERIFY2(FForms[form].count(caption), qPrintable(QStringList(FForms[form].begin(), FForms[form].end()).join(QLatin1Char('|'))));
}

void TestFormTranslations::everyCaptionIsTranslated_data()
{
    QTest::addColumn<int>("language");
    for (const TLanguageInfo &l : Languages())
        if (l.Number != lnEnglish)
            QTest::newRow(l.Folder) << l.Number;
}

void TestFormTranslations::everyCaptionIsTranslated()
{
    QFETCH(int, language);
    ResetLanguages();
    ApplyLanguage(language, true);
    const TTranslationTable *table = ActiveTable();
    QVERIFY(table);
    // Every missing one at once, each key once.
    std::map<QString, std::pair<QString, QString>> missing; // key: text, form
    for (const auto &[form, texts] : FForms)
        for (const QString &text : texts)
            if (NeedsTranslation(text) && !table->Contains(TranslationKey(text)))
                missing.emplace(TranslationKey(text), std::make_pair(text, form));
    // One line each (a failure message is cut short).
    const QString folder = QString::fromLatin1(FindLanguage(language)->Folder);
    for (const auto &[key, shown] : missing)
        qWarning().noquote() << folder << "lacks" << key + QLatin1Char('=') << shown.first << "of" << shown.second;
    QVERIFY2(missing.empty(), qPrintable(QStringLiteral("%1 captions without translation").arg(missing.size())));
    ResetLanguages();
}

void TestFormTranslations::aTranslatedWindowShowsNoEnglish_data()
{
    everyCaptionIsTranslated_data();
}

void TestFormTranslations::aTranslatedWindowShowsNoEnglish()
{
    // The main window made in a language as the program makes it at start
    // (the language first) and translated: no caption is left in English
    // where the table or the messages have another text for it. So what
    // the check reads is what the translator replaces, and a text copied
    // from a message before the language came is noticed.
    QFETCH(int, language);
    ResetLanguages();
    std::map<QString, const TMessageText *> messages;
    for (const TMessageText *m : TMessageText::All())
        messages.emplace(StripHotkey(m->English()), m);
    ApplyLanguage(language, true);
    const TTranslationTable *table = ActiveTable();
    QVERIFY(table);
    auto editor = ShownEditor(FDir.filePath(QStringLiteral("recovery")));
    QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
    TranslateForm(editor.get());
    // A translation that reads like an English text is no English left.
    std::set<QString> translations;
    for (const QString &line : table->Lines())
        translations.insert(line.mid(line.indexOf(QLatin1Char('=')) + 1));
    QStringList left;
    const QStringList shown = FormTexts(editor.get());
    for (const QString &text : shown) {
        const QString key = TranslationKey(text);
        if (!NeedsTranslation(text) && !messages.count(StripHotkey(text.trimmed())))
            continue;
        QString bare = StripHotkey(text.trimmed());
        if (bare.endsWith(QLatin1Char(':')))
            bare.chop(1);
        if (bare.endsWith(QLatin1String("...")))
            bare.chop(3);
        if (translations.count(bare))
            continue;
        const auto m = messages.find(StripHotkey(text.trimmed()));
        const bool byMessage = m != messages.end() && StripHotkey(m->second->Text()) != m->first;
        const bool byTable = table->Contains(key) && TranslationKey(table->Lookup(key)) != key;
        if (byMessage || byTable)
            left << text;
    }
    QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char('|'))));
    QVERIFY(shown.size() > 100);
    // The menu bar's menus are translated too.
    QStringList titles;
    for (QAction *a : editor->menuBar()->actions())
        titles << StripHotkey(a->text());
    QVERIFY2(titles.contains(StripHotkey(table->Lookup(QStringLiteral("FILE")))), qPrintable(titles.join(QLatin1Char('|'))));
    editor->SetModified(false);
    editor->close();
    editor.reset();
    ResetLanguages();
}

// Every missing caption of every language is listed, however many.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestFormTranslations test;
    QStringList args = app.arguments();
    args << QStringLiteral("-maxwarnings") << QStringLiteral("0");
    return QTest::qExec(&test, args);
}
#include "tst_form_translations.moc"
