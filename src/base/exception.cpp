#include "base/exception.h"

namespace quorvel {

Exception::Exception(const std::string& message) : std::runtime_error(message) { }

std::string Exception::Message() const { return what(); }

} // namespace quorvel
