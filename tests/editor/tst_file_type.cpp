// The .abx type on the desktop: what the registration writes, that it
// writes nothing when it is registered to this executable already, the
// desktop's tools it runs, the quoting of the program in Exec, the default
// application, and a data folder that cannot be written.

#include "../i18n/I18nTestUtil.h"

#include "editor/DendrixConstants.h"
#include "editor/KorFileType.h"

#include <QFileInfo>
#include <QImage>

namespace {

QString ReadText(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

bool WriteText(const QString &path, const QString &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text.toUtf8()) >= 0;
}

// Stand-ins for the desktop's cache tools on PATH: each writes its
// arguments to "<tool>.log" in the folder.
class TFakeTools
{
public:
    TFakeTools() : FOldPath(qgetenv("PATH"))
    {
        for (const char *tool : {"update-mime-database", "update-desktop-database"}) {
            const QString path = FDir.filePath(QLatin1String(tool));
            WriteText(path, QStringLiteral("#!/bin/sh\necho \"$@\" >> '%1.log'\n").arg(path));
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        qputenv("PATH", (FDir.path() + QLatin1Char(':') + QString::fromLocal8Bit(FOldPath)).toLocal8Bit());
    }
    ~TFakeTools() { qputenv("PATH", FOldPath); }
    QString Log(const char *tool) const { return ReadText(FDir.filePath(QLatin1String(tool)) + QStringLiteral(".log")); }

private:
    QTemporaryDir FDir;
    QByteArray FOldPath;
};

QString Line(const QString &text, const QString &start)
{
    for (const QString &line : text.split(QLatin1Char('\n')))
        if (line.startsWith(start))
            return line;
    return QString();
}

} // namespace

class TestFileType : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { ResetLanguages(); }
    void writesTheEntryTheTypeAndTheIcons();
    void registeredTwiceWritesNothing();
    void anotherExecutableTakesItOver();
    void theTypeComesBackWhenItIsMissing();
    void theVerbIsInTheLanguageInUse();
    void execQuoting_data();
    void execQuoting();
    void defaultApplication_data();
    void defaultApplication();
    void readOnlyFolderIsPassedBy();
};

void TestFileType::writesTheEntryTheTypeAndTheIcons()
{
    TPrivateHome home;
    TFakeTools tools;
    const QString exe = QStringLiteral("/opt/dendrix/bin/dendrix");
    QCOMPARE(RegisterFileType(exe), ftRegistered);

    const QString entry = ReadText(home.Data() + QStringLiteral("/applications/dendrix.desktop"));
    QCOMPARE(Line(entry, QStringLiteral("[")), QStringLiteral("[Desktop Entry]"));
    QCOMPARE(Line(entry, QStringLiteral("Exec=")), QStringLiteral("Exec=/opt/dendrix/bin/dendrix %f"));
    QCOMPARE(Line(entry, QStringLiteral("MimeType=")), QStringLiteral("MimeType=application/arbolix;"));
    QCOMPARE(Line(entry, QStringLiteral("Icon=")), QStringLiteral("Icon=dendrix"));
    QVERIFY(entry.contains(QStringLiteral("\n[Desktop Action Open]\nName=Open with Dendrix\nExec=/opt/dendrix/bin/dendrix %f\n")));

    const QString mime = ReadText(home.Data() + QStringLiteral("/mime/packages/dendrix.xml"));
    QVERIFY(mime.contains(QStringLiteral("<mime-type type=\"application/arbolix\">")));
    QVERIFY(mime.contains(QStringLiteral("<glob pattern=\"*.abx\"/>")));
    QVERIFY(mime.contains(QStringLiteral("<match type=\"string\" offset=\"0\" value=\"TPF0\"/>")));
    QVERIFY(mime.contains(QStringLiteral("<comment>Arbolix file</comment>")));

    for (const char *icon : {"apps/dendrix.png", "mimetypes/application-arbolix.png"}) {
        const QImage image(home.Data() + QStringLiteral("/icons/hicolor/48x48/") + QLatin1String(icon));
        QCOMPARE(image.size(), QSize(48, 48));
        // Drawn, not blank.
        QVERIFY(image.pixelColor(24, 12).alpha() == 255);
        QVERIFY(image.pixelColor(0, 0).alpha() == 0);
    }
    // The desktop's caches were told, each about its folder.
    QCOMPARE(tools.Log("update-desktop-database").trimmed(), home.Data() + QStringLiteral("/applications"));
    QCOMPARE(tools.Log("update-mime-database").trimmed(), home.Data() + QStringLiteral("/mime"));
    // And the program opens the type unless the user chose another.
    QVERIFY(ReadText(home.Config() + QStringLiteral("/mimeapps.list"))
                .contains(QStringLiteral("[Default Applications]\napplication/arbolix=dendrix.desktop;")));
}

void TestFileType::registeredTwiceWritesNothing()
{
    TPrivateHome home;
    const QString exe = QStringLiteral("/opt/dendrix/bin/dendrix");
    QCOMPARE(RegisterFileType(exe), ftRegistered);
    // Whatever the user changed in the entry stays while Exec names us.
    const QString path = DesktopEntryPath();
    QVERIFY(WriteText(path, ReadText(path) + QStringLiteral("X-Changed-By-User=true\n")));
    TFakeTools tools;
    QCOMPARE(RegisterFileType(exe), ftAlreadyRegistered);
    QVERIFY(ReadText(path).contains(QStringLiteral("X-Changed-By-User=true")));
    QCOMPARE(tools.Log("update-desktop-database"), QString());
    QCOMPARE(tools.Log("update-mime-database"), QString());
}

