// The list model's find-prefix (one completion keystroke) on 10,000 to 1,000,000 items, beside
// std::lower_bound on a sorted vector of case-folded keys, the reference; and the index's bytes
// beside the bytes of the item texts.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "library/CaseFold.h"
#include "library/ItemList.h"

namespace {

// Name-like texts: a capital, then lower-case letters and digits, 6 to 14 characters.
std::vector<qv::String> Names(int64_t n) {
    std::mt19937 rng(7);
    std::vector<qv::String> names;
    names.reserve(static_cast<size_t>(n));
    for (int64_t i = 0; i < n; ++i) {
        qv::String s(1, static_cast<char16_t>(u'A' + rng() % 26));
        for (int k = 5 + static_cast<int>(rng() % 9); k > 0; --k)
            s += static_cast<char16_t>(k % 4 == 0 ? u'0' + rng() % 10 : u'a' + rng() % 26);
        names.push_back(std::move(s));
    }
    return names;
}

// The prefixes typed: the first 3 characters of random items, in lower case.
std::vector<qv::String> Prefixes(const std::vector<qv::String>& names) {
    std::mt19937 rng(11);
    std::vector<qv::String> out;
    for (int i = 0; i < 1024; ++i)
        out.push_back(qv::Folded(names[rng() % names.size()].substr(0, 3)));
    return out;
}

// start 0 (completion) on a list in random order (range(1) = 0), or a random start item on a
// list in folded order (range(1) = 1), as the initials of a drop-down list search.
void ItemListFindPrefix(benchmark::State& state) {
    std::vector<qv::String> names = Names(state.range(0));
    const bool sorted = state.range(1) == 1;
    if (sorted)
        std::sort(names.begin(), names.end(), [](const qv::String& a, const qv::String& b) {
            return qv::CompareFolded(a, b) < 0;
        });
    const std::vector<qv::String> prefixes = Prefixes(names);
    qv::ItemList list;
    size_t textBytes = 0;
    for (const qv::String& s : names) {
        textBytes += s.size() * sizeof(char16_t);
        list.Insert(s);
    }
    (void)list.FindPrefix(u"x", 0);  // builds the index outside the timed region
    std::mt19937 rng(3);
    size_t i = 0;
    for (auto _ : state) {
        const int32_t start = sorted ? static_cast<int32_t>(rng() % names.size()) : 0;
        benchmark::DoNotOptimize(list.FindPrefix(prefixes[i++ & 1023], start));
    }
    state.counters["index_bytes_per_text_byte"] =
        static_cast<double>(list.IndexBytes()) / static_cast<double>(textBytes);
}
BENCHMARK(ItemListFindPrefix)
    ->ArgsProduct({{10000, 100000, 1000000}, {0, 1}})
    ->ArgNames({"items", "sorted"});

void FoldedLowerBound(benchmark::State& state) {
    const std::vector<qv::String> names = Names(state.range(0));
    std::vector<qv::String> keys;
    for (const qv::String& s : names) keys.push_back(qv::Folded(s));
    std::sort(keys.begin(), keys.end());
    const std::vector<qv::String> prefixes = Prefixes(names);
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(std::lower_bound(keys.begin(), keys.end(), prefixes[i++ & 1023]));
}
BENCHMARK(FoldedLowerBound)->Arg(10000)->Arg(100000)->Arg(1000000)->ArgName("items");

}  // namespace

BENCHMARK_MAIN();
