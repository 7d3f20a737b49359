// The date box's editing rules that its typing path must keep: a locked box refuses the user's
// edits.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "datebox/QVDateBoxControl.h"
#include "hosts/headless/HeadlessHost.h"
#include "library/Keyboard.h"

namespace {

using qv::String;
using qv::Variant;
namespace Key = qv::Key;
namespace Shift = qv::ShiftState;

struct DateBoxForm {
    qv::headless::Container form;
    qv::QVDateBoxControl& box = form.Add<qv::QVDateBoxControl>(u"dateBox");
    String Shown() const { return box.Field(box.ActiveFieldIndex()).Text(); }
};

struct LockedCase {
    const char* name;
    std::function<void(qv::headless::Container&)> keys;
};

TEST(DateBoxLocked, UserEditsChangeNothing) {
    const LockedCase cases[] = {
        {"digit", [](auto& f) { f.Type(u"2"); }},
        {"separator", [](auto& f) { f.Type(u"."); }},
        {"Ctrl+V", [](auto& f) { f.PressKey(u'V', Shift::Ctrl); }},
        {"Shift+Insert", [](auto& f) { f.PressKey(Key::Insert, Shift::Shift); }},
        {"Backspace", [](auto& f) { f.Type(u"\b"); }},
        {"Left", [](auto& f) { f.PressKey(Key::Left); }},
        {"selection replaced",
         [](auto& f) {
             f.PressKey(Key::Home, Shift::Shift);
             f.Type(u"1");
         }},
        {"selection deleted",
         [](auto& f) {
             f.PressKey(Key::Home, Shift::Shift);
             f.PressKey(Key::Delete);
         }},
        {"selection cut",
         [](auto& f) {
             f.PressKey(Key::Home, Shift::Shift);
             f.Type(u"\x18");
         }},
    };
    for (const LockedCase& c : cases) {
        SCOPED_TRACE(c.name);
        DateBoxForm t;
        int changes = 0;
        t.box.events.Change = [&] { ++changes; };
        t.box.Text(Variant(u"05.12.20"));
        t.box.Locked(true);
        t.form.Focus(t.box);
        t.form.PressKey(Key::End);  // a program write leaves the caret at the start
        t.form.Clipboard() = u"24";
        changes = 0;
        c.keys(t.form);
        EXPECT_EQ(t.Shown(), u"05.12.20");
        EXPECT_EQ(changes, 0);
        // The same box takes the keys once unlocked.
        t.box.Locked(false);
        t.form.PressKey(Key::End);
        t.form.Type(u"24");
        EXPECT_EQ(t.Shown(), u"05.12.2024");
    }
}

TEST(DateBoxLocked, CopyStillWorks) {
    DateBoxForm t;
    t.box.Text(Variant(u"05.12.2024"));
    t.box.Locked(true);
    t.form.Focus(t.box);
    t.form.PressKey(Key::End);
    t.form.PressKey(Key::Home, Shift::Shift);
    t.form.PressKey(u'C', Shift::Ctrl);
    EXPECT_EQ(t.form.Clipboard(), u"05.12.2024");
    EXPECT_EQ(t.Shown(), u"05.12.2024");
}

}  // namespace
