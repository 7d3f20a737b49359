// Fuzz target: a date box and a text box on a headless form, driven by a byte string that decodes
// into user actions, property writes, loads from damaged property bags and application handlers.
// After every step the box's invariants are checked; a violation prints the state and aborts (a
// crash to libFuzzer, a failure to ctest).
//
// Input format: a sequence of steps, each an opcode byte followed by its operand bytes. An
// operand past the end of the input reads as 0. The opcodes are printable mnemonics, so that
// seeds read as scripts; any other byte b stands for kOps[b % kOps.size()].
//
//   0-9 . / - ,         type that character (into whichever control has the focus)
//   c b                 type the character b (b >= 0x80: one of a table of odd characters)
//   " S                 type the string S
//   k code shift        press any key: PressKey(code, shift & 7)
//   b d e x             Backspace, Delete, Enter, Escape
//   l L r h H n N       Left, Shift+Left, Right, Home, Shift+Home, End, Shift+End
//   I X                 Shift+Insert (the field pastes), Shift+Delete (the field cuts)
//   C Q V Z             Ctrl+C, Ctrl+X, Ctrl+V, Ctrl+Z
//   t T                 Tab, Shift+Tab
//   p D                 clipboard = date text D, then Ctrl+V       P D   clipboard = D only
//   S a b               the visible field's SelStart = small integer a, then SelLength = b
//   f g o               focus the date box, focus the text box, Leave
//   m w x y b           Click on control w&1 at (x, y), buttons b&7 (0: left), shift b>>3 & 7
//   M w x y             MouseMove                    G w x y x2 y2 n   Drag with n % 8 moves
//   u w x y             DoubleClick
//   a n                 AdvanceTime(n × 20 ms)
//   s p V               LetProperty(kProps[p % 32 % count], V): V is a value of the property's
//                       own kind (see kProps), or any variant when p >= 0x80
//   K                   CheckValueNow()
//   z w h               resize the box's site to (w × 16, h × 4) twips
//   v m                 ValidationCheck handler (m % 3): none, forces true, forces false; then
//                       CheckValueNow()
//   y m                 KeyPress handler (m % 4): none, cancels the key, turns it into "1",
//                       turns it into "x"
//   j m                 Change handler (m % 2): none, writes Text "1" (not from within its own
//                       write)
//   O mask values...    replace the box by one loaded from a bag holding, for each bit of a
//                       2-byte mask, one stored property of kStored with a value from the input
//   W                   save the box, load a copy and compare (also done after the last step)
//
// Operands: a string S is a length byte (mod 32) and that many character bytes. A small integer
// is one byte: 0..247 as is, 248..255 one of -1, -2, -32768, 32767, 256, 1000, 300, 16. A long
// is a small integer × 1000 + a byte. A date text D is a kind byte and then: kind%4 == 0: a
// string S; 1: day, month and year bytes (day % 34, month % 14, 1890 + year) laid out with
// leading zeros in layout (kind >> 2) % 3 with separator byte % 8 of kSeparatorChars; 2: the
// same, cut to a byte % 12 characters; 3: the same without leading zeros. A date value is a kind
// byte (mod 8: a DateSerial of day, month and year bytes as above (rolling over), the same with
// a time of day, a long / 8 as days, a special double, an ISO date text, Null, a date text, any
// other variant). Any variant is a kind byte (mod 8: Integer, Long, Double (a long / 8), String,
// Boolean, Null, Empty, an object (a font, or Nothing)) and its value. Coordinates: x = byte × 8
// − 64, y = byte × 2 − 16 twips.
//
// Invariants checked after every step:
//  (a) no exception escapes a user action (keys, mouse, focus, the clock, the field's selection
//      but for the 380 of a negative one), a round trip or a load from a damaged bag;
//  (b) a property write succeeds, or raises qv::RuntimeError 380 and changes nothing observable
//      (texts, selection, colours, every property of kProps);
//  (c) the three fields hold one text;
//  (d) the three fields and the control show one colour, the one a recolouring gives now;
//  (e) Text is the visible field's text; DDate, DateDMY, DateMDY and DateYMD are all null or
//      none, and a date is from 1900 to 2099 and shown as ten characters;
//  (f) a text the typing parser leaves as it is ("clean") can still be completed to a valid date
//      by typing, names a date when complete, and writing its date back (DDate, and the date
//      property of each layout with a separator) changes nothing; the text after a Text, DDate
//      or date write is clean, after a DateFormat write too if it was before;
//  (g) while the box keeps the focus in its visible field: a user key keeps a clean text clean;
//      keys change nothing while it is locked; with no handlers, a typed digit or separator
//      ("." "," "-" "/") gives Parse(text + character), Ctrl+V Parse(text + clipboard) (the text
//      itself when the clipboard is empty), any
//      other character but Backspace and Tab leaves the text, and Backspace or Left with the
//      caret at the end and nothing selected removes the last character;
//  (h) no step but a key, a property write or a load changes the text;
//  (i) an unfocused box, saved and loaded into a new box, shows the same text and settings;
//  (j) a box loaded from a damaged bag has a layout 0..2, separators of at most one character,
//      bounds that are valid dates, and a border setting of 0 or 1.
#include <cmath>
#include <cstdint>
#include <exception>
#include <memory>
#include <string_view>

