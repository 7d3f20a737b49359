// Reading form files. The JSON parser's events build one control at a time into small value
// trees of our own (a few levels deep; what lies deeper is not part of the format and is
// skipped), which are read into the form and dropped: memory follows the largest control, not
// the file. Our trees free themselves without allocating, so running out of memory while loading
// is an ordinary error.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <unordered_set>

#include <nlohmann/json.hpp>

#include "formfile/FormFile.h"
#include "formfile/FormFileFormat.h"
#include "formfile/FormFileText.h"
#include "library/DataSource.h"
#include "library/Font.h"
#include "library/Picture.h"
#include "library/RuntimeError.h"

namespace qv {

namespace {

using namespace formfile;
using Json = nlohmann::json;

constexpr int32_t kErrFileNotFound = 53;

// A JSON value as the reader needs it.
struct Node {
    enum class Kind : uint8_t { Null, Bool, Int, Uint, Float, String, Array, Object, Unreadable };
    Kind kind = Kind::Null;
    bool cut = false;  // still open where the file broke off
    bool boolean = false;
    int64_t integer = 0;
    uint64_t unsignedInteger = 0;
    double real = 0;
    std::string text;  // String
    const UnreadableValue* unreadable = nullptr;
    std::vector<std::string> keys;  // Object: member names, parallel to `items`
    std::vector<Node> items;        // Array elements, Object member values

