// The combo box's list members, the row records behind Item, the buttons and the layout.
#include "combobox_test_support.h"

namespace combobox_test {
namespace {

TEST_F(ComboBoxTest, AddItemAppendsOrInsertsAndSetsNewIndex) {
    Fill({u"b", u"d"});
    box.AddItem(u"a", 0);
    box.AddItem(u"c", 2);
    box.AddItem(u"e", 4);
    EXPECT_EQ(ItemsOf(box), (Strings{u"a", u"b", u"c", u"d", u"e"}));
    EXPECT_EQ(box.NewIndex(), 4);
    EXPECT_EQ(ErrorOf([&] { box.AddItem(u"x", 9); }), 380);
    EXPECT_EQ(ErrorOf([&] { box.AddItem(u"x", u"two"); }), 380);
    EXPECT_EQ(box.ListCount(), 5);
}

TEST_F(ComboBoxTest, ListIndexWritesSelectOrRaise) {
    Fill({u"Anna", u"Berta"});
    log.Clear();
    box.ListIndex(1);
    EXPECT_EQ(box.TextBox().Text(), u"Berta");
    EXPECT_EQ(Reported(), (Names{u"ItemFound", u"ListClick"}));
    box.ListIndex(-1);
    EXPECT_EQ(box.ListIndex(), -1);
    EXPECT_EQ(ErrorOf([&] { box.ListIndex(2); }), 380);
    EXPECT_EQ(ErrorOf([&] { box.ListIndex(-2); }), 380);
    EXPECT_EQ(box.ListIndex(), -1);
}

TEST_F(ComboBoxTest, ListAndItemDataWritesNeedAnItem) {
    Fill({u"Anna"});
    form.ClearPropertyChanges();
    box.List(0, u"Anne");
    box.ItemData(0, -5);
    EXPECT_EQ(box.List(0), u"Anne");
    EXPECT_EQ(box.ItemData(0), -5);
    EXPECT_EQ(Notices(form), (Names{u"List", u"ItemData"}));
    EXPECT_EQ(ErrorOf([&] { box.List(1, u"x"); }), 380);
    EXPECT_EQ(ErrorOf([&] { box.ItemData(-1, 1); }), 380);
    EXPECT_EQ(box.List(7), u"");
}

TEST_F(ComboBoxTest, SetItemLeavesOneChosenItem) {
    Fill({u"Anna", u"Berta"});
    log.Clear();
    box.SetItem(u"Carl", 42);
    EXPECT_EQ(ItemsOf(box), Strings{u"Carl"});
    EXPECT_EQ(box.ItemData(0), 42);
    EXPECT_EQ(box.ListIndex(), 0);
    EXPECT_EQ(box.TextBox().Text(), u"Carl");
    EXPECT_EQ(Reported(), (Names{u"ItemFound", u"ListClick"}));
    box.SetItem(Variant::Null(), 0);
    EXPECT_EQ(ItemsOf(box), Strings{u""});
}

TEST_F(ComboBoxTest, ClearEmptiesListCacheAndField) {
    Fill({u"Anna"});
    box.Item(u"City", 0, u"Berlin");
    box.Text(u"Anna");
    box.Clear();
    EXPECT_EQ(box.ListCount(), 0);
    EXPECT_EQ(box.Cache().Columns(), 0);
    EXPECT_EQ(box.TextBox().Text(), u"");
}

TEST_F(ComboBoxTest, RemoveItemClearsARemovedChoiceAndRaisesForNoItem) {
    Fill({u"Anna", u"Berta", u"Carl"});
    box.ListIndex(1);
    box.RemoveItem(1);
    EXPECT_EQ(box.ListIndex(), -1);
    EXPECT_EQ(ItemsOf(box), (Strings{u"Anna", u"Carl"}));
    EXPECT_EQ(ErrorOf([&] { box.RemoveItem(2); }), 380);
}

// --- Records ------------------------------------------------------------------------------------

class Records : public ComboBoxTest {
  protected:
    Records() {
        box.DataField(u"Name");
        box.DataIdField(u"Id");
        Fill({u"Anna", u"Berta", u"Carl"});
        box.ItemData(1, 7);
        box.Cache().SetColumns({u"Name", u"Id", u"City "});
        for (const char16_t* city : {u"Aachen", u"Bonn", u"Celle"}) {
            std::vector<Variant> row{String(), 0, String(city)};
            box.Cache().AppendRow(row);
        }
    }
    String City(int32_t row) { return box.Item(u"city", row).ToString(); }
};

TEST_F(Records, ReadsByDataFieldDataIdFieldAndColumnName) {
    EXPECT_EQ(box.Item(u"NAME ", 1).ToString(), u"Berta");
    EXPECT_EQ(box.Item(u"id", 1).ToLong(), 7);
    EXPECT_EQ(City(2), u"Celle");
    EXPECT_EQ(box.Item(2, 0).ToString(), u"Aachen");
    EXPECT_EQ(box.Item(u"nothing", 0).ToString(), u"");
    EXPECT_EQ(box.Item(u"city", 9).ToString(), u"");
    EXPECT_EQ(box.Item(u"city").ToString(), u"");  // nothing chosen: row -1
    box.ListIndex(1);
    EXPECT_EQ(box.Item(u"city").ToString(), u"Bonn");
    EXPECT_EQ(ErrorOf([&] { (void)box.Item(3, 0); }), 380);
    EXPECT_EQ(ErrorOf([&] { (void)box.Item(u"city", u"x"); }), 380);
}

TEST_F(Records, WritingANewNameAppendsAColumn) {
    box.Item(u"Phone", 1, u"0228");
    EXPECT_EQ(box.Cache().Columns(), 4);
    EXPECT_EQ(box.Item(u"phone", 1).ToString(), u"0228");
    EXPECT_EQ(box.Item(u"phone", 0).ToString(), u"");
}

TEST_F(Records, WritingTheDataFieldRenamesTheItemAndTheChosenText) {
    box.ListIndex(0);
    box.Item(u"Name", Variant::Null(), u"Anne");
    EXPECT_EQ(box.List(0), u"Anne");
    EXPECT_EQ(box.TextBox().Text(), u"Anne");
    EXPECT_EQ(box.ListIndex(), 0);  // the write came from the list: the choice stays
    box.Item(u"Id", 2, 99);
    EXPECT_EQ(box.ItemData(2), 99);
}

TEST_F(Records, RowsFollowInsertionsAndRemovals) {
    box.AddItem(u"Aaron", 0);
    EXPECT_EQ(box.Cache().Rows(), 4);
    EXPECT_EQ(City(0), u"");
    EXPECT_EQ(City(1), u"Aachen");
    box.RemoveItem(1);
    EXPECT_EQ(City(1), u"Bonn");
    EXPECT_EQ(box.Cache().Rows(), 3);
}

TEST_F(Records, RemovingTheLastItemDropsItsRecord) {
    box.RemoveItem(2);
    EXPECT_EQ(box.Cache().Rows(), 2);
    box.AddItem(u"Dora");
    EXPECT_EQ(City(2), u"");  // not Carl's city
}

TEST_F(Records, RemovingEveryItemClearsTheCache) {
    for (int i = 0; i < 3; ++i) box.RemoveItem(0);
    EXPECT_EQ(box.Cache().Columns(), 0);
    EXPECT_EQ(box.Cache().Rows(), 0);
}

TEST_F(ComboBoxTest, RecordsOfLongListsKeepTheirRows) {
    constexpr int32_t kItems = 40000;  // beyond a 16-bit count
    for (int32_t i = 0; i < kItems; ++i) {
        box.AddItem(u"item");
        box.Item(u"No", i, i);
    }
    EXPECT_EQ(box.Cache().Rows(), kItems);
    EXPECT_EQ(box.Item(u"No", 39999).ToLong(), 39999);
    box.RemoveItem(100);
    EXPECT_EQ(box.Item(u"No", 39998).ToLong(), 39999);
}

// --- Buttons and layout --------------------------------------------------------------------------

struct LayoutCase {
    int32_t width, height;
    qv::Flat3d appearance;
    qv::NoneFixedSingle border;
    bool button2;
    int32_t buttonSide, buttonTop, button1Left, button2Left, textLeft, textTop, textWidth;
};

class Layout : public ComboBoxTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(Layout, SquareButtonsInsideTheBorder) {
    const LayoutCase& c = GetParam();
    box.Appearance(c.appearance);
    box.BorderStyle(c.border);
    box.Button2Visible(c.button2);
    form.SiteOf(box).Resize(c.width, c.height);
    ASSERT_EQ(form.SiteOf(box).Height(), c.height);
    const auto& b1 = box.Button1();
    EXPECT_EQ(b1.Width(), c.buttonSide);
    EXPECT_EQ(b1.Height(), c.buttonSide);
    EXPECT_EQ(b1.Top(), c.buttonTop);
    EXPECT_EQ(b1.Left(), c.button1Left);
    ASSERT_EQ(box.Button2() != nullptr, c.button2);
    if (c.button2) {
        EXPECT_EQ(box.Button2()->Left(), c.button2Left);
    }
    EXPECT_EQ(box.TextBox().Left(), c.textLeft);
    EXPECT_EQ(box.TextBox().Top(), c.textTop);
    EXPECT_EQ(box.TextBox().Width(), c.textWidth);
    // The list lies along the bottom edge under everything else.
    EXPECT_EQ(box.ListBox().Top() + box.ListBox().Height(), c.height);
    EXPECT_EQ(box.ListBox().Width(), c.width);
}

using qv::Flat3d;
using qv::NoneFixedSingle;
INSTANTIATE_TEST_SUITE_P(
    Cases, Layout,
    ::testing::Values(LayoutCase{2000, 300, Flat3d::qvFlat, NoneFixedSingle::FixedSingle, false,
                                 270, 15, 1715, 0, 15, 15, 1700},
                      LayoutCase{600, 300, Flat3d::qv3D, NoneFixedSingle::FixedSingle, true, 240,
                                 30, 90, 330, 15, 30, 75},
                      LayoutCase{2000, 300, Flat3d::qv3D, NoneFixedSingle::None, false, 300, 0,
                                 1700, 0, 0, 15, 1700}));

TEST_F(ComboBoxTest, Button2IsRemovedAndMadeAgainWithTheCurrentTooltip) {
    ASSERT_NE(box.Button2(), nullptr);
    box.Button2Visible(false);
    form.SiteOf(box).Resize(2000, 300);
    EXPECT_EQ(box.Button2(), nullptr);
    box.ToolTipTextButton2(u"More...");
    box.Button2Visible(true);
    form.SiteOf(box).Resize(2000, 300);
    ASSERT_NE(box.Button2(), nullptr);
    EXPECT_TRUE(box.Button2()->Visible());
    EXPECT_EQ(box.Button2()->ToolTipText(), u"More...");
    EXPECT_EQ(box.Button2()->Caption(), String(1, char16_t{0xBC}));
}

TEST_F(ComboBoxTest, GlyphsGrowWithTheButtons) {
    form.SiteOf(box).Resize(2000, 300);
    const float small = box.Button1().GetFont().Size();
    form.SiteOf(box).Resize(2000, 900);
    EXPECT_GT(box.Button1().GetFont().Size(), small);
    EXPECT_GE(small, 1.0f);
    EXPECT_EQ(box.Button1().GetFont().Name(), u"Wingdings");
}

TEST_F(ComboBoxTest, ALargerFontRaisesTheHeightButNeverLowersIt) {
    box.FontSize(24);
    const int32_t raised = form.SiteOf(box).Height();
    EXPECT_GT(raised, 300);
    box.FontSize(8);
    EXPECT_EQ(form.SiteOf(box).Height(), raised);
}

TEST_F(ComboBoxTest, Button2ClickMovesTheFocusIntoTheField) {
    form.Focus(other);
    const auto& b2 = *box.Button2();
    form.Click(box, static_cast<float>(b2.Left() + 10), static_cast<float>(b2.Top() + 10));
    EXPECT_EQ(form.FocusedControl(), &box);
    EXPECT_EQ(log.Count(u"Button2Click"), 1);
    EXPECT_EQ(log.Count(u"Button1Click"), 0);
}

TEST_F(ComboBoxTest, Button1RunsTheLookupInEditStyle) {
    Fill({u"Anna", u"Anton"});
    TypeInto(u"anto");
    const auto& b1 = box.Button1();
    form.Click(box, static_cast<float>(b1.Left() + 10), static_cast<float>(b1.Top() + 10));
    EXPECT_EQ(box.TextBox().Text(), u"Anton");
    EXPECT_EQ(log.Count(u"Button1Click"), 1);
}

TEST_F(ComboBoxTest, DisabledOrLockedBoxDisablesListAndButtons) {
    box.Locked(true);
    EXPECT_FALSE(box.Button1().Enabled());
    EXPECT_FALSE(box.ListBox().Enabled());
    EXPECT_TRUE(box.Button2()->Enabled());
    box.Locked(false);
    box.Enabled(false);
    EXPECT_FALSE(box.Button2()->Enabled());
    EXPECT_EQ(box.TextBox().BackColor(), box.DisabledColor());
}

}  // namespace
}  // namespace combobox_test