#include "datebox/DateText.h"
#include "fuzz/datebox_fuzz_state.h"
#include "hosts/headless/HeadlessHost.h"
#include "library/Font.h"
#include "library/Keyboard.h"
#include "library/MemoryPropertyBag.h"
#include "txtbox/QVtxtBoxControl.h"

// Set by the replay driver (-v): print each step as it runs.
bool gFuzzTrace = false;

namespace {

using namespace qv;
using namespace qv_fuzz;

constexpr std::string_view kOps = "0123456789./-,c\"kbdexlLrhHnNIXCQVZtTpPSfgomMGuasKzvyjOW";
// Ops that are user keys into the focused control.
constexpr std::string_view kKeyOps = "0123456789./-,c\"kbdexlLrhHnNIXCQVZp";

// Keys that leave the text as it is while nothing is selected.
constexpr std::string_view kNoEdit = "exrhHnNCQZL";

// clang-format off
constexpr KeyOp kKeys[] = {
    {'b', Key::Back, 0}, {'d', Key::Delete, 0}, {'e', Key::Return, 0}, {'x', Key::Escape, 0},
    {'l', Key::Left, 0}, {'L', Key::Left, ShiftState::Shift}, {'r', Key::Right, 0},
    {'h', Key::Home, 0}, {'H', Key::Home, ShiftState::Shift}, {'n', Key::End, 0},
    {'N', Key::End, ShiftState::Shift}, {'I', Key::Insert, ShiftState::Shift},
    {'X', Key::Delete, ShiftState::Shift}, {'C', u'C', ShiftState::Ctrl},
    {'Q', u'X', ShiftState::Ctrl}, {'V', u'V', ShiftState::Ctrl}, {'Z', u'Z', ShiftState::Ctrl},
    {'p', u'V', ShiftState::Ctrl}, {'t', Key::Tab, 0}, {'T', Key::Tab, ShiftState::Shift},
    {'k', 0, 0}};  // 'k': code and shift from the input
// clang-format on

// Characters a date parser tends to trip over: look-alike digits and separators, surrogates,
// line breaks and blanks.
constexpr char16_t kOddChars[16] = {0x0660, 0xFF10, 0xFF11, 0x2024, 0x2215, 0x2212, 0xD800, 0xDC00,
                                    0xFFFF, 0x0000, u'\r',  u'\n',  0x00A0, 0x3000, 0xFEFF, 0x00B7};
// Separators for date texts: the layouts' own, another punctuation, a letter, a digit, a blank.
constexpr char16_t kSeparatorChars[8] = {u'.', u'/', u'-', u',', u'x', u'1', u' ', u':'};

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// The characters the box takes as typed: digits and the four separators.
bool IsDateKey(char16_t c) {
    return IsDigit(c) || c == u'.' || c == u',' || c == u'-' || c == u'/';
}

class Reader : public ByteReader {
  public:
    Reader(const uint8_t* data, size_t size) : ByteReader(data, size, kOddChars) {}
    float X() { return static_cast<float>(Byte()) * 8 - 64; }
    float Y() { return static_cast<float>(Byte()) * 2 - 16; }

