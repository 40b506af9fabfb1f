#pragma once
// The .abx document type on the desktop (freedesktop shared MIME info and
// desktop entries), under the user's data folder ($XDG_DATA_HOME):
//
//   applications/dendrix.desktop            the program, opening "%f"
//   mime/packages/dendrix.xml               application/arbolix: *.abx, "TPF0"
//   icons/hicolor/48x48/apps/dendrix.png    and .../mimetypes/application-arbolix.png
//
// then the desktop's caches are brought up to date (update-mime-database,
// update-desktop-database, where they exist). Registered to this program
// means that the desktop entry's Exec names this executable; nothing is
// rewritten then. A folder that cannot be written is passed by silently.

#include <QImage>
#include <QString>
#include <QStringList>

enum TFileTypeResult {
    ftAlreadyRegistered, // the entry names this executable
    ftRegistered,        // the entry was written
    ftNotWritten,        // the data folder could not be written
};

// `executable` defaults to this program's file.
TFileTypeResult RegisterFileType(const QString &executable = QString());

// ---- Parts, for the registration and its tests
extern const char *const kArbolixMimeType; // "application/arbolix"
extern const char *const kDesktopFileName; // "dendrix.desktop"
QString DesktopEntryPath();
QString MimePackagePath();
// The text of the desktop entry and of the MIME package.
QString DesktopEntryText(const QString &executable);
QString MimePackageText();
// An Exec value: the program quoted as desktop entries require, and "%f".
QString DesktopExecValue(const QString &executable);
// The arguments of an Exec value (quotes and escapes undone, field codes
// kept); empty when it cannot be read.
QStringList DesktopExecArguments(const QString &value);
// The program's icon, drawn.
QImage DendrixIcon(int size);
// Makes this program the default for the type in mimeapps.list
// ($XDG_CONFIG_HOME) unless the user chose another one; answers whether
// the file now names it.
bool SetDefaultApplication(const QString &mimeType, const QString &desktopFile);
