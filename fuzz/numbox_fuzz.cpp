// Fuzz target: one numeric box and a text box on a headless form, driven by a byte string that
// decodes into user actions and property writes. After every step the box's invariants are
// checked; a violation prints the state and aborts (a crash to libFuzzer, a failure to ctest).
//
// Input format: a sequence of steps, each an opcode byte followed by its operand bytes. An
// operand past the end of the input reads as 0. Printable opcodes are mnemonics, so that seeds
// read as scripts; every other byte maps onto one of the operations below.
//
//   0-9 , . - + space   type that character (into whichever control has the focus)
//   c b                 type the character b (b >= 0x80: one of a table of odd characters)
//   k code shift        press any key: PressKey(code, shift & 7)
//   b d e x             Backspace, Delete, Enter, Escape
//   l L h H n r         Left, Shift+Left, Home, Shift+Home, End, Right
//   C X V Z             Ctrl+C, Ctrl+X, Ctrl+V, Ctrl+Z
//   p S                 clipboard = string S, then Ctrl+V
//   f g o t T           focus the numeric box, focus the text box, Leave, Tab, Shift+Tab
//   m w x y b           Click on control w&1 at (x, y), buttons b&7 (0 → left), shift b>>3 & 7
//   D w x y             DoubleClick                  M w x y   MouseMove
//   G w x y x2 y2 n     Drag with n % 8 moves
//   a n                 AdvanceTime(n × 20 ms)
//   s p ...             typed property write, property p % 23 (see SetTyped)
//   q p V               late-bound write: LetProperty(name p (see kNames), variant V)
//   K                   CheckValueNow()
//   R w h               resize the box's site to (w × 16, h × 4) twips
//   v m                 ValidationCheck handler: 0 none, 1 forces true, 2 forces false
//   y m                 KeyPress handler: 0 none, 1 cancels the character, 2 turns it into "9"
//   W                   save the box, load a copy and compare (also done after the last step)
//
// Operands: a string S is a length byte (mod 32) and that many character bytes. A small integer
// is one byte: 0..247 as is, 248..255 one of -1, -2, -32768, 32767, 256, 1000, 300, 16. A number
// N is a kind byte and then: kind%4 == 0: a signed 24-bit mantissa (3 bytes) and a byte whose
// value mod 8 is the count of decimals; 1: a special value by index; 2: 8 raw bytes of a double;
// 3: a signed byte. Coordinates: x = byte × 8 − 64, y = byte × 2 − 16 twips. A variant V is a
// kind byte (mod 8: Integer, Long, Double, String, Boolean, Null, Empty, Single) and its value.
//
// Invariants checked after every step:
//  (a) no exception escapes a user-simulation call;
//  (b) a property write succeeds, or throws qv::RuntimeError 380 and changes nothing observable;
//  (c) while the box keeps the focus, no step but a property write makes the display hold more
//      integer or fraction digits than the limits in force, unless it already held more;
//  (d) when the focus leaves the box, the display becomes TextFormatted(); when that raises the
//      "too many pre decimal numbers" 380, the display keeps the text it had;
//  (e) Text and Value read null exactly when IsNull(), and the display is "" then; otherwise
//      Text is the display text;
//      after a successful write that formats (Value; Text when it took the text;
//      PostDecimalNumbers without the focus or below the fraction digits shown) the display is
//      TextFormatted();
//  (f) Separator and DecimalPointCharacter writes keep the number shown (its digits before and
//      after the decimal character, its sign) and raise no Change;
//  (g) an unfocused box that shows TextFormatted() shows the same after saving and loading.
#include <array>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <utility>

#include "fuzz/numbox_fuzz_state.h"
#include "hosts/headless/HeadlessHost.h"
#include "library/Keyboard.h"
#include "library/MemoryPropertyBag.h"
#include "library/RuntimeError.h"
#include "numbox/NumberText.h"
#include "numbox/QVnumBoxControl.h"
#include "txtbox/QVtxtBoxControl.h"

// Set by the replay driver (-v): print each step as it runs.
bool gNumBoxFuzzTrace = false;

