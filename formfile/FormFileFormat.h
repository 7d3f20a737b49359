// What the form-file writer and reader share: the format's marks and the number conversions.
// Internal to formfile/.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace qv::formfile {

inline constexpr const char* kFormatName = "qvControls form";
inline constexpr int64_t kFormatVersion = 1;

// Non-finite numbers have no JSON form; they are written as these words and read back.
inline constexpr const char* kNaN = "NaN";
inline constexpr const char* kInfinity = "Infinity";
inline constexpr const char* kMinusInfinity = "-Infinity";

// The Single nearest to `d`, or nothing when `d` is beyond the Single range. Converting an
// out-of-range double to float is undefined, hence the explicit limits.
inline std::optional<float> NarrowToSingle(double d) {
    if (!std::isfinite(d)) return static_cast<float>(d);
    constexpr double kMax = std::numeric_limits<float>::max();
    constexpr double kRoundsToInfinity = kMax + 0x1p103;  // halfway to the next power of two
    if (std::fabs(d) >= kRoundsToInfinity) return std::nullopt;
    if (std::fabs(d) > kMax) return static_cast<float>(std::copysign(kMax, d));
    return static_cast<float>(d);
}

}  // namespace qv::formfile
