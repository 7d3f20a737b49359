// Keystrokes through the numeric box on the headless host, beside the text box with the same key
// mix as the reference; and one layout pass of each (the container resizing the control).
#include <benchmark/benchmark.h>

#include "hosts/headless/HeadlessHost.h"
#include "numbox/QVnumBoxControl.h"
#include "txtbox/QVtxtBoxControl.h"

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

}  // namespace

BENCHMARK_MAIN();
