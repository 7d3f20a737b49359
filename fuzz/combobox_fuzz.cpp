// Fuzz target: a combo box and a text box on a headless form, driven by a byte string that decodes
// into user actions, list and record calls and property writes. After every step the box's
// invariants are checked; a violation prints the state and aborts (a crash to libFuzzer, a
// failure to ctest).
//
// Input format: a sequence of steps, each an opcode byte followed by its operand bytes. An
// operand past the end of the input reads as 0. The opcodes are printable mnemonics, so that
// seeds read as scripts; any other byte b stands for kOps[b % kOps.size()].
//
//   c b                 type the character b (b >= 0x80: one of a table of odd characters)
//   " S                 type the string S
//   k code shift        press any key: PressKey(code, shift & 7)
//   e E x X             Enter, Shift+Enter, Escape, Shift+Escape
//   u U w W b B         Up, Shift+Up, Down, Shift+Down, Backspace, Shift+Backspace
//   t T                 Tab, Shift+Tab
//   f g o               focus the combo box, focus the text box, Leave
//   a n                 AdvanceTime(n × 10 ms)         A   AdvanceTime(0.35 s)
//   1 2                 Click at the centre of Button1 / Button2 (when it exists and shows)
//   m x y b             Click on the box at (x, y), buttons b&7 (0: left), shift b>>3 & 7
//   l n                 the user chooses item n % ListCount in the dropped list (while it is
//                       dropped and enabled)
//   L                   the user closes the dropped list without choosing
//   y                   toggle DropDownStyle
//   V                   toggle Button2Visible, then the container resizes the box (same size)
//   z w h               resize the box's site to (w × 16, h × 4) twips
//   + S                 AddItem S                      i S I   AddItem S at index I
//   * n S               AddItem S + "0", S + "1", ... (n % 64 items)
//   - n                 RemoveItem n                   C       Clear
//   S T l               SetItem T, l
//   I n                 ListIndex = n
//   = n S               List(n) = S                    D n l   ItemData(n) = l
//   r n                 read List(n) and ItemData(n)
//   [ c I               read Item(c, I)                ] c I V  Item(c, I) = V
//   ? V k m             FindItem(V, k % 2, m % 2)
//   s p V               LetProperty(kProps[p % 32 % writable], V): V is a value of the
//                       property's own kind (see kProps), or any variant when p >= 0x80
//   K Q q F             CheckValueNow, CompleteNow, StartQuery, FormatText
//   p S n               probe the list's searches with S from start n (see (e))
//
// Operands: a string S is a length byte (mod 32) and that many character bytes. A small integer
// n is one byte: 0..247 as is, 248..255 one of -1, -2, -32768, 32767, 256, 1000, 300, 16. A long
// l is a small integer × 1000 + a byte. Coordinates: x = byte × 8 − 64, y = byte × 2 − 16 twips.
// Any variant V is a kind byte (mod 8: Integer (small), Long, Double (a long / 8), String,
// Boolean, Null, Empty, an object (a font, or Nothing)) and its value. A text value T is a kind
// byte (mod 4: a string, a string, Null, any variant). An index I is a kind byte (mod 8:
// Missing, Integer, Integer, Long, Null, a small integer as a string, a small integer + 0.5, any
// variant). A column c is a kind byte (mod 8: Integer, Integer, the DataField, the DataIdField,
// one of kNames, a string, a digit as a string, any variant) and its value.
//
// Invariants checked after every step:
//  (a) no exception escapes a user-simulation call;
//  (b) a call or property write succeeds, or raises qv::RuntimeError 380 and changes nothing
//      observable (items and their data, ListIndex, the field's text and selection, the dropped
//      list, the timer, the cache's columns and cells, every property of kProps); Clear,
//      CompleteNow, StartQuery, CheckValueNow, FormatText, FindItem and the List and ItemData
//      reads raise nothing;
//  (c) a list call given a number as its index is refused exactly when the index is invalid
//      (ListIndex outside -1..ListCount-1, AddItem outside -1..ListCount, RemoveItem, List and
//      ItemData outside the list, Item with a column number beyond the cache), and one that
//      succeeds does what it says: the items (and the selection and records that follow them)
//      are the old ones with that item inserted, removed or rewritten, the selected item's text
//      is in the field, a cell written by column number reads back;
//  (d) ListIndex is -1 or an item's index, and the cache has no more rows than the list items;
//  (e) FindPrefix and FindExact, from a start index, agree with a linear scan from the item after
//      it round to it under StartsWithFolded and EqualsFolded, for probe strings: the field's
//      text, its first character, the empty text, a prefix of an item (in upper case every other
//      step), the last string typed or probed; FindItem agrees with the same scans.
#include <algorithm>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/combobox_fuzz_state.h"
#include "hosts/headless/HeadlessHost.h"
#include "library/CaseFold.h"
#include "library/Font.h"
#include "library/Keyboard.h"
#include "txtbox/QVtxtBoxControl.h"

