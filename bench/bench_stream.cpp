// Saving and loading a diagram-sized component stream: 100,000 element-like
// components, each with a one-line text and a reference to another one, as
// a diagram file holds its nodes (goal: each way within 0.5 s).

#include "StreamTestClasses.h"

#include "core/Reader.h"
#include "core/Writer.h"

#include <QBuffer>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct THost
{
    THost()
    {
        Owner = std::make_unique<TComponent>();
        Owner->SetName(QStringLiteral("TreeEditor1"));
        Diagram = new TTestDiagram(Owner.get());
    }
    std::unique_ptr<TComponent> Owner;
    TTestDiagram *Diagram;
};

std::unique_ptr<THost> MakeDiagram(int count)
{
    auto host = std::make_unique<THost>();
    TTreeNodeShape *previous = nullptr;
    for (int i = 0; i < count; ++i) {
        auto *node = new TTreeNodeShape(host->Owner.get());
        node->SetName(host->Owner->UniqueName(node->ClassName()));
        node->Text()->Lines = QStringList{QStringLiteral("Node %1").arg(i)};
        node->SetParent(previous);
        node->AttachToParent(host->Diagram);
        previous = i % 10 == 9 ? nullptr : node; // chains of ten
    }
    return host;
}


void BM_SaveDiagram(benchmark::State &state)
{
    const auto host = MakeDiagram(static_cast<int>(state.range(0)));
    qsizetype bytes = 0;
    for (auto _ : state)
        bytes = SaveStream(*host->Diagram).size();
    state.counters["bytes"] = static_cast<double>(bytes);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SaveDiagram)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_LoadDiagram(benchmark::State &state)
{
    RegisterStreamTestClasses();
    const QByteArray stream = SaveStream(*MakeDiagram(static_cast<int>(state.range(0)))->Diagram);
    for (auto _ : state) {
        state.PauseTiming();
        auto host = std::make_unique<THost>();
        QBuffer in;
        in.setData(stream);
        in.open(QIODevice::ReadOnly);
        state.ResumeTiming();
        TReader reader(in);
        reader.SetOwner(host->Owner.get());
        reader.ReadSignature();
        reader.ReadRootComponent(*host->Diagram);
        benchmark::DoNotOptimize(host->Diagram->Nodes.size());
        state.PauseTiming(); // freeing the diagram is not part of loading
        host.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadDiagram)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
