// The observable state of a numeric box, compared and printed for the fuzz target's reports.
#pragma once

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "library/RuntimeError.h"
#include "library/Variant.h"
#include "numbox/NumberText.h"
#include "numbox/QVnumBoxControl.h"

namespace qv_fuzz {

using namespace qv;

// The properties the target writes (by late binding) and compares, each with the kind of value
// a typed write makes (see Reader::Make): i small integer, l long, n double, f single,
// s string, b boolean, v any variant.
struct Prop {
    const char16_t* name;
    char kind;
};
// clang-format off
inline constexpr Prop kProps[] = {
    {u"PreDecimalNumbers", 'i'}, {u"PostDecimalNumbers", 'i'}, {u"DecimalPointCharacter", 's'},
    {u"Separator", 'b'}, {u"AllowMinus", 'b'}, {u"SmallestValue", 'n'}, {u"LargestValue", 'n'},
    {u"CheckRange", 'b'}, {u"Value", 'v'}, {u"Text", 'v'}, {u"Enabled", 'b'}, {u"Locked", 'b'},
    {u"SelectedOnGotFocus", 'b'}, {u"MustHaveValue", 'b'}, {u"IncludeSmallestValueToRange", 'b'},
    {u"IncludeLargestValueToRange", 'b'}, {u"UseWarningColor", 'b'}, {u"FontSize", 'f'},
    {u"Appearance", 'i'}, {u"BorderStyle", 'i'}, {u"BackColor", 'l'}, {u"FocusColor", 'l'},
    {u"MousePointer", 'i'}, {u"FontName", 's'}, {u"FontBold", 'b'}};
// clang-format on
inline constexpr size_t kPropCount = std::size(kProps);
inline constexpr size_t kValueIndex = 8, kTextIndex = 9;

struct Snapshot {
    String display, valueText;
    String preDigits, postDigits;  // of the display, read with its decimal character
    bool isNull = false, negative = false, focus = false;
    int maxPre = 0, maxPost = 0;
    bool allowMinus = false;
    std::vector<Variant> props{};  // kProps in order
};

inline Snapshot Take(QVnumBoxControl& b) {
    // The getters looked up once: lookups by name would take a third of the fuzzer's time.
    static const std::vector<const Member*> getters = [] {
        std::vector<const Member*> g;
        for (const Prop& p : kProps) g.push_back(QVnumBoxControl::MemberTableOf().Find(p.name));
        return g;
    }();
    const String& d = b.DisplayText();
    const char16_t dec = b.DecimalPointCharacter().empty() ? u',' : b.DecimalPointCharacter()[0];
    const numtext::Chars c{dec, dec == u'.' ? u',' : u'.'};
    // clang-format off
    Snapshot s{d, b.ValueText(), numtext::PreDecimalDigits(d, c), numtext::PostDecimalDigits(d, c),
               b.IsNull(), b.IsNegative(), b.HasFocus(), b.PreDecimalNumbers(),
               b.PostDecimalNumbers(), b.AllowMinus()};
    // clang-format on
    for (const Member* m : getters) s.props.push_back(m->get(b));
    return s;
}

// The name of the first observable difference, "" when there is none.
inline std::string Difference(const Snapshot& a, const Snapshot& b) {
    if (a.display != b.display) return "DisplayText";
    if (a.valueText != b.valueText) return "ValueText";
    if (a.isNull != b.isNull || a.negative != b.negative || a.focus != b.focus)
        return "IsNull, IsNegative or HasFocus";
    for (size_t i = 0; i < kPropCount; ++i)
        if (!SameVariant(a.props[i], b.props[i])) return ToUtf8(kProps[i].name);
    return {};
}

[[noreturn]] inline void Fail(const std::string& what, const std::string& step,
                              const Snapshot& before, const Snapshot* after) {
    std::fprintf(stderr, "numbox_fuzz: invariant violated: %s\n  step: %s\n", what.c_str(),
                 step.c_str());
    for (const Snapshot* s : {&before, after}) {
        if (!s) continue;
        std::fprintf(stderr,
                     "  %s: display \"%s\" valueText \"%s\" null %d negative %d focus %d\n   ",
                     s == &before ? "before" : "after", Printable(s->display).c_str(),
                     Printable(s->valueText).c_str(), s->isNull, s->negative, s->focus);
        for (size_t i = 0; i < kPropCount; ++i)
            std::fprintf(stderr, " %s=%s", ToUtf8(kProps[i].name).c_str(),
                         Show(s->props[i]).c_str());
        std::fprintf(stderr, "\n");
    }
    std::abort();
}

}  // namespace qv_fuzz
