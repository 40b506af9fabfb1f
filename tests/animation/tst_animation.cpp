// The player and every kind of animation, frame by frame on a manual
// timer: intervals and speeds, the values each kind writes per frame, the
// state machine and its notifications, loops, nodes freed while playing,
// and that nothing a file holds changes by playing.

#include "AnimationTestUtil.h"

#include "model/TreeChanges.h"

#include <QtTest>

namespace {

// Counts the player's notifications.
struct TEventLog
{
    int Play = 0, Stop = 0, Pause = 0, Continue = 0, Frame = 0, Clear = 0;
    explicit TEventLog(TTreeAnimate &p)
    {
        p.OnPlay = [this](TObject *) { ++Play; };
        p.OnStop = [this](TObject *) { ++Stop; };
        p.OnPause = [this](TObject *) { ++Pause; };
        p.OnContinue = [this](TObject *) { ++Continue; };
        p.OnFrame = [this](TObject *) { ++Frame; };
        p.OnClear = [this](TObject *) { ++Clear; };
    }
};

// Counts the change notices a diagram sends.
struct TNoticeCounter : TTreeChangeListener
{
    int Count = 0;
    void TreeChanged(TTreeDocument *, const TTreeChange &) override { ++Count; }
};

// An integer kind by name, with the value it animates.
TIntegerAnimation *AddInteger(TAnimationHost &h, const QString &kind, TTreeNodeShape *node)
{
    if (kind == QLatin1String("MovementX"))
        return h.Add<TMovementAnimation>(node);
    if (kind == QLatin1String("MovementY")) {
        auto *m = h.Add<TMovementAnimation>(node);
        m->SetDirection(mdVertical);
        return m;
    }
    if (kind == QLatin1String("Transparency"))
        return h.Add<TTransparencyAnimation>(node);
    if (kind == QLatin1String("TextTransp"))
        return h.Add<TTextTranspAnimation>(node);
    if (kind == QLatin1String("TextAngle"))
        return h.Add<TTextAngleAnimation>(node);
    return h.Add<TFontSizeAnimation>(node);
}

// One animation of every kind, each on its own node, over a few frames.
void AddEveryKind(TAnimationHost &h)
{
    int y = 0;
    auto next = [&] {
        TTreeNodeShape *n = h.Node(10, y += 40, QStringLiteral("Line one"));
        n->Text()->Add(QStringLiteral("Line two"));
        return n;
    };
    h.Add<TFontSizeAnimation>(next())->SetEndValue(30);
    auto *move = h.Add<TMovementAnimation>(next());
    move->SetStartValue(0);
    move->SetEndValue(300);
    h.Add<TTransparencyAnimation>(next())->SetEndValue(80);
    h.Add<TTextTranspAnimation>(next())->SetEndValue(60);
    h.Add<TVisibleAnimation>(next())->SetNewValue(false);
    for (int k = ncColor; k <= ncGradientMiddle; ++k) {
        auto *c = h.Add<TNodeColorAnimation>(next());
        c->SetNodeColor(static_cast<TNodeColorKind>(k));
        c->SetStartColor(clBlue);
        c->SetEndColor(clRed);
    }
    for (int k = tcColor; k <= tcGradientMiddle; ++k) {
        auto *c = h.Add<TTreeColorAnimation>();
        c->SetTreeColor(static_cast<TTreeColorKind>(k));
        c->SetStartColor(clBlack);
        c->SetEndColor(clLime);
    }
    h.Add<TCustomAnimation>(nullptr, 3, 4);
    h.Add<TAddTextAnimation>(next());
    h.Add<TMoveTextAnimation>(next());
    h.Add<TTextAngleAnimation>(next())->SetEndValue(90);
    h.Add<TTextFlashAnimation>(next());
    auto *color = h.Add<TTextColorAnimation>(next());
    color->SetStartColor(clWhite);
    color->SetEndColor(clNavy);
    h.Add<TNodeZoomAnimation>(next(), 2, 6);
}

} // namespace

