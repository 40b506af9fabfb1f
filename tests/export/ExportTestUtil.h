// Files the export and viewer tests read.

#pragma once

#include "export/KorExport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

inline bool WriteFileBytes(const QString &name, const QByteArray &bytes)
{
    QFile f(name);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A diagram file "<dir>/a.abx" of the outline Alpha, Beta whose nodes'
// text is stored under a property this program does not know (same length,
// so the file stays well formed); empty when it could not be made.
inline QString DiagramWithUnknownProperty(const QTemporaryDir &dir)
{
    const QString txt = dir.filePath(QStringLiteral("a.txt"));
    const QString abx = dir.filePath(QStringLiteral("a.abx"));
    QString errors;
    QTextStream err(&errors);
    if (!WriteFileBytes(txt, "Alpha\n Beta\n") || RunExportCommand(abx, txt, err) != 0)
        return QString();
    QFile f(abx);
    if (!f.open(QIODevice::ReadOnly))
        return QString();
    QByteArray bytes = f.readAll();
    f.close();
    if (!bytes.contains("Text.Strings"))
        return QString();
    bytes.replace("Text.Strings", "Text.Strongs");
    return WriteFileBytes(abx, bytes) ? abx : QString();
}
