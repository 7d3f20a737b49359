// The generated upper-case table behind qv::UpperCaseChar (see tools/gen_uppercase_table.py).
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv::detail {

// Characters first, first + step, ..., last map to themselves plus delta. Runs are sorted and do
// not overlap.
struct UpperCaseRun {
    char16_t first;
    char16_t last;
    uint8_t step;  // 1 or 2
    int32_t delta;
};

extern const UpperCaseRun kUpperCaseRuns[];
extern const std::size_t kUpperCaseRunCount;

}  // namespace qv::detail
