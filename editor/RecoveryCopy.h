#pragma once
// The recovery copy of a modified document. While the document has unsaved
// changes the window writes it (the diagram file's own stream, written
// atomically) into the user's state folder, at most once a minute and
// whenever the application loses the focus; saving, discarding or a clean
// close removes it. A copy left by a session that ended otherwise is
// offered at the next start. The user's own file is never written here.
//
// Each running program has its own copy, "recovery-<process id>.abx", and
// beside it "recovery-<process id>.ini" with the document's file name and
// the time of writing.

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>
#include <vector>

class TTreeEditor;

struct TRecoveryFile
{
    QString CopyName;     // the diagram written
    QString InfoName;     // what it is a copy of
    QString DocumentName; // the document's file name; empty when untitled
    QDateTime Written;
    qint64 ProcessId = 0;
};

class TRecoveryCopy : public QObject
{
    Q_OBJECT
public:
    static constexpr int kDefaultInterval = 60 * 1000;

    // Follows the editor's document (its edits, its modified flag, the
    // application's focus).
    explicit TRecoveryCopy(TTreeEditor *editor);
    ~TRecoveryCopy() override;

    // "$XDG_STATE_HOME/Dendrix/recovery" (XDG_STATE_HOME defaults to
    // "~/.local/state").
    static QString DefaultFolder();
    QString Folder() const { return FFolder; }
    void SetFolder(const QString &folder) { FFolder = folder; }
    // The least time between two writes, in milliseconds.
    int Interval() const { return FTimer.interval(); }
    void SetInterval(int milliseconds) { FTimer.setInterval(milliseconds); }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);

    QString CopyName() const;
    QString InfoName() const;
    // Edits not yet in the copy.
    bool Pending() const { return FPending; }
    // Writes the copy now when the document has unsaved changes not in it;
    // answers whether a copy was written.
    bool WriteNow();
    // Removes this program's copy.
    void Remove();

    // The copies in a folder left by programs that no longer run, newest
    // first.
    static std::vector<TRecoveryFile> FindOrphans(const QString &folder);
    static void RemoveFile(const TRecoveryFile &file);
    // Offers each orphan of the folder, newest first, until one is restored
    // into the editor; a refused one is removed. Answers whether one was
    // restored.
    bool OfferRestore();

private:
    void Edited();
    void ModifiedChanged(bool modified);

    TTreeEditor *FEditor;
    QString FFolder;
    QTimer FTimer;
    bool FPending = false;
    bool FEnabled = true;
};
