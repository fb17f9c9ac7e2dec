#pragma once

#include "dbaccess/odbc/CallWaiter.h"

class TMainForm;

// Keeps the main window alive while a database call takes long. Outside a
// move run it only repaints: no click may start something on a connection
// that is in use. During a run it works as between rows, behind the busy
// guards, and Stop asks "Stop Export?" once for each press; Yes, or closing
// the window, gives the call up.
class WindowCallWaiter : public CallWaiter {
public:
    explicit WindowCallWaiter(TMainForm& form) : form_(form) {}

    bool keepWaiting() override;

private:
    TMainForm& form_;
    // The press of Stop that was last asked about.
    int askedPress_ = 0;
};
