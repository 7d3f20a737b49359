// The picture object: an image held as encoded bytes (for mouse icons and toolbox pictures).
#pragma once

#include <cstdint>
#include <vector>

#include "library/Variant.h"

namespace qv {

class Picture : public Object {
  public:
    enum class Format : int16_t { None = 0, Bitmap = 1, Icon = 3, Cursor = 5, Png = 10 };

    Picture() = default;
    Picture(Format format, int32_t widthPx, int32_t heightPx, std::vector<uint8_t> data)
        : format_(format), width_(widthPx), height_(heightPx), data_(std::move(data)) {}

    Format Type() const { return format_; }
    int32_t Width() const { return width_; }    // pixels
    int32_t Height() const { return height_; }  // pixels
    const std::vector<uint8_t>& Data() const { return data_; }

    std::shared_ptr<Object> Clone() const override { return std::make_shared<Picture>(*this); }
    String TypeName() const override { return u"Picture"; }

    friend bool operator==(const Picture& a, const Picture& b) {
        return a.format_ == b.format_ && a.width_ == b.width_ && a.height_ == b.height_ &&
               a.data_ == b.data_;
    }

  private:
    Format format_ = Format::None;
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<uint8_t> data_;
};

}  // namespace qv
