// QVDateBoxControl: the member table for late binding (property browsers, form files).
#include "datebox/QVDateBoxControl.h"
#include "library/MemberMacros.h"
#include "library/RuntimeError.h"

namespace qv {

namespace {
QVDateBoxControl& Self(Control& c) {
    return static_cast<QVDateBoxControl&>(c);
}
const Variant& AsIs(const Variant& v) {
    return v;
}
DateValue ArgDate(const Variant& v) {
    try {
        return v.ToDate();
    } catch (const RuntimeError&) {
        ThrowInvalidArgument();
    }
}

const Member kMembers[] = {
    QV_READONLY(Alignment, 1, Integer),
    QV_ENUM(Appearance, DispId::Appearance, Flat3d, Flat3dInfo),
    QV_COLOR(BackColor, DispId::BackColor),
    QV_ENUM(BorderStyle, DispId::BorderStyleAlt, NoneFixedSingle, NoneFixedSingleInfo),
    QV_PROP(CheckRange, 2, Boolean, ArgBool, true),
    QV_PROP(DateDMY, 3, Variant, AsIs, false),
    QV_ENUM(DateFormat, 4, DateFmt, DateFmtInfo),
    QV_PROP(DateMDY, 5, Variant, AsIs, false),
    QV_PROP(DateYMD, 6, Variant, AsIs, false),
    QV_PROP(DDate, 7, Variant, AsIs, false),
    QV_COLOR(DisabledColor, 8),
    QV_PROP(Enabled, DispId::Enabled, Boolean, ArgBool, true),
    QV_COLOR(ErrorColor, 9),
    QV_COLOR(FocusColor, 10),
    QV_COLOR(ForeColor, DispId::ForeColor),
    QV_FONT_OBJECT(),
    QV_PROP(FontBold, 11, Boolean, ArgBool, false),
    QV_PROP(FontItalic, 12, Boolean, ArgBool, false),
    QV_PROP(FontName, 13, String, ArgString, false),
    QV_PROP(FontSize, 14, Single, ArgSingle, false),
    QV_PROP(FontStrikethru, 15, Boolean, ArgBool, false),
    QV_PROP(FontUnderline, 16, Boolean, ArgBool, false),
    QV_READONLY(HideSelection, 17, Boolean),
    QV_PROP(IncludeLargestValueToRange, 18, Boolean, ArgBool, true),
    QV_PROP(IncludeSmallestValueToRange, 19, Boolean, ArgBool, true),
    QV_PROP(LargestValue, 20, Date, ArgDate, true),
    QV_PROP(Locked, 21, Boolean, ArgBool, true),
    QV_READONLY(MaxLength, 22, Integer),
    QV_MOUSE_ICON(23),
    QV_ENUM(MousePointer, 24, MousePointerEnum, MousePointerEnumInfo),
    QV_READONLY(MultiLine, 25, Boolean),
    QV_PROP(MustHaveValue, 26, Boolean, ArgBool, true),
    QV_READONLY(PasswordChar, 27, String),
    QV_READONLY(ScrollBars, 28, Integer),
    QV_PROP(SelectedOnGotFocus, 29, Boolean, ArgBool, true),
    QV_PROP(SeparatorDMY, 30, String, ArgString, true),
    QV_PROP(SeparatorMDY, 31, String, ArgString, true),
    QV_PROP(SeparatorYMD, 32, String, ArgString, true),
    QV_PROP(SmallestValue, 33, Date, ArgDate, true),
    Member{u"Text", DispId::Text, MemberKind::Property, VarType::Variant, false, nullptr,
           [](Control& c) { return Self(c).Text(); },
           [](Control& c, const Variant& v) { Self(c).Text(v); }, nullptr, true},
    QV_PROP(UseWarningColor, 34, Boolean, ArgBool, true),
    QV_COLOR(WarningColor, 35),
    QV_METHOD(CheckValueNow, 36, Boolean, Variant(Self(c).CheckValueNow())),
    QV_METHOD(Refresh, 37, Empty, (Self(c).Refresh(), Void())),
    QV_METHOD(ShowAboutBox, DispId::AboutBox, Empty, (Self(c).ShowAboutBox(), Void())),
    QV_STANDARD_EVENTS(2),
};

const MemberTable kTable{kMembers};
}  // namespace

const MemberTable& QVDateBoxControl::MemberTableOf() {
    return kTable;
}

}  // namespace qv
