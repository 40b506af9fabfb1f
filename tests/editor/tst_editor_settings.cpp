// The window's settings: what it writes at close and reads when first
// shown, bounds kept on the screens, hostile or corrupt values ignored.

#include "EditorTestUtil.h"

#include <QSplitter>

class TestEditorSettings : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { InitEditorTests(FBase); }
    void init() { ClearEditorSettings(); }
    void boundsAreFittedToTheScreens_data();
    void boundsAreFittedToTheScreens();
    void bandsAndSidePanelAreKept();
    void boundsAreReadOnlyWithLeft();
    void hostileValuesCountAsAbsent_data();
    void hostileValuesCountAsAbsent();
    void aCorruptStoreIsIgnored();
    void aMinimisedWindowStartsNormal();
    void recentFilesAreKept();

private:
    std::unique_ptr<TTreeEditor1> Editor() { return ShownEditor(FBase.filePath(QStringLiteral("recovery"))); }
    QTemporaryDir FBase;
};

void TestEditorSettings::boundsAreFittedToTheScreens_data()
{
    QTest::addColumn<QRect>("stored");
    QTest::addColumn<QRect>("fitted");
    // Two screens side by side, the second smaller.
    QTest::newRow("inside") << QRect(100, 100, 800, 600) << QRect(100, 100, 800, 600);
    QTest::newRow("on the second screen") << QRect(2000, 50, 600, 400) << QRect(2000, 50, 600, 400);
    QTest::newRow("screen gone") << QRect(5000, 3000, 800, 600) << QRect(1120, 480, 800, 600);
    QTest::newRow("far negative") << QRect(-900000, -900000, 800, 600) << QRect(0, 0, 800, 600);
    QTest::newRow("hanging off the right") << QRect(1500, 100, 800, 600) << QRect(1120, 100, 800, 600);
    QTest::newRow("larger than the screen") << QRect(0, 0, 5000, 4000) << QRect(0, 0, 1920, 1080);
    QTest::newRow("mostly on the second") << QRect(1800, 100, 700, 500) << QRect(1920, 100, 700, 500);
    QTest::newRow("too large for the second") << QRect(2100, 0, 1500, 900) << QRect(1920, 0, 1280, 768);
    QTest::newRow("tiny") << QRect(10, 10, 5, 5) << QRect(10, 10, 200, 150);
}

void TestEditorSettings::boundsAreFittedToTheScreens()
{
    QFETCH(QRect, stored);
    QFETCH(QRect, fitted);
    const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 768)};
    QCOMPARE(FitWindowBounds(stored, screens), fitted);
}

void TestEditorSettings::bandsAndSidePanelAreKept()
{
    {
        auto editor = Editor();
        // The defaults of a first start.
        QVERIFY(!editor->BandVisible(ebPropertyPages));
        for (TEditorBand band : {ebPalette, ebToolButtons, ebFontToolbar, ebFormatToolbar, ebNodeOutline, ebInspector,
                                 ebStatusBar, ebRulers})
            QVERIFY2(editor->BandVisible(band), qPrintable(QString::number(band)));
        QVERIFY(editor->SidePanelLeft());
        editor->SetBandVisible(ebPropertyPages, true);
        editor->SetBandVisible(ebFontToolbar, false);
        editor->SetBandVisible(ebFormatToolbar, false);
        editor->SetBandVisible(ebStatusBar, false);
        editor->SetBandVisible(ebNodeOutline, false);
        editor->SetRulersShowUnits(false);
        editor->SetSidePanelLeft(false);
        // Both toolbars hidden: their band goes too.
        QVERIFY(editor->PanelTools()->isHidden());
        QVERIFY(editor->close());
    }
    const auto settings = OpenDendrixSettings();
    QCOMPARE(settings->value(QStringLiteral("Tabs")).toBool(), true);
    QCOMPARE(settings->value(QStringLiteral("NodeTreeLeft")).toBool(), false);
    QCOMPARE(settings->value(QStringLiteral("State")).toInt(), 0);
    QVERIFY(settings->contains(QStringLiteral("Left")));
    auto again = Editor();
    QVERIFY(again->BandVisible(ebPropertyPages));
    QVERIFY(!again->BandVisible(ebFontToolbar));
    QVERIFY(!again->BandVisible(ebFormatToolbar));
    QVERIFY(again->PanelTools()->isHidden());
    QVERIFY(!again->BandVisible(ebStatusBar));
    QVERIFY(!again->BandVisible(ebNodeOutline));
    // The inspector is shown at every start.
    QVERIFY(again->BandVisible(ebInspector));
    QVERIFY(!again->PanelNodes()->isHidden());
    QVERIFY(!again->RulersShowUnits());
    QVERIFY(!again->SidePanelLeft());
    QCOMPARE(again->MainSplitter()->indexOf(again->PanelNodes()), 1);
}

