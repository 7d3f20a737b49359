#include "hosts/headless/TextMetrics.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

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
    if (!(twips > 0) || !(twipsPerPixel > 0)) return 0;
    const double pixels = std::ceil(twips / twipsPerPixel - kTolerance);
    // A long text in a large font is wider than 32 bits of twips: the widest a widget can be.
    return static_cast<int32_t>(std::min(std::round(pixels * twipsPerPixel), double{INT32_MAX}));
}

namespace {
// Lines at least a pixel high, so that positions below the first line stay apart.
int32_t OnePixelAtLeast(double twips, float twipsPerPixel) {
    return std::max(RoundUpToPixels(twips, twipsPerPixel), RoundUpToPixels(1.0, twipsPerPixel));
}
}  // namespace

int32_t LineHeight(const Font& font, float twipsPerPixelY) {
    return OnePixelAtLeast(font.Size() * 24.0, twipsPerPixelY);
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
    return RunWidth(font, widest, twipsPerPixelX);
}

int32_t RunWidth(const Font& font, size_t units, float twipsPerPixelX) {
    // Each character at least a pixel wide, so that positions in a text stay apart.
    const double unit = std::max(UnitWidth(font), double{twipsPerPixelX});
    return RoundUpToPixels(static_cast<double>(units) * unit, twipsPerPixelX);
}

int32_t TextHeight(const Font& font, StringView text, float twipsPerPixelY) {
    int32_t lines = 1;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        if (text[i] == u'\r' || text[i] == u'\n') ++lines;
    }
    const int64_t height = int64_t{lines} * LineHeight(font, twipsPerPixelY);
    return static_cast<int32_t>(std::min(height, int64_t{INT32_MAX}));
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
