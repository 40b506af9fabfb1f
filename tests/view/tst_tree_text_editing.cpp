// In-place editing of a node's text as the user starts and ends it (the
// shortcut key, the mouse, Escape, a new selection), what the edit control
// looks like, text that needs more than a byte a character through a file,
// and the stored key and cursor codes the control maps to the platform's.

#include "InputTestUtil.h"

#include "model/TreeFile.h"
#include "view/TreeInputMaps.h"

#include <QBuffer>
#include <QPlainTextEdit>

namespace {

const QStringList kOutline = {QStringLiteral("A"), QStringLiteral(" A1"), QStringLiteral("B")};

// A shown diagram of three nodes with A selected.
struct TEditHost : TInputHost
{
    TEditHost() : TInputHost(400, 300)
    {
        BuildOutline(Tree, kOutline);
        Draw();
        Node(QStringLiteral("A"))->SetSelected(true);
    }
    QPlainTextEdit *Edit() const { return Tree->TextEditor()->Edit(); }
    void Type(const QString &text) { QTest::keyClicks(Edit(), text); }
    void EditKey(int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(Edit(), static_cast<Qt::Key>(key), mods);
    }
};

} // namespace

class TestTreeTextEditing : public QObject
{
    Q_OBJECT
private slots:
    void startsAsTheSettingsSay_data();
    void startsAsTheSettingsSay();
    void escapeDiscardsTheShortcutSaves();
    void aNewSelectionSaves();
    void startingCanBeRefused();
    void theControlTakesTheNodesLook();
    void theEditedNodeGoingAway();
    void anyTextSurvivesAFile();
    void settingsAreStored();
    void shortCutsMapBothWays();
    void cursorCodes_data();
    void cursorCodes();
};

void TestTreeTextEditing::startsAsTheSettingsSay_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<int>("shortCut");
    QTest::addColumn<QString>("action"); // "key:<qt key>:<modifiers>" or "press"
    QTest::addColumn<bool>("edits");
    const int f2 = 113, ctrlE = TreeInput::kShortCutCtrl | 0x45;
    const QString pressF2 = QStringLiteral("key:%1:0").arg(int(Qt::Key_F2));
    const QString pressCtrlE = QStringLiteral("key:%1:%2").arg(int(Qt::Key_E)).arg(int(Qt::ControlModifier));
    QTest::newRow("F2 by default") << int(tteKey) << true << false << f2 << pressF2 << true;
    QTest::newRow("a press in key mode") << int(tteKey) << true << false << f2 << "press" << false;
    QTest::newRow("a press in mouse mode") << int(tteMouse) << true << false << f2 << "press" << true;
    QTest::newRow("F2 in mouse mode") << int(tteMouse) << true << false << f2 << pressF2 << false;
    QTest::newRow("both: F2") << int(tteBoth) << true << false << f2 << pressF2 << true;
    QTest::newRow("both: a press") << int(tteBoth) << true << false << f2 << "press" << true;
    QTest::newRow("disabled") << int(tteBoth) << false << false << f2 << pressF2 << false;
    QTest::newRow("read-only") << int(tteBoth) << true << true << f2 << "press" << false;
    QTest::newRow("another shortcut") << int(tteKey) << true << false << ctrlE << pressCtrlE << true;
    QTest::newRow("F2 no longer") << int(tteKey) << true << false << ctrlE << pressF2 << false;
    QTest::newRow("a code of no key") << int(tteKey) << true << false << 0xFF << pressF2 << false;
}

