// One table of text box behaviour, played on the headless host and on the Qt host. Each row must
// come out the same on both hosts, with the same event arguments, and as the row expects.
#include "scenario.h"

namespace {

using namespace conformance;
using qv::QVtxtBoxControl;
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
    for (std::string_view p : parts) {
        if (p.empty()) continue;
        if (!out.empty()) out += ' ';
        out += p;
    }
    return out;
}
std::string Times(int n, std::string_view part) {
    std::string out;
    for (int i = 0; i < n; ++i) out = Seq({out, part});
    return out;
}

void Text(QVtxtBoxControl& b, const char16_t* t) {
    b.Text(Variant(String(t)));
}

const std::vector<Scenario>& Rows() {
    static const std::vector<Scenario> rows = {
        {"TypingIntoAnEmptyBox",
         nullptr,
         {},
         {Focus({kCheck, u"", 0, 0, kError}),
          Type(u"abc", {Times(3, kEdit), u"abc", 3, 0, kFocus}),
          Leave({kLeaveFormatted, u"Abc", 0, 0, kBack})}},
        {"LeavingTrimsBlanks",
         [](auto& b) { b.FirstCharacterCapital(false); },
         {},
         {Focus({kCheck, u"", 0, 0, kError}),
          Type(u"  ab  ", {Times(6, kEdit), u"  ab  ", 6, 0, kFocus}),
          Leave({kLeaveFormatted, u"ab", 0, 0, kBack})}},
        {"AllUcaseRaisesTypedCharacters",
         [](auto& b) { b.AllUcase(true); },
         {},
         {Focus({kCheck, u"", 0, 0, kError}),
          Type(u"aBc", {Times(3, kEdit), u"ABC", 3, 0, kFocus}),
          Leave({Times(3, kCheck), u"ABC", 0, 0, kBack})}},
        {"ForbiddenCharactersAreDropped",
         [](auto& b) { b.ForbiddenCharacters(u"0123456789"); },
         {},
         {Focus({kCheck, u"", 0, 0, kError}),
          Type(u"a1b2", {Seq({kEdit, kNoEdit, kEdit, kNoEdit}), u"ab", 2, 0, kFocus}),
          Leave({kLeaveFormatted, u"Ab", 0, 0, kBack})}},
        {"AllUcaseComesBeforeTheForbiddenTest",
         [](auto& b) {
             b.AllUcase(true);
             b.ForbiddenCharacters(u"X");
         },
         {},
         {Focus({kCheck, u"", 0, 0, kError}),
          Type(u"xyz", {Seq({kNoEdit, kEdit, kEdit}), u"YZ", 2, 0, kFocus})}},
        {"KeyPressHandlerCancels",
         nullptr,
         OnKeyPress([](int16_t& a) { a = a == 'x' ? 0 : a; }),
         {Focus({kCheck, u"", 0, 0, kError}),
          Type(u"axb", {Seq({kEdit, kNoEdit, kEdit}), u"ab", 2, 0, kFocus})}},
        {"KeyPressHandlerChangesTheCharacter",
         nullptr,
         OnKeyPress([](int16_t& a) { a = a == 'q' ? int16_t{'k'} : a; }),
         {Focus({kCheck, u"", 0, 0, kError}), Type(u"aq", {Times(2, kEdit), u"ak", 2, 0, kFocus})}},
        {"AChangedCharacterStillMeetsTheForbiddenTest",
         [](auto& b) { b.ForbiddenCharacters(u"1"); },
         OnKeyPress([](int16_t& a) { a = a == 'a' ? int16_t{'1'} : a; }),
         {Focus({kCheck, u"", 0, 0, kError}),
          Type(u"ab", {Seq({kNoEdit, kEdit}), u"b", 1, 0, kFocus})}},
        {"KeyDownHandlerStopsDeleteButNotBackspace",
         [](auto& b) { Text(b, u"abc"); },
         OnKeyDown([](int16_t& k, int16_t&) { k = k == K::Delete ? 0 : k; }),
         {Focus({kCheck, u"Abc", 0, 0, kFocus}),
          Key(K::Delete, 0, {kMove, u"Abc", 0, 0, kFocus}),
          Key(K::End, 0, {kMove, u"Abc", 3, 0, kFocus}),
          Key(K::Back, 0, {kEdit, u"Ab", 2, 0, kFocus}),
          Leave({Times(3, kCheck), u"Ab", 0, 0, kBack})}},
        {"MaxLengthRefusesAndBeeps",
         [](auto& b) { b.MaxLength(3); },
         {},
         {Focus({kCheck, u"", 0, 0, kError}),
          Type(u"abcd", {Seq({Times(3, kEdit), kNoEdit}), u"abc", 3, 0, kFocus, 1}),
          Leave({kLeaveFormatted, u"Abc", 0, 0, kBack})}},
        {"MaxLengthCountsWhatASelectionFrees",
         [](auto& b) {
             b.MaxLength(3);
             Text(b, u"abc");
             b.SelectedOnGotFocus(true);
         },
         {},
         {Focus({kCheck, u"Abc", 0, 3, kFocus}),
          Type(u"xy", {Times(2, kEdit), u"xy", 2, 0, kFocus})}},
        {"SelectedOnGotFocusSelectsAll",
         [](auto& b) {
             Text(b, u"hello");
             b.SelectedOnGotFocus(true);
         },
         {},
         {Focus({kCheck, u"Hello", 0, 5, kFocus}),
          Type(u"j", {kEdit, u"j", 1, 0, kFocus}),
          Leave({kLeaveFormatted, u"J", 0, 0, kBack})}},
        {"FocusKeepsTheCaretOtherwise",
         [](auto& b) { Text(b, u"hello"); },
         {},
         {Focus({kCheck, u"Hello", 0, 0, kFocus}),
          Type(u"x", {kEdit, u"xHello", 1, 0, kFocus}),
          Leave({kLeaveFormatted, u"XHello", 0, 0, kBack})}},
        {"ProgramSelectionSurvivesTheFocus",
         [](auto& b) {
             Text(b, u"abc");
             b.SelStart(1);
             b.SelLength(1);
         },
         {},
         {Focus({kCheck, u"Abc", 1, 1, kFocus}), Type(u"x", {kEdit, u"Axc", 2, 0, kFocus})}},
        {"DeleteAtTheStart",
         [](auto& b) { Text(b, u"abc"); },
         {},
         {Focus({kCheck, u"Abc", 0, 0, kFocus}),
          Key(K::Delete, 0, {kKeyEdit, u"bc", 0, 0, kFocus}),
          Leave({kLeaveFormatted, u"Bc", 0, 0, kBack})}},
        {"LeftThenType",
         [](auto& b) { Text(b, u"ac"); },
         {},
         {Focus({kCheck, u"Ac", 0, 0, kFocus}),
          Key(K::End, 0, {kMove, u"Ac", 2, 0, kFocus}),
          Key(K::Left, 0, {kMove, u"Ac", 1, 0, kFocus}),
          Type(u"b", {kEdit, u"Abc", 2, 0, kFocus})}},
        {"ShiftHomeSelectsToTheStart",
         [](auto& b) { Text(b, u"abc"); },
         {},
         {Focus({kCheck, u"Abc", 0, 0, kFocus}),
          Key(K::End, 0, {kMove, u"Abc", 3, 0, kFocus}),
          Key(K::Home, S::Shift, {kMove, u"Abc", 0, 3, kFocus}),
          Type(u"z", {kEdit, u"z", 1, 0, kFocus})}},
        {"ShiftLeftThenDeleteRemovesTheSelection",
         [](auto& b) { Text(b, u"abc"); },
         {},
         {Focus({kCheck, u"Abc", 0, 0, kFocus}),
          Key(K::End, 0, {kMove, u"Abc", 3, 0, kFocus}),
          Key(K::Left, S::Shift, {kMove, u"Abc", 2, 1, kFocus}),
          Key(K::Left, S::Shift, {kMove, u"Abc", 1, 2, kFocus}),
          Key(K::Delete, 0, {kKeyEdit, u"A", 1, 0, kFocus})}},
        {"CopyThenPaste",
         [](auto& b) {
             Text(b, u"hello");
             b.SelectedOnGotFocus(true);
         },
         {},
         {Focus({kCheck, u"Hello", 0, 5, kFocus}),
          Key(kKeyC, S::Ctrl, {kNoEdit, u"Hello", 0, 5, kFocus}),
          Key(K::End, 0, {kMove, u"Hello", 5, 0, kFocus}),
          Key(kKeyV, S::Ctrl, {kEdit, u"HelloHello", 10, 0, kFocus})},
         u"old",
         u"Hello"},
        {"CutEmptiesTheBox",
         [](auto& b) {
             Text(b, u"hello");
             b.SelectedOnGotFocus(true);
         },
         {},
         {Focus({kCheck, u"Hello", 0, 5, kFocus}),
          Key(kKeyX, S::Ctrl, {kEdit, u"", 0, 0, kError}),
          Leave({Times(3, kCheck), u"", 0, 0, kBack})},
         u"old",
         u"Hello"},
        {"SingleLinePastesTheFirstLine",
         nullptr,
         {},
         {Focus({kCheck, u"", 0, 0, kError}),
          Key(kKeyV, S::Ctrl, {kEdit, u"one", 3, 0, kFocus})},
         u"one\r\ntwo",
         u"one\r\ntwo"},
        {"PasteBeyondMaxLengthIsCutShortWithABeep",
         [](auto& b) { b.MaxLength(4); },
         {},
         {Focus({kCheck, u"", 0, 0, kError}),
          Key(kKeyV, S::Ctrl, {kEdit, u"abcd", 4, 0, kFocus, 1})},
         u"abcdefg"},
        {"UndoTakesBackTheTypingRunAndRedoes",
         nullptr,
         {},
         {Focus({kCheck, u"", 0, 0, kError}),
          Type(u"abc", {Times(3, kEdit), u"abc", 3, 0, kFocus}),
          Key(kKeyZ, S::Ctrl, {kEdit, u"", 0, 0, kError}),
          Key(kKeyZ, S::Ctrl, {kEdit, u"abc", 3, 0, kFocus})}},
        {"MultiLineEnterBreaksTheLine",
         [](auto& b) { b.MultiLine(true); },
         {},
         {Focus({kCheck, u"", 0, 0, kError}),
          Type(u"ab", {Times(2, kEdit), u"ab", 2, 0, kFocus}),
          Key(K::Return, 0, {kEdit, u"ab\r\n", 4, 0, kFocus}),
          Type(u"cd", {Times(2, kEdit), u"ab\r\ncd", 6, 0, kFocus}),
          Key(K::Home, 0, {kMove, u"ab\r\ncd", 4, 0, kFocus}),
          Leave({kLeaveFormatted, u"Ab\r\ncd", 0, 0, kBack})}},
        {"SingleLineEnterDoesNothing",
         nullptr,
         {},
         {Focus({kCheck, u"", 0, 0, kError}),
          Type(u"ab", {Times(2, kEdit), u"ab", 2, 0, kFocus}),
          Key(K::Return, 0, {kNoEdit, u"ab", 2, 0, kFocus})}},
        {"LockedRefusesEditsAndShowsDisabled",
         [](auto& b) {
             Text(b, u"abc");
             b.Locked(true);
         },
         {},
         {Focus({kCheck, u"Abc", 0, 0, kDisabled}),
          Type(u"x", {kNoEdit, u"Abc", 0, 0, kDisabled}),
          Key(K::Delete, 0, {kMove, u"Abc", 0, 0, kDisabled}),
          Leave({kCheck, u"Abc", 0, 0, kDisabled})}},
        {"PasswordFieldDoesNotCopy",
         [](auto& b) { b.PasswordChar(u"*"); },
         {},
         {Focus({kCheck, u"", 0, 0, kError}),
          Type(u"abc", {Times(3, kEdit), u"abc", 3, 0, kFocus}),
          Key(K::Home, S::Shift, {kMove, u"abc", 0, 3, kFocus}),
          Key(kKeyC, S::Ctrl, {kNoEdit, u"abc", 0, 3, kFocus})},
         u"keep",
         u"keep"},
        {"NullStaysNullWithoutTyping",
         [](auto& b) {
             b.NullToEmptyString(false);
             b.Text(Variant::Null());
         },
         {},
         {Focus({kCheck, u"<Null>", 0, 0, kError}), Leave({kCheck, u"<Null>", 0, 0, kBack})}},
        {"TypingGivesANullBoxAValue",
         [](auto& b) {
             b.NullToEmptyString(false);
             b.Text(Variant::Null());
         },
         {},
         {Focus({kCheck, u"<Null>", 0, 0, kError}),
          Type(u"a", {kEdit, u"a", 1, 0, kFocus}),
          Key(K::Back, 0, {kEdit, u"", 0, 0, kError}),
          Leave({kCheck, u"", 0, 0, kBack})}},
        {"EmptyBoxWarnsOnLeave",
         [](auto& b) { b.UseWarningColor(true); },
         {},
         {Focus({kCheck, u"", 0, 0, kError}), Leave({kCheck, u"", 0, 0, kWarning})}},
        {"BlanksCountAsEmpty",
         [](auto& b) { b.UseWarningColor(true); },
         {},
         {Focus({kCheck, u"", 0, 0, kError}),
          Type(u"   ", {Times(3, kEdit), u"   ", 3, 0, kError}),
          Leave({Seq({kCheck, "Change", kCheck}), u"", 0, 0, kWarning})}},
        {"ValueNotNeeded",
         [](auto& b) {
             b.MustHaveValue(false);
             b.UseWarningColor(true);
         },
         {},
         {Focus({kCheck, u"", 0, 0, kFocus}), Leave({kCheck, u"", 0, 0, kBack})}},
        {"ValidationCheckRefusesShortValues",
         [](auto& b) { b.UseWarningColor(true); },
         OnValidationCheck(
              [](const QVtxtBoxControl& b, bool& ok) {
                  ok = ok && b.Text().ToString().size() >= 3;
              }),
         {Focus({kCheck, u"", 0, 0, kError}),
          Type(u"ab", {Times(2, kEdit), u"ab", 2, 0, kError}),
          Leave({kLeaveFormatted, u"Ab", 0, 0, kWarning})}},
        {"ValidationCheckAcceptsAnEmptyValue",
         [](auto& b) { b.UseWarningColor(true); },
         OnValidationCheck([](const QVtxtBoxControl&, bool& ok) { ok = true; }),
         {Focus({kCheck, u"", 0, 0, kFocus}), Leave({kCheck, u"", 0, 0, kBack})}},
        {"CharacterWithoutAKeyOfItsOwn",
         nullptr,
         {},
         {Focus({kCheck, u"", 0, 0, kError}),
          Type(u"\u00fcber", {Times(4, kEdit), u"\u00fcber", 4, 0, kFocus}),
          Leave({kLeaveFormatted, u"\u00dcber", 0, 0, kBack})}},
    };
    return rows;
}

