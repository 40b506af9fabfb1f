// Owned collections: positions clamped, moves, deletion, change reports
// (once per update block) and copying by Assign.

#include "core/Collection.h"
#include "core/Exceptions.h"

#include <QtTest>

namespace {

class TValueItem : public TCollectionItem
{
    DX_OBJECT(TValueItem)
public:
    int Value = 0;
    void SetValue(int v)
    {
        Value = v;
        Changed();
    }
    void Assign(const TPersistent *source) override
    {
        if (const auto *other = dynamic_cast<const TValueItem *>(source)) {
            Value = other->Value;
            return;
        }
        TCollectionItem::Assign(source);
    }
};

const TClassInfo &TValueItem::StaticClassInfo()
{
    static const TClassInfo info("TValueItem", &TCollectionItem::StaticClassInfo());
    return info;
}

QList<int> Values(const TCollection &c)
{
    QList<int> values;
    for (int i = 0; i < c.Count(); ++i)
        values << static_cast<TValueItem *>(c.Items(i))->Value;
    return values;
}

TValueItem *At(const TCollection &c, int i)
{
    return static_cast<TValueItem *>(c.Items(i));
}

} // namespace

class TestCollection : public QObject
{
    Q_OBJECT
private slots:
    void editingKeepsOrderAndReportsChanges();
    void assignCopiesItems();
};

void TestCollection::editingKeepsOrderAndReportsChanges()
{
    TCollection c(TCollection::FactoryOf<TValueItem>());
    QStringList reports;
    c.OnChange = [&reports](TCollection *, TCollectionItem *item) {
        reports << (item ? QString::number(static_cast<TValueItem *>(item)->Value) : QStringLiteral("list"));
    };
    for (int v : {1, 2, 3})
        static_cast<TValueItem *>(c.Add())->Value = v;
    static_cast<TValueItem *>(c.Insert(-5))->Value = 0;  // clamped to the front
    static_cast<TValueItem *>(c.Insert(99))->Value = 4;  // clamped to the end
    QCOMPARE(Values(c), QList<int>({0, 1, 2, 3, 4}));
    QCOMPARE(reports.size(), 5);
    QCOMPARE(c.Items(5), nullptr);
    QCOMPARE(c.Items(-1), nullptr);

    TValueItem *three = At(c, 3);
    QCOMPARE(three->Index(), 3);
    three->SetIndex(0);
    QCOMPARE(Values(c), QList<int>({3, 0, 1, 2, 4}));
    c.Move(0, 99); // clamped to the last place
    QCOMPARE(Values(c), QList<int>({0, 1, 2, 4, 3}));
    c.Delete(1);
    c.Delete(17); // out of range: nothing
    QCOMPARE(Values(c), QList<int>({0, 2, 4, 3}));
    QCOMPARE(c.IndexOf(three), 3);

    reports.clear();
    three->SetValue(30);
    QCOMPARE(reports, QStringList({"30"}));

    // Changes inside an update block are reported once, at its end.
    reports.clear();
    c.BeginUpdate();
    c.BeginUpdate();
    c.Add();
    three->SetValue(31);
    c.EndUpdate();
    QVERIFY(reports.isEmpty());
    c.EndUpdate();
    QCOMPARE(reports, QStringList({"list"}));
    c.EndUpdate(); // unbalanced: harmless
    reports.clear();
    c.Clear();
    QCOMPARE(c.Count(), 0);
    QCOMPARE(reports, QStringList({"list"}));
}

void TestCollection::assignCopiesItems()
{
    TCollection source(TCollection::FactoryOf<TValueItem>());
    for (int v : {5, 6})
        static_cast<TValueItem *>(source.Add())->Value = v;
    TCollection target(TCollection::FactoryOf<TValueItem>());
    target.Add();
    int reports = 0;
    target.OnChange = [&reports](TCollection *, TCollectionItem *) { ++reports; };
    target.Assign(&source);
    QCOMPARE(Values(target), QList<int>({5, 6}));
    QCOMPARE(reports, 1);
    QVERIFY(target.Items(0) != source.Items(0));
    QCOMPARE(target.Items(1)->Collection(), &target);
    target.Assign(&target); // itself: unchanged
    QCOMPARE(Values(target), QList<int>({5, 6}));
    TValueItem stranger;
    QVERIFY_THROWS_EXCEPTION(EConvertError, target.Assign(&stranger));
    QCOMPARE(stranger.Index(), -1);
}

QTEST_GUILESS_MAIN(TestCollection)
#include "tst_collection.moc"
