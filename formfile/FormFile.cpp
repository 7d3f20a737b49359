#include "formfile/FormFile.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <optional>
#include <random>

#include <nlohmann/json.hpp>

#include "library/Font.h"
#include "library/Picture.h"
#include "library/RuntimeError.h"

#if __has_include(<unistd.h>)
#include <unistd.h>
#define QV_FORMFILE_FSYNC 1
#endif

namespace qv {

namespace {

using Json = nlohmann::json;                 // a file as read
using OrderedJson = nlohmann::ordered_json;  // a file as written: members in a fixed order

constexpr const char* kFormatName = "qvControls form";
constexpr int64_t kFormatVersion = 1;
constexpr int32_t kErrFileNotFound = 53;
constexpr int32_t kErrPathFileAccess = 75;

// Non-finite numbers have no JSON form; they are written as these words and read back.
constexpr const char* kNaN = "NaN";
constexpr const char* kInfinity = "Infinity";
constexpr const char* kMinusInfinity = "-Infinity";

// The Single nearest to `d`, or nothing when `d` is beyond the Single range. Converting an
// out-of-range double to float is undefined, hence the explicit limits.
std::optional<float> NarrowToSingle(double d) {
    if (!std::isfinite(d)) return static_cast<float>(d);
    constexpr double kMax = std::numeric_limits<float>::max();
    constexpr double kRoundsToInfinity = kMax + 0x1p103;  // halfway to the next power of two
    if (std::fabs(d) >= kRoundsToInfinity) return std::nullopt;
    if (std::fabs(d) > kMax) return static_cast<float>(std::copysign(kMax, d));
    return static_cast<float>(d);
}

// ---- Writing -----------------------------------------------------------------------------------

OrderedJson NumberJson(double d) {
    if (std::isnan(d)) return kNaN;
    if (std::isinf(d)) return d > 0 ? kInfinity : kMinusInfinity;
    return d;
}

// A Single as the double with the fewest digits that reads back as the same Single, so 0.1f is
// written 0.1 rather than 0.10000000149011612; the exact double when that check fails.
OrderedJson SingleNumber(float f) {
    if (!std::isfinite(f)) return NumberJson(f);
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, f);
    double shortest = 0;
    if (written.ec == std::errc() &&
        std::from_chars(buffer, written.ptr, shortest).ec == std::errc()) {
        const std::optional<float> back = NarrowToSingle(shortest);
        if (back && std::bit_cast<uint32_t>(*back) == std::bit_cast<uint32_t>(f)) return shortest;
    }
    return static_cast<double>(f);
}

OrderedJson FontValue(const Font& font) {
    OrderedJson v = OrderedJson::object();
    v["name"] = ToUtf8(font.Name());
    v["size"] = SingleNumber(font.Size());
    v["bold"] = font.Bold();
    v["italic"] = font.Italic();
    v["underline"] = font.Underline();
    v["strikethrough"] = font.Strikethrough();
    v["weight"] = font.Weight();
    v["charset"] = font.Charset();
    return v;
}

OrderedJson PictureValue(const Picture& picture) {
    static constexpr char kHexDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(picture.Data().size() * 2);
    for (const uint8_t b : picture.Data()) {
        hex += kHexDigits[b >> 4];
        hex += kHexDigits[b & 0x0F];
    }
    OrderedJson v = OrderedJson::object();
    v["format"] = static_cast<int>(picture.Type());
    v["width"] = picture.Width();
    v["height"] = picture.Height();
    v["data"] = std::move(hex);
    return v;
}

// The subtype's name and the value a file holds for `v`; no name for what a file does not hold
// (an object other than a font or a picture, Nothing, Missing).
std::pair<const char*, OrderedJson> TypedValue(const Variant& v) {
    switch (v.Type()) {
        case VarType::Empty:
            return {"Empty", nullptr};
        case VarType::Null:
            return {"Null", nullptr};
        case VarType::Boolean:
            return {"Boolean", v.ToBool()};
        case VarType::Integer:
            return {"Integer", v.ToInteger()};
        case VarType::Long:
            return {"Long", v.ToLong()};
        case VarType::Single:
            return {"Single", SingleNumber(v.ToSingle())};
        case VarType::Double:
            return {"Double", NumberJson(v.ToDouble())};
        case VarType::Date:
            return {"Date", NumberJson(v.ToDate().days)};
        case VarType::String:
            return {"String", ToUtf8(v.ToString())};
        case VarType::Object:
            if (const auto font = v.As<Font>()) return {"Font", FontValue(*font)};
            if (const auto picture = v.As<Picture>()) return {"Picture", PictureValue(*picture)};
            break;
        case VarType::Missing:
        case VarType::Variant:
            break;
    }
    return {nullptr, nullptr};
}

// ---- Reading: text to tree ---------------------------------------------------------------------

// The file's text made valid UTF-8, since the parser stops at the first ill-formed byte: each
// ill-formed sequence becomes U+FFFD (one per maximal subpart, as FromUtf8 does).
class RepairedText {
  public:
    explicit RepairedText(std::string_view in) {
        text_.reserve(in.size());
        size_t i = 0;
        while (i < in.size()) {
            size_t bad = 0;
            if (const size_t good = WellFormedLength(in, i, bad)) {
                text_.append(in.substr(i, good));
                i += good;
                continue;
            }
            // A sequence cut off by the end of the file is left to the parser to report as a cut.
            const bool cutOff = LeadLength(in[i]) > 1 && i + bad == in.size();
            if (!cutOff && !firstBad_) firstBad_ = i;
            patches_.push_back({text_.size(), i, bad});
            text_ += "\xEF\xBF\xBD";
            i += bad;
        }
    }

