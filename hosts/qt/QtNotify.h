#pragma once
// Pieces the Qt host's widget items share; internal to the Qt host.

#include <utility>

namespace qv::qt {

// Calls a notice through a copy of its slot: a handler may clear or replace its own slot while it
// runs (a one-shot handler), which would destroy the function being called.
template <class F, class... A>
void Notify(const F& slot, A&&... args) {
    if (!slot) return;
    const F call(slot);
    call(std::forward<A>(args)...);
}

}  // namespace qv::qt
