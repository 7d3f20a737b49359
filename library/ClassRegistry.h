// The class registry and factory: the library's four control classes by name, and the four entry
// points of an in-process component server.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "library/Control.h"
#include "library/Picture.h"

namespace qv {

// A member identifier as the class's interfaces publish it.
struct MemberId {
    const char16_t* name;
    int32_t dispId;
};

struct ClassInfo {
    const char16_t* name;              // "QVtxtBoxControl"
    const char16_t* defaultInterface;  // "_QVtxtBoxControl"
    const char16_t* eventInterface;    // "__QVtxtBoxControl"
    // The members with identifiers fixed by the container's conventions (standard properties,
    // methods and events) and the library's own events.
    std::span<const MemberId> members;
    std::span<const MemberId> events;
    // nullptr while the class is not available in this build.
    std::unique_ptr<Control> (*create)(Host&);
    const MemberTable* (*memberTable)();
    bool Available() const { return create != nullptr; }
};

inline constexpr const char16_t* kLibraryName = u"QVCONTROLS";
inline constexpr const char16_t* kLibraryDescription = u"qvControls";
// The build's version: the CMake project's (QV_VERSION_* come from the build).
#ifndef QV_VERSION_MAJOR
#error "QV_VERSION_MAJOR is set by the build (qv::controls passes it on)"
#endif
inline constexpr int kVersionMajor = QV_VERSION_MAJOR;
inline constexpr int kVersionMinor = QV_VERSION_MINOR;
inline constexpr int kVersionRevision = QV_VERSION_PATCH;

// The form designer's toolbox picture of a class: a 16 × 15 pixel, 16-colour bitmap.
std::shared_ptr<Picture> ToolboxBitmap(const ClassInfo& info);

// The events every control class publishes, with their identifiers.
inline constexpr MemberId kStandardEventIds[] = {
    {u"Click", -600}, {u"DblClick", -601},    {u"KeyDown", -602},   {u"KeyPress", -603},
    {u"KeyUp", -604}, {u"MouseDown", -605},   {u"MouseMove", -606}, {u"MouseUp", -607},
    {u"Change", 1},   {u"ValidationCheck", 2}};

// The classes of this build's class table, made from the control folders (CMake's
// QV_CONTROL_CLASSES): each folder describes its class in `<Class>Class.cpp`.
std::span<const ClassInfo> ClassTable();

// The four classes, available or not.
std::span<const ClassInfo> AllClasses();
// By class name (case-insensitive), nullptr when unknown.
const ClassInfo* FindClass(StringView className);

// Creates instances of one class.
class ClassFactory {
  public:
    explicit ClassFactory(const ClassInfo& info) : info_(info) {}
    const ClassInfo& Info() const { return info_; }
    // The new control has run its Initialize notice; the container goes on with InitProperties
    // or ReadProperties. Error 429 when the class is not available in this build.
    std::unique_ptr<Control> CreateInstance(Host& host) const;

  private:
    const ClassInfo& info_;
};

// Entry points. Registration records the classes with their interfaces in the registry, where
// tools look them up; the class factory serves every known class whether registered or not, and
// an unknown class name is error 429.
void RegisterServer();
void UnregisterServer();
bool IsRegistered(StringView className);
ClassFactory GetClassObject(StringView className);
// True only when no control instance is alive.
bool CanUnloadNow();

}  // namespace qv
