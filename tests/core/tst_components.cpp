// Named components: ownership, unique names, the first-free-number search
// and the class registry.

#include "core/ClassRegistry.h"
#include "core/Component.h"
#include "core/CoreConst.h"
#include "core/Exceptions.h"

#include <QtTest>

namespace {

// Counts destructions, and may free a sibling while it is destroyed (as a
// node frees its connections).
class TTracked : public TComponent
{
    DX_OBJECT(TTracked)
public:
    explicit TTracked(TComponent *owner = nullptr) : TComponent(owner) {}
    ~TTracked() override
    {
        ++destroyed;
        delete FreeWithMe;
    }
    static int destroyed;
    TComponent *FreeWithMe = nullptr;
};
int TTracked::destroyed = 0;

const TClassInfo &TTracked::StaticClassInfo()
{
    static const TClassInfo info("TTreeNodeShape", &TComponent::StaticClassInfo());
    return info;
}

class TOther : public TComponent
{
    DX_OBJECT(TOther)
public:
    using TComponent::TComponent;
};

const TClassInfo &TOther::StaticClassInfo()
{
    static const TClassInfo info("TMy2nd-Class", &TComponent::StaticClassInfo());
    return info;
}

// Holds a reference to another component, dropped when that one goes; may
// free a further component from its handler.
class TReferrer : public TComponent
{
    DX_OBJECT(TReferrer)
public:
    using TComponent::TComponent;
    void Refer(TComponent *target)
    {
        Target = target;
        FreeNotification(target);
    }
    TComponent *Target = nullptr;
    int Heard = 0;
    std::unique_ptr<TComponent> FreeOnNotice;

protected:
    void Notification(TComponent *component, TOperation operation) override
    {
        if (operation != opRemove)
            return;
        ++Heard;
        if (component == Target)
            Target = nullptr;
        FreeOnNotice.reset();
    }
};

const TClassInfo &TReferrer::StaticClassInfo()
{
    static const TClassInfo info("TReferrer", &TComponent::StaticClassInfo());
    return info;
}

} // namespace

class TestComponents : public QObject
{
    Q_OBJECT
private slots:
    void init() { TTracked::destroyed = 0; }
    void uniqueNamesSkipTakenOnes();
    void nameBaseRule();
    void firstFreeNumberComesBackAfterRemoval();
    void duplicateNameRefusedAndOwnerUnchanged();
    void invalidNameRefused();
    void namesCompareWithoutCase();
    void ownerFreesWhatItOwnsOnce();
    void freeingAComponentLeavesItsOwner();
    void siblingsFreedDuringOwnerDestruction();
    void freeNotificationDropsReferencesEitherWay();
    void insertAndRemoveMoveOwnership();
    void manyComponentsKeepOrderAfterRemovals();
    void bulkReleaseDropsNamesOnce();
    void registryFirstRegistrationWins();
};

void TestComponents::uniqueNamesSkipTakenOnes()
{
    TComponent owner;
    auto *existing = new TTracked(&owner);
    existing->SetName(QStringLiteral("TreeNodeShape1"));
    QStringList names;
    for (int i = 0; i < 3; ++i) {
        auto *c = new TTracked(&owner);
        c->SetName(owner.UniqueName(c->ClassName()));
        names << c->Name();
    }
    QCOMPARE(names, QStringList({"TreeNodeShape2", "TreeNodeShape3", "TreeNodeShape4"}));
    QCOMPARE(owner.ComponentCount(), 4);
}

void TestComponents::nameBaseRule()
{
    QCOMPARE(TComponent::NameBase(QStringLiteral("TTreeNodeShape")), QStringLiteral("TreeNodeShape"));
    QCOMPARE(TComponent::NameBase(QStringLiteral("tTextShape")), QStringLiteral("TextShape"));
    QCOMPARE(TComponent::NameBase(QStringLiteral("TMy2nd-Class")), QStringLiteral("My_nd_Class"));
    QCOMPARE(TComponent::NameBase(QStringLiteral("Shape")), QStringLiteral("Shape"));
    TComponent owner;
    TOther other(&owner);
    QCOMPARE(owner.UniqueName(other.ClassName()), QStringLiteral("My_nd_Class1"));
}

