// The index of component names: lookups in any case, removal out of the
// middle of probe runs, growth, and an owner's index through renaming,
// bulk release and destruction.

#include "core/Component.h"
#include "core/Exceptions.h"
#include "core/NameIndex.h"

#include <QtTest>
#include <map>
#include <numeric>
#include <memory>
#include <random>
#include <vector>

namespace {

std::vector<std::unique_ptr<TComponent>> Named(int count, const QString &base)
{
    std::vector<std::unique_ptr<TComponent>> made;
    for (int i = 0; i < count; ++i) {
        made.push_back(std::make_unique<TComponent>());
        made.back()->SetName(base + QString::number(i + 1));
    }
    return made;
}

} // namespace

class TestNameIndex : public QObject
{
    Q_OBJECT
private slots:
    void findsEverySpelling_data();
    void findsEverySpelling();
    void removalKeepsTheOthersFound_data();
    void removalKeepsTheOthersFound();
    void refusesTwinsAndEmptyNames();
    void firstNameTakenLeavesComponentUnnamed();
    void componentJoiningDuringBulkReleaseMayLeaveAgain();
    void siblingLooksUpWhileOwnerIsDestroyed();
};

void TestNameIndex::findsEverySpelling_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("sought");
    QTest::addColumn<bool>("found");
    QTest::newRow("exact") << "TreeNodeShape1" << "TreeNodeShape1" << true;
    QTest::newRow("lower") << "TreeNodeShape1" << "treenodeshape1" << true;
    QTest::newRow("upper") << "TreeNodeShape1" << "TREENODESHAPE1" << true;
    QTest::newRow("other number") << "TreeNodeShape1" << "TreeNodeShape11" << false;
    QTest::newRow("prefix") << "TreeNodeShape12" << "TreeNodeShape1" << false;
    QTest::newRow("underscore") << "A_b" << "a_B" << true;
    QTest::newRow("empty") << "A" << "" << false;
}

void TestNameIndex::findsEverySpelling()
{
    QFETCH(QString, stored);
    QFETCH(QString, sought);
    QFETCH(bool, found);
    TComponent c;
    c.SetName(stored);
    TNameIndex index;
    QVERIFY(index.Insert(&c));
    QCOMPARE(index.Find(sought), found ? &c : nullptr);
    if (found) // one hash for every spelling
        QCOMPARE(TNameIndex::NameHash(sought), TNameIndex::NameHash(stored));
}

void TestNameIndex::removalKeepsTheOthersFound_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("removed");
    QTest::addColumn<uint>("seed");
    // Small tables keep long probe runs that wrap around their end.
    QTest::newRow("a few") << 7 << 3 << 1u;
    QTest::newRow("one table's worth") << 8 << 8 << 2u;
    QTest::newRow("grown twice") << 40 << 25 << 3u;
    QTest::newRow("many") << 5000 << 4000 << 4u;
}

void TestNameIndex::removalKeepsTheOthersFound()
{
    QFETCH(int, count);
    QFETCH(int, removed);
    QFETCH(uint, seed);
    const auto made = Named(count, QStringLiteral("Shape"));
    TNameIndex index;
    for (const auto &c : made)
        QVERIFY(index.Insert(c.get()));
    QCOMPARE(index.Count(), count);

    std::vector<int> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(seed));
    std::map<int, bool> gone;
    for (int k = 0; k < removed; ++k) {
        const int i = order[static_cast<size_t>(k)];
        QVERIFY(index.Remove(made[static_cast<size_t>(i)]->Name().toLower()));
        QVERIFY(!index.Remove(made[static_cast<size_t>(i)]->Name())); // once
        gone[i] = true;
        // Every few removals: every name still in is found, no removed one.
        if (k % 97 == 0 || k == removed - 1)
            for (int j = 0; j < count; ++j)
                QCOMPARE(index.Find(made[static_cast<size_t>(j)]->Name()),
                         gone.count(j) ? nullptr : made[static_cast<size_t>(j)].get());
    }
    QCOMPARE(index.Count(), count - removed);
    // The freed names can be taken again.
    for (const auto &[i, _] : gone)
        QVERIFY(index.Insert(made[static_cast<size_t>(i)].get()));
    QCOMPARE(index.Count(), count);
}

