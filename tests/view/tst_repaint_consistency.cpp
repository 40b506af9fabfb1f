// The view keeps the last layout and passes by subtrees outside the visible
// area. Both are shortcuts: after any change of the model or of a setting,
// a repaint must show exactly what a repaint from scratch shows, and what a
// repaint without passing anything by shows. Long random sequences of edits
// check that no change forgets to invalidate what the shortcuts rely on.

#include "GeneratedOutline.h"
#include "ViewTestUtil.h"

#include <QtTest>
#include <random>

namespace {

// A diagram whose culling can be switched off.
class TSwitchableTree : public TTree
{
public:
    using TTree::TTree;
    bool Cull = true;
    bool SubtreeOutOfView(const TTreeNodeShape *node, bool &answer) const override
    {
        return Cull && TTree::SubtreeOutOfView(node, answer);
    }
};

QImage Grab(TTree *tree)
{
    tree->TCustomKorPanel::Invalidate();
    return tree->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestRepaintConsistency : public QObject
{
    Q_OBJECT
private slots:
    void repaintAfterEveryEditMatchesAFreshOne();
};

void TestRepaintConsistency::repaintAfterEveryEditMatchesAFreshOne()
{
    RegisterViewClasses();
    // Longer runs by hand: DENDRIX_SEEDS=500.
    const int seeds = qEnvironmentVariableIsSet("DENDRIX_SEEDS") ? qEnvironmentVariableIntValue("DENDRIX_SEEDS") : 16;
    for (int seed = 0; seed < seeds; ++seed) {
        std::mt19937 rng(seed);
        auto R = [&rng](int n) { return int(rng() % unsigned(n)); };
        TComponent host;
        host.SetName(QStringLiteral("TreeEditor1"));
        auto tree = std::make_unique<TSwitchableTree>(&host);
        TSwitchableTree *t = tree.get();
        t->SetNoOwnerShapes(false);
        t->resize(300, 200);
        t->ImportOutline(GeneratedOutline(60 + R(100), 4, seed + 1));
        t->ExpandAll(true);
        auto *layout = static_cast<TTreeExplorerAlignChild *>(t->DefaultFormat().ChildManager());
        QStringList done;
        for (int step = 0; step < 120; ++step) {
            const int n = t->Shapes().Count();
            TTreeNodeShape *s = n ? t->Shapes()[R(n)] : nullptr;
            TTreeNodeShape *s2 = n ? t->Shapes()[R(n)] : nullptr;
            const int op = R(42);
            switch (op) {
            case 0: if (s) s->SetSimpleText(QString(R(30) + 1, QLatin1Char('W'))); break;
            case 1: if (s) s->Font()->SetSize(6 + R(20)); break;
            case 2: if (s) s->SetStyle(TTreeShapeStyle(R(5))); break;
            case 3: if (s) s->SetImageIndex(TTreeNodeImageIndex(R(4))); break;
            case 4: if (s) s->SetExpanded(!s->Expanded()); break;
            case 5: if (s && s2 && s != s2 && !s->IsAncestorOf(s2)) s2->SetParent(R(3) ? s : nullptr); break;
            case 6: if (s && R(3) == 0) delete s; break;
            case 7: if (s) s->AddChild(QStringLiteral("new child")); break;
            case 8: if (s && s2 && s != s2) { if (auto *c = s->AddConnection(s2)) c->SetStyle(TTreeConnectionStyle(R(4))); } break;
            case 9: if (s) s->SetVisible(!s->Visible()); break;
            case 10: t->SetShowImages(!t->ShowImages()); break;
            case 11: t->SetShowText(!t->ShowText()); break;
            case 12: t->DefaultFormat().Font()->SetSize(6 + R(20)); break;
            case 13: t->View3DOptions()->SetVertOffset(-R(2000)); break;
            case 14: t->View3DOptions()->SetZoom(30 + R(200)); break;
            case 15: if (s) s->SetY0(R(2000)); break;
            case 16: if (s) s->SetX0(R(400)); break;
            case 17: t->CrossBox()->SetSize(R(10)); break;
            case 18: if (s) s->Border()->SetWidth(1 + R(6)); break;
            case 19: if (s && s->ConnectionCount()) s->Connections()[0]->ArrowTo()->SetStyle(TConnectionArrowStyle(R(3))); break;
            case 20: if (s) s->SetShowCross(TTreeNodeShapeShowCross(R(3))); break;
            case 21: if (s) s->SetImageAlignment(TTreeImageAlignment(R(9))); break;
            case 22: if (s) s->Text()->Add(QStringLiteral("another line")); break;
            case 23: if (s) s->SetAutoSize(!s->AutoSize()); break;
            case 24: if (s) s->UserMove(R(20) - 10, R(20) - 10, R(2)); break;
            case 25: if (s && s->ConnectionCount()) delete s->Connections()[0]; break;
            case 26: if (s) s->SetSelected(!s->Selected()); break;
            case 27: if (s) s->BringToFront(); break;
            case 28: if (s) s->SendToBack(); break;
            case 29: if (R(10) == 0) { t->Clear(); t->ImportOutline(GeneratedOutline(50, 3, step)); t->ExpandAll(true); } break;
            case 30: layout->SetChildIndent(5 + R(30)); break;
            case 31: if (s && s->ConnectionCount()) s->Connections().SetVisible(!s->Connections().Visible()); break;
            case 32: t->Connections().SetVisible(!t->Connections().Visible()); break;
            case 33: t->Shapes().SetVisible(!t->Shapes().Visible()); break;
            case 34: if (s && s->ConnectionCount()) s->Connections()[0]->Text()->Add(QStringLiteral("link")); break;
            case 35: if (s) { auto *clone = t->CloneShape(s); if (clone && R(2)) clone->SetVisible(true); } break;
            case 36: if (s && s2 && s != s2) { if (auto *c = s->AddConnection(s2)) c->SetStyle(csAuto); } break;
            case 37: if (s) s->SetTransparent(!s->Transparent()); break;
            case 38: t->View3DOptions()->SetHorizOffset(R(200) - 100); break;
            case 39: t->SetDesigning(!t->Designing()); break;
            case 40: layout->SetVertSpacing(R(6)); break;
            case 41: layout->SetTopMargin(R(20)); break;
            }
            done << QString::number(op);
            const QImage kept = Grab(t);
            t->InvalidateLayout();
            const QImage fresh = Grab(t);
            t->Cull = false;
            t->InvalidateLayout();
            const QImage whole = Grab(t);
            t->Cull = true;
            const QByteArray where = QStringLiteral("seed %1, edits %2").arg(seed).arg(done.join(QLatin1Char(','))).toUtf8();
            QVERIFY2(kept == fresh, where.constData());
            QVERIFY2(fresh == whole, where.constData());
        }
    }
}

QTEST_MAIN(TestRepaintConsistency)
#include "tst_repaint_consistency.moc"
