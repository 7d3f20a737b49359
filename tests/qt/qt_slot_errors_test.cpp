// An application's slot that throws: the control ends in the state it reaches when the slot
// returns, nothing escapes into Qt, and the error reaches the application's error handler (the
// first one, after the control's own steps).
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <stdexcept>

#include "hosts/qt/ControlWidget.h"
#include "library/RuntimeError.h"
#include "scenario.h"

namespace {

using conformance::QtForm;
using qv::qt::QtServices;
using qv::qt::TxtBox;

enum class Throw { Nothing, StdError, QvError, NotAnException };

[[noreturn]] void ThrowAs(Throw kind) {
    if (kind == Throw::StdError) throw std::runtime_error("slot failed");
    if (kind == Throw::QvError) qv::Raise(qv::err::InvalidPropertyValue);
    throw 42;  // NOLINT: an application may throw anything
}

// What a user or a program sees of the box afterwards.
struct Seen {
    QString text;
    std::vector<qv::String> fields;  // every field's text: they must agree
    qv::Color back;
    bool focusLeft;
    int changes, refusals;
    bool written;  // what the setter returned (writes only)
    bool operator==(const Seen&) const = default;
};

// Runs `act` on a fresh form with `slot` throwing once as `kind`; returns what is seen and the
// errors the application's handler received.
template <class Hook, class Act>
std::pair<Seen, std::vector<std::string>> Run(Throw kind, Hook hook, Act act) {
    QtForm f;
    f.a->setFirstCharacterCapital(false);
    std::vector<std::string> errors;
    QtServices::Instance().SetErrorHandler(
        [&](const std::exception& e) { errors.emplace_back(e.what()); });
    int changes = 0;
    QObject::connect(f.a, &TxtBox::Change, [&] { ++changes; });
    QSignalSpy refused(f.a, &TxtBox::propertyWriteRefused);
    bool armed = kind != Throw::Nothing;
    hook(*f.a, [&] {
        if (std::exchange(armed, false)) ThrowAs(kind);
    });
    Seen seen{};
    seen.written = act(f);
    QApplication::processEvents();
    QtServices::Instance().SetErrorHandler(nullptr);
    seen.text = f.a->Text();
    for (int16_t i = 0; i < 3; ++i) seen.fields.push_back(f.a->box().Field(i).Text());
    seen.back = f.a->box().Field(f.a->box().ActiveFieldIndex()).BackColor();
    seen.focusLeft = f.b->hasFocus() && !f.a->hasFocus();
    seen.changes = changes;
    seen.refusals = static_cast<int>(refused.count());
    return {seen, errors};
}

void ExpectLikeAReturningSlot(const char* what, auto hook, auto act) {
    const auto [baseline, none] = Run(Throw::Nothing, hook, act);
    EXPECT_TRUE(none.empty()) << what;
    const std::pair<Throw, const char*> kinds[] = {
        {Throw::StdError, "slot failed"},
        {Throw::QvError, nullptr},  // the control's own message for its error number
        {Throw::NotAnException, "not a std::exception"},
    };
    for (const auto& [kind, message] : kinds) {
        const auto [seen, errors] = Run(kind, hook, act);
        const auto name = std::string(what) + " / kind " + std::to_string(static_cast<int>(kind));
        EXPECT_EQ(seen, baseline) << name << ": text \"" << seen.text.toStdString() << "\"";
        ASSERT_EQ(errors.size(), 1U) << name;
        if (message) {
            EXPECT_NE(errors[0].find(message), std::string::npos) << errors[0];
        }
    }
}

// The hook that makes the slot on `signal` fire.
template <class Signal>
auto On(Signal signal) {
    return [signal](TxtBox& box, std::function<void()> fire) {
        QObject::connect(&box, signal, [fire](auto&&...) { fire(); });
    };
}

TEST(QtSlotErrors, AChangeSlotThatThrowsDuringAWriteLeavesTheWriteWholeAndReported) {
    const auto setText = [](QtForm& f) { return f.a->setText(QStringLiteral("new")); };
    ExpectLikeAReturningSlot("setProperty", On(&TxtBox::Change), [](QtForm& f) {
        return f.a->setProperty("Text", QStringLiteral("  new  "));
    });
    ExpectLikeAReturningSlot("setText", On(&TxtBox::Change), setText);
    ExpectLikeAReturningSlot("textChanged", On(&TxtBox::textChanged), setText);
}

TEST(QtSlotErrors, ASlotThatThrowsWhileTheUserTypesOrLeavesLetsTheControlFinish) {
    const auto typeAndLeave = [](QtForm& f) {
        f.a->setFocus();
        QApplication::processEvents();
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral(" ab "));
        f.b->setFocus();
        return true;
    };
    ExpectLikeAReturningSlot("ValidationCheck", On(&TxtBox::ValidationCheck), typeAndLeave);
    ExpectLikeAReturningSlot("editingFinished", On(&TxtBox::editingFinished), typeAndLeave);
}

// The errors of slots run by one action come after it, the first one only; outside an action
// (a direct call on the control) a slot's error is reported at once and does not escape.
TEST(QtSlotErrors, OnlyTheFirstErrorOfAnActionIsPassedOnAndNothingEscapes) {
    QtForm f;
    f.a->setFirstCharacterCapital(false);  // one Change a write
    std::vector<std::string> errors;
    QtServices::Instance().SetErrorHandler(
        [&](const std::exception& e) { errors.emplace_back(e.what()); });
    QObject::connect(f.a, &TxtBox::Change, [] { throw std::runtime_error("first"); });
    QObject::connect(f.a, &TxtBox::textChanged,
                     [](const QString&) { throw std::runtime_error("second"); });
    EXPECT_TRUE(f.a->setText(QStringLiteral("one")));
    EXPECT_EQ(errors, std::vector<std::string>{"first"});
    EXPECT_NO_THROW(f.a->box().Text(u"two"));
    EXPECT_EQ(errors, (std::vector<std::string>{"first", "first", "second"}));
    QtServices::Instance().SetErrorHandler(nullptr);
    EXPECT_EQ(f.a->Text(), QStringLiteral("two"));
}

}  // namespace
