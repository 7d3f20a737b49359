// Text box and numeric box scenarios that run unchanged on the headless host and on the Qt host.
// A scenario sets up box A of a form with two boxes of one class and plays user steps on it; after
// each step a runner records what an application would see (A's events with their arguments, its
// text, selection, background, the beeps). "Leave" focuses box B on both hosts.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <functional>
#include <optional>
#include <regex>
#include <span>
#include <string>
#include <vector>

#include "combobox/QVcomboBoxControl.h"
#include "datebox/QVDateBoxControl.h"
#include "hosts/headless/HeadlessHost.h"
#include "hosts/qt/ComboBox.h"
#include "hosts/qt/DateBox.h"
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
    Observation() = default;
    Observation(std::string t, String x, Color b) : trace(t), text(x), back(b) {}  // no selection
    Observation(std::string t, String x, int32_t start, int32_t length, Color b, int32_t beeps = 0)
        : trace(t), text(x), selStart(start), selLength(length), back(b), beeps(beeps) {}
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

// Button1: a click on the combo box's Button1. Wait: `key` milliseconds pass (timers tick).
enum class Action { Focus, Type, Key, Leave, Button1, Wait };

struct Step {
    Action action;
    String text;        // Type
    int16_t key = 0;    // Key
    int16_t shift = 0;  // Key: ShiftState bits
    Observation expect;
};

inline const auto Focus = [](Observation e) { return Step{Action::Focus, {}, 0, 0, e}; };
inline const auto Type = [](String t, Observation e) { return Step{Action::Type, t, 0, 0, e}; };
inline const auto Leave = [](Observation e) { return Step{Action::Leave, {}, 0, 0, e}; };
inline const auto Button1 = [](Observation e) { return Step{Action::Button1, {}, 0, 0, e}; };
inline const auto Wait = [](int16_t ms, Observation e) { return Step{Action::Wait, {}, ms, 0, e}; };
inline const struct {
    Step operator()(int16_t key, int16_t shift, Observation e) const {
        return {Action::Key, {}, key, shift, e};
    }
    Step operator()(int16_t key, Observation e) const { return {Action::Key, {}, key, 0, e}; }
} Key;

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
using DateScenario = ScenarioOf<qv::QVDateBoxControl>;
using ComboScenario = ScenarioOf<qv::QVcomboBoxControl>;

// The Qt widget of a control class.
template <class Box>
struct WidgetOf;
template <>
struct WidgetOf<QVtxtBoxControl> {
    using type = qv::qt::TxtBox;
};
template <>
struct WidgetOf<QVnumBoxControl> {
    using type = qv::qt::NumBox;
};
template <>
struct WidgetOf<qv::QVDateBoxControl> {
    using type = qv::qt::DateBox;
};
template <>
struct WidgetOf<qv::QVcomboBoxControl> {
    using type = qv::qt::ComboBox;
};

// What a box shows, without the events and beeps.
inline Observation Observe(const QVtxtBoxControl& b) {
    const Variant text = b.Text();
    return {{},
            text.IsNull() ? String(u"<Null>") : text.ToString(),
            b.SelStart(),
            b.SelLength(),
            b.Field(b.ActiveFieldIndex()).BackColor()};
}
inline Observation Observe(const qv::QVDateBoxControl& b) {
    const qv::TextField& f = b.Field(b.ActiveFieldIndex());
    return {{}, f.Text(), f.SelStart(), f.SelLength(), f.BackColor()};
}
// A combo box's text carries its list state: "Anton [1]", "an [1 dropped]".
inline Observation Observe(const qv::QVcomboBoxControl& b) {
    const qv::TextField& f = b.TextBox();
    String state = u" [" + qv::FromUtf8(std::to_string(b.ListIndex()));
    if (b.ListBoxDropped()) state += u" dropped";
    return {{}, f.Text() + state + u"]", f.SelStart(), f.SelLength(), f.BackColor()};
}
inline Observation Observe(const QVnumBoxControl& b) {
    const auto shown = static_cast<int32_t>(b.DisplayText().size());
    return {{}, b.DisplayText(), 0, b.IsHighlighted() ? shown : 0, b.GetHost().BackColor()};
}

