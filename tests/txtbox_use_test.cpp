// The text box in use: the events and colours a user causes, the typing filter, the value and its
// null state, formatting, validation, selection, tooltips and the layout of fields and frame.
#include <optional>
#include <stdexcept>

#include "txtbox_test_support.h"

namespace txtbox_test {
namespace {

using qv::Flat3d;
using qv::NoneFixedSingle;

using TxtBoxUse = TxtBoxTest;

TEST_F(TxtBoxUse, TypedCharacterRaisesItsEventsAndLeavingFormatsAndRecolours) {
    log.Attach(box);
    form.Focus(box);
    EXPECT_EQ(log.names, Names{u"ValidationCheck"});  // focus entry only judges the value
    EXPECT_EQ(Background(form, box), box.ErrorColor());
    log.Clear();
    form.Type(u"a");
    EXPECT_EQ(log.names, (Names{u"KeyDown", u"KeyPress", u"ValidationCheck", u"Change", u"KeyUp"}));
    EXPECT_EQ(log.firstArgs,
              (std::vector<Variant>{int16_t{'A'}, int16_t{'a'}, true, {}, int16_t{'A'}}));
    EXPECT_EQ(Background(form, box), box.FocusColor());
    form.Type(u"\b  anna maria  ");
    std::vector<bool> focusAtCheck;
    box.events.ValidationCheck = [&](bool&) { focusAtCheck.push_back(box.HasFocus()); };
    log.Clear();
    form.Leave();
    EXPECT_EQ(FieldsText(box), u"Anna maria");
    // One Change for the trim; the formatting judges while focused, focus exit once more after.
    EXPECT_EQ(log.Count(u"Change"), 1);
    EXPECT_EQ(focusAtCheck, (std::vector<bool>{true, true, true, true, false}));
    EXPECT_EQ(Background(form, box), box.BackColor());
}

TEST(TxtBoxTyping, UpperCasesThenRefusesForbiddenCharactersAfterTheKeyPressHandler) {
    // clang-format off
    struct Case { bool allUcase; const char16_t *forbidden, *typed, *inserted;
                  bool handler; };  // cancels 'x', replaces 'b' by '#' and 'c' by 'q'
    const Case cases[] = {
        {false, u"", u"abc", u"abc", false},  // no capital while typing
        {true, u"", u"abc\u00e4\u00fc\u00df", u"ABC\u00c4\u00dc\u00df", false},
        {true, u"A", u"a", u"", false}, {true, u"a", u"a", u"A", false},  // upper-cased first, then found
        {false, u"x", u"Xx", u"X", false},    // the search is case-sensitive
        {false, u"aeiou ", u"education is", u"dctns", false}, {true, u"#", u"axbcd", u"AQD", true},
        {false, u"%", u"%x", u"", true}};
    // clang-format on
    for (const Case& c : cases) {
        Container f;
        auto& b = f.Add<QVtxtBoxControl>(u"txt");
        b.AllUcase(c.allUcase);
        b.ForbiddenCharacters(c.forbidden);
        if (c.handler) {
            b.events.KeyPress = [](int16_t& k) {
                k = k == 'x' ? 0 : k == 'b' ? '#' : k == 'c' ? 'q' : k;
            };
        }
        EventLog events;
        events.Attach(b);
        f.Focus(b);
        f.Type(c.typed);
        EXPECT_EQ(b.Field(0).Text(), c.inserted) << qv::ToUtf8(c.typed);
        EXPECT_EQ(events.Count(u"Change"), int(String(c.inserted).size())) << qv::ToUtf8(c.typed);
    }
}

TEST_F(TxtBoxUse, TextWritesFillAllFieldsFormattedUpperCasedButNotFiltered) {
    log.Attach(box);
    form.ClearPropertyChanges();
    box.Text(u"  abc  ");
    EXPECT_EQ(FieldsText(box), u"Abc");
    EXPECT_EQ(log.Count(u"Change"), 2);  // the first field written, then the trim
    EXPECT_EQ(Notices(form), Names{u"Text"});
    box.Text(u"\tabc\r\n ");  // only blanks are trimmed
    EXPECT_EQ(FieldsText(box), u"\tabc\r\n");
    box.ForbiddenCharacters(u"#");
    box.AllUcase(true);
    box.Text(u"a#b");
    EXPECT_EQ(FieldsText(box), u"A#B");
}

TEST_F(TxtBoxUse, ErrorsOfApplicationHandlersReachTheCallerAndSilenceNoLaterChange) {
    box.FirstCharacterCapital(false);
    bool fail = false;
    box.events.ValidationCheck = [&](bool&) {
        if (fail) throw std::runtime_error("application error");
    };
    form.Focus(box);
    form.Type(u"x");
    fail = true;  // leaving copies the text into the other fields, silently
    EXPECT_THROW(form.Leave(), std::runtime_error);
    fail = false;
    log.Attach(box);
    form.Focus(box);
    form.Type(u"y");
    EXPECT_EQ(log.Count(u"Change"), 1);
    box.events.Change = [&] { qv::Raise(qv::err::TypeMismatch); };  // reach the writer unchanged
    EXPECT_EQ(ErrorOf([&] { box.Text(u"xyz"); }), qv::err::TypeMismatch);
    EXPECT_EQ(ErrorOf([&] { box.SelText(u"q"); }), qv::err::TypeMismatch);
    box.events.ValidationCheck = [&](bool&) { qv::Raise(qv::err::TypeMismatch); };
    // The value converts fine; the handler's own error is not an invalid property value.
    EXPECT_EQ(ErrorOf([&] { box.LetProperty(u"MustHaveValue", false); }), qv::err::TypeMismatch);
}

TEST_F(TxtBoxUse, NullReadsNullUntilAValueArrivesAndHandlersSeeTheTypedValue) {
    box.NullToEmptyString(false);
    box.Text(Variant::Null());
    std::vector<String> seen;
    box.events.ValidationCheck = [&](bool&) { seen.push_back(Show(box.Text())); };
    box.events.Change = [&] { seen.push_back(Show(box.Text())); };
    form.Focus(box);
    seen.clear();
    form.Type(u"x");
    EXPECT_EQ(seen, (std::vector<String>{u"x", u"x"}));  // typing ends the null state
    log.Attach(box);
    box.Text(Variant::Null());
    EXPECT_EQ(log.Count(u"Change"), 1);  // three fields emptied, one Change
    EXPECT_TRUE(box.IsNull());
    EXPECT_TRUE(box.Text().IsNull());
    EXPECT_EQ(box.TextFormatted(), u"");
    EXPECT_EQ(FieldsText(box), u"");
    box.NullToEmptyString(true);
    EXPECT_EQ(Show(box.Text()), u"");
    box.Text(u"");  // any value ends the null state
    EXPECT_FALSE(box.IsNull());
}

// TextFormatted previews the formatting without touching the fields; FormatText applies it (all
// but AllUcase) to every field with at most one Change.
TEST(TxtBoxFormat, TextFormattedPreviewsAndFormatTextAppliesTheFormatting) {
    // clang-format off
    struct Case { bool trim, firstCapital, allUcase;  // AllUcase is set after typing
                  const char16_t *typed, *preview, *formatted; int changes; };  // formatted: nullptr, FormatText not tried
    const Case cases[] = {
        {true, true, false, u" abc ", u"Abc", u"Abc", 1}, {true, true, true, u"ab cd", u"AB CD", u"Ab cd", 1},
        {true, true, false, u"Abc", u"Abc", u"Abc", 0},   {true, true, false, u"   ", u"", u"", 1},
        {true, true, false, u"\u00e9t\u00e9 ", u"\u00c9t\u00e9", u"\u00c9t\u00e9", 1},
        {false, false, false, u"ab  ", u"ab", nullptr, 0},  // trailing blanks always go
        {false, true, false, u" ab ", u" ab", nullptr, 0}, {true, false, false, u" ab ", u"ab", nullptr, 0},
        {false, false, true, u"ab ", u"AB", nullptr, 0}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(qv::ToUtf8(c.typed));
        Container f;
        auto& b = f.Add<QVtxtBoxControl>(u"txt");
        b.Trim(c.trim);
        b.FirstCharacterCapital(c.firstCapital);
        f.Focus(b);
        f.Type(c.typed);
        b.AllUcase(c.allUcase);
        EXPECT_EQ(b.TextFormatted(), c.preview);
        EXPECT_EQ(b.Field(0).Text(), c.typed);
        if (!c.formatted) continue;
        EventLog events;
        events.Attach(b);
        b.FormatText();
        EXPECT_EQ(FieldsText(b), c.formatted);
        EXPECT_EQ(events.Count(u"Change"), c.changes);
    }
}

TEST_F(TxtBoxUse, SelTextReplacesEachFieldsOwnSelectionWithAChangeForEach) {
    box.Text(u"abc");  // "Abc" in all three
    box.SelStart(1);
    box.SelLength(1);
    box.Field(2).SelStart(3);  // field 2 has its caret at the end instead
    log.Attach(box);
    box.SelText(u"x");
    EXPECT_EQ(Names({box.Field(0).Text(), box.Field(1).Text(), box.Field(2).Text()}),
              Names({u"Axc", u"Axc", u"Abcx"}));
    EXPECT_EQ(log.names, (Names{u"ValidationCheck", u"Change", u"ValidationCheck", u"Change",
                                u"ValidationCheck", u"Change"}));
    box.SelStart(0);
    box.SelLength(2);
    EXPECT_EQ(box.SelText(), u"Ax");
    box.AllUcase(true);
    box.SelText(u"#y");  // upper-cased, not filtered
    EXPECT_EQ(box.Field(0).Text(), u"#Yc");
}

enum Role { Back, Focus, Error, Warning, Disabled };

TEST(TxtBoxColour, BackgroundFollowsModeStateFocusAndVerdict) {
    // clang-format off
    struct Case { int mode;  // 0 design, 1 run, 2 the container cannot say (counts as design)
                  bool enabled, locked, focused; const char16_t* text; bool useWarning; Role expected; };
    const Case cases[] = {
        {0, true, false, false, u"", true, Back},       {0, true, false, true, u"", true, Back},
        {0, false, false, false, u"abc", false, Disabled}, {0, true, true, true, u"", true, Disabled},
        {1, false, false, false, u"abc", false, Disabled}, {1, true, true, true, u"", true, Disabled},
        {1, true, false, true, u"abc", true, Focus},    {1, true, false, true, u"", false, Error},
        {1, true, false, false, u"abc", true, Back},    {1, true, false, false, u"", true, Warning},
        {1, true, false, false, u"", false, Back},      {2, true, false, true, u"", true, Back}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "row " << (&c - cases));
        Container f;
        auto& b = f.Add<QVtxtBoxControl>(u"txt");
        b.BackColor(0x0A0B0C);  // not the surface's initial colour
        b.UseWarningColor(c.useWarning);
        b.Text(c.text);
        if (c.focused) f.Focus(b);
        b.Enabled(c.enabled);
        b.Locked(c.locked);
        f.UserMode(c.mode == 1);
        f.FailUserModeRead(c.mode == 2);
        EXPECT_EQ(b.CheckValueNow(), *c.text != 0);
        const Color colours[] = {b.BackColor(), b.FocusColor(), b.ErrorColor(), b.WarningColor(),
                                 b.DisabledColor()};
        EXPECT_EQ(Background(f, b), colours[c.expected]);
    }
}

TEST(TxtBoxColour, ValidationCheckHandlerOverrulesTheVerdictAndTheColour) {
    // clang-format off
    struct Case { bool mustHaveValue; const char16_t* typed; std::optional<bool> handlerSays; bool verdict; };
    const Case cases[] = {{true, u"", std::nullopt, false}, {true, u"   ", std::nullopt, false},
                          {true, u"   ", true, true}, {true, u"abc", std::nullopt, true},
                          {true, u"abc", false, false}, {false, u"", std::nullopt, true},
                          {false, u"abc", false, false}};
    // clang-format on
    for (const Case& c : cases) {
        Container f;
        auto& b = f.Add<QVtxtBoxControl>(u"txt");
        b.MustHaveValue(c.mustHaveValue);
        f.Focus(b);
        f.Type(c.typed);
        std::optional<bool> offered;
        b.events.ValidationCheck = [&](bool& ValueOkay) {
            offered = ValueOkay;
            if (c.handlerSays) ValueOkay = *c.handlerSays;
        };
        EXPECT_EQ(b.CheckValueNow(), c.verdict);
        EXPECT_EQ(offered, !(c.mustHaveValue && qv::TrimBlanks(c.typed).empty()));
        EXPECT_EQ(Background(f, b), c.verdict ? b.FocusColor() : b.ErrorColor());
    }
}

TEST(TxtBoxSelection, ClickSoonAfterFocusEntryKeepsTheWholeTextSelectedAlsoAcrossMidnight) {
    // clang-format off
    struct Case { double focusAt, clickAfter; bool selectedOnGotFocus, wholeTextSelected; };
    const Case cases[] = {
        {1000.0, 0.0, true, true}, {1000.0, 0.49, true, true}, {1000.0, 0.51, true, false},
        {1000.0, 5.0, true, false}, {86399.8, 0.3, true, true}, {86399.8, 0.7, true, false},
        {0.0, 0.1, false, false}, {86399.9, 0.2, false, false}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.focusAt << " + " << c.clickAfter);
        Container f;
        auto& b = f.Add<QVtxtBoxControl>(u"txt");
        b.Text(u"hello");
        b.SelectedOnGotFocus(c.selectedOnGotFocus);
        f.SetClock(c.focusAt);
        f.Focus(b);
        EXPECT_EQ(b.SelLength(), c.selectedOnGotFocus ? 5 : 0);
        f.AdvanceTime(c.clickAfter);
        f.Click(b, 300, 100);  // over the third character
        EXPECT_EQ(b.SelStart(), c.wholeTextSelected ? 0 : 3);
        EXPECT_EQ(b.SelLength(), c.wholeTextSelected ? 5 : 0);
    }
}

