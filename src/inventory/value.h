#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quorvane {

class Value;

// An array of values as the management service delivers it: elements with
// the index of the first one (a SAFEARRAY need not start at 0).
struct ValueArray {
    std::int32_t lowerBound = 0;
    std::vector<Value> elements;

    bool operator==(const ValueArray&) const = default;
};

struct Null {
    bool operator==(const Null&) const = default;
};

// One property value: Null, a Boolean, a whole number, a text or an array.
class Value {
public:
    using Storage = std::variant<Null, bool, std::int64_t, std::u16string, ValueArray>;

    Value() = default;
    Value(Null) {}
    Value(bool b) : v_(b) {}
    Value(std::int64_t n) : v_(n) {}
    Value(std::int32_t n) : v_(std::int64_t{n}) {}
    Value(std::uint32_t n) : v_(std::int64_t{n}) {}
    Value(std::u16string s) : v_(std::move(s)) {}
    Value(const char16_t* s) : v_(std::u16string(s)) {}
    Value(ValueArray a) : v_(std::move(a)) {}

    // An array with lower bound 0.
    static Value Array(std::vector<Value> elements, std::int32_t lowerBound = 0);

    [[nodiscard]] bool IsNull() const noexcept { return std::holds_alternative<Null>(v_); }
    [[nodiscard]] const Storage& storage() const noexcept { return v_; }

    bool operator==(const Value&) const = default;

private:
    Storage v_;
};

// Text conversion: a text as it is, a number as its decimal digits, a Boolean
// as "True" or "False". Null and arrays raise the conversion error.
std::u16string ToText(const Value& v);

// A value used as a condition: a Boolean as it is, a number as nonzero,
// Null as false. Anything else raises the conversion error.
bool IsTrue(const Value& v);

// Bounds and elements of an array value; a value that is no array raises the
// conversion error, an index outside the bounds the invalid-argument error.
std::int32_t LowerBound(const Value& v);
std::int32_t UpperBound(const Value& v);
const Value& ElementAt(const Value& v, std::int64_t index);

// Widens bytes one to one; meant for ASCII literals and diagnostics.
std::u16string FromAscii(std::string_view s);

}  // namespace quorvane
