#include "hosts/headless/TextMetrics.h"

#include <algorithm>
#include <cmath>

namespace qv::headless::TextMetrics {

namespace {
// Size × 24 and size × 10 (or 11) are exact in double for any float size, so the only rounding
// step is the division by the pixel size; the tolerance keeps an exact multiple from rounding up.
constexpr double kTolerance = 1e-9;

double UnitWidth(const Font& font) {
    return font.Size() * (font.Bold() ? 11.0 : 10.0);
}
}  // namespace

int32_t RoundUpToPixels(double twips, float twipsPerPixel) {
    if (twips <= 0 || twipsPerPixel <= 0) return 0;
    const double pixels = std::ceil(twips / twipsPerPixel - kTolerance);
    return static_cast<int32_t>(std::lround(pixels * twipsPerPixel));
}

int32_t LineHeight(const Font& font, float twipsPerPixelY) {
    return RoundUpToPixels(font.Size() * 24.0, twipsPerPixelY);
}

int32_t TextWidth(const Font& font, StringView text, float twipsPerPixelX) {
    size_t widest = 0, current = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            widest = std::max(widest, current);
            current = 0;
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        } else {
            ++current;
        }
    }
    widest = std::max(widest, current);
    return RoundUpToPixels(static_cast<double>(widest) * UnitWidth(font), twipsPerPixelX);
}

int32_t TextHeight(const Font& font, StringView text, float twipsPerPixelY) {
    int32_t lines = 1;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        if (text[i] == u'\r' || text[i] == u'\n') ++lines;
    }
    return lines * LineHeight(font, twipsPerPixelY);
}

int32_t BorderPixels(const TextFieldSettings& settings) {
    if (!settings.border) return 0;
    return settings.threeD ? 2 : 1;
}

int32_t MinFieldHeight(const Font& font, const TextFieldSettings& settings, float twipsPerPixelY) {
    if (settings.multiLine) return 0;
    return LineHeight(font, twipsPerPixelY) +
           static_cast<int32_t>(
               std::lround(2.0f * static_cast<float>(BorderPixels(settings)) * twipsPerPixelY));
}

int32_t ListHeight(const Font& font, float twipsPerPixelY) {
    return LineHeight(font, twipsPerPixelY) +
           static_cast<int32_t>(std::lround(6.0f * twipsPerPixelY));
}

}  // namespace qv::headless::TextMetrics
