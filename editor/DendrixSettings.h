#pragma once
// The program's per-user settings store ("Quorvel Software/Dendrix"). A
// store that cannot be read (a corrupt file) holds nothing; values of the
// wrong kind read as absent.

#include <QSettings>
#include <QString>
#include <memory>
#include <optional>

std::unique_ptr<QSettings> OpenDendrixSettings();
// Whether the store could be read at all.
bool SettingsReadable(const QSettings &settings);

// A stored integer, boolean or string; nothing when absent, unreadable or
// of another kind.
std::optional<int> ReadSettingsInt(const QSettings &settings, const QString &key);
std::optional<bool> ReadSettingsBool(const QSettings &settings, const QString &key);
std::optional<QString> ReadSettingsString(const QSettings &settings, const QString &key);
