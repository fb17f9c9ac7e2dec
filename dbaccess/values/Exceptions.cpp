#include "Exceptions.h"

#include <cstdio>

EOleSysError::EOleSysError(std::int32_t errorCode)
    : EOleError(oleErrorText(errorCode)), errorCode_(errorCode) {}

std::string prefixWithName(const std::string& name, const std::string& text) {
    return name.empty() ? text : name + ": " + text;
}

std::string oleErrorText(std::int32_t errorCode) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "OLE error %.8x", static_cast<unsigned>(errorCode));
    return buffer;
}

std::string trimProviderMessage(std::string message) {
    while (!message.empty()) {
        const auto last = static_cast<unsigned char>(message.back());
        if (last == ' ' || last == '.' || last < 0x20 || last == 0x7f) {
            message.pop_back();
        } else {
            break;
        }
    }
    return message;
}
