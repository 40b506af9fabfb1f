// The prompts every dialog goes through: filters in Qt's form, and the
// scripted prompts tests answer dialogs with.

#include "dialogs/KorPrompts.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QProgressDialog>
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
    void scriptedProgress_data();
    void scriptedProgress();
    void dialogProgress_data();
    void dialogProgress();
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

namespace {
QString StepText(int done, int total)
{
    return QStringLiteral("%1/%2").arg(done).arg(total);
}
} // namespace

void TestPrompts::scriptedProgress_data()
{
    QTest::addColumn<bool>("handler");
    QTest::addColumn<int>("cancelAt"); // 0: never
    QTest::addColumn<int>("lastTrue");
    QTest::newRow("no handler runs to the end") << false << 0 << 5;
    QTest::newRow("handler lets it run") << true << 0 << 5;
    QTest::newRow("handler cancels at the third step") << true << 3 << 2;
    QTest::newRow("handler cancels at once") << true << 1 << 0;
}

void TestPrompts::scriptedProgress()
{
    QFETCH(bool, handler);
    QFETCH(int, cancelAt);
    QFETCH(int, lastTrue);
    TScriptedPromptsGuard prompts;
    QStringList texts;
    if (handler)
        prompts->OnProgress = [&](int done, int, const QString &text) {
            texts << text;
            return done != cancelAt;
        };
    std::unique_ptr<TKorProgress> progress = Prompts().Progress(nullptr, QStringLiteral("Building"), StepText);
    int lastAnsweredTrue = 0;
    for (int i = 1; i <= 5; ++i)
        if (progress->Step(i, 5))
            lastAnsweredTrue = i;
        else if (lastAnsweredTrue >= i)
            QFAIL("a cancelled progress went on");
    QCOMPARE(lastAnsweredTrue, lastTrue);
    QCOMPARE(prompts->CallsOf(QStringLiteral("Progress")).size(), size_t(1));
    QCOMPARE(prompts->CallsOf(QStringLiteral("Progress")).front().Text, QStringLiteral("Building"));
    QCOMPARE(prompts->Unanswered(), 0);
    // Once cancelled the handler is not asked again.
    if (handler)
        QCOMPARE(texts.size(), cancelAt ? cancelAt : 5);
    if (!texts.isEmpty())
        QCOMPARE(texts.front(), QStringLiteral("1/5"));
}

void TestPrompts::dialogProgress_data()
{
    QTest::addColumn<int>("total");
    QTest::newRow("known total") << 10;
    QTest::newRow("unknown total") << 0;
}

// The real window: its Cancel stops the work, its text follows the steps,
// and it goes with the object.
void TestPrompts::dialogProgress()
{
    QFETCH(int, total);
    QWidget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    TDialogPrompts real;
    std::unique_ptr<TKorProgress> progress = real.Progress(&window, QStringLiteral("Building"), StepText);
    auto *dialog = window.findChild<QProgressDialog *>();
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Building"));
    QVERIFY(progress->Step(3, total));
    QCOMPARE(dialog->labelText(), StepText(3, total));
    QCOMPARE(dialog->maximum(), total);
    QCOMPARE(dialog->value(), 3);
    if (total > 0) {
        // The last step always shows, however soon it comes.
        QVERIFY(progress->Step(total, total));
        QCOMPARE(dialog->labelText(), StepText(total, total));
    }
    dialog->cancel();
    QVERIFY(!progress->Step(total, total));
    progress.reset();
    QCOMPARE(window.findChild<QProgressDialog *>(), nullptr);
}

QTEST_MAIN(TestPrompts)
#include "tst_prompts.moc"
