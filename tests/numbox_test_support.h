// Shared pieces of the numeric box tests: a form with one box, an event recorder, key strings
// and error details.
#pragma once

#include <gtest/gtest.h>
#include "error_of.h"

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "hosts/headless/HeadlessHost.h"
#include "library/Keyboard.h"
#include "library/RuntimeError.h"
#include "numbox/QVnumBoxControl.h"

namespace numbox_test {

using qv::QVnumBoxControl;
using qv::String;
using qv::Variant;
using qv::headless::Container;
using qv_test::ErrorOf;
using Names = std::vector<String>;

inline String Show(const Variant& v) {
    return v.IsNull() ? String(u"<Null>") : v.ToString();
}

// Property names of the notices sent since the last ClearPropertyChanges.
inline Names Notices(const Container& form) {
    Names names;
    for (const auto& c : form.PropertyChanges()) names.push_back(c.property);
    return names;
}

// The events a control raised, in order, each with its first argument (Empty when it has none).
struct EventLog {
    void Attach(qv::Control& control) {
        control.SetEventListener([this](qv::StringView name, std::span<const Variant> args) {
            names.emplace_back(name);
            firstArgs.push_back(args.empty() ? Variant() : args[0]);
        });
    }
    int Count(qv::StringView name) const {
        return static_cast<int>(std::count(names.begin(), names.end(), String(name)));
    }
    void Clear() { names.clear(), firstArgs.clear(); }
    Names names;
    std::vector<Variant> firstArgs;
};

// The error `f` raises as "number source: description"; "" when it raises none.
template <class F>
std::string RaisedBy(F&& f) {
    try {
        f();
    } catch (const qv::RuntimeError& e) {
        return std::to_string(e.Number()) + " " + qv::ToUtf8(e.Source() + u": " + e.Description());
    }
    return "";
}
inline const std::string kTooManyPre = "380 QVNumBoxControl: Too many pre decimal numbers!";

// Presses the keys of a key string ("12,5", "^c", "+{HOME}", "{DEL}", "~") one by one.
inline void Press(Container& form, qv::StringView keys) {
    for (const qv::KeyStroke& k : qv::ParseKeys(keys)) form.PressKey(k.keyCode, k.shift);
}

// Everything the user sees of the number and everything a program reads of it:
// "display | Text | Value", with " null" when the box is empty.
inline std::string StateOf(const QVnumBoxControl& b) {
    return qv::ToUtf8(b.DisplayText() + u" | " + Show(b.Text()) + u" | " + Show(b.Value())) +
           (b.IsNull() ? " null" : "");
}

// Limits and characters a case sets before it acts.
struct Limits {
    int16_t pre = 7, post = 2;
    bool separator = true, allowMinus = false;
    const char16_t* dec = u",";
};

// A new box on a form of its own: the limits set, then the start value (unless Empty) written
// and, when asked, the focus given.
struct Boxed {
    Container form;
    QVnumBoxControl& b = form.Add<QVnumBoxControl>(u"num");
    explicit Boxed(const Limits& s = {}, const Variant& start = {}, bool focus = false) {
        b.PreDecimalNumbers(s.pre);
        b.PostDecimalNumbers(s.post);
        b.Separator(s.separator);
        b.AllowMinus(s.allowMinus);
        b.DecimalPointCharacter(s.dec);
        if (!start.IsEmpty()) b.Value(start);
        if (focus) form.Focus(b);
    }
};

// A form at run time with one newly placed numeric box of 1500 × 300 twips.
class NumBoxTest : public ::testing::Test {
  protected:
    Container form;
    QVnumBoxControl& box = form.Add<QVnumBoxControl>(u"numTest");
    EventLog log;
};

}  // namespace numbox_test
