// What the controls' fuzz targets share: messages about values, value comparison, the byte reader
// every decoder is built on, and the mouse actions on a headless form.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

#include "library/Keyboard.h"
#include "library/Widgets.h"
#include "library/RuntimeError.h"
#include "library/Variant.h"

namespace qv_fuzz {

using namespace qv;

// UTF-8 for messages, with control characters (a NUL would cut the message short) as \xNN.
inline std::string Printable(StringView text) {
    std::string out;
    for (const char c : ToUtf8(text)) {
        const auto u = static_cast<unsigned char>(c);
        out += u < 0x20 || u == 0x7F
                   ? std::string{'\\', 'x', "0123456789ABCDEF"[u >> 4], "0123456789ABCDEF"[u & 15]}
                   : std::string(1, c);
    }
    return out;
}

inline std::string Show(const Variant& v) {
    try {
        return Printable(TypeName(v)) + " \"" + Printable(v.ToString()) + "\"";
    } catch (const RuntimeError&) {
        return Printable(TypeName(v));
    }
}

// Equal subtype and value; floating point by value, with -0 apart from 0 and NaN equal to NaN.
inline bool SameVariant(const Variant& a, const Variant& b) {
    if (a.Type() != b.Type()) return false;
    if (a.Type() != VarType::Double && a.Type() != VarType::Single) return a == b;
    const double x = a.ToDouble(), y = b.ToDouble();
    return x == y ? std::signbit(x) == std::signbit(y) : (std::isnan(x) && std::isnan(y));
}

// A key a decoder byte stands for.
struct KeyOp {
    char op;
    int16_t code, shift;
};

// Reads the fuzzer's bytes as values; past the end every byte reads 0.
class ByteReader {
  public:
    // `oddChars`: the characters bytes from 0x80 stand for (16, chosen per control).
    ByteReader(const uint8_t* data, size_t size, const char16_t* oddChars)
        : data_(data), size_(size), oddChars_(oddChars) {}
    bool More() const { return pos_ < size_; }
    size_t Pos() const { return pos_; }
    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    char16_t Char() {
        const uint8_t b = Byte();
        return b < 0x80 ? char16_t{b} : oddChars_[b & 15];
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
    int32_t LongInt() {
        const int32_t high = SmallInt();
        return high * 1000 + Byte();
    }
    // `n` bytes, little-endian.
    uint64_t Bytes(int n) {
        uint64_t v = 0;
        for (int i = 0; i < n; ++i) v |= uint64_t{Byte()} << 8 * i;
        return v;
    }

  private:
    const uint8_t* data_;
    size_t size_;
    const char16_t* oddChars_;
    size_t pos_ = 0;
};

// A click, double click, move or drag ('m', 'D', 'M', 'G') on `target` at x, y; the button,
// shift state and the drag's end come from `in`.
template <class Form, class Target, class Reader>
void MouseAction(Form& form, Target& target, char op, float x, float y, Reader& in) {
    if (op == 'D') form.DoubleClick(target, x, y);
    if (op == 'M') form.MouseMove(target, x, y);
    if (op == 'm') {
        const uint8_t b = in.Byte();
        form.Click(target, x, y, static_cast<int16_t>((b & 7) ? (b & 7) : MouseButton::Left),
                   static_cast<int16_t>((b >> 3) & 7));
    }
    if (op == 'G') {
        const float x2 = in.X(), y2 = in.Y();
        form.Drag(target, x, y, x2, y2, in.Byte() % 8);
    }
}

}  // namespace qv_fuzz
