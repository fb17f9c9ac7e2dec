#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <sql.h>
#include <thread>
#include <utility>
#include <vector>

class CallWaiter;
class StatementTrace;

// How the driver calls of one session run. Without a waiter: inline, on the
// calling thread. With one: on a worker thread kept for the session while
// the calling thread waits, letting the waiter run every few milliseconds
// once a call takes longer than a moment; the calling thread touches the
// session's handles only between calls. When the waiter gives a call up it
// is cancelled; a call that does not end within a second of its cancel (a
// server that answers nothing, not even the cancel) is left behind with the
// whole session: later calls are refused, and the session's handles, and the
// memory bound to them, are freed only once that call is over.
class SessionCalls : public std::enable_shared_from_this<SessionCalls> {
public:
    SessionCalls() = default;
    ~SessionCalls();
    SessionCalls(const SessionCalls&) = delete;
    SessionCalls& operator=(const SessionCalls&) = delete;

    // The waiter outlives the session or is taken away first.
    void setWaiter(CallWaiter* waiter) noexcept { waiter_ = waiter; }
    // Told of the statements run on the session; may be null.
    void setTrace(StatementTrace* trace) noexcept { trace_ = trace; }
    StatementTrace* trace() const noexcept { return trace_; }
    // Whether calls must go through run().
    bool handsOver() const noexcept { return waiter_ != nullptr || posted_ || abandoned(); }
    bool abandoned() const noexcept { return abandoned_.load(std::memory_order_acquire); }
    // Whether the waiter gave the running call up: a call of many statements
    // starts no more of them.
    bool givingUp() const noexcept { return givingUp_.load(std::memory_order_acquire); }

    // Runs call, driver calls on handle, and passes on what it raises. Raises
    // EOleException with SQLSTATE HY008 when the waiter gave it up, 08003
    // once the session was left behind.
    template <class Call> SQLRETURN run(SQLSMALLINT type, SQLHANDLE handle, Call& call) {
        return runTask(type, handle,
                       {&call, [](void* c) -> SQLRETURN { return (*static_cast<Call*>(c))(); }});
    }
    // Starts call, driver calls on handle, on the worker and returns at once:
    // the calling thread goes on while it runs. No other call may run until
    // collect() has waited for it.
    void post(SQLSMALLINT type, SQLHANDLE handle, std::function<SQLRETURN()> call);
    // Waits for the posted call as run() waits for its call, and passes on
    // what it returned or raised. SQL_SUCCESS when none was posted.
    SQLRETURN collect();
    // Gives the posted call up without asking the waiter: cancelled, and left
    // behind when it does not end within a second.
    void abandonPosted() noexcept;

    // Raises the 08003 error once the session was left behind.
    void checkUsable() const;

    // Frees a handle of the session now, or once the call left behind is over.
    void release(SQLSMALLINT type, SQLHANDLE handle) noexcept;
    // Keeps memory that a driver call left behind may still write into.
    void keep(std::shared_ptr<void> memory) noexcept;

private:
    struct Task {
        void* call = nullptr;
        SQLRETURN (*invoke)(void*) = nullptr;
    };
    enum class State { Idle, Posted, Done };

    SQLRETURN runTask(SQLSMALLINT type, SQLHANDLE handle, Task task);
    void start(Task task);
    SQLRETURN await(SQLSMALLINT type, SQLHANDLE handle);
    void work();
    bool keepWaiting() noexcept;
    bool over() const noexcept;
    [[noreturn]] void giveUp(SQLSMALLINT type, SQLHANDLE handle);
    void cancelEnded();
    // Whether this thread is the one to free what waited for the call left behind.
    bool takeOverFinish() noexcept;
    // Frees it; hands back the session's hold on itself, to be let go last.
    std::shared_ptr<SessionCalls> finishLeftBehind() noexcept;

    CallWaiter* waiter_ = nullptr;
    StatementTrace* trace_ = nullptr;
    std::atomic<bool> abandoned_{false};
    std::atomic<bool> givingUp_{false};
    std::atomic<State> state_{State::Idle};
    std::mutex mutex_;
    std::condition_variable changed_;
    Task task_;
    // The posted call, and the handle it runs on; owned here while it runs.
    std::function<SQLRETURN()> postedCall_;
    SQLSMALLINT postedType_ = 0;
    SQLHANDLE postedHandle_ = SQL_NULL_HANDLE;
    bool posted_ = false;
    SQLRETURN result_ = SQL_SUCCESS;
    std::exception_ptr failure_;
    bool stopping_ = false;
    int cancelling_ = 0;
    std::thread worker_;
    // While a call left behind is not over: the session's hold on itself,
    // and the memory and handles it keeps back.
    std::shared_ptr<SessionCalls> self_;
    bool finishing_ = false;
    std::vector<std::shared_ptr<void>> memory_;
    std::vector<std::pair<SQLSMALLINT, SQLHANDLE>> handles_;
};
