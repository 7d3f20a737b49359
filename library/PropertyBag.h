// The container's property store, through which a control loads and saves its settings.
#pragma once

#include "library/Variant.h"

namespace qv {

class PropertyBag {
  public:
    virtual ~PropertyBag() = default;
    // The stored value, or `defaultValue` when the key is absent. A store may raise a run-time
    // error for a key it cannot read. Objects come back as copies the caller owns.
    virtual Variant ReadProperty(const String& key, const Variant& defaultValue) = 0;
    // Stores the value; a value equal to its default may be left out.
    virtual void WriteProperty(const String& key, const Variant& value,
                               const Variant& defaultValue) = 0;
};

}  // namespace qv
