// Qt's keys in the container's terms: key codes, shift state and the character a key makes.
#pragma once

#include <QString>
#include <Qt>
#include <cstdint>

namespace qv::qt {

struct MappedKey {
    int16_t keyCode = 0;     // 0: a key the container has no code for
    int16_t shift = 0;       // ShiftState bits
    char16_t character = 0;  // 0: the key makes no character
    friend bool operator==(const MappedKey&, const MappedKey&) = default;
};

// A Qt key event's key, modifiers and text in container terms. Letters 65..90, digits 48..57
// (keypad 96..105 and its operators 106..111), F1..F12 112..123, the editing and movement keys
// 8, 9, 13, 27, 32, 33..40, 45, 46; punctuation gets the code of its US key. Ctrl+letter makes the
// control codes 1..26, Ctrl+Enter 10, Ctrl+Backspace 127; Alt combinations make no character.
MappedKey MapQtKey(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);

// The Qt key and modifiers that produce a container key code and shift state (for injected keys);
// Qt::Key_unknown for a code without a key.
int QtKeyFor(int16_t keyCode);
Qt::KeyboardModifiers QtModifiersFor(int16_t shift);

}  // namespace qv::qt
