// The page navigator: enabled states, moving through the pages, button
// widths, auto-repeat driven by the test through the repeat timer's ticks,
// the keyboard, hints, letting go of a diagram that goes away, and
// printing a range of pages (and copies) to PDF.

#include "FrameTestUtil.h"
#include "ViewTestUtil.h"

#include "dialogs/KorPrompts.h"
#include "view/ViewConst.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A diagram whose nodes reach down to `bottom`, drawn once so its pages
// are counted, and a navigator bound to it.
struct TNavHost
{
    TDevicesGuard Devices;
    TViewHost View{300, 200};
    TTree *Tree = View.Tree;
    TTreePageNavigator Nav;
    TTreeNodeShape *Node;

    explicit TNavHost(int bottom)
    {
        Tree->Page()->SetWidth(300);
        Tree->Page()->SetHeight(100);
        Node = Tree->AddRoot(QStringLiteral("A"));
        Place(Node, 10, bottom - 20, 60, bottom);
        View.Paint();
        Nav.SetTree(Tree);
    }
    QList<bool> States() const
    {
        return {Nav.isEnabled(), Nav.Button(nbFirst)->isEnabled(), Nav.Button(nbPrior)->isEnabled(),
                Nav.Button(nbNext)->isEnabled(), Nav.Button(nbLast)->isEnabled()};
    }
    int Page() const { return Tree->Page()->PageNumber(); }
};

QString Tool(const char *name)
{
    return QStandardPaths::findExecutable(QString::fromLatin1(name));
}

int PdfPages(const QString &pdf)
{
    QProcess run;
    run.start(Tool("pdfinfo"), {pdf});
    if (!run.waitForFinished(30000))
        return -1;
    for (const QString &line : QString::fromLatin1(run.readAllStandardOutput()).split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("Pages:")))
            return line.mid(6).trimmed().toInt();
    return -1;
}

} // namespace

class TestPageNavigator : public QObject
{
    Q_OBJECT
private slots:
    void createdAsABar();
    void enabledStates_data();
    void enabledStates();
    void movesThroughThePages();
    void buttonWidths_data();
    void buttonWidths();
    void autoRepeat();
    void keyboard();
    void hints();
    void diagramGoingAway();
    void printsARangeOfPages_data();
    void printsARangeOfPages();
    void printAskedNothingOrCancelled();
};

void TestPageNavigator::createdAsABar()
{
    TTreePageNavigator nav;
    // Created 241 wide, then cut to its four buttons of 60.
    QCOMPARE(nav.size(), QSize(240, 25));
    QCOMPARE(nav.BevelOuter(), bvNone);
    QVERIFY(!nav.isEnabled());
    for (int i = 0; i < TCustomKorNavigator::kButtonCount; ++i) {
        QCOMPARE(nav.Button(i)->isHidden(), i >= nbInsert);
        QVERIFY(nav.Button(i)->autoRaise());
        QVERIFY(!nav.Button(i)->icon().isNull());
    }
    QCOMPARE(nav.FocusedButton(), 0);
}

void TestPageNavigator::enabledStates_data()
{
    QTest::addColumn<int>("bottom");
    QTest::addColumn<int>("page");
    QTest::addColumn<QList<bool>>("states"); // navigator, First, Prior, Next, Last
    QTest::newRow("one page") << 80 << 1 << QList<bool>{true, false, false, false, false};
    QTest::newRow("page 1 of 3") << 250 << 1 << QList<bool>{true, false, false, true, true};
    QTest::newRow("page 2 of 3") << 250 << 2 << QList<bool>{true, true, true, true, true};
    QTest::newRow("page 3 of 3") << 250 << 3 << QList<bool>{true, true, true, false, false};
}

void TestPageNavigator::enabledStates()
{
    QFETCH(int, bottom);
    QFETCH(int, page);
    QFETCH(QList<bool>, states);
    TNavHost h(bottom);
    h.Tree->Page()->SetPageNumber(page);
    h.View.Paint(); // the navigator hears of every drawing
    QCOMPARE(h.States(), states);
}

