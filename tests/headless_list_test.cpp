// The headless list widget as a view of its items: a selection change is its Click notice (the
// program's and the user's alike), dropping down its DropDown notice, closing keeps the selection.
#include <gtest/gtest.h>

#include <string>

#include "headless_test_support.h"

namespace {

using headless_test::Form;

TEST(HeadlessList, SelectionChangesClickAndDroppingDownNotices) {
    Form form;
    auto& site = form.SiteOf(form.Add("A"));
    qv::ListWidget& list = site.CreateList(u"ccCombo", -1, {});
    std::string heard;
    list.notices().Click = [&] {
        heard += "click " + std::to_string(list.Items().Selected()) + ";";
    };
    list.notices().DropDown = [&] { heard += "drop;"; };
    qv::ItemList& items = list.Items();
    items.Insert(u"Anna");
    items.Insert(u"Berta");
    EXPECT_EQ(heard, "") << "filling selects nothing";
    items.Select(1);
    items.Select(1);  // no change, no notice
    list.Dropped(true);
    list.Dropped(true);
    list.Dropped(false);
    EXPECT_FALSE(list.Dropped());
    EXPECT_EQ(items.Selected(), 1) << "closing keeps the selection";
    items.Select(-1);
    EXPECT_EQ(heard, "click 1;drop;click -1;");
}

}  // namespace
