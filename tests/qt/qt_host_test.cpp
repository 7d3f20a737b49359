// The Qt host's own services: key mapping, handlers that change or cancel keys, injected keys,
// timers, the focus order, errors from application code, screen metrics.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "headless_test_support.h"
#include "hosts/qt/ControlWidget.h"
#include "scenario.h"

namespace {

using conformance::EditorOf;
using conformance::QtForm;
using qv::String;
using qv::Variant;
using qv::qt::MappedKey;
using qv::qt::MapQtKey;
using qv::qt::QtServices;
using qv::qt::TxtBox;
using qv_test::ErrorOf;
namespace K = qv::Key;
namespace S = qv::ShiftState;

constexpr auto kNone = Qt::NoModifier;
constexpr auto kShift = Qt::ShiftModifier;
constexpr auto kCtrl = Qt::ControlModifier;
constexpr auto kAlt = Qt::AltModifier;
constexpr auto kPad = Qt::KeypadModifier;

// A form whose first box has the focus.
struct FocusedForm : QtForm {
    FocusedForm() {
        a->setFocus();
        QApplication::processEvents();
    }
    QWidget* Target() const { return QApplication::focusWidget(); }
    QString Text() const { return a->Text(); }
};

// Waits for `done` under the event loop, at most `ms` milliseconds.
template <class F>
bool WaitFor(F done, int ms = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) return false;
        QTest::qWait(5);
    }
    return true;
}

// --- Key mapping ---------------------------------------------------------------------------

struct KeyRow {
    const char* what;
    int qtKey;
    Qt::KeyboardModifiers mods;
    const char16_t* text;
    MappedKey want;
};

const KeyRow kKeyRows[] = {
    {"letter", Qt::Key_A, kNone, u"a", {65, 0, u'a'}},
    {"shifted letter", Qt::Key_A, kShift, u"A", {65, S::Shift, u'A'}},
    {"caps-locked letter keeps its case", Qt::Key_Q, kNone, u"Q", {81, 0, u'Q'}},
    {"digit", Qt::Key_5, kNone, u"5", {53, 0, u'5'}},
    {"shifted digit", Qt::Key_Exclam, kShift, u"!", {49, S::Shift, u'!'}},
    {"punctuation", Qt::Key_Semicolon, kNone, u";", {186, 0, u';'}},
    {"keypad 0", Qt::Key_0, kPad, u"0", {96, 0, u'0'}},
    {"keypad 9", Qt::Key_9, kPad, u"9", {105, 0, u'9'}},
    {"keypad *", Qt::Key_Asterisk, kPad, u"*", {106, 0, u'*'}},
    {"keypad +", Qt::Key_Plus, kPad, u"+", {107, 0, u'+'}},
    {"keypad -", Qt::Key_Minus, kPad, u"-", {109, 0, u'-'}},
    {"keypad .", Qt::Key_Period, kPad, u".", {110, 0, u'.'}},
    {"keypad /", Qt::Key_Slash, kPad, u"/", {111, 0, u'/'}},
    {"keypad Home without NumLock", Qt::Key_Home, kPad, u"", {36, 0, 0}},
    {"keypad Enter", Qt::Key_Enter, kPad, u"\r", {13, 0, 13}},
    {"main + is the = key", Qt::Key_Plus, kShift, u"+", {187, S::Shift, u'+'}},
    {"F1", Qt::Key_F1, kNone, u"", {112, 0, 0}},
    {"F12", Qt::Key_F12, kNone, u"", {123, 0, 0}},
    {"Backspace", Qt::Key_Backspace, kNone, u"\b", {8, 0, 8}},
    {"Tab", Qt::Key_Tab, kNone, u"\t", {9, 0, 9}},
    {"Shift+Tab", Qt::Key_Backtab, kShift, u"", {9, S::Shift, 9}},
    {"Return", Qt::Key_Return, kNone, u"\r", {13, 0, 13}},
    {"Escape", Qt::Key_Escape, kNone, u"\x1b", {27, 0, 27}},
    {"Space", Qt::Key_Space, kNone, u" ", {32, 0, u' '}},
    {"PageUp", Qt::Key_PageUp, kNone, u"", {33, 0, 0}},
    {"PageDown", Qt::Key_PageDown, kNone, u"", {34, 0, 0}},
    {"End", Qt::Key_End, kNone, u"", {35, 0, 0}},
    {"Home", Qt::Key_Home, kNone, u"", {36, 0, 0}},
    {"Left", Qt::Key_Left, kNone, u"", {37, 0, 0}},
    {"Up", Qt::Key_Up, kNone, u"", {38, 0, 0}},
    {"Right", Qt::Key_Right, kNone, u"", {39, 0, 0}},
    {"Down", Qt::Key_Down, kNone, u"", {40, 0, 0}},
    {"Shift+Home", Qt::Key_Home, kShift, u"", {36, S::Shift, 0}},
    {"Insert", Qt::Key_Insert, kNone, u"", {45, 0, 0}},
    {"Delete makes no character", Qt::Key_Delete, kNone, u"\x7f", {46, 0, 0}},
    {"Shift key itself", Qt::Key_Shift, kShift, u"", {16, S::Shift, 0}},
    {"Ctrl+A", Qt::Key_A, kCtrl, u"\x01", {65, S::Ctrl, 1}},
    {"Ctrl+Z whatever the text", Qt::Key_Z, kCtrl, u"z", {90, S::Ctrl, 26}},
    {"Ctrl+Shift+C", Qt::Key_C, kCtrl | kShift, u"", {67, S::Ctrl | S::Shift, 3}},
    {"Ctrl+Enter", Qt::Key_Return, kCtrl, u"\r", {13, S::Ctrl, 10}},
    {"Ctrl+Backspace", Qt::Key_Backspace, kCtrl, u"", {8, S::Ctrl, 127}},
    {"Ctrl+digit", Qt::Key_1, kCtrl, u"1", {49, S::Ctrl, 0}},
    {"Alt+letter", Qt::Key_A, kAlt, u"a", {65, S::Alt, 0}},
    {"Alt+Return", Qt::Key_Return, kAlt, u"\r", {13, S::Alt, 0}},
    {"u umlaut typed", Qt::Key_Udiaeresis, kNone, u"\u00fc", {K::Processed, 0, u'\u00fc'}},
    {"euro sign typed", Qt::Key_unknown, kNone, u"\u20ac", {K::Processed, 0, u'\u20ac'}},
    {"unknown key without text", Qt::Key_unknown, kNone, u"", {0, 0, 0}},
};

