#include "SessionCalls.h"

#include "dbaccess/odbc/CallWaiter.h"
#include "dbaccess/odbc/OdbcHandle.h"
#include "dbaccess/values/Exceptions.h"

#include <algorithm>
#include <exception>
#include <sqlext.h>
#include <system_error>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// How long a call runs before the waiter is asked, and how often then.
constexpr auto moment = 50ms;
constexpr auto waiterInterval = 20ms;
// How long a cancelled call may take to end before it is left behind.
constexpr auto cancelGrace = 1s;

constexpr auto failureCode = static_cast<std::int32_t>(0x80004005);

[[noreturn]] void refuseAnotherCall() {
    throw EOleException("Another call of this connection is still running", failureCode, "HY010");
}

// Statements before their connection, the connection before its environment.
int freeingOrder(SQLSMALLINT type) {
    return type == SQL_HANDLE_STMT ? 0 : type == SQL_HANDLE_DBC ? 1 : 2;
}

} // namespace

SessionCalls::~SessionCalls() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable()) {
        // The worker itself lets go last when it ends a call left behind.
        if (worker_.get_id() == std::this_thread::get_id()) {
            worker_.detach();
        } else {
            worker_.join();
        }
    }
}

void SessionCalls::checkUsable() const {
    if (abandoned()) {
        throw EOleException("Connection closed: its server did not answer", failureCode, "08003");
    }
}

SQLRETURN SessionCalls::runTask(SQLSMALLINT type, SQLHANDLE handle, Task task) {
    start(task);
    return await(type, handle);
}

void SessionCalls::post(SQLSMALLINT type, SQLHANDLE handle, std::function<SQLRETURN()> call) {
    checkUsable();
    {
        // The worker is idle (a call posted and not collected is not): nothing
        // else touches the posted call now.
        const std::lock_guard lock(mutex_);
        if (state_.load() != State::Idle) {
            refuseAnotherCall();
        }
        postedCall_ = std::move(call);
    }
    start({&postedCall_, [](void* c) { return (*static_cast<std::function<SQLRETURN()>*>(c))(); }});
    postedType_ = type;
    postedHandle_ = handle;
    posted_ = true;
}

SQLRETURN SessionCalls::collect() {
    if (!posted_) {
        return SQL_SUCCESS;
    }
    posted_ = false;
    try {
        const SQLRETURN rc = await(postedType_, postedHandle_);
        postedCall_ = nullptr;
        return rc;
    } catch (...) {
        if (!abandoned()) {
            postedCall_ = nullptr;
        }
        throw;
    }
}

void SessionCalls::abandonPosted() noexcept {
    if (!posted_) {
        return;
    }
    posted_ = false;
    try {
        giveUp(postedType_, postedHandle_);
    } catch (...) {
        // Cancelled, or left behind: either way it is over for the caller.
    }
    if (!abandoned()) {
        postedCall_ = nullptr;
    }
}

void SessionCalls::start(Task task) {
    checkUsable();
    {
        const std::lock_guard lock(mutex_);
        if (state_.load() != State::Idle) {
            refuseAnotherCall();
        }
        if (!worker_.joinable()) {
            worker_ = std::thread([this] { work(); });
        }
        givingUp_.store(false, std::memory_order_relaxed);
        task_ = task;
        state_.store(State::Posted, std::memory_order_release);
    }
    changed_.notify_all();
}

SQLRETURN SessionCalls::await(SQLSMALLINT type, SQLHANDLE handle) {
    // Both sides sleep rather than spin while the other works: on a machine
    // short of cores a spinning thread holds up the one it waits for
    // (bench/RESULTS.md).
    const auto done = [this] { return state_.load(std::memory_order_acquire) == State::Done; };
    std::unique_lock lock(mutex_);
    auto until = Clock::now() + moment;
    while (!changed_.wait_until(lock, until, done)) {
        lock.unlock();
        if (!keepWaiting()) {
            giveUp(type, handle);
        }
        lock.lock();
        until = Clock::now() + waiterInterval;
    }
    state_.store(State::Idle, std::memory_order_relaxed);
    if (failure_) {
        std::rethrow_exception(std::exchange(failure_, nullptr));
    }
    return result_;
}

