// Loading form files: FormFromJson on forms of N text boxes as the library saves them, beside the
// bare JSON parse of the same bytes (the floor the loader stands on); one control with very many
// keys; and damaged files (cut inside a control, many repeated control names). All report bytes
// per second.
#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "formfile/FormFile.h"
#include "hosts/headless/HeadlessHost.h"
#include "txtbox/QVtxtBoxControl.h"

namespace {

// One text box with every key it stores, defaults included (a saved form leaves defaults out; the
// loader is measured on full records, as an older or hand-made file may hold them).
qv::FormControl SavedTextBox() {
    qv::headless::Container form;
    auto& box = form.Add<qv::QVtxtBoxControl>(u"txt");
    box.Text(u"Some text a user typed");
    qv::FormControl c;
    c.className = u"QVtxtBoxControl";
    c.width = 2400;
    c.height = 285;
    qv::MemoryPropertyBag all(false);
    form.Save(box, all);
    for (const auto& e : all.Entries()) c.properties.Set(e.key, e.value);
    return c;
}

// N text boxes named txt0, txt1, ... (or all "txt" when `sameName`), one above the other.
std::string TextBoxForm(int64_t n, bool sameName = false) {
    const qv::FormControl box = SavedTextBox();
    qv::FormDocument doc;
    doc.title = u"Bench";
    doc.controls.reserve(static_cast<size_t>(n));
    for (int64_t i = 0; i < n; ++i) {
        qv::FormControl& c = doc.controls.emplace_back(box);
        c.name = sameName ? qv::String(u"txt") : u"txt" + qv::u8s(std::to_string(i));
        c.top = static_cast<int32_t>(i % 10000) * 300;
    }
    return qv::FormToJson(doc);
}

void Load(benchmark::State& state, const std::string& file) {
    for (auto _ : state) {
        qv::FormLoadResult r = qv::FormFromJson(file);
        benchmark::DoNotOptimize(r);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.size()));
    state.counters["file_kb"] = static_cast<double>(file.size()) / 1024;
}

void FormFromJson(benchmark::State& state) {
    const std::string file = TextBoxForm(state.range(0));
    if (qv::FormFromJson(file).form.controls.size() != static_cast<size_t>(state.range(0)))
        state.SkipWithError("the form did not load whole");
    state.counters["keys_per_control"] =
        static_cast<double>(SavedTextBox().properties.Entries().size());
    Load(state, file);
}

void BareJsonParse(benchmark::State& state) {
    const std::string file = TextBoxForm(state.range(0));
    for (auto _ : state) {
        nlohmann::json tree = nlohmann::json::parse(file);
        benchmark::DoNotOptimize(tree);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.size()));
}

void FormFromJsonOneControl(benchmark::State& state) {
    qv::FormDocument doc;
    qv::FormControl& c = doc.controls.emplace_back();
    c.className = u"QVtxtBoxControl";
    c.name = u"txt";
    for (int64_t i = 0; i < state.range(0); ++i)
        c.properties.Set(u"Key" + qv::u8s(std::to_string(i)), static_cast<int32_t>(i));
    const std::string file = qv::FormToJson(doc);
    if (qv::FormFromJson(file).form.controls.at(0).properties.Entries().size() !=
        static_cast<size_t>(state.range(0)))
        state.SkipWithError("the keys did not load whole");
    Load(state, file);
}

// A file of about 750 KB (410 text boxes) cut half way, inside a control's properties.
constexpr int64_t kDamagedControls = 410;
void FormFromJsonDamagedCut(benchmark::State& state) {
    std::string file = TextBoxForm(kDamagedControls);
    file.resize(file.find("\"key\"", file.size() / 2) + 3);
    if (qv::FormFromJson(file).problems.empty()) state.SkipWithError("the cut went unnoticed");
    Load(state, file);
}

// About 750 KB whole, every control named alike: all but the first are repeats.
void FormFromJsonDamagedSameNames(benchmark::State& state) {
    const std::string file = TextBoxForm(kDamagedControls, true);
    if (qv::FormFromJson(file).form.controls.size() != 1)
        state.SkipWithError("the repeated names were not refused");
    Load(state, file);
}

}  // namespace

BENCHMARK(FormFromJson)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BareJsonParse)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(FormFromJsonOneControl)->Arg(40'000)->Unit(benchmark::kMillisecond);
BENCHMARK(FormFromJsonDamagedCut)->Unit(benchmark::kMillisecond);
BENCHMARK(FormFromJsonDamagedSameNames)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
