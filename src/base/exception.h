#pragma once

#include <stdexcept>
#include <string>

namespace quorvel {

// Every failure the program reports to the user is one of these: the handler that was running
// ends, and the application shows Message() in an error box.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message);
    std::string Message() const;
};

// A profile file could not be written.
class EIniFileException : public Exception {
public:
    using Exception::Exception;
};

} // namespace quorvel
