#include "editor/DendrixSettings.h"

#include <QVariant>

std::unique_ptr<QSettings> OpenDendrixSettings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quorvel Software"),
                                       QStringLiteral("Dendrix"));
}

bool SettingsReadable(const QSettings &settings)
{
    return settings.status() == QSettings::NoError;
}

namespace {

// The value as the text the store keeps; a list or a structure is no
// plain value.
std::optional<QString> PlainValue(const QSettings &settings, const QString &key)
{
    if (!SettingsReadable(settings) || !settings.contains(key))
        return std::nullopt;
    const QVariant v = settings.value(key);
    switch (v.typeId()) {
    case QMetaType::QString:
    case QMetaType::QByteArray:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Bool:
        return v.toString();
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<int> ReadSettingsInt(const QSettings &settings, const QString &key)
{
    const auto text = PlainValue(settings, key);
    if (!text)
        return std::nullopt;
    bool ok = false;
    const int value = text->trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<bool> ReadSettingsBool(const QSettings &settings, const QString &key)
{
    const auto text = PlainValue(settings, key);
    if (!text)
        return std::nullopt;
    const QString t = text->trimmed().toLower();
    if (t == QLatin1String("true") || t == QLatin1String("1"))
        return true;
    if (t == QLatin1String("false") || t == QLatin1String("0"))
        return false;
    return std::nullopt;
}

std::optional<QString> ReadSettingsString(const QSettings &settings, const QString &key)
{
    return PlainValue(settings, key);
}
