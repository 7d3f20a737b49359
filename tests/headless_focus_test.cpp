// A text box focused while its fields are disabled: the focus waits on the control's surface and
// goes to the visible field once that is enabled again, as when a focused field is disabled.
#include <gtest/gtest.h>

#include "hosts/headless/HeadlessHost.h"
#include "txtbox/QVtxtBoxControl.h"

namespace {

TEST(HeadlessFocus, AFieldEnabledAgainTakesTheFocusOfItsControl) {
    for (const bool disableFirst : {true, false}) {
        qv::headless::Container form;
        auto& box = form.Add<qv::QVtxtBoxControl>(u"txt");
        if (disableFirst) box.Enabled(false);
        form.Focus(box);
        if (!disableFirst) box.Enabled(false);
        EXPECT_EQ(form.FocusedControl(), &box) << disableFirst;
        EXPECT_EQ(form.FocusedWidget(), nullptr) << disableFirst;
        box.Enabled(true);
        EXPECT_EQ(form.FocusedWidget(), form.SiteOf(box).FindTextField(u"QVTxtBoxCC", 0))
            << disableFirst;
        form.Type(u"a");
        EXPECT_EQ(box.Field(0).Text(), u"a") << disableFirst;
        EXPECT_EQ(form.SiteOf(box).BackColor(), box.FocusColor()) << disableFirst;
    }
}

}  // namespace
