#include "i18n/KorLanguages.h"

#include <QFile>

static void InitTranslationResources()
{
    // Q_INIT_RESOURCE must be used outside any namespace; the function-local
    // static makes the registration happen once.
    static const bool registered = [] {
        Q_INIT_RESOURCE(translations);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace {

QString &DataRoot()
{
    static QString root = QStringLiteral(":/dendrix/i18n");
    return root;
}

} // namespace

const std::vector<TLanguageInfo> &Languages()
{
    static const std::vector<TLanguageInfo> list = {
        {0, "English", "en", false},        {1, "Brazilian", "pt_BR", false},
        {2, "Catalan", "ca", false},        {3, "Chinese Simp.", "zh_CN", true},
        {4, "Chinese Trad.", "zh_TW", true}, {5, "Danish", "da", false},
        {6, "Dutch", "nl", false},          {7, "French", "fr", false},
        {20, "Galician", "gl", false},      {8, "German", "de", false},
        {19, "Hungarian", "hu", false},     {9, "Italian", "it", false},
        {15, "Japanese", "ja", true},       {14, "Norwegian", "nb", false},
        {16, "Polish", "pl", false},        {10, "Portuguese", "pt", false},
        {11, "Russian", "ru", false},       {17, "Slovene", "sl", false},
        {12, "Spanish", "es", false},       {13, "Swedish", "sv", false},
        {18, "Turkish", "tr", false},
    };
    return list;
}

const TLanguageInfo *FindLanguage(int number)
{
    for (const TLanguageInfo &l : Languages())
        if (l.Number == number)
            return &l;
    return nullptr;
}

bool LanguageAvailable(int number)
{
    if (number == 0)
        return true;
    bool exists = false;
    ReadLanguageFile(number, LayerFileName(vlEditor), &exists);
    return exists;
}

QStringList LanguageEntries()
{
    QStringList out;
    for (const TLanguageInfo &l : Languages())
        if (LanguageAvailable(l.Number))
            out << QString::fromLatin1(l.Name) + QLatin1Char(',') + QString::number(l.Number);
    return out;
}

QString LanguageDataRoot()
{
    return DataRoot();
}

void SetLanguageDataRoot(const QString &root)
{
    DataRoot() = root.isEmpty() ? QStringLiteral(":/dendrix/i18n") : root;
}

QString MessageSetFileName(TMessageSet set)
{
    static const char *const names[kMessageSetCount] = {"messages-application.txt", "messages-editor.txt",
                                                        "messages-diagram.txt", "messages-base.txt"};
    return QString::fromLatin1(names[set]);
}

QString LayerFileName(TVocabularyLayer layer)
{
    static const char *const names[] = {"editor.txt", "application.txt", "diagram.txt"};
    return QString::fromLatin1(names[layer]);
}

QStringList ReadLanguageFile(int number, const QString &fileName, bool *exists)
{
    InitTranslationResources();
    if (exists)
        *exists = false;
    const TLanguageInfo *info = FindLanguage(number);
    if (!info || number == 0)
        return {};
    QFile file(DataRoot() + QLatin1Char('/') + QString::fromLatin1(info->Folder) + QLatin1Char('/') + fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    if (exists)
        *exists = true;
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    QStringList lines;
    for (QString line : text.split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        lines << line;
    }
    return lines;
}

QString UnescapeMessage(const QString &text)
{
    if (!text.contains(QLatin1Char('\\')))
        return text;
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\') && i + 1 < text.size()) {
            const QChar n = text.at(i + 1);
            if (n == QLatin1Char('n')) {
                out += QLatin1Char('\n');
                ++i;
                continue;
            }
            if (n == QLatin1Char('\\')) {
                out += QLatin1Char('\\');
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}