void TestPageNavigator::movesThroughThePages()
{
    TNavHost h(250);
    QList<int> clicked;
    h.Nav.OnButtonClicked = [&](TCustomKorNavigator *, int index) { clicked << index; };
    QTest::mouseClick(h.Nav.Button(nbLast), Qt::LeftButton);
    QCOMPARE(h.Page(), 3);
    QCOMPARE(h.Tree->View3DOptions()->VertOffset(), -200);
    QCOMPARE(h.States(), (QList<bool>{true, true, true, false, false}));
    QTest::mouseClick(h.Nav.Button(nbPrior), Qt::LeftButton);
    QCOMPARE(h.Page(), 2);
    QTest::mouseClick(h.Nav.Button(nbFirst), Qt::LeftButton);
    QCOMPARE(h.Page(), 1);
    QCOMPARE(h.Tree->View3DOptions()->VertOffset(), 0);
    QTest::mouseClick(h.Nav.Button(nbNext), Qt::LeftButton);
    QCOMPARE(h.Page(), 2);
    QCOMPARE(clicked, (QList<int>{nbLast, nbPrior, nbFirst, nbNext}));
    // A disabled button does nothing.
    QTest::mouseClick(h.Nav.Button(nbLast), Qt::LeftButton);
    QTest::mouseClick(h.Nav.Button(nbNext), Qt::LeftButton);
    QCOMPARE(h.Page(), 3);
    QTest::mouseClick(h.Nav.Button(nbNext), Qt::LeftButton);
    QCOMPARE(h.Page(), 3);
    QCOMPARE(clicked.size(), 5);
}

void TestPageNavigator::buttonWidths_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("aligned");
    QTest::addColumn<int>("navigatorWidth");
    QTest::addColumn<QList<int>>("widths");
    QTest::newRow("100, aligned") << 100 << true << 100 << QList<int>{25, 25, 25, 25};
    QTest::newRow("102, aligned: two get a pixel more") << 102 << true << 102 << QList<int>{25, 26, 25, 26};
    QTest::newRow("103, aligned") << 103 << true << 103 << QList<int>{26, 25, 26, 26};
    QTest::newRow("102, not aligned: cut to the buttons") << 102 << false << 100 << QList<int>{25, 25, 25, 25};
    QTest::newRow("too narrow: 20 each") << 50 << true << 80 << QList<int>{20, 20, 20, 20};
}

void TestPageNavigator::buttonWidths()
{
    QFETCH(int, width);
    QFETCH(bool, aligned);
    QFETCH(int, navigatorWidth);
    QFETCH(QList<int>, widths);
    TTreePageNavigator nav;
    nav.SetAlign(aligned ? alTop : alNone);
    nav.show();
    nav.resize(width, 30);
    QCOMPARE(nav.width(), navigatorWidth);
    QList<int> got;
    int x = 0;
    for (int i = nbFirst; i <= nbLast; ++i) {
        const QRect g = nav.Button(i)->geometry();
        QCOMPARE(g.x(), x);
        QCOMPARE(g.height(), 30);
        got << g.width();
        x += g.width();
    }
    QCOMPARE(got, widths);
    // The hidden buttons wait beyond the right edge.
    QVERIFY(nav.Button(nbInsert)->geometry().x() > nav.width());
    // Never lower than a button.
    nav.resize(nav.width(), 5);
    QCOMPARE(nav.height(), TCustomKorNavigator::kButtonHeight);
}

