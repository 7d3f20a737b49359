// Shared pieces of the text box tests: a form with one box and an event recorder.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <span>
#include <vector>

#include "hosts/headless/HeadlessHost.h"
#include "library/RuntimeError.h"
#include "txtbox/QVtxtBoxControl.h"

namespace txtbox_test {

using qv::Color;
using qv::String;
using qv::Variant;

// The number of the run-time error `f` raises; 0 when it raises none.
template <class F>
int32_t ErrorOf(F&& f) {
    try {
        f();
    } catch (const qv::RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

// A value as the tests compare it: its text, or "<Null>".
inline String Show(const Variant& v) {
    return v.IsNull() ? String(u"<Null>") : v.ToString();
}

// The events a control raised, in order, each with its first argument (Empty when it has none).
class EventLog {
  public:
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

    std::vector<String> names;
    std::vector<Variant> firstArgs;
};

// A form at run time with one newly placed text box of 1500 × 300 twips.
class TxtBoxTest : public ::testing::Test {
  protected:
    std::array<String, 3> Texts() const {
        return {box.Field(0).Text(), box.Field(1).Text(), box.Field(2).Text()};
    }
    static std::array<String, 3> All(const String& s) { return {s, s, s}; }
    // Property names of the notices sent since the last ClearPropertyChanges.
    std::vector<String> Notices() const {
        std::vector<String> names;
        for (const auto& c : form.PropertyChanges()) names.push_back(c.property);
        return names;
    }
    // The background the control shows: its own surface and every field must agree.
    Color Background() const {
        const Color c = form.SiteOf(box).BackColor();
        for (int16_t i = 0; i < 3; ++i) EXPECT_EQ(box.Field(i).BackColor(), c) << "field " << i;
        return c;
    }

    qv::headless::Container form;
    qv::QVtxtBoxControl& box = form.Add<qv::QVtxtBoxControl>(u"txtTest");
    EventLog log;
};

}  // namespace txtbox_test