// A click that brings the focus selects the whole text before MouseUp is raised.
TEST_F(TxtBoxUse, ClicksRaiseTheMouseEventsAndAFocusingClickSelectsBeforeMouseUp) {
    box.Text(u"hello");
    box.SelectedOnGotFocus(true);
    int32_t selectedAtMouseUp = -1;
    box.events.MouseUp = [&](auto&...) { selectedAtMouseUp = box.SelLength(); };
    log.Attach(box);
    form.Click(box, 300, 100);
    EXPECT_EQ(selectedAtMouseUp, 5);
    form.DoubleClick(box, 300, 100);
    EXPECT_EQ(log.names, (Names{u"ValidationCheck", u"MouseDown", u"MouseUp", u"Click",
                                u"MouseDown", u"MouseUp", u"Click", u"DblClick", u"MouseUp"}));
}

TEST(TxtBoxTooltip, MouseMoveCopiesTheExtenderTooltipBeforeRaisingMouseMove) {
    using Tip = std::optional<Variant>;
    const std::tuple<Tip, Tip, const char16_t*> cases[] = {{{}, {}, u"preset"},
                                                           {u"tip", {}, u"tip"},
                                                           {{}, u"control tip", u"control tip"},
                                                           {u"tip", u"control tip", u"control tip"},
                                                           {Variant::Null(), {}, u"preset"},
                                                           {u"tip", Variant::Null(), u"tip"}};
    for (const auto& [toolTipText, controlTipText, expected] : cases) {
        Container f;
        auto& b = f.Add<QVtxtBoxControl>(u"txt");
        if (toolTipText) f.SiteOf(b).SetExtender(u"ToolTipText", *toolTipText);
        if (controlTipText) f.SiteOf(b).SetExtender(u"ControlTipText", *controlTipText);
        b.Field(0).ToolTipText(u"preset");
        String seenInEvent = u"(not raised)";
        b.events.MouseMove = [&](auto&...) { seenInEvent = b.Field(0).ToolTipText(); };
        f.MouseMove(b, 300, 100);
        EXPECT_EQ(b.Field(0).ToolTipText(), expected);
        EXPECT_EQ(seenInEvent, expected);
    }
}