// Set by the replay driver (-v): print each step as it runs.
bool gFuzzTrace = false;

namespace {

using namespace qv;
using namespace qv_fuzz;

constexpr std::string_view kOps = "c\"keExXuUwWbBtTfgoaA12mlLyVz+i*-CSI=Dr[]?sKQqFp";
// Ops that call the control's members (compared with a deep snapshot, see Method).
constexpr std::string_view kMethodOps = "+i*-CSI=Dr[]?KQqF";

// Bounds that keep each input fast.
constexpr int32_t kMaxItems = 300;
constexpr int32_t kMaxColumns = 8;

// clang-format off
constexpr KeyOp kKeys[] = {
    {'e', Key::Return, 0}, {'E', Key::Return, ShiftState::Shift},
    {'x', Key::Escape, 0}, {'X', Key::Escape, ShiftState::Shift},
    {'u', Key::Up, 0}, {'U', Key::Up, ShiftState::Shift},
    {'w', Key::Down, 0}, {'W', Key::Down, ShiftState::Shift},
    {'b', Key::Back, 0}, {'B', Key::Back, ShiftState::Shift},
    {'t', Key::Tab, 0}, {'T', Key::Tab, ShiftState::Shift},
    {'k', 0, 0}};  // 'k': code and shift from the input
// clang-format on

// Characters case folding tends to trip over: letters whose cases fold alike or not at all, a
// surrogate pair's halves (U+10400 folds to U+10428), and blanks that are no spaces.
constexpr char16_t kOddChars[16] = {0x00E4, 0x00C4, 0x00DF, 0x1E9E, 0x0130, 0x0131, 0x03A3, 0x03C3,
                                    0x03C2, 0x212A, 0x017F, 0x01C5, 0x00A0, 0xD801, 0xDC00, 0xDC28};
// Column and field names: some alike but for case or trailing blanks.
constexpr const char16_t* kNames[8] = {u"Name", u"name ",       u"Id",      u"ID",
                                       u"City", u"Stra\u00DFe", u"STRASSE", u" "};

class Reader : public ByteReader {
  public:
    Reader(const uint8_t* data, size_t size) : ByteReader(data, size, kOddChars) {}
    float X() { return static_cast<float>(Byte()) * 8 - 64; }
    float Y() { return static_cast<float>(Byte()) * 2 - 16; }

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
    Variant TextValue() {
        switch (Byte() % 4) {
            case 2:
                return Variant::Null();
            case 3:
                return Any();
            default:
                return Variant(Str());
        }
    }
    Variant Index() {
        switch (Byte() % 8) {
            case 0:
                return Variant::Missing();
            case 1:
            case 2:
                return Variant(SmallInt());
            case 3:
                return Variant(LongInt());
            case 4:
                return Variant::Null();
            case 5:
                return Variant(FromUtf8(std::to_string(SmallInt())));
            case 6:
                return Variant(SmallInt() + 0.5);
            default:
                return Any();
        }
    }
    String Name() {
        const uint8_t b = Byte();
        return b >= 0x80 ? Str() : String(kNames[b % 8]);
    }
    // A value of the given kind (see kProps).
    Variant Make(char kind) {
        switch (kind) {
            case 't':
                return TextValue();
            case 'x':
            case 'l':
                return Variant(static_cast<int32_t>(SmallInt()));
            case 'i':
                return Variant(SmallInt());
            case 's':
                return Variant(Str());
            case 'n':
                return Variant(Name());
            case 'o': {
                const uint8_t b = Byte() % 3;
                if (b == 0) return Variant(std::make_shared<qv::Font>());
                return b == 1 ? Variant() : Any();
            }
            case 'b':
                return Variant((Byte() & 1) != 0);
            default:
                return Any();
        }
    }
};

// An Integer or Long: a number the control takes as an index as it is.
bool IsWholeNumber(const Variant& v) {
    return v.Type() == VarType::Integer || v.Type() == VarType::Long;
}
bool IsOmitted(const Variant& v) {
    return v.IsMissing() || v.IsEmpty() || v.IsNull();
}
std::optional<String> TextOf(const Variant& v) {
    try {
        return v.ToString();
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

// The item after `start` (-1: item 0) round to `start` whose text begins with / equals `text`.
int32_t LinearFind(const ItemList& items, StringView text, int32_t start, bool exact) {
    const int32_t n = items.Count();
    for (int32_t k = 1; k <= n; ++k) {
        const int32_t i = (start + k) % n;
        if (exact ? EqualsFolded(items.Text(i), text) : StartsWithFolded(items.Text(i), text))
            return i;
    }
    return -1;
}

using Row = std::vector<Variant>;
using Table = std::vector<Row>;

Table RowsOf(const Snapshot& s) {
    Table t(static_cast<size_t>(s.rows));
    const auto columns = static_cast<size_t>(s.columns);
    for (size_t r = 0; r < t.size(); ++r)
        t[r].assign(s.cells.begin() + static_cast<std::ptrdiff_t>(r * columns),
                    s.cells.begin() + static_cast<std::ptrdiff_t>((r + 1) * columns));
    return t;
}

bool SameTable(const Table& a, const Table& b) {
    if (a.size() != b.size()) return false;
    for (size_t r = 0; r < a.size(); ++r) {
        if (a[r].size() != b[r].size()) return false;
        for (size_t c = 0; c < a[r].size(); ++c)
            if (!SameVariant(a[r][c], b[r][c])) return false;
    }
    return true;
}

// A member call as decoded: what it runs, whether it may or must be refused, and what it
// promises when it succeeds (a failure message, "" when kept).
struct Call {
    std::function<void()> run;
    bool mayRefuse = false, mustRefuse = false;
    std::function<std::string(const Snapshot&)> promise;
};

class Harness {
  public:
    Harness()
        : box_(form_.Add<QVcomboBoxControl>(u"cboBox", 2000, 300)),
          other_(form_.Add<QVtxtBoxControl>(u"txtOther")) {
        form_.SetClock(36000);
    }

    void Run(Reader& in) {
        while (in.More()) Step(in);
    }

  private:
    const ItemList& Items() const { return box_.ListBox().Items(); }
    int32_t Count() const { return box_.ListCount(); }
    Snapshot Now(bool deep = false) { return Take(box_, deep); }

    void Step(Reader& in) {
        const size_t at = in.Pos();
        const uint8_t byte = in.Byte();
        const char op = kOps.find(static_cast<char>(byte)) != std::string_view::npos
                            ? static_cast<char>(byte)
                            : kOps[byte % kOps.size()];
        ++steps_;
        form_.ClearPropertyChanges();
        const bool method = kMethodOps.find(op) != std::string_view::npos || op == 's';
        const Snapshot before = Now(method);
        step_ = "@" + std::to_string(at) + " " + op;
        if (method) {
            Method(op == 's' ? Property(in) : Decode(op, in, before), before);
        } else {
            try {
                Act(op, in);
            } catch (const std::exception& e) {
                Fail(std::string("(a) exception escaped a user call: ") + e.what(), step_, before,
                     nullptr);
            } catch (...) {
                Fail("(a) an exception of another type escaped a user call", step_, before,
                     nullptr);
            }
            Trace();
        }
        const Snapshot after = Now();
        CheckState(before, after);
        CheckSearches(before, after);
    }

    void Act(char op, Reader& in) {
        const bool focused = form_.FocusedControl() != nullptr;
        for (const KeyOp& k : kKeys)
            if (k.op == op) {
                const auto code = k.code ? k.code : static_cast<int16_t>(in.Byte());
                const auto shift = k.code ? k.shift : static_cast<int16_t>(in.Byte() & 7);
                step_ += " " + std::to_string(code) + "/" + std::to_string(shift);
                if (focused || code == Key::Tab) form_.PressKey(code, shift);
                return;
            }
        switch (op) {
            case 'c':
            case '"': {
                const String s = op == 'c' ? String(1, in.Char()) : in.Str();
                step_ += " \"" + Printable(s) + "\"";
                if (!s.empty()) probe_ = s;
                if (focused) form_.Type(s);
                return;
            }
            case 'f':
            case 'g':
                form_.Focus(op == 'f' ? static_cast<Control&>(box_) : other_);
                return;
            case 'o':
                form_.Leave();
                return;
            case 'a': {
                const double seconds = in.Byte() * 0.01;
                step_ += " " + std::to_string(seconds) + " s";
                form_.AdvanceTime(seconds);
                return;
            }
            case 'A':
                form_.AdvanceTime(0.35);
                return;
            case '1':
            case '2': {
                ButtonWidget* button = op == '1' ? &box_.Button1() : box_.Button2();
                if (!button || !button->Visible()) {
                    step_ += " (not shown)";
                    return;
                }
                form_.Click(box_, static_cast<float>(button->Left() + button->Width() / 2),
                            static_cast<float>(button->Top() + button->Height() / 2));
                return;
            }
            case 'm': {
                const float x = in.X(), y = in.Y();
                step_ += " at " + std::to_string(x) + ", " + std::to_string(y);
                MouseAction(form_, box_, 'm', x, y, in);
                return;
            }
            case 'l': {
                const uint8_t n = in.Byte();
                ListWidget& list = box_.ListBox();
                if (!list.Dropped() || !list.Enabled() || Count() == 0) {
                    step_ += " (no list to choose from)";
                    return;
                }
                step_ += " item " + std::to_string(n % Count());
                form_.ChooseListItem(list, n % Count());
                return;
            }
            case 'L':
                if (box_.ListBox().Dropped()) form_.CloseList(box_.ListBox());
                return;
            case 'y':
                box_.DropDownStyle(!box_.DropDownStyle());
                return;
            case 'V': {
                box_.Button2Visible(!box_.Button2Visible());
                headless::Site& site = form_.SiteOf(box_);
                site.Resize(site.Width(), site.Height());
                return;
            }
            case 'z': {
                const int32_t w = in.Byte() * 16;
                const int32_t h = in.Byte() * 4;
                step_ += " " + std::to_string(w) + " x " + std::to_string(h);
                form_.SiteOf(box_).Resize(w, h);
                return;
            }
            default:  // 'p': a probe of the searches, checked with the others after the step
                probe_ = in.Str();
                probeStart_ = in.SmallInt();
                step_ += " \"" + Printable(probe_) + "\" from " + std::to_string(probeStart_);
                return;
        }
    }

    // A column argument (see the input format).
    Variant Column(Reader& in) {
        switch (in.Byte() % 8) {
            case 0:
            case 1:
                return Variant(in.SmallInt());
            case 2:
                return Variant(box_.DataField());
            case 3:
                return Variant(box_.DataIdField());
            case 4:
                return Variant(String(kNames[in.Byte() % 8]));
            case 5:
                return Variant(in.Str());
            case 6:
                return Variant(FromUtf8(std::to_string(in.Byte() % 4)));
            default:
                return in.Any();
        }
    }

    // Whether Item(column, index) raises 380, when the arguments tell; nullopt when they do not.
    std::optional<bool> ItemRefused(const Variant& column, const Variant& index) const {
        if (!IsOmitted(index) && !IsWholeNumber(index)) return std::nullopt;
        if (column.IsString()) return false;
        if (!IsWholeNumber(column)) return std::nullopt;
        return column.ToLong() >= box_.Cache().Columns();
    }

    // The row Item(…, index) names: the selected item when omitted.
    int32_t RowOf(const Variant& index) const {
        return IsOmitted(index) ? box_.ListIndex() : index.ToLong();
    }

    Call Decode(char op, Reader& in, const Snapshot& before) {
        Call call;
        const int32_t count = Count();
        switch (op) {
            case '+':
            case 'i': {
                const String text = in.Str();
                const Variant index = op == 'i' ? in.Index() : Variant::Missing();
                step_ += " \"" + Printable(text) + "\"" + (op == 'i' ? " at " + Show(index) : "");
                if (count >= kMaxItems) {
                    step_ += " (list full)";
                    return call;
                }
                std::optional<int32_t> at;
                if (IsOmitted(index)) at = -1;
                if (IsWholeNumber(index)) at = index.ToLong();
                call.mayRefuse = !at || *at < -1 || *at > count;
                call.mustRefuse = at && call.mayRefuse;
                call.run = [this, text, index] { box_.AddItem(text, index); };
                if (at && !call.mustRefuse)
                    call.promise = [&before, text,
                                    pos = *at == -1 ? count : *at](const Snapshot& after) {
                        return Inserted(before, after, text, pos);
                    };
                return call;
            }
            case '*': {
                const int32_t n = std::min(in.Byte() % 64, kMaxItems - std::min(count, kMaxItems));
                const String text = in.Str();
                step_ += " " + std::to_string(n) + " x \"" + Printable(text) + "\"";
                call.run = [this, n, text] {
                    for (int32_t i = 0; i < n; ++i)
                        box_.AddItem(text + FromUtf8(std::to_string(i)));
                };
                call.promise = [&before, n, text](const Snapshot& after) -> std::string {
                    std::vector<String> expected = before.items;
                    for (int32_t i = 0; i < n; ++i)
                        expected.push_back(text + FromUtf8(std::to_string(i)));
                    return after.items == expected ? ""
                                                   : "the items are not the old ones and the added";
                };
                return call;
            }
            case '-': {
                const int32_t index = in.SmallInt();
                step_ += " " + std::to_string(index);
                call.mayRefuse = call.mustRefuse = !Items().Valid(index);
                call.run = [this, index] { box_.RemoveItem(index); };
                call.promise = [&before, index](const Snapshot& after) {
                    return Removed(before, after, index);
                };
                return call;
            }
            case 'C':
                call.run = [this] { box_.Clear(); };
                call.promise = [](const Snapshot& after) -> std::string {
                    if (!after.items.empty() || after.listIndex != -1 || !after.field.empty())
                        return "Clear left items, a selection or text";
                    return after.rows == 0 && after.columns == 0 ? "" : "Clear left records";
                };
                return call;
            case 'S': {
                const Variant text = in.TextValue();
                const int32_t data = in.LongInt();
                step_ += " " + Show(text) + ", " + std::to_string(data);
                const std::optional<String> shown = text.IsNull() ? String() : TextOf(text);
                call.mayRefuse = call.mustRefuse = !shown;
                call.run = [this, text, data] { box_.SetItem(text, data); };
                if (shown)
                    call.promise = [shown, data](const Snapshot& after) -> std::string {
                        if (after.items != std::vector<String>{*shown} ||
                            after.data != std::vector<int32_t>{data} || after.listIndex != 0)
                            return "SetItem did not leave the one item, selected";
                        if (after.field != TrimRightBlanks(*shown))
                            return "SetItem did not take the item into the field";
                        return after.rows == 0 && after.columns == 0 ? "" : "SetItem kept records";
                    };
                return call;
            }
            case 'I': {
                const int32_t index = in.SmallInt();
                step_ += " " + std::to_string(index);
                call.mayRefuse = call.mustRefuse = index < -1 || index >= count;
                call.run = [this, index] { box_.ListIndex(index); };
                call.promise = [&before, index](const Snapshot& after) -> std::string {
                    if (after.listIndex != index) return "ListIndex does not read as written";
                    if (index >= 0 && index != before.listIndex &&
                        index < static_cast<int32_t>(after.items.size()) &&
                        after.field != TrimRightBlanks(after.items[static_cast<size_t>(index)]))
                        return "the newly selected item is not in the field";
                    return "";
                };
                return call;
            }
            case '=':
            case 'D': {
                const int32_t index = in.SmallInt();
                const String text = op == '=' ? in.Str() : String();
                const int32_t data = op == 'D' ? in.LongInt() : 0;
                step_ += " " + std::to_string(index) + " = " +
                         (op == '=' ? "\"" + Printable(text) + "\"" : std::to_string(data));
                call.mayRefuse = call.mustRefuse = !Items().Valid(index);
                if (op == '=')
                    call.run = [this, index, text] { box_.List(index, text); };
                else
                    call.run = [this, index, data] { box_.ItemData(index, data); };
                call.promise = [&before, op, index, text, data](const Snapshot& after) {
                    Snapshot expected = before;
                    const auto i = static_cast<size_t>(index);
                    if (op == '=') expected.items[i] = text;
                    if (op == 'D') expected.data[i] = data;
                    return expected.items == after.items && expected.data == after.data
                               ? std::string()
                               : std::string("the write changed other items or not its own");
                };
                return call;
            }
            case 'r': {
                const int32_t index = in.SmallInt();
                step_ += " " + std::to_string(index);
                call.run = [this, index, &before] {
                    const String text = box_.List(index);
                    const int32_t data = box_.ItemData(index);
                    const bool valid =
                        index >= 0 && index < static_cast<int32_t>(before.items.size());
                    const auto i = static_cast<size_t>(index);
                    if (text != (valid ? before.items[i] : String()) ||
                        data != (valid ? before.data[i] : 0))
                        Fail("(c) List or ItemData read another value than the item's", step_,
                             before, nullptr);
                };
                return call;
            }
            case '[':
            case ']': {
                const Variant column = Column(in);
                const Variant index = in.Index();
                const Variant value = op == ']' ? in.Any() : Variant();
                step_ += " column " + Show(column) + " row " + Show(index);
                if (op == ']') step_ += " = " + Show(value);
                if (op == ']' && column.IsString() && box_.Cache().Columns() >= kMaxColumns &&
                    box_.Cache().FindColumn(column.ToString()) < 0) {
                    step_ += " (no more columns)";
                    return call;
                }
                const std::optional<bool> refused = ItemRefused(column, index);
                call.mayRefuse = !refused || *refused;
                call.mustRefuse = refused && *refused;
                if (!refused || *refused || !IsWholeNumber(column)) {
                    call.run = op == '[' ? std::function<void()>([this, column, index] {
                        (void)box_.Item(column, index);
                    })
                                         : [this, column, index, value] {
                                               box_.Item(column, index, value);
                                           };
                    if (op == ']' && refused && !*refused)
                        call.promise = [this, &before, column, index,
                                        value](const Snapshot& after) {
                            return NamedWrite(before, after, column, index, value);
                        };
                    return call;
                }
                // A column number within the cache: the cell is read or written as it is.
                const int32_t c = column.ToLong(), row = RowOf(index);
                const bool cell = c >= 0 && row >= 0 && row < before.rows;
                const Variant old =
                    cell ? before.cells[static_cast<size_t>(row * before.columns + c)]
                         : Variant(String());
                if (op == '[') {
                    call.run = [this, column, index, old, c, row, &before] {
                        const Variant got = box_.Item(column, index);
                        const bool none = c < 0 || row < 0 || row >= before.rows;
                        if (!(none ? SameVariant(got, Variant(String())) : SameVariant(got, old)))
                            Fail("(c) Item read " + Show(got) + ", the cell holds " + Show(old),
                                 step_, before, nullptr);
                    };
                    return call;
                }
                call.run = [this, column, index, value] { box_.Item(column, index, value); };
                call.promise = [this, &before, c, row,
                                value](const Snapshot& after) -> std::string {
                    if (c < 0)
                        return Difference(before, after).empty()
                                   ? ""
                                   : "a write to a negative column changed " +
                                         Difference(before, after);
                    if (after.items != before.items || after.data != before.data)
                        return "a write by column number changed the items";
                    if (row < 0 || row >= Count()) return "";
                    const Variant got = box_.Item(Variant(c), Variant(row));
                    return SameVariant(got, value) ? "" : "the cell reads back " + Show(got);
                };
                return call;
            }
            case '?': {
                const Variant value = (in.Byte() & 1) ? Variant(in.Str()) : in.Any();
                const auto item = static_cast<SearchItemEnum>(in.Byte() % 2);
                const auto mode = static_cast<MatchModeEnum>(in.Byte() % 2);
                step_ += " " + Show(value) +
                         (item == SearchItemEnum::SearchItemData ? " data" : " text") +
                         (mode == MatchModeEnum::Partial ? " partial" : " whole");
                call.run = [this, value, item, mode, &before] {
                    const Variant got = box_.FindItem(value, item, mode);
                    int32_t expected = -1;
                    if (item == SearchItemEnum::SearchItemData) {
                        try {
                            const int32_t data = value.ToLong();
                            const auto it = std::find(before.data.begin(), before.data.end(), data);
                            if (it != before.data.end())
                                expected = static_cast<int32_t>(it - before.data.begin());
                        } catch (const RuntimeError&) {
                        }
                    } else if (const std::optional<String> text = TextOf(value)) {
                        expected = LinearFind(Items(), *text, 0, mode != MatchModeEnum::Partial);
                    }
                    if (!SameVariant(got, Variant(expected)))
                        Fail("(e) FindItem gave " + Show(got) + ", a linear scan " +
                                 std::to_string(expected),
                             step_, before, nullptr);
                };
                return call;
            }
            case 'K':
                call.run = [this] { (void)box_.CheckValueNow(); };
                return call;
            case 'Q':
                call.run = [this] { box_.CompleteNow(); };
                // A marked item in a dropped list is taken.
                if (before.dropped && before.listIndex >= 0)
                    call.promise = [](const Snapshot& after) -> std::string {
                        if (after.dropped) return "CompleteNow left the list dropped";
                        if (after.listIndex >= 0 &&
                            after.listIndex < static_cast<int32_t>(after.items.size()) &&
                            TrimRightBlanks(after.field) !=
                                TrimRightBlanks(after.items[static_cast<size_t>(after.listIndex)]))
                            return "CompleteNow did not take the marked item";
                        return "";
                    };
                return call;
            case 'q':
                call.run = [this] { box_.StartQuery(); };
                return call;
            default:  // 'F'
                call.run = [this] { box_.FormatText(); };
                return call;
        }
    }

    // (c) The items after an insert at `pos`: the old ones with `text` there, the selection and
    // the records following their items.
    static std::string Inserted(const Snapshot& before, const Snapshot& after, const String& text,
                                int32_t pos) {
        std::vector<String> items = before.items;
        std::vector<int32_t> data = before.data;
        items.insert(items.begin() + pos, text);
        data.insert(data.begin() + pos, 0);
        if (after.items != items || after.data != data)
            return "the items are not the old ones with the new one at " + std::to_string(pos);
        const int32_t selected = before.listIndex >= pos ? before.listIndex + 1 : before.listIndex;
        if (after.listIndex != selected) return "the selection did not follow its item";
        if (after.field != before.field) return "adding an item changed the field";
        Table rows = RowsOf(before);
        if (before.columns > 0) {
            const Row empty(static_cast<size_t>(before.columns));
            if (pos < before.rows) rows.insert(rows.begin() + pos, empty);
            rows.resize(std::max(rows.size(), items.size()), empty);
        }
        if (after.names != before.names || !SameTable(RowsOf(after), rows))
            return "the records did not follow their items";
        return "";
    }

    static std::string Removed(const Snapshot& before, const Snapshot& after, int32_t index) {
        std::vector<String> items = before.items;
        std::vector<int32_t> data = before.data;
        items.erase(items.begin() + index);
        data.erase(data.begin() + index);
        if (after.items != items || after.data != data)
            return "the items are not the old ones without item " + std::to_string(index);
        const int32_t selected = before.listIndex == index  ? -1
                                 : before.listIndex > index ? before.listIndex - 1
                                                            : before.listIndex;
        if (after.listIndex != selected) return "the selection did not follow its item";
        Table rows;
        std::vector<String> names;
        if (!items.empty()) {
            rows = RowsOf(before);
            names = before.names;
            if (index < before.rows) rows.erase(rows.begin() + index);
            if (rows.size() > items.size()) rows.resize(items.size());
        }
        if (after.names != names || !SameTable(RowsOf(after), rows))
            return "the records did not follow their items";
        return "";
    }

    // (c) A write by a column name: the DataField column is the item's text (and the field's,
    // for the selected item), the DataIdField column its data.
    std::string NamedWrite(const Snapshot& before, const Snapshot& after, const Variant& column,
                           const Variant& index, const Variant& value) const {
        const int32_t row = IsOmitted(index) ? before.listIndex : index.ToLong();
        if (row < 0 || row >= static_cast<int32_t>(before.items.size())) {
            return after.items == before.items && after.data == before.data
                       ? ""
                       : "a write to no item changed the items";
        }
        const String name = TrimRightBlanks(column.ToString());
        const auto r = static_cast<size_t>(row);
        if (EqualsFolded(name, TrimRightBlanks(box_.DataField()))) {
            const std::optional<String> text = TextOf(value);
            if (!text) return "";
            if (after.items[r] != *text) return "the item's text is not the value written";
            const String shown = box_.Trim() ? TrimBlanks(*text) : TrimRightBlanks(*text);
            if (row == before.listIndex && after.field != shown)
                return "the selected item's new text is not in the field";
        }
        return "";
    }

    // One property write by late binding.
    Call Property(Reader& in) {
        const uint8_t p = in.Byte();
        const Prop& prop = kProps[p % 32 % kWritableCount];
        const Variant value = in.Make(p >= 0x80 ? 'v' : prop.kind);
        step_ += " LetProperty " + ToUtf8(prop.name) + " = " + Show(value);
        Call call;
        call.mayRefuse = true;
        call.run = [this, &prop, value] { box_.LetProperty(prop.name, value); };
        return call;
    }

    // (b), (c) for a member call.
    void Method(const Call& call, const Snapshot& before) {
        if (!call.run) return Trace();
        int32_t error = 0;
        try {
            call.run();
        } catch (const RuntimeError& e) {
            error = e.Number();
            step_ +=
                "  (refused: " + std::to_string(error) + " " + Printable(e.Description()) + ")";
        } catch (const std::exception& e) {
            Fail(std::string("(b) a call threw ") + e.what(), step_, before, nullptr);
        }
        Trace();
        const Snapshot after = Now(true);
        if (error != 0 && error != err::InvalidPropertyValue)
            Fail("(b) a call raised error " + std::to_string(error), step_, before, &after);
        if (error != 0 && !call.mayRefuse)
            Fail("(c) a call that is to succeed raised 380", step_, before, &after);
        if (error != 0) {
            if (const std::string field = Difference(before, after); !field.empty())
                Fail("(b) a refused call changed " + field, step_, before, &after);
            return;
        }
        if (call.mustRefuse)
            Fail("(c) a call with an invalid index was not refused", step_, before, &after);
        if (call.promise)
            if (const std::string broken = call.promise(after); !broken.empty())
                Fail("(c) " + broken, step_, before, &after);
    }

    // (d).
    void CheckState(const Snapshot& before, const Snapshot& s) const {
        if (s.listIndex < -1 || s.listIndex >= static_cast<int32_t>(s.items.size()))
            Fail("(d) ListIndex is no item's index", step_, before, &s);
        if (s.rows > static_cast<int32_t>(s.items.size()))
            Fail("(d) the cache has more rows than the list has items", step_, before, &s);
    }

    // (e).
    void CheckSearches(const Snapshot& before, const Snapshot& s) {
        const ItemList& items = Items();
        const int32_t n = items.Count();
        String probes[5] = {s.field, s.field.substr(0, 1), String(), String(), probe_};
        if (n > 0) {
            const String& item = items.Text(static_cast<int32_t>(steps_ % static_cast<size_t>(n)));
            probes[3] = item.substr(0, steps_ % (item.size() + 2));
            if (steps_ & 1) probes[3] = UpperCase(probes[3]);
        }
        for (size_t k = 0; k < std::size(probes); ++k) {
            int32_t starts[2] = {
                static_cast<int32_t>((steps_ * 7 + k * 3) % static_cast<size_t>(n + 1)) - 1,
                s.listIndex};
            if (k == 4 && probeStart_ >= -1 && probeStart_ < n) starts[0] = probeStart_;
            for (const int32_t start : starts)
                for (const bool exact : {false, true}) {
                    const int32_t got = exact ? items.FindExact(probes[k], start)
                                              : items.FindPrefix(probes[k], start);
                    const int32_t expected = LinearFind(items, probes[k], start, exact);
                    if (got != expected)
                        Fail(std::string("(e) ") + (exact ? "FindExact" : "FindPrefix") + "(\"" +
                                 Printable(probes[k]) + "\", " + std::to_string(start) + ") gave " +
                                 std::to_string(got) + ", a linear scan " +
                                 std::to_string(expected),
                             step_, before, &s);
                }
        }
    }

    void Trace() const {
        if (gFuzzTrace) std::fprintf(stderr, "step: %s\n", step_.c_str());
    }

    headless::Container form_;
    QVcomboBoxControl& box_;
    QVtxtBoxControl& other_;
    std::string step_;
    size_t steps_ = 0;
    String probe_;             // the last string typed or probed
    int32_t probeStart_ = -1;  // the start the last probe asked for
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Reader in(data, size);
    Harness harness;
    harness.Run(in);
    return 0;
}
