// The recent files: order, numbering, capacity, names as the file system
// has them, the settings store and what a hostile store does.

#include "../i18n/I18nTestUtil.h"

#include "editor/DendrixSettings.h"
#include "editor/KorRecentFiles.h"

#include <QAction>
#include <QMenu>

namespace {

// A menu with the separator and the "&Reopen" submenu, and files to list.
class TRecentFixture
{
public:
    TRecentFixture()
    {
        FSeparator = FFile.addSeparator();
        FReopen = FFile.addMenu(QStringLiteral("&Reopen"));
        Recent = std::make_unique<TRecentFiles>(FReopen, FSeparator);
        Recent->OnOpen = [this](const QString &name) { Opened << name; };
    }
    // Creates a file in the temporary folder and answers its full name.
    QString File(const QString &name) const
    {
        const QString path = FDir.filePath(name);
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write("TPF0");
        return path;
    }
    QStringList Captions() const
    {
        QStringList out;
        for (QAction *a : FReopen->actions())
            out << a->text();
        return out;
    }
    QAction *Separator() const { return FSeparator; }
    QMenu *Reopen() const { return FReopen; }
    QString Dir() const { return FDir.path(); }

    std::unique_ptr<TRecentFiles> Recent;
    QStringList Opened;

private:
    QTemporaryDir FDir;
    QMenu FFile;
    QAction *FSeparator;
    QMenu *FReopen;
};

} // namespace

class TestRecentFiles : public QObject
{
    Q_OBJECT
private slots:
    void newestFirstNumberedByArrival();
    void elevenFilesLeaveTen();
    void whatIsNotAdded();
    void namesAreKeptWhole_data();
    void namesAreKeptWhole();
    void choosingAnEntryOpensIt();
    void saveAndLoad();
    void hostileStores_data();
    void hostileStores();
};

void TestRecentFiles::newestFirstNumberedByArrival()
{
    TRecentFixture f;
    QVERIFY(!f.Reopen()->menuAction()->isVisible());
    QVERIFY(!f.Separator()->isVisible());
    const QString a = f.File(QStringLiteral("a.abx")), b = f.File(QStringLiteral("b.abx")),
                  c = f.File(QStringLiteral("c.abx"));
    f.Recent->Add(a);
    QVERIFY(f.Reopen()->menuAction()->isVisible());
    QVERIFY(f.Separator()->isVisible());
    f.Recent->Add(b);
    f.Recent->Add(c);
    QCOMPARE(f.Captions(), QStringList({QStringLiteral("&2 ") + c, QStringLiteral("&1 ") + b, QStringLiteral("&0 ") + a}));
    QCOMPARE(f.Recent->FileNames(), QStringList({c, b, a}));
    // A listed file neither moves nor comes twice.
    f.Recent->Add(a);
    QCOMPARE(f.Recent->FileNames(), QStringList({c, b, a}));
}

void TestRecentFiles::elevenFilesLeaveTen()
{
    TRecentFixture f;
    QStringList files;
    for (int i = 0; i < 12; ++i)
        files << f.File(QStringLiteral("f%1.abx").arg(i));
    for (int i = 0; i < 11; ++i)
        f.Recent->Add(files[i]);
    QCOMPARE(f.Recent->Count(), 10);
    // The oldest stays at the bottom; the one above it made room.
    QCOMPARE(f.Recent->FileNames().last(), files[0]);
    QVERIFY(!f.Recent->FileNames().contains(files[1]));
    QCOMPARE(f.Recent->FileNames().first(), files[10]);
    QCOMPARE(f.Captions().first(), QStringLiteral("&9 ") + files[10]);
    f.Recent->Add(files[11]);
    QCOMPARE(f.Recent->Count(), 10);
    QCOMPARE(f.Recent->FileNames().last(), files[0]);
    QVERIFY(!f.Recent->FileNames().contains(files[2]));
}

void TestRecentFiles::whatIsNotAdded()
{
    TRecentFixture f;
    f.Recent->Add(QString());
    f.Recent->Add(f.Dir() + QStringLiteral("/missing.abx"));
    // A folder is no file.
    f.Recent->Add(f.Dir());
    QCOMPARE(f.Recent->Count(), 0);
    QVERIFY(!f.Reopen()->menuAction()->isVisible());
}

void TestRecentFiles::namesAreKeptWhole_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("ampersand") << "Tom & Jerry.abx";
    QTest::newRow("two ampersands") << "a&&b.abx";
    QTest::newRow("spaces") << "plan with spaces.abx";
    QTest::newRow("long") << QString(240, QLatin1Char('n')) + QStringLiteral(".abx");
    QTest::newRow("non-ASCII") << "Größe 図.abx";
}

void TestRecentFiles::namesAreKeptWhole()
{
    QFETCH(QString, name);
    TRecentFixture f;
    // Deep enough for a full name longer than 255 characters.
    QString folder = f.Dir();
    for (int i = 0; i < 3; ++i) {
        folder += QLatin1Char('/') + QString(40, QLatin1Char('d'));
        QVERIFY(QDir().mkpath(folder));
    }
    const QString path = folder + QLatin1Char('/') + name;
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    f.Recent->Add(path);
    QCOMPARE(f.Recent->FileNames(), QStringList{path});
    QCOMPARE(TRecentFiles::FileNameOfCaption(f.Captions().first()), path);
    // The menu shows every "&" of the name.
    QCOMPARE(f.Captions().first(), QStringLiteral("&0 ") + QString(path).replace(QLatin1Char('&'), QLatin1String("&&")));
    // Another case is another file here.
    const QString upper = folder + QLatin1Char('/') + name.toUpper();
    QFile other(upper);
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.close();
    f.Recent->Add(upper);
    QCOMPARE(f.Recent->Count(), upper == path ? 1 : 2);
}

