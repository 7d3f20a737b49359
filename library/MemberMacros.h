// Macros that build the member tables of the controls (see MemberTable.h). Include this file last,
// inside an anonymous namespace that defines `Self(Control&)`, the cast to the control's class.
#pragma once

#include "library/MemberTable.h"
#include "library/PropertyHelpers.h"

namespace qv {
inline Variant Void() {
    return Variant();
}
}  // namespace qv

// Properties whose value type maps one to one onto a Variant subtype.
#define QV_PROP(Name, Id, VT, Arg, Persisted)                                              \
    Member {                                                                               \
        u## #Name, Id, MemberKind::Property, VarType::VT, false, nullptr,                  \
            [](Control& c) { return Variant(Self(c).Name()); },                            \
            [](Control& c, const Variant& v) { Self(c).Name(Arg(v)); }, nullptr, Persisted \
    }
#define QV_COLOR(Name, Id)                                                                 \
    Member {                                                                               \
        u## #Name, Id, MemberKind::Property, VarType::Long, false, nullptr,                \
            [](Control& c) { return ColorToVariant(Self(c).Name()); },                     \
            [](Control& c, const Variant& v) { Self(c).Name(ArgColor(v)); }, nullptr, true \
    }
#define QV_ENUM(Name, Id, Enum, Info)                                                          \
    Member {                                                                                   \
        u## #Name, Id, MemberKind::Property, VarType::Long, false, &Info(),                    \
            [](Control& c) { return Variant(static_cast<int32_t>(Self(c).Name())); },          \
            [](Control& c, const Variant& v) { Self(c).Name(static_cast<Enum>(ArgLong(v))); }, \
            nullptr, true                                                                      \
    }
#define QV_READONLY(Name, Id, VT)                                                       \
    Member {                                                                            \
        u## #Name, Id, MemberKind::Property, VarType::VT, true, nullptr,                \
            [](Control& c) { return Variant(Self(c).Name()); }, nullptr, nullptr, false \
    }
#define QV_METHOD(Name, Id, VT, Body)                                                     \
    Member {                                                                              \
        u## #Name, Id, MemberKind::Method, VarType::VT, false, nullptr, nullptr, nullptr, \
            [](Control& c, std::span<const Variant>) { return Body; }, false              \
    }
#define QV_EVENT(Name, Id)                               \
    Member {                                             \
        u## #Name, Id, MemberKind::Event, VarType::Empty \
    }
// The font object, written by copying its attributes into the control's own font.
#define QV_FONT_OBJECT()                                                              \
    Member {                                                                          \
        u"Font", DispId::Font, MemberKind::Property, VarType::Object, false, nullptr, \
            [](Control& c) { return Variant(Self(c).Font()); },                       \
            [](Control& c, const Variant& v) {                                        \
                auto font = ArgObject<qv::Font>(v);                                   \
                if (!font) ThrowInvalidArgument();                                    \
                Self(c).Font(*font);                                                  \
            },                                                                        \
            nullptr, true                                                             \
    }
#define QV_MOUSE_ICON(Id)                                                                   \
    Member {                                                                                \
        u"MouseIcon", Id, MemberKind::Property, VarType::Object, false, nullptr,            \
            [](Control& c) {                                                                \
                auto icon = Self(c).MouseIcon();                                            \
                return icon ? Variant(icon) : Variant();                                    \
            },                                                                              \
            [](Control& c, const Variant& v) { Self(c).MouseIcon(ArgObject<Picture>(v)); }, \
            nullptr, true                                                                   \
    }
// The events every control raises, with the member identifiers the container knows.
#define QV_STANDARD_EVENTS(ValidationCheckId)                                                  \
    QV_EVENT(Change, 1), QV_EVENT(Click, DispId::Click), QV_EVENT(DblClick, DispId::DblClick), \
        QV_EVENT(KeyDown, DispId::KeyDown), QV_EVENT(KeyPress, DispId::KeyPress),              \
        QV_EVENT(KeyUp, DispId::KeyUp), QV_EVENT(MouseDown, DispId::MouseDown),                \
        QV_EVENT(MouseMove, DispId::MouseMove), QV_EVENT(MouseUp, DispId::MouseUp),            \
        QV_EVENT(ValidationCheck, ValidationCheckId)
