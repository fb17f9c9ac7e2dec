#include "PasswordText.h"

#include "dbaccess/odbc/ConnectionStringRules.h"
#include "dbaccess/values/TStrings.h"

#include <algorithm>
#include <vector>

namespace {

const std::string mask = "********";

bool isPasswordKey(const std::string& key) {
    return sameTextIgnoringCase(key, "Password") || sameTextIgnoringCase(key, "PWD");
}

// A value written back as the masked form writes it.
std::string written(const std::string& value) {
    const bool braced = value.size() >= 2 && value.front() == '{' && value.back() == '}';
    return braced ? value : oledbConnectionValue(value);
}

// The value of the n-th pair of stored whose key is key.
const ConnectionStringPair* nthPair(const std::vector<ConnectionStringPair>& pairs,
                                    const std::string& key, int n) {
    for (const ConnectionStringPair& pair : pairs) {
        if (!pair.key.empty() && sameTextIgnoringCase(pair.key, key) && n-- == 0) {
            return &pair;
        }
    }
    return nullptr;
}

std::string restoredPairs(const std::string& text, const std::string& stored) {
    const std::vector<ConnectionStringPair> storedPairs = parseConnectionString(stored);
    std::vector<ConnectionStringPair> pairs = parseConnectionString(text);
    std::string result;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        ConnectionStringPair& pair = pairs[i];
        const int earlier = static_cast<int>(
            std::count_if(pairs.begin(), pairs.begin() + static_cast<std::ptrdiff_t>(i),
                          [&pair](const ConnectionStringPair& other) {
                              return sameTextIgnoringCase(other.key, pair.key);
                          }));
        const ConnectionStringPair* from =
            pair.key.empty() ? nullptr : nthPair(storedPairs, pair.key, earlier);
        if (from != nullptr && pair.value == mask) {
            pair.value = from->value;
        } else if (from != nullptr && pair.value.find(mask) != std::string::npos) {
            pair.value = restoredPairs(pair.value, from->value);
        }
        result += (result.empty() ? "" : ";") +
                  (pair.key.empty() ? pair.value : pair.key + "=" + written(pair.value));
    }
    return result;
}

void collectPasswords(const std::string& connectionString, std::vector<std::string>& passwords,
                      int depth) {
    if (depth > 2) {
        return;
    }
    if (isDataLinkReference(connectionString)) {
        try {
            collectPasswords(
                readDataLinkFile(connectionString.substr(std::string(DataLinkPrefix).size())),
                passwords, depth + 1);
        } catch (const std::exception&) {
            // A file that cannot be read gave the driver no password either.
        }
        return;
    }
    for (const auto& [key, value] : parseConnectionString(connectionString)) {
        if (isPasswordKey(key)) {
            passwords.push_back(value);
            if (value.size() >= 2 && value.front() == '{' && value.back() == '}') {
                passwords.push_back(value.substr(1, value.size() - 2));
            }
        } else if (value.find('=') != std::string::npos) {
            collectPasswords(value, passwords, depth + 1);
        }
    }
}

} // namespace

bool holdsPassword(const std::string& connectionString) {
    return maskPasswords(connectionString).find(mask) != std::string::npos;
}

std::string shownConnectionString(const std::string& connectionString) {
    return holdsPassword(connectionString) ? maskPasswords(connectionString) : connectionString;
}

std::string restorePasswords(const std::string& text, const std::string& stored) {
    if (!holdsPassword(stored) || text.find(mask) == std::string::npos) {
        return text;
    }
    if (text == maskPasswords(stored)) {
        return stored;
    }
    return restoredPairs(text, stored);
}

std::string withoutPasswords(std::string message, const std::string& connectionString) {
    std::vector<std::string> passwords;
    collectPasswords(connectionString, passwords, 0);
    // Longer ones first, so that no part of one is left beside a mask.
    std::sort(passwords.begin(), passwords.end(),
              [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    for (const std::string& password : passwords) {
        if (password.empty()) {
            continue;
        }
        for (auto at = message.find(password); at != std::string::npos;
             at = message.find(password, at + mask.size())) {
            message.replace(at, password.size(), mask);
        }
    }
    return message;
}