void TestRecentFiles::choosingAnEntryOpensIt()
{
    TRecentFixture f;
    const QString a = f.File(QStringLiteral("R&D.abx")), b = f.File(QStringLiteral("b.abx"));
    f.Recent->Add(a);
    f.Recent->Add(b);
    // Through the menu as a user does: the submenu, then the entry's hotkey.
    f.Reopen()->popup(QPoint(10, 10));
    QVERIFY(QTest::qWaitForWindowExposed(f.Reopen()));
    QTest::keyClick(f.Reopen(), Qt::Key_0);
    QCOMPARE(f.Opened, QStringList{a});
    f.Recent->Entry(0)->trigger();
    QCOMPARE(f.Opened, QStringList({a, b}));
}

void TestRecentFiles::saveAndLoad()
{
    TPrivateHome home;
    TRecentFixture f;
    QStringList files;
    for (int i = 0; i < 4; ++i)
        files << f.File(QStringLiteral("s%1.abx").arg(i));
    for (const QString &name : files)
        f.Recent->Add(name);
    {
        auto s = OpenDendrixSettings();
        // Left from a longer list of an earlier run.
        s->setValue(QStringLiteral("RecentFiles/File9"), files[0]);
        f.Recent->Save(*s);
        QCOMPARE(ReadSettingsInt(*s, QStringLiteral("RecentFiles/Count")), std::optional<int>(4));
        QCOMPARE(ReadSettingsString(*s, QStringLiteral("RecentFiles/File1")), std::optional<QString>(files[0]));
        QCOMPARE(ReadSettingsString(*s, QStringLiteral("RecentFiles/File4")), std::optional<QString>(files[3]));
        QVERIFY(!s->contains(QStringLiteral("RecentFiles/File9")));
    }
    // A file deleted since does not come back; the rest keep their order,
    // numbered as they are added again.
    QVERIFY(QFile::remove(files[1]));
    TRecentFixture g;
    const QString stale = g.File(QStringLiteral("stale.abx"));
    g.Recent->Add(stale);
    auto s = OpenDendrixSettings();
    g.Recent->Load(*s);
    QCOMPARE(g.Recent->FileNames(), QStringList({files[3], files[2], files[0]}));
    QCOMPARE(g.Captions(), QStringList({QStringLiteral("&2 ") + files[3], QStringLiteral("&1 ") + files[2],
                                        QStringLiteral("&0 ") + files[0]}));
}

void TestRecentFiles::hostileStores_data()
{
    QTest::addColumn<QByteArray>("store");
    QTest::addColumn<QStringList>("expected"); // "keep": the list stays as it was
    QTest::newRow("no list") << QByteArray("[Other]\nX=1\n") << QStringList{QStringLiteral("keep")};
    QTest::newRow("no count") << QByteArray("[RecentFiles]\nFile1=%1\n") << QStringList{QStringLiteral("keep")};
    QTest::newRow("count not a number") << QByteArray("[RecentFiles]\nCount=many\nFile1=%1\n")
                                        << QStringList{QStringLiteral("keep")};
    QTest::newRow("count is a list") << QByteArray("[RecentFiles]\nCount=1, 2\nFile1=%1\n")
                                     << QStringList{QStringLiteral("keep")};
    QTest::newRow("huge count") << QByteArray("[RecentFiles]\nCount=2147483647\nFile1=%1\n")
                                << QStringList{QStringLiteral("a")};
    QTest::newRow("negative count") << QByteArray("[RecentFiles]\nCount=-5\nFile1=%1\n") << QStringList();
    QTest::newRow("beyond count") << QByteArray("[RecentFiles]\nCount=1\nFile1=%1\nFile2=%1\n")
                                  << QStringList{QStringLiteral("a")};
    QTest::newRow("file is a list") << QByteArray("[RecentFiles]\nCount=1\nFile1=a, b\n") << QStringList();
    QTest::newRow("garbage") << QByteArray("\x00\x01[[RecentFiles\n=\n\xff", 19) << QStringList{QStringLiteral("keep")};
}

void TestRecentFiles::hostileStores()
{
    QFETCH(QByteArray, store);
    QFETCH(QStringList, expected);
    TPrivateHome home;
    TRecentFixture f;
    const QString a = f.File(QStringLiteral("a.abx"));
    const QString kept = f.File(QStringLiteral("kept.abx"));
    f.Recent->Add(kept);
    QVERIFY(home.WriteSettingsFile(QStringLiteral("Dendrix"), QString::fromUtf8(store).arg(a).toUtf8()));
    auto s = OpenDendrixSettings();
    f.Recent->Load(*s);
    if (expected == QStringList{QStringLiteral("keep")})
        QCOMPARE(f.Recent->FileNames(), QStringList{kept});
    else
        QCOMPARE(f.Recent->FileNames(), expected.isEmpty() ? QStringList() : QStringList{a});
}

QTEST_MAIN(TestRecentFiles)
#include "tst_recent_files.moc"
