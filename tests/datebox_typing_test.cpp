// The date box under the keyboard and the mouse: the three layouts, refused keys, keys over a
// selection, caret keys, Change counting, pastes, the key press handler, mouse-up and tooltips.
#include <functional>

#include "datebox_test_support.h"

namespace datebox_test {
namespace {

namespace Key = qv::Key;
namespace ShiftState = qv::ShiftState;
using DateBoxTyping = DateBoxTest;

TEST(DateBoxLayouts, EachKeySuppliesZerosAndSeparatorsAndLeavesTheCaretAtTheEnd) {
    // clang-format off
    const std::tuple<DateFmt, const char16_t*, Strings> cases[] = {
        {DateFmt::DMY, u"5122024", {u"05", u"05.1", u"05.12", u"05.12.2", u"05.12.20", u"05.12.202", u"05.12.2024"}},
        {DateFmt::YMD, u"2024125", {u"2", u"20", u"202", u"2024", u"2024-1", u"2024-12", u"2024-12-05"}},
        {DateFmt::MDY, u"1252024", {u"1", u"12", u"12/05", u"12/05/2", u"12/05/20", u"12/05/202", u"12/05/2024"}}};
    // clang-format on
    for (const auto& [format, keys, expected] : cases) {
        Container f;
        auto& b = f.Add<QVDateBoxControl>(u"dt");
        b.DateFormat(format);
        EventLog events;
        events.Attach(b);
        f.Focus(b);
        Strings shown;
        for (const char16_t key : String(keys)) {
            f.Type(String(1, key));
            shown.push_back(FieldsText(b));
            EXPECT_EQ(b.Field(0).SelStart(), int32_t(shown.back().size()));
        }
        EXPECT_EQ(shown, expected);
        EXPECT_EQ(events.Count(u"Change"), 7);
    }
}

TEST_F(DateBoxTyping, RefusedKeysChangeNothingAndOnlyParsedOnesSendTheDateNotices) {
    // clang-format off
    const std::tuple<DateFmt, const char16_t*, const char16_t*, bool> cases[] = {
        {DateFmt::DMY, u"3", u"2", true}, {DateFmt::DMY, u"31.0", u"4", true}, {DateFmt::DMY, u"05.12.", u"3", true},
        {DateFmt::DMY, u"05.12.2024", u"1", true}, {DateFmt::DMY, u"29.02.190", u"0", true},  // 1900: no leap year
        {DateFmt::YMD, u"1900_02_2", u"9", true}, {DateFmt::MDY, u"02/29/190", u"0", true},
        {DateFmt::DMY, u"05", u"a", false}, {DateFmt::DMY, u"05", u"_", false}};  // "_" is SeparatorYMD
    // clang-format on
    box.SeparatorYMD(u"_");  // a separator, but one that programs alone write
    form.Focus(box);
    log.Attach(box);
    for (const auto& [format, start, key, parsed] : cases) {
        box.DateFormat(format);
        box.Text(start);
        log.Clear();
        form.ClearPropertyChanges();
        form.Type(key);
        EXPECT_EQ(std::tuple(FieldsText(box), log.Count(u"Change"), Notices(form)),
                  std::tuple(String(start), 0, parsed ? kDateNotices : Names{}))
            << qv::ToUtf8(String(start) + key);
    }
}

TEST_F(DateBoxTyping, KeyOverASelectionFirstCutsAsManyCharactersFromTheEnd) {
    std::vector<std::tuple<int32_t, int32_t, const char16_t*, const char16_t*>> cases = {
        {7, 3, u"0", u"05.12.20"}, {7, 3, u"9", u"05.12.2"}, {0, 10, u"3", u"3"}};
    for (int32_t start = 0; start <= 8; ++start) cases.emplace_back(start, 2, u"9", u"05.12.209");
    form.Focus(box);
    for (const auto& [start, length, key, result] : cases) {
        box.Text(u"05.12.2024");
        Shown().SelStart(start);
        Shown().SelLength(length);
        form.Type(key);
        EXPECT_EQ(FieldsText(box), result) << start << "+" << length;
    }
}

TEST_F(DateBoxTyping, LeftDeletesShiftLeftSelectsEscapeDeselectsAndKeyUpReturnsToTheEnd) {
    form.Focus(box);
    form.Type(u"05.12.2024");
    std::vector<int16_t> downs;
    box.events.KeyDown = [&](int16_t& KeyCode, int16_t&) { downs.push_back(KeyCode); };
    log.Attach(box);
    form.PressKey(Key::Left);
    EXPECT_EQ(FieldsText(box), u"05.12.202");
    EXPECT_EQ(downs, (std::vector<int16_t>{Key::Left, Key::Back}));  // an injected backspace
    EXPECT_EQ(log.Count(u"Change"), 1);
    form.PressKey(Key::Left, ShiftState::Shift);
    form.PressKey(Key::Left, ShiftState::Shift);
    EXPECT_EQ(std::pair(FieldsText(box), Selection()),
              std::pair(String(u"05.12.202"), std::pair(7, 2)));
    form.PressKey(Key::Escape);
    EXPECT_EQ(std::pair(FieldsText(box), Selection()),
              std::pair(String(u"05.12.202"), std::pair(9, 0)));
}

TEST_F(DateBoxTyping, ChangeIsRaisedOncePerKeyAndPerWriteThatChangesTheText) {
    // clang-format off
    const std::tuple<std::function<void()>, const char16_t*, int, Names> steps[] = {
        {[&] { form.Type(u"0"); }, u"0", 1, kDateNotices}, {[&] { form.Type(u"0"); }, u"0", 0, kDateNotices},
        {[&] { form.Type(u"x"); }, u"0", 0, {}}, {[&] { form.Type(u"\b"); }, u"", 1, {}},
        {[&] { box.Text(u"05.12.2024"); }, u"05.12.2024", 1, kDateNotices},
        {[&] { box.Text(u"05.12.2024"); }, u"05.12.2024", 0, kDateNotices},
        {[&] { Shown().SelStart(0); form.PressKey(Key::Delete); }, u"05.12.2024", 0, {}},  // 5.12.2024 parsed back
        {[&] { box.DDate(DateSerial(2024, 1, 2)); }, u"02.01.2024", 1, kDateNotices},
        {[&] { box.DateFormat(DateFmt::YMD); }, u"2024-01-02", 1, {u"DateFormat"}},
        {[&] { box.Text(Variant::Null()); }, u"", 1, {}}, {[&] { box.DDate(Variant::Null()); }, u"", 0, {}}};
    // clang-format on
    form.Focus(box);
    log.Attach(box);
    for (const auto& [act, text, changes, notices] : steps) {
        log.Clear();
        form.ClearPropertyChanges();
        act();
        EXPECT_EQ(std::tuple(FieldsText(box), log.Count(u"Change"), Notices(form)),
                  std::tuple(String(text), changes, notices));
    }
}

TEST_F(DateBoxTyping, PastesAddAtTheEndThroughTheTypingParser) {
    // Typed (the caret at the end) or written by the program (the caret at the start).
    // clang-format off
    const std::tuple<bool, const char16_t*, const char16_t*> cases[] = {
        {false, u"2024", u"05.12.2024"}, {false, u"hello", u"05.12."}, {false, u"1999x", u"05.12.1999"},
        {true, u"2024", u"05.12.2024"}};
    // clang-format on
    form.Focus(box);
    log.Attach(box);
    for (const bool ctrlV : {true, false}) {
        for (const auto& [written, clip, result] : cases) {
            box.Text(written ? u"05.12." : u"");
            if (!written) form.Type(u"05.12.");
            form.Clipboard() = clip;
            log.Clear();
            ctrlV ? form.Type(u"\x16") : form.PressKey(Key::Insert, ShiftState::Shift);
            EXPECT_EQ(std::pair(FieldsText(box), log.Count(u"Change")),
                      std::pair(String(result), String(result) == u"05.12." ? 0 : 1))
                << qv::ToUtf8(clip) << ctrlV << written;
        }
    }
}

TEST(DateBoxFocus, SelectedOnGotFocusLetsTheNextKeyReplaceTheDateUnlessTheHandlerTakesIt) {
    for (const bool selected : {false, true}) {
        Container f;
        auto& b = f.Add<QVDateBoxControl>(u"dt");
        b.SelectedOnGotFocus(selected);
        b.Text(u"05.12.2024");
        b.events.KeyPress = [](int16_t& k) { k = k == 'x' ? 0 : k == 'a' ? '3' : k; };
        f.Focus(b);
        EXPECT_EQ(b.Field(0).SelLength(), selected ? 10 : 0);
        f.Type(u"x");  // taken by the handler: the selection is not cut either
        EXPECT_EQ(std::pair(FieldsText(b), b.Field(0).SelLength()),
                  std::pair(String(u"05.12.2024"), selected ? 10 : 0));
        f.Type(u"a");
        EXPECT_EQ(FieldsText(b), selected ? u"3" : u"05.12.2024");
    }
}

TEST_F(DateBoxTyping, MouseUpLeavesTheCaretAtTheEndUnlessThreeOrMoreAreSelected) {
    // Character boundaries in the 3-D field: a 2-pixel border, then 90 twips a character (9 pt).
    const auto x = [](int chars) { return 30.0f + 90.0f * float(chars); };
    const int cases[][4] = {
        {10, 8, 10, 0}, {10, 7, 0, 10}, {2, 4, 10, 0}, {5, 2, 0, 10}, {3, 3, 10, 0}};
    box.Text(u"05.12.2024");
    std::pair<int32_t, int32_t> atMouseUp;
    box.events.MouseUp = [&](auto&...) { atMouseUp = Selection(); };
    for (const auto& [from, to, start, length] : cases) {
        form.Drag(box, x(from), 100, x(to), 100, 2);
        EXPECT_EQ(std::pair(Selection(), atMouseUp),
                  std::pair(std::pair(start, length), std::pair(start, length)))
            << from << " -> " << to;
    }
}

TEST_F(DateBoxTyping, MouseMoveGivesTheFieldTheExtenderTooltipBeforeTheEventControlTipWinning) {
    String inEvent;
    box.events.MouseMove = [&](auto&...) { inEvent = Shown().ToolTipText(); };
    form.SiteOf(box).SetExtender(u"ToolTipText", u"form tip");
    form.MouseMove(box, 500, 100);
    EXPECT_EQ(inEvent, u"form tip");
    form.SiteOf(box).SetExtender(u"ControlTipText", u"page tip");
    form.MouseMove(box, 500, 100);
    EXPECT_EQ(std::pair(Shown().ToolTipText(), inEvent),
              std::pair(String(u"page tip"), String(u"page tip")));
}

}  // namespace
}  // namespace datebox_test