TEST(QtHostKeys, MapsQtKeysToContainerKeys) {
    for (const KeyRow& r : kKeyRows) {
        const MappedKey got = MapQtKey(r.qtKey, r.mods, QString::fromUtf16(r.text));
        EXPECT_EQ(got.keyCode, r.want.keyCode) << r.what;
        EXPECT_EQ(got.shift, r.want.shift) << r.what;
        EXPECT_EQ(static_cast<int>(got.character), static_cast<int>(r.want.character)) << r.what;
    }
}

// The way back, for injected keys: each code with a Qt key maps to that key and back again.
TEST(QtHostKeys, EveryCodeWithAQtKeyMapsBack) {
    std::vector<int> supported;
    for (int code = 1; code < 256; ++code) {
        const int key = qv::qt::QtKeyFor(static_cast<int16_t>(code));
        if (key == Qt::Key_unknown) continue;
        supported.push_back(code);
        // Keypad keys are told apart by Qt's keypad modifier, which a shift state cannot carry.
        const bool pad = code >= 96 && code <= 111;
        const MappedKey back = MapQtKey(key, pad ? kPad : kNone, QString());
        EXPECT_EQ(back.keyCode, code) << "code " << code << " via Qt key " << std::hex << key;
    }
    std::vector<int> expected = {8, 9, 13, 16, 17, 18, 19, 20, 27, 45, 46, 106, 107};
    for (int c = 32; c <= 40; ++c) expected.push_back(c);
    for (int c = 48; c <= 57; ++c) expected.push_back(c);
    for (int c = 65; c <= 90; ++c) expected.push_back(c);
    for (int c = 96; c <= 105; ++c) expected.push_back(c);
    for (int c = 109; c <= 135; ++c) expected.push_back(c);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(supported, expected);
    EXPECT_EQ(qv::qt::QtKeyFor(186), Qt::Key_unknown);  // punctuation travels as its text
}

