// The text box between the user, its three fields and the application: the typing filter, the
// value and its null state, formatting, validation and colours, focus, selection and tooltips.
#include <optional>

#include "txtbox_test_support.h"

namespace txtbox_test {
namespace {

using qv::QVtxtBoxControl;
using qv::headless::Container;

using TxtBoxEditingTest = TxtBoxTest;

// --- The typing filter ------------------------------------------------------------------------

struct FilterCase {
    bool allUcase;
    const char16_t* forbidden;
    const char16_t* typed;
    const char16_t* inserted;
};

TEST_F(TxtBoxEditingTest, TypedCharactersAreUpperCasedThenCheckedAgainstForbiddenCharacters) {
    const FilterCase cases[] = {
        {false, u"", u"abc", u"abc"},  // no capital while typing
        {true, u"", u"abc", u"ABC"},
        {true, u"A", u"a", u""},  // upper-cased first, then found
        {true, u"a", u"a", u"A"},
        {false, u"x", u"X", u"X"},  // the search is case-sensitive
        {false, u"x", u"x", u""},
        {false, u"aeiou ", u"education is", u"dctns"},
        {true, u"", u"\u00e4\u00fc\u00df", u"\u00c4\u00dc\u00df"},
    };
    for (const FilterCase& c : cases) {
        SCOPED_TRACE(qv::ToUtf8(c.typed));
        Container f;
        auto& b = f.Add<QVtxtBoxControl>(u"txt");
        b.AllUcase(c.allUcase);
        b.ForbiddenCharacters(c.forbidden);
        f.Focus(b);
        f.Type(c.typed);
        EXPECT_EQ(b.Field(0).Text(), c.inserted);
    }
}

TEST_F(TxtBoxEditingTest, KeyPressHandlerCanCancelOrReplaceTheCharacterBeforeTheFilter) {
    box.ForbiddenCharacters(u"#");
    box.AllUcase(true);
    box.events.KeyPress = [](int16_t& KeyAscii) {
        if (KeyAscii == u'x') KeyAscii = 0;     // cancelled although allowed
        if (KeyAscii == u'b') KeyAscii = u'#';  // replaced by a forbidden character
        if (KeyAscii == u'c') KeyAscii = u'q';  // replaced, then upper-cased
    };
    form.Focus(box);
    form.Type(u"axbcd");
    EXPECT_EQ(box.Field(0).Text(), u"AQD");
}

TEST_F(TxtBoxEditingTest, TextWritesAreNotFilteredButAreUpperCased) {
    box.ForbiddenCharacters(u"#");
    box.AllUcase(true);
    box.Text(u"a#b");
    EXPECT_EQ(Texts(), All(u"A#B"));
    box.SelStart(3);
    box.SelText(u"#c");
    EXPECT_EQ(Texts(), All(u"A#B#C"));
}

// --- The value and its null state -------------------------------------------------------------

TEST_F(TxtBoxEditingTest, WritingPaddedTextFillsAllFieldsFormattedAndRaisesChangeTwice) {
    log.Attach(box);
    form.ClearPropertyChanges();
    box.Text(u"  abc  ");
    EXPECT_EQ(Texts(), All(u"Abc"));
    EXPECT_EQ(log.Count(u"Change"), 2);  // the first field written, then the trim
    EXPECT_EQ(Notices(), std::vector<String>{u"Text"});
    EXPECT_EQ(Show(box.Text()), u"Abc");
}

TEST_F(TxtBoxEditingTest, NullReadsNullOnlyWhenNullToEmptyStringIsOff) {
    box.Text(u"something");
    log.Attach(box);
    box.NullToEmptyString(false);
    box.Text(Variant::Null());
    EXPECT_EQ(log.Count(u"Change"), 1);  // three fields emptied, one Change
    EXPECT_TRUE(box.IsNull());
    EXPECT_TRUE(box.Text().IsNull());
    EXPECT_EQ(box.TextFormatted(), u"");
    EXPECT_EQ(Texts(), All(u""));
    box.NullToEmptyString(true);
    EXPECT_EQ(Show(box.Text()), u"");
    EXPECT_TRUE(box.IsNull());
    box.Text(u"");  // any value ends the null state
    EXPECT_FALSE(box.IsNull());
}

TEST_F(TxtBoxEditingTest, TypingIntoANullControlEndsTheNullState) {
    box.NullToEmptyString(false);
    box.Text(Variant::Null());
    form.Focus(box);
    form.Type(u"x");
    EXPECT_FALSE(box.IsNull());
    EXPECT_EQ(Show(box.Text()), u"x");
}

// --- Formatting -------------------------------------------------------------------------------

struct FormatCase {
    const char16_t* typed;
    const char16_t* formatted;
    int changes;
};

TEST_F(TxtBoxEditingTest, FormatTextTrimsCapitalisesCopiesAndRaisesChangeAtMostOnce) {
    const FormatCase cases[] = {
        {u" abc ", u"Abc", 1},
        {u"abc", u"Abc", 1},
        {u"Abc", u"Abc", 0},
        {u"   ", u"", 1},
        {u"hello world", u"Hello world", 1},  // only the first character of the whole text
        {u"\u00e9t\u00e9 ", u"\u00c9t\u00e9", 1},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(qv::ToUtf8(c.typed));
        Container f;
        auto& b = f.Add<QVtxtBoxControl>(u"txt");
        f.Focus(b);
        f.Type(c.typed);
        EventLog events;
        events.Attach(b);
        b.FormatText();
        for (int16_t i = 0; i < 3; ++i) EXPECT_EQ(b.Field(i).Text(), c.formatted) << i;
        EXPECT_EQ(events.Count(u"Change"), c.changes);
    }
}

TEST_F(TxtBoxEditingTest, FormatTextKeepsTabsAndLineBreaksAndIgnoresAllUcase) {
    box.Text(u"\tabc\r\n ");
    EXPECT_EQ(Texts(), All(u"\tabc\r\n"));
    box.Text(u"abc");
    box.AllUcase(true);
    box.FormatText();
    EXPECT_EQ(Texts(), All(u"Abc"));
}

struct FormattedCase {
    bool trim, firstCapital, allUcase;
    const char16_t* text;
    const char16_t* expected;
};

TEST_F(TxtBoxEditingTest, TextFormattedPreviewsTheFormattingWithoutChangingTheFields) {
    const FormattedCase cases[] = {
        {false, false, false, u"ab  ", u"ab"},  // trailing blanks always go
        {false, true, false, u" ab ", u" ab"}, {true, true, false, u"  ab cd  ", u"Ab cd"},
        {true, false, false, u" ab ", u"ab"},  {true, true, true, u" ab cd ", u"AB CD"},
        {false, false, true, u"ab ", u"AB"},   {true, true, false, u"   ", u""},
    };
    for (const FormattedCase& c : cases) {
        SCOPED_TRACE(qv::ToUtf8(c.text));
        Container f;
        auto& b = f.Add<QVtxtBoxControl>(u"txt");
        b.Trim(c.trim);
        b.FirstCharacterCapital(c.firstCapital);
        f.Focus(b);
        f.Type(c.text);
        b.AllUcase(c.allUcase);
        EXPECT_EQ(b.TextFormatted(), c.expected);
        EXPECT_EQ(b.Field(0).Text(), c.text);
        EXPECT_EQ(Show(b.Text()), c.text);
    }
}

TEST_F(TxtBoxEditingTest, TypingWithAllUcaseLeavesEarlierTextAsItWas) {
    box.Text(u"abc");
    box.AllUcase(true);
    form.Focus(box);
    form.PressKey(qv::headless::Key::End);
    form.Type(u"d");
    EXPECT_EQ(Show(box.Text()), u"AbcD");
    EXPECT_EQ(box.TextFormatted(), u"ABCD");
}

// --- SelText ----------------------------------------------------------------------------------

TEST_F(TxtBoxEditingTest, SelTextReplacesEachFieldsOwnSelectionWithAChangeForEach) {
    box.Text(u"abc");  // "Abc" in all three
    box.SelStart(1);
    box.SelLength(1);
    box.Field(2).SelStart(3);  // field 2 has its caret at the end instead
    log.Attach(box);
    box.SelText(u"x");
    EXPECT_EQ(box.Field(0).Text(), u"Axc");
    EXPECT_EQ(box.Field(1).Text(), u"Axc");
    EXPECT_EQ(box.Field(2).Text(), u"Abcx");
    const std::vector<String> expected = {u"ValidationCheck", u"Change",
                                          u"ValidationCheck", u"Change",
                                          u"ValidationCheck", u"Change"};
    EXPECT_EQ(log.names, expected);
    EXPECT_EQ(box.SelText(), u"");
    box.SelStart(0);
    box.SelLength(2);
    EXPECT_EQ(box.SelText(), u"Ax");
}

// --- Validation and colours -------------------------------------------------------------------

enum class Role { Back, Focus, Error, Warning, Disabled };

struct ColourCase {
    bool runMode, enabled, locked, focused;
    const char16_t* text;
    bool useWarning;
    Role expected;
};

Color ColourOf(const QVtxtBoxControl& b, Role r) {
    switch (r) {
        case Role::Back:
            return b.BackColor();
        case Role::Focus:
            return b.FocusColor();
        case Role::Error:
            return b.ErrorColor();
        case Role::Warning:
            return b.WarningColor();
        case Role::Disabled:
            return b.DisabledColor();
    }
    return 0;
}

TEST_F(TxtBoxEditingTest, BackgroundFollowsModeStateFocusAndVerdict) {
    const ColourCase cases[] = {
        {false, true, false, false, u"", true, Role::Back},
        {false, true, false, true, u"", true, Role::Back},
        {false, true, false, true, u"abc", false, Role::Back},
        {false, false, false, false, u"abc", false, Role::Disabled},
        {false, true, true, true, u"", true, Role::Disabled},
        {true, false, false, false, u"abc", false, Role::Disabled},
        {true, true, true, true, u"", true, Role::Disabled},
        {true, false, false, true, u"", true, Role::Disabled},
        {true, true, false, true, u"abc", false, Role::Focus},
        {true, true, false, true, u"abc", true, Role::Focus},
        {true, true, false, true, u"", true, Role::Error},
        {true, true, false, true, u"", false, Role::Error},
        {true, true, false, false, u"abc", true, Role::Back},
        {true, true, false, false, u"", true, Role::Warning},
        {true, true, false, false, u"", false, Role::Back},
    };
    for (const ColourCase& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << "run " << c.runMode << " enabled " << c.enabled << " locked " << c.locked
                     << " focus " << c.focused << " text '" << qv::ToUtf8(c.text) << "' warn "
                     << c.useWarning);
        Container f;
        auto& b = f.Add<QVtxtBoxControl>(u"txt");
        b.BackColor(0x0A0B0C);  // not the surface's initial colour
        b.UseWarningColor(c.useWarning);
        b.Text(c.text);
        if (c.focused) f.Focus(b);
        b.Enabled(c.enabled);
        b.Locked(c.locked);
        f.UserMode(c.runMode);
        EXPECT_EQ(b.CheckValueNow(), *c.text != 0);
        const Color expected = ColourOf(b, c.expected);
        EXPECT_EQ(f.SiteOf(b).BackColor(), expected);
        for (int16_t i = 0; i < 3; ++i) EXPECT_EQ(b.Field(i).BackColor(), expected) << i;
    }
}

TEST_F(TxtBoxEditingTest, UnreadableUserModeCountsAsDesignMode) {
    form.Focus(box);
    form.FailUserModeRead(true);
    EXPECT_FALSE(box.CheckValueNow());
    EXPECT_EQ(Background(), box.BackColor());
}

struct VerdictCase {
    bool mustHaveValue;
    const char16_t* typed;
    std::optional<bool> handlerSays;
    bool verdict;
};

TEST_F(TxtBoxEditingTest, ValidationCheckHandlerOverrulesTheVerdictAndTheColour) {
    const VerdictCase cases[] = {
        {true, u"", std::nullopt, false}, {true, u"   ", std::nullopt, false},
        {true, u"   ", true, true},       {true, u"abc", std::nullopt, true},
        {true, u"abc", false, false},     {false, u"", std::nullopt, true},
        {false, u"abc", false, false},
    };
    for (const VerdictCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.mustHaveValue << " '" << qv::ToUtf8(c.typed) << "'");
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
        const bool ownVerdict = !(c.mustHaveValue && qv::TrimBlanks(c.typed).empty());
        EXPECT_EQ(offered, ownVerdict);
        EXPECT_EQ(f.SiteOf(b).BackColor(), c.verdict ? b.FocusColor() : b.ErrorColor());
    }
}

