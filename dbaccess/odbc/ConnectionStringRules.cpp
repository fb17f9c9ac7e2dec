#include "ConnectionStringRules.h"

#include "dbaccess/values/Exceptions.h"
#include "dbaccess/values/TStrings.h"
#include "dbaccess/values/UnicodeText.h"
#include "dbaccess/values/Variant.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

bool isKey(const std::string& key, const char* name) {
    return sameTextIgnoringCase(key, name);
}

std::string odbcFromOdbcProvider(const std::vector<ConnectionStringPair>& pairs) {
    std::string result;
    auto add = [&result](const std::string& key, const std::string& value) {
        result += key + "=" + odbcConnectionValue(value) + ";";
    };
    for (const auto& [key, value] : pairs) {
        if (key.empty()) {
            if (!trimmed(value).empty()) {
                add("DSN", trimmed(value));
            }
        } else if (isKey(key, "Provider") || isKey(key, "Persist Security Info") ||
                   isKey(key, "Prompt")) {
            continue;
        } else if (isKey(key, "Data Source")) {
            add("DSN", value);
        } else if (isKey(key, "User ID")) {
            add("UID", value);
        } else if (isKey(key, "Password")) {
            add("PWD", value);
        } else if (isKey(key, "Initial Catalog")) {
            add("DATABASE", value);
        } else if (isKey(key, "Extended Properties")) {
            result += value;
            if (!value.empty() && value.back() != ';') {
                result += ';';
            }
        } else {
            add(key, value);
        }
    }
    return result;
}

std::string odbcFromSqlServerProvider(const std::vector<ConnectionStringPair>& pairs) {
    std::string result = "Driver={FreeTDS};";
    for (const auto& [key, value] : pairs) {
        if (isKey(key, "Data Source")) {
            // "host,port" or "host\instance" as SQL Server writes them.
            const auto comma = value.find(',');
            if (comma != std::string::npos) {
                result += "Server=" + odbcConnectionValue(trimmed(value.substr(0, comma))) +
                          ";Port=" + odbcConnectionValue(trimmed(value.substr(comma + 1))) + ";";
            } else {
                result += "Server=" + odbcConnectionValue(value) + ";";
            }
        } else if (isKey(key, "Initial Catalog")) {
            result += "Database=" + odbcConnectionValue(value) + ";";
        } else if (isKey(key, "User ID")) {
            result += "UID=" + odbcConnectionValue(value) + ";";
        } else if (isKey(key, "Password")) {
            result += "PWD=" + odbcConnectionValue(value) + ";";
        }
    }
    // A protocol version that current servers speak, and text as UTF-8.
    return result + "TDS_Version=7.4;ClientCharset=UTF-8;";
}

} // namespace

std::string odbcConnectionValue(const std::string& value) {
    if (value.size() >= 2 && value.front() == '{' && value.back() == '}') {
        return value;
    }
    if (value.find_first_of(";{}=") == std::string::npos && trimmed(value) == value) {
        return value;
    }
    return bracedOdbcValue(value);
}

std::string bracedOdbcValue(const std::string& value) {
    std::string braced = "{";
    for (const char c : value) {
        braced += c;
        if (c == '}') {
            braced += '}';
        }
    }
    return braced + "}";
}

