#include "DecimalText.h"

#include <algorithm>

namespace {

// A decimal as sign, digits and the number of digits before the point.
struct Digits {
    bool negative = false;
    std::string digits;
    long long point = 0;
};

Digits split(const Decimal& value) {
    Digits parts;
    std::string text = value.text;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        parts.negative = text[0] == '-';
        text.erase(0, 1);
    }
    const auto dot = text.find('.');
    parts.point = static_cast<long long>(dot == std::string::npos ? text.size() : dot);
    if (dot != std::string::npos) {
        text.erase(dot, 1);
    }
    parts.digits = text;
    return parts;
}

Decimal join(Digits parts) {
    // Leading zeros before the point and trailing zeros after it go.
    while (parts.point > 1 && !parts.digits.empty() && parts.digits[0] == '0') {
        parts.digits.erase(0, 1);
        --parts.point;
    }
    while (static_cast<long long>(parts.digits.size()) > parts.point && !parts.digits.empty() &&
           parts.digits.back() == '0') {
        parts.digits.pop_back();
    }
    if (parts.point <= 0) {
        parts.digits.insert(0, static_cast<std::size_t>(1 - parts.point), '0');
        parts.point = 1;
    }
    if (static_cast<long long>(parts.digits.size()) < parts.point) {
        parts.digits.append(static_cast<std::size_t>(parts.point) - parts.digits.size(), '0');
    }
    std::string text = parts.digits.substr(0, static_cast<std::size_t>(parts.point));
    const std::string fraction = parts.digits.substr(static_cast<std::size_t>(parts.point));
    if (!fraction.empty()) {
        text += "." + fraction;
    }
    const bool zero = text.find_first_not_of("0.") == std::string::npos;
    return Decimal{parts.negative && !zero ? "-" + text : text};
}

// Keeps `keep` leading digits, rounding half away from zero.
Decimal roundAt(Digits parts, long long keep) {
    if (keep >= static_cast<long long>(parts.digits.size())) {
        return join(parts);
    }
    if (keep < 0) {
        return Decimal{"0"};
    }
    const bool up = parts.digits[static_cast<std::size_t>(keep)] >= '5';
    parts.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        long long i = keep - 1;
        for (; i >= 0; --i) {
            char& digit = parts.digits[static_cast<std::size_t>(i)];
            if (digit == '9') {
                digit = '0';
            } else {
                ++digit;
                break;
            }
        }
        if (i < 0) {
            parts.digits.insert(0, 1, '1');
            ++parts.point;
        }
    }
    return join(parts);
}

} // namespace

int fractionPlaces(const Decimal& value) {
    const Decimal canonical = join(split(value));
    const auto dot = canonical.text.find('.');
    return dot == std::string::npos ? 0 : static_cast<int>(canonical.text.size() - dot - 1);
}

int significantDigits(const Decimal& value) {
    const Digits parts = split(join(split(value)));
    const auto first = parts.digits.find_first_not_of('0');
    const auto last = parts.digits.find_last_not_of('0');
    return first == std::string::npos ? 0 : static_cast<int>(last - first + 1);
}

Decimal roundToPlaces(const Decimal& value, int places) {
    const Digits parts = split(value);
    return roundAt(parts, parts.point + places);
}

Decimal withoutTrailingZeros(const Decimal& value) {
    return join(split(value));
}

bool sameNumber(const Decimal& a, const Decimal& b) {
    return withoutTrailingZeros(a) == withoutTrailingZeros(b);
}