void TestNameIndex::refusesTwinsAndEmptyNames()
{
    TComponent a, b, unnamed;
    a.SetName(QStringLiteral("Node"));
    b.SetName(QStringLiteral("NODE"));
    TNameIndex index;
    QVERIFY(index.Insert(&a));
    QVERIFY(!index.Insert(&b));
    QVERIFY(!index.Insert(&unnamed));
    QCOMPARE(index.Count(), 1);
    QCOMPARE(index.Find(u"node"), &a);
    index.Reserve(1000);
    QCOMPARE(index.Find(u"nOdE"), &a);
    index.Clear();
    QCOMPARE(index.Find(u"Node"), nullptr);
    QVERIFY(index.Insert(&b));
}

void TestNameIndex::firstNameTakenLeavesComponentUnnamed()
{
    TComponent owner;
    auto *first = new TComponent(&owner);
    first->SetName(QStringLiteral("TreeNodeShape1"));
    auto *second = new TComponent(&owner);
    QVERIFY_THROWS_EXCEPTION(EComponentError, second->SetName(QStringLiteral("treeNodeShape1")));
    QVERIFY(second->Name().isEmpty());
    QCOMPARE(owner.FindComponent(QStringLiteral("TREENODESHAPE1")), first);
    // Renamed, the old name is free and the new one found.
    first->SetName(QStringLiteral("Root"));
    QCOMPARE(owner.FindComponent(QStringLiteral("TreeNodeShape1")), nullptr);
    second->SetName(QStringLiteral("TreeNodeShape1"));
    QCOMPARE(owner.FindComponent(QStringLiteral("treenodeshape1")), second);
    QCOMPARE(owner.FindComponent(QStringLiteral("root")), first);
}

void TestNameIndex::componentJoiningDuringBulkReleaseMayLeaveAgain()
{
    TComponent owner;
    std::vector<TComponent *> made;
    for (int i = 0; i < 100; ++i) {
        made.push_back(new TComponent(&owner));
        made.back()->SetName(QStringLiteral("Kept%1").arg(i));
    }
    owner.BeginBulkRelease();
    for (int i = 0; i < 100; i += 2)
        delete made[static_cast<size_t>(i)];
    // One that joins and leaves in between leaves no trace behind.
    auto *passing = new TComponent(&owner);
    passing->SetName(QStringLiteral("Passing"));
    delete passing;
    auto *staying = new TComponent(&owner);
    staying->SetName(QStringLiteral("Staying"));
    owner.EndBulkRelease();
    QCOMPARE(owner.ComponentCount(), 51);
    QCOMPARE(owner.FindComponent(QStringLiteral("Passing")), nullptr);
    QCOMPARE(owner.FindComponent(QStringLiteral("staying")), staying);
    QCOMPARE(owner.FindComponent(QStringLiteral("Kept0")), nullptr);
    QCOMPARE(owner.FindComponent(QStringLiteral("kept99")), made[99]);
}

namespace {

// Looks its siblings up by name while its owner destroys it.
class TLooker : public TComponent
{
public:
    using TComponent::TComponent;
    ~TLooker() override
    {
        *FoundLate = Lookup->FindComponent(QStringLiteral("late"));
        *FoundEarly = Lookup->FindComponent(QStringLiteral("EARLY"));
    }
    TComponent *Lookup = nullptr;
    TComponent **FoundLate = nullptr;
    TComponent **FoundEarly = nullptr;
};

} // namespace

void TestNameIndex::siblingLooksUpWhileOwnerIsDestroyed()
{
    // Components go last first: one destroyed in between finds those still
    // there and none of those already gone.
    auto owner = std::make_unique<TComponent>();
    auto *early = new TComponent(owner.get());
    early->SetName(QStringLiteral("Early"));
    auto *looker = new TLooker(owner.get());
    looker->SetName(QStringLiteral("Looker"));
    auto *late = new TComponent(owner.get());
    late->SetName(QStringLiteral("Late"));
    TComponent *foundLate = late;
    TComponent *foundEarly = nullptr;
    looker->Lookup = owner.get();
    looker->FoundLate = &foundLate;
    looker->FoundEarly = &foundEarly;
    owner.reset();
    QCOMPARE(foundLate, nullptr);
    QVERIFY(foundEarly == early); // the pointer only: it is gone by now
}

QTEST_GUILESS_MAIN(TestNameIndex)
#include "tst_name_index.moc"
