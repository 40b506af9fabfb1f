// Translating captions and forms, applying languages with their layers and
// message sets, the stored language and the locale.

#include "I18nTestUtil.h"

#include "core/CoreConst.h"
#include "core/Messages.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDockWidget>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

TMessageText STestApplication("STestApplication", "Application text");
TMessageText STestEditor("STestEditor", "Editor text");
TMessageText STestDiagram("STestDiagram", "Diagram text");
TMessageText STestBase("STestBase", "Base text");

// A control with texts of its own.
class TCustomHeader : public QWidget, public TTranslatableControl
{
public:
    using QWidget::QWidget;
    QStringList Texts{QStringLiteral("Width"), QStringLiteral("Nothing known")};
    void TranslateTexts(const std::function<bool(QString &)> &translate) override
    {
        for (QString &t : Texts)
            translate(t);
    }
};

} // namespace

class TestTranslate : public QObject
{
    Q_OBJECT
private slots:
    void init() { ResetLanguages(); }
    void cleanup() { ResetLanguages(); }
    void keys_data();
    void keys();
    void translateText_data();
    void translateText();
    void englishTranslatesNothing();
    void stripHotkey_data();
    void stripHotkey();
    void captionsFightForOneLetter();
    void everyKindOfControl();
    void translatingAgainLeavesTextsAlone();
    void layersAreAppendedOnce();
    void guardsSkipALayerTheTableHolds();
    void missingLayersKeepTheirMessages();
    void englishFromTheMenuResetsEverything();
    void storedLanguage_data();
    void storedLanguage();
    void startUp_data();
    void startUp();
    void localeIds_data();
    void localeIds();
};

void TestTranslate::keys_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::newRow("hotkey, dots, colon") << "&Save as...:" << "SAVE AS";
    QTest::newRow("colon only") << "&Choose a Language:" << "CHOOSE A LANGUAGE";
    QTest::newRow("dots after colon stay") << "Open:..." << "OPEN:";
    QTest::newRow("non-ASCII kept") << "Größe" << "GRößE";
    QTest::newRow("literal ampersand") << "Black && White" << "BLACK & WHITE";
    QTest::newRow("spaces around") << "  Nodes " << "NODES";
}

void TestTranslate::keys()
{
    QFETCH(QString, text);
    QFETCH(QString, key);
    QCOMPARE(TranslationKey(text), key);
}

void TestTranslate::translateText_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("usedBefore");
    QTest::addColumn<bool>("replaced");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("usedAfter");

    QTest::newRow("Spanish save as") << int(lnSpanish) << "&Save as...:" << "" << true << "&Guardar como...:"
                                     << "G";
    QTest::newRow("Spanish save as, G taken") << int(lnSpanish) << "&Save as...:" << "G" << true
                                              << "G&uardar como...:" << "Gu";
    // Hotkeys compare case-sensitively: a taken "g" leaves "G" free.
    QTest::newRow("case-sensitive letters") << int(lnSpanish) << "&Save" << "g" << true << "&Guardar"
                                            << "gG";
    QTest::newRow("every letter taken") << int(lnSpanish) << "O&K" << "Aceptar" << true << "Aceptar"
                                        << "Aceptar";
    QTest::newRow("no hotkey, no mark") << int(lnSpanish) << "Open..." << "" << true << "Abrir..." << "";
    QTest::newRow("lower-case caption") << int(lnGerman) << "&open" << "" << true << "Ö&ffnen" << "f";
    QTest::newRow("German colon") << int(lnGerman) << "&Width:" << "" << true << "&Breite:" << "B";
    QTest::newRow("Japanese hotkey F") << int(lnJapanese) << "&File" << "" << true << "ファイル(&F)" << "";
    QTest::newRow("Japanese lower-case hotkey") << int(lnJapanese) << "Save &as..." << "" << true
                                                << "名前を付けて保存(&A)..." << "";
    QTest::newRow("Japanese without hotkey") << int(lnJapanese) << "Width" << "" << true << "幅" << "";
    QTest::newRow("zero") << int(lnSpanish) << "0" << "" << false << "0" << "";
    QTest::newRow("question mark") << int(lnSpanish) << "?" << "" << false << "?" << "";
    QTest::newRow("percent") << int(lnSpanish) << "%" << "" << false << "%" << "";
    QTest::newRow("empty") << int(lnSpanish) << "" << "" << false << "" << "";
    QTest::newRow("blank") << int(lnSpanish) << "   " << "" << false << "   " << "";
    QTest::newRow("unknown") << int(lnSpanish) << "&Frobnicate" << "" << false << "&Frobnicate" << "";
    QTest::newRow("indent kept") << int(lnSpanish) << " Nodes" << "" << true << " Nodos" << "";
}