void TestTreeTextEditing::startsAsTheSettingsSay()
{
    QFETCH(int, mode);
    QFETCH(bool, enabled);
    QFETCH(bool, readOnly);
    QFETCH(int, shortCut);
    QFETCH(QString, action);
    QFETCH(bool, edits);
    TEditHost h;
    TTree *t = h.Tree;
    TTreeTextEditor *e = t->TextEditor();
    e->SetMode(static_cast<TTreeTextEditorMode>(mode));
    e->SetEnabled(enabled);
    e->SetShortCut(shortCut);
    t->SetReadOnly(readOnly);
    QStringList started;
    t->OnStartEditing = [&](TTreeNodeShape *s, bool &) { started << s->SimpleText(); };
    if (action == QLatin1String("press")) {
        h.Click(h.At(QStringLiteral("A")));
    } else {
        const QStringList parts = action.split(QLatin1Char(':'));
        h.Key(parts[1].toInt(), Qt::KeyboardModifiers(parts[2].toInt()));
    }
    QCOMPARE(t->Editing(), edits);
    QCOMPARE(started, edits ? QStringList{"A"} : QStringList{});
    if (edits) {
        QCOMPARE(t->EditedShape(), h.Node(QStringLiteral("A")));
        QVERIFY(h.Edit()->isVisible());
        QCOMPARE(h.Edit()->toPlainText(), QStringLiteral("A"));
        QCOMPARE(h.Edit()->textCursor().selectedText(), QStringLiteral("A"));
    }
}

void TestTreeTextEditing::escapeDiscardsTheShortcutSaves()
{
    TEditHost h;
    TTree *t = h.Tree;
    TTreeNodeShape *a = h.Node(QStringLiteral("A"));
    QStringList stopped;
    t->OnStopEditing = [&](TTreeNodeShape *s) { stopped << s->SimpleText(); };
    TNoticeCount notices(t);
    h.Key(Qt::Key_F2);
    QVERIFY(t->Editing());
    h.Type(QStringLiteral("Gone"));
    h.EditKey(Qt::Key_Escape);
    QVERIFY(!t->Editing());
    QVERIFY(!h.Edit()->isVisible());
    QCOMPARE(a->SimpleText(), QStringLiteral("A"));
    QCOMPARE(notices.Count(tckText), 0);
    QCOMPARE(stopped, QStringList{"A"});
    // Again, two lines, ended by the shortcut in the control.
    QPlainTextEdit *first = h.Edit();
    h.Key(Qt::Key_F2);
    QCOMPARE(h.Edit(), first);
    h.Type(QStringLiteral("First"));
    h.EditKey(Qt::Key_Return);
    h.Type(QStringLiteral("Second"));
    h.EditKey(Qt::Key_F2);
    QVERIFY(!t->Editing());
    QCOMPARE(a->LineCount(), 2);
    QCOMPARE(a->Line(0), QStringLiteral("First"));
    QCOMPARE(a->Line(1), QStringLiteral("Second"));
    QCOMPARE(notices.Count(tckText), 1);
    QCOMPARE(notices.Steps, 1);
    QCOMPARE(stopped.size(), 2);
    // Escape on the diagram itself while editing ends it unsaved too.
    h.Key(Qt::Key_F2);
    h.Type(QStringLiteral("x"));
    t->Interaction().KeyDown(Qt::Key_Escape, Qt::NoModifier);
    QVERIFY(!t->Editing());
    QCOMPARE(a->Line(0), QStringLiteral("First"));
}

void TestTreeTextEditing::aNewSelectionSaves()
{
    TEditHost h;
    TTree *t = h.Tree;
    h.Key(Qt::Key_F2);
    h.Type(QStringLiteral("Kept"));
    h.Click(h.At(QStringLiteral("B")));
    QVERIFY(!t->Editing());
    QCOMPARE(h.Node(QStringLiteral("Kept")), t->Shapes()[0]);
    QCOMPARE(h.SelectedTexts(), QStringList{"B"});
    // A press on the background ends it with saving as well.
    h.Key(Qt::Key_F2);
    h.Type(QStringLiteral("Also"));
    h.Click(QPoint(390, 290));
    QVERIFY(!t->Editing());
    QVERIFY(h.Node(QStringLiteral("Also")));
    // An emptied text leaves the node without lines.
    h.Node(QStringLiteral("Also"))->SetSelected(true);
    h.Key(Qt::Key_F2);
    h.EditKey(Qt::Key_Delete);
    t->StopEditing(true);
    QCOMPARE(t->Selected().First()->LineCount(), 0);
}

void TestTreeTextEditing::startingCanBeRefused()
{
    TEditHost h;
    TTree *t = h.Tree;
    t->OnStartEditing = [](TTreeNodeShape *, bool &allow) { allow = false; };
    h.Key(Qt::Key_F2);
    QVERIFY(!t->Editing());
    QVERIFY(h.Edit() == nullptr || !h.Edit()->isVisible());
    QVERIFY(!t->StartEditing(h.Node(QStringLiteral("B"))));
    QVERIFY(!t->StartEditing(nullptr));
}

