#pragma once
// The program's failures: exceptions carrying the message text the user sees.
#include <cstdint>
#include <stdexcept>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// A file or folder operation failed; carries the I/O result code.
class EInOutError : public Exception {
public:
    explicit EInOutError(int code);
    EInOutError(int code, std::string message) : Exception(std::move(message)), errorCode_(code) {}
    int ErrorCode() const noexcept { return errorCode_; }

private:
    int errorCode_;
};

class EPrinter : public Exception {
public:
    using Exception::Exception;
};

// A strictly checked component-object call failed; carries its HRESULT.
class EOleSysError : public Exception {
public:
    EOleSysError(std::string message, std::int32_t errorCode)
        : Exception(std::move(message)), errorCode_(errorCode) {}
    std::int32_t ErrorCode() const noexcept { return errorCode_; }

private:
    std::int32_t errorCode_;
};

class EInvalidPath : public Exception {
public:
    using Exception::Exception;
};

// Text that is not a number where a number was required.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A silent exception: ends the current operation and is not shown to the user.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};
