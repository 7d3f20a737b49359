// Fuzz target: a text box and a second text box on a headless form, driven by a byte string that
// decodes into user actions, property writes and application handlers (some of which throw).
// After every step the box's invariants are checked; a violation prints the state and aborts (a
// crash to libFuzzer, a failure to ctest).
//
// Input format: a sequence of steps, each an opcode byte followed by its operand bytes. An
// operand past the end of the input reads as 0. The opcodes are printable mnemonics, so that
// seeds read as scripts; any other byte b stands for kOps[b % kOps.size()].
//
//   c b                 type the character b (b >= 0x80: one of a table of odd characters)
//   " S                 type the string S
//   k code shift        press any key: PressKey(code, shift & 7)
//   b d e x             Backspace, Delete, Enter, Escape
//   l L r R h H n N u w Left, Shift+Left, Right, Shift+Right, Home, Shift+Home, End, Shift+End,
//                       Up, Down
//   C X V Z             Ctrl+C, Ctrl+X, Ctrl+V, Ctrl+Z
//   t T                 Tab, Shift+Tab
//   p S                 clipboard = string S, then Ctrl+V
//   P n                 clipboard = (n % 64) × 64 characters, then Ctrl+V
//   f g o               focus the box, focus the other text box, Leave
//   m w x y b           Click on control w&1 at (x, y), buttons b&7 (0: left), shift b>>3 & 7
//   D w x y             DoubleClick                  M w x y   MouseMove
//   G w x y x2 y2 n     Drag with n % 8 moves
//   a n                 AdvanceTime(n × 20 ms)
//   s p V               LetProperty(kProps[p % 32 % count], V): V is a value of the property's
//                       own kind (see kProps), or any variant when p >= 0x80
//   E n                 Text = (n % 64) × 64 characters, by the typed setter
//   K F                 CheckValueNow(), FormatText()
//   z w h               resize the box's site to (w, h): a byte × 16 (w) or × 4 (h) twips, or
//                       from 250 up one of 32767, 32768, 65535, 2^24, 2^30, 2^31 − 1
//   v m                 ValidationCheck handler (m % 4): none, forces true, forces false, throws;
//                       then CheckValueNow()
//   y m                 KeyPress handler (m % 4): none, cancels the character, turns it into
//                       "a", throws
//   q m                 KeyDown handler (m % 3): none, clears KeyCode, throws
//   j m                 Change handler (m % 4): none, throws, writes Text " re " (not from
//                       within its own write), writes it and throws
//   W                   save the box, load a copy and compare (also done after the last step)
//
// Operands: a string S is a length byte (mod 32) and that many character bytes. A small integer
// is one byte: 0..247 as is, 248..255 one of -1, -2, -32768, 32767, 256, 1000, 300, 16. A long
// is a small integer × 1000 + a byte. A font size is a kind byte and then: kind%4 == 0: a byte;
// 1: a special size by index (tiny, denormal, zero, huge, infinite, NaN, the limits); 2: 4 raw
// bytes; 3: a byte / 16. Coordinates: x = byte × 8 − 64, y = byte × 2 − 16 twips, or from 248 up
// one of ±1e9, ±3e9, ±1e30, 2^24 + 1, NaN. Any variant is a kind byte (mod 8: Integer (small),
// Long, Double (a long / 8), String, Boolean, Null, Empty, Single (a font size)) and its value.
//
// Invariants checked after every step:
//  (a) no exception escapes a user-simulation call or a property write but an application
//      handler's, and then exactly the first one the step's handlers threw: none is lost;
//  (b) a property write succeeds, or throws qv::RuntimeError 380 and changes nothing observable;
//  (c) the three fields and the control show one colour, the one a recolouring gives now;
//  (d) a null box has three empty fields; Text reads null exactly when the box is null and
//      NullToEmptyString is false, and otherwise the visible field's text;
//  (e) HasFocus() agrees with the container, and a focused box with an enabled field has the
//      focus in its visible field;
//  (f) after a Text write, FormatText() or leaving the box from one of its fields, the three
//      fields agree and hold the
//      formatted text (no outer blanks with Trim, an upper-case first character with
//      FirstCharacterCapital);
//  (g) while the focus stays, the user's keys never make the text longer than MaxLength unless
//      it already was (undo excepted), and change nothing while the box is locked;
//  (h) an unfocused box, saved and loaded into a new box, shows the same text and settings.
#include <algorithm>
#include <bit>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <exception>
#include <stdexcept>
#include <string_view>

