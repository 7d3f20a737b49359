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

using conformance::QtForm;
using qv::qt::MappedKey;
using qv::qt::MapQtKey;
using qv::qt::QtServices;
using qv::qt::TxtBox;
using qv_test::ErrorOf;
namespace K = qv::Key;
namespace S = qv::ShiftState;

constexpr auto kNone = Qt::NoModifier;
auto Tuple(MappedKey k) {
    return std::tuple{k.keyCode, k.shift, static_cast<int>(k.character)};
}
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
    // Calls `on` from the key and Change slots with the slot's name and the key (Change: 0).
    void Hook(std::function<void(std::string slot, int key)> on) {
        QObject::connect(a, &TxtBox::KeyDown, [on](qint16& k, qint16&) { on("KeyDown", k); });
        QObject::connect(a, &TxtBox::KeyPress, [on](qint16& k) { on("KeyPress", k); });
        QObject::connect(a, &TxtBox::KeyUp, [on](qint16& k, qint16&) { on("KeyUp", k); });
        QObject::connect(a, &TxtBox::Change, [on] { on("Change", 0); });
    }
};

// --- Key mapping ---------------------------------------------------------------------------

TEST(QtHostKeys, MapsQtKeysToContainerKeys) {
    // clang-format off
    struct Row { const char* what; int qtKey; Qt::KeyboardModifiers mods; const char16_t* text; MappedKey want; };
    const Row rows[] = {
        {"letter", Qt::Key_A, kNone, u"a", {65, 0, u'a'}},
        {"caps-locked letter keeps its case", Qt::Key_Q, kNone, u"Q", {81, 0, u'Q'}},
        {"shifted digit", Qt::Key_Exclam, kShift, u"!", {49, S::Shift, u'!'}},
        {"main + is the = key", Qt::Key_Plus, kShift, u"+", {187, S::Shift, u'+'}},
        {"keypad Home without NumLock", Qt::Key_Home, kPad, u"", {36, 0, 0}},
        {"Escape", Qt::Key_Escape, kNone, u"\x1b", {27, 0, 27}},
        {"Shift+Tab", Qt::Key_Backtab, kShift, u"", {9, S::Shift, 9}},
        {"Delete makes no character", Qt::Key_Delete, kNone, u"\x7f", {46, 0, 0}},
        {"Ctrl+Shift+letter whatever the text", Qt::Key_C, kCtrl | kShift, u"c", {67, S::Ctrl | S::Shift, 3}},
        {"Ctrl+Enter", Qt::Key_Return, kCtrl, u"\r", {13, S::Ctrl, 10}},
        {"Ctrl+digit", Qt::Key_1, kCtrl, u"1", {49, S::Ctrl, 0}},
        {"Alt+letter", Qt::Key_A, kAlt, u"a", {65, S::Alt, 0}},
        {"u umlaut typed", Qt::Key_Udiaeresis, kNone, u"\u00fc", {K::Processed, 0, u'\u00fc'}},
        {"euro sign typed", Qt::Key_unknown, kNone, u"\u20ac", {K::Processed, 0, u'\u20ac'}},
        {"unknown key without text", Qt::Key_unknown, kNone, u"", {0, 0, 0}}};
    // clang-format on
    for (const Row& r : rows)
        EXPECT_EQ(Tuple(MapQtKey(r.qtKey, r.mods, QString::fromUtf16(r.text))), Tuple(r.want))
            << r.what;
    for (int16_t shift = 0; shift < 8; ++shift) {  // shift states both ways
        const Qt::KeyboardModifiers mods = qv::qt::QtModifiersFor(shift);
        EXPECT_EQ(MapQtKey(Qt::Key_F5, mods, QString()).shift, shift) << shift;
        EXPECT_FALSE(mods & (Qt::MetaModifier | Qt::KeypadModifier)) << shift;
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

// A real keyboard sends the modifier keys themselves: the application hears them, the field
// does nothing with them.
TEST(QtHostKeys, ModifierKeysAloneChangeNothing) {
    FocusedForm f;
    f.a->setText("abc");
    f.a->setSelStart(1);
    std::string log;
    f.Hook([&](std::string slot, int key) { log += slot + std::to_string(key) + " "; });
    for (Qt::Key key : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt})
        QTest::keyClick(f.Target(), key);
    EXPECT_EQ(log, "KeyDown16 KeyUp16 KeyDown17 KeyUp17 KeyDown18 KeyUp18 ");
    EXPECT_EQ(f.Text(), "abc");
    EXPECT_EQ(std::pair(f.a->SelStart(), f.a->SelLength()), std::pair(1, 0));
}

// --- Injected keys -------------------------------------------------------------------------

TEST(QtHostSendKeys, KeysSentFromAKeyPressArriveAfterTheHandler) {
    FocusedForm f;
    QString inside;
    QObject::connect(f.a, &TxtBox::KeyPress, [&](qint16& a) {
        if (a != '!') return;
        a = 0;
        f.a->site().SendKeys(u"{BACKSPACE}");
        inside = f.Text();
    });
    QTest::keyClicks(f.Target(), "ab!");
    EXPECT_EQ(inside, "ab");
    EXPECT_EQ(f.Text(), "ab");  // posted, not yet delivered
    QApplication::processEvents();
    EXPECT_EQ(f.Text(), "a");
}

// Key strings reach the field as Qt key events: moves, shift groups, repeats, Ctrl, braced and
// non-ASCII characters. A malformed string is error 5 and posts nothing, not even the keys before
// the fault.
TEST(QtHostSendKeys, KeyStringsTypeThroughQtsKeyEvents) {
    const std::tuple<const char16_t*, const char16_t*, int> rows[] = {
        {u"ab{LEFT}c~", u"acb", 0}, {u"+(ab)c{HOME}{DEL}", u"Bc", 0},
        {u"abc{BS 2}^a", u"a", 0},  {u"{+}1{%}\u00fc{(}", u"+1%\u00fc(", 0},
        {u"ab{LEFT", u"", 5},       {u"ab{NOSUCHKEY}", u"", 5},
    };
    for (const auto& [keys, text, error] : rows) {
        FocusedForm f;
        EXPECT_EQ(ErrorOf([&f, k = keys] { f.a->site().SendKeys(k); }), error) << qv::ToUtf8(keys);
        QApplication::processEvents();
        EXPECT_EQ(qv::ToUtf8(qv::qt::FromQString(f.Text())), qv::ToUtf8(text)) << qv::ToUtf8(keys);
    }
}

// --- Timers --------------------------------------------------------------------------------

// A timer whose notice clears its own slot while it runs must finish on an intact capture.
TEST(QtHostTimer, FiresUnderTheEventLoopAndStopsWhenDisabled) {
    QtForm f;
    qv::TimerWidget& t = f.a->site().CreateTimer(u"t");
    qv::TimerWidget& once = f.a->site().CreateTimer(u"once");
    int fired = 0, firedOnce = 0;
    t.notices().Timer = [&] { ++fired; };
    const std::string big(200, 'x');  // captured on the heap: freeing it early is visible to ASan
    once.notices().Timer = [&once, &firedOnce, big] {
        once.notices().Timer = nullptr;
        firedOnce += static_cast<int>(big.size() / 200);
    };
    const auto waitFor = [&](int at_least) {
        QElapsedTimer clock;
        clock.start();
        while (fired < at_least && clock.elapsed() < 5000) QTest::qWait(5);
        return fired >= at_least;
    };
    QTest::qWait(30);
    EXPECT_EQ(fired, 0);  // Interval 0: never
    t.Interval(10);
    once.Interval(1);
    EXPECT_EQ(fired, 0);  // not before the event loop runs
    EXPECT_TRUE(waitFor(3));
    EXPECT_EQ(firedOnce, 1);
    t.Enabled(false);
    const int stoppedAt = fired;
    QTest::qWait(60);
    EXPECT_EQ(fired, stoppedAt);
    EXPECT_EQ(ErrorOf([&] { t.Interval(-1); }), 380);
    EXPECT_EQ(t.Interval(), 10);
    t.Enabled(true);
    EXPECT_TRUE(waitFor(stoppedAt + 1));
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

// Probe controls A (with `fields` fields) and B (one) and a plain Qt widget on a Qt form; the
// same probes on a headless form. Each move is made on both and must log the same notices.
struct ProbeForms {
    std::string log;
    QWidget window;
    ProbeWidget* a;
    ProbeWidget* b = new ProbeWidget(&window, log, "B", 1);
    QLineEdit* plain = new QLineEdit(&window);
    headless_test::Form form;
    headless_test::Probe& ha;
    headless_test::Probe& hb = form.Add("B", {.fields = 1});
    explicit ProbeForms(int fields)
        : a(new ProbeWidget(&window, log, "A", fields)), ha(form.Add("A", {.fields = fields})) {
        a->resize(100, 40);  // room for the label at 400 twips (27 pixels) down
        b->setGeometry(0, 60, 200, 40);
        plain->move(0, 120);
        conformance::ShowActive(window);
        log.clear();
        form.Take();
    }
    struct Move {
        std::function<void()> qt, headless;
        std::string log;
    };
    void Play(const std::vector<Move>& moves) {
        for (const Move& m : moves) {
            m.qt();
            QApplication::processEvents();
            EXPECT_EQ(std::exchange(log, {}), m.log) << "Qt";
            m.headless();
            EXPECT_EQ(form.Take(), m.log) << "headless";
        }
    }
};

// Within a control, between controls, out to a plain Qt widget (headless: to nothing) and back
// in by the control's own request.
TEST(QtHostFocus, NoticesComeInTheContainersOrderOnBothHosts) {
    ProbeForms p(2);
    p.Play({
        {[&] { p.a->setFocus(); }, [&] { p.form.Focus(p.ha); }, "A.EnterFocus A.t0.GotFocus"},
        {[&] { p.a->probe->fields[1]->SetFocus(); }, [&] { p.ha.fields[1]->SetFocus(); },
         "A.t0.LostFocus A.t1.GotFocus"},
        {[&] { p.b->setFocus(); }, [&] { p.form.Focus(p.hb); },
         "A.t1.LostFocus A.ExitFocus B.EnterFocus B.t0.GotFocus"},
        {[&] { p.plain->setFocus(); }, [&] { p.form.Leave(); }, "B.t0.LostFocus B.ExitFocus"},
        {[&] { p.a->probe->fields[0]->SetFocus(); }, [&] { p.ha.fields[0]->SetFocus(); },
         "A.EnterFocus A.t0.GotFocus"},
    });
}

// A control without fields (the numeric box's kind) takes the focus and the keys on its own
// surface: a press on its label focuses it before the label's notices, keys typed and injected
// reach its key notices, Tab moves on and Shift+Tab comes back.
TEST(QtHostFocus, AControlWithoutFieldsTakesFocusKeysAndLabelClicks) {
    ProbeForms p(0);
    // Mouse input through the window, as the window system delivers it: the pointer moves there
    // first, and Qt's own click focus and double click (press, release, press, double click,
    // release) are included. Pixel (10, 3) on the label is (150, 45) twips in its own terms.
    const auto mouse = [&p](ProbeWidget* w, headless_test::Probe& h, bool twice, std::string log) {
        return ProbeForms::Move{
            [&p, w, twice] {
                const QRect label = conformance::GeometryOf(*w, *w->probe->label);
                const QPoint at = w->mapTo(&p.window, label.topLeft() + QPoint(10, 3));
                if (twice)
                    QTest::mouseDClick(p.window.windowHandle(), Qt::LeftButton, kNone, at);
                else
                    QTest::mouseClick(p.window.windowHandle(), Qt::LeftButton, kNone, at);
            },
            [&p, &h, twice] {
                p.form.MouseMove(h, 150, 445);
                if (twice)
                    p.form.DoubleClick(h, 150, 445);
                else
                    p.form.Click(h, 150, 445);
            },
            std::move(log)};
    };
    const auto key = [](Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); };
    const std::string clickA = "A.lbl.MouseDown(1,0,150,45) A.lbl.MouseUp(1,0,150,45) A.lbl.Click";
    p.Play({
        mouse(p.a, p.ha, false, "A.lbl.MouseMove(0,0,150,45) A.EnterFocus " + clickA),
        {[&] { key(Qt::Key_A); }, [&] { p.form.Type(u"a"); },
         "A.KeyDown(65,0) A.KeyPress(97) A.KeyUp(65,0)"},
        {[&] { p.a->site().SendKeys(u"{BACKSPACE}"); },
         [&] {
             p.ha.GetHost().SendKeys(u"{BACKSPACE}");
             p.form.DoEvents();
         },
         "A.KeyDown(8,0) A.KeyPress(8) A.KeyUp(8,0)"},
        {[&] { key(Qt::Key_Tab); }, [&] { p.form.PressKey(K::Tab); },
         "A.ExitFocus B.EnterFocus B.t0.GotFocus"},
        // Qt's back-tab key without the Shift key's own notices, which the probe would log.
        {[&] { key(Qt::Key_Backtab); }, [&] { p.form.PressKey(K::Tab, S::Shift); },
         "B.t0.LostFocus B.ExitFocus A.EnterFocus"},
        mouse(p.b, p.hb, false,
              "B.lbl.MouseMove(0,0,150,45) A.ExitFocus B.EnterFocus B.t0.GotFocus "
              "B.lbl.MouseDown(1,0,150,45) B.lbl.MouseUp(1,0,150,45) B.lbl.Click"),
        mouse(p.a, p.ha, true,
              "A.lbl.MouseMove(0,0,150,45) B.t0.LostFocus B.ExitFocus A.EnterFocus " + clickA +
                  " A.lbl.DblClick A.lbl.MouseUp(1,0,150,45)"),
        {[&] { p.plain->setFocus(); }, [&] { p.form.Leave(); }, "A.ExitFocus"},
        // A disabled label takes neither the mouse nor the focus.
        {[&] { p.a->probe->label->Enabled(false); }, [&] { p.ha.label->Enabled(false); }, ""},
        mouse(p.a, p.ha, false, ""),
    });
}

// --- Errors from application code ----------------------------------------------------------

// An exception from a slot goes to the error handler. A KeyDown or KeyPress slot that throws ends
// its key (as on the headless host); after that the key is done as if the slot had returned.
TEST(QtHostErrors, AnExceptionFromASlotReachesTheErrorHandlerAndTypingGoesOn) {
    const std::tuple<std::string, const char*, int> rows[] = {
        // the throwing slot, the text after "x" (the throwing key) and "y", Change's count
        {"KeyDown", "y", 1},
        {"KeyPress", "y", 1},
        {"KeyUp", "xy", 2},
        {"Change", "xy", 1},  // the throwing slot's own count is not reached
    };
    for (const auto& [slot, text, changes] : rows) {
        FocusedForm f;
        std::vector<std::string> errors;
        QtServices::Instance().SetErrorHandler(
            [&](const std::exception& e) { errors.emplace_back(e.what()); });
        bool armed = true;
        int changed = 0;
        f.Hook([&, &s = slot](const std::string& from, int key) {
            if (from == "Change") key = f.Text().endsWith('x') ? 'x' : 0;
            if (from == s && armed && (key == 'x' || key == 'X')) {
                armed = false;
                throw std::runtime_error("boom in " + from);
            }
            changed += from == "Change";
        });
        QTest::keyClicks(f.Target(), "xy");
        QtServices::Instance().SetErrorHandler(nullptr);
        EXPECT_EQ(errors, std::vector<std::string>{"boom in " + slot}) << slot;
        EXPECT_EQ(f.Text(), text) << slot;
        EXPECT_EQ(changed, changes) << slot;
    }
}

// --- Screen metrics ------------------------------------------------------------------------

TEST(QtHostScreen, FieldIsNeverLowerThanQtsMinimumForItsFont) {
    int previousMinimum = 0;
    for (float size : {6.0f, 14.0f, 48.0f}) {
        QtForm f;
        EXPECT_EQ(f.a->site().TwipsPerPixelX(), 15.0f);  // offscreen
        EXPECT_EQ(f.a->site().TwipsPerPixelY(), 15.0f);
        qv::QVtxtBoxControl& box = f.a->box();
        box.FontSize(size);
        QLineEdit reference;
        reference.setFrame(false);
        reference.setFont(qv::qt::ToQFont(*box.Font()));
        const int minimum = reference.minimumSizeHint().height();
        EXPECT_GT(minimum, previousMinimum) << size;  // the font size reached Qt
        previousMinimum = minimum;

        qv::TextField& field = box.Field(0);
        QWidget* editor = conformance::SurfaceOf(*f.a, field);
        ASSERT_NE(editor, nullptr);
        EXPECT_GE(editor->height(), minimum) << size << " pt after the layout";
        EXPECT_GE(f.a->height(), editor->geometry().bottom()) << size << " pt: the box grew";
        field.Height(15);  // one pixel asked for
        EXPECT_GE(field.Height(), minimum * 15) << size << " pt";
        EXPECT_GE(editor->height(), minimum) << size << " pt";
    }
}

}  // namespace
