// What every control test uses: error numbers and texts, value display, notice names, an event
// recorder and key strings.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "hosts/headless/HeadlessHost.h"
#include "library/Control.h"
#include "library/Keyboard.h"
#include "library/RuntimeError.h"

namespace qv_test {

using Names = std::vector<qv::String>;

// The number of the qv::RuntimeError `f` raises; 0 when it raises none.
template <class F>
int32_t ErrorOf(F&& f) {
    try {
        f();
    } catch (const qv::RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

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

inline qv::String Show(const qv::Variant& v) {
    return v.IsNull() ? qv::String(u"<Null>") : v.ToString();
}

// Property names of the notices sent since the last ClearPropertyChanges.
inline Names Notices(const qv::headless::Container& form) {
    Names names;
    for (const auto& c : form.PropertyChanges()) names.push_back(c.property);
    return names;
}

// The events a control raised, in order, each with its first argument (Empty when it has none).
struct EventLog {
    void Attach(qv::Control& control) {
        control.SetEventListener([this](qv::StringView name, std::span<const qv::Variant> args) {
            names.emplace_back(name);
            firstArgs.push_back(args.empty() ? qv::Variant() : args[0]);
        });
    }
    int Count(qv::StringView name) const {
        return static_cast<int>(std::count(names.begin(), names.end(), qv::String(name)));
    }
    void Clear() {
        names.clear();
        firstArgs.clear();
    }
    Names names;
    std::vector<qv::Variant> firstArgs;
};

// Presses the keys of a key string ("12,5", "^c", "+{HOME}", "{DEL}", "~") one by one.
inline void Press(qv::headless::Container& form, qv::StringView keys) {
    for (const qv::KeyStroke& k : qv::ParseKeys(keys)) form.PressKey(k.keyCode, k.shift);
}

}  // namespace qv_test