void TestTranslate::translateText()
{
    QFETCH(int, language);
    QFETCH(QString, text);
    QFETCH(QString, usedBefore);
    QFETCH(bool, replaced);
    QFETCH(QString, result);
    QFETCH(QString, usedAfter);
    ApplyLanguage(language, false);
    QString used = usedBefore;
    QCOMPARE(TranslateText(text, used), replaced);
    QCOMPARE(text, result);
    QCOMPARE(used, usedAfter);
}

void TestTranslate::englishTranslatesNothing()
{
    QVERIFY(!ActiveTable());
    QString text = QStringLiteral("&Save as...:");
    QString used;
    QVERIFY(!TranslateText(text, used));
    QCOMPARE(text, QStringLiteral("&Save as...:"));
    QWidget form;
    form.setWindowTitle(QStringLiteral("Options"));
    TranslateForm(&form);
    QCOMPARE(form.windowTitle(), QStringLiteral("Options"));
}

void TestTranslate::stripHotkey_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("plain");
    QTest::newRow("mark") << "Open with &Dendrix" << "Open with Dendrix";
    QTest::newRow("parenthesised") << "Dendrix で開く(&D)" << "Dendrix で開く";
    QTest::newRow("literal") << "Tom && Jerry" << "Tom & Jerry";
    QTest::newRow("none") << "Plain" << "Plain";
}

void TestTranslate::stripHotkey()
{
    QFETCH(QString, text);
    QFETCH(QString, plain);
    QCOMPARE(StripHotkey(text), plain);
}

void TestTranslate::captionsFightForOneLetter()
{
    ApplyLanguage(lnSpanish, false);
    QWidget form;
    auto *cut = new QPushButton(QStringLiteral("Cu&t"), &form);
    auto *copy = new QPushButton(QStringLiteral("&Copy"), &form);
    auto *ok = new QPushButton(QStringLiteral("&OK"), &form);
    auto *cancel = new QPushButton(QStringLiteral("&Cancel"), &form);
    auto *layout = new QVBoxLayout(&form);
    for (QWidget *w : {static_cast<QWidget *>(cut), static_cast<QWidget *>(copy), static_cast<QWidget *>(ok),
                       static_cast<QWidget *>(cancel)})
        layout->addWidget(w);
    TranslateForm(&form);
    // Cortar takes C, Copiar gets its next free letter, and Aceptar and
    // Cancelar find theirs after what the form used (letters compare
    // case-sensitively: "a" is still free after "A").
    QCOMPARE(cut->text(), QStringLiteral("&Cortar"));
    QCOMPARE(copy->text(), QStringLiteral("C&opiar"));
    QCOMPARE(ok->text(), QStringLiteral("&Aceptar"));
    QCOMPARE(cancel->text(), QStringLiteral("C&ancelar"));

    // The mnemonics work: Alt+O presses the second button (a mnemonic
    // holds the button down before it clicks).
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(cut, Qt::Key_O, Qt::AltModifier);
    QVERIFY(copy->isDown());
    QVERIFY(!cut->isDown());
}

