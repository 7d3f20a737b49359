#include "library/RuntimeError.h"

#include <string>

namespace qv {

String ErrorDescription(int32_t number) {
    switch (number) {
        case err::InvalidProcedureCall:
            return u"Invalid procedure call or argument";
        case err::Overflow:
            return u"Overflow";
        case err::OutOfMemory:
            return u"Out of memory";
        case err::SubscriptOutOfRange:
            return u"Subscript out of range";
        case err::DivisionByZero:
            return u"Division by zero";
        case err::TypeMismatch:
            return u"Type mismatch";
        case err::InvalidUseOfNull:
            return u"Invalid use of Null";
        case err::InvalidPropertyValue:
            return u"Invalid property value";
        case err::ReadOnlyProperty:
            return u"Property is read-only";
        case err::ObjectNotSet:
            return u"Object variable or With block variable not set";
        case err::ObjectRequired:
            return u"Object required";
        case err::CannotCreateObject:
            return u"Can't create object";
        case err::NoSuchMember:
            return u"Object doesn't support this property or method";
        case err::ArgumentNotOptional:
            return u"Argument not optional";
        case err::WrongArguments:
            return u"Wrong number of arguments or invalid property assignment";
        case err::DatabaseError:
            return u"Database error";
        default:
            return u"Application-defined or object-defined error";
    }
}

namespace {

String DescriptionOrStandard(int32_t number, String description) {
    return description.empty() ? ErrorDescription(number) : std::move(description);
}

}  // namespace

RuntimeError::RuntimeError(int32_t number, String source, String description)
    : std::runtime_error("Error " + std::to_string(number) + ": " +
                         ToUtf8(DescriptionOrStandard(number, description))),
      number_(number),
      source_(std::move(source)),
      description_(DescriptionOrStandard(number, std::move(description))) {}

void Raise(int32_t number, String source, String description) {
    throw RuntimeError(number, std::move(source), std::move(description));
}

}  // namespace qv