#include "fuzz/txtbox_fuzz_state.h"
#include "hosts/headless/HeadlessHost.h"
#include "library/Keyboard.h"
#include "library/MemoryPropertyBag.h"

// Set by the replay driver (-v): print each step as it runs.
bool gFuzzTrace = false;

namespace {

using namespace qv;
using namespace qv_fuzz;

constexpr std::string_view kOps = "c\"kbdexlLrRhHnNuwCXVZtTpPfgomDGMasEKFzvyqjW";

// clang-format off
constexpr KeyOp kKeys[] = {
    {'b', Key::Back, 0}, {'d', Key::Delete, 0}, {'e', Key::Return, 0}, {'x', Key::Escape, 0},
    {'l', Key::Left, 0}, {'L', Key::Left, ShiftState::Shift}, {'r', Key::Right, 0},
    {'R', Key::Right, ShiftState::Shift}, {'h', Key::Home, 0}, {'H', Key::Home, ShiftState::Shift},
    {'n', Key::End, 0}, {'N', Key::End, ShiftState::Shift}, {'u', Key::Up, 0},
    {'w', Key::Down, 0}, {'C', u'C', ShiftState::Ctrl}, {'X', u'X', ShiftState::Ctrl},
    {'V', u'V', ShiftState::Ctrl}, {'Z', u'Z', ShiftState::Ctrl}, {'p', u'V', ShiftState::Ctrl},
    {'P', u'V', ShiftState::Ctrl}, {'t', Key::Tab, 0}, {'T', Key::Tab, ShiftState::Shift},
    {'k', 0, 0}};  // 'k': code and shift from the input
// clang-format on

// Characters that editing, trimming and upper-casing tend to trip over.
constexpr char16_t kOddChars[16] = {0x00A0, 0x00E4, 0x00DF, 0x0131, 0xD800, 0xDC00, 0xFFFF, 0x0000,
                                    u'\r',  u'\n',  u'\t',  0x00FF, 0x01C5, 0xFB00, 0x3000, 0xFEFF};

class Reader : public ByteReader {
  public:
    Reader(const uint8_t* data, size_t size) : ByteReader(data, size, kOddChars) {}
    // (n % 64) × 64 characters of words, blanks and line breaks.
    String Long() {
        static constexpr std::u16string_view kPiece = u"Word  w\r\n";
        String s;
        const size_t n = Byte() % 64 * 64;
        while (s.size() < n) s += kPiece;
        s.resize(n);
        return s;
    }
    float FontSize() {
        // clang-format off
        static constexpr float kSpecial[16] = {1e-30f, 1e-45f, 0.0f, -0.0f, 0.5f, 1.0f, 1638.0f,
            1638.5f, 2160.0f, 2160.5f, FLT_MAX, INFINITY, -INFINITY, NAN, 9.0f, 72.0f};
        // clang-format on
        switch (Byte() % 4) {
            case 0:
                return Byte();
            case 1:
                return kSpecial[Byte() % 16];
            case 2:
                return std::bit_cast<float>(static_cast<uint32_t>(Bytes(4)));
            default:
                return static_cast<float>(Byte()) / 16;
        }
    }
    float Coordinate(float scale, float offset) {
        static constexpr float kExtremes[8] = {-1e9f, 1e9f,   3e9f,        -3e9f,
                                               1e30f, -1e30f, 16777217.0f, NAN};
        const uint8_t b = Byte();
        return b < 248 ? static_cast<float>(b) * scale - offset : kExtremes[b - 248];
    }
    float X() { return Coordinate(8, 64); }
    float Y() { return Coordinate(2, 16); }
    int32_t Extent(int32_t scale) {
        static constexpr int32_t kHuge[6] = {32767, 32768, 65535, 1 << 24, 1 << 30, INT32_MAX};
        const uint8_t b = Byte();
        return b < 250 ? b * scale : kHuge[b - 250];
    }
    // A value of the given kind (see kProps).
    Variant Make(char kind) {
        switch (kind) {
            case 'i':
                return Variant(SmallInt());
            case 'l':
                return Variant(LongInt());
            case 'n':
                return Variant(LongInt() / 8.0);
            case 'f':
                return Variant(FontSize());
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

// What the fuzz's application handlers throw, numbered in the order thrown.
struct HandlerFailure : std::runtime_error {
    HandlerFailure(int n, const char* handler)
        : std::runtime_error(std::string(handler) + " handler failure #" + std::to_string(n)),
          number(n) {}
    int number;
};

bool IsFormatted(const String& text, bool trim, bool capital) {
    if (text.empty()) return true;
    if (trim && (text.front() == u' ' || text.back() == u' ')) return false;
    return !capital || UpperCaseChar(text.front()) == text.front();
}

class Harness {
  public:
    Harness()
        : box_(form_.Add<QVtxtBoxControl>(u"txtBox")),
          other_(form_.Add<QVtxtBoxControl>(u"txtOther")) {
        box_.events.ValidationCheck = [this](bool& ok) {
            if (validation_ == 1) ok = true;
            if (validation_ == 2) ok = false;
            if (validation_ == 3 && !quiet_) Throw("ValidationCheck");
        };
        box_.events.KeyPress = [this](int16_t& key) {
            if (keyPress_ == 1) key = 0;
            if (keyPress_ == 2) key = u'a';
            if (keyPress_ == 3) Throw("KeyPress");
        };
        box_.events.KeyDown = [this](int16_t& code, int16_t&) {
            if (keyDown_ == 1) code = 0;
            if (keyDown_ == 2) Throw("KeyDown");
        };
        box_.events.Change = [this] {
            if (change_ >= 2 && !inChange_) {
                inChange_ = true;
                struct Reset {
                    bool& flag;
                    ~Reset() { flag = false; }
                } reset{inChange_};
                box_.Text(u" re ");
            }
            if (change_ == 1 || change_ == 3) Throw("Change");
        };
    }

    void Run(Reader& in) {
        while (in.More()) Step(in);
        step_ = "(end of input)";
        RoundTrip();
    }

  private:
    [[noreturn]] void Throw(const char* handler) {
        ++thrown_;
        if (firstThrown_ == 0) firstThrown_ = thrown_;
        throw HandlerFailure(thrown_, handler);
    }

    Snapshot Now() { return Take(box_, form_.SiteOf(box_).BackColor()); }

    // (a) The step passed on exactly the first handler error it threw (0: none, none thrown).
    void CheckPassedOn(int passedOn, const Snapshot& before) {
        if (passedOn == firstThrown_) return;
        const Snapshot after = Now();
        Fail("(a) the step threw handler failure #" + std::to_string(firstThrown_) +
                 " first but passed on " +
                 (passedOn ? "#" + std::to_string(passedOn) : std::string("nothing")),
             step_, before, &after);
    }

    void Step(Reader& in) {
        const size_t at = in.Pos();
        const uint8_t byte = in.Byte();
        const char op = kOps.find(static_cast<char>(byte)) != std::string_view::npos
                            ? static_cast<char>(byte)
                            : kOps[byte % kOps.size()];
        const Snapshot before = Now();
        // Leaving formats the text when a field of the box had the focus (a box whose fields
        // are all disabled holds the focus on its own surface, and its text is not its user's).
        const headless::HeadlessWidget* held = form_.FocusedWidget();
        const bool fieldFocused = held && held->GetSite() == &form_.SiteOf(box_);
        step_ = "@" + std::to_string(at) + " " + op;
        firstThrown_ = 0;
        if (op == 's') return Property(in, before);
        int passedOn = 0;
        try {
            Act(op, in);
        } catch (const HandlerFailure& h) {
            passedOn = h.number;
        } catch (const std::exception& e) {
            Fail(std::string("(a) exception escaped a user call: ") + e.what(), step_, before,
                 nullptr);
        } catch (...) {
            Fail("(a) an exception of another type escaped a user call", step_, before, nullptr);
        }
        Trace();
        CheckPassedOn(passedOn, before);
        const Snapshot after = Now();
        CheckState(before, after);
        const bool formats = op == 'E' || op == 'F' || (fieldFocused && !after.focus);
        if (formats) CheckFormatted(before, after);
        if (before.focus && after.focus && kTyping.find(op) != std::string_view::npos &&
            change_ < 2)
            CheckTyping(op, before, after);
    }

    // Ops whose keys edit the text the user types into.
    static constexpr std::string_view kTyping = "c\"kbdexlLrRhHnNuwCXVZpP";

    void Act(char op, Reader& in) {
        const bool focused = form_.FocusedControl() != nullptr;
        if (op == 'p') form_.Clipboard() = in.Str();
        if (op == 'P') form_.Clipboard() = in.Long();
        for (const KeyOp& k : kKeys)
            if (k.op == op) {
                const auto code = k.code ? k.code : static_cast<int16_t>(in.Byte());
                const auto shift = k.code ? k.shift : static_cast<int16_t>(in.Byte() & 7);
                lastKey_ = code;
                if (focused || code == Key::Tab) form_.PressKey(code, shift);
                return;
            }
        switch (op) {
            case 'c': {
                const char16_t c = in.Char();
                step_ += " \"" + Printable(StringView(&c, 1)) + "\"";
                if (focused) form_.Type(StringView(&c, 1));
                break;
            }
            case '"': {
                const String s = in.Str();
                step_ += " \"" + Printable(s) + "\"";
                if (focused) form_.Type(s);
                break;
            }
            case 'f':
            case 'g':
                form_.Focus(op == 'f' ? box_ : other_);
                break;
            case 'o':
                form_.Leave();
                break;
            case 'm':
            case 'D':
            case 'G':
            case 'M': {
                QVtxtBoxControl& target = (in.Byte() & 1) ? other_ : box_;
                const float x = in.X(), y = in.Y();
                step_ += " at " + std::to_string(x) + ", " + std::to_string(y);
                MouseAction(form_, target, op, x, y, in);
                break;
            }
            case 'a':
                form_.AdvanceTime(in.Byte() * 0.02);
                break;
            case 'E':
                box_.Text(in.Long());
                break;
            case 'K':
                (void)box_.CheckValueNow();
                break;
            case 'F':
                box_.FormatText();
                break;
            case 'z': {
                const int32_t w = in.Extent(16);
                const int32_t h = in.Extent(4);
                step_ += " " + std::to_string(w) + " x " + std::to_string(h);
                form_.SiteOf(box_).Resize(w, h);
                break;
            }
            case 'v':
                validation_ = in.Byte() % 4;
                (void)box_.CheckValueNow();
                break;
            case 'y':
                keyPress_ = in.Byte() % 4;
                break;
            case 'q':
                keyDown_ = in.Byte() % 3;
                break;
            case 'j':
                change_ = in.Byte() % 4;
                break;
            case 'W':
                RoundTrip();
                break;
            default:
                break;
        }
    }

    // One property write by late binding; checks (a), (b) and what a Text write promises.
    void Property(Reader& in, const Snapshot& before) {
        const uint8_t p = in.Byte();
        const Prop& prop = kProps[p % 32 % kPropCount];
        const String name = prop.name;
        const Variant value = in.Make(p >= 0x80 ? 'v' : prop.kind);
        step_ += " LetProperty " + ToUtf8(name) + " = " + Show(value);
        int32_t error = 0;
        int passedOn = 0;
        try {
            box_.LetProperty(name, value);
        } catch (const RuntimeError& e) {
            error = e.Number();
            step_ += "  (refused: " + Printable(e.Description()) + ")";
        } catch (const HandlerFailure& h) {
            passedOn = h.number;
        } catch (const std::exception& e) {
            Fail(std::string("(b) a property write threw ") + e.what(), step_, before, nullptr);
        }
        Trace();
        CheckPassedOn(passedOn, before);
        const Snapshot after = Now();
        if (error != 0 && error != err::InvalidPropertyValue)
            Fail("(b) a property write raised error " + std::to_string(error), step_, before,
                 &after);
        if (const std::string field = Difference(before, after); error != 0 && !field.empty())
            Fail("(b) a refused write changed " + field, step_, before, &after);
        if (error != 0) return;
        CheckState(before, after);
        if (name != u"Text") return;
        CheckFormatted(before, after);
        if (change_ < 2 && after.isNull != value.IsNull())
            Fail("(f) a Text write of a null sets the null state, any other value clears it", step_,
                 before, &after);
    }

    // (c), (d), (e).
    void CheckState(const Snapshot& before, const Snapshot& s) {
        for (const Color c : s.fieldColours)
            if (c != s.colour) Fail("(c) a field's colour is not the control's", step_, before, &s);
        {
            const bool quiet = std::exchange(quiet_, true);
            (void)box_.CheckValueNow();
            quiet_ = quiet;
        }
        if (const Snapshot again = Now(); again.colour != s.colour)
            Fail("(c) recolouring now gives another colour", step_, before, &again);
        if (s.isNull && !(s.fields[0].empty() && s.fields[1].empty() && s.fields[2].empty()))
            Fail("(d) a null box has text in its fields", step_, before, &s);
        const Variant& text = s.props[kTextIndex];
        const bool readsNull = s.isNull && !box_.NullToEmptyString();
        if (text.IsNull() != readsNull ||
            (!readsNull && !(text.IsString() && text.ToString() == s.fields[s.active])))
            Fail("(d) Text is not the visible field's text (null when null)", step_, before, &s);
        if (s.focus != (form_.FocusedControl() == &box_))
            Fail("(e) HasFocus() disagrees with the container's focus", step_, before, &s);
        const TextField& active = box_.Field(s.active);
        const headless::HeadlessWidget* focused = form_.FocusedWidget();
        if (s.focus && active.Enabled() &&
            (!focused || &focused->AsWidget() != static_cast<const Widget*>(&active)))
            Fail("(e) the focused box's visible field does not have the focus", step_, before, &s);
    }

    // (f) The fields agree and hold the formatted text.
    void CheckFormatted(const Snapshot& before, const Snapshot& s) {
        if (s.fields[0] != s.fields[1] || s.fields[1] != s.fields[2])
            Fail("(f) the fields disagree", step_, before, &s);
        if (!IsFormatted(s.fields[0], box_.Trim(), box_.FirstCharacterCapital()))
            Fail("(f) the fields hold text that is not formatted", step_, before, &s);
    }

    // (g) MaxLength and Locked hold against the user's keys.
    void CheckTyping(char op, const Snapshot& before, const Snapshot& s) {
        if (before.active != s.active) return;
        const String& was = before.fields[before.active];
        const String& now = s.fields[s.active];
        const bool undo = op == 'Z' || (op == 'k' && lastKey_ == u'Z');
        const int32_t maxLength = box_.MaxLength();
        if (!undo && maxLength > 0 && now.size() > std::max(was.size(), size_t(maxLength)))
            Fail("(g) the user's keys made the text longer than MaxLength", step_, before, &s);
        if (box_.Locked() && now != was)
            Fail("(g) the user's keys changed a locked box's text", step_, before, &s);
    }

    // (h) A box without the focus, saved and loaded into a new box, shows the same.
    void RoundTrip() {
        const Snapshot now = Now();
        if (now.focus) return;
        MemoryPropertyBag bag;
        Snapshot loaded;
        try {
            form_.Save(box_, bag);
            auto& copy = form_.Load<QVtxtBoxControl>(u"copy", bag);
            loaded = Take(copy, form_.SiteOf(copy).BackColor());
            form_.Remove(copy);
        } catch (const std::exception& e) {
            Fail(std::string("(h) saving or loading threw ") + e.what(), step_, now, nullptr);
        }
        if (loaded.fields[loaded.active] != now.fields[now.active])
            Fail("(h) saved and loaded, the box shows another text", step_, now, &loaded);
        for (size_t i = 1; i < kPropCount; ++i) {
            const std::u16string_view name = kProps[i].name;
            if (name.starts_with(u"Sel")) continue;
            if (!SameVariant(loaded.props[i], now.props[i]))
                Fail("(h) saved and loaded, " + ToUtf8(name) + " differs", step_, now, &loaded);
        }
    }

    void Trace() const {
        if (gFuzzTrace) std::fprintf(stderr, "step: %s\n", step_.c_str());
    }

    headless::Container form_;
    QVtxtBoxControl& box_;
    QVtxtBoxControl& other_;
    std::string step_;
    int validation_ = 0, keyPress_ = 0, keyDown_ = 0, change_ = 0;
    bool quiet_ = false;     // the harness recolours: the ValidationCheck handler does not throw
    bool inChange_ = false;  // the Change handler is writing Text
    int thrown_ = 0, firstThrown_ = 0;
    int16_t lastKey_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Reader in(data, size);
    Harness harness;
    harness.Run(in);
    return 0;
}
