// Text metrics of the headless host: derived from the font alone, so that sizes are the same on
// every machine and can be worked out by hand.
//
// All results are twips, each rounded up to whole pixels of the screen in question:
//
//   line height   = Size (points) × 20 × 1.2 twips            9 pt at 15 twips/pixel: 216 -> 225
//   text width    = units × Size × 20 × 0.5 twips (× 1.1 bold)  "Hello" in 9 pt:    450 -> 450
//
// where "units" counts the 16-bit units of the widest line. Name, italic, underline, strikethrough
// and character set do not change the metrics; every character has the same width. Text height
// is the number of lines × line height; "" is one line, and "\r\n", "\r" or "\n" each end a line.
//
// Every metric is at least one pixel: the line height, each character's width (so a 1-point
// font is a pixel wide per character, not 10 twips), and so the text height. Results beyond 32
// bits of twips (a long text in a large font) give the largest 32-bit value.
//
// Text fields: a border takes 2 pixels on each side when 3-D, 1 pixel when flat, none without a
// border. The text starts right after the border, at (border, border) in the field's own
// coordinates; multi-line fields put each line one line height below the previous one and do not
// wrap. A single-line field is never lower than line height + top and bottom border (9 pt, 3-D
// border: 225 + 60 = 285 twips); writing a smaller height leaves that minimum, and a larger font
// grows the field to its new minimum. Multi-line fields keep any height.
#pragma once

#include <cstdint>

#include "library/Font.h"
#include "library/String.h"
#include "library/Widgets.h"

namespace qv::headless::TextMetrics {

// Twips rounded up to whole pixels (pixels × twipsPerPixel, as a whole number of twips).
int32_t RoundUpToPixels(double twips, float twipsPerPixel);

int32_t LineHeight(const Font& font, float twipsPerPixelY);
// Width of the widest line.
int32_t TextWidth(const Font& font, StringView text, float twipsPerPixelX);
// Width of `units` characters of one line.
int32_t RunWidth(const Font& font, size_t units, float twipsPerPixelX);
int32_t TextHeight(const Font& font, StringView text, float twipsPerPixelY);

// Border thickness of a text field on one side, in pixels: 2 (3-D), 1 (flat) or 0.
int32_t BorderPixels(const TextFieldSettings& settings);
// Height of a drop-down list: line height + 3 pixels above and below (9 pt: 225 + 90 = 315).
int32_t ListHeight(const Font& font, float twipsPerPixelY);
// Lowest height of a single-line field (0 for multi-line fields, which keep any height).
int32_t MinFieldHeight(const Font& font, const TextFieldSettings& settings, float twipsPerPixelY);

}  // namespace qv::headless::TextMetrics
