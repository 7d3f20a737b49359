// Enumerations shared by the controls' properties, with their property-browser display names.
#pragma once

#include <cstdint>
#include <span>

#include "library/String.h"

namespace qv {

enum class Flat3d : int32_t { qvFlat = 0, qv3D = 1 };
enum class NoneFixedSingle : int32_t { None = 0, FixedSingle = 1 };
enum class MousePointerEnum : int32_t {
    Default = 0,
    Arrow = 1,
    Cross = 2,
    IBeam = 3,
    Icon = 4,
    Size = 5,
    SizeNESW = 6,
    SizeNS = 7,
    SizeNWSE = 8,
    SizeWE = 9,
    UpArrow = 10,
    Hourglass = 11,
    NoDrop = 12,
    ArrowHourglass = 13,
    ArrowQuestion = 14,
    SizeAll = 15,
    Custom = 99,
};
enum class ScrollBarsEnum : int32_t { None = 0, Horizontal = 1, Vertical = 2, Both = 3 };
enum class DateFmt : int32_t { DMY = 0, YMD = 1, MDY = 2 };
enum class SearchItemEnum : int32_t { SearchItemText = 0, SearchItemData = 1 };
enum class MatchModeEnum : int32_t { WholeWord = 0, Partial = 1 };

// One member of an enumeration as a property browser lists it.
struct EnumMember {
    int32_t value;
    const char16_t* displayName;
};

// The members in declaration order, with the browser's display names ("Size " keeps its
// trailing blank; "Fixed Single", "I-Beam" carry blanks and dashes).
struct EnumInfo {
    const char16_t* name;  // "Flat3d"
    std::span<const EnumMember> members;
};

const EnumInfo& Flat3dInfo();
const EnumInfo& NoneFixedSingleInfo();
const EnumInfo& MousePointerEnumInfo();
const EnumInfo& ScrollBarsEnumInfo();
const EnumInfo& DateFmtInfo();
const EnumInfo& SearchItemEnumInfo();
const EnumInfo& MatchModeEnumInfo();

// All seven, for tools that look an enumeration up by name.
std::span<const EnumInfo* const> AllEnums();

// The display name of `value`, or nullptr when the enumeration has no such member.
const char16_t* DisplayName(const EnumInfo& e, int32_t value);

}  // namespace qv
