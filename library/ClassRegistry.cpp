#include "library/ClassRegistry.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <set>

#include "library/RuntimeError.h"
#include "numbox/QVnumBoxControl.h"
#include "txtbox/QVtxtBoxControl.h"

namespace qv {

namespace {

constexpr MemberId kTxtBoxMembers[] = {
    {u"Text", 0},          {u"BackColor", -501}, {u"BorderStyle", -503},
    {u"Font", -512},       {u"ForeColor", -513}, {u"Enabled", -514},
    {u"Appearance", -520}, {u"Refresh", -550},   {u"ShowAboutBox", -552}};
constexpr MemberId kNumBoxMembers[] = {
    {u"Value", 0},      {u"Text", -517},        {u"BackColor", -501}, {u"BorderStyle", -503},
    {u"Font", -512},    {u"ForeColor", -513},   {u"Enabled", -514},   {u"Appearance", -520},
    {u"Refresh", -550}, {u"ShowAboutBox", -552}};
// The date box has no default member; its Refresh is numbered by the library with its other
// members when the class is built.
constexpr MemberId kDateBoxMembers[] = {
    {u"Text", -517},      {u"BackColor", -501}, {u"BorderStyle", -504}, {u"Font", -512},
    {u"ForeColor", -513}, {u"Enabled", -514},   {u"Appearance", -520},  {u"ShowAboutBox", -552}};
constexpr MemberId kComboBoxMembers[] = {
    {u"Text", 0},          {u"BackColor", -501}, {u"BorderStyle", -504},
    {u"Font", -512},       {u"ForeColor", -513}, {u"Enabled", -514},
    {u"Appearance", -520}, {u"Refresh", -550},   {u"ShowAboutBox", -552}};

constexpr MemberId kStandardEvents[] = {
    {u"Click", -600}, {u"DblClick", -601},    {u"KeyDown", -602},   {u"KeyPress", -603},
    {u"KeyUp", -604}, {u"MouseDown", -605},   {u"MouseMove", -606}, {u"MouseUp", -607},
    {u"Change", 1},   {u"ValidationCheck", 2}};
constexpr MemberId kComboEvents[] = {
    {u"Click", -600}, {u"DblClick", -601},    {u"KeyDown", -602},   {u"KeyPress", -603},
    {u"KeyUp", -604}, {u"MouseDown", -605},   {u"MouseMove", -606}, {u"MouseUp", -607},
    {u"Change", 1},   {u"ValidationCheck", 8}};

std::unique_ptr<Control> CreateTxtBox(Host& host) {
    return std::make_unique<QVtxtBoxControl>(host);
}
const MemberTable* TxtBoxMembers() {
    return &QVtxtBoxControl::MemberTableOf();
}
std::unique_ptr<Control> CreateNumBox(Host& host) {
    return std::make_unique<QVnumBoxControl>(host);
}
const MemberTable* NumBoxMembers() {
    return &QVnumBoxControl::MemberTableOf();
}

const std::array<ClassInfo, 4> kClasses = {{
    {u"QVtxtBoxControl", u"_QVtxtBoxControl", u"__QVtxtBoxControl", kTxtBoxMembers, kStandardEvents,
     &CreateTxtBox, &TxtBoxMembers},
    {u"QVnumBoxControl", u"_QVnumBoxControl", u"__QVnumBoxControl", kNumBoxMembers, kStandardEvents,
     &CreateNumBox, &NumBoxMembers},
    {u"QVDateBoxControl", u"_QVDateBoxControl", u"__QVDateBoxControl", kDateBoxMembers,
     kStandardEvents, nullptr, nullptr},
    {u"QVcomboBoxControl", u"_QVcomboBoxControl", u"__QVcomboBoxControl", kComboBoxMembers,
     kComboEvents, nullptr, nullptr},
}};

// The registration records (the system registry's part that concerns this library).
std::mutex gRegistryMutex;
std::set<String> gRegistered;

}  // namespace

std::span<const ClassInfo> AllClasses() {
    return kClasses;
}

const ClassInfo* FindClass(StringView className) {
    for (const ClassInfo& c : kClasses)
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
    for (const ClassInfo& c : kClasses) gRegistered.insert(c.name);
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