void TestTranslate::everyKindOfControl()
{
    ApplyLanguage(lnGerman, false);
    QMainWindow form;
    form.setWindowTitle(QStringLiteral("Options"));
    QMenu *file = form.menuBar()->addMenu(QStringLiteral("&File"));
    QAction *open = file->addAction(QStringLiteral("&Open..."));
    open->setStatusTip(QStringLiteral("Open"));
    file->addSeparator();
    QAction *tipped = file->addAction(QStringLiteral("Close"));
    tipped->setToolTip(QStringLiteral("Print"));
    auto *recent = file->addAction(QStringLiteral("&Open"));
    recent->setProperty(kNoTranslateProperty, true);

    auto *central = new QWidget(&form);
    form.setCentralWidget(central);
    auto *layout = new QVBoxLayout(central);
    auto *label = new QLabel(QStringLiteral("&Width:"), central);
    auto *rich = new QLabel(QStringLiteral("<b>Width</b>"), central);
    auto *combo = new QComboBox(central);
    combo->addItems({QStringLiteral("Solid"), QStringLiteral("Dash"), QStringLiteral("Nothing known")});
    combo->setCurrentIndex(1);
    auto *list = new QListWidget(central);
    list->addItems({QStringLiteral("Red"), QStringLiteral("Green")});
    list->setCurrentRow(1);
    auto *group = new QGroupBox(QStringLiteral("Style"), central);
    auto *radio = new QRadioButton(QStringLiteral("&Left"), group);
    auto *check = new QCheckBox(QStringLiteral("&Visible"), central);
    check->setToolTip(QStringLiteral("Shadow"));
    auto *pages = new QTabWidget(central);
    pages->addTab(new QWidget, QStringLiteral("General"));
    pages->addTab(new QWidget, QStringLiteral("Grid"));
    pages->setTabToolTip(1, QStringLiteral("Handles"));
    auto *tabs = new QTabBar(central);
    tabs->addTab(QStringLiteral("Design"));
    tabs->addTab(QStringLiteral("Preview"));
    auto *tool = new QToolButton(central);
    tool->setDefaultAction(open);
    auto *tree = new QTreeWidget(central);
    tree->setHeaderLabels({QStringLiteral("Property"), QStringLiteral("Value")});
    auto *custom = new TCustomHeader(central);
    auto *fonts = new QComboBox(central);
    fonts->addItem(QStringLiteral("Symbol"));
    fonts->setProperty(kNoTranslateProperty, true);
    auto *dock = new QDockWidget(QStringLiteral("Inspector"), &form);
    form.addDockWidget(Qt::LeftDockWidgetArea, dock);
    auto *dialog = new QDialog(&form);
    auto *dialogButton = new QPushButton(QStringLiteral("Cancel"), dialog);
    for (QWidget *w : std::initializer_list<QWidget *>{label, rich, combo, list, group, check, pages, tabs, tool, tree,
                                                      custom, fonts})
        layout->addWidget(w);

    TranslateForm(&form);
    QCOMPARE(form.windowTitle(), QStringLiteral("Optionen"));
    QCOMPARE(file->title(), QStringLiteral("&Datei"));
    QCOMPARE(open->text(), QStringLiteral("Ö&ffnen..."));
    QCOMPARE(open->statusTip(), QStringLiteral("Öffnen"));
    QCOMPARE(tipped->text(), QStringLiteral("Schließen"));
    QCOMPARE(tipped->toolTip(), QStringLiteral("Drucken"));
    QCOMPARE(recent->text(), QStringLiteral("&Open"));
    QCOMPARE(label->text(), QStringLiteral("&Breite:"));
    QCOMPARE(rich->text(), QStringLiteral("<b>Width</b>"));
    QCOMPARE(combo->itemText(0), QStringLiteral("Durchgehend"));
    QCOMPARE(combo->itemText(1), QStringLiteral("Strich"));
    QCOMPARE(combo->itemText(2), QStringLiteral("Nothing known"));
    QCOMPARE(combo->currentIndex(), 1);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Rot"));
    QCOMPARE(list->currentRow(), 1);
    QCOMPARE(group->title(), QStringLiteral("Stil"));
    QCOMPARE(radio->text(), QStringLiteral("&Links"));
    QCOMPARE(check->text(), QStringLiteral("&Sichtbar"));
    QCOMPARE(check->toolTip(), QStringLiteral("Schatten"));
    QCOMPARE(pages->tabText(0), QStringLiteral("Allgemein"));
    QCOMPARE(pages->tabText(1), QStringLiteral("Raster"));
    QCOMPARE(pages->tabToolTip(1), QStringLiteral("Griffe"));
    QCOMPARE(tabs->tabText(0), QStringLiteral("Entwurf"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("Vorschau"));
    QCOMPARE(tool->defaultAction(), open);
    QCOMPARE(tool->text(), QStringLiteral("Öffnen"));
    QCOMPARE(tree->headerItem()->text(0), QStringLiteral("Eigenschaft"));
    QCOMPARE(tree->headerItem()->text(1), QStringLiteral("Wert"));
    QCOMPARE(custom->Texts, QStringList({QStringLiteral("Breite"), QStringLiteral("Nothing known")}));
    QCOMPARE(fonts->itemText(0), QStringLiteral("Symbol"));
    QCOMPARE(dock->windowTitle(), QStringLiteral("Inspektor"));
    // A dialog of the form translates itself when it is shown.
    QCOMPARE(dialogButton->text(), QStringLiteral("Cancel"));
}

void TestTranslate::translatingAgainLeavesTextsAlone()
{
    ApplyLanguage(lnSpanish, false);
    QWidget form;
    auto *layout = new QVBoxLayout(&form);
    // "Color" translates into itself: translated twice, it would lose its
    // hotkey to the letter it took the first time.
    auto *color = new QPushButton(QStringLiteral("&Color"), &form);
    layout->addWidget(color);
    TranslateForm(&form);
    QCOMPARE(color->text(), QStringLiteral("&Color"));
    auto *black = new QPushButton(QStringLiteral("&Black"), &form);
    layout->addWidget(black);
    TranslateForm(&form);
    QCOMPARE(color->text(), QStringLiteral("&Color"));
    // What came since is translated, its hotkey after the ones taken.
    QCOMPARE(black->text(), QStringLiteral("&Negro"));
    auto *cut = new QPushButton(QStringLiteral("Cu&t"), &form);
    layout->addWidget(cut);
    TranslateForm(&form);
    QCOMPARE(cut->text(), QStringLiteral("C&ortar"));
}

void TestTranslate::layersAreAppendedOnce()
{
    ApplyLanguage(lnSpanish, false);
    const int lines = ActiveTableLines();
    const TTranslationTable *spanish = ActiveTable();
    QVERIFY(spanish->Contains(QStringLiteral("NEW USING WIZARD")));
    QVERIFY(spanish->Contains(QStringLiteral("FLOWCHART")));
    QVERIFY(lines > 400);
    ApplyLanguage(lnSpanish, false);
    QCOMPARE(ActiveTableLines(), lines);
    // Another language and back: the table is the one made first.
    ApplyLanguage(lnGerman, true);
    QVERIFY(ActiveTable() != spanish);
    ApplyLanguage(lnSpanish, true);
    QCOMPARE(ActiveTable(), spanish);
    QCOMPARE(ActiveTableLines(), lines);
}

void TestTranslate::guardsSkipALayerTheTableHolds()
{
    TLanguageData data;
    // The shared vocabulary already holds a key of the application layer
    // (and lines without "=", which never match).
    data.Write(QStringLiteral("es"), LayerFileName(vlEditor),
               {QStringLiteral("OK=Vale"), QStringLiteral("no equals sign"), QStringLiteral("NEW USING WIZARD=Asistente")});
    data.Write(QStringLiteral("es"), LayerFileName(vlApplication),
               {QStringLiteral("OK=Aceptar"), QStringLiteral("OPEN=Abrir")});
    data.Write(QStringLiteral("es"), LayerFileName(vlDiagram),
               {QStringLiteral("FLOWCHART=Diagrama"), QStringLiteral("OPEN=Abrir ya"), QStringLiteral("NODE=Nodo")});
    ApplyLanguage(lnSpanish, false);
    const TTranslationTable *t = ActiveTable();
    QCOMPARE(t->Lines().size(), 6);
    QCOMPARE(t->Lookup(QStringLiteral("OK")), QStringLiteral("Vale"));
    // The first line with a key wins.
    QCOMPARE(t->Lookup(QStringLiteral("OPEN")), QStringLiteral("Abrir ya"));
    QCOMPARE(t->Lookup(QStringLiteral("NO EQUALS SIGN")), QString());
    QCOMPARE(t->Lookup(QStringLiteral("ok")), QString());
}

void TestTranslate::missingLayersKeepTheirMessages()
{
    TLanguageData data;
    const auto messages = [&](const QString &folder, TMessageSet set, const QString &text) {
        const char *ids[] = {"STestApplication", "STestEditor", "STestDiagram", "STestBase"};
        data.Write(folder, MessageSetFileName(set), {QLatin1String(ids[set]) + QLatin1Char('=') + text});
    };
    data.Write(QStringLiteral("es"), LayerFileName(vlEditor), {QStringLiteral("OK=Aceptar")});
    messages(QStringLiteral("es"), msApplication, QStringLiteral("Texto de la aplicación"));
    messages(QStringLiteral("es"), msEditor, QStringLiteral("Texto del editor"));
    messages(QStringLiteral("es"), msDiagram, QStringLiteral("Texto del diagrama\\nsegunda línea"));
    messages(QStringLiteral("es"), msBase, QStringLiteral("Texto base"));
    // German has the shared vocabulary and base messages only.
    data.Write(QStringLiteral("de"), LayerFileName(vlEditor), {QStringLiteral("OK=OK")});
    messages(QStringLiteral("de"), msBase, QStringLiteral("Basistext"));

    ApplyLanguage(lnSpanish, false);
    QCOMPARE(STestApplication.Text(), QStringLiteral("Texto de la aplicación"));
    QCOMPARE(STestEditor.Text(), QStringLiteral("Texto del editor"));
    QCOMPARE(STestDiagram.Text(), QStringLiteral("Texto del diagrama\nsegunda línea"));
    QCOMPARE(STestBase.Text(), QStringLiteral("Texto base"));
    ApplyLanguage(lnGerman, true);
    QCOMPARE(ActiveLanguage(), int(lnGerman));
    QCOMPARE(ActiveTableLines(), 1);
    QCOMPARE(STestBase.Text(), QStringLiteral("Basistext"));
    QCOMPARE(STestApplication.Text(), QStringLiteral("Texto de la aplicación"));
    QCOMPARE(STestDiagram.Text(), QStringLiteral("Texto del diagrama\nsegunda línea"));
    // Only languages with data are offered.
    QCOMPARE(LanguageEntries(),
             QStringList({QStringLiteral("English,0"), QStringLiteral("German,8"), QStringLiteral("Spanish,12")}));
}

void TestTranslate::englishFromTheMenuResetsEverything()
{
    ApplyLanguage(lnJapanese, false);
    QVERIFY(HotkeyStyle());
    QCOMPARE(SContinue.Text(), QStringLiteral("続行しますか?"));
    // At start a number outside 1..20 changes nothing.
    ApplyLanguage(0, false);
    QCOMPARE(ActiveLanguage(), int(lnJapanese));
    ApplyLanguage(255, false);
    QVERIFY(ActiveTable());
    // From the menu it means English.
    ApplyLanguage(255, true);
    QVERIFY(!ActiveTable());
    QVERIFY(!HotkeyStyle());
    QCOMPARE(ActiveLanguage(), int(lnEnglish));
    QCOMPARE(SContinue.Text(), QStringLiteral("Continue?"));
}

void TestTranslate::storedLanguage_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("stored");
    QTest::newRow("nothing") << QByteArray() << kNoStoredLanguage;
    QTest::newRow("Spanish") << QByteArray("[Editor]\nLanguage=12\n") << int(lnSpanish);
    QTest::newRow("another key only") << QByteArray("[Editor]\nOther=3\n") << kNoStoredLanguage;
    QTest::newRow("not a number") << QByteArray("[Editor]\nLanguage=Spanish\n") << kNoStoredLanguage;
    QTest::newRow("a list") << QByteArray("[Editor]\nLanguage=1, 2\n") << kNoStoredLanguage;
    QTest::newRow("binary junk") << QByteArray("\x00\xff[[[\n=\x01\n", 9) << kNoStoredLanguage;
}