void TestComponents::firstFreeNumberComesBackAfterRemoval()
{
    TComponent owner;
    std::vector<TTracked *> nodes;
    for (int i = 0; i < 5; ++i) {
        auto *c = new TTracked(&owner);
        c->SetName(owner.UniqueName(c->ClassName()));
        nodes.push_back(c);
    }
    delete nodes[1]; // TreeNodeShape2
    delete nodes[3]; // TreeNodeShape4
    QCOMPARE(owner.UniqueName(QStringLiteral("TTreeNodeShape")), QStringLiteral("TreeNodeShape2"));
    auto *a = new TTracked(&owner);
    a->SetName(owner.UniqueName(a->ClassName()));
    auto *b = new TTracked(&owner);
    b->SetName(owner.UniqueName(b->ClassName()));
    auto *c = new TTracked(&owner);
    c->SetName(owner.UniqueName(c->ClassName()));
    QCOMPARE(a->Name(), QStringLiteral("TreeNodeShape2"));
    QCOMPARE(b->Name(), QStringLiteral("TreeNodeShape4"));
    QCOMPARE(c->Name(), QStringLiteral("TreeNodeShape6"));
    // Renaming frees the old number as well.
    a->SetName(QStringLiteral("Boss"));
    QCOMPARE(owner.UniqueName(QStringLiteral("TTreeNodeShape")), QStringLiteral("TreeNodeShape2"));

    // A base that ends in a digit itself (a connection between
    // TreeNodeShape1 and TreeNodeShape2): its freed numbers come back too.
    const QString base = QStringLiteral("TreeNodeShape1_TreeNodeShape2");
    std::vector<TTracked *> links;
    for (int i = 0; i < 3; ++i) {
        auto *l = new TTracked(&owner);
        l->SetName(owner.FirstFreeName(base));
        links.push_back(l);
    }
    QCOMPARE(links[2]->Name(), base + QStringLiteral("3"));
    delete links[0];
    QCOMPARE(owner.FirstFreeName(base), base + QStringLiteral("1"));
    links[1]->SetName(QStringLiteral("Renamed"));
    auto *again = new TTracked(&owner);
    again->SetName(owner.FirstFreeName(base));
    QCOMPARE(again->Name(), base + QStringLiteral("1"));
    QCOMPARE(owner.FirstFreeName(base), base + QStringLiteral("2"));
}

void TestComponents::duplicateNameRefusedAndOwnerUnchanged()
{
    TComponent owner;
    auto *a = new TTracked(&owner);
    a->SetName(QStringLiteral("Alpha"));
    auto *b = new TTracked(&owner);
    b->SetName(QStringLiteral("Beta"));
    try {
        b->SetName(QStringLiteral("Alpha"));
        QFAIL("duplicate name accepted");
    } catch (const EComponentError &e) {
        QCOMPARE(e.Message(), QStringLiteral("A component named Alpha already exists"));
    }
    QCOMPARE(b->Name(), QStringLiteral("Beta"));
    QCOMPARE(owner.FindComponent(QStringLiteral("Alpha")), a);
    QCOMPARE(owner.FindComponent(QStringLiteral("Beta")), b);
    QCOMPARE(owner.ComponentCount(), 2);

    // Inserting a named component whose name is taken is refused too.
    auto stray = std::make_unique<TTracked>();
    stray->SetName(QStringLiteral("Beta"));
    QVERIFY_THROWS_EXCEPTION(EComponentError, owner.InsertComponent(stray.get()));
    QCOMPARE(stray->Owner(), nullptr);
    QCOMPARE(owner.ComponentCount(), 2);

    // Components without owner may share names; empty names never clash.
    TTracked x, y;
    x.SetName(QStringLiteral("Same"));
    y.SetName(QStringLiteral("Same"));
    auto *e1 = new TTracked(&owner);
    auto *e2 = new TTracked(&owner);
    QVERIFY(e1->Name().isEmpty() && e2->Name().isEmpty());
}

void TestComponents::invalidNameRefused()
{
    TTracked c;
    QVERIFY_THROWS_EXCEPTION(EComponentError, c.SetName(QStringLiteral("1abc")));
    QVERIFY_THROWS_EXCEPTION(EComponentError, c.SetName(QStringLiteral("a b")));
    c.SetName(QStringLiteral("_ok9"));
    QCOMPARE(c.Name(), QStringLiteral("_ok9"));
    c.SetName(QString());
    QVERIFY(c.Name().isEmpty());
}