    const std::string& Text() const { return text_; }
    // Where the first ill-formed sequence starts in the file.
    std::optional<size_t> FirstBad() const { return firstBad_; }

    // The file offset of an offset in the repaired text.
    size_t FileOffset(size_t offset) const {
        constexpr size_t kReplacementLength = 3;
        std::ptrdiff_t shift = 0;
        for (const Patch& p : patches_) {
            if (offset < p.at) break;
            if (offset < p.at + kReplacementLength) return p.from;
            shift = static_cast<std::ptrdiff_t>(p.from + p.length) -
                    static_cast<std::ptrdiff_t>(p.at + kReplacementLength);
        }
        return static_cast<size_t>(static_cast<std::ptrdiff_t>(offset) + shift);
    }

  private:
    struct Patch {
        size_t at, from, length;  // in the repaired text, in the file, in the file
    };

    static int LeadLength(char c) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0xC2 && b <= 0xDF) return 2;
        if (b >= 0xE0 && b <= 0xEF) return 3;
        if (b >= 0xF0 && b <= 0xF4) return 4;
        return 1;
    }

    // The length of the well-formed sequence at s[i], or 0 with `bad` set to the length of the
    // ill-formed part to replace. Overlongs, surrogates and values above U+10FFFF are ill-formed.
    static size_t WellFormedLength(std::string_view s, size_t i, size_t& bad) {
        const auto b0 = static_cast<unsigned char>(s[i]);
        if (b0 < 0x80) return 1;
        const int length = LeadLength(s[i]);
        if (length == 1) {
            bad = 1;
            return 0;
        }
        unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
        if (b0 == 0xE0) lo = 0xA0;
        if (b0 == 0xED) hi = 0x9F;
        if (b0 == 0xF0) lo = 0x90;
        if (b0 == 0xF4) hi = 0x8F;
        size_t k = 1;
        for (; k < static_cast<size_t>(length) && i + k < s.size(); ++k) {
            const auto b = static_cast<unsigned char>(s[i + k]);
            if (b < (k == 1 ? lo : 0x80) || b > (k == 1 ? hi : 0xBF)) break;
        }
        if (k == static_cast<size_t>(length)) return k;
        bad = k;
        return 0;
    }

    std::string text_;
    std::vector<Patch> patches_;
    std::optional<size_t> firstBad_;
};

