#include "SqlNames.h"

namespace {

bool isIdentifierStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isIdentifierChar(char c) {
    return isIdentifierStart(c) || (c >= '0' && c <= '9');
}

bool survivesFolding(const std::string& name, IdentifierFolding folding) {
    for (const char c : name) {
        if ((folding == IdentifierFolding::Lower && c >= 'A' && c <= 'Z') ||
            (folding == IdentifierFolding::Upper && c >= 'a' && c <= 'z')) {
            return false;
        }
    }
    return true;
}

bool isBareName(const std::string& name, IdentifierFolding folding) {
    return isPlainIdentifier(name) && survivesFolding(name, folding);
}

// Plain identifiers joined by dots (catalog.schema.table and shorter).
bool isBarePath(const std::string& name, IdentifierFolding folding) {
    std::size_t start = 0;
    for (;;) {
        const auto dot = name.find('.', start);
        const auto part = name.substr(start, dot == std::string::npos ? dot : dot - start);
        if (!isBareName(part, folding)) {
            return false;
        }
        if (dot == std::string::npos) {
            return true;
        }
        start = dot + 1;
    }
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

std::string sqlIdentifier(const std::string& name, const std::string& quote,
                          IdentifierFolding folding) {
    return isBareName(name, folding) ? name : quoteIdentifier(name, quote);
}

std::string quoteTableName(const std::string& name, const std::string& quote, bool always,
                           IdentifierFolding folding) {
    if (!always && isBarePath(name, folding)) {
        return name;
    }
    const auto dot = name.find('.');
    if (dot == std::string::npos) {
        return quoteIdentifier(name, quote);
    }
    return quoteIdentifier(name.substr(0, dot), quote) + "." +
           quoteIdentifier(name.substr(dot + 1), quote);
}

std::string createdIdentifier(const std::string& name, const std::string& quote,
                              IdentifierFolding folding) {
    if (isPlainIdentifier(name)) {
        return name;
    }
    std::string folded = name;
    for (char& c : folded) {
        if (folding == IdentifierFolding::Lower && c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        } else if (folding == IdentifierFolding::Upper && c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return quoteIdentifier(folded, quote);
}
