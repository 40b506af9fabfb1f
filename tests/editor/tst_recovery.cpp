// The recovery copy: written while the document has unsaved changes (after
// the interval, or when the application loses the focus), removed when
// they are saved or discarded, offered after a session that ended
// otherwise, and never written over the user's file.

#include "EditorTestUtil.h"

#include <QProcess>

namespace {

// The number of a process that has ended.
qint64 EndedProcessId()
{
    QProcess p;
    p.start(QStringLiteral("true"), {});
    if (!p.waitForStarted())
        return 0;
    const qint64 pid = p.processId();
    p.waitForFinished();
    return pid;
}

// A copy as a program that ended without saving leaves it.
TRecoveryFile LeaveOrphan(const QString &folder, const QString &document, const QStringList &texts,
                          const QDateTime &written)
{
    TRecoveryFile file;
    file.ProcessId = EndedProcessId();
    QDir().mkpath(folder);
    file.CopyName = QDir(folder).filePath(QStringLiteral("recovery-%1.abx").arg(file.ProcessId));
    file.InfoName = QDir(folder).filePath(QStringLiteral("recovery-%1.ini").arg(file.ProcessId));
    WriteDiagram(file.CopyName, texts);
    QSettings info(file.InfoName, QSettings::IniFormat);
    info.setValue(QStringLiteral("Document"), document);
    info.setValue(QStringLiteral("Written"), written.toString(Qt::ISODate));
    info.setValue(QStringLiteral("Process"), file.ProcessId);
    info.sync();
    return file;
}

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { InitEditorTests(FBase); }
    void init();
    void cleanup();
    void theDefaultFolderIsTheStateFolder();
    void writtenAfterTheIntervalWhileModified();
    void writtenWhenTheApplicationLosesTheFocus();
    void removedWhenTheChangesAreSavedOrDiscarded_data();
    void removedWhenTheChangesAreSavedOrDiscarded();
    void runningProgramsCopiesAreNotOffered();
    void offeredAndRestored();
    void refusedCopiesAreRemoved();
    void aBrokenCopyIsReported();
    void offeredAtTheFirstShowing();

private:
    QString Folder() const { return FDir->filePath(QStringLiteral("recovery")); }
    std::unique_ptr<TTreeEditor1> Editor(const QString &file = QString()) { return ShownEditor(Folder(), file); }
    std::unique_ptr<QTemporaryDir> FDir;
    std::unique_ptr<TScriptedPromptsGuard> FPrompts;
    QTemporaryDir FBase;
};

void TestRecovery::init()
{
    ClearEditorSettings();
    FDir = std::make_unique<QTemporaryDir>();
    FPrompts = std::make_unique<TScriptedPromptsGuard>();
}

void TestRecovery::cleanup()
{
    FPrompts.reset();
    FDir.reset();
}

void TestRecovery::theDefaultFolderIsTheStateFolder()
{
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", "/somewhere/state");
    QCOMPARE(TRecoveryCopy::DefaultFolder(), QStringLiteral("/somewhere/state/Dendrix/recovery"));
    // A relative or empty setting means the default.
    qputenv("XDG_STATE_HOME", "relative/state");
    QCOMPARE(TRecoveryCopy::DefaultFolder(), QDir::homePath() + QStringLiteral("/.local/state/Dendrix/recovery"));
    qputenv("XDG_STATE_HOME", saved);
    TTreeEditor1 editor;
    QCOMPARE(editor.Recovery()->Interval(), 60 * 1000);
    QVERIFY(editor.Recovery()->CopyName().startsWith(TRecoveryCopy::DefaultFolder() + QStringLiteral("/recovery-")));
}

void TestRecovery::writtenAfterTheIntervalWhileModified()
{
    const QString x = WriteDiagram(FDir->filePath(QStringLiteral("x.abx")), {QStringLiteral("A")});
    const QByteArray original = FileBytes(x);
    auto editor = Editor(x);
    TRecoveryCopy *recovery = editor->Recovery();
    recovery->SetInterval(20);
    // Nothing to recover while clean.
    QVERIFY(!recovery->WriteNow());
    editor->Tree()->AddShape(0, 100, nullptr, QStringLiteral("unsaved"));
    QVERIFY(recovery->Pending());
    QTRY_VERIFY(QFileInfo::exists(recovery->CopyName()));
    QVERIFY(!recovery->Pending());
    QCOMPARE(DiagramTexts(recovery->CopyName()), QStringList({QStringLiteral("A"), QStringLiteral("unsaved")}));
    const QSettings info(recovery->InfoName(), QSettings::IniFormat);
    QCOMPARE(info.value(QStringLiteral("Document")).toString(), x);
    QVERIFY(QDateTime::fromString(info.value(QStringLiteral("Written")).toString(), Qt::ISODate).isValid());
    // The user's own file is never touched, and the document stays modified.
    QCOMPARE(FileBytes(x), original);
    QVERIFY(editor->Modified());
    QCOMPARE(editor->FileName(), x);
    // No edit since the last copy: nothing new to write.
    QVERIFY(!recovery->WriteNow());
    editor->Tree()->AddShape(0, 200, nullptr, QStringLiteral("more"));
    QTRY_COMPARE(DiagramTexts(recovery->CopyName()).size(), 3);
}