// --- Layout ---------------------------------------------------------------------------------

TEST_F(TxtBoxUse, ExactlyOneFieldShowsChosenByMultiLineAndVerticalScrollBars) {
    const int32_t cases[][3] = {{false, 0, 0}, {false, 2, 0}, {true, 0, 1}, {true, 1, 1},
                                {true, 2, 2},  {true, 3, 1},  {true, 7, 1}, {false, 7, 0}};
    for (const auto& [multiLine, scrollBars, active] : cases) {
        box.ScrollBars(static_cast<qv::ScrollBarsEnum>(scrollBars));
        box.MultiLine(multiLine);
        EXPECT_EQ(static_cast<int32_t>(box.ScrollBars()), scrollBars);  // any value is kept
        EXPECT_EQ(box.ActiveFieldIndex(), active);
        for (int16_t i = 0; i < 3; ++i) EXPECT_EQ(box.Field(i).Visible(), i == active) << i;
    }
}

// Swapping the visible field while the user types: the new field takes the text, the caret and the
// focus, nothing typed is lost or formatted early, and leaving formats as usual.
TEST(TxtBoxTyping, SwitchingTheVisibleFieldWhileTypingLosesNoCharacter) {
    using Scroll = qv::ScrollBarsEnum;
    // clang-format off
    struct Case { const char* name; bool multiLine;  // at the start
                  bool selectOnFocus; void (*swap)(QVtxtBoxControl& box); int16_t field; };  // visible and focused after the swap
    const Case cases[] = {
        {"single to multi-line", false, false, [](auto& b) { b.MultiLine(true); }, 1},
        {"multi to single-line", true, false, [](auto& b) { b.MultiLine(false); }, 0},
        {"scroll bar added", true, false, [](auto& b) { b.ScrollBars(Scroll::Vertical); }, 2},
        {"selected on focus", false, true, [](auto& b) { b.MultiLine(true); }, 1},
        {"inside the Change handler", false, false, nullptr, 1}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Container form;
        auto& box = form.Add<QVtxtBoxControl>(u"txt");
        box.MultiLine(c.multiLine);
        box.SelectedOnGotFocus(c.selectOnFocus);
        int changes = 0;
        box.events.Change = [&] {
            ++changes;
            if (!c.swap && box.Text().ToString() == u"ab ") box.MultiLine(true);
        };
        form.Focus(box);
        form.Type(u"ab ");
        if (c.swap) c.swap(box);
        EXPECT_EQ(box.ActiveFieldIndex(), c.field);
        EXPECT_EQ(form.FocusedWidget(), form.SiteOf(box).FindTextField(u"QVTxtBoxCC", c.field));
        form.Type(u"cd");
        EXPECT_EQ(box.Text().ToString(), u"ab cd");
        EXPECT_EQ(changes, 5);  // one for each typed character, none for the swap
        form.Leave();
        EXPECT_EQ(FieldsText(box), u"Ab cd");
    }
}

