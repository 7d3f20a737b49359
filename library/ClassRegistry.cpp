#include "library/ClassRegistry.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <set>

#include "library/RuntimeError.h"

namespace qv {

namespace {

// The registration records (the system registry's part that concerns this library).
std::mutex gRegistryMutex;
std::set<String> gRegistered;

}  // namespace

std::span<const ClassInfo> AllClasses() {
    return ClassTable();
}

const ClassInfo* FindClass(StringView className) {
    for (const ClassInfo& c : ClassTable())
        if (EqualsNoCase(c.name, className)) return &c;
    return nullptr;
}

std::unique_ptr<Control> ClassFactory::CreateInstance(Host& host) const {
    if (!info_.create)
        Raise(err::CannotCreateObject, kLibraryName,
              String(u"The class ") + info_.name + u" is not available in this build");
    std::unique_ptr<Control> control = info_.create(host);
    control->UserControl_Initialize();
    return control;
}

void RegisterServer() {
    std::lock_guard lock(gRegistryMutex);
    for (const ClassInfo& c : ClassTable()) gRegistered.insert(c.name);
}

void UnregisterServer() {
    std::lock_guard lock(gRegistryMutex);
    gRegistered.clear();
}

bool IsRegistered(StringView className) {
    const ClassInfo* c = FindClass(className);
    std::lock_guard lock(gRegistryMutex);
    return c && gRegistered.count(c->name) > 0;
}

ClassFactory GetClassObject(StringView className) {
    const ClassInfo* c = FindClass(className);
    if (!c) Raise(err::CannotCreateObject, kLibraryName, u"No class named " + String(className));
    return ClassFactory(*c);
}

bool CanUnloadNow() {
    return Control::LiveInstances() == 0;
}

}  // namespace qv
