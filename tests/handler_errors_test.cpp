// An application handler that throws in the middle of a control's own steps: the control finishes
// its steps (every field written, the text formatted, the colour set, the focus moved) and then
// passes the first error on to whoever started them.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "numbox_test_support.h"
#include "txtbox_test_support.h"

namespace {

using qv::Control;
using qv::String;
using qv::Variant;
using qv::headless::Container;

// A handler that fails while armed, each time with its name and the next number as message.
struct Failing {
    void operator()() {
        ++calls;
        if (armed) throw std::runtime_error(name + " " + std::to_string(++thrown));
    }
    std::string name;
    bool armed = false;
    int calls = 0, thrown = 0;
};

// The message of the error `f` passes on ("" when none). A control's own call (`byControl`) must
// mark it as a handler's error passed on.
template <class F>
std::string PassedOn(F&& f, bool byControl = false) {
    try {
        f();
    } catch (const std::runtime_error& e) {
        if (byControl) {
            EXPECT_TRUE(Control::IsPassedOnHandlerError(std::current_exception())) << e.what();
        }
        return e.what();
    }
    return "";
}
template <class F>
std::string PassedOnByControl(F&& f) {
    return PassedOn(f, true);
}

// --- Text box ---------------------------------------------------------------------------------

using txtbox_test::FieldsText;
using txtbox_test::Names;
using txtbox_test::Notices;
using txtbox_test::TxtBoxTest;

// The colour the box shows must be the one a recolouring gives whose handler does not fail
// (and, when `invalid`, says the value is not okay).
qv::Color CleanColour(Container& form, qv::QVtxtBoxControl& box, bool invalid = false) {
    const auto saved = box.events.ValidationCheck;
    box.events.ValidationCheck = [invalid](bool& ok) { ok = ok && !invalid; };
    const qv::Color shown = txtbox_test::Background(form, box);
    box.CheckValueNow();
    const qv::Color clean = txtbox_test::Background(form, box);
    box.events.ValidationCheck = saved;
    EXPECT_EQ(shown, clean);
    return shown;
}

class TxtBoxHandlerErrors : public TxtBoxTest {
  protected:
    void SetUp() override {
        box.Text(u"Old");
        box.events.Change = [this] { change(); };
        box.events.ValidationCheck = [this](bool&) { validation(); };
        log.Attach(box);
        form.ClearPropertyChanges();
    }
    Failing change{"change"}, validation{"validation"};
};

TEST_F(TxtBoxHandlerErrors, ATextWriteWritesEveryFieldAndFormatsBeforePassingTheFirstErrorOn) {
    change.armed = true;
    EXPECT_EQ(PassedOnByControl([&] { box.Text(u"  new "); }), "change 1");
    EXPECT_EQ(FieldsText(box), u"New");
    EXPECT_EQ(change.thrown, 2);  // the first field written, then the trim
    EXPECT_EQ(Notices(form), Names{u"Text"});
    box.events.Change = nullptr;  // the flag that silences the control's own copies is reset
    form.Focus(box);
    form.Type(u"x");
    EXPECT_EQ(log.Count(u"Change"), 3);
    validation.armed = true;  // a null written empties every field and recolours
    EXPECT_EQ(PassedOn([&] { box.Text(Variant::Null()); }), "validation 1");
    EXPECT_EQ(FieldsText(box), u"");
    EXPECT_TRUE(box.IsNull());
    EXPECT_EQ(CleanColour(form, box), box.ErrorColor());
}

TEST_F(TxtBoxHandlerErrors, LeavingFormatsTheTextAndMovesTheFocusAway) {
    form.Focus(box);
    form.Type(u"  ");
    validation.armed = true;  // raised by each formatting write and by the focus exit
    EXPECT_EQ(PassedOn([&] { form.Leave(); }), "validation 1");
    EXPECT_EQ(FieldsText(box), u"Old");
    EXPECT_GE(validation.thrown, 2);
    EXPECT_FALSE(box.HasFocus());
    EXPECT_EQ(form.FocusedControl(), nullptr);
    EXPECT_EQ(form.FocusedWidget(), nullptr);
    EXPECT_EQ(CleanColour(form, box), box.BackColor());
    // Coming back works as ever: the field takes the focus and the colour follows it.
    validation.armed = false;
    form.Focus(box);
    EXPECT_TRUE(box.HasFocus());
    EXPECT_EQ(form.FocusedWidget(), form.SiteOf(box).FindTextField(u"QVTxtBoxCC", 0));
    EXPECT_EQ(CleanColour(form, box), box.FocusColor());
}

TEST_F(TxtBoxHandlerErrors, TypingRaisesChangeAndKeyUpWhenValidationFails) {
    form.Focus(box);
    form.PressKey(qv::Key::End);
    log.Clear();
    validation.armed = true;
    EXPECT_EQ(PassedOn([&] { form.Type(u"x"); }), "validation 1");
    EXPECT_EQ(FieldsText(box), u"differ: Oldx|Old|Old");  // typing changes the visible field
    EXPECT_EQ(log.names, (Names{u"KeyDown", u"KeyPress", u"ValidationCheck", u"Change", u"KeyUp"}));
    // The host delivers the key's release also after a key handler failed; nothing is typed.
    validation.armed = false;
    box.events.KeyPress = [](int16_t&) { throw std::runtime_error("key"); };
    log.Clear();
    EXPECT_THROW(form.Type(u"y"), std::runtime_error);
    EXPECT_EQ(log.names, (Names{u"KeyDown", u"KeyPress", u"KeyUp"}));
    EXPECT_EQ(box.Field(0).Text(), u"Oldx");
}

// Property writes that recolour or copy the text: the write is made, its notice sent, and the
// colour is the one the new state gives; the handler's error follows.
TEST_F(TxtBoxHandlerErrors, WritesThatRecolourFinishTheirStepsFirst) {
    using Box = qv::QVtxtBoxControl;
    // clang-format off
    const struct { const char16_t* property; void (*write)(Box&); bool (*made)(const Box&); bool typeFirst = false; } cases[] = {
        {u"BackColor", [](Box& b) { b.BackColor(0x123456); }, [](const Box& b) { return b.BackColor() == 0x123456; }},
        // Disabling the focused field takes the focus from it, which formats the text.
        {u"Enabled", [](Box& b) { b.Enabled(false); }, [](const Box& b) {
             return !b.Field(0).Enabled() && !b.Field(1).Enabled() && !b.Field(2).Enabled() && FieldsText(b) == u"XOld"; },
         true},
        {u"Locked", [](Box& b) { b.Locked(true); }, [](const Box& b) { return b.Locked(); }},
        {u"MustHaveValue", [](Box& b) { b.MustHaveValue(false); }, [](const Box& b) { return !b.MustHaveValue(); }},
        {u"UseWarningColor", [](Box& b) { b.UseWarningColor(true); }, [](const Box& b) { return b.UseWarningColor(); }},
        {u"SelText", [](Box& b) { b.SelText(u"x"); }, [](const Box& b) { return FieldsText(b) == u"xOld"; }},
        // Swapping the field being typed into copies the typed text into the new one.
        {u"MultiLine", [](Box& b) { b.MultiLine(true); }, [](const Box& b) {
             return b.ActiveFieldIndex() == 1 && b.Field(1).Visible() && !b.Field(0).Visible() &&
                    b.Field(1).Text() == u"xOld" && b.HasFocus(); },
         true},
    };
    // clang-format on
    for (const auto& c : cases) {
        Container f;
        auto& b = f.Add<Box>(u"txt");
        b.Text(u"Old");
        b.SelStart(0);
        if (c.typeFirst) f.Focus(b), f.Type(u"x");
        f.ClearPropertyChanges();
        Failing fail{.name = "handler", .armed = true};
        b.events.ValidationCheck = [&](bool& ok) {
            ok = false;
            fail();
        };
        EXPECT_EQ(PassedOnByControl([&] { c.write(b); }), "handler 1") << qv::ToUtf8(c.property);
        EXPECT_TRUE(c.made(b)) << qv::ToUtf8(c.property);
        EXPECT_EQ(Notices(f), Names{c.property});
        CleanColour(f, b, true);
    }
}

TEST_F(TxtBoxHandlerErrors, TheControlsOwnErrorsAndNestedWritesBehaveAsBefore) {
    // A refused write is no handler's error, and nothing ran.
    struct Gadget : qv::Object {
        std::shared_ptr<Object> Clone() const override { return std::make_shared<Gadget>(); }
        String TypeName() const override { return u"Gadget"; }
    };
    change.armed = true;
    try {
        box.Text(Variant(std::make_shared<Gadget>()));
        ADD_FAILURE() << "an object has no text form";
    } catch (const qv::RuntimeError& e) {
        EXPECT_EQ(e.Number(), 380);
        EXPECT_FALSE(Control::IsPassedOnHandlerError(std::current_exception()));
    }
    EXPECT_EQ(change.calls, 0);
    // A write made by a handler raises to that handler, which may deal with it.
    change.armed = false;
    validation.armed = true;
    std::vector<std::string> seenInside;
    bool inside = false;
    box.events.Change = [&] {
        if (inside) return;
        inside = true;
        seenInside.push_back(PassedOnByControl([&] { box.Text(u"inner"); }));
    };
    EXPECT_EQ(PassedOn([&] { box.Text(u"outer"); }), "validation 1");
    EXPECT_EQ(seenInside, (std::vector<std::string>{"validation 2"}));
    EXPECT_EQ(FieldsText(box), u"Inner");
    // Whatever a handler throws is passed on, not only std::exception.
    box.events.Change = [] { throw 42; };
    validation.armed = false;
    EXPECT_THROW(box.Text(u"z"), int);
    EXPECT_EQ(FieldsText(box), u"Z");
}

// --- Numeric box --------------------------------------------------------------------------------

using numbox_test::NumBoxTest;
using numbox_test::Press;
using numbox_test::StateOf;

class NumBoxHandlerErrors : public NumBoxTest {
  protected:
    void SetUp() override {
        box.events.Change = [this] { change(); };
        box.events.ValidationCheck = [this](bool&) { validation(); };
        log.Attach(box);
    }
    // The colour the box shows must be the one a clean recolouring gives.
    qv::Color Colour() {
        const qv::Color shown = form.SiteOf(box).BackColor();
        const auto saved = box.events.ValidationCheck;
        box.events.ValidationCheck = nullptr;
        box.CheckValueNow();
        box.events.ValidationCheck = saved;
        EXPECT_EQ(shown, form.SiteOf(box).BackColor());
        return shown;
    }
    Failing change{"change"}, validation{"validation"};
};

TEST_F(NumBoxHandlerErrors, TypingCommitsTheKeyAndRaisesChangeWhenValidationFails) {
    form.Focus(box);
    validation.armed = true;
    log.Clear();
    EXPECT_EQ(PassedOn([&] { Press(form, u"5"); }), "validation 1");
    EXPECT_EQ(StateOf(box), "5 | 5 | 5");
    EXPECT_EQ(log.names, (Names{u"KeyDown", u"KeyPress", u"ValidationCheck", u"Change", u"KeyUp"}));
    EXPECT_EQ(Colour(), box.FocusColor());
}

TEST_F(NumBoxHandlerErrors, ValueAndTextWritesFormatNotifyAndRecolour) {
    using Box = qv::QVnumBoxControl;
    // clang-format off
    const struct { const char* name; void (*write)(Box&); const char* state; } cases[] = {
        {"Value", [](Box& b) { b.Value(Variant(1234.5)); }, "1.234,50 | 1.234,50 | 1234.5"},
        {"Text", [](Box& b) { b.Text(u"77"); }, "77,00 | 77,00 | 77"}};
    // clang-format on
    for (const auto& c : cases) {
        numbox_test::Boxed t;
        Failing fail{.name = "handler", .armed = true};
        t.b.events.Change = [&] { fail(); };
        t.form.ClearPropertyChanges();
        EXPECT_EQ(PassedOnByControl([&] { c.write(t.b); }), "handler 1") << c.name;
        EXPECT_EQ(StateOf(t.b), c.state) << c.name;
        EXPECT_EQ(Notices(t.form).back(), u"Value") << c.name;
        EXPECT_EQ(t.form.SiteOf(t.b).BackColor(), t.b.BackColor()) << c.name;
    }
}

TEST_F(NumBoxHandlerErrors, LeavingFormatsAndEntryShowsTheCaretWhenHandlersFail) {
    form.Focus(box);
    Press(form, u"12,5");
    change.armed = true;
    validation.armed = true;
    EXPECT_EQ(PassedOn([&] { form.Leave(); }), "change 1");  // the formatting's Change comes first
    EXPECT_EQ(change.thrown, 1);
    EXPECT_EQ(StateOf(box), "12,50 | 12,50 | 12.5");
    EXPECT_FALSE(box.HasFocus());
    EXPECT_FALSE(box.CaretOn());
    EXPECT_FALSE(box.CaretTimer().Enabled());
    EXPECT_EQ(Colour(), box.BackColor());
    // Entry: the colour, the caret and its timer, the selection.
    box.SelectedOnGotFocus(true);
    change.thrown = validation.thrown = 0;
    EXPECT_EQ(PassedOn([&] { form.Focus(box); }), "validation 1");
    EXPECT_TRUE(box.HasFocus());
    EXPECT_TRUE(box.CaretOn());
    EXPECT_TRUE(box.CaretTimer().Enabled());
    EXPECT_TRUE(box.IsHighlighted());
    EXPECT_EQ(Colour(), box.FocusColor());
}

TEST_F(NumBoxHandlerErrors, DeletingAHighlightedValueEmptiesTheBoxAndRaisesChange) {
    box.Value(Variant(42));
    form.Focus(box);
    Press(form, u"+{HOME}");
    ASSERT_TRUE(box.IsHighlighted());
    validation.armed = true;
    log.Clear();
    EXPECT_EQ(PassedOn([&] { Press(form, u"{DEL}"); }), "validation 1");
    EXPECT_EQ(StateOf(box), " | <Null> | <Null> null");
    EXPECT_EQ(log.Count(u"Change"), 1);
    EXPECT_EQ(log.Count(u"KeyUp"), 1);
    EXPECT_FALSE(box.IsHighlighted());
    validation.armed = false;
    Press(form, u"7");  // the box goes on from the emptied state
    EXPECT_EQ(StateOf(box), "7 | 7 | 7");
}

}  // namespace
