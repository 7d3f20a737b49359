// Shared pieces of the text box tests: a form with one box and an event recorder.
#pragma once

#include <gtest/gtest.h>
#include "test_support.h"

#include <algorithm>
#include <span>
#include <vector>

#include "hosts/headless/HeadlessHost.h"
#include "library/RuntimeError.h"
#include "txtbox/QVtxtBoxControl.h"

namespace txtbox_test {

using qv::Color;
using qv::QVtxtBoxControl;
using qv::String;
using qv::Variant;
using qv::headless::Container;
using qv_test::ErrorOf;
using qv_test::EventLog;
using qv_test::Names;
using qv_test::Notices;
using qv_test::Show;

// The text of the three fields when they agree, else all three.
inline String FieldsText(const QVtxtBoxControl& b) {
    const String t0 = b.Field(0).Text(), t1 = b.Field(1).Text(), t2 = b.Field(2).Text();
    return t0 == t1 && t1 == t2 ? t0 : u"differ: " + t0 + u"|" + t1 + u"|" + t2;
}

// The background the control shows: its own surface and every field must agree.
inline Color Background(const Container& form, const QVtxtBoxControl& b) {
    const Color c = form.SiteOf(b).BackColor();
    for (int16_t i = 0; i < 3; ++i) EXPECT_EQ(b.Field(i).BackColor(), c) << "field " << i;
    return c;
}

// A form at run time with one newly placed text box of 1500 × 300 twips.
class TxtBoxTest : public ::testing::Test {
  protected:
    Container form;
    QVtxtBoxControl& box = form.Add<QVtxtBoxControl>(u"txtTest");
    EventLog log;
};

}  // namespace txtbox_test