void TestRecovery::writtenWhenTheApplicationLosesTheFocus()
{
    auto editor = Editor();
    TRecoveryCopy *recovery = editor->Recovery();
    editor->Tree()->AddShape(0, 0, nullptr, QStringLiteral("new"));
    QVERIFY(!QFileInfo::exists(recovery->CopyName()));
    emit qApp->applicationStateChanged(Qt::ApplicationInactive);
    QVERIFY(QFileInfo::exists(recovery->CopyName()));
    QCOMPARE(DiagramTexts(recovery->CopyName()), QStringList{QStringLiteral("new")});
    const QSettings info(recovery->InfoName(), QSettings::IniFormat);
    QCOMPARE(info.value(QStringLiteral("Document")).toString(), QString());
}

void TestRecovery::removedWhenTheChangesAreSavedOrDiscarded_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("save") << QStringLiteral("save");
    QTest::newRow("new, not saved") << QStringLiteral("discard");
    QTest::newRow("close, saved") << QStringLiteral("close yes");
    QTest::newRow("close, not saved") << QStringLiteral("close no");
}

void TestRecovery::removedWhenTheChangesAreSavedOrDiscarded()
{
    QFETCH(QString, how);
    const QString x = WriteDiagram(FDir->filePath(QStringLiteral("x.abx")), {QStringLiteral("A")});
    auto editor = Editor(x);
    TRecoveryCopy *recovery = editor->Recovery();
    editor->Tree()->AddShape(0, 100, nullptr, QStringLiteral("B"));
    QVERIFY(recovery->WriteNow());
    QVERIFY(QFileInfo::exists(recovery->CopyName()));
    if (how == QLatin1String("save")) {
        QVERIFY(editor->FileSave());
    } else if (how == QLatin1String("discard")) {
        (*FPrompts)->Answers = {paNo};
        editor->FileNew();
    } else {
        (*FPrompts)->Answers = {how.endsWith(QLatin1String("yes")) ? paYes : paNo};
        QVERIFY(editor->close());
    }
    QVERIFY(!QFileInfo::exists(recovery->CopyName()));
    QVERIFY(!QFileInfo::exists(recovery->InfoName()));
    QVERIFY(!recovery->Pending());
    QCOMPARE(DiagramTexts(x).size(), how.contains(QLatin1String("no")) || how == QLatin1String("discard") ? 1 : 2);
}

void TestRecovery::runningProgramsCopiesAreNotOffered()
{
    auto editor = Editor();
    editor->Tree()->AddShape(0, 0, nullptr, QStringLiteral("mine"));
    QVERIFY(editor->Recovery()->WriteNow());
    // This program's own copy is never offered.
    QCOMPARE(TRecoveryCopy::FindOrphans(Folder()).size(), size_t(0));
    // A copy whose process number another program has now was left behind.
    QProcess other;
    other.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    QVERIFY(other.waitForStarted());
    const TRecoveryFile reused = LeaveOrphan(Folder(), QString(), {QStringLiteral("theirs")}, QDateTime::currentDateTime());
    const QString reusedName = QDir(Folder()).filePath(QStringLiteral("recovery-%1.abx").arg(other.processId()));
    QVERIFY(QFile::rename(reused.CopyName, reusedName));
    // Not a copy's name at all.
    WriteDiagram(QDir(Folder()).filePath(QStringLiteral("recovery-abc.abx")), {QStringLiteral("x")});
    const auto orphans = TRecoveryCopy::FindOrphans(Folder());
    QCOMPARE(orphans.size(), size_t(1));
    QCOMPARE(orphans.front().CopyName, reusedName);
    QCOMPARE(orphans.front().ProcessId, other.processId());
    other.kill();
    other.waitForFinished();
}