void TestFileType::anotherExecutableTakesItOver()
{
    TPrivateHome home;
    QCOMPARE(RegisterFileType(QStringLiteral("/old/place/dendrix")), ftRegistered);
    QCOMPARE(RegisterFileType(QStringLiteral("/new/place/dendrix")), ftRegistered);
    QCOMPARE(Line(ReadText(DesktopEntryPath()), QStringLiteral("Exec=")),
             QStringLiteral("Exec=/new/place/dendrix %f"));
    // An entry that cannot be read counts as none.
    QVERIFY(WriteText(DesktopEntryPath(), QStringLiteral("[Desktop Entry]\nExec=\"unclosed %f\n")));
    QCOMPARE(RegisterFileType(QStringLiteral("/new/place/dendrix")), ftRegistered);
}

void TestFileType::theTypeComesBackWhenItIsMissing()
{
    TPrivateHome home;
    const QString exe = QStringLiteral("/opt/dendrix");
    QCOMPARE(RegisterFileType(exe), ftRegistered);
    QVERIFY(QFile::remove(MimePackagePath()));
    TFakeTools tools;
    QCOMPARE(RegisterFileType(exe), ftAlreadyRegistered);
    QVERIFY(QFile::exists(MimePackagePath()));
    QCOMPARE(tools.Log("update-mime-database").trimmed(), home.Data() + QStringLiteral("/mime"));
    QCOMPARE(tools.Log("update-desktop-database"), QString());
}

void TestFileType::theVerbIsInTheLanguageInUse()
{
    TPrivateHome home;
    for (const auto &[language, verb] : {std::pair<int, QString>{lnSpanish, QStringLiteral("Abrir con Dendrix")},
                                         {lnJapanese, QStringLiteral("Dendrix で開く")}}) {
        ApplyLanguage(language, true);
        QVERIFY2(DesktopEntryText(QStringLiteral("/x/dendrix")).contains(QStringLiteral("\nName=") + verb + QLatin1Char('\n')),
                 qPrintable(verb));
    }
}

void TestFileType::execQuoting_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("exec");
    QTest::newRow("plain") << "/usr/bin/dendrix" << "/usr/bin/dendrix %f";
    QTest::newRow("space") << "/home/a b/dendrix" << "\"/home/a b/dendrix\" %f";
    QTest::newRow("percent") << "/opt/100%/dendrix" << "/opt/100%%/dendrix %f";
    QTest::newRow("quote and dollar") << "/opt/\"$x\"/dendrix" << "\"/opt/\\\\\"\\\\$x\\\\\"/dendrix\" %f";
    QTest::newRow("backslash") << "/opt/a\\b/dendrix" << "\"/opt/a\\\\\\\\b/dendrix\" %f";
    QTest::newRow("non-ASCII") << "/opt/Größe/dendrix" << "/opt/Größe/dendrix %f";
}

void TestFileType::execQuoting()
{
    QFETCH(QString, program);
    QFETCH(QString, exec);
    QCOMPARE(DesktopExecValue(program), exec);
    // Read back as the desktop reads it: the program, then the field code.
    QCOMPARE(DesktopExecArguments(exec), QStringList({program, QStringLiteral("%f")}));
}

void TestFileType::defaultApplication_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("ours");
    QTest::addColumn<QString>("after");
    QTest::newRow("no file") << QString() << true << "[Default Applications]\napplication/arbolix=dendrix.desktop;\n";
    QTest::newRow("other sections kept")
        << "[Added Associations]\ntext/plain=ed.desktop;\n" << true
        << "[Added Associations]\ntext/plain=ed.desktop;\n\n[Default Applications]\napplication/arbolix=dendrix.desktop;\n";
    QTest::newRow("section exists")
        << "[Default Applications]\ntext/plain=ed.desktop;\n" << true
        << "[Default Applications]\napplication/arbolix=dendrix.desktop;\ntext/plain=ed.desktop;\n";
    QTest::newRow("user chose another") << "[Default Applications]\napplication/arbolix=other.desktop;\n" << false
                                        << "[Default Applications]\napplication/arbolix=other.desktop;\n";
    QTest::newRow("already ours") << "[Default Applications]\napplication/arbolix=dendrix.desktop;x.desktop;\n" << true
                                  << "[Default Applications]\napplication/arbolix=dendrix.desktop;x.desktop;\n";
}

void TestFileType::defaultApplication()
{
    QFETCH(QString, before);
    QFETCH(bool, ours);
    QFETCH(QString, after);
    TPrivateHome home;
    const QString list = home.Config() + QStringLiteral("/mimeapps.list");
    if (!before.isEmpty())
        QVERIFY(WriteText(list, before));
    QCOMPARE(SetDefaultApplication(QStringLiteral("application/arbolix"), QStringLiteral("dendrix.desktop")), ours);
    QCOMPARE(ReadText(list), after);
}

void TestFileType::readOnlyFolderIsPassedBy()
{
    TPrivateHome home;
    // A data folder that cannot be made, whoever runs this: a file stands
    // where its parent should be.
    QVERIFY(WriteText(home.Root() + QStringLiteral("/plain-file"), QStringLiteral("x")));
    const QByteArray old = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", (home.Root() + QStringLiteral("/plain-file/data")).toLocal8Bit());
    TFakeTools tools;
    const TFileTypeResult result = RegisterFileType(QStringLiteral("/opt/dendrix"));
    const bool entry = QFile::exists(DesktopEntryPath());
    qputenv("XDG_DATA_HOME", old);
    QCOMPARE(result, ftNotWritten);
    QVERIFY(!entry);
    QCOMPARE(tools.Log("update-desktop-database"), QString());
    // Nothing was made default for a program the desktop cannot find.
    QVERIFY(!QFile::exists(home.Config() + QStringLiteral("/mimeapps.list")));
}

QTEST_MAIN(TestFileType)
#include "tst_file_type.moc"
