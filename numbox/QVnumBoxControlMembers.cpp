// QVnumBoxControl: the member table for late binding (property browsers, the default member).
#include "library/MemberMacros.h"
#include "library/RuntimeError.h"
#include "numbox/QVnumBoxControl.h"

namespace qv {

namespace {
QVnumBoxControl& Self(Control& c) {
    return static_cast<QVnumBoxControl&>(c);
}

double ArgDouble(const Variant& v) {
    try {
        return v.ToDouble();
    } catch (const RuntimeError&) {
        ThrowInvalidArgument();
    }
}

const Member kMembers[] = {
    QV_READONLY(Alignment, 1, Integer),
    QV_PROP(AllowMinus, 2, Boolean, ArgBool, true),
    QV_ENUM(Appearance, DispId::Appearance, Flat3d, Flat3dInfo),
    QV_COLOR(BackColor, DispId::BackColor),
    QV_ENUM(BorderStyle, DispId::BorderStyle, NoneFixedSingle, NoneFixedSingleInfo),
    QV_PROP(CheckRange, 3, Boolean, ArgBool, true),
    QV_PROP(DecimalPointCharacter, 4, String, ArgString, true),
    QV_COLOR(DisabledColor, 5),
    QV_PROP(Enabled, DispId::Enabled, Boolean, ArgBool, true),
    QV_COLOR(ErrorColor, 6),
    QV_COLOR(FocusColor, 7),
    QV_COLOR(ForeColor, DispId::ForeColor),
    QV_FONT_OBJECT(),
    QV_PROP(FontBold, 8, Boolean, ArgBool, false),
    QV_PROP(FontItalic, 9, Boolean, ArgBool, false),
    QV_PROP(FontName, 10, String, ArgString, false),
    QV_PROP(FontSize, 11, Single, ArgSingle, false),
    QV_PROP(FontStrikethru, 12, Boolean, ArgBool, false),
    QV_PROP(FontUnderline, 13, Boolean, ArgBool, false),
    QV_READONLY(HideSelection, 14, Boolean),
    QV_PROP(IncludeLargestValueToRange, 15, Boolean, ArgBool, true),
    QV_PROP(IncludeSmallestValueToRange, 16, Boolean, ArgBool, true),
    QV_PROP(LargestValue, 17, Double, ArgDouble, true),
    QV_PROP(Locked, 18, Boolean, ArgBool, true),
    QV_READONLY(MaxLength, 19, Integer),
    QV_MOUSE_ICON(20),
    QV_ENUM(MousePointer, 21, MousePointerEnum, MousePointerEnumInfo),
    QV_READONLY(MultiLine, 22, Boolean),
    QV_PROP(MustHaveValue, 23, Boolean, ArgBool, true),
    QV_READONLY(PasswordChar, 24, String),
    QV_PROP(PostDecimalNumbers, 25, Integer, ArgInteger, true),
    QV_PROP(PreDecimalNumbers, 26, Integer, ArgInteger, true),
    QV_READONLY(ScrollBars, 27, Integer),
    QV_PROP(SelectedOnGotFocus, 28, Boolean, ArgBool, true),
    QV_PROP(Separator, 29, Boolean, ArgBool, true),
    QV_PROP(SmallestValue, 30, Double, ArgDouble, true),
    Member{u"Text", DispId::Text, MemberKind::Property, VarType::Variant, false, nullptr,
           [](Control& c) { return Self(c).Text(); },
           [](Control& c, const Variant& v) { Self(c).Text(v); }, nullptr, true},
    QV_READONLY(TextFormatted, 31, String),
    QV_PROP(UseWarningColor, 32, Boolean, ArgBool, true),
    Member{u"Value", DispId::Default, MemberKind::Property, VarType::Variant, false, nullptr,
           [](Control& c) { return Self(c).Value(); },
           [](Control& c, const Variant& v) { Self(c).Value(v); }, nullptr, true},
    QV_COLOR(WarningColor, 33),
    QV_METHOD(CheckValueNow, 34, Boolean, Variant(Self(c).CheckValueNow())),
    QV_METHOD(Refresh, DispId::Refresh, Empty, (Self(c).Refresh(), Void())),
    QV_METHOD(ShowAboutBox, DispId::AboutBox, Empty, (Self(c).ShowAboutBox(), Void())),
    QV_STANDARD_EVENTS(2),
};

const MemberTable kTable{kMembers};
}  // namespace

const MemberTable& QVnumBoxControl::MemberTableOf() {
    return kTable;
}

}  // namespace qv
