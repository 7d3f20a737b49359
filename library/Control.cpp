#include "library/Control.h"

#include <atomic>

#include "library/RuntimeError.h"

namespace qv {

namespace {
std::atomic<int32_t> gLiveInstances{0};
thread_local std::exception_ptr tPassedOnHandlerError;

const Member& FindOrRaise(const MemberTable& table, StringView name, MemberKind kind) {
    const Member* m = table.Find(name);
    if (!m || m->kind != kind) Raise(err::NoSuchMember);
    return *m;
}

const Member& DefaultMemberOrRaise(const MemberTable& table) {
    const Member* m = table.Find(DispId::Default, MemberKind::Property);
    if (!m) Raise(err::NoSuchMember);
    return *m;
}

// The thunks convert the value first (error 380 when it cannot take the property's type); errors
// raised by the property write itself, or by handlers it runs, reach the caller unchanged.
void Let(const Member& m, Control& c, const Variant& value) {
    if (m.readOnly || !m.let) Raise(err::ReadOnlyProperty);
    m.let(c, value);
}
}  // namespace

Control::Control(Host& host) : host_(host) {
    ++gLiveInstances;
}

Control::~Control() {
    --gLiveInstances;
}

int32_t Control::LiveInstances() {
    return gLiveInstances.load();
}

bool Control::IsPassedOnHandlerError(const std::exception_ptr& e) {
    return e && e == tPassedOnHandlerError;
}

void Control::StepErrors::PassOn() {
    owner_ = nullptr;  // the steps are over: handlers raised from here on throw as usual
    if (!first.HasError()) return;
    if (fromHandler_) {
        try {
            first.Rethrow();
        } catch (...) {
            tPassedOnHandlerError = std::current_exception();
            throw;
        }
    }
    first.Rethrow();
}

Variant Control::GetProperty(StringView name) {
    const Member& m = FindOrRaise(Members(), name, MemberKind::Property);
    if (!m.get) Raise(err::NoSuchMember);
    return m.get(*this);
}

void Control::LetProperty(StringView name, const Variant& value) {
    Let(FindOrRaise(Members(), name, MemberKind::Property), *this, value);
}

Variant Control::CallMethod(StringView name, std::span<const Variant> args) {
    const Member& m = FindOrRaise(Members(), name, MemberKind::Method);
    if (!m.call) Raise(err::NoSuchMember);
    return m.call(*this, args);
}

Variant Control::DefaultValue() {
    const Member& m = DefaultMemberOrRaise(Members());
    return m.get(*this);
}

void Control::DefaultValue(const Variant& value) {
    Let(DefaultMemberOrRaise(Members()), *this, value);
}

}  // namespace qv