class TestAnimation : public QObject
{
    Q_OBJECT

private slots:
    void interval_data();
    void interval();
    void speedStaysInRange_data();
    void speedStaysInRange();
    void timerFollowsTheState();
    void integerKindsStepToTheirEnd_data();
    void integerKindsStepToTheirEnd();
    void emptyPlayerDoesNothing();
    void loopingPlayerRestoresEachPass();
    void textFlashGrowsAndShrinks();
    void captions_data();
    void captions();
    void playingChangesNothingSaved_data();
    void playingChangesNothingSaved();
    void fileRoundTripsByteIdentically();
    void fileWithoutAnimation();
    void durationIsAtLeastOneFrame();
    void addTextKeepsEveryLine();
    void moveTextRestoresClipping();
    void colorFadeEndsOnItsLastColor_data();
    void colorFadeEndsOnItsLastColor();
    void namesTakeAFreeNumber();
    void stopRestoresOnlyWhatWasSaved();
    void pauseContinueAndStep();
    void nodeFreedWhilePlaying();
    void visibleWritesItsValue();
    void playAgainFromAPause();
    void freeingAPlayingPlayerPutsValuesBack();
    void takeValuesFromNode();
};

void TestAnimation::interval_data()
{
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("ms");
    QTest::newRow("50") << 50 << 4;
    QTest::newRow("15") << 15 << 44;
    QTest::newRow("10") << 10 << 100;
    QTest::newRow("1") << 1 << 10000;
    QTest::newRow("100") << 100 << 1;
    QTest::newRow("101 computes to 0") << 101 << 0;
    QTest::newRow("0 plays as the slowest") << 0 << 10000;
}

void TestAnimation::interval()
{
    QFETCH(int, speed);
    QFETCH(int, ms);
    QCOMPARE(TTreeAnimate::IntervalFor(speed), ms);
}

void TestAnimation::speedStaysInRange_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("kept");
    QTest::newRow("in range") << 37 << 37;
    QTest::newRow("above") << 101 << 100;
    QTest::newRow("zero") << 0 << 1;
    QTest::newRow("negative") << -8 << 1;
}

void TestAnimation::speedStaysInRange()
{
    QFETCH(int, set);
    QFETCH(int, kept);
    TManualTimers timers;
    TAnimationHost h;
    h.Player->SetSpeed(set);
    QCOMPARE(h.Player->Speed(), kept);
    QVERIFY(h.Player->Interval() > 0);
}

void TestAnimation::timerFollowsTheState()
{
    TManualTimers timers;
    TAnimationHost h;
    h.Add<TCustomAnimation>();
    QVERIFY(!h.Player->Timer());
    h.Player->Play();
    QVERIFY(h.Player->Timer());
    QCOMPARE(h.Player->Timer()->Interval(), 4);
    QVERIFY(h.Player->Timer()->Enabled());
    h.Player->SetSpeed(10);
    QCOMPARE(h.Player->Timer()->Interval(), 100);
    h.Player->Pause();
    QVERIFY(!h.Player->Timer()->Enabled());
    h.Player->Continue();
    QVERIFY(h.Player->Timer()->Enabled());
    h.Player->Stop();
    QVERIFY(!h.Player->Timer());
    QCOMPARE(h.Player->Frame(), -1);
}

void TestAnimation::integerKindsStepToTheirEnd_data()
{
    QTest::addColumn<QString>("kind");
    for (const char *k : {"MovementX", "MovementY", "Transparency", "TextTransp", "TextAngle", "FontSize"})
        QTest::newRow(k) << QString::fromLatin1(k);
}

void TestAnimation::integerKindsStepToTheirEnd()
{
    QFETCH(QString, kind);
    TManualTimers timers;
    TAnimationHost h;
    TTreeNodeShape *node = h.Node(30, 40);
    TIntegerAnimation *a = AddInteger(h, kind, node);
    a->SetStartValue(10);
    a->SetEndValue(20);
    const int before = a->ReadValue();
    QList<int> values;
    QList<int> states;
    h.Player->OnFrame = [&](TObject *) {
        values << a->ReadValue();
        states << a->PlayState();
    };
    h.Player->Play();
    QCOMPARE(h.Player->LastFrame(), 9);
    QCOMPARE(RunTicks(*h.Player, 100), 11);
    QCOMPARE(values, (QList<int>{10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}));
    // Playing until frame 9, stopped by itself on reaching 20 at frame 10.
    QCOMPARE(states.at(9), int(apsPlaying));
    QCOMPARE(states.at(10), int(apsStopped));
    QCOMPARE(h.Player->State(), asStopped);
    QCOMPARE(a->ReadValue(), before);
}

