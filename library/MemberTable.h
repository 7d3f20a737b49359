// Late binding: a control's members by name and identifier, with thunks that read, write or call
// them through Variants. Property browsers, the default member and tools use it.
#pragma once

#include <cstdint>
#include <span>

#include "library/Enums.h"
#include "library/Variant.h"

namespace qv {

class Control;

enum class MemberKind : int8_t { Property, Method, Event };

// Member identifiers the container knows by number; the library numbers the rest from 1.
namespace DispId {
inline constexpr int32_t Default = 0;
inline constexpr int32_t BackColor = -501;
inline constexpr int32_t BorderStyle = -503;
inline constexpr int32_t BorderStyleAlt = -504;
inline constexpr int32_t Font = -512;
inline constexpr int32_t ForeColor = -513;
inline constexpr int32_t Enabled = -514;
inline constexpr int32_t Text = -517;
inline constexpr int32_t Appearance = -520;
inline constexpr int32_t Refresh = -550;
inline constexpr int32_t AboutBox = -552;
inline constexpr int32_t Click = -600;
inline constexpr int32_t DblClick = -601;
inline constexpr int32_t KeyDown = -602;
inline constexpr int32_t KeyPress = -603;
inline constexpr int32_t KeyUp = -604;
inline constexpr int32_t MouseDown = -605;
inline constexpr int32_t MouseMove = -606;
inline constexpr int32_t MouseUp = -607;
}  // namespace DispId

struct Member {
    const char16_t* name;
    int32_t dispId;
    MemberKind kind;
    VarType type;                        // property type, method result (Empty for none)
    bool readOnly = false;               // properties only
    const EnumInfo* enumInfo = nullptr;  // properties typed by an enumeration
    Variant (*get)(Control&) = nullptr;
    void (*let)(Control&, const Variant&) = nullptr;
    Variant (*call)(Control&, std::span<const Variant>) = nullptr;
    bool persisted = false;  // saved under its own name in the property store
};

class MemberTable {
  public:
    constexpr explicit MemberTable(std::span<const Member> members) : members_(members) {}
    std::span<const Member> All() const { return members_; }
    // Case-insensitive (ASCII) lookup by name; nullptr when absent.
    const Member* Find(StringView name) const;
    const Member* Find(int32_t dispId, MemberKind kind) const;

  private:
    std::span<const Member> members_;
};

}  // namespace qv
