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

#include "formfile/FormFileFormat.h"

#include "library/DataSource.h"
#include "library/Font.h"
#include "library/Picture.h"
#include "library/RuntimeError.h"

#if __has_include(<unistd.h>)
#include <unistd.h>
#define QV_FORMFILE_FSYNC 1
#endif

namespace qv {

namespace {

using namespace formfile;
using OrderedJson = nlohmann::ordered_json;  // members in a fixed order

constexpr int32_t kErrPathFileAccess = 75;

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
            // A connection by its description (which holds no password).
            if (const auto c = v.As<DatabaseConnection>())
                return {"Connection", ToUtf8(c->Description())};
            break;
        case VarType::Missing:
        case VarType::Variant:
            break;
    }
    return {nullptr, nullptr};
}

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

}  // namespace qv