struct HostRun {
    std::vector<Observation> steps;
    String clipboard;
};

// Runs the setup, then each step through `act` (which performs it on a host), observing the box.
// Key notices of the modifier keys themselves are left out: a real keyboard sends them and Qt
// passes them on, while the headless user simulation presses only the key with its shift state.
template <class Box, class Act, class Beeps>
HostRun Play(const ScenarioOf<Box>& s, Box& box, Act act, Beeps beeps) {
    if (s.setup) s.setup(box);
    std::string trace;
    box.SetEventListener([&trace](qv::StringView name, std::span<const Variant> args) {
        const int32_t code = args.empty() ? 0 : args[0].ToLong();
        if ((name == u"KeyDown" || name == u"KeyUp") &&
            (code == qv::Key::Shift || code == qv::Key::Control || code == qv::Key::Menu))
            return;
        trace += (trace.empty() ? "" : " ") + qv::ToUtf8(name);
        for (size_t i = 0; i < args.size(); ++i)
            trace += (i ? "," : "(") + qv::ToUtf8(args[i].ToString());
        trace += args.empty() ? "" : ")";
    });
    // The form outlives the run and may still raise events while it closes.
    struct Unlisten {
        qv::Control& c;
        ~Unlisten() { c.SetEventListener({}); }
    } unlisten{box};
    HostRun run;
    for (size_t i = 0; i < s.steps.size(); ++i) {
        const int32_t before = beeps();
        act(s.steps[i], std::string(s.name) + ", step " + std::to_string(i + 1));
        Observation seen = Observe(box);
        seen.trace = std::exchange(trace, {});
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
            if constexpr (std::is_same_v<Box, qv::QVcomboBoxControl>) {
                if (step.action == Action::Button1) {
                    const qv::ButtonWidget& b = box.Button1();
                    form.Click(box, static_cast<float>(b.Left() + b.Width() / 2),
                               static_cast<float>(b.Top() + b.Height() / 2));
                }
            }
            if (step.action == Action::Wait) form.AdvanceTime(step.key / 1000.0);
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

// The host's item for a constituent widget (a field, a label, a line, a shape).
template <class W>
qv::qt::QtSurfaceItem* ItemOf(const qv::qt::ControlWidget& cw, const W& widget) {
    for (const auto& item : cw.site().Widgets().Items())
        if (dynamic_cast<const void*>(&item->AsWidget()) == dynamic_cast<const void*>(&widget))
            return item.get();
    for (const auto& item : cw.site().Widgets().Drawings())
        if (dynamic_cast<const void*>(item.get()) == dynamic_cast<const void*>(&widget))
            return item.get();
    return nullptr;
}

// The Qt widget shown for a constituent widget; nullptr for one the control draws itself.
template <class W>
QWidget* SurfaceOf(const qv::qt::ControlWidget& cw, const W& widget) {
    qv::qt::QtSurfaceItem* item = ItemOf(cw, widget);
    return item && !item->Drawn() ? item->Surface() : nullptr;
}

// Where a constituent lies on its control, in pixels, and whether it shows: a Qt widget's
// geometry and visibility, or those of an item the control draws.
template <class W>
QRect GeometryOf(const qv::qt::ControlWidget& cw, const W& widget) {
    qv::qt::QtSurfaceItem* item = ItemOf(cw, widget);
    if (!item) return {};
    return item->Drawn() ? item->PixelRect() : item->Surface()->geometry();
}
template <class W>
bool ShownOn(const qv::qt::ControlWidget& cw, const W& widget) {
    qv::qt::QtSurfaceItem* item = ItemOf(cw, widget);
    if (!item || !cw.isVisible()) return false;
    return item->Drawn() ? item->IsVisibleItem() : item->Surface()->isVisible();
}

// The visible editor must show what the model holds: its text (masked for a password, line
// breaks as the model keeps them), its background and, on one line, its selection.
template <class W>
void ExpectShowsModel(const W& box, const std::string& where) {
    const auto& c = box.box();
    const qv::TextField& field = c.Field(c.ActiveFieldIndex());
    QWidget* editor = SurfaceOf(box, field);
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
// control's own background; the Qt widgets sit where the control puts its frames, label,
// highlight and caret, and the highlight and the caret show exactly when the control says.
inline void ExpectShowsModel(const qv::qt::NumBox& box, const std::string& where) {
    const QVnumBoxControl& c = box.box();
    auto* label = dynamic_cast<qv::qt::QtLabel*>(ItemOf(box, c.Display()));
    ASSERT_NE(label, nullptr) << where;
    EXPECT_EQ(label->Caption(), c.DisplayText()) << where;
    EXPECT_EQ(label->TextColor(), qv::qt::ToQColor(c.Display().ForeColor())) << where;
    QImage background(box.size(), QImage::Format_RGB32);
    background.fill(Qt::magenta);
    // The box's own background, inside the frame and left of the digits (render is not const,
    // though it changes nothing).
    const_cast<qv::qt::NumBox&>(box).render(&background, {}, {}, QWidget::DrawWindowBackground);
    EXPECT_EQ(background.pixelColor(6, box.height() / 2), qv::qt::ToQColor(c.GetHost().BackColor()))
        << where;
    const auto px = [](int32_t twips) { return qv::qt::ToPixels(twips, 15); };
    const auto at = [&](const auto& w) {
        return QRect(px(w.Left()), px(w.Top()), px(w.Width()), px(w.Height()));
    };
    for (const qv::Label* l : {&c.Border(0), &c.Border(1), &c.Display()})
        EXPECT_EQ(GeometryOf(box, *l), at(*l)) << where << ": " << l->Index();
    const qv::ShapeWidget& h = c.Highlight();
    EXPECT_EQ(ShownOn(box, h), c.IsHighlighted()) << where;
    if (h.Visible()) {
        EXPECT_EQ(GeometryOf(box, h), at(h)) << where;
    }
    const qv::LineWidget& caret = c.Caret();
    EXPECT_EQ(ShownOn(box, caret), caret.Visible()) << where;
    if (caret.Visible()) {
        EXPECT_EQ(GeometryOf(box, caret), QRect(QPoint(px(caret.X1()), px(caret.Y1())),
                                                QPoint(px(caret.X2()), px(caret.Y2()))))
            << where;
    }
}

// The combo box: its field shows the model, and its list's popup is open exactly while the list
// is dropped.
inline void ExpectShowsModel(const qv::qt::ComboBox& box, const std::string& where) {
    const qv::QVcomboBoxControl& c = box.box();
    const qv::TextField& field = c.TextBox();
    auto* line = qobject_cast<QLineEdit*>(SurfaceOf(box, field));
    ASSERT_NE(line, nullptr) << where;
    EXPECT_EQ(qv::ToUtf8(qv::qt::FromQString(line->text())), qv::ToUtf8(field.Text())) << where;
    EXPECT_EQ(line->palette().color(QPalette::Base), qv::qt::ToQColor(field.BackColor())) << where;
    auto* combo = qobject_cast<QComboBox*>(SurfaceOf(box, c.ListBox()));
    ASSERT_NE(combo, nullptr) << where;
    EXPECT_EQ(combo->view()->isVisible(), c.ListBoxDropped()) << where;
    EXPECT_EQ(combo->currentIndex(), c.ListIndex()) << where;
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
    using W = typename WidgetOf<Box>::type;
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
            if constexpr (std::is_same_v<Box, qv::QVcomboBoxControl>) {
                if (step.action == Action::Button1) {
                    const QRect r = GeometryOf(a, box.Button1());
                    QTest::mouseClick(&a, Qt::LeftButton, {}, r.center());
                }
            }
            if (step.action == Action::Wait) QTest::qWait(step.key);
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
