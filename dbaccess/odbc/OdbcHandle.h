#pragma once

#include "dbaccess/odbc/SessionCalls.h"
#include "dbaccess/odbc/StatementTrace.h"

#include <chrono>
#include <functional>
#include <memory>
#include <sql.h>
#include <sqlext.h>
#include <string>
#include <utility>
#include <vector>

// An owned ODBC handle of one type, freed when it goes; a session's handles
// run their calls and are freed as the session's calls say.
class OdbcHandle {
public:
    OdbcHandle() = default;
    // Allocates a handle of type under parent; raises EOleSysError when it cannot.
    OdbcHandle(SQLSMALLINT type, SQLHANDLE parent, std::shared_ptr<SessionCalls> calls = {});
    ~OdbcHandle() { reset(); }

    OdbcHandle(OdbcHandle&& other) noexcept
        : type_(other.type_), handle_(std::exchange(other.handle_, nullptr)),
          calls_(std::move(other.calls_)) {}
    OdbcHandle& operator=(OdbcHandle&& other) noexcept {
        if (this != &other) {
            reset();
            type_ = other.type_;
            handle_ = std::exchange(other.handle_, nullptr);
            calls_ = std::move(other.calls_);
        }
        return *this;
    }
    OdbcHandle(const OdbcHandle&) = delete;
    OdbcHandle& operator=(const OdbcHandle&) = delete;

    SQLHANDLE get() const noexcept { return handle_; }
    SQLSMALLINT type() const noexcept { return type_; }
    explicit operator bool() const noexcept { return handle_ != SQL_NULL_HANDLE; }

    void reset() noexcept;

    // Runs driver calls on the handle, call() returning the last one's
    // result: inline, or as its session's calls run (never one inside another).
    template <class Call> SQLRETURN run(Call&& call) const {
        if (calls_ == nullptr || !calls_->handsOver()) {
            return call();
        }
        return calls_->run(type_, handle_, call);
    }
    // run() for a call of many driver calls: the session holds the call
    // while it runs, so that one left behind after its caller has gone
    // touches only what the call itself owns.
    SQLRETURN runOwned(std::function<SQLRETURN()> call) const;
    // The trace of the handle's session; null for none.
    StatementTrace* trace() const noexcept { return calls_ != nullptr ? calls_->trace() : nullptr; }
    // Whether its session left a call behind: its driver must not be asked
    // anything more until the handle is freed.
    bool abandoned() const noexcept { return calls_ != nullptr && calls_->abandoned(); }
    // Whether the call running on the handle's session is being given up.
    bool givingUp() const noexcept { return calls_ != nullptr && calls_->givingUp(); }
    // Keeps memory bound to the handle while a call left behind may write into it.
    void keepBound(std::shared_ptr<void> memory) const noexcept;

    // Starts driver calls on the handle on its session's worker and returns
    // at once (SessionCalls::post); false, with nothing run, for a handle
    // without a session.
    bool post(std::function<SQLRETURN()> call) const;
    // Waits for the posted calls (SessionCalls::collect).
    SQLRETURN collect() const { return calls_ != nullptr ? calls_->collect() : SQL_SUCCESS; }
    void abandonPosted() const noexcept {
        if (calls_ != nullptr) {
            calls_->abandonPosted();
        }
    }

private:
    SQLSMALLINT type_ = SQL_HANDLE_STMT;
    SQLHANDLE handle_ = nullptr;
    std::shared_ptr<SessionCalls> calls_;
};

// Disconnects a connection handle, then frees any handle.
void freeOdbcHandle(SQLSMALLINT type, SQLHANDLE handle) noexcept;

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
// Runs a driver call on a handle (OdbcHandle::run) and checks it.
template <class Call> SQLRETURN checkCall(const OdbcHandle& handle, Call&& call) {
    return checkOdbc(handle.run(std::forward<Call>(call)), handle);
}
// Tells trace of text, run on handle with rc after took, and of what the driver said.
void traceStatement(StatementTrace& trace, const OdbcHandle& handle, const std::string& text,
                    SQLRETURN rc, std::chrono::steady_clock::duration took);
// checkCall for a call that runs text (a statement, or a catalog call's
// description): the session's trace, when there is one, is told of it.
template <class Call>
SQLRETURN checkStatement(const OdbcHandle& handle, const std::string& text, Call&& call) {
    StatementTrace* trace = handle.trace();
    if (trace == nullptr) {
        return checkCall(handle, std::forward<Call>(call));
    }
    const auto start = std::chrono::steady_clock::now();
    const SQLRETURN rc = handle.run(std::forward<Call>(call));
    traceStatement(*trace, handle, text, rc, std::chrono::steady_clock::now() - start);
    return checkOdbc(rc, handle);
}
// SQLFetch through checkCall: SQL_NO_DATA after the last row.
inline SQLRETURN fetchRow(const OdbcHandle& statement) {
    return checkCall(statement, [&statement] { return SQLFetch(statement.get()); });
}

[[noreturn]] void raiseFromDiagnostics(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle);
// The same from records read before a later call cleared them.
[[noreturn]] void raiseFromRecords(SQLRETURN rc, const std::vector<OdbcDiagnostic>& records);
