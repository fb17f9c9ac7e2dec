#include "DriverTraits.h"

#include "dbaccess/values/TStrings.h"

void addReservedWords(std::set<std::string>& words, const std::string& list) {
    std::size_t start = 0;
    while (start <= list.size()) {
        const auto comma = list.find(',', start);
        const std::string word = upperCase(
            trimmed(list.substr(start, comma == std::string::npos ? comma : comma - start)));
        if (!word.empty()) {
            words.insert(word);
        }
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
}