TEST(QtHostKeys, ShiftStatesMapBothWays) {
    for (int16_t shift = 0; shift < 8; ++shift) {
        const Qt::KeyboardModifiers mods = qv::qt::QtModifiersFor(shift);
        EXPECT_EQ(MapQtKey(Qt::Key_F5, mods, QString()).shift, shift) << shift;
        EXPECT_FALSE(mods & (Qt::MetaModifier | Qt::KeypadModifier)) << shift;
    }
}

// --- Handlers that change keys, with real key events -----------------------------------------

struct PressRow {
    const char* what;
    std::function<void(qint16&)> handler;
    const char* typed;
    const char16_t* text;
    int changes;
};

TEST(QtHostKeyHandlers, KeyPressCancelsOrChangesTheCharacter) {
    const PressRow rows[] = {
        {"cancel everything", [](qint16& a) { a = 0; }, "abc", u"", 0},
        {"cancel digits", [](qint16& a) { a = (a >= '0' && a <= '9') ? 0 : a; }, "a1b2", u"ab", 2},
        {"change a to z", [](qint16& a) { a = a == 'a' ? qint16{'z'} : a; }, "abca", u"zbcz", 4},
        {"change to Backspace", [](qint16& a) { a = a == 'x' ? qint16{8} : a; }, "abx", u"a", 3},
        {"change to Enter (single line)", [](qint16& a) { a = a == 'x' ? qint16{13} : a; }, "axb",
         u"ab", 2},
        {"change to a character without a key", [](qint16& a) { a = a == 'e' ? qint16{0xE9} : a; },
         "e", u"\u00e9", 1},
    };
    for (const PressRow& r : rows) {
        FocusedForm f;
        f.a->setFirstCharacterCapital(false);
        int changes = 0, downs = 0;
        QObject::connect(f.a, &TxtBox::KeyPress, r.handler);
        QObject::connect(f.a, &TxtBox::Change, [&] { ++changes; });
        QObject::connect(f.a, &TxtBox::KeyDown, [&](qint16&, qint16&) { ++downs; });
        ASSERT_NE(f.Target(), nullptr) << r.what;
        QTest::keyClicks(f.Target(), r.typed);
        EXPECT_EQ(f.Text(), QString::fromUtf16(r.text)) << r.what;
        EXPECT_EQ(changes, r.changes) << r.what;
        EXPECT_EQ(downs, static_cast<int>(std::strlen(r.typed))) << r.what;  // keys still seen
    }
}

TEST(QtHostKeyHandlers, KeyDownClearingKeyCodeStopsTheKeysAction) {
    struct Row {
        Qt::Key key;
        bool stop;
        const char16_t* text;
        int selStart;
    };
    const Row rows[] = {
        {Qt::Key_Delete, false, u"Ac", 1}, {Qt::Key_Delete, true, u"Abc", 1},
        {Qt::Key_Left, false, u"Abc", 0},  {Qt::Key_Left, true, u"Abc", 1},
        {Qt::Key_Right, true, u"Abc", 1},
    };
    for (const Row& r : rows) {
        FocusedForm f;
        f.a->setText("abc");
        f.a->setSelStart(1);
        int ups = 0;
        QObject::connect(f.a, &TxtBox::KeyDown, [&](qint16& code, qint16&) {
            if (r.stop) code = 0;
        });
        QObject::connect(f.a, &TxtBox::KeyUp, [&](qint16& code, qint16&) {
            if (code != 0) ++ups;  // the key up keeps the key's own code
        });
        QTest::keyClick(f.Target(), r.key);
        const std::string what = std::to_string(r.key) + (r.stop ? " stopped" : "");
        EXPECT_EQ(f.Text(), QString::fromUtf16(r.text)) << what;
        EXPECT_EQ(f.a->SelStart(), r.selStart) << what;
        EXPECT_EQ(ups, 1) << what;
    }
}

