// Any text given to the lease split either yields a date and time or raises
// the program's own error; nothing else may happen.
#include <cstdlib>

#include "base/error.h"
#include "fuzz_text.h"
#include "inventory/lease_timestamp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quorvane::fuzz::CharReader in(data, size);
    const std::u16string text = in.Rest();
    std::u16string date = u"before";
    std::u16string time = u"before";
    try {
        quorvane::SplitCimDateTime(text, date, time);
        if (text.find(u'.') == std::u16string::npos && (date != u"before" || time != u"before")) std::abort();
        // A successful split of a text that has a "." always dashes the date.
        if (text.find(u'.') != std::u16string::npos && (date.size() != 10 || date[4] != u'-' || date[7] != u'-')) {
            std::abort();
        }
    } catch (const quorvane::Error&) {
    }
    return 0;
}
