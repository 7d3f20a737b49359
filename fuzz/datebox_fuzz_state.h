// The observable state of a date box, compared and printed for the fuzz target's reports.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "datebox/QVDateBoxControl.h"
#include "fuzz/fuzz_support.h"
#include "library/Variant.h"

namespace qv_fuzz {

using namespace qv;

// The properties the target writes (by late binding) and compares, each with the kind of value
// a typed write makes (see Reader::Make): T a text value, D a date value, S a date string,
// e a date format (-1..3), a an appearance or border style (-1..2), p a separator string,
// b boolean, v any variant.
struct Prop {
    const char16_t* name;
    char kind;
};
// clang-format off
inline constexpr Prop kProps[] = {
    {u"Text", 'T'}, {u"DDate", 'D'}, {u"DateDMY", 'S'}, {u"DateMDY", 'S'}, {u"DateYMD", 'S'},
    {u"DateFormat", 'e'}, {u"SeparatorDMY", 'p'}, {u"SeparatorMDY", 'p'}, {u"SeparatorYMD", 'p'},
    {u"SmallestValue", 'D'}, {u"LargestValue", 'D'}, {u"CheckRange", 'b'},
    {u"IncludeSmallestValueToRange", 'b'}, {u"IncludeLargestValueToRange", 'b'},
    {u"Appearance", 'a'}, {u"BorderStyle", 'a'}, {u"MustHaveValue", 'b'}, {u"Enabled", 'b'},
    {u"Locked", 'b'}, {u"SelectedOnGotFocus", 'b'}, {u"UseWarningColor", 'b'}};
// clang-format on
inline constexpr size_t kPropCount = std::size(kProps);
inline constexpr size_t kTextIndex = 0, kDDateIndex = 1;

struct Snapshot {
    String fields[3];
    int16_t active = 0;
    int32_t selStart = 0, selLength = 0;  // the visible field's
    bool focus = false;
    Color colour = 0;              // the control's own background
    Color fieldColours[3] = {};    // each field's
    std::vector<Variant> props{};  // kProps in order
};

inline Snapshot Take(QVDateBoxControl& b, Color siteColour) {
    // The getters looked up once: lookups by name would take much of the fuzzer's time.
    static const std::vector<const Member*> getters = [] {
        std::vector<const Member*> g;
        for (const Prop& p : kProps) g.push_back(QVDateBoxControl::MemberTableOf().Find(p.name));
        return g;
    }();
    Snapshot s;
    for (int16_t i = 0; i < 3; ++i) {
        s.fields[i] = b.Field(i).Text();
        s.fieldColours[i] = b.Field(i).BackColor();
    }
    s.active = b.ActiveFieldIndex();
    s.selStart = b.Field(s.active).SelStart();
    s.selLength = b.Field(s.active).SelLength();
    s.focus = b.HasFocus();
    s.colour = siteColour;
    s.props.reserve(kPropCount);
    for (const Member* m : getters) s.props.push_back(m->get(b));
    return s;
}

// The name of the first observable difference, "" when there is none.
inline std::string Difference(const Snapshot& a, const Snapshot& b) {
    for (int i = 0; i < 3; ++i) {
        if (a.fields[i] != b.fields[i]) return "the text of field " + std::to_string(i);
        if (a.fieldColours[i] != b.fieldColours[i])
            return "the colour of field " + std::to_string(i);
    }
    if (a.active != b.active) return "the active field";
    if (a.selStart != b.selStart || a.selLength != b.selLength) return "the selection";
    if (a.focus != b.focus) return "HasFocus";
    if (a.colour != b.colour) return "the control's colour";
    for (size_t i = 0; i < kPropCount; ++i)
        if (!SameVariant(a.props[i], b.props[i])) return ToUtf8(kProps[i].name);
    return {};
}

[[noreturn]] inline void Fail(const std::string& what, const std::string& step,
                              const Snapshot& before, const Snapshot* after) {
    std::fprintf(stderr, "datebox_fuzz: invariant violated: %s\n  step: %s\n", what.c_str(),
                 step.c_str());
    for (const Snapshot* s : {&before, after}) {
        if (!s) continue;
        std::fprintf(
            stderr,
            "  %s: fields \"%s\" \"%s\" \"%s\" active %d sel %d+%d focus %d colour %08X\n   ",
            s == &before ? "before" : "after", Printable(s->fields[0]).c_str(),
            Printable(s->fields[1]).c_str(), Printable(s->fields[2]).c_str(), s->active,
            s->selStart, s->selLength, s->focus, static_cast<unsigned>(s->colour));
        for (size_t i = 0; i < kPropCount; ++i)
            std::fprintf(stderr, " %s=%s", ToUtf8(kProps[i].name).c_str(),
                         Show(s->props[i]).c_str());
        std::fprintf(stderr, "\n");
    }
    std::abort();
}

}  // namespace qv_fuzz
