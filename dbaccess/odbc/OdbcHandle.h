#pragma once

#include <sql.h>
#include <sqlext.h>
#include <string>
#include <utility>
#include <vector>

// An owned ODBC handle of one type, freed when it goes.
class OdbcHandle {
public:
    OdbcHandle() = default;
    // Allocates a handle of type under parent; raises EOleSysError when it cannot.
    OdbcHandle(SQLSMALLINT type, SQLHANDLE parent);
    ~OdbcHandle() { reset(); }

    OdbcHandle(OdbcHandle&& other) noexcept
        : type_(other.type_), handle_(std::exchange(other.handle_, nullptr)) {}
    OdbcHandle& operator=(OdbcHandle&& other) noexcept {
        if (this != &other) {
            reset();
            type_ = other.type_;
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    OdbcHandle(const OdbcHandle&) = delete;
    OdbcHandle& operator=(const OdbcHandle&) = delete;

    SQLHANDLE get() const noexcept { return handle_; }
    SQLSMALLINT type() const noexcept { return type_; }
    explicit operator bool() const noexcept { return handle_ != SQL_NULL_HANDLE; }

    void reset() noexcept;

private:
    SQLSMALLINT type_ = SQL_HANDLE_STMT;
    SQLHANDLE handle_ = nullptr;
};

// One diagnostic record of a handle.
struct OdbcDiagnostic {
    std::string sqlState;
    SQLINTEGER nativeError = 0;
    std::string message;
};

std::vector<OdbcDiagnostic> readDiagnostics(SQLSMALLINT type, SQLHANDLE handle);

// Raises EOleException with the handle's diagnostics when rc is a failure.
// Returns rc (success, success with info, no data or need data).
SQLRETURN checkOdbc(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle);
inline SQLRETURN checkOdbc(SQLRETURN rc, const OdbcHandle& handle) {
    return checkOdbc(rc, handle.type(), handle.get());
}

[[noreturn]] void raiseFromDiagnostics(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle);
