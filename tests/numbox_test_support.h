// Shared pieces of the numeric box tests: a form with one box, an event recorder, key strings
// and error details.
#pragma once

#include <gtest/gtest.h>
#include "error_of.h"

#include <algorithm>
#include <span>
#include <vector>

#include "hosts/headless/HeadlessHost.h"
#include "library/Keyboard.h"
#include "library/RuntimeError.h"
#include "numbox/QVnumBoxControl.h"

namespace numbox_test {

using qv::Color;
using qv::QVnumBoxControl;
using qv::String;
using qv::Variant;
using qv::headless::Container;
using Names = std::vector<String>;

using qv_test::ErrorOf;

inline String Show(const Variant& v) {
    return v.IsNull() ? String(u"<Null>") : v.ToString();
}

// Property names of the notices sent since the last ClearPropertyChanges.
inline Names Notices(const Container& form) {
    Names names;
    for (const auto& c : form.PropertyChanges()) names.push_back(c.property);
    return names;
}
// The names sorted, each once.
inline Names Distinct(Names names) {
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
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
    void Clear() {
        names.clear();
        firstArgs.clear();
    }
    Names names;
    std::vector<Variant> firstArgs;
};

// The error `f` raises, all of it; number 0 when it raises none.
struct Raised {
    int32_t number = 0;
    String source, description;
    friend bool operator==(const Raised&, const Raised&) = default;
};
template <class F>
Raised RaisedBy(F&& f) {
    try {
        f();
    } catch (const qv::RuntimeError& e) {
        return {e.Number(), e.Source(), e.Description()};
    }
    return {};
}
inline const Raised kTooManyPre{380, u"QVNumBoxControl", u"Too many pre decimal numbers!"};

inline void PrintTo(const Raised& r, std::ostream* os) {
    *os << r.number << " " << qv::ToUtf8(r.source) << ": " << qv::ToUtf8(r.description);
}

// Presses the keys of a key string ("12,5", "^c", "+{HOME}", "{DEL}", "~") one by one.
inline void Press(Container& form, qv::StringView keys) {
    for (const qv::KeyStroke& k : qv::ParseKeys(keys)) form.PressKey(k.keyCode, k.shift);
}

// Everything the user sees of the number and everything a program reads of it.
struct State {
    String display, text, value;
    bool isNull;
    friend bool operator==(const State&, const State&) = default;
};
inline State StateOf(const QVnumBoxControl& b) {
    return {b.DisplayText(), Show(b.Text()), Show(b.Value()), b.IsNull()};
}
inline void PrintTo(const State& s, std::ostream* os) {
    *os << "display \"" << qv::ToUtf8(s.display) << "\" Text " << qv::ToUtf8(s.text) << " Value "
        << qv::ToUtf8(s.value) << (s.isNull ? " (null)" : "");
}

// A form at run time with one newly placed numeric box of 1500 × 300 twips.
class NumBoxTest : public ::testing::Test {
  protected:
    Container form;
    QVnumBoxControl& box = form.Add<QVnumBoxControl>(u"numTest");
    EventLog log;
};

}  // namespace numbox_test
