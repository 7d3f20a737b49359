// The observable state of a numeric box, compared and printed for the fuzz target's reports.
#pragma once

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "library/RuntimeError.h"
#include "library/Variant.h"
#include "numbox/QVnumBoxControl.h"

namespace qv_fuzz {

using namespace qv;

// UTF-8 for messages, with control characters (a NUL would cut the message short) as \xNN.
inline std::string Printable(StringView text) {
    std::string out;
    for (char16_t c : text) {
        if (c < 0x20 || c == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", static_cast<unsigned>(c));
            out += buf;
        } else {
            out += ToUtf8(StringView(&c, 1));
        }
    }
    return out;
}

inline bool SameDouble(double a, double b) {
    return a == b ? std::signbit(a) == std::signbit(b) : (std::isnan(a) && std::isnan(b));
}

inline bool SameVariant(const Variant& a, const Variant& b) {
    if (a.Type() != b.Type()) return false;
    if (a.Type() == VarType::Double || a.Type() == VarType::Single)
        return SameDouble(a.ToDouble(), b.ToDouble());
    return a == b;
}

inline bool IsTooManyPre(const RuntimeError& e) {
    return e.Number() == err::InvalidPropertyValue &&
           e.Description().find(u"pre decimal") != String::npos;
}

struct Snapshot {
    Variant value, text;
    String display, valueText, dec;
    bool isNull = false, negative = false, focus = false;
    int16_t pre = 0, post = 0;
    bool separator = false, allowMinus = false, checkRange = false, enabled = false, locked = false,
         selectOnFocus = false, mustHave = false, inclSmallest = false, inclLargest = false,
         useWarning = false;
    double smallest = 0, largest = 0;
    float fontSize = 0;
    Flat3d appearance{};
    NoneFixedSingle border{};
};

inline Snapshot Take(const QVnumBoxControl& b) {
    Snapshot s;
    s.value = b.Value();
    s.text = b.Text();
    s.display = b.DisplayText();
    s.valueText = b.ValueText();
    s.dec = b.DecimalPointCharacter();
    s.isNull = b.IsNull();
    s.negative = b.IsNegative();
    s.focus = b.HasFocus();
    s.pre = b.PreDecimalNumbers();
    s.post = b.PostDecimalNumbers();
    s.separator = b.Separator();
    s.allowMinus = b.AllowMinus();
    s.checkRange = b.CheckRange();
    s.enabled = b.Enabled();
    s.locked = b.Locked();
    s.selectOnFocus = b.SelectedOnGotFocus();
    s.mustHave = b.MustHaveValue();
    s.inclSmallest = b.IncludeSmallestValueToRange();
    s.inclLargest = b.IncludeLargestValueToRange();
    s.useWarning = b.UseWarningColor();
    s.smallest = b.SmallestValue();
    s.largest = b.LargestValue();
    s.fontSize = b.FontSize();
    s.appearance = b.Appearance();
    s.border = b.BorderStyle();
    return s;
}

// The name of the first observable difference, nullptr when there is none.
inline const char* Difference(const Snapshot& a, const Snapshot& b) {
    if (!SameVariant(a.value, b.value)) return "Value";
    if (!SameVariant(a.text, b.text)) return "Text";
    if (a.display != b.display) return "DisplayText";
    if (a.valueText != b.valueText) return "ValueText";
    if (a.isNull != b.isNull) return "IsNull";
    if (a.negative != b.negative) return "IsNegative";
    if (a.focus != b.focus) return "HasFocus";
    if (a.dec != b.dec) return "DecimalPointCharacter";
    if (a.pre != b.pre) return "PreDecimalNumbers";
    if (a.post != b.post) return "PostDecimalNumbers";
    if (a.separator != b.separator) return "Separator";
    if (a.allowMinus != b.allowMinus) return "AllowMinus";
    if (a.checkRange != b.checkRange) return "CheckRange";
    if (a.enabled != b.enabled) return "Enabled";
    if (a.locked != b.locked) return "Locked";
    if (a.selectOnFocus != b.selectOnFocus) return "SelectedOnGotFocus";
    if (a.mustHave != b.mustHave) return "MustHaveValue";
    if (a.inclSmallest != b.inclSmallest) return "IncludeSmallestValueToRange";
    if (a.inclLargest != b.inclLargest) return "IncludeLargestValueToRange";
    if (a.useWarning != b.useWarning) return "UseWarningColor";
    if (!SameDouble(a.smallest, b.smallest)) return "SmallestValue";
    if (!SameDouble(a.largest, b.largest)) return "LargestValue";
    if (!SameDouble(a.fontSize, b.fontSize)) return "FontSize";
    if (a.appearance != b.appearance) return "Appearance";
    if (a.border != b.border) return "BorderStyle";
    return nullptr;
}

inline std::string Show(const Variant& v) {
    if (v.IsNull()) return "Null";
    if (v.IsEmpty()) return "Empty";
    if (v.IsObject()) return "<object>";
    try {
        return Printable(TypeName(v)) + " \"" + Printable(v.ToString()) + "\"";
    } catch (const RuntimeError&) {
        return Printable(TypeName(v));
    }
}

inline void Print(const char* label, const Snapshot& s) {
    std::fprintf(stderr,
                 "  %s: display \"%s\" value %s text %s valueText \"%s\" null %d negative %d "
                 "focus %d pre %d post %d dec \"%s\" separator %d allowMinus %d enabled %d "
                 "locked %d\n",
                 label, Printable(s.display).c_str(), Show(s.value).c_str(), Show(s.text).c_str(),
                 Printable(s.valueText).c_str(), s.isNull, s.negative, s.focus, s.pre, s.post,
                 Printable(s.dec).c_str(), s.separator, s.allowMinus, s.enabled, s.locked);
}

[[noreturn]] inline void Fail(const char* what, const String& step, const Snapshot& before,
                              const Snapshot* after) {
    std::fprintf(stderr, "numbox_fuzz: invariant violated: %s\n  step: %s\n", what,
                 Printable(step).c_str());
    Print("before", before);
    if (after) Print("after ", *after);
    std::fflush(stderr);
    std::abort();
}

}  // namespace qv_fuzz
