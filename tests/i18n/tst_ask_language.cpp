// The language dialog and choosing a language from the menu: what is
// offered and selected, what OK, a double click and Cancel store, and when
// the program asks for a restart.

#include "I18nTestUtil.h"

#include "dialogs/KorPrompts.h"
#include "i18n/KorAskLanguage.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

QStringList Shown(const QListWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QPushButton *Button(QDialog &dialog, int index)
{
    return dialog.findChildren<QPushButton *>().value(index);
}

// Answers the next language dialog by choosing `name` the way `how` says:
// "ok", "double click", "cancel" or "escape".
void AnswerWith(TScriptedPrompts &prompts, const QString &name, const QString &how)
{
    prompts.OnExec = [name, how](QDialog &dialog) {
        auto *ask = qobject_cast<TAskLanguage *>(&dialog);
        if (!ask)
            return int(QDialog::Rejected);
        QListWidget *list = ask->LBLangs();
        const QList<QListWidgetItem *> items = list->findItems(name, Qt::MatchExactly);
        if (items.isEmpty())
            return int(QDialog::Rejected);
        const QRect r = list->visualItemRect(items.first());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
        if (how == QLatin1String("double click"))
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
        else if (how == QLatin1String("ok"))
            QTest::mouseClick(Button(dialog, 0), Qt::LeftButton);
        else if (how == QLatin1String("cancel"))
            QTest::mouseClick(Button(dialog, 1), Qt::LeftButton);
        else
            QTest::keyClick(&dialog, Qt::Key_Escape);
        return dialog.result();
    };
}

} // namespace

class TestAskLanguage : public QObject
{
    Q_OBJECT
private slots:
    void offersTheLanguagesWithTheStoredOneSelected_data();
    void offersTheLanguagesWithTheStoredOneSelected();
    void entriesKeepTheirNumbers();
    void answers_data();
    void answers();
    void isTranslatedWhenShown();
    void choosing_data();
    void choosing();
    void keyboardOnly();
};

void TestAskLanguage::offersTheLanguagesWithTheStoredOneSelected_data()
{
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("selected");
    QTest::newRow("nothing stored") << kNoStoredLanguage << "English";
    QTest::newRow("German") << int(lnGerman) << "German";
    QTest::newRow("Spanish") << int(lnSpanish) << "Spanish";
    QTest::newRow("French") << int(lnFrench) << "French";
    QTest::newRow("a number no language has") << 77 << "English";
}

void TestAskLanguage::offersTheLanguagesWithTheStoredOneSelected()
{
    QFETCH(int, stored);
    QFETCH(QString, selected);
    TPrivateHome home;
    if (stored != kNoStoredLanguage)
        WriteStoredLanguage(stored);
    TAskLanguage dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Available Languages"));
    QCOMPARE(dialog.LBLangs()->objectName(), QStringLiteral("LBLangs"));
    // In the list's order; every language comes with its data.
    QCOMPARE(Shown(dialog.LBLangs()),
             QString::fromLatin1("English,Brazilian,Catalan,Chinese Simp.,Chinese Trad.,Danish,Dutch,French,Galician,"
                                 "German,Hungarian,Italian,Japanese,Norwegian,Polish,Portuguese,Russian,Slovene,"
                                 "Spanish,Swedish,Turkish")
                 .split(QLatin1Char(',')));
    QCOMPARE(dialog.LBLangs()->currentItem()->text(), selected);
}

void TestAskLanguage::entriesKeepTheirNumbers()
{
    TPrivateHome home;
    WriteStoredLanguage(lnGalician);
    TAskLanguage dialog;
    dialog.SetEntries({QStringLiteral("English,0"), QStringLiteral("Galician,20"), QStringLiteral("Odd, name,7"),
                       QStringLiteral("No number")});
    QCOMPARE(Shown(dialog.LBLangs()), QStringList({QStringLiteral("English"), QStringLiteral("Galician"),
                                                   QStringLiteral("Odd"), QStringLiteral("No number")}));
    QCOMPARE(dialog.SelectedLanguage(), int(lnGalician));
    // The number follows the first comma ("Odd" then reads " name,7").
    dialog.LBLangs()->setCurrentRow(2);
    QCOMPARE(dialog.SelectedLanguage(), -1);
    dialog.SetEntries({});
    QCOMPARE(dialog.SelectedLanguage(), -1);
}

