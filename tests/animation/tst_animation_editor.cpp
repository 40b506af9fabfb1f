// The animation editor: the timeline's scale, dragging and resizing bars
// with the mouse, names of added animations, the gallery through scripted
// prompts, the inspector's rows per kind, the buttons following the
// player, and every edit reaching the diagram as a change notice.

#include "AnimationTestUtil.h"

#include "animation/TreeAnimateEditor.h"
#include "animation/TreeAnimationGallery.h"
#include "dialogs/KorInspector.h"
#include "dialogs/KorPrompts.h"
#include "model/TreeChanges.h"
#include "view/Arbolix.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
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
        Tree->AddChangeListener(&Notices);
        Editor.resize(700, 300);
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
        Editor.Timeline()->UpdateSize();
    }
    // A press, a move and a release on the timeline.
    void Drag(const QPoint &from, int dx)
    {
        QWidget *t = Editor.Timeline();
        QTest::mousePress(t, Qt::LeftButton, Qt::NoModifier, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(from + QPoint(dx, 0)), t->mapToGlobal(QPointF(from + QPoint(dx, 0))),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(t, &move);
        QTest::mouseRelease(t, Qt::LeftButton, Qt::NoModifier, from + QPoint(dx, 0));
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
    void draggingABar_data();
    void draggingABar();
    void resizingABar_data();
    void resizingABar();
    void addedAnimationsAreNamedAndSelected();
    void galleryChoosesAKind();
    void inspectorRowsFollowTheKind_data();
    void inspectorRowsFollowTheKind();
    void inspectorEditsAreNotices();
    void buttonsFollowThePlayer();
    void listAndTimelineSelectTogether();
    void deletingKeepsTheSelection();
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
    QCOMPARE(h.Editor.Timeline()->BarRect(0), QRect(2 * pixels, TTreeAnimateEditor::kRulerHeight + 1, 5 * pixels, 9));
}

void TestAnimationEditor::draggingABar_data()
{
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("start");
    QTest::newRow("5 px: less than a frame") << 5 << 4;
    QTest::newRow("25 px: two frames") << 25 << 6;
    QTest::newRow("-30 px: two frames back") << -30 << 2;
    QTest::newRow("left of the first frame: cancelled") << -60 << 4;
}

void TestAnimationEditor::draggingABar()
{
    QFETCH(int, dx);
    QFETCH(int, start);
    TEditorHost h;
    TAnimation *a = h.Add<TCustomAnimation>(nullptr, 4, 6);
    h.Show();
    const QRect bar = h.Editor.Timeline()->BarRect(0);
    h.Drag(bar.center(), dx);
    QCOMPARE(a->StartFrame(), start);
    QCOMPARE(a->Duration(), 6);
    QCOMPARE(h.Editor.SelectedIndex(), 0);
    QCOMPARE(h.Editor.InspectorItem(2)->Value().toInt(), start);
    QCOMPARE(h.Notices.Properties.size(), start == 4 ? 0 : 1);
}

void TestAnimationEditor::resizingABar_data()
{
    QTest::addColumn<bool>("left");
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("duration");
    QTest::newRow("right edge, longer") << false << 36 << 4 << 9;
    QTest::newRow("right edge, at least 1") << false << -120 << 4 << 1;
    QTest::newRow("left edge, shorter") << true << 24 << 6 << 4;
    QTest::newRow("left edge, beyond its length: nothing") << true << 84 << 4 << 6;
    QTest::newRow("left edge, longer") << true << -24 << 2 << 8;
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
    const QRect bar = h.Editor.Timeline()->BarRect(0);
    const QPoint edge(left ? bar.left() : bar.right(), bar.center().y());
    QCOMPARE(h.Editor.Timeline()->HandleAt(edge), left ? 2 : 3);
    h.Drag(edge, dx);
    QCOMPARE(a->StartFrame(), start);
    QCOMPARE(a->Duration(), duration);
    QCOMPARE(h.Editor.Timeline()->BarRect(0).width(), duration * 12);
}

void TestAnimationEditor::addedAnimationsAreNamedAndSelected()
{
    TEditorHost h;
    h.Show();
    h.Editor.AddAnimation(Kind("TFontSizeAnimation"));
    h.Editor.AddAnimation(Kind("TNodeZoomAnimation"));
    TAnimation *third = h.Editor.AddAnimation(Kind("TMovementAnimation"));
    QCOMPARE(h.Player->Animations()[0]->Name(), QStringLiteral("FontSizeAnimation1"));
    QCOMPARE(third->Name(), QStringLiteral("MovementAnimation3"));
    QCOMPARE(third->Owner(), h.Owner.get());
    QCOMPARE(h.Editor.SelectedIndex(), 2);
    QCOMPARE(h.Editor.List()->currentIndex().row(), 2);
    QCOMPARE(h.Editor.List()->model()->data(h.Editor.List()->model()->index(2, 0)).toString(),
             QStringLiteral("Movement"));
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
    TInspectorItem *enabled = h.Editor.InspectorItem(1);
    enabled->SetValue(false);
    enabled->OnChange(enabled);
    QVERIFY(!move->Enabled());
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

void TestAnimationEditor::listAndTimelineSelectTogether()
{
    TEditorHost h;
    for (int i = 0; i < 4; ++i)
        h.Add<TCustomAnimation>(nullptr, i * 2, 3);
    h.Show();
    const QRect third = h.Editor.Timeline()->BarRect(2);
    QTest::mouseClick(h.Editor.Timeline(), Qt::LeftButton, Qt::NoModifier, third.center());
    QCOMPARE(h.Editor.SelectedIndex(), 2);
    QCOMPARE(h.Editor.List()->currentIndex().row(), 2);
    h.Editor.List()->setCurrentIndex(h.Editor.List()->model()->index(1, 0));
    QCOMPARE(h.Editor.SelectedIndex(), 1);
    QCOMPARE(h.Editor.InspectorItem(2)->Value().toInt(), 2);
    // A click beside every bar selects nothing.
    QTest::mouseClick(h.Editor.Timeline(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(5, TTreeAnimateEditor::kRulerHeight + 30 * TTreeAnimateEditor::kRowHeight));
    QCOMPARE(h.Editor.SelectedIndex(), -1);
    QVERIFY(!h.Editor.DeleteButton()->isEnabled());
}

void TestAnimationEditor::deletingKeepsTheSelection()
{
    TEditorHost h;
    h.Add<TCustomAnimation>();
    h.Add<TCustomAnimation>();
    h.Show();
    h.Editor.SelectIndex(1);
    QTest::mouseClick(h.Editor.DeleteButton(), Qt::LeftButton);
    QCOMPARE(h.Player->Animations().Count(), 1);
    QCOMPARE(h.Editor.SelectedIndex(), 0);
    QVERIFY(h.Editor.DeleteButton()->isEnabled());
    QTest::mouseClick(h.Editor.DeleteButton(), Qt::LeftButton);
    QCOMPARE(h.Player->Animations().Count(), 0);
    QCOMPARE(h.Editor.SelectedIndex(), -1);
    QVERIFY(!h.Editor.DeleteButton()->isEnabled());
    QVERIFY(!h.Owner->FindComponent(QStringLiteral("CustomAnimation1")));
    QCOMPARE(h.Notices.Properties.size(), 2);
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
    QCOMPARE(h.Editor.List()->model()->rowCount(), 1000);
    QCOMPARE(h.Editor.Timeline()->height(), TTreeAnimateEditor::kRulerHeight + 1000 * TTreeAnimateEditor::kRowHeight + 4);
    // The last bar is reached by scrolling, and picked from where it is.
    h.Editor.SelectIndex(999);
    const QRect last = h.Editor.Timeline()->BarRect(999);
    QVERIFY(h.Editor.TimelineArea()->verticalScrollBar()->value() > 0);
    QCOMPARE(h.Editor.Timeline()->RowAt(last.center()), 999);
    QCOMPARE(h.Editor.Timeline()->HandleAt(last.center()), 1);
}

QTEST_MAIN(TestAnimationEditor)
#include "tst_animation_editor.moc"
