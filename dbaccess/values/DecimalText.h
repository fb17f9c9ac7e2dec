#pragma once

#include "dbaccess/values/Variant.h"

// Digits of a decimal as the databases count them.

// Digits after the point, trailing zeros not counted.
int fractionPlaces(const Decimal& value);
// Digits from the first non-zero one to the last non-zero one.
int significantDigits(const Decimal& value);

// Rounded half away from zero; trailing zeros of the fraction dropped.
Decimal roundToPlaces(const Decimal& value, int places);

// The same number without leading zeros or trailing zeros of the fraction.
Decimal withoutTrailingZeros(const Decimal& value);

// Whether two decimals are the same number (1.50 and 1.5 are).
bool sameNumber(const Decimal& a, const Decimal& b);