void TestTranslate::storedLanguage()
{
    QFETCH(QByteArray, file);
    QFETCH(int, stored);
    TPrivateHome home;
    if (!file.isEmpty())
        QVERIFY(home.WriteSettingsFile(QStringLiteral("Plovix Pro"), file));
    QCOMPARE(ReadStoredLanguage(), stored);
    WriteStoredLanguage(lnJapanese);
    QCOMPARE(ReadStoredLanguage(), int(lnJapanese));
}

void TestTranslate::startUp_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("language");
    QTest::newRow("nothing stored, unmapped locale") << "ja_JP" << kNoStoredLanguage << int(lnEnglish);
    QTest::newRow("nothing stored, C locale") << "C" << kNoStoredLanguage << int(lnEnglish);
    QTest::newRow("nothing stored, Spanish locale") << "es_ES" << kNoStoredLanguage << int(lnSpanish);
    QTest::newRow("nothing stored, German locale") << "de_DE" << kNoStoredLanguage << int(lnGerman);
    QTest::newRow("stored wins over locale") << "de_DE" << int(lnJapanese) << int(lnJapanese);
    QTest::newRow("stored English") << "es_ES" << int(lnEnglish) << int(lnEnglish);
    QTest::newRow("stored out of range") << "es_ES" << 99 << int(lnEnglish);
}

