// Fuzz target: one numeric box and a text box on a headless form, driven by a byte string that
// decodes into user actions and property writes. After every step the box's invariants are
// checked; a violation prints the state and aborts (a crash to libFuzzer, a failure to ctest).
//
// Input format: a sequence of steps, each an opcode byte followed by its operand bytes. An
// operand past the end of the input reads as 0. The opcodes are printable mnemonics, so that
// seeds read as scripts; any other byte b stands for kOps[b % kOps.size()].
//
//   0-9 , . - + space   type that character (into whichever control has the focus)
//   c b                 type the character b (b >= 0x80: one of a table of odd characters)
//   k code shift        press any key: PressKey(code, shift & 7)
//   b d e x             Backspace, Delete, Enter, Escape
//   l L h H n r         Left, Shift+Left, Home, Shift+Home, End, Right
//   C X V Z             Ctrl+C, Ctrl+X, Ctrl+V, Ctrl+Z
//   t T                 Tab, Shift+Tab
//   p S                 clipboard = string S, then Ctrl+V
//   f g o               focus the numeric box, focus the text box, Leave
//   m w x y b           Click on control w&1 at (x, y), buttons b&7 (0: left), shift b>>3 & 7
//   D w x y             DoubleClick                  M w x y   MouseMove
//   G w x y x2 y2 n     Drag with n % 8 moves
//   a n                 AdvanceTime(n × 20 ms)
//   s p V               LetProperty(kProps[p % 32 % count], V): V is a value of the property's
//                       own kind (see kProps), or any variant when p >= 0x80
//   K                   CheckValueNow()
//   R w h               resize the box's site to (w × 16, h × 4) twips
//   v m                 ValidationCheck handler: 0 none, 1 forces true, 2 forces false
//   y m                 KeyPress handler: 0 none, 1 cancels the character, 2 turns it into "9"
//   W                   save the box, load a copy and compare (also done after the last step)
//
// Operands: a string S is a length byte (mod 32) and that many character bytes. A small integer
// is one byte: 0..247 as is, 248..255 one of -1, -2, -32768, 32767, 256, 1000, 300, 16. A long
// is a small integer × 1000 + a byte. A double is a kind byte and then: kind%4 == 0: a signed
// 24-bit mantissa (3 bytes) and a byte whose value mod 8 is the count of decimals; 1: a special
// value by index; 2: 8 raw bytes; 3: a signed byte. Coordinates: x = byte × 8 − 64,
// y = byte × 2 − 16 twips. Any variant is a kind byte (mod 8: Integer (small), Long, Double,
// String, Boolean, Null, Empty, Single) and its value.
//
// Invariants checked after every step:
//  (a) no exception escapes a user-simulation call;
//  (b) a property write succeeds, or throws qv::RuntimeError 380 and changes nothing observable;
//  (c) while the box keeps the focus, no step but a property write makes the display hold more
//      integer or fraction digits than the limits in force, unless it already held more;
//  (d) when the focus leaves the box, the display becomes TextFormatted(); when that raises the
//      "too many pre decimal numbers" 380, the display keeps the text it had;
//  (e) Text and Value read null exactly when IsNull(), and the display is "" then; otherwise
//      Text is the display text; after a successful write that formats (Value; Text when it
//      took the text; PostDecimalNumbers without the focus or below the fraction digits shown)
//      the display is TextFormatted();
//  (f) Separator and DecimalPointCharacter writes keep the number shown (its digits before and
//      after the decimal character, its sign) and raise no Change;
//  (g) an unfocused box that shows TextFormatted() shows the same after saving and loading.
#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <exception>
#include <string_view>

#include "fuzz/numbox_fuzz_state.h"
#include "hosts/headless/HeadlessHost.h"
#include "library/Keyboard.h"
#include "library/MemoryPropertyBag.h"
#include "txtbox/QVtxtBoxControl.h"

// Set by the replay driver (-v): print each step as it runs.
bool gFuzzTrace = false;

