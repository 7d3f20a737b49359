// Text box scenarios that run unchanged on the headless host and on the Qt host.
//
// A scenario writes properties and installs handlers on box A of a form with two boxes, then
// plays user steps on it. After each step a runner records what an application would see: the
// events A raised (with their arguments), its Text, SelStart and SelLength, the background of its
// visible field and the beeps. "Leave" moves the focus to box B on both hosts, so that both see
// the same LostFocus/ExitFocus path.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <functional>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "hosts/headless/HeadlessHost.h"
#include "hosts/qt/QtConvert.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtKeys.h"
#include "hosts/qt/TxtBox.h"
#include "library/Keyboard.h"
#include "txtbox/QVtxtBoxControl.h"

namespace conformance {

using qv::Color;
using qv::QVtxtBoxControl;
using qv::String;
using qv::Variant;

// --- A row of the table -------------------------------------------------------------------------

struct Expect {
    Expect(std::string events, String text, int32_t selStart, int32_t selLength, Color back,
           int32_t beeps = 0)
        : events(std::move(events)),
          text(std::move(text)),
          selStart(selStart),
          selLength(selLength),
          back(back),
          beeps(beeps) {}
    std::string events;  // event names in order, blank-separated
    String text;         // "<Null>" for a null value
    int32_t selStart;
    int32_t selLength;
    Color back;
    int32_t beeps;
};

enum class Action { Focus, Type, Key, Leave };

struct Step {
    Action action;
    String text;        // Type
    int16_t key = 0;    // Key
    int16_t shift = 0;  // Key: ShiftState bits
    Expect expect;
};

inline Step Focus(Expect e) {
    return {Action::Focus, {}, 0, 0, std::move(e)};
}
inline Step Type(String text, Expect e) {
    return {Action::Type, std::move(text), 0, 0, std::move(e)};
}
inline Step Key(int16_t key, int16_t shift, Expect e) {
    return {Action::Key, {}, key, shift, std::move(e)};
}
inline Step Leave(Expect e) {
    return {Action::Leave, {}, 0, 0, std::move(e)};
}

// Application handlers; installed before the setup's property writes, as a form loads.
struct Handlers {
    std::function<void(int16_t& KeyCode, int16_t& Shift)> keyDown;
    std::function<void(int16_t& KeyAscii)> keyPress;
    std::function<void(const QVtxtBoxControl& box, bool& ValueOkay)> validationCheck;
};
inline Handlers OnKeyDown(std::function<void(int16_t&, int16_t&)> f) {
    Handlers h;
    h.keyDown = std::move(f);
    return h;
}
inline Handlers OnKeyPress(std::function<void(int16_t&)> f) {
    Handlers h;
    h.keyPress = std::move(f);
    return h;
}
inline Handlers OnValidationCheck(std::function<void(const QVtxtBoxControl&, bool&)> f) {
    Handlers h;
    h.validationCheck = std::move(f);
    return h;
}

struct Scenario {
    Scenario(const char* name, std::function<void(QVtxtBoxControl&)> setup, Handlers handlers,
             std::vector<Step> steps, String clipboardBefore = {},
             std::optional<String> clipboardAfter = {})
        : name(name),
          setup(std::move(setup)),
          handlers(std::move(handlers)),
          steps(std::move(steps)),
          clipboardBefore(std::move(clipboardBefore)),
          clipboardAfter(std::move(clipboardAfter)) {}
    const char* name;
    std::function<void(QVtxtBoxControl&)> setup;
    Handlers handlers;
    std::vector<Step> steps;
    String clipboardBefore;
    std::optional<String> clipboardAfter;
};

inline void PrintTo(const Scenario& s, std::ostream* os) {
    *os << s.name;
}

// --- What a runner sees -------------------------------------------------------------------------

struct Observation {
    std::string trace;  // "KeyDown(65,1) KeyPress(65) ValidationCheck(True) Change KeyUp(65,1)"
    String text;
    int32_t selStart = 0;
    int32_t selLength = 0;
    Color back = 0;
    int32_t beeps = 0;
    friend bool operator==(const Observation&, const Observation&) = default;
};

// The trace without arguments.
inline std::string Names(std::string_view trace) {
    std::string out;
    bool inArgs = false;
    for (char c : trace) {
        if (c == '(') inArgs = true;
        if (!inArgs) out += c;
        if (c == ')') inArgs = false;
    }
    return out;
}

inline std::ostream& operator<<(std::ostream& os, const Observation& o) {
    return os << "{events \"" << o.trace << "\", text \"" << qv::ToUtf8(o.text) << "\", sel "
              << o.selStart << "+" << o.selLength << ", back " << std::hex << o.back << std::dec
              << ", beeps " << o.beeps << "}";
}

struct HostRun {
    std::vector<Observation> steps;
    String clipboard;
};

inline String Show(const Variant& v) {
    return v.IsNull() ? String(u"<Null>") : v.ToString();
}

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
            if (!args.empty()) {
                entry += '(';
                for (size_t i = 0; i < args.size(); ++i)
                    entry += (i ? "," : "") + qv::ToUtf8(args[i].ToString());
                entry += ')';
            }
            trace_ += (trace_.empty() ? "" : " ") + entry;
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

inline Observation Observe(const QVtxtBoxControl& box, Recorder& rec, int32_t beeps) {
    return {rec.Take(),
            Show(box.Text()),
            box.SelStart(),
            box.SelLength(),
            box.Field(box.ActiveFieldIndex()).BackColor(),
            beeps};
}

// --- The headless host --------------------------------------------------------------------------

inline HostRun RunHeadless(const Scenario& s) {
    qv::headless::Container form;
    auto& box = form.Add<QVtxtBoxControl>(u"txtA");
    auto& other = form.Add<QVtxtBoxControl>(u"txtB");
    form.Clipboard() = s.clipboardBefore;
    if (s.handlers.keyDown) box.events.KeyDown = s.handlers.keyDown;
    if (s.handlers.keyPress) box.events.KeyPress = s.handlers.keyPress;
    if (auto check = s.handlers.validationCheck)
        box.events.ValidationCheck = [&box, check](bool& ok) { check(box, ok); };
    if (s.setup) s.setup(box);
    Recorder rec(box);
    HostRun run;
    for (const Step& step : s.steps) {
        const int32_t beeps = form.Beeps();
        switch (step.action) {
            case Action::Focus:
                form.Focus(box);
                break;
            case Action::Type:
                form.Type(step.text);
                break;
            case Action::Key:
                form.PressKey(step.key, step.shift);
                break;
            case Action::Leave:
                form.Focus(other);
                break;
        }
        run.steps.push_back(Observe(box, rec, form.Beeps() - beeps));
    }
    run.clipboard = form.Clipboard();
    return run;
}

// --- The Qt host --------------------------------------------------------------------------------

// A shown, active window with two text boxes and nothing focused.
struct QtForm {
    QWidget window;
    qv::qt::TxtBox* a;
    qv::qt::TxtBox* b;

