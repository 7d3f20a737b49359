// Shared pieces of the date box tests: a form with one box, the date notices and what the user
// and the application see of the value.
#pragma once

#include <gtest/gtest.h>
#include "test_support.h"

#include <vector>

#include "datebox/QVDateBoxControl.h"

namespace datebox_test {

using qv::DateFmt;
using qv::DateSerial;
using qv::QVDateBoxControl;
using qv::String;
using qv::Variant;
using qv::headless::Container;
using qv_test::ErrorOf;
using qv_test::EventLog;
using qv_test::Names;
using qv_test::Notices;
using qv_test::Show;
using Strings = std::vector<String>;

// Sent, in this order, by every write that ends in a new date text.
inline const Names kDateNotices = {u"DateDMY", u"DateMDY", u"DateYMD", u"DDate", u"Text"};

// The text of the three fields when they agree, else all three.
inline String FieldsText(const QVDateBoxControl& b) {
    const String t0 = b.Field(0).Text(), t1 = b.Field(1).Text(), t2 = b.Field(2).Text();
    return t0 == t1 && t1 == t2 ? t0 : u"differ: " + t0 + u"|" + t1 + u"|" + t2;
}

// DDate, DateDMY, DateMDY, DateYMD and Text as the application reads them.
inline Strings Reads(const QVDateBoxControl& b) {
    return {Show(b.DDate()), Show(b.DateDMY()), Show(b.DateMDY()), Show(b.DateYMD()),
            Show(b.Text())};
}

// A form at run time with one newly placed date box of 1500 × 300 twips.
class DateBoxTest : public ::testing::Test {
  protected:
    qv::TextField& Shown() { return box.Field(box.ActiveFieldIndex()); }
    std::pair<int32_t, int32_t> Selection() { return {Shown().SelStart(), Shown().SelLength()}; }

    Container form;
    QVDateBoxControl& box = form.Add<QVDateBoxControl>(u"dtTest");
    EventLog log;
};

}  // namespace datebox_test
