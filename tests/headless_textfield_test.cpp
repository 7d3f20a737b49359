// The headless text field: metrics and minimum height, editing keys, clipboard, undo, limits and
// mouse selection.
#include <gtest/gtest.h>

#include "headless_test_support.h"
#include "hosts/headless/TextMetrics.h"

namespace headless_test {
namespace {

namespace Key = qv::headless::Key;
namespace Shift = qv::ShiftState;
namespace Metrics = qv::headless::TextMetrics;
using Field = qv::headless::HeadlessTextField;

qv::Font MakeFont(float size, bool bold = false) {
    qv::Font f;
    f.Size(size);
    f.Bold(bold);
    return f;
}

// --- Metrics and minimum height ------------------------------------------------------------------

TEST(HeadlessMetrics, AreDerivedFromSizeAndBoldAndRoundedUpToPixels) {
    struct Case {
        float size;
        bool bold;
        float tpp;
        const char16_t* text;
        int32_t lineHeight, width, height;
    };
    const Case cases[] = {
        // 9 pt: line 216 twips -> 15 px; 5 units × 90 = 450 twips = 30 px exactly.
        {9, false, 15, u"Hello", 225, 450, 225},
        // Bold: 5 × 99 = 495 twips -> 33 px.
        {9, true, 15, u"Hello", 225, 495, 225},
        // 7.5 pt: line 180 twips, an exact 12 px, not rounded up to 13.
        {7.5f, false, 15, u"x", 180, 75, 180},
        // 12 twips per pixel: 8 pt line 192 twips = 16 px; 3 × 80 = 240 = 20 px.
        {8, false, 12, u"abc", 192, 240, 192},
        // Widest line, line count; "" is one line.
        {10, false, 15, u"ab\r\nabcd\nx", 240, 405, 720},
        {10, false, 15, u"", 240, 0, 240},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(qv::ToUtf8(k.text));
        const qv::Font font = MakeFont(k.size, k.bold);
        EXPECT_EQ(Metrics::LineHeight(font, k.tpp), k.lineHeight);
        EXPECT_EQ(Metrics::TextWidth(font, k.text, k.tpp), k.width);
        EXPECT_EQ(Metrics::TextHeight(font, k.text, k.tpp), k.height);
    }
}

TEST(HeadlessMetrics, SingleLineFieldsKeepLineHeightPlusBorderAsMinimum) {
    struct Case {
        qv::TextFieldSettings settings;
        int32_t written, expected;
    };
    const Case cases[] = {
        {{.border = true, .threeD = true}, 0, 285},   // 225 + 2 × 2 px
        {{.border = true, .threeD = false}, 0, 255},  // 225 + 2 × 1 px
        {{.border = false}, 100, 225},
        {{.border = true}, 400, 400},                 // larger heights stay
        {{.multiLine = true, .border = true}, 0, 0},  // multi-line: no minimum
    };
    Form form;
    qv::Host& host = form.SiteOf(form.Add("A", {.fields = 0}));
    int16_t i = 0;
    for (const Case& k : cases) {
        SCOPED_TRACE(i);
        qv::TextField& f = host.CreateTextField(u"f", i++, k.settings);
        f.Height(k.written);
        EXPECT_EQ(f.Height(), k.expected);
    }
    qv::TextField& f = host.CreateTextField(u"g", -1, {.border = true});
    f.Height(0);
    f.SetFont(MakeFont(18));  // 432 twips -> 29 px -> 435, + 60
    EXPECT_EQ(f.Height(), 495);
    f.SetFont(MakeFont(9));  // a smaller font leaves the height alone
    EXPECT_EQ(f.Height(), 495);
    f.SetFont(f.GetFont());  // its own font: kept intact
    EXPECT_EQ(f.GetFont().Size(), 9.0f);
    EXPECT_EQ(ErrorOf([&] { f.Height(-1); }), 380);
    EXPECT_EQ(ErrorOf([&] { f.Width(-1); }), 380);

    qv::PictureSurface& p = host.CreatePictureSurface(u"pic");
    p.SetFont(MakeFont(9, true));
    EXPECT_EQ(p.TextWidth(u"Hello"), 495);
    EXPECT_EQ(p.TextHeight(u"X"), 225);
}

// --- Properties
// -----------------------------------------------------------------------------------

TEST(HeadlessTextField, RejectsInvalidValuesWithError380AndChangesNothing) {
    Form form;
    Field& f = form.Field(form.Add("A"));
    f.Text(u"hello");
    f.SelStart(2);
    f.MaxLength(4);
    for (int16_t ok : {0, 1, 15, 99}) {
        f.MousePointer(ok);
        EXPECT_EQ(f.MousePointer(), ok);
    }
    f.MousePointer(3);
    for (int16_t bad : {-1, 16, 98, 100}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(ErrorOf([&] { f.MousePointer(bad); }), 380);
        EXPECT_EQ(f.MousePointer(), 3);
    }
    EXPECT_EQ(ErrorOf([&] { f.SelStart(-1); }), 380);
    EXPECT_EQ(ErrorOf([&] { f.SelLength(-1); }), 380);
    EXPECT_EQ(ErrorOf([&] { f.MaxLength(-1); }), 380);
    EXPECT_EQ(ErrorOf([&] { f.PasswordChar(u"**"); }), 380);
    EXPECT_EQ(f.SelStart(), 2);
    EXPECT_EQ(f.MaxLength(), 4);
    EXPECT_EQ(f.PasswordChar(), u"");

    f.SelStart(99);  // clamps
    EXPECT_EQ(f.SelStart(), 5);
    f.SelStart(1);
    f.SelLength(99);
    EXPECT_EQ(f.SelText(), u"ello");
    f.Refresh();
    f.Refresh();
    EXPECT_EQ(f.RefreshCount(), 2);
}

TEST(HeadlessTextField, ChangeComesOnlyWhenTheTextChangesAndWritesIgnoreMaxLength) {
    Form form;
    Probe& a = form.Add("A");
    Field& f = form.Field(a);
    f.MaxLength(2);
    f.Text(u"abcd");  // writes ignore MaxLength
    EXPECT_EQ(f.Text(), u"abcd");
    f.SelStart(3);
    form.Take();
    f.Text(u"abcd");
    EXPECT_TRUE(form.Take().empty());
    EXPECT_EQ(f.SelStart(), 0);  // the selection went to the start anyway
    f.SelLength(2);
    f.SelText(u"ab");  // same text
    EXPECT_TRUE(form.Take().empty());
    EXPECT_EQ(f.SelStart(), 2);
    f.SelText(u"XY");
    EXPECT_EQ(form.Take(), Log{"A.txt0.Change"});
    EXPECT_EQ(f.Text(), u"abXYcd");
    EXPECT_EQ(f.SelStart(), 4);
}

// --- Keys ---------------------------------------------------------------------------------------

// A field prepared with text, selection (anchor <= caret) and settings; keys given as PressKey
// calls or typed text; the text, selection and beeps that result.
struct EditCase {
    const char* name;
    const char16_t* text;
    int32_t anchor, caret;
    std::function<void(Field&)> setup;
    std::function<void(qv::headless::Container&)> keys;
    const char16_t* expectedText;
    int32_t expectedAnchor, expectedCaret;
    int beeps;
};

void RunEditCases(std::span<const EditCase> cases, bool multiLine) {
    for (const EditCase& k : cases) {
        SCOPED_TRACE(k.name);
        Form form;
        Probe& a = form.Add("A", {.multiLine = multiLine});
        Field& f = form.Field(a);
        f.Text(k.text);
        f.SelStart(k.anchor);
        f.SelLength(k.caret - k.anchor);
        if (k.setup) k.setup(f);
        form.container.Focus(a);
        k.keys(form.container);
        EXPECT_EQ(qv::ToUtf8(f.Text()), qv::ToUtf8(k.expectedText));
        EXPECT_EQ(f.Anchor(), k.expectedAnchor);
        EXPECT_EQ(f.Caret(), k.expectedCaret);
        EXPECT_EQ(form.container.Beeps(), k.beeps);
    }
}

auto Press(int16_t key, int16_t shift = 0) {
    return [=](qv::headless::Container& c) { c.PressKey(key, shift); };
}
auto Typed(const char16_t* text) {
    return [=](qv::headless::Container& c) { c.Type(text); };
}

TEST(HeadlessTextField, SingleLineEditingKeys) {
    const auto maxLength = [](int32_t n) { return [=](Field& f) { f.MaxLength(n); }; };
    const auto locked = [](Field& f) { f.Locked(true); };
    const EditCase cases[] = {
        {"typing inserts at the caret", u"ac", 1, 1, {}, Typed(u"b"), u"abc", 2, 2, 0},
        {"typing replaces the selection", u"abcd", 1, 3, {}, Typed(u"X"), u"aXd", 2, 2, 0},
        {"MaxLength: a character that does not fit beeps", u"abc", 3, 3, maxLength(3), Typed(u"de"),
         u"abc", 3, 3, 2},
        {"MaxLength: replacing a selection fits", u"abc", 0, 1, maxLength(3), Typed(u"X"), u"Xbc",
         1, 1, 0},
        {"Locked: typing, Backspace and Delete do nothing", u"abc", 1, 1, locked,
         [](auto& c) {
             c.Type(u"x\b");
             c.PressKey(Key::Delete);
         },
         u"abc", 1, 1, 0},
        {"Locked: navigation still works", u"abc", 1, 1, locked, Press(Key::End, Shift::Shift),
         u"abc", 1, 3, 0},
        {"Backspace at the start does nothing", u"abc", 0, 0, {}, Typed(u"\b"), u"abc", 0, 0, 0},
        {"Backspace deletes the selection", u"abcd", 1, 3, {}, Typed(u"\b"), u"ad", 1, 1, 0},
        {"Delete removes the next character", u"abc", 1, 1, {}, Press(Key::Delete), u"ac", 1, 1, 0},
        {"Left collapses a selection to its start",
         u"abcd",
         1,
         3,
         {},
         Press(Key::Left),
         u"abcd",
         1,
         1,
         0},
        {"Shift+Left extends from the caret",
         u"abcd",
         1,
         3,
         {},
         Press(Key::Left, Shift::Shift),
         u"abcd",
         1,
         2,
         0},
        {"Shift+Home selects back to the start",
         u"abcd",
         2,
         2,
         {},
         Press(Key::Home, Shift::Shift),
         u"abcd",
         2,
         0,
         0},
        {"Ctrl+Right moves to the next word",
         u"ab cd",
         0,
         0,
         {},
         Press(Key::Right, Shift::Ctrl),
         u"ab cd",
         3,
         3,
         0},
        {"Ctrl+Left moves to the word start",
         u"ab cd",
         5,
         5,
         {},
         Press(Key::Left, Shift::Ctrl),
         u"ab cd",
         3,
         3,
         0},
        {"Up and Down do nothing",
         u"abc",
         1,
         1,
         {},
         [](auto& c) {
             c.PressKey(Key::Up);
             c.PressKey(Key::Down);
         },
         u"abc",
         1,
         1,
         0},
        {"Enter inserts nothing", u"abc", 1, 1, {}, Typed(u"\r"), u"abc", 1, 1, 0},
        {"Ctrl+letter without a meaning inserts nothing",
         u"abc",
         1,
         1,
         {},
         Press('B', Shift::Ctrl),
         u"abc",
         1,
         1,
         0},
    };
    RunEditCases(cases, false);
}

TEST(HeadlessTextField, MultiLineEditingKeys) {
    const auto maxLength = [](int32_t n) { return [=](Field& f) { f.MaxLength(n); }; };
    const EditCase cases[] = {
        {"Enter inserts a line break", u"ab", 1, 1, {}, Typed(u"\r"), u"a\r\nb", 3, 3, 0},
        {"Enter needs room for two characters", u"ab", 1, 1, maxLength(3), Typed(u"\r"), u"ab", 1,
         1, 1},
        {"Backspace removes a whole line break", u"a\r\nb", 3, 3, {}, Typed(u"\b"), u"ab", 1, 1, 0},
        {"Delete removes a whole line break",
         u"a\r\nb",
         1,
         1,
         {},
         Press(Key::Delete),
         u"ab",
         1,
         1,
         0},
        {"Right steps over a line break",
         u"a\r\nb",
         1,
         1,
         {},
         Press(Key::Right),
         u"a\r\nb",
         3,
         3,
         0},
        {"Down keeps the column",
         u"abc\r\nde\r\nfghi",
         2,
         2,
         {},
         [](auto& c) {
             c.PressKey(Key::Down);
             c.PressKey(Key::Down);
         },
         u"abc\r\nde\r\nfghi",
         11,
         11,
         0},  // column 2 clamps to the end of "de", then 2 in "fghi"
        {"Up on the first line stays",
         u"abc\r\nde",
         2,
         2,
         {},
         Press(Key::Up),
         u"abc\r\nde",
         2,
         2,
         0},
        {"Home and End work on the line",
         u"abc\r\nde",
         6,
         6,
         {},
         [](auto& c) {
             c.PressKey(Key::Home);
             c.PressKey(Key::End, Shift::Shift);
         },
         u"abc\r\nde",
         5,
         7,
         0},
        {"Ctrl+Home goes to the text start",
         u"abc\r\nde",
         6,
         6,
         {},
         Press(Key::Home, Shift::Ctrl),
         u"abc\r\nde",
         0,
         0,
         0},
    };
    RunEditCases(cases, true);
}

// --- Clipboard and undo -------------------------------------------------------------------------

TEST(HeadlessTextField, ClipboardKeys) {
    const auto clip = [](const char16_t* text) {
        return [=](Field& f) { f.GetContainer().Clipboard() = text; };
    };
    const auto then = [](std::function<void(Field&)> a, std::function<void(Field&)> b) {
        return [=](Field& f) { a(f), b(f); };
    };
    const EditCase cases[] = {
        {"Ctrl+V pastes over the selection", u"abcd", 1, 3, clip(u"XYZ"), Press('V', Shift::Ctrl),
         u"aXYZd", 4, 4, 0},
        {"Shift+Insert pastes", u"ab", 1, 1, clip(u"-"), Press(Key::Insert, Shift::Shift), u"a-b",
         2, 2, 0},
        {"Ctrl+X cuts", u"abcd", 1, 3, clip(u""), Press('X', Shift::Ctrl), u"ad", 1, 1, 0},
        {"Shift+Delete cuts", u"abcd", 1, 3, clip(u""), Press(Key::Delete, Shift::Shift), u"ad", 1,
         1, 0},
        {"paste is cut short at MaxLength with a beep", u"ab", 2, 2,
         then(clip(u"cdef"), [](Field& f) { f.MaxLength(4); }), Press('V', Shift::Ctrl), u"abcd", 4,
         4, 1},
        {"paste with no room changes nothing", u"ab", 2, 2,
         then(clip(u"c"), [](Field& f) { f.MaxLength(2); }), Press('V', Shift::Ctrl), u"ab", 2, 2,
         1},
        {"a single-line field pastes the first line only", u"", 0, 0, clip(u"one\r\ntwo"),
         Press('V', Shift::Ctrl), u"one", 3, 3, 0},
        {"a locked field does not paste or cut", u"abcd", 1, 3,
         then(clip(u"Q"), [](Field& f) { f.Locked(true); }),
         [](auto& c) {
             c.PressKey('V', Shift::Ctrl);
             c.PressKey('X', Shift::Ctrl);
         },
         u"abcd", 1, 3, 0},
        {"a password field does not cut", u"abcd", 1, 3,
         then(clip(u""), [](Field& f) { f.PasswordChar(u"*"); }), Press('X', Shift::Ctrl), u"abcd",
         1, 3, 0},
    };
    RunEditCases(cases, false);

    Form form;
    Probe& a = form.Add("A");
    Field& f = form.Field(a);
    auto& clipboard = form.container.Clipboard();
    f.Text(u"secret");
    f.SelLength(3);
    f.Locked(true);
    form.container.Focus(a);
    form.container.PressKey('C', Shift::Ctrl);  // copying works in a locked field
    EXPECT_EQ(clipboard, u"sec");
    form.container.PressKey(Key::End);
    form.container.PressKey(Key::Left, Shift::Shift);
    form.container.PressKey(Key::Insert, Shift::Ctrl);
    EXPECT_EQ(clipboard, u"t");
    f.PasswordChar(u"*");
    f.SelStart(0);
    f.SelLength(6);
    form.container.PressKey('C', Shift::Ctrl);
    EXPECT_EQ(clipboard, u"t");
}

TEST(HeadlessTextField, UndoTakesBackTheLastEditAndUndoingTwiceRedoes) {
    Form form;
    Probe& a = form.Add("A");
    Field& f = form.Field(a);
    auto& c = form.container;
    c.Focus(a);
    c.Type(u"abc");
    c.PressKey('Z', Shift::Ctrl);  // the typed run goes at once
    EXPECT_EQ(f.Text(), u"");
    c.PressKey('Z', Shift::Ctrl);
    EXPECT_EQ(f.Text(), u"abc");

    c.Type(u"d");
    c.PressKey(Key::Left);
    c.Type(u"e");  // the caret moved: a new run
    c.PressKey('Z', Shift::Ctrl);
    EXPECT_EQ(f.Text(), u"abcd");
    EXPECT_EQ(f.SelStart(), 3);

    c.Clipboard() = u"XY";
    c.PressKey('V', Shift::Ctrl);
    c.Type(u"\b");
    c.PressKey('Z', Shift::Ctrl);
    EXPECT_EQ(f.Text(), u"abcXYd");

    f.Text(u"new");  // writes clear the undo step
    EXPECT_FALSE(f.CanUndo());
    form.Take();
    c.PressKey('Z', Shift::Ctrl);
    EXPECT_EQ(f.Text(), u"new");
    EXPECT_EQ(form.Take(),
              (Log{"A.txt0.KeyDown(90,2)", "A.txt0.KeyPress(26)", "A.txt0.KeyUp(90,2)"}));
}

// --- Mouse --------------------------------------------------------------------------------------

// The field lies at (100, 50); with a 3-D border its text starts 30 twips further in, and each
// character of the default 9-point font is 90 twips wide: boundary i at x = 130 + 90 × i in the
// control's coordinates.
TEST(HeadlessTextField, PressesPlaceTheCaretAtTheNearestBoundary) {
    struct Case {
        float x;
        int32_t caret;
    };
    const Case cases[] = {{100, 0}, {130, 0}, {174, 0}, {176, 1}, {310, 2}, {400, 3}, {1590, 5}};
    Form form;
    Probe& a = form.Add("A");
    Field& f = form.Field(a);
    f.Text(u"hello");
    for (const Case& k : cases) {
        SCOPED_TRACE(k.x);
        form.container.Click(a, k.x, 100);
        EXPECT_EQ(f.SelStart(), k.caret);
        EXPECT_EQ(f.SelLength(), 0);
    }
    form.container.Click(a, 130, 100);
    form.container.Click(a, 400, 100, qv::MouseButton::Left, Shift::Shift);
    EXPECT_EQ(f.SelText(), u"hel");
}

TEST(HeadlessTextField, MouseDownSeesTheOldCaretAndDragAndDoubleClickSelect) {
    Form form;
    Probe& a = form.Add("A");
    Field& f = form.Field(a);
    f.Text(u"one two  three");
    int32_t caretInMouseDown = -1;
    f.notices.MouseDown = [&](int16_t&, int16_t&, float&, float&) {
        caretInMouseDown = f.SelStart();
    };
    form.container.Drag(a, 130 + 90 * 4, 100, 130 + 90 * 7, 100);
    EXPECT_EQ(caretInMouseDown, 0);
    EXPECT_EQ(f.SelText(), u"two");
    EXPECT_EQ(f.Caret(), 7);
    form.container.Drag(a, 130 + 90 * 7, 100, 130 + 90 * 4, 100);
    EXPECT_EQ(f.SelText(), u"two");  // backwards: the caret at the left end
    EXPECT_EQ(f.Caret(), 4);

    struct Case {
        int at;  // character under the point
        const char16_t* selected;
    };
    for (const Case& k : {Case{5, u"two"}, Case{0, u"one"}, Case{7, u"  "}, Case{13, u"three"}}) {
        SCOPED_TRACE(k.at);
        form.container.DoubleClick(a, 130 + 90 * k.at + 10, 100);
        EXPECT_EQ(f.SelText(), k.selected);
    }
}

TEST(HeadlessTextField, MultiLinePressesPickTheLineByHeight) {
    Form form;
    Probe& a = form.Add("A", {.multiLine = true});
    Field& f = form.Field(a);
    f.Height(1000);
    f.Text(u"ab\r\ncdef\r\ng");
    // Lines are 225 twips high below the 30-twip border: the second line spans y 255..480.
    form.container.Click(a, 130 + 90 * 3, 50 + 300);
    EXPECT_EQ(f.SelStart(), 7);
    form.container.Click(a, 130 + 90 * 3, 50 + 900);
    EXPECT_EQ(f.SelStart(), 11);  // end of the last line
}

}  // namespace
}  // namespace headless_test