    QtForm() {
        window.resize(400, 200);
        a = new qv::qt::TxtBox(&window);
        b = new qv::qt::TxtBox(&window);
        b->move(0, 60);
        window.show();
        window.activateWindow();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        if (QWidget* w = QApplication::focusWidget()) w->clearFocus();
        QApplication::processEvents();
    }
};

// The Qt editor that shows a control's field.
inline QWidget* EditorOf(const qv::qt::ControlWidget& cw, const qv::TextField& field) {
    for (const auto& item : cw.site().Widgets().Items())
        if (&item->AsWidget() == &field) return item->Surface();
    return nullptr;
}

// What the editor shows, with its line breaks as the model keeps them.
inline String EditorText(QWidget* editor) {
    if (auto* line = qobject_cast<QLineEdit*>(editor)) return qv::qt::FromQString(line->text());
    String out;
    for (char16_t c : qv::qt::FromQString(static_cast<QPlainTextEdit*>(editor)->toPlainText()))
        out += c == u'\n' ? String(u"\r\n") : String(1, c);
    return out;
}

// The visible editor must show what the model holds: its text (masked for a password) and its
// background. Checked by the Qt runner after every step.
inline void ExpectEditorShowsModel(const qv::qt::TxtBox& box, const std::string& where) {
    const QVtxtBoxControl& c = box.box();
    const qv::TextField& field = c.Field(c.ActiveFieldIndex());
    QWidget* editor = EditorOf(box, field);
    ASSERT_NE(editor, nullptr) << where;
    EXPECT_TRUE(editor->isVisible()) << where;
    String shown = field.Text();
    if (!field.PasswordChar().empty()) shown.assign(shown.size(), field.PasswordChar()[0]);
    EXPECT_EQ(qv::ToUtf8(EditorText(editor)), qv::ToUtf8(shown)) << where;
    EXPECT_EQ(editor->palette().color(QPalette::Base), qv::qt::ToQColor(field.BackColor()))
        << where;
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        const int caret = line->cursorPosition();
        const int start = line->hasSelectedText() ? line->selectionStart() : caret;
        EXPECT_EQ(start, field.SelStart()) << where;
        EXPECT_EQ(static_cast<int>(line->selectedText().size()), field.SelLength()) << where;
    }
}

