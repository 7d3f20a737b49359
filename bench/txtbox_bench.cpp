// Keystrokes through the text box on the headless host, beside the host's bare field as the
// reference (the same key path with no control attached).
#include <benchmark/benchmark.h>

#include <string>

#include "hosts/headless/HeadlessHost.h"
#include "library/ClassRegistry.h"
#include "txtbox/QVtxtBoxControl.h"

namespace {

// A control with one bare text field and no handlers: the host's own cost of a keystroke.
class BareField final : public qv::Control {
  public:
    explicit BareField(qv::Host& host, bool multiLine = false) : Control(host) {
        qv::TextFieldSettings s;
        s.multiLine = multiLine;
        host.CreateTextField(u"field", -1, s);
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

// --- A key typed at the end of a text of N characters ----------------------------------------
// Args: N, multi-line (lines of 38 letters and "\r\n"). The text is put back every 64 keys,
// outside the timed region, so every key meets about N characters.

constexpr int kKeysPerReset = 64;

qv::String TextOf(int64_t n, bool multiLine) {
    qv::String s(static_cast<size_t>(n), u'x');
    if (multiLine)
        for (size_t i = 38; i + 1 < s.size(); i += 40) s[i] = u'\r', s[i + 1] = u'\n';
    return s;
}

// Types "a" at the end of the text, putting the text back every kKeysPerReset keys outside the
// timed region; then checks that one more key after a reset made the text one longer.
template <class Reset, class Length>
void TypeAtEnd(benchmark::State& state, qv::headless::Container& form, Reset reset, Length length,
               size_t textSize) {
    reset();
    int n = 0;
    for (auto _ : state) {
        form.Type(u"a");
        if (++n % kKeysPerReset == 0) {
            state.PauseTiming();
            reset();
            state.ResumeTiming();
        }
    }
    reset();
    form.Type(u"a");
    if (length() != textSize + 1) state.SkipWithError("no key went in");
    state.SetItemsProcessed(state.iterations());
}

void TextBoxKeyAt(benchmark::State& state) {
    const bool multiLine = state.range(1) != 0;
    const qv::String text = TextOf(state.range(0), multiLine);
    qv::headless::Container form;
    auto& box = form.Add<qv::QVtxtBoxControl>(u"txt");
    box.MultiLine(multiLine);
    box.events.ValidationCheck = [](bool&) {};
    box.events.Change = [] {};
    form.Focus(box);
    auto reset = [&] {
        box.Text(qv::Variant(text));
        box.SelStart(static_cast<int32_t>(text.size()));
    };
    TypeAtEnd(
        state, form, reset, [&] { return box.Field(box.ActiveFieldIndex()).Text().size(); },
        text.size());
}
BENCHMARK(TextBoxKeyAt)->ArgsProduct({{10, 1000, 100000}, {0, 1}});

void BareFieldKeyAt(benchmark::State& state) {
    const bool multiLine = state.range(1) != 0;
    const qv::String text = TextOf(state.range(0), multiLine);
    qv::headless::Container form;
    auto& bare = form.Emplace<BareField>(u"bare", nullptr, multiLine);
    form.Focus(bare);
    auto* field = form.SiteOf(bare).FindTextField(u"field");
    auto reset = [&] {
        field->Text(text);
        field->SelStart(static_cast<int32_t>(text.size()));
    };
    TypeAtEnd(
        state, form, reset, [&] { return field->Text().size(); }, text.size());
}
BENCHMARK(BareFieldKeyAt)->ArgsProduct({{10, 1000, 100000}, {0, 1}});

}  // namespace

BENCHMARK_MAIN();