// A real keyboard sends the modifier keys themselves: the application hears them, the field
// does nothing with them.
TEST(QtHostKeyHandlers, ModifierKeysAloneChangeNothing) {
    FocusedForm f;
    f.a->setText("abc");
    f.a->setSelStart(1);
    std::vector<int> downs, ups;
    int presses = 0;
    QObject::connect(f.a, &TxtBox::KeyDown, [&](qint16& k, qint16&) { downs.push_back(k); });
    QObject::connect(f.a, &TxtBox::KeyUp, [&](qint16& k, qint16&) { ups.push_back(k); });
    QObject::connect(f.a, &TxtBox::KeyPress, [&](qint16&) { ++presses; });
    for (Qt::Key key : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt})
        QTest::keyClick(f.Target(), key);
    EXPECT_EQ(downs, (std::vector<int>{K::Shift, K::Control, K::Menu}));
    EXPECT_EQ(ups, downs);
    EXPECT_EQ(presses, 0);
    EXPECT_EQ(f.Text(), "Abc");
    EXPECT_EQ(f.a->SelStart(), 1);
    EXPECT_EQ(f.a->SelLength(), 0);
}

// --- Injected keys -------------------------------------------------------------------------

TEST(QtHostSendKeys, KeysSentFromAKeyPressArriveAfterTheHandler) {
    FocusedForm f;
    f.a->setFirstCharacterCapital(false);
    QString inside;
    int backspaces = 0;
    QObject::connect(f.a, &TxtBox::KeyPress, [&](qint16& a) {
        if (a == 8) ++backspaces;
        if (a != '!') return;
        a = 0;
        f.a->site().SendKeys(u"{BACKSPACE}");
        inside = f.Text();
    });
    QTest::keyClicks(f.Target(), "ab");
    QTest::keyClick(f.Target(), '!', Qt::ShiftModifier);
    EXPECT_EQ(inside, "ab");
    EXPECT_EQ(f.Text(), "ab");  // posted, not yet delivered
    EXPECT_EQ(backspaces, 0);
    QApplication::processEvents();
    EXPECT_EQ(f.Text(), "a");
    EXPECT_EQ(backspaces, 1);
}

TEST(QtHostSendKeys, MalformedStringIsError5AndPostsNothing) {
    for (const char16_t* keys : {u"ab{LEFT", u"ab{NOSUCHKEY}", u"x{F17}", u"ab)"}) {
        FocusedForm f;
        int downs = 0;
        QObject::connect(f.a, &TxtBox::KeyDown, [&](qint16&, qint16&) { ++downs; });
        EXPECT_EQ(ErrorOf([&] { f.a->site().SendKeys(keys); }), 5) << qv::ToUtf8(keys);
        QApplication::processEvents();
        EXPECT_EQ(downs, 0) << qv::ToUtf8(keys);
        EXPECT_EQ(f.Text(), "") << qv::ToUtf8(keys);
    }
}

// Key strings through Qt's key events give what the headless host's keyboard gives.
TEST(QtHostSendKeys, KeyStringsTypeAsOnTheHeadlessHost) {
    const std::pair<const char16_t*, const char16_t*> rows[] = {
        {u"abc", u"abc"},     {u"ab{LEFT}c", u"acb"},   {u"+(ab)c", u"ABc"},
        {u"abc{BS 2}", u"a"}, {u"ab{HOME}{DEL}", u"b"}, {u"ab~", u"ab"},
        {u"{+}1{%}", u"+1%"}, {u"a^a", u"a"},           {u"\u00fc{(}", u"\u00fc("},
    };
    for (const auto& [keys, text] : rows) {
        FocusedForm f;
        f.a->setFirstCharacterCapital(false);
        f.a->site().SendKeys(keys);
        QApplication::processEvents();
        EXPECT_EQ(qv::ToUtf8(qv::qt::FromQString(f.Text())), qv::ToUtf8(text)) << qv::ToUtf8(keys);

        qv::headless::Container form;
        auto& box = form.Add<qv::QVtxtBoxControl>(u"txt");
        box.FirstCharacterCapital(false);
        form.Focus(box);
        form.SiteOf(box).SendKeys(keys);
        form.DoEvents();
        EXPECT_EQ(qv::ToUtf8(box.Text().ToString()), qv::ToUtf8(text))
            << qv::ToUtf8(keys) << " (headless)";
    }
}

