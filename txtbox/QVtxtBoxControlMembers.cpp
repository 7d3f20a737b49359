// QVtxtBoxControl: the member table for late binding (property browsers, the default member).
#include "library/MemberMacros.h"
#include "txtbox/QVtxtBoxControl.h"

namespace qv {

namespace {
QVtxtBoxControl& Self(Control& c) {
    return static_cast<QVtxtBoxControl&>(c);
}

const Member kMembers[] = {
    QV_READONLY(Alignment, 1, Integer),
    QV_PROP(AllUcase, 2, Boolean, ArgBool, true),
    QV_ENUM(Appearance, DispId::Appearance, Flat3d, Flat3dInfo),
    QV_COLOR(BackColor, DispId::BackColor),
    QV_ENUM(BorderStyle, DispId::BorderStyle, NoneFixedSingle, NoneFixedSingleInfo),
    QV_COLOR(DisabledColor, 3),
    QV_PROP(Enabled, DispId::Enabled, Boolean, ArgBool, true),
    QV_COLOR(ErrorColor, 4),
    QV_PROP(FirstCharacterCapital, 5, Boolean, ArgBool, true),
    QV_COLOR(FocusColor, 6),
    QV_PROP(ForbiddenCharacters, 7, String, ArgString, true),
    QV_COLOR(ForeColor, DispId::ForeColor),
    QV_FONT_OBJECT(),
    QV_PROP(FontBold, 8, Boolean, ArgBool, false),
    QV_PROP(FontItalic, 9, Boolean, ArgBool, false),
    QV_PROP(FontName, 10, String, ArgString, false),
    QV_PROP(FontSize, 11, Single, ArgSingle, false),
    QV_PROP(FontStrikethru, 12, Boolean, ArgBool, false),
    QV_PROP(FontUnderline, 13, Boolean, ArgBool, false),
    QV_READONLY(HideSelection, 14, Boolean),
    QV_PROP(Locked, 15, Boolean, ArgBool, true),
    QV_PROP(MaxLength, 16, Integer, ArgInteger, true),
    QV_MOUSE_ICON(17),
    QV_ENUM(MousePointer, 18, MousePointerEnum, MousePointerEnumInfo),
    QV_PROP(MultiLine, 19, Boolean, ArgBool, true),
    QV_PROP(MustHaveValue, 20, Boolean, ArgBool, true),
    QV_PROP(NullToEmptyString, 21, Boolean, ArgBool, true),
    QV_PROP(PasswordChar, 22, String, ArgString, true),
    QV_ENUM(ScrollBars, 23, ScrollBarsEnum, ScrollBarsEnumInfo),
    QV_PROP(SelectedOnGotFocus, 24, Boolean, ArgBool, true),
    QV_PROP(SelLength, 25, Long, ArgLong, false),
    QV_PROP(SelStart, 26, Long, ArgLong, false),
    QV_PROP(SelText, 27, String, ArgString, false),
    Member{u"Text", DispId::Default, MemberKind::Property, VarType::Variant, false, nullptr,
           [](Control& c) { return Self(c).Text(); },
           [](Control& c, const Variant& v) { Self(c).Text(v); }, nullptr, true},
    QV_READONLY(TextFormatted, 28, String),
    QV_PROP(Trim, 29, Boolean, ArgBool, true),
    QV_PROP(UseWarningColor, 30, Boolean, ArgBool, true),
    QV_COLOR(WarningColor, 31),
    QV_METHOD(CheckValueNow, 32, Boolean, Variant(Self(c).CheckValueNow())),
    QV_METHOD(FormatText, 33, Empty, (Self(c).FormatText(), Void())),
    QV_METHOD(Refresh, DispId::Refresh, Empty, (Self(c).Refresh(), Void())),
    QV_METHOD(ShowAboutBox, DispId::AboutBox, Empty, (Self(c).ShowAboutBox(), Void())),
    QV_STANDARD_EVENTS(2),
};

const MemberTable kTable{kMembers};
}  // namespace

const MemberTable& QVtxtBoxControl::MemberTableOf() {
    return kTable;
}

}  // namespace qv
