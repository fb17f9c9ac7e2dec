#include "OdbcHandle.h"

#include "dbaccess/values/Exceptions.h"

OdbcHandle::OdbcHandle(SQLSMALLINT type, SQLHANDLE parent, std::shared_ptr<SessionCalls> calls)
    : type_(type) {
    const SQLRETURN rc = SQLAllocHandle(type, parent, &handle_);
    if (!SQL_SUCCEEDED(rc)) {
        handle_ = SQL_NULL_HANDLE;
        if (parent != SQL_NULL_HANDLE) {
            const SQLSMALLINT parentType = type == SQL_HANDLE_DBC ? SQL_HANDLE_ENV : SQL_HANDLE_DBC;
            const auto diagnostics = readDiagnostics(parentType, parent);
            if (!diagnostics.empty()) {
                throw EOleSysError(trimProviderMessage(diagnostics.front().message),
                                   static_cast<std::int32_t>(0x80004005));
            }
        }
        // E_FAIL: the driver manager could not make the object.
        throw EOleSysError(static_cast<std::int32_t>(0x80004005));
    }
    calls_ = std::move(calls);
}

void freeOdbcHandle(SQLSMALLINT type, SQLHANDLE handle) noexcept {
    if (type == SQL_HANDLE_DBC) {
        SQLDisconnect(handle);
    }
    SQLFreeHandle(type, handle);
}

void OdbcHandle::reset() noexcept {
    if (handle_ != SQL_NULL_HANDLE) {
        if (calls_ != nullptr) {
            calls_->release(type_, handle_);
        } else {
            freeOdbcHandle(type_, handle_);
        }
        handle_ = SQL_NULL_HANDLE;
    }
    calls_.reset();
}

bool OdbcHandle::post(std::function<SQLRETURN()> call) const {
    if (calls_ == nullptr) {
        return false;
    }
    calls_->post(type_, handle_, std::move(call));
    return true;
}

SQLRETURN OdbcHandle::runOwned(std::function<SQLRETURN()> call) const {
    if (calls_ == nullptr || !calls_->handsOver()) {
        return call();
    }
    calls_->post(type_, handle_, std::move(call));
    return calls_->collect();
}

void OdbcHandle::keepBound(std::shared_ptr<void> memory) const noexcept {
    if (calls_ != nullptr) {
        calls_->keep(std::move(memory));
    }
}

std::vector<OdbcDiagnostic> readDiagnostics(SQLSMALLINT type, SQLHANDLE handle) {
    std::vector<OdbcDiagnostic> records;
    if (handle == SQL_NULL_HANDLE) {
        return records;
    }
    for (SQLSMALLINT record = 1;; ++record) {
        SQLCHAR state[6] = {};
        SQLINTEGER native = 0;
        std::string message(512, '\0');
        SQLSMALLINT length = 0;
        SQLRETURN rc = SQLGetDiagRec(type, handle, record, state, &native,
                                     reinterpret_cast<SQLCHAR*>(message.data()),
                                     static_cast<SQLSMALLINT>(message.size()), &length);
        if (rc == SQL_SUCCESS_WITH_INFO && length >= static_cast<SQLSMALLINT>(message.size())) {
            message.assign(static_cast<std::size_t>(length) + 1, '\0');
            rc = SQLGetDiagRec(type, handle, record, state, &native,
                               reinterpret_cast<SQLCHAR*>(message.data()),
                               static_cast<SQLSMALLINT>(message.size()), &length);
        }
        if (!SQL_SUCCEEDED(rc)) {
            break;
        }
        message.resize(std::min<std::size_t>(static_cast<std::size_t>(length), message.size()));
        message.resize(message.find('\0') == std::string::npos ? message.size()
                                                               : message.find('\0'));
        records.push_back({reinterpret_cast<const char*>(state), native, std::move(message)});
    }
    return records;
}

void raiseFromDiagnostics(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle) {
    raiseFromRecords(rc, readDiagnostics(type, handle));
}

void raiseFromRecords(SQLRETURN rc, const std::vector<OdbcDiagnostic>& records) {
    constexpr auto failureCode = static_cast<std::int32_t>(0x80004005);
    if (records.empty()) {
        throw EOleException(oleErrorText(rc == SQL_INVALID_HANDLE
                                             ? static_cast<std::int32_t>(0x80070006)
                                             : failureCode),
                            failureCode);
    }
    std::string message;
    for (const auto& record : records) {
        const std::string text = trimProviderMessage(record.message);
        if (text.empty() || message.find(text) != std::string::npos) {
            continue;
        }
        message += message.empty() ? text : "; " + text;
    }
    if (message.empty()) {
        message = oleErrorText(failureCode);
    }
    throw EOleException(trimProviderMessage(message), failureCode, records.front().sqlState,
                        records.front().nativeError);
}

SQLRETURN checkOdbc(SQLRETURN rc, SQLSMALLINT type, SQLHANDLE handle) {
    if (rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO || rc == SQL_NO_DATA ||
        rc == SQL_NEED_DATA) {
        return rc;
    }
    raiseFromDiagnostics(rc, type, handle);
}

void traceStatement(StatementTrace& trace, const OdbcHandle& handle, const std::string& text,
                    SQLRETURN rc, std::chrono::steady_clock::duration took) {
    trace.statementRan(text, took);
    if (rc == SQL_SUCCESS || rc == SQL_NO_DATA || rc == SQL_NEED_DATA) {
        return;
    }
    for (const OdbcDiagnostic& diagnostic : readDiagnostics(handle.type(), handle.get())) {
        trace.driverSaid("[" + diagnostic.sqlState + "] " +
                         trimProviderMessage(diagnostic.message));
    }
}
