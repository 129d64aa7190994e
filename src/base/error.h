#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

namespace quorvane {

// The kinds of failure the program distinguishes. Procedures that absorb
// failures catch exactly `Error`; everything else is a bug or out-of-memory.
enum class ErrorKind {
    Overflow,         // whole-number arithmetic left its range
    InvalidArgument,  // e.g. a text operation given a negative length
    Conversion,       // a text that is no number, or Null where text is needed
    Platform,         // an operating-system call failed; see platformCode()
};

class Error : public std::runtime_error {
public:
    Error(ErrorKind kind, const std::string& what, std::int64_t platformCode = 0);

    [[nodiscard]] ErrorKind kind() const noexcept { return kind_; }
    // The platform's own code for Platform failures (an HRESULT, errno, ...).
    [[nodiscard]] std::int64_t platformCode() const noexcept { return platformCode_; }

private:
    ErrorKind kind_;
    std::int64_t platformCode_;
};

[[noreturn]] void ThrowOverflow(const char* where);
[[noreturn]] void ThrowInvalidArgument(const char* where);
[[noreturn]] void ThrowConversion(const char* where);
[[noreturn]] void ThrowPlatform(const std::string& what, std::int64_t code);

// Runs one statement of a procedure that absorbs failures statement by
// statement: the program's own error abandons the rest of that statement and
// nothing more, so whatever it would have stored stays as it was. Anything
// else (out of memory, a bug) passes on.
template <typename Statement>
void Absorb(Statement&& statement) {
    try {
        std::forward<Statement>(statement)();
    } catch (const Error&) {
        // Absorbed by design; the next statement runs.
    }
}

}  // namespace quorvane