void TestAnimation::emptyPlayerDoesNothing()
{
    TManualTimers timers;
    TAnimationHost h;
    TEventLog log(*h.Player);
    h.Player->Play();
    QCOMPARE(h.Player->State(), asStopped);
    QCOMPARE(log.Play, 0);
    QVERIFY(!h.Player->Timer()->Enabled());
    h.Player->Step();
    QCOMPARE(log.Frame, 0);
}

void TestAnimation::loopingPlayerRestoresEachPass()
{
    TManualTimers timers;
    TAnimationHost h;
    TTreeNodeShape *node = h.Node(5, 5);
    auto *a = h.Add<TMovementAnimation>(node, 0, 3);
    a->SetStartValue(100);
    a->SetEndValue(130);
    h.Player->SetLoop(true);
    TEventLog log(*h.Player);
    QList<int> atStop;
    h.Player->OnStop = [&](TObject *) {
        ++log.Stop;
        atStop << node->X0();
    };
    h.Player->Play();
    // Three passes of frames 0 ... 3 each.
    QCOMPARE(RunTicks(*h.Player, 12), 12);
    QCOMPARE(log.Stop, 3);
    QCOMPARE(log.Play, 4);
    QCOMPARE(atStop, (QList<int>{5, 5, 5}));
    QCOMPARE(h.Player->State(), asPlaying);
    h.Tick();
    QCOMPARE(node->X0(), 100);
    h.Player->Stop();
    QCOMPARE(node->X0(), 5);
}

void TestAnimation::textFlashGrowsAndShrinks()
{
    TManualTimers timers;
    TAnimationHost h;
    TTreeNodeShape *node = h.Node(0, 0);
    node->Font()->SetSize(10);
    h.Add<TTextFlashAnimation>(node);
    QList<int> sizes;
    h.Player->OnFrame = [&](TObject *) { sizes << node->Font()->Size(); };
    h.Player->Play();
    RunTicks(*h.Player, 100);
    QCOMPARE(sizes.size(), 11);
    QCOMPARE(sizes.at(0), 10);
    QCOMPARE(sizes.at(5), 20);
    QCOMPARE(*std::max_element(sizes.begin(), sizes.end()), 20);
    QCOMPARE(sizes.at(10), 10);
    QCOMPARE(node->Font()->Size(), 10);
}

void TestAnimation::captions_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("caption");
    QTest::newRow("zoom") << "TNodeZoomAnimation" << "Node Zoom";
    QTest::newRow("transp") << "TTextTranspAnimation" << "Text Transp";
    QTest::newRow("font") << "TFontSizeAnimation" << "Font Size";
    QTest::newRow("custom") << "TCustomAnimation" << "Custom";
    QTest::newRow("any case") << "TWaveANIMATION" << "Wave";
    QTest::newRow("no T") << "Pulse2Animation" << "Pulse 2";
}

void TestAnimation::captions()
{
    QFETCH(QString, className);
    QFETCH(QString, caption);
    QCOMPARE(TAnimation::CaptionOf(className), caption);
}

void TestAnimation::playingChangesNothingSaved_data()
{
    QTest::addColumn<int>("frames");
    QTest::newRow("first frame") << 1;
    QTest::newRow("mid-way") << 4;
    QTest::newRow("near the end") << 9;
}

void TestAnimation::playingChangesNothingSaved()
{
    QFETCH(int, frames);
    TManualTimers timers;
    TAnimationHost h;
    AddEveryKind(h);
    TNoticeCounter notices;
    h.Tree->AddChangeListener(&notices);
    const QByteArray before = h.Save();
    h.Player->Play();
    QCOMPARE(RunTicks(*h.Player, frames), frames);
    QCOMPARE(h.Save(), before);
    // Saving put the played values back afterwards.
    h.Tick();
    h.Player->Stop();
    QCOMPARE(h.Save(), before);
    QCOMPARE(notices.Count, 0);
    h.Tree->RemoveChangeListener(&notices);
}

