// Shared pieces of the numeric box tests: a form with one box, an event recorder, key strings
// and error details.
#pragma once

#include <gtest/gtest.h>
#include "test_support.h"

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
using qv_test::EventLog;
using qv_test::Names;
using qv_test::Notices;
using qv_test::Press;
using qv_test::RaisedBy;
using qv_test::Show;

inline const std::string kTooManyPre = "380 QVNumBoxControl: Too many pre decimal numbers!";

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
