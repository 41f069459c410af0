#pragma once
// Failures of the operating system reported with its own error code and text.
#include <cstdint>
#include <string>

#include "runtime/exceptions.h"

class EOSError : public Exception {
public:
    EOSError(std::uint32_t errorCode, std::string message)
        : Exception(std::move(message)), errorCode_(errorCode) {}
    std::uint32_t ErrorCode() const noexcept { return errorCode_; }

private:
    std::uint32_t errorCode_;
};

// The system's text for an error code, without the line break it ends with.
std::string SysErrorMessage(std::uint32_t errorCode);

// Raises EOSError: "System Error.  Code: <code>.\r\n<the system's text>".
[[noreturn]] void RaiseLastOSError(std::uint32_t errorCode);