void TestAnimation::fileRoundTripsByteIdentically()
{
    TManualTimers timers;
    TAnimationHost h;
    AddEveryKind(h);
    h.Player->SetLoop(true);
    h.Player->SetSpeed(12);
    h.Player->Animations()[1]->SetEnabled(false);
    h.Player->Animations()[2]->SetLoop(true);
    const int count = h.Player->Animations().Count();
    const QByteArray first = h.Save();
    QVERIFY(first.count("TPF0") == 2);

    TAnimationHost other;
    other.Load(first);
    QVERIFY(other.Player);
    QCOMPARE(other.Player->Tree(), other.Tree);
    QCOMPARE(other.Player->Animations().Count(), count);
    QCOMPARE(other.Player->Speed(), 12);
    QVERIFY(other.Player->Loop());
    for (int i = 0; i < count; ++i) {
        TAnimation *a = other.Player->Animations()[i];
        QCOMPARE(a->ClassName(), h.Player->Animations()[i]->ClassName());
        QCOMPARE(a->Owner(), other.Owner.get());
        if (auto *n = dynamic_cast<TNodeAnimation *>(a); n && !dynamic_cast<TTreeColorAnimation *>(a))
            QVERIFY2(n->Node() && n->Node()->Tree() == other.Tree, qPrintable(a->Name()));
    }
    QCOMPARE(other.Save(), first);
}

void TestAnimation::fileWithoutAnimation()
{
    TManualTimers timers;
    TAnimationHost h;
    h.Add<TMovementAnimation>(h.Node(1, 1));
    const QByteArray plain = h.Save(false);
    QCOMPARE(plain.count("TPF0"), 1);
    h.Load(plain);
    QVERIFY(!h.Player);
}

void TestAnimation::durationIsAtLeastOneFrame()
{
    TManualTimers timers;
    TAnimationHost h;
    TTreeNodeShape *node = h.Node(0, 0);
    auto *a = h.Add<TTransparencyAnimation>(node);
    a->SetEndValue(50);
    a->SetDuration(0);
    QCOMPARE(a->Duration(), 1);
    a->SetDuration(-4);
    QCOMPARE(a->Duration(), 1);
    a->SetStartFrame(-3);
    QCOMPARE(a->StartFrame(), 0);
    QList<int> values;
    h.Player->OnFrame = [&](TObject *) { values << node->Transparency(); };
    h.Player->Play();
    RunTicks(*h.Player, 10);
    QCOMPARE(values, (QList<int>{0, 50}));
}

void TestAnimation::addTextKeepsEveryLine()
{
    TManualTimers timers;
    TAnimationHost h;
    TTreeNodeShape *node = h.Node(0, 0, QStringLiteral("ab"));
    node->Text()->SetLines({QStringLiteral("ab"), QStringLiteral("cd")});
    auto *a = h.Add<TAddTextAnimation>(node, 1, 5);
    QStringList shown;
    h.Player->OnFrame = [&](TObject *) { shown << node->Text()->Text(); };
    h.Player->Play();
    QCOMPARE(node->LineCount(), 0);
    RunTicks(*h.Player, 100);
    QCOMPARE(a->FullText(), QStringLiteral("ab\ncd"));
    QCOMPARE(shown.first(), QString());
    QCOMPARE(shown.last(), QStringLiteral("ab\ncd"));
    QVERIFY(shown.contains(QStringLiteral("ab\nc")));
    QCOMPARE(node->Text()->Lines(), (QStringList{QStringLiteral("ab"), QStringLiteral("cd")}));
}

void TestAnimation::moveTextRestoresClipping()
{
    TManualTimers timers;
    TAnimationHost h;
    TTreeNodeShape *node = h.Node(0, 0, QStringLiteral("scrolling"));
    node->SetX1(300);
    node->Text()->SetHorizOffset(7);
    h.Add<TMoveTextAnimation>(node);
    QList<int> offsets;
    h.Player->OnFrame = [&](TObject *) { offsets << node->Text()->HorizOffset(); };
    h.Player->Play();
    QVERIFY(node->Text()->ClipText());
    RunTicks(*h.Player, 100);
    QCOMPARE(offsets.first(), 300);
    QCOMPARE(offsets.at(1), 300 - 60);
    QVERIFY(!node->Text()->ClipText());
    QCOMPARE(node->Text()->HorizOffset(), 7);
}

