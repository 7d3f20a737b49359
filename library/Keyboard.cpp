#include "library/Keyboard.h"

#include <array>

#include "library/RuntimeError.h"
#include "library/Widgets.h"

namespace qv {

namespace {

struct OemKey {
    int16_t keyCode;
    char16_t plain;
    char16_t shifted;
};
constexpr std::array<OemKey, 11> kOemKeys = {{{186, u';', u':'},
                                              {187, u'=', u'+'},
                                              {188, u',', u'<'},
                                              {189, u'-', u'_'},
                                              {190, u'.', u'>'},
                                              {191, u'/', u'?'},
                                              {192, u'`', u'~'},
                                              {219, u'[', u'{'},
                                              {220, u'\\', u'|'},
                                              {221, u']', u'}'},
                                              {222, u'\'', u'"'}}};
constexpr char16_t kShiftedDigits[] = u")!@#$%^&*(";

struct NamedKey {
    const char16_t* name;
    int16_t keyCode;
};
constexpr NamedKey kNamedKeys[] = {
    {u"BACKSPACE", Key::Back}, {u"BS", Key::Back},     {u"BKSP", Key::Back},
    {u"DELETE", Key::Delete},  {u"DEL", Key::Delete},  {u"INSERT", Key::Insert},
    {u"INS", Key::Insert},     {u"LEFT", Key::Left},   {u"RIGHT", Key::Right},
    {u"UP", Key::Up},          {u"DOWN", Key::Down},   {u"HOME", Key::Home},
    {u"END", Key::End},        {u"PGUP", Key::PageUp}, {u"PGDN", Key::PageDown},
    {u"ENTER", Key::Return},   {u"TAB", Key::Tab},     {u"ESC", Key::Escape},
    {u"ESCAPE", Key::Escape},
};

char16_t AsciiUpper(char16_t c) {
    return c >= u'a' && c <= u'z' ? c - 32 : c;
}

[[noreturn]] void Malformed(StringView keys) {
    Raise(err::InvalidProcedureCall, {}, u"Invalid key string: " + String(keys));
}

KeyStroke WithModifiers(KeyStroke k, int16_t mods) {
    if (mods == 0) return k;
    k.shift = static_cast<int16_t>(k.shift | mods);
    if (k.keyCode != Key::Processed) k.character = CharForKey(k.keyCode, k.shift);
    return k;
}

// The keystroke of a braced name, or of a braced single character.
KeyStroke NamedStroke(StringView name, StringView keys) {
    if (name.size() == 1) return StrokeForChar(name[0]);
    for (const NamedKey& n : kNamedKeys)
        if (EqualsNoCase(name, n.name)) return {n.keyCode, 0, CharForKey(n.keyCode, 0)};
    if (name.size() >= 2 && AsciiUpper(name[0]) == u'F') {
        int number = 0;
        for (char16_t c : name.substr(1)) {
            if (c < u'0' || c > u'9' || number > 16) Malformed(keys);
            number = number * 10 + (c - u'0');
        }
        if (number >= 1 && number <= 16) return {static_cast<int16_t>(Key::F1 + number - 1), 0, 0};
    }
    Malformed(keys);
}

class Parser {
  public:
    explicit Parser(StringView keys) : keys_(keys) {}

    std::vector<KeyStroke> Run() {
        std::vector<KeyStroke> out;
        ParseSequence(out, 0, false);
        return out;
    }

  private:
    // Parses until the end or, inside a group, its closing parenthesis.
    void ParseSequence(std::vector<KeyStroke>& out, int16_t outerMods, bool inGroup) {
        int16_t mods = 0;
        while (pos_ < keys_.size()) {
            char16_t c = keys_[pos_++];
            switch (c) {
                case u'+':
                    mods |= ShiftState::Shift;
                    continue;
                case u'^':
                    mods |= ShiftState::Ctrl;
                    continue;
                case u'%':
                    mods |= ShiftState::Alt;
                    continue;
                case u'(':
                    ParseSequence(out, static_cast<int16_t>(outerMods | mods), true);
                    mods = 0;
                    continue;
                case u')':
                    if (!inGroup || mods != 0) Malformed(keys_);
                    return;
                case u'}':
                    Malformed(keys_);
                case u'{':
                    Emit(out, ParseBraced(), static_cast<int16_t>(outerMods | mods));
                    mods = 0;
                    continue;
                default:
                    break;
            }
            KeyStroke k = c == u'~' ? KeyStroke{Key::Return, 0, u'\r'} : StrokeForChar(c);
            Emit(out, {k, 1}, static_cast<int16_t>(outerMods | mods));
            mods = 0;
        }
        if (inGroup || mods != 0) Malformed(keys_);
    }