// Builds a tree from parser events and keeps it when the parser stops at an error, remembering
// which objects and arrays were still open then: those were cut by the damage.
class TreeBuilder {
  public:
    TreeBuilder(Json& root, std::string_view text) : root_(root), text_(text) {}

    bool null() { return Add(Json(nullptr)); }
    bool boolean(bool v) { return Add(Json(v)); }
    bool number_integer(Json::number_integer_t v) { return Add(Json(v), true); }
    bool number_unsigned(Json::number_unsigned_t v) { return Add(Json(v), true); }
    bool number_float(Json::number_float_t v, const Json::string_t&) { return Add(Json(v), true); }
    bool string(Json::string_t& v) { return Add(Json(std::move(v))); }
    bool binary(Json::binary_t&) { return Add(Json(nullptr)); }  // not produced by JSON text
    bool key(Json::string_t& k) {
        key_ = std::move(k);
        lastWasNumber_ = false;
        return true;
    }
    bool start_object(std::size_t) { return Open(Json::object()); }
    bool start_array(std::size_t) { return Open(Json::array()); }
    bool end_object() { return Close(); }
    bool end_array() { return Close(); }

    bool parse_error(std::size_t position, const std::string&, const Json::exception&) {
        damaged_ = true;
        // `position` counts the bytes read, the offending one included.
        errorOffset_ = position > 0 ? std::min(position - 1, text_.size()) : 0;
        // A number the input stops right after may be cut short ("12" of "1200"): drop it.
        if (lastWasNumber_ && errorOffset_ > 0 &&
            std::string_view("0123456789.eE+-").find(text_[errorOffset_ - 1]) !=
                std::string_view::npos)
            DropLastValue();
        cut_.assign(open_.begin(), open_.end());
        return false;
    }

    bool Damaged() const { return damaged_; }
    size_t ErrorOffset() const { return errorOffset_; }
    bool IsCut(const Json& j) const {
        return std::find(cut_.begin(), cut_.end(), &j) != cut_.end();
    }

  private:
    Json* Insert(Json&& v) {
        if (open_.empty()) {
            root_ = std::move(v);
            return &root_;
        }
        Json& parent = *open_.back();
        if (parent.is_array()) {
            parent.push_back(std::move(v));
            return &parent.back();
        }
        Json& slot = parent[key_];  // a repeated member replaces the earlier one
        slot = std::move(v);
        return &slot;
    }
    bool Add(Json&& v, bool isNumber = false) {
        Insert(std::move(v));
        lastWasNumber_ = isNumber;
        return true;
    }
    bool Open(Json&& container) {
        open_.push_back(Insert(std::move(container)));
        lastWasNumber_ = false;
        return true;
    }
    bool Close() {
        open_.pop_back();
        lastWasNumber_ = false;
        return true;
    }
    void DropLastValue() {
        if (open_.empty()) {
            root_ = Json();
        } else if (open_.back()->is_array()) {
            open_.back()->get_ref<Json::array_t&>().pop_back();
        } else {
            open_.back()->erase(key_);
        }
    }

    Json& root_;
    std::string_view text_;
    std::vector<Json*> open_;  // stable: only closed siblings move when an array grows
    std::vector<const Json*> cut_;
    std::string key_;
    bool lastWasNumber_ = false;
    bool damaged_ = false;
    size_t errorOffset_ = 0;
};

// ---- Reading: tree to form ---------------------------------------------------------------------

// A JSON string literal of `s`, for naming things in problem lines.
std::string Quoted(const std::string& s) {
    return Json(s).dump(-1, ' ', false, Json::error_handler_t::replace);
}

// A value as it appears in the file, shortened for a problem line. Lists and objects are not
// spelled out: they may be nested deeper than writing them out recursively could go.
std::string Shown(const Json& v) {
    if (v.is_array()) return "[...]";
    if (v.is_object()) return "{...}";
    constexpr size_t kMax = 40;
    std::string s = v.dump(-1, ' ', false, Json::error_handler_t::replace);
    if (s.size() <= kMax) return s;
    size_t end = kMax - 3;
    while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80) --end;
    return s.substr(0, end) + "...";
}

