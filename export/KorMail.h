#pragma once
// Sending a file by mail through the desktop's mail program: xdg-email
// opens a message with the file attached and the subject filled in. The
// file lives in a private temporary folder that is removed once the mail
// program has taken it: when xdg-email fails, at once; otherwise when this
// program ends, since mail programs read attachments when the message is
// sent.

#include <QObject>
#include <QString>
#include <memory>

class QTemporaryDir;
class QWidget;

// Told when a mail program has answered: taken (the folder is held) or
// not (it was removed).
class TMailEvents : public QObject
{
    Q_OBJECT
signals:
    void Finished(bool taken);
};
TMailEvents &MailEvents();

class TMailSender
{
public:
    // The mail launcher on the search path, empty without one.
    static QString Program();
    static bool Available() { return !Program().isEmpty(); }
    // Starts the mail program with the file attached; the folder is kept
    // until the program has it. Failures (no program, a program that
    // cannot start or answers an error) are shown through the prompts.
    static void Send(std::unique_ptr<QTemporaryDir> folder, const QString &file, const QString &subject,
                     QWidget *parent);
    // Folders still held for mail programs.
    static int HeldFolders();
};
