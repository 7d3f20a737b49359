// The text of a form file made fit for the JSON parser, which stops at the first thing it cannot
// read: ill-formed UTF-8 becomes U+FFFD, and a value the parser would refuse on its own (a number
// beyond the double range, a string with an unpaired surrogate or a bad escape, a bare word) is
// swapped for a marker string, so that the reader can leave out that one value and go on.
// Internal to formfile/.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::formfile {

// Replacements of spans of one text by spans of another, for mapping offsets back.
class OffsetMap {
  public:
    void Add(size_t at, size_t atLength, size_t from, size_t fromLength) {
        patches_.push_back({at, atLength, from, fromLength});
    }
    // The offset in the original text of an offset in the patched one.
    size_t Original(size_t offset) const;

  private:
    struct Patch {
        size_t at, atLength, from, fromLength;
    };
    std::vector<Patch> patches_;
};

// A value the parser would have stopped at.
struct UnreadableValue {
    std::string token;  // as it stands in the file (repaired UTF-8), shortened
    const char* why;    // "a number beyond the range of a Double", ...
};

// `t` cut to at most 40 bytes for a problem line, "..." marking the cut (whole characters only).
std::string Shortened(std::string_view t);

class FormFileText {
  public:
    explicit FormFileText(std::string_view file);

    std::string_view Text() const { return patched_ ? std::string_view(*patched_) : file_; }
    // Where the first ill-formed UTF-8 sequence starts in the file.
    std::optional<size_t> FirstBadByte() const { return firstBad_; }
    // The file offset of an offset in Text().
    size_t FileOffset(size_t offset) const { return utf8_.Original(tokens_.Original(offset)); }

    // The value a marker string stands for, or nullptr when `s` is no marker.
    const UnreadableValue* Unreadable(std::string_view s) const;

  private:
    void RepairUtf8(std::string_view in);
    void MarkUnreadable(std::string_view in);

    std::string_view file_;
    std::optional<std::string> patched_;  // only when the file needed a repair
    std::optional<size_t> firstBad_;
    OffsetMap utf8_, tokens_;
    std::vector<UnreadableValue> unreadable_;
};

}  // namespace qv::formfile