    // A day, month and year that are often but not always a valid date from 1900 to 2099.
    datetext::Ymd Parts() {
        const int32_t day = Byte() % 34, month = Byte() % 14;
        return {1890 + Byte(), month, day};
    }

    // A text that looks more or less like a date (see the input format).
    String DateText() {
        const uint8_t kind = Byte();
        if (kind % 4 == 0) return Str();
        const datetext::Ymd d = Parts();
        const char16_t sep = kSeparatorChars[Byte() % 8];
        const bool pad = kind % 4 != 3;
        auto two = [pad](int32_t v) {
            String s = FromUtf8(std::to_string(v));
            return pad && s.size() < 2 ? u"0" + s : s;
        };
        const String year = FromUtf8(std::to_string(d.year));
        String s;
        switch ((kind >> 2) % 3) {
            case 0:
                s = two(d.day) + sep + two(d.month) + sep + year;
                break;
            case 1:
                s = year + sep + two(d.month) + sep + two(d.day);
                break;
            default:
                s = two(d.month) + sep + two(d.day) + sep + year;
                break;
        }
        if (kind % 4 == 2) s.resize(std::min<size_t>(s.size(), Byte() % 12));
        return s;
    }

    // A value for a date property: dates in and out of the box's years, days as numbers, texts.
    Variant DateVar() {
        // clang-format off
        static constexpr double kSpecial[8] = {NAN, INFINITY, -INFINITY, -0.5, 1e300,
                                               2958465.0 /* 9999-12-31 */, 73050.0, 1.0};
        // clang-format on
        const uint8_t kind = Byte();
        switch (kind % 8) {
            case 0:
            case 1: {
                const datetext::Ymd d = Parts();
                const DateValue v = DateSerial(d.year, d.month, d.day);
                return kind % 8 == 0 ? Variant(v) : Variant(DateValue{v.days + Byte() / 256.0});
            }
            case 2:
                return Variant(LongInt() / 8.0);
            case 3:
                return Variant(kSpecial[Byte() % 8]);
            case 4: {
                const datetext::Ymd d = Parts();
                String s = FromUtf8(std::to_string(d.year)) + u"-" +
                           FromUtf8(std::to_string(100 + d.month)).substr(1) + u"-" +
                           FromUtf8(std::to_string(100 + d.day)).substr(1);
                if (Byte() & 1) s += u" 12:30";
                return Variant(s);
            }
            case 5:
                return Variant::Null();
            case 6:
                return Variant(DateText());
            default:
                return Any();
        }
    }

    Variant Any() {
        switch (Byte() % 8) {
            case 0:
                return Variant(SmallInt());
            case 1:
                return Variant(LongInt());
            case 2:
                return Variant(LongInt() / 8.0);
            case 3:
                return Variant(Str());
            case 4:
                return Variant((Byte() & 1) != 0);
            case 5:
                return Variant::Null();
            case 6:
                return Variant();
            default:
                return (Byte() & 1) ? Variant(std::make_shared<qv::Font>())
                                    : Variant(std::shared_ptr<Object>());
        }
    }

    // "" or a few characters, most of them ones a separator might be.
    String Separator() {
        static constexpr char16_t kChars[8] = {u'.', u'/', u'-', u'x', u'0', u'9', u' ', 0xD800};
        String s(Byte() % 4, u'\0');
        for (char16_t& c : s) {
            const uint8_t b = Byte();
            c = b < 0x80 ? char16_t{b} : kChars[b & 7];
        }
        return s;
    }

