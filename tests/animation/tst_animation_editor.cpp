// The animation editor: the timeline's scale, dragging and resizing bars
// with the mouse through the timeline diagram, names of added animations,
// the gallery through scripted prompts, the inspector's rows per kind, the
// buttons following the player, reordering, deleting, the list following
// the timeline, and every edit reaching the diagram as a change notice.

#include "AnimationTestUtil.h"

#include "animation/NodeAnimate.h"
#include "animation/TreeAnimateEditor.h"
#include "animation/TreeAnimationGallery.h"
#include "dialogs/KorInspector.h"
#include "dialogs/KorPrompts.h"
#include "model/TreeChanges.h"
#include "view/Arbolix.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QToolButton>
#include <QtTest>

namespace {

struct TNotices : TTreeChangeListener
{
    QStringList Properties;
    int Steps = 0;
    void TreeStepEnd(TTreeDocument *) override { ++Steps; }
    void TreeChanged(TTreeDocument *, const TTreeChange &change) override
    {
        Properties << change.Element->Name() + QLatin1Char('.') + change.Property;
    }
};

// An editor over a player with a few animations, shown.
struct TEditorHost : TAnimationHost
{
    TManualTimers Timers;
    TNotices Notices;
    TTreeAnimateEditor Editor;
    TEditorHost()
    {
        RegisterViewClasses();
        Tree->AddChangeListener(&Notices);
        Editor.resize(800, 300);
    }
    ~TEditorHost()
    {
        Editor.SetPlayer(nullptr);
        Tree->RemoveChangeListener(&Notices);
    }
    void Show()
    {
        Editor.SetPlayer(Player.get(), Owner.get());
        Editor.show();
        QVERIFY(QTest::qWaitForWindowExposed(&Editor));
        // Moves count once the views have been drawn.
        Editor.Timeline()->grab();
        Editor.List()->grab();
    }
    TTree *Timeline() const { return Editor.Timeline(); }
    // Where a bar is on the timeline: its left edge, right edge or middle,
    // at half its height (client pixels).
    QPoint BarPoint(int index, int where) const
    {
        const TNodeAnimate *bar = Editor.Bar(index);
        const int y = bar->Y0() + bar->Height() / 2;
        const int x = where < 0 ? bar->X0() : where > 0 ? bar->X1() + 1 : bar->X0() + bar->Width() / 2;
        return Timeline()->ProjectPoint(TPoint(x, y)).ToQPoint();
    }
    void Send(QWidget *w, QEvent::Type type, const QPoint &p, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
    // A press, one move by (dx, dy) and a release on the timeline.
    void Drag(const QPoint &from, int dx, int dy = 0)
    {
        const QPoint to = from + QPoint(dx, dy);
        Send(Timeline(), QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        Send(Timeline(), QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        Send(Timeline(), QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }
    void Click(QWidget *w, const QPoint &p)
    {
        Send(w, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
        Send(w, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    }
    QStringList Names() const
    {
        QStringList names;
        for (const TAnimation *a : Player->Animations())
            names << a->Name();
        return names;
    }
};

const TAnimationClass &Kind(const char *className)
{
    return *FindAnimationClass(QLatin1String(className));
}

} // namespace

class TestAnimationEditor : public QObject
{
    Q_OBJECT

private slots:
    void scale_data();
    void scale();
    void barsAreTheTimelinesNodes();
    void draggingABar_data();
    void draggingABar();
    void resizingABar_data();
    void resizingABar();
    void onlyTheSideHandles_data();
    void onlyTheSideHandles();
    void addedAnimationsAreNamedAndSelected();
    void galleryChoosesAKind();
    void inspectorRowsFollowTheKind_data();
    void inspectorRowsFollowTheKind();
    void inspectorEditsAreNotices();
    void buttonsFollowThePlayer();
    void playWritesTheBarsBack();
    void followingTheFrame();
    void listAndTimelineSelectTogether();
    void deletingKeepsTheSelection_data();
    void deletingKeepsTheSelection();
    void reordering_data();
    void reordering();
    void closingGivesTheNotificationsBack();
    void aThousandAnimations();
};

void TestAnimationEditor::scale_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("pixels");
    QTest::newRow("1") << 1 << 36;
    QTest::newRow("2") << 2 << 24;
    QTest::newRow("3") << 3 << 12;
    QTest::newRow("4") << 4 << 6;
    QTest::newRow("5") << 5 << 4;
    QTest::newRow("6") << 6 << 3;
    QTest::newRow("below the range") << 0 << 36;
    QTest::newRow("above the range") << 9 << 3;
}

void TestAnimationEditor::scale()
{
    QFETCH(int, position);
    QFETCH(int, pixels);
    QCOMPARE(TTreeAnimateEditor::PixelsPerFrameFor(position), pixels);
    TEditorHost h;
    h.Add<TCustomAnimation>(nullptr, 2, 5);
    h.Show();
    h.Editor.SetScale(position);
    QCOMPARE(h.Editor.PixelsPerFrame(), pixels);
    const TNodeAnimate *bar = h.Editor.Bar(0);
    QCOMPARE(bar->X0(), 2 * pixels);
    QCOMPARE(bar->Width(), 5 * pixels);
    QCOMPARE(h.Timeline()->Grid()->Step(), pixels);
    QCOMPARE(h.Timeline()->Page()->Width(), 6 * pixels);
    // The ruler labels diagram pixels in frames.
    QCOMPARE(h.Editor.Ruler()->UnitText(10 * pixels), QStringLiteral("10"));
}

void TestAnimationEditor::barsAreTheTimelinesNodes()
{
    TEditorHost h;
    h.Add<TCustomAnimation>(nullptr, 0, 3);
    h.Add<TCustomAnimation>(nullptr, 4, 2)->SetEnabled(false);
    h.Show();
    TTree *t = h.Timeline();
    QVERIFY(t->Designing());
    QCOMPARE(t->Shapes().Count(), 2);
    QCOMPARE(h.Editor.List()->Shapes().Count(), 2);
    for (int i = 0; i < 2; ++i) {
        auto *bar = dynamic_cast<TNodeAnimate *>(t->Shapes()[i]);
        QVERIFY(bar);
        QCOMPARE(bar->Animation(), h.Player->Animations()[i]);
        QCOMPARE(bar->Y0(), i * TTreeAnimateEditor::kRowHeight + 1);
        QCOMPARE(bar->Height(), 9);
        QCOMPARE(bar->Border()->Color(), clRed);
        QCOMPARE(bar->ImageIndex(), tiNone);
        QCOMPARE(h.Editor.List()->Shapes()[i]->Y0(), i * TTreeAnimateEditor::kRowHeight + 1);
        QCOMPARE(h.Editor.List()->Shapes()[i]->SimpleText(), QStringLiteral("Custom"));
    }
    // A disabled animation shows grey.
    QCOMPARE(h.Editor.Bar(0)->Color(), clBlack);
    QCOMPARE(h.Editor.Bar(1)->Color(), clGray);
}

void TestAnimationEditor::draggingABar_data()
{
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("dy");
    QTest::addColumn<int>("start");
    QTest::newRow("5 px: less than a frame") << 5 << 0 << 4;
    QTest::newRow("25 px: two frames") << 25 << 0 << 6;
    QTest::newRow("-30 px: two frames back") << -30 << 0 << 2;
    QTest::newRow("to the first frame") << -48 << 0 << 0;
    QTest::newRow("left of the first frame: cancelled") << -60 << 0 << 4;
    QTest::newRow("down: the row stays") << 12 << 40 << 5;
}

void TestAnimationEditor::draggingABar()
{
    QFETCH(int, dx);
    QFETCH(int, dy);
    QFETCH(int, start);
    TEditorHost h;
    h.Add<TCustomAnimation>(nullptr, 0, 2);
    TAnimation *a = h.Add<TCustomAnimation>(nullptr, 4, 6);
    h.Show();
    QSignalSpy changed(&h.Editor, &TTreeAnimateEditor::Changed);
    h.Drag(h.BarPoint(1, 0), dx, dy);
    QCOMPARE(a->StartFrame(), start);
    QCOMPARE(a->Duration(), 6);
    QCOMPARE(h.Editor.SelectedIndex(), 1);
    QCOMPARE(h.Editor.InspectorItem(2)->Value().toInt(), start);
    // The bar snaps to the frame and keeps its row.
    QCOMPARE(h.Editor.Bar(1)->X0(), start * 12);
    QCOMPARE(h.Editor.Bar(1)->Y0(), TTreeAnimateEditor::kRowHeight + 1);
    QCOMPARE(h.Notices.Properties.size(), start == 4 ? 0 : 1);
    QCOMPARE(h.Notices.Steps, start == 4 ? 0 : 1);
    QCOMPARE(changed.size(), start == 4 ? 0 : 1);
}

void TestAnimationEditor::resizingABar_data()
{
    QTest::addColumn<bool>("left");
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("duration");
    QTest::newRow("right edge, longer") << false << 36 << 4 << 9;
    QTest::newRow("right edge, less than a frame") << false << 7 << 4 << 6;
    QTest::newRow("right edge, at least 1") << false << -120 << 4 << 1;
    QTest::newRow("left edge, shorter") << true << 24 << 6 << 4;
    QTest::newRow("left edge, by its whole length: nothing") << true << 72 << 4 << 6;
    QTest::newRow("left edge, beyond its length: nothing") << true << 84 << 4 << 6;
    QTest::newRow("left edge, longer") << true << -24 << 2 << 8;
    QTest::newRow("left edge, not before the first frame") << true << -96 << 0 << 10;
}

void TestAnimationEditor::resizingABar()
{
    QFETCH(bool, left);
    QFETCH(int, dx);
    QFETCH(int, start);
    QFETCH(int, duration);
    TEditorHost h;
    TAnimation *a = h.Add<TCustomAnimation>(nullptr, 4, 6);
    h.Show();
    // The handles show once the bar is selected.
    h.Editor.SelectIndex(0);
    h.Timeline()->grab();
    const QPoint edge = h.BarPoint(0, left ? -1 : 1);
    h.Drag(edge, dx);
    QCOMPARE(a->StartFrame(), start);
    QCOMPARE(a->Duration(), duration);
    QCOMPARE(h.Editor.Bar(0)->X0(), start * 12);
    QCOMPARE(h.Editor.Bar(0)->Width(), duration * 12);
    QCOMPARE(h.Editor.InspectorItem(2)->Value().toInt(), start);
    QCOMPARE(h.Editor.InspectorItem(3)->Value().toInt(), duration);
    QCOMPARE(h.Notices.Steps, start == 4 && duration == 6 ? 0 : 1);
}

void TestAnimationEditor::onlyTheSideHandles_data()
{
    QTest::addColumn<int>("corner");
    QTest::addColumn<bool>("offered");
    QTest::newRow("left") << int(rcLeft) << true;
    QTest::newRow("right") << int(rcRight) << true;
    QTest::newRow("top") << int(rcTop) << false;
    QTest::newRow("bottom") << int(rcBottom) << false;
    QTest::newRow("left top") << int(rcLeftTop) << false;
    QTest::newRow("right bottom") << int(rcRightBottom) << false;
}

void TestAnimationEditor::onlyTheSideHandles()
{
    QFETCH(int, corner);
    QFETCH(bool, offered);
    TNodeAnimate bar;
    QCOMPARE(bar.Color(), clBlack);
    QCOMPARE(bar.Cursor(), int(crHandPoint));
    bool allow = true;
    bar.AllowResize(static_cast<TTreeShapeHandle>(corner), 0, 0, allow);
    QCOMPARE(allow, offered);
}

void TestAnimationEditor::addedAnimationsAreNamedAndSelected()
{
    TEditorHost h;
    h.Show();
    h.Editor.AddAnimation(Kind("TFontSizeAnimation"));
    h.Editor.AddAnimation(Kind("TNodeZoomAnimation"));
    TAnimation *third = h.Editor.AddAnimation(Kind("TMovementAnimation"));
    QCOMPARE(h.Player->Animations()[0]->Name(), QStringLiteral("FontSizeAnimation1"));
    QCOMPARE(h.Player->Animations()[1]->Name(), QStringLiteral("NodeZoomAnimation2"));
    QCOMPARE(third->Name(), QStringLiteral("MovementAnimation3"));
    QCOMPARE(third->Owner(), h.Owner.get());
    QCOMPARE(h.Editor.SelectedIndex(), 2);
    QVERIFY(h.Editor.ListEntry(2)->Selected());
    QVERIFY(h.Editor.Bar(2)->Selected());
    QCOMPARE(h.Editor.ListEntry(2)->SimpleText(), QStringLiteral("Movement"));
    QCOMPARE(h.Notices.Properties,
             (QStringList{QStringLiteral("TreeAnimate1.Animations"), QStringLiteral("TreeAnimate1.Animations"),
                          QStringLiteral("TreeAnimate1.Animations")}));
    QCOMPARE(h.Notices.Steps, 3);
}

void TestAnimationEditor::galleryChoosesAKind()
{
    TScriptedPromptsGuard prompts;
    QStringList offered;
    bool okBefore = true;
    prompts->OnExec = [&](QDialog &dialog) {
        auto &gallery = dynamic_cast<TTreeAnimationGallery &>(dialog);
        for (int i = 0; i < gallery.List()->count(); ++i)
            offered << gallery.List()->item(i)->text();
        okBefore = gallery.Buttons()->button(QDialogButtonBox::Ok)->isEnabled();
        gallery.SelectCaption(QStringLiteral("Text Color"));
        // The preview plays the kind on its own node.
        if (gallery.PreviewPlayer()->State() != asPlaying || gallery.Preview()->Shapes().Count() != 1)
            return int(QDialog::Rejected);
        gallery.Buttons()->button(QDialogButtonBox::Ok)->click();
        return gallery.result();
    };
    TEditorHost h;
    h.Show();
    QTest::mouseClick(h.Editor.AddButton(), Qt::LeftButton);
    QCOMPARE(prompts->CallsOf(QStringLiteral("Exec")).size(), size_t(1));
    QVERIFY(!okBefore);
    QVERIFY(!offered.contains(QStringLiteral("Custom")));
    QCOMPARE(offered.size(), 13);
    QStringList sorted = offered;
    std::sort(sorted.begin(), sorted.end());
    QCOMPARE(offered, sorted);
    QCOMPARE(h.Player->Animations().Count(), 1);
    QCOMPARE(h.Player->Animations()[0]->ClassName(), QStringLiteral("TTextColorAnimation"));
    QCOMPARE(h.Player->Animations()[0]->Name(), QStringLiteral("TextColorAnimation1"));
}

void TestAnimationEditor::inspectorRowsFollowTheKind_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QList<bool>>("visible"); // Node, colours, values
    QTest::newRow("movement") << "TMovementAnimation" << QList<bool>{true, false, true};
    QTest::newRow("node colour") << "TNodeColorAnimation" << QList<bool>{true, true, false};
    QTest::newRow("tree colour") << "TTreeColorAnimation" << QList<bool>{false, true, false};
    QTest::newRow("custom") << "TCustomAnimation" << QList<bool>{false, false, false};
    QTest::newRow("add text") << "TAddTextAnimation" << QList<bool>{true, false, false};
}

void TestAnimationEditor::inspectorRowsFollowTheKind()
{
    QFETCH(QString, kind);
    QFETCH(QList<bool>, visible);
    TEditorHost h;
    h.Show();
    QVERIFY(!h.Editor.Inspector()->isEnabled());
    QVERIFY(!h.Editor.DeleteButton()->isEnabled());
    h.Editor.AddAnimation(*FindAnimationClass(kind));
    QVERIFY(h.Editor.Inspector()->isEnabled());
    QCOMPARE(h.Editor.InspectorItem(0)->Visible(), visible[0]);
    QCOMPARE(h.Editor.InspectorItem(5)->Visible(), visible[1]);
    QCOMPARE(h.Editor.InspectorItem(6)->Visible(), visible[1]);
    QCOMPARE(h.Editor.InspectorItem(7)->Visible(), visible[2]);
    QCOMPARE(h.Editor.InspectorItem(8)->Visible(), visible[2]);
    for (int i = 1; i <= 4; ++i)
        QVERIFY(h.Editor.InspectorItem(i)->Visible());
}

void TestAnimationEditor::inspectorEditsAreNotices()
{
    TEditorHost h;
    TTreeNodeShape *node = h.Node(45, 10, QString());
    node->SetName(QStringLiteral("Box"));
    h.Show();
    auto *move = static_cast<TMovementAnimation *>(h.Editor.AddAnimation(Kind("TMovementAnimation")));
    move->SetEndValue(300);
    h.Notices.Properties.clear();
    TInspectorItem *nodeRow = h.Editor.InspectorItem(0);
    QStringList offered;
    nodeRow->OnGetItems(nodeRow, [&](const QString &text, TPersistent *) { offered << text; });
    QCOMPARE(offered, QStringList{QStringLiteral("Box")});
    // Choosing the first node takes its values where none are set.
    nodeRow->SetData(node);
    nodeRow->OnChange(nodeRow);
    QCOMPARE(move->Node(), node);
    QCOMPARE(move->StartValue(), 45);
    QCOMPARE(move->EndValue(), 300);
    TInspectorItem *start = h.Editor.InspectorItem(2);
    start->SetValue(7);
    start->OnChange(start);
    QCOMPARE(move->StartFrame(), 7);
    // The bar follows the inspector.
    QCOMPARE(h.Editor.Bar(0)->X0(), 7 * 12);
    TInspectorItem *enabled = h.Editor.InspectorItem(1);
    enabled->SetValue(false);
    enabled->OnChange(enabled);
    QVERIFY(!move->Enabled());
    QCOMPARE(h.Editor.Bar(0)->Color(), clGray);
    h.Editor.SpeedBar()->setValue(20);
    QCOMPARE(h.Player->Speed(), 20);
    h.Editor.LoopBox()->click();
    QVERIFY(h.Player->Loop());
    QCOMPARE(h.Notices.Properties,
             (QStringList{QStringLiteral("MovementAnimation1.Node"), QStringLiteral("MovementAnimation1.StartFrame"),
                          QStringLiteral("MovementAnimation1.Enabled"), QStringLiteral("TreeAnimate1.Speed"),
                          QStringLiteral("TreeAnimate1.Loop")}));
}

void TestAnimationEditor::buttonsFollowThePlayer()
{
    TEditorHost h;
    h.Add<TCustomAnimation>(nullptr, 0, 5);
    h.Show();
    TTreeAnimateEditor &e = h.Editor;
    QVERIFY(e.PlayButton()->isEnabled());
    QVERIFY(!e.PauseButton()->isEnabled() && !e.StopButton()->isEnabled() && !e.NextFrameButton()->isEnabled());
    QTest::mouseClick(e.PlayButton(), Qt::LeftButton);
    QCOMPARE(h.Player->State(), asPlaying);
    QVERIFY(!e.PlayButton()->isEnabled());
    QVERIFY(e.PauseButton()->isEnabled() && !e.PauseButton()->isChecked() && e.StopButton()->isEnabled());
    QTest::mouseClick(e.PauseButton(), Qt::LeftButton);
    QCOMPARE(h.Player->State(), asPaused);
    QVERIFY(e.PauseButton()->isChecked() && e.NextFrameButton()->isEnabled());
    QTest::mouseClick(e.NextFrameButton(), Qt::LeftButton);
    QCOMPARE(h.Player->Frame(), 0);
    QTest::mouseClick(e.PauseButton(), Qt::LeftButton);
    QCOMPARE(h.Player->State(), asPlaying);
    QVERIFY(!e.NextFrameButton()->isEnabled());
    // Playing to the end stops by itself, and the buttons know.
    RunTicks(*h.Player, 100);
    QCOMPARE(h.Player->State(), asStopped);
    QVERIFY(e.PlayButton()->isEnabled() && !e.StopButton()->isEnabled() && !e.PauseButton()->isChecked());
}

void TestAnimationEditor::playWritesTheBarsBack()
{
    TEditorHost h;
    TAnimation *a = h.Add<TCustomAnimation>(nullptr, 1, 3);
    h.Show();
    // A bar placed otherwise (not by a drag) counts when playing starts.
    h.Editor.Bar(0)->SetX0(5 * 12 + 7);
    h.Editor.Bar(0)->SetWidth(4 * 12 + 11);
    h.Editor.Play();
    QCOMPARE(a->StartFrame(), 5);
    QCOMPARE(a->Duration(), 4);
    QCOMPARE(h.Player->State(), asPlaying);
    QCOMPARE(h.Notices.Steps, 2);
}

void TestAnimationEditor::followingTheFrame()
{
    TEditorHost h;
    h.Add<TCustomAnimation>(nullptr, 0, 400);
    h.Show();
    TView3DOptions *view = h.Timeline()->View3DOptions();
    QCOMPARE(view->HorizOffset(), 0);
    h.Player->Play();
    const int width = h.Timeline()->ScrollViewSize(true);
    // Frames in view leave the view where it is; the first beyond its
    // width scrolls it on.
    const int inView = width / 12;
    for (int i = 0; i <= inView; ++i)
        h.Tick();
    QCOMPARE(view->HorizOffset(), 0);
    h.Tick();
    h.Tick();
    QVERIFY(view->HorizOffset() <= -20);
    QVERIFY(h.Editor.FrameX(h.Player->Frame()) <= width);
    h.Player->Stop();
}

void TestAnimationEditor::listAndTimelineSelectTogether()
{
    TEditorHost h;
    for (int i = 0; i < 4; ++i)
        h.Add<TCustomAnimation>(nullptr, i * 2, 3);
    h.Show();
    h.Click(h.Timeline(), h.BarPoint(2, 0));
    QCOMPARE(h.Editor.SelectedIndex(), 2);
    QVERIFY(h.Editor.ListEntry(2)->Selected());
    QCOMPARE(h.Editor.List()->Selected().Count(), 1);
    // A press on a name selects its bar.
    TTree *list = h.Editor.List();
    TTreeNodeShape *entry = h.Editor.ListEntry(1);
    h.Click(list, list->ProjectPoint(RectCenter(entry->DrawRect())).ToQPoint());
    QCOMPARE(h.Editor.SelectedIndex(), 1);
    QVERIFY(h.Editor.Bar(1)->Selected());
    QCOMPARE(h.Timeline()->Selected().Count(), 1);
    QCOMPARE(h.Editor.InspectorItem(2)->Value().toInt(), 2);
    // A click beside every bar selects nothing.
    h.Click(h.Timeline(), QPoint(5, 30 * TTreeAnimateEditor::kRowHeight));
    QCOMPARE(h.Editor.SelectedIndex(), -1);
    QCOMPARE(h.Editor.List()->Selected().Count(), 0);
    QVERIFY(!h.Editor.DeleteButton()->isEnabled());
    QVERIFY(!h.Editor.Inspector()->isEnabled());
}

void TestAnimationEditor::deletingKeepsTheSelection_data()
{
    QTest::addColumn<bool>("byKey"); // the timeline's own delete, else the button
    QTest::newRow("button") << false;
    QTest::newRow("the timeline's Delete key") << true;
}

void TestAnimationEditor::deletingKeepsTheSelection()
{
    QFETCH(bool, byKey);
    TEditorHost h;
    h.Add<TCustomAnimation>();
    h.Add<TCustomAnimation>();
    h.Show();
    auto remove = [&] {
        if (byKey)
            QTest::keyClick(h.Timeline(), Qt::Key_Delete);
        else
            QTest::mouseClick(h.Editor.DeleteButton(), Qt::LeftButton);
    };
    h.Editor.SelectIndex(1);
    remove();
    QCOMPARE(h.Player->Animations().Count(), 1);
    QCOMPARE(h.Timeline()->Shapes().Count(), 1);
    QCOMPARE(h.Editor.List()->Shapes().Count(), 1);
    QCOMPARE(h.Editor.SelectedIndex(), 0);
    QVERIFY(h.Editor.DeleteButton()->isEnabled());
    remove();
    QCOMPARE(h.Player->Animations().Count(), 0);
    QCOMPARE(h.Timeline()->Shapes().Count(), 0);
    QCOMPARE(h.Editor.SelectedIndex(), -1);
    QVERIFY(!h.Editor.DeleteButton()->isEnabled());
    QVERIFY(!h.Owner->FindComponent(QStringLiteral("CustomAnimation1")));
    QCOMPARE(h.Notices.Properties.size(), 2);
}

void TestAnimationEditor::reordering_data()
{
    QTest::addColumn<int>("selected");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QStringList>("order");
    QTest::addColumn<int>("now");
    const QString a = QStringLiteral("CustomAnimation1"), b = QStringLiteral("FontSizeAnimation2"),
                  c = QStringLiteral("CustomAnimation3");
    QTest::newRow("middle up") << 1 << true << QStringList{b, a, c} << 0;
    QTest::newRow("middle down") << 1 << false << QStringList{a, c, b} << 2;
    QTest::newRow("first up: disabled") << 0 << true << QStringList{a, b, c} << 0;
    QTest::newRow("last down: disabled") << 2 << false << QStringList{a, b, c} << 2;
    QTest::newRow("last up") << 2 << true << QStringList{a, c, b} << 1;
}

void TestAnimationEditor::reordering()
{
    QFETCH(int, selected);
    QFETCH(bool, up);
    QFETCH(QStringList, order);
    QFETCH(int, now);
    TEditorHost h;
    h.Add<TCustomAnimation>(nullptr, 0, 2);
    h.Add<TFontSizeAnimation>(nullptr, 3, 4);
    h.Add<TCustomAnimation>(nullptr, 1, 5);
    h.Show();
    h.Editor.SelectIndex(selected);
    QToolButton *button = up ? h.Editor.MoveUpButton() : h.Editor.MoveDownButton();
    const bool moves = order != h.Names();
    QCOMPARE(button->isEnabled(), moves);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(h.Names(), order);
    QCOMPARE(h.Editor.SelectedIndex(), now);
    // The rows follow the new order.
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(h.Editor.Bar(i)->Animation(), h.Player->Animations()[i]);
        QCOMPARE(h.Editor.ListEntry(i)->SimpleText(), h.Player->Animations()[i]->Caption());
    }
    QVERIFY(h.Editor.Bar(now)->Selected());
    QCOMPARE(h.Notices.Properties.size(), moves ? 1 : 0);
}

void TestAnimationEditor::closingGivesTheNotificationsBack()
{
    TManualTimers timers;
    TAnimationHost h;
    h.Add<TCustomAnimation>();
    int stops = 0, frames = 0;
    h.Player->OnStop = [&](TObject *) { ++stops; };
    h.Player->OnFrame = [&](TObject *) { ++frames; };
    {
        TTreeAnimateEditor editor;
        editor.SetPlayer(h.Player.get());
        h.Player->Play();
        h.Tick();
        // The window's own handlers still hear the player.
        QCOMPARE(frames, 1);
    }
    // Closing stopped the player, and the handlers are the window's again.
    QCOMPARE(h.Player->State(), asStopped);
    QCOMPARE(stops, 1);
    h.Player->Play();
    h.Tick();
    h.Player->Stop();
    QCOMPARE(frames, 2);
    QCOMPARE(stops, 2);
}

void TestAnimationEditor::aThousandAnimations()
{
    TEditorHost h;
    TTreeNodeShape *node = h.Node(0, 0);
    for (int i = 0; i < 1000; ++i)
        h.Add<TTransparencyAnimation>(node, i, 5);
    h.Show();
    QCOMPARE(h.Timeline()->Shapes().Count(), 1000);
    QCOMPARE(h.Editor.List()->Shapes().Count(), 1000);
    QCOMPARE(h.Editor.Bar(999)->Y0(), 999 * TTreeAnimateEditor::kRowHeight + 1);
    // Scrolling the timeline scrolls the names with it.
    h.Timeline()->View3DOptions()->SetVertOffset(-5000);
    QCOMPARE(h.Editor.List()->View3DOptions()->VertOffset(), -5000);
    h.Editor.List()->View3DOptions()->SetVertOffset(-120);
    QCOMPARE(h.Timeline()->View3DOptions()->VertOffset(), -120);
    // The last bar, brought into view, is picked where it is.
    h.Timeline()->View3DOptions()->SetVertOffset(-(999 * TTreeAnimateEditor::kRowHeight - 100));
    h.Timeline()->View3DOptions()->SetHorizOffset(-(999 * 12 - 100));
    h.Timeline()->grab();
    h.Click(h.Timeline(), h.BarPoint(999, 0));
    QCOMPARE(h.Editor.SelectedIndex(), 999);
}

QTEST_MAIN(TestAnimationEditor)
#include "tst_animation_editor.moc"
