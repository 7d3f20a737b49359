// The font object: eight attributes, each write reported to the owner under the attribute's name.
#pragma once

#include <cstdint>
#include <functional>

#include "library/Variant.h"

namespace qv {

class Font : public Object {
  public:
    // Called after every attribute write with the attribute's name ("Bold", "Size", ...), also
    // when the written value equals the old one, as a container's font object does.
    using ChangedHandler = std::function<void(const String& PropertyName)>;

    Font() = default;
    Font(const Font& other);                // copies the attributes, not the handler
    Font& operator=(const Font&) = delete;  // copying attributes is Assign(), which notifies

    bool Bold() const { return weight_ >= 600; }
    void Bold(bool v);
    int16_t Charset() const { return charset_; }
    void Charset(int16_t v);
    bool Italic() const { return italic_; }
    void Italic(bool v);
    const String& Name() const { return name_; }
    void Name(const String& v);  // an empty name is error 380
    float Size() const { return size_; }
    // Above 0 and at most 2160 points, else error 380. What is accepted is kept within
    // kMinSize..kMaxSize, the sizes hosts can draw: below a point, text metrics round to
    // nothing; above 1638 points (32767 twips) toolkits stop drawing.
    void Size(float v);
    bool Strikethrough() const { return strikethrough_; }
    void Strikethrough(bool v);
    bool Underline() const { return underline_; }
    void Underline(bool v);
    // Weight 1..1000; Bold reads true from 600 up. Writing Bold sets 700 or 400.
    int16_t Weight() const { return weight_; }
    void Weight(int16_t v);  // outside 0..1000 is error 380

    // Copies every attribute of `other` in the order bold, italic, name, size, strikethrough,
    // underline, character set, weight; each write notifies.
    void Assign(const Font& other);

    void OnChanged(ChangedHandler h) { changed_ = std::move(h); }

    bool SameAttributes(const Font& o) const;

    std::shared_ptr<Object> Clone() const override { return std::make_shared<Font>(*this); }
    String TypeName() const override { return u"Font"; }

    static constexpr const char16_t* kDefaultName = u"Sans Serif";
    static constexpr float kDefaultSize = 9.0f;
    static constexpr float kMinSize = 1.0f;
    static constexpr float kMaxSize = 1638.0f;

  private:
    void Notify(const char16_t* name) {
        if (changed_) changed_(name);
    }

    String name_ = kDefaultName;
    float size_ = kDefaultSize;
    int16_t weight_ = 400;
    int16_t charset_ = 0;
    bool italic_ = false;
    bool strikethrough_ = false;
    bool underline_ = false;
    ChangedHandler changed_;
};

}  // namespace qv