class Conformance : public ::testing::TestWithParam<Scenario> {};

TEST_P(Conformance, SameOnBothHostsAndAsExpected) {
    const Scenario& s = GetParam();
    const HostRun headless = RunHeadless(s);
    const HostRun qt = RunQt(s);
    ASSERT_EQ(headless.steps.size(), s.steps.size());
    ASSERT_EQ(qt.steps.size(), s.steps.size());
    for (size_t i = 0; i < s.steps.size(); ++i) {
        const Expect& e = s.steps[i].expect;
        const Observation want{e.events, e.text, e.selStart, e.selLength, e.back, e.beeps};
        const std::string step = "step " + std::to_string(i + 1);
        EXPECT_EQ(headless.steps[i], qt.steps[i]) << step << ": the hosts differ";
        for (const auto& [host, seen] :
             {std::pair{"headless", &headless.steps[i]}, std::pair{"Qt", &qt.steps[i]}}) {
            Observation got = *seen;
            got.trace = Names(got.trace);
            EXPECT_EQ(got, want) << step << " on the " << host << " host";
        }
    }
    EXPECT_EQ(qv::ToUtf8(headless.clipboard), qv::ToUtf8(qt.clipboard)) << "clipboard";
    if (s.clipboardAfter) {
        EXPECT_EQ(qv::ToUtf8(headless.clipboard), qv::ToUtf8(*s.clipboardAfter));
    }
}

INSTANTIATE_TEST_SUITE_P(Conformance, Conformance, ::testing::ValuesIn(Rows()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