void TestAnimation::colorFadeEndsOnItsLastColor_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    // Red down, green up: as a number the colour passes the end early.
    QTest::newRow("passes early") << int(RGBColor(255, 0, 0)) << int(RGBColor(0, 1, 0));
    QTest::newRow("downwards") << int(clWhite) << int(clNavy);
    QTest::newRow("system colour") << int(clBlack) << int(clBtnFace);
}

void TestAnimation::colorFadeEndsOnItsLastColor()
{
    QFETCH(int, start);
    QFETCH(int, end);
    TManualTimers timers;
    TAnimationHost h;
    TTreeNodeShape *node = h.Node(0, 0);
    auto *a = h.Add<TNodeColorAnimation>(node);
    a->SetStartColor(start);
    a->SetEndColor(end);
    QList<int> colors;
    QList<int> states;
    h.Player->OnFrame = [&](TObject *) {
        colors << node->Color();
        states << a->PlayState();
    };
    h.Player->Play();
    RunTicks(*h.Player, 100);
    QCOMPARE(colors.size(), 11);
    QCOMPARE(colors.first(), start);
    QCOMPARE(colors.last(), end);
    for (int i = 0; i < 10; ++i)
        QVERIFY2(states.at(i) == apsPlaying, qPrintable(QString::number(i)));
    QCOMPARE(node->Color(), clWhite);
    QVERIFY(!node->PeekBrush());
}

void TestAnimation::namesTakeAFreeNumber()
{
    TAnimationHost h;
    h.Add<TFontSizeAnimation>();
    h.Add<TFontSizeAnimation>();
    QCOMPARE(h.Player->Animations()[0]->Name(), QStringLiteral("FontSizeAnimation1"));
    // The third animation is named with the count.
    QCOMPARE(NewAnimationName(*h.Owner, *h.Player, QStringLiteral("TMovementAnimation")),
             QStringLiteral("MovementAnimation3"));
    // After a deletion the count names one that exists: the first free number.
    delete h.Player->Animations()[0];
    QCOMPARE(h.Player->Animations().Count(), 1);
    QCOMPARE(NewAnimationName(*h.Owner, *h.Player, QStringLiteral("TFontSizeAnimation")),
             QStringLiteral("FontSizeAnimation1"));
    h.Add<TFontSizeAnimation>();
    QCOMPARE(h.Player->Animations()[1]->Name(), QStringLiteral("FontSizeAnimation1"));
    QCOMPARE(NewAnimationName(*h.Owner, *h.Player, QStringLiteral("TFontSizeAnimation")),
             QStringLiteral("FontSizeAnimation3"));
}

void TestAnimation::stopRestoresOnlyWhatWasSaved()
{
    TManualTimers timers;
    TAnimationHost h;
    h.Add<TCustomAnimation>(nullptr, 0, 20);
    TTreeNodeShape *node = h.Node(40, 40);
    auto *late = new TMovementAnimation(h.Owner.get());
    late->SetNode(node);
    late->SetStartFrame(50);
    h.Player->Play();
    RunTicks(*h.Player, 3);
    // Joined after Play: never saved, so Stop must not write its value.
    h.Player->Animations().Add(late);
    node->SetX0(77);
    h.Player->Stop();
    QCOMPARE(node->X0(), 77);
    QVERIFY(!late->HasSavedValue());
}

void TestAnimation::pauseContinueAndStep()
{
    TManualTimers timers;
    TAnimationHost h;
    TTreeNodeShape *node = h.Node(0, 0);
    auto *a = h.Add<TTransparencyAnimation>(node);
    a->SetEndValue(100);
    TEventLog log(*h.Player);
    h.Player->Step();
    QCOMPARE(log.Frame, 0); // stopped: no frame
    h.Player->Play();
    QCOMPARE(log.Play, 1);
    h.Tick();
    h.Tick();
    h.Player->Pause();
    QCOMPARE(h.Player->State(), asPaused);
    QCOMPARE(a->PlayState(), apsPaused);
    QCOMPARE(log.Pause, 1);
    h.Player->Step();
    QCOMPARE(h.Player->Frame(), 2);
    QCOMPARE(int(node->Transparency()), 20);
    QCOMPARE(h.Player->State(), asPaused);
    h.Player->Continue();
    QCOMPARE(log.Continue, 1);
    QCOMPARE(a->PlayState(), apsPlaying);
    h.Player->Step();
    QCOMPARE(h.Player->State(), asPaused);
    QCOMPARE(log.Pause, 2);
    h.Player->Stop();
    QCOMPARE(log.Stop, 1);
    QCOMPARE(int(node->Transparency()), 0);
}