void TestTreeTextEditing::theControlTakesTheNodesLook()
{
    TEditHost h;
    TTree *t = h.Tree;
    TTreeNodeShape *a = h.Node(QStringLiteral("A"));
    t->View3DOptions()->SetZoom(200);
    h.Draw();
    QVERIFY(t->StartEditing(a));
    QCOMPARE(h.Edit()->pos(), t->ProjectPoint(TPoint(a->X0(), a->Y0())).ToQPoint());
    QCOMPARE(h.Edit()->size(), QSize(a->Width() * 2, a->Height() * 2));
    t->StopEditing(false);
    // A tiny node still gets a control one can type in.
    t->View3DOptions()->SetZoom(10);
    h.Draw();
    t->TextEditor()->SetUseNodeFont(true);
    a->Font()->SetName(QStringLiteral("Courier New"));
    QVERIFY(t->StartEditing(a));
    QVERIFY(h.Edit()->width() >= 10 && h.Edit()->height() >= 5);
    QCOMPARE(h.Edit()->font().family(), a->EffectiveFont()->ToQFont().family());
    t->StopEditing(false);
    // The node's colour, and no frame for a node without a border.
    t->TextEditor()->SetUseNodeFormat(true);
    a->Border()->SetVisible(false);
    a->Brush()->SetColor(clYellow);
    QVERIFY(t->StartEditing(a));
    QCOMPARE(h.Edit()->frameShape(), QFrame::NoFrame);
    QCOMPARE(h.Edit()->palette().color(QPalette::Base), QColor(Qt::yellow));
}

void TestTreeTextEditing::theEditedNodeGoingAway()
{
    TEditHost h;
    TTree *t = h.Tree;
    int stops = 0;
    t->OnStopEditing = [&](TTreeNodeShape *) { ++stops; };
    h.Key(Qt::Key_F2);
    h.Type(QStringLiteral("never"));
    t->DeleteShape(h.Node(QStringLiteral("A")));
    QVERIFY(!t->Editing());
    QVERIFY(!h.Edit()->isVisible());
    t->StopEditing(true);
    QVERIFY(!h.Node(QStringLiteral("never")));
    // Clearing the diagram while editing, then the diagram going.
    h.Node(QStringLiteral("B"))->SetSelected(true);
    h.Key(Qt::Key_F2);
    QVERIFY(t->Editing());
    t->Clear();
    QVERIFY(!t->Editing());
    QCOMPARE(stops, 0);
}

void TestTreeTextEditing::anyTextSurvivesAFile()
{
    TEditHost h;
    TTree *t = h.Tree;
    const QString first = QStringLiteral("Größe ✓ 日本語");
    const QString second = QStringLiteral("emoji \U0001F600 and ǅ");
    h.Key(Qt::Key_F2);
    h.Edit()->setPlainText(first + QLatin1Char('\n') + second);
    h.EditKey(Qt::Key_F2);
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    SaveDiagram(*t, buffer);
    buffer.seek(0);
    TInputHost other;
    LoadDiagram(*other.Tree, buffer);
    TTreeNodeShape *a = other.Tree->Shapes()[0];
    QCOMPARE(a->LineCount(), 2);
    QCOMPARE(a->Line(0), first);
    QCOMPARE(a->Line(1), second);
}

