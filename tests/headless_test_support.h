// A small control for the headless host's own tests. It has text fields "txt" 0..n-1 at Left
// 100 + 2000 × i, Top 50, 1500 × 300 with a 3-D border, a label "lbl" at (0, 400), 1000 × 200, and
// optionally a timer. Every notice is appended to the form's log, separated by blanks, a timer's
// with the clock in milliseconds: "A.EnterFocus A.t0.KeyDown(65,1) A.lbl.Click A.Timer(300)".
#pragma once

#include <gtest/gtest.h>
#include "test_support.h"

#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "hosts/headless/HeadlessHost.h"
#include "library/ClassRegistry.h"
#include "library/RuntimeError.h"

namespace headless_test {

using qv::String;
using qv::Variant;
using Field = qv::headless::HeadlessTextField;
namespace Key = qv::Key;
namespace Shift = qv::ShiftState;

using qv_test::ErrorOf;

class Probe : public qv::Control {
  public:
    struct Options {
        int fields = 1;
        bool timer = false;
        bool multiLine = false;
    };

    Probe(qv::Host& host, std::string& log, std::string name, Options o)
        : Control(host), log_(log), name_(std::move(name)) {
        Note(name_, "ctor");
        for (int16_t i = 0; i < o.fields; ++i) {
            auto& f = host.CreateTextField(u"txt", i, {.multiLine = o.multiLine, .border = true});
            f.Left(100 + 2000 * i), f.Top(50), f.Width(1500), f.Height(300);
            Wire(f.notices(), name_ + ".t" + std::to_string(i));
            fields.push_back(&f);
        }
        label = &host.CreateLabel(u"lbl", -1, {});
        label->Top(400), label->Width(1000), label->Height(200);
        Wire(label->notices(), name_ + ".lbl");
        if (!o.timer) return;
        timer = &host.CreateTimer(u"tmr");
        timer->notices().Timer = [this] {
            Note(name_, "Timer", std::lround(GetHost().Timer() * 1e3));
        };
    }

    void UserControl_Initialize() override { Note(name_, "Initialize"); }
    void UserControl_InitProperties() override { Note(name_, "InitProperties"); }
    void UserControl_ReadProperties(qv::PropertyBag& bag) override {
        Note(name_, "ReadProperties", bag.ReadProperty(u"Value", Variant(0)).ToLong());
    }
    void UserControl_WriteProperties(qv::PropertyBag&) override { Note(name_, "WriteProperties"); }
    void UserControl_Resize() override {
        Note(name_, "Resize", GetHost().ScaleWidth(), GetHost().ScaleHeight());
    }
    void UserControl_EnterFocus() override { Note(name_, "EnterFocus"); }
    void UserControl_ExitFocus() override { Note(name_, "ExitFocus"); }
    void UserControl_Terminate() override { Note(name_, "Terminate"); }
    void UserControl_KeyDown(int16_t& k, int16_t& s) override { Note(name_, "KeyDown", k, s); }
    void UserControl_KeyPress(int16_t& a) override { Note(name_, "KeyPress", a); }
    void UserControl_KeyUp(int16_t& k, int16_t& s) override { Note(name_, "KeyUp", k, s); }
    const qv::ClassInfo& Class() const override {
        static const qv::ClassInfo info{u"Probe", u"_Probe", u"__Probe", {}, {}, nullptr, nullptr};
        return info;
    }
    const qv::MemberTable& Members() const override {
        static const qv::MemberTable table{std::span<const qv::Member>{}};
        return table;
    }

    // Hooks for a test to act inside notices: onNote runs after each log entry is written (with
    // the entry); the key hooks may change the notice's by-reference arguments.
    std::function<void(const std::string& entry)> onNote;
    std::function<void(int16_t& KeyCode, int16_t& Shift)> onKeyDown;
    std::function<void(int16_t& KeyAscii)> onKeyPress;
    std::vector<qv::TextField*> fields;
    qv::Label* label = nullptr;
    qv::TimerWidget* timer = nullptr;

  private:
    template <class... N>
    void Note(const std::string& who, const std::string& what, N... n) {
        std::string entry = who + "." + what, args;
        ((args += "," + std::to_string(static_cast<int>(n))), ...);
        if (!args.empty()) entry += "(" + args.substr(1) + ")";
        log_ += (log_.empty() ? "" : " ") + entry;
        if (onNote) onNote(entry);
    }
    void Wire(qv::WidgetNotices& n, const std::string& w) {
        n.KeyDown = [=, this](int16_t& k, int16_t& s) {
            Note(w, "KeyDown", k, s);
            if (onKeyDown) onKeyDown(k, s);
        };
        n.KeyPress = [=, this](int16_t& a) {
            Note(w, "KeyPress", a);
            if (onKeyPress) onKeyPress(a);
        };
        n.KeyUp = [=, this](int16_t& k, int16_t& s) { Note(w, "KeyUp", k, s); };
        for (auto [slot, name] : {std::pair{&n.Change, "Change"},
                                  {&n.Click, "Click"},
                                  {&n.DblClick, "DblClick"},
                                  {&n.GotFocus, "GotFocus"},
                                  {&n.LostFocus, "LostFocus"}})
            *slot = [=, this, what = name] { Note(w, what); };
        for (auto [slot, name] : {std::pair{&n.MouseDown, "MouseDown"},
                                  {&n.MouseMove, "MouseMove"},
                                  {&n.MouseUp, "MouseUp"}})
            *slot = [=, this, what = name](int16_t& b, int16_t& s, float& x, float& y) {
                Note(w, what, b, s, x, y);
            };
    }

    std::string& log_;
    std::string name_;
};

// A form whose probes share one log; the log outlives the container, which terminates them.
struct FormLog {
    std::string log;
};
struct Form : FormLog, qv::headless::Container {
    Probe& Add(const std::string& name, Probe::Options o = {}, qv::PropertyBag* bag = nullptr) {
        return Emplace<Probe>(qv::FromUtf8(name), bag, log, name, o);
    }
    Field& FieldOf(Probe& p, int16_t i = 0) { return *SiteOf(p).FindTextField(u"txt", i); }
    std::string Take() { return std::exchange(log, {}); }
};

}  // namespace headless_test
