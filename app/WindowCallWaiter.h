#pragma once

#include "dbaccess/odbc/CallWaiter.h"

class TMainForm;

// Keeps the main window alive while a database call takes long. Outside a
// move run it only repaints: no click may start something on a connection
// that is in use. During a run it works as between rows, behind the busy
// guards: Stop asks "Stop Export?", Yes gives the call up and No withdraws
// the request.
class WindowCallWaiter : public CallWaiter {
public:
    explicit WindowCallWaiter(TMainForm& form) : form_(form) {}

    bool keepWaiting() override;

private:
    TMainForm& form_;
};