namespace {

using namespace qv;
using namespace qv_fuzz;

enum class Op : uint8_t {
    TypeSelf,
    TypeChar,
    Key,
    Backspace,
    Delete,
    Enter,
    Escape,
    Left,
    ShiftLeft,
    Home,
    ShiftHome,
    End,
    Right,
    CtrlC,
    CtrlX,
    CtrlV,
    CtrlZ,
    Paste,
    FocusBox,
    FocusOther,
    Leave,
    Tab,
    ShiftTab,
    Click,
    DoubleClick,
    Drag,
    MouseMove,
    Advance,
    Set,
    Let,
    CheckNow,
    Resize,
    Validation,
    KeyPressMode,
    RoundTrip,
    Count
};

constexpr std::array<Op, 256> MakeOpTable() {
    std::array<Op, 256> t{};
    constexpr auto kOps = static_cast<int>(Op::Count);
    for (int b = 0; b < 256; ++b) t[b] = static_cast<Op>(1 + b % (kOps - 1));  // not TypeSelf
    for (char c : {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', ',', '.', '-', '+', ' '})
        t[static_cast<uint8_t>(c)] = Op::TypeSelf;
    const std::pair<char, Op> mnemonics[] = {
        {'c', Op::TypeChar},   {'k', Op::Key},        {'b', Op::Backspace},
        {'d', Op::Delete},     {'e', Op::Enter},      {'x', Op::Escape},
        {'l', Op::Left},       {'L', Op::ShiftLeft},  {'h', Op::Home},
        {'H', Op::ShiftHome},  {'n', Op::End},        {'r', Op::Right},
        {'C', Op::CtrlC},      {'X', Op::CtrlX},      {'V', Op::CtrlV},
        {'Z', Op::CtrlZ},      {'p', Op::Paste},      {'f', Op::FocusBox},
        {'g', Op::FocusOther}, {'o', Op::Leave},      {'t', Op::Tab},
        {'T', Op::ShiftTab},   {'m', Op::Click},      {'D', Op::DoubleClick},
        {'G', Op::Drag},       {'M', Op::MouseMove},  {'a', Op::Advance},
        {'s', Op::Set},        {'q', Op::Let},        {'K', Op::CheckNow},
        {'R', Op::Resize},     {'v', Op::Validation}, {'y', Op::KeyPressMode},
        {'W', Op::RoundTrip}};
    for (auto [c, op] : mnemonics) t[static_cast<uint8_t>(c)] = op;
    return t;
}
constexpr std::array<Op, 256> kOpTable = MakeOpTable();

// Characters that parsers and formatters tend to trip over.
constexpr char16_t kOddChars[16] = {0x00A0, 0x00E4, 0x20AC, 0xD800, 0xDC00, 0xFFFF, 0x0000, 0x2212,
                                    0xFF10, 0x0660, u'\t',  0x00B7, 0x066B, 0x3000, 0xFEFF, 0x00AD};

class Reader {
  public:
    Reader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool More() const { return pos_ < size_; }
    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    char16_t Char() {
        const uint8_t b = Byte();
        return b < 0x80 ? char16_t{b} : kOddChars[b & 15];
    }
    String Str() {
        String s(Byte() % 32, u'\0');
        for (char16_t& c : s) c = Char();
        return s;
    }
    int16_t SmallInt() {
        static constexpr int16_t kExtremes[8] = {-1, -2, -32768, 32767, 256, 1000, 300, 16};
        const uint8_t b = Byte();
        return b < 248 ? int16_t{b} : kExtremes[b - 248];
    }
    double Number() {
        static constexpr double kSpecial[16] = {
            NAN,     INFINITY, -INFINITY, 0.0,         -0.0,
            1e15,    -1e15,    1e20,      1e-300,      0.5,
            999.995, -0.005,   1e300,     1234567.891, 999999999999999.0,
            0.125};
        const uint8_t kind = Byte();
        switch (kind % 4) {
            case 0: {
                int32_t m = Byte();
                m |= Byte() << 8;
                m |= Byte() << 16;
                if (m & 0x800000) m -= 0x1000000;
                return m / std::pow(10.0, Byte() % 8);
            }
            case 1:
                return kSpecial[Byte() % 16];
            case 2: {
                uint8_t raw[8];
                for (uint8_t& r : raw) r = Byte();
                double d;
                std::memcpy(&d, raw, sizeof d);
                return d;
            }
            default:
                return static_cast<int8_t>(Byte());
        }
    }
    // A Long around the small integers' range: SmallInt × 1000 + a byte.
    int32_t Long() {
        const int32_t high = SmallInt();
        return high * 1000 + Byte();
    }
    float X() { return static_cast<float>(Byte()) * 8 - 64; }
    float Y() { return static_cast<float>(Byte()) * 2 - 16; }
    Variant AnyVariant() {
        switch (Byte() % 8) {
            case 0:
                return Variant(SmallInt());
            case 1:
                return Variant(Long());
            case 2:
                return Variant(Number());
            case 3:
                return Variant(Str());
            case 4:
                return Variant((Byte() & 1) != 0);
            case 5:
                return Variant::Null();
            case 6:
                return Variant();
            default: {
                // A double beyond the float range would be undefined behaviour to convert.
                const double d = Number();
                const bool huge = std::isfinite(d) && std::fabs(d) > FLT_MAX;
                return Variant(huge ? (d > 0 ? INFINITY : -INFINITY) : static_cast<float>(d));
            }
        }
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// --- The form -------------------------------------------------------------------------------

class Harness {
  public:
    Harness()
        : box_(form_.Add<QVnumBoxControl>(u"numBox")),
          other_(form_.Add<QVtxtBoxControl>(u"txtOther")) {
        box_.events.ValidationCheck = [this](bool& ok) {
            if (validation_ != 0) ok = validation_ == 1;
        };
        box_.events.Change = [this] { ++changes_; };
        box_.events.KeyPress = [this](int16_t& key) {
            if (keyPress_ == 1) key = 0;
            if (keyPress_ == 2) key = u'9';
        };
    }

    void Run(Reader& in) {
        while (in.More()) Step(in);
        step_ = u"(end of input)";
        RoundTrip();
    }

  private:
    numtext::Chars CharsOf(const Snapshot& s) const {
        numtext::Chars c;
        c.dec = s.dec.empty() ? u',' : s.dec[0];
        c.sep = c.dec == u'.' ? u',' : u'.';
        return c;
    }

    void Press(int16_t code, int16_t shift, const char16_t* name) {
        step_ = name;
        if (form_.FocusedControl()) form_.PressKey(code, shift);
    }

    void Step(Reader& in) {
        const uint8_t opByte = in.Byte();
        const Op op = kOpTable[opByte];
        const Snapshot before = Take(box_);
        step_.clear();
        try {
            switch (op) {
                case Op::TypeSelf:
                case Op::TypeChar: {
                    const char16_t c = op == Op::TypeSelf ? char16_t{opByte} : in.Char();
                    step_ = u"Type \"" + String(1, c) + u"\"";
                    if (form_.FocusedControl()) form_.Type(StringView(&c, 1));
                    break;
                }
                case Op::Key: {
                    const auto code = static_cast<int16_t>(in.Byte());
                    const auto shift = static_cast<int16_t>(in.Byte() & 7);
                    step_ = u"PressKey " +
                            FromUtf8(std::to_string(code) + " shift " + std::to_string(shift));
                    if (form_.FocusedControl() || code == Key::Tab) form_.PressKey(code, shift);
                    break;
                }
                case Op::Backspace:
                    Press(Key::Back, 0, u"Backspace");
                    break;
                case Op::Delete:
                    Press(Key::Delete, 0, u"Delete");
                    break;
                case Op::Enter:
                    Press(Key::Return, 0, u"Enter");
                    break;
                case Op::Escape:
                    Press(Key::Escape, 0, u"Escape");
                    break;
                case Op::Left:
                    Press(Key::Left, 0, u"Left");
                    break;
                case Op::ShiftLeft:
                    Press(Key::Left, ShiftState::Shift, u"Shift+Left");
                    break;
                case Op::Home:
                    Press(Key::Home, 0, u"Home");
                    break;
                case Op::ShiftHome:
                    Press(Key::Home, ShiftState::Shift, u"Shift+Home");
                    break;
                case Op::End:
                    Press(Key::End, 0, u"End");
                    break;
                case Op::Right:
                    Press(Key::Right, 0, u"Right");
                    break;
                case Op::CtrlC:
                    Press(u'C', ShiftState::Ctrl, u"Ctrl+C");
                    break;
                case Op::CtrlX:
                    Press(u'X', ShiftState::Ctrl, u"Ctrl+X");
                    break;
                case Op::CtrlV:
                    Press(u'V', ShiftState::Ctrl, u"Ctrl+V");
                    break;
                case Op::CtrlZ:
                    Press(u'Z', ShiftState::Ctrl, u"Ctrl+Z");
                    break;
                case Op::Paste:
                    form_.Clipboard() = in.Str();
                    Press(u'V', ShiftState::Ctrl, u"Ctrl+V");
                    step_ = u"paste \"" + form_.Clipboard() + u"\"";
                    break;
                case Op::FocusBox:
                    step_ = u"Focus numBox";
                    form_.Focus(box_);
                    break;
                case Op::FocusOther:
                    step_ = u"Focus txtOther";
                    form_.Focus(other_);
                    break;
                case Op::Leave:
                    step_ = u"Leave";
                    form_.Leave();
                    break;
                case Op::Tab:
                case Op::ShiftTab:
                    step_ = op == Op::Tab ? u"Tab" : u"Shift+Tab";
                    form_.PressKey(Key::Tab, op == Op::Tab ? 0 : ShiftState::Shift);
                    break;
                case Op::Click:
                case Op::DoubleClick:
                case Op::Drag:
                case Op::MouseMove:
                    Mouse(op, in);
                    break;
                case Op::Advance: {
                    const int n = in.Byte();
                    step_ = u"AdvanceTime " + FromUtf8(std::to_string(n * 20)) + u" ms";
                    form_.AdvanceTime(n * 0.02);
                    break;
                }
                case Op::Set:
                case Op::Let:
                    Property(op == Op::Let, in, before);
                    Trace();
                    return;
                case Op::CheckNow:
                    step_ = u"CheckValueNow";
                    (void)box_.CheckValueNow();
                    break;
                case Op::Resize: {
                    const int w = in.Byte() * 16, h = in.Byte() * 4;
                    step_ = u"Resize " + FromUtf8(std::to_string(w) + " x " + std::to_string(h));
                    form_.SiteOf(box_).Resize(w, h);
                    break;
                }
                case Op::Validation:
                    validation_ = in.Byte() % 3;
                    step_ = u"ValidationCheck mode " + FromUtf8(std::to_string(validation_));
                    break;
                case Op::KeyPressMode:
                    keyPress_ = in.Byte() % 3;
                    step_ = u"KeyPress mode " + FromUtf8(std::to_string(keyPress_));
                    break;
                case Op::RoundTrip:
                    step_ = u"save and load a copy";
                    RoundTrip();
                    break;
                case Op::Count:
                    break;
            }
        } catch (const RuntimeError& e) {
            Fail(("(a) error " + std::to_string(e.Number()) + " \"" + Printable(e.Description()) +
                  "\" escaped a user call")
                     .c_str(),
                 step_, before, nullptr);
        } catch (const std::exception& e) {
            Fail((std::string("(a) exception escaped a user call: ") + e.what()).c_str(), step_,
                 before, nullptr);
        }
        Trace();
        Check(before);
    }

    void Mouse(Op op, Reader& in) {
        Control& target = (in.Byte() & 1) ? static_cast<Control&>(other_) : box_;
        const float x = in.X(), y = in.Y();
        const String on = String(&target == &box_ ? u"numBox" : u"txtOther") + u" at " +
                          FromUtf8(std::to_string(static_cast<int>(x)) + "," +
                                   std::to_string(static_cast<int>(y)));
        switch (op) {
            case Op::Click: {
                const uint8_t b = in.Byte();
                const auto button = static_cast<int16_t>((b & 7) ? (b & 7) : MouseButton::Left);
                const auto shift = static_cast<int16_t>((b >> 3) & 7);
                step_ = u"Click " + on + u" button " + FromUtf8(std::to_string(button));
                form_.Click(target, x, y, button, shift);
                break;
            }
            case Op::DoubleClick:
                step_ = u"DoubleClick " + on;
                form_.DoubleClick(target, x, y);
                break;
            case Op::Drag: {
                const float x2 = in.X(), y2 = in.Y();
                const int steps = in.Byte() % 8;
                step_ = u"Drag " + on + u" to " +
                        FromUtf8(std::to_string(static_cast<int>(x2)) + "," +
                                 std::to_string(static_cast<int>(y2)));
                form_.Drag(target, x, y, x2, y2, steps);
                break;
            }
            default:
                step_ = u"MouseMove " + on;
                form_.MouseMove(target, x, y);
                break;
        }
    }

    // Decodes and performs one property write, then checks (b) and what the write promises.
    void Property(bool lateBound, Reader& in, const Snapshot& before) {
        // clang-format off
        static constexpr const char16_t* kNames[] = {
            u"PreDecimalNumbers", u"PostDecimalNumbers", u"DecimalPointCharacter", u"Separator",
            u"AllowMinus", u"SmallestValue", u"LargestValue", u"CheckRange", u"Value", u"Text",
            u"Enabled", u"Locked", u"SelectedOnGotFocus", u"MustHaveValue",
            u"IncludeSmallestValueToRange", u"IncludeLargestValueToRange", u"UseWarningColor",
            u"FontSize", u"Appearance", u"BorderStyle", u"BackColor", u"FocusColor",
            u"MousePointer", u"FontName", u"FontBold"};
        // clang-format on
        constexpr int kCount = sizeof kNames / sizeof kNames[0];
        const uint8_t p = in.Byte();
        String written;
        const int changesBefore = changes_;
        try {
            if (lateBound) {
                written = kNames[p % kCount];
                const Variant v = in.AnyVariant();
                step_ = u"LetProperty " + written + u" = " + FromUtf8(Show(v));
                box_.LetProperty(written, v);
            } else {
                written = SetTyped(p, in);
            }
        } catch (const RuntimeError& e) {
            if (gNumBoxFuzzTrace) step_ += u"  (refused: " + e.Description() + u")";
            const Snapshot after = Take(box_);
            if (e.Number() != err::InvalidPropertyValue)
                Fail(("(b) a property write raised error " + std::to_string(e.Number())).c_str(),
                     step_, before, &after);
            if (const char* field = Difference(before, after))
                Fail((std::string("(b) a refused write changed ") + field).c_str(), step_, before,
                     &after);
            return;
        } catch (const std::exception& e) {
            Fail((std::string("(b) a property write threw ") + e.what()).c_str(), step_, before,
                 nullptr);
        }
        const Snapshot after = Take(box_);
        CheckNullAndText(after, before);
        CheckLeave(before, after);
        const bool regrouping = written == u"Separator" || written == u"DecimalPointCharacter";
        // (f) Regrouping and a new decimal character show the same number, without Change.
        const numtext::Chars c0 = CharsOf(before), c1 = CharsOf(after);
        if (regrouping && (numtext::PreDecimalDigits(before.display, c0) !=
                               numtext::PreDecimalDigits(after.display, c1) ||
                           numtext::PostDecimalDigits(before.display, c0) !=
                               numtext::PostDecimalDigits(after.display, c1) ||
                           Digits(after.display) != Digits(before.display) ||
                           IsMinus(after.display) != IsMinus(before.display)))
            Fail("(f) a Separator or DecimalPointCharacter write changed the number shown", step_,
                 before, &after);
        if (regrouping && changes_ != changesBefore)
            Fail("(f) a Separator or DecimalPointCharacter write raised Change", step_, before,
                 &after);
        // (e) Writes that format the value leave the display formatted.
        bool formats = written == u"Value";
        if (written == u"Text") formats = Difference(before, after) != nullptr;
        if (written == u"PostDecimalNumbers")
            formats = !before.focus ||
                      numtext::PostDecimalDigits(before.display, CharsOf(before)).size() >
                          static_cast<size_t>(after.post);
        if (!formats) return;
        String formatted;
        try {
            formatted = box_.TextFormatted();
        } catch (const RuntimeError& e) {
            Fail(("(e) TextFormatted raised error " + std::to_string(e.Number()) +
                  " after a successful write that formats")
                     .c_str(),
                 step_, before, &after);
        }
        if (after.display != formatted)
            Fail(("(e) after the write the display is not TextFormatted() \"" +
                  Printable(formatted) + "\"")
                     .c_str(),
                 step_, before, &after);
    }

    static String Digits(const String& text) {
        String d;
        for (char16_t c : text)
            if (c >= u'0' && c <= u'9') d.push_back(c);
        return d;
    }
    static bool IsMinus(const String& text) { return !text.empty() && text[0] == u'-'; }

    // A typed setter; returns the property's name.
    String SetTyped(uint8_t p, Reader& in) {
        String name;
        auto say = [&](const char* what, const std::string& v) {
            name = FromUtf8(what);
            step_ = name + u" = " + FromUtf8(v);
        };
        auto flag = [&](const char* what, void (QVnumBoxControl::*set)(bool)) {
            const bool v = (in.Byte() & 1) != 0;
            say(what, v ? "true" : "false");
            (box_.*set)(v);
        };
        constexpr int kTyped = 23;
        switch (p % kTyped) {
            case 0: {
                const int16_t v = in.SmallInt();
                say("PreDecimalNumbers", std::to_string(v));
                box_.PreDecimalNumbers(v);
                break;
            }
            case 1: {
                const int16_t v = in.SmallInt();
                say("PostDecimalNumbers", std::to_string(v));
                box_.PostDecimalNumbers(v);
                break;
            }
            case 2: {
                const String v = in.Str();
                say("DecimalPointCharacter", "\"" + Printable(v) + "\"");
                box_.DecimalPointCharacter(v);
                break;
            }
            case 3:
                flag("Separator", &QVnumBoxControl::Separator);
                break;
            case 4:
                flag("AllowMinus", &QVnumBoxControl::AllowMinus);
                break;
            case 5: {
                const double v = in.Number();
                say("SmallestValue", Printable(DoubleToString(v)));
                box_.SmallestValue(v);
                break;
            }
            case 6: {
                const double v = in.Number();
                say("LargestValue", Printable(DoubleToString(v)));
                box_.LargestValue(v);
                break;
            }
            case 7:
                flag("CheckRange", &QVnumBoxControl::CheckRange);
                break;
            case 8:
            case 9:
            case 10:
            case 11: {
                Variant v;
                if (p % kTyped == 8) v = Variant(in.Number());
                if (p % kTyped == 9) v = Variant(in.Str());
                if (p % kTyped == 10) v = Variant::Null();
                if (p % kTyped == 11) v = Variant(in.Long());
                say("Value", Show(v));
                box_.Value(v);
                break;
            }
            case 12:
            case 13: {
                const Variant v = p % kTyped == 12 ? Variant(in.Str()) : Variant::Null();
                say("Text", Show(v));
                box_.Text(v);
                break;
            }
            case 14:
                flag("Enabled", &QVnumBoxControl::Enabled);
                break;
            case 15:
                flag("Locked", &QVnumBoxControl::Locked);
                break;
            case 16:
                flag("SelectedOnGotFocus", &QVnumBoxControl::SelectedOnGotFocus);
                break;
            case 17:
                flag("MustHaveValue", &QVnumBoxControl::MustHaveValue);
                break;
            case 18:
                flag("IncludeSmallestValueToRange", &QVnumBoxControl::IncludeSmallestValueToRange);
                break;
            case 19:
                flag("UseWarningColor", &QVnumBoxControl::UseWarningColor);
                break;
            case 20:
                flag("IncludeLargestValueToRange", &QVnumBoxControl::IncludeLargestValueToRange);
                break;
            case 21: {
                const float v = static_cast<float>(in.SmallInt()) / 4;
                say("FontSize", std::to_string(v));
                box_.FontSize(v);
                break;
            }
            default: {
                const int16_t v = in.SmallInt();
                const bool border = (v & 1) != 0;
                say(border ? "BorderStyle" : "Appearance", std::to_string(v >> 1));
                if (border)
                    box_.BorderStyle(static_cast<NoneFixedSingle>(v >> 1));
                else
                    box_.Appearance(static_cast<Flat3d>(v >> 1));
                break;
            }
        }
        return name;
    }

    void CheckNullAndText(const Snapshot& s, const Snapshot& before) {
        if (s.value.IsNull() != s.isNull)
            Fail("(e) Value is null exactly when IsNull(): not so", step_, before, &s);
        if (s.text.IsNull() != s.isNull)
            Fail("(e) Text is null exactly when IsNull(): not so", step_, before, &s);
        if (s.isNull && !s.display.empty())
            Fail("(e) an empty (null) box shows a number", step_, before, &s);
        if (!s.isNull && !(s.text.IsString() && s.text.ToString() == s.display))
            Fail("(e) Text is not the display text", step_, before, &s);
    }

    // (d): the focus left the box during the step.
    void CheckLeave(const Snapshot& before, const Snapshot& after) {
        if (!before.focus || after.focus) return;
        bool tooMany = false;
        String formatted;
        try {
            formatted = box_.TextFormatted();
        } catch (const RuntimeError& e) {
            if (!IsTooManyPre(e))
                Fail("(d) TextFormatted raised another error", step_, before, &after);
            tooMany = true;
        }
        if (!tooMany && after.display != formatted)
            Fail(("(d) after leaving, the display is not TextFormatted() \"" +
                  Printable(formatted) + "\"")
                     .c_str(),
                 step_, before, &after);
        if (tooMany && after.display != before.display)
            Fail("(d) leaving with too many pre decimal digits changed the display", step_, before,
                 &after);
    }

    void Check(const Snapshot& before) {
        const Snapshot after = Take(box_);
        CheckNullAndText(after, before);
        if (after.focus != (form_.FocusedControl() == &box_))
            Fail("HasFocus() disagrees with the container's focus", step_, before, &after);
        CheckLeave(before, after);
        if (!before.focus || !after.focus) return;
        // (c) Limits in force are the ones before the step (only property writes change them).
        const numtext::Chars c0 = CharsOf(before), c1 = CharsOf(after);
        const size_t pre0 = numtext::PreDecimalDigits(before.display, c0).size();
        const size_t post0 = numtext::PostDecimalDigits(before.display, c0).size();
        const size_t pre1 = numtext::PreDecimalDigits(after.display, c1).size();
        const size_t post1 = numtext::PostDecimalDigits(after.display, c1).size();
        const auto preLimit = static_cast<size_t>(std::max<int>(before.pre, 0));
        const auto postLimit = static_cast<size_t>(std::max<int>(before.post, 0));
        if (pre1 > preLimit && pre1 > pre0)
            Fail("(c) the display gained integer digits beyond PreDecimalNumbers", step_, before,
                 &after);
        if (post1 > postLimit && post1 > post0)
            Fail("(c) the display gained fraction digits beyond PostDecimalNumbers", step_, before,
                 &after);
    }

    // (g) A box that shows its formatted value, saved and loaded into a new box, shows the same.
    void RoundTrip() {
        const Snapshot now = Take(box_);
        if (now.focus) return;
        try {
            if (box_.TextFormatted() != now.display) return;
        } catch (const RuntimeError&) {
            return;  // the display is kept as typed: it no longer fits the limits
        }
        // A value made negative before AllowMinus was turned off does not load (reported).
        if (IsMinus(now.display) && !now.allowMinus) return;
        MemoryPropertyBag bag;
        String shown;
        try {
            form_.Save(box_, bag);
            auto& copy = form_.Load<QVnumBoxControl>(u"copy", bag);
            shown = copy.DisplayText();
            form_.Remove(copy);
        } catch (const std::exception& e) {
            Fail((std::string("(g) saving or loading threw ") + e.what()).c_str(), step_, now,
                 nullptr);
        }
        if (shown != now.display)
            Fail(("(g) saved and loaded, the box shows \"" + Printable(shown) + "\"").c_str(),
                 step_, now, nullptr);
    }

    void Trace() const {
        if (gNumBoxFuzzTrace) std::fprintf(stderr, "step: %s\n", Printable(step_).c_str());
    }

    headless::Container form_;
    QVnumBoxControl& box_;
    QVtxtBoxControl& other_;
    String step_;
    int validation_ = 0;
    int keyPress_ = 0;
    int changes_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Reader in(data, size);
    Harness harness;
    harness.Run(in);
    return 0;
}
