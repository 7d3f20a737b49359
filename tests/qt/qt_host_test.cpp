// The Qt host's own services: key mapping, modifier keys, injected keys, timers, the focus order,
// errors from application code, screen metrics.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <algorithm>
#include <stdexcept>

#include "headless_test_support.h"
#include "hosts/qt/ControlWidget.h"
#include "scenario.h"

namespace {

using conformance::EditorOf;
using conformance::QtForm;
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

// A form whose first box has the focus and keeps its text as typed.
struct FocusedForm : QtForm {
    FocusedForm() {
        a->setFirstCharacterCapital(false);
        a->setFocus();
        QApplication::processEvents();
    }
    QWidget* Target() const { return QApplication::focusWidget(); }
    QString Text() const { return a->Text(); }
};

// --- Key mapping ---------------------------------------------------------------------------

TEST(QtHostKeys, MapsQtKeysToContainerKeys) {
    struct Row {
        const char* what;
        int qtKey;
        Qt::KeyboardModifiers mods;
        const char16_t* text;
        MappedKey want;
    };
    const Row rows[] = {
        {"letter", Qt::Key_A, kNone, u"a", {65, 0, u'a'}},
        {"shifted letter", Qt::Key_A, kShift, u"A", {65, S::Shift, u'A'}},
        {"caps-locked letter keeps its case", Qt::Key_Q, kNone, u"Q", {81, 0, u'Q'}},
        {"shifted digit", Qt::Key_Exclam, kShift, u"!", {49, S::Shift, u'!'}},
        {"punctuation", Qt::Key_Semicolon, kNone, u";", {186, 0, u';'}},
        {"main + is the = key", Qt::Key_Plus, kShift, u"+", {187, S::Shift, u'+'}},
        {"keypad digit", Qt::Key_9, kPad, u"9", {105, 0, u'9'}},
        {"keypad operator", Qt::Key_Minus, kPad, u"-", {109, 0, u'-'}},
        {"keypad decimal point", Qt::Key_Period, kPad, u".", {110, 0, u'.'}},
        {"keypad Home without NumLock", Qt::Key_Home, kPad, u"", {36, 0, 0}},
        {"keypad Enter", Qt::Key_Enter, kPad, u"\r", {13, 0, 13}},
        {"function key", Qt::Key_F12, kNone, u"", {123, 0, 0}},
        {"Backspace", Qt::Key_Backspace, kNone, u"\b", {8, 0, 8}},
        {"Tab", Qt::Key_Tab, kNone, u"\t", {9, 0, 9}},
        {"Escape", Qt::Key_Escape, kNone, u"\x1b", {27, 0, 27}},
        {"Shift+Tab", Qt::Key_Backtab, kShift, u"", {9, S::Shift, 9}},
        {"Delete makes no character", Qt::Key_Delete, kNone, u"\x7f", {46, 0, 0}},
        {"Shift key itself", Qt::Key_Shift, kShift, u"", {16, S::Shift, 0}},
        {"Ctrl+letter whatever the text", Qt::Key_Z, kCtrl, u"z", {90, S::Ctrl, 26}},
        {"Ctrl+Shift+letter", Qt::Key_C, kCtrl | kShift, u"", {67, S::Ctrl | S::Shift, 3}},
        {"Ctrl+Enter", Qt::Key_Return, kCtrl, u"\r", {13, S::Ctrl, 10}},
        {"Ctrl+Backspace", Qt::Key_Backspace, kCtrl, u"", {8, S::Ctrl, 127}},
        {"Ctrl+digit", Qt::Key_1, kCtrl, u"1", {49, S::Ctrl, 0}},
        {"Alt+letter", Qt::Key_A, kAlt, u"a", {65, S::Alt, 0}},
        {"Alt+Return", Qt::Key_Return, kAlt, u"\r", {13, S::Alt, 0}},
        {"u umlaut typed", Qt::Key_Udiaeresis, kNone, u"\u00fc", {K::Processed, 0, u'\u00fc'}},
        {"euro sign typed", Qt::Key_unknown, kNone, u"\u20ac", {K::Processed, 0, u'\u20ac'}},
        {"unknown key without text", Qt::Key_unknown, kNone, u"", {0, 0, 0}},
    };
    for (const Row& r : rows) {
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
    const std::pair<int, int> ranges[] = {{32, 40}, {48, 57}, {65, 90}, {96, 105}, {109, 135}};
    for (const auto& [first, last] : ranges)
        for (int c = first; c <= last; ++c) expected.push_back(c);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(supported, expected);  // 186 and the other punctuation travel as their text
}

TEST(QtHostKeys, ShiftStatesMapBothWays) {
    for (int16_t shift = 0; shift < 8; ++shift) {
        const Qt::KeyboardModifiers mods = qv::qt::QtModifiersFor(shift);
        EXPECT_EQ(MapQtKey(Qt::Key_F5, mods, QString()).shift, shift) << shift;
        EXPECT_FALSE(mods & (Qt::MetaModifier | Qt::KeypadModifier)) << shift;
    }
}

// A real keyboard sends the modifier keys themselves: the application hears them, the field
// does nothing with them.
TEST(QtHostKeys, ModifierKeysAloneChangeNothing) {
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
    EXPECT_EQ(f.Text(), "abc");
    EXPECT_EQ(f.a->SelStart(), 1);
    EXPECT_EQ(f.a->SelLength(), 0);
}

// --- Injected keys -------------------------------------------------------------------------

TEST(QtHostSendKeys, KeysSentFromAKeyPressArriveAfterTheHandler) {
    FocusedForm f;
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

// A malformed string posts nothing, not even the keys before the fault.
TEST(QtHostSendKeys, MalformedStringIsError5AndPostsNothing) {
    for (const char16_t* keys : {u"ab{LEFT", u"ab{NOSUCHKEY}"}) {
        FocusedForm f;
        EXPECT_EQ(ErrorOf([&] { f.a->site().SendKeys(keys); }), 5) << qv::ToUtf8(keys);
        QApplication::processEvents();
        EXPECT_EQ(f.Text(), "") << qv::ToUtf8(keys);
    }
}

// Key strings reach the field as Qt key events: moves, shift groups, repeats, Enter on one line,
// Ctrl, braced and non-ASCII characters.
TEST(QtHostSendKeys, KeyStringsTypeThroughQtsKeyEvents) {
    const std::pair<const char16_t*, const char16_t*> rows[] = {
        {u"ab{LEFT}c~", u"acb"},
        {u"+(ab)c{HOME}{DEL}", u"Bc"},
        {u"abc{BS 2}^a", u"a"},
        {u"{+}1{%}\u00fc{(}", u"+1%\u00fc("},
    };
    for (const auto& [keys, text] : rows) {
        FocusedForm f;
        f.a->site().SendKeys(keys);
        QApplication::processEvents();
        EXPECT_EQ(qv::ToUtf8(qv::qt::FromQString(f.Text())), qv::ToUtf8(text)) << qv::ToUtf8(keys);
    }
}

// --- Timers --------------------------------------------------------------------------------

TEST(QtHostTimer, FiresUnderTheEventLoopAndStopsWhenDisabled) {
    QtForm f;
    qv::TimerWidget& t = f.a->site().CreateTimer(u"t");
    int fired = 0;
    t.notices.Timer = [&] { ++fired; };
    const auto waitFor = [](int at_least, const int& count) {
        QElapsedTimer clock;
        clock.start();
        while (count < at_least && clock.elapsed() < 5000) QTest::qWait(5);
        return count >= at_least;
    };
    QTest::qWait(30);
    EXPECT_EQ(fired, 0);  // Interval 0: never
    t.Interval(10);
    EXPECT_EQ(fired, 0);  // not before the event loop runs
    EXPECT_TRUE(waitFor(3, fired));
    t.Enabled(false);
    const int stoppedAt = fired;
    QTest::qWait(60);
    EXPECT_EQ(fired, stoppedAt);
    EXPECT_EQ(ErrorOf([&] { t.Interval(-1); }), 380);
    EXPECT_EQ(t.Interval(), 10);
    t.Enabled(true);
    EXPECT_TRUE(waitFor(stoppedAt + 1, fired));
}

// --- Focus order ---------------------------------------------------------------------------

// A control of the headless tests' kind (it logs every notice) on a Qt form.
class ProbeWidget : public qv::qt::ControlWidget {
  public:
    ProbeWidget(QWidget* parent, std::string& log, const std::string& name, int fields)
        : ControlWidget(parent) {
        auto p = std::make_unique<headless_test::Probe>(
            site(), log, name, headless_test::Probe::Options{.fields = fields});
        probe = p.get();
        attach(std::move(p), nullptr);
    }
    headless_test::Probe* probe;
};

// Within a control, between controls, out to a plain Qt widget (headless: to nothing) and back
// in by the control's own request: the same notices in the same order on both hosts.
TEST(QtHostFocus, NoticesComeInTheContainersOrderOnBothHosts) {
    std::string log;
    QWidget window;
    auto* a = new ProbeWidget(&window, log, "A", 2);
    auto* b = new ProbeWidget(&window, log, "B", 1);
    auto* plain = new QLineEdit(&window);
    b->move(0, 60);
    plain->move(0, 120);
    conformance::ShowActive(window);
    log.clear();
    headless_test::Form form;
    auto& ha = form.Add("A", {.fields = 2});
    auto& hb = form.Add("B", {.fields = 1});
    form.Take();
    struct Move {
        std::function<void()> qt, headless;
        const char* log;
    };
    const Move moves[] = {
        {[&] { a->setFocus(); }, [&] { form.Focus(ha); }, "A.EnterFocus A.t0.GotFocus"},
        {[&] { a->probe->fields[1]->SetFocus(); }, [&] { ha.fields[1]->SetFocus(); },
         "A.t0.LostFocus A.t1.GotFocus"},
        {[&] { b->setFocus(); }, [&] { form.Focus(hb); },
         "A.t1.LostFocus A.ExitFocus B.EnterFocus B.t0.GotFocus"},
        {[&] { plain->setFocus(); }, [&] { form.Leave(); }, "B.t0.LostFocus B.ExitFocus"},
        {[&] { a->probe->fields[0]->SetFocus(); }, [&] { ha.fields[0]->SetFocus(); },
         "A.EnterFocus A.t0.GotFocus"},
    };
    for (const Move& m : moves) {
        m.qt();
        QApplication::processEvents();
        EXPECT_EQ(std::exchange(log, {}), m.log) << "Qt";
        m.headless();
        EXPECT_EQ(form.Take(), m.log) << "headless";
    }
}

// A control without fields (the numeric box's kind) takes the focus and the keys on its own
// surface: a press on its label focuses it before the label's notices, keys typed and injected
// reach its key notices, Tab moves on and Shift+Tab comes back. Same notices as headless.
TEST(QtHostFocus, AControlWithoutFieldsTakesFocusKeysAndLabelClicks) {
    std::string log;
    QWidget window;
    auto* a = new ProbeWidget(&window, log, "A", 0);
    auto* b = new ProbeWidget(&window, log, "B", 1);
    auto* plain = new QLineEdit(&window);
    a->resize(100, 40);  // room for the label at 400 twips (27 pixels) down
    b->setGeometry(0, 60, 200, 40);
    plain->move(0, 120);
    conformance::ShowActive(window);
    log.clear();
    headless_test::Form form;
    auto& ha = form.Add("A", {.fields = 0});
    auto& hb = form.Add("B", {.fields = 1});
    form.Take();
    // Mouse input through the window, as the window system delivers it: the pointer moves there
    // first, and Qt's own click focus and double click (press, release, press, double click,
    // release) are included.
    const auto mouse = [&](ProbeWidget* w, bool twice) {
        QWidget* label = conformance::SurfaceOf(*w, *w->probe->label);
        const QPoint at = label->mapTo(&window, QPoint(10, 3));
        if (twice)
            QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, kNone, at);
        else
            QTest::mouseClick(window.windowHandle(), Qt::LeftButton, kNone, at);
    };
    const auto key = [](Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); };
    const auto hover = [&](headless_test::Probe& p) { form.MouseMove(p, 150, 445); };
    // Pixel (10, 3) on the label is (150, 45) twips in its own coordinates.
    const char* kClickA = "A.lbl.MouseDown(1,0,150,45) A.lbl.MouseUp(1,0,150,45) A.lbl.Click";
    struct Move {
        std::function<void()> qt, headless;
        std::string log;
    };
    const Move moves[] = {
        {[&] { mouse(a, false); },
         [&] {
             hover(ha);
             form.Click(ha, 150, 445);
         },
         std::string("A.lbl.MouseMove(0,0,150,45) A.EnterFocus ") + kClickA},
        {[&] { key(Qt::Key_A); }, [&] { form.Type(u"a"); },
         "A.KeyDown(65,0) A.KeyPress(97) A.KeyUp(65,0)"},
        {[&] { a->site().SendKeys(u"{BACKSPACE}"); },
         [&] {
             ha.GetHost().SendKeys(u"{BACKSPACE}");
             form.DoEvents();
         },
         "A.KeyDown(8,0) A.KeyPress(8) A.KeyUp(8,0)"},
        {[&] { key(Qt::Key_Tab); }, [&] { form.PressKey(K::Tab); },
         "A.ExitFocus B.EnterFocus B.t0.GotFocus"},
        // Qt's back-tab key without the Shift key's own notices, which the probe would log.
        {[&] { key(Qt::Key_Backtab); }, [&] { form.PressKey(K::Tab, S::Shift); },
         "B.t0.LostFocus B.ExitFocus A.EnterFocus"},
        {[&] { mouse(b, false); },
         [&] {
             hover(hb);
             form.Click(hb, 150, 445);
         },
         "B.lbl.MouseMove(0,0,150,45) A.ExitFocus B.EnterFocus B.t0.GotFocus "
         "B.lbl.MouseDown(1,0,150,45) "
         "B.lbl.MouseUp(1,0,150,45) B.lbl.Click"},
        {[&] { mouse(a, true); },
         [&] {
             hover(ha);
             form.DoubleClick(ha, 150, 445);
         },
         std::string("A.lbl.MouseMove(0,0,150,45) B.t0.LostFocus B.ExitFocus A.EnterFocus ") +
             kClickA + " A.lbl.DblClick A.lbl.MouseUp(1,0,150,45)"},
        {[&] { plain->setFocus(); }, [&] { form.Leave(); }, "A.ExitFocus"},
        // A disabled label takes neither the mouse nor the focus.
        {[&] {
             a->probe->label->Enabled(false);
             mouse(a, false);
         },
         [&] {
             ha.label->Enabled(false);
             hover(ha);
             form.Click(ha, 150, 445);
         },
         ""},
    };
    for (const Move& m : moves) {
        m.qt();
        QApplication::processEvents();
        EXPECT_EQ(std::exchange(log, {}), m.log) << "Qt";
        m.headless();
        EXPECT_EQ(form.Take(), m.log) << "headless";
    }
}

// --- Errors from application code ----------------------------------------------------------

// An exception from a slot goes to the error handler; the keystroke ends where its notice threw,
// and the next key is typed as usual.
TEST(QtHostErrors, AnExceptionFromASlotReachesTheErrorHandlerAndTypingGoesOn) {
    struct Row {
        const char* slot;
        const char16_t* text;  // after "x" (the throwing key) and "y"
        int changes;
    };
    const Row rows[] = {
        {"KeyDown", u"y", 1},
        {"KeyPress", u"y", 1},
        {"KeyUp", u"xy", 2},
        {"Change", u"xy", 1},  // the throwing slot's own count is not reached
    };
    for (const Row& r : rows) {
        FocusedForm f;
        std::vector<std::string> errors;
        QtServices::Instance().SetErrorHandler(
            [&](const std::exception& e) { errors.emplace_back(e.what()); });
        const std::string slot = r.slot;
        bool armed = true;
        auto boom = [&](const char* from, qint16 code) {
            if (slot != from || !armed || (code != 'x' && code != 'X')) return;
            armed = false;
            throw std::runtime_error("boom in " + slot);
        };
        int changes = 0;
        QObject::connect(f.a, &TxtBox::KeyDown, [&](qint16& k, qint16&) { boom("KeyDown", k); });
        QObject::connect(f.a, &TxtBox::KeyPress, [&](qint16& k) { boom("KeyPress", k); });
        QObject::connect(f.a, &TxtBox::KeyUp, [&](qint16& k, qint16&) { boom("KeyUp", k); });
        QObject::connect(f.a, &TxtBox::Change, [&] {
            boom("Change", f.Text().endsWith('x') ? 'x' : 0);
            ++changes;
        });
        QTest::keyClick(f.Target(), 'x');
        QTest::keyClick(f.Target(), 'y');
        QtServices::Instance().SetErrorHandler(nullptr);
        EXPECT_EQ(errors, std::vector<std::string>{"boom in " + slot}) << r.slot;
        EXPECT_EQ(f.Text(), QString::fromUtf16(r.text)) << r.slot;
        EXPECT_EQ(changes, r.changes) << r.slot;
    }
}

// --- Screen metrics ------------------------------------------------------------------------

TEST(QtHostScreen, FifteenTwipsPerPixelOffscreen) {
    QtForm f;
    EXPECT_EQ(f.a->site().TwipsPerPixelX(), 15.0f);
    EXPECT_EQ(f.a->site().TwipsPerPixelY(), 15.0f);
}

TEST(QtHostScreen, FieldIsNeverLowerThanQtsMinimumForItsFont) {
    int previousMinimum = 0;
    for (float size : {6.0f, 14.0f, 48.0f}) {
        QtForm f;
        qv::QVtxtBoxControl& box = f.a->box();
        box.FontSize(size);
        QLineEdit reference;
        reference.setFrame(false);
        reference.setFont(qv::qt::ToQFont(*box.Font()));
        const int minimum = reference.minimumSizeHint().height();
        EXPECT_GT(minimum, previousMinimum) << size;  // the font size reached Qt
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