    // A value of the given kind (see kProps).
    Variant Make(char kind) {
        switch (kind) {
            case 'T':
                switch (Byte() % 6) {
                    case 0:
                    case 1:
                        return Variant(DateText());
                    case 2:
                        return Variant::Null();
                    case 3:
                        return DateVar();
                    default:
                        return Any();
                }
            case 'D':
                return DateVar();
            case 'S': {
                const uint8_t b = Byte();
                if (b % 8 == 7) return Variant::Null();
                if (b % 8 == 6) return Any();
                return Variant(DateText());
            }
            case 'e':
            case 'a': {
                const uint8_t b = Byte();
                if (b >= 0xF0) return Variant(static_cast<int32_t>(SmallInt()));
                return Variant(static_cast<int32_t>(b % (kind == 'e' ? 5 : 4)) - 1);
            }
            case 'p':
                return Variant(Separator());
            case 'b':
                return Variant((Byte() & 1) != 0);
            default:
                return Any();
        }
    }
};

// The keys a damaged bag may hold, each with the kind of value stored (see Reader::Make).
constexpr Prop kStored[] = {{u"Text", 'T'},          {u"DateFormat", 'v'},
                            {u"SeparatorDMY", 'v'},  {u"SeparatorMDY", 'p'},
                            {u"SeparatorYMD", 'p'},  {u"SmallestValue", 'D'},
                            {u"LargestValue", 'D'},  {u"Appearance", 'v'},
                            {u"BorderStyle", 'a'},   {u"Enabled", 'v'},
                            {u"Locked", 'b'},        {u"CheckRange", 'b'},
                            {u"MustHaveValue", 'v'}, {u"IncludeSmallestValueToRange", 'v'}};

class Harness {
  public:
    Harness()
        : box_(&form_.Add<QVDateBoxControl>(u"dateBox")),
          other_(form_.Add<QVtxtBoxControl>(u"txtOther")) {
        Attach(*box_);
        clean_ = IsClean(Now());
    }

    void Run(Reader& in) {
        while (in.More()) Step(in);
        step_ = "(end of input)";
        RoundTrip();
    }

  private:
    void Attach(QVDateBoxControl& b) {
        b.events.ValidationCheck = [this](bool& ok) {
            if (validation_ != 0) ok = validation_ == 1;
        };
        b.events.KeyPress = [this](int16_t& key) {
            if (keyPress_ == 1) key = 0;
            if (keyPress_ == 2) key = u'1';
            if (keyPress_ == 3) key = u'x';
        };
        b.events.Change = [this] {
            if (change_ != 1 || inChange_) return;
            inChange_ = true;
            struct Reset {
                bool& flag;
                ~Reset() { flag = false; }
            } reset{inChange_};
            box_->Text(Variant(u"1"));
        };
    }

    Snapshot Now() { return Take(*box_, form_.SiteOf(*box_).BackColor()); }
    datetext::Layout Layout() const { return box_->Layout(); }
    datetext::Separators Separators() const {
        return {box_->SeparatorDMY(), box_->SeparatorMDY(), box_->SeparatorYMD()};
    }
    static const String& Shown(const Snapshot& s) { return s.fields[s.active]; }
    bool IsClean(const Snapshot& s) const {
        return datetext::Parse(Shown(s), Layout(), Separators()) == Shown(s);
    }

