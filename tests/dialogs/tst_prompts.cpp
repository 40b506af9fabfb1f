// The prompts every dialog goes through: filters in Qt's form, and the
// scripted prompts tests answer dialogs with.

#include "dialogs/KorPrompts.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

class TestPrompts : public QObject
{
    Q_OBJECT
private slots:
    void filters_data();
    void filters();
    void scriptedAnswers();
    void execRunsTheHandlerOnTheShownDialog_data();
    void execRunsTheHandlerOnTheShownDialog();
    void guardPutsThePreviousPromptsBack();
};

void TestPrompts::filters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("qt");
    QTest::newRow("two") << "Arbolix files (*.abx)|*.abx|Text files (*.txt)|*.txt"
                         << "Arbolix files (*.abx);;Text files (*.txt)";
    QTest::newRow("description without pattern") << "Pictures|*.png;*.bmp" << "Pictures (*.png *.bmp)";
    QTest::newRow("pattern differs from description") << "Bitmap (*.BMP)|*.bmp" << "Bitmap (*.bmp)";
    QTest::newRow("empty") << "" << "";
}

void TestPrompts::filters()
{
    QFETCH(QString, filter);
    QFETCH(QString, qt);
    QCOMPARE(QtFileFilter(filter), qt);
}

void TestPrompts::scriptedAnswers()
{
    TScriptedPrompts p;
    p.Answers = {paNo};
    QCOMPARE(p.Ask(nullptr, pkConfirmation, QStringLiteral("Save?"), paYes | paNo | paCancel), paNo);
    // Nothing queued: a question is cancelled and counted, a message needs no answer.
    QCOMPARE(p.Ask(nullptr, pkConfirmation, QStringLiteral("Again?"), paYes | paNo | paCancel), paCancel);
    QCOMPARE(p.Ask(nullptr, pkConfirmation, QStringLiteral("Sure?"), paYes | paNo), paNo);
    p.Message(nullptr, pkError, QStringLiteral("Failed"));
    QCOMPARE(p.Unanswered(), 2);
    QCOMPARE(p.CallsOf(QStringLiteral("Ask")).size(), size_t(4));
    QCOMPARE(p.Calls().back().Text, QStringLiteral("Failed"));
    TFileDialogOptions o;
    p.FileNames = {QStringLiteral("/tmp/a.abx")};
    QCOMPARE(p.SaveFileName(o), QStringLiteral("/tmp/a.abx"));
    QCOMPARE(p.OpenFileName(o), QString());
    QCOMPARE(p.Unanswered(), 3);
}

void TestPrompts::execRunsTheHandlerOnTheShownDialog_data()
{
    QTest::addColumn<int>("how");
    QTest::addColumn<int>("result");
    QTest::newRow("handler answers accepted") << 0 << int(QDialog::Accepted);
    QTest::newRow("handler answers rejected") << 1 << int(QDialog::Rejected);
    QTest::newRow("handler clicks OK") << 2 << int(QDialog::Accepted);
    QTest::newRow("handler presses Escape") << 3 << int(QDialog::Rejected);
}

void TestPrompts::execRunsTheHandlerOnTheShownDialog()
{
    QFETCH(int, how);
    QFETCH(int, result);
    QDialog dialog;
    auto *edit = new QLineEdit(&dialog);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(edit);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    TScriptedPromptsGuard prompts;
    bool wasVisible = false;
    prompts->OnExec = [&](QDialog &d) {
        wasVisible = d.isVisible();
        QTest::keyClicks(edit, QStringLiteral("typed"));
        switch (how) {
        case 0: return int(QDialog::Accepted);
        case 1: return int(QDialog::Rejected);
        case 2: buttons->button(QDialogButtonBox::Ok)->click(); return int(QDialog::Rejected);
        default: QTest::keyClick(&d, Qt::Key_Escape); return int(QDialog::Accepted);
        }
    };
    QCOMPARE(Prompts().Exec(dialog), result);
    QVERIFY(wasVisible);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(edit->text(), QStringLiteral("typed"));
}

void TestPrompts::guardPutsThePreviousPromptsBack()
{
    TKorPrompts *real = &Prompts();
    {
        TScriptedPromptsGuard outer;
        QCOMPARE(&Prompts(), &*outer);
        {
            TScriptedPromptsGuard inner;
            QCOMPARE(&Prompts(), &*inner);
        }
        QCOMPARE(&Prompts(), &*outer);
    }
    QCOMPARE(&Prompts(), real);
}

QTEST_MAIN(TestPrompts)
#include "tst_prompts.moc"
