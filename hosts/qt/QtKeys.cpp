#include "hosts/qt/QtKeys.h"

#include "library/Keyboard.h"
#include "library/Widgets.h"

namespace qv::qt {

namespace {

struct KeyPair {
    int qt;
    int16_t code;
};

// Keys whose code does not follow from their character.
constexpr KeyPair kNamedKeys[] = {
    {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9},       {Qt::Key_Backtab, 9},  {Qt::Key_Return, 13},
    {Qt::Key_Enter, 13},    {Qt::Key_Shift, 16},    {Qt::Key_Control, 17}, {Qt::Key_Alt, 18},
    {Qt::Key_Pause, 19},    {Qt::Key_CapsLock, 20}, {Qt::Key_Escape, 27},  {Qt::Key_Space, 32},
    {Qt::Key_PageUp, 33},   {Qt::Key_PageDown, 34}, {Qt::Key_End, 35},     {Qt::Key_Home, 36},
    {Qt::Key_Left, 37},     {Qt::Key_Up, 38},       {Qt::Key_Right, 39},   {Qt::Key_Down, 40},
    {Qt::Key_Insert, 45},   {Qt::Key_Delete, 46},
};

// Keypad keys (with Qt::KeypadModifier).
constexpr KeyPair kKeypad[] = {
    {Qt::Key_Asterisk, 106}, {Qt::Key_Plus, 107},  {Qt::Key_Minus, 109},
    {Qt::Key_Period, 110},   {Qt::Key_Comma, 110}, {Qt::Key_Slash, 111},
};

int16_t ShiftOf(Qt::KeyboardModifiers m) {
    int16_t s = 0;
    if (m & Qt::ShiftModifier) s |= ShiftState::Shift;
    if (m & Qt::ControlModifier) s |= ShiftState::Ctrl;
    if (m & Qt::AltModifier) s |= ShiftState::Alt;
    return s;
}

int16_t CodeOf(int qtKey, Qt::KeyboardModifiers m, char16_t typed) {
    if (m & Qt::KeypadModifier) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
            return static_cast<int16_t>(96 + (qtKey - Qt::Key_0));
        for (const auto& k : kKeypad)
            if (k.qt == qtKey) return k.code;
    }
    for (const auto& k : kNamedKeys)
        if (k.qt == qtKey) return k.code;
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return static_cast<int16_t>(qtKey);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return static_cast<int16_t>(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return static_cast<int16_t>(112 + (qtKey - Qt::Key_F1));
    // Punctuation and shifted digits: the code of the US key that types the character.
    char16_t c = typed;
    if (c == 0 && qtKey > 0x20 && qtKey < 0x7F) c = static_cast<char16_t>(qtKey);
    if (c >= 0x20) return StrokeForChar(c).keyCode;
    return 0;
}

}  // namespace

MappedKey MapQtKey(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text) {
    MappedKey k;
    k.shift = ShiftOf(modifiers);
    const char16_t typed = text.size() == 1 ? static_cast<char16_t>(text.at(0).unicode()) : 0;
    k.keyCode = CodeOf(qtKey, modifiers, typed);
    if (k.shift & ShiftState::Alt) return k;
    if (k.shift & ShiftState::Ctrl) {
        // The control codes of Ctrl combinations, whatever text the platform attached.
        k.character = CharForKey(k.keyCode, k.shift);
        return k;
    }
    switch (qtKey) {
        case Qt::Key_Backspace:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            k.character = CharForKey(k.keyCode, k.shift);
            return k;
        default:
            break;
    }
    if (typed >= 0x20 && typed != 0x7F) k.character = typed;
    return k;
}

int QtKeyFor(int16_t keyCode) {
    if (keyCode >= 65 && keyCode <= 90) return keyCode;
    if (keyCode >= 48 && keyCode <= 57) return keyCode;
    if (keyCode >= 96 && keyCode <= 105) return Qt::Key_0 + (keyCode - 96);
    if (keyCode >= 112 && keyCode <= 135) return Qt::Key_F1 + (keyCode - 112);
    for (const auto& k : kKeypad)
        if (k.code == keyCode) return k.qt;
    for (const auto& k : kNamedKeys)
        if (k.code == keyCode) return k.qt;
    return Qt::Key_unknown;
}

Qt::KeyboardModifiers QtModifiersFor(int16_t shift) {
    Qt::KeyboardModifiers m;
    if (shift & ShiftState::Shift) m |= Qt::ShiftModifier;
    if (shift & ShiftState::Ctrl) m |= Qt::ControlModifier;
    if (shift & ShiftState::Alt) m |= Qt::AltModifier;
    return m;
}

}  // namespace qv::qt
