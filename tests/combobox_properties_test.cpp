// The combo box's properties: defaults, refused writes, notices, loading and saving.
#include "combobox_test_support.h"
#include "library/MemoryPropertyBag.h"

namespace combobox_test {
namespace {

TEST_F(ComboBoxTest, ANewBoxHasItsDefaults) {
    EXPECT_TRUE(box.Trim());
    EXPECT_TRUE(box.MustFitDataList());
    EXPECT_FALSE(box.MustHaveValue());
    EXPECT_TRUE(box.Button1Visible());
    EXPECT_TRUE(box.Button2Visible());
    EXPECT_NE(box.Button2(), nullptr);
    EXPECT_EQ(box.Text().ToString(), u"");
    EXPECT_EQ(box.ConnectionLockType(), -1);
    EXPECT_EQ(box.ConnectionOption(), -1);
    EXPECT_EQ(box.ListIndex(), -1);
    EXPECT_FALSE(box.IsDatabaseMode());
    EXPECT_EQ(box.Button1().Caption(), String(1, char16_t{0xF2}));
    EXPECT_EQ(box.Timer().Interval(), 333);
    EXPECT_FALSE(box.Timer().Enabled());
}

TEST_F(ComboBoxTest, RefusedWritesRaise380AndChangeNothing) {
    EXPECT_EQ(ErrorOf([&] { box.ConnectionLockType(-2); }), 380);
    EXPECT_EQ(ErrorOf([&] { box.ConnectionOption(-3); }), 380);
    EXPECT_EQ(ErrorOf([&] { box.DisabledColor(0x7FFFFFFF); }), 380);
    EXPECT_EQ(ErrorOf([&] { box.FocusColor(0x3000000); }), 380);
    EXPECT_EQ(ErrorOf([&] { box.Appearance(static_cast<qv::Flat3d>(2)); }), 380);
    EXPECT_EQ(ErrorOf([&] { box.BorderStyle(static_cast<qv::NoneFixedSingle>(-1)); }), 380);
    EXPECT_EQ(ErrorOf([&] { box.MousePointer(static_cast<qv::MousePointerEnum>(16)); }), 380);
    EXPECT_EQ(ErrorOf([&] {
                  box.LetProperty(u"Text", Variant(std::shared_ptr<qv::Object>(box.Font())));
              }),
              380);
    EXPECT_EQ(box.ConnectionLockType(), -1);
    EXPECT_EQ(box.DisabledColor(), 0xC0C0C0u);
    EXPECT_EQ(box.Appearance(), qv::Flat3d::qv3D);
    box.ConnectionLockType(-1);
    box.ConnectionLockType(0);
    EXPECT_EQ(box.ConnectionLockType(), 0);
}

TEST_F(ComboBoxTest, TextWritesAreTrimmedAsTrimSays) {
    box.Text(u"  a  ");
    EXPECT_EQ(box.TextBox().Text(), u"a");
    box.Trim(false);
    box.Text(u"  a  ");
    EXPECT_EQ(box.TextBox().Text(), u"  a");
    box.Text(Variant::Null());
    EXPECT_EQ(box.TextBox().Text(), u"");
    box.TextBox().Text(u" b ");
    EXPECT_EQ(box.TextFormatted(), u" b");
}

TEST_F(ComboBoxTest, DropDownStyleSendsNoNoticeButIsSaved) {
    form.ClearPropertyChanges();
    box.DropDownStyle(true);
    EXPECT_EQ(Notices(form), Names{});
    qv::MemoryPropertyBag bag;
    form.Save(box, bag);
    EXPECT_TRUE(bag.ReadProperty(u"DropDownStyle", false).ToBool());
}

TEST_F(ComboBoxTest, WritesSendTheirNotices) {
    form.ClearPropertyChanges();
    box.MinLen(2);
    box.DataField(u"Name");
    box.Button2Visible(false);
    box.Text(u"x");
    EXPECT_EQ(Notices(form), (Names{u"MinLen", u"DataField", u"Button2Visible", u"Text"}));
}

TEST_F(ComboBoxTest, SavedSettingsLoadBack) {
    box.Appearance(qv::Flat3d::qvFlat);
    box.BackColor(0x123456);
    box.Button2Visible(false);
    box.ConnectionLockType(3);
    box.DataField(u"Name");
    box.DataIdField(u"Id");
    box.SqlQueryString(u"SELECT Name FROM T WHERE Name LIKE '{DataField}%'");
    box.DropDownStyle(true);
    box.ForbiddenCharacters(u"'");
    box.Locked(true);
    box.MaxLength(20);
    box.MinLen(2);
    box.MustFitDataList(false);
    box.Trim(false);
    box.ToolTipTextButton1(u"Look up");
    box.ToolTipTextButton2(u"Details");
    box.FontBold(true);
    box.Text(u"  Anna");
    qv::MemoryPropertyBag bag;
    form.Save(box, bag);
    auto& loaded = form.Load<QVcomboBoxControl>(u"cboLoaded", bag, 2000, 300);
    EXPECT_EQ(loaded.Appearance(), qv::Flat3d::qvFlat);
    EXPECT_EQ(loaded.BackColor(), 0x123456u);
    EXPECT_FALSE(loaded.Button2Visible());
    EXPECT_EQ(loaded.Button2(), nullptr);
    EXPECT_EQ(loaded.ConnectionLockType(), 3);
    EXPECT_EQ(loaded.DataIdField(), u"Id");
    EXPECT_EQ(loaded.SqlQueryString(), box.SqlQueryString());
    EXPECT_TRUE(loaded.DropDownStyle());
    EXPECT_EQ(loaded.ForbiddenCharacters(), u"'");
    EXPECT_TRUE(loaded.Locked());
    EXPECT_EQ(loaded.MaxLength(), 20);
    EXPECT_EQ(loaded.MinLen(), 2);
    EXPECT_FALSE(loaded.MustFitDataList());
    EXPECT_FALSE(loaded.Trim());
    EXPECT_EQ(loaded.ToolTipTextButton1(), u"Look up");
    EXPECT_EQ(loaded.ToolTipTextButton2(), u"Details");
    EXPECT_TRUE(loaded.FontBold());
    EXPECT_TRUE(loaded.TextBox().GetFont().Bold());
    EXPECT_EQ(loaded.TextBox().Text(), u"  Anna");  // stored text loads untrimmed
}

TEST_F(ComboBoxTest, DamagedStoredValuesFallBackToTheirDefaults) {
    qv::MemoryPropertyBag bag;
    bag.WriteProperty(u"Appearance", 5, 1);
    bag.WriteProperty(u"BorderStyle", u"thick", 1);
    bag.WriteProperty(u"ConnectionLockType", -7, -1);
    bag.WriteProperty(u"FocusColor", int32_t{0x7000000}, 0);
    bag.WriteProperty(u"MousePointer", 42, 0);
    bag.WriteProperty(u"Text", Variant::Null(), u"");
    bag.WriteProperty(u"Font", u"not a font", Variant());
    auto& loaded = form.Load<QVcomboBoxControl>(u"cboLoaded", bag, 2000, 300);
    EXPECT_EQ(loaded.Appearance(), qv::Flat3d::qv3D);
    EXPECT_EQ(loaded.BorderStyle(), qv::NoneFixedSingle::FixedSingle);
    EXPECT_EQ(loaded.ConnectionLockType(), -1);
    EXPECT_EQ(loaded.FocusColor(), 0xC0FFC0u);
    EXPECT_EQ(static_cast<int>(loaded.MousePointer()), 0);
    EXPECT_EQ(loaded.TextBox().Text(), u"");
}

TEST_F(ComboBoxTest, LateBoundMembersReachTheList) {
    box.CallMethod(u"AddItem", std::vector<Variant>{Variant(u"Anna")});
    box.CallMethod(u"AddItem", std::vector<Variant>{Variant(u"Aaron"), Variant(0)});
    EXPECT_EQ(box.CallMethod(u"List", std::vector<Variant>{Variant(1)}).ToString(), u"Anna");
    box.LetProperty(u"ListIndex", 1);
    EXPECT_EQ(box.DefaultValue().ToString(), u"Anna");
    EXPECT_EQ(box.GetProperty(u"ListCount").ToLong(), 2);
    EXPECT_EQ(
        box.CallMethod(u"FindItem", std::vector<Variant>{Variant(u"aar"), Variant(0), Variant(1)})
            .ToLong(),
        0);
    EXPECT_EQ(ErrorOf([&] { box.CallMethod(u"RemoveItem", std::vector<Variant>{}); }), 380);
    box.CallMethod(u"Clear");
    EXPECT_EQ(box.ListCount(), 0);
}

}  // namespace
}  // namespace combobox_test
