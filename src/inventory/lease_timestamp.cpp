#include "inventory/lease_timestamp.h"

#include <limits>

#include "base/checked_int.h"
#include "base/error.h"

namespace quorvane {

namespace {

// The position (from 1) of the first occurrence of `separator` in `text` at or
// after `start`, or 0. An empty separator is found at `start` itself whenever
// the text is not empty and start <= length + 1; never in an empty text.
std::int32_t Find(std::u16string_view text, std::u16string_view separator, std::int32_t start) {
    const std::int32_t length = CheckedLength(text.size());
    if (start < 1) ThrowInvalidArgument("search start before position 1");
    if (separator.empty()) {
        return !text.empty() && start <= CheckedAdd(length, 1) ? start : 0;
    }
    if (start > length) return 0;
    const std::size_t at = text.find(separator, static_cast<std::size_t>(start - 1));
    return at == std::u16string_view::npos ? 0 : CheckedAdd(static_cast<std::int32_t>(at), 1);
}

// The first `count` characters (all of them when the text is shorter).
std::u16string_view Left(std::u16string_view text, std::int32_t count) {
    if (count < 0) ThrowInvalidArgument("negative length");
    return text.substr(0, static_cast<std::size_t>(count));
}

// The characters from position `start` (from 1) on, at most `count` of them;
// empty when the text ends before `start`.
std::u16string_view Mid(std::u16string_view text, std::int32_t start,
                        std::int32_t count = std::numeric_limits<std::int32_t>::max()) {
    if (start < 1) ThrowInvalidArgument("text position before 1");
    if (count < 0) ThrowInvalidArgument("negative length");
    const auto from = static_cast<std::size_t>(start - 1);
    if (from >= text.size()) return {};
    return text.substr(from, static_cast<std::size_t>(count));
}

// A plain, optionally signed, decimal integer within 32 bits.
std::int32_t ParseOffset(std::u16string_view tail) {
    std::size_t i = 0;
    bool negative = false;
    if (i < tail.size() && (tail[i] == u'-' || tail[i] == u'+')) {
        negative = tail[i] == u'-';
        ++i;
    }
    if (i == tail.size()) ThrowConversion("zone offset has no digits");
    std::int64_t magnitude = 0;
    for (; i < tail.size(); ++i) {
        const char16_t c = tail[i];
        if (c < u'0' || c > u'9') ThrowConversion("zone offset is not a decimal number");
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) {
            ThrowOverflow("zone offset beyond 32 bits");
        }
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) ThrowOverflow("zone offset beyond 32 bits");
    return static_cast<std::int32_t>(value);
}

}  // namespace

std::u16string InsertAtOccurrence(std::u16string_view target, std::u16string_view insert, std::int32_t n,
                                  std::u16string_view separator) {
    std::int32_t count = 0;
    std::int32_t current = 0;
    for (;;) {
        const std::int32_t found = Find(target, separator, CheckedAdd(current, 1));
        if (found == 0) break;
        current = found;
        count = CheckedAdd(count, 1);
        if (count >= n) break;
    }

    // The insert goes right before the occurrence the walk stopped at; the
    // text before it is kept whole, also with a separator longer than one
    // character or when the walk stopped at the first occurrence.
    std::u16string result;
    if (count == 1 || count >= n) {
        result.append(Left(target, CheckedSub(current, 1))).append(insert).append(Mid(target, current));
    } else {
        // Filling up to the n-th occurrence takes copies of the separator's
        // first character, which the empty separator does not have.
        if (separator.empty()) ThrowInvalidArgument("fewer occurrences than asked for");
        const std::int32_t copies = CheckedSub(CheckedSub(n, 1), count);
        result.append(target).append(static_cast<std::size_t>(copies), separator.front()).append(insert);
    }
    return result;
}

std::int32_t SplitZoneOffset(std::u16string& text) {
    std::int32_t sign = Find(text, u"-", 1);
    if (sign == 0) sign = Find(text, u"+", 1);
    if (sign == 0) return 0;
    const std::u16string tail(Mid(text, sign));
    text.resize(static_cast<std::size_t>(sign - 1));
    return ParseOffset(tail);
}

std::int32_t SplitCimDateTime(std::u16string_view text, std::u16string& dateText, std::u16string& timeText) {
    std::u16string work(text);
    const std::int32_t dot = Find(work, u".", 1);
    if (dot == 0) return 0;

    const std::int32_t offset = SplitZoneOffset(work);

    dateText = Left(work, 8);
    // The time runs from position 9 up to the "." found before the offset was cut.
    const std::int32_t timeLength = CheckedSub(CheckedSub(dot, CheckedLength(dateText.size())), 1);
    timeText = Mid(work, 9, timeLength);

    dateText = InsertAtOccurrence(dateText, u"-", 5, u"");
    dateText = InsertAtOccurrence(dateText, u"-", 8, u"");
    timeText = InsertAtOccurrence(timeText, u":", 3, u"");
    timeText = InsertAtOccurrence(timeText, u":", 6, u"");
    return offset;
}

}  // namespace quorvane
