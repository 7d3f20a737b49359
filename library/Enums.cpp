#include "library/Enums.h"

#include <array>

namespace qv {

namespace {

constexpr EnumMember kFlat3d[] = {{0, u"qvFlat"}, {1, u"qv3D"}};
constexpr EnumMember kNoneFixedSingle[] = {{0, u"None"}, {1, u"Fixed Single"}};
constexpr EnumMember kMousePointer[] = {
    {0, u"Default"},
    {1, u"Arrow"},
    {2, u"Cross"},
    {3, u"I-Beam"},
    {4, u"Icon"},
    {5, u"Size "},
    {6, u"Size NE SW"},
    {7, u"Size N S"},
    {8, u"Size NW SE"},
    {9, u"Size W E"},
    {10, u"Up Arrow"},
    {11, u"Hourglass"},
    {12, u"No Drop"},
    {13, u"Arrow and Hourglass"},
    {14, u"Arrow and Question"},
    {15, u"Size All"},
    {99, u"Custom"},
};
constexpr EnumMember kScrollBars[] = {
    {0, u"None"}, {1, u"Horizontal"}, {2, u"Vertical"}, {3, u"Both"}};
constexpr EnumMember kDateFmt[] = {{0, u"DMY"}, {1, u"YMD"}, {2, u"MDY"}};
constexpr EnumMember kSearchItem[] = {{0, u"SearchItemText"}, {1, u"SearchItemData"}};
constexpr EnumMember kMatchMode[] = {{0, u"WholeWord"}, {1, u"Partial"}};

const EnumInfo kFlat3dInfo{u"Flat3d", kFlat3d};
const EnumInfo kNoneFixedSingleInfo{u"NoneFixedSingle", kNoneFixedSingle};
const EnumInfo kMousePointerInfo{u"MousePointerEnum", kMousePointer};
const EnumInfo kScrollBarsInfo{u"ScrollBarsEnum", kScrollBars};
const EnumInfo kDateFmtInfo{u"DateFmt", kDateFmt};
const EnumInfo kSearchItemInfo{u"SearchItemEnum", kSearchItem};
const EnumInfo kMatchModeInfo{u"MatchModeEnum", kMatchMode};

const EnumInfo* const kAll[] = {&kFlat3dInfo,     &kNoneFixedSingleInfo, &kMousePointerInfo,
                                &kScrollBarsInfo, &kDateFmtInfo,         &kSearchItemInfo,
                                &kMatchModeInfo};

}  // namespace

const EnumInfo& Flat3dInfo() {
    return kFlat3dInfo;
}
const EnumInfo& NoneFixedSingleInfo() {
    return kNoneFixedSingleInfo;
}
const EnumInfo& MousePointerEnumInfo() {
    return kMousePointerInfo;
}
const EnumInfo& ScrollBarsEnumInfo() {
    return kScrollBarsInfo;
}
const EnumInfo& DateFmtInfo() {
    return kDateFmtInfo;
}
const EnumInfo& SearchItemEnumInfo() {
    return kSearchItemInfo;
}
const EnumInfo& MatchModeEnumInfo() {
    return kMatchModeInfo;
}

std::span<const EnumInfo* const> AllEnums() {
    return kAll;
}

const char16_t* DisplayName(const EnumInfo& e, int32_t value) {
    for (const EnumMember& m : e.members)
        if (m.value == value) return m.displayName;
    return nullptr;
}

}  // namespace qv
