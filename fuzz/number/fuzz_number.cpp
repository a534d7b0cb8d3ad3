// Feeds arbitrary text to the number reader and checks what every caller relies on: no crash,
// LeadingNumber of a whole number agrees with WholeNumber, rounding lands on an integer within
// half of the value, and ToInt16 either throws or returns that rounded value.

#include "core/common/LumoError.h"
#include "core/common/NumberText.h"

#include <QString>
#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const double leading = NumberText::LeadingNumber(text);
    if (std::isnan(leading)) {
        std::abort();
    }
    if (const std::optional<double> whole = NumberText::WholeNumber(text)) {
        if (*whole != leading && !(std::isinf(*whole) && std::isinf(leading))) {
            std::abort(); // a text that is wholly a number reads the same from its start
        }
    }
    const double rounded = NumberText::RoundHalfEven(leading);
    if (std::isfinite(leading) &&
        (std::fabs(rounded - leading) > 0.5 || rounded != std::floor(rounded))) {
        std::abort();
    }
    try {
        const qint16 v = NumberText::ToInt16(leading);
        if (v != rounded) {
            std::abort();
        }
    } catch (const LumoError& e) {
        if (e.number() != 6 || (rounded >= -32768 && rounded <= 32767)) {
            std::abort(); // only values outside 16 bits overflow
        }
    }
    return 0;
}
