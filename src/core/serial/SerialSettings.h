#pragma once

#include <QString>
#include <optional>

// The settings text of the serial component: baud-rate digits followed directly by the
// framing, for example "19200n,8,1", "4800o,7,1" or "600e,7,1".
struct SerialSettings {
    qint32 baudRate = 0;
    char parity = 'n'; // n none, o odd, e even, m mark, s space
    int dataBits = 8;
    int stopBits = 1; // 1, 2, or 3 for one and a half

    // nullopt when the text is not of that form or names values no port has.
    static std::optional<SerialSettings> Parse(const QString& i_sSettings);

    // The framing a parity name stands for: "NONE" n,8,1, "ODD" o,7,1, "EVEN" e,7,1 (exact,
    // case-sensitive); nullopt for any other text.
    static std::optional<QString> FramingOf(const QString& i_sParity);
};