    struct Repeated {
        KeyStroke stroke;
        int count;
    };

    Repeated ParseBraced() {
        // "{}}" is the closing brace itself.
        size_t close = keys_.find(u'}', pos_ + (pos_ < keys_.size() && keys_[pos_] == u'}'));
        if (close == StringView::npos) Malformed(keys_);
        StringView body = keys_.substr(pos_, close - pos_);
        pos_ = close + 1;
        int count = 1;
        if (size_t blank = body.find(u' '); blank != StringView::npos && blank > 0) {
            StringView digits = body.substr(blank + 1);
            if (digits.empty() || digits.size() > 4) Malformed(keys_);
            count = 0;
            for (char16_t d : digits) {
                if (d < u'0' || d > u'9') Malformed(keys_);
                count = count * 10 + (d - u'0');
            }
            body = body.substr(0, blank);
        }
        if (body.empty()) Malformed(keys_);
        return {NamedStroke(body, keys_), count};
    }

    static void Emit(std::vector<KeyStroke>& out, Repeated r, int16_t mods) {
        for (int i = 0; i < r.count; ++i) out.push_back(WithModifiers(r.stroke, mods));
    }

    StringView keys_;
    size_t pos_ = 0;
};

}  // namespace

char16_t CharForKey(int16_t keyCode, int16_t shift) {
    if (shift & ShiftState::Alt) return 0;
    const bool shifted = (shift & ShiftState::Shift) != 0;
    if (shift & ShiftState::Ctrl) {
        if (keyCode >= 65 && keyCode <= 90) return static_cast<char16_t>(keyCode - 64);
        if (keyCode == Key::Return) return 10;
        if (keyCode == Key::Back) return 127;
        return 0;
    }
    switch (keyCode) {
        case Key::Back:
        case Key::Tab:
        case Key::Return:
        case Key::Escape:
        case Key::Space:
            return static_cast<char16_t>(keyCode);
        case 106:
            return u'*';
        case 107:
            return u'+';
        case 109:
            return u'-';
        case 110:
            return u'.';
        case 111:
            return u'/';
        default:
            break;
    }
    if (keyCode >= 65 && keyCode <= 90)
        return static_cast<char16_t>(shifted ? keyCode : keyCode + 32);
    if (keyCode >= 48 && keyCode <= 57)
        return shifted ? kShiftedDigits[keyCode - 48] : static_cast<char16_t>(keyCode);
    if (keyCode >= 96 && keyCode <= 105) return static_cast<char16_t>(u'0' + keyCode - 96);
    for (const OemKey& k : kOemKeys)
        if (k.keyCode == keyCode) return shifted ? k.shifted : k.plain;
    return 0;
}

KeyStroke StrokeForChar(char16_t c) {
    if (c >= u'a' && c <= u'z') return {static_cast<int16_t>(c - 32), 0, c};
    if (c >= u'A' && c <= u'Z') return {static_cast<int16_t>(c), ShiftState::Shift, c};
    if (c >= u'0' && c <= u'9') return {static_cast<int16_t>(c), 0, c};
    switch (c) {
        case u' ':
            return {Key::Space, 0, c};
        case u'\r':
        case u'\n':
            return {Key::Return, 0, u'\r'};
        case u'\b':
            return {Key::Back, 0, c};
        case u'\t':
            return {Key::Tab, 0, c};
        case 27:
            return {Key::Escape, 0, c};
        default:
            break;
    }
    if (c >= 1 && c <= 26) return {static_cast<int16_t>(c + 64), ShiftState::Ctrl, c};
    for (int d = 0; d < 10; ++d)
        if (kShiftedDigits[d] == c) return {static_cast<int16_t>(48 + d), ShiftState::Shift, c};
    for (const OemKey& k : kOemKeys) {
        if (k.plain == c) return {k.keyCode, 0, c};
        if (k.shifted == c) return {k.keyCode, ShiftState::Shift, c};
    }
    return {Key::Processed, 0, c};
}

std::vector<KeyStroke> ParseKeys(StringView keys) {
    return Parser(keys).Run();
}

}  // namespace qv