void TestAskLanguage::answers_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("ok") << "ok" << true;
    QTest::newRow("double click") << "double click" << true;
    QTest::newRow("cancel") << "cancel" << false;
    QTest::newRow("escape") << "escape" << false;
}

void TestAskLanguage::answers()
{
    QFETCH(QString, how);
    QFETCH(bool, accepted);
    TPrivateHome home;
    TScriptedPromptsGuard prompts;
    AnswerWith(*prompts, QStringLiteral("Japanese"), how);
    QCOMPARE(AskLanguage(nullptr), accepted);
    QCOMPARE(ReadStoredLanguage(), accepted ? int(lnJapanese) : kNoStoredLanguage);
    QCOMPARE(prompts->CallsOf(QStringLiteral("Exec")).size(), size_t(1));
}

void TestAskLanguage::isTranslatedWhenShown()
{
    TPrivateHome home;
    ApplyLanguage(lnSpanish, false);
    TAskLanguage dialog;
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Idiomas disponibles"));
    QCOMPARE(dialog.findChild<QLabel *>()->text(), QStringLiteral("&Elija un idioma:"));
    QCOMPARE(Button(dialog, 0)->text(), QStringLiteral("Aceptar"));
    QCOMPARE(Button(dialog, 1)->text(), QStringLiteral("Cancelar"));
    // The languages keep the names the list gives them.
    QCOMPARE(dialog.LBLangs()->item(9)->text(), QStringLiteral("German"));
}

void TestAskLanguage::choosing_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<int>("choice");
    QTest::addColumn<int>("active");
    QTest::newRow("English to Spanish") << int(lnEnglish) << "Spanish" << int(lcTranslateNow) << int(lnSpanish);
    QTest::newRow("Spanish to German") << int(lnSpanish) << "German" << int(lcRestart) << int(lnGerman);
    QTest::newRow("Japanese to English") << int(lnJapanese) << "English" << int(lcRestart) << int(lnEnglish);
    QTest::newRow("English to English") << int(lnEnglish) << "English" << int(lcRestart) << int(lnEnglish);
    QTest::newRow("cancelled") << int(lnSpanish) << "" << int(lcCancelled) << int(lnSpanish);
}

void TestAskLanguage::choosing()
{
    QFETCH(int, before);
    QFETCH(QString, chosen);
    QFETCH(int, choice);
    QFETCH(int, active);
    TPrivateHome home;
    if (before != lnEnglish) {
        WriteStoredLanguage(before);
        ApplyLanguageAtStart();
    }
    TScriptedPromptsGuard prompts;
    AnswerWith(*prompts, chosen, chosen.isEmpty() ? QStringLiteral("cancel") : QStringLiteral("ok"));
    QCOMPARE(int(ChooseLanguage(nullptr)), choice);
    QCOMPARE(ActiveLanguage(), active);
    QCOMPARE(ReadStoredLanguage(), choice == lcCancelled ? before : active);
    // After a restart the stored language is the one in use.
    ResetLanguages();
    ApplyLanguageAtStart();
    QCOMPARE(ActiveLanguage(), active);
}

void TestAskLanguage::keyboardOnly()
{
    TPrivateHome home;
    TScriptedPromptsGuard prompts;
    prompts->OnExec = [](QDialog &dialog) {
        auto *ask = qobject_cast<TAskLanguage *>(&dialog);
        ask->LBLangs()->setFocus();
        // English is selected; down twice is Catalan, Enter is OK.
        QTest::keyClick(ask->LBLangs(), Qt::Key_Down);
        QTest::keyClick(ask->LBLangs(), Qt::Key_Down);
        QTest::keyClick(ask->LBLangs(), Qt::Key_Return);
        return dialog.result();
    };
    QVERIFY(AskLanguage(nullptr));
    QCOMPARE(ReadStoredLanguage(), int(lnCatalan));
}

QTEST_MAIN(TestAskLanguage)
#include "tst_ask_language.moc"