void TestEditorSettings::boundsAreReadOnlyWithLeft()
{
    {
        const auto settings = OpenDendrixSettings();
        settings->setValue(QStringLiteral("Top"), 40);
        settings->setValue(QStringLiteral("Width"), 720);
        settings->setValue(QStringLiteral("Height"), 480);
    }
    auto editor = Editor();
    QCOMPARE(editor->size(), QSize(800, 600));
    editor->close();
    {
        const auto settings = OpenDendrixSettings();
        settings->setValue(QStringLiteral("Left"), 30);
        settings->setValue(QStringLiteral("Top"), 40);
        settings->setValue(QStringLiteral("Width"), 720);
        settings->setValue(QStringLiteral("Height"), 480);
    }
    auto again = Editor();
    QCOMPARE(again->size(), QSize(720, 480));
}

void TestEditorSettings::hostileValuesCountAsAbsent_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("width not a number") << QStringLiteral("Width") << QVariant(QStringLiteral("wide"));
    QTest::newRow("width negative") << QStringLiteral("Width") << QVariant(-640);
    QTest::newRow("width huge") << QStringLiteral("Width") << QVariant(2000000000);
    QTest::newRow("height zero") << QStringLiteral("Height") << QVariant(0);
    QTest::newRow("left a list") << QStringLiteral("Left") << QVariant(QStringList{QStringLiteral("1"), QStringLiteral("2")});
    QTest::newRow("side panel negative") << QStringLiteral("NodeTreeWidth") << QVariant(-5);
    QTest::newRow("side panel a word") << QStringLiteral("NodeTreeWidth") << QVariant(QStringLiteral("narrow"));
    QTest::newRow("tabs a word") << QStringLiteral("Tabs") << QVariant(QStringLiteral("maybe"));
    QTest::newRow("state unknown") << QStringLiteral("State") << QVariant(77);
    QTest::newRow("animation editor height") << QStringLiteral("AnimationEditorHeight") << QVariant(-1);
}

void TestEditorSettings::hostileValuesCountAsAbsent()
{
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    {
        const auto settings = OpenDendrixSettings();
        settings->setValue(QStringLiteral("Left"), 30);
        settings->setValue(QStringLiteral("Top"), 40);
        settings->setValue(QStringLiteral("Width"), 720);
        settings->setValue(QStringLiteral("Height"), 480);
        settings->setValue(key, value);
    }
    auto editor = Editor();
    const bool boundsKey = key == QLatin1String("Left") || key == QLatin1String("Width") || key == QLatin1String("Height");
    QCOMPARE(editor->size(), boundsKey ? QSize(800, 600) : QSize(720, 480));
    QVERIFY(!editor->BandVisible(ebPropertyPages));
    QVERIFY(!editor->isMaximized());
    QVERIFY(!editor->isMinimized());
    QCOMPARE(editor->AnimationEditorHeight(), TTreeEditor1::kDefaultAnimationEditorHeight);
    QVERIFY(editor->MainSplitter()->sizes().value(0) > 0);
}

void TestEditorSettings::aCorruptStoreIsIgnored()
{
    const QString file = EditorSettingsFile();
    QVERIFY(QDir().mkpath(QFileInfo(file).path()));
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[General\nLeft=\x01\x02\x03\nTabs=true\n\xff\xfe[[[\n");
    }
    auto editor = Editor();
    QVERIFY(!editor->BandVisible(ebPropertyPages));
    QCOMPARE(editor->size(), QSize(800, 600));
}

void TestEditorSettings::aMinimisedWindowStartsNormal()
{
    {
        const auto settings = OpenDendrixSettings();
        settings->setValue(QStringLiteral("State"), 1);
    }
    auto editor = Editor();
    QVERIFY(!editor->isMinimized());
    QCOMPARE(editor->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized), Qt::WindowNoState);
    editor->close();
    {
        const auto settings = OpenDendrixSettings();
        settings->setValue(QStringLiteral("State"), 2);
    }
    auto maximised = Editor();
    QVERIFY(maximised->windowState() & Qt::WindowMaximized);
    // A maximised window keeps the bounds it had before.
    {
        const auto settings = OpenDendrixSettings();
        settings->setValue(QStringLiteral("Width"), 123);
    }
    maximised->close();
    const auto settings = OpenDendrixSettings();
    QCOMPARE(settings->value(QStringLiteral("State")).toInt(), 2);
    QCOMPARE(settings->value(QStringLiteral("Width")).toInt(), 123);
}

void TestEditorSettings::recentFilesAreKept()
{
    QTemporaryDir dir;
    const QString a = WriteDiagram(dir.filePath(QStringLiteral("a.abx")), {QStringLiteral("A")});
    const QString b = WriteDiagram(dir.filePath(QStringLiteral("b.abx")), {QStringLiteral("B")});
    {
        auto editor = Editor();
        QVERIFY(editor->ReadFile(a));
        QVERIFY(editor->ReadFile(b));
        QCOMPARE(editor->Recent()->FileNames(), QStringList({b, a}));
        QVERIFY(editor->close());
    }
    auto again = Editor();
    QCOMPARE(again->Recent()->FileNames(), QStringList({b, a}));
    // Choosing an entry opens it.
    again->Recent()->Entry(1)->trigger();
    QCOMPARE(again->FileName(), a);
}

QTEST_MAIN(TestEditorSettings)
#include "tst_editor_settings.moc"
