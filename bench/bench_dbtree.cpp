// A tree built from a code/parent table of 100,000 rows in an SQLite file
// and laid out (goal: 2 s), the same with the wizard's progress window
// told of every record, and the same rows grouped by a field.

#include "dbtree/KorDBTre.h"
#include "dialogs/KorPrompts.h"

#include <QApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>
#include <benchmark/benchmark.h>

namespace {

// Rows 1..count; each row's parent is an earlier row, a tree about
// log(count) deep with uneven fan-out.
QString MakeDatabase(const QTemporaryDir &dir, int count)
{
    const QString path = dir.filePath(QStringLiteral("bench.sqlite"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench-setup"));
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q(db);
        q.exec(QStringLiteral("CREATE TABLE t (code integer, parent integer, name varchar(30), kind varchar(10))"));
        db.transaction();
        q.prepare(QStringLiteral("INSERT INTO t VALUES (?, ?, ?, ?)"));
        for (int i = 1; i <= count; ++i) {
            q.addBindValue(i);
            q.addBindValue(i == 1 ? 0 : 1 + (i * 7919) % (i - 1));
            q.addBindValue(QStringLiteral("Record %1").arg(i));
            q.addBindValue(QStringLiteral("kind %1").arg(i % 50));
            q.exec();
        }
        db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-setup"));
    return path;
}

void Build(benchmark::State &state, bool grouped, bool progress = false)
{
    QTemporaryDir dir;
    const int count = static_cast<int>(state.range(0));
    const QString path = MakeDatabase(dir, count);
    RegisterDBTreeClasses();
    for (auto _ : state) {
        TComponent owner;
        auto tree = std::make_unique<TDBTree>(&owner);
        tree->SetNoOwnerShapes(false);
        auto *d = new TTreeDataSet(&owner);
        d->SetName(QStringLiteral("Table1"));
        TTreeDatabase database;
        database.DatabaseName = path;
        d->SetDatabase(database);
        d->SetTableName(QStringLiteral("t"));
        d->Open();
        tree->SetDataSet(d);
        tree->SetTextFields(QStringLiteral("name"));
        if (grouped) {
            tree->SetParentField(QStringLiteral("kind"));
        } else {
            tree->SetCodeField(QStringLiteral("code"));
            tree->SetParentField(QStringLiteral("parent"));
        }
        if (progress) {
            TDialogPrompts prompts;
            const std::unique_ptr<TKorProgress> window = prompts.Progress(
                nullptr, QStringLiteral("Building"), [](int done, int total) { return QStringLiteral("%1 of %2").arg(done).arg(total); });
            tree->Refresh([&window](int done, int total) { return window->Step(done, total); });
        } else {
            tree->Refresh();
        }
        tree->ExpandAll(true);
        tree->LayoutShapes();
        benchmark::DoNotOptimize(tree->ShapeExtent());
        state.PauseTiming();
        tree.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * count);
}

void BM_CodeParentTable(benchmark::State &state) { Build(state, false); }
void BM_GroupedTable(benchmark::State &state) { Build(state, true); }
void BM_CodeParentTableWithProgress(benchmark::State &state) { Build(state, false, true); }

} // namespace

BENCHMARK(BM_CodeParentTable)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_CodeParentTableWithProgress)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_GroupedTable)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