void TestRecovery::offeredAndRestored()
{
    const QString plan = WriteDiagram(FDir->filePath(QStringLiteral("plan.abx")), {QStringLiteral("saved")});
    const QByteArray original = FileBytes(plan);
    const QDateTime when(QDate::currentDate(), QTime(10, 42));
    const TRecoveryFile older = LeaveOrphan(Folder(), QString(), {QStringLiteral("old")}, when.addSecs(-3600));
    const TRecoveryFile newer = LeaveOrphan(Folder(), plan, {QStringLiteral("saved"), QStringLiteral("unsaved")}, when);
    QVERIFY(older.ProcessId != newer.ProcessId);
    auto editor = Editor();
    (*FPrompts)->Answers = {paYes};
    QVERIFY(editor->Recovery()->OfferRestore());
    // The newest first, with the document's name and the time.
    const QString time = QLocale().toString(QTime(10, 42), QLocale::ShortFormat);
    QCOMPARE(AskedTexts(**FPrompts), QStringList{QStringLiteral("Restore the unsaved changes of plan.abx from %1?").arg(time)});
    QCOMPARE(TreeTexts(editor->Tree()), QStringList({QStringLiteral("saved"), QStringLiteral("unsaved")}));
    QCOMPARE(editor->FileName(), plan);
    QVERIFY(editor->Modified());
    QCOMPARE(editor->windowTitle(), QStringLiteral("Dendrix - plan.abx"));
    // The user's file waits for the user's Save.
    QCOMPARE(FileBytes(plan), original);
    // The restored copy is gone, replaced by this program's own; the other
    // waits for the next start.
    QVERIFY(!QFileInfo::exists(newer.CopyName));
    QVERIFY(!QFileInfo::exists(newer.InfoName));
    QVERIFY(QFileInfo::exists(older.CopyName));
    QCOMPARE(DiagramTexts(editor->Recovery()->CopyName()), QStringList({QStringLiteral("saved"), QStringLiteral("unsaved")}));
    QVERIFY(editor->FileSave());
    QCOMPARE(DiagramTexts(plan), QStringList({QStringLiteral("saved"), QStringLiteral("unsaved")}));
    QVERIFY(!QFileInfo::exists(editor->Recovery()->CopyName()));
}

void TestRecovery::refusedCopiesAreRemoved()
{
    const QString x = WriteDiagram(FDir->filePath(QStringLiteral("x.abx")), {QStringLiteral("A")});
    const TRecoveryFile a = LeaveOrphan(Folder(), QString(), {QStringLiteral("one")}, QDateTime::currentDateTime().addDays(-1));
    const TRecoveryFile b = LeaveOrphan(Folder(), QString(), {QStringLiteral("two")}, QDateTime::currentDateTime());
    auto editor = Editor(x);
    (*FPrompts)->Answers = {paNo, paNo};
    QVERIFY(!editor->Recovery()->OfferRestore());
    const QStringList asked = AskedTexts(**FPrompts);
    QCOMPARE(asked.size(), 2);
    QVERIFY(asked.at(0).startsWith(QStringLiteral("Restore the unsaved changes of Tree1 from ")));
    // Another day's copy names the day too.
    QVERIFY2(asked.at(1).size() > asked.at(0).size(), qPrintable(asked.join(QLatin1Char('|'))));
    QVERIFY(!QFileInfo::exists(a.CopyName));
    QVERIFY(!QFileInfo::exists(b.CopyName));
    QCOMPARE(editor->FileName(), x);
    QVERIFY(!editor->Modified());
}

void TestRecovery::aBrokenCopyIsReported()
{
    const TRecoveryFile broken = LeaveOrphan(Folder(), QString(), {QStringLiteral("A")}, QDateTime::currentDateTime());
    {
        QFile f(broken.CopyName);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("TPF0 broken");
    }
    auto editor = Editor();
    TTree *before = editor->Tree();
    (*FPrompts)->Answers = {paYes};
    QVERIFY(!editor->Recovery()->OfferRestore());
    const auto asks = (*FPrompts)->CallsOf(QStringLiteral("Ask"));
    QCOMPARE(asks.size(), size_t(2));
    QCOMPARE(asks.back().Kind, pkError);
    QVERIFY(asks.back().Text.startsWith(QStringLiteral("The unsaved changes of Tree1 could not be restored")));
    QCOMPARE(editor->Tree(), before);
    QVERIFY(!editor->Modified());
}

void TestRecovery::offeredAtTheFirstShowing()
{
    LeaveOrphan(Folder(), QString(), {QStringLiteral("left")}, QDateTime::currentDateTime());
    TTreeEditor1 editor;
    editor.Recovery()->SetFolder(Folder());
    QVERIFY(editor.OffersRecovery());
    (*FPrompts)->Answers = {paYes};
    editor.show();
    // Asked once the window is up.
    QTRY_COMPARE(TreeTexts(editor.Tree()), QStringList{QStringLiteral("left")});
    QCOMPARE(AskedTexts(**FPrompts).size(), 1);
    QVERIFY(editor.Modified());
}

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
