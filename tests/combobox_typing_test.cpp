// The combo box from the keyboard: completion in edit style, choosing in drop-down style, the
// keys while the list is dropped, the filters, and the verdict.
#include "combobox_test_support.h"

namespace combobox_test {
namespace {

class EditStyle : public ComboBoxTest {
  protected:
    EditStyle() { Fill({u"Anna", u"Anton", u"Berta"}); }
};

TEST_F(EditStyle, EnterOnSeveralCandidatesDropsTheListAndMarksOneWithoutReporting) {
    TypeInto(u"an");
    log.Clear();
    form.PressKey(Key::Return);
    EXPECT_TRUE(Dropped());
    EXPECT_EQ(box.ListIndex(), 1);  // item 0 is examined last
    EXPECT_EQ(FieldText(), u"an");
    EXPECT_EQ(Reported(), Names{u"DropDown"});
    EXPECT_TRUE(box.Timer().Enabled());
}

TEST_F(EditStyle, EnterOnOneCandidateTakesIt) {
    TypeInto(u"ant");
    log.Clear();
    form.PressKey(Key::Return);
    EXPECT_FALSE(Dropped());
    EXPECT_EQ(box.ListIndex(), 1);
    EXPECT_EQ(FieldText(), u"Anton");
    EXPECT_EQ(box.SelStart(), 5);
    // The selection change takes the item, then the search reports it again; no ListClick.
    EXPECT_EQ(Reported(), (Names{u"ItemFound", u"ItemFound"}));
}

TEST_F(EditStyle, TrailingBlankStillNamesTheItem) {
    TypeInto(u"berta ");
    form.PressKey(Key::Return);
    EXPECT_EQ(box.ListIndex(), 2);
    EXPECT_EQ(FieldText(), u"Berta");
}

TEST_F(EditStyle, NoCandidateReportsItemNotFoundAndOffersTheWholeList) {
    TypeInto(u"x");
    log.Clear();
    form.PressKey(Key::Return);
    EXPECT_TRUE(Dropped());
    EXPECT_EQ(box.ListIndex(), -1);
    EXPECT_EQ(Reported(), (Names{u"ItemNotFound", u"DropDown"}));
    // Enter's key-up comes while the list is dropped: no item begins with any part of the text.
    EXPECT_EQ(FieldText(), u"");
}

TEST_F(EditStyle, WhileDroppedTheFieldKeepsTheLongestPrefixAnItemBeginsWith) {
    TypeInto(u"\r");  // empty text: every item is a candidate
    ASSERT_TRUE(Dropped());
    form.Type(u"Bx");
    EXPECT_EQ(FieldText(), u"B");
    EXPECT_EQ(box.ListIndex(), 2);
    EXPECT_TRUE(Dropped());
}

TEST_F(EditStyle, WhileDroppedTextMatchingNothingIsEmptied) {
    TypeInto(u"\r");
    form.Type(u"x");
    EXPECT_EQ(FieldText(), u"");
}

TEST_F(EditStyle, ArrowKeysWhileDroppedTakeItemsWithoutListClick) {
    TypeInto(u"an\r");
    ASSERT_EQ(box.ListIndex(), 1);
    log.Clear();
    form.PressKey(Key::Up);
    EXPECT_EQ(box.ListIndex(), 0);
    EXPECT_EQ(FieldText(), u"Anna");
    form.PressKey(Key::Up);  // nothing above the first item
    EXPECT_EQ(box.ListIndex(), 0);
    form.PressKey(Key::Down);
    form.PressKey(Key::Down);
    form.PressKey(Key::Down);  // nothing below the last
    EXPECT_EQ(box.ListIndex(), 2);
    EXPECT_EQ(FieldText(), u"Berta");
    EXPECT_EQ(log.Count(u"ListClick"), 0);
    EXPECT_EQ(log.Count(u"ItemFound"), 3);
    EXPECT_TRUE(Dropped());
}

TEST_F(EditStyle, EnterWhileDroppedChoosesTheMarkedItem) {
    TypeInto(u"an\r");
    log.Clear();
    form.PressKey(Key::Return);
    EXPECT_FALSE(Dropped());
    EXPECT_EQ(FieldText(), u"Anton");
    EXPECT_EQ(Reported(), (Names{u"ItemFound", u"ListClick"}));
    EXPECT_TRUE(box.CheckValueNow());
}

TEST_F(EditStyle, EscapeWhileDroppedClosesAndClearsTheChoice) {
    TypeInto(u"an\r");
    log.Clear();
    form.PressKey(Key::Escape);
    EXPECT_FALSE(Dropped());
    EXPECT_EQ(box.ListIndex(), -1);
    EXPECT_EQ(FieldText(), u"an");
    EXPECT_EQ(Reported(), Names{});
}

TEST_F(EditStyle, TypingClearsTheChoice) {
    TypeInto(u"ant\r");
    ASSERT_EQ(box.ListIndex(), 1);
    form.Type(u"x");
    EXPECT_EQ(box.ListIndex(), -1);
    EXPECT_EQ(FieldText(), u"Antonx");
}

TEST_F(EditStyle, TheTimerTakesAChoiceMadeWithTheMouseOnceTheListHasClosed) {
    TypeInto(u"an\r");
    log.Clear();
    form.ChooseListItem(box.ListBox(), 0);
    EXPECT_EQ(FieldText(), u"Anna");
    EXPECT_EQ(Reported(), (Names{u"ItemFound", u"ListClick"}));
    form.AdvanceTime(0.34);
    EXPECT_FALSE(box.Timer().Enabled());
    EXPECT_EQ(box.SelStart(), 4);
}

TEST_F(EditStyle, LeavingWithUncheckedTextLooksItUp) {
    TypeInto(u"bert");
    log.Clear();
    Leave();
    EXPECT_EQ(box.ListIndex(), 2);
    EXPECT_EQ(FieldText(), u"Berta");
    EXPECT_EQ(form.FocusedControl(), &other);
}

TEST_F(EditStyle, LeavingOnSeveralCandidatesKeepsTheFocusForTheChoice) {
    TypeInto(u"an");
    Leave();
    EXPECT_TRUE(Dropped());
    EXPECT_EQ(form.FocusedControl(), &box);
    EXPECT_TRUE(box.HasFocus());
}

TEST_F(EditStyle, LeavingWhileDroppedTakesTheMarkedItem) {
    TypeInto(u"an\r");
    Leave();
    EXPECT_FALSE(Dropped());
    EXPECT_EQ(FieldText(), u"Anton");
    EXPECT_FALSE(box.Timer().Enabled());
    EXPECT_FALSE(box.HasFocus());
}

TEST_F(EditStyle, LeavingADroppedListWithoutAChoiceClosesIt) {
    TypeInto(u"x\r");  // nothing begins so: the whole list drops, nothing marked
    ASSERT_TRUE(Dropped());
    Leave();
    EXPECT_FALSE(Dropped());
    EXPECT_FALSE(box.Timer().Enabled());
}

TEST_F(ComboBoxTest, InitialsBeyondU8000ChooseInDropDownStyle) {
    Fill({u"Anna", u"\u4E00x", u"\uAC00y"});
    box.DropDownStyle(true);
    form.Focus(box);
    form.Type(u"\uAC00");
    EXPECT_EQ(box.ListIndex(), 2);
}

TEST_F(EditStyle, MinLenHoldsBackTheLookupAndButton1) {
    box.MinLen(3);
    TypeInto(u"an");
    EXPECT_FALSE(box.Button1().Enabled());
    form.PressKey(Key::Return);
    EXPECT_FALSE(Dropped());
    form.Type(u"t");
    EXPECT_TRUE(box.Button1().Enabled());
    form.PressKey(Key::Return);
    EXPECT_EQ(FieldText(), u"Anton");
}

TEST_F(EditStyle, FindItemExaminesItemZeroLast) {
    using qv::MatchModeEnum;
    using qv::SearchItemEnum;
    box.ItemData(2, 77);
    EXPECT_EQ(box.FindItem(u"anna", SearchItemEnum::SearchItemText).ToLong(), 0);
    EXPECT_EQ(box.FindItem(u"an", SearchItemEnum::SearchItemText, MatchModeEnum::Partial).ToLong(),
              1);
    EXPECT_EQ(box.FindItem(u"an", SearchItemEnum::SearchItemText).ToLong(), -1);
    EXPECT_EQ(box.FindItem(77, SearchItemEnum::SearchItemData).ToLong(), 2);
    EXPECT_EQ(box.FindItem(u"x7", SearchItemEnum::SearchItemData).ToLong(), -1);
    EXPECT_EQ(box.ListIndex(), -1);
}

TEST_F(EditStyle, CompleteNowTakesTheMarkedItemOrLooksTheTextUp) {
    TypeInto(u"an\r");
    box.CompleteNow();
    EXPECT_FALSE(Dropped());
    EXPECT_EQ(FieldText(), u"Anton");
    box.Text(u"ber");
    box.CompleteNow();
    EXPECT_EQ(FieldText(), u"Berta");
}

TEST_F(ComboBoxTest, ForbiddenCharactersAreCaseSensitive) {
    box.ForbiddenCharacters(u"'a");
    TypeInto(u"O'Neil a A");
    EXPECT_EQ(FieldText(), u"ONeil  A");
}

TEST_F(ComboBoxTest, KeyPressHandlersSeeEachCharacterBeforeAndAfterFiltering) {
    box.ForbiddenCharacters(u"x");
    std::vector<int16_t> seen;
    box.events.KeyPress = [&](int16_t& k) { seen.push_back(k); };
    TypeInto(u"ax");
    EXPECT_EQ(seen, (std::vector<int16_t>{'a', 'a', 'x', 0}));
}

TEST_F(ComboBoxTest, UnicodeTextsCompareByCaseFolding) {
    Fill({u"Ärger", u"Öl", u"Straße", u"Ωmega"});
    TypeInto(u"ärg\r");
    EXPECT_EQ(FieldText(), u"Ärger");
    box.Text(u"ωme");
    form.PressKey(Key::Return);
    EXPECT_EQ(FieldText(), u"Ωmega");
}

class DropDownStyle : public ComboBoxTest {
  protected:
    DropDownStyle() {
        box.DropDownStyle(true);
        Fill({u"Apfel", u"Birne", u"Avocado"});
    }
};

TEST_F(DropDownStyle, FocusChoosesTheFirstItem) {
    form.Focus(box);
    EXPECT_EQ(box.ListIndex(), 0);
    EXPECT_EQ(FieldText(), u"Apfel");
}

TEST_F(DropDownStyle, CharactersChooseTheNextItemWithThatInitial) {
    form.Focus(box);
    form.Type(u"a");
    EXPECT_EQ(FieldText(), u"Avocado");
    form.Type(u"A");
    EXPECT_EQ(FieldText(), u"Apfel");
    form.Type(u"b");
    EXPECT_EQ(FieldText(), u"Birne");
    form.Type(u"z");  // no item: the choice stays
    EXPECT_EQ(FieldText(), u"Birne");
}

TEST_F(DropDownStyle, ArrowsStepAndEnterDropsAndCloses) {
    form.Focus(box);
    form.PressKey(Key::Down);
    EXPECT_EQ(FieldText(), u"Birne");
    form.PressKey(Key::Down);
    form.PressKey(Key::Down);
    EXPECT_EQ(FieldText(), u"Avocado");
    form.PressKey(Key::Up);
    EXPECT_EQ(FieldText(), u"Birne");
    form.PressKey(Key::Return);
    EXPECT_TRUE(Dropped());
    form.PressKey(Key::Return);
    EXPECT_FALSE(Dropped());
    EXPECT_EQ(box.ListIndex(), 1);
}

TEST_F(DropDownStyle, EscapeWhileDroppedClearsTheChoice) {
    form.Focus(box);
    form.PressKey(Key::Return);
    form.PressKey(Key::Escape);
    EXPECT_FALSE(Dropped());
    EXPECT_EQ(box.ListIndex(), -1);
}

TEST_F(DropDownStyle, Button1DropsTheListButNotRightAfterTheTimerClosedIt) {
    form.Focus(box);
    const auto& b1 = box.Button1();
    const float x = static_cast<float>(b1.Left() + b1.Width() / 2);
    const float y = static_cast<float>(b1.Top() + b1.Height() / 2);
    form.Click(box, x, y);
    EXPECT_TRUE(Dropped());
    EXPECT_EQ(log.Count(u"Button1Click"), 1);
    form.AdvanceTime(0.34);  // a tick while dropped
    form.CloseList(box.ListBox());
    form.AdvanceTime(0.1);
    form.Click(box, x, y);  // within 0.3 s of the last tick: only the focus moves
    EXPECT_FALSE(Dropped());
    form.AdvanceTime(1);
    form.Click(box, x, y);
    EXPECT_TRUE(Dropped());
    EXPECT_EQ(log.Count(u"Button1Click"), 3);
}

// --- Verdict ------------------------------------------------------------------------------------

struct VerdictCase {
    bool mustHaveValue;
    const char16_t* text;
    bool chosen;
    bool valid;
};

class Verdict : public ComboBoxTest, public ::testing::WithParamInterface<VerdictCase> {};

TEST_P(Verdict, MustFitDataList) {
    const VerdictCase& c = GetParam();
    Fill({u"Anna", u"Berta"});
    box.MustHaveValue(c.mustHaveValue);
    form.Focus(box);
    box.Text(c.text);
    if (c.chosen) box.ListIndex(0);
    EXPECT_EQ(box.CheckValueNow(), c.valid);
    EXPECT_EQ(box.TextBox().BackColor(), c.valid ? box.FocusColor() : box.ErrorColor());
}

INSTANTIATE_TEST_SUITE_P(Cases, Verdict,
                         ::testing::Values(VerdictCase{false, u"", false, true},
                                           VerdictCase{true, u"", false, false},
                                           VerdictCase{false, u"Ann", false, false},
                                           VerdictCase{false, u"Anna", true, true},
                                           VerdictCase{true, u"Anna", true, true}));

TEST_F(ComboBoxTest, WithoutMustFitDataListAnyTextIsValidAndLeavingLooksNothingUp) {
    Fill({u"Anna"});
    box.MustFitDataList(false);
    box.UseWarningColor(true);
    TypeInto(u"Zorro");
    Leave();
    EXPECT_TRUE(box.CheckValueNow());
    EXPECT_EQ(box.TextBox().BackColor(), box.BackColor());
    EXPECT_EQ(log.Count(u"ItemNotFound"), 0);
}

TEST_F(ComboBoxTest, AnInvalidValueShowsTheWarningColourAfterLeaving) {
    Fill({u"Anna"});
    box.UseWarningColor(true);
    TypeInto(u"Zorro");
    Leave();
    EXPECT_EQ(log.Count(u"ItemNotFound"), 1);
    EXPECT_EQ(box.TextBox().BackColor(), box.WarningColor());
    EXPECT_EQ(box.ListBox().BackColor(), box.FocusColor());
}

TEST_F(ComboBoxTest, ValidationCheckOverrulesTheVerdict) {
    box.events.ValidationCheck = [](bool& ok) { ok = false; };
    form.Focus(box);
    EXPECT_FALSE(box.CheckValueNow());
    EXPECT_EQ(box.TextBox().BackColor(), box.ErrorColor());
}

}  // namespace
}  // namespace combobox_test
