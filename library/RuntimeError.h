// Run-time errors of the controls and their container: number, source and description.
#pragma once

#include <cstdint>
#include <stdexcept>

#include "library/String.h"

namespace qv {

// Error numbers the library raises; descriptions follow the container language's wording.
namespace err {
inline constexpr int32_t InvalidProcedureCall = 5;
inline constexpr int32_t Overflow = 6;
inline constexpr int32_t OutOfMemory = 7;
inline constexpr int32_t SubscriptOutOfRange = 9;
inline constexpr int32_t DivisionByZero = 11;
inline constexpr int32_t TypeMismatch = 13;
inline constexpr int32_t InvalidUseOfNull = 94;
inline constexpr int32_t InvalidPropertyValue = 380;
inline constexpr int32_t ReadOnlyProperty = 383;
inline constexpr int32_t ObjectNotSet = 91;
inline constexpr int32_t ObjectRequired = 424;
inline constexpr int32_t CannotCreateObject = 429;
inline constexpr int32_t NoSuchMember = 438;
inline constexpr int32_t ArgumentNotOptional = 449;
inline constexpr int32_t WrongArguments = 450;
// A database engine's error; the description is the engine's message, the source the engine.
inline constexpr int32_t DatabaseError = 3000;
}  // namespace err

// The standard description of an error number ("Invalid property value" for 380), or
// "Application-defined or object-defined error" for numbers without one.
String ErrorDescription(int32_t number);

class RuntimeError : public std::runtime_error {
  public:
    // An empty description takes the standard one of the number.
    explicit RuntimeError(int32_t number, String source = {}, String description = {});

    int32_t Number() const noexcept { return number_; }
    const String& Source() const noexcept { return source_; }
    const String& Description() const noexcept { return description_; }

  private:
    int32_t number_;
    String source_;
    String description_;
};

// Raises error `number` (the container's Raise).
[[noreturn]] void Raise(int32_t number, String source = {}, String description = {});

}  // namespace qv
