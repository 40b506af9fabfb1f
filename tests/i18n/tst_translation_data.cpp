// The translation data the program ships: every line well-formed, every
// language with the same keys, every message of the program translated in
// every language with its placeholders, and a language added as data alone.

#include "I18nTestUtil.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <map>
#include <set>

namespace {

struct TSourceMessage
{
    QString English;
    QString File;
};

// Every message text defined in the program's sources, by id.
std::map<QString, TSourceMessage> SourceMessages()
{
    std::map<QString, TSourceMessage> out;
    const QString root = QStringLiteral(DENDRIX_SOURCE_DIR);
    static const QRegularExpression definition(
        QString::fromUtf8(R"re(TMessageText\s+\w+\s*\(\s*"(\w+)"\s*,((?:\s*"(?:[^"\\]|\\.)*")+)\s*\))re"));
    static const QRegularExpression literal(QString::fromUtf8(R"re("((?:[^"\\]|\\.)*)")re"));
    for (const char *folder : {"core", "canvas", "model", "view", "shapes", "editor", "dialogs", "export", "animation",
                               "dbtree", "i18n", "app"}) {
        QDirIterator it(root + QLatin1Char('/') + QLatin1String(folder), {QStringLiteral("*.cpp")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly))
                continue;
            const QString text = QString::fromUtf8(f.readAll());
            auto defs = definition.globalMatch(text);
            while (defs.hasNext()) {
                const QRegularExpressionMatch d = defs.next();
                QString english;
                auto parts = literal.globalMatch(d.captured(2));
                while (parts.hasNext())
                    english += parts.next().captured(1);
                english.replace(QLatin1String("\\n"), QLatin1String("\n")).replace(QLatin1String("\\\""),
                                                                                   QLatin1String("\""));
                out[d.captured(1)] = {english, path.mid(root.size() + 1)};
            }
        }
    }
    return out;
}

// The placeholders of a message in order ("%s%d").
QString Placeholders(const QString &text)
{
    static const QRegularExpression p(QString::fromUtf8(R"re(%[-0-9.]*[a-zA-Z%])re"));
    QString out;
    auto it = p.globalMatch(text);
    while (it.hasNext())
        out += it.next().captured(0);
    return out;
}

std::vector<int> ShippedLanguages()
{
    std::vector<int> out;
    for (const TLanguageInfo &l : Languages())
        if (l.Number != lnEnglish && LanguageAvailable(l.Number))
            out.push_back(l.Number);
    return out;
}

QString NameOf(int number)
{
    return QString::fromLatin1(FindLanguage(number)->Name);
}

} // namespace

class TestTranslationData : public QObject
{
    Q_OBJECT
private slots:
    void everyLanguageShips();
    void vocabularyLinesAreKeys();
    void languagesShareTheirKeys();
    void theLayersHoldTheirGuardKeys();
    void everyMessageIsTranslated();
    void messagesKeepTheirPlaceholders();
    void aLanguageIsAddedAsData();
};

void TestTranslationData::everyLanguageShips()
{
    // Every language of the list but English comes as data.
    const std::vector<int> shipped = ShippedLanguages();
    QCOMPARE(shipped.size(), size_t(20));
    for (const TLanguageInfo &l : Languages())
        if (l.Number != lnEnglish)
            QVERIFY2(std::find(shipped.begin(), shipped.end(), l.Number) != shipped.end(), qPrintable(NameOf(l.Number)));
    // Every language has its number once, and English needs no data.
    std::set<int> numbers;
    for (const TLanguageInfo &l : Languages())
        QVERIFY(numbers.insert(l.Number).second);
    QCOMPARE(numbers.size(), size_t(21));
    QCOMPARE(*numbers.rbegin(), 20);
}

void TestTranslationData::vocabularyLinesAreKeys()
{
    for (int n : ShippedLanguages())
        for (TVocabularyLayer layer : {vlEditor, vlApplication, vlDiagram}) {
            std::set<QString> keys;
            for (const QString &line : ReadLanguageFile(n, LayerFileName(layer))) {
                const QString where = NameOf(n) + QLatin1Char(' ') + LayerFileName(layer) + QStringLiteral(": ") + line;
                const int eq = line.indexOf(QLatin1Char('='));
                QVERIFY2(eq > 0, qPrintable(where));
                const QString key = line.left(eq);
                const QString text = line.mid(eq + 1);
                // The key is what a caption of that text is looked up by.
                QVERIFY2(TranslationKey(key) == key, qPrintable(where));
                QVERIFY2(!text.trimmed().isEmpty() && text == text.trimmed(), qPrintable(where));
                // A translation brings no hotkey of its own: the rule places it.
                QVERIFY2(!text.contains(QLatin1Char('&')), qPrintable(where));
                QVERIFY2(keys.insert(key).second, qPrintable(where + QStringLiteral(" (twice)")));
            }
            QVERIFY2(!keys.empty(), qPrintable(NameOf(n) + LayerFileName(layer)));
        }
}

void TestTranslationData::languagesShareTheirKeys()
{
    const std::vector<int> shipped = ShippedLanguages();
    for (TVocabularyLayer layer : {vlEditor, vlApplication, vlDiagram}) {
        QStringList first;
        for (const QString &line : ReadLanguageFile(shipped.front(), LayerFileName(layer)))
            first << line.left(line.indexOf(QLatin1Char('=')));
        for (int n : shipped) {
            QStringList keys;
            for (const QString &line : ReadLanguageFile(n, LayerFileName(layer)))
                keys << line.left(line.indexOf(QLatin1Char('=')));
            QCOMPARE(keys, first);
        }
    }
}

void TestTranslationData::theLayersHoldTheirGuardKeys()
{
    for (int n : ShippedLanguages()) {
        const QStringList app = ReadLanguageFile(n, LayerFileName(vlApplication));
        const QStringList diagram = ReadLanguageFile(n, LayerFileName(vlDiagram));
        QVERIFY(app.first().startsWith(QLatin1String("NEW USING WIZARD=")));
        QVERIFY(diagram.first().startsWith(QLatin1String("FLOWCHART=")));
        // The shared vocabulary does not hold them, or the layers would
        // never be appended.
        for (const QString &line : ReadLanguageFile(n, LayerFileName(vlEditor))) {
            QVERIFY(!line.startsWith(QLatin1String("NEW USING WIZARD=")));
            QVERIFY(!line.startsWith(QLatin1String("FLOWCHART=")));
        }
    }
}

void TestTranslationData::everyMessageIsTranslated()
{
    const auto source = SourceMessages();
    QVERIFY(source.size() > 40);
    for (int n : ShippedLanguages()) {
        std::map<QString, TMessageSet> seen;
        for (int set = 0; set < kMessageSetCount; ++set)
            for (const QString &line : ReadLanguageFile(n, MessageSetFileName(TMessageSet(set)))) {
                const QString id = line.left(line.indexOf(QLatin1Char('=')));
                const QString where = NameOf(n) + QStringLiteral(": ") + id;
                QVERIFY2(source.count(id), qPrintable(where + QStringLiteral(" is no message of the program")));
                QVERIFY2(seen.emplace(id, TMessageSet(set)).second, qPrintable(where + QStringLiteral(" (twice)")));
            }
        for (const auto &[id, message] : source)
            QVERIFY2(seen.count(id), qPrintable(NameOf(n) + QStringLiteral(" lacks ") + id + QStringLiteral(" of ") +
                                               message.File));
    }
    // A message belongs to the same set in every language.
    std::map<QString, int> setOf;
    for (int n : ShippedLanguages())
        for (int set = 0; set < kMessageSetCount; ++set)
            for (const QString &line : ReadLanguageFile(n, MessageSetFileName(TMessageSet(set)))) {
                const QString id = line.left(line.indexOf(QLatin1Char('=')));
                const auto [it, fresh] = setOf.emplace(id, set);
                QVERIFY2(it->second == set, qPrintable(NameOf(n) + QStringLiteral(": ") + id));
            }
}

void TestTranslationData::messagesKeepTheirPlaceholders()
{
    const auto source = SourceMessages();
    for (int n : ShippedLanguages())
        for (int set = 0; set < kMessageSetCount; ++set)
            for (const QString &line : ReadLanguageFile(n, MessageSetFileName(TMessageSet(set)))) {
                const int eq = line.indexOf(QLatin1Char('='));
                const QString id = line.left(eq);
                const QString text = UnescapeMessage(line.mid(eq + 1));
                const auto it = source.find(id);
                if (it == source.end())
                    continue;
                QVERIFY2(Placeholders(text) == Placeholders(it->second.English),
                         qPrintable(NameOf(n) + QStringLiteral(": ") + id + QStringLiteral(": ") + text));
                // A caption with a hotkey keeps one.
                QCOMPARE(StripHotkey(text) != text, StripHotkey(it->second.English) != it->second.English);
            }
}

void TestTranslationData::aLanguageIsAddedAsData()
{
    ResetLanguages();
    TLanguageData data;
    data.Write(QStringLiteral("fr"), LayerFileName(vlEditor), {QStringLiteral("WIDTH=Largeur")});
    data.Write(QStringLiteral("fr"), MessageSetFileName(msBase), {QStringLiteral("SNoSuchMessage=ignorée")});
    QCOMPARE(LanguageEntries(), QStringList({QStringLiteral("English,0"), QStringLiteral("French,7")}));
    ApplyLanguage(lnFrench, false);
    QString text = QStringLiteral("&Width:");
    QString used;
    QVERIFY(TranslateText(text, used));
    QCOMPARE(text, QStringLiteral("&Largeur:"));
    ResetLanguages();
}

QTEST_MAIN(TestTranslationData)
#include "tst_translation_data.moc"
