// QVcomboBoxControl: the member table for late binding (property browsers, form files). The
// indexed members (List, ItemData, Item) are methods: their index arguments come first, and a
// value after them writes.
#include "combobox/QVcomboBoxControl.h"
#include "library/MemberMacros.h"
#include "library/RuntimeError.h"

namespace qv {

namespace {
QVcomboBoxControl& Self(Control& c) {
    return static_cast<QVcomboBoxControl&>(c);
}
const Variant& AsIs(const Variant& v) {
    return v;
}
// The argument at `i`, Missing when not given.
Variant ArgAt(std::span<const Variant> args, size_t i) {
    return i < args.size() ? args[i] : Variant::Missing();
}
void RequireArgs(std::span<const Variant> args, size_t least, size_t most) {
    if (args.size() < least || args.size() > most) ThrowInvalidArgument();
}
std::shared_ptr<Object> ArgConnection(const Variant& v) {
    return ArgObject<Object>(v);
}

#define QV_CALL(Name, Id, VT, Body)                                                       \
    Member {                                                                              \
        u## #Name, Id, MemberKind::Method, VarType::VT, false, nullptr, nullptr, nullptr, \
            [](Control& c, std::span<const Variant> args) -> Variant { Body }, false      \
    }

const Member kMembers[] = {
    QV_READONLY(Alignment, 1, Integer),
    QV_ENUM(Appearance, DispId::Appearance, Flat3d, Flat3dInfo),
    QV_COLOR(BackColor, DispId::BackColor),
    QV_ENUM(BorderStyle, DispId::BorderStyleAlt, NoneFixedSingle, NoneFixedSingleInfo),
    QV_PROP(Button1Visible, 2, Boolean, ArgBool, true),
    QV_PROP(Button2Visible, 3, Boolean, ArgBool, true),
    Member{u"Connection", 4, MemberKind::Property, VarType::Object, false, nullptr,
           [](Control& c) {
               auto connection = Self(c).Connection();
               return connection ? Variant(connection) : Variant();
           },
           [](Control& c, const Variant& v) { Self(c).Connection(ArgConnection(v)); }, nullptr,
           true},
    QV_PROP(ConnectionLockType, 5, Integer, ArgInteger, true),
    QV_PROP(ConnectionOption, 6, Integer, ArgInteger, true),
    QV_PROP(DataField, 7, String, ArgString, true),
    QV_PROP(DataIdField, 8, String, ArgString, true),
    QV_COLOR(DisabledColor, 9),
    QV_PROP(DropDownStyle, 10, Boolean, ArgBool, true),
    QV_PROP(Enabled, DispId::Enabled, Boolean, ArgBool, true),
    QV_COLOR(ErrorColor, 11),
    QV_COLOR(FocusColor, 12),
    QV_FONT_OBJECT(),
    QV_PROP(FontBold, 13, Boolean, ArgBool, false),
    QV_PROP(FontItalic, 14, Boolean, ArgBool, false),
    QV_PROP(FontName, 15, String, ArgString, false),
    QV_PROP(FontSize, 16, Single, ArgSingle, false),
    QV_PROP(FontStrikethru, 17, Boolean, ArgBool, false),
    QV_PROP(FontUnderline, 18, Boolean, ArgBool, false),
    QV_PROP(ForbiddenCharacters, 19, String, ArgString, true),
    QV_COLOR(ForeColor, DispId::ForeColor),
    QV_READONLY(IntegralHeight, 20, Boolean),
    QV_READONLY(ListBoxDropped, 21, Boolean),
    QV_PROP(ListIndex, 22, Long, ArgLong, false),
    QV_READONLY(ListCount, 23, Long),
    QV_PROP(Locked, 24, Boolean, ArgBool, true),
    QV_PROP(MaxLength, 25, Integer, ArgInteger, true),
    QV_PROP(MinLen, 26, Long, ArgLong, true),
    QV_MOUSE_ICON(27),
    QV_ENUM(MousePointer, 28, MousePointerEnum, MousePointerEnumInfo),
    QV_READONLY(MultiLine, 29, Boolean),
    QV_PROP(MustFitDataList, 30, Boolean, ArgBool, true),
    QV_PROP(MustHaveValue, 31, Boolean, ArgBool, true),
    QV_READONLY(NewIndex, 32, Long),
    QV_READONLY(NullToEmptyString, 33, Boolean),
    QV_READONLY(PasswordChar, 34, String),
    QV_READONLY(ScrollBars, 35, Integer),
    QV_PROP(SelectedOnGotFocus, 36, Boolean, ArgBool, true),
    QV_PROP(SelLength, 37, Long, ArgLong, false),
    QV_PROP(SelStart, 38, Long, ArgLong, false),
    QV_PROP(SelText, 39, String, ArgString, false),
    QV_PROP(SqlQueryString, 40, String, ArgString, true),
    Member{u"Text", DispId::Default, MemberKind::Property, VarType::Variant, false, nullptr,
           [](Control& c) { return Self(c).Text(); },
           [](Control& c, const Variant& v) { Self(c).Text(AsIs(v)); }, nullptr, true},
    QV_READONLY(TextFormatted, 41, String),
    QV_PROP(ToolTipTextButton1, 42, String, ArgString, true),
    QV_PROP(ToolTipTextButton2, 43, String, ArgString, true),
    QV_PROP(Trim, 44, Boolean, ArgBool, true),
    QV_PROP(UseWarningColor, 45, Boolean, ArgBool, true),
    QV_COLOR(WarningColor, 46),
    QV_CALL(AddItem, 47, Empty,
            {
                RequireArgs(args, 1, 2);
                Self(c).AddItem(ArgString(args[0]), ArgAt(args, 1));
                return Void();
            }),
    QV_CALL(CheckValueNow, 48, Boolean,
            {
                RequireArgs(args, 0, 0);
                return Self(c).CheckValueNow();
            }),
    QV_CALL(Clear, 49, Empty,
            {
                RequireArgs(args, 0, 0);
                Self(c).Clear();
                return Void();
            }),
    QV_CALL(CompleteNow, 50, Empty,
            {
                RequireArgs(args, 0, 0);
                Self(c).CompleteNow();
                return Void();
            }),
    QV_CALL(FindItem, 51, Variant,
            {
                RequireArgs(args, 2, 3);
                const Variant mode = ArgAt(args, 2);
                return Self(c).FindItem(
                    args[0], static_cast<SearchItemEnum>(ArgLong(args[1])),
                    static_cast<MatchModeEnum>(mode.IsMissing() ? 0 : ArgLong(mode)));
            }),
    QV_CALL(ForceCheckDbOnLostFocus, 52, Empty,
            {
                RequireArgs(args, 0, 0);
                Self(c).ForceCheckDbOnLostFocus();
                return Void();
            }),
    QV_CALL(FormatText, 53, Empty,
            {
                RequireArgs(args, 0, 0);
                Self(c).FormatText();
                return Void();
            }),
    // Item(ItemIndex, [Index]) reads; Item(ItemIndex, Index, New_Item) writes (Index may be
    // Null for the selected item).
    QV_CALL(Item, 54, Variant,
            {
                RequireArgs(args, 1, 3);
                if (args.size() == 3) {
                    Self(c).Item(args[0], args[1], args[2]);
                    return Void();
                }
                return Self(c).Item(args[0], ArgAt(args, 1));
            }),
    QV_CALL(ItemData, 55, Long,
            {
                RequireArgs(args, 1, 2);
                if (args.size() == 2) {
                    Self(c).ItemData(ArgLong(args[0]), ArgLong(args[1]));
                    return Void();
                }
                return Self(c).ItemData(ArgLong(args[0]));
            }),
    QV_CALL(List, 56, String,
            {
                RequireArgs(args, 1, 2);
                if (args.size() == 2) {
                    Self(c).List(ArgLong(args[0]), ArgString(args[1]));
                    return Void();
                }
                return Self(c).List(ArgLong(args[0]));
            }),
    QV_CALL(Refresh, 57, Empty,
            {
                RequireArgs(args, 0, 0);
                Self(c).Refresh();
                return Void();
            }),
    QV_CALL(RemoveItem, 58, Empty,
            {
                RequireArgs(args, 1, 1);
                Self(c).RemoveItem(ArgLong(args[0]));
                return Void();
            }),
    QV_CALL(SetItem, 59, Empty,
            {
                RequireArgs(args, 2, 2);
                Self(c).SetItem(args[0], ArgLong(args[1]));
                return Void();
            }),
    QV_METHOD(ShowAboutBox, DispId::AboutBox, Empty, (Self(c).ShowAboutBox(), Void())),
    QV_CALL(StartQuery, 60, Empty,
            {
                RequireArgs(args, 0, 0);
                Self(c).StartQuery();
                return Void();
            }),
    QV_STANDARD_EVENTS(8),
    QV_EVENT(DropDown, 2),
    QV_EVENT(Button1Click, 3),
    QV_EVENT(Button2Click, 4),
    QV_EVENT(ItemFound, 5),
    QV_EVENT(ItemNotFound, 6),
    QV_EVENT(ListClick, 7),
};
#undef QV_CALL

const MemberTable kTable{kMembers};
}  // namespace

const MemberTable& QVcomboBoxControl::MemberTableOf() {
    return kTable;
}

}  // namespace qv