TEST(TxtBoxLayout, FieldsSitInsideTheFrameWithItsMargins) {
    // clang-format off
    struct Case { int32_t borderStyle, appearance; float twipsPerPixel; int32_t w, h, left, top, width, height; };
    const Case cases[] = {
        {1, 1, 15, 1500, 300, 30, 45, 1440, 225}, {1, 0, 15, 1500, 300, 15, 30, 1470, 255},
        {0, 1, 15, 1500, 300, 0, 0, 1500, 300},   {0, 0, 15, 1500, 300, 0, 0, 1500, 300},
        {1, 1, 12, 1500, 300, 24, 36, 1452, 240}, {1, 0, 10, 1500, 300, 10, 20, 1480, 270},
        {1, 1, 15, 20, 300, 30, 45, 0, 225},      {1, 1, 15, 40000, 300, 30, 45, 39940, 225}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "row " << (&c - cases));
        Container f;
        f.TwipsPerPixel(c.twipsPerPixel, c.twipsPerPixel);
        auto& b = f.Add<QVtxtBoxControl>(u"txt");
        b.BorderStyle(static_cast<NoneFixedSingle>(c.borderStyle));
        b.Appearance(static_cast<Flat3d>(c.appearance));
        EXPECT_EQ(ErrorOf([&] { f.SiteOf(b).Resize(c.w, c.h); }), 0);
        EXPECT_EQ(b.Border(0).Visible(), c.borderStyle == 1 && c.appearance == 1);
        EXPECT_EQ(b.Border(1).Visible(), c.borderStyle == 1 && c.appearance == 0);
        const auto rect = [](const auto& w) {
            return std::vector({w.Left(), w.Top(), w.Width(), w.Height()});
        };
        for (int16_t i = 0; i < 2; ++i) EXPECT_EQ(rect(b.Border(i)), std::vector({0, 0, c.w, c.h}));
        for (int16_t i = 0; i < 3; ++i)  // laid out whether visible or not
            EXPECT_EQ(rect(b.Field(i)), std::vector({c.left, c.top, c.width, c.height}));
        EXPECT_EQ(f.SiteOf(b).Height(), c.h);
    }
}

