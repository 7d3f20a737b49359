// The date box's editing rules that its typing path must keep: a locked box refuses the user's
// edits, and a write to its three fields is judged once, on the text it leaves.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

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

// Appearance and BorderStyle choose the visible field; the judging must not depend on which.
struct LayoutCase {
    qv::Flat3d appearance;
    qv::NoneFixedSingle border;
};

TEST(DateBoxJudging, OneVerdictPerWriteOnTheNewText) {
    const LayoutCase layouts[] = {
        {qv::Flat3d::qv3D, qv::NoneFixedSingle::FixedSingle},
        {qv::Flat3d::qvFlat, qv::NoneFixedSingle::None},
        {qv::Flat3d::qvFlat, qv::NoneFixedSingle::FixedSingle},
    };
    for (const LayoutCase& l : layouts) {
        SCOPED_TRACE(std::to_string(static_cast<int>(l.appearance)) + "/" +
                     std::to_string(static_cast<int>(l.border)));
        DateBoxForm t;
        t.box.Appearance(l.appearance);
        t.box.BorderStyle(l.border);
        std::vector<String> judged;
        t.box.events.ValidationCheck = [&](bool&) { judged.push_back(t.box.Text().ToString()); };
        t.form.Focus(t.box);
        t.form.Type(u"05.");
        judged.clear();
        t.form.Type(u"1");
        EXPECT_EQ(judged, std::vector<String>{u"05.1"}) << "a typed digit";
        judged.clear();
        t.box.Text(Variant(u"24.12.2024"));
        EXPECT_EQ(judged, std::vector<String>{u"24.12.2024"}) << "a Text write";
        t.form.PressKey(Key::End);
        judged.clear();
        t.form.Type(u"\b");
        EXPECT_EQ(judged, std::vector<String>{u"24.12.202"}) << "the field's own Backspace";
    }
}

}  // namespace