const Json* Member(const Json& object, const char* name) {
    const auto it = object.find(name);
    return it == object.end() ? nullptr : &*it;
}

// A whole number in lo..hi (1200 and 1200.0 both are).
std::optional<int64_t> WholeNumber(const Json* v, int64_t lo, int64_t hi) {
    if (!v) return std::nullopt;
    if (const auto* u = v->get_ptr<const Json::number_unsigned_t*>()) {
        if (*u > static_cast<uint64_t>(hi) || (lo > 0 && *u < static_cast<uint64_t>(lo)))
            return std::nullopt;
        return static_cast<int64_t>(*u);
    }
    if (const auto* i = v->get_ptr<const Json::number_integer_t*>()) {
        if (*i < lo || *i > hi) return std::nullopt;
        return *i;
    }
    if (const auto* d = v->get_ptr<const Json::number_float_t*>()) {
        if (!(*d >= static_cast<double>(lo) && *d <= static_cast<double>(hi)) ||
            *d != std::floor(*d))
            return std::nullopt;
        return static_cast<int64_t>(*d);
    }
    return std::nullopt;
}

// A number, or one of the words written for non-finite numbers.
std::optional<double> ReadReal(const Json& v) {
    if (v.is_number()) return v.get<double>();
    if (const auto* s = v.get_ptr<const std::string*>()) {
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
std::shared_ptr<Font> ReadFont(const Json& v, std::string& why) {
    auto font = std::make_shared<Font>();
    auto wrong = [&why](const char* member, const Json& value) {
        why = std::string("the font's \"") + member + "\" " + Shown(value) + " is not usable";
        return nullptr;
    };
    if (const Json* m = Member(v, "name")) {
        const auto* s = m->get_ptr<const std::string*>();
        if (!s || s->empty()) return wrong("name", *m);
        font->Name(FromUtf8(*s));
    }
    if (const Json* m = Member(v, "size")) {
        const std::optional<float> size =
            m->is_number() ? NarrowToSingle(m->get<double>()) : std::nullopt;
        if (!size || !(*size > 0 && *size <= 2160)) return wrong("size", *m);
        font->Size(*size);
    }
    struct Flag {
        const char* member;
        void (Font::*set)(bool);
    };
    for (const Flag& f : {Flag{"italic", &Font::Italic}, Flag{"underline", &Font::Underline},
                          Flag{"strikethrough", &Font::Strikethrough}}) {
        if (const Json* m = Member(v, f.member)) {
            if (!m->is_boolean()) return wrong(f.member, *m);
            (font.get()->*f.set)(m->get<bool>());
        }
    }
    if (const Json* m = Member(v, "weight")) {
        const auto weight = WholeNumber(m, 0, 1000);
        if (!weight) return wrong("weight", *m);
        font->Weight(static_cast<int16_t>(*weight));
    }
    // Bold is the weight seen coarsely; when the two disagree, "bold" was edited by hand.
    if (const Json* m = Member(v, "bold")) {
        if (!m->is_boolean()) return wrong("bold", *m);
        if (m->get<bool>() != font->Bold()) font->Bold(m->get<bool>());
    }
    if (const Json* m = Member(v, "charset")) {
        const auto charset = WholeNumber(m, std::numeric_limits<int16_t>::min(),
                                         std::numeric_limits<int16_t>::max());
        if (!charset) return wrong("charset", *m);
        font->Charset(static_cast<int16_t>(*charset));
    }
    return font;
}

// A picture value; members left out read as no picture data. On failure `why` says what is wrong.
std::shared_ptr<Picture> ReadPicture(const Json& v, std::string& why) {
    auto wrong = [&why](const char* member, const Json& value) {
        why = std::string("the picture's \"") + member + "\" " + Shown(value) + " is not usable";
        return nullptr;
    };
    Picture::Format format = Picture::Format::None;
    if (const Json* m = Member(v, "format")) {
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
        if (const Json* m = Member(v, sizeNames[i])) {
            const auto n = WholeNumber(m, 0, std::numeric_limits<int32_t>::max());
            if (!n) return wrong(sizeNames[i], *m);
            size[i] = static_cast<int32_t>(*n);
        }
    }
    std::vector<uint8_t> data;
    if (const Json* m = Member(v, "data")) {
        const auto* hex = m->get_ptr<const std::string*>();
        auto bytes = hex ? HexBytes(*hex) : std::nullopt;
        if (!bytes) return wrong("data", *m);
        data = std::move(*bytes);
    }
    return std::make_shared<Picture>(format, size[0], size[1], std::move(data));
}

// The value of a property of subtype `type`, or nothing with `why` set.
std::optional<Variant> ReadValue(const std::string& type, const Json* value, std::string& why) {
    if (type == "Empty") return Variant();
    if (type == "Null") return Variant::Null();
    if (!value) {
        why = "it has no \"value\"";
        return std::nullopt;
    }
    const Json& v = *value;
    std::optional<Variant> out;
    if (type == "Boolean") {
        if (v.is_boolean()) out = Variant(v.get<bool>());
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
        if (v.is_number()) {
            try {
                out = Variant(Variant(v.get<double>()).ToDate());
            } catch (const RuntimeError&) {
            }
        }
    } else if (type == "String") {
        if (const auto* s = v.get_ptr<const std::string*>()) out = Variant(FromUtf8(*s));
    } else if (type == "Font" || type == "Picture") {
        if (!v.is_object()) {
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

class FormReader {
  public:
    explicit FormReader(const TreeBuilder& tree) : tree_(tree) {}

    void Read(const Json& root, FormLoadResult& result) {
        if (!root.is_object()) {
            if (!tree_.Damaged()) Problem("The file does not hold a form; nothing was loaded.");
            return;
        }
        const bool rootCut = tree_.IsCut(root);
        const Json* format = Member(root, "format");
        const auto* formatName = format ? format->get_ptr<const std::string*>() : nullptr;
        if (!(formatName && *formatName == kFormatName) && !(rootCut && !format))
            Problem("The file is not marked as a " + Quoted(kFormatName) + " (\"format\" is " +
                    (format ? Shown(*format) : "missing") + "); it was read as one anyway.");
        const Json* version = Member(root, "version");
        const auto number = WholeNumber(version, 1, std::numeric_limits<int32_t>::max());
        if (number && *number > kFormatVersion)
            Problem("The file is format version " + std::to_string(*number) +
                    ", newer than this program reads (" + std::to_string(kFormatVersion) +
                    "); what it understands was loaded.");
        else if (!number && !(rootCut && !version))
            Problem("The file's format version is missing or not usable; it was read as version " +
                    std::to_string(kFormatVersion) + ".");
        if (const Json* title = Member(root, "title")) {
            if (const auto* s = title->get_ptr<const std::string*>())
                result.form.title = FromUtf8(*s);
            else
                Problem("The title " + Shown(*title) + " is not text; it was left empty.");
        }
        const Json* controls = Member(root, "controls");
        if (!controls || !controls->is_array()) {
            if (!(rootCut && !controls)) Problem("The file holds no list of controls.");
            return;
        }
        for (size_t i = 0; i < controls->size(); ++i)
            ReadControl((*controls)[i], i + 1, result.form.controls);
    }

    std::vector<String> TakeProblems() { return std::move(problems_); }
    void Problem(const std::string& line) { problems_.push_back(FromUtf8(line)); }

  private:
    void ReadControl(const Json& c, size_t number, std::vector<FormControl>& out) {
        const std::string position = "Control " + std::to_string(number);
        if (!c.is_object()) {
            Problem(position + " is not an object; it was left out.");
            return;
        }
        const bool cut = tree_.IsCut(c);
        auto text = [&c](const char* member) -> const std::string* {
            const Json* m = Member(c, member);
            const auto* s = m ? m->get_ptr<const std::string*>() : nullptr;
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
        const String upper = UpperCase(FromUtf8(*name));
        if (std::find(names_.begin(), names_.end(), upper) != names_.end()) {
            Problem(label + " (" + position +
                    ") repeats an earlier control's name; it was left out.");
            return;
        }
        names_.push_back(upper);

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
            const Json* m = Member(c, s.member);
            const auto n = WholeNumber(m, 0, kFormMaxTwips);
            control.*s.field = n ? static_cast<int32_t>(*n) : s.fallback;
            if (!n && !(cut && !m))
                Problem(label + ": \"" + s.member + "\" is " + (m ? Shown(*m) : "missing") +
                        ", not a whole number from 0 to " + std::to_string(kFormMaxTwips) + "; " +
                        std::to_string(s.fallback) + " was used.");
        }
        const Json* properties = Member(c, "properties");
        if (!properties) return;
        if (!properties->is_array()) {
            Problem(label + ": \"properties\" is not a list; no properties were loaded.");
            return;
        }
        for (size_t i = 0; i < properties->size(); ++i)
            ReadProperty((*properties)[i], i + 1, label, control.properties);
    }

    void ReadProperty(const Json& p, size_t number, const std::string& label,
                      MemoryPropertyBag& bag) {
        if (tree_.IsCut(p)) return;
        const std::string position = label + ", property " + std::to_string(number);
        constexpr const char* kLeftOut = "; the property was left out.";
        if (!p.is_object()) {
            Problem(position + " is not an object" + kLeftOut);
            return;
        }
        const Json* keyMember = Member(p, "key");
        const auto* key = keyMember ? keyMember->get_ptr<const std::string*>() : nullptr;
        if (!key || key->empty()) {
            Problem(position + " has no \"key\"" + kLeftOut);
            return;
        }
        const std::string named = label + ", property " + Quoted(*key);
        const String bagKey = FromUtf8(*key);
        if (bag.Has(bagKey)) {
            Problem(named + " is stored twice; the later one was left out.");
            return;
        }
        const Json* type = Member(p, "type");
        const auto* typeName = type ? type->get_ptr<const std::string*>() : nullptr;
        if (!typeName) {
            Problem(named + " has no \"type\"" + kLeftOut);
            return;
        }
        std::string why;
        if (const auto value = ReadValue(*typeName, Member(p, "value"), why))
            bag.Set(bagKey, *value);
        else
            Problem(named + ": " + why + kLeftOut);
    }

    const TreeBuilder& tree_;
    std::vector<String> names_;  // upper case
    std::vector<String> problems_;
};

[[noreturn]] void RaiseFileError(int32_t number, const char* what, const std::string& path) {
    Raise(number, {}, FromUtf8(std::string(what) + ": " + path));
}

}  // namespace

// One property to a line, each control's own members on its first line: a form of 200
// controls reads about three times faster than fully indented JSON, and still diffs line by line.
std::string FormToJson(const FormDocument& form) {
    auto json = [](const auto& value) {
        return OrderedJson(value).dump(-1, ' ', false, OrderedJson::error_handler_t::replace);
    };
    std::string out = "{\n";
    out += "  \"format\": " + json(kFormatName) + ",\n";
    out += "  \"version\": " + json(kFormatVersion) + ",\n";
    out += "  \"title\": " + json(ToUtf8(form.title)) + ",\n";
    out += "  \"controls\": [";
    const char* controlSeparator = "\n";
    for (const FormControl& control : form.controls) {
        out += controlSeparator;
        controlSeparator = ",\n";
        out += "    {\"class\": " + json(ToUtf8(control.className)) +
               ", \"name\": " + json(ToUtf8(control.name)) +
               ", \"left\": " + std::to_string(control.left) +
               ", \"top\": " + std::to_string(control.top) +
               ", \"width\": " + std::to_string(control.width) +
               ", \"height\": " + std::to_string(control.height) + ", \"properties\": [";
        const char* separator = "\n";
        for (const MemoryPropertyBag::Entry& entry : control.properties.Entries()) {
            auto [type, value] = TypedValue(entry.value);
            if (!type) continue;
            out += separator;
            separator = ",\n";
            out += "      {\"key\": " + json(ToUtf8(entry.key)) + ", \"type\": " + json(type);
            if (!value.is_null())  // Empty and Null have none
                out += ", \"value\": " +
                       value.dump(-1, ' ', false, OrderedJson::error_handler_t::replace);
            out += "}";
        }
        out += control.properties.Entries().empty() ? "]}" : "\n    ]}";
    }
    out += form.controls.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

FormLoadResult FormFromJson(std::string_view utf8) {
    FormLoadResult result;
    const RepairedText repaired(utf8);
    Json root;
    TreeBuilder tree(root, repaired.Text());
    Json::sax_parse(repaired.Text().begin(), repaired.Text().end(), &tree);

    FormReader reader(tree);
    if (const auto bad = repaired.FirstBad())
        reader.Problem("The file holds bytes that are not UTF-8, the first at byte " +
                       std::to_string(*bad) + "; they were read as U+FFFD.");
    reader.Read(root, result);
    if (tree.Damaged()) {
        const size_t offset = repaired.FileOffset(tree.ErrorOffset());
        const bool atEnd = tree.ErrorOffset() >= repaired.Text().size();
        reader.Problem("The file is damaged at byte " + std::to_string(offset) +
                       (atEnd ? " (it ends too early)" : " (unexpected text)") +
                       "; only what came before it was loaded.");
    }
    result.problems = reader.TakeProblems();
    return result;
}

void SaveFormFile(const std::string& path, const FormDocument& form) {
    namespace fs = std::filesystem;
    const std::string text = FormToJson(form);
    std::error_code ec;
    fs::path target(path);
    // Saving through a symbolic link replaces the file it points to, not the link.
    if (fs::is_symlink(target, ec)) {
        fs::path resolved = fs::canonical(target, ec);
        if (!ec) target = std::move(resolved);
    }
    if (!target.has_filename()) RaiseFileError(kErrPathFileAccess, "Path/File access error", path);

    // A fresh name next to the target, created exclusively so no other file is ever overwritten.
    static std::atomic<uint32_t> counter{0};
    const auto seed =
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::mt19937 random(static_cast<uint32_t>(seed ^ (seed >> 32)) ^ counter++);
    std::FILE* file = nullptr;
    fs::path temp;
    for (int attempt = 0; attempt < 8 && !file; ++attempt) {
        // Hidden, and short enough for any file system whatever the target's name.
        temp = target.parent_path() / ("." + target.filename().string().substr(0, 64) + ".saving-" +
                                       std::to_string(random()));
        file = std::fopen(temp.c_str(), "wbx");
    }
    if (!file) RaiseFileError(kErrPathFileAccess, "Path/File access error", path);

    bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    ok = std::fflush(file) == 0 && ok;
#ifdef QV_FORMFILE_FSYNC
    ok = ok && ::fsync(::fileno(file)) == 0;  // the data is on disk before it replaces the old file
#endif
    ok = std::fclose(file) == 0 && ok;
    if (ok) {
        const fs::file_status old = fs::status(target, ec);
        if (!ec && fs::is_regular_file(old)) fs::permissions(temp, old.permissions(), ec);
        fs::rename(temp, target, ec);
        ok = !ec;
    }
    if (!ok) {
        fs::remove(temp, ec);
        RaiseFileError(kErrPathFileAccess, "Path/File access error", path);
    }
}

FormLoadResult LoadFormFile(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec))
        RaiseFileError(kErrFileNotFound, "File not found", path);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) RaiseFileError(kErrFileNotFound, "File not found", path);
    std::string text;
    char buffer[65536];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) RaiseFileError(kErrFileNotFound, "File not found", path);
    return FormFromJson(text);
}

}  // namespace qv