void TestComponents::namesCompareWithoutCase()
{
    TComponent owner;
    auto *a = new TTracked(&owner);
    a->SetName(QStringLiteral("TreeNodeShape1"));
    QCOMPARE(owner.FindComponent(QStringLiteral("treenodeshape1")), a);
    auto *b = new TTracked(&owner);
    QVERIFY_THROWS_EXCEPTION(EComponentError, b->SetName(QStringLiteral("TREENODESHAPE1")));
    QCOMPARE(owner.UniqueName(QStringLiteral("TTreeNodeShape")), QStringLiteral("TreeNodeShape2"));
    // Changing only the case of one's own name is allowed.
    a->SetName(QStringLiteral("TREENODESHAPE1"));
    QCOMPARE(a->Name(), QStringLiteral("TREENODESHAPE1"));
}

void TestComponents::ownerFreesWhatItOwnsOnce()
{
    {
        TComponent owner;
        for (int i = 0; i < 10; ++i)
            new TTracked(&owner);
        auto *inner = new TTracked(&owner);
        new TTracked(inner); // owned by an owned component
    }
    QCOMPARE(TTracked::destroyed, 12);
}

void TestComponents::freeingAComponentLeavesItsOwner()
{
    TComponent owner;
    auto *a = new TTracked(&owner);
    a->SetName(QStringLiteral("A"));
    auto *b = new TTracked(&owner);
    delete a;
    QCOMPARE(TTracked::destroyed, 1);
    QCOMPARE(owner.ComponentCount(), 1);
    QCOMPARE(owner.Components(0), b);
    QCOMPARE(owner.FindComponent(QStringLiteral("A")), nullptr);
}

void TestComponents::siblingsFreedDuringOwnerDestruction()
{
    {
        TComponent owner;
        auto *first = new TTracked(&owner);
        auto *middle = new TTracked(&owner);
        auto *last = new TTracked(&owner);
        last->FreeWithMe = first; // freed while the owner destroys "last"
        middle->FreeWithMe = nullptr;
    }
    QCOMPARE(TTracked::destroyed, 3);
}

void TestComponents::insertAndRemoveMoveOwnership()
{
    TComponent a, b;
    auto *c = new TTracked(&a);
    c->SetName(QStringLiteral("Moved"));
    b.InsertComponent(c);
    QCOMPARE(c->Owner(), &b);
    QCOMPARE(a.ComponentCount(), 0);
    QCOMPARE(b.FindComponent(QStringLiteral("Moved")), c);
    std::unique_ptr<TComponent> taken = b.RemoveComponent(c);
    QCOMPARE(taken.get(), c);
    QCOMPARE(c->Owner(), nullptr);
    QCOMPARE(b.ComponentCount(), 0);
    QCOMPARE(b.RemoveComponent(c), nullptr); // not owned any more
}

void TestComponents::manyComponentsKeepOrderAfterRemovals()
{
    TComponent owner;
    std::vector<TTracked *> all;
    for (int i = 0; i < 1000; ++i) {
        auto *c = new TTracked(&owner);
        c->SetName(owner.UniqueName(c->ClassName()));
        all.push_back(c);
    }
    for (int i = 0; i < 1000; i += 3)
        delete all[i];
    std::vector<TTracked *> expected;
    for (int i = 0; i < 1000; ++i)
        if (i % 3 != 0)
            expected.push_back(all[i]);
    QCOMPARE(owner.ComponentCount(), static_cast<int>(expected.size()));
    for (int i = 0; i < owner.ComponentCount(); ++i)
        QCOMPARE(owner.Components(i), expected[i]);
    QCOMPARE(owner.UniqueName(QStringLiteral("TTreeNodeShape")), QStringLiteral("TreeNodeShape1"));
    QCOMPARE(owner.FindComponent(QStringLiteral("TreeNodeShape2")), all[1]);
}

