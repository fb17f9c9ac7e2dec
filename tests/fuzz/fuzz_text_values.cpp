// Text to number and text to date conversions of field assignment.
#include "dbaccess/values/DateTime.h"
#include "dbaccess/values/Exceptions.h"
#include "dbaccess/values/Variant.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Decimal decimal;
    parseDecimalText(text, decimal);
    DateTime moment;
    if (parseDateTime(text, moment)) {
        for (int digits = 0; digits <= 6; ++digits) {
            formatTime(roundFraction(moment, digits));
        }
    }
    const Variant value(text);
    const auto convert = [](auto conversion) {
        try {
            conversion();
        } catch (const Exception&) {
            // EVariantError: the text is no such value.
        }
    };
    convert([&] { value.toInt64(); });
    convert([&] { value.toDouble(); });
    convert([&] { value.toBoolean(); });
    convert([&] { value.toCurrency(); });
    convert([&] { value.toDateTime(); });
    convert([&] { value.toDecimal(); });
    return 0;
}