    bool IsNumber() const { return kind == Kind::Int || kind == Kind::Uint || kind == Kind::Float; }
    double Real() const {
        return kind == Kind::Int    ? static_cast<double>(integer)
               : kind == Kind::Uint ? static_cast<double>(unsignedInteger)
                                    : real;
    }
    const std::string* String() const { return kind == Kind::String ? &text : nullptr; }
};

// A member by name; a repeated member counts as its last occurrence.
const Node* Member(const Node& object, const char* name) {
    if (object.kind != Node::Kind::Object) return nullptr;
    for (size_t i = object.keys.size(); i-- > 0;)
        if (object.keys[i] == name) return &object.items[i];
    return nullptr;
}

// A JSON string literal of `s`, for naming things in problem lines.
std::string Quoted(const std::string& s) {
    return Json(s).dump(-1, ' ', false, Json::error_handler_t::replace);
}

// A value as it appears in the file, shortened for a problem line.
std::string Shown(const Node& v) {
    switch (v.kind) {
        case Node::Kind::Array:
            return "[...]";
        case Node::Kind::Object:
            return "{...}";
        case Node::Kind::Unreadable:
            return v.unreadable->token;
        default:
            break;
    }
    std::string s;
    switch (v.kind) {
        case Node::Kind::Null:
            s = "null";
            break;
        case Node::Kind::Bool:
            s = v.boolean ? "true" : "false";
            break;
        case Node::Kind::Int:
            s = std::to_string(v.integer);
            break;
        case Node::Kind::Uint:
            s = std::to_string(v.unsignedInteger);
            break;
        case Node::Kind::Float:
            s = Json(v.real).dump();
            break;
        default:
            s = Quoted(v.text);
    }
    return Shortened(s);
}

// A whole number in lo..hi (1200 and 1200.0 both are).
std::optional<int64_t> WholeNumber(const Node* v, int64_t lo, int64_t hi) {
    if (!v) return std::nullopt;
    switch (v->kind) {
        case Node::Kind::Uint:
            if (v->unsignedInteger > static_cast<uint64_t>(hi) ||
                (lo > 0 && v->unsignedInteger < static_cast<uint64_t>(lo)))
                return std::nullopt;
            return static_cast<int64_t>(v->unsignedInteger);
        case Node::Kind::Int:
            if (v->integer < lo || v->integer > hi) return std::nullopt;
            return v->integer;
        case Node::Kind::Float:
            if (!(v->real >= static_cast<double>(lo) && v->real <= static_cast<double>(hi)) ||
                v->real != std::floor(v->real))
                return std::nullopt;
            return static_cast<int64_t>(v->real);
        default:
            return std::nullopt;
    }
}

// A number, or one of the words written for non-finite numbers.
std::optional<double> ReadReal(const Node& v) {
    if (v.IsNumber()) return v.Real();
    if (const auto* s = v.String()) {
        if (*s == kNaN) return std::numeric_limits<double>::quiet_NaN();
        if (*s == kInfinity) return std::numeric_limits<double>::infinity();
        if (*s == kMinusInfinity) return -std::numeric_limits<double>::infinity();
    }
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> HexBytes(const std::string& hex) {
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    if (hex.size() % 2) return std::nullopt;
    std::vector<uint8_t> bytes(hex.size() / 2);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const int hi = digit(hex[2 * i]), lo = digit(hex[2 * i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        bytes[i] = static_cast<uint8_t>(hi << 4 | lo);
    }
    return bytes;
}

// A font value; members left out keep the font's defaults. On failure `why` says what is wrong.
std::shared_ptr<Font> ReadFont(const Node& v, std::string& why) {
    auto font = std::make_shared<Font>();
    auto wrong = [&why](const char* member, const Node& value) {
        why = std::string("the font's \"") + member + "\" " + Shown(value) + " is not usable";
        return nullptr;
    };
    if (const Node* m = Member(v, "name")) {
        const auto* s = m->String();
        if (!s || s->empty()) return wrong("name", *m);
        font->Name(FromUtf8(*s));
    }
    if (const Node* m = Member(v, "size")) {
        const std::optional<float> size = m->IsNumber() ? NarrowToSingle(m->Real()) : std::nullopt;
        if (!size || !(*size > 0 && *size <= 2160)) return wrong("size", *m);
        font->Size(*size);
    }
    struct Flag {
        const char* member;
        void (Font::*set)(bool);
    };
    for (const Flag& f : {Flag{"italic", &Font::Italic}, Flag{"underline", &Font::Underline},
                          Flag{"strikethrough", &Font::Strikethrough}}) {
        if (const Node* m = Member(v, f.member)) {
            if (m->kind != Node::Kind::Bool) return wrong(f.member, *m);
            (font.get()->*f.set)(m->boolean);
        }
    }
    if (const Node* m = Member(v, "weight")) {
        const auto weight = WholeNumber(m, 0, 1000);
        if (!weight) return wrong("weight", *m);
        font->Weight(static_cast<int16_t>(*weight));
    }
    // Bold is the weight seen coarsely; when the two disagree, "bold" was edited by hand.
    if (const Node* m = Member(v, "bold")) {
        if (m->kind != Node::Kind::Bool) return wrong("bold", *m);
        if (m->boolean != font->Bold()) font->Bold(m->boolean);
    }
    if (const Node* m = Member(v, "charset")) {
        const auto charset = WholeNumber(m, std::numeric_limits<int16_t>::min(),
                                         std::numeric_limits<int16_t>::max());
        if (!charset) return wrong("charset", *m);
        font->Charset(static_cast<int16_t>(*charset));
    }
    return font;
}

// A picture value; members left out read as no picture data. On failure `why` says what is wrong.
std::shared_ptr<Picture> ReadPicture(const Node& v, std::string& why) {
    auto wrong = [&why](const char* member, const Node& value) {
        why = std::string("the picture's \"") + member + "\" " + Shown(value) + " is not usable";
        return nullptr;
    };
    Picture::Format format = Picture::Format::None;
    if (const Node* m = Member(v, "format")) {
        const auto code = WholeNumber(m, 0, 10);
        using F = Picture::Format;
        const F known[] = {F::None, F::Bitmap, F::Icon, F::Cursor, F::Png};
        const auto it = std::find_if(std::begin(known), std::end(known),
                                     [&](F f) { return code && static_cast<int64_t>(f) == *code; });
        if (it == std::end(known)) return wrong("format", *m);
        format = *it;
    }
    int32_t size[2] = {0, 0};
    const char* sizeNames[2] = {"width", "height"};
    for (int i = 0; i < 2; ++i) {
        if (const Node* m = Member(v, sizeNames[i])) {
            const auto n = WholeNumber(m, 0, std::numeric_limits<int32_t>::max());
            if (!n) return wrong(sizeNames[i], *m);
            size[i] = static_cast<int32_t>(*n);
        }
    }
    std::vector<uint8_t> data;
    if (const Node* m = Member(v, "data")) {
        const auto* hex = m->String();
        auto bytes = hex ? HexBytes(*hex) : std::nullopt;
        if (!bytes) return wrong("data", *m);
        data = std::move(*bytes);
    }
    return std::make_shared<Picture>(format, size[0], size[1], std::move(data));
}

// The value of a property of subtype `type`, or nothing with `why` set.
std::optional<Variant> ReadValue(const std::string& type, const Node* value, std::string& why) {
    if (type == "Empty") return Variant();
    if (type == "Null") return Variant::Null();
    if (!value) {
        why = "it has no \"value\"";
        return std::nullopt;
    }
    const Node& v = *value;
    if (v.kind == Node::Kind::Unreadable) {
        why = "the value " + v.unreadable->token + " cannot be read (" + v.unreadable->why + ")";
        return std::nullopt;
    }
    std::optional<Variant> out;
    if (type == "Boolean") {
        if (v.kind == Node::Kind::Bool) out = Variant(v.boolean);
    } else if (type == "Integer") {
        if (auto n = WholeNumber(value, -32768, 32767)) out = Variant(static_cast<int16_t>(*n));
    } else if (type == "Long") {
        if (auto n = WholeNumber(value, std::numeric_limits<int32_t>::min(),
                                 std::numeric_limits<int32_t>::max()))
            out = Variant(static_cast<int32_t>(*n));
    } else if (type == "Single") {
        const auto d = ReadReal(v);
        if (const auto f = d ? NarrowToSingle(*d) : std::nullopt) out = Variant(*f);
    } else if (type == "Double") {
        if (const auto d = ReadReal(v)) out = Variant(*d);
    } else if (type == "Date") {
        // Only serials of real dates: the same range a conversion to Date accepts.
        if (v.IsNumber()) {
            try {
                out = Variant(Variant(v.Real()).ToDate());
            } catch (const RuntimeError&) {
            }
        }
    } else if (type == "String") {
        if (const auto* s = v.String()) out = Variant(FromUtf8(*s));
    } else if (type == "Connection") {
        const auto* s = v.String();
        if (!s) {
            why = "the value " + Shown(v) + " is not a connection description";
            return std::nullopt;
        }
        try {
            return Variant(std::shared_ptr<Object>(OpenConnection(FromUtf8(*s))));
        } catch (const RuntimeError& e) {
            why = "the connection " + Quoted(*s) + " does not open: " + ToUtf8(e.Description());
            return std::nullopt;
        }
    } else if (type == "Font" || type == "Picture") {
        if (v.kind != Node::Kind::Object) {
            why = "the value " + Shown(v) + " is not a " + type;
            return std::nullopt;
        }
        std::shared_ptr<Object> object;
        if (type == "Font")
            object = ReadFont(v, why);
        else
            object = ReadPicture(v, why);
        if (!object) return std::nullopt;
        return Variant(std::move(object));
    } else {
        why = "its type " + Quoted(type) + " is unknown";
        return std::nullopt;
    }
    if (!out) why = "the value " + Shown(v) + " does not fit the type " + type;
    return out;
}

// Reads the root's members and the controls into the form, and words the problems.
class FormReader {
  public:
    explicit FormReader(FormLoadResult& result) : result_(result) {}

    void ReadRoot(const Node* root, bool sawControls) {
        if (!root || root->kind != Node::Kind::Object) {
            if (!(root && root->cut) && !damaged_)
                rootProblems_.push_back("The file does not hold a form; nothing was loaded.");
            return;
        }
        const bool rootCut = root->cut;
        const Node* format = Member(*root, "format");
        const auto* formatName = format ? format->String() : nullptr;
        if (!(formatName && *formatName == kFormatName) && !(rootCut && !format))
            rootProblems_.push_back("The file is not marked as a " + Quoted(kFormatName) +
                                    " (\"format\" is " + (format ? Shown(*format) : "missing") +
                                    "); it was read as one anyway.");
        const Node* version = Member(*root, "version");
        const auto number = WholeNumber(version, 1, std::numeric_limits<int32_t>::max());
        if (number && *number > kFormatVersion)
            rootProblems_.push_back("The file is format version " + std::to_string(*number) +
                                    ", newer than this program reads (" +
                                    std::to_string(kFormatVersion) +
                                    "); what it understands was loaded.");
        else if (!number && !(rootCut && !version))
            rootProblems_.push_back(
                "The file's format version is missing or not usable; it was read as version " +
                std::to_string(kFormatVersion) + ".");
        if (const Node* title = Member(*root, "title")) {
            if (const auto* s = title->String())
                result_.form.title = FromUtf8(*s);
            else
                rootProblems_.push_back("The title " + Shown(*title) +
                                        " is not text; it was left empty.");
        }
        const Node* controls = Member(*root, "controls");
        if ((!controls || controls->kind != Node::Kind::Array) && !(rootCut && !controls) &&
            !sawControls)
            rootProblems_.push_back("The file holds no list of controls.");
    }

    // A repeated "controls" list replaces the earlier one, as a repeated member does.
    void RestartControls() {
        result_.form.controls.clear();
        names_.clear();
    }

    void ReadControl(const Node& c, size_t number) {
        std::vector<FormControl>& out = result_.form.controls;
        const std::string position = "Control " + std::to_string(number);
        if (c.kind != Node::Kind::Object) {
            if (!c.cut) Problem(position + " is not an object; it was left out.");
            return;
        }
        const bool cut = c.cut;
        auto text = [&c](const char* member) -> const std::string* {
            const Node* m = Member(c, member);
            const auto* s = m ? m->String() : nullptr;
            return s && !s->empty() ? s : nullptr;
        };
        const std::string* className = text("class");
        const std::string* name = text("name");
        // A control the damage cut off is kept only when it is still known what it is.
        if (cut && (!className || !name)) return;
        if (!name) {
            Problem(position + " has no \"name\"; it was left out.");
            return;
        }
        const std::string label = "Control " + Quoted(*name);
        if (!className) {
            Problem(label + " has no \"class\"; it was left out.");
            return;
        }
        // Names on a form are identifiers, which the language compares without case.
        if (!names_.insert(UpperCase(FromUtf8(*name))).second) {
            Problem(label + " (" + position +
                    ") repeats an earlier control's name; it was left out.");
            return;
        }

        FormControl& control = out.emplace_back();
        control.className = FromUtf8(*className);
        control.name = FromUtf8(*name);
        struct Side {
            const char* member;
            int32_t FormControl::*field;
            int32_t fallback;
        };
        for (const Side& s :
             {Side{"left", &FormControl::left, 0}, Side{"top", &FormControl::top, 0},
              Side{"width", &FormControl::width, kFormDefaultWidth},
              Side{"height", &FormControl::height, kFormDefaultHeight}}) {
            const Node* m = Member(c, s.member);
            const auto n = WholeNumber(m, 0, kFormMaxTwips);
            control.*s.field = n ? static_cast<int32_t>(*n) : s.fallback;
            if (!n && !(cut && !m))
                Problem(label + ": \"" + s.member + "\" is " + (m ? Shown(*m) : "missing") +
                        ", not a whole number from 0 to " + std::to_string(kFormMaxTwips) + "; " +
                        std::to_string(s.fallback) + " was used.");
        }
        const Node* properties = Member(c, "properties");
        if (!properties) return;
        if (properties->kind != Node::Kind::Array) {
            Problem(label + ": \"properties\" is not a list; no properties were loaded.");
            return;
        }
        std::unordered_set<String> keys;
        for (size_t i = 0; i < properties->items.size(); ++i)
            ReadProperty(properties->items[i], i + 1, label, control.properties, keys);
    }

    void Problem(const std::string& line) { problems_.push_back(line); }
    void Damaged() { damaged_ = true; }

    // Problems in file order: bytes, the root's members, the controls, the damage.
    void Finish(const std::vector<std::string>& before, const std::vector<std::string>& after) {
        auto add = [this](const std::vector<std::string>& lines) {
            for (const std::string& line : lines) result_.problems.push_back(FromUtf8(line));
        };
        add(before);
        add(rootProblems_);
        add(problems_);
        add(after);
    }

  private:
    void ReadProperty(const Node& p, size_t number, const std::string& label,
                      MemoryPropertyBag& bag, std::unordered_set<String>& keys) {
        if (p.cut) return;
        const std::string position = label + ", property " + std::to_string(number);
        constexpr const char* kLeftOut = "; the property was left out.";
        if (p.kind != Node::Kind::Object) {
            Problem(position + " is not an object" + kLeftOut);
            return;
        }
        const Node* keyMember = Member(p, "key");
        const auto* key = keyMember ? keyMember->String() : nullptr;
        if (!key || key->empty()) {
            Problem(position + " has no \"key\"" + kLeftOut);
            return;
        }
        const std::string named = label + ", property " + Quoted(*key);
        String bagKey = FromUtf8(*key);
        if (!keys.insert(bagKey).second) {
            Problem(named + " is stored twice; the later one was left out.");
            return;
        }
        const Node* type = Member(p, "type");
        const auto* typeName = type ? type->String() : nullptr;
        if (!typeName) {
            Problem(named + " has no \"type\"" + kLeftOut);
            return;
        }
        std::string why;
        if (const auto value = ReadValue(*typeName, Member(p, "value"), why))
            bag.Append(std::move(bagKey), *value);  // `keys` holds it: new to the bag
        else
            Problem(named + ": " + why + kLeftOut);
    }

    FormLoadResult& result_;
    std::unordered_set<String> names_;  // upper case
    std::vector<std::string> rootProblems_, problems_;
    bool damaged_ = false;
};

// Turns the parser's events into the root's members and, one by one, the controls. Containers
// deeper than the format goes are kept empty: their contents are not read, and a tree without
// depth frees itself without deep recursion.
class FormEvents {
  public:
    FormEvents(const FormFileText& text, FormReader& reader) : text_(text), reader_(reader) {}

    bool null() { return Scalar(Node{}); }
    bool boolean(bool v) {
        Node n;
        n.kind = Node::Kind::Bool;
        n.boolean = v;
        return Scalar(std::move(n));
    }
    bool number_integer(Json::number_integer_t v) {
        Node n;
        n.kind = Node::Kind::Int;
        n.integer = v;
        return Scalar(std::move(n), true);
    }
    bool number_unsigned(Json::number_unsigned_t v) {
        Node n;
        n.kind = Node::Kind::Uint;
        n.unsignedInteger = v;
        return Scalar(std::move(n), true);
    }
    bool number_float(Json::number_float_t v, const Json::string_t&) {
        Node n;
        n.kind = Node::Kind::Float;
        n.real = v;
        return Scalar(std::move(n), true);
    }
    bool string(Json::string_t& v) {
        Node n;
        if (const UnreadableValue* u = text_.Unreadable(v)) {
            n.kind = Node::Kind::Unreadable;
            n.unreadable = u;
        } else {
            n.kind = Node::Kind::String;
            n.text = std::move(v);
        }
        return Scalar(std::move(n));
    }
    bool binary(Json::binary_t&) { return Scalar(Node{}); }  // not produced by JSON text
    bool key(Json::string_t& k) {
        key_ = std::move(k);
        lastWasNumber_ = false;
        return true;
    }
    bool start_object(std::size_t) { return Open(Node::Kind::Object); }
    bool start_array(std::size_t) { return Open(Node::Kind::Array); }
    bool end_object() { return Close(); }
    bool end_array() { return Close(); }

    bool parse_error(std::size_t position, const std::string&, const Json::exception&) {
        damaged_ = true;
        // `position` counts the bytes read, the offending one included.
        const std::string_view t = text_.Text();
        errorOffset_ = position > 0 ? std::min(position - 1, t.size()) : 0;
        // A number the input stops right after may be cut short ("12" of "1200"): drop it.
        if (lastWasNumber_ && errorOffset_ > 0 &&
            std::string_view("0123456789.eE+-").find(t[errorOffset_ - 1]) != std::string_view::npos)
            DropLastValue();
        for (Node* n : open_) n->cut = true;
        if (element_) FinishControl();
        return false;
    }

    bool Damaged() const { return damaged_; }
    size_t ErrorOffset() const { return errorOffset_; }
    const Node* Root() const { return root_.get(); }
    bool SawControls() const { return sawControls_; }

  private:
    static constexpr size_t kControlsDepth = 2;  // root object, its "controls" list
    // Below a control: its properties, a property, a font or picture value, that value's members.
    static constexpr size_t kMaxDepth = kControlsDepth + 4;

    // Where a new value goes: the root, a member of the root, the list of controls, an element.
    Node* Place(Node&& v) {
        if (depth_ == 0) {
            root_ = std::make_unique<Node>(std::move(v));
            return root_.get();
        }
        if (inControls_ && depth_ == kControlsDepth) {  // a control begins
            element_ = std::make_unique<Node>(std::move(v));
            return element_.get();
        }
        Node& parent = *open_.back();
        if (parent.kind == Node::Kind::Object) parent.keys.push_back(std::move(key_));
        parent.items.push_back(std::move(v));
        return &parent.items.back();
    }

    bool Scalar(Node&& v, bool isNumber = false) {
        lastWasNumber_ = isNumber;
        if (skipping_ || (depth_ == 1 && !RootMemberKept())) return true;
        const bool control = inControls_ && depth_ == kControlsDepth;
        Place(std::move(v));
        if (control) FinishControl();
        return true;
    }

    bool Open(Node::Kind kind) {
        lastWasNumber_ = false;
        ++depth_;
        if (skipping_ || (depth_ == 2 && !RootMemberKept())) {
            ++skipping_;
            return true;
        }
        --depth_;
        Node n;
        n.kind = kind;
        if (depth_ == 1 && kind == Node::Kind::Array && key_ == "controls") {
            if (sawControls_) reader_.RestartControls();
            sawControls_ = true;
            inControls_ = true;
            controlNumber_ = 0;
        }
        Node* placed = Place(std::move(n));
        ++depth_;
        if (depth_ > kMaxDepth) {
            ++skipping_;  // kept empty: what it is shows, what it holds is not read
            return true;
        }
        open_.push_back(placed);
        return true;
    }

    bool Close() {
        lastWasNumber_ = false;
        --depth_;
        if (skipping_) {
            --skipping_;
            return true;
        }
        open_.pop_back();
        if (inControls_ && depth_ == kControlsDepth)
            FinishControl();  // a control ends
        else if (inControls_ && depth_ == kControlsDepth - 1)
            inControls_ = false;  // the list of controls ends
        return true;
    }

    void FinishControl() {
        reader_.ReadControl(*element_, ++controlNumber_);
        element_.reset();
    }

    // The root's own members the reader reads; the rest are skipped unread.
    bool RootMemberKept() const {
        return key_ == "format" || key_ == "version" || key_ == "title" || key_ == "controls";
    }

    void DropLastValue() {
        if (open_.empty()) {
            root_.reset();
            return;
        }
        Node& parent = *open_.back();
        if (parent.items.empty()) return;
        parent.items.pop_back();
        if (parent.kind == Node::Kind::Object && !parent.keys.empty()) parent.keys.pop_back();
    }

    const FormFileText& text_;
    FormReader& reader_;
    std::unique_ptr<Node> root_;
    std::unique_ptr<Node> element_;  // the control being read
    std::vector<Node*> open_;        // stable: only closed siblings move when a list grows
    std::string key_;
    size_t depth_ = 0;
    size_t skipping_ = 0;  // depth of containers being skipped unread
    size_t controlNumber_ = 0;
    bool inControls_ = false;
    bool sawControls_ = false;
    bool lastWasNumber_ = false;
    bool damaged_ = false;
    size_t errorOffset_ = 0;
};

[[noreturn]] void RaiseOutOfMemory(const std::string& what) {
    Raise(err::OutOfMemory, {}, FromUtf8(what));
}

}  // namespace

FormLoadResult FormFromJson(std::string_view utf8) {
    try {
        FormLoadResult result;
        const FormFileText text(utf8);
        FormReader reader(result);
        FormEvents events(text, reader);
        Json::sax_parse(text.Text().begin(), text.Text().end(), &events);
        std::vector<std::string> before, after;
        if (const auto bad = text.FirstBadByte())
            before.push_back("The file holds bytes that are not UTF-8, the first at byte " +
                             std::to_string(*bad) + "; they were read as U+FFFD.");
        if (events.Damaged()) {
            reader.Damaged();
            const size_t offset = text.FileOffset(events.ErrorOffset());
            const bool atEnd = events.ErrorOffset() >= text.Text().size();
            after.push_back("The file is damaged at byte " + std::to_string(offset) +
                            (atEnd ? " (it ends too early)" : " (unexpected text)") +
                            "; only what came before it was loaded.");
        }
        reader.ReadRoot(events.Root(), events.SawControls());
        reader.Finish(before, after);
        return result;
    } catch (const std::bad_alloc&) {
        RaiseOutOfMemory("Out of memory: the form file is too large to load (" +
                         std::to_string(utf8.size()) + " bytes)");
    }
}

FormLoadResult LoadFormFile(const std::string& path, size_t maxBytes) {
    auto fail = [&path](int32_t number, const std::string& what) {
        Raise(number, {}, FromUtf8(what + ": " + path));
    };
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) fail(kErrFileNotFound, "File not found");
    const auto tooLarge = [&] {
        RaiseOutOfMemory("Out of memory: the form file is larger than the limit of " +
                         std::to_string(maxBytes) + " bytes: " + path);
    };
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > maxBytes) tooLarge();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) fail(kErrFileNotFound, "File not found");
    std::string text;
    try {
        if (!ec) text.reserve(static_cast<size_t>(size));
        char buffer[65536];
        size_t n = 0;
        // Read to the end, whatever the size said: the file may have grown, or be a device.
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
            if (text.size() + n > maxBytes) {
                std::fclose(file);
                tooLarge();
            }
            text.append(buffer, n);
        }
    } catch (const std::bad_alloc&) {
        std::fclose(file);
        RaiseOutOfMemory("Out of memory: the form file is too large to load: " + path);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) fail(kErrFileNotFound, "File not found");
    return FormFromJson(text);
}

}  // namespace qv
