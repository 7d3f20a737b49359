// Shared pieces of the combo box tests: a form with one box and what the user sees of it.
#pragma once

#include <gtest/gtest.h>
#include "test_support.h"

#include <initializer_list>
#include <vector>

#include "combobox/QVcomboBoxControl.h"
#include "txtbox/QVtxtBoxControl.h"

namespace combobox_test {

using qv::QVcomboBoxControl;
using qv::String;
using qv::Variant;
using qv::headless::Container;
using qv_test::ErrorOf;
using qv_test::EventLog;
using qv_test::Names;
using qv_test::Notices;
using qv_test::Press;
namespace Key = qv::Key;
using Strings = std::vector<String>;

inline Strings ItemsOf(const QVcomboBoxControl& b) {
    Strings s;
    for (int32_t i = 0; i < b.ListCount(); ++i) s.push_back(b.List(i));
    return s;
}

// A form at run time with a text box "txtOther" (where the focus goes when it leaves) and a combo
// box of 2000 × 300 twips, the clock at 10:00 so that time spans never start at midnight.
class ComboBoxTest : public ::testing::Test {
  protected:
    ComboBoxTest() {
        form.SetClock(36000);
        log.Attach(box);
    }
    void Fill(std::initializer_list<const char16_t*> items) {
        for (const char16_t* item : items) box.AddItem(item);
    }
    // Focus on the box, then the keys typed.
    void TypeInto(qv::StringView text) {
        form.Focus(box);
        form.Type(text);
    }
    void Leave() { form.Focus(other); }
    String FieldText() const { return box.TextBox().Text(); }
    bool Dropped() const { return box.ListBoxDropped(); }
    // Events raised since the log was last cleared, without the key and change events.
    Names Reported() const {
        Names out;
        for (const String& n : log.names)
            if (n == u"ItemFound" || n == u"ItemNotFound" || n == u"ListClick" ||
                n == u"DropDown" || n == u"Button1Click" || n == u"Button2Click")
                out.push_back(n);
        return out;
    }

    Container form;
    qv::QVtxtBoxControl& other = form.Add<qv::QVtxtBoxControl>(u"txtOther");
    QVcomboBoxControl& box = form.Add<QVcomboBoxControl>(u"cboTest", 2000, 300);
    EventLog log;
};

}  // namespace combobox_test
