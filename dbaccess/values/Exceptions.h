#pragma once

#include <cstdint>
#include <exception>
#include <string>

// The error classes of the data access layer. Callers tell database errors
// (EDatabaseError) from provider and platform failures (EOleError and below)
// by class, so the hierarchy matters as much as the message.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}

    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

class EDatabaseError : public Exception {
public:
    using Exception::Exception;
    // A refusal of the database, with its SQLSTATE and native error code.
    EDatabaseError(std::string message, std::string sqlState, std::int32_t nativeError)
        : Exception(std::move(message)), sqlState_(std::move(sqlState)), nativeError_(nativeError) {
    }

    // Empty for the layer's own checks.
    const std::string& SqlState() const noexcept { return sqlState_; }
    std::int32_t NativeError() const noexcept { return nativeError_; }

private:
    std::string sqlState_;
    std::int32_t nativeError_ = 0;
};

// Raised only for an invalid enumeration value.
class EADOError : public EDatabaseError {
public:
    using EDatabaseError::EDatabaseError;
};

class EOleError : public Exception {
public:
    using Exception::Exception;
};

// A platform call failed; the message is the system's text for the code or
// "OLE error %.8x".
class EOleSysError : public EOleError {
public:
    EOleSysError(std::string message, std::int32_t errorCode)
        : EOleError(std::move(message)), errorCode_(errorCode) {}
    explicit EOleSysError(std::int32_t errorCode);

    std::int32_t ErrorCode() const noexcept { return errorCode_; }

private:
    std::int32_t errorCode_;
};

// The provider refused an operation; the message is its trimmed description.
class EOleException : public EOleSysError {
public:
    EOleException(std::string message, std::int32_t errorCode, std::string sqlState = {},
                  std::int32_t nativeError = 0)
        : EOleSysError(std::move(message), errorCode), sqlState_(std::move(sqlState)),
          nativeError_(nativeError) {}

    const std::string& SqlState() const noexcept { return sqlState_; }
    std::int32_t NativeError() const noexcept { return nativeError_; }

private:
    std::string sqlState_;
    std::int32_t nativeError_ = 0;
};

class EVariantError : public Exception {
public:
    using Exception::Exception;
};

// "%s: %s" with the object's name, or the bare text when it has none.
std::string prefixWithName(const std::string& name, const std::string& text);

// The text of "OLE error %.8x" for a failure code.
std::string oleErrorText(std::int32_t errorCode);

// Provider descriptions lose trailing blanks, control characters and periods.
std::string trimProviderMessage(std::string message);