void TestAnimation::nodeFreedWhilePlaying()
{
    TManualTimers timers;
    TAnimationHost h;
    TTreeNodeShape *node = h.Node(0, 0);
    TTreeNodeShape *other = h.Node(50, 0);
    auto *a = h.Add<TNodeZoomAnimation>(node);
    auto *b = h.Add<TMovementAnimation>(other);
    b->SetEndValue(90);
    QList<TTreeNodeShape *> removed;
    h.Player->OnNodeRemoved = [&](TTreeNodeShape *n) { removed << n; };
    h.Player->Play();
    RunTicks(*h.Player, 3);
    h.Tree->DeleteShape(node);
    QCOMPARE(removed, (QList<TTreeNodeShape *>{node}));
    QVERIFY(!a->Node());
    QVERIFY(!a->IsActive());
    QCOMPARE(a->PlayState(), apsStopped);
    RunTicks(*h.Player, 100);
    QCOMPARE(h.Player->State(), asStopped);
    QCOMPARE(other->X0(), 50);
}

void TestAnimation::visibleWritesItsValue()
{
    TManualTimers timers;
    TAnimationHost h;
    TTreeNodeShape *node = h.Node(0, 0);
    auto *a = h.Add<TVisibleAnimation>(node, 2, 3);
    a->SetNewValue(false);
    h.Add<TCustomAnimation>(nullptr, 0, 10);
    QList<bool> visible;
    h.Player->OnFrame = [&](TObject *) { visible << node->Visible(); };
    h.Player->Play();
    RunTicks(*h.Player, 100);
    // Hidden from the step after its start; shown again when it stops.
    QCOMPARE(visible.mid(0, 7), (QList<bool>{true, true, true, false, false, true, true}));
    QVERIFY(node->Visible());
}

void TestAnimation::playAgainFromAPause()
{
    TManualTimers timers;
    TAnimationHost h;
    TTreeNodeShape *node = h.Node(0, 0);
    auto *a = h.Add<TTransparencyAnimation>(node);
    a->SetEndValue(100);
    h.Player->Play();
    RunTicks(*h.Player, 5);
    h.Player->Pause();
    h.Player->Play();
    QCOMPARE(h.Player->State(), asPlaying);
    QCOMPARE(h.Player->Frame(), -1);
    RunTicks(*h.Player, 3);
    h.Player->Stop();
    // The value of the pause was not taken for the one from before playing.
    QCOMPARE(int(node->Transparency()), 0);
}

void TestAnimation::freeingAPlayingPlayerPutsValuesBack()
{
    TManualTimers timers;
    TAnimationHost h;
    TTreeNodeShape *node = h.Node(0, 0);
    h.Add<TFontSizeAnimation>(node)->SetEndValue(40);
    TEventLog log(*h.Player);
    const QByteArray before = h.Save(false);
    h.Player->Play();
    RunTicks(*h.Player, 4);
    QVERIFY(node->PeekFont());
    h.Player.reset();
    QCOMPARE(log.Stop, 0);
    QVERIFY(!node->PeekFont());
    QCOMPARE(h.Save(false), before);
    QCOMPARE(h.Owner->FindComponent(QStringLiteral("FontSizeAnimation1")), nullptr);
}

void TestAnimation::takeValuesFromNode()
{
    TAnimationHost h;
    TTreeNodeShape *node = h.Node(33, 44);
    auto *move = h.Add<TMovementAnimation>(node);
    move->SetEndValue(200);
    move->TakeValuesFromNode();
    QCOMPARE(move->StartValue(), 33);
    QCOMPARE(move->EndValue(), 200);
    auto *color = h.Add<TNodeColorAnimation>(node);
    color->SetEndColor(clRed);
    color->TakeValuesFromNode();
    QCOMPARE(color->StartColor(), clWhite);
    QCOMPARE(color->EndColor(), clRed);
    auto *visible = h.Add<TVisibleAnimation>(node);
    visible->SetNewValue(true);
    visible->TakeValuesFromNode();
    QCOMPARE(visible->NewValue(), false);
}

QTEST_MAIN(TestAnimation)
#include "tst_animation.moc"
