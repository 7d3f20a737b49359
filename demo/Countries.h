// The country names of the demo's country box (UTF-8), in alphabetical order.
#pragma once

#include <vector>

namespace qv::demo {

const std::vector<const char*>& CountryNames();

}  // namespace qv::demo
