// Meta tree costs at the sizes a large model brings: building, searching,
// copying and deleting a tree of about a million nodes, and indexed access
// to a long list of repeated items. The rescanning child walk is the
// baseline the positional cache is measured against.
#include "metatree/metaObjKeyContainer.h"
#include "metatree/treeSearch.h"
#include "metatree/treeStamp.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kFanOut = 10;
constexpr int kLevels = 6;  // 1 + 10 + ... + 10^6 = 1 111 111 nodes

const char* const kKeys[kFanOut] = {"K0", "K1", "K2", "K3", "K4", "K5", "K6", "K7", "K8", "K9"};

void grow(metaTreeC* node, int levels) {
    if (levels == 0)
        return;
    for (const char* key : kKeys)
        grow(node->addKey(key), levels - 1);
}

metaTreeC* bigTree() {
    metaTreeC* root = createKeyNode("ROOT");
    grow(root, kLevels);
    return root;
}

constexpr int64_t kBigTreeNodes = 1111111;

void BM_BuildTree(benchmark::State& state) {
    for (auto _ : state) {
        metaTreeC* root = bigTree();
        state.PauseTiming();
        delete root;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kBigTreeNodes);
}

void BM_DeleteTree(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        metaTreeC* root = bigTree();
        state.ResumeTiming();
        delete root;
    }
    state.SetItemsProcessed(state.iterations() * kBigTreeNodes);
}

void BM_SearchTree(benchmark::State& state) {
    metaTreeC* root = bigTree();
    for (auto _ : state)
        benchmark::DoNotOptimize(findKey(root, "ABSENT", -1));  // visits every node
    state.SetItemsProcessed(state.iterations() * kBigTreeNodes);
    delete root;
}

void BM_CopyTree(benchmark::State& state) {
    metaTreeC* root = bigTree();
    for (auto _ : state) {
        metaTreeC* copy = root->copyTree();
        state.PauseTiming();
        delete copy;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kBigTreeNodes);
    delete root;
}

metaObjKeyContainerC itemList(int64_t n) {
    metaObjKeyContainerC list(createKeyNode("LIST"), true);
    list.ensureItems("ITEM", static_cast<int32_t>(n));
    return list;
}

// Every item by index, starting from an outdated cache each time.
void BM_ItemAtAll(benchmark::State& state) {
    metaObjKeyContainerC list = itemList(state.range(0));
    const int32_t n = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        bumpTreeStamp();
        for (int32_t i = 0; i < n; ++i)
            benchmark::DoNotOptimize(list.itemAt(i, "ITEM"));
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The same access without the cache: each index walks the list again.
void BM_ChildAtAll(benchmark::State& state) {
    metaObjKeyContainerC list = itemList(state.range(0));
    const int32_t n = static_cast<int32_t>(state.range(0));
    for (auto _ : state)
        for (int32_t i = 0; i < n; ++i)
            benchmark::DoNotOptimize(list.childAt(i));
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Growing a list one item at a time.
void BM_AddItems(benchmark::State& state) {
    const int64_t n = state.range(0);
    for (auto _ : state) {
        metaObjKeyContainerC list(createKeyNode("LIST"), true);
        for (int64_t i = 0; i < n; ++i)
            list.addItem("ITEM");
    }
    state.SetComplexityN(n);
    state.SetItemsProcessed(state.iterations() * n);
}

}  // namespace

BENCHMARK(BM_BuildTree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteTree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchTree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyTree)->Unit(benchmark::kMillisecond);
// The fitted curve and its RMS show the growth: linear for the cached
// access and for appends, quadratic for the rescanning baseline.
BENCHMARK(BM_ItemAtAll)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oN);
BENCHMARK(BM_ChildAtAll)->Arg(1000)->Arg(10000)->Arg(30000)->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oNSquared);
BENCHMARK(BM_AddItems)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oN);

BENCHMARK_MAIN();
