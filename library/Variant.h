// qv::Variant: the container language's variant with the subtypes the controls use, and its
// conversion rules.
//
// Conversions raise the language's errors: a value that cannot be converted is error 13 (type
// mismatch), a number that does not fit is error 6 (overflow), a null where a value is needed is
// error 94. Whole-number conversions round halves to even ("banker's rounding").
#pragma once

#include <compare>
#include <cstdint>
#include <memory>
#include <optional>
#include <variant>

#include "library/String.h"

namespace qv {

// Base of every object a Variant can hold (fonts, pictures, connections).
class Object {
  public:
    virtual ~Object() = default;
    // A copy that shares no state with this object; property stores keep and hand out copies.
    virtual std::shared_ptr<Object> Clone() const = 0;
    // The object's class name, for messages and form files ("Font", "Picture").
    virtual String TypeName() const = 0;
};

// Subtype codes; the numbers are the container language's VarType values.
enum class VarType : int16_t {
    Empty = 0,
    Null = 1,
    Integer = 2,
    Long = 3,
    Single = 4,
    Double = 5,
    Date = 7,
    String = 8,
    Object = 9,
    Missing = 10,  // an omitted optional argument
    Boolean = 11,
    Variant = 12,  // any subtype (a property typed as Variant)
};

// A date: days since 30 December 1899, the fraction being the time of day.
struct DateValue {
    double days = 0;
    friend auto operator<=>(const DateValue&, const DateValue&) = default;
};

class Variant {
  public:
    struct NullTag {
        friend bool operator==(NullTag, NullTag) { return true; }
    };
    struct MissingTag {
        friend bool operator==(MissingTag, MissingTag) { return true; }
    };

    Variant() = default;  // Empty
    Variant(bool v) : v_(v) {}
    Variant(int16_t v) : v_(v) {}
    Variant(int32_t v) : v_(v) {}
    Variant(float v) : v_(v) {}
    Variant(double v) : v_(v) {}
    Variant(DateValue v) : v_(v) {}
    Variant(String v) : v_(std::move(v)) {}
    Variant(StringView v) : v_(String(v)) {}
    Variant(const char16_t* v) : v_(String(v)) {}
    Variant(std::shared_ptr<Object> v) : v_(std::move(v)) {}
    template <class T>
    requires std::is_base_of_v<Object, T> Variant(std::shared_ptr<T> v)
        : v_(std::shared_ptr<Object>(std::move(v))) {}
    Variant(const char*) = delete;  // say u"..." or qv::u8s("...")

    static Variant Null() { return Variant(NullTag{}); }
    static Variant Missing() { return Variant(MissingTag{}); }

    VarType Type() const;
    bool IsEmpty() const { return v_.index() == 0; }
    bool IsNull() const { return std::holds_alternative<NullTag>(v_); }
    bool IsMissing() const { return std::holds_alternative<MissingTag>(v_); }
    bool IsObject() const { return std::holds_alternative<std::shared_ptr<Object>>(v_); }
    bool IsString() const { return std::holds_alternative<String>(v_); }
    // Integer, Long, Single, Double, Boolean (the language counts Boolean as a number).
    bool IsNumber() const;

    // Conversions (CBool, CInt, CLng, CSng, CDbl, CStr, CDate). Strings are parsed with "." as
    // the decimal point, optional sign, exponent and surrounding blanks; "True"/"False" convert.
    bool ToBool() const;
    int16_t ToInteger() const;
    int32_t ToLong() const;
    float ToSingle() const;
    double ToDouble() const;
    String ToString() const;
    // The string held, without a copy; nullptr for any other subtype.
    const String* StringIf() const { return std::get_if<String>(&v_); }
    DateValue ToDate() const;
    // The object, or error 424 (object required) when the variant holds none.
    std::shared_ptr<Object> ToObject() const;
    // The object cast to T, or nullptr when the variant holds another type of object or none.
    template <class T>
    std::shared_ptr<T> As() const {
        if (auto* p = std::get_if<std::shared_ptr<Object>>(&v_))
            return std::dynamic_pointer_cast<T>(*p);
        return nullptr;
    }

    // Same subtype and same value (objects: the same instance). Not the language's "=".
    friend bool operator==(const Variant& a, const Variant& b) { return a.v_ == b.v_; }

  private:
    explicit Variant(NullTag t) : v_(t) {}
    explicit Variant(MissingTag t) : v_(t) {}

    std::variant<std::monostate, NullTag, bool, int16_t, int32_t, float, double, DateValue, String,
                 std::shared_ptr<Object>, MissingTag>
        v_;
};

// The name of a subtype ("Integer", "String"), as the language's TypeName gives it.
String TypeName(const Variant& v);

// IsNumeric: numbers, Booleans, Empty and strings that parse as a number.
bool IsNumeric(const Variant& v);

// Val: reads the leading number of a text, ignoring blanks, tabs and line feeds anywhere;
// "12abc" -> 12, "1 2" -> 12, "abc" -> 0, "&H1F" -> 31. Never raises.
double Val(StringView text);

// Text form of numbers: at most 15 significant digits for a Double and 7 for a Single, exponent
// form for large or tiny magnitudes ("1E+20", "1.5E-07"), "." as the decimal point.
String DoubleToString(double d);
String SingleToString(float f);

// Rounds to a whole number, halves to even.
double RoundHalfEven(double d);

// Calendar arithmetic on date values. Out-of-range months and days roll over (month 13 is January
// of the next year, day 0 the last day of the previous month); a year outside 100..9999 after
// rolling is error 5. The year is taken as given (no two-digit year window).
DateValue DateSerial(int32_t year, int32_t month, int32_t day);
int32_t Year(DateValue d);
int32_t Month(DateValue d);
int32_t Day(DateValue d);
int32_t Weekday(DateValue d);  // 1 = Sunday .. 7 = Saturday
// The Gregorian calendar: divisible by 4, and not by 100 unless by 400.
bool IsLeapYear(int32_t year);
// 28 to 31; 0 for a month outside 1..12.
int32_t DaysInMonth(int32_t year, int32_t month);

}  // namespace qv