// --- Timers --------------------------------------------------------------------------------

TEST(QtHostTimer, FiresUnderTheEventLoopAndStopsWhenDisabled) {
    QtForm f;
    qv::TimerWidget& t = f.a->site().CreateTimer(u"t");
    int fired = 0;
    t.notices.Timer = [&] { ++fired; };
    QTest::qWait(30);
    EXPECT_EQ(fired, 0);  // Interval 0: never
    t.Interval(10);
    EXPECT_EQ(fired, 0);  // not before the event loop runs
    EXPECT_TRUE(WaitFor([&] { return fired >= 3; }));
    t.Enabled(false);
    const int stoppedAt = fired;
    QTest::qWait(60);
    EXPECT_EQ(fired, stoppedAt);
    EXPECT_EQ(ErrorOf([&] { t.Interval(-1); }), 380);
    EXPECT_EQ(t.Interval(), 10);
    t.Enabled(true);
    EXPECT_TRUE(WaitFor([&] { return fired > stoppedAt; }));
}

// --- Focus order ---------------------------------------------------------------------------

// A control of the headless tests' kind (it logs every notice) on a Qt form.
class ProbeWidget : public qv::qt::ControlWidget {
  public:
    ProbeWidget(QWidget* parent, std::string& log, const std::string& name, int fields)
        : ControlWidget(parent) {
        headless_test::Probe::Options o;
        o.fields = fields;
        auto p = std::make_unique<headless_test::Probe>(site(), log, name, o);
        probe = p.get();
        attach(std::move(p), nullptr);
    }
    headless_test::Probe* probe;
};

TEST(QtHostFocus, NoticesComeInTheContainersOrderOnBothHosts) {
    struct Move {
        const char* what;
        std::function<void(ProbeWidget& a, ProbeWidget& b, QLineEdit& plain)> qt;
        std::function<void(headless_test::Form&, headless_test::Probe&, headless_test::Probe&)>
            headless;
        const char* log;
    };
    const Move moves[] = {
        {"focus A", [](auto& a, auto&, auto&) { a.setFocus(); },
         [](auto& form, auto& a, auto&) { form.Focus(a); }, "A.EnterFocus A.t0.GotFocus"},
        {"A's second field", [](auto& a, auto&, auto&) { a.probe->fields[1]->SetFocus(); },
         [](auto&, auto& a, auto&) { a.fields[1]->SetFocus(); }, "A.t0.LostFocus A.t1.GotFocus"},
        {"focus B", [](auto&, auto& b, auto&) { b.setFocus(); },
         [](auto& form, auto&, auto& b) { form.Focus(b); },
         "A.t1.LostFocus A.ExitFocus B.EnterFocus B.t0.GotFocus"},
        {"to a widget outside the controls", [](auto&, auto&, auto& plain) { plain.setFocus(); },
         [](auto& form, auto&, auto&) { form.Leave(); }, "B.t0.LostFocus B.ExitFocus"},
        {"A's first field by the control",
         [](auto& a, auto&, auto&) { a.probe->fields[0]->SetFocus(); },
         [](auto&, auto& a, auto&) { a.fields[0]->SetFocus(); }, "A.EnterFocus A.t0.GotFocus"},
    };

    std::string qtLog;
    QWidget window;
    window.resize(400, 200);
    auto* a = new ProbeWidget(&window, qtLog, "A", 2);
    auto* b = new ProbeWidget(&window, qtLog, "B", 1);
    auto* plain = new QLineEdit(&window);
    b->move(0, 60);
    plain->move(0, 120);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    if (QWidget* w = QApplication::focusWidget()) w->clearFocus();
    QApplication::processEvents();
    qtLog.clear();

    headless_test::Form form;
    auto& ha = form.Add("A", {.fields = 2});
    auto& hb = form.Add("B", {.fields = 1});
    form.Take();

    for (const Move& m : moves) {
        m.qt(*a, *b, *plain);
        QApplication::processEvents();
        EXPECT_EQ(std::exchange(qtLog, {}), m.log) << m.what << " (Qt)";
        m.headless(form, ha, hb);
        EXPECT_EQ(form.Take(), m.log) << m.what << " (headless)";
    }
}

