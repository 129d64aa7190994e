#pragma once

#include <ostream>
#include <string>

#include "inventory/value.h"

namespace quorvane {

// Readable values in test failure messages: Null, True, 42, "text", [a, b].
inline void PrintTo(const Value& value, std::ostream* out) {
    const auto& storage = value.storage();
    if (value.IsNull()) {
        *out << "Null";
    } else if (const auto* array = std::get_if<ValueArray>(&storage)) {
        *out << '[';
        for (std::size_t i = 0; i < array->elements.size(); ++i) {
            if (i != 0) *out << ", ";
            PrintTo(array->elements[i], out);
        }
        *out << ']';
    } else {
        const std::u16string text = ToText(value);
        *out << (std::holds_alternative<std::u16string>(storage) ? "\"" : "");
        for (const char16_t c : text) *out << (c < 128 ? static_cast<char>(c) : '?');
        *out << (std::holds_alternative<std::u16string>(storage) ? "\"" : "");
    }
}

}  // namespace quorvane
