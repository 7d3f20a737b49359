// Tables of text box and numeric box behaviour, played on the headless host and on the Qt host
// (real Qt key events; the numeric box takes them on its own surface). Each row must come out
// the same on both hosts, with the same event arguments, and as the row expects.
#include "scenario.h"

namespace {

using namespace conformance;
namespace K = qv::Key;
namespace S = qv::ShiftState;

constexpr Color kBack = qv::SystemColor::WindowBackground;
constexpr Color kFocus = 0xC0FFC0;
constexpr Color kError = 0xC0C0FF;
constexpr Color kWarning = 0xC0FFFF;
constexpr Color kDisabled = 0xC0C0C0;

constexpr int16_t kKeyC = 'C', kKeyV = 'V', kKeyX = 'X', kKeyZ = 'Z';

// Event sequences of one keystroke.
constexpr const char* kEdit = "KeyDown KeyPress ValidationCheck Change KeyUp";  // a character
constexpr const char* kNoEdit = "KeyDown KeyPress KeyUp";  // a character that changed nothing
constexpr const char* kMove = "KeyDown KeyUp";             // a key without a character
constexpr const char* kKeyEdit = "KeyDown ValidationCheck Change KeyUp";  // Delete
constexpr const char* kCheck = "ValidationCheck";                         // a recolouring
// Leaving after typing: the text is formatted (capital letter: Change), the hidden fields take
// the text, then the box recolours for the lost focus.
constexpr const char* kLeaveFormatted =
    "ValidationCheck Change ValidationCheck ValidationCheck ValidationCheck";

std::string Seq(std::initializer_list<std::string_view> parts) {
    std::string out;
    for (std::string_view p : parts) out += (out.empty() ? "" : " ") + std::string(p);
    return out;
}
std::string Times(int n, std::string_view part) {
    return n == 1 ? std::string(part) : Seq({part, Times(n - 1, part)});
}

// The setup of a row: property writes by name, in order.
std::function<void(qv::Control&)> Set(std::vector<std::pair<const char16_t*, Variant>> writes) {
    return [writes](qv::Control& b) {
        for (const auto& [name, value] : writes) b.LetProperty(name, value);
    };
}
const auto kWarn = Set({{u"UseWarningColor", true}});
const auto kNull = Set({{u"NullToEmptyString", false}, {u"Text", Variant::Null()}});

Scenario Row(const char* name, std::function<void(QVtxtBoxControl&)> setup, Handlers on,
             std::vector<Step> steps, String before = {}, std::optional<String> after = {}) {
    return {name, setup, on, steps, before, after};
}

const std::vector<Scenario>& Rows() {
    static const std::vector<Scenario> rows = {
        // Typed text is formatted when the box is left: trimmed, then its first letter raised
        // (a second write: one more check, no second Change).
        Row("LeavingTrimsAndCapitalises", nullptr, {},
            {Focus({kCheck, u"", kError}),
             Type(u" \u00fcber ", {Times(6, kEdit), u" \u00fcber ", 6, 0, kFocus}),
             Key(K::Return, {kNoEdit, u" \u00fcber ", 6, 0, kFocus}),
             Leave({Seq({kLeaveFormatted, kCheck}), u"\u00dcber", kBack})}),
        Row("AllUcaseComesBeforeTheForbiddenTest",
            Set({{u"AllUcase", true}, {u"ForbiddenCharacters", u"X1"}}), {},
            {Focus({kCheck, u"", kError}),
             Type(u"x1aBc", {Seq({kNoEdit, kNoEdit, Times(3, kEdit)}), u"ABC", 3, 0, kFocus}),
             Leave({Times(3, kCheck), u"ABC", kBack})}),
        Row("KeyPressHandlerCancelsOrChangesTheCharacter", Set({{u"ForbiddenCharacters", u"1"}}),
            {.keyPress =
                 [](int16_t& a) {
                     if (a == 'x') a = 0;
                     if (a == 'q') a = 'k';
                     if (a == 'a') a = '1';   // a changed character still meets the forbidden test
                     if (a == 'e') a = 0xE9;  // a character without a key of its own
                     if (a == 'w') a = 13;    // Enter: nothing on one line
                     if (a == 'z') a = 8;     // Backspace
                 }},
            {Focus({kCheck, u"", kError}),
             Type(u"axqbew",
                  {Seq({kNoEdit, kNoEdit, Times(3, kEdit), kNoEdit}), u"kb\u00e9", 3, 0, kFocus}),
             Type(u"z", {kEdit, u"kb", 2, 0, kFocus})}),
        // A stopped key does nothing, but its key up still carries the key's own code.
        Row("KeyDownHandlerStopsKeysButNotBackspace", Set({{u"Text", u"abc"}}),
            {.keyDown = [](int16_t& k, int16_t&) { k = k == K::Delete || k == K::Left ? 0 : k; }},
            {Focus({kCheck, u"Abc", kFocus}),
             Key(K::Delete, {"KeyDown(46,0) KeyUp(46,0)", u"Abc", kFocus}),
             Key(K::End, {kMove, u"Abc", 3, 0, kFocus}),
             Key(K::Left, {kMove, u"Abc", 3, 0, kFocus}),
             Key(K::Back, {kEdit, u"Ab", 2, 0, kFocus}), Leave({Times(3, kCheck), u"Ab", kBack})}),
        Row("SelectedOnGotFocusAndMaxLengthCountsWhatASelectionFrees",
            Set({{u"Text", u"abc"}, {u"MaxLength", 3}, {u"SelectedOnGotFocus", true}}), {},
            {Focus({kCheck, u"Abc", 0, 3, kFocus}),
             Type(u"xyzw", {Seq({Times(3, kEdit), kNoEdit}), u"xyz", 3, 0, kFocus, 1}),
             Leave({kLeaveFormatted, u"Xyz", kBack})}),
        Row("ProgramSelectionSurvivesTheFocus",
            Set({{u"Text", u"abc"}, {u"SelStart", 1}, {u"SelLength", 1}}), {},
            {Focus({kCheck, u"Abc", 1, 1, kFocus}), Type(u"x", {kEdit, u"Axc", 2, 0, kFocus})}),
        Row("CaretKeysSelectionAndDelete", Set({{u"Text", u"abcd"}}), {},
            {Focus({kCheck, u"Abcd", kFocus}), Key(K::Delete, {kKeyEdit, u"bcd", kFocus}),
             Key(K::End, {kMove, u"bcd", 3, 0, kFocus}),
             Key(K::Left, {kMove, u"bcd", 2, 0, kFocus}),
             Type(u"x", {kEdit, u"bcxd", 3, 0, kFocus}),
             Key(K::Left, S::Shift, {kMove, u"bcxd", 2, 1, kFocus}),
             Key(K::Left, S::Shift, {kMove, u"bcxd", 1, 2, kFocus}),
             Key(K::Delete, {kKeyEdit, u"bd", 1, 0, kFocus}),
             Key(K::Home, S::Shift, {kMove, u"bd", 0, 1, kFocus}),
             Type(u"z", {kEdit, u"zd", 1, 0, kFocus}), Leave({kLeaveFormatted, u"Zd", kBack})}),
        Row("CopyPasteAndCut", Set({{u"Text", u"hello"}, {u"SelectedOnGotFocus", true}}), {},
            {Focus({kCheck, u"Hello", 0, 5, kFocus}),
             Key(kKeyC, S::Ctrl, {kNoEdit, u"Hello", 0, 5, kFocus}),
             Key(K::End, {kMove, u"Hello", 5, 0, kFocus}),
             Key(kKeyV, S::Ctrl, {kEdit, u"HelloHello", 10, 0, kFocus}),
             Key(K::Home, S::Shift, {kMove, u"HelloHello", 0, 10, kFocus}),
             Key(kKeyX, S::Ctrl, {kEdit, u"", kError}), Leave({Times(3, kCheck), u"", kBack})},
            u"old", u"HelloHello"),
        // One line takes the clipboard's first line, cut short at MaxLength with a beep.
        Row("PasteOnOneLine", Set({{u"MaxLength", 4}}), {},
            {Focus({kCheck, u"", kError}), Key(kKeyV, S::Ctrl, {kEdit, u"abc", 3, 0, kFocus}),
             Key(kKeyV, S::Ctrl, {kEdit, u"abca", 4, 0, kFocus, 1})},
            u"abc\r\nxyz", u"abc\r\nxyz"),
        Row("UndoTakesBackTheTypingRunAndRedoes", nullptr, {},
            {Focus({kCheck, u"", kError}), Type(u"abc", {Times(3, kEdit), u"abc", 3, 0, kFocus}),
             Key(kKeyZ, S::Ctrl, {kEdit, u"", kError}),
             Key(kKeyZ, S::Ctrl, {kEdit, u"abc", 3, 0, kFocus})}),
        Row("MultiLineEnterBreaksTheLine", Set({{u"MultiLine", true}}), {},
            {Focus({kCheck, u"", kError}), Type(u"ab", {Times(2, kEdit), u"ab", 2, 0, kFocus}),
             Key(K::Return, {kEdit, u"ab\r\n", 4, 0, kFocus}),
             Type(u"cd", {Times(2, kEdit), u"ab\r\ncd", 6, 0, kFocus}),
             Key(K::Home, {kMove, u"ab\r\ncd", 4, 0, kFocus}),
             Leave({kLeaveFormatted, u"Ab\r\ncd", kBack})}),
        Row("LockedRefusesEditsAndShowsDisabled", Set({{u"Text", u"abc"}, {u"Locked", true}}), {},
            {Focus({kCheck, u"Abc", kDisabled}), Type(u"x", {kNoEdit, u"Abc", kDisabled}),
             Key(K::Delete, {kMove, u"Abc", kDisabled}), Leave({kCheck, u"Abc", kDisabled})}),
        Row("PasswordFieldDoesNotCopy", Set({{u"PasswordChar", u"*"}}), {},
            {Focus({kCheck, u"", kError}), Type(u"abc", {Times(3, kEdit), u"abc", 3, 0, kFocus}),
             Key(K::Home, S::Shift, {kMove, u"abc", 0, 3, kFocus}),
             Key(kKeyC, S::Ctrl, {kNoEdit, u"abc", 0, 3, kFocus})},
            u"keep", u"keep"),
        Row("NullStaysNullWithoutTyping", kNull, {},
            {Focus({kCheck, u"<Null>", kError}), Leave({kCheck, u"<Null>", kBack})}),
        Row("TypingGivesANullBoxAValue", kNull, {},
            {Focus({kCheck, u"<Null>", kError}), Type(u"a", {kEdit, u"a", 1, 0, kFocus}),
             Key(K::Back, {kEdit, u"", kError}), Leave({kCheck, u"", kBack})}),
        Row("BlanksCountAsEmptyAndWarnOnLeave", kWarn, {},
            {Focus({kCheck, u"", kError}), Type(u"   ", {Times(3, kEdit), u"   ", 3, 0, kError}),
             Leave({Seq({kCheck, "Change", kCheck}), u"", kWarning})}),
        Row("ValueNotNeeded", Set({{u"MustHaveValue", false}, {u"UseWarningColor", true}}), {},
            {Focus({kCheck, u"", kFocus}), Leave({kCheck, u"", kBack})}),
        Row("ValidationCheckRefusesShortValues", kWarn,
            {.validationCheck = [](auto& b, bool& ok) { ok &= b.Text().ToString().size() > 2; }},
            {Focus({kCheck, u"", kError}), Type(u"ab", {Times(2, kEdit), u"ab", 2, 0, kError}),
             Leave({kLeaveFormatted, u"Ab", kWarning})}),
        Row("ValidationCheckAcceptsAnEmptyValue", kWarn,
            {.validationCheck = [](auto&, bool& ok) { ok = true; }},
            {Focus({kCheck, u"", kFocus}), Leave({kCheck, u"", kBack})}),
    };
    return rows;
}

// --- The numeric box ----------------------------------------------------------------------

// Leaving after typing: the display is rounded and padded (Change), then the box recolours.
constexpr const char* kLeavePadded = "Change ValidationCheck";
// Ctrl+V or Ctrl+Z that puts a value in: the value is shown (Change) and highlighted, the box
// recolours; the control character itself is refused with a beep.
constexpr const char* kValueKey = "KeyDown Change ValidationCheck KeyPress KeyUp";

NumScenario NumRow(const char* name, std::function<void(QVnumBoxControl&)> setup,
                   std::vector<Step> steps, String before = {}, std::optional<String> after = {}) {
    return {name, setup, {}, steps, before, after};
}

const std::vector<NumScenario>& NumRows() {
    static const std::vector<NumScenario> rows = {
        NumRow("DigitsGroupAndTheLimitsBeep", nullptr,
               {Focus({kCheck, u"", kFocus}),
                Type(u"-12345678",
                     {Seq({kNoEdit, Times(7, kEdit), kNoEdit}), u"1.234.567", 0, 0, kFocus, 2}),
                Type(u",555", {Seq({Times(3, kEdit), kNoEdit}), u"1.234.567,55", 0, 0, kFocus, 1}),
                Leave({kCheck, u"1.234.567,55", kBack})}),
        NumRow("DecimalKeyOnAnEmptyBoxAndLeavingPads", nullptr,
               {Focus({kCheck, u"", kFocus}), Type(u".", {kEdit, u"0,", kFocus}),
                Key(K::Back, {kEdit, u"0", kFocus}),
                Type(u"1234.5", {Times(6, kEdit), u"1.234,5", kFocus}),
                Type(u",", {kNoEdit, u"1.234,5", 0, 0, kFocus, 1}),
                Leave({kLeavePadded, u"1.234,50", kBack})}),
        NumRow("MinusTogglesTheSign", Set({{u"AllowMinus", true}}),
               {Focus({kCheck, u"", kFocus}), Type(u"12-", {Times(3, kEdit), u"-12", kFocus}),
                Type(u"-", {kEdit, u"12", kFocus}), Type(u"-", {kEdit, u"-12", kFocus}),
                Leave({kLeavePadded, u"-12,00", kBack})}),
        // Left is an injected Backspace: it arrives after the Left keystroke.
        NumRow("BackspaceAndLeftTakeTheLastCharacter",
               Set({{u"SelectedOnGotFocus", false}, {u"Text", u"1234,5"}}),
               {Focus({kCheck, u"1.234,50", kFocus}), Key(K::Back, {kEdit, u"1.234,5", kFocus}),
                Key(K::Left,
                    {"KeyDown(37,0) KeyUp(37,0) KeyDown(8,0) KeyPress(8) ValidationCheck(True) "
                     "Change KeyUp(8,0)",
                     u"1.234,", kFocus}),
                Key(K::Back, {kEdit, u"1.234", kFocus}), Key(K::Back, {kEdit, u"123", kFocus}),
                Leave({kLeavePadded, u"123,00", kBack})}),
        NumRow("TypingReplacesTheHighlightAfterFocusEntry", Set({{u"Text", u"77"}}),
               {Focus({kCheck, u"77,00", 0, 5, kFocus}), Type(u"5", {kEdit, u"5", kFocus}),
                Leave({kLeavePadded, u"5,00", kBack})}),
        NumRow("DeleteEmptiesAHighlightedBox",
               Set({{u"MustHaveValue", true}, {u"UseWarningColor", true}, {u"Text", u"12,5"}}),
               {Focus({kCheck, u"12,50", 0, 5, kFocus}),
                Key(K::Delete,
                    {"KeyDown(46,0) ValidationCheck(False) Change KeyUp(46,0)", u"", kError}),
                Key(K::Delete, {kMove, u"", kError}), Leave({kCheck, u"", kWarning})}),
        NumRow("CopyAndPasteCarryTheValue", Set({{u"Text", u"1234,5"}}),
               {Focus({kCheck, u"1.234,50", 0, 8, kFocus}),
                Key(kKeyC, S::Ctrl, {kNoEdit, u"1.234,50", 0, 8, kFocus, 1}),
                Type(u"9", {kEdit, u"9", kFocus}),
                Key(kKeyV, S::Ctrl, {kValueKey, u"1.234,50", 0, 8, kFocus, 1})},
               u"old", u"1234.5"),
        NumRow("UndoGoesBackToTheValueOfTheLastVisitAndRedoes", nullptr,
               {Focus({kCheck, u"", kFocus}), Type(u"12", {Times(2, kEdit), u"12", kFocus}),
                Leave({kLeavePadded, u"12,00", kBack}), Focus({kCheck, u"12,00", 0, 5, kFocus}),
                Type(u"3", {kEdit, u"3", kFocus}),
                Key(kKeyZ, S::Ctrl, {kValueKey, u"12,00", 0, 5, kFocus, 1}),
                Key(kKeyZ, S::Ctrl, {kValueKey, u"3,00", 0, 4, kFocus, 1})}),
        NumRow("RangeColoursWhileTyping",
               Set({{u"CheckRange", true},
                    {u"SmallestValue", 1.0},
                    {u"LargestValue", 999.0},
                    {u"PostDecimalNumbers", int16_t{0}},
                    {u"UseWarningColor", true}}),
               {Focus({kCheck, u"", kFocus}), Type(u"0", {kEdit, u"0", kError}),
                Type(u"5", {kEdit, u"5", kFocus}), Type(u",", {kNoEdit, u"5", 0, 0, kFocus, 1}),
                Type(u"00", {Times(2, kEdit), u"500", kFocus}),
                Type(u"0", {kEdit, u"5.000", kError}), Leave({kCheck, u"5.000", kWarning})}),
    };
    return rows;
}

DateScenario DateRow(const char* name, std::function<void(qv::QVDateBoxControl&)> setup,
                     std::vector<Step> steps) {
    return {name, setup, {}, steps};
}

// The date box: every character enters at the end through the date parser. The injected
// Backspace of the left arrow arrives after the arrow's own keystroke.
const std::vector<DateScenario>& DateRows() {
    static const std::vector<DateScenario> rows = {
        DateRow("DmyTypingSuppliesZerosAndSeparators", nullptr,
                {Focus({kCheck, u"", kError}), Type(u"5", {kEdit, u"05", 2, 0, kError}),
                 Type(u"122024", {Times(6, kEdit), u"05.12.2024", 10, 0, kFocus}),
                 Type(u"1", {kNoEdit, u"05.12.2024", 10, 0, kFocus}),
                 Leave({kCheck, u"05.12.2024", 10, 0, kBack})}),
        DateRow(
            "RefusedKeysLeaveTheTextAsItWas", nullptr,
            {Focus({kCheck, u"", kError}), Type(u"32", {Seq({kEdit, kNoEdit}), u"3", 1, 0, kError}),
             Type(u"x1", {Seq({kNoEdit, kEdit}), u"31", 2, 0, kError}),
             Type(u".4", {Seq({kEdit, kEdit}), u"31.0", 4, 0, kError}),
             Type(u"1.1", {Times(3, kEdit), u"31.01.1", 7, 0, kError}),
             Type(u"8", {kNoEdit, u"31.01.1", 7, 0, kError})}),
        DateRow("YmdAndMdyLayouts", Set({{u"DateFormat", 1}}),
                {Focus({kCheck, u"", kError}),
                 Type(u"2024-2-3", {Times(8, kEdit), u"2024-02-03", 10, 0, kFocus}),
                 Leave({kCheck, u"2024-02-03", 10, 0, kBack})}),
        DateRow("MdyPadsTheMonthAtItsSeparator", Set({{u"DateFormat", 2}}),
                {Focus({kCheck, u"", kError}),
                 Type(u"1/31/2020", {Times(9, kEdit), u"01/31/2020", 10, 0, kFocus})}),
        DateRow("LeapDayNeedsAGregorianLeapYear", nullptr,
                {Focus({kCheck, u"", kError}),
                 Type(u"2902190", {Times(7, kEdit), u"29.02.190", 9, 0, kError}),
                 Type(u"0", {kNoEdit, u"29.02.190", 9, 0, kError}),
                 Key(K::Back, {kEdit, u"29.02.19", 8, 0, kError}),
                 Type(u"96", {Times(2, kEdit), u"29.02.1996", 10, 0, kFocus})}),
        DateRow("ASelectionIsCutFromTheEnd", Set({{u"Text", u"05.12.2024"}}),
                {Focus({kCheck, u"05.12.2024", 10, 0, kFocus}),
                 Key(K::End, {kMove, u"05.12.2024", 10, 0, kFocus}),
                 Key(K::Left, S::Shift, {kMove, u"05.12.2024", 9, 1, kFocus}),
                 Key(K::Left, S::Shift, {kMove, u"05.12.2024", 8, 2, kFocus}),
                 Type(u"9", {"KeyDown KeyPress ValidationCheck Change ValidationCheck Change KeyUp",
                             u"05.12.209", 9, 0, kError})}),
        DateRow(
            "LeftArrowDeletesAndEscapeEndsTheSelection", nullptr,
            {Focus({kCheck, u"", kError}), Type(u"0512", {Times(4, kEdit), u"05.12", 5, 0, kError}),
             Key(K::Left,
                 {"KeyDown(37,0) KeyUp(37,0) KeyDown(8,0) KeyPress(8) ValidationCheck(False) "
                  "Change KeyUp(8,0)",
                  u"05.1", 4, 0, kError}),
             Key(K::Escape, {kNoEdit, u"05.1", 4, 0, kError})}),
        DateRow("RangeAndWarningColours",
                Set({{u"CheckRange", true},
                     {u"SmallestValue", qv::DateSerial(2000, 1, 1)},
                     {u"UseWarningColor", true}}),
                {Focus({kCheck, u"", kError}),
                 Type(u"31121999", {Times(8, kEdit), u"31.12.1999", 10, 0, kError}),
                 Leave({kCheck, u"31.12.1999", 10, 0, kWarning}),
                 Focus({kCheck, u"31.12.1999", 10, 0, kError}),
                 Key(K::Back, {kEdit, u"31.12.199", 9, 0, kError}),
                 Type(u"x", {kNoEdit, u"31.12.199", 9, 0, kError}),
                 Type(u"9", {kEdit, u"31.12.1999", 10, 0, kError})}),
    };
    return rows;
}

// The combo box: the field's text carries the list state ("an [1 dropped]"). Rows set items up
// through AddItem.
ComboScenario ComboRow(const char* name, std::vector<const char16_t*> items,
                       std::vector<std::pair<const char16_t*, Variant>> writes,
                       std::vector<Step> steps) {
    return {name,
            [items, writes](qv::QVcomboBoxControl& b) {
                for (const auto& [property, value] : writes) b.LetProperty(property, value);
                for (const char16_t* item : items) b.AddItem(item);
            },
            {},
            steps};
}

const std::vector<ComboScenario>& ComboRows() {
    const std::vector<const char16_t*> names = {u"Anna", u"Anton", u"Berta"};
    // A typed character while nothing is dropped: KeyPress twice (before and after filtering).
    const char* typed = "KeyDown KeyPress KeyPress ValidationCheck Change KeyUp";
    // Taking an item into the field: its text (recoloured, Change), ItemFound, the colour.
    const char* taken = "ValidationCheck Change ItemFound ValidationCheck";
    static const std::vector<ComboScenario> rows = {
        ComboRow("EnterTakesTheOneCandidate", names, {},
                 {Focus({kCheck, u" [-1]", kFocus}),
                  Type(u"ant", {Times(3, typed), u"ant [-1]", 3, 0, kError}),
                  Key(K::Return, {Seq({"KeyDown", taken,
                                       "ValidationCheck ItemFound KeyPress "
                                       "KeyPress KeyUp"}),
                                  u"Anton [1]", 5, 0, kFocus})}),
        ComboRow("SeveralCandidatesDropTheListAndEscapeClosesIt", names, {},
                 {Focus({kCheck, u" [-1]", kFocus}),
                  Type(u"an", {Times(2, typed), u"an [-1]", 2, 0, kError}),
                  Key(K::Return, {"KeyDown(13,0) DropDown KeyPress(13) KeyPress(13) KeyUp(13,0)",
                                  u"an [1 dropped]", 2, 0, kError}),
                  Key(K::Escape, {"KeyDown KeyPress KeyPress KeyUp ValidationCheck", u"an [-1]", 2,
                                  0, kError})}),
        ComboRow(
            "WhileDroppedTheLongestPrefixStaysAndEnterChooses", names, {},
            {Focus({kCheck, u" [-1]", kFocus}),
             Key(K::Return, {"KeyDown DropDown KeyPress KeyPress KeyUp", u" [1 dropped]", kFocus}),
             // B marks Berta and stays; x is taken back at its key-up, without a Change.
             Type(u"Bx", {"KeyDown KeyPress KeyPress Change KeyUp ItemFound ValidationCheck "
                          "KeyDown KeyPress KeyPress Change KeyUp",
                          u"B [2 dropped]", 1, 0, kFocus}),
             Key(K::Down, {kMove, u"B [2 dropped]", 1, 0, kFocus}),
             Key(K::Up, {"KeyDown Change ItemFound ValidationCheck KeyUp", u"Anton [1 dropped]", 5,
                         0, kFocus}),
             Key(K::Return, {"KeyDown ItemFound ValidationCheck ListClick ValidationCheck "
                             "KeyPress KeyPress KeyUp",
                             u"Anton [1]", 5, 0, kFocus})}),
        ComboRow(
            "DropDownStyleChoosesByInitials", {u"Apfel", u"Birne", u"Avocado"},
            {{u"DropDownStyle", true}},
            {Focus({"Change ItemFound ValidationCheck ListClick ValidationCheck", u"Apfel [0]", 5,
                    0, kFocus}),
             Type(u"a",
                  {"KeyDown(65,0) KeyPress(97) Change ItemFound ValidationCheck(True) ListClick "
                   "KeyPress(0) KeyUp(65,0)",
                   u"Avocado [2]", 7, 0, kFocus}),
             Type(u"A",
                  {"KeyDown KeyPress Change ItemFound ValidationCheck ListClick KeyPress KeyUp",
                   u"Apfel [0]", 5, 0, kFocus}),
             Key(K::Down, {"KeyDown Change ItemFound ValidationCheck ListClick KeyUp", u"Birne [1]",
                           5, 0, kFocus}),
             Key(K::Return,
                 {"KeyDown DropDown KeyPress KeyPress KeyUp", u"Birne [1 dropped]", 5, 0, kFocus}),
             Key(K::Escape, {"KeyDown KeyPress KeyPress KeyUp ValidationCheck", u"Birne [-1]", 5, 0,
                             kFocus})}),
        // A click on Button1 right after a tick of the timer (the click that closed the list, on
        // a desktop) only moves the focus; later ones look the text up again.
        ComboRow(
            "Button1AndTheTimer", names, {},
            {Focus({kCheck, u" [-1]", kFocus}),
             Type(u"an", {Times(2, typed), u"an [-1]", 2, 0, kError}),
             Button1({"MouseDown MouseUp DropDown Button1Click", u"an [1 dropped]", 2, 0, kError}),
             Key(K::Escape,
                 {"KeyDown KeyPress KeyPress KeyUp ValidationCheck", u"an [-1]", 2, 0, kError}),
             Wait(400, {kCheck, u"an [-1]", 2, 0, kError}),
             Button1({"MouseDown MouseUp Button1Click", u"an [-1]", 2, 0, kError}),
             Wait(400, {"", u"an [-1]", 2, 0, kError}),
             Button1(
                 {"MouseDown MouseUp DropDown Button1Click", u"an [1 dropped]", 2, 0, kError})}),
        ComboRow("LeavingLooksTheTextUp", names, {{u"UseWarningColor", true}},
                 {Focus({kCheck, u" [-1]", kFocus}),
                  Type(u"be", {Times(2, typed), u"be [-1]", 2, 0, kError}),
                  Leave({Seq({taken, "ValidationCheck ItemFound ValidationCheck"}), u"Berta [2]", 5,
                         0, kBack}),
                  Focus({kCheck, u"Berta [2]", 5, 0, kFocus}),
                  Type(u"x", {typed, u"Bertax [-1]", 6, 0, kError}),
                  Leave({"ValidationCheck ItemNotFound ValidationCheck", u"Bertax [-1]", 6, 0,
                         kWarning})}),
    };
    return rows;
}

// Plays a row on both hosts: the same observations on both, and the ones the row expects.
template <class Box>
void ExpectSameOnBothHosts(const ScenarioOf<Box>& s) {
    const HostRun runs[] = {RunHeadless(s), RunQt(s)};
    for (size_t i = 0; i < s.steps.size(); ++i) {
        const Observation& want = s.steps[i].expect;
        EXPECT_EQ(runs[0].steps[i], runs[1].steps[i]) << "step " << i + 1 << ": the hosts differ";
        Observation got = runs[0].steps[i];
        if (want.trace.find('(') == std::string::npos) got.trace = Names(got.trace);
        EXPECT_EQ(got, want) << "step " << i + 1;
    }
    EXPECT_EQ(qv::ToUtf8(runs[0].clipboard), qv::ToUtf8(runs[1].clipboard)) << "clipboard";
    if (s.clipboardAfter) {
        EXPECT_EQ(qv::ToUtf8(runs[0].clipboard), qv::ToUtf8(*s.clipboardAfter));
    }
}

const auto kName = [](const auto& info) { return std::string(info.param.name); };
class Conformance : public ::testing::TestWithParam<Scenario> {};
TEST_P(Conformance, SameOnBothHostsAndAsExpected) {
    ExpectSameOnBothHosts(GetParam());
}
INSTANTIATE_TEST_SUITE_P(Conformance, Conformance, ::testing::ValuesIn(Rows()), kName);

class NumConformance : public ::testing::TestWithParam<NumScenario> {};
TEST_P(NumConformance, SameOnBothHostsAndAsExpected) {
    ExpectSameOnBothHosts(GetParam());
}
INSTANTIATE_TEST_SUITE_P(NumConformance, NumConformance, ::testing::ValuesIn(NumRows()), kName);

class DateConformance : public ::testing::TestWithParam<DateScenario> {};
TEST_P(DateConformance, SameOnBothHostsAndAsExpected) {
    ExpectSameOnBothHosts(GetParam());
}
INSTANTIATE_TEST_SUITE_P(DateConformance, DateConformance, ::testing::ValuesIn(DateRows()), kName);

class ComboConformance : public ::testing::TestWithParam<ComboScenario> {};
TEST_P(ComboConformance, SameOnBothHostsAndAsExpected) {
    ExpectSameOnBothHosts(GetParam());
}
INSTANTIATE_TEST_SUITE_P(ComboConformance, ComboConformance, ::testing::ValuesIn(ComboRows()),
                         kName);

}  // namespace
