// QVnumBoxControl: the member table for late binding (property browsers, the default member).
#include "library/PropertyHelpers.h"
#include "library/RuntimeError.h"
#include "numbox/QVnumBoxControl.h"

namespace qv {

namespace {
QVnumBoxControl& Self(Control& c) {
    return static_cast<QVnumBoxControl&>(c);
}

Variant Void() {
    return Variant();
}

double ArgDouble(const Variant& v) {
    try {
        return v.ToDouble();
    } catch (const RuntimeError&) {
        ThrowInvalidArgument();
    }
}

constexpr auto P = MemberKind::Property;
constexpr auto M = MemberKind::Method;
constexpr auto E = MemberKind::Event;

#define QV_PROP(Name, Id, VT, Arg, Persisted)                                              \
    Member {                                                                               \
        u## #Name, Id, P, VarType::VT, false, nullptr,                                     \
            [](Control& c) { return Variant(Self(c).Name()); },                            \
            [](Control& c, const Variant& v) { Self(c).Name(Arg(v)); }, nullptr, Persisted \
    }
#define QV_COLOR(Name, Id)                                                                 \
    Member {                                                                               \
        u## #Name, Id, P, VarType::Long, false, nullptr,                                   \
            [](Control& c) { return ColorToVariant(Self(c).Name()); },                     \
            [](Control& c, const Variant& v) { Self(c).Name(ArgColor(v)); }, nullptr, true \
    }
#define QV_ENUM(Name, Id, Enum, Info)                                                          \
    Member {                                                                                   \
        u## #Name, Id, P, VarType::Long, false, &Info(),                                       \
            [](Control& c) { return Variant(static_cast<int32_t>(Self(c).Name())); },          \
            [](Control& c, const Variant& v) { Self(c).Name(static_cast<Enum>(ArgLong(v))); }, \
            nullptr, true                                                                      \
    }
#define QV_READONLY(Name, Id, VT)                                                       \
    Member {                                                                            \
        u## #Name, Id, P, VarType::VT, true, nullptr,                                   \
            [](Control& c) { return Variant(Self(c).Name()); }, nullptr, nullptr, false \
    }
#define QV_METHOD(Name, Id, VT, Body)                                        \
    Member {                                                                 \
        u## #Name, Id, M, VarType::VT, false, nullptr, nullptr, nullptr,     \
            [](Control& c, std::span<const Variant>) { return Body; }, false \
    }
#define QV_EVENT(Name, Id)               \
    Member {                             \
        u## #Name, Id, E, VarType::Empty \
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
    Member{u"Font", DispId::Font, P, VarType::Object, false, nullptr,
           [](Control& c) { return Variant(Self(c).Font()); },
           [](Control& c, const Variant& v) {
               auto font = ArgObject<qv::Font>(v);
               if (!font) ThrowInvalidArgument();
               Self(c).Font(*font);
           },
           nullptr, true},
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
    Member{u"MouseIcon", 20, P, VarType::Object, false, nullptr,
           [](Control& c) {
               auto icon = Self(c).MouseIcon();
               return icon ? Variant(icon) : Variant();
           },
           [](Control& c, const Variant& v) { Self(c).MouseIcon(ArgObject<Picture>(v)); }, nullptr,
           true},
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
    Member{u"Text", DispId::Text, P, VarType::Variant, false, nullptr,
           [](Control& c) { return Self(c).Text(); },
           [](Control& c, const Variant& v) { Self(c).Text(v); }, nullptr, true},
    QV_READONLY(TextFormatted, 31, String),
    QV_PROP(UseWarningColor, 32, Boolean, ArgBool, true),
    Member{u"Value", DispId::Default, P, VarType::Variant, false, nullptr,
           [](Control& c) { return Self(c).Value(); },
           [](Control& c, const Variant& v) { Self(c).Value(v); }, nullptr, true},
    QV_COLOR(WarningColor, 33),
    QV_METHOD(CheckValueNow, 34, Boolean, Variant(Self(c).CheckValueNow())),
    QV_METHOD(Refresh, DispId::Refresh, Empty, (Self(c).Refresh(), Void())),
    QV_METHOD(ShowAboutBox, DispId::AboutBox, Empty, (Self(c).ShowAboutBox(), Void())),
    QV_EVENT(Change, 1),
    QV_EVENT(Click, DispId::Click),
    QV_EVENT(DblClick, DispId::DblClick),
    QV_EVENT(KeyDown, DispId::KeyDown),
    QV_EVENT(KeyPress, DispId::KeyPress),
    QV_EVENT(KeyUp, DispId::KeyUp),
    QV_EVENT(MouseDown, DispId::MouseDown),
    QV_EVENT(MouseMove, DispId::MouseMove),
    QV_EVENT(MouseUp, DispId::MouseUp),
    QV_EVENT(ValidationCheck, 2),
};
#undef QV_PROP
#undef QV_COLOR
#undef QV_ENUM
#undef QV_READONLY
#undef QV_METHOD
#undef QV_EVENT

const MemberTable kTable{kMembers};
}  // namespace

const MemberTable& QVnumBoxControl::MemberTableOf() {
    return kTable;
}

}  // namespace qv