void TestPageNavigator::autoRepeat()
{
    TNavHost h(990); // ten pages
    QCOMPARE(h.Tree->Page()->Count(), 10);
    int clicks = 0;
    h.Nav.OnButtonClicked = [&](TCustomKorNavigator *, int) { ++clicks; };
    TKorNavButton *next = h.Nav.Button(nbNext);
    QVERIFY(!next->RepeatTimer());
    // The press moves at once and starts the timer with the first delay.
    QTest::mousePress(next, Qt::LeftButton);
    QCOMPARE(h.Page(), 2);
    QCOMPARE(clicks, 1);
    QVERIFY(next->RepeatTimer());
    QVERIFY(next->RepeatTimer()->isActive());
    QCOMPARE(next->RepeatTimer()->interval(), TKorNavButton::kFirstDelay);
    // Each tick of the timer moves once more, then every 100 ms.
    next->RepeatTick();
    QCOMPARE(h.Page(), 3);
    QCOMPARE(next->RepeatTimer()->interval(), TKorNavButton::kRepeatDelay);
    for (int i = 0; i < 7; ++i)
        next->RepeatTick();
    QCOMPARE(h.Page(), 10);
    QCOMPARE(clicks, 9);
    // At the last page the button is disabled: the repeating stops.
    next->RepeatTick();
    QCOMPARE(h.Page(), 10);
    QCOMPARE(clicks, 9);
    QVERIFY(!next->RepeatTimer()->isActive());
    QTest::mouseRelease(next, Qt::LeftButton);
    QCOMPARE(clicks, 9);

    // A press and a release before the first tick: one page, no more.
    TKorNavButton *prior = h.Nav.Button(nbPrior);
    QTest::mousePress(prior, Qt::LeftButton);
    QTest::mouseRelease(prior, Qt::LeftButton);
    QCOMPARE(h.Page(), 9);
    QCOMPARE(clicks, 10);
    QVERIFY(!prior->RepeatTimer()->isActive());
    // A tick that comes late after the release moves nothing.
    prior->RepeatTick();
    QCOMPARE(h.Page(), 9);
}

void TestPageNavigator::keyboard()
{
    TNavHost h(250);
    h.Nav.show();
    QVERIFY(QTest::qWaitForWindowExposed(&h.Nav));
    h.Nav.setFocus();
    QCOMPARE(h.Nav.FocusedButton(), 0);
    // First is disabled: Space does nothing.
    QTest::keyClick(&h.Nav, Qt::Key_Space);
    QCOMPARE(h.Page(), 1);
    QTest::keyClick(&h.Nav, Qt::Key_Right);
    QTest::keyClick(&h.Nav, Qt::Key_Right);
    QCOMPARE(h.Nav.FocusedButton(), int(nbNext));
    QTest::keyClick(&h.Nav, Qt::Key_Space);
    QCOMPARE(h.Page(), 2);
    // The mark stays among the visible buttons.
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(&h.Nav, Qt::Key_Right);
    QCOMPARE(h.Nav.FocusedButton(), int(nbLast));
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(&h.Nav, Qt::Key_Left);
    QCOMPARE(h.Nav.FocusedButton(), int(nbFirst));
    QTest::keyClick(&h.Nav, Qt::Key_Space);
    QCOMPARE(h.Page(), 1);
    // Pressing a button moves the mark to it.
    QTest::mouseClick(h.Nav.Button(nbLast), Qt::LeftButton);
    QCOMPARE(h.Nav.FocusedButton(), int(nbLast));
}

void TestPageNavigator::hints()
{
    TTreePageNavigator nav;
    const QStringList defaults{SNavFirst, SNavPrior, SNavNext, SNavLast, SNavInsert,
                               SNavDelete, SNavEdit, SNavPost, SNavCancel};
    for (int i = 0; i < TCustomKorNavigator::kButtonCount; ++i)
        QCOMPARE(nav.Button(i)->toolTip(), defaults[i]);
    QCOMPARE(nav.Button(nbFirst)->toolTip(), QStringLiteral("First"));
    nav.SetHints({QString(), QStringLiteral("Back"), QString(), QStringLiteral("End")});
    QCOMPARE(nav.Button(nbFirst)->toolTip(), QStringLiteral("First"));
    QCOMPARE(nav.Button(nbPrior)->toolTip(), QStringLiteral("Back"));
    QCOMPARE(nav.Button(nbLast)->toolTip(), QStringLiteral("End"));
    nav.SetHints({});
    QCOMPARE(nav.Button(nbPrior)->toolTip(), QStringLiteral("Prior"));
}

void TestPageNavigator::diagramGoingAway()
{
    TDevicesGuard devices;
    TTreePageNavigator nav;
    auto view = std::make_unique<TViewHost>();
    view->Paint();
    nav.SetTree(view->Tree);
    QVERIFY(nav.isEnabled());
    QCOMPARE(view->Tree->Listeners().Count(), 1);
    view.reset();
    QCOMPARE(nav.Tree(), nullptr);
    QVERIFY(!nav.isEnabled());
    // Nothing to move or print.
    nav.ButtonClick(nbNext);
    nav.Print();
}

