// Keystrokes through the text box on the headless host, beside the host's bare field as the
// reference (the same key path with no control attached).
#include <benchmark/benchmark.h>

#include "hosts/headless/HeadlessHost.h"
#include "library/ClassRegistry.h"
#include "txtbox/QVtxtBoxControl.h"

namespace {

// A control with one bare text field and no handlers: the host's own cost of a keystroke.
class BareField final : public qv::Control {
public:
    explicit BareField(qv::Host& host) : Control(host) {
        host.CreateTextField(u"field", -1, {});
    }
    void UserControl_InitProperties() override {}
    void UserControl_ReadProperties(qv::PropertyBag&) override {}
    void UserControl_WriteProperties(qv::PropertyBag&) override {}
    const qv::ClassInfo& Class() const override { return *qv::FindClass(u"QVtxtBoxControl"); }
    const qv::MemberTable& Members() const override { return qv::QVtxtBoxControl::MemberTableOf(); }
};

void TextBoxKey(benchmark::State& state) {
    qv::headless::Container form;
    auto& box = form.Add<qv::QVtxtBoxControl>(u"txt");
    box.events.ValidationCheck = [](bool&) {};
    box.events.Change = [] {};
    form.Focus(box);
    for (auto _ : state) {
        form.Type(u"a");
        if (box.Field(0).Text().size() > 64) {
            state.PauseTiming();
            box.Field(0).Text(qv::String());
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(TextBoxKey);

void BareFieldKey(benchmark::State& state) {
    qv::headless::Container form;
    auto& bare = form.Add<BareField>(u"bare");
    form.Focus(bare);
    auto* field = form.SiteOf(bare).FindTextField(u"field");
    for (auto _ : state) {
        form.Type(u"a");
        if (field->Text().size() > 64) {
            state.PauseTiming();
            field->Text(qv::String());
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BareFieldKey);

}  // namespace

BENCHMARK_MAIN();
