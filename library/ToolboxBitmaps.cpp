// The form designer's toolbox pictures: one 16 × 15 pixel, 16-colour bitmap per control class.
#include <array>
#include <cstdint>
#include <vector>

#include "library/ClassRegistry.h"

namespace qv {

namespace {

// The 16 colours of the classic palette, as red, green, blue.
constexpr std::array<uint32_t, 16> kPalette = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

using Art = std::array<const char*, 15>;  // top row first; one hex digit (palette index) a pixel

// clang-format off
constexpr Art kTextBox = {
    "7777777777777777", "7777777777777777", "7777777777777777", "8888888888888888",
    "8FFFFFFFFFFFFFF7", "8FFFFFFFFFFFFFF7", "8F0FFF0FFFF0FFF7", "8FF0F00FFFF0FFF7",
    "8F00F0F0FFF0FFF7", "8F0F0F0F0FF0FFF7", "8FF000F00FF0FFF7", "8FFFFFFFFFFFFFF7",
    "8777777777777777", "7777777777777777", "7777777777777777"};
constexpr Art kNumBox = {
    "7777777777777777", "7777777777777777", "7777777777777777", "8888888888888888",
    "8FFFFFFFFFFFFFF7", "8FFFFFFF0FF00FF7", "8FFFFFF00F0FF0F7", "8FFFFFFF0FFFF0F7",
    "8FFFFFFF0FFF0FF7", "8FFFFFFF0FF0FFF7", "8FFFFFF000F000F7", "8FFFFFFFFFFFFFF7",
    "8777777777777777", "7777777777777777", "7777777777777777"};
constexpr Art kDateBox = {
    "7777777777777777", "7999999999999997", "7999999999999997", "7FFFFFFFFFFFFFF7",
    "7F0F0F0F0F0F0FF7", "7FFFFFFFFFFFFFF7", "7F0F0F0F0F0F0FF7", "7FFFFFFFFFFFFFF7",
    "7F0F0F0F0F0F0FF7", "7FFFFFFFFFFFFFF7", "7F0F0F0F0F9F0FF7", "7FFFFFFFFFFFFFF7",
    "7000000000000007", "7777777777777777", "7777777777777777"};
constexpr Art kComboBox = {
    "7777777777777777", "7777777777777777", "7777777777777777", "8888888888888888",
    "8FFFFFFFFF7777F7", "8F00F0FFFF7777F7", "8FFFFFFFFF0000F7", "8FFFFFFFFF7007F7",
    "8F0F00FFFF7777F7", "8FFFFFFFFF7777F7", "8888888888888887", "7FFFFFFFFFFFFFF7",
    "7F000F00FFFFFFF7", "7FFFFFFFFFFFFFF7", "7000000000000007"};
// clang-format on

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

int Nibble(char c) {
    return c <= '9' ? c - '0' : c - 'A' + 10;
}

// A 4-bit bitmap file: file header, information header, palette, rows bottom-up.
std::vector<uint8_t> EncodeBitmap(const Art& art) {
    constexpr uint32_t kWidth = 16, kHeight = 15, kRowBytes = kWidth / 2;
    constexpr uint32_t kPixelOffset = 14 + 40 + 16 * 4;
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, kPixelOffset + kRowBytes * kHeight);
    Put32(out, 0);
    Put32(out, kPixelOffset);
    Put32(out, 40);
    Put32(out, kWidth);
    Put32(out, kHeight);
    Put16(out, 1);  // planes
    Put16(out, 4);  // bits per pixel
    Put32(out, 0);  // no compression
    Put32(out, kRowBytes * kHeight);
    Put32(out, 2835);  // 72 dpi
    Put32(out, 2835);
    Put32(out, 16);
    Put32(out, 0);
    for (uint32_t rgb : kPalette) {
        out.push_back(static_cast<uint8_t>(rgb));
        out.push_back(static_cast<uint8_t>(rgb >> 8));
        out.push_back(static_cast<uint8_t>(rgb >> 16));
        out.push_back(0);
    }
    for (uint32_t y = kHeight; y-- > 0;)
        for (uint32_t x = 0; x < kWidth; x += 2)
            out.push_back(static_cast<uint8_t>(Nibble(art[y][x]) << 4 | Nibble(art[y][x + 1])));
    return out;
}

}  // namespace

std::shared_ptr<Picture> ToolboxBitmap(const ClassInfo& info) {
    const StringView name = info.name;
    const Art& art = name == u"QVtxtBoxControl"    ? kTextBox
                     : name == u"QVnumBoxControl"  ? kNumBox
                     : name == u"QVDateBoxControl" ? kDateBox
                                                   : kComboBox;
    return std::make_shared<Picture>(Picture::Format::Bitmap, 16, 15, EncodeBitmap(art));
}

}  // namespace qv