void TestPageNavigator::printsARangeOfPages_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("copies");
    QTest::addColumn<int>("pages");
    QTest::newRow("pages 2-3") << 2 << 3 << 1 << 2;
    QTest::newRow("pages 2-3, three copies") << 2 << 3 << 3 << 6;
    QTest::newRow("all pages") << 1 << 4 << 1 << 4;
    QTest::newRow("one page, two copies") << 4 << 4 << 2 << 2;
}

void TestPageNavigator::printsARangeOfPages()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, copies);
    QFETCH(int, pages);
    if (Tool("pdfinfo").isEmpty() || Tool("pdftoppm").isEmpty())
        QSKIP("pdfinfo and pdftoppm are not installed");
    TNavHost h(390); // four pages of 100
    // A red node on page 2 and one on page 3, a page lower.
    h.Node->SetColor(clBlue);
    TTreeNodeShape *red = Place(h.Tree->AddRoot(QStringLiteral("R")), 20, 120, 280, 180);
    red->SetColor(clRed);
    h.Tree->Page()->SetPageNumber(4);
    h.View.Paint();
    QCOMPARE(h.Tree->Page()->Count(), 4);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("pages.pdf"));
    TScriptedPromptsGuard prompts;
    prompts->OnSaveFileName = [&](TFileDialogOptions &o) {
        // The file the pages go to, as the user names it.
        return o.Title == QString(SPrintToFileTitle) ? pdf : QString();
    };
    int minPage = 0, maxPage = 0;
    prompts->OnExec = [&](QDialog &d) {
        auto *dialog = qobject_cast<QPrintDialog *>(&d);
        if (!dialog)
            return int(QDialog::Rejected);
        minPage = dialog->minPage();
        maxPage = dialog->maxPage();
        d.accept();
        dialog->printer()->setFromTo(from, to);
        dialog->printer()->setCopyCount(copies);
        return int(QDialog::Accepted);
    };
    h.Nav.Print();
    QCOMPARE(prompts->CallsOf(QStringLiteral("Exec")).size(), size_t(1));
    QCOMPARE(minPage, 1);
    QCOMPARE(maxPage, 4);
    QCOMPARE(PdfPages(pdf), pages);
    // The page shown before is shown again.
    QCOMPARE(h.Page(), 4);
    QCOMPARE(h.Tree->View3DOptions()->VertOffset(), -300);

    // Each printed page shows its own part of the diagram: the red node
    // on page 2 only.
    QProcess run;
    run.start(Tool("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("20"), QStringLiteral("-png"),
                                 QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                 QStringLiteral("1"), QStringLiteral("-singlefile"), pdf,
                                 dir.filePath(QStringLiteral("first"))});
    QVERIFY(run.waitForFinished(30000));
    QCOMPARE(run.exitCode(), 0);
    const QImage first = QImage(dir.filePath(QStringLiteral("first.png"))).convertToFormat(QImage::Format_RGB32);
    QVERIFY(!first.isNull());
    int redPixels = 0;
    for (int y = 0; y < first.height(); ++y)
        for (int x = 0; x < first.width(); ++x) {
            const QRgb c = first.pixel(x, y);
            redPixels += qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80;
        }
    QCOMPARE(redPixels > 20, from == 2);
}

void TestPageNavigator::printAskedNothingOrCancelled()
{
    // One page: nothing asked, nothing printed.
    {
        TNavHost h(80);
        TScriptedPromptsGuard prompts;
        h.Nav.Print();
        QVERIFY(prompts->Calls().empty());
    }
    // No file named: no print dialog either.
    TNavHost h(250);
    TScriptedPromptsGuard prompts;
    h.Nav.Print();
    QCOMPARE(prompts->CallsOf(QStringLiteral("SaveFileName")).size(), size_t(1));
    QVERIFY(prompts->CallsOf(QStringLiteral("Exec")).empty());
    // The print dialog cancelled: no file.
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("none.pdf"));
    prompts->OnSaveFileName = [&](TFileDialogOptions &) { return pdf; };
    prompts->OnExec = [](QDialog &) { return int(QDialog::Rejected); };
    h.Nav.Print();
    QVERIFY(!QFile::exists(pdf));
    QCOMPARE(h.Page(), 1);
}

QTEST_MAIN(TestPageNavigator)
#include "tst_page_navigator.moc"