    void Step(Reader& in) {
        const size_t at = in.Pos();
        const uint8_t byte = in.Byte();
        const char op = kOps.find(static_cast<char>(byte)) != std::string_view::npos
                            ? static_cast<char>(byte)
                            : kOps[byte % kOps.size()];
        const Snapshot before = Now();
        step_ = "@" + std::to_string(at) + " " + op;
        typed_.clear();
        if (op == 's') return Property(in, before);
        if (op == 'O') return Reload(in, before);
        try {
            Act(op, in);
        } catch (const std::exception& e) {
            Fail(std::string("(a) exception escaped a user call: ") + e.what(), step_, before,
                 nullptr);
        } catch (...) {
            Fail("(a) an exception of another type escaped a user call", step_, before, nullptr);
        }
        Trace();
        const Snapshot after = Now();
        CheckState(before, after);
        const bool key = kKeyOps.find(op) != std::string_view::npos;
        if (key) {
            CheckKeys(op, before, after);
        } else if (const std::string field = TextDifference(before, after); !field.empty()) {
            Fail("(h) a step that is no key changed " + field, step_, before, &after);
        }
        CheckClean(before, after, key && clean_ ? "a user key" : nullptr);
    }

    static std::string TextDifference(const Snapshot& a, const Snapshot& b) {
        for (int i = 0; i < 3; ++i)
            if (a.fields[i] != b.fields[i]) return "the text of field " + std::to_string(i);
        return {};
    }

    void Act(char op, Reader& in) {
        const bool focused = form_.FocusedControl() != nullptr;
        if (op == 'p' || op == 'P') {
            form_.Clipboard() = in.DateText();
            step_ += " clipboard \"" + Printable(form_.Clipboard()) + "\"";
        }
        for (const KeyOp& k : kKeys)
            if (k.op == op) {
                const auto code = k.code ? k.code : static_cast<int16_t>(in.Byte());
                const auto shift = k.code ? k.shift : static_cast<int16_t>(in.Byte() & 7);
                key_ = {op, code, shift};
                if (focused || code == Key::Tab) form_.PressKey(code, shift);
                return;
            }
        key_ = {};
        switch (op) {
            case 'c':
                typed_ = String(1, in.Char());
                break;
            case '"':
                typed_ = in.Str();
                break;
            case 'S': {
                const int16_t start = in.SmallInt(), length = in.SmallInt();
                step_ += " " + std::to_string(start) + " " + std::to_string(length);
                TextField& field = box_->Field(box_->ActiveFieldIndex());
                try {
                    field.SelStart(start);
                    field.SelLength(length);
                } catch (const RuntimeError& e) {
                    if (e.Number() != err::InvalidPropertyValue || (start >= 0 && length >= 0))
                        throw;
                }
                return;
            }
            case 'f':
            case 'g':
                form_.Focus(op == 'f' ? static_cast<Control&>(*box_) : other_);
                return;
            case 'o':
                form_.Leave();
                return;
            case 'm':
            case 'u':
            case 'G':
            case 'M': {
                Control& target = (in.Byte() & 1) ? static_cast<Control&>(other_) : *box_;
                const float x = in.X(), y = in.Y();
                step_ += " at " + std::to_string(x) + ", " + std::to_string(y);
                MouseAction(form_, target, op == 'u' ? 'D' : op, x, y, in);
                return;
            }
            case 'a':
                form_.AdvanceTime(in.Byte() * 0.02);
                return;
            case 'K':
                (void)box_->CheckValueNow();
                return;
            case 'z': {
                const int32_t w = in.Byte() * 16;
                form_.SiteOf(*box_).Resize(w, in.Byte() * 4);
                return;
            }
            case 'v':
                validation_ = in.Byte() % 3;
                (void)box_->CheckValueNow();
                return;
            case 'y':
                keyPress_ = in.Byte() % 4;
                return;
            case 'j':
                change_ = in.Byte() % 2;
                return;
            case 'W':
                RoundTrip();
                return;
            case 'P':
                return;
            default:  // a character to type
                typed_ = String(1, static_cast<char16_t>(op));
                break;
        }
        step_ += " \"" + Printable(typed_) + "\"";
        if (focused) form_.Type(typed_);
    }

    // A paste parses the clipboard on after the text; an empty clipboard leaves the text as it
    // is, even one typed under other separators that a parse from scratch would change.
    String Pasted(const String& was) {
        const String clip = form_.Clipboard();
        return clip.empty() ? was : datetext::Parse(was + clip, Layout(), Separators());
    }