void TestTranslate::startUp()
{
    QFETCH(QString, locale);
    QFETCH(int, stored);
    QFETCH(int, language);
    TPrivateHome home;
    const QLocale before;
    QLocale::setDefault(QLocale(locale));
    if (stored != kNoStoredLanguage)
        WriteStoredLanguage(stored);
    ApplyLanguageAtStart();
    QLocale::setDefault(before);
    QCOMPARE(ActiveLanguage(), language);
    QCOMPARE(ActiveTable() != nullptr, language != lnEnglish);
    // Starting writes nothing.
    if (stored == kNoStoredLanguage)
        QVERIFY(!QFile::exists(home.SettingsFile(QStringLiteral("Plovix Pro"))));
}

void TestTranslate::localeIds_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("language");
    QTest::newRow("es_ES") << "es_ES" << 0x0C0A << int(lnSpanish);
    QTest::newRow("es_MX") << "es_MX" << 0x080A << kUnmappedLanguage;
    QTest::newRow("de_DE") << "de_DE" << 0x0407 << int(lnGerman);
    QTest::newRow("de_AT") << "de_AT" << 0x0C07 << kUnmappedLanguage;
    QTest::newRow("ca_ES") << "ca_ES" << 1027 << int(lnCatalan);
    QTest::newRow("da_DK") << "da_DK" << 1030 << int(lnDanish);
    QTest::newRow("fr_FR") << "fr_FR" << 1036 << int(lnFrench);
    QTest::newRow("hu_HU") << "hu_HU" << 1038 << int(lnHungarian);
    QTest::newRow("it_IT") << "it_IT" << 1040 << int(lnItalian);
    QTest::newRow("nb_NO") << "nb_NO" << 1044 << int(lnNorwegian);
    QTest::newRow("nn_NO") << "nn_NO" << 2068 << int(lnNorwegian);
    QTest::newRow("pt_BR") << "pt_BR" << 1046 << int(lnBrazilian);
    QTest::newRow("pt_PT") << "pt_PT" << 0x0816 << kUnmappedLanguage;
    QTest::newRow("sv_SE") << "sv_SE" << 1053 << int(lnSwedish);
    QTest::newRow("ja_JP") << "ja_JP" << 0x0411 << kUnmappedLanguage;
    QTest::newRow("en_US") << "en_US" << 0x0409 << kUnmappedLanguage;
    QTest::newRow("sw_KE (none)") << "sw_KE" << 0 << kUnmappedLanguage;
}

void TestTranslate::localeIds()
{
    QFETCH(QString, locale);
    QFETCH(int, id);
    QFETCH(int, language);
    QCOMPARE(LocaleIdOf(QLocale(locale)), id);
    QCOMPARE(LanguageOfLocaleId(id), language);
}

QTEST_MAIN(TestTranslate)
#include "tst_translate.moc"