TEST_F(TxtBoxEditingTest, FocusCycleFormatsWhileStillFocusedThenShowsTheRestingColour) {
    std::vector<bool> focusAtCheck;
    box.events.ValidationCheck = [&](bool&) { focusAtCheck.push_back(box.HasFocus()); };
    form.Focus(box);
    EXPECT_TRUE(box.HasFocus());
    form.Type(u" anna ");
    focusAtCheck.clear();
    form.Leave();
    EXPECT_FALSE(box.HasFocus());
    EXPECT_EQ(Texts(), All(u"Anna"));
    // The formatting's checks run focused; the last one, at focus exit, does not.
    ASSERT_GE(focusAtCheck.size(), 2u);
    EXPECT_FALSE(focusAtCheck.back());
    focusAtCheck.pop_back();
    for (bool focused : focusAtCheck) EXPECT_TRUE(focused);
    EXPECT_EQ(Background(), box.BackColor());
}

// --- Selection on focus entry -----------------------------------------------------------------

struct ReselectCase {
    double focusAt;
    double clickAfter;
    bool selectedOnGotFocus;
    bool wholeTextSelected;
};

TEST_F(TxtBoxEditingTest, ClickSoonAfterFocusEntryKeepsTheWholeTextSelected) {
    const ReselectCase cases[] = {
        {1000.0, 0.0, true, true},  {1000.0, 0.49, true, true},   {1000.0, 0.51, true, false},
        {1000.0, 5.0, true, false}, {86399.8, 0.3, true, true},   {86399.8, 0.7, true, false},
        {0.0, 0.1, false, false},   {86399.9, 0.2, false, false},
    };
    for (const ReselectCase& c : cases) {
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

TEST_F(TxtBoxEditingTest, ClickThatBringsTheFocusSelectsBeforeMouseUpIsRaised) {
    box.Text(u"hello");
    box.SelectedOnGotFocus(true);
    int32_t selectedAtMouseUp = -1;
    box.events.MouseUp = [&](int16_t&, int16_t&, float&, float&) {
        selectedAtMouseUp = box.SelLength();
    };
    form.Click(box, 300, 100);
    EXPECT_EQ(selectedAtMouseUp, 5);
}

// --- Tooltips ---------------------------------------------------------------------------------

struct TooltipCase {
    std::optional<Variant> toolTipText;
    std::optional<Variant> controlTipText;
    const char16_t* expected;
};

TEST_F(TxtBoxEditingTest, MouseMoveCopiesTheExtenderTooltipBeforeRaisingMouseMove) {
    const TooltipCase cases[] = {
        {std::nullopt, std::nullopt, u"preset"},
        {Variant(u"tip"), std::nullopt, u"tip"},
        {std::nullopt, Variant(u"control tip"), u"control tip"},
        {Variant(u"tip"), Variant(u"control tip"), u"control tip"},
        {Variant::Null(), std::nullopt, u"preset"},
        {Variant(u"tip"), Variant::Null(), u"tip"},
    };
    for (const TooltipCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "expect " << qv::ToUtf8(c.expected));
        Container f;
        auto& b = f.Add<QVtxtBoxControl>(u"txt");
        auto& site = f.SiteOf(b);
        if (c.toolTipText) site.SetExtender(u"ToolTipText", *c.toolTipText);
        if (c.controlTipText) site.SetExtender(u"ControlTipText", *c.controlTipText);
        b.Field(0).ToolTipText(u"preset");
        String seenInEvent = u"(not raised)";
        b.events.MouseMove = [&](int16_t&, int16_t&, float&, float&) {
            seenInEvent = b.Field(0).ToolTipText();
        };
        f.MouseMove(b, 300, 100);
        EXPECT_EQ(b.Field(0).ToolTipText(), c.expected);
        EXPECT_EQ(seenInEvent, c.expected);
    }
}

}  // namespace
}  // namespace txtbox_test
