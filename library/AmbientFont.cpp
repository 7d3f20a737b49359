#include "library/AmbientFont.h"

#include <optional>

#include "library/RuntimeError.h"

namespace qv {

void CopyAmbientFont(Host& host, Font& font) {
    std::optional<Font> ambient;
    try {
        ambient.emplace(host.AmbientFont());
    } catch (const RuntimeError&) {
        return;  // every single copy would fail
    }
    // Each attribute on its own: one the font refuses is skipped, the others still arrive.
    const auto copy = [](auto&& step) {
        try {
            step();
        } catch (const RuntimeError&) {
        }
    };
    copy([&] { font.Bold(ambient->Bold()); });
    copy([&] { font.Charset(ambient->Charset()); });
    copy([&] { font.Italic(ambient->Italic()); });
    copy([&] { font.Name(ambient->Name()); });
    copy([&] { font.Size(ambient->Size()); });
    copy([&] { font.Strikethrough(ambient->Strikethrough()); });
    copy([&] { font.Underline(ambient->Underline()); });
    copy([&] { font.Weight(ambient->Weight()); });
}

}  // namespace qv