// 24 pt: a line of 24 × 20 × 1.2 = 576 twips, 39 whole pixels = 585, and the bordered measuring
// field adds 2 pixels above and below: 645; 9 pt: 225 + 60 = 285.
TEST(TxtBoxLayout, LargerFontGrowsTheControlAndSmallerFontNeverShrinksIt) {
    for (Flat3d appearance : {Flat3d::qv3D, Flat3d::qvFlat}) {
        Container f;
        auto& b = f.Add<QVtxtBoxControl>(u"txt");
        auto& site = f.SiteOf(b);
        b.Appearance(appearance);
        b.FontSize(24);
        EXPECT_EQ(std::vector({site.Width(), site.Height(), b.Border(0).Height()}),
                  std::vector({1500, 645, 645}));
        const int32_t requests = site.SizeRequests();
        b.FontSize(8);
        EXPECT_EQ(site.Height(), 645);
        EXPECT_EQ(site.SizeRequests(), requests);
        site.Resize(1500, 1000);
        EXPECT_EQ(site.Height(), 1000);
        EXPECT_TRUE(f.LoadedForms().empty());  // the measuring form is unloaded again
        auto& low = f.Add<QVtxtBoxControl>(u"txtLow", 1500, 100);  // grows at once
        EXPECT_EQ(f.SiteOf(low).Height(), 285);
        EXPECT_EQ(low.Field(1).Height(), 285 - 75);
    }
}

// Without a frame the visible field's own minimum height decides.
TEST_F(TxtBoxUse, UnframedControlGrowsToTheVisibleFieldsMinimumHeight) {
    auto& site = form.SiteOf(box);
    box.BorderStyle(NoneFixedSingle::None);
    site.Resize(1500, 150);
    EXPECT_EQ(site.Height(), 225);  // a 9 pt line: 216 twips, rounded up to 15 pixels
    box.FontSize(24);
    EXPECT_EQ(site.Height(), 585);
    box.MultiLine(true);
    site.Resize(1500, 150);  // a multi-line field takes any height
    EXPECT_EQ(site.Height(), 150);
    EXPECT_EQ(box.Field(1).Height(), 150);
}

}  // namespace
}  // namespace txtbox_test