    // (g) What the user's keys do to the text.
    void CheckKeys(char op, const Snapshot& before, const Snapshot& s) {
        const headless::HeadlessWidget* focused = form_.FocusedWidget();
        const TextField& field = box_->Field(s.active);
        if (!before.focus || !s.focus || before.active != s.active || !focused ||
            &focused->AsWidget() != static_cast<const Widget*>(&field))
            return;
        const String& was = before.fields[before.active];
        const String& now = Shown(s);
        if (box_->Locked()) {
            if (now != was)
                Fail("(g) the user's keys changed a locked box's text", step_, before, &s);
            return;
        }
        if (keyPress_ != 0 || change_ != 0 || before.selLength != 0) return;
        const bool atEnd = before.selStart == static_cast<int32_t>(was.size());
        String expected = now;
        if (typed_.size() == 1 && IsDateKey(typed_[0])) {
            expected = datetext::Parse(was + typed_, Layout(), Separators());
        } else if (typed_.size() == 1 && typed_[0] == 22) {
            expected = Pasted(was);
        } else if (typed_.size() == 1 && typed_[0] != u'\b' && typed_[0] != u'\t') {
            expected = was;
        } else if (atEnd && (typed_ == u"\b" || op == 'b' || op == 'l')) {
            expected = was.substr(0, was.empty() ? 0 : was.size() - 1);
        } else if (op == 'p' || op == 'V') {
            expected = Pasted(was);
        } else if (kNoEdit.find(op) != std::string_view::npos ||
                   (atEnd && (op == 'd' || op == 'X'))) {
            expected = was;
        }
        if (now != expected)
            Fail("(g) the key gave \"" + Printable(now) + "\", expected \"" + Printable(expected) +
                     "\"",
                 step_, before, &s);
    }

    // (f) The clean text promises; `mustStay` names what may not have made a clean text unclean.
    void CheckClean(const Snapshot& before, const Snapshot& s, const char* mustStay) {
        const bool clean = IsClean(s);
        if (mustStay && !clean)
            Fail(std::string("(f) ") + mustStay + " made a clean text unclean", step_, before, &s);
        clean_ = clean;
        if (!clean) return;
        // Both checks depend on the text, the layout and the separators alone: each runs once
        // for them.
        const String& text = Shown(s);
        String key = SettingsKey(text);
        if (key != completed_) {
            if (!Completable(text))
                Fail("(f) no typing completes the clean text \"" + Printable(text) + "\"", step_,
                     before, &s);
            completed_ = key;
        }
        if (text.size() == 10 && s.props[kDDateIndex].IsNull())
            Fail("(f) a complete clean text names no date", step_, before, &s);
        if (s.props[kDDateIndex].IsNull() || key == writtenBack_) return;
        WriteBack(s);
        writtenBack_ = std::move(key);
    }

    // The text with the layout and the separators (each "" or one character, so each is given
    // with its length).
    String SettingsKey(const String& text) const {
        String key = text;
        key += static_cast<char16_t>(0xE000 + static_cast<int>(Layout()));
        const datetext::Separators seps = Separators();
        for (const String* sep : {&seps.dmy, &seps.mdy, &seps.ymd}) {
            key += static_cast<char16_t>(0xE010 + sep->size());
            key += *sep;
        }
        return key;
    }

    // Whether typing digits and separators after `text` reaches a complete date; a correct parser
    // never lets the search go back more than a step, so it gives up after kBudget parses.
    bool Completable(const String& text) {
        static constexpr int kBudget = 4000;
        int budget = kBudget;
        const datetext::Separators seps = Separators();
        const size_t full = seps.Of(Layout()).empty() ? 8 : 10;
        const auto search = [&](const auto& self, const String& t) -> bool {
            if (t.size() == full) return full == 8 || datetext::DateOf(t, Layout()).has_value();
            for (const char16_t c : std::u16string_view(u"0123456789.")) {
                if (--budget < 0) return false;
                const String next = datetext::Parse(t + c, Layout(), seps);
                if (next.size() > t.size() && self(self, next)) return true;
            }
            return false;
        };
        return search(search, text);
    }

