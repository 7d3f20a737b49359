// The number of the run-time error a piece of code raises: the tests' way to check errors.
#pragma once

#include <cstdint>

#include "library/RuntimeError.h"

namespace qv_test {

// The number of the qv::RuntimeError `f` raises; 0 when it raises none.
template <class F>
int32_t ErrorOf(F&& f) {
    try {
        f();
    } catch (const qv::RuntimeError& e) {
        return e.Number();
    }
    return 0;
}

}  // namespace qv_test