void TestComponents::bulkReleaseDropsNamesOnce()
{
    TComponent owner;
    std::vector<TTracked *> made;
    for (int i = 0; i < 300; ++i) {
        auto *c = new TTracked(&owner);
        c->SetName(owner.UniqueName(c->ClassName()));
        made.push_back(c);
    }
    owner.BeginBulkRelease();
    owner.BeginBulkRelease(); // nests
    for (int i = 0; i < 300; i += 2)
        delete made[static_cast<size_t>(i)];
    owner.EndBulkRelease();
    owner.EndBulkRelease();
    QCOMPARE(owner.ComponentCount(), 150);
    QVERIFY(!owner.FindComponent(QStringLiteral("TreeNodeShape1")));
    QCOMPARE(owner.FindComponent(QStringLiteral("treenodeshape2")), made[1]);
    QCOMPARE(owner.Components(0), made[1]);
    // The freed names are free again; the kept ones still refuse twins.
    QCOMPARE(owner.UniqueName(QStringLiteral("TTreeNodeShape")), QStringLiteral("TreeNodeShape1"));
    TComponent extra(&owner);
    QVERIFY_THROWS_EXCEPTION(EComponentError, extra.SetName(QStringLiteral("TREENODESHAPE4")));
    extra.SetName(QStringLiteral("TreeNodeShape3"));
    QCOMPARE(owner.FindComponent(QStringLiteral("treeNodeShape3")), &extra);
}

void TestComponents::registryFirstRegistrationWins()
{
    TClassRegistry &reg = TClassRegistry::Instance();
    QVERIFY(reg.Register<TTracked>());
    const bool second = reg.Register(TTracked::StaticClassInfo(), [](TComponent *o) -> TComponent * { return new TOther(o); });
    QVERIFY(!second);
    TComponent owner;
    TComponent *made = reg.Create(QStringLiteral("ttreenodeshape"), &owner);
    QVERIFY(dynamic_cast<TTracked *>(made));
    QCOMPARE(made->Owner(), &owner);
    QVERIFY(reg.ClassNames().contains(QStringLiteral("TTreeNodeShape")));
    try {
        reg.FindClass(QStringLiteral("TNoSuchShape"));
        QFAIL("unknown class found");
    } catch (const EClassNotFound &e) {
        QCOMPARE(e.Message(), QStringLiteral("Class TNoSuchShape not found"));
    }
    QCOMPARE(reg.GetClass(QStringLiteral("TNoSuchShape")), nullptr);
}

QTEST_GUILESS_MAIN(TestComponents)
#include "tst_components.moc"

void TestComponents::freeNotificationDropsReferencesEitherWay()
{
    // The referenced component goes first: the referrer hears it once,
    // also when linked twice.
    {
        TReferrer referrer;
        auto target = std::make_unique<TOther>();
        referrer.Refer(target.get());
        referrer.FreeNotification(target.get());
        target.reset();
        QCOMPARE(referrer.Target, nullptr);
        QCOMPARE(referrer.Heard, 1);
    }
    // The referrer goes first: the target outlives it without a dangling
    // link (the sanitizer sees a use after free otherwise).
    {
        TReferrer later;
        {
            TOther target;
            {
                TReferrer referrer;
                referrer.Refer(&target);
            }
            later.Refer(&target);
        }
        QCOMPARE(later.Heard, 1);
        QCOMPARE(later.Target, nullptr);
    }
    // Unlinked references are not reported.
    {
        TReferrer referrer;
        auto target = std::make_unique<TOther>();
        referrer.Refer(target.get());
        referrer.RemoveFreeNotification(target.get());
        target.reset();
        QCOMPARE(referrer.Heard, 0);
    }
    // A handler that frees another linked component while it hears of the
    // first one: each link is still reported once, none twice.
    {
        auto target = std::make_unique<TOther>();
        TReferrer first;
        TReferrer second;
        first.Refer(target.get());
        second.Refer(target.get());
        first.FreeOnNotice = std::make_unique<TOther>();
        second.FreeNotification(first.FreeOnNotice.get());
        target.reset();
        QCOMPARE(first.Heard, 1);
        QCOMPARE(second.Heard, 2);
        QCOMPARE(first.Target, nullptr);
        QCOMPARE(second.Target, nullptr);
    }
    // A handler that frees a component still waiting to hear: it is not
    // told after it is gone.
    {
        auto target = std::make_unique<TOther>();
        auto victim = std::make_unique<TReferrer>();
        victim->Refer(target.get());
        TReferrer first;
        first.Refer(target.get());
        first.FreeOnNotice = std::move(victim);
        target.reset();
        QCOMPARE(first.Heard, 1);
        QVERIFY(!first.FreeOnNotice);
    }
}
