#include "inventory/value.h"

#include "base/checked_int.h"
#include "base/error.h"

namespace quorvane {

Value Value::Array(std::vector<Value> elements, std::int32_t lowerBound) {
    return Value(ValueArray{lowerBound, std::move(elements)});
}

namespace {

std::u16string Digits(std::int64_t n) {
    // Work in unsigned to handle the most negative value.
    const bool negative = n < 0;
    std::uint64_t u = negative ? 0 - static_cast<std::uint64_t>(n) : static_cast<std::uint64_t>(n);
    char16_t buf[24];
    std::size_t i = sizeof buf / sizeof buf[0];
    do {
        buf[--i] = static_cast<char16_t>(u'0' + u % 10);
        u /= 10;
    } while (u != 0);
    if (negative) buf[--i] = u'-';
    return std::u16string(buf + i, buf + sizeof buf / sizeof buf[0]);
}

const ValueArray& AsArray(const Value& v) {
    const auto* a = std::get_if<ValueArray>(&v.storage());
    if (a == nullptr) ThrowConversion("value is no array");
    return *a;
}

}  // namespace

std::u16string ToText(const Value& v) {
    const auto& s = v.storage();
    if (const auto* t = std::get_if<std::u16string>(&s)) return *t;
    if (const auto* n = std::get_if<std::int64_t>(&s)) return Digits(*n);
    if (const auto* b = std::get_if<bool>(&s)) return *b ? u"True" : u"False";
    if (std::holds_alternative<Null>(s)) ThrowConversion("Null where text is needed");
    ThrowConversion("array where text is needed");
}

bool IsTrue(const Value& v) {
    const auto& s = v.storage();
    if (const auto* b = std::get_if<bool>(&s)) return *b;
    if (const auto* n = std::get_if<std::int64_t>(&s)) return *n != 0;
    if (std::holds_alternative<Null>(s)) return false;
    ThrowConversion("value is no condition");
}

std::int32_t LowerBound(const Value& v) { return AsArray(v).lowerBound; }

std::int32_t UpperBound(const Value& v) {
    const ValueArray& a = AsArray(v);
    return CheckedSub(CheckedAdd(a.lowerBound, CheckedLength(a.elements.size())), 1);
}

const Value& ElementAt(const Value& v, std::int64_t index) {
    const ValueArray& a = AsArray(v);
    const std::int64_t offset = index - a.lowerBound;
    if (offset < 0 || offset >= static_cast<std::int64_t>(a.elements.size())) {
        ThrowInvalidArgument("array index out of bounds");
    }
    return a.elements[static_cast<std::size_t>(offset)];
}

std::u16string FromAscii(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    for (const char c : s) out.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace quorvane
