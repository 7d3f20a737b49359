// Typed digits through the date box on the headless host, beside the text box typing the same
// digits as the reference; and the heap bytes each keeps once placed.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <new>
#include <string>
#include <string_view>

#include "datebox/QVDateBoxControl.h"
#include "hosts/headless/HeadlessHost.h"
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

// Eight valid dates as a day-month-year box takes them, eight digits each (it supplies the
// separators): leap days, month ends and both ends of its years, so that the parser's checks
// all run.
constexpr std::u16string_view kDigits =
    u"05122024"
    u"29022024"
    u"31121999"
    u"17061987"
    u"01011900"
    u"30112099"
    u"28021900"
    u"15081945";
constexpr size_t kDigitsPerDate = 8;

// Types one digit per iteration; after each whole date the box is emptied with the clock
// stopped, so only the keys are timed and every date starts from an empty box.
template <class Box, class Clear>
void TypeDigits(benchmark::State& state, qv::headless::Container& form, Clear clear) {
    size_t i = 0;
    for (auto _ : state) {
        form.Type(kDigits.substr(i, 1));
        if (++i % kDigitsPerDate == 0) {
            state.PauseTiming();
            clear();
            // The host logs every property-changed notice (the date box sends five per digit);
            // an ever-growing log would measure its reallocations instead of the control.
            form.ClearPropertyChanges();
            if (i == kDigits.size()) i = 0;
            state.ResumeTiming();
        }
    }
    clear();
    state.SetItemsProcessed(state.iterations());
}

void DateBoxDigit(benchmark::State& state) {
    qv::headless::Container form;
    auto& box = form.Add<qv::QVDateBoxControl>(u"date");
    box.events.ValidationCheck = [](bool&) {};
    box.events.Change = [] {};
    form.Focus(box);
    TypeDigits<qv::QVDateBoxControl>(state, form, [&] { box.Text(qv::Variant::Null()); });
    // The keys made dates: the last one typed again must read as that date.
    form.Type(kDigits.substr(0, kDigitsPerDate));
    if (box.Text().ToString() != u"05.12.2024" || box.DDate().IsNull())
        state.SkipWithError("the digits did not make a date");
}
BENCHMARK(DateBoxDigit);

// The reference: the same digits typed into a text box, emptied as often.
void TextBoxDigit(benchmark::State& state) {
    qv::headless::Container form;
    auto& box = form.Add<qv::QVtxtBoxControl>(u"txt");
    box.events.ValidationCheck = [](bool&) {};
    box.events.Change = [] {};
    form.Focus(box);
    TypeDigits<qv::QVtxtBoxControl>(state, form, [&] { box.Text(qv::String()); });
    form.Type(kDigits.substr(0, kDigitsPerDate));
    if (box.Field(box.ActiveFieldIndex()).Text() != kDigits.substr(0, kDigitsPerDate))
        state.SkipWithError("the digits did not go in");
}
BENCHMARK(TextBoxDigit);

// What stopping and starting the clock once a date adds to each key of the two above: the same
// loop with no keys.
void ClockStopsAlone(benchmark::State& state) {
    size_t i = 0;
    for (auto _ : state) {
        benchmark::ClobberMemory();
        if (++i % kDigitsPerDate == 0) {
            state.PauseTiming();
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ClockStopsAlone);

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

void DateBoxBytes(benchmark::State& state) {
    Bytes<qv::QVDateBoxControl>(state);
}
BENCHMARK(DateBoxBytes)->Iterations(2000);

void TextBoxBytes(benchmark::State& state) {
    Bytes<qv::QVtxtBoxControl>(state);
}
BENCHMARK(TextBoxBytes)->Iterations(2000);

}  // namespace

BENCHMARK_MAIN();
