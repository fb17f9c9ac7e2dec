#include "SqlNames.h"

#include "dbaccess/values/TStrings.h"

namespace {

bool isIdentifierStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isIdentifierChar(char c) {
    return isIdentifierStart(c) || (c >= '0' && c <= '9');
}

std::string folded(std::string name, IdentifierFolding folding) {
    for (char& c : name) {
        if (folding == IdentifierFolding::Lower && c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        } else if (folding == IdentifierFolding::Upper && c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return name;
}

// A database without a quote character still reads the standard one.
std::string quoteOf(const NameRules& rules) {
    return rules.quote.empty() ? std::string("\"") : rules.quote;
}

bool goesBare(const std::string& name, const NameRules& rules) {
    return isPlainIdentifier(name) && !isReservedWord(name, rules);
}

} // namespace

bool isPlainIdentifier(const std::string& name) {
    if (name.empty() || !isIdentifierStart(name[0])) {
        return false;
    }
    for (const char c : name) {
        if (!isIdentifierChar(c)) {
            return false;
        }
    }
    return true;
}

bool isReservedWord(const std::string& name, const NameRules& rules) {
    return rules.reservedWords.count(folded(name, IdentifierFolding::Upper)) > 0;
}

std::string quoteIdentifier(const std::string& name, const std::string& quote) {
    if (quote.empty()) {
        return name;
    }
    std::string result = quote;
    for (const char c : name) {
        result += c;
        if (std::string(1, c) == quote) {
            result += c;
        }
    }
    return result + quote;
}

std::string sqlIdentifier(const std::string& name, const NameRules& rules) {
    if (goesBare(name, rules) && folded(name, rules.folding) == name) {
        return name;
    }
    return quoteIdentifier(name, quoteOf(rules));
}

std::string createdIdentifier(const std::string& name, const NameRules& rules) {
    if (goesBare(name, rules)) {
        return name;
    }
    return quoteIdentifier(folded(name, rules.folding), quoteOf(rules));
}