void TestTreeTextEditing::settingsAreStored()
{
    TEditHost h;
    TTreeTextEditor *e = h.Tree->TextEditor();
    e->SetMode(tteBoth);
    e->SetMouseButton(mbRight);
    e->SetShortCut(TreeInput::kShortCutCtrl | TreeInput::kShortCutShift | 0x45);
    e->SetUseNodeSize(false);
    e->SetUseNodeFormat(true);
    e->SetUseNodeFont(true);
    e->SetEnabled(false);
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    SaveDiagram(*h.Tree, buffer);
    QVERIFY(buffer.data().contains("TextEditor.ShortCut"));
    buffer.seek(0);
    TInputHost other;
    LoadDiagram(*other.Tree, buffer);
    const TTreeTextEditor *r = other.Tree->TextEditor();
    QCOMPARE(r->Mode(), tteBoth);
    QCOMPARE(r->MouseButton(), mbRight);
    QCOMPARE(r->ShortCut(), e->ShortCut());
    QCOMPARE(r->UseNodeSize(), false);
    QCOMPARE(r->UseNodeFormat(), true);
    QCOMPARE(r->UseNodeFont(), true);
    QCOMPARE(r->Enabled(), false);
    // Defaults are not written.
    TInputHost plain;
    QBuffer empty;
    empty.open(QIODevice::ReadWrite);
    SaveDiagram(*plain.Tree, empty);
    QVERIFY(!empty.data().contains("TextEditor"));
}

void TestTreeTextEditing::shortCutsMapBothWays()
{
    using namespace TreeInput;
    int keys = 0;
    for (int flags : {0, kShortCutShift, kShortCutCtrl, kShortCutAlt, kShortCutShift | kShortCutCtrl | kShortCutAlt}) {
        for (int code = 0; code < 256; ++code) {
            const int stored = code | flags;
            const QKeySequence seq = ShortCutToKeySequence(stored);
            bool keypad = false;
            const Qt::Key key = KeyOfVirtualKey(code, &keypad);
            if (key == Qt::Key_unknown) {
                // No key: nothing to press, nothing it matches.
                QVERIFY2(seq.isEmpty(), qPrintable(QString::number(stored, 16)));
                continue;
            }
            ++keys;
            QVERIFY2(!seq.isEmpty(), qPrintable(QString::number(stored, 16)));
            QCOMPARE(KeySequenceToShortCut(seq), stored);
            QCOMPARE(VirtualKeyOf(key, keypad), code);
            Qt::KeyboardModifiers mods;
            if (flags & kShortCutShift)
                mods |= Qt::ShiftModifier;
            if (flags & kShortCutCtrl)
                mods |= Qt::ControlModifier;
            if (flags & kShortCutAlt)
                mods |= Qt::AltModifier;
            if (keypad)
                mods |= Qt::KeypadModifier;
            QVERIFY2(MatchesShortCut(stored, key, mods), qPrintable(QString::number(stored, 16)));
            // Another set of shift keys is another shortcut.
            QVERIFY(!MatchesShortCut(stored, key, mods ^ Qt::ControlModifier));
        }
    }
    // Letters, digits, F1-F24, the keypad, arrows and editing keys at least.
    QVERIFY(keys > 5 * 90);
    QCOMPARE(ShortCutToKeySequence(113), QKeySequence(Qt::Key_F2));
}

void TestTreeTextEditing::cursorCodes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("shape");
    QTest::newRow("default") << int(crDefault) << int(Qt::ArrowCursor);
    QTest::newRow("cross") << int(crCross) << int(Qt::CrossCursor);
    QTest::newRow("hand") << int(crHandPoint) << int(Qt::PointingHandCursor);
    QTest::newRow("size all") << int(crSizeAll) << int(Qt::SizeAllCursor);
    QTest::newRow("north-west") << int(crSizeNWSE) << int(Qt::SizeFDiagCursor);
    QTest::newRow("i-beam") << int(crIBeam) << int(Qt::IBeamCursor);
    QTest::newRow("none") << -1 << int(Qt::BlankCursor);
    QTest::newRow("unknown") << -999 << int(Qt::ArrowCursor);
}

void TestTreeTextEditing::cursorCodes()
{
    QFETCH(int, code);
    QFETCH(int, shape);
    QCOMPARE(int(TreeInput::CursorShapeOf(static_cast<TCursor>(code))), shape);
    // A node's cursor shows while the pointer is over it.
    TEditHost h;
    TTreeNodeShape *b = h.Node(QStringLiteral("B"));
    b->SetCursor(code);
    h.Move(h.At(b), Qt::NoModifier, Qt::NoButton);
    QCOMPARE(int(h.Tree->cursor().shape()), shape);
}

QTEST_MAIN(TestTreeTextEditing)
#include "tst_tree_text_editing.moc"