    // (f) Writing the shown date back changes nothing.
    void WriteBack(const Snapshot& s) {
        struct Back {
            const char16_t* name;
            datetext::Layout layout;
        };
        static constexpr Back kBack[] = {{u"DDate", datetext::Layout::DMY},
                                         {u"DateDMY", datetext::Layout::DMY},
                                         {u"DateMDY", datetext::Layout::MDY},
                                         {u"DateYMD", datetext::Layout::YMD}};
        const datetext::Separators seps = Separators();
        for (const Back& b : kBack) {
            const bool isDDate = b.name == kBack[0].name;
            if (!isDDate && seps.Of(b.layout).empty()) continue;  // read as 8 characters
            try {
                box_->LetProperty(b.name, box_->GetProperty(b.name));
            } catch (const std::exception& e) {
                Fail("(f) writing " + ToUtf8(b.name) + " back threw " + e.what(), step_, s,
                     nullptr);
            }
            const Snapshot again = Now();
            if (const std::string field = Difference(s, again); !field.empty())
                Fail("(f) writing " + ToUtf8(b.name) + " back changed " + field, step_, s, &again);
        }
    }

    // One property write by late binding; checks (b) and what the write promises.
    void Property(Reader& in, const Snapshot& before) {
        const uint8_t p = in.Byte();
        const Prop& prop = kProps[p % 32 % kPropCount];
        const String name = prop.name;
        const Variant value = in.Make(p >= 0x80 ? 'v' : prop.kind);
        step_ += " LetProperty " + ToUtf8(name) + " = " + Show(value);
        int32_t error = 0;
        try {
            box_->LetProperty(name, value);
        } catch (const RuntimeError& e) {
            error = e.Number();
            step_ += "  (refused: " + Printable(e.Description()) + ")";
        } catch (const std::exception& e) {
            Fail(std::string("(b) a property write threw ") + e.what(), step_, before, nullptr);
        }
        Trace();
        const Snapshot after = Now();
        if (error != 0 && error != err::InvalidPropertyValue)
            Fail("(b) a property write raised error " + std::to_string(error), step_, before,
                 &after);
        if (const std::string field = Difference(before, after); error != 0 && !field.empty())
            Fail("(b) a refused write changed " + field, step_, before, &after);
        CheckState(before, after);
        const bool writesText =
            error == 0 && (name == u"Text" || name == u"DDate" || name.starts_with(u"Date"));
        const bool stays = writesText && (name != u"DateFormat" || clean_);
        CheckClean(before, after, stays ? "the write" : nullptr);
    }

    // Replaces the box by one loaded from a bag of damaged stored properties; checks (a), (j).
    void Reload(Reader& in, const Snapshot& before) {
        MemoryPropertyBag bag;
        const auto mask = static_cast<uint32_t>(in.Bytes(2));
        for (size_t i = 0; i < std::size(kStored); ++i) {
            if (!(mask >> i & 1)) continue;
            const Variant v = in.Make(kStored[i].kind);
            step_ += " " + ToUtf8(kStored[i].name) + "=" + Show(v);
            bag.Set(kStored[i].name, v);
        }
        Trace();
        try {
            form_.Remove(*box_);
            box_ = nullptr;
            box_ = &form_.Load<QVDateBoxControl>(u"dateBox", bag);
        } catch (const std::exception& e) {
            Fail(std::string("(a) loading a damaged bag threw ") + e.what(), step_, before,
                 nullptr);
        }
        Attach(*box_);
        const Snapshot after = Now();
        CheckState(before, after);
        const auto format = static_cast<int32_t>(box_->DateFormat());
        if (format < 0 || format > 2)
            Fail("(j) the loaded layout is no layout", step_, before, &after);
        for (const String* sep :
             {&box_->SeparatorDMY(), &box_->SeparatorMDY(), &box_->SeparatorYMD()})
            if (sep->size() > 1)
                Fail("(j) a loaded separator is longer than one character", step_, before, &after);
        for (const DateValue bound : {box_->SmallestValue(), box_->LargestValue()})
            if (!datetext::IsValidDate(Day(bound), Month(bound), Year(bound)) ||
                bound.days != std::floor(bound.days))
                Fail("(j) a loaded bound is no date from 1900 to 2099", step_, before, &after);
        const auto appearance = static_cast<int32_t>(box_->Appearance());
        const auto border = static_cast<int32_t>(box_->BorderStyle());
        if (appearance < 0 || appearance > 1 || border < 0 || border > 1)
            Fail("(j) a loaded border setting is neither 0 nor 1", step_, before, &after);
        CheckClean(before, after, nullptr);
    }

