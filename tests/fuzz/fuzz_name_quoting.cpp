// Name quoting: whatever the name, the SQL text is the whole name in quotes,
// and reading it back gives the name.
#include "dbaccess/catalog/SqlNames.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// The name a quoted identifier stands for; aborts on text that is not one.
std::string unquoted(const std::string& text, const std::string& quote) {
    const std::size_t q = quote.size();
    if (text.size() < 2 * q || text.compare(0, q, quote) != 0 ||
        text.compare(text.size() - q, q, quote) != 0) {
        std::abort();
    }
    std::string name;
    for (std::size_t i = q; i + q < text.size(); ++i) {
        name += text[i];
        if (text.compare(i, q, quote) == 0) {
            // An embedded quote is doubled.
            if (text.compare(i + q, q, quote) != 0) {
                std::abort();
            }
            i += q;
        }
    }
    return name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    NameRules rules;
    rules.quote = data[0] % 2 == 0 ? "\"" : "`";
    rules.folding = static_cast<IdentifierFolding>(data[1] % 3);
    const std::string name(reinterpret_cast<const char*>(data + 2), size - 2);
    if (unquoted(sqlIdentifier(name, rules), rules.quote) != name ||
        unquoted(createdIdentifier(name, rules), rules.quote).size() != name.size()) {
        std::abort();
    }
    return 0;
}