namespace {

using namespace qv;
using namespace qv_fuzz;

constexpr std::string_view kOps = "0123456789,.-+ ckbdexlLhHnrCXVZtTpfgomDGMasKRvyW";

// clang-format off
constexpr KeyOp kKeys[] = {
    {'b', Key::Back, 0}, {'d', Key::Delete, 0}, {'e', Key::Return, 0}, {'x', Key::Escape, 0},
    {'l', Key::Left, 0}, {'L', Key::Left, ShiftState::Shift}, {'h', Key::Home, 0},
    {'H', Key::Home, ShiftState::Shift}, {'n', Key::End, 0}, {'r', Key::Right, 0},
    {'C', u'C', ShiftState::Ctrl}, {'X', u'X', ShiftState::Ctrl}, {'V', u'V', ShiftState::Ctrl},
    {'Z', u'Z', ShiftState::Ctrl}, {'p', u'V', ShiftState::Ctrl}, {'t', Key::Tab, 0},
    {'T', Key::Tab, ShiftState::Shift}, {'k', 0, 0}};  // 'k': code and shift from the input
// clang-format on

// Characters that parsers and formatters tend to trip over.
constexpr char16_t kOddChars[16] = {0x00A0, 0x00E4, 0x20AC, 0xD800, 0xDC00, 0xFFFF, 0x0000, 0x2212,
                                    0xFF10, 0x0660, u'\t',  0x00B7, 0x066B, 0x3000, 0xFEFF, 0x00AD};

class Reader : public ByteReader {
  public:
    Reader(const uint8_t* data, size_t size) : ByteReader(data, size, kOddChars) {}
    double Number() {
        // clang-format off
        static constexpr double kSpecial[16] = {NAN, INFINITY, -INFINITY, 0.0, -0.0, 1e15, -1e15,
            1e20, 1e-300, 0.5, 999.995, -0.005, 1e300, 1234567.891, 999999999999999.0, 0.125};
        // clang-format on
        switch (Byte() % 4) {
            case 0: {  // a signed 24-bit mantissa, then the count of decimals
                const auto m = static_cast<int32_t>(static_cast<uint32_t>(Bytes(3)) << 8) >> 8;
                return m / std::pow(10.0, Byte() % 8);
            }
            case 1:
                return kSpecial[Byte() % 16];
            case 2:
                return std::bit_cast<double>(Bytes(8));
            default:
                return static_cast<int8_t>(Byte());
        }
    }
    float X() { return static_cast<float>(Byte()) * 8 - 64; }
    float Y() { return static_cast<float>(Byte()) * 2 - 16; }
    // A value of the given kind (see kProps).
    Variant Make(char kind) {
        switch (kind) {
            case 'i':
                return Variant(SmallInt());
            case 'l':
                return Variant(LongInt());
            case 'n':
                return Variant(Number());
            case 'f': {
                // A double beyond the float range would be undefined behaviour to convert.
                const double d = Number();
                const bool huge = std::isfinite(d) && std::fabs(d) > FLT_MAX;
                return Variant(huge ? (d > 0 ? INFINITY : -INFINITY) : static_cast<float>(d));
            }
            case 's':
                return Variant(Str());
            case 'b':
                return Variant((Byte() & 1) != 0);
            default: {  // any variant: N Null, E Empty
                const char any = "ilnsbNEf"[Byte() % 8];
                return any == 'N' ? Variant::Null() : any == 'E' ? Variant() : Make(any);
            }
        }
    }
};

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
            if (keyPress_ != 0) key = keyPress_ == 1 ? 0 : u'9';
        };
    }

    void Run(Reader& in) {
        while (in.More()) Step(in);
        step_ = "(end of input)";
        RoundTrip();
    }

  private:
    void Step(Reader& in) {
        const size_t at = in.Pos();
        const uint8_t byte = in.Byte();
        const char op = kOps.find(static_cast<char>(byte)) != std::string_view::npos
                            ? static_cast<char>(byte)
                            : kOps[byte % kOps.size()];
        const Snapshot before = Take(box_);
        step_ = "@" + std::to_string(at) + " " + op;
        if (op == 's') return Property(in, before);
        try {
            Act(op, in);
        } catch (const std::exception& e) {
            Fail(std::string("(a) exception escaped a user call: ") + e.what(), step_, before,
                 nullptr);
        }
        Trace();
        const Snapshot after = Take(box_);
        CheckState(before, after);
        if (after.focus != (form_.FocusedControl() == &box_))
            Fail("HasFocus() disagrees with the container's focus", step_, before, &after);
        if (!before.focus || !after.focus) return;
        // (c) The limits in force are the ones before the step (only property writes change them).
        if (after.preDigits.size() > static_cast<size_t>(std::max(before.maxPre, 0)) &&
            after.preDigits.size() > before.preDigits.size())
            Fail("(c) the display gained integer digits beyond PreDecimalNumbers", step_, before,
                 &after);
        if (after.postDigits.size() > static_cast<size_t>(std::max(before.maxPost, 0)) &&
            after.postDigits.size() > before.postDigits.size())
            Fail("(c) the display gained fraction digits beyond PostDecimalNumbers", step_, before,
                 &after);
    }

    void Act(char op, Reader& in) {
        const bool focused = form_.FocusedControl() != nullptr;
        if (op == 'p') form_.Clipboard() = in.Str();
        for (const KeyOp& k : kKeys)
            if (k.op == op) {
                const auto code = k.code ? k.code : static_cast<int16_t>(in.Byte());
                const auto shift = k.code ? k.shift : static_cast<int16_t>(in.Byte() & 7);
                if (focused || code == Key::Tab) form_.PressKey(code, shift);
                return;
            }
        switch (op) {
            case 'f':
            case 'g':
                form_.Focus(op == 'f' ? static_cast<Control&>(box_) : other_);
                break;
            case 'o':
                form_.Leave();
                break;
            case 'm':
            case 'D':
            case 'G':
            case 'M': {
                Control& target = (in.Byte() & 1) ? static_cast<Control&>(other_) : box_;
                const float x = in.X(), y = in.Y();
                MouseAction(form_, target, op, x, y, in);
                break;
            }
            case 'a':
                form_.AdvanceTime(in.Byte() * 0.02);
                break;
            case 'K':
                (void)box_.CheckValueNow();
                break;
            case 'R': {
                const int w = in.Byte() * 16;
                form_.SiteOf(box_).Resize(w, in.Byte() * 4);
                break;
            }
            case 'v':
            case 'y':
                (op == 'v' ? validation_ : keyPress_) = in.Byte() % 3;
                break;
            case 'W':
                RoundTrip();
                break;
            default: {  // a character to type
                const char16_t c = op == 'c' ? in.Char() : char16_t(op);
                step_ += " \"" + Printable(StringView(&c, 1)) + "\"";
                if (focused) form_.Type(StringView(&c, 1));
            }
        }
    }

    // One property write by late binding; checks (b) and what the write promises.
    void Property(Reader& in, const Snapshot& before) {
        const uint8_t p = in.Byte();
        const Prop& prop = kProps[p % 32 % kPropCount];
        const String name = prop.name;
        const Variant value = in.Make(p >= 0x80 ? 'v' : prop.kind);
        step_ += " LetProperty " + ToUtf8(name) + " = " + Show(value);
        const int changesBefore = changes_;
        int32_t error = 0;
        try {
            box_.LetProperty(name, value);
        } catch (const RuntimeError& e) {
            error = e.Number();
            step_ += "  (refused: " + Printable(e.Description()) + ")";
        } catch (const std::exception& e) {
            Fail(std::string("(b) a property write threw ") + e.what(), step_, before, nullptr);
        }
        Trace();
        const Snapshot after = Take(box_);
        if (error != 0 && error != err::InvalidPropertyValue)
            Fail("(b) a property write raised error " + std::to_string(error), step_, before,
                 &after);
        if (const std::string field = Difference(before, after); error != 0 && !field.empty())
            Fail("(b) a refused write changed " + field, step_, before, &after);
        if (error != 0) return;
        CheckState(before, after);
        // (f) Regrouping and a new decimal character show the same number, without Change.
        if (name == u"Separator" || name == u"DecimalPointCharacter") {
            if (after.preDigits != before.preDigits || after.postDigits != before.postDigits ||
                after.display.starts_with(u'-') != before.display.starts_with(u'-'))
                Fail("(f) the write changed the number shown", step_, before, &after);
            if (changes_ != changesBefore)
                Fail("(f) the write raised Change", step_, before, &after);
        }
        // (e) Writes that format the value leave the display formatted.
        bool formats = name == u"Value";
        if (name == u"Text") formats = !Difference(before, after).empty();
        if (name == u"PostDecimalNumbers")
            formats =
                !before.focus || before.postDigits.size() > static_cast<size_t>(after.maxPost);
        if (formats && after.display != Formatted(before, &after))
            Fail("(e) after the write the display is not TextFormatted()", step_, before, &after);
    }

    // TextFormatted(); fails on any error but "too many pre decimal numbers" when `tooMany` may
    // take it.
    String Formatted(const Snapshot& before, const Snapshot* after, bool* tooMany = nullptr) {
        try {
            return box_.TextFormatted();
        } catch (const RuntimeError& e) {
            if (!tooMany || e.Number() != err::InvalidPropertyValue ||
                e.Description().find(u"pre decimal") == String::npos)
                Fail(std::string("TextFormatted() raised ") + e.what(), step_, before, after);
            *tooMany = true;
            return {};
        }
    }

    // (e) null and Text agree; (d) when the focus left during the step.
    void CheckState(const Snapshot& before, const Snapshot& s) {
        const Variant& value = s.props[kValueIndex];
        const Variant& text = s.props[kTextIndex];
        if (value.IsNull() != s.isNull || text.IsNull() != s.isNull)
            Fail("(e) Value and Text are null exactly when IsNull(): not so", step_, before, &s);
        if (s.isNull ? !s.display.empty() : !(text.IsString() && text.ToString() == s.display))
            Fail("(e) Text is not the display text (\"\" when null)", step_, before, &s);
        if (!before.focus || s.focus) return;
        bool tooMany = false;
        const String formatted = Formatted(before, &s, &tooMany);
        if (s.display != (tooMany ? before.display : formatted))
            Fail("(d) after leaving, the display is not TextFormatted() \"" + Printable(formatted) +
                     "\" (or as typed when it does not fit)",
                 step_, before, &s);
    }

    // (g) A box that shows its formatted value, saved and loaded into a new box, shows the same.
    void RoundTrip() {
        const Snapshot now = Take(box_);
        if (now.focus) return;
        bool tooMany = false;
        if (Formatted(now, nullptr, &tooMany) != now.display || tooMany) return;
        // A value made negative before AllowMinus was turned off does not load (reported).
        if (now.display.starts_with(u'-') && !now.allowMinus) return;
        MemoryPropertyBag bag;
        String shown;
        try {
            form_.Save(box_, bag);
            auto& copy = form_.Load<QVnumBoxControl>(u"copy", bag);
            shown = copy.DisplayText();
            form_.Remove(copy);
        } catch (const std::exception& e) {
            Fail(std::string("(g) saving or loading threw ") + e.what(), step_, now, nullptr);
        }
        if (shown != now.display)
            Fail("(g) saved and loaded, the box shows \"" + Printable(shown) + "\"", step_, now,
                 nullptr);
    }

    void Trace() const {
        if (gFuzzTrace) std::fprintf(stderr, "step: %s\n", step_.c_str());
    }

    headless::Container form_;
    QVnumBoxControl& box_;
    QVtxtBoxControl& other_;
    std::string step_;
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
