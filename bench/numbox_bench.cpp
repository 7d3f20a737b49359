// Keystrokes through the numeric box on the headless host, beside the text box with the same key
// mix as the reference; one layout pass of each (the container resizing the control); and the heap
// bytes each keeps once placed.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <new>
#include <string>

#include "hosts/headless/HeadlessHost.h"
#include "numbox/QVnumBoxControl.h"
#include "txtbox/QVtxtBoxControl.h"

// Heap bytes in use, counted by the replaced global allocation functions: each block carries its
// size in front. (The aligned forms are left alone; they pair among themselves.)
namespace {
int64_t gHeapBytes = 0;
constexpr std::size_t kHeader = alignof(std::max_align_t);
}  // namespace

void* operator new(std::size_t n) {
    void* p = std::malloc(n + kHeader);
    if (!p) throw std::bad_alloc();
    *static_cast<std::size_t*>(p) = n;
    gHeapBytes += static_cast<int64_t>(n);
    return static_cast<char*>(p) + kHeader;
}
void operator delete(void* q) noexcept {
    if (!q) return;
    void* p = static_cast<char*>(q) - kHeader;
    gHeapBytes -= static_cast<int64_t>(*static_cast<std::size_t*>(p));
    std::free(p);
}
void operator delete(void* q, std::size_t) noexcept {
    operator delete(q);
}

namespace {

// Four digits, then four Backspaces: the box is empty again after each round, so every round
// does the same work (key down, character, change with ValidationCheck and recolour, key up).
constexpr char16_t kKeys[] = u"1234\b\b\b\b";
constexpr int64_t kKeysPerRound = 8;

template <class Box>
void Keys(benchmark::State& state) {
    qv::headless::Container form;
    auto& box = form.Add<Box>(u"box");
    box.events.ValidationCheck = [](bool&) {};
    box.events.Change = [] {};
    form.Focus(box);
    for (auto _ : state) {
        form.Type(kKeys);
        // The host logs every property-changed notice (the numeric box sends two per committed
        // key); an ever-growing log would measure its reallocations instead of the control.
        form.ClearPropertyChanges();
    }
    state.SetItemsProcessed(state.iterations() * kKeysPerRound);
}

void NumBoxKeys(benchmark::State& state) {
    Keys<qv::QVnumBoxControl>(state);
}
BENCHMARK(NumBoxKeys);

void TextBoxKeys(benchmark::State& state) {
    Keys<qv::QVtxtBoxControl>(state);
}
BENCHMARK(TextBoxKeys);

// Alternates between two widths so that no pass can be skipped as a repeat.
template <class Box>
void Layout(benchmark::State& state) {
    qv::headless::Container form;
    auto& box = form.Add<Box>(u"box");
    box.events.ValidationCheck = [](bool&) {};
    qv::headless::Site& site = form.SiteOf(box);
    int32_t width = 1500;
    for (auto _ : state) {
        width = width == 1500 ? 1515 : 1500;
        site.Resize(width, site.Height());
    }
    state.SetItemsProcessed(state.iterations());
}

void NumBoxLayout(benchmark::State& state) {
    Layout<qv::QVnumBoxControl>(state);
}
BENCHMARK(NumBoxLayout);

void TextBoxLayout(benchmark::State& state) {
    Layout<qv::QVtxtBoxControl>(state);
}
BENCHMARK(TextBoxLayout);

// What a placed control keeps on the heap before any text: the control, its site and widgets, as
// Container::Add leaves them (with the container's share of its lists). Reported as the counter
// "bytes"; each iteration places one more control on the same form.
template <class Box>
void Bytes(benchmark::State& state) {
    qv::headless::Container form;
    int64_t kept = 0, i = 0;
    for (auto _ : state) {
        const qv::String name = u"box" + qv::FromUtf8(std::to_string(i++));
        const int64_t before = gHeapBytes;
        benchmark::DoNotOptimize(&form.Add<Box>(name));
        kept += gHeapBytes - before;
    }
    state.counters["bytes"] =
        static_cast<double>(kept) / static_cast<double>(std::max<int64_t>(state.iterations(), 1));
}

void NumBoxBytes(benchmark::State& state) {
    Bytes<qv::QVnumBoxControl>(state);
}
BENCHMARK(NumBoxBytes)->Iterations(2000);

void TextBoxBytes(benchmark::State& state) {
    Bytes<qv::QVtxtBoxControl>(state);
}
BENCHMARK(TextBoxBytes)->Iterations(2000);

}  // namespace

BENCHMARK_MAIN();
