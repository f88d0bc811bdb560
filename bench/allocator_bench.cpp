// The global allocator: single blocks, batches (free-list churn), heap blocks and operator
// new, on one thread and contended.
#include <benchmark/benchmark.h>

#include <vector>

#include "engine/core/AGMemory.h"

namespace {

void AllocFree(benchmark::State& state) {
    const size_t size = size_t(state.range(0));
    for (auto _ : state) {
        void* p = AllocBlock(size);
        benchmark::DoNotOptimize(p);
        FreeBlock(p);
    }
}
BENCHMARK(AllocFree)->Arg(8)->Arg(100)->Arg(248)->Arg(249)->Arg(4096)->Arg(1 << 20);
BENCHMARK(AllocFree)->Arg(100)->Arg(4096)->Threads(8)->UseRealTime();

void AllocBatchThenFree(benchmark::State& state) {
    const size_t size = size_t(state.range(0));
    std::vector<void*> blocks(1000);
    for (auto _ : state) {
        for (void*& p : blocks)
            p = AllocBlock(size);
        benchmark::DoNotOptimize(blocks.data());
        for (void* p : blocks)
            FreeBlock(p);
    }
    state.SetItemsProcessed(state.iterations() * int64_t(blocks.size()));
}
BENCHMARK(AllocBatchThenFree)->Arg(24)->Arg(200)->Arg(1000);

void NewDeleteSmallObject(benchmark::State& state) {
    struct Node {
        Node* next;
        int value[6];
    };
    for (auto _ : state) {
        Node* n = new Node{};
        benchmark::DoNotOptimize(n);
        delete n;
    }
}
BENCHMARK(NewDeleteSmallObject)->Threads(1)->Threads(8)->UseRealTime();

void Realloc(benchmark::State& state) {
    for (auto _ : state) {
        void* p = nullptr;
        for (size_t size = 16; size <= 4096; size *= 2)
            p = ReallocBlock(p, size);
        FreeBlock(p);
    }
}
BENCHMARK(Realloc);

}  // namespace

BENCHMARK_MAIN();