std::string oledbConnectionValue(const std::string& value) {
    const bool plain = value.find_first_of(";\"'") == std::string::npos && trimmed(value) == value;
    if (plain) {
        return value;
    }
    std::string quoted = "\"";
    for (const char c : value) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

bool isOdbcProvider(const std::string& provider) {
    const std::string upper = upperCase(trimmed(provider));
    return upper.empty() || upper.rfind("MSDASQL", 0) == 0;
}

bool isSqlServerProvider(const std::string& provider) {
    const std::string upper = upperCase(trimmed(provider));
    return upper == "SQLOLEDB" || upper.rfind("SQLOLEDB.", 0) == 0 ||
           upper.rfind("SQLNCLI", 0) == 0 || upper.rfind("MSOLEDBSQL", 0) == 0;
}

bool isDataLinkReference(const std::string& text) {
    return text.size() >= 10 && sameTextIgnoringCase(text.substr(0, 10), DataLinkPrefix);
}

std::vector<ConnectionStringPair> parseConnectionString(const std::string& text) {
    std::vector<ConnectionStringPair> pairs;
    std::size_t i = 0;
    while (i < text.size()) {
        std::string key;
        while (i < text.size() && text[i] != '=' && text[i] != ';') {
            key += text[i++];
        }
        if (i >= text.size() || text[i] == ';') {
            if (!trimmed(key).empty()) {
                pairs.push_back({std::string(), trimmed(key)});
            }
            ++i;
            continue;
        }
        ++i; // '='
        while (i < text.size() && text[i] == ' ') {
            ++i;
        }
        std::string value;
        if (i < text.size() && (text[i] == '"' || text[i] == '\'')) {
            const char quote = text[i++];
            while (i < text.size()) {
                if (text[i] == quote) {
                    if (i + 1 < text.size() && text[i + 1] == quote) {
                        value += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += text[i++];
            }
            while (i < text.size() && text[i] != ';') {
                ++i;
            }
        } else if (i < text.size() && text[i] == '{') {
            // ODBC braces pass through with their contents.
            value += text[i++];
            while (i < text.size()) {
                value += text[i];
                if (text[i] == '}') {
                    if (i + 1 < text.size() && text[i + 1] == '}') {
                        value += text[++i];
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            while (i < text.size() && text[i] != ';') {
                ++i;
            }
        } else {
            while (i < text.size() && text[i] != ';') {
                value += text[i++];
            }
            value = trimmed(value);
        }
        ++i; // ';'
        pairs.push_back({trimmed(key), value});
    }
    return pairs;
}

std::string connectionStringValue(const std::string& text, const std::string& key) {
    for (const auto& pair : parseConnectionString(text)) {
        if (!pair.key.empty() && sameTextIgnoringCase(pair.key, key)) {
            return pair.value;
        }
    }
    return {};
}

std::string combineProvider(const std::string& provider, const std::string& connectionString) {
    if (provider.empty() || isDataLinkReference(connectionString)) {
        return connectionString;
    }
    const auto pairs = parseConnectionString(connectionString);
    for (const auto& pair : pairs) {
        if (isKey(pair.key, "Provider")) {
            return connectionString;
        }
    }
    std::string result = "Provider=" + provider;
    for (const auto& [key, value] : pairs) {
        result += ";" + (key.empty() ? std::string("Data Source") : key) + "=" +
                  oledbConnectionValue(value);
    }
    return result;
}

std::string dataLinkConnectionString(const std::string& raw) {
    std::string text;
    if (raw.size() >= 2 && static_cast<unsigned char>(raw[0]) == 0xFF &&
        static_cast<unsigned char>(raw[1]) == 0xFE) {
        std::u16string wide;
        for (std::size_t i = 2; i + 1 < raw.size(); i += 2) {
            wide.push_back(static_cast<char16_t>(static_cast<unsigned char>(raw[i]) |
                                                 (static_cast<unsigned char>(raw[i + 1]) << 8)));
        }
        text = utf16ToUtf8(wide);
    } else if (raw.rfind("\xEF\xBB\xBF", 0) == 0) {
        text = raw.substr(3);
    } else {
        text = raw;
    }
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        line = trimmed(line);
        if (line.empty() || line[0] == ';' || sameTextIgnoringCase(line, "[oledb]")) {
            continue;
        }
        return line;
    }
    return {};
}

std::string readDataLinkFile(const std::string& path) {
    // What the path is comes first: opening a pipe or a device could wait or
    // read forever.
    constexpr std::uintmax_t largest = 1 << 20;
    const auto refuse = [&path](const std::string& why) {
        return EOleException("Data link file '" + path + "' " + why,
                             static_cast<std::int32_t>(0x80004005));
    };
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status)) {
        throw refuse("cannot be opened");
    }
    if (!std::filesystem::is_regular_file(status)) {
        throw refuse("is not a plain file");
    }
    const auto size = std::filesystem::file_size(path, error);
    if (error || size > largest) {
        throw refuse(error ? "cannot be opened" : "is larger than 1 MiB");
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw refuse("cannot be opened");
    }
    return dataLinkConnectionString(
        std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>()));
}

std::string toOdbcConnectionString(const std::string& oledbString) {
    if (isDataLinkReference(oledbString)) {
        const std::string held =
            readDataLinkFile(oledbString.substr(std::string(DataLinkPrefix).size()));
        if (isDataLinkReference(held)) {
            throw EOleException("A data link file cannot refer to another data link file",
                                static_cast<std::int32_t>(0x80004005));
        }
        return toOdbcConnectionString(held);
    }
    const auto pairs = parseConnectionString(oledbString);
    const std::string provider = connectionStringValue(oledbString, "Provider");
    if (isOdbcProvider(provider)) {
        return odbcFromOdbcProvider(pairs);
    }
    if (isSqlServerProvider(provider)) {
        return odbcFromSqlServerProvider(pairs);
    }
    throw EOleException("Provider '" + trimmed(provider) +
                            "' cannot be found. It may not be properly installed",
                        static_cast<std::int32_t>(0x800A0E7A));
}

namespace {

// Nested strings are masked this deep; deeper ones are hidden whole when
// they name a password, so that no text can make the work grow without end.
constexpr int deepestNesting = 2;

std::string maskPasswordsAt(const std::string& connectionString, int depth) {
    std::string result;
    for (const auto& [key, value] : parseConnectionString(connectionString)) {
        if (!result.empty()) {
            result += ';';
        }
        if (key.empty()) {
            result += value;
        } else if (isKey(key, "Password") || isKey(key, "PWD")) {
            result += key + "=********";
        } else if (value.find('=') != std::string::npos) {
            // Nested strings such as Extended Properties hold their own passwords.
            const std::string lower = lowerCase(value);
            const bool named = lower.find("pwd") != std::string::npos ||
                               lower.find("password") != std::string::npos;
            result += key + "=" +
                      (depth < deepestNesting
                           ? oledbConnectionValue(maskPasswordsAt(value, depth + 1))
                           : (named ? std::string("********") : oledbConnectionValue(value)));
        } else {
            result += key + "=" + oledbConnectionValue(value);
        }
    }
    return result;
}

} // namespace

std::string maskPasswords(const std::string& connectionString) {
    return maskPasswordsAt(connectionString, 0);
}
