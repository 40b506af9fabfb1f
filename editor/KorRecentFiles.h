#pragma once
// The recently used files, newest first, as the entries of the "&Reopen"
// submenu: "&<n> <full file name>", n being how many entries the list held
// when the entry came. At most ten; kept in the settings store as Count
// and File1 (the oldest) ... File<Count> (the newest).
//
//   FRecent = std::make_unique<TRecentFiles>(reopenMenu, separatorAction);
//   FRecent->OnOpen = [this](const QString &name) { if (QuerySave()) OpenFile(name); };

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QAction;
class QMenu;
class QSettings;

class TRecentFiles : public QObject
{
    Q_OBJECT
public:
    static constexpr int kCapacity = 10;

    // Binds to the submenu and the separator above it; both are hidden
    // while the list is empty.
    TRecentFiles(QMenu *menu, QAction *separator, QObject *parent = nullptr);

    QMenu *Menu() const { return FMenu; }
    QAction *Separator() const { return FSeparator; }
    // Called with an entry's file name when the user chooses it.
    std::function<void(const QString &fileName)> OnOpen;

    // Puts an existing file on top, unless it is listed already (names
    // compare exactly, as the file system does) or does not exist. A full
    // list first loses its entry at position 9, not the oldest.
    void Add(const QString &fileName);
    // Replaces the list with the stored one (files that no longer exist
    // are dropped); a store without the list, or a list that cannot be read,
    // leaves it as it is.
    void Load(QSettings &settings);
    void Save(QSettings &settings) const;

    int Count() const;
    // Newest first.
    QStringList FileNames() const;
    QAction *Entry(int index) const;
    // The file name an entry's caption stands for.
    static QString FileNameOfCaption(const QString &caption);

private:
    void Clear();
    void UpdateVisibility();

    QMenu *FMenu;
    QAction *FSeparator;
};

// The settings group of the list.
extern const char *const kRecentFilesGroup; // "RecentFiles"
