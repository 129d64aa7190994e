#include "base/error.h"

namespace quorvane {

Error::Error(ErrorKind kind, const std::string& what, std::int64_t platformCode)
    : std::runtime_error(what), kind_(kind), platformCode_(platformCode) {}

void ThrowOverflow(const char* where) {
    throw Error(ErrorKind::Overflow, std::string("overflow: ") + where);
}

void ThrowInvalidArgument(const char* where) {
    throw Error(ErrorKind::InvalidArgument, std::string("invalid argument: ") + where);
}

void ThrowConversion(const char* where) {
    throw Error(ErrorKind::Conversion, std::string("conversion: ") + where);
}

void ThrowPlatform(const std::string& what, std::int64_t code) {
    throw Error(ErrorKind::Platform, what, code);
}

}  // namespace quorvane
