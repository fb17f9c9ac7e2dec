#pragma once

// What a session's calling thread does while a driver call takes longer
// than a moment: the window keeps itself alive here. Without one installed
// calls run inline on the calling thread.
class CallWaiter {
public:
    virtual ~CallWaiter() = default;

    // Runs on the calling thread every few milliseconds while the call goes
    // on; false gives the call up, which is then cancelled.
    virtual bool keepWaiting() = 0;

protected:
    CallWaiter() = default;
    CallWaiter(const CallWaiter&) = default;
    CallWaiter& operator=(const CallWaiter&) = default;
};
