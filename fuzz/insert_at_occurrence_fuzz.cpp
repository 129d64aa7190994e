// InsertAtOccurrence never loses a character of its target or its insert:
// every result is the target with the insert (and maybe padding) added.
#include <cstdlib>

#include "base/error.h"
#include "fuzz_text.h"
#include "inventory/lease_timestamp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quorvane::fuzz::CharReader in(data, size);
    const std::int32_t n = in.Int32() % 64;
    const std::u16string target = in.Text(48);
    const std::u16string insert = in.Text(8);
    const std::u16string separator = in.Text(3);
    try {
        const std::u16string result = quorvane::InsertAtOccurrence(target, insert, n, separator);
        if (result.size() < target.size() + insert.size()) std::abort();
        if (result.find(insert) == std::u16string::npos) std::abort();
        if (separator.empty()) {
            // Exactly one insert, before character n (clamped to the front).
            if (result.size() != target.size() + insert.size()) std::abort();
            const std::size_t at = n <= 1 ? 0 : static_cast<std::size_t>(n - 1);
            if (result.compare(0, at, target, 0, at) != 0 || result.compare(at, insert.size(), insert) != 0 ||
                result.compare(at + insert.size(), std::u16string::npos, target, at) != 0) {
                std::abort();
            }
        }
    } catch (const quorvane::Error&) {
    }
    return 0;
}
