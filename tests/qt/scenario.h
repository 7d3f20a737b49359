// Text box and numeric box scenarios that run unchanged on the headless host and on the Qt host.
//
// A scenario writes properties and installs handlers on box A of a form with two boxes of the
// same class, then plays user steps on it. After each step a runner records what an application
// would see: the events A raised (with their arguments), what it shows, its selection, its
// background and the beeps. "Leave" moves the focus to box B on both hosts, so that both see
// the same LostFocus/ExitFocus path.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <functional>
#include <optional>
#include <ostream>
#include <regex>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "hosts/headless/HeadlessHost.h"
#include "hosts/qt/NumBox.h"
#include "hosts/qt/QtConvert.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtKeys.h"
#include "hosts/qt/TxtBox.h"
#include "library/Keyboard.h"
#include "numbox/QVnumBoxControl.h"
#include "txtbox/QVtxtBoxControl.h"

namespace conformance {

using qv::Color;
using qv::QVnumBoxControl;
using qv::QVtxtBoxControl;
using qv::String;
using qv::Variant;

// What an application sees after a step; a row's expectation of it.
struct Observation {
    // "KeyDown(65,1) KeyPress(65) ValidationCheck(True) Change KeyUp(65,1)". A row may leave the
    // arguments out; then only the names are compared.
    std::string trace;
    // A text box's Text ("<Null>" for a null value); a numeric box's display text.
    String text;
    // A numeric box selects all or nothing: its highlight is 0 + the display's length.
    int32_t selStart = 0;
    int32_t selLength = 0;
    Color back = 0;  // the visible field's background; a numeric box's own
    int32_t beeps = 0;
    friend bool operator==(const Observation&, const Observation&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Observation& o) {
        return os << "{events \"" << o.trace << "\", text \"" << qv::ToUtf8(o.text) << "\", sel "
                  << o.selStart << "+" << o.selLength << ", back " << std::hex << o.back << std::dec
                  << ", beeps " << o.beeps << "}";
    }
};

// The trace without arguments.
inline std::string Names(const std::string& trace) {
    return std::regex_replace(trace, std::regex("\\([^)]*\\)"), "");
}

enum class Action { Focus, Type, Key, Leave };

struct Step {
    Action action;
    String text;        // Type
    int16_t key = 0;    // Key
    int16_t shift = 0;  // Key: ShiftState bits
    Observation expect;
};

inline const auto Focus = [](Observation e) { return Step{Action::Focus, {}, 0, 0, e}; };
inline const auto Type = [](String t, Observation e) { return Step{Action::Type, t, 0, 0, e}; };
inline const auto Key = [](int16_t key, int16_t shift, Observation e) {
    return Step{Action::Key, {}, key, shift, e};
};
inline const auto Leave = [](Observation e) { return Step{Action::Leave, {}, 0, 0, e}; };

// Application handlers; installed before the setup's property writes, as a form loads.
template <class Box>
struct HandlersOf {
    std::function<void(int16_t& KeyCode, int16_t& Shift)> keyDown{};
    std::function<void(int16_t& KeyAscii)> keyPress{};
    std::function<void(const Box& box, bool& ValueOkay)> validationCheck{};
};

template <class Box>
struct ScenarioOf {
    const char* name;
    std::function<void(Box&)> setup;
    HandlersOf<Box> on;
    std::vector<Step> steps;
    String clipboardBefore{};
    std::optional<String> clipboardAfter{};
    friend void PrintTo(const ScenarioOf& s, std::ostream* os) { *os << s.name; }
};
using Handlers = HandlersOf<QVtxtBoxControl>;
using Scenario = ScenarioOf<QVtxtBoxControl>;
using NumScenario = ScenarioOf<QVnumBoxControl>;

// What a box shows, without the events and beeps.
inline Observation Observe(const QVtxtBoxControl& box) {
    const Variant text = box.Text();
    return {{},
            text.IsNull() ? String(u"<Null>") : text.ToString(),
            box.SelStart(),
            box.SelLength(),
            box.Field(box.ActiveFieldIndex()).BackColor()};
}
inline Observation Observe(const QVnumBoxControl& box) {
    const String& shown = box.DisplayText();
    return {{},
            shown,
            0,
            box.IsHighlighted() ? static_cast<int32_t>(shown.size()) : 0,
            box.GetHost().BackColor()};
}

struct HostRun {
    std::vector<Observation> steps;
    String clipboard;
};

// Records the events a control raises. Key notices of the modifier keys themselves (Shift, Ctrl,
// Alt) are left out: a real keyboard sends them and Qt passes them on, while the headless
// user simulation presses only the key with its shift state.
class Recorder {
  public:
    explicit Recorder(qv::Control& control) : control_(control) {
        control.SetEventListener([this](qv::StringView name, std::span<const Variant> args) {
            if ((name == u"KeyDown" || name == u"KeyUp") && !args.empty()) {
                const int32_t code = args[0].ToLong();
                if (code == qv::Key::Shift || code == qv::Key::Control || code == qv::Key::Menu)
                    return;
            }
            std::string entry = qv::ToUtf8(name);
            for (size_t i = 0; i < args.size(); ++i)
                entry += (i ? "," : "(") + qv::ToUtf8(args[i].ToString());
            trace_ += (trace_.empty() ? "" : " ") + entry + (args.empty() ? "" : ")");
        });
    }
    // The form outlives the recorder and may still raise events while it closes.
    ~Recorder() { control_.SetEventListener({}); }
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;
    std::string Take() { return std::exchange(trace_, {}); }

