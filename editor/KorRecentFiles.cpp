#include "editor/KorRecentFiles.h"

#include "editor/DendrixSettings.h"
#include "i18n/KorTranslate.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QRegularExpression>
#include <algorithm>

const char *const kRecentFilesGroup = "RecentFiles";

TRecentFiles::TRecentFiles(QMenu *menu, QAction *separator, QObject *parent)
    : QObject(parent), FMenu(menu), FSeparator(separator)
{
    UpdateVisibility();
}

int TRecentFiles::Count() const
{
    return FMenu->actions().size();
}

QAction *TRecentFiles::Entry(int index) const
{
    const QList<QAction *> entries = FMenu->actions();
    return index >= 0 && index < entries.size() ? entries.at(index) : nullptr;
}

QStringList TRecentFiles::FileNames() const
{
    QStringList names;
    for (QAction *a : FMenu->actions())
        names << FileNameOfCaption(a->text());
    return names;
}

QString TRecentFiles::FileNameOfCaption(const QString &caption)
{
    const int space = caption.indexOf(QLatin1Char(' '));
    const QString rest = space < 0 ? QString() : caption.mid(space + 1);
    // "&&" shows one "&" of the name; a lone "&" marks a hotkey.
    QString name;
    name.reserve(rest.size());
    for (int i = 0; i < rest.size(); ++i) {
        if (rest.at(i) == QLatin1Char('&')) {
            if (i + 1 < rest.size() && rest.at(i + 1) == QLatin1Char('&')) {
                name += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        name += rest.at(i);
    }
    return name;
}

void TRecentFiles::Add(const QString &fileName)
{
    if (fileName.isEmpty() || FileNames().contains(fileName) || !QFileInfo(fileName).isFile())
        return;
    while (Count() > kCapacity - 1) {
        QAction *gone = Entry(kCapacity - 2);
        FMenu->removeAction(gone);
        delete gone;
    }
    QString shown = fileName;
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    auto *entry = new QAction(QLatin1Char('&') + QString::number(Count()) + QLatin1Char(' ') + shown, FMenu);
    // A file name is never translated.
    entry->setProperty(kNoTranslateProperty, true);
    connect(entry, &QAction::triggered, this, [this, entry] {
        if (OnOpen)
            OnOpen(FileNameOfCaption(entry->text()));
    });
    const QList<QAction *> entries = FMenu->actions();
    FMenu->insertAction(entries.isEmpty() ? nullptr : entries.first(), entry);
    UpdateVisibility();
}

void TRecentFiles::Clear()
{
    const QList<QAction *> entries = FMenu->actions();
    for (QAction *a : entries) {
        FMenu->removeAction(a);
        delete a;
    }
}

void TRecentFiles::UpdateVisibility()
{
    const bool any = Count() > 0;
    FMenu->menuAction()->setVisible(any);
    if (FSeparator)
        FSeparator->setVisible(any);
}

void TRecentFiles::Load(QSettings &settings)
{
    if (!SettingsReadable(settings) || !settings.childGroups().contains(QLatin1String(kRecentFilesGroup)))
        return;
    settings.beginGroup(QLatin1String(kRecentFilesGroup));
    const std::optional<int> count = ReadSettingsInt(settings, QStringLiteral("Count"));
    // Only the File values that are there are read, however large Count is.
    std::vector<int> numbers;
    if (count) {
        static const QRegularExpression fileKey(QStringLiteral("^File([1-9][0-9]{0,8})$"));
        for (const QString &key : settings.childKeys()) {
            const QRegularExpressionMatch m = fileKey.match(key);
            if (m.hasMatch() && m.captured(1).toInt() <= *count)
                numbers.push_back(m.captured(1).toInt());
        }
        std::sort(numbers.begin(), numbers.end());
    }
    QStringList names;
    for (int n : numbers)
        if (const auto name = ReadSettingsString(settings, QStringLiteral("File") + QString::number(n)))
            names << *name;
    settings.endGroup();
    if (!count)
        return;
    Clear();
    for (const QString &name : names)
        Add(name);
    UpdateVisibility();
}

void TRecentFiles::Save(QSettings &settings) const
{
    // Values left from a longer list go, so the group holds this list only.
    settings.remove(QLatin1String(kRecentFilesGroup));
    settings.beginGroup(QLatin1String(kRecentFilesGroup));
    const QStringList names = FileNames();
    settings.setValue(QStringLiteral("Count"), names.size());
    for (int i = 1; i <= names.size(); ++i)
        settings.setValue(QStringLiteral("File") + QString::number(i), names.at(names.size() - i));
    settings.endGroup();
}