    // (c), (d), (e).
    void CheckState(const Snapshot& before, const Snapshot& s) {
        if (s.fields[0] != s.fields[1] || s.fields[1] != s.fields[2])
            Fail("(c) the fields disagree", step_, before, &s);
        for (const Color c : s.fieldColours)
            if (c != s.colour) Fail("(d) a field's colour is not the control's", step_, before, &s);
        (void)box_->CheckValueNow();
        if (form_.SiteOf(*box_).BackColor() != s.colour)
            Fail("(d) recolouring now gives another colour", step_, before, &s);
        const Variant& text = s.props[kTextIndex];
        if (!text.IsString() || text.ToString() != Shown(s))
            Fail("(e) Text is not the visible field's text", step_, before, &s);
        const Variant& date = s.props[kDDateIndex];
        for (size_t i = kDDateIndex + 1; i <= kDDateIndex + 3; ++i)
            if (s.props[i].IsNull() != date.IsNull())
                Fail("(e) " + ToUtf8(kProps[i].name) + " and DDate disagree on null", step_, before,
                     &s);
        if (date.IsNull()) return;
        const DateValue d = date.ToDate();
        if (Shown(s).size() != 10 || !datetext::IsValidDate(Day(d), Month(d), Year(d)))
            Fail("(e) DDate is no date from 1900 to 2099 or the text is not 10 characters", step_,
                 before, &s);
    }

    // (i) A box without the focus, saved and loaded into a new box, shows the same.
    void RoundTrip() {
        const Snapshot now = Now();
        if (now.focus) return;
        MemoryPropertyBag bag;
        Snapshot loaded;
        try {
            form_.Save(*box_, bag);
            auto& copy = form_.Load<QVDateBoxControl>(u"copy", bag);
            loaded = Take(copy, form_.SiteOf(copy).BackColor());
            form_.Remove(copy);
        } catch (const std::exception& e) {
            Fail(std::string("(i) saving or loading threw ") + e.what(), step_, now, nullptr);
        }
        if (Shown(loaded) != Shown(now))
            Fail("(i) saved and loaded, the box shows another text", step_, now, &loaded);
        for (size_t i = 0; i < kPropCount; ++i)
            if (!SameVariant(loaded.props[i], now.props[i]))
                Fail("(i) saved and loaded, " + ToUtf8(kProps[i].name) + " differs", step_, now,
                     &loaded);
    }

    void Trace() const {
        if (gFuzzTrace) std::fprintf(stderr, "step: %s\n", step_.c_str());
    }

    headless::Container form_;
    QVDateBoxControl* box_;
    QVtxtBoxControl& other_;
    std::string step_;
    String typed_;  // what the step typed, "" for a key or no typing
    KeyOp key_{};   // the key the step pressed
    int validation_ = 0, keyPress_ = 0, change_ = 0;
    bool inChange_ = false;
    bool clean_ = true;   // the shown text is one the typing parser leaves as it is
    String completed_;    // the text and settings last found completable (see SettingsKey)
    String writtenBack_;  // the text and settings of the last write-back
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Reader in(data, size);
    Harness harness;
    harness.Run(in);
    return 0;
}
