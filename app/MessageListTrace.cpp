#include "MessageListTrace.h"

#include "TMainForm.h"

#include <cstdio>

namespace {

// A statement of several lines as one line of the list.
std::string oneLine(std::string text) {
    for (char& c : text) {
        if (c == '\n' || c == '\r' || c == '\t') {
            c = ' ';
        }
    }
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

} // namespace

void MessageListTrace::statementRan(const std::string& text,
                                    std::chrono::steady_clock::duration took) {
    char milliseconds[32];
    std::snprintf(milliseconds, sizeof milliseconds, "%.3f",
                  std::chrono::duration<double, std::milli>(took).count());
    form_.AddMessage(side_ + " " + milliseconds + " ms: " + oneLine(text));
}

void MessageListTrace::driverSaid(const std::string& message) {
    form_.AddMessage(side_ + " driver: " + oneLine(message));
}