  private:
    qv::Control& control_;
    std::string trace_;
};

// Runs the setup, then each step through `act` (which performs it on a host), observing the box.
template <class Box, class Act, class Beeps>
HostRun Play(const ScenarioOf<Box>& s, Box& box, Act act, Beeps beeps) {
    if (s.setup) s.setup(box);
    Recorder rec(box);
    HostRun run;
    for (size_t i = 0; i < s.steps.size(); ++i) {
        const int32_t before = beeps();
        act(s.steps[i], std::string(s.name) + ", step " + std::to_string(i + 1));
        Observation seen = Observe(box);
        seen.trace = rec.Take();
        seen.beeps = beeps() - before;
        run.steps.push_back(std::move(seen));
    }
    return run;
}

template <class Box>
HostRun RunHeadless(const ScenarioOf<Box>& s) {
    qv::headless::Container form;
    auto& box = form.Add<Box>(u"boxA");
    auto& other = form.Add<Box>(u"boxB");
    form.Clipboard() = s.clipboardBefore;
    if (s.on.keyDown) box.events.KeyDown = s.on.keyDown;
    if (s.on.keyPress) box.events.KeyPress = s.on.keyPress;
    if (auto check = s.on.validationCheck)
        box.events.ValidationCheck = [&box, check](bool& ok) { check(box, ok); };
    HostRun run = Play(
        s, box,
        [&](const Step& step, const std::string&) {
            if (step.action == Action::Focus) form.Focus(box);
            if (step.action == Action::Type) form.Type(step.text);
            if (step.action == Action::Key) form.PressKey(step.key, step.shift);
            if (step.action == Action::Leave) form.Focus(other);
        },
        [&] { return form.Beeps(); });
    run.clipboard = form.Clipboard();
    return run;
}

// --- The Qt host --------------------------------------------------------------------------------

// Shows `window` as the active window with nothing focused.
inline void ShowActive(QWidget& window) {
    window.resize(400, 200);
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    if (QWidget* w = QApplication::focusWidget()) w->clearFocus();
    QApplication::processEvents();
}

// A shown, active window with two boxes and nothing focused.
template <class W>
struct QtFormOf {
    QWidget window;
    W* a = new W(&window);
    W* b = new W(&window);
    QtFormOf() {
        b->move(0, 60);
        ShowActive(window);
    }
};
using QtForm = QtFormOf<qv::qt::TxtBox>;

// The Qt widget class of a control class.
qv::qt::TxtBox* QtWidgetOf(QVtxtBoxControl*);  // declarations for decltype only
qv::qt::NumBox* QtWidgetOf(QVnumBoxControl*);
template <class Box>
using QtWidgetFor = std::remove_pointer_t<decltype(QtWidgetOf(static_cast<Box*>(nullptr)))>;

// The Qt editor that shows a control's field.
inline QWidget* EditorOf(const qv::qt::ControlWidget& cw, const qv::TextField& field) {
    for (const auto& item : cw.site().Widgets().Items())
        if (&item->AsWidget() == &field) return item->Surface();
    return nullptr;
}

// The Qt widget shown for a constituent widget (a label, a line, a shape), made if need be.
template <class W>
QWidget* SurfaceOf(const qv::qt::ControlWidget& cw, const W& widget) {
    for (const auto& item : cw.site().Widgets().Items())
        if (dynamic_cast<const void*>(&item->AsWidget()) == dynamic_cast<const void*>(&widget))
            return item->Surface();
    for (const auto& item : cw.site().Widgets().Drawings())
        if (dynamic_cast<const void*>(item.get()) == dynamic_cast<const void*>(&widget))
            return item->Surface();
    return nullptr;
}

// The visible editor must show what the model holds: its text (masked for a password, line
// breaks as the model keeps them), its background and, on one line, its selection.
inline void ExpectShowsModel(const qv::qt::TxtBox& box, const std::string& where) {
    const QVtxtBoxControl& c = box.box();
    const qv::TextField& field = c.Field(c.ActiveFieldIndex());
    QWidget* editor = EditorOf(box, field);
    ASSERT_NE(editor, nullptr) << where;
    EXPECT_TRUE(editor->isVisible()) << where;
    String shown = field.Text(), showing;
    if (!field.PasswordChar().empty()) shown.assign(shown.size(), field.PasswordChar()[0]);
    auto* line = qobject_cast<QLineEdit*>(editor);
    const auto* multi = qobject_cast<QPlainTextEdit*>(editor);
    ASSERT_TRUE(line || multi) << where;
    for (char16_t c : qv::qt::FromQString(line ? line->text() : multi->toPlainText()))
        showing += c == u'\n' ? String(u"\r\n") : String(1, c);
    EXPECT_EQ(qv::ToUtf8(showing), qv::ToUtf8(shown)) << where;
    EXPECT_EQ(editor->palette().color(QPalette::Base), qv::qt::ToQColor(field.BackColor()))
        << where;
    if (line) {
        const int start = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
        EXPECT_EQ(start, field.SelStart()) << where;
        EXPECT_EQ(static_cast<int>(line->selectedText().size()), field.SelLength()) << where;
    }
}

// The numeric box's label must show the display text in the colour the control chose, over the
// control's own background; the highlight and the caret show exactly when the control says.
inline void ExpectShowsModel(const qv::qt::NumBox& box, const std::string& where) {
    const QVnumBoxControl& c = box.box();
    auto* label = qobject_cast<QLabel*>(SurfaceOf(box, c.Display()));
    ASSERT_NE(label, nullptr) << where;
    EXPECT_EQ(label->text(), qv::qt::ToQString(c.DisplayText())) << where;
    EXPECT_EQ(label->palette().color(QPalette::WindowText),
              qv::qt::ToQColor(c.Display().ForeColor()))
        << where;
    EXPECT_TRUE(box.autoFillBackground()) << where;
    EXPECT_EQ(box.palette().color(QPalette::Window), qv::qt::ToQColor(c.GetHost().BackColor()))
        << where;
    EXPECT_EQ(SurfaceOf(box, c.Highlight())->isVisible(), c.IsHighlighted()) << where;
    EXPECT_EQ(SurfaceOf(box, c.Caret())->isVisible(), c.Caret().Visible()) << where;
}

// Types one character as a keyboard would: its key with the shift state it needs.
inline void QtTypeChar(QWidget* target, char16_t c) {
    const Qt::KeyboardModifiers mods = qv::qt::QtModifiersFor(qv::StrokeForChar(c).shift);
    if (c >= 0x20 && c < 0x7F) return QTest::keyClick(target, static_cast<char>(c), mods);
    // A character without a key of its own (a layout's "ü"): the key event carries it.
    const QChar upper = QChar(c).toUpper();
    const auto key =
        upper.unicode() < 0x100 ? static_cast<Qt::Key>(upper.unicode()) : Qt::Key_unknown;
    QTest::sendKeyEvent(QTest::Click, target, key, QString(QChar(c)), mods);
}

template <class Box>
HostRun RunQt(const ScenarioOf<Box>& s) {
    using W = QtWidgetFor<Box>;
    QtFormOf<W> form;
    W& a = *form.a;
    Box& box = a.box();
    QGuiApplication::clipboard()->setText(qv::qt::ToQString(s.clipboardBefore));
    // The application's handlers as slots on the widget's signals.
    if (s.on.keyDown) QObject::connect(&a, &W::KeyDown, s.on.keyDown);
    if (s.on.keyPress) QObject::connect(&a, &W::KeyPress, s.on.keyPress);
    if (auto f = s.on.validationCheck)
        QObject::connect(&a, &W::ValidationCheck, [f, &box](bool& ok) { f(box, ok); });
    qv::qt::QtServices& services = qv::qt::QtServices::Instance();
    HostRun run = Play(
        s, box,
        [&](const Step& step, const std::string& where) {
            if (step.action == Action::Focus) a.setFocus();
            if (step.action == Action::Leave) form.b->setFocus();
            if (step.action == Action::Key || step.action == Action::Type) {
                QWidget* target = QApplication::focusWidget();
                ASSERT_NE(target, nullptr) << where << ": no widget has the focus";
                if (step.action == Action::Key)
                    QTest::keyClick(target, static_cast<Qt::Key>(qv::qt::QtKeyFor(step.key)),
                                    qv::qt::QtModifiersFor(step.shift));
                for (char16_t c : step.text)
                    if (QWidget* w = QApplication::focusWidget()) QtTypeChar(w, c);
            }
            QApplication::processEvents();
            ExpectShowsModel(a, where + ", Qt");
        },
        [&] { return services.Beeps(); });
    run.clipboard = qv::qt::FromQString(QGuiApplication::clipboard()->text());
    return run;
}

}  // namespace conformance
