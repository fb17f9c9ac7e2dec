#include "ShownValue.h"

#include "ClassMarks.h"

namespace {

// Control bytes as \xNN, so that a report line stays one readable line.
std::string escapedControls(const std::string& text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string shown;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            shown += "\\x";
            shown += hex[byte >> 4];
            shown += hex[byte & 0xF];
        } else {
            shown += c;
        }
    }
    return shown;
}

// A date as its column holds it: without the midnight its canonical form
// gives every date ("0044-03-15 BC", not "0044-03-15 00:00:00.000000 BC").
std::string withoutMidnight(const std::string& canonical) {
    static const std::string midnight = " 00:00:00.000000";
    const auto at = canonical.find(midnight);
    if (at == std::string::npos ||
        (at + midnight.size() != canonical.size() &&
         canonical.compare(at + midnight.size(), std::string::npos, " BC") != 0)) {
        return canonical;
    }
    return canonical.substr(0, at) + canonical.substr(at + midnight.size());
}

std::string shownUnmarked(ValueFamily family, const std::string& rawCanonical) {
    constexpr std::size_t longest = 40;
    const std::string canonical =
        family == ValueFamily::Date ? withoutMidnight(rawCanonical) : rawCanonical;
    std::string shown;
    if (family == ValueFamily::Bytes) {
        static constexpr char hex[] = "0123456789ABCDEF";
        shown = "0x";
        for (const char c : canonical.substr(0, longest / 2)) {
            shown += hex[(static_cast<unsigned char>(c) >> 4) & 0xF];
            shown += hex[static_cast<unsigned char>(c) & 0xF];
        }
        return canonical.size() > longest / 2 ? shown + "..." : shown;
    }
    if (ordersAsNumber(family)) {
        return escapedControls(canonical.size() > longest ? canonical.substr(0, longest) + "..."
                                                          : canonical);
    }
    // Whole characters only, in quotes.
    std::size_t cut = canonical.size();
    if (cut > longest) {
        cut = longest;
        while (cut > 0 && (static_cast<unsigned char>(canonical[cut]) & 0xC0) == 0x80) {
            --cut;
        }
    }
    return "'" + escapedControls(canonical.substr(0, cut)) +
           (cut < canonical.size() ? "...'" : "'");
}

} // namespace

std::string shownValue(ValueFamily family, const std::string& canonical, bool withClass) {
    if (isMarked(canonical) && !withClass) {
        return shownUnmarked(family, unmarked(canonical));
    }
    if (isMarked(canonical)) {
        const char letter = canonical[1];
        const ValueFamily shownAs = letter == 'b'                  ? ValueFamily::Bytes
                                    : letter == 't'                ? ValueFamily::Text
                                    : family == ValueFamily::Bytes ? ValueFamily::Number
                                                                   : family;
        return shownUnmarked(shownAs, unmarked(canonical)) + " (" + className(letter) + ")";
    }
    return shownUnmarked(family, canonical);
}
