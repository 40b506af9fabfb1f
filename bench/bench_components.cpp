// Creating and naming owned components: each new one gets the first free
// automatic name, as new diagram nodes do.

#include "core/Component.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

class TBenchNode : public TComponent
{
    DX_OBJECT(TBenchNode)
public:
    using TComponent::TComponent;
};

const TClassInfo &TBenchNode::StaticClassInfo()
{
    static const TClassInfo info("TTreeNodeShape", &TComponent::StaticClassInfo());
    return info;
}

void BM_CreateAndName(benchmark::State &state)
{
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        auto owner = std::make_unique<TComponent>();
        for (int i = 0; i < count; ++i) {
            auto *c = new TBenchNode(owner.get());
            c->SetName(owner->UniqueName(c->ClassName()));
        }
        benchmark::DoNotOptimize(owner->ComponentCount());
        state.PauseTiming(); // the owner's destruction is not part of it
        owner.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_CreateAndName)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_FreeOneByOne(benchmark::State &state)
{
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto owner = std::make_unique<TComponent>();
        std::vector<TBenchNode *> nodes;
        for (int i = 0; i < count; ++i) {
            auto *c = new TBenchNode(owner.get());
            c->SetName(owner->UniqueName(c->ClassName()));
            nodes.push_back(c);
        }
        state.ResumeTiming();
        for (TBenchNode *n : nodes)
            delete n;
        state.PauseTiming();
        owner.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FreeOneByOne)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
