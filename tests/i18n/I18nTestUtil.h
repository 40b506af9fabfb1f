#pragma once
// Helpers of the translation tests: a private settings store and data
// folders, a language's data written by the test, and the texts a form
// shows.

#include "i18n/KorLanguages.h"
#include "i18n/KorTranslate.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

// Points the settings store and the XDG folders at a temporary folder for
// its lifetime; everything starts English with nothing stored.
class TPrivateHome
{
public:
    TPrivateHome()
    {
        FOld[0] = qgetenv("XDG_CONFIG_HOME");
        FOld[1] = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_CONFIG_HOME", Config().toLocal8Bit());
        qputenv("XDG_DATA_HOME", Data().toLocal8Bit());
        QDir().mkpath(Config());
        QDir().mkpath(Data());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Config());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, Config());
        ResetLanguages();
        SetLanguageDataRoot(QString());
    }
    ~TPrivateHome()
    {
        ResetLanguages();
        SetLanguageDataRoot(QString());
        qputenv("XDG_CONFIG_HOME", FOld[0]);
        qputenv("XDG_DATA_HOME", FOld[1]);
    }
    TPrivateHome(const TPrivateHome &) = delete;
    TPrivateHome &operator=(const TPrivateHome &) = delete;

    QString Root() const { return FDir.path(); }
    QString Config() const { return FDir.path() + QStringLiteral("/config"); }
    QString Data() const { return FDir.path() + QStringLiteral("/data"); }
    // The file behind a store of the organisation ("Dendrix", "Plovix Pro").
    QString SettingsFile(const QString &application) const
    {
        return Config() + QStringLiteral("/Quorvel Software/") + application + QStringLiteral(".conf");
    }
    // Writes a settings file as the user (or a fault) left it.
    bool WriteSettingsFile(const QString &application, const QByteArray &bytes) const
    {
        QDir().mkpath(Config() + QStringLiteral("/Quorvel Software"));
        QFile f(SettingsFile(application));
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
    }

private:
    QTemporaryDir FDir;
    QByteArray FOld[2];
};

// A data folder of the translation files' layout, filled by the test and
// made the one languages are read from.
class TLanguageData
{
public:
    TLanguageData() { SetLanguageDataRoot(FDir.path()); }
    ~TLanguageData() { SetLanguageDataRoot(QString()); }
    TLanguageData(const TLanguageData &) = delete;
    TLanguageData &operator=(const TLanguageData &) = delete;

    // Writes one file of the language with the given folder ("es").
    void Write(const QString &folder, const QString &file, const QStringList &lines) const
    {
        QDir().mkpath(FDir.path() + QLatin1Char('/') + folder);
        QFile f(FDir.path() + QLatin1Char('/') + folder + QLatin1Char('/') + file);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    }

private:
    QTemporaryDir FDir;
};

// The active table's key count (0 for English).
inline int ActiveTableLines()
{
    return ActiveTable() ? int(ActiveTable()->Lines().size()) : 0;
}