// Types one character as a keyboard would: its key with the shift state it needs.
inline void QtTypeChar(QWidget* target, char16_t c) {
    const qv::KeyStroke k = qv::StrokeForChar(c);
    const Qt::KeyboardModifiers mods = qv::qt::QtModifiersFor(k.shift);
    if (c == u'\r' || c == u'\n')
        QTest::keyClick(target, Qt::Key_Return, mods);
    else if (c == u'\b')
        QTest::keyClick(target, Qt::Key_Backspace, mods);
    else if (c >= 0x20 && c < 0x7F)
        QTest::keyClick(target, static_cast<char>(c), mods);
    else {
        // A character without a key of its own (a layout's "ü"): the key event carries it.
        const QChar upper = QChar(c).toUpper();
        const auto key =
            upper.unicode() < 0x100 ? static_cast<Qt::Key>(upper.unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Click, target, key, QString(QChar(c)), mods);
    }
}

inline HostRun RunQt(const Scenario& s) {
    QtForm form;
    qv::qt::TxtBox& a = *form.a;
    QVtxtBoxControl& box = a.box();
    QGuiApplication::clipboard()->setText(qv::qt::ToQString(s.clipboardBefore));
    qv::qt::QtServices& services = qv::qt::QtServices::Instance();
    // The application's handlers as slots on the widget's signals.
    if (auto f = s.handlers.keyDown)
        QObject::connect(&a, &qv::qt::TxtBox::KeyDown, [f](qint16& k, qint16& sh) { f(k, sh); });
    if (auto f = s.handlers.keyPress)
        QObject::connect(&a, &qv::qt::TxtBox::KeyPress, [f](qint16& k) { f(k); });
    if (auto f = s.handlers.validationCheck)
        QObject::connect(&a, &qv::qt::TxtBox::ValidationCheck, [f, &box](bool& ok) { f(box, ok); });
    if (s.setup) s.setup(box);
    Recorder rec(box);
    HostRun run;
    for (size_t i = 0; i < s.steps.size(); ++i) {
        const Step& step = s.steps[i];
        const std::string where = std::string(s.name) + ", Qt, step " + std::to_string(i + 1);
        const int32_t beeps = services.Beeps();
        QWidget* target = QApplication::focusWidget();
        switch (step.action) {
            case Action::Focus:
                a.setFocus();
                break;
            case Action::Type:
                for (size_t c = 0; c < step.text.size(); ++c) {
                    target = QApplication::focusWidget();
                    if (!target) break;
                    QtTypeChar(target, step.text[c]);
                    if (step.text[c] == u'\r' && c + 1 < step.text.size() &&
                        step.text[c + 1] == u'\n')
                        ++c;
                }
                break;
            case Action::Key:
                if (target)
                    QTest::keyClick(target, static_cast<Qt::Key>(qv::qt::QtKeyFor(step.key)),
                                    qv::qt::QtModifiersFor(step.shift));
                break;
            case Action::Leave:
                form.b->setFocus();
                break;
        }
        if ((step.action == Action::Type || step.action == Action::Key) && !target)
            ADD_FAILURE() << where << ": no widget has the focus";
        QApplication::processEvents();
        run.steps.push_back(Observe(box, rec, services.Beeps() - beeps));
        ExpectEditorShowsModel(a, where);
    }
    run.clipboard = qv::qt::FromQString(QGuiApplication::clipboard()->text());
    return run;
}

}  // namespace conformance
