// A small control for the headless host's own tests: one or more text fields and a label, every
// notice written to a log ("A.txt0.KeyDown(65,1)", "A.EnterFocus").
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hosts/headless/HeadlessHost.h"
#include "library/ClassRegistry.h"
#include "library/RuntimeError.h"

namespace headless_test {

using qv::String;
using qv::Variant;
using Log = std::vector<std::string>;

template <class F>
int32_t ErrorOf(F&& f) {
    try {
        f();
    } catch (const qv::RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

// Fields "txt" 0..fields-1 at Left 100 + 2000 × i, Top 50, 1500 × 300, 3-D border; a label
// "lbl" at (0, 400), 1000 × 200; optionally a timer "tmr".
class Probe : public qv::Control {
  public:
    struct Options {
        int fields = 1;
        bool timer = false;
        bool multiLine = false;
    };

    Probe(qv::Host& host, Log& log, std::string name, Options options)
        : Control(host), log_(log), name_(std::move(name)) {
        log_.push_back(name_ + ".ctor");
        for (int i = 0; i < options.fields; ++i) {
            qv::TextField& f = host.CreateTextField(
                u"txt", static_cast<int16_t>(i), {.multiLine = options.multiLine, .border = true});
            f.Left(100 + 2000 * i);
            f.Top(50);
            f.Width(1500);
            f.Height(300);
            Wire(f.notices, name_ + ".txt" + std::to_string(i));
            fields.push_back(&f);
        }
        label = &host.CreateLabel(u"lbl", -1, {});
        label->Top(400);
        label->Width(1000);
        label->Height(200);
        Wire(label->notices, name_ + ".lbl");
        if (options.timer) {
            timer = &host.CreateTimer(u"tmr");
            timer->notices.Timer = [this] {
                log_.push_back(name_ + ".Timer@" + std::to_string(GetHost().Timer()));
                if (onTimer) onTimer();
            };
        }
    }

    void UserControl_Initialize() override { log_.push_back(name_ + ".Initialize"); }
    void UserControl_InitProperties() override { log_.push_back(name_ + ".InitProperties"); }
    void UserControl_ReadProperties(qv::PropertyBag& bag) override {
        log_.push_back(name_ + ".ReadProperties");
        readValue = bag.ReadProperty(u"Value", Variant(int32_t{0}));
    }
    void UserControl_WriteProperties(qv::PropertyBag& bag) override {
        log_.push_back(name_ + ".WriteProperties");
        bag.WriteProperty(u"Value", readValue, Variant(int32_t{0}));
    }
    void UserControl_Resize() override {
        log_.push_back(name_ + ".Resize(" + std::to_string(GetHost().ScaleWidth()) + "," +
                       std::to_string(GetHost().ScaleHeight()) + ")");
        if (onResize) onResize();
    }
    void UserControl_EnterFocus() override {
        log_.push_back(name_ + ".EnterFocus");
        if (onEnterFocus) onEnterFocus();
    }
    void UserControl_ExitFocus() override { log_.push_back(name_ + ".ExitFocus"); }
    void UserControl_Terminate() override { log_.push_back(name_ + ".Terminate"); }
    void UserControl_KeyDown(int16_t& k, int16_t& s) override {
        log_.push_back(name_ + ".KeyDown(" + std::to_string(k) + "," + std::to_string(s) + ")");
    }
    void UserControl_KeyPress(int16_t& a) override {
        log_.push_back(name_ + ".KeyPress(" + std::to_string(a) + ")");
    }
    void UserControl_KeyUp(int16_t& k, int16_t& s) override {
        log_.push_back(name_ + ".KeyUp(" + std::to_string(k) + "," + std::to_string(s) + ")");
    }

    const qv::ClassInfo& Class() const override {
        static const qv::ClassInfo info{u"Probe", u"_Probe", u"__Probe", {}, {}, nullptr, nullptr};
        return info;
    }
    const qv::MemberTable& Members() const override {
        static const qv::MemberTable table{std::span<const qv::Member>{}};
        return table;
    }

    // Hooks a test sets to act inside a notice.
    std::function<void(int16_t& KeyCode, int16_t& Shift)> onKeyDown;
    std::function<void(int16_t& KeyAscii)> onKeyPress;
    std::function<void()> onResize, onEnterFocus, onTimer, onChange, onGotFocus;

    std::vector<qv::TextField*> fields;
    qv::Label* label = nullptr;
    qv::TimerWidget* timer = nullptr;
    Variant readValue;

  private:
    void Wire(qv::WidgetNotices& n, const std::string& who) {
        auto mouse = [this, who](const char* what) {
            return [this, who, what](int16_t& b, int16_t& s, float& x, float& y) {
                log_.push_back(who + "." + what + "(" + std::to_string(b) + "," +
                               std::to_string(s) + "," + std::to_string(static_cast<int>(x)) + "," +
                               std::to_string(static_cast<int>(y)) + ")");
            };
        };
        n.KeyDown = [this, who](int16_t& k, int16_t& s) {
            log_.push_back(who + ".KeyDown(" + std::to_string(k) + "," + std::to_string(s) + ")");
            if (onKeyDown) onKeyDown(k, s);
        };
        n.KeyPress = [this, who](int16_t& a) {
            log_.push_back(who + ".KeyPress(" + std::to_string(a) + ")");
            if (onKeyPress) onKeyPress(a);
        };
        n.KeyUp = [this, who](int16_t& k, int16_t& s) {
            log_.push_back(who + ".KeyUp(" + std::to_string(k) + "," + std::to_string(s) + ")");
        };
        n.Change = [this, who] {
            log_.push_back(who + ".Change");
            if (onChange) onChange();
        };
        n.Click = [this, who] { log_.push_back(who + ".Click"); };
        n.DblClick = [this, who] { log_.push_back(who + ".DblClick"); };
        n.GotFocus = [this, who] {
            log_.push_back(who + ".GotFocus");
            if (onGotFocus) onGotFocus();
        };
        n.LostFocus = [this, who] { log_.push_back(who + ".LostFocus"); };
        n.MouseDown = mouse("MouseDown");
        n.MouseMove = mouse("MouseMove");
        n.MouseUp = mouse("MouseUp");
    }

    Log& log_;
    std::string name_;
};

// A form with a shared log; Add places a Probe named after the control.
struct Form {
    Log log;
    qv::headless::Container container;

    Probe& Add(const std::string& name, Probe::Options options = {},
               qv::PropertyBag* bag = nullptr) {
        return container.Emplace<Probe>(qv::FromUtf8(name), bag, log, name, options);
    }
    qv::headless::Site& SiteOf(Probe& p) { return container.SiteOf(p); }
    qv::headless::HeadlessTextField& Field(Probe& p, int16_t i = 0) {
        return *SiteOf(p).FindTextField(u"txt", i);
    }
    Log Take() { return std::exchange(log, {}); }
};

}  // namespace headless_test
