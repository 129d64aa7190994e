#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvane {

// Lease times arrive as DMTF CIM datetime text, yyyymmddHHMMSS.mmmmmmsUUU.
// These operations split such a text into a date text yyyy-mm-dd, a time text
// HH:MM:SS and the zone offset in minutes. Positions are 1-based and counted
// in 16-bit characters; every failure raises `Error`.

// Splits `text` (never changed). When it holds no ".", returns 0 and leaves
// both outputs as they were. Otherwise writes `dateText`, then `timeText`,
// and returns the zone offset; a failure part-way keeps what was written so far.
std::int32_t SplitCimDateTime(std::u16string_view text, std::u16string& dateText, std::u16string& timeText);

// Cuts the zone offset off `text` at its first "-" (or, with none, its first
// "+") and returns it as minutes; returns 0 and leaves the text alone when
// neither sign is there. The text is cut before the offset is converted: an
// offset that is not a plain decimal integer raises the conversion error, one
// beyond 32 bits the overflow error.
std::int32_t SplitZoneOffset(std::u16string& text);

// Puts `insert` before the n-th occurrence of `separator` in `target`. With
// the empty separator every character position is an occurrence, so the
// insert lands before character n (n = length + 1 appends; n <= 1 prepends).
// With fewer occurrences than n: before the only one when there is one, else
// after the target padded with copies of the separator's first character up
// to n - 1 occurrences. Where no result is defined (the empty separator with
// n beyond length + 1 or an empty target; no occurrence and n <= 0) raises
// the invalid-argument error.
std::u16string InsertAtOccurrence(std::u16string_view target, std::u16string_view insert, std::int32_t n,
                                  std::u16string_view separator);

}  // namespace quorvane
