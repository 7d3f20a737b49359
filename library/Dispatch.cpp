#include "library/Dispatch.h"

namespace qv {

Variant CallByName(const std::shared_ptr<Object>& object, StringView name,
                   std::span<const Variant> args) {
    if (!object) Raise(err::ObjectNotSet);
    auto* d = dynamic_cast<Dispatch*>(object.get());
    if (!d) Raise(err::NoSuchMember);
    return d->Call(name, args);
}

Variant CallByName(const Variant& object, StringView name, std::span<const Variant> args) {
    if (!object.IsObject()) Raise(err::ObjectRequired);
    return CallByName(object.ToObject(), name, args);
}

Variant ValueOf(Variant v) {
    if (!v.IsObject()) return v;
    return CallByName(v.ToObject(), u"", {});
}

bool Supports(const std::shared_ptr<Object>& object, StringView interfaceId) {
    const auto* d = dynamic_cast<const Dispatch*>(object.get());
    return d && d->Supports(interfaceId);
}

}  // namespace qv
