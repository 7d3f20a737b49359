// The headless text field: metrics and minimum height, properties, Change, editing, clipboard and
// undo keys, and mouse selection.
#include <gtest/gtest.h>

#include "headless_test_support.h"
#include "hosts/headless/TextMetrics.h"

namespace headless_test {
namespace {

namespace Metrics = qv::headless::TextMetrics;
using qv::headless::Container;

qv::Font MakeFont(float size, bool bold = false) {
    qv::Font f;
    f.Size(size), f.Bold(bold);
    return f;
}

// A field's text with its selection marked: "|" at the caret and, when the selection is not
// empty, "^" at the anchor ("a^bc|d" is "abcd" with anchor 1 and caret 3).
std::string Marked(const Field& f) {
    String s = f.Text();
    s.insert(static_cast<size_t>(f.Caret()), 1, u'|');
    if (f.Anchor() != f.Caret())
        s.insert(static_cast<size_t>(f.Anchor() + (f.Anchor() > f.Caret())), 1, u'^');
    return qv::ToUtf8(s);
}

// Sets text and selection as Marked shows them; "^", if any, comes before "|".
void SetMarked(Field& f, const char* marked) {
    String s = qv::FromUtf8(marked);
    const size_t anchor = std::min(s.find(u'^'), s.find(u'|'));
    std::erase(s, u'^');
    const size_t caret = s.find(u'|');
    std::erase(s, u'|');
    f.Text(s);
    f.SelStart(static_cast<int32_t>(anchor));
    f.SelLength(static_cast<int32_t>(caret - anchor));
}

// --- Metrics and minimum height -----------------------------------------------------------------

TEST(HeadlessMetrics, AreDerivedFromSizeAndBoldAndRoundedUpToPixels) {
    // clang-format off
    struct Case { float size; bool bold; float tpp; const char16_t* text; int32_t lineHeight, width, height; };
    const Case cases[] = {
        {9, false, 15, u"Hello", 225, 450, 225},           // line 216 twips -> 15 px; 5 × 90 = 30 px exactly
        {9, true, 15, u"Hello", 225, 495, 225},            // bold: 5 × 99 = 495 -> 33 px
        {7.5f, false, 15, u"x", 180, 75, 180},             // line 180 twips: an exact 12 px stays
        {8, false, 12, u"abc", 192, 240, 192},             // 12 twips per pixel
        {10, false, 15, u"ab\r\nabcd\nx", 240, 405, 720},  // the widest of three lines
        {10, false, 15, u"", 240, 0, 240},                 // "" is one line
    };
    // clang-format on
    for (const Case& k : cases) {
        SCOPED_TRACE(qv::ToUtf8(k.text));
        const qv::Font font = MakeFont(k.size, k.bold);
        EXPECT_EQ(Metrics::LineHeight(font, k.tpp), k.lineHeight);
        EXPECT_EQ(Metrics::TextWidth(font, k.text, k.tpp), k.width);
        EXPECT_EQ(Metrics::TextHeight(font, k.text, k.tpp), k.height);
    }
}

TEST(HeadlessMetrics, SingleLineFieldsKeepLineHeightPlusBorderAsMinimum) {
    // clang-format off
    struct Case { qv::TextFieldSettings settings; int32_t written, expected; };
    const Case cases[] = {
        {{.border = true, .threeD = true}, 0, 285},   // 225 + 2 × 2 px
        {{.border = true, .threeD = false}, 0, 255},  // 225 + 2 × 1 px
        {{.border = false}, 100, 225},
        {{.border = true}, 400, 400},                 // larger heights stay
        {{.multiLine = true, .border = true}, 0, 0},  // multi-line: no minimum
    };
    // clang-format on
    Form form;
    qv::Host& host = form.SiteOf(form.Add("A", {.fields = 0}));
    for (int16_t i = 0; i < static_cast<int16_t>(std::size(cases)); ++i) {
        SCOPED_TRACE(i);
        qv::TextField& f = host.CreateTextField(u"f", i, cases[i].settings);
        f.Height(cases[i].written);
        EXPECT_EQ(f.Height(), cases[i].expected);
    }
    qv::TextField& f = host.CreateTextField(u"g", -1, {.border = true});
    f.SetFont(MakeFont(18));  // 432 twips -> 29 px -> 435, + 60
    EXPECT_EQ(f.Height(), 495);
    f.SetFont(MakeFont(9));  // a smaller font leaves the height alone
    EXPECT_EQ(f.Height(), 495);
    f.SetFont(f.GetFont());  // its own font: kept intact
    EXPECT_EQ(f.GetFont().Size(), 9.0f);
}

// --- Properties and Change ----------------------------------------------------------------------

TEST(HeadlessTextField, CodeWritesValidateClampIgnoreMaxLengthAndSendChangeOnlyForNewText) {
    Form form;
    Probe& a = form.Add("A");
    Field& f = form.FieldOf(a);
    f.MaxLength(2);
    f.Text(u"hello");
    f.SelStart(2);
    for (const auto& bad : std::initializer_list<std::function<void()>>{
             [&] { f.SelStart(-1); }, [&] { f.SelLength(-1); }, [&] { f.MaxLength(-1); },
             [&] { f.PasswordChar(u"**"); }, [&] { f.Width(-1); }, [&] { f.Height(-1); }})
        EXPECT_EQ(ErrorOf(bad), 380);
    EXPECT_EQ(f.MaxLength(), 2);
    EXPECT_EQ(f.PasswordChar(), u"");
    EXPECT_EQ(Marked(f), "he|llo");
    f.SelStart(99);
    EXPECT_EQ(Marked(f), "hello|");
    f.SelStart(1);
    f.SelLength(99);
    EXPECT_EQ(Marked(f), "h^ello|");

    form.Take();
    f.Text(u"hello");
    EXPECT_EQ(form.Take(), "");
    EXPECT_EQ(Marked(f), "|hello");  // the selection went to the start anyway
    f.SelLength(2);
    f.SelText(u"he");
    EXPECT_EQ(form.Take(), "");
    EXPECT_EQ(Marked(f), "he|llo");
    f.SelText(u"XY");
    EXPECT_EQ(form.Take(), "A.t0.Change");
    EXPECT_EQ(Marked(f), "heXY|llo");
    f.MaxLength(0);
    form.Focus(a);
    form.Type(u"z");
    f.Text(u"new");  // takes the typing's undo step away
    form.PressKey('Z', Shift::Ctrl);
    EXPECT_EQ(f.Text(), u"new");
}

// --- Keys ---------------------------------------------------------------------------------------

enum Flags { kMulti = 1, kLocked = 2, kPassword = 4 };

TEST(HeadlessTextField, EditingClipboardAndUndoKeys) {
    // clang-format off
    // Text and selection as Marked shows them, the clipboard before and after, keys in SendKeys syntax.
    // Plain typing, Delete, Shift+Home, Enter, cut, paste and undo runs: the conformance rows play
    // them through this field on both hosts.
    struct Case { const char* name; int flags, maxLength; const char *before, *clipboard, *keys, *after; int beeps; const char* clipboardAfter; };
    const Case cases[] = {
        {"MaxLength: what fits goes in, the rest beeps", 0, 3, "ab|", "", "cde", "abc|", 2, ""},
        {"MaxLength: replacing a selection fits", 0, 3, "^a|bc", "", "X", "X|bc", 0, ""},
        {"Locked: typing, Backspace and Delete do nothing", kLocked, 0, "a|bc", "", "x{BS}{DEL}", "a|bc", 0, ""},
        {"Locked: navigation works", kLocked, 0, "a|bc", "", "+{END}", "a^bc|", 0, ""},
        {"Backspace at the start does nothing", 0, 0, "|abc", "", "{BS}", "|abc", 0, ""},
        {"Backspace deletes the selection", 0, 0, "a^bc|d", "", "{BS}", "a|d", 0, ""},
        {"Left collapses a selection to its start", 0, 0, "a^bc|d", "", "{LEFT}", "a|bcd", 0, ""},
        {"Right collapses a selection to its end", 0, 0, "a^bc|d", "", "{RIGHT}", "abc|d", 0, ""},
        {"Shift+Left moves the caret only", 0, 0, "a^bc|d", "", "+{LEFT}", "a^b|cd", 0, ""},
        {"Ctrl+Right goes to the next word", 0, 0, "|ab cd", "", "^{RIGHT}", "ab |cd", 0, ""},
        {"Ctrl+Left goes to the word start", 0, 0, "ab cd|", "", "^{LEFT}", "ab |cd", 0, ""},
        {"single line: Up, Down, Enter, Ctrl+B do nothing", 0, 0, "a|bc", "", "{UP}{DOWN}~^b", "a|bc", 0, ""},
        {"Enter needs room for both characters", kMulti, 3, "a|b", "", "~", "a|b", 1, ""},
        {"Backspace removes a whole line break", kMulti, 0, "a\r\n|b", "", "{BS}", "a|b", 0, ""},
        {"Delete removes a whole line break", kMulti, 0, "a|\r\nb", "", "{DEL}", "a|b", 0, ""},
        {"Right steps over a line break", kMulti, 0, "a|\r\nb", "", "{RIGHT}", "a\r\n|b", 0, ""},
        {"Down keeps the column", kMulti, 0, "ab|c\r\nde\r\nfghi", "", "{DOWN 2}", "abc\r\nde\r\nfg|hi", 0, ""},
        {"Up on the first line stays", kMulti, 0, "ab|c\r\nde", "", "{UP}", "ab|c\r\nde", 0, ""},
        {"Home and End work on the line", kMulti, 0, "abc\r\nd|e", "", "{HOME}+{END}", "abc\r\n^de|", 0, ""},
        {"Ctrl+Home goes to the text start", kMulti, 0, "abc\r\nd|e", "", "^{HOME}", "|abc\r\nde", 0, ""},
        {"Ctrl+V pastes over the selection", 0, 0, "a^bc|d", "XYZ", "^v", "aXYZ|d", 0, "XYZ"},
        {"Shift+Insert pastes", 0, 0, "a|b", "-", "+{INSERT}", "a-|b", 0, "-"},
        {"Shift+Delete cuts", 0, 0, "a^bc|d", "", "+{DEL}", "a|d", 0, "bc"},
        {"Ctrl+C copies, also when locked", kLocked, 0, "a^bc|d", "", "^c", "a^bc|d", 0, "bc"},
        {"Ctrl+Insert copies", 0, 0, "a^b|cd", "", "^{INSERT}", "a^b|cd", 0, "b"},
        {"paste with no room changes nothing", 0, 2, "ab|", "c", "^v", "ab|", 1, "c"},
        {"multi-line: paste it all", kMulti, 0, "|", "one\r\ntwo", "^v", "one\r\ntwo|", 0, "one\r\ntwo"},
        {"a locked field neither pastes nor cuts", kLocked, 0, "a^bc|d", "Q", "^v^x", "a^bc|d", 0, "Q"},
        {"a password field neither cuts nor copies", kPassword, 0, "a^bc|d", "Q", "^x^c", "a^bc|d", 0, "Q"},
        {"moving the caret ends the run", 0, 0, "abc|", "", "d{LEFT}e^z", "abc|d", 0, ""},
        {"paste and Backspace are steps of their own", 0, 0, "abc|d", "XY", "^v{BS}^z", "abcX^Y|d", 0, "XY"},
    };
    // clang-format on
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Form form;
        Probe& a = form.Add("A", {.multiLine = (k.flags & kMulti) != 0});
        Field& f = form.FieldOf(a);
        SetMarked(f, k.before);
        f.MaxLength(k.maxLength);
        f.Locked((k.flags & kLocked) != 0);
        if (k.flags & kPassword) f.PasswordChar(u"*");
        form.Clipboard() = qv::FromUtf8(k.clipboard);
        form.Focus(a);
        form.SiteOf(a).SendKeys(qv::FromUtf8(k.keys));
        form.DoEvents();
        EXPECT_EQ(Marked(f), k.after);
        EXPECT_EQ(form.Beeps(), k.beeps);
        EXPECT_EQ(qv::ToUtf8(form.Clipboard()), k.clipboardAfter);
    }
}

// --- Mouse --------------------------------------------------------------------------------------

// The field lies at (100, 50); with a 3-D border its text starts 30 twips further in, and each
// character of the default 9-point font is 90 twips wide: boundary i at x = 130 + 90 × i in the
// control's coordinates. Lines are 225 twips high: the second spans y = 50 + 255..480.
TEST(HeadlessTextField, PressesDragsAndDoubleClicksPlaceTheCaretAndSelect) {
    // clang-format off
    struct Case { bool multiLine; const char* text; void (*gesture)(Container&, qv::Control&); const char* expected; };
    const Case cases[] = {
        {false, "hello", [](auto& c, auto& a) { c.Click(a, 174, 100); }, "|hello"},
        {false, "hello", [](auto& c, auto& a) { c.Click(a, 176, 100); }, "h|ello"},
        {false, "hello", [](auto& c, auto& a) { c.Click(a, 1590, 100); }, "hello|"},
        {false, "hello", [](auto& c, auto& a) { c.Click(a, 130, 100); c.Click(a, 400, 100, qv::MouseButton::Left, Shift::Shift); }, "^hel|lo"},
        {false, "hello", [](auto& c, auto& a) { c.Click(a, 400, 100, qv::MouseButton::Right); }, "|hello"},
        {false, "one two  three", [](auto& c, auto& a) { c.Drag(a, 130 + 90 * 4, 100, 130 + 90 * 7, 100); }, "one ^two|  three"},
        {false, "one two  three", [](auto& c, auto& a) { c.Drag(a, 130 + 90 * 7, 100, 130 + 90 * 4, 100); }, "one |two^  three"},
        {false, "one two  three", [](auto& c, auto& a) { c.DoubleClick(a, 130 + 90 * 5 + 10, 100); }, "one ^two|  three"},
        {false, "one two  three", [](auto& c, auto& a) { c.DoubleClick(a, 130 + 10, 100); }, "^one| two  three"},
        {false, "one two  three", [](auto& c, auto& a) { c.DoubleClick(a, 130 + 90 * 7 + 10, 100); }, "one two^  |three"},
        {false, "one two  three", [](auto& c, auto& a) { c.DoubleClick(a, 130 + 90 * 13 + 10, 100); }, "one two  ^three|"},
        {true, "ab\r\ncdef\r\ng", [](auto& c, auto& a) { c.Click(a, 130 + 90 * 3, 50 + 300); }, "ab\r\ncde|f\r\ng"},
        {true, "ab\r\ncdef\r\ng", [](auto& c, auto& a) { c.Click(a, 130 + 90 * 3, 50 + 900); }, "ab\r\ncdef\r\ng|"},
    };
    // clang-format on
    for (const Case& k : cases) {
        SCOPED_TRACE(k.expected);
        Form form;
        Probe& a = form.Add("A", {.multiLine = k.multiLine});
        Field& f = form.FieldOf(a);
        f.Height(1000);
        f.Text(qv::FromUtf8(k.text));
        int32_t caretInMouseDown = -1;  // the notice comes before the field moves the caret
        f.notices().MouseDown = [&](auto&...) {
            if (caretInMouseDown < 0) caretInMouseDown = f.Caret();
        };
        k.gesture(form, a);
        EXPECT_EQ(Marked(f), k.expected);
        EXPECT_EQ(caretInMouseDown, 0);
    }
}

}  // namespace
}  // namespace headless_test
