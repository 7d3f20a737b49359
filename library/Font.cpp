#include "library/Font.h"

#include <algorithm>
#include <cmath>

#include "library/RuntimeError.h"

namespace qv {

Font::Font(const Font& other)
    : Object(),
      name_(other.name_),
      size_(other.size_),
      weight_(other.weight_),
      charset_(other.charset_),
      italic_(other.italic_),
      strikethrough_(other.strikethrough_),
      underline_(other.underline_) {}

void Font::Bold(bool v) {
    weight_ = v ? 700 : 400;
    Notify(u"Bold");
}

void Font::Charset(int16_t v) {
    charset_ = v;
    Notify(u"Charset");
}

void Font::Italic(bool v) {
    italic_ = v;
    Notify(u"Italic");
}

void Font::Name(const String& v) {
    if (v.empty()) Raise(err::InvalidPropertyValue);
    name_ = v;
    Notify(u"Name");
}

void Font::Size(float v) {
    if (!(v > 0 && v <= 2160)) Raise(err::InvalidPropertyValue);  // NaN fails too
    size_ = std::clamp(v, kMinSize, kMaxSize);
    Notify(u"Size");
}

void Font::Strikethrough(bool v) {
    strikethrough_ = v;
    Notify(u"Strikethrough");
}

void Font::Underline(bool v) {
    underline_ = v;
    Notify(u"Underline");
}

void Font::Weight(int16_t v) {
    if (v < 0 || v > 1000) Raise(err::InvalidPropertyValue);
    weight_ = v;
    Notify(u"Weight");
}

void Font::Assign(const Font& other) {
    // Read everything first: a handler may change `other` when it is this font.
    const Font source(other);  // NOLINT(performance-unnecessary-copy-initialization)
    Bold(source.Bold());
    Italic(source.Italic());
    Name(source.Name());
    Size(source.Size());
    Strikethrough(source.Strikethrough());
    Underline(source.Underline());
    Charset(source.Charset());
    Weight(source.Weight());
}

bool Font::SameAttributes(const Font& o) const {
    return name_ == o.name_ && size_ == o.size_ && weight_ == o.weight_ && charset_ == o.charset_ &&
           italic_ == o.italic_ && strikethrough_ == o.strikethrough_ && underline_ == o.underline_;
}

}  // namespace qv
