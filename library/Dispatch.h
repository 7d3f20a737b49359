// Late binding on objects: members reached by name at run time, as the combo box reaches the
// database connection an application assigns to it, and the result sets that connection opens.
#pragma once

#include <memory>
#include <span>

#include "library/RuntimeError.h"
#include "library/Variant.h"

namespace qv {

class Dispatch : public Object {
  public:
    // Whether the object offers the interface with this identifier ("{XXXXXXXX-...}").
    virtual bool Supports(StringView interfaceId) const = 0;
    // Calls member `name` (a method, or a property read; the empty name is the default member)
    // with `args` in order, Variant::Missing() standing for an omitted optional argument. Names
    // compare without regard to ASCII case. Raises 438 for a member the object lacks, 450 for
    // arguments that do not fit it, and the object's own errors.
    virtual Variant Call(StringView name, std::span<const Variant> args) = 0;
};

// Interfaces by which the combo box tells the kinds of connection apart.
namespace iid {
inline constexpr char16_t RemoteConnection[] = u"{5E71F04D-551F-11CF-8152-00AA00A40C25}";
inline constexpr char16_t AccessDatabase[] = u"{00000071-0000-0010-8000-00AA006D2EA4}";
inline constexpr char16_t AccessConnection[] = u"{00000041-0000-0010-8000-00AA006D2EA4}";
}  // namespace iid

// Calls `name` on `object`: 91 for no object, 438 for an object without late binding.
Variant CallByName(const std::shared_ptr<Object>& object, StringView name,
                   std::span<const Variant> args = {});
Variant CallByName(const Variant& object, StringView name, std::span<const Variant> args = {});
// The value of `v`: for an object, its default member called without arguments; else `v`.
Variant ValueOf(Variant v);
// Whether `object` has late binding and offers interface `interfaceId`.
bool Supports(const std::shared_ptr<Object>& object, StringView interfaceId);

}  // namespace qv