// --- Errors from application code ----------------------------------------------------------

// Sends the errors QtServices reports to a list while it lives.
struct ReportedErrors {
    std::vector<std::string> what;
    ReportedErrors() {
        QtServices::Instance().SetErrorHandler(
            [this](const std::exception& e) { what.emplace_back(e.what()); });
    }
    ~ReportedErrors() { QtServices::Instance().SetErrorHandler(nullptr); }
};

TEST(QtHostErrors, AnExceptionFromASlotReachesTheErrorHandlerAndTypingGoesOn) {
    struct Row {
        const char* slot;
        const char16_t* text;  // after "x" (the throwing key) and "y"
        int changes;
    };
    const Row rows[] = {
        {"KeyDown", u"y", 1},  // the keystroke ends where its notice threw
        {"KeyPress", u"y", 1},
        {"KeyUp", u"xy", 2},
        {"Change", u"xy", 1},  // the throwing slot's own count is not reached
    };
    for (const Row& r : rows) {
        FocusedForm f;
        f.a->setFirstCharacterCapital(false);
        ReportedErrors errors;
        const std::string slot = r.slot;
        bool armed = true;
        auto boom = [&](qint16 code) {
            if (armed && (code == 'x' || code == 'X')) {
                armed = false;
                throw std::runtime_error("boom in " + slot);
            }
        };
        int changes = 0;
        if (slot == "KeyDown")
            QObject::connect(f.a, &TxtBox::KeyDown, [&](qint16& k, qint16&) { boom(k); });
        if (slot == "KeyPress")
            QObject::connect(f.a, &TxtBox::KeyPress, [&](qint16& k) { boom(k); });
        if (slot == "KeyUp")
            QObject::connect(f.a, &TxtBox::KeyUp, [&](qint16& k, qint16&) { boom(k); });
        QObject::connect(f.a, &TxtBox::Change, [&] {
            if (slot == "Change") boom(static_cast<qint16>(f.Text().back().unicode()));
            ++changes;
        });
        QTest::keyClick(f.Target(), 'x');
        QTest::keyClick(f.Target(), 'y');
        EXPECT_EQ(errors.what, std::vector<std::string>{"boom in " + slot}) << r.slot;
        EXPECT_EQ(f.Text(), QString::fromUtf16(r.text)) << r.slot;
        EXPECT_EQ(changes, r.changes) << r.slot;
    }
}

// --- Screen metrics ------------------------------------------------------------------------

TEST(QtHostScreen, FifteenTwipsPerPixelOffscreen) {
    QtForm f;
    const qv::Host& host = f.a->site();
    EXPECT_EQ(host.TwipsPerPixelX(), 15.0f);
    EXPECT_EQ(host.TwipsPerPixelY(), 15.0f);
}

TEST(QtHostScreen, FieldIsNeverLowerThanQtsMinimumForItsFont) {
    int previousMinimum = 0;
    for (float size : {6.0f, 9.0f, 14.0f, 24.0f, 48.0f}) {
        QtForm f;
        qv::QVtxtBoxControl& box = f.a->box();
        box.FontSize(size);
        QLineEdit reference;
        reference.setFrame(false);
        reference.setFont(qv::qt::ToQFont(*box.Font()));
        const int minimum = reference.minimumSizeHint().height();
        EXPECT_GT(minimum, previousMinimum) << size;
        previousMinimum = minimum;

        qv::TextField& field = box.Field(0);
        QWidget* editor = EditorOf(*f.a, field);
        ASSERT_NE(editor, nullptr);
        EXPECT_GE(editor->height(), minimum) << size << " pt after the layout";
        EXPECT_GE(f.a->height(), editor->geometry().bottom()) << size << " pt: the box grew";
        field.Height(15);  // one pixel asked for
        EXPECT_GE(field.Height(), minimum * 15) << size << " pt";
        EXPECT_GE(editor->height(), minimum) << size << " pt";
    }
}

}  // namespace
