#include "SqlNames.h"

namespace {

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

} // namespace

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
    return quoteIdentifier(name, quoteOf(rules));
}

std::string createdIdentifier(const std::string& name, const NameRules& rules) {
    return quoteIdentifier(folded(name, rules.folding), quoteOf(rules));
}

std::pair<std::string, std::string> splitSchema(const std::string& name) {
    const auto dot = name.find('.');
    if (dot == std::string::npos) {
        return {std::string(), name};
    }
    return {name.substr(0, dot), name.substr(dot + 1)};
}