void SessionCalls::work() {
    const auto posted = [this] { return state_.load(std::memory_order_acquire) == State::Posted; };
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return stopping_ || posted(); });
            if (!posted()) {
                return;
            }
        }
        SQLRETURN rc = SQL_ERROR;
        std::exception_ptr failure;
        try {
            rc = task_.invoke(task_.call);
        } catch (...) {
            failure = std::current_exception();
        }
        bool finishing = false;
        {
            const std::lock_guard lock(mutex_);
            result_ = rc;
            failure_ = failure;
            state_.store(State::Done, std::memory_order_release);
            finishing = takeOverFinish();
        }
        changed_.notify_all();
        if (finishing) {
            // The session may go with the last of it: nothing here touches it after.
            const std::shared_ptr<SessionCalls> last = finishLeftBehind();
            return;
        }
    }
}

bool SessionCalls::keepWaiting() noexcept {
    try {
        return waiter_ == nullptr || waiter_->keepWaiting();
    } catch (...) {
        // The call must not be left running unwatched: an escaping error gives it up.
        return false;
    }
}

bool SessionCalls::over() const noexcept {
    return state_.load() != State::Posted && cancelling_ == 0;
}

void SessionCalls::giveUp(SQLSMALLINT type, SQLHANDLE handle) {
    givingUp_.store(true, std::memory_order_release);
    std::unique_lock lock(mutex_);
    if (type == SQL_HANDLE_STMT && state_.load() == State::Posted) {
        // A cancel may wait on the server as long as the call: it runs on a
        // thread of its own, which holds the session until it returns.
        try {
            std::thread([self = shared_from_this(), handle] {
                SQLCancel(handle);
                self->cancelEnded();
            }).detach();
            ++cancelling_;
        } catch (const std::system_error&) {
            // No thread for it: the call is left behind if it does not end by itself.
        }
    }
    if (changed_.wait_for(lock, cancelGrace, [this] { return over(); })) {
        state_.store(State::Idle);
        failure_ = nullptr;
        throw EOleException("Operation cancelled", failureCode, "HY008");
    }
    abandoned_.store(true, std::memory_order_release);
    self_ = shared_from_this();
    throw EOleException("Operation cancelled; the server did not answer, so the connection was "
                        "closed",
                        failureCode, "HY008");
}

void SessionCalls::cancelEnded() {
    bool finishing = false;
    {
        const std::lock_guard lock(mutex_);
        --cancelling_;
        finishing = takeOverFinish();
    }
    changed_.notify_all();
    if (finishing) {
        finishLeftBehind();
    }
}

bool SessionCalls::takeOverFinish() noexcept {
    if (self_ == nullptr || finishing_ || !over()) {
        return false;
    }
    finishing_ = true;
    return true;
}

std::shared_ptr<SessionCalls> SessionCalls::finishLeftBehind() noexcept {
    for (;;) {
        std::vector<std::shared_ptr<void>> memory;
        std::vector<std::pair<SQLSMALLINT, SQLHANDLE>> handles;
        {
            const std::lock_guard lock(mutex_);
            if (memory_.empty() && handles_.empty()) {
                // From here on handles are freed as they are let go.
                return std::move(self_);
            }
            memory.swap(memory_);
            if (memory.empty()) {
                handles.swap(handles_);
            }
        }
        // Memory may hold statements: they are let go before any handle is
        // freed, so that none outlives the connection it belongs to.
        memory.clear();
        std::stable_sort(handles.begin(), handles.end(), [](const auto& a, const auto& b) {
            return freeingOrder(a.first) < freeingOrder(b.first);
        });
        for (const auto& [type, handle] : handles) {
            freeOdbcHandle(type, handle);
        }
    }
}

void SessionCalls::release(SQLSMALLINT type, SQLHANDLE handle) noexcept {
    {
        const std::lock_guard lock(mutex_);
        if (self_ != nullptr) {
            handles_.emplace_back(type, handle);
            return;
        }
    }
    freeOdbcHandle(type, handle);
}

void SessionCalls::keep(std::shared_ptr<void> memory) noexcept {
    const std::lock_guard lock(mutex_);
    if (self_ != nullptr) {
        memory_.push_back(std::move(memory));
    }
    // Otherwise it goes on return, after the lock: it may hold handles.
}
